// Image > Outer frame and Outer shadow: the canvas grows, the picture and
// the layers above move together, the shadow lies in its direction, flat or
// soft, the radius follows the width, Repeat applies again, and Undo gives
// the exact original back.
#include "ImageDialogFixture.h"

#include "dialogs/ui/CadreExt.h"
#include "dialogs/ui/OmbrExt.h"
#include "dialogs/ui/SizeFields.h"
#include "raster/Bitmap24.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

namespace {

class OuterFrameShadowTest : public ImageDialogFixture {
protected:
  // The original at (X, Y) of a W x H canvas of Fill.
  std::unique_ptr<TBitmap> Placed(int W, int H, int X, int Y, TColor Fill) const {
    auto B = std::make_unique<TBitmap>(W, H, pf24bit, Fill);
    CopyBitmap24(Original, *B, X, Y);
    return B;
  }
  void ExpectOriginalBack() {
    Undo();
    EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
    EXPECT_EQ(Layer(1).Pos.X, 3);
    EXPECT_EQ(Layer(1).Pos.Y, 2);
    EXPECT_EQ(UndoSteps(), 0);
  }
};

TEST_F(OuterFrameShadowTest, AFrameGrowsTheCanvasOnEverySideAndRepeatFramesAgain) {
  OpenImage(100, 50, true);
  TCadreExtForm* D = Open<TCadreExtForm>("MenuImageEncadrerExt");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->SELargeur->Value(), 20);
  D->ColorEdit->SetColor(0x3366CC);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Placed(140, 90, 20, 20, 0x3366CC));
  EXPECT_EQ(Layer(1).Pos.X, 23);
  EXPECT_EQ(Layer(1).Pos.Y, 22);
  // Repeat frames the larger image with the same values.
  EditItem("MenuEditionRepeter");
  EXPECT_EQ(Form->LeFond().Width(), 180);
  EXPECT_EQ(Form->LeFond().Height(), 130);
  EXPECT_EQ(Layer(1).Pos.X, 43);
  EXPECT_EQ(UndoSteps(), 2);
  Undo();
  ExpectOriginalBack();
  // The width and colour are offered again.
  D = Open<TCadreExtForm>("MenuImageEncadrerExt");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ColorEdit->Color(), 0x3366CC);
  Type(D->SELargeur, "");
  Click(D->BOk);
  EXPECT_EQ(Messages.size(), 1);
  EXPECT_TRUE(D->isVisible());
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(OuterFrameShadowTest, FewColoursFrameInTheCornerColourWithoutPattern) {
  OpenImage(10, 10);
  Form->Image().ColorCount = 256;
  TCadreExtForm* D = Open<TCadreExtForm>("MenuImageEncadrerExt");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ColorEdit->Color(), Original.PixelColor(0, 0));
  EXPECT_TRUE(D->ColorEdit->ReadOnly());
  EXPECT_FALSE(D->Pattern->CBMotif->isEnabled());
  D->ChangerCouleur(0x123456);
  EXPECT_EQ(D->ColorEdit->Color(), Original.PixelColor(0, 0));
  Click(D->BAnnuler);
}

struct TShadowCase {
  int Position, N, M;
  TPoint Shadow, Picture;
};

TEST_F(OuterFrameShadowTest, EachDirectionPlacesShadowAndPicture) {
  // The worked example: N = 12 on 100 x 50 gives 112 x 62; with M = 10, 132 x 82.
  const TShadowCase Cases[] = {{3, 12, 0, {12, 12}, {0, 0}},   {3, 12, 10, {22, 22}, {10, 10}},
                               {0, 12, 10, {10, 10}, {22, 22}}, {1, 12, 0, {0, 12}, {12, 0}},
                               {2, 12, 0, {12, 0}, {0, 12}}};
  OpenImage(100, 50, true);
  for (const TShadowCase& C : Cases) {
    const TShadowPlaces At = ShadowPlaces(C.Position, C.N, C.M);
    EXPECT_EQ(At.Shadow, C.Shadow) << C.Position << " " << C.M;
    EXPECT_EQ(At.Picture, C.Picture) << C.Position << " " << C.M;
    TOmbreExtForm* D = Open<TOmbreExtForm>("MenuImageOmbrageExt");
    ASSERT_TRUE(D);
    Click(D->RBPlat);
    Type(D->SE1, QString::number(C.N));
    Type(D->SE3, QString::number(C.M));
    Type(D->SE2, "100");
    D->ColorEdit1->SetColor(clWhite);
    D->ColorEdit2->SetColor(0x0000FF);
    Click(D->RGPos->Button(C.Position));
    Click(D->BOk);
    const int W = 100 + C.N + 2 * C.M, H = 50 + C.N + 2 * C.M;
    // A flat shadow at 100 % is the plain shadow colour; the picture on top.
    auto Expected = std::make_unique<TBitmap>(W, H, pf24bit, clWhite);
    const TBitmap Shadow(100, 50, pf24bit, 0x0000FF);
    CopyBitmap24(Shadow, *Expected, C.Shadow.X, C.Shadow.Y);
    CopyBitmap24(Original, *Expected, C.Picture.X, C.Picture.Y);
    EXPECT_IMAGES_MATCH(Form->LeFond(), *Expected, 0, "position" + std::to_string(C.Position));
    EXPECT_EQ(Layer(1).Pos.X, 3 + C.Picture.X);
    EXPECT_EQ(Layer(1).Pos.Y, 2 + C.Picture.Y);
    ExpectOriginalBack();
  }
}

TEST_F(OuterFrameShadowTest, ALowOpacityTintsAndASoftShadowFadesTowardsItsEdges) {
  OpenImage(40, 30, true);
  TOmbreExtForm* D = Open<TOmbreExtForm>("MenuImageOmbrageExt");
  ASSERT_TRUE(D);
  Click(D->RBPlat);
  Type(D->SE2, "10");
  D->ColorEdit2->SetColor(clBlack);
  Click(D->BOk);
  // 255 + (0 - 255) * 10 div 100 = 230, under the picture's right and bottom.
  EXPECT_EQ(Px(Form->LeFond(), 51, 41), Grey(230));
  EXPECT_EQ(Px(Form->LeFond(), 13, 41), Grey(230));
  EXPECT_EQ(Px(Form->LeFond(), 5, 41), Grey(255));
  ExpectOriginalBack();

  D = Open<TOmbreExtForm>("MenuImageOmbrageExt");
  ASSERT_TRUE(D);
  Click(D->RBProgressif);
  D->SE1->SetValue(20);
  Type(D->SE2, "100");
  Click(D->BOk);
  // Radius 6 on a 40 x 30 shadow at (20, 20): solid 12 pixels in from its
  // edges, fading out to nearly nothing at its outer edge.
  const TBitmap& F = Form->LeFond();
  EXPECT_EQ(Px(F, 40, 32), Grey(0));
  EXPECT_GT(Px(F, 59, 32).Blue, Px(F, 55, 32).Blue);
  EXPECT_GT(Px(F, 55, 32).Blue, Px(F, 50, 32).Blue);
  EXPECT_GT(Px(F, 59, 32).Blue, 200);
  ExpectOriginalBack();
}

TEST_F(OuterFrameShadowTest, TheSoftRadiusStaysWithinHalfTheWidth) {
  OpenImage(20, 20);
  TOmbreExtForm* D = Open<TOmbreExtForm>("MenuImageOmbrageExt");
  ASSERT_TRUE(D);
  // Values stepped as the spin buttons do.
  D->SE4->SetValue(8);
  EXPECT_EQ(D->SE1->Value(), 16);
  D->SE1->SetValue(12);
  EXPECT_EQ(D->SE4->Value(), 6);
  D->SE4->SetValue(10);
  EXPECT_EQ(D->SE1->Value(), 20);
  // The flat style has no radius and allows a width of 1; choosing the soft
  // style again makes room for the radius.
  Click(D->RBPlat);
  EXPECT_FALSE(D->SE4->isEnabled());
  D->SE1->SetValue(1);
  EXPECT_EQ(D->SE1->Value(), 1);
  Click(D->RBProgressif);
  EXPECT_TRUE(D->SE4->isEnabled());
  EXPECT_EQ(D->SE1->Value(), 20);
  // The eyedropper sets the shadow colour unless the canvas button is down.
  EXPECT_TRUE(D->SB2->isChecked());
  D->ChangerCouleur(0x112233);
  EXPECT_EQ(D->ColorEdit2->Color(), 0x112233);
  Click(D->SB1);
  D->ChangerCouleur(0x445566);
  EXPECT_EQ(D->ColorEdit1->Color(), 0x445566);
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
