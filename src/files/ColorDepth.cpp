#include "files/ColorDepth.h"

#include "files/BitmapRows.h"
#include "files/IconStream.h"
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

// ---- Pictures -----------------------------------------------------------------

void DrawGraphicToBitmap(const TGraphic& Graphic, TBitmap& Bitmap) {
  if (const auto* Icon = dynamic_cast<const TIconGraphic*>(&Graphic)) {
    IconToBitmap(Icon->Icon, Bitmap);
    return;
  }
  Bitmap.ReleaseImage();
  Bitmap.SetPixelFormat(pf24bit);
  const bool Transparent = Graphic.Transparent();
  if (Transparent) Bitmap.Canvas().Brush.Color = TransparentKeyColor;
  Bitmap.SetSize(Graphic.Width(), Graphic.Height());
  Graphic.Draw(Bitmap, 0, 0);
  Bitmap.SetTransparentColor(Transparent ? TransparentKeyColor : clDefault);
  Bitmap.Transparent = Transparent;
  Bitmap.Changed();
}

// ---- GIF frames ---------------------------------------------------------------

namespace {

// The logical screen while the frames are played: per pixel -1 where nothing
// shows (transparent), else a palette index (indexed mode) or a colour.
constexpr int32_t NoCell = -1;

struct TGifScreen {
  int Width = 0;
  int Height = 0;
  std::vector<int32_t> Cells;
};

// The part of the frame that lies on the screen; frames that reach beyond it
// are cut, never trusted.
TRect FrameOnScreen(const TGIFFrame& Frame, const TGifScreen& Screen) {
  if (Frame.Empty() || Frame.Pixels.size() != static_cast<size_t>(Frame.Width) * static_cast<size_t>(Frame.Height))
    return {};
  const int64_t Right = std::min<int64_t>(int64_t{Frame.Left} + Frame.Width, Screen.Width);
  const int64_t Bottom = std::min<int64_t>(int64_t{Frame.Top} + Frame.Height, Screen.Height);
  const int Left = std::max(Frame.Left, 0), Top = std::max(Frame.Top, 0);
  if (Left >= Right || Top >= Bottom) return {};
  return TRect{Left, Top, static_cast<int>(Right), static_cast<int>(Bottom)};
}

// The transparent index of a frame when its graphic control extension sets
// one inside the active map; -1 otherwise (an index outside the map never
// made anything transparent).
int TransparentIndexOf(const TGIFFrame& Frame, const TPalette& Map) {
  const auto Control = Frame.GraphicControl();
  return Control && Control->Transparent && Control->TransparentIndex < Map.size() ? Control->TransparentIndex : -1;
}

// Draws the frame's pixels but its transparent ones, each as Value(index).
template <class F> void DrawFrame(TGifScreen& Screen, const TGIFFrame& Frame, int Transparent, F&& Value) {
  const TRect R = FrameOnScreen(Frame, Screen);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const uint8_t* Src = Frame.Pixels.data() + static_cast<size_t>(Y - Frame.Top) * static_cast<size_t>(Frame.Width);
    int32_t* Dst = Screen.Cells.data() + static_cast<size_t>(Y) * static_cast<size_t>(Screen.Width);
    for (int X = R.Left; X < R.Right; ++X) {
      const int Index = Src[X - Frame.Left];
      if (Index != Transparent) Dst[X] = Value(Index);
    }
  }
}

void FillCells(TGifScreen& Screen, const TRect& R, const std::vector<int32_t>* From) {
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    int32_t* Dst = Screen.Cells.data() + static_cast<size_t>(Y) * static_cast<size_t>(Screen.Width);
    for (int X = R.Left; X < R.Right; ++X)
      Dst[X] = From ? (*From)[static_cast<size_t>(Y - R.Top) * static_cast<size_t>(R.Right - R.Left) +
                              static_cast<size_t>(X - R.Left)]
                    : NoCell;
  }
}

// Plays frames 0..Index onto an empty screen: the frames before Index are
// disposed of as their graphic control extension says (2 clears their
// rectangle, 3 puts back what lay under it, anything else leaves them).
template <class F> void PlayFrames(const TGIFImage& Gif, int Index, TGifScreen& Screen, F&& Value) {
  Screen.Cells.assign(static_cast<size_t>(Screen.Width) * static_cast<size_t>(Screen.Height), NoCell);
  std::vector<int32_t> Saved;
  for (int K = 0; K <= Index; ++K) {
    const TGIFFrame& Frame = Gif.Frames[static_cast<size_t>(K)];
    const TRect R = FrameOnScreen(Frame, Screen);
    if (R.Right <= R.Left) continue;
    const auto Control = Frame.GraphicControl();
    const int Disposal = K < Index && Control ? Control->Disposal : 0;
    if (Disposal == 3) {
      Saved.clear();
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const int32_t* Row = Screen.Cells.data() + static_cast<size_t>(Y) * static_cast<size_t>(Screen.Width);
        Saved.insert(Saved.end(), Row + R.Left, Row + R.Right);
      }
    }
    const TPalette& Map = Gif.ActiveColorMap(Frame);
    DrawFrame(Screen, Frame, TransparentIndexOf(Frame, Map), [&](int I) { return Value(Map, I); });
    if (Disposal == 2) FillCells(Screen, R, nullptr);
    if (Disposal == 3) FillCells(Screen, R, &Saved);
  }
}

// The logical screen of the file; a GIF made in memory without one spans its
// frames.
void ScreenSize(const TGIFImage& Gif, TGifScreen& Screen) {
  Screen.Width = Gif.Width;
  Screen.Height = Gif.Height;
  if (Screen.Width > 0 && Screen.Height > 0) return;
  Screen.Width = Screen.Height = 0;
  for (const TGIFFrame& F : Gif.Frames)
    if (!F.Empty()) {
      Screen.Width = std::max(Screen.Width, F.Left + F.Width);
      Screen.Height = std::max(Screen.Height, F.Top + F.Height);
    }
}

bool HasCell(const TGifScreen& Screen, int32_t Value) {
  return std::find(Screen.Cells.begin(), Screen.Cells.end(), Value) != Screen.Cells.end();
}

void TakeScreenBitmap(TBitmap& Bitmap, TBitmap& Out, bool Transparent, TColor Key) {
  Bitmap.Swap(Out);
  Bitmap.Transparent = Transparent;
  Bitmap.SetTransparentColor(Transparent ? Key : clDefault);
  Bitmap.Changed();
}

} // namespace

void GifFrameToBitmap(TGIFImage& Gif, TBitmap& Bitmap, int Index, bool FixKey) {
  if (Gif.Frames.empty()) return;
  if (Index < 0 || Index >= static_cast<int>(Gif.Frames.size())) Index = 0;
  TGifScreen Screen;
  ScreenSize(Gif, Screen);
  if (Screen.Width <= 0 || Screen.Height <= 0) return;

  TGIFFrame& Frame = Gif.Frames[static_cast<size_t>(Index)];
  TPalette& Map = Gif.ActiveColorMap(Frame);
  const int KeyIndex = TransparentIndexOf(Frame, Map);
  const TPaletteEntry KeyEntry =
      PaletteEntry(GetRValue(TransparentKeyColor), GetGValue(TransparentKeyColor), GetBValue(TransparentKeyColor));
  // With FixKey a key colour that the map holds twice is replaced by the
  // program's key colour, in the map too, so that the transparent pixels
  // alone carry it.
  bool Fix = false;
  if (KeyIndex >= 0 && FixKey) {
    int Occurrences = 0;
    for (size_t I = 0; I < Map.size() && Occurrences < 2; ++I)
      if ((Map[I] & 0xFFFFFF) == (Map[static_cast<size_t>(KeyIndex)] & 0xFFFFFF)) ++Occurrences;
    Fix = Occurrences >= 2;
  }

  // Indexed when every frame played shares the shown frame's colours; the
  // screen's empty pixels then take the transparent index, or a key entry
  // added to the map.
  bool Indexed = true;
  for (int K = 0; K < Index && Indexed; ++K)
    if (!Gif.Frames[static_cast<size_t>(K)].Empty())
      Indexed = Gif.ActiveColorMap(Gif.Frames[static_cast<size_t>(K)]) == Map;
  if (Indexed) {
    PlayFrames(Gif, Index, Screen, [](const TPalette&, int I) { return I; });
    const bool Holes = HasCell(Screen, NoCell);
    // A pixel an earlier frame left with the transparent index must keep its
    // colour: the key index then cannot stand for the empty pixels.
    if (KeyIndex >= 0 && Index > 0 && HasCell(Screen, KeyIndex)) Indexed = false;
    int32_t MaxIndex = static_cast<int32_t>(Map.size()) - 1;
    for (int32_t C : Screen.Cells) MaxIndex = std::max(MaxIndex, C);
    if (Holes && KeyIndex < 0 && MaxIndex >= 255) Indexed = false;
    if (Indexed) {
      if (Fix) Map[static_cast<size_t>(KeyIndex)] = KeyEntry;
      TPalette Colors = Map;
      Colors.resize(static_cast<size_t>(MaxIndex) + 1, PaletteEntry(0, 0, 0));
      int32_t HoleIndex = KeyIndex;
      if (Holes && KeyIndex < 0) {
        HoleIndex = static_cast<int32_t>(Colors.size());
        Colors.push_back(KeyEntry);
      }
      TBitmap Out;
      Out.SetPixelFormat(pf8bit);
      Out.SetPalette(Colors);
      Out.SetSize(Screen.Width, Screen.Height);
      for (int Y = 0; Y < Screen.Height; ++Y) {
        const int32_t* Src = Screen.Cells.data() + static_cast<size_t>(Y) * static_cast<size_t>(Screen.Width);
        uint8_t* Dst = Out.ScanLine(Y);
        for (int X = 0; X < Screen.Width; ++X) Dst[X] = static_cast<uint8_t>(Src[X] == NoCell ? HoleIndex : Src[X]);
      }
      const bool Transparent = HoleIndex >= 0;
      TakeScreenBitmap(Bitmap, Out, Transparent,
                       Transparent ? PaletteEntryColor(Colors[static_cast<size_t>(HoleIndex)]) : clNone);
      return;
    }
  }

  // Frames of several colour maps meet: 24-bit, the empty pixels in the key
  // colour.
  PlayFrames(Gif, Index, Screen, [](const TPalette& Colors, int I) {
    return static_cast<int32_t>(
        I < static_cast<int>(Colors.size()) ? PaletteEntryColor(Colors[static_cast<size_t>(I)]) & 0xFFFFFF : clBlack);
  });
  if (Fix) Map[static_cast<size_t>(KeyIndex)] = KeyEntry;
  TBitmap Out(Screen.Width, Screen.Height, pf24bit, TransparentKeyColor);
  const TRGB Key = ColorToTRGB(TransparentKeyColor);
  for (int Y = 0; Y < Screen.Height; ++Y) {
    const int32_t* Src = Screen.Cells.data() + static_cast<size_t>(Y) * static_cast<size_t>(Screen.Width);
    TRGB* Dst = RowOf(Out, Y);
    for (int X = 0; X < Screen.Width; ++X) Dst[X] = Src[X] == NoCell ? Key : ColorToTRGB(static_cast<TColor>(Src[X]));
  }
  TakeScreenBitmap(Bitmap, Out, KeyIndex >= 0 || HasCell(Screen, NoCell), TransparentKeyColor);
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
