// The main window's start-up services in the order its creation runs them:
// the single-instance gate, the splash window, the data folders, the tool
// cursors and the language module before the menus are built; the module
// libraries, the FreeImage binding and the 8BF filters once the settings
// are read; the menus drawn by the program when the system style is on.
#include "app/MainMenuTable.h"
#include "app/StatusProgress.h"
#include "app/ui/Cursors.h"
#include "app/ui/MainForm.h"
#include "files/FreeImage.h"
#include "files/FreeMetadata.h"
#include "platform/IniFile.h"
#include "raster/FoncUtils.h"
#include "ui/DlgColors.h"
#include "ui/MsgDlg.h"
#include "ui/OwnerDrawMenus.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

bool TMainForm::InitStartupServices() {
  // A second start hands its command line over and ends without a window.
  if (HandedToFirstInstance(FState.MainIniFile, FState.Params)) {
    FSecondInstance = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return false;
  }
  // The splash window, unless the settings switch it off (the dialog font
  // was taken from them at InitApplication).
  const bool SplashWanted =
      TIniFile(FState.MainIniFile).ReadString(QStringLiteral("Params"), QStringLiteral("SplashScreen"), QString()) !=
      QLatin1String("0");
  FState.ShowSplash = SplashWanted && SplashWindowAvailable();
  Startup().ShowSplash = FState.ShowSplash;

  FDataFolders = InitDataFolders(FState.ProgramDir);
  FSettings.ChargerPlugins = FDataFolders.ChargerPlugins;
  FSettings.PS8bfDir = FDataFolders.PS8bfDir;

  LoadToolCursors();

  // The language module, before any caption is set (a module that asks for
  // inches makes them the default print unit through TrPrintUnit).
  FState.TranslationLoaded = LoadLanguageModule(FState.ProgramDir);
  Startup().TranslationLoaded = FState.TranslationLoaded;
  return true;
}

void TMainForm::LoadModules() {
  // The module toolbar is kept only when a module gave it a button.
  FFlagPlugins = false;
  HideModuleMenus();
  if (!FState.Options.NoModulesOption && ScanModules(FDataFolders.PluginDir) > 0)
    FFlagPlugins = FillModuleToolBar(ToolBar(4)) > 0;
  MenuItem(QStringLiteral("MenuAffichageBarrePlugins"))->setChecked(FFlagPlugins && FSettings.PluginsBar);
  // The image library's settings, whichever library reads the files.
  ::PreserveExif = FSettings.PreserveExif;
  ::AutoToneMap = FSettings.AutoToneMap;
  if (FState.Options.NoModulesOption) return;
  // FreeImage is looked for in the module folder only, never elsewhere.
  if (!FDataFolders.PluginDir.isEmpty() && StartFreeImage(false, FDataFolders.PluginDir)) {
    // Its About entry under Help > "A propos du module", tag 3.
    QMenu* About = MenuNamed(QStringLiteral("MenuPluginAPropos"));
    QAction* Item = About->addAction(QStringLiteral("FreeImage"));
    Item->setObjectName(QStringLiteral("MenuAboutFreeImage"));
    Item->setProperty("Tag", 3);
    connect(Item, &QAction::triggered, this, [this] {
      ShowMsgDlg(QStringLiteral("FreeImage is a free open source image library.\rhttps://freeimage.sourceforge.io"),
                 mdkInformation, {mdbOk}, CleanMenuCaption(MenuItem(QStringLiteral("MenuPluginAPropos"))->text()));
    });
    About->menuAction()->setEnabled(true);
    About->menuAction()->setVisible(true);
  }
  ExifSoftware = "Lumaretique 11";
  Setup8bfMenus(FDataFolders.PluginDir, FSettings.PS8bfDir);
}

void TMainForm::PreparerMenus() {
  // A custom style draws the menus itself, with the items' images.
  if (!FState.SystemStyleAtStart) return;
  SetMenuIconSize(std::max(FSettings.ToolButtonHeight - 8, 19));
  SetMenuColors(clDlgHighlight);
  OwnerDrawMainMenu(menuBar(), false);
  for (const char* Name : PopupMenuNames()) PreparerPopupMenu(MenuNamed(QString::fromLatin1(Name)));
}

void TMainForm::PreparerPopupMenu(QMenu* Menu) {
  if (FState.SystemStyleAtStart) OwnerDrawMenu(Menu);
}
