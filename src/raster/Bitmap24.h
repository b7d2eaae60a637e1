// The building blocks of every 24-bit pixel routine: single-pixel mixes,
// rectangle copies between bitmaps (opacity, grey mask, colour key), pattern
// tiling, painting a colour or a pattern through a mask, texture effects, and
// creating and assigning 24-bit bitmaps. Depends on raster/Pixels and
// raster/RectUtils; used by every raster routine above it.
//
// Conventions of the copy routines (Src, SrcRect, Dst, X, Y, DstClip):
// - the clipped SrcRect is placed with its top-left corner at (X, Y) of Dst and
//   painted only inside DstClip; both rectangles may be reversed, partly or
//   wholly outside, or WholeBitmapRect. Clipping the source moves the clipped
//   part, not the destination.
// - a grey mask is read at the source position (it has the source's geometry):
//   255 skips the pixel, 0 takes the source, values between weight it by
//   (255 - m) / 255. Only the first byte (Blue) of a mask pixel counts. Where a
//   mask is smaller than the area read from it, the missing pixels count as 255.
// - opacity is a percentage: 100 and more is opaque, 0 and less does nothing.
// - a colour key of clNone means no key.
// - a copy within one bitmap gives what a copy from the unchanged source gives.
// - bitmaps that are not 24-bit, and empty patterns or textures, make the
//   routines do nothing.
// No routine reports an error; none touches memory outside its bitmaps.
#pragma once

#include "raster/Pixels.h"
#include "raster/RectUtils.h"

#include <cstdint>

// ---- Pixel helpers --------------------------------------------------------
// d is the destination pixel changed in place, s the source. Every division
// truncates toward zero and no result leaves 0..255: percentages are capped
// at 100 and a percentage or alpha of 0 or less leaves d unchanged.

inline TRGB InvertTRGB(TRGB P) {
  return {static_cast<uint8_t>(255 - P.Blue), static_cast<uint8_t>(255 - P.Green), static_cast<uint8_t>(255 - P.Red)};
}

// The pixel at (X, Y); black outside the bitmap.
inline TRGB GetPixel24(const TBitmap& Bitmap, int X, int Y) {
  if (static_cast<unsigned>(X) >= static_cast<unsigned>(Bitmap.Width()) ||
      static_cast<unsigned>(Y) >= static_cast<unsigned>(Bitmap.Height()))
    return {0, 0, 0};
  if (Bitmap.PixelFormat() != pf24bit) return ColorToTRGB(Bitmap.PixelColor(X, Y));
  return RowOf(Bitmap, Y)[X];
}

// Tolerance < 1: the pixels are equal; otherwise no channel differs by more.
inline bool TRGBNear(TRGB P1, TRGB P2, int Tolerance) {
  if (Tolerance < 1) return P1 == P2;
  return P1.Blue - P2.Blue <= Tolerance && P2.Blue - P1.Blue <= Tolerance && P1.Green - P2.Green <= Tolerance &&
         P2.Green - P1.Green <= Tolerance && P1.Red - P2.Red <= Tolerance && P2.Red - P1.Red <= Tolerance;
}

namespace Bitmap24Detail {
// d := d + (s - d) * W div Div on each channel; W in 0..Div.
template <int Div> inline void MixWeighted(TRGB& D, TRGB S, int W) {
  D.Blue = static_cast<uint8_t>(D.Blue + (S.Blue - D.Blue) * W / Div);
  D.Green = static_cast<uint8_t>(D.Green + (S.Green - D.Green) * W / Div);
  D.Red = static_cast<uint8_t>(D.Red + (S.Red - D.Red) * W / Div);
}
inline bool WithinKey(TRGB S, TRGB Key, int Tolerance) {
  return S.Blue - Key.Blue <= Tolerance && Key.Blue - S.Blue <= Tolerance && S.Green - Key.Green <= Tolerance &&
         Key.Green - S.Green <= Tolerance && S.Red - Key.Red <= Tolerance && Key.Red - S.Red <= Tolerance;
}
} // namespace Bitmap24Detail

// Percent >= 100: d := s; otherwise d := d + (s - d) * Percent div 100.
inline void MixPercent(TRGB& D, TRGB S, int Percent) {
  if (Percent >= 100)
    D = S;
  else if (Percent > 0)
    Bitmap24Detail::MixWeighted<100>(D, S, Percent);
}

// Mask byte m (first byte of M): 0 gives s, 255 leaves d, between
// d := d + (s - d) * (255 - m) div 255.
inline void MixMask(TRGB& D, TRGB S, TRGB M) {
  if (M.Blue == 0)
    D = S;
  else
    Bitmap24Detail::MixWeighted<255>(D, S, 255 - M.Blue);
}

// W := (255 - m) * Percent div 100, then d := d + W * (s - d) div 255.
inline void MixMaskPercent(TRGB& D, TRGB S, TRGB M, int Percent) {
  if (Percent <= 0) return;
  if (Percent >= 100) {
    MixMask(D, S, M);
    return;
  }
  Bitmap24Detail::MixWeighted<255>(D, S, (255 - M.Blue) * Percent / 100);
}

// A source within Tolerance of Key on every channel leaves d; otherwise
// d := d + Percent * (s - d) div 100. A negative tolerance matches nothing.
inline void MixPercentColorKey(TRGB& D, TRGB S, int Percent, TRGB Key, int Tolerance) {
  if (Percent <= 0 || Bitmap24Detail::WithinKey(S, Key, Tolerance)) return;
  Bitmap24Detail::MixWeighted<100>(D, S, Percent < 100 ? Percent : 100);
}

// Alpha byte a (first byte of A; 0 nothing, 255 full): W := Percent * a div
// 100, then d := d + W * (s - d) div 255.
inline void MixAlphaMaskPercent(TRGB& D, TRGB S, TRGB A, int Percent) {
  if (Percent <= 0) return;
  Bitmap24Detail::MixWeighted<255>(D, S, (Percent < 100 ? Percent : 100) * A.Blue / 100);
}

// Alpha >= 255: d := s; otherwise d := d + Alpha * (s - d) div 255.
inline void MixAlpha(TRGB& D, TRGB S, int Alpha) {
  if (Alpha >= 255)
    D = S;
  else if (Alpha > 0)
    Bitmap24Detail::MixWeighted<255>(D, S, Alpha);
}

// ---- Copies between bitmaps -------------------------------------------------

// d := s.
void CopyRect24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip);
// The whole of Src at (X, Y) of Dst.
void CopyBitmap24(const TBitmap& Src, TBitmap& Dst, int X, int Y);
void CopyBitmap24Origin(const TBitmap& Src, TBitmap& Dst);
// MixPercent by Opacity.
void CopyRect24Opacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                       int Opacity);
// MixMask through Mask; a null or empty mask copies.
void CopyRect24Mask(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                    const TBitmap* Mask);
// MixMaskPercent through Mask; a null or empty mask gives CopyRect24Opacity.
void CopyRect24MaskOpacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                           int Opacity, const TBitmap* Mask);
// MixPercentColorKey with the key ColorToTRGB(KeyColor); clNone gives
// CopyRect24Opacity. A negative tolerance matches no pixel.
void CopyRect24ColorKey(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                        int Opacity, TColor KeyColor, int Tolerance);

// ---- Tiling -------------------------------------------------------------------
// Pixel (x, y) of Rect takes the pattern pixel ((x - X) mod PW, (y - Y) mod PH),
// remainders non-negative: the pattern's top-left pixel lies at (X, Y).

void TileBitmap24(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect);
void TileBitmap24Opacity(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity);
// The mask is tiled exactly like the pattern; a null or empty mask gives
// TileBitmap24Opacity.
void TileBitmap24MaskOpacity(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity,
                             const TBitmap* Mask);
// clNone gives TileBitmap24Opacity; a negative tolerance counts as 0, so exact
// key pixels are still skipped.
void TileBitmap24ColorKey(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity,
                          TColor KeyColor, int Tolerance);

// ---- Painting through a mask --------------------------------------------------
// The mask takes the place of the source in the placement.

// MixMaskPercent of Color.
void FillColorMask24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                     TColor Color, int Opacity);
// MixMaskPercent of Pattern, anchored at the top-left corner of the painted
// destination rectangle.
void FillPatternMask24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                       const TBitmap& Pattern, int Opacity);
// d := Color where the mask byte lies in Lo..Hi (both included).
void FillColorByteRange24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                          TColor Color, int Lo, int Hi);
// Through an alpha mask (0 nothing, 255 full): MixAlphaMaskPercent of Color.
void FillColorAlpha24(const TBitmap& Alpha, const TRect& AlphaRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                      TColor Color, int Opacity);

// ---- Texture effects ----------------------------------------------------------
// Percent <= 0 does nothing, above 100 counts as 100.

// Texel at ((x - R.Left) mod TW, (y - R.Top) mod TH): a sum of channels <= 15
// darkens by Percent, >= 750 lightens by Percent, others leave the pixel.
void ApplyTextureTone24(const TBitmap& Texture, TBitmap& Dst, const TRect& Rect, int Percent);
// Lightens or darkens by the texel's distance from mid-grey; the texture is
// shifted by the offsets from the top-left corner of the clipped Rect.
void ApplyTextureRelief24(const TBitmap& Texture, TBitmap& Dst, int OffsetX, int OffsetY, const TRect& Rect,
                          int Percent);
// The relief with the texture scaled by Scale (> 0; otherwise nothing).
void ApplyTextureReliefScaled24(const TBitmap& Texture, TBitmap& Dst, double Scale, const TRect& Rect, int Percent);

// ---- Creation and assignment --------------------------------------------------

// Releases the image, clears Transparent, makes the bitmap 24-bit with its
// brush colour Color and sets the size: every pixel is Color.
void NewBitmap24(TBitmap& Bitmap, int Width, int Height, TColor Color);
// NewBitmap24 unless the bitmap is already 24-bit of that size (it then keeps
// its pixels).
void EnsureBitmap24(TBitmap& Bitmap, int Width, int Height, TColor Color);
// Dst becomes a 24-bit copy of Src with its transparency settings. A source of
// another format is converted.
void Assign24(const TBitmap& Src, TBitmap& Dst);
