#include "document/ui/MyImage.h"

#include "document/ui/SelectionControl.h"
#include "platform/CapsLock.h"
#include "platform/Rounding.h"
#include "raster/RectUtils.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

int SelLineWidth = 1;

namespace {

bool IsPoint(const TRect& R) { return R.Left == R.Right && R.Top == R.Bottom; }

void IncludePoint(TRect& R, TPoint P) {
  R.Left = std::min(R.Left, P.X);
  R.Top = std::min(R.Top, P.Y);
  R.Right = std::max(R.Right, P.X + 1);
  R.Bottom = std::max(R.Bottom, P.Y + 1);
}

int Sign(int V) { return (V > 0) - (V < 0); }

// Shift keeps a line diagonal, horizontal or vertical from its start.
TPoint ConstrainLine(TPoint From, TPoint To) {
  const int DX = To.X - From.X, DY = To.Y - From.Y;
  const double Ratio = DY == 0 ? 0.0 : double(std::abs(DX)) / std::abs(DY);
  if (Ratio > 0.77 && Ratio < 1.33) {
    const int D = std::min(std::abs(DX), std::abs(DY));
    return {From.X + D * Sign(DX), From.Y + D * Sign(DY)};
  }
  if (std::abs(DX) > std::abs(DY)) return {To.X, From.Y};
  return {From.X, To.Y};
}

bool ShiftIn(Qt::KeyboardModifiers M) { return M.testFlag(Qt::ShiftModifier); }

} // namespace

TMyImage::TMyImage(QWidget* Parent) : TMyCustomImage(Parent) {
  // Caps Lock makes the arrow keys scroll and nudge further.
  WatchCapsLock();
}

TMyImage::~TMyImage() {
  if (FSel) FSel->FImage = nullptr;
}

void TMyImage::SetSelShape(TMyShape Value) {
  if (Selecting() || Value == FSelShape || Value == ssLine || Value == ssLineWidth) return;
  FSelShape = Value;
}

void TMyImage::SetLineShape(TMyShape Value) {
  if (Selecting() || Value == FLineShape || (Value != ssLine && Value != ssLineWidth)) return;
  FLineShape = Value;
}

void TMyImage::SetPaused(bool Value) {
  if (FSelecting < 2) return;
  if (Value) {
    FSelecting = 4;
  } else if (QGuiApplication::mouseButtons().testFlag(Qt::LeftButton) || IsMultiLine()) {
    FSelecting = 2;
    RedrawSelecting(true);
  } else {
    FSelecting = 3;
  }
}

// ---- Helpers -------------------------------------------------------------------------------------

bool TMyImage::ShowsOriginCross() const {
  const TMyShape S = CurrentShape();
  return OriginCenter && S != ssLine && S != ssLineWidth && S != ssPolygon;
}

TPoint TMyImage::ClampToImage(TPoint P) const {
  const TViewGeometry G = Geometry();
  TPoint B = G.ClientToBmp(P);
  B.X = std::clamp(B.X, 0, std::max(0, G.W - 1));
  B.Y = std::clamp(B.Y, 0, std::max(0, G.H - 1));
  return G.BmpToClient(B);
}

void TMyImage::ClipToImage() {
  TRect R = ImgRect();
  // An inverted selection draws its frame along the image's border.
  if (FSel && FSel->Visible() && FSel->Invert()) R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  FBandClip = IntersectRect(IntersectRect(R, ClientRect()), Canvas().ClipRect());
}

bool TMyImage::NearFirstPoint(int X, int Y) {
  if (!IsMultiLine() || FShapeManager.PointsCount() < 2) return false;
  const TPoint F = FShapeManager.FirstPoint();
  const int T = std::max(Round(Zoom()), 8);
  return std::abs(X - F.X) <= T && std::abs(Y - F.Y) <= T;
}

void TMyImage::DrawOriginCross() {
  if (!ShowsOriginCross()) return;
  TCanvas& C = Canvas();
  const TRect OldClip = C.ClipRect();
  const TPen OldPen = C.Pen;
  C.SetClipRect(FBandClip);
  C.Pen = TPen{0xFFD8CE, 1, TPenStyle::psSolid, TPenMode::pmXor};
  C.MoveTo(FPtOrigin.X - 3, FPtOrigin.Y);
  C.LineTo(FPtOrigin.X + 4, FPtOrigin.Y);
  C.MoveTo(FPtOrigin.X, FPtOrigin.Y - 3);
  C.LineTo(FPtOrigin.X, FPtOrigin.Y + 4);
  C.Pen = OldPen;
  C.SetClipRect(OldClip);
  ShowClientRect({FPtOrigin.X - 3, FPtOrigin.Y - 3, FPtOrigin.X + 4, FPtOrigin.Y + 4});
}

void TMyImage::DrawBand(const TRect& R, TMyShape Shape, TShapeStyle Style) {
  if (FBandClip.IsEmpty()) return;
  FShapeManager.SetBmpClipRect(FBandClip);
  FShapeManager.Draw(*Canvas().Bitmap(), R, Shape, Style);
  ShowClientRect(FBandClip);
}

void TMyImage::DoSelection(const TRect& R, TSelOption Option) {
  if (OnSelection) OnSelection(this, R, Option);
}

void TMyImage::LockSelAnimation(bool Lock) {
  if (FSel) FSel->LockAnimation(Lock);
}

// ---- Rubber bands -----------------------------------------------------------------------------------

void TMyImage::ZoomedLineRect(TRect& R) const {
  const TViewGeometry G = Geometry();
  const auto Snap = [&](int X, int Y) {
    const TRect B = G.ClientToBmp(TRect{X, Y, X, Y});
    const TRect C = G.BmpToClient(BrushRect(B.Left, B.Top, uint16_t(std::clamp(SelLineWidth, 1, 65535))));
    return TPoint{(C.Left + C.Right - 1) / 2, (C.Top + C.Bottom - 1) / 2};
  };
  const TPoint A = Snap(R.Left, R.Top), B = Snap(R.Right, R.Bottom);
  R = {A.X, A.Y, B.X, B.Y};
}

void TMyImage::MoveShape(int X, int Y, bool Shift) {
  FShiftDown = Shift;
  const TMyShape Shape = CurrentShape();
  TRect R;
  TShapeStyle Style;
  if (Shape == ssLine || Shape == ssLineWidth) {
    TPoint End{X, Y};
    if (Shift) End = ConstrainLine(FPtOrigin, End);
    R = {FPtOrigin.X, FPtOrigin.Y, End.X, End.Y};
    LineShapeWidth = std::max(1, Round(SelLineWidth * Zoom()));
    if (Zoom() > 1) ZoomedLineRect(R);
    Style = stXOr;
  } else {
    if (OriginCenter) {
      R = SymmetricRect(FPtOrigin.X, FPtOrigin.Y, X, Y, ImgRect(), Shift);
    } else {
      R = IntersectRect(NormalizeRect(FPtOrigin.X, FPtOrigin.Y, X, Y), ImgRect());
      if (Shift) R = SquareRect(R, X > FPtOrigin.X, Y > FPtOrigin.Y);
    }
    AlignRectToGrid(R);
    Style = stXOrDot;
  }
  FLastRect = R;
  if (IsPoint(R)) return;
  ClipToImage();
  DrawBand(R, Shape, Style);
  DrawOriginCross();
  DoSelection(FLastRect, soChanging);
}

void TMyImage::EraseShape() {
  if (!IsPoint(FLastRect)) {
    TMyShape Shape = CurrentShape();
    if (Shape == ssPolygon) Shape = ssPolyline;
    const bool Solid = Shape == ssLine || Shape == ssLineWidth || Shape == ssPolyline;
    ClipToImage();
    DrawBand(FLastRect, Shape, Solid ? stXOr : stXOrDot);
    DrawOriginCross();
  }
  if (IsMultiLine()) EraseRubberLine();
}

int TMyImage::AddPoint(int X, int Y, bool Draw) {
  TPoint P{X, Y};
  if (Draw) P = ClampToImage(P);
  const TPoint Last = FShapeManager.LastPoint();
  const int Index = FShapeManager.AddPoint(P);
  if (Index < 0) return Index;
  if (Draw) {
    ClipToImage();
    DrawBand({Last.X, Last.Y, P.X, P.Y}, ssLine, stXOr);
  }
  IncludePoint(FLastRect, P);
  DoSelection(FLastRect, soChanging);
  return Index;
}

void TMyImage::MoveRubberLine(int X, int Y, bool Shift) {
  FShiftDown = Shift;
  const TPoint L = FShapeManager.LastPoint();
  if (NearFirstPoint(X, Y)) {
    FPtLastLine = FShapeManager.FirstPoint();
  } else {
    TPoint P{X, Y};
    if (Shift) P = ConstrainLine(L, P);
    FPtLastLine = ClampToImage(P);
  }
  if (std::abs(FPtLastLine.X - L.X) < MinPointDistance && std::abs(FPtLastLine.Y - L.Y) < MinPointDistance) return;
  ClipToImage();
  DrawBand({L.X, L.Y, FPtLastLine.X, FPtLastLine.Y}, ssLine, stXOr);
  TRect R = FLastRect;
  IncludePoint(R, FPtLastLine);
  DoSelection(R, soChanging);
}

void TMyImage::EraseRubberLine() {
  const TPoint L = FShapeManager.LastPoint();
  if (std::abs(FPtLastLine.X - L.X) < MinPointDistance && std::abs(FPtLastLine.Y - L.Y) < MinPointDistance) return;
  ClipToImage();
  DrawBand({L.X, L.Y, FPtLastLine.X, FPtLastLine.Y}, ssLine, stXOr);
}

void TMyImage::DeleteLastPoint() {
  if (FShapeManager.PointsCount() <= 1) {
    CancelSelection();
    return;
  }
  EraseRubberLine();
  FPtLastLine = FShapeManager.LastPoint();
  const TRect B = FShapeManager.DeleteLastPoint();
  FLastRect = {B.Left, B.Top, B.Right + 1, B.Bottom + 1};
  // The segment that led to the deleted point goes.
  EraseRubberLine();
  const TPoint M = MousePos();
  MoveRubberLine(M.X, M.Y, FShiftDown);
}

void TMyImage::RedrawSelecting(bool AddPt) {
  const TPoint P = MousePos();
  if (CurrentShape() != ssPolygon || IsMultiLine()) {
    if (IsMultiLine()) {
      EraseRubberLine();
      MoveRubberLine(P.X, P.Y, FShiftDown);
    } else if (!IsPoint(FLastRect)) {
      EraseShape();
      MoveShape(P.X, P.Y, FShiftDown);
    }
  } else if (AddPt) {
    AddPoint(P.X, P.Y, true);
  }
}

bool TMyImage::IsValidSelection() const {
  if (IsMultiLine()) return FShapeManager.PointsCount() >= 3;
  const int W = std::abs(FLastRect.Right - FLastRect.Left), H = std::abs(FLastRect.Bottom - FLastRect.Top);
  if (SelectionMode == TSelMode::smLine) return W > 1 || H > 1;
  const int M = std::max(FMinSel, Ceil(Zoom()));
  return W >= M && H >= M;
}

void TMyImage::StartSelection(int X, int Y) {
  if (X == FPtOrigin.X && Y == FPtOrigin.Y) return;
  if (FSelShape == ssBitmap) FSelShape = ssRect;
  DoSelection({FPtOrigin.X, FPtOrigin.Y, FPtOrigin.X, FPtOrigin.Y}, soStart);
  FSelecting = 2;
  FLastRect = {FPtOrigin.X, FPtOrigin.Y, FPtOrigin.X, FPtOrigin.Y};
  if (CurrentShape() == ssPolygon) {
    FPtOrigin = ClampToImage(FPtOrigin);
    FLastRect = {FPtOrigin.X, FPtOrigin.Y, FPtOrigin.X, FPtOrigin.Y};
    FPtLastLine = FPtOrigin;
    FShapeManager.BeginPoints(FPtOrigin);
  }
  LockSelAnimation(true);
}

void TMyImage::RepaintBand(TRect R) {
  int M = 1;
  if (CurrentShape() == ssLineWidth)
    M = LineShapeWidth + 1;
  else if (ShowsOriginCross())
    M = 4;
  R = NormalizeRect(R.Left, R.Top, R.Right, R.Bottom);
  RepaintRect({R.Left - M, R.Top - M, R.Right + M, R.Bottom + M});
}

void TMyImage::EndSelection(bool Closing) {
  if (Closing && IsMultiLine()) AddPoint(FPtLastLine.X, FPtLastLine.Y, false);
  if (!IsValidSelection()) {
    CancelSelection();
    return;
  }
  if (CurrentShape() == ssPolygon) FShapeManager.EndPoints(Zoom());
  DoSelection(FLastRect, soEnd);
  FShapeManager.Clear();
  FSelecting = 0;
  RepaintBand(FLastRect);
  LockSelAnimation(false);
}

void TMyImage::CancelSelection() {
  TRect R = FLastRect;
  if (IsMultiLine()) IncludePoint(R, FPtLastLine);
  DoSelection(R, soNoValid);
  FShapeManager.Clear();
  FSelecting = 0;
  RepaintBand(R);
  LockSelAnimation(false);
}

// ---- Mouse and keys -------------------------------------------------------------------------------------

void TMyImage::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) {
  const bool Left = Button == Qt::LeftButton;
  if (FSelecting == 3 && Left) {
    FSelecting = 2;
    RedrawSelecting(true);
  } else if (FSelecting == 4) {
    FIgnorePopup = Button == Qt::RightButton;
  } else if (FSelecting == 2 || FSelecting == 3) {
    FSelecting = 2;
    FIgnorePopup = Button == Qt::RightButton;
    if (!IsMultiLine())
      CancelSelection();
    else if (!Left)
      EndSelection(true);
    else if (NearFirstPoint(X, Y))
      EndSelection(false);
    else
      AddPoint(FPtLastLine.X, FPtLastLine.Y, false);
  } else {
    const TBitmap* B = DisplayBitmap();
    if (Left && (SelectionMode == TSelMode::smShape || SelectionMode == TSelMode::smLine) && B && !B->Empty()) {
      FSelecting = 1;
      FPtOrigin = {X, Y};
    } else {
      FSelecting = 0;
    }
  }
  TMyCustomImage::MouseDown(Button, Shift, X, Y, Double);
}

void TMyImage::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (FSelecting == 1) StartSelection(X, Y);
  if (FSelecting == 2) {
    const bool Polygon = CurrentShape() == ssPolygon;
    if (!Polygon) EraseShape();
    if (IsMultiLine()) EraseRubberLine();
    if (!Polygon)
      MoveShape(X, Y, ShiftIn(Shift));
    else if (IsMultiLine())
      MoveRubberLine(X, Y, ShiftIn(Shift));
    else
      AddPoint(X, Y, true);
  }
  TMyCustomImage::MouseMove(Buttons, Shift, X, Y);
}

void TMyImage::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (FSelecting < 3 && !IsMultiLine()) {
    if (FSelecting == 2)
      EndSelection(false);
    else
      FSelecting = 0;
  }
  TMyCustomImage::MouseUp(Button, Shift, X, Y);
}

bool TMyImage::KeyDown(int Key, Qt::KeyboardModifiers Shift) {
  bool Used = TMyCustomImage::KeyDown(Key, Shift);
  if (Selecting()) {
    if (ShiftIn(Shift) != FShiftDown) {
      FShiftDown = ShiftIn(Shift);
      if (!(CurrentShape() == ssPolygon && !IsMultiLine())) RedrawSelecting(false);
    }
    switch (Key) {
    case Qt::Key_Escape:
      CancelSelection();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      EndSelection(!NearFirstPoint(FPtLastLine.X, FPtLastLine.Y));
      return true;
    case Qt::Key_Delete:
      if (!IsMultiLine()) return Used;
      DeleteLastPoint();
      return true;
    default:
      return Used;
    }
  }
  if (!KeyScroll || (FSel && FSel->Visible())) return Used;
  const int Step = ShiftIn(Shift) || CapsLockActive() ? 24 : 3;
  switch (Key) {
  case Qt::Key_Left:
    ScrollBy(-Step, 0);
    break;
  case Qt::Key_Right:
    ScrollBy(Step, 0);
    break;
  case Qt::Key_Up:
    ScrollBy(0, -Step);
    break;
  case Qt::Key_Down:
    ScrollBy(0, Step);
    break;
  default:
    return Used;
  }
  RefreshCursor();
  return true;
}

bool TMyImage::KeyUp(int Key, Qt::KeyboardModifiers Shift) {
  const bool Used = TMyCustomImage::KeyUp(Key, Shift);
  if (Selecting() && ShiftIn(Shift) != FShiftDown) {
    FShiftDown = ShiftIn(Shift);
    if (!(CurrentShape() == ssPolygon && !IsMultiLine())) RedrawSelecting(false);
  }
  return Used;
}

void TMyImage::UpdateCursor(int X, int Y) {
  if (FSel && FSel->ShowZoneCursorAt({X, Y})) return;
  TMyCustomImage::UpdateCursor(X, Y);
}

bool TMyImage::RoutesToSel(const QPoint& P) const {
  if (!FSel || !FSel->Visible()) return false;
  return FMouseOnSel || PtInRect(FSel->BoundsRect(), {P.x(), P.y()});
}

void TMyImage::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (RoutesToSel(P)) {
    // A press that misses the selection went to the view, which keeps the
    // mouse until the release.
    const TRect B = FSel->BoundsRect();
    FMouseOnSel = FSel->MouseDown(Event->button(), Event->modifiers(), P.x() - B.Left, P.y() - B.Top, false);
    Event->accept();
    return;
  }
  TMyCustomImage::mousePressEvent(Event);
}

void TMyImage::mouseDoubleClickEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (RoutesToSel(P)) {
    const TRect B = FSel->BoundsRect();
    FMouseOnSel = FSel->MouseDown(Event->button(), Event->modifiers(), P.x() - B.Left, P.y() - B.Top, true);
    FSel->DblClick();
    Event->accept();
    return;
  }
  TMyCustomImage::mouseDoubleClickEvent(Event);
}

void TMyImage::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (RoutesToSel(P)) {
    const TRect B = FSel->BoundsRect();
    FSel->MouseMove(Event->buttons(), Event->modifiers(), P.x() - B.Left, P.y() - B.Top);
    Event->accept();
    return;
  }
  TMyCustomImage::mouseMoveEvent(Event);
}

void TMyImage::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (RoutesToSel(P)) {
    FMouseOnSel = false;
    const TRect B = FSel->BoundsRect();
    FSel->MouseUp(Event->button(), Event->modifiers(), P.x() - B.Left, P.y() - B.Top);
    Event->accept();
    return;
  }
  FMouseOnSel = false;
  TMyCustomImage::mouseReleaseEvent(Event);
}

void TMyImage::contextMenuEvent(QContextMenuEvent* Event) {
  // The right click that ends or cancels a drawing opens no menu.
  if (FSelecting >= 2) {
    Event->accept();
    return;
  }
  if (FIgnorePopup) {
    FIgnorePopup = false;
    Event->accept();
    return;
  }
  QMenu* Menu = PopupMenu;
  if (FSel && FSel->Visible() && FSel->PopupMenu) {
    const TRect B = FSel->BoundsRect();
    const QPoint P = viewport()->mapFromGlobal(Event->globalPos());
    if (PtInRect(B, {P.x(), P.y()}) && FSel->PtInShape({P.x() - B.Left, P.y() - B.Top})) Menu = FSel->PopupMenu;
  }
  if (!Menu) {
    Event->ignore();
    return;
  }
  Menu->popup(Event->globalPos());
  Event->accept();
}

// ---- Painting ----------------------------------------------------------------------------------------------

bool TMyImage::CanPaintWindow() const { return !(FSel && FSel->UpdatingSel()); }

void TMyImage::PaintOverImage(bool Full) {
  // The fresh picture under the clip gets the rubber band and the
  // selection back.
  if (FSelecting >= 2) EraseShape();
  if (!FSel || !FSel->Visible()) return;
  // A whole paint follows any change of zoom, scroll or size: the outline
  // is drawn where the selection now lies.
  if (Full) FSel->ResetBounds();
  FSel->DrawParts(Full ? sdOutline | sdBounds | sdFrame : sdFrame);
}

void TMyImage::RepaintRect(TRect R) {
  const bool Whole = FullPaintPending();
  TMyCustomImage::RepaintRect(R);
  // A whole paint has drawn the selection already.
  if (Whole || !FSel || !FSel->Visible() || PaintLocked()) return;
  TCanvas& C = Canvas();
  C.SetClipRect(IntersectRect(R, ClientRect()));
  DoDraw(dsStart);
  FSel->DrawParts(sdOutline | sdBounds);
  DoDraw(dsEnd);
  C.ResetClip();
}

void TMyImage::Scrolled(int DX, int DY) {
  if (FSelecting > 1) {
    FLastRect = OffsetRect(FLastRect, -DX, -DY);
    FPtOrigin = {FPtOrigin.X - DX, FPtOrigin.Y - DY};
    if (CurrentShape() == ssPolygon) FShapeManager.Offset(-DX, -DY);
    if (IsMultiLine()) FPtLastLine = {FPtLastLine.X - DX, FPtLastLine.Y - DY};
  }
  TMyCustomImage::Scrolled(DX, DY);
}
