// The curves walked into tables: the tone-curve tables of a few curves, and
// the deformation samples of a thumbnail curve over a larger work area.
#include "filters/ui/CurveStroke.h"
#include "filters/ui/CurveFiles.h"

#include "../support/PathVertices.h"

#include <gtest/gtest.h>

TEST(CurveLUT, TheDefaultCurveIsTheIdentityInBothSegmentModes) {
  for (const bool Bezier : {true, false}) EXPECT_EQ(CurveLUT(DefaultCurve(), Bezier), IdentityCurveLUT()) << Bezier;
}

TEST(CurveLUT, EndsAreExtendedToTheBorders) {
  const TCurveLUT T = CurveLUT(LinePath({{40, 205}, {200, 55}}), false);
  for (int I = 0; I < 40; ++I) EXPECT_EQ(T[I], 50) << I;
  for (int I = 200; I < 256; ++I) EXPECT_EQ(T[I], 200) << I;
  // In between, the line from 50 at 40 up to 200 at 200.
  for (int I = 40; I <= 200; ++I) EXPECT_NEAR(T[I], 50 + (I - 40) * 150.0 / 160, 1.0) << I;
}

TEST(CurveLUT, RaisedMiddleVertexAloneGivesEqualColourTables) {
  // Only the composite curve in use, its middle vertex moved up by 32.
  for (const bool Bezier : {true, false}) {
    const TCurveLUT Composite = CurveLUT(LinePath({{0, 255}, {128, 95}, {255, 0}}), Bezier);
    EXPECT_EQ(Composite[128], 160);
    EXPECT_EQ(Composite[0], 0);
    EXPECT_EQ(Composite[255], 255);
    for (int I = 1; I < 256; ++I) EXPECT_GE(Composite[I], Composite[I - 1]) << I;
    TCurveLUT Red = IdentityCurveLUT(), Green = Red, Blue = Red;
    CombineCurveLUTs(Composite, Red, Green, Blue);
    EXPECT_EQ(Red, Composite);
    EXPECT_EQ(Green, Composite);
    EXPECT_EQ(Blue, Composite);
  }
}

TEST(DeformSamples, AreOffsetsFromTheMiddleLineInPixelsOfTheWorkArea) {
  const TSizedPathView View(100, 50);
  TPathControl Path(&View);
  Path.SetJoinBorder(1);
  TBitmap Layer(200, 100, pf24bit, clWhite);
  // The straight default curve moves nothing.
  Path.ReplacePath(LinePath({{0, 25}, {50, 25}, {99, 25}}), true, false);
  EXPECT_EQ(SampleDeformCurve(Layer, {0, 0, 200, 100}, Path, true), TDDAPoints(200, 0));
  // Raised by 20 thumbnail pixels in its middle: twice that over a work area
  // twice as high, wherever the work area lies.
  Path.ReplacePath(LinePath({{0, 25}, {50, 5}, {99, 25}}), false, false);
  const TDDAPoints P = SampleDeformCurve(Layer, {10, 0, 210, 100}, Path, true);
  ASSERT_EQ(P.size(), 200u);
  EXPECT_EQ(P[100], -40);
  EXPECT_EQ(P[0], 0);
  EXPECT_EQ(P[199], 0);
  EXPECT_EQ(P[50], -20);
  // Along a vertical axis the same curve, turned, gives the samples per row.
  const TSizedPathView Tall(50, 100);
  TPathControl Turned(&Tall);
  Turned.SetJoinBorder(2);
  Turned.ReplacePath(LinePath({{25, 0}, {5, 50}, {25, 99}}), false, false);
  const TDDAPoints Q = SampleDeformCurve(Layer, {0, 0, 100, 200}, Turned, false);
  ASSERT_EQ(Q.size(), 200u);
  EXPECT_EQ(Q[100], -40);
  EXPECT_EQ(Q[0], 0);
}
