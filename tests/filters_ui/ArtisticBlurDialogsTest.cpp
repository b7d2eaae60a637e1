// The artistic, blur, sharpen, noise and relief dialogs, each opened from its
// menu item: defaults, preview and Cancel, one change, against the routines.
#include "DialogCases.h"

#include "filters/Blur24.h"
#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "filters/ui/ArtisticForms.h"
#include "filters/ui/BlurForms.h"
#include "ui/SpinEdit.h"

namespace {

const char* const F = "MenuFiltre";

const TDialogCase Cases[] = {
    {"MenuFiltreArographe", F, "AeroForm", [](TBitmap& B, const TRect& R) { Diffuse24(B, 7, 0, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(12); }, [](TBitmap& B, const TRect& R) { Diffuse24(B, 12, 0, R); }},
    {"MenuFiltreCristalliser", F, "CrystalForm", [](TBitmap& B, const TRect& R) { Crystallize24(B, 2, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(5); }, [](TBitmap& B, const TRect& R) { Crystallize24(B, 6, R); }},
    {"MenuFiltreAquarelle", F, "AquaForm", [](TBitmap& B, const TRect& R) { Watercolor24(B, 1, true, false, R); },
     [](TFilterNForm* D) {
       D->TBN->SetPosition(3);
       SetBox(D, "CheckBox2", true);
     },
     [](TBitmap& B, const TRect& R) { Watercolor24(B, 3, true, true, R); }},
    {"MenuFiltreHuile", F, "OilForm", [](TBitmap& B, const TRect& R) { OilPaint24(B, 2, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(4); }, [](TBitmap& B, const TRect& R) { OilPaint24(B, 5, R); }},
    {"MenuFiltreSpatule", F, "KnifForm", [](TBitmap& B, const TRect& R) { PaletteKnife24(B, 4, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(2); }, [](TBitmap& B, const TRect& R) { PaletteKnife24(B, 5, R); }},
    {"MenuFiltreEtaler", F, "SmudgeForm", [](TBitmap& B, const TRect& R) { Smudge24(B, 4, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(6); }, [](TBitmap& B, const TRect& R) { Smudge24(B, 7, R); }},
    {"MenuFiltreEncre", F, "IndiaInkForm", [](TBitmap& B, const TRect& R) { IndiaInk24(B, 7, 70, R); },
     [](TFilterNForm* D) { SetBar(D, "TrackBar1", 120); },
     [](TBitmap& B, const TRect& R) { IndiaInk24(B, 7, 120, R); }},
    // At 7: dots of 12 every 8 pixels on the layer; with "Fond" every 9 on white.
    {"MenuFiltrePointillisme", F, "PointForm", [](TBitmap& B, const TRect& R) { Pointillism24(B, 12, 8, clNone, R); },
     [](TFilterNForm* D) { SetBox(D, "CheckBox1", true); },
     [](TBitmap& B, const TRect& R) { Pointillism24(B, 12, 9, clWhite, R); }},
    {"MenuFiltreFusain", F, "CharcoalForm",
     [](TBitmap& B, const TRect& R) { Charcoal24(B, 30, 170, false, true, R); },
     [](TFilterNForm* D) {
       SetBar(D, "TrackBar1", 150);
       SetBox(D, "RadioButton3", true);
     },
     [](TBitmap& B, const TRect& R) { Charcoal24(B, 30, 150, true, true, R); }},
    // A 40 x 30 layer: strokes of 17 - level.
    {"MenuFiltreCrayonNoir", F, "BlackPencilForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) { BlackPencil24(B, S, 16, 1, true, R); }),
     [](TFilterNForm* D) {
       D->TBN->SetPosition(5);
       SetBox(D, "CheckBox1", false);
     },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) { BlackPencil24(B, S, 12, 5, false, R); })},
    {"MenuFiltrePastel", F, "PastelsForm", [](TBitmap& B, const TRect& R) { Pastels24(B, 8, true, false, R); },
     [](TFilterNForm* D) { SetBox(D, "CheckBox1", true); },
     [](TBitmap& B, const TRect& R) { Pastels24(B, 8, true, true, R); }},
    // Above 33 the dark level stays 33.
    {"MenuFiltreBD", F, "ComicsForm", [](TBitmap& B, const TRect& R) { Comics24(B, 33, 128, true, true, R); },
     [](TFilterNForm* D) {
       D->TBN->SetPosition(20);
       SetBox(D, "CheckBox2", false);
     },
     [](TBitmap& B, const TRect& R) { Comics24(B, 20, 20, true, false, R); }},
    {"MenuFiltreCrayons", F, "ColorPencilForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) { ColorPencil24(B, S, 7, R); }),
     [](TFilterNForm* D) { D->TBN->SetPosition(12); },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) { ColorPencil24(B, S, 12, R); })},

    {"MenuFiltreBruit", F, "NoizeForm", [](TBitmap& B, const TRect& R) { ColorNoise24(B, 30, R); },
     [](TFilterNForm* D) { SetBox(D, "CheckBox1", true); },
     [](TBitmap& B, const TRect& R) { MonoNoise24(B, 30, R); }},
    {"MenuFiltreMinimum", F, "MinForm", [](TBitmap& B, const TRect& R) { Minimum24(B, 1, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(3); }, [](TBitmap& B, const TRect& R) { Minimum24(B, 3, R); }},
    {"MenuFiltreMaximum", F, "MaxForm", [](TBitmap& B, const TRect& R) { Maximum24(B, 1, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(2); }, [](TBitmap& B, const TRect& R) { Maximum24(B, 2, R); }},
    {"MenuFiltreDurcirPlus", F, "SharpMoreForm", [](TBitmap& B, const TRect& R) { SharpenMore24(B, 20, 100, R); },
     [](TFilterNForm* D) { SetBar(D, "TrackBar1", 50); },
     [](TBitmap& B, const TRect& R) { SharpenMore24(B, 20, 50, R); }},
    {"MenuFiltreRenforcement", F, "TUnsharpMaskForm",
     [](TBitmap& B, const TRect& R) { UnsharpMask24(B, 3, 70, 0, true, R, true); },
     [](TFilterNForm* D) {
       SetBar(D, "TrackBar2", 16);
       SetBox(D, "CheckBox3", false);
     },
     [](TBitmap& B, const TRect& R) { UnsharpMask24(B, 3, 70, 16, false, R, true); }},
    // The dust removal's radio buttons follow the inherited slider keys.
    {"MenuFiltreAntipoussiere", F, "TDeNoiseForm", [](TBitmap& B, const TRect& R) { DeNoiseLum24(B, 3, 50, 0, R); },
     [](TFilterNForm* D) { SetBox(D, "RadioButton5", true); },
     [](TBitmap& B, const TRect& R) { DeNoiseRGB24(B, 3, 50, 0, R); }},
    {"MenuFiltreFlouPlus", F, "BoxBlurForm", [](TBitmap& B, const TRect& R) { BoxBlur(B, 3, 3, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(5); }, [](TBitmap& B, const TRect& R) { BoxBlur(B, 5, 5, R); }},
    {"MenuFiltreFlouGauss", F, "GaussBlurForm", [](TBitmap& B, const TRect& R) { GaussianBlurRadius(B, 3, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(6); },
     [](TBitmap& B, const TRect& R) { GaussianBlurRadius(B, 6, R); }},
    // Direction editor at 7 embosses with code 5, at 0 with code 6.
    {"MenuFiltreEstampage", F, "EstampForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       EmbossFromSource24(S, B, 5, 3, 0x808080, R);
       Grayscale24(B, R);
     }),
     [](TFilterNForm* D) {
       Child<TDirectionEdit>(D, "DirectionEdit1")->SetDirection(0);
       Child<TSpinEdit2>(D, "SpinEdit2")->SetValue2(5);
     },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       EmbossFromSource24(S, B, 6, 5, 0x808080, R);
       Grayscale24(B, R);
     })},
    // Default 3: radial length 13, spin angle 6, motion length 24.
    {"MenuFiltreFlouRadial", F, "RadialBlurForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       RadialBlur24(S, B, 13, R);
       ConvolveMatrix3x3(B, MatSoftenMild, 77, R);
     }),
     [](TFilterNForm* D) { D->TBN->SetPosition(1); },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       RadialBlur24(S, B, 9, R);
       ConvolveMatrix3x3(B, MatSoftenMild, 77, R);
     })},
    {"MenuFiltreFlouCirculaire", F, "CircularBlurForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       SpinBlur24(S, B, 6, R);
       BoxBlur3x3(B, R);
     }),
     [](TFilterNForm* D) { D->TBN->SetPosition(4); },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       SpinBlur24(S, B, 7, R);
       BoxBlur3x3(B, R);
     })},
    {"MenuFiltreMouvement", F, "DirectionBlurForm",
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       MotionBlur(S, B, 24, 135.0, R);
       ConvolveMatrix3x3(B, MatSoftenMild, 33, R);
     }),
     [](TFilterNForm* D) {
       D->TBN->SetPosition(1);
       Child<TDirectionEdit>(D, "DirectionEdit1")->SetDirection(2);
     },
     FromSource([](const TBitmap& S, TBitmap& B, const TRect& R) {
       MotionBlur(S, B, 16, 90.0, R);
       ConvolveMatrix3x3(B, MatSoftenMild, 33, R);
     })},
    {"MenuFiltreMicroCtr", F, "MicroContrastForm",
     [](TBitmap& B, const TRect& R) { MicroContrast24(B, 3, 100, false, R); },
     [](TFilterNForm* D) { SetBar(D, "TrackBar1", 5); },
     [](TBitmap& B, const TRect& R) { MicroContrast24(B, 5, 100, false, R); }},
    {"MenuFiltreRelief3", F, "ReliefForm", [](TBitmap& B, const TRect& R) { Relief24(B, 5, true, 100, R); },
     [](TFilterNForm* D) {
       D->TBN->SetPosition(50);
       SetBox(D, "RadioButton3", true);
     },
     [](TBitmap& B, const TRect& R) { Relief24(B, 5, false, 50, R); }},
    {"MenuFiltrePassHaut", F, "HighPassForm", [](TBitmap& B, const TRect& R) { HighPass24(B, 3, R); },
     [](TFilterNForm* D) { D->TBN->SetPosition(7); }, [](TBitmap& B, const TRect& R) { HighPass24(B, 7, R); }},
};

class ArtisticBlurDialogsTest : public DialogCaseTest {};

TEST_P(ArtisticBlurDialogsTest, DefaultsPreviewCancelAndOneChangeGiveTheRoutinesResults) { RunCase(); }

INSTANTIATE_TEST_SUITE_P(Dialogs, ArtisticBlurDialogsTest, ::testing::ValuesIn(Cases), CaseName);

} // namespace
