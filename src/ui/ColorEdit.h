// TColorEdit: the colour field of the dialogs: a bordered field showing a
// swatch of the colour (TColorPicker) with a drop-down arrow at its right.
// The arrow, or the Right and Down keys, drop the palette; a click on the
// swatch opens the colour dialog when one is given, else the palette. Depends
// on the colour picker and palette, the themed base control, the arrow
// buttons, the edit-height helper and the colour texts of raster, QtWidgets.
#pragma once

#include "ui/ColorPicker.h"
#include "ui/ControlEvents.h"
#include "ui/ThemedCustomControl.h"

#include <QColorDialog>
#include <QPointer>

class TPrevNextButton;

// The texts every colour edit created afterwards gives its palette's custom
// and default buttons (empty: none; a colour edit's own setting is then used).
void SetColorEditCustomText(const QString& Text);
void SetColorEditDefaultText(const QString& Text);
QString ColorEditCustomText();
QString ColorEditDefaultText();
// The colour dialog every colour edit created afterwards opens (none: the
// swatch drops the palette).
void SetColorEditDefaultDialog(QColorDialog* Dialog);
// Whether the palettes of colour edits created afterwards show hints (off).
void SetColorEditShowHint(bool Value);

class TColorEdit : public TThemedCustomControl {
  Q_OBJECT
public:
  // 80 wide, the height of an edit box, tab stop.
  explicit TColorEdit(QWidget* Parent = nullptr);

  TColor Color() const { return FColorPicker->SelectionColor(); }
  void SetColor(TColor Value);
  // Ignored while the program-wide text is set.
  QString CustomText() const { return FColorPicker->CustomText(); }
  void SetCustomText(const QString& Value);
  QString DefaultText() const { return FColorPicker->DefaultText(); }
  void SetDefaultText(const QString& Value);
  // Not owned.
  QColorDialog* ColorDialog() const { return FColorDialog; }
  void SetColorDialog(QColorDialog* Value) { FColorDialog = Value; }
  // A read-only field takes the focus but its colour cannot be changed.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TColorPicker* ColorPicker() const { return FColorPicker; }
  TPrevNextButton* DropDownButton() const { return FDropDownBtn; }

  // Drops the palette, unless a palette opened or closed less than 0.3 s ago
  // or the field is read-only.
  void DropDown();

  // Sender is the colour edit.
  TChangingColor OnChanging;
  TNotifyEvent OnChange;

  QSize sizeHint() const override;

protected:
  void resizeEvent(QResizeEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void SwatchClick();
  void UpdateButtonEnabled();

  QPointer<QColorDialog> FColorDialog;
  TColorPicker* FColorPicker;
  TPrevNextButton* FDropDownBtn;
  bool FReadOnly = false;
};
