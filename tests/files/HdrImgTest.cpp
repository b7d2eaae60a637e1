#include "files/HdrImg.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

TPixelHdr Px(float B, float G, float R, float A = 1) { return {B, G, R, A}; }

} // namespace

TEST(HdrImg, SizesAndEvents) {
  THdrImage Image;
  int Events = 0;
  Image.OnResized = [&Events](THdrImage&) { ++Events; };
  EXPECT_TRUE(Image.Empty());
  EXPECT_EQ(Image.Version(), 1);
  Image.SetSize(10, 10);
  EXPECT_EQ(Events, 1);
  EXPECT_EQ(Image.Pixels(9)[9], TPixelHdr{}); // new pixels are all zero, alpha too
  Image.Pixels(3)[4] = Px(1, 2, 3);
  Image.SetSize(10, 10); // same size: pixels kept, no event
  EXPECT_EQ(Image.Pixels(3)[4], Px(1, 2, 3));
  EXPECT_EQ(Events, 1);
  Image.SetSize(10, 10, Px(0.5f, 0.5f, 0.5f));
  EXPECT_EQ(Image.Pixels(3)[4], Px(0.5f, 0.5f, 0.5f));
  Image.SetWidth(4);
  EXPECT_EQ(Events, 2);
  EXPECT_EQ(Image.Bounds(), (TRect{0, 0, 4, 10}));
  EXPECT_EQ(Image.Pixels(3)[3], TPixelHdr{});
  Image.SetHeight(0);
  EXPECT_TRUE(Image.Empty());
  EXPECT_EQ(Image.Width(), 0);
  EXPECT_EQ(Image.Bounds(), TRect{});
  EXPECT_EQ(Events, 3);

  // No 16-bit limit on sizes.
  THdrImage Wide(70000, 2);
  EXPECT_EQ(Wide.Width(), 70000);
  EXPECT_EQ(Wide.MemSize(), int64_t(70000) * 2 * 16);
  Wide.Pixels(1)[69999] = Px(1, 1, 1);
  EXPECT_EQ(Wide.Pixels(1)[69999].Red, 1);
}

TEST(HdrImg, AssignAndSwap) {
  THdrImage A(3, 2), B(5, 5);
  A.Pixels(1)[2] = Px(0.25f, 0.5f, 0.75f);
  int EventsA = 0, EventsB = 0;
  A.OnResized = [&EventsA](THdrImage&) { ++EventsA; };
  B.OnResized = [&EventsB](THdrImage&) { ++EventsB; };
  B.Assign(&A);
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(B.Pixels(1)[2], Px(0.25f, 0.5f, 0.75f));
  EXPECT_EQ(EventsB, 1);
  THdrImage C(7, 1);
  A.SwapWith(&C);
  EXPECT_EQ(A.Width(), 7);
  EXPECT_EQ(C.Pixels(1)[2], Px(0.25f, 0.5f, 0.75f));
  EXPECT_EQ(EventsA, 1);
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
  A.SwapWith(nullptr);
  EXPECT_EQ(A.Width(), 7);
}

TEST(HdrImg, RangeQueriesOverAClip) {
  THdrImage Image(4, 3);
  Image.FillWith(Px(0.5f, 0.5f, 0.5f), WholeBitmapRect);
  Image.Pixels(0)[0] = Px(-0.5f, 0.1f, 2.0f, 0.25f);
  Image.Pixels(2)[3] = Px(0.2f, 3.0f, 0.4f);
  float Min = 7, Max = 7;
  EXPECT_TRUE(Image.GetRange(Min, Max, WholeBitmapRect));
  EXPECT_EQ(Min, -0.5f);
  EXPECT_EQ(Max, 3.0f);
  EXPECT_TRUE(Image.GetRange(Min, Max, {1, 0, 3, 3})); // the corners are outside
  EXPECT_EQ(Min, 0.5f);
  EXPECT_EQ(Max, 0.5f);
  Min = Max = 7;
  EXPECT_FALSE(Image.GetRange(Min, Max, {10, 10, 20, 20}));
  EXPECT_EQ(Min, 7);
  float MinB, MaxB, MinG, MaxG, MinR, MaxR;
  EXPECT_TRUE(Image.GetRangeRgb(MinB, MaxB, MinG, MaxG, MinR, MaxR, WholeBitmapRect));
  EXPECT_EQ(MinB, -0.5f);
  EXPECT_EQ(MaxB, 0.5f);
  EXPECT_EQ(MinG, 0.1f);
  EXPECT_EQ(MaxG, 3.0f);
  EXPECT_EQ(MinR, 0.4f);
  EXPECT_EQ(MaxR, 2.0f);
  EXPECT_TRUE(Image.AlphaUsed());
  EXPECT_TRUE(Image.OutOfRange());

  Image.AutoOffset(WholeBitmapRect);
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, 0.6f, 2.5f, 0.25f));
  Image.AutoClamp({0, 0, 1, 1});
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, 0.6f, 1, 0.25f));
  Image.ResetAlpha();
  EXPECT_FALSE(Image.AlphaUsed());
  Image.AutoClamp(WholeBitmapRect);
  EXPECT_FALSE(Image.OutOfRange());
  EXPECT_FALSE(THdrImage().AlphaUsed());
  EXPECT_FALSE(THdrImage().OutOfRange());
}

TEST(HdrImg, AutoRangeStretchesToZeroOne) {
  THdrImage Image(3, 1);
  Image.Pixels(0)[0] = Px(0.2f, 0.3f, 0.6f);
  Image.Pixels(0)[1] = Px(0.4f, 0.4f, 0.4f);
  Image.Pixels(0)[2] = Px(0.5f, 0.25f, 0.2f, 0.5f);
  Image.AutoRange(WholeBitmapRect);
  const float Expected[3][3] = {{0, 0.25f, 1}, {0.5f, 0.5f, 0.5f}, {0.75f, 0.125f, 0}};
  for (int X = 0; X < 3; ++X) {
    const TPixelHdr& P = Image.Pixels(0)[X];
    EXPECT_NEAR(P.Blue, Expected[X][0], 1e-6);
    EXPECT_NEAR(P.Green, Expected[X][1], 1e-6);
    EXPECT_NEAR(P.Red, Expected[X][2], 1e-6);
  }
  EXPECT_EQ(Image.Pixels(0)[2].Alpha, 0.5f);

  // Already 0..1: exactly unchanged (no rounding through the division).
  THdrImage Unit(2, 1);
  Unit.Pixels(0)[0] = Px(0, 0.3f, 0.7f);
  Unit.Pixels(0)[1] = Px(1, 0.1f, 0.9f);
  THdrImage Copy;
  Copy.Assign(&Unit);
  Unit.AutoRange(WholeBitmapRect);
  for (int X = 0; X < 2; ++X) EXPECT_EQ(Unit.Pixels(0)[X], Copy.Pixels(0)[X]);

  // One value everywhere: nothing to stretch.
  THdrImage Flat(2, 2);
  Flat.FillWith(Px(0.3f, 0.3f, 0.3f), WholeBitmapRect);
  Flat.AutoRange(WholeBitmapRect);
  EXPECT_EQ(Flat.Pixels(1)[1], Px(0.3f, 0.3f, 0.3f));
}

TEST(HdrImg, ValuesThatAreNotFinite) {
  THdrImage Image(3, 1);
  Image.Pixels(0)[0] = Px(NaN, Inf, -Inf);
  Image.Pixels(0)[1] = Px(0.2f, 0.4f, 0.6f);
  Image.Pixels(0)[2] = Px(0.3f, 0.3f, 0.3f);
  float Min = 0, Max = 0;
  ASSERT_TRUE(Image.GetRange(Min, Max, WholeBitmapRect));
  EXPECT_EQ(Min, 0.2f);
  EXPECT_EQ(Max, 0.6f);
  Image.AutoRange(WholeBitmapRect);
  EXPECT_NEAR(Image.Pixels(0)[1].Red, 1, 1e-6);
  const TPixelHdr& P = Image.Pixels(0)[0];
  EXPECT_EQ(FloatToByte(P.Blue), 0);
  EXPECT_EQ(FloatToByte(P.Green), 255);
  EXPECT_EQ(FloatToByte(P.Red), 0);
  THdrImage AllNaN(1, 1);
  AllNaN.FillWith(Px(NaN, NaN, NaN), WholeBitmapRect);
  EXPECT_FALSE(AllNaN.GetRange(Min, Max, WholeBitmapRect));
  AllNaN.AutoClamp(WholeBitmapRect);
  EXPECT_EQ(AllNaN.Pixels(0)[0], Px(0, 0, 0, 1));
}

TEST(HdrImg, FloatToByteAndClamp) {
  struct Case {
    float In;
    int Out;
  };
  for (const Case& C : {Case{0.5f, 128}, Case{1.2f, 255}, Case{1, 255}, Case{0, 0}, Case{-3, 0}, Case{0.998f, 254},
                        Case{0.0025f, 1}, Case{NaN, 0}, Case{Inf, 255}, Case{-Inf, 0}}) {
    EXPECT_EQ(FloatToByte(C.In), C.Out) << C.In;
  }
  // 2.5 / 255 and 3.5 / 255 sit on ties that go to the even neighbour.
  EXPECT_EQ(FloatToByte(2.5f / 255), std::nearbyint(double(2.5f / 255) * 255));
  EXPECT_EQ(Clamp01(1.5f), 1);
  EXPECT_EQ(Clamp01(-0.5f), 0);
  EXPECT_EQ(Clamp01(0.25f), 0.25f);
  EXPECT_EQ(Clamp01(NaN), 0);
  TRect R = WholeBitmapRect;
  EXPECT_FALSE(ClipToHdr(R, nullptr));
  THdrImage Image(4, 4);
  R = {2, -5, 9, 3};
  EXPECT_TRUE(ClipToHdr(R, &Image));
  EXPECT_EQ(R, (TRect{2, 0, 4, 3}));
  R = {5, 5, 9, 9};
  EXPECT_FALSE(ClipToHdr(R, &Image));
}
