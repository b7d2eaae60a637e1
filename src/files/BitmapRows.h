// Rows of a bitmap of any format as packed B, G, R bytes, and the packing of
// one index per byte into the rows of the palette formats, for the codecs and
// the colour reduction. Depends on platform/Bitmap only.
#pragma once

#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <vector>

// A 24-bit bitmap hands out its own rows; other formats are converted one
// row at a time into a buffer (alpha dropped, indices looked up, an index
// beyond the palette black). A row stays valid until the next call.
class TBgrRowReader {
public:
  explicit TBgrRowReader(const TBitmap& Bitmap) : FBitmap(Bitmap) {
    if (Bitmap.PixelFormat() != pf24bit) FBuffer.resize(3 * static_cast<size_t>(Bitmap.Width()));
    const auto& Palette = Bitmap.Palette();
    for (size_t I = 0; I < Palette.size() && I < FLookup.size(); ++I) FLookup[I] = Palette[I];
  }

  const uint8_t* Row(int Y) {
    const uint8_t* S = FBitmap.ScanLine(Y);
    const TPixelFormat Format = FBitmap.PixelFormat();
    if (Format == pf24bit) return S;
    uint8_t* D = FBuffer.data();
    const int W = FBitmap.Width();
    if (Format == pf32bit) {
      for (int X = 0; X < W; ++X, S += 4, D += 3) {
        D[0] = S[0];
        D[1] = S[1];
        D[2] = S[2];
      }
    } else {
      for (int X = 0; X < W; ++X, D += 3) {
        const TPaletteEntry E = FLookup[IndexAt(S, X, Format)];
        D[0] = E & 0xFF;
        D[1] = (E >> 8) & 0xFF;
        D[2] = (E >> 16) & 0xFF;
      }
    }
    return FBuffer.data();
  }

  // The palette index of pixel X of an indexed row.
  static uint8_t IndexAt(const uint8_t* Row, int X, TPixelFormat Format) {
    return static_cast<uint8_t>(PixelIndex(Row, X, Format));
  }

private:
  const TBitmap& FBitmap;
  std::vector<uint8_t> FBuffer;
  std::array<TPaletteEntry, 256> FLookup{};
};

// Writes Width indices (one per byte) into a row of a 1-, 4- or 8-bit
// bitmap; unused low bits of the last byte are 0. Indices are cut to the
// format's bits.
inline void PackIndexRow(const uint8_t* Indices, int Width, TPixelFormat Format, uint8_t* Row) {
  switch (Format) {
  case pf1bit:
    for (int X = 0; X < Width; X += 8) {
      uint8_t Byte = 0;
      for (int B = 0; B < 8 && X + B < Width; ++B) Byte |= static_cast<uint8_t>((Indices[X + B] & 1) << (7 - B));
      Row[X >> 3] = Byte;
    }
    break;
  case pf4bit:
    for (int X = 0; X < Width; X += 2)
      Row[X >> 1] = static_cast<uint8_t>(((Indices[X] & 0x0F) << 4) | (X + 1 < Width ? (Indices[X + 1] & 0x0F) : 0));
    break;
  default:
    for (int X = 0; X < Width; ++X) Row[X] = Indices[X];
  }
}
