// Flood fill of the 4-connected region of similar colour around a seed pixel
// of a 24-bit bitmap: the fill tool paints the region with a colour at an
// opacity, the magic wand records it as a grey mask (0 inside, 255 outside)
// without painting. Depends on raster/Bitmap24 (TRGBNear) and raster/ColorFill
// (FillColor24, which paints the runs); used by the painting tools.
//
// The fill walks runs of pixels with an explicit stack of seeds on the heap
// and one visited bit per pixel, so that any region, however large or
// winding, fills whole without deep recursion. Each fill keeps its state to
// itself: fills may nest or run on several bitmaps at once.
//
// Results: FloodFillDone (the region is filled, or there was nothing to do),
// FloodFillPartial (memory ran out for the seeds: the runs reached so far are
// painted), FloodFillFailed (a mask or output mask of another size or format
// than the bitmap, a bitmap that is not 24-bit, or no memory for the visited
// map; nothing painted).
#pragma once

#include "raster/Pixels.h"

constexpr int FloodFillDone = 2;
constexpr int FloodFillPartial = 1;
constexpr int FloodFillFailed = -1;

// Fills from (X, Y) inside ClipRect (normalised and cut to the bitmap):
// - Opacity <= 0, or a seed outside the clipped rectangle: done, nothing
//   changes. An Opacity above 100 counts as 100.
// - A Mask or OutMask that is not null and not empty must have the bitmap's
//   size and be 24-bit (grey masks).
// - Tolerance <= 0, Opacity 100 and no OutMask at all: the platform's fill of
//   the surface of the seed's exact colour with Color; Mask plays no part.
// - Otherwise FloodFillTolerance.
int FloodFillEx(TBitmap& Bitmap, const TBitmap* Mask, int X, int Y, TColor Color, int Tolerance, int Opacity,
                const TRect& ClipRect, TBitmap* OutMask);

// The fill by colour closeness, ClipRect being already clipped to the bitmap.
// A pixel joins the region when it lies in ClipRect, has not been visited,
// lies within |Tolerance| of the seed's colour on each channel (equal when
// below 1) and, with a usable Mask, its mask byte is below 255. With a usable
// OutMask, OutMask is first made white and the region is set to 0 in it,
// Bitmap unchanged; otherwise each run of the region moves toward Color by
// Opacity percent (FillColor24). The seed colour is taken once at the start
// and visited pixels are never tested again, so painted pixels do not steer
// the fill.
int FloodFillTolerance(TBitmap& Bitmap, const TBitmap* Mask, int X, int Y, TColor Color, int Tolerance, int Opacity,
                       const TRect& ClipRect, TBitmap* OutMask);

// The region the fill tool paints when painting goes to the layer's mask too,
// recorded in OutMask (which the caller made white, of the layer's size):
// where the layer is mostly transparent at (X, Y) (its mask byte is 128 or
// more) the region is grown on the mask alone, so that the transparent area
// fills; elsewhere on the colours, limited by the mask. A seed outside the
// layer grows nothing (done) and reads no pixel of the bitmap or the mask.
int FloodFillLayerRegion(TBitmap& Bitmap, TBitmap* Mask, int X, int Y, int Tolerance, const TRect& ClipRect,
                         TBitmap& OutMask);
