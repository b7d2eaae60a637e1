#include "i18n/LoadDLLTranslation.h"

#include "i18n/LibLang.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>

#include <algorithm>
#include <array>

namespace {

// The caller's buffer handed to every export of one load, 1000 units long
// as the modules expect, with one more unit kept zero: a module that fills
// the buffer without ending its text cannot make us read past it.
constexpr int32_t TextBufferLength = 1000;
using TTextBuffer = std::array<char16_t, TextBufferLength + 1>;

// A text a module returns from memory of its own is read up to its zero,
// never further than this.
constexpr qsizetype MaxModuleTextLength = 1 << 16;

QString CallText(TGetTextFunc Get, TTextBuffer& Buffer) {
  const char16_t* Text = Get(Buffer.data(), TextBufferLength);
  Buffer[TextBufferLength] = 0;
  if (!Text) return {};
  const qsizetype Limit = Text == Buffer.data() ? TextBufferLength : MaxModuleTextLength;
  qsizetype Length = 0;
  while (Length < Limit && Text[Length] != 0) ++Length;
  return QString::fromUtf16(Text, Length);
}

TGetTextFunc Export(QLibrary& Library, const char* Name) {
  return reinterpret_cast<TGetTextFunc>(Library.resolve(Name));
}

// The own formats take the module's word for them when it has one.
void NameOwnFormat(TrId Format, TrId Word, bool EvenWhenEmpty) {
  const QString& Text = Tr(Word);
  if (!Text.isEmpty() || EvenWhenEmpty) SetTranslation(Format, QStringLiteral("Lumaretique ") + Text);
}

void DeriveLoadedStrings() {
  NameOwnFormat(TrId::SelectionFormatName, TrId::GetTrMnuSelection, false);
  NameOwnFormat(TrId::LayeredImageFormatName, TrId::GetTrMnuImage, false);
  NameOwnFormat(TrId::PathFormatName, TrId::GetTrMnuPath, true);
  // The file date then follows the user's locale (a date format of Qt's).
  if (Tr(TrId::GetTrFmtFileDate).isEmpty()) {
    const QLocale Locale;
    SetTranslation(TrId::GetTrFmtFileDate, Locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                                               Locale.timeFormat(QLocale::ShortFormat));
  }
}

} // namespace

bool LoadTranslationDLL(const QString& FileName) {
  QLibrary Library(FileName);
  if (!Library.load()) return false;
  TTextBuffer Buffer{};
  const TGetTextFunc Compatibility = Export(Library, "GetCompatibility");
  if (!Compatibility || CallText(Compatibility, Buffer) != QString::fromUtf16(LanguageModuleVersion)) {
    Library.unload();
    return false;
  }
  for (int I = 0; I < TrCount; ++I) {
    const TrId Id = static_cast<TrId>(I);
    const char* Key = TrKey(Id);
    if (!Key) continue;
    // A text whose format arguments differ from the French one's is refused
    // by the table and the French text stays.
    if (const TGetTextFunc Get = Export(Library, Key)) SetTranslation(Id, CallText(Get, Buffer));
  }
  if (const TGetTextFunc Get = Export(Library, PrnUnitKey)) {
    bool Ok = false;
    const int Unit = CallText(Get, Buffer).toInt(&Ok);
    SetTrPrintUnit(Ok ? Unit : 0);
  }
  DeriveLoadedStrings();
  Library.unload();
  return true;
}

bool FindTranslationDLL(const QString& ProgramDir, const std::function<void(const QString&)>& ShowAction) {
  const QDir Folder(ProgramDir);
  QStringList Names;
  for (const QFileInfo& Info : Folder.entryInfoList({QStringLiteral("*.plg")}, QDir::Files | QDir::Hidden))
    if (Info.suffix().compare(QLatin1String("plg"), Qt::CaseInsensitive) == 0) Names << Info.absoluteFilePath();
  std::sort(Names.begin(), Names.end(),
            [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
  Names.removeDuplicates();
  for (const QString& Name : Names) {
    if (ShowAction) ShowAction(QFileInfo(Name).fileName());
    if (LoadTranslationDLL(Name)) return true;
  }
  return false;
}
