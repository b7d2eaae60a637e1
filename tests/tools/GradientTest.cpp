// The gradient engine on small bitmaps: ramp ends and middles, the rainbow,
// corner pixels, radial weights, bevel rings, masked fills and cancels.
#include "tools/Gradient.h"

#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/ProgressTestSupport.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

namespace {

// Column X of row 0 of a linear ramp over a 10 x 2 bitmap starting white.
struct TLinearCase {
  int Direction;
  TColor C1;
  int O1;
  TColor C2;
  int O2;
  int X;
  TRGB Expected;
};

class LinearGradient : public ::testing::TestWithParam<TLinearCase> {};

TEST_P(LinearGradient, PaintsEachColumnByTheIntegerSteps) {
  const TLinearCase& C = GetParam();
  TBitmap B(10, 2, pf24bit, clWhite);
  LinearGradient24(B, C.C1, C.O1, C.C2, C.O2, C.Direction, WholeBitmapRect);
  EXPECT_EQ(Px(B, C.X, 0), C.Expected);
  EXPECT_EQ(Px(B, C.X, 1), C.Expected); // a column ramp paints whole columns
}

// Black to blue over 10 columns: blue = 255 * i div 10; opacity 100 -> 0
// leaves the last column 10 % of the way (255 - 255 * 10 div 100 = 230).
INSTANTIATE_TEST_SUITE_P(
    Ends, LinearGradient,
    ::testing::Values(TLinearCase{0, clBlack, 100, RGB(0, 0, 255), 100, 0, Rgb(0, 0, 0)},
                      TLinearCase{0, clBlack, 100, RGB(0, 0, 255), 100, 5, Rgb(0, 0, 127)},
                      TLinearCase{0, clBlack, 100, RGB(0, 0, 255), 100, 9, Rgb(0, 0, 229)},
                      TLinearCase{2, clBlack, 100, RGB(0, 0, 255), 100, 9, Rgb(0, 0, 229)},
                      // 4: Color1 at the right edge, the ramp runs back.
                      TLinearCase{4, clBlack, 100, RGB(0, 0, 255), 100, 0, Rgb(0, 0, 255)},
                      TLinearCase{4, clBlack, 100, RGB(0, 0, 255), 100, 9, Rgb(0, 0, 26)},
                      TLinearCase{0, clBlack, 100, clBlack, 0, 0, Rgb(0, 0, 0)},
                      TLinearCase{0, clBlack, 100, clBlack, 0, 9, Grey(230)},
                      TLinearCase{0, clBlack, 0, clBlack, 0, 0, Grey(255)},
                      TLinearCase{0, clBlack, -50, clBlack, 300, 5, Grey(128)}, // clamped: 50 % at the middle
                      TLinearCase{6, clBlack, 100, clBlack, 100, 0, Grey(255)}));

TEST(LinearGradient, RowsForDirectionsOneThreeFive) {
  TBitmap B(2, 10, pf24bit, clWhite);
  LinearGradient24(B, clBlack, 100, RGB(0, 0, 255), 100, 1, WholeBitmapRect);
  EXPECT_EQ(Px(B, 1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(Px(B, 1, 9), Rgb(0, 0, 229));
  LinearGradient24(B, clBlack, 100, RGB(0, 0, 255), 100, 5, WholeBitmapRect);
  EXPECT_EQ(Px(B, 0, 9), Rgb(0, 0, 26)); // Color1 at the bottom edge
  EXPECT_EQ(Px(B, 0, 0), Rgb(0, 0, 255));
}

TEST(LinearGradient, EveryColumnByTheFormulaOverAnyPixels) {
  TBitmap B(3000, 3), Before;
  FillRandom(B, 17);
  Before.Assign(B);
  LinearGradient24(B, RGB(10, 200, 30), 90, RGB(250, 5, 128), 20, 0, WholeBitmapRect);
  const auto Step = [](int A, int Z, int I) { return A + (Z - A) * I / 3000; };
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 3000; ++X) {
      TRGB Expected = Px(Before, X, Y);
      MixPercent(Expected, Rgb(Step(10, 250, X), Step(200, 5, X), Step(30, 128, X)), Step(90, 20, X));
      ASSERT_EQ(Px(B, X, Y), Expected) << X << "," << Y;
    }
}

TEST(LinearGradient, KeepsToTheCanvasClipAndTheRect) {
  TBitmap B(10, 10, pf24bit, clWhite);
  B.Canvas().SetClipRect({0, 0, 5, 10});
  LinearGradient24(B, clBlack, 100, clBlack, 100, 0, TRect{8, 8, 2, 2}); // reversed: normalised
  B.Canvas().ResetClip();
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 10; ++X)
      EXPECT_EQ(Px(B, X, Y), (X >= 2 && X < 5 && Y >= 2 && Y < 8) ? Grey(0) : Grey(255)) << X << "," << Y;
}

TEST(RainbowGradient, OneHuePerColumnOrRow) {
  TBitmap B(360, 2, pf24bit, clWhite);
  RainbowGradient24(B, 0);
  EXPECT_EQ(Px(B, 0, 1), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 120, 1), Rgb(0, 255, 0));
  EXPECT_EQ(Px(B, 240, 1), Rgb(0, 0, 255));
  for (int X = 0; X < 360; ++X) ASSERT_EQ(Px(B, X, 0), ColorToTRGB(HSVToColor(X, 255, 255))) << X;

  TBitmap V(1, 3, pf24bit, clWhite);
  RainbowGradient24(V, 1); // hues 0, 120, 240
  EXPECT_EQ(Px(V, 0, 1), Rgb(0, 255, 0));
  RainbowGradient24(V, 2);
  EXPECT_EQ(Px(V, 0, 1), Rgb(0, 255, 0));
}

struct TCornerCase {
  int Corner;
  TPoint Near;
  TPoint Far;
};

class CornerGradient : public ::testing::TestWithParam<TCornerCase> {};

TEST_P(CornerGradient, StartsAtItsCornerAndEndsAtTheOpposite) {
  const TCornerCase& C = GetParam();
  TBitmap B(30, 20, pf24bit, clWhite);
  const TRect R{2, 3, 22, 13};
  CornerGradient24(B, RGB(0, 0, 0), RGB(0, 200, 0), C.Corner, false, R);
  // The corner pixel gets Color1 first; the two-pixel pen of the first
  // lines may reach it, the far pixel is set last.
  EXPECT_LE(Px(B, C.Near.X, C.Near.Y).Green, 20);
  EXPECT_EQ(Px(B, C.Far.X, C.Far.Y), Rgb(0, 200, 0));
  // Colours grow away from the corner; nothing outside the rectangle.
  const int Mid = Px(B, 12, 8).Green;
  EXPECT_GT(Mid, 60);
  EXPECT_LT(Mid, 140);
  EXPECT_EQ(Px(B, 1, 3), Grey(255));
  EXPECT_EQ(Px(B, 22, 12), Grey(255));
  EXPECT_EQ(Px(B, 12, 13), Grey(255));
  // The canvas keeps no clip and its own pen.
  EXPECT_EQ(B.Canvas().ClipRect(), (TRect{0, 0, 30, 20}));
  EXPECT_EQ(B.Canvas().Pen.Width, 1);
}

INSTANTIATE_TEST_SUITE_P(Corners, CornerGradient,
                         ::testing::Values(TCornerCase{6, {2, 3}, {21, 12}}, TCornerCase{7, {2, 12}, {21, 3}},
                                           TCornerCase{8, {21, 12}, {2, 3}}, TCornerCase{9, {21, 3}, {2, 12}}));

TEST(CornerGradient, HalfLeavesTheFarHalfAndOnePixelEndsAtColor2) {
  TBitmap B(20, 20, pf24bit, clWhite);
  CornerGradient24(B, clBlack, RGB(0, 200, 0), 6, true, TRect{0, 0, 20, 20});
  EXPECT_EQ(Px(B, 0, 0), Grey(0));
  EXPECT_EQ(Px(B, 19, 19), Grey(255));
  EXPECT_EQ(Px(B, 15, 15), Grey(255));

  TBitmap One(1, 1, pf24bit, clWhite);
  CornerGradient24(One, clBlack, RGB(0, 200, 0), 6, false, WholeBitmapRect);
  EXPECT_EQ(Px(One, 0, 0), Rgb(0, 200, 0));
  CornerGradient24(One, clBlack, clWhite, 5, false, WholeBitmapRect); // no such corner
  EXPECT_EQ(Px(One, 0, 0), Rgb(0, 200, 0));
}

TEST(CornerGradient, NarrowedCanvasClipIsKept) {
  TBitmap B(20, 20, pf24bit, clWhite);
  B.Canvas().SetClipRect({0, 0, 10, 10});
  CornerGradient24(B, clBlack, clBlack, 6, false, WholeBitmapRect);
  EXPECT_EQ(B.Canvas().ClipRect(), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(Px(B, 12, 2), Grey(255));
}

TEST(CornerGradientOpacity, MixesThroughTheOpacityRamp) {
  TBitmap B(20, 20, pf24bit, clWhite);
  // 50 % at both ends: grey 128 as transparency, so white moves 127/255 of
  // the way to black.
  CornerGradientOpacity24(B, clBlack, 50, clBlack, 50, 6, WholeBitmapRect);
  EXPECT_EQ(Px(B, 0, 0), Grey(128));
  EXPECT_EQ(Px(B, 10, 10), Grey(128));
  EXPECT_EQ(ProgressState().Passes, 1);
  TBitmap C(20, 20, pf24bit, clWhite);
  CornerGradientOpacity24(C, clBlack, 0, clBlack, 0, 6, WholeBitmapRect);
  EXPECT_EQ(Px(C, 0, 0), Grey(255));
}

TEST(GradientFillMasked, NoMaskIsGradientFill) {
  for (int Direction : {0, 1, 4, 6, 8}) {
    TBitmap A(16, 12, pf24bit, clWhite);
    TBitmap B(16, 12, pf24bit, clWhite);
    TBitmap Empty;
    GradientFill24(A, clRed, 80, clBlue, 30, Direction, TRect{1, 1, 15, 11});
    GradientFillMasked24(B, nullptr, clRed, 80, clBlue, 30, Direction, TRect{1, 1, 15, 11});
    EXPECT_IMAGES_MATCH(A, B);
    TBitmap C(16, 12, pf24bit, clWhite);
    GradientFillMasked24(C, &Empty, clRed, 80, clBlue, 30, Direction, TRect{1, 1, 15, 11});
    EXPECT_IMAGES_MATCH(A, C);
  }
}

TEST(GradientFillMasked, OpaqueEndsMakeTheMaskOpaqueInTheRect) {
  TBitmap B(10, 4, pf24bit, clWhite);
  TBitmap Mask(10, 4, pf24bit, clWhite); // wholly transparent layer
  GradientFillMasked24(B, &Mask, clBlack, 100, clBlack, 100, 0, TRect{2, 0, 8, 4});
  EXPECT_EQ(Px(Mask, 2, 0), Grey(0));
  EXPECT_EQ(Px(Mask, 1, 0), Grey(255));
  EXPECT_EQ(Px(B, 5, 3), Grey(0));
}

TEST(GradientFillMasked, PartialOpacityGrowsTheCoverage) {
  TBitmap B(10, 1, pf24bit, clWhite);
  TBitmap Mask(10, 1, pf24bit, clWhite);
  GradientFillMasked24(B, &Mask, clBlack, 40, clBlack, 40, 0, WholeBitmapRect);
  // Alpha of 40 %: grey 255 - 102 = 153, alpha 102: a transparent pixel takes
  // the colour and the coverage 102.
  EXPECT_EQ(Px(B, 4, 0), Grey(0));
  EXPECT_EQ(Px(Mask, 4, 0), Grey(153));
}

// Radial weights from the centre to the rim, radius 10 at (10, 10) over a
// white 21 x 21 bitmap painted black; Expected is the grey left.
struct TRadialCase {
  int Hardness;
  double Exponent; // 0: RadialSpot24
  int DX;
  int Expected;
};

class RadialWeights : public ::testing::TestWithParam<TRadialCase> {};

TEST_P(RadialWeights, AtCentreMiddleAndRim) {
  const TRadialCase& C = GetParam();
  TBitmap B(21, 21, pf24bit, clWhite);
  if (C.Exponent == 0)
    RadialSpot24(B, clBlack, 10, 10, 10, C.Hardness, WholeBitmapRect);
  else
    RadialGradient24(B, clBlack, 10, 10, 10, C.Hardness, C.Exponent, WholeBitmapRect);
  EXPECT_EQ(Px(B, 10 + C.DX, 10).Red, C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Weights, RadialWeights,
    ::testing::Values(TRadialCase{100, 0, 0, 0}, TRadialCase{100, 0, 9, 0}, TRadialCase{100, 0, 10, 255},
                      // Hardness 0: weight (10 - d) * 10 %: d 9 -> 10 %, d 5 -> 50 %.
                      TRadialCase{0, 0, 0, 0}, TRadialCase{0, 0, 5, 128}, TRadialCase{0, 0, 9, 230},
                      // Hardness 50: flat to d 5, then (10 - d) * 100 div 5.
                      TRadialCase{50, 0, 5, 0}, TRadialCase{50, 0, 8, 153},
                      // Exponent 2 at v = 0.3: (0.6)^2 / 2 = 0.18 -> 18 %.
                      TRadialCase{0, 2, 7, 210}, TRadialCase{0, 1, 7, 179}, TRadialCase{0, 0, 7, 179}));

TEST(RadialSpot, NothingForRadiusZeroOrOutsideTheRect) {
  TBitmap B(8, 8, pf24bit, clWhite);
  RadialSpot24(B, clBlack, 4, 4, 0, 50, WholeBitmapRect);
  RadialSpot24(B, clBlack, 4, 4, -3, 50, WholeBitmapRect);
  RadialGradient24(B, clBlack, 40, 40, 5, 50, 2.0, WholeBitmapRect);
  RadialSpot24(B, clBlack, 4, 4, 3, 100, TRect{0, 0, 4, 8});
  EXPECT_EQ(Px(B, 5, 4), Grey(255));
  EXPECT_EQ(Px(B, 3, 4), Grey(0));
}

TEST(Bevel, ThreeRingsOutsideTheRect) {
  TBitmap B(20, 20, pf24bit, RGB(128, 128, 128));
  Bevel3D24(B, TRect{5, 5, 15, 15}, 3, 100, false);
  // Innermost ring (4, 4, 16, 16).
  EXPECT_EQ(Px(B, 5, 4), Grey(255));    // top from Left + 1
  EXPECT_EQ(Px(B, 4, 4), Grey(0xCC));   // left column whole
  EXPECT_EQ(Px(B, 15, 5), Grey(0x22));  // right without its ends
  EXPECT_EQ(Px(B, 15, 15), Grey(0));    // bottom from Left + 1
  EXPECT_EQ(Px(B, 4, 15), Grey(0xCC));
  // Outermost (2, 2, 18, 18); nothing beyond it nor inside Rect.
  EXPECT_EQ(Px(B, 3, 2), Grey(255));
  EXPECT_EQ(Px(B, 1, 1), Grey(128));
  EXPECT_EQ(Px(B, 18, 10), Grey(128));
  EXPECT_EQ(Px(B, 5, 5), Grey(128));
  EXPECT_EQ(Px(B, 14, 14), Grey(128));

  TBitmap S(20, 20, pf24bit, RGB(128, 128, 128));
  Bevel3D24(S, TRect{5, 5, 15, 15}, 1, 50, true);
  EXPECT_EQ(Px(S, 5, 4), Grey(64));         // toward black by 50 %
  EXPECT_EQ(Px(S, 10, 15), Grey(191));      // toward white
  Bevel3D24(S, TRect{5, 5, 15, 15}, 0, 50, true);
  Bevel3D24(S, TRect{5, 5, 5, 15}, 2, 50, true);
  EXPECT_EQ(Px(S, 3, 3), Grey(128));
}

using GradientProgress = TProgressFixture;

TEST_F(GradientProgress, CancelKeepsTheLinesDrawnBeforeIt) {
  TCancelAt Sink(3);
  Install(Sink);
  TBitmap B(50, 1, pf24bit, clWhite);
  LinearGradient24(B, clBlack, 100, clBlack, 100, 0, WholeBitmapRect);
  EXPECT_EQ(Px(B, 0, 0), Grey(0));
  EXPECT_EQ(Px(B, 49, 0), Grey(255));
}

} // namespace
