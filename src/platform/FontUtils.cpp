#include "platform/FontUtils.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int ClampSpacing(int Value) { return std::clamp(Value, -100, 100); }

// The characters of a text as the platform counts them when it spaces them:
// one per code point.
QStringList Characters(const QString& Text) {
  QStringList Out;
  for (qsizetype I = 0; I < Text.size(); ++I) {
    const qsizetype N = (Text[I].isHighSurrogate() && I + 1 < Text.size() && Text[I + 1].isLowSurrogate()) ? 2 : 1;
    Out.append(Text.mid(I, N));
    I += N - 1;
  }
  return Out;
}

int ExtraSpace(TCanvas& Canvas, int Spacing) { return Spacing * Canvas.TextWidth(QStringLiteral("M")) / 100; }

// Round(0.33 a) (+ Round(0.69 a) in italics), or its half for one side.
int Allowance(TCanvas& Canvas, double Part) {
  const double A = Canvas.TextWidth(QStringLiteral("M"));
  int Result = Round(0.33 * A * Part);
  if (Canvas.Font.Style & fsItalic) Result += Round(0.69 * A * Part);
  return Result;
}

double Radians(double Angle) { return Angle * std::numbers::pi / 180.0; }

// One line at (X, Y) of the unturned block, each character moved by the extra
// space when there is one.
void DrawSpacedLine(TCanvas& Canvas, const QString& Text, int X, int Y, int Extra, double Angle, int CX, int CY,
                    int CX2, int CY2) {
  if (Extra == 0) {
    const TPoint P = RotatePointInt(X, Y, Angle, CX, CY, CX2, CY2);
    Canvas.TextOut(P.X, P.Y, Text);
    return;
  }
  int Offset = 0;
  for (const QString& C : Characters(Text)) {
    const TPoint P = RotatePointInt(X + Offset, Y, Angle, CX, CY, CX2, CY2);
    Canvas.TextOut(P.X, P.Y, C);
    Offset += Canvas.TextWidth(C) + Extra;
  }
}

} // namespace

bool IsTextFont(const QString& Name) {
  const QString L = Name.toLower();
  return L != u"marlett" && !L.startsWith(u"amiri") && !L.startsWith(u"wingdings") && !L.startsWith(u"webdings");
}

bool CanRotateFont(int FontType) { return (FontType & TRUETYPE_FONTTYPE) || !(FontType & RASTER_FONTTYPE); }

void SetFontQuality(TCanvas& Canvas, bool Antialiased) {
  Canvas.Font.Quality = Antialiased ? TFontQuality::fqAntialiased : TFontQuality::fqNonAntialiased;
}

void SetFontAngle(TCanvas& Canvas, double Angle) { Canvas.Font.Orientation = Round(Angle * 10); }

int SpacedTextWidth(TCanvas& Canvas, const QString& Text, int Spacing) {
  if (Text.isEmpty()) return 0;
  const int Extra = ExtraSpace(Canvas, Spacing);
  if (Extra == 0) return Canvas.TextWidth(Text);
  // Measured as it is drawn: character by character.
  const QStringList Chars = Characters(Text);
  int Width = 0;
  for (const QString& C : Chars) Width += Canvas.TextWidth(C);
  return Width + Extra * (static_cast<int>(Chars.size()) - 1);
}

int TextLineHeight(TCanvas& Canvas, int LineSpacing) {
  const int M = Canvas.TextHeight(QStringLiteral("M"));
  return M * LineSpacing / 100 + M;
}

int TextLinesHeight(TCanvas& Canvas, const QStringList& Lines, int LineSpacing) {
  if (Lines.isEmpty()) return 0;
  const int N = static_cast<int>(Lines.size());
  const int M = Canvas.TextHeight(QStringLiteral("M"));
  return N * M + (M * LineSpacing / 100) * (N - 1);
}

void RotatedSize(int& W, int& H, double Angle) {
  const double S = std::fabs(std::sin(Radians(Angle))), C = std::fabs(std::cos(Radians(Angle)));
  const int W2 = Ceil(H * S + W * C), H2 = Ceil(W * S + H * C);
  W = W2;
  H = H2;
}

TPoint RotatePointInt(int X, int Y, double Angle, int CX, int CY, int CX2, int CY2) {
  if (Angle == 0) return {X, Y};
  const double S = std::sin(Radians(Angle)), C = std::cos(Radians(Angle));
  const double DX = X - CX, DY = CY - Y;
  return {CX2 + Round(DX * C - DY * S), CY2 - Round(DX * S + DY * C)};
}

void MeasureTextLines(TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing, int LineSpacing, int Margin,
                      int& W, int& H) {
  W = H = 0;
  if (Lines.isEmpty()) return;
  Spacing = ClampSpacing(Spacing);
  LineSpacing = ClampSpacing(LineSpacing);
  H = TextLinesHeight(Canvas, Lines, LineSpacing);
  for (const QString& Line : Lines) W = std::max(W, SpacedTextWidth(Canvas, Line, Spacing));
  W += Allowance(Canvas, 1.0);
  W += 2 * Margin;
  H += 2 * Margin;
  if (Angle != 0) RotatedSize(W, H, Angle);
}

int LineStartX(TCanvas& Canvas, const QString& Text, int Spacing, int BlockWidth, int Alignment, int Margin) {
  const int M = Margin + Allowance(Canvas, 0.5);
  switch (Alignment) {
  case 1:
    return (BlockWidth - SpacedTextWidth(Canvas, Text, Spacing)) / 2;
  case 2:
    return BlockWidth - M - SpacedTextWidth(Canvas, Text, Spacing);
  default:
    return M;
  }
}

void DrawTextLines(TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing, int LineSpacing,
                   bool Antialiased, int Alignment, int Margin) {
  if (Lines.isEmpty()) return;
  Spacing = ClampSpacing(Spacing);
  LineSpacing = ClampSpacing(LineSpacing);
  int W, H;
  MeasureTextLines(Canvas, Lines, 0, Spacing, LineSpacing, Margin, W, H);
  if (W == 0 || H == 0) return;
  const int CX = (W - 1) / 2, CY = (H - 1) / 2;
  int W2 = W, H2 = H;
  RotatedSize(W2, H2, Angle);
  const int CX2 = (W2 - 1) / 2, CY2 = (H2 - 1) / 2;
  Canvas.Brush.Style = TBrushStyle::bsClear;
  SetFontQuality(Canvas, Antialiased);
  SetFontAngle(Canvas, Angle);
  const int Extra = ExtraSpace(Canvas, Spacing);
  int Y = Margin;
  for (const QString& Line : Lines) {
    const int X = LineStartX(Canvas, Line, Spacing, W, Alignment, Margin);
    DrawSpacedLine(Canvas, Line, X, Y, Extra, Angle, CX, CY, CX2, CY2);
    Y += TextLineHeight(Canvas, LineSpacing);
  }
}

bool FitFontSizeToRect(const TRect& Rect, TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing,
                       int LineSpacing, int Margin, int& Size, int& W, int& H) {
  if (W <= 0 || H <= 0) MeasureTextLines(Canvas, Lines, Angle, Spacing, LineSpacing, Margin, W, H);
  if (W == 0 || H == 0) return false;
  const int RW = Rect.Width(), RH = Rect.Height();
  const bool Grow = W < RW && H < RH;
  const bool Shrink = W > RW && H > RH;
  if (!Grow && !Shrink) return false;
  const int EntryHeight = Canvas.Font.Height;
  const int EntrySize = Canvas.Font.Size();
  auto Beyond = [&] { return Grow ? (W < RW && H < RH) : (W > RW && H > RH); };
  int KeptW = W, KeptH = H;
  auto Search = [&](int Step) {
    for (;;) {
      Size = Canvas.Font.Size();
      KeptW = W;
      KeptH = H;
      const int Next = Size + (Grow ? Step : -Step);
      if (Next < FitFontMinSize || Next > FitFontMaxSize) break;
      Canvas.Font.SetSize(Next);
      MeasureTextLines(Canvas, Lines, Angle, Spacing, LineSpacing, Margin, W, H);
      if (!Beyond()) break;
    }
    Canvas.Font.SetSize(Size);
    W = KeptW;
    H = KeptH;
  };
  Search(10);
  Search(1);
  Canvas.Font.Height = EntryHeight;
  return Size != EntrySize;
}
