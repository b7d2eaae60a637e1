#include "dialogs/ui/AnchorBar.h"

#include "ui/UtilsDPI.h"

#include <QGridLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

// The two glyphs: a filled square for the chosen anchor, a small hollow one
// for the others.
QIcon AnchorGlyph(bool Chosen, int Size) {
  QPixmap P(Size, Size);
  P.fill(Qt::transparent);
  QPainter G(&P);
  const int M = Chosen ? Size / 5 : Size / 3;
  const QRect R(M, M, Size - 2 * M, Size - 2 * M);
  G.setPen(QColor(64, 64, 64));
  if (Chosen)
    G.fillRect(R, QColor(64, 64, 64));
  else
    G.drawRect(R.adjusted(0, 0, -1, -1));
  return QIcon(P);
}

} // namespace

TAnchorBar::TAnchorBar(QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("ToolBar"));
  auto* Grid = new QGridLayout(this);
  Grid->setContentsMargins(0, 0, 0, 0);
  Grid->setSpacing(0);
  const int Side = ScaleByDPI(27);
  for (int I = 0; I < 9; ++I) {
    auto* B = new QToolButton(this);
    B->setObjectName(QStringLiteral("TB%1").arg(I));
    B->setProperty("Tag", I);
    B->setFixedSize(Side, Side);
    B->setCheckable(true);
    B->setAutoRaise(true);
    B->setIconSize(QSize(Side - 8, Side - 8));
    connect(B, &QToolButton::clicked, this, [this, I] {
      SetPosition(TPosition(I));
      if (OnChange) OnChange();
    });
    Grid->addWidget(B, I / 3, I % 3);
    FButtons[std::size_t(I)] = B;
  }
  SetPosition(poCenter);
}

void TAnchorBar::SetPosition(TPosition Value) {
  FPosition = Value <= poBottomRight ? Value : poCenter;
  const int Size = FButtons[0]->iconSize().width();
  const QIcon Chosen = AnchorGlyph(true, Size), Other = AnchorGlyph(false, Size);
  for (int I = 0; I < 9; ++I) {
    FButtons[std::size_t(I)]->setChecked(I == FPosition);
    FButtons[std::size_t(I)]->setIcon(I == FPosition ? Chosen : Other);
  }
}
