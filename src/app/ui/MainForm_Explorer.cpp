// The image browser inside the main window: made on first use, docked at the
// foot of the frame, shown and hidden by Tools > "Explorateur d'images"
// (F4), following the active image's folder when asked, kept in step by the
// file operations, and served by the main window through TExplorerHost.
#include "app/FrameLayout.h"
#include "app/ui/FilterDialogOpener.h"
#include "app/ui/MainForm.h"

#include "dialogs/ui/Prop.h"
#include "dialogs/ui/TextureDlg.h"
#include "document/Pattern.h"
#include "document/ui/ImgForm.h"
#include "files/ui/Explor.h"
#include "files/ui/ExplorerHost.h"
#include "raster/FoncUtils.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

class TMainExplorer : public TExplorerHost {
public:
  explicit TMainExplorer(TMainForm& Form) : F(Form) {}

  bool UneImage() const override { return F.UneImage(); }
  QString ActiveFileName() const override {
    return F.UneImage() && F.EnfantActif()->IsFileSource() ? F.NomFichier() : QString();
  }
  bool ImageUseAllowed() const override { return F.UneImage() && F.Mode16M() && !F.LeFond().Transparent; }
  bool FileIsOpen(const QString& FileName) const override { return FindImageWindow(FileName) != nullptr; }
  TExplorFolders Folders() const override {
    const TDataFolders& D = F.DataFolders();
    // An empty folder (no save yet) stays empty.
    const auto WithSlash = [](const QString& Dir) { return Dir.isEmpty() ? Dir : AddPathDelimiter(Dir); };
    return {WithSlash(F.ProgramDir()), WithSlash(F.FSettings.OuvrirDir), WithSlash(F.FSettings.EnregistrerDir),
            WithSlash(D.SelDir),       WithSlash(D.MasqueDir),           WithSlash(D.MotifDir),
            WithSlash(D.TextureDir)};
  }
  QString MainIniFile() const override { return F.FState.MainIniFile; }
  int ToolButtonHeight() const override { return F.FSettings.ToolButtonHeight; }
  bool Terminating() const override { return QCoreApplication::closingDown() || !F.isVisible(); }

  void DebutAction(const QString& Msg) override { F.DebutAction(Msg, false); }
  void FinAction() override { F.FinAction(); }
  void SetStatusText(const QString& Text) override { F.SetStatusText(Text); }
  void DebutDialogueEx() override { F.DebutDialogueEx(); }
  void FinDialogueEx() override { F.FinDialogueEx(); }
  void PreparerPopupMenu(QMenu* Menu) override { F.PreparerPopupMenu(Menu); }
  void BrowserResized() override { F.LayoutFrame(); }

  void ChargerForme(const QString& FileName) override {
    if (F.ActionPossible(nullptr)) F.ChargerForme(FileName);
  }
  void OuvrirImage(const QString& FileName) override {
    if (F.ActionPossible(nullptr)) F.Ouvrir(FileName, true, false);
  }
  void OuvrirCalque(const QString& FileName) override {
    if (F.ActionPossible(nullptr)) F.OuvrirCalque(FileName, QString());
  }
  void UtiliserMotif(const QString& FileName) override { LoadCurrentPattern(F.SelMaskHost(), FileName); }
  void UtiliserTexture(const QString& FileName) override {
    if (!F.ActionPossible(nullptr) || !F.UneImage()) return;
    F.PreparerUndo(miFiltre, CleanMenuCaption(F.MenuItem(QStringLiteral("MenuTexture"))->text()));
    TTextureForm* Form = FilterDialog<TTextureForm>(F);
    Form->ExploreTexture(FileName);
    Form->show();
  }
  void UtiliserMasque(const QString& FileName) override {
    if (F.ActionPossible(nullptr)) F.OpenMaskOverlay(FileName);
  }
  QString CurrentFileAction(const QString& Title, const QString& FileName, int Op) override {
    return F.CurrentFileAction(Title, FileName, Op);
  }
  void ShowProperties(const QString& FileName, const QString& Text, bool HasMetadata) override {
    static QPointer<TPropForm> Properties;
    if (!F.ActionPossible(nullptr)) return;
    TPropForm* Form = CreateFormIfNeeded(Properties, &F);
    F.DebutAction(QString(), true);
    Form->ReadDataFromFile(FileName, Text, HasMetadata);
    F.FinAction();
    Form->show();
  }
  int DropTarget(const QPoint& Global) const override {
    const QMdiArea* Area = F.MdiArea();
    if (!Area->rect().contains(Area->mapFromGlobal(Global))) return 0;
    const QMdiSubWindow* Active = Area->activeSubWindow();
    if (F.UneImage() && Active && Active->rect().contains(Active->mapFromGlobal(Global))) return 2;
    return 1;
  }

private:
  TMainForm& F;
};

bool TMainForm::ExplorerVisible() const { return FExplorer && FExplorer->isVisible(); }

bool TMainForm::ExplorerBusy() const { return FExplorer && FExplorer->Processing(); }

void TMainForm::ShowExplorer(bool Show) {
  if (Show && !FExplorer) {
    FExplorerHost = std::make_shared<TMainExplorer>(*this);
    FExplorer = new TExplorForm(*FExplorerHost, FClient);
  }
  if (FExplorer) FExplorer->setVisible(Show);
  FSettings.Explorer = Show;
  MenuItem(QStringLiteral("MenuExplore"))->setChecked(Show);
  LayoutFrame();
}

void TMainForm::ExplorerFollowImage() {
  if (ExplorerVisible() && FExplorer->MenuAuto->isChecked() && UneImage()) FExplorer->MenuExploreImageClick(true);
}

void TMainForm::ExplorerFileGone(const QString& FileName) {
  if (FExplorer) FExplorer->DeleteItemByName(FileName);
}

void TMainForm::ExplorerFileRenamed(const QString& FileName, const QString& NewName) {
  if (FExplorer) FExplorer->RenameItemByName(FileName, NewName);
}

void TMainForm::BrowserFrameInput(TFrameLayoutInput& In) const {
  In.BrowserVisible = ExplorerVisible();
  if (In.BrowserVisible) In.BrowserHeight = FExplorer->WantedHeight();
}

void TMainForm::PlaceBrowser(const QRect& Area) {
  if (ExplorerVisible() && !Area.isEmpty()) FExplorer->setGeometry(Area);
}

void TMainForm::ReleaseExplorer() {
  if (!FExplorer) return;
  // Hidden while the frame still stands, so that it writes its settings.
  FExplorer->hide();
  delete std::exchange(FExplorer, nullptr);
  FExplorerHost.reset();
}

void TMainForm::ConnectExplorerCommands() {
  QAction* Item = MenuItem(QStringLiteral("MenuExplore"));
  Connect("MenuExplore", [this, Item] {
    const bool Show = Item->isChecked();
    if (!ActionPossible(CommandSender(Item))) {
      Item->setChecked(!Show);
      return;
    }
    if (ExplorerBusy()) FExplorer->BreakProcess();
    ShowExplorer(Show);
  });
  // Another image window became active: its folder, when followed, after
  // the command that activated it has ended.
  connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this] {
    if (!FExplorer) return;
    FExplorer->MajBoutons(false);
    QMetaObject::invokeMethod(
        this, [this] { ExplorerFollowImage(); }, Qt::QueuedConnection);
  });
}
