#include "ui/ToolbarImages.h"

#include "ui/DlgColors.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor Ink(40, 40, 48);
const QColor Blue(40, 110, 210);
const QColor Orange(255, 153, 0);
const QColor Green(40, 160, 70);
const QColor Red(210, 50, 40);
const QColor Paper(250, 250, 250);

void Sheet(QPainter& P, QRectF R) {
  QPainterPath Path;
  Path.moveTo(R.left(), R.top());
  Path.lineTo(R.right() - 5, R.top());
  Path.lineTo(R.right(), R.top() + 5);
  Path.lineTo(R.right(), R.bottom());
  Path.lineTo(R.left(), R.bottom());
  Path.closeSubpath();
  P.setPen(QPen(Ink, 1.2));
  P.setBrush(Paper);
  P.drawPath(Path);
}

void Arrow(QPainter& P, bool Left, QColor Color) {
  P.setPen(QPen(Color, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  P.setBrush(Qt::NoBrush);
  QPainterPath Path;
  if (Left) {
    Path.moveTo(19, 18);
    Path.cubicTo(19, 8, 11, 7, 6, 10);
    P.drawPath(Path);
    P.drawPolyline(QPolygonF({QPointF(6, 5), QPointF(6, 10), QPointF(11, 11)}));
  } else {
    Path.moveTo(5, 18);
    Path.cubicTo(5, 8, 13, 7, 18, 10);
    P.drawPath(Path);
    P.drawPolyline(QPolygonF({QPointF(18, 5), QPointF(18, 10), QPointF(13, 11)}));
  }
}

void Sign(QPainter& P, bool Plus) {
  P.setPen(QPen(Ink, 2.2));
  P.drawLine(QPointF(14, 19), QPointF(22, 19));
  if (Plus) P.drawLine(QPointF(18, 15), QPointF(18, 23));
}

void Sun(QPainter& P) {
  P.setPen(QPen(Orange, 1.6));
  P.setBrush(Orange);
  P.drawEllipse(QPointF(9, 9), 4, 4);
  for (int I = 0; I < 8; ++I) {
    P.save();
    P.translate(9, 9);
    P.rotate(45.0 * I);
    P.drawLine(QPointF(6, 0), QPointF(8, 0));
    P.restore();
  }
}

void Letters(QPainter& P, const QString& Text, QColor Color, int PixelSize) {
  QFont Font(QStringLiteral("DejaVu Sans"));
  Font.setPixelSize(PixelSize);
  Font.setBold(true);
  P.setFont(Font);
  P.setPen(Color);
  P.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, Text);
}

void Magnifier(QPainter& P, const QString& Inside) {
  P.setPen(QPen(Ink, 2));
  P.setBrush(QColor(220, 235, 250));
  P.drawEllipse(QPointF(10, 10), 7, 7);
  P.setPen(QPen(Ink, 3.2, Qt::SolidLine, Qt::RoundCap));
  P.drawLine(QPointF(15, 15), QPointF(21, 21));
  QFont Font(QStringLiteral("DejaVu Sans"));
  Font.setPixelSize(Inside.size() > 1 ? 6 : 10);
  Font.setBold(true);
  P.setFont(Font);
  P.setPen(Ink);
  P.drawText(QRectF(3, 3, 14, 14), Qt::AlignCenter, Inside);
}

void Picture(QPainter& P, QRectF R, QColor Sky) {
  P.setPen(QPen(Ink, 1.2));
  P.setBrush(Sky);
  P.drawRect(R);
  P.setBrush(Green);
  P.setPen(Qt::NoPen);
  P.drawPolygon(QPolygonF({QPointF(R.left() + 1, R.bottom()), QPointF(R.center().x() - 2, R.center().y()),
                           QPointF(R.right(), R.bottom())}));
}

void DrawGlyph(QPainter& P, TGlyph G) {
  switch (G) {
  case TGlyph::New:
    Sheet(P, QRectF(5, 3, 14, 18));
    break;
  case TGlyph::Open:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(QColor(240, 200, 90));
    P.drawRect(QRectF(3, 7, 18, 13));
    P.setBrush(QColor(250, 220, 120));
    P.drawPolygon(QPolygonF({QPointF(3, 20), QPointF(7, 11), QPointF(23, 11), QPointF(21, 20)}));
    break;
  case TGlyph::Save:
  case TGlyph::SaveAs:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(Blue);
    P.drawRect(QRectF(4, 4, 16, 16));
    P.setBrush(Paper);
    P.drawRect(QRectF(7, 4, 10, 6));
    P.drawRect(QRectF(7, 13, 10, 7));
    if (G == TGlyph::SaveAs) Letters(P, QStringLiteral("..."), Orange, 10);
    break;
  case TGlyph::Print:
    Sheet(P, QRectF(7, 3, 10, 8));
    P.setBrush(QColor(160, 160, 170));
    P.drawRect(QRectF(3, 10, 18, 8));
    P.setBrush(Paper);
    P.drawRect(QRectF(7, 15, 10, 6));
    break;
  case TGlyph::Scan:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(QColor(190, 190, 200));
    P.drawRect(QRectF(3, 9, 18, 9));
    P.setPen(QPen(Blue, 2));
    P.drawLine(QPointF(5, 13), QPointF(19, 13));
    break;
  case TGlyph::Undo:
    Arrow(P, true, Blue);
    break;
  case TGlyph::Redo:
    Arrow(P, false, Blue);
    break;
  case TGlyph::Copy:
    Sheet(P, QRectF(3, 3, 11, 14));
    Sheet(P, QRectF(10, 7, 11, 14));
    break;
  case TGlyph::PasteSel:
  case TGlyph::PasteImg:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(QColor(200, 150, 90));
    P.drawRect(QRectF(4, 4, 14, 17));
    if (G == TGlyph::PasteImg)
      Picture(P, QRectF(9, 9, 12, 12), QColor(150, 200, 250));
    else
      Sheet(P, QRectF(9, 9, 12, 12));
    break;
  case TGlyph::ModeRGB:
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(255, 0, 0, 200));
    P.drawEllipse(QPointF(9, 9), 6, 6);
    P.setBrush(QColor(0, 200, 0, 200));
    P.drawEllipse(QPointF(15, 9), 6, 6);
    P.setBrush(QColor(0, 0, 255, 200));
    P.drawEllipse(QPointF(12, 15), 6, 6);
    break;
  case TGlyph::ModeIndex:
    for (int I = 0; I < 9; ++I) {
      P.setPen(QPen(Ink, 0.8));
      P.setBrush(QColor::fromHsv(I * 40, 200, 230));
      P.drawRect(QRectF(3 + (I % 3) * 6, 3 + (I / 3) * 6, 6, 6));
    }
    break;
  case TGlyph::Transparent:
    for (int I = 0; I < 16; ++I) {
      P.setPen(Qt::NoPen);
      P.setBrush((I + I / 4) % 2 ? QColor(200, 200, 200) : Paper);
      P.drawRect(QRectF(4 + (I % 4) * 4, 4 + (I / 4) * 4, 4, 4));
    }
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRectF(4, 4, 16, 16));
    break;
  case TGlyph::Resize:
    Picture(P, QRectF(3, 8, 12, 12), QColor(150, 200, 250));
    P.setPen(QPen(Red, 1.8));
    P.drawLine(QPointF(12, 12), QPointF(21, 3));
    P.drawPolyline(QPolygonF({QPointF(15, 3), QPointF(21, 3), QPointF(21, 9)}));
    break;
  case TGlyph::CanvasSize:
    P.setPen(QPen(Ink, 1, Qt::DashLine));
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRectF(2, 2, 20, 20));
    Picture(P, QRectF(6, 6, 12, 12), QColor(150, 200, 250));
    break;
  case TGlyph::Selection:
    P.setPen(QPen(Ink, 1.4, Qt::DashLine));
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRectF(4, 5, 16, 14));
    break;
  case TGlyph::Text:
    Letters(P, QStringLiteral("T"), Ink, 18);
    break;
  case TGlyph::Path:
    P.setPen(QPen(Blue, 1.8));
    P.setBrush(Qt::NoBrush);
    {
      QPainterPath Path;
      Path.moveTo(3, 19);
      Path.cubicTo(6, 3, 16, 22, 21, 5);
      P.drawPath(Path);
    }
    P.setBrush(Paper);
    P.setPen(QPen(Ink, 1));
    P.drawRect(QRectF(1.5, 17.5, 3, 3));
    P.drawRect(QRectF(19.5, 3.5, 3, 3));
    break;
  case TGlyph::Explore:
    Picture(P, QRectF(2, 2, 9, 9), QColor(150, 200, 250));
    Picture(P, QRectF(13, 2, 9, 9), QColor(250, 200, 150));
    Picture(P, QRectF(2, 13, 9, 9), QColor(200, 250, 150));
    Picture(P, QRectF(13, 13, 9, 9), QColor(220, 180, 250));
    break;
  case TGlyph::Batch:
    Sheet(P, QRectF(3, 2, 11, 14));
    Sheet(P, QRectF(6, 5, 11, 14));
    Sheet(P, QRectF(9, 8, 11, 14));
    break;
  case TGlyph::Params:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(QColor(170, 170, 180));
    for (int I = 0; I < 8; ++I) {
      P.save();
      P.translate(12, 12);
      P.rotate(45.0 * I);
      P.drawRect(QRectF(-2, -10, 4, 5));
      P.restore();
    }
    P.drawEllipse(QPointF(12, 12), 6.5, 6.5);
    P.setBrush(Paper);
    P.drawEllipse(QPointF(12, 12), 2.5, 2.5);
    break;
  case TGlyph::LumMinus:
  case TGlyph::LumPlus:
    Sun(P);
    Sign(P, G == TGlyph::LumPlus);
    break;
  case TGlyph::CtrMinus:
  case TGlyph::CtrPlus:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(Paper);
    P.drawEllipse(QPointF(9, 9), 6, 6);
    P.setBrush(Ink);
    P.drawPie(QRectF(3, 3, 12, 12), 90 * 16, 180 * 16);
    Sign(P, G == TGlyph::CtrPlus);
    break;
  case TGlyph::GamMinus:
  case TGlyph::GamPlus:
    P.save();
    Letters(P, QStringLiteral("γ"), Ink, 14);
    P.restore();
    P.translate(0, 0);
    Sign(P, G == TGlyph::GamPlus);
    break;
  case TGlyph::ColMinus:
  case TGlyph::ColPlus: {
    QConicalGradient Wheel(9, 9, 0);
    for (int I = 0; I <= 6; ++I) Wheel.setColorAt(I / 6.0, QColor::fromHsv((I * 60) % 360, 255, 255));
    P.setPen(QPen(Ink, 1));
    P.setBrush(Wheel);
    P.drawEllipse(QPointF(9, 9), 6.5, 6.5);
    Sign(P, G == TGlyph::ColPlus);
    break;
  }
  case TGlyph::Histogram:
    P.setPen(Qt::NoPen);
    P.setBrush(Ink);
    for (int I = 0; I < 9; ++I) {
      const double H = 3 + 14 * (0.5 + 0.5 * std::sin(I * 0.8));
      P.drawRect(QRectF(3 + I * 2, 21 - H, 2, H));
    }
    break;
  case TGlyph::Adjust:
    P.setPen(QPen(Ink, 1.5));
    for (int I = 0; I < 3; ++I) P.drawLine(QPointF(4, 6 + I * 6), QPointF(20, 6 + I * 6));
    P.setBrush(Orange);
    P.drawRect(QRectF(12, 4, 4, 4));
    P.drawRect(QRectF(6, 10, 4, 4));
    P.drawRect(QRectF(15, 16, 4, 4));
    break;
  case TGlyph::WhiteBalance:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(Paper);
    P.drawRect(QRectF(3, 3, 18, 18));
    Letters(P, QStringLiteral("W"), Blue, 12);
    break;
  case TGlyph::AutoLevels:
  case TGlyph::AutoContrast:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(G == TGlyph::AutoLevels ? QColor(230, 230, 230) : QColor(60, 60, 60));
    P.drawRect(QRectF(3, 3, 18, 18));
    Letters(P, QStringLiteral("A"), G == TGlyph::AutoLevels ? Blue : Orange, 14);
    break;
  case TGlyph::Grey: {
    QLinearGradient Ramp(3, 0, 21, 0);
    Ramp.setColorAt(0, Qt::black);
    Ramp.setColorAt(1, Qt::white);
    P.setPen(QPen(Ink, 1));
    P.setBrush(Ramp);
    P.drawRect(QRectF(3, 5, 18, 14));
    break;
  }
  case TGlyph::Sepia:
    Picture(P, QRectF(3, 4, 18, 16), QColor(200, 160, 110));
    break;
  case TGlyph::OldPhoto:
    Picture(P, QRectF(3, 4, 18, 16), QColor(170, 150, 120));
    P.setPen(QPen(Paper, 1));
    P.drawLine(QPointF(8, 4), QPointF(10, 20));
    break;
  case TGlyph::Dust:
    P.setPen(Qt::NoPen);
    P.setBrush(Ink);
    for (const QPointF& D : {QPointF(6, 6), QPointF(15, 5), QPointF(10, 12), QPointF(18, 15), QPointF(5, 18)})
      P.drawEllipse(D, 1.4, 1.4);
    P.setPen(QPen(Red, 2));
    P.drawLine(QPointF(4, 20), QPointF(20, 4));
    break;
  case TGlyph::Soften:
  case TGlyph::Blur: {
    QRadialGradient Soft(12, 12, G == TGlyph::Blur ? 10 : 8);
    Soft.setColorAt(0, Blue);
    Soft.setColorAt(1, QColor(40, 110, 210, 0));
    P.setPen(Qt::NoPen);
    P.setBrush(Soft);
    P.drawEllipse(QPointF(12, 12), 10, 10);
    break;
  }
  case TGlyph::Relief:
    P.setPen(Qt::NoPen);
    P.setBrush(Paper);
    P.drawPolygon(QPolygonF({QPointF(3, 20), QPointF(10, 6), QPointF(14, 13), QPointF(3, 20)}));
    P.setBrush(QColor(120, 120, 130));
    P.drawPolygon(QPolygonF({QPointF(3, 20), QPointF(14, 13), QPointF(16, 9), QPointF(21, 20)}));
    break;
  case TGlyph::Sharpen:
  case TGlyph::Reinforce:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(G == TGlyph::Sharpen ? Blue : Orange);
    P.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(21, 21), QPointF(3, 21)}));
    break;
  case TGlyph::Variation:
    for (int I = 0; I < 4; ++I) {
      P.setPen(QPen(Ink, 1));
      P.setBrush(QColor::fromHsv(I * 90, 160, 230));
      P.drawRect(QRectF(3 + (I % 2) * 9, 3 + (I / 2) * 9, 9, 9));
    }
    break;
  case TGlyph::Gradient: {
    QLinearGradient Ramp(3, 3, 21, 21);
    Ramp.setColorAt(0, Blue);
    Ramp.setColorAt(1, Orange);
    P.setPen(QPen(Ink, 1));
    P.setBrush(Ramp);
    P.drawRect(QRectF(3, 3, 18, 18));
    break;
  }
  case TGlyph::LumaMask: {
    QRadialGradient Mask(12, 12, 9);
    Mask.setColorAt(0, Paper);
    Mask.setColorAt(1, Ink);
    P.setPen(QPen(Ink, 1));
    P.setBrush(Mask);
    P.drawRect(QRectF(3, 3, 18, 18));
    break;
  }
  case TGlyph::FlipVert:
  case TGlyph::FlipHorz:
    P.save();
    if (G == TGlyph::FlipVert) {
      P.translate(12, 12);
      P.rotate(90);
      P.translate(-12, -12);
    }
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(Blue);
    P.drawPolygon(QPolygonF({QPointF(10, 4), QPointF(10, 20), QPointF(2, 20)}));
    P.setBrush(Paper);
    P.drawPolygon(QPolygonF({QPointF(14, 4), QPointF(14, 20), QPointF(22, 20)}));
    P.restore();
    break;
  case TGlyph::Rotate90a:
  case TGlyph::Rotate90h:
    Picture(P, QRectF(7, 9, 12, 12), QColor(150, 200, 250));
    P.setPen(QPen(Red, 1.8));
    P.setBrush(Qt::NoBrush);
    P.drawArc(QRectF(2, 2, 14, 14), G == TGlyph::Rotate90h ? 90 * 16 : 0, 90 * 16);
    break;
  case TGlyph::ZoomIn:
    Magnifier(P, QStringLiteral("+"));
    break;
  case TGlyph::ZoomOut:
    Magnifier(P, QStringLiteral("-"));
    break;
  case TGlyph::Zoom100:
    Magnifier(P, QStringLiteral("1:1"));
    break;
  case TGlyph::ZoomAuto:
    Magnifier(P, QStringLiteral("A"));
    break;
  case TGlyph::FullScreen:
    P.setPen(QPen(Ink, 1.2));
    P.setBrush(QColor(60, 60, 70));
    P.drawRect(QRectF(2, 4, 20, 14));
    P.setPen(QPen(Paper, 1.6));
    P.drawPolyline(QPolygonF({QPointF(5, 10), QPointF(5, 7), QPointF(8, 7)}));
    P.drawPolyline(QPolygonF({QPointF(19, 12), QPointF(19, 15), QPointF(16, 15)}));
    P.setPen(QPen(Ink, 2));
    P.drawLine(QPointF(9, 21), QPointF(15, 21));
    break;
  case TGlyph::PathMove:
  case TGlyph::PathAdd:
  case TGlyph::PathDelete:
    // A segment between two vertices, the middle one marked by the mode.
    P.setPen(QPen(Ink, 1.4));
    P.drawLine(QPointF(3, 19), QPointF(12, 9));
    P.drawLine(QPointF(12, 9), QPointF(21, 15));
    P.setBrush(Paper);
    P.drawRect(QRectF(1.5, 17.5, 3, 3));
    P.drawRect(QRectF(19.5, 13.5, 3, 3));
    P.setBrush(G == TGlyph::PathMove ? Blue : Paper);
    P.drawRect(QRectF(10, 7, 4, 4));
    if (G == TGlyph::PathMove) {
      P.setPen(QPen(Blue, 1.4));
      P.drawLine(QPointF(12, 2), QPointF(12, 5));
      P.drawLine(QPointF(15, 4), QPointF(18, 4));
    } else {
      // A plus or a minus under the right-hand vertex.
      P.setPen(QPen(G == TGlyph::PathAdd ? Green : Orange, 2));
      P.drawLine(QPointF(14, 21), QPointF(21, 21));
      if (G == TGlyph::PathAdd) P.drawLine(QPointF(17.5, 17.5), QPointF(17.5, 24));
    }
    break;
  case TGlyph::PathBezier: {
    P.setPen(QPen(Ink, 1.6));
    QPainterPath Curve;
    Curve.moveTo(3, 19);
    Curve.cubicTo(6, 2, 18, 22, 21, 5);
    P.drawPath(Curve);
    break;
  }
  case TGlyph::PathLine:
    P.setPen(QPen(Ink, 1.6));
    P.drawPolyline(QPolygonF({QPointF(3, 19), QPointF(9, 6), QPointF(15, 16), QPointF(21, 5)}));
    break;
  case TGlyph::PathReset:
    P.setPen(QPen(Ink, 1.6));
    P.drawLine(QPointF(3, 21), QPointF(21, 3));
    P.setPen(QPen(Orange, 1.8));
    P.drawArc(QRectF(5, 5, 14, 14), 30 * 16, 270 * 16);
    P.drawLine(QPointF(17.5, 6), QPointF(19, 9.5));
    break;
  case TGlyph::AlignLeft:
  case TGlyph::AlignCenter:
  case TGlyph::AlignRight: {
    // Four lines of alternating lengths, placed as the alignment puts them.
    P.setPen(QPen(Ink, 2));
    for (int I = 0; I < 4; ++I) {
      const double Length = I % 2 ? 11 : 18;
      const double Left = G == TGlyph::AlignLeft ? 3 : G == TGlyph::AlignRight ? 21 - Length : 12 - Length / 2;
      P.drawLine(QPointF(Left, 5 + 4.5 * I), QPointF(Left + Length, 5 + 4.5 * I));
    }
    break;
  }
  case TGlyph::GlyphCount:
    break;
  }
}

} // namespace

QImage GlyphImage(TGlyph Glyph, int Size) {
  QImage Image(Size, Size, QImage::Format_ARGB32_Premultiplied);
  Image.fill(Qt::transparent);
  QPainter P(&Image);
  P.setRenderHint(QPainter::Antialiasing);
  P.setRenderHint(QPainter::TextAntialiasing);
  P.scale(Size / 24.0, Size / 24.0);
  DrawGlyph(P, Glyph);
  P.end();
  return Image.convertToFormat(QImage::Format_ARGB32);
}

QImage DisabledImage(const QImage& Image, TColor TintColor, int TintPercent, int LightenPercent) {
  QImage Result = Image.convertToFormat(QImage::Format_ARGB32);
  const int Tint = std::min(TintPercent, 100);
  const int Lighten = std::min(LightenPercent, 100);
  const TColor TintRgb = ColorToRGB(TintColor);
  const int Target[3] = {GetBValue(TintRgb), GetGValue(TintRgb), GetRValue(TintRgb)};
  for (int Y = 0; Y < Result.height(); ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Result.scanLine(Y));
    for (int X = 0; X < Result.width(); ++X) {
      const QRgb Px = Row[X];
      if (qAlpha(Px) == 0) continue;
      int Grey = (qBlue(Px) + qGreen(Px) + qRed(Px)) / 3;
      if (Lighten > 0) Grey += (255 - Grey) * Lighten / 100;
      int C[3] = {Grey, Grey, Grey};
      if (Tint > 0)
        for (int I = 0; I < 3; ++I) C[I] += (Target[I] - C[I]) * Tint / 100;
      Row[X] = qRgba(C[2], C[1], C[0], qAlpha(Px));
    }
  }
  return Result;
}

QIcon ToolbarIcon(TGlyph Glyph, int Size) {
  const QImage Normal = GlyphImage(Glyph, Size);
  QIcon Icon;
  Icon.addPixmap(QPixmap::fromImage(Normal), QIcon::Normal);
  Icon.addPixmap(QPixmap::fromImage(DisabledImage(Normal, clDlgPanelLight, DlgPanelBrightness, DlgPanelBrightness / 2)),
                 QIcon::Disabled);
  return Icon;
}
