// Colour reduction as the GIF class does it: the fixed palettes (monochrome,
// Windows greys, the 20 static colours, the halftone and web palettes), an
// optimising quantiser, and the mapping of a bitmap onto a palette with or
// without Floyd-Steinberg dithering. Depends on platform/Bitmap; used by the
// GIF image, the colour-depth conversions and the animated GIF builder.
#pragma once

#include "platform/Bitmap.h"

#include <cstdint>
#include <vector>

// A palette of at most 256 colours, entries as in TBitmap (0xAARRGGBB; the
// alpha byte is not a colour and is always 0xFF here).
using TPalette = std::vector<TPaletteEntry>;

// Reduction modes of the GIF class, in its order (0..9).
enum TColorReduction : uint8_t {
  rmNone,            // the bitmap's own colours (optimised when it has more than 2^bits)
  rmWindows20,       // the 20 static colours of the Windows system palette
  rmWindows256,      // the 256-colour Windows halftone palette
  rmWindowsGray,     // the four Windows greys
  rmMonochrome,      // black and white
  rmGrayScale,       // 2^bits evenly spaced greys
  rmNetscape,        // the 216-colour web palette
  rmQuantize,        // an optimised palette of 2^bits colours
  rmQuantizeWindows, // an optimised palette that holds the 20 static colours
  rmPalette,         // the caller's palette
};

enum TDitherMode : uint8_t { dmNearest, dmFloydSteinberg };

TPaletteEntry PaletteEntry(int Red, int Green, int Blue);
TColor PaletteEntryColor(TPaletteEntry Entry);

TPalette MonochromePalette();
TPalette WindowsGrayPalette();
TPalette Windows20Palette();
TPalette WindowsHalftonePalette();
// Entry 36 x r + 6 x g + b holds red 51 x r, green 51 x g, blue 51 x b.
TPalette WebPalette();
TPalette GrayScalePalette(int Bits);

// An optimised palette of at most Colors entries (1..256) for the colour
// pixels of the bitmaps (any format; a 32-bit bitmap's alpha is ignored).
// Bitmaps of at most Colors distinct colours get exactly those colours, in
// the order they are met; others are split by variance (median cut with the
// least-error split point) over a histogram of 6 bits per channel, each
// palette colour being the rounded mean of the 8-bit pixels of its box. With
// Windows, the 20 static colours come first and Colors - 20 are optimised.
TPalette OptimizedPalette(const std::vector<const TBitmap*>& Bitmaps, int Colors, bool Windows = false);

// Maps every pixel onto the nearest palette colour (Euclidean distance in
// RGB, the lowest index on a tie), optionally diffusing the error to the
// right and to the next row with the Floyd-Steinberg weights 7, 3, 5 and 1
// sixteenths. Result becomes an 8-bit bitmap with exactly that palette.
// An empty palette or bitmap leaves Result empty.
void MapToPalette(const TBitmap& Bitmap, const TPalette& Palette, TDitherMode Dither, TBitmap& Result);

// The GIF class's reduction: Result becomes an 8-bit bitmap of Bitmap's
// pixels on the palette the mode gives. ReductionBits (1..8) sets the size
// of the rmQuantize, rmQuantizeWindows, rmGrayScale and rmNone palettes;
// Palette is read by rmPalette only (a null or empty one maps onto black
// and white).
void ReduceColors(const TBitmap& Bitmap, TColorReduction Mode, TDitherMode Dither, int ReductionBits,
                  const TPalette* Palette, TBitmap& Result);

// The index of the nearest palette colour, for code that maps single colours.
int NearestPaletteIndex(const TPalette& Palette, TColor Color);
