// TDialogFormEx: the base form of every dialog of the program: the dialog
// font, the interface colours, the owner window and the label fix for screens
// above 96 dpi. Depends on the dialog font (DlgEx), the DPI helpers and the
// interface colours, QtWidgets.
#pragma once

#include <QDialog>

class TDialogFormEx : public QDialog {
  Q_OBJECT
public:
  // Without a parent the dialog is owned by the main window (when there is
  // one), so that it stays in front of it.
  explicit TDialogFormEx(QWidget* Parent = nullptr);

  // How far labels move up on the first show: (pixels per inch - 96) div 17
  // above 96 dpi, else 0.
  static int LabelShift(int PixelsPerInch);

protected:
  // On the first show, every label the form places itself (not through a
  // layout) moves up by LabelShift, once.
  void showEvent(QShowEvent* Event) override;

private:
  bool FFixLabelsDpi = true;
};
