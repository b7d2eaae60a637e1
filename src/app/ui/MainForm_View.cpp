// The view menu's commands of the main window: toolbars and display
// switches.
#include "app/ui/MainForm.h"

#include "app/ui/MainStatusBar.h"
#include "platform/Rounding.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QToolBar>

#include <cmath>

void TMainForm::MenuAffichageBarreFiltresClick() {
  FSettings.FilterBar = MenuItem("MenuAffichageBarreFiltres")->isChecked();
  SizeToolBars();
}

void TMainForm::MenuAffichageMaximiserClick() {
  FSettings.MaximizeImgWin = MenuItem("MenuAffichageMaximiser")->isChecked();
  if (TNewImgForm* W = EnfantActif()) {
    if (FSettings.MaximizeImgWin)
      W->showMaximized();
    else
      W->showNormal();
  }
}

void TMainForm::MenuCadreOmbreClick() {
  FSettings.CadreOmbre = MenuItem("MenuCadreOmbre")->isChecked();
  SetImageFrameShadow(FSettings.CadreOmbre, FSettings.CadreOmbre);
}

void TMainForm::MenuAfficherLisserClick() {
  FSettings.Antialias = MenuItem("MenuAfficherLisser")->isChecked();
  SetOptimizeModeAll(FSettings.Antialias);
}

void TMainForm::MenuAffichageMiniatureClick(int Index) {
  FSettings.ThumbSize = Index;
  for (int I = 0; I < 4; ++I) MenuItem(QStringLiteral("MenuAffichageMiniature%1").arg(I + 1))->setChecked(I == Index);
  ApplyLayerNavigatorSize();
}

// ---- Zoom
// ------------------------------------------------------------------------------------------------------------

namespace {

// The zoom edit's entries are tagged with their percentage; 0 is automatic.
double ZoomFactorOfTag(int Percent) {
  switch (Percent) {
  case 33:
    return 0.333;
  case 66:
    return 0.667;
  default:
    return Percent / 100.0;
  }
}

constexpr int ZoomTags[] = {10, 25, 33, 50, 66, 75, 100, 200, 300, 400, 500, 600, 800, 1200, 1600};

} // namespace

void TMainForm::MajZoomImage() {
  TNewImgForm* W = EnfantActif();
  if (!W) return;
  const int Index = FEdiZoom->ItemIndex();
  W->Image->LockPaint(true);
  const TRect Keep = ZoomKeepRect();
  W->FlagAutoZoom = Index <= 0;
  const bool WasMaximized = W->isMaximized();
  FMdiArea->setUpdatesEnabled(false);
  if (Index > 0) W->Image->SetZoom(ZoomFactorOfTag(Index));
  // Control held: a tiled window leaves its rectangle and takes its place.
  const bool Pos = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
  if (Pos) W->LockWinRect = false;
  W->SetWindowSize(0, Index <= 0, WasMaximized, Pos, !W->LockWinRect);
  FMdiArea->setUpdatesEnabled(true);
  ZoomKeepInView(Keep);
  W->Image->LockPaint(false);
  AfficherInfos();
  UpdateToolButtons();
}

void TMainForm::RestaureZoom() {
  TNewImgForm* W = EnfantActif();
  int Tag = 0;
  if (W) {
    const double Zoom = W->Image->Zoom();
    for (int T : ZoomTags)
      if (std::abs(Zoom - ZoomFactorOfTag(T)) < 0.0001 && !(T == 100 && W->FlagAutoZoom)) Tag = T;
  }
  FEdiZoom->SetItemIndex(Tag);
  FEdiZoom->update();
}

void TMainForm::EdiZoomDisplayText(QString& Text) {
  if (FEdiZoom->ItemIndex() > 0) {
    Text = Text.left(Text.indexOf(QLatin1Char('%')) + 1).remove(QLatin1Char(' '));
    return;
  }
  if (UneImage()) Text = QString::number(Round(EnfantActif()->Image->Zoom() * 100)) + QLatin1Char('%');
}
