// The file menu's commands of the main window.
#include "app/ui/MainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void TMainForm::MenuFichierFermerClick() { FMdiArea->closeActiveSubWindow(); }

void TMainForm::MenuFichierFermerToutClick() { FMdiArea->closeAllSubWindows(); }

void TMainForm::MenuFichierQuiterClick() { close(); }

void TMainForm::UpdateRecentFilesMenu() {
  QMenu* Menu = MenuNamed("MenuFichierRecents");
  Menu->clear();
  for (int I = 0; I < FSettings.ListeFichiers.size(); ++I) {
    const QString File = FSettings.ListeFichiers[I];
    QAction* Item = Menu->addAction(QStringLiteral("&%1 %2").arg(I < 9 ? QString::number(I + 1) : QStringLiteral("0"),
                                                                 QString(File).replace('&', "&&")));
    Item->setData(File);
    connect(Item, &QAction::triggered, this, [this, File] { OpenFiles({File}); });
  }
  Menu->menuAction()->setEnabled(!Menu->isEmpty());
}

void TMainForm::AddRecentFile(const QString& FileName) {
  FSettings.ListeFichiers.removeAll(FileName);
  FSettings.ListeFichiers.prepend(FileName);
  while (FSettings.ListeFichiers.size() > MaxRecentFiles) FSettings.ListeFichiers.removeLast();
  UpdateRecentFilesMenu();
}
