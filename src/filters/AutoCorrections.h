// The automatic tone corrections (automatic levels and contrast): they
// measure the tones of a sample rectangle and correct a rectangle. Shared by
// the Adjust menu and the batch run. Depends on raster bitmaps only.
#pragma once

#include "platform/Bitmap.h"

#include <optional>

// The bitmap less a fifth of its width on the left and the right and of its
// height at the top and the bottom: the border of a picture is often a frame
// or sky that should not drive a correction.
TRect CentralSampleRect(const TBitmap& Bitmap);

// Each channel's gamma moves the mean of its mid-tones (77..177) in Sample
// towards 133, over R; false, nothing done, when a channel has no mid-tones.
bool AutoLevels24(TBitmap& Bitmap, const TRect& Sample, const TRect& R);

// The shares in percent of the dark (below 77), mid and light (above 177)
// tones of Sample; none when it holds no pixel.
struct TToneShares {
  int Dark = 0, Mid = 0, Light = 0;
};
std::optional<TToneShares> MeasureToneShares(const TBitmap& Bitmap, const TRect& Sample);
// The dark band (0..127) and the light band (128..255) get the contrast by
// which the mid-tones outnumber their own tones, over R.
void AutoContrast24(TBitmap& Bitmap, const TToneShares& Shares, const TRect& R);
