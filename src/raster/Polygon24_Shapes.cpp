// The shape builders of TPolygon24, its offsetting and outline, and the
// thick lines, arrows and one-pixel anti-aliased outline shapes drawn on the
// rasteriser of Polygon24.cpp.
#include "raster/Polygon24.h"

#include "platform/Rounding.h"
#include "raster/FoncUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Steps of a generated outline are limited so that an absurd radius or
// Bezier cannot make a builder run for minutes: at this count the points of
// a circle already lie far apart only beyond any bitmap's size.
constexpr int64_t MaxShapeSteps = int64_t{1} << 22;

int64_t LimitSteps(int64_t N) { return std::clamp<int64_t>(N, 0, MaxShapeSteps); }

// A Trunc of a Double step count, limited as above (NaN gives 0).
int64_t StepCount(double V) { return LimitSteps(Trunc(std::clamp(V, -1.0, static_cast<double>(MaxShapeSteps)))); }

// m, plus 1 when odd.
int64_t EvenUp(int64_t M) { return M % 2 != 0 ? M + 1 : M; }

TFloatPoint CirclePoint(double CX, double CY, double A, double B, double Angle) {
  return {CX + std::cos(Angle) * A, CY - std::sin(Angle) * B};
}

// The thinning rule: far enough from the last point kept on one axis.
bool MovedEnough(const TFloatPoint& P, const TFloatPoint& Last) {
  return std::abs(P.X - Last.X) >= PolyMinPointDistance || std::abs(P.Y - Last.Y) >= PolyMinPointDistance;
}

int RoundRectRadius(double W, double H) { return Round(std::min(W, H) / std::max(PolyRoundRectDivisor, 1)); }

// The Bezier group P[K - 3..K] walked in (sum of its legs) div 8 steps, at
// least 1: Visit gets each point after the first.
template <class F> void WalkBezierGroup(const TFloatPointArray& P, size_t K, F&& Visit) {
  const int64_t Legs = static_cast<int64_t>(RoundedPointDistance(P[K - 3], P[K - 2])) +
                       RoundedPointDistance(P[K - 2], P[K - 1]) + RoundedPointDistance(P[K - 1], P[K]);
  const int64_t Steps = LimitSteps(std::max<int64_t>(Legs / 8, 1));
  for (int64_t I = 1; I <= Steps; ++I)
    Visit(BezierPoint(P[K - 3], P[K - 2], P[K - 1], P[K], static_cast<double>(I) / static_cast<double>(Steps)));
}

// The geometry shared by the thick line and the arrows: the centres of the
// brush squares at both ends, the angle from the first to the second (Y up),
// their distance and the half width.
struct TThickLine {
  TFloatPoint C1, C2;
  double Theta, L, H;

  TThickLine(int X1, int Y1, int X2, int Y2, int Width) {
    const uint16_t Size = static_cast<uint16_t>(std::clamp(Width, 0, 65535));
    const auto Centre = [](const TRect& R) {
      return TFloatPoint{(R.Left + R.Right - 1) / 2.0, (R.Top + R.Bottom - 1) / 2.0};
    };
    C1 = Centre(BrushRect(X1, Y1, Size));
    C2 = Centre(BrushRect(X2, Y2, Size));
    Theta = std::atan2(C1.Y - C2.Y, C2.X - C1.X);
    L = std::sqrt((C2.X - C1.X) * (C2.X - C1.X) + (C2.Y - C1.Y) * (C2.Y - C1.Y));
    H = (Width - 1) / 2.0;
  }

  // (X, Y) turned about C1 by Theta and rounded.
  TFloatPoint T(double X, double Y) const {
    const TFloatPoint P = RotateFloatPoint(X, Y, C1.X, C1.Y, Theta);
    return {static_cast<double>(Round(P.X)), static_cast<double>(Round(P.Y))};
  }

  // A polygon of the turned points drawn with the line's colours (all the
  // outline colour for Width 2).
  void DrawShape(TBitmap& Bitmap, std::initializer_list<TFloatPoint> Points, TColor OutlineColor, TColor FillColor,
                 int Width, bool Antialiased, const TRect& Clip) const {
    TPolygon24 Polygon;
    Polygon.SetAntialiased(Antialiased);
    Polygon.SetClipRect(Clip);
    for (const TFloatPoint& P : Points) Polygon.Add(T(P.X, P.Y));
    Polygon.Draw(Bitmap, OutlineColor, Width == 2 ? OutlineColor : FillColor);
  }
};

// Joins the points of an outline with anti-aliased segments without their
// end points, thinned like the builders' points.
class TOutlineWalker {
public:
  TOutlineWalker(TBitmap& Bitmap, TColor Color, int Opacity, const TRect& Clip, const TFloatPoint& Start)
      : FBitmap(Bitmap), FColor(Color), FOpacity(Opacity), FClip(Clip), FLast(Start) {}
  void Join(const TFloatPoint& P) {
    DrawLineAA24(FBitmap, FLast.X, FLast.Y, P.X, P.Y, FColor, false, FOpacity, FClip);
    FLast = P;
  }
  void JoinThinned(const TFloatPoint& P) {
    if (MovedEnough(P, FLast)) Join(P);
  }
  const TFloatPoint& Last() const { return FLast; }

private:
  TBitmap& FBitmap;
  TColor FColor;
  int FOpacity;
  TRect FClip;
  TFloatPoint FLast;
};

} // namespace

// ---- Shape builders ------------------------------------------------------------------

void TPolygon24::AddThinned(const TFloatPoint& P) {
  const TFloatPointArray& Path = LastPath();
  if (Path.empty() || MovedEnough(P, Path.back())) Add(P);
}

void TPolygon24::RectangleF(double X1, double Y1, double X2, double Y2) {
  NewLine();
  Add(X1, Y1);
  Add(X2, Y1);
  Add(X2, Y2);
  Add(X1, Y2);
}

void TPolygon24::Rectangle(const TRect& R) { RectangleF(R.Left, R.Top, R.Right - 1, R.Bottom - 1); }

void TPolygon24::AddEllipsePoints(double CX, double CY, double A, double B) {
  const int64_t N = LimitSteps(EvenUp(Round(std::max(A, B) + 4)));
  NewLine();
  Add(CX + A, CY);
  for (int64_t D = 1; D < N; ++D)
    AddThinned(CirclePoint(CX, CY, A, B, 2 * Pi * static_cast<double>(D) / static_cast<double>(N)));
}

void TPolygon24::EllipseF(double X1, double Y1, double X2, double Y2) {
  if (X2 - X1 <= 2 || Y2 - Y1 <= 2)
    RectangleF(X1, Y1, X2, Y2);
  else
    AddEllipsePoints((X1 + X2) / 2, (Y1 + Y2) / 2, (X2 - X1) / 2, (Y2 - Y1) / 2);
}

void TPolygon24::Ellipse(const TRect& R) { EllipseF(R.Left, R.Top, R.Right - 1, R.Bottom - 1); }

void TPolygon24::Circle(double CX, double CY, double Radius) {
  if (Radius <= 1)
    RectangleF(CX - Radius, CY - Radius, CX + Radius, CY + Radius);
  else
    AddEllipsePoints(CX, CY, Radius, Radius);
}

void TPolygon24::Arc(double CX, double CY, double Radius, double Angle1, double Angle2) {
  if (Radius <= 1) {
    Add(CX, CY);
    return;
  }
  const int64_t N = LimitSteps(EvenUp(Round(Radius + 4)));
  const int64_t C = StepCount(static_cast<double>(N) * (Angle2 - Angle1) / (2 * Pi));
  Add(CirclePoint(CX, CY, Radius, Radius, Angle1));
  for (int64_t I = 1; I < C; ++I)
    AddThinned(CirclePoint(CX, CY, Radius, Radius, Angle1 + static_cast<double>(I) * 2 * Pi / static_cast<double>(N)));
  const TFloatPoint End = CirclePoint(CX, CY, Radius, Radius, Angle2);
  if (!(LastPath().back() == End)) Add(End);
}

void TPolygon24::RoundRectF(double X1, double Y1, double X2, double Y2) {
  const int R = RoundRectRadius(X2 - X1, Y2 - Y1);
  if (R <= 1) {
    RectangleF(X1, Y1, X2, Y2);
    return;
  }
  NewLine();
  Arc(X1 + R, Y1 + R, R, Pi / 2, Pi);
  Arc(X1 + R, Y2 - R, R, Pi, 3 * Pi / 2);
  Arc(X2 - R, Y2 - R, R, 3 * Pi / 2, 2 * Pi);
  Arc(X2 - R, Y1 + R, R, 0, Pi / 2);
}

void TPolygon24::RoundRect(const TRect& R) { RoundRectF(R.Left, R.Top, R.Right - 1, R.Bottom - 1); }

void TPolygon24::AddBezier(const TFloatPointArray& Points) {
  if (Points.size() % 3 != 1) return;
  Add(Points[0]);
  for (size_t K = 3; K < Points.size(); K += 3)
    WalkBezierGroup(Points, K, [this](const TFloatPoint& P) { AddThinned(P); });
}

// ---- Normals, offsetting and outline ---------------------------------------------------

void TPolygon24::ComputeNormals() {
  if (!FNormals.empty()) return;
  for (const TFloatPointArray& P : FPoints) {
    TFloatPointArray N(P.size());
    for (size_t K = 0; K < P.size(); ++K) {
      size_t J = K + 1;
      if (J == P.size()) J = FClosed ? 0 : K;
      const double DX = P[J].X - P[K].X, DY = P[J].Y - P[K].Y;
      const double L = std::sqrt(DX * DX + DY * DY);
      // A zero-length edge (or one too short for its length to be taken)
      // repeats the previous normal.
      if (L > 0 && std::isfinite(L))
        N[K] = {DY / L, -DX / L};
      else
        N[K] = K > 0 ? N[K - 1] : TFloatPoint{0, 0};
    }
    FNormals.push_back(std::move(N));
  }
}

std::unique_ptr<TPolygon24> TPolygon24::Grow(double Delta, double EdgeSharpness) {
  ComputeNormals();
  const double Sharpness = EdgeSharpness > 0 ? std::min(EdgeSharpness, 0.99) : 0;
  auto Result = std::make_unique<TPolygon24>();
  Result->FAntialiased = FAntialiased;
  Result->FClosed = FClosed;
  Result->FFillMode = FFillMode;
  if (Delta == 0) {
    Result->FPoints = FPoints;
    return Result;
  }
  Result->FPoints.clear();
  for (size_t S = 0; S < FPoints.size(); ++S) {
    const TFloatPointArray& P = FPoints[S];
    const TFloatPointArray& N = FNormals[S];
    const size_t Count = P.size();
    if (Count < 2) continue;
    Result->NewLine();
    for (size_t J = 0; J < Count; ++J) {
      double A = N[J].X * Delta, B = N[J].Y * Delta;
      if (J > 0 || FClosed) {
        const TFloatPoint& Previous = N[J > 0 ? J - 1 : Count - 1];
        const double C = Previous.X * Delta, D = Previous.Y * Delta;
        if (J + 1 < Count || FClosed) {
          // E = Delta (1 + u.v) for unit normals u (previous) and v: the
          // corner is mitred when E / Delta > 1 - Sharpness, so E is then
          // well away from 0 whichever the sign of Delta; a reversal or a
          // zero normal bevels.
          const double E = (C * (C + A) + D * (D + B)) / Delta;
          const bool Mitre = Delta > 0 ? Delta * (1 - Sharpness) < E : Delta * (1 - Sharpness) > E;
          if (Mitre) {
            const double MA = (C + A) * Delta / E, MB = (D + B) * Delta / E;
            A = MA;
            B = MB;
          } else {
            Result->Add(P[J].X + C, P[J].Y + D);
          }
        } else {
          A = C;
          B = D;
        }
      }
      Result->Add(P[J].X + A, P[J].Y + B);
    }
  }
  return Result;
}

std::unique_ptr<TPolygon24> TPolygon24::DoubledPath() const {
  auto Result = std::make_unique<TPolygon24>();
  Result->FAntialiased = FAntialiased;
  Result->FClosed = FClosed;
  Result->FFillMode = FFillMode;
  Result->FClipRect = FClipRect;
  Result->FFillAlpha = FEdgeAlpha;
  for (const TFloatPointArray& P : FPoints) {
    if (P.size() < 2) continue;
    const TFloatPointArray Reversed(P.rbegin(), P.rend());
    Result->NewLine();
    Result->AddPoints(P);
    if (FClosed) Result->NewLine();
    Result->AddPoints(Reversed);
  }
  return Result;
}

std::unique_ptr<TPolygon24> TPolygon24::Outline(int Width) {
  if (Width <= 1) return DoubledPath();
  std::unique_ptr<TPolygon24> Result = DoubledPath()->Grow(Width / 2.0, 0);
  Result->FFillMode = pfWinding;
  return Result;
}

// ---- Point helpers ------------------------------------------------------------------------

TFloatPoint BezierPoint(const TFloatPoint& P0, const TFloatPoint& P1, const TFloatPoint& P2, const TFloatPoint& P3,
                        double T) {
  const double U = 1 - T;
  const double W0 = U * U * U, W1 = 3 * T * U * U, W2 = 3 * T * T * U, W3 = T * T * T;
  return {W0 * P0.X + W1 * P1.X + W2 * P2.X + W3 * P3.X, W0 * P0.Y + W1 * P1.Y + W2 * P2.Y + W3 * P3.Y};
}

int RoundedPointDistance(const TFloatPoint& A, const TFloatPoint& B) {
  return IntDistance(Round(A.X), Round(A.Y), Round(B.X), Round(B.Y));
}

// ---- Thick lines and arrows -----------------------------------------------------------------

void DrawThickLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor, int Width,
                     bool Antialiased, const TRect& Clip) {
  if (Width <= 0) return;
  if (Width == 1) {
    DrawLineInt24(Bitmap, X1, Y1, X2, Y2, FillColor, Antialiased, Clip);
    return;
  }
  const TThickLine G(X1, Y1, X2, Y2, Width);
  const double X = G.C1.X, Y = G.C1.Y, L = G.L, H = G.H;
  G.DrawShape(Bitmap, {{X - H, Y - H}, {X + L + H, Y - H}, {X + L + H, Y + H}, {X - H, Y + H}}, OutlineColor, FillColor,
              Width, Antialiased, Clip);
}

void DrawArrowLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor, int Width,
                     int HeadHalfWidth, int HeadLength, bool Arrow1, bool Arrow2, bool Antialiased, const TRect& Clip) {
  if (Arrow1 && Arrow2)
    DrawArrowLineTwoHeads24(Bitmap, X1, Y1, X2, Y2, OutlineColor, FillColor, Width, HeadHalfWidth, HeadLength,
                            Antialiased, Clip);
  else if (Arrow1 || Arrow2)
    DrawArrowLineOneHead24(Bitmap, X1, Y1, X2, Y2, OutlineColor, FillColor, Width, HeadHalfWidth, HeadLength,
                           Antialiased, Clip);
  else
    DrawThickLine24(Bitmap, X1, Y1, X2, Y2, OutlineColor, FillColor, Width, Antialiased, Clip);
}

void DrawArrowLineOneHead24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor,
                            int Width, int HeadHalfWidth, int HeadLength, bool Antialiased, const TRect& Clip) {
  const TThickLine G(X1, Y1, X2, Y2, Width);
  if (Width <= 0 || HeadHalfWidth <= 0 || G.L <= HeadLength) {
    DrawThickLine24(Bitmap, X1, Y1, X2, Y2, OutlineColor, FillColor, Width, Antialiased, Clip);
    return;
  }
  const double X = G.C1.X, Y = G.C1.Y, L = G.L, H = G.H, E = HeadLength, D = HeadHalfWidth;
  if (Width == 1) {
    G.DrawShape(Bitmap, {{X + L, Y}, {X + L - E, Y - D}, {X + L - E, Y + D}}, OutlineColor, FillColor, Width,
                Antialiased, Clip);
    const TFloatPoint Neck = G.T(X + L - E, Y);
    DrawLineInt24(Bitmap, X1, Y1, Round(Neck.X), Round(Neck.Y), FillColor, Antialiased, Clip);
    return;
  }
  G.DrawShape(Bitmap,
              {{X + L + H, Y},
               {X + L + H - E, Y - H - D},
               {X + L + H - E, Y - H},
               {X - H, Y - H},
               {X - H, Y + H},
               {X + L + H - E, Y + H},
               {X + L + H - E, Y + H + D}},
              OutlineColor, FillColor, Width, Antialiased, Clip);
}

void DrawArrowLineTwoHeads24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor OutlineColor, TColor FillColor,
                             int Width, int HeadHalfWidth, int HeadLength, bool Antialiased, const TRect& Clip) {
  const TThickLine G(X1, Y1, X2, Y2, Width);
  if (Width <= 0 || HeadHalfWidth <= 0 || G.L <= HeadLength) {
    DrawThickLine24(Bitmap, X1, Y1, X2, Y2, OutlineColor, FillColor, Width, Antialiased, Clip);
    return;
  }
  const double X = G.C1.X, Y = G.C1.Y, L = G.L, H = G.H, E = HeadLength, D = HeadHalfWidth;
  if (Width == 1) {
    G.DrawShape(Bitmap, {{X + L, Y}, {X + L - E, Y - D}, {X + L - E, Y + D}}, OutlineColor, FillColor, Width,
                Antialiased, Clip);
    // The start triangle's tip is (X1, Y1) itself, which T leaves in place.
    G.DrawShape(Bitmap, {{X, Y}, {X + E, Y - D}, {X + E, Y + D}}, OutlineColor, FillColor, Width, Antialiased, Clip);
    const TFloatPoint A = G.T(X + E, Y), B = G.T(X + L - E, Y);
    DrawLineInt24(Bitmap, Round(A.X), Round(A.Y), Round(B.X), Round(B.Y), FillColor, Antialiased, Clip);
    return;
  }
  G.DrawShape(Bitmap,
              {{X + L + H, Y},
               {X + L + H - E, Y - H - D},
               {X + L + H - E, Y - H},
               {X - H + E, Y - H},
               {X - H + E, Y - H - D},
               {X - H, Y},
               {X - H + E, Y + H + D},
               {X - H + E, Y + H},
               {X + L + H - E, Y + H},
               {X + L + H - E, Y + H + D}},
              OutlineColor, FillColor, Width, Antialiased, Clip);
}

// ---- One-pixel outlines -----------------------------------------------------------------------

void DrawRectOutline24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip) {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  DrawLine24(Bitmap, L, T, Rt, T, Color, false, 100, Clip);
  DrawLine24(Bitmap, Rt - 1, T, Rt - 1, B - 1, Color, false, 100, Clip);
  DrawLine24(Bitmap, Rt - 1, B - 1, L, B - 1, Color, false, 100, Clip);
  DrawLine24(Bitmap, L, B - 1, L, T, Color, false, 100, Clip);
}

void DrawEllipseOutlineAA24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip) {
  if (RectWidth(R) <= 2 || RectHeight(R) <= 2) {
    DrawRectOutline24(Bitmap, R, Color, Clip);
    return;
  }
  const TRect Inner{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
  const double CX = (R.Left + R.Right - 1) / 2.0, CY = (R.Top + R.Bottom - 1) / 2.0;
  const double A = RectWidth(Inner) / 2.0, B = RectHeight(Inner) / 2.0;
  const int64_t M = LimitSteps(EvenUp(Trunc(std::max(A, B) + 4)));
  const TFloatPoint Start{CX + A, CY};
  TOutlineWalker Walker(Bitmap, Color, 100, Clip, Start);
  for (int64_t K = 1; K <= M; ++K)
    Walker.JoinThinned(CirclePoint(CX, CY, A, B, 2 * Pi * static_cast<double>(K) / static_cast<double>(M)));
  if (!(Walker.Last() == Start)) Walker.Join(Start);
}

void DrawArcAA24(TBitmap& Bitmap, int CX, int CY, int Radius, double Angle1, double Angle2, TColor Color,
                 const TRect& Clip) {
  const double D = static_cast<double>(Radius) + Radius % 2 + 4;
  const int64_t C = StepCount(D * (Angle2 - Angle1) / (2 * Pi));
  TOutlineWalker Walker(Bitmap, Color, 100, Clip, CirclePoint(CX, CY, Radius, Radius, Angle1));
  for (int64_t F = 1; F <= C; ++F)
    Walker.JoinThinned(CirclePoint(CX, CY, Radius, Radius, Angle1 + static_cast<double>(F) * 2 * Pi / D));
  const TFloatPoint End = CirclePoint(CX, CY, Radius, Radius, Angle2);
  if (!(Walker.Last() == End)) Walker.Join(End);
}

void DrawRoundRectOutlineAA24(TBitmap& Bitmap, const TRect& R, TColor Color, const TRect& Clip) {
  const int C = RoundRectRadius(RectWidth(R), RectHeight(R));
  if (C <= 1) {
    DrawRectOutline24(Bitmap, R, Color, Clip);
    return;
  }
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const auto Line = [&](int XA, int YA, int XB, int YB) {
    DrawLineAA24(Bitmap, XA, YA, XB, YB, Color, false, 100, Clip);
  };
  DrawArcAA24(Bitmap, L + C, T + C, C, Pi / 2, Pi, Color, Clip);
  Line(L, T + C, L, B - C);
  DrawArcAA24(Bitmap, L + C, B - C - 1, C, Pi, 3 * Pi / 2, Color, Clip);
  Line(L + C, B - 1, Rt - C, B - 1);
  DrawArcAA24(Bitmap, Rt - C - 1, B - C - 1, C, 3 * Pi / 2, 2 * Pi, Color, Clip);
  Line(Rt - 1, B - C, Rt - 1, T + C);
  DrawArcAA24(Bitmap, Rt - C - 1, T + C, C, 0, Pi / 2, Color, Clip);
  Line(Rt - C, T, L + C, T);
}

void DrawBezierAA24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, int Opacity, const TRect& Clip) {
  if (Points.size() < 2) return;
  TOutlineWalker Walker(Bitmap, Color, Opacity, Clip, Points[0]);
  for (size_t K = 3; K < Points.size(); K += 3)
    WalkBezierGroup(Points, K, [&Walker](const TFloatPoint& Q) {
      const TFloatPoint& Last = Walker.Last();
      if (Trunc(Q.X) != Trunc(Last.X) || Trunc(Q.Y) != Trunc(Last.Y)) Walker.Join(Q);
    });
}
