#include "ui/GlyphUtils.h"

#include "filters/Filtres24.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/Pixels.h"
#include "ui/UtilsDPI.h"

#include <cstring>

namespace {

// Source image drawn over the key colour, as 24 bits.
void OnKeyColor(const QImage& Image, TBitmap& B) {
  const QImage Argb = Image.convertToFormat(QImage::Format_ARGB32);
  NewBitmap24(B, Argb.width(), Argb.height(), GlyphKeyColor);
  const TRGB Key = ColorToTRGB(GlyphKeyColor);
  for (int Y = 0; Y < Argb.height(); ++Y) {
    const auto* In = reinterpret_cast<const QRgb*>(Argb.constScanLine(Y));
    TRGB* Out = RowOf(B, Y);
    for (int X = 0; X < Argb.width(); ++X) {
      const int A = qAlpha(In[X]);
      // Source over the key: c = (s x a + k x (255 - a)) / 255, rounded.
      const auto Over = [A](int S, int K) { return static_cast<uint8_t>((S * A + K * (255 - A) + 127) / 255); };
      Out[X] = {Over(qBlue(In[X]), Key.Blue), Over(qGreen(In[X]), Key.Green), Over(qRed(In[X]), Key.Red)};
    }
  }
}

// Copies Src into Dst at column X (rows from the top), clipped to Dst.
void PutColumns24(const TBitmap& Src, TBitmap& Dst, int X) {
  const int Width = std::min(Src.Width(), Dst.Width() - X);
  const int Height = std::min(Src.Height(), Dst.Height());
  for (int Y = 0; Y < Height && Width > 0; ++Y)
    std::memcpy(RowOf(Dst, Y) + X, RowOf(Src, Y), static_cast<size_t>(Width) * sizeof(TRGB));
}

enum class TListLook { Scaled, Disabled };

struct TListParams {
  TListLook Look;
  TColor BlendColor; // scaled: the colour the key becomes
  TColor NewKey;     // disabled: the colour the key becomes
  TColor TintColor;
  int TintPercent;
  int LightenPercent;
  bool Shadow;
};

TImageList MakeImageList(std::span<const QImage> List, int Size, const TListParams& P, std::span<const int> Indices) {
  TImageList Result;
  if (Size <= 0) return Result;
  std::vector<int> All;
  if (Indices.empty()) {
    for (int I = 0; I < static_cast<int>(List.size()); ++I) All.push_back(I);
    Indices = All;
  }
  TBitmap Bmp, Mask, ScratchBmp, ScratchMask, Dst;
  for (const int Index : Indices) {
    if (Index < 0 || Index >= static_cast<int>(List.size())) continue;
    OnKeyColor(List[Index], Bmp);
    MaskFromColor(Bmp, Mask, GlyphKeyColor, GlyphKeyTolerance, true, WholeBitmapRect);
    if (P.Look == TListLook::Scaled)
      ReplaceColor24(Bmp, GlyphKeyColor, P.BlendColor, GlyphKeyTolerance, WholeBitmapRect);
    else
      TintBitmapEx(Bmp, GlyphKeyColor, P.NewKey, P.TintColor, P.TintPercent, P.LightenPercent);
    ScaleGlyphToAlpha32(Size, Bmp, Mask, ScratchBmp, ScratchMask, Dst, P.Shadow);
    Result.push_back(Dst.QImageView().copy());
  }
  return Result;
}

} // namespace

void MaskToAlpha32(const TBitmap& Src, const TBitmap& Mask, TBitmap& Dst) {
  const int W = std::min(Src.Width(), Mask.Width());
  const int H = std::min(Src.Height(), Mask.Height());
  if (Dst.PixelFormat() != pf32bit) Dst.SetPixelFormat(pf32bit);
  if (Dst.Width() != W || Dst.Height() != H) Dst.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    const TRGB* S = RowOf(Src, Y);
    const TRGB* M = RowOf(Mask, Y);
    uint8_t* D = Dst.ScanLine(Y);
    for (int X = 0; X < W; ++X, D += 4) {
      const bool Transparent = M[X].Blue == 255;
      D[0] = Transparent ? 0 : S[X].Blue;
      D[1] = Transparent ? 0 : S[X].Green;
      D[2] = Transparent ? 0 : S[X].Red;
      D[3] = static_cast<uint8_t>(255 - M[X].Blue);
    }
  }
}

void ScaleGlyphToAlpha32(int Size, const TBitmap& Src, const TBitmap& Mask, TBitmap& ScratchBmp, TBitmap& ScratchMask,
                         TBitmap& Dst, bool Shadow) {
  StretchBitmap(Size, Size, TStretchMode::smBicubic, Src, ScratchBmp);
  StretchBitmap(Size, Size, TStretchMode::smBilinear, Mask, ScratchMask);
  if (Shadow) {
    // The mask painted through a copy of itself (never through the pixels
    // it is writing), one pixel right and down: a faint drop shadow.
    TBitmap Copy;
    Copy.Assign(ScratchMask);
    const TRect All{0, 0, Size, Size};
    FillColorMask24(Copy, All, ScratchMask, 1, 1, All, clBlack, 20);
  }
  MaskToAlpha32(ScratchBmp, ScratchMask, Dst);
}

TImageList MakeScaledImageList(std::span<const QImage> List, int Size, TColor BlendColor, bool Shadow,
                               std::span<const int> Indices) {
  return MakeImageList(List, Size, {TListLook::Scaled, BlendColor, clBlack, clBlack, 0, 0, Shadow}, Indices);
}

TImageList MakeDisabledImageList(std::span<const QImage> List, int Size, TColor NewKey, TColor TintColor,
                                 int TintPercent, int LightenPercent, bool Shadow, std::span<const int> Indices) {
  return MakeImageList(List, Size,
                       {TListLook::Disabled, clBlack, NewKey, TintColor, TintPercent, LightenPercent, Shadow}, Indices);
}

void MakeScaledGlyph(int W, int H, TBitmap& Src, TBitmap& Dst, bool WithDisabled, TColor BlendColor) {
  if (Src.Empty() || W <= 0 || H <= 0) return;
  if (Src.PixelFormat() != pf24bit) Src.SetPixelFormat(pf24bit);
  const TColor Key = Src.PixelColor(0, 0);
  TBitmap Mask;
  MaskFromColor(Src, Mask, Key, GlyphKeyTolerance, true, WholeBitmapRect);
  StretchBitmapInPlace(W, H, TStretchMode::smBilinear, Mask);
  ReplaceColor24(Src, Key, BlendColor, GlyphKeyTolerance, WholeBitmapRect);
  TBitmap Scaled;
  StretchBitmap(W, H, TStretchMode::smBicubic, Src, Scaled);
  // The transparent areas keep a crisp key; only the edges are smooth.
  const TRect All{0, 0, W, H};
  FillColorByteRange24(Mask, All, Scaled, 0, 0, All, Key, 248, 255);
  NewBitmap24(Dst, W * (WithDisabled ? 2 : 1), H, clWhite);
  PutColumns24(Scaled, Dst, 0);
  if (WithDisabled) {
    TintBitmap(Scaled, Key, BlendColor, 50);
    PutColumns24(Scaled, Dst, W);
  }
}

bool ScaleSpeedButtonGlyph(TButtonGlyph& Button, bool Force, TColor BlendColor) {
  TBitmap& Glyph = Button.Glyph;
  if (Glyph.Empty() || Button.NumGlyphs <= 0) return false;
  const int H = ScaleByDPI(Glyph.Height());
  if (H == Glyph.Height() && !Force) return false;
  const int Count = Button.NumGlyphs;
  const int W = ScaleByDPI(Glyph.Width()) / Count;
  const bool WithDisabled = Force || Count > 1;
  // Only the first image of a strip is the picture; the others were its
  // looks, which the new strip makes again.
  TBitmap First(std::max(1, Glyph.Width() / Count), Glyph.Height(), pf24bit, clWhite);
  TBitmap Whole;
  Whole.Assign(Glyph);
  Whole.SetPixelFormat(pf24bit);
  for (int Y = 0; Y < First.Height(); ++Y)
    std::memcpy(RowOf(First, Y), RowOf(Whole, Y), static_cast<size_t>(First.Width()) * sizeof(TRGB));
  TBitmap Strip;
  MakeScaledGlyph(W, H, First, Strip, WithDisabled, BlendColor);
  if (Strip.Empty()) return false;
  Glyph.Assign(Strip);
  Button.NumGlyphs = WithDisabled ? 2 : 1;
  return true;
}
