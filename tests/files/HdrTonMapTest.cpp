#include "files/HdrTonMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TPixelHdr Px(float B, float G, float R, float A = 1) { return {B, G, R, A}; }

// The filmic curve written from its formula, the intermediate kept in single precision.
double Filmic(double X) {
  if (X <= 0.004) return 0;
  const double A = float((X - 0.004) * double(1.3f));
  return A * (6.2 * A + 0.5) / (A * (6.2 * A + 1.7) + 0.06);
}

} // namespace

TEST(HdrTonMap, ExposureAndPower) {
  EXPECT_EQ(ExposureFactor(0), 1);
  EXPECT_DOUBLE_EQ(ExposureFactor(2), 2);
  EXPECT_DOUBLE_EQ(ExposureFactor(-2), 0.5);
  EXPECT_DOUBLE_EQ(ExposureFactor(1), std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(ExposureFactor(-3), 1 / std::pow(2.0, 1.5));
  EXPECT_EQ(PowerF(0, 2), 0);
  EXPECT_EQ(PowerF(-1, 2), 0);
  EXPECT_EQ(PowerF(0.3f, 1), 0.3f);
  EXPECT_NEAR(PowerF(4, 0.5f), 2, 1e-12);
}

TEST(HdrTonMap, Curves) {
  EXPECT_EQ(ToneFilmic(0.004), 0);
  EXPECT_GT(ToneFilmic(0.0041), 0);
  EXPECT_NEAR(ToneFilmic(1e6), 1, 1e-6);
  for (double X : {0.01, 0.1, 0.5, 1.0, 3.0}) EXPECT_DOUBLE_EQ(ToneFilmic(X), Filmic(X)) << X;
  EXPECT_EQ(ToneGamma(4), 1);
  EXPECT_NEAR(ToneGamma(0.25), 0.533, 0.001);
  EXPECT_EQ(ToneRatio(0), 0);
  EXPECT_NEAR(ToneRatio(0.53), std::pow(0.5, 0.4545), 1e-6);
  EXPECT_EQ(ToneClip(1.5), 1);
  EXPECT_EQ(ToneClip(0.25), 0.25);
}

TEST(HdrTonMap, PerChannelOffsetsTheDarkestValueToZero) {
  THdrImage Image(2, 1);
  Image.Pixels(0)[0] = Px(-0.5f, 0.1f, 0.7f, 0.3f);
  Image.Pixels(0)[1] = Px(0.2f, 0.4f, 1.5f);
  ApplyToneMap(&Image, toClip, false, 0, WholeBitmapRect);
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, 0.6f, 1, 0.3f));
  EXPECT_EQ(Image.Pixels(0)[1], Px(0.7f, 0.9f, 1));

  // Exposure doubles before the curve; an unknown operator clips.
  Image.Pixels(0)[0] = Px(0, 0.25f, 0.75f);
  ApplyToneMap(&Image, 9, false, 2, {0, 0, 1, 1});
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, 0.5f, 1));
  EXPECT_EQ(Image.Pixels(0)[1], Px(0.7f, 0.9f, 1)); // outside the clip
}

TEST(HdrTonMap, FilmicAndGammaPerChannel) {
  THdrImage Image(1, 1);
  Image.Pixels(0)[0] = Px(0, 0.5f, 2.0f);
  ApplyToneMap(&Image, toFilmic, false, 0, WholeBitmapRect);
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, float(Filmic(0.5)), float(Filmic(2.0))));
  Image.Pixels(0)[0] = Px(0, 0.25f, 4);
  ApplyToneMap(&Image, toGamma, false, 0, WholeBitmapRect);
  EXPECT_EQ(Image.Pixels(0)[0].Red, 1);
  EXPECT_NEAR(Image.Pixels(0)[0].Green, 0.533, 0.001);
}

TEST(HdrTonMap, ByLuminanceKeepsTheRatios) {
  THdrImage Image(3, 1);
  Image.Pixels(0)[0] = Px(0, 0, 0, 0.5f);
  Image.Pixels(0)[1] = Px(2, 1, 0);
  Image.Pixels(0)[2] = Px(0.3f, 0.6f, 0.9f);
  ApplyToneMap(&Image, toClip, true, 0, WholeBitmapRect);
  EXPECT_EQ(Image.Pixels(0)[0], Px(0, 0, 0, 0.5f));
  EXPECT_EQ(Image.Pixels(0)[1], Px(1, 1, 0));
  EXPECT_EQ(Image.Pixels(0)[2], Px(0.3f, 0.6f, 0.9f)); // L = 0.6: factor 1

  Image.Pixels(0)[2] = Px(0.3f, 0.6f, 0.9f);
  ApplyToneMap(&Image, toFilmic, true, 0, {2, 0, 3, 1});
  const float L = float((0.3f + 0.6 + 0.9f) / 3);
  const float F = float(Filmic(L) / L);
  const auto Scaled = [F](float V) { return float(std::min(V * double(F), 1.0)); };
  EXPECT_GT(0.9f * F, 1); // so the red channel is limited
  EXPECT_EQ(Image.Pixels(0)[2], Px(Scaled(0.3f), Scaled(0.6f), Scaled(0.9f)));
}

TEST(HdrTonMap, ValuesThatAreNotFiniteEndAtTheLimits) {
  const float Inf = std::numeric_limits<float>::infinity(), NaN = std::numeric_limits<float>::quiet_NaN();
  for (uint8_t Operator : {toClip, toGamma, toRatio, toFilmic}) {
    for (bool ByLuminance : {false, true}) {
      THdrImage Image(2, 1);
      Image.Pixels(0)[0] = Px(NaN, Inf, -Inf);
      Image.Pixels(0)[1] = Px(0.5f, 0.5f, 0.5f);
      ApplyToneMap(&Image, Operator, ByLuminance, 0, WholeBitmapRect);
      const TPixelHdr& P = Image.Pixels(0)[0];
      EXPECT_EQ(FloatToByte(P.Blue), 0) << int(Operator) << ByLuminance;
      EXPECT_EQ(FloatToByte(P.Green), 255) << int(Operator) << ByLuminance;
      EXPECT_EQ(FloatToByte(P.Red), 0) << int(Operator) << ByLuminance;
      EXPECT_GT(Image.Pixels(0)[1].Red, 0) << int(Operator) << ByLuminance;
    }
  }
  ApplyToneMap(nullptr, toClip, false, 0, WholeBitmapRect); // nothing to do
}
