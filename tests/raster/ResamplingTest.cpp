#include "raster/Resampling.h"
#include "ProgressTestSupport.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// ---- A plain reference, from the formulas ---------------------------------------
// Contributors computed per destination pixel with the weight rule, the
// reflection (then held to the edges), and for a reduction so strong that no
// weight survives, the nearest source pixel. Both passes pixel by pixel.

using RefList = std::vector<std::vector<std::pair<int, int>>>; // (weight, source index)

RefList RefContributors(TFilterProc K, float Support, int Size, int DstSize) {
  RefList L(static_cast<size_t>(DstSize));
  const bool Single = DstSize == 1 && Size > 1;
  const float Scale = Size == 1 ? static_cast<float>(DstSize)
                      : Single  ? static_cast<float>(1.0 / Size)
                                : static_cast<float>(double(DstSize - 1) / (Size - 1));
  const auto Reflect = [Size](long long J) {
    J = J < 0 ? -J : (J >= Size ? 2LL * Size - J - 1 : J);
    return static_cast<int>(std::clamp<long long>(J, 0, Size - 1));
  };
  for (int I = 0; I < DstSize; ++I) {
    const float Centre = Single ? static_cast<float>((Size - 1) / 2.0) : static_cast<float>(I / double(Scale));
    const double Width = Scale < 1 ? static_cast<float>(Support / double(Scale)) : Support;
    for (long long J = static_cast<long long>(std::floor(Centre - Width)); J <= std::ceil(Centre + Width); ++J) {
      const double Arg = Scale < 1 ? (double(Centre) - J) * Scale : double(Centre) - J;
      const double Factor = Scale < 1 ? double(Scale) : 1.0;
      const int W = static_cast<int>(std::nearbyint(double(K(static_cast<float>(Arg))) * Factor * 256));
      if (W != 0) L[static_cast<size_t>(I)].push_back({W, Reflect(J)});
    }
    if (L[static_cast<size_t>(I)].empty())
      L[static_cast<size_t>(I)].push_back({256, Reflect(static_cast<long long>(std::floor(Centre + 0.5)))});
  }
  return L;
}

uint8_t RefApply(const std::vector<std::pair<int, int>>& E, const std::vector<int>& Values) {
  int S = 0, T = 0;
  for (const auto& [W, P] : E) {
    S += W;
    T += W * Values[static_cast<size_t>(P)];
  }
  return static_cast<uint8_t>(std::clamp(S != 0 ? T / S : T / 256, 0, 255));
}

void RefResample(TFilterProc K, float Support, const TBitmap& Src, TBitmap& Dst) {
  const int SW = Src.Width(), SH = Src.Height(), DW = Dst.Width(), DH = Dst.Height();
  const RefList CX = RefContributors(K, Support, SW, DW), CY = RefContributors(K, Support, SH, DH);
  std::vector<std::vector<TRGB>> Work(static_cast<size_t>(SH), std::vector<TRGB>(static_cast<size_t>(DW)));
  for (int Y = 0; Y < SH; ++Y)
    for (int C = 0; C < 3; ++C) {
      std::vector<int> Row;
      for (int X = 0; X < SW; ++X) Row.push_back(reinterpret_cast<const uint8_t*>(&RowOf(Src, Y)[X])[C]);
      for (int I = 0; I < DW; ++I)
        reinterpret_cast<uint8_t*>(&Work[size_t(Y)][size_t(I)])[C] = RefApply(CX[size_t(I)], Row);
    }
  for (int X = 0; X < DW; ++X)
    for (int C = 0; C < 3; ++C) {
      std::vector<int> Column;
      for (int Y = 0; Y < SH; ++Y) Column.push_back(reinterpret_cast<const uint8_t*>(&Work[size_t(Y)][size_t(X)])[C]);
      for (int I = 0; I < DH; ++I) reinterpret_cast<uint8_t*>(&RowOf(Dst, I)[X])[C] = RefApply(CY[size_t(I)], Column);
    }
}

TBitmap* RandomImage(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
  return &B;
}

// ---- Kernels -------------------------------------------------------------------

TEST(ResamplingTest, KernelsAndSupports) {
  struct Case {
    TFilterProc K;
    float X, Value;
  };
  const Case Cases[] = {
      {BoxFilter, 0, 1},
      {BoxFilter, 0.5f, 1},
      {BoxFilter, -0.5f, 0},
      {BoxFilter, 0.51f, 0},
      {TriangleFilter, -0.25f, 0.75f},
      {TriangleFilter, 1, 0},
      {HermiteFilter, 0.5f, 0.5f},
      {HermiteFilter, 1, 0},
      {BellFilter, 0, 0.75f},
      {BellFilter, 1, 0.125f},
      {BellFilter, -1.5f, 0},
      {SplineFilter, 0, 2.0f / 3},
      {SplineFilter, 1, 1.0f / 6},
      {SplineFilter, 2, 0},
      {Lanczos3Filter, 0, 1},
      {Lanczos3Filter, 3, 0},
      {MitchellFilter, 0, 8.0f / 9},
      {MitchellFilter, -1, 1.0f / 18},
      {MitchellFilter, 2, 0},
  };
  for (const Case& C : Cases) EXPECT_NEAR(C.K(C.X), C.Value, 1e-6) << C.X;
  // Lanczos3 is near zero at the integers and swings negative between them.
  EXPECT_NEAR(Lanczos3Filter(1), 0, 1e-6);
  EXPECT_LT(Lanczos3Filter(1.5f), 0);
  EXPECT_LT(MitchellFilter(1.5f), 0);
  const float Supports[] = {0.5f, 1, 1, 1.5f, 2, 3, 2};
  for (int I = 0; I < ResampleFilterCount; ++I) EXPECT_EQ(ResampleFilters[I].Support, Supports[I]) << I;
}

// ---- Contributors ----------------------------------------------------------------

TEST(ResamplingTest, ContributorsReflectAtTheEdges) {
  // Lanczos3 from 4 to 7: destination 1 sits at 0.5 and reaches j = -2 .. 3;
  // -2 and -1 reflect about pixel 0 to 2 and 1.
  const TContributorList L = BuildContributors(Lanczos3Filter, 3, 4, 7);
  ASSERT_EQ(L.size(), 7u);
  std::vector<int> Pixels;
  for (int K = 0; K < L[1].N; ++K) Pixels.push_back(L[1].Contributors[size_t(K)].Pixel);
  EXPECT_EQ(Pixels, (std::vector<int>{2, 1, 0, 1, 2, 3}));
  // Destination 6 sits at 3 (the last pixel): j = 4 reflects about the edge to 3.
  EXPECT_EQ(L[6].N, 1);
  EXPECT_EQ(L[6].Contributors[0].Pixel, 3);
  EXPECT_EQ(L[6].Contributors[0].Weight, 256);
}

TEST(ResamplingTest, ContributorsStayInsideAndMatchTheFormula) {
  // Reaches far beyond the source (Lanczos3 on 2 pixels, strong reductions)
  // are held inside; lists are as long as the nonzero weights need.
  for (int F = 0; F < ResampleFilterCount; ++F)
    for (auto [S, D] : {std::pair{2, 9}, {3, 2}, {50, 3}, {1, 6}, {6, 1}, {1000, 2}, {7, 7}}) {
      const TContributorList L = BuildContributors(ResampleFilters[F].Filter, ResampleFilters[F].Support, S, D);
      const RefList R = RefContributors(ResampleFilters[F].Filter, ResampleFilters[F].Support, S, D);
      ASSERT_EQ(L.size(), R.size());
      for (size_t I = 0; I < L.size(); ++I) {
        ASSERT_EQ(L[I].N, static_cast<int>(R[I].size())) << F << " " << S << "->" << D << " at " << I;
        ASSERT_LE(L[I].N, static_cast<int>(L[I].Contributors.size()));
        for (int K = 0; K < L[I].N; ++K) {
          EXPECT_EQ(L[I].Contributors[size_t(K)].Weight, R[I][size_t(K)].first);
          EXPECT_EQ(L[I].Contributors[size_t(K)].Pixel, R[I][size_t(K)].second);
          EXPECT_GE(L[I].Contributors[size_t(K)].Pixel, 0);
          EXPECT_LT(L[I].Contributors[size_t(K)].Pixel, S);
        }
      }
    }
}

// ---- Resizing ----------------------------------------------------------------------

// A 2 x 2 image, left column black and right column white.
void BlackWhiteColumns(TBitmap& B) {
  B.SetSize(2, 2);
  for (int Y = 0; Y < 2; ++Y) {
    SetPx(B, 0, Y, Grey(0));
    SetPx(B, 1, Y, Grey(255));
  }
}

TEST(ResamplingTest, BoxAndTriangleEnlargeTwoColumnsToThree) {
  struct Case {
    uint8_t Filter;
    uint8_t Middle;
  };
  for (const Case C : {Case{0, 0}, Case{1, 127}}) {
    TBitmap Src, Dst;
    BlackWhiteColumns(Src);
    ResampleBitmap(3, 2, C.Filter, 0, Src, Dst);
    ASSERT_EQ(Dst.Width(), 3);
    ASSERT_EQ(Dst.Height(), 2);
    for (int Y = 0; Y < 2; ++Y) {
      EXPECT_EQ(Px(Dst, 0, Y), Grey(0));
      EXPECT_EQ(Px(Dst, 1, Y), Grey(C.Middle)) << int(C.Filter);
      EXPECT_EQ(Px(Dst, 2, Y), Grey(255));
    }
  }
}

TEST(ResamplingTest, SameSizeIsIdentityForInterpolatingKernels) {
  TBitmap Src;
  RandomImage(Src, 23, 17, 5);
  for (uint8_t F = 0; F < ResampleFilterCount; ++F) {
    TBitmap Dst;
    ResampleBitmap(23, 17, F, 0, Src, Dst);
    const bool Interpolating = F == 0 || F == 1 || F == 2 || F == 5;
    EXPECT_EQ(ImagesMatch(Dst, Src, 0, "identity").operator bool(), Interpolating) << ResampleFilters[F].Name;
  }
}

TEST(ResamplingTest, MatchesTheReferenceForEveryKernel) {
  const std::pair<int, int> Sizes[][2] = {
      {{13, 9}, {29, 21}}, {{31, 19}, {7, 5}}, {{9, 14}, {20, 4}}, {{2, 2}, {11, 3}}, {{40, 3}, {9, 2}}};
  for (uint8_t F = 0; F < ResampleFilterCount; ++F)
    for (const auto& S : Sizes) {
      TBitmap Src, Dst, Expected(S[1].first, S[1].second);
      RandomImage(Src, S[0].first, S[0].second, 100u + F);
      ResampleBitmap(S[1].first, S[1].second, F, 0, Src, Dst);
      RefResample(ResampleFilters[F].Filter, ResampleFilters[F].Support, Src, Expected);
      EXPECT_IMAGES_MATCH(Dst, Expected, 0, std::string("resample-") + ResampleFilters[F].Name);
    }
}

TEST(ResamplingTest, SupportZeroTakesTheKernelsOwn) {
  // Support 0 is Lanczos3's 3; another support is used as given (2.5 and 1.5
  // match the reference with theirs, and 1.5 leaves out weights 3 takes).
  TBitmap Src, Zero, Three;
  RandomImage(Src, 40, 30, 9);
  ResampleBitmap(13, 9, 5, 0, Src, Zero);
  ResampleBitmap(13, 9, 5, 3.0f, Src, Three);
  EXPECT_IMAGES_MATCH(Zero, Three);
  for (float Support : {2.5f, 1.5f}) {
    TBitmap Given, Expected(13, 9);
    ResampleBitmap(13, 9, 5, Support, Src, Given);
    RefResample(Lanczos3Filter, Support, Src, Expected);
    EXPECT_IMAGES_MATCH(Given, Expected);
    if (Support == 1.5f) {
      EXPECT_FALSE(ImagesMatch(Given, Three));
    }
  }
}

TEST(ResamplingTest, OvershootIsClipped) {
  // A hard edge enlarged with Mitchell and Lanczos3 rings below 0 and above
  // 255 next to it; the results stop at the limits instead of wrapping.
  TBitmap Src(8, 2, pf24bit, clBlack);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 4; X < 8; ++X) SetPx(Src, X, Y, Grey(255));
  for (uint8_t F : {uint8_t{5}, uint8_t{6}}) {
    TBitmap Dst, Expected(29, 2);
    ResampleBitmap(29, 2, F, 0, Src, Dst);
    RefResample(ResampleFilters[F].Filter, ResampleFilters[F].Support, Src, Expected);
    EXPECT_IMAGES_MATCH(Dst, Expected);
    // Source pixels 3 and 4 land on 12 and 16.
    for (int X = 0; X < 29; ++X) {
      const int V = Px(Dst, X, 0).Blue;
      EXPECT_TRUE(X <= 12 ? V < 64 : X >= 16 ? V > 191 : true) << int(F) << " at " << X << ": " << V;
    }
    EXPECT_EQ(Px(Dst, 10, 0).Blue, 0) << int(F);
    EXPECT_EQ(Px(Dst, 18, 0).Blue, 255) << int(F);
  }
}

TEST(ResamplingTest, SizesOfOne) {
  // A single destination pixel is the weighted mean around the source's
  // middle: the box over 3 pixels is the plain mean.
  TBitmap Row(3, 3, pf24bit, clBlack);
  for (int Y = 0; Y < 3; ++Y) {
    SetPx(Row, 1, Y, Grey(90));
    SetPx(Row, 2, Y, Grey(255));
  }
  TBitmap Dot;
  ResampleBitmap(1, 1, 0, 0, Row, Dot);
  EXPECT_EQ(Px(Dot, 0, 0), Grey(115));

  // A one-pixel-high source is repeated down every row.
  TBitmap Line, Tall;
  RandomImage(Line, 5, 1, 3);
  ResampleBitmap(5, 4, 1, 0, Line, Tall);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(Px(Tall, X, Y), Px(Line, X, 0)) << X << ", " << Y;
}

TEST(ResamplingTest, EverySmallSizeStaysInsideItsBitmaps) {
  // Down and up between sizes 1 to 5 in every combination: a uniform image
  // stays uniform, a random one matches the reference (ASan watches the reads
  // and writes).
  for (uint8_t F = 0; F < ResampleFilterCount; ++F)
    for (int SW = 1; SW <= 5; ++SW)
      for (int SH = 1; SH <= 5; ++SH)
        for (int DW = 1; DW <= 5; ++DW)
          for (int DH = 1; DH <= 5; ++DH) {
            TBitmap Flat(SW, SH, pf24bit, RGB(30, 140, 220)), FlatOut;
            ResampleBitmap(DW, DH, F, 0, Flat, FlatOut);
            ASSERT_TRUE(ImagesMatch(FlatOut, TBitmap(DW, DH, pf24bit, RGB(30, 140, 220))))
                << int(F) << ": " << SW << "x" << SH << " -> " << DW << "x" << DH;
            TBitmap Src, Dst, Expected(DW, DH);
            RandomImage(Src, SW, SH, unsigned(SW * 1000 + SH * 100 + DW * 10 + DH));
            ResampleBitmap(DW, DH, F, 0, Src, Dst);
            RefResample(ResampleFilters[F].Filter, ResampleFilters[F].Support, Src, Expected);
            ASSERT_TRUE(ImagesMatch(Dst, Expected)) << int(F) << ": " << SW << "x" << SH << " -> " << DW << "x" << DH;
          }
}

TEST(ResamplingTest, BitmapFormatsAndArguments) {
  // The source becomes 24-bit in place; Dst is replaced whatever it held.
  TBitmap Src(6, 4, pf32bit, clRed), Dst(2, 2, pf8bit);
  ResampleBitmap(9, 3, 6, 0, Src, Dst);
  EXPECT_EQ(Src.PixelFormat(), pf24bit);
  EXPECT_EQ(Dst.PixelFormat(), pf24bit);
  EXPECT_EQ(Dst.Width(), 9);
  EXPECT_EQ(Px(Dst, 4, 1), (TRGB{0, 0, 255}));
  // A zero size empties Dst; an unknown filter changes nothing.
  ResampleBitmap(0, 5, 1, 0, Src, Dst);
  EXPECT_TRUE(Dst.Empty());
  TBitmap Other(3, 3, pf24bit, clBlue);
  ResampleBitmap(5, 5, 7, 0, Src, Other);
  EXPECT_EQ(Other.Width(), 3);

  // In place, and with Src as Dst, at the bitmap's own size: 24-bit with the
  // filtered pixels.
  TBitmap Image, Copy, Expected(11, 7);
  RandomImage(Image, 11, 7, 21);
  Copy.Assign(Image);
  RefResample(MitchellFilter, 2, Copy, Expected);
  Image.SetPixelFormat(pf32bit);
  ResampleBitmapInPlace(11, 7, 6, 0, Image);
  EXPECT_EQ(Image.PixelFormat(), pf24bit);
  EXPECT_IMAGES_MATCH(Image, Expected);
  ResampleBitmap(11, 7, 6, 0, Copy, Copy);
  EXPECT_IMAGES_MATCH(Copy, Expected);
}

TEST(ResamplingTest, ThreadsResampleAtOnce) {
  // The work arrays are the thread's own: four threads at once give what one
  // thread gives. The progress service, the interface thread's, is off.
  const bool Saved = ProgressDisabled;
  ProgressDisabled = true;
  TBitmap Src[4], Alone[4], Together[4];
  for (int I = 0; I < 4; ++I) {
    RandomImage(Src[I], 90 + 13 * I, 70 - 9 * I, 40u + I);
    ResampleBitmap(61 + 20 * I, 47, uint8_t(I + 3), 0, Src[I], Alone[I]);
  }
  std::vector<std::thread> Threads;
  for (int I = 0; I < 4; ++I)
    Threads.emplace_back([&, I] {
      for (int K = 0; K < 5; ++K) ResampleBitmap(61 + 20 * I, 47, uint8_t(I + 3), 0, Src[I], Together[I]);
    });
  for (std::thread& T : Threads) T.join();
  ProgressDisabled = Saved;
  for (int I = 0; I < 4; ++I) EXPECT_IMAGES_MATCH(Together[I], Alone[I]);
}

using ResamplingProgressTest = TProgressFixture;

// Sizes that keep the maximum (2 * 20 + 10 + 12 = 62) below 100 steps, so that
// every step is a new percentage and reaches the sink.
TEST_F(ResamplingProgressTest, ACancelInTheFirstPassLeavesDstUntouched) {
  TBitmap Src;
  RandomImage(Src, 16, 10, 8);
  TBitmap Dst(20, 12, pf24bit, clLime);
  TCancelAt Sink(20 + 5); // set at source row 4: row 5 is refused
  Install(Sink);
  Resample(TriangleFilter, 1, Src, Dst);
  EXPECT_EQ(Sink.Begins, 1);
  EXPECT_IMAGES_MATCH(Dst, TBitmap(20, 12, pf24bit, clLime));
}

TEST_F(ResamplingProgressTest, ACancelInTheSecondPassKeepsTheColumnsDone) {
  TBitmap Src;
  RandomImage(Src, 16, 10, 8);
  TBitmap Dst(20, 12, pf24bit, clLime), Expected(20, 12);
  RefResample(TriangleFilter, 1, Src, Expected);
  TCancelAt Sink(20 + 10 + 12 + 10); // set at column 9 of the vertical pass
  Install(Sink);
  Resample(TriangleFilter, 1, Src, Dst);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X)
      ASSERT_EQ(Px(Dst, X, Y), X < 10 ? Px(Expected, X, Y) : (TRGB{0, 255, 0})) << X << ", " << Y;
}

} // namespace
