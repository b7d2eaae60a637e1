#include "extensions/XDataImage.h"

#include "platform/Win1252.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

uint16_t ReadUInt16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }

void WriteUInt16(uint8_t* P, int Value) {
  P[0] = uint8_t(Value);
  P[1] = uint8_t(Value >> 8);
}

// The bitmap's pixels as the block carries them: 24- or 32-bit as they are,
// any other format through a 24-bit copy.
const TBitmap& DirectColour(const TBitmap& Bmp, TBitmap& Copy, bool Force24) {
  const TPixelFormat F = Bmp.PixelFormat();
  if (F == pf24bit || (F == pf32bit && !Force24)) return Bmp;
  Copy.Assign(Bmp);
  Copy.SetPixelFormat(pf24bit);
  return Copy;
}

} // namespace

int64_t XDataPixelBlockSize(int Width, int Height, bool HasAlpha) {
  return int64_t(Width) * int64_t(Height) * (HasAlpha ? 4 : 3) + XDataHeaderSize;
}

TXDataImage::TXDataImage(const uint8_t* Data, int64_t Size) : FDynamic(false) {
  if (!Data || Size <= 0) return;
  FData = Data;
  FSize = Size;
  // Extras only past pixels that are all there: a short block has none.
  if (Size >= XDataHeaderSize)
    FExtraSize = std::max<int64_t>(0, Size - XDataPixelBlockSize(Width(), Height(), HasAlpha()));
}

int TXDataImage::Width() const { return FSize >= XDataHeaderSize ? ReadUInt16(FData + 2) : 0; }
int TXDataImage::Height() const { return FSize >= XDataHeaderSize ? ReadUInt16(FData + 4) : 0; }

bool TXDataImage::SetExtraSize(int64_t Value) {
  if (FData || !FDynamic || Value <= 0) return false;
  FExtraSize = Value;
  return true;
}

bool TXDataImage::Valid() const {
  return FSize >= XDataHeaderSize && FData[0] == 0 && FSize >= XDataPixelBlockSize(Width(), Height(), HasAlpha());
}

void TXDataImage::Clear() {
  std::vector<uint8_t>().swap(FOwned);
  FData = nullptr;
  FSize = 0;
  if (!FDynamic) FExtraSize = 0;
}

bool TXDataImage::Assign(const TBitmap* Bmp, const TBitmap* Mask2) {
  if (!FDynamic) return false;
  Clear();
  if (!Bmp) return false;
  const bool WithMask = Mask2 && !Mask2->Empty();
  if (WithMask && (Mask2->Width() != Bmp->Width() || Mask2->Height() != Bmp->Height())) return false;
  const bool Alpha = WithMask || Bmp->PixelFormat() == pf32bit;
  const int W = Bmp->Empty() ? 0 : Bmp->Width(), H = Bmp->Empty() ? 0 : Bmp->Height();
  const int64_t PixelSize = XDataPixelBlockSize(W, H, Alpha);
  if (W > XDataMaxSide || H > XDataMaxSide || PixelSize + FExtraSize > XDataMaxSize) return false;

  TBitmap Copy;
  const TBitmap& Src = DirectColour(*Bmp, Copy, WithMask);
  FOwned.assign(size_t(PixelSize + FExtraSize), 0);
  uint8_t* P = FOwned.data();
  P[0] = 0;
  P[1] = Alpha ? 1 : 0;
  WriteUInt16(P + 2, W);
  WriteUInt16(P + 4, H);
  P += XDataHeaderSize;
  const int SrcBytes = Src.PixelFormat() == pf32bit ? 4 : 3;
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* S = Src.ScanLine(Y);
    if (!WithMask) {
      std::memcpy(P, S, size_t(W) * SrcBytes);
      P += size_t(W) * SrcBytes;
      continue;
    }
    const uint8_t* M = Mask2->ScanLine(Y);
    for (int X = 0; X < W; ++X, P += 4) {
      std::memcpy(P, S + 3 * X, 3);
      P[3] = uint8_t(255 - M[3 * X]);
    }
  }
  FData = FOwned.data();
  FSize = int64_t(FOwned.size());
  return true;
}

bool TXDataImage::AssignTo(TBitmap& Bmp, TBitmap* Mask2) const {
  if (!Valid()) return false;
  const int W = Width(), H = Height();
  if (Mask2) {
    Bmp.ReleaseImage();
    Bmp.Transparent = false;
    Bmp.SetPixelFormat(pf24bit);
    Bmp.SetSizeUnfilled(W, H);
    if (HasAlpha()) {
      Mask2->SetPixelFormat(pf24bit);
      Mask2->SetSizeUnfilled(W, H);
    } else {
      Mask2->ReleaseImage();
    }
  } else {
    Bmp.ReleaseImage();
    Bmp.SetPixelFormat(HasAlpha() ? pf32bit : pf24bit);
    Bmp.SetSizeUnfilled(W, H);
  }
  for (int Y = 0; Y < Bmp.Height(); ++Y) Bmp.ClearRowPadding(Y);
  if (Mask2)
    for (int Y = 0; Y < Mask2->Height(); ++Y) Mask2->ClearRowPadding(Y);
  return AssignTo(Bmp, Mask2, Bounds(0, 0, W, H));
}

bool TXDataImage::AssignTo(TBitmap& Bmp, TBitmap* Mask2, const TRect& R) const {
  if (!Valid()) return false;
  const bool WithMask = Mask2 && !Mask2->Empty();
  const bool AlphaExpected = WithMask || (!Mask2 && Bmp.PixelFormat() == pf32bit);
  if (AlphaExpected != HasAlpha()) return false;
  const int W = Width(), H = Height();
  if (R.Width() != W || R.Height() != H || R.Left < 0 || R.Top < 0 || R.Right > Bmp.Width() || R.Bottom > Bmp.Height())
    return false;
  const TPixelFormat Format = Bmp.PixelFormat();
  if (Format != pf24bit && Format != pf32bit) return false;
  if (WithMask &&
      (Format != pf24bit || Mask2->PixelFormat() != pf24bit || R.Right > Mask2->Width() || R.Bottom > Mask2->Height()))
    return false;
  // Raw pixels go only where they have the block's width: 3 bytes into 24
  // bits, 4 into 32 (a 32-bit target beside an empty mask would otherwise
  // read 4 bytes per pixel out of a 3-byte block).
  if (!WithMask && (Format == pf32bit) != HasAlpha()) return false;
  const int BlockBytes = HasAlpha() ? 4 : 3;
  const uint8_t* P = FData + XDataHeaderSize;
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* D = Bmp.ScanLine(R.Top + Y) + size_t(R.Left) * (Format == pf32bit ? 4 : 3);
    if (!WithMask) {
      std::memcpy(D, P, size_t(W) * BlockBytes);
      P += size_t(W) * BlockBytes;
      continue;
    }
    uint8_t* M = Mask2->ScanLine(R.Top + Y) + size_t(R.Left) * 3;
    for (int X = 0; X < W; ++X, P += 4) {
      std::memcpy(D + 3 * X, P, 3);
      std::memset(M + 3 * X, 255 - P[3], 3);
    }
  }
  Bmp.Changed();
  if (Mask2) Mask2->Changed();
  return true;
}

const uint8_t* TXDataImage::ExtraPtr() const {
  if (!FData || FExtraSize <= 0) return nullptr;
  return FData + FSize - FExtraSize;
}

bool TXDataImage::Remaining(int64_t Position, int64_t Count) const {
  return Position >= 0 && Count >= 0 && Position <= FExtraSize && Count <= FExtraSize - Position;
}

QString TXDataImage::ReadXDataString(int64_t& Position) const {
  if (!Remaining(Position, 2)) {
    Position = FExtraSize;
    return {};
  }
  const uint8_t* P = ExtraPtr() + Position;
  const int N = ReadUInt16(P);
  if (!Remaining(Position + 2, N)) {
    Position = FExtraSize;
    return {};
  }
  Position += 2 + N;
  return FromWin1252(std::string_view(reinterpret_cast<const char*>(P + 2), size_t(N)));
}

int32_t TXDataImage::ReadXDataInt(int64_t& Position) const {
  if (!Remaining(Position, 4)) {
    Position = FExtraSize;
    return 0;
  }
  const uint8_t* P = ExtraPtr() + Position;
  Position += 4;
  return int32_t(uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24));
}

bool TXDataImage::WriteXDataColor(int64_t& Position, TColor Color) {
  if (!FDynamic || !Remaining(Position, 3)) return false;
  const TColor C = ColorToRGB(Color);
  uint8_t* P = FOwned.data() + (FSize - FExtraSize) + Position;
  P[0] = GetRValue(C);
  P[1] = GetGValue(C);
  P[2] = GetBValue(C);
  Position += 3;
  return true;
}
