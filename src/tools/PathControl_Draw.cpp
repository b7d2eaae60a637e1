// Drawing a path into 24-bit bitmaps: brush strokes, polygon fills and
// edges, and the walk of the curve dialogs.
#include "tools/PathControl.h"

#include "platform/Canvas.h"
#include "platform/Rounding.h"
#include "raster/Polygon24.h"
#include "tools/LineBrush24.h"

#include <cmath>

namespace {

// The path's point list moved so that the curve's top-left lands at (X, Y).
TFloatPointArray PlacedPoints(const TPathControl& Path, int X, int Y) {
  const TRect B = Path.BmpBounds(2);
  TPathPointsData Data;
  Path.CreateListOfPoints(Data);
  for (TFloatPoint& P : Data.Points) {
    P.X += double(X) - B.Left;
    P.Y += double(Y) - B.Top;
  }
  return std::move(Data.Points);
}

// Calls Piece(From, To) for each step of the cubic P0..P3 that Keep accepts
// (the last step always), From being the end of the previous piece.
template <class FKeep, class FPiece>
void WalkCurve(const TFloatPoint& P0, const TFloatPoint& P1, const TFloatPoint& P2, const TFloatPoint& P3,
               TFloatPoint& Last, FKeep&& Keep, FPiece&& Piece) {
  const int Steps = BezierSteps(P0, P1, P2, P3);
  for (int K = 1; K <= Steps; ++K) {
    const TFloatPoint S = BezierPoint(P0, P1, P2, P3, double(K) / Steps);
    if (!Keep(S, Last, K == Steps)) continue;
    Piece(Last, S);
    Last = S;
  }
}

} // namespace

void TPathControl::DrawPath(TBitmap& Bitmap, int X, int Y, TColor Color, int Width, int Style,
                            const TRect& RClip) const {
  const TFloatPointArray Points = PlacedPoints(*this, X, Y);
  const auto Segment = [&](const TFloatPoint& A, const TFloatPoint& B) {
    DrawStyledSegment24(Bitmap, A.X, A.Y, B.X, B.Y, Color, Width, Style, RClip);
  };
  if (!FBezierMode) {
    for (size_t K = 1; K < Points.size(); ++K) Segment(Points[K - 1], Points[K]);
    return;
  }
  if (Points.empty()) return;
  // A step that stays in the last drawn pixel is not drawn.
  const auto OtherPixel = [](const TFloatPoint& S, const TFloatPoint& Last, bool) {
    return Trunc(S.X) != Trunc(Last.X) || Trunc(S.Y) != Trunc(Last.Y);
  };
  // Last runs on from group to group; each group starts at its own point.
  TFloatPoint Last = Points[0];
  for (size_t G = 0; G + 3 < Points.size(); G += 3)
    WalkCurve(Points[G], Points[G + 1], Points[G + 2], Points[G + 3], Last, OtherPixel, Segment);
}

void TPathControl::DrawInBitmap(TBitmap& Bitmap, int X, int Y, TColor Color, int EdgeWidth, TColor FillColor,
                                bool Antialias, int Alpha, const TRect& RClip) const {
  if (PointsCount() < 2) return;
  const TFloatPointArray Points = PlacedPoints(*this, X, Y);
  TPolygon24 Poly;
  if (FBezierMode)
    Poly.AddBezier(Points);
  else
    Poly.AddPoints(Points);
  Poly.SetClosed(false);
  Poly.SetClipRect(RClip);
  Poly.SetAntialiased(Antialias);
  Poly.SetFillAlpha(Alpha);
  Poly.SetEdgeAlpha(Alpha);
  Poly.Fill(Bitmap, FillColor);
  if (EdgeWidth == 1) {
    Poly.DrawEdge(Bitmap, Color);
  } else if (EdgeWidth > 1) {
    Poly.SetClosed(FClosed);
    const std::unique_ptr<TPolygon24> Outline = Poly.Outline(EdgeWidth);
    // The outline polygon starts with the default clip and opacity: the
    // caller's hold for it too.
    Outline->SetClipRect(RClip);
    Outline->SetAntialiased(Antialias);
    Outline->SetFillAlpha(Alpha);
    Outline->Fill(Bitmap, Color);
  }
}

void StrokePath(TBitmap& Bitmap, const TRect& Rect, const TPathControl& Path, TColor Color, int Opacity, int Step,
                const TStrokeCallback& Callback, void* Data, TRect ClipRect) {
  if (!ClipToBitmap(ClipRect, Bitmap) || Path.PointsCount() < 2) return;
  if (Path.ImageWidth() <= 0 || Path.ImageHeight() <= 0) return;
  const double SX = double(RectWidth(Rect)) / Path.ImageWidth();
  const double SY = double(RectHeight(Rect)) / Path.ImageHeight();
  if (Step < 1) Step = 1;
  const auto Map = [&](TPoint P) { return TFloatPoint{P.X * SX + Rect.Left, P.Y * SY + Rect.Top}; };
  const auto Piece = [&](const TFloatPoint& A, const TFloatPoint& B) {
    if (Callback)
      LineDDA(Round(A.X), Round(A.Y), Round(B.X), Round(B.Y), [&](int X, int Y) { Callback(X, Y, Data); });
    else
      DrawLineAA24(Bitmap, A.X, A.Y, B.X, B.Y, Color, false, Opacity, ClipRect);
  };
  const auto FarEnough = [&](const TFloatPoint& S, const TFloatPoint& Last, bool IsLast) {
    return IsLast || std::abs(S.X - Last.X) >= Step || std::abs(S.Y - Last.Y) >= Step;
  };
  const auto Segment = [&](int I, int J) {
    const TFloatPoint P0 = Map(Path.AnchorPoint(I)), P3 = Map(Path.AnchorPoint(J));
    TFloatPoint Last = P0;
    if (!Path.BezierMode())
      Piece(P0, P3);
    else
      WalkCurve(P0, Map(Path.ControlPoint2(I)), Map(Path.ControlPoint1(J)), P3, Last, FarEnough, Piece);
  };
  const int N = Path.PointsCount();
  for (int I = 0; I < N - 1; ++I) Segment(I, I + 1);
  if (Path.Closed()) {
    Segment(N - 1, 0);
    return;
  }
  const TFloatPoint First = Map(Path.AnchorPoint(0));
  const TFloatPoint Last = Map(Path.AnchorPoint(N - 1));
  if (Callback)
    Callback(Round(Last.X), Round(Last.Y), Data);
  else
    PlotPixel24(Bitmap, Round(Last.X), Round(Last.Y), ColorToTRGB(Color), Opacity, ClipRect);
  const double EndX = Path.ImageWidth() * SX + Rect.Left, EndY = Path.ImageHeight() * SY + Rect.Top;
  if (Path.JoinBorder() == 1) {
    if (First.X > Rect.Left) Piece({double(Rect.Left), First.Y}, First);
    if (Last.X < EndX - 1) Piece(Last, {EndX, Last.Y});
  } else if (Path.JoinBorder() == 2) {
    if (First.Y > Rect.Top) Piece({First.X, double(Rect.Top)}, First);
    if (Last.Y < EndY - 1) Piece(Last, {Last.X, EndY});
  }
}
