// Pixel helpers of the tests: one 24-bit pixel read or written, grey and RGB
// colours, and how a TRGB prints in a failure (found by gtest through
// argument-dependent lookup, so it lives beside TRGB in the global namespace).
#pragma once

#include "raster/Pixels.h"

#include <cstdint>
#include <ostream>

inline void PrintTo(const TRGB& P, std::ostream* Out) {
  *Out << "rgb(" << +P.Red << ", " << +P.Green << ", " << +P.Blue << ")";
}

inline TRGB Px(const TBitmap& B, int X, int Y) { return RowOf(B, Y)[X]; }
inline void SetPx(TBitmap& B, int X, int Y, TRGB C) { RowOf(B, Y)[X] = C; }
inline TRGB Grey(int V) { return {uint8_t(V), uint8_t(V), uint8_t(V)}; }
inline TRGB Rgb(int R, int G, int B) { return {uint8_t(B), uint8_t(G), uint8_t(R)}; }
