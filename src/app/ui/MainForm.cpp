#include "app/ui/MainForm.h"

#include "app/FrameLayout.h"
#include "app/MainMenuTable.h"
#include "app/StatusProgress.h"
#include "app/ui/MainStatusBar.h"
#include "extensions/BatchRun.h"
#include "extensions/ui/FullScreenHost.h"
#include "extensions/ui/Pe.h"
#include "ui/ToolbarImages.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/ColorPicker.h"
#include "ui/CompUtils.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DlgMain.h"
#include "ui/MsgDlg.h"
#include "ui/SimplePanel.h"
#include "ui/SpecialEdit.h"
#include "ui/UtilsDPI.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLoggingCategory>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSet>
#include <QToolBar>

namespace {

// Off by default. "ready" tells a watching process (the start-up tests) that
// the start-up is over: the window is up, the command line's files are open.
Q_LOGGING_CATEGORY(LogStartup, "lumaretique.startup", QtWarningMsg)

// The toolbar buttons: the glyph, the menu item whose command the button
// runs (empty while that command has no menu item), and the hint's source.
struct TButtonDef {
  const char* Name;
  TGlyph Glyph;
  const char* Command;
  const char* HintItem; // a menu item whose cleaned caption is the hint
  TrId HintKey;         // else the text of this string before its ':'
  const char* Suffix;
  const char* FixedShortCut; // shown in brackets instead of the item's
  bool ShowShortCut;
};

using G = TGlyph;
constexpr TrId NoKey = TrId::GetTrStaReady;

constexpr TButtonDef ToolBar1Buttons[] = {
    {"BtnNew", G::New, "MenuFichierNouveau", "MenuFichierNouveau", NoKey, "", "", true},
    {"BtnOuvrir", G::Open, "MenuFichierOuvrir", "MenuFichierOuvrir", NoKey, "", "", true},
    {"BtnEnregistrer", G::Save, "MenuFichierEnregistrer", "MenuFichierEnregistrer", NoKey, "", "", true},
    {"BtnEnregistrerSous", G::SaveAs, "MenuFichierEnregistrerSous", "MenuFichierEnregistrerSous", NoKey, "", "", true},
    {"BtnImprimer", G::Print, "MenuFichierImprimer", "MenuFichierImprimer", NoKey, "", "", true},
    {"BtnTwain", G::Scan, "MenuTwainNumeriser", "MenuTwainNumeriser", NoKey, "", "", false},
    {"BtnUndo", G::Undo, "MenuEditionUndo", "MenuEditionUndo", NoKey, "", "", false},
    {"BtnRedo", G::Redo, "MenuEditionRedo", "MenuEditionRedo", NoKey, "", "", false},
    {"BtnCopier", G::Copy, "MenuEditionCopier", "MenuEditionCopier", NoKey, "", "", true},
    {"BtnCollerSel", G::PasteSel, "MenuEditionCollerSel", "MenuEditionCollerSel", NoKey, "", "", true},
    {"BtnCollerImg", G::PasteImg, "MenuEditionCollerImg", "MenuEditionCollerImg", NoKey, "", "", true},
    {"BtnRVB", G::ModeRGB, "MenuModeRGB", "MenuModeRGB", NoKey, "", "", false},
    {"BtnIndex", G::ModeIndex, "MenuModeIndex", "MenuModeIndex", NoKey, "", "", false},
    {"BtnTransparent", G::Transparent, "MenuImageCouleurTrans", "MenuImageCouleurTrans", NoKey, "", "", false},
    {"BtnRedim", G::Resize, "MenuImageRedim", "MenuImageRedim", NoKey, "", "", true},
    {"BtnZone", G::CanvasSize, "MenuImageZone", "MenuImageZone", NoKey, "", "", true},
    {"BtnSelection", G::Selection, "MenuSelSelection", "MenuSelSelection", NoKey, "", "", true},
    {"BtnText", G::Text, "MenuTexte", "MenuTexte", NoKey, "", "", true},
    {"BtnVectorialPath", G::Path, "", "MenuOutilsPath", NoKey, "", "", false},
    {"BtnExplore", G::Explore, "MenuExplore", "MenuExplore", NoKey, "", "", true},
    {"BtnAuto", G::Batch, "MenuAutomatisation", "MenuAutomatisation", NoKey, "", "", false},
    {"BtnParams", G::Params, "MenuParams", "MenuParams", NoKey, "", "", false},
};

constexpr TButtonDef ToolBar3Buttons[] = {
    {"BtnLumMoins", G::LumMinus, "", "", TrId::GetTrFmtBrightness, " (-)", "", false},
    {"BtnLumPlus", G::LumPlus, "", "", TrId::GetTrFmtBrightness, " (+)", "", false},
    {"BtnCtrMoins", G::CtrMinus, "", "MenuReglageCtr", NoKey, " (-)", "", false},
    {"BtnCtrPlus", G::CtrPlus, "", "MenuReglageCtr", NoKey, " (+)", "", false},
    {"BtnGamMoins", G::GamMinus, "", "MenuReglageGamma", NoKey, " (-)", "", false},
    {"BtnGamPlus", G::GamPlus, "", "MenuReglageGamma", NoKey, " (+)", "", false},
    {"BtnColMoins", G::ColMinus, "", "", TrId::SaturationLabel, " (-)", "", false},
    {"BtnColPlus", G::ColPlus, "", "", TrId::SaturationLabel, " (+)", "", false},
    {"BtnHistog", G::Histogram, "MenuReglageHistog", "MenuReglageHistog", NoKey, "", "", false},
    {"BtnReglage", G::Adjust, "MenuReglagePerso", "MenuReglage", NoKey, "", "", false},
    {"BtnBlancs", G::WhiteBalance, "MenuReglageBlancs", "MenuReglageBlancs", NoKey, "", "", false},
    {"BtnAutoNiv", G::AutoLevels, "MenuReglageNivAuto", "MenuReglageNivAuto", NoKey, "", "", false},
    {"BtnAutoCtr", G::AutoContrast, "MenuReglageCtrAuto", "MenuReglageCtrAuto", NoKey, "", "", false},
    {"BtnGris", G::Grey, "MenuReglageGris", "MenuReglageGris", NoKey, "", "", false},
    {"BtnSepia", G::Sepia, "MenuFiltreTeinteSepia", "MenuFiltreTeinteSepia", NoKey, "", "", false},
    {"BtnPhotoAncienne", G::OldPhoto, "MenuFiltreVieillir3", "MenuFiltreVieillir3", NoKey, "", "", false},
    {"BtnAntipoussiere", G::Dust, "MenuFiltreAntipoussiere", "MenuFiltreAntipoussiere", NoKey, "", "", false},
    {"BtnAdoucir", G::Soften, "MenuFiltreAdoucir", "MenuFiltreAdoucir", NoKey, "", "", false},
    {"BtnFlou", G::Blur, "MenuFiltreFlou", "MenuFiltreFlou", NoKey, "", "", false},
    {"BtnRelief", G::Relief, "MenuFiltreRelief1", "MenuFiltreRelief1", NoKey, "", "", false},
    {"BtnDurcir", G::Sharpen, "MenuFiltreDurcir", "MenuFiltreDurcir", NoKey, "", "", false},
    {"BtnReinforce", G::Reinforce, "MenuFiltreRenforcement", "MenuFiltreRenforcement", NoKey, "", "", false},
    {"BtnVariante", G::Variation, "MenuFiltreVariante", "MenuFiltreVariante", NoKey, "", "", false},
    {"BtnDegrade", G::Gradient, "MenuFiltreDegrade", "MenuFiltreDegrade", NoKey, "", "", false},
    {"BtnLumaMasque", G::LumaMask, "MenuLumaMasque", "MenuLumaMasque", NoKey, "", "", false},
    {"BtnSymVert", G::FlipVert, "", "MenuImageSymVerti", NoKey, "", "", false},
    {"BtnSymHorz", G::FlipHorz, "", "MenuImageSymHoriz", NoKey, "", "", false},
    {"BtnRotation90a", G::Rotate90a, "", "MenuImageRot270", NoKey, "", "", false},
    {"BtnRotation90h", G::Rotate90h, "", "MenuImageRot90", NoKey, "", "", false},
};

constexpr TButtonDef ToolBar2Buttons[] = {
    {"BtnZoomPlus", G::ZoomIn, "MenuZoomAvant", "MenuZoomAvant", NoKey, "", "+", true},
    {"BtnZoomMoins", G::ZoomOut, "MenuZoomArriere", "MenuZoomArriere", NoKey, "", "-", true},
    {"BtnZoom100", G::Zoom100, "MenuZoom100", "MenuZoom100", NoKey, "", "=", true},
    {"BtnZoomAuto", G::ZoomAuto, "MenuZoomAuto", "MenuZoomAuto", NoKey, "", "*", true},
    {"BtnZoomPe", G::FullScreen, "MenuZoomPe", "MenuZoomPe", NoKey, "", "", true},
};

// The zoom presets of the zoom edit's list, in percent.
struct TZoomPreset {
  int Percent;
  const char* Ratio;
};
constexpr TZoomPreset ZoomPresets[] = {{10, "1:10"}, {25, "1:4"},  {33, "1:3"},  {50, "1:2"},    {66, "2:3"},
                                       {75, "3:4"},  {100, "1:1"}, {200, "2:1"}, {300, "3:1"},   {400, "4:1"},
                                       {500, "5:1"}, {600, "6:1"}, {800, "8:1"}, {1200, "12:1"}, {1600, "16:1"}};

// Submenus that the table names only as a place for items made at run time.
const QSet<QString> RunTimeSubmenus = {"MenuFichierRecents", "MenuPluginImport", "MenuPluginExport",
                                       "MenuPluginImage",    "MenuPluginFiltre", "MenuPluginOutil",
                                       "MenuFiltre8bf",      "PopSelTransform",  "PopSelForme",
                                       "PopImgForme",        "PopCalqueOrdre",   "MenuPluginAPropos"};

// The items the view menu checks.
const QSet<QString> CheckableItems = {"MenuAffichageBarreFiltres",
                                      "MenuAffichageBarrePlugins",
                                      "MenuAffichageOutils",
                                      "MenuAffichageMaximiser",
                                      "MenuCadreOmbre",
                                      "MenuAfficherGrille",
                                      "MenuAfficherMagnGrille",
                                      "MenuAfficherLisser",
                                      "MenuAffichageMiniature1",
                                      "MenuAffichageMiniature2",
                                      "MenuAffichageMiniature3",
                                      "MenuAffichageMiniature4",
                                      "MenuExplore",
                                      "MenuExtensionShell"};

QColor Rgb(TColor C) {
  const TColor R = ColorToRGB(C);
  return QColor(GetRValue(R), GetGValue(R), GetBValue(R));
}

int DefaultToolButtonSize(const QFont& Font) {
  const int Height = FontEditHeight(Font, true);
  return Height >= 23 ? Height + 2 : 25;
}

} // namespace

TMainForm::TMainForm(const TStartupState& State) : FState(State) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Lumaretique 11"));
  setAcceptDrops(true);
  SetMainFormWindow(this);
  SetDialogServices(this);

  FClient = new QWidget(this);
  setCentralWidget(FClient);
  FClient->installEventFilter(this);
  FTopSeparator = new QWidget(FClient);
  FTopSeparator->setObjectName(QStringLiteral("TopSeparator"));
  FTopSeparator->setAutoFillBackground(true);
  FTopSeparator->setPalette(QPalette(Rgb(clDlgBorder)));
  FPnlOutils = new TSimplePanel(FClient);
  FPnlOutils->setObjectName(QStringLiteral("PnlOutils"));
  FPnlOutils->SetColor(clDlgPanelLight);
  FPnlPlugins = new TSimplePanel(FClient);
  FPnlPlugins->setObjectName(QStringLiteral("PnlPlugins"));
  FPnlPlugins->SetColor(clDlgPanelLight);
  FMdiArea = new QMdiArea(FClient);
  FMdiArea->setObjectName(QStringLiteral("ClientWindow"));
  FMdiArea->setBackground(Rgb(clDlgDarkWindow));
  FMdiArea->setContextMenuPolicy(Qt::CustomContextMenu);
  FStatusBar = new TMainStatusBar(FClient);

  FEnv.ProgramDir = FState.ProgramDir;
  if (const QScreen* Screen = QGuiApplication::primaryScreen()) FEnv.WorkArea = Screen->availableGeometry();
  FEnv.ScreenDpi = ScreenPixelsPerInch();
  QFont MainFont = font();
  ApplyDialogFont(MainFont, 3);
  setFont(MainFont);
  FEnv.DefaultButtonHeight = DefaultToolButtonSize(MainFont);
  FSettings = DefaultMainSettings(FEnv);
  // The single-instance gate, the splash, the data folders, the tool
  // cursors and the language module come before the menus are captioned.
  if (!InitStartupServices()) return;
  // A module asking for inches makes them the default print unit; a
  // PrintUnit stored in the settings, read later, still wins.
  FEnv.PrintUnitDefault = TrPrintUnit() != 0 ? 1 : 0;
  FSettings.UniteDefautPrn = FEnv.PrintUnitDefault;

  // Without a language module the table's French captions stand.
  BuildMenus();
  BuildPopupMenus();
  BuildZoomPopup();
  BuildToolBars();
  LoadSettings(FState.MainIniFile, FEnv, FSettings);
  DialogParams = FSettings.DialogParams;
  SetDialogsIniFile(FState.MainIniFile);
  // Every colour edit made from now on: its palette in the style's colours,
  // its custom-colour text, and black as the default colour.
  SetColorPopupColors(clDlgList, clDlgBorder, clDlgHighlight);
  SetColorEditCustomText(Tr(TrId::GetDlgOtherColors));
  SetColorEditDefaultText(QStringLiteral("bidon"));
  SetColorPickerDefaultColor(clBlack);
  ApplySettings();
  ConnectCommands();
  SizeToolBars();
  LoadModules();
  // After the module menus were hidden: the outside programs show theirs.
  ConnectProgramsCommands();
  PreparerMenus();
  FPnlPlugins->setVisible(FFlagPlugins && MenuItem("MenuAffichageBarrePlugins")->isChecked());

  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TMainForm::UpdateClipboardButtons);
  UpdateClipboardButtons();
  qApp->installEventFilter(this);
  InstallApplicationHooks();
  RegisterExeAndFileTypes();
  FStatusBar->SetPanelText(0, Tr(TrId::GetTrStaReady));
  FPendingFiles = CommandLineFiles(FState.Params);
}

TMainForm::~TMainForm() {
  ReleaseExplorer();
  ReleaseFullScreen();
  ReleasePalette();
  ReleaseFileServices();
  ReleaseLayerHooks();
  qApp->removeEventFilter(this);
  if (ProgressSink() == this) SetProgressSink(nullptr);
  if (DialogServices() == this) SetDialogServices(nullptr);
  if (MainFormWindow() == this) SetMainFormWindow(nullptr);
  if (!FSecondInstance) SaveSettings(FState.MainIniFile, FSettings);
}

QString TMainForm::TitreMenu(const QString& ItemName) const {
  const QAction* Item = MenuItem(ItemName);
  return Item ? CleanMenuCaption(Item->text()) : QString();
}

QToolBar* TMainForm::ToolBar(int Number) const { return Number >= 1 && Number <= 4 ? FToolBars[Number - 1] : nullptr; }

void TMainForm::BuildMenus() {
  const auto Entries = MainMenuEntries();
  QSet<QString> Parents(RunTimeSubmenus);
  for (const TMenuEntry& E : Entries)
    if (*E.Parent) Parents.insert(QString::fromLatin1(E.Parent));
  for (const char* Name : TopMenuNames()) {
    QMenu* Menu = menuBar()->addMenu(QString());
    Menu->setObjectName(QString::fromLatin1(Name));
    Menu->menuAction()->setObjectName(QString::fromLatin1(Name));
    FMenus.insert(QString::fromLatin1(Name), Menu);
  }
  for (const char* Name : PopupMenuNames()) {
    auto* Menu = new QMenu(this);
    Menu->setObjectName(QString::fromLatin1(Name));
    FMenus.insert(QString::fromLatin1(Name), Menu);
  }
  // First the submenus, so that an item may stand in a submenu whose row
  // comes later in the table.
  for (const TMenuEntry& E : Entries) {
    const QString Name = QString::fromLatin1(E.Name);
    if (E.Again || !*E.Parent || !Parents.contains(Name)) continue;
    auto* Menu = new QMenu(this);
    Menu->setObjectName(Name);
    Menu->menuAction()->setObjectName(Name);
    FMenus.insert(Name, Menu);
  }
  for (const TMenuEntry& E : Entries) {
    const QString Name = QString::fromLatin1(E.Name);
    const QString Caption = FState.TranslationLoaded ? TranslatedCaption(E) : QString::fromUtf16(E.Caption);
    if (E.Again) {
      if (FState.TranslationLoaded) FItems.value(Name)->setText(Caption);
      continue;
    }
    QAction* Action;
    if (!*E.Parent) {
      Action = FMenus.value(Name)->menuAction();
    } else if (QMenu* Sub = FMenus.value(Name)) {
      Action = Sub->menuAction();
      FMenus.value(QString::fromLatin1(E.Parent))->addAction(Action);
    } else {
      Action = new QAction(this);
      Action->setObjectName(Name);
      Action->setEnabled(false);
      Action->setCheckable(CheckableItems.contains(Name));
      Action->setSeparator(IsSeparator(E));
      Action->setVisible(!StartsHidden(E));
      if (*E.ShortCut) Action->setShortcut(QKeySequence(QString::fromLatin1(E.ShortCut)));
      FMenus.value(QString::fromLatin1(E.Parent))->addAction(Action);
    }
    // A separator has no caption: a style would draw its "-".
    if (!Action->isSeparator()) Action->setText(Caption);
    Action->setProperty("Tag", E.Tag);
    FItems.insert(Name, Action);
  }
  // Empty run-time submenus stay disabled until something fills them.
  for (const QString& Name : RunTimeSubmenus)
    if (QMenu* Menu = FMenus.value(Name); Menu && Menu->isEmpty()) Menu->menuAction()->setEnabled(false);
  for (const char* Name : TopMenuNames())
    connect(FMenus.value(QString::fromLatin1(Name)), &QMenu::aboutToShow, this,
            [this] { FStatusBar->SetPanelText(2, QString()); });
}

void TMainForm::BuildPopupMenus() {
  // A clone carries the item's caption, image and command, and follows its
  // enabled state.
  const auto Clone = [this](QMenu* Into, QAction* Item, const QString& Prefix) {
    if (Item->isSeparator()) {
      Into->addSeparator();
      return;
    }
    auto* Copy = new QAction(Item->text(), this);
    Copy->setObjectName(Prefix + QLatin1Char('_') + Item->objectName());
    Copy->setIcon(Item->icon());
    Copy->setProperty("Tag", Item->property("Tag"));
    Copy->setEnabled(Item->isEnabled());
    connect(Item, &QAction::changed, Copy, [Item, Copy] {
      Copy->setEnabled(Item->isEnabled());
      Copy->setIcon(Item->icon());
    });
    connect(Copy, &QAction::triggered, Item, &QAction::trigger);
    Into->addAction(Copy);
  };
  QMenu* PopSelTransform = FMenus.value("PopSelTransform");
  for (QAction* Item : FMenus.value("MenuSelTransform")->actions()) Clone(PopSelTransform, Item, "PopSelTransform");
  PopSelTransform->addSeparator();
  Clone(PopSelTransform, MenuItem("MenuCalqueTransformDistort"), "PopSelTransform");
  Clone(PopSelTransform, MenuItem("MenuCalqueTransformParams"), "PopSelTransform");
  for (const char* Name : {"PopSelForme", "PopImgForme"})
    for (QAction* Item : FMenus.value("MenuSelForme")->actions()) Clone(FMenus.value(Name), Item, Name);
  for (QAction* Item : FMenus.value("MenuCalqueOrdre")->actions())
    Clone(FMenus.value("PopCalqueOrdre"), Item, "PopCalqueOrdre");
  for (const char* Name : {"PopSelTransform", "PopSelForme", "PopImgForme", "PopCalqueOrdre"})
    FMenus.value(Name)->menuAction()->setEnabled(true);
  // The undo and redo items of the image popup, captioned when it opens.
  QMenu* PopImg = FMenus.value("PopImg");
  for (const auto& [Name, Caption] : {std::pair{"PopImgUndo", "Défaire"}, std::pair{"PopImgRedo", "Refaire"}}) {
    auto* Item = PopImg->addAction(QString::fromUtf8(Caption));
    Item->setObjectName(QString::fromLatin1(Name));
    Item->setEnabled(false);
    FItems.insert(Item->objectName(), Item);
  }
}

void TMainForm::BuildZoomPopup() {
  QMenu* PopZoom = FMenus.value("PopZoom");
  MenuItem("PopZoomAuto")->setProperty("Tag", 0);
  // The list only opens with an image (the edit is disabled without one).
  MenuItem("PopZoomAuto")->setEnabled(true);
  for (const auto& [Percent, Ratio] : ZoomPresets) {
    // Real size stands apart from the reductions and the enlargements.
    if (Percent == 100) PopZoom->addSeparator();
    auto* Item = PopZoom->addAction(QStringLiteral("%1%   (%2)").arg(Percent).arg(QLatin1String(Ratio)));
    Item->setObjectName(QStringLiteral("PopZoom%1").arg(Percent));
    Item->setProperty("Tag", Percent);
    FItems.insert(Item->objectName(), Item);
    if (Percent == 100) PopZoom->addSeparator();
  }
}

void TMainForm::BuildToolBars() {
  const auto Fill = [this](QToolBar* Bar, std::span<const TButtonDef> Buttons) {
    for (const TButtonDef& B : Buttons) {
      QAction* Button = Bar->addAction(QString::fromLatin1(B.Name));
      Button->setObjectName(QString::fromLatin1(B.Name));
      Button->setProperty("Glyph", static_cast<int>(B.Glyph));
      Button->setProperty("Command", QString::fromLatin1(B.Command));
      QString Hint = *B.HintItem ? CleanMenuCaption(MenuItem(QString::fromLatin1(B.HintItem))->text())
                                 : Tr(B.HintKey).section(QLatin1Char(':'), 0, 0);
      Hint += QString::fromLatin1(B.Suffix);
      QAction* Command = *B.Command ? MenuItem(QString::fromLatin1(B.Command)) : nullptr;
      if (B.ShowShortCut) {
        const QString Keys = *B.FixedShortCut ? QString::fromLatin1(B.FixedShortCut)
                             : Command        ? Command->shortcut().toString(QKeySequence::NativeText)
                                              : QString();
        Hint += QStringLiteral(" [%1]").arg(Keys);
      }
      Button->setToolTip(Hint);
      Button->setText(Hint);
      Button->setEnabled(Command && Command->isEnabled());
      if (Command) {
        connect(Command, &QAction::changed, Button, [Command, Button] { Button->setEnabled(Command->isEnabled()); });
        // The command sees the button as its sender (the zoom buttons work
        // while a dialog is open, their menu items do not).
        connect(Button, &QAction::triggered, this, [this, Button, Command] {
          const QPointer<QAction> Previous = std::exchange(FButtonSender, Button);
          Command->trigger();
          FButtonSender = Previous;
        });
      }
    }
  };
  const char* Names[] = {"ToolBar1", "ToolBar2", "ToolBar3", "ToolBar4"};
  for (int I = 0; I < 4; ++I) {
    FToolBars[I] = new QToolBar(I == 3 ? static_cast<QWidget*>(FPnlPlugins) : FPnlOutils);
    FToolBars[I]->setObjectName(QString::fromLatin1(Names[I]));
    FToolBars[I]->setMovable(false);
    FToolBars[I]->setFloatable(false);
    FToolBars[I]->setOrientation(I == 3 ? Qt::Vertical : Qt::Horizontal);
  }
  Fill(FToolBars[0], ToolBar1Buttons);
  Fill(FToolBars[1], ToolBar2Buttons);
  Fill(FToolBars[2], ToolBar3Buttons);
  FEdiZoom = new TSpecialEdit(FPnlOutils);
  FEdiZoom->setObjectName(QStringLiteral("EdiZoom"));
  FEdiZoom->SetIndexByTag(true);
  FEdiZoom->SetDropDownMenu(FMenus.value("PopZoom"));
  FEdiZoom->setToolTip(Tr(TrId::GetTrLblZoom));
  FEdiZoom->setEnabled(false);
}

void TMainForm::SizeToolBars() {
  const int Height = FSettings.ToolButtonHeight;
  const int Width = Height + (Height - 20) / 5;
  const int IconSize = std::max(Height - 8, 19);
  for (QToolBar* Bar : FToolBars) {
    Bar->setIconSize(QSize(IconSize, IconSize));
    for (QAction* Button : Bar->actions()) {
      if (!Button->property("Glyph").isValid()) continue;
      Button->setIcon(ToolbarIcon(static_cast<TGlyph>(Button->property("Glyph").toInt()), IconSize));
      // The menu item of the same command shows the same image.
      if (QAction* Command = MenuItem(Button->property("Command").toString())) Command->setIcon(Button->icon());
    }
    Bar->setStyleSheet(QStringLiteral("QToolBar{border:0;spacing:0;padding:0;background:transparent}"
                                      "QToolButton{min-width:%1px;max-width:%1px;min-height:%2px;max-height:%2px;"
                                      "padding:0;margin:0}")
                           .arg(Width)
                           .arg(Height));
    Bar->adjustSize();
  }
  FToolBarHeight = Height + 3;
  FPnlPlugins->resize(2 * 2 + Width + 1, FPnlPlugins->height());
  FToolBars[0]->move(2, 2);
  FToolBars[2]->move(2, Height + 5);
  FToolBars[2]->setVisible(FSettings.FilterBar);
  FTopSeparator->setFixedHeight(1);
  FPnlOutils->setFixedHeight((1 + (FSettings.FilterBar ? 1 : 0)) * FToolBarHeight);
  const QFontMetrics Metrics(FStatusBar->font());
  FStatusBar->SetPanelWidth(0, Metrics.horizontalAdvance(QString(32, QLatin1Char('X'))));
  FStatusBar->SetPanelWidth(1, Metrics.horizontalAdvance(QString(20, QLatin1Char('X'))));
  FStatusBar->SetPanelWidth(2, Metrics.horizontalAdvance(QString(20, QLatin1Char('X'))));
  FStatusBar->setFixedHeight(FStatusBar->sizeHint().height());
  LayoutFrame();
}

void TMainForm::PlaceZoomEdit() {
  const QToolBar* Bar1 = FToolBars[0];
  const QToolBar* Bar2 = FToolBars[1];
  const QToolBar* Bar3 = FToolBars[2];
  const int Right = FPnlOutils->width() - 2;
  FToolBars[1]->move(Right - Bar2->width(), FSettings.FilterBar ? Bar3->y() : Bar1->y());
  const int EditHeight = ControlEditHeight(FEdiZoom);
  const int Left = Bar1->geometry().right() + 1 + 4;
  FEdiZoom->setGeometry(Left, (FToolBarHeight - EditHeight) / 2 + 1, std::max(0, Bar2->x() - Left - 2), EditHeight);
}

void TMainForm::LayoutFrame() {
  TFrameLayoutInput In;
  In.Client = FClient->rect();
  In.StatusBarHeight = FStatusBar->height();
  In.SeparatorHeight = FTopSeparator->height();
  In.ToolPanelHeight = FPnlOutils->height();
  In.FilterBarWidth = FToolBars[2]->width();
  In.ModulePanelVisible = FPnlPlugins->isVisibleTo(this);
  In.ModulePanelWidth = FPnlPlugins->width();
  PaletteFrameInput(In);
  BrowserFrameInput(In);
  const TFrameLayout L = ::LayoutFrame(In);
  FStatusBar->setGeometry(L.StatusBar);
  FTopSeparator->setGeometry(L.Separator);
  FPnlOutils->setGeometry(L.ToolPanel);
  if (In.ModulePanelVisible) FPnlPlugins->setGeometry(L.ModulePanel);
  FMdiArea->setGeometry(L.ImageArea);
  FMdiArea->lower();
  PlaceDockedPalette(L.Palette);
  PlaceBrowser(L.Browser);
  PlaceZoomEdit();
}

void TMainForm::ApplySettings() {
  setGeometry(FSettings.WindowRect);
  if (FSettings.Maximize) setWindowState(windowState() | Qt::WindowMaximized);
  MenuItem("MenuAffichageBarreFiltres")->setChecked(FSettings.FilterBar);
  MenuItem("MenuAffichageMaximiser")->setChecked(FSettings.MaximizeImgWin);
  MenuItem("MenuCadreOmbre")->setChecked(FSettings.CadreOmbre);
  MenuItem("MenuAfficherLisser")->setChecked(FSettings.Antialias);
  MenuItem("MenuAffichageOutils")->setChecked(FSettings.ToolsPalette);
  MenuItem("MenuExplore")->setChecked(FSettings.Explorer);
  MenuItem(QStringLiteral("MenuAffichageMiniature%1").arg(FSettings.ThumbSize + 1))->setChecked(true);
  // No module is loaded yet, so the module toolbar stays empty and hidden.
  FFlagPlugins = false;
  MenuItem("MenuAffichageBarrePlugins")->setChecked(false);
}

void TMainForm::Connect(const char* Name, std::function<void()> Handler) {
  QAction* Item = MenuItem(QString::fromLatin1(Name));
  Item->setEnabled(true);
  Item->setProperty("Built", true);
  connect(Item, &QAction::triggered, this, [Handler = std::move(Handler)] { Handler(); });
}

void TMainForm::ConnectCommands() {
  Connect("MenuFichierFermer", [this] { MenuFichierFermerClick(); });
  Connect("MenuFichierFermerTout", [this] { MenuFichierFermerToutClick(); });
  Connect("MenuFichierQuiter", [this] { MenuFichierQuiterClick(); });
  Connect("PopFormFermer", [this] { MenuFichierFermerToutClick(); });
  Connect("MenuAffichageBarreFiltres", [this] { MenuAffichageBarreFiltresClick(); });
  Connect("MenuAffichageMaximiser", [this] { MenuAffichageMaximiserClick(); });
  Connect("MenuCadreOmbre", [this] { MenuCadreOmbreClick(); });
  Connect("MenuAfficherLisser", [this] { MenuAfficherLisserClick(); });
  for (int I = 0; I < 4; ++I)
    Connect(QStringLiteral("MenuAffichageMiniature%1").arg(I + 1).toLatin1().constData(),
            [this, I] { MenuAffichageMiniatureClick(I); });
  Connect("MenuFenetreCascade", [this] { MenuFenetreCascadeClick(); });
  Connect("PopFormReorganiser", [this] { MenuFenetreCascadeClick(); });
  Connect("MenuFenetreMosaiqueH", [this] { MenuFenetreMosaiqueHClick(); });
  Connect("MenuFenetreMosaiqueV", [this] { MenuFenetreMosaiqueVClick(); });
  Connect("MenuFenetreReduire", [this] { MenuFenetreReduireClick(); });
  Connect("MenuFenetreRestaure", [this] { MenuFenetreRestaureClick(); });
  connect(FMenus.value("MenuFenetre"), &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);
  ConnectZoomListCommands();
  InstallLayerHooks();
  ConnectFileCommands();
  ConnectPrintCommands();
  ConnectUndoCommands();
  ConnectAdjustCommands();
  ConnectPreferencesCommands();
  ConnectModuleCommands();
  ConnectExplorerCommands();
  ConnectFullScreenCommands();
  ConnectTextCommands();
  ConnectEditCommands();
  ConnectFileManagementCommands();
  ConnectLayerCommands();
  ConnectFilterCommands();
  ConnectQuickAdjustCommands();
  ConnectGifAnimCommands();
  ConnectIconExportCommands();
  ConnectBatchCommands();
  ConnectCorrectionCommands();
  ConnectDistortionCommands();
  ConnectPathCommands();
  ConnectCurvesCommands();
  ConnectEffectCommands();
  ConnectTextureCommands();
  ConnectColorCommands();
  ConnectOutlineCommands();
  ConnectImageCommands();
  ConnectImageModeCommands();
  ConnectImageGeometryCommands();
  ConnectImageDialogCommands();
  ConnectLayerDialogCommands();
  ConnectMaskOverlayCommands();
  ConnectSelectionCommands();
  ConnectSelectionMenuCommands();
  ConnectZoomCommands();
  ConnectDisplayCommands();
  ConnectMenuRules();
  connect(FMdiArea, &QWidget::customContextMenuRequested, this, [this](const QPoint& At) {
    if (CheckActionKey()) FMenus.value("PopForm")->popup(FMdiArea->mapToGlobal(At));
  });
}

void TMainForm::SetStatusText(const QString& Text) {
  FStatusBar->SetPanelText(0, StatusPanelText(Text));
  FStatusBar->repaint();
}

void TMainForm::StatusProgress(uint8_t Stage, int Value) {
  switch (Stage) {
  case ProgressStageBegin:
    if (!IsFirstProgressPass()) return;
    FSavedStatus = FStatusBar->PanelText(0);
    FProgressFormat = ProgressFormat(FSavedStatus);
    break;
  case ProgressStageReport:
    FStatusBar->SetProgress(true, Value);
    SetStatusText(FProgressFormat.arg(Value));
    break;
  case ProgressStageEnd:
    if (!IsLastProgressPass()) return;
    FStatusBar->SetProgress(false, 0);
    SetStatusText(FSavedStatus);
    break;
  default:
    break;
  }
}

void TMainForm::ProgressCallback(uint8_t Stage, int Value, int) { StatusProgress(Stage, Value); }

void TMainForm::HandlePendingMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TMainForm::UpdateActiveImage() {
  if (QMdiSubWindow* Active = FMdiArea->activeSubWindow()) Active->update();
}

bool TMainForm::CheckActionKey() const {
  const bool Selecting = UneImage() && (EnfantActif()->Image->Selecting() || (Sel() && Sel()->Updating() != 0));
  return FDialogueForm.isNull() && FModalForm.isNull() && DialogueEnCours <= 0 && !Selecting &&
         !(FToolHooks && FToolHooks->IsEditing());
}

void TMainForm::SetOpenFileHook(std::function<void(const QString&)> Hook) { FOpenFileHook = std::move(Hook); }

void TMainForm::OpenFiles(const QStringList& Files) {
  FPendingFiles << Files;
  if (!FOpenFileHook) return;
  const QStringList Pending = std::exchange(FPendingFiles, {});
  for (const QString& File : Pending) FOpenFileHook(File);
}

void TMainForm::FormPaint() {
  SetProgressSink(this);
  if (!FOpenFileHook) SetOpenFileHook([this](const QString& File) { Ouvrir(File, true, true); });
  CreatePalette();
  if (FSettings.Explorer) ShowExplorer(true);
  // The palette and the browser take their room first: the files open sized
  // to the image area they leave.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  OpenFiles({});
  FState.Options.OpenAsImportOption = false;
  Startup().Options.OpenAsImportOption = false;
  setFocus();
  qCInfo(LogStartup, "ready");
}

void TMainForm::UpdateClipboardButtons() {
  const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
  FClipboardHasImage = Data && Data->hasImage();
}

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FClient) {
    if (Event->type() == QEvent::Resize) LayoutFrame();
    if (Event->type() == QEvent::Paint && !FPainted) {
      FPainted = true;
      QMetaObject::invokeMethod(
          this, [this] { FormPaint(); }, Qt::QueuedConnection);
    }
    return false;
  }
  // The menus take no short-cut while a dialog is open; the dialog's own
  // short-cuts still work.
  if (Event->type() == QEvent::Shortcut && Watched->parent() == this && qobject_cast<QAction*>(Watched) &&
      !CheckActionKey())
    return true;
  return QMainWindow::eventFilter(Watched, Event);
}

void TMainForm::StoreWindowState() {
  FSettings.Maximize = isMaximized();
  if (!FSettings.Maximize) FSettings.WindowRect = geometry();
}

void TMainForm::closeEvent(QCloseEvent* Event) {
  if (IsBatchRunning()) {
    ShowMsgDlg(Tr(TrId::GetTrDlgBatch3), mdkWarning, TMsgDlgButtons{mdbOk});
    Event->ignore();
    return;
  }
  // Each image window asks about its unsaved changes; one that refuses
  // keeps the program running and every image.
  if (!CloseImageWindows()) {
    Event->ignore();
    return;
  }
  StoreWindowState();
  Event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* Event) {
  if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* Event) {
  Event->acceptProposedAction();
  WMFilesDropped(Event->mimeData());
}
