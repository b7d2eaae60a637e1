#include "ui/ThemedCustomControl.h"

#include "ui/DrawUtils.h"
#include "ui/VisualStyles.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

TThemedCustomControl::TThemedCustomControl(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_Hover);
  UpdateFrame();
}

void TThemedCustomControl::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  UpdateFrame();
}

void TThemedCustomControl::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  UpdateFrame();
}

int TThemedCustomControl::FrameWidth() const {
  if (FBorderStyle != TBorderStyle::bsSingle) return 0;
  return FCtl3D ? 2 : 1;
}

TRect TThemedCustomControl::ClientRect() const {
  const int F = FrameWidth();
  return Rect(F, F, std::max(F, width() - F), std::max(F, height() - F));
}

void TThemedCustomControl::UpdateFrame() {
  const int F = FrameWidth();
  setContentsMargins(F, F, F, F);
  update();
}

void TThemedCustomControl::RedrawBorder() { update(); }

void TThemedCustomControl::Paint(QPainter& Canvas) {
  FillRectColor(Canvas, FromQColor(palette().color(QPalette::Base)), ClientRect());
}

void TThemedCustomControl::PaintBorder(QPainter& Canvas, bool Hot) {
  const TVisualStyle& Style = ActiveStyle();
  const TColor Line = !isEnabled() ? Style.EditBorderDisabled : Hot ? Style.EditBorderHot : Style.EditBorderNormal;
  const TColor Field = isEnabled() ? Style.EditField : Style.EditFieldDisabled;
  const TRect Whole = Rect(0, 0, width(), height());
  const int F = FrameWidth();
  // The element is a one-pixel line around the field; only the frame shows.
  Canvas.setBrush(ToQColor(Line));
  FillFrameRect(Canvas, Whole, 1);
  if (F > 1) {
    Canvas.setBrush(ToQColor(Field));
    FillFrameRect(Canvas, Rect(1, 1, width() - 1, height() - 1), F - 1);
  }
}

void TThemedCustomControl::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  const TRect Client = ClientRect();
  Canvas.save();
  Canvas.setClipRect(QRect(Client.Left, Client.Top, Client.Width(), Client.Height()));
  Paint(Canvas);
  Canvas.restore();
  if (FBorderStyle != TBorderStyle::bsSingle) return;
  if (IsStyleEnabled()) {
    PaintBorder(Canvas, FMouseInControl);
  } else if (FCtl3D) {
    // The platform's sunken client edge.
    Frame3D(Canvas, Rect(0, 0, width(), height()), clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, Rect(1, 1, width() - 1, height() - 1), cl3DDkShadow, cl3DLight, 1);
  } else {
    Canvas.setBrush(ToQColor(clWindowFrame));
    FillFrameRect(Canvas, Rect(0, 0, width(), height()), 1);
  }
}

void TThemedCustomControl::enterEvent(QEnterEvent* Event) {
  QWidget::enterEvent(Event);
  FMouseInControl = true;
  RedrawBorder();
}

void TThemedCustomControl::leaveEvent(QEvent* Event) {
  QWidget::leaveEvent(Event);
  FMouseInControl = false;
  RedrawBorder();
}

void TThemedCustomControl::changeEvent(QEvent* Event) {
  QWidget::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) RedrawBorder();
}
