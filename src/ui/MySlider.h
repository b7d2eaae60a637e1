// TMySlider: a slider with any number of triangular cursors on one bar, each
// with its own value, default value and colours. Depends on the drawing
// helpers and interface colours of ui/, the platform canvas, QtWidgets.
//
// Every change of a cursor goes through one path (MoveCursor): the
// before-change handler may alter the value, ordered cursors stop at their
// neighbours (CheckCollision), the value is clamped to Min..Max, and OnChange
// tells what caused it (code, mouse or keys).
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

struct TSliderCursor {
  int Position = 0; // the value
  int Default = 0;  // the value a double click restores
  TColor PenColor = clBlack;
  TColor BrushColor = clBlack;
};

struct TBarColors {
  TColor Color1 = clBtnShadow;
  TColor Color2 = clBtnFace;
};

enum class TSliderBarStyle : uint8_t { bsBox, bsGradient, bsProgress, bsCustom };
enum class TSliderBarFrame : uint8_t { bfNone, bfRaised, bfLowered };
// bpTopLeft: the bar above (or left of) the cursors.
enum class TSliderBarPosition : uint8_t { bpTopLeft, bpBottomRight };
enum class TSliderOrientation : uint8_t { soHorizontal, soVertical };
// What caused a change.
enum class TSliderChangeMode : uint8_t { cmProperty, cmMouse, cmKey };

class TMySlider;
using TSliderChangeEvent = std::function<void(TMySlider* Sender, int Index, TSliderChangeMode Mode)>;
using TSliderBeforeChangeEvent = std::function<void(TMySlider* Sender, int Index, int& Value)>;
// Draws the bar of style bsCustom inside ARect (the bar less its frame).
using TSliderCustomDrawEvent = std::function<void(TMySlider* Sender, QPainter& ACanvs, const TRect& ARect)>;
using TSliderMouseEvent =
    std::function<void(TMySlider* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TSliderKeyEvent = std::function<void(TMySlider* Sender, int Key, Qt::KeyboardModifiers Shift)>;

class TMySlider : public QWidget {
  Q_OBJECT
public:
  // 150 x 12, tab stop, the parent's colour; bar colours: button shadow and
  // the control's colour.
  explicit TMySlider(QWidget* Parent = nullptr);

  // Half the base width and the height of a cursor triangle, 4..20.
  int CursorSize() const { return FCursorSize; }
  void SetCursorSize(int Value);
  // The range; Min stays below Max (a value that would break that is ignored).
  int Min() const { return FMinValue; }
  void SetMin(int Value);
  int Max() const { return FMaxValue; }
  void SetMax(int Value);
  // The step of Page Up and Page Down.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value) { FPageSize = Value; }
  bool DrawBar() const { return FDrawBar; }
  void SetDrawBar(bool Value);
  // At least 1.
  int BarHeight() const { return FBarHeight; }
  void SetBarHeight(int Value);
  TSliderBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TSliderBarStyle Value);
  TSliderBarFrame BarFrameStyle() const { return FBarFrameStyle; }
  void SetBarFrameStyle(TSliderBarFrame Value);
  TSliderBarPosition BarPosition() const { return FBarPosition; }
  void SetBarPosition(TSliderBarPosition Value);
  TSliderOrientation Orientation() const { return FOrientation; }
  // A new orientation also resizes the control to 150 long and
  // CursorSize + BarHeight + 1 thick.
  void SetOrientation(TSliderOrientation Value);

  // Cursors keep their order: none passes its neighbours.
  bool CheckCollision = true;
  // A click on no cursor moves the current cursor there.
  bool ClickMove = false;
  // A double click on a cursor returns it to its Default.
  bool CanReset = false;

  // The cursor the keys move, -1 when none; only an existing index is taken.
  int CurrentCursor() const { return FCurrentCursor; }
  void SetCurrentCursor(int Value);
  const TBarColors& BarColors() const { return FBarColors; }
  void SetBarColors(TColor Color1, TColor Color2);

  // Appends a cursor at Position (its Default too, not clamped), makes it the
  // current cursor and answers its index. Does not repaint.
  int AddCursor(int Position, TColor PenColor, TColor BrushColor);
  int CursorsCount() const { return static_cast<int>(FCursors.size()); }
  const TSliderCursor& Cursor(int Index) const { return FCursors.at(static_cast<size_t>(Index)); }
  // The cursor's position; 0 for an index outside the cursors.
  int GetPosition(int Index) const;
  // Moves a cursor as code does (mode cmProperty); a missing index is ignored.
  void SetPosProperty(int Index, int Value);

  // The bar rectangle in the control's coordinates.
  TRect GetBarRect() const;
  void RepaintBar() { update(); }

  // Geometry: the pixel of a value along the bar, the value at a pixel along
  // the bar (not clamped), the point of a cursor's tip, the rectangle a click
  // catches a cursor in, and the cursor caught at a point (-1 for none; two
  // cursors on one spot are caught alternately by successive calls).
  int ValueToPixel(int Value) const;
  int PixelToValue(int Pixel) const;
  TPoint CursorPoint(int Index) const;
  TRect CursorHitRect(int Index) const;
  int CursorAt(int X, int Y);

  TSliderChangeEvent OnChange;
  TSliderBeforeChangeEvent OnBeforeChange;
  TSliderCustomDrawEvent OnCustomDrawBar;
  // After the slider's own handling of a press, a release, a key.
  TSliderMouseEvent OnMouseDown;
  TSliderMouseEvent OnMouseUp;
  TSliderKeyEvent OnKeyDown;
  TSliderKeyEvent OnKeyUp;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  // The one path of every change; FCurrentMode tells its cause.
  void MoveCursor(int Index, int Value);
  void Press(QMouseEvent* Event, bool Double);
  int Length() const;
  int Along(int X, int Y) const;
  void PaintBar(QPainter& Canvas);

  int FCursorSize = 8;
  TSliderBarPosition FBarPosition = TSliderBarPosition::bpTopLeft;
  TSliderOrientation FOrientation = TSliderOrientation::soHorizontal;
  int FDraggedCursor = -1;
  int FMinValue = 0;
  int FMaxValue = 100;
  bool FDrawBar = true;
  int FBarHeight = 3;
  TSliderBarStyle FBarStyle = TSliderBarStyle::bsBox;
  TSliderBarFrame FBarFrameStyle = TSliderBarFrame::bfLowered;
  TBarColors FBarColors;
  int FPageSize = 8;
  std::vector<TSliderCursor> FCursors;
  int FCurrentCursor = -1;
  TSliderChangeMode FCurrentMode = TSliderChangeMode::cmProperty;
};
