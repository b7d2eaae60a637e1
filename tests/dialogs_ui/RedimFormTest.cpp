// Image > Image size: the units and proportions as typed, the resampling of
// the background and of the layers above, the resolution, and undo.
#include "ImageDialogFixture.h"

#include "app/ModifInfo.h"
#include "dialogs/ui/Redim.h"
#include "raster/TransformFunc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

class RedimFormTest : public ImageDialogFixture {
protected:
  TRedimForm* OpenRedim() { return Open<TRedimForm>("MenuImageRedim"); }
};

TEST_F(RedimFormTest, HalfInPercentScalesEveryLayerAndUndoRestoresThemExactly) {
  OpenImage(1001, 500, true);
  TBitmap LayerPixels;
  LayerPixels.Assign(Layer(1).Bitmap());
  TRedimForm* D = OpenRedim();
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->CBTous->isVisible());
  EXPECT_TRUE(D->CBTous->isChecked());
  D->CmbUnit->setCurrentIndex(1);
  EXPECT_EQ(D->EdiL->text(), "100.00");
  Type(D->EdiL, "50");
  // 500.5 rounds to the even 500; the height follows the proportions.
  EXPECT_EQ(D->Display->EdiLargeur->text(), "500");
  EXPECT_EQ(D->Display->EdiHauteur->text(), "250");
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  TBitmap Expected, NoMask, NoMaskOut;
  Expected.Assign(Original);
  ScaleBitmapAndMask(500, 250, 5, nullptr, nullptr, Expected, NoMask);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  // 6 x 4 at (3, 2) times 500/1001 and 1/2.
  EXPECT_EQ(Layer(1).Bitmap().Width(), 3);
  EXPECT_EQ(Layer(1).Bitmap().Height(), 2);
  EXPECT_EQ(Layer(1).Pos.X, 1);
  EXPECT_EQ(Layer(1).Pos.Y, 1);
  EXPECT_EQ(Form->Image().ResolutionX, 96);

  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  EXPECT_EQ(Layer(1).Pos.X, 3);
  EXPECT_EQ(Layer(1).Pos.Y, 2);
}

TEST_F(RedimFormTest, OnlyANewResolutionResamplesNothingAndUndoBringsTheOldOneBack) {
  OpenImage(40, 30);
  TRedimForm* D = OpenRedim();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->CBTous->isVisible());
  Type(D->EdiRes, "300");
  EXPECT_EQ(D->EdiL->text(), "40");
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Form->Image().ResolutionX, 300);
  ASSERT_EQ(UndoSteps(), 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->GetFlag(2), miBkgNone);
  Undo();
  EXPECT_EQ(Form->Image().ResolutionX, 96);
}

TEST_F(RedimFormTest, CentimetresKeepProportionsAndANewResolutionShowsThePresentSize) {
  OpenImage(200, 100);
  TRedimForm* D = OpenRedim();
  ASSERT_TRUE(D);
  D->CmbUnit->setCurrentIndex(2);
  // 10 cm at 96 pixels per inch: 377.95 gives 378, the height 189.
  Type(D->EdiL, "10");
  EXPECT_EQ(D->Display->EdiLargeur->text(), "378");
  EXPECT_EQ(D->Display->EdiHauteur->text(), "189");
  EXPECT_EQ(D->EdiH->text(), "5.00");
  // Switching to pixels per centimetre converts the field only.
  D->CmbRes->setCurrentIndex(1);
  EXPECT_EQ(D->EdiRes->text(), "37.80");
  EXPECT_EQ(D->EdiL->text(), "10");
  D->CmbRes->setCurrentIndex(0);
  Type(D->EdiRes, "200");
  EXPECT_EQ(D->EdiL->text(), "2.54");
  EXPECT_EQ(D->EdiH->text(), "1.27");
  // A side of 0 is refused and the dialog stays.
  Type(D->EdiL, "0");
  Click(D->BOk);
  EXPECT_EQ(Messages.size(), 1);
  EXPECT_TRUE(D->isVisible());
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_EQ(Form->Image().ResolutionX, 96);
}

TEST_F(RedimFormTest, NearestNeighbourCopiesPixelsAndOneColumnAlwaysDoes) {
  OpenImage(20, 10);
  TRedimForm* D = OpenRedim();
  ASSERT_TRUE(D);
  D->CmbFiltres->setCurrentIndex(7); // Mitchell, but a side of 1
  D->CBProportions->setChecked(false);
  Type(D->EdiL, "1");
  Type(D->EdiH, "30");
  Click(D->BOk);
  TBitmap Expected, NoMask;
  Expected.Assign(Original);
  ScaleBitmapAndMask(1, 30, 0, nullptr, nullptr, Expected, NoMask);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
}

} // namespace
