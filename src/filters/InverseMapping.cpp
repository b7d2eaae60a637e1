#include "filters/InverseMapping.h"

void SetSamplerBack(TScanLinesManagerEx& Sampler, TColor BackColor, TAntialiasMode Mode) {
  Sampler.SetAntialiasMode(Mode);
  if (BackColor == clNone)
    Sampler.SetPixelsInLimits(true);
  else
    Sampler.SetBackColor(ColorToTRGB(BackColor));
}
