#include "ui/SimpleScrollBox.h"

#include <QPainter>
#include <QScrollBar>

TSimpleScrollBox::TSimpleScrollBox(QWidget* Parent) : QAbstractScrollArea(Parent) {
  setFrameShape(QFrame::NoFrame);
  // The box's colour first, so an area the owner leaves unpainted is not garbage.
  viewport()->setAutoFillBackground(true);
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
}

void TSimpleScrollBox::Paint() {
  if (OnPaint) OnPaint(this);
}

void TSimpleScrollBox::paintEvent(QPaintEvent*) {
  QPainter Painter(viewport());
  FCanvas = &Painter;
  // The canvas is released even when the handler throws.
  struct TRelease {
    QPainter*& Canvas;
    ~TRelease() { Canvas = nullptr; }
  } Release{FCanvas};
  Paint();
}

void TSimpleScrollBox::scrollContentsBy(int DX, int DY) {
  for (QObject* Child : viewport()->children())
    if (auto* W = qobject_cast<QWidget*>(Child)) W->move(W->pos() + QPoint(DX, DY));
  const QScrollBar* Bar = DX != 0 ? horizontalScrollBar() : verticalScrollBar();
  // A tracking bar is dragged right now: follow at once; otherwise paint with the next cycle.
  if (Bar->hasTracking() && Bar->isSliderDown())
    viewport()->repaint();
  else
    viewport()->update();
}
