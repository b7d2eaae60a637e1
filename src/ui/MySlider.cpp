#include "ui/MySlider.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "ui/ControlColor.h"
#include "ui/DrawUtils.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

// Alternates the search direction of the hit test, for all sliders.
bool HitFromFirst = false;

TRect Shrunk(const TRect& R, int By) { return Rect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By); }

} // namespace

TMySlider::TMySlider(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  resize(150, 12);
  FBarColors = {clBtnShadow, ControlColor(this)};
}

// ---- Properties ------------------------------------------------------------------

void TMySlider::SetCursorSize(int Value) {
  Value = std::clamp(Value, 4, 20);
  if (Value == FCursorSize) return;
  FCursorSize = Value;
  update();
}

void TMySlider::SetMin(int Value) {
  if (Value >= FMaxValue || Value == FMinValue) return;
  FMinValue = Value;
  update();
}

void TMySlider::SetMax(int Value) {
  if (Value <= FMinValue || Value == FMaxValue) return;
  FMaxValue = Value;
  update();
}

void TMySlider::SetDrawBar(bool Value) {
  if (Value == FDrawBar) return;
  FDrawBar = Value;
  update();
}

void TMySlider::SetBarHeight(int Value) {
  Value = std::max(Value, 1);
  if (Value == FBarHeight) return;
  FBarHeight = Value;
  update();
}

void TMySlider::SetBarStyle(TSliderBarStyle Value) {
  if (Value == FBarStyle) return;
  FBarStyle = Value;
  update();
}

void TMySlider::SetBarFrameStyle(TSliderBarFrame Value) {
  if (Value == FBarFrameStyle) return;
  FBarFrameStyle = Value;
  update();
}

void TMySlider::SetBarPosition(TSliderBarPosition Value) {
  if (Value == FBarPosition) return;
  FBarPosition = Value;
  update();
}

void TMySlider::SetOrientation(TSliderOrientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  const int Thick = FCursorSize + FBarHeight + 1;
  if (Value == TSliderOrientation::soHorizontal)
    resize(150, Thick);
  else
    resize(Thick, 150);
  update();
}

void TMySlider::SetCurrentCursor(int Value) {
  if (Value >= 0 && Value < CursorsCount()) FCurrentCursor = Value;
}

void TMySlider::SetBarColors(TColor Color1, TColor Color2) {
  if (Color1 == FBarColors.Color1 && Color2 == FBarColors.Color2) return;
  FBarColors = {Color1, Color2};
  update();
}

int TMySlider::AddCursor(int Position, TColor PenColor, TColor BrushColor) {
  FCursors.push_back({Position, Position, PenColor, BrushColor});
  FCurrentCursor = CursorsCount() - 1;
  return FCurrentCursor;
}

int TMySlider::GetPosition(int Index) const {
  return Index >= 0 && Index < CursorsCount() ? FCursors[static_cast<size_t>(Index)].Position : 0;
}

void TMySlider::SetPosProperty(int Index, int Value) {
  FCurrentMode = TSliderChangeMode::cmProperty;
  MoveCursor(Index, Value);
}

void TMySlider::MoveCursor(int Index, int Value) {
  if (Index < 0 || Index >= CursorsCount()) return;
  if (OnBeforeChange) OnBeforeChange(this, Index, Value);
  if (CheckCollision) {
    if (Index > 0) Value = std::max(Value, GetPosition(Index - 1));
    if (Index < CursorsCount() - 1) Value = std::min(Value, GetPosition(Index + 1));
  }
  Value = std::clamp(Value, FMinValue, FMaxValue);
  TSliderCursor& C = FCursors[static_cast<size_t>(Index)];
  if (Value == C.Position) return;
  C.Position = Value;
  FCurrentCursor = Index;
  update();
  if (OnChange) OnChange(this, Index, FCurrentMode);
}

// ---- Geometry --------------------------------------------------------------------

int TMySlider::Length() const { return FOrientation == TSliderOrientation::soHorizontal ? width() : height(); }

int TMySlider::Along(int X, int Y) const { return FOrientation == TSliderOrientation::soHorizontal ? X : Y; }

TRect TMySlider::GetBarRect() const {
  const int CS = FCursorSize;
  const bool Horizontal = FOrientation == TSliderOrientation::soHorizontal;
  TRect R = Horizontal ? Rect(CS, 0, width() - CS, FBarHeight) : Rect(0, CS, FBarHeight, height() - CS);
  if (FBarPosition == TSliderBarPosition::bpBottomRight)
    R = Horizontal ? OffsetRect(R, 0, CS + 1) : OffsetRect(R, CS + 1, 0);
  return R;
}

int TMySlider::ValueToPixel(int Value) const {
  const double Span = double(FMaxValue) - FMinValue;
  return FCursorSize + Round((Length() - 2 * FCursorSize - 1) / Span * (double(Value) - FMinValue));
}

int TMySlider::PixelToValue(int Pixel) const {
  const int Track = Length() - 2 * FCursorSize - 1;
  if (Track <= 0) return FMinValue; // too short to tell values apart
  const double Span = double(FMaxValue) - FMinValue;
  return static_cast<int>(
      std::clamp<int64_t>(FMinValue + Round64(double(Pixel - FCursorSize) / Track * Span), INT32_MIN, INT32_MAX));
}

TPoint TMySlider::CursorPoint(int Index) const {
  const int Along = ValueToPixel(GetPosition(Index));
  const int Across = FDrawBar && FBarPosition == TSliderBarPosition::bpTopLeft ? FBarHeight : 0;
  return FOrientation == TSliderOrientation::soHorizontal ? TPoint{Along, Across} : TPoint{Across, Along};
}

TRect TMySlider::CursorHitRect(int Index) const {
  const TPoint P = CursorPoint(Index);
  const int CS = FCursorSize;
  return FOrientation == TSliderOrientation::soHorizontal ? Rect(P.X - CS, P.Y, P.X + CS, P.Y + CS)
                                                          : Rect(P.X, P.Y - CS, P.X + CS, P.Y + CS);
}

int TMySlider::CursorAt(int X, int Y) {
  HitFromFirst = !HitFromFirst;
  const int N = CursorsCount();
  for (int K = 0; K < N; ++K) {
    const int I = HitFromFirst ? K : N - 1 - K;
    if (PtInRect(CursorHitRect(I), TPoint{X, Y})) return I;
  }
  return -1;
}

// ---- Mouse and keys ---------------------------------------------------------------

void TMySlider::Press(QMouseEvent* Event, bool Double) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const int X = Event->position().toPoint().x(), Y = Event->position().toPoint().y();
  if (Event->button() != Qt::LeftButton) {
    FDraggedCursor = -1;
  } else {
    FDraggedCursor = CursorAt(X, Y);
    FCurrentMode = TSliderChangeMode::cmMouse;
    if (Double) {
      if (CanReset && FDraggedCursor >= 0) {
        const int Index = std::exchange(FDraggedCursor, -1);
        MoveCursor(Index, FCursors[static_cast<size_t>(Index)].Default);
      }
    } else if (FDraggedCursor < 0 && ClickMove && FCurrentCursor >= 0) {
      FDraggedCursor = FCurrentCursor;
      MoveCursor(FDraggedCursor, PixelToValue(Along(X, Y)));
    }
  }
  if (OnMouseDown) OnMouseDown(this, Event->button(), Event->modifiers(), X, Y);
}

void TMySlider::mousePressEvent(QMouseEvent* Event) { Press(Event, false); }

void TMySlider::mouseDoubleClickEvent(QMouseEvent* Event) { Press(Event, true); }

void TMySlider::mouseMoveEvent(QMouseEvent* Event) {
  if (FDraggedCursor < 0) return;
  const QPoint P = Event->position().toPoint();
  FCurrentMode = TSliderChangeMode::cmMouse;
  MoveCursor(FDraggedCursor, PixelToValue(Along(P.x(), P.y())));
}

void TMySlider::mouseReleaseEvent(QMouseEvent* Event) {
  FDraggedCursor = -1;
  const QPoint P = Event->position().toPoint();
  if (OnMouseUp) OnMouseUp(this, Event->button(), Event->modifiers(), P.x(), P.y());
}

void TMySlider::keyPressEvent(QKeyEvent* Event) {
  if (OnKeyDown) OnKeyDown(this, Event->key(), Event->modifiers());
  if (FCurrentCursor < 0) {
    QWidget::keyPressEvent(Event);
    return;
  }
  const int Position = GetPosition(FCurrentCursor);
  int Value;
  switch (Event->key()) {
  case Qt::Key_PageUp:
    Value = Position + FPageSize;
    break;
  case Qt::Key_PageDown:
    Value = Position - FPageSize;
    break;
  case Qt::Key_End:
    Value = FMaxValue;
    break;
  case Qt::Key_Home:
    Value = FMinValue;
    break;
  case Qt::Key_Left:
  case Qt::Key_Up:
    Value = Position - 1;
    break;
  case Qt::Key_Right:
  case Qt::Key_Down:
    Value = Position + 1;
    break;
  default:
    QWidget::keyPressEvent(Event);
    return;
  }
  FCurrentMode = TSliderChangeMode::cmKey;
  MoveCursor(FCurrentCursor, Value);
}

void TMySlider::keyReleaseEvent(QKeyEvent* Event) {
  if (OnKeyUp && !Event->isAutoRepeat()) OnKeyUp(this, Event->key(), Event->modifiers());
  QWidget::keyReleaseEvent(Event);
}

void TMySlider::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::PaletteChange) update();
  QWidget::changeEvent(Event);
}

// ---- Painting -------------------------------------------------------------------------

void TMySlider::PaintBar(QPainter& Canvas) {
  TRect R = GetBarRect();
  if (FBarFrameStyle != TSliderBarFrame::bfNone) {
    if (FBarFrameStyle == TSliderBarFrame::bfRaised)
      Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, 1);
    else
      Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, 1);
    R = Shrunk(R, 1);
  }
  if (R.IsEmpty()) return;
  const TColor C1 = FBarColors.Color1, C2 = FBarColors.Color2;
  switch (FBarStyle) {
  case TSliderBarStyle::bsBox:
    if (C1 != clNone) {
      Canvas.setBrush(ToQColor(C1));
      FillFrameRect(Canvas, R, 1);
      R = Shrunk(R, 1);
    }
    if (C2 != clNone && !R.IsEmpty()) FillRectColor(Canvas, C2, R);
    break;
  case TSliderBarStyle::bsGradient:
    DrawGradient(Canvas, R, C1, C2, FOrientation == TSliderOrientation::soHorizontal);
    break;
  case TSliderBarStyle::bsProgress: {
    const int First = CursorsCount() > 0 ? FCursors.front().Position : FMinValue;
    if (CursorsCount() == 0 || First <= FMinValue) {
      FillRectColor(Canvas, C1, R);
    } else if (First >= FMaxValue) {
      FillRectColor(Canvas, C2, R);
    } else if (FOrientation == TSliderOrientation::soHorizontal) {
      const int X = ValueToPixel(First);
      FillRectColor(Canvas, C2, Rect(R.Left, R.Top, std::min(X + 1, R.Right), R.Bottom));
      if (R.Right - (X + 1) >= 2) FillRectColor(Canvas, C1, Rect(X + 1, R.Top, R.Right, R.Bottom));
    }
    break;
  }
  case TSliderBarStyle::bsCustom:
    if (OnCustomDrawBar) OnCustomDrawBar(this, Canvas, R);
    break;
  }
}

void TMySlider::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  TBitmap Work(width(), height(), pf24bit, ColorToRGB(ControlColor(this)));
  if (FDrawBar) {
    QImage View = Work.QImageView();
    QPainter Canvas(&View);
    PaintBar(Canvas);
  }
  TCanvas& Canvas = Work.Canvas();
  const bool Enabled = isEnabled();
  const int CS = FCursorSize;
  const bool Horizontal = FOrientation == TSliderOrientation::soHorizontal;
  const bool BarFirst = FBarPosition == TSliderBarPosition::bpTopLeft;
  for (int I = 0; I < CursorsCount(); ++I) {
    const TSliderCursor& C = FCursors[static_cast<size_t>(I)];
    const TPoint P = CursorPoint(I);
    std::array<TPoint, 3> Triangle;
    if (Horizontal)
      Triangle = BarFirst ? std::array<TPoint, 3>{TPoint{P.X, P.Y}, {P.X - CS, P.Y + CS}, {P.X + CS, P.Y + CS}}
                          : std::array<TPoint, 3>{TPoint{P.X - CS, P.Y}, {P.X + CS, P.Y}, {P.X, P.Y + CS}};
    else
      Triangle = BarFirst ? std::array<TPoint, 3>{TPoint{P.X, P.Y}, {P.X + CS, P.Y - CS}, {P.X + CS, P.Y + CS}}
                          : std::array<TPoint, 3>{TPoint{P.X, P.Y - CS}, {P.X, P.Y + CS}, {P.X + CS, P.Y}};
    Canvas.Pen.Color = Enabled ? C.PenColor : clBtnShadow;
    Canvas.Brush.Color = Enabled ? C.BrushColor : clBtnFace;
    Canvas.Brush.Style = TBrushStyle::bsSolid;
    Canvas.Polygon(Triangle);
  }
  QPainter Screen(this);
  Screen.drawImage(0, 0, Work.QImageView());
}
