#include "tools/ui/OverlayControl.h"

#include "raster/ui/FoncUtils.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

// ---- Hosts ----------------------------------------------------------------------------------

QWidget* TImageOverlayHost::Widget() const { return FImage->viewport(); }

int TImageOverlayHost::ImageWidth() const {
  const TBitmap* B = FImage->DisplayBitmap();
  return B ? B->Width() : 0;
}

int TImageOverlayHost::ImageHeight() const {
  const TBitmap* B = FImage->DisplayBitmap();
  return B ? B->Height() : 0;
}

// ---- The pen ---------------------------------------------------------------------------------

TOverlayPen::TOverlayPen(TCanvas& Canvas, TPoint Origin) : FCanvas(Canvas), FOrigin(Origin) {
  FCanvas.Pen = {OverlayXorColor, 1, TPenStyle::psSolid, TPenMode::pmXor};
  FCanvas.Brush.Style = TBrushStyle::bsClear;
}

void TOverlayPen::Handle(TPoint P) {
  const TPoint Q = At(P);
  FCanvas.Rectangle(Q.X - 3, Q.Y - 3, Q.X + 4, Q.Y + 4);
}

void TOverlayPen::Circle(TPoint P) {
  const TPoint Q = At(P);
  FCanvas.Ellipse(Q.X - 3, Q.Y - 3, Q.X + 4, Q.Y + 4);
}

void TOverlayPen::Line(TPoint A, TPoint B) {
  const TPoint QA = At(A), QB = At(B);
  FCanvas.MoveTo(QA.X, QA.Y);
  FCanvas.LineTo(QB.X, QB.Y);
}

void TOverlayPen::DottedLine(TPoint A, TPoint B) {
  // The canvas draws its dashed pens solid; the dots are set here, XORed as
  // the pen would.
  const TPoint QA = At(A), QB = At(B);
  const TRect Clip = FCanvas.ClipRect();
  bool On = true;
  LineDDA(QA.X, QA.Y, QB.X, QB.Y, [&](int X, int Y) {
    if (On && PtInRect(Clip, {X, Y})) FCanvas.SetPixels(X, Y, FCanvas.Pixels(X, Y) ^ OverlayXorColor);
    On = !On;
  });
}

void TOverlayPen::Bezier(TPoint P0, TPoint P1, TPoint P2, TPoint P3) {
  const TPoint Points[] = {At(P0), At(P1), At(P2), At(P3)};
  FCanvas.PolyBezier(Points);
}

// ---- The control ------------------------------------------------------------------------------

TOverlayControl::TOverlayControl(std::unique_ptr<TOverlayHost> Host)
    : QWidget(Host->Widget()), FHost(std::move(Host)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  hide();
  ReAlign();
}

TOverlayControl::~TOverlayControl() = default;

void TOverlayControl::ReAlign() {
  const TRect R = FHost->ImgRect();
  setGeometry(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
  RefreshCursor();
}

TPoint TOverlayControl::ClientToBmp(TPoint P) const { return FHost->HostToBmp({P.X + x(), P.Y + y()}); }

TPoint TOverlayControl::BmpToClient(TPoint P) const {
  const TPoint Q = FHost->BmpToHost(P);
  return {Q.X - x(), Q.Y - y()};
}

TRect TOverlayControl::ClientToBmp(const TRect& R) const {
  const TPoint A = ClientToBmp(TPoint{R.Left, R.Top}), B = ClientToBmp(TPoint{R.Right, R.Bottom});
  return {A.X, A.Y, B.X, B.Y};
}

TRect TOverlayControl::BmpToClient(const TRect& R) const {
  const TPoint A = BmpToClient(TPoint{R.Left, R.Top}), B = BmpToClient(TPoint{R.Right, R.Bottom});
  return {A.X, A.Y, B.X, B.Y};
}

TPoint TOverlayControl::MousePos() const {
  const QPoint P = mapFromGlobal(QCursor::pos());
  return {P.x(), P.y()};
}

void TOverlayControl::RefreshCursor() {
  if (!isVisible()) return;
  const TPoint P = MousePos();
  if (!rect().contains(P.X, P.Y)) return;
  setCursor(ScreenCursor(CursorAt(P.X, P.Y)));
}

void TOverlayControl::XorDrawing(const TRect& Area, TBitmap& B) const {
  B.SetPixelFormat(pf32bit);
  B.SetSize(std::max(0, Area.Width()), std::max(0, Area.Height()));
  for (int Y = 0; Y < B.Height(); ++Y) std::fill_n(B.ScanLine(Y), size_t(B.Width()) * 4, uint8_t(0));
  if (B.Empty()) return;
  TOverlayPen Pen(B.Canvas(), {Area.Left, Area.Top});
  DrawXor(Pen);
}

void TOverlayControl::paintEvent(QPaintEvent* Event) {
  // Only what is on the screen: the overlay of a zoomed image can be far
  // larger than its window.
  const QRect Q = Event->rect().intersected(visibleRegion().boundingRect());
  if (Q.isEmpty()) return;
  TBitmap B;
  XorDrawing({Q.left(), Q.top(), Q.right() + 1, Q.bottom() + 1}, B);
  // Read as opaque: the canvas leaves the alpha bytes at 0, which the
  // painter would otherwise take for nothing to draw.
  const QImage View = B.QImageView();
  const QImage Opaque(View.constBits(), View.width(), View.height(), View.bytesPerLine(), QImage::Format_RGB32);
  QPainter P(this);
  P.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  P.drawImage(Q.topLeft(), Opaque);
}

// ---- Mouse ----------------------------------------------------------------------------------------

void TOverlayControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TOverlayControl::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Buttons, Shift, X, Y);
}

void TOverlayControl::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TOverlayControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

namespace {

QPoint EventPos(const QMouseEvent* Event) { return Event->position().toPoint(); }

} // namespace

void TOverlayControl::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  FLastMouse = {P.x(), P.y()};
  MouseDown(Event->button(), Event->modifiers(), P.x(), P.y(), false);
  Event->accept();
}

void TOverlayControl::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  FLastMouse = {P.x(), P.y()};
  MouseMove(Event->buttons(), Event->modifiers(), P.x(), P.y());
  Event->accept();
}

void TOverlayControl::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  FLastMouse = {P.x(), P.y()};
  MouseUp(Event->button(), Event->modifiers(), P.x(), P.y());
  Event->accept();
}

void TOverlayControl::mouseDoubleClickEvent(QMouseEvent* Event) {
  const QPoint P = EventPos(Event);
  FLastMouse = {P.x(), P.y()};
  MouseDown(Event->button(), Event->modifiers(), P.x(), P.y(), true);
  DblClick();
  Event->accept();
}

void TOverlayControl::contextMenuEvent(QContextMenuEvent* Event) {
  if (PopupMenu) PopupMenu->popup(Event->globalPos());
  Event->accept();
}

void TOverlayControl::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  VisibleChanged();
  RefreshCursor();
}

void TOverlayControl::hideEvent(QHideEvent* Event) {
  QWidget::hideEvent(Event);
  VisibleChanged();
}
