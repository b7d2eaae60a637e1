// The tone-curve tables: four 256-entry tables (the composite curve and one
// per colour), the composite merged into the colour ones, and the colour
// tables applied to a bitmap. Depends on the raster core; used by the curve
// dialog (which builds the tables from its curves) and its tests.
#pragma once

#include "raster/Pixels.h"

#include <array>
#include <cstdint>

using TCurveLUT = std::array<uint8_t, 256>;

// Entry i = i.
TCurveLUT IdentityCurveLUT();

// Each colour entry i := clamp(Composite[i] + entry - i) to 0..255: the
// composite curve adds its offset from the identity to every colour curve
// (it is not composed with them).
void CombineCurveLUTs(const TCurveLUT& Composite, TCurveLUT& Red, TCurveLUT& Green, TCurveLUT& Blue);

// Every pixel of Rect (normalised and clipped; empty does nothing): blue
// through Blue, green through Green, red through Red.
void ApplyCurveLUTs(TBitmap& Bitmap, const TCurveLUT& Red, const TCurveLUT& Green, const TCurveLUT& Blue,
                    const TRect& Rect);
