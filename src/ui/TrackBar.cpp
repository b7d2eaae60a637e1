#include "ui/TrackBar.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

TTrackBar::TTrackBar(QWidget* Parent) : QSlider(Qt::Horizontal, Parent) {
  setRange(0, 10);
  setTickInterval(1);
  setPageStep(2);
  connect(this, &QSlider::valueChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
}

void TTrackBar::SetOrientation(Qt::Orientation Value) {
  setOrientation(Value);
  setInvertedAppearance(Value == Qt::Vertical);
}

bool TTrackBar::OnHandle(const QPoint& P) {
  QStyleOptionSlider Option;
  initStyleOption(&Option);
  return style()->hitTestComplexControl(QStyle::CC_Slider, &Option, P, this) == QStyle::SC_SliderHandle;
}

void TTrackBar::Press(QMouseEvent* Event, bool Double) {
  const QPoint P = Event->position().toPoint();
  auto Notify = [&] {
    if (OnMouseDown) OnMouseDown(this, Event->button(), Event->modifiers(), Double, P.x(), P.y());
  };
  if (!FJumpToClick || Event->button() != Qt::LeftButton || OnHandle(P)) {
    QSlider::mousePressEvent(Event); // the bar's own handling first: drag, or page towards the pointer
    Notify();
    return;
  }
  // No paging: the handler places the thumb, and a thumb now under the
  // pointer is dragged from there.
  Notify();
  if (OnHandle(P))
    QSlider::mousePressEvent(Event);
  else
    Event->accept();
}

void TTrackBar::mousePressEvent(QMouseEvent* Event) { Press(Event, false); }

void TTrackBar::mouseDoubleClickEvent(QMouseEvent* Event) { Press(Event, true); }

void TTrackBar::mouseReleaseEvent(QMouseEvent* Event) {
  QSlider::mouseReleaseEvent(Event);
  if (OnMouseUp)
    OnMouseUp(this, Event->button(), Event->modifiers(), Event->position().toPoint().x(),
              Event->position().toPoint().y());
}

void TTrackBar::keyReleaseEvent(QKeyEvent* Event) {
  QSlider::keyReleaseEvent(Event);
  if (OnKeyUp) OnKeyUp(this, Event->key(), Event->modifiers());
}
