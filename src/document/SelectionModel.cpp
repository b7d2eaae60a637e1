#include "document/SelectionModel.h"

#include "platform/Rounding.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsOneOf(int Code, int A, int B, int C) { return Code == A || Code == B || Code == C; }
bool MovesTop(int Code) { return IsOneOf(Code, pcTopLeft, pcTop, pcTopRight); }
bool MovesBottom(int Code) { return IsOneOf(Code, pcBottomRight, pcBottom, pcBottomLeft); }
bool MovesLeft(int Code) { return IsOneOf(Code, pcTopLeft, pcBottomLeft, pcLeft); }
bool MovesRight(int Code) { return IsOneOf(Code, pcTopRight, pcRight, pcBottomRight); }

} // namespace

int SelHitZone(int X, int Y, int W, int H, int Border, bool Resize, bool Move) {
  const int Inside = Move ? pcMove : pcNone;
  if (!Resize) return Inside;
  const bool Top = Y <= Border, Bottom = Y >= H - Border - 1;
  const bool Left = X <= Border, Right = X >= W - Border - 1;
  if (Top && Left) return pcTopLeft;
  if (Top && Right) return pcTopRight;
  if (Bottom && Right) return pcBottomRight;
  if (Bottom && Left) return pcBottomLeft;
  if (Top) return pcTop;
  if (Right) return pcRight;
  if (Bottom) return pcBottom;
  if (Left) return pcLeft;
  return Inside;
}

TMyShape TransformedShape(TMyShape Shape, int Flag) {
  if (Shape < ssTriangle1 || Shape > ssTriangle4) return Shape;
  const int T = Shape - ssTriangle1; // 0 up, 1 right, 2 down, 3 left
  int N = T;
  switch (Flag) {
  case 0: // flip: up and down swap
    N = T % 2 == 0 ? 2 - T : T;
    break;
  case 1: // mirror: right and left swap
    N = T % 2 == 1 ? 4 - T : T;
    break;
  case 2:
    N = (T + 1) % 4;
    break;
  case 3:
    N = (T + 3) % 4;
    break;
  case 4:
    N = (T + 2) % 4;
    break;
  default:
    break;
  }
  return static_cast<TMyShape>(ssTriangle1 + N);
}

int SelAnimationLevel(int Count) {
  if (Count > 37373) return 5;
  if (Count > 7373) return 4;
  if (Count > 3737) return 3;
  if (Count > 737) return 2;
  return 1;
}

// ---- TSelectionModel ---------------------------------------------------------------------

void TSelectionModel::Notify(TSelOption Option) {
  if (OnUpdating) OnUpdating(this, Option);
}

void TSelectionModel::SetShape(TMyShape Value) {
  if (Value == ssLine || Value == ssLineWidth || Value == ssPolyline) Value = ssRect;
  if (Value == FShape) return;
  FShape = Value;
  Notify(soChanged);
}

void TSelectionModel::StoreBmpSelRect(const TRect& R) {
  FBmpRect = R;
  BmpSelRectChanged();
  Notify(FUpdating == 2 ? soChanging : soChanged);
}

void TSelectionModel::SetBmpSelRect(const TRect& Value) {
  if (Value.Right <= Value.Left || Value.Bottom <= Value.Top) return;
  TRect R = Value;
  if (CheckBounds) {
    R = IntersectRect(R, BitmapRect());
    if (R.IsEmpty()) return;
  }
  StoreBmpSelRect(R);
}

void TSelectionModel::MoveSel(int DX, int DY) {
  if (FUpdating == 2 || !CanMoveSel || (DX == 0 && DY == 0)) return;
  TRect R = OffsetRect(FBmpRect, DX, DY);
  if (CheckBounds) MoveRectInside(R, BitmapRect(), false);
  SetBmpSelRect(R);
}

void TSelectionModel::ResizeSel(int DX, int DY) {
  if (FUpdating == 2 || !CanResizeSel) return;
  TRect R = FBmpRect;
  R.Right += DX;
  R.Bottom += DY;
  if (CheckBounds) R = IntersectRect(R, BitmapRect());
  SetBmpSelRect(R);
}

void TSelectionModel::Transform(int Flag) {
  if (Flag < 0 || Flag > 4) return;
  FShape = TransformedShape(FShape, Flag);
  if (FShape == ssPolygon || FShape == ssBitmap) FShapeManager.Transform(Flag);
  if (Flag == 2 || Flag == 3) {
    const TRect& R = FBmpRect;
    SetBmpSelRect({R.Left, R.Top, R.Left + R.Height(), R.Top + R.Width()});
  } else {
    Notify(soChanged);
  }
}

TRect TSelectionModel::DragRect(int PosCode, TPoint Delta, bool Shift, const TRect& StartBmpRect,
                                const TSelDragContext& Context) const {
  if (PosCode < pcTopLeft || PosCode > pcMove) return FBmpRect;
  const TViewGeometry& G = Context.View;
  int DX = Delta.X, DY = Delta.Y;
  if (PosCode == pcMove && Shift) {
    // One axis only; equal moves go vertically.
    if (std::abs(DY) < std::abs(DX))
      DY = 0;
    else
      DX = 0;
  }
  TRect R = G.BmpToClient(StartBmpRect);
  if (PosCode == pcMove) {
    R = OffsetRect(R, DX, DY);
  } else {
    if (MovesTop(PosCode)) R.Top += DY;
    if (MovesBottom(PosCode)) R.Bottom += DY;
    if (MovesLeft(PosCode)) R.Left += DX;
    if (MovesRight(PosCode)) R.Right += DX;
    const int M = std::max(Ceil(G.Zoom), Context.MinSel);
    EnsureMinRectSize(R, M, M, MovesRight(PosCode), MovesBottom(PosCode));
  }
  R = G.ClientToBmp(R);
  // The sides the zone does not move keep the selection's current size.
  const TRect& Cur = FBmpRect;
  if (PosCode == pcMove || PosCode == pcTop || PosCode == pcBottom) R.Right = R.Left + Cur.Width();
  if (PosCode == pcMove || PosCode == pcLeft || PosCode == pcRight) R.Bottom = R.Top + Cur.Height();

  if (Context.Grid > 0) {
    const double S = Context.Grid;
    if (PosCode == pcMove) {
      const int W = R.Width(), H = R.Height();
      R.Left = SnapToGrid(R.Left, S);
      R.Top = SnapToGrid(R.Top, S);
      R.Right = R.Left + W;
      R.Bottom = R.Top + H;
    } else {
      if (MovesTop(PosCode)) R.Top = SnapToGrid(R.Top, S);
      if (MovesBottom(PosCode)) R.Bottom = SnapToGrid(R.Bottom, S);
      if (MovesLeft(PosCode)) R.Left = SnapToGrid(R.Left, S);
      if (MovesRight(PosCode)) R.Right = SnapToGrid(R.Right, S);
    }
  }

  if (AspectRatio != Shift && PosCode != pcMove && StartBmpRect.Height() != 0) {
    const double Ratio = double(StartBmpRect.Width()) / StartBmpRect.Height();
    if (PosCode == pcTop || PosCode == pcBottom)
      R = AdjustRectAspect(R, Ratio, true);
    else if (PosCode == pcLeft || PosCode == pcRight)
      R = AdjustRectAspect(R, Ratio, false);
    else
      R = FitRectToAspect(R, Ratio, PosCode == pcTopRight || PosCode == pcBottomRight,
                          PosCode == pcBottomRight || PosCode == pcBottomLeft);
  }

  if (CheckBounds) {
    if (PosCode == pcMove)
      MoveRectInside(R, BitmapRect(), false);
    else
      R = IntersectRect(R, BitmapRect());
  }
  return R;
}
