// Numeric edit fields: TSpinEdit2 (integers) and TFloatSpinEdit (floating
// point), single-line edits with an up-down part at the right, an optional
// drop-down arrow opening a menu of preset values, a key filter, arrow-key
// and wheel stepping, and clamping to a range. Depends on the arrow buttons,
// the edit-height helper, the number texts of platform, the beep and clock
// seams, QtWidgets.
//
// All their state is the text: Value parses it each time it is read (clamped;
// MinValue when it does not parse) and formats it when written, so whatever
// the user types, pastes or picks is the value. A text out of range stays as
// typed until the field is left, which normalises it. An empty text stays
// empty; dialogs then fall back on the field's Tag (ui/ControlTag.h).
#pragma once

#include "platform/Clock.h"
#include "ui/ControlEvents.h"
#include "ui/MyUpDown.h"

#include <QLineEdit>

#include <optional>

class QMenu;

// The up-down part: its clicks step the field; no tab stop.
class TSpinUpDown : public TCustomUpDown {
  Q_OBJECT
public:
  explicit TSpinUpDown(QWidget* Parent = nullptr);
  std::function<void(TUDBtnType)> OnArrowClick;

protected:
  void Clicked(TUDBtnType Button) override;
};

class TCustomSpinEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit TCustomSpinEdit(QWidget* Parent = nullptr);

  // Select the whole text when the field is entered other than by a click.
  bool AutoSelect = true;

  bool ShowUpDown() const;
  void SetShowUpDown(bool Value);
  bool ShowDropButton() const;
  void SetShowDropButton(bool Value);
  // A menu of preset values owned by the form; one menu may serve several
  // fields (PopupComponent tells its about-to-show handler which one).
  QMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(QMenu* Menu) { FDropDownMenu = Menu; }
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool Value) { setReadOnly(Value); }

  // The field's own Tag: the value an empty field falls back to in dialogs.
  int Tag() const;
  void SetTag(int Value);

  // The text changed (typed, pasted, picked or set).
  TNotifyEvent OnChange;
  // A preset was picked from the drop-down menu.
  TSelectItemEvent OnSelectItem;

  // Opens DropDownMenu below the field, unless it closed less than 0.3 s ago
  // (the click that closed it must not reopen it). The chosen item's caption
  // becomes the text (see ItemText), unclamped.
  void DropDown();
  // The text a preset caption gives: read up to the first space, "." as the
  // locale's decimal separator, keeping signs, digits and the separator and
  // dropping everything else ("10%" gives "10", "&5" gives "5").
  static QString ItemText(const QString& Caption);

  // The text that shows the current value.
  virtual QString ValueText() const;
  // Shows the current value again (clamped and formatted) without firing
  // OnChange; an empty text takes Tag instead.
  virtual void NormaliseSilently() = 0;
  // Sets the value from the text (clamped and formatted), firing OnChange
  // when the text changes; an empty text takes Tag instead.
  virtual void Commit() = 0;

  TSpinUpDown* UpDown() const { return FUpDown; }
  TPrevNextButton* DropButton() const { return FDropButton; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  // A typed character the base filter does not accept may still be.
  virtual bool AcceptsChar(QChar Key);
  virtual void StepUp();
  virtual void StepDown();
  // The text a typed character stands for (the float edit's "." becomes the
  // decimal separator).
  virtual QString TypedText(QChar Key) const;

  // Sets the text with OnChange detached.
  void SetTextSilently(const QString& Text);
  // The caret, or the start of the selection.
  int SelStart() const;

  void keyPressEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void LayoutButtons();
  void UpdateHeight();
  void ArrowClick(TUDBtnType Button);
  void DropButtonClick();
  void ItemClick(QAction* Item);

  TSpinUpDown* FUpDown = nullptr;
  TPrevNextButton* FDropButton = nullptr;
  QMenu* FDropDownMenu = nullptr;
  std::optional<TMonoTime> FDateCloseUp; // when the drop-down menu last closed
  int FWheelDelta = 0;
};

class TSpinEdit2 : public TCustomSpinEdit {
  Q_OBJECT
public:
  explicit TSpinEdit2(QWidget* Parent = nullptr);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value) { FMinValue = Value; }
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value) { FMaxValue = Value; }
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }

  // The text as a decimal integer, clamped; MinValue when it is none.
  int Value() const;
  // Clamps and shows the value; OnChange fires when the text changes.
  void SetValue(int Value);
  // The same without firing OnChange.
  void SetValue2(int Value);
  // No clamping when MinValue equals MaxValue.
  int CheckValue(int Value) const;

  QString ValueText() const override;
  void NormaliseSilently() override;
  void Commit() override;

protected:
  bool AcceptsChar(QChar Key) override;
  void StepUp() override;
  void StepDown() override;

private:
  void Step(int64_t Delta);
  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
};

// A field over Min..Max named Name (by which the dialog settings and the
// tests find it), showing Value without firing OnChange. MaxLength limits
// what can be typed; 0 (the edit's own default) leaves it free, since a
// value typed out of range is clamped anyway when the field is left.
TSpinEdit2* NewSpinEdit2(QWidget* Parent, const char* Name, int Min, int Max, int Value, int MaxLength = 0);

// The characters the widest value of a range needs: those of its largest
// value as shown, one more for a minus sign when the range goes below 0.
int SpinMaxLength(const QString& MaxText, bool Negative);

class TFloatSpinEdit : public TCustomSpinEdit {
  Q_OBJECT
public:
  explicit TFloatSpinEdit(QWidget* Parent = nullptr);

  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value) { FMinValue = Value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value) { FMaxValue = Value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  // The picture of the shown value (platform FormatFloat); "0.00" at
  // creation and for an empty text. Changing it shows the value again
  // without firing OnChange.
  const QString& Format() const { return FFormat; }
  void SetFormat(const QString& Value);

  // The text parsed in the user's locale, clamped; MinValue when it does
  // not parse (infinities and NaN do not).
  double Value() const;
  void SetValue(double Value);
  void SetValue2(double Value);
  // No clamping when MinValue equals MaxValue (the default range 0..0 is
  // unbounded), though never beyond the finite doubles; NaN gives MinValue.
  double CheckValue(double Value) const;

  QString ValueText() const override;
  void NormaliseSilently() override;
  void Commit() override;

protected:
  bool AcceptsChar(QChar Key) override;
  void StepUp() override;
  void StepDown() override;
  QString TypedText(QChar Key) const override;

private:
  double FMinValue = 0;
  double FMaxValue = 0;
  double FIncrement = 1;
  QString FFormat = QStringLiteral("0.00");
};
