// The tone-curve tables: merging the composite curve into the colour
// curves, and applying them to a bitmap.
#include "filters/CurveLuts.h"

#include "FilterTestSupport.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

using namespace FilterTest;

TEST(CurveLuts, TheCompositeAddsItsOffsetToEveryColourCurve) {
  TCurveLUT Composite = IdentityCurveLUT(), Red = IdentityCurveLUT(), Green = IdentityCurveLUT(),
            Blue = IdentityCurveLUT();
  Composite[100] = 140;
  Red[100] = 90;
  Composite[250] = 255;
  Red[250] = 254;
  Composite[3] = 0;
  Blue[3] = 1;
  CombineCurveLUTs(Composite, Red, Green, Blue);
  EXPECT_EQ(Red[100], 130); // 140 + 90 - 100
  EXPECT_EQ(Green[100], 140);
  EXPECT_EQ(Red[250], 255); // 255 + 254 - 250 clamps
  EXPECT_EQ(Blue[3], 0);    // 0 + 1 - 3 clamps
  EXPECT_EQ(Green[50], 50);
}

TEST(CurveLuts, EachChannelGoesThroughItsOwnTableInsideTheRect) {
  TCurveLUT Red, Green, Blue;
  for (int I = 0; I < 256; ++I) {
    Red[I] = uint8_t(255 - I);
    Green[I] = uint8_t(I / 2);
    Blue[I] = uint8_t(std::min(255, I + 10));
  }
  TBitmap Src;
  RandomImage(Src, 5);
  for (const TRect& Rect : TestRects()) {
    TBitmap B, Expected;
    B.Assign(Src);
    ReferenceOver(Src, Expected, Rect, [&](TRGB& P, int, int, const TRect&) {
      P = {Blue[P.Blue], Green[P.Green], Red[P.Red]};
    });
    ApplyCurveLUTs(B, Red, Green, Blue, Rect);
    ASSERT_IMAGES_MATCH(B, Expected, 0);
  }
}
