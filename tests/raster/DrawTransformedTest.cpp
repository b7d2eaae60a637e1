// Drawing through a transformation against plain references: the fast path
// when the bounds reach past the destination, and rotations, scalings and
// projective corners against an inverse mapping and a sampler written out
// from their formulas.
#include "raster/TransformFunc.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

TAffineTransformation Affine(const TRect& Src) {
  TAffineTransformation T;
  T.SetSrcRect(Src);
  return T;
}

// ---- The reference sampler ----------------------------------------------------

// A source pixel as the sampler reads it: outside the source the nearest edge
// pixel (Back clNone) or Back.
TRGB SourcePixel(const TBitmap& Src, int X, int Y, TColor Back) {
  if (X >= 0 && X < Src.Width() && Y >= 0 && Y < Src.Height()) return Px(Src, X, Y);
  if (Back != clNone) return ColorToTRGB(Back);
  return Px(Src, std::clamp(X, 0, Src.Width() - 1), std::clamp(Y, 0, Src.Height() - 1));
}

uint8_t ToByte(double V) { return V <= 0 ? 0 : V > 254 ? 255 : uint8_t(Round(V)); }

// Cubic convolution with a = -1.
double Cubic(double T) {
  T = std::abs(T);
  return T < 1 ? (T - 1) * (T * T - T - 1) : -(T - 1) * (T - 2) * (T - 2);
}

TRGB Sample(const TBitmap& Src, double X, double Y, TAntialiasMode Mode, TColor Back) {
  const int IX = int(std::floor(X)), IY = int(std::floor(Y));
  double Sum[3] = {0, 0, 0};
  const int From = Mode == amBilinear ? 0 : -1, To = Mode == amBilinear ? 1 : 2;
  for (int J = From; J <= To; ++J)
    for (int I = From; I <= To; ++I) {
      const double W = Mode == amBilinear ? (1 - std::abs(X - (IX + I))) * (1 - std::abs(Y - (IY + J)))
                                          : Cubic(X - (IX + I)) * Cubic(Y - (IY + J));
      const TRGB P = SourcePixel(Src, IX + I, IY + J, Back);
      Sum[0] += W * P.Blue;
      Sum[1] += W * P.Green;
      Sum[2] += W * P.Red;
    }
  return {ToByte(Sum[0]), ToByte(Sum[1]), ToByte(Sum[2])};
}

// Every pixel of Bounds inside Dst whose source point (Inverse) lies in the
// sampler's reach takes the sample there; the others keep their value. Points
// within a hair of the reach's border may fall either way: they are skipped.
void ExpectDrawn(const TBitmap& Actual, const TBitmap& Before, const TBitmap& Src, const TRect& Bounds,
                 const std::function<TFloatPoint(int, int)>& Inverse, TAntialiasMode Mode, TColor Back) {
  const double Reach = Mode == amBilinear ? 1 : 2;
  const double Hair = 1e-6;
  int Drawn = 0;
  for (int Y = 0; Y < Actual.Height(); ++Y)
    for (int X = 0; X < Actual.Width(); ++X) {
      const TRGB A = Px(Actual, X, Y);
      if (!PtInRect(Bounds, {X, Y})) {
        ASSERT_TRUE(A == Px(Before, X, Y)) << "outside the bounds at " << X << ", " << Y;
        continue;
      }
      const TFloatPoint S = Inverse(X, Y);
      const double Left = -Reach, Top = -Reach, Right = Src.Width() - 1 + Reach, Bottom = Src.Height() - 1 + Reach;
      if (std::abs(S.X - Left) < Hair || std::abs(S.X - Right) < Hair || std::abs(S.Y - Top) < Hair ||
          std::abs(S.Y - Bottom) < Hair)
        continue;
      const bool In = S.X >= Left && S.X <= Right && S.Y >= Top && S.Y <= Bottom;
      const TRGB E = In ? Sample(Src, S.X, S.Y, Mode, Back) : Px(Before, X, Y);
      Drawn += In;
      ASSERT_LE(std::abs(A.Blue - E.Blue), 1) << X << ", " << Y;
      ASSERT_LE(std::abs(A.Green - E.Green), 1) << X << ", " << Y;
      ASSERT_LE(std::abs(A.Red - E.Red), 1) << X << ", " << Y;
    }
  EXPECT_GT(Drawn, Src.Width() * Src.Height() / 2);
}

// The inverse of the affine matrix, solved directly: (x, y, 1) . M = (X, Y, 1).
std::function<TFloatPoint(int, int)> AffineInverse(const TFloatMatrix& M) {
  return [M](int X, int Y) {
    const double A = M[0][0], B = M[1][0], C = M[0][1], D = M[1][1];
    const double U = X - M[2][0], V = Y - M[2][1];
    const double Det = A * D - B * C;
    return TFloatPoint{(U * D - B * V) / Det, (A * V - C * U) / Det};
  };
}

// The square-to-quadrilateral mapping of the corners, with the source
// rectangle in front, inverted per point by solving its two linear equations.
std::function<TFloatPoint(int, int)> ProjectiveInverse(const TRect& Src, TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  const double X0 = P0.X, X1 = P1.X, X2 = P2.X, X3 = P3.X, Y0 = P0.Y, Y1 = P1.Y, Y2 = P2.Y, Y3 = P3.Y;
  const double DX1 = X1 - X2, DX2 = X3 - X2, DX3 = X0 - X1 + X2 - X3;
  const double DY1 = Y1 - Y2, DY2 = Y3 - Y2, DY3 = Y0 - Y1 + Y2 - Y3;
  const double Den = DX1 * DY2 - DX2 * DY1;
  const double G = (DX3 * DY2 - DX2 * DY3) / Den, H = (DX1 * DY3 - DX3 * DY1) / Den;
  const double A = X1 - X0 + G * X1, B = X3 - X0 + H * X3, C = X0;
  const double D = Y1 - Y0 + G * Y1, E = Y3 - Y0 + H * Y3, F = Y0;
  return [=](int X, int Y) {
    // (A - G X) u + (B - H X) v = X - C; (D - G Y) u + (E - H Y) v = Y - F.
    const double A11 = A - G * X, A12 = B - H * X, A21 = D - G * Y, A22 = E - H * Y;
    const double R1 = X - C, R2 = Y - F;
    const double Det = A11 * A22 - A12 * A21;
    const double U = (R1 * A22 - A12 * R2) / Det, V = (A11 * R2 - A21 * R1) / Det;
    return TFloatPoint{Src.Left + U * (Src.Right - Src.Left), Src.Top + V * (Src.Bottom - Src.Top)};
  };
}

} // namespace

// ---- The fast path -------------------------------------------------------------------

TEST(DrawTransformed, TranslationPastTheDestinationKeepsTheScale) {
  TBitmap Src(10, 10);
  FillRandom(Src, 1);
  for (const TPoint Offset : {TPoint{-5, -4}, TPoint{3, 4}, TPoint{-2, 6}}) {
    TBitmap Dst(8, 8, pf24bit, clGray), Before;
    Before.Assign(Dst);
    TAffineTransformation T = Affine({0, 0, 10, 10});
    T.Translate(Offset.X, Offset.Y);
    DrawTransformed(Src, Dst, T, amBicubic, clNone);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) {
        const int SX = X - Offset.X, SY = Y - Offset.Y;
        const bool In = SX >= 0 && SX < 10 && SY >= 0 && SY < 10;
        ASSERT_TRUE(Px(Dst, X, Y) == (In ? Px(Src, SX, SY) : Px(Before, X, Y))) << X << ", " << Y;
      }
  }
}

TEST(DrawTransformed, NearestScalingPastTheDestinationIsACutOfTheWholeDrawing) {
  // The same scaling drawn whole into a large bitmap and cut by a small one
  // whose edges the bounds overrun on every side: the small one shows the
  // matching part of the whole, not the whole picture squeezed into it.
  TBitmap Src(13, 9);
  FillRandom(Src, 2);
  for (const TPoint Offset : {TPoint{-7, -3}, TPoint{2, 1}, TPoint{-20, -10}}) {
    TAffineTransformation Whole = Affine({0, 0, 13, 9});
    Whole.Scale(2.5, 1.75);
    Whole.Translate(40, 40);
    TAffineTransformation Cut = Affine({0, 0, 13, 9});
    Cut.Scale(2.5, 1.75);
    Cut.Translate(Offset.X, Offset.Y);
    ASSERT_TRUE(Cut.ScaleOnly());
    TBitmap Big(120, 120, pf24bit, clGray), Small(12, 10, pf24bit, clGray);
    DrawTransformed(Src, Big, Whole, amNearest, clNone);
    DrawTransformed(Src, Small, Cut, amNearest, clNone);
    for (int Y = 0; Y < 10; ++Y)
      for (int X = 0; X < 12; ++X)
        ASSERT_TRUE(Px(Small, X, Y) == Px(Big, X - Offset.X + 40, Y - Offset.Y + 40)) << X << ", " << Y;
  }
}

// ---- The general path against the references -----------------------------------------

TEST(DrawTransformed, RotatedAndScaledLayerMatchesTheInverseMapping) {
  TBitmap Src(40, 30);
  FillRandom(Src, 3);
  for (TAntialiasMode Mode : {amBilinear, amBicubic})
    for (TColor Back : {clNone, clRed}) {
      TAffineTransformation T = Affine({0, 0, 40, 30});
      T.Rotate(19.5, 14.5, 30);
      T.Scale(1.5, 1.25);
      T.Translate(30, 35);
      TBitmap Dst(110, 100), Before;
      FillRandom(Dst, 4);
      Before.Assign(Dst);
      DrawTransformed(Src, Dst, T, Mode, Back);
      TRect Bounds = T.GetBounds();
      ExpectDrawn(Dst, Before, Src, Bounds, AffineInverse(T.Matrix), Mode, Back);
      if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(DrawTransformed, ProjectiveCornersMatchTheInverseMapping) {
  TBitmap Src(40, 30);
  FillRandom(Src, 5);
  const TPoint P0{10, 5}, P1{90, 15}, P2{80, 85}, P3{5, 70};
  for (TAntialiasMode Mode : {amBilinear, amBicubic}) {
    TProjectiveTransformation T;
    T.SetSrcRect({0, 0, 40, 30});
    T.SetP0(P0);
    T.SetP1(P1);
    T.SetP2(P2);
    T.SetP3(P3);
    TBitmap Dst(100, 100), Before;
    FillRandom(Dst, 6);
    Before.Assign(Dst);
    DrawTransformed(Src, Dst, T, Mode, clWhite);
    ExpectDrawn(Dst, Before, Src, T.GetBounds(), ProjectiveInverse({0, 0, 40, 30}, P0, P1, P2, P3), Mode, clWhite);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(DrawTransformed, GeneralPathCropsAtTheDestinationEdges) {
  // A turned layer overrunning a small destination: what lies inside is
  // exactly what the whole drawing has there.
  TBitmap Src(30, 20);
  FillRandom(Src, 7);
  TAffineTransformation Whole = Affine({0, 0, 30, 20});
  Whole.Rotate(14.5, 9.5, -40);
  Whole.Translate(50, 50);
  TAffineTransformation Cut = Affine({0, 0, 30, 20});
  Cut.Rotate(14.5, 9.5, -40);
  Cut.Translate(-6, -4);
  TBitmap Big(140, 140, pf24bit, clGray), Small(16, 14, pf24bit, clGray);
  DrawTransformed(Src, Big, Whole, amBicubic, clNone);
  DrawTransformed(Src, Small, Cut, amBicubic, clNone);
  for (int Y = 0; Y < 14; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_TRUE(Px(Small, X, Y) == Px(Big, X + 56, Y + 54)) << X << ", " << Y;
}
