// PNG pictures over libpng: the platform's PNG image (header, rows, palette
// and transparency, physical size and text chunks, encoder options), the
// editor's PNG picture that is a plain bitmap on the outside, and the
// conversions between PNG transparency and the editor's 32-bit and
// bitmap-plus-mask forms. Depends on platform (bitmap, safe file), raster
// and ReadLimits; used by the load and save dispatch, the save options and
// the layer export.
#pragma once

#include "files/ColorReduction.h"
#include "platform/Bitmap.h"
#include "raster/FilterEvent.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum TInterlaceMethod : uint8_t { imNone, imAdam7 };
enum TPngTransparency : uint8_t { ptmNone, ptmBit, ptmPartial };

// The row filters an encoder may use, as a set of bits.
using TPngFilters = uint8_t;
inline constexpr TPngFilters PngFilterNone = 1;
inline constexpr TPngFilters PngFilterSub = 2;
inline constexpr TPngFilters PngFilterUp = 4;
inline constexpr TPngFilters PngFilterAverage = 8;
inline constexpr TPngFilters PngFilterPaeth = 16;
inline constexpr TPngFilters PngFilterAll = 31;

// PNG colour types.
inline constexpr uint8_t PngGray = 0, PngRgb = 2, PngPalette = 3, PngGrayAlpha = 4, PngRgbAlpha = 6;

struct TPngPhys {
  uint32_t X = 0; // pixels per unit
  uint32_t Y = 0;
  uint8_t Unit = 1; // 1 metre, 0 unknown (aspect ratio only)
};

struct TPngText {
  enum TKind : uint8_t { tEXt, zTXt, iTXt };
  TKind Kind = tEXt;
  std::string Keyword;
  std::string Text; // bytes as stored (Latin-1, UTF-8 for iTXt)
};

class TPngInput;

// The platform's PNG image. Reading keeps 8 bits per sample (16-bit samples
// are scaled), palette indices one per byte, greys expanded to 0..255.
// Readers throw EInvalidGraphic naming the file on any error libpng reports,
// benign ones included, on files over the size limits and on files whose
// image data chunks are too small for the rows they declare; rows are
// decoded as they come, so bad data is refused before the rest is touched.
class TPngImage {
public:
  TInterlaceMethod InterlaceMethod = imNone;
  int CompressionLevel = 7;
  TPngFilters Filters = PngFilterSub;

  std::optional<TPngPhys> Phys;
  std::vector<TPngText> Texts; // in file order
  // While rows are decoded: starting, running at each new per cent of the
  // rows of all passes, ending (also when the read fails).
  TProgressEvent OnProgress;

  void LoadFromFile(const QString& FileName);
  void LoadFromMemory(const uint8_t* Data, size_t Size, const QString& Name);
  // Writes through a safe file; throws EInvalidGraphic or ESafeFileError.
  void SaveToFile(const QString& FileName) const;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  uint8_t ColorType() const { return FColorType; }
  // Bits per sample of the file read, or of the file that will be written.
  uint8_t BitDepth() const { return FBitDepth; }
  // Bytes per pixel of Row: 1 (index or grey), 2 (grey, alpha), 3 (B, G, R)
  // or 4 (B, G, R, alpha).
  int Channels() const;
  uint8_t* Row(int Y) { return FRows.ScanLine(Y); }
  const uint8_t* Row(int Y) const { return FRows.ScanLine(Y); }

  // Colour type 3: the colours and their alpha (255 where the file gives none).
  const TPalette& Palette() const { return FPalette; }
  const std::vector<uint8_t>& PaletteAlpha() const { return FPaletteAlpha; }
  // Colour types 0 and 2: the one transparent colour of the tRNS chunk.
  std::optional<TColor> TransparentColor() const { return FKeyColor; }

  // A separate alpha per pixel (colour types 4 and 6).
  bool HasAlphaChannel() const { return FColorType == PngGrayAlpha || FColorType == PngRgbAlpha; }
  // Partial: an alpha channel or palette levels between clear and opaque;
  // bit: one transparent colour or palette entries fully clear; else none.
  TPngTransparency TransparencyMode() const;
  // The alpha of pixel X of row Y, whatever the form of the transparency.
  uint8_t AlphaAt(int X, int Y) const;

  // Replaces the image (and drops the chunks) by the bitmap's colours: a
  // palette bitmap gives a palette image of its depth, any other 8-bit RGB
  // (a 32-bit bitmap's alpha is not taken). A transparent bitmap's
  // transparent colour becomes the tRNS chunk.
  void AssignBitmap(const TBitmap& Bitmap);
  // Gives the image an alpha channel (grey and alpha, or RGB and alpha),
  // opaque except where the tRNS chunk made pixels transparent.
  void CreateAlpha();
  // The class's own conversion: palette images as 1-, 4- or 8-bit bitmaps
  // (greys as an 8-bit grey palette, 1-bit greys as 1 bit), RGB as 24 bits,
  // one transparent colour as the bitmap's transparent colour, alpha (and
  // palette levels) as a 32-bit bitmap with straight alpha.
  void AssignTo(TBitmap& Bitmap) const;
  // What PngToBitmap gives, the rows moved instead of copied where they are
  // already the bitmap's pixels (8-bit RGB, RGB and alpha); the image is then
  // empty.
  void MoveTo(TBitmap& Bitmap);
  void Swap(TPngImage& Other) noexcept;

private:
  size_t RowBytes() const { return static_cast<size_t>(FWidth) * static_cast<size_t>(Channels()); }
  void Reset(int Width, int Height, uint8_t ColorType, uint8_t BitDepth);
  void Load(TPngInput& Input, const QString& Name);
  // FRows unfilled for the size and colour type.
  void AllocateRows();
  int MaxRowByte() const;

  int FWidth = 0;
  int FHeight = 0;
  uint8_t FColorType = PngRgb;
  uint8_t FBitDepth = 8;
  // The rows, RowBytes() bytes each, in a bitmap whose pixels have their
  // layout (grey and alpha: an 8-bit bitmap twice as wide).
  TBitmap FRows;
  TPalette FPalette;
  std::vector<uint8_t> FPaletteAlpha;
  std::optional<TColor> FKeyColor;
};

// The editor's PNG picture: a bitmap that loads from and saves to PNG files.
class TMyPngImage : public TBitmap {
public:
  double Dpi = 0;      // dots per inch; 0 none
  std::string Comment; // text of the "Comment" chunk (8-bit)
  TInterlaceMethod InterlaceMethod = imNone;
  int CompressionLevel = 7; // 0..9
  TPngFilters Filters = PngFilterSub;
  TProgressEvent OnProgress; // the decoding's, as TPngImage reports it

  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;
  // The same with Pixels in place of this bitmap's own: the save chain
  // encodes the document's bitmap without copying it first.
  void SaveBitmap(const QString& FileName, const TBitmap& Pixels) const;
};

// Partial transparency (an alpha channel, palette levels between clear and
// opaque, or palette transparency that one transparent colour cannot carry
// exactly) gives PngToBitmap32; any other PNG the class's own conversion.
void PngToBitmap(const TPngImage& Png, TBitmap& Bitmap);
// A 32-bit bitmap with straight alpha: colour bytes and the pixel's alpha
// (greys expanded into the three channels, palette colours not darkened).
void PngToBitmap32(const TPngImage& Png, TBitmap& Bitmap);
// Errors pass to the caller.
void LoadPngToBitmap(const QString& FileName, TBitmap& Bitmap);
// Nothing unless the bitmap is 32-bit: its colours and its fourth byte as
// the alpha channel.
void Bitmap32ToPng(const TBitmap& Bitmap, TPngImage& Png);
// Nothing unless bitmap and mask are 24-bit and of one size: alpha = 255 -
// the mask's first byte; with WhiteUnder, fully clear pixels become white.
void BitmapMaskToPng(const TBitmap& Bitmap, const TBitmap& Mask, TPngImage& Png, bool WhiteUnder);
// From the pHYs chunk in pixels per metre; 0 without one or when its unit
// is not the metre.
double GetPngDpi(const TPngImage& Png);
// Both axes trunc(Dpi x 100 / 2.54) pixels per metre.
void SetPngDpi(TPngImage& Png, double Dpi);
// The text of the first tEXt chunk when its keyword is "Comment", else empty.
std::string GetPngComment(const TPngImage& Png);
void SetPngComment(TPngImage& Png, const std::string& Text);

// The bytes of image data a PNG file holds: the lengths of its IDAT chunks,
// summed by walking the chunk headers after the signature up to IEND, each
// cut to the bytes the file still holds. Header reads the 8 bytes (length,
// type) at an offset, answering false where the file has none. Reads one
// header per chunk and allocates nothing, so it runs before any decoding.
int64_t PngImageDataBytes(int64_t FileSize, const std::function<bool(int64_t At, uint8_t* Header)>& Header);
