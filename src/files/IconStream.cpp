#include "files/IconStream.h"

#include "files/BitmapRows.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int IconDirHeaderSize = 6;
constexpr int IconDirEntrySize = 16;
constexpr int BitmapInfoHeaderSize = 40;
constexpr uint32_t BiRgb = 0;
constexpr uint32_t BiBitFields = 3;

[[noreturn]] void InvalidIcon(const QString& Name) { InvalidGraphic(Name, "Données invalides !"); }

uint16_t GetU16(const uint8_t* P) { return static_cast<uint16_t>(P[0] | (P[1] << 8)); }
uint32_t GetU32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}
int32_t GetI32(const uint8_t* P) { return static_cast<int32_t>(GetU32(P)); }

void PutU16(std::vector<uint8_t>& Out, uint32_t V) {
  Out.push_back(static_cast<uint8_t>(V & 0xFF));
  Out.push_back(static_cast<uint8_t>((V >> 8) & 0xFF));
}
void PutU32(std::vector<uint8_t>& Out, uint32_t V) {
  PutU16(Out, V & 0xFFFF);
  PutU16(Out, V >> 16);
}

int64_t DibRowBytes(int64_t Width, int Bits) { return (Width * Bits + 31) / 32 * 4; }

// Exactly Size bytes from the stream, or false.
bool ReadExactly(QIODevice& Stream, uint8_t* Data, int64_t Size) {
  return Stream.read(reinterpret_cast<char*>(Data), Size) == Size;
}

// A 1-bit mask bitmap (palette black, white) of the size, all Value.
void MakeMask(TBitmap& Mask, int Width, int Height, bool Transparent) {
  Mask.SetPixelFormat(pf1bit);
  Mask.SetPalette({0xFF000000u, 0xFFFFFFFFu});
  Mask.Canvas().Brush.Color = Transparent ? clWhite : clBlack;
  Mask.SetSize(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    std::memset(Mask.ScanLine(Y), Transparent ? 0xFF : 0x00, static_cast<size_t>(Mask.RowStride()));
}

// Nearest-neighbour copy of a 32-bit or 1-bit bitmap to another size.
void StretchTo(TBitmap& Bitmap, int Width, int Height) {
  if (Bitmap.Width() == Width && Bitmap.Height() == Height) return;
  const TPixelFormat Format = Bitmap.PixelFormat();
  TBitmap Out;
  if (Format == pf1bit) {
    MakeMask(Out, Width, Height, false);
  } else {
    Out.SetPixelFormat(pf32bit);
    Out.SetSize(Width, Height);
  }
  for (int Y = 0; Y < Height; ++Y) {
    const uint8_t* Src = Bitmap.ScanLine(static_cast<int>(static_cast<int64_t>(Y) * Bitmap.Height() / Height));
    uint8_t* Dst = Out.ScanLine(Y);
    for (int X = 0; X < Width; ++X) {
      const int SX = static_cast<int>(static_cast<int64_t>(X) * Bitmap.Width() / Width);
      if (Format == pf1bit)
        SetPixelIndex(Dst, X, pf1bit, PixelIndex(Src, SX, pf1bit));
      else
        std::memcpy(Dst + 4 * X, Src + 4 * SX, 4);
    }
  }
  Bitmap.Swap(Out);
}

// The size a PNG-coded image declares, checked before it is decoded: at most
// the 256 x 256 a directory entry can state, and within what zlib can make of
// the entry's bytes.
void CheckPngInIcon(const std::vector<uint8_t>& Data, const QString& Name) {
  constexpr size_t IhdrEnd = 8 + 8 + 13; // signature, chunk length and type, IHDR data
  if (Data.size() < IhdrEnd || std::memcmp(Data.data() + 12, "IHDR", 4) != 0) InvalidIcon(Name);
  const auto Big32 = [&](size_t At) {
    return int64_t{Data[At]} << 24 | int64_t{Data[At + 1]} << 16 | int64_t{Data[At + 2]} << 8 | Data[At + 3];
  };
  const int64_t Width = Big32(16), Height = Big32(20);
  const int Depth = Data[24], ColorType = Data[25];
  if (Width < 1 || Height < 1 || Width > MaxIconSide || Height > MaxIconSide) InvalidIcon(Name);
  const int Samples = ColorType == 2 ? 3 : ColorType == 4 ? 2 : ColorType == 6 ? 4 : 1;
  CheckExpansion(Height * ((Width * Samples * Depth + 7) / 8 + 1), static_cast<int64_t>(Data.size()), MaxZlibRatio,
                 Name);
}

// A PNG-coded image: its colours with their alpha, the mask set where it is
// fully clear (or where a transparent colour is).
void IconFromPng(const std::vector<uint8_t>& Data, TIcon& Icon, const QString& Name) {
  CheckPngInIcon(Data, Name);
  TPngImage Png;
  Png.LoadFromMemory(Data.data(), Data.size(), Name);
  TBitmap Colors;
  PngToBitmap(Png, Colors);
  if (Colors.Empty()) InvalidIcon(Name);
  TBitmap Mask;
  MakeMask(Mask, Colors.Width(), Colors.Height(), false);
  const bool Alpha = Colors.PixelFormat() == pf32bit;
  const TColor Key = Colors.TransparentColor() & 0xFFFFFF;
  for (int Y = 0; Y < Colors.Height(); ++Y) {
    const uint8_t* Row = Colors.ScanLine(Y);
    for (int X = 0; X < Colors.Width(); ++X) {
      const bool Clear =
          Alpha ? Row[4 * X + 3] == 0 : Colors.Transparent && (Colors.PixelColor(X, Y) & 0xFFFFFF) == Key;
      if (Clear) SetPixelIndex(Mask.ScanLine(Y), X, pf1bit, 1);
    }
  }
  if (!Alpha) {
    Colors.SetPixelFormat(pf24bit);
    Colors.SetPixelFormat(pf32bit); // a fourth byte of 0: no alpha
  }
  if (!Icon.Create(Colors, Mask)) InvalidIcon(Name);
}

// A BMP-coded image: information header, colour table, colour rows and mask
// rows, bottom-up; every part checked against the bytes of the image.
void IconFromDib(const std::vector<uint8_t>& Data, int TargetW, int TargetH, TIcon& Icon, const QString& Name) {
  const int64_t Size = static_cast<int64_t>(Data.size());
  if (Size < BitmapInfoHeaderSize) InvalidIcon(Name);
  const uint8_t* H = Data.data();
  const int64_t HeaderSize = GetU32(H);
  const int32_t Width = GetI32(H + 4);
  const int32_t DoubleHeight = GetI32(H + 8);
  const int Bits = GetU16(H + 14);
  const uint32_t Compression = GetU32(H + 16);
  if (HeaderSize < BitmapInfoHeaderSize || HeaderSize > Size) InvalidIcon(Name);
  if (Width <= 0 || DoubleHeight < 2) InvalidIcon(Name);
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32) InvalidIcon(Name);
  if (Compression != BiRgb && !(Compression == BiBitFields && Bits == 32)) InvalidIcon(Name);
  const int Height = DoubleHeight / 2;
  try {
    CheckReadSize(Width, Height, Name);
  } catch (const EInvalidGraphic&) {
    InvalidIcon(Name);
  }
  // The colour table holds 2^bits entries for the palette depths; the
  // colours-used field is not consulted. Bit fields of a 40-byte header
  // follow it as three masks, taken as the usual blue, green, red order.
  const int64_t MaskFields = Compression == BiBitFields && HeaderSize == BitmapInfoHeaderSize ? 12 : 0;
  const int64_t TableEntries = Bits <= 8 ? int64_t(1) << Bits : 0;
  const int64_t ColorOffset = HeaderSize + MaskFields + 4 * TableEntries;
  const int64_t ColorRow = DibRowBytes(Width, Bits);
  const int64_t MaskRow = DibRowBytes(Width, 1);
  const int64_t MaskOffset = ColorOffset + ColorRow * Height;
  if (MaskOffset + MaskRow * Height > Size) InvalidIcon(Name);

  std::vector<uint32_t> Table(static_cast<size_t>(TableEntries));
  for (int64_t I = 0; I < TableEntries; ++I) {
    const uint8_t* E = H + HeaderSize + MaskFields + 4 * I;
    Table[static_cast<size_t>(I)] = static_cast<uint32_t>(E[0]) | (static_cast<uint32_t>(E[1]) << 8) |
                                    (static_cast<uint32_t>(E[2]) << 16); // B, G, R, alpha 0
  }
  TBitmap Colors(Width, Height, pf32bit, clBlack);
  TBitmap Mask;
  MakeMask(Mask, Width, Height, false);
  for (int Y = 0; Y < Height; ++Y) {
    const int FileRow = Height - 1 - Y;
    const uint8_t* Src = H + ColorOffset + ColorRow * FileRow;
    uint8_t* Dst = Colors.ScanLine(Y);
    for (int X = 0; X < Width; ++X) {
      uint8_t* P = Dst + 4 * X;
      if (Bits == 32) {
        std::memcpy(P, Src + 4 * X, 4);
      } else if (Bits == 24) {
        std::memcpy(P, Src + 3 * X, 3);
        P[3] = 0;
      } else {
        const TPixelFormat F = Bits == 1 ? pf1bit : Bits == 4 ? pf4bit : pf8bit;
        const uint32_t C = Table[static_cast<size_t>(PixelIndex(Src, X, F))];
        std::memcpy(P, &C, 4);
      }
    }
    std::memcpy(Mask.ScanLine(Y), H + MaskOffset + MaskRow * FileRow, static_cast<size_t>((Width + 7) / 8));
  }
  StretchTo(Colors, TargetW, TargetH);
  StretchTo(Mask, TargetW, TargetH);
  if (!Icon.Create(Colors, Mask)) InvalidIcon(Name);
}

const TColor StandardColors[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                   0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

// The colour table of 256-colour icons: the sixteen standard colours, the
// 6 x 6 x 6 colour cube and greys, each colour once, so that icons drawn in
// the standard colours keep them.
std::vector<TPaletteEntry> IconPalette256() {
  std::vector<TPaletteEntry> P;
  const auto Add = [&P](int R, int G, int B) {
    const TPaletteEntry E = 0xFF000000u | (uint32_t(R) << 16) | (uint32_t(G) << 8) | uint32_t(B);
    if (std::find(P.begin(), P.end(), E) == P.end()) P.push_back(E);
  };
  for (TColor C : StandardColors) Add(GetRValue(C), GetGValue(C), GetBValue(C));
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B) Add(51 * R, 51 * G, 51 * B);
  for (int V = 8; P.size() < 256; V += 8) Add(V, V, V);
  return P;
}

void RequireIcon(const TIcon& Icon) {
  if (Icon.Empty() || Icon.Mask().Width() != Icon.Width() || Icon.Mask().Height() != Icon.Height())
    InvalidIcon(QString());
}

bool MaskSet(const TIcon& Icon, int X, int Y) { return PixelIndex(Icon.Mask().ScanLine(Y), X, pf1bit) != 0; }

} // namespace

TPixelFormat IconFormatToPixelFormat(TIconFormat Format) {
  switch (Format) {
  case if16Colors:
    return pf4bit;
  case if256Colors:
    return pf8bit;
  case ifTrueColors:
    return pf24bit;
  case ifTrueColorsAlpha:
    return pf32bit;
  }
  return pf24bit;
}

void ReadIcon(QIODevice& Stream, TIcon& Icon, const QString& Name) {
  Icon.Clear();
  const int64_t Start = Stream.pos();
  const int64_t Available = Stream.size() - Start;
  uint8_t Header[IconDirHeaderSize];
  if (Available < IconDirHeaderSize || !ReadExactly(Stream, Header, IconDirHeaderSize)) InvalidIcon(Name);
  const int Count = GetU16(Header + 4);
  if (GetU16(Header + 2) != 1 || Count < 1) InvalidIcon(Name);
  if (IconDirHeaderSize + int64_t{Count} * IconDirEntrySize > Available) InvalidIcon(Name);
  // Only the first entry is used; the others are checked to be present.
  uint8_t Entry[IconDirEntrySize];
  if (!ReadExactly(Stream, Entry, IconDirEntrySize)) InvalidIcon(Name);
  const int TargetW = Entry[0] == 0 ? 256 : Entry[0];
  const int TargetH = Entry[1] == 0 ? 256 : Entry[1];
  const int64_t ImageSize = GetU32(Entry + 8);
  const int64_t ImageOffset = GetU32(Entry + 12);
  if (ImageSize < 8 || ImageOffset + ImageSize > Available) InvalidIcon(Name);
  if (!Stream.seek(Start + ImageOffset)) InvalidIcon(Name);
  std::vector<uint8_t> Image(static_cast<size_t>(ImageSize));
  if (!ReadExactly(Stream, Image.data(), ImageSize)) InvalidIcon(Name);

  static constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  try {
    if (std::equal(std::begin(PngSignature), std::end(PngSignature), Image.begin()))
      IconFromPng(Image, Icon, Name);
    else
      IconFromDib(Image, TargetW, TargetH, Icon, Name);
  } catch (...) {
    Icon.Clear();
    throw;
  }
}

void WriteIcon(QIODevice& Stream, const TIcon& Icon, TIconFormat Format) {
  RequireIcon(Icon);
  const int Bits = PixelFormatToBits(IconFormatToPixelFormat(Format));
  const int W = Icon.Width(), H = Icon.Height();
  const int64_t ColorRow = DibRowBytes(W, Bits);
  const int64_t MaskRow = DibRowBytes(W, 1);

  // The colour image at the depth: palette depths by the nearest entry of
  // the default palette, no quantisation.
  TBitmap Colors;
  Colors.Assign(Icon.Color());
  if (Bits != 32) Colors.SetPixelFormat(pf24bit);
  if (Bits == 8) {
    TBitmap Indexed(W, H, pf8bit, clBlack);
    Indexed.SetPalette(IconPalette256());
    for (int Y = 0; Y < H; ++Y) {
      const TRGB* Src = RowOf(Colors, Y);
      uint8_t* Dst = Indexed.ScanLine(Y);
      for (int X = 0; X < W; ++X) Dst[X] = static_cast<uint8_t>(Indexed.PaletteIndexOf(TRGBToColor(Src[X])));
    }
    Colors.Swap(Indexed);
  } else if (Bits == 4) {
    Colors.SetPixelFormat(pf4bit);
  } else if (Bits == 32 && IconFormatOf(Icon) != ifTrueColorsAlpha) {
    // An icon without alpha written with an alpha channel: the alpha comes
    // from the mask, as readers that honour the channel need.
    for (int Y = 0; Y < H; ++Y) {
      uint8_t* Row = Colors.ScanLine(Y);
      for (int X = 0; X < W; ++X) Row[4 * X + 3] = MaskSet(Icon, X, Y) ? 0 : 255;
    }
  }
  const std::vector<TPaletteEntry> Table = Bits <= 8 ? Colors.Palette() : std::vector<TPaletteEntry>{};
  const size_t TableEntries = Bits <= 8 ? size_t(1) << Bits : 0;

  const int64_t ImageSize = BitmapInfoHeaderSize + 4 * static_cast<int64_t>(TableEntries) + (ColorRow + MaskRow) * H;
  std::vector<uint8_t> Out;
  Out.reserve(static_cast<size_t>(IconDirHeaderSize + IconDirEntrySize + ImageSize));
  PutU16(Out, 0);
  PutU16(Out, 1);
  PutU16(Out, 1);
  Out.push_back(static_cast<uint8_t>(W & 0xFF));
  Out.push_back(static_cast<uint8_t>(H & 0xFF));
  PutU16(Out, static_cast<uint32_t>(Bits)); // planes 1 x bits: byte 8 the bit count, byte 9 zero
  PutU16(Out, 0);
  PutU16(Out, 0);
  PutU32(Out, static_cast<uint32_t>(ImageSize));
  PutU32(Out, IconDirHeaderSize + IconDirEntrySize);

  PutU32(Out, BitmapInfoHeaderSize);
  PutU32(Out, static_cast<uint32_t>(W));
  PutU32(Out, static_cast<uint32_t>(2 * H));
  PutU16(Out, 1);
  PutU16(Out, static_cast<uint32_t>(Bits));
  PutU32(Out, BiRgb);
  PutU32(Out, static_cast<uint32_t>(ColorRow * H));
  for (int I = 0; I < 4; ++I) PutU32(Out, 0); // resolution, colours used, colours important
  for (size_t I = 0; I < TableEntries; ++I) {
    const TPaletteEntry E = I < Table.size() ? Table[I] : 0;
    Out.push_back(static_cast<uint8_t>(E & 0xFF));
    Out.push_back(static_cast<uint8_t>((E >> 8) & 0xFF));
    Out.push_back(static_cast<uint8_t>((E >> 16) & 0xFF));
    Out.push_back(0);
  }
  const auto PutRows = [&](const TBitmap& B, int RowBits, int64_t RowBytes) {
    const size_t Used = static_cast<size_t>((int64_t{W} * RowBits + 7) / 8);
    for (int Y = H - 1; Y >= 0; --Y) {
      const uint8_t* Row = B.ScanLine(Y);
      Out.insert(Out.end(), Row, Row + Used);
      Out.insert(Out.end(), static_cast<size_t>(RowBytes) - Used, 0);
    }
  };
  PutRows(Colors, Bits, ColorRow);
  PutRows(Icon.Mask(), 1, MaskRow);
  if (Stream.write(reinterpret_cast<const char*>(Out.data()), static_cast<qint64>(Out.size())) !=
      static_cast<qint64>(Out.size()))
    InvalidGraphic(QString(), "the icon could not be written: " + Stream.errorString().toStdString());
}

TIconFormat IconFormatOf(const TIcon& Icon) {
  RequireIcon(Icon);
  const TBitmap& C = Icon.Color();
  for (int Y = 0; Y < C.Height(); ++Y) {
    const uint8_t* Row = C.ScanLine(Y);
    for (int X = 0; X < C.Width(); ++X)
      if (Row[4 * X + 3] != 0) return ifTrueColorsAlpha;
  }
  std::vector<TColor> Found;
  for (int Y = 0; Y < C.Height() && Found.size() <= 256; ++Y) {
    const uint8_t* Row = C.ScanLine(Y);
    for (int X = 0; X < C.Width() && Found.size() <= 256; ++X) {
      if (MaskSet(Icon, X, Y)) continue;
      const TColor Color = RGB(Row[4 * X + 2], Row[4 * X + 1], Row[4 * X]);
      if (std::find(Found.begin(), Found.end(), Color) == Found.end()) Found.push_back(Color);
    }
  }
  if (Found.empty() || Found.size() > 256) return ifTrueColors;
  const bool AllStandard = std::all_of(Found.begin(), Found.end(), [](TColor Color) {
    return std::find(std::begin(StandardColors), std::end(StandardColors), Color) != std::end(StandardColors);
  });
  return Found.size() < 16 && AllStandard ? if16Colors : if256Colors;
}

TIconFormat IconToBitmap(const TIcon& Icon, TBitmap& Bitmap) {
  const TIconFormat Format = IconFormatOf(Icon);
  TBitmap Out;
  Out.Assign(Icon.Color());
  if (Format != ifTrueColorsAlpha) {
    Out.SetPixelFormat(pf24bit);
    const TRGB Key = ColorToTRGB(TransparentKeyColor);
    for (int Y = 0; Y < Out.Height(); ++Y) {
      TRGB* Row = RowOf(Out, Y);
      for (int X = 0; X < Out.Width(); ++X)
        if (MaskSet(Icon, X, Y)) Row[X] = Key;
    }
    Out.SetTransparentColor(TransparentKeyColor);
    Out.Transparent = true;
  } else {
    Out.Transparent = false;
    Out.SetTransparentColor(clDefault);
  }
  Bitmap.Swap(Out);
  Bitmap.Changed();
  return Format;
}

bool BitmapToIconCentered(const TBitmap& Bitmap, int Size, TIcon& Icon) {
  Icon.Clear();
  if (Bitmap.Empty() || Size < 1) return false;
  TBitmap Colors(Size, Size, pf24bit, clBlack);
  TBitmap Mask(Size, Size, pf24bit, clWhite);
  const int X0 = (Size - Bitmap.Width()) / 2, Y0 = (Size - Bitmap.Height()) / 2;
  const bool Keyed = Bitmap.Transparent;
  const TColor Key = Bitmap.TransparentColor() & 0xFFFFFF;
  TBgrRowReader Reader(Bitmap);
  const TRGB Black{0, 0, 0};
  for (int Y = std::max(0, -Y0); Y < Bitmap.Height() && Y0 + Y < Size; ++Y) {
    const TRGB* Src = reinterpret_cast<const TRGB*>(Reader.Row(Y));
    TRGB* C = RowOf(Colors, Y0 + Y);
    TRGB* M = RowOf(Mask, Y0 + Y);
    for (int X = std::max(0, -X0); X < Bitmap.Width() && X0 + X < Size; ++X) {
      if (Keyed && (TRGBToColor(Src[X]) & 0xFFFFFF) == Key) continue;
      C[X0 + X] = Src[X];
      M[X0 + X] = Black;
    }
  }
  return Icon.Create(Colors, Mask);
}

bool Bitmap32ToIcon(const TBitmap& Bitmap, int Size, TIcon& Icon) {
  Icon.Clear();
  if (Bitmap.PixelFormat() != pf32bit || Bitmap.Width() != Size || Bitmap.Height() != Size || Size < 1) return false;
  TBitmap Mask(Size, Size, pf24bit, clBlack);
  return Icon.Create(Bitmap, Mask);
}
