// The main window's side of the texture, frame and distortion dialogs: the
// services they reach through TEffectHost, and the Filter and Image items
// that open them, each after preparing the undo record of its kind.
#include "app/ui/MainForm.h"

#include "app/ui/FilterDialogOpener.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "filters/ui/DistortForms.h"
#include "filters/ui/EffectHost.h"
#include "filters/ui/FrameForms.h"
#include "filters/ui/TextureForms.h"
#include "i18n/LibLang.h"
#include "ui/MsgDlg.h"

static_assert(BkgAllUndoKind == miBkgAll && LayerAllUndoKind == miLayerAll && FilterBMDrawUndoKind == miFiltreBM_D &&
                  FadeUndoKind == miAttenuer,
              "the dialogs' undo kinds are the main window's");

namespace {

class TMainEffectHost final : public QObject, public TEffectHost {
public:
  TMainEffectHost(TMainForm& Form, TSelMaskHost& Masks) : QObject(&Form), F(Form), FMasks(Masks) {
    SetEffectHost(this);
  }
  ~TMainEffectHost() override {
    if (EffectHost() == this) SetEffectHost(nullptr);
  }
  TSelMaskHost& Masks() override { return FMasks; }
  LayerNavigator* LayerNav() override { return F.UneImage() ? F.LayerNav() : nullptr; }
  bool DessinerSurAlpha() const override { return F.DessinerSurAlpha(); }
  bool HasAlpha() const override { return F.HasAlpha(); }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  void DessinerContour(TColor Couleur, int Largeur, bool Lisser) override {
    F.DessinerContour(Couleur, Largeur, Lisser, QString());
  }
  void TailleChangee() override { F.TailleChangee(); }
  bool RefuseTextLayers() override {
    if (!F.UneImage() || !HasDataLayer(F.Image())) return false;
    ShowMsgDlg(Tr(TrId::GetTrDlgLayer2), mdkWarning, TMsgDlgButtons{mdbOk});
    return true;
  }
  void SetFlagUndoAttenuer() override {
    if (F.UneImage()) F.EnfantActif()->FlagUndoAttenuer = true;
  }
  void MajMenus() override { F.MajMenus(); }

private:
  TMainForm& F;
  TSelMaskHost& FMasks;
};

} // namespace

void TMainForm::ConnectEffectCommands() {
  new TMainEffectHost(*this, *FSelMaskHost);
  WireFilterDialog("MenuFiltreCarreaux", OpenFilterDialog<TTilesForm>);
  WireFilterDialog("MenuFiltreMosaique", OpenFilterDialog<TMosaicForm>);
  WireFilterDialog("MenuFiltrePuzzle", OpenFilterDialog<TPuzzleForm>);
  WireFilterDialog("MenuFiltreQuadrillage", OpenFilterDialog<TGridForm, miFiltreBM_D>);
  WireFilterDialog("MenuFiltreCroix", OpenFilterDialog<TCrossPointForm>);
  WireFilterDialog("MenuEncadrementEncadrer", OpenFilterDialog<TFrameForm, miFiltreBM_D>);
  WireFilterDialog("MenuEncadrementDiapositive", OpenFilterDialog<TSlideForm, miFiltreBM_D>);
  WireFilterDialog("MenuEncadrementBouton3D", OpenFilterDialog<TButton3DForm>);
  WireFilterDialog("MenuEncadrementRelief", OpenFilterDialog<TFrame3DForm>);
  WireFilterDialog("MenuFiltreOnde", OpenFilterDialog<TRippleForm>);
  WireFilterDialog("MenuFiltreMasqueRadial", OpenFilterDialog<TRadialMaskForm>);
  WireFilterDialog("MenuImageFisheye", OpenFilterDialog<TFisheyeForm, miBkgAll>);
}
