// Edit > Optimised cut-out: an object on a plain background cut out into a
// new image or onto the clipboard with its transparency; the preview shows
// the checkerboard; the image itself never changes; an empty selection is
// refused.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Detour.h"
#include "document/ui/MyCustomImage.h"
#include "document/ui/Past.h"
#include "document/ui/SelectionControl.h"
#include "raster/Bitmap24.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QRadioButton>

namespace {

class DetourFormTest : public ImageDialogFixture {
protected:
  // A 30 x 20 white picture with a red 10 x 6 block at (10, 7), selected
  // from (5, 5) to (25, 15).
  void OpenObject() {
    TMyImageLayered Doc;
    TBitmap B(30, 20, pf24bit, clWhite);
    for (int Y = 7; Y < 13; ++Y)
      for (int X = 10; X < 20; ++X) SetPx(B, X, Y, Rgb(200, 0, 0));
    Doc.AddBackground(&B, nullptr, QStringLiteral("#0"));
    Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
    Form->Image().ResolutionX = 150;
    Original.Assign(Form->LeFond());
    Form->Sel()->SetShape(ssRect);
    Form->Sel()->SetBmpSelRect({5, 5, 25, 15});
    Form->AfficherSelection();
  }
  // The cut-out's mask: 0 on the block, 255 around it.
  static void ExpectBlockKept(const TBitmap& Mask) {
    ASSERT_EQ(Mask.Width(), 20);
    ASSERT_EQ(Mask.Height(), 10);
    int Wrong = 0;
    for (int Y = 0; Y < 10; ++Y)
      for (int X = 0; X < 20; ++X) {
        const bool Block = X >= 5 && X < 15 && Y >= 2 && Y < 8;
        Wrong += Px(Mask, X, Y) != (Block ? Grey(0) : Grey(255));
      }
    EXPECT_EQ(Wrong, 0);
  }
  TDetourForm* OpenDetour(int Effect, int Result) {
    auto* D = Open<TDetourForm>("MenuEditionDetourage", "MenuEdition");
    if (!D) return nullptr;
    D->RGEffet->Button(Effect)->click();
    D->RGResultat->Button(Result)->click();
    return D;
  }
};

TEST_F(DetourFormTest, ANewImageGetsTheObjectWithTheBackgroundTransparent) {
  OpenObject();
  TNewImgForm* Source = Form->EnfantActif();
  TDetourForm* D = OpenDetour(0, 1);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->TBN->Position(), 12);
  EXPECT_TRUE(D->RBAll->isChecked());
  // The preview shows the checkerboard where the background goes.
  Click(D->BApercu);
  ASSERT_TRUE(D->MyImage);
  const TBitmap& View = D->MyImage->Bitmap();
  EXPECT_NE(Px(View, 0, 0), Grey(255));
  EXPECT_EQ(Px(View, 7, 4), Rgb(200, 0, 0));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  ASSERT_NE(Form->EnfantActif(), Source);
  EXPECT_EQ(Form->Image().ResolutionX, 150);
  EXPECT_TRUE(Form->ModeRGBA(false));
  TBitmap Crop(20, 10, pf24bit, clWhite);
  CopyRect24(Original, {5, 5, 25, 15}, Crop, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Crop);
  ExpectBlockKept(Form->LeMasque());
  // The source is untouched and has no new step.
  EXPECT_IMAGES_MATCH(Source->Image->Image().Layers()[0].Bitmap(), Original);
  EXPECT_EQ(Source->ListeUndo->Count(), 0);
}

TEST_F(DetourFormTest, TheClipboardGetsTheCropAndItsMaskAndCancelLeavesItAlone) {
  OpenObject();
  TDetourForm* D = OpenDetour(0, 0);
  ASSERT_TRUE(D);
  Click(D->BOk);
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_EQ(Bmp.Width(), 20);
  ExpectBlockKept(Mask);
  EXPECT_EQ(ClipboardData().GetDPI(), 150);
  EXPECT_EQ(ImageWindows().size(), 1u);
  // Cancel: neither the image nor the clipboard changes.
  QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
  D = OpenDetour(0, 0);
  ASSERT_TRUE(D);
  Click(D->BApercu);
  Click(D->BAnnuler);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(DetourFormTest, EffectsSoftenTheEdgeInsideTheObject) {
  OpenObject();
  // "Flou": the kept part shrinks by 1, then its edge softens, so the
  // block's centre stays opaque and its edge becomes partly transparent.
  TDetourForm* D = OpenDetour(2, 0);
  ASSERT_TRUE(D);
  Click(D->BOk);
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_EQ(Px(Mask, 9, 4), Grey(0));
  EXPECT_GT(Px(Mask, 6, 3).Blue, 0);
  EXPECT_LT(Px(Mask, 6, 3).Blue, 255);
  EXPECT_EQ(Px(Mask, 0, 0), Grey(255));
}

TEST_F(DetourFormTest, ASelectionOutsideTheLayerIsRefused) {
  OpenObject();
  Form->Sel()->SetBmpSelRect({40, 40, 60, 60});
  emit Form->MenuNamed(QStringLiteral("MenuEdition"))->aboutToShow();
  Form->MenuItem(QStringLiteral("MenuEditionDetourage"))->trigger();
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], QStringLiteral("Aucun pixel à traiter !"));
  auto* D = Form->findChild<TDetourForm*>();
  EXPECT_TRUE(!D || !D->isVisible());
}

} // namespace
