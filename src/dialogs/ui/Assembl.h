// TAssemblerForm, Edit > Assemble: the image on the clipboard set beside
// the active image, to the right, below, to the left or above, the canvas
// enlarged to hold both (the gap in the tool palette's background colour,
// transparent where the background has a mask); the layers above move with
// the old picture. The side is kept in the dialogs settings after an Ok.
// Depends on the host interfaces, the clipboard of document/, the dialog
// base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

class QPushButton;
class TRadioGroup;

class TAssemblerForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TAssemblerForm(QWidget* Parent = nullptr);

  TRadioGroup* RGPos;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  void BOkClick();
};
