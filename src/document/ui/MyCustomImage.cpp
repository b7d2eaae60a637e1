#include "document/ui/MyCustomImage.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/Shadow.h"
#include "raster/ui/FoncUtils.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

TMyCustomImage::TMyCustomImage(QWidget* Parent) : QAbstractScrollArea(Parent) {
  setFrameShape(QFrame::NoFrame);
  setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  FImgZ.SetPosition(poManual);
  FImgZ.AdjustDraw = true;
  FImgZ.SetBitmap(&FBitmap);
}

TMyCustomImage::~TMyCustomImage() = default;

// ---- Properties ------------------------------------------------------------------------

void TMyCustomImage::InvalidateView() {
  FNeedPaint = true;
  viewport()->update();
}

void TMyCustomImage::UpdatePending() {
  if (FLockCount > 0) return;
  if (FNeedPaint || FBack.Width() != viewport()->width() || FBack.Height() != viewport()->height()) PaintAll();
}

void TMyCustomImage::ShowClientRect(const TRect& R) {
  const TRect C = IntersectRect(R, ClientRect());
  if (!C.IsEmpty()) viewport()->update(QRect(C.Left, C.Top, C.Width(), C.Height()));
}

TPoint TMyCustomImage::MousePos() const {
  const QPoint P = viewport()->mapFromGlobal(QCursor::pos());
  return {P.x(), P.y()};
}

void TMyCustomImage::SetZoom(double Value) {
  FImgZ.SetBitmap(DisplayBitmap());
  FImgZ.SetZoom(ValidZoom(Value));
  FImgZ.Update();
  UpdateScrollRange();
  RefreshCursor();
  InvalidateView();
}

void TMyCustomImage::SetMarge(int Value) {
  if (Value == FMarge) return;
  FMarge = Value;
  UpdateScrollRange();
  RefreshCursor();
  InvalidateView();
}

void TMyCustomImage::SetOptimizeMode(TOptimizeMode Value) {
  if (Value == FOptimizeMode) return;
  FOptimizeMode = Value;
  InvalidateView();
}

void TMyCustomImage::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  InvalidateView();
}

void TMyCustomImage::SetShadowSize(int Value) {
  Value = ValidShadowSize(Value);
  if (Value == FShadowSize) return;
  FShadowSize = Value;
  InvalidateView();
}

void TMyCustomImage::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  InvalidateView();
}

// ---- Cursor ------------------------------------------------------------------------------

void TMyCustomImage::SetImgCursor(int Value) {
  if (Value == FImgCursor) return;
  FImgCursor = Value;
  RefreshCursor();
}

void TMyCustomImage::SetDefaultCursor(int Value) {
  if (Value == FDefaultCursor) return;
  FDefaultCursor = Value;
  RefreshCursor();
}

void TMyCustomImage::RefreshCursor() {
  const TPoint P = MousePos();
  if (isVisible() && PtInRect(ClientRect(), P)) UpdateCursor(P.X, P.Y);
}

void TMyCustomImage::UpdateCursor(int X, int Y) {
  viewport()->setCursor(ScreenCursor(PtInRect(ImgRect(), {X, Y}) ? FImgCursor : FDefaultCursor));
}

// ---- Geometry ------------------------------------------------------------------------------

TRect TMyCustomImage::ClientRect() const { return {0, 0, viewport()->width(), viewport()->height()}; }

void TMyCustomImage::UpdateImagePos() {
  const int X = ImagePos(FMarge, horizontalScrollBar()->value(), Centered, horizontalScrollBar()->maximum() > 0,
                         viewport()->width(), FImgZ.Width());
  const int Y = ImagePos(FMarge, verticalScrollBar()->value(), Centered, verticalScrollBar()->maximum() > 0,
                         viewport()->height(), FImgZ.Height());
  FImgZ.SetX(X);
  FImgZ.SetY(Y);
}

TRect TMyCustomImage::ImgRect() const {
  const_cast<TMyCustomImage*>(this)->UpdateImagePos();
  return FImgZ.ImageRect();
}

TRect TMyCustomImage::ImgVisibleRect() const { return IntersectRect(ImgRect(), ClientRect()); }

TViewGeometry TMyCustomImage::Geometry() const {
  const TBitmap* B = DisplayBitmap();
  TViewGeometry G;
  G.W = B ? B->Width() : 0;
  G.H = B ? B->Height() : 0;
  G.Zoom = FImgZ.Zoom();
  G.ImgRect = ImgRect();
  return G;
}

void TMyCustomImage::AlignRectToGrid(TRect& R) const {
  const TViewGeometry G = Geometry();
  TRect B = G.ClientToBmp(R);
  if (GridAlign) {
    const double S = CalcGridWidth();
    B = {SnapToGrid(B.Left, S), SnapToGrid(B.Top, S), SnapToGrid(B.Right, S), SnapToGrid(B.Bottom, S)};
  }
  R = G.BmpToClient(B);
}

// ---- Layout and scrolling --------------------------------------------------------------------

void TMyCustomImage::BitmapChanged() {
  const TBitmap* B = DisplayBitmap();
  const int W = B ? B->Width() : 0, H = B ? B->Height() : 0;
  if (W == FOldW && H == FOldH) return;
  FOldW = W;
  FOldH = H;
  FImgZ.SetBitmap(B);
  FImgZ.Update();
  UpdateScrollRange();
  RefreshCursor();
}

void TMyCustomImage::UpdateScrollRange() {
  // The pages come from the whole area less the bars that the extents make
  // appear, not from the viewport of the moment, which still has the bars of
  // the previous layout.
  const int EW = ScrollExtent(FImgZ.Width(), FMarge), EH = ScrollExtent(FImgZ.Height(), FMarge);
  const QRect C = contentsRect();
  const int Bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  int AW = C.width(), AH = C.height();
  bool HasH = EW > AW;
  if (HasH) AH -= Bar;
  if (EH > AH) {
    AW -= Bar;
    if (!HasH && EW > AW) AH -= Bar;
  }
  FSettingRange = true;
  horizontalScrollBar()->setRange(0, ScrollMaximum(EW, AW));
  horizontalScrollBar()->setPageStep(std::max(1, AW));
  verticalScrollBar()->setRange(0, ScrollMaximum(EH, AH));
  verticalScrollBar()->setPageStep(std::max(1, AH));
  FSettingRange = false;
  ScrollChanged(false);
}

void TMyCustomImage::ScrollChanged(bool Notify) {
  const int DX = horizontalScrollBar()->value() - FOldPosH;
  const int DY = verticalScrollBar()->value() - FOldPosV;
  FOldPosH += DX;
  FOldPosV += DY;
  if (Notify && (DX != 0 || DY != 0)) Scrolled(DX, DY);
}

void TMyCustomImage::Scrolled(int, int) {}

void TMyCustomImage::scrollContentsBy(int, int) {
  if (FSettingRange) {
    InvalidateView();
    return;
  }
  if (OnScroll) OnScroll(this, isStart);
  ScrollChanged(true);
  InvalidateView();
  // The image moved under a still mouse (a scroll bar or the wheel).
  RefreshCursor();
  if (OnScroll) OnScroll(this, isEnd);
}

void TMyCustomImage::ScrollBy(int DX, int DY) {
  if (DX == 0 && DY == 0) return;
  if (OnScroll) OnScroll(this, isStart);
  FSettingRange = true;
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + DX);
  ScrollChanged(true);
  verticalScrollBar()->setValue(verticalScrollBar()->value() + DY);
  ScrollChanged(true);
  FSettingRange = false;
  InvalidateView();
  if (OnScroll) OnScroll(this, isEnd);
}

void TMyCustomImage::CenterRect(const TRect& R) {
  const TRect C = ClientRect();
  const int DX = (C.Width() - R.Width()) / 2 - R.Left;
  const int DY = (C.Height() - R.Height()) / 2 - R.Top;
  FSettingRange = true;
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() - DX);
  verticalScrollBar()->setValue(verticalScrollBar()->value() - DY);
  FSettingRange = false;
  ScrollChanged(false);
  InvalidateView();
}

void TMyCustomImage::AutoZoom(int MaxWidth, int MaxHeight) {
  FImgZ.SetBitmap(DisplayBitmap());
  FImgZ.SetWidth(MaxWidth - 2 * FMarge);
  if (FImgZ.Height() > MaxHeight - 2 * FMarge) FImgZ.SetHeight(MaxHeight - 2 * FMarge);
  UpdateScrollRange();
  RefreshCursor();
  InvalidateView();
}

void TMyCustomImage::AutoZoom() {
  FSettingRange = true;
  horizontalScrollBar()->setRange(0, 0);
  verticalScrollBar()->setRange(0, 0);
  FSettingRange = false;
  AutoZoom(viewport()->width(), viewport()->height());
}

void TMyCustomImage::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  UpdateScrollRange();
  InvalidateView();
}

// ---- Painting ------------------------------------------------------------------------------------

void TMyCustomImage::LockPaint(bool Lock) { FLockCount += Lock ? 1 : -1; }

void TMyCustomImage::EnsureBackBuffer() {
  const int W = std::max(1, viewport()->width()), H = std::max(1, viewport()->height());
  if (FBack.Width() != W || FBack.Height() != H) {
    NewBitmap24(FBack, W, H, ColorToRGB(FColor));
    FNeedPaint = true;
  }
}

void TMyCustomImage::PaintAll() {
  if (FLockCount > 0 || !CanPaintWindow()) return;
  RenderAll();
  viewport()->update();
}

void TMyCustomImage::RenderAll() {
  BitmapChanged();
  EnsureBackBuffer();
  FNeedPaint = false;
  ResizePaintBuffer();
  TCanvas& C = BackCanvas();
  C.ResetClip();
  const TBitmap* B = DisplayBitmap();
  if (!B || B->Empty()) {
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = ColorToRGB(FColor);
    C.FillRect(ClientRect());
    FLastPaintedRect = ClientRect();
  } else {
    FImgZ.Optimized = FOptimizeMode == omAllways || (FOptimizeMode == omReduction && Zoom() < 1.0);
    UpdateImagePos();
    PaintImage(true);
  }
  C.ResetClip();
  DoPaint();
}

void TMyCustomImage::DoPaint() {
  if (!OnPaint) return;
  TCanvas& C = BackCanvas();
  C.SetClipRect(FLastPaintedRect);
  OnPaint(this, C);
  C.ResetClip();
}

void TMyCustomImage::PaintImage(bool Full) {
  DoDraw(dsStart);
  DrawImage(Full);
  FLastPaintedRect = BackCanvas().ClipRect();
  PaintOverImage(Full);
  DoDraw(dsEnd);
}

bool TMyCustomImage::FullPaintPending() const {
  return FNeedPaint || FBack.Width() != viewport()->width() || FBack.Height() != viewport()->height();
}

void TMyCustomImage::RepaintRect(TRect R) {
  if (FLockCount > 0) return;
  if (FullPaintPending()) {
    PaintAll();
    return;
  }
  R = IntersectRect(R, ImgVisibleRect());
  if (R.IsEmpty()) return;
  TCanvas& C = BackCanvas();
  C.SetClipRect(R);
  PaintImage(false);
  C.ResetClip();
  viewport()->update(QRect(R.Left, R.Top, R.Width(), R.Height()));
}

void TMyCustomImage::RepaintBmpRect(TRect R) { RepaintRect(BmpToClient(CheckErrorConversion(R))); }

void TMyCustomImage::DrawImage(bool Full) {
  TCanvas& C = BackCanvas();
  const TRect Clip = C.ClipRect();
  if (Full) DrawFrame(C);
  const TBitmap* B = DisplayBitmap();
  if (B->Transparent) DrawTransparency(C);
  DrawZoomedBitmap(B, &C, ClientRect(), FImgZ.X(), FImgZ.Y(), Zoom(), false, FImgZ.Optimized, FImgZ.AdjustDraw, false);
  C.SetClipRect(Clip);
  if (ShowGrid) DrawGrid(C, 0, 0);
}

void TMyCustomImage::DrawFrame(TCanvas& Canvas) {
  TRect R = ImgRect();
  if (FBorderColor != clNone) {
    R = {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Pen = TPen{ColorToRGB(FBorderColor), 1, TPenStyle::psSolid, TPenMode::pmCopy};
    Canvas.Rectangle(R);
  }
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = ColorToRGB(FColor);
  if (FShadowSize > 0 && R.Width() > 7 && R.Height() > 7) {
    DrawShadow(Canvas, R, FShadowSize, 60, ColorToRGB(FColor), true, true);
    R.Right += FShadowSize;
    R.Bottom += FShadowSize;
  }
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = ColorToRGB(FColor);
  const TRect C = ClientRect();
  if (R.Top > C.Top) Canvas.FillRect({C.Left, C.Top, C.Right, R.Top});
  if (R.Bottom < C.Bottom) Canvas.FillRect({C.Left, R.Bottom, C.Right, C.Bottom});
  if (R.Left > C.Left) Canvas.FillRect({C.Left, R.Top, R.Left, R.Bottom});
  if (R.Right < C.Right) Canvas.FillRect({R.Right, R.Top, C.Right, R.Bottom});
}

const TBitmap& TMyCustomImage::CheckerTile(int N) {
  if (FCheckerN != N || FChecker.Empty()) {
    CreateCheckerBitmap(N, FChecker);
    FCheckerN = N;
  }
  return FChecker;
}

void TMyCustomImage::DrawTransparency(TCanvas& Canvas) {
  const TBitmap& Tile = CheckerTile(FTransparentBrushSize);
  const TRect R = IntersectRect(ImgVisibleRect(), Canvas.ClipRect());
  if (!R.IsEmpty()) TileBitmap24(Tile, *Canvas.Bitmap(), FImgZ.X(), FImgZ.Y(), R);
}

void TMyCustomImage::DrawGrid(TCanvas& Canvas, int DX, int DY) {
  const double G = CalcGridWidth();
  const TGridLines L = CalcGridLines(Geometry(), G, OffsetRect(Canvas.ClipRect(), -DX, -DY));
  if (L.X.empty() && L.Y.empty()) return;
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Pen = TPen{ColorToRGB(GridColor), 1, GridStyle, TPenMode::pmCopy};
  for (int X : L.X) {
    Canvas.MoveTo(X + DX, L.Top + DY);
    Canvas.LineTo(X + DX, L.Bottom + DY);
  }
  for (int Y : L.Y) {
    Canvas.MoveTo(L.Left + DX, Y + DY);
    Canvas.LineTo(L.Right + DX, Y + DY);
  }
}

bool TMyCustomImage::viewportEvent(QEvent* Event) {
  if (Event->type() == QEvent::Resize) InvalidateView();
  return QAbstractScrollArea::viewportEvent(Event);
}

void TMyCustomImage::paintEvent(QPaintEvent* Event) {
  if (FLockCount > 0) return;
  if (CanPaintWindow() &&
      (FNeedPaint || FBack.Width() != viewport()->width() || FBack.Height() != viewport()->height()))
    RenderAll();
  QPainter P(viewport());
  const QImage Img = FBack.QImageView();
  P.drawImage(Event->rect().topLeft(), Img, Event->rect());
}

void TMyCustomImage::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TMyCustomImage::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  UpdateCursor(X, Y);
  if (OnMouseMove) OnMouseMove(this, Buttons, Shift, X, Y);
}

void TMyCustomImage::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TMyCustomImage::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TMyCustomImage::KeyDown(int, Qt::KeyboardModifiers) { return false; }
bool TMyCustomImage::KeyUp(int, Qt::KeyboardModifiers) { return false; }

namespace {

QPoint EventPos(const QMouseEvent* Event) { return Event->position().toPoint(); }

} // namespace

void TMyCustomImage::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  MouseMove(Event->buttons(), Event->modifiers(), P.x(), P.y());
  Event->accept();
}

void TMyCustomImage::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  MouseDown(Event->button(), Event->modifiers(), P.x(), P.y(), false);
  Event->accept();
}

void TMyCustomImage::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  MouseUp(Event->button(), Event->modifiers(), P.x(), P.y());
  Event->accept();
}

void TMyCustomImage::mouseDoubleClickEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  MouseDown(Event->button(), Event->modifiers(), P.x(), P.y(), true);
  DblClick();
  Event->accept();
}

// The scroll area's own arrow and page keys are not used: the view scrolls
// only as its KeyDown says; unused keys go on to the parent.
void TMyCustomImage::keyPressEvent(QKeyEvent* Event) { Event->setAccepted(KeyDown(Event->key(), Event->modifiers())); }

void TMyCustomImage::keyReleaseEvent(QKeyEvent* Event) { Event->setAccepted(KeyUp(Event->key(), Event->modifiers())); }
