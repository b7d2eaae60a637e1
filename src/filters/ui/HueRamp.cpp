#include "filters/ui/HueRamp.h"

#include "raster/Pixels.h"
#include "tools/Gradient.h"
#include "ui/DlgColors.h"

void DrawHueRamp(TBitmap& Ramp, int Width, int Height) {
  Ramp.SetPixelFormat(pf24bit);
  Ramp.SetSize(Width, Height);
  RainbowGradient24(Ramp, 0);
  const TColor F = ColorToRGB(clDlgBorder);
  const TRGB Frame{GetBValue(F), GetGValue(F), GetRValue(F)};
  for (int Y = 0; Y < Height; ++Y) {
    TRGB* Row = RowOf(Ramp, Y);
    if (Y == 0 || Y == Height - 1)
      std::fill(Row, Row + Width, Frame);
    else
      Row[0] = Row[Width - 1] = Frame;
  }
}
