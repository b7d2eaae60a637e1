// Pixels between FreeImage's bitmaps and the program's: TBmpFree owns one
// library bitmap and wraps the bound functions (allocation, load, save,
// depth conversions, quantising, resolution, metadata); the load pipeline
// turns any library image into a 24- or 32-bit bitmap, tone mapping
// high-range images through THdrImage, and the save pipeline writes a bitmap
// back at the requested depth with its resolution and metadata. Depends on
// the binding, FreeUtils, HdrImg/HdrTonMap, FreeMetadata, ColorDepth and the
// platform's safe file; used by TFreeBitmap.
//
// The library's scan lines run bottom-up: bitmap row r is scan line
// height - 1 - r. Its 24- and 32-bit pixels are B, G, R (A), as the
// program's; its 16-bit and float pixels are R, G, B (A).
#pragma once

#include "files/FreeImage.h"
#include "files/FreeUtils.h"
#include "files/HdrImg.h"

#include <QString>

#include <cstdint>

class TBmpFree {
public:
  // An empty wrapper; allocates when the three sizes are above 0.
  TBmpFree() = default;
  TBmpFree(int ImageType, int Width, int Height, int Bpp);
  ~TBmpFree();
  TBmpFree(const TBmpFree&) = delete;
  TBmpFree& operator=(const TBmpFree&) = delete;

  TFiBitmap* Dib() const { return FDib; }
  // Frees the bitmap held and takes Value.
  void SetDib(TFiBitmap* Value);

  // Clear, then allocate; true when the library gave a bitmap.
  bool SetSize(int ImageType, int Width, int Height, int Bpp);
  void Clear();
  bool IsValid() const { return FDib != nullptr; }
  bool Empty() const { return GetWidth() <= 0 || GetHeight() <= 0; }
  // False and nothing changes for a null NewDib; else the old bitmap is
  // freed and NewDib taken.
  bool Replace(TFiBitmap* NewDib);

  // The library's answers; 0 or false without a bitmap.
  bool IsTransparent() const;
  int GetImageType() const;
  int GetWidth() const;
  int GetHeight() const;
  int GetBitsPerPixel() const;
  // Null when ScanLine is outside 0..height - 1.
  uint8_t* GetScanLine(int ScanLine) const;

  // Dots per centimetre (the library's dots per metre / 100); set as dots
  // per metre = Value x 100 rounded.
  double GetHorizontalResolution() const;
  double GetVerticalResolution() const;
  void SetHorizontalResolution(double Value);
  void SetVerticalResolution(double Value);

  // Each replaces the bitmap with the library's converted copy; false (the
  // bitmap kept) when the library gives none.
  bool ConvertTo24Bits();
  bool ConvertTo32Bits();
  bool Threshold(uint8_t T);        // 1 bit
  bool Dither(int Algorithm);       // 1 bit
  bool ColorQuantize(int Quantize); // 8 bits
  bool ColorQuantizeEx(int Quantize, int PaletteSize, int ReserveSize, TFiRgbQuad* ReservePalette);
  // Depth 24 or more: Bpp := the depth, true. Else to 32 bits when
  // transparent, to 24 otherwise; Bpp := the new depth when that worked.
  bool ConvertToRGB_A(int& Bpp);
  // Nothing for Bpp 0 or not below the depth; Bpp 1 dithers (Floyd-Steinberg)
  // or thresholds at 128; any other quantises to an 8-bit palette of 16
  // (Bpp up to 4) or 256 colours, one less with ReserveTransparency, with
  // the Wu quantiser when Dithering, else the lossless one.
  bool ReduceColors(int Bpp, bool Dithering, bool ReserveTransparency);

  // Load(GetFileFif(FileName), ...).
  bool Load(const QString& FileName, int Flag);
  // Clear, check the file (CheckFreeImageFile, which throws EInvalidGraphic
  // for a file over the limits), load; true when a bitmap with pixels and a
  // size within the limits came back.
  bool Load(int Fif, const QString& FileName, int Flag);
  // Save(GetFifFromName(FileName), ...).
  bool Save(const QString& FileName, int Flag);
  // The library writes into an unnamed scratch file, which then replaces the
  // target through a safe file (throws ESafeFileError when that fails).
  // False without a bitmap or when the library refuses.
  bool Save(int Fif, const QString& FileName, int Flag);

  int MetadataCount(int Model) const;
  // Appends every tag of the model (the list is not cleared first).
  void ReadMetadata(int Model, TMetadata& Metadata) const;
  // Writes the list's run of tags of the model.
  void WriteMetadata(int Model, const TMetadata& Metadata);

private:
  TFiBitmap* FDib = nullptr;
};

// Reads FileName with Extra.ImageFormat and Extra.IOFlag into Bitmap (24
// bits, 32 with alpha) and fills Extra. False when the library refuses the
// file or gives an image it cannot convert; throws EInvalidGraphic for a
// file over the limits.
bool LoadFreeImageFile(const QString& FileName, TBitmap& Bitmap, TFreeExtraData& Extra);
// Writes Bitmap with Extra's format (by name when -1), flags, depth,
// resolutions and metadata (adjusted in place for the save). False when
// nothing could be written.
bool SaveFreeImageBitmap(const QString& FileName, const TBitmap& Bitmap, TFreeExtraData& Extra);

// The library bitmap as a float image (Extra.BitsPerPixel := its depth, then
// FillLoadExtra); false for a pixel type it cannot hold (a 16-bit grey
// image, for one).
bool LoadIntoHdr(TBmpFree& Dib, THdrImage& Hdr, TFreeExtraData& Extra);
// Resolution in dots per inch (in steps of 0.05, the larger of the file's
// and its EXIF resolution), alpha, tone-map flag and the metadata of every
// model the format gives.
void FillLoadExtra(TBmpFree& Dib, int ImageType, TFreeExtraData& Extra);
// High-range images other than TIFF: filmic curve and range stretch with
// AutoToneMap, else clipped; TIFF keeps its linear values.
void ToneMapLoaded(THdrImage& Hdr, TFreeExtraData& Extra);
// HasAlpha only when some alpha is below 1.
void CheckHdrAlpha(const THdrImage& Hdr, TFreeExtraData& Extra);
// A 32-bit bitmap with HasAlpha, else 24-bit, of the float image's bytes.
void HdrToBitmap(const THdrImage& Hdr, TBitmap& Bitmap, bool HasAlpha);
