// Selection shapes: vertices, point capture, tracing masks into bitmap
// shapes, flips and turns, growing and rescaling, hit tests and the outline
// drawing. Expected pixels come from hand-computed sets or plain loops
// written here, never from the manager itself.
#include "document/ShapeManager.h"

#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// A 24-bit mask, black where Inside(X, Y), white elsewhere.
template <class F> void MakeMask(TBitmap& M, int W, int H, F Inside) {
  NewBitmap24(M, W, H, clWhite);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (Inside(X, Y)) RowOf(M, Y)[X] = {0, 0, 0};
}

PixelSet PixelsOf(const TBitmap& B, TRGB C) {
  PixelSet S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (RowOf(B, Y)[X] == C) S.insert({X, Y});
  return S;
}

int DifferingPixels(const TBitmap& A, const TBitmap& B) {
  int N = 0;
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) N += RowOf(A, Y)[X] == RowOf(B, Y)[X] ? 0 : 1;
  return N;
}

// The shape of a manager filled black on white at zoom 1.
PixelSet FilledPixels(const TShapeManager& M, int W, int H, int X0 = 0, int Y0 = 0) {
  TBitmap B;
  NewBitmap24(B, W, H, clWhite);
  M.FillBitmapShape(B.Canvas(), X0, Y0, 1, 1, clBlack);
  return PixelsOf(B, {0, 0, 0});
}

// A ring: a 7 x 6 block with a 3 x 2 hole, and a lone pixel further right.
bool RingShape(int X, int Y) {
  const bool Block = X >= 1 && X <= 7 && Y >= 1 && Y <= 6;
  const bool Hole = X >= 3 && X <= 5 && Y >= 3 && Y <= 4;
  return (Block && !Hole) || (X == 10 && Y == 2);
}

struct ManagerSettings : ::testing::Test {
  void SetUp() override {
    MinPointDistance = 3;
    LineShapeWidth = 1;
    AnimStepIncrement = 2;
    RoundRectDivisor = 4;
    ShowLoadErrors = true;
  }
};

} // namespace

// ---- Geometry ---------------------------------------------------------------------

TEST(ShapeGeometry, VerticesOfSimpleShapes) {
  struct Case {
    TMyShape Shape;
    std::vector<TPoint> Expected;
  };
  const TRect R{10, 20, 30, 40};
  const Case Cases[] = {
      {ssRect, {{29, 39}, {29, 20}, {10, 20}, {10, 39}}},
      {ssTriangle1, {{29, 39}, {19, 20}, {10, 39}}},
      {ssTriangle2, {{30, 29}, {10, 20}, {10, 39}}},
      {ssTriangle3, {{19, 39}, {29, 20}, {10, 20}}},
      {ssTriangle4, {{29, 39}, {29, 20}, {10, 29}}},
      {ssLosange, {{19, 39}, {29, 29}, {20, 20}, {10, 29}}},
      {ssEllipse, {}},
      {ssBitmap, {}},
  };
  for (const Case& C : Cases) {
    std::vector<TPoint> V{{1, 1}};
    EXPECT_EQ(ShapeToPolygon(C.Shape, R, V), static_cast<int>(C.Expected.size())) << int(C.Shape);
    EXPECT_EQ(V, C.Expected) << int(C.Shape);
  }
}

TEST(ShapeGeometry, RoundRectOctagonCut) {
  RoundRectDivisor = 4;
  std::vector<TPoint> V;
  ASSERT_EQ(ShapeToPolygon(ssRoundRect, Bounds(0, 0, 60, 30), V), 8);
  // d = Round(30 / 6) = 5.
  EXPECT_EQ(V[0], (TPoint{59, 24}));
  EXPECT_EQ(V[2], (TPoint{54, 0}));
  EXPECT_EQ(V[3], (TPoint{5, 0}));
  EXPECT_EQ(V[7], (TPoint{54, 29}));
}

TEST(ShapeGeometry, ThickLineIsARotatedBand) {
  // Horizontal: a band of height w around the line between the brush centres.
  const std::vector<TPoint> H = ThickLineVertices({0, 10, 20, 10}, 5);
  EXPECT_EQ(H, (std::vector<TPoint>{{-2, 8}, {22, 8}, {22, 12}, {-2, 12}}));
  // Straight down: the band turns a quarter clockwise on screen.
  const std::vector<TPoint> V = ThickLineVertices({10, 0, 10, 20}, 3);
  EXPECT_EQ(V, (std::vector<TPoint>{{11, -1}, {11, 21}, {9, 21}, {9, -1}}));
}

TEST(ShapeGeometry, ShapeCodes) {
  for (int S = ssRect; S <= ssLosange; ++S) {
    const int Code = ShapeToCode(TMyShape(S));
    EXPECT_EQ(Code, -1 - S);
    EXPECT_TRUE(IsValidShapeCode(Code));
    EXPECT_EQ(CodeToShape(Code), TMyShape(S));
  }
  for (int Code : {-11, -12, 0, 1}) EXPECT_FALSE(IsValidShapeCode(Code)) << Code;
}

TEST(ShapeGeometry, PointInPolygon) {
  const TPoint Tri[] = {{0, 0}, {10, 0}, {0, 10}};
  EXPECT_TRUE(PtInPolygon({2, 2}, Tri, 2));
  EXPECT_TRUE(PtInPolygon({0, 0}, Tri, 2)); // the top-left edges are in
  EXPECT_FALSE(PtInPolygon({6, 6}, Tri, 2));
  EXPECT_FALSE(PtInPolygon({-1, 2}, Tri, 2));
  EXPECT_FALSE(PtInPolygon({2, 2}, Tri, 1)); // two points
}

// ---- Capture and the reference outline -----------------------------------------------

TEST_F(ManagerSettings, CaptureMakesANormalisedReference) {
  TShapeManager M;
  M.BeginPoints({10, 10});
  EXPECT_TRUE(M.UpdatingPoints());
  EXPECT_EQ(M.AddPoint({12, 10}), -1); // closer than 3 on both axes
  EXPECT_EQ(M.AddPoint({13, 10}), 1);
  EXPECT_EQ(M.AddPoint({13, 30}), 2);
  EXPECT_EQ(M.AddPoint({40, 31}), 3);
  EXPECT_EQ(M.DeleteLastPoint(), (TRect{10, 10, 13, 30}));
  EXPECT_EQ(M.AddPoint({31, 21}), 3);
  EXPECT_EQ(M.FirstPoint(), (TPoint{10, 10}));
  EXPECT_EQ(M.LastPoint(), (TPoint{31, 21}));
  M.EndPoints(2);
  EXPECT_FALSE(M.UpdatingPoints());
  // Relative to (10, 10), then divided by the zoom and truncated.
  EXPECT_EQ(M.RefData().Points, (TShapePointArray{{0, 0}, {1, 0}, {1, 10}, {10, 5}}));
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(M.GetPoint(-1), (TPoint{}));
  EXPECT_EQ(M.GetPoint(4), (TPoint{}));
  EXPECT_EQ(M.GetPoint(3), (TPoint{10, 5}));
}

TEST_F(ManagerSettings, WindowOutlineStretchesTheReference) {
  TShapeManager M;
  M.SetPoints({{{0, 0}, {10, 0}, {5, 8}}, {}, {0, 0, 10, 8}});
  const TPoint* First = nullptr;
  int Count = 0;
  // R less 1 right and bottom is (100, 50, 120, 66): twice the reference.
  M.PreparePoints({100, 50, 121, 67}, ssPolygon, First, Count);
  ASSERT_EQ(Count, 3);
  EXPECT_EQ(First[0], (TPoint{100, 50}));
  EXPECT_EQ(First[1], (TPoint{120, 50}));
  EXPECT_EQ(First[2], (TPoint{110, 66}));
  // Same size elsewhere: moved only.
  M.PreparePoints({0, 0, 21, 17}, ssPolygon, First, Count);
  EXPECT_EQ(First[2], (TPoint{10, 16}));
  // A capture that is cancelled gives the reference back.
  M.BeginPoints({500, 500});
  M.AddPoint({600, 500});
  M.AddPoint({600, 600});
  M.AddPoint({500, 600});
  EXPECT_EQ(M.PointsCount(), 4);
  M.CancelPoints();
  EXPECT_EQ(M.PointsCount(), 3);
  M.PreparePoints({0, 0, 1, 1}, ssPolygon, First, Count);
  ASSERT_EQ(Count, 3);
  EXPECT_EQ(First[1], (TPoint{0, 0})); // rebuilt for a one-pixel rectangle, not left stale
  M.PreparePoints({0, 0, 21, 17}, ssPolygon, First, Count);
  EXPECT_EQ(First[2], (TPoint{10, 16}));
  // Simple kinds leave the caller's pointer alone.
  const TPoint* Untouched = nullptr;
  int Zero = 0;
  M.PreparePoints({0, 0, 21, 17}, ssEllipse, Untouched, Zero);
  EXPECT_EQ(Untouched, nullptr);
  EXPECT_EQ(Zero, 0);
}

TEST_F(ManagerSettings, TransformOfPointLists) {
  TShapeManager M;
  const TShapePointArray Original{{0, 0}, {9, 1}, {3, 4}};
  M.SetPoints({Original, {}, {0, 0, 9, 4}});
  M.Transform(2);
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 4, 9}));
  EXPECT_EQ(M.RefData().Points, (TShapePointArray{{4, 0}, {3, 9}, {0, 3}}));
  M.Transform(3);
  EXPECT_EQ(M.RefData().Points, Original);
  M.Transform(0);
  EXPECT_EQ(M.RefData().Points, (TShapePointArray{{0, 4}, {9, 3}, {3, 0}}));
  M.Transform(1);
  M.Transform(4); // a flip and a mirror make a half turn: back again
  EXPECT_EQ(M.RefData().Points, Original);
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 9, 4}));
}

// ---- Tracing -------------------------------------------------------------------------------

TEST_F(ManagerSettings, OnePixelTrace) {
  TBitmap B;
  MakeMask(B, 8, 6, [](int X, int Y) { return X == 5 && Y == 3; });
  TShapeManager M;
  EXPECT_EQ(M.MaskToPoints(&B, 128), (TRect{5, 3, 6, 4}));
  EXPECT_EQ(M.RefData().Points, (TShapePointArray{{0, 0}}));
  EXPECT_EQ(M.RefData().Flags, (TShapeByteArray{15}));
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 0, 0}));
}

TEST_F(ManagerSettings, NothingToTrace) {
  TBitmap White(5, 5, pf24bit, clWhite), Indexed(5, 5, pf8bit, clBlack);
  TShapeManager M;
  M.SetPoints({{{0, 0}, {3, 3}}, {}, {0, 0, 3, 3}});
  EXPECT_EQ(M.MaskToPoints(&White, 128), (TRect{0, 0, -1, -1}));
  EXPECT_EQ(M.PointsCount(), 0);
  EXPECT_EQ(M.MaskToPoints(&Indexed, 128), (TRect{0, 0, -1, -1}));
  EXPECT_EQ(M.MaskToPoints(nullptr, 128), (TRect{0, 0, -1, -1}));
}

// Every edge pixel with the sides a plain neighbour test finds, in scan
// order, and the fill of the points gives back the mask.
TEST_F(ManagerSettings, TraceStoresExposedSidesInScanOrder) {
  TBitmap B;
  MakeMask(B, 12, 9, RingShape);
  TShapeManager M;
  const TRect R = M.MaskToPoints(&B, 128);
  EXPECT_EQ(R, (TRect{1, 1, 11, 7}));
  TShapePointArray Points;
  TShapeByteArray Flags;
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 12; ++X) {
      if (!RingShape(X, Y)) continue;
      const int F = (RingShape(X - 1, Y) ? 0 : 1) | (RingShape(X, Y - 1) ? 0 : 2) | (RingShape(X + 1, Y) ? 0 : 4) |
                    (RingShape(X, Y + 1) ? 0 : 8);
      if (F == 0) continue;
      Points.push_back({X - 1, Y - 1});
      Flags.push_back(uint8_t(F));
    }
  EXPECT_EQ(M.RefData().Points, Points);
  EXPECT_EQ(M.RefData().Flags, Flags);
  EXPECT_EQ(FilledPixels(M, 12, 9, 1, 1), PixelsOf(B, {0, 0, 0}));
}

TEST_F(ManagerSettings, TraceAtTheBitmapBorderAndByColour) {
  // Pixels on the border of the scanned area have those sides exposed.
  TBitmap B(3, 2, pf24bit, clBlack);
  TShapeManager M;
  EXPECT_EQ(M.MaskToPoints(&B, 0), (TRect{0, 0, 3, 2}));
  EXPECT_EQ(M.RefData().Flags, (TShapeByteArray{3, 2, 6, 9, 8, 12}));
  // Colour range: within the tolerance on every channel.
  TBitmap C(4, 1, pf24bit, clWhite);
  RowOf(C, 0)[0] = {100, 50, 200};
  RowOf(C, 0)[1] = {104, 46, 204};
  RowOf(C, 0)[2] = {105, 50, 200};
  EXPECT_EQ(M.BmpToPoints(&C, RGB(200, 50, 100), 4), (TRect{0, 0, 2, 1}));
  EXPECT_EQ(M.RefData().Flags, (TShapeByteArray{1 | 2 | 8, 2 | 4 | 8}));
}

// ---- Reshaping bitmap shapes ---------------------------------------------------------------

TEST_F(ManagerSettings, QuarterTurnOfABitmapShape) {
  TBitmap B;
  MakeMask(B, 12, 9, RingShape);
  TShapeManager M;
  M.MaskToPoints(&B, 128); // 10 x 6, relative to (1, 1)
  M.Transform(2);
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 5, 9}));
  // Clockwise: reference pixel (x, y) of a 10 x 6 shape lands at (5 - y, x).
  PixelSet Expected;
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 10; ++X)
      if (RingShape(X + 1, Y + 1)) Expected.insert({5 - Y, X});
  EXPECT_EQ(FilledPixels(M, 6, 10), Expected);
  for (int I = 0; I < 3; ++I) M.Transform(2);
  PixelSet Back;
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 10; ++X)
      if (RingShape(X + 1, Y + 1)) Back.insert({X, Y});
  EXPECT_EQ(FilledPixels(M, 10, 6), Back);
}

TEST_F(ManagerSettings, GrowAndShrinkBitmapShapes) {
  TShapeManager M;
  TBitmap Dot;
  MakeMask(Dot, 1, 1, [](int, int) { return true; });
  M.MaskToPoints(&Dot, 128);
  // Grown by 2: a 5 x 5 square in a 5 x 5 bitmap.
  EXPECT_EQ(M.InflateEx(2), (TRect{0, 0, 5, 5}));
  EXPECT_EQ(FilledPixels(M, 5, 5).size(), 25u);
  // Shrunk by 1: the 3 x 3 square one pixel in.
  EXPECT_EQ(M.InflateEx(-1), (TRect{1, 1, 4, 4}));
  EXPECT_EQ(FilledPixels(M, 3, 3).size(), 9u);
  EXPECT_EQ(M.InflateEx(0), (TRect{}));
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 2, 2}));
}

TEST_F(ManagerSettings, RescaleBitmapShape) {
  TShapeManager M;
  TBitmap Block;
  MakeMask(Block, 2, 2, [](int, int) { return true; });
  M.MaskToPoints(&Block, 128);
  EXPECT_EQ(M.ScaleEx(0, 4), (TRect{}));
  EXPECT_EQ(M.ScaleEx(4, 6), (TRect{0, 0, 4, 6}));
  EXPECT_EQ(M.RefData().Bounds, (TRect{0, 0, 3, 5}));
  // Only the edge pixels of a full block are stored.
  EXPECT_EQ(M.RefData().Points.size(), 16u);
  EXPECT_EQ(FilledPixels(M, 4, 6).size(), 24u);
}

// ---- Hit tests --------------------------------------------------------------------------------

TEST_F(ManagerSettings, HitTests) {
  TShapeManager M;
  const TRect R{0, 0, 40, 20};
  struct Case {
    TMyShape Shape;
    TPoint P;
    bool Hit;
  };
  const Case Cases[] = {
      {ssRect, {39, 19}, true},     {ssRect, {40, 5}, false},     {ssEllipse, {20, 10}, true},
      {ssEllipse, {20, 0}, true},   {ssEllipse, {1, 1}, false},   {ssEllipse, {39, 10}, true},
      {ssTriangle1, {2, 2}, false}, {ssTriangle1, {19, 1}, true}, {ssLosange, {1, 1}, false},
      {ssLosange, {20, 10}, true},  {ssRoundRect, {0, 0}, false}, {ssRoundRect, {3, 3}, true},
      {ssLine, {0, 19}, true},      {ssPolyline, {5, 5}, true},
  };
  for (const Case& C : Cases) EXPECT_EQ(M.PtInShape(R, C.P, C.Shape), C.Hit) << int(C.Shape) << " " << C.P.X;
  // A zero semi-axis counts as a hit.
  EXPECT_TRUE(M.PtInShape({0, 0, 1, 20}, {0, 0}, ssEllipse));
}

TEST_F(ManagerSettings, HitTestOfBitmapShapeAtZoomTwo) {
  TBitmap B;
  MakeMask(B, 12, 9, RingShape);
  TShapeManager M;
  M.MaskToPoints(&B, 128); // 10 x 6 reference
  const TRect R{0, 0, 20, 12};
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X)
      EXPECT_EQ(M.PtInShape(R, {X, Y}, ssBitmap), RingShape(X / 2 + 1, Y / 2 + 1)) << X << "," << Y;
  EXPECT_FALSE(M.PtInShape(R, {20, 0}, ssBitmap));
}

TEST_F(ManagerSettings, HitTestOfPolygonUsesTheWindowOutline) {
  TShapeManager M;
  M.SetPoints({{{0, 0}, {10, 0}, {0, 10}}, {}, {0, 0, 10, 10}});
  const TPoint* First;
  int Count;
  M.PreparePoints({0, 0, 21, 21}, ssPolygon, First, Count);
  EXPECT_TRUE(M.PtInShape({0, 0, 21, 21}, {12, 3}, ssPolygon));
  EXPECT_FALSE(M.PtInShape({0, 0, 21, 21}, {15, 15}, ssPolygon));
}

// ---- Drawing ---------------------------------------------------------------------------------------

namespace {
constexpr TRGB Grey{128, 128, 128};
constexpr TRGB Black{0, 0, 0};
constexpr TRGB White{255, 255, 255};
} // namespace

TEST_F(ManagerSettings, DashesRunInFoursAndThePhaseAdvances) {
  TShapeManager M;
  M.SetColors(clBlack, clWhite);
  TBitmap B(120, 10, pf24bit, RGB(128, 128, 128));
  M.Draw(B, {0, 5, 100, 5}, ssLine, stAnimateNoSwap);
  for (int X = 0; X < 100; ++X) EXPECT_EQ(RowOf(B, 5)[X], (X / 4) % 2 ? White : Black) << X;
  EXPECT_EQ(RowOf(B, 5)[100], Grey); // the end point is left out
  EXPECT_EQ(M.AnimStep, 0);
  // stAnimate draws at the current phase, then advances it.
  M.AnimStep = 7;
  M.Draw(B, {0, 2, 8, 2}, ssLine, stAnimate);
  EXPECT_EQ(M.AnimStep, 1);
  EXPECT_EQ(RowOf(B, 2)[0], White); // (0 + 7) mod 8 > 3
  EXPECT_EQ(RowOf(B, 2)[1], Black);
  AnimStepIncrement = 5;
  M.Draw(B, {0, 2, 8, 2}, ssLine, stAnimate);
  EXPECT_EQ(M.AnimStep, 6);
}

TEST_F(ManagerSettings, XorStylesRestoreWhenDrawnTwice) {
  TBitmap Original(60, 50);
  FillRandom(Original, 7);
  TShapeManager Poly;
  Poly.SetPoints({{{0, 0}, {30, 4}, {12, 25}}, {}, {0, 0, 30, 25}});
  TShapeManager Ring;
  TBitmap Mask;
  MakeMask(Mask, 12, 9, RingShape);
  Ring.MaskToPoints(&Mask, 128);
  struct Case {
    TShapeManager* M;
    TMyShape Shape;
    TRect R;
  };
  TShapeManager Plain;
  const Case Cases[] = {
      {&Plain, ssEllipse, {3, 4, 50, 40}}, {&Plain, ssRoundRect, {3, 4, 50, 40}}, {&Plain, ssLosange, {3, 4, 50, 40}},
      {&Poly, ssPolygon, {5, 5, 55, 45}},  {&Ring, ssBitmap, {2, 3, 42, 30}}, // zoom 4 and 4.5: edge drawing
      {&Ring, ssBitmap, {2, 3, 9, 7}},                                        // zoom below 1: marked rows
      {&Ring, ssBitmap, {2, 3, 40, 6}},                                       // wide and flat
  };
  for (TShapeStyle Style : {stXOrDot, stXOr})
    for (const Case& C : Cases) {
      TBitmap B;
      B.Assign(Original);
      C.M->Draw(B, C.R, C.Shape, Style);
      EXPECT_GT(DifferingPixels(B, Original), 0) << int(C.Shape);
      C.M->Draw(B, C.R, C.Shape, Style);
      EXPECT_IMAGES_MATCH(B, Original, 0);
    }
}

TEST_F(ManagerSettings, DottedXorLeavesEveryOtherRun) {
  TShapeManager M;
  TBitmap B(40, 3, pf24bit, RGB(10, 20, 30));
  M.Draw(B, {0, 1, 40, 1}, ssLine, stXOrDot);
  // 0xFFD8CE XOR: red 206, green 216, blue 255.
  const TRGB Xored{uint8_t(30 ^ 255), uint8_t(20 ^ 216), uint8_t(10 ^ 206)};
  const TRGB Kept{30, 20, 10};
  for (int X = 0; X < 40; ++X) EXPECT_EQ(RowOf(B, 1)[X], (X / 4) % 2 ? Kept : Xored) << X;
}

TEST_F(ManagerSettings, DottedRoundRectTooSmallIsARectangle) {
  TShapeManager M;
  M.SetColors(clBlack, clWhite);
  TBitmap A(30, 20, pf24bit, RGB(128, 128, 128)), B(30, 20, pf24bit, RGB(128, 128, 128));
  M.Draw(A, {2, 2, 22, 7}, ssRoundRect, stAnimateNoSwap); // smaller side 5: c = 1
  M.Draw(B, {2, 2, 22, 7}, ssRect, stAnimateNoSwap);
  EXPECT_IMAGES_MATCH(A, B, 0);
  // A thick line of width 1 is the plain segment.
  TBitmap C(30, 20, pf24bit, RGB(128, 128, 128)), D(30, 20, pf24bit, RGB(128, 128, 128));
  M.Draw(C, {1, 1, 25, 17}, ssLineWidth, stAnimateNoSwap);
  M.Draw(D, {1, 1, 25, 17}, ssLine, stAnimateNoSwap);
  EXPECT_IMAGES_MATCH(C, D, 0);
}

TEST_F(ManagerSettings, DottedEllipseAndRoundRectCloseOnTheirBox) {
  TShapeManager M;
  M.SetColors(clBlack, clBlack);
  for (TMyShape Shape : {ssEllipse, ssRoundRect}) {
    TBitmap B(80, 50, pf24bit, clWhite);
    const TRect R{5, 6, 65, 36}; // 60 x 30: round corners of radius 8
    M.Draw(B, R, Shape, stAnimateNoSwap);
    const PixelSet Set = PixelsOf(B, Black);
    ASSERT_FALSE(Set.empty());
    int L = 999, T = 999, Rt = -1, Bt = -1;
    for (auto [X, Y] : Set) {
      L = std::min(L, X), T = std::min(T, Y), Rt = std::max(Rt, X), Bt = std::max(Bt, Y);
    }
    EXPECT_EQ((TRect{L, T, Rt + 1, Bt + 1}), R) << int(Shape);
    EXPECT_FALSE(Set.count({R.Left, R.Top})) << int(Shape); // corners are cut
    EXPECT_TRUE(Set.count({35, R.Top})) << int(Shape);
    if (Shape == ssRoundRect) { // the straight top side between the corners of radius 8
      for (int X = R.Left + 8; X <= R.Right - 8; ++X) EXPECT_TRUE(Set.count({X, R.Top})) << X;
    }
  }
}

TEST_F(ManagerSettings, BitmapShapeAtItsOwnSizeSetsItsEdgePixels) {
  TBitmap Mask;
  MakeMask(Mask, 12, 9, RingShape);
  TShapeManager M;
  const TRect R = M.MaskToPoints(&Mask, 128);
  M.SetColors(clBlack, clWhite);
  M.AnimStep = 3;
  TBitmap B(12, 9, pf24bit, RGB(128, 128, 128));
  M.Draw(B, R, ssBitmap, stAnimateNoSwap);
  // Diagonal stripes: colour 2 where (x + y + phase) mod 8 > 3.
  TBitmap Expected(12, 9, pf24bit, RGB(128, 128, 128));
  for (const TPoint& P : M.RefData().Points) {
    const int X = P.X + 1, Y = P.Y + 1;
    RowOf(Expected, Y)[X] = (X + Y + 3) % 8 > 3 ? White : Black;
  }
  EXPECT_IMAGES_MATCH(B, Expected, 0);
}

TEST_F(ManagerSettings, BitmapShapeCellsAtZoomThree) {
  TShapeManager M;
  M.SetPoints({{{0, 0}}, {15}, {0, 0, 0, 0}});
  M.SetColors(clBlack, clBlack);
  TBitmap B(8, 8, pf24bit, clWhite);
  M.Draw(B, {2, 2, 5, 5}, ssBitmap, stAnimateNoSwap);
  PixelSet Ring;
  for (int Y = 2; Y <= 4; ++Y)
    for (int X = 2; X <= 4; ++X)
      if (X != 3 || Y != 3) Ring.insert({X, Y});
  EXPECT_EQ(PixelsOf(B, Black), Ring);
  // XOR sets every pixel of a cell's outline once, corners included.
  M.Attrs[0] = {TPenMode::pmXor, clWhite, clWhite};
  TBitmap X(8, 8, pf24bit, clBlack);
  M.Draw(X, {2, 2, 5, 5}, ssBitmap, stXOr);
  EXPECT_EQ(PixelsOf(X, White), Ring);
  // The clip rectangle limits the direct writer.
  TBitmap C(8, 8, pf24bit, clWhite);
  M.SetBmpClipRect({0, 0, 8, 3});
  M.Draw(C, {2, 2, 5, 5}, ssBitmap, stAnimateNoSwap);
  EXPECT_EQ(PixelsOf(C, Black), (PixelSet{{2, 2}, {3, 2}, {4, 2}}));
}

TEST_F(ManagerSettings, CustomStyleFillsAndStampsBitmapShapes) {
  TBitmap Mask;
  MakeMask(Mask, 12, 9, RingShape);
  TShapeManager M;
  M.MaskToPoints(&Mask, 128);
  // Brush and pen: the fill at zoom 2, every covered pixel black.
  TBitmap B(24, 16, pf24bit, clWhite);
  B.Canvas().Brush = {clBlack, TBrushStyle::bsSolid};
  B.Canvas().Pen = TPen{clBlack, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  M.Draw(B.Canvas(), {0, 0, 20, 12}, ssBitmap, stCustom);
  PixelSet Expected;
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X)
      if (RingShape(X / 2 + 1, Y / 2 + 1)) Expected.insert({X, Y});
  EXPECT_EQ(PixelsOf(B, Black), Expected);
  // Clear brush, pen of width 3: a one-pixel lone shape becomes a 3 x 3 stamp
  // centred on it.
  TShapeManager Dot;
  Dot.SetPoints({{{0, 0}}, {15}, {0, 0, 0, 0}});
  TBitmap C(8, 8, pf24bit, clWhite);
  C.Canvas().Brush.Style = TBrushStyle::bsClear;
  C.Canvas().Pen = TPen{clBlack, 3, TPenStyle::psSolid, TPenMode::pmCopy};
  Dot.Draw(C, {4, 4, 5, 5}, ssBitmap, stCustom);
  PixelSet Square;
  for (int Y = 3; Y <= 5; ++Y)
    for (int X = 3; X <= 5; ++X) Square.insert({X, Y});
  EXPECT_EQ(PixelsOf(C, Black), Square);
}

TEST_F(ManagerSettings, CustomStyleUsesTheCanvasPrimitives) {
  TShapeManager M;
  TBitmap A(30, 30, pf24bit, clWhite), B(30, 30, pf24bit, clWhite);
  for (TBitmap* X : {&A, &B}) {
    X->Canvas().Brush = {clBlack, TBrushStyle::bsSolid};
    X->Canvas().Pen = TPen{clBlack, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  }
  M.Draw(A, {2, 3, 20, 25}, ssTriangle2, stCustom);
  std::vector<TPoint> V;
  ShapeToPolygon(ssTriangle2, {2, 3, 20, 25}, V);
  B.Canvas().Polygon(V);
  EXPECT_IMAGES_MATCH(A, B, 0);
}
