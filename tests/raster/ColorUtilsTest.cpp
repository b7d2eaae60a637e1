#include "raster/ColorUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {
struct RGBTriple {
  int R, G, B;
  friend bool operator==(const RGBTriple&, const RGBTriple&) = default;
};
void PrintTo(const RGBTriple& C, std::ostream* Out) { *Out << "(" << C.R << ", " << C.G << ", " << C.B << ")"; }

RGBTriple HSV(int R, int G, int B) {
  RGBTriple Out;
  RGBToHSV(R, G, B, Out.R, Out.G, Out.B);
  return Out;
}
RGBTriple FromHSV(int H, int S, int V) {
  RGBTriple Out;
  HSVToRGB(H, S, V, Out.R, Out.G, Out.B);
  return Out;
}

// Plain references written from the formulas, with the truncating divisions
// spelled out on magnitudes so that a wrong rounding direction shows.
int DivTrunc(int A, int B) {
  const int Q = std::abs(A) / std::abs(B);
  return (A < 0) != (B < 0) ? -Q : Q;
}

RGBTriple ReferenceToHSV(int R, int G, int B) {
  const int V = std::max(R, std::max(G, B));
  const int Min = std::min(R, std::min(G, B));
  const int Delta = V - Min;
  const int S = V == 0 ? 0 : DivTrunc(Delta * 255, V);
  if (S == 0) return {0, 0, V};
  int H;
  if (R == V)
    H = DivTrunc((G - B) * 60, Delta);
  else if (G == V)
    H = DivTrunc((B - R) * 60, Delta) + 120;
  else
    H = DivTrunc((R - G) * 60, Delta) + 240;
  return {H < 0 ? H + 360 : H, S, V};
}

RGBTriple ReferenceFromHSV(int H, int S, int V) {
  if (S == 0 || V == 0) return {V, V, V};
  const int F = H - DivTrunc(H, 60) * 60;
  const int P = V - DivTrunc(S * V, 255);
  const int Q = V - DivTrunc(S * V * F, 255 * 60);
  const int T = V - DivTrunc(S * V * (60 - F), 255 * 60);
  const RGBTriple Sectors[6] = {{V, T, P}, {Q, V, P}, {P, V, T}, {P, Q, V}, {T, P, V}, {V, P, Q}};
  const int Sector = DivTrunc(H, 60);
  return Sector >= 0 && Sector < 6 ? Sectors[Sector] : RGBTriple{0, 0, 0};
}
} // namespace

TEST(ColorUtils, ByteOrderAndLuminance) {
  EXPECT_EQ(ColorToBGR(RGB(0x12, 0x34, 0x56)), 0x123456);
  EXPECT_EQ(ColorToBGR(clWindow), 0xFFFFFF); // system colours resolve first
  EXPECT_EQ(ColorLuminance(clWhite), 254);
  EXPECT_EQ(ColorLuminance(clBlack), 0);
  EXPECT_EQ(ColorLuminance(clRed), 76);
  EXPECT_EQ(ColorLuminance(RGB(0, 0, 255)), 27);
}

TEST(ColorUtils, ColorsNear) {
  EXPECT_TRUE(ColorsNear(RGB(10, 20, 30), RGB(10, 20, 30), 0));
  EXPECT_FALSE(ColorsNear(RGB(10, 20, 30), RGB(10, 20, 31), 0));
  EXPECT_FALSE(ColorsNear(RGB(10, 20, 30), RGB(10, 20, 30), -1));
  EXPECT_TRUE(ColorsNear(RGB(10, 20, 30), RGB(15, 15, 35), 5));
  EXPECT_FALSE(ColorsNear(RGB(10, 20, 30), RGB(16, 20, 30), 5));
  EXPECT_TRUE(ColorsNear(clWindow, clWhite, 0));
}

TEST(ColorUtils, MixColors) {
  EXPECT_EQ(MixColors(clBlack, clWhite, 50), RGB(127, 127, 127));
  EXPECT_EQ(MixColors(clWhite, clBlack, 50), RGB(128, 128, 128));
  EXPECT_EQ(MixColors(RGB(200, 10, 0), RGB(0, 10, 255), 33), RGB(134, 10, 84));
  for (int Percent : {0, -5, 101}) EXPECT_EQ(MixColors(clBtnFace, clWhite, Percent), clBtnFace) << Percent;
  EXPECT_EQ(MixColors(clBlack, clBtnFace, 100), RGB(240, 240, 240));
}

TEST(ColorUtils, HSVListedValues) {
  struct Case {
    RGBTriple Rgb, Hsv;
  };
  for (const Case& C :
       {Case{{255, 0, 0}, {0, 255, 255}}, Case{{0, 255, 0}, {120, 255, 255}}, Case{{0, 0, 255}, {240, 255, 255}},
        Case{{128, 128, 128}, {0, 0, 128}}, Case{{0, 0, 0}, {0, 0, 0}}, Case{{255, 0, 1}, {0, 255, 255}},
        Case{{255, 0, 128}, {330, 255, 255}}}) {
    EXPECT_EQ(HSV(C.Rgb.R, C.Rgb.G, C.Rgb.B), C.Hsv) << ::testing::PrintToString(C.Rgb);
  }
  EXPECT_EQ(FromHSV(0, 255, 255), (RGBTriple{255, 0, 0}));
  EXPECT_EQ(FromHSV(120, 255, 255), (RGBTriple{0, 255, 0}));
  EXPECT_EQ(FromHSV(360, 255, 255), (RGBTriple{0, 0, 0}));
  EXPECT_EQ(FromHSV(-60, 255, 255), (RGBTriple{0, 0, 0}));
  for (int H : {0, 77, 359, 400}) EXPECT_EQ(FromHSV(H, 0, 93), (RGBTriple{93, 93, 93})) << H;
  EXPECT_EQ(HSVToColor(240, 255, 255), clBlue);
  int H, S, V;
  ColorToHSV(clLime, H, S, V);
  EXPECT_EQ((RGBTriple{H, S, V}), (RGBTriple{120, 255, 255}));
}

TEST(ColorUtils, HSVMatchesReferenceOnRandomColours) {
  std::mt19937 Gen(20240611);
  std::uniform_int_distribution<int> Byte(0, 255), Hue(0, 359);
  for (int I = 0; I < 20000; ++I) {
    const int R = Byte(Gen), G = Byte(Gen), B = Byte(Gen);
    const RGBTriple Hsv = HSV(R, G, B);
    ASSERT_EQ(Hsv, ReferenceToHSV(R, G, B)) << R << "," << G << "," << B;
    // The round trip truncates twice: over all 2^24 colours it moves a channel
    // by at most 4 steps.
    const RGBTriple Back = FromHSV(Hsv.R, Hsv.G, Hsv.B);
    ASSERT_EQ(Back, ReferenceFromHSV(Hsv.R, Hsv.G, Hsv.B));
    ASSERT_LE(std::max({std::abs(Back.R - R), std::abs(Back.G - G), std::abs(Back.B - B)}), 4)
        << R << "," << G << "," << B;
    const int H = Hue(Gen), S = Byte(Gen), V = Byte(Gen);
    ASSERT_EQ(FromHSV(H, S, V), ReferenceFromHSV(H, S, V)) << H << "," << S << "," << V;
  }
}

TEST(ColorUtils, UnitToByteAndYCbCr) {
  EXPECT_EQ(UnitToByte(0.999f), 254);
  EXPECT_EQ(UnitToByte(1.0f), 255);
  EXPECT_EQ(UnitToByte(-0.1f), 0);
  EXPECT_EQ(UnitToByte(0.5f), 127);

  float Y, Cb, Cr;
  RGBToYCbCr(255, 255, 255, Y, Cb, Cr);
  EXPECT_FLOAT_EQ(Y, 1.0f);
  EXPECT_NEAR(Cb, 0.5f, 1e-6);
  EXPECT_NEAR(Cr, 0.5f, 1e-6);
  ColorToYCbCr(clRed, Y, Cb, Cr);
  EXPECT_FLOAT_EQ(Y, 0.299f);
  EXPECT_FLOAT_EQ(Cb, 0.3313f);
  EXPECT_FLOAT_EQ(Cr, 1.0f);

  uint8_t R, G, B;
  YCbCrToRGB(1, 0.5f, 0.5f, R, G, B);
  EXPECT_EQ((RGBTriple{R, G, B}), (RGBTriple{255, 255, 255}));
  YCbCrToRGB(0, 0.5f, 0.5f, R, G, B);
  EXPECT_EQ((RGBTriple{R, G, B}), (RGBTriple{0, 0, 0}));
  // Out-of-gamut components clamp.
  YCbCrToRGB(0.5f, 1.0f, 0.0f, R, G, B);
  EXPECT_EQ((RGBTriple{R, G, B}), (RGBTriple{0, 174, 255}));
  // Through YCbCr and back, a colour loses at most one step per channel to
  // the truncation of UnitToByte and the rounded constants.
  std::mt19937 Gen(7);
  std::uniform_int_distribution<int> Byte(0, 255);
  for (int I = 0; I < 2000; ++I) {
    const uint8_t R0 = Byte(Gen), G0 = Byte(Gen), B0 = Byte(Gen);
    RGBToYCbCr(R0, G0, B0, Y, Cb, Cr);
    YCbCrToRGB(Y, Cb, Cr, R, G, B);
    ASSERT_LE(std::abs(R - R0), 1);
    ASSERT_LE(std::abs(G - G0), 1);
    ASSERT_LE(std::abs(B - B0), 1);
  }
}
