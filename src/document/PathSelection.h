// Between the vector path and the selection: a path built from a selection
// or from a simple selection shape, and a selection made from a path. Here
// rather than beside the path model because they speak the selection's
// terms (shape kinds, the shape manager); the path model in the tools
// library knows nothing of them. Depends on the path model (tools) and the
// selection shapes; used by the main window's path commands.
#pragma once

#include "document/SelMask.h"
#include "document/ShapeManager.h"
#include "tools/PathControl.h"

// Ellipse and rounded-rectangle control points lie this fraction of a side
// from the end of each arc: (1 - 0.55228) / 2, the usual four-arc
// approximation.
inline constexpr double BezierArcFactor = 0.22386;

// The path becomes a closed outline of Shape inscribed in Bounds (R and B
// exclusive): four Bezier arcs for ssEllipse, four arcs joined by straight
// sides for ssRoundRect (corner radius Round(min side / RoundRectDivisor)),
// the polygon of ShapeToPolygon for ssRect, the triangles and ssLosange, no
// vertex for any other kind. PathChanged false.
void CreateBasicShape(TPathControl& Path, TMyShape Shape, const TRect& Bounds);

// The selection becomes the path's shape: in Bezier mode a bitmap shape
// traced from the anti-aliased fill of the curve (threshold 128), in line
// mode a polygon through the anchors (closed whatever the path says). Its
// rectangle becomes the path's bounds, not inverted. Nothing with fewer than
// 2 vertices.
void ConvertToSelection(const TPathControl& Path, TSelectionState& Sel);

// The path becomes the selection's outline: a simple shape through
// CreateBasicShape, a polygon as a closed line path keeping only points at
// least Spacing away (on one axis) from the last one kept. Nothing for a
// polygon without points.
void ConvertFromSelection(TPathControl& Path, TSelectionState& Sel, int Spacing);
