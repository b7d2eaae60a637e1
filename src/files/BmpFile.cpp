#include "files/BmpFile.h"

#include "files/BitmapRows.h"
#include "files/ReadLimits.h"
#include "platform/Rounding.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12; // OS/2 1.x
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t Os2HeaderSize = 64; // OS/2 2.x
constexpr uint32_t V4HeaderSize = 108;
constexpr uint32_t V5HeaderSize = 124;
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr int ResolutionOffset = 38;

uint16_t Get16(const uint8_t* P) { return static_cast<uint16_t>(P[0] | (P[1] << 8)); }
uint32_t Get32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}
void Put16(uint8_t* P, uint32_t V) {
  P[0] = static_cast<uint8_t>(V);
  P[1] = static_cast<uint8_t>(V >> 8);
}
void Put32(uint8_t* P, uint32_t V) {
  Put16(P, V & 0xFFFF);
  Put16(P + 2, V >> 16);
}

uint32_t PixelsPerMetre(double Dpi) {
  return Dpi > 0 ? static_cast<uint32_t>(std::max(Trunc(Dpi * 100 / 2.54), 0)) : 0;
}

// What the header says, checked.
struct TBmpLayout {
  int64_t Width = 0;
  int64_t Height = 0; // positive
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = BI_RGB;
  uint32_t PixelOffset = 0;
  int64_t FileSize = 0;
  uint32_t Masks[4] = {}; // red, green, blue, alpha of 16- and 32-bit files
  std::vector<TPaletteEntry> Palette;
};

TBmpLayout CheckHeader(QIODevice& Device, const QString& Name) {
  uint8_t H[FileHeaderSize + V5HeaderSize] = {};
  const qint64 Got = Device.read(reinterpret_cast<char*>(H), sizeof H);
  if (Got < FileHeaderSize + 4 || H[0] != 'B' || H[1] != 'M') NotItsFormat(Name, "BMP: not a bitmap file");
  TBmpLayout L;
  L.FileSize = Device.size();
  L.PixelOffset = Get32(H + 10);
  const uint32_t HeaderSize = Get32(H + 14);
  if (HeaderSize != CoreHeaderSize && HeaderSize != InfoHeaderSize && HeaderSize != Os2HeaderSize &&
      HeaderSize != V4HeaderSize && HeaderSize != V5HeaderSize)
    InvalidGraphic(Name, "BMP: unknown header kind");
  if (Got < FileHeaderSize + static_cast<qint64>(HeaderSize)) TruncatedGraphic(Name, "BMP: truncated header");
  const uint8_t* I = H + FileHeaderSize;
  int Planes;
  int64_t Palette; // colour table entries
  uint32_t EntrySize;
  if (HeaderSize == CoreHeaderSize) {
    L.Width = Get16(I + 4);
    L.Height = Get16(I + 6);
    Planes = Get16(I + 8);
    L.Bits = Get16(I + 10);
    EntrySize = 3;
    Palette = L.Bits <= 8 ? (1 << L.Bits) : 0;
  } else {
    L.Width = static_cast<int32_t>(Get32(I + 4));
    const int64_t RawHeight = static_cast<int32_t>(Get32(I + 8));
    L.TopDown = RawHeight < 0;
    L.Height = RawHeight < 0 ? -RawHeight : RawHeight;
    Planes = Get16(I + 12);
    L.Bits = Get16(I + 14);
    L.Compression = Get32(I + 16);
    const uint32_t Used = Get32(I + 32);
    EntrySize = 4;
    if (L.Bits <= 8 && Used > (1u << L.Bits)) InvalidGraphic(Name, "BMP: colour table too large");
    Palette = Used != 0 ? Used : (L.Bits <= 8 ? (1 << L.Bits) : 0);
  }
  if (Planes != 1) InvalidGraphic(Name, "BMP: plane count is not 1");
  if (L.Bits != 1 && L.Bits != 4 && L.Bits != 8 && L.Bits != 16 && L.Bits != 24 && L.Bits != 32)
    InvalidGraphic(Name, "BMP: unsupported depth");
  const bool Valid = L.Compression == BI_RGB || (L.Compression == BI_RLE8 && L.Bits == 8) ||
                     (L.Compression == BI_RLE4 && L.Bits == 4) ||
                     (L.Compression == BI_BITFIELDS && (L.Bits == 16 || L.Bits == 32) && HeaderSize != Os2HeaderSize);
  if (!Valid) InvalidGraphic(Name, "BMP: unsupported compression");
  if (L.TopDown && L.Compression != BI_RGB && L.Compression != BI_BITFIELDS)
    InvalidGraphic(Name, "BMP: compressed rows cannot be top-down");
  CheckReadSize(L.Width, L.Height, Name);

  const int64_t Masks = L.Compression == BI_BITFIELDS && HeaderSize == InfoHeaderSize ? 12 : 0;
  const int64_t TableEnd = FileHeaderSize + HeaderSize + Masks + Palette * EntrySize;
  if (L.PixelOffset == 0) L.PixelOffset = static_cast<uint32_t>(std::min<int64_t>(TableEnd, UINT32_MAX));
  if (TableEnd > L.FileSize || L.PixelOffset < FileHeaderSize + HeaderSize || L.PixelOffset > L.FileSize)
    TruncatedGraphic(Name, "BMP: header, colour table or pixel offset beyond the end of the file");
  const int64_t Available = L.FileSize - L.PixelOffset;
  if (L.Compression == BI_RLE4 || L.Compression == BI_RLE8) {
    // A two-byte packet writes at most 255 pixels. The escapes (end of line,
    // end of bitmap, a delta of up to 255 columns and rows) can leave any area
    // unwritten, so the format sets no bound: the pixels a file declares are
    // held to what its runs could have written. Real encoders write every
    // row; a file that skips more is refused.
    CheckExpansion(L.Width * L.Height, Available, MaxRlePixelsPerByte, Name);
  } else {
    const int64_t Stride = (L.Width * L.Bits + 31) / 32 * 4;
    if (Stride * L.Height > Available) TruncatedGraphic(Name, "BMP: file too short for its pixels");
  }
  if (L.Bits == 16 || L.Bits == 32) {
    if (L.Compression == BI_BITFIELDS) {
      const uint8_t* M = I + InfoHeaderSize; // after the header, or its own fields from version 4 on
      for (int C = 0; C < 3; ++C) L.Masks[C] = Get32(M + 4 * C);
      if (HeaderSize >= V4HeaderSize) L.Masks[3] = Get32(M + 12);
    } else if (L.Bits == 16) {
      L.Masks[0] = 0x7C00, L.Masks[1] = 0x03E0, L.Masks[2] = 0x001F;
    } else {
      // The platform keeps the fourth byte of a plain 32-bit file as it stands.
      L.Masks[0] = 0x00FF0000, L.Masks[1] = 0x0000FF00, L.Masks[2] = 0x000000FF, L.Masks[3] = 0xFF000000u;
    }
  }
  if (L.Bits <= 8) {
    const uint8_t* T = H + FileHeaderSize + HeaderSize;
    std::vector<uint8_t> Table;
    if (FileHeaderSize + HeaderSize + Palette * EntrySize > static_cast<int64_t>(sizeof H)) {
      Table.resize(static_cast<size_t>(Palette * EntrySize));
      if (!Device.seek(FileHeaderSize + HeaderSize) ||
          Device.read(reinterpret_cast<char*>(Table.data()), static_cast<qint64>(Table.size())) !=
              static_cast<qint64>(Table.size()))
        TruncatedGraphic(Name, "BMP: truncated colour table");
      T = Table.data();
    }
    for (int64_t E = 0; E < Palette; ++E, T += EntrySize)
      L.Palette.push_back(0xFF000000u | (static_cast<uint32_t>(T[2]) << 16) | (static_cast<uint32_t>(T[1]) << 8) |
                          T[0]);
  }
  return L;
}

// Reads the pixel data after the header, exactly the bytes the checked
// header allows.
std::vector<uint8_t> ReadPixelData(QIODevice& Device, const TBmpLayout& L, const QString& Name) {
  std::vector<uint8_t> Data(static_cast<size_t>(L.FileSize - L.PixelOffset));
  if (!Device.seek(L.PixelOffset) || Device.read(reinterpret_cast<char*>(Data.data()),
                                                 static_cast<qint64>(Data.size())) != static_cast<qint64>(Data.size()))
    InvalidGraphic(Name, "BMP: cannot read the pixels");
  return Data;
}

// Run-length encoded rows, bottom-up, written straight into the bitmap. Pixels
// the data skips (a delta, an early end of line or of bitmap) keep index 0;
// a row is cleared when the data first reaches it, so that a file that fails
// early has touched only the rows before the failure.
void ReadRle(QIODevice& Device, const TBmpLayout& L, const QString& Name, TBitmap& Out) {
  const bool Four = L.Compression == BI_RLE4;
  const int W = static_cast<int>(L.Width), H = static_cast<int>(L.Height);
  const std::vector<uint8_t> Data = ReadPixelData(Device, L, Name);
  Out.SetPixelFormat(Four ? pf4bit : pf8bit);
  Out.SetPalette(L.Palette);
  Out.SetSizeUnfilled(W, H);
  const size_t RowBytes = static_cast<size_t>(TBitmap::BytesPerRow(W, Four ? 4 : 8));
  int64_t Cleared = 0; // rows below this one are cleared
  const auto Reach = [&](int64_t Y) {
    for (; Cleared <= Y && Cleared < H; ++Cleared)
      std::memset(Out.ScanLine(H - 1 - static_cast<int>(Cleared)), 0, RowBytes);
  };
  const auto Put = [&](int64_t X, int64_t Y, uint8_t Index) {
    if (X >= W || Y >= H) return;
    Reach(Y);
    uint8_t* Row = Out.ScanLine(H - 1 - static_cast<int>(Y));
    if (Four)
      Row[X / 2] = static_cast<uint8_t>(X % 2 ? (Row[X / 2] & 0xF0) | Index : (Row[X / 2] & 0x0F) | (Index << 4));
    else
      Row[X] = Index;
  };
  int64_t X = 0, Y = 0;
  size_t P = 0;
  bool Ended = false;
  while (!Ended && Y < H) {
    if (Data.size() - P < 2) TruncatedGraphic(Name, "BMP: compressed data ends before the image");
    const uint8_t Count = Data[P], Value = Data[P + 1];
    P += 2;
    if (Count > 0) {
      for (int I = 0; I < Count; ++I, ++X) Put(X, Y, Four ? (I % 2 ? Value & 0x0F : Value >> 4) : Value);
      continue;
    }
    switch (Value) {
    case 0: // end of line
      X = 0;
      ++Y;
      break;
    case 1: // end of bitmap
      Ended = true;
      break;
    case 2: // delta
      if (Data.size() - P < 2) TruncatedGraphic(Name, "BMP: compressed data ends before the image");
      X += Data[P];
      Y += Data[P + 1];
      P += 2;
      break;
    default: { // Value pixels stored as they are, padded to a whole word
      const size_t Bytes = Four ? (Value + 1u) / 2 : Value;
      if (Data.size() - P < Bytes) TruncatedGraphic(Name, "BMP: compressed data ends before the image");
      for (int I = 0; I < Value; ++I, ++X)
        Put(X, Y, Four ? (I % 2 ? Data[P + I / 2] & 0x0F : Data[P + I / 2] >> 4) : Data[P + I]);
      P += Bytes + (Bytes & 1);
      P = std::min(P, Data.size());
    }
    }
  }
  Reach(H - 1);
}

// One channel of a bit-field pixel scaled to 0..255, rounded; a channel
// without mask is 0.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t M) : Mask(M) {
    if (!M) return;
    while (!((M >> Shift) & 1)) ++Shift;
    Max = M >> Shift;
  }
  uint8_t operator()(uint32_t Pixel) const {
    return Max ? static_cast<uint8_t>((uint64_t{(Pixel & Mask) >> Shift} * 255 + Max / 2) / Max) : 0;
  }
};

// 16- and 32-bit pixels through their channel masks. A 32-bit file, or a
// 16-bit one with an alpha mask, gives 32 bits (alpha 0 without a mask);
// other 16-bit files 24 bits.
void ReadBitFields(QIODevice& Device, const TBmpLayout& L, const QString& Name, TBitmap& Out) {
  const TChannel Red(L.Masks[0]), Green(L.Masks[1]), Blue(L.Masks[2]), Alpha(L.Masks[3]);
  const bool Keep32 = L.Bits == 32 || L.Masks[3] != 0;
  const int W = static_cast<int>(L.Width), H = static_cast<int>(L.Height);
  Out.SetPixelFormat(Keep32 ? pf32bit : pf24bit);
  Out.SetSizeUnfilled(W, H); // every row is written below
  if (!Device.seek(L.PixelOffset)) InvalidGraphic(Name, "BMP: cannot reach the pixels");
  const int Bytes = L.Bits / 8;
  std::vector<uint8_t> Row(static_cast<size_t>((L.Width * L.Bits + 31) / 32 * 4));
  for (int R = 0; R < H; ++R) {
    if (Device.read(reinterpret_cast<char*>(Row.data()), static_cast<qint64>(Row.size())) !=
        static_cast<qint64>(Row.size()))
      TruncatedGraphic(Name, "BMP: file too short for its pixels");
    uint8_t* D = Out.ScanLine(L.TopDown ? R : H - 1 - R);
    const uint8_t* S = Row.data();
    for (int X = 0; X < W; ++X, S += Bytes) {
      const uint32_t Pixel = Bytes == 4 ? Get32(S) : Get16(S);
      D[0] = Blue(Pixel);
      D[1] = Green(Pixel);
      D[2] = Red(Pixel);
      if (Keep32) {
        D[3] = Alpha(Pixel);
        D += 4;
      } else {
        D += 3;
      }
    }
  }
}

// Keeps Qt's allocation limit above what the checked header allows, for the
// time of one read.
class TAllocationLimit {
public:
  explicit TAllocationLimit(int64_t Bytes) : FOld(QImageReader::allocationLimit()) {
    const int64_t Mb = Bytes / (1024 * 1024) + 1;
    if (FOld != 0 && Mb > FOld) QImageReader::setAllocationLimit(static_cast<int>(std::min<int64_t>(Mb, INT_MAX)));
  }
  ~TAllocationLimit() { QImageReader::setAllocationLimit(FOld); }
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;

private:
  int FOld;
};

void ReadWithQt(QIODevice& Device, const TBmpLayout& L, const QString& Name, TBitmap& Out) {
  if (!Device.seek(0)) InvalidGraphic(Name, "BMP: cannot read the file");
  QImage Image;
  {
    const TAllocationLimit Limit(L.Width * L.Height * 4);
    QImageReader Reader(&Device, "bmp");
    if (!Reader.read(&Image)) InvalidGraphic(Name, "BMP: " + Reader.errorString().toStdString());
  }
  if (Image.width() != L.Width || Image.height() != L.Height) InvalidGraphic(Name, "BMP: unexpected decoded size");
  const int W = Image.width(), H = Image.height();
  if (L.Bits <= 8) {
    const TPixelFormat Format = L.Bits == 1 ? pf1bit : L.Bits == 4 ? pf4bit : pf8bit;
    if (Image.format() != QImage::Format_Indexed8) Image = Image.convertToFormat(QImage::Format_Indexed8);
    if (Image.isNull()) InvalidGraphic(Name, "BMP: cannot convert the decoded image");
    const QList<QRgb> Table = Image.colorTable();
    std::vector<TPaletteEntry> Palette(Table.begin(), Table.end());
    Palette.resize(std::min<size_t>(Palette.size(), size_t{1} << L.Bits));
    for (TPaletteEntry& E : Palette) E |= 0xFF000000u;
    if (Palette.empty()) Palette.push_back(0xFF000000u);
    Out.SetPixelFormat(Format);
    Out.SetPalette(Palette);
    Out.SetSizeUnfilled(W, H);
    for (int Y = 0; Y < H; ++Y) PackIndexRow(Image.constScanLine(Y), W, Format, Out.ScanLine(Y));
    return;
  }
  Image = Image.convertToFormat(QImage::Format_RGB32);
  if (Image.isNull()) InvalidGraphic(Name, "BMP: cannot convert the decoded image");
  Out.SetPixelFormat(pf24bit);
  Out.SetSizeUnfilled(W, H);
  for (int Y = 0; Y < H; ++Y) {
    const uchar* S = Image.constScanLine(Y);
    uint8_t* D = Out.ScanLine(Y);
    for (int X = 0; X < W; ++X, S += 4, D += 3) std::memcpy(D, S, 3);
  }
}

} // namespace

void LoadBitmapFromBmpDevice(QIODevice& Device, const QString& Name, TBitmap& Bitmap) {
  const TBmpLayout L = CheckHeader(Device, Name);
  TBitmap Out;
  if (L.Compression == BI_RLE4 || L.Compression == BI_RLE8)
    ReadRle(Device, L, Name, Out);
  else if (L.Bits == 16 || L.Bits == 32)
    ReadBitFields(Device, L, Name, Out);
  else
    ReadWithQt(Device, L, Name, Out);
  Out.Transparent = false;
  Bitmap.Swap(Out);
  Bitmap.Changed();
}

void LoadBitmapFromBmpFile(const QString& FileName, TBitmap& Bitmap) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  LoadBitmapFromBmpDevice(File, FileName, Bitmap);
}

void SaveBitmapToBmpFile(const QString& FileName, const TBitmap& Bitmap, double Dpi) {
  if (Bitmap.Empty()) InvalidGraphic(FileName, "BMP: no image to save");
  const int W = Bitmap.Width(), H = Bitmap.Height();
  const int Bits = Bitmap.BitsPerPixel();
  const bool Indexed = Bits <= 8;
  const std::vector<TPaletteEntry>& Palette = Bitmap.Palette();
  const uint32_t Colors = Indexed ? static_cast<uint32_t>(std::min<size_t>(Palette.size(), size_t{1} << Bits)) : 0;
  const int64_t Stride = TBitmap::BytesPerRow(W, Bits);
  const int64_t PixelOffset = FileHeaderSize + InfoHeaderSize + 4 * int64_t{Colors};
  const int64_t FileSize = PixelOffset + Stride * H;
  if (FileSize > UINT32_MAX) InvalidGraphic(FileName, "BMP: image too large for the format");

  std::vector<uint8_t> Head(static_cast<size_t>(PixelOffset), 0);
  Head[0] = 'B';
  Head[1] = 'M';
  Put32(&Head[2], static_cast<uint32_t>(FileSize));
  Put32(&Head[10], static_cast<uint32_t>(PixelOffset));
  uint8_t* I = &Head[FileHeaderSize];
  Put32(I, InfoHeaderSize);
  Put32(I + 4, static_cast<uint32_t>(W));
  Put32(I + 8, static_cast<uint32_t>(H));
  Put16(I + 12, 1);
  Put16(I + 14, static_cast<uint32_t>(Bits));
  Put32(I + 16, BI_RGB);
  Put32(I + 20, static_cast<uint32_t>(Stride * H));
  Put32(&Head[ResolutionOffset], PixelsPerMetre(Dpi));
  Put32(&Head[ResolutionOffset + 4], PixelsPerMetre(Dpi));
  Put32(I + 32, Colors);
  for (uint32_t C = 0; C < Colors; ++C) Put32(&Head[FileHeaderSize + InfoHeaderSize + 4 * C], Palette[C] & 0xFFFFFF);

  TSafeFile File(FileName);
  File.Write(Head.data(), Head.size());
  // The row padding of a bitmap is not initialised: write zeros instead.
  const size_t Used = static_cast<size_t>((int64_t{W} * Bits + 7) / 8);
  std::vector<uint8_t> Row(static_cast<size_t>(Stride), 0);
  for (int Y = H - 1; Y >= 0; --Y) {
    std::memcpy(Row.data(), Bitmap.ScanLine(Y), Used);
    if (Bits < 8 && (int64_t{W} * Bits) % 8 != 0) Row[Used - 1] &= static_cast<uint8_t>(0xFF00 >> ((W * Bits) % 8));
    File.Write(Row.data(), Row.size());
  }
  File.Commit();
}

double GetBmpDpi(const QString& FileName) {
  if (!QFileInfo::exists(FileName)) return 0;
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  uint8_t H[ResolutionOffset + 8];
  if (File.read(reinterpret_cast<char*>(H), sizeof H) != static_cast<qint64>(sizeof H)) return 0;
  if (H[0] != 'B' || H[1] != 'M' || Get32(H + FileHeaderSize) < InfoHeaderSize) return 0;
  const int32_t N = static_cast<int32_t>(Get32(H + ResolutionOffset));
  return N > 0 ? N / 100.0 * 2.54 : 0;
}

bool SetBmpDpi(const QString& FileName, double Dpi) {
  const uint32_t N = PixelsPerMetre(Dpi);
  try {
    return PatchFileHead(FileName, ResolutionOffset + 8, [N](std::vector<uint8_t>& H) {
      if (H.size() < ResolutionOffset + 8 || H[0] != 'B' || H[1] != 'M' || Get32(&H[FileHeaderSize]) < InfoHeaderSize)
        return false;
      Put32(&H[ResolutionOffset], N);
      Put32(&H[ResolutionOffset + 4], N);
      return true;
    });
  } catch (const std::exception&) {
    return false;
  }
}
