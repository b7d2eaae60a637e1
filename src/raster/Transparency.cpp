#include "raster/Transparency.h"

#include "raster/Bitmap24.h"

#include <cstring>

namespace {

// Hands Result over to Target with no transparent colour set.
void TakeOver(TBitmap& Target, TBitmap& Result) {
  Result.Transparent = false;
  Result.SetTransparentColor(clDefault);
  Target.Swap(Result);
  Target.Changed();
}

bool AllMaskClear(const TBitmap& Mask) {
  for (int Y = 0; Y < Mask.Height(); ++Y) {
    const TRGB* M = RowOf(Mask, Y);
    for (int X = 0; X < Mask.Width(); ++X)
      if (M[X].Blue != 255) return false;
  }
  return true;
}

} // namespace

void Bitmap32ToBitmapMask(const TBitmap& Bitmap32, TBitmap& Bitmap24, TBitmap& Mask) {
  if (Bitmap32.PixelFormat() != pf32bit) return;
  const int W = Bitmap32.Width();
  const int H = Bitmap32.Height();
  TBitmap Colors(W, H, pf24bit, clWhite);
  TBitmap Alpha(W, H, pf24bit, clWhite);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* S = Bitmap32.ScanLine(Y);
    TRGB* C = RowOf(Colors, Y);
    TRGB* M = RowOf(Alpha, Y);
    for (int X = 0; X < W; ++X, S += 4) {
      C[X] = {S[0], S[1], S[2]};
      const uint8_t V = static_cast<uint8_t>(255 - S[3]);
      M[X] = {V, V, V};
    }
  }
  TakeOver(Bitmap24, Colors);
  TakeOver(Mask, Alpha);
}

void BitmapMaskToBitmap32(const TBitmap& Bitmap24, const TBitmap& Mask, TBitmap& Bitmap32, bool WhiteUnder) {
  if (Bitmap24.PixelFormat() != pf24bit || Mask.PixelFormat() != pf24bit) return;
  if (Bitmap24.Width() != Mask.Width() || Bitmap24.Height() != Mask.Height()) return;
  const int W = Bitmap24.Width();
  const int H = Bitmap24.Height();
  TBitmap Result(W, H, pf32bit, clBlack);
  for (int Y = 0; Y < H; ++Y) {
    const TRGB* S = RowOf(Bitmap24, Y);
    const TRGB* M = RowOf(Mask, Y);
    uint8_t* D = Result.ScanLine(Y);
    for (int X = 0; X < W; ++X, D += 4) {
      const uint8_t Clear = M[X].Blue;
      const TRGB P = WhiteUnder && Clear == 255 ? TRGB{255, 255, 255} : S[X];
      D[0] = P.Blue;
      D[1] = P.Green;
      D[2] = P.Red;
      D[3] = static_cast<uint8_t>(255 - Clear);
    }
  }
  TakeOver(Bitmap32, Result);
}

int ExtractTransparencyMask(const TBitmap& Bitmap, TBitmap& Bitmap24, TBitmap& Mask) {
  if (Bitmap.PixelFormat() == pf32bit) {
    Bitmap32ToBitmapMask(Bitmap, Bitmap24, Mask);
    if (!AllMaskClear(Mask)) return TransparencyAlpha;
    Mask.ReleaseImage();
    return TransparencyNone;
  }
  const bool Transparent = Bitmap.Transparent;
  const TRGB Key = ColorToTRGB(Bitmap.TransparentColor());
  TBitmap Copy;
  Assign24(Bitmap, Copy);
  Mask.ReleaseImage();
  Mask.Transparent = false;
  Mask.SetPixelFormat(pf24bit);
  int Kind = TransparencyNone;
  if (Transparent) {
    TBitmap Result(Copy.Width(), Copy.Height(), pf24bit, clBlack);
    for (int Y = 0; Y < Copy.Height(); ++Y) {
      const TRGB* S = RowOf(Copy, Y);
      TRGB* M = RowOf(Result, Y);
      for (int X = 0; X < Copy.Width(); ++X)
        if (S[X] == Key) M[X] = {255, 255, 255};
    }
    TakeOver(Mask, Result);
    Copy.Transparent = false;
    Kind = TransparencyColor;
  }
  Bitmap24.Swap(Copy);
  Bitmap24.Changed();
  return Kind;
}
