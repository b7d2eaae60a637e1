#include "document/LayerUtils.h"

#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/BlendModes.h"
#include "raster/ColorFill.h"
#include "raster/LayerPaint.h"
#include "raster/RandomGen.h"
#include "raster/RectUtils.h"
#include "raster/ScanMan.h"
#include "raster/Stretching.h"
#include "raster/TransformFunc.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool HasMask(const TBitmap* Mask) { return Mask && !Mask->Empty(); }

void BlurShadowByStyle(TBitmap& Mask, int Radius, const TRect& Rect, TLayerShadowStyle Style) {
  if (Style == lstDiffuse)
    BlurDiffuseShadowMask(Mask, Radius, Rect);
  else
    BlurShadowMask(Mask, Radius, Rect);
}

// Index of the source column or row for each destination one: Trunc(d /
// Scale) held to 0..Size - 1.
std::vector<int> ScaledIndexes(int From, int To, int Origin, double Scale, int Size) {
  std::vector<int> Index(static_cast<size_t>(std::max(To - From, 0)));
  for (int V = From; V < To; ++V)
    Index[static_cast<size_t>(V - From)] = std::clamp(Trunc((V - Origin) / Scale), 0, Size - 1);
  return Index;
}

} // namespace

// ---- Bitmap layers, 1:1 -------------------------------------------------------------

void PutBitmap(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip) {
  CopyRect24(Src, WholeBitmapRect, Dst, X, Y, Clip);
}

void PutBitmapOpacity(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip, int Opacity,
                      const TBitmap* Mask) {
  if (HasMask(Mask))
    CopyRect24MaskOpacity(Src, WholeBitmapRect, Dst, X, Y, Clip, Opacity, Mask);
  else if (Src.Transparent)
    CopyRect24ColorKey(Src, WholeBitmapRect, Dst, X, Y, Clip, Opacity, Src.TransparentColor(), 0);
  else
    CopyRect24Opacity(Src, WholeBitmapRect, Dst, X, Y, Clip, Opacity);
}

void PutBitmapBlend(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Clip, int Opacity, const TBitmap* Mask,
                    int BlendMode) {
  if (NormalBlendMode(BlendMode) != 0)
    BlendRect24(Src, WholeBitmapRect, Dst, X, Y, Clip, Opacity, Mask, BlendMode);
  else
    PutBitmapOpacity(Src, Dst, X, Y, Clip, Opacity, Mask);
}

void PutBitmapRGBA(const TBitmap& Src, const TBitmap* SrcMask, int BlendMode, TBitmap& Dst, TBitmap* DstMask, int X,
                   int Y, const TRect& Clip, int Opacity) {
  BlendBitmapOnLayer(Src, SrcMask, WholeBitmapRect, BlendMode, Dst, DstMask, X, Y, Clip, Opacity);
}

// ---- Stretched --------------------------------------------------------------------------

void PutBitmapStretch(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip) {
  StretchRect24(Src, WholeBitmapRect, Dst, DestRect, Clip);
}

void PutBitmapStretchOpacity(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip, int Opacity,
                             const TBitmap* Mask) {
  if (HasMask(Mask))
    StretchRect24MaskOpacity(Src, WholeBitmapRect, Dst, DestRect, Clip, Opacity, Mask);
  else if (Src.Transparent)
    StretchRect24ColorKey(Src, WholeBitmapRect, Dst, DestRect, Clip, Opacity, Src.TransparentColor(), 0);
  else
    StretchRect24Opacity(Src, WholeBitmapRect, Dst, DestRect, Clip, Opacity);
}

void PutBitmapStretchBlend(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip, int Opacity,
                           const TBitmap* Mask, int BlendMode) {
  if (NormalBlendMode(BlendMode) != 0)
    BlendStretchRect24(Src, WholeBitmapRect, Dst, DestRect, Clip, Opacity, Mask, BlendMode);
  else
    PutBitmapStretchOpacity(Src, Dst, DestRect, Clip, Opacity, Mask);
}

void PutBitmapStretchSmooth(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip) {
  StretchRectHalftone(Src, WholeBitmapRect, Dst, DestRect, Clip);
}

// ---- Through a transformation -----------------------------------------------------------

void PutBitmapTransformed(const TBitmap& Src, TBitmap& Dst, TTransformation& Transformation, bool Antialias,
                          bool IsMask) {
  if (IsMask)
    DrawTransformed(Src, Dst, Transformation, MaskAntialiasMode(Antialias), clWhite);
  else
    DrawTransformed(Src, Dst, Transformation, ImageAntialiasMode(Antialias), clNone);
}

void PutBitmapTransformedBlend(const TBitmap& Src, TBitmap& Dst, const TRect& DestRect, const TRect& Clip,
                               TTransformation& Transformation, int Opacity, const TBitmap* Mask, int BlendMode) {
  BlendTransformRect24(Src, Dst, DestRect, Clip, Transformation, Opacity, Mask, BlendMode);
}

// ---- Colour layers, adjustment layers, overlays ------------------------------------------

void FillColorOpacity(TBitmap& Dst, TColor Color, int Opacity, bool Invert, const TRect& Rect) {
  FillColor24(Dst, Color, Invert ? -Opacity : Opacity, Rect);
}

void FillColorBlend(TBitmap& Dst, TColor Color, int Opacity, bool Invert, const TRect& Rect, int BlendMode) {
  if (NormalBlendMode(BlendMode) != 0)
    BlendColorRect24(Color, Invert ? -Opacity : Opacity, Dst, Rect, BlendMode);
  else
    FillColorOpacity(Dst, Color, Opacity, Invert, Rect);
}

void FillColorRGBA(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, bool Invert, const TRect& Rect,
                   int Opacity) {
  BlendFillColorOnLayer(Color, BlendMode, Dst, DstMask, Rect, Invert ? -Opacity : Opacity);
}

void ApplyAdjustInfos(TBitmap& Dst, const TAdjustLayerInfos& Infos, int Opacity, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Dst)) return;
  const int Op = UsedOpacity(Opacity);
  if (Infos.Luminosity != 0) Brightness24(Dst, Infos.Luminosity * Op / 100, R);
  if (Infos.Contrast != 0) Contrast24(Dst, Infos.Contrast * Op / 100, R);
  if (Infos.Saturation != 0) Saturation24(Dst, Infos.Saturation * Op / 100, R);
  if (Infos.Hue != 0) HueShift24(Dst, Infos.Hue * Op / 100, R);
  // A stored gamma that is not a usable factor leaves the gamma step out.
  if (Infos.Gamma != 1.0 && std::isfinite(Infos.Gamma) && Infos.Gamma > 0)
    Gamma24(Dst, (Infos.Gamma - 1) * Op / 100 + 1, R);
}

void GrayscaleRect(TBitmap& Dst, const TRect& Rect) { Grayscale24(Dst, Rect); }

void TileBitmapOpacity(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity) {
  TileBitmap24Opacity(Src, Dst, X, Y, Rect, Opacity);
}

// ---- Drop shadows -----------------------------------------------------------------------

TRect ShadowRect(const TRect& R, const TLayerShadowInfos& SI) {
  const TLayerShadowInfos S = UsedShadowInfos(SI);
  return OffsetRect(InflateRect(R, static_cast<int>(S.Blur)), S.DX, S.DY);
}

void BlurShadowMask(TBitmap& Mask, int Radius, const TRect& Rect) {
  if (Radius <= 0) return;
  if (Radius == 1)
    ConvolveMatrix3x3(Mask, MatSmooth, 100, Rect);
  else
    GaussianBlurRadius(Mask, Radius, Rect);
}

void DiffuseShadowMask(TBitmap& Mask, int Amount, const TRect& Rect) {
  if (Amount <= 0 || Mask.PixelFormat() != pf24bit) return;
  TRect R = Rect;
  if (!ClipToBitmap(R, Mask)) return;
  Randomize();
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    PRGBArray Row = RowOf(Mask, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const int V = Row[X].Blue;
      if (V == 255) continue;
      const auto N = static_cast<uint8_t>(std::clamp(V + Random(Amount) - Amount / 2, 0, 255));
      Row[X] = {N, N, N};
    }
  }
}

void BlurDiffuseShadowMask(TBitmap& Mask, int Radius, const TRect& Rect) {
  if (Radius <= 0) return;
  BlurShadowMask(Mask, Radius, Rect);
  DiffuseShadowMask(Mask, 133, Rect);
}

void MakeShadowMask(const TBitmap& LayerMask, TBitmap& ShadowMask, int W, int H, const TLayerShadowInfos& SI) {
  const TLayerShadowInfos S = UsedShadowInfos(SI);
  const int B = static_cast<int>(S.Blur);
  NewBitmap24(ShadowMask, W + 2 * B, H + 2 * B, clWhite);
  if (LayerMask.Empty()) return;
  PutBitmap(LayerMask, ShadowMask, B, B, WholeBitmapRect);
  BlurShadowByStyle(ShadowMask, B, WholeBitmapRect, S.Style);
  FillColorMask24(LayerMask, WholeBitmapRect, ShadowMask, B - S.DX, B - S.DY, WholeBitmapRect, clWhite, 100);
}

void PaintShadowScaled(const TBitmap& LayerMask, const TBitmap& ShadowMask, TBitmap& Dst, const TRect& LayerRectDst,
                       const TRect& ShadowRectDst, const TRect& Clip, TColor Color, int Opacity) {
  if (ShadowMask.Empty() || ShadowMask.PixelFormat() != pf24bit || Dst.PixelFormat() != pf24bit) return;
  const int Op = UsedOpacity(Opacity);
  // The shadow mask covers ShadowRectDst only.
  TRect R = IntersectRect(Clip, ShadowRectDst);
  if (Op <= 0 || !ClipToBitmap(R, Dst)) return;
  const bool UseLayer = !LayerMask.Empty() && LayerMask.PixelFormat() == pf24bit && !LayerRectDst.IsEmpty();
  const TRect& SR = ShadowRectDst;
  const TRect& LR = LayerRectDst;
  const double SxT = static_cast<double>(SR.Width()) / ShadowMask.Width();
  const double SyT = static_cast<double>(SR.Height()) / ShadowMask.Height();
  const std::vector<int> TCol = ScaledIndexes(R.Left, R.Right, SR.Left, SxT, ShadowMask.Width());
  // The layer's columns over R, -1 outside the layer.
  std::vector<int> MCol(TCol.size(), -1);
  double SyM = 1;
  if (UseLayer) {
    const double SxM = static_cast<double>(LR.Width()) / LayerMask.Width();
    SyM = static_cast<double>(LR.Height()) / LayerMask.Height();
    const int From = std::max(R.Left, LR.Left), To = std::min(R.Right, LR.Right);
    const std::vector<int> Cols = ScaledIndexes(From, To, LR.Left, SxM, LayerMask.Width());
    std::copy(Cols.begin(), Cols.end(), MCol.begin() + std::max(From - R.Left, 0));
  }
  const TRGB C = ColorToTRGB(Color);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* TRow = RowOf(ShadowMask, std::clamp(Trunc((Y - SR.Top) / SyT), 0, ShadowMask.Height() - 1));
    const TRGB* MRow = UseLayer && Y >= LR.Top && Y < LR.Bottom
                           ? RowOf(LayerMask, std::clamp(Trunc((Y - LR.Top) / SyM), 0, LayerMask.Height() - 1))
                           : nullptr;
    PRGBArray D = RowOf(Dst, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const size_t I = static_cast<size_t>(X - R.Left);
      const int S = TRow[TCol[I]].Blue;
      if (S == 255) continue;
      int Cover = 255 - S;
      if (MRow && MCol[I] >= 0) Cover = Cover * MRow[MCol[I]].Blue / 255;
      MixPercent(D[X], C, Op * Cover / 255);
    }
  }
}

void DrawLayerShadow(const TBitmap& LayerMask, TBitmap& Dst, TRect LayerRectSrc, const TRect& LayerRectDst,
                     TRect ShadowRectSrc, TRect ShadowRectDst, TRect ClipSrc, TRect ClipDst, int LayerOpacity,
                     const TLayerShadowInfos& SI) {
  TLayerShadowInfos S = UsedShadowInfos(SI);
  const bool Clipped = ClipToBitmap(ClipDst, Dst);
  if (LayerMask.Empty() || !Clipped || ClipSrc.IsEmpty() || LayerRectDst.IsEmpty() || ShadowRectDst.IsEmpty()) return;
  // Dst shows the image reduced: the shadow is built at Dst's scale.
  if (ShadowRectDst.Width() < ShadowRectSrc.Width() || ShadowRectDst.Height() < ShadowRectSrc.Height()) {
    const double K = ShadowRectDst.Width() > ShadowRectDst.Height()
                         ? static_cast<double>(ShadowRectDst.Width()) / ShadowRectSrc.Width()
                         : static_cast<double>(ShadowRectDst.Height()) / ShadowRectSrc.Height();
    S.DX = Trunc(S.DX * K);
    S.DY = Trunc(S.DY * K);
    if (S.Blur > 0) S.Blur = static_cast<uint32_t>(std::max(1, Trunc(S.Blur * K)));
    LayerRectSrc =
        Bounds(Trunc(LayerRectSrc.Left * K), Trunc(LayerRectSrc.Top * K), LayerRectDst.Width(), LayerRectDst.Height());
    ShadowRectSrc = ShadowRect(LayerRectSrc, S);
    ShadowRectDst = Bounds(ShadowRectDst.Left, ShadowRectDst.Top, ShadowRectSrc.Width(), ShadowRectSrc.Height());
    ClipSrc = Bounds(Trunc(ClipSrc.Left * K), Trunc(ClipSrc.Top * K), ClipDst.Width(), ClipDst.Height());
  }
  ClipDst = IntersectRect(ClipDst, ShadowRectDst);
  ClipSrc = IntersectRect(ClipSrc, ShadowRectSrc);
  if (ClipDst.IsEmpty() || ClipSrc.IsEmpty()) return;
  const int B = static_cast<int>(S.Blur);
  // The shadow mask over the shadow rectangle; only the work area (the clip
  // plus the blur radius) is drawn, blurred and read. At 1:1 only that part
  // is kept, which gives the same pixels without a mask of the whole layer.
  const TRect Whole{0, 0, ShadowRectSrc.Width(), ShadowRectSrc.Height()};
  const TRect Area = IntersectRect(OffsetRect(InflateRect(ClipSrc, B), -ShadowRectSrc.Left, -ShadowRectSrc.Top), Whole);
  const bool OneToOne =
      ShadowRectDst.Width() == ShadowRectSrc.Width() && ShadowRectDst.Height() == ShadowRectSrc.Height();
  const TRect Kept = OneToOne ? Area : Whole;
  TBitmap Work;
  NewBitmap24(Work, Kept.Width(), Kept.Height(), clWhite);
  const TRect WorkArea = OffsetRect(Area, -Kept.Left, -Kept.Top);
  PutBitmapStretch(LayerMask, Work, Bounds(B - Kept.Left, B - Kept.Top, LayerRectSrc.Width(), LayerRectSrc.Height()),
                   WorkArea);
  BlurShadowByStyle(Work, B, WorkArea, S.Style);
  PaintShadowScaled(LayerMask, Work, Dst, LayerRectDst, OffsetRect(Kept, ShadowRectDst.Left, ShadowRectDst.Top),
                    ClipDst, S.Color, S.Opacity * UsedOpacity(LayerOpacity) / 100);
}
