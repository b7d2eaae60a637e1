// Colour arithmetic for hover and contrast effects, and rectangle fills with
// a hole, gradients and tiles on a painter. Depends on platform (colours,
// rectangles, bitmaps) and QtGui.
//
// The fills follow the platform's rectangle rule: Right and Bottom are
// exclusive. They draw with whole pixels, never antialiased.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <QColor>

class QPainter;

// The colour as Qt draws it (system colours resolved).
QColor ToQColor(TColor Color);
// The TColor of a Qt colour (alpha dropped).
TColor FromQColor(const QColor& Color);

// Brightness 0..1 of Color (system colours resolved first). Mode 1: luma
// (0.3 R + 0.59 G + 0.11 B) / 255; 2: max channel / 255; 3: min channel / 255;
// any other mode: (R + G + B) / 765.
double ColorBrightness(TColor Color, int Mode);

// Color1 moved towards Color2 by Factor: Factor <= 0 gives Color1 as it is,
// Factor >= 1 gives Color2 as it is (system colours stay system colours);
// otherwise each channel is Round(c1 + (c2 - c1) x Factor), ties to even.
TColor MixColorsF(TColor Color1, TColor Color2, double Factor);
TColor DarkenColor(TColor Color, double Factor);  // towards black
TColor LightenColor(TColor Color, double Factor); // towards white

// Fills with the painter's brush the parts of Outer outside Inner (all of
// Outer when they do not meet), as at most four bands clipped to Outer.
void FillRectExcept(QPainter& Canvas, const TRect& Outer, const TRect& Inner);
// A frame of Width pixels along the inside of Rect (nothing when Width <= 0).
void FillFrameRect(QPainter& Canvas, const TRect& Rect, int Width);
// Sets the painter's brush to Color and fills Rect.
void FillRectColor(QPainter& Canvas, TColor Color, const TRect& Rect);
// Columns (Horizontal) or rows from Color1 towards Color2: line i of n gets
// c1 + i x (c2 - c1) / n per channel (integer division), so Color2 itself is
// never reached. Equal colours fill Rect plainly.
void DrawGradient(QPainter& Canvas, const TRect& Rect, TColor Color1, TColor Color2, bool Horizontal);
// Copies Bitmap repeatedly from Rect's top-left corner, cutting the last
// tiles to Rect.
void TileBitmap(QPainter& Canvas, const TRect& Rect, const TBitmap& Bitmap);

// The platform's 3-D frame: Width rings from the outside in, each with its
// left column and top row in TopColor and its right column and bottom row in
// BottomColor (the bottom-left and top-right corners take BottomColor).
void Frame3D(QPainter& Canvas, const TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// The platform's etched edge: a sunken outer ring (shadow at top-left,
// highlight at bottom-right) around a raised inner ring.
void DrawEtchedEdge(QPainter& Canvas, const TRect& Rect);
