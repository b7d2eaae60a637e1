// The small-area deformations the deform brush applies under the cursor:
// zoom (bulge), spiral and dilate/contract. Depends on the raster core's
// samplers; used by the painting tools.
//
// The target is the bitmap, the source its unchanged copy; the rect (the
// brush's square) is normalised and clipped to Dst, and only the pixels
// inside its inner circle change: radius min(width, height) div 2 - 2 around
// the centre ((L + R) div 2, (T + B) div 2). A square too small to hold that
// circle changes nothing. Samples near the square's edge repeat the edge
// pixels of the source. Nothing is reported to the progress service.
//
// One counter, shared by the three routines, advances on every call and
// chooses the sampler, so that strokes dragged over one place do not settle
// into one interpolation's pattern: zoom and dilate use amBicubic when the
// counter's previous value is odd and amLagrange when it is even; spiral
// uses amBicubic when the new value is a multiple of 4, else amLagrange.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

// The calls counted so far; tests set it to know the next sampler.
int DeformCounter();
void SetDeformCounter(int Value);

// Strength 0..1 (above 1 counts as 1): a pixel at distance g < radius moves
// toward its lens point P = centre + (dx, dy) s / g, s = Rl / 2 (1 / (1 - g /
// Rl) - 1) 1.33 (Rl = 1.33 m, m the square's shorter side; P is the centre
// for g < 0.03), by ((radius - g) / radius) 0.17 Strength of the way.
void DeformZoomFromSource(const TBitmap& Src, TBitmap& Dst, const TRect& Rect, double Strength);
// A turn fading outwards: twist 0.06675884388878311 radians (negated when
// Direction is false) scaled by (1 - r / Rmax) ((radius - m) / radius)
// Strength, m the integer distance (IntDistance), r and the angle in single
// precision, Rmax the longer half side. The centre pixel samples (x + 0.77,
// y - 0.77).
void DeformSpiralFromSource(const TBitmap& Src, TBitmap& Dst, bool Direction, const TRect& Rect, double Strength);
// Dilate (or contract): with hw, hh the half sides (div 2), h = +-17.33 / 100 /
// hw / hh, u = (radius - t) / radius min(Strength / 2 + 0.5, 1) at integer
// distance t, and (A, B) the offset from the square's middle, the source is
// (x - h B^2 A u^2, y - h A^2 B u^2).
void DeformDilateFromSource(const TBitmap& Src, TBitmap& Dst, bool Dilate, const TRect& Rect, double Strength);

// The same on a bitmap, reading a copy of it.
void DeformZoom24(TBitmap& Bitmap, const TRect& Rect, double Strength);
void DeformSpiral24(TBitmap& Bitmap, bool Direction, const TRect& Rect, double Strength);
void DeformDilate24(TBitmap& Bitmap, bool Dilate, const TRect& Rect, double Strength);
