#include "filters/Distortions24.h"

#include "filters/FilterLoops.h"
#include "filters/FilterTargets.h"
#include "filters/InverseMapping.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace FilterLoops;

namespace {

// Dst takes Src's size (white when new).
void SizeLikeSource(const TBitmap& Src, TBitmap& Dst) { SizeTarget24(Dst, Src.Width(), Src.Height()); }

} // namespace

// ---- Trapezoid and skew --------------------------------------------------------

void Trapezoid24(const TBitmap& Src, TBitmap& Dst, double LeftH, double TopW, double RightH, double BottomW,
                 TColor BackColor, const TRect& Rect, TAntialiasMode Mode, bool Resize) {
  // A factor of 0 or less has no width (or height) to map onto.
  if (!(LeftH > 0 && TopW > 0 && RightH > 0 && BottomW > 0) || Src.Empty()) return;
  if (LeftH == 1 && TopW == 1 && RightH == 1 && BottomW == 1) {
    if (&Src != &Dst) Assign24(Src, Dst);
    return;
  }
  TRect R = Rect;
  if (!ClipToBitmap(R, Src)) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  const int W = Source.Width(), H = Source.Height();
  TRect Target = R, Sampled = R;
  double OX = R.Left, OY = R.Top, MW = R.Width(), MH = R.Height();
  if (Resize) {
    SizeTarget24(Dst, std::max(Round(W * std::max(TopW, BottomW)), 1), std::max(Round(H * std::max(LeftH, RightH)), 1));
    Target = BitmapRect(Dst);
    Sampled = BitmapRect(Source);
    OX = (Dst.Width() - W) / 2.0;
    OY = (Dst.Height() - H) / 2.0;
    MW = W;
    MH = H;
  } else {
    SizeLikeSource(Source, Dst);
  }
  TScanLinesManagerEx Sampler(Source, Sampled);
  SetSamplerBack(Sampler, BackColor, Mode);
  const double L = Target.Left, T = Target.Top;
  InverseMap(Sampler, Dst, Target, true, [&](int I, int J, double& SX, double& SY) {
    const double RowW = MW * TopW + (MW * BottomW - MW * TopW) * (J - OY) / MH;
    const double O = I - OX;
    const double ColH = MH * LeftH + (MH * RightH - MH * LeftH) * O / MW;
    // With Resize the factors are extrapolated beyond the source's span,
    // where a steep trapezoid can reach zero.
    if (!(RowW > 0 && ColH > 0)) return TMapped::Background;
    SX = (O - (MW - RowW) / 2) * MW / RowW + L;
    SY = (J - OY - (MH - ColH) / 2) * MH / ColH + T;
    return TMapped::Sample;
  });
}

void Skew24(const TBitmap& Src, TBitmap& Dst, double Horizontal, double Vertical, TColor BackColor,
            TAntialiasMode Mode) {
  if (Src.Empty()) return;
  const int W = Src.Width(), H = Src.Height();
  const int DY0 = -Round(Horizontal * H), DX0 = -Round(Vertical * W);
  if (DX0 == 0 && DY0 == 0) {
    if (&Src != &Dst) Assign24(Src, Dst);
    return;
  }
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  const int64_t TW = int64_t{W} + std::abs(int64_t{DY0}), TH = int64_t{H} + std::abs(int64_t{DX0});
  if (TW > INT32_MAX || TH > INT32_MAX) return;
  SizeTarget24(Dst, static_cast<int>(TW), static_cast<int>(TH));
  TScanLinesManagerEx Sampler(Source, BitmapRect(Source));
  SetSamplerBack(Sampler, BackColor, Mode);
  // The shift along one axis at position K of a span of N pixels.
  const auto Shift = [](int D0, int K, int64_t N) -> double {
    if (N <= 1) return 0;
    return D0 < 1 ? -static_cast<double>(D0) * K / (N - 1) : static_cast<double>(N - 1 - K) * D0 / (N - 1);
  };
  InverseMap(Sampler, Dst, BitmapRect(Dst), true, [&](int I, int J, double& SX, double& SY) {
    SX = I - Shift(DY0, J, TH);
    SY = J - Shift(DX0, I, TW);
    return TMapped::Sample;
  });
}

void SkewInPlace24(TBitmap& Bitmap, double Horizontal, double Vertical, TColor BackColor, TAntialiasMode Mode) {
  Skew24(Bitmap, Bitmap, Horizontal, Vertical, BackColor, Mode);
}

// ---- Ellipse, twirl, lens ----------------------------------------------------------

void EllipseDistort24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Src) || R.Width() < 5 || R.Height() < 5) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  SizeLikeSource(Source, Dst);
  TScanLinesManagerEx Sampler(Source, {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2});
  SetSamplerBack(Sampler, BackColor, Mode);
  const double BW = R.Width() + 1, BH = R.Height() + 1, D = std::max(BW, BH);
  const double SXF = BW / D, SYF = BH / D, Radius = D / 2;
  // The half chord of the circle at a distance V from its edge; 0 where
  // there is none.
  const auto HalfChord = [Radius](double V) {
    const double Q = 2 * Radius * V - V * V;
    return Q > 0 ? std::sqrt(Q) : 0.0;
  };
  InverseMap(Sampler, Dst, R, true, [&](int I, int J, double& SX, double& SY) {
    const double U = (I - R.Left) / SXF, V = (J - R.Top) / SYF;
    const double LU = HalfChord(V), LV = HalfChord(U);
    const double X = LU == 0 ? 0 : Radius * (U - Radius) / LU + Radius;
    const double Y = LV == 0 ? 0 : Radius * (V - Radius) / LV + Radius;
    SX = X * SXF + R.Left;
    SY = Y * SYF + R.Top;
    return TMapped::Sample;
  });
}

namespace {

// The twirl's turn of the offset (DX, DY): its angle from the y axis grows
// by D = (1 - r / Rmax) Twist. With r sin(theta) = DX and r cos(theta) = DY,
// (r sin(theta + D), r cos(theta + D)) is the offset turned by D, which
// needs no angle of its own.
struct TTwirl {
  double RMax, Twist;
  void operator()(double DX, double DY, double& OX, double& OY) const {
    const double D = (1 - std::sqrt(DX * DX + DY * DY) / RMax) * Twist;
    const double Sin = std::sin(D), Cos = std::cos(D);
    OX = DX * Cos + DY * Sin;
    OY = DY * Cos - DX * Sin;
  }
};

} // namespace

void Twirl24(const TBitmap& Src, TBitmap& Dst, double Angle, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
             bool Resize) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Src)) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  const double Twist = Angle * std::numbers::pi / 8;
  double CX, CY, TCX, TCY;
  TRect Target = R, Sampled = R;
  TTwirl Turn{};
  if (Resize) {
    const int W = Source.Width(), H = Source.Height();
    CX = W / 2.0;
    CY = H / 2.0;
    Turn = {std::hypot(CX, CY), Twist};
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    const auto Grow = [&](int X, int Y) {
      double OX, OY;
      Turn(X - CX, Y - CY, OX, OY);
      MinX = std::min(MinX, OX), MaxX = std::max(MaxX, OX);
      MinY = std::min(MinY, OY), MaxY = std::max(MaxY, OY);
    };
    for (int X = 0; X < W; ++X) Grow(X, 0), Grow(X, H - 1);
    for (int Y = 1; Y < H - 1; ++Y) Grow(0, Y), Grow(W - 1, Y);
    SizeTarget24(Dst, std::max(Round(MaxX - MinX + 1), 1), std::max(Round(MaxY - MinY + 1), 1));
    Target = BitmapRect(Dst);
    Sampled = BitmapRect(Source);
    TCX = (Dst.Width() - 1) / 2.0;
    TCY = (Dst.Height() - 1) / 2.0;
  } else {
    SizeLikeSource(Source, Dst);
    CX = TCX = (R.Left + R.Right) / 2.0;
    CY = TCY = (R.Top + R.Bottom) / 2.0;
    Turn = {std::hypot(R.Width() / 2.0, R.Height() / 2.0), Twist};
  }
  TScanLinesManagerEx Sampler(Source, Sampled);
  SetSamplerBack(Sampler, BackColor, Mode);
  InverseMap(Sampler, Dst, Target, true, [&](int I, int J, double& SX, double& SY) {
    double OX, OY;
    Turn(I - TCX, J - TCY, OX, OY);
    SX = CX + OX;
    SY = CY + OY;
    return TMapped::Sample;
  });
}

void Lens24(const TBitmap& Src, TBitmap& Dst, double Strength, TColor BackColor, const TRect& Rect,
            TAntialiasMode Mode) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Src)) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  SizeLikeSource(Source, Dst);
  TScanLinesManagerEx Sampler(Source, R);
  SetSamplerBack(Sampler, BackColor, Mode);
  const double CX = R.Left + R.Width() / 2.0, CY = R.Top + R.Height() / 2.0;
  const double RL = std::min(R.Width(), R.Height()) * Strength;
  InverseMap(Sampler, Dst, R, true, [&](int I, int J, double& SX, double& SY) {
    const double DX = I - CX, DY = J - CY;
    const double L = std::sqrt(DX * DX + DY * DY);
    if (!(L < RL - 0.03)) return TMapped::Background;
    if (L < 0.03) {
      SX = CX;
      SY = CY;
    } else {
      const double S = RL / 2 * (1 / (1 - L / RL) - 1) * Strength;
      SX = CX + DX * S / L;
      SY = CY + DY * S / L;
    }
    return TMapped::Sample;
  });
}

// ---- Fisheye -----------------------------------------------------------------------

namespace {

// The fisheye's source of target (I, J) around (CX, CY).
struct TFisheye {
  double CX, CY, KX, KY;
  TFisheye(int CX, int CY, double PercentX, double PercentY)
      : CX(CX), CY(CY), KX(PercentX / 100 / CX / CY), KY(PercentY / 100 / CX / CY) {}
  void operator()(int I, int J, double& SX, double& SY) const {
    const double G = J - CY, D = I - CX;
    SX = I - KX * G * G * D;
    SY = CY + G - KY * D * D * G;
  }
};

} // namespace

void FisheyeNearest24(const TBitmap& Src, TBitmap& Dst, double PercentX, double PercentY) {
  if (Src.Empty()) return;
  const int CX = Src.Width() / 2, CY = Src.Height() / 2;
  // The factors divide by the half sizes: an image one pixel wide or high
  // has nothing to bend.
  if ((PercentX == 0 && PercentY == 0) || CX == 0 || CY == 0) {
    if (&Src != &Dst) Assign24(Src, Dst);
    return;
  }
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  SizeLikeSource(Source, Dst);
  TScanLinesManagerEx Sampler(Source, BitmapRect(Source));
  SetSamplerBack(Sampler, clWhite, amNearest);
  const TFisheye Map(CX, CY, PercentX, PercentY);
  InverseMap(Sampler, Dst, BitmapRect(Dst), true, [&](int I, int J, double& SX, double& SY) {
    Map(I, J, SX, SY);
    return TMapped::Sample;
  });
}

void FisheyeBilinear24(const TBitmap& Src, TBitmap& Dst, double PercentX, double PercentY) {
  if (Src.Empty()) return;
  const int W = Src.Width(), H = Src.Height();
  const int CX = (W - 1) / 2, CY = (H - 1) / 2;
  if (CX == 0 || CY == 0) {
    if (&Src != &Dst) Assign24(Src, Dst);
    return;
  }
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  NewBitmap24(Dst, W, H, clWhite);
  const TFisheye Map(CX, CY, PercentX, PercentY);
  const TRGB White{255, 255, 255};
  const auto At = [&](int X, int Y) { return X < 0 || X >= W || Y < 0 || Y >= H ? White : RowOf(Source, Y)[X]; };
  // Two rounded mixes: each column pair down, then the two results across.
  const auto Mix = [](TRGB A, TRGB B, double F) {
    return TRGB{ClampRoundByte(A.Blue * (1 - F) + B.Blue * F), ClampRoundByte(A.Green * (1 - F) + B.Green * F),
                ClampRoundByte(A.Red * (1 - F) + B.Red * F)};
  };
  TProgressScope Progress(H);
  if (!Progress.Begun()) return;
  for (int J = 0; J < H; ++J) {
    if (!Progress.Step(J)) return;
    PRGBArray Out = RowOf(Dst, J);
    for (int I = 0; I < W; ++I) {
      double X, Y;
      Map(I, J, X, Y);
      const double FloorX = std::floor(X), FloorY = std::floor(Y);
      if (!(FloorX >= -1 && FloorX <= W - 1 && FloorY >= -1 && FloorY <= H - 1)) continue;
      const int X0 = static_cast<int>(FloorX), Y0 = static_cast<int>(FloorY);
      const double FY = Y - FloorY;
      const TRGB Left = Mix(At(X0, Y0), At(X0, Y0 + 1), FY);
      const TRGB Right = Mix(At(X0 + 1, Y0), At(X0 + 1, Y0 + 1), FY);
      Out[I] = Mix(Left, Right, X - FloorX);
    }
  }
}

// ---- Waves and reflection ------------------------------------------------------------

namespace {

// Rect of Dst (clipped to it) mapped from all of Src, sampled bilinearly;
// MakeMap(Sampler, R) gives the mapping.
template <class F>
void MapFromWholeSource(const TBitmap& Src, TBitmap& Dst, const TRect& Rect, TColor BackColor, F&& MakeMap) {
  TRect R = Rect;
  if (Src.Empty() || !Prepare24(Dst, R)) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  TScanLinesManagerEx Sampler(Source, BitmapRect(Source));
  SetSamplerBack(Sampler, BackColor, amBilinear);
  InverseMap(Sampler, Dst, R, true, MakeMap(Sampler, R));
}

} // namespace

void WavesFromSource(const TBitmap& Src, TBitmap& Dst, int Wavelength, int Amplitude, bool Vertical,
                     const TRect& Rect) {
  const auto Wave = [&](int K) {
    return Wavelength == 0 ? 0.0 : Amplitude * std::sin(static_cast<double>(K) / Wavelength * std::numbers::pi);
  };
  MapFromWholeSource(Src, Dst, Rect, clNone, [&](const TScanLinesManagerEx& Sampler, const TRect& R) {
    return [&, R, Limits = &Sampler](int X, int Y, double& SX, double& SY) {
      if (Vertical)
        SY = Y + Wave(Y - R.Top);
      else
        SX = X + Wave(X - R.Left);
      return Limits->PtInLimits(SX, SY) ? TMapped::Sample : TMapped::Keep;
    };
  });
}

void Waves24(TBitmap& Bitmap, int Wavelength, int Amplitude, bool Vertical, const TRect& Rect) {
  WavesFromSource(Bitmap, Bitmap, Wavelength, Amplitude, Vertical, Rect);
}

void WaterReflection24(const TBitmap& Src, TBitmap& Dst, double Phase, double Period, TColor BackColor,
                       const TRect& Rect) {
  const double PhaseAngle = Period == 0 ? 0 : Phase * 2 * std::numbers::pi / Period;
  MapFromWholeSource(Src, Dst, Rect, BackColor, [&](const TScanLinesManagerEx&, const TRect& R) {
    return [=](int, int Y, double&, double& SY) {
      const double H = R.Height(), D = Y - R.Top;
      SY = Y + 2 + (H / 16) * (D + 24) * std::sin(16 * (H - D) / (D + 1) + PhaseAngle) / H;
      return TMapped::Sample;
    };
  });
}
