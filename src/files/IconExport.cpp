#include "files/IconExport.h"

#include "document/MyGraphic.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include <algorithm>

int IconSizeOfIndex(int Index) {
  switch (Index) {
  case 0: return 16;
  case 2: return 48;
  case 3: return 64;
  case 4: return 96;
  case 5: return 128;
  case 6: return 256;
  default: return 32;
  }
}

TIconFormat IconColorDepth(const TIconDepthFacts& Facts) {
  if (Facts.RGBA || Facts.Size == 256) return ifTrueColorsAlpha;
  if (Facts.TrueColors) return ifTrueColors;
  return Facts.ColorCount > 16 ? if256Colors : if16Colors;
}

namespace {

// The mask of a picture that has none: W x H opaque, centred in a
// transparent Size x Size square.
void OpaqueCentredMask(int W, int H, int Size, TBitmap& Mask) {
  Mask.SetPixelFormat(pf24bit);
  Mask.SetSize(Size, Size);
  FillColor24(Mask, clWhite, 100, WholeBitmapRect);
  const int X = (Size - W) / 2;
  const int Y = (Size - H) / 2;
  FillColor24(Mask, clBlack, 100, TRect{X, Y, X + W, Y + H});
}

} // namespace

void BuildIconBitmap(const TLayerItem& Background, int Size, TIconFormat Format, TBitmap& Icon) {
  const TBitmap& Source = Background.Bitmap();
  if (Source.Empty() || Size < 1) {
    Icon.SetSize(0, 0);
    return;
  }
  int W = Source.Width();
  int H = Source.Height();
  FitSize(W, H, Size, Size);
  // A very long and thin picture would round a side to nothing.
  W = std::max(W, 1);
  H = std::max(H, 1);
  const bool Keyed = Source.Transparent;
  const TColor Key = Source.TransparentColor();

  if (Format != ifTrueColorsAlpha) {
    StretchBitmap(W, H, Keyed ? TStretchMode::smNearest : TStretchMode::smBest, Source, Icon);
    if (Keyed) {
      Icon.SetTransparentColor(Key);
      Icon.Transparent = true;
    }
    return;
  }

  TBitmap Picture, Mask;
  if (Keyed) {
    StretchBitmap(W, H, TStretchMode::smNearest, Source, Picture);
    ResizeCanvas24(Picture, Picture, Size, Size, Key, poCenter, nullptr, nullptr);
    MaskFromColor(Picture, Mask, Key, 0, true, WholeBitmapRect);
  } else {
    StretchBitmap(W, H, TStretchMode::smBest, Source, Picture);
    ResizeCanvas24(Picture, Picture, Size, Size, clWhite, poCenter, nullptr, nullptr);
    if (Background.Mask().Empty()) {
      OpaqueCentredMask(W, H, Size, Mask);
    } else {
      StretchBitmap(W, H, TStretchMode::smBilinear, Background.Mask(), Mask);
      ResizeCanvas24(Mask, Mask, Size, Size, clWhite, poCenter, nullptr, nullptr);
    }
  }
  Picture.Transparent = false;
  BitmapMaskToBitmap32(Picture, Mask, Icon, true);
}
