// Moving the pixels of a rectangle toward a colour, and replacing one colour
// by another: the two colour fills the raster core itself calls. Depends on
// raster/Pixels and raster/Bitmap24.
#pragma once

#include "raster/Pixels.h"

// Every channel v of Rect := v + (c - v) * Percent div 100, limited to 0..255:
// 100 paints the colour, a negative Percent pushes away from it. Percent 0
// does nothing; Percent is limited to -100..100.
void FillColor24(TBitmap& Bitmap, TColor Color, int Percent, const TRect& Rect);

// Every pixel of Rect whose blue, green and red each lie within Tolerance of
// those of Color becomes NewColor. A negative tolerance does nothing.
void ReplaceColor24(TBitmap& Bitmap, TColor Color, TColor NewColor, int Tolerance, const TRect& Rect);
