// The view menu's commands of the main window: toolbars and display
// switches.
#include "app/ui/MainForm.h"

#include "app/ui/MainStatusBar.h"

#include <QAction>
#include <QToolBar>

void TMainForm::MenuAffichageBarreFiltresClick() {
  FSettings.FilterBar = MenuItem("MenuAffichageBarreFiltres")->isChecked();
  SizeToolBars();
}

void TMainForm::MenuAffichageMaximiserClick() {
  FSettings.MaximizeImgWin = MenuItem("MenuAffichageMaximiser")->isChecked();
}

void TMainForm::MenuCadreOmbreClick() {
  FSettings.CadreOmbre = MenuItem("MenuCadreOmbre")->isChecked();
  UpdateActiveImage();
}

void TMainForm::MenuAfficherLisserClick() {
  FSettings.Antialias = MenuItem("MenuAfficherLisser")->isChecked();
  UpdateActiveImage();
}

void TMainForm::MenuAffichageMiniatureClick(int Index) {
  FSettings.ThumbSize = Index;
  for (int I = 0; I < 4; ++I) MenuItem(QStringLiteral("MenuAffichageMiniature%1").arg(I + 1))->setChecked(I == Index);
}
