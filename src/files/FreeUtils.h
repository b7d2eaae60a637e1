// The picture class read and written through FreeImage (TFreeBitmap), the
// side record of one FreeImage load or save (TFreeExtraData), and the cheap
// checks every file passes before the library sees it. Depends on the
// binding (FreeImage), FreeMetadata, ReadLimits and the platform bitmap; its
// loads and saves run the pipelines of FreeBitmap. Used by the load and save
// dispatch and the save options.
#pragma once

#include "files/FreeImage.h"
#include "files/FreeMetadata.h"
#include "platform/Bitmap.h"

#include <QString>

#include <cstdint>

// The side data of one FreeImage load or save.
struct TFreeExtraData {
  int ImageFormat = fifUnknown; // -1 when no format is known
  bool HasAlpha = false;        // a used alpha channel
  // Load: the file's bits per pixel (32 when the library reports
  // transparency); save: the depth to write, 0 = that of the bitmap.
  uint8_t BitsPerPixel = 0;
  float ResolutionX = 0; // dots per inch
  float ResolutionY = 0;
  // Load: 0 eight-bit image, 1 float channels, 2 sixteen bits per channel;
  // cleared once tone mapped (a TIFF file, whose values stay linear, keeps it).
  uint8_t ToneMapFlag = 0;
  int IOFlag = 0;  // the flags passed to the library's load or save
  float Gamma = 0; // carried, not interpreted
  TMetadata Metadata;
};
using PFreeExtraData = TFreeExtraData*;

// A bitmap read and written through FreeImage. The dispatch creates one per
// load or save: InitLoadFormat or InitSaveFormat first, then its hook may
// tune the flags (the save options), then LoadFromFileEx or SaveToFileEx.
class TFreeBitmap : public TBitmap {
public:
  bool ThumbMode() const { return FThumbMode; }
  void SetThumbMode(bool Value) { FThumbMode = Value; }
  int ImageFormat() const { return FFormat; }
  // The bits per pixel of the file last loaded.
  uint8_t FileBitsPerPixel() const { return FBitsPerPixel; }
  int IOFlag() const { return FIOFlag; }
  void SetIOFlag(int Value) { FIOFlag = Value; }
  // The last file loaded holds another format than its name says.
  bool BadFif() const { return FBadFif; }

  // Flags 0; the format found by content, else by name.
  void InitLoadFormat(const QString& FileName);
  // Flags 0; the format of the name (BMP for ".rle", with RLE compression).
  void InitSaveFormat(const QString& FileName);

  // Reads the file into this bitmap (24 bits, or 32 with alpha); Extra, when
  // given, receives the side data. Throws EInvalidGraphic naming the file
  // when the format is unknown, the library is not loaded, the file fails
  // the checks of CheckFreeImageFile or the library refuses it.
  void LoadFromFileEx(const QString& FileName, PFreeExtraData Extra);
  // Writes this bitmap with Extra's depth, resolution and metadata (all
  // defaults when Extra is null), through a safe file. Throws ESafeFileError
  // naming the file when the format is unknown, the library is not loaded
  // or it cannot write the image.
  void SaveToFileEx(const QString& FileName, PFreeExtraData Extra);

  bool IsJpegFormat() const { return FFormat == fifJpeg; }
  bool IsTargaFormat() const { return FFormat == fifTarga; }
  bool IsTiffFormat() const { return FFormat == fifTiff; }
  bool IsWebpFormat() const { return FFormat == fifWebp; }
  bool IsRleFormat() const { return FFormat == fifBmp && FIOFlag == BmpSaveRle; }

  // Quality clamped to 10..100, with optimised Huffman tables.
  void SetJpegQuality(int Quality);
  // Adds progressive encoding; call it after SetJpegQuality.
  void SetJpegProgressive();
  void SetTargaRle(bool Rle);
  // A TIFF save flag of the library (TiffDeflate, TiffLzw ...).
  void SetTiffCompression(int Flag);
  // Below 0 lossless; 0 the library's default; 1..9 give 10; above 100 give 100.
  void SetWebpQuality(int Quality);

private:
  bool FThumbMode = false;
  int FFormat = fifUnknown;
  uint8_t FBitsPerPixel = 0;
  int FIOFlag = 0;
  bool FBadFif = false;
};

// What the binding checks before a file goes to the library, so that files
// its decoders would trust blindly never reach them: the file exists and is
// not empty, its header passes ProbeFreeImageHeader, and the image it
// declares (read by that probe and by the library's header-only load where
// the format has one) is at least 1 x 1 and within MaxReadPixels. Throws
// EInvalidGraphic naming the file. Flag is the load's own flags.
void CheckFreeImageFile(int Fif, const QString& FileName, int Flag);
