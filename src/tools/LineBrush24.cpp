#include "tools/LineBrush24.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/Polygon24.h"
#include "raster/ScanMan.h"
#include "tools/FiltresOutils24.h"
#include "tools/Footprint.h"

#include <algorithm>
#include <cmath>

namespace {

TLineDashState DashState;

// Ceil(0.69 * Width) steps make one cell of the dash cycle.
int CellSteps(int Width) { return std::max(1, Ceil(0.69 * Width)); }

// The checks every segment routine starts with; on success Clip is cut to the
// bitmap and N holds the number of steps (at least 1).
bool PrepareSegment(const TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, int Width, TRect& Clip,
                    double& Length, int& N) {
  if (Width <= 0 || Bitmap.PixelFormat() != pf24bit || !ClipToBitmap(Clip, Bitmap)) return false;
  if (!SegmentNearRect(X1, Y1, X2, Y2, Width, Clip)) return false;
  Length = std::hypot(X2 - X1, Y2 - Y1);
  N = Round(Length);
  return N > 0;
}

// Whether a dashed style dabs at this point of its cycle.
bool DashOn(int Style, int Phase, int StepInPhase) {
  const bool First = StepInPhase == 0;
  const bool EvenPhase = Phase % 2 == 0;
  switch (Style) {
  case 1:
    return Phase <= 4;
  case 2:
    return First && EvenPhase;
  case 3:
    return Phase <= 3 || (First && (Phase == 4 || Phase == 6));
  case 4:
    return Phase <= 1 || (First && EvenPhase);
  default:
    return false;
  }
}

void DashedSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width, int Style,
                     TRect Clip) {
  double Length;
  int N;
  if (!PrepareSegment(Bitmap, X1, Y1, X2, Y2, Width, Clip, Length, N)) return;
  const int T = CellSteps(Width);
  TLineDashState& S = DashState;
  if (S.StepInPhase >= T) S.StepInPhase = 0;
  for (int I = 0; I < N; ++I) {
    ++S.StepsSinceDab;
    if (DashOn(Style, S.Phase, S.StepInPhase) && S.StepsSinceDab >= Width / 8) {
      BrushDab24(Bitmap, X1 + I * (X2 - X1) / Length, Y1 + I * (Y2 - Y1) / Length, Width, Color, Clip);
      S.StepsSinceDab = 0;
    }
    S.StepInPhase = (S.StepInPhase + 1) % T;
    if (S.StepInPhase == 0) S.Phase = (S.Phase + 1) % 8;
  }
}

// A white Side x Side stamp holding the black disc inscribed in
// (Inset, Inset, Inset + Disc - 1, Inset + Disc - 1). A disc of one or two
// pixels is its square: the ellipse inscribed in so small a rectangle has
// next to no area, and a one-pixel solid line would draw nothing.
void MakeDiscStamp(TBitmap& Stamp, int Side, int Inset, int Disc) {
  Stamp.SetPixelFormat(pf24bit);
  Stamp.SetSize(Side, Side);
  std::fill_n(Stamp.ScanLine(0), static_cast<size_t>(Stamp.RowStride()) * Side, uint8_t{255});
  if (Disc <= 2)
    FillColor24(Stamp, clBlack, 100, TRect{Inset, Inset, Inset + Disc, Inset + Disc});
  else
    FillEllipseAA24(Stamp, Inset, Inset, Inset + Disc - 1, Inset + Disc - 1, clBlack, WholeBitmapRect);
}

// The stamp scaled by (SX, SY) with its top-left pixel at (OX, OY), each
// destination pixel inside Clip whose place in the stamp falls inside it
// moving toward the colour by the bilinear stamp grey.
void DrawScaledStamp(TBitmap& Dst, const TBitmap& Stamp, const TBitmap* Image, TRGB Color, double OX, double OY,
                     double SX, double SY, const TRect& Clip) {
  const int W = Stamp.Width(), H = Stamp.Height();
  const int Left = std::max(Clip.Left, Ceil(OX));
  const int Top = std::max(Clip.Top, Ceil(OY));
  const int Right = std::min(Clip.Right - 1, static_cast<int>(std::floor(OX + (W - 1) * SX)));
  const int Bottom = std::min(Clip.Bottom - 1, static_cast<int>(std::floor(OY + (H - 1) * SY)));
  const auto Sample = [](const TBitmap& B, double U, double V) {
    const int X0 = std::clamp(static_cast<int>(U), 0, B.Width() - 1);
    const int Y0 = std::clamp(static_cast<int>(V), 0, B.Height() - 1);
    const int X1 = std::min(X0 + 1, B.Width() - 1), Y1 = std::min(Y0 + 1, B.Height() - 1);
    const TRGB* R0 = RowOf(B, Y0);
    const TRGB* R1 = RowOf(B, Y1);
    return BilinearTRGB(R0[X0], R0[X1], R1[X0], R1[X1], U - X0, V - Y0);
  };
  for (int Y = Top; Y <= Bottom; ++Y) {
    const double V = std::clamp((Y - OY) / SY, 0.0, H - 1.0);
    TRGB* Row = RowOf(Dst, Y);
    for (int X = Left; X <= Right; ++X) {
      const double U = std::clamp((X - OX) / SX, 0.0, W - 1.0);
      const TRGB Grey = Sample(Stamp, U, V);
      if (Grey.Blue == 255) continue;
      MixMask(Row[X], Image ? Sample(*Image, U, V) : Color, Grey);
    }
  }
}

} // namespace

const TLineDashState& LineDashState() { return DashState; }

void ResetLineStyle() { DashState = TLineDashState{}; }

bool SegmentNearRect(double X1, double Y1, double X2, double Y2, int Width, const TRect& Rect) {
  const int E = Width / 2;
  const double L = Rect.Left - E, T = Rect.Top - E, R = Rect.Right + E, B = Rect.Bottom + E;
  return !((X1 < L && X2 < L) || (X1 >= R && X2 >= R) || (Y1 < T && Y2 < T) || (Y1 >= B && Y2 >= B));
}

void FillEllipseAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, const TRect& Clip) {
  TPolygon24 Poly;
  Poly.SetClipRect(Clip);
  Poly.SetAntialiased(true);
  Poly.EllipseF(X1, Y1, X2, Y2);
  Poly.Draw(Bitmap, Color, Color);
}

void BrushDab24(TBitmap& Bitmap, double X, double Y, int Width, TColor Color, const TRect& Clip) {
  if (Width <= 0) return;
  if (Width == 1) {
    PlotPixelF24(Bitmap, X, Y, ColorToTRGB(Color), 255, Clip);
    return;
  }
  const TFloatRect Square = BrushRectF(X, Y, static_cast<uint16_t>(std::min(Width, 65535)));
  if (IntersectRect(FloatRectToRect(Square, 2), Clip).IsEmpty()) return;
  FillEllipseAA24(Bitmap, Square.Left, Square.Top, Square.Right - 1, Square.Bottom - 1, Color, Clip);
}

void StampAlongSegment24(TBitmap& Dst, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                         int Spacing, TRect Clip, const TBitmap* Stamp, const TBitmap* StampImage) {
  if (!Stamp || Stamp->Empty() || Stamp->PixelFormat() != pf24bit) return;
  double Length;
  int N;
  if (!PrepareSegment(Dst, X1, Y1, X2, Y2, Width, Clip, Length, N)) return;
  const bool DrawLast = Spacing < 1;
  Spacing = std::max(Spacing, Width / 8);
  const double SX = static_cast<double>(Width) / Stamp->Width();
  const double SY = static_cast<double>(Width) / Stamp->Height();
  const int CX = Trunc((Stamp->Width() - 1) * SX / 2);
  const int CY = Trunc((Stamp->Height() - 1) * SY / 2);
  const TBitmap* Image = StampImage && !StampImage->Empty() && StampImage->PixelFormat() == pf24bit &&
                                 StampImage->Width() == Stamp->Width() && StampImage->Height() == Stamp->Height()
                             ? StampImage
                             : nullptr;
  const TRGB C = ColorToTRGB(Color);
  const int T = CellSteps(Width);
  TLineDashState& S = DashState;
  if (S.StepInPhase >= T) S.StepInPhase = 0;
  for (int I = 0; I < N; ++I) {
    ++S.StepsSinceDab;
    if (S.StepsSinceDab >= Spacing || (DrawLast && I == N - 1)) {
      const double X = X1 + I * (X2 - X1) / Length;
      const double Y = Y1 + I * (Y2 - Y1) / Length;
      DrawScaledStamp(Dst, *Stamp, Image, C, X - CX, Y - CY, SX, SY, Clip);
      S.StepsSinceDab = 0;
    }
    S.StepInPhase = (S.StepInPhase + 1) % T;
  }
}

void SolidSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                    const TRect& Clip) {
  if (Width <= 0 || Width > MaxStampSide) return;
  TBitmap Stamp;
  MakeDiscStamp(Stamp, Width, 0, Width);
  StampAlongSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width, 0, Clip, &Stamp, nullptr);
}

void BevelSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                    const TRect& Clip) {
  if (Width <= 0 || Width > MaxStampSide - 2) return;
  TBitmap Stamp;
  MakeDiscStamp(Stamp, Width + 2, 1, Width);
  TBitmap Image(Width + 2, Width + 2, pf24bit, clWhite);
  MakeBevelStampImage24(Image, Color);
  StampAlongSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width + 2, 0, Clip, &Stamp, &Image);
}

void DrawStyledSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                         int Style, const TRect& Clip) {
  if (Style == 0)
    SolidSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width, Clip);
  else if (Style == 5)
    BevelSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width, Clip);
  else if (Style >= 1 && Style <= 4)
    DashedSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width, Style, Clip);
}

void DrawBrushLine24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                     bool ArrowStart, bool ArrowEnd, int Style, const TRect& Clip) {
  TRect Cut = Clip;
  if (Width <= 0 || !ClipToBitmap(Cut, Bitmap)) return;
  ResetLineStyle();
  DrawStyledSegment24(Bitmap, X1, Y1, X2, Y2, Color, Width, Style, Cut);
  if (!ArrowStart && !ArrowEnd) return;
  const double O = 2.0 * Width + 2;
  const double R = 3.0 * Width + 3;
  const double L = std::hypot(X2 - X1, Y2 - Y1);
  if (L < 2 * R) return;
  const int BarbStyle = Style == 5 ? 5 : 0;
  const double Angle = std::atan2(Y1 - Y2, X2 - X1);
  const auto Barbs = [&](double FromX, double FromY, double D) {
    for (double Side : {O, -O}) {
      const TFloatPoint P = RotateFloatPoint(X1 + D, Y1 + Side, X1, Y1, Angle);
      DrawStyledSegment24(Bitmap, FromX, FromY, P.X, P.Y, Color, Width, BarbStyle, Cut);
    }
  };
  if (ArrowEnd) Barbs(X2, Y2, L - R);
  if (ArrowStart) Barbs(X1, Y1, R);
}

void BrushPolygon24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, int Width, const TRect& Clip) {
  if (Width <= 0 || Points.size() < 2) return;
  for (size_t I = 0; I < Points.size(); ++I) {
    const TFloatPoint& A = Points[I];
    const TFloatPoint& B = Points[(I + 1) % Points.size()];
    SolidSegment24(Bitmap, A.X, A.Y, B.X, B.Y, Color, Width, Clip);
  }
}

void CanvasBrushLine(TCanvas& Canvas, double X1, double Y1, double X2, double Y2, const TRect& Rect) {
  const TRect Area = IntersectRect(NormalizeTRect(Rect), Canvas.ClipRect());
  if (Canvas.Pen.Width <= 0 || Area.IsEmpty() || !SegmentNearRect(X1, Y1, X2, Y2, Canvas.Pen.Width, Area)) return;
  TBitmap Scratch(Area.Width(), Area.Height(), pf24bit, ColorToRGB(Canvas.Brush.Color));
  DrawStyledSegment24(Scratch, X1 - Area.Left, Y1 - Area.Top, X2 - Area.Left, Y2 - Area.Top,
                      ColorToRGB(Canvas.Pen.Color), Canvas.Pen.Width, static_cast<int>(Canvas.Pen.Style),
                      WholeBitmapRect);
  Canvas.Draw(Area.Left, Area.Top, Scratch);
}
