#include "tools/PathControl.h"

#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "raster/Polygon24.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

bool ShowPathErrors = true;

// ---- Bezier helpers -------------------------------------------------------------

TPoint BezierPoint(TPoint P0, TPoint P1, TPoint P2, TPoint P3, double T) {
  const TFloatPoint F = BezierPoint(FloatPointFromPoint(P0), FloatPointFromPoint(P1), FloatPointFromPoint(P2),
                                    FloatPointFromPoint(P3), T);
  return {Round(F.X), Round(F.Y)};
}

int BezierSteps(const TFloatPoint& P0, const TFloatPoint& P1, const TFloatPoint& P2, const TFloatPoint& P3) {
  const int64_t Sum =
      int64_t(RoundedPointDistance(P0, P1)) + RoundedPointDistance(P1, P2) + RoundedPointDistance(P2, P3);
  return int(std::clamp<int64_t>(Sum / 8, 1, INT_MAX));
}

namespace {

int BezierSteps(TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  return BezierSteps(FloatPointFromPoint(P0), FloatPointFromPoint(P1), FloatPointFromPoint(P2),
                     FloatPointFromPoint(P3));
}

// Calls Sample(Q) for every sample of the curve that differs from the one
// before it (P0 included as the first "before").
template <class F> void ForEachBezierSample(TPoint P0, TPoint P1, TPoint P2, TPoint P3, F&& Sample) {
  const int Steps = BezierSteps(P0, P1, P2, P3);
  TPoint Last = P0;
  for (int K = 1; K <= Steps; ++K) {
    const TPoint Q = BezierPoint(P0, P1, P2, P3, double(K) / Steps);
    if (Q == Last) continue;
    Sample(Q);
    Last = Q;
  }
}

bool Near(TPoint P, int X, int Y, int Tol) { return std::abs(P.X - X) <= Tol && std::abs(P.Y - Y) <= Tol; }

TRect PixelBox(TPoint P) { return {P.X, P.Y, P.X + 1, P.Y + 1}; }

void UniteRect(TRect& R, const TRect& S) {
  R.Left = std::min(R.Left, S.Left);
  R.Top = std::min(R.Top, S.Top);
  R.Right = std::max(R.Right, S.Right);
  R.Bottom = std::max(R.Bottom, S.Bottom);
}

} // namespace

TRect BezierBounds(TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  TRect R = PixelBox(P0);
  ForEachBezierSample(P0, P1, P2, P3, [&](TPoint Q) { IncludePointInRect(R, Q); });
  return R;
}

bool BezierHitTest(int X, int Y, int Tol, TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  if (Near(P0, X, Y, Tol)) return true;
  const int Steps = BezierSteps(P0, P1, P2, P3);
  for (int K = 1; K <= Steps; ++K)
    if (Near(BezierPoint(P0, P1, P2, P3, double(K) / Steps), X, Y, Tol)) return true;
  return false;
}

// ---- The control --------------------------------------------------------------------

TPathControl::TPathControl(const TPathView* View) : FView(View) {}

TPathControl::~TPathControl() = default;

void TPathControl::NotifyChanged() {
  if (OnChanged) OnChanged();
}

void TPathControl::SetBezierMode(bool Value) {
  if (Value != FBezierMode) ChangePoints([&] { FBezierMode = Value; });
}

void TPathControl::SetClosed(bool Value) {
  if (Value != FClosed) ChangePoints([&] { FClosed = Value; });
}

void TPathControl::Clear() {
  if (FVertices.empty()) return;
  EraseOverlay();
  FCurrentVertex = -1;
  FTransform.reset();
  FVertices.clear();
  FChanged = false;
  Cleared();
  NotifyChanged();
}

int TPathControl::GetVerticesList(TPathVertexList& List) const {
  List = FVertices;
  return PointsCount();
}

int TPathControl::SetVerticesList(const TPathVertexList* List) {
  Clear();
  if (!List || List->empty()) return 0;
  FVertices = *List;
  DrawOverlay();
  FChanged = false;
  NotifyChanged();
  return PointsCount();
}

void TPathControl::ReplacePath(TPathVertexList List, bool Bezier, bool AClosed, const TRect* FitInto) {
  Clear();
  BeginUpdate();
  FBezierMode = Bezier;
  FClosed = AClosed;
  FVertices = std::move(List);
  if (FitInto) AutoScaleAndPos(*FitInto, true);
  EndUpdate();
  DrawOverlay();
  FChanged = false;
  NotifyChanged();
}

bool TPathControl::GetVertex(TPoint& P, int Index, int Flag) const {
  if (!ValidIndex(Index)) return false;
  const TPathVertexData& V = FVertices[size_t(Index)];
  switch (Flag) {
  case 0: P = AnchorPoint(Index); return true;
  case 1: P = ControlPoint1(Index); return true;
  case 2: P = ControlPoint2(Index); return true;
  case 3: P = {V.B1Initialized ? 1 : 0, V.B2Initialized ? 1 : 0}; return true;
  default: return false;
  }
}

bool TPathControl::SetVertex(TPoint P, int Index, int Flag) {
  if (!ValidIndex(Index) || Flag < 0 || Flag > 3) return false;
  TPathVertexData& V = FVertices[size_t(Index)];
  switch (Flag) {
  case 0: V.PP = P; break;
  case 1: V.B1 = P; break;
  case 2: V.B2 = P; break;
  default:
    if (P.X != 0) V.B1 = ControlPoint1(Index);
    V.B1Initialized = P.X != 0;
    if (P.Y != 0) V.B2 = ControlPoint2(Index);
    V.B2Initialized = P.Y != 0;
  }
  return true;
}

// ---- Neighbours and shown points -------------------------------------------------

int TPathControl::NextVertex(int I) const {
  if (!ValidIndex(I)) return -1;
  if (I < PointsCount() - 1) return I + 1;
  return FClosed && PointsCount() > 2 ? 0 : -1;
}

int TPathControl::PrevVertex(int I) const {
  if (!ValidIndex(I)) return -1;
  if (I > 0) return I - 1;
  return FClosed && PointsCount() > 2 ? PointsCount() - 1 : -1;
}

TPoint TPathControl::ShownPoint(TPoint P) const {
  if (!FTransform) return P;
  double X, Y;
  FTransform->Transform(P.X, P.Y, X, Y);
  return {Round(X), Round(Y)};
}

TPoint TPathControl::AnchorPoint(int I) const { return ShownPoint(FVertices[size_t(I)].PP); }

TPoint TPathControl::ControlPoint1(int I) const {
  const TPathVertexData& V = FVertices[size_t(I)];
  return V.B1Initialized ? ShownPoint(V.B1) : ThirdPoint(I, PrevVertex(I));
}

TPoint TPathControl::ControlPoint2(int I) const {
  const TPathVertexData& V = FVertices[size_t(I)];
  return V.B2Initialized ? ShownPoint(V.B2) : ThirdPoint(I, NextVertex(I));
}

TPoint TPathControl::ThirdPoint(int I, int J) const {
  const TPoint A = AnchorPoint(I);
  if (J == -1) return A;
  const TPoint B = AnchorPoint(J);
  return {Round(A.X + (double(B.X) - A.X) / 3), Round(A.Y + (double(B.Y) - A.Y) / 3)};
}

bool TPathControl::IsStraightSegment(int I, int J) const {
  return ValidIndex(I) && ValidIndex(J) && !FVertices[size_t(I)].B2Initialized &&
         !FVertices[size_t(J)].B1Initialized;
}

TRect TPathControl::BmpBounds(int Flag) const {
  if (FVertices.empty()) return {0, 0, 0, 0};
  // Starting from the first anchor rather than from a fixed far-away box, so
  // that a path far from the origin still gets its own bounds.
  TRect R = PixelBox(AnchorPoint(0));
  for (int I = 0; I < PointsCount(); ++I) {
    IncludePointInRect(R, AnchorPoint(I));
    if (FBezierMode && (Flag & 1)) {
      IncludePointInRect(R, ControlPoint1(I));
      IncludePointInRect(R, ControlPoint2(I));
    }
  }
  if (FBezierMode && (Flag & 2))
    for (int I = 0; I < PointsCount(); ++I) {
      const int J = NextVertex(I);
      if (J != -1) UniteRect(R, BezierBounds(AnchorPoint(I), ControlPoint2(I), ControlPoint1(J), AnchorPoint(J)));
    }
  return R;
}

// ---- Pending transformation ---------------------------------------------------------

TAffineTransformation& TPathControl::Transformation() {
  if (!FTransform) FTransform = std::make_unique<TAffineTransformation>();
  return *FTransform;
}

void TPathControl::SetTransformation(const TTransformation* T) {
  if (!T) {
    CancelTransformation();
    return;
  }
  EraseOverlay();
  Transformation().Assign(*T);
  DrawOverlay();
  NotifyChanged();
}

void TPathControl::ValidateTransformation() {
  if (!FTransform) return;
  for (TPathVertexData& V : FVertices) {
    V.PP = ShownPoint(V.PP);
    if (V.B1Initialized) V.B1 = ShownPoint(V.B1);
    if (V.B2Initialized) V.B2 = ShownPoint(V.B2);
  }
  FTransform.reset();
  FChanged = true;
}

void TPathControl::CancelTransformation() {
  if (!FTransform) return;
  EraseOverlay();
  FTransform.reset();
  DrawOverlay();
  NotifyChanged();
}

// ---- Geometry ----------------------------------------------------------------------


template <class F> void TPathControl::MapPoints(F&& Map) {
  for (TPathVertexData& V : FVertices) {
    V.PP = Map(V.PP);
    if (V.B1Initialized) V.B1 = Map(V.B1);
    if (V.B2Initialized) V.B2 = Map(V.B2);
  }
}

void TPathControl::Translate(int DX, int DY) {
  if (FVertices.empty() || (DX == 0 && DY == 0)) return;
  EraseOverlay();
  MapPoints([&](TPoint P) { return TPoint{P.X + DX, P.Y + DY}; });
  DrawOverlay();
  if (!Dragging() && !FUpdating) NotifyChanged();
}

void TPathControl::Scale(double ZX, double ZY) {
  if (PointsCount() < 2 || !(ZX > 0) || !(ZY > 0)) return;
  EraseOverlay();
  MapPoints([&](TPoint P) { return TPoint{Round(P.X * ZX), Round(P.Y * ZY)}; });
  DrawOverlay();
  if (!FUpdating) NotifyChanged();
}

void TPathControl::AutoScaleAndPos(const TRect& Bounds, bool ReduceOnly) {
  if (PointsCount() < 2) return;
  TRect B = BmpBounds(1);
  // An axis one pixel thick (a horizontal or vertical path) sets no limit:
  // the other axis alone decides, and a path that is a single point keeps its
  // size. Its target must still hold a pixel.
  const auto Ratio = [](int Target, int Size) { return Size > 1 ? double(Target - 1) / (Size - 1) : HUGE_VAL; };
  const double ZX = Ratio(RectWidth(Bounds), RectWidth(B));
  const double ZY = Ratio(RectHeight(Bounds), RectHeight(B));
  if (ZX <= 0 || ZY <= 0) return;
  const double Z = std::min(ZX, ZY);
  if (Z != HUGE_VAL && (!ReduceOnly || Z < 1)) {
    Scale(Z, Z);
    B = BmpBounds(1);
  }
  Translate((RectWidth(Bounds) - RectWidth(B)) / 2 + Bounds.Left, (RectHeight(Bounds) - RectHeight(B)) / 2 + Bounds.Top);
}

void TPathControl::BasicTransform(int Kind) {
  if (PointsCount() < 2 || Kind < 0 || Kind > 4) return;
  const TRect B = BmpBounds(2);
  const int CX2 = B.Left + B.Right - 1, CY2 = B.Top + B.Bottom - 1;
  const int CX = CX2 / 2, CY = CY2 / 2;
  ChangePoints([&] {
    MapPoints([&](TPoint P) -> TPoint {
      switch (Kind) {
      case 0: return {CX2 - P.X, P.Y};
      case 1: return {P.X, CY2 - P.Y};
      case 2: return {CY + CX - P.Y, P.X + CY - CX};
      case 3: return {P.Y + CX - CY, CX + CY - P.X};
      default: return {CX2 - P.X, CY2 - P.Y};
      }
    });
  });
}

// ---- Control points --------------------------------------------------------------

void TPathControl::ResetControlPoints() {
  if (PointsCount() < 2) return;
  ChangePoints([&] {
    FCurrentVertex = -1;
    for (TPathVertexData& V : FVertices) V.B1Initialized = V.B2Initialized = false;
  });
}

void TPathControl::DefaultControlPoints() {
  if (PointsCount() < 2) return;
  ChangePoints([&] {
    for (int I = 0; I < PointsCount(); ++I) SmoothVertex(I, 0);
  });
}

void TPathControl::SnapPoint(TPoint& P, bool Clamp) const {
  const double G = FView ? FView->GridStep() : 0;
  if (G > 0) {
    P.X = Trunc(Trunc(P.X / G) * G);
    P.Y = Trunc(Trunc(P.Y / G) * G);
  }
  if (Clamp && ImageWidth() > 0 && ImageHeight() > 0) ClampPointToRect(P, {0, 0, ImageWidth(), ImageHeight()});
}

TPoint TPathControl::MirrorPoint(TPoint Q, TPoint P) const {
  TPoint M{2 * P.X - Q.X, 2 * P.Y - Q.Y};
  SnapPoint(M, false);
  return M;
}

// A point at a third of the shorter arm from P, perpendicular to the bisector
// of the corner PA-P-PC; P itself when an arm is too short or the corner is
// nearly straight.
TPoint TPathControl::TangentPoint(TPoint PA, TPoint P, TPoint PC) const {
  const int R = std::min(IntDistance(P.X, P.Y, PA.X, PA.Y), IntDistance(P.X, P.Y, PC.X, PC.Y));
  if (R <= 2) return P;
  const TPoint E = BisectorPoint(P, PA, PC);
  const double DX = double(E.X) - P.X, DY = double(E.Y) - P.Y;
  if (std::abs(DX) <= 2 && std::abs(DY) <= 2) return P;
  const double G = std::sqrt(DX * DX + DY * DY);
  double H = AngleBetweenLines(P, PA, P, PC);
  if (H < 0) H += 2 * std::numbers::pi;
  const double S = H <= std::numbers::pi ? 1 : -1;
  const double L = G / R * 3;
  TPoint T{Round(P.X - S * DY / L), Round(P.Y + S * DX / L)};
  SnapPoint(T, false);
  return T;
}

void TPathControl::SmoothVertex(int I, int Kind) {
  if (!ValidIndex(I)) return;
  TPathVertexData& V = FVertices[size_t(I)];
  const TPoint P = V.PP;
  // Kinds 1 and 2: one set control point mirrored into the other.
  const auto Mirror = [&](const TPoint& From, bool FromSet, TPoint& To, bool& ToSet) {
    if (!FromSet) return;
    To = MirrorPoint(From, P);
    ToSet = true;
  };
  if (Kind == 1) Mirror(V.B2, V.B2Initialized, V.B1, V.B1Initialized);
  if (Kind == 2) Mirror(V.B1, V.B1Initialized, V.B2, V.B2Initialized);
  if (Kind != 0) return;
  const int A = PrevVertex(I), C = NextVertex(I);
  if (A == -1 || C == -1) {
    V.B1Initialized = V.B2Initialized = false;
    return;
  }
  const TPoint T = TangentPoint(AnchorPoint(A), P, AnchorPoint(C));
  if (T == P) {
    V.B1 = ThirdPoint(I, A);
    V.B2 = ThirdPoint(I, C);
    if (FSymetricBesierPoints) {
      if (IntDistance(P.X, P.Y, V.B1.X, V.B1.Y) >= IntDistance(P.X, P.Y, V.B2.X, V.B2.Y))
        V.B1 = MirrorPoint(V.B2, P);
      else
        V.B2 = MirrorPoint(V.B1, P);
    }
  } else {
    V.B1 = T;
    V.B2 = MirrorPoint(T, P);
  }
  V.B1Initialized = V.B2Initialized = true;
}

// ---- Rasteriser input -----------------------------------------------------------

void TPathControl::CreateListOfPoints(TPathPointsData& Data) const {
  Data.Points.clear();
  Data.Count = 0;
  Data.BezierMode = FBezierMode;
  const int N = PointsCount();
  if (N == 0) return;
  const auto Add = [&](TPoint P) { Data.Points.push_back(FloatPointFromPoint(P)); };
  for (int I = 0; I < N - 1; ++I) {
    Add(AnchorPoint(I));
    if (FBezierMode) {
      Add(ControlPoint2(I));
      Add(ControlPoint1(I + 1));
    }
  }
  Add(AnchorPoint(N - 1));
  if (FClosed) {
    if (FBezierMode) {
      Add(ControlPoint2(N - 1));
      Add(ControlPoint1(0));
    }
    Add(AnchorPoint(0));
  }
  Data.Count = int(Data.Points.size());
}
