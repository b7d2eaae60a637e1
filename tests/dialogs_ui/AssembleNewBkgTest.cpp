// Edit > Assemble and Layer > Insert a background > Plain: the clipboard
// image set on each side with the canvas grown, the gap and transparent
// parts in the palette's background colour, masks carried where the
// background has one, the layers following a picture that moved; a plain
// background slid under the layers. Undo gives the exact original back.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Assembl.h"
#include "dialogs/ui/NewBkg.h"
#include "document/ui/Past.h"
#include "raster/Bitmap24.h"
#include "tools/ui/Outils.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"

#include <QRadioButton>

namespace {

class AssembleNewBkgTest : public ImageDialogFixture {
protected:
  void SetUp() override {
    ImageDialogFixture::SetUp();
    ASSERT_TRUE(WaitUntil([this] { return Form->Palette() != nullptr; }));
    Form->Palette()->SetColor(0x00FF00, true);
  }
  // A W x H picture of Colour on the clipboard, with Mask when given.
  void CopyToClipboard(int W, int H, TColor Colour, const TBitmap* Mask = nullptr) {
    Clip.Assign(TBitmap(W, H, pf24bit, Colour));
    ClipboardData().Assign(&Clip, Mask, 96);
    ASSERT_TRUE(WaitUntil([this] { return Form->CollagePossible(true); }));
  }
  void Assemble(int Side) {
    auto* D = Open<TAssemblerForm>("MenuEditionAssembler", "MenuEdition");
    ASSERT_TRUE(D);
    Click(D->RGPos->Button(Side));
    Click(D->BOk);
    EXPECT_FALSE(D->isVisible());
  }
  TBitmap Clip;
};

struct TSideCase {
  int Side, W, H, PicX, PicY, ClipX, ClipY;
};

TEST_F(AssembleNewBkgTest, EachSideGrowsTheCanvasAndTheGapTakesThePaletteColour) {
  OpenImage(100, 60, true);
  // A 50 x 80 picture beside, a 120 x 30 one above or below.
  const TSideCase Cases[] = {{0, 150, 80, 0, 0, 100, 0},
                             {2, 150, 80, 50, 0, 0, 0},
                             {1, 120, 90, 0, 0, 0, 60},
                             {3, 120, 90, 0, 30, 0, 0}};
  for (const TSideCase& C : Cases) {
    const bool Across = C.Side % 2 == 0;
    CopyToClipboard(Across ? 50 : 120, Across ? 80 : 30, 0x0000FF);
    Assemble(C.Side);
    TBitmap Expected(C.W, C.H, pf24bit, 0x00FF00);
    CopyBitmap24(Original, Expected, C.PicX, C.PicY);
    CopyBitmap24(Clip, Expected, C.ClipX, C.ClipY);
    EXPECT_IMAGES_MATCH(Form->LeFond(), Expected, 0, "side" + std::to_string(C.Side));
    EXPECT_EQ(Layer(1).Pos.X, 3 + C.PicX) << C.Side;
    EXPECT_EQ(Layer(1).Pos.Y, 2 + C.PicY) << C.Side;
    Undo();
    EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
    EXPECT_EQ(Layer(1).Pos.X, 3);
    EXPECT_EQ(Layer(1).Pos.Y, 2);
  }
  // The side is offered again.
  auto* D = Open<TAssemblerForm>("MenuEditionAssembler", "MenuEdition");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->RGPos->ItemIndex(), 3);
  Click(D->BAnnuler);
}

TEST_F(AssembleNewBkgTest, TransparencyIsFlattenedOntoAnOpaqueBackgroundAndKeptInAMask) {
  // Half of the clipboard picture is transparent.
  TBitmap Mask(10, 10, pf24bit, clBlack);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 5; X < 10; ++X) SetPx(Mask, X, Y, Grey(255));
  OpenImage(20, 10);
  CopyToClipboard(10, 10, 0x0000FF, &Mask);
  Assemble(0);
  EXPECT_EQ(Px(Form->LeFond(), 22, 3), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Form->LeFond(), 27, 3), Rgb(0, 255, 0));
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);

  // A background with a mask keeps the picture's transparency; a picture
  // without one is opaque there, and the added gap is transparent.
  OpenImage(20, 6, false, true);
  TBitmap OldMask;
  OldMask.Assign(Form->LeMasque());
  CopyToClipboard(10, 10, 0x0000FF, &Mask);
  Assemble(0);
  TBitmap Expected(30, 10, pf24bit, clWhite);
  CopyBitmap24(OldMask, Expected, 0, 0);
  CopyBitmap24(Mask, Expected, 20, 0);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), Expected);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeMasque(), OldMask);
  CopyToClipboard(10, 10, 0x0000FF);
  Assemble(1);
  EXPECT_EQ(Px(Form->LeMasque(), 3, 8), Grey(0));
  EXPECT_EQ(Px(Form->LeMasque(), 15, 8), Grey(255));
}

TEST_F(AssembleNewBkgTest, APlainBackgroundSlidesUnderTheLayersAndUndoRemovesIt) {
  OpenImage(30, 20, true);
  Form->Image().Layers()[1].Caption = QStringLiteral("#4");
  auto* D = Open<TNewBkgForm>("MenuCalqueFond1", "MenuCalque");
  ASSERT_TRUE(D);
  D->ChangerCouleur(0x336699);
  Click(D->BOk);
  ASSERT_EQ(Form->Image().Layers().Count(), 3);
  EXPECT_EQ(Layer(0).Caption, QStringLiteral("#0"));
  EXPECT_IMAGES_MATCH(Layer(0).Bitmap(), TBitmap(30, 20, pf24bit, 0x336699));
  EXPECT_EQ(Layer(1).Caption, QStringLiteral("#5"));
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), Original);
  EXPECT_EQ(Layer(2).Caption, QStringLiteral("#4"));
  EXPECT_EQ(UndoSteps(), 1);
  Undo();
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Layer(0).Caption, QStringLiteral("#0"));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  Redo();
  ASSERT_EQ(Form->Image().Layers().Count(), 3);
  EXPECT_EQ(Layer(1).Caption, QStringLiteral("#5"));
  EXPECT_IMAGES_MATCH(Layer(0).Bitmap(), TBitmap(30, 20, pf24bit, 0x336699));
}

} // namespace
