#include "dialogs/ImageSizeRules.h"

#include "raster/FoncUtils.h"

#include <algorithm>
#include <array>

uint8_t ResampleFilterCode(int Index, int L, int H, int NewL, int NewH) {
  constexpr uint8_t Lanczos3 = 5, BSpline = 4;
  if (Index == 0) {
    if (NewL < L && NewH < H) return Lanczos3;
    const bool Doubled = (L > 0 && double(NewL) / L > 2) || (H > 0 && double(NewH) / H > 2);
    return Doubled ? BSpline : Lanczos3;
  }
  return uint8_t(std::clamp(Index - 1, 0, 6));
}

void FitImageSize(int L, int H, int MaxW, int MaxH, bool Distort, int& NewL, int& NewH) {
  NewL = Distort ? MaxW : L;
  NewH = Distort ? MaxH : H;
  if (!Distort) FitSize(NewL, NewH, MaxW, MaxH);
  // A thin image fitted into small limits would round a side to nothing.
  NewL = std::max(NewL, 1);
  NewH = std::max(NewH, 1);
}

const TNewImagePreset& NewImagePreset(int Index) {
  static constexpr std::array<TNewImagePreset, NewImagePresetCount> Presets{{
      {0, 0, false, 0},
      {640, 480, false, 0},
      {800, 600, false, 0},
      {1024, 768, false, 0},
      {1280, 1024, false, 0},
      {1600, 1200, false, 0},
      {21, 29.7, true, 200},
      {29.7, 21, true, 200},
      {18.2, 25.7, true, 200},
      {25.7, 18.2, true, 200},
      {15, 10, true, 300},
      {15, 11, true, 300},
      {14.8, 10.9, true, 300},
      {12, 12, true, 200},
      {13.8, 11.8, true, 200},
      {27.3, 18.3, true, 200},
      {720, 480, false, 0},
      {720, 576, false, 0},
  }};
  return Presets[std::clamp(Index, 0, NewImagePresetCount - 1)];
}
