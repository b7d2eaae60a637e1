// The mask overlay: the mask's automatic levels, its fitting to the work
// rectangle, and each effect applied fully where the mask is black and not
// at all where it is white.
#include "filters/MaskOverlay.h"

#include "FilterTestSupport.h"
#include "filters/Filtres24.h"
#include "raster/Transparency.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

namespace {

// A W x H bitmap of one colour.
struct Solid : TBitmap {
  Solid(int W, int H, TRGB C) : TBitmap(W, H, pf24bit, clBlack) {
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) SetPx(*this, X, Y, C);
  }
};

// A layer of random pixels, its copy from before the command, a background.
struct Scene {
  TBitmap Layer, Mask, Before, Background;
  explicit Scene(bool WithMask = false) {
    FilterTest::RandomImage(Layer, 3, 12, 8);
    Before.Assign(Layer);
    Background.Assign(Layer);
    if (WithMask) Mask.Assign(Solid(12, 8, Grey(0)));
  }
  TMaskOverlayTarget Target() { return {Layer, Mask, Before, Background}; }
  // The routine changes the mask picture (its levels): a copy is handed.
  void Apply(const TBitmap& MaskPicture, const TMaskOverlaySettings& S, const TRect& R,
             const TBitmap& Pattern = TBitmap(), const TBitmap& PatternMask = TBitmap()) {
    TBitmap Picture;
    Picture.Assign(MaskPicture);
    TMaskOverlayTarget T = Target();
    ApplyMaskOverlay(Picture, S, T, R, Pattern, PatternMask);
  }
};

struct LevelCase {
  int Lo, Hi;
  bool Stretched;
};

class AutoLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(AutoLevelTest, StretchesOnlyAWideEnoughSpan) {
  const LevelCase C = GetParam();
  Solid M(2, 1, Grey(C.Lo));
  SetPx(M, 1, 0, Grey(C.Hi));
  AutoLevelMask(M);
  EXPECT_EQ(Px(M, 0, 0), Grey(C.Stretched ? 0 : C.Lo));
  EXPECT_EQ(Px(M, 1, 0), Grey(C.Stretched ? 255 : C.Hi));
}

INSTANTIATE_TEST_SUITE_P(Spans, AutoLevelTest,
                         ::testing::Values(LevelCase{100, 180, false}, LevelCase{20, 200, true},
                                           LevelCase{0, 110, false}, LevelCase{0, 111, true}));

TEST(MaskOverlayTest, BlackMaskPaintsTheWholeRectangleWhiteMaskNothing) {
  TMaskOverlaySettings S;
  S.Color = clRed;
  const TRect R{2, 1, 9, 6};
  Scene Black;
  Black.Apply(Solid(3, 3, Grey(0)), S, R);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 12; ++X)
      EXPECT_EQ(Px(Black.Layer, X, Y), PtInRect(R, {X, Y}) ? Rgb(255, 0, 0) : Px(Black.Before, X, Y)) << X << "," << Y;
  Scene White;
  White.Apply(Solid(3, 3, Grey(255)), S, R);
  ASSERT_IMAGES_MATCH(White.Layer, White.Before);
}

TEST(MaskOverlayTest, TiledMaskRepeatsFromTheRectanglesTopLeft) {
  Solid M(2, 2, Grey(255));
  SetPx(M, 0, 0, Grey(0));
  TMaskOverlaySettings S;
  S.Color = clBlue;
  S.Tile = true;
  Scene Sc;
  Sc.Apply(M, S, {3, 2, 9, 7});
  for (const auto& [X, Y] : {std::pair{3, 2}, {5, 2}, {3, 4}, {7, 6}}) EXPECT_EQ(Px(Sc.Layer, X, Y), Rgb(0, 0, 255));
  for (const auto& [X, Y] : {std::pair{4, 2}, {3, 3}, {6, 5}, {2, 2}})
    EXPECT_EQ(Px(Sc.Layer, X, Y), Px(Sc.Before, X, Y)) << X << "," << Y;
}

TEST(MaskOverlayTest, GreyUnderABlackMaskIsWeightedByTheOpacity) {
  TMaskOverlaySettings S;
  S.Mode = meGrey;
  S.Opacity = 60;
  Scene Sc;
  Sc.Apply(Solid(2, 2, Grey(0)), S, {0, 0, 12, 8});
  for (const auto& [X, Y] : {std::pair{0, 0}, {5, 3}, {11, 7}}) {
    const TRGB Old = Px(Sc.Before, X, Y);
    const int L = Luminance24(Old);
    // The grey, then the old pixels laid over at 100 - 60 percent.
    EXPECT_EQ(Px(Sc.Layer, X, Y), Rgb(L + (Old.Red - L) * 40 / 100, L + (Old.Green - L) * 40 / 100,
                                      L + (Old.Blue - L) * 40 / 100));
  }
  Scene White;
  White.Apply(Solid(2, 2, Grey(255)), S, {0, 0, 12, 8});
  // Where the mask is white the old pixels come back; only the opacity
  // pass, a mix of a pixel with itself, runs over them.
  ASSERT_IMAGES_MATCH(White.Layer, White.Before);
}

TEST(MaskOverlayTest, TransparencyOfALoneBackgroundIsTheKeyColourInTwoTones) {
  // Light grey counts as white after the two tones: nothing there.
  Solid M(2, 1, Grey(60));
  SetPx(M, 1, 0, Grey(200));
  TMaskOverlaySettings S;
  S.Mode = meTransparent;
  S.Opacity = 30;
  S.Tile = true;
  Scene Sc;
  Sc.Apply(M, S, {0, 0, 12, 8});
  // The key colour at full strength, whatever the opacity.
  EXPECT_EQ(Px(Sc.Background, 0, 0), ColorToTRGB(TransparentKeyColor));
  EXPECT_EQ(Px(Sc.Background, 1, 0), Px(Sc.Before, 1, 0));
  EXPECT_TRUE(Sc.Background.Transparent);
  EXPECT_EQ(Sc.Background.TransparentColor(), TransparentKeyColor);
  // Any other effect afterwards clears the mark.
  Sc.Apply(Solid(1, 1, Grey(255)), TMaskOverlaySettings{}, {0, 0, 12, 8});
  EXPECT_FALSE(Sc.Background.Transparent);
}

TEST(MaskOverlayTest, TransparencyOfALayerWithAMaskWhitensTheMaskAtTheOpacity) {
  TMaskOverlaySettings S;
  S.Mode = meTransparent;
  S.Opacity = 50;
  Scene Sc(true);
  Sc.Apply(Solid(1, 1, Grey(0)), S, {0, 0, 4, 8});
  EXPECT_EQ(Px(Sc.Mask, 0, 0), Grey(127));
  EXPECT_EQ(Px(Sc.Mask, 4, 0), Grey(0));
  ASSERT_IMAGES_MATCH(Sc.Layer, Sc.Before);
  ASSERT_IMAGES_MATCH(Sc.Background, Sc.Before);
  EXPECT_FALSE(Sc.Background.Transparent);
}

TEST(MaskOverlayTest, PatternIsPaintedWhereItIsOpaqueOnly) {
  Solid Pattern(2, 1, Rgb(0, 255, 0));
  Solid PatternMask(2, 1, Grey(0));
  SetPx(PatternMask, 1, 0, Grey(255));
  TMaskOverlaySettings S;
  S.Mode = mePattern;
  Scene Sc;
  Sc.Apply(Solid(1, 1, Grey(0)), S, {1, 1, 7, 3}, Pattern, PatternMask);
  EXPECT_EQ(Px(Sc.Layer, 1, 1), Rgb(0, 255, 0));
  EXPECT_EQ(Px(Sc.Layer, 3, 2), Rgb(0, 255, 0));
  EXPECT_EQ(Px(Sc.Layer, 2, 1), Px(Sc.Before, 2, 1));
  // A pattern that did not load changes nothing.
  Scene None;
  None.Apply(Solid(1, 1, Grey(0)), S, {1, 1, 7, 3});
  ASSERT_IMAGES_MATCH(None.Layer, None.Before);
}

} // namespace
