// The histogram dialog on a real main window: it opens only on more than 100
// pixels, shows the statistics of the channel chosen, its levels equal the
// levels routine called directly, the pipettes move the cursors to the
// picked pixel's values, and Cancel leaves nothing behind.
#include "FilterDialogFixture.h"

#include "filters/Filtres24.h"
#include "filters/Histogram.h"
#include "filters/ui/HistogForm.h"
#include "ui/MySlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>

namespace {

class HistogFormTest : public FilterDialogFixture {
protected:
  THistogForm* OpenHistogram() {
    emit Form->MenuNamed("MenuReglage")->aboutToShow();
    Form->MenuItem("MenuReglageHistog")->trigger();
    auto* D = Form->findChild<THistogForm*>();
    return D && D->isVisible() ? D : nullptr;
  }
  void NewImage(const TBitmap& B) { Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216); }
};

TEST_F(HistogFormTest, OpensOnlyOnMoreThanAHundredPixels) {
  NewImage(TBitmap(10, 10, pf24bit, clWhite));
  EXPECT_EQ(OpenHistogram(), nullptr);
  EXPECT_EQ(UndoSteps(), 0);
  // 101 greys 0..100: median 49, mean 50.
  TBitmap Ramp(101, 1, pf24bit);
  for (int X = 0; X <= 100; ++X) SetPx(Ramp, X, 0, Grey(X));
  NewImage(Ramp);
  THistogForm* D = OpenHistogram();
  ASSERT_TRUE(D);
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(D->windowTitle(), "Histogramme");
  // The captions a user reads, without a language module.
  for (auto [Button, Text] : {std::pair<QAbstractButton*, const char*>{D->BApercu, "Aperçu"}, {D->BOk, "Ok"},
                              {D->BAnnuler, "Annuler"}, {D->CBRealTime, "Aperçu direct"}, {D->CBMajHisto, "Histogramme"}})
    EXPECT_EQ(Button->text(), QString::fromUtf8(Text));
  EXPECT_EQ(D->LblMediane->text(), QString::fromUtf8("Médiane : 49"));
  EXPECT_EQ(D->LblMoyenne->text(), "Moyenne : 50.00");
  EXPECT_EQ(D->LblPixels->text(), "101 pixels");
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(HistogFormTest, LevelsThroughTheDialogEqualTheRoutine) {
  THistogForm* D = OpenHistogram();
  ASSERT_TRUE(D);
  // The middle cursor 64 down (keys), then the red channel's white to 200.
  ASSERT_EQ(D->SliderIn->CurrentCursor(), 1);
  for (int I = 0; I < 8; ++I) QTest::keyClick(D->SliderIn, Qt::Key_PageDown);
  const double Gamma = GammaFromMiddle(0, 63, 255);
  EXPECT_EQ(D->LblIn->text(), QStringLiteral("Niveau : %1").arg(Gamma, 0, 'f', 2));
  D->CmbCouche->setCurrentIndex(1);
  EXPECT_EQ(D->SliderIn->GetPosition(1), 127); // the red channel's own cursors
  D->SliderIn->SetCurrentCursor(2);
  QTest::keyClick(D->SliderIn, Qt::Key_End);
  for (int I = 0; I < 55; ++I) QTest::keyClick(D->SliderIn, Qt::Key_Left);
  EXPECT_EQ(D->SliderIn->GetPosition(2), 200);
  EXPECT_EQ(D->SliderIn->GetPosition(1), 100); // follows the kept gamma 1
  // The composite's values come back with its channel.
  D->CmbCouche->setCurrentIndex(0);
  EXPECT_EQ(D->SliderIn->GetPosition(1), 63);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect& R) {
    Levels24(B, Gamma, 0, 255, 0, 255, R);
    LevelsRGB24(B, 1.0, 0, 200, 0, 255, 1.0, 0, 255, 0, 255, 1.0, 0, 255, 0, 255, R);
  }));
  EXPECT_EQ(UndoSteps(), 1);
  // Not repeatable.
  EXPECT_FALSE(Form->LastFilter().Event);
}

TEST_F(HistogFormTest, PipettesMoveTheCursorsToThePickedValues) {
  THistogForm* D = OpenHistogram();
  ASSERT_TRUE(D);
  ASSERT_TRUE(D->SB1->isChecked());
  const TRGB P = Px(Original, 7, 9);
  PickOnImage(D, 7, 9);
  EXPECT_EQ(D->SliderIn->GetPosition(0), std::max({P.Red, P.Green, P.Blue}));
  D->SB2->click();
  EXPECT_FALSE(D->SB1->isChecked());
  D->CmbCouche->setCurrentIndex(3);
  const TRGB Q = Px(Original, 30, 20);
  PickOnImage(D, 30, 20);
  EXPECT_EQ(D->SliderIn->GetPosition(2), Q.Blue);
  // With live preview a pick previews at once; Cancel restores once.
  D->CBRealTime->setChecked(true);
  D->SB1->click();
  PickOnImage(D, 3, 3);
  EXPECT_TRUE(D->Preview);
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(HistogFormTest, OkAtIdentityIsACancelAndResetRestores) {
  THistogForm* D = OpenHistogram();
  ASSERT_TRUE(D);
  QTest::keyClick(D->SliderIn, Qt::Key_PageUp);
  Click(D->BApercu);
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original));
  Click(D->BReset);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(D->SliderIn->GetPosition(1), 127);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
