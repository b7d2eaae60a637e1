// Zoomed drawing onto a widget or a printer: the same plan as the canvas
// drawing of raster/ImgZoom.h, carried out through a QPainter. Depends on
// raster/ImgZoom and QtGui; used by the views and the print dialog.
#pragma once

#include "raster/ImgZoom.h"

class QPainter;

// DrawZoomedBitmap onto a painter: EraseColor stands for the canvas brush.
// On the screen the visible part is stretched by the canvas rules (nearest
// or halftone, the transparent colour left out) and drawn 1:1, so a widget
// shows the same pixels as a bitmap canvas; on a printer the device scales
// the source itself, smoothly when Optimized. With AdjustDraw the painter's
// clip is narrowed to Region and stays so after the call.
TRect DrawZoomedBitmap(const TBitmap* Bitmap, QPainter* Painter, TColor EraseColor, const TRect& Region, int X, int Y,
                       double Zoom, bool Erase, bool Optimized, bool AdjustDraw, bool IsPrinter);

// Draws the current state of Zoom (bitmap, region, position, zoom and
// options) onto Painter; the empty rectangle without a bitmap.
TRect DrawImageZoom(const TImageZoom& Zoom, QPainter* Painter, TColor EraseColor, bool Erase);
