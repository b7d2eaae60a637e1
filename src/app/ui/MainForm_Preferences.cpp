// Tools > "Préférences..." and its button, and the Help menu's entries that
// open a document or an address: the help file (F1), the web site and the
// forum. The preferences dialog edits the window's settings; what takes
// effect at once is applied here.
#include "app/ui/MainForm.h"

#include "app/ui/PrefForm.h"
#include "dialogs/ui/New.h"
#include "dialogs/ui/Rec.h"
#include "dialogs/ui/Redim.h"
#include "document/ui/ImgForm.h"
#include "extensions/ModuleLibrary.h"
#include "extensions/ui/Impr.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "tools/ui/Outils.h"
#include "ui/DlgEx.h"
#include "ui/DlgMain.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QFileInfo>
#include <QPointer>

namespace {

const QString WebSiteAddress = QStringLiteral("https://www.lumaretique.org/");
const QString ForumAddress = QStringLiteral("https://www.lumaretique.org/forum/");

// Dialogs made with the old unit are dropped; their next use makes them
// again with the new one.
template <class TForm> void FreeDialogs(QWidget& Owner) {
  for (TForm* Form : Owner.findChildren<TForm*>()) delete Form;
}

} // namespace

void TMainForm::MenuParamsClick(QObject* Sender) {
  if (!ActionPossible(Sender)) return;
  static QPointer<TPrefForm> Form;
  if (!Form) {
    TPrefSources Sources;
    Sources.MainIniFile = FState.MainIniFile;
    for (const TPluginItem& Module : Modules())
      Sources.Modules.push_back({Module.FileName, SplitModuleCaption(Module.Caption).Command});
    Sources.FreeImageLoaded = HasFreeImage();
    Sources.HostAvailable8bf =
        !FDataFolders.PluginDir.isEmpty() &&
        QFileInfo(AddPathDelimiter(FDataFolders.PluginDir) + QLatin1String(EightBfHostFileName)).isFile();
    Sources.DefaultButtonHeight = FEnv.DefaultButtonHeight;
    Sources.ScreenDpi = FEnv.ScreenDpi;
    Form = new TPrefForm(Sources, this);
  }
  Form->Settings = &FSettings;
  Form->OnApplied = [this] { ApplyPreferences(); };
  if (!ShowModalForm(Form)) return;
  if (Form->FlagUnitImage) {
    FreeDialogs<TNewForm>(*this);
    FreeDialogs<TRedimForm>(*this);
    FreeDialogs<TRecadrerForm>(*this);
  }
  if (Form->FlagUnitPrn) FreeDialogs<TImprForm>(*this);
}

void TMainForm::ApplyPreferences() {
  ::AutoToneMap = FSettings.AutoToneMap;
  ::PreserveExif = FSettings.PreserveExif;
  PaletteAlignment = FSettings.ToolsAlignment;
  if (TOutilsForm* Tools = Palette()) {
    Tools->SetAlignment(FSettings.ToolsAlignment);
    LayoutFrame();
  }
  DialogParams = FSettings.DialogParams;
  ApplyGridSettings();
  ShowActiveLayerBounds(FSettings.LimitesCalqueActif);
  UpdateImageCursor();
  SetAutoSelectLayerAll(FSettings.SelCalqueAuto);
  SetLayerNumberAll(FSettings.NumCalque);
}

void TMainForm::OpenDocument(const QString& Target) {
  if (ShellOpener)
    ShellOpener(Target);
  else
    ShellOpen(Target, QString());
}

void TMainForm::MenuAideInfosClick() {
  QString Help = ProgramDir() + QStringLiteral("Lumaretique11.chm");
  if (!QFileInfo(Help).isFile()) Help = ProgramDir() + QStringLiteral("Lumaretique11.htm");
  if (QFileInfo(Help).isFile())
    OpenDocument(Help);
  else
    ShowMsgDlg(Tr(TrId::GetTrDldGlb4), mdkInformation, {mdbOk});
}

void TMainForm::ConnectPreferencesCommands() {
  ConnectSender("MenuParams", [this](QObject* Sender) { MenuParamsClick(Sender); });
  Connect("MenuAideInfos", [this] { MenuAideInfosClick(); });
  Connect("MenuAideWeb", [this] { OpenDocument(WebSiteAddress); });
  Connect("MenuAideForum", [this] { OpenDocument(ForumAddress); });
}
