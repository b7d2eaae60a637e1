#include "extensions/GifAnimBuilder.h"

#include "document/MyImageLayered.h"
#include "files/ColorDepth.h"
#include "files/ReadLimits.h"
#include "raster/Bitmap24.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include <algorithm>
#include <cstring>

namespace {

bool MaskHasTransparency(const TBitmap* Mask) {
  if (!Mask || Mask->Empty()) return false;
  const size_t Bytes = 3 * static_cast<size_t>(Mask->Width());
  for (int Y = 0; Y < Mask->Height(); ++Y) {
    const uint8_t* Row = Mask->ScanLine(Y);
    if (std::any_of(Row, Row + Bytes, [](uint8_t V) { return V != 0; })) return true;
  }
  return false;
}

// F becomes Work, transparent in the key colour when Transparent.
void TakeKeyed(TBitmap& F, TBitmap& Work, bool Transparent) {
  F.Swap(Work);
  F.SetTransparentColor(Transparent ? TransparentKeyColor : clDefault);
  F.Transparent = Transparent;
  F.Changed();
}

bool IsPixelLayer(const TLayerItem& Item) { return Item.LayerType == ltBitmap || Item.LayerType == ltData; }

} // namespace

void ExpandToBackground(TBitmap& F, const TBitmap& Bkg, int& X, int& Y) {
  if (Bkg.Empty() || (X == 0 && Y == 0 && F.Width() == Bkg.Width() && F.Height() == Bkg.Height())) return;
  TBitmap Work;
  NewBitmap24(Work, Bkg.Width(), Bkg.Height(), TransparentKeyColor);
  CopyBitmap24(F, Work, X, Y);
  TakeKeyed(F, Work, true);
  X = Y = 0;
}

void ClipToBackground(TBitmap& F, const TBitmap& Bkg, int& X, int& Y) {
  if (Bkg.Empty()) return;
  if (X >= 0 && Y >= 0 && int64_t{X} + F.Width() <= Bkg.Width() && int64_t{Y} + F.Height() <= Bkg.Height()) return;
  const int Left = std::max(X, 0), Top = std::max(Y, 0);
  const int Right = static_cast<int>(std::min<int64_t>(int64_t{X} + F.Width(), Bkg.Width()));
  const int Bottom = static_cast<int>(std::min<int64_t>(int64_t{Y} + F.Height(), Bkg.Height()));
  TBitmap Work;
  if (Left >= Right || Top >= Bottom) {
    // Nothing of it lies on the background: one transparent pixel keeps
    // the frame (and its time) without an empty image, which the format
    // cannot hold.
    NewBitmap24(Work, 1, 1, TransparentKeyColor);
    TakeKeyed(F, Work, true);
    X = std::clamp(X, 0, Bkg.Width() - 1);
    Y = std::clamp(Y, 0, Bkg.Height() - 1);
    return;
  }
  const bool Transparent = F.Transparent;
  NewBitmap24(Work, Right - Left, Bottom - Top, TransparentKeyColor);
  CopyBitmap24(F, Work, std::min(X, 0), std::min(Y, 0));
  TakeKeyed(F, Work, Transparent);
  X = Left;
  Y = Top;
}

void AddLoopExtension(TGIFImage& Gif) {
  if (Gif.Frames.empty()) return;
  TGIFExtension Loop;
  Loop.Label = GifApplicationLabel;
  const char* Id = "NETSCAPE2.0";
  Loop.Blocks.emplace_back(Id, Id + std::strlen(Id));
  Loop.Blocks.push_back({1, 0, 0}); // sub-block 1: the loop count, 0 = forever
  auto& Extensions = Gif.Frames.front().Extensions;
  Extensions.insert(Extensions.begin(), std::move(Loop));
}

void ShareGlobalPalette(TGIFImage& Gif) {
  if (Gif.Frames.empty()) return;
  Gif.GlobalColorMap = Gif.Frames.front().ColorMap;
  for (TGIFFrame& Frame : Gif.Frames) Frame.ColorMap.clear();
}

int TGifAnimBuilder::Delay(int Index) const {
  return Index >= 0 && Index < static_cast<int>(FOptions.Delays.size()) ? FOptions.Delays[static_cast<size_t>(Index)]
                                                                        : 0;
}

void TGifAnimBuilder::MakePalette(const TMyImageLayered& Image) {
  if (!FOptions.OptimizedPalette) {
    FGifPalette = WebPaletteWithColor(TransparentKeyColor); // the key is entry 216
    return;
  }
  std::vector<const TBitmap*> Bitmaps;
  for (int I = 0; I < Image.Layers().Count(); ++I)
    if (!Image.Layers()[I].Bitmap().Empty()) Bitmaps.push_back(&Image.Layers()[I].Bitmap());
  FGifPalette = OptimizedPalette(Bitmaps, 255);
  FGifPalette.resize(255, PaletteEntry(0, 0, 0));
  FGifPalette.push_back(PaletteEntry(GetRValue(TransparentKeyColor), GetGValue(TransparentKeyColor),
                                     GetBValue(TransparentKeyColor))); // the key is entry 255
}

// F as 8 bits on the shared palette. Only the transparent pixels take the
// key entry: an opaque pixel whose nearest colour would be the key is mapped
// onto the other entries, or it would show as a hole in the animation.
void TGifAnimBuilder::ToGifPalette(TBitmap& F) const {
  const int KeyIndex = static_cast<int>(FGifPalette.size()) - 1;
  const TPalette Opaque(FGifPalette.begin(), FGifPalette.end() - 1);
  TBitmap Source;
  Assign24(F, Source);
  TBitmap Result;
  MapToPalette(Source, Opaque, dmNearest, Result);
  if (F.Transparent) {
    const TRGB Key = ColorToTRGB(F.TransparentColor());
    for (int Y = 0; Y < Source.Height(); ++Y) {
      const TRGB* S = RowOf(Source, Y);
      uint8_t* D = Result.ScanLine(Y);
      for (int X = 0; X < Source.Width(); ++X)
        if (S[X] == Key) D[X] = static_cast<uint8_t>(KeyIndex);
    }
  }
  Result.SetPalette(FGifPalette);
  const bool Transparent = F.Transparent;
  F.Swap(Result);
  F.Transparent = Transparent;
  F.SetTransparentColor(Transparent ? TransparentKeyColor : clDefault);
  F.Changed();
}

void TGifAnimBuilder::AddGifFrame(const TBitmap& Bmp, const TBitmap* Mask, const TBitmap* Bkg, TGIFImage& Gif, int X,
                                  int Y, int Index) {
  const bool HasFrames = !Gif.Frames.empty();
  const bool FullSize = FAdjustToBkgSize || (!HasFrames && Bkg);
  const bool Clip = !FullSize && HasFrames && Bkg;
  const TPalette Opaque(FGifPalette.begin(), FGifPalette.end() - 1);
  TBitmap F;
  if (FOptions.Transparent) {
    if (MaskHasTransparency(Mask)) {
      QuantizeWithMask(Bmp, *Mask, F, FOptions.Diffuse, TransparentKeyColor, TPaletteChoice(&Opaque));
      if (FullSize && Bkg)
        ExpandToBackground(F, *Bkg, X, Y);
      else if (Clip)
        ClipToBackground(F, *Bkg, X, Y);
    } else {
      Assign24(Bmp, F);
      if (Clip) ClipToBackground(F, *Bkg, X, Y);
      uint8_t Flags = FOptions.Diffuse ? ReduceDither : ReducePalette;
      if (FullSize) Flags |= ReduceOptimized255;
      ReduceColors24(F, 256, Flags, &Opaque);
      if (FullSize && Bkg) ExpandToBackground(F, *Bkg, X, Y);
    }
  } else if (!Bkg) {
    Assign24(Bmp, F);
  } else if (FullSize) {
    Assign24(*Bkg, F);
    X = Y = 0;
  } else {
    Assign24(Bmp, F);
    if (Clip) ClipToBackground(F, *Bkg, X, Y);
    // The frame shows the merged image over the layer's area.
    CopyRect24(*Bkg, Bounds(X, Y, F.Width(), F.Height()), F, 0, 0, WholeBitmapRect);
  }
  if (F.Empty()) {
    NewBitmap24(F, 1, 1, TransparentKeyColor);
    F.SetTransparentColor(TransparentKeyColor);
    F.Transparent = true;
  }
  ToGifPalette(F);
  TGIFFrame& Frame = Gif.AddFrame(F);
  if (Gif.Frames.size() == 1) FIsFullTransparent = F.Transparent;
  Frame.Left = X;
  Frame.Top = Y;
  TGIFGraphicControl Control = Frame.GraphicControl().value_or(TGIFGraphicControl{});
  Control.Delay = static_cast<uint16_t>(std::clamp(Delay(Index), 0, 65535));
  Control.Disposal = FIsFullTransparent ? 2 : 1;
  Control.Transparent = F.Transparent;
  Control.TransparentIndex = static_cast<uint8_t>(F.Transparent ? FGifPalette.size() - 1 : 0);
  Frame.SetGraphicControl(Control);
}

void TGifAnimBuilder::Build(const TMyImageLayered& Image, TGIFImage& Gif) {
  FIsFullTransparent = false;
  FAdjustToBkgSize = !FOptions.Crop;
  MakePalette(Image);
  TMyImageLayered L;
  L.Assign(&Image);
  Gif.Clear();
  TLayerList& Layers = L.Layers();
  const int N = Layers.Count();
  if (N > 0) {
    Gif.Width = Layers[0].Bitmap().Width();
    Gif.Height = Layers[0].Bitmap().Height();
  }
  for (int I = 1; I < N; ++I) {
    TLayerItem& Item = Layers[I];
    Item.Visible = false;
    if (Item.LayerType == ltData && Item.Data()) Item.Data()->PrepareBitmaps(Item);
    if (FOptions.Transparent || FOptions.Crop) L.MergeShadow(Item);
    if (FOptions.Crop && IsPixelLayer(Item)) Item.AutoCropTransparency();
  }
  for (int I = 1; I < N; ++I) {
    TLayerItem& Item = Layers[I];
    Item.Visible = true;
    if (!FOptions.Transparent) L.MergeLayersForPreview(false);
    if (Delay(I) > 0) {
      if (IsPixelLayer(Item))
        AddGifFrame(Item.Bitmap(), &Item.Mask(), &L.Bitmap(), Gif, Item.Pos.X, Item.Pos.Y, I);
      else
        AddGifFrame(L.Bitmap(), nullptr, nullptr, Gif, 0, 0, I);
    }
    if (FOptions.RestoreBkg || FOptions.Transparent) Item.Visible = false;
  }
  if (FOptions.Loop) AddLoopExtension(Gif);
  ShareGlobalPalette(Gif);
  AddGifComment(Gif, QString::fromLatin1(GifAnimComment));
}

void TGifAnimBuilder::BuildAnimatedGif(const TMyImageLayered& Image, const QString& FileName) {
  TGIFImage Gif;
  Build(Image, Gif);
  if (Gif.ImageCount() == 0) InvalidGraphic(FileName, "GIF: no layer gives a frame");
  Gif.SaveToFile(FileName);
}
