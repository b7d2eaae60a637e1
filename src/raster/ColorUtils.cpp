#include "raster/ColorUtils.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cstdlib>

TColor ColorToBGR(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return GetBValue(C) | (GetGValue(C) << 8) | (GetRValue(C) << 16);
}

bool ColorsNear(TColor Color1, TColor Color2, int Tolerance) {
  const TColor A = ColorToRGB(Color1);
  const TColor B = ColorToRGB(Color2);
  return std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
         std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance;
}

TColor MixColors(TColor Color1, TColor Color2, int Percent) {
  if (Percent <= 0 || Percent > 100) return Color1;
  const TColor A = ColorToRGB(Color1);
  const TColor B = ColorToRGB(Color2);
  auto Mix = [Percent](int C1, int C2) { return C1 + (C2 - C1) * Percent / 100; };
  return RGB(Mix(GetRValue(A), GetRValue(B)), Mix(GetGValue(A), GetGValue(B)), Mix(GetBValue(A), GetBValue(B)));
}

int ColorLuminance(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return (GetRValue(C) * 77 + GetGValue(C) * 150 + GetBValue(C) * 28) >> 8;
}

void ColorToHSV(TColor Color, int& H, int& S, int& V) {
  const TColor C = ColorToRGB(Color);
  RGBToHSV(GetRValue(C), GetGValue(C), GetBValue(C), H, S, V);
}

void RGBToHSV(int R, int G, int B, int& H, int& S, int& V) {
  V = std::max({R, G, B});
  const int Delta = V - std::min({R, G, B});
  S = V != 0 ? Delta * 255 / V : 0;
  if (S == 0) {
    H = 0;
    return;
  }
  if (R == V)
    H = (G - B) * 60 / Delta;
  else if (G == V)
    H = (B - R) * 60 / Delta + 120;
  else
    H = (R - G) * 60 / Delta + 240;
  if (H < 0) H += 360;
}

TColor HSVToColor(int H, int S, int V) {
  int R, G, B;
  HSVToRGB(H, S, V, R, G, B);
  return (R & 255) | ((G & 255) << 8) | ((B & 255) << 16);
}

void HSVToRGB(int H, int S, int V, int& R, int& G, int& B) {
  if (S == 0 || V == 0) {
    R = G = B = V;
    return;
  }
  const int F = H % 60;
  const int P = V - S * V / 255;
  const int Q = V - S * V * F / 15300;
  const int T = V - S * V * (60 - F) / 15300;
  switch (H / 60) {
  case 0:
    R = V, G = T, B = P;
    break;
  case 1:
    R = Q, G = V, B = P;
    break;
  case 2:
    R = P, G = V, B = T;
    break;
  case 3:
    R = P, G = Q, B = V;
    break;
  case 4:
    R = T, G = P, B = V;
    break;
  case 5:
    R = V, G = P, B = Q;
    break;
  default:
    R = G = B = 0;
    break;
  }
}

uint8_t UnitToByte(float X) {
  if (X <= 0) return 0;
  if (X >= 1) return 255;
  return static_cast<uint8_t>(Trunc(static_cast<double>(X) * 255));
}

void YCbCrToRGB(float Y, float Cb, float Cr, uint8_t& R, uint8_t& G, uint8_t& B) {
  const double DY = Y, DCb = static_cast<double>(Cb) - 0.5, DCr = static_cast<double>(Cr) - 0.5;
  R = UnitToByte(static_cast<float>(DY + DCr * 1.402));
  G = UnitToByte(static_cast<float>(DY - DCb * 0.34414 - DCr * 0.71414));
  B = UnitToByte(static_cast<float>(DY + DCb * 1.772));
}

void ColorToYCbCr(TColor Color, float& Y, float& Cb, float& Cr) {
  const TColor C = ColorToRGB(Color);
  RGBToYCbCr(GetRValue(C), GetGValue(C), GetBValue(C), Y, Cb, Cr);
}

void RGBToYCbCr(uint8_t R, uint8_t G, uint8_t B, float& Y, float& Cb, float& Cr) {
  const double Rf = static_cast<float>(R / 255.0);
  const double Gf = static_cast<float>(G / 255.0);
  const double Bf = static_cast<float>(B / 255.0);
  Y = static_cast<float>(0.299 * Rf + 0.587 * Gf + 0.114 * Bf);
  Cb = static_cast<float>(-0.1687 * Rf - 0.3313 * Gf + 0.5 * Bf + 0.5);
  Cr = static_cast<float>(0.5 * Rf - 0.4187 * Gf - 0.0813 * Bf + 0.5);
}
