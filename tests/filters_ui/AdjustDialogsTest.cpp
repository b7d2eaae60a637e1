// Each colour and tone dialog opened from its menu item: Ok with its
// defaults, then Ok with one setting changed through its controls, each
// against the filter routines called directly on the same pixels.
#include "FilterDialogFixture.h"

#include "filters/Filtres24.h"
#include "filters/ui/ColorForms.h"
#include "filters/ui/LevelsExForm.h"
#include "filters/ui/LevelsForm.h"
#include "filters/Convolution.h"
#include "raster/Bitmap24.h"
#include "ui/MySlider.h"
#include "filters/ui/ToneForms.h"
#include "raster/ColorFill.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>

namespace {

using TFilter = std::function<void(TBitmap&, const TRect&)>;

struct TDialogCase {
  const char* Item;
  const char* TopMenu;
  const char* FormName;
  // What Ok with the defaults gives; empty: the defaults change nothing, so
  // Ok is a cancel.
  TFilter Defaults;
  std::function<void(TFilterNForm*)> Change;
  TFilter Changed;
};

template <class T> T* As(TFilterNForm* D) { return dynamic_cast<T*>(D); }

const TDialogCase Cases[] = {
    {"MenuReglageCtr", "MenuReglage", "TCtrForm", nullptr,
     [](TFilterNForm* D) {
       FilterDialogFixture::MoveSlider(D->TBN, 1); // page 10
       FilterDialogFixture::MoveSlider(As<TCtrForm>(D)->Bars[0], 1);
     },
     [](TBitmap& B, const TRect& R) {
       Contrast24(B, 10, R);
       BrightnessRGB24(B, 5, 0, 0, R);
     }},
    // Two low sliders would ask for a negative gamma on red: it stays 0.10.
    {"MenuReglageGamma", "MenuReglage", "GammaForm", nullptr,
     [](TFilterNForm* D) {
       FilterDialogFixture::MoveSlider(D->TBN, -9);
       FilterDialogFixture::MoveSlider(As<TGammaForm>(D)->Bars[0], -9);
       FilterDialogFixture::MoveSlider(As<TGammaForm>(D)->Bars[1], 10);
     },
     [](TBitmap& B, const TRect& R) { GammaRGB24(B, 0.10, 1.10, 0.10, R); }},
    // Midtones -30: a 30 % contrast centred on the highlight limit.
    {"MenuReglageNiveaux", "MenuReglage", "LevelsForm", nullptr,
     [](TFilterNForm* D) { FilterDialogFixture::MoveSlider(As<TLevelsForm>(D)->Intensity[1], -6); },
     [](TBitmap& B, const TRect& R) {
       BandContrast24(B, 0, 0, 85, 85, R);
       BandContrast24(B, 30, 85, 170, 170, R);
       BandContrast24(B, 0, 170, 255, 170, R);
     }},
    // Only the gamma changed: the 50 % blend of the unchanged image is the
    // image itself, so the result is the gamma-corrected layer.
    {"MenuReglageTons", "MenuReglage", "LevelsExForm", nullptr,
     [](TFilterNForm* D) { FilterDialogFixture::MoveSlider(As<TLevelsExForm>(D)->Gamma, 5); },
     [](TBitmap& B, const TRect& R) { Gamma24(B, 1.5, R); }},
    {"MenuReglageTons", "MenuReglage", "LevelsExForm", nullptr,
     [](TFilterNForm* D) {
       // The shadow cursor dragged to 60 (radius 1: the layer is small).
       As<TLevelsExForm>(D)->Zones->SetPosProperty(0, 60);
       D->ParamChanged(true);
     },
     [](TBitmap& B, const TRect& R) {
       TBitmap Unfiltered;
       Unfiltered.Assign(B);
       ShadowsHighlights24(B, 0, 177, -40, 255, 77, 0, 5, R);
       CopyRect24Opacity(Unfiltered, R, B, R.Left, R.Top, R, 50);
     }},
    {"MenuReglagePosteriser", "MenuReglage", "PosterizeForm", [](TBitmap& B, const TRect& R) { Posterize24(B, 50, R); },
     [](TFilterNForm* D) { FilterDialogFixture::MoveSlider(D->TBN, 1); },
     [](TBitmap& B, const TRect& R) { Posterize24(B, 58, R); }},
    // Cyan and brightness 50 raise green and blue, not red.
    {"MenuReglagePerso", "MenuReglage", "CustomRegForm", nullptr,
     [](TFilterNForm* D) {
       FilterDialogFixture::MoveSlider(D->TBN, 10);
       As<TCustomRegForm>(D)->Channel->setCurrentIndex(4);
     },
     [](TBitmap& B, const TRect& R) {
       BrightnessRGB24(B, 0, 50, 50, R);
       ContrastRGB24(B, 0, 0, 0, R);
       SaturationRGB24(B, 0, 0, 0, R);
       HueShift24(B, 0, R);
       GammaRGB24(B, 1, 1, 1, R);
     }},
    {"MenuReglageRGB", "MenuReglage", "RGBForm", nullptr,
     [](TFilterNForm* D) {
       QTest::mouseClick(As<TRGBForm>(D)->Bands[2], Qt::LeftButton, {}, QPoint(5, 8));
       FilterDialogFixture::MoveSlider(D->TBN, 4);
     },
     [](TBitmap& B, const TRect& R) { BandBrightnessRGB24(B, 20, 0, 0, 85, 169, R); }},
    {"MenuReglageTS", "MenuReglage", "HueSatForm", nullptr,
     [](TFilterNForm* D) {
       FilterDialogFixture::MoveSlider(D->TBN, 1);
       FilterDialogFixture::MoveSlider(As<THueSatForm>(D)->BarSat, -2);
     },
     [](TBitmap& B, const TRect& R) {
       HueShift24(B, 20, R);
       Saturation24(B, -10, R);
       BrightnessRGB24(B, 0, 0, 0, R);
     }},
    {"MenuReglageInversionRVB", "MenuReglage", "SwapRGBForm", [](TBitmap& B, const TRect& R) { SwapRGB24(B, 0, R); },
     [](TFilterNForm* D) {
       QTest::mouseClick(As<TSwapRGBForm>(D)->Options->Button(3), Qt::LeftButton, {}, QPoint(5, 8));
     },
     [](TBitmap& B, const TRect& R) { SwapRGB24(B, 3, R); }},
    {"MenuReglageBichromie", "MenuReglage", "DuotoneForm",
     [](TBitmap& B, const TRect& R) { ThresholdTwoColors24(B, 128, clBlack, clWhite, R); },
     [](TFilterNForm* D) { As<TDuotoneForm>(D)->Color1->SetColor(0x0000FF); },
     [](TBitmap& B, const TRect& R) { ThresholdTwoColors24(B, 128, 0x0000FF, clWhite, R); }},
    {"MenuReglageGris", "MenuReglage", "GrayForm", [](TBitmap& B, const TRect& R) { GrayscaleMode24(B, 0, R); },
     [](TFilterNForm* D) { QTest::mouseClick(As<TGrayForm>(D)->Modes[7], Qt::LeftButton, {}, QPoint(5, 8)); },
     [](TBitmap& B, const TRect& R) { GrayscaleMode24(B, 7, R); }},
    {"MenuFiltreFiltre", "MenuFiltre", "ColoredLayerForm",
     [](TBitmap& B, const TRect& R) { FillColor24(B, 0x000080, 30, R); },
     [](TFilterNForm* D) { QTest::mouseClick(As<TColoredLayerForm>(D)->Invert, Qt::LeftButton, {}, QPoint(5, 8)); },
     [](TBitmap& B, const TRect& R) { FillColor24(B, 0x000080, -30, R); }},
    // The second colour taken by the pipette on the image, once its picker
    // button is down.
    {"MenuReglageRemplacer", "MenuReglage", "ReplaceColorForm",
     [](TBitmap& B, const TRect& R) { ReplaceColor24(B, clWhite, clBlack, 30, R); },
     [](TFilterNForm* D) {
       auto* F = As<TReplaceColorForm>(D);
       F->Picker2->click();
       EXPECT_FALSE(F->Picker1->isChecked());
       FilterDialogFixture::PickOnImage(D, 3, 4);
       F->Picker1->click();
       FilterDialogFixture::PickOnImage(D, 5, 6);
       FilterDialogFixture::MoveSlider(D->TBN, 2);
     },
     [](TBitmap& B, const TRect& R) {
       const TColor From = FilterDialogFixture::ColorAt(B, 5, 6), To = FilterDialogFixture::ColorAt(B, 3, 4);
       ReplaceColor24(B, From, To, 40, R);
     }},
    // Intensity 0 runs the routine, which then changes nothing.
    {"MenuFiltreDesaturation", "MenuFiltre", "PartialDesatForm",
     [](TBitmap& B, const TRect& R) { PartialDesat24(B, 0x0000FF, 0.0f, 5.0f / 1.42f + 1.0f, false, R); },
     [](TFilterNForm* D) { FilterDialogFixture::MoveSlider(D->TBN, 2); },
     [](TBitmap& B, const TRect& R) { PartialDesat24(B, 0x0000FF, 0.3f, 5.0f / 1.42f + 1.0f, false, R); }},
};

class AdjustDialogsTest : public FilterDialogFixture, public ::testing::WithParamInterface<TDialogCase> {};

TFilterNForm* OpenByName(TMainForm& F, const TDialogCase& C) {
  emit F.MenuNamed(QString::fromLatin1(C.TopMenu))->aboutToShow();
  QAction* A = F.MenuItem(QString::fromLatin1(C.Item));
  if (!A || !A->isEnabled()) return nullptr;
  A->trigger();
  auto* D = F.findChild<TFilterNForm*>(QString::fromLatin1(C.FormName));
  return D && D->isVisible() ? D : nullptr;
}

TEST_P(AdjustDialogsTest, DefaultsThenOneChangeGiveTheRoutinesResults) {
  const TDialogCase& C = GetParam();
  TFilterNForm* D = OpenByName(*Form, C);
  ASSERT_TRUE(D) << C.Item;
  EXPECT_FALSE(D->windowTitle().isEmpty());
  // The undo step carries the dialog's caption.
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, D->windowTitle());
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  if (C.Defaults) {
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected(C.Defaults));
    EXPECT_EQ(UndoSteps(), 1);
    Form->MenuItem("MenuEditionUndo")->trigger();
  } else {
    EXPECT_EQ(UndoSteps(), 0);
  }
  ASSERT_TRUE(ImagesMatch(Form->LeBitmap(), Original));

  D = OpenByName(*Form, C);
  ASSERT_TRUE(D) << C.Item;
  C.Change(D);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected(C.Changed));
  EXPECT_EQ(UndoSteps(), 1);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, AdjustDialogsTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TDialogCase>& I) {
                           return std::string(I.param.FormName) + std::to_string(I.index);
                         });

// The adjustment buttons of the toolbar open their dialogs as their menu
// items do, and are refused while a dialog is open.
TEST_F(AdjustDialogsTest, ToolbarButtonsOpenTheirDialogs) {
  const struct {
    const char* Button;
    const char* FormName;
  } Buttons[] = {{"BtnReglage", "CustomRegForm"}, {"BtnBlancs", "WBalanceForm"}, {"BtnGris", "GrayForm"}};
  for (const auto& B : Buttons) {
    emit Form->MenuNamed("MenuReglage")->aboutToShow();
    QAction* Button = Form->ToolBar(3)->findChild<QAction*>(B.Button);
    ASSERT_TRUE(Button && Button->isEnabled()) << B.Button;
    Button->trigger();
    auto* D = Form->findChild<TFilterNForm*>(B.FormName);
    ASSERT_TRUE(D && D->isVisible()) << B.Button;
    EXPECT_EQ(UndoSteps(), 1);
    Button->trigger(); // refused: the dialog is open
    EXPECT_EQ(UndoSteps(), 1);
    Click(D->BAnnuler);
    EXPECT_EQ(UndoSteps(), 0);
  }
}

} // namespace
