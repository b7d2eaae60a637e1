// The ripple, the radial mask and the wide-angle correction dialogs.
// Depends on TFilterNForm, the distortion and blur filters, the radial
// gradient of the painting tools.
#pragma once

#include "filters/ui/FilterNForm.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// Filter > Distort > Ripple: waves of the main slider's period and the
// second slider's amplitude, displacing rows (horizontal axis) or columns.
class TRippleForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TRippleForm(QWidget* Parent = nullptr);
  QLabel* Lbl2 = nullptr;
  TTrackBar* TB2 = nullptr;
  QRadioButton* RBAxe1 = nullptr;
  QRadioButton* RBAxe2 = nullptr;
  void ApplyFilter() override;

private:
  void AmplitudeChange();
};

// Filter > Other > Radial mask: colour 2 over the rect, colour 1 fading out
// from its centre with the main slider's hardness (an S-shaped fall-off
// with Maximum), softened by a blur of 3.
class TRadialMaskForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TRadialMaskForm(QWidget* Parent = nullptr);
  QLabel* LblColor1 = nullptr;
  QLabel* LblColor2 = nullptr;
  TColorEdit* EdiColor1 = nullptr;
  TColorEdit* EdiColor2 = nullptr;
  QCheckBox* CBMax = nullptr;
  void ApplyFilter() override;
};

// Image > Fisheye correction: the whole background corrected by a width and
// a height percentage; previews sample the nearest pixel, the result kept by
// Ok (and Repeat) is sampled bilinearly.
class TFisheyeForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TFisheyeForm(QWidget* Parent = nullptr);
  QLabel* LblWidth = nullptr;
  TFloatSpinEdit* SEWidth = nullptr;
  QLabel* LblPct1 = nullptr;
  QLabel* LblHeight = nullptr;
  TFloatSpinEdit* SEHeight = nullptr;
  QLabel* LblPct2 = nullptr;
  void UpdateControls() override;
  void ApplyFilter() override;

protected:
  void hideEvent(QHideEvent* Event) override;
};
