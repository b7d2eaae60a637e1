// TShapeManager: the point lists, shape geometry, point capture, hit tests,
// flips and turns, and the tracing, growing and rescaling of bitmap shapes.
// Drawing is in ShapeManager_Draw.cpp, the selection file in
// ShapeManager_File.cpp.
#include "document/ShapeManager.h"

#include "platform/Rounding.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/RectUtils.h"
#include "raster/TransformFunc.h"

#include <climits>
#include <cmath>
#include <cstdlib>

int MinPointDistance = 3;
bool ShowLoadErrors = true;
int LineShapeWidth = 1;
int AnimStepIncrement = 2;
int RoundRectDivisor = 4;

namespace {

// Defaults of the drawing attributes (0xFFD8CE is red 206, green 216, blue 255).
constexpr TShapeAttr DefaultAttrs[3] = {
    {TPenMode::pmXor, 0xFFD8CE, 0},
    {TPenMode::pmXor, 0xFFD8CE, 0xFFD8CE},
    {TPenMode::pmCopy, 0, 0xFFFFFF},
};

// The rectangle a trace returns when nothing is inside.
constexpr TRect NoTrace{0, 0, -1, -1};

} // namespace

// ---- Unit routines ---------------------------------------------------------------

TRect PointsBounds(const TShapePointArray& Points) {
  if (Points.empty()) return {};
  TRect B{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
  for (const TPoint& P : Points) {
    B.Left = std::min(B.Left, P.X);
    B.Top = std::min(B.Top, P.Y);
    B.Right = std::max(B.Right, P.X);
    B.Bottom = std::max(B.Bottom, P.Y);
  }
  return B;
}

void OffsetPoints(TShapePointArray& Points, int DX, int DY) {
  if (DX != 0)
    for (TPoint& P : Points) P.X += DX;
  if (DY != 0)
    for (TPoint& P : Points) P.Y += DY;
}

bool PtInPolygon(TPoint P, const TPoint* Points, int HighIndex) {
  if (Points == nullptr || HighIndex < 2) return false;
  bool Result = false;
  int J = HighIndex;
  for (int I = 0; I <= HighIndex; ++I) {
    const TPoint& Pi = Points[I];
    const TPoint& Pj = Points[J];
    if (((Pi.Y <= P.Y && P.Y < Pj.Y) || (Pj.Y <= P.Y && P.Y < Pi.Y)) &&
        P.X < double(Pj.X - Pi.X) * double(P.Y - Pi.Y) / double(Pj.Y - Pi.Y) + Pi.X)
      Result = !Result;
    J = I;
  }
  return Result;
}

int ShapeToPolygon(TMyShape Shape, const TRect& R, std::vector<TPoint>& V) {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  switch (Shape) {
  case ssRect:
    V = {{Rt - 1, B - 1}, {Rt - 1, T}, {L, T}, {L, B - 1}};
    break;
  case ssRoundRect: {
    const int Divisor = std::max(RoundRectDivisor, 1);
    const int D = Round(std::min(RectWidth(R), RectHeight(R)) / (Divisor * 1.5));
    V = {{Rt - 1, B - D - 1}, {Rt - 1, T + D}, {Rt - D - 1, T}, {L + D, T},
         {L, T + D},          {L, B - D - 1},  {L + D, B - 1},  {Rt - D - 1, B - 1}};
    break;
  }
  case ssTriangle1:
    V = {{Rt - 1, B - 1}, {(L + Rt - 1) / 2, T}, {L, B - 1}};
    break;
  case ssTriangle2:
    V = {{Rt, (T + B - 1) / 2}, {L, T}, {L, B - 1}};
    break;
  case ssTriangle3:
    V = {{(L + Rt - 1) / 2, B - 1}, {Rt - 1, T}, {L, T}};
    break;
  case ssTriangle4:
    V = {{Rt - 1, B - 1}, {Rt - 1, T}, {L, (T + B - 1) / 2}};
    break;
  case ssLosange:
    V = {{(L + Rt - 1) / 2, B - 1}, {Rt - 1, (T + B - 1) / 2}, {(L + Rt) / 2, T}, {L, (T + B - 1) / 2}};
    break;
  default:
    V.clear();
  }
  return static_cast<int>(V.size());
}

std::vector<TPoint> ThickLineVertices(const TRect& R, int Width) {
  const uint16_t Size = static_cast<uint16_t>(std::clamp(Width, 1, 65535));
  const TRect B1 = BrushRect(R.Left, R.Top, Size);
  const TRect B2 = BrushRect(R.Right, R.Bottom, Size);
  const double CX1 = (B1.Left + B1.Right - 1) / 2.0, CY1 = (B1.Top + B1.Bottom - 1) / 2.0;
  const double CX2 = (B2.Left + B2.Right - 1) / 2.0, CY2 = (B2.Top + B2.Bottom - 1) / 2.0;
  const double Angle = std::atan2(CY1 - CY2, CX2 - CX1);
  const double Len = std::hypot(CX2 - CX1, CY1 - CY2);
  const double G = (Size - 1) / 2.0;
  const TFloatPoint Corners[4] = {
      {CX1 - G, CY1 - G}, {CX1 + Len + G, CY1 - G}, {CX1 + Len + G, CY1 + G}, {CX1 - G, CY1 + G}};
  std::vector<TPoint> V;
  V.reserve(4);
  for (const TFloatPoint& C : Corners) {
    const TFloatPoint P = RotateFloatPoint(C.X, C.Y, CX1, CY1, Angle);
    V.push_back({Round(P.X), Round(P.Y)});
  }
  return V;
}

int ShapeToCode(TMyShape Shape) { return -1 - static_cast<int>(Shape); }
TMyShape CodeToShape(int Code) { return static_cast<TMyShape>(-1 - Code); }
bool IsValidShapeCode(int Code) { return Code >= -10 && Code <= -1; }

// ---- Life and the reference outline ------------------------------------------------

TShapeManager::TShapeManager() {
  for (int I = 0; I < 3; ++I) Attrs[I] = DefaultAttrs[I];
}

TShapeManager::~TShapeManager() = default;

void TShapeManager::Clear() {
  FRefData = {};
  FWinData = {};
  FWinValid = false;
}

void TShapeManager::Assign(const TShapeManager& Source) {
  if (&Source == this) return;
  SetPoints(Source.FRefData);
}

void TShapeManager::SetColors(TColor Color1, TColor Color2) {
  Attrs[2].Color1 = ColorToRGB(Color1);
  Attrs[2].Color2 = ColorToRGB(Color2);
}

int TShapeManager::GetPoints(TPointsDataEx& Data, bool Flags) const {
  Data.Points = FRefData.Points;
  Data.Bounds = FRefData.Bounds;
  if (Flags && HasFlags())
    Data.Flags = FRefData.Flags;
  else
    Data.Flags.clear();
  return static_cast<int>(Data.Points.size());
}

int TShapeManager::SetPoints(const TPointsDataEx& Data) {
  // Data may be this manager's own reference.
  TPointsDataEx Copy = Data;
  Clear();
  FRefData.Points = std::move(Copy.Points);
  if (Copy.Flags.size() == FRefData.Points.size()) FRefData.Flags = std::move(Copy.Flags);
  FRefData.Bounds = Copy.Bounds;
  return static_cast<int>(FRefData.Points.size());
}

TPoint TShapeManager::GetPoint(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FRefData.Points.size())) return {};
  return FRefData.Points[static_cast<size_t>(Index)];
}

int TShapeManager::PointsCount() const {
  return static_cast<int>(FWinData.Points.empty() ? FRefData.Points.size() : FWinData.Points.size());
}

// ---- Point capture ------------------------------------------------------------------

void TShapeManager::BeginPoints(TPoint P) {
  FUpdatingPoints = true;
  FWinData.Points.assign(1, P);
  FWinData.Bounds = {P.X, P.Y, P.X, P.Y};
}

int TShapeManager::AddPoint(TPoint P) {
  if (!FWinData.Points.empty()) {
    const TPoint& Last = FWinData.Points.back();
    if (std::abs(int64_t(P.X) - Last.X) < MinPointDistance && std::abs(int64_t(P.Y) - Last.Y) < MinPointDistance)
      return -1;
  }
  FWinData.Points.push_back(P);
  return static_cast<int>(FWinData.Points.size()) - 1;
}

TPoint TShapeManager::LastPoint() const { return FWinData.Points.empty() ? TPoint{} : FWinData.Points.back(); }
TPoint TShapeManager::FirstPoint() const { return FWinData.Points.empty() ? TPoint{} : FWinData.Points.front(); }

void TShapeManager::EndPoints(double Factor) {
  const TRect B = PointsBounds(FWinData.Points);
  FWinData.Bounds = B;
  FRefData.Points = FWinData.Points;
  OffsetPoints(FRefData.Points, -B.Left, -B.Top);
  FRefData.Bounds = OffsetRect(B, -B.Left, -B.Top);
  // A zoom factor of 0 (or not a number) has no meaning: the points stay.
  if (Factor != 1 && Factor > 0) {
    for (TPoint& P : FRefData.Points) {
      P.X = Trunc(P.X / Factor);
      P.Y = Trunc(P.Y / Factor);
    }
    FRefData.Bounds = PointsBounds(FRefData.Points);
  }
  // Flags that no longer match the points would make a broken bitmap shape.
  if (FRefData.Flags.size() != FRefData.Points.size()) FRefData.Flags.clear();
  FWinValid = true;
  FUpdatingPoints = false;
}

void TShapeManager::CancelPoints() {
  FWinData.Points.resize(FRefData.Points.size());
  FWinData.Bounds = {};
  FWinValid = false;
  FUpdatingPoints = false;
}

TRect TShapeManager::DeleteLastPoint() {
  if (FWinData.Points.size() > 1) FWinData.Points.pop_back();
  return PointsBounds(FWinData.Points);
}

void TShapeManager::Offset(int DX, int DY) {
  for (TPoint& P : FWinData.Points) {
    P.X += DX;
    P.Y += DY;
  }
  FWinData.Bounds = OffsetRect(FWinData.Bounds, DX, DY);
}

// ---- Window outline --------------------------------------------------------------

void TShapeManager::UpdateWinData(const TRect& R) {
  if (FUpdatingPoints) return;
  const bool Fresh = !FWinValid || FWinData.Points.size() != FRefData.Points.size();
  if (!Fresh && R == FWinData.Bounds) return;
  FWinData.Points.resize(FRefData.Points.size());
  const TRect& B = FWinData.Bounds;
  if (!Fresh && RectWidth(R) == RectWidth(B) && RectHeight(R) == RectHeight(B)) {
    OffsetPoints(FWinData.Points, R.Left - B.Left, R.Top - B.Top);
  } else {
    // A reference of zero width or height keeps its coordinate on that axis.
    const int RefW = FRefData.Bounds.Right, RefH = FRefData.Bounds.Bottom;
    const int W = RectWidth(R), H = RectHeight(R);
    const double SX = RefW > 0 ? double(W) / RefW : 1, SY = RefH > 0 ? double(H) / RefH : 1;
    for (size_t I = 0; I < FRefData.Points.size(); ++I) {
      const TPoint& P = FRefData.Points[I];
      FWinData.Points[I].X = (W == RefW || RefW <= 0 ? P.X : Round(SX * P.X)) + R.Left;
      FWinData.Points[I].Y = (H == RefH || RefH <= 0 ? P.Y : Round(SY * P.Y)) + R.Top;
    }
  }
  FWinData.Bounds = R;
  FWinValid = true;
}

void TShapeManager::PreparePoints(TRect R, TMyShape Shape, const TPoint*& First, int& Count) {
  if (Shape == ssPolygon || Shape == ssPolyline || Shape == ssBitmap) {
    --R.Right;
    --R.Bottom;
  }
  switch (Shape) {
  case ssLineWidth:
    FScratch = ThickLineVertices(R, LineShapeWidth);
    First = FScratch.data();
    Count = static_cast<int>(FScratch.size());
    break;
  case ssTriangle1:
  case ssTriangle2:
  case ssTriangle3:
  case ssTriangle4:
  case ssLosange:
    Count = ShapeToPolygon(Shape, R, FScratch);
    First = FScratch.data();
    break;
  case ssPolygon:
  case ssPolyline:
    UpdateWinData(R);
    First = FWinData.Points.data();
    Count = static_cast<int>(FWinData.Points.size());
    break;
  default:
    break;
  }
}

// ---- Runs of a bitmap shape ---------------------------------------------------------

namespace ShapeDetail {

// Calls Proc(XStart, XEnd, Y) for every run of a bitmap shape in the order of
// its points; stops where the order is broken (a run that does not start
// with the left flag, has no end, or ends on another row). Proc returns false
// to stop early.
template <class F> void ForEachRun(const TPointsDataEx& Data, F&& Proc) {
  const size_t N = std::min(Data.Points.size(), Data.Flags.size());
  size_t I = 0;
  while (I < N) {
    if (!(Data.Flags[I] & sfLeft)) return;
    size_t J = I;
    while (J < N && !(Data.Flags[J] & sfRight)) ++J;
    if (J >= N || Data.Points[J].Y != Data.Points[I].Y) return;
    if (!Proc(Data.Points[I].X, Data.Points[J].X, Data.Points[I].Y)) return;
    I = J + 1;
  }
}

// The rectangle of a run at an origin and zoom, one pixel tall when the zoom
// leaves it no height.
inline TRect RunRect(int X0, int Y0, double ZoomX, double ZoomY, int XStart, int XEnd, int Y) {
  TRect R{X0 + Trunc(ZoomX * XStart), Y0 + Trunc(ZoomY * Y), X0 + Trunc(ZoomX * (double(XEnd) + 1)),
          Y0 + Trunc(ZoomY * (double(Y) + 1))};
  if (R.Bottom == R.Top) ++R.Bottom;
  return R;
}

} // namespace ShapeDetail

void TShapeManager::FillBitmapShape(TCanvas& Canvas, int X0, int Y0, double ZoomX, double ZoomY, TColor Color) const {
  Canvas.Brush.Color = Color;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  ShapeDetail::ForEachRun(FRefData, [&](int XS, int XE, int Y) {
    Canvas.FillRect(ShapeDetail::RunRect(X0, Y0, ZoomX, ZoomY, XS, XE, Y));
    return true;
  });
}

// ---- Hit test ---------------------------------------------------------------------------

bool TShapeManager::PtInShape(TRect R, TPoint P, TMyShape Shape) {
  if (!PtInRect(R, P)) return false;
  switch (Shape) {
  case ssEllipse: {
    const int A = RectWidth(R) / 2, B = RectHeight(R) / 2;
    // A zero semi-axis is a division by zero, which counts as a hit.
    if (A == 0 || B == 0) return true;
    const double DX = P.X - A, DY = P.Y - B;
    return DX * DX / (double(A) * A) + DY * DY / (double(B) * B) <= 1;
  }
  case ssRoundRect:
  case ssTriangle1:
  case ssTriangle2:
  case ssTriangle3:
  case ssTriangle4:
  case ssLosange: {
    const int N = ShapeToPolygon(Shape, R, FScratch);
    return PtInPolygon(P, FScratch.data(), N - 1);
  }
  case ssPolygon:
    return PtInPolygon(P, FWinData.Points.data(), static_cast<int>(FWinData.Points.size()) - 1);
  case ssBitmap: {
    --R.Right;
    --R.Bottom;
    const double ZoomX = (RectWidth(R) + 1.0) / (FRefData.Bounds.Right + 1.0);
    const double ZoomY = (RectHeight(R) + 1.0) / (FRefData.Bounds.Bottom + 1.0);
    if (!std::isfinite(ZoomX) || !std::isfinite(ZoomY)) return true;
    bool Hit = false;
    ShapeDetail::ForEachRun(FRefData, [&](int XS, int XE, int Y) {
      Hit = PtInRect(ShapeDetail::RunRect(0, 0, ZoomX, ZoomY, XS, XE, Y), P);
      return !Hit;
    });
    return Hit;
  }
  default:
    return true;
  }
}

// ---- Tracing ----------------------------------------------------------------------------

template <class TPredicate> TRect TShapeManager::TraceToPoints(const TBitmap* Bitmap, TPredicate Inside) {
  Clear();
  if (Bitmap == nullptr || Bitmap->PixelFormat() != pf24bit || Bitmap->Empty()) return NoTrace;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  // Inside flags of the previous, current and next rows.
  std::vector<uint8_t> Above(static_cast<size_t>(W), 0), Here(static_cast<size_t>(W)), Below(static_cast<size_t>(W));
  auto Load = [&](std::vector<uint8_t>& Row, int Y) {
    const TRGB* Src = RowOf(*Bitmap, Y);
    for (int X = 0; X < W; ++X) Row[static_cast<size_t>(X)] = Inside(Src[X]) ? 1 : 0;
  };
  Load(Here, 0);
  for (int Y = 0; Y < H; ++Y) {
    if (Y + 1 < H)
      Load(Below, Y + 1);
    else
      std::fill(Below.begin(), Below.end(), 0);
    for (int X = 0; X < W; ++X) {
      const size_t I = static_cast<size_t>(X);
      if (!Here[I]) continue;
      uint8_t Flags = 0;
      if (X == 0 || !Here[I - 1]) Flags |= sfLeft;
      if (!Above[I]) Flags |= sfTop;
      if (X == W - 1 || !Here[I + 1]) Flags |= sfRight;
      if (!Below[I]) Flags |= sfBottom;
      if (Flags) {
        FRefData.Points.push_back({X, Y});
        FRefData.Flags.push_back(Flags);
      }
    }
    Above.swap(Here);
    Here.swap(Below);
  }
  if (FRefData.Points.empty()) return NoTrace;
  const TRect B = PointsBounds(FRefData.Points);
  OffsetPoints(FRefData.Points, -B.Left, -B.Top);
  FRefData.Bounds = OffsetRect(B, -B.Left, -B.Top);
  return {B.Left, B.Top, B.Right + 1, B.Bottom + 1};
}

TRect TShapeManager::MaskToPoints(const TBitmap* Bitmap, uint8_t Seuil) {
  return TraceToPoints(Bitmap, [Seuil](const TRGB& P) { return P.Blue <= Seuil; });
}

TRect TShapeManager::BmpToPoints(const TBitmap* Bitmap, TColor Color, uint8_t Tolerence) {
  const TRGB C = ColorToTRGB(Color);
  return TraceToPoints(Bitmap, [C, Tolerence](const TRGB& P) {
    return std::abs(P.Blue - C.Blue) <= Tolerence && std::abs(P.Green - C.Green) <= Tolerence &&
           std::abs(P.Red - C.Red) <= Tolerence;
  });
}

// ---- Reshaping bitmap shapes through a mask ----------------------------------------------

void TShapeManager::RenderToMask(TBitmap& Mask, int W, int H, int X0, int Y0) const {
  NewBitmap24(Mask, W, H, clWhite);
  FillBitmapShape(Mask.Canvas(), X0, Y0, 1, 1, clBlack);
}

namespace {
// W + 2 * Extra as an int, or -1 when it does not fit.
int GrownSize(int Size, int Extra) {
  const int64_t V = int64_t(Size) + 2 * int64_t(Extra);
  return V > 0 && V <= INT_MAX ? static_cast<int>(V) : -1;
}
} // namespace

TRect TShapeManager::InflateEx(int N) {
  if (N == 0) return {};
  const int Grow = std::max(N, 0);
  const int W = GrownSize(FRefData.Bounds.Right + 1, Grow), H = GrownSize(FRefData.Bounds.Bottom + 1, Grow);
  if (W < 0 || H < 0) return NoTrace;
  TBitmap Mask;
  RenderToMask(Mask, W, H, Grow, Grow);
  GrowShrinkMask(Mask, N, WholeBitmapRect, false);
  return MaskToPoints(&Mask, 128);
}

TRect TShapeManager::ScaleEx(int NewW, int NewH) {
  if (NewW <= 0 || NewH <= 0) return {};
  TBitmap Mask;
  RenderToMask(Mask, FRefData.Bounds.Right + 1, FRefData.Bounds.Bottom + 1, 0, 0);
  StretchBitmapInPlace(NewW, NewH, TStretchMode::smBilinear, Mask);
  return MaskToPoints(&Mask, 128);
}

void TShapeManager::Transform(int Flag) {
  if (FRefData.Points.empty() || Flag < 0 || Flag > 4) return;
  const int W = FRefData.Bounds.Right, H = FRefData.Bounds.Bottom;
  if (HasFlags()) {
    TBitmap Mask;
    RenderToMask(Mask, W + 1, H + 1, 0, 0);
    FlipRotateBitmap(Mask, Flag);
    MaskToPoints(&Mask, 128);
    return;
  }
  for (TPoint& P : FRefData.Points) {
    const TPoint Q = P;
    switch (Flag) {
    case 0:
      P.Y = H - Q.Y;
      break;
    case 1:
      P.X = W - Q.X;
      break;
    case 2:
      P = {H - Q.Y, Q.X};
      break;
    case 3:
      P = {Q.Y, W - Q.X};
      break;
    default:
      P = {W - Q.X, H - Q.Y};
    }
  }
  if (Flag == 2 || Flag == 3) FRefData.Bounds = {0, 0, H, W};
  FWinData.Bounds = {};
  FWinValid = false;
}
