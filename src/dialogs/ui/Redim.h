// TRedimForm, Image > Image size: the image's pixel size, typed in pixels,
// percent, centimetres or inches (proportions kept on request), and its
// resolution; the background is resampled with the chosen filter and, on
// request, every other layer by the same factors. Only the window's place
// is kept in the dialogs settings. Depends on the size parts of dialogs/ui,
// the host interface, the dialog base and controls of ui/.
#pragma once

#include "dialogs/ui/SizeFields.h"
#include "ui/DlgMain.h"

#include <memory>

class QComboBox;
class QPushButton;

class TRedimForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TRedimForm(QWidget* Parent = nullptr);
  ~TRedimForm() override;

  TFloatSpinEdit* EdiL;
  TFloatSpinEdit* EdiH;
  QComboBox* CmbUnit;
  QCheckBox* CBProportions;
  TFloatSpinEdit* EdiRes;
  QComboBox* CmbRes;
  QComboBox* CmbFiltres;
  QCheckBox* CBTous;
  std::unique_ptr<TSizeDisplay> Display;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  std::unique_ptr<TSizeFields> Fields;
  std::unique_ptr<TResolutionFields> Resolution;
  // Width over height of the background at show.
  double Ratio = 1;
  int NewL = 0, NewH = 0;

  double GetResolution() const;
  void BOkClick();

protected:
  void FormShow() override;

private:
  void SizeEdited(bool Width);
  void EdiResChange();
};
