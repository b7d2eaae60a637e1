// Straightening converging lines: four guide lines on a thumbnail (two that
// should become vertical, two that should become horizontal), the
// quadrilateral of their crossings, and the projective mapping of that
// quadrilateral onto an upright rectangle of the full image. Pure geometry
// and pixels, no widgets. Depends on raster (the projective transformation,
// transformed drawing, cropping); used by the perspective dialog and its
// tests.
//
// Guide ends are in thumbnail pixels (W x H the thumbnail). Vertical guide 1
// runs from (T0, 0) to (B0, H - 1), vertical guide 2 from (T1, 0) to
// (B1, H - 1); horizontal guide 1 from (0, L0) to (W - 1, R0), horizontal
// guide 2 from (0, L1) to (W - 1, R1). Cursor 0 of each edge is the first
// guide (left or upper), cursor 1 the second.
#pragma once

#include "raster/Pixels.h"
#include "raster/TransformData.h"

#include <cstdint>

struct TPerspectiveGuides {
  int T0 = 0, T1 = 0, B0 = 0, B1 = 0, L0 = 0, L1 = 0, R0 = 0, R1 = 0;
};

// The guides of a fresh W x H thumbnail: cursor 0 at 0, cursor 1 at the
// maximum (W - 1 across, H - 1 down), the quadrilateral the whole thumbnail.
TPerspectiveGuides FullGuides(int W, int H);

// Cursor Index (0 or 1) of an edge whose maximum is Max, kept where it may
// go: with k = Max x 37 div 100, cursor 0 at or below k, cursor 1 at or
// above Max - k.
int LimitGuideCursor(int Index, int Position, int Max);

// The corners P0 (horizontal 1 x vertical 1), P1 (horizontal 1 x vertical
// 2), P2 (horizontal 2 x vertical 2), P3 (horizontal 2 x vertical 1), each
// rounded to whole pixels. False, Corners untouched, when a horizontal guide
// runs parallel to a vertical one (they never meet).
bool PerspectiveCorners(const TPerspectiveGuides& G, int W, int H, TRectVertices& Corners);

// The corners are those of the whole W x H thumbnail: the guides ask for no
// change.
bool IsWholeQuad(const TRectVertices& Corners, int W, int H);

// Which corner of a W x H picture a click at (X, Y) falls in, with a =
// min(W div 2, H div 2): top-left (X < a, Y < a), else top-right (X > W - a,
// Y < a), else bottom-right (X > W - a, Y > H - a), else bottom-left (X < a,
// Y > H - a); else none.
enum class TPerspectiveCorner : uint8_t { None, TopLeft, TopRight, BottomRight, BottomLeft };
TPerspectiveCorner PerspectiveCornerAt(int X, int Y, int W, int H);

// The mapping of the quadrilateral onto an upright rectangle, for a
// thumbnail: corners the quadrilateral, direction inverted (sampling through
// it straightens the quadrilateral), source rectangle the quadrilateral's
// bounds.
void SetStraighteningTransform(TProjectiveTransformation& T, const TRectVertices& Corners);

// T scaled from the thumbnail to a BW x BH image by Ratio (image size /
// thumbnail size): each corner and the source rectangle's sides grow outward
// to whole image pixels (Trunc for the left and top, Ceil((v + 1) r) limited
// to BW or BH for the right and bottom).
void ScalePerspective(TProjectiveTransformation& T, double Ratio, int BW, int BH);

// The transformation takes its corners as they are (a quadrilateral that is
// not convex in the order P0..P3, that has crossing sides or corners that
// collapse onto each other is silently replaced by its bounds when
// prepared) and they enclose an area: anything else would give a degenerate
// picture.
bool PerspectiveUsable(TProjectiveTransformation& T);

// The correction applied: K := T's bounds; K of Background is filled white,
// Original is drawn into it through T with bicubic sampling (white outside),
// and Background is cut down to K. Returns K (the whole bitmap when nothing
// was cut; nothing changes when K lies outside the image).
TRect CorrectPerspective(TBitmap& Background, const TBitmap& Original, TProjectiveTransformation& T);
