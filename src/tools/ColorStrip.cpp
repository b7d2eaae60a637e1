#include "tools/ColorStrip.h"

#include "tools/Gradient.h"

#include <algorithm>

const TColor ColorGrid[5][8] = {
    {0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x993333, 0x333333},
    {0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080},
    {0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x969696},
    {0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0},
    {0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF},
};

namespace {

// The middle colours of the ramps 2..8: grey, red, green, blue, yellow,
// cyan, magenta.
constexpr TColor RampColors[7] = {0x808080, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
// The end colours of the one-ramp strips 9..11, all from yellow.
constexpr TColor YellowRampEnds[3] = {0x0000FF, 0x008000, 0xFFFF00};

void Frame(TBitmap& Bitmap, TColor Shadow) {
  Bitmap.Canvas().Brush.Color = Shadow;
  Bitmap.Canvas().FrameRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
}

void DrawGrid(TBitmap& Bitmap, TColor Shadow) {
  const int CW = Bitmap.Width() / 8, CH = Bitmap.Height() / 5;
  TCanvas& Canvas = Bitmap.Canvas();
  Canvas.Pen.Color = Shadow;
  for (int I = 0; I < 5; ++I)
    for (int J = 0; J < 8; ++J) {
      Canvas.Brush.Color = ColorGrid[I][J];
      Canvas.Rectangle(Bounds(J * CW, I * CH, CW + 1, CH + 1));
    }
}

} // namespace

int ColorStripIndex(int Index) { return Index >= 0 && Index < ColorStripCount ? Index : 0; }

void DrawColorStrip(TBitmap& Bitmap, int Index, TColor Shadow) {
  Bitmap.SetPixelFormat(pf24bit);
  const int W = Bitmap.Width(), H = Bitmap.Height();
  Index = ColorStripIndex(Index);
  if (Index == 0) {
    DrawGrid(Bitmap, Shadow);
  } else if (Index == 1) {
    RainbowGradient24(Bitmap, 0);
  } else if (Index <= 8) {
    const TColor C = RampColors[Index - 2];
    const int W2 = 2 * W / 3;
    LinearGradient24(Bitmap, clBlack, 100, C, 100, 0, Rect(0, 0, W2, H));
    LinearGradient24(Bitmap, C, 100, clWhite, 100, 0, Rect(W2, 0, W, H));
  } else {
    LinearGradient24(Bitmap, 0x00FFFF, 100, YellowRampEnds[Index - 9], 100, 0, Rect(0, 0, W, H));
  }
  Frame(Bitmap, Shadow);
}

void DrawRainbowStrip(TBitmap& Bitmap, TColor Shadow) {
  Bitmap.SetPixelFormat(pf24bit);
  RainbowGradient24(Bitmap, 1);
  Frame(Bitmap, Shadow);
}

TColor ColorAtPos(const TBitmap& Bitmap, bool Grid, int X, int Y) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  if (W <= 0 || H <= 0) return clBlack;
  // The frame is never picked; a strip too small for an inside keeps to
  // its first pixel.
  const auto Inside = [](int V, int Size) {
    const int Lo = std::min(1, Size - 1);
    return std::clamp(V, Lo, std::max(Lo, Size - 2));
  };
  X = Inside(X, W);
  Y = Inside(Y, H);
  if (Grid && W >= 8 && H >= 5) return ColorGrid[std::min(4, Y / (H / 5))][std::min(7, X / (W / 8))];
  return Bitmap.PixelColor(X, Y);
}
