// The colour dialogs on a real main window: range replacement by a hue,
// the background's transparent colour (new, combined, cancelled) and the
// transparency mask, each against the routines called directly.
#include "FilterDialogFixture.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChgCouleur2Form.h"
#include "filters/ui/TransparencyForms.h"
#include "filters/ui/VarianteForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/ColorEdit.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <cmath>

namespace {

using ColorDialogsTest = FilterDialogFixture;

TEST_F(ColorDialogsTest, RangeReplacementTakesTheHueOfTheRampAndRepeats) {
  auto* D = Open<TChgCouleur2Form>("MenuReglageRemplacer2");
  ASSERT_TRUE(D);
  EXPECT_EQ(UndoSteps(), 1);
  PickOnImage(D, 12, 7);
  const TColor Picked = ColorAt(Original, 12, 7);
  EXPECT_EQ(D->ColorEdit1->Color(), Picked);
  // A click on the ramp a third of the way: hue Trunc(x / ScaleX).
  const int X = D->ImgDegrade->width() / 3;
  QTest::mouseClick(D->ImgDegrade, Qt::LeftButton, {}, QPoint(X, 5));
  const int Hue = int(std::trunc(X / D->ScaleX));
  EXPECT_EQ(D->TBN->Position(), Hue);
  EXPECT_EQ(D->LblN->text(), QString::number(Hue) + QChar(0x00B0));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  const auto Replace = [&](TBitmap& B, const TRect& R) { ReplaceColorHue24(B, Picked, HSVToColor(Hue, 255, 255), 50, R); };
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected(Replace));
  EXPECT_EQ(UndoSteps(), 1);
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  ASSERT_TRUE(Form->MenuItem("MenuEditionRepeter")->isEnabled());
  Form->MenuItem("MenuEditionRepeter")->trigger();
  EXPECT_EQ(UndoSteps(), 2);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect& R) {
    Replace(B, R);
    Replace(B, R);
  }));
}

TEST_F(ColorDialogsTest, TransparentColourOfABackgroundWithoutOne) {
  ASSERT_FALSE(Form->LeFond().Transparent);
  auto* D = Open<TCouleurTransForm>("MenuImageCouleurTrans", "MenuImage");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->RBCombiner->isVisible());
  EXPECT_EQ(D->BApercu->text(), QString::fromUtf8("Aperçu"));
  EXPECT_EQ(D->BAnnuler->text(), "Annuler");
  EXPECT_FALSE(D->CBAnnulerTransp->isVisible());
  EXPECT_EQ(D->ColorEdit->Color(), ColorAt(Original, 0, 0));
  PickOnImage(D, 5, 5);
  const TColor Picked = ColorAt(Original, 5, 5);
  // A preview then Cancel: the pixels and the transparency come back.
  Click(D->BApercu);
  EXPECT_TRUE(Form->LeFond().Transparent);
  Click(D->BAnnuler);
  EXPECT_FALSE(Form->LeFond().Transparent);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);

  D = Open<TCouleurTransForm>("MenuImageCouleurTrans", "MenuImage");
  ASSERT_TRUE(D);
  D->ChangerCouleur(Picked);
  Click(D->BOk);
  EXPECT_TRUE(Form->LeFond().Transparent);
  EXPECT_EQ(Form->LeFond().TransparentColor(), Picked);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect& R) { ReplaceColor24(B, Picked, Picked, 30, R); }));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(ColorDialogsTest, CombineMergesNearPixelsIntoTheExistingTransparentColour) {
  const TColor Existing = RGB(1, 2, 3);
  Form->LeFond().SetTransparentColor(Existing);
  Form->LeFond().Transparent = true;
  auto* D = Open<TCouleurTransForm>("MenuImageCouleurTrans", "MenuImage");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->RBCombiner->isVisible() && D->RBCombiner->isChecked());
  EXPECT_EQ(D->ColorEdit->Color(), Existing);
  PickOnImage(D, 20, 10);
  const TColor Picked = ColorAt(Original, 20, 10);
  Click(D->BOk);
  EXPECT_EQ(Form->LeFond().TransparentColor(), Existing);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect& R) { ReplaceColor24(B, Picked, Existing, 30, R); }));

  // "Désactiver la transparence": the pixels stay, the transparency goes.
  D = Open<TCouleurTransForm>("MenuImageCouleurTrans", "MenuImage");
  ASSERT_TRUE(D);
  D->CBAnnulerTransp->setChecked(true);
  EXPECT_FALSE(D->RBCombiner->isEnabled());
  Click(D->BOk);
  EXPECT_FALSE(Form->LeFond().Transparent);
}

TEST_F(ColorDialogsTest, TransparencyMaskWithEachEdgeEffect) {
  for (int Effect : {edNone, edSmooth, edProgressive}) {
    auto* D = Open<TMaskCoulForm>("MenuImageMaskTransp", "MenuImage");
    ASSERT_TRUE(D);
    EXPECT_EQ(D->RGEffet->ItemIndex(), edSmooth);
    EXPECT_EQ(D->TBN->Position(), 30);
    PickOnImage(D, 9, 9);
    const TColor Picked = ColorAt(Original, 9, 9);
    QTest::mouseClick(D->RGEffet->Button(Effect), Qt::LeftButton, {}, QPoint(5, 8));
    Click(D->BOk);
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect&) {
      MaskFromBackground(B, Picked, 30, Effect);
    }));
    EXPECT_EQ(Form->NbCouleurs(), 256);
    Form->MenuItem("MenuEditionUndo")->trigger();
    ASSERT_TRUE(ImagesMatch(Form->LeBitmap(), Original));
  }
  // The mask: 255 on the picked colour, 0 elsewhere.
  TBitmap Two(4, 1, pf24bit, clBlack);
  SetPx(Two, 2, 0, Rgb(250, 250, 250));
  MaskFromBackground(Two, clWhite, 10, edNone);
  EXPECT_EQ(Px(Two, 2, 0), Grey(255));
  EXPECT_EQ(Px(Two, 1, 0), Grey(0));
}

TEST_F(ColorDialogsTest, HueVariationPreviewsInsideTheDialogAndAppliesOnOk) {
  auto* D = Open<TVarianteForm>("MenuFiltreVariante", "MenuFiltre");
  ASSERT_TRUE(D);
  EXPECT_EQ(UndoSteps(), 0); // its own record comes with Ok
  EXPECT_EQ(D->TBN->Position(), 50);
  ASSERT_GT(D->RApercu.Width(), 0);
  // Method 2 and a hue from the ramp: the thumbnail shows it, the image not.
  TBitmap Before;
  Before.Assign(D->ImgApercu->Bitmap());
  QTest::mouseClick(D->RB2, Qt::LeftButton, {}, QPoint(5, 8));
  const int X = D->ImgDegrade->width() / 2;
  QTest::mouseClick(D->ImgDegrade, Qt::LeftButton, {}, QPoint(X, 5));
  const int Hue = int(std::trunc(X / D->ScaleX));
  EXPECT_EQ(D->TBN->Position(), Hue);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  const TRect R = D->RApercu;
  const TBitmap& After = D->ImgApercu->Bitmap();
  const TPoint Inside{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  EXPECT_NE(Px(After, Inside.X, Inside.Y), Px(Before, Inside.X, Inside.Y));
  EXPECT_EQ(Px(After, 0, 0), Px(Before, 0, 0)); // the frame around stays
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  const auto Tint = [&](TBitmap& B, const TRect& Rect) { VarianteColors24(B, false, HSVToColor(Hue, 255, 255), Rect); };
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected(Tint));
  EXPECT_EQ(UndoSteps(), 1);
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionRepeter")->trigger();
  EXPECT_EQ(UndoSteps(), 2);
}

TEST_F(ColorDialogsTest, HueVariationPreviewChangesOnlyTheSelectedPart) {
  // The left half selected.
  TMyImageLayeredView* View = Form->EnfantActif()->Image;
  View->SelectionMode = TSelMode::smShape;
  const TRect Client = View->BmpToClient(TRect{0, 0, 20, 30});
  Form->ImageSelecting(Client, soStart);
  Form->ImageSelecting(Client, soChanging);
  Form->ImageSelecting(Client, soEnd);
  ASSERT_TRUE(Form->Sel()->Visible());
  auto* D = Open<TVarianteForm>("MenuFiltreVariante", "MenuFiltre");
  ASSERT_TRUE(D);
  TBitmap Layer, Thumb(D->ImgApercu->width(), D->ImgApercu->height(), pf24bit, clWhite);
  Layer.Assign(Original);
  ASSERT_EQ(DrawThumbnail24(Layer, Thumb, clWhite, 2, 4, clDlgPanel), D->RApercu);
  const TRect R = D->RApercu;
  const TBitmap& Shown = D->ImgApercu->Bitmap();
  const int Y = (R.Top + R.Bottom) / 2;
  int Changed = 0;
  for (int X = R.Left; X < R.Right; ++X) {
    const int Quarter = (X - R.Left) * 4 / R.Width();
    if (Quarter == 3) EXPECT_EQ(Px(Shown, X, Y), Px(Thumb, X, Y)) << X; // outside
    if (Quarter == 0) Changed += Px(Shown, X, Y) != Px(Thumb, X, Y);
  }
  EXPECT_GT(Changed, 0);
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

} // namespace
