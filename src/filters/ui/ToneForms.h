// The brightness and contrast dialogs: a main slider and one slider per
// channel (red, green, blue) with its swatches; the contrast dialog applies
// the channel brightness after its contrast. Depends on TFilterNForm and the
// point filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QLabel;
class QPushButton;

// Adjust > Brightness: BrightnessRGB24(main + red, main + green, main + blue).
class TLumForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TLumForm(QWidget* Parent = nullptr);
  // Red, green and blue bars and their labels.
  TTrackBar* Bars[3] = {};
  QLabel* Labels[3] = {};
  QPushButton* BtnReset = nullptr;

  void UpdateControls() override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};

// Adjust > Contrast: Contrast24(main), then BrightnessRGB24(red, green, blue).
class TCtrForm : public TLumForm {
  Q_OBJECT
public:
  explicit TCtrForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};
