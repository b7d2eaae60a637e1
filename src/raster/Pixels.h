// The pixel vocabulary of the raster core: the 24-bit pixel, a row of them,
// the rectangle that means "the whole bitmap". Depends on platform only.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <cstdint>

#pragma pack(push, 1)
struct TRGB {
  uint8_t Blue;
  uint8_t Green;
  uint8_t Red;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};
#pragma pack(pop)
static_assert(sizeof(TRGB) == 3);

// One row of a 24-bit bitmap, indexed by column without bound checks.
using TRGBArray_0 = TRGB[1];
using PRGBArray = TRGB*;

inline PRGBArray RowOf(TBitmap& Bitmap, int Y) { return reinterpret_cast<PRGBArray>(Bitmap.ScanLine(Y)); }
inline const TRGB* RowOf(const TBitmap& Bitmap, int Y) { return reinterpret_cast<const TRGB*>(Bitmap.ScanLine(Y)); }

// Every raster routine reads this rectangle as "the whole bitmap"; ClipToBitmap
// reduces it to (0, 0, Width, Height).
constexpr TRect WholeBitmapRect{-99999, -99999, 99999, 99999};

// The pixel of a colour after resolving system colours; clNone gives white.
inline TRGB ColorToTRGB(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return {GetBValue(C), GetGValue(C), GetRValue(C)};
}

inline TColor TRGBToColor(TRGB P) { return RGB(P.Red, P.Green, P.Blue); }

// Anchors of a rectangle inside an area (zoomed drawing, PositionRect).
enum TPosition : uint8_t {
  poTopLeft,
  poCenterTop,
  poTopRight,
  poCenterLeft,
  poCenter,
  poCenterRight,
  poBottomLeft,
  poCenterBottom,
  poBottomRight,
  poCenterHorz,
  poCenterVert,
  poManual,
};
