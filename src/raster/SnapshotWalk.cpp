#include "raster/SnapshotWalk.h"

#include "raster/RectUtils.h"

#include <cstddef>
#include <new>

namespace snapshot_detail {

bool FitRect(const TBitmap& Bitmap, const TRect& Sel, int Width, int Height, bool HasMemory, TRect& R) {
  if (!HasMemory || Bitmap.PixelFormat() != pf24bit) return false;
  R = Sel;
  if (!ClipToBitmap(R, Bitmap)) return false;
  return R.Width() == Width && R.Height() == Height;
}

bool MaskCovers(const TBitmap* Mask, const TRect& R) {
  return Mask && !Mask->Empty() && Mask->PixelFormat() == pf24bit && Mask->Width() >= R.Right &&
         Mask->Height() >= R.Bottom;
}

int64_t SnapshotBytes(int W, int H, int BytesPerPixel) {
  if (W <= 0 || H <= 0) return 0;
  const int64_t Bytes = static_cast<int64_t>(W) * H * BytesPerPixel;
  if (static_cast<uint64_t>(Bytes) > PTRDIFF_MAX) return -1;
  return Bytes;
}

bool PrepareSnapshot(const TBitmap* Bitmap, const TRect& Sel, int BytesPerPixel, int64_t CurrentBytes,
                     std::unique_ptr<uint8_t[]>& Mem, TRect& R) {
  R = Sel;
  if (!Bitmap || Bitmap->PixelFormat() != pf24bit || !ClipToBitmap(R, *Bitmap)) return false;
  const int64_t Bytes = SnapshotBytes(R.Width(), R.Height(), BytesPerPixel);
  if (Bytes <= 0) return false;
  if (Mem && CurrentBytes == Bytes) return true;
  Mem.reset();
  Mem.reset(new (std::nothrow) uint8_t[static_cast<size_t>(Bytes)]);
  return Mem != nullptr;
}

} // namespace snapshot_detail
