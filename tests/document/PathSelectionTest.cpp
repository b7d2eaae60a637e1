// Between paths and selections: basic shapes as paths, a path made a
// selection, and a selection made a path.
#include "document/PathSelection.h"

#include "document/SelectionModel.h"
#include "support/PathVertices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {


// A polygon selection through Points (bitmap coordinates).
void MakePolygonSelection(TSelectionModel& Sel, const std::vector<TPoint>& Points) {
  TShapeManager& M = Sel.ShapeManager();
  M.BeginPoints(Points[0]);
  for (size_t I = 1; I < Points.size(); ++I) M.AddPoint(Points[I]);
  M.EndPoints(1);
  const TRect B = PointsBounds(Points);
  Sel.SetShape(ssPolygon);
  Sel.SetBmpSelRect({B.Left, B.Top, B.Right + 1, B.Bottom + 1});
}

} // namespace

TEST(PathSelection, EllipseHasFourArcsWithTheRightControlPoints) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{1, 1}, {2, 2}}), false, false);
  Path.SetClosed(true);
  CreateBasicShape(Path, ssEllipse, {0, 0, 101, 51});
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{50, 0}, {100, 25}, {50, 50}, {0, 25}}));
  EXPECT_TRUE(Path.BezierMode());
  EXPECT_TRUE(Path.Closed());
  EXPECT_FALSE(Path.PathChanged());
  const TPathVertexData& Top = Path.Vertices()[0];
  EXPECT_EQ(Top.B1, (TPoint{23, 0}));
  EXPECT_EQ(Top.B2, (TPoint{77, 0}));
  // kh = Round(51 * 0.22386) = 11.
  EXPECT_EQ(Path.Vertices()[1].B1, (TPoint{100, 11}));
  EXPECT_EQ(Path.Vertices()[3].B1, (TPoint{0, 39}));
  for (const TPathVertexData& V : Path.Vertices()) EXPECT_TRUE(V.B1Initialized && V.B2Initialized);
  // The curve stays inside its rectangle.
  const TRect B = Path.BmpBounds(2);
  EXPECT_GE(B.Left, 0);
  EXPECT_LE(B.Right, 101);
}

TEST(PathSelection, RoundedRectangleCornersAndStraightSides) {
  const int Saved = RoundRectDivisor;
  RoundRectDivisor = 4;
  TPathControl Path;
  CreateBasicShape(Path, ssRoundRect, {0, 0, 200, 100});
  RoundRectDivisor = Saved;
  // Radius 25, control offset Round(25 * 2 * 0.22386) = 11.
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{25, 0}, {174, 0}, {199, 25}, {199, 74}, {174, 99}, {25, 99},
                                                {0, 74}, {0, 25}}));
  const TPathVertexList& V = Path.Vertices();
  EXPECT_EQ(V[0].B1, (TPoint{11, 0}));
  EXPECT_TRUE(V[0].B1Initialized && !V[0].B2Initialized);
  EXPECT_EQ(V[1].B2, (TPoint{188, 0}));
  EXPECT_TRUE(!V[1].B1Initialized && V[1].B2Initialized);
  EXPECT_TRUE(Path.IsStraightSegment(0, 1));
  EXPECT_FALSE(Path.IsStraightSegment(1, 2));
}

TEST(PathSelection, PolygonShapesAreLinePathsAndOtherKindsGiveNoVertex) {
  TPathControl Path;
  CreateBasicShape(Path, ssRect, {10, 10, 30, 20});
  EXPECT_FALSE(Path.BezierMode());
  EXPECT_EQ(Path.BmpBounds(0), (TRect{10, 10, 30, 20}));
  EXPECT_EQ(Path.PointsCount(), 4);
  CreateBasicShape(Path, ssTriangle1, {10, 10, 30, 20});
  EXPECT_EQ(Path.PointsCount(), 3);
  CreateBasicShape(Path, ssPolyline, {10, 10, 30, 20});
  EXPECT_EQ(Path.PointsCount(), 0);
  EXPECT_TRUE(Path.Closed());
}

TEST(PathSelection, OpenLinePathBecomesAClosedPolygonAndComesBack) {
  const std::vector<TPoint> Points{{10, 20}, {90, 25}, {60, 80}, {15, 70}};
  TPathControl Path;
  Path.ReplacePath(LinePath(Points), false, false);
  TSelectionModel Sel;
  Sel.SetInvert(true);
  ConvertToSelection(Path, Sel);
  EXPECT_EQ(Sel.Shape(), ssPolygon);
  EXPECT_FALSE(Sel.Invert());
  EXPECT_EQ(Sel.BmpSelRect(), Path.BmpBounds(0));
  // Closed whatever the path said: a point inside the triangle-ish outline.
  EXPECT_TRUE(Sel.ShapeManager().PtInShape(Sel.BmpSelRect(), {50, 50}, ssPolygon));

  TPathControl Back;
  ConvertFromSelection(Back, Sel, 33);
  EXPECT_EQ(PathAnchors(Back), Points);
  EXPECT_TRUE(Back.Closed());
  EXPECT_FALSE(Back.BezierMode());
  EXPECT_FALSE(Back.PathChanged());
}

TEST(PathSelection, CloselySpacedPolygonPointsAreThinned) {
  std::vector<TPoint> Points;
  for (int X = 0; X <= 200; X += 10) Points.push_back({X, 0});
  for (int Y = 10; Y <= 100; Y += 10) Points.push_back({200, Y});
  TSelectionModel Sel;
  MakePolygonSelection(Sel, Points);
  TPathControl Path;
  ConvertFromSelection(Path, Sel, 33);
  // Every fourth point along the top, then every fourth down the side.
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{0, 0}, {40, 0}, {80, 0}, {120, 0}, {160, 0}, {200, 0}, {200, 40},
                                               {200, 80}}));
  // A simple shape becomes the basic shape of its rectangle.
  TSelectionModel Ellipse;
  Ellipse.SetShape(ssEllipse);
  Ellipse.SetBmpSelRect({0, 0, 101, 51});
  ConvertFromSelection(Path, Ellipse, 33);
  EXPECT_EQ(Path.AnchorPoint(0), (TPoint{50, 0}));
}

TEST(PathSelection, CurveBecomesABitmapShapeWithinOnePixelOfIt) {
  TPathControl Path;
  CreateBasicShape(Path, ssEllipse, {20, 10, 121, 61});
  TSelectionModel Sel;
  ConvertToSelection(Path, Sel);
  EXPECT_EQ(Sel.Shape(), ssBitmap);
  const TRect B = Path.BmpBounds(2);
  EXPECT_EQ(Sel.BmpSelRect(), B);
  // The traced mask against the ellipse itself: every pixel more than one
  // pixel inside is in, every pixel more than one outside is out.
  TShapeManager& M = Sel.ShapeManager();
  const TRect Local{0, 0, B.Width(), B.Height()};
  const double CX = 70, CY = 35.5, A = 50.5, Bh = 25.5;
  int Checked = 0;
  for (int Y = B.Top; Y < B.Bottom; ++Y)
    for (int X = B.Left; X < B.Right; ++X) {
      const double DX = (X + 0.5 - CX), DY = (Y + 0.5 - CY);
      const double Inner = (DX * DX) / ((A - 1.5) * (A - 1.5)) + (DY * DY) / ((Bh - 1.5) * (Bh - 1.5));
      const double Outer = (DX * DX) / ((A + 1) * (A + 1)) + (DY * DY) / ((Bh + 1) * (Bh + 1));
      const bool In = M.PtInShape(Local, {X - B.Left, Y - B.Top}, ssBitmap);
      if (Inner < 1) {
        EXPECT_TRUE(In) << X << "," << Y;
        ++Checked;
      }
      if (Outer > 1) {
        EXPECT_FALSE(In) << X << "," << Y;
      }
    }
  EXPECT_GT(Checked, 3000);
}
