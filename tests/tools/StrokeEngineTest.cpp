#include "tools/StrokeEngine.h"

#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "raster/ColorFill.h"
#include "tools/FiltresOutils24.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(StrokeEngineTest, PressureStepAndTimerTables) {
  for (auto [Position, Percent] : {std::pair{0, 100}, {1, 3}, {4, 10}, {9, 70}, {10, 100}})
    EXPECT_EQ(TrackBarPressure(Position), Percent) << Position;
  // Halves go to the even neighbour: 2.5 -> 2, 1.5 -> 2.
  for (auto [Size, Position, Step] : {std::tuple{10, 1, 2}, {2, 5, 2}, {7, 1, 2}, {10, 0, 0}, {12, 10, 25}})
    EXPECT_EQ(BrushStep(Size, Position), Step) << Size << "," << Position;
  const std::vector<int> Intervals{537, 333, 177, 88, 37, 37};
  for (int I = 0; I < int(Intervals.size()); ++I) EXPECT_EQ(RepeatTimerInterval(I), Intervals[I]);
}

TEST(StrokeEngineTest, SegmentWalkEndsOnItsEndPoint) {
  std::vector<TPoint> Points;
  WalkSegment({0, 0}, {3, 1}, [&Points](int X, int Y) { Points.push_back({X, Y}); });
  ASSERT_EQ(Points.size(), 4u);
  EXPECT_EQ(Points.front(), (TPoint{0, 0}));
  EXPECT_EQ(Points.back(), (TPoint{3, 1}));
  Points.clear();
  WalkSegment({5, 5}, {5, 5}, [&Points](int X, int Y) { Points.push_back({X, Y}); });
  EXPECT_EQ(Points, (std::vector<TPoint>{{5, 5}}));
}

// A one-pixel black stamp, so that each stamp paints exactly its point.
struct DotStroke : ::testing::Test {
  TBitmap Target{40, 20, pf24bit, clWhite};
  TStrokeState S;
  void SetUp() override {
    S.Stamp.SetPixelFormat(pf24bit);
    S.Stamp.SetSize(1, 1);
    SetPx(S.Stamp, 0, 0, Grey(0));
    S.Target = &Target;
    S.Clip = {0, 0, 40, 20};
    S.Color = clBlack;
  }
  // The x of every black pixel of row Y.
  std::vector<int> Painted(int Y) const {
    std::vector<int> Xs;
    for (int X = 0; X < Target.Width(); ++X)
      if (Px(Target, X, Y) != Grey(255)) Xs.push_back(X);
    return Xs;
  }
  void Drag(TPoint From, TPoint To) {
    WalkSegment(From, To, [this](int X, int Y) { BrushLineStep(S, X, Y); });
    S.AddPoint(To);
  }
};

TEST_F(DotStroke, StepZeroStampsEveryPointAndTheSegmentStartTwice) {
  S.Start({2, 5});
  ApplyBrushStamp(S, 2, 5);
  Drag({2, 5}, {6, 5});
  Drag({6, 5}, {8, 5});
  EXPECT_EQ(Painted(5), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  // 5 + 3 points walked: the starts (2 and 6) counted again.
  EXPECT_EQ(S.StampCount, 8);
}

TEST_F(DotStroke, StepFourStampsEveryFifthPixelDiagonalToo) {
  S.Step = 4;
  S.Start({1, 1});
  ApplyBrushStamp(S, 1, 1);
  Drag({1, 1}, {15, 1});
  EXPECT_EQ(Painted(1), (std::vector<int>{1, 6, 11}));
  S.Start({1, 3});
  Drag({1, 3}, {12, 14});
  for (int Y = 3; Y <= 14; ++Y)
    EXPECT_EQ(Painted(Y), Y == 8 || Y == 13 ? std::vector<int>{Y - 2} : std::vector<int>{}) << Y;
}

TEST_F(DotStroke, FadeLowersThePressureEveryThirdStamp) {
  S.Pressure = 100;
  S.FadeStep = 5;
  S.Start({0, 0});
  ApplyBrushStamp(S, 0, 0); // the press stamp does not count
  std::vector<int> Seen;
  for (int X = 1; X <= 7; ++X) {
    Seen.push_back(S.Pressure);
    BrushLineStep(S, X, 0);
  }
  EXPECT_EQ(Seen, (std::vector<int>{100, 100, 100, 95, 95, 95, 90}));
}

TEST(StrokeStateTest, AxisLockIsDecidedByTheFirstMove) {
  TStrokeState S;
  S.Start({10, 10});
  TPoint P{13, 12};
  S.LockAxis(P); // |3| >= |2|: horizontal
  EXPECT_EQ(P, (TPoint{13, 10}));
  S.AddPoint(P);
  TPoint Q{13, 40};
  S.LockAxis(Q);
  EXPECT_EQ(Q, (TPoint{13, 10})) << "the decision holds for the stroke";
  TStrokeState T;
  T.Start({0, 0});
  TPoint V{2, 5};
  T.LockAxis(V);
  EXPECT_EQ(V, (TPoint{0, 5}));
  TPoint Tie{4, 4};
  TStrokeState U;
  U.Start({0, 0});
  U.LockAxis(Tie);
  EXPECT_EQ(Tie, (TPoint{4, 0})) << "a tie is horizontal";
}

TEST(StrokeStateTest, DirtyRectKeepsPointsOnItsEdgesAndIsCutToTheClip) {
  TStrokeState S;
  S.Clip = {0, 0, 30, 30};
  S.Start({5, 6});
  S.AddPoint({2, 9});
  EXPECT_EQ(S.DirtyRect, (TRect{2, 6, 5, 9}));
  EXPECT_EQ(S.FinalRect(3, 4), (TRect{0, 2, 8, 13}));
}

TEST(StrokeStateTest, PixelsOutsideTheShapeComeBackAndTheEdgeIsSoftenedOnRelease) {
  TBitmap Target(20, 20, pf24bit, clWhite), Snapshot(20, 20, pf24bit, clWhite);
  TStrokeState S;
  S.Target = &Target;
  S.Snapshot = &Snapshot;
  S.SelMask = std::make_unique<TBitmap>(20, 20, pf24bit, clBlack);
  for (int Y = 5; Y < 15; ++Y)
    for (int X = 5; X < 15; ++X) SetPx(*S.SelMask, X, Y, Grey(255));
  FillColor24(Target, clBlack, 100, {0, 0, 20, 20}); // the whole layer painted
  S.RestoreOutsideSelection({0, 0, 20, 20});
  EXPECT_EQ(Px(Target, 4, 10), Grey(255));
  EXPECT_EQ(Px(Target, 5, 10), Grey(0));
  EXPECT_EQ(Px(Target, 14, 14), Grey(0));
  // Released: the edge grows one pixel and gets a ramp.
  FillColor24(Target, clBlack, 100, {0, 0, 20, 20});
  S.Start({0, 0});
  S.AddPoint({19, 19});
  const TRect R = S.EndSelectionClip(true);
  EXPECT_FALSE(R.IsEmpty());
  EXPECT_FALSE(S.SelMask);
  EXPECT_EQ(Px(Target, 10, 10), Grey(0));
  EXPECT_EQ(Px(Target, 0, 10), Grey(255));
  // The shape loses its outer pixel and the next one is half painted.
  EXPECT_EQ(Px(Target, 5, 10), Grey(255));
  const int Edge = Px(Target, 6, 10).Red;
  EXPECT_GT(Edge, 0);
  EXPECT_LT(Edge, 255) << "the edge pixel is between";
}

TEST(StrokeStateTest, BrushStampPaintsColourThroughTheStampWithTheRadiusOffset) {
  TBitmap Target(20, 20, pf24bit, clWhite);
  TStrokeState S;
  MakeBrushStamp24(S.Stamp, 0, 2); // a 5 x 5 black square
  S.RadiusX = S.RadiusY = 2;
  S.Target = &Target;
  S.Clip = {0, 0, 12, 20};
  S.Color = 0x0000FF;
  S.Pressure = 100;
  ApplyBrushStamp(S, 10, 4);
  EXPECT_EQ(Px(Target, 8, 2), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Target, 11, 6), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Target, 12, 4), Grey(255)) << "outside the clip";
  EXPECT_EQ(Px(Target, 7, 4), Grey(255));
  EXPECT_EQ(Px(Target, 10, 7), Grey(255));
}

} // namespace
