#include "tools/ui/DeformControl.h"

#include "document/ShapeManager.h"
#include "raster/ui/FoncUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int HitTolerance = 7;

TPoint Offset(TPoint P, int DX, int DY) { return {P.X + DX, P.Y + DY}; }

} // namespace

TDeformControl::TDeformControl(TMyImage* Image) : TDeformControl(std::make_unique<TImageOverlayHost>(Image)) {}

TDeformControl::TDeformControl(std::unique_ptr<TOverlayHost> Host)
    : TOverlayControl(std::move(Host)), MoveCursor(crSizeAll), DragCursor(crDrag) {}

// ---- The frame ------------------------------------------------------------------------------------

void TDeformControl::ComputeMidpoints() {
  for (int I = 4; I < 8; ++I) {
    const TPoint A = FVertices[size_t(I - 4)], B = FVertices[size_t((I - 3) % 4)];
    FVertices[size_t(I)] = {(A.X + B.X) / 2, (A.Y + B.Y) / 2};
  }
}

void TDeformControl::InitVertices(const TRect& R, bool InitRatio) {
  SetCorner(0, {R.Left, R.Top});
  SetCorner(1, {R.Right, R.Top});
  SetCorner(2, {R.Right, R.Bottom});
  SetCorner(3, {R.Left, R.Bottom});
  ComputeMidpoints();
  if (InitRatio) {
    // A frame one pixel wide or high has no usable ratio: none is kept.
    const int W = RectWidth(R) - 1, H = RectHeight(R) - 1;
    FRatio = W > 0 && H > 0 ? double(W) / H : 0;
  }
  update();
  RefreshCursor();
}

void TDeformControl::GetVertices(TDeformBoxArray& Points) const {
  std::copy_n(FVertices.begin(), 4, Points.begin());
}

TRect TDeformControl::BmpBounds() const {
  TRect R{FVertices[0].X, FVertices[0].Y, FVertices[0].X, FVertices[0].Y};
  for (int I = 1; I < 4; ++I) {
    const TPoint P = FVertices[size_t(I)];
    R = {std::min(R.Left, P.X), std::min(R.Top, P.Y), std::max(R.Right, P.X), std::max(R.Bottom, P.Y)};
  }
  return R;
}

void TDeformControl::Translate(int DX, int DY) {
  for (size_t I = 0; I < FVertices.size(); ++I) FVertices[I] = Offset(FSaveVertices[I], DX, DY);
}

// ---- Hit tests ----------------------------------------------------------------------------------------

int TDeformControl::FindHandle(int X, int Y) const {
  for (int I = 0; I < 8; ++I) {
    const TPoint P = BmpToClient(FVertices[size_t(I)]);
    if (std::abs(P.X - X) <= HitTolerance && std::abs(P.Y - Y) <= HitTolerance) return I;
  }
  return -1;
}

bool TDeformControl::InsideFrame(int X, int Y) const {
  const TPoint P = ClientToBmp(TPoint{X, Y});
  if (DeformMode == TDeformMode::vmDistort) return PtInPolygon(P, FVertices.data(), 3);
  return PtInRect(BmpBounds(), P);
}

int TDeformControl::CursorAt(int X, int Y) const {
  if (FindHandle(X, Y) != -1) return DragCursor;
  return InsideFrame(X, Y) ? MoveCursor : crDefault;
}

// ---- Drawing ------------------------------------------------------------------------------------------

void TDeformControl::DrawXor(TOverlayPen& Pen) const {
  for (const TPoint P : FVertices) Pen.Handle(BmpToClient(P));
  // The outline runs along the last pixels inside the exclusive edges.
  const TPoint C0 = BmpToClient(FVertices[0]), C1 = BmpToClient(FVertices[1]);
  const TPoint C2 = BmpToClient(FVertices[2]), C3 = BmpToClient(FVertices[3]);
  const TPoint Outline[] = {C0, {C1.X - 1, C1.Y}, {C2.X - 1, C2.Y - 1}, {C3.X, C3.Y - 1}, C0};
  for (int I = 0; I < 4; ++I) Pen.Line(Outline[I], Outline[I + 1]);
}

// ---- Dragging -------------------------------------------------------------------------------------------

void TDeformControl::ScaleDrag(int Handle, int DX, int DY) {
  // An edge handle drags the first corner of its edge along one axis.
  const bool Edge = Handle >= 4;
  if (Handle == 4 || Handle == 6) DX = 0;
  if (Handle == 5 || Handle == 7) DY = 0;
  const int K = Edge ? Handle - 4 : Handle;
  const TPoint C = Offset(FSaveVertices[size_t(K)], DX, DY);
  // The opposite corner as it was at the press: it stays put even after the
  // dragged corner crossed it and the corners changed roles.
  const TPoint O = FSaveVertices[size_t((K + 2) % 4)];
  TRect Rc = NormalizeRect(C.X, C.Y, O.X, O.Y);
  if (AspectRatio != FShiftDown) {
    if (Edge)
      Rc = AdjustRectAspect(Rc, FRatio, Handle == 4 || Handle == 6);
    else
      Rc = FitRectToAspect(Rc, FRatio, K == 1 || K == 2, K == 2 || K == 3);
  }
  InitVertices(Rc, false);
}

void TDeformControl::DragFrame(int X, int Y, bool CheckMoved) {
  if (FDraggedVertex == -1) return;
  const TPoint P = ClientToBmp(TPoint{X, Y});
  const int DX = P.X - FInitPos.X, DY = P.Y - FInitPos.Y;
  const int W = WatchedHandle();
  if (CheckMoved && Offset(FSaveVertices[size_t(W)], DX, DY) == FVertices[size_t(W)]) return;
  if (FDraggedVertex == -2) {
    Translate(DX, DY);
  } else if (DeformMode == TDeformMode::vmDistort) {
    const int I = FDraggedVertex;
    if (I < 4) {
      SetCorner(I, Offset(FSaveVertices[size_t(I)], DX, DY));
    } else {
      SetCorner(I - 4, Offset(FSaveVertices[size_t(I - 4)], DX, DY));
      SetCorner((I - 3) % 4, Offset(FSaveVertices[size_t((I - 3) % 4)], DX, DY));
    }
    ComputeMidpoints();
  } else {
    ScaleDrag(FDraggedVertex, DX, DY);
  }
  update();
  Notify(soChanging);
}

void TDeformControl::VisibleChanged() {
  FDraggedVertex = -1;
  RefreshCursor();
}

// ---- Mouse -----------------------------------------------------------------------------------------------

void TDeformControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) {
  FShiftDown = Shift & Qt::ShiftModifier;
  if (DraggingVertices()) EndDrag();
  int Hit = FindHandle(X, Y);
  if (Hit == -1 && InsideFrame(X, Y)) Hit = -2;
  if (Hit != -1 && Button == Qt::LeftButton && !Double) {
    FDraggedVertex = Hit;
    FInitPos = ClientToBmp(TPoint{X, Y});
    FSaveVertices = FVertices;
    Notify(soStart);
  }
  TOverlayControl::MouseDown(Button, Shift, X, Y, Double);
}

void TDeformControl::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  FShiftDown = Shift & Qt::ShiftModifier;
  if (DraggingVertices())
    DragFrame(X, Y, true);
  else
    setCursor(ScreenCursor(CursorAt(X, Y)));
  if (ImageMouseMove) Host().PassMouseMove(Shift, X + x(), Y + y());
  TOverlayControl::MouseMove(Buttons, Shift, X, Y);
}

void TDeformControl::EndDrag() {
  const int W = WatchedHandle();
  if (FVertices[size_t(W)] != FSaveVertices[size_t(W)]) Notify(soChanged);
  FDraggedVertex = -1;
  Notify(soEnd);
}

void TDeformControl::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (DraggingVertices()) EndDrag();
  TOverlayControl::MouseUp(Button, Shift, X, Y);
}

void TDeformControl::DblClick() {
  const TPoint P = LastMouse();
  if (InsideFrame(P.X, P.Y)) TOverlayControl::DblClick();
}

// ---- Keys ----------------------------------------------------------------------------------------------------

void TDeformControl::ShiftChanged(bool Shift) {
  if (Shift == FShiftDown) return;
  FShiftDown = Shift;
  // The ratio applied or lifted at once, where the mouse is.
  if (DraggingVertices()) DragFrame(LastMouse().X, LastMouse().Y, false);
}

void TDeformControl::KeyDown(int& Key, Qt::KeyboardModifiers Shift) {
  ShiftChanged(Key == Qt::Key_Shift || (Shift & Qt::ShiftModifier));
  switch (Key) {
  case Qt::Key_Escape:
    if (!DraggingVertices()) break;
    FVertices = FSaveVertices;
    update();
    Notify(soChanging);
    FDraggedVertex = -1;
    Notify(soEnd);
    break;
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Up:
  case Qt::Key_Down: {
    const int Step = (Shift & Qt::ShiftModifier) ? 8 : 1;
    const int Sign = Key == Qt::Key_Left || Key == Qt::Key_Up ? -1 : 1;
    if (Key == Qt::Key_Left || Key == Qt::Key_Right)
      Move(Sign * Step, 0);
    else
      Move(0, Sign * Step);
    break;
  }
  default: break;
  }
}

void TDeformControl::KeyUp(int& Key, Qt::KeyboardModifiers Shift) {
  ShiftChanged(Key != Qt::Key_Shift && (Shift & Qt::ShiftModifier));
}

void TDeformControl::Move(int DX, int DY) {
  if (DraggingVertices() || (DX == 0 && DY == 0)) return;
  FSaveVertices = FVertices;
  Translate(DX, DY);
  update();
  Notify(soChanged);
}
