// TOptionSelForm, Selection > Contract and Expand: the selection shrinks or
// grows by a width in pixels. A traced (mask) selection really grows or
// shrinks its shape; the other shapes only change their rectangle and are
// drawn to fit it. No pixel changes and no undo step is made. The last width
// of each command and the window's place are kept in the dialogs settings.
// Depends on the host interface, the selection shapes of document/, the
// dialog base and controls of ui/.
#pragma once

#include "platform/Types.h"
#include "ui/DlgMain.h"

class QLabel;
class QPushButton;
class TTrackBar;

class TOptionSelForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TOptionSelForm(QWidget* Parent = nullptr);

  TTrackBar* TBN;
  QLabel* LblEpaisseur;
  QLabel* LblInfos;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // The last width used to contract and to expand.
  int Contracter = 10;
  int Dilater = 10;
  // 1 contract, 0 expand; set by the command before showing.
  int Flag = 0;

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  void TBNChange();
  void BOkClick();
  // The selection's rectangle shrunk or grown by the slider's width, (0, 0,
  // 0, 0) when nothing is left; the information follows.
  TRect ComputeRect();
};
