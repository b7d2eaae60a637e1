#include "files/ui/ExplorGlyphs.h"

#include "ui/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Ink(40, 40, 48);
const QColor FolderBody(240, 200, 90);
const QColor FolderTab(215, 170, 60);

// A folder in the 24 x 24 box, leaving its lower right corner free for an
// emblem.
void Folder(QPainter& P) {
  P.setPen(QPen(Ink, 1.2));
  P.setBrush(FolderTab);
  P.drawRoundedRect(QRectF(2.5, 4.5, 8, 4), 1, 1);
  P.setBrush(FolderBody);
  P.drawRect(QRectF(2.5, 7.5, 18, 12));
}

void Emblem(QPainter& P, TExplorGlyph Glyph) {
  const QRectF Box(11.5, 11.5, 11, 11);
  P.setPen(QPen(Ink, 1));
  switch (Glyph) {
  case TExplorGlyph::Dir:
    P.setBrush(Ink);
    for (int I = 0; I < 3; ++I) P.drawEllipse(QPointF(14 + 3.5 * I, 19), 1, 1);
    break;
  case TExplorGlyph::Img:
    P.setBrush(QColor(150, 200, 250));
    P.drawRect(Box);
    P.setBrush(QColor(40, 160, 70));
    P.setPen(Qt::NoPen);
    P.drawPolygon(QPolygonF({QPointF(12.5, 22.5), QPointF(16, 16), QPointF(22.5, 22.5)}));
    break;
  case TExplorGlyph::Motif:
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 3; ++X) {
        P.setBrush((X + Y) % 2 ? QColor(250, 250, 250) : QColor(210, 50, 40));
        P.drawRect(QRectF(Box.left() + X * 11.0 / 3, Box.top() + Y * 11.0 / 3, 11.0 / 3, 11.0 / 3));
      }
    break;
  default:
    break;
  }
}

QImage DrawButton(TExplorGlyph Glyph, int Size) {
  switch (Glyph) {
  case TExplorGlyph::Ouvrir:
    return GlyphImage(TGlyph::Open, Size);
  case TExplorGlyph::Sauve:
    return GlyphImage(TGlyph::Save, Size);
  case TExplorGlyph::Sel:
    return GlyphImage(TGlyph::Selection, Size);
  case TExplorGlyph::Mask:
    return GlyphImage(TGlyph::LumaMask, Size);
  default:
    break;
  }
  QImage Image(Size, Size, QImage::Format_ARGB32_Premultiplied);
  Image.fill(Qt::transparent);
  QPainter P(&Image);
  P.setRenderHint(QPainter::Antialiasing);
  P.scale(Size / 24.0, Size / 24.0);
  if (Glyph == TExplorGlyph::Menu) {
    P.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap));
    for (int I = 0; I < 3; ++I) P.drawLine(QPointF(4, 6 + 4 * I), QPointF(16, 6 + 4 * I));
    P.setPen(Qt::NoPen);
    P.setBrush(Ink);
    P.drawPolygon(QPolygonF({QPointF(14, 17), QPointF(22, 17), QPointF(18, 21)}));
  } else {
    Folder(P);
    Emblem(P, Glyph);
  }
  return Image;
}

} // namespace

QIcon ExplorButtonIcon(TExplorGlyph Glyph, int Size) {
  const QImage Normal = DrawButton(Glyph, Size);
  QIcon Icon;
  Icon.addPixmap(QPixmap::fromImage(Normal), QIcon::Normal);
  Icon.addPixmap(QPixmap::fromImage(DisabledImage(Normal, 0xC0C0C0, 40, 20)), QIcon::Disabled);
  return Icon;
}

QImage ExplorBadge(TExplorBadge Badge) {
  // A small label in the badge's colour with a white mark: E for EXIF, I
  // for IPTC, a speech line for the comment.
  static const QColor Colors[] = {QColor(40, 110, 210), QColor(40, 160, 70), QColor(230, 150, 0)};
  QImage Image(BadgeWidth, BadgeHeight, QImage::Format_RGB32);
  Image.fill(Colors[int(Badge)]);
  QPainter P(&Image);
  P.setPen(QColor(20, 20, 20));
  P.drawRect(0, 0, BadgeWidth - 1, BadgeHeight - 1);
  P.setPen(Qt::white);
  switch (Badge) {
  case TExplorBadge::Exif:
    P.drawLine(3, 2, 3, 8);
    P.drawLine(3, 2, 5, 2);
    P.drawLine(3, 5, 5, 5);
    P.drawLine(3, 8, 5, 8);
    break;
  case TExplorBadge::Iptc:
    P.drawLine(4, 2, 4, 8);
    break;
  case TExplorBadge::Comment:
    P.drawLine(2, 3, 6, 3);
    P.drawLine(2, 5, 6, 5);
    P.drawLine(2, 7, 4, 7);
    break;
  }
  return Image;
}
