#include "ui/GlyphButtons.h"

#include "ui/CompUtils.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

namespace {

// A pipette lying from the lower left to the upper right: a bulb at the top
// right, a collar, and a thin glass tube ending in a drop.
QPixmap PipetteGlyph(int Side, const QColor& Ink) {
  QPixmap P(Side, Side);
  P.fill(Qt::transparent);
  QPainter C(&P);
  C.setRenderHint(QPainter::Antialiasing);
  C.scale(Side / 16.0, Side / 16.0);
  C.setPen(QPen(Ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  // The tube.
  C.setBrush(Qt::white);
  QPainterPath Tube;
  Tube.moveTo(2.5, 13.5);
  Tube.lineTo(9.0, 7.0);
  Tube.lineTo(9.0 + 1.6, 7.0 + 1.6);
  Tube.lineTo(4.1, 15.1);
  Tube.closeSubpath();
  C.drawPath(Tube);
  // The collar and the bulb.
  C.setBrush(Ink);
  C.save();
  C.translate(10.0, 6.0);
  C.rotate(45);
  C.drawRect(QRectF(-3.0, -0.8, 6.0, 1.6));
  C.restore();
  C.drawEllipse(QPointF(12.2, 3.8), 2.6, 2.6);
  // The drop at the tip.
  C.setPen(Qt::NoPen);
  C.drawEllipse(QPointF(1.8, 14.2), 1.0, 1.0);
  return P;
}

} // namespace

int GlyphButtonSize() {
  static const int Size = [] {
    QWidget Probe;
    Probe.setFont(QApplication::font());
    return ControlEditHeight(&Probe);
  }();
  return Size;
}

void SetupColorButton(QToolButton* Button, const QWidget* Control) {
  const int Side = GlyphButtonSize();
  const int GlyphSide = std::max(16, Side - 6);
  const QPalette& Pal = Button->palette();
  QIcon Icon;
  Icon.addPixmap(PipetteGlyph(GlyphSide, Pal.color(QPalette::Active, QPalette::ButtonText)), QIcon::Normal);
  Icon.addPixmap(PipetteGlyph(GlyphSide, Pal.color(QPalette::Disabled, QPalette::ButtonText)), QIcon::Disabled);
  Button->setIcon(Icon);
  Button->setIconSize({GlyphSide, GlyphSide});
  Button->setAutoRaise(true);
  Button->resize(Side, Side);
  if (!Control) return;
  Button->setGeometry(Control->x() + Control->width() + 1, Control->y(), Side, std::max(Side, Control->height()));
}
