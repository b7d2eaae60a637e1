#include "filters/Blur24.h"

#include "FilterTestSupport.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "support/ChildCost.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>

using namespace FilterTest;

namespace {

// One box pass from its definition: the truncated mean of the clamped window.
void ReferenceBoxPass(const TBitmap& Src, TBitmap& Expected, int Rx, int Ry, const TRect& Rect) {
  Expected.Assign(Src);
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  if (Rx < 1 && Ry < 1) return;
  ReferenceOver(Src, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
    for (int C = 0; C < 3; ++C) {
      int64_t Sum = 0;
      for (int DY = -Ry; DY <= Ry; ++DY)
        for (int DX = -Rx; DX <= Rx; ++DX) Sum += Channel(Clamped(Src, R, X + DX, Y + DY), C);
      SetChannel(Out, C, static_cast<int>(Sum / ((2 * Rx + 1) * (2 * Ry + 1))));
    }
  });
}

// One pass of the Gaussian: weights Round((R - |k|)^E + 1) along one axis,
// divided by their sum.
void ReferenceGaussianPass(const TBitmap& Src, TBitmap& Expected, int Radius, double Exponent, bool Horizontal,
                           const TRect& Rect) {
  std::vector<int64_t> W;
  int64_t Total = 0;
  for (int K = -Radius; K <= Radius; ++K) {
    W.push_back(Round(std::pow(Radius - std::abs(K), Exponent) + 1));
    Total += W.back();
  }
  ReferenceOver(Src, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
    for (int C = 0; C < 3; ++C) {
      int64_t Sum = 0;
      for (int K = -Radius; K <= Radius; ++K)
        Sum += W[K + Radius] * Channel(Horizontal ? Clamped(Src, R, X + K, Y) : Clamped(Src, R, X, Y + K), C);
      SetChannel(Out, C, static_cast<int>(Sum / Total));
    }
  });
}

// Dst of a geometric blur from its definition; Samples(X, Y, CX, CY) gives
// the sample positions of one pixel.
template <class F>
void ReferenceGeometric(const TBitmap& Src, const TBitmap& Dst, TBitmap& Expected, const TRect& Rect, F&& Samples) {
  ReferenceOver(Dst, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
    int64_t Sum[3] = {0, 0, 0}, Count = 0;
    for (const TPoint& S : Samples(X, Y, Dst.Width() / 2, Dst.Height() / 2)) {
      if (!PtInRect(R, S)) continue;
      for (int C = 0; C < 3; ++C) Sum[C] += Channel(PixelAt(Src, S.X, S.Y), C);
      ++Count;
    }
    if (Count > 0)
      for (int C = 0; C < 3; ++C) SetChannel(Out, C, static_cast<int>(Sum[C] / Count));
  });
}

float Angle(int X, int Y, int CX, int CY) { return std::atan2(static_cast<float>(Y - CY), static_cast<float>(X - CX)); }

// The spin samples of a pixel: whole degrees E - Length .. E + Length on its
// circle.
auto SpinSamples(int Length) {
  return [Length](int X, int Y, int CX, int CY) {
    std::vector<TPoint> S;
    const int D = IntDistance(X, Y, CX, CY);
    const int E = Round(Angle(X, Y, CX, CY) * 180.0 / std::numbers::pi);
    for (int A = E - Length; A <= E + Length; ++A)
      S.push_back(
          {Round(D * std::cos(A * std::numbers::pi / 180) + CX), Round(D * std::sin(A * std::numbers::pi / 180) + CY)});
    return S;
  };
}

// The motion samples of a pixel: Length of them from (-DX, -DY) * Length / 2,
// one step of (sin -A, cos -A) apart.
auto MotionSamples(int Length, double Degrees) {
  const double A = Degrees * std::numbers::pi / 180, DX = std::sin(-A), DY = std::cos(-A);
  return [=](int X, int Y, int, int) {
    std::vector<TPoint> S;
    double OX = -DX * Length / 2, OY = -DY * Length / 2;
    for (int K = 0; K < Length; ++K, OX += DX, OY += DY) S.push_back({Round(X + OX), Round(Y + OY)});
    return S;
  };
}

} // namespace

TEST(BoxBlurTest, PassesMatchTheWindowMean) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 31);
  const int Radii[][2] = {{2, 3}, {3, 0}, {0, 2}, {1, 1}, {0, 0}, {-2, 1}, {40, 2}, {1, 30}};
  for (const auto& Radius : Radii)
    for (const TRect& R : TestRects()) {
      SCOPED_TRACE(std::to_string(Radius[0]) + "," + std::to_string(Radius[1]) + " rect " +
                   ::testing::PrintToString(R));
      Actual.Assign(Src);
      BoxBlurPass(Actual, Radius[0], Radius[1], R);
      ReferenceBoxPass(Src, Expected, Radius[0], Radius[1], R);
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
}

TEST(BoxBlurTest, BlurIsARowPassThenAColumnPass) {
  TBitmap Src, Actual, Across, Expected;
  RandomImage(Src, 32);
  for (const TRect& R : TestRects()) {
    SCOPED_TRACE(::testing::PrintToString(R));
    Actual.Assign(Src);
    BoxBlur(Actual, 3, 2, R);
    ReferenceBoxPass(Src, Across, 3, 0, R);
    ReferenceBoxPass(Across, Expected, 0, 2, R);
    ASSERT_IMAGES_MATCH(Actual, Expected);
  }
  // Twice the 3 x 3 blur.
  Actual.Assign(Src);
  BoxBlur3x3Repeat(Actual, 2, WholeBitmapRect);
  Expected.Assign(Src);
  for (int I = 0; I < 2; ++I) {
    ReferenceBoxPass(Expected, Across, 1, 0, WholeBitmapRect);
    ReferenceBoxPass(Across, Expected, 0, 1, WholeBitmapRect);
  }
  EXPECT_IMAGES_MATCH(Actual, Expected, 0, "repeat");

  // On a one-row rect the column pass repeats the row: only the row pass shows.
  const TRect Row{0, 10, ImageWidth, 11};
  Actual.Assign(Src);
  BoxBlur3x3(Actual, Row);
  ReferenceBoxPass(Src, Expected, 1, 0, Row);
  EXPECT_IMAGES_MATCH(Actual, Expected, 0, "one row");
}

TEST(GaussianBlurTest, MatchesTwoPassesOfThePowerKernel) {
  TBitmap Src, Actual, Across, Expected;
  RandomImage(Src, 33);
  const struct {
    int Radius;
    double Exponent;
  } Cases[] = {{1, 1.69}, {2, 1.69}, {3, 1.69}, {7, 1.69}, {30, 1.69}, {4, 1.0}};
  for (const auto& Case : Cases)
    for (const TRect& R : TestRects()) {
      SCOPED_TRACE("radius " + std::to_string(Case.Radius) + " rect " + ::testing::PrintToString(R));
      Actual.Assign(Src);
      if (Case.Exponent == 1.69)
        GaussianBlurRadius(Actual, Case.Radius, R);
      else
        GaussianBlur(Actual, Case.Radius, Case.Exponent, R);
      ReferenceGaussianPass(Src, Across, Case.Radius, Case.Exponent, true, R);
      ReferenceGaussianPass(Across, Expected, Case.Radius, Case.Exponent, false, R);
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
  Actual.Assign(Src);
  GaussianBlurRadius(Actual, 0, WholeBitmapRect);
  GaussianBlur(Actual, -3, 1.0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "radius 0");
}

TEST(GeometricBlurTest, RadialSpinAndMotionMatchTheirSamples) {
  TBitmap Src, Dst, Actual, Expected;
  RandomImage(Src, 34);
  RandomImage(Dst, 35);
  const TRect Rects[] = {WholeBitmapRect, {40, 30, 10, 4}, {35, 26, 60, 45}, {-5, -5, 20, 100}};
  for (const TRect& R : Rects)
    for (const int Length : {0, 1, 5, 12}) {
      SCOPED_TRACE("length " + std::to_string(Length) + " rect " + ::testing::PrintToString(R));
      Actual.Assign(Dst);
      RadialBlur24(Src, Actual, Length, R);
      ReferenceGeometric(Src, Dst, Expected, R, [&](int X, int Y, int CX, int CY) {
        std::vector<TPoint> S;
        const int D = IntDistance(X, Y, CX, CY);
        const double A = Angle(X, Y, CX, CY);
        for (int L = std::max(D - Length, 0); L <= D + Length; ++L)
          S.push_back({Round(L * std::cos(A) + CX), Round(L * std::sin(A) + CY)});
        return S;
      });
      ASSERT_IMAGES_MATCH(Actual, Expected, 0, "radial");

      Actual.Assign(Dst);
      SpinBlur24(Src, Actual, Length, R);
      ReferenceGeometric(Src, Dst, Expected, R, SpinSamples(Length));
      ASSERT_IMAGES_MATCH(Actual, Expected, 0, "spin");

      for (const double Degrees : {0.0, 90.0, 33.0}) {
        Actual.Assign(Dst);
        MotionBlur(Src, Actual, Length, Degrees, R);
        ReferenceGeometric(Src, Dst, Expected, R, MotionSamples(Length, Degrees));
        ASSERT_IMAGES_MATCH(Actual, Expected, 0, "motion " + std::to_string(Degrees));
      }
    }
}

TEST(GeometricBlurTest, EdgeCases) {
  // Angle 0, length 1: the sample at y - 0.5 rounds to even rows.
  TBitmap Column(1, 4, pf24bit, clBlack), Out(1, 4, pf24bit, clWhite);
  for (int Y = 0; Y < 4; ++Y) SetPixel(Column, 0, Y, {static_cast<uint8_t>(10 * Y), 0, 0});
  MotionBlur(Column, Out, 1, 0, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Out, 0, 0).Blue, 0);
  EXPECT_EQ(PixelAt(Out, 0, 1).Blue, 0);
  EXPECT_EQ(PixelAt(Out, 0, 2).Blue, 20);
  EXPECT_EQ(PixelAt(Out, 0, 3).Blue, 20);

  // At the centre the spin samples only the centre, the radial blur the ray
  // to the right.
  TBitmap Src, Dst;
  RandomImage(Src, 36, 9, 9);
  RandomImage(Dst, 37, 9, 9);
  const TRect Centre{4, 4, 5, 5};
  SpinBlur24(Src, Dst, 10, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Dst, 4, 4), PixelAt(Src, 4, 4));
  RadialBlur24(Src, Dst, 2, Centre);
  EXPECT_EQ(PixelAt(Dst, 4, 4), PixelAt(Src, 4, 4)); // the other samples lie outside the rect
  RadialBlur24(Src, Dst, 2, Rect(4, 4, 9, 5));
  int Sum = 0;
  for (int X = 4; X <= 6; ++X) Sum += PixelAt(Src, X, 4).Red;
  EXPECT_EQ(PixelAt(Dst, 4, 4).Red, Sum / 3);

  // Empty bitmaps do nothing; a smaller source limits the rect.
  TBitmap Empty, Saved;
  Saved.Assign(Dst);
  RadialBlur24(Empty, Dst, 3, WholeBitmapRect);
  SpinBlur24(Empty, Dst, 3, WholeBitmapRect);
  MotionBlur(Empty, Dst, 3, 45, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Dst, Saved, 0, "empty source");
  RadialBlur24(Src, Empty, 3, WholeBitmapRect);
  MotionBlur(Src, Empty, 3, 45, WholeBitmapRect);
  EXPECT_TRUE(Empty.Empty());
  TBitmap Small;
  RandomImage(Small, 38, 4, 3);
  MotionBlur(Small, Dst, 5, 30, WholeBitmapRect);
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 9; ++X)
      if (X >= 4 || Y >= 3) {
        EXPECT_EQ(PixelAt(Dst, X, Y), PixelAt(Saved, X, Y)) << X << "," << Y;
      }
}

// Lengths far beyond the bitmap. A spin of more than half a turn each way
// samples the whole circle once, as at 180. Motion samples beyond the
// bitmap never count, so a line longer than the 16 x 12 image gives what a
// line spanning it gives, of the same parity so that the samples keep their
// positions. Time and memory stay those of a short blur (measured in
// a child: a blur that never ends is a failure).
struct TLongBlurCase {
  const char* Name;
  bool Spin;
  int Length;
  int Equivalent;
  double Degrees;
};

class GeometricBlurLength : public ::testing::TestWithParam<TLongBlurCase> {};

TEST_P(GeometricBlurLength, FarBeyondTheBitmapEndsLikeTheSpanningLength) {
  const TLongBlurCase& C = GetParam();
  TBitmap Src, Dst, Expected;
  RandomImage(Src, 39, 16, 12);
  RandomImage(Dst, 40, 16, 12);
  if (C.Spin)
    ReferenceGeometric(Src, Dst, Expected, WholeBitmapRect, SpinSamples(C.Equivalent));
  else
    ReferenceGeometric(Src, Dst, Expected, WholeBitmapRect, MotionSamples(C.Equivalent, C.Degrees));
  const TChildCost Cost = MeasureInChild([&] {
    TBitmap Actual;
    Actual.Assign(Dst);
    if (C.Spin)
      SpinBlur24(Src, Actual, C.Length, WholeBitmapRect);
    else
      MotionBlur(Src, Actual, C.Length, C.Degrees, WholeBitmapRect);
    return ImagesMatch(Actual, Expected, 0, C.Name) ? 1 : 0;
  });
  ASSERT_TRUE(Cost.Exited) << Cost.Failure;
  EXPECT_EQ(Cost.Result, 1);
  EXPECT_LT(Cost.CpuMs, CpuBudgetMs(200));
  EXPECT_LT(Cost.PeakKB, 64 * 1024);
}

INSTANTIATE_TEST_SUITE_P(GeometricBlurTest, GeometricBlurLength,
                         ::testing::Values(TLongBlurCase{"SpinIntMax", true, INT_MAX, 180, 0},
                                           TLongBlurCase{"SpinHuge", true, 1 << 25, 180, 0},
                                           TLongBlurCase{"MotionHugeEvenDown", false, 1 << 25, 40, 0},
                                           TLongBlurCase{"MotionHugeOddAcross", false, (1 << 25) + 1, 41, 90}),
                         [](const auto& Info) { return std::string(Info.param.Name); });
