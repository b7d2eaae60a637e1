#include "app/ui/Cursors.h"

#include "raster/ui/FoncUtils.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

constexpr const char* Names[] = {"PIPETTE", "LASSO",  "LIGNE", "SCEAU", "EAU",     "AERO",   "TAMPON",
                                 "POLYGON", "MOV1",   "MOV2",  "MOV3",  "MAGIC",   "DOIGT",  "RETOUCH",
                                 "BRUSH",   "CROSS2", "MAIN",  "VIDE",  "MOVEADD", "MOVEDEL"};
static_assert(std::size(Names) == LastToolCursor - FirstToolCursor + 1);

bool IsToolCursor(int Number) { return Number >= FirstToolCursor && Number <= LastToolCursor; }

// Every line is drawn black over a white halo, so that the cursor shows on
// dark and light images alike.
void Stroke(QPainter& P, const QPainterPath& Path) {
  P.setBrush(Qt::NoBrush);
  P.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  P.drawPath(Path);
  P.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  P.drawPath(Path);
}

// A filled shape: black inside a white border.
void Fill(QPainter& P, const QPainterPath& Path) {
  P.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  P.setBrush(Qt::black);
  P.drawPath(Path);
}

QPainterPath Line(QPointF A, QPointF B) {
  QPainterPath Path(A);
  Path.lineTo(B);
  return Path;
}

QPainterPath Polygon(std::initializer_list<QPointF> Points, bool Closed) {
  QPainterPath Path;
  Path.addPolygon(QPolygonF(Points));
  if (Closed) Path.closeSubpath();
  return Path;
}

// The painting tools aim with a small cross whose centre is the hot spot;
// their picture stands below and to the right of it.
constexpr QPoint AimSpot{8, 8};

void Aim(QPainter& P) {
  QPainterPath Path;
  const double X = AimSpot.x() + 0.5, Y = AimSpot.y() + 0.5;
  Path.addPath(Line({X - 7, Y}, {X - 2, Y}));
  Path.addPath(Line({X + 2, Y}, {X + 7, Y}));
  Path.addPath(Line({X, Y - 7}, {X, Y - 2}));
  Path.addPath(Line({X, Y + 2}, {X, Y + 7}));
  Stroke(P, Path);
}

// The pointer of the move cursors, hot spot at (1, 1).
void Pointer(QPainter& P) { Fill(P, Polygon({{1, 1}, {1, 18}, {5, 14}, {8, 21}, {10, 20}, {7, 13}, {13, 13}}, true)); }

// Four arrow heads around Centre, Reach pixels out.
QPainterPath FourArrows(QPointF C, double Reach) {
  QPainterPath Path;
  Path.addPath(Line({C.x() - Reach, C.y()}, {C.x() + Reach, C.y()}));
  Path.addPath(Line({C.x(), C.y() - Reach}, {C.x(), C.y() + Reach}));
  const double H = 3;
  Path.addPath(
      Polygon({{C.x() - Reach + H, C.y() - H}, {C.x() - Reach, C.y()}, {C.x() - Reach + H, C.y() + H}}, false));
  Path.addPath(
      Polygon({{C.x() + Reach - H, C.y() - H}, {C.x() + Reach, C.y()}, {C.x() + Reach - H, C.y() + H}}, false));
  Path.addPath(
      Polygon({{C.x() - H, C.y() - Reach + H}, {C.x(), C.y() - Reach}, {C.x() + H, C.y() - Reach + H}}, false));
  Path.addPath(
      Polygon({{C.x() - H, C.y() + Reach - H}, {C.x(), C.y() + Reach}, {C.x() + H, C.y() + Reach - H}}, false));
  return Path;
}

void Draw(QPainter& P, int Number) {
  switch (Number) {
  case crPipette: {
    Stroke(P, Line({2.5, 29.5}, {19.5, 12.5}));
    Stroke(P, Line({15.5, 10.5}, {21.5, 16.5}));
    QPainterPath Bulb;
    Bulb.addEllipse(QPointF(23, 8), 4, 4);
    Fill(P, Bulb);
    break;
  }
  case crLasso: {
    QPainterPath Loop;
    Loop.addEllipse(QRectF(8.5, 3.5, 20, 13));
    Stroke(P, Loop);
    QPainterPath Tail({12.5, 15.5});
    Tail.cubicTo({9.5, 22.5}, {2.5, 20.5}, {3.5, 28.5});
    Stroke(P, Tail);
    break;
  }
  case crLigne:
    Aim(P);
    Stroke(P, Line({17.5, 29.5}, {29.5, 17.5}));
    break;
  case crSceau:
    Aim(P);
    Fill(P, Polygon({{16, 19}, {24, 14}, {30, 23}, {22, 29}}, true));
    Stroke(P, Line({18.5, 17.5}, {21.5, 13.5}));
    break;
  case crEau: {
    Aim(P);
    QPainterPath Drop({23, 14});
    Drop.cubicTo({27, 21}, {29, 24}, {26, 28});
    Drop.cubicTo({24, 30}, {21, 30}, {19, 28});
    Drop.cubicTo({17, 24}, {19, 21}, {23, 14});
    Fill(P, Drop);
    break;
  }
  case crAero: {
    Aim(P);
    QPainterPath Can;
    Can.addRect(QRectF(21, 19, 7, 11));
    Fill(P, Can);
    QPainterPath Spray;
    for (const QPointF D : {QPointF(16.5, 15.5), QPointF(18.5, 17.5), QPointF(15.5, 18.5), QPointF(19.5, 14.5)})
      Spray.addRect(QRectF(D, QSizeF(1, 1)));
    Stroke(P, Spray);
    break;
  }
  case crTampon: {
    Aim(P);
    QPainterPath Stamp;
    Stamp.addRect(QRectF(21, 15, 4, 7));
    Stamp.addRect(QRectF(17, 22, 12, 4));
    Fill(P, Stamp);
    Stroke(P, Line({16.5, 28.5}, {29.5, 28.5}));
    break;
  }
  case crPolygon:
    Aim(P);
    Stroke(P, Polygon({{17.5, 19.5}, {25.5, 15.5}, {29.5, 24.5}, {22.5, 29.5}, {16.5, 26.5}}, true));
    break;
  case crMov1:
    Stroke(P, FourArrows({15.5, 15.5}, 12));
    break;
  case crMov2:
    Pointer(P);
    Stroke(P, FourArrows({22.5, 22.5}, 7));
    break;
  case crMov3: {
    Pointer(P);
    QPainterPath Box;
    Box.addRect(QRectF(17.5, 17.5, 11, 11));
    Stroke(P, Box);
    break;
  }
  case crMagic: {
    Aim(P);
    Stroke(P, Line({17.5, 29.5}, {25.5, 21.5}));
    QPainterPath Star;
    Star.addPath(Line({27.5, 14.5}, {27.5, 20.5}));
    Star.addPath(Line({24.5, 17.5}, {30.5, 17.5}));
    Stroke(P, Star);
    break;
  }
  case crDoigt: {
    Aim(P);
    QPainterPath Finger;
    Finger.addRoundedRect(QRectF(17, 15, 6, 14), 3, 3);
    Finger.addRoundedRect(QRectF(23, 20, 6, 9), 2, 2);
    Fill(P, Finger);
    break;
  }
  case crRetouch: {
    Aim(P);
    QPainterPath Ring;
    Ring.addEllipse(QRectF(16.5, 16.5, 13, 13));
    Ring.addPath(Line({23.5, 19.5}, {23.5, 26.5}));
    Ring.addPath(Line({19.5, 23.5}, {26.5, 23.5}));
    Stroke(P, Ring);
    break;
  }
  case crBrush: {
    Aim(P);
    Stroke(P, Line({21.5, 23.5}, {29.5, 15.5}));
    QPainterPath Tip;
    Tip.addEllipse(QRectF(15, 22, 8, 8));
    Fill(P, Tip);
    break;
  }
  case crCross2: {
    QPainterPath Cross;
    Cross.addPath(Line({0.5, 15.5}, {12.5, 15.5}));
    Cross.addPath(Line({18.5, 15.5}, {30.5, 15.5}));
    Cross.addPath(Line({15.5, 0.5}, {15.5, 12.5}));
    Cross.addPath(Line({15.5, 18.5}, {15.5, 30.5}));
    Stroke(P, Cross);
    break;
  }
  case crMain: {
    QPainterPath Hand;
    Hand.addRoundedRect(QRectF(8, 14, 16, 14), 4, 4);
    for (int F = 0; F < 4; ++F) Hand.addRoundedRect(QRectF(8 + 4 * F, 5 + (F == 0 || F == 3 ? 3 : 0), 4, 12), 2, 2);
    Hand.addRoundedRect(QRectF(22, 16, 7, 4), 2, 2);
    Hand.setFillRule(Qt::WindingFill);
    P.setPen(QPen(Qt::black, 1));
    P.setBrush(Qt::white);
    P.drawPath(Hand.simplified());
    break;
  }
  case crVide:
    break; // the cursor hides itself over the image
  case crMoveAdd:
  case crMoveDel: {
    Pointer(P);
    QPainterPath Sign;
    Sign.addPath(Line({18.5, 24.5}, {28.5, 24.5}));
    if (Number == crMoveAdd) Sign.addPath(Line({23.5, 19.5}, {23.5, 29.5}));
    Stroke(P, Sign);
    break;
  }
  default:
    break;
  }
}

bool Loaded = false;

} // namespace

const char* ToolCursorName(int Number) { return IsToolCursor(Number) ? Names[Number - FirstToolCursor] : ""; }

QPoint ToolCursorHotSpot(int Number) {
  switch (Number) {
  case crPipette:
    return {2, 29};
  case crLasso:
    return {3, 28};
  case crMov1:
  case crCross2:
  case crMain:
    return {15, 15};
  case crMov2:
  case crMov3:
  case crMoveAdd:
  case crMoveDel:
    return {1, 1};
  case crVide:
    return {0, 0};
  default:
    return IsToolCursor(Number) ? AimSpot : QPoint();
  }
}

QImage ToolCursorImage(int Number) {
  if (!IsToolCursor(Number)) return {};
  QImage Image(ToolCursorSize, ToolCursorSize, QImage::Format_ARGB32_Premultiplied);
  Image.fill(Qt::transparent);
  QPainter P(&Image);
  // Curves smooth, straight lines crisp.
  P.setRenderHint(QPainter::Antialiasing, Number == crLasso || Number == crEau || Number == crMain);
  Draw(P, Number);
  return Image;
}

void LoadToolCursors() {
  if (Loaded) return;
  Loaded = true;
  for (int N = FirstToolCursor; N <= LastToolCursor; ++N) {
    const QPoint Spot = ToolCursorHotSpot(N);
    RegisterScreenCursor(N, QCursor(QPixmap::fromImage(ToolCursorImage(N)), Spot.x(), Spot.y()));
  }
}

bool ToolCursorsLoaded() { return Loaded; }
