#include "tools/ui/PaletteWidgets.h"

#include "ui/DrawUtils.h"

#include <QMouseEvent>
#include <QPainter>

TColorSwatch::TColorSwatch(QWidget* Parent) : QWidget(Parent) { setFocusPolicy(Qt::StrongFocus); }

void TColorSwatch::SetColor(TColor Value) {
  FColor = Value;
  update();
}

void TColorSwatch::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.fillRect(rect(), ToQColor(FColor));
  P.setPen(palette().color(QPalette::Dark));
  P.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && OnClick) OnClick();
}

TStripImage::TStripImage(QWidget* Parent) : QWidget(Parent) { setCursor(Qt::CrossCursor); }

void TStripImage::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.drawImage(0, 0, Picture.QImageView());
}

void TStripImage::mousePressEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  if ((Event->button() == Qt::LeftButton || Event->button() == Qt::RightButton) && OnPick)
    OnPick(At.x(), At.y(), Event->button() == Qt::RightButton);
}

void TStripImage::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  if (!rect().contains(At) || !(Event->buttons() & (Qt::LeftButton | Qt::RightButton)) || !OnPick) return;
  OnPick(At.x(), At.y(), Event->buttons() & Qt::RightButton);
}
