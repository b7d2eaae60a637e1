#include "app/MainMenuTable.h"

#include "app/Commun.h"

#include <string_view>

namespace {

constexpr int TrNone = TrNoneValue;

constexpr TMenuEntry Entries[] = {
#define LUMA_MENU(Group, Name, Parent, Caption, Key1, Key2, Joiner, Mode, Dialog, ShortCut, Again, Tag)                \
  {static_cast<TMenuGroup>(Group),                                                                                     \
   Name,                                                                                                               \
   Parent,                                                                                                             \
   Caption,                                                                                                            \
   static_cast<int>(Key1),                                                                                             \
   static_cast<int>(Key2),                                                                                             \
   Joiner,                                                                                                             \
   Mode,                                                                                                               \
   Dialog,                                                                                                             \
   ShortCut,                                                                                                           \
   Again,                                                                                                              \
   Tag},
#include "app/MainMenuTable.inc"
#undef LUMA_MENU
};

constexpr const char* TopMenus[] = {"MenuFichier",   "MenuEdition", "MenuImage",  "MenuCalque",
                                    "MenuSelection", "MenuReglage", "MenuFiltre", "MenuAffichage",
                                    "MenuOutils",    "MenuFenetre", "MenuAide"};

constexpr const char* Popups[] = {"PopImg", "PopSel", "PopForm", "PopZoom", "PopTortion", "PopCalque", "PopPath"};

constexpr const char* HiddenSeparators[] = {"SepExtensionShell", "SepLumaBridge", "SepCalqueNouveauModules", "ImgSep"};

QString TrText(int Key) { return Key == TrNone ? QString() : Tr(static_cast<TrId>(Key)); }

} // namespace

std::span<const TMenuEntry> MainMenuEntries() { return Entries; }
std::span<const char* const> TopMenuNames() { return TopMenus; }
std::span<const char* const> PopupMenuNames() { return Popups; }

bool IsSeparator(const TMenuEntry& Entry) { return Entry.Caption[0] == u'-' && Entry.Caption[1] == 0; }

bool StartsHidden(const TMenuEntry& Entry) {
  for (const char* Name : HiddenSeparators)
    if (std::string_view(Name) == Entry.Name) return true;
  return false;
}

QString TranslatedCaption(const TMenuEntry& Entry) {
  QString Text;
  if (Entry.Mode == cmBeforeColon) {
    const QString Source = TrText(Entry.Key1);
    const qsizetype Colon = Source.indexOf(QLatin1Char(':'));
    Text = Colon < 0 ? QString() : Source.left(Colon);
  } else {
    Text = TrText(Entry.Key1) + QString::fromUtf8(Entry.Joiner) + TrText(Entry.Key2);
    if (Entry.Key1 == TrNone) Text = QString::fromUtf16(Entry.Caption);
  }
  return Entry.Dialog ? FormatCaption(Text, 1) : Text;
}
