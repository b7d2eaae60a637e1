// TCadreExtForm, Image > Outer frame: the canvas grows by a frame of one
// width on every side, in a colour (picked on the image too) or a pattern;
// the layers above move with the picture. Edit > Repeat frames again with
// the dialog's values. Its values are kept in the dialogs settings after an
// Ok. Depends on the host interfaces and the pattern choice of dialogs/ui,
// the dialog base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

#include <memory>

class QPushButton;
class TColorEdit;
class TPatternChoice;
class TSpinEdit2;

class TCadreExtForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TCadreExtForm(QWidget* Parent = nullptr);
  ~TCadreExtForm() override;

  TSpinEdit2* SELargeur;
  TColorEdit* ColorEdit;
  std::unique_ptr<TPatternChoice> Pattern;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  void UpdateControls() override;
  void ChangerCouleur(TColor Couleur) override;
  void BOkClick();

protected:
  void FormShow() override;

private:
  void ApplyFrame(QObject* Sender);
};
