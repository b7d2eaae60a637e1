#include "ui/DrawUtils.h"

#include "platform/Rounding.h"

#include <QPainter>

#include <algorithm>

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

void FillBand(QPainter& Canvas, const TRect& Band, const TRect& Outer) {
  const TRect R = IntersectRect(Band, Outer);
  if (!R.IsEmpty()) Canvas.fillRect(ToQRect(R), Canvas.brush());
}

} // namespace

QColor ToQColor(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

TColor FromQColor(const QColor& Color) { return RGB(Color.red(), Color.green(), Color.blue()); }

double ColorBrightness(TColor Color, int Mode) {
  const TColor C = ColorToRGB(Color);
  const int R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
  switch (Mode) {
  case 1:
    return (0.3 * R + 0.59 * G + 0.11 * B) / 255.0;
  case 2:
    return std::max({R, G, B}) / 255.0;
  case 3:
    return std::min({R, G, B}) / 255.0;
  default:
    return (R + G + B) / 765.0;
  }
}

TColor MixColorsF(TColor Color1, TColor Color2, double Factor) {
  if (Factor <= 0) return Color1;
  if (Factor >= 1) return Color2;
  const TColor C1 = ColorToRGB(Color1), C2 = ColorToRGB(Color2);
  auto Mix = [Factor](int A, int B) { return Round(A + (B - A) * Factor); };
  return RGB(Mix(GetRValue(C1), GetRValue(C2)), Mix(GetGValue(C1), GetGValue(C2)), Mix(GetBValue(C1), GetBValue(C2)));
}

TColor DarkenColor(TColor Color, double Factor) { return MixColorsF(Color, clBlack, Factor); }

TColor LightenColor(TColor Color, double Factor) { return MixColorsF(Color, clWhite, Factor); }

void FillRectExcept(QPainter& Canvas, const TRect& Outer, const TRect& Inner) {
  if (IntersectRect(Outer, Inner).IsEmpty()) {
    FillBand(Canvas, Outer, Outer);
    return;
  }
  if (Outer.Top < Inner.Top) FillBand(Canvas, Rect(Outer.Left, Outer.Top, Outer.Right, Inner.Top), Outer);
  if (Inner.Bottom < Outer.Bottom) FillBand(Canvas, Rect(Outer.Left, Inner.Bottom, Outer.Right, Outer.Bottom), Outer);
  if (Outer.Left < Inner.Left) FillBand(Canvas, Rect(Outer.Left, Inner.Top, Inner.Left, Inner.Bottom), Outer);
  if (Inner.Right < Outer.Right) FillBand(Canvas, Rect(Inner.Right, Inner.Top, Outer.Right, Inner.Bottom), Outer);
}

void FillFrameRect(QPainter& Canvas, const TRect& R, int Width) {
  if (Width <= 0) return;
  FillRectExcept(Canvas, R, Rect(R.Left + Width, R.Top + Width, R.Right - Width, R.Bottom - Width));
}

void FillRectColor(QPainter& Canvas, TColor Color, const TRect& R) {
  Canvas.setBrush(ToQColor(Color));
  if (!R.IsEmpty()) Canvas.fillRect(ToQRect(R), Canvas.brush());
}

void DrawGradient(QPainter& Canvas, const TRect& R, TColor Color1, TColor Color2, bool Horizontal) {
  if (Color1 == Color2) {
    FillRectColor(Canvas, Color1, R);
    return;
  }
  const TColor C1 = ColorToRGB(Color1), C2 = ColorToRGB(Color2);
  const int R1 = GetRValue(C1), G1 = GetGValue(C1), B1 = GetBValue(C1);
  const int DR = GetRValue(C2) - R1, DG = GetGValue(C2) - G1, DB = GetBValue(C2) - B1;
  const int N = Horizontal ? R.Width() : R.Height();
  for (int I = 0; I < N; ++I) {
    const QColor C(R1 + I * DR / N, G1 + I * DG / N, B1 + I * DB / N);
    const QRect Line = Horizontal ? QRect(R.Left + I, R.Top, 1, R.Height()) : QRect(R.Left, R.Top + I, R.Width(), 1);
    Canvas.fillRect(Line, C);
  }
}

void TileBitmap(QPainter& Canvas, const TRect& R, const TBitmap& Bitmap) {
  if (Bitmap.Empty() || R.IsEmpty()) return;
  QImage Tile = Bitmap.QImageView();
  // A plain pixel copy: the alpha byte of a 32-bit bitmap is not a blend weight here.
  if (Tile.hasAlphaChannel())
    Tile = QImage(Tile.constBits(), Tile.width(), Tile.height(), Tile.bytesPerLine(), QImage::Format_RGB32);
  const int W = Bitmap.Width(), H = Bitmap.Height();
  for (int Y = R.Top; Y < R.Bottom; Y += H)
    for (int X = R.Left; X < R.Right; X += W)
      Canvas.drawImage(QPoint(X, Y), Tile, QRect(0, 0, std::min(W, R.Right - X), std::min(H, R.Bottom - Y)));
}

void Frame3D(QPainter& Canvas, const TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  const QColor Top = ToQColor(TopColor), Bottom = ToQColor(BottomColor);
  // Inclusive edges of the current ring.
  int L = Rect.Left, T = Rect.Top, R = Rect.Right - 1, B = Rect.Bottom - 1;
  for (int K = 0; K < Width && L <= R && T <= B; ++K, ++L, ++T, --R, --B) {
    Canvas.fillRect(QRect(L, T + 1, 1, B - T), Top); // left column, below the corner
    Canvas.fillRect(QRect(L, T, R - L, 1), Top);     // top row, up to the right corner
    Canvas.fillRect(QRect(R, T, 1, B - T), Bottom);  // right column, above the corner
    Canvas.fillRect(QRect(L, B, R - L + 1, 1), Bottom);
  }
}

void DrawEtchedEdge(QPainter& Canvas, const TRect& R) {
  const QColor Shadow = ToQColor(clBtnShadow), Light = ToQColor(clBtnHighlight);
  auto Ring = [&](const TRect& E, const QColor& TopLeft, const QColor& BottomRight) {
    if (E.IsEmpty()) return;
    Canvas.fillRect(QRect(E.Left, E.Top, 1, E.Height()), TopLeft);
    Canvas.fillRect(QRect(E.Left, E.Top, E.Width(), 1), TopLeft);
    Canvas.fillRect(QRect(E.Right - 1, E.Top, 1, E.Height()), BottomRight);
    Canvas.fillRect(QRect(E.Left, E.Bottom - 1, E.Width(), 1), BottomRight);
  };
  Ring(R, Shadow, Light);
  Ring(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), Light, Shadow);
}
