// View > full screen and slide show: the main window as the full-screen
// view's host.
#include "app/ui/MainForm.h"

#include "document/ui/ImgForm.h"
#include "extensions/ui/Pe.h"

#include <QAction>

class TMainFullScreen : public TFullScreenHost {
public:
  explicit TMainFullScreen(TMainForm& Form) : F(Form) {}
  TMyImageLayered* ActiveImage() override { return F.UneImage() ? &F.Image() : nullptr; }
  QString ActiveFileName() const override { return F.UneImage() ? F.NomFichier() : QString(); }
  bool ActiveFromFile() const override { return F.UneImage() && F.EnfantActif()->IsFileSource(); }
  bool ActiveModified() const override { return F.UneImage() && F.EnfantActif()->Modified(); }
  bool Navigating() const override { return F.FlagNaviguer; }
  void Navigate(TNavigation Direction) override {
    static const char* const Items[] = {"MenuNaviguerSuivant", "MenuNaviguerPrecedent", "MenuNaviguerPremier",
                                        "MenuNaviguerDernier"};
    F.MenuNaviguerClick(F.MenuItem(QString::fromLatin1(Items[int(Direction)])));
  }
  void SetLoopNavig(bool Loop) override { F.LoopNavig = Loop; }
  bool ChooseColor(TColor& Color) override {
    const TColor Before = Color;
    F.AfficherPalette(Color);
    return Color != Before;
  }

private:
  TMainForm& F;
};

TPeForm* TMainForm::FullScreenForm() {
  if (!FPeForm) {
    FFullScreenHost = std::make_unique<TMainFullScreen>(*this);
    FPeForm = new TPeForm(*FFullScreenHost, this);
  }
  return FPeForm;
}

void TMainForm::ConnectFullScreenCommands() {
  Connect("MenuZoomPe", [this] {
    if (!ActionPossible(MenuItem(QStringLiteral("MenuZoomPe")))) return;
    ShowModalForm(FullScreenForm());
  });
}

void TMainForm::ReleaseFullScreen() {
  // The view goes before its host.
  delete FPeForm;
  FPeForm = nullptr;
  FFullScreenHost.reset();
}
