#include "filters/ui/CurveStroke.h"

#include "filters/ui/CurveFiles.h"
#include "platform/Rounding.h"

#include <algorithm>

TCurveLUT StrokeCurveLUT(const TPathControl& Path) {
  TCurveLUT T = IdentityCurveLUT();
  // The bitmap only bounds the walk: the callback draws nothing.
  TBitmap Curve(CurveSize, CurveSize, pf24bit, clWhite);
  StrokePath(
      Curve, {0, 0, CurveSize, CurveSize}, Path, 255, 100, 7,
      [&](int X, int Y, void*) {
        if (X >= 0 && X < CurveSize) T[size_t(X)] = uint8_t(std::clamp(CurveSize - 1 - Y, 0, 255));
      },
      nullptr, WholeBitmapRect);
  return T;
}

namespace {

// F(Path) with the curve as an open path on the curve image.
template <class F> auto WithCurvePath(const TPathVertexList& Vertices, bool BezierMode, F&& Fn) {
  const TSizedPathView View(CurveSize, CurveSize);
  TPathControl Path(&View);
  Path.SetJoinBorder(1);
  Path.ReplacePath(Vertices, BezierMode, false);
  return Fn(Path);
}

} // namespace

TCurveLUT CurveLUT(const TPathVertexList& Vertices, bool BezierMode) {
  return WithCurvePath(Vertices, BezierMode, [](const TPathControl& Path) { return StrokeCurveLUT(Path); });
}

void DrawCurve(TBitmap& Bitmap, const TPathVertexList& Vertices, bool BezierMode, TColor Color) {
  WithCurvePath(Vertices, BezierMode, [&](const TPathControl& Path) {
    StrokePath(Bitmap, {0, 0, CurveSize, CurveSize}, Path, Color, 100, 3, nullptr, nullptr, WholeBitmapRect);
  });
}

TDDAPoints SampleDeformCurve(TBitmap& Bitmap, const TRect& R, const TPathControl& Path, bool Horizontal) {
  const int W = Path.ImageWidth(), H = Path.ImageHeight();
  const int RW = R.Width(), RH = R.Height();
  if (W <= 0 || H <= 0 || RW <= 0 || RH <= 0) return {};
  TDDAPoints Points(size_t(Horizontal ? RW : RH), 0);
  // A side of one pixel has no middle line to divide by: the curve then lies
  // on the edge.
  const auto Lift = [](int Extent, int Side) { return Side / 2 ? Round(Extent / (double(Side) / (Side / 2))) : 0; };
  const TRect Moved =
      Horizontal ? TRect{0, -Lift(RH, H), RW, RH - Lift(RH, H)} : TRect{-Lift(RW, W), 0, RW - Lift(RW, W), RH};
  const int Length = int(Points.size());
  StrokePath(
      Bitmap, Moved, Path, 255, 100, 3,
      [&](int X, int Y, void*) {
        const int At = Horizontal ? X : Y;
        if (At >= 0 && At < Length) Points[size_t(At)] = Horizontal ? Y : X;
      },
      nullptr, WholeBitmapRect);
  return Points;
}
