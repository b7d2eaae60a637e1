#include "filters/Patterns24.h"

#include "FilterTestSupport.h"
#include "raster/RandomGen.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace FilterTest;

namespace {

TBitmap* Filled(TBitmap& B, int W, int H, TRGB C) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, C);
  return &B;
}

// The runs of pixels equal to C along column X (Vertical) or row X.
int RunsOf(const TBitmap& B, int Index, bool Vertical, TRGB C) {
  int Runs = 0;
  bool In = false;
  const int N = Vertical ? B.Height() : B.Width();
  for (int K = 0; K < N; ++K) {
    const bool Now = (Vertical ? Px(B, Index, K) : Px(B, K, Index)) == C;
    Runs += Now && !In;
    In = Now;
  }
  return Runs;
}

// The rows (Vertical) or columns of one line through the image that equal C.
std::vector<int> PlacesOf(const TBitmap& B, int Index, bool Vertical, TRGB C) {
  std::vector<int> Places;
  const int N = Vertical ? B.Height() : B.Width();
  for (int K = 0; K < N; ++K)
    if ((Vertical ? Px(B, Index, K) : Px(B, K, Index)) == C) Places.push_back(K);
  return Places;
}

} // namespace

TEST(Mosaic24, EveryPixelTakesItsBlockCornerEvenOutsideTheRect) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 3, 29, 23);
  for (const TRect& Rect : TestRects())
    for (int Size : {1, 3, 8, 40}) {
      Actual.Assign(Src);
      Mosaic24(Actual, Size, Rect);
      ReferenceOver(Src, Expected, Rect,
                    [&](TRGB& Out, int X, int Y, const TRect&) { Out = Px(Src, X / Size * Size, Y / Size * Size); });
      ASSERT_IMAGES_MATCH(Actual, Expected) << "size " << Size;
    }
}

TEST(Mosaic24, BlocksAreAlignedOnTheBitmapOrigin) {
  TBitmap B;
  RandomImage(B, 4, 20, 10);
  const TRGB Corner = Px(B, 0, 0);
  Mosaic24(B, 8, {5, 0, 20, 10});
  for (int X = 5; X < 8; ++X) EXPECT_EQ(Px(B, X, 0), Corner);
}

TEST(Mosaic24, SizeZeroOrLessChangesNothing) {
  TBitmap Src, B;
  RandomImage(Src, 5, 9, 7);
  for (int Size : {0, -4}) {
    B.Assign(Src);
    Mosaic24(B, Size, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(B, Src);
  }
}

TEST(HorizontalStripes24, BandsFromGapStepGapPlusHeightCutAtTheBottom) {
  struct TCase {
    int Height, Gap, Percent;
    TRect Rect;
  };
  const TCase Cases[] = {{2, 3, 100, WholeBitmapRect},
                         {1, 2, 50, {3, 4, 20, 21}},
                         {3, 0, 100, {0, 1, 9, 11}},
                         {4, 6, 7, {-5, 8, 100, 30}}};
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 6, 21, 23);
  const TRGB C = Rgb(200, 30, 90);
  for (const TCase& K : Cases) {
    Actual.Assign(Src);
    HorizontalStripes24(Actual, K.Height, K.Gap, RGB(200, 30, 90), K.Percent, K.Rect);
    ReferenceOver(Src, Expected, K.Rect, [&](TRGB& Out, int, int Y, const TRect& R) {
      const int D = Y - R.Top - K.Gap;
      if (D < 0 || D % (K.Gap + K.Height) >= K.Height) return;
      for (int Ch = 0; Ch < 3; ++Ch)
        SetChannel(Out, Ch, Channel(Out, Ch) + (Channel(C, Ch) - Channel(Out, Ch)) * K.Percent / 100);
    });
    ASSERT_IMAGES_MATCH(Actual, Expected) << "height " << K.Height << " gap " << K.Gap;
  }
}

TEST(HorizontalStripes24, DegenerateBandsChangeNothing) {
  TBitmap Src, B;
  RandomImage(Src, 7, 9, 9);
  for (auto [Height, Gap, Percent] : {std::tuple{0, 2, 100}, {2, -1, 100}, {2, 2, 0}, {-3, 3, 100}}) {
    B.Assign(Src);
    HorizontalStripes24(B, Height, Gap, clRed, Percent, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(B, Src);
  }
}

TEST(Puzzle24, CellCountsAddOneForALargeRemainder) {
  EXPECT_EQ(PuzzleCellCount(100, 30), 3); // remainder 10, not above 20
  EXPECT_EQ(PuzzleCellCount(100, 35), 3); // 2, plus one: 30 is above 23
  EXPECT_EQ(PuzzleCellCount(100, 20), 5);
  EXPECT_EQ(PuzzleCellCount(100, 0), 0);
}

TEST(Puzzle24, DrawsTheInnerEdgesOnly) {
  struct TCase {
    int W, H, Size, Columns, Rows;
  };
  for (const TCase& K : {TCase{100, 100, 30, 3, 3}, TCase{100, 90, 35, 3, 2}, TCase{160, 60, 25, 6, 2}}) {
    TBitmap B;
    Filled(B, K.W, K.H, Grey(255));
    Puzzle24(B, K.Size, clBlack, 1, WholeBitmapRect);
    // Near its ends every edge is within a pixel or two of the cell's side:
    // along each border one crossing per inner edge meeting it, and no edge
    // running along the border.
    for (int X : {0, 1, K.W - 1})
      EXPECT_EQ(RunsOf(B, X, true, Grey(0)), K.Rows - 1)
          << K.W << " x " << K.H << " size " << K.Size << " column " << X;
    for (int Y : {0, 1, K.H - 1})
      EXPECT_EQ(RunsOf(B, Y, false, Grey(0)), K.Columns - 1)
          << K.W << " x " << K.H << " size " << K.Size << " row " << Y;
  }
}

TEST(Puzzle24, RectSmallerThanTwoCellsOrOutOfRangeDrawsNothing) {
  TBitmap Src, B;
  Filled(Src, 100, 100, Grey(255));
  for (auto [Size, Pen, Rect] : {std::tuple{30, 1, TRect{0, 0, 59, 100}},
                                 {30, 1, TRect{0, 0, 100, 59}},
                                 {4, 1, WholeBitmapRect},
                                 {501, 1, WholeBitmapRect},
                                 {20, 0, WholeBitmapRect},
                                 {20, 11, WholeBitmapRect}}) {
    B.Assign(Src);
    Puzzle24(B, Size, clBlack, Pen, Rect);
    EXPECT_IMAGES_MATCH(B, Src);
  }
}

TEST(Grid24, BandsStepTheCellSizeAndStopShortOfTheEdges) {
  TBitmap B;
  Filled(B, 100, 100, Grey(255));
  Grid24(B, 10, clBlack, 2, false, false, true, false, WholeBitmapRect);
  std::vector<int> Expected;
  for (int V = 9; V <= 89; V += 10) Expected.insert(Expected.end(), {V, V + 1});
  EXPECT_EQ(PlacesOf(B, 50, true, Grey(0)), Expected);
  EXPECT_TRUE(PlacesOf(B, 45, false, Grey(0)).empty()); // no vertical lines
}

TEST(Grid24, FitDividesTheSpanIntoEqualCellsAndFrameBordersTheRect) {
  TBitmap B;
  Filled(B, 100, 80, Grey(255));
  const TRect R{0, 5, 100, 75};
  Grid24(B, 35, clBlack, 1, true, true, false, true, R);
  // 100 wide, cell 35: three cells of 33.33, lines at v = 33.33 and 66.67
  // rounded, plus the frame's columns 0 and 99.
  EXPECT_EQ(PlacesOf(B, 40, false, Grey(0)), std::vector<int>({0, 33, 67, 99}));
  EXPECT_EQ(PlacesOf(B, 50, true, Grey(0)), std::vector<int>({5, 74}));
  EXPECT_EQ(Px(B, 32, 4), Grey(255)); // outside the rect
}

TEST(Grid24, TooSmallRectOrZeroSizesDrawNothing) {
  TBitmap Src, B;
  Filled(Src, 30, 30, Grey(255));
  for (auto [Cell, Line] : {std::pair{16, 1}, {0, 1}, {5, 0}}) {
    B.Assign(Src);
    Grid24(B, Cell, clBlack, Line, true, true, true, false, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(B, Src);
  }
}

TEST(Tiles24, GapZeroPlacesEveryTileExactly) {
  TBitmap Src, Dst, Expected;
  RandomImage(Src, 8, 31, 27);
  for (const TRect& Rect : TestRects()) {
    Filled(Dst, 31, 27, Grey(9));
    Tiles24(Src, Dst, 6, 0, clBlack, false, Rect);
    TBitmap Before;
    Filled(Before, 31, 27, Grey(9));
    ReferenceOver(Before, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
      // Tiles stop one short of the far sides: a last column or row of the
      // rect starting a tile of its own keeps the back colour.
      const int TX = R.Left + (X - R.Left) / 6 * 6, TY = R.Top + (Y - R.Top) / 6 * 6;
      Out = (TX < R.Right - 1 && TY < R.Bottom - 1) ? Px(Src, X, Y) : Grey(0);
    });
    ASSERT_IMAGES_MATCH(Dst, Expected);
  }
}

TEST(Tiles24, BordersOutlineEveryTileAndGapsStayWithinTheRect) {
  TBitmap Src, Dst;
  Filled(Src, 40, 40, Rgb(10, 200, 30));
  Filled(Dst, 40, 40, Grey(77));
  const TFixedRandomize Fixed(11);
  Tiles24(Src, Dst, 10, 4, clBlack, true, {0, 0, 40, 40});
  // Tiles at 0, 10, 20, 30 each way, moved by -2..2: their outlines make
  // black columns along row 5 and nothing is left of the old grey.
  EXPECT_GE(RunsOf(Dst, 5, false, Grey(0)), 4);
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) ASSERT_NE(Px(Dst, X, Y), Grey(77));
}

TEST(CrossHatch24, EachCellDrawsItsDiagonalsInTheCornerColour) {
  TBitmap Src, Dst;
  RandomImage(Src, 9, 20, 15);
  Filled(Dst, 20, 15, Grey(0));
  CrossHatch24(Src, Dst, clWhite, 5, 1, true, false, WholeBitmapRect);
  for (int CY = 0; CY < 15; CY += 5)
    for (int CX = 0; CX < 20; CX += 5)
      for (int K = 0; K < 5; ++K) {
        ASSERT_EQ(Px(Dst, CX + K, CY + K), Px(Src, CX, CY)) << CX << ", " << CY;
        if (K > 0) ASSERT_EQ(Px(Dst, CX + K, CY), Grey(255));
      }
  Filled(Dst, 20, 15, Grey(0));
  CrossHatch24(Src, Dst, clWhite, 5, 1, false, true, WholeBitmapRect);
  // The rising line of cell (5, 0) runs from (10, 0) to (6, 4).
  EXPECT_EQ(Px(Dst, 10, 0), Px(Src, 5, 0));
  EXPECT_EQ(Px(Dst, 6, 4), Px(Src, 5, 0));
  EXPECT_EQ(Px(Dst, 5, 1), Grey(255));
}

TEST(Triangles24, LowerLeftAndLowerRightHalvesOfEachCell) {
  TBitmap Src, Dst;
  RandomImage(Src, 10, 24, 16);
  for (auto [Left, Right] : {std::pair{true, false}, {false, true}, {true, true}}) {
    Filled(Dst, 24, 16, Grey(0));
    Triangles24(Src, Dst, clWhite, 8, Left, Right, WholeBitmapRect);
    for (int CY = 0; CY < 16; CY += 8)
      for (int CX = 0; CX < 24; CX += 8) {
        const TRGB C = Px(Src, CX, CY);
        EXPECT_EQ(Px(Dst, CX + 2, CY + 5) == C, Left);  // below the falling diagonal only
        EXPECT_EQ(Px(Dst, CX + 6, CY + 4) == C, Right); // below the rising one only
        EXPECT_EQ(Px(Dst, CX + 3, CY + 1), Grey(255));  // above both
        EXPECT_EQ(Px(Dst, CX, CY + 4), Grey(255));      // the cell's edge
      }
  }
}

TEST(PointillismFromSource, DotsInSourceColoursOverTheBackColourOrTheTarget) {
  TBitmap Src, Dst;
  Filled(Src, 30, 30, Rgb(250, 0, 0));
  const TRect R{3, 4, 25, 27};
  const TFixedRandomize Fixed(9);
  for (TColor Back : {clNone, clLime}) {
    Filled(Dst, 30, 30, Rgb(0, 0, 250));
    PointillismFromSource(Src, Dst, 5, 4, Back, R);
    int Dots = 0, Kept = 0;
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 30; ++X) {
        const TRGB P = Px(Dst, X, Y);
        if (!PtInRect(R, {X, Y})) {
          ASSERT_EQ(P, Rgb(0, 0, 250));
          continue;
        }
        Dots += P == Rgb(250, 0, 0);
        Kept += P == (Back == clNone ? Rgb(0, 0, 250) : Rgb(0, 255, 0));
        ASSERT_TRUE(P == Rgb(250, 0, 0) || P == (Back == clNone ? Rgb(0, 0, 250) : Rgb(0, 255, 0)));
      }
    EXPECT_GT(Dots, 36);
    EXPECT_GT(Kept, 0);
  }
}

TEST(Pointillism24, ReadsTheImageAsItWasAndIsReproducibleFromASeed) {
  TBitmap Src, A, B;
  RandomImage(Src, 12, 40, 30);
  A.Assign(Src);
  B.Assign(Src);
  {
    const TFixedRandomize Fixed(5);
    Pointillism24(A, 6, 3, clWhite, WholeBitmapRect);
  }
  {
    const TFixedRandomize Fixed(5);
    TBitmap Dst;
    PointillismFromSource(Src, Dst, 6, 3, clWhite, WholeBitmapRect);
    B.Assign(Dst);
  }
  EXPECT_IMAGES_MATCH(A, B);
}
