// Arrow controls: TCustomUpDown, the platform's up-down control (two arrow
// buttons that click repeatedly while held); TMyUpDown, an up-down with three
// ways of reporting a click; TPrevNextButton, a single arrow button made by
// showing one half of a TMyUpDown. Depends on the event types, DPI helpers,
// interface colours, QtWidgets.
#pragma once

#include "ui/ControlEvents.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>

enum class TUDBtnType : uint8_t { btNext, btPrev };

// Two arrow buttons, the upper (or right) one btNext, the lower (or left) one
// btPrev. A press clicks once at once, then again after 500 ms and every
// 50 ms while the button is held over its arrow; each click moves Position by
// Increment within Min..Max (wrapping with Wrap) and calls Clicked. No tab
// stop.
class TCustomUpDown : public QWidget {
  Q_OBJECT
public:
  explicit TCustomUpDown(QWidget* Parent = nullptr);

  Qt::Orientation Orientation() const { return FOrientation; }
  void SetOrientation(Qt::Orientation Value);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetMin(int Value) { FMin = Value; }
  void SetMax(int Value) { FMax = Value; }
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value) { FWrap = Value; }

  // The arrow under a point of the control.
  TUDBtnType ButtonAt(const QPoint& P) const;
  // The rectangle of one arrow.
  QRect ButtonRect(TUDBtnType Button) const;
  // The arrow held down, if any.
  bool IsPressed(TUDBtnType Button) const { return FPressed && FPressedButton == Button; }

protected:
  // One click of the platform's (the first and each repeat).
  virtual void Clicked(TUDBtnType Button);
  // After the platform's own press and release handling.
  virtual void AfterMousePress(QMouseEvent* Event);
  virtual void AfterMouseRelease(QMouseEvent* Event);

  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void Click();
  void Repeat();

  Qt::Orientation FOrientation = Qt::Vertical;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  bool FWrap = false;
  bool FPressed = false;
  bool FOverPressed = false;
  TUDBtnType FPressedButton = TUDBtnType::btNext;
  QTimer FRepeat;
};

enum class TClickMode : uint8_t {
  cmUp,   // one click when the button is released over the control
  cmDown, // one click when it is pressed
  cmMulti // the platform's repeated clicks while it is held
};

// Construction: ClickMode cmMulti, Min -9999, Max 9999.
class TMyUpDown : public TCustomUpDown {
  Q_OBJECT
public:
  explicit TMyUpDown(QWidget* Parent = nullptr);

  TClickMode ClickMode() const { return FClickMode; }
  void SetClickMode(TClickMode Value) { FClickMode = Value; }
  TNotifyEvent OnClick;
  // After every release of the mouse button, whatever the mode.
  TNotifyEvent OnEndClick;

protected:
  void Clicked(TUDBtnType Button) override;
  void AfterMousePress(QMouseEvent* Event) override;
  void AfterMouseRelease(QMouseEvent* Event) override;

private:
  void DoClick();
  TClickMode FClickMode = TClickMode::cmMulti;
};

enum class TPNStyle : uint8_t { stDown, stUp, stLeft, stRight };

// One arrow button: the owned up-down (ClickMode cmUp) is laid out so that
// only the half of Style's arrow lies inside the button. Size at creation:
// the system's horizontal-scroll-bar arrow width both ways.
class TPrevNextButton : public QWidget {
  Q_OBJECT
public:
  explicit TPrevNextButton(QWidget* Parent = nullptr);

  TPNStyle Style() const { return FStyle; }
  void SetStyle(TPNStyle Value);
  TClickMode ClickMode() const;
  void SetClickMode(TClickMode Value);
  TMyUpDown* UpDown() const { return FUpDown; }

  TNotifyEvent OnClick;
  TNotifyEvent OnEndClick;

  // The up-down's rectangle for a button of W x H; S is 1 under the system
  // visual style, else 0.
  static QRect UpDownRect(TPNStyle Style, int W, int H, int S);

protected:
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void LayoutUpDown();

  TMyUpDown* FUpDown;
  TPNStyle FStyle = TPNStyle::stDown;
};
