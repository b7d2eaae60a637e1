// The round footprint shared by the painting engines and the radial ramps:
// the square of side 2R + 1 around a point cut to a clip rectangle, the
// integer distance of its pixels to the point and the weight rule with a
// full-strength core. Depends on raster (IntDistance, ClipToBitmap).
#pragma once

#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/LayerPaint.h"
#include "raster/RectUtils.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The largest side of a scratch stamp the engines make (brush stamps, line
// stamps, scaled nozzle frames): 4096 x 4096 x 3 bytes is 48 MB. Larger
// requests draw nothing rather than ask for gigabytes.
constexpr int MaxStampSide = 4096;

// IntDistance(0, 0, DX, DY), computed faster. IntDistance's Newton steps end
// on floor(sqrt(S)) for every squared distance S except S = k * k - 1, where
// they may stop at k; those few are handed to IntDistance itself, the rest
// come from one square root (exact for the offsets used here).
inline int FootprintDistance(int DX, int DY) {
  constexpr int Limit = 1 << 25; // S stays far below 2^53, where sqrt is exact
  if (DX >= Limit || DX <= -Limit || DY >= Limit || DY <= -Limit) return IntDistance(0, 0, DX, DY);
  const int64_t S = static_cast<int64_t>(DX) * DX + static_cast<int64_t>(DY) * DY;
  int64_t R = static_cast<int64_t>(std::sqrt(static_cast<double>(S)));
  while (R * R > S) --R;
  while ((R + 1) * (R + 1) <= S) ++R;
  if ((R + 1) * (R + 1) == S + 1) return IntDistance(0, 0, DX, DY);
  return static_cast<int>(R);
}

// FootprintDistance(DX, DY) for DX = 0..MaxDX into Out: one row of
// distances, found by walking the root up as the squared distance grows
// rather than taking a root per pixel.
inline void RowDistances(int DY, int MaxDX, std::vector<int>& Out) {
  Out.resize(static_cast<size_t>(MaxDX) + 1);
  constexpr int Limit = 1 << 25;
  if (DY >= Limit || DY <= -Limit || MaxDX >= Limit) {
    for (int DX = 0; DX <= MaxDX; ++DX) Out[DX] = FootprintDistance(DX, DY);
    return;
  }
  const int64_t DY2 = static_cast<int64_t>(DY) * DY;
  int64_t R = DY < 0 ? -int64_t{DY} : DY;
  for (int DX = 0; DX <= MaxDX; ++DX) {
    const int64_t S = DY2 + static_cast<int64_t>(DX) * DX;
    while ((R + 1) * (R + 1) <= S) ++R;
    Out[DX] = (R + 1) * (R + 1) == S + 1 ? IntDistance(0, 0, DX, DY) : static_cast<int>(R);
  }
}

// P when D <= Core, else P * (R - D) div (R - Core); callers keep Core < R.
inline int FootprintWeight(int P, int D, int R, int Core) { return D <= Core ? P : P * (R - D) / (R - Core); }

// The footprint of radius R around (X, Y) in Bitmap: Clip normalised and cut
// to the bitmap, then the square (X - R, Y - R, X + R + 1, Y + R + 1) cut to
// it. False (nothing to do) when R <= 0, the bitmap is not a usable 24-bit
// one, or nothing is left.
inline bool FootprintRect(const TBitmap& Bitmap, TRect Clip, int X, int Y, int R, TRect& F) {
  if (R <= 0 || Bitmap.Empty() || Bitmap.PixelFormat() != pf24bit || !ClipToBitmap(Clip, Bitmap)) return false;
  const TRect Square{ClampToInt(int64_t{X} - R), ClampToInt(int64_t{Y} - R), ClampToInt(int64_t{X} + R + 1),
                     ClampToInt(int64_t{Y} + R + 1)};
  F = IntersectRect(Square, Clip);
  return !F.IsEmpty();
}

// The layer's grey mask when it is usable (given, 24-bit, not empty), else
// nullptr: the layer is then opaque.
inline TBitmap* UsableMask(TBitmap* Mask) {
  return Mask && !Mask->Empty() && Mask->PixelFormat() == pf24bit ? Mask : nullptr;
}
inline const TBitmap* UsableMask(const TBitmap* Mask) { return UsableMask(const_cast<TBitmap*>(Mask)); }

// Clip normalised and, with a mask, cut to the mask too, so that a mask
// smaller than its layer limits the painting to the part it covers.
inline TRect MaskedClip(const TRect& Clip, const TBitmap* Mask) {
  const TRect R = NormalizeTRect(Clip);
  return Mask ? IntersectRect(R, BitmapRect(*Mask)) : R;
}

// Paint S with alpha A on a layer pixel: "over" pixel and mask when the layer
// has a mask (M), else mixed into the pixel.
inline void PaintOnLayer(TRGB& D, TRGB* M, TRGB S, int A) {
  if (M)
    PaintPixelOnLayer(D, *M, S, A);
  else
    MixAlpha(D, S, A);
}
