// The window menu's commands of the main window.
#include "app/ui/MainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void TMainForm::MenuFenetreCascadeClick() { FMdiArea->cascadeSubWindows(); }

void TMainForm::MenuFenetreMosaiqueHClick() {
  // One row per window, full width.
  const QList<QMdiSubWindow*> Windows = FMdiArea->subWindowList();
  if (Windows.isEmpty()) return;
  const QRect Area = FMdiArea->viewport()->rect();
  const int Height = Area.height() / static_cast<int>(Windows.size());
  for (int I = 0; I < Windows.size(); ++I) {
    Windows[I]->showNormal();
    Windows[I]->setGeometry(0, I * Height, Area.width(), Height);
  }
}

void TMainForm::MenuFenetreMosaiqueVClick() {
  // One column per window, full height.
  const QList<QMdiSubWindow*> Windows = FMdiArea->subWindowList();
  if (Windows.isEmpty()) return;
  const QRect Area = FMdiArea->viewport()->rect();
  const int Width = Area.width() / static_cast<int>(Windows.size());
  for (int I = 0; I < Windows.size(); ++I) {
    Windows[I]->showNormal();
    Windows[I]->setGeometry(I * Width, 0, Width, Area.height());
  }
}

void TMainForm::MenuFenetreReduireClick() {
  for (QMdiSubWindow* Window : FMdiArea->subWindowList()) Window->showMinimized();
}

void TMainForm::MenuFenetreRestaureClick() {
  for (QMdiSubWindow* Window : FMdiArea->subWindowList()) Window->showNormal();
}
