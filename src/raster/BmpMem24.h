// TBmp24: a compact copy of a rectangle of a 24-bit bitmap (three bytes per
// pixel, rows packed) and of the bitmap's transparency settings, written
// back, blended back or exchanged later. The undo records keep layer pixels
// in it. Depends on platform and RectUtils.
//
// Every operation that takes Sel works on Sel clipped to the bitmap and does
// nothing at all unless that rectangle has exactly the snapshot's size (and
// the bitmap is 24-bit). A snapshot has no position: a restore writes at the
// rectangle it is given.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>

class TBmp24 {
public:
  TBmp24() = default;
  TBmp24(const TBmp24&) = delete;
  TBmp24& operator=(const TBmp24&) = delete;

  const uint8_t* Memory() const { return FMem.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int64_t MemorySize() const { return FMem ? int64_t(FWidth) * FHeight * 3 : 0; }
  bool Transparent() const { return FTransparent; }
  // 0 in a new snapshot, clNone after Clear.
  TColor TransparentColor() const { return FTransparentColor; }

  void Clear();
  // Saves Sel clipped to Bitmap. A rectangle that clips to nothing, a
  // bitmap that is not 24-bit or memory that cannot be had leave the
  // snapshot empty, as Clear does; the return says whether pixels were saved.
  bool Assign(const TBitmap* Bitmap, const TRect& Sel);
  bool Assign(const TBitmap* Bitmap);
  // The saved pixels into Sel, then the saved transparency settings.
  void AssignTo(TBitmap& Bitmap, const TRect& Sel) const;
  // Bitmap becomes a 24-bit copy of the snapshot, transparency included.
  // Throws std::bad_alloc, leaving Bitmap as it was, when memory runs out.
  void AssignTo(TBitmap& Bitmap) const;
  // b + Alpha * (saved - b) / 100; Alpha <= 0 does nothing, >= 100 restores
  // the pixels (not the transparency settings).
  void AlphaBlend(TBitmap& Bitmap, const TRect& Sel, int Alpha) const;
  // Mask is read at the same positions as Bitmap and must cover Sel. Flat:
  // only bytes whose mask byte is 0 are restored. Otherwise each byte becomes
  // b + (saved - b) * (255 - m) / 255.
  void AlphaBlend(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask, bool Flat = false) const;
  // MemAlpha holds one byte a per saved pixel (the memory of a TBmp8 of the
  // same rectangle): each byte b becomes b + (saved - b) * W / 255 with
  // W = (255 - a) * Alpha / 100, Alpha limited to 0..100.
  void AlphaBlendMem(TBitmap& Bitmap, const TRect& Sel, int Alpha, const uint8_t* MemAlpha) const;
  // Restores the pixels whose mask pixel's first byte is 255.
  void RestoreBlankMask(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask) const;
  // Exchanges the rectangle's pixels and transparency settings with the
  // saved ones: a second call restores the first state.
  void SwapWith(TBitmap& Bitmap, const TRect& Sel);
  // Exchanges the whole bitmap with the snapshot, sizes included. Throws
  // std::bad_alloc, leaving both as they were, when memory runs out.
  void SwapWith(TBitmap& Bitmap);
  // Only the saved transparency settings written to Bitmap, its pixels left.
  void RestoreTransparency(TBitmap& Bitmap) const;

private:
  void SaveTransparency(const TBitmap& Bitmap);

  std::unique_ptr<uint8_t[]> FMem;
  int FWidth = 0;
  int FHeight = 0;
  bool FTransparent = false;
  TColor FTransparentColor = 0;
  // The bitmap took its transparent colour from its bottom-left pixel rather
  // than from a fixed setting; restored as such.
  bool FTransparentAuto = false;
};
