// Layer geometry: drawing a bitmap through a TTransformation, and the helpers
// the layers use on their bitmap and grey mask together (flips and quarter
// turns by code, scaling with colour bleeding under transparent pixels,
// applying a pending transformation, cropping to the opaque part, growing,
// mask tests, and the splits between a bitmap with transparency and a bitmap
// plus mask). Depends on raster/Stretching, Resampling, Rotation24, ImgUtils,
// GreyMasks, ScanMan, Transparency and the progress service; used by the
// layers, the layered image, the layer merge helpers and the correction
// dialogs' previews.
//
// Every bitmap is 24-bit; a layer's mask is a grey mask (0 opaque, 255
// transparent) of its bitmap's size.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"
#include "raster/TransformData.h"

#include <cstdint>

// Src drawn into Dst through T over T's bounds clipped to Dst. A pure
// translation, or a pure scaling with amNearest, stretches T.SrcRect onto the
// bounds (the part inside Dst), without progress. Otherwise every pixel of
// the clipped bounds is mapped back into Src and sampled with Mode where the
// sampler has a value: outside Src it reads BackColor, or the nearest edge
// pixel when BackColor is clNone; pixels mapped beyond the sampler's reach
// keep their value. One progress pass over the rows; a cancel keeps the rows
// drawn. Src and Dst must be distinct.
void DrawTransformed(const TBitmap& Src, TBitmap& Dst, TTransformation& T, TAntialiasMode Mode, TColor BackColor);

// Bitmap and Mask replaced by their images through T, T being moved first so
// that its bounds start at (0, 0) (the caller's T is changed). Outside the
// transformed picture the mask is 255 and the bitmap white; colours are bled
// under transparent pixels first so that edges do not darken. An empty mask
// counts as opaque and the result has one. Two progress passes.
void TransformBitmapAndMask(TBitmap& Bitmap, TBitmap& Mask, TTransformation& T);

// The bleed radius of ScaleBitmapAndMask from an SW x SH source to W x H: 0
// at the same size, 2 when both sides grow, else Ceil of the largest factor
// either way, at most 77.
int ScaleBleedRadius(int SW, int SH, int W, int H);
// Resizes a bitmap and its mask to W x H. SrcBitmap and SrcMask may be
// nullptr (or empty): the Dst bitmaps are then scaled in place. Filter 0 is
// nearest neighbour, else a kernel of ResampleBitmap (5 Lanczos3); sizes of
// 1 always take the nearest. The case follows DstMask: without one only the
// bitmap is scaled; an all-opaque one becomes a new opaque W x H mask; any
// other is replaced by the source mask (SrcMask, or DstMask itself) stretched
// bilinearly (nearest for Filter 0), after the colours were bled under the
// transparent pixels of the source bitmap, which is changed there.
void ScaleBitmapAndMask(int W, int H, uint8_t Filter, TBitmap* SrcBitmap, const TBitmap* SrcMask, TBitmap& DstBitmap,
                        TBitmap& DstMask);
void ScaleBitmapAndMaskLanczos3(int W, int H, TBitmap& Bitmap, TBitmap& Mask);

// Every pixel of R whose mask byte is 255 takes the colour of a pixel on the
// square ring at distance Radius around it whose mask byte is below 255
// (for k from -Radius to Radius: (x + k, y - R), (x + k, y + R), (x - R,
// y + k), (x + R, y + k), the first of the four that qualifies; the last k
// that finds one decides). Only pixels inside R serve. Nothing when Radius < 1
// or the mask is not of the bitmap's size.
void BleedColorsIntoTransparent(TBitmap& Bitmap, const TBitmap& Mask, int Radius, const TRect& R);

// 0 flips top-bottom, 1 mirrors left-right, 2 a quarter turn clockwise, 3 a
// quarter turn anticlockwise, 4 a half turn; other codes and empty bitmaps
// nothing.
void FlipRotateBitmap(TBitmap& Bitmap, int Code);
// Bitmap and mask cropped to the mask without its border of 255, Pos moved so
// that the pixels stay in place. Nothing when the mask is all 255 or has no
// such border.
void AutoCropLayer(TBitmap& Bitmap, TBitmap& Mask, TPoint& Pos);
// A white W x H bitmap receiving Bitmap's pixels at (X, Y) replaces Bitmap;
// nothing for an empty bitmap.
void ExpandBitmap(TBitmap& Bitmap, int W, int H, int X, int Y);
// Pixels whose mask byte is 255 become white; nothing without a mask.
void WhitenMaskedPixels(TBitmap& Bitmap, const TBitmap& Mask);
// Every mask byte is 0.
bool IsMaskOpaque(const TBitmap& Mask);
// (X, Y) lies in a non-empty mask and its byte is 255.
bool IsMaskPixelTransparent(const TBitmap& Mask, int X, int Y);
// A new 24-bit W x H bitmap of Color.
void ResetLayerBitmap(TBitmap& Bitmap, int W, int H, TColor Color);
void ShiftLayerBitmap(TBitmap& Bitmap, int Dx, int Dy, bool Wrap);
// Any bitmap split into a 24-bit copy and a grey mask; 2 mask from alpha, 1
// mask from the transparent colour, 0 opaque (empty mask).
int SplitToBitmapAndMask(const TBitmap& Src, TBitmap& Bitmap, TBitmap& Mask);
// A 32-bit bitmap with alpha = 255 - mask.
void CombineToRGBA(const TBitmap& Bitmap, const TBitmap& Mask, TBitmap& Dst);
