// THistoForm, Edit > History: the undo history of the active image as a
// list, the state before the oldest kept change first; a row is reached by
// repeating undo or redo one step at a time, and the list can be copied as
// text. Filled at each show; only the window's place is kept in the dialogs
// settings. Depends on the host interface, the undo list of document/, the
// dialog base of ui/.
#pragma once

#include "ui/DlgMain.h"

class QListWidget;
class QPushButton;

class THistoForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit THistoForm(QWidget* Parent = nullptr);

  QListWidget* List;
  QPushButton* BUndoRedo;
  QPushButton* BCopy;
  QPushButton* BOk;
  // The caption of row 0, and the row of the image's present state.
  QString FAucun;
  int FUndoIndex = 0;

  void ListClick();
  void BUndoRedoClick();
  void BCopyClick();

protected:
  void FormShow() override;

private:
  void JumpToSelected();
};
