#include "platform/Icon.h"

bool TIcon::Create(const TBitmap& Color, const TBitmap& Mask) {
  Clear();
  if (Color.Empty() || Mask.Empty() || Color.Width() != Mask.Width() || Color.Height() != Mask.Height()) return false;
  FColor.Assign(Color);
  FColor.Transparent = false;
  FColor.SetTransparentColor(clDefault);
  // Through 24 bits, so that an image without alpha gets a fourth byte of 0.
  if (FColor.PixelFormat() != pf32bit) {
    FColor.SetPixelFormat(pf24bit);
    FColor.SetPixelFormat(pf32bit);
  }
  FMask.SetPixelFormat(pf1bit);
  FMask.SetPalette({0xFF000000, 0xFFFFFFFF});
  FMask.Canvas().Brush.Color = clBlack;
  FMask.SetSize(Mask.Width(), Mask.Height());
  for (int Y = 0; Y < Mask.Height(); ++Y) {
    uint8_t* Row = FMask.ScanLine(Y);
    for (int X = 0; X < Mask.Width(); ++X)
      SetPixelIndex(Row, X, pf1bit, (Mask.PixelColor(X, Y) & 0xFFFFFF) != 0 ? 1 : 0);
  }
  return true;
}

void TIcon::Clear() {
  FColor.ReleaseImage();
  FMask.ReleaseImage();
}
