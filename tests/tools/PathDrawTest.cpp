// Drawing a path: brush strokes, polygon fills and edges, and the walk of
// the curve dialogs with its callback.
#include "tools/PathControl.h"

#include "support/PathVertices.h"
#include "support/Pixels.h"
#include "tools/LineBrush24.h"

#include <gtest/gtest.h>

#include <vector>

namespace {


bool AllWhite(const TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (Px(B, X, Y) != Grey(255)) return false;
  return true;
}

} // namespace

TEST(StrokePath, CallbackWalksTheLineThenFinishesTheLastPoint) {
  TFakePathView View(256, 20);
  TPathControl Path(&View);
  Path.ReplacePath(LinePath({{0, 10}, {255, 10}}), false, false);
  TBitmap B(256, 20, pf24bit, clWhite);
  std::vector<TPoint> Calls;
  StrokePath(B, {0, 0, 256, 20}, Path, clBlack, 100, 1,
             [&](int X, int Y, void*) { Calls.push_back({X, Y}); }, nullptr, WholeBitmapRect);
  ASSERT_EQ(Calls.size(), 256u);
  for (int X = 0; X < 256; ++X) EXPECT_EQ(Calls[size_t(X)], (TPoint{X, 10}));
  EXPECT_TRUE(AllWhite(B)); // the callback draws nothing itself
}

TEST(StrokePath, MapsOntoRectAndJoinsOpenEndsToTheBorders) {
  TFakePathView View(100, 100);
  TPathControl Path(&View);
  Path.ReplacePath(LinePath({{20, 50}, {80, 50}}), false, false);
  // The 100 x 100 image mapped onto a 200 x 100 rectangle.
  TBitmap B(200, 100, pf24bit, clWhite);
  StrokePath(B, {0, 0, 200, 100}, Path, clBlack, 100, 1, nullptr, nullptr, WholeBitmapRect);
  EXPECT_EQ(Px(B, 100, 50), Grey(0));
  EXPECT_EQ(Px(B, 10, 50), Grey(255));
  Path.SetJoinBorder(1);
  StrokePath(B, {0, 0, 200, 100}, Path, clBlack, 100, 1, nullptr, nullptr, WholeBitmapRect);
  EXPECT_EQ(Px(B, 10, 50), Grey(0));
  EXPECT_EQ(Px(B, 199, 50), Grey(0));
  EXPECT_EQ(Px(B, 100, 10), Grey(255));
  // An empty clip draws nothing.
  TBitmap C(200, 100, pf24bit, clWhite);
  StrokePath(C, {0, 0, 200, 100}, Path, clBlack, 100, 1, nullptr, nullptr, {300, 300, 400, 400});
  EXPECT_TRUE(AllWhite(C));
}

TEST(StrokePath, CurveSamplesCloserThanStepAreSkipped) {
  TFakePathView View(100, 100);
  TPathControl Path(&View);
  TPathVertexList L = LinePath({{0, 50}, {99, 50}});
  L[0].B2 = {30, 0};
  L[0].B2Initialized = true;
  L[1].B1 = {70, 0};
  L[1].B1Initialized = true;
  Path.ReplacePath(L, true, false);
  const auto CountCalls = [&](int Step) {
    TBitmap B(100, 100, pf24bit, clWhite);
    int N = 0;
    StrokePath(B, {0, 0, 100, 100}, Path, clBlack, 100, Step, [&](int, int, void*) { ++N; }, nullptr,
               WholeBitmapRect);
    return N;
  };
  // Whatever the step, the walk reaches the end: about as many pixels.
  EXPECT_NEAR(CountCalls(1), CountCalls(10), 10);
  TBitmap B(100, 100, pf24bit, clWhite);
  StrokePath(B, {0, 0, 100, 100}, Path, clBlack, 100, 1, nullptr, nullptr, WholeBitmapRect);
  // The top of the arch: (49.875, 12.5) at t = 1/2.
  EXPECT_TRUE(Px(B, 50, 12) != Grey(255) || Px(B, 50, 13) != Grey(255));
  EXPECT_EQ(Px(B, 50, 30), Grey(255));
}

TEST(PathDraw, DrawInBitmapFillsAndEdgesOrDrawsNothing) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{10, 10}, {40, 10}, {40, 40}, {10, 40}}), false, true);
  TBitmap B(60, 60, pf24bit, clWhite);
  Path.DrawInBitmap(B, 5, 5, clBlack, 0, clNone, true, 100, WholeBitmapRect);
  EXPECT_TRUE(AllWhite(B));
  // Placed with the curve's top-left at (5, 5).
  Path.DrawInBitmap(B, 5, 5, clBlack, 0, clRed, false, 100, WholeBitmapRect);
  EXPECT_EQ(Px(B, 20, 20), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 40, 40), Grey(255));
  Path.DrawInBitmap(B, 5, 5, clBlue, 5, clNone, false, 100, WholeBitmapRect);
  EXPECT_EQ(Px(B, 5, 20), Rgb(0, 0, 255));
  EXPECT_EQ(Px(B, 20, 20), Rgb(255, 0, 0));
  // The clip holds for the wide edge too.
  TBitmap C(60, 60, pf24bit, clWhite);
  Path.DrawInBitmap(C, 5, 5, clBlue, 5, clNone, false, 100, {0, 0, 20, 60});
  EXPECT_EQ(Px(C, 35, 5), Grey(255));
  EXPECT_EQ(Px(C, 5, 20), Rgb(0, 0, 255));
}

TEST(PathDraw, DrawPathStrokesLinesAndCurvesThroughTheAnchors) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{0, 0}, {40, 0}, {40, 30}}), false, false);
  TBitmap B(60, 60, pf24bit, clWhite);
  ResetLineStyle();
  Path.DrawPath(B, 10, 10, clBlack, 1, 0, WholeBitmapRect);
  EXPECT_EQ(Px(B, 30, 10), Grey(0));
  EXPECT_EQ(Px(B, 50, 25), Grey(0));
  EXPECT_EQ(Px(B, 30, 25), Grey(255));

  Path.SetBezierMode(true);
  Path.DefaultControlPoints();
  TBitmap C(60, 60, pf24bit, clWhite);
  ResetLineStyle();
  Path.DrawPath(C, 10, 10, clBlack, 3, 0, WholeBitmapRect);
  // The smoothed curve still runs through the anchors, but leaves the
  // straight sides between them.
  const TRect Bounds = Path.BmpBounds(2);
  const auto At = [&](int X, int Y) { return Px(C, 10 + X - Bounds.Left, 10 + Y - Bounds.Top); };
  EXPECT_EQ(At(40, 0), Grey(0));
  EXPECT_LT(At(40, 29).Red, 10);
  EXPECT_LT(Bounds.Top, 0);
  EXPECT_EQ(At(20, 0), Grey(255));
  // One vertex draws nothing.
  Path.ReplacePath(LinePath({{5, 5}}), false, false);
  TBitmap D(20, 20, pf24bit, clWhite);
  Path.DrawPath(D, 0, 0, clBlack, 3, 0, WholeBitmapRect);
  Path.DrawInBitmap(D, 0, 0, clBlack, 3, clBlack, true, 100, WholeBitmapRect);
  EXPECT_TRUE(AllWhite(D));
}
