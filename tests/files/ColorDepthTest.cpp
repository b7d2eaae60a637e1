#include "files/ColorDepth.h"
#include "raster/Pixels.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::set<TColor> ColoursOf(const TBitmap& B) {
  std::set<TColor> S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) S.insert(B.PixelColor(X, Y));
  return S;
}

bool AllIn(const std::set<TColor>& Colours, const TPalette& P) {
  std::set<TColor> Allowed;
  for (TPaletteEntry E : P) Allowed.insert(PaletteEntryColor(E));
  for (TColor C : Colours)
    if (!Allowed.count(C)) return false;
  return true;
}

TEST(ColorDepth, BitDepthArithmetic) {
  const std::pair<int, int> Bits[] = {{-5, 1}, {0, 1},  {2, 1},  {3, 3},  {4, 3},   {8, 3},   {9, 4},   {16, 4},
                                      {17, 5}, {32, 5}, {64, 6}, {65, 7}, {128, 7}, {256, 8}, {257, 24}};
  for (const auto& [Count, Expected] : Bits) EXPECT_EQ(ColorCountToBits(Count), Expected) << Count;
  EXPECT_EQ(ColorCountToBitsEx(-1), 32);
  EXPECT_EQ(ColorCountToBitsEx(0), 24);
  EXPECT_EQ(ColorCountToBitsEx(16), 4);
  EXPECT_EQ(BitsToColorCount(0), 1);
  EXPECT_EQ(BitsToColorCount(8), 256);
  EXPECT_EQ(BitsToColorCount(9), 16777216);
  EXPECT_EQ(BitsToColorCount(-1), 16777216);
  const std::pair<TPixelFormat, int> Formats[] = {{pf1bit, 1},   {pf4bit, 4},   {pf8bit, 8},   {pf15bit, 24},
                                                  {pf16bit, 24}, {pf24bit, 24}, {pf32bit, 32}, {pfDevice, 24}};
  for (const auto& [Format, Expected] : Formats) EXPECT_EQ(PixelFormatToBits(Format), Expected);
}

TEST(ColorDepth, PaletteHelpers) {
  EXPECT_EQ(WebPaletteWithColor(clNone).size(), 216u);
  const TPalette P = WebPaletteWithColor(TransparentKeyColor);
  ASSERT_EQ(P.size(), 217u);
  EXPECT_EQ(PaletteEntryColor(P[216]), TransparentKeyColor);

  TPalette Q = {PaletteEntry(1, 2, 3), PaletteEntry(4, 5, 6)};
  EXPECT_TRUE(SetPaletteColor(&Q, 1, clRed));
  EXPECT_EQ(Q[1], PaletteEntry(255, 0, 0));
  TPalette Empty;
  EXPECT_FALSE(SetPaletteColor(&Q, 2, clRed));
  EXPECT_FALSE(SetPaletteColor(&Q, -1, clRed));
  EXPECT_FALSE(SetPaletteColor(nullptr, 0, clRed));
  EXPECT_FALSE(SetPaletteColor(&Empty, 0, clRed));

  EXPECT_TRUE(SetPaletteSize(&Q, 4));
  EXPECT_EQ(Q,
            (TPalette{PaletteEntry(1, 2, 3), PaletteEntry(255, 0, 0), PaletteEntry(0, 0, 0), PaletteEntry(0, 0, 0)}));
  EXPECT_TRUE(SetPaletteSize(&Q, 1));
  EXPECT_EQ(Q.size(), 1u);
  EXPECT_FALSE(SetPaletteSize(&Q, 257));
  EXPECT_FALSE(SetPaletteSize(&Empty, 4));
  EXPECT_FALSE(SetPaletteSize(nullptr, 4));
  EXPECT_EQ(Q.size(), 1u);
}

TEST(ColorDepth, ReduceColors24) {
  const PBitmap Image = SmoothImage(40, 30);
  // Two colours are black and white whatever the flags.
  TBitmap B;
  B.Assign(*Image);
  ReduceColors24(B, 2, ReduceWeb | ReduceDither, nullptr);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_TRUE(AllIn(ColoursOf(B), MonochromePalette()));

  struct {
    uint8_t Flags;
    TPalette Expected;
  } Fixed[] = {{ReduceWeb, WebPalette()},
               {ReduceWindowsGray | ReduceWeb, WindowsGrayPalette()},
               {ReduceWindows20 | ReduceWindowsGray, Windows20Palette()},
               {ReduceHalftone, WindowsHalftonePalette()}};
  for (const auto& F : Fixed) {
    B.Assign(*Image);
    ReduceColors24(B, 256, F.Flags, nullptr);
    EXPECT_TRUE(AllIn(ColoursOf(B), F.Expected)) << int(F.Flags);
  }
  // 20 colours give a palette of 32; flag 64 at most 255.
  B.Assign(*Image);
  ReduceColors24(B, 20, 0, nullptr);
  EXPECT_LE(CountColors(B), 32);
  EXPECT_GT(CountColors(B), 20);
  B.Assign(*Image);
  ReduceColors24(B, 256, ReduceOptimized255 | ReduceDither, nullptr);
  EXPECT_LE(CountColors(B), 255);
  // The caller's palette.
  const TPalette Mine = {PaletteEntry(10, 20, 30), PaletteEntry(200, 100, 0)};
  B.Assign(*Image);
  B.SetTransparentColor(clRed);
  B.Transparent = true;
  ReduceColors24(B, 16, ReducePalette, &Mine);
  EXPECT_TRUE(AllIn(ColoursOf(B), Mine));
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), clRed);
  // Nothing outside 2..256.
  B.Assign(*Image);
  ReduceColors24(B, 257, 0, nullptr);
  ReduceColors24(B, 1, 0, nullptr);
  EXPECT_IMAGES_MATCH(B, *Image);
}

TEST(ColorDepth, SetColorCount) {
  // A 1-bit bitmap asked for 16 colours is only converted to 4 bits.
  TBitmap One(9, 2, pf1bit, clWhite);
  One.ScanLine(0)[0] = 0x55;
  TBitmap Before;
  Before.Assign(One);
  SetColorCount(One, 16, false, nullptr);
  EXPECT_EQ(One.PixelFormat(), pf4bit);
  EXPECT_IMAGES_MATCH(*To24(One), *To24(Before));

  const PBitmap Image = SmoothImage(30, 20);
  TBitmap B;
  B.Assign(*Image);
  SetColorCount(B, 2, false, nullptr);
  EXPECT_EQ(B.PixelFormat(), pf1bit);
  EXPECT_TRUE(AllIn(ColoursOf(B), MonochromePalette()));

  B.Assign(*Image);
  B.SetTransparentColor(B.PixelColor(0, 0));
  B.Transparent = true;
  SetColorCount(B, 12, true, nullptr);
  EXPECT_EQ(B.PixelFormat(), pf4bit);
  EXPECT_LE(ColoursOf(B).size(), 16u);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), Image->PixelColor(0, 0));

  const TPalette Web = WebPaletteWithColor(TransparentKeyColor);
  B.Assign(*Image);
  SetColorCount(B, 256, false, &Web);
  EXPECT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_EQ(B.Palette(), Web);
}

TEST(ColorDepth, Pack8BitTo4Bit) {
  TBitmap B(5, 1, pf8bit, clBlack);
  TPalette P;
  for (int I = 0; I < 256; ++I) P.push_back(PaletteEntry(I, I, I));
  B.SetPalette(P);
  const uint8_t Indices[5] = {1, 2, 3, 4, 15};
  std::copy(Indices, Indices + 5, B.ScanLine(0));
  B.SetTransparentColor(RGB(2, 2, 2));
  B.Transparent = true;
  Pack8BitTo4Bit(B);
  ASSERT_EQ(B.PixelFormat(), pf4bit);
  EXPECT_EQ(B.Palette(), TPalette(P.begin(), P.begin() + 16));
  EXPECT_EQ(B.ScanLine(0)[0], 0x12);
  EXPECT_EQ(B.ScanLine(0)[1], 0x34);
  EXPECT_EQ(B.ScanLine(0)[2], 0xF0);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), RGB(2, 2, 2));

  // An index of 16 or more takes the nearest of the 16 colours kept.
  TBitmap C(1, 1, pf8bit, clBlack);
  C.SetPalette(P);
  C.ScanLine(0)[0] = 200;
  Pack8BitTo4Bit(C);
  EXPECT_EQ(C.PixelColor(0, 0), RGB(15, 15, 15));
}

TEST(ColorDepth, CountColors) {
  EXPECT_EQ(CountColors(TBitmap(5, 5, pf24bit, clAqua)), 1);
  EXPECT_EQ(CountColors(TBitmap(5, 5, pf32bit, clAqua)), 0);
  TBitmap Noise(64, 64, pf24bit, clBlack);
  FillRandom(Noise, 2);
  EXPECT_EQ(CountColors(Noise), int(ColoursOf(Noise).size()));
}

TEST(ColorDepth, ConvertToBitmap32) {
  TBitmap B(3, 1, pf24bit, clRed);
  RowOf(B, 0)[1] = {0, 255, 0};
  B.SetTransparentColor(clLime);
  B.Transparent = true;
  ConvertToBitmap32(B);
  ASSERT_EQ(B.PixelFormat(), pf32bit);
  EXPECT_EQ(B.ScanLine(0)[3], 255);
  EXPECT_EQ(B.ScanLine(0)[7], 0);
  EXPECT_EQ(B.PixelColor(1, 0), clLime);
  TBitmap Plain(2, 1, pf24bit, clRed);
  ConvertToBitmap32(Plain);
  EXPECT_EQ(Plain.ScanLine(0)[3], 0);
  EXPECT_EQ(Plain.PixelColor(0, 0), clRed);
}

TEST(ColorDepth, FlattenTransparency) {
  TBitmap B(3, 1, pf32bit, clBlack);
  const uint8_t Pixels[12] = {0, 0, 255, 255, 0, 255, 0, 0, 255, 0, 0, 102};
  std::copy(Pixels, Pixels + 12, B.ScanLine(0));
  EXPECT_EQ(FlattenTransparency(B, clWhite), TransparencyAlpha);
  ASSERT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_EQ(B.PixelColor(0, 0), clRed);
  EXPECT_EQ(B.PixelColor(1, 0), clWhite);
  // Mask 153: d := d + (s - d) * 102 div 255 over white.
  EXPECT_EQ(B.PixelColor(2, 0), RGB(255 - 255 * 102 / 255, 255 - 255 * 102 / 255, 255));

  TBitmap K(2, 1, pf8bit, clBlack);
  K.SetPalette({PaletteEntry(255, 0, 0), PaletteEntry(0, 0, 255)});
  K.ScanLine(0)[1] = 1;
  K.SetTransparentColor(clBlue);
  K.Transparent = true;
  EXPECT_EQ(FlattenTransparency(K, clYellow), TransparencyColor);
  EXPECT_EQ(K.PixelColor(0, 0), clRed);
  EXPECT_EQ(K.PixelColor(1, 0), clYellow);
  EXPECT_FALSE(K.Transparent);

  TBitmap Opaque(2, 1, pf8bit, clBlack);
  EXPECT_EQ(FlattenTransparency(Opaque, clYellow), TransparencyNone);
  EXPECT_EQ(Opaque.PixelFormat(), pf24bit);
}

TEST(ColorDepth, QuantizeWithMask) {
  const PBitmap Image = SmoothImage(20, 20);
  TBitmap Mask(20, 20, pf24bit, clBlack);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      const uint8_t M = uint8_t(X * 13);
      RowOf(Mask, Y)[X] = {M, M, M};
    }
  for (TPaletteChoice Kind : {TPaletteChoice(TPaletteKind::Optimized), TPaletteChoice(TPaletteKind::Halftone),
                              TPaletteChoice(TPaletteKind::Web)}) {
    TBitmap Out;
    QuantizeWithMask(*Image, Mask, Out, true, TransparentKeyColor, Kind);
    ASSERT_EQ(Out.PixelFormat(), pf24bit);
    EXPECT_TRUE(Out.Transparent);
    EXPECT_EQ(Out.TransparentColor(), TransparentKeyColor);
    EXPECT_LE(CountColors(Out), 256);
    for (int X = 0; X < 20; ++X) EXPECT_EQ(Out.PixelColor(X, 7) == TransparentKeyColor, X * 13 >= 128) << X;
  }
  TBitmap Untouched;
  QuantizeWithMask(*Image, TBitmap(20, 20, pf32bit, clBlack), Untouched, false, clRed, nullptr);
  EXPECT_TRUE(Untouched.Empty());
}

TEST(ColorDepth, QuantizeTransparentBitmap) {
  const PBitmap Alpha = WithAlphaRamp(*SmoothImage(12, 12));
  TBitmap Out;
  QuantizeTransparentBitmap(*Alpha, Out, false, nullptr);
  ASSERT_EQ(Out.TransparentColor(), TransparentKeyColor);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X)
      EXPECT_EQ(Out.PixelColor(X, Y) == TransparentKeyColor, Alpha->ScanLine(Y)[4 * X + 3] < 128);

  TBitmap Keyed(4, 1, pf24bit, clRed);
  RowOf(Keyed, 0)[2] = {255, 0, 0};
  Keyed.SetTransparentColor(clBlue);
  Keyed.Transparent = true;
  QuantizeTransparentBitmap(Keyed, Out, false, nullptr);
  EXPECT_EQ(Out.TransparentColor(), clBlue);
  EXPECT_EQ(Out.PixelColor(2, 0), clBlue);
  EXPECT_EQ(Out.PixelColor(0, 0), clRed);

  TBitmap Opaque(2, 2, pf24bit, clRed), Left;
  QuantizeTransparentBitmap(Opaque, Left, false, nullptr);
  EXPECT_TRUE(Left.Empty());
}

} // namespace
