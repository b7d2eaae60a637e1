#include "filters/AutoCorrections.h"

#include "filters/Filtres24.h"
#include "platform/Rounding.h"

TRect CentralSampleRect(const TBitmap& Bitmap) {
  const int DX = Bitmap.Width() / 5, DY = Bitmap.Height() / 5;
  return {DX, DY, Bitmap.Width() - DX, Bitmap.Height() - DY};
}

bool AutoLevels24(TBitmap& Bitmap, const TRect& Sample, const TRect& R) {
  uint8_t MeanR = 0, MeanG = 0, MeanB = 0;
  ChannelMeansInRange24(Bitmap, Sample, 77, 177, MeanR, MeanG, MeanB);
  if (MeanR == 0 || MeanG == 0 || MeanB == 0) return false;
  GammaRGB24(Bitmap, 133.0 / MeanR, 133.0 / MeanG, 133.0 / MeanB, R);
  return true;
}

std::optional<TToneShares> MeasureToneShares(const TBitmap& Bitmap, const TRect& Sample) {
  int Dark = 0, Mid = 0, Light = 0;
  CountToneZones24(Bitmap, Sample, 77, 177, Dark, Mid, Light);
  const int Total = Dark + Mid + Light;
  if (Total == 0) return std::nullopt;
  const auto Share = [Total](int Count) { return Round(Count * 100.0 / Total); };
  return TToneShares{Share(Dark), Share(Mid), Share(Light)};
}

void AutoContrast24(TBitmap& Bitmap, const TToneShares& Shares, const TRect& R) {
  BandContrast24(Bitmap, (Shares.Mid - Shares.Dark) / 2, 0, 127, 127, R);
  BandContrast24(Bitmap, (Shares.Mid - Shares.Light) / 2, 128, 255, 128, R);
}
