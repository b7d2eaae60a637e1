#include "raster/TransformFunc.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils.h"
#include "raster/ProgressScope.h"
#include "raster/RectUtils.h"
#include "raster/Resampling.h"
#include "raster/Rotation24.h"
#include "raster/Stretching.h"
#include "raster/Transparency.h"

#include <algorithm>

namespace {

bool Usable(const TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty(); }

// Sets a pass count for the duration of a scope, and one pass again after it
// (also when an exception leaves).
class TProgressPasses {
public:
  explicit TProgressPasses(int Count) { SetProgressPasses(Count); }
  ~TProgressPasses() { SetProgressPasses(1); }
  TProgressPasses(const TProgressPasses&) = delete;
  TProgressPasses& operator=(const TProgressPasses&) = delete;
};

// Bitmap takes the pixels of Work, announced as its own change.
void TakeOver(TBitmap& Bitmap, TBitmap& Work) {
  Bitmap.Swap(Work);
  Bitmap.Changed();
}

} // namespace

void DrawTransformed(const TBitmap& Src, TBitmap& Dst, TTransformation& T, TAntialiasMode Mode, TColor BackColor) {
  if (Dst.PixelFormat() != pf24bit) return;
  const TRect B = T.GetBounds();
  TRect R = B;
  if (!ClipToBitmap(R, Dst)) return;
  if (T.TanslateOnly() || (Mode == amNearest && T.ScaleOnly())) {
    // The part of the bounds inside Dst, each pixel where the whole
    // stretch puts it.
    StretchRect24(Src, T.SrcRect(), Dst, B, R);
    return;
  }
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  T.Prepare();
  TScanLinesManagerEx Sampler(Src, WholeBitmapRect);
  if (BackColor == clNone)
    Sampler.SetPixelsInLimits(true);
  else
    Sampler.SetBackColor(ColorToTRGB(BackColor));
  Sampler.SetAntialiasMode(Mode);
  Sampler.WithSampler([&](auto Read) {
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      if (!Progress.Step(Y - R.Top)) return;
      PRGBArray Row = RowOf(Dst, Y);
      for (int X = R.Left; X < R.Right; ++X) {
        double SX, SY;
        T.Reverse(X, Y, SX, SY);
        if (Sampler.PtInLimits(SX, SY)) Row[X] = Read(SX, SY);
      }
    }
  });
}

void TransformBitmapAndMask(TBitmap& Bitmap, TBitmap& Mask, TTransformation& T) {
  const TProgressPasses Passes(2);
  if (Mask.Empty()) NewBitmap24(Mask, Bitmap.Width(), Bitmap.Height(), clBlack);
  T.GoToOrigin();
  BleedColorsIntoTransparent(Bitmap, Mask, 2, WholeBitmapRect);
  const TRect R = T.GetBounds();
  TBitmap Work;
  NewBitmap24(Work, R.Right, R.Bottom, clWhite);
  DrawTransformed(Mask, Work, T, amBilinear, clWhite);
  Mask.Assign(Work);
  // Drawn over the transformed mask: pixels beyond the sampler's reach keep
  // the mask's values, which the whitening below makes white.
  DrawTransformed(Bitmap, Work, T, amBicubic, clNone);
  TakeOver(Bitmap, Work);
  WhitenMaskedPixels(Bitmap, Mask);
}

int ScaleBleedRadius(int SW, int SH, int W, int H) {
  if (SW <= 0 || SH <= 0 || W <= 0 || H <= 0) return 0;
  const double SX = static_cast<double>(W) / SW;
  const double SY = static_cast<double>(H) / SH;
  if (SX == 1 && SY == 1) return 0;
  if (SX > 1 && SY > 1) return 2;
  return std::min(Ceil(std::max(std::max(SX, 1 / SX), std::max(SY, 1 / SY))), 77);
}

void ScaleBitmapAndMask(int W, int H, uint8_t Filter, TBitmap* SrcBitmap, const TBitmap* SrcMask, TBitmap& DstBitmap,
                        TBitmap& DstMask) {
  TBitmap& Source = Usable(SrcBitmap) ? *SrcBitmap : DstBitmap;
  const TBitmap& SourceMask = Usable(SrcMask) ? *SrcMask : DstMask;
  const auto ScaleBitmap = [&] {
    if (Filter == 0 || W <= 1 || H <= 1) {
      if (Usable(SrcBitmap))
        StretchBitmap(W, H, TStretchMode::smNearest, *SrcBitmap, DstBitmap);
      else
        StretchBitmapInPlace(W, H, TStretchMode::smNearest, DstBitmap);
    } else if (Usable(SrcBitmap)) {
      ResampleBitmap(W, H, Filter, 0, *SrcBitmap, DstBitmap);
    } else {
      ResampleBitmapInPlace(W, H, Filter, 0, DstBitmap);
    }
  };
  // The case is decided on the mask being replaced; the source mask only
  // serves for the bleeding and as the picture of the new mask.
  if (DstMask.Empty()) {
    ScaleBitmap();
    return;
  }
  if (IsMaskOpaque(DstMask)) {
    ScaleBitmap();
    NewBitmap24(DstMask, W, H, clBlack);
    return;
  }
  const TProgressPasses Passes(2);
  BleedColorsIntoTransparent(Source, SourceMask, ScaleBleedRadius(Source.Width(), Source.Height(), W, H),
                             WholeBitmapRect);
  const TStretchMode Mode = Filter != 0 ? TStretchMode::smBilinear : TStretchMode::smNearest;
  if (Usable(SrcMask))
    StretchBitmap(W, H, Mode, *SrcMask, DstMask);
  else
    StretchBitmapInPlace(W, H, Mode, DstMask);
  ScaleBitmap();
}

void ScaleBitmapAndMaskLanczos3(int W, int H, TBitmap& Bitmap, TBitmap& Mask) {
  ScaleBitmapAndMask(W, H, 5, nullptr, nullptr, Bitmap, Mask);
}

void BleedColorsIntoTransparent(TBitmap& Bitmap, const TBitmap& Mask, int Radius, const TRect& R) {
  if (Radius < 1 || Bitmap.PixelFormat() != pf24bit || Mask.PixelFormat() != pf24bit ||
      Mask.Width() != Bitmap.Width() || Mask.Height() != Bitmap.Height())
    return;
  const TRect A = IntersectRect(R, BitmapRect(Bitmap));
  if (A.IsEmpty()) return;
  // Only pixels of A whose mask byte is below 255 serve; they are never
  // written, so the colours read are always original ones.
  const auto Source = [&](int X, int Y) { return PtInRect(A, {X, Y}) && RowOf(Mask, Y)[X].Blue < 255; };
  for (int Y = A.Top; Y < A.Bottom; ++Y) {
    const TRGB* MaskRow = RowOf(Mask, Y);
    PRGBArray Row = RowOf(Bitmap, Y);
    for (int X = A.Left; X < A.Right; ++X) {
      if (MaskRow[X].Blue != 255) continue;
      for (int K = -Radius; K <= Radius; ++K) {
        const TPoint Ring[4] = {{X + K, Y - Radius}, {X + K, Y + Radius}, {X - Radius, Y + K}, {X + Radius, Y + K}};
        for (const TPoint& P : Ring) {
          if (Source(P.X, P.Y)) {
            Row[X] = RowOf(Bitmap, P.Y)[P.X];
            break;
          }
        }
      }
    }
  }
}

void FlipRotateBitmap(TBitmap& Bitmap, int Code) {
  if (Bitmap.Empty()) return;
  switch (Code) {
  case 0:
    FlipBitmapVertical(Bitmap);
    break;
  case 1:
    FlipBitmapHorizontal(Bitmap);
    break;
  case 2:
    RotateBitmap90(Bitmap, true);
    break;
  case 3:
    RotateBitmap90(Bitmap, false);
    break;
  case 4:
    RotateBitmap180(Bitmap);
    break;
  default:
    break;
  }
}

void AutoCropLayer(TBitmap& Bitmap, TBitmap& Mask, TPoint& Pos) {
  const TRect R = AutoCropRect(Mask, 0, clWhite);
  if (R.IsEmpty() || R == BitmapRect(Mask)) return;
  CropBitmap(Bitmap, R);
  CropBitmap(Mask, R);
  Pos = {Pos.X + R.Left, Pos.Y + R.Top};
}

void ExpandBitmap(TBitmap& Bitmap, int W, int H, int X, int Y) {
  if (Bitmap.Empty()) return;
  TBitmap Work;
  NewBitmap24(Work, W, H, clWhite);
  CopyBitmap24(Bitmap, Work, X, Y);
  TakeOver(Bitmap, Work);
}

void WhitenMaskedPixels(TBitmap& Bitmap, const TBitmap& Mask) {
  if (Mask.Empty()) return;
  FillColorByteRange24(Mask, WholeBitmapRect, Bitmap, 0, 0, WholeBitmapRect, clWhite, 255, 255);
}

bool IsMaskOpaque(const TBitmap& Mask) { return IsMaskUniform(Mask, 0, WholeBitmapRect); }

bool IsMaskPixelTransparent(const TBitmap& Mask, int X, int Y) {
  return !Mask.Empty() && PtInRect(BitmapRect(Mask), {X, Y}) && GetPixel24(Mask, X, Y).Blue == 255;
}

void ResetLayerBitmap(TBitmap& Bitmap, int W, int H, TColor Color) { NewBitmap24(Bitmap, W, H, Color); }

void ShiftLayerBitmap(TBitmap& Bitmap, int Dx, int Dy, bool Wrap) { ShiftBitmap(Bitmap, Dx, Dy, Wrap); }

int SplitToBitmapAndMask(const TBitmap& Src, TBitmap& Bitmap, TBitmap& Mask) {
  return ExtractTransparencyMask(Src, Bitmap, Mask);
}

void CombineToRGBA(const TBitmap& Bitmap, const TBitmap& Mask, TBitmap& Dst) {
  BitmapMaskToBitmap32(Bitmap, Mask, Dst, false);
}
