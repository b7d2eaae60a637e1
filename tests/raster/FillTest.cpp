#include "raster/Fill.h"

#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

void Set(TBitmap& B, int X, int Y, TRGB P) { RowOf(B, Y)[X] = P; }
TRGB Get(const TBitmap& B, int X, int Y) { return RowOf(B, Y)[X]; }

// Rows of characters: '.' white, '#' black, digits 1..9 a grey of 25 * digit.
void Draw(TBitmap& B, const std::vector<std::string>& Rows) {
  B.SetSize(int(Rows[0].size()), int(Rows.size()));
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      const char C = Rows[size_t(Y)][size_t(X)];
      Set(B, X, Y, Grey(C == '.' ? 255 : C == '#' ? 0 : 25 * (C - '0')));
    }
}

// The region as a recursive 4-connected walk would find it, by a plain
// breadth-first search: pixels of R within Tolerance of the seed colour
// (equal below 1) whose mask byte is below 255.
std::vector<bool> ReferenceRegion(const TBitmap& B, const TBitmap* Mask, int X0, int Y0, int Tolerance,
                                  const TRect& R) {
  std::vector<bool> In(size_t(B.Width()) * size_t(B.Height()), false);
  const TRGB Seed = Get(B, X0, Y0);
  const auto Near = [&](TRGB P) {
    if (Tolerance < 1) return P == Seed;
    return std::abs(P.Blue - Seed.Blue) <= Tolerance && std::abs(P.Green - Seed.Green) <= Tolerance &&
           std::abs(P.Red - Seed.Red) <= Tolerance;
  };
  const auto Ok = [&](int X, int Y) {
    return PtInRect(R, {X, Y}) && !In[size_t(Y) * size_t(B.Width()) + size_t(X)] && Near(Get(B, X, Y)) &&
           (!Mask || Mask->Empty() || Get(*Mask, X, Y).Blue < 255);
  };
  std::deque<TPoint> Queue;
  if (Ok(X0, Y0)) {
    In[size_t(Y0) * size_t(B.Width()) + size_t(X0)] = true;
    Queue.push_back({X0, Y0});
  }
  while (!Queue.empty()) {
    const TPoint P = Queue.front();
    Queue.pop_front();
    for (const TPoint D : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}})
      if (Ok(P.X + D.X, P.Y + D.Y)) {
        In[size_t(P.Y + D.Y) * size_t(B.Width()) + size_t(P.X + D.X)] = true;
        Queue.push_back({P.X + D.X, P.Y + D.Y});
      }
  }
  return In;
}

// The paint of a fill: each channel moves toward the colour by Percent of
// the difference, truncating.
TRGB Toward(TRGB D, TRGB C, int Percent) {
  const auto Ch = [Percent](int d, int c) { return uint8_t(d + (c - d) * Percent / 100); };
  return {Ch(D.Blue, C.Blue), Ch(D.Green, C.Green), Ch(D.Red, C.Red)};
}

// Random blotches of a few colours so that regions have holes and branches.
void Blotches(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetSize(W, H);
  std::mt19937 Random(Seed);
  const TRGB Palette[4] = {Grey(200), Grey(205), Grey(40), {10, 200, 60}};
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Set(B, X, Y, Palette[Random() % 4 < 3 ? (X / 3 + Y / 4) % 2 : Random() % 4]);
}

// A one-pixel corridor snaking through every row: full even rows joined by
// one pixel at alternate ends; walls black.
void Snake(TBitmap& B, int W, int H) {
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    std::memset(B.ScanLine(Y), 0, size_t(W) * 3);
    if (Y % 2 == 0)
      std::memset(B.ScanLine(Y), 255, size_t(W) * 3);
    else
      Set(B, (Y / 2) % 2 == 0 ? W - 1 : 0, Y, Grey(255));
  }
}

const TRect Whole = WholeBitmapRect;

} // namespace

TEST(FloodFill, NothingToDoIsDone) {
  TBitmap B, Before;
  Blotches(B, 20, 15, 1);
  Before.Assign(B);
  EXPECT_EQ(FloodFillEx(B, nullptr, 5, 5, clRed, 10, 0, Whole, nullptr), FloodFillDone);
  EXPECT_EQ(FloodFillEx(B, nullptr, 5, 5, clRed, 10, 100, Rect(6, 0, 20, 15), nullptr), FloodFillDone);
  EXPECT_EQ(FloodFillEx(B, nullptr, 25, 5, clRed, 10, 100, Whole, nullptr), FloodFillDone);
  EXPECT_EQ(FloodFillEx(B, nullptr, 5, 5, clRed, 10, 100, Rect(0, 0, 0, 0), nullptr), FloodFillDone);
  EXPECT_IMAGES_MATCH(B, Before);
}

TEST(FloodFill, MasksOfAnotherSizeFailBeforePainting) {
  TBitmap B, Before, Small(19, 15), Out(20, 16), Eight(20, 15, pf8bit);
  Blotches(B, 20, 15, 2);
  Before.Assign(B);
  EXPECT_EQ(FloodFillEx(B, &Small, 5, 5, clRed, 10, 50, Whole, nullptr), FloodFillFailed);
  EXPECT_EQ(FloodFillEx(B, nullptr, 5, 5, clRed, 10, 50, Whole, &Out), FloodFillFailed);
  EXPECT_EQ(FloodFillEx(B, &Eight, 5, 5, clRed, 10, 50, Whole, nullptr), FloodFillFailed);
  EXPECT_EQ(FloodFillTolerance(B, &Small, 5, 5, clRed, 10, 50, Whole, nullptr), FloodFillFailed);
  EXPECT_IMAGES_MATCH(B, Before);
  TBitmap Wide(20, 15, pf32bit);
  EXPECT_EQ(FloodFillEx(Wide, nullptr, 5, 5, clRed, 0, 100, Whole, nullptr), FloodFillFailed);
}

TEST(FloodFill, MatchesAFourConnectedWalk) {
  struct TCase {
    int Tolerance, Opacity;
    bool WithMask, WithOut;
    TRect Clip;
  };
  const TCase Cases[] = {{0, 100, false, false, Whole}, {0, 100, true, false, Whole},
                         {0, 60, true, false, Whole},   {6, 100, false, false, Rect(3, 2, 35, 22)},
                         {6, 37, true, false, Whole},   {-6, 80, false, false, Whole},
                         {170, 100, true, true, Whole}, {5, 100, true, true, Rect(40, 30, 2, 1)},
                         {0, 150, false, false, Whole}};
  for (unsigned Seed = 0; Seed < 6; ++Seed)
    for (const TCase& C : Cases) {
      TBitmap B, Mask(40, 30, pf24bit, clBlack), Out(40, 30, pf24bit, clRed);
      Blotches(B, 40, 30, Seed);
      std::mt19937 Random(Seed + 100);
      for (int I = 0; I < 300; ++I) Set(Mask, int(Random() % 40), int(Random() % 30), Grey(Random() % 2 ? 255 : 254));
      const int X = 10 + int(Seed), Y = 12;
      TBitmap Expected, ExpectedOut(40, 30);
      Expected.Assign(B);
      TRect R = C.Clip;
      ClipToBitmap(R, B);
      // Tolerance 0 at full opacity without an output mask is the platform's
      // fill: the mask plays no part.
      const bool Platform = C.Tolerance <= 0 && C.Opacity >= 100 && !C.WithOut;
      const std::vector<bool> In =
          ReferenceRegion(B, C.WithMask && !Platform ? &Mask : nullptr, X, Y, std::abs(C.Tolerance), R);
      for (int PY = 0; PY < 30; ++PY)
        for (int PX = 0; PX < 40; ++PX) {
          const bool Inside = In[size_t(PY) * 40 + size_t(PX)];
          if (C.WithOut)
            Set(ExpectedOut, PX, PY, Grey(Inside ? 0 : 255));
          else if (Inside)
            Set(Expected, PX, PY, Toward(Get(B, PX, PY), {255, 0, 0}, std::min(C.Opacity, 100)));
        }
      const int Result = FloodFillEx(B, C.WithMask ? &Mask : nullptr, X, Y, clBlue, C.Tolerance, C.Opacity, C.Clip,
                                     C.WithOut ? &Out : nullptr);
      EXPECT_EQ(Result, FloodFillDone);
      EXPECT_IMAGES_MATCH(B, Expected, 0, "fill");
      if (C.WithOut) {
        EXPECT_IMAGES_MATCH(Out, ExpectedOut, 0, "region");
      }
      if (::testing::Test::HasFailure()) {
        ADD_FAILURE() << "seed " << Seed << " tolerance " << C.Tolerance << " opacity " << C.Opacity;
        return;
      }
    }
}

TEST(FloodFill, ToleranceIsPerChannelAndFourConnected) {
  TBitmap B;
  Draw(B, {"......#", "..4...#", "......#", "#####.#", "......#"});
  Set(B, 0, 0, {245, 255, 250}); // within 10 on every channel
  Set(B, 2, 0, {255, 244, 255}); // 11 off on green
  Set(B, 5, 3, {250, 250, 250});
  EXPECT_EQ(FloodFillEx(B, nullptr, 1, 1, clBlack, 10, 100, Whole, nullptr), FloodFillDone);
  EXPECT_TRUE(Get(B, 0, 0) == Grey(0));
  EXPECT_TRUE(Get(B, 2, 0) == (TRGB{255, 244, 255}));
  EXPECT_TRUE(Get(B, 2, 1) == Grey(100));
  EXPECT_TRUE(Get(B, 0, 4) == Grey(0)); // reached through (5, 3)
  TBitmap C;
  Draw(C, {"..#.", ".#..", "....", "...."});
  Set(C, 0, 2, Grey(0));
  Set(C, 1, 2, Grey(0));
  Set(C, 0, 3, Grey(0));
  EXPECT_EQ(FloodFillEx(C, nullptr, 0, 0, clRed, 0, 100, Whole, nullptr), FloodFillDone);
  // (0, 0), (1, 0) and (0, 1) only: (2, 1) touches them diagonally.
  EXPECT_TRUE(Get(C, 1, 0) == (TRGB{0, 0, 255}));
  EXPECT_TRUE(Get(C, 0, 1) == (TRGB{0, 0, 255}));
  EXPECT_TRUE(Get(C, 2, 1) == Grey(255));
  EXPECT_TRUE(Get(C, 3, 3) == Grey(255));
}

TEST(FloodFill, HalfOpacityDoesNotSpreadIntoItsOwnPaint) {
  TBitmap B(30, 20);
  EXPECT_EQ(FloodFillEx(B, nullptr, 3, 3, clBlack, 200, 50, Whole, nullptr), FloodFillDone);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 30; ++X) ASSERT_TRUE(Get(B, X, Y) == Grey(128)) << X << ", " << Y;
}

TEST(FloodFill, PlatformFillIgnoresTheMaskAndEmptyOutMaskDoesNot) {
  TBitmap B(10, 4), Mask(10, 4, pf24bit, clBlack);
  for (int X = 0; X < 10; ++X) Set(Mask, X, 2, Grey(255)); // a transparent row across
  EXPECT_EQ(FloodFillEx(B, &Mask, 0, 0, clBlack, 0, 100, Whole, nullptr), FloodFillDone);
  EXPECT_TRUE(Get(B, 5, 2) == Grey(0));
  EXPECT_TRUE(Get(B, 5, 3) == Grey(0));
  // An empty output mask takes the tolerance path, which honours the mask,
  // and paints the bitmap.
  TBitmap C(10, 4), Empty;
  EXPECT_EQ(FloodFillEx(C, &Mask, 0, 0, clBlack, 0, 100, Whole, &Empty), FloodFillDone);
  EXPECT_TRUE(Get(C, 5, 1) == Grey(0));
  EXPECT_TRUE(Get(C, 5, 2) == Grey(255));
  EXPECT_TRUE(Get(C, 5, 3) == Grey(255));
}

TEST(FloodFill, MagicWandRecordsTheRegionOnly) {
  TBitmap B, Before, Out(7, 5, pf24bit, clRed);
  Draw(B, {"...#...", "...#...", "####...", "..#....", "..#...."});
  Before.Assign(B);
  EXPECT_EQ(FloodFillEx(B, nullptr, 0, 0, clNone, 0, 100, Whole, &Out), FloodFillDone);
  EXPECT_IMAGES_MATCH(B, Before);
  TBitmap Expected;
  Draw(Expected, {"###....", "###....", ".......", ".......", "......."});
  EXPECT_IMAGES_MATCH(Out, Expected);
}

// A tolerance of any size is taken by its magnitude: INT_MIN reaches every
// colour, like INT_MAX, in both entry points.
TEST(FloodFill, ToleranceMagnitudesUpToTheIntLimit) {
  TBitmap B, Before, Out(20, 15), AllIn(20, 15, pf24bit, clBlack);
  Blotches(B, 20, 15, 5);
  Before.Assign(B);
  for (const int Tolerance : {INT_MIN, INT_MIN + 1, INT_MAX, -255}) {
    const std::string Name = "tolerance " + std::to_string(Tolerance);
    EXPECT_EQ(FloodFillEx(B, nullptr, 5, 5, clNone, Tolerance, 100, Whole, &Out), FloodFillDone) << Name;
    EXPECT_IMAGES_MATCH(Out, AllIn, 0, Name + " region");
    EXPECT_EQ(FloodFillTolerance(B, nullptr, 5, 5, clNone, Tolerance, 100, Whole, &Out), FloodFillDone) << Name;
    EXPECT_IMAGES_MATCH(Out, AllIn, 0, Name + " region");
    EXPECT_IMAGES_MATCH(B, Before, 0, Name + " bitmap");
  }
}

TEST(FloodFill, TallCorridorFillsWhole) {
  // Far taller than the depth a recursive walk could afford.
  TBitmap B(3, 5000, pf24bit, clBlack);
  for (int Y = 0; Y < 5000; ++Y) Set(B, 1, Y, Grey(255));
  EXPECT_EQ(FloodFillEx(B, nullptr, 1, 0, clRed, 0, 100, Whole, nullptr), FloodFillDone);
  for (int Y = 0; Y < 5000; ++Y) ASSERT_TRUE(Get(B, 1, Y) == (TRGB{0, 0, 255})) << Y;
}

TEST(FloodFill, SnakeThroughEveryRowFillsWhole) {
  // The full 6000 x 4000 picture: 12 million corridor pixels in one region.
  TBitmap B;
  Snake(B, 6000, 4000);
  EXPECT_EQ(FloodFillEx(B, nullptr, 0, 0, clRed, 5, 90, Whole, nullptr), FloodFillDone);
  const TRGB Paint = Toward(Grey(255), {0, 0, 255}, 90);
  for (int Y = 0; Y < 4000; ++Y) {
    const TRGB* Row = RowOf(B, Y);
    for (int X = 0; X < 6000; ++X) {
      const bool Corridor = Y % 2 == 0 || X == ((Y / 2) % 2 == 0 ? 5999 : 0);
      if (!(Row[X] == (Corridor ? Paint : Grey(0)))) {
        FAIL() << "pixel " << X << ", " << Y;
      }
    }
  }
}

TEST(FloodFill, ColumnSnakeFillsWhole) {
  // Every run is one pixel long: the seeds walk 600 columns of 1000 rows.
  TBitmap B(1200, 1000, pf24bit, clBlack);
  for (int X = 0; X < 1200; X += 2) {
    for (int Y = 0; Y < 1000; ++Y) Set(B, X, Y, Grey(255));
    if (X + 1 < 1200) Set(B, X + 1, (X / 2) % 2 == 0 ? 999 : 0, Grey(255));
  }
  EXPECT_EQ(FloodFillEx(B, nullptr, 0, 0, clBlack, 0, 100, Whole, nullptr), FloodFillDone);
  for (int Y = 0; Y < 1000; ++Y)
    for (int X = 0; X < 1200; ++X) ASSERT_TRUE(Get(B, X, Y) == Grey(0)) << X << ", " << Y;
}

TEST(FloodFill, LayerRegionGrowsOnTheMaskWhereTransparent) {
  // Colours vary under the transparent part: grown on the mask it fills
  // whole; grown on the colours from an opaque point it stops at the mask.
  TBitmap B, Mask;
  Draw(B, {"1234", "5678", "9.1.", ".2.3"});
  Draw(Mask, {"####", "####", "....", "...."}); // top opaque, bottom transparent
  Set(Mask, 1, 2, Grey(100));                   // mostly opaque
  TBitmap Out(4, 4);
  EXPECT_EQ(FloodFillLayerRegion(B, &Mask, 0, 3, 0, Whole, Out), FloodFillDone);
  TBitmap Expected;
  Draw(Expected, {"....", "....", "#.##", "####"});
  EXPECT_IMAGES_MATCH(Out, Expected, 0, "transparent");
  TBitmap Out2(4, 4);
  EXPECT_EQ(FloodFillLayerRegion(B, &Mask, 1, 2, 0, Whole, Out2), FloodFillDone);
  Draw(Expected, {"....", "....", ".#..", "...."});
  EXPECT_IMAGES_MATCH(Out2, Expected, 0, "opaque");
}

TEST(FloodFill, LayerRegionOutsideTheLayerReadsNothing) {
  TBitmap B(4, 4), Mask(4, 4, pf24bit, clWhite), Out(4, 4, pf24bit, clWhite), Before;
  Before.Assign(Out);
  for (const TPoint P : {TPoint{-1, 0}, TPoint{4, 2}, TPoint{1, -7}, TPoint{2, 4}, TPoint{100000, 100000}})
    EXPECT_EQ(FloodFillLayerRegion(B, &Mask, P.X, P.Y, 10, Whole, Out), FloodFillDone) << P.X << ", " << P.Y;
  EXPECT_IMAGES_MATCH(Out, Before);
  TBitmap Small(3, 4);
  EXPECT_EQ(FloodFillLayerRegion(B, &Small, 3, 3, 10, Whole, Out), FloodFillFailed);
  EXPECT_EQ(FloodFillLayerRegion(B, nullptr, 3, 3, 0, Whole, Out), FloodFillDone);
  EXPECT_EQ(Get(Out, 0, 0).Blue, 0);
}
