// Colour depth, palettes and conversions: the bit-depth arithmetic the
// readers report, the palette helpers of the GIF tools, the reduction of a
// bitmap to at most 256 colours, the count of distinct colours, and the
// conversions between the editor's 24-bit bitmap with a grey mask, 32-bit
// bitmaps with alpha, bitmaps with one transparent colour, GIF frames and
// pictures (icons, metafiles). Free functions without state. Depends on
// raster (24-bit primitives, transparency), ColorReduction, GifImage, the
// picture and the icon stream code; used by the readers and
// writers, the indexed-colour commands, the icons and the animated GIF
// builder.
#pragma once

#include "files/ColorReduction.h"
#include "files/GifImage.h"
#include "files/Picture.h"
#include "platform/Bitmap.h"
#include "raster/Transparency.h"

#include <cstdint>

// ---- Bit-depth arithmetic -----------------------------------------------------

// 2^Bits for 0..8, 16777216 for any other value.
int BitsToColorCount(int Bits);
// <= 2: 1; <= 8: 3; <= 16: 4; <= 32: 5; <= 64: 6; <= 128: 7; <= 256: 8;
// above: 24 (there is no 2: 3 to 8 colours give 3).
int ColorCountToBits(int Count);
// Negative: 32; 0: 24; else ColorCountToBits.
int ColorCountToBitsEx(int Count);
// PixelFormatToBits lives with TBitmap (platform/Bitmap.h).

// ---- Palettes -----------------------------------------------------------------
// A palette "handle" is a pointer to a TPalette; null is no palette.

// False when Palette is null or empty or Index is outside it.
bool SetPaletteColor(TPalette* Palette, int Index, TColor Color);
// The palette takes Count entries, the old ones kept and black beyond them.
// False (palette unchanged) when Palette is null or empty, or Count is not
// within 1..256.
bool SetPaletteSize(TPalette* Palette, int Count);
// The 216-colour web palette, with Color as entry 216 unless it is clNone.
TPalette WebPaletteWithColor(TColor Color);

// ---- Reduction and counting ---------------------------------------------------

// Flags of ReduceColors24; the bits combine.
inline constexpr uint8_t ReduceDither = 1;        // Floyd-Steinberg, else the nearest colour
inline constexpr uint8_t ReducePalette = 2;       // the caller's palette
inline constexpr uint8_t ReduceHalftone = 4;      // the 256-colour Windows halftone palette
inline constexpr uint8_t ReduceWindows20 = 8;     // the 20 static colours
inline constexpr uint8_t ReduceWindowsGray = 16;  // the four Windows greys
inline constexpr uint8_t ReduceWeb = 32;          // the 216-colour web palette
inline constexpr uint8_t ReduceOptimized255 = 64; // an optimised palette of 255 colours

// Reduces the bitmap to a palette of at most 2^ColorCountToBits(Count)
// colours and leaves it 24-bit, its transparency settings kept. Two colours
// are always black and white; then, in this order, flag 2 the caller's
// palette (when one is given), 8, 16, 32, 4, else an optimised palette (with
// flag 64 of 255 colours). Nothing for an empty bitmap or Count outside 2..256.
void ReduceColors24(TBitmap& Bitmap, int Count, uint8_t Flags, const TPalette* Palette);

// Stores the bitmap with 1 bit (Count 2, black and white), 4 bits (3..16) or
// 8 bits (17..256) per pixel. A bitmap already below that depth is only
// converted up to it; otherwise it is reduced onto Palette when given, else
// onto an optimised palette (of up to 256 colours with a palette or Count
// above 16, else 16), dithered when asked. A transparent bitmap stays
// transparent with its transparent colour. Nothing for an empty bitmap or
// Count outside 2..256.
void SetColorCount(TBitmap& Bitmap, int Count, bool Dither, const TPalette* Palette);

// An 8-bit bitmap becomes 4-bit with the first 16 palette entries, two
// pixels per byte, high half first; transparency is kept. An index of 16 or
// more takes the nearest of the 16 colours. Other formats are left alone.
void Pack8BitTo4Bit(TBitmap& Bitmap);

// Distinct colours of a 24-bit bitmap; 0 for other formats.
int CountColors(const TBitmap& Bitmap);

// ---- Transparency conversions ---------------------------------------------------

// Any picture into a bitmap: an icon through IconToBitmap (24-bit with
// TransparentKeyColor where it is transparent, or 32-bit for an icon with
// alpha); any other graphic drawn at (0, 0) onto a new 24-bit bitmap of its
// size, filled first with TransparentKeyColor for a transparent graphic
// (which then is the bitmap's transparent colour, transparency on) or with
// the bitmap's brush colour (transparency off).
void DrawGraphicToBitmap(const TGraphic& Graphic, TBitmap& Bitmap);

// Nothing for a 32-bit bitmap. A transparent bitmap: its transparent colour
// becomes alpha 0, every other pixel alpha 255. Any other is only converted
// (alpha 0 everywhere, the state of a bitmap without alpha).
void ConvertToBitmap32(TBitmap& Bitmap);

// A transparent or 32-bit bitmap is drawn over BackColor into a new 24-bit
// bitmap; returns the kind ExtractTransparencyMask found. Any other bitmap
// is converted to 24 bits; the kind is 0.
int FlattenTransparency(TBitmap& Bitmap, TColor BackColor);

// The palette argument of the quantising routines: one of three kinds of
// palette, or the caller's own (a null one is the optimised kind).
enum class TPaletteKind : uint8_t { Optimized, Halftone, Web };
class TPaletteChoice {
public:
  TPaletteChoice(TPaletteKind Kind) : FKind(Kind) {}
  TPaletteChoice(const TPalette* Palette) : FPalette(Palette) {}
  TPaletteKind Kind() const { return FKind; }
  const TPalette* Palette() const { return FPalette; }

private:
  TPaletteKind FKind = TPaletteKind::Optimized;
  const TPalette* FPalette = nullptr;
};

// Nothing unless Bitmap24 and Mask are 24-bit. Bitmap becomes a copy of
// Bitmap24 reduced to 256 colours (the optimised kind keeps 255, leaving room
// for the key), dithered when asked; every pixel whose mask byte is 128 or
// more then takes KeyColor, which becomes the transparent colour.
void QuantizeWithMask(const TBitmap& Bitmap24, const TBitmap& Mask, TBitmap& Bitmap, bool Dither, TColor KeyColor,
                      TPaletteChoice Palette);

// Only for a 32-bit bitmap (key TransparentKeyColor, alpha below 128
// transparent) or a transparent 24-bit one (key its transparent colour):
// QuantizeWithMask into Result. Anything else is left alone.
void QuantizeTransparentBitmap(const TBitmap& Bitmap, TBitmap& Result, bool Dither, const TPalette* Palette);

// ---- GIF frames ---------------------------------------------------------------

// Frame Index (0 when outside) as it shows on the logical screen: the frames
// before it are played in order, each disposed of as its graphic control
// extension says (restore to background clears its rectangle, restore to
// previous puts back what lay under it), and the frame is drawn at its
// offset; parts beyond the screen are cut. Pixels where nothing shows are
// transparent. The result is 8-bit with the frame's colour map when every
// frame played shares it: its key is the colour at the frame's transparent
// index, or TransparentKeyColor added to the map for a frame without one.
// With FixKey, a key colour that the map holds more than once is replaced,
// in the GIF's map too, by TransparentKeyColor so that only the transparent
// pixels carry it. Frames of several maps give a 24-bit bitmap keyed by
// TransparentKeyColor. A transparent index outside the map is ignored.
void GifFrameToBitmap(TGIFImage& Gif, TBitmap& Bitmap, int Index, bool FixKey);

// A 32-bit or transparent 24-bit bitmap goes through TransparentBitmapToGif;
// any other is assigned with an optimised palette (rmQuantize), dithered by
// Floyd-Steinberg when asked.
void BitmapToGif(const TBitmap& Bitmap, TGIFImage& Gif, bool Dither);
void TransparentBitmapToGif(const TBitmap& Bitmap, TGIFImage& Gif, bool Dither);
// Pixels whose mask byte is 128 or more become transparent.
void BitmapMaskToGif(const TBitmap& Bitmap24, const TBitmap& Mask, TGIFImage& Gif, bool Dither);
