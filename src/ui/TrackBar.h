// TTrackBar: the platform's track bar, a slider with a thumb length, a tick
// frequency and the mouse and key-release events the dialogs hook. Depends on
// the event types, QtWidgets.
//
// Position, Min and Max are the slider's value and range (the slider clamps).
// A vertical bar has its minimum at the top, as the platform's has.
#pragma once

#include "ui/ControlEvents.h"

#include <QSlider>

#include <functional>

class TTrackBar : public QSlider {
  Q_OBJECT
public:
  // Horizontal, range 0..10, frequency 1, thumb length 20.
  explicit TTrackBar(QWidget* Parent = nullptr);

  int Position() const { return value(); }
  void SetPosition(int Value) { setValue(Value); }
  void SetOrientation(Qt::Orientation Value);
  // The length of the thumb across the bar, in pixels.
  int ThumbLength() const { return FThumbLength; }
  void SetThumbLength(int Value) { FThumbLength = Value; }
  // The distance between two tick marks, in positions.
  int Frequency() const { return tickInterval(); }
  void SetFrequency(int Value) { setTickInterval(Value); }
  // A press of the left button beside the thumb does not page towards the
  // pointer: OnMouseDown runs first (it places the thumb), and a thumb then
  // under the pointer is dragged from there.
  bool JumpToClick() const { return FJumpToClick; }
  void SetJumpToClick(bool Value) { FJumpToClick = Value; }

  // The position changed, by the user or by code.
  TNotifyEvent OnChange;
  // After the bar's own handling of a press (Double: the second press of a
  // double click), a release, a key release.
  std::function<void(TTrackBar* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, bool Double, int X, int Y)>
      OnMouseDown;
  std::function<void(TTrackBar* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseUp;
  std::function<void(TTrackBar* Sender, int Key, Qt::KeyboardModifiers Shift)> OnKeyUp;

protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;

private:
  bool OnHandle(const QPoint& P);
  void Press(QMouseEvent* Event, bool Double);
  int FThumbLength = 20;
  bool FJumpToClick = false;
};
