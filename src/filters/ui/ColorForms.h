// The colour dialogs of the Adjust and Filter menus: hue and saturation,
// channel swap, duotone, greyscale modes, the coloured filter and partial
// desaturation. Depends on TFilterNForm and the colour filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

// Adjust > Hue, saturation: HueShift24(main), Saturation24(saturation),
// BrightnessRGB24(red, green, blue).
class THueSatForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit THueSatForm(QWidget* Parent = nullptr);
  TTrackBar* BarSat = nullptr;
  QLabel* LblSat = nullptr;
  TTrackBar* Bars[3] = {};
  QLabel* Labels[3] = {};
  QPushButton* BtnReset = nullptr;
  void UpdateControls() override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};

// Adjust > Channel swap: SwapRGB24(the option chosen).
class TSwapRGBForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TSwapRGBForm(QWidget* Parent = nullptr);
  TRadioGroup* Options = nullptr;
  void ApplyFilter() override;
};

// Adjust > Duotone: ThresholdTwoColors24(main, colour 1, colour 2). Takes no
// colour picked on the image.
class TDuotoneForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TDuotoneForm(QWidget* Parent = nullptr);
  TColorEdit* Color1 = nullptr;
  TColorEdit* Color2 = nullptr;
  void ApplyFilter() override;
};

// Adjust > Greyscale: GrayscaleMode24 with the mode of the button chosen
// (luminosity 0, average 1, red 2, green 3, blue 4, maximum 5, minimum 6,
// hue 7, saturation 8).
class TGrayForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TGrayForm(QWidget* Parent = nullptr);
  QRadioButton* Modes[9] = {};
  void UpdateControls() override;
  void ApplyFilter() override;
};

// Filter > Colour > Coloured filter: FillColor24(colour, opacity, or its
// negative when "Inverser" is checked). Picked colours go to its edit.
class TColoredLayerForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TColoredLayerForm(QWidget* Parent = nullptr);
  TColorEdit* Color = nullptr;
  QCheckBox* Invert = nullptr;
  void ApplyFilter() override;
};

// Adjust > Replace a colour: ReplaceColor24(colour 1, colour 2, main). A
// colour picked on the image goes to colour 1 while its picker button is
// down, else to colour 2.
class TReplaceColorForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TReplaceColorForm(QWidget* Parent = nullptr);
  TColorEdit* Color1 = nullptr;
  TColorEdit* Color2 = nullptr;
  QToolButton* Picker1 = nullptr;
  QToolButton* Picker2 = nullptr;
  void ChangerCouleur(TColor Couleur) override;
  void ApplyFilter() override;
};

// Filter > Colour > Partial desaturation: PartialDesat24(the combo's
// colour, main x 1.5 / 100, (10 - tolerance) / 1.42 + 1, "Inverser").
class TPartialDesat : public TFilterNForm {
  Q_OBJECT
public:
  explicit TPartialDesat(QWidget* Parent = nullptr);
  QComboBox* ColorCombo = nullptr;
  QCheckBox* Invert = nullptr;
  TTrackBar* BarTolerance = nullptr;
  QLabel* LblTolerance = nullptr;
  void ApplyFilter() override;
};
