// The footprint helpers: the fast distance gives IntDistance's values, the
// footprint is cut to the clip and the bitmap.
#include "tools/Footprint.h"

#include <gtest/gtest.h>

namespace {

TEST(FootprintDistance, EqualsIntDistance) {
  for (int DY = -300; DY <= 300; ++DY)
    for (int DX = -300; DX <= 300; ++DX) ASSERT_EQ(FootprintDistance(DX, DY), IntDistance(0, 0, DX, DY)) << DX << "," << DY;
  for (int K : {1000, 46340, 1 << 20, (1 << 25) - 1, 1 << 25, 1 << 29})
    for (int D = -2; D <= 2; ++D) EXPECT_EQ(FootprintDistance(K + D, K), IntDistance(0, 0, K + D, K)) << K;
}

TEST(FootprintRect, CutToClipAndBitmap) {
  TBitmap B(10, 10);
  TRect F;
  ASSERT_TRUE(FootprintRect(B, WholeBitmapRect, 0, 9, 3, F));
  EXPECT_EQ(F, (TRect{0, 6, 4, 10}));
  ASSERT_TRUE(FootprintRect(B, TRect{20, 20, 5, 5}, 9, 9, 100, F)); // a reversed clip is normalised
  EXPECT_EQ(F, (TRect{5, 5, 10, 10}));
  EXPECT_FALSE(FootprintRect(B, WholeBitmapRect, 5, 5, 0, F));
  EXPECT_FALSE(FootprintRect(B, WholeBitmapRect, 50, 5, 3, F));
  EXPECT_FALSE(FootprintRect(B, TRect{0, 0, 3, 3}, 8, 8, 3, F));
  TBitmap Grey8(10, 10, pf8bit);
  EXPECT_FALSE(FootprintRect(Grey8, WholeBitmapRect, 5, 5, 3, F));
  EXPECT_EQ(FootprintWeight(100, 2, 10, 2), 100);
  EXPECT_EQ(FootprintWeight(100, 6, 10, 2), 50);
}

} // namespace

namespace {

TEST(RowDistances, EqualsIntDistanceAlongARow) {
  std::vector<int> Out;
  for (int DY : {0, 1, -7, 300, -4000, 46341, 1 << 25}) {
    RowDistances(DY, 700, Out);
    ASSERT_EQ(Out.size(), 701u);
    for (int DX = 0; DX <= 700; ++DX) ASSERT_EQ(Out[DX], IntDistance(0, 0, DX, DY)) << DX << "," << DY;
  }
}

} // namespace
