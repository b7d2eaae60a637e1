#include "tools/ui/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <functional>

namespace {

// A transparent Side x Side picture drawn on a 24 x 24 grid.
QIcon Draw(int Side, const std::function<void(QPainter&)>& Paint) {
  QPixmap Pixmap(Side, Side);
  Pixmap.fill(Qt::transparent);
  QPainter P(&Pixmap);
  P.setRenderHint(QPainter::Antialiasing);
  P.scale(Side / 24.0, Side / 24.0);
  P.setPen(QPen(QColor(40, 40, 40), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  Paint(P);
  return QIcon(Pixmap);
}

void PaintTool(QPainter& P, int Id) {
  const QColor Accent(30, 110, 200);
  switch (Id) {
  case 0: // selection: a dashed rectangle
    P.setPen(QPen(QColor(40, 40, 40), 1.4, Qt::DashLine));
    P.drawRect(QRectF(4, 5, 16, 14));
    break;
  case 1: // pipette
    P.drawLine(QPointF(5, 19), QPointF(15, 9));
    P.setBrush(Accent);
    P.drawEllipse(QPointF(17, 7), 3, 3);
    break;
  case 2: // magic wand with a spark
    P.drawLine(QPointF(4, 20), QPointF(14, 10));
    P.setPen(QPen(Accent, 1.6));
    P.drawLine(QPointF(17, 3), QPointF(17, 11));
    P.drawLine(QPointF(13, 7), QPointF(21, 7));
    break;
  case 3: // line
    P.drawLine(QPointF(4, 20), QPointF(20, 4));
    break;
  case 4: { // fill: a tipped bucket and a drop
    P.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(13, 4), QPointF(19, 12), QPointF(11, 18)}));
    P.setBrush(Accent);
    P.drawEllipse(QPointF(19, 18), 2.5, 3);
    break;
  }
  case 5: // airbrush: a cloud of dots
    P.setBrush(QColor(40, 40, 40));
    for (int K = 0; K < 9; ++K) P.drawEllipse(QPointF(6 + (K * 7) % 13, 6 + (K * 5) % 13), 0.9, 0.9);
    break;
  case 6:
  case 7: // brushes: a stroke with a round tip
    P.setPen(QPen(QColor(40, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(6, 18), QPointF(17, 7));
    if (Id == 7) {
      P.setPen(QPen(Accent, 2));
      P.drawRect(QRectF(15, 15, 5, 5));
    }
    break;
  case 8: { // drop
    QPainterPath Drop(QPointF(12, 3));
    Drop.cubicTo(QPointF(20, 13), QPointF(17, 21), QPointF(12, 21));
    Drop.cubicTo(QPointF(7, 21), QPointF(4, 13), QPointF(12, 3));
    P.setBrush(Accent);
    P.drawPath(Drop);
    break;
  }
  case 9: // finger
    P.drawRoundedRect(QRectF(9, 3, 6, 18), 3, 3);
    break;
  case 10: // clone stamp
    P.drawRect(QRectF(5, 15, 14, 4));
    P.drawLine(QPointF(12, 15), QPointF(12, 8));
    P.drawEllipse(QPointF(12, 6), 3, 3);
    break;
  case 11: // hand scroll: arrows to four sides
    P.drawLine(QPointF(12, 3), QPointF(12, 21));
    P.drawLine(QPointF(3, 12), QPointF(21, 12));
    P.drawPolyline(QPolygonF({QPointF(9, 6), QPointF(12, 3), QPointF(15, 6)}));
    P.drawPolyline(QPolygonF({QPointF(9, 18), QPointF(12, 21), QPointF(15, 18)}));
    break;
  case 12: // eraser
    P.setBrush(QColor(240, 160, 170));
    P.drawPolygon(QPolygonF({QPointF(4, 14), QPointF(12, 6), QPointF(19, 13), QPointF(11, 21)}));
    break;
  case 13: // layers: two sheets
    P.setBrush(Qt::white);
    P.drawPolygon(QPolygonF({QPointF(12, 9), QPointF(21, 13), QPointF(12, 17), QPointF(3, 13)}));
    P.setBrush(Accent);
    P.drawPolygon(QPolygonF({QPointF(12, 4), QPointF(21, 8), QPointF(12, 12), QPointF(3, 8)}));
    break;
  case 14: // retouch: an eye
    P.drawEllipse(QRectF(3, 7, 18, 10));
    P.setBrush(QColor(200, 40, 40));
    P.drawEllipse(QPointF(12, 12), 3, 3);
    break;
  case 15: // deform: a spiral
    P.drawArc(QRectF(4, 4, 16, 16), 0, 270 * 16);
    P.drawArc(QRectF(8, 8, 8, 8), 90 * 16, 270 * 16);
    break;
  case 16: // art brush: a palette with paints
    P.drawEllipse(QRectF(3, 5, 18, 14));
    for (int K = 0; K < 3; ++K) {
      P.setBrush(QColor::fromHsv(K * 120, 200, 230));
      P.drawEllipse(QPointF(8 + 4 * K, 10 + (K % 2) * 3), 1.8, 1.8);
    }
    break;
  default: // nozzle: three coloured bubbles
    for (int K = 0; K < 3; ++K) {
      P.setBrush(QColor::fromHsv(K * 100 + 20, 200, 230));
      P.drawEllipse(QPointF(7 + 5 * K, 16 - 5 * (K % 2)), 3.5, 3.5);
    }
    break;
  }
}

// A framed ratio of W x H units, centred, with its label underneath.
void PaintRatio(QPainter& P, double W, double H) {
  const double Unit = 16.0 / std::max(W, H);
  P.drawRect(QRectF(12 - W * Unit / 2, 10 - H * Unit / 2, W * Unit, H * Unit));
}

void PaintSelection(QPainter& P, int Index) {
  const QColor Accent(30, 110, 200);
  switch (Index) {
  case 0:
    P.drawRect(QRectF(4, 6, 16, 12));
    break;
  case 1:
    P.drawEllipse(QRectF(3, 6, 18, 12));
    break;
  case 2:
    P.drawRoundedRect(QRectF(4, 6, 16, 12), 4, 4);
    break;
  case 3:
    P.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(21, 12), QPointF(12, 21), QPointF(3, 12)}));
    break;
  case 4:
    P.drawPolygon(QPolygonF({QPointF(12, 4), QPointF(21, 20), QPointF(3, 20)}));
    break;
  case 5:
    P.drawPolygon(QPolygonF({QPointF(4, 4), QPointF(20, 20), QPointF(4, 20)}));
    break;
  case 6: { // lasso: a free loop with its tail
    QPainterPath Loop;
    Loop.moveTo(8, 20);
    Loop.cubicTo(2, 14, 4, 4, 13, 4);
    Loop.cubicTo(22, 4, 22, 14, 13, 15);
    Loop.cubicTo(9, 15, 8, 12, 10, 10);
    P.drawPath(Loop);
    break;
  }
  case 7:
    P.drawPolyline(QPolygonF({QPointF(4, 18), QPointF(6, 5), QPointF(14, 9), QPointF(20, 4), QPointF(19, 19),
                              QPointF(4, 18)}));
    break;
  case 8: // an open folder
    P.drawPolyline(QPolygonF({QPointF(3, 19), QPointF(3, 6), QPointF(9, 6), QPointF(11, 8), QPointF(18, 8),
                              QPointF(18, 11)}));
    P.setBrush(QColor(240, 200, 90));
    P.drawPolygon(QPolygonF({QPointF(3, 19), QPointF(7, 11), QPointF(21, 11), QPointF(17, 19)}));
    break;
  case 9:
    PaintRatio(P, 1, 1);
    break;
  case 10:
    PaintRatio(P, 4, 3);
    break;
  case 11:
    PaintRatio(P, 3, 2);
    break;
  case 12: // invert: the inside and the outside swap their fill
    P.fillRect(QRectF(3, 4, 18, 16), Accent);
    P.setBrush(Qt::white);
    P.drawRect(QRectF(7, 8, 10, 8));
    break;
  case 13: // centre: a frame with cross-hairs through its middle
    P.drawRect(QRectF(4, 5, 16, 14));
    P.setPen(QPen(Accent, 1.6));
    P.drawLine(QPointF(12, 8), QPointF(12, 16));
    P.drawLine(QPointF(8, 12), QPointF(16, 12));
    break;
  case 14: { // manual parameters: a frame and a pencil
    P.setPen(QPen(QColor(40, 40, 40), 1.4, Qt::DashLine));
    P.drawRect(QRectF(3, 4, 13, 11));
    P.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(11, 20), QPointF(20, 11));
    break;
  }
  default:
    break;
  }
}

} // namespace

QIcon ToolGlyph(int Id, int Side) {
  return Draw(Side, [Id](QPainter& P) { PaintTool(P, Id); });
}

QIcon SwapGlyph(int Side) {
  return Draw(Side, [](QPainter& P) {
    P.drawArc(QRectF(4, 4, 16, 16), 0, 90 * 16);
    P.drawPolyline(QPolygonF({QPointF(9, 2), QPointF(12, 4), QPointF(9, 7)}));
    P.drawPolyline(QPolygonF({QPointF(17, 9), QPointF(20, 12), QPointF(23, 9)}));
  });
}

QIcon BlackWhiteGlyph(int Side) {
  return Draw(Side, [](QPainter& P) {
    P.setBrush(Qt::white);
    P.drawRect(QRectF(9, 9, 12, 12));
    P.setBrush(Qt::black);
    P.drawRect(QRectF(3, 3, 12, 12));
  });
}

QIcon SelectionGlyph(int Index, int Side) {
  return Draw(Side, [Index](QPainter& P) { PaintSelection(P, Index); });
}
