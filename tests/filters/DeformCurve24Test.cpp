// The deformation along a curve: smoothing of the samples, the shift of
// columns and rows, the background rules and the grown layer.
#include "filters/DeformCurve24.h"

#include "FilterTestSupport.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

using namespace FilterTest;

namespace {

// Every pixel a different colour: (x, y) is rgb(10 x, 10 y, 7).
void Numbered(TBitmap& B, int W, int H) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, Rgb(10 * X, 10 * Y, 7));
}

// N samples: Low for the first half, High for the rest.
TDeformPoints Step(int N, float Low, float High) {
  TDeformPoints P(size_t(N), Low);
  for (int I = N / 2; I < N; ++I) P[size_t(I)] = High;
  return P;
}

const TRGB Red = Rgb(255, 0, 0);

} // namespace

TEST(DeformCurve, SmoothingAveragesAWindowThatNarrowsAtTheEnds) {
  const TDDAPoints Samples{0, 0, 10, 0, 0, 0};
  const float T = 10.0f / 3;
  EXPECT_EQ(SmoothDeformPoints(Samples, 1), (TDeformPoints{0, T, T, T, 0, 0}));
  EXPECT_EQ(SmoothDeformPoints(Samples, 2), (TDeformPoints{0, 2, 2, 2, 2, 0}));
  EXPECT_TRUE(SmoothDeformPoints({}, 12).empty());
  double Min, Max;
  DeformPointsMinMax({}, Min, Max);
  EXPECT_EQ(Min, 2147483648.0);
  EXPECT_EQ(Max, -2147483648.0);
}

TEST(DeformCurve, TooFewSamplesOrTooSmallASwingChangeNothing) {
  TBitmap Src, Dst;
  Numbered(Src, 24, 10);
  RandomImage(Dst, 3, 5, 5);
  TBitmap Before;
  Before.Assign(Dst);
  DeformByCurve(Src, Dst, true, Step(11, 0, 5), clRed, WholeBitmapRect, amNearest, false);
  ASSERT_IMAGES_MATCH(Dst, Before, 0);
  DeformByCurve(Src, Dst, true, Step(24, 0, 0.3f), clRed, WholeBitmapRect, amNearest, false);
  ASSERT_IMAGES_MATCH(Dst, Src, 0);
}

TEST(DeformCurve, ColumnsAndRowsShiftByTheirSample) {
  TBitmap Src;
  Numbered(Src, 24, 24);
  // The second half moves 2 pixels down (horizontal axis) or right
  // (vertical); what comes from outside is the back colour, or without one
  // the pixel that was there.
  for (const bool Horizontal : {true, false})
    for (const TColor Back : {clRed, clNone}) {
      TBitmap Dst;
      DeformByCurve(Src, Dst, Horizontal, Step(24, 0, 2), Back, WholeBitmapRect, amNearest, false);
      for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 24; ++X) {
          const int Along = Horizontal ? X : Y, Across = Horizontal ? Y : X;
          TRGB Expected = Px(Src, X, Y);
          if (Along >= 12 && Across >= 2)
            Expected = Horizontal ? Px(Src, X, Y - 2) : Px(Src, X - 2, Y);
          else if (Along >= 12 && Back == clRed)
            Expected = Red;
          ASSERT_EQ(Px(Dst, X, Y), Expected) << Horizontal << " " << X << "," << Y;
        }
    }
}

TEST(DeformCurve, GrowModeGrowsByTheSwingAndKeepsEverything) {
  TBitmap Src, Dst;
  Numbered(Src, 24, 10);
  // A swing of 40: the layer grows by 40, the raised half at the top.
  DeformByCurve(Src, Dst, true, Step(24, -20, 20), clNone, {5, 5, 6, 6}, amNearest, true);
  ASSERT_EQ(Dst.Width(), 24);
  ASSERT_EQ(Dst.Height(), 50);
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 24; ++X) {
      const int SourceY = std::clamp(X < 12 ? Y : Y - 40, 0, 9); // edges repeated
      ASSERT_EQ(Px(Dst, X, Y), Px(Src, X, SourceY)) << X << "," << Y;
    }
  // In place, from the copy.
  TBitmap Same;
  Same.Assign(Src);
  DeformByCurveCopy(Same, true, Step(24, -20, 20), clNone, WholeBitmapRect, amNearest, true);
  ASSERT_IMAGES_MATCH(Same, Dst, 0);
}
