#include "raster/Shadow.h"

#include "raster/RandomGen.h"
#include "support/ChildCost.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace {

TBitmap Plain(int W, int H, uint8_t Grey) { return TBitmap(W, H, pf24bit, RGB(Grey, Grey, Grey)); }

// The strength each pixel of a soft shadow gets with R = (0, 0, 8, 8), S = 2
// and P = 60 (steps of 60 div 3: rings at 40 and 20), worked out by hand from
// the ring rules: fade-in 2, 4, 6, 8 tenths, fading pixels past the limits
// (8, 8) giving the rounded corner.
constexpr std::array<std::array<int, 12>, 12> SoftS2P60 = {{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 8, 4, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 16, 8, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 24, 12, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 32, 16, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 40, 20, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 40, 20, 0, 0},
    {0, 0, 8, 16, 24, 32, 40, 40, 32, 16, 0, 0},
    {0, 0, 4, 8, 12, 16, 20, 20, 16, 12, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
}};

// The canvas paints MixColors(white, black, V) = 255 - 255 * V div 100.
TEST(Shadow, SoftCanvasShadowMatchesTheRingTable) {
  TBitmap B = Plain(12, 12, 255);
  DrawShadow(B.Canvas(), Rect(0, 0, 8, 8), 2, 60, clWhite, true, false);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) {
      const int V = SoftS2P60[Y][X];
      const TRGB Expected{uint8_t(255 - 255 * V / 100), uint8_t(255 - 255 * V / 100), uint8_t(255 - 255 * V / 100)};
      EXPECT_EQ(RowOf(B, Y)[X], Expected) << "at " << X << "," << Y << " strength " << V;
    }
}

// The bitmap family darkens the same pixels once each, b - b * V div 100 plus
// noise of at most 3, and leaves the rest exactly as it was.
TEST(Shadow, SoftBitmapShadowMatchesTheRingTable) {
  TFixedRandomize Fixed(7);
  TBitmap B = Plain(12, 12, 200);
  DrawBitmapShadow(B, Rect(0, 0, 8, 8), 2, 60, true);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) {
      const int V = SoftS2P60[Y][X];
      const uint8_t* P = B.ScanLine(Y) + X * 3;
      for (int C = 0; C < 3; ++C) {
        if (V == 0)
          EXPECT_EQ(P[C], 200) << "at " << X << "," << Y;
        else
          EXPECT_NEAR(P[C], 200 - 200 * V / 100, 3) << "at " << X << "," << Y << " strength " << V;
      }
    }
}

// Strengths across the middle of the bottom and right bands, outward.
struct TBandCase {
  int S, P;
  std::vector<int> Strengths;
};

void PrintTo(const TBandCase& C, std::ostream* Out) { *Out << "S " << C.S << " P " << C.P; }

class ShadowBand : public ::testing::TestWithParam<TBandCase> {};

TEST_P(ShadowBand, StrengthsFallInEqualSteps) {
  const TBandCase& C = GetParam();
  TBitmap B = Plain(60, 60, 255);
  const TRect R = Rect(0, 0, 30, 30);
  DrawShadow(B.Canvas(), R, C.S, C.P, clWhite, true, false);
  for (int K = 0; K <= static_cast<int>(C.Strengths.size()); ++K) {
    const int V = K < static_cast<int>(C.Strengths.size()) ? C.Strengths[K] : 0;
    const uint8_t Expected = uint8_t(255 - 255 * V / 100);
    EXPECT_EQ(RowOf(B, R.Bottom + K)[20].Red, Expected) << "row " << K;
    EXPECT_EQ(RowOf(B, 20)[R.Right + K].Red, Expected) << "column " << K;
  }
}

INSTANTIATE_TEST_SUITE_P(Shadow, ShadowBand,
                         ::testing::Values(TBandCase{6, 70, {70, 70, 56, 42, 28, 14}},
                                           TBandCase{4, 70, {56, 42, 28, 14}}, TBandCase{1, 70, {35}},
                                           TBandCase{3, 100, {75, 50, 25}},
                                           // 2 div 5 = 0: every ring keeps the full strength.
                                           TBandCase{4, 2, {2, 2, 2, 2}},
                                           // The fading steps count S as 4: 6 div 5 = 1.
                                           TBandCase{6, 6, {6, 6, 5, 4, 3, 2}}));

TEST(Shadow, HardBitmapShadowDarkensTheTwoStripsOnly) {
  TFixedRandomize Fixed(3);
  TBitmap B(40, 40);
  FillRandom(B, 11);
  TBitmap Before;
  Before.Assign(B);
  DrawBitmapShadow(B, Rect(10, 10, 20, 20), 3, 100, false);
  const TRect Bottom = Rect(13, 20, 23, 23), Right = Rect(20, 13, 23, 20);
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) {
      const bool InShadow = PtInRect(Bottom, Point(X, Y)) || PtInRect(Right, Point(X, Y));
      for (int C = 0; C < 3; ++C) {
        const int Now = B.ScanLine(Y)[X * 3 + C];
        if (InShadow)
          EXPECT_LE(Now, 3) << "at " << X << "," << Y;
        else
          EXPECT_EQ(Now, Before.ScanLine(Y)[X * 3 + C]) << "at " << X << "," << Y;
      }
    }
}

TEST(Shadow, NoiseSpansMinusThreeToPlusThree) {
  TFixedRandomize Fixed(5);
  TBitmap B = Plain(64, 64, 200);
  DarkenRect24(B, 0, 0, 64, 64, 50);
  int Low = 255, High = 0;
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 64 * 3; ++X) {
      Low = std::min<int>(Low, B.ScanLine(Y)[X]);
      High = std::max<int>(High, B.ScanLine(Y)[X]);
    }
  EXPECT_EQ(Low, 97);
  EXPECT_EQ(High, 103);
}

TEST(Shadow, DarkenRectIsLimitedToTheBitmapAndTo24Bits) {
  TFixedRandomize Fixed(5);
  TBitmap B = Plain(6, 6, 200);
  DarkenRect24(B, -5, -5, 2, 2, 100);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X) EXPECT_EQ(RowOf(B, Y)[X].Red <= 3, X < 2 && Y < 2) << X << "," << Y;
  DarkenRect24(B, 4, 4, 99, 99, 100);
  EXPECT_LE(RowOf(B, 5)[5].Green, 3);
  DarkenRect24(B, 3, 3, 1, 1, 100); // reversed: nothing
  EXPECT_EQ(RowOf(B, 2)[2].Blue, 200);

  TBitmap Indexed(8, 8, pf8bit, clWhite);
  TBitmap Before;
  Before.Assign(Indexed);
  DrawBitmapShadow(Indexed, Rect(0, 0, 4, 4), 2, 50, true);
  EXPECT_IMAGES_MATCH(Indexed, Before);
}

struct TRefusedCase {
  const char* Name;
  TRect R;
  int S, P;
};

class ShadowRefused : public ::testing::TestWithParam<TRefusedCase> {};

TEST_P(ShadowRefused, BitmapIsUnchanged) {
  const TRefusedCase& C = GetParam();
  for (bool Soft : {false, true}) {
    TBitmap B(30, 30);
    FillRandom(B, 2);
    TBitmap Before;
    Before.Assign(B);
    DrawBitmapShadow(B, C.R, C.S, C.P, Soft);
    EXPECT_IMAGES_MATCH(B, Before, 0, C.Name);
  }
}

INSTANTIATE_TEST_SUITE_P(Shadow, ShadowRefused,
                         ::testing::Values(TRefusedCase{"P0", Rect(5, 5, 15, 15), 3, 0},
                                           TRefusedCase{"P101", Rect(5, 5, 15, 15), 3, 101},
                                           TRefusedCase{"S0", Rect(5, 5, 15, 15), 0, 50},
                                           TRefusedCase{"SNegative", Rect(5, 5, 15, 15), -2, 50},
                                           TRefusedCase{"EmptyR", Rect(15, 5, 15, 15), 3, 50},
                                           TRefusedCase{"ReversedR", Rect(15, 15, 5, 5), 3, 50},
                                           TRefusedCase{"RightEdge", Rect(5, 5, 30, 15), 3, 50},
                                           TRefusedCase{"BottomEdge", Rect(5, 5, 15, 30), 3, 50}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Shadow, CanvasHardShadowAtSixtyOverWhite) {
  TBitmap B = Plain(20, 20, 255);
  DrawShadow(B.Canvas(), Rect(2, 2, 10, 10), 2, 60, clWhite, false, false);
  EXPECT_EQ(B.PixelColor(6, 10), RGB(102, 102, 102));
  EXPECT_EQ(B.PixelColor(11, 4), RGB(102, 102, 102));
  EXPECT_EQ(B.PixelColor(3, 10), clWhite); // left of the shifted strip
  EXPECT_EQ(B.PixelColor(12, 6), clWhite); // beyond the band
}

TEST(Shadow, FillCornersRepaintsTheTwoSquaresInTheBackground) {
  TBitmap B(20, 20, pf24bit, clRed);
  const TColor Back = RGB(200, 180, 160);
  const TRect R = Rect(3, 3, 10, 10);
  const int S = 3;
  B.Canvas().Brush.Color = clBlue;
  DrawShadow(B.Canvas(), R, S, 50, Back, false, true);
  EXPECT_EQ(B.Canvas().Brush.Color, clBlue);
  const TRect Corner1 = Bounds(R.Right, R.Top, S, S), Corner2 = Bounds(R.Left, R.Bottom, S, S);
  const TRect Strip1 = Rect(R.Left + S, R.Bottom, R.Right + S, R.Bottom + S),
              Strip2 = Rect(R.Right, R.Top + S, R.Right + S, R.Bottom);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      const TPoint P = Point(X, Y);
      TColor Expected = clRed;
      if (PtInRect(Corner1, P) || PtInRect(Corner2, P))
        Expected = Back;
      else if (PtInRect(Strip1, P) || PtInRect(Strip2, P))
        Expected = RGB(100, 90, 80);
      EXPECT_EQ(B.PixelColor(X, Y), Expected) << X << "," << Y;
    }
}

TEST(Shadow, CanvasShadowRefusesBadArguments) {
  for (auto [S, P] : {std::pair{0, 50}, std::pair{3, 0}, std::pair{3, 101}}) {
    TBitmap B = Plain(20, 20, 255);
    DrawShadow(B.Canvas(), Rect(2, 2, 10, 10), S, P, clWhite, true, true);
    EXPECT_EQ(B.PixelColor(10, 10), clWhite);
    EXPECT_EQ(B.PixelColor(10, 2), clWhite);
  }
  // A shadow reaching past the bitmap is simply cut.
  TBitmap B = Plain(10, 10, 255);
  DrawShadow(B.Canvas(), Rect(2, 2, 9, 9), 4, 50, clWhite, true, true);
  EXPECT_NE(B.PixelColor(9, 8), clWhite);
}

// Sizes at the top of the int range: the band lies wholly beyond a small
// bitmap, or would reach past the int range and is refused. Either way
// nothing changes, and the rings beyond the bitmap are not walked one by one
// (about 2^31 of them). Run in a child: a walk that never ends is a failure.
TEST(Shadow, SizesNearTheIntLimitChangeNothingAndEndQuickly) {
  for (const int S : {INT_MAX, INT_MAX - 100})
    for (const bool Soft : {false, true}) {
      SCOPED_TRACE("S " + std::to_string(S) + (Soft ? " soft" : " hard"));
      const TChildCost Cost = MeasureInChild([&] {
        const TBitmap Grey = Plain(20, 20, 200), White = Plain(20, 20, 255);
        TBitmap B, C;
        B.Assign(Grey);
        C.Assign(White);
        DrawBitmapShadow(B, Rect(0, 0, 10, 10), S, 50, Soft);
        DrawShadow(C.Canvas(), Rect(0, 0, 10, 10), S, 50, clWhite, Soft, false);
        return ImagesMatch(B, Grey, 0, "bitmap shadow") && ImagesMatch(C, White, 0, "canvas shadow") ? 1 : 0;
      });
      ASSERT_TRUE(Cost.Exited) << Cost.Failure;
      EXPECT_EQ(Cost.Result, 1);
      EXPECT_LT(Cost.CpuMs, CpuBudgetMs(100));
    }
}

} // namespace
