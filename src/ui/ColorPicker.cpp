#include "ui/ColorPicker.h"

#include "ui/ColorPopup.h"
#include "ui/DrawUtils.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include <algorithm>
#include <utility>

namespace {

TColor DefaultColor = clNone;
std::optional<TMonoTime> LastDrop;
constexpr auto ReopenGuard = std::chrono::milliseconds(300);

} // namespace

void SetColorPopupColors(TColor Back, TColor Outline, TColor Frame) {
  ColorPopupBackColor = Back;
  ColorPopupOutlineColor = Outline;
  ColorPopupFrameColor = Frame;
}

TColor ColorPickerDefaultColor() { return DefaultColor; }

void SetColorPickerDefaultColor(TColor Color) { DefaultColor = Color; }

std::optional<TMonoTime> LastColorDropChange() { return LastDrop; }

bool ColorDropTooSoon() {
  if (!LastDrop) return false;
  const TMonoTime Since = MonoNow() - *LastDrop;
  return Since >= TMonoTime{0} && Since < ReopenGuard;
}

TColorPicker::TColorPicker(QWidget* Parent) : QWidget(Parent) {
  FColorPopup = new TColorPopup(this);
  resize(40, 20);
}

void TColorPicker::SetSelectionColor(TColor Value) {
  if (Value == FSelectionColor) return;
  if (OnChangingColor) {
    OnChangingColor(this, Value);
    if (Value == clNone || Value == FSelectionColor) return; // refused
  }
  FSelectionColor = Value;
  update();
  if (FDroppedDown) FColorPopup->SetSelectedColor(Value);
  if (OnChange) OnChange(this);
}

void TColorPicker::SetDroppedDown(bool Value) {
  if (Value == FDroppedDown) return;
  bool Allowed = true;
  if (OnDropChanging) OnDropChanging(this, Allowed);
  if (!Allowed) return;
  FDroppedDown = Value;
  if (Value) {
    FColorPopup->SetSelectedColor(FSelectionColor);
    FColorPopup->ShowPopupAligned();
  } else {
    FColorPopup->hide();
  }
  if (OnDropChanged) OnDropChanged(this);
  update();
  LastDrop = MonoNow();
}

QString TColorPicker::CustomText() const { return FColorPopup->CustomText(); }

void TColorPicker::SetCustomText(const QString& Value) { FColorPopup->SetCustomText(Value); }

QString TColorPicker::DefaultText() const { return FColorPopup->DefaultText(); }

void TColorPicker::SetDefaultText(const QString& Value) { FColorPopup->SetDefaultText(Value); }

bool TColorPicker::ShowSystemColors() const { return FColorPopup->ShowSysColors(); }

void TColorPicker::SetShowSystemColors(bool Value) { FColorPopup->SetShowSysColors(Value); }

int TColorPicker::PopupSpacing() const { return FColorPopup->Spacing(); }

void TColorPicker::SetPopupSpacing(int Value) {
  FColorPopup->SetSpacing(Value);
  update();
}

void TColorPicker::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  update();
}

void TColorPicker::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  update();
}

void TColorPicker::SetIndicatorBorder(TIndicatorBorder Value) {
  if (Value == FIndicatorBorder) return;
  FIndicatorBorder = Value;
  update();
}

void TColorPicker::SetMargin(int Value) {
  Value = std::max(Value, 0);
  if (Value == FMargin) return;
  FMargin = Value;
  update();
}

void TColorPicker::SetCaption(const QString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  if (FShortcut) releaseShortcut(FShortcut);
  const QKeySequence Key = QKeySequence::mnemonic(Value);
  FShortcut = Key.isEmpty() ? 0 : grabShortcut(Key);
  update();
}

bool TColorPicker::event(QEvent* Event) {
  if (Event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(Event)->shortcutId() == FShortcut) {
    if (isEnabled() && isVisible() && (!parentWidget() || parentWidget()->isVisible()) && OnClick) OnClick(this);
    return true;
  }
  return QWidget::event(Event);
}

void TColorPicker::DoDefaultSelect() {
  if (DefaultColor != clNone) SetSelectionColor(DefaultColor);
  if (OnDefaultSelect) OnDefaultSelect(this);
}

void TColorPicker::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  TRect R = Rect(0, 0, width(), height());
  if (!FTransparent) FillRectColor(Canvas, FColor, R);
  R = Rect(R.Left + FMargin, R.Top + FMargin, R.Right - FMargin, R.Bottom - FMargin);
  if (R.IsEmpty()) return;
  if (FIndicatorBorder == TIndicatorBorder::ibSunken || FIndicatorBorder == TIndicatorBorder::ibRaised) {
    if (FIndicatorBorder == TIndicatorBorder::ibSunken)
      Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, 1);
    else
      Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, 1);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    if (R.IsEmpty()) return;
  }
  if (isEnabled()) {
    FillRectColor(Canvas, FSelectionColor, R);
  } else {
    // The platform's checker of button shadow and the control's colour.
    FillRectColor(Canvas, FColor, R);
    const QColor Shadow = ToQColor(clBtnShadow);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left + ((Y - R.Top) & 1); X < R.Right; X += 2) Canvas.fillRect(X, Y, 1, 1, Shadow);
  }
  if (FIndicatorBorder == TIndicatorBorder::ibFlat) {
    Canvas.setBrush(ToQColor(clBtnShadow));
    FillFrameRect(Canvas, R, 1);
  }
}

void TColorPicker::mousePressEvent(QMouseEvent* Event) {
  QWidget::mousePressEvent(Event);
  if (Event->button() != Qt::LeftButton) return;
  FPressed = true;
  if (isEnabled() && FClickDropDown && !FDroppedDown) SetDroppedDown(true);
}

void TColorPicker::mouseReleaseEvent(QMouseEvent* Event) {
  QWidget::mouseReleaseEvent(Event);
  if (Event->button() != Qt::LeftButton || !std::exchange(FPressed, false)) return;
  if (rect().contains(Event->position().toPoint()) && OnClick) OnClick(this);
}

void TColorPicker::changeEvent(QEvent* Event) {
  QWidget::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::FontChange) update();
  if (Event->type() == QEvent::FontChange) FColorPopup->AdjustWindow();
}
