// Image > Canvas size: the nine anchors, cropping, the fill of the added
// area, the layers keeping their place on the picture, and undo.
#include "ImageDialogFixture.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/Rec.h"
#include "raster/Bitmap24.h"
#include "ui/ColorEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

namespace {

class RecFormTest : public ImageDialogFixture {
protected:
  TRecadrerForm* OpenRec() { return Open<TRecadrerForm>("MenuImageZone"); }
  // The canvas made W x H at anchor Index (-1: as the dialog stands).
  void Resize(int W, int H, int Index = -1, TColor Fill = clNone) {
    TRecadrerForm* D = OpenRec();
    ASSERT_TRUE(D);
    if (Index >= 0) Click(D->ToolBar->Button(Index));
    if (Fill != clNone) D->ColorEdit->SetColor(Fill);
    Type(D->EdiL, QString::number(W));
    Type(D->EdiH, QString::number(H));
    Click(D->BOk);
    EXPECT_FALSE(D->isVisible());
  }
  // What the background must be: Fill, with the original at (X, Y).
  std::unique_ptr<TBitmap> Placed(int W, int H, int X, int Y, TColor Fill) const {
    auto B = std::make_unique<TBitmap>(W, H, pf24bit, Fill);
    CopyBitmap24(Original, *B, X, Y);
    return B;
  }
};

TEST_F(RecFormTest, EachAnchorPlacesThePictureAndTheLayersMoveWithIt) {
  OpenImage(10, 10, true);
  // 10 x 10 into 14 x 12: columns 0, 2, 4 and rows 0, 1, 2.
  for (int Index = 0; Index < 9; ++Index) {
    const int X = Index % 3 * 2, Y = Index / 3;
    Resize(14, 12, Index, 0x00FF00);
    EXPECT_IMAGES_MATCH(Form->LeFond(), *Placed(14, 12, X, Y, 0x00FF00), 0, "anchor" + std::to_string(Index));
    EXPECT_EQ(Layer(1).Pos.X, 3 + X) << Index;
    EXPECT_EQ(Layer(1).Pos.Y, 2 + Y) << Index;
    Undo();
    EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
    EXPECT_EQ(Layer(1).Pos.X, 3);
    EXPECT_EQ(Layer(1).Pos.Y, 2);
  }
  // The chosen anchor stays for the next time.
  TRecadrerForm* D = OpenRec();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ToolBar->Position(), poBottomRight);
  EXPECT_TRUE(D->ToolBar->Button(8)->isChecked());
  EXPECT_FALSE(D->ToolBar->Button(4)->isChecked());
}

TEST_F(RecFormTest, CentredOddDifferencesRoundTowardZeroAndShrinkingCrops) {
  OpenImage(100, 100);
  Resize(101, 101, 4);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Placed(101, 101, 0, 0, clWhite));
  Undo();
  Resize(99, 99, 4);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Placed(99, 99, 0, 0, clWhite));
  // Percent of the present size: 50 % of 99 is 49.5, the even 50.
  TRecadrerForm* D = OpenRec();
  ASSERT_TRUE(D);
  D->CmbUnit->setCurrentIndex(1);
  Type(D->EdiL, "50");
  EXPECT_EQ(D->Display->EdiLargeur->text(), "50");
  Click(D->BAnnuler);
}

TEST_F(RecFormTest, SameSizeClosesWithoutAnUndoStep) {
  OpenImage(30, 20, true);
  Resize(30, 20);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(RecFormTest, OnABackgroundWithAMaskTheAddedAreaIsTransparent) {
  OpenImage(10, 10, false, true);
  TBitmap OldMask;
  OldMask.Assign(Form->LeMasque());
  TRecadrerForm* D = OpenRec();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->ColorEdit->isEnabled());
  EXPECT_EQ(D->ColorEdit->Color(), clWhite);
  EXPECT_FALSE(D->Pattern->CBMotif->isEnabled());
  Click(D->BAnnuler);
  Resize(12, 10, 5);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Placed(12, 10, 2, 0, clWhite));
  TBitmap Mask(12, 10, pf24bit, clWhite);
  CopyBitmap24(OldMask, Mask, 2, 0);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), Mask);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeMasque(), OldMask);
}

TEST_F(RecFormTest, FewColoursFixTheFillToThePixelAtTheOriginAndPicksFollowTheRules) {
  OpenImage(10, 10);
  Form->Image().ColorCount = 256;
  TRecadrerForm* D = OpenRec();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ColorEdit->Color(), Form->LeFond().PixelColor(0, 0));
  EXPECT_TRUE(D->ColorEdit->ReadOnly());
  EXPECT_FALSE(D->Pattern->CBMotif->isEnabled());
  Click(D->BAnnuler);
  Form->Image().ColorCount = 16777216;
  D = OpenRec();
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->Pattern->CBMotif->isEnabled());
  D->ChangerCouleur(0x123456);
  EXPECT_EQ(D->ColorEdit->Color(), 0x123456);
  Click(D->BAnnuler);
}

} // namespace
