// The hue ramp of the colour dialogs: hues 0..359 across the width at full
// saturation and value, framed in the dialogs' border colour. Depends on the
// gradient routines of tools/.
#pragma once

#include "platform/Bitmap.h"

void DrawHueRamp(TBitmap& Ramp, int Width, int Height);
