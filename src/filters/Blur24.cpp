#include "filters/Blur24.h"

#include "filters/Convolution.h"
#include "filters/FilterLoops.h"
#include "filters/MatrixConst.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"

#include <cmath>
#include <numbers>

using namespace FilterLoops;

// ---- Box blur -----------------------------------------------------------------

namespace {

// Column[c] += Plus[c] - Minus[c].
template <class TSum>
LUMA_VECTOR_CLONES void SlideColumns(TSum* __restrict Column, const uint8_t* __restrict Plus,
                                     const uint8_t* __restrict Minus, size_t N) {
  for (size_t C = 0; C < N; ++C) Column[C] += TSum{Plus[C]} - TSum{Minus[C]};
}

template <class TSum, class TDiv>
LUMA_VECTOR_CLONES void DivideColumns(const TSum* __restrict Column, uint8_t* __restrict Out, size_t N, TDiv Div) {
  for (size_t C = 0; C < N; ++C) Out[C] = static_cast<uint8_t>(Div(Column[C]));
}

// Running sums: the window's column sums follow the rows (one row enters,
// one leaves), and across each row a running sum of those columns follows
// the pixels. Every window sum is exact, so the result is the direct sum's.
template <class TSum, class TDiv> void BoxRows(TBitmap& Bitmap, const TRect& R, int Rx, int Ry, TDiv Div) {
  const int Width = R.Width();
  const size_t Padded = static_cast<size_t>(Width) + 2 * static_cast<size_t>(Rx);
  TPixelRing Ring(Bitmap, R, Rx, Rx, Ry + 1, Ry);
  std::vector<TSum> Column(3 * Padded);
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    Ring.Advance(Y);
    if (Y == R.Top) {
      for (int DY = -Ry; DY <= Ry; ++DY) {
        const uint8_t* Row = Ring.Bytes(DY);
        for (size_t C = 0; C < Column.size(); ++C) Column[C] += Row[C];
      }
    } else {
      SlideColumns<TSum>(Column.data(), Ring.Bytes(Ry), Ring.Bytes(-Ry - 1), Column.size());
    }
    uint8_t* Out = Bitmap.ScanLine(Y) + static_cast<ptrdiff_t>(R.Left) * 3;
    if (Rx == 0) {
      DivideColumns<TSum, TDiv>(Column.data(), Out, Column.size(), Div);
      continue;
    }
    TSum Sum[3] = {0, 0, 0};
    for (int K = 0; K <= 2 * Rx; ++K)
      for (int Ch = 0; Ch < 3; ++Ch) Sum[Ch] += Column[3 * K + Ch];
    for (int U = 0; U < Width; ++U)
      for (int Ch = 0; Ch < 3; ++Ch) {
        const size_t C = 3 * static_cast<size_t>(U) + Ch;
        Out[C] = static_cast<uint8_t>(Div(Sum[Ch]));
        if (U + 1 < Width) Sum[Ch] += Column[C + 3 * (2 * static_cast<size_t>(Rx) + 1)] - Column[C];
      }
  }
}

} // namespace

void BoxBlurPass(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect) {
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  TRect R = Rect;
  if ((Rx < 1 && Ry < 1) || !Prepare24(Bitmap, R)) return;
  const int64_t Count = (2 * int64_t{Rx} + 1) * (2 * int64_t{Ry} + 1);
  if (255 * Count < INT32_MAX)
    BoxRows<int32_t>(Bitmap, R, Rx, Ry, TDivider(Count, 255 * Count));
  else
    BoxRows<int64_t>(Bitmap, R, Rx, Ry, TWideDivider{Count});
}

void BoxBlur(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect) {
  BoxBlurPass(Bitmap, Rx, 0, Rect);
  BoxBlurPass(Bitmap, 0, Ry, Rect);
}

void BoxBlur3x3(TBitmap& Bitmap, const TRect& Rect) { BoxBlur(Bitmap, 1, 1, Rect); }

void BoxBlur3x3Repeat(TBitmap& Bitmap, int Count, const TRect& Rect) {
  for (int I = 0; I < Count; ++I) BoxBlur3x3(Bitmap, Rect);
}

// ---- Gaussian blur --------------------------------------------------------------

void GaussianBlur(TBitmap& Bitmap, int Radius, double Exponent, const TRect& Rect) {
  if (Radius <= 0) return;
  Convolve(Bitmap, GaussianMatrix(Radius, 0, Exponent, 1.0), 100, 0, Rect);
  Convolve(Bitmap, GaussianMatrix(0, Radius, Exponent, 1.0), 100, 0, Rect);
}

void GaussianBlurRadius(TBitmap& Bitmap, int Radius, const TRect& Rect) { GaussianBlur(Bitmap, Radius, 1.69, Rect); }

// ---- Geometric blurs ------------------------------------------------------------

namespace {

// Dst(x, y) := the truncated average of the samples inside R for the pixels
// of one row; Samples(X, Y, Visit) calls Visit(SX, SY) for each sample.
template <class TSamples>
LUMA_VECTOR_CLONES void GeometricRow(const TBitmap& Src, TBitmap& Dst, const TRect& R, int Y, const TSamples& Samples) {
  PRGBArray Out = RowOf(Dst, Y);
  for (int X = R.Left; X < R.Right; ++X) {
    int64_t Blue = 0, Green = 0, Red = 0, Count = 0;
    Samples(X, Y, [&](int SX, int SY) {
      if (SX < R.Left || SX >= R.Right || SY < R.Top || SY >= R.Bottom) return;
      const TRGB P = RowOf(Src, SY)[SX];
      Blue += P.Blue;
      Green += P.Green;
      Red += P.Red;
      ++Count;
    });
    if (Count > 0)
      Out[X] = {static_cast<uint8_t>(Blue / Count), static_cast<uint8_t>(Green / Count),
                static_cast<uint8_t>(Red / Count)};
  }
}

template <class TSamples>
void GeometricBlur(const TBitmap& Src, TBitmap& Dst, const TRect& Rect, const TSamples& Samples) {
  TRect R = IntersectRect(NormalizeTRect(Rect), BitmapRect(Src));
  if (!Prepare24(Dst, R)) return;
  TBitmap Holder;
  const TBitmap& Source = Source24(Src, Holder);
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    GeometricRow(Source, Dst, R, Y, Samples);
  }
}

// The longest spin: the samples then cover the whole circle.
constexpr int MaxSpinLength = 180;
// The longest motion line, even: MotionBlurVector keeps its offsets in tables
// and takes every sample for every pixel.
constexpr int MaxMotionLength = 1 << 16;

// The pixel's angle around the centre, in single precision.
float CentreAngle(int X, int Y, int CX, int CY) {
  return std::atan2(static_cast<float>(Y - CY), static_cast<float>(X - CX));
}

} // namespace

void RadialBlur24(const TBitmap& Src, TBitmap& Dst, int Length, const TRect& Rect) {
  const int CX = Dst.Width() / 2, CY = Dst.Height() / 2;
  GeometricBlur(Src, Dst, Rect, [=](int X, int Y, auto&& Visit) {
    const int D = IntDistance(X, Y, CX, CY);
    const double Angle = CentreAngle(X, Y, CX, CY);
    const double Cos = std::cos(Angle), Sin = std::sin(Angle);
    for (int64_t L = std::max<int64_t>(int64_t{D} - Length, 0); L <= int64_t{D} + Length; ++L)
      Visit(Round(L * Cos + CX), Round(L * Sin + CY));
  });
}

void SpinBlur24(const TBitmap& Src, TBitmap& Dst, int Length, const TRect& Rect) {
  if (Length < 0) return; // no sample: every pixel would keep its value
  // Half a turn each way already samples the whole circle; longer spins
  // would only go round again, at the cost of tables and work per pixel
  // growing with the length.
  Length = std::min(Length, MaxSpinLength);
  const int CX = Dst.Width() / 2, CY = Dst.Height() / 2;
  // The pixel's angle rounds to -180..180 degrees: the sines and cosines of
  // every whole degree a sample can take, computed as each sample would.
  const int First = -180 - Length;
  std::vector<double> Cos(2 * static_cast<size_t>(Length) + 361), Sin(Cos.size());
  for (size_t I = 0; I < Cos.size(); ++I) {
    const double A = (First + static_cast<double>(I)) * std::numbers::pi / 180;
    Cos[I] = std::cos(A);
    Sin[I] = std::sin(A);
  }
  GeometricBlur(Src, Dst, Rect, [&](int X, int Y, auto&& Visit) {
    const int D = IntDistance(X, Y, CX, CY);
    const int E = Round(CentreAngle(X, Y, CX, CY) * 180.0 / std::numbers::pi);
    for (int A = E - Length; A <= E + Length; ++A)
      Visit(Round(D * Cos[A - First] + CX), Round(D * Sin[A - First] + CY));
  });
}

void MotionBlurVector(const TBitmap& Src, TBitmap& Dst, int Length, double Dx, double Dy, const TRect& Rect) {
  if (Length <= 0) return;
  // A longer line drops its samples at both ends, 32768 steps and more from
  // the pixel; the parity is kept so that the samples kept stay where they
  // were.
  if (Length > MaxMotionLength) Length = MaxMotionLength - (Length & 1);
  // The offsets are the same for every pixel: accumulated once, step by step.
  std::vector<double> OX(Length), OY(Length);
  double X0 = -Dx * Length / 2, Y0 = -Dy * Length / 2;
  for (int K = 0; K < Length; ++K) {
    OX[K] = X0;
    OY[K] = Y0;
    X0 += Dx;
    Y0 += Dy;
  }
  GeometricBlur(Src, Dst, Rect, [&](int X, int Y, auto&& Visit) {
    for (int K = 0; K < Length; ++K) Visit(Round(X + OX[K]), Round(Y + OY[K]));
  });
}

void MotionBlur(const TBitmap& Src, TBitmap& Dst, int Length, double AngleDegrees, const TRect& Rect) {
  const double A = AngleDegrees * std::numbers::pi / 180;
  MotionBlurVector(Src, Dst, Length, std::sin(-A), std::cos(-A), Rect);
}
