// The histogram and the colour dialogs: Adjust > Histogram, which opens only
// on a work rectangle of more than 100 pixels, and the colour dialogs of the
// Adjust, Filter and Image menus, each after the undo record it previews on.
#include "app/ui/MainForm.h"
#include "raster/FoncUtils.h"

#include "app/ui/FilterDialogOpener.h"
#include "document/Calque.h"
#include "document/SelMask.h"
#include "document/ui/ImgForm.h"
#include "document/ui/LayerNavigator.h"
#include "filters/ui/ChgCouleur2Form.h"
#include "filters/ui/ColorDialogHost.h"
#include "filters/ui/HistogForm.h"
#include "filters/ui/IndexForm.h"
#include "filters/ui/TransparencyForms.h"
#include "filters/ui/VarianteForm.h"
#include "i18n/LibLang.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QPointer>

namespace {

class TMainColorDialogHost final : public QObject, public TColorDialogHost {
public:
  explicit TMainColorDialogHost(TMainForm& Form) : QObject(&Form), F(Form) { SetColorDialogHost(this); }
  ~TMainColorDialogHost() override {
    if (ColorDialogHost() == this) SetColorDialogHost(nullptr);
  }
  TBitmap& LeFond() override { return F.LeFond(); }
  int NbCouleurs() const override { return F.NbCouleurs(); }
  void SetNbCouleurs(int Value) override { F.SetNbCouleurs(Value); }
  void MajMenus() override { F.MajMenus(); }
  void AfficherInfos() override { F.AfficherInfos(); }
  bool HasAlpha() const override { return F.HasAlpha(); }
  std::unique_ptr<TBitmap> SelectionMask() override {
    const bool Shown = F.UneImage() && F.Sel() && F.Sel()->Visible();
    return Shown ? SelectionMaskOfLayer(F.SelMaskHost(), true, true) : nullptr;
  }

private:
  TMainForm& F;
};

} // namespace

void TMainForm::ConnectColorCommands() {
  new TMainColorDialogHost(*this);
  Connect("MenuReglageHistog", [this] {
    static QPointer<THistogForm> Form;
    QAction* Item = MenuItem(QStringLiteral("MenuReglageHistog"));
    if (!ActionPossible(CommandSender(Item)) || !UneImage()) return;
    THistogForm* Dialog = CreateFormIfNeeded(Form, this);
    if (!Dialog->InitImage()) return;
    PreparerUndo(miFiltre, CleanMenuCaption(Item->text()));
    Dialog->show();
  });
  Connect("MenuModeIndex", [this] {
    static QPointer<TIndexForm> Form;
    QAction* Item = MenuItem(QStringLiteral("MenuModeIndex"));
    if (!ActionPossible(CommandSender(Item)) || !CheckSingleLayer()) return;
    const bool Transparent = LeFond().Transparent;
    if (Transparent && ShowMsgDlg(Tr(TrId::GetTrDlgMain13), mdkConfirmation, TMsgDlgButtons{mdbYes, mdbNo}) != mrYes)
      return;
    PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
    TIndexForm* Dialog = CreateFormIfNeeded(Form, this);
    if (Transparent) {
      LeFond().Transparent = false;
      RefreshBitmap();
      UpdateActiveImage();
    }
    Dialog->show();
  });
  WireFilterDialog("MenuReglageRemplacer2", OpenFilterDialog<TChgCouleur2Form>);
  Connect("MenuImageCouleurTrans", [this] {
    static QPointer<TCouleurTransForm> Form;
    QAction* Item = MenuItem(QStringLiteral("MenuImageCouleurTrans"));
    QObject* Sender = CommandSender(Item);
    if (!ActionPossible(Sender) || !UneImage()) return;
    if (Sender == Item) SelectLayer(*EnfantActif()->LayerNav, 0);
    // A layer, or a background with an alpha mask, takes the layer command.
    if (Image().CurrentLayer() != &Image().Layers()[0] || !Image().Layers()[0].Mask().Empty()) {
      if (QAction* LayerItem = MenuItem(QStringLiteral("MenuCalqueCouleurTrans")); LayerItem->isEnabled())
        LayerItem->trigger();
      return;
    }
    PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
    CreateFormIfNeeded(Form, this)->show();
  });
  Connect("MenuFiltreVariante", [this] {
    static QPointer<TVarianteForm> Form;
    if (!ActionPossible(CommandSender(MenuItem(QStringLiteral("MenuFiltreVariante")))) || !UneImage()) return;
    CreateFormIfNeeded(Form, this)->show();
  });
  Connect("MenuImageMaskTransp", [this] {
    static QPointer<TMaskCoulForm> Form;
    QAction* Item = MenuItem(QStringLiteral("MenuImageMaskTransp"));
    if (!UneImage() || !CheckSingleLayer()) return;
    PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
    CreateFormIfNeeded(Form, this)->show();
  });
}
