#include "raster/RectUtils.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

inline void PrintTo(const TFloatRect& R, std::ostream* Out) {
  *Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

TEST(RectUtils, ClipToBitmap) {
  TBitmap B(640, 480);
  struct Case {
    TRect In;
    TRect Out;
    bool Result;
  };
  for (const Case& C : {Case{WholeBitmapRect, {0, 0, 640, 480}, true}, Case{{700, 10, 800, 20}, {}, false},
                        Case{{50, 40, 10, 20}, {10, 20, 50, 40}, true}, Case{{-5, -5, 3, 3}, {0, 0, 3, 3}, true},
                        Case{{5, 5, 5, 9}, {}, false}}) {
    TRect R = C.In;
    EXPECT_EQ(ClipToBitmap(R, B), C.Result) << ::testing::PrintToString(C.In);
    EXPECT_EQ(R, C.Out) << ::testing::PrintToString(C.In);
  }
  for (auto [W, H] : {std::pair{0, 10}, std::pair{10, 0}}) {
    TBitmap Empty(W, H);
    TRect R = WholeBitmapRect;
    EXPECT_FALSE(ClipToBitmap(R, Empty));
    EXPECT_EQ(R, TRect{});
  }
}

TEST(RectUtils, SizesAndPoints) {
  EXPECT_EQ(RectWidth({50, 0, 10, 5}), 40);
  EXPECT_EQ(RectHeight({0, 9, 0, 2}), 7);
  EXPECT_TRUE(IsPointRect({3, 4, 3, 4}));
  EXPECT_FALSE(IsPointRect({3, 4, 4, 4}));
  EXPECT_EQ(NormalizeRect(5, 1, 2, 8), (TRect{2, 1, 5, 8}));
}

TEST(RectUtils, BrushRect) {
  EXPECT_EQ(BrushRect(10, 10, 1), (TRect{10, 10, 11, 11}));
  EXPECT_EQ(BrushRect(10, 10, 4), (TRect{9, 9, 13, 13}));
  EXPECT_EQ(BrushRect(10, 10, 5), (TRect{8, 8, 13, 13}));
  EXPECT_EQ(BrushRect(10, 10, 0), (TRect{10, 10, 10, 10}));
  EXPECT_EQ(BrushRectF(10.5, 2, 4), (TFloatRect{9.5, 1, 13.5, 5}));
}

TEST(RectUtils, SymmetricRect) {
  const TRect Area{0, 0, 100, 100};
  EXPECT_EQ(SymmetricRect(10, 10, 14, 12, Area, false), (TRect{6, 8, 15, 13}));
  EXPECT_EQ(SymmetricRect(10, 10, 14, 12, Area, true), (TRect{8, 8, 13, 13}));
  EXPECT_EQ(SymmetricRect(2, 50, 20, 50, Area, false), (TRect{0, 50, 5, 51}));
  // A centre outside its bounds gives nothing rather than a reversed rectangle.
  EXPECT_EQ(SymmetricRect(120, 50, 130, 55, Area, false), TRect{});
  EXPECT_EQ(SymmetricRect(-1, 50, 3, 55, Area, false), TRect{});
}

TEST(RectUtils, PositionRect) {
  const TRect Area{0, 0, 101, 101};
  struct Case {
    TPosition Position;
    TRect Expected;
  };
  for (const Case& C :
       {Case{poCenter, {45, 45, 55, 55}}, Case{poBottomRight, {91, 91, 101, 101}}, Case{poTopLeft, {0, 0, 10, 10}},
        Case{poCenterHorz, {45, 7, 55, 17}}, Case{poCenterVert, {3, 45, 13, 55}}, Case{poManual, {3, 7, 13, 17}},
        Case{poCenterRight, {91, 45, 101, 55}}, Case{poCenterBottom, {45, 91, 55, 101}}}) {
    TRect R{3, 7, 13, 17};
    PositionRect(R, Area, C.Position);
    EXPECT_EQ(R, C.Expected) << int(C.Position);
  }
  // A larger rectangle overhangs by the odd pixel on the right.
  TRect Big{0, 0, 12, 4};
  PositionRect(Big, {0, 0, 9, 4}, poCenter);
  EXPECT_EQ(Big, (TRect{-1, 0, 11, 4}));
}

TEST(RectUtils, MoveRectInside) {
  TRect R{90, 90, 130, 130};
  MoveRectInside(R, {0, 0, 100, 100}, false);
  EXPECT_EQ(R, (TRect{60, 60, 100, 100}));
  R = {-10, 5, 150, 20};
  MoveRectInside(R, {0, 0, 100, 100}, false);
  EXPECT_EQ(R, (TRect{0, 5, 160, 20}));
  R = {-10, 5, 150, 20};
  MoveRectInside(R, {0, 0, 100, 100}, true);
  EXPECT_EQ(R, (TRect{0, 5, 100, 20}));
}

TEST(RectUtils, AspectHelpers) {
  EXPECT_EQ(FitRectToAspect({0, 0, 101, 51}, 1, true, true), (TRect{0, 0, 51, 51}));
  EXPECT_EQ(FitRectToAspect({0, 0, 101, 51}, 1, false, false), (TRect{50, 0, 101, 51}));
  EXPECT_EQ(FitRectToAspect({0, 0, 51, 101}, 0.5, true, true), (TRect{0, 0, 51, 101}));
  for (double Bad : {0.0, -2.0, std::nan("")}) {
    EXPECT_EQ(FitRectToAspect({0, 0, 101, 51}, Bad, true, true), (TRect{0, 0, 101, 51}));
    EXPECT_EQ(AdjustRectAspect({0, 0, 101, 51}, Bad, true), (TRect{0, 0, 101, 51}));
  }
  EXPECT_EQ(AdjustRectAspect({0, 0, 101, 51}, 2, true), (TRect{0, 0, 101, 51}));
  EXPECT_EQ(AdjustRectAspect({0, 0, 101, 11}, 2, false), (TRect{0, 0, 101, 51}));
  EXPECT_EQ(SquareRect({0, 0, 10, 4}, true, true), (TRect{0, 0, 4, 4}));
  EXPECT_EQ(SquareRect({0, 0, 10, 4}, false, true), (TRect{6, 0, 10, 4}));
  EXPECT_EQ(SquareRect({0, 0, 4, 10}, true, false), (TRect{0, 6, 4, 10}));
  TRect Small{5, 5, 6, 6};
  EnsureMinRectSize(Small, 4, 3, false, true);
  EXPECT_EQ(Small, (TRect{2, 5, 6, 8}));
}

TEST(RectUtils, PointHelpers) {
  TPoint P{-3, 200};
  ClampPointToRect(P, {0, 0, 100, 100});
  EXPECT_EQ(P, (TPoint{0, 99}));
  TRect R{5, 5, 6, 6};
  IncludePointInRect(R, {10, 2});
  EXPECT_EQ(R, (TRect{5, 2, 11, 6}));
}

TEST(RectUtils, FloatConversions) {
  const TFloatRect F{0.5, 0.5, 2.5, 2.5};
  EXPECT_EQ(FloatRectToRect(F, 1), (TRect{0, 0, 2, 2}));
  EXPECT_EQ(FloatRectToRect(F, 2), (TRect{0, 0, 3, 3}));
  EXPECT_EQ(FloatRectToRect(F, 3), (TRect{1, 1, 2, 2}));
  EXPECT_EQ(FloatRectToRect(F, 0), (TRect{0, 0, 2, 2}));
  EXPECT_EQ(FloatRectToRect({-1.5, -0.5, 1.5, 3.5}, 2), (TRect{-1, 0, 2, 4}));
  const TFloatPoint Q = RotateFloatPoint(10, 0, 0, 0, std::numbers::pi / 2);
  EXPECT_NEAR(Q.X, 0, 1e-12);
  EXPECT_NEAR(Q.Y, -10, 1e-12);
}

// 64-bit coordinates come back into the int range saturated; rectangles
// placed near its ends keep their near sides and stop at the limit.
TEST(RectUtils, ClampsAtTheEndsOfTheIntRange) {
  EXPECT_EQ(ClampToInt(int64_t{INT_MAX} + 1), INT_MAX);
  EXPECT_EQ(ClampToInt(int64_t{INT_MIN} - 1), INT_MIN);
  EXPECT_EQ(ClampToInt(-7), -7);
  struct Case {
    int X, Y, W, H;
    TRect Out;
  };
  for (const Case& C : {Case{1, 2, 3, 4, {1, 2, 4, 6}}, Case{INT_MAX - 2, 0, 10, 5, {INT_MAX - 2, 0, INT_MAX, 5}},
                        Case{0, INT_MAX, 5, INT_MAX, {0, INT_MAX, 5, INT_MAX}},
                        Case{INT_MIN, INT_MIN, -1, 3, {INT_MIN, INT_MIN, INT_MIN, INT_MIN + 3}}})
    EXPECT_EQ(ClampedBounds(C.X, C.Y, C.W, C.H), C.Out) << C.X << "," << C.Y << " " << C.W << " x " << C.H;
  EXPECT_EQ(RectWidth({INT_MIN, 0, INT_MAX, 0}), INT_MAX);
  EXPECT_EQ(RectHeight({0, INT_MAX, 0, INT_MIN}), INT_MAX);
}
