// Stretching a source rectangle of a 24-bit bitmap onto a destination
// rectangle of another size: nearest neighbour (plain, opacity, grey mask,
// mask with opacity, colour key, silhouette), bilinear, through a sampler of
// the scan-line access, and by area averaging (halftone). Depends on
// raster/Bitmap24 (mixes and the equal-size copies), raster/ScanMan (samplers)
// and raster/FilterEvent (progress).
//
// Every routine takes (Src, SrcRect, Dst, DstRect, DstClip, ...): SrcRect is
// clipped to Src, DstRect is where it lands (empty or reversed: nothing),
// DstClip limits the writing and is clipped to Dst; WholeBitmapRect may be
// passed for SrcRect and DstClip. Destination pixel (x, y) looks at the source
// position FX = (x - DstRect.Left) / ScaleX + SrcRect.Left (likewise FY), with
// ScaleX = width(DstRect) / width(SrcRect) and no half-pixel offset; the
// nearest-neighbour routines take (min(Trunc(FX), SrcRect.Right - 1),
// min(Trunc(FY), SrcRect.Bottom - 1)).
//
// When DstRect and the clipped SrcRect have the same size, every routine but
// the silhouette and the halftone does the matching copy of Bitmap24.
// Masks are grey masks with the geometry of Src (0 opaque, 255 transparent);
// where a mask is smaller than SrcRect the missing pixels are transparent.
// Opacity is a percent (above 100 counts as 100). Bitmaps, masks included,
// that are not 24-bit make a routine do nothing (the halftone takes any
// format). Src, the mask and Dst may be the same bitmap: the source is read as
// it was.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

// d := s.
void StretchRect24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect, const TRect& DstClip);
// MixPercent(d, s, Opacity): 0 or less draws nothing, 100 or more is StretchRect24.
void StretchRect24Opacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                          const TRect& DstClip, int Opacity);
// A mask byte of 255 skips the pixel, others MixMask; no mask (null or empty)
// is StretchRect24.
void StretchRect24Mask(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                       const TRect& DstClip, const TBitmap* Mask);
// MixMaskPercent; no mask is StretchRect24Opacity, Opacity 100 StretchRect24Mask.
void StretchRect24MaskOpacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                              const TRect& DstClip, int Opacity, const TBitmap* Mask);
// MixPercentColorKey with ColorToTRGB(KeyColor); clNone is
// StretchRect24Opacity, a negative tolerance counts as 0.
void StretchRect24ColorKey(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                           const TRect& DstClip, int Opacity, TColor KeyColor, int Tolerance);
// d := Color where s equals Src's transparent colour in all three bytes;
// nothing when Src is not Transparent. No equal-size copy.
void StretchSilhouette24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                         const TRect& DstClip, TColor Color);

// The smooth stretches report progress (one begin with the height of the
// clipped DstClip, one step per row drawn); a cancel at the begin draws
// nothing, a later one keeps the rows drawn so far.

// The bilinear mix of the four source pixels around (FX, FY), the right and
// bottom neighbours held to SrcRect.
void StretchRect24Bilinear(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                           const TRect& DstClip);
// Src sampled at (FX, FY) with amBicubic, positions beyond SrcRect reading
// its nearest edge pixel.
void StretchRect24Bicubic(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                          const TRect& DstClip);
// s := Src sampled with Mode as above; with a mask, m := the mask sampled
// bilinearly (nearest for amNearest), white beyond SrcRect, and
// MixMaskPercent(d, s, m, Opacity); without, MixPercent(d, s, Opacity).
// Opacity below 1 draws nothing.
void StretchRect24Interpolated(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                               const TRect& DstClip, TAntialiasMode Mode, int Opacity, const TBitmap* Mask);

// The area-averaging stretch of the platform, limited to DstClip and to the
// clip rectangle of Dst's canvas (which is left as it was).
void StretchRectHalftone(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                         const TRect& DstClip);
