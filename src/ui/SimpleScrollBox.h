// TSimpleScrollBox: a borderless scroll box whose owner paints its area
// through OnPaint. Depends on QtWidgets.
//
// The owner sets the scroll ranges itself (no automatic scrolling); child
// controls placed on Viewport() move with the scroll position. Both bars
// track: the content follows the thumb while it is dragged.
#pragma once

#include <QAbstractScrollArea>

#include <functional>

class QPainter;

class TSimpleScrollBox : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TSimpleScrollBox(QWidget* Parent = nullptr);

  std::function<void(TSimpleScrollBox* Sender)> OnPaint;
  // The painter of the area, valid only while OnPaint runs (nullptr otherwise).
  QPainter* Canvas() const { return FCanvas; }

protected:
  // Calls OnPaint when assigned.
  virtual void Paint();

  void paintEvent(QPaintEvent* Event) override;
  void scrollContentsBy(int DX, int DY) override;

private:
  QPainter* FCanvas = nullptr;
};
