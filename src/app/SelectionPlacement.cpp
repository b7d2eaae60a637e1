#include "app/SelectionPlacement.h"

#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"

void CalcRatioSelRect(double Ratio, TRect& R, int ImageW, int ImageH) {
  if (!(Ratio > 0)) return; // no proportion (no screen) leaves R as it is
  int W = R.Right - R.Left, H = R.Bottom - R.Top;
  if (W > H) {
    H = Round(W / Ratio);
    if (H > ImageH) {
      H = ImageH;
      W = Round(ImageH * Ratio);
    }
  } else {
    W = Round(H / Ratio);
    if (W > ImageW) {
      W = ImageW;
      H = Round(ImageW * Ratio);
    }
  }
  R.Right = R.Left + W;
  R.Bottom = R.Top + H;
  MoveRectInside(R, {0, 0, ImageW, ImageH}, true);
}

double SelectionRatio(int Tag, double ScreenRatio) {
  switch (Tag) {
  case 0:
    return 2.0;
  case 1:
    return 1.5;
  case 2:
    return 4.0 / 3.0;
  case 3:
    return 16.0 / 9.0;
  case 4:
    return ScreenRatio;
  default:
    return 0;
  }
}

TStoredPlacement PlaceStoredSelection(const TRect& Stored, int W, int H, bool UseStoredPlace) {
  int SW = Stored.Right - Stored.Left, SH = Stored.Bottom - Stored.Top;
  if (UseStoredPlace && Stored.Right <= W && Stored.Bottom <= H) return {TStoredPlace::Stored, SW, SH};
  if (SW <= W && SH <= H) return {TStoredPlace::Centred, SW, SH};
  FitSize(SW, SH, W, H);
  return {TStoredPlace::Scaled, SW, SH};
}
