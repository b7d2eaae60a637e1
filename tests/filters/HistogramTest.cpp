// The histogram's statistics on fixtures with known distributions, its bars,
// the rules between the middle cursor and the gamma, and the application of
// the levels (composite first, input points never closer than 3).
#include "filters/Histogram.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "filters/Filtres24.h"

#include <gtest/gtest.h>

namespace {

TEST(Histogram, StatisticsOfKnownDistributions) {
  // 101 greys 0..100 once each: T = 50, so the median is 49; the mean 50.
  TBitmap Ramp(101, 1, pf24bit);
  for (int X = 0; X <= 100; ++X) SetPx(Ramp, X, 0, Grey(X));
  THistogram H;
  ASSERT_TRUE(ComputeHistogram(Ramp, {0, 0, 101, 1}, H));
  EXPECT_EQ(H.NbPixels, 101);
  for (int C = 0; C < 4; ++C) {
    EXPECT_EQ(H.Mediane[C], 49) << C;
    EXPECT_DOUBLE_EQ(H.Moyenne[C], 50.0) << C;
    EXPECT_EQ(H.Maximums[C], 1) << C;
  }

  // Luminosity is the largest channel; the rectangle is clipped.
  TBitmap Mixed(10, 10, pf24bit, clBlack);
  for (int X = 0; X < 10; ++X) SetPx(Mixed, X, 0, Rgb(200, 10, 90));
  ASSERT_TRUE(ComputeHistogram(Mixed, {-5, -5, 20, 3}, H));
  EXPECT_EQ(H.NbPixels, 30);
  EXPECT_EQ(H.Counts[0][200], 10);
  EXPECT_EQ(H.Counts[1][200], 10);
  EXPECT_EQ(H.Counts[2][10], 10);
  EXPECT_EQ(H.Counts[3][90], 10);
  EXPECT_EQ(H.Counts[0][0], 20);
  EXPECT_EQ(H.Maximums[0], 20);
  EXPECT_EQ(H.Mediane[0], 0);
  EXPECT_NEAR(H.Moyenne[0], 2000.0 / 30, 1e-12);

  EXPECT_FALSE(ComputeHistogram(Mixed, {20, 20, 30, 30}, H));
  EXPECT_EQ(H.NbPixels, 0);
}

TEST(Histogram, AllWhiteFillsOnlyTheLastBinFromTopToBottom) {
  TBitmap White(30, 20, pf24bit, clWhite);
  THistogram H;
  ASSERT_TRUE(ComputeHistogram(White, {0, 0, 30, 20}, H));
  EXPECT_EQ(H.Maximums[0], 1); // bins 0 to 254 are empty
  TBitmap View(258, 40, pf24bit);
  DrawHistogramBars(View, H.Counts[0], H.Maximums[0], 1.0, 0x000080, 0x123456);
  for (int X = 1; X <= 256; ++X)
    for (int Y = 1; Y < 39; ++Y) {
      const TRGB Expected = X == 256 ? Rgb(0x80, 0, 0) : Grey(255);
      ASSERT_EQ(Px(View, X, Y), Expected) << X << "," << Y;
    }
  // The bar is cut at the top of the view, over the frame.
  EXPECT_EQ(Px(View, 256, 0), Rgb(0x80, 0, 0));
  EXPECT_EQ(Px(View, 255, 0), Rgb(0x56, 0x34, 0x12));
  EXPECT_EQ(Px(View, 256, 39), Rgb(0x56, 0x34, 0x12));
}

TEST(Histogram, MiddleCursorAndGamma) {
  // The left quarter between 0 and 254: (3 x 63 / 127)^2 + 1 = 3.21.
  EXPECT_DOUBLE_EQ(GammaFromMiddle(0, 64, 254), 3.21);
  EXPECT_DOUBLE_EQ(GammaFromMiddle(0, 127, 254), 1.0);
  EXPECT_DOUBLE_EQ(GammaFromMiddle(0, 190, 254), 0.55); // 1 - 0.9 x 63 / 127
  EXPECT_DOUBLE_EQ(GammaFromMiddle(0, 254, 254), 0.1);
  EXPECT_DOUBLE_EQ(GammaFromMiddle(0, 0, 254), 10.0);
  // Black and white on one value: no room on either side.
  EXPECT_DOUBLE_EQ(GammaFromMiddle(90, 80, 90), 1.0);
  EXPECT_DOUBLE_EQ(GammaFromMiddle(90, 95, 90), 1.0);
  // A middle past the white cannot give a gamma below 0.1.
  EXPECT_DOUBLE_EQ(GammaFromMiddle(90, 95, 91), 0.1);

  // The middle follows a kept gamma when black or white moves.
  EXPECT_EQ(MiddleFromGamma(3.21, 0, 254), 64);
  EXPECT_EQ(MiddleFromGamma(1.0, 40, 200), 120);
  EXPECT_EQ(MiddleFromGamma(0.55, 0, 254), 190);
  EXPECT_EQ(MiddleFromGamma(4.0, 100, 100), 100);
}

TEST(Histogram, InputPointsAreWidenedToThree) {
  const struct {
    int Lo, Hi, WantLo, WantHi;
  } Cases[] = {{200, 201, 198, 201}, {20, 21, 20, 23}, {100, 100, 100, 103},
               {128, 128, 125, 128}, {0, 255, 0, 255}, {10, 13, 10, 13}};
  for (const auto& C : Cases) {
    int Lo = C.Lo, Hi = C.Hi;
    WidenInputRange(Lo, Hi);
    EXPECT_EQ(Lo, C.WantLo) << C.Lo << ".." << C.Hi;
    EXPECT_EQ(Hi, C.WantHi) << C.Lo << ".." << C.Hi;
  }
}

TEST(Histogram, CompositeLevelsFirstThenTheChannels) {
  TBitmap Src(64, 4, pf24bit);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 64; ++X) SetPx(Src, X, Y, Rgb(X * 4, 255 - X * 3, (X * 7 + Y * 50) % 256));
  const TRect Whole{0, 0, 64, 4};
  THistoChannels L;
  L[0].Gamma = 1.5;
  L[0].InLo = 10;
  L[0].OutHi = 240;
  L[1].InHi = 180; // red only
  TBitmap Got;
  Got.Assign(Src);
  ApplyHistogLevels(Got, Whole, L);
  TBitmap Want;
  Want.Assign(Src);
  Levels24(Want, 1.5, 10, 255, 0, 240, Whole);
  LevelsRGB24(Want, 1.0, 0, 180, 0, 255, 1.0, 0, 255, 0, 255, 1.0, 0, 255, 0, 255, Whole);
  EXPECT_IMAGES_MATCH(Got, Want);

  // Black and white on one value: the routine gets 100..103, no division by 0.
  THistoChannels Meet;
  Meet[0].InLo = Meet[0].InHi = 100;
  Got.Assign(Src);
  ApplyHistogLevels(Got, Whole, Meet);
  Want.Assign(Src);
  Levels24(Want, 1.0, 100, 103, 0, 255, Whole);
  EXPECT_IMAGES_MATCH(Got, Want);

  // All at identity: nothing changes.
  Got.Assign(Src);
  ApplyHistogLevels(Got, Whole, THistoChannels{});
  EXPECT_IMAGES_MATCH(Got, Src);
  EXPECT_FALSE(ChannelsChanged(THistoChannels{}, 0));
  EXPECT_TRUE(ChannelsChanged(L, 2));
  L[1] = THistoLevels{};
  EXPECT_FALSE(ChannelsChanged(L, 2));
  EXPECT_TRUE(ChannelsChanged(L, 1));
}

} // namespace
