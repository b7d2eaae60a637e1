#include "filters/CurveLuts.h"

#include "filters/FilterLoops.h"

#include <numeric>

using namespace FilterLoops;

TCurveLUT IdentityCurveLUT() {
  TCurveLUT T;
  std::iota(T.begin(), T.end(), uint8_t{0});
  return T;
}

void CombineCurveLUTs(const TCurveLUT& Composite, TCurveLUT& Red, TCurveLUT& Green, TCurveLUT& Blue) {
  for (TCurveLUT* T : {&Red, &Green, &Blue})
    for (int I = 0; I < 256; ++I) (*T)[I] = ClampByte(Composite[I] + (*T)[I] - I);
}

void ApplyCurveLUTs(TBitmap& Bitmap, const TCurveLUT& Red, const TCurveLUT& Green, const TCurveLUT& Blue,
                    const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  ApplyByteTables(Bitmap, R, Blue, Green, Red);
}
