#include "tools/Gradient.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/LayerPaint.h"
#include "raster/ProgressScope.h"
#include "raster/RectUtils.h"
#include "tools/Footprint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

bool Usable(const TBitmap& B) { return B.PixelFormat() == pf24bit && !B.Empty(); }

// Rect normalised and cut to the canvas's clip rectangle (the whole bitmap
// unless narrowed).
bool ClipToCanvas(TRect& Rect, const TBitmap& Bitmap) {
  if (!Usable(Bitmap)) return false;
  Rect = IntersectRect(NormalizeTRect(Rect), Bitmap.Canvas().ClipRect());
  return !Rect.IsEmpty();
}

uint8_t OpacityGrey(int Opacity) { return static_cast<uint8_t>(255 - Opacity * 255 / 100); }
TColor GreyColor(uint8_t G) { return RGB(G, G, G); }

// The lines of a ramp: line i moves toward Colors[i] by Percents[i]
// (MixPercent, as FillColor24 does for 0..100). Columns are painted row by
// row in blocks, so that a ramp across a wide image walks memory in order;
// the progress step of every line still comes before the line is painted,
// and a cancel leaves exactly the lines before it.
void PaintRampLines(TBitmap& Bitmap, const TRect& R, bool Columns, const std::vector<TRGB>& Colors,
                    const std::vector<int>& Percents, TProgressScope* Progress) {
  const int N = static_cast<int>(Colors.size());
  if (!Columns) {
    for (int I = 0; I < N; ++I) {
      if (Progress && !Progress->Step(I)) return;
      FillColor24(Bitmap, TRGBToColor(Colors[I]), Percents[I], TRect{R.Left, R.Top + I, R.Right, R.Top + I + 1});
    }
    return;
  }
  // Per byte of a row: the colour byte and the percent of its column, so
  // that the inner loop is one formula over 16-bit lanes (which the compiler
  // vectorises); for 0..100 it is MixPercent exactly.
  std::vector<int16_t> Target(3 * static_cast<size_t>(N)), Weight(3 * static_cast<size_t>(N));
  for (int I = 0; I < N; ++I) {
    const uint8_t* C = &Colors[I].Blue;
    for (int K = 0; K < 3; ++K) {
      Target[3 * I + K] = C[K];
      Weight[3 * I + K] = static_cast<int16_t>(Percents[I]);
    }
  }
  constexpr int Block = 2048;
  for (int First = 0; First < N; First += Block) {
    const int End = std::min(N, First + Block);
    int Last = End;
    for (int I = First; I < End; ++I)
      if (Progress && !Progress->Step(I)) {
        Last = I;
        break;
      }
    const int16_t* __restrict T = Target.data() + 3 * First;
    const int16_t* __restrict W = Weight.data() + 3 * First;
    const int Bytes = 3 * (Last - First);
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      uint8_t* __restrict Row = Bitmap.ScanLine(Y) + 3 * (R.Left + First);
      for (int J = 0; J < Bytes; ++J) {
        const int16_t Product = static_cast<int16_t>((T[J] - Row[J]) * W[J]); // within +-25500
        Row[J] = static_cast<uint8_t>(Row[J] + static_cast<int16_t>(Product / 100));
      }
    }
    if (Last < End) return;
  }
}

// Restores a canvas's pen and clip rectangle when it goes.
class TCanvasStateGuard {
public:
  explicit TCanvasStateGuard(TBitmap& Bitmap)
      : FCanvas(Bitmap.Canvas()), FPen(FCanvas.Pen), FClip(FCanvas.ClipRect()),
        FWhole(FClip == BitmapRect(Bitmap)) {}
  ~TCanvasStateGuard() {
    FCanvas.Pen = FPen;
    if (FWhole)
      FCanvas.ResetClip();
    else
      FCanvas.SetClipRect(FClip);
  }
  TCanvasStateGuard(const TCanvasStateGuard&) = delete;
  TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
  TCanvas& FCanvas;
  TPen FPen;
  TRect FClip;
  bool FWhole;
};

bool IsCorner(int Code) { return Code >= 6 && Code <= 9; }

// A ramp with transparency: Paint draws the grey ramp of the opacities into
// the first scratch bitmap and the colour ramp into the second (white
// bitmaps of Bitmap's size), each its own progress pass.
template <class TPaint> void WithScratchRamps(const TBitmap& Bitmap, TPaint&& Paint) {
  SetProgressPasses(2);
  {
    TBitmap Greys(Bitmap.Width(), Bitmap.Height(), pf24bit, clWhite);
    TBitmap Colours(Bitmap.Width(), Bitmap.Height(), pf24bit, clWhite);
    Paint(Greys, Colours);
  }
  SetProgressPasses(1);
}

// The radial ramps: each pixel of the square around (X, Y) at distance
// d < Radius moves toward Color by 100 % up to m, then by Weight(d, m)
// percent (one weight per distance, taken from a table).
template <class TWeight>
void RadialRamp(TBitmap& Bitmap, TColor Color, int X, int Y, int Radius, int Hardness, TRect Rect, TWeight Weight) {
  TRect F;
  if (!FootprintRect(Bitmap, Rect, X, Y, Radius, F)) return;
  const int M = Radius * std::clamp(Hardness, 0, 100) / 100;
  const TRGB C = ColorToTRGB(Color);
  const int MaxDX = std::max(std::abs(F.Left - X), std::abs(F.Right - 1 - X));
  const int MaxDY = std::max(std::abs(F.Top - Y), std::abs(F.Bottom - 1 - Y));
  const int Reach = std::min(Radius, FootprintDistance(MaxDX, MaxDY) + 1);
  std::vector<int> Weights(static_cast<size_t>(Reach));
  for (int D = 0; D < Reach; ++D) Weights[D] = D <= M ? 100 : Weight(D, M);
  std::vector<int> Distances;
  TProgressScope Progress(F.Bottom - F.Top);
  if (!Progress.Begun()) return;
  for (int Row = F.Top; Row < F.Bottom; ++Row) {
    if (!Progress.Step(Row - F.Top)) return;
    RowDistances(Row - Y, MaxDX, Distances);
    TRGB* Line = RowOf(Bitmap, Row);
    for (int Col = F.Left; Col < F.Right; ++Col) {
      const int D = Distances[std::abs(Col - X)];
      if (D < Radius) MixPercent(Line[Col], C, Weights[D]);
    }
  }
}

} // namespace

void RainbowGradient24(TBitmap& Bitmap, int Direction) {
  if ((Direction != 0 && Direction != 1) || !Usable(Bitmap)) return;
  const int N = Direction == 0 ? Bitmap.Width() : Bitmap.Height();
  std::vector<TRGB> Colors(static_cast<size_t>(N));
  for (int I = 0; I < N; ++I) Colors[I] = ColorToTRGB(HSVToColor(static_cast<int>(int64_t{I} * 360 / N), 255, 255));
  PaintRampLines(Bitmap, BitmapRect(Bitmap), Direction == 0, Colors, std::vector<int>(Colors.size(), 100), nullptr);
}

void LinearGradient24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Direction,
                      TRect Rect) {
  if (Direction < 0 || Direction > 5 || !ClipToCanvas(Rect, Bitmap)) return;
  Opacity1 = std::clamp(Opacity1, 0, 100);
  Opacity2 = std::clamp(Opacity2, 0, 100);
  if (Opacity1 == 0 && Opacity2 == 0) return;
  if (Direction == 4 || Direction == 5) {
    std::swap(Color1, Color2);
    std::swap(Opacity1, Opacity2);
  }
  const bool Columns = Direction == 0 || Direction == 2 || Direction == 4;
  const int N = Columns ? Rect.Width() : Rect.Height();
  const TRGB C1 = ColorToTRGB(Color1);
  const TRGB C2 = ColorToTRGB(Color2);
  std::vector<TRGB> Colors(static_cast<size_t>(N));
  std::vector<int> Percents(static_cast<size_t>(N));
  const auto Step = [N](int A, int B, int I) { return A + static_cast<int>(int64_t{B - A} * I / N); };
  for (int I = 0; I < N; ++I) {
    Colors[I] = {static_cast<uint8_t>(Step(C1.Blue, C2.Blue, I)), static_cast<uint8_t>(Step(C1.Green, C2.Green, I)),
                 static_cast<uint8_t>(Step(C1.Red, C2.Red, I))};
    Percents[I] = Step(Opacity1, Opacity2, I);
  }
  TProgressScope Progress(N);
  if (!Progress.Begun()) return;
  PaintRampLines(Bitmap, Rect, Columns, Colors, Percents, &Progress);
}

void CornerGradient24(TBitmap& Bitmap, TColor Color1, TColor Color2, int Corner, bool Half, TRect Rect) {
  if (!IsCorner(Corner) || !ClipToCanvas(Rect, Bitmap)) return;
  const int W = Rect.Width();
  const int H = Rect.Height();
  const double D = std::hypot(static_cast<double>(W), static_cast<double>(H));
  const int N = Half ? Ceil(D / 2) : Ceil(D);
  const double EX = (Half ? W : 2.0 * W) / N;
  const double EY = (Half ? H : 2.0 * H) / N;
  TProgressScope Progress(N);
  if (!Progress.Begun()) return;

  const TRGB C1 = ColorToTRGB(Color1);
  const double StepB = (static_cast<double>(ColorToTRGB(Color2).Blue) - C1.Blue) / N;
  const double StepG = (static_cast<double>(ColorToTRGB(Color2).Green) - C1.Green) / N;
  const double StepR = (static_cast<double>(ColorToTRGB(Color2).Red) - C1.Red) / N;

  TCanvasStateGuard Guard(Bitmap);
  TCanvas& Canvas = Bitmap.Canvas();
  Canvas.Pen.Width = 2;
  Canvas.Pen.Style = TPenStyle::psSolid;
  Canvas.Pen.Mode = TPenMode::pmCopy;
  Canvas.IntersectClipRect(Rect);

  const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  const TPoint Near[4] = {{L, T}, {L, B - 1}, {R - 1, B - 1}, {R - 1, T}};
  const TPoint Far[4] = {{R - 1, B - 1}, {R - 1, T}, {L, T}, {L, B - 1}};
  Canvas.SetPixels(Near[Corner - 6].X, Near[Corner - 6].Y, Color1);
  const int Last = Half ? N - 1 : N - 2;
  for (int U = 1; U <= Last; ++U) {
    if (!Progress.Step(U)) break;
    Canvas.Pen.Color = RGB(Round(C1.Red + U * StepR), Round(C1.Green + U * StepG), Round(C1.Blue + U * StepB));
    const int A = Round(U * EY);
    const int Bx = Round(U * EX);
    switch (Corner) {
    case 6:
      Canvas.MoveTo(L, T + A);
      Canvas.LineTo(L + Bx, T);
      break;
    case 7:
      Canvas.MoveTo(L, B - A - 1);
      Canvas.LineTo(L + Bx, B - 1);
      break;
    case 8:
      Canvas.MoveTo(R - Bx - 1, B - 1);
      Canvas.LineTo(R - 1, B - A - 1);
      break;
    default:
      Canvas.MoveTo(R - Bx - 1, T);
      Canvas.LineTo(R - 1, T + A);
      break;
    }
  }
  if (!Half) Canvas.SetPixels(Far[Corner - 6].X, Far[Corner - 6].Y, Color2);
}

void CornerGradientOpacity24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Corner,
                             TRect Rect) {
  if (!IsCorner(Corner) || !ClipToCanvas(Rect, Bitmap)) return;
  Opacity1 = std::clamp(Opacity1, 0, 100);
  Opacity2 = std::clamp(Opacity2, 0, 100);
  if (Opacity1 == 0 && Opacity2 == 0) return;
  if (Opacity1 == 100 && Opacity2 == 100) {
    CornerGradient24(Bitmap, Color1, Color2, Corner, false, Rect);
    return;
  }
  WithScratchRamps(Bitmap, [&](TBitmap& Greys, TBitmap& Colours) {
    CornerGradient24(Greys, GreyColor(OpacityGrey(Opacity1)), GreyColor(OpacityGrey(Opacity2)), Corner, false, Rect);
    CornerGradient24(Colours, Color1, Color2, Corner, false, Rect);
    CopyRect24Mask(Colours, Rect, Bitmap, Rect.Left, Rect.Top, Rect, &Greys);
  });
}

void GradientFill24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Direction,
                    const TRect& Rect) {
  if (IsCorner(Direction))
    CornerGradientOpacity24(Bitmap, Color1, Opacity1, Color2, Opacity2, Direction, Rect);
  else
    LinearGradient24(Bitmap, Color1, Opacity1, Color2, Opacity2, Direction, Rect);
}

void GradientFillOpaque24(TBitmap& Bitmap, TColor Color1, TColor Color2, int Direction, const TRect& Rect) {
  if (IsCorner(Direction))
    CornerGradient24(Bitmap, Color1, Color2, Direction, false, Rect);
  else
    LinearGradient24(Bitmap, Color1, 100, Color2, 100, Direction, Rect);
}

void GradientFillMasked24(TBitmap& Bitmap, TBitmap* Mask, TColor Color1, int Opacity1, TColor Color2, int Opacity2,
                          int Direction, TRect Rect) {
  if (!ClipToCanvas(Rect, Bitmap)) return;
  if (!Mask || Mask->Empty()) {
    GradientFill24(Bitmap, Color1, Opacity1, Color2, Opacity2, Direction, Rect);
    return;
  }
  Opacity1 = std::clamp(Opacity1, 0, 100);
  Opacity2 = std::clamp(Opacity2, 0, 100);
  if (Opacity1 == 0 && Opacity2 == 0) return;
  if (Opacity1 == 100 && Opacity2 == 100) {
    GradientFillOpaque24(Bitmap, Color1, Color2, Direction, Rect);
    FillColor24(*Mask, clBlack, 100, Rect);
    return;
  }
  WithScratchRamps(Bitmap, [&](TBitmap& Greys, TBitmap& Colours) {
    GradientFillOpaque24(Greys, GreyColor(OpacityGrey(Opacity1)), GreyColor(OpacityGrey(Opacity2)), Direction, Rect);
    GradientFillOpaque24(Colours, Color1, Color2, Direction, Rect);
    PaintBitmapOnLayer(Colours, &Greys, WholeBitmapRect, Bitmap, Mask, 0, 0, Rect, 100);
  });
}

void RadialSpot24(TBitmap& Bitmap, TColor Color, int X, int Y, int Radius, int Hardness, TRect Rect) {
  RadialRamp(Bitmap, Color, X, Y, Radius, Hardness, Rect,
             [Radius](int D, int M) { return (Radius - D) * 100 / (Radius - M); });
}

void RadialGradient24(TBitmap& Bitmap, TColor Color, int X, int Y, int Radius, int Hardness, double Exponent,
                      TRect Rect) {
  RadialRamp(Bitmap, Color, X, Y, Radius, Hardness, Rect, [Radius, Exponent](int D, int M) {
    double V = static_cast<double>(Radius - D) / (Radius - M);
    if (Exponent != 1) V = V <= 0.5 ? std::pow(2 * V, Exponent) / 2 : 1 - std::pow(2 * (1 - V), Exponent) / 2;
    return Round(100 * V);
  });
}

void BevelRing24(TBitmap& Bitmap, const TRect& Rect, TColor TopColor, TColor LeftColor, TColor RightColor,
                 TColor BottomColor, int Percent) {
  const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  FillColor24(Bitmap, TopColor, Percent, TRect{L + 1, T, R, T + 1});
  FillColor24(Bitmap, LeftColor, Percent, TRect{L, T, L + 1, B});
  FillColor24(Bitmap, RightColor, Percent, TRect{R - 1, T + 1, R, B - 1});
  FillColor24(Bitmap, BottomColor, Percent, TRect{L + 1, B - 1, R, B});
}

void BevelRect24(TBitmap& Bitmap, const TRect& Rect, TColor TopColor, TColor LeftColor, TColor RightColor,
                 TColor BottomColor, int Width, int Percent) {
  if (Rect.IsEmpty() || Width <= 0) return;
  TRect Ring = Rect;
  for (int I = 0; I < Width; ++I) {
    Ring = {Ring.Left - 1, Ring.Top - 1, Ring.Right + 1, Ring.Bottom + 1};
    BevelRing24(Bitmap, Ring, TopColor, LeftColor, RightColor, BottomColor, Percent);
  }
}

void Bevel3D24(TBitmap& Bitmap, const TRect& Rect, int Width, int Percent, bool Sunken) {
  if (Sunken)
    BevelRect24(Bitmap, Rect, clBlack, TColor(0x222222), TColor(0xCCCCCC), clWhite, Width, Percent);
  else
    BevelRect24(Bitmap, Rect, clWhite, TColor(0xCCCCCC), TColor(0x222222), clBlack, Width, Percent);
}
