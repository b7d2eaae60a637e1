// The brush stamps and their painters.
#include "tools/FiltresOutils24.h"

#include "filters/Blur24.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Polygon24.h"
#include "tools/Footprint.h"
#include "tools/Gradient.h"

namespace {

int RainbowCounter = 0;

} // namespace

TColor NextRainbowColor() {
  const TColor Color = HSVToColor((RainbowCounter + 1) % 360, 255, 255);
  RainbowCounter = (RainbowCounter + 1) % 360;
  return Color;
}

void MakeBevelStampImage24(TBitmap& Image, TColor Color) {
  if (Image.Empty() || Image.PixelFormat() != pf24bit) return;
  CornerGradient24(Image, clWhite, Color, 6, true, WholeBitmapRect);
  CornerGradient24(Image, clBlack, Color, 8, true, WholeBitmapRect);
  GaussianBlurRadius(Image, 4, WholeBitmapRect);
}

namespace {

// A white 24-bit S x S bitmap.
void WhiteSquare(TBitmap& Stamp, int S) {
  Stamp.SetPixelFormat(pf24bit);
  Stamp.SetSize(S, S);
  FillColor24(Stamp, clWhite, 100, WholeBitmapRect);
}

// The slash: a black pen line of even width W across the square, blurred.
void SlashStamp(TBitmap& Stamp, int R, int S) {
  const int A = R / 10;
  const int W = A % 2 == 0 ? A + 2 : A + 1;
  TCanvas& Canvas = Stamp.Canvas();
  const TPen Saved = Canvas.Pen;
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = W;
  Canvas.Pen.Style = TPenStyle::psSolid;
  Canvas.Pen.Mode = TPenMode::pmCopy;
  Canvas.MoveTo(W - 1, S - W);
  Canvas.LineTo(S - W, W - 1);
  Canvas.Pen = Saved;
  BoxBlur3x3Repeat(Stamp, W / 2, WholeBitmapRect);
}

void EllipseStamp(TBitmap& Stamp, int R, int S) {
  const int M = R / 40 + 1;
  TPolygon24 Poly;
  Poly.SetClosed(true);
  Poly.SetAntialiased(true);
  Poly.Ellipse(TRect{M, M, S - M, S - M});
  Poly.Draw(Stamp, clBlack, clBlack);
  GaussianBlurRadius(Stamp, M, WholeBitmapRect);
}

void TriangleStamp(TBitmap& Stamp, int S) {
  TPolygon24 Poly;
  Poly.AddPoints(TFloatPointArray{{static_cast<double>(S / 2), 0}, {S - 1.0, S - 1.0}, {0, S - 1.0}});
  Poly.Draw(Stamp, clBlack, clBlack);
}

} // namespace

void MakeBrushStamp24(TBitmap& Stamp, int Kind, int R) {
  Stamp.SetSize(0, 0);
  if (R < 0 || 2 * int64_t{R} + 1 > MaxStampSide || Kind < 0 || Kind > 5) return;
  const int S = 2 * R + 1;
  WhiteSquare(Stamp, S);
  switch (Kind) {
  case 0:
    FillColor24(Stamp, clBlack, 100, WholeBitmapRect);
    break;
  case 1:
    SlashStamp(Stamp, R, S);
    break;
  case 2:
    SlashStamp(Stamp, R, S);
    FlipVertical24(Stamp, WholeBitmapRect);
    break;
  case 3:
    EllipseStamp(Stamp, R, S);
    break;
  case 4:
    if (R < 20) {
      EllipseStamp(Stamp, R, S);
    } else {
      RadialSpot24(Stamp, clBlack, R, R, R - 4, 57, WholeBitmapRect);
      GaussianBlurRadius(Stamp, 7, WholeBitmapRect);
    }
    break;
  default:
    TriangleStamp(Stamp, S);
    break;
  }
}

void PaintBrushStamp24(const TBitmap& Stamp, TColor Color, TBitmap& Dst, TBitmap* DstMask, int Left, int Top,
                       int Pressure, const TRect& ClipRect, const TBitmap* Texture) {
  if (Pressure <= 0 || Stamp.Empty()) return;
  if (Color == RainbowColor) Color = NextRainbowColor();
  PaintColorOnLayer(Stamp, Color, WholeBitmapRect, Dst, UsableMask(DstMask), Left, Top, ClipRect, Pressure,
                    Texture && !Texture->Empty() ? Texture : nullptr);
}

void PaintImageStamp24(const TBitmap& Image, const TBitmap& Stamp, TBitmap& Dst, TBitmap* DstMask, int Left, int Top,
                       const TRect& ClipRect, int Pressure) {
  if (Pressure <= 0 || Image.Empty()) return;
  PaintBitmapOnLayer(Image, &Stamp, WholeBitmapRect, Dst, UsableMask(DstMask), Left, Top, ClipRect, Pressure);
}
