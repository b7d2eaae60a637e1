#include "filters/Patterns24.h"

#include "filters/FilterLoops.h"
#include "filters/FilterTargets.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ImgUtils.h"
#include "raster/RandomGen.h"

#include <algorithm>
#include <cstdint>

using namespace FilterLoops;

// ---- Pixel patterns -----------------------------------------------------------

void Mosaic24(TBitmap& Bitmap, int Size, const TRect& Rect) {
  TRect R = Rect;
  if (Size <= 0 || !Prepare24(Bitmap, R)) return;
  // A block's corner maps to itself, so writing in place never changes a
  // pixel that is still to be read.
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* Corners = RowOf(Bitmap, Y / Size * Size);
    PRGBArray Out = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right;) {
      const int Block = X / Size * Size;
      const int End = static_cast<int>(std::min<int64_t>(int64_t{Block} + Size, R.Right));
      std::fill(Out + X, Out + End, Corners[Block]);
      X = End;
    }
  }
}

void HorizontalStripes24(TBitmap& Bitmap, int Height, int Gap, TColor Color, int Percent, const TRect& Rect) {
  // A band of no height, or a negative gap, would never move down the rect.
  TRect R = Rect;
  if (Percent <= 0 || Height < 1 || Gap < 0 || !Prepare24(Bitmap, R)) return;
  for (int64_t Y = int64_t{R.Top} + Gap; Y < R.Bottom; Y += int64_t{Gap} + Height) {
    const int Top = static_cast<int>(Y);
    FillColor24(Bitmap, Color, Percent, {R.Left, Top, R.Right, Top + std::min(Height, R.Bottom - Top)});
  }
}

// ---- Puzzle and grid -------------------------------------------------------------

const std::array<TPuzzleEdge, 4> PuzzleEdgeTemplates{{
    {{{0, 0}, {1, -2}, {6, 2}, {6, 0}, {4, -6}, {11, -4}, {9, 0}, {9, 1}, {15, -1}, {15, 0}}},
    {{{0, 0}, {0, 2}, {0, 4}, {0, 6}, {6, 4}, {5, 11}, {0, 9}, {0, 12}, {0, 13}, {0, 15}}},
    {{{0, 0}, {0, 1}, {6, -2}, {6, 0}, {3, 6}, {10, 5}, {9, 0}, {9, -2}, {15, 0}, {15, 0}}},
    {{{0, 0}, {0, 2}, {0, 3}, {0, 6}, {-6, 4}, {-5, 11}, {0, 9}, {0, 10}, {0, 13}, {0, 15}}},
}};

int PuzzleCellCount(int Length, int Size) {
  if (Size <= 0) return 0;
  return Length / Size + (Size * 2 / 3 < Length % Size ? 1 : 0);
}

namespace {

// One template scaled to a cell of CW x CH whose corner is cell (J, I) of
// the rect, as one Bezier curve.
void PuzzleEdge(TCanvas& Canvas, const TPuzzleEdge& Edge, const TRect& R, int I, int J, double CW, double CH) {
  std::array<TPoint, 10> Points;
  for (size_t K = 0; K < Edge.size(); ++K)
    Points[K] = {Round(Edge[K].X * CW / 15 + J * CW + R.Left), Round(Edge[K].Y * CH / 15 + I * CH + R.Top)};
  Canvas.PolyBezier(Points);
}

} // namespace

void Puzzle24(TBitmap& Bitmap, int Size, TColor Color, int PenWidth, const TRect& Rect) {
  TRect R = Rect;
  if (Size < 5 || Size > 500 || PenWidth < 1 || PenWidth > 10 || !Prepare24(Bitmap, R)) return;
  if (R.Width() / 2 < Size || R.Height() / 2 < Size) return;
  const int Columns = PuzzleCellCount(R.Width(), Size), Rows = PuzzleCellCount(R.Height(), Size);
  const double CW = static_cast<double>(R.Width()) / Columns, CH = static_cast<double>(R.Height()) / Rows;
  TCanvasScope Scope(Bitmap, R);
  Scope.SetSolid(Color, PenWidth);
  for (int I = 0; I < Rows; ++I)
    for (int J = 0; J < Columns; ++J) {
      const bool Odd = (I + J) % 2 == 1;
      if (I > 0) PuzzleEdge(Scope.Canvas(), PuzzleEdgeTemplates[Odd ? 2 : 0], R, I, J, CW, CH);
      if (J > 0) PuzzleEdge(Scope.Canvas(), PuzzleEdgeTemplates[Odd ? 3 : 1], R, I, J, CW, CH);
    }
}

void Grid24(TBitmap& Bitmap, int CellSize, TColor Color, int LineWidth, bool Frame, bool Vertical, bool Horizontal,
            bool Fit, const TRect& Rect) {
  TRect R = Rect;
  if (CellSize <= 0 || LineWidth <= 0 || !Prepare24(Bitmap, R)) return;
  const int W = R.Width(), H = R.Height();
  if (W / 2 < CellSize || H / 2 < CellSize) return;
  if (Frame) {
    TCanvasScope Scope(Bitmap, R);
    FillFrame(Scope.Canvas(), R, Color, LineWidth);
  }
  const double FW = Fit ? static_cast<double>(W) / PuzzleCellCount(W, CellSize) : CellSize;
  const double FH = Fit ? static_cast<double>(H) / PuzzleCellCount(H, CellSize) : CellSize;
  // Bands at f - LineWidth div 2, 2f - LineWidth div 2, ... short of the far
  // side; Band(Start) gives the rect of one band starting Start pixels in.
  const auto Lines = [&](double F, int Span, auto&& Band) {
    for (double V = F - LineWidth / 2; V < Span - LineWidth; V += F)
      FillColor24(Bitmap, Color, 100, IntersectRect(Band(Round(V)), R));
  };
  if (Horizontal) Lines(FH, H, [&](int V) { return TRect{R.Left, R.Top + V, R.Right, R.Top + V + LineWidth}; });
  if (Vertical) Lines(FW, W, [&](int V) { return TRect{R.Left + V, R.Top, R.Left + V + LineWidth, R.Bottom}; });
}

// ---- Drawn from a source -----------------------------------------------------------

namespace {

// The frame of the two-bitmap filters: the source to read (Src, or a copy
// when it is Dst or not 24-bit), Dst of its size, R clipped to it and filled
// with BackColor unless that is clNone, then Draw(Source, Scope, R) with the
// target's canvas clipped to R.
template <class F>
void DrawFromSource(const TBitmap& Src, TBitmap& Dst, const TRect& Rect, TColor BackColor, F&& Draw) {
  if (Src.Empty()) return;
  TBitmap Holder;
  const TBitmap& Source = DistinctSource24(Src, Dst, Holder);
  SizeTarget24(Dst, Source.Width(), Source.Height());
  TRect R = Rect;
  if (!ClipToBitmap(R, Dst)) return;
  if (BackColor != clNone) FillColor24(Dst, BackColor, 100, R);
  TCanvasScope Scope(Dst, R);
  Draw(Source, Scope, R);
}

// Calls Cell(X, Y, Colour) for the cells of Step from the rect's top-left
// corner, Colour the source pixel at the cell's corner; a progress step per
// row of cells.
template <class F> void ForEachCell(const TBitmap& Src, const TRect& R, int Step, F&& Cell) {
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; Y += Step) {
    if (!Progress.Step(Y - R.Top)) return;
    const TRGB* Row = RowOf(Src, Y);
    for (int X = R.Left; X < R.Right; X += Step) Cell(X, Y, TRGBToColor(Row[X]));
  }
}

} // namespace

void Tiles24(const TBitmap& Src, TBitmap& Dst, int Size, int Gap, TColor BackColor, bool Border, const TRect& Rect) {
  if (Size < 2 || Size > 200 || Gap < 0 || Gap > 30) return;
  DrawFromSource(Src, Dst, Rect, BackColor, [&](const TBitmap& Source, TCanvasScope& Scope, const TRect& R) {
    Randomize();
    Scope.Canvas().Pen = TPen{BackColor, 1, TPenStyle::psSolid, TPenMode::pmCopy};
    Scope.Canvas().Brush.Style = TBrushStyle::bsClear;
    for (int Y = R.Top; Y < R.Bottom - 1; Y += Size)
      for (int X = R.Left; X < R.Right - 1; X += Size) {
        const int DY = Gap / 2 - Random(Gap);
        const int DX = Gap / 2 - Random(Gap);
        TRect S{X, Y, X + Size, Y + Size};
        TRect T{X + DX, Y + DY, X + Size + DX, Y + Size + DY};
        // A side past the rect's is cut, and the source loses the same part.
        if (T.Left < R.Left) S.Left += R.Left - T.Left, T.Left = R.Left;
        if (T.Top < R.Top) S.Top += R.Top - T.Top, T.Top = R.Top;
        if (T.Right > R.Right) S.Right -= T.Right - R.Right, T.Right = R.Right;
        if (T.Bottom > R.Bottom) S.Bottom -= T.Bottom - R.Bottom, T.Bottom = R.Bottom;
        CopyRect24(Source, S, Dst, T.Left, T.Top, R);
        if (Border) Scope.Canvas().Rectangle(T);
      }
  });
}

void CrossHatch24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, int Step, int PenWidth, bool Down, bool Up,
                  const TRect& Rect) {
  if (Step < 3 || Step > 50 || PenWidth < 1 || PenWidth > 5) return;
  const int H = PenWidth / 2;
  DrawFromSource(Src, Dst, Rect, BackColor, [&](const TBitmap& Source, TCanvasScope& Scope, const TRect& R) {
    TCanvas& Canvas = Scope.Canvas();
    ForEachCell(Source, R, Step, [&](int X, int Y, TColor Colour) {
      Scope.SetSolid(Colour, PenWidth);
      if (Down) {
        Canvas.MoveTo(X + H, Y + H);
        Canvas.LineTo(X + Step - H, Y + Step - H);
      }
      if (Up) {
        Canvas.MoveTo(X + Step - H, Y + H);
        Canvas.LineTo(X + H, Y + Step - H);
      }
    });
  });
}

void Triangles24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, int Step, bool LowerLeft, bool LowerRight,
                 const TRect& Rect) {
  if (Step < 3 || Step > 50) return;
  const int Near = 1, Far = Step - 1;
  DrawFromSource(Src, Dst, Rect, BackColor, [&](const TBitmap& Source, TCanvasScope& Scope, const TRect& R) {
    ForEachCell(Source, R, Step, [&](int X, int Y, TColor Colour) {
      Scope.SetSolid(Colour, 1);
      if (LowerLeft) {
        const TPoint P[3] = {{X + Near, Y + Near}, {X + Far, Y + Far}, {X + Near, Y + Far}};
        Scope.Canvas().Polygon(P);
      }
      if (LowerRight) {
        const TPoint P[3] = {{X + Far, Y + Near}, {X + Near, Y + Far}, {X + Far, Y + Far}};
        Scope.Canvas().Polygon(P);
      }
    });
  });
}

void PointillismFromSource(const TBitmap& Src, TBitmap& Dst, int Size, int Spacing, TColor BackColor,
                           const TRect& Rect) {
  if (Size < 3 || Size > 50 || Spacing < 1) return;
  DrawFromSource(Src, Dst, Rect, BackColor, [&](const TBitmap& Source, TCanvasScope& Scope, const TRect& R) {
    Randomize();
    ForEachCell(Source, R, Spacing, [&](int X, int Y, TColor Colour) {
      Scope.SetSolid(Colour, 1);
      const int F = Random(Size);
      const int G = Random(Size);
      Scope.Canvas().Ellipse(X - F, Y - G, X + Size - F, Y + Size - G);
    });
  });
}

void Pointillism24(TBitmap& Bitmap, int Size, int Spacing, TColor BackColor, const TRect& Rect) {
  PointillismFromSource(Bitmap, Bitmap, Size, Spacing, BackColor, Rect);
}
