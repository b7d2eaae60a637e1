#include "document/PathSelection.h"

#include "platform/Rounding.h"
#include "raster/Pixels.h"

#include <algorithm>
#include <cstdlib>

namespace {

TPathVertexData Vertex(int X, int Y) {
  TPathVertexData V;
  V.PP = {X, Y};
  return V;
}

TPathVertexData Vertex(int X, int Y, TPoint B1, TPoint B2) {
  TPathVertexData V = Vertex(X, Y);
  V.B1 = B1;
  V.B1Initialized = true;
  V.B2 = B2;
  V.B2Initialized = true;
  return V;
}

// A vertex with its first or its second control point alone.
TPathVertexData VertexB1(int X, int Y, TPoint B1) {
  TPathVertexData V = Vertex(X, Y);
  V.B1 = B1;
  V.B1Initialized = true;
  return V;
}

TPathVertexData VertexB2(int X, int Y, TPoint B2) {
  TPathVertexData V = Vertex(X, Y);
  V.B2 = B2;
  V.B2Initialized = true;
  return V;
}

TPathVertexList EllipseVertices(int L, int T, int R, int B) {
  const int CX = (L + R) / 2, CY = (T + B) / 2;
  const int K = Round((R - L) * BezierArcFactor), KH = Round((B - T) * BezierArcFactor);
  return {Vertex(CX, T, {L + K, T}, {R - K - 1, T}), Vertex(R - 1, CY, {R - 1, T + KH}, {R - 1, B - KH - 1}),
          Vertex(CX, B - 1, {R - K - 1, B - 1}, {L + K, B - 1}), Vertex(L, CY, {L, B - KH - 1}, {L, T + KH})};
}

TPathVertexList RoundRectVertices(int L, int T, int R, int B) {
  const int C = Round(std::min(R - L, B - T) / double(std::max(RoundRectDivisor, 1)));
  const int E = Round(C * 2 * BezierArcFactor);
  // Each corner arc runs between a vertex with B2 set and the next with B1
  // set; the sides between them stay straight.
  return {VertexB1(L + C, T, {L + E, T}),
          VertexB2(R - C - 1, T, {R - E - 1, T}),
          VertexB1(R - 1, T + C, {R - 1, T + E}),
          VertexB2(R - 1, B - C - 1, {R - 1, B - E - 1}),
          VertexB1(R - C - 1, B - 1, {R - E - 1, B - 1}),
          VertexB2(L + C, B - 1, {L + E, B - 1}),
          VertexB1(L, B - C - 1, {L, B - E - 1}),
          VertexB2(L, T + C, {L, T + E})};
}

} // namespace

void CreateBasicShape(TPathControl& Path, TMyShape Shape, const TRect& Bounds) {
  const int L = Bounds.Left, T = Bounds.Top, R = Bounds.Right, B = Bounds.Bottom;
  TPathVertexList List;
  bool Bezier = Path.BezierMode();
  switch (Shape) {
  case ssEllipse:
    Bezier = true;
    List = EllipseVertices(L, T, R, B);
    break;
  case ssRoundRect:
    Bezier = true;
    List = RoundRectVertices(L, T, R, B);
    break;
  case ssRect:
  case ssTriangle1:
  case ssTriangle2:
  case ssTriangle3:
  case ssTriangle4:
  case ssLosange: {
    Bezier = false;
    std::vector<TPoint> Points;
    ShapeToPolygon(Shape, Bounds, Points);
    for (TPoint P : Points) List.push_back(Vertex(P.X, P.Y));
    break;
  }
  default:
    break;
  }
  Path.ReplacePath(std::move(List), Bezier, true);
}

void ConvertToSelection(const TPathControl& Path, TSelectionState& Sel) {
  if (Path.PointsCount() < 2) return;
  TShapeManager& Manager = Sel.ShapeManager();
  TRect B;
  if (Path.BezierMode()) {
    B = Path.BmpBounds(2);
    // Black inside on white: the mask convention of the shape manager.
    TBitmap Mask(RectWidth(B), RectHeight(B), pf24bit, clWhite);
    Path.DrawInBitmap(Mask, 0, 0, clNone, 0, clBlack, true, 100, WholeBitmapRect);
    Sel.SetShape(ssBitmap);
    Manager.MaskToPoints(&Mask, 128);
  } else {
    B = Path.BmpBounds(0);
    Sel.SetShape(ssPolygon);
    Manager.BeginPoints(Path.AnchorPoint(0));
    for (int I = 1; I < Path.PointsCount(); ++I) Manager.AddPoint(Path.AnchorPoint(I));
    Manager.EndPoints(1);
  }
  Sel.SetBmpSelRect(B);
  Sel.SetInvert(false);
}

void ConvertFromSelection(TPathControl& Path, TSelectionState& Sel, int Spacing) {
  if (Sel.Shape() != ssPolygon) {
    CreateBasicShape(Path, Sel.Shape(), Sel.BmpSelRect());
    return;
  }
  TShapeManager& Manager = Sel.ShapeManager();
  if (Manager.RefData().Points.empty()) return;
  // The outline as the selection shows it: stretched to its rectangle, in
  // bitmap coordinates.
  const TPoint* First = nullptr;
  int Count = 0;
  Manager.PreparePoints(Sel.BmpSelRect(), ssPolygon, First, Count);
  TPathVertexList List;
  TPoint Last{99999, 999999};
  for (int I = 0; I < Count; ++I) {
    const TPoint Q = First[I];
    if (std::abs(Q.X - Last.X) < Spacing && std::abs(Q.Y - Last.Y) < Spacing) continue;
    List.push_back(Vertex(Q.X, Q.Y));
    Last = Q;
  }
  Path.ReplacePath(std::move(List), false, true);
}
