// JPEG pictures over libjpeg (the IJG 6b interface): the platform's JPEG
// image (decode with a reduction scale, encode with quality and progressive
// mode, progress through the progress service), the editor's JPEG picture
// that decodes thumbnails while reporting the stored size and keeps the JFIF
// resolution, and the file probes for size and resolution. Depends on
// platform (bitmap, safe file), raster/FilterEvent (progress) and ReadLimits;
// used by the load and save dispatch and the save options.
#pragma once

#include "platform/Bitmap.h"
#include "raster/FilterEvent.h"

#include <QString>

#include <cstddef>
#include <cstdint>

class QIODevice;
struct TJpegFileSource;

enum TJPEGScale : uint8_t { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The platform's JPEG image. Decoding gives a 24-bit bitmap (greyscale
// expanded into the three channels, CMYK and YCCK converted to RGB).
// Readers throw EInvalidGraphic naming the file for a malformed or truncated
// file, one whose compressed data is damaged, one over the size limits or
// one whose declared size its bytes cannot hold; a bad file never ends the
// process.
class TJPEGImage {
public:
  virtual ~TJPEGImage() = default;

  int CompressionQuality = 90; // 1..100
  bool ProgressiveEncoding = false;
  TJPEGScale Scale = jsFullSize; // decoding reduction
  // Called at the start, at each new whole percent and at the end of a
  // decode or encode.
  TProgressEvent OnProgress;

  virtual void LoadFromFile(const QString& FileName);
  void LoadFromMemory(const uint8_t* Data, size_t Size, const QString& Name);
  // Writes through a safe file; throws EInvalidGraphic or ESafeFileError.
  virtual void SaveToFile(const QString& FileName) const;

  // The pixels to encode (any format; a 32-bit bitmap's alpha is dropped).
  void Assign(const TBitmap& Bitmap);
  void AssignTo(TBitmap& Bitmap) const { Bitmap.Assign(FBitmap); }
  // The decoded pixels moved into Bitmap, as AssignTo gives them; the
  // picture is then empty.
  void MoveTo(TBitmap& Bitmap);
  const TBitmap& Bitmap() const { return FBitmap; }
  bool Empty() const { return FBitmap.Empty(); }

protected:
  // Encodes Pixels with the JFIF density Dpi when it is above 0 (units dots
  // per inch, rounded to the nearest integer and kept within 1..65535).
  void Encode(const TBitmap& Pixels, const QString& FileName, double Dpi) const;

  TBitmap FBitmap;

private:
  // From memory, or from Source when it is given (Size: the file's).
  void Decode(const uint8_t* Data, size_t Size, TJpegFileSource* Source, const QString& Name);
};

// The editor's JPEG picture.
class TMyJpegImage : public TJPEGImage {
public:
  bool ThumbMode = false; // decode a reduced image for a thumbnail
  double Dpi = 0;         // dots per inch; 0 none

  // The size stored in the file, not the decoded size in thumbnail mode.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  void LoadFromFile(const QString& FileName) override;
  // Saves with the density Dpi when it is above 0, in one safe write.
  void SaveToFileEx(const QString& FileName) const;
  // The same with Pixels in place of the picture's own bitmap: the save
  // chain encodes the document's bitmap without copying it.
  void SaveBitmapEx(const QString& FileName, const TBitmap& Pixels) const;

private:
  int FWidth = 0;
  int FHeight = 0;
};

// For the checks made before another decoder reads a JPEG file: reads the
// header up to the first scan and answers whether the data after it can
// describe the declared size, by the bound TJPEGImage applies. Width and
// Height get the declared size; a header that cannot be read gives 0 x 0
// and true (the other decoder refuses that file itself). Never throws.
bool JpegDataHoldsImage(const uint8_t* Data, size_t Size, int64_t& Width, int64_t& Height);

// The size in the baseline frame header (FF C0); 0 x 0 when there is none
// before the first scan, the file is missing or it is not a JPEG file. A
// progressive or other frame type is not recognised. Reads byte by byte,
// skips fill bytes and standalone markers and stops on a segment length
// below 2; a read error keeps the values read so far. Never throws.
void GetJpegSize(const QString& FileName, int& Width, int& Height);
void GetJpegSize(QIODevice& File, int& Width, int& Height);

// Decode scale for a thumbnail of edge Size: 0 full, 1 half, 2 quarter,
// 3 eighth, from max(Width, Height) div Size.
int JpegThumbScale(int Width, int Height, int Size);

// The density of the JFIF segment that must follow the start of image: the
// density with units 1 (dots per inch), x 2.54 with units 2 (dots per
// centimetre), 0 otherwise, for another first segment or for a missing file.
// A file too short for these fields throws EInvalidGraphic.
double GetJpegDpi(const QString& FileName);
// The same from an open device; FileName names it in the error.
double GetJpegDpi(QIODevice& File, const QString& FileName);

// Writes units 1 and the rounded Dpi (halves to even, within 1..65535) as
// both densities of that JFIF segment, through a safe rewrite of the file.
// False, with the file unchanged, when it is missing, lacks the segment or
// an I/O error occurs.
bool SetJpegDpi(const QString& FileName, double Dpi);
