#include "filters/MaskOverlay.h"

#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Filtres24.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/RectUtils.h"
#include "raster/Transparency.h"

namespace {

constexpr int MaskBlurRadius = 3;
constexpr int EffectBlurRadius = 12;

// The effect of meGrey or meBlur over R, then the pixels from before the
// command laid back through B (white in B keeps the effect after the
// inversion of the fitting) and, over everything, at 100 - Opacity percent.
void ApplyAndRestore(TMaskOverlayTarget& T, const TRect& R, const TBitmap& B, TMaskEffect Mode, int Opacity) {
  if (T.Before.Width() != T.Layer.Width() || T.Before.Height() != T.Layer.Height()) return;
  if (Mode == meGrey)
    Grayscale24(T.Layer, R);
  else
    GaussianBlurRadius(T.Layer, EffectBlurRadius, R);
  // The mask has R's geometry: the old pixels are read from a copy of R.
  TBitmap Old(R.Width(), R.Height(), pf24bit, clWhite);
  CopyRect24(T.Before, R, Old, 0, 0, BitmapRect(Old));
  CopyRect24Mask(Old, BitmapRect(Old), T.Layer, R.Left, R.Top, R, &B);
  CopyRect24Opacity(Old, BitmapRect(Old), T.Layer, R.Left, R.Top, R, 100 - Opacity);
}

} // namespace

void AutoLevelMask(TBitmap& Mask) {
  uint8_t MinR = 255, MaxR = 0, MinG = 255, MaxG = 0, MinB = 255, MaxB = 0;
  const TRect All = BitmapRect(Mask);
  ChannelMinMax24(Mask, All, MinR, MaxR, MinG, MaxG, MinB, MaxB);
  if (MaxR - MinR <= 110 || MaxG - MinG <= 110 || MaxB - MinB <= 110) return;
  LevelsRGB24(Mask, 1.0, MinR, MaxR, 0, 255, 1.0, MinG, MaxG, 0, 255, 1.0, MinB, MaxB, 0, 255, All);
}

void FitMask(const TBitmap& Mask, int W, int H, bool Tile, bool Blur, bool TwoTone, bool Invert, TBitmap& B) {
  if (Tile) {
    B.Assign(TBitmap(W, H, pf24bit, clWhite));
    TileBitmap24(Mask, B, 0, 0, BitmapRect(B));
  } else {
    StretchBitmap(W, H, TStretchMode::smBilinear, Mask, B);
  }
  const TRect All = BitmapRect(B);
  if (Blur) GaussianBlurRadius(B, MaskBlurRadius, All);
  if (TwoTone) ThresholdTwoColors24(B, 128, clBlack, clWhite, All);
  if (Invert) Negative24(B, All);
}

void ApplyMaskOverlay(TBitmap& Mask, const TMaskOverlaySettings& S, TMaskOverlayTarget& T, TRect R,
                      const TBitmap& PatternBmp, const TBitmap& PatternMask) {
  if (Mask.Empty() || !ClipToBitmap(R, T.Layer)) return;
  const bool HasAlpha = !T.LayerMask.Empty();
  const bool KeyTransparency = S.Mode == meTransparent && !HasAlpha;
  {
    const TPassesScope Passes(1 + int(S.Blur) + int(S.Mode == meBlur));
    AutoLevelMask(Mask);
    TBitmap B;
    FitMask(Mask, R.Width(), R.Height(), S.Tile, S.Blur, S.TwoTone || KeyTransparency,
            S.Mode == meGrey || S.Mode == meBlur, B);
    const TRect Fitted = BitmapRect(B);
    switch (S.Mode) {
    case meColor:
      FillColorMask24(B, Fitted, T.Layer, R.Left, R.Top, R, S.Color, S.Opacity);
      break;
    case meGrey:
    case meBlur:
      ApplyAndRestore(T, R, B, S.Mode, S.Opacity);
      break;
    case mePattern:
      if (PatternBmp.Empty()) break;
      if (!PatternMask.Empty()) CombineMaskMaxTiled(PatternMask, B, 0, 0, Fitted);
      FillPatternMask24(B, Fitted, T.Layer, R.Left, R.Top, R, PatternBmp, S.Opacity);
      break;
    case meTransparent:
      if (HasAlpha) {
        FillColorMask24(B, Fitted, T.LayerMask, R.Left, R.Top, R, clWhite, S.Opacity);
      } else {
        FillColorMask24(B, Fitted, T.Background, R.Left, R.Top, R, TransparentKeyColor, 100);
        T.Background.SetTransparentColor(TransparentKeyColor);
      }
      break;
    }
  }
  T.Background.Transparent = KeyTransparency;
}
