#include "ui/DirectionEdit.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "raster/Polygon24.h"
#include "ui/ControlColor.h"
#include "ui/DlgColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

TDirectionEdit::TDirectionEdit(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  resize(54, 54);
}

void TDirectionEdit::SetDirection(int Value) {
  if (Value < 0 || Value >= FItemCount || Value == FDirection) return;
  FDirection = Value;
  if (OnChange) OnChange(this);
  update();
}

void TDirectionEdit::SetItemCount(int Value) {
  if (Value < 3 || Value > 33 || Value == FItemCount) return;
  FItemCount = Value;
  SetDirection(0);
  FSymmetry = false;
  update();
}

void TDirectionEdit::SetItemRadius(int Value) {
  if (Value < 3 || Value > 20 || Value == FItemRadius) return;
  FItemRadius = Value;
  update();
}

void TDirectionEdit::SetActiveColor(TColor Value) {
  if (Value == FActiveColor) return;
  FActiveColor = Value;
  update();
}

void TDirectionEdit::SetSymmetry(bool Value) {
  if (Value == FSymmetry || FItemCount % 4 != 0) return;
  FSymmetry = Value;
  update();
}

double TDirectionEdit::AngleDegree() const { return FDirection * 360.0 / FItemCount; }

double TDirectionEdit::AngleRadian() const { return FDirection * 2 * std::numbers::pi / FItemCount; }

TRect TDirectionEdit::ItemRect(int I) const {
  const int IR = FItemRadius;
  const int R = std::min((width() - 1) / 2 - IR, (height() - 1) / 2 - IR);
  const double C = R + IR;
  const double A = std::numbers::pi / 2 - I * 2 * std::numbers::pi / FItemCount;
  const int X = Round(C + std::cos(A) * R), Y = Round(C - std::sin(A) * R);
  return Rect(X - IR, Y - IR, X + IR + 1, Y + IR + 1);
}

int TDirectionEdit::ItemAt(int X, int Y) const {
  for (int I = 0; I < FItemCount; ++I)
    if (PtInRect(ItemRect(I), TPoint{X, Y})) return I;
  return -1;
}

bool TDirectionEdit::IsLit(int I) const {
  return I == FDirection || (FSymmetry && I == (FItemCount / 2 + FDirection) % FItemCount);
}

void TDirectionEdit::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  // The parent's background, then the discs, through one bitmap so nothing flickers.
  TBitmap Work(width(), height(), pf24bit, ColorToRGB(ControlColor(this)));
  const TRect Clip = Rect(0, 0, width(), height());
  for (int I = 0; I < FItemCount; ++I) {
    const TRect R = ItemRect(I);
    if (isEnabled()) {
      TPolygon24 Disc;
      Disc.Ellipse(R);
      Disc.Draw(Work, ColorToRGB(clDlgText), ColorToRGB(IsLit(I) ? FActiveColor : clDlgWindow));
    } else {
      DrawEllipseOutlineAA24(Work, R, ColorToRGB(clDlgBorder), Clip);
    }
  }
  QPainter Screen(this);
  Screen.drawImage(0, 0, Work.QImageView());
}

void TDirectionEdit::mousePressEvent(QMouseEvent* Event) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const QPoint P = Event->position().toPoint();
  if (const int I = ItemAt(P.x(), P.y()); I >= 0) SetDirection(I);
  QWidget::mousePressEvent(Event);
}

void TDirectionEdit::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
  case Qt::Key_Left:
  case Qt::Key_Up:
    SetDirection((FDirection + FItemCount - 1) % FItemCount);
    break;
  case Qt::Key_Right:
  case Qt::Key_Down:
    SetDirection((FDirection + 1) % FItemCount);
    break;
  default:
    QWidget::keyPressEvent(Event);
  }
}

void TDirectionEdit::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::PaletteChange) update();
  QWidget::changeEvent(Event);
}
