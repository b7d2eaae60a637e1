// The steps the composite filters repeat, internal to src/filters: the
// progress-pass bracket and the work-mask operations. Depends on the raster
// core.
#pragma once

#include "raster/Pixels.h"

// SetProgressPasses(Passes) for the scope's life, 1 again on every way out.
// A count of 1 or less touches nothing, so that a composite run as a step
// of another leaves the outer count alone.
class TPassesScope {
public:
  explicit TPassesScope(int Passes);
  ~TPassesScope();
  TPassesScope(const TPassesScope&) = delete;
  TPassesScope& operator=(const TPassesScope&) = delete;

private:
  bool FSet;
};

// Color painted over Rect of Bitmap through Mask (Bitmap's geometry; 255
// skips, 0 paints fully) at Opacity percent.
void PaintThroughMask(TBitmap& Bitmap, const TBitmap& Mask, TColor Color, int Opacity, const TRect& Rect);
// Rect of Src copied over Bitmap through Mask at 100 %.
void CopyThroughMask(const TBitmap& Src, TBitmap& Bitmap, const TBitmap& Mask, const TRect& Rect);
// Mask := the black-and-white edge mask of Src at Level, feathered by 33.
void FeatheredContours(const TBitmap& Src, TBitmap& Mask, int Level, const TRect& Rect);
