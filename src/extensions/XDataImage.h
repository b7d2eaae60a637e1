// The image block the editor and its companion programs exchange: a small
// self-describing record of pixels, an optional alpha channel and extra
// values the two sides agree on. Depends on platform (bitmap, Windows-1252
// text); used by the main window's companion-program channel and by the
// companion programs' tests.
//
// Layout (little-endian), fixed because programs built elsewhere read it:
//   0  1 byte   kind, always 0 (a block with another kind is ignored)
//   1  1 byte   1: pixels of 4 bytes (alpha last, 255 opaque); else 3
//   2  UInt16   width
//   4  UInt16   height
//   6  width x height pixels, top row first, no gap between rows, each
//      blue, green, red (and alpha)
//   then the extra bytes: strings (UInt16 length, 8-bit text), Int32
//   integers, colours (3 bytes red, green, blue), read and written in order.
//
// A received block is not trusted: its header is checked against the bytes
// that arrived, and one whose pixels are not all there, whose kind is not 0,
// or whose alpha or size does not fit the target decodes to nothing.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

#include <cstdint>
#include <vector>

inline constexpr int XDataHeaderSize = 6;
// Width and height are 16-bit, and the whole block's size is counted in a
// signed 32-bit integer by the programs on the other side.
inline constexpr int XDataMaxSide = 65535;
inline constexpr int64_t XDataMaxSize = INT32_MAX;

// Bytes of a block of that size without extras: W x H x (3 + alpha) + 6.
int64_t XDataPixelBlockSize(int Width, int Height, bool HasAlpha);

class TXDataImage {
public:
  // An empty block owner, which allocates its own block on Assign.
  TXDataImage() = default;
  // A viewer of Size received bytes it does not own (valid as long as they
  // are): the bytes past the pixels its header implies are the extras.
  TXDataImage(const uint8_t* Data, int64_t Size);
  TXDataImage(const TXDataImage&) = delete;
  TXDataImage& operator=(const TXDataImage&) = delete;

  const uint8_t* XData() const { return FData; }
  int64_t XSize() const { return FSize; }
  bool HasAlpha() const { return FSize >= XDataHeaderSize && FData[1] == 1; }
  int Width() const;
  int Height() const;
  int64_t ExtraSize() const { return FExtraSize; }
  // Only before an owned block exists, and only to a value above 0; false
  // when refused.
  bool SetExtraSize(int64_t Value);
  // The header is whole, the kind is 0 and every pixel byte is there.
  bool Valid() const;

  // Frees an owned block (a viewer lets go of its bytes).
  void Clear();
  // An owned block made from the whole of Bmp: alpha when Mask2 is given and
  // not empty (255 - the mask's first byte; Bmp taken as 24-bit), or without
  // a mask when Bmp is 32-bit; ExtraSize bytes follow the pixels, zeroed.
  // Bmp nullptr only frees the block. False, with no block, for a viewer,
  // a mask of another size, or a bitmap the layout cannot carry (a side
  // above 65535, a block above the 32-bit count).
  bool Assign(const TBitmap* Bmp, const TBitmap* Mask2 = nullptr);
  // Bmp sized to the block and decoded: with Mask2, Bmp 24-bit and Mask2
  // the grey transparency (emptied for a block without alpha); without it,
  // Bmp 32-bit for a block with alpha, else 24-bit. Nothing changes and
  // false for a block that is not Valid.
  bool AssignTo(TBitmap& Bmp, TBitmap* Mask2 = nullptr) const;
  // Decodes into the rectangle R of bitmaps the caller prepared, which keep
  // their size. Nothing is written and false when the block is not Valid,
  // when its alpha is not the one the targets expect (Mask2 given and not
  // empty, or without a mask a 32-bit Bmp), when R is not of the block's
  // size or does not lie inside Bmp (and Mask2).
  bool AssignTo(TBitmap& Bmp, TBitmap* Mask2, const TRect& R) const;

  // The first extra byte; nullptr without a block or without extras.
  const uint8_t* ExtraPtr() const;
  // One value at Position (an offset in the extra bytes) read or written,
  // Position moved past it. A value the remaining extras cannot hold reads
  // as empty or 0 and moves Position to the end of the extras; a write that
  // does not fit writes nothing and returns false.
  QString ReadXDataString(int64_t& Position) const;
  int32_t ReadXDataInt(int64_t& Position) const;
  bool WriteXDataColor(int64_t& Position, TColor Color);

private:
  bool Remaining(int64_t Position, int64_t Count) const;

  std::vector<uint8_t> FOwned;
  const uint8_t* FData = nullptr;
  int64_t FSize = 0;
  int64_t FExtraSize = 0;
  bool FDynamic = true;
};
