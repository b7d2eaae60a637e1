// The integer convolution engine under every matrix filter, its kernel
// TFilterMatrix, the neighbourhood rank filters (minimum, maximum, median, the
// two de-noise filters) and the shadows/highlights filter. Depends on the
// raster core; used by the blur, point and artistic filters and their dialogs.
//
// Every routine works in place on a bitmap made 24-bit, inside a rect that is
// normalised and clipped first (an empty rect does nothing), and computes its
// result from the unfiltered values of the rect only: a window position
// outside the rect takes the nearer edge pixel of the rect, row and column
// clamped separately, so nothing outside the rect is read or written. The
// window of a (2Rx+1) x (2Ry+1) filter reaches Rx columns and Ry rows each way.
// Each convolution and each rank pass is one pass of the progress service:
// begin with the rect's height, a step per row (a cancel stops there; rows
// done stay changed), end.
#pragma once

#include "raster/Pixels.h"

#include <cstdint>
#include <vector>

using TMatrixValues = std::vector<int32_t>;

// An integer kernel, row-major (index X + Y * Width), applied as
// Offset + (sum of value * weight) div Divisor. The centre of a Width x Height
// kernel is ((Width - 1) div 2, (Height - 1) div 2).
class TFilterMatrix {
public:
  // Width * Height zero values, Divisor 1, Offset 0; a negative size is 0.
  explicit TFilterMatrix(int Width = 0, int Height = 0);

  // Clears everything (values, sizes, divisor and offset all 0), then copies
  // M when it is given.
  void Assign(const TFilterMatrix* M);

  // No bounds check.
  int32_t GetValueXY(int X, int Y) const { return FValues[Index(X, Y)]; }
  void SetValueXY(int X, int Y, int32_t Value) { FValues[Index(X, Y)] = Value; }
  int32_t& Cell(int X, int Y) { return FValues[Index(X, Y)]; }
  int32_t Cell(int X, int Y) const { return FValues[Index(X, Y)]; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Size() const { return FWidth * FHeight; }
  int32_t Divisor() const { return FDivisor; }
  void SetDivisor(int32_t Divisor) { FDivisor = Divisor; }
  int32_t Offset() const { return FOffset; }
  void SetOffset(int32_t Offset) { FOffset = Offset; }
  const TMatrixValues& Values() const { return FValues; }
  TMatrixValues& Values() { return FValues; }

  // The sum of all values (0 or negative are possible: the caller decides).
  int32_t CalcDefaultDivisor() const;
  // Turns a square box-like kernel of size 2 * Trunc(Radius) + 3 into one of
  // fractional radius: inner values times 10, the outermost ring times
  // Round(Frac(Radius) * 10), then the default divisor. Nothing when Radius <=
  // 0, when it has no fractional part, or for any other size.
  void SetRadius(double Radius);

private:
  size_t Index(int X, int Y) const { return static_cast<size_t>(X) + static_cast<size_t>(Y) * FWidth; }

  TMatrixValues FValues;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int32_t FDivisor = 1;
  int32_t FOffset = 0;
};

// The entry point of the matrix filters. Nothing when Amount < 1 or the
// matrix is empty; Amount is capped at 500. Threshold <= 0 gives
// ConvolveAmount; above 0 a pixel changes only when its channel sum and the
// filtered sum differ by at least min(Threshold, 255) * 3, and then moves
// toward the filtered value by Amount percent.
void Convolve(TBitmap& Bitmap, const TFilterMatrix& Matrix, int Amount, int Threshold, const TRect& Rect);
// Each channel v := v + Amount * (N - v) div 100, clamped, N the filtered
// value (Offset + S div Divisor, unclamped); Amount is limited to -500..500
// and 100 gives ConvolveFull.
void ConvolveAmount(TBitmap& Bitmap, const TFilterMatrix& Matrix, int Amount, const TRect& Rect);
// Each channel := N clamped to 0..255.
void ConvolveFull(TBitmap& Bitmap, const TFilterMatrix& Matrix, const TRect& Rect);
// A divisor of 0 (which no producer makes) counts as 1 in all three.

// The pixel of least (greatest) R + G + B over the (2Rx+1) x (2Ry+1) window;
// among equal sums the first in window order (top row first, left to right).
// Negative radii count as 0; nothing when both are below 1.
void MinimumPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect);
void MaximumPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect);
// Pass (N, 0), then pass (0, N).
void Minimum24(TBitmap& Bitmap, int N, const TRect& Rect);
void Maximum24(TBitmap& Bitmap, int N, const TRect& Rect);

// The median by brightness b = (R + G + B) div 3 over the window of n pixels:
// the darkest brightness at which the count of the window's pixels reaches
// n div 2, and of the pixels of that brightness the last in window order.
void MedianPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect);
void Median24(TBitmap& Bitmap, int N, const TRect& Rect);

// Over a (2R+1) x (2R+1) window. Nothing when Radius < 1 or Amount < 1;
// Amount is capped at 500. DeNoiseLum24 moves a pixel toward the median
// pixel by Amount percent when their channel sums differ by at least
// min(Threshold, 255) * 3; DeNoiseRGB24 moves each channel toward its own
// median value when they differ by at least min(Threshold, 255).
void DeNoiseLum24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, const TRect& Rect);
void DeNoiseRGB24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, const TRect& Rect);

// Local contrast of the tones around B1: for each pixel of Rect whose
// blurred brightness g = (R + G + B) div 3 in Blurred (read at the same place)
// lies strictly between B1 and B2, each channel v := Round(v + (v - B1) * k),
// k = Amount / 100 * 3.97 * ((B2 - g) / (B2 - B1))^2. Nothing when Amount = 0.
void ToneZoneContrast24(TBitmap& Bitmap, const TBitmap& Blurred, int B1, int B2, int Amount, const TRect& Rect);
// Brightens the shadows and darkens the highlights by the tones of the
// neighbourhood: a copy blurred by GaussianBlurRadius (Radius) inside Rect
// drives ToneZoneContrast24 for the highlights (HighLo toward HighHi), then
// for the shadows. Nothing when Radius < 1.
void ShadowsHighlights24(TBitmap& Bitmap, int ShadowLo, int ShadowHi, int ShadowAmount, int HighLo, int HighHi,
                         int HighAmount, int Radius, const TRect& Rect);
