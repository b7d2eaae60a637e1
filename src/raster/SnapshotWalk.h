// The walk shared by the pixel snapshots (BmpMem24, BmpMem8): the n-th pixel
// of a rectangle always meets the n-th saved pixel. Internal to those units.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>

namespace snapshot_detail {

// The rectangle a snapshot operation works on: Sel clipped to the bitmap; an
// operation runs only when that is exactly the snapshot's size, the snapshot
// holds pixels and the bitmap is 24-bit.
bool FitRect(const TBitmap& Bitmap, const TRect& Sel, int Width, int Height, bool HasMemory, TRect& R);
// Mask is usable for a blend over R: 24-bit, not empty, covering R.
bool MaskCovers(const TBitmap* Mask, const TRect& R);

// Fn(Pixel, Saved) for each pixel of R, rows top-down; Saved advances by
// SavedBytes per pixel. Bitmap may be const (a snapshot being taken).
template <int SavedBytes, class TBmp, class TSaved, class F>
void ForEachPixel(TBmp& Bitmap, const TRect& R, TSaved* Saved, F&& Fn) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    auto* P = Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left);
    for (int X = R.Left; X < R.Right; ++X, P += 3, Saved += SavedBytes) Fn(P, Saved);
  }
}

// The same with the pixel of Mask at the same position: Fn(Pixel, Saved, MaskPixel).
template <int SavedBytes, class TSaved, class F>
void ForEachMaskedPixel(TBitmap& Bitmap, const TRect& R, TSaved* Saved, const TBitmap& Mask, F&& Fn) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    uint8_t* P = Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left);
    const uint8_t* M = Mask.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left);
    for (int X = R.Left; X < R.Right; ++X, P += 3, M += 3, Saved += SavedBytes) Fn(P, Saved, M);
  }
}

// The bytes a snapshot of W x H needs at BytesPerPixel, or -1 when that cannot
// be addressed.
int64_t SnapshotBytes(int W, int H, int BytesPerPixel);

// Readies Mem for a snapshot of Sel clipped to Bitmap (R) at BytesPerPixel,
// keeping the buffer when it already holds CurrentBytes of the right size.
// False, with Mem released, when Bitmap is missing or not 24-bit, Sel clips
// to nothing or the memory cannot be had.
bool PrepareSnapshot(const TBitmap* Bitmap, const TRect& Sel, int BytesPerPixel, int64_t CurrentBytes,
                     std::unique_ptr<uint8_t[]>& Mem, TRect& R);

} // namespace snapshot_detail
