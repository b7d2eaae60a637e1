// TIcon: the platform's icon object, a colour image with a one-bit mask, as
// an icon file's image or an icon made from bitmaps holds it. Depends on
// TBitmap; used by the icon stream code, the picture and the conversions of
// the image files.
//
// It lives beside TBitmap because it is a platform object of the same kind:
// pure pixel data that any library above may hold, with no file format of
// its own (reading and writing .ico streams is the image files' business).
#pragma once

#include "platform/Bitmap.h"

class TIcon {
public:
  int Width() const { return FColor.Width(); }
  int Height() const { return FColor.Height(); }
  bool Empty() const { return FColor.Empty(); }

  // The colour image, 32-bit: blue, green, red and a fourth byte that is
  // the alpha of an icon with alpha and 0 in every pixel of one without.
  const TBitmap& Color() const { return FColor; }
  // The mask, 1-bit of the same size: 1 where the icon is transparent.
  const TBitmap& Mask() const { return FMask; }

  // Makes the icon from a colour image of any format (converted to 32 bits;
  // one of fewer bits gets a fourth byte of 0) and a mask whose non-black
  // pixels are transparent. False, the icon left empty, when either is empty
  // or their sizes differ: no icon can be made from them.
  bool Create(const TBitmap& Color, const TBitmap& Mask);
  void Clear();

private:
  TBitmap FColor;
  TBitmap FMask;
};
