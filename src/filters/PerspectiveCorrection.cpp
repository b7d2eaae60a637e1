#include "filters/PerspectiveCorrection.h"

#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils.h"
#include "raster/TransformFunc.h"

#include <algorithm>

TPerspectiveGuides FullGuides(int W, int H) {
  TPerspectiveGuides G;
  G.T1 = G.B1 = W - 1;
  G.L1 = G.R1 = H - 1;
  return G;
}

int LimitGuideCursor(int Index, int Position, int Max) {
  const int K = Max * 37 / 100;
  return Index == 0 ? std::min(Position, K) : std::max(Position, Max - K);
}

bool PerspectiveCorners(const TPerspectiveGuides& G, int W, int H, TRectVertices& Corners) {
  struct TLine {
    double X1, Y1, X2, Y2;
  };
  const TLine Horz1{0, double(G.L0), W - 1.0, double(G.R0)}, Horz2{0, double(G.L1), W - 1.0, double(G.R1)};
  const TLine Vert1{double(G.T0), 0, double(G.B0), H - 1.0}, Vert2{double(G.T1), 0, double(G.B1), H - 1.0};
  const std::pair<TLine, TLine> Pairs[4] = {{Horz1, Vert1}, {Horz1, Vert2}, {Horz2, Vert2}, {Horz2, Vert1}};
  TRectVertices P;
  for (int I = 0; I < 4; ++I) {
    const auto& [A, B] = Pairs[I];
    double X, Y;
    if (!LineIntersection(A.X1, A.Y1, A.X2, A.Y2, B.X1, B.Y1, B.X2, B.Y2, X, Y)) return false;
    P[I] = {Round(X), Round(Y)};
  }
  Corners = P;
  return true;
}

bool IsWholeQuad(const TRectVertices& C, int W, int H) {
  const TRectVertices Whole{TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{W - 1, H - 1}, TPoint{0, H - 1}};
  for (int I = 0; I < 4; ++I)
    if (!PointsEqual(C[I], Whole[I])) return false;
  return true;
}

TPerspectiveCorner PerspectiveCornerAt(int X, int Y, int W, int H) {
  const int A = std::min(W / 2, H / 2);
  if (X < A && Y < A) return TPerspectiveCorner::TopLeft;
  if (X > W - A && Y < A) return TPerspectiveCorner::TopRight;
  if (X > W - A && Y > H - A) return TPerspectiveCorner::BottomRight;
  if (X < A && Y > H - A) return TPerspectiveCorner::BottomLeft;
  return TPerspectiveCorner::None;
}

void SetStraighteningTransform(TProjectiveTransformation& T, const TRectVertices& C) {
  T.SetP0(C[0]);
  T.SetP1(C[1]);
  T.SetP2(C[2]);
  T.SetP3(C[3]);
  T.SetFlagInvert(true);
  T.SetSrcRect(T.GetBounds());
}

void ScalePerspective(TProjectiveTransformation& T, double Ratio, int BW, int BH) {
  const auto Low = [Ratio](int V) { return Trunc(V * Ratio); };
  const auto HighX = [Ratio, BW](int V) { return std::min(Ceil((V + 1) * Ratio), BW); };
  const auto HighY = [Ratio, BH](int V) { return std::min(Ceil((V + 1) * Ratio), BH); };
  const TPoint P0 = T.P0(), P1 = T.P1(), P2 = T.P2(), P3 = T.P3();
  T.SetP0({Low(P0.X), Low(P0.Y)});
  T.SetP1({HighX(P1.X), Low(P1.Y)});
  T.SetP2({HighX(P2.X), HighY(P2.Y)});
  T.SetP3({Low(P3.X), HighY(P3.Y)});
  const TRect S = T.SrcRect();
  T.SetSrcRect({Low(S.Left), Low(S.Top), HighX(S.Right), HighY(S.Bottom)});
}

bool PerspectiveUsable(TProjectiveTransformation& T) {
  const TRectVertices Asked{T.P0(), T.P1(), T.P2(), T.P3()};
  // Corners on one another pass the convexity test but squash a side.
  for (int I = 0; I < 4; ++I)
    for (int J = I + 1; J < 4; ++J)
      if (PointsEqual(Asked[I], Asked[J])) return false;
  T.Prepare();
  const TRectVertices Taken{T.P0(), T.P1(), T.P2(), T.P3()};
  for (int I = 0; I < 4; ++I)
    if (!PointsEqual(Asked[I], Taken[I])) return false;
  const TRect B = T.GetBounds();
  const TRect S = T.SrcRect();
  return !B.IsEmpty() && !S.IsEmpty();
}

TRect CorrectPerspective(TBitmap& Background, const TBitmap& Original, TProjectiveTransformation& T) {
  const TRect Whole{0, 0, Background.Width(), Background.Height()};
  const TRect K = IntersectRect(T.GetBounds(), Whole);
  if (K.IsEmpty()) return Whole;
  FillColor24(Background, clWhite, 100, K);
  DrawTransformed(Original, Background, T, amBicubic, clWhite);
  if (K != Whole) CropBitmap(Background, K);
  return K;
}
