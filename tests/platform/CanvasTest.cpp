#include "platform/Canvas.h"
#include "platform/Bitmap.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Pictures of small bitmaps, one character per pixel.
TColor Legend(char C) {
  switch (C) {
  case '.':
    return clWhite;
  case '#':
    return clBlack;
  case 'o':
    return clRed;
  case 'b':
    return clBlue;
  case 'a':
    return clAqua;
  case 'y':
    return clYellow;
  default:
    return clLime;
  }
}

char Symbol(TColor C) {
  for (char S : std::string(".#obay"))
    if (Legend(S) == C) return S;
  return '?';
}

std::string Picture(const TBitmap& B) {
  std::string S;
  for (int Y = 0; Y < B.Height(); ++Y) {
    for (int X = 0; X < B.Width(); ++X) S += Symbol(B.PixelColor(X, Y));
    S += '\n';
  }
  return S;
}

std::string Join(const std::vector<std::string>& Rows) {
  std::string S;
  for (const std::string& R : Rows) S += R + '\n';
  return S;
}

struct TDrawCase {
  const char* Name;
  std::function<void(TCanvas&)> Draw;
  std::vector<std::string> Expected; // its size is the bitmap's
};

std::ostream& operator<<(std::ostream& Out, const TDrawCase& C) { return Out << C.Name; }

// Drawn on a white bitmap with a black pen of width 1 and a solid red brush.
std::string DrawnPicture(const TDrawCase& C) {
  TBitmap B(int(C.Expected[0].size()), int(C.Expected.size()), pf24bit, clWhite);
  B.Canvas().Pen.Color = clBlack;
  B.Canvas().Brush.Color = clRed;
  C.Draw(B.Canvas());
  return Picture(B);
}

class CanvasShapes : public ::testing::TestWithParam<TDrawCase> {};

TEST_P(CanvasShapes, PixelsMatchThePicture) { EXPECT_EQ(DrawnPicture(GetParam()), Join(GetParam().Expected)); }

// The same shapes on a 32-bit bitmap: same colours, alpha 0 where drawn.
TEST_P(CanvasShapes, ThirtyTwoBitBitmapsGetTheSamePixels) {
  TBitmap B(int(GetParam().Expected[0].size()), int(GetParam().Expected.size()), pf32bit, clWhite);
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.ScanLine(Y)[4 * X + 3] = 77;
  B.Canvas().Pen.Color = clBlack;
  B.Canvas().Brush.Color = clRed;
  GetParam().Draw(B.Canvas());
  EXPECT_EQ(Picture(B), Join(GetParam().Expected));
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      EXPECT_EQ(B.ScanLine(Y)[4 * X + 3], GetParam().Expected[Y][X] == '.' ? 77 : 0) << X << "," << Y;
}

const TDrawCase ShapeCases[] = {
    {"RectanglePenAndBrush",
     [](TCanvas& C) { C.Rectangle(1, 1, 5, 4); },
     {"......", ".####.", ".#oo#.", ".####.", "......"}},
    {"RectangleCornersInAnyOrder",
     [](TCanvas& C) { C.Rectangle(5, 4, 1, 1); },
     {"......", ".####.", ".#oo#.", ".####.", "......"}},
    {"RectangleWithoutPenIsOnePixelSmaller",
     [](TCanvas& C) {
       C.Pen.Style = TPenStyle::psClear;
       C.Rectangle(1, 1, 5, 4);
     },
     {"......", ".ooo..", ".ooo..", "......", "......"}},
    {"RectangleWithoutBrush",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsClear;
       C.Rectangle(1, 1, 5, 4);
     },
     {"......", ".####.", ".#..#.", ".####.", "......"}},
    {"RectangleOnePixelWide", [](TCanvas& C) { C.Rectangle(1, 1, 2, 4); }, {"...", ".#.", ".#.", ".#.", "..."}},
    {"RectangleOfNoWidthDrawsNothing", [](TCanvas& C) { C.Rectangle(2, 1, 2, 4); }, {"....", "....", "....", "...."}},
    {"RectangleWithPenOfThree",
     [](TCanvas& C) {
       C.Pen.Width = 3;
       C.Rectangle(2, 2, 7, 7);
     },
     {".........", ".#######.", ".#######.", ".#######.", ".###o###.", ".#######.", ".#######.", ".#######.",
      "........."}},
    {"RectangleClippedAtTheBitmap", [](TCanvas& C) { C.Rectangle(-2, 1, 3, 10); }, {"....", "###.", "oo#.", "oo#."}},
    {"EllipseFiveByFive", [](TCanvas& C) { C.Ellipse(0, 0, 5, 5); }, {".###.", "#ooo#", "#ooo#", "#ooo#", ".###."}},
    {"EllipseFourByFour",
     [](TCanvas& C) { C.Ellipse(1, 1, 5, 5); },
     {"......", "..##..", ".#oo#.", ".#oo#.", "..##..", "......"}},
    {"EllipseEightByEight",
     [](TCanvas& C) { C.Ellipse(0, 0, 8, 8); },
     {"..####..", ".#oooo#.", "#oooooo#", "#oooooo#", "#oooooo#", "#oooooo#", ".#oooo#.", "..####.."}},
    {"EllipseSixByThree", [](TCanvas& C) { C.Ellipse(0, 0, 6, 3); }, {".####.", "#oooo#", ".####."}},
    {"EllipseThreeByThreeIsItsBox", [](TCanvas& C) { C.Ellipse(0, 0, 3, 3); }, {"###", "#o#", "###"}},
    {"EllipseOneColumnWide", [](TCanvas& C) { C.Ellipse(1, 0, 2, 4); }, {".#.", ".#.", ".#.", ".#."}},
    {"EllipseTwoRowsHighTouchesItsEnds", [](TCanvas& C) { C.Ellipse(0, 0, 8, 2); }, {"########", "########"}},
    {"EllipseWithoutPenIsOnePixelSmaller",
     [](TCanvas& C) {
       C.Pen.Style = TPenStyle::psClear;
       C.Ellipse(0, 0, 6, 6);
     },
     {".ooo..", "ooooo.", "ooooo.", "ooooo.", ".ooo..", "......"}},
    {"RoundRectCornersOfFour",
     [](TCanvas& C) { C.RoundRect(0, 0, 7, 6, 4, 4); },
     {".#####.", "#ooooo#", "#ooooo#", "#ooooo#", "#ooooo#", ".#####."}},
    {"RoundRectCornersOfTheWholeBoxIsTheEllipse",
     [](TCanvas& C) { C.RoundRect(0, 0, 8, 8, 99, 99); },
     {"..####..", ".#oooo#.", "#oooooo#", "#oooooo#", "#oooooo#", "#oooooo#", ".#oooo#.", "..####.."}},
    {"RoundRectWithoutCornersIsTheRectangle",
     [](TCanvas& C) { C.RoundRect(0, 0, 4, 3, 0, 0); },
     {"####", "#oo#", "####"}},
    {"PolygonWithoutPenLeavesRightAndBottomEdges",
     [](TCanvas& C) {
       C.Pen.Style = TPenStyle::psClear;
       const std::vector<TPoint> P{{0, 0}, {6, 0}, {0, 6}};
       C.Polygon(P);
     },
     {"oooooo..", "ooooo...", "oooo....", "ooo.....", "oo......", "o.......", "........", "........"}},
    {"PolygonOutlineAddsTheEdges",
     [](TCanvas& C) {
       const std::vector<TPoint> P{{0, 0}, {6, 0}, {0, 6}};
       C.Polygon(P);
     },
     {"#######.", "#oooo#..", "#ooo#...", "#oo#....", "#o#.....", "##......", "#.......", "........"}},
    {"PolygonFillsByTheAlternateRule",
     [](TCanvas& C) {
       C.Pen.Style = TPenStyle::psClear;
       // An outer square and an inner one wound the same way: a hole only
       // by the alternate rule.
       const std::vector<TPoint> P{{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}};
       C.Polygon(P);
     },
     {"oooooo.", "oooooo.", "oo..oo.", "oo..oo.", "oooooo.", "oooooo.", "......."}},
    {"PolygonOfOnePointDrawsNothing",
     [](TCanvas& C) {
       const std::vector<TPoint> P{{1, 1}};
       C.Polygon(P);
     },
     {"...", "...", "..."}},
    {"PolylineLeavesItsLastPoint",
     [](TCanvas& C) {
       const std::vector<TPoint> P{{0, 0}, {3, 0}, {3, 2}};
       C.Polyline(P);
     },
     {"####.", "...#.", ".....", "....."}},
    {"LineTieStaysOnTheStartSide",
     [](TCanvas& C) {
       C.MoveTo(0, 0);
       C.LineTo(4, 1);
     },
     {"###..", "...#."}},
    {"LineBackwardsTieStaysOnItsStartSide",
     [](TCanvas& C) {
       C.MoveTo(4, 1);
       C.LineTo(0, 0);
     },
     {".#...", "..###"}},
    {"SteepLine",
     [](TCanvas& C) {
       C.MoveTo(0, 0);
       C.LineTo(1, 4);
     },
     {"#.", "#.", "#.", ".#", ".."}},
    {"LinesJoinWithoutGapOrOverlap",
     [](TCanvas& C) {
       C.MoveTo(0, 2);
       C.LineTo(2, 0);
       C.LineTo(4, 2);
     },
     {"..#..", ".#.#.", "#...."}},
    {"LineOfNoLengthDrawsNothing",
     [](TCanvas& C) {
       C.MoveTo(1, 1);
       C.LineTo(1, 1);
     },
     {"...", "...", "..."}},
    {"LineWithPenOfThreeHasBothEnds",
     [](TCanvas& C) {
       C.Pen.Width = 3;
       C.MoveTo(1, 2);
       C.LineTo(5, 2);
     },
     {".......", "#######", "#######", "#######", "......."}},
    {"LineWithPenOfFourHasRoundEnds",
     [](TCanvas& C) {
       C.Pen.Width = 4;
       C.MoveTo(2, 3);
       C.LineTo(5, 3);
     },
     {".........", ".........", "..#####..", ".#######.", ".#######.", "..#####..", ".........", "........."}},
    {"ClearPenDrawsNoLine",
     [](TCanvas& C) {
       C.Pen.Style = TPenStyle::psClear;
       C.MoveTo(0, 0);
       C.LineTo(3, 0);
     },
     {"...."}},
    {"StraightBezierIsTheLine",
     [](TCanvas& C) {
       const std::vector<TPoint> P{{0, 1}, {1, 1}, {3, 1}, {6, 1}};
       C.PolyBezier(P);
     },
     {".......", "######.", "......."}},
    {"FrameRectUsesTheBrush",
     [](TCanvas& C) {
       C.Pen.Mode = TPenMode::pmXor;
       C.FrameRect({1, 1, 5, 4});
     },
     {"......", ".oooo.", ".o..o.", ".oooo.", "......"}},
    {"FillRectIgnoresThePenMode",
     [](TCanvas& C) {
       C.Pen.Mode = TPenMode::pmNot;
       C.FillRect({1, 0, 3, 2});
     },
     {".oo.", ".oo.", "...."}},
    {"ReversedFillRectDrawsNothing",
     [](TCanvas& C) {
       C.FillRect({3, 2, 1, 0});
     },
     {"....", "....", "...."}},
    {"ClearBrushFillsNothing",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsClear;
       C.FillRect({0, 0, 3, 3});
       C.FrameRect({0, 0, 3, 3});
     },
     {"...", "...", "..."}},
    // Hatches: lines on a grid of 8 from the bitmap's origin, the pixels
    // between them left as they were.
    {"HatchedFillRectPaintsTheGridLines",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsCross;
       C.FillRect({1, 1, 10, 10});
     },
     {"..........", "........o.", "........o.", "........o.", "........o.", "........o.", "........o.",
      "........o.", ".ooooooooo", "........o."}},
    {"ForwardDiagonalHatchRunsDownToTheRight",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsFDiagonal;
       C.FillRect({0, 0, 4, 3});
     },
     {"o...", ".o..", "..o."}},
    {"BackwardDiagonalHatchRunsUpToTheRight",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsBDiagonal;
       C.FillRect({0, 0, 9, 2});
     },
     {"o.......o", ".......o."}},
    {"HatchedRectangleKeepsItsPen",
     [](TCanvas& C) {
       C.Brush.Style = TBrushStyle::bsVertical;
       C.Rectangle(0, 0, 10, 3);
     },
     {"##########", "#.......o#", "##########"}},
    {"ClipLimitsEveryShape",
     [](TCanvas& C) {
       C.SetClipRect({1, 1, 4, 3});
       C.Rectangle(0, 0, 5, 4);
       C.MoveTo(0, 2);
       C.LineTo(5, 2);
     },
     {".....", ".ooo.", ".###.", "....."}},
};

INSTANTIATE_TEST_SUITE_P(Table, CanvasShapes, ::testing::ValuesIn(ShapeCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// ---- Lines --------------------------------------------------------------------

// The line from its definition: one pixel per step of the longer axis, on the
// other the integer nearest the ideal line, a tie going to the start's side.
std::vector<TPoint> ReferenceLine(int X1, int Y1, int X2, int Y2) {
  std::vector<TPoint> P;
  const int DX = X2 - X1, DY = Y2 - Y1, AX = std::abs(DX), AY = std::abs(DY);
  const int N = std::max(AX, AY), SX = DX < 0 ? -1 : 1, SY = DY < 0 ? -1 : 1;
  for (int I = 0; I < N; ++I) {
    const int Minor = AX >= AY ? AY : AX;
    const int K = I * Minor / N + (2 * (I * Minor % N) > N ? 1 : 0);
    if (AX >= AY)
      P.push_back({X1 + SX * I, Y1 + SY * K});
    else
      P.push_back({X1 + SX * K, Y1 + SY * I});
  }
  return P;
}

TEST(LineDDA, WalksTheLineFromItsDefinition) {
  std::mt19937 Random(7);
  std::uniform_int_distribution<int> Coord(-20, 20);
  for (int Case = 0; Case < 2000; ++Case) {
    const int X1 = Coord(Random), Y1 = Coord(Random), X2 = Coord(Random), Y2 = Coord(Random);
    std::vector<TPoint> Got;
    LineDDA(X1, Y1, X2, Y2, [&](int X, int Y) { Got.push_back({X, Y}); });
    ASSERT_EQ(Got, ReferenceLine(X1, Y1, X2, Y2)) << X1 << "," << Y1 << " -> " << X2 << "," << Y2;
  }
}

TEST(LineDDA, LineToDrawsTheSamePixels) {
  std::mt19937 Random(11);
  std::uniform_int_distribution<int> Coord(-3, 14);
  for (int Case = 0; Case < 300; ++Case) {
    const int X1 = Coord(Random), Y1 = Coord(Random), X2 = Coord(Random), Y2 = Coord(Random);
    TBitmap Drawn(12, 12, pf24bit, clWhite), Expected(12, 12, pf24bit, clWhite);
    Drawn.Canvas().MoveTo(X1, Y1);
    Drawn.Canvas().LineTo(X2, Y2);
    EXPECT_EQ(Drawn.Canvas().PenPos, (TPoint{X2, Y2}));
    LineDDA(X1, Y1, X2, Y2, [&](int X, int Y) {
      if (X >= 0 && Y >= 0 && X < 12 && Y < 12) Expected.Canvas().SetPixels(X, Y, clBlack);
    });
    ASSERT_TRUE(ImagesMatch(Drawn, Expected)) << X1 << "," << Y1 << " -> " << X2 << "," << Y2;
  }
}

TEST(LineDDA, LongLinesFarOutsideTheBitmapAreCutNotWalked) {
  TBitmap B(10, 10, pf24bit, clWhite);
  B.Canvas().MoveTo(-100000000, 5);
  B.Canvas().LineTo(100000000, 5);
  for (int X = 0; X < 10; ++X) EXPECT_EQ(B.PixelColor(X, 5), clBlack);
  B.Canvas().MoveTo(-(1 << 28), 0); // beyond the platform's limit
  B.Canvas().LineTo(5, 0);
  EXPECT_EQ(B.PixelColor(0, 0), clWhite);
}

// ---- Pen modes and alpha ----------------------------------------------------------

TEST(CanvasPenModes, XorDrawsEveryPixelOnceAndTwiceRestores) {
  TBitmap B(9, 9, pf24bit, clWhite), Original;
  Original.Assign(B);
  TCanvas& C = B.Canvas();
  C.Pen.Mode = TPenMode::pmXor;
  C.Pen.Color = clRed;    // white xor red = aqua
  C.Brush.Color = clBlue; // white xor blue = yellow
  const std::vector<TPoint> Star{{4, 0}, {8, 8}, {0, 3}, {8, 3}, {0, 8}};
  C.Polygon(Star);
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 9; ++X) {
      const TColor P = B.PixelColor(X, Y);
      EXPECT_TRUE(P == clWhite || P == clAqua || P == clYellow) << X << "," << Y;
    }
  EXPECT_EQ(B.PixelColor(4, 0), clAqua);
  C.Polygon(Star);
  EXPECT_IMAGES_MATCH(B, Original);

  C.Pen.Width = 3;
  C.Rectangle(1, 1, 8, 7);
  EXPECT_EQ(B.PixelColor(4, 4), clYellow);
  C.Rectangle(1, 1, 8, 7);
  EXPECT_IMAGES_MATCH(B, Original);
}

TEST(CanvasPenModes, ThirtyTwoBitPixelsTakeTheValueWithAlphaZero) {
  TBitmap B(3, 1, pf32bit, clWhite);
  for (int X = 0; X < 3; ++X) B.ScanLine(0)[4 * X + 3] = 200;
  TCanvas& C = B.Canvas();
  C.Pen.Color = clRed;
  C.SetPixels(0, 0, clRed);
  C.Pen.Mode = TPenMode::pmXor;
  C.MoveTo(1, 0);
  C.LineTo(2, 0);
  C.Pen.Mode = TPenMode::pmNot;
  C.MoveTo(2, 0);
  C.LineTo(3, 0);
  const uint8_t* P = B.ScanLine(0);
  EXPECT_EQ(std::vector<int>(P, P + 12), (std::vector<int>{0, 0, 255, 0, 255, 255, 0, 200, 0, 0, 0, 55}));
}

TEST(CanvasPenModes, IndexedBitmapsTakeTheNearestPaletteEntry) {
  TBitmap B(4, 3, pf8bit, clWhite);
  B.Canvas().Brush.Color = RGB(250, 5, 0);
  B.Canvas().FillRect({0, 0, 2, 3});
  EXPECT_EQ(B.PixelColor(1, 2), clRed);
  EXPECT_EQ(B.PixelColor(2, 0), clWhite);

  TBitmap M(10, 2, pf1bit, clWhite);
  M.Canvas().Pen.Mode = TPenMode::pmNot;
  M.Canvas().MoveTo(2, 1);
  M.Canvas().LineTo(9, 1);
  for (int X = 0; X < 10; ++X) EXPECT_EQ(M.PixelColor(X, 1), X >= 2 && X < 9 ? clBlack : clWhite) << X;
  EXPECT_EQ(M.PixelColor(5, 0), clWhite);
}

// ---- Clipping and pixels -------------------------------------------------------------

TEST(CanvasClip, StaysUntilResetOrResize) {
  TBitmap B(6, 6, pf24bit, clWhite);
  TCanvas& C = B.Canvas();
  EXPECT_EQ(C.ClipRect(), (TRect{0, 0, 6, 6}));
  C.SetClipRect({-5, 2, 4, 20});
  EXPECT_EQ(C.ClipRect(), (TRect{0, 2, 4, 6}));
  C.IntersectClipRect({1, 0, 9, 3});
  EXPECT_EQ(C.ClipRect(), (TRect{1, 2, 4, 3}));
  C.Brush.Color = clRed;
  C.FillRect({0, 0, 6, 6});
  C.FillRect({0, 0, 6, 6});
  EXPECT_EQ(Picture(B), Join({"......", "......", ".ooo..", "......", "......", "......"}));
  EXPECT_EQ(C.Pixels(0, 2), clNone);
  EXPECT_EQ(C.Pixels(1, 2), clRed);
  C.SetPixels(0, 0, clBlue);
  EXPECT_EQ(B.PixelColor(0, 0), clWhite);
  C.ResetClip();
  EXPECT_EQ(C.ClipRect(), (TRect{0, 0, 6, 6}));
  C.SetPixels(0, 0, clBlue);
  EXPECT_EQ(C.Pixels(0, 0), clBlue);
  EXPECT_EQ(C.Pixels(6, 0), clNone);
  C.SetClipRect({0, 0, 1, 1});
  B.SetSize(7, 7);
  EXPECT_EQ(C.ClipRect(), (TRect{0, 0, 7, 7}));
  TBitmap Empty;
  EXPECT_EQ(Empty.Canvas().ClipRect(), (TRect{}));
  Empty.Canvas().Rectangle(0, 0, 5, 5); // nothing to draw on
}

TEST(CanvasClip, FormatChangeKeepsTheDrawingToolsAndResetsTheClip) {
  TBitmap B(4, 4, pf24bit, clWhite);
  B.Canvas().Brush.Color = clBlue;
  B.Canvas().Pen.Width = 3;
  B.Canvas().Font.Height = -20;
  B.Canvas().SetClipRect({0, 0, 1, 1});
  B.SetPixelFormat(pf32bit);
  EXPECT_EQ(B.Canvas().Brush.Color, clBlue);
  EXPECT_EQ(B.Canvas().Pen.Width, 3);
  EXPECT_EQ(B.Canvas().Font.Height, -20);
  EXPECT_EQ(B.Canvas().ClipRect(), (TRect{0, 0, 4, 4}));
}

TEST(CanvasClip, DrawingReportsAChange) {
  TBitmap B(4, 4, pf24bit, clWhite);
  int Changes = 0;
  B.OnChange = [&] { ++Changes; };
  B.Canvas().Ellipse(0, 0, 4, 4);
  B.Canvas().FillRect({0, 0, 1, 1});
  EXPECT_EQ(Changes, 2);
}

// ---- Blits ------------------------------------------------------------------------------

void MakeRow(TBitmap& B, std::initializer_list<TColor> Colors, TPixelFormat Format = pf24bit) {
  B.SetPixelFormat(Format);
  B.SetSize(int(Colors.size()), 1);
  int X = 0;
  for (TColor C : Colors) B.Canvas().SetPixels(X++, 0, C);
}

std::vector<TColor> RowColors(const TBitmap& B, int Y = 0) {
  std::vector<TColor> V;
  for (int X = 0; X < B.Width(); ++X) V.push_back(B.PixelColor(X, Y));
  return V;
}

TEST(CanvasBlits, DrawLeavesOutTheTransparentColour) {
  TBitmap Src;
  MakeRow(Src, {clRed, clWhite, clBlue});
  TBitmap Dst(5, 1, pf24bit, clBlack);
  Dst.Canvas().Draw(1, 0, Src);
  EXPECT_EQ(RowColors(Dst), (std::vector<TColor>{clBlack, clRed, clWhite, clBlue, clBlack}));
  Src.Transparent = true;
  Src.SetTransparentColor(clWhite);
  Dst.Canvas().FillRect({0, 0, 5, 1}); // the brush is the fill colour, black
  Dst.Canvas().Draw(1, 0, Src);
  EXPECT_EQ(RowColors(Dst), (std::vector<TColor>{clBlack, clRed, clBlack, clBlue, clBlack}));
  // A transparent graphic stretched keeps its holes: columns 0, 0, 1, 1, 2.
  Dst.Canvas().FillRect({0, 0, 5, 1});
  Dst.Canvas().StretchDraw({0, 0, 5, 1}, Src);
  EXPECT_EQ(RowColors(Dst), (std::vector<TColor>{clRed, clRed, clBlack, clBlack, clBlue}));
}

TEST(CanvasBlits, AlphaTravelsOnlyBetweenThirtyTwoBitBitmaps) {
  TBitmap Src(2, 1, pf32bit, clRed);
  Src.ScanLine(0)[3] = 10, Src.ScanLine(0)[7] = 250;
  TBitmap Dst32(2, 1, pf32bit, clWhite), Dst24(2, 1, pf24bit, clWhite);
  Dst32.Canvas().Draw(0, 0, Src);
  EXPECT_EQ(Dst32.ScanLine(0)[3], 10);
  EXPECT_EQ(Dst32.ScanLine(0)[7], 250);
  Dst24.Canvas().Draw(0, 0, Src);
  EXPECT_EQ(Dst24.PixelColor(1, 0), clRed);
  Dst32.Canvas().Draw(0, 0, Dst24);
  EXPECT_EQ(Dst32.ScanLine(0)[7], 0);
}

TEST(CanvasBlits, IndexedSourcesAndDestinations) {
  TBitmap Src;
  MakeRow(Src, {clRed, clBlue, clLime}, pf4bit);
  TBitmap Dst24(3, 1, pf24bit, clWhite);
  Dst24.Canvas().Draw(0, 0, Src);
  EXPECT_EQ(RowColors(Dst24), (std::vector<TColor>{clRed, clBlue, clLime}));
  // Same palette: indices copied as they are, even when mirrored.
  TBitmap Dst4(3, 1, pf4bit, clWhite);
  Dst4.Canvas().CopyRect({2, 0, -1, 1}, Src.Canvas(), {0, 0, 3, 1});
  EXPECT_EQ(RowColors(Dst4), (std::vector<TColor>{clLime, clBlue, clRed}));
  TBitmap Dst8(3, 1, pf8bit, clWhite);
  Dst8.Canvas().Draw(0, 0, Dst24);
  EXPECT_EQ(RowColors(Dst8), (std::vector<TColor>{clRed, clBlue, clLime}));
}

TEST(CanvasBlits, NearestStretchTakesTheTruncatedSourcePosition) {
  TBitmap Src(2, 2, pf24bit, clWhite);
  Src.Canvas().SetPixels(0, 0, clRed);
  Src.Canvas().SetPixels(1, 0, clBlue);
  Src.Canvas().SetPixels(0, 1, clLime);
  TBitmap Big(4, 4, pf24bit, clBlack);
  Big.Canvas().StretchDraw({0, 0, 4, 4}, Src);
  EXPECT_EQ(Picture(Big), Join({"oobb", "oobb", "??..", "??.."}));
  TBitmap Small(2, 2, pf24bit, clBlack);
  Small.Canvas().CopyRect({0, 0, 2, 2}, Big.Canvas(), {0, 0, 4, 4});
  EXPECT_EQ(Picture(Small), Join({"ob", "?."}));
  TBitmap Three, Four(4, 1, pf24bit, clBlack);
  MakeRow(Three, {clRed, clBlue, clAqua});
  Four.Canvas().CopyRect({0, 0, 4, 1}, Three.Canvas(), {0, 0, 3, 1});
  EXPECT_EQ(RowColors(Four), (std::vector<TColor>{clRed, clRed, clBlue, clAqua}));
}

TEST(CanvasBlits, MirroredAndOverlappingCopies) {
  // A column a, b, c, d copied onto itself upside down through the
  // rectangle (Left, Bottom - 1, Right, Top - 1).
  TBitmap Col(1, 4, pf24bit, clWhite);
  const TColor Colors[4] = {clRed, clBlue, clAqua, clYellow};
  for (int Y = 0; Y < 4; ++Y) Col.Canvas().SetPixels(0, Y, Colors[Y]);
  Col.Canvas().CopyRect({0, 3, 1, -1}, Col.Canvas(), {0, 0, 1, 4});
  for (int Y = 0; Y < 4; ++Y) EXPECT_EQ(Col.PixelColor(0, Y), Colors[3 - Y]) << Y;
  // Shifting right within one row reads the pixels as they were.
  TBitmap R;
  MakeRow(R, {clRed, clBlue, clAqua, clYellow, clBlack});
  R.Canvas().CopyRect({1, 0, 5, 1}, R.Canvas(), {0, 0, 4, 1});
  EXPECT_EQ(RowColors(R), (std::vector<TColor>{clRed, clRed, clBlue, clAqua, clYellow}));
  // Pixels whose source lies outside the source bitmap stay.
  TBitmap Two, Dst(4, 1, pf24bit, clBlack);
  MakeRow(Two, {clBlue, clAqua});
  Dst.Canvas().CopyRect({0, 0, 4, 1}, Two.Canvas(), {0, 0, 4, 1});
  EXPECT_EQ(RowColors(Dst), (std::vector<TColor>{clBlue, clAqua, clBlack, clBlack}));
  // And the clip holds.
  Dst.Canvas().SetClipRect({3, 0, 4, 1});
  Dst.Canvas().CopyRect({0, 0, 4, 1}, Two.Canvas(), {0, 0, 2, 1});
  EXPECT_EQ(RowColors(Dst), (std::vector<TColor>{clBlue, clAqua, clBlack, clAqua}));
}

// ---- Halftone ------------------------------------------------------------------------------

void MakeGreys(TBitmap& B, std::initializer_list<int> Values) {
  B.SetSize(int(Values.size()), 1);
  int X = 0;
  for (int V : Values) B.Canvas().SetPixels(X++, 0, RGB(V, V, V));
}

std::vector<int> GreyRow(const TBitmap& B) {
  std::vector<int> V;
  for (int X = 0; X < B.Width(); ++X) V.push_back(GetRValue(B.PixelColor(X, 0)));
  return V;
}

TEST(Halftone, AveragesTheCoveredAreaRoundingTiesToEven) {
  struct Case {
    std::initializer_list<int> Src;
    int DstWidth;
    std::vector<int> Expected;
  };
  for (const Case& C : {
           Case{{12, 13, 30, 41}, 2, {12, 36}}, // 12.5 and 35.5
           Case{{0, 90, 180}, 2, {30, 150}},    // (2a + b) / 3 and (b + 2c) / 3
           Case{{0, 100}, 3, {0, 50, 100}},     // the middle pixel covers a third of each
           Case{{7, 9, 200}, 3, {7, 9, 200}},   // same size: a copy
           Case{{10, 20, 30, 40, 50}, 1, {30}},
       }) {
    TBitmap Src, Dst(C.DstWidth, 1, pf24bit, clBlack);
    MakeGreys(Src, C.Src);
    StretchHalftone(Src, {0, 0, Src.Width(), 1}, Dst, {0, 0, C.DstWidth, 1}, {0, 0, C.DstWidth, 1});
    EXPECT_EQ(GreyRow(Dst), C.Expected);
  }
}

// The box filter from its definition, without separating the axes: every
// source pixel weighted by the area it shares with the destination pixel.
void ReferenceHalftone(const TBitmap& Src, const TRect& S, TBitmap& Dst) {
  const int64_t DW = Dst.Width(), DH = Dst.Height();
  const int64_t SW = S.Width(), SH = S.Height();
  for (int64_t Y = 0; Y < DH; ++Y)
    for (int64_t X = 0; X < DW; ++X) {
      int64_t Sum[3] = {0, 0, 0}, Den = 0;
      for (int64_t J = 0; J < SH; ++J)
        for (int64_t I = 0; I < SW; ++I) {
          // In units of 1 / (DW x DH) of a source pixel.
          const int64_t OX = std::max<int64_t>(0, std::min((X + 1) * SW, (I + 1) * DW) - std::max(X * SW, I * DW));
          const int64_t OY = std::max<int64_t>(0, std::min((Y + 1) * SH, (J + 1) * DH) - std::max(Y * SH, J * DH));
          const TColor C = Src.PixelColor(S.Left + int(I), S.Top + int(J));
          Sum[0] += OX * OY * GetRValue(C), Sum[1] += OX * OY * GetGValue(C), Sum[2] += OX * OY * GetBValue(C);
          Den += OX * OY;
        }
      int V[3];
      for (int K = 0; K < 3; ++K) {
        const double Q = double(Sum[K]) / double(Den);
        V[K] = int(std::nearbyint(Q));
        if (2 * (Sum[K] % Den) == Den) V[K] = int(Sum[K] / Den) + int((Sum[K] / Den) & 1); // exact tie
      }
      Dst.Canvas().SetPixels(int(X), int(Y), RGB(V[0], V[1], V[2]));
    }
}

TEST(Halftone, MatchesTheAreaAverageForAnySizes) {
  std::mt19937 Random(5);
  std::uniform_int_distribution<int> Size(1, 9);
  TBitmap Src(12, 12, pf24bit, clBlack);
  FillRandom(Src, 9);
  for (int Case = 0; Case < 200; ++Case) {
    const int SW = Size(Random), SH = Size(Random);
    const TRect S = Bounds(Random() % (13 - SW), Random() % (13 - SH), SW, SH);
    const int DW = Size(Random), DH = Size(Random);
    TBitmap Dst(DW, DH, pf24bit, clBlack), Expected(DW, DH, pf24bit, clBlack);
    StretchHalftone(Src, S, Dst, {0, 0, DW, DH}, {0, 0, DW, DH});
    ReferenceHalftone(Src, S, Expected);
    ASSERT_TRUE(ImagesMatch(Dst, Expected))
        << "source " << S.Left << "," << S.Top << " " << S.Width() << "x" << S.Height() << " to " << DW << "x" << DH;
  }
}

TEST(Halftone, ClipMirrorAlphaAndTheCanvasMode) {
  TBitmap Src;
  MakeGreys(Src, {0, 100, 200, 250});
  TBitmap Dst(4, 1, pf24bit, clWhite);
  // Mirrored onto 2 pixels, only the right one inside the clip.
  StretchHalftone(Src, {0, 0, 4, 1}, Dst, {3, 0, 1, 1}, {3, 0, 4, 1});
  EXPECT_EQ(GreyRow(Dst), (std::vector<int>{255, 255, 255, 50}));
  // Source pixels beyond the bitmap do not count.
  StretchHalftone(Src, {2, 0, 6, 1}, Dst, {0, 0, 2, 1}, {0, 0, 4, 1});
  EXPECT_EQ(GreyRow(Dst), (std::vector<int>{225, 255, 255, 50}));

  TBitmap A(2, 1, pf32bit, clBlack), B(1, 1, pf32bit, clWhite);
  A.ScanLine(0)[3] = 100, A.ScanLine(0)[7] = 201;
  B.Canvas().StretchBltMode = TStretchBltMode::sbmHalftone;
  B.Canvas().CopyRect({0, 0, 1, 1}, A.Canvas(), {0, 0, 2, 1});
  EXPECT_EQ(B.ScanLine(0)[3], 150); // 150.5, tie to even
  EXPECT_EQ(B.PixelColor(0, 0), clBlack);

  TBitmap G, One(1, 1, pf24bit, clWhite);
  MakeGreys(G, {10, 30});
  One.Canvas().StretchBltMode = TStretchBltMode::sbmHalftone;
  One.Canvas().StretchDraw({0, 0, 1, 1}, G);
  EXPECT_EQ(GreyRow(One), std::vector<int>{20});
}

// ---- Text -------------------------------------------------------------------------------------

void EnsureGuiApplication() {
  if (qGuiApp) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int Argc = 1;
  static char Name[] = "test_platform";
  static char* Argv[] = {Name, nullptr};
  new QGuiApplication(Argc, Argv); // lives until the process ends
}

TEST(CanvasText, FontSizeAndHeightAreLinkedAtNinetySixDpi) {
  TFont F;
  F.SetSize(8);
  EXPECT_EQ(F.Height, -11);
  F.Height = -12;
  EXPECT_EQ(F.Size(), 9);
}

TEST(CanvasText, OpaqueTextFillsItsCellAndOnlyItsCell) {
  EnsureGuiApplication();
  TBitmap B(120, 40, pf24bit, clWhite);
  TCanvas& C = B.Canvas();
  C.Font.Height = -16;
  C.Font.Color = clBlue;
  C.Brush.Color = clYellow;
  const int W = C.TextWidth("Hello"), H = C.TextHeight("Hello");
  ASSERT_GT(W, 10);
  ASSERT_GT(H, 10);
  EXPECT_EQ(C.TextWidth(""), 0);
  C.TextOut(5, 7, "Hello");
  EXPECT_EQ(C.PenPos, (TPoint{5 + W, 7}));
  int Blue = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 120; ++X) {
      const bool InCell = X >= 5 && X < 5 + W && Y >= 7 && Y < 7 + H;
      const TColor P = B.PixelColor(X, Y);
      if (!InCell) {
        EXPECT_EQ(P, clWhite) << X << "," << Y;
      } else if (P != clBlue) {
        EXPECT_NE(P, clWhite) << X << "," << Y;
      }
      Blue += P == clBlue;
    }
  EXPECT_GT(Blue, 10);
}

TEST(CanvasText, TransparentTextKeepsTheBackgroundAndTheClip) {
  EnsureGuiApplication();
  TBitmap B(100, 30, pf32bit, clRed);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 100; ++X) B.ScanLine(Y)[4 * X + 3] = 99;
  TCanvas& C = B.Canvas();
  C.Font.Height = -20;
  C.Font.Style = fsBold;
  C.Font.Color = clBlack;
  C.Brush.Style = TBrushStyle::bsClear;
  C.SetClipRect({0, 0, 20, 30});
  C.TextOut(2, 2, "WWWWWW");
  int Dark = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 100; ++X) {
      const TColor P = B.PixelColor(X, Y);
      const uint8_t Alpha = B.ScanLine(Y)[4 * X + 3];
      if (X >= 20) {
        EXPECT_EQ(P, clRed) << X << "," << Y;
      }
      EXPECT_EQ(Alpha, P == clRed ? 99 : 0) << X << "," << Y;
      Dark += P == clBlack;
    }
  EXPECT_GT(Dark, 10);
}

TEST(CanvasText, AnIndexedBitmapTakesText) {
  EnsureGuiApplication();
  TBitmap B(60, 24, pf1bit, clWhite);
  B.Canvas().Font.Height = -18;
  B.Canvas().Font.Quality = TFontQuality::fqNonAntialiased;
  B.Canvas().Font.Color = clBlack;
  B.Canvas().TextOut(1, 1, "Ab");
  int Black = 0;
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 60; ++X) Black += B.PixelColor(X, Y) == clBlack;
  EXPECT_GT(Black, 10);
}

} // namespace
