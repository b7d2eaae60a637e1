#include "raster/BmpMem24.h"

#include "raster/RectUtils.h"
#include "raster/SnapshotWalk.h"

#include <cstring>
#include <new>

using namespace snapshot_detail;

namespace {

// b + (s - b) * W / Divisor, truncating toward zero; stays in 0..255 since
// 0 <= W <= Divisor.
inline uint8_t Toward(uint8_t B, uint8_t S, int W, int Divisor) {
  return static_cast<uint8_t>(B + (S - B) * W / Divisor);
}

// Exchanges N bytes of A and B through a buffer that stays in cache, so that
// an exchange costs little more than the copies' memory traffic.
void SwapBytes(uint8_t* A, uint8_t* B, size_t N) {
  uint8_t Tmp[4096];
  while (N > 0) {
    const size_t C = N < sizeof Tmp ? N : sizeof Tmp;
    std::memcpy(Tmp, A, C);
    std::memcpy(A, B, C);
    std::memcpy(B, Tmp, C);
    A += C;
    B += C;
    N -= C;
  }
}

} // namespace

void TBmp24::Clear() {
  FMem.reset();
  FWidth = 0;
  FHeight = 0;
  FTransparent = false;
  FTransparentColor = clNone;
  FTransparentAuto = false;
}

void TBmp24::SaveTransparency(const TBitmap& Bitmap) {
  FTransparent = Bitmap.Transparent;
  FTransparentColor = Bitmap.TransparentColor();
  FTransparentAuto = Bitmap.TransparentMode() == TTransparentMode::tmAuto;
}

void TBmp24::RestoreTransparency(TBitmap& Bitmap) const {
  Bitmap.Transparent = FTransparent;
  Bitmap.SetTransparentColor(FTransparentAuto ? clDefault : FTransparentColor);
}

bool TBmp24::Assign(const TBitmap* Bitmap, const TRect& Sel) {
  TRect R;
  if (!PrepareSnapshot(Bitmap, Sel, 3, MemorySize(), FMem, R)) {
    Clear();
    return false;
  }
  FWidth = R.Width();
  FHeight = R.Height();
  const size_t RowBytes = static_cast<size_t>(FWidth) * 3;
  uint8_t* Dst = FMem.get();
  for (int Y = R.Top; Y < R.Bottom; ++Y, Dst += RowBytes)
    std::memcpy(Dst, Bitmap->ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), RowBytes);
  SaveTransparency(*Bitmap);
  return true;
}

bool TBmp24::Assign(const TBitmap* Bitmap) { return Assign(Bitmap, Bitmap ? BitmapRect(*Bitmap) : TRect{}); }

void TBmp24::AssignTo(TBitmap& Bitmap, const TRect& Sel) const {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  const size_t RowBytes = static_cast<size_t>(FWidth) * 3;
  const uint8_t* Src = FMem.get();
  for (int Y = R.Top; Y < R.Bottom; ++Y, Src += RowBytes)
    std::memcpy(Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), Src, RowBytes);
  RestoreTransparency(Bitmap);
}

void TBmp24::AssignTo(TBitmap& Bitmap) const {
  TBitmap Copy(FWidth, FHeight, pf24bit);
  const size_t RowBytes = static_cast<size_t>(FWidth) * 3;
  for (int Y = 0; Y < Copy.Height(); ++Y) std::memcpy(Copy.ScanLine(Y), FMem.get() + Y * RowBytes, RowBytes);
  Bitmap.Swap(Copy);
  RestoreTransparency(Bitmap);
  Bitmap.Changed();
}

void TBmp24::AlphaBlend(TBitmap& Bitmap, const TRect& Sel, int Alpha) const {
  TRect R;
  if (Alpha <= 0 || !FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  if (Alpha >= 100) Alpha = 100;
  ForEachPixel<3>(Bitmap, R, FMem.get(), [Alpha](uint8_t* P, const uint8_t* S) {
    for (int C = 0; C < 3; ++C) P[C] = Toward(P[C], S[C], Alpha, 100);
  });
}

void TBmp24::AlphaBlend(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask, bool Flat) const {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R) || !MaskCovers(Mask, R)) return;
  if (Flat)
    ForEachMaskedPixel<3>(Bitmap, R, FMem.get(), *Mask, [](uint8_t* P, const uint8_t* S, const uint8_t* M) {
      for (int C = 0; C < 3; ++C)
        if (M[C] == 0) P[C] = S[C];
    });
  else
    ForEachMaskedPixel<3>(Bitmap, R, FMem.get(), *Mask, [](uint8_t* P, const uint8_t* S, const uint8_t* M) {
      for (int C = 0; C < 3; ++C) P[C] = Toward(P[C], S[C], 255 - M[C], 255);
    });
}

void TBmp24::AlphaBlendMem(TBitmap& Bitmap, const TRect& Sel, int Alpha, const uint8_t* MemAlpha) const {
  TRect R;
  if (!MemAlpha || !FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  Alpha = Alpha < 0 ? 0 : (Alpha > 100 ? 100 : Alpha);
  const uint8_t* A = MemAlpha;
  ForEachPixel<3>(Bitmap, R, FMem.get(), [Alpha, &A](uint8_t* P, const uint8_t* S) {
    const int W = (255 - *A++) * Alpha / 100;
    for (int C = 0; C < 3; ++C) P[C] = Toward(P[C], S[C], W, 255);
  });
}

void TBmp24::RestoreBlankMask(TBitmap& Bitmap, const TRect& Sel, const TBitmap* Mask) const {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R) || !MaskCovers(Mask, R)) return;
  ForEachMaskedPixel<3>(Bitmap, R, FMem.get(), *Mask, [](uint8_t* P, const uint8_t* S, const uint8_t* M) {
    if (M[0] == 255) std::memcpy(P, S, 3);
  });
}

void TBmp24::SwapWith(TBitmap& Bitmap, const TRect& Sel) {
  TRect R;
  if (!FitRect(Bitmap, Sel, FWidth, FHeight, FMem != nullptr, R)) return;
  const size_t RowBytes = static_cast<size_t>(FWidth) * 3;
  uint8_t* S = FMem.get();
  for (int Y = R.Top; Y < R.Bottom; ++Y, S += RowBytes)
    SwapBytes(Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), S, RowBytes);
  const bool OldTransparent = FTransparent;
  const TColor OldColor = FTransparentColor;
  const bool OldAuto = FTransparentAuto;
  SaveTransparency(Bitmap);
  Bitmap.Transparent = OldTransparent;
  Bitmap.SetTransparentColor(OldAuto ? clDefault : OldColor);
}

void TBmp24::SwapWith(TBitmap& Bitmap) {
  // Everything that can fail is allocated before anything changes.
  TBitmap Source;
  const TBitmap* From = &Bitmap;
  if (Bitmap.PixelFormat() != pf24bit && !Bitmap.Empty()) {
    Source.Assign(Bitmap);
    Source.SetPixelFormat(pf24bit);
    From = &Source;
  }
  const int64_t Bytes = SnapshotBytes(From->Width(), From->Height(), 3);
  if (Bytes < 0) throw std::bad_alloc();
  std::unique_ptr<uint8_t[]> Mem(Bytes > 0 ? new uint8_t[static_cast<size_t>(Bytes)] : nullptr);
  const size_t OldRowBytes = static_cast<size_t>(From->Width()) * 3;
  for (int Y = 0; Y < From->Height(); ++Y) std::memcpy(Mem.get() + Y * OldRowBytes, From->ScanLine(Y), OldRowBytes);
  TBmp24 Old;
  Old.FMem = std::move(Mem);
  Old.FWidth = Bytes > 0 ? From->Width() : 0;
  Old.FHeight = Bytes > 0 ? From->Height() : 0;
  Old.SaveTransparency(Bitmap);
  AssignTo(Bitmap);
  std::swap(FMem, Old.FMem);
  std::swap(FWidth, Old.FWidth);
  std::swap(FHeight, Old.FHeight);
  std::swap(FTransparent, Old.FTransparent);
  std::swap(FTransparentColor, Old.FTransparentColor);
  std::swap(FTransparentAuto, Old.FTransparentAuto);
}
