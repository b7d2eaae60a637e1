// Image > Free rotation: the turned size with and without fitting, the
// corners, a background with a mask, the preview, the layers, and undo.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Rot.h"
#include "raster/Rotation24.h"
#include "ui/ColorEdit.h"

#include <QCheckBox>
#include <QLabel>

namespace {

class RotFormTest : public ImageDialogFixture {
protected:
  TRotForm* Rotate(const char* Angle, bool Fit, TColor Fill = clNone) {
    TRotForm* D = Open<TRotForm>("MenuImageRotLibre");
    if (!D) return nullptr;
    Type(D->SEAngle, QString::fromLatin1(Angle));
    D->CBAjuster->setChecked(Fit);
    if (Fill != clNone) D->ColorEdit->SetColor(Fill);
    Click(D->BOk);
    return D;
  }
  std::unique_ptr<TBitmap> Turned(double Angle, bool Fit, TColor Fill) const {
    auto B = std::make_unique<TBitmap>();
    RotateBitmapAngleTo(Original, *B, Angle, Fit, Fill, amBicubic);
    return B;
  }
};

TEST_F(RotFormTest, AQuarterTurnGrowsByTheRoundedUpBoundsAndTurnsTheLayers) {
  OpenImage(200, 100, true);
  TBitmap LayerPixels;
  LayerPixels.Assign(Layer(1).Bitmap());
  ASSERT_TRUE(Rotate("90", true));
  EXPECT_EQ(Form->LeFond().Width(), 101);
  EXPECT_EQ(Form->LeFond().Height(), 200);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Turned(90, true, clWhite));
  // The layer turned with the picture.
  EXPECT_EQ(Layer(1).Bitmap().Height(), 6);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  EXPECT_EQ(Layer(1).Pos.X, 3);
  EXPECT_EQ(Layer(1).Pos.Y, 2);
}

TEST_F(RotFormTest, WithoutFittingTheSizeStaysAndTheCornersTakeTheColour) {
  OpenImage(100, 100);
  ASSERT_TRUE(Rotate("45", false, 0x0000FF));
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Turned(45, false, 0x0000FF));
  EXPECT_EQ(Form->LeFond().PixelColor(0, 0), 0x0000FF);
  Undo();
  ASSERT_TRUE(Rotate("45", true));
  EXPECT_EQ(Form->LeFond().Width(), 142);
  EXPECT_EQ(Form->LeFond().Height(), 142);
  // An angle of 0 closes without an undo step.
  ASSERT_TRUE(Rotate("0", true));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(RotFormTest, OnABackgroundWithAMaskTheCornersBecomeTransparentWhite) {
  OpenImage(40, 40, false, true);
  TRotForm* D = Open<TRotForm>("MenuImageRotLibre");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->ColorEdit->isEnabled());
  Click(D->BAnnuler);
  ASSERT_TRUE(Rotate("30", true));
  ASSERT_EQ(Form->LeMasque().Width(), Form->LeFond().Width());
  EXPECT_EQ(Px(Form->LeMasque(), 0, 0), Grey(255));
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Grey(255));
  const int CX = Form->LeFond().Width() / 2, CY = Form->LeFond().Height() / 2;
  EXPECT_EQ(Px(Form->LeMasque(), CX, CY), Grey(0));
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(RotFormTest, ThePreviewFollowsTheAngleAndPickedColours) {
  OpenImage(60, 30);
  TRotForm* D = Open<TRotForm>("MenuImageRotLibre");
  ASSERT_TRUE(D);
  ASSERT_FALSE(D->Apercu.Empty());
  TBitmap Before;
  Before.Assign(D->Apercu);
  Type(D->SEAngle, "30");
  EXPECT_FALSE(ImagesMatch(D->Apercu, Before));
  Before.Assign(D->Apercu);
  D->ChangerCouleur(0x00FF00);
  EXPECT_EQ(D->ColorEdit->Color(), 0x00FF00);
  EXPECT_FALSE(ImagesMatch(D->Apercu, Before));
  Click(D->BAnnuler);
  EXPECT_TRUE(D->Thumb.Empty());
  EXPECT_EQ(UndoSteps(), 0);
  // Few colours: no smoothing, the colour of the first pixel, fixed.
  Form->Image().ColorCount = 256;
  D = Open<TRotForm>("MenuImageRotLibre");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->CBLisser->isVisible());
  EXPECT_TRUE(D->ColorEdit->ReadOnly());
  EXPECT_EQ(D->ColorEdit->Color(), Form->LeFond().PixelColor(0, 0));
  Click(D->BAnnuler);
}

} // namespace
