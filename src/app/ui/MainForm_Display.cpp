// The view menu's display switches of the active image and of the module
// toolbar: the grid, snapping to it, the module bar.
#include "app/ui/MainForm.h"

#include "ui/SimplePanel.h"

#include <QAction>

void TMainForm::MenuAfficherGrilleClick() {
  if (!UneImage()) return;
  TMyImageLayeredView* View = EnfantActif()->Image;
  View->ShowGrid = !View->ShowGrid;
  MenuItem("MenuAfficherGrille")->setChecked(View->ShowGrid);
  View->InvalidateView();
}

void TMainForm::MenuAfficherMagnGrilleClick() {
  if (!UneImage()) return;
  TMyImageLayeredView* View = EnfantActif()->Image;
  View->GridAlign = !View->GridAlign;
  MenuItem("MenuAfficherMagnGrille")->setChecked(View->GridAlign);
}

void TMainForm::MenuAffichageBarrePluginsClick() {
  const bool Shown = MenuItem("MenuAffichageBarrePlugins")->isChecked();
  FSettings.PluginsBar = Shown;
  FPnlPlugins->setVisible(FFlagPlugins && Shown);
  LayoutFrame();
  if (Shown) ResizeImageWindows();
}

void TMainForm::ConnectDisplayCommands() {
  Connect("MenuAfficherGrille", [this] { MenuAfficherGrilleClick(); });
  Connect("MenuAfficherMagnGrille", [this] { MenuAfficherMagnGrilleClick(); });
  Connect("MenuAffichageBarrePlugins", [this] { MenuAffichageBarrePluginsClick(); });
}
