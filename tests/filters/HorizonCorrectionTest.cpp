// The geometry of the horizon correction: the cursors' range and coupling,
// the angle they define, the automatic crop worked by hand for both
// directions of turn, and the turn itself.
#include "filters/HorizonCorrection.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "raster/Bitmap24.h"

#include <gtest/gtest.h>

namespace {

constexpr int Top = 0, Bottom = 1, Left = 2, Right = 3;

// A 400 x 301 thumbnail: middles 1999 and 1504, left and right may reach the
// edges (1505), top and bottom go 1505 x 301 / 400 = 1132.51.
TEST(HorizonRange, MiddlesAndLargestOffsets) {
  const THorizonRange Wide = HorizonRange(400, 301);
  EXPECT_EQ(Wide.MidTop, 1999);
  EXPECT_EQ(Wide.MidLeft, 1504);
  EXPECT_EQ(Wide.MaxDeltaHeight, 1505);
  EXPECT_EQ(Wide.MaxDeltaWidth, 1133);
  // Taller than wide: the top and bottom reach the edges.
  const THorizonRange Tall = HorizonRange(301, 400);
  EXPECT_EQ(Tall.MaxDeltaWidth, 1505);
  EXPECT_EQ(Tall.MaxDeltaHeight, 1133);

  EXPECT_EQ(ClampHorizonCursor(Wide, THorizonSide::Top, 1999 + 2000), 1999 + 1133);
  EXPECT_EQ(ClampHorizonCursor(Wide, THorizonSide::Bottom, 0), 1999 - 1133);
  EXPECT_EQ(ClampHorizonCursor(Wide, THorizonSide::Left, 3100), 1504 + 1505);
  EXPECT_EQ(ClampHorizonCursor(Wide, THorizonSide::Right, 1600), 1600);
}

// Each cursor moved by 50 tenths: the opposite one mirrors it, the other two
// move by 50 x W / H = 66.45 (or 50 x H / W = 37.6) in opposite directions.
TEST(HorizonCursors, OneCursorMovesTheOtherThree) {
  const THorizonRange R = HorizonRange(400, 301);
  struct TCase {
    THorizonSide Side;
    THorizonCursors Expected;
  };
  const TCase Cases[] = {
      {THorizonSide::Top, {2049, 1949, 1504 - 66, 1504 + 66}},
      {THorizonSide::Bottom, {1949, 2049, 1504 + 66, 1504 - 66}},
      {THorizonSide::Left, {1999 - 38, 1999 + 38, 1554, 1454}},
      {THorizonSide::Right, {1999 + 38, 1999 - 38, 1454, 1554}},
  };
  for (const TCase& C : Cases) {
    const int Mid = C.Side == THorizonSide::Top || C.Side == THorizonSide::Bottom ? R.MidTop : R.MidLeft;
    EXPECT_EQ(CoupleHorizonCursors(R, C.Side, Mid + 50), C.Expected) << int(C.Side);
  }
}

TEST(HorizonAngle, FromTheCursorOffsets) {
  EXPECT_DOUBLE_EQ(HorizonAngle(0, 0, 400, 301), 0);
  // The left cursor 201 tenths low, the top one coupled 151 to the left: a
  // horizon rising to the right by about 5.73 degrees.
  EXPECT_NEAR(HorizonAngle(-151, 201, 400, 301), 5.7342, 1e-4);
  // The top cursor to the right alone: the vertical leans right at its top,
  // a clockwise tilt.
  EXPECT_NEAR(HorizonAngle(150, 0, 400, 300), -2.8553, 1e-4);
}

// Worked by hand for 400 x 300 and 5 degrees: sin 0.0871557, cos 0.9961947;
// (300 sin + 400 cos - 400) / 2 = 12.31, (400 sin + 300 cos - 300) / 2 =
// 16.86. With the 4:3 proportion the 376 x 268 rectangle becomes 357 x 268
// (FitRectToAspect: 267 x 4 / 3 = 356 plus one), centred 9 pixels in.
TEST(HorizonCrop, ShrinksAlikeForBothDirectionsOfTurn) {
  for (const double Angle : {5.0, -5.0}) {
    EXPECT_EQ(HorizonCropRect(400, 300, Angle, false), Rect(12, 16, 388, 284)) << Angle;
    EXPECT_EQ(HorizonCropRect(400, 300, Angle, true), Rect(21, 16, 378, 284)) << Angle;
  }
  EXPECT_EQ(HorizonCropRect(400, 300, 0, true), Rect(0, 0, 400, 300));
  // A sliver cannot cover its frame once turned: nothing is cut.
  EXPECT_EQ(HorizonCropRect(400, 2, 30, false), Rect(0, 0, 400, 2));
}

// The crop must lie inside the turned picture: a black picture turned either
// way shows no white inside it.
TEST(HorizonCrop, LiesInsideTheTurnedPicture) {
  TBitmap Black(120, 80, pf24bit, clBlack);
  for (const double Angle : {7.0, -7.0, 20.0, -20.0}) {
    TBitmap Turned;
    StraightenBitmap(Black, Turned, Angle, amBilinear);
    const TRect R = HorizonCropRect(120, 80, Angle, false);
    int Light = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) Light += Px(Turned, X, Y).Green > 191;
    EXPECT_EQ(Light, 0) << Angle;
    // Just outside the corners of the crop the turned picture has left white.
    EXPECT_EQ(Px(Turned, 0, 0), Grey(255)) << Angle;
  }
}

TEST(HorizonStraighten, KeepsOrCutsTheBackground) {
  TBitmap Original(400, 300, pf24bit, clBlack);
  FillRandom(Original, 3);
  TBitmap Bkg;
  EXPECT_EQ(StraightenHorizon(Bkg, Original, 5, false, true), Rect(0, 0, 400, 300));
  EXPECT_EQ(Bkg.Width(), 400);
  EXPECT_EQ(Px(Bkg, 0, 0), Grey(255));
  EXPECT_EQ(Px(Bkg, 399, 299), Grey(255));
  EXPECT_EQ(StraightenHorizon(Bkg, Original, -5, true, true), Rect(21, 16, 378, 284));
  EXPECT_EQ(Bkg.Width(), 357);
  EXPECT_EQ(Bkg.Height(), 268);
}

TEST(HorizonGrid, PositionsAlongASide) {
  EXPECT_EQ(GridPositions(399, 12), (std::vector<int>{0, 33, 66, 100, 133, 166, 200, 233, 266, 299, 332, 366, 399}));
  EXPECT_EQ(GridPositions(300, 1), (std::vector<int>{0, 300}));
  EXPECT_TRUE(GridPositions(31, 0).empty());
}

} // namespace
