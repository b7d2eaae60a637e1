// TBitmap: the platform bitmap every pixel routine works on, with its canvas
// (Canvas.h). Depends on Colors and Types (and QtGui for the QImage view);
// used by every library above platform.
//
// Rows are top-down and each is padded to a multiple of 4 bytes, so 24- and
// 32-bit bitmaps are viewed as QImages (Format_BGR888 / Format_ARGB32) without
// a copy. Always reach a row through ScanLine: no caller may assume a row step.
#pragma once

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/PixelMemory.h"
#include "platform/Types.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <vector>

enum TPixelFormat : uint8_t {
  pfDevice = 0,
  pf1bit = 1,
  pf4bit = 2,
  pf8bit = 3,
  pf15bit = 4,
  pf16bit = 5,
  pf24bit = 6,
  pf32bit = 7,
  pfCustom = 8,
};

enum class TTransparentMode : uint8_t { tmAuto, tmFixed };

// A palette entry as QRgb (0xAARRGGBB) so that indexed bitmaps hand their
// palette to a QImage unchanged.
using TPaletteEntry = uint32_t;

class TBitmap {
public:
  TBitmap();
  TBitmap(int Width, int Height, TPixelFormat Format = pf24bit, TColor Fill = clWhite);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

  // Resizing keeps the pixels that the old and new sizes share and fills the
  // new area with the canvas brush colour. A size of 0 or less in either
  // direction leaves an empty bitmap. Throws EPixelAllocError when the
  // pixels cannot be allocated (the bitmap is then left as it was).
  void SetSize(int Width, int Height);
  // For a reader that writes every row next: the new size's pixels are not
  // set (nor the old ones kept), so that memory is touched only as the rows
  // arrive. Throws EPixelAllocError like SetSize.
  void SetSizeUnfilled(int Width, int Height);
  // Zeroes the bytes of row Y past its last pixel: a reader that fills
  // unfilled rows pixel by pixel leaves no unset byte behind.
  void ClearRowPadding(int Y);
  void SetWidth(int Width) { SetSize(Width, FHeight); }
  void SetHeight(int Height) { SetSize(FWidth, Height); }

  TPixelFormat PixelFormat() const { return FFormat; }
  // Converts the pixels: indexed to direct colour through the palette, direct
  // colour to indexed by nearest palette entry, 24 to 32 bits with alpha 0
  // (the state of a bitmap that never had alpha). Formats this platform does
  // not store (device, 15, 16 bits, custom) become 24 bits.
  void SetPixelFormat(TPixelFormat Format);
  int BitsPerPixel() const;

  uint8_t* ScanLine(int Y) { return FPixels + static_cast<ptrdiff_t>(Y) * FStride; }
  const uint8_t* ScanLine(int Y) const { return FPixels + static_cast<ptrdiff_t>(Y) * FStride; }
  // Bytes from one row to the next (always positive here).
  int RowStride() const { return FStride; }
  static int BytesPerRow(int Width, int BitsPerPixel);

  // Palette of the 1-, 4- and 8-bit formats (2, 16 or 256 entries); empty
  // for the direct-colour formats.
  const std::vector<TPaletteEntry>& Palette() const { return FPalette; }
  void SetPalette(std::vector<TPaletteEntry> Palette);

  bool Transparent = false;
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  // The fixed transparent colour, or the colour of the bottom-left pixel when
  // none is set (tmAuto). Setting clDefault returns to the automatic mode.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Color);

  // Deep copy of Src: pixels, format, palette and transparency.
  void Assign(const TBitmap& Src);
  // Releases the pixels: the bitmap becomes empty and keeps its format.
  void ReleaseImage();
  void Swap(TBitmap& Other) noexcept;

  TCanvas& Canvas() { return FCanvas; }
  const TCanvas& Canvas() const { return FCanvas; }

  // The palette entry nearest to Color (system colours resolved); 0 for the
  // direct-colour formats.
  int PaletteIndexOf(TColor Color) const { return NearestPaletteIndex(ColorToRGB(Color)); }

  // The colour of one pixel as a TColor (0x00BBGGRR); clNone outside.
  TColor PixelColor(int X, int Y) const;

  // The same rows seen as a QImage, valid until the bitmap is resized,
  // reformatted or destroyed. 1-, 8-, 24- and 32-bit bitmaps share their
  // memory; a 4-bit bitmap has no QImage format and gives an 8-bit copy.
  QImage QImageView();
  QImage QImageView() const;

  // Called after a change of size, format or content made through this class.
  std::function<void()> OnChange;
  void Changed() const {
    if (OnChange) OnChange();
  }

private:
  QImage MakeView(bool Writable) const;
  void Reallocate(int Width, int Height, TPixelFormat Format);
  void FillArea(const TRect& R, TColor Color);
  int NearestPaletteIndex(TColor Color) const;

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FFormat = pf24bit;
  uint8_t* FPixels = nullptr;
  std::vector<TPaletteEntry> FPalette;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  TColor FTransparentColor = clDefault;
  TCanvas FCanvas{this};
};

// Bits per pixel as stored: 1, 4, 8, 32, and 24 for every other format.
int PixelFormatToBits(TPixelFormat Format);

// The palettes a bitmap takes when it is made indexed without one of its own.
std::vector<TPaletteEntry> DefaultPalette(TPixelFormat Format);

// The palette index of pixel X in a row of a 1-, 4- or 8-bit bitmap (bits
// from the most significant down), and the matching write.
inline int PixelIndex(const uint8_t* Row, int X, TPixelFormat Format) {
  switch (Format) {
  case pf1bit:
    return (Row[X >> 3] >> (7 - (X & 7))) & 1;
  case pf4bit:
    return (X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4);
  default:
    return Row[X];
  }
}

inline void SetPixelIndex(uint8_t* Row, int X, TPixelFormat Format, int Index) {
  switch (Format) {
  case pf1bit: {
    const uint8_t Bit = static_cast<uint8_t>(0x80 >> (X & 7));
    Row[X >> 3] = static_cast<uint8_t>((Index & 1) ? (Row[X >> 3] | Bit) : (Row[X >> 3] & ~Bit));
    break;
  }
  case pf4bit:
    Row[X >> 1] = static_cast<uint8_t>((X & 1) ? ((Row[X >> 1] & 0xF0) | (Index & 0x0F))
                                               : ((Row[X >> 1] & 0x0F) | ((Index & 0x0F) << 4)));
    break;
  default:
    Row[X] = static_cast<uint8_t>(Index);
  }
}
