#include "filters/Distortions24.h"

#include "FilterTestSupport.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

using namespace FilterTest;

namespace {

// A bitmap whose rows are the greys 2 y: bilinear sampling of it gives 2 ys,
// rounded, at any row ys inside it.
void RowGradient(TBitmap& B, int W, int H) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, Grey(2 * Y));
}

struct TIdentityCase {
  std::string Name;
  std::function<void(const TBitmap& Src, TBitmap& Dst, const TRect& Rect)> Apply;
};

} // namespace

// The identity parameters of every mapping copy the source exactly, in
// every sampling mode, whatever the rect.
TEST(Distortions, IdentityParametersCopy) {
  const std::vector<TIdentityCase> Cases{
      {"trapezoid 1",
       [](const TBitmap& S, TBitmap& D, const TRect& R) { Trapezoid24(S, D, 1, 1, 1, 1, clRed, R, amBicubic, false); }},
      {"trapezoid 1 resized",
       [](const TBitmap& S, TBitmap& D, const TRect& R) { Trapezoid24(S, D, 1, 1, 1, 1, clRed, R, amBilinear, true); }},
      {"skew 0", [](const TBitmap& S, TBitmap& D, const TRect&) { Skew24(S, D, 0, 0, clRed, amLagrange); }},
      {"skew below half a pixel",
       [](const TBitmap& S, TBitmap& D, const TRect&) { Skew24(S, D, 0.001, -0.001, clRed, amBilinear); }},
      {"fisheye nearest 0", [](const TBitmap& S, TBitmap& D, const TRect&) { FisheyeNearest24(S, D, 0, 0); }},
      {"fisheye bilinear 0", [](const TBitmap& S, TBitmap& D, const TRect&) { FisheyeBilinear24(S, D, 0, 0); }},
  };
  TBitmap Src, Dst;
  RandomImage(Src, 21, 23, 17);
  for (const TIdentityCase& C : Cases)
    for (const TRect& Rect : TestRects()) {
      Dst.SetSize(3, 3);
      C.Apply(Src, Dst, Rect);
      ASSERT_IMAGES_MATCH(Dst, Src, 0, C.Name);
    }
}

// The rect-bound identities copy the rect and leave the rest of the target.
TEST(Distortions, IdentityParametersCopyTheRect) {
  const std::vector<TIdentityCase> Cases{
      {"waves amplitude 0", [](const TBitmap& S, TBitmap& D, const TRect& R) { WavesFromSource(S, D, 7, 0, true, R); }},
      {"waves wavelength 0",
       [](const TBitmap& S, TBitmap& D, const TRect& R) { WavesFromSource(S, D, 0, 9, false, R); }},
      {"twirl 0 nearest",
       [](const TBitmap& S, TBitmap& D, const TRect& R) { Twirl24(S, D, 0, clRed, R, amNearest, false); }},
  };
  TBitmap Src, Dst, Expected, Before;
  RandomImage(Src, 22, 23, 17);
  RandomImage(Before, 23, 23, 17);
  for (const TIdentityCase& C : Cases)
    for (const TRect& Rect : TestRects()) {
      Dst.Assign(Before);
      C.Apply(Src, Dst, Rect);
      ReferenceOver(Before, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect&) { Out = Px(Src, X, Y); });
      ASSERT_IMAGES_MATCH(Dst, Expected, 0, C.Name);
    }
}

TEST(Trapezoid24, NarrowTopLeavesBackColourAtTheTopCorners) {
  TBitmap Src, Dst;
  RandomImage(Src, 24, 40, 30);
  Trapezoid24(Src, Dst, 1, 0.5, 1, 1, clRed, WholeBitmapRect, amNearest, false);
  ASSERT_EQ(Dst.Width(), 40);
  EXPECT_EQ(Px(Dst, 0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Dst, 9, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Dst, 39, 0), Rgb(255, 0, 0));
  // Row 0 spans 20 pixels centred: column 20 samples (20 - 10) * 2 = 20.
  EXPECT_EQ(Px(Dst, 20, 0), Px(Src, 20, 0));
  EXPECT_EQ(Px(Dst, 11, 0), Px(Src, 2, 0));
}

TEST(Trapezoid24, ResizeWidensToTheWiderSideAndFactorsOfZeroDoNothing) {
  TBitmap Src, Dst;
  RandomImage(Src, 25, 40, 30);
  Trapezoid24(Src, Dst, 1, 2, 1.5, 1, clRed, WholeBitmapRect, amBilinear, true);
  EXPECT_EQ(Dst.Width(), 80);
  EXPECT_EQ(Dst.Height(), 45);
  TBitmap Before;
  RandomImage(Before, 26, 5, 5);
  for (double Zero : {0.0, -1.0}) {
    Dst.Assign(Before);
    Trapezoid24(Src, Dst, Zero, 1, 1, 1, clRed, WholeBitmapRect, amBilinear, true);
    EXPECT_IMAGES_MATCH(Dst, Before);
  }
}

TEST(Skew24, WidensOrHeightensAndShiftsLinearly) {
  TBitmap Src, Dst;
  RandomImage(Src, 27, 100, 100);
  Skew24(Src, Dst, 0.1, 0, clRed, amNearest);
  ASSERT_EQ(Dst.Width(), 110);
  ASSERT_EQ(Dst.Height(), 100);
  // dy0 = -10: row j shifts right by 10 j / 99.
  for (int X = 0; X < 100; ++X) {
    EXPECT_EQ(Px(Dst, X, 0), Px(Src, X, 0));
    EXPECT_EQ(Px(Dst, X + 10, 99), Px(Src, X, 99));
  }
  EXPECT_EQ(Px(Dst, 105, 0), Rgb(255, 0, 0));
  Skew24(Src, Dst, 0, -0.2, clBlue, amNearest);
  ASSERT_EQ(Dst.Width(), 100);
  ASSERT_EQ(Dst.Height(), 120);
  // dx0 = 20: column i shifts down by (99 - i) 20 / 99.
  EXPECT_EQ(Px(Dst, 0, 20), Px(Src, 0, 0));
  EXPECT_EQ(Px(Dst, 99, 0), Px(Src, 99, 0));
  EXPECT_EQ(Px(Dst, 0, 0), Rgb(0, 0, 255));
}

TEST(Skew24, AOnePixelTargetDoesNotShift) {
  TBitmap Src, Dst;
  RandomImage(Src, 28, 1, 1);
  Skew24(Src, Dst, 3, 0, clRed, amBilinear); // 4 x 1: no row to shift across
  ASSERT_EQ(Dst.Width(), 4);
  EXPECT_EQ(Px(Dst, 0, 0), Px(Src, 0, 0));
}

TEST(Lens24, StrengthZeroPaintsTheBackColourAndTheCentreSamplesTheCentre) {
  TBitmap Src, Dst;
  RandomImage(Src, 29, 30, 20);
  const TRect R{4, 2, 24, 18};
  for (auto [Back, Painted] : {std::pair{TColor(clRed), Rgb(255, 0, 0)}, {clNone, Grey(255)}}) {
    Dst.Assign(Src);
    Lens24(Src, Dst, 0, Back, R, amBilinear);
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 30; ++X) ASSERT_EQ(Px(Dst, X, Y), PtInRect(R, {X, Y}) ? Painted : Px(Src, X, Y));
  }
  Lens24(Src, Dst, 0.7, clRed, R, amNearest);
  EXPECT_EQ(Px(Dst, 14, 10), Px(Src, 14, 10));
  EXPECT_EQ(Px(Dst, 4, 2), Rgb(255, 0, 0)); // the corners lie outside the lens
}

TEST(EllipseDistort24, CornersSampleOutsideAndTheCentreStays) {
  TBitmap Src, Dst;
  RandomImage(Src, 30, 41, 31);
  EllipseDistort24(Src, Dst, clRed, {0, 0, 41, 31}, amNearest);
  EXPECT_EQ(Px(Dst, 0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Dst, 40, 30), Rgb(255, 0, 0));
  // D = 42, R = 21: target (21, 15) maps to u = 21, v = 21, the centre.
  EXPECT_EQ(Px(Dst, 21, 15), Px(Src, 21, 15));
}

TEST(Twirl24, TheCornersDoNotTurnAndResizeBoundsTheMapping) {
  TBitmap Src, Dst;
  RandomImage(Src, 31, 100, 100);
  Twirl24(Src, Dst, 3, clRed, {0, 0, 100, 100}, amNearest, false);
  EXPECT_EQ(Px(Dst, 0, 0), Px(Src, 0, 0)); // r = Rmax: no turn
  EXPECT_NE(Px(Dst, 60, 50), Px(Src, 60, 50));
  Twirl24(Src, Dst, 0, clRed, WholeBitmapRect, amNearest, true);
  EXPECT_EQ(Dst.Width(), 100);
  EXPECT_EQ(Dst.Height(), 100);
  Twirl24(Src, Dst, 2, clRed, WholeBitmapRect, amNearest, true);
  EXPECT_GT(Dst.Width(), 100); // a quarter turn near the middle pushes the border out
}

TEST(FisheyeNearest24, RoundsTheMappingAndPaintsWhiteOutside) {
  TBitmap Src, Dst;
  RandomImage(Src, 32, 21, 15);
  FisheyeNearest24(Src, Dst, 60, -40);
  const int CX = 10, CY = 7;
  const double KX = 60.0 / 100 / CX / CY, KY = -40.0 / 100 / CX / CY;
  for (int J = 0; J < 15; ++J)
    for (int I = 0; I < 21; ++I) {
      const double G = J - CY, D = I - CX;
      const int X = Round(I - KX * G * G * D), Y = Round(CY + G - KY * D * D * G);
      const bool Inside = X >= 0 && X < 21 && Y >= 0 && Y < 15;
      ASSERT_EQ(Px(Dst, I, J), Inside ? Px(Src, X, Y) : Grey(255)) << I << ", " << J;
    }
}

TEST(FisheyeBilinear24, MixesDownThenAcrossWithWhiteOutside) {
  TBitmap Src, Dst;
  RandomImage(Src, 33, 21, 15);
  FisheyeBilinear24(Src, Dst, 80, 50);
  const int CX = 10, CY = 7;
  const double KX = 80.0 / 100 / CX / CY, KY = 50.0 / 100 / CX / CY;
  const auto At = [&](int X, int Y) { return X < 0 || X >= 21 || Y < 0 || Y >= 15 ? Grey(255) : Px(Src, X, Y); };
  for (int J = 0; J < 15; ++J)
    for (int I = 0; I < 21; ++I) {
      const double G = J - CY, D = I - CX;
      const double X = I - KX * G * G * D, Y = CY + G - KY * D * D * G;
      const int X0 = static_cast<int>(std::floor(X)), Y0 = static_cast<int>(std::floor(Y));
      TRGB E = Grey(255);
      if (X0 >= -1 && X0 <= 20 && Y0 >= -1 && Y0 <= 14) {
        const double FX = X - X0, FY = Y - Y0;
        for (int C = 0; C < 3; ++C) {
          const int L = Round(Channel(At(X0, Y0), C) * (1 - FY) + Channel(At(X0, Y0 + 1), C) * FY);
          const int R = Round(Channel(At(X0 + 1, Y0), C) * (1 - FY) + Channel(At(X0 + 1, Y0 + 1), C) * FY);
          SetChannel(E, C, Clip255(Round(L * (1 - FX) + R * FX)));
        }
      }
      ASSERT_EQ(Px(Dst, I, J), E) << I << ", " << J;
    }
}

TEST(WavesFromSource, CrestsShiftByTheAmplitudeAndFarSamplesKeepThePixel) {
  TBitmap Src, Dst, Before;
  RandomImage(Src, 34, 30, 30);
  RandomImage(Before, 35, 30, 30);
  Dst.Assign(Before);
  WavesFromSource(Src, Dst, 4, 3, true, {0, 2, 30, 20});
  for (int X = 0; X < 30; ++X) {
    EXPECT_EQ(Px(Dst, X, 2), Px(Src, X, 2));      // sin 0
    EXPECT_EQ(Px(Dst, X, 4), Px(Src, X, 7));      // sin pi / 2: 3 down
    EXPECT_EQ(Px(Dst, X, 8), Px(Src, X, 5));      // sin 3 pi / 2: 3 up
    EXPECT_EQ(Px(Dst, X, 25), Px(Before, X, 25)); // outside the rect
  }
  Dst.Assign(Before);
  WavesFromSource(Src, Dst, 4, 5, false, WholeBitmapRect);
  EXPECT_EQ(Px(Dst, 2, 5), Px(Src, 7, 5));
  EXPECT_EQ(Px(Dst, 26, 5), Px(Before, 26, 5)); // 31 is beyond reach: kept
}

TEST(WaterReflection24, RowsSampleTheRippledRow) {
  TBitmap Src, Dst;
  RowGradient(Src, 8, 120);
  const TRect R{0, 10, 8, 60};
  for (auto [Phase, Period] : {std::pair{6.0, 10.0}, {1.0, 0.0}}) {
    Dst.Assign(Src);
    WaterReflection24(Src, Dst, Phase, Period, clWhite, R);
    const double H = 50, PhaseAngle = Period == 0 ? 0 : Phase * 2 * std::numbers::pi / Period;
    for (int Y = 10; Y < 60; ++Y) {
      const double D = Y - 10;
      const double YS = Y + 2 + (H / 16) * (D + 24) * std::sin(16 * (H - D) / (D + 1) + PhaseAngle) / H;
      EXPECT_NEAR(Px(Dst, 3, Y).Red, 2 * YS, 0.51) << Y;
    }
    EXPECT_EQ(Px(Dst, 3, 60), Px(Src, 3, 60));
  }
}
