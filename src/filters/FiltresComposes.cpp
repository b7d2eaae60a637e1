#include "filters/FiltresComposes.h"

#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Convolution.h"
#include "filters/Distortions24.h"
#include "filters/FilterLoops.h"
#include "filters/FilterTargets.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/BlendModes.h"
#include "raster/GreyMasks.h"
#include "raster/LayerPaint.h"
#include "raster/Polygon24.h"
#include "raster/RandomGen.h"

#include <algorithm>

using namespace FilterLoops;

namespace {

constexpr int SoftLight = 15;
constexpr int HardLight = 17;

// MatEdge5x5 with its centre Level - 33: a Laplacian that keeps Level 33rds
// of the pixel (the plain Laplacian at 9).
TFilterMatrix EdgeMatrix(int Level) {
  TFilterMatrix M = MatrixFromRecord5x5(MatEdge5x5);
  M.Cell(2, 2) = Level - 33;
  return M;
}

// Effect(Copy, R) fills R of a work bitmap of the image's size, which is
// then merged back over the image at Opacity in BlendMode. Only R of the
// work bitmap is written and read, so the rest is never set.
template <class F> void MergeFilteredCopy(TBitmap& Bitmap, int Opacity, int BlendMode, const TRect& Rect, F&& Effect) {
  TRect R = Rect;
  if (Opacity <= 0 || !Prepare24(Bitmap, R)) return;
  TBitmap Copy;
  Copy.SetPixelFormat(pf24bit);
  Copy.SetSizeUnfilled(Bitmap.Width(), Bitmap.Height());
  Effect(Copy, R);
  BlendRect24(Copy, R, Bitmap, R.Left, R.Top, R, Opacity, nullptr, BlendMode);
}

} // namespace

// ---- Building blocks ---------------------------------------------------------------

void EdgeMask24(const TBitmap& Src, TBitmap& Dst, int Level, bool BlackWhite, const TRect& Rect) {
  if (&Src != &Dst) Assign24(Src, Dst);
  Convolve(Dst, EdgeMatrix(std::clamp(Level, 0, 9)), 100, 0, Rect);
  Negative24(Dst, Rect);
  if (BlackWhite)
    ThresholdTwoColors24(Dst, 222, clBlack, clWhite, Rect);
  else
    Grayscale24(Dst, Rect);
}

namespace {

// The ends of a stroke of half length Len through (X, Y), moved by R1..R4:
// Direction 0 rises, 1 falls, any other is flat.
void StrokeEnds(int X, int Y, int Len, int Direction, const int (&R)[4], double (&P)[4]) {
  switch (Direction) {
  case 0:
    P[0] = X - Len - R[0], P[1] = Y + Len + R[1], P[2] = X + Len + R[2], P[3] = Y - Len - R[3];
    break;
  case 1:
    P[0] = X - Len - R[0], P[1] = Y + R[1] - Len, P[2] = X + Len + R[2], P[3] = Y + Len - R[3];
    break;
  default:
    P[0] = X - Len - R[0], P[1] = Y - R[1], P[2] = X + Len + R[2], P[3] = Y + R[3];
    break;
  }
}

// A stroke: its length and the four jitters drawn in that order, then the
// anti-aliased line, last point included.
void DrawStroke(TBitmap& Bitmap, int X, int Y, int Length, int Jitter, int Direction, TColor Color, const TRect& R) {
  const int Len = Length - Random(Length / 2);
  int J[4];
  for (int& V : J) V = Random(Jitter);
  double P[4];
  StrokeEnds(X, Y, Len, Direction, J, P);
  DrawLineAA24(Bitmap, P[0], P[1], P[2], P[3], Color, true, 100, R);
}

int Brightness(const TRGB& P) { return (P.Red + P.Green + P.Blue) / 3; }

// The stroke filters' walk: the generator reseeded, then Fn(X, Y) for every
// pixel of R in row order, a progress step per row.
template <class F> void StrokeWalk(const TRect& R, F&& Fn) {
  Randomize();
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    for (int X = R.Left; X < R.Right; ++X) Fn(X, Y);
  }
}

} // namespace

void RandomStrokes24(TBitmap& Bitmap, int Length, int Chance, int Jitter, int Lo, int Hi, TColor Color, bool Flat,
                     const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  StrokeWalk(R, [&](int X, int Y) {
    const int B = Brightness(RowOf(Bitmap, Y)[X]);
    if (B < Lo || B > Hi || Random(Chance) != 0) return;
    DrawStroke(Bitmap, X, Y, Length, Jitter, Flat ? 2 : 0, Color, R);
  });
}

void ColourStrokes24(const TBitmap& Src, TBitmap& Dst, int Length, int Jitter, int Step, int Density, bool ColourMode,
                     int Direction, const TRect& Rect) {
  TRect R = Rect;
  if (Step < 1 || !ClipToBitmap(R, Src) || !Prepare24(Dst, R)) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  Density = std::clamp(Density, 0, 9);
  const auto Quantised = [Step](int V) { return std::min(Step * (V / Step), 255); };
  StrokeWalk(R, [&](int X, int Y) {
    const TRGB P = RowOf(Source, Y)[X];
    const int L = Brightness(P) / Step;
    if (Random(Round(Step * (L + 1.0) * (10 - Density) / 3)) != 0) return;
    const int G = std::min(Step * L, 255);
    const TColor Color = ColourMode ? RGB(Quantised(P.Red), Quantised(P.Green), Quantised(P.Blue)) : RGB(G, G, G);
    DrawStroke(Dst, X, Y, Length, Jitter, Direction, Color, R);
  });
}

// ---- Dialog filters -----------------------------------------------------------------

void UnsharpMask24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, bool PreSoften, const TRect& Rect,
                   bool TwoPasses) {
  if (Radius <= 0 || Amount <= 0) return;
  TPassesScope Passes(PreSoften && TwoPasses ? 2 : 1);
  if (PreSoften) ConvolveMatrix3x3(Bitmap, MatSoften, 100, Rect);
  Convolve(Bitmap, UnsharpMatrix(Radius, 3.0, 1.0), Amount, Threshold, Rect);
}

void MicroContrast24(TBitmap& Bitmap, int Radius, int Amount, bool Soft, const TRect& Rect) {
  MergeFilteredCopy(Bitmap, Amount, Soft ? SoftLight : HardLight, Rect, [&](TBitmap& Copy, const TRect& R) {
    CopyRect24(Bitmap, R, Copy, R.Left, R.Top, R);
    HighPass24(Copy, Radius, R);
  });
}

void Relief24(TBitmap& Bitmap, int Direction, bool Fine, int Amount, const TRect& Rect) {
  MergeFilteredCopy(Bitmap, Amount, HardLight, Rect, [&](TBitmap& Copy, const TRect& R) {
    EmbossFromSource24(Bitmap, Copy, Direction, Fine ? 1 : 2, RGB(128, 128, 128), R);
    Grayscale24(Copy, R);
  });
}

// ---- One-click composites --------------------------------------------------------------

void SharperContours24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect) {
  TBitmap Holder, Mask;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  TPassesScope Passes(3);
  EdgeMask24(Bitmap, Mask, 7, false, Rect);
  BoxBlur3x3(Mask, Rect);
  Negative24(Mask, Rect);
  SharpenMore24(Bitmap, 33, 112, Rect);
  CopyThroughMask(Before, Bitmap, Mask, Rect);
}

void InnerBlur24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect) {
  TBitmap Holder, Mask;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  TPassesScope Passes(3);
  EdgeMask24(Bitmap, Mask, 7, false, Rect);
  ConvolveMatrix3x3(Mask, MatSoftenMild, 100, Rect);
  ConvolveMatrix3x3(Bitmap, MatSoften, 100, Rect);
  CopyThroughMask(Before, Bitmap, Mask, Rect);
}

void BlackContours24(TBitmap& Bitmap, int Level, bool TwoPasses, const TRect& Rect) {
  TPassesScope Passes(TwoPasses ? 2 : 1);
  Convolve(Bitmap, EdgeMatrix(Level), 100, 0, Rect);
  Negative24(Bitmap, Rect);
  Grayscale24(Bitmap, Rect);
  FeatherMask(Bitmap, Rect, 33);
}

void WhiteChalk24(TBitmap& Bitmap, const TRect& Rect) {
  TPassesScope Passes(3);
  BlackContours24(Bitmap, 7, false, Rect);
  Minimum24(Bitmap, 1, Rect);
  Diffuse24(Bitmap, 1, 0, Rect);
  Negative24(Bitmap, Rect);
}

void ColorContours24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect) {
  TBitmap Holder, Mask;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  TPassesScope Passes(2);
  FeatheredContours(Bitmap, Mask, 7, Rect);
  FillColor24(Bitmap, clWhite, 100, Rect);
  CopyThroughMask(Before, Bitmap, Mask, Rect);
  Saturation24(Bitmap, 77, Rect);
}

void Fog24(TBitmap& Bitmap, TBitmap* LayerMask, TColor Color, int Opacity, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  const int W = Bitmap.Width(), H = Bitmap.Height();
  const double Scale = std::max({W / 640.0, H / 480.0, 1.0});
  TBitmap Clouds;
  NewBitmap24(Clouds, W, H, clWhite);
  DrawClouds24(Clouds, clBlack, clWhite, Scale, R);
  MonoNoise24(Clouds, 33, WholeBitmapRect);
  if (LayerMask != nullptr && !LayerMask->Empty())
    PaintColorOnLayer(Clouds, Color, R, Bitmap, LayerMask, R.Left, R.Top, R, Opacity, nullptr);
  else
    FillColorMask24(Clouds, R, Bitmap, R.Left, R.Top, R, Color, Opacity);
}

void Fragment24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  TBitmap Holder;
  const TBitmap& Before = DistinctSource24(Src, Bitmap, Holder);
  for (int Offset : {4, 8}) CopyRect24Opacity(Before, R, Bitmap, R.Left - Offset, R.Top - Offset, R, 33);
}

void OldPhoto24(TBitmap& Bitmap, const TRect& Rect) {
  TPassesScope Passes(2);
  Gamma24(Bitmap, 1.3, Rect);
  Contrast24(Bitmap, 37, Rect);
  Grayscale24(Bitmap, Rect);
  BandContrast24(Bitmap, 17, 0, 112, 112, Rect);
  Fog24(Bitmap, nullptr, clWhite, 7, Rect);
  MonoNoise24(Bitmap, 17, Rect);
  ConvolveMatrix3x3(Bitmap, MatReliefMild, 100, Rect);
  BrightnessRGB24(Bitmap, 0, 0, -33, Rect);
  Contrast24(Bitmap, -12, Rect);
}

void Glass24(TBitmap& Bitmap, const TBitmap& Src, int Size, const TRect& Rect) {
  TPassesScope Passes(2);
  WavesFromSource(Src, Bitmap, Size, Size, true, Rect);
  Waves24(Bitmap, Size, Size, false, Rect);
}

void InkedContours24(TBitmap& Bitmap, const TRect& Rect) {
  TBitmap Mask;
  EdgeMask24(Bitmap, Mask, 8, true, Rect);
  PaintThroughMask(Bitmap, Mask, clBlack, 88, Rect);
}

void Photocopy24(TBitmap& Bitmap, const TRect& Rect) {
  TBitmap Mask;
  EdgeMask24(Bitmap, Mask, 7, true, Rect);
  ThresholdTwoColors24(Bitmap, 77, clBlack, clWhite, Rect);
  PaintThroughMask(Bitmap, Mask, clBlack, 77, Rect);
}

void EmbossedPaper24(TBitmap& Bitmap, const TRect& Rect) {
  TPassesScope Passes(2);
  Grayscale24(Bitmap, Rect);
  Posterize24(Bitmap, 77, Rect);
  FillColor24(Bitmap, TColor(0xC0C0C0), 50, Rect);
  Median24(Bitmap, 1, Rect);
  ColorNoise24(Bitmap, 10, Rect);
  ConvolveMatrix3x3(Bitmap, MatReliefStrong, 100, Rect);
}
