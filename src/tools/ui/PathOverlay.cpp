#include "tools/ui/PathOverlay.h"

#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "raster/ui/FoncUtils.h"

#include <cstdlib>

namespace {

// Hits are within 7 client pixels on both axes; new vertices keep 12 from
// their neighbours.
constexpr int HitTolerance = 7;
constexpr int MinVertexGap = 12;

bool Near(TPoint P, int X, int Y) { return std::abs(P.X - X) <= HitTolerance && std::abs(P.Y - Y) <= HitTolerance; }

TPoint Offset(TPoint P, int DX, int DY) { return {P.X + DX, P.Y + DY}; }

} // namespace

TPathOverlay::TPathOverlay(TMyImage* Image) : TPathOverlay(std::make_unique<TImageOverlayHost>(Image)) {}

TPathOverlay::TPathOverlay(QWidget* Widget, const TRect& Area)
    : TPathOverlay(std::make_unique<TWidgetOverlayHost>(Widget, Area)) {}

TPathOverlay::TPathOverlay(std::unique_ptr<TOverlayHost> Host)
    : TOverlayControl(std::move(Host)), TPathControl(&this->Host()), MoveCursor(crSizeAll), DragCursor(crDrag) {}

// ---- Notification ------------------------------------------------------------------------------

void TPathOverlay::Notify(TSelOption Option) {
  if (Option == soEnd || Option == soChanged) RefreshCursor();
  if (OnUpdating) OnUpdating(this, Option);
}

void TPathOverlay::NotifyChanged() {
  TPathControl::NotifyChanged();
  Notify(soChanged);
}

void TPathOverlay::Cleared() {
  FDraggedVertex = -1;
  FPathMode = pmAdd;
}

bool TPathOverlay::AcceptChange(TPathChangeInfo Info, int Index, int& X, int& Y, int Data) {
  bool Accept = true;
  if (OnPathChangeInfo) OnPathChangeInfo(this, Info, Index, X, Y, Data, Accept);
  return Accept;
}

// ---- Properties ---------------------------------------------------------------------------------

void TPathOverlay::SetPathMode(TPathMode Value) {
  if (Value == FPathMode || (Value == pmReset && PointsCount() < 2)) return;
  FPathMode = Value;
  update();
  RefreshCursor();
}

void TPathOverlay::SetHideControlPoints(bool Value) {
  if (Value == FHideControlPoints) return;
  FHideControlPoints = Value;
  update();
  RefreshCursor();
}

void TPathOverlay::SetCurrentVertex(int Value) {
  if (Value < 0 || Value >= PointsCount()) Value = -1;
  if (Value == CurrentVertex()) return;
  int X = 0, Y = 0;
  if (!AcceptChange(piSelect, Value, X, Y, CurrentVertex())) return;
  SetCurrentVertexIndex(Value);
  update();
}

void TPathOverlay::SetModifiers(bool Ctrl, bool Shift) {
  if (Ctrl == FCtrlKeyDown && Shift == FShiftKeyDown) return;
  FCtrlKeyDown = Ctrl;
  FShiftKeyDown = Shift;
  // The current vertex's control points come and go with the effective mode.
  if (BezierMode() && CurrentVertex() != -1) update();
  RefreshCursor();
}

// ---- Modes and hit tests -------------------------------------------------------------------------

TPathMode TPathOverlay::EffectiveMode() const {
  if (FCtrlKeyDown) return FPathMode == pmEdit ? pmAdd : pmEdit;
  if (FShiftKeyDown) return pmDelete;
  return FPathMode;
}

TPathMode TPathOverlay::ModeAt(int X, int Y) const {
  const TPathMode M = EffectiveMode();
  return M == pmAdd && FindVertex(X, Y) != -1 ? pmEdit : M;
}

bool TPathOverlay::ShowsControlPoints() const {
  return EffectiveMode() == pmEdit && BezierMode() && !FHideControlPoints;
}

int TPathOverlay::FindVertex(int X, int Y, int* Grabbed) const {
  const bool ControlPoints = ShowsControlPoints();
  for (int I = 0; I < PointsCount(); ++I) {
    int Hit = -1;
    if (I == CurrentVertex() && ControlPoints) {
      if (PrevVertex(I) != -1 && Near(BmpToClient(ControlPoint1(I)), X, Y))
        Hit = 1;
      else if (NextVertex(I) != -1 && Near(BmpToClient(ControlPoint2(I)), X, Y))
        Hit = 2;
    }
    if (Hit == -1 && Near(ClientAnchor(I), X, Y)) Hit = 0;
    if (Hit != -1) {
      if (Grabbed) *Grabbed = Hit;
      return I;
    }
  }
  if (Grabbed) *Grabbed = 0;
  return -1;
}

int TPathOverlay::FindSegment(int X, int Y) const {
  for (int I = 0; I < PointsCount(); ++I) {
    const int J = NextVertex(I);
    if (J == -1) continue;
    const TPoint A = ClientAnchor(I), B = ClientAnchor(J);
    const bool Curved = BezierMode() && !IsStraightSegment(I, J);
    TRect Box = NormalizeRect(A.X, A.Y, B.X, B.Y);
    TPoint C2, C1;
    if (Curved) {
      C2 = BmpToClient(ControlPoint2(I));
      C1 = BmpToClient(ControlPoint1(J));
      IncludePointInRect(Box, C2);
      IncludePointInRect(Box, C1);
    }
    Box = {Box.Left - HitTolerance, Box.Top - HitTolerance, Box.Right + HitTolerance, Box.Bottom + HitTolerance};
    if (!PtInRect(Box, {X, Y})) continue;
    const bool Hit = Curved ? BezierHitTest(X, Y, HitTolerance, A, C2, C1, B)
                            : DistanceToSegment(X, Y, A.X, A.Y, B.X, B.Y) <= HitTolerance;
    if (Hit) return I;
  }
  return -1;
}

bool TPathOverlay::FarFromVertex(int I, int X, int Y) const {
  const TPoint A = ClientAnchor(I);
  return std::abs(A.X - X) >= MinVertexGap || std::abs(A.Y - Y) >= MinVertexGap;
}

int TPathOverlay::CursorAt(int X, int Y) const {
  switch (ModeAt(X, Y)) {
  case pmMoveAll: return MoveCursor;
  case pmAdd: return AddCursor;
  case pmDelete: return FindVertex(X, Y) == -1 ? crDefault : DelCursor;
  case pmEdit: return FindVertex(X, Y) == -1 ? crDefault : DragCursor;
  case pmReset: return FindVertex(X, Y) == -1 ? crDefault : ResetCursor;
  default: return crDefault;
  }
}

// ---- Edit actions -----------------------------------------------------------------------------------

TPathVertexData TPathOverlay::NewVertexAt(int X, int Y) const {
  TPathVertexData V;
  V.PP = ClientToBmp(TPoint{X, Y});
  SnapPoint(V.PP, false);
  return V;
}

void TPathOverlay::AddVertexAt(int X, int Y) {
  if (PointsCount() > 0 && !FarFromVertex(PointsCount() - 1, X, Y)) return;
  if (!AcceptChange(piAdd, PointsCount(), X, Y, 0)) return;
  const TPathVertexData V = NewVertexAt(X, Y);
  ChangePoints([&] { EditVertices().push_back(V); });
}

void TPathOverlay::InsertVertexAt(int X, int Y) {
  const int I = PointsCount() >= 2 ? FindSegment(X, Y) : -1;
  if (I == -1) {
    AddVertexAt(X, Y);
    return;
  }
  if (!FarFromVertex(I, X, Y) || !FarFromVertex(NextVertex(I), X, Y)) return;
  if (!AcceptChange(piInsert, I + 1, X, Y, 0)) return;
  const TPathVertexData V = NewVertexAt(X, Y);
  ChangePoints([&] {
    EditVertices().insert(EditVertices().begin() + I + 1, V);
    // The current vertex stays the same vertex.
    if (CurrentVertex() > I) SetCurrentVertexIndex(CurrentVertex() + 1);
    if (BezierMode()) SmoothVertex(I + 1, 0);
  });
}

void TPathOverlay::DeleteVertexAt(int X, int Y) {
  const int I = FindVertex(X, Y);
  if (I == -1 || !AcceptChange(piDelete, I, X, Y, 0)) return;
  ChangePoints([&] {
    EditVertices().erase(EditVertices().begin() + I);
    // The current vertex is forgotten with it; one after it moves down with
    // the list, so that it never points past the end.
    if (CurrentVertex() == I)
      SetCurrentVertexIndex(-1);
    else if (CurrentVertex() > I)
      SetCurrentVertexIndex(CurrentVertex() - 1);
  });
}

void TPathOverlay::ResetVertexAt(int X, int Y) {
  if (!BezierMode()) return;
  const int I = FindVertex(X, Y);
  if (I == -1 || !AcceptChange(piReset, I, X, Y, 0)) return;
  ChangePoints([&] {
    TPathVertexData& V = EditVertices()[size_t(I)];
    V.B1Initialized = V.B2Initialized = false;
  });
}

void TPathOverlay::AlternVertexAt(int X, int Y) {
  if (!BezierMode()) return;
  const int I = FindVertex(X, Y);
  if (I == -1 || !AcceptChange(piAltern, I, X, Y, 0)) return;
  ChangePoints([&] {
    TPathVertexData& V = EditVertices()[size_t(I)];
    if (V.B1Initialized || V.B2Initialized)
      V.B1Initialized = V.B2Initialized = false;
    else
      SmoothVertex(I, 0);
  });
}

// ---- Dragging --------------------------------------------------------------------------------------

void TPathOverlay::StartDrag(int X, int Y, TPathMode Mode) {
  if (PointsCount() == 0) return;
  FStartPos = ClientToBmp(TPoint{X, Y});
  if (Mode == pmMoveAll) {
    FFindInfo = 0;
    FDraggedVertex = -2;
    FSaveVertex = Vertices()[0];
  } else {
    const int I = FindVertex(X, Y, &FFindInfo);
    if (I == -1) return;
    FDraggedVertex = I;
    SetCurrentVertex(I);
    FSaveVertex = Vertices()[size_t(I)];
    if (FFindInfo == 1) FSaveVertex.B1 = ControlPoint1(I);
    if (FFindInfo == 2) FSaveVertex.B2 = ControlPoint2(I);
  }
  Notify(soStart);
}

TPoint TPathOverlay::SavedPoint() const {
  return FFindInfo == 1 ? FSaveVertex.B1 : FFindInfo == 2 ? FSaveVertex.B2 : FSaveVertex.PP;
}

TPoint TPathOverlay::DraggedPoint() const {
  const int I = FDraggedVertex == -2 ? 0 : FDraggedVertex;
  if (I < 0 || I >= PointsCount()) return SavedPoint();
  if (FDraggedVertex == -2) return AnchorPoint(0);
  return FFindInfo == 1 ? ControlPoint1(I) : FFindInfo == 2 ? ControlPoint2(I) : AnchorPoint(I);
}

void TPathOverlay::DragTo(int X, int Y) {
  if (FDraggedVertex == -1) return;
  const TPoint P = ClientToBmp(TPoint{X, Y});
  const TPoint S = SavedPoint();
  TPoint N = Offset(S, P.X - FStartPos.X, P.Y - FStartPos.Y);
  const bool Whole = FDraggedVertex == -2;
  SnapPoint(N, !Whole);
  if (N == DraggedPoint()) return;
  if (!AcceptChange(piMove, FDraggedVertex, N.X, N.Y, FFindInfo)) return;
  if (Whole) {
    const TPoint A = AnchorPoint(0);
    Translate(N.X - A.X, N.Y - A.Y);
  } else {
    const int I = FDraggedVertex;
    TPathVertexData& V = EditVertices()[size_t(I)];
    if (FFindInfo == 1) {
      V.B1 = N;
      V.B1Initialized = true;
      if (SymetricBesierPoints()) SmoothVertex(I, 2);
    } else if (FFindInfo == 2) {
      V.B2 = N;
      V.B2Initialized = true;
      if (SymetricBesierPoints()) SmoothVertex(I, 1);
    } else {
      const int DX = N.X - FSaveVertex.PP.X, DY = N.Y - FSaveVertex.PP.Y;
      V.PP = N;
      // Set control points travel with their anchor.
      if (V.B1Initialized) {
        V.B1 = Offset(FSaveVertex.B1, DX, DY);
        SnapPoint(V.B1, false);
      }
      if (V.B2Initialized) {
        V.B2 = Offset(FSaveVertex.B2, DX, DY);
        SnapPoint(V.B2, false);
      }
    }
    update();
    SetPathChanged(true);
  }
  Notify(soChanging);
}

void TPathOverlay::EndDrag() {
  if (DraggedPoint() != SavedPoint()) Notify(soChanged);
  FDraggedVertex = -1;
  Notify(soEnd);
}

void TPathOverlay::CancelDrag() {
  if (FDraggedVertex == -1) return;
  if (DraggedPoint() != SavedPoint()) {
    if (FDraggedVertex == -2) {
      const TPoint A = AnchorPoint(0);
      Translate(FSaveVertex.PP.X - A.X, FSaveVertex.PP.Y - A.Y);
    } else {
      EditVertices()[size_t(FDraggedVertex)] = FSaveVertex;
      update();
    }
    Notify(soChanging);
  }
  FDraggedVertex = -1;
  Notify(soEnd);
}

void TPathOverlay::VisibleChanged() {
  // A drag is forgotten, not reported.
  FDraggedVertex = -1;
  RefreshCursor();
}

// ---- Mouse --------------------------------------------------------------------------------------

void TPathOverlay::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) {
  SetModifiers(Shift & Qt::ControlModifier, Shift & Qt::ShiftModifier);
  if (DraggingVertices()) EndDrag();
  if (FPathMode != pmNone && !HasTransformation() && Button == Qt::LeftButton && !Double) {
    switch (const TPathMode M = ModeAt(X, Y)) {
    case pmAdd: InsertVertexAt(X, Y); break;
    case pmDelete: DeleteVertexAt(X, Y); break;
    case pmReset: ResetVertexAt(X, Y); break;
    case pmEdit:
    case pmMoveAll: StartDrag(X, Y, M); break;
    default: break;
    }
  }
  if (ImageMouseEvent) Host().PassMouseDown(Button, Shift, X + x(), Y + y());
  TOverlayControl::MouseDown(Button, Shift, X, Y, Double);
}

void TPathOverlay::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  SetModifiers(Shift & Qt::ControlModifier, Shift & Qt::ShiftModifier);
  if (DraggingVertices())
    DragTo(X, Y);
  else
    setCursor(ScreenCursor(CursorAt(X, Y)));
  if (ImageMouseEvent) Host().PassMouseMove(Shift, X + x(), Y + y());
  TOverlayControl::MouseMove(Buttons, Shift, X, Y);
}

void TPathOverlay::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (DraggingVertices()) EndDrag();
  TOverlayControl::MouseUp(Button, Shift, X, Y);
}

void TPathOverlay::DblClick() {
  const TPoint P = LastMouse();
  if (BezierMode() && ModeAt(P.X, P.Y) == pmEdit) AlternVertexAt(P.X, P.Y);
  TOverlayControl::DblClick();
}

// ---- Keys ------------------------------------------------------------------------------------------

void TPathOverlay::KeyDown(int& Key, Qt::KeyboardModifiers Shift) {
  switch (Key) {
  case Qt::Key_Control: SetModifiers(true, FShiftKeyDown); break;
  case Qt::Key_Shift: SetModifiers(FCtrlKeyDown, true); break;
  case Qt::Key_Escape: CancelDrag(); break;
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Up:
  case Qt::Key_Down: {
    if (FPathMode != pmMoveAll) break;
    const int Unit = Key == Qt::Key_Left || Key == Qt::Key_Up ? -1 : 1;
    const double G = Host().GridStep();
    const int Step = G > 0 ? Trunc(Unit * G) : (Shift & Qt::ShiftModifier) ? 8 * Unit : Unit;
    if (Key == Qt::Key_Left || Key == Qt::Key_Right)
      Move(Step, 0);
    else
      Move(0, Step);
    break;
  }
  default: break;
  }
}

void TPathOverlay::KeyUp(int& Key, Qt::KeyboardModifiers) {
  if (Key == Qt::Key_Control) SetModifiers(false, FShiftKeyDown);
  if (Key == Qt::Key_Shift) SetModifiers(FCtrlKeyDown, false);
}

void TPathOverlay::Move(int DX, int DY) {
  if (PointsCount() == 0 || FPathMode != pmMoveAll || (DX == 0 && DY == 0) || DraggingVertices()) return;
  FDraggedVertex = -2;
  Translate(DX, DY);
  FDraggedVertex = -1;
  Notify(soChanged);
}

// ---- Drawing ---------------------------------------------------------------------------------------

void TPathOverlay::DrawMarker(TOverlayPen& Pen, int I) const {
  const TPoint A = ClientAnchor(I);
  Pen.Handle(A);
  if (I != CurrentVertex() || !ShowsControlPoints()) return;
  if (const int P = PrevVertex(I); P != -1) {
    const TPoint C = BmpToClient(ControlPoint1(I));
    Pen.Circle(C);
    if (!IsStraightSegment(P, I)) Pen.DottedLine(A, C);
  }
  if (const int N = NextVertex(I); N != -1) {
    const TPoint C = BmpToClient(ControlPoint2(I));
    Pen.Circle(C);
    if (!IsStraightSegment(I, N)) Pen.DottedLine(A, C);
  }
}

void TPathOverlay::DrawSegment(TOverlayPen& Pen, int I) const {
  const int J = NextVertex(I);
  if (J == -1) return;
  if (!BezierMode() || IsStraightSegment(I, J))
    Pen.Line(ClientAnchor(I), ClientAnchor(J));
  else
    Pen.Bezier(ClientAnchor(I), BmpToClient(ControlPoint2(I)), BmpToClient(ControlPoint1(J)), ClientAnchor(J));
}

void TPathOverlay::DrawJoins(TOverlayPen& Pen) const {
  if (JoinBorder() <= 0 || PointsCount() == 0) return;
  const TPoint F = AnchorPoint(0), L = AnchorPoint(PointsCount() - 1);
  const int W = ImageWidth(), H = ImageHeight();
  const auto Join = [&](TPoint A, TPoint B) { Pen.Line(BmpToClient(A), BmpToClient(B)); };
  if (JoinBorder() == 1) {
    if (F.X > 0) Join({0, F.Y}, F);
    if (L.X < W - 1) Join({L.X + 1, L.Y}, {W, L.Y});
  } else if (JoinBorder() == 2) {
    if (F.Y > 0) Join({F.X, 0}, F);
    if (L.Y < H - 1) Join({L.X, L.Y + 1}, {L.X, H});
  }
}

void TPathOverlay::DrawXor(TOverlayPen& Pen) const {
  for (int I = 0; I < PointsCount(); ++I) DrawMarker(Pen, I);
  for (int I = 0; I < PointsCount(); ++I) DrawSegment(Pen, I);
  DrawJoins(Pen);
}
