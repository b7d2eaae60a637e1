#include "ui/GlyphUtils.h"

#include "raster/Pixels.h"
#include "ui/UtilsDPI.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A transparent Size x Size image with an opaque square of Color.
QImage Square(int Size, QRect Block, QColor Color) {
  QImage Image(Size, Size, QImage::Format_ARGB32);
  Image.fill(Qt::transparent);
  QPainter(&Image).fillRect(Block, Color);
  return Image;
}

// A 24-bit bitmap of Key with a Fill block.
void Glyph(TBitmap& B, int W, int H, TColor Key, const TRect& Block, TColor Fill) {
  TBitmap Fresh(W, H, pf24bit, Key);
  for (int Y = Block.Top; Y < Block.Bottom; ++Y)
    for (int X = Block.Left; X < Block.Right; ++X) RowOf(Fresh, Y)[X] = ColorToTRGB(Fill);
  B.Swap(Fresh);
}

class ScreenDpi {
public:
  explicit ScreenDpi(int Dpi) : FOld(ScreenPixelsPerInch()) { SetScreenPixelsPerInch(Dpi); }
  ~ScreenDpi() { SetScreenPixelsPerInch(FOld); }

private:
  int FOld;
};

} // namespace

TEST(GlyphUtils, MaskToAlpha32BlacksOutTheTransparentPixels) {
  TBitmap Src(3, 1, pf24bit, RGB(10, 20, 30)), Mask(3, 1, pf24bit, clBlack), Dst;
  RowOf(Mask, 0)[0] = {255, 255, 255};
  RowOf(Mask, 0)[1] = {100, 100, 100};
  MaskToAlpha32(Src, Mask, Dst);
  ASSERT_EQ(Dst.PixelFormat(), pf32bit);
  const uint8_t* P = Dst.ScanLine(0);
  const uint8_t Expected[] = {0, 0, 0, 0, 30, 20, 10, 155, 30, 20, 10, 255}; // B, G, R, A
  for (int I = 0; I < 12; ++I) EXPECT_EQ(P[I], Expected[I]) << I;
}

TEST(GlyphUtils, AllKeyImageIsFullyTransparentInBothLists) {
  QImage Empty(16, 16, QImage::Format_ARGB32);
  Empty.fill(Qt::transparent);
  const QImage List[] = {Empty};
  for (const bool Shadow : {false, true}) {
    const TImageList Lists[] = {MakeScaledImageList(List, 24, clBlack, Shadow),
                                MakeDisabledImageList(List, 24, clBlack, clWhite, 40, 20, Shadow)};
    for (const TImageList& L : Lists) {
      ASSERT_EQ(L.size(), 1u);
      ASSERT_EQ(L[0].size(), QSize(24, 24));
      for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 24; ++X) ASSERT_EQ(L[0].pixel(X, Y), 0u) << X << "," << Y << " shadow " << Shadow;
    }
  }
}

TEST(GlyphUtils, ShadowGivesTheEdgeBelowAndRightALittleOpacity) {
  const QImage List[] = {Square(16, QRect(4, 4, 6, 6), Qt::red)};
  const TImageList Plain = MakeScaledImageList(List, 16, clBlack, false);
  const TImageList Shadowed = MakeScaledImageList(List, 16, clBlack, true);
  // The block itself is opaque red in both.
  EXPECT_EQ(Plain[0].pixel(6, 6), qRgba(255, 0, 0, 255));
  EXPECT_EQ(Shadowed[0].pixel(6, 6), qRgba(255, 0, 0, 255));
  // Just right of it and just below it: transparent, or a faint shadow.
  for (const QPoint P : {QPoint(10, 6), QPoint(6, 10), QPoint(10, 10)}) {
    EXPECT_EQ(qAlpha(Plain[0].pixel(P)), 0) << P.x() << "," << P.y();
    EXPECT_GT(qAlpha(Shadowed[0].pixel(P)), 30) << P.x() << "," << P.y();
    EXPECT_LT(qAlpha(Shadowed[0].pixel(P)), 80) << P.x() << "," << P.y();
  }
  // Left of it and above it nothing changes.
  EXPECT_EQ(qAlpha(Shadowed[0].pixel(3, 6)), 0);
  EXPECT_EQ(qAlpha(Shadowed[0].pixel(6, 3)), 0);
}

TEST(GlyphUtils, DisabledLookIsTintedGreyAndIndicesChooseTheImages) {
  const QImage List[] = {Square(16, QRect(0, 0, 16, 16), Qt::blue), Square(16, QRect(0, 0, 16, 16), Qt::red),
                         Square(16, QRect(0, 0, 16, 16), Qt::green)};
  const int Indices[] = {1, 7, 0};
  const TImageList Scaled = MakeScaledImageList(List, 16, clBlack, false, Indices);
  ASSERT_EQ(Scaled.size(), 2u); // 7 is not in the list
  EXPECT_EQ(Scaled[0].pixel(8, 8), qRgba(255, 0, 0, 255));
  EXPECT_EQ(Scaled[1].pixel(8, 8), qRgba(0, 0, 255, 255));
  // Red: grey (0 + 0 + 255) div 3 = 85; lightened 20 %: 85 + 170 x 20 div
  // 100 = 119; then half way to white: 119 + 136 x 50 div 100 = 187.
  const TImageList Disabled = MakeDisabledImageList(List, 16, clBlack, clWhite, 50, 20, false, Indices);
  ASSERT_EQ(Disabled.size(), 2u);
  EXPECT_EQ(Disabled[0].pixel(8, 8), qRgba(187, 187, 187, 255));
  EXPECT_EQ(MakeScaledImageList(List, 16, clBlack, false).size(), 3u);
}

TEST(GlyphUtils, ScaledGlyphKeepsACrispKeyAndAddsTheDisabledImage) {
  const TColor Key = RGB(255, 0, 255);
  TBitmap Src, Dst;
  Glyph(Src, 16, 16, Key, {4, 4, 12, 12}, clBlack);
  MakeScaledGlyph(32, 32, Src, Dst, true, clWhite);
  ASSERT_EQ(Dst.Width(), 64);
  ASSERT_EQ(Dst.Height(), 32);
  for (const int Left : {0, 32}) {
    // Transparent corners keep the exact key in both images.
    EXPECT_EQ(Dst.PixelColor(Left + 1, 1), Key);
    EXPECT_EQ(Dst.PixelColor(Left + 30, 30), Key);
  }
  EXPECT_EQ(Dst.PixelColor(16, 16), clBlack);
  // Disabled: the grey of black mixed half way to the blend colour.
  const TRGB Grey = RowOf(Dst, 16)[48];
  EXPECT_NEAR(Grey.Red, 127, 1);
  EXPECT_EQ(Grey.Red, Grey.Green);
  EXPECT_EQ(Grey.Red, Grey.Blue);
  // Without the disabled image the strip holds one picture.
  Glyph(Src, 16, 16, Key, {4, 4, 12, 12}, clBlack);
  MakeScaledGlyph(24, 24, Src, Dst, false, clWhite);
  EXPECT_EQ(Dst.Width(), 24);
}

TEST(GlyphUtils, SpeedButtonGlyphFollowsTheScreenResolution) {
  const TColor Key = RGB(0, 128, 128);
  TButtonGlyph Button;
  Glyph(Button.Glyph, 16, 16, Key, {2, 2, 14, 14}, clRed);
  {
    ScreenDpi At(96);
    EXPECT_FALSE(ScaleSpeedButtonGlyph(Button, false, clWhite));
    EXPECT_EQ(Button.Glyph.Width(), 16);
    EXPECT_EQ(Button.NumGlyphs, 1);
  }
  {
    ScreenDpi At(144);
    TButtonGlyph Copy;
    Copy.Glyph.Assign(Button.Glyph);
    EXPECT_TRUE(ScaleSpeedButtonGlyph(Copy, false, clWhite));
    EXPECT_EQ(Copy.Glyph.Width(), 24);
    EXPECT_EQ(Copy.Glyph.Height(), 24);
    EXPECT_EQ(Copy.NumGlyphs, 1);
  }
  {
    ScreenDpi At(96);
    EXPECT_TRUE(ScaleSpeedButtonGlyph(Button, true, clWhite));
    EXPECT_EQ(Button.Glyph.Width(), 32);
    EXPECT_EQ(Button.Glyph.Height(), 16);
    EXPECT_EQ(Button.NumGlyphs, 2);
    EXPECT_EQ(Button.Glyph.PixelColor(8, 8), clRed);
    // A two-image strip scales its first image only: the red picture stays
    // whole instead of being squeezed with its disabled twin.
    ScreenDpi Larger(192);
    EXPECT_TRUE(ScaleSpeedButtonGlyph(Button, false, clWhite));
    EXPECT_EQ(Button.Glyph.Width(), 64);
    EXPECT_EQ(Button.Glyph.Height(), 32);
    EXPECT_EQ(Button.Glyph.PixelColor(16, 16), clRed);
    EXPECT_EQ(Button.Glyph.PixelColor(1, 1), Key);
  }
}
