#include "raster/BmpMem8.h"

#include "platform/VectorDispatch.h"
#include "raster/RectUtils.h"
#include "raster/SnapshotWalk.h"

#include <new>
#include <utility>

using namespace snapshot_detail;

namespace {

inline void SetGrey(uint8_t* P, uint8_t V) { P[0] = P[1] = P[2] = V; }

// One row of grey pixels exchanged with its saved bytes: a plain loop over
// unaliased pointers, which the compiler vectorises (undo and redo of a mask
// run it over whole layers).
LUMA_VECTOR_CLONES void SwapGreyRow(uint8_t* __restrict Pixels, uint8_t* __restrict Saved, int Count) {
  for (int X = 0; X < Count; ++X) {
    const uint8_t Old = Saved[X];
    Saved[X] = Pixels[3 * X];
    Pixels[3 * X] = Old;
    Pixels[3 * X + 1] = Old;
    Pixels[3 * X + 2] = Old;
  }
}

inline uint8_t Toward(uint8_t B, uint8_t S, int W, int Divisor) {
  return static_cast<uint8_t>(B + (S - B) * W / Divisor);
}

} // namespace

void TBmp8::Clear() {
  FMem.reset();
  FWidth = 0;
  FHeight = 0;
}

bool TBmp8::Assign(const TBitmap* Bitmap, const TRect& Sel) {
  TRect R;
  if (!PrepareSnapshot(Bitmap, Sel, 1, MemorySize(), FMem, R)) {
    Clear();
    return false;
  }
  FWidth = R.Width();
  FHeight = R.Height();
  ForEachPixel<1>(*Bitmap, R, FMem.get(), [](const uint8_t* P, uint8_t* S) { *S = P[0]; });
  return true;
}

bool TBmp8::Assign(const TBitmap* Bitmap) { return Assign(Bitmap, Bitmap ? BitmapRect(*Bitmap) : TRect{}); }

void TBmp8::AssignTo(TBitmap& Bitmap, const TRect& Sel) const {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  ForEachPixel<1>(Bitmap, R, FMem.get(), [](uint8_t* P, const uint8_t* S) { SetGrey(P, *S); });
}

void TBmp8::AssignTo(TBitmap& Bitmap) const {
  TBitmap Copy(FWidth, FHeight, pf24bit);
  if (FMem) ForEachPixel<1>(Copy, BitmapRect(Copy), FMem.get(), [](uint8_t* P, const uint8_t* S) { SetGrey(P, *S); });
  Copy.Transparent = Bitmap.Transparent;
  Copy.SetTransparentColor(Bitmap.TransparentMode() == TTransparentMode::tmAuto ? clDefault
                                                                                : Bitmap.TransparentColor());
  Bitmap.Swap(Copy);
  Bitmap.Changed();
}

void TBmp8::AlphaBlend(TBitmap& Bitmap, const TRect& Sel, int Alpha) const {
  TRect R;
  if (Alpha <= 0 || !FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  if (Alpha >= 100) Alpha = 100;
  ForEachPixel<1>(Bitmap, R, FMem.get(),
                  [Alpha](uint8_t* P, const uint8_t* S) { SetGrey(P, Toward(P[0], *S, Alpha, 100)); });
}

void TBmp8::AlphaBlend(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask) const {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R) || !MaskCovers(Mask, R)) return;
  ForEachMaskedPixel<1>(Bitmap, R, FMem.get(), *Mask, [](uint8_t* P, const uint8_t* S, const uint8_t* M) {
    SetGrey(P, Toward(P[0], *S, 255 - M[0], 255));
  });
}

void TBmp8::SwapWith(TBitmap& Bitmap, const TRect& Sel) {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  const int Width = R.Right - R.Left;
  uint8_t* Saved = FMem.get();
  for (int Y = R.Top; Y < R.Bottom; ++Y, Saved += Width)
    SwapGreyRow(Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), Saved, Width);
}

void TBmp8::SwapWith(TBitmap& Bitmap) {
  // Everything that can fail is allocated before anything changes.
  TBitmap Source;
  const TBitmap* From = &Bitmap;
  if (Bitmap.PixelFormat() != pf24bit && !Bitmap.Empty()) {
    Source.Assign(Bitmap);
    Source.SetPixelFormat(pf24bit);
    From = &Source;
  }
  const int64_t Bytes = SnapshotBytes(From->Width(), From->Height(), 1);
  if (Bytes < 0) throw std::bad_alloc();
  TBmp8 Old;
  if (Bytes > 0) {
    Old.FMem.reset(new uint8_t[static_cast<size_t>(Bytes)]);
    Old.FWidth = From->Width();
    Old.FHeight = From->Height();
    ForEachPixel<1>(*From, BitmapRect(*From), Old.FMem.get(), [](const uint8_t* P, uint8_t* S) { *S = P[0]; });
  }
  AssignTo(Bitmap);
  std::swap(FMem, Old.FMem);
  std::swap(FWidth, Old.FWidth);
  std::swap(FHeight, Old.FHeight);
}
