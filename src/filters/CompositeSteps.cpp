#include "filters/CompositeSteps.h"

#include "filters/FiltresComposes.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/GreyMasks.h"

TPassesScope::TPassesScope(int Passes) : FSet(Passes > 1) {
  if (FSet) SetProgressPasses(Passes);
}

TPassesScope::~TPassesScope() {
  if (FSet) SetProgressPasses(1);
}

void PaintThroughMask(TBitmap& Bitmap, const TBitmap& Mask, TColor Color, int Opacity, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Bitmap)) return;
  FillColorMask24(Mask, R, Bitmap, R.Left, R.Top, R, Color, Opacity);
}

void CopyThroughMask(const TBitmap& Src, TBitmap& Bitmap, const TBitmap& Mask, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Bitmap)) return;
  CopyRect24MaskOpacity(Src, R, Bitmap, R.Left, R.Top, R, 100, &Mask);
}

void FeatheredContours(const TBitmap& Src, TBitmap& Mask, int Level, const TRect& Rect) {
  EdgeMask24(Src, Mask, Level, true, Rect);
  FeatherMask(Mask, Rect, 33);
}
