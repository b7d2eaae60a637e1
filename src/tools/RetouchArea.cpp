#include "tools/RetouchArea.h"

#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "raster/BlendModes.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "tools/Gradient.h"

TRect RetouchAreaRect(TPoint Center, int Radius) {
  return {Center.X - Radius, Center.Y - Radius, Center.X + Radius + 1, Center.Y + Radius + 1};
}

namespace {

void FilterArea(TBitmap& Area, int Filter) {
  const TRect All = WholeBitmapRect;
  switch (Filter) {
  case rfLighten:
    Gamma24(Area, 2.2, All);
    break;
  case rfDarken:
    Gamma24(Area, 1 / 2.2, All);
    break;
  case rfContrast:
    Contrast24(Area, 100, All);
    break;
  case rfSaturation:
    Saturation24(Area, 100, All);
    break;
  case rfGrayscale:
    Grayscale24(Area, All);
    break;
  case rfSoften:
    Soften24(Area, 100, false, All);
    break;
  case rfMicroContrast:
    MicroContrast24(Area, 3, 100, true, All);
    break;
  default:
    break;
  }
}

} // namespace

void RetouchArea24(TBitmap& Layer, const TBitmap& Source, TPoint Center, int Radius, int Filter, int BlendCode,
                   int Opacity, bool MaxProfile) {
  if (Radius < 0 || Layer.PixelFormat() != pf24bit || Source.PixelFormat() != pf24bit) return;
  const TRect Area = RetouchAreaRect(Center, Radius);
  const int S = Area.Width();
  TBitmap Copy(S, S, pf24bit);
  CopyRect24(Source, WholeBitmapRect, Copy, -Area.Left, -Area.Top, WholeBitmapRect);
  TBitmap Mask(S, S, pf24bit, clWhite);
  if (MaxProfile)
    RadialGradient24(Mask, clBlack, S / 2, S / 2, S / 2, 60, 2.0, WholeBitmapRect);
  else
    DrawRadialSpot(Mask, clBlack, clWhite, S / 2, S / 2, S / 2, WholeBitmapRect);
  FilterArea(Copy, Filter);
  BlendRect24(Copy, WholeBitmapRect, Layer, Area.Left, Area.Top, WholeBitmapRect, Opacity, &Mask, BlendCode);
}
