// Tools > GIF animé: the command that needs several layers, and the main
// window's side of the animated GIF dialog (TGifAnimHost).
#include "app/ui/MainForm.h"

#include "extensions/ui/GifAnim.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QDir>
#include <QPointer>

namespace {

class TMainGifAnimHost final : public QObject, public TGifAnimHost {
public:
  explicit TMainGifAnimHost(TMainForm& Form) : QObject(&Form), F(Form) {}
  TMyImageLayered* ActiveImage() override { return F.UneImage() ? &F.Image() : nullptr; }
  LayerNavigator* LayerNav() override { return F.UneImage() ? F.LayerNav() : nullptr; }
  QString ActiveFileName() const override { return F.NomFichier(); }
  QString SaveFolder() const override { return F.Settings().EnregistrerDir; }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  void DebutAction(const QString& Msg, bool ChangerCurseur) override { F.DebutAction(Msg, ChangerCurseur); }
  void FinAction() override { F.FinAction(); }
  QString TempFolder() const override { return QDir::tempPath(); }
  bool OpenPage(const QString& FileName) override { return ShellOpen(FileName, QString()); }

  // Made on first use and kept while the main window lives.
  TGifAnimForm* Form() {
    if (!FForm) {
      FForm = new TGifAnimForm(*this, &F);
      if (!FForm->isWindow()) FForm->setWindowFlag(Qt::Window);
    }
    return FForm;
  }

private:
  TMainForm& F;
  QPointer<TGifAnimForm> FForm;
};

} // namespace

bool TMainForm::CheckSeveralLayers() {
  if (UneImage() && Image().Layers().Count() > 1) return true;
  ShowMsgDlg(Tr(TrId::GetTrDlgLayer4), mdkWarning, TMsgDlgButtons{mdbOk});
  return false;
}

void TMainForm::ConnectGifAnimCommands() {
  auto* Host = new TMainGifAnimHost(*this);
  Connect("MenuGifAnim", [this, Host] {
    if (!ActionPossible(CommandSender(MenuItem(QStringLiteral("MenuGifAnim")))) || !CheckSeveralLayers()) return;
    MasquerSelection();
    Host->Form()->show();
  });
}
