// Line brushes: wide anti-aliased lines on 24-bit bitmaps made of round dabs
// placed one pixel of length apart along each segment, in six styles, with
// optional arrow heads; closed outlines for selection masks; styled lines on
// any canvas for the pen-style previews. Depends on raster (polygons, point
// plotting) and on this library's gradient engine and bevel stamp image;
// used by the line tool, path stroking, selection outlines and the pen-style
// lists.
//
// Style codes: 0 solid, 1 long dash, 2 dots, 3 dash dot dot, 4 short dash
// and three dots, 5 the bevelled "3D" tube; any other code draws nothing.
// The dashed styles walk an 8-phase cycle of cells T = ceil(0.69 * Width)
// steps long: 1 is on in phases 0..4; 2 dabs once at the first step of
// phases 0, 2, 4, 6; 3 is on in phases 0..3 and dabs at the first step of 4
// and 6; 4 is on in phases 0..1 and dabs at the first step of 2, 4 and 6.
//
// The dash state is process-wide: consecutive segments continue the pattern
// across their joints until ResetLineStyle. Interface thread only.
//
// Every segment routine does nothing when Width <= 0 (the stamped styles also
// above 4096, a stamp too large to make), when the clip
// rectangle cut to the bitmap is empty, when the segment does not come near
// it, or when it is shorter than half a pixel (N = Round(length) = 0 steps).
// Step i (0..N-1) lies at (X1, Y1) + i * (X2 - X1, Y2 - Y1) / length; the end
// point itself is not a step.
#pragma once

#include "raster/RectUtils.h"

struct TLineDashState {
  int Phase = 0;          // 0..7, the cell of the cycle
  int StepInPhase = 0;    // 0..T-1
  int StepsSinceDab = 0;
};

// The shared state, for reading.
const TLineDashState& LineDashState();
// Every counter back to 0: the next segment starts a new pattern.
void ResetLineStyle();

// False when both ends lie left of Rect (inflated by Width div 2), both at
// or right of its right side, both above it or both at or below its bottom.
bool SegmentNearRect(double X1, double Y1, double X2, double Y2, int Width, const TRect& Rect);
// The anti-aliased ellipse inscribed in the float rectangle, filled and
// edged with Color inside Clip.
void FillEllipseAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, const TRect& Clip);
// One dab of a dashed style: Width 1 an anti-aliased point at full strength,
// wider the disc inscribed in the Width square whose corner lies at
// (X - e, Y - e), e = (Width - 1) div 2.
void BrushDab24(TBitmap& Bitmap, double X, double Y, int Width, TColor Color, const TRect& Clip);

// The engine of the solid and 3D styles: the grey Stamp (black paints),
// scaled to Width, drawn centred at the steps every max(Spacing, Width div 8)
// steps, and at the last step too when Spacing < 1. The colour is Color, or
// StampImage sampled at the same place when it is given and not empty.
void StampAlongSegment24(TBitmap& Dst, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                         int Spacing, TRect Clip, const TBitmap* Stamp, const TBitmap* StampImage);
void SolidSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                    const TRect& Clip);
// A disc stamp of Width + 2 painted with a bevelled image of Color.
void BevelSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                    const TRect& Clip);
// One segment in Style, continuing the dash state.
void DrawStyledSegment24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                         int Style, const TRect& Clip);

// The line tool's line: resets the dash state, draws the segment, then the
// arrow barbs (o = 2 Width + 2 to the side, r = 3 Width + 3 along the line)
// at the start and/or the end, none when the line is shorter than 2 r. The
// barbs take the line's colour and width, style 5 for a 3D line, else solid.
void DrawBrushLine24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Width,
                     bool ArrowStart, bool ArrowEnd, int Style, const TRect& Clip);

// A closed solid polyline: each segment, then the last point back to the
// first. Nothing with Width <= 0 or fewer than 2 points.
void BrushPolygon24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, int Width, const TRect& Clip);

// A styled segment on any canvas with its pen's colour, width and style (the
// style's ordinal as the style code), drawn over a scratch bitmap of the
// brush colour covering Rect cut to the canvas's clip, which is then drawn
// onto the canvas at that rectangle's corner. Nothing when the pen width is
// 0 or less or the segment does not come near that rectangle.
void CanvasBrushLine(TCanvas& Canvas, double X1, double Y1, double X2, double Y2, const TRect& Rect);
