// The module libraries in the main window: the scan at start-up, the items
// of the module submenus and the about items, the module toolbar, the
// enabling of each module's command, a run bracketed as an undoable command
// for the filter and image kinds, the about box, and the clicks and colours
// of the image handed to the running module. The host record's services are
// in MainForm_ModuleServices.cpp.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "app/ui/ModuleHost.h"
#include "document/Calque.h"
#include "document/ui/MyImageLayeredView.h"
#include "extensions/ui/PlgDlg.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"
#include "ui/ToolbarImages.h"
#include "ui/VisualStyles.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

TModuleHost* GRunning = nullptr;

// The parent submenu of a module's command, by kind, and the separator that
// shows with it.
struct TModuleParent {
  const char* TopMenu;
  const char* Submenu;
  const char* Separator;
};
constexpr TModuleParent ModuleParents[] = {
    {"MenuFiltre", "MenuPluginFiltre", "MenuSepPluginFiltre"},
    {"MenuImage", "MenuPluginImage", "SepImageModules"},
    {"MenuFichier", "MenuPluginImport", "SepFichierModules"},
    {"MenuFichier", "MenuPluginExport", "SepFichierModules"},
    {"MenuOutils", "MenuPluginOutil", "MenuSepPluginOutil"},
};

} // namespace

TModuleHost* RunningModuleHost() { return GRunning; }

TModuleHost::~TModuleHost() { Library.UnloadModule(); }

TBitmap* TModuleHost::Bitmap(const void* Handle) const {
  for (const auto& B : Bitmaps)
    if (B.get() == Handle) return B.get();
  return nullptr;
}

template <class TRun> void TModuleHost::RunLoaded(TRun Run) {
  GRunning = this;
  // Forms, action, window and bitmaps are given back however the module
  // returns; the library is unloaded last.
  struct TEnd {
    TModuleHost& H;
    ~TEnd() {
      H.F.SetPipetteForm(nullptr);
      H.F.SetDialogueForm(nullptr);
      H.F.SetModalForm(nullptr);
      H.F.FinAction();
      H.ModuleWindow = nullptr;
      H.Bitmaps.clear();
      GRunning = nullptr;
      H.Library.UnloadModule();
    }
  } End{*this};
  if (TPluginStruct* Rec = Library.RegisterPluginStruct()) {
    TPluginStruct Source = Services();
    Source.MainWindow = F.winId();
    Source.ImageOpen = F.UneImage() ? -1 : 0;
    if (F.UneImage()) {
      Source.SelectionVisible = F.UneSelection() ? -1 : 0;
      const TRect R = IntersectRect(F.LaSelection(), TRect{0, 0, F.LeBitmap().Width(), F.LeBitmap().Height()});
      Source.SelectionRect = {R.Left, R.Top, R.Right, R.Bottom};
      Source.ImageRect = {0, 0, F.LeFond().Width(), F.LeFond().Height()};
    }
    Source.StyleEnabled = IsStyleEnabled() ? -1 : 0;
    FillHostRecord(Rec, Library.RegisterCompatibility(), Source);
  }
  Run();
}

bool TModuleHost::ExecuteModule(const TPluginItem& Item) {
  if (!Library.LoadModule(Item.FileName)) return false;
  bool Done = false;
  RunLoaded([&] { Done = Library.Execute() != 0; });
  return Done;
}

void TModuleHost::AboutModule(const TPluginItem& Item) {
  if (!Library.LoadModule(Item.FileName)) return;
  if (Library.AboutPlugin) {
    RunLoaded([&] { Library.AboutPlugin(); });
    return;
  }
  Library.UnloadModule();
  const TModuleParent& P = ModuleParents[Item.PluginType];
  const QString Path = CleanMenuCaption(F.MenuNamed(QString::fromLatin1(P.TopMenu))->title()) + QLatin1Char('/') +
                       CleanMenuCaption(F.MenuItem(QString::fromLatin1(P.Submenu))->text());
  TPlgDlgForm Dialog(&F);
  Dialog.SetPlugin(Item, Path);
  F.ShowModalForm(&Dialog);
}

// ---- The main window ------------------------------------------------------------------------------------

void TMainForm::ConnectModuleCommands() { FModuleHost = std::make_shared<TModuleHost>(*this); }

bool TMainForm::IsModuleLoaded() const { return FModuleHost && FModuleHost->Library.IsModuleLoaded(); }

void TMainForm::ForwardColorPick(TColor Color) const { FModuleHost->Library.ForwardColorPick(int32_t(Color)); }

void TMainForm::ForwardPointClick(TPoint Point, Qt::MouseButton Button) const {
  // The middle button zooms; only the left and right buttons reach a module.
  if (Button == Qt::LeftButton || Button == Qt::RightButton)
    FModuleHost->Library.ForwardPointClick(Point, Button == Qt::LeftButton ? 0 : 1);
}

const std::vector<TPluginItem>& TMainForm::Modules() const { return FModuleHost->Items; }

// Every entry that only modules, 8BF filters and companion programs fill;
// each shows again when its first command arrives.
void TMainForm::HideModuleMenus() {
  for (const char* Name :
       {"MenuPluginAPropos", "MenuSepPluginFiltre", "MenuPluginFiltre", "MenuFiltre8bf", "MenuLumaBridge",
        "SepImageModules", "MenuPluginImage", "SepFichierModules", "MenuPluginImport", "MenuPluginExport",
        "MenuPluginOutil", "MenuSepPluginOutil", "SepCalqueNouveauModules"})
    MenuItem(QString::fromLatin1(Name))->setVisible(false);
}

int TMainForm::ScanModules(const QString& Folder) {
  if (!FSettings.ChargerPlugins || Folder.isEmpty()) return 0;
  TModuleScan Scan = ScanModuleFolder(FModuleHost->Library, Folder);
  // A library left out for a fault is named, all in one message.
  if (!Scan.Skipped.isEmpty())
    ShowMsgDlg(Format(Tr(TrId::ModulesSkippedMessage), {Scan.Skipped.join(QLatin1Char('\r'))}), mdkWarning, {mdbOk});
  FModuleHost->Items = std::move(Scan.Items);
  FModuleHost->ToolbarList = FSettings.PluginButtons;
  for (int N = 0; N < int(FModuleHost->Items.size()); ++N) AddModuleMenus(N);
  return int(FModuleHost->Items.size());
}

QIcon TMainForm::ModuleIcon(int Index) const {
  const QImage& Glyph = FModuleHost->Items[Index].Glyph;
  return Glyph.isNull() ? ToolbarIcon(TGlyph::Params, 19) : QIcon(QPixmap::fromImage(Glyph));
}

void TMainForm::AddModuleMenus(int N) {
  const TPluginItem& Item = FModuleHost->Items[N];
  const TModuleCaptions C = SplitModuleCaption(Item.Caption);
  QMenu* About = MenuNamed(QStringLiteral("MenuPluginAPropos"));
  QAction* AboutItem = About->addAction(ModuleIcon(N), C.Name);
  AboutItem->setProperty("Tag", N);
  connect(AboutItem, &QAction::triggered, this, [this, N] { PluginAProposClick(N); });
  About->menuAction()->setVisible(true);
  About->menuAction()->setEnabled(true);

  const TModuleParent& P = ModuleParents[Item.PluginType];
  QMenu* Parent = MenuNamed(QString::fromLatin1(P.Submenu));
  QAction* Command = Parent->addAction(ModuleIcon(N), C.Command);
  Command->setProperty("Tag", N);
  connect(Command, &QAction::triggered, this, [this, N, Command] { PluginMenuClick(N, Command); });
  Parent->menuAction()->setVisible(true);
  if (*P.Separator) MenuItem(QString::fromLatin1(P.Separator))->setVisible(true);
  // Each opening of the submenu enables its modules by their rule.
  if (!Parent->property("ModuleRules").toBool()) {
    Parent->setProperty("ModuleRules", true);
    connect(Parent, &QMenu::aboutToShow, this, [this, Parent] { MenuPluginClick(Parent->actions()); });
  }
}

int TMainForm::FillModuleToolBar(QToolBar* Bar) {
  const std::vector<int> Indexes = ModuleToolbarIndexes(FModuleHost->Items, FModuleHost->ToolbarList);
  for (const int N : Indexes) {
    QAction* Button = Bar->addAction(ModuleIcon(N), QString());
    Button->setObjectName(QStringLiteral("PluginBtn%1").arg(N));
    Button->setProperty("Tag", N);
    Button->setToolTip(SplitModuleCaption(FModuleHost->Items[N].Caption).Name);
    connect(Button, &QAction::triggered, this, [this, N, Button] {
      if (ActionPossible(Button)) PluginMenuClick(N, Button);
    });
  }
  return int(Indexes.size());
}

TModuleEnableState TMainForm::ModuleEnableState() const {
  TModuleEnableState S;
  S.ImageOpen = UneImage();
  S.ImageWindows = int(ImageWindows().size());
  if (!S.ImageOpen) return S;
  TMyImageLayered& I = Image();
  const TLayerItem* Current = I.CurrentLayer();
  const TLayerItem& Background = I.Layers()[0];
  S.Mode16M = Mode16M();
  S.KeyTransparent = LeFond().Transparent;
  S.SelectionVisible = UneSelection();
  S.LayerCount = I.Layers().Count();
  S.RGBA = ModeRGBA(true);
  S.BackgroundFree = !Background.Locked && Background.Visible;
  S.CurrentLayerFree = Current && !Current->Locked && Current->Visible && Current->LayerType == ltBitmap;
  S.HasMetadata = !I.Metadata.Empty();
  S.FileName = NomFichier();
  return S;
}

void TMainForm::MenuPluginClick(const QList<QAction*>& Items) {
  const TModuleEnableState S = ModuleEnableState();
  for (QAction* Item : Items) {
    const int N = Item->property("Tag").isValid() ? Item->property("Tag").toInt() : -1;
    if (N >= 0 && N < int(FModuleHost->Items.size())) Item->setEnabled(ModuleCommandEnabled(FModuleHost->Items[N], S));
  }
}

void TMainForm::MajBtnPlugins() {
  if (FModuleHost) MenuPluginClick(ToolBar(4)->actions());
}

void TMainForm::PluginMenuClick(int N, QObject* Sender) {
  const TPluginItem Item = FModuleHost->Items[N];
  const bool Undoable = Item.PluginType == ptFilter || Item.PluginType == ptImage;
  if (!Undoable) {
    DebutDialogueEx();
    const bool Loaded = FModuleHost->ExecuteModule(Item) || FModuleHost->Library.Error().isEmpty();
    FinDialogueEx();
    if (!Loaded) ShowMsgDlg(Format(Tr(TrId::ModuleNotLoadedMessage), {Item.FileName}), mdkError, {mdbOk});
    return;
  }
  if (!UneImage() || (Item.PluginType == ptFilter && RefuseEmptySelection())) return;
  const QString Title = CleanMenuCaption(SplitModuleCaption(Item.Caption).Command);
  const QSize OldSize(LeBitmap().Width(), LeBitmap().Height());
  const int OldColors = NbCouleurs();
  DebutDialogueEx();
  PreparerUndo(Item.PluginType == ptFilter ? miFiltreBM : miBkgAll, Title);
  const bool Done = FModuleHost->ExecuteModule(Item);
  FinDialogueEx();
  if (!Done) {
    AnnulerFiltre(true);
    SetNbCouleurs(OldColors);
    if (!FModuleHost->Library.Error().isEmpty())
      ShowMsgDlg(Format(Tr(TrId::ModuleNotLoadedMessage), {Item.FileName}), mdkError, {mdbOk});
    return;
  }
  MajMenus();
  if (OldSize != QSize(LeBitmap().Width(), LeBitmap().Height()))
    TailleChangee();
  else
    AfficherInfos();
  RefreshBitmap();
  LayerChanged();
  if (Item.PluginType == ptFilter) DernierFiltre(Title, Sender, [this, N](QObject* S) { PluginMenuClick(N, S); }, 0);
}

void TMainForm::PluginAProposClick(int N) {
  DebutDialogueEx();
  FModuleHost->AboutModule(FModuleHost->Items[N]);
  FinDialogueEx();
}
