#include "files/ColorReduction.h"
#include "raster/Pixels.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>

namespace {

int Channel(TPaletteEntry E, int Shift) { return int((E >> Shift) & 0xFF); }

// The nearest entry by squared RGB distance, the lowest index on a tie.
int BruteNearest(const TPalette& P, int R, int G, int B) {
  int Best = INT_MAX, Index = 0;
  for (size_t I = 0; I < P.size(); ++I) {
    const int DR = Channel(P[I], 16) - R, DG = Channel(P[I], 8) - G, DB = Channel(P[I], 0) - B;
    const int D = DR * DR + DG * DG + DB * DB;
    if (D < Best) Best = D, Index = int(I);
  }
  return Index;
}

TPalette RandomPalette(int Count, unsigned Seed) {
  std::mt19937 G(Seed);
  TPalette P;
  for (int I = 0; I < Count; ++I) P.push_back(PaletteEntry(int(G() % 256), int(G() % 256), int(G() % 256)));
  P.push_back(P[3]); // a duplicate: the lower index wins
  return P;
}

TEST(ColorReduction, FixedPalettes) {
  const TPalette Web = WebPalette();
  ASSERT_EQ(Web.size(), 216u);
  EXPECT_EQ(Web[36 * 2 + 6 * 3 + 4], PaletteEntry(102, 153, 204));
  EXPECT_EQ(WindowsGrayPalette(), (TPalette{PaletteEntry(0, 0, 0), PaletteEntry(128, 128, 128),
                                            PaletteEntry(192, 192, 192), PaletteEntry(255, 255, 255)}));
  const TPalette W20 = Windows20Palette(), Half = WindowsHalftonePalette();
  ASSERT_EQ(W20.size(), 20u);
  ASSERT_EQ(Half.size(), 256u);
  for (TPaletteEntry E : W20) EXPECT_NE(std::find(Half.begin(), Half.end(), E), Half.end());
  EXPECT_EQ(std::set<TPaletteEntry>(Half.begin(), Half.end()).size(), 256u);
  EXPECT_EQ(GrayScalePalette(2), (TPalette{PaletteEntry(0, 0, 0), PaletteEntry(85, 85, 85), PaletteEntry(170, 170, 170),
                                           PaletteEntry(255, 255, 255)}));
}

TEST(ColorReduction, NearestMappingMatchesExhaustiveSearch) {
  TBitmap Image(61, 37, pf24bit, clBlack);
  FillRandom(Image, 3);
  const TPalette P = RandomPalette(40, 9);
  TBitmap Out;
  MapToPalette(Image, P, dmNearest, Out);
  ASSERT_EQ(Out.PixelFormat(), pf8bit);
  EXPECT_EQ(Out.Palette(), P);
  for (int Y = 0; Y < 37; ++Y)
    for (int X = 0; X < 61; ++X) {
      const TColor C = Image.PixelColor(X, Y);
      ASSERT_EQ(Out.ScanLine(Y)[X], BruteNearest(P, GetRValue(C), GetGValue(C), GetBValue(C))) << X << "," << Y;
    }
}

TEST(ColorReduction, FloydSteinbergMatchesTheFormula) {
  TBitmap Image(23, 19, pf24bit, clBlack);
  FillRandom(Image, 4);
  const TPalette P = RandomPalette(12, 5);
  TBitmap Out;
  MapToPalette(Image, P, dmFloydSteinberg, Out);
  // Errors in sixteenths: 7 right, 3 below left, 5 below, 1 below right; a
  // pixel takes its accumulated error divided by 16 (toward zero).
  const int W = 23, H = 19;
  std::vector<int> Err(size_t(W + 2) * (H + 1) * 3, 0);
  auto E = [&](int X, int Y, int C) -> int& { return Err[(size_t(Y) * (W + 2) + X + 1) * 3 + C]; };
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const TColor C = Image.PixelColor(X, Y);
      const int Src[3] = {GetRValue(C), GetGValue(C), GetBValue(C)};
      int V[3];
      for (int K = 0; K < 3; ++K) V[K] = std::clamp(Src[K] + E(X, Y, K) / 16, 0, 255);
      const int I = BruteNearest(P, V[0], V[1], V[2]);
      ASSERT_EQ(Out.ScanLine(Y)[X], I) << X << "," << Y;
      const int Got[3] = {Channel(P[size_t(I)], 16), Channel(P[size_t(I)], 8), Channel(P[size_t(I)], 0)};
      for (int K = 0; K < 3; ++K) {
        const int D = V[K] - Got[K];
        E(X + 1, Y, K) += 7 * D;
        E(X - 1, Y + 1, K) += 3 * D;
        E(X, Y + 1, K) += 5 * D;
        E(X + 1, Y + 1, K) += D;
      }
    }
}

TEST(ColorReduction, DitheredGreyKeepsItsAverage) {
  TBitmap Grey(64, 64, pf24bit, RGB(128, 128, 128));
  TBitmap Out;
  ReduceColors(Grey, rmMonochrome, dmFloydSteinberg, 1, nullptr, Out);
  int White = 0;
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 64; ++X) White += Out.PixelColor(X, Y) == clWhite;
  EXPECT_NEAR(White, 64 * 64 / 2, 64);
  ReduceColors(Grey, rmMonochrome, dmNearest, 1, nullptr, Out);
  EXPECT_EQ(Out.PixelColor(5, 5), clWhite);
}

TEST(ColorReduction, OptimizedPaletteKeepsFewColoursExactly) {
  TBitmap Image(10, 10, pf24bit, clRed);
  RowOf(Image, 4)[4] = {1, 2, 3};
  RowOf(Image, 9)[9] = {200, 201, 202};
  EXPECT_EQ(OptimizedPalette({&Image}, 3),
            (TPalette{PaletteEntry(255, 0, 0), PaletteEntry(3, 2, 1), PaletteEntry(202, 201, 200)}));
  const TPalette Windows = OptimizedPalette({&Image}, 23, true);
  ASSERT_EQ(Windows.size(), 23u);
  EXPECT_EQ(TPalette(Windows.begin(), Windows.begin() + 20), Windows20Palette());
}

TEST(ColorReduction, OptimizedPaletteFindsClusters) {
  // Four clusters of noisy colours: a palette of four lands on their means.
  TBitmap Image(40, 40, pf24bit, clBlack);
  std::mt19937 G(1);
  const int Centres[4][3] = {{30, 40, 200}, {220, 30, 30}, {40, 220, 60}, {240, 240, 240}};
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) {
      const int* C = Centres[(X / 20) + 2 * (Y / 20)];
      RowOf(Image, Y)[X] = {uint8_t(C[2] + int(G() % 11) - 5), uint8_t(C[1] + int(G() % 11) - 5),
                            uint8_t(C[0] + int(G() % 11) - 5)};
    }
  const TPalette P = OptimizedPalette({&Image}, 4);
  ASSERT_EQ(P.size(), 4u);
  for (const auto& C : Centres) {
    const int I = BruteNearest(P, C[0], C[1], C[2]);
    EXPECT_NEAR(Channel(P[size_t(I)], 16), C[0], 2);
    EXPECT_NEAR(Channel(P[size_t(I)], 8), C[1], 2);
    EXPECT_NEAR(Channel(P[size_t(I)], 0), C[2], 2);
  }
  // Many colours, many bitmaps: never more entries than asked.
  TBitmap Noise(50, 50, pf24bit, clBlack);
  FillRandom(Noise, 8);
  EXPECT_EQ(OptimizedPalette({&Noise, &Image}, 256).size(), 256u);
}

TEST(ColorReduction, ReductionModesGiveTheirPalettes) {
  const PBitmap Image = SmoothImage(20, 20);
  TBitmap Out;
  struct {
    TColorReduction Mode;
    TPalette Expected;
  } Cases[] = {{rmMonochrome, MonochromePalette()}, {rmWindowsGray, WindowsGrayPalette()},
               {rmWindows20, Windows20Palette()},   {rmWindows256, WindowsHalftonePalette()},
               {rmNetscape, WebPalette()},          {rmGrayScale, GrayScalePalette(3)}};
  for (const auto& C : Cases) {
    ReduceColors(*Image, C.Mode, dmNearest, 3, nullptr, Out);
    EXPECT_EQ(Out.Palette(), C.Expected) << int(C.Mode);
  }
  ReduceColors(*Image, rmQuantize, dmNearest, 4, nullptr, Out);
  EXPECT_EQ(Out.Palette().size(), 16u);
  const TPalette Mine = {PaletteEntry(1, 2, 3), PaletteEntry(250, 250, 250)};
  ReduceColors(*Image, rmPalette, dmNearest, 8, &Mine, Out);
  EXPECT_EQ(Out.Palette(), Mine);
}

} // namespace
