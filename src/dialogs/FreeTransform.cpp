#include "dialogs/FreeTransform.h"

#include <cmath>

namespace {

// The shift that puts the transformed corner pixels' centre on the target
// centre (both in corner-pixel coordinates: Right and Bottom inclusive),
// snapped to whole pixels with a half rounding up.
double RecentreShift(double TargetCentre, double Lo, double Hi) {
  // The margin keeps an exact half from falling the wrong way on a
  // rounding error of the matrix products.
  return std::floor(TargetCentre - (Lo + Hi) / 2 + 0.5 + 1e-7);
}

void Recentre(TAffineTransformation& T, double CX, double CY) {
  const TFloatRect G = T.GetBoundsR();
  T.TranslateF(RecentreShift(CX, G.Left, G.Right), RecentreShift(CY, G.Top, G.Bottom));
}

void AddSkew(TAffineTransformation& T, const TTransformSliders& S) {
  if (S.SkewX != 0 || S.SkewY != 0) T.Skew(-S.SkewX / 100.0, -S.SkewY / 100.0);
}

} // namespace

void BuildPathTransformation(TAffineTransformation& T, const TRect& PathRect, const TTransformSliders& S) {
  T.Clear();
  T.SetSrcRect(PathRect);
  const double CX = (PathRect.Left + PathRect.Right - 1) / 2.0;
  const double CY = (PathRect.Top + PathRect.Bottom - 1) / 2.0;
  AddSkew(T, S);
  if (S.Angle != 0) T.Rotate(CX, CY, -S.Angle / 10.0);
  if (S.Scale != 100) T.Scale(S.Scale / 100.0, S.Scale / 100.0);
  Recentre(T, CX, CY);
  T.Prepare();
}

void BuildLayerTransformation(TAffineTransformation& T, int W, int H, const TRect& SelRect,
                              const TTransformSliders& S) {
  T.Clear();
  const double Factor = S.Scale / 100.0;
  T.Scale(Factor, Factor);
  AddSkew(T, S);
  if (S.Angle != 0) T.Rotate(((W - 1) * Factor) / 2, ((H - 1) * Factor) / 2, -S.Angle / 10.0);
  Recentre(T, (SelRect.Left + SelRect.Right - 1) / 2.0, (SelRect.Top + SelRect.Bottom - 1) / 2.0);
  T.Prepare();
}
