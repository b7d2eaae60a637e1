// Writes the brushes and nozzles the program ships, drawn here by code, into
// <output>/Brushes and <output>/Nozzles. Run by the build beside the program.
// Usage: luma_make_brush_data <output folder>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using TCellPainter = std::function<void(QPainter& P, int Index, int Side)>;

// A strip of Count square cells of Side pixels, each painted by Paint with
// antialiasing, on white (brushes) or on transparency (nozzles).
bool WriteStrip(const QString& FileName, int Count, int Side, bool Nozzle, const TCellPainter& Paint) {
  QImage Image(Count * Side, Side, Nozzle ? QImage::Format_ARGB32 : QImage::Format_RGB888);
  Image.fill(Nozzle ? QColor(0, 0, 0, 0) : QColor(Qt::white));
  QPainter P(&Image);
  P.setRenderHint(QPainter::Antialiasing);
  for (int I = 0; I < Count; ++I) {
    P.save();
    P.translate(I * Side, 0);
    Paint(P, I, Side);
    P.restore();
  }
  P.end();
  return Image.save(FileName, "PNG");
}

void DefaultBrush(QPainter& P, int Index, int Side) {
  const QPointF C(Side / 2.0, Side / 2.0);
  const double R = Side / 2.0 - 2;
  P.setPen(Qt::NoPen);
  switch (Index) {
  case 0: // hard disc
    P.setBrush(Qt::black);
    P.drawEllipse(C, R, R);
    break;
  case 1: { // soft disc
    QRadialGradient G(C, R);
    G.setColorAt(0, Qt::black);
    G.setColorAt(1, Qt::white);
    P.setBrush(G);
    P.drawEllipse(C, R, R);
    break;
  }
  case 2: // ring
    P.setPen(QPen(Qt::black, Side / 8.0));
    P.drawEllipse(C, R - Side / 16.0, R - Side / 16.0);
    break;
  case 3: { // five-pointed star
    QPainterPath Star;
    for (int K = 0; K < 10; ++K) {
      const double A = -M_PI / 2 + K * M_PI / 5, Rk = K % 2 ? R * 0.45 : R;
      const QPointF Q = C + QPointF(Rk * std::cos(A), Rk * std::sin(A));
      K ? Star.lineTo(Q) : Star.moveTo(Q);
    }
    Star.closeSubpath();
    P.setBrush(Qt::black);
    P.drawPath(Star);
    break;
  }
  case 4: // slanted leaf
    P.setBrush(Qt::black);
    P.translate(C);
    P.rotate(-45);
    P.drawEllipse(QPointF(0, 0), R, R / 3);
    break;
  default: // splatter of dots on a fixed pattern
    P.setBrush(Qt::black);
    for (int K = 0; K < 9; ++K) {
      const double A = K * 2.4, D = R * (0.15 + 0.09 * K);
      P.drawEllipse(C + QPointF(D * std::cos(A), D * std::sin(A)), 1.0 + (K % 3), 1.0 + (K % 3));
    }
    break;
  }
}

void GrassBlade(QPainter& P, int Index, int Side) {
  P.setPen(QPen(Qt::black, 2));
  for (int K = 0; K < 3 + Index; ++K) {
    const double X = Side * (0.25 + 0.5 * K / (3.0 + Index));
    QPainterPath Blade(QPointF(X, Side - 2));
    Blade.quadTo(QPointF(X, Side / 2.0), QPointF(X + (K % 2 ? 8 : -8), 3 + 2 * K));
    P.drawPath(Blade);
  }
}

void Bubble(QPainter& P, int Index, int Side) {
  static const QColor Colors[4] = {QColor(40, 120, 230), QColor(230, 60, 60), QColor(60, 190, 90), QColor(240, 190, 30)};
  const QPointF C(Side / 2.0, Side / 2.0);
  const double R = Side / 2.0 - 3 - 2 * (Index % 2);
  QRadialGradient G(C - QPointF(R / 3, R / 3), R * 1.3);
  G.setColorAt(0, QColor(255, 255, 255, 230));
  G.setColorAt(0.35, Colors[Index]);
  G.setColorAt(1, QColor(Colors[Index].red(), Colors[Index].green(), Colors[Index].blue(), 90));
  P.setPen(QPen(Colors[Index].darker(150), 1.5));
  P.setBrush(G);
  P.drawEllipse(C, R, R);
}

void Confetti(QPainter& P, int Index, int Side) {
  const QColor Color = QColor::fromHsv(Index * 60, 220, 240);
  P.translate(Side / 2.0, Side / 2.0);
  P.rotate(Index * 33);
  P.setPen(Qt::NoPen);
  P.setBrush(Color);
  P.drawRect(QRectF(-Side / 4.0, -Side / 8.0, Side / 2.0, Side / 4.0));
}

} // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", Argv[0]);
    return 2;
  }
  const QDir Out(QString::fromLocal8Bit(Argv[1]));
  if (!Out.mkpath(QStringLiteral("Brushes")) || !Out.mkpath(QStringLiteral("Nozzles"))) return 1;
  const bool Written =
      WriteStrip(Out.filePath(QStringLiteral("Brushes/Default.png")), 6, 40, false, DefaultBrush) &&
      WriteStrip(Out.filePath(QStringLiteral("Brushes/Grass.png")), 4, 48, false, GrassBlade) &&
      WriteStrip(Out.filePath(QStringLiteral("Nozzles/Bubbles.png")), 4, 48, true, Bubble) &&
      WriteStrip(Out.filePath(QStringLiteral("Nozzles/Confetti.png")), 6, 32, true, Confetti);
  return Written ? 0 : 1;
}
