#include "raster/RectUtils.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

TFloatPoint FloatPoint(double X, double Y) { return {X, Y}; }

TFloatPoint FloatPointFromPoint(TPoint P) { return {static_cast<double>(P.X), static_cast<double>(P.Y)}; }

TRect FloatRectToRect(const TFloatRect& R, uint8_t Mode) {
  switch (Mode) {
  case 1:
    return {Round(R.Left), Round(R.Top), Round(R.Right), Round(R.Bottom)};
  case 2:
    return {Trunc(R.Left), Trunc(R.Top), Ceil(R.Right), Ceil(R.Bottom)};
  case 3:
    return {Ceil(R.Left), Ceil(R.Top), Trunc(R.Right), Trunc(R.Bottom)};
  default:
    return {Trunc(R.Left), Trunc(R.Top), Trunc(R.Right), Trunc(R.Bottom)};
  }
}

TRect BitmapRect(const TBitmap& Bitmap) { return {0, 0, Bitmap.Width(), Bitmap.Height()}; }

bool ClipToBitmap(TRect& R, const TBitmap& Bitmap) {
  R = IntersectRect(NormalizeTRect(R), BitmapRect(Bitmap));
  return !R.IsEmpty();
}

int RectWidth(const TRect& R) { return ClampToInt(std::abs(int64_t{R.Right} - R.Left)); }

int RectHeight(const TRect& R) { return ClampToInt(std::abs(int64_t{R.Bottom} - R.Top)); }

int ClampToInt(int64_t V) { return static_cast<int>(std::clamp<int64_t>(V, INT_MIN, INT_MAX)); }

TRect ClampedBounds(int X, int Y, int W, int H) {
  return {X, Y, ClampToInt(int64_t{X} + W), ClampToInt(int64_t{Y} + H)};
}

bool IsPointRect(const TRect& R) { return R.Left == R.Right && R.Top == R.Bottom; }

TRect NormalizeTRect(const TRect& R) { return NormalizeRect(R.Left, R.Top, R.Right, R.Bottom); }

TRect NormalizeRect(int X1, int Y1, int X2, int Y2) {
  return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

TRect SquareRect(const TRect& R, bool KeepLeft, bool KeepTop) {
  TRect S = R;
  const int W = R.Right - R.Left;
  const int H = R.Bottom - R.Top;
  if (H < W) {
    if (KeepLeft)
      S.Right = S.Left + H;
    else
      S.Left = S.Right - H;
  } else if (KeepTop) {
    S.Bottom = S.Top + W;
  } else {
    S.Top = S.Bottom - W;
  }
  return S;
}

TRect FitRectToAspect(const TRect& R, double Ratio, bool KeepLeft, bool KeepTop) {
  if (!(Ratio > 0)) return R;
  TRect S = R;
  // Sizes are counted as side minus one.
  int E = R.Right - R.Left - 1;
  int F = R.Bottom - R.Top - 1;
  if (E / Ratio > F)
    E = Round(F * Ratio);
  else
    F = Round(E / Ratio);
  if (KeepLeft)
    S.Right = S.Left + E + 1;
  else
    S.Left = S.Right - E - 1;
  if (KeepTop)
    S.Bottom = S.Top + F + 1;
  else
    S.Top = S.Bottom - F - 1;
  return S;
}

TRect AdjustRectAspect(const TRect& R, double Ratio, bool FromHeight) {
  if (!(Ratio > 0)) return R;
  TRect S = R;
  if (FromHeight)
    S.Right = S.Left + Round((S.Bottom - S.Top - 1) * Ratio) + 1;
  else
    S.Bottom = S.Top + Round((S.Right - S.Left - 1) / Ratio) + 1;
  return S;
}

void PositionRect(TRect& R, const TRect& Area, TPosition Position) {
  const int W = R.Right - R.Left;
  const int H = R.Bottom - R.Top;
  int X = R.Left;
  int Y = R.Top;
  switch (Position) {
  case poCenterTop:
  case poCenter:
  case poCenterBottom:
  case poCenterHorz:
    X = Area.Left + (Area.Right - Area.Left - W) / 2;
    break;
  case poTopLeft:
  case poCenterLeft:
  case poBottomLeft:
    X = Area.Left;
    break;
  case poTopRight:
  case poCenterRight:
  case poBottomRight:
    X = Area.Right - W;
    break;
  default:
    break;
  }
  switch (Position) {
  case poCenterLeft:
  case poCenter:
  case poCenterRight:
  case poCenterVert:
    Y = Area.Top + (Area.Bottom - Area.Top - H) / 2;
    break;
  case poTopLeft:
  case poCenterTop:
  case poTopRight:
    Y = Area.Top;
    break;
  case poBottomLeft:
  case poCenterBottom:
  case poBottomRight:
    Y = Area.Bottom - H;
    break;
  default:
    break;
  }
  R = Bounds(X, Y, W, H);
}

void EnsureMinRectSize(TRect& R, int MinWidth, int MinHeight, bool KeepLeft, bool KeepTop) {
  if (R.Right - R.Left < MinWidth) {
    if (KeepLeft)
      R.Right = R.Left + MinWidth;
    else
      R.Left = R.Right - MinWidth;
  }
  if (R.Bottom - R.Top < MinHeight) {
    if (KeepTop)
      R.Bottom = R.Top + MinHeight;
    else
      R.Top = R.Bottom - MinHeight;
  }
}

void MoveRectInside(TRect& R, const TRect& Bounds, bool Intersect) {
  if (Bounds.Right < R.Right) R = OffsetRect(R, Bounds.Right - R.Right, 0);
  if (Bounds.Bottom < R.Bottom) R = OffsetRect(R, 0, Bounds.Bottom - R.Bottom);
  if (R.Left < Bounds.Left) R = OffsetRect(R, Bounds.Left - R.Left, 0);
  if (R.Top < Bounds.Top) R = OffsetRect(R, 0, Bounds.Top - R.Top);
  if (Intersect) R = IntersectRect(R, Bounds);
}

void ClampPointToRect(TPoint& P, const TRect& R) {
  if (P.X < R.Left)
    P.X = R.Left;
  else if (P.X >= R.Right)
    P.X = R.Right - 1;
  if (P.Y < R.Top)
    P.Y = R.Top;
  else if (P.Y >= R.Bottom)
    P.Y = R.Bottom - 1;
}

void IncludePointInRect(TRect& R, TPoint P) {
  if (P.X < R.Left) R.Left = P.X;
  if (P.X >= R.Right) R.Right = P.X + 1;
  if (P.Y < R.Top) R.Top = P.Y;
  if (P.Y >= R.Bottom) R.Bottom = P.Y + 1;
}

TRect SymmetricRect(int CX, int CY, int PX, int PY, const TRect& Bounds, bool Square) {
  // A centre outside the bounds would give a negative half size: nothing fits.
  if (!PtInRect(Bounds, {CX, CY})) return {};
  const auto HalfSize = [](int C, int P, int Low, int High) {
    int H = std::abs(P - C);
    if (C - H < Low) H = C - Low;
    if (High < C + H + 1) H = High - C - 1;
    return H;
  };
  int HX = HalfSize(CX, PX, Bounds.Left, Bounds.Right);
  int HY = HalfSize(CY, PY, Bounds.Top, Bounds.Bottom);
  if (Square) HX = HY = std::min(HX, HY);
  return {CX - HX, CY - HY, CX + HX + 1, CY + HY + 1};
}

namespace {
int BrushHalf(uint16_t Size) { return Size > 1 ? (Size - 1) / 2 : 0; }
} // namespace

TRect BrushRect(int X, int Y, uint16_t Size) {
  const int H = BrushHalf(Size);
  return Bounds(X - H, Y - H, Size, Size);
}

TFloatRect BrushRectF(double X, double Y, uint16_t Size) {
  const int H = BrushHalf(Size);
  return {X - H, Y - H, X - H + Size, Y - H + Size};
}

TFloatPoint RotateFloatPoint(double X, double Y, double CX, double CY, double Angle) {
  const double DX = X - CX;
  const double DY = Y - CY;
  const double C = std::cos(Angle);
  const double S = std::sin(Angle);
  return {CX + DX * C + DY * S, CY - DX * S + DY * C};
}
