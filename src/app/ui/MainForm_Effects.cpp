// The Filter, Effect and Layer items that open the artistic, blur, sharpen,
// noise, relief, composite-effect and layer-transparency dialogs, each after
// preparing the undo record of the dialog's kind.
#include "app/ui/MainForm.h"

#include "app/ui/FilterDialogOpener.h"
#include "filters/ui/ArtisticForms.h"
#include "filters/ui/BlurForms.h"

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
}
