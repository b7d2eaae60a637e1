// TAnchorBar: the 3 x 3 grid of square buttons under "Position :" that
// places the old picture in a new canvas. Button TB<n> stands for the anchor
// n (its Tag, a TPosition from poTopLeft to poBottomRight, row by row); the
// chosen one shows the filled glyph, the others the empty one. Depends on the
// raster anchors, QtWidgets.
#pragma once

#include "raster/Pixels.h"

#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

class TAnchorBar : public QWidget {
  Q_OBJECT
public:
  explicit TAnchorBar(QWidget* Parent = nullptr);
  TPosition Position() const { return FPosition; }
  // The anchor chosen, its button checked and given the filled glyph.
  void SetPosition(TPosition Value);
  QToolButton* Button(int Index) const { return FButtons[std::size_t(Index)]; }
  // A button was clicked (after the position changed).
  std::function<void()> OnChange;

private:
  std::array<QToolButton*, 9> FButtons{};
  TPosition FPosition = poCenter;
};
