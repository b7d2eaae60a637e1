// The affine transformations of the path and layer transformation dialogs,
// built from their four sliders. Pure arithmetic over the raster core's
// TAffineTransformation; used by dialogs/ui.
//
// Both keep the transformed corner pixels of the source rectangle centred on
// the source's own centre. The re-centring shift is snapped to whole pixels
// (a half pixel rounds up): the neutral sliders then give the identity
// exactly, and a doubled 100 x 50 layer at (10, 10) lands at (-39, -14).
#pragma once

#include "platform/Rounding.h"
#include "raster/TransformData.h"

#include <algorithm>

// Angle in tenths of a degree, positive clockwise on screen; Scale in
// percent of both axes; SkewX and SkewY in hundredths.
struct TTransformSliders {
  int Angle = 0;
  int Scale = 100;
  int SkewX = 0;
  int SkewY = 0;
  bool Neutral() const { return Angle == 0 && Scale == 100 && SkewX == 0 && SkewY == 0; }
};

// The path's transformation over PathRect: skew, rotation about the centre of
// PathRect's corner pixels, scale about the origin, then re-centring. T is
// cleared and given PathRect as its source rectangle.
void BuildPathTransformation(TAffineTransformation& T, const TRect& PathRect, const TTransformSliders& S);

// A W x H layer's transformation whose source is (0, 0, W, H) and whose
// result is centred on SelRect (the layer's place in the image): scale
// (always, the identity at 100), skew, rotation about the scaled layer's
// centre, re-centring. T keeps its source rectangle and is cleared first.
void BuildLayerTransformation(TAffineTransformation& T, int W, int H, const TRect& SelRect,
                              const TTransformSliders& S);

// The transformed layer's outline on screen: Points mapped to client pixels
// by ToClient; a corner lying right of (below) the mapped middle of
// Points[0] and Points[2] moves Trunc(Zoom) - 1 further right (down), so
// that the outline encloses whole zoomed pixels (nothing below zoom 1, where
// a pixel is less than a screen pixel).
template <class F> TRectVertices OutlineOnScreen(const TRectVertices& Points, double Zoom, F&& ToClient) {
  const TPoint Middle = ToClient(TPoint{(Points[0].X + Points[2].X) / 2, (Points[0].Y + Points[2].Y) / 2});
  const int Extra = std::max(0, Trunc(Zoom) - 1);
  TRectVertices Result;
  for (int I = 0; I < 4; ++I) {
    TPoint P = ToClient(Points[I]);
    if (P.X > Middle.X) P.X += Extra;
    if (P.Y > Middle.Y) P.Y += Extra;
    Result[I] = P;
  }
  return Result;
}
