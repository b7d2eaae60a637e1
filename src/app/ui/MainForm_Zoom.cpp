// The main window's zoom steps: zoom in and out by the step table, the
// wheel over the document area (scroll bars scroll, elsewhere it zooms
// about the point under the mouse), and what a zoom keeps in view.
#include "app/ZoomSteps.h"
#include "app/ui/MainForm.h"

#include "ui/SpecialEdit.h"

#include <QAction>
#include <QMdiArea>
#include <QScrollBar>
#include <QToolBar>

int TMainForm::ZoomEditStep() const { return ZoomStepOfPercent(FEdiZoom->ItemIndex()); }

void TMainForm::SetZoomEditStep(int Step) { FEdiZoom->SetItemIndex(ZoomStepPercent(Step)); }

bool TMainForm::ZoomAvantArriere(int Flag) {
  if (!UneImage()) return false;
  const int Step = NextZoomStep(EnfantActif()->Image->Zoom(), Flag <= 1);
  if (Step < 0) return false;
  if (Flag == 1 || Flag == 3) {
    SetZoomEditStep(Step);
    MajZoomImage();
  }
  return true;
}

void TMainForm::MenuZoomAvantClick(const QObject* Sender) {
  if (ActionPossible(Sender)) ZoomAvantArriere(1);
}

void TMainForm::MenuZoomArriereClick(const QObject* Sender) {
  if (ActionPossible(Sender)) ZoomAvantArriere(3);
}

TRect TMainForm::ZoomKeepRect() const {
  const TMyImageLayeredView* View = EnfantActif()->Image;
  if (FlagZoomSouris) {
    const QPoint Local = View->viewport()->mapFromGlobal(FZoomMousePos);
    const TPoint M = View->ClientToBmp(TPoint{Local.x(), Local.y()});
    return {M.X - 3, M.Y - 3, M.X + 3, M.Y + 3};
  }
  if (Sel() && Sel()->Visible()) return Sel()->BmpSelRect();
  return View->ClientToBmp(View->ImgVisibleRect());
}

void TMainForm::ZoomKeepInView(const TRect& Keep) {
  if (ZoomEditStep() == 0) return;
  TMyImageLayeredView* View = EnfantActif()->Image;
  View->CenterRect(View->BmpToClient(Keep));
}

bool TMainForm::FormMouseWheel(int Delta, const QPoint& Global) {
  if (Delta == 0 || !FMdiArea->rect().contains(FMdiArea->mapFromGlobal(Global))) return false;
  if (!UneImage() || FEdiZoom->ReadOnly()) return true;
  TMyImageLayeredView* View = EnfantActif()->Image;
  if (View->Selecting() || (Sel() && Sel()->Updating() != 0)) return true;
  // The scroll bars lie right of and below the view's client area.
  const QPoint P = View->mapFromGlobal(Global);
  const QRect Client = View->viewport()->geometry();
  const int Step = Delta > 0 ? -33 : 33;
  const QScrollBar* VBar = View->verticalScrollBar();
  const QScrollBar* HBar = View->horizontalScrollBar();
  if (VBar->isVisible() && P.x() >= Client.right() && P.y() < Client.bottom()) {
    View->ScrollBy(0, Step);
    return true;
  }
  if (HBar->isVisible() && P.y() >= Client.bottom() && P.x() < Client.right()) {
    View->ScrollBy(Step, 0);
    return true;
  }
  FlagZoomSouris = true;
  FZoomMousePos = Global;
  if (FSettings.ZoomMolette) ZoomAvantArriere(Delta > 0 ? 1 : 3);
  FlagZoomSouris = false;
  return true;
}

void TMainForm::ConnectZoomCommands() {
  const auto ConnectWithButton = [this](const char* Name, const char* ButtonName,
                                        void (TMainForm::*Handler)(const QObject*)) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item, Handler] { (this->*Handler)(Item); });
    // The button is its own sender, for the zoom buttons' own permission.
    if (QAction* Button = ToolBar(2)->findChild<QAction*>(QString::fromLatin1(ButtonName))) {
      disconnect(Button, &QAction::triggered, Item, &QAction::trigger);
      connect(Button, &QAction::triggered, this, [this, Button, Handler] { (this->*Handler)(Button); });
    }
  };
  ConnectWithButton("MenuZoomAvant", "BtnZoomPlus", &TMainForm::MenuZoomAvantClick);
  ConnectWithButton("MenuZoomArriere", "BtnZoomMoins", &TMainForm::MenuZoomArriereClick);
}
