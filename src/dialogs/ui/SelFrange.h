// TFrangeForm, Selection > Fringe: the selection becomes a band of a width
// along its outline, a traced (mask) selection. No pixel changes and no undo
// step is made. The width is kept in the dialogs settings after an Ok.
// Depends on the host interface, the selection masks of document/, the
// dialog base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

class QLabel;
class QPushButton;
class TTrackBar;

class TFrangeForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TFrangeForm(QWidget* Parent = nullptr);

  TTrackBar* TBN;
  QLabel* LblEpaisseur;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  void TBNChange();
  void BOkClick();
};
