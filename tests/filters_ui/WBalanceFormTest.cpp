// The white balance dialog: colours detected from the middle of the layer,
// picked samples averaged per band, the band limits, and its result against
// the level and contrast routines.
#include "FilterDialogFixture.h"

#include "../support/Pixels.h"
#include "filters/Filtres24.h"
#include "filters/ui/WBalanceForm.h"
#include "ui/ColorEdit.h"

#include <QCheckBox>

namespace {

using WBalanceFormTest = FilterDialogFixture;

constexpr TColor C(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

TEST_F(WBalanceFormTest, DetectedColoursThenIntensityGiveTheRoutinesResults) {
  // The colours come from the middle of the layer: a fifth off every side.
  uint8_t MinR, MaxR, MinG, MaxG, MinB, MaxB;
  ChannelMinMax24(Original, {8, 6, 32, 24}, MinR, MaxR, MinG, MaxG, MinB, MaxB);
  auto* D = Open<TWBalanceForm>("MenuReglageBlancs");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ShadowEdit->Color(), C(MinR, MinG, MinB));
  EXPECT_EQ(D->HighlightEdit->Color(), C(MaxR, MaxG, MaxB));
  MoveSlider(D->TBN, 2);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([&](TBitmap& B, const TRect& R) {
    LevelsRGB24(B, 1.0, MinR, MaxR, 0, 255, 1.0, MinG, MaxG, 0, 255, 1.0, MinB, MaxB, 0, 255, R);
    BandContrast24(B, 10, 0, 77, 77, R);
    BandContrast24(B, 10, 169, 255, 169, R);
  }));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(WBalanceFormTest, PickedColoursAreAveragedPerBandWithinItsLimits) {
  auto* D = Open<TWBalanceForm>("MenuReglageBlancs");
  ASSERT_TRUE(D);
  // A dark pick with a bright channel: that channel stops at 111.
  D->ChangerCouleur(C(200, 10, 10));
  EXPECT_EQ(D->ShadowEdit->Color(), C(111, 10, 10));
  D->ChangerCouleur(C(11, 30, 50));
  EXPECT_EQ(D->ShadowEdit->Color(), C(61, 20, 30));
  for (int I = 0; I < 5; ++I) D->ChangerCouleur(C(61, 20, 30));
  EXPECT_EQ(D->Shadows.Count, 7);
  EXPECT_EQ(D->ShadowEdit->Color(), C(61, 20, 30));
  // An eighth sample changes nothing.
  D->ChangerCouleur(C(0, 0, 0));
  EXPECT_EQ(D->ShadowEdit->Color(), C(61, 20, 30));
  // A light pick goes to the highlights, at least 133 a channel.
  D->ChangerCouleur(C(250, 250, 20));
  EXPECT_EQ(D->HighlightEdit->Color(), C(250, 250, 133));
  // A colour set by hand starts a new list.
  D->ShadowEdit->SetColor(C(5, 5, 5));
  EXPECT_EQ(D->Shadows.Count, 0);
  D->ChangerCouleur(C(40, 40, 40));
  EXPECT_EQ(D->ShadowEdit->Color(), C(40, 40, 40));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(WBalanceFormTest, ANarrowChannelStartsFromBlackAndWhiteAndRevertShowsOnlyOnAChange) {
  MakeForm(false);
  // Green spans only 100 levels.
  for (int Y = 0; Y < Form->LeBitmap().Height(); ++Y)
    for (int X = 0; X < Form->LeBitmap().Width(); ++X) {
      TRGB P = Px(Form->LeBitmap(), X, Y);
      P.Green = uint8_t(100 + P.Green * 100 / 255);
      SetPx(Form->LeBitmap(), X, Y, P);
    }
  auto* D = Open<TWBalanceForm>("MenuReglageBlancs");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->ShadowEdit->Color(), clBlack);
  EXPECT_EQ(D->HighlightEdit->Color(), clWhite);
  // The saved colours were black and white already: nothing to revert to.
  EXPECT_FALSE(D->BtnRevert->isVisible());
  D->ShadowEdit->SetColor(C(30, 30, 30));
  Click(D->BOk);
  Form->MenuItem("MenuEditionUndo")->trigger();
  D = Open<TWBalanceForm>("MenuReglageBlancs");
  EXPECT_EQ(D->ShadowEdit->Color(), clBlack);
  ASSERT_TRUE(D->BtnRevert->isVisible());
  Click(D->BtnRevert);
  EXPECT_EQ(D->ShadowEdit->Color(), C(30, 30, 30));
  Click(D->BAnnuler);
}

} // namespace
