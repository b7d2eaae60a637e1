// The composite effects painted around the selection and the layer
// transparency dialogs: defaults, preview and Cancel, one change, each
// against the routines the effect is made of; the drop shadow's and the
// progressive contour's reach beyond the selection, and their refusals.
#include "DialogCases.h"

#include "../support/Pixels.h"
#include "i18n/LibLang.h"

#include "document/Calque.h"
#include "filters/Blur24.h"
#include "filters/ui/EffectForms.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/GreyMasks.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"

namespace {

const TRect Sel{10, 8, 30, 22};
TRect Whole(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }
TRect Grown(const TRect& R, int N) { return {R.Left - N, R.Top - N, R.Right + N, R.Bottom + N}; }
TColor GreyColor(int Level) { return TColor(Level) * 0x010101; }

void SelectRect(TMainForm& F) {
  F.MenuSelToutClick();
  F.Sel()->SetBmpSelRect(Sel);
}

// The background gets a mask of greys varying across the layer.
void GreyMask(TMainForm& F) {
  TLayerItem& L = F.Image().Layers()[0];
  L.CheckCreateMask(false);
  TBitmap& M = L.Mask();
  for (int Y = 0; Y < M.Height(); ++Y)
    for (int X = 0; X < M.Width(); ++X) FillColor24(M, GreyColor((X * 7 + Y * 11) % 256), 100, {X, Y, X + 1, Y + 1});
}

// A mask routine of the layer model run on a copy of the mask.
TFilter OnLayer(std::function<void(TLayerItem&)> Routine) {
  return [Routine = std::move(Routine)](TBitmap& M, const TRect&) {
    TLayerItem L;
    L.Bitmap().Assign(M);
    L.Mask().Assign(M);
    Routine(L);
    M.Assign(L.Mask());
  };
}

// The fixture's layer: 40 x 30 random pixels.
const TBitmap& FixtureLayer() {
  static TBitmap B(40, 30, pf24bit, clBlack);
  static const bool Filled = (FillRandom(B, 7), true);
  (void)Filled;
  return B;
}

TFilter TransparentColour(TColor Color, int Tolerance, int Opacity) {
  return [=](TBitmap& M, const TRect&) {
    TBitmap Matching(M.Width(), M.Height(), pf24bit, clWhite);
    MaskFromColorInverted(FixtureLayer(), Matching, Color, Tolerance, false, Whole(Matching));
    FillColorMask24(Matching, Whole(Matching), M, 0, 0, Whole(M), GreyColor(255 - Opacity * 255 / 100), 100);
  };
}

TFilter Gradient(int Level, int Direction) {
  return FromSource([=](const TBitmap& Before, TBitmap& M, const TRect& R) {
    GradientFill24(M, MixColors(clBlack, clWhite, Level * 5), 100, clBlack, 100, Direction, R);
    CombineMaskMax(Before, M, 0, 0, R);
  });
}

// The drop shadow of the rectangle selection moved by (7, 7) in black at
// 80 %: its mask feathered by 9 or flat, and the inside of the selection
// given back.
TFilter Shadow(bool Feathered) {
  return FromSource([=](const TBitmap& Before, TBitmap& B, const TRect&) {
    TBitmap M(B.Width(), B.Height(), pf24bit, clWhite);
    TRect S = OffsetRect(Sel, 7, 7);
    FillColor24(M, clBlack, 100, S);
    if (Feathered) {
      S = Grown(S, 9);
      GaussianBlurRadius(M, 9, S);
    }
    FillColorMask24(M, Whole(M), B, 0, 0, S, clBlack, 80);
    CopyRect24(Before, Sel, B, Sel.Left, Sel.Top, Sel);
  });
}

// One band of the 3D contour on the rectangle selection: the rectangle
// black, moved by (Dx, Dy) white, softened by Soft, Color painted through it
// at 80 %.
void Band3D(TBitmap& B, int Soft, int Dx, int Dy, TColor Color) {
  TBitmap S(Sel.Width() + 2 * Soft, Sel.Height() + 2 * Soft, pf24bit, clWhite);
  const TRect R = Grown(Whole(S), -Soft);
  FillColor24(S, clBlack, 100, R);
  FillColor24(S, clWhite, 100, OffsetRect(R, Dx, Dy));
  GaussianBlurRadius(S, Soft, Whole(S));
  FillColorMask24(S, Whole(S), B, Sel.Left - Soft, Sel.Top - Soft, Sel, Color, 80);
}

const char* const Layer = "MenuCalque";
const char* const F = "MenuFiltre";

const TDialogCase Cases[] = {
    {"MenuFiltreOmbre", F, "ShadowForm", Shadow(true),
     [](TFilterNForm* D) { Child<TRadioGroup>(D, "RadioGroup5")->SetItemIndex(0); }, Shadow(false), false,
     SelectRect},
    // Width 7, soft 14, lit from the top left; then unsoftened from the bottom right.
    {"MenuFiltreCtr3D", F, "Border3DForm",
     [](TBitmap& B, const TRect&) {
       Band3D(B, 14, -7, -7, clBlack);
       Band3D(B, 14, 7, 7, clWhite);
     },
     [](TFilterNForm* D) {
       SetBox(D, "CheckBox8", false);
       Child<TRadioGroup>(D, "RadioGroup7")->SetItemIndex(3);
     },
     [](TBitmap& B, const TRect&) {
       Band3D(B, 1, 7, 7, clBlack);
       Band3D(B, 1, -7, -7, clWhite);
     },
     false, SelectRect},
    // At 100 without "Réinitialiser" the mask stays; reset at 0 makes it transparent.
    {"MenuCalqueOpacite", Layer, "AlphaOpacity", [](TBitmap&, const TRect&) {},
     [](TFilterNForm* D) {
       D->TBN->SetPosition(0);
       SetBox(D, "CheckBox1", true);
     },
     [](TBitmap& M, const TRect& R) { FillColor24(M, clWhite, 100, R); }, true, GreyMask},
    {"MenuCalqueOpacite", Layer, "AlphaOpacity", [](TBitmap&, const TRect&) {},
     [](TFilterNForm* D) {
       D->TBN->SetPosition(40);
       SetBox(D, "CheckBox1", false);
     },
     [](TBitmap& M, const TRect& R) { FillColor24(M, clWhite, 60, R); }, true, GreyMask},
    {"MenuCalqueBordProgressif", Layer, "AlphaProgContour",
     OnLayer([](TLayerItem& L) { AlphaProgressiveContour(L, 10, 5); }),
     [](TFilterNForm* D) {
       D->TBN->SetPosition(4);
       Child<TRadioGroup>(D, "RadioGroup1")->SetItemIndex(3);
     },
     OnLayer([](TLayerItem& L) { AlphaProgressiveContour(L, 4, 4); }), true, GreyMask, "MenuCalqueEffetBord"},
    {"MenuCalqueBordDispersion", Layer, "AlphaDispContour",
     OnLayer([](TLayerItem& L) { AlphaDispersedContour(L, 10); }), [](TFilterNForm* D) { D->TBN->SetPosition(3); },
     OnLayer([](TLayerItem& L) { AlphaDispersedContour(L, 3); }), true, GreyMask, "MenuCalqueEffetBord"},
    // Direction editor 6 is gradient direction 2, 0 is 3.
    {"MenuCalqueDegrade1", Layer, "AlphaGradientForm", Gradient(20, 2),
     [](TFilterNForm* D) {
       D->TBN->SetPosition(10);
       Child<TDirectionEdit>(D, "DirectionEdit1")->SetDirection(0);
     },
     Gradient(10, 3), true, GreyMask, "MenuCalqueDegrade"},
    {"MenuCalqueCouleurTrans", Layer, "AlphaColorForm", TransparentColour(clWhite, 30, 0),
     [](TFilterNForm* D) {
       Child<TColorEdit>(D, "ColorEdit1")->SetColor(0x808080);
       D->TBN->SetPosition(100);
       SetBar(D, "TrackBar2", 40);
     },
     TransparentColour(0x808080, 100, 40), true, GreyMask},
};

class EffectDialogsTest : public DialogCaseTest {};

TEST_P(EffectDialogsTest, DefaultsPreviewCancelAndOneChangeGiveTheRoutinesResults) { RunCase(); }

INSTANTIATE_TEST_SUITE_P(Dialogs, EffectDialogsTest, ::testing::ValuesIn(Cases), CaseName);

class EffectBehaviourTest : public FilterDialogFixture {
protected:
  template <class TForm> TForm* OpenEffect(const char* Item) { return Open<TForm>(Item, "MenuFiltre"); }
  void Undo() { Form->MenuItem("MenuEditionUndo")->trigger(); }
};

TEST_F(EffectBehaviourTest, AShadowPreviewedAgainAtAnotherOffsetLeavesNoTraceOfTheFirst) {
  SelectRect(*Form);
  auto* D = OpenEffect<TShadowForm>("MenuFiltreOmbre");
  ASSERT_TRUE(D);
  Click(D->BApercu);
  D->EdiDX->SetValue2(-7);
  D->EdiDY->SetValue2(-7);
  D->RGStyle->SetItemIndex(0);
  Click(D->BApercu);
  TBitmap Expected;
  Expected.Assign(Original);
  TBitmap M(40, 30, pf24bit, clWhite);
  FillColor24(M, clBlack, 100, OffsetRect(Sel, -7, -7));
  FillColorMask24(M, Whole(M), Expected, 0, 0, OffsetRect(Sel, -7, -7), clBlack, 80);
  CopyRect24(Original, Sel, Expected, Sel.Left, Sel.Top, Sel);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
  Click(D->BOk);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(EffectBehaviourTest, AShadowOnTransparencyMakesItsPixelsVisibleAndUndoHidesThemAgain) {
  // Only the selected rectangle of the layer is visible.
  TLayerItem& L = Form->Image().Layers()[0];
  L.CheckCreateMask(false);
  FillColor24(L.Mask(), clWhite, 100, Whole(L.Mask()));
  FillColor24(L.Mask(), clBlack, 100, Sel);
  TBitmap MaskBefore;
  MaskBefore.Assign(L.Mask());
  SelectRect(*Form);
  auto* D = OpenEffect<TShadowForm>("MenuFiltreOmbre");
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_LT(Px(Form->LeMasque(), 33, 26).Red, 128); // in the shadow, outside the selection
  EXPECT_EQ(Px(Form->LeMasque(), 2, 2), Grey(255));  // far from it
  EXPECT_EQ(Px(Form->LeMasque(), 15, 12), Grey(0));  // the selection keeps its own
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeMasque(), MaskBefore);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(EffectBehaviourTest, ProgressiveContourFadesInsideOrOutsideTheRectangle) {
  SelectRect(*Form);
  for (const bool Outside : {false, true}) {
    SCOPED_TRACE(Outside ? "outside" : "inside");
    auto* D = OpenEffect<TProgCtrForm>("MenuFiltreProgressif");
    ASSERT_TRUE(D);
    ASSERT_TRUE(D->CBInvert->isEnabled());
    D->EdiWidth->SetValue2(3);
    D->RGEffect->SetItemIndex(0);
    D->CBInvert->setChecked(Outside);
    Click(D->BOk);
    // The grey rings the contour is made of: the edge paints fully, each
    // pixel further from it a third less.
    TBitmap M(40, 30, pf24bit, Outside ? clWhite : clBlack);
    TBitmap Expected;
    Expected.Assign(Original);
    if (Outside) {
      FillColor24(M, GreyColor(170), 100, Grown(Sel, 2));
      FillColor24(M, GreyColor(85), 100, Grown(Sel, 1));
      FillColorMask24(M, Whole(M), Expected, 0, 0, Grown(Sel, 3), clBlack, 100);
      CopyRect24(Original, Sel, Expected, Sel.Left, Sel.Top, Sel);
    } else {
      for (int Depth = 1; Depth <= 3; ++Depth) FillColor24(M, GreyColor(Depth * 85), 100, Grown(Sel, -Depth));
      FillColorMask24(M, Whole(M), Expected, 0, 0, Sel, clBlack, 100);
    }
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
    Undo();
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  }
}

TEST_F(EffectBehaviourTest, ProgressiveContourOutsideWithBlurIsCancelledWhole) {
  SelectRect(*Form);
  auto* D = OpenEffect<TProgCtrForm>("MenuFiltreProgressif");
  ASSERT_TRUE(D);
  D->EdiWidth->SetValue2(4);
  D->CBInvert->setChecked(true);
  Click(D->BApercu);
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(EffectBehaviourTest, ProgressiveContourWithoutSelectionRunsInsideTheLayerAndRefusesAWidthTooLarge) {
  std::vector<QString> Shown;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Shown.push_back(R.Msg);
    return TMsgDlgAnswer{mrOk, {}};
  });
  auto* D = OpenEffect<TProgCtrForm>("MenuFiltreProgressif");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->CBInvert->isEnabled());
  EXPECT_FALSE(D->CBInvert->isChecked());
  // The default width 20 needs 41 pixels each way: the layer has 40 x 30.
  Click(D->BOk);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], Tr(TrId::GetTrDldGlb2));
  EXPECT_TRUE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  // Width 3 contours the whole layer as a rectangle: its corner goes black.
  D->EdiWidth->SetValue2(3);
  D->RGEffect->SetItemIndex(0);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(Px(Form->LeBitmap(), 0, 0), Grey(0));
  EXPECT_EQ(Px(Form->LeBitmap(), 20, 15), Px(Original, 20, 15));
}

TEST_F(EffectBehaviourTest, ThreeDContourWithBothColoursOffChangesNothing) {
  SelectRect(*Form);
  auto* D = OpenEffect<TBorder3DForm>("MenuFiltreCtr3D");
  ASSERT_TRUE(D);
  QTest::mouseClick(D->CBColor1, Qt::LeftButton, {}, QPoint(5, 8));
  QTest::mouseClick(D->CBColor2, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(D->ColorEdit1->isEnabled());
  EXPECT_FALSE(D->SB2->isEnabled());
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  // Checking colour 2 again makes its picker the one that takes picked colours.
  D = OpenEffect<TBorder3DForm>("MenuFiltreCtr3D");
  QTest::mouseClick(D->CBColor2, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(D->SB2->isChecked());
  D->ChangerCouleur(0x123456);
  EXPECT_EQ(D->ColorEdit2->Color(), TColor(0x123456));
}

TEST_F(EffectBehaviourTest, TransparentColourLeavesEditRepeatAlone) {
  GreyMask(*Form);
  Form->MenuItem("MenuFiltreFlou")->trigger();
  const QString Before = Form->LastFilter().Caption;
  ASSERT_FALSE(Before.isEmpty());
  auto* D = Open<TAlphaColorForm>("MenuCalqueCouleurTrans", "MenuCalque");
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_EQ(UndoSteps(), 2);
  EXPECT_EQ(Form->LastFilter().Caption, Before);
}

TEST_F(EffectBehaviourTest, TransparencyGradientNeverMakesAPixelMoreOpaque) {
  GreyMask(*Form);
  TBitmap Before;
  Before.Assign(Form->LeMasque());
  auto* D = Open<TAlphaGradientForm>("MenuCalqueDegrade1", "MenuCalque");
  ASSERT_TRUE(D);
  Click(D->BOk);
  const TBitmap& After = Form->LeMasque();
  for (int Y = 0; Y < After.Height(); ++Y)
    for (int X = 0; X < After.Width(); ++X) ASSERT_GE(Px(After, X, Y).Red, Px(Before, X, Y).Red) << X << "," << Y;
}

TEST(AlphaGradientDirections, FollowTheEditorPositions) {
  const int Expected[9] = {3, 9, 4, 8, 5, 7, 2, 6, 6};
  for (int P = 0; P < 9; ++P) EXPECT_EQ(TAlphaGradientForm::GradientDirection(P), Expected[P]) << P;
}

} // namespace
