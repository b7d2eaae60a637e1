// The retouch of one round area of a layer: a filtered copy of the area,
// taken from the layer as it was before the retouch began, blended back
// through a soft circular mask (black at the centre: the full effect). The
// retouch dialog previews and applies it; tests call it directly. Depends on
// the point and convolution filters of filters/, the radial gradient of
// tools/ and the blend modes of raster/.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

// The filters of the area, in the order of the dialog's list.
enum TRetouchFilter : int {
  rfNone,         // the copy as it is
  rfLighten,      // Gamma24 2.2
  rfDarken,       // Gamma24 1 / 2.2
  rfContrast,     // Contrast24 +100
  rfSaturation,   // Saturation24 +100
  rfGrayscale,    // Grayscale24
  rfSoften,       // Soften24 100, mild matrix
  rfMicroContrast // MicroContrast24 radius 3, 100, soft light
};
inline constexpr int RetouchFilterCount = 8;

// The square of side 2 R + 1 centred on Center.
TRect RetouchAreaRect(TPoint Center, int Radius);

// The area of Source (the layer before the retouch, of Layer's geometry)
// copied, filtered by Filter over the whole copy, and blended onto Layer at
// the area's place with BlendCode at Opacity percent through the mask:
// with MaxProfile full effect up to 60 % of the radius then an S-shaped
// fall-off (RadialGradient24, hardness 60, exponent 2), else a linear
// fall-off from the centre (DrawRadialSpot). Only the part of the area inside
// Layer changes. Both bitmaps are 24-bit; anything else does nothing.
void RetouchArea24(TBitmap& Layer, const TBitmap& Source, TPoint Center, int Radius, int Filter, int BlendCode,
                   int Opacity, bool MaxProfile);
