// The machinery every filter unit shares, internal to src/filters: the entry
// step (clip, then make the bitmap 24-bit), the rolling store of unfiltered
// rows that neighbourhood filters read while they write their result in
// place, exact division by a constant, and byte-table application. Depends
// on the raster core only (progress passes use its TProgressScope).
#pragma once

#include "platform/VectorDispatch.h"
#include "raster/Pixels.h"
#include "raster/ProgressScope.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace FilterLoops {

template <class T> inline uint8_t ClampByte(T V) { return static_cast<uint8_t>(V < 0 ? 0 : (V > 255 ? 255 : V)); }

// The entry step of every routine that changes a bitmap: normalises and clips
// R; false when nothing is left. Otherwise a bitmap of another format is
// converted to 24 bits, so that rows can be read as TRGB.
bool Prepare24(TBitmap& Bitmap, TRect& R);

// Src itself when it is 24-bit, else a 24-bit copy kept in Holder.
const TBitmap& Source24(const TBitmap& Src, TBitmap& Holder);

// Copies the pixels Left - PadLeft .. Right - 1 + PadRight of one row to Dst,
// positions outside Left..Right-1 taking the nearer edge pixel of the rect.
void LoadPaddedRow(const TRGB* Row, int Left, int Right, int PadLeft, int PadRight, TRGB* Dst);

// Unfiltered copies of the rows around the current one, for a filter that
// writes row Y in place while reading rows Y - Up .. Y + Down (clamped to
// Top..Bottom-1). Rows are loaded once, in order, before any of them is
// written: Advance(Y) must be called for Y = Top, Top + 1, ... before row Y
// changes, and loads (through Load(Row, Dst)) the rows up to Y + Down that
// are still missing. Only min(Up + Down + 1, Bottom - Top) rows are kept.
template <class T> class TRowRing {
public:
  TRowRing(int Top, int Bottom, int Up, int Down, size_t Length)
      : FTop(Top), FBottom(Bottom), FDown(Down), FLength(Length),
        FCount(static_cast<int>(std::min<int64_t>(int64_t{Up} + Down + 1, Bottom - Top))),
        FStore(static_cast<size_t>(FCount) * Length), FLoaded(Top - 1), FY(Top) {}

  template <class F> void Advance(int Y, F&& Load) {
    FY = Y;
    const int Last = static_cast<int>(std::min<int64_t>(int64_t{Y} + FDown, FBottom - 1));
    while (FLoaded < Last) {
      ++FLoaded;
      Load(FLoaded, Slot(FLoaded));
    }
  }

  // The copy of row clamp(Y + DY) for the current Y.
  const T* Row(int DY) const {
    return Slot(static_cast<int>(std::clamp<int64_t>(int64_t{FY} + DY, FTop, FBottom - 1)));
  }

private:
  T* Slot(int Y) { return FStore.data() + static_cast<size_t>((Y - FTop) % FCount) * FLength; }
  const T* Slot(int Y) const { return FStore.data() + static_cast<size_t>((Y - FTop) % FCount) * FLength; }

  int FTop, FBottom, FDown;
  size_t FLength;
  int FCount;
  std::vector<T> FStore;
  int FLoaded, FY;
};

// A ring of padded pixel rows: each copy holds the columns Left - PadLeft ..
// Right - 1 + PadRight, so index u + k of a copy is column Left + u + k -
// PadLeft, then Slack pixels of zeros that vector loops may read.
class TPixelRing {
public:
  TPixelRing(const TBitmap& Bitmap, const TRect& R, int PadLeft, int PadRight, int Up, int Down, size_t Slack = 0)
      : FBitmap(Bitmap), FR(R), FPadLeft(PadLeft), FPadRight(PadRight),
        FRing(R.Top, R.Bottom, Up, Down, static_cast<size_t>(R.Width()) + PadLeft + PadRight + Slack) {}
  void Advance(int Y) {
    FRing.Advance(Y, [this](int Row, TRGB* Dst) {
      LoadPaddedRow(RowOf(FBitmap, Row), FR.Left, FR.Right, FPadLeft, FPadRight, Dst);
    });
  }
  const uint8_t* Bytes(int DY) const { return reinterpret_cast<const uint8_t*>(FRing.Row(DY)); }

private:
  const TBitmap& FBitmap;
  TRect FR;
  int FPadLeft, FPadRight;
  TRowRing<TRGB> FRing;
};

// Calls F(TRGB&) for every pixel of R (already clipped), row by row.
template <class F> void ForEachPixel(TBitmap& Bitmap, const TRect& R, F&& Fn) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    PRGBArray Row = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) Fn(Row[X]);
  }
}

// Calls F(const TRGB&) for every pixel of R (already clipped).
template <class F> void ForEachPixel(const TBitmap& Bitmap, const TRect& R, F&& Fn) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* Row = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) Fn(Row[X]);
  }
}

// Truncating division by a fixed divisor as one multiply and one shift,
// exact for every numerator up to Bound in magnitude (Bound < 2^31): with
// Magic = ceil(2^Shift / |D|) and 2^Shift >= |D| * Bound the error stays
// below 1 / |D|.
class TDivider {
public:
  TDivider(int64_t Divisor, int64_t Bound) : FSign(Divisor < 0 ? -1 : 0) {
    const uint64_t D = static_cast<uint64_t>(Divisor < 0 ? -Divisor : Divisor);
    const uint64_t Product = D * static_cast<uint64_t>(std::max<int64_t>(Bound, 1));
    while ((uint64_t{1} << FShift) < Product) ++FShift;
    FMagic = static_cast<uint32_t>(((uint64_t{1} << FShift) + D - 1) / D);
  }
  int32_t operator()(int32_t S) const {
    const int32_t Negative = S >> 31;
    const uint32_t U = (static_cast<uint32_t>(S) ^ static_cast<uint32_t>(Negative)) - static_cast<uint32_t>(Negative);
    const auto Q = static_cast<int32_t>((static_cast<uint64_t>(U) * FMagic) >> FShift);
    const int32_t Flip = Negative ^ FSign;
    return (Q ^ Flip) - Flip;
  }

private:
  int32_t FSign;
  int FShift = 0;
  uint32_t FMagic = 1;
};

// The same in 64 bits, for kernels whose sums could leave 32 bits.
struct TWideDivider {
  int64_t D;
  int64_t operator()(int64_t S) const { return S / D; }
};

using TByteTable = std::array<uint8_t, 256>;

// Every byte of R (already clipped, 24-bit) := T[byte].
void ApplyByteTable(TBitmap& Bitmap, const TRect& R, const TByteTable& T);
// Blue, green and red bytes of R each through their own table.
void ApplyByteTables(TBitmap& Bitmap, const TRect& R, const TByteTable& Blue, const TByteTable& Green,
                     const TByteTable& Red);

} // namespace FilterLoops
