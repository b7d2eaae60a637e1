#include "filters/HorizonCorrection.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ImgUtils.h"
#include "raster/RectUtils.h"
#include "raster/TransformFunc.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DegreesPerRadian = 57.29577951308232;

int Side(THorizonSide S) { return static_cast<int>(S); }

} // namespace

THorizonRange HorizonRange(int W, int H) {
  THorizonRange R;
  R.MidTop = (10 * W - 1) / 2;
  R.MidLeft = (10 * H - 1) / 2;
  R.LSurH = H > 0 ? double(W) / H : 1;
  if (W >= H) {
    R.MaxDeltaHeight = H * 10 / 2;
    R.MaxDeltaWidth = Round(R.MaxDeltaHeight / R.LSurH);
  } else {
    R.MaxDeltaWidth = W * 10 / 2;
    R.MaxDeltaHeight = Round(R.MaxDeltaWidth * R.LSurH);
  }
  return R;
}

int ClampHorizonCursor(const THorizonRange& Range, THorizonSide S, int Value) {
  const bool Across = S == THorizonSide::Top || S == THorizonSide::Bottom;
  const int Mid = Across ? Range.MidTop : Range.MidLeft;
  const int Delta = Across ? Range.MaxDeltaWidth : Range.MaxDeltaHeight;
  return std::clamp(Value, Mid - Delta, Mid + Delta);
}

THorizonCursors CoupleHorizonCursors(const THorizonRange& Range, THorizonSide S, int Value) {
  const int MT = Range.MidTop, ML = Range.MidLeft;
  THorizonCursors C{};
  C[Side(S)] = Value;
  int Cross;
  switch (S) {
  case THorizonSide::Top:
    Cross = Round((MT - Value) * Range.LSurH);
    C[Side(THorizonSide::Bottom)] = 2 * MT - Value;
    C[Side(THorizonSide::Left)] = ML + Cross;
    C[Side(THorizonSide::Right)] = ML - Cross;
    break;
  case THorizonSide::Bottom:
    Cross = Round((MT - Value) * Range.LSurH);
    C[Side(THorizonSide::Top)] = 2 * MT - Value;
    C[Side(THorizonSide::Left)] = ML - Cross;
    C[Side(THorizonSide::Right)] = ML + Cross;
    break;
  case THorizonSide::Left:
    Cross = Round((ML - Value) / Range.LSurH);
    C[Side(THorizonSide::Right)] = 2 * ML - Value;
    C[Side(THorizonSide::Top)] = MT + Cross;
    C[Side(THorizonSide::Bottom)] = MT - Cross;
    break;
  case THorizonSide::Right:
    Cross = Round((ML - Value) / Range.LSurH);
    C[Side(THorizonSide::Left)] = 2 * ML - Value;
    C[Side(THorizonSide::Top)] = MT - Cross;
    C[Side(THorizonSide::Bottom)] = MT + Cross;
    break;
  }
  return C;
}

double HorizonAngle(int DT, int DL, int W, int H) {
  const double FromTop = std::atan2(H * 10 / 2.0, double(DT)) * DegreesPerRadian - 90;
  const double FromLeft = std::atan2(double(DL), W * 10 / 2.0) * DegreesPerRadian;
  return (FromTop + FromLeft) / 2;
}

TRect HorizonCropRect(int W, int H, double Angle, bool KeepRatio) {
  const TRect Whole{0, 0, W, H};
  const double A = Angle / DegreesPerRadian;
  const double S = std::fabs(std::sin(A)), C = std::fabs(std::cos(A));
  // The turned picture's bounding box exceeds the frame by as much as the
  // frame must lose to lie inside the picture: shrink, whatever the sign of
  // the angle.
  const int DX = Trunc((H * S + W * C - W) / 2);
  const int DY = Trunc((W * S + H * C - H) / 2);
  TRect R{DX, DY, W - DX, H - DY};
  if (R.IsEmpty() || DX < 0 || DY < 0) return Whole;
  if (KeepRatio && H > 0) {
    const TRect Fit = FitRectToAspect(R, double(W) / H, true, true);
    const int OX = (R.Width() - Fit.Width()) / 2, OY = (R.Height() - Fit.Height()) / 2;
    R = {Fit.Left + OX, Fit.Top + OY, Fit.Right + OX, Fit.Bottom + OY};
  }
  return R;
}

void StraightenBitmap(const TBitmap& Src, TBitmap& Dst, double Angle, TAntialiasMode Mode) {
  const int W = Src.Width(), H = Src.Height();
  NewBitmap24(Dst, W, H, clWhite);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, W, H});
  T.Rotate((W - 1) / 2.0, (H - 1) / 2.0, -Angle);
  DrawTransformed(Src, Dst, T, Mode, clWhite);
}

TRect StraightenHorizon(TBitmap& Background, const TBitmap& Original, double Angle, bool Crop, bool KeepRatio) {
  StraightenBitmap(Original, Background, Angle, amBicubic);
  const TRect Whole{0, 0, Background.Width(), Background.Height()};
  if (!Crop) return Whole;
  const TRect R = HorizonCropRect(Whole.Right, Whole.Bottom, Angle, KeepRatio);
  if (R != Whole) CropBitmap(Background, R);
  return R;
}

std::vector<int> GridPositions(double Extent, int Cells) {
  std::vector<int> P;
  if (Cells <= 0) return P;
  for (int I = 0; I <= Cells; ++I) P.push_back(Round(Extent / Cells * I));
  return P;
}
