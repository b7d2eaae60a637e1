#include "filters/Deform24.h"

#include "filters/FilterLoops.h"
#include "filters/FilterTargets.h"
#include "filters/InverseMapping.h"
#include "raster/FoncUtils.h"

#include <algorithm>
#include <cmath>

using namespace FilterLoops;

namespace {

int Counter = 0;

// Advances the counter and answers the previous value.
int CountCall() { return Counter++; }

// The square's geometry: the centre and the radius of the inner circle.
struct TSquare {
  TRect R;
  int CX, CY, Radius;
};

// Clips Rect to Dst (made 24-bit); false when no pixel lies inside the
// inner circle.
bool PrepareSquare(TBitmap& Dst, const TRect& Rect, TSquare& S) {
  S.R = Rect;
  if (!Prepare24(Dst, S.R)) return false;
  S.CX = (S.R.Left + S.R.Right) / 2;
  S.CY = (S.R.Top + S.R.Bottom) / 2;
  S.Radius = std::min(S.R.Width(), S.R.Height()) / 2 - 2;
  return S.Radius > 0;
}

// Map(X, Y, SX, SY) over the square's pixels, sampling Src (its edge pixels
// repeated) in Mode.
template <class F> void Deform(const TBitmap& Src, TBitmap& Dst, const TSquare& S, TAntialiasMode Mode, F&& Map) {
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  TScanLinesManagerEx Sampler(Source, BitmapRect(Source));
  SetSamplerBack(Sampler, clNone, Mode);
  InverseMap(Sampler, Dst, S.R, false, Map);
}

TAntialiasMode ZoomMode(int Previous) { return Previous % 2 != 0 ? amBicubic : amLagrange; }

} // namespace

int DeformCounter() { return Counter; }
void SetDeformCounter(int Value) { Counter = Value; }

void DeformZoomFromSource(const TBitmap& Src, TBitmap& Dst, const TRect& Rect, double Strength) {
  const TAntialiasMode Mode = ZoomMode(CountCall());
  TSquare S;
  if (!PrepareSquare(Dst, Rect, S)) return;
  const double RL = 1.33 * std::min(S.R.Width(), S.R.Height());
  const double C = std::min(Strength, 1.0) * 0.17;
  Deform(Src, Dst, S, Mode, [&](int X, int Y, double& SX, double& SY) {
    const double DX = X - S.CX, DY = Y - S.CY;
    const double G = std::sqrt(DX * DX + DY * DY);
    if (!(G < S.Radius)) return TMapped::Keep;
    double PX = S.CX, PY = S.CY;
    if (G >= 0.03) {
      const double Lens = RL / 2 * (1 / (1 - G / RL) - 1) * 1.33;
      PX += DX * Lens / G;
      PY += DY * Lens / G;
    }
    const double K = (S.Radius - G) / S.Radius * C;
    SX = X + (PX - X) * K;
    SY = Y + (PY - Y) * K;
    return TMapped::Sample;
  });
}

void DeformSpiralFromSource(const TBitmap& Src, TBitmap& Dst, bool Direction, const TRect& Rect, double Strength) {
  const int Call = CountCall() + 1;
  const TAntialiasMode Mode = Call % 4 == 0 ? amBicubic : amLagrange;
  TSquare S;
  if (!PrepareSquare(Dst, Rect, S)) return;
  const float RMax = static_cast<float>(std::max(S.R.Width() / 2, S.R.Height() / 2));
  const double Twist = Direction ? 0.06675884388878311 : -0.06675884388878311;
  Strength = std::min(Strength, 1.0);
  Deform(Src, Dst, S, Mode, [&](int X, int Y, double& SX, double& SY) {
    const int M = IntDistance(X, Y, S.CX, S.CY);
    if (M >= S.Radius) return TMapped::Keep;
    if (M == 0) {
      SX = X + 0.77;
      SY = Y - 0.77;
      return TMapped::Sample;
    }
    const float DX = static_cast<float>(X - S.CX), DY = static_cast<float>(Y - S.CY);
    const float R = std::hypot(DX, DY);
    const float Theta = std::atan2(DX, DY);
    const double K = static_cast<double>(S.Radius - M) / S.Radius * Strength;
    const double A = Theta + (1 - R / RMax) * Twist * K;
    SX = S.CX + R * std::sin(A);
    SY = S.CY + R * std::cos(A);
    return TMapped::Sample;
  });
}

void DeformDilateFromSource(const TBitmap& Src, TBitmap& Dst, bool Dilate, const TRect& Rect, double Strength) {
  const TAntialiasMode Mode = ZoomMode(CountCall());
  TSquare S;
  if (!PrepareSquare(Dst, Rect, S)) return;
  const int HW = S.R.Width() / 2, HH = S.R.Height() / 2;
  const double H = (Dilate ? 17.33 : -17.33) / 100 / HW / HH;
  const double M = std::min(Strength / 2 + 0.5, 1.0);
  Deform(Src, Dst, S, Mode, [&](int X, int Y, double& SX, double& SY) {
    const int T = IntDistance(X, Y, S.CX, S.CY);
    if (T >= S.Radius) return TMapped::Keep;
    const double U = static_cast<double>(S.Radius - T) / S.Radius * M;
    const double A = X - S.R.Left - HW, B = Y - S.R.Top - HH;
    SX = X - H * B * B * A * U * U;
    SY = Y - H * A * A * B * U * U;
    return TMapped::Sample;
  });
}

void DeformZoom24(TBitmap& Bitmap, const TRect& Rect, double Strength) {
  DeformZoomFromSource(Bitmap, Bitmap, Rect, Strength);
}

void DeformSpiral24(TBitmap& Bitmap, bool Direction, const TRect& Rect, double Strength) {
  DeformSpiralFromSource(Bitmap, Bitmap, Direction, Rect, Strength);
}

void DeformDilate24(TBitmap& Bitmap, bool Dilate, const TRect& Rect, double Strength) {
  DeformDilateFromSource(Bitmap, Bitmap, Dilate, Rect, Strength);
}
