// Image > Transformation > Offset: the circular shift of the background and
// its mask, the layers moved without wrapping, previews applied and taken
// back, Cancel restoring exactly, and undo.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Decaler.h"
#include "raster/ImgUtils.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class DecalerFormTest : public ImageDialogFixture {
protected:
  TDecalerForm* OpenDecaler() { return Open<TDecalerForm>("MenuImageDecaler", "MenuImage"); }
  std::unique_ptr<TBitmap> Shifted(const TBitmap& Source, int DX, int DY) const {
    auto B = std::make_unique<TBitmap>();
    B->Assign(Source);
    WrapShiftHorizontal(*B, DX);
    WrapShiftVertical(*B, DY);
    return B;
  }
};

TEST_F(DecalerFormTest, RightAndDownWrapTheBackgroundAndMoveTheLayers) {
  OpenImage(100, 20, true, true);
  TBitmap OldMask;
  OldMask.Assign(Form->LeMasque());
  TDecalerForm* D = OpenDecaler();
  ASSERT_TRUE(D);
  Type(D->SEDX, "10");
  Type(D->SEDY, "3");
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  // Column 90 came round to column 0; the mask went with the pixels.
  EXPECT_EQ(Px(Form->LeFond(), 0, 3), Px(Original, 90, 0));
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, 10, 3));
  EXPECT_IMAGES_MATCH(Form->LeMasque(), *Shifted(OldMask, 10, 3));
  EXPECT_EQ(Layer(1).Pos.X, 13);
  EXPECT_EQ(Layer(1).Pos.Y, 5);
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), OldMask);
  EXPECT_EQ(Layer(1).Pos.X, 3);
  EXPECT_EQ(Layer(1).Pos.Y, 2);
  Redo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, 10, 3));
  EXPECT_EQ(Layer(1).Pos.X, 13);
}

TEST_F(DecalerFormTest, LeftBringsColumnTenToTheEdge) {
  OpenImage(100, 20);
  TDecalerForm* D = OpenDecaler();
  ASSERT_TRUE(D);
  Click(D->RBGauche);
  Type(D->SEDX, "10");
  Type(D->SEDY, "0");
  Click(D->BOk);
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Px(Original, 10, 0));
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, -10, 0));
}

TEST_F(DecalerFormTest, PreviewsReplaceEachOtherAndCancelRestoresExactly) {
  OpenImage(40, 30, true);
  TDecalerForm* D = OpenDecaler();
  ASSERT_TRUE(D);
  Type(D->SEDX, "5");
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, 5, 0));
  Click(D->RBHaut);
  Type(D->SEDY, "7");
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, 5, -7));
  EXPECT_EQ(Layer(1).Pos.X, 8);
  EXPECT_EQ(Layer(1).Pos.Y, -5);
  Click(D->BAnnuler);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(1).Pos.X, 3);
  EXPECT_EQ(Layer(1).Pos.Y, 2);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(DecalerFormTest, LivePreviewFollowsTypingAndUntickingTakesItBack) {
  OpenImage(40, 30, true);
  TDecalerForm* D = OpenDecaler();
  ASSERT_TRUE(D);
  Click(D->CBPreview);
  EXPECT_FALSE(D->BApercu->isEnabled());
  Type(D->SEDX, "12");
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Shifted(Original, 12, 0));
  Click(D->CBPreview);
  EXPECT_TRUE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(1).Pos.X, 3);
  // Both distances 0 at Ok: nothing changes and no undo step remains.
  Type(D->SEDX, "0");
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

} // namespace
