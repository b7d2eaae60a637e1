#include "raster/Polygon24.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;

// A grey bitmap as rows of characters by a legend of grey levels; '?' marks
// a level the legend does not name.
std::vector<std::string> MapOf(const TBitmap& B, const std::map<char, int>& Legend) {
  std::vector<std::string> Rows;
  for (int Y = 0; Y < B.Height(); ++Y) {
    std::string Row;
    for (int X = 0; X < B.Width(); ++X) {
      const TRGB P = RowOf(B, Y)[X];
      char C = '?';
      for (const auto& [Key, Level] : Legend)
        if (P.Blue == Level && P.Green == Level && P.Red == Level) C = Key;
      Row += C;
    }
    Rows.push_back(Row);
  }
  return Rows;
}

const std::map<char, int> Plain{{'.', 255}, {'#', 0}};

TFloatPointArray Pts(std::initializer_list<TFloatPoint> L) { return TFloatPointArray(L); }

TFloatPointArray Reversed(const TFloatPointArray& P) { return TFloatPointArray(P.rbegin(), P.rend()); }

void ExpectUnchangedOutside(const TBitmap& Actual, const TBitmap& Before, const TRect& Inside) {
  for (int Y = 0; Y < Actual.Height(); ++Y)
    for (int X = 0; X < Actual.Width(); ++X)
      if (!PtInRect(Inside, {X, Y})) {
        ASSERT_TRUE(RowOf(Actual, Y)[X] == RowOf(Before, Y)[X]) << X << ", " << Y;
      }
}

int CountChanged(const TBitmap& B, int Level = 255) {
  int N = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) N += RowOf(B, Y)[X].Blue != Level;
  return N;
}

const TRect Whole = WholeBitmapRect;

} // namespace

// ---- Filling ----------------------------------------------------------------------

TEST(Polygon24Fill, RectangleWithoutAntialiasingLeavesItsEdgeRowsToTheEdges) {
  TBitmap B(8, 7);
  FillPolygon24(B, Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}), clBlack, false, false, 100, Whole);
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"........", "........", "........", "..####..", "..####..",
                                                       "........", "........"}));
}

TEST(Polygon24Fill, AntialiasedRectangleCoversElevenTwelfthsOfItsEdgeRows) {
  // 92 % of the way from white to black: 255 + (0 - 255) * 92 div 100.
  const std::map<char, int> Legend{{'.', 255}, {'#', 0}, {'a', 255 - 255 * 92 / 100}};
  const std::vector<std::string> Expected{"........", "........", "..aaaa..", "..####..",
                                          "..####..", "..aaaa..", "........"};
  TBitmap B(8, 7);
  FillPolygon24(B, Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}), clBlack, false, true, 100, Whole);
  EXPECT_EQ(MapOf(B, Legend), Expected);
  // The winding rule agrees on a simple shape, and so does the other
  // orientation.
  TBitmap W(8, 7);
  FillPolygon24(W, Reversed(Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}})), clBlack, true, true, 100, Whole);
  EXPECT_EQ(MapOf(W, Legend), Expected);
}

TEST(Polygon24Fill, OpacityScalesTheCoverage) {
  TBitmap B(8, 7);
  FillPolygon24(B, Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}), clBlack, false, true, 50, Whole);
  // Full rows at 50 %; edge rows at Round(11/12 * 50) = 46 %.
  EXPECT_EQ(MapOf(B, {{'.', 255}, {'h', 255 - 255 * 50 / 100}, {'e', 255 - 255 * 46 / 100}})[2], "..eeee..");
  EXPECT_EQ(MapOf(B, {{'.', 255}, {'h', 255 - 255 * 50 / 100}})[3], "..hhhh..");
}

struct THoleCase {
  bool Winding;
  bool InnerReversed;
  bool Hole;
};

class Polygon24Hole : public ::testing::TestWithParam<THoleCase> {};

TEST_P(Polygon24Hole, FollowsTheFillRule) {
  const THoleCase C = GetParam();
  const TFloatPointArray Outer = Pts({{1, 1}, {8, 1}, {8, 8}, {1, 8}});
  const TFloatPointArray Inner = Pts({{3, 3}, {6, 3}, {6, 6}, {3, 6}});
  TBitmap B(10, 10);
  FillPolyPolygon24(B, {Outer, C.InnerReversed ? Reversed(Inner) : Inner}, clBlack, C.Winding, false, 100, Whole);
  std::vector<std::string> Expected{"..........", "..........", ".########.", ".########.", ".########.",
                                    ".########.", ".########.", ".########.", "..........", ".........."};
  if (C.Hole) Expected[4] = Expected[5] = ".###..###.";
  EXPECT_EQ(MapOf(B, Plain), Expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, Polygon24Hole,
                         ::testing::Values(THoleCase{false, false, true}, THoleCase{false, true, true},
                                           THoleCase{true, true, true}, THoleCase{true, false, false}));

TEST(Polygon24Fill, SubPathsApartFillAtTheirOwnRows) {
  TBitmap B(8, 12);
  FillPolyPolygon24(B, {Pts({{1, 1}, {6, 1}, {6, 4}, {1, 4}}), Pts({{2, 7}, {5, 7}, {5, 10}, {2, 10}})}, clBlack, false,
                    false, 100, Whole);
  EXPECT_EQ(MapOf(B, Plain),
            (std::vector<std::string>{"........", "........", ".######.", ".######.", "........", "........",
                                      "........", "........", "..####..", "..####..", "........", "........"}));
}

TEST(Polygon24Fill, DegeneratePolygonsFillNothing) {
  TBitmap B(8, 8);
  FillPolygon24(B, Pts({{1, 3}, {4, 3}, {7, 3}}), clBlack, false, true, 100, Whole);
  FillPolygon24(B, Pts({{1, 1}, {6, 6}}), clBlack, false, true, 100, Whole);
  FillPolyPolygon24(B, {}, clBlack, true, true, 100, Whole);
  FillPolygon24(B, Pts({{1, 1}, {6, 1}, {6, 6}}), clBlack, false, true, 0, Whole);
  EXPECT_EQ(CountChanged(B), 0);
}

TEST(Polygon24Fill, ClipLimitsTheFillExactly) {
  // The clip cuts columns 4.. and rows ..3 of the rectangle filled above.
  TBitmap B(8, 7);
  FillPolygon24(B, Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}), clBlack, false, false, 100, Rect(0, 4, 4, 7));
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"........", "........", "........", "........", "..##....",
                                                       "........", "........"}));
  // Bounds wholly outside the clip touch nothing.
  TBitmap C(8, 7);
  FillPolygon24(C, Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}), clBlack, false, true, 100, Rect(6, 0, 8, 7));
  EXPECT_EQ(CountChanged(C), 0);
}

TEST(Polygon24Fill, ClippedFillAgreesWithTheWholeFillInsideTheClip) {
  std::mt19937 Random(7);
  std::uniform_real_distribution<double> Coord(-20, 80);
  for (int Round = 0; Round < 20; ++Round) {
    TFloatPointArray P;
    for (int I = 0; I < 9; ++I) P.push_back({Coord(Random), Coord(Random)});
    const TRect Clip = NormalizeRect(int(Coord(Random)), int(Coord(Random)), int(Coord(Random)), int(Coord(Random)));
    TBitmap Start(60, 50);
    FillRandom(Start, unsigned(Round));
    for (bool Winding : {false, true}) {
      TBitmap All, Clipped;
      All.Assign(Start);
      Clipped.Assign(Start);
      FillPolygon24(All, P, clRed, Winding, true, 70, Whole);
      FillPolygon24(Clipped, P, clRed, Winding, true, 70, Clip);
      const TRect Inside = IntersectRect(Clip, BitmapRect(Start));
      ExpectUnchangedOutside(Clipped, Start, Inside);
      // Crossings are limited to the clip's columns, which changes the
      // coverage of its first and last column by a few sub-samples (a span
      // also spills into the pixel after its end); every other pixel agrees,
      // row for row: sub-rows map to the same pixel rows whatever the top of
      // the fill.
      for (int Y = Inside.Top; Y < Inside.Bottom; ++Y)
        for (int X = Inside.Left + 1; X < Inside.Right - 1; ++X)
          ASSERT_TRUE(RowOf(Clipped, Y)[X] == RowOf(All, Y)[X]) << X << ", " << Y << " round " << Round;
    }
  }
}

TEST(Polygon24Fill, AntialiasedCoverageSumsToTheArea) {
  // A triangle and a slanted quadrilateral: the percentages of all pixels
  // add up to the area within the sub-sampling's error along the outline.
  const std::vector<TFloatPointArray> Shapes{Pts({{3.3, 4.7}, {51.2, 10.1}, {20.6, 38.9}}),
                                             Pts({{10, 5}, {45.5, 12.25}, {40, 40}, {6.75, 30}})};
  for (const TFloatPointArray& P : Shapes) {
    double Area = 0;
    for (size_t I = 0; I < P.size(); ++I) {
      const TFloatPoint& A = P[I];
      const TFloatPoint& C = P[(I + 1) % P.size()];
      Area += A.X * C.Y - C.X * A.Y;
    }
    Area = std::abs(Area) / 2;
    TBitmap B(60, 50, pf24bit, clBlack);
    FillPolygon24(B, P, clWhite, false, true, 100, Whole);
    double Sum = 0;
    for (int Y = 0; Y < B.Height(); ++Y)
      for (int X = 0; X < B.Width(); ++X) Sum += RowOf(B, Y)[X].Blue / 255.0;
    // The shape is extended by about one pixel to the right and downwards
    // (spans cover their end pixel, the lower half is pushed down).
    EXPECT_NEAR(Sum, Area, 0.02 * Area + 60) << "area " << Area;
    EXPECT_GT(Sum, Area);
  }
}

TEST(Polygon24Fill, HugeCoordinatesFillTheBitmapQuickly) {
  TBitmap B(40, 30);
  FillPolygon24(B, Pts({{-1e9, -1e9}, {1e9, -1e9}, {0, 1e9}}), clBlack, true, true, 100, Whole);
  EXPECT_EQ(CountChanged(B, 0), 0);
}

TEST(Polygon24Fill, OtherPixelFormatsAreLeftAlone) {
  TBitmap B(10, 10, pf32bit);
  TBitmap Before(10, 10, pf32bit);
  FillPolygon24(B, Pts({{1, 1}, {8, 1}, {8, 8}}), clBlack, false, true, 100, Whole);
  EXPECT_IMAGES_MATCH(B, Before);
}

// ---- The polygon object ----------------------------------------------------------

TEST(Polygon24Object, DrawAddsTheEdgeOnlyWhenItShows) {
  TPolygon24 P;
  P.AddPoints(Pts({{2, 2}, {5, 2}, {5, 5}, {2, 5}}));
  TBitmap A(8, 7);
  P.Draw(A, clBlack, clBlack);
  // Anti-aliased with equal colours: the fill alone.
  EXPECT_EQ(MapOf(A, {{'.', 255}, {'#', 0}, {'a', 21}})[2], "..aaaa..");
  P.SetAntialiased(false);
  TBitmap B(8, 7);
  P.Draw(B, clBlack, clBlack);
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"........", "........", "..####..", "..####..", "..####..",
                                                       "..####..", "........"}));
  TBitmap C(8, 7);
  P.Draw(C, clNone, clNone);
  P.Fill(C, clNone);
  P.DrawEdge(C, clNone);
  EXPECT_EQ(CountChanged(C), 0);
}

TEST(Polygon24Object, PointsGoToTheLastSubPath) {
  TPolygon24 P;
  EXPECT_EQ(P.Points().size(), 1u);
  P.NewLine(); // the first sub-path is still empty: no new one
  EXPECT_EQ(P.Points().size(), 1u);
  P.Add(1, 2);
  const TPoint Ints[2] = {{3, 4}, {5, 6}};
  P.AddPoints(Ints, 2);
  P.NewLine();
  const TFloatPoint Floats[1] = {{7.5, 8.5}};
  P.AddPoints(Floats, 1);
  ASSERT_EQ(P.Points().size(), 2u);
  EXPECT_EQ(P.Points()[0], Pts({{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(P.Points()[1], Pts({{7.5, 8.5}}));
  P.Offset(1, -1);
  EXPECT_EQ(P.Points()[1], Pts({{8.5, 7.5}}));
  P.Clear();
  ASSERT_EQ(P.Points().size(), 1u);
  EXPECT_TRUE(P.Points()[0].empty());
}

TEST(Polygon24Object, EdgeOpacityAndClipApply) {
  TPolygon24 P;
  P.SetAntialiased(false);
  P.SetEdgeAlpha(40);
  P.SetClipRect(Rect(0, 0, 4, 10));
  P.AddPoints(Pts({{1, 1}, {6, 1}, {6, 6}, {1, 6}}));
  TBitmap B(8, 8);
  P.DrawEdge(B, clBlack);
  const std::map<char, int> Legend{{'.', 255}, {'o', 255 - 255 * 40 / 100}};
  EXPECT_EQ(MapOf(B, Legend), (std::vector<std::string>{"........", ".ooo....", ".o......", ".o......", ".o......",
                                                        ".o......", ".ooo....", "........"}));
}

// ---- Points and lines ----------------------------------------------------------------

namespace {

// The Bresenham loop exactly as written, over the whole line, plotting
// through a clip test.
void ReferenceLine(TBitmap& B, int X1, int Y1, int X2, int Y2, TRGB C, bool IncludeLast, int Percent, TRect Clip) {
  Clip = IntersectRect(Clip, BitmapRect(B));
  const auto Plot = [&](int64_t X, int64_t Y) {
    if (X >= Clip.Left && X < Clip.Right && Y >= Clip.Top && Y < Clip.Bottom)
      MixPercent(RowOf(B, int(Y))[X], C, Percent);
  };
  if (X1 == X2 || Y1 == Y2) {
    const int Steps = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1));
    for (int I = 0; I < Steps + (IncludeLast ? 1 : 0); ++I)
      Plot(X1 + I * ((X2 > X1) - (X2 < X1)), Y1 + I * ((Y2 > Y1) - (Y2 < Y1)));
    return;
  }
  int64_t DX = std::abs(X2 - X1), DY = std::abs(Y2 - Y1);
  const int SX = X2 > X1 ? 1 : -1, SY = Y2 > Y1 ? 1 : -1;
  int64_t X = X1, Y = Y1;
  if (DY < DX) {
    int64_t H = DX / 2;
    for (int64_t I = 0; I < DX; ++I) {
      Plot(X, Y);
      X += SX;
      H += DY;
      if (H > DX) {
        Y += SY;
        H -= DX;
      }
    }
  } else {
    int64_t H = DY / 2;
    for (int64_t I = 0; I < DY; ++I) {
      Plot(X, Y);
      Y += SY;
      H += DX;
      if (H > DY) {
        X += SX;
        H -= DY;
      }
    }
  }
  if (IncludeLast) Plot(X2, Y2);
}

// The anti-aliased point and line from their formulas.
void ReferencePlotF(TBitmap& B, double X, double Y, TRGB C, int Percent, const TRect& Clip) {
  const int IX = int(std::floor(X)), IY = int(std::floor(Y));
  const double FX = X - IX, FY = Y - IY;
  const double W[4] = {(1 - FX) * (1 - FY), FX * (1 - FY), (1 - FX) * FY, FX * FY};
  for (int K = 0; K < 4; ++K) {
    const int PX = IX + K % 2, PY = IY + K / 2;
    const int P = Round(W[K] * Percent);
    if (P > 0 && PtInRect(IntersectRect(Clip, BitmapRect(B)), {PX, PY})) MixPercent(RowOf(B, PY)[PX], C, P);
  }
}

void ReferenceLineAA(TBitmap& B, double X1, double Y1, double X2, double Y2, TRGB C, bool IncludeLast, int Percent,
                     const TRect& Clip) {
  const double L = std::sqrt((X2 - X1) * (X2 - X1) + (Y2 - Y1) * (Y2 - Y1));
  const int N = Round(L) - (IncludeLast ? 0 : 1);
  if (N <= 0) return;
  ReferencePlotF(B, X1, Y1, C, Percent, Clip);
  for (int I = 1; I <= N; ++I) ReferencePlotF(B, X1 + I * (X2 - X1) / L, Y1 + I * (Y2 - Y1) / L, C, Percent, Clip);
}

} // namespace

TEST(Polygon24Line, BresenhamLeavesOutTheEndUnlessAsked) {
  TBitmap B(5, 3);
  DrawLine24(B, 0, 0, 3, 1, clBlack, false, 100, Whole);
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"###..", ".....", "....."}));
  DrawLine24(B, 0, 0, 3, 1, clBlack, true, 100, Whole);
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"###..", "...#.", "....."}));
}

TEST(Polygon24Line, BresenhamMatchesTheLoopAlsoFromFarOutside) {
  std::mt19937 Random(3);
  std::uniform_int_distribution<int> Near(-30, 70), Far(-300000, 300000);
  for (int Round = 0; Round < 400; ++Round) {
    const bool Long = Round % 3 == 0;
    const int X1 = Long ? Far(Random) : Near(Random), Y1 = Near(Random);
    const int X2 = Near(Random), Y2 = Long && Round % 2 ? Far(Random) : Near(Random);
    const TRect Clip = NormalizeRect(Near(Random), Near(Random), Near(Random), Near(Random));
    TBitmap Actual(40, 30), Expected(40, 30);
    FillRandom(Actual, unsigned(Round));
    Expected.Assign(Actual);
    const bool Last = Round % 2 == 0;
    DrawLine24(Actual, X1, Y1, X2, Y2, clBlue, Last, 60, Clip);
    ReferenceLine(Expected, X1, Y1, X2, Y2, ColorToTRGB(clBlue), Last, 60, Clip);
    ASSERT_TRUE(ImagesMatch(Actual, Expected)) << X1 << "," << Y1 << " - " << X2 << "," << Y2;
  }
}

TEST(Polygon24Line, AntialiasedLineMatchesItsFormula) {
  std::mt19937 Random(5);
  std::uniform_real_distribution<double> Near(-10, 50), Far(-2e4, 2e4);
  for (int Round = 0; Round < 300; ++Round) {
    const bool Long = Round % 4 == 0;
    const double X1 = Long ? Far(Random) : Near(Random), Y1 = Long ? Far(Random) : Near(Random);
    const double X2 = Near(Random), Y2 = Near(Random);
    const TRect Clip = Round % 2 ? WholeBitmapRect : NormalizeRect(int(Near(Random)), int(Near(Random)), 30, 20);
    TBitmap Actual(40, 30), Expected(40, 30);
    FillRandom(Actual, unsigned(Round));
    Expected.Assign(Actual);
    DrawLineAA24(Actual, X1, Y1, X2, Y2, clRed, Round % 3 == 0, 80, Clip);
    if (SegmentTouchesRect(X1, Y1, X2, Y2, IntersectRect(Clip, BitmapRect(Actual))))
      ReferenceLineAA(Expected, X1, Y1, X2, Y2, ColorToTRGB(clRed), Round % 3 == 0, 80, Clip);
    ASSERT_TRUE(ImagesMatch(Actual, Expected)) << X1 << "," << Y1 << " - " << X2 << "," << Y2;
  }
}

TEST(Polygon24Line, ShortLinesAndZeroOpacityDrawNothing) {
  TBitmap B(10, 10);
  DrawLineAA24(B, 2, 2, 2.4, 2, clBlack, true, 100, Whole);
  DrawLineAA24(B, 2, 2, 3, 2, clBlack, false, 100, Whole);
  DrawAxisLine24(B, 5, 5, 5, 5, {0, 0, 0}, false, 100, Whole);
  DrawLine24(B, 1, 1, 8, 5, clBlack, true, 0, Whole);
  DrawLineAA24(B, 1, 1, 8, 5, clBlack, true, 0, Whole);
  DrawDashedLineAA24(B, 1, 1, 8, 5, clBlack, 0, 0, Whole);
  PlotPixel24(B, 3, 3, {0, 0, 0}, 0, Whole);
  PlotPixelF24(B, 3.5, 3.5, {0, 0, 0}, 0, Whole);
  DrawHLine24(B, 0, 4, 9, {0, 0, 0}, 0, Whole);
  DrawVLine24(B, 4, 0, 9, {0, 0, 0}, 0, Whole);
  DrawPolyline24(B, Pts({{0, 0}, {9, 9}}), clBlack, true, true, 0, Whole);
  EXPECT_EQ(CountChanged(B), 0);
  DrawAxisLine24(B, 5, 5, 5, 5, {0, 0, 0}, true, 100, Whole);
  EXPECT_EQ(CountChanged(B), 1);
  EXPECT_EQ(RowOf(B, 5)[5].Blue, 0);
}

TEST(Polygon24Line, AxisLinesRunEitherWay) {
  TBitmap B(8, 3);
  DrawAxisLine24(B, 6, 0, 2, 0, {0, 0, 0}, false, 100, Whole);
  DrawAxisLine24(B, 6, 2, 2, 2, {0, 0, 0}, true, 100, Rect(0, 0, 5, 3));
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"...####.", "........", "..###..."}));
}

TEST(Polygon24Line, PlotPixelF24SpreadsByBilinearWeights) {
  TBitmap B(4, 4);
  PlotPixelF24(B, 1.25, 1.5, {0, 0, 0}, 100, Whole);
  // Weights .375, .125, .375, .125 of 100: 38 (ties to even of 37.5), 12, 38, 12.
  const auto Level = [](int P) { return 255 - 255 * P / 100; };
  EXPECT_EQ(RowOf(B, 1)[1].Blue, Level(38));
  EXPECT_EQ(RowOf(B, 1)[2].Blue, Level(12));
  EXPECT_EQ(RowOf(B, 2)[1].Blue, Level(38));
  EXPECT_EQ(RowOf(B, 2)[2].Blue, Level(12));
  EXPECT_EQ(CountChanged(B), 4);
  // Left of 0 the fraction still runs from the floor: 30 % of the point falls
  // on column 0.
  TBitmap C(4, 4);
  PlotPixelF24(C, -0.7, 1, {0, 0, 0}, 100, Whole);
  EXPECT_EQ(RowOf(C, 1)[0].Blue, Level(30));
}

TEST(Polygon24Line, SegmentTouchesRectTestsTheBox) {
  const TRect R{10, 10, 20, 20};
  EXPECT_FALSE(SegmentTouchesRect(0, 0, 9.9, 30, R));
  EXPECT_FALSE(SegmentTouchesRect(20, 0, 25, 30, R));
  EXPECT_FALSE(SegmentTouchesRect(0, 0, 30, 9, R));
  EXPECT_FALSE(SegmentTouchesRect(0, 20, 30, 40, R));
  EXPECT_TRUE(SegmentTouchesRect(0, 0, 30, 30, R));
  // Only the box is tested: this segment misses R but its box does not.
  EXPECT_TRUE(SegmentTouchesRect(0, 15, 15, 0, R));
}

TEST(Polygon24Line, DashPatternContinuesFromCallToCall) {
  DashPhase = 0;
  TBitmap B(12, 3);
  DrawDashedLineAA24(B, 0, 0, 9, 0, clBlack, 100, 2, Whole);
  EXPECT_EQ(DashPhase, 2); // ten points visited
  DrawDashedLineAA24(B, 0, 2, 3, 2, clBlack, 100, 2, Whole);
  EXPECT_EQ(MapOf(B, Plain), (std::vector<std::string>{"#.#.#.#.#...", "............", "#.#........."}));
  EXPECT_EQ(DashPhase, 6);
}

TEST(Polygon24Line, DashStylesFollowTheirPatterns) {
  const std::vector<std::pair<uint8_t, std::string>> Cases{{0, "################"},
                                                           {1, "#####...#####..."},
                                                           {3, "#####.#.#####.#."},
                                                           {4, "###.#.#.###.#.#."},
                                                           {9, "................"}};
  for (const auto& [Style, Row] : Cases) {
    DashPhase = 0;
    TBitmap B(16, 1);
    DrawDashedLineAA24(B, 0, 0, 15, 0, clBlack, 100, Style, Whole);
    EXPECT_EQ(MapOf(B, Plain)[0], Row) << "style " << int(Style);
    EXPECT_EQ(DashPhase, 0);
  }
}

TEST(Polygon24Line, DashedLineFromFarAwayKeepsItsPhase) {
  // 1000 points lie left of the bitmap; they advance the phase all the same.
  DashPhase = 3;
  TBitmap B(16, 1);
  DrawDashedLineAA24(B, -1000, 0, 15, 0, clBlack, 100, 1, Whole);
  std::string Expected;
  for (int X = 0; X < 16; ++X) Expected += (3 + 1000 + X) % 8 < 5 ? '#' : '.';
  EXPECT_EQ(MapOf(B, Plain)[0], Expected);
  EXPECT_EQ(DashPhase, (3 + 1016) % 8);
}

TEST(Polygon24Line, PolylineJoinsSegmentsOnce) {
  // 50 % twice would show as 75 %: every pixel is drawn once.
  TBitmap B(6, 6);
  DrawPolyline24(B, Pts({{1, 1}, {4, 1}, {4, 4}, {1, 4}}), clBlack, true, false, 50, Whole);
  const std::map<char, int> Legend{{'.', 255}, {'h', 128}};
  EXPECT_EQ(MapOf(B, Legend), (std::vector<std::string>{"......", ".hhhh.", ".h..h.", ".h..h.", ".hhhh.", "......"}));
  TBitmap Open(6, 6);
  DrawPolyline24(Open, Pts({{1, 1}, {4, 1}, {4, 4}}), clBlack, false, false, 100, Whole);
  EXPECT_EQ(MapOf(Open, Plain)[4], "......");
}

TEST(Polygon24Helpers, BoundsCentroidAndClamp) {
  EXPECT_EQ(FloatPointsBounds({}), (TFloatRect{9999999, 9999999, -9999999, -9999999}));
  EXPECT_EQ(FloatPointsBounds(Pts({{3, -1}, {-2, 5}, {1, 1}})), (TFloatRect{-2, -1, 3, 5}));
  EXPECT_EQ(PolyPointsBounds({Pts({{3, -1}}), {}, Pts({{-2, 5}})}), (TFloatRect{-2, -1, 3, 5}));
  EXPECT_EQ(PointsCentroid({}), (TFloatPoint{0, 0}));
  EXPECT_EQ(PointsCentroid(Pts({{0, 0}, {4, 2}, {2, 4}})), (TFloatPoint{2, 2}));
  EXPECT_EQ(ClampBetween(5, 10, 0), 5);
  EXPECT_EQ(ClampBetween(-1, 10, 0), 0);
  EXPECT_EQ(ClampBetween(11, 0, 10), 10);
}

// ---- Shape builders -------------------------------------------------------------------

TEST(Polygon24Shapes, EllipseHasAnEvenNumberOfPointsFromItsRightEnd) {
  TPolygon24 P;
  P.EllipseF(0, 0, 20, 10);
  ASSERT_EQ(P.Points().size(), 1u);
  const TFloatPointArray& E = P.Points()[0];
  // m = Round(10 + 4) = 14 points, none thinned out on this size.
  ASSERT_EQ(E.size(), 14u);
  EXPECT_EQ(E[0], (TFloatPoint{20, 5}));
  for (size_t D = 1; D < E.size(); ++D) {
    const double A = 2 * Pi * double(D) / 14;
    EXPECT_NEAR(E[D].X, 10 + 10 * std::cos(A), 1e-9);
    EXPECT_NEAR(E[D].Y, 5 - 5 * std::sin(A), 1e-9); // anticlockwise on screen
  }
  // An odd m is made even: a = b = 5 gives Round(9) = 9, made 10.
  TPolygon24 Q;
  Q.EllipseF(0, 0, 10, 10);
  EXPECT_EQ(Q.Points()[0].size(), 10u);
}

TEST(Polygon24Shapes, SmallShapesBecomeRectangles) {
  TPolygon24 P;
  P.Circle(5, 5, 1);
  EXPECT_EQ(P.Points()[0], Pts({{4, 4}, {6, 4}, {6, 6}, {4, 6}}));
  P.EllipseF(0, 0, 2, 30);
  ASSERT_EQ(P.Points().size(), 2u);
  EXPECT_EQ(P.Points()[1], Pts({{0, 0}, {2, 0}, {2, 30}, {0, 30}}));
  TPolygon24 R;
  R.Rectangle(Rect(1, 2, 5, 7));
  EXPECT_EQ(R.Points()[0], Pts({{1, 2}, {4, 2}, {4, 6}, {1, 6}}));
}

TEST(Polygon24Shapes, ArcsAppendToTheCurrentPath) {
  TPolygon24 P;
  P.Add(1, 1);
  P.Arc(10, 10, 0.5, 0, Pi);
  EXPECT_EQ(P.Points()[0], Pts({{1, 1}, {10, 10}}));
  // Equal angles: the start point only, the end point not added twice.
  TPolygon24 Q;
  Q.Arc(10, 10, 5, 1, 1);
  EXPECT_EQ(Q.Points()[0].size(), 1u);
  // Radius 6 over 3 radians: N = 10, c = Trunc(4.77) = 4; the start,
  // points 1..3, the end.
  TPolygon24 H;
  H.Arc(0, 0, 6, 0, 3);
  const TFloatPointArray& A = H.Points()[0];
  ASSERT_EQ(A.size(), 5u);
  EXPECT_EQ(A[0], (TFloatPoint{6, 0}));
  EXPECT_NEAR(A[4].X, 6 * std::cos(3.0), 1e-9);
  EXPECT_NEAR(A[4].Y, -6 * std::sin(3.0), 1e-9);
  EXPECT_NEAR(A[2].X, 6 * std::cos(2 * 2 * Pi / 10), 1e-9);
  EXPECT_NEAR(A[2].Y, -6 * std::sin(2 * 2 * Pi / 10), 1e-9);
}

TEST(Polygon24Shapes, RoundRectCornerRadiusFromTheDivisor) {
  TPolygon24 P;
  P.RoundRectF(0, 0, 7, 100); // r = Round(1.75) = 2: four arcs of two points
  ASSERT_EQ(P.Points()[0].size(), 8u);
  EXPECT_NEAR(P.Points()[0][0].X, 2, 1e-9);
  EXPECT_NEAR(P.Points()[0][0].Y, 0, 1e-9);
  EXPECT_NEAR(P.Points()[0][1].X, 0, 1e-9);
  EXPECT_NEAR(P.Points()[0][1].Y, 2, 1e-9);
  TPolygon24 Q;
  Q.RoundRectF(0, 0, 5, 100); // r = Round(1.25) = 1: a plain rectangle
  EXPECT_EQ(Q.Points()[0], Pts({{0, 0}, {5, 0}, {5, 100}, {0, 100}}));
  const int Saved = PolyRoundRectDivisor;
  PolyRoundRectDivisor = 2; // r = Round(2.5) = 2
  TPolygon24 D;
  D.RoundRect(Rect(0, 0, 6, 100));
  EXPECT_EQ(D.Points()[0].size(), 8u);
  PolyRoundRectDivisor = 0; // counts as 1, never divides by zero
  TPolygon24 Z;
  Z.RoundRectF(0, 0, 20, 20);
  EXPECT_GT(Z.Points()[0].size(), 4u);
  PolyRoundRectDivisor = Saved;
}

TEST(Polygon24Shapes, BezierNeedsAStartAndGroupsOfThree) {
  TPolygon24 P;
  P.AddBezier(Pts({{0, 0}, {8, 0}, {16, 0}, {24, 0}, {30, 0}}));
  EXPECT_TRUE(P.Points()[0].empty());
  // Legs of 8, 8 and 8: 24 div 8 = 3 steps after the start.
  P.AddBezier(Pts({{0, 0}, {8, 0}, {16, 0}, {24, 0}}));
  ASSERT_EQ(P.Points()[0].size(), 4u);
  for (int I = 0; I < 4; ++I) {
    EXPECT_NEAR(P.Points()[0][I].X, 8 * I, 1e-9);
    EXPECT_EQ(P.Points()[0][I].Y, 0);
  }
  // Two groups; a curve: the points follow the formula.
  TPolygon24 Q;
  const TFloatPointArray C = Pts({{0, 0}, {0, 40}, {40, 40}, {40, 0}, {40, -20}, {60, -20}, {60, 0}});
  Q.AddBezier(C);
  const TFloatPointArray& B = Q.Points()[0];
  // (40 + 40 + 40) div 8 = 15 steps, then (20 + 20 + 20) div 8 = 7.
  ASSERT_EQ(B.size(), 1u + 15 + 7);
  const TFloatPoint Mid = BezierPoint(C[0], C[1], C[2], C[3], 0.6);
  EXPECT_NEAR(Mid.X, 3 * 0.36 * 0.4 * 40 + 0.216 * 40, 1e-9);
  EXPECT_EQ(B[9], Mid);
  EXPECT_EQ(B.back(), (TFloatPoint{60, 0}));
  EXPECT_EQ(RoundedPointDistance({0.4, 0.6}, {3.4, 5.4}), 5);
}

TEST(Polygon24Shapes, ThinningDropsPointsCloserThanTheMinimum) {
  const double Saved = PolyMinPointDistance;
  PolyMinPointDistance = 5;
  TPolygon24 P;
  P.EllipseF(0, 0, 20, 10);
  const TFloatPointArray& E = P.Points()[0];
  EXPECT_LT(E.size(), 14u);
  for (size_t I = 1; I < E.size(); ++I)
    EXPECT_TRUE(std::abs(E[I].X - E[I - 1].X) >= 5 || std::abs(E[I].Y - E[I - 1].Y) >= 5);
  PolyMinPointDistance = Saved;
}

// ---- Offsetting and outlines ---------------------------------------------------------------

TEST(Polygon24Grow, ZeroDeltaCopiesExactly) {
  TPolygon24 P;
  P.SetFillMode(pfWinding);
  P.SetClipRect(Rect(1, 2, 3, 4));
  P.AddPoints(Pts({{0, 0}, {10, 0}, {3, 7}}));
  P.NewLine();
  P.Add(5, 5);
  const auto G = P.Grow(0, 0.5);
  EXPECT_EQ(G->Points(), P.Points());
  EXPECT_EQ(G->FillMode(), pfWinding);
  EXPECT_EQ(G->ClipRect(), WholeBitmapRect);
}

TEST(Polygon24Grow, SquareCornersBevelOrMitreBySharpness) {
  TPolygon24 P;
  P.AddPoints(Pts({{0, 0}, {10, 0}, {10, 10}, {0, 10}})); // clockwise on screen
  const auto Bevel = P.Grow(2, 0);
  ASSERT_EQ(Bevel->Points().size(), 1u);
  EXPECT_EQ(Bevel->Points()[0], Pts({{-2, 0}, {0, -2}, {10, -2}, {12, 0}, {12, 10}, {10, 12}, {0, 12}, {-2, 10}}));
  const auto Mitre = P.Grow(2, 0.5);
  EXPECT_EQ(Mitre->Points()[0], Pts({{-2, -2}, {12, -2}, {12, 12}, {-2, 12}}));
  EXPECT_EQ(P.Normals()[0], Pts({{0, -1}, {1, 0}, {0, 1}, {-1, 0}}));
}

TEST(Polygon24Grow, OpenPathEndsTakeTheirEdgeNormal) {
  TPolygon24 P;
  P.SetClosed(false);
  P.AddPoints(Pts({{0, 0}, {10, 0}, {10, 10}}));
  const auto G = P.Grow(1, 0.5);
  EXPECT_EQ(G->Points()[0], Pts({{0, -1}, {11, -1}, {11, 10}}));
}

TEST(Polygon24Grow, ZeroLengthEdgesAndReversalsStayFinite) {
  const std::vector<TFloatPointArray> Paths{Pts({{0, 0}, {0, 0}, {10, 0}, {10, 10}}),
                                            Pts({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}),
                                            Pts({{3, 3}, {3, 3}, {3, 3}}), Pts({{0, 0}, {10, 0}, {0, 0}})};
  for (bool Closed : {false, true})
    for (const TFloatPointArray& Path : Paths)
      for (double Delta : {2.0, -2.0}) {
        TPolygon24 P;
        P.SetClosed(Closed);
        P.AddPoints(Path);
        for (const auto& G : {P.Grow(Delta, 0.9), P.Outline(5)})
          for (const TFloatPointArray& Sub : G->Points())
            for (const TFloatPoint& Q : Sub) {
              ASSERT_TRUE(std::isfinite(Q.X) && std::isfinite(Q.Y));
              // No spike: every offset point stays near the path.
              ASSERT_LE(std::abs(Q.X - 5), 13);
              ASSERT_LE(std::abs(Q.Y - 5), 13);
            }
      }
}

TEST(Polygon24Grow, SourceWithoutUsablePathsGivesNoSubPath) {
  TPolygon24 P;
  P.Add(4, 4);
  const auto G = P.Grow(3, 0);
  EXPECT_TRUE(G->Points().empty());
  TBitmap B(10, 10);
  G->Draw(B, clBlack, clBlack);
  EXPECT_EQ(CountChanged(B), 0);
}

TEST(Polygon24Outline, ThinOutlineIsThePathAndItsReverse) {
  TPolygon24 P;
  P.SetEdgeAlpha(30);
  P.SetClipRect(Rect(0, 0, 9, 9));
  P.AddPoints(Pts({{1, 1}, {5, 1}, {5, 5}}));
  const auto Closed = P.Outline(1);
  EXPECT_EQ(Closed->Points(), (TPolyPoints{Pts({{1, 1}, {5, 1}, {5, 5}}), Pts({{5, 5}, {5, 1}, {1, 1}})}));
  EXPECT_EQ(Closed->FillAlpha(), 30);
  EXPECT_EQ(Closed->ClipRect(), Rect(0, 0, 9, 9));
  P.SetClosed(false);
  const auto Open = P.Outline(0);
  EXPECT_EQ(Open->Points(), (TPolyPoints{Pts({{1, 1}, {5, 1}, {5, 5}, {5, 5}, {5, 1}, {1, 1}})}));
}

TEST(Polygon24Outline, WideOutlineFillsARing) {
  TPolygon24 P;
  P.SetAntialiased(false);
  P.AddPoints(Pts({{5, 5}, {25, 5}, {25, 25}, {5, 25}}));
  const auto O = P.Outline(4);
  EXPECT_EQ(O->FillMode(), pfWinding);
  ASSERT_EQ(O->Points().size(), 2u);
  TBitmap B(31, 31);
  O->Fill(B, clBlack);
  const std::vector<std::string> M = MapOf(B, Plain);
  // Two pixels either side of the outline are inside the ring, the middle
  // and the far outside are not.
  EXPECT_EQ(M[15][15], '.');
  EXPECT_EQ(M[15][0], '.');
  EXPECT_EQ(M[15][5], '#');
  EXPECT_EQ(M[15][4], '#');
  EXPECT_EQ(M[15][6], '#');
  EXPECT_EQ(M[15][9], '.');
  // The top and bottom rows of the ring are its edges' (left to them
  // without anti-aliasing).
  EXPECT_EQ(M[4][15], '#');
  EXPECT_EQ(M[26][15], '#');
  EXPECT_EQ(M[2][15], '.');
  EXPECT_EQ(M[28][15], '.');
}

// ---- Thick lines and arrows ------------------------------------------------------------------

TEST(Polygon24Thick, ThickLineIsTheBrushWideRectangle) {
  TBitmap B(14, 10);
  DrawThickLine24(B, 2, 5, 10, 5, clBlack, clBlack, 3, false, Whole);
  EXPECT_EQ(MapOf(B, Plain),
            (std::vector<std::string>{"..............", "..............", "..............", "..............",
                                      ".###########..", ".###########..", ".###########..", "..............",
                                      "..............", ".............."}));
  TBitmap One(14, 10);
  DrawThickLine24(One, 2, 5, 10, 5, clRed, clBlack, 1, false, Whole);
  EXPECT_EQ(MapOf(One, Plain)[5], "..#########...");
  TBitmap None(14, 10);
  DrawThickLine24(None, 2, 5, 10, 5, clBlack, clBlack, 0, true, Whole);
  EXPECT_EQ(CountChanged(None), 0);
}

TEST(Polygon24Thick, WidthTwoIsAllOutlineColour) {
  for (bool Antialiased : {false, true}) {
    TBitmap B(20, 20);
    DrawThickLine24(B, 3, 4, 15, 13, clRed, clBlue, 2, Antialiased, Whole);
    int Changed = 0;
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 20; ++X) {
        const TRGB P = RowOf(B, Y)[X];
        ASSERT_LE(P.Blue, P.Red) << X << ", " << Y; // no blue mixed in
        Changed += P.Blue != 255;
      }
    EXPECT_GT(Changed, 12);
  }
}

TEST(Polygon24Thick, DiagonalThickLineFollowsItsDirection) {
  // Width 5 from (10, 10) to (30, 30): the centre line and the band around it
  // are drawn, a point 5 pixels off the line is not.
  TBitmap B(40, 40);
  DrawThickLine24(B, 10, 10, 30, 30, clBlack, clBlack, 5, true, Whole);
  const auto Level = [&](int X, int Y) { return RowOf(B, Y)[X].Blue; };
  EXPECT_EQ(Level(20, 20), 0);
  EXPECT_EQ(Level(21, 19), 0);
  EXPECT_EQ(Level(19, 21), 0);
  EXPECT_EQ(Level(24, 16), 255);
  EXPECT_EQ(Level(16, 24), 255);
  EXPECT_EQ(Level(5, 5), 255);
  EXPECT_EQ(Level(35, 35), 255);
}

TEST(Polygon24Arrow, OneHeadOnAWideLine) {
  TBitmap B(50, 40);
  DrawArrowLineOneHead24(B, 10, 20, 40, 20, clBlack, clBlack, 3, 4, 8, false, Whole);
  const auto Black = [&](int X, int Y) { return RowOf(B, Y)[X].Blue == 0; };
  EXPECT_TRUE(Black(41, 20)); // tip: L + h beyond the start
  EXPECT_FALSE(Black(42, 20));
  EXPECT_TRUE(Black(20, 19));
  EXPECT_TRUE(Black(20, 21));
  EXPECT_FALSE(Black(20, 18));
  EXPECT_FALSE(Black(20, 22));
  EXPECT_TRUE(Black(33, 15)); // the head's corners, h + d off the axis
  EXPECT_TRUE(Black(33, 25));
  EXPECT_FALSE(Black(33, 14));
  EXPECT_FALSE(Black(33, 26));
  EXPECT_TRUE(Black(9, 20)); // the tail, h behind the start
  EXPECT_FALSE(Black(8, 20));
}

TEST(Polygon24Arrow, TwoHeadsOnAWideLine) {
  TBitmap B(50, 40);
  DrawArrowLineTwoHeads24(B, 10, 20, 40, 20, clBlack, clBlack, 3, 4, 8, false, Whole);
  const auto Black = [&](int X, int Y) { return RowOf(B, Y)[X].Blue == 0; };
  EXPECT_TRUE(Black(41, 20));
  EXPECT_TRUE(Black(9, 20));
  EXPECT_FALSE(Black(8, 20));
  EXPECT_TRUE(Black(17, 15));
  EXPECT_TRUE(Black(17, 25));
  EXPECT_TRUE(Black(33, 15));
  EXPECT_FALSE(Black(25, 15));
  EXPECT_TRUE(Black(25, 19));
}

TEST(Polygon24Arrow, OneHeadOnAThinLine) {
  const std::map<char, int> Legend{{'.', 255}, {'#', 0}, {'g', 128}};
  TBitmap B(50, 40);
  DrawArrowLineOneHead24(B, 10, 20, 40, 20, clBlack, RGB(128, 128, 128), 1, 4, 8, false, Whole);
  const std::vector<std::string> M = MapOf(B, Legend);
  // The line in the fill colour up to the head's base (32, 20), the head
  // filled and edged; (39, 20) lies on the head's upper edge.
  EXPECT_EQ(M[20].substr(8, 34), "..ggggggggggggggggggggggggggggg##.");
  EXPECT_EQ(M[20][42], '.');
  EXPECT_EQ(M[16][32], '#');
  EXPECT_EQ(M[24][32], '#');
  EXPECT_EQ(M[19][35], 'g'); // inside the head
  EXPECT_EQ(M[18][35], '#'); // on its edge
}

TEST(Polygon24Arrow, HeadLongerThanTheLineGivesThePlainLine) {
  for (int Width : {1, 4}) {
    TBitmap Plain(50, 40), One(50, 40), Two(50, 40), NoHead(50, 40);
    DrawThickLine24(Plain, 10, 20, 25, 24, clBlack, clGray, Width, true, Whole);
    DrawArrowLineOneHead24(One, 10, 20, 25, 24, clBlack, clGray, Width, 4, 40, true, Whole);
    DrawArrowLineTwoHeads24(Two, 10, 20, 25, 24, clBlack, clGray, Width, 4, 40, true, Whole);
    DrawArrowLine24(NoHead, 10, 20, 25, 24, clBlack, clGray, Width, 0, 3, true, true, true, Whole);
    EXPECT_IMAGES_MATCH(One, Plain);
    EXPECT_IMAGES_MATCH(Two, Plain);
    EXPECT_IMAGES_MATCH(NoHead, Plain);
  }
}

TEST(Polygon24Arrow, FlagsChooseTheHeads) {
  const auto Draw = [](TBitmap& B, bool A1, bool A2) {
    DrawArrowLine24(B, 10, 20, 40, 22, clBlack, clGray, 5, 5, 17, A1, A2, true, Whole);
  };
  TBitmap Both(50, 40), Second(50, 40), First(50, 40), None(50, 40);
  Draw(Both, true, true);
  Draw(Second, false, true);
  Draw(First, true, false);
  Draw(None, false, false);
  TBitmap Two(50, 40), One(50, 40), Thick(50, 40);
  DrawArrowLineTwoHeads24(Two, 10, 20, 40, 22, clBlack, clGray, 5, 5, 17, true, Whole);
  DrawArrowLineOneHead24(One, 10, 20, 40, 22, clBlack, clGray, 5, 5, 17, true, Whole);
  DrawThickLine24(Thick, 10, 20, 40, 22, clBlack, clGray, 5, true, Whole);
  EXPECT_IMAGES_MATCH(Both, Two);
  EXPECT_IMAGES_MATCH(Second, One);
  EXPECT_IMAGES_MATCH(First, One);
  EXPECT_IMAGES_MATCH(None, Thick);
  EXPECT_FALSE(ImagesMatch(Two, One));
}

// ---- One-pixel outlines ---------------------------------------------------------------------

namespace {

// Every changed pixel lies within Near of a point of the curve, and every
// point of the curve has a changed pixel within Near.
void ExpectAlongCurve(const TBitmap& B, const std::vector<TFloatPoint>& Curve, double Near) {
  std::vector<TFloatPoint> Changed;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (RowOf(B, Y)[X].Blue != 255) Changed.push_back({double(X), double(Y)});
  ASSERT_FALSE(Changed.empty());
  const auto Distance = [](const TFloatPoint& P, const std::vector<TFloatPoint>& Set) {
    double D = 1e9;
    for (const TFloatPoint& Q : Set) D = std::min(D, std::hypot(P.X - Q.X, P.Y - Q.Y));
    return D;
  };
  for (const TFloatPoint& P : Changed) EXPECT_LE(Distance(P, Curve), Near) << P.X << ", " << P.Y;
  for (const TFloatPoint& P : Curve) EXPECT_LE(Distance(P, Changed), Near) << P.X << ", " << P.Y;
}

std::vector<TFloatPoint> EllipseCurve(double CX, double CY, double A, double B, double From, double To) {
  std::vector<TFloatPoint> Curve;
  for (int K = 0; K <= 2000; ++K) {
    const double T = From + (To - From) * K / 2000;
    Curve.push_back({CX + A * std::cos(T), CY - B * std::sin(T)});
  }
  return Curve;
}

} // namespace

TEST(Polygon24Outlines, RectOutlineIsTheBorderPixels) {
  TBitmap B(8, 6);
  DrawRectOutline24(B, Rect(1, 1, 6, 5), clBlack, Whole);
  const std::vector<std::string> Expected{"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"};
  EXPECT_EQ(MapOf(B, Plain), Expected);
  // Flat ellipses, small rounded rectangles: the same outline.
  TBitmap E(8, 6), R(8, 6), F(8, 6);
  DrawEllipseOutlineAA24(F, Rect(1, 1, 6, 3), clBlack, Whole);
  EXPECT_EQ(MapOf(F, Plain)[2], ".#####..");
  DrawRoundRectOutlineAA24(R, Rect(1, 1, 6, 5), clBlack, Whole);
  EXPECT_EQ(MapOf(R, Plain), Expected);
}

TEST(Polygon24Outlines, EllipseOutlineFollowsTheEllipse) {
  TBitmap B(45, 35);
  DrawEllipseOutlineAA24(B, Rect(2, 2, 42, 32), clBlack, Whole);
  ExpectAlongCurve(B, EllipseCurve(21.5, 16.5, 19.5, 14.5, 0, 2 * Pi), 1.5);
}

TEST(Polygon24Outlines, ArcStaysInItsQuarter) {
  TBitmap B(40, 40);
  DrawArcAA24(B, 20, 20, 10, 0, Pi / 2, clBlack, Whole);
  ExpectAlongCurve(B, EllipseCurve(20, 20, 10, 10, 0, Pi / 2), 1.5);
}

TEST(Polygon24Outlines, RoundRectOutlineCutsItsCorners) {
  TBitmap B(40, 40);
  DrawRoundRectOutlineAA24(B, Rect(0, 0, 40, 40), clBlack, Whole);
  const auto Level = [&](int X, int Y) { return RowOf(B, Y)[X].Blue; };
  EXPECT_EQ(Level(0, 0), 255);
  EXPECT_EQ(Level(1, 1), 255);
  EXPECT_EQ(Level(39, 39), 255);
  EXPECT_EQ(Level(20, 0), 0);
  EXPECT_EQ(Level(0, 20), 0);
  EXPECT_EQ(Level(39, 20), 0);
  EXPECT_EQ(Level(20, 39), 0);
  EXPECT_EQ(Level(20, 20), 255);
  EXPECT_LT(Level(3, 3), 255); // the corner arc passes near (2.9, 2.9)
}

TEST(Polygon24Outlines, BezierOutlineJoinsItsSteps) {
  TBitmap B(30, 8);
  DrawBezierAA24(B, Pts({{0, 5}, {8, 5}, {16, 5}, {24, 5}}), clBlack, 100, Whole);
  EXPECT_EQ(MapOf(B, Plain)[5], "########################......");
  EXPECT_EQ(CountChanged(B), 24);
  TBitmap C(30, 8);
  DrawBezierAA24(C, Pts({{0, 5}, {8, 5}, {16, 5}}), clBlack, 100, Whole);
  DrawBezierAA24(C, Pts({{0, 5}, {8, 5}, {16, 5}, {24, 5}}), clBlack, 0, Whole);
  EXPECT_EQ(CountChanged(C), 0);
}

TEST(Polygon24Outlines, OutlinesStayInsideTheClip) {
  TBitmap Start(50, 50);
  FillRandom(Start, 11);
  const TRect Clip{10, 12, 30, 33};
  TBitmap B;
  B.Assign(Start);
  DrawEllipseOutlineAA24(B, Rect(0, 0, 50, 50), clBlack, Clip);
  DrawRoundRectOutlineAA24(B, Rect(5, 5, 45, 45), clBlack, Clip);
  DrawArrowLine24(B, 0, 0, 49, 40, clBlack, clRed, 7, 6, 21, true, true, true, Clip);
  DrawDashedLineAA24(B, 0, 49, 49, 0, clBlack, 100, 1, Clip);
  DrawBezierAA24(B, Pts({{0, 0}, {60, 0}, {-10, 50}, {50, 50}}), clBlack, 100, Clip);
  ExpectUnchangedOutside(B, Start, Clip);
}

TEST(Polygon24Object, AddingItsOwnPointsRepeatsThem) {
  TPolygon24 P;
  P.AddPoints(Pts({{1, 1}, {2, 2}, {3, 3}}));
  for (int I = 0; I < 4; ++I) P.AddPoints(P.Points()[0]);
  ASSERT_EQ(P.Points()[0].size(), 48u);
  EXPECT_EQ(P.Points()[0][47], (TFloatPoint{3, 3}));
}
