// The frames drawn inside the work rectangle: a simple band of colour, a
// slide mount with blurred rounded corners, a 3D button and 3D edges.
// Depends on TFilterNForm, the blur filters, the bevel routine of the
// painting tools and TEffectHost.
#pragma once

#include "filters/ui/FilterNForm.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// R with every side moved inward by D (outward for a negative D); when the
// sides would meet or cross, an empty rect at R's centre, never a reversed
// one (routines would read a reversed rect as its normalised self).
TRect ShrinkRect(const TRect& R, int D);

// Filter > Frame > Simple frame: four bands of the width in the colour at
// the main opacity (also on the layer's mask when painting on it).
class TFrameForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TFrameForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  QLabel* LblWidth = nullptr;
  TColorEdit* ColorEdit = nullptr;
  TSpinEdit2* SEWidth = nullptr;
  bool CanApply() override;
  void ApplyFilter() override;
};

// Filter > Frame > Slide: the colour everywhere outside a rounded rectangle
// inset by the width, its edge blurred.
class TSlideForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TSlideForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  QLabel* LblWidth = nullptr;
  TColorEdit* ColorEdit = nullptr;
  TSpinEdit2* SEWidth = nullptr;
  TRadioGroup* RGFlou = nullptr;
  TRadioGroup* RGRound = nullptr;
  bool CanApply() override;
  void ApplyFilter() override;
};

// Filter > Frame > 3D button: a raised bevel of the width inside the rect,
// with double relief a sunken one of half the width inside it.
class TButton3DForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TButton3DForm(QWidget* Parent = nullptr);
  QLabel* LblWidth = nullptr;
  TSpinEdit2* SEWidth = nullptr;
  QRadioButton* RBSimple = nullptr;
  QRadioButton* RBDouble = nullptr;
  bool CanApply() override;
  void ApplyFilter() override;
};

// Filter > Frame > 3D edges: a raised and a sunken bevel of the main
// slider's width at 60 %, with smoothing only the frame blurred.
class TFrame3DForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TFrame3DForm(QWidget* Parent = nullptr);
  QCheckBox* CBBlur = nullptr;
  bool CanApply() override;
  void ApplyFilter() override;
};
