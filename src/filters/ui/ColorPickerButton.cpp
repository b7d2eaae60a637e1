#include "filters/ui/ColorPickerButton.h"

#include "filters/ui/FilterNForm.h"
#include "ui/ColorEdit.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

// A dropper drawn from the top right to the bottom left.
QIcon PickerGlyph() {
  QPixmap P(16, 16);
  P.fill(Qt::transparent);
  QPainter G(&P);
  G.setRenderHint(QPainter::Antialiasing);
  G.setPen(QPen(Qt::black, 2));
  G.drawLine(QPointF(3, 13), QPointF(10, 6));
  G.setBrush(Qt::black);
  G.drawEllipse(QPointF(12, 4), 2.5, 2.5);
  return QIcon(P);
}

} // namespace

QAbstractButton* NewColorPickerBtn(TFilterNForm& Form, TColorEdit* Edit, bool Down) {
  auto* B = new QToolButton(&Form);
  B->setIcon(PickerGlyph());
  B->setAutoRaise(true);
  B->setCheckable(true);
  B->setAutoExclusive(true);
  B->setChecked(Down);
  const int Side = std::max(Edit->height(), Form.Rescale(22));
  B->setGeometry(Edit->x() + Edit->width() + 1, Edit->y(), Side, Side);
  return B;
}
