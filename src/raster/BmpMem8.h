// TBmp8: a compact copy of a rectangle of a grey mask (a 24-bit bitmap whose
// three bytes are equal): one byte per pixel, the first of each pixel, written
// back into all three. The undo records keep layer masks in it. Depends on
// platform and RectUtils.
//
// Every operation that takes Sel works on Sel clipped to the bitmap and does
// nothing at all unless that rectangle has exactly the snapshot's size (and
// the bitmap is 24-bit).
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>

class TBmp8 {
public:
  TBmp8() = default;
  TBmp8(const TBmp8&) = delete;
  TBmp8& operator=(const TBmp8&) = delete;

  const uint8_t* Memory() const { return FMem.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int64_t MemorySize() const { return FMem ? int64_t(FWidth) * FHeight : 0; }

  void Clear();
  // Saves the first byte of each pixel of Sel clipped to Bitmap. A rectangle
  // that clips to nothing, a bitmap that is not 24-bit or memory that cannot
  // be had leave the snapshot empty; the return says whether bytes were saved.
  bool Assign(const TBitmap* Bitmap, const TRect& Sel);
  bool Assign(const TBitmap* Bitmap);
  // Each saved byte into all three bytes of its pixel.
  void AssignTo(TBitmap& Bitmap, const TRect& Sel) const;
  // Bitmap becomes a 24-bit grey copy of the snapshot. Throws std::bad_alloc,
  // leaving Bitmap as it was, when memory runs out.
  void AssignTo(TBitmap& Bitmap) const;
  // On the first byte b: b + Alpha * (saved - b) / 100, written into all
  // three; Alpha <= 0 does nothing, >= 100 restores.
  void AlphaBlend(TBitmap& Bitmap, const TRect& Sel, int Alpha) const;
  // b + (saved - b) * (255 - m) / 255 with m the first byte of the mask pixel
  // at the same position; Mask must cover Sel.
  void AlphaBlend(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask) const;
  // Exchanges each pixel's first byte with the saved byte (the saved byte
  // written into all three): a second call restores the first state.
  void SwapWith(TBitmap& Bitmap, const TRect& Sel);
  // Exchanges the whole bitmap with the snapshot, sizes included. Throws
  // std::bad_alloc, leaving both as they were, when memory runs out.
  void SwapWith(TBitmap& Bitmap);

private:
  std::unique_ptr<uint8_t[]> FMem;
  int FWidth = 0;
  int FHeight = 0;
};
