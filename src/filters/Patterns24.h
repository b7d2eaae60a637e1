// The pattern filters: mosaic blocks, horizontal stripes, puzzle edges,
// displaced tiles, grid lines, cross points, triangles and pointillism.
// Depends on the raster core (canvas drawing, fills, the shared random
// generator); used by the pattern dialogs, the artistic filters and the art
// brush.
//
// The rect is normalised and clipped to the bitmap (to the target for the
// two-bitmap filters, once the target has the source's size); an empty rect,
// or a parameter outside the accepted range given with each routine, does
// nothing. Drawing never leaves the rect. The two-bitmap filters read Src
// and draw into Dst, which first becomes a 24-bit bitmap of Src's size (one
// of that size keeps its pixels, any other is made new and white); Src may
// be Dst itself, it is then read as it was. The random filters reseed the
// shared generator at every call (Randomize).
#pragma once

#include "raster/Pixels.h"

#include <array>

// Size > 0: every pixel (x, y) := pixel ((x div Size) Size, (y div Size)
// Size). Blocks are aligned on the bitmap's origin, so a block's corner may
// lie outside the rect (it is read there, never written).
void Mosaic24(TBitmap& Bitmap, int Size, const TRect& Rect);

// Percent > 0, Height > 0 and Gap >= 0: bands Height rows high moved toward
// Color by Percent (FillColor24), the first Gap rows below the top, then one
// every Gap + Height rows; the last band is cut at the bottom.
void HorizontalStripes24(TBitmap& Bitmap, int Height, int Gap, TColor Color, int Percent, const TRect& Rect);

// The edge shapes of the puzzle in a 15 x 15 cell, the edge running from
// (0, 0) to (15, 0) or to (0, 15): a start point and three cubic Bezier
// segments. 0 horizontal with its tab up, 1 vertical tab right, 2 horizontal
// tab down, 3 vertical tab left.
using TPuzzleEdge = std::array<TPoint, 10>;
extern const std::array<TPuzzleEdge, 4> PuzzleEdgeTemplates;

// The cells of a puzzle over a span of Length pixels: Length div Size, plus
// one when the remainder is above Size * 2 div 3.
int PuzzleCellCount(int Length, int Size);

// Size 5..500, PenWidth 1..10, the rect at least 2 Size wide and high: the
// inner edges of a puzzle of PuzzleCellCount columns and rows, drawn with a
// solid pen of Color; a cell's top edge has its tab down when its row plus
// its column is odd, up otherwise, its left edge its tab left when odd,
// right otherwise. The rect's border gets no edge.
void Puzzle24(TBitmap& Bitmap, int Size, TColor Color, int PenWidth, const TRect& Rect);

// Size 2..200, Gap 0..30: the rect filled with BackColor, then squares of
// Size from the rect's top-left corner, each copied from Src to a place
// moved by up to Gap div 2 each way (random, the vertical offset drawn
// first) and cut at the rect's sides; with Border, each placed square is
// outlined in BackColor.
void Tiles24(const TBitmap& Src, TBitmap& Dst, int Size, int Gap, TColor BackColor, bool Border, const TRect& Rect);

// CellSize > 0, LineWidth > 0, the rect at least 2 CellSize wide and high:
// with Frame a frame LineWidth wide inside the rect; with Horizontal, bands
// LineWidth high in Color at v = f - LineWidth div 2, stepping f while
// v < height - LineWidth (rows Top + Round(v) on); with Vertical the same
// across. f is CellSize, or with Fit the span divided into PuzzleCellCount
// equal cells.
void Grid24(TBitmap& Bitmap, int CellSize, TColor Color, int LineWidth, bool Frame, bool Vertical, bool Horizontal,
            bool Fit, const TRect& Rect);

// Step 3..50, PenWidth 1..5: the rect filled with BackColor, then in every
// cell of Step from the rect's top-left corner, with the colour of Src at the
// cell's corner and h = PenWidth div 2, the falling diagonal (Down) from
// (x + h, y + h) to (x + Step - h, y + Step - h) and the rising one (Up) from
// (x + Step - h, y + h) to (x + h, y + Step - h), end points left out.
void CrossHatch24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, int Step, int PenWidth, bool Down, bool Up,
                  const TRect& Rect);

// Step 3..50: as CrossHatch24, filled triangles with one-pixel outlines:
// LowerLeft (x + 1, y + 1), (x + Step - 1, y + Step - 1), (x + 1, y + Step -
// 1); LowerRight (x + Step - 1, y + 1), (x + 1, y + Step - 1), (x + Step - 1,
// y + Step - 1).
void Triangles24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, int Step, bool LowerLeft, bool LowerRight,
                 const TRect& Rect);

// Size 3..50, Spacing >= 1: the rect filled with BackColor unless it is
// clNone, then every Spacing pixels (rows first) a filled ellipse of Size
// in the colour of Src there, its box (x - f, y - g, x + Size - f, y + Size
// - g) with f then g drawn from Random(Size).
void PointillismFromSource(const TBitmap& Src, TBitmap& Dst, int Size, int Spacing, TColor BackColor,
                           const TRect& Rect);
// PointillismFromSource from a copy of the bitmap.
void Pointillism24(TBitmap& Bitmap, int Size, int Spacing, TColor BackColor, const TRect& Rect);
