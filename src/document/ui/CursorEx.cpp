#include "document/ui/CursorEx.h"

#include "document/ui/MyCustomImage.h"
#include "platform/Bitmap.h"
#include "platform/Rounding.h"

#include <algorithm>
#include <array>

TCursorExData CursorExData;

namespace {

constexpr TColor CursorPenColor = 0xFFD8CE;

// A closed outline drawn in one call, so that no pixel is inverted twice.
template <size_t N> void ClosedOutline(TCanvas& C, const std::array<TPoint, N>& P) {
  std::array<TPoint, N + 1> Q;
  std::copy(P.begin(), P.end(), Q.begin());
  Q[N] = P[0];
  C.Polyline(Q);
}

// The thickness of an oblique bar for a brush Width pixels wide.
int OblicThickness(int Width, double Zoom, int W) {
  int T = (Width - 1) / 2 / 10 + 2;
  if (T % 2 != 0) --T;
  T = T + T / 2 + 2;
  const int D = Trunc(Zoom * T / 1.414);
  return std::max(1, std::min(D, W / 2));
}

void DrawShape(TCanvas& C, const TRect& R, TCursorExStyle Style, double Zoom, int Width) {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  switch (Style) {
  case csCircle:
    C.Ellipse(R);
    break;
  case csRectangle:
    C.Rectangle(R);
    break;
  case csTriangle:
    ClosedOutline<3>(C, {TPoint{Rt - 1, B - 1}, TPoint{L, B - 1}, TPoint{(L + Rt) / 2, T}});
    break;
  case csOblicLine1: {
    const int D = OblicThickness(Width, Zoom, R.Width());
    ClosedOutline<6>(C, {TPoint{L, B - 1}, TPoint{L, B - D - 1}, TPoint{Rt - D - 1, T}, TPoint{Rt - 1, T},
                         TPoint{Rt - 1, T + D}, TPoint{L + D, B - 1}});
    break;
  }
  case csOblicLine2: {
    const int D = OblicThickness(Width, Zoom, R.Width());
    ClosedOutline<6>(C, {TPoint{L, T}, TPoint{L, T + D}, TPoint{Rt - D - 1, B - 1}, TPoint{Rt - 1, B - 1},
                         TPoint{Rt - 1, B - D - 1}, TPoint{L + D, T}});
    break;
  }
  }
}

void Line(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

} // namespace

TRect DrawCursorExOutline(TCanvas& Canvas, const TViewGeometry& G, int X, int Y, const TCursorExData& Shape) {
  if (Shape.Width <= 0 || Shape.Height <= 0) return {};
  const TPoint P = G.ClientToBmp(TPoint{X, Y});
  const int BX = P.X - (Shape.Width - 1) / 2, BY = P.Y - (Shape.Height - 1) / 2;
  const TPoint C{Round(BX * G.Zoom) + G.ImgRect.Left, Round(BY * G.Zoom) + G.ImgRect.Top};
  const int W = Ceil(G.Zoom * Shape.Width), H = Ceil(G.Zoom * Shape.Height);
  const TRect R{C.X, C.Y, C.X + W, C.Y + H};

  const TRect OldClip = Canvas.ClipRect();
  const TPen OldPen = Canvas.Pen;
  const TBrush OldBrush = Canvas.Brush;
  Canvas.ResetClip();
  Canvas.Pen = TPen{CursorPenColor, 1, TPenStyle::psSolid, TPenMode::pmXor};
  Canvas.Brush.Style = TBrushStyle::bsClear;

  TRect Touched = R;
  if (W <= 1 && H <= 1)
    Canvas.Rectangle(C.X, C.Y, C.X + 1, C.Y + 1);
  else
    DrawShape(Canvas, R, Shape.Style, G.Zoom, Shape.Width);
  if (W <= 9 && H <= 9) {
    // Corner ticks, so that a small brush is seen at all.
    const TRect In{R.Left - 1, R.Top - 1, R.Right, R.Bottom};
    const int M = 6 - (std::min(W, H) - 1) / 2;
    const TRect S{In.Left - M, In.Top - M, In.Right + M, In.Bottom + M};
    Line(Canvas, S.Left, S.Top, In.Left, In.Top);
    Line(Canvas, S.Right, S.Top, In.Right, In.Top);
    Line(Canvas, S.Right, S.Bottom, In.Right, In.Bottom);
    Line(Canvas, S.Left, S.Bottom, In.Left, In.Bottom);
    Touched = UnionRect(Touched, {S.Left, S.Top, S.Right + 1, S.Bottom + 1});
  }
  const bool Box = Shape.Style == csCircle || Shape.Style == csRectangle;
  if (H >= 50 && ((Box && W >= 50) || W / 5 >= 50)) {
    const int CX = C.X + W / 2, CY = C.Y + H / 2;
    Line(Canvas, CX - 7, CY, CX + 8, CY);
    Line(Canvas, CX, CY - 7, CX, CY + 8);
  }

  Canvas.Pen = OldPen;
  Canvas.Brush = OldBrush;
  Canvas.SetClipRect(OldClip);
  return Touched;
}

bool TCursorEx::InView(int X, int Y) const { return PtInRect(FOwner->ClientRect(), {X, Y}); }

void TCursorEx::Draw(int X, int Y) {
  const TRect R = DrawCursorExOutline(FOwner->Canvas(), FOwner->Geometry(), X, Y, FShape);
  FOwner->ShowClientRect(R);
}

void TCursorEx::Show(bool Unlock) {
  if (Unlock) FLocked = false;
  if (FLocked || FVisible) return;
  const TPoint P = FOwner->MousePos();
  if (!InView(P.X, P.Y)) return;
  // The XOR pen needs the picture as it will stay.
  FOwner->UpdatePending();
  FVisible = true;
  MoveTo(P.X, P.Y);
}

void TCursorEx::Hide(bool Lock) {
  if (Lock)
    FLocked = true;
  else if (FLocked)
    return;
  if (!FVisible) return;
  if (FPrevX != -1 || FPrevY != -1) Draw(FPrevX, FPrevY);
  FVisible = false;
  FPrevX = FPrevY = -1;
}

void TCursorEx::MoveTo(int X, int Y) {
  if (FLocked || !FVisible || (X == FPrevX && Y == FPrevY)) return;
  if ((FPrevX != -1 || FPrevY != -1) && InView(FPrevX, FPrevY)) Draw(FPrevX, FPrevY);
  if (InView(X, Y)) {
    FShape = CursorExData;
    Draw(X, Y);
    FPrevX = X;
    FPrevY = Y;
  } else {
    FPrevX = FPrevY = -1;
  }
}
