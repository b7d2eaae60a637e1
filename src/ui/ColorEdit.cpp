#include "ui/ColorEdit.h"

#include "raster/FoncUtils.h"
#include "ui/CompUtils.h"
#include "ui/DrawUtils.h"
#include "ui/MyUpDown.h"
#include "ui/UtilsDPI.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {

QString CustomTextAll, DefaultTextAll;
QPointer<QColorDialog> DefaultDialog;
bool ShowHintAll = false;

} // namespace

void SetColorEditCustomText(const QString& Text) { CustomTextAll = Text; }
void SetColorEditDefaultText(const QString& Text) { DefaultTextAll = Text; }
QString ColorEditCustomText() { return CustomTextAll; }
QString ColorEditDefaultText() { return DefaultTextAll; }
void SetColorEditDefaultDialog(QColorDialog* Dialog) { DefaultDialog = Dialog; }
void SetColorEditShowHint(bool Value) { ShowHintAll = Value; }

TColorEdit::TColorEdit(QWidget* Parent)
    : TThemedCustomControl(Parent), FColorDialog(DefaultDialog), FColorPicker(new TColorPicker(this)),
      FDropDownBtn(new TPrevNextButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
  FDropDownBtn->SetStyle(TPNStyle::stDown);
  FColorPicker->SetTransparent(true);
  FColorPicker->SetIndicatorBorder(TIndicatorBorder::ibNone);
  FColorPicker->SetClickDropDown(false);
  FColorPicker->SetParentOwner(true);
  FColorPicker->ShowHint = ShowHintAll;
  FColorPicker->SetDefaultText(DefaultTextAll);
  FColorPicker->SetCustomText(CustomTextAll);
  FColorPicker->setToolTip(ColorToText(Color(), true));
  FColorPicker->OnChangingColor = [this](QObject*, TColor& Value) {
    if (OnChanging) OnChanging(this, Value);
  };
  FColorPicker->OnChange = [this](QObject*) {
    FColorPicker->setToolTip(ColorToText(Color(), true));
    if (OnChange) OnChange(this);
  };
  FColorPicker->OnClick = [this](QObject*) { SwatchClick(); };
  FDropDownBtn->OnClick = [this](QObject*) {
    setFocus(Qt::MouseFocusReason);
    DropDown();
  };
  const int Height = ControlEditHeight(this);
  setMinimumHeight(Height);
  resize(80, Height);
}

QSize TColorEdit::sizeHint() const { return {80, ControlEditHeight(this)}; }

void TColorEdit::SetColor(TColor Value) {
  if (Value != Color()) FColorPicker->SetSelectionColor(Value);
}

void TColorEdit::SetCustomText(const QString& Value) {
  if (CustomTextAll.isEmpty()) FColorPicker->SetCustomText(Value);
}

void TColorEdit::SetDefaultText(const QString& Value) {
  if (DefaultTextAll.isEmpty()) FColorPicker->SetDefaultText(Value);
}

void TColorEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  UpdateButtonEnabled();
}

void TColorEdit::UpdateButtonEnabled() { FDropDownBtn->setEnabled(isEnabled() && !FReadOnly); }

void TColorEdit::DropDown() {
  if (FReadOnly || !isEnabled() || ColorDropTooSoon()) return;
  FColorPicker->SetDroppedDown(true);
}

void TColorEdit::SwatchClick() {
  setFocus(Qt::MouseFocusReason);
  if (FReadOnly) return;
  if (!FColorDialog) {
    DropDown();
    return;
  }
  QPointer<TColorEdit> Self(this);
  FColorDialog->setCurrentColor(ToQColor(Color()));
  if (FColorDialog->exec() != QDialog::Accepted || !Self) return;
  QCoreApplication::processEvents();
  if (Self && FColorDialog) SetColor(FromQColor(FColorDialog->selectedColor()));
}

void TColorEdit::resizeEvent(QResizeEvent* Event) {
  TThemedCustomControl::resizeEvent(Event);
  const int Height = ControlEditHeight(this);
  if (height() < Height) {
    resize(width(), Height);
    return;
  }
  const TRect R = ClientRect();
  int ButtonWidth = MulDiv(R.Height(), 3, 4) + 2;
  if (ButtonWidth % 2 == 0) ++ButtonWidth;
  FDropDownBtn->setGeometry(R.Right - ButtonWidth, R.Top, ButtonWidth, R.Height());
  FColorPicker->setGeometry(R.Left, R.Top, std::max(0, R.Width() - ButtonWidth), R.Height());
}

void TColorEdit::keyPressEvent(QKeyEvent* Event) {
  if ((Event->key() == Qt::Key_Right || Event->key() == Qt::Key_Down) && !(Event->modifiers() & ~Qt::KeypadModifier)) {
    DropDown();
    return;
  }
  TThemedCustomControl::keyPressEvent(Event);
}

void TColorEdit::changeEvent(QEvent* Event) {
  TThemedCustomControl::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) UpdateButtonEnabled();
}
