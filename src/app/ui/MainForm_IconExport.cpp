// Tools > export as an icon: the command that needs a one-layer image, and
// the main window's side of the icon export dialog (TIconExportHost).
#include "app/ui/MainForm.h"

#include "files/ui/Icon.h"

#include <QPointer>

namespace {

class TMainIconExportHost final : public QObject, public TIconExportHost {
public:
  explicit TMainIconExportHost(TMainForm& Form) : QObject(&Form), F(Form) {}
  TMyImageLayered* ActiveImage() override { return F.UneImage() ? &F.Image() : nullptr; }
  QString ActiveFileName() const override { return F.NomFichier(); }
  QString SaveFolder() const override { return F.Settings().EnregistrerDir; }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  bool ModeRGBA() const override { return F.ModeRGBA(false); }
  bool Mode16M() const override { return F.Mode16M(); }

  // Made on first use and kept while the main window lives.
  TIconForm* Form() {
    if (!FForm) {
      FForm = new TIconForm(*this, &F);
      if (!FForm->isWindow()) FForm->setWindowFlag(Qt::Window);
    }
    return FForm;
  }

private:
  TMainForm& F;
  QPointer<TIconForm> FForm;
};

} // namespace

void TMainForm::ConnectIconExportCommands() {
  auto* Host = new TMainIconExportHost(*this);
  Connect("MenuExportIcone", [this, Host] {
    if (!CheckSingleLayer()) return;
    MasquerSelection();
    Host->Form()->show();
  });
}
