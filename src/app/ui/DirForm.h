// TDirForm: the small modal dialog that asks for a destination folder (the
// copy and move commands of the current image file). The folder accepted
// last is kept under "CopyTo" in the main settings file, so that the next
// use starts there. Depends on the dialog framework and controls of ui/, the
// folder browser of files/ui and the ini files of platform.
#pragma once

#include "ui/DialogFormEx.h"

#include <QString>

class QLabel;
class QPushButton;
class QToolButton;
class TMyBevel;
class TSimplePanel;
class TSpecialEdit;

class TDirForm : public TDialogFormEx {
  Q_OBJECT
public:
  explicit TDirForm(QWidget* Parent = nullptr);

  QLabel* LblCaption = nullptr;
  TMyBevel* CaptionSep = nullptr;
  QLabel* ResIcon = nullptr;
  QLabel* LblMsg = nullptr;
  TSpecialEdit* EdiDir = nullptr;
  QToolButton* SBDir = nullptr;
  TSimplePanel* PnlButtons = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;

  // The main settings file, and the last save and open folders, which the
  // dialog starts in (in that order) when "CopyTo" names no existing folder.
  QString MainIniFile;
  QString EnregistrerDir;
  QString OuvrirDir;

  // Caption in bold over Msg, shown modally on the initial folder. Ok: the
  // edit's folder, stored as it stands under "CopyTo"; Cancel: ''.
  QString SelectDirectory(const QString& Caption, const QString& Msg);
  QString InitialFolder() const;

private:
  void SBDirClick();
};
