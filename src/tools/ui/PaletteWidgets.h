// Two small widgets of the tool palette: a colour panel that reports its
// clicks, and a picture showing a colour strip that reports presses and
// drags with a button held. Depends on the platform bitmap and QtWidgets.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"

#include <QWidget>

#include <functional>

class TColorSwatch : public QWidget {
  Q_OBJECT
public:
  explicit TColorSwatch(QWidget* Parent = nullptr);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  std::function<void()> OnClick;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

private:
  TColor FColor = clBlack;
};

class TStripImage : public QWidget {
  Q_OBJECT
public:
  explicit TStripImage(QWidget* Parent = nullptr);
  // The picture, of the widget's size.
  TBitmap Picture;
  // A press of the left or right button, or a move inside the strip with
  // one held: the point and whether the right button is the one.
  std::function<void(int X, int Y, bool Right)> OnPick;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
};
