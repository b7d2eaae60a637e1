#include "raster/Transparency.h"

#include "support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit bitmap whose pixel (x, y) is colour (x, y, x + y) with alpha A(x, y).
template <class F> void Fill32(TBitmap& B, F&& Alpha) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      uint8_t* P = B.ScanLine(Y) + 4 * X;
      P[0] = uint8_t(X + Y);
      P[1] = uint8_t(Y);
      P[2] = uint8_t(X);
      P[3] = uint8_t(Alpha(X, Y));
    }
}

TEST(Transparency, KeyColourIsDcedce) {
  EXPECT_EQ(GetRValue(TransparentKeyColor), 206);
  EXPECT_EQ(GetGValue(TransparentKeyColor), 237);
  EXPECT_EQ(GetBValue(TransparentKeyColor), 220);
}

TEST(Transparency, SplitsAlphaIntoGreyMaskAndJoinsItBack) {
  TBitmap Source(7, 5, pf32bit, clBlack);
  Fill32(Source, [](int X, int Y) { return X * 40 + Y; });
  TBitmap Colors, Mask;
  Bitmap32ToBitmapMask(Source, Colors, Mask);
  ASSERT_EQ(Colors.PixelFormat(), pf24bit);
  ASSERT_EQ(Mask.PixelFormat(), pf24bit);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) {
      EXPECT_EQ(Colors.PixelColor(X, Y), RGB(X, Y, X + Y));
      const int M = 255 - (X * 40 + Y);
      EXPECT_EQ(Mask.PixelColor(X, Y), RGB(M, M, M));
    }
  TBitmap Back;
  BitmapMaskToBitmap32(Colors, Mask, Back, false);
  EXPECT_IMAGES_MATCH(Back, Source);
}

TEST(Transparency, WhiteUnderPaintsFullyClearPixelsWhite) {
  TBitmap Colors(2, 1, pf24bit, clRed), Mask(2, 1, pf24bit, clBlack);
  RowOf(Mask, 0)[1] = {255, 255, 255};
  TBitmap Out;
  BitmapMaskToBitmap32(Colors, Mask, Out, true);
  EXPECT_EQ(Out.PixelColor(0, 0), clRed);
  EXPECT_EQ(Out.ScanLine(0)[3], 255);
  EXPECT_EQ(Out.PixelColor(1, 0), clWhite);
  EXPECT_EQ(Out.ScanLine(0)[7], 0);
}

TEST(Transparency, WrongFormatsOrSizesChangeNothing) {
  TBitmap Colors(2, 2, pf24bit, clRed), Small(1, 2, pf24bit, clBlack), Out(3, 3, pf24bit, clBlue);
  BitmapMaskToBitmap32(Colors, Small, Out, false);
  EXPECT_EQ(Out.PixelFormat(), pf24bit);
  EXPECT_EQ(Out.Width(), 3);
  TBitmap A, M;
  Bitmap32ToBitmapMask(Colors, A, M);
  EXPECT_TRUE(A.Empty());
  EXPECT_TRUE(M.Empty());
}

TEST(Transparency, ExtractFromAlpha) {
  TBitmap B(4, 3, pf32bit, clBlack);
  Fill32(B, [](int, int) { return 0; });
  TBitmap Colors, Mask(1, 1, pf24bit, clBlack);
  // Alpha 0 everywhere: a bitmap that never had alpha.
  EXPECT_EQ(ExtractTransparencyMask(B, Colors, Mask), TransparencyNone);
  EXPECT_TRUE(Mask.Empty());
  EXPECT_EQ(Colors.PixelFormat(), pf24bit);
  EXPECT_EQ(Colors.PixelColor(3, 2), RGB(3, 2, 5));

  B.ScanLine(1)[4 * 2 + 3] = 200;
  EXPECT_EQ(ExtractTransparencyMask(B, Colors, Mask), TransparencyAlpha);
  EXPECT_EQ(Mask.PixelColor(2, 1), RGB(55, 55, 55));
  EXPECT_EQ(Mask.PixelColor(0, 0), clWhite);
}

TEST(Transparency, ExtractFromTransparentColourOfAnyFormat) {
  TBitmap B(3, 2, pf8bit, clBlack);
  std::vector<TPaletteEntry> P(256, 0xFF000000u);
  P[1] = 0xFF00FF00u;
  P[2] = 0xFFFF0000u;
  B.SetPalette(P);
  B.ScanLine(0)[0] = 1;
  B.ScanLine(0)[1] = 2;
  B.ScanLine(1)[2] = 1;
  B.SetTransparentColor(clLime);
  B.Transparent = true;
  TBitmap Colors, Mask;
  ASSERT_EQ(ExtractTransparencyMask(B, Colors, Mask), TransparencyColor);
  EXPECT_EQ(Colors.PixelFormat(), pf24bit);
  EXPECT_FALSE(Colors.Transparent);
  EXPECT_EQ(Colors.PixelColor(1, 0), clRed);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X)
      EXPECT_EQ(Mask.PixelColor(X, Y), B.PixelColor(X, Y) == clLime ? clWhite : clBlack) << X << "," << Y;

  // Into the bitmap itself.
  ASSERT_EQ(ExtractTransparencyMask(B, B, Mask), TransparencyColor);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_EQ(B.PixelColor(0, 0), clLime);
  EXPECT_FALSE(B.Transparent);
}

TEST(Transparency, ExtractFromOpaqueBitmap) {
  TBitmap B(2, 2, pf24bit, clAqua), Colors, Mask(2, 2, pf24bit, clBlack);
  EXPECT_EQ(ExtractTransparencyMask(B, Colors, Mask), TransparencyNone);
  EXPECT_TRUE(Mask.Empty());
  EXPECT_IMAGES_MATCH(Colors, B);
}

} // namespace
