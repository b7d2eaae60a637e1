// Turning whole 24-bit bitmaps: exact quarter turns, any angle through a
// sampler of the scan-line access with a background colour, and the mapping of
// one pixel into the turned bitmap. Depends on raster/Bitmap24 (NewBitmap24),
// raster/ScanMan (samplers) and raster/FilterEvent (progress).
//
// A positive angle (degrees) turns the picture clockwise on screen, the
// opposite of the affine Rotate of TransformData. A source that is not 24-bit
// is read through a 24-bit copy; every result is 24-bit. Src and Dst may be
// the same bitmap.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

// A quarter turn in place.
void RotateBitmap90(TBitmap& Bitmap, bool Clockwise);
// Dst becomes an H x W bitmap (W x H being Src's size): source pixel (x, y)
// lands at (H - 1 - y, x) when Clockwise, else at (y, W - 1 - x).
void RotateBitmap90To(const TBitmap& Src, TBitmap& Dst, bool Clockwise);

// Nothing when Angle is 0; otherwise RotateBitmapAngleTo from a copy.
void RotateBitmapAngle(TBitmap& Bitmap, double Angle, bool Expand, TColor BackColor, TAntialiasMode Mode);
// Angle 0: Dst becomes a copy of Src. Otherwise Dst is W' x H', the bounds of
// the turned picture with Expand (Ceil(|H sin a| + |W cos a|) by
// Ceil(|W sin a| + |H cos a|), a = -Angle in radians, computed as they stand:
// a quarter turn of 100 x 50 gives 51 x 100) or Src's size without, filled with
// BackColor; every pixel then samples Src with Mode around the two centres,
// points outside Src reading BackColor, or the nearest edge pixel for clNone.
// Progress: a begin with the height (a cancel leaves Dst as it was), a step
// per row (a cancel leaves the other rows filled), an end.
void RotateBitmapAngleTo(const TBitmap& Src, TBitmap& Dst, double Angle, bool Expand, TColor BackColor,
                         TAntialiasMode Mode);

// Where pixel P of an OldW x OldH bitmap lands in the NewW x NewH bitmap turned
// from it by Angle: the forward counterpart of RotateBitmapAngleTo's sampling.
TPoint RotateBitmapPoint(TPoint P, double Angle, int OldW, int OldH, int NewW, int NewH);
