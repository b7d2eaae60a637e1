// TThemedCustomControl: the base of the program's edit-like custom controls,
// which draws its frame with the active style's edit border, hot while the
// mouse is over it. Depends on the visual styles and drawing helpers,
// QtWidgets.
//
// How to derive: override Paint to draw the client area (the rectangle inside
// the frame, ClientRect); the frame itself is drawn here.
#pragma once

#include "platform/Types.h"

#include <QWidget>

#include <cstdint>

class QPainter;

enum class TBorderStyle : uint8_t { bsNone, bsSingle };

class TThemedCustomControl : public QWidget {
  Q_OBJECT
public:
  explicit TThemedCustomControl(QWidget* Parent = nullptr);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // A 3-D control's frame is the two-pixel client edge, a flat one's a single
  // line.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool MouseInControl() const { return FMouseInControl; }

  // Width of the frame around the client area: 2, 1 (flat) or 0 (no border).
  int FrameWidth() const;
  // The client area inside the frame, in the control's coordinates.
  TRect ClientRect() const;
  // Repaints the frame.
  void RedrawBorder();

protected:
  // Draws the client area; the painter is clipped to ClientRect and its
  // origin is the control's top-left corner. Fills with the window colour here.
  virtual void Paint(QPainter& Canvas);
  // The styled frame: the style's edit-border element in its disabled, hot or
  // normal state, limited to the frame.
  void PaintBorder(QPainter& Canvas, bool Hot);

  void paintEvent(QPaintEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void UpdateFrame();

  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  bool FCtl3D = true;
  bool FMouseInControl = false;
};
