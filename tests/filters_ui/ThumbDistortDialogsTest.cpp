// The distortions previewed on a thumbnail: nothing changes until Ok, which
// gives one undo step with the routine's result; in layer mode the layer
// grows and stays centred, the background's growth moving the other layers,
// and Undo puts sizes and positions back.
#include "FilterDialogFixture.h"

#include "document/ui/LayerNavigator.h"
#include "filters/Distortions24.h"
#include "filters/ui/ThumbDistortForms.h"
#include "ui/ColorEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

namespace {

class ThumbDistortTest : public FilterDialogFixture {
protected:
  template <class TForm> TForm* OpenFrom(const char* Item, const char* TopMenu) {
    return Open<TForm>(Item, TopMenu);
  }
  void Undo() {
    emit Form->MenuNamed("MenuEdition")->aboutToShow();
    Form->MenuItem("MenuEditionUndo")->trigger();
  }
  // Original distorted by Work into a bitmap the routine sizes.
  std::unique_ptr<TBitmap> Distorted(const std::function<void(const TBitmap&, TBitmap&)>& Work) const {
    auto B = std::make_unique<TBitmap>();
    B->Assign(Original);
    Work(Original, *B);
    return B;
  }
  // A second layer, 10 x 8 at (5, 4); its index.
  int AddLayer() {
    TBitmap L(10, 8, pf24bit, clWhite);
    FillRandom(L, 3);
    return Form->LayerNav()->AddLayer(&L, nullptr, {5, 4}, 255, QStringLiteral("L"));
  }
  TLayerItem& Layer(int Index) const { return Form->Image().Layers()[Index]; }
};

TEST_F(ThumbDistortTest, TwirlShowsAThumbnailAndChangesTheImageOnlyOnOk) {
  auto* D = OpenFrom<TTwirlForm>("MenuFiltreSpirale", "MenuFiltre");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->LayerMode);
  // A 40 x 30 area is not enlarged in a 150 x 120 preview.
  ASSERT_TRUE(D->Thumb);
  EXPECT_EQ(D->Thumb->Width(), 40);
  EXPECT_EQ(D->Thumb->Height(), 30);
  EXPECT_TRUE(D->ColorEdit->isEnabled());
  QTest::mouseClick(D->RBAntiHoraire, Qt::LeftButton, {}, QPoint(5, 8));
  MoveSlider(D->TBN, 1); // 13
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  const TRect R{0, 0, 40, 30};
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Distorted([&](const TBitmap& S, TBitmap& B) {
    Twirl24(S, B, -6.5, clWhite, R, amBicubic, false);
  }));
  EXPECT_EQ(UndoSteps(), 1);
  // A change of shape cannot be faded.
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->GetFlag(8), 1);
  EXPECT_TRUE(Form->LastFilter().Event);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(ThumbDistortTest, NeutralTrapezoidOkAndCancelLeaveNoStep) {
  auto* D = OpenFrom<TTrapezForm>("MenuFiltreTrapeze", "MenuFiltre");
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), 0);
  D = OpenFrom<TTrapezForm>("MenuFiltreTrapeze", "MenuFiltre");
  MoveSlider(D->TB1, 3);
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);

  D = OpenFrom<TTrapezForm>("MenuFiltreTrapeze", "MenuFiltre");
  QTest::mouseClick(D->RBVert, Qt::LeftButton, {}, QPoint(5, 8));
  D->TB1->SetPosition(100);
  D->TB2->SetPosition(70);
  EXPECT_TRUE(D->Lbl2->text().contains(QStringLiteral("70")));
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Distorted([&](const TBitmap& S, TBitmap& B) {
    Trapezoid24(S, B, 1, 1, 0.7, 1, clWhite, {0, 0, 40, 30}, amBicubic, false);
  }));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(ThumbDistortTest, LensUsesItsStrength) {
  auto* D = OpenFrom<TLensForm>("MenuFiltreSphere", "MenuFiltre");
  ASSERT_TRUE(D);
  EXPECT_DOUBLE_EQ(D->Strength(), 1.33 - 8 / 20.0);
  D->ColorEdit->SetColor(0x00FF00);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Distorted([&](const TBitmap& S, TBitmap& B) {
    Lens24(S, B, 1.33 - 8 / 20.0, 0x00FF00, {0, 0, 40, 30}, amBicubic);
  }));
}

TEST_F(ThumbDistortTest, TwirlOfTheBackgroundGrowsTheImageAndMovesTheOtherLayers) {
  const int L = AddLayer();
  auto* D = OpenFrom<TTwirlForm>("MenuImageSpirale", "MenuImage");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->LayerMode);
  EXPECT_EQ(Form->Image().LayerIndex(), 0);
  Click(D->BOk);
  const auto Expected = Distorted([&](const TBitmap& S, TBitmap& B) {
    Twirl24(S, B, 4.0, clWhite, {0, 0, 40, 30}, amBicubic, true);
  });
  ASSERT_GT(Expected->Width(), 40);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Expected);
  const int DX = (Expected->Width() - 40) / 2;
  const int DY = (Expected->Height() - 30) / 2;
  EXPECT_EQ(Layer(L).Pos, (TPoint{5 + DX, 4 + DY}));
  EXPECT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(L).Pos, (TPoint{5, 4}));
}

TEST_F(ThumbDistortTest, TwirlOfALayerGrowsItAroundItsCentre) {
  const int L = AddLayer();
  TBitmap Before;
  Before.Assign(Layer(L).Bitmap());
  auto* D = OpenFrom<TTwirlForm>("MenuCalqueTransformSpirale", "MenuCalque");
  ASSERT_TRUE(D);
  Click(D->BOk);
  TBitmap Expected;
  Expected.Assign(Before);
  Twirl24(Before, Expected, 4.0, clWhite, {0, 0, 10, 8}, amBicubic, true);
  EXPECT_EQ(Layer(L).Bitmap().Width(), Expected.Width());
  const int DX = (Expected.Width() - 10) / 2;
  const int DY = (Expected.Height() - 8) / 2;
  EXPECT_EQ(Layer(L).Pos, (TPoint{5 - DX, 4 - DY}));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  Undo();
  EXPECT_EQ(Layer(L).Bitmap().Width(), 10);
  EXPECT_EQ(Layer(L).Pos, (TPoint{5, 4}));
}

TEST_F(ThumbDistortTest, InclineSlantsTheBackgroundAndTheLayersAsOneStep) {
  auto* D = OpenFrom<TInclinerForm>("MenuImageIncliner", "MenuImage");
  ASSERT_TRUE(D);
  Click(D->BOk); // at 0: a cancel
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), 0);

  const int L = AddLayer();
  D = OpenFrom<TInclinerForm>("MenuImageIncliner", "MenuImage");
  ASSERT_TRUE(D->CBTous->isVisible());
  ASSERT_TRUE(D->CBLisser->isVisible());
  D->TB->SetPosition(-20);
  EXPECT_TRUE(D->Lbl->text().contains(QStringLiteral("-20")));
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Distorted([](const TBitmap& S, TBitmap& B) {
    Skew24(S, B, 0.2, 0, clWhite, amBicubic);
  }));
  EXPECT_NE(Layer(L).Bitmap().Width(), 10);
  EXPECT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(L).Bitmap().Width(), 10);
  EXPECT_EQ(Layer(L).Pos, (TPoint{5, 4}));
}

} // namespace
