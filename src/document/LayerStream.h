// The byte streams of the layered image file and its block routines: strings,
// the comment field, raw and zlib-compressed bitmap and mask blocks, the
// thumbnail block and the process-wide save settings. Depends on platform
// (TBitmap, Win1252, SafeFile), the raster core (progress, stretching) and
// libdeflate (zlib's format, one call each way); used by the layer records
// (MyGraphic), the layered image, its light reader (MyImageLayeredReg) and
// the text layer data (TxtData).
//
// Every size, count and length read here is checked against the bytes that
// remain in the stream and against the readers' limits (platform/FileLimits.h)
// before anything is allocated; a failed check throws EStreamError. A block
// inflates in one call into its unfilled bitmap (a mask's bytes into a
// buffer first), which stops at the first bad byte: the memory its header
// claims is touched only as far as valid data fills it. A failed read leaves
// the bitmap empty. Writers refuse a bitmap the readers would refuse.
#pragma once

#include "platform/Bitmap.h"
#include "platform/FileLimits.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class QFile;
class TSafeFile;

// A stream or format error; Text() is the message to show.
class EStreamError : public std::runtime_error {
public:
  explicit EStreamError(const QString& Text) : std::runtime_error(Text.toStdString()), FText(Text) {}
  const QString& Text() const { return FText; }

private:
  QString FText;
};

// The longest string the stream string and comment encodings hold.
inline constexpr int MaxStreamString = 255;

// A little-endian byte stream. Read answers the bytes it could read; the
// other reads throw EStreamError at the end of the data.
class TStream {
public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  // All bytes or an exception.
  virtual void Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Position() const = 0;
  virtual int64_t Size() const = 0;
  // Throws EStreamError beyond the end or on a stream that cannot seek.
  virtual void Seek(int64_t Position) = 0;
  // The file behind the stream, for messages; empty for memory.
  virtual QString Name() const { return {}; }

  int64_t Remaining() const { return Size() - Position(); }
  // Throws EStreamError("Stream read error") when fewer bytes remain.
  void ReadBuffer(void* Buffer, int64_t Count);
  void Skip(int64_t Count);

  uint8_t ReadByte();
  int16_t ReadInt16();
  int32_t ReadInt32();
  double ReadDouble();
  void WriteByte(uint8_t V) { Write(&V, 1); }
  void WriteInt16(int16_t V);
  void WriteInt32(int32_t V);
  void WriteDouble(double V);
};

// Bytes in memory, readable and writable.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Data) : FData(std::move(Data)) {}
  TMemoryStream(const uint8_t* Data, size_t Size) : FData(Data, Data + Size) {}
  int64_t Read(void* Buffer, int64_t Count) override;
  void Write(const void* Buffer, int64_t Count) override;
  int64_t Position() const override { return FPosition; }
  int64_t Size() const override { return static_cast<int64_t>(FData.size()); }
  void Seek(int64_t Position) override;
  const std::vector<uint8_t>& Data() const { return FData; }

private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// A file opened for reading; throws EStreamError when it cannot be opened.
class TFileReadStream : public TStream {
public:
  explicit TFileReadStream(const QString& FileName);
  ~TFileReadStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  void Write(const void* Buffer, int64_t Count) override;
  int64_t Position() const override;
  int64_t Size() const override;
  void Seek(int64_t Position) override;
  QString Name() const override { return FFileName; }

private:
  QString FFileName;
  std::unique_ptr<QFile> FFile;
  int64_t FSize = 0;
};

// Writes into a safe file (nothing visible until it is committed); cannot
// seek.
class TSafeFileStream : public TStream {
public:
  explicit TSafeFileStream(TSafeFile& File) : FFile(File) {}
  int64_t Read(void* Buffer, int64_t Count) override;
  void Write(const void* Buffer, int64_t Count) override;
  int64_t Position() const override;
  int64_t Size() const override { return Position(); }
  void Seek(int64_t Position) override;
  QString Name() const override;

private:
  TSafeFile& FFile;
};

// ---- Process-wide save settings ----------------------------------------------
// Bitmaps, masks and the thumbnail are written zlib-compressed (else raw).
extern bool LayerCompression;
// Bitmap layers above the background are written cropped to their
// non-transparent part (the layers in memory are not changed).
extern bool AutoCropOnSave;
// The thumbnail fits in a square of this side.
extern int ThumbnailSize;
void SetLayerCompression(int Mode);

// ---- Strings ---------------------------------------------------------------------
// int32 n, then n Windows-1252 characters (cut to 255); with Wide the UTF-16
// units instead (no file uses that form).
void WriteStreamString(TStream& Stream, const QString& S, bool Wide);
// Refuses a length outside 0..255 or beyond the stream's end.
QString ReadStreamString(TStream& Stream, bool Wide);
// The 256-byte comment field: at most 255 characters, zero-padded; read back
// up to the first zero byte.
void WriteAnsi256(TStream& Stream, const QString& S);
QString ReadAnsi256(TStream& Stream);

// ---- zlib --------------------------------------------------------------------------
// Compresses Count bytes of Data into one zlib stream written to Stream; a
// progress begin and end are run around it.
void ZCompressToStream(const uint8_t* Data, TStream& Stream, int64_t Count);

// While one lives (on this thread), the compressed blocks written or read
// share their work buffers instead of each touching fresh memory: a save or
// load of many layers holds one around all of them. Scopes nest; the buffers
// go when the outermost ends.
class TBlockBufferScope {
public:
  TBlockBufferScope();
  ~TBlockBufferScope();
  TBlockBufferScope(const TBlockBufferScope&) = delete;
  TBlockBufferScope& operator=(const TBlockBufferScope&) = delete;
};
// Decompresses exactly Count bytes into Data from a zlib stream of at most
// Available bytes of Stream; throws EStreamError on damaged data or a stream
// of another length. The stream is left just after the zlib stream.
void ZDecompressFromStream(uint8_t* Data, TStream& Stream, int64_t Count, int64_t Available);

// ---- Blocks ---------------------------------------------------------------------------
// Raw: int32 W, H, then the rows top down, 3 bytes per pixel. Zlib: W, H, the
// block length S (counting itself), then the rows bottom up, each padded to a
// multiple of 4 bytes. Bitmaps are read as 24 bits. Writing a bitmap above
// MaxReadPixels throws std::length_error before its first byte.
void WriteBitmapRaw(const TBitmap& Bitmap, TStream& Stream);
void ReadBitmapRaw(TBitmap& Bitmap, TStream& Stream);
void WriteBitmapZip(const TBitmap& Bitmap, TStream& Stream);
void ReadBitmapZip(TBitmap& Bitmap, TStream& Stream);
// Masks: one grey byte per pixel (the first byte of each 24-bit pixel), rows
// top down, no padding; read into all three bytes of 24-bit pixels. A mask
// must have the size ExpectedW x ExpectedH unless they are negative.
void WriteMaskRaw(const TBitmap& Mask, TStream& Stream);
void ReadMaskRaw(TBitmap& Mask, TStream& Stream, int ExpectedW = -1, int ExpectedH = -1);
void WriteMaskZip(const TBitmap& Mask, TStream& Stream);
void ReadMaskZip(TBitmap& Mask, TStream& Stream, int ExpectedW = -1, int ExpectedH = -1);
void PackMaskRow(const uint8_t* Src, uint8_t* Dst, int Width);
void UnpackMaskRow(const uint8_t* Src, uint8_t* Dst, int Width);

// Byte mode (0 raw, 1 zlib, from LayerCompression), the block, then byte
// Transparent and int32 the transparent colour.
void WriteLayerBitmap(const TBitmap& Bitmap, TStream& Stream);
// The same of the rectangle Area of Bitmap (all of it when null), with the
// flag Transparent in place of the bitmap's.
void WriteLayerBitmap(const TBitmap& Bitmap, const TRect* Area, bool Transparent, TStream& Stream);
void ReadLayerBitmap(TBitmap& Bitmap, TStream& Stream);
// Byte mode, then the mask block of Area (all of Mask when null).
void WriteLayerMask(const TBitmap& Mask, TStream& Stream, const TRect* Area = nullptr);
void ReadLayerMask(TBitmap& Mask, TStream& Stream, int ExpectedW = -1, int ExpectedH = -1);
// Pass over what WriteLayerBitmap / WriteLayerMask stored, its header checked
// as a read would, without inflating or allocating the pixels.
void SkipLayerBitmap(TStream& Stream);
void SkipLayerMask(TStream& Stream);

// Bitmap fitted into Size x Size keeping its proportions (small images grow),
// bicubic.
std::unique_ptr<TBitmap> MakeThumbnail(const TBitmap& Bitmap, int Size);
// int32 L (the block length, these 4 bytes included), "Thumbnail", int32 mode,
// the bitmap block.
void WriteThumbnailBlock(const TBitmap& Bitmap, TStream& Stream);
void ReadThumbnailBlock(TBitmap& Bitmap, TStream& Stream);
// Moves past a thumbnail block after checking its length.
void SkipThumbnailBlock(TStream& Stream);

// The message of a file that cannot be used.
[[noreturn]] void InvalidDataFile();
