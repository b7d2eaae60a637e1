// What the filter tests share: the random test image, the rectangles every
// routine must clip alike, and pixel access with the edge rule of the
// neighbourhood filters, for the plain references written in the tests.
#pragma once

#include "filters/Convolution.h"
#include "raster/Pixels.h"
#include "raster/RectUtils.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#define ASSERT_IMAGES_MATCH(Actual, Expected, ...) ASSERT_TRUE(ImagesMatch(Actual, Expected, ##__VA_ARGS__))

namespace FilterTest {

constexpr int ImageWidth = 64;
constexpr int ImageHeight = 48;

// A 64 x 48 (or other) 24-bit image of random bytes.
inline void RandomImage(TBitmap& B, unsigned Seed, int W = ImageWidth, int H = ImageHeight) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
}

// The whole bitmap, inner, reversed, partly outside, one column, one row,
// wholly outside.
inline const std::vector<TRect>& TestRects() {
  static const std::vector<TRect> Rects{WholeBitmapRect, {5, 7, 50, 40},  {50, 40, 5, 7},      {-10, 30, 20, 100},
                                        {17, 3, 18, 45}, {2, 20, 60, 21}, {100, 100, 200, 200}};
  return Rects;
}

// The pixel at (X, Y) with both coordinates clamped into R.
inline TRGB Clamped(const TBitmap& B, const TRect& R, int64_t X, int64_t Y) {
  X = std::clamp<int64_t>(X, R.Left, R.Right - 1);
  Y = std::clamp<int64_t>(Y, R.Top, R.Bottom - 1);
  return RowOf(B, static_cast<int>(Y))[X];
}

inline uint8_t Clip255(int64_t V) { return static_cast<uint8_t>(std::clamp<int64_t>(V, 0, 255)); }

// Channel I (0 blue, 1 green, 2 red) of a pixel.
inline int Channel(const TRGB& P, int I) { return I == 0 ? P.Blue : (I == 1 ? P.Green : P.Red); }
inline void SetChannel(TRGB& P, int I, int V) {
  (I == 0 ? P.Blue : (I == 1 ? P.Green : P.Red)) = static_cast<uint8_t>(V);
}

// Expected = a copy of Src with F(Expected pixel, X, Y) applied over the
// clipped Rect; returns false when the rect is empty.
template <class F> bool ReferenceOver(const TBitmap& Src, TBitmap& Expected, const TRect& Rect, F&& Fn) {
  Expected.Assign(Src);
  TRect R = Rect;
  if (!ClipToBitmap(R, Src)) return false;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) Fn(RowOf(Expected, Y)[X], X, Y, R);
  return true;
}

inline void SetPixel(TBitmap& B, int X, int Y, TRGB P) { RowOf(B, Y)[X] = P; }
inline TRGB PixelAt(const TBitmap& B, int X, int Y) { return RowOf(B, Y)[X]; }

// Convolve written straight from its definition: sums over the clamped
// window of the unfiltered source in 64 bits, then the amount or threshold
// form.
inline void ReferenceConvolve(const TBitmap& Src, TBitmap& Expected, const TFilterMatrix& M, int Amount, int Threshold,
                              const TRect& Rect) {
  Expected.Assign(Src);
  if (Amount < 1 || M.Width() < 1 || M.Height() < 1) return;
  Amount = std::min(Amount, 500);
  const int64_t D = M.Divisor() == 0 ? 1 : M.Divisor();
  const int Rx = (M.Width() - 1) / 2, Ry = (M.Height() - 1) / 2;
  ReferenceOver(Src, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
    int64_t N[3];
    for (int C = 0; C < 3; ++C) {
      int64_t S = 0;
      for (int I = 0; I < M.Height(); ++I)
        for (int J = 0; J < M.Width(); ++J)
          S += int64_t{M.Cell(J, I)} * Channel(Clamped(Src, R, X + J - Rx, Y + I - Ry), C);
      N[C] = M.Offset() + S / D;
    }
    const TRGB P = PixelAt(Src, X, Y);
    if (Threshold > 0) {
      const int64_t Old = P.Blue + P.Green + P.Red;
      if (std::llabs(Old - (N[0] + N[1] + N[2])) < std::min(Threshold, 255) * 3) return;
      for (int C = 0; C < 3; ++C) SetChannel(Out, C, Clip255(Channel(P, C) + (N[C] - Channel(P, C)) * Amount / 100));
    } else {
      for (int C = 0; C < 3; ++C)
        SetChannel(Out, C, Clip255(Amount == 100 ? N[C] : Channel(P, C) + Amount * (N[C] - Channel(P, C)) / 100));
    }
  });
}

} // namespace FilterTest
