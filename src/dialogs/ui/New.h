// TNewForm, File > New: a new image of a size typed in pixels, centimetres
// or inches (or taken from the predefined sizes) at a resolution, on a
// background of a colour, a pattern file or full transparency, with the
// memory it will take. Its values are kept in the dialogs settings after an
// Ok. Depends on the size parts of dialogs/ui, the host interface, the
// dialog base and controls of ui/, the pattern and metadata services of
// document/ and files/.
#pragma once

#include "dialogs/ui/SizeFields.h"
#include "ui/DlgMain.h"

#include <memory>

class QComboBox;
class QMenu;
class QPushButton;
class TColorEdit;

class TNewForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TNewForm(QWidget* Parent = nullptr);
  ~TNewForm() override;

  TFloatSpinEdit* EdiL;
  TFloatSpinEdit* EdiH;
  QComboBox* CmbUnit;
  TFloatSpinEdit* EdiRes;
  QComboBox* CmbRes;
  TSpecialEdit* LstTaille;
  QMenu* PopTaille;
  TColorEdit* ColorEdit;
  std::unique_ptr<TPatternChoice> Pattern;
  QCheckBox* CBTransp;
  std::unique_ptr<TSizeDisplay> Display;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  std::unique_ptr<TSizeFields> Fields;
  std::unique_ptr<TResolutionFields> Resolution;
  // The size computed at Ok.
  int NewL = 0, NewH = 0;

  // Resolution in pixels per inch.
  double GetResolution() const;
  void UpdateControls() override;
  void LstTailleChange();
  void CBTranspClick();
  void BOkClick();

protected:
  void FormShow() override;

private:
  void SizeEdited(bool Width);
  void EdiResChange();
  void RefreshDisplays();
};
