// The user's own 5 x 5 convolution kernel, the gradient overlay and the
// fade of the last step. Depends on TFilterNForm (the kernel and the
// gradient follow its preview protocol), the convolution engine, the
// gradient routines of the painting tools, the undo records and
// TEffectHost.
#pragma once

#include "filters/ui/FilterNForm.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class TFilterMatrix;

// Filter > Other > Custom: 25 cells row by row (SE00 the top left), the
// divisor (SE25) and the offset (SE26), all without bounds. A divisor of 0
// counts as 1, and Ok shows it as 1.
class TPersoForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TPersoForm(QWidget* Parent = nullptr);
  std::array<TSpinEdit2*, 27> SE{};
  QPushButton* BReset = nullptr;
  // The kernel the cells give.
  void BuildMatrix(TFilterMatrix& M) const;
  // Every cell holds its design value (centre and divisor 1, others 0).
  bool AllDefault() const;
  bool HasEffect() override { return !AllDefault(); }
  void ResetParams() override;
  void ApplyFilter() override;
};

// Filter > Colour > Gradient: colour 1 to colour 2 (or to nothing in
// "Monochrome"), each at its opacity, in one of eight directions, with
// optional grey noise; also on the layer's mask when painting on it.
class TGradientForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TGradientForm(QWidget* Parent = nullptr);
  TColorEdit* ColorEdit1 = nullptr;
  TColorEdit* ColorEdit2 = nullptr;
  QLabel* LblAlpha1 = nullptr;
  QLabel* LblAlpha2 = nullptr;
  TTrackBar* TBAlpha1 = nullptr;
  TTrackBar* TBAlpha2 = nullptr;
  QToolButton* SB1 = nullptr;
  QToolButton* SB2 = nullptr;
  TDirectionEdit* DirectionEdit = nullptr;
  QRadioButton* RBBichrom = nullptr;
  QRadioButton* RBMonochrom = nullptr;
  QLabel* LblNoise = nullptr;
  TTrackBar* TBNoise = nullptr;
  void ChangerCouleur(TColor Couleur) override;
  void UpdateControls() override;
  void ApplyFilter() override;

private:
  void RGStyleClick();
};

// The code GradientFill24 takes for a direction of the direction picker.
int GradientCodeOfDirection(int Direction);

// Edit > Fade: the step just made (the previous undo record) blended back
// toward the image before it; the fade's own record keeps the image after
// the step, and its flag 3 the opacity. Reopened at once, it adjusts that
// fade.
class TAttenuerForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TAttenuerForm(QWidget* Parent = nullptr);
  QLabel* LblN = nullptr;
  TTrackBar* TBN = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  // A new fade starts (else the current one is adjusted).
  bool Nouveau = true;
  bool Changed = false;
  bool Preview = false;
  // The step's effect kept at Opacity percent.
  void FadeLast(int Opacity);

protected:
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

private:
  void BOkClick();
};
