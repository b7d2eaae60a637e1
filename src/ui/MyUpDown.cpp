#include "ui/MyUpDown.h"

#include "ui/DlgColors.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int FirstRepeatMs = 500;
constexpr int RepeatMs = 50;

// A filled arrow pointing in Direction (0 up, 1 down, 2 left, 3 right),
// centred in R.
void DrawArrow(QPainter& P, const QRect& R, int Direction, const QColor& Color) {
  const int Size = std::max(2, std::min(R.width(), R.height()) / 4);
  const int CX = R.left() + (R.width() - 1) / 2, CY = R.top() + (R.height() - 1) / 2;
  for (int I = 0; I < Size; ++I) {
    // Row I of the triangle, from its tip: 2 I + 1 pixels long.
    const int Offset = I - Size / 2;
    switch (Direction) {
    case 0:
      P.fillRect(CX - I, CY + Offset, 2 * I + 1, 1, Color);
      break;
    case 1:
      P.fillRect(CX - I, CY - Offset, 2 * I + 1, 1, Color);
      break;
    case 2:
      P.fillRect(CX + Offset, CY - I, 1, 2 * I + 1, Color);
      break;
    default:
      P.fillRect(CX - Offset, CY - I, 1, 2 * I + 1, Color);
      break;
    }
  }
}

} // namespace

// ---- TCustomUpDown --------------------------------------------------------------------------

TCustomUpDown::TCustomUpDown(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::NoFocus);
  FRepeat.setSingleShot(false);
  connect(&FRepeat, &QTimer::timeout, this, &TCustomUpDown::Repeat);
}

void TCustomUpDown::SetOrientation(Qt::Orientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  update();
}

void TCustomUpDown::SetPosition(int Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
}

QRect TCustomUpDown::ButtonRect(TUDBtnType Button) const {
  const bool Next = Button == TUDBtnType::btNext;
  if (FOrientation == Qt::Vertical) {
    const int Half = height() / 2;
    return Next ? QRect(0, 0, width(), Half) : QRect(0, Half, width(), height() - Half);
  }
  const int Half = width() / 2;
  return Next ? QRect(Half, 0, width() - Half, height()) : QRect(0, 0, Half, height());
}

TUDBtnType TCustomUpDown::ButtonAt(const QPoint& P) const {
  return ButtonRect(TUDBtnType::btNext).contains(P) ? TUDBtnType::btNext : TUDBtnType::btPrev;
}

void TCustomUpDown::Click() {
  const int64_t Step = FPressedButton == TUDBtnType::btNext ? FIncrement : -int64_t(FIncrement);
  const int64_t Lo = std::min(FMin, FMax), Hi = std::max(FMin, FMax);
  int64_t Next = FPosition + Step;
  if (Next > Hi) Next = FWrap ? Lo : Hi;
  if (Next < Lo) Next = FWrap ? Hi : Lo;
  FPosition = static_cast<int>(Next);
  Clicked(FPressedButton);
}

void TCustomUpDown::Repeat() {
  FRepeat.setInterval(RepeatMs);
  if (FPressed && FOverPressed && isEnabled()) Click();
}

void TCustomUpDown::Clicked(TUDBtnType) {}
void TCustomUpDown::AfterMousePress(QMouseEvent*) {}
void TCustomUpDown::AfterMouseRelease(QMouseEvent*) {}

void TCustomUpDown::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !isEnabled()) {
    QWidget::mousePressEvent(Event);
    return;
  }
  FPressed = true;
  FOverPressed = true;
  FPressedButton = ButtonAt(Event->position().toPoint());
  update();
  FRepeat.start(FirstRepeatMs);
  Click();
  AfterMousePress(Event);
}

void TCustomUpDown::mouseDoubleClickEvent(QMouseEvent* Event) { mousePressEvent(Event); }

void TCustomUpDown::mouseMoveEvent(QMouseEvent* Event) {
  if (!FPressed) return;
  const bool Over = ButtonRect(FPressedButton).contains(Event->position().toPoint());
  if (Over != FOverPressed) {
    FOverPressed = Over;
    update();
  }
}

void TCustomUpDown::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !FPressed) {
    QWidget::mouseReleaseEvent(Event);
    return;
  }
  FPressed = false;
  FRepeat.stop();
  update();
  AfterMouseRelease(Event);
}

void TCustomUpDown::changeEvent(QEvent* Event) {
  QWidget::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      FPressed = false;
      FRepeat.stop();
    }
    update();
  }
}

void TCustomUpDown::paintEvent(QPaintEvent*) {
  QPainter P(this);
  const QColor Face = ToQColor(clBtnFace), Frame = ToQColor(clDlgBorder);
  const QColor Arrow = ToQColor(isEnabled() ? clBtnText : clGrayText);
  const bool Vertical = FOrientation == Qt::Vertical;
  for (TUDBtnType B : {TUDBtnType::btNext, TUDBtnType::btPrev}) {
    const QRect R = ButtonRect(B);
    const bool Down = IsPressed(B) && FOverPressed;
    const bool Hot = !Down && isEnabled() && underMouse() && R.contains(mapFromGlobal(QCursor::pos()));
    P.fillRect(R, Down ? ToQColor(DarkenColor(clBtnFace, 0.15)) : Hot ? ToQColor(LightenColor(clBtnFace, 0.4)) : Face);
    P.setPen(Frame);
    P.setBrush(Qt::NoBrush);
    P.drawRect(R.adjusted(0, 0, -1, -1));
    const int Direction = Vertical ? (B == TUDBtnType::btNext ? 0 : 1) : (B == TUDBtnType::btNext ? 3 : 2);
    DrawArrow(P, Down ? R.translated(1, 1) : R, Direction, Arrow);
  }
}

// ---- TMyUpDown ------------------------------------------------------------------------------

TMyUpDown::TMyUpDown(QWidget* Parent) : TCustomUpDown(Parent) {
  SetMin(-9999);
  SetMax(9999);
}

void TMyUpDown::DoClick() {
  if (OnClick) OnClick(this);
}

void TMyUpDown::Clicked(TUDBtnType) {
  if (FClickMode == TClickMode::cmMulti) DoClick();
}

void TMyUpDown::AfterMousePress(QMouseEvent*) {
  if (FClickMode != TClickMode::cmDown) return;
  repaint();
  // The pressed arrow stays visible a moment before the click acts.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  DoClick();
}

void TMyUpDown::AfterMouseRelease(QMouseEvent* Event) {
  if (FClickMode == TClickMode::cmUp && rect().contains(Event->position().toPoint())) DoClick();
  if (OnEndClick) OnEndClick(this);
}

// ---- TPrevNextButton ------------------------------------------------------------------------

TPrevNextButton::TPrevNextButton(QWidget* Parent) : QWidget(Parent), FUpDown(new TMyUpDown(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  const int Arrow = ScaleByDPI(17); // the horizontal scroll bar's arrow width
  resize(Arrow, Arrow);
  FUpDown->SetClickMode(TClickMode::cmUp);
  FUpDown->OnClick = [this](QObject*) {
    if (OnClick) OnClick(this);
  };
  FUpDown->OnEndClick = [this](QObject*) {
    if (OnEndClick) OnEndClick(this);
  };
  LayoutUpDown();
}

TClickMode TPrevNextButton::ClickMode() const { return FUpDown->ClickMode(); }

void TPrevNextButton::SetClickMode(TClickMode Value) { FUpDown->SetClickMode(Value); }

void TPrevNextButton::SetStyle(TPNStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  LayoutUpDown();
}

QRect TPrevNextButton::UpDownRect(TPNStyle Style, int W, int H, int S) {
  int L = 0, T = 0, R = W, B = H;
  switch (Style) {
  case TPNStyle::stDown:
    T = -S - H;
    break;
  case TPNStyle::stUp:
    B = 2 * H + S;
    break;
  case TPNStyle::stLeft:
    R = 2 * W + S;
    break;
  case TPNStyle::stRight:
    L = -S - W;
    break;
  }
  if (S == 1) {
    --L, --T, ++R, ++B;
    if (Style == TPNStyle::stLeft || Style == TPNStyle::stRight) --B;
  }
  return QRect(L, T, R - L, B - T);
}

void TPrevNextButton::LayoutUpDown() {
  FUpDown->setGeometry(UpDownRect(FStyle, width(), height(), IsSystemStyle() ? 1 : 0));
  FUpDown->SetOrientation(FStyle == TPNStyle::stDown || FStyle == TPNStyle::stUp ? Qt::Vertical : Qt::Horizontal);
}

void TPrevNextButton::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  LayoutUpDown();
}

void TPrevNextButton::changeEvent(QEvent* Event) {
  QWidget::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) FUpDown->setEnabled(isEnabled());
}
