#include "document/LayerStream.h"

#include "i18n/LibLang.h"
#include "platform/PixelMemory.h"
#include "platform/SafeFile.h"
#include "platform/VectorDispatch.h"
#include "platform/Win1252.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Pixels.h"
#include "raster/ProgressScope.h"
#include "raster/RectUtils.h"

#include <QFile>

#include <libdeflate.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

static_assert(std::endian::native == std::endian::little, "the file format is little-endian");

bool LayerCompression = true;
bool AutoCropOnSave = true;
int ThumbnailSize = 150;

void SetLayerCompression(int Mode) { LayerCompression = Mode != 0; }

void InvalidDataFile() { throw EStreamError(Tr(TrId::GetShpMsgStreamError)); }

namespace {

[[noreturn]] void ReadError() { throw EStreamError(QStringLiteral("Stream read error")); }
[[noreturn]] void InvalidMode() { throw EStreamError(QStringLiteral("Invalid compression mode !")); }

constexpr char ThumbTag[9] = {'T', 'h', 'u', 'm', 'b', 'n', 'a', 'i', 'l'};

int64_t RowBytes24(int W) { return (int64_t(W) * 3 + 3) / 4 * 4; }

// A size read from a file: not negative, at most MaxReadPixels pixels, and
// empty only as 0 x 0 (a zero width with a huge height would loop over rows
// of nothing).
void CheckSize(int32_t W, int32_t H) {
  if (!PixelCountFits(W, H) || (W == 0) != (H == 0)) InvalidDataFile();
}

void CheckExpected(int32_t W, int32_t H, int ExpectedW, int ExpectedH) {
  if (ExpectedW >= 0 && (W != ExpectedW || H != ExpectedH)) InvalidDataFile();
}

// The thumbnail block's length after its own 4 bytes, checked against the
// stream.
int64_t ReadThumbnailLength(TStream& Stream) {
  const int64_t L = int64_t(Stream.ReadInt32()) - 4;
  if (L < 0 || L > Stream.Remaining()) InvalidDataFile();
  return L;
}

// The shared adapter reads the compression rate of the stream it is told about.
class TZProgress : public TZStreamProgressSender {
public:
  explicit TZProgress(bool Compress) : FCompress(Compress) { HookZStreamProgress(*this); }
  TZStreamNotifyEvent OnProgress;
  bool IsCompressionStream() const override { return FCompress; }
  double CompressionRate() const override { return FRate; }
  void Report(int64_t In, int64_t Out) {
    FRate = In > 0 ? (1.0 - double(Out) / double(In)) * 100.0 : 0.0;
    if (OnProgress) OnProgress(*this);
  }

private:
  bool FCompress;
  double FRate = 0;
};

// libdeflate's level, chosen by measuring the bench's photo-like layers: at
// level 3 a photograph compresses within 2 % of zlib's default level, in a
// third of zlib's time (level 6 gains 1 % for 30 % more time).
constexpr int DeflateLevel = 3;

// A work buffer of the compressed blocks. A fresh buffer costs a page fault
// per page on its first touch, a good part of a save's or load's time: the
// blocks within one TBlockBufferScope reuse it.
struct TWorkBuffer {
  TPixelBuffer Data;
  int64_t Size = 0;
  uint8_t* Reserve(int64_t Bytes) {
    if (Bytes > Size) {
      Data.reset(); // never two of them at once
      Size = 0;
      Data = MakePixelBuffer(Bytes);
      Size = Bytes;
    }
    return Data.get();
  }
  void Release() {
    Data.reset();
    Size = 0;
  }
};

// The block's rows in the file's order (a mask's bytes), and its compressed
// bytes.
thread_local TWorkBuffer BlockRows, BlockZip;
thread_local int BlockBufferScopes = 0;

void ReleaseBlockBuffers() {
  BlockRows.Release();
  BlockZip.Release();
}


struct TFreeCompressor {
  void operator()(libdeflate_compressor* C) const noexcept { libdeflate_free_compressor(C); }
};

// One zlib stream of Count bytes into BlockZip, made in one call by
// libdeflate: the format zlib writes and any zlib reader inflates, in a
// fraction of zlib's time. The whole input lies in one buffer; the
// compression rate is reported once it is known. Answers the stream's size.
size_t ZCompress(const uint8_t* Data, size_t Count) {
  TProgressScope Scope(100);
  TZProgress Progress(true);
  const std::unique_ptr<libdeflate_compressor, TFreeCompressor> C(libdeflate_alloc_compressor(DeflateLevel));
  if (!C) throw std::bad_alloc();
  const size_t Bound = libdeflate_zlib_compress_bound(C.get(), Count);
  const size_t Size = libdeflate_zlib_compress(C.get(), Data, Count, BlockZip.Reserve(int64_t(Bound)), Bound);
  if (Size == 0) throw std::runtime_error("compression failed");
  Progress.Report(int64_t(Count), int64_t(Size));
  return Size;
}

struct TFreeDecompressor {
  void operator()(libdeflate_decompressor* D) const noexcept { libdeflate_free_decompressor(D); }
};

// Inflates the zlib stream that starts at the stream's position and lies
// within its next Available bytes into exactly Count bytes at Target(), and
// answers the bytes the zlib stream took. libdeflate inflates it in one call,
// into its final place, and stops at the first byte it cannot decode: damaged
// data, a stream of another length or one cut short throw EStreamError. The
// compressed bytes are read whole first (at most what the stream holds); the
// first First bytes of output are inflated on their own before Target is
// asked for the memory of the whole, so that junk is refused before it.
template <class FTarget>
int64_t ZInflate(TStream& Stream, int64_t Available, size_t Count, size_t First, FTarget Target) {
  if (Available < 0) InvalidDataFile();
  TProgressScope Scope(100);
  TZProgress Progress(false);
  const int64_t Size = std::min(Available, Stream.Remaining());
  const TBlockBufferScope Use;
  uint8_t* const In = BlockZip.Reserve(Size);
  Stream.ReadBuffer(In, Size);
  const std::unique_ptr<libdeflate_decompressor, TFreeDecompressor> D(libdeflate_alloc_decompressor());
  if (!D) throw std::bad_alloc();
  size_t Used = 0, Made = 0;
  if (First > 0 && First < Count) {
    // Only running out of room tells that the start is sound and more follows.
    const TPixelBuffer Start = MakePixelBuffer(int64_t(First));
    if (libdeflate_zlib_decompress_ex(D.get(), In, size_t(Size), Start.get(), First, &Used, &Made) !=
        LIBDEFLATE_INSUFFICIENT_SPACE)
      InvalidDataFile();
  }
  if (libdeflate_zlib_decompress_ex(D.get(), In, size_t(Size), Target(), Count, &Used, &Made) !=
          LIBDEFLATE_SUCCESS ||
      Made != Count)
    InvalidDataFile();
  Progress.Report(int64_t(Used), int64_t(Made));
  return int64_t(Used);
}

// The bitmap as 24 bits, converted into Scratch when it is not; one the
// readers would refuse is neither converted nor written.
const TBitmap& Storable24(const TBitmap& Bitmap, TBitmap& Scratch) {
  if (!PixelCountFits(Bitmap.Width(), Bitmap.Height())) throw std::length_error("image too large for the file format");
  if (Bitmap.PixelFormat() == pf24bit) return Bitmap;
  Assign24(Bitmap, Scratch);
  return Scratch;
}

// W x H 24-bit and unfilled: the caller writes every row.
void Prepare24(TBitmap& Bitmap, int W, int H) {
  Bitmap.ReleaseImage();
  Bitmap.Transparent = false;
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSizeUnfilled(W, H);
}

// Runs the read of a block into Bitmap; when it fails the bitmap is left
// empty, never with rows that were not read nor with its former pixels.
template <class F> void ReadInto(TBitmap& Bitmap, F Read) {
  try {
    Read();
  } catch (...) {
    Bitmap.ReleaseImage();
    throw;
  }
}

// W, H and the zlib block length, checked against the stream and the limits:
// a bitmap's rows are padded 24-bit rows, a mask's one byte per pixel.
int64_t ReadZipHeader(TStream& Stream, int32_t& W, int32_t& H, bool IsBitmap, int ExpectedW, int ExpectedH) {
  W = Stream.ReadInt32();
  H = Stream.ReadInt32();
  CheckSize(W, H);
  CheckExpected(W, H, ExpectedW, ExpectedH);
  const int32_t S = Stream.ReadInt32();
  const int64_t Compressed = int64_t(S) - 4;
  if (Compressed < 0 || Compressed > Stream.Remaining()) InvalidDataFile();
  const int64_t Produced = (IsBitmap ? RowBytes24(W) : int64_t(W)) * H;
  if (!ExpansionFits(Produced, Compressed, MaxZlibRatio)) InvalidDataFile();
  return Compressed;
}

// The block header and Count bytes of Data compressed.
void WriteZipBlock(TStream& Stream, int W, int H, const uint8_t* Data, size_t Count) {
  const size_t Size = ZCompress(Data, Count);
  if (Size > size_t(INT32_MAX - 4)) throw std::length_error("compressed block too large for the file format");
  Stream.WriteInt32(W);
  Stream.WriteInt32(H);
  Stream.WriteInt32(static_cast<int32_t>(Size + 4));
  Stream.Write(BlockZip.Data.get(), static_cast<int64_t>(Size));
}

// The rectangle of B a block stores: Area clipped to it, or all of B.
TRect BlockArea(const TBitmap& B, const TRect* Area) {
  if (!Area) return BitmapRect(B);
  TRect R = *Area;
  return ClipToBitmap(R, B) ? R : BitmapRect(B);
}

// A bitmap block of Area (all of Bitmap when null). The rows are taken from
// the bitmap where they lie, so that a layer cropped for the file is never
// copied whole first.
void WriteBitmapBlock(const TBitmap& Bitmap, const TRect* Area, TStream& Stream, bool Zip) {
  TBitmap Scratch;
  const TBitmap& B = Storable24(Bitmap, Scratch);
  const TRect R = BlockArea(B, Area);
  const int W = R.Width(), H = R.Height();
  const size_t Used = size_t(W) * 3;
  auto Source = [&](int Y) { return B.ScanLine(R.Top + Y) + size_t(R.Left) * 3; };
  if (!Zip) {
    Stream.WriteInt32(W);
    Stream.WriteInt32(H);
    TProgressScope Progress(H);
    for (int Y = 0; Y < H; ++Y) {
      Stream.Write(Source(Y), int64_t(Used));
      Progress.Step(Y);
    }
    return;
  }
  // The file's rows run bottom up, their padding zero.
  const size_t Row = size_t(RowBytes24(W));
  const TBlockBufferScope Use;
  uint8_t* Rows = BlockRows.Reserve(int64_t(Row) * H);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* D = Rows + Row * size_t(H - 1 - Y);
    std::memcpy(D, Source(Y), Used);
    std::memset(D + Used, 0, Row - Used);
  }
  WriteZipBlock(Stream, W, H, Rows, Row * size_t(H));
}

// A mask block of Area (all of Mask when null), one byte per pixel.
void WriteMaskBlock(const TBitmap& Mask, const TRect* Area, TStream& Stream, bool Zip) {
  TBitmap Scratch;
  const TBitmap& M = Storable24(Mask, Scratch);
  const TRect R = BlockArea(M, Area);
  const int W = R.Width(), H = R.Height();
  auto Pack = [&](int Y, uint8_t* Dst) { PackMaskRow(M.ScanLine(R.Top + Y) + size_t(R.Left) * 3, Dst, W); };
  if (!Zip) {
    Stream.WriteInt32(W);
    Stream.WriteInt32(H);
    std::vector<uint8_t> Line(static_cast<size_t>(W));
    TProgressScope Progress(H);
    for (int Y = 0; Y < H; ++Y) {
      Pack(Y, Line.data());
      Stream.Write(Line.data(), W);
      Progress.Step(Y);
    }
    return;
  }
  const TBlockBufferScope Use;
  uint8_t* Bytes = BlockRows.Reserve(int64_t(W) * H);
  for (int Y = 0; Y < H; ++Y) Pack(Y, Bytes + size_t(W) * size_t(Y));
  WriteZipBlock(Stream, W, H, Bytes, size_t(W) * size_t(H));
}

} // namespace

// ---- TStream ---------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || Read(Buffer, Count) != Count) ReadError();
}

void TStream::Skip(int64_t Count) {
  if (Count < 0 || Count > Remaining()) ReadError();
  Seek(Position() + Count);
}

namespace {
// One value in the file's little-endian layout, which is the machine's.
template <class T> T ReadValue(TStream& Stream) {
  T V;
  Stream.ReadBuffer(&V, sizeof V);
  return V;
}
} // namespace

uint8_t TStream::ReadByte() { return ReadValue<uint8_t>(*this); }
int16_t TStream::ReadInt16() { return ReadValue<int16_t>(*this); }
int32_t TStream::ReadInt32() { return ReadValue<int32_t>(*this); }
double TStream::ReadDouble() { return ReadValue<double>(*this); }

void TStream::WriteInt16(int16_t V) { Write(&V, 2); }
void TStream::WriteInt32(int32_t V) { Write(&V, 4); }
void TStream::WriteDouble(double V) { Write(&V, 8); }

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  const int64_t N = std::clamp<int64_t>(Size() - FPosition, 0, std::max<int64_t>(Count, 0));
  if (N > 0) std::memcpy(Buffer, FData.data() + FPosition, size_t(N));
  FPosition += N;
  return N;
}

void TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return;
  const auto* Bytes = static_cast<const uint8_t*>(Buffer);
  // The position never lies past the end: what overlaps the data is
  // overwritten, the rest appended without being zero-filled first.
  const size_t Over = std::min(size_t(Count), FData.size() - size_t(FPosition));
  if (Over > 0) std::memcpy(FData.data() + FPosition, Bytes, Over);
  FData.insert(FData.end(), Bytes + Over, Bytes + Count);
  FPosition += Count;
}

void TMemoryStream::Seek(int64_t Position) {
  if (Position < 0 || Position > Size()) ReadError();
  FPosition = Position;
}

TFileReadStream::TFileReadStream(const QString& FileName)
    : FFileName(FileName), FFile(std::make_unique<QFile>(FileName)) {
  if (!FFile->open(QIODevice::ReadOnly)) throw EStreamError(QStringLiteral("Cannot open file ") + FileName);
  FSize = FFile->size();
}

TFileReadStream::~TFileReadStream() = default;

int64_t TFileReadStream::Read(void* Buffer, int64_t Count) {
  int64_t Done = 0;
  while (Done < Count) {
    const qint64 N = FFile->read(static_cast<char*>(Buffer) + Done, Count - Done);
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

void TFileReadStream::Write(const void*, int64_t) {
  throw EStreamError(QStringLiteral("Stream write error: ") + FFileName);
}

int64_t TFileReadStream::Position() const { return FFile->pos(); }
int64_t TFileReadStream::Size() const { return FSize; }

void TFileReadStream::Seek(int64_t Position) {
  if (Position < 0 || Position > FSize || !FFile->seek(Position)) ReadError();
}

int64_t TSafeFileStream::Read(void*, int64_t) { ReadError(); }
void TSafeFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count > 0) FFile.Write(Buffer, size_t(Count));
}
int64_t TSafeFileStream::Position() const { return FFile.Written(); }
void TSafeFileStream::Seek(int64_t) { throw EStreamError(QStringLiteral("Stream cannot seek: ") + FFile.FileName()); }
QString TSafeFileStream::Name() const { return FFile.FileName(); }

// ---- Strings ------------------------------------------------------------------------------

void WriteStreamString(TStream& Stream, const QString& S, bool Wide) {
  if (Wide) {
    const QString T = S.left(MaxStreamString);
    Stream.WriteInt32(int32_t(T.size()));
    Stream.Write(T.utf16(), int64_t(T.size()) * 2);
    return;
  }
  std::string A = ToWin1252(S);
  if (A.size() > size_t(MaxStreamString)) A.resize(MaxStreamString);
  Stream.WriteInt32(int32_t(A.size()));
  Stream.Write(A.data(), int64_t(A.size()));
}

QString ReadStreamString(TStream& Stream, bool Wide) {
  const int32_t N = Stream.ReadInt32();
  const int64_t Bytes = int64_t(N) * (Wide ? 2 : 1);
  if (N < 0 || N > MaxStreamString || Bytes > Stream.Remaining()) InvalidDataFile();
  if (Wide) {
    std::u16string U(size_t(N), u'\0');
    Stream.ReadBuffer(U.data(), Bytes);
    return QString::fromUtf16(U.data(), N);
  }
  std::string A(size_t(N), '\0');
  Stream.ReadBuffer(A.data(), N);
  return FromWin1252(A);
}

void WriteAnsi256(TStream& Stream, const QString& S) {
  char Field[256] = {};
  const std::string A = ToWin1252(S);
  std::memcpy(Field, A.data(), std::min<size_t>(A.size(), MaxStreamString));
  Stream.Write(Field, 256);
}

QString ReadAnsi256(TStream& Stream) {
  char Field[256];
  Stream.ReadBuffer(Field, 256);
  return FromWin1252(std::string_view(Field, strnlen(Field, 256)));
}

// ---- zlib ------------------------------------------------------------------------------------

void ZCompressToStream(const uint8_t* Data, TStream& Stream, int64_t Count) {
  const TBlockBufferScope Use;
  const size_t Size = ZCompress(Data, size_t(std::max<int64_t>(Count, 0)));
  Stream.Write(BlockZip.Data.get(), int64_t(Size));
}

TBlockBufferScope::TBlockBufferScope() { ++BlockBufferScopes; }

TBlockBufferScope::~TBlockBufferScope() {
  if (--BlockBufferScopes == 0) ReleaseBlockBuffers();
}

void ZDecompressFromStream(uint8_t* Data, TStream& Stream, int64_t Count, int64_t Available) {
  const int64_t Start = Stream.Position();
  Stream.Seek(Start + ZInflate(Stream, Available, size_t(std::max<int64_t>(Count, 0)), 0, [Data] { return Data; }));
}

// ---- Bitmap and mask blocks ------------------------------------------------------------------

void WriteBitmapRaw(const TBitmap& Bitmap, TStream& Stream) { WriteBitmapBlock(Bitmap, nullptr, Stream, false); }

void ReadBitmapRaw(TBitmap& Bitmap, TStream& Stream) {
  ReadInto(Bitmap, [&] {
    const int32_t W = Stream.ReadInt32(), H = Stream.ReadInt32();
    CheckSize(W, H);
    if (int64_t(W) * 3 * H > Stream.Remaining()) InvalidDataFile();
    Prepare24(Bitmap, W, H);
    TProgressScope Progress(H);
    for (int Y = 0; Y < H; ++Y) {
      uint8_t* Row = Bitmap.ScanLine(Y);
      Stream.ReadBuffer(Row, int64_t(W) * 3);
      // The padding is not in the file; it is part of the row all the same.
      std::memset(Row + int64_t(W) * 3, 0, size_t(RowBytes24(W) - int64_t(W) * 3));
      Progress.Step(Y);
    }
  });
}

void WriteBitmapZip(const TBitmap& Bitmap, TStream& Stream) { WriteBitmapBlock(Bitmap, nullptr, Stream, true); }

void ReadBitmapZip(TBitmap& Bitmap, TStream& Stream) {
  ReadInto(Bitmap, [&] {
    int32_t W, H;
    const int64_t Compressed = ReadZipHeader(Stream, W, H, true, -1, -1);
    // The file's padded rows are the bitmap's rows, bottom up: they inflate
    // into the unfilled bitmap, allocated once the first row has inflated,
    // which then turns them over.
    const size_t Row = size_t(RowBytes24(W));
    const int64_t End = Stream.Position() + Compressed;
    if (H == 0) Prepare24(Bitmap, W, H);
    if (H > 0) {
      ZInflate(Stream, Compressed, Row * size_t(H), Row, [&] {
        Prepare24(Bitmap, W, H);
        return Bitmap.ScanLine(0);
      });
      // One block of rows: a 24-bit bitmap's stride is the padded row.
      for (int Y = 0; Y < H / 2; ++Y)
        std::swap_ranges(Bitmap.ScanLine(Y), Bitmap.ScanLine(Y) + Row, Bitmap.ScanLine(H - 1 - Y));
    }
    Stream.Seek(End);
  });
}

void PackMaskRow(const uint8_t* Src, uint8_t* Dst, int Width) {
  for (int X = 0; X < Width; ++X) Dst[X] = Src[X * 3];
}

LUMA_VECTOR_CLONES void UnpackMaskRow(const uint8_t* Src, uint8_t* Dst, int Width) {
  for (int X = 0; X < Width; ++X) Dst[3 * X] = Dst[3 * X + 1] = Dst[3 * X + 2] = Src[X];
}

void WriteMaskRaw(const TBitmap& Mask, TStream& Stream) { WriteMaskBlock(Mask, nullptr, Stream, false); }

void ReadMaskRaw(TBitmap& Mask, TStream& Stream, int ExpectedW, int ExpectedH) {
  ReadInto(Mask, [&] {
    const int32_t W = Stream.ReadInt32(), H = Stream.ReadInt32();
    CheckSize(W, H);
    CheckExpected(W, H, ExpectedW, ExpectedH);
    if (int64_t(W) * H > Stream.Remaining()) InvalidDataFile();
    Prepare24(Mask, W, H);
    std::vector<uint8_t> Line(static_cast<size_t>(W));
    TProgressScope Progress(H);
    for (int Y = 0; Y < H; ++Y) {
      Stream.ReadBuffer(Line.data(), W);
      UnpackMaskRow(Line.data(), Mask.ScanLine(Y), W);
      Progress.Step(Y);
    }
  });
}

void WriteMaskZip(const TBitmap& Mask, TStream& Stream) { WriteMaskBlock(Mask, nullptr, Stream, true); }

void ReadMaskZip(TBitmap& Mask, TStream& Stream, int ExpectedW, int ExpectedH) {
  ReadInto(Mask, [&] {
    int32_t W, H;
    const int64_t Compressed = ReadZipHeader(Stream, W, H, false, ExpectedW, ExpectedH);
    // The mask is allocated once its bytes have inflated, they once its first
    // row has.
    const int64_t End = Stream.Position() + Compressed;
    const TBlockBufferScope Use;
    uint8_t* Bytes = nullptr;
    if (H > 0)
      ZInflate(Stream, Compressed, size_t(W) * size_t(H), size_t(W),
               [&] { return Bytes = BlockRows.Reserve(int64_t(W) * H); });
    Prepare24(Mask, W, H);
    for (int Y = 0; Y < H; ++Y) UnpackMaskRow(Bytes + size_t(W) * size_t(Y), Mask.ScanLine(Y), W);
    Stream.Seek(End);
  });
}

void WriteLayerBitmap(const TBitmap& Bitmap, TStream& Stream) {
  WriteLayerBitmap(Bitmap, nullptr, Bitmap.Transparent, Stream);
}

void WriteLayerBitmap(const TBitmap& Bitmap, const TRect* Area, bool Transparent, TStream& Stream) {
  Stream.WriteByte(LayerCompression ? 1 : 0);
  WriteBitmapBlock(Bitmap, Area, Stream, LayerCompression);
  Stream.WriteByte(Transparent ? 1 : 0);
  Stream.WriteInt32(Bitmap.TransparentColor());
}

void ReadLayerBitmap(TBitmap& Bitmap, TStream& Stream) {
  const uint8_t Mode = Stream.ReadByte();
  if (Mode > 1) InvalidMode();
  if (Mode == 1)
    ReadBitmapZip(Bitmap, Stream);
  else
    ReadBitmapRaw(Bitmap, Stream);
  Bitmap.Transparent = Stream.ReadByte() != 0;
  Bitmap.SetTransparentColor(Stream.ReadInt32());
}

// A block passed over: its header checked as a read would, its pixels not
// inflated nor allocated.
void SkipBlock(TStream& Stream, bool IsBitmap) {
  const uint8_t Mode = Stream.ReadByte();
  if (Mode > 1) InvalidMode();
  int32_t W, H;
  if (Mode == 1) {
    Stream.Skip(ReadZipHeader(Stream, W, H, IsBitmap, -1, -1));
    return;
  }
  W = Stream.ReadInt32();
  H = Stream.ReadInt32();
  CheckSize(W, H);
  Stream.Skip(int64_t(W) * (IsBitmap ? 3 : 1) * H);
}

void SkipLayerBitmap(TStream& Stream) {
  SkipBlock(Stream, true);
  Stream.Skip(1 + 4); // the transparency flag and colour
}

void SkipLayerMask(TStream& Stream) { SkipBlock(Stream, false); }

void WriteLayerMask(const TBitmap& Mask, TStream& Stream, const TRect* Area) {
  Stream.WriteByte(LayerCompression ? 1 : 0);
  WriteMaskBlock(Mask, Area, Stream, LayerCompression);
}

void ReadLayerMask(TBitmap& Mask, TStream& Stream, int ExpectedW, int ExpectedH) {
  const uint8_t Mode = Stream.ReadByte();
  if (Mode > 1) InvalidMode();
  if (Mode == 1)
    ReadMaskZip(Mask, Stream, ExpectedW, ExpectedH);
  else
    ReadMaskRaw(Mask, Stream, ExpectedW, ExpectedH);
}

// ---- Thumbnail -----------------------------------------------------------------------------------

std::unique_ptr<TBitmap> MakeThumbnail(const TBitmap& Bitmap, int Size) {
  auto Thumb = std::make_unique<TBitmap>();
  int W = Bitmap.Width(), H = Bitmap.Height();
  FitSize(W, H, Size, Size);
  StretchBitmap(W, H, TStretchMode::smBicubic, Bitmap, *Thumb);
  return Thumb;
}

void WriteThumbnailBlock(const TBitmap& Bitmap, TStream& Stream) {
  // The length comes first: the block is built in memory.
  TMemoryStream Block;
  Block.Write(ThumbTag, sizeof ThumbTag);
  Block.WriteInt32(LayerCompression ? 1 : 0);
  if (LayerCompression)
    WriteBitmapZip(Bitmap, Block);
  else
    WriteBitmapRaw(Bitmap, Block);
  Stream.WriteInt32(static_cast<int32_t>(Block.Size() + 4));
  Stream.Write(Block.Data().data(), Block.Size());
}

void ReadThumbnailBlock(TBitmap& Bitmap, TStream& Stream) {
  const int64_t Length = ReadThumbnailLength(Stream);
  const int64_t End = Stream.Position() + Length;
  char Tag[sizeof ThumbTag];
  Stream.ReadBuffer(Tag, sizeof Tag);
  if (std::memcmp(Tag, ThumbTag, sizeof Tag) != 0) throw EStreamError(QString());
  const uint8_t Mode = static_cast<uint8_t>(Stream.ReadInt32() & 0xFF);
  if (Mode > 1) InvalidMode();
  if (Mode == 1)
    ReadBitmapZip(Bitmap, Stream);
  else
    ReadBitmapRaw(Bitmap, Stream);
  // The bitmap lies inside the block it belongs to.
  if (Stream.Position() > End) {
    Bitmap.ReleaseImage();
    InvalidDataFile();
  }
}

void SkipThumbnailBlock(TStream& Stream) { Stream.Skip(ReadThumbnailLength(Stream)); }
