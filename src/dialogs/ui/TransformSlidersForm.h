// TTransformSlidersForm: the common half of the two "Transformation"
// dialogs (the vector path's, RotPathForm.h, and the current layer's,
// RotSelForm.h): the angle, scale and two skew sliders with their labels,
// "Réinitialiser", Ok and Cancel. A slider applies when it is released (or
// its key comes up); the sliders start neutral at every show and only the
// window's place is kept. Depends on the dialog base and track bar of ui/,
// the transformation builders of dialogs/.
#pragma once

#include "dialogs/FreeTransform.h"
#include "ui/DlgMain.h"

class QLabel;
class QPushButton;
class TTrackBar;

class TTransformSlidersForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TTransformSlidersForm(QWidget* Parent = nullptr);

  QLabel* LblAngle;
  TTrackBar* TBAngle;
  QLabel* LblEchelle;
  TTrackBar* TBEchelle;
  QLabel* LblIX;
  TTrackBar* TBIX;
  QLabel* LblIY;
  TTrackBar* TBIY;
  QPushButton* BReset;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // A slider moved since the last application.
  bool Changed = false;

  TTransformSliders Sliders() const;
  // The sliders back to neutral without applying each, then one application.
  void BResetClick();

protected:
  // The sliders' values become the pending transformation.
  virtual void Apply() = 0;
  // Sliders neutral, nothing applied.
  void SetNeutral();

private:
  void SliderChanged();
  bool FResetting = false;
};
