// The Filter, Effect and Layer items that open the artistic, blur, sharpen,
// noise, relief, composite-effect and layer-transparency dialogs, each after
// preparing the undo record of the dialog's kind.
#include "app/ui/MainForm.h"

#include "app/ui/FilterDialogOpener.h"
#include "document/MyImageLayered.h"
#include "document/ui/SelectionControl.h"
#include "filters/ui/ArtisticForms.h"
#include "filters/ui/BlurForms.h"
#include "filters/ui/EffectForms.h"
#include "i18n/LibLang.h"
#include "ui/MsgDlg.h"

static_assert(FilterMaskUndoKind == miFiltreMask && FilterPaintUndoKind == miFiltreBM_D,
              "the dialogs' undo kinds are the main window's");

namespace {

// Without a visible selection, Contour 3D selects the whole background or
// the current layer's outline, and the progressive contour the layer's
// outline (on the background it works on the whole image); nothing opens
// when that leaves no selection.
bool SelectForContour(TMainForm& F, bool WholeBackground) {
  if (!F.UneImage() || F.Sel()->Visible()) return true;
  const bool OnBackground = F.Image().LayerIndex() == 0;
  if (OnBackground && !WholeBackground) return true;
  if (OnBackground)
    F.MenuSelToutClick();
  else
    F.MenuSelCalqueClick();
  return F.Sel()->Visible();
}

void OpenBorder3D(TMainForm& F, QAction* Item, QAction* TitleItem) {
  if (SelectForContour(F, true)) OpenFilterDialog<TBorder3DForm>(F, Item, TitleItem);
}

void OpenProgressiveContour(TMainForm& F, QAction* Item, QAction* TitleItem) {
  if (SelectForContour(F, false)) OpenFilterDialog<TProgCtrForm, miFiltreBM_D>(F, Item, TitleItem);
}

// The layer's edge effects and transparent colour work on the whole layer.
template <class TForm> void OpenOnWholeLayer(TMainForm& F, QAction* Item, QAction* TitleItem) {
  F.MasquerSelection();
  OpenFilterDialog<TForm, miFiltreMask>(F, Item, TitleItem);
}

// Opacity and transparency gradient refuse a visible selection that holds
// no pixel of the layer.
template <class TForm> void OpenUnlessEmptySelection(TMainForm& F, QAction* Item, QAction* TitleItem) {
  if (!RefuseEmptySelection(F)) OpenFilterDialog<TForm, miFiltreMask>(F, Item, TitleItem);
}

} // namespace

void TMainForm::ConnectEffectCommands() {
  WireFilterDialog("MenuFiltreArographe", OpenFilterDialog<TAeroForm>);
  WireFilterDialog("MenuFiltreCristalliser", OpenFilterDialog<TCrystalForm>);
  WireFilterDialog("MenuFiltreAquarelle", OpenFilterDialog<TAquaForm>);
  WireFilterDialog("MenuFiltreHuile", OpenFilterDialog<TOilForm>);
  WireFilterDialog("MenuFiltreSpatule", OpenFilterDialog<TKnifForm>);
  WireFilterDialog("MenuFiltreEtaler", OpenFilterDialog<TSmudgeForm>);
  WireFilterDialog("MenuFiltreEncre", OpenFilterDialog<TIndiaInkForm>);
  WireFilterDialog("MenuFiltrePointillisme", OpenFilterDialog<TPointForm>);
  WireFilterDialog("MenuFiltreFusain", OpenFilterDialog<TCharcoalForm>);
  WireFilterDialog("MenuFiltreCrayonNoir", OpenFilterDialog<TBlackPencilForm>);
  WireFilterDialog("MenuFiltrePastel", OpenFilterDialog<TPastelsForm>);
  WireFilterDialog("MenuFiltreBD", OpenFilterDialog<TComicsForm>);
  WireFilterDialog("MenuFiltreCrayons", OpenFilterDialog<TColorPencilForm>);

  WireFilterDialog("MenuFiltreBruit", OpenFilterDialog<TNoizeForm>);
  WireFilterDialog("MenuFiltreMinimum", OpenFilterDialog<TMinForm>);
  WireFilterDialog("MenuFiltreMaximum", OpenFilterDialog<TMaxForm>);
  WireFilterDialog("MenuFiltreDurcirPlus", OpenFilterDialog<TSharpMoreForm>);
  WireFilterDialog("MenuFiltreRenforcement", OpenFilterDialog<TUnsharpMaskForm>);
  WireFilterDialog("MenuFiltreAntipoussiere", OpenFilterDialog<TDeNoiseForm>);
  WireFilterDialog("MenuFiltreFlouPlus", OpenFilterDialog<TBoxBlurForm, miFiltreBM>);
  WireFilterDialog("MenuFiltreFlouGauss", OpenFilterDialog<TGaussBlurForm, miFiltreBM>);
  WireFilterDialog("MenuFiltreEstampage", OpenFilterDialog<TEstampForm>);
  WireFilterDialog("MenuFiltreFlouRadial", OpenFilterDialog<TRadialBlurForm>);
  WireFilterDialog("MenuFiltreFlouCirculaire", OpenFilterDialog<TCircularBlurForm>);
  WireFilterDialog("MenuFiltreMouvement", OpenFilterDialog<TDirectionBlurForm>);
  WireFilterDialog("MenuFiltreMicroCtr", OpenFilterDialog<TMicroContrastForm>);
  WireFilterDialog("MenuFiltreRelief3", OpenFilterDialog<TReliefForm>);
  WireFilterDialog("MenuFiltrePassHaut", OpenFilterDialog<THighPassForm>);

  WireFilterDialog("MenuFiltreOmbre", OpenFilterDialog<TShadowForm, miFiltreBM_D>);
  WireFilterDialog("MenuFiltreProgressif", OpenProgressiveContour);
  WireFilterDialog("MenuFiltreCtr3D", OpenBorder3D);
  WireFilterDialog("MenuCalqueOpacite", OpenUnlessEmptySelection<TAlphaOpacity>);
  WireFilterDialog("MenuCalqueBordProgressif", OpenOnWholeLayer<TAlphaProgContour>, "MenuCalqueEffetBord");
  WireFilterDialog("MenuCalqueBordDispersion", OpenOnWholeLayer<TAlphaDispContour>, "MenuCalqueEffetBord");
  WireFilterDialog("MenuCalqueDegrade1", OpenUnlessEmptySelection<TAlphaGradientForm>, "MenuCalqueDegrade");
  WireFilterDialog("MenuCalqueCouleurTrans", OpenOnWholeLayer<TAlphaColorForm>);
}
