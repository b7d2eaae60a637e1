// Tools > "Traitement par lots..." and the toolbar's batch button: the main
// window's side of the batch dialog (TAutoHost), with the batch window that
// shows each processed image.
#include "app/ui/MainForm.h"

#include "document/ui/ImgForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "extensions/ui/Auto.h"
#include "files/ui/BmpOE2.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"

#include <QAction>
#include <QPointer>

namespace {

class TMainAutoHost final : public QObject, public TAutoHost {
public:
  explicit TMainAutoHost(TMainForm& Form) : QObject(&Form), F(Form) {}

  void BeginBatchDialog(QWidget* Form) override {
    F.DebutAction(Tr(TrId::GetTrStaAutomation), false);
    F.PreparerModule(Form);
  }
  void EndBatchDialog() override {
    F.PreparerModule(nullptr);
    F.FinAction();
    F.MajMenus();
  }

  void OpenBatchWindow(const TBitmap& Bitmap, const QString& FileName) override {
    FWindow = F.NouvelleImage(nullptr, &Bitmap, FileName, srcFile, 16777216);
  }
  TMyImageLayered* BatchDocument() override { return Activate() ? &F.Image() : nullptr; }
  void SetNomFichier(const QString& FileName) override {
    if (Activate()) F.SetNomFichier(FileName);
  }
  void TailleChangee() override {
    if (Activate()) F.TailleChangee();
  }
  void RefreshBitmap() override {
    if (Activate()) F.RefreshBitmap();
  }
  void AfficherInfos() override {
    if (Activate()) F.AfficherInfos();
  }
  void SetMainCaption(const QString& Caption) override { F.setWindowTitle(Caption); }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  QString SelectPatternFile() override { return OpenImageDialog(F.DataFolders().MotifDir); }

  // Made on first use and kept while the main window lives.
  TAutoForm* Form() {
    if (!FForm) {
      FForm = new TAutoForm(*this, &F);
      FForm->setWindowFlag(Qt::Window);
    }
    return FForm;
  }

private:
  // The main window's services act on the active window: the batch window
  // is made active first; false once the user closed it.
  bool Activate() {
    if (!FWindow) return false;
    if (F.EnfantActif() != FWindow) FWindow->ActivateImage();
    return F.EnfantActif() == FWindow;
  }

  TMainForm& F;
  QPointer<TAutoForm> FForm;
  QPointer<TNewImgForm> FWindow;
};

} // namespace

void TMainForm::ConnectBatchCommands() {
  auto* Host = new TMainAutoHost(*this);
  Connect("MenuAutomatisation", [this, Host] {
    if (!ActionPossible(CommandSender(MenuItem(QStringLiteral("MenuAutomatisation"))))) return;
    if (UneImage()) MasquerSelection();
    Host->Form()->show();
    Host->Form()->raise();
  });
}
