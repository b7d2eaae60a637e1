// Polygons and lines drawn straight into the rows of a 24-bit bitmap: the
// polygon class TPolygon24 (sub-paths of floating-point points filled by the
// even-odd or the non-zero winding rule, anti-aliased by sub-sampling, with
// shape builders, offsetting and thick outlines), the point and line
// primitives under it, and the thick lines, arrows, dashed lines and
// one-pixel anti-aliased outline shapes built on them. Depends on
// raster/Bitmap24 (MixPercent), raster/RectUtils and raster/FoncUtils
// (IntDistance); used by the selection masks and previews, the vector path
// thumbnails, the line tool, the vector path and the perspective grid.
//
// Every routine takes a 24-bit bitmap (any other format, or an empty one,
// draws nothing), mixes colours with MixPercent and never writes outside its
// clip rectangle intersected with the bitmap. Coordinates are image pixels as
// Doubles (X to the right, Y downwards); angles are radians counted
// anticlockwise on screen: the point at angle a on a circle of centre (CX, CY)
// and radius R is (CX + cos a * R, CY - sin a * R).
#pragma once

#include "raster/Pixels.h"
#include "raster/RectUtils.h"

#include <cstdint>
#include <memory>
#include <vector>

// The sub-paths of a polygon, each a list of points.
using TPolyPoints = std::vector<TFloatPointArray>;

enum TPolyFillMode : uint8_t {
  pfAlternate, // even-odd rule
  pfWinding,   // non-zero winding rule
};

// One crossing of an outline with a sub-row: X in sub-sample units,
// WindingTag set when the edge runs upwards (Y decreasing).
struct TEdgeData {
  int X = 0;
  bool WindingTag = false;
};
// The crossings of one sub-row.
using TEdgeDataArray = std::vector<TEdgeData>;

// ---- Unit settings (process-wide, interface thread only) ----------------------

// Sub-samples per pixel along each axis when anti-aliasing (used within
// 1..256).
extern int PolySubSamples;
// A generated outline point is kept only when it moves at least this far from
// the last one kept, in X or in Y.
extern double PolyMinPointDistance;
// Rounded-rectangle corner radius = the shorter side divided by this (4, 3 or
// 2 from the main window's menu; values below 1 count as 1).
extern int PolyRoundRectDivisor;
// Phase 0..7 of the dash pattern, shared by every dashed line and never
// reset, so that a pattern continues from one segment to the next.
extern int DashPhase;

// ---- The polygon ---------------------------------------------------------------

class TPolygon24 {
public:
  // Anti-aliased, closed, even-odd, no normals, one empty sub-path, the whole
  // bitmap as clip, edge and fill at 100 %.
  TPolygon24();

  bool Antialiased() const { return FAntialiased; }
  void SetAntialiased(bool Value) { FAntialiased = Value; }
  // Edges join the last point of each sub-path back to its first.
  bool Closed() const { return FClosed; }
  void SetClosed(bool Value) { FClosed = Value; }
  TPolyFillMode FillMode() const { return FFillMode; }
  void SetFillMode(TPolyFillMode Value) { FFillMode = Value; }
  // One unit normal per point, sub-path by sub-path, once something asked
  // for them (Grow); empty after any point was added.
  const TPolyPoints& Normals() const { return FNormals; }
  // At least one sub-path, except for a polygon returned by Grow when its
  // source had no sub-path of 2 points or more (it can then only be filled).
  // An empty sub-path exists only at the end.
  const TPolyPoints& Points() const { return FPoints; }
  const TRect& ClipRect() const { return FClipRect; }
  void SetClipRect(const TRect& Value) { FClipRect = Value; }
  // Opacity percents of the edges and of the fill.
  int EdgeAlpha() const { return FEdgeAlpha; }
  void SetEdgeAlpha(int Value) { FEdgeAlpha = Value; }
  int FillAlpha() const { return FFillAlpha; }
  void SetFillAlpha(int Value) { FFillAlpha = Value; }

  // Drops every sub-path and normal and starts one empty sub-path.
  void Clear();
  // Starts a new sub-path unless the last one is still empty. Points are
  // always added to the last sub-path.
  void NewLine();
  void Add(const TFloatPoint& P);
  void Add(double X, double Y) { Add(TFloatPoint{X, Y}); }
  void AddPoints(const TFloatPointArray& Points);
  void AddPoints(const TFloatPoint* First, int Count);
  void AddPoints(const TPoint* First, int Count);
  // Moves every point; the normals stay valid.
  void Offset(double DX, double DY);

  // The fill (by FFillMode, FAntialiased, FFillAlpha inside FClipRect) and the
  // edges (FClosed, FAntialiased, FEdgeAlpha); clNone draws nothing.
  void Fill(TBitmap& Bitmap, TColor Color) const;
  void DrawEdge(TBitmap& Bitmap, TColor Color) const;
  // Fill, then edges; no edges when both colours are equal on an anti-aliased
  // polygon, whose fill already shows its edge.
  void Draw(TBitmap& Bitmap, TColor OutlineColor, TColor FillColor) const;

  // ---- Shape builders (generated points obey PolyMinPointDistance) ----
  // A new sub-path (X1, Y1), (X2, Y1), (X2, Y2), (X1, Y2).
  void RectangleF(double X1, double Y1, double X2, double Y2);
  // RectangleF over the pixels of R (Right and Bottom less 1); likewise below.
  void Rectangle(const TRect& R);
  // The ellipse inscribed in the rectangle: Round(max(a, b) + 4) points made
  // even, from the right end anticlockwise; a rectangle when a side is 2 or
  // less.
  void EllipseF(double X1, double Y1, double X2, double Y2);
  void Ellipse(const TRect& R);
  // A circle as the ellipse; a square for a radius of 1 or less.
  void Circle(double CX, double CY, double Radius);
  // Appends to the current sub-path the arc from Angle1 to Angle2; its centre
  // alone for a radius of 1 or less.
  void Arc(double CX, double CY, double Radius, double Angle1, double Angle2);
  // Corner radius Round(shorter side / PolyRoundRectDivisor); a rectangle
  // when it is 1 or less.
  void RoundRectF(double X1, double Y1, double X2, double Y2);
  void RoundRect(const TRect& R);
  // A start point followed by groups of three (two control points and an end
  // point); any other count adds nothing. Each group is walked in
  // (sum of its three leg lengths) div 8 steps, at least 1.
  void AddBezier(const TFloatPointArray& Points);

  // A new polygon offset by Delta along the normals (outwards for sub-paths
  // running clockwise on screen when Delta > 0). A corner whose normals u, v
  // satisfy u.v > -EdgeSharpness (limited to 0..0.99) is mitred, any other is
  // bevelled with two points; a zero-length edge or a full reversal bevels.
  // Delta 0 gives an exact copy. Clip and opacities are the defaults.
  std::unique_ptr<TPolygon24> Grow(double Delta, double EdgeSharpness);
  // A new polygon whose fill is the outline of this one, Width pixels wide:
  // the path and its reverse grown by Width / 2 with bevelled corners, under
  // the winding rule (with Grow's defaults for clip and opacities). For
  // Width 1 or less the path and its reverse alone, keeping this polygon's
  // clip, with its EdgeAlpha as the fill opacity.
  std::unique_ptr<TPolygon24> Outline(int Width);

private:
  void AddThinned(const TFloatPoint& P);
  TFloatPointArray& LastPath();
  void AddEllipsePoints(double CX, double CY, double A, double B);
  void ComputeNormals();
  std::unique_ptr<TPolygon24> DoubledPath() const;

  bool FAntialiased = true;
  bool FClosed = true;
  TPolyFillMode FFillMode = pfAlternate;
  TPolyPoints FNormals;
  TPolyPoints FPoints;
  TRect FClipRect = WholeBitmapRect;
  int FEdgeAlpha = 100;
  int FFillAlpha = 100;
};

// ---- Filling ------------------------------------------------------------------

// Fills one closed polygon (3 points or more). Rows and columns are sampled
// PolySubSamples times per pixel when anti-aliased; without anti-aliasing a
// span covers its pixels inclusively, so that a rectangle's top and bottom
// edge rows stay empty (its edges draw them). Opacity percent.
void FillPolygon24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, bool Winding, bool Antialiased,
                   int Opacity, const TRect& Clip);
// All sub-paths filled together, so that holes and overlaps follow the rule;
// sub-paths of fewer than 3 points add nothing.
void FillPolyPolygon24(TBitmap& Bitmap, const TPolyPoints& Points, TColor Color, bool Winding, bool Antialiased,
                       int Opacity, const TRect& Clip);

// ---- Points and lines ---------------------------------------------------------
// The point and run routines test against Clip (and the bitmap) only: callers
// pass a clip already cut to the bitmap.

// MixPercent of pixel (X, Y) towards Color when Percent > 0 and it lies in Clip.
void PlotPixel24(TBitmap& Bitmap, int X, int Y, TRGB Color, int Percent, const TRect& Clip);
// Anti-aliased point: the four pixels around (X, Y) by their bilinear
// weights times Percent, rounded.
void PlotPixelF24(TBitmap& Bitmap, double X, double Y, TRGB Color, int Percent, const TRect& Clip);
// X1..X2 of row Y (both included), cut to Clip.
void DrawHLine24(TBitmap& Bitmap, int X1, int Y, int X2, TRGB Color, int Percent, const TRect& Clip);
void DrawVLine24(TBitmap& Bitmap, int X, int Y1, int Y2, TRGB Color, int Percent, const TRect& Clip);
// A vertical or horizontal line, the start always included, the end only
// with IncludeLast; a slanted one draws nothing.
void DrawAxisLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TRGB Color, bool IncludeLast, int Percent,
                    const TRect& Clip);
// False when the segment's box lies wholly left of, right of, above or
// below R (Right and Bottom exclusive).
bool SegmentTouchesRect(double X1, double Y1, double X2, double Y2, const TRect& R);

// The line routines return at once when Opacity <= 0, cut Clip to the bitmap
// and return when it is empty or when the segment cannot touch it.

// Bresenham line, the end point only with IncludeLast.
void DrawLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Color, bool IncludeLast, int Opacity,
                const TRect& Clip);
// DrawLine24 with the coordinates rounded.
void DrawLineF24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, bool IncludeLast,
                 int Opacity, const TRect& Clip);
// Anti-aliased points one pixel apart from (X1, Y1): Round(length) steps, one
// less without IncludeLast; nothing when that leaves none.
void DrawLineAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, bool IncludeLast,
                  int Opacity, const TRect& Clip);
// DrawLineAA24 or DrawLine24, end included, at 100 %.
void DrawLineInt24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Color, bool Antialiased, const TRect& Clip);
// Each segment without its end point; Closed joins the last point to the
// first. Nothing for fewer than 2 points.
void DrawPolyline24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, bool Closed, bool Antialiased,
                    int Opacity, const TRect& Clip);
void DrawPolyPolyline24(TBitmap& Bitmap, const TPolyPoints& Points, TColor Color, bool Closed, bool Antialiased,
                        int Opacity, const TRect& Clip);

// ---- Point helpers --------------------------------------------------------------

// Smallest and largest X and Y; (9999999, 9999999, -9999999, -9999999) for no
// points.
TFloatRect FloatPointsBounds(const TFloatPointArray& Points);
TFloatRect PolyPointsBounds(const TPolyPoints& Points);
// The mean of the points; (0, 0) for none.
TFloatPoint PointsCentroid(const TFloatPointArray& Points);
// A limited to the range between B and C, whichever of the two is larger.
double ClampBetween(double A, double B, double C);
// (1 - t)^3 P0 + 3t(1 - t)^2 P1 + 3t^2(1 - t) P2 + t^3 P3.
TFloatPoint BezierPoint(const TFloatPoint& P0, const TFloatPoint& P1, const TFloatPoint& P2, const TFloatPoint& P3,
                        double T);
// IntDistance of the two points with their coordinates rounded.
int RoundedPointDistance(const TFloatPoint& A, const TFloatPoint& B);

// ---- Thick lines and arrows --------------------------------------------------------

// A Width-pixel line between the centres of the brush squares at both ends,
// filled in FillColor and edged in OutlineColor (all OutlineColor for Width
// 2); Width 1 is the plain line in FillColor, 0 or less nothing.
void DrawThickLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor, int Width,
                     bool Antialiased, const TRect& Clip);
// Heads at both ends, at (X2, Y2) alone, or none, by Arrow1 and Arrow2: both
// give two heads, one of them one head.
void DrawArrowLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor, int Width,
                     int HeadHalfWidth, int HeadLength, bool Arrow1, bool Arrow2, bool Antialiased, const TRect& Clip);
// A thick line with a head HeadLength long and 2 * HeadHalfWidth wider than
// the line at (X2, Y2); the plain thick line when HeadHalfWidth <= 0 or the
// line is not longer than the head.
void DrawArrowLineOneHead24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor,
                            int Width, int HeadHalfWidth, int HeadLength, bool Antialiased, const TRect& Clip);
void DrawArrowLineTwoHeads24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor,
                             int Width, int HeadHalfWidth, int HeadLength, bool Antialiased, const TRect& Clip);

// ---- Dashed and one-pixel anti-aliased outlines ---------------------------------------
// Segments are DrawLineAA24 without their end point, at 100 % unless an
// Opacity is passed.

// The points of DrawLineAA24 (end included) drawn or skipped by Style at the
// shared DashPhase, which advances by one per point: 0 solid, 1 five on and
// three off, 2 every other point, 3 on at phases 0..4 and 6, 4 on at 0, 1, 2,
// 4 and 6, any other nothing.
void DrawDashedLineAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Opacity,
                        uint8_t Style, const TRect& Clip);
// The border pixels of R at 100 %.
void DrawRectOutline24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip);
// The ellipse inscribed in R; R's outline when a side is 2 pixels or less.
void DrawEllipseOutlineAA24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip);
void DrawArcAA24(TBitmap& Bitmap, int CX, int CY, int Radius, double Angle1, double Angle2, TColor Color,
                 const TRect& Clip);
// Corners of radius Round(shorter side / PolyRoundRectDivisor); R's outline
// when that is 1 or less.
void DrawRoundRectOutlineAA24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip);
// The cubic Bezier path of a start point and groups of three, walked as
// AddBezier walks it; a step is drawn once it reaches another pixel. Points
// after the last whole group are ignored.
void DrawBezierAA24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, int Opacity, const TRect& Clip);
