#include "platform/Bitmap.h"

#include "platform/PixelMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Pixel memory is 32-byte aligned so vector loads can be used on rows.
constexpr size_t PixelAlignment = 32;

TPixelFormat StoredFormat(TPixelFormat Format) {
  switch (Format) {
  case pf1bit:
  case pf4bit:
  case pf8bit:
  case pf32bit:
    return Format;
  default:
    return pf24bit;
  }
}

bool IsIndexed(TPixelFormat Format) { return Format == pf1bit || Format == pf4bit || Format == pf8bit; }

TPaletteEntry EntryFromColor(TColor C) {
  C = ColorToRGB(C);
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(C)) << 16) | (static_cast<uint32_t>(GetGValue(C)) << 8) |
         GetBValue(C);
}

TColor ColorFromEntry(TPaletteEntry E) { return RGB((E >> 16) & 0xFF, (E >> 8) & 0xFF, E & 0xFF); }

} // namespace

int PixelFormatToBits(TPixelFormat Format) {
  switch (Format) {
  case pf1bit:
    return 1;
  case pf4bit:
    return 4;
  case pf8bit:
    return 8;
  case pf32bit:
    return 32;
  default:
    return 24;
  }
}

std::vector<TPaletteEntry> DefaultPalette(TPixelFormat Format) {
  std::vector<TPaletteEntry> P;
  switch (Format) {
  case pf1bit:
    P = {0xFF000000u, 0xFFFFFFFFu};
    break;
  case pf4bit: {
    // The sixteen standard colours in their system order.
    const TColor Colors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                               clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (TColor C : Colors) P.push_back(EntryFromColor(C));
    break;
  }
  case pf8bit:
    // A 6 x 6 x 6 colour cube followed by a ramp of 40 greys.
    for (int R = 0; R < 6; ++R)
      for (int G = 0; G < 6; ++G)
        for (int B = 0; B < 6; ++B) P.push_back(EntryFromColor(RGB(R * 51, G * 51, B * 51)));
    for (int I = 0; I < 40; ++I) {
      const int V = (I * 255 + 20) / 39;
      P.push_back(EntryFromColor(RGB(V, V, V)));
    }
    break;
  default:
    break;
  }
  return P;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int Width, int Height, TPixelFormat Format, TColor Fill) {
  SetPixelFormat(Format);
  FCanvas.Brush.Color = Fill;
  SetSize(Width, Height);
}

TBitmap::~TBitmap() { std::free(FPixels); }

int TBitmap::BytesPerRow(int Width, int BitsPerPixel) {
  const int64_t Bits = static_cast<int64_t>(Width) * BitsPerPixel;
  return static_cast<int>((Bits + 31) / 32 * 4);
}

int TBitmap::BitsPerPixel() const { return PixelFormatToBits(FFormat); }

void TBitmap::Reallocate(int Width, int Height, TPixelFormat Format) {
  if (Width <= 0 || Height <= 0) {
    std::free(FPixels);
    FPixels = nullptr;
    FWidth = FHeight = FStride = 0;
    FFormat = Format;
    FCanvas.ResetClip();
    return;
  }
  const int64_t Stride64 = (static_cast<int64_t>(Width) * PixelFormatToBits(Format) + 31) / 32 * 4;
  // A stride of up to 2^33 times a height of up to 2^31 may pass 2^63.
  const int64_t Bytes = Stride64 > INT64_MAX / Height ? INT64_MAX : Stride64 * Height;
  if (Stride64 > INT32_MAX) throw EPixelAllocError(Bytes);
  const int Stride = static_cast<int>(Stride64);
  uint8_t* Pixels = AllocatePixels(Bytes, PixelAlignment);
  std::free(FPixels);
  FPixels = Pixels;
  FWidth = Width;
  FHeight = Height;
  FStride = Stride;
  FFormat = Format;
  // New pixels get a fresh drawing context, as on the platform.
  FCanvas.ResetClip();
}

void TBitmap::SetSize(int Width, int Height) {
  if (Width < 0) Width = 0;
  if (Height < 0) Height = 0;
  if (Width == FWidth && Height == FHeight) return;
  if (Width == 0 || Height == 0) {
    Reallocate(0, 0, FFormat);
    Changed();
    return;
  }
  const int OldWidth = FWidth;
  const int OldHeight = FHeight;
  const int OldStride = FStride;
  uint8_t* OldPixels = FPixels;
  FPixels = nullptr; // keeps the old block alive until its rows are copied
  try {
    Reallocate(Width, Height, FFormat);
  } catch (...) {
    FPixels = OldPixels;
    throw;
  }
  const int KeepW = std::min(OldWidth, Width);
  const int KeepH = std::min(OldHeight, Height);
  if (KeepW > 0 && KeepH > 0) {
    const size_t KeepBytes = static_cast<size_t>(BytesPerRow(KeepW, PixelFormatToBits(FFormat)));
    for (int Y = 0; Y < KeepH; ++Y)
      std::memcpy(ScanLine(Y), OldPixels + static_cast<ptrdiff_t>(Y) * OldStride,
                  std::min<size_t>(KeepBytes, static_cast<size_t>(OldStride)));
  }
  std::free(OldPixels);
  const TColor Fill = FCanvas.Brush.Color;
  if (KeepW > 0 && KeepH > 0) {
    FillArea({KeepW, 0, Width, KeepH}, Fill);
    FillArea({0, KeepH, Width, Height}, Fill);
  } else {
    FillArea({0, 0, Width, Height}, Fill);
  }
  Changed();
}

void TBitmap::SetSizeUnfilled(int Width, int Height) {
  Reallocate(Width, Height, FFormat);
  Changed();
}

void TBitmap::ClearRowPadding(int Y) {
  const int64_t Used = (int64_t(FWidth) * PixelFormatToBits(FFormat) + 7) / 8;
  if (Used < FStride) std::memset(ScanLine(Y) + Used, 0, size_t(FStride - Used));
}

void TBitmap::FillArea(const TRect& R, TColor Color) {
  const TRect A = IntersectRect(R, {0, 0, FWidth, FHeight});
  if (A.IsEmpty()) return;
  const TColor C = ColorToRGB(Color);
  const uint8_t Red = GetRValue(C), Green = GetGValue(C), Blue = GetBValue(C);
  for (int Y = A.Top; Y < A.Bottom; ++Y) {
    uint8_t* Row = ScanLine(Y);
    switch (FFormat) {
    case pf24bit:
      for (int X = A.Left; X < A.Right; ++X) {
        Row[3 * X] = Blue;
        Row[3 * X + 1] = Green;
        Row[3 * X + 2] = Red;
      }
      break;
    case pf32bit:
      // A filled 32-bit area carries alpha 0, as a fill by the platform does.
      for (int X = A.Left; X < A.Right; ++X) {
        Row[4 * X] = Blue;
        Row[4 * X + 1] = Green;
        Row[4 * X + 2] = Red;
        Row[4 * X + 3] = 0;
      }
      break;
    default: {
      const int Index = NearestPaletteIndex(C);
      for (int X = A.Left; X < A.Right; ++X) SetPixelIndex(Row, X, FFormat, Index);
    }
    }
  }
}

int TBitmap::NearestPaletteIndex(TColor Color) const {
  int Best = 0;
  int BestDist = INT32_MAX;
  for (size_t I = 0; I < FPalette.size(); ++I) {
    const TColor E = ColorFromEntry(FPalette[I]);
    const int DR = GetRValue(E) - GetRValue(Color);
    const int DG = GetGValue(E) - GetGValue(Color);
    const int DB = GetBValue(E) - GetBValue(Color);
    const int Dist = DR * DR + DG * DG + DB * DB;
    if (Dist < BestDist) {
      BestDist = Dist;
      Best = static_cast<int>(I);
      if (Dist == 0) break;
    }
  }
  return Best;
}

TColor TBitmap::PixelColor(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return clNone;
  const uint8_t* Row = ScanLine(Y);
  switch (FFormat) {
  case pf24bit:
    return RGB(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]);
  case pf32bit:
    return RGB(Row[4 * X + 2], Row[4 * X + 1], Row[4 * X]);
  default: {
    const int Index = PixelIndex(Row, X, FFormat);
    return Index < static_cast<int>(FPalette.size()) ? ColorFromEntry(FPalette[Index]) : clBlack;
  }
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Format) {
  Format = StoredFormat(Format);
  if (Format == FFormat) return;
  if (Empty()) {
    FFormat = Format;
    FPalette = IsIndexed(Format) ? DefaultPalette(Format) : std::vector<TPaletteEntry>{};
    Changed();
    return;
  }
  TBitmap Old;
  Swap(Old); // Old now holds the pixels; this bitmap is empty
  FFormat = Format;
  FPalette = IsIndexed(Format) ? (IsIndexed(Old.FFormat) && Old.FPalette.size() <= (1u << PixelFormatToBits(Format))
                                      ? Old.FPalette
                                      : DefaultPalette(Format))
                               : std::vector<TPaletteEntry>{};
  Transparent = Old.Transparent;
  FTransparentMode = Old.FTransparentMode;
  FTransparentColor = Old.FTransparentColor;
  // The canvas (brush, pen, font) stays with this bitmap: Swap left it here.
  Reallocate(Old.FWidth, Old.FHeight, Format);
  for (int Y = 0; Y < FHeight; ++Y) {
    uint8_t* Row = ScanLine(Y);
    const uint8_t* Src = Old.ScanLine(Y);
    for (int X = 0; X < FWidth; ++X) {
      if (Format == pf24bit || Format == pf32bit) {
        const int Bpp = Format == pf32bit ? 4 : 3;
        uint8_t Alpha = 0;
        TColor C;
        if (Old.FFormat == pf32bit) {
          C = RGB(Src[4 * X + 2], Src[4 * X + 1], Src[4 * X]);
          Alpha = Src[4 * X + 3];
        } else {
          C = Old.PixelColor(X, Y);
        }
        Row[Bpp * X] = GetBValue(C);
        Row[Bpp * X + 1] = GetGValue(C);
        Row[Bpp * X + 2] = GetRValue(C);
        if (Bpp == 4) Row[4 * X + 3] = Alpha;
      } else {
        SetPixelIndex(Row, X, Format, NearestPaletteIndex(Old.PixelColor(X, Y)));
      }
    }
  }
  Changed();
}

void TBitmap::SetPalette(std::vector<TPaletteEntry> Palette) {
  if (!IsIndexed(FFormat)) return;
  Palette.resize(std::min<size_t>(Palette.size(), size_t{1} << PixelFormatToBits(FFormat)));
  FPalette = std::move(Palette);
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == TTransparentMode::tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return PixelColor(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Color) {
  if (Color == clDefault) {
    FTransparentMode = TTransparentMode::tmAuto;
    FTransparentColor = clDefault;
  } else {
    FTransparentMode = TTransparentMode::tmFixed;
    FTransparentColor = Color;
  }
}

void TBitmap::Assign(const TBitmap& Src) {
  if (&Src == this) return;
  Reallocate(Src.FWidth, Src.FHeight, Src.FFormat);
  if (FPixels) std::memcpy(FPixels, Src.FPixels, static_cast<size_t>(FStride) * static_cast<size_t>(FHeight));
  FPalette = Src.FPalette;
  Transparent = Src.Transparent;
  FTransparentMode = Src.FTransparentMode;
  FTransparentColor = Src.FTransparentColor;
  Changed();
}

void TBitmap::ReleaseImage() {
  if (!FPixels && FWidth == 0) return;
  Reallocate(0, 0, FFormat);
  Changed();
}

void TBitmap::Swap(TBitmap& Other) noexcept {
  std::swap(FWidth, Other.FWidth);
  std::swap(FHeight, Other.FHeight);
  std::swap(FStride, Other.FStride);
  std::swap(FFormat, Other.FFormat);
  std::swap(FPixels, Other.FPixels);
  std::swap(FPalette, Other.FPalette);
  std::swap(Transparent, Other.Transparent);
  std::swap(FTransparentMode, Other.FTransparentMode);
  std::swap(FTransparentColor, Other.FTransparentColor);
  FCanvas.ResetClip();
  Other.FCanvas.ResetClip();
}

QImage TBitmap::QImageView() { return MakeView(true); }

// A view over const rows copies itself before any write through it.
QImage TBitmap::QImageView() const { return MakeView(false); }

QImage TBitmap::MakeView(bool Writable) const {
  if (Empty()) return {};
  const auto Wrap = [&](QImage::Format Format) {
    return Writable ? QImage(FPixels, FWidth, FHeight, FStride, Format)
                    : QImage(static_cast<const uchar*>(FPixels), FWidth, FHeight, FStride, Format);
  };
  switch (FFormat) {
  case pf24bit:
    return Wrap(QImage::Format_BGR888);
  case pf32bit:
    return Wrap(QImage::Format_ARGB32);
  case pf1bit:
  case pf8bit: {
    QImage Image = Wrap(FFormat == pf1bit ? QImage::Format_Mono : QImage::Format_Indexed8);
    Image.setColorTable(QList<QRgb>(FPalette.begin(), FPalette.end()));
    return Image;
  }
  default: {
    QImage Image(FWidth, FHeight, QImage::Format_Indexed8);
    Image.setColorTable(QList<QRgb>(FPalette.begin(), FPalette.end()));
    for (int Y = 0; Y < FHeight; ++Y) {
      uchar* Dst = Image.scanLine(Y);
      for (int X = 0; X < FWidth; ++X) Dst[X] = static_cast<uchar>(PixelIndex(ScanLine(Y), X, FFormat));
    }
    return Image;
  }
  }
}
