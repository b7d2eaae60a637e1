#include "tools/ColorStrip.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Shadow = 0x404040;

// A strip laid out as the palette does: 8 k + 1 by 5 m + 1.
struct StripBitmap : TBitmap {
  explicit StripBitmap(int Index) : TBitmap(81, 26) { DrawColorStrip(*this, Index, Shadow); }
};

TEST(ColorStrip, IndexOutsideTheStripsShowsTheGrid) {
  EXPECT_EQ(ColorStripIndex(12), 0);
  EXPECT_EQ(ColorStripIndex(-1), 0);
  EXPECT_EQ(ColorStripIndex(11), 11);
}

TEST(ColorStrip, GridPicksItsTableColoursEvenOnTheFrameAndOutside) {
  StripBitmap Strip(0);
  EXPECT_EQ(Strip.PixelColor(0, 0), Shadow);
  struct Case {
    int X, Y;
    TColor Expected;
  };
  for (const Case C : {Case{15, 7, 0x0066FF}, Case{80, 25, 0xFFFFFF}, Case{500, -40, 0x333333},
                       Case{-3, 900, 0xCC99FF}, Case{79, 24, 0xFFFFFF}, Case{45, 12, 0xCCCC33}})
    EXPECT_EQ(ColorAtPos(Strip, true, C.X, C.Y), C.Expected) << C.X << ", " << C.Y;
}

TEST(ColorStrip, RampsRunFromBlackThroughTheirColourToWhite) {
  StripBitmap Red(3);
  EXPECT_EQ(ColorAtPos(Red, false, -10, 10), Red.PixelColor(1, 10));
  EXPECT_LT(ColorAtPos(Red, false, 1, 10) & 0xFF, 8u);
  EXPECT_GT(ColorAtPos(Red, false, 53, 10) & 0xFF, 0xF0u);
  EXPECT_LT((ColorAtPos(Red, false, 53, 10) >> 8) & 0xFF, 8u);
  EXPECT_GT((ColorAtPos(Red, false, 79, 10) >> 8) & 0xFF, 0xE0u);
  // Picked from the pixels, the frame excluded.
  EXPECT_NE(ColorAtPos(Red, false, 1000, 1000), Shadow);
}

TEST(ColorStrip, YellowRamps) {
  StripBitmap ToGreen(10);
  const TColor Start = ColorAtPos(ToGreen, false, 1, 5);
  EXPECT_GT(Start & 0xFF, 0xF8u);
  EXPECT_GT((Start >> 8) & 0xFF, 0xF8u);
  const TColor End = ColorAtPos(ToGreen, false, 79, 5);
  EXPECT_LT(End & 0xFF, 8u);
  EXPECT_LT(((End >> 8) & 0xFF) - 0x80u, 8u);
}

TEST(ColorStrip, TinyBitmapsNeverReadOutside) {
  for (int Side : {1, 2, 3}) {
    TBitmap Tiny(Side, Side, pf24bit, clRed);
    EXPECT_EQ(ColorAtPos(Tiny, true, 5, 5), clRed) << Side;
  }
  EXPECT_EQ(ColorAtPos(TBitmap(), false, 0, 0), clBlack);
}

} // namespace
