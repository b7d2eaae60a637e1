// TAdapterForm, Image > Fit image: the image resized to fit limits in
// pixels keeping its proportions (small images grow to touch them), or with
// distortion allowed to exactly the limits; Lanczos3 or nearest neighbour;
// every other layer following on request. Its values are kept in the
// dialogs settings after an Ok. Depends on the fit rules of dialogs/, the
// host interface, the dialog base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

class QCheckBox;
class QGroupBox;
class QMenu;
class QPushButton;
class TSpecialEdit;
class TSpinEdit2;

class TAdapterForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TAdapterForm(QWidget* Parent = nullptr);

  QGroupBox* GBNew;
  TSpinEdit2* EdiL;
  TSpinEdit2* EdiH;
  TSpecialEdit* LstTaille;
  QMenu* PopTaille;
  QCheckBox* CBOptimiser;
  QCheckBox* CBDeformer;
  QCheckBox* CBTous;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // The background's size at show, and the size computed at Ok.
  int L = 0, H = 0, NewL = 0, NewH = 0;

  void UpdateControls() override;
  void LstTailleChange();
  void BOkClick();

protected:
  void FormShow() override;
};
