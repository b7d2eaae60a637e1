// The custom kernel, the gradient overlay and the fade, driven from their
// menu items against the routines called directly.
#include "FilterDialogFixture.h"

#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/ui/CustomFilterForms.h"
#include "raster/RandomGen.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QRadioButton>

namespace {

class CustomFilterTest : public FilterDialogFixture {
protected:
  TPersoForm* OpenPerso() { return Open<TPersoForm>("MenuFiltrePerso", "MenuFiltre"); }
  static void SetKernel(TPersoForm* D, int Cells, int Divisor) {
    for (int I = 0; I < 25; ++I) D->SE[I]->SetValue(Cells);
    D->SE[25]->SetValue(Divisor);
  }
  // Original convolved with every cell Cells and the divisor Divisor.
  std::unique_ptr<TBitmap> Convolved(int Cells, int Divisor) const {
    return Expected([&](TBitmap& B, const TRect& R) {
      TFilterMatrix M(5, 5);
      for (int I = 0; I < 25; ++I) M.SetValueXY(I % 5, I / 5, Cells);
      M.SetDivisor(Divisor);
      Convolve(B, M, 100, 0, R);
    });
  }
  void Undo() {
    emit Form->MenuNamed("MenuEdition")->aboutToShow();
    Form->MenuItem("MenuEditionUndo")->trigger();
  }
};

TEST_F(CustomFilterTest, DefaultKernelIsACancelAndABoxOfOnesBlurs) {
  TPersoForm* D = OpenPerso();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->SE[12]->Value(), 1);
  EXPECT_EQ(D->SE[25]->Value(), 1);
  Click(D->BOk);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);

  D = OpenPerso();
  SetKernel(D, 1, 25);
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Convolved(1, 25));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);

  D = OpenPerso();
  SetKernel(D, 1, 25);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Convolved(1, 25));
  EXPECT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

// A divisor of 0 would divide by zero: it counts as 1 and Ok shows it so.
TEST_F(CustomFilterTest, ADivisorOfZeroCountsAsOne) {
  TPersoForm* D = OpenPerso();
  SetKernel(D, 0, 0);
  D->SE[12]->SetValue(2);
  Click(D->BOk);
  EXPECT_EQ(D->SE[25]->Value(), 1);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) {
    TFilterMatrix M(5, 5);
    M.SetValueXY(2, 2, 2);
    Convolve(B, M, 100, 0, R);
  }));
}

TEST_F(CustomFilterTest, ResetPutsCentreAndDivisorToOne) {
  TPersoForm* D = OpenPerso();
  SetKernel(D, 3, 7);
  D->SE[26]->SetValue(9);
  Click(D->BReset);
  for (int I = 0; I < 27; ++I) EXPECT_EQ(D->SE[I]->Value(), I == 12 || I == 25 ? 1 : 0) << I;
  EXPECT_TRUE(D->AllDefault());
}

TEST_F(CustomFilterTest, MonochromeGradientWithNoise) {
  const TFixedRandomize Seed(5);
  auto* D = Open<TGradientForm>("MenuFiltreDegrade", "MenuFiltre");
  ASSERT_TRUE(D);
  QTest::mouseClick(D->RBMonochrom, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(D->ColorEdit2->isEnabled());
  D->TBNoise->SetPosition(20);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) {
    GradientFill24(B, clBlack, 50, clBlack, 0, 2, R);
    MonoNoise24(B, 20, R);
  }));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST(GradientDirections, FollowTheDirectionPicker) {
  const int Codes[8] = {3, 9, 4, 8, 5, 7, 2, 6};
  for (int D = 0; D < 8; ++D) EXPECT_EQ(GradientCodeOfDirection(D), Codes[D]);
}

// Fade at 0 % gives the image before the faded step back; reopened at once
// the fade shows its opacity, and Cancel after a new preview returns to it.
TEST_F(CustomFilterTest, FadeAndRefade) {
  TPersoForm* P = OpenPerso();
  SetKernel(P, 1, 25);
  Click(P->BOk);
  const auto Blurred = Convolved(1, 25);

  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  auto* D = Open<TAttenuerForm>("MenuAttenuer", "MenuEdition");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->Nouveau);
  EXPECT_EQ(D->TBN->Position(), 100);
  MoveSlider(D->TBN, -20);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  Click(D->BOk);
  EXPECT_EQ(UndoSteps(), 2);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->GetFlag(3), 0);
  EXPECT_TRUE(Form->EnfantActif()->FlagUndoAttenuer);

  D = Open<TAttenuerForm>("MenuAttenuer", "MenuEdition");
  EXPECT_FALSE(D->Nouveau);
  EXPECT_EQ(D->TBN->Position(), 0);
  MoveSlider(D->TBN, 20);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Blurred);
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 2);

  // A new fade cancelled leaves no step of its own.
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Blurred);
  D = Open<TAttenuerForm>("MenuAttenuer", "MenuEdition");
  EXPECT_TRUE(D->Nouveau);
  MoveSlider(D->TBN, -10);
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Blurred);
  EXPECT_EQ(UndoSteps(), 1);
}

} // namespace
