// TDirectionEdit: picks one of ItemCount directions laid out as small discs on
// a circle, the first at the top and the others clockwise; with Symmetry the
// opposite disc is lit too. Depends on the polygon drawing of raster, the
// interface colours of ui/, QtWidgets.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"
#include "ui/ControlEvents.h"

#include <QWidget>

class TDirectionEdit : public QWidget {
  Q_OBJECT
public:
  // 54 x 54, tab stop, the parent's colour, 8 directions, disc radius 6,
  // active colour red.
  explicit TDirectionEdit(QWidget* Parent = nullptr);

  // 0..ItemCount - 1; another value, or the current one, is ignored.
  // A change fires OnChange, then repaints.
  int Direction() const { return FDirection; }
  void SetDirection(int Value);
  // 3..33 (others ignored); a change resets Direction to 0 and Symmetry to
  // false.
  int ItemCount() const { return FItemCount; }
  void SetItemCount(int Value);
  // The radius of a disc, 3..20 (others ignored).
  int ItemRadius() const { return FItemRadius; }
  void SetItemRadius(int Value);
  TColor ActiveColor() const { return FActiveColor; }
  void SetActiveColor(TColor Value);
  // Only when ItemCount is a multiple of 4.
  bool Symmetry() const { return FSymmetry; }
  void SetSymmetry(bool Value);
  // Clockwise from the top.
  double AngleDegree() const;
  double AngleRadian() const;

  // The rectangle of disc I and the first disc whose rectangle holds a point
  // (-1 for none).
  TRect ItemRect(int I) const;
  int ItemAt(int X, int Y) const;
  // Disc I is drawn in the active colour.
  bool IsLit(int I) const;

  TNotifyEvent OnChange;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  int FItemCount = 8;
  int FDirection = 0;
  int FItemRadius = 6;
  TColor FActiveColor = clRed;
  bool FSymmetry = false;
};
