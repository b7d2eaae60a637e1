// The transformations the path and layer transformation dialogs build from
// their sliders, and the outline of a transformed layer on screen.
#include "dialogs/FreeTransform.h"

#include <gtest/gtest.h>

namespace {

TPoint Mapped(const TAffineTransformation& T, int X, int Y) {
  double DX, DY;
  T.Transform(X, Y, DX, DY);
  return {int(std::lround(DX)), int(std::lround(DY))};
}

// The image of P, exact to a millionth.
void ExpectMaps(const TAffineTransformation& T, TPoint P, double X, double Y) {
  double DX, DY;
  T.Transform(P.X, P.Y, DX, DY);
  EXPECT_NEAR(DX, X, 1e-6) << P.X << "," << P.Y;
  EXPECT_NEAR(DY, Y, 1e-6) << P.X << "," << P.Y;
}

TEST(FreeTransformTest, NeutralSlidersGiveTheIdentity) {
  TAffineTransformation Path;
  BuildPathTransformation(Path, {10, 20, 51, 31}, {});
  for (TPoint P : {TPoint{10, 20}, TPoint{50, 30}, TPoint{33, 27}}) ExpectMaps(Path, P, P.X, P.Y);
  // A layer at (10, 10), and one partly left of the image.
  for (const TRect& Place : {TRect{10, 10, 110, 60}, TRect{-7, -3, 93, 47}}) {
    TAffineTransformation Layer;
    Layer.SetSrcRect({0, 0, 100, 50});
    BuildLayerTransformation(Layer, 100, 50, Place, {});
    ExpectMaps(Layer, {0, 0}, Place.Left, Place.Top);
    ExpectMaps(Layer, {99, 49}, Place.Right - 1, Place.Bottom - 1);
    EXPECT_TRUE(Layer.TanslateOnly());
  }
}

TEST(FreeTransformTest, DoublingALayerKeepsItCentredOnItsPlace) {
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 100, 50});
  BuildLayerTransformation(T, 100, 50, {10, 10, 110, 60}, {0, 200, 0, 0});
  ExpectMaps(T, {0, 0}, -39, -14);
  ExpectMaps(T, {99, 49}, 159, 84);
}

// A quarter turn of a horizontal path about the centre of its bounds:
// clockwise on screen for a positive angle.
TEST(FreeTransformTest, AQuarterTurnMovesThePathAboutItsCentre) {
  const TRect Bounds{10, 20, 51, 21}; // (10, 20) to (50, 20), centre (30, 20)
  struct TCase {
    int Angle;
    TPoint Left, Right;
  };
  for (const TCase& C : {TCase{900, {30, 0}, {30, 40}}, TCase{-900, {30, 40}, {30, 0}}}) {
    TAffineTransformation T;
    BuildPathTransformation(T, Bounds, {C.Angle, 100, 0, 0});
    EXPECT_EQ(Mapped(T, 10, 20), C.Left) << C.Angle;
    EXPECT_EQ(Mapped(T, 50, 20), C.Right) << C.Angle;
    EXPECT_EQ(Mapped(T, 30, 20), (TPoint{30, 20})) << C.Angle;
  }
}

TEST(FreeTransformTest, HalfScaleAndSkewKeepThePathCentred) {
  const TRect Bounds{0, 0, 41, 21}; // centre (20, 10)
  TAffineTransformation Half;
  BuildPathTransformation(Half, Bounds, {0, 50, 0, 0});
  ExpectMaps(Half, {0, 0}, 10, 5);
  ExpectMaps(Half, {40, 20}, 30, 15);
  // A horizontal skew of 50: x' = x - y / 2, re-centred.
  TAffineTransformation Skew;
  BuildPathTransformation(Skew, Bounds, {0, 100, 50, 0});
  ExpectMaps(Skew, {20, 10}, 20, 10);
  ExpectMaps(Skew, {0, 20}, -5, 20);
}

TEST(FreeTransformTest, TheOutlineEnclosesWholeZoomedPixels) {
  const TRectVertices Points{TPoint{0, 0}, TPoint{9, 0}, TPoint{9, 4}, TPoint{0, 4}};
  const auto Zoom4 = [](TPoint P) { return TPoint{P.X * 4 + 5, P.Y * 4 + 7}; };
  const TRectVertices C = OutlineOnScreen(Points, 4.0, Zoom4);
  EXPECT_EQ(C[0], (TPoint{5, 7}));
  EXPECT_EQ(C[1], (TPoint{9 * 4 + 5 + 3, 7}));
  EXPECT_EQ(C[2], (TPoint{9 * 4 + 5 + 3, 4 * 4 + 7 + 3}));
  EXPECT_EQ(C[3], (TPoint{5, 4 * 4 + 7 + 3}));
  // Below zoom 1 the plain mapping is kept.
  const auto Half = [](TPoint P) { return TPoint{P.X / 2, P.Y / 2}; };
  EXPECT_EQ(OutlineOnScreen(Points, 0.5, Half)[2], (TPoint{4, 2}));
}

} // namespace
