// The curves of the curve dialogs walked by StrokePath: a tone curve into
// its 256-entry table, a deformation curve into one displacement per pixel
// of the target. Depends on the path model of tools and the curve tables
// and deformation of filters; used by the curve dialogs, their tests and
// fuzz targets.
#pragma once

#include "filters/CurveLuts.h"
#include "filters/DeformCurve24.h"
#include "tools/PathControl.h"

// Path (on a 256 x 256 curve image, joined to the left and right borders)
// walked with minimum step 7: entry x := 255 - y for every point (x, y) with
// 0 <= x <= 255, clamped to 0..255, a later point overwriting an earlier
// one; entries the walk never reaches stay the identity.
TCurveLUT StrokeCurveLUT(const TPathControl& Path);
// The same for a curve given by its vertices and segment mode.
TCurveLUT CurveLUT(const TPathVertexList& Vertices, bool BezierMode);
// The curve stroked onto a 256 x 256 curve image in Color (minimum step 3,
// full opacity), joined to the left and right borders.
void DrawCurve(TBitmap& Bitmap, const TPathVertexList& Vertices, bool BezierMode, TColor Color);

// The deformation curve Path, drawn on its W x H thumbnail, sampled over R
// (a rect of Bitmap): one entry per pixel of R along the axis (R's width
// for a horizontal axis, its height for a vertical one), each the curve's
// offset from the thumbnail's middle line in pixels of R. R is moved to
// (0, -d) with d = Round(R's height / (H / (H div 2))) (horizontal; the
// vertical axis likewise), so the middle line maps onto 0; minimum step 3.
TDDAPoints SampleDeformCurve(TBitmap& Bitmap, const TRect& R, const TPathControl& Path, bool Horizontal);
