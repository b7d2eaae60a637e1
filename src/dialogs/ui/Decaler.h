// TDecalerForm, Image > Transformation > Offset: the background shifted
// circularly by a number of pixels across and down (what leaves one edge
// comes back at the other; distances beyond a side count modulo it), its
// mask with it; the layers above move by the same offset without wrapping.
// The preview is applied on request or live; Cancel takes it back exactly.
// Works on the undo record the menu command prepared before showing it.
// Its values are kept in the dialogs settings after an Ok. Depends on the
// host interface, the raster core's shifts, the layer commands of document/,
// the dialog base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class TSpinEdit2;

class TDecalerForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TDecalerForm(QWidget* Parent = nullptr);

  TSpinEdit2* SEDX;
  QRadioButton* RBDroite;
  QRadioButton* RBGauche;
  TSpinEdit2* SEDY;
  QRadioButton* RBBas;
  QRadioButton* RBHaut;
  QCheckBox* CBPreview;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // The values differ from what the image shows; a preview is applied, with
  // the signed offset (DX, DY) (positive right and down).
  bool Changed = false;
  bool Preview = false;
  int DX = 0, DY = 0;

  void UpdateControls() override;
  void BApercuClick();
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void OptionChanged();
  void CBPreviewClick();
  // The applied preview taken back: background from the undo record, layers
  // moved back.
  void TakeBackPreview();
};
