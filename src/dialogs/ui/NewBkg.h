// TNewBkgForm, Layer > Insert a background > Plain: a new background of one
// colour (picked on the image too) slides under the layers; the old
// background becomes layer 1, named after the next free layer number. Its
// colour is kept in the dialogs settings after an Ok. Depends on the host
// interfaces, the layer commands of document/, the dialog base and controls
// of ui/.
#pragma once

#include "ui/DlgMain.h"

class QPushButton;
class TColorEdit;

class TNewBkgForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TNewBkgForm(QWidget* Parent = nullptr);

  TColorEdit* ColorEdit;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  void ChangerCouleur(TColor Couleur) override;
  void BOkClick();

private:
  void InsertBackground();
};
