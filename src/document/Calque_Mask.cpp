// The softening and roughening of a layer's mask edge.
#include "document/Calque.h"

#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"

#include <algorithm>

namespace {

TRect WholeRect(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// The layer's mask, made opaque when it has none; nullptr for a layer that
// is not a bitmap layer or has no pixels.
TBitmap* EdgeMask(TLayerItem& Item) {
  if (Item.LayerType != ltBitmap || Item.Bitmap().Empty()) return nullptr;
  Item.CheckCreateMask(false);
  return &Item.Mask();
}

// The bounds of the mask's content that is not fully transparent, grown by
// Grow and kept inside the mask; the whole mask when that is empty.
TRect ContentRect(const TBitmap& M, int Grow) {
  TRect R = AutoCropRect(M, 0, clWhite);
  R = {R.Left - Grow, R.Top - Grow, R.Right + Grow, R.Bottom + Grow};
  R = IntersectRect(R, WholeRect(M));
  return R.IsEmpty() ? WholeRect(M) : R;
}

// The torn edge of strength N on a black-on-white bitmap.
void EdgePass(TBitmap& B, int N) {
  const TRect All = WholeRect(B);
  GrowShrinkMask(B, -(N + 1), All, false);
  Pointillism24(B, N, N, clNone, All);
  Diffuse24(B, 1, 0, All);
  BoxBlur3x3(B, All);
  ThresholdTwoColors24(B, 177, clBlack, clWhite, All);
}

} // namespace

bool AlphaProgressiveContour(TLayerItem& Item, int Radius, int Inset) {
  if (Radius <= 0) return false;
  TBitmap* M = EdgeMask(Item);
  if (!M) return false;
  const TRect R = ContentRect(*M, Inset < Radius ? Radius - Inset : 0);
  if (Inset > 0) GrowShrinkMask(*M, -Inset, R, false);
  static constexpr TMatrix3x3Record Soft{{1, 2, 1, 2, 4, 2, 1, 2, 1}, 16, 0};
  if (Radius == 1)
    ConvolveMatrix3x3(*M, Soft, 100, R);
  else
    GaussianBlurRadius(*M, Radius, R);
  return true;
}

bool AlphaDispersedContour(TLayerItem& Item, int Radius) {
  if (Radius <= 0) return false;
  TBitmap* M = EdgeMask(Item);
  if (!M) return false;
  const TRect R = ContentRect(*M, 0);
  GrowShrinkMask(*M, -Radius, R, false);
  Diffuse24(*M, Radius, 0, R);
  return true;
}

bool SmoothLayerEdges(TLayerItem& Item) {
  TBitmap* M = EdgeMask(Item);
  if (!M) return false;
  const int W = M->Width(), H = M->Height();
  const int S = std::max(W, H);
  if (S <= 800) {
    SetProgressPasses(3);
    EdgePass(*M, std::max(7, S / 69));
    Smooth24(*M, 100, WholeRect(*M));
    return true;
  }
  SetProgressPasses(5);
  // Black where the mask is not fully transparent; the torn edge is made on
  // a copy within 800 x 800 and only ever adds transparency.
  TBitmap Work(W, H, pf24bit, clWhite);
  FillColorByteRange24(*M, WholeRect(*M), Work, 0, 0, WholeRect(Work), clBlack, 0, 254);
  int SW = W, SH = H;
  FitSize(SW, SH, 800, 800);
  TBitmap Small;
  StretchBitmap(SW, SH, TStretchMode::smBilinear, Work, Small);
  EdgePass(Small, 12);
  StretchBitmap(W, H, TStretchMode::smBilinear, Small, Work);
  ThresholdTwoColors24(Work, 128, clBlack, clWhite, WholeRect(Work));
  Smooth24(Work, 100, WholeRect(Work));
  CombineMaskMax(Work, *M, 0, 0, WholeRect(*M));
  return true;
}
