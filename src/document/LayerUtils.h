// The per-layer drawing operations of the compositor, as free routines over
// 24-bit bitmaps: a layer bitmap through its mask with an opacity and a blend
// mode (1:1, stretched to the zoom, through a pending transformation, or into
// a target that keeps a mask), a colour layer, an adjustment layer, overlays,
// and the drop shadows of layers. Each picks the raster routine that does the
// work. Depends on the raster core and the point filters and blurs; used by
// the layered image, the layers panel's thumbnails and the selection control.
//
// Every routine uses the whole source and paints only inside the destination
// clip Clip (WholeBitmapRect allowed). A mask is a grey mask of the source's
// size (0 opaque, 255 transparent); nullptr or an empty bitmap means none.
// Opacity is a percent; BlendMode a layer blend-mode code, Normal taking the
// plain (faster) routines. A shadow is described by a TLayerShadowInfos SI,
// used limited to its ranges (UsedShadowInfos); a shadow mask is a grey mask
// in which 255 means no shadow.
#pragma once

#include "document/MyGraphic.h"
#include "raster/Pixels.h"
#include "raster/TransformData.h"

// ---- Bitmap layers, 1:1: Src's top-left at (X, Y) of Dst ---------------------------

void PutBitmap(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip);
// Through Mask; without one, Src's transparent colour (when Src.Transparent)
// is skipped exactly; otherwise a plain copy at Opacity.
void PutBitmapOpacity(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip, int Opacity,
                      const TBitmap* Mask);
// A blend mode other than Normal blends (ignoring Src's transparent colour).
void PutBitmapBlend(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip, int Opacity, const TBitmap* Mask,
                    int BlendMode);
// Into a destination with a mask of its own, which the paint makes more
// opaque by the "over" rule.
void PutBitmapRGBA(const TBitmap& Src, const TBitmap* SrcMask, int BlendMode, TBitmap& Dst, TBitmap* DstMask, int X,
                   int Y, const TRect& Clip, int Opacity);

// ---- Bitmap layers stretched onto DestRect (nearest neighbour unless stated) ----

void PutBitmapStretch(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip);
void PutBitmapStretchOpacity(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip, int Opacity,
                             const TBitmap* Mask);
void PutBitmapStretchBlend(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip, int Opacity,
                           const TBitmap* Mask, int BlendMode);
// Smoothed (halftone) stretching, for the smoothed zoom.
void PutBitmapStretchSmooth(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip);

// ---- Through a transformation ---------------------------------------------------

// A mask is drawn over white (outside the source stays transparent); an image
// keeps the destination pixels outside the source.
void PutBitmapTransformed(const TBitmap& Src, TBitmap& Dst, TTransformation& Transformation, bool Antialias,
                          bool IsMask);
// The transformed bounds drawn onto DestRect of Dst, nearest neighbour.
void PutBitmapTransformedBlend(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip,
                               TTransformation& Transformation, int Opacity, const TBitmap* Mask, int BlendMode);

// ---- Colour layers, adjustment layers, overlays ---------------------------------------

// Every pixel of Rect moves toward Color by Opacity percent, or away from it
// when Invert.
void FillColorOpacity(TBitmap& Dst, TColor Color, int Opacity, bool Invert, const TRect& Rect);
void FillColorBlend(TBitmap& Dst, TColor Color, int Opacity, bool Invert, const TRect& Rect, int BlendMode);
// Into a destination with a mask of its own.
void FillColorRGBA(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, bool Invert, const TRect& Rect,
                   int Opacity);
// The adjustment of everything under an adjustment layer, scaled by the
// layer's opacity (limited to 0..100): brightness, contrast, saturation, hue
// (each amount * Opacity div 100, skipped at 0), then gamma (Gamma - 1) *
// Opacity / 100 + 1 when Gamma is not 1. A gamma that is not a finite number
// above 0 is left out.
void ApplyAdjustInfos(TBitmap& Dst, const TAdjustLayerInfos& Infos, int Opacity, const TRect& Rect);
void GrayscaleRect(TBitmap& Dst, const TRect& Rect);
// Src tiled over Rect with its top-left pixel at (X, Y).
void TileBitmapOpacity(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity);

// ---- Drop shadows ---------------------------------------------------------------

// R inflated by SI.Blur on every side, then offset by (SI.DX, SI.DY): what the
// shadow of a layer with bounds R covers.
TRect ShadowRect(const TRect& R, const TLayerShadowInfos& SI);
// Radius 1: each pixel the mean of its 2 x 2 block (with the right and lower
// neighbours); 2 or more: the Gaussian blur of that radius. Nothing at 0.
void BlurShadowMask(TBitmap& Mask, int Radius, const TRect& Rect);
// Grain: every pixel of Rect that is not 255 moves by Random(Amount) - Amount
// div 2, from a generator reseeded from the clock.
void DiffuseShadowMask(TBitmap& Mask, int Amount, const TRect& Rect);
// The lstDiffuse style: blur, then grain of 133.
void BlurDiffuseShadowMask(TBitmap& Mask, int Radius, const TRect& Rect);
// The shadow mask of a W x H layer as a bitmap of its own, (W + 2B) x (H + 2B)
// with B the blur: the layer mask at (B, B), blurred, and cleared (255) where
// the layer itself lies, at (B - DX, B - DY). A layer without mask gives 255
// only.
void MakeShadowMask(const TBitmap& LayerMask, TBitmap& ShadowMask, int W, int H, const TLayerShadowInfos& SI);
// The shadow colour painted into Dst through ShadowMask mapped (nearest
// neighbour) onto ShadowRectDst, weakened where LayerMask mapped onto
// LayerRectDst covers Dst, inside Clip.
void PaintShadowScaled(const TBitmap& LayerMask, const TBitmap& ShadowMask, TBitmap& Dst, const TRect& LayerRectDst,
                       const TRect& ShadowRectDst, const TRect& Clip, TColor Color, int Opacity);
// The drop shadow of one layer drawn into Dst. The rectangles come in pairs:
// ...Src in image coordinates, ...Dst in Dst's; the layer bounds, its shadow
// rectangle and the clip. When Dst shows the image reduced, the shadow is
// built at Dst's scale. The shadow is blurred only over the clip plus the
// blur radius. A layer without mask casts no shadow.
void DrawLayerShadow(const TBitmap& LayerMask, TBitmap& Dst, TRect LayerRectSrc, const TRect& LayerRectDst,
                     TRect ShadowRectSrc, TRect ShadowRectDst, TRect ClipSrc, TRect ClipDst, int LayerOpacity,
                     const TLayerShadowInfos& SI);
