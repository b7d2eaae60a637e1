#include "files/FreeImageProbe.h"

#include "files/FreeImageProvider.h"
#include "files/IconStream.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

namespace {

// FreeImage's numbers of the formats read here besides those named in FreeImageProvider.
enum : int {
  fifIco = 1,
  fifIff = 5,
  fifMng = 6,
  fifRas = 16,
  fifWbmp = 19,
  fifPsd = 20,
  fifXbm = 22,
  fifDds = 24,
  fifSgi = 28,
  fifExr = 29,
  fifJ2k = 30,
  fifPict = 33,
};

// Every size looked for stands well inside this much of any file a program
// writes.
constexpr int64_t HeadBytes = 64 * 1024;
// Bigger tables than this (PSD run lengths) are not summed.
constexpr int64_t MaxTableBytes = 64 << 20;

// Bounds-checked reads of a block of the file.
class TBytes {
public:
  explicit TBytes(QByteArray Data) : FData(std::move(Data)) {}
  int64_t Size() const { return FData.size(); }
  bool Has(int64_t At, int64_t N) const { return At >= 0 && N >= 0 && At <= Size() && N <= Size() - At; }
  uint32_t U8(int64_t At) const { return uint8_t(FData.at(qsizetype(At))); }
  uint32_t BE16(int64_t At) const { return U8(At) << 8 | U8(At + 1); }
  uint32_t LE16(int64_t At) const { return U8(At) | U8(At + 1) << 8; }
  uint32_t BE32(int64_t At) const { return BE16(At) << 16 | BE16(At + 2); }
  uint32_t LE32(int64_t At) const { return LE16(At) | LE16(At + 2) << 16; }
  uint64_t BE64(int64_t At) const { return uint64_t(BE32(At)) << 32 | BE32(At + 4); }
  bool Equals(int64_t At, std::string_view Text) const {
    return Has(At, int64_t(Text.size())) && std::memcmp(FData.constData() + At, Text.data(), Text.size()) == 0;
  }
  // Position of the first Text at or after From; -1 when absent.
  int64_t Find(std::string_view Text, int64_t From = 0) const {
    return FData.indexOf(QByteArrayView(Text.data(), qsizetype(Text.size())), qsizetype(From));
  }

private:
  QByteArray FData;
};

class TProbe {
public:
  explicit TProbe(QIODevice& File) : FFile(File), FSize(File.size()), FHead(Read(0, HeadBytes)) {}

  TBytes Read(int64_t At, int64_t N) {
    if (At < 0 || At >= FSize || N <= 0 || !FFile.seek(At)) return TBytes(QByteArray());
    return TBytes(FFile.read(std::min(N, FSize - At)));
  }

  TFreeHeaderProbe Run(int Fif) {
    switch (Fif) {
    case fifGif:
      Gif();
      break;
    case fifSgi:
      Sgi();
      break;
    case fifDds:
      if (FHead.Equals(0, "DDS ") && FHead.Has(0, 20)) Size(FHead.LE32(16), FHead.LE32(12));
      break;
    case fifJp2: {
      const int64_t At = FHead.Find("ihdr");
      if (At >= 0 && FHead.Has(At, 12)) Size(FHead.BE32(At + 8), FHead.BE32(At + 4));
      J2kCodestream();
      break;
    }
    case fifJ2k:
      J2kCodestream();
      break;
    case fifWbmp:
      Wbmp();
      break;
    case fifIff:
      Iff();
      break;
    case fifMng:
      if (FHead.Equals(12, "MHDR") && FHead.Has(12, 12)) Size(FHead.BE32(16), FHead.BE32(20));
      for (const char* Chunk : {"IHDR", "JHDR"}) {
        const int64_t At = FHead.Find(Chunk);
        if (At >= 0 && FHead.Has(At, 12)) Size(FHead.BE32(At + 4), FHead.BE32(At + 8));
      }
      break;
    case fifXbm:
      Xbm();
      break;
    case fifPict:
      Pict();
      break;
    case fifPsd:
      Psd();
      break;
    case fifRas:
      Ras();
      break;
    case fifExr:
      Exr();
      break;
    case fifIco:
      Ico();
      break;
    case fifBmp:
      Bmp();
      break;
    case fifPng:
      Png();
      break;
    case fifJpeg:
      Jpeg();
      break;
    case fifTarga:
      Targa();
      break;
    default:
      break;
    }
    return FResult;
  }

private:
  // Keeps the most telling of the sizes a header declares: an empty one,
  // else the largest.
  void Size(int64_t W, int64_t H) {
    const bool Empty = W <= 0 || H <= 0, WasEmpty = FResult.HasSize && (FResult.Width <= 0 || FResult.Height <= 0);
    // Areas in floating point: two 32-bit sides overflow a 64-bit product.
    const bool Larger = double(W) * double(H) > double(FResult.Width) * double(FResult.Height);
    const bool Replace = !FResult.HasSize || (Empty && !WasEmpty) || (Empty == WasEmpty && Larger);
    if (!Replace) return;
    FResult.HasSize = true;
    FResult.Width = W;
    FResult.Height = H;
  }
  void Problem(const char* Text) {
    if (FResult.Problem.empty()) FResult.Problem = Text;
  }
  // The size is one the pixel limit lets through, so that byte counts
  // computed from it cannot overflow.
  bool SizeWithinLimits() const {
    return FResult.HasSize && FResult.Width > 0 && FResult.Height > 0 && PixelCountFits(FResult.Width, FResult.Height);
  }

  void Gif() {
    if (!FHead.Equals(0, "GIF8") || !FHead.Has(0, 13)) return;
    int64_t At = 13;
    if (FHead.U8(10) & 0x80) At += 3 * (int64_t(2) << (FHead.U8(10) & 7));
    // The library reads the first frame at its own size.
    while (FHead.Has(At, 1)) {
      const uint32_t Kind = FHead.U8(At);
      if (Kind == 0x2C) {
        if (FHead.Has(At, 9)) Size(FHead.LE16(At + 5), FHead.LE16(At + 7));
        return;
      }
      if (Kind != 0x21) return;
      At += 2;
      while (FHead.Has(At, 1)) {
        const uint32_t Length = FHead.U8(At);
        At += 1 + int64_t(Length);
        if (Length == 0) break;
      }
    }
  }

  void Sgi() {
    if (!FHead.Has(0, 12) || FHead.BE16(0) != 474) return;
    const uint32_t Storage = FHead.U8(2), Bpc = FHead.U8(3), Dimension = FHead.BE16(4);
    const uint32_t X = FHead.BE16(6), Y = Dimension >= 2 ? FHead.BE16(8) : 1, Z = Dimension >= 3 ? FHead.BE16(10) : 1;
    Size(X, Y);
    if (Storage > 1 || Bpc < 1 || Bpc > 2 || Dimension < 1 || Dimension > 3 || Z < 1 || Z > 4)
      return Problem("SGI: impossible header");
    // Run-length files start with two tables of Y x Z offsets; plain ones
    // hold every sample.
    const int64_t Needed = Storage == 1 ? int64_t(Y) * Z * 8 : int64_t(X) * Y * Z * Bpc;
    if (512 + Needed > FSize) Problem("SGI: the file is shorter than its header says");
  }

  void J2kCodestream() {
    // SOC then SIZ: Lsiz, Rsiz, Xsiz, Ysiz, XOsiz, YOsiz.
    const int64_t At = FHead.Find(std::string_view("\xFF\x4F\xFF\x51", 4));
    if (At < 0 || !FHead.Has(At, 24)) return;
    Size(int64_t(FHead.BE32(At + 8)) - FHead.BE32(At + 16), int64_t(FHead.BE32(At + 12)) - FHead.BE32(At + 20));
  }

  // Multi-byte integers: seven bits per byte, the high bit set while more follow.
  bool WbmpInteger(int64_t& At, int64_t& Value) const {
    Value = 0;
    for (int I = 0; I < 5 && FHead.Has(At, 1); ++I) {
      const uint32_t Byte = FHead.U8(At++);
      Value = Value << 7 | (Byte & 0x7F);
      if (!(Byte & 0x80)) return true;
    }
    return false;
  }

  void Wbmp() {
    // Type 0 and a fixed header without extension headers.
    int64_t At = 2, W = 0, H = 0;
    if (FHead.Has(0, 2) && FHead.U8(0) == 0 && !(FHead.U8(1) & 0x80) && WbmpInteger(At, W) && WbmpInteger(At, H))
      Size(W, H);
  }

  void Iff() {
    if (!FHead.Equals(0, "FORM") || !FHead.Has(0, 12)) return;
    const int64_t End = 8 + int64_t(FHead.BE32(4));
    if (End > FSize) return Problem("IFF: the file is shorter than its FORM chunk");
    bool Body = false;
    for (int64_t At = 12; At < End;) {
      const TBytes Chunk = Read(At, 12);
      if (!Chunk.Has(0, 8)) return Problem("IFF: truncated chunk");
      const int64_t Length = Chunk.BE32(4);
      if (Chunk.Equals(0, "BMHD") && Chunk.Has(0, 12)) Size(Chunk.BE16(8), Chunk.BE16(10));
      if (Chunk.Equals(0, "BODY")) Body = true;
      At += 8 + Length + (Length & 1);
      if (At > End + 1) return Problem("IFF: a chunk runs past its FORM");
    }
    if (!Body) Problem("IFF: no image data");
  }

  // The decimal number after the first Suffix ("_width").
  bool XbmDefine(std::string_view Suffix, int64_t& Value) const {
    int64_t At = FHead.Find(Suffix);
    if (At < 0) return false;
    At += int64_t(Suffix.size());
    while (FHead.Has(At, 1) && (FHead.U8(At) == ' ' || FHead.U8(At) == '\t')) ++At;
    Value = 0;
    int Digits = 0;
    for (; FHead.Has(At, 1) && FHead.U8(At) >= '0' && FHead.U8(At) <= '9' && Digits < 12; ++At, ++Digits)
      Value = Value * 10 + (FHead.U8(At) - '0');
    return Digits > 0;
  }

  void Xbm() {
    int64_t W = 0, H = 0;
    if (XbmDefine("_width", W) && XbmDefine("_height", H)) Size(W, H);
    // The library's text reader never stops on a file that ends inside the
    // bits: the list must be closed.
    const int64_t Open = FHead.Find("{");
    if (Open < 0) return;
    const TBytes Tail = Read(std::max(Open, FSize - 4096), 4096);
    if (Tail.Find("}") < 0) Problem("XBM: the bits are cut short");
  }

  void Pict() {
    // A 512-byte header, the picture size, the frame, a version opcode, and
    // at the very end the end-of-picture opcode (0xFF, or 0x00FF), which a
    // cut file lacks; the library's opcode reader never stops without it.
    if (FSize < 512 + 10 + 2) return Problem("PICT: the file is too short");
    if (FHead.Has(512, 10)) {
      const auto Signed = [this](int64_t At) { return int64_t(int16_t(uint16_t(FHead.BE16(At)))); };
      Size(Signed(520) - Signed(516), Signed(518) - Signed(514));
    }
    const TBytes Tail = Read(FSize - 2, 2);
    if (!Tail.Has(0, 2) || (Tail.U8(1) != 0xFF && !(Tail.U8(0) == 0xFF && Tail.U8(1) == 0)))
      Problem("PICT: no end of picture");
  }

  void Psd() {
    if (!FHead.Equals(0, "8BPS") || !FHead.Has(0, 26)) return;
    const uint32_t Version = FHead.BE16(4), Channels = FHead.BE16(12), Depth = FHead.BE16(22);
    // The raw numbers: the library's header-only load reports a negative
    // size as positive, and its decoder then runs with the raw one.
    Size(FHead.BE32(18), FHead.BE32(14));
    if (Version < 1 || Version > 2 || Channels < 1 || Channels > 56 ||
        (Depth != 1 && Depth != 8 && Depth != 16 && Depth != 32))
      return Problem("PSD: impossible header");
    // Colour mode data, image resources, layer and mask information: each a
    // length and its bytes; the layer section's length has 8 bytes in PSB.
    int64_t At = 26;
    for (int Section = 0; Section < 3; ++Section) {
      const int LengthSize = Section == 2 && Version == 2 ? 8 : 4;
      const TBytes Length = Read(At, LengthSize);
      if (!Length.Has(0, LengthSize)) return Problem("PSD: truncated section");
      const uint64_t N = LengthSize == 8 ? Length.BE64(0) : Length.BE32(0);
      if (N > uint64_t(FSize)) return Problem("PSD: a section runs past the end of the file");
      At += LengthSize + int64_t(N);
      if (At > FSize) return Problem("PSD: a section runs past the end of the file");
    }
    if (!SizeWithinLimits()) return;
    const TBytes Compression = Read(At, 2);
    if (!Compression.Has(0, 2)) return Problem("PSD: no image data");
    At += 2;
    const int64_t Rows = int64_t(Channels) * FResult.Height;
    if (Compression.BE16(0) == 0) {
      const int64_t RowBytes = (FResult.Width * Depth + 7) / 8;
      if (Rows * RowBytes > FSize - At) Problem("PSD: the image data is cut short");
    } else if (Compression.BE16(0) == 1) {
      // One byte count per row of each channel, then the rows.
      const int CountSize = Version == 2 ? 4 : 2;
      const int64_t TableBytes = Rows * CountSize;
      if (TableBytes > FSize - At) return Problem("PSD: the image data is cut short");
      if (TableBytes > MaxTableBytes) return;
      const TBytes Table = Read(At, TableBytes);
      int64_t Sum = 0;
      for (int64_t I = 0; I < Rows; ++I)
        Sum += CountSize == 4 ? int64_t(Table.BE32(I * 4)) : int64_t(Table.BE16(I * 2));
      if (Sum > FSize - At - TableBytes) Problem("PSD: the image data is cut short");
    }
  }

  void Ras() {
    if (!FHead.Has(0, 32) || FHead.BE32(0) != 0x59A66A95) return;
    const uint32_t Depth = FHead.BE32(12), Type = FHead.BE32(20), MapLength = FHead.BE32(28);
    Size(FHead.BE32(4), FHead.BE32(8));
    if (Depth != 1 && Depth != 8 && Depth != 24 && Depth != 32) return Problem("Sun raster: impossible depth");
    if (MapLength > FSize - 32) return Problem("Sun raster: the colour map runs past the end of the file");
    // Run-length data (type 2) cannot be measured without decoding it.
    if (Type == 2 || !SizeWithinLimits()) return;
    const int64_t RowBytes = (FResult.Width * Depth + 15) / 16 * 2;
    if (RowBytes * FResult.Height > FSize - 32 - int64_t(MapLength))
      Problem("Sun raster: the file is shorter than its image");
  }

  void Exr() {
    if (!FHead.Has(0, 8) || FHead.LE32(0) != 20000630) return;
    const uint32_t Flags = FHead.LE32(4);
    const bool Tiled = Flags & 0x200, Deep = Flags & 0x800, MultiPart = Flags & 0x1000;
    // The header: attributes (name, type, size, value) up to an empty name.
    int64_t At = 8;
    int64_t YMin = 0, YMax = -1;
    uint32_t Compression = 0;
    bool Window = false;
    const TBytes& H = FHead;
    for (;;) {
      const int64_t NameEnd = H.Has(At, 1) ? H.Find(std::string_view("\0", 1), At) : -1;
      if (NameEnd < 0) return FSize > HeadBytes ? void() : Problem("OpenEXR: truncated header");
      if (NameEnd == At) {
        ++At;
        break;
      }
      const int64_t TypeEnd = H.Find(std::string_view("\0", 1), NameEnd + 1);
      if (TypeEnd < 0 || !H.Has(TypeEnd + 1, 4))
        return FSize > HeadBytes ? void() : Problem("OpenEXR: truncated header");
      const int64_t Length = H.LE32(TypeEnd + 1);
      const int64_t Value = TypeEnd + 5;
      if (Length > FSize - Value) return Problem("OpenEXR: an attribute runs past the end of the file");
      const auto NameIs = [&](std::string_view N) { return NameEnd - At == int64_t(N.size()) && H.Equals(At, N); };
      if (NameIs("dataWindow") && Length == 16 && H.Has(Value, 16)) {
        const auto I32 = [&H](int64_t P) { return int64_t(int32_t(H.LE32(P))); };
        Size(I32(Value + 8) - I32(Value) + 1, I32(Value + 12) - I32(Value + 4) + 1);
        YMin = I32(Value + 4);
        YMax = I32(Value + 12);
        Window = true;
      }
      if (NameIs("compression") && Length == 1 && H.Has(Value, 1)) Compression = H.U8(Value);
      At = Value + Length;
    }
    if (!Window) return Problem("OpenEXR: no data window");
    if (Tiled || MultiPart || Deep || YMax < YMin) return;
    // Scan-line files: one offset per chunk of lines follows the header.
    static const int LinesPerChunk[] = {1, 1, 1, 16, 32, 16, 32, 32, 32, 256};
    if (Compression >= std::size(LinesPerChunk)) return Problem("OpenEXR: unknown compression");
    const int64_t Chunks = (YMax - YMin + LinesPerChunk[Compression]) / LinesPerChunk[Compression];
    if (At + Chunks * 8 > FSize) Problem("OpenEXR: the file is shorter than its offset table");
  }

  // The library reads the first image of the directory, a PNG stream or a
  // bitmap whose own header (not the directory's) gives its size; its
  // decoder reads as many rows as that header says into a bitmap of that
  // size, so the image must hold them.
  void Ico() {
    if (!FHead.Has(0, 6) || FHead.LE16(0) != 0 || (FHead.LE16(2) != 1 && FHead.LE16(2) != 2)) return;
    const int64_t Count = FHead.LE16(4);
    if (Count == 0 || 6 + 16 * Count > FSize) return Problem("ICO: truncated directory");
    const int64_t Bytes = FHead.LE32(6 + 8), Offset = FHead.LE32(6 + 12);
    if (Offset < 6 + 16 * Count || Bytes > FSize - Offset)
      return Problem("ICO: the image runs past the end of the file");
    const TBytes Image = Read(Offset, 40);
    if (Image.Equals(0, "\x89PNG")) {
      if (!Image.Has(0, 24)) return Problem("ICO: truncated PNG header");
      Size(Image.BE32(16), Image.BE32(20));
      // As the icon reader: no more than a directory entry can state, so a
      // small icon cannot hold a huge compressed image.
      if (FResult.Width > MaxIconSide || FResult.Height > MaxIconSide) Problem("ICO: PNG image larger than an icon");
      return;
    }
    if (!Image.Has(0, 40)) return Problem("ICO: truncated image header");
    const int64_t HeaderSize = Image.LE32(0), Bpp = Image.LE16(14), Used = Image.LE32(32);
    Size(int32_t(Image.LE32(4)), int32_t(Image.LE32(8)) / 2); // the colours, then the mask
    if (HeaderSize < 40 || HeaderSize > Bytes ||
        (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32))
      return Problem("ICO: impossible image header");
    if (!SizeWithinLimits()) return;
    const int64_t W = FResult.Width, H = FResult.Height;
    const int64_t Palette = Bpp <= 8 ? (Used ? std::min<int64_t>(Used, 256) : int64_t(1) << Bpp) * 4 : 0;
    const int64_t Colours = (W * Bpp + 31) / 32 * 4 * H;
    if (HeaderSize + Palette + Colours > Bytes) Problem("ICO: the image is cut short");
  }

  // The data a small file can hold: uncompressed rows must all be there,
  // run-length data is held to what its runs can write (as the BMP reader).
  void Bmp() {
    if (!FHead.Equals(0, "BM") || !FHead.Has(0, 34) || FHead.LE32(14) < 40) return;
    const int64_t Offset = FHead.LE32(10), Bpp = FHead.LE16(28), Compression = FHead.LE32(30);
    Size(int32_t(FHead.LE32(18)), std::abs(int64_t(int32_t(FHead.LE32(22)))));
    if (!SizeWithinLimits() || Offset > FSize) return;
    const int64_t Data = FSize - Offset;
    if ((Compression == 0 || Compression == 3) && (FResult.Width * Bpp + 31) / 32 * 4 * FResult.Height > Data)
      Problem("BMP: the file is shorter than its image");
    if ((Compression == 1 || Compression == 2) &&
        !ExpansionFits(FResult.Width * FResult.Height, Data, MaxRlePixelsPerByte))
      Problem("BMP: the file is too small for the image it declares");
  }

  // Compressed rows (a filter byte and the samples) cannot exceed what
  // zlib makes of the image data chunks.
  void Png() {
    if (!FHead.Equals(0, "\x89PNG") || !FHead.Equals(12, "IHDR") || !FHead.Has(0, 26)) return;
    Size(FHead.BE32(16), FHead.BE32(20));
    static const int Channels[] = {1, 0, 3, 1, 2, 0, 4};
    const uint32_t Depth = FHead.U8(24), Type = FHead.U8(25);
    if (!SizeWithinLimits() || Type >= std::size(Channels) || Channels[Type] == 0 || Depth == 0 || Depth > 16) return;
    const int64_t Raw = FResult.Height * (1 + (FResult.Width * Channels[Type] * Depth + 7) / 8);
    const int64_t Compressed = PngImageDataBytes(FSize, [this](int64_t At, uint8_t* Header) {
      const TBytes Bytes = Read(At, 8);
      for (int I = 0; I < 8 && Bytes.Has(I, 1); ++I) Header[I] = uint8_t(Bytes.U8(I));
      return Bytes.Has(0, 8);
    });
    if (!ExpansionFits(Raw, Compressed, MaxZlibRatio)) Problem("PNG: the file is too small for the image it declares");
  }

  // The JPEG reader's own bound of what the entropy-coded data can describe;
  // the header may lie anywhere before the first scan, so the whole file is
  // read.
  void Jpeg() {
    if (!FHead.Equals(0, "\xFF\xD8") || !FFile.seek(0)) return;
    const QByteArray All = FFile.readAll();
    int64_t W = 0, H = 0;
    const bool Holds = JpegDataHoldsImage(reinterpret_cast<const uint8_t*>(All.constData()), size_t(All.size()), W, H);
    if (W > 0 || H > 0) Size(W, H);
    if (!Holds) Problem("JPEG: the file is too small for the image it declares");
  }

  void Targa() {
    if (!FHead.Has(0, 18)) return;
    const uint32_t IdLength = FHead.U8(0), MapType = FHead.U8(1), Type = FHead.U8(2), Bpp = FHead.U8(16);
    if (MapType > 1 || !(Type == 1 || Type == 2 || Type == 3 || Type == 9 || Type == 10 || Type == 11)) return;
    Size(FHead.LE16(12), FHead.LE16(14));
    const int64_t Map = MapType ? int64_t(FHead.LE16(5)) * ((FHead.U8(7) + 7) / 8) : 0;
    const int64_t Data = FSize - 18 - IdLength - Map;
    if (Data < 0) return Problem("Targa: the file is shorter than its header");
    if (!SizeWithinLimits()) return;
    const int64_t Pixels = FResult.Width * FResult.Height;
    if (Type < 9 ? Pixels * ((Bpp + 7) / 8) > Data : !ExpansionFits(Pixels, Data, MaxRlePixelsPerByte))
      Problem("Targa: the file is too small for the image it declares");
  }

  QIODevice& FFile;
  int64_t FSize;
  TBytes FHead;
  TFreeHeaderProbe FResult;
};

} // namespace

TFreeHeaderProbe ProbeFreeImageHeader(int Fif, QIODevice& File) { return TProbe(File).Run(Fif); }
