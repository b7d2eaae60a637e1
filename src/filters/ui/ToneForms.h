// The brightness and contrast dialogs: a main slider and one slider per
// channel (red, green, blue) with its swatches; the contrast dialog applies
// the channel brightness after its contrast. Depends on TFilterNForm and the
// point filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

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

// Adjust > Gamma: g = main / 100; GammaRGB24(g + red / 100 - 1, g + green /
// 100 - 1, g + blue / 100 - 1), each sum kept within the sliders' 0.10 ..
// 3.00 (two low sliders would otherwise ask for a negative gamma).
class TGammaForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TGammaForm(QWidget* Parent = nullptr);
  TTrackBar* Bars[3] = {};
  QLabel* Labels[3] = {};
  QPushButton* BtnReset = nullptr;
  void UpdateControls() override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};

// Adjust > Posterize: Posterize24(main).
class TPosterizeForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TPosterizeForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Adjust > Custom: brightness, contrast, saturation (spread over the chosen
// channel), hue shift, then gamma (spread too), each on the previous result.
class TCustomRegForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TCustomRegForm(QWidget* Parent = nullptr);
  // Contrast, saturation, hue, gamma.
  TTrackBar* Bars[4] = {};
  QLabel* Labels[4] = {};
  QComboBox* Channel = nullptr;
  QPushButton* BtnReset = nullptr;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};

// Adjust > Red, green, blue (colour balance): BandBrightnessRGB24 over the
// tone band chosen (all, shadows 0..84, midtones 85..169, highlights
// 170..255).
class TRGBForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TRGBForm(QWidget* Parent = nullptr);
  // Green and blue (red is the main slider).
  TTrackBar* Bars[2] = {};
  QLabel* Labels[2] = {};
  QRadioButton* Bands[4] = {};
  QPushButton* BtnReset = nullptr;
  void UpdateControls() override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};

// The channel index of the custom adjustment's combo spread over red, green
// and blue: 0 all, 1 red, 2 green, 3 blue, 4 green and blue, 5 red and blue,
// 6 red and green; Value on the channels chosen, Other elsewhere.
template <class T> void SpreadByChannel(int Index, T Value, T Other, T (&RGB)[3]) {
  static constexpr bool Chosen[7][3] = {{true, true, true},   {true, false, false}, {false, true, false},
                                        {false, false, true}, {false, true, true},  {true, false, true},
                                        {true, true, false}};
  const int I = Index >= 0 && Index < 7 ? Index : 0;
  for (int C = 0; C < 3; ++C) RGB[C] = Chosen[I][C] ? Value : Other;
}
