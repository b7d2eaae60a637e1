// Line brushes: dash styles and their continuation across joints, the solid
// stamp spacing, arrows, closed outlines and lines drawn on a canvas.
#include "tools/LineBrush24.h"

#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The painted columns of row 2 as a string of '#' and '.'.
std::string RowPattern(const TBitmap& B, int Y) {
  std::string S;
  for (int X = 0; X < B.Width(); ++X) S += Px(B, X, Y) == Grey(255) ? '.' : '#';
  return S;
}

struct TDashCase {
  int Style;
  const char* Pattern; // 16 steps of Width 1 on pixel centres
};

class DashStyles : public ::testing::TestWithParam<TDashCase> {};

TEST_P(DashStyles, WidthOneOverAPolylineContinuesAcrossTheJoint) {
  const TDashCase& C = GetParam();
  TBitmap B(16, 5, pf24bit, clWhite);
  ResetLineStyle();
  DrawStyledSegment24(B, 0, 2, 8, 2, clBlack, 1, C.Style, WholeBitmapRect);
  DrawStyledSegment24(B, 8, 2, 16, 2, clBlack, 1, C.Style, WholeBitmapRect);
  EXPECT_EQ(RowPattern(B, 2), C.Pattern);
  EXPECT_EQ(RowPattern(B, 1), std::string(16, '.')); // single points, no spread
}

INSTANTIATE_TEST_SUITE_P(Styles, DashStyles,
                         ::testing::Values(TDashCase{0, "################"}, TDashCase{1, "#####...#####..."},
                                           TDashCase{2, "#.#.#.#.#.#.#.#."}, TDashCase{3, "#####.#.#####.#."},
                                           TDashCase{4, "###.#.#.###.#.#."}, TDashCase{6, "................"}));

TEST(DashState, ResetStartsAtPhaseZeroAndShortSegmentsLeaveIt) {
  TBitmap B(16, 5, pf24bit, clWhite);
  ResetLineStyle();
  DrawStyledSegment24(B, 0, 2, 5, 2, clBlack, 1, 1, WholeBitmapRect);
  EXPECT_EQ(LineDashState().Phase, 5);
  DrawStyledSegment24(B, 5, 2, 5.3, 2, clBlack, 1, 1, WholeBitmapRect); // N = 0
  EXPECT_EQ(LineDashState().Phase, 5);
  ResetLineStyle();
  EXPECT_EQ(LineDashState().Phase, 0);
  EXPECT_EQ(LineDashState().StepInPhase, 0);
  EXPECT_EQ(LineDashState().StepsSinceDab, 0);
  // Phase 0 after the reset: the dab at x 8 is drawn again.
  TBitmap C(16, 5, pf24bit, clWhite);
  DrawStyledSegment24(C, 8, 2, 10, 2, clBlack, 1, 1, WholeBitmapRect);
  EXPECT_EQ(Px(C, 8, 2), Grey(0));
}

TEST(DashState, CellsAreCeilOfPointSixNineWidth) {
  TBitmap B(200, 40, pf24bit, clWhite);
  ResetLineStyle();
  // Width 10: T = 7 steps per cell; 21 steps end in phase 3 at step 0.
  DrawStyledSegment24(B, 10, 20, 31, 20, clBlack, 10, 1, WholeBitmapRect);
  EXPECT_EQ(LineDashState().Phase, 3);
  EXPECT_EQ(LineDashState().StepInPhase, 0);
  EXPECT_NE(Px(B, 20, 20), Grey(255));
}

TEST(SolidSegment, WideDabsEverySecondStepAndAlwaysAtTheLast) {
  // Width 16: dabs at steps 1, 3, 5, 7, 9 and the last step 10 (x 30); the
  // stamp's top-left lies 7 pixels back, so the last disc reaches x 38.
  TBitmap B(60, 40, pf24bit, clWhite);
  ResetLineStyle();
  SolidSegment24(B, 20, 20, 31, 20, clBlack, 16, WholeBitmapRect);
  EXPECT_NE(Px(B, 38, 20), Grey(255));
  EXPECT_EQ(Px(B, 39, 20), Grey(255));
  EXPECT_EQ(Px(B, 25, 20), Grey(0));
  EXPECT_EQ(LineDashState().StepsSinceDab, 0);
}

TEST(SolidSegment, NothingForBadWidthsClipsOrFarSegments) {
  TBitmap B(20, 20, pf24bit, clWhite);
  TBitmap Before;
  Before.Assign(B);
  SolidSegment24(B, 2, 2, 15, 15, clBlack, 0, WholeBitmapRect);
  SolidSegment24(B, 2, 2, 15, 15, clBlack, -4, WholeBitmapRect);
  DrawStyledSegment24(B, 2, 2, 15, 15, clBlack, 3, 2, TRect{5, 5, 5, 9});
  SolidSegment24(B, 40, 2, 55, 15, clBlack, 4, WholeBitmapRect);
  BevelSegment24(B, 2, -30, 15, -20, clBlack, 4, WholeBitmapRect);
  SolidSegment24(B, 2, 2, 15, 15, clBlack, 1 << 30, WholeBitmapRect); // no stamp of gigabytes
  BevelSegment24(B, 2, 2, 15, 15, clBlack, (1 << 30) + 1, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(B, Before);
}

TEST(BevelSegment, PaintsAShadedTubeOfTheColour) {
  TBitmap B(40, 30, pf24bit, clWhite);
  ResetLineStyle();
  DrawStyledSegment24(B, 5, 15, 35, 15, RGB(0, 0, 200), 10, 5, WholeBitmapRect);
  const TRGB Mid = Px(B, 20, 15);
  EXPECT_GT(Mid.Blue, Mid.Red + 60);
  EXPECT_NE(Px(B, 20, 12), Px(B, 20, 18)); // lit from the top-left
  EXPECT_EQ(Px(B, 20, 2), Grey(255));
}

TEST(BrushLine, ArrowsOnlyFromSixWidthPlusSix) {
  // Width 2: r = 9, so no barbs below 18 pixels of length.
  for (int Length : {17, 18}) {
    TBitmap Plain(60, 40, pf24bit, clWhite), Arrows(60, 40, pf24bit, clWhite);
    DrawBrushLine24(Plain, 10, 20, 10 + Length, 20, clBlack, 2, false, false, 0, WholeBitmapRect);
    DrawBrushLine24(Arrows, 10, 20, 10 + Length, 20, clBlack, 2, true, true, 0, WholeBitmapRect);
    EXPECT_EQ(ImagesMatch(Arrows, Plain), Length < 18) << Length;
  }
}

// Any pixel of the 3 x 3 square around (X, Y) painted.
bool PaintedNear(const TBitmap& B, int X, int Y) {
  for (int DY = -1; DY <= 1; ++DY)
    for (int DX = -1; DX <= 1; ++DX)
      if (Px(B, X + DX, Y + DY) != Grey(255)) return true;
  return false;
}

TEST(BrushLine, BarbsAtTheEndOnlyOrBothEnds) {
  // Width 2, 40 long: o = 6 across, r = 9 along; the end barbs reach
  // (41, 14) and (41, 26), the start barbs (19, 14) and (19, 26).
  TBitmap End(60, 40, pf24bit, clWhite), Both(60, 40, pf24bit, clWhite);
  DrawBrushLine24(End, 10, 20, 50, 20, clBlack, 2, false, true, 0, WholeBitmapRect);
  DrawBrushLine24(Both, 10, 20, 50, 20, clBlack, 2, true, true, 0, WholeBitmapRect);
  EXPECT_TRUE(PaintedNear(End, 41, 14));
  EXPECT_TRUE(PaintedNear(End, 41, 26));
  EXPECT_FALSE(PaintedNear(End, 19, 14));
  EXPECT_FALSE(PaintedNear(End, 41, 9)); // the barbs end where they should
  EXPECT_TRUE(PaintedNear(Both, 19, 14));
  EXPECT_TRUE(PaintedNear(Both, 19, 26));
}

TEST(BrushPolygon, ClosesItsOutline) {
  TBitmap B(30, 30, pf24bit, clWhite);
  BrushPolygon24(B, {{5, 5}, {25, 5}, {5, 25}}, clBlack, 3, WholeBitmapRect);
  EXPECT_NE(Px(B, 15, 5), Grey(255));
  EXPECT_NE(Px(B, 5, 15), Grey(255));
  EXPECT_NE(Px(B, 15, 15), Grey(255)); // from the third point back to the first
  EXPECT_EQ(Px(B, 10, 10), Grey(255));

  TBitmap One(30, 30, pf24bit, clWhite), Blank(30, 30, pf24bit, clWhite);
  BrushPolygon24(One, {{5, 5}}, clBlack, 3, WholeBitmapRect);
  BrushPolygon24(One, {{5, 5}, {25, 5}}, clBlack, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(One, Blank);
}

TEST(CanvasBrushLine, DrawsOverTheBrushColourInsideTheRect) {
  TBitmap B(40, 30, pf24bit, clWhite);
  TCanvas& C = B.Canvas();
  C.Pen.Color = clRed;
  C.Pen.Width = 3;
  C.Pen.Style = TPenStyle::psSolid;
  C.Brush.Color = clYellow;
  ResetLineStyle();
  CanvasBrushLine(C, 5, 15, 35, 15, TRect{2, 10, 38, 20});
  EXPECT_EQ(Px(B, 20, 15), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 3, 11), Rgb(255, 255, 0)); // the scratch's ground
  EXPECT_EQ(Px(B, 1, 15), Grey(255));
  EXPECT_EQ(Px(B, 20, 21), Grey(255));

  // Dotted pen: the dots of style 2.
  C.Pen.Width = 1;
  C.Pen.Style = TPenStyle::psDot;
  ResetLineStyle();
  CanvasBrushLine(C, 0, 25, 16, 25, TRect{0, 22, 16, 28});
  EXPECT_EQ(Px(B, 0, 25), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 1, 25), Rgb(255, 255, 0));

  // Far from the rect, or a pen of no width: nothing, not even the ground.
  TBitmap Before;
  Before.Assign(B);
  CanvasBrushLine(C, 100, 100, 120, 100, TRect{2, 2, 10, 8});
  C.Pen.Width = 0;
  CanvasBrushLine(C, 0, 5, 30, 5, TRect{2, 2, 10, 8});
  EXPECT_IMAGES_MATCH(B, Before);
}

} // namespace
