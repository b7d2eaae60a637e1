// The pixel engines of the painting tools: brush stamps and their painters,
// and one engine per tool (drop, finger, clone and pattern clone, airbrush,
// nozzle, deform, art brush, retouch and the magic erasers). The stroke
// engine calls one engine per stamp position; an engine changes only the
// pixels of one footprint around one point and knows nothing of strokes,
// undo or the view. Depends on raster, filters and this library's gradient
// engine; used by the stroke tools, the line brushes and the brush lists.
//
// Conventions:
// - Bitmaps are 24-bit; a grey transparency mask has 0 for opaque, 255 for
//   transparent (its first byte counts). A target mask (DstMask) that is
//   nullptr or empty means an opaque layer: the colour is mixed in by alpha;
//   otherwise it is painted "over" layer and mask (PaintPixelOnLayer).
// - A stamp is a grey bitmap whose black paints fully and white not at all.
// - R is a radius, Pressure a percent (limited to 100), ClipRect what the
//   stroke may change (the selection's bounds in layer coordinates), cut to
//   the target. The round engines touch the pixels of the square
//   (X - R, Y - R, X + R + 1, Y + R + 1) inside it at IntDistance d < R, with
//   the weight P up to a core radius and P * (R - d) div (R - Core) beyond.
// - A missing or empty bitmap, an empty rectangle, a pressure or radius of
//   0 or less, or a wrong pixel format makes the call do nothing; nothing is
//   ever written outside the target. Scratch bitmaps live for one call.
// - The airbrush, clone diffusion and magic eraser draw from the shared
//   random generator, reseeded (Randomize) at each call; the rainbow counter
//   is process-wide. Interface thread only.
#pragma once

#include "raster/Pixels.h"

// Colour value meaning "the next rainbow colour" to the stamp painter and
// the airbrush.
constexpr TColor RainbowColor = 0x1FFFFFFF;

// HSVToColor((counter + 1) mod 360, 255, 255), then the counter grows by 1:
// successive calls walk the hue circle one degree at a time from hue 1.
TColor NextRainbowColor();

// The bevelled "3D" image of a stamp: the half corner ramp from white to
// Color from the top-left, the half ramp from black to Color from the
// bottom-right, then a Gaussian blur of 4: a cushion lit from the top-left.
// Image keeps its size.
void MakeBevelStampImage24(TBitmap& Image, TColor Color);
