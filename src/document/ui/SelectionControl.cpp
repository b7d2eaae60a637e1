#include "document/ui/SelectionControl.h"

#include "document/ui/MyImage.h"
#include "platform/CapsLock.h"

#include <algorithm>

namespace {

TRect Inflated(const TRect& R, int N) { return {R.Left - N, R.Top - N, R.Right + N, R.Bottom + N}; }

} // namespace

TSelectionControl::TSelectionControl(TMyImage* Image) : FImage(Image) {
  FImage->FSel = this;
  FTimer.setTimerType(Qt::PreciseTimer);
  connect(&FTimer, &QTimer::timeout, this, [this] { TimerTick(); });
  FCreated = true;
}

TSelectionControl::~TSelectionControl() {
  FTimer.stop();
  if (FImage) FImage->FSel = nullptr;
}

TRect TSelectionControl::BoundsRect() const { return FImage->BmpToClient(BmpSelRect()); }

void TSelectionControl::ResetBounds() {
  if (FImage) FShownBounds = BoundsRect();
}

TRect TSelectionControl::ClientToParent(const TRect& R) const {
  const TRect B = BoundsRect();
  return OffsetRect(R, B.Left, B.Top);
}

TRect TSelectionControl::ParentToClient(const TRect& R) const {
  const TRect B = BoundsRect();
  return OffsetRect(R, -B.Left, -B.Top);
}

TPoint TSelectionControl::ClientToParent(TPoint P) const {
  const TRect B = BoundsRect();
  return {P.X + B.Left, P.Y + B.Top};
}

TPoint TSelectionControl::ParentToClient(TPoint P) const {
  const TRect B = BoundsRect();
  return {P.X - B.Left, P.Y - B.Top};
}

// ---- Properties -------------------------------------------------------------------------------------

void TSelectionControl::SetVisible(bool Value) {
  if (Value == Visible()) return;
  TSelectionModel::SetVisible(Value);
  if (!FCreated) return;
  if (Value) FUpdating = 0;
  // The whole view is drawn again, with or without the outline and frame.
  FImage->InvalidateView();
  FShownBounds = BoundsRect();
  FImage->RefreshCursor();
  UpdateAnimation();
}

void TSelectionControl::SetShape(TMyShape Value) {
  const TMyShape Old = Shape();
  TSelectionModel::SetShape(Value);
  if (Shape() != Old && Visible()) RepaintAround(BoundsRect(), BoundsRect());
  UpdateAnimation();
}

void TSelectionControl::SetInvert(bool Value) {
  if (Value == Invert()) return;
  TSelectionModel::SetInvert(Value);
  if (Visible()) FImage->InvalidateView();
}

void TSelectionControl::Transform(int Flag) {
  const TRect Before = BoundsRect();
  TSelectionModel::Transform(Flag);
  if (Visible()) RepaintAround(Before, BoundsRect());
}

void TSelectionControl::SetShowBorder(bool Value) {
  if (Value == FShowBorder) return;
  FShowBorder = Value;
  if (Visible()) FImage->InvalidateView();
  UpdateAnimation();
}

void TSelectionControl::SetShowBounds(bool Value) {
  if (Value == FShowBounds) return;
  FShowBounds = Value;
  if (Visible()) RepaintAround(BoundsRect(), BoundsRect());
  RefreshCursor();
}

void TSelectionControl::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  RefreshCursor();
}

void TSelectionControl::SetAnimated(bool Value) {
  if (Value == FAnimated) return;
  FAnimated = Value;
  UpdateAnimation();
}

void TSelectionControl::BmpSelRectChanged() {
  if (!FCreated || !FImage) return;
  const TRect B = BoundsRect();
  if (Visible() && FUpdating != 2) {
    RepaintAround(FShownBounds, B);
    RefreshCursor();
  }
  FShownBounds = B;
}

void TSelectionControl::RepaintAround(const TRect& A, const TRect& B) {
  FImage->RepaintRect(UnionRect(Inflated(A, 1), Inflated(B, 1)));
}

// ---- Drawing -------------------------------------------------------------------------------------------------

int TSelectionControl::FilterParts(int Flags) const {
  if (!FShowBorder) {
    Flags &= ~(sdOutline | sdFrame);
    if (FUpdating != 2) Flags &= ~sdBounds;
  } else if (!Invert()) {
    Flags &= ~sdFrame;
  }
  if (!FShowBounds || (FShowBorder && (Shape() == ssRect || Shape() == ssBitmap))) Flags &= ~sdBounds;
  return (Flags & (sdOutline | sdBounds | sdFrame)) ? Flags : 0;
}

TRect TSelectionControl::ImageClip() const {
  TRect R = FImage->ImgRect();
  if (Invert()) R = Inflated(R, -1);
  return IntersectRect(IntersectRect(R, FImage->ClientRect()), FImage->Canvas().ClipRect());
}

void TSelectionControl::DrawParts(int Flags) {
  Flags = FilterParts(Flags);
  if (Flags == 0 || !Visible()) return;
  DrawPartsClipped(Flags, ImageClip());
}

void TSelectionControl::DrawOutside(int Flags) {
  if (FilterParts(Flags) == 0 || !Visible()) return;
  FImage->DoDraw(dsStart);
  DrawParts(Flags);
  FImage->DoDraw(dsEnd);
}

void TSelectionControl::DrawPartsClipped(int Flags, const TRect& Clip) {
  TBitmap& Dest = *FImage->Canvas().Bitmap();
  TShapeManager& M = ShapeManager();
  const TRect B = BoundsRect();
  TRect Shown;
  if (!Clip.IsEmpty()) {
    if (Flags & sdBounds) {
      M.SetBmpClipRect(Clip);
      M.Draw(Dest, B, ssRect, stXOr);
    }
    if (Flags & sdOutline) {
      M.SetColors(BorderColor1, BorderColor2);
      M.SetBmpClipRect(Clip);
      const TShapeStyle Style = FUpdating == 2 ? stXOrDot : (Flags & sdAnimate) ? stAnimate : stAnimateNoSwap;
      M.Draw(Dest, B, Shape(), Style);
    }
    Shown = Clip;
  }
  if (Flags & sdFrame) {
    const TRect I = FImage->ImgRect();
    const TRect FrameClip = IntersectRect(IntersectRect(I, FImage->ClientRect()), FImage->Canvas().ClipRect());
    if (!FrameClip.IsEmpty()) {
      M.SetColors(BorderColor1, BorderColor2);
      M.SetBmpClipRect(FrameClip);
      M.Draw(Dest, I, ssRect, stAnimateNoSwap);
      Shown = Shown.IsEmpty() ? FrameClip : UnionRect(Shown, FrameClip);
    }
  }
  M.SetBmpClipRect(WholeBitmapRect);
  if (!Shown.IsEmpty()) FImage->ShowClientRect(Shown);
}

void TSelectionControl::EraseParts(int Flags) {
  Flags = FilterParts(Flags);
  if (Flags == 0) return;
  const TRect Area = (Flags & sdFrame) ? FImage->ImgRect() : Inflated(BoundsRect(), 1);
  FImage->RepaintImageRect(Area);
}

void TSelectionControl::Paint() {
  if (FUpdating != 2) DrawParts(sdOutline | sdBounds);
}

// ---- Animation -------------------------------------------------------------------------------------------------

void TSelectionControl::LockAnimation(bool Lock) {
  FLockAnimation += Lock ? 1 : -1;
  UpdateAnimation();
}

void TSelectionControl::UpdateAnimation() {
  const bool On = Visible() && FAnimated && FShowBorder && FUpdating != 2 && FLockAnimation <= 0;
  if (!On) {
    FTimer.stop();
    return;
  }
  // Large outlines are redrawn less often and their dashes jump further.
  const int Level = SelAnimationLevel(ShapeManager().PointsCount());
  FTimer.setInterval(Level * 112);
  AnimStepIncrement = Level / 2 + 2;
  if (!FTimer.isActive()) FTimer.start();
}

void TSelectionControl::TimerTick() {
  if (FTimerProcessing || !FImage) return;
  FTimerProcessing = true;
  DrawOutside(sdOutline | sdFrame | sdAnimate);
  FTimerProcessing = false;
}

// ---- Hit tests and cursors ---------------------------------------------------------------------------------

bool TSelectionControl::PtInShape(TPoint P) {
  if (FTransparent) return false;
  const TRect B = BoundsRect();
  if (!FImage->PtInImage(ClientToParent(P))) return false;
  if (P.X < 0 || P.Y < 0 || P.X >= B.Width() || P.Y >= B.Height()) return false;
  const TMyShape S = Shape();
  if (S == ssRect || (S != ssBitmap && FShowBounds)) return true;
  // Outlines are kept where they were drawn: the view's client coordinates,
  // except the two kinds tested in their own rectangle.
  if (S == ssBitmap || S == ssEllipse) return ShapeManager().PtInShape({0, 0, B.Width(), B.Height()}, P, S);
  return ShapeManager().PtInShape(B, ClientToParent(P), S);
}

bool TSelectionControl::ResizeOffered() const {
  return CanResizeSel && ((Shape() == ssRect && FShowBorder) || (Shape() != ssRect && FShowBounds));
}

QCursor TSelectionControl::ZoneCursor(int Code) const {
  switch (Code) {
  case pcTopLeft:
  case pcBottomRight:
    return Qt::SizeFDiagCursor;
  case pcTopRight:
  case pcBottomLeft:
    return Qt::SizeBDiagCursor;
  case pcTop:
  case pcBottom:
    return Qt::SizeVerCursor;
  case pcRight:
  case pcLeft:
    return Qt::SizeHorCursor;
  case pcMove:
    return ScreenCursor(MoveCursor);
  default:
    return Qt::ArrowCursor;
  }
}

void TSelectionControl::UpdateZone(int X, int Y) {
  const TRect B = BoundsRect();
  FPosCode = SelHitZone(X, Y, B.Width(), B.Height(), FMouseBorder, ResizeOffered(), CanMoveSel);
  FImage->viewport()->setCursor(ZoneCursor(FPosCode));
}

void TSelectionControl::RefreshCursor() {
  if (Visible() && FImage) FImage->RefreshCursor();
}

bool TSelectionControl::ShowZoneCursorAt(TPoint P) {
  if (!Visible() || !FImage || !FCreated) return false;
  // A press or a drag keeps its zone until the release.
  if (FUpdating != 0) {
    FImage->viewport()->setCursor(ZoneCursor(FPosCode));
    return true;
  }
  const TPoint Own = ParentToClient(P);
  if (!PtInRect(BoundsRect(), P) || !PtInShape(Own)) return false;
  UpdateZone(Own.X, Own.Y);
  return true;
}

void TSelectionControl::AssignImageShape() {
  ShapeManager().Assign(FImage->ShapeManager());
  SetShape(FImage->SelShape());
  UpdateAnimation();
}

// ---- Mouse ---------------------------------------------------------------------------------------------------

bool TSelectionControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) {
  FLastMouse = ClientToParent(TPoint{X, Y});
  if (!PtInShape({X, Y})) {
    FUpdating = 0;
    FImage->MouseDown(Button, Shift, FLastMouse.X, FLastMouse.Y, Double);
    return false;
  }
  if (FUpdating == 2) EndDrag();
  UpdateZone(X, Y);
  if (FPosCode == pcNone || Button != Qt::LeftButton || Double) {
    FUpdating = 0;
  } else {
    FUpdating = 1;
    FPtOrigin = FLastMouse;
    FStartBmpRect = BmpSelRect();
  }
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  return true;
}

void TSelectionControl::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  const TPoint P = ClientToParent(TPoint{X, Y});
  FLastMouse = P;
  const bool Hit = PtInShape({X, Y});
  if (FUpdating == 0 && !Hit) {
    FImage->MouseMove(Buttons, Shift, P.X, P.Y);
    RefreshCursor();
    return;
  }
  if (FUpdating == 0) UpdateZone(X, Y);
  if (Buttons.testFlag(Qt::LeftButton)) {
    if (FUpdating == 1 && !(P == FPtOrigin)) StartDrag();
    if (FUpdating == 2) FollowDrag(P, Shift.testFlag(Qt::ShiftModifier));
  }
  if (ImageMouseMove) {
    FImage->MouseMove(Buttons, Shift, P.X, P.Y);
    FImage->viewport()->setCursor(ZoneCursor(FPosCode));
  }
  if (OnMouseMove) OnMouseMove(this, Buttons, Shift, X, Y);
}

void TSelectionControl::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  FLastMouse = ClientToParent(TPoint{X, Y});
  if (FUpdating == 0 && !PtInShape({X, Y})) {
    FImage->MouseUp(Button, Shift, FLastMouse.X, FLastMouse.Y);
    return;
  }
  if (FUpdating == 2)
    EndDrag();
  else
    FUpdating = 0;
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TSelectionControl::DblClick() {
  if (PtInShape(ParentToClient(FLastMouse))) {
    if (OnDblClick) OnDblClick(this);
  } else {
    FImage->DblClick();
  }
}

// ---- Drag -----------------------------------------------------------------------------------------------------

void TSelectionControl::StartDrag() {
  FImage->UpdatePending();
  FTimer.stop();
  EraseParts(sdOutline | sdBounds);
  FUpdating = 2;
  DrawOutside(sdOutline | sdBounds);
  Notify(soStart);
}

void TSelectionControl::FollowDrag(TPoint P, bool Shift) {
  if (FPosCode < pcTopLeft || FPosCode > pcMove) return;
  FShiftDown = Shift;
  TSelDragContext C;
  C.View = FImage->Geometry();
  C.MinSel = FImage->MinSel();
  C.Grid = FImage->GridAlign ? FImage->CalcGridWidth() : 0;
  const TRect R = DragRect(FPosCode, {P.X - FPtOrigin.X, P.Y - FPtOrigin.Y}, Shift, FStartBmpRect, C);
  if (R == BmpSelRect() || R.IsEmpty()) return;
  // The XOR outline drawn again goes away.
  DrawOutside(sdOutline | sdBounds);
  StoreBmpSelRect(R);
  DrawOutside(sdOutline | sdBounds);
}

void TSelectionControl::EndDrag() {
  DrawOutside(sdOutline | sdBounds);
  FUpdating = 0;
  FShownBounds = BoundsRect();
  DrawOutside(sdOutline | sdBounds);
  RefreshCursor();
  UpdateAnimation();
  if (!(BmpSelRect() == FStartBmpRect)) Notify(soChanged);
  Notify(soEnd);
}

void TSelectionControl::CancelDrag() {
  DrawOutside(sdOutline | sdBounds);
  StoreBmpSelRect(FStartBmpRect);
  FUpdating = 0;
  FShownBounds = BoundsRect();
  DrawOutside(sdOutline | sdBounds);
  UpdateAnimation();
  Notify(soEnd);
}

// ---- Keys -------------------------------------------------------------------------------------------------------

bool TSelectionControl::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
  const bool ShiftDown = Shift.testFlag(Qt::ShiftModifier);
  if (ShiftDown != FShiftDown) {
    FShiftDown = ShiftDown;
    if (FUpdating == 2) FollowDrag(FLastMouse, ShiftDown);
  }
  if (Key == Qt::Key_Escape && FUpdating == 2) {
    CancelDrag();
    return true;
  }
  TPoint D{0, 0};
  switch (Key) {
  case Qt::Key_Left:
    D.X = -1;
    break;
  case Qt::Key_Right:
    D.X = 1;
    break;
  case Qt::Key_Up:
    D.Y = -1;
    break;
  case Qt::Key_Down:
    D.Y = 1;
    break;
  default:
    return false;
  }
  const int M = ShiftDown || CapsLockActive() ? 8 : 1;
  if (Shift.testFlag(Qt::AltModifier) && CanResizeSel)
    ResizeSel(D.X * M, D.Y * M);
  else
    MoveSel(D.X * M, D.Y * M);
  return true;
}

bool TSelectionControl::KeyUp(int, Qt::KeyboardModifiers Shift) {
  const bool ShiftDown = Shift.testFlag(Qt::ShiftModifier);
  if (ShiftDown == FShiftDown) return false;
  FShiftDown = ShiftDown;
  if (FUpdating == 2) FollowDrag(FLastMouse, ShiftDown);
  return true;
}
