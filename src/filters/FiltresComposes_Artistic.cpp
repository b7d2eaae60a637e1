// The artistic filters of FiltresComposes: fixed chains of diffusion, rank,
// noise, matrix and stroke steps, each in the order its dialog's effect was
// tuned with.
#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Convolution.h"
#include "filters/FilterTargets.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"

#include <algorithm>

void Smudge24(TBitmap& Bitmap, int Distance, const TRect& Rect) {
  TPassesScope Passes(2);
  Diffuse24(Bitmap, Distance, 1, Rect);
  Maximum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 3, 5, Rect);
  Minimum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 1, 5, Rect);
}

void Crystallize24(TBitmap& Bitmap, int Size, const TRect& Rect) {
  Mosaic24(Bitmap, Size, Rect);
  Diffuse24(Bitmap, Size, 0, Rect);
  Maximum24(Bitmap, 1, Rect);
}

namespace {

// The common end of the palette knife and the oil paint: noise, spread the
// light, then relief and a strong sharpening.
void PaintTexture(TBitmap& Bitmap, int Noise, int Spread, const TRect& Rect) {
  MonoNoise24(Bitmap, Noise, Rect);
  Maximum24(Bitmap, Spread, Rect);
  ConvolveMatrix3x3(Bitmap, MatRelief, 77, Rect);
  ConvolveMatrix3x3(Bitmap, MatSharpenStrong, 40, Rect);
}

} // namespace

void PaletteKnife24(TBitmap& Bitmap, int Size, const TRect& Rect) {
  TPassesScope Passes(4);
  Mosaic24(Bitmap, Size, Rect);
  Diffuse24(Bitmap, Size, 2, Rect);
  Minimum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 3, 1, Rect);
  PaintTexture(Bitmap, 37, 2, Rect);
}

void OilPaint24(TBitmap& Bitmap, int Size, const TRect& Rect) {
  TPassesScope Passes(4);
  Mosaic24(Bitmap, Size / 2 + 1, Rect);
  Diffuse24(Bitmap, Size, 0, Rect);
  Minimum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 1, 4, Rect);
  PaintTexture(Bitmap, 24, 1, Rect);
}

void Watercolor24(TBitmap& Bitmap, int Distance, bool StrongMinimum, bool Contours, const TRect& Rect) {
  TPassesScope Passes(Contours ? 8 : 6);
  UnsharpMask24(Bitmap, 1, 333, 0, true, Rect, false);
  Minimum24(Bitmap, StrongMinimum ? 2 : 1, Rect);
  Diffuse24(Bitmap, Distance, 0, Rect);
  Maximum24(Bitmap, 1, Rect);
  if (Contours) {
    TBitmap Mask;
    FeatheredContours(Bitmap, Mask, 8, Rect);
    PaintThroughMask(Bitmap, Mask, clBlack, 77, Rect);
  }
  MonoNoise24(Bitmap, 24, Rect);
  Maximum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 1, 4, Rect);
  Smooth24(Bitmap, 100, Rect);
}

void IndiaInk24(TBitmap& Bitmap, int Level, int Threshold, const TRect& Rect) {
  TPassesScope Passes(5);
  TBitmap Mask;
  EdgeMask24(Bitmap, Mask, Level, false, Rect);
  Minimum24(Mask, 1, Rect);
  ThresholdTwoColors24(Bitmap, Threshold, clBlack, clWhite, Rect);
  Fog24(Bitmap, nullptr, clWhite, 12, Rect);
  HorizontalStripes24(Bitmap, 1, 2, clWhite, 7, Rect);
  Diffuse24(Bitmap, 1, 0, Rect);
  BoxBlur3x3(Bitmap, Rect);
  PaintThroughMask(Bitmap, Mask, clBlack, 100, Rect);
  Diffuse24(Bitmap, 1, 4, Rect);
  Smooth24(Bitmap, 100, Rect);
}

void Charcoal24(TBitmap& Bitmap, int Threshold, int HighlightThreshold, bool Cream, bool Highlights,
                const TRect& Rect) {
  TPassesScope Passes(4);
  TBitmap Lights, Mask;
  if (Highlights) {
    Assign24(Bitmap, Lights);
    ThresholdTwoColors24(Lights, HighlightThreshold, clWhite, clBlack, Rect);
    HorizontalStripes24(Lights, 2, 3, clWhite, 33, Rect);
  }
  EdgeMask24(Bitmap, Mask, 7, false, Rect);
  Minimum24(Mask, 2, Rect);
  ThresholdTwoColors24(Bitmap, Threshold, clBlack, clWhite, Rect);
  RandomStrokes24(Bitmap, 12, 333, 7, 200, 255, clBlack, false, Rect);
  HorizontalStripes24(Bitmap, 2, 3, clWhite, 12, Rect);
  // The strokes and dark areas join the contours in the mask.
  PaintThroughMask(Mask, Bitmap, clBlack, 100, Rect);
  // Then the paper, with the mask's dark parts drawn on it.
  FillColor24(Bitmap, Cream ? TColor(0xAAEEEE) : TColor(0xCCCCCC), 100, Rect);
  HorizontalStripes24(Bitmap, 2, 3, clWhite, 33, Rect);
  PaintThroughMask(Bitmap, Mask, Cream ? TColor(0x002277) : clBlack, 100, Rect);
  if (Highlights) PaintThroughMask(Bitmap, Lights, clWhite, 100, Rect);
  Diffuse24(Bitmap, 1, 0, Rect);
  Smooth24(Bitmap, 100, Rect);
}

void BlackPencil24(TBitmap& Bitmap, const TBitmap& Src, int Length, int Density, bool Contours, const TRect& Rect) {
  TBitmap Holder, Mask;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  TPassesScope Passes(Contours ? 5 : 3);
  const int Step = Density < 9 ? 33 : 12;
  if (Contours) FeatheredContours(Before, Mask, 7, Rect);
  FillColor24(Bitmap, clWhite, 100, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, Step, Density, false, 0, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, Step, Density, false, 1, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, Step, Density / 2 + 1, false, 2, Rect);
  if (Contours) PaintThroughMask(Bitmap, Mask, clBlack, 77, Rect);
}

void ColorPencil24(TBitmap& Bitmap, const TBitmap& Src, int Amount, const TRect& Rect) {
  TBitmap Holder, Mask;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  TPassesScope Passes(6);
  const int Length = std::max(3, std::min(Bitmap.Width(), Bitmap.Height()) / 100);
  FeatheredContours(Bitmap, Mask, 7, Rect);
  FillColor24(Bitmap, clWhite, 33, Rect);
  Grid24(Bitmap, 5, clWhite, 1, false, true, true, false, Rect);
  Diffuse24(Bitmap, 1, 4, Rect);
  ConvolveMatrix3x3(Bitmap, MatSoftenMild, 100, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, 12, 7, true, 0, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, 12, 7, true, 1, Rect);
  ColourStrokes24(Before, Bitmap, Length, 4, 12, 3, true, 2, Rect);
  PaintThroughMask(Bitmap, Mask, TColor(0x330000), 37, Rect);
  Saturation24(Bitmap, 77, Rect);
  TRect R = Rect;
  if (ClipToBitmap(R, Bitmap)) CopyRect24Opacity(Before, R, Bitmap, R.Left, R.Top, R, 60 - 3 * Amount);
}

void Pastels24(TBitmap& Bitmap, int Size, bool Strokes, bool Stripes, const TRect& Rect) {
  TPassesScope Passes(3 + (Strokes ? 2 : 0) + (Stripes ? 1 : 0));
  if (Strokes) {
    RandomStrokes24(Bitmap, Size / 2, 33, 0, 0, 33, clBlack, false, Rect);
    RandomStrokes24(Bitmap, Size / 2, 33, 0, 220, 255, clWhite, false, Rect);
  }
  Diffuse24(Bitmap, Size, 3, Rect);
  Maximum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, std::min(Size, 3), 3, Rect);
  ConvolveMatrix3x3(Bitmap, MatSoftenMild, 77, Rect);
  ConvolveMatrix3x3(Bitmap, MatRelief, 40, Rect);
  if (Stripes) {
    HorizontalStripes24(Bitmap, 3, 2, clWhite, 8, Rect);
    Diffuse24(Bitmap, 1, 4, Rect);
    ConvolveMatrix3x3(Bitmap, MatSoftenMild, 77, Rect);
  }
}

void Comics24(TBitmap& Bitmap, int DarkLevel, int LightLevel, bool Posterize, bool Strokes, const TRect& Rect) {
  TPassesScope Passes(6 + (Posterize ? 1 : 0) + (Strokes ? 2 : 0));
  LightLevel = std::max(LightLevel, DarkLevel);
  Gamma24(Bitmap, 1.33, Rect);
  Saturation24(Bitmap, 77, Rect);
  Median24(Bitmap, 1, Rect);
  if (Posterize) {
    Posterize24(Bitmap, 12, Rect);
    Maximum24(Bitmap, 1, Rect);
  }
  MonoNoise24(Bitmap, 24, Rect);
  Maximum24(Bitmap, 1, Rect);
  UnsharpMask24(Bitmap, 1, 333, 0, true, Rect, false);
  TBitmap Mask;
  FeatheredContours(Bitmap, Mask, 7, Rect);
  PaintThroughMask(Bitmap, Mask, clBlack, 77, Rect);
  if (Strokes) {
    RandomStrokes24(Bitmap, 4, 77, 3, 0, LightLevel, clBlack, true, Rect);
    RandomStrokes24(Bitmap, 4, 33, 2, 0, DarkLevel, clBlack, false, Rect);
  }
}
