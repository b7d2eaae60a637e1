#include "raster/TransformData.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
// Forward mapping of a double point through a row-vector matrix, written out
// in the test: x' = (x m00 + y m10 + m20) / w.
TFloatPoint Forward(const TFloatMatrix& M, double X, double Y, bool Projective) {
  const double W = Projective ? X * M[0][2] + Y * M[1][2] + M[2][2] : 1;
  return {(X * M[0][0] + Y * M[1][0] + M[2][0]) / W, (X * M[0][1] + Y * M[1][1] + M[2][1]) / W};
}

struct TProbe : TProjectiveTransformation {
  using TProjectiveTransformation::FMatrix;
};

TFloatPoint Mapped(const TTransformation& T, int X, int Y) {
  TFloatPoint P;
  T.Transform(X, Y, P.X, P.Y);
  return P;
}
TFloatPoint Reversed(const TTransformation& T, int X, int Y) {
  TFloatPoint P;
  T.Reverse(X, Y, P.X, P.Y);
  return P;
}

::testing::AssertionResult PointNear(const TFloatPoint& P, double X, double Y, double Tolerance) {
  if (std::abs(P.X - X) <= Tolerance && std::abs(P.Y - Y) <= Tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << P.X << ", " << P.Y << ") is not within " << Tolerance << " of (" << X
                                       << ", " << Y << ")";
}
#define EXPECT_POINT_NEAR(P, X, Y, Tolerance) EXPECT_TRUE(PointNear(P, X, Y, Tolerance))

TProjectiveTransformation Quad(TRect Src, TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  TProjectiveTransformation T;
  T.SetSrcRect(Src);
  T.SetP0(P0);
  T.SetP1(P1);
  T.SetP2(P2);
  T.SetP3(P3);
  return T;
}
} // namespace

TEST(TransformData, MatrixHelpers) {
  EXPECT_EQ(Det2(1, 2, 3, 4), -2);
  const TFloatMatrix M{{{2, 0, 1}, {1, 3, 2}, {1, 1, 2}}};
  EXPECT_DOUBLE_EQ(MatrixDeterminant(M), 2 * (3 * 2 - 2 * 1) - 0 + 1 * (1 * 1 - 3 * 1));
  EXPECT_DOUBLE_EQ(Det3(1, 2, 3, 0, 1, 4, 5, 6, 0), 1);

  TFloatMatrix Inv = M;
  InvertMatrix(Inv);
  const TFloatMatrix P = MultiplyMatrix(Inv, M);
  for (int I = 0; I < 3; ++I)
    for (int J = 0; J < 3; ++J) EXPECT_NEAR(P[I][J], I == J ? 1 : 0, 1e-12) << I << J;

  // B . A: element [0][1] of B . A with A = translation, B = scale.
  TFloatMatrix A = IdentityMatrix, B = IdentityMatrix;
  A[2][0] = 5;
  B[0][0] = 2;
  const TFloatMatrix BA = MultiplyMatrix(A, B);
  EXPECT_EQ(BA[0][0], 2);
  EXPECT_EQ(BA[2][0], 5);
  const TFloatMatrix AB = MultiplyMatrix(B, A);
  EXPECT_EQ(AB[2][0], 10);

  TFloatMatrix Singular{{{1, 2, 0}, {2, 4, 0}, {0, 0, 1}}};
  InvertMatrix(Singular);
  EXPECT_EQ(Singular, IdentityMatrix);
  TFloatMatrix Zero{};
  InvertMatrix(Zero);
  EXPECT_EQ(Zero, IdentityMatrix);
}

TEST(TransformData, AffineIdentityBounds) {
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 100, 50});
  EXPECT_EQ(T.GetBoundsR(), (TFloatRect{0, 0, 99, 49}));
  EXPECT_EQ(T.GetBounds(), (TRect{0, 0, 100, 50}));
  EXPECT_TRUE(T.ScaleOnly());
  EXPECT_TRUE(T.TanslateOnly());

  T.TranslateF(0.5, 0);
  EXPECT_EQ(T.GetBounds(), (TRect{0, 0, 101, 50}));
  EXPECT_FALSE(T.TanslateOnly());

  T.Clear();
  T.Translate(-30, 7);
  EXPECT_EQ(T.GetBounds(), (TRect{-30, 7, 70, 57}));
  EXPECT_TRUE(T.TanslateOnly());
  T.GoToOrigin();
  EXPECT_EQ(T.GetBounds(), (TRect{0, 0, 100, 50}));
}

TEST(TransformData, AffineSteps) {
  TAffineTransformation T;
  T.Rotate(0, 0, 90);
  EXPECT_POINT_NEAR(Mapped(T, 1, 0), 0, -1, 1e-12);
  for (double Alpha : {13.0, 90.0, -171.5}) {
    TAffineTransformation R;
    R.Rotate(50, 25, Alpha);
    EXPECT_POINT_NEAR(Mapped(R, 50, 25), 50, 25, 1e-12) << Alpha;
  }

  TAffineTransformation ScaleThenMove;
  ScaleThenMove.Scale(2, 2);
  ScaleThenMove.TranslateF(10, 0);
  EXPECT_POINT_NEAR(Mapped(ScaleThenMove, 1, 1), 12, 2, 0);
  TAffineTransformation MoveThenScale;
  MoveThenScale.TranslateF(10, 0);
  MoveThenScale.Scale(2, 2);
  EXPECT_POINT_NEAR(Mapped(MoveThenScale, 1, 1), 22, 2, 0);

  TAffineTransformation Skew;
  Skew.Skew(0.5, 2);
  EXPECT_POINT_NEAR(Mapped(Skew, 4, 6), 4 + 0.5 * 6, 2 * 4 + 6, 0);

  // Scaling is ScaleOnly but not a translation; its corners are exact.
  TAffineTransformation S;
  S.SetSrcRect({0, 0, 10, 10});
  S.Scale(2, 2);
  TRectVertices V;
  S.GetVertices(V);
  EXPECT_EQ(V, (TRectVertices{TPoint{0, 0}, TPoint{18, 0}, TPoint{18, 18}, TPoint{0, 18}}));
  EXPECT_TRUE(S.ScaleOnly());
  EXPECT_FALSE(S.TanslateOnly());
  // A 45 degree turn is neither.
  S.Rotate(9, 9, 45);
  EXPECT_FALSE(S.ScaleOnly());
}

TEST(TransformData, AffineBoundsAndVerticesOfARotation) {
  TAffineTransformation T;
  const TRect Src{10, 20, 110, 70};
  T.SetSrcRect(Src);
  const double Alpha = 30;
  T.Rotate(60, 45, Alpha);
  T.Translate(5, -3);
  // Reference: the corner pixels turned by hand.
  const double A = Alpha * M_PI / 180, C = std::cos(A), S = std::sin(A);
  const TPoint Corners[4] = {{10, 20}, {109, 20}, {109, 69}, {10, 69}};
  double X[4], Y[4];
  for (int I = 0; I < 4; ++I) {
    const double DX = Corners[I].X - 60, DY = Corners[I].Y - 45;
    X[I] = 60 + DX * C + DY * S + 5;
    Y[I] = 45 - DX * S + DY * C - 3;
  }
  const double L = *std::min_element(X, X + 4), R = *std::max_element(X, X + 4);
  const double Tp = *std::min_element(Y, Y + 4), B = *std::max_element(Y, Y + 4);
  const TFloatRect BR = T.GetBoundsR();
  EXPECT_NEAR(BR.Left, L, 1e-9);
  EXPECT_NEAR(BR.Right, R, 1e-9);
  EXPECT_NEAR(BR.Top, Tp, 1e-9);
  EXPECT_NEAR(BR.Bottom, B, 1e-9);
  EXPECT_EQ(T.GetBounds(),
            (TRect{int(std::floor(L)), int(std::floor(Tp)), int(std::ceil(R)) + 1, int(std::ceil(B)) + 1}));
  TRectVertices V;
  T.GetVertices(V);
  for (int I = 0; I < 4; ++I) {
    const int EX = int(X[I] <= (L + R) / 2 ? std::floor(X[I]) : std::ceil(X[I]));
    const int EY = int(Y[I] <= (Tp + B) / 2 ? std::floor(Y[I]) : std::ceil(Y[I]));
    EXPECT_EQ(V[I], (TPoint{EX, EY})) << I;
  }
}

TEST(TransformData, AffineInvertsOnRandomPoints) {
  std::mt19937 Gen(4242);
  std::uniform_real_distribution<double> Angle(-180, 180), Factor(0.2, 4), Shear(-0.8, 0.8), Shift(-500, 500);
  std::uniform_int_distribution<int> Coord(-2000, 2000);
  for (int Case = 0; Case < 50; ++Case) {
    TAffineTransformation T;
    T.Rotate(Shift(Gen), Shift(Gen), Angle(Gen));
    T.Scale(Factor(Gen), Factor(Gen));
    T.Skew(Shear(Gen), Shear(Gen));
    T.TranslateF(Shift(Gen), Shift(Gen));
    EXPECT_FALSE(T.IsValid());
    T.Prepare();
    EXPECT_TRUE(T.IsValid());
    for (int I = 0; I < 40; ++I) {
      const int X = Coord(Gen), Y = Coord(Gen);
      const TFloatPoint Src = Reversed(T, X, Y);
      const TFloatPoint Back = Forward(T.Matrix, Src.X, Src.Y, false);
      ASSERT_NEAR(Back.X, X, 1e-9);
      ASSERT_NEAR(Back.Y, Y, 1e-9);
    }
  }
}

TEST(TransformData, AffineSingularReversesToItself) {
  TAffineTransformation T;
  T.Scale(0, 1);
  T.Prepare();
  EXPECT_POINT_NEAR(Reversed(T, 17, -4), 17, -4, 0);
  // Changing the mapping invalidates; preparing again is needed.
  T.Clear();
  EXPECT_FALSE(T.IsValid());
}

TEST(TransformData, AffineAssign) {
  TAffineTransformation A, B;
  A.SetSrcRect({0, 0, 10, 10});
  A.Scale(3, 2);
  B.SetSrcRect({5, 5, 6, 6});
  B.Prepare();
  B.Assign(A);
  EXPECT_EQ(B.Matrix, A.Matrix);
  EXPECT_EQ(B.SrcRect(), (TRect{5, 5, 6, 6}));
  EXPECT_FALSE(B.IsValid());
  const TFloatMatrix Before = B.Matrix;
  B.Assign(TProjectiveTransformation{});
  EXPECT_EQ(B.Matrix, Before);
}

TEST(TransformData, ProjectiveIdentityAndCorners) {
  TProbe T;
  T.SetSrcRect({0, 0, 100, 50});
  T.SetP0({0, 0});
  T.SetP1({100, 0});
  T.SetP2({100, 50});
  T.SetP3({0, 50});
  T.Prepare();
  EXPECT_POINT_NEAR(Mapped(T, 100, 50), 100, 50, 1e-12);
  EXPECT_POINT_NEAR(Mapped(T, 37, 12), 37, 12, 1e-12);
  EXPECT_POINT_NEAR(Reversed(T, 37, 12), 37, 12, 1e-12);
  EXPECT_EQ(T.GetBounds(), (TRect{0, 0, 100, 50}));
  EXPECT_TRUE(T.TanslateOnly());

  // A true perspective: the source corners land on P0..P3.
  TProbe Q;
  Q.SetSrcRect({10, 20, 210, 120});
  Q.SetP0({50, 40});
  Q.SetP1({400, 10});
  Q.SetP2({380, 300});
  Q.SetP3({30, 250});
  Q.Prepare();
  EXPECT_POINT_NEAR(Mapped(Q, 10, 20), 50, 40, 1e-9);
  EXPECT_POINT_NEAR(Mapped(Q, 210, 20), 400, 10, 1e-9);
  EXPECT_POINT_NEAR(Mapped(Q, 210, 120), 380, 300, 1e-9);
  EXPECT_POINT_NEAR(Mapped(Q, 10, 120), 30, 250, 1e-9);
  EXPECT_EQ(Q.P1(), (TPoint{400, 10})); // convex: the corners stay
  EXPECT_FALSE(Q.ScaleOnly());
  EXPECT_EQ(Q.GetBounds(), (TRect{30, 10, 400, 300}));
}

TEST(TransformData, ProjectiveInvertsOnRandomPoints) {
  std::mt19937 Gen(99);
  std::uniform_int_distribution<int> Jitter(-60, 60), Coord(0, 400);
  for (int Case = 0; Case < 50; ++Case) {
    // Convex quadrilaterals: a rectangle with each corner moved a little.
    TProbe T;
    T.SetSrcRect({0, 0, 320, 240});
    T.SetP0({100 + Jitter(Gen), 100 + Jitter(Gen)});
    T.SetP1({500 + Jitter(Gen), 100 + Jitter(Gen)});
    T.SetP2({500 + Jitter(Gen), 400 + Jitter(Gen)});
    T.SetP3({100 + Jitter(Gen), 400 + Jitter(Gen)});
    T.Prepare();
    for (int I = 0; I < 40; ++I) {
      const int X = 100 + Coord(Gen), Y = 100 + Coord(Gen) * 3 / 4;
      const TFloatPoint Src = Reversed(T, X, Y);
      const TFloatPoint Back = Forward(T.FMatrix, Src.X, Src.Y, true);
      ASSERT_NEAR(Back.X, X, 1e-9);
      ASSERT_NEAR(Back.Y, Y, 1e-9);
    }
    // FlagInvert: Reverse applies the forward mapping.
    TProjectiveTransformation Inverted;
    Inverted.Assign(T);
    Inverted.SetSrcRect(T.SrcRect());
    Inverted.SetFlagInvert(true);
    Inverted.Prepare();
    const TFloatPoint A = Reversed(Inverted, 123, 45), B = Mapped(T, 123, 45);
    EXPECT_DOUBLE_EQ(A.X, B.X);
    EXPECT_DOUBLE_EQ(A.Y, B.Y);
  }
}

TEST(TransformData, ProjectiveDegenerateCases) {
  // Anticlockwise corners fail the convexity check and become the bounds.
  TProjectiveTransformation T = Quad({0, 0, 100, 50}, {0, 0}, {0, 50}, {100, 50}, {100, 0});
  T.Prepare();
  EXPECT_EQ(T.P0(), (TPoint{0, 0}));
  EXPECT_EQ(T.P1(), (TPoint{100, 0}));
  EXPECT_EQ(T.P2(), (TPoint{100, 50}));
  EXPECT_EQ(T.P3(), (TPoint{0, 50}));

  // w = 0: a point on the line where the perspective goes to infinity.
  TProbe W;
  W.SetSrcRect({0, 0, 100, 100});
  W.SetP0({0, 0});
  W.SetP1({100, 0});
  W.SetP2({60, 50});
  W.SetP3({40, 50});
  W.Prepare();
  const TFloatMatrix& M = W.FMatrix;
  // Find an integer point with w = 0: w = x m02 + y m12 + 1 along x = 0.
  ASSERT_NE(M[1][2], 0);
  const double YZero = -M[2][2] / M[1][2];
  ASSERT_EQ(YZero, std::trunc(YZero)) << "the example needs w = 0 on an integer point";
  EXPECT_POINT_NEAR(Mapped(W, 0, int(YZero)), UnmappedCoordinate, UnmappedCoordinate, 0);

  // A source of width 0 cannot be mapped: nothing maps either way.
  TProjectiveTransformation Flat = Quad({10, 10, 10, 60}, {0, 0}, {100, 0}, {100, 50}, {0, 50});
  Flat.Prepare();
  EXPECT_TRUE(Flat.IsValid());
  EXPECT_POINT_NEAR(Mapped(Flat, 10, 20), UnmappedCoordinate, UnmappedCoordinate, 0);
  EXPECT_POINT_NEAR(Reversed(Flat, 50, 20), UnmappedCoordinate, UnmappedCoordinate, 0);

  // All corners on one point: everything maps there, the inverse is singular
  // and reverses to the identity.
  TProjectiveTransformation Point = Quad({0, 0, 10, 10}, {7, 8}, {7, 8}, {7, 8}, {7, 8});
  Point.Prepare();
  EXPECT_POINT_NEAR(Mapped(Point, 3, 4), 7, 8, 0);
  EXPECT_POINT_NEAR(Reversed(Point, 3, 4), 3, 4, 0);
}

TEST(TransformData, ProjectiveStateChanges) {
  TProjectiveTransformation T = Quad({0, 0, 100, 50}, {0, 0}, {100, 0}, {100, 50}, {0, 50});
  T.Prepare();
  T.SetFlagInvert(false); // same value: stays valid
  EXPECT_TRUE(T.IsValid());
  T.SetFlagInvert(true);
  EXPECT_FALSE(T.IsValid());
  T.Prepare();
  T.Translate(5, -2);
  EXPECT_FALSE(T.IsValid());
  EXPECT_EQ(T.P2(), (TPoint{105, 48}));
  T.GoToOrigin();
  EXPECT_EQ(T.GetBounds(), (TRect{0, 0, 100, 50}));

  TProjectiveTransformation Copy;
  Copy.SetSrcRect({1, 2, 3, 4});
  Copy.Assign(T);
  EXPECT_EQ(Copy.P2(), T.P2());
  EXPECT_EQ(Copy.SrcRect(), (TRect{1, 2, 3, 4}));
  EXPECT_FALSE(Copy.FlagInvert());
  Copy.Assign(TAffineTransformation{});
  EXPECT_EQ(Copy.P2(), T.P2());
}
