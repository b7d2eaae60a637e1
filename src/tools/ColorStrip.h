// The colour strips of the tool palette: twelve strips (a grid of 40
// colours, a rainbow and ramps) drawn into a 24-bit bitmap with a frame, and
// the colour picked at a point of a strip. Depends on the raster core and the
// gradient engine; used by the tool palette.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"

inline constexpr int ColorStripCount = 12;

// The grid of strip 0: 5 rows of 8 colours, $BBGGRR.
extern const TColor ColorGrid[5][8];

// Index within 0..11, anything else 0.
int ColorStripIndex(int Index);
// Fills Bitmap (kept at its size, made 24-bit) with strip Index and frames
// it with a one-pixel rectangle in Shadow.
void DrawColorStrip(TBitmap& Bitmap, int Index, TColor Shadow);
// The vertical rainbow beside the colour panels, framed in Shadow.
void DrawRainbowStrip(TBitmap& Bitmap, TColor Shadow);
// The colour at (X, Y) of a strip, the point clamped inside the frame
// (1 .. W - 2, 1 .. H - 2). With Grid the grid's table colour of that cell,
// otherwise the pixel's colour. An empty bitmap gives black.
TColor ColorAtPos(const TBitmap& Bitmap, bool Grid, int X, int Y);
