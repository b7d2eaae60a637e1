#include "files/ui/BrowseForFolder.h"

#include <QApplication>
#include <QFileDialog>

QString BrowseForFolder(const QString& Caption, const QString& InitialFolder) {
  // Qt's own dialog rather than the desktop's, so that it follows the
  // program's style and behaves the same everywhere.
  QFileDialog Dialog(QApplication::activeWindow(), Caption, InitialFolder);
  Dialog.setFileMode(QFileDialog::Directory);
  Dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (Dialog.exec() != QDialog::Accepted) return {};
  return Dialog.selectedFiles().value(0);
}
