#include "extensions/GifAnimBuilder.h"

#include "document/MyImageLayered.h"
#include "raster/Transparency.h"

#include <QTemporaryDir>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Web-safe colours: the web palette holds them exactly.
constexpr TColor Bkg = 0x333333, Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

// A GIF file as giflib reads it.
struct TReadGif {
  GifFileType* Gif = nullptr;
  explicit TReadGif(const QString& Name) {
    int Error = 0;
    Gif = DGifOpenFileName(Name.toLocal8Bit().constData(), &Error);
    if (Gif && DGifSlurp(Gif) != GIF_OK) {
      DGifCloseFile(Gif, &Error);
      Gif = nullptr;
    }
  }
  ~TReadGif() {
    int Error = 0;
    if (Gif) DGifCloseFile(Gif, &Error);
  }
  int Count() const { return Gif->ImageCount; }
  const GifImageDesc& Desc(int I) const { return Gif->SavedImages[I].ImageDesc; }
  GraphicsControlBlock Control(int I) const {
    GraphicsControlBlock C{};
    DGifSavedExtensionToGCB(Gif, I, &C);
    return C;
  }
  // The colour of a frame's pixel (X, Y in the frame) through the global map.
  TColor Pixel(int I, int X, int Y) const {
    const SavedImage& S = Gif->SavedImages[I];
    const GifColorType C = Gif->SColorMap->Colors[Index(I, X, Y)];
    EXPECT_EQ(S.ImageDesc.ColorMap, nullptr);
    return RGB(C.Red, C.Green, C.Blue);
  }
  int Index(int I, int X, int Y) const {
    const SavedImage& S = Gif->SavedImages[I];
    return S.RasterBits[Y * S.ImageDesc.Width + X];
  }
  bool HasLoop() const {
    const SavedImage& S = Gif->SavedImages[0];
    for (int E = 0; E + 1 < S.ExtensionBlockCount; ++E) {
      const ExtensionBlock& B = S.ExtensionBlocks[E];
      if (B.Function == APPLICATION_EXT_FUNC_CODE && B.ByteCount == 11 && !std::memcmp(B.Bytes, "NETSCAPE2.0", 11)) {
        const ExtensionBlock& Count = S.ExtensionBlocks[E + 1];
        return Count.ByteCount == 3 && Count.Bytes[0] == 1 && Count.Bytes[1] == 0 && Count.Bytes[2] == 0;
      }
    }
    return false;
  }
  std::string Comment() const {
    for (int E = 0; E < Gif->ExtensionBlockCount; ++E)
      if (Gif->ExtensionBlocks[E].Function == COMMENT_EXT_FUNC_CODE)
        return std::string(reinterpret_cast<const char*>(Gif->ExtensionBlocks[E].Bytes),
                           static_cast<size_t>(Gif->ExtensionBlocks[E].ByteCount));
    return {};
  }
  TColor MapEntry(int I) const {
    const GifColorType C = Gif->SColorMap->Colors[I];
    return RGB(C.Red, C.Green, C.Blue);
  }
};

class GifAnimBuilderTest : public ::testing::Test {
protected:
  // A 20 x 10 background and three opaque 4 x 4 layers at (2, 2), (8, 2)
  // and (14, 2).
  void SetUp() override {
    Image.AddBackground(20, 10, Bkg, "#0");
    Image.AddLayer(4, 4, Red, {2, 2}, 100, "#1");
    Image.AddLayer(4, 4, Green, {8, 2}, 100, "#2");
    Image.AddLayer(4, 4, Blue, {14, 2}, 100, "#3");
  }
  std::unique_ptr<TReadGif> Build(const TGifAnimOptions& Options) {
    TGifAnimBuilder Builder(Options);
    const QString Name = Dir.filePath("anim.gif");
    Builder.BuildAnimatedGif(Image, Name);
    FullTransparent = Builder.IsFullTransparent();
    auto Gif = std::make_unique<TReadGif>(Name);
    EXPECT_NE(Gif->Gif, nullptr);
    return Gif;
  }
  // Layer 1 gets a mask whose left half is transparent.
  void MaskFirstLayer() {
    TBitmap& M = Image.Layers()[1].Mask();
    M.Assign(TBitmap(4, 4, pf24bit, clBlack));
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 2; ++X) M.Canvas().SetPixels(X, Y, clWhite);
  }

  QTemporaryDir Dir;
  TMyImageLayered Image;
  bool FullTransparent = false;
};

TEST_F(GifAnimBuilderTest, LayersOfTimeZeroAreLeftOutAndTheFileCarriesTimesLoopPaletteAndComment) {
  TGifAnimOptions O;
  O.Delays = {100, 100, 0, 50};
  const auto Gif = Build(O);
  ASSERT_EQ(Gif->Count(), 2);
  EXPECT_EQ(Gif->Control(0).DelayTime, 100);
  EXPECT_EQ(Gif->Control(1).DelayTime, 50);
  EXPECT_TRUE(Gif->HasLoop());
  EXPECT_EQ(Gif->Gif->SWidth, 20);
  EXPECT_EQ(Gif->Gif->SHeight, 10);
  ASSERT_NE(Gif->Gif->SColorMap, nullptr);
  EXPECT_EQ(Gif->MapEntry(216), TransparentKeyColor) << "the web palette's key entry";
  EXPECT_EQ(Gif->Comment(), "Animation Lumaretique Studio\r\n");
  for (int I = 0; I < 2; ++I) {
    EXPECT_EQ(Gif->Control(I).DisposalMode, DISPOSE_DO_NOT);
    EXPECT_EQ(Gif->Control(I).TransparentColor, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(Gif->Desc(I).Left, 0);
    EXPECT_EQ(Gif->Desc(I).Width, 20);
    EXPECT_EQ(Gif->Desc(I).Height, 10);
  }
  // Layer 2, left out, still shows under the frames that follow it.
  EXPECT_EQ(Gif->Pixel(1, 3, 3), Red);
  EXPECT_EQ(Gif->Pixel(1, 9, 3), Green);
  EXPECT_EQ(Gif->Pixel(1, 15, 3), Blue);
  EXPECT_EQ(Gif->Pixel(0, 15, 3), Bkg);
  EXPECT_EQ(Image.Layers()[2].Visible, true) << "the image itself is left alone";

  O.Loop = false;
  EXPECT_FALSE(Build(O)->HasLoop());
}

TEST_F(GifAnimBuilderTest, FramesBuildOnEachOtherOrRestoreTheBackground) {
  TGifAnimOptions O;
  O.Delays = {100, 10, 20, 30};
  for (const bool Restore : {false, true}) {
    SCOPED_TRACE(Restore);
    O.RestoreBkg = Restore;
    const auto Gif = Build(O);
    ASSERT_EQ(Gif->Count(), 3);
    const TColor Colors[3] = {Red, Green, Blue};
    for (int K = 0; K < 3; ++K)
      for (int L = 0; L < 3; ++L)
        EXPECT_EQ(Gif->Pixel(K, 3 + 6 * L, 3), L == K || (L < K && !Restore) ? Colors[L] : Bkg) << K << " " << L;
  }
}

TEST_F(GifAnimBuilderTest, TransparentFramesShowTheLayersAloneAndRestoreTheBackground) {
  MaskFirstLayer();
  TGifAnimOptions O;
  O.Delays = {100, 100, 100, 0};
  O.Transparent = true;
  const auto Gif = Build(O);
  EXPECT_TRUE(FullTransparent);
  ASSERT_EQ(Gif->Count(), 2);
  for (int I = 0; I < 2; ++I) {
    const GraphicsControlBlock C = Gif->Control(I);
    EXPECT_EQ(C.DisposalMode, DISPOSE_BACKGROUND);
    EXPECT_EQ(Gif->Desc(I).Width, 20);
    EXPECT_EQ(Gif->Desc(I).Left, 0);
  }
  EXPECT_EQ(Gif->Control(0).TransparentColor, 216);
  EXPECT_EQ(Gif->Index(0, 0, 0), 216) << "outside the layer";
  EXPECT_EQ(Gif->Index(0, 2, 2), 216) << "the layer's transparent half";
  EXPECT_EQ(Gif->Pixel(0, 4, 2), Red);
  EXPECT_EQ(Gif->Index(1, 3, 3), 216) << "the first layer is hidden again";
  EXPECT_EQ(Gif->Pixel(1, 9, 3), Green);
}

TEST_F(GifAnimBuilderTest, CroppedFramesCoverOnlyTheLayersClippedToTheBackground) {
  // Layer 2 has a transparent margin; layer 3 reaches beyond the right edge.
  TLayerItem& Second = Image.Layers()[2];
  Second.Mask().Assign(TBitmap(4, 4, pf24bit, clWhite));
  Second.Mask().Canvas().SetPixels(1, 2, clBlack);
  Second.Mask().Canvas().SetPixels(2, 2, clBlack);
  Image.Layers()[3].Pos = {18, 2};
  TGifAnimOptions O;
  O.Delays = {100, 10, 20, 30};
  O.Crop = true;
  const auto Gif = Build(O);
  ASSERT_EQ(Gif->Count(), 3);
  EXPECT_EQ(Gif->Desc(0).Width, 20) << "the first frame covers the background";
  EXPECT_EQ(Gif->Desc(1).Left, 9);
  EXPECT_EQ(Gif->Desc(1).Top, 4);
  EXPECT_EQ(Gif->Desc(1).Width, 2);
  EXPECT_EQ(Gif->Desc(1).Height, 1);
  EXPECT_EQ(Gif->Pixel(1, 0, 0), Green);
  EXPECT_EQ(Gif->Desc(2).Left, 18);
  EXPECT_EQ(Gif->Desc(2).Width, 2);
  EXPECT_EQ(Gif->Desc(2).Height, 4);
  EXPECT_EQ(Gif->Pixel(2, 1, 3), Blue);
}

TEST_F(GifAnimBuilderTest, ALayerWhollyOutsideKeepsItsTimeInOneTransparentPixel) {
  Image.Layers()[2].Pos = {40, 2};
  TGifAnimOptions O;
  O.Delays = {100, 10, 20, 30};
  O.Crop = true;
  O.Transparent = true;
  const auto Gif = Build(O);
  ASSERT_EQ(Gif->Count(), 3);
  EXPECT_EQ(Gif->Desc(1).Width, 1);
  EXPECT_EQ(Gif->Desc(1).Height, 1);
  EXPECT_EQ(Gif->Control(1).DelayTime, 20);
  EXPECT_EQ(Gif->Index(1, 0, 0), Gif->Control(1).TransparentColor);
  EXPECT_EQ(Gif->Control(2).DelayTime, 30);
}

TEST_F(GifAnimBuilderTest, OptimisedPaletteKeepsTheKeyLastAndOpaquePixelsNearItStayOpaque) {
  // An opaque layer of a colour next to the key: it must not become a hole.
  Image.Layers()[1].Bitmap().Canvas().Brush.Color = 0xDBECCD;
  Image.Layers()[1].Bitmap().Canvas().FillRect(Bounds(0, 0, 4, 4));
  MaskFirstLayer();
  TGifAnimOptions O;
  O.Delays = {100, 100, 0, 0};
  O.Transparent = true;
  for (const bool Optimized : {false, true}) {
    SCOPED_TRACE(Optimized);
    O.OptimizedPalette = Optimized;
    const auto Gif = Build(O);
    const int Key = Optimized ? 255 : 216;
    EXPECT_EQ(Gif->MapEntry(Key), TransparentKeyColor);
    EXPECT_EQ(Gif->Control(0).TransparentColor, Key);
    EXPECT_EQ(Gif->Index(0, 2, 2), Key);
    for (int X = 4; X < 6; ++X) EXPECT_NE(Gif->Index(0, X, 3), Key);
  }
}

TEST_F(GifAnimBuilderTest, AnImageWithoutFramesIsAnError) {
  TGifAnimOptions O;
  O.Delays = {100, 0, 0, 0};
  TGifAnimBuilder Builder(O);
  EXPECT_ANY_THROW(Builder.BuildAnimatedGif(Image, Dir.filePath("none.gif")));
  EXPECT_FALSE(QFile::exists(Dir.filePath("none.gif")));
}

} // namespace
