// Painting onto a layer through its transparency: a colour, a bitmap or a
// tiled pattern laid "over" a 24-bit target and, when the target has a grey
// mask, onto that mask too, so that paint on transparent pixels makes them
// more opaque. Depends on raster/Bitmap24 (MixAlpha) and raster/BlendModes
// (blend functions and their process-wide selection); used by the painting
// tools, the fill pattern, the clipboard paste and the layer merges.
//
// Paint alpha A: 255 is full paint. A positive Opacity percent becomes
// A0 := min(Opacity, 100) * 255 div 100 once per call; each transparency
// source that applies (source mask, paint mask, pattern mask, extra mask)
// then scales it per pixel: A := A * (255 - t) div 255.
//
// Masks are 24-bit grey bitmaps (0 opaque, 255 transparent). A target mask
// (DstMask) that is nullptr or empty means an opaque target with no mask to
// update; one smaller than the target limits the painting to the part it
// covers. Other masks read as transparent outside their own size. An
// ExtraMask lies over the target from (0, 0) and repeats when smaller. A
// bitmap of any other format than 24-bit makes the routine do nothing.
#pragma once

#include "raster/BlendModes.h"

// ---- Per-pixel routines -------------------------------------------------------
// d: target pixel; M: its mask pixel (both changed); s: paint pixel; A: paint alpha.

// "Over" painting: on a fully transparent pixel the paint replaces the colour
// and its coverage becomes the mask; on an opaque one the colour mixes by A;
// in between the coverage grows to C = Alpha + A - Alpha * A div 255 and the
// colour moves toward s by A * 255 div C. A <= 0 does nothing; above 255
// counts as 255.
void PaintPixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A);
// The same with the colour change through the current blend function; a
// fully transparent pixel takes the paint colour itself.
void BlendPixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A);
// Negative painting (A < 0, below -255 counts as -255): thins the coverage and
// pushes the colour away from the current blend result. A = -255 on a partly
// covered pixel pushes by the whole difference (weight -255) rather than by
// the coverage rule's -255 * 255 div C.
void ErasePixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A);

// ---- Rectangle routines -------------------------------------------------------

// SrcRect of Src at (X, Y) of Dst inside DstClip, through Src's own optional
// transparency mask SrcMask (Src's geometry). Opacity < 1 does nothing.
void PaintBitmapOnLayer(const TBitmap& Src, const TBitmap* SrcMask, TRect SrcRect, TBitmap& Dst, TBitmap* DstMask,
                        int X, int Y, TRect DstClip, int Opacity);
// The same with a blend mode; a mode that means Normal paints as above.
void BlendBitmapOnLayer(const TBitmap& Src, const TBitmap* SrcMask, TRect SrcRect, int BlendMode, TBitmap& Dst,
                        TBitmap* DstMask, int X, int Y, TRect DstClip, int Opacity);
// A flat colour through Mask (brush, selection), MaskRect of it placed at
// (X, Y), and through an optional ExtraMask.
void PaintColorOnLayer(const TBitmap& Mask, TColor Color, TRect MaskRect, TBitmap& Dst, TBitmap* DstMask, int X, int Y,
                       TRect DstClip, int Opacity, const TBitmap* ExtraMask);
// A flat colour over Rect, Opacity -100..100; a negative opacity erases.
void FillColorOnLayer(TColor Color, TBitmap& Dst, TBitmap* DstMask, TRect Rect, int Opacity);
void BlendFillColorOnLayer(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, TRect Rect, int Opacity);
// Pattern tiled so that its pixel (0, 0) lies at (OrgX, OrgY), through its own
// optional mask (its size) and an optional ExtraMask. An empty pattern paints
// nothing.
void PaintPatternOnLayer(const TBitmap& Pattern, const TBitmap* PatternMask, TBitmap& Dst, TBitmap* DstMask, int OrgX,
                         int OrgY, TRect Rect, int Opacity, const TBitmap* ExtraMask);
