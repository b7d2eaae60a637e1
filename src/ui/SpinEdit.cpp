#include "ui/SpinEdit.h"

#include "platform/Beep.h"
#include "platform/NumberFormat.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyleOptionFrame>

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

constexpr auto CloseUpGuard = std::chrono::milliseconds(300);
constexpr int WheelNotch = 120;

bool IsDigit(QChar C) { return C >= u'0' && C <= u'9'; }

// The control codes the base filter lets through: copy, backspace, paste,
// cut.
bool IsEditCode(QChar C) { return C == QChar(3) || C == QChar(8) || C == QChar(22) || C == QChar(24); }

} // namespace

// ---- TSpinUpDown ----------------------------------------------------------------------------

TSpinUpDown::TSpinUpDown(QWidget* Parent) : TCustomUpDown(Parent) {
  SetMin(-32768);
  SetMax(32767);
  SetPosition(0);
}

void TSpinUpDown::Clicked(TUDBtnType Button) {
  if (OnArrowClick) OnArrowClick(Button);
}

// ---- TCustomSpinEdit ------------------------------------------------------------------------

TCustomSpinEdit::TCustomSpinEdit(QWidget* Parent) : QLineEdit(Parent) {
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
  setText(QStringLiteral("0"));
  UpdateHeight();
  resize(65, FontEditHeight(font(), hasFrame()));
  SetShowUpDown(true);
}

int TCustomSpinEdit::Tag() const { return ControlTag(this); }

void TCustomSpinEdit::SetTag(int Value) { SetControlTag(this, Value); }

bool TCustomSpinEdit::ShowUpDown() const { return FUpDown && !FUpDown->isHidden(); }

void TCustomSpinEdit::SetShowUpDown(bool Value) {
  if (Value == (FUpDown != nullptr)) return;
  if (Value) {
    FUpDown = new TSpinUpDown(this);
    FUpDown->setCursor(Qt::ArrowCursor);
    FUpDown->OnArrowClick = [this](TUDBtnType Button) { ArrowClick(Button); };
    FUpDown->setEnabled(isEnabled());
    FUpDown->show();
  } else {
    delete FUpDown;
    FUpDown = nullptr;
  }
  LayoutButtons();
}

bool TCustomSpinEdit::ShowDropButton() const { return FDropButton && !FDropButton->isHidden(); }

void TCustomSpinEdit::SetShowDropButton(bool Value) {
  if (Value == (FDropButton != nullptr)) return;
  if (Value) {
    FDropButton = new TPrevNextButton(this);
    FDropButton->setCursor(Qt::ArrowCursor);
    FDropButton->SetStyle(TPNStyle::stDown);
    FDropButton->OnClick = [this](QObject*) { DropButtonClick(); };
    FDropButton->setEnabled(isEnabled());
    FDropButton->show();
  } else {
    delete FDropButton;
    FDropButton = nullptr;
  }
  LayoutButtons();
}

void TCustomSpinEdit::UpdateHeight() {
  const int Height = FontEditHeight(font(), hasFrame());
  setMinimumHeight(Height);
  if (height() < Height) resize(width(), Height);
}

QSize TCustomSpinEdit::sizeHint() const { return {65, FontEditHeight(font(), hasFrame())}; }

QSize TCustomSpinEdit::minimumSizeHint() const { return {0, FontEditHeight(font(), hasFrame())}; }

void TCustomSpinEdit::LayoutButtons() {
  int Frame = 0;
  if (hasFrame()) {
    QStyleOptionFrame Option;
    initStyleOption(&Option);
    Frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, this);
  }
  const QRect Client = rect().adjusted(Frame, Frame, -Frame, -Frame);
  const int H = Client.height();
  int Right = Client.left() + Client.width(); // exclusive
  int Used = 0;
  if (FDropButton) {
    int W = MulDiv(H, 3, 4) + 2;
    if (W % 2 == 0) ++W;
    FDropButton->setGeometry(Right - W, Client.top(), W, H);
    Right -= W + 1;
    Used += W + 1;
  }
  if (FUpDown) {
    int W = MulDiv(H, 3, 4);
    if (W % 2 == 0) ++W;
    QRect R(Right - W, Client.top(), W, H);
    if (IsSystemStyle()) R.adjust(-1, -1, 1, 1);
    FUpDown->setGeometry(R);
    Used += W + 1;
  }
  setTextMargins(0, 0, Used, 0);
}

void TCustomSpinEdit::resizeEvent(QResizeEvent* Event) {
  QLineEdit::resizeEvent(Event);
  if (height() < FontEditHeight(font(), hasFrame())) {
    UpdateHeight(); // the new size arrives again
    return;
  }
  LayoutButtons();
}

void TCustomSpinEdit::changeEvent(QEvent* Event) {
  QLineEdit::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) {
    if (FUpDown) FUpDown->setEnabled(isEnabled());
    if (FDropButton) FDropButton->setEnabled(isEnabled());
  } else if (Event->type() == QEvent::FontChange) {
    UpdateHeight();
    LayoutButtons();
  }
}

void TCustomSpinEdit::SetTextSilently(const QString& Text) {
  const QSignalBlocker Blocker(this);
  setText(Text);
}

int TCustomSpinEdit::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

bool TCustomSpinEdit::AcceptsChar(QChar) { return false; }
void TCustomSpinEdit::StepUp() {}
void TCustomSpinEdit::StepDown() {}
QString TCustomSpinEdit::TypedText(QChar Key) const { return Key; }
QString TCustomSpinEdit::ValueText() const { return text(); }

void TCustomSpinEdit::ArrowClick(TUDBtnType Button) {
  if (isReadOnly()) {
    Beep();
    return;
  }
  setFocus(Qt::MouseFocusReason);
  if (Button == TUDBtnType::btNext)
    StepUp();
  else
    StepDown();
}

void TCustomSpinEdit::keyPressEvent(QKeyEvent* Event) {
  const int Key = Event->key();
  const Qt::KeyboardModifiers Mods = Event->modifiers() & ~Qt::KeypadModifier;
  const bool Plain = !(Mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if ((Key == Qt::Key_Up || Key == Qt::Key_Down) && Plain) {
    if (!isReadOnly() && ShowUpDown()) {
      if (Key == Qt::Key_Up)
        StepUp();
      else
        StepDown();
    }
    QLineEdit::keyPressEvent(Event); // the edit's own handling follows
    return;
  }
  // The character the key types, as the platform reports it: Ctrl with a
  // letter types that letter's control code.
  QString Typed = Event->text();
  if ((Mods & Qt::ControlModifier) && !(Mods & Qt::AltModifier) && Key >= Qt::Key_A && Key <= Qt::Key_Z)
    Typed = QChar(Key - Qt::Key_A + 1);
  const bool NoCharacter = Typed.isEmpty() || (Mods & Qt::AltModifier) || Key == Qt::Key_Return ||
                           Key == Qt::Key_Enter || Key == Qt::Key_Escape || Key == Qt::Key_Tab ||
                           Key == Qt::Key_Backtab || Key == Qt::Key_Delete || Typed.front() == QChar(0x7F);
  if (NoCharacter) {
    QLineEdit::keyPressEvent(Event);
    return;
  }
  QString Text;
  for (QChar C : Typed) {
    const QString T = TypedText(C);
    const QChar First = T.isEmpty() ? QChar() : T.front();
    if (!(IsEditCode(First) || IsDigit(First) || AcceptsChar(First))) {
      Event->accept();
      Beep();
      return;
    }
    Text += T;
  }
  if (Text == Event->text()) {
    QLineEdit::keyPressEvent(Event);
  } else if (Text.front().unicode() >= 32) {
    QKeyEvent Translated(Event->type(), Key, Event->modifiers(), Text, Event->isAutoRepeat(),
                         static_cast<quint16>(Event->count()));
    QLineEdit::keyPressEvent(&Translated);
    Event->setAccepted(Translated.isAccepted());
  } else {
    QLineEdit::keyPressEvent(Event); // a control code: the key's own editing action
  }
}

void TCustomSpinEdit::focusInEvent(QFocusEvent* Event) {
  QLineEdit::focusInEvent(Event);
  const bool Clicked = Event->reason() == Qt::MouseFocusReason;
  if (AutoSelect && !Clicked) selectAll();
}

void TCustomSpinEdit::focusOutEvent(QFocusEvent* Event) {
  QLineEdit::focusOutEvent(Event);
  // Leaving the field, not opening a menu over it or switching programs.
  if (Event->reason() == Qt::PopupFocusReason || Event->reason() == Qt::ActiveWindowFocusReason) return;
  const QString Normal = ValueText();
  if (!text().isEmpty() && text() != Normal) setText(Normal);
}

void TCustomSpinEdit::wheelEvent(QWheelEvent* Event) {
  if (!hasFocus()) {
    QLineEdit::wheelEvent(Event);
    return;
  }
  FWheelDelta += Event->angleDelta().y();
  while (FWheelDelta >= WheelNotch) {
    FWheelDelta -= WheelNotch;
    StepUp();
  }
  while (FWheelDelta <= -WheelNotch) {
    FWheelDelta += WheelNotch;
    StepDown();
  }
  Event->accept(); // one turn, one action: the form behind does not scroll too
}

void TCustomSpinEdit::DropButtonClick() {
  if (isReadOnly()) {
    Beep();
    return;
  }
  DropDown();
}

void TCustomSpinEdit::DropDown() {
  if (!FDropDownMenu) return;
  if (FDateCloseUp && MonoNow() - *FDateCloseUp < CloseUpGuard) return;
  QPointer<TCustomSpinEdit> Self(this);
  QPointer<QMenu> Menu(FDropDownMenu);
  SetPopupComponent(Menu, this);
  const QMetaObject::Connection Binding = connect(Menu, &QMenu::triggered, this, [this, Menu](QAction* Item) {
    if (Menu && Menu->actions().contains(Item)) ItemClick(Item);
  });
  QPoint At = mapToGlobal(QPoint(0, height()));
  if (IsSystemStyle()) At.ry() -= 1;
  Menu->exec(At);
  if (!Self) return;
  disconnect(Binding);
  FDateCloseUp = MonoNow();
}

QString TCustomSpinEdit::ItemText(const QString& Caption) {
  const QString Separator = DecimalSeparator();
  QString Out;
  for (QChar C : Caption) {
    if (C == u' ') break;
    if (C == u'.')
      Out += Separator;
    else if (IsDigit(C) || C == u'+' || C == u'-' || (Separator.size() == 1 && C == Separator.front()))
      Out += C;
  }
  return Out;
}

void TCustomSpinEdit::ItemClick(QAction* Item) {
  const QString Text = ItemText(Item->text());
  const bool Changed = Text != text();
  if (Changed) setText(Text);
  if (OnSelectItem) OnSelectItem(this, Changed);
}

// ---- TSpinEdit2 -----------------------------------------------------------------------------

TSpinEdit2::TSpinEdit2(QWidget* Parent) : TCustomSpinEdit(Parent) {}

int TSpinEdit2::CheckValue(int Value) const {
  if (FMinValue == FMaxValue) return Value;
  return Value < FMinValue ? FMinValue : Value > FMaxValue ? FMaxValue : Value;
}

int TSpinEdit2::Value() const {
  int V = 0;
  return CheckValue(TryStrToInt(text(), V) ? V : FMinValue);
}

void TSpinEdit2::SetValue(int Value) { setText(QString::number(CheckValue(Value))); }

void TSpinEdit2::SetValue2(int Value) { SetTextSilently(QString::number(CheckValue(Value))); }

QString TSpinEdit2::ValueText() const { return QString::number(Value()); }

void TSpinEdit2::NormaliseSilently() { SetValue2(text().isEmpty() ? Tag() : Value()); }

void TSpinEdit2::Commit() { SetValue(text().isEmpty() ? Tag() : Value()); }

bool TSpinEdit2::AcceptsChar(QChar Key) {
  return (Key == u'+' || Key == u'-') && SelStart() == 0 && (FMinValue == FMaxValue || FMinValue < 0);
}

void TSpinEdit2::Step(int64_t Delta) {
  const int64_t Next = std::clamp<int64_t>(int64_t(Value()) + Delta, INT_MIN, INT_MAX);
  SetValue(static_cast<int>(Next));
}

void TSpinEdit2::StepUp() { Step(FIncrement); }

void TSpinEdit2::StepDown() { Step(-int64_t(FIncrement)); }

TSpinEdit2* NewSpinEdit2(QWidget* Parent, const char* Name, int Min, int Max, int Value, int MaxLength) {
  auto* E = Named(new TSpinEdit2(Parent), Name);
  E->SetMinValue(Min);
  E->SetMaxValue(Max);
  if (MaxLength > 0) E->setMaxLength(MaxLength);
  E->SetValue2(Value);
  return E;
}

int SpinMaxLength(const QString& MaxText, bool Negative) { return int(MaxText.size()) + (Negative ? 1 : 0); }

// ---- TFloatSpinEdit -------------------------------------------------------------------------

TFloatSpinEdit::TFloatSpinEdit(QWidget* Parent) : TCustomSpinEdit(Parent) { setText(FormatFloat(FFormat, 0.0)); }

void TFloatSpinEdit::SetFormat(const QString& Value) {
  if (Value == FFormat) return;
  FFormat = Value.isEmpty() ? QStringLiteral("0.00") : Value;
  SetValue2(this->Value());
}

double TFloatSpinEdit::CheckValue(double Value) const {
  if (std::isnan(Value)) return FMinValue;
  if (FMinValue == FMaxValue) return std::clamp(Value, -DBL_MAX, DBL_MAX);
  return Value < FMinValue ? FMinValue : Value > FMaxValue ? FMaxValue : Value;
}

double TFloatSpinEdit::Value() const {
  double V = 0;
  return TryStrToFloat(text(), V) ? CheckValue(V) : FMinValue;
}

void TFloatSpinEdit::SetValue(double Value) { setText(FormatFloat(FFormat, CheckValue(Value))); }

void TFloatSpinEdit::SetValue2(double Value) { SetTextSilently(FormatFloat(FFormat, CheckValue(Value))); }

QString TFloatSpinEdit::ValueText() const { return FormatFloat(FFormat, Value()); }

void TFloatSpinEdit::NormaliseSilently() { SetValue2(text().isEmpty() ? double(Tag()) : Value()); }

void TFloatSpinEdit::Commit() { SetValue(text().isEmpty() ? double(Tag()) : Value()); }

QString TFloatSpinEdit::TypedText(QChar Key) const { return Key == u'.' ? DecimalSeparator() : QString(Key); }

bool TFloatSpinEdit::AcceptsChar(QChar Key) {
  if (Key == u'+' || Key == u'-') return SelStart() == 0 && (FMinValue == FMaxValue || FMinValue < 0.0);
  const QString Separator = DecimalSeparator();
  return QString(Key) == Separator && FFormat.contains(u'.') && !text().contains(Separator);
}

void TFloatSpinEdit::StepUp() { SetValue(Value() + FIncrement); }

void TFloatSpinEdit::StepDown() { SetValue(Value() - FIncrement); }
