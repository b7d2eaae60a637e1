#include "files/ColorDepth.h"

#include "files/BitmapRows.h"
#include "raster/Bitmap24.h"

#include <algorithm>
#include <vector>

namespace {

TPixelFormat IndexedFormatFor(int Count) { return Count <= 2 ? pf1bit : Count <= 16 ? pf4bit : pf8bit; }

// Replaces the pixels and format of Bitmap by those of Result, keeping its
// transparency settings.
void TakePixels(TBitmap& Bitmap, TBitmap& Result) {
  const bool Transparent = Bitmap.Transparent;
  const TColor Key = Bitmap.TransparentMode() == TTransparentMode::tmFixed ? Bitmap.TransparentColor() : clDefault;
  Bitmap.Swap(Result);
  Bitmap.Transparent = Transparent;
  Bitmap.SetTransparentColor(Key);
  Bitmap.Changed();
}

void AssignGif(const TBitmap& Bitmap, TGIFImage& Gif, bool Dither) {
  Gif.ColorReduction = rmQuantize;
  Gif.DitherMode = Dither ? dmFloydSteinberg : dmNearest;
  Gif.Assign(Bitmap);
}

} // namespace

// ---- Bit-depth arithmetic -----------------------------------------------------

int BitsToColorCount(int Bits) { return Bits >= 0 && Bits <= 8 ? 1 << Bits : 16777216; }

int ColorCountToBits(int Count) {
  if (Count <= 2) return 1;
  if (Count <= 8) return 3;
  if (Count <= 16) return 4;
  if (Count <= 32) return 5;
  if (Count <= 64) return 6;
  if (Count <= 128) return 7;
  if (Count <= 256) return 8;
  return 24;
}

int ColorCountToBitsEx(int Count) {
  if (Count < 0) return 32;
  if (Count == 0) return 24;
  return ColorCountToBits(Count);
}

// ---- Palettes -----------------------------------------------------------------

bool SetPaletteColor(TPalette* Palette, int Index, TColor Color) {
  if (!Palette || Index < 0 || Palette->empty() || Index >= static_cast<int>(Palette->size())) return false;
  const TColor C = ColorToRGB(Color);
  (*Palette)[static_cast<size_t>(Index)] = PaletteEntry(GetRValue(C), GetGValue(C), GetBValue(C));
  return true;
}

bool SetPaletteSize(TPalette* Palette, int Count) {
  if (!Palette || Palette->empty() || Count < 1 || Count > 256) return false;
  Palette->resize(static_cast<size_t>(Count), PaletteEntry(0, 0, 0));
  return true;
}

TPalette WebPaletteWithColor(TColor Color) {
  TPalette P = WebPalette();
  if (Color != clNone) {
    const TColor C = ColorToRGB(Color);
    P.push_back(PaletteEntry(GetRValue(C), GetGValue(C), GetBValue(C)));
  }
  return P;
}

// ---- Reduction and counting ---------------------------------------------------

void ReduceColors24(TBitmap& Bitmap, int Count, uint8_t Flags, const TPalette* Palette) {
  if (Bitmap.Empty() || Count < 2 || Count > 256) return;
  const int Bits = ColorCountToBits(Count);
  TColorReduction Mode = rmQuantize;
  if (Bits == 1)
    Mode = rmMonochrome;
  else if ((Flags & ReducePalette) && Palette && !Palette->empty())
    Mode = rmPalette;
  else if (Flags & ReduceWindows20)
    Mode = rmWindows20;
  else if (Flags & ReduceWindowsGray)
    Mode = rmWindowsGray;
  else if (Flags & ReduceWeb)
    Mode = rmNetscape;
  else if (Flags & ReduceHalftone)
    Mode = rmWindows256;
  TPalette Optimized;
  if ((Flags & ReduceOptimized255) && Mode == rmQuantize) {
    Optimized = OptimizedPalette({&Bitmap}, 255);
    Mode = rmPalette;
    Palette = &Optimized;
  }
  TBitmap Result;
  ReduceColors(Bitmap, Mode, (Flags & ReduceDither) ? dmFloydSteinberg : dmNearest, Bits, Palette, Result);
  Result.SetPixelFormat(pf24bit);
  TakePixels(Bitmap, Result);
}

void SetColorCount(TBitmap& Bitmap, int Count, bool Dither, const TPalette* Palette) {
  if (Bitmap.Empty() || Count < 2 || Count > 256) return;
  const TPixelFormat Target = IndexedFormatFor(Count);
  if (Bitmap.PixelFormat() < Target) {
    Bitmap.SetPixelFormat(Target);
    return;
  }
  TBitmap Result;
  if (Count == 2) {
    MapToPalette(Bitmap, MonochromePalette(), dmNearest, Result);
    Result.SetPixelFormat(pf1bit);
    TakePixels(Bitmap, Result);
    return;
  }
  const bool UsePalette = Palette && !Palette->empty();
  ReduceColors(Bitmap, UsePalette ? rmPalette : rmQuantize, Dither ? dmFloydSteinberg : dmNearest,
               Count > 16 || UsePalette ? 8 : 4, Palette, Result);
  TakePixels(Bitmap, Result);
  if (Count <= 16) Pack8BitTo4Bit(Bitmap);
}

void Pack8BitTo4Bit(TBitmap& Bitmap) {
  if (Bitmap.PixelFormat() != pf8bit) return;
  const TPalette Old = Bitmap.Palette();
  const TPalette New(Old.begin(), Old.begin() + static_cast<ptrdiff_t>(std::min<size_t>(Old.size(), 16)));
  // Indices of 16 and more cannot be stored: they take the nearest colour.
  uint8_t Map[256];
  for (int I = 0; I < 256; ++I) {
    const bool Fits = I < 16 || New.empty();
    const TPaletteEntry Color = I < static_cast<int>(Old.size()) ? Old[static_cast<size_t>(I)] : 0;
    Map[I] = static_cast<uint8_t>(Fits ? I & 0x0F : NearestPaletteIndex(New, PaletteEntryColor(Color)));
  }
  TBitmap Result;
  Result.SetPixelFormat(pf4bit);
  if (!New.empty()) Result.SetPalette(New);
  Result.Canvas().Brush.Color = clBlack;
  Result.SetSize(Bitmap.Width(), Bitmap.Height());
  std::vector<uint8_t> Indices(static_cast<size_t>(Bitmap.Width()));
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* S = Bitmap.ScanLine(Y);
    for (int X = 0; X < Bitmap.Width(); ++X) Indices[static_cast<size_t>(X)] = Map[S[X]];
    PackIndexRow(Indices.data(), Bitmap.Width(), pf4bit, Result.ScanLine(Y));
  }
  TakePixels(Bitmap, Result);
}

int CountColors(const TBitmap& Bitmap) {
  if (Bitmap.PixelFormat() != pf24bit) return 0;
  std::vector<uint64_t> Seen(size_t{1} << 18, 0); // one bit per 24-bit colour: 2 MB
  int Count = 0;
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const TRGB* S = RowOf(Bitmap, Y);
    for (int X = 0; X < Bitmap.Width(); ++X) {
      const uint32_t C = (static_cast<uint32_t>(S[X].Red) << 16) | (static_cast<uint32_t>(S[X].Green) << 8) | S[X].Blue;
      uint64_t& Word = Seen[C >> 6];
      const uint64_t Bit = uint64_t{1} << (C & 63);
      if (!(Word & Bit)) {
        Word |= Bit;
        ++Count;
      }
    }
  }
  return Count;
}

// ---- Transparency conversions ---------------------------------------------------

void ConvertToBitmap32(TBitmap& Bitmap) {
  if (Bitmap.PixelFormat() == pf32bit) return;
  if (!Bitmap.Transparent) {
    Bitmap.SetPixelFormat(pf32bit);
    return;
  }
  // The mask holds 255 exactly where the pixel is the transparent colour.
  TBitmap Colors, Mask;
  ExtractTransparencyMask(Bitmap, Colors, Mask);
  BitmapMaskToBitmap32(Colors, Mask, Bitmap, false);
}

int FlattenTransparency(TBitmap& Bitmap, TColor BackColor) {
  if (!Bitmap.Transparent && Bitmap.PixelFormat() != pf32bit) {
    Bitmap.SetPixelFormat(pf24bit);
    return TransparencyNone;
  }
  TBitmap Colors, Mask;
  const int Kind = ExtractTransparencyMask(Bitmap, Colors, Mask);
  NewBitmap24(Bitmap, Colors.Width(), Colors.Height(), BackColor);
  CopyRect24MaskOpacity(Colors, WholeBitmapRect, Bitmap, 0, 0, WholeBitmapRect, 100, Mask.Empty() ? nullptr : &Mask);
  return Kind;
}

void QuantizeWithMask(const TBitmap& Bitmap24, const TBitmap& Mask, TBitmap& Bitmap, bool Dither, TColor KeyColor,
                      TPaletteChoice Palette) {
  if (Bitmap24.PixelFormat() != pf24bit || Mask.PixelFormat() != pf24bit) return;
  TBitmap Out;
  Assign24(Bitmap24, Out);
  uint8_t Flags = Dither ? ReduceDither : 0;
  if (Palette.Palette())
    Flags |= ReducePalette;
  else if (Palette.Kind() == TPaletteKind::Halftone)
    Flags |= ReduceHalftone;
  else if (Palette.Kind() == TPaletteKind::Web)
    Flags |= ReduceWeb;
  else
    Flags |= ReduceOptimized255;
  ReduceColors24(Out, 256, Flags, Palette.Palette());
  FillColorByteRange24(Mask, WholeBitmapRect, Out, 0, 0, WholeBitmapRect, KeyColor, 128, 255);
  Out.SetTransparentColor(KeyColor);
  Out.Transparent = true;
  Bitmap.Swap(Out);
  Bitmap.Changed();
}

void QuantizeTransparentBitmap(const TBitmap& Bitmap, TBitmap& Result, bool Dither, const TPalette* Palette) {
  TBitmap Colors, Mask;
  TColor Key;
  if (Bitmap.PixelFormat() == pf32bit) {
    Bitmap32ToBitmapMask(Bitmap, Colors, Mask);
    Key = TransparentKeyColor;
  } else if (Bitmap.PixelFormat() == pf24bit && Bitmap.Transparent) {
    Key = Bitmap.TransparentColor();
    ExtractTransparencyMask(Bitmap, Colors, Mask);
  } else {
    return;
  }
  QuantizeWithMask(Colors, Mask, Result, Dither, Key, Palette);
}

// ---- GIF frames ---------------------------------------------------------------

void GifFrameToBitmap(TGIFImage& Gif, TBitmap& Bitmap, int Index, bool FixKey) {
  if (Gif.Frames.empty()) return;
  if (Index < 0 || Index >= static_cast<int>(Gif.Frames.size())) Index = 0;
  TGIFFrame& Frame = Gif.Frames[static_cast<size_t>(Index)];
  TPalette& Map = Gif.ActiveColorMap(Frame);
  const auto Control = Frame.GraphicControl();
  const bool Transparent = Control && Control->Transparent && Control->TransparentIndex < Map.size();
  TColor Key = clNone;
  if (Transparent) {
    const TPaletteEntry Entry = Map[Control->TransparentIndex];
    Key = PaletteEntryColor(Entry);
    if (FixKey) {
      int Occurrences = 0;
      for (size_t I = 0; I < Map.size() && Occurrences < 2; ++I)
        if ((Map[I] & 0xFFFFFF) == (Entry & 0xFFFFFF)) ++Occurrences;
      if (Occurrences >= 2) {
        Key = TransparentKeyColor;
        Map[Control->TransparentIndex] = PaletteEntry(GetRValue(TransparentKeyColor), GetGValue(TransparentKeyColor),
                                                      GetBValue(TransparentKeyColor));
      }
    }
  }
  Gif.FrameToBitmap(Index, Bitmap);
  if (Transparent) Bitmap.SetTransparentColor(Key);
  Bitmap.Transparent = Transparent;
}

void BitmapToGif(const TBitmap& Bitmap, TGIFImage& Gif, bool Dither) {
  if (Bitmap.PixelFormat() == pf32bit || (Bitmap.PixelFormat() == pf24bit && Bitmap.Transparent))
    TransparentBitmapToGif(Bitmap, Gif, Dither);
  else
    AssignGif(Bitmap, Gif, Dither);
}

void TransparentBitmapToGif(const TBitmap& Bitmap, TGIFImage& Gif, bool Dither) {
  TBitmap Quantized;
  QuantizeTransparentBitmap(Bitmap, Quantized, Dither, nullptr);
  AssignGif(Quantized.Empty() ? Bitmap : Quantized, Gif, Dither);
}

void BitmapMaskToGif(const TBitmap& Bitmap24, const TBitmap& Mask, TGIFImage& Gif, bool Dither) {
  TBitmap Quantized;
  QuantizeWithMask(Bitmap24, Mask, Quantized, Dither, TransparentKeyColor, TPaletteKind::Optimized);
  if (!Quantized.Empty()) AssignGif(Quantized, Gif, Dither);
}
