// The main window's side of the texture, frame and distortion dialogs: the
// services they reach through TEffectHost, and the Filter and Image items
// that open them, each after preparing the undo record of its kind.
#include "app/ui/MainForm.h"

#include "app/ui/FilterDialogOpener.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "document/Undo.h"
#include "filters/ui/CustomFilterForms.h"
#include "filters/ui/DistortForms.h"
#include "filters/ui/EffectHost.h"
#include "filters/ui/FrameForms.h"
#include "filters/ui/TextureForms.h"
#include "filters/ui/ThumbDistortForms.h"
#include "tools/ui/Outils.h"
#include "i18n/LibLang.h"
#include "ui/MsgDlg.h"
#include "ui/TrackBar.h"

static_assert(BkgAllUndoKind == miBkgAll && LayerAllUndoKind == miLayerAll && FilterBMUndoKind == miFiltreBM && FilterPaintUndoKind == miFiltreBM_D &&
                  FadeUndoKind == miAttenuer,
              "the dialogs' undo kinds are the main window's");

namespace {

// The layer tool of the palette.
constexpr TToolId LayerToolId = 13;

class TMainEffectHost final : public QObject, public TEffectHost {
public:
  explicit TMainEffectHost(TMainForm& Form) : QObject(&Form), F(Form) {
    SetEffectHost(this);
  }
  ~TMainEffectHost() override {
    if (EffectHost() == this) SetEffectHost(nullptr);
  }
  LayerNavigator* LayerNav() override { return F.UneImage() ? F.LayerNav() : nullptr; }
  bool HasAlpha() const override { return F.HasAlpha(); }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  void DessinerContour(TColor Couleur, int Largeur, bool Lisser) override {
    F.DessinerContour(Couleur, Largeur, Lisser, QString());
  }
  void TailleChangee() override { F.TailleChangee(); }
  bool RefuseTextLayers() override { return F.RefuseTextLayers(); }
  void SetFlagUndoAttenuer() override {
    if (F.UneImage()) F.EnfantActif()->FlagUndoAttenuer = true;
  }
  void MajMenus() override { F.MajMenus(); }

private:
  TMainForm& F;
};

// A distortion previewed on a thumbnail: no undo step here (the dialog
// prepares its own on Ok). From any item but the Filter menu's the dialog
// works in layer mode, without the selection: from the Image menu on the
// background, from the Layer menu on the current layer with the layer tool.
template <class TForm> void OpenThumbDistortDialog(TMainForm& F, QAction* Item, QAction*) {
  static QPointer<TForm> Form;
  if (!F.ActionPossible(Item) || !F.UneImage()) return;
  CreateFormIfNeeded(Form, &F);
  const QString Name = Item->objectName();
  Form->LayerMode = !Name.startsWith(QLatin1String("MenuFiltre"));
  if (Form->LayerMode) {
    F.MasquerSelection();
    if (Name.startsWith(QLatin1String("MenuImage")))
      SelectLayer(*F.LayerNav(), 0);
    else if (TOutilsForm* Tools = F.Palette())
      Tools->SetTool(LayerToolId);
  }
  Form->show();
}

// Edit > Fade: a fade made just now is adjusted at its stored opacity;
// otherwise a new fade of the step just made starts at 100 %.
void OpenFadeDialog(TMainForm& F, QAction* Item, QAction*) {
  static QPointer<TAttenuerForm> Form;
  if (!F.ActionPossible(Item) || !F.UneImage()) return;
  const TUndoItem* Current = F.ListeUndo().CurrentUndo();
  if (!Current) return;
  CreateFormIfNeeded(Form, &F);
  if (Current->GetFlag(2) == miAttenuer) {
    Form->Nouveau = false;
    Form->TBN->SetPosition(Current->GetFlag(3));
  } else {
    F.PreparerUndo(miAttenuer, CleanMenuCaption(Item->text()));
    Form->Nouveau = true;
    Form->TBN->SetPosition(100);
  }
  Form->show();
}

} // namespace

void TMainForm::ConnectTextureCommands() {
  new TMainEffectHost(*this);
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
  for (const char* Name : {"MenuFiltreSpirale", "MenuImageSpirale", "MenuCalqueTransformSpirale"})
    WireFilterDialog(Name, OpenThumbDistortDialog<TTwirlForm>);
  for (const char* Name : {"MenuFiltreTrapeze", "MenuImageTrapeze", "MenuCalqueTransformTrapeze"})
    WireFilterDialog(Name, OpenThumbDistortDialog<TTrapezForm>);
  WireFilterDialog("MenuFiltreSphere", OpenThumbDistortDialog<TLensForm>);
  WireFilterDialog("MenuImageIncliner", OpenThumbDistortDialog<TInclinerForm>);
  WireFilterDialog("MenuFiltrePerso", OpenFilterDialog<TPersoForm>);
  WireFilterDialog("MenuFiltreDegrade", OpenFilterDialog<TGradientForm, miFiltreBM_D>);
  WireFilterDialog("MenuAttenuer", OpenFadeDialog);
}
