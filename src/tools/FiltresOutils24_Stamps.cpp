// The brush stamps and their painters.
#include "tools/FiltresOutils24.h"

#include "filters/Blur24.h"
#include "raster/ColorUtils.h"
#include "tools/Gradient.h"

namespace {

int RainbowCounter = 0;

} // namespace

TColor NextRainbowColor() {
  const TColor Color = HSVToColor((RainbowCounter + 1) % 360, 255, 255);
  RainbowCounter = (RainbowCounter + 1) % 360;
  return Color;
}

void MakeBevelStampImage24(TBitmap& Image, TColor Color) {
  if (Image.Empty() || Image.PixelFormat() != pf24bit) return;
  CornerGradient24(Image, clWhite, Color, 6, true, WholeBitmapRect);
  CornerGradient24(Image, clBlack, Color, 8, true, WholeBitmapRect);
  GaussianBlurRadius(Image, 4, WholeBitmapRect);
}
