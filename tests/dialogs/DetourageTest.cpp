// The cut-out fill on small drawn pictures: tolerance, the optimised rim,
// scan directions, enclosed regions, masked pixels, and a region far too
// deep for a fill that nests.
#include "dialogs/Detourage.h"

#include "../support/Pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// '.' white background, 'o' a background 5 levels darker, '#' a black
// object, 'x' white but masked (255 in the work mask); '0'..'9' greys of
// 20 times the digit. Rows of one picture have one length.
struct TPicture {
  TBitmap Image, Work;
  explicit TPicture(const std::vector<std::string>& Rows)
      : Image(int(Rows[0].size()), int(Rows.size())), Work(int(Rows[0].size()), int(Rows.size()), pf24bit, clBlack) {
    for (int Y = 0; Y < Image.Height(); ++Y)
      for (int X = 0; X < Image.Width(); ++X) {
        const char C = Rows[size_t(Y)][size_t(X)];
        SetPx(Image, X, Y, C == '#' ? Grey(0) : C == 'o' ? Grey(250) : C >= '0' && C <= '9' ? Grey((C - '0') * 20) : Grey(255));
        if (C == 'x') SetPx(Work, X, Y, Grey(255));
      }
  }
};

// The result mask as rows: 'R' removed (255), 'K' kept (0), '?' other.
std::vector<std::string> Rows(const TBitmap& Mask) {
  std::vector<std::string> Out;
  for (int Y = 0; Y < Mask.Height(); ++Y) {
    std::string Row;
    for (int X = 0; X < Mask.Width(); ++X) Row += Px(Mask, X, Y) == Grey(255) ? 'R' : Px(Mask, X, Y) == Grey(0) ? 'K' : '?';
    Out.push_back(Row);
  }
  return Out;
}

struct TCase {
  const char* Name;
  std::vector<std::string> Picture;
  int Tolerance;
  bool Horizontal, Vertical, Optimised;
  std::vector<std::string> Expected;
};

class DetourageCases : public ::testing::TestWithParam<TCase> {};

TEST_P(DetourageCases, RemovesWhatTheEdgesReach) {
  const TCase& C = GetParam();
  TPicture P(C.Picture);
  TBitmap Dest(P.Image.Width(), P.Image.Height(), pf24bit, clBlack);
  EXPECT_EQ(DetourageFill(P.Image, P.Work, C.Tolerance, C.Horizontal, C.Vertical, C.Optimised, WholeBitmapRect, Dest),
            DetourageDone);
  EXPECT_EQ(Rows(Dest), C.Expected);
}

const std::vector<std::string> Ring{".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."};
const std::vector<std::string> Bar{".....", ".....", "#####", ".....", "....."};
const std::vector<std::string> Column{"..#..", "..#..", "..#..", "..#..", "..#.."};

INSTANTIATE_TEST_SUITE_P(
    Pictures, DetourageCases,
    ::testing::Values(
        // The inside of a closed object is a region of its own: not reached.
        TCase{"NestedRegionKept", Ring, 0, true, true, false,
              {"RRRRRRR", "RKKKKKR", "RKKKKKR", "RKKKKKR", "RKKKKKR", "RRRRRRR"}},
        // "Optimiser" also takes the object's pixels next to the background.
        TCase{"OptimisedBitesTheRim", {".....", ".###.", ".###.", ".###.", "....."}, 0, true, true, true,
              {"RRRRR", "RRRRR", "RRKRR", "RRRRR", "RRRRR"}},
        // Near-background pixels stay at tolerance 0 and go at 5 (not at 4).
        TCase{"ToleranceZeroIsExact", {".....", ".o.o.", "....."}, 0, true, true, false, {"RRRRR", "RKRKR", "RRRRR"}},
        TCase{"ToleranceFourStillKeeps", {".....", ".o.o.", "....."}, 4, true, true, false, {"RRRRR", "RKRKR", "RRRRR"}},
        TCase{"ToleranceFiveTakes", {".....", ".o.o.", "....."}, 5, true, true, false, {"RRRRR", "RRRRR", "RRRRR"}},
        // A negative tolerance counts as its absolute value.
        TCase{"NegativeToleranceIsAbsolute", {".....", ".o.o.", "....."}, -5, true, true, false,
              {"RRRRR", "RRRRR", "RRRRR"}},
        // Rows meet the bar at their first pixel and take its colour;
        // columns never start on it.
        TCase{"RowsTakeAnEdgeTouchingBar", Bar, 0, true, false, false, {"RRRRR", "RRRRR", "RRRRR", "RRRRR", "RRRRR"}},
        TCase{"ColumnsLeaveAnEdgeTouchingBar", Bar, 0, false, true, false,
              {"RRRRR", "RRRRR", "KKKKK", "RRRRR", "RRRRR"}},
        TCase{"RowsLeaveACentralColumn", Column, 0, true, false, false,
              {"RRKRR", "RRKRR", "RRKRR", "RRKRR", "RRKRR"}},
        TCase{"ColumnsTakeACentralColumn", Column, 0, false, true, false,
              {"RRRRR", "RRRRR", "RRRRR", "RRRRR", "RRRRR"}},
        TCase{"NoDirectionRemovesNothing", Bar, 0, false, false, false, {"KKKKK", "KKKKK", "KKKKK", "KKKKK", "KKKKK"}},
        // A background that changes down the edge: each row takes its own
        // colour; the columns only the top and bottom rows'.
        TCase{"EachRowItsOwnReference", {"11111", "22#22", "33#33", "44444"}, 0, true, false, false,
              {"RRRRR", "RRKRR", "RRKRR", "RRRRR"}},
        TCase{"ColumnsReferenceTheirEnds", {"11111", "22#22", "33#33", "44444"}, 0, false, true, false,
              {"RRRRR", "KKKKK", "KKKKK", "RRRRR"}},
        // Masked pixels are never taken and stay removed; they wall in the
        // pixels behind them, and an edge starts at its first pixel not
        // masked.
        TCase{"MaskedPixelsWallIn", {".....", ".xxx.", ".x.x.", ".xxx.", "....."}, 0, true, true, false,
              {"RRRRR", "RRRRR", "RRKRR", "RRRRR", "RRRRR"}},
        TCase{"EdgeStartsPastMaskedPixels", {"x#...", "x#...", "x#..."}, 0, true, false, false,
              {"RRRRR", "RRRRR", "RRRRR"}}),
    [](const ::testing::TestParamInfo<TCase>& I) { return std::string(I.param.Name); });

TEST(DetourageFill, OnlyTheRectangleIsFilledAndTheRestCopiesTheWorkMask) {
  TPicture P({".......", ".......", "......."});
  SetPx(P.Work, 0, 0, Grey(255));
  SetPx(P.Work, 6, 2, Grey(77));
  TBitmap Dest(7, 3, pf24bit, clBlack);
  EXPECT_EQ(DetourageFill(P.Image, P.Work, 0, true, true, false, {2, 1, 5, 2}, Dest), DetourageDone);
  std::vector<std::string> Expected{"RKKKKKK", "KKRRRKK", "KKKKKK?"};
  EXPECT_EQ(Rows(Dest), Expected);
  EXPECT_EQ(Px(Dest, 6, 2), Grey(77));
}

TEST(DetourageFill, EmptyRectangleAndMismatchedMasksLeaveTheResultAlone) {
  TPicture P({"...", "..."});
  TBitmap Dest(3, 2, pf24bit, 0x0A0A0A);
  EXPECT_EQ(DetourageFill(P.Image, P.Work, 0, true, true, false, {5, 5, 9, 9}, Dest), DetourageDone);
  EXPECT_EQ(Px(Dest, 0, 0), Grey(10));
  TBitmap Small(2, 2, pf24bit, clBlack), Wide(3, 2, pf32bit, clBlack);
  EXPECT_EQ(DetourageFill(P.Image, Small, 0, true, true, false, WholeBitmapRect, Dest), DetourageFailed);
  EXPECT_EQ(DetourageFill(P.Image, P.Work, 0, true, true, false, WholeBitmapRect, Small), DetourageFailed);
  EXPECT_EQ(DetourageFill(P.Image, Wide, 0, true, true, false, WholeBitmapRect, Dest), DetourageFailed);
  EXPECT_EQ(Px(Dest, 0, 0), Grey(10));
  EXPECT_EQ(Px(Small, 0, 0), Grey(0));
}

TEST(DetourageFill, TheWorkMaskMayReceiveTheResult) {
  TPicture P({"...", ".#.", "..."});
  EXPECT_EQ(DetourageFill(P.Image, P.Work, 0, true, true, false, WholeBitmapRect, P.Work), DetourageDone);
  const std::vector<std::string> Expected{"RRR", "RKR", "RRR"};
  EXPECT_EQ(Rows(P.Work), Expected);
}

// A corridor winding through 4000 walls, reached from one end only (the
// last row is masked): a fill that nested would stop thousands of turns
// before its far end.
TEST(DetourageFill, ALongWindingRegionIsFilledWhole) {
  const int W = 40, H = 8002;
  TBitmap Image(W, H, pf24bit, clWhite), Work(W, H, pf24bit, clBlack), Dest(W, H, pf24bit, clBlack);
  for (int Y = 1; Y < H; Y += 2) {
    const int Opening = (Y / 2) % 2 == 0 ? W - 1 : 0;
    for (int X = 0; X < W; ++X)
      if (X != Opening) SetPx(Image, X, Y, Grey(0));
  }
  for (int X = 0; X < W; ++X) SetPx(Work, X, H - 1, Grey(255));
  ASSERT_EQ(DetourageFill(Image, Work, 0, false, true, false, WholeBitmapRect, Dest), DetourageDone);
  int Wrong = 0;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      // Corridors and openings go; the walls stay.
      const bool Removed = Px(Image, X, Y) == Grey(255) || Y == H - 1;
      Wrong += Px(Dest, X, Y) != (Removed ? Grey(255) : Grey(0));
    }
  EXPECT_EQ(Wrong, 0);
}

} // namespace
