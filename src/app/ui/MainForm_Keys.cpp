// The keys of the image windows, which the main window handles: one letter
// per tool and per selection shape, the zoom keys, F6 and F7 through the
// layers, Escape hiding the selection; then the view and the selection get
// the key.
#include "app/ZoomSteps.h"
#include "app/ui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>

namespace {

// The shape keys A..J: the tool's shape and, for the polygon, whether it is
// clicked point by point.
struct TShapeKey {
  TMyShape Shape;
  bool MultiLine;
};
constexpr TShapeKey ShapeKeys[] = {{ssRect, false},      {ssEllipse, false},   {ssRoundRect, false},
                                   {ssLosange, false},   {ssTriangle1, false}, {ssTriangle2, false},
                                   {ssTriangle3, false}, {ssTriangle4, false}, {ssPolygon, false},
                                   {ssPolygon, true}};

} // namespace

void TMainForm::FormKeyPress(QChar Key, Qt::KeyboardModifiers Shift) {
  if (VerticesMode > 0 || FDialogueForm || !UneImage()) return;
  if (EnfantActif()->Image->Selecting() || (Sel() && Sel()->Updating() != 0)) return;
  switch (Key.unicode()) {
  case '*':
    if (QAction* Item = MenuItem("MenuZoomAuto"); Item->isEnabled()) Item->trigger();
    return;
  case '+':
    ZoomAvantArriere(1);
    return;
  case '-':
    ZoomAvantArriere(3);
    return;
  case '=':
    SetZoomEditStep(ZoomStepRealSize);
    MajZoomImage();
    return;
  default:
    break;
  }
  // Letters and digits act only without Shift; Caps Lock does not matter.
  if (Shift & Qt::ShiftModifier) return;
  const QChar Upper = Key.toUpper();
  if (Upper >= QLatin1Char('A') && Upper <= QLatin1Char('J')) {
    const TShapeKey& S = ShapeKeys[Upper.unicode() - 'A'];
    ChangerForme(S.Shape, S.MultiLine, 2);
    if (FToolHooks) FToolHooks->SetTool(0);
  } else if (Upper >= QLatin1Char('K') && Upper <= QLatin1Char('Z')) {
    if (FToolHooks) FToolHooks->SetTool(Upper.unicode() - 'K' + 1);
  } else if (Upper == QLatin1Char('0')) {
    if (FToolHooks) FToolHooks->SetTool(17);
  }
}

void TMainForm::FormKeyDown(int Key, Qt::KeyboardModifiers Shift) {
  // The distortion frame and the path take the keys in their modes.
  if (OverlayKeyDown(Key, Shift)) return;
  if (VerticesMode > 0 || FDialogueForm || !UneImage()) return;
  TNewImgForm* W = EnfantActif();
  TMyImageLayered& Img = Image();
  const int Count = Img.Layers().Count();
  if ((Key == Qt::Key_F6 || Key == Qt::Key_F7) && Count > 1) {
    // Through the layers, round from the top to the background and back.
    const int Step = Key == Qt::Key_F6 ? 1 : Count - 1;
    Img.SetLayerIndex((Img.LayerIndex() + Step) % Count);
    W->LayerNav->ResetLayerIndex();
    AfficherInfos();
    return;
  }
  TSelectionControl* S = Sel();
  if (Key == Qt::Key_Escape && S && S->Visible() && S->Updating() == 0 && CombineSelMode == 0) MasquerSelection();
  W->Image->KeyDown(Key, Shift);
  if (S && S->Visible()) S->KeyDown(Key, Shift);
}

void TMainForm::FormKeyUp(int Key, Qt::KeyboardModifiers Shift) {
  if (OverlayKeyUp(Key, Shift)) return;
  if (VerticesMode > 0 || FDialogueForm || !UneImage()) return;
  EnfantActif()->Image->KeyUp(Key, Shift);
  if (Sel() && Sel()->Visible()) Sel()->KeyUp(Key, Shift);
}

bool TMainForm::RouteImageKey(QWidget* Receiver, QKeyEvent* Key) {
  // The keys of this window and of the image windows; a modal dialog or an
  // edit field keeps its own.
  if (QApplication::activeModalWidget() || !UneImage()) return false;
  const bool Own = Receiver == this || Receiver == FClient || Receiver == FMdiArea;
  const TNewImgForm* W = EnfantActif();
  if (!Own && !(W && (Receiver == W || W->isAncestorOf(Receiver)))) return false;
  if (Key->type() == QEvent::KeyPress) {
    FormKeyDown(Key->key(), Key->modifiers());
    if (!Key->text().isEmpty() && !(Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      FormKeyPress(Key->text().at(0), Key->modifiers());
  } else {
    FormKeyUp(Key->key(), Key->modifiers());
  }
  return true;
}
