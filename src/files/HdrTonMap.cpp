#include "files/HdrTonMap.h"

#include <algorithm>
#include <cmath>

namespace {

// Tone-curve constants, single precision.
constexpr float CurveGamma = 0.4545f;
constexpr float CurveKey = 0.53f;
constexpr float FilmicScale = 1.3f;

// The curve on any value: NaN and -inf give 0, +inf the curves' limit 1.
template <double (*Curve)(double)> double Tone(double X) {
  if (std::isnan(X)) return 0;
  if (std::isinf(X)) return X > 0 ? 1 : 0;
  return Curve(X);
}

template <double (*Curve)(double)> void MapPerChannel(THdrImage& Image, const TRect& R, double K) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TPixelHdr* Row = Image.Pixels(Y);
    for (int X = R.Left; X < R.Right; ++X) {
      TPixelHdr& P = Row[X];
      P.Blue = float(Tone<Curve>(K * P.Blue));
      P.Green = float(Tone<Curve>(K * P.Green));
      P.Red = float(Tone<Curve>(K * P.Red));
    }
  }
}

template <double (*Curve)(double)> void MapByLuminance(THdrImage& Image, const TRect& R, double K) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TPixelHdr* Row = Image.Pixels(Y);
    for (int X = R.Left; X < R.Right; ++X) {
      TPixelHdr& P = Row[X];
      const float L = float((double(P.Blue) + P.Green + P.Red) / 3);
      if (L == 0) continue;
      if (!std::isfinite(L)) {
        // No ratio to keep: each channel follows the curve alone.
        P.Blue = float(Tone<Curve>(K * P.Blue));
        P.Green = float(Tone<Curve>(K * P.Green));
        P.Red = float(Tone<Curve>(K * P.Red));
        continue;
      }
      const float F = float(Tone<Curve>(K * L) / L);
      P.Blue = float(std::min(double(P.Blue) * F, 1.0));
      P.Green = float(std::min(double(P.Green) * F, 1.0));
      P.Red = float(std::min(double(P.Red) * F, 1.0));
    }
  }
}

template <double (*Curve)(double)> void Map(THdrImage& Image, const TRect& R, bool ByLuminance, double K) {
  if (ByLuminance)
    MapByLuminance<Curve>(Image, R, K);
  else
    MapPerChannel<Curve>(Image, R, K);
}

} // namespace

double ToneClip(double X) { return std::min(X, 1.0); }

double ToneGamma(double X) { return std::min(PowerF(float(X), CurveGamma), 1.0); }

double ToneRatio(double X) {
  if (X == 0) return 0;
  return PowerF(float(X / (CurveKey + X)), CurveGamma);
}

double ToneFilmic(double X) {
  if (X <= 0.004) return 0;
  const double A = float((X - 0.004) * FilmicScale);
  if (std::isinf(A)) return 1;
  return A * (6.2 * A + 0.5) / (A * (6.2 * A + 1.7) + 0.06);
}

double PowerF(float A, float B) {
  if (!(A > 0)) return 0;
  if (B == 1) return A;
  return std::exp(double(B) * std::log(double(A)));
}

double ExposureFactor(int8_t Stops) {
  if (Stops == 0) return 1;
  if (Stops > 0) return std::pow(2.0, Stops / 2.0);
  return 1 / std::pow(2.0, -Stops / 2.0);
}

void ApplyToneMap(THdrImage* Image, uint8_t Operator, bool ByLuminance, int8_t Exposure, TRect Rect) {
  if (!ClipToHdr(Rect, Image)) return;
  float Min = 0, Max = 0;
  if (Image->GetRange(Min, Max, Rect) && Min < 0) Image->Offset(-Min, Rect);
  const double K = ExposureFactor(Exposure);
  switch (Operator) {
  case toGamma:
    Map<ToneGamma>(*Image, Rect, ByLuminance, K);
    break;
  case toRatio:
    Map<ToneRatio>(*Image, Rect, ByLuminance, K);
    break;
  case toFilmic:
    Map<ToneFilmic>(*Image, Rect, ByLuminance, K);
    break;
  default:
    Map<ToneClip>(*Image, Rect, ByLuminance, K);
    break;
  }
}
