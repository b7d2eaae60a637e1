#include "ui/SimplePanel.h"

#include "ui/ControlColor.h"
#include "ui/DrawUtils.h"

#include <QPainter>

TSimplePanel::TSimplePanel(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  resize(70, 70);
  UpdateMargins();
}

void TSimplePanel::SetBevelWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == FBevelWidth) return;
  FBevelWidth = Value;
  UpdateMargins();
}

void TSimplePanel::SetBevelColor(TColor Value) {
  if (Value == FBevelColor) return;
  FBevelColor = Value;
  update();
}

void TSimplePanel::SetBevelEdges(TBevelEdges Value) {
  Value &= beAllEdges;
  if (Value == FBevelEdges) return;
  FBevelEdges = Value;
  UpdateMargins();
}

TColor TSimplePanel::Color() const { return ControlColor(this); }

void TSimplePanel::SetColor(TColor Value) { SetControlColor(this, Value); }

bool TSimplePanel::ParentColor() const { return ControlParentColor(this); }

void TSimplePanel::SetParentColor(bool Value) { SetControlParentColor(this, Value); }

TRect TSimplePanel::ClientRect() const {
  const int W = FBevelWidth;
  return Rect((FBevelEdges & beLeft) ? W : 0, (FBevelEdges & beTop) ? W : 0,
              width() - ((FBevelEdges & beRight) ? W : 0), height() - ((FBevelEdges & beBottom) ? W : 0));
}

void TSimplePanel::UpdateMargins() {
  const TRect C = ClientRect();
  setContentsMargins(C.Left, C.Top, width() - C.Right, height() - C.Bottom);
  update();
}

void TSimplePanel::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  const int W = width(), H = height();
  FillRectColor(Canvas, Color(), Rect(0, 0, W, H));
  if (FBevelColor == clNone || FBevelWidth <= 0 || FBevelEdges == 0) return;
  const int B = FBevelWidth;
  if (FBevelEdges == beAllEdges) {
    Frame3D(Canvas, Rect(0, 0, W, H), FBevelColor, FBevelColor, B);
    return;
  }
  const int Left = (FBevelEdges & beLeft) ? B : 0;
  const int Right = (FBevelEdges & beRight) ? B : 0;
  if (Left) FillRectColor(Canvas, FBevelColor, Rect(0, 0, Left, H));
  if (Right) FillRectColor(Canvas, FBevelColor, Rect(W - Right, 0, W, H));
  if (FBevelEdges & beTop) FillRectColor(Canvas, FBevelColor, Rect(Left, 0, W - Right, B));
  if (FBevelEdges & beBottom) FillRectColor(Canvas, FBevelColor, Rect(Left, H - B, W - Right, H));
}
