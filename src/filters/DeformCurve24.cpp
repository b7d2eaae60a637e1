#include "filters/DeformCurve24.h"

#include "filters/FilterTargets.h"
#include "filters/InverseMapping.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"

#include <algorithm>
#include <cmath>

TDeformPoints SmoothDeformPoints(const TDDAPoints& Points, int HalfWindow) {
  const int N = int(Points.size()), L = N - 1;
  TDeformPoints Smoothed(Points.size());
  for (int I = 0; I < N; ++I) {
    const int C = I < HalfWindow ? I + 1 : (I > L - HalfWindow ? L - I + 1 : HalfWindow);
    double Sum = 0;
    for (int J = I - C; J <= I + C; ++J) Sum += Points[size_t(std::clamp(J, 0, L))];
    Smoothed[size_t(I)] = float(Sum / (2 * C + 1));
  }
  return Smoothed;
}

void DeformPointsMinMax(const TDeformPoints& Points, double& Min, double& Max) {
  Min = 2147483648.0;
  Max = -2147483648.0;
  for (const float P : Points) {
    Min = std::min(Min, double(P));
    Max = std::max(Max, double(P));
  }
}

void DeformByCurve(const TBitmap& Src, TBitmap& Dest, bool Horizontal, const TDeformPoints& Points, TColor BackColor,
                   const TRect& Rect, TAntialiasMode Mode, bool Grow) {
  const int N = int(Points.size());
  if (N < MinDeformPoints || Src.Empty()) return;
  double Min, Max;
  DeformPointsMinMax(Points, Min, Max);
  const double Swing = std::abs(Max - Min);
  if (Swing < MinDeformSwing) {
    if (&Src != &Dest) Assign24(Src, Dest);
    return;
  }
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dest, Holder);
  const int W = Source.Width(), H = Source.Height();
  TRect R = Rect;
  double Step, Offset = 0;
  if (Grow) {
    Step = double(Horizontal ? W : H) / N;
    const int Extra = Round(Swing * Step);
    NewBitmap24(Dest, Horizontal ? W : W + Extra, Horizontal ? H + Extra : H, clWhite);
    R = BitmapRect(Dest);
    Offset = Min * Step;
  } else {
    if (!ClipToBitmap(R, Source)) return;
    SizeTarget24(Dest, W, H);
    Step = double(Horizontal ? R.Width() : R.Height()) / N;
  }
  TScanLinesManagerEx Sampler(Source, Grow ? BitmapRect(Source) : R);
  SetSamplerBack(Sampler, BackColor, Mode);
  // Without a colour and inside the work rect, what lies outside it is the
  // source itself: each target pixel's own source pixel is the background.
  const bool OwnBackground = BackColor == clNone && !Grow;
  if (OwnBackground) Sampler.SetPixelsInLimits(false);
  InverseMap(Sampler, Dest, R, true, [&](int X, int Y, double& SX, double& SY) {
    const int Along = Horizontal ? X - R.Left : Y - R.Top;
    const double Shift = Points[size_t(std::min(Round(Along / Step), N - 1))] * Step;
    if (Horizontal)
      SY = Y - Shift + Offset;
    else
      SX = X - Shift + Offset;
    if (OwnBackground) Sampler.SetBackColor(RowOf(Source, Y)[X]);
    return TMapped::Sample;
  });
}

void DeformByCurveCopy(TBitmap& Dest, bool Horizontal, const TDeformPoints& Points, TColor BackColor, const TRect& Rect,
                       TAntialiasMode Mode, bool Grow) {
  DeformByCurve(Dest, Dest, Horizontal, Points, BackColor, Rect, Mode, Grow);
}
