// The main window's selection commands: showing and hiding the active
// window's selection, select all, the shape of the tool and of the
// selection, the default rectangle of tools and dialogs, and the view's
// selection-drawing events.
#include "app/ui/MainForm.h"
#include "tools/ui/Outils.h"
#include "tools/ui/StrokeTools.h"

#include "app/ui/MainStatusBar.h"
#include "i18n/LibLang.h"
#include "ui/HintGate.h"
#include "ui/SimplePanel.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

// The selection button's hint: the show or hide caption, with the show
// item's short-cut when hints carry them.
QString SelectionHint(TrId Key, const QAction* ShowItem, bool AddShortcut) {
  QString Hint = Tr(Key);
  if (AddShortcut && ShowItem && !ShowItem->shortcut().isEmpty())
    Hint += QStringLiteral(" [%1]").arg(ShowItem->shortcut().toString(QKeySequence::NativeText));
  return Hint;
}

} // namespace

void TMainForm::AfficherSelection() {
  FlagBtnSelUndo = false;
  if (!UneImage()) return;
  TNewImgForm* W = EnfantActif();
  TSelectionControl* S = Sel();
  S->SetTransparent(false);
  S->SetShowBorder(true);
  S->BorderColor1 = clBlack;
  S->BorderColor2 = clWhite;
  W->Image->SelectionMode = TSelMode::smShape;
  QAction* Button = ToolBar(1)->findChild<QAction*>("BtnSelection");
  Button->setToolTip(SelectionHint(TrId::GetTrMnuSelHide, MenuItem("MenuSelSelection"), AddShortcut));
  S->PopupMenu = MenuNamed("PopSel");
  S->CanResizeSel = S->Shape() != ssBitmap;
  S->SetVisible(true);
  SetUneSelection(true);
  Button->setEnabled(true);
  AfficherInfosSelection(S->BmpSelRect());
  UpdateImageCursor();
}

void TMainForm::MasquerSelection() {
  FlagBtnSelUndo = false;
  if (!UneImage() || !Sel()) return;
  Sel()->SetVisible(false);
  ToolBar(1)->findChild<QAction*>("BtnSelection")->setToolTip(
      SelectionHint(TrId::GetTrMnuSelShow, MenuItem("MenuSelSelection"), AddShortcut));
  AfficherInfos();
}

void TMainForm::ChangerForme(TMyShape Shape, bool MultiLine, int Flag) {
  if (!UneImage()) return;
  TNewImgForm* W = EnfantActif();
  if (Flag == 0 || Flag == 2) {
    W->Image->SetSelShape(Shape);
    W->Image->MultiLine = MultiLine;
    UpdateImageCursor();
    if (Flag == 2) return;
  }
  TSelectionControl* S = Sel();
  // A traced selection shown again becomes the plain shape in its rectangle.
  const bool ShowAgain = S->Visible() && S->Shape() == ssBitmap;
  S->SetShape(Shape);
  S->ShapeManager().Clear();
  if (ShowAgain) AfficherSelection();
}

void TMainForm::MenuSelToutClick() {
  if (!UneImage()) return;
  MasquerSelection();
  ChangerForme(ssRect, false, 0);
  Sel()->SetBmpSelRect({0, 0, LeFond().Width(), LeFond().Height()});
  Sel()->SetInvert(false);
  AfficherSelection();
}

void TMainForm::MenuSelSelectionClick(const QObject* Sender) {
  if (!ActionPossible(Sender) || !UneImage()) return;
  if (!UneSelection())
    MenuSelToutClick();
  else if (Sel()->Visible())
    MasquerSelection();
  else
    AfficherSelection();
}

TRect TMainForm::SelectionDefaut() const {
  if (!UneImage()) return {};
  const TMyImageLayeredView* View = EnfantActif()->Image;
  TRect V = View->ImgVisibleRect();
  const int Inset = std::min(V.Width(), V.Height()) / 10;
  V = {V.Left + Inset, V.Top + Inset, V.Right - Inset, V.Bottom - Inset};
  return View->ClientToBmp(V);
}

void TMainForm::EnableHint(bool Value, bool CheckWindows, bool CheckSelMode) {
  THintGate& Hints = THintGate::Instance();
  Hints.SetShowHint(FPnlOutils, Value);
  Hints.SetShowHint(FPnlPlugins, Value);
  Hints.SetShowHint(Palette(), Value);
  if (CheckWindows) {
    if (FPnlPlugins->isVisible()) FPnlPlugins->setEnabled(Value);
    if (Palette() && Palette()->ToolPaletteVisible()) Palette()->setEnabled(Value);
    if (Value)
      EnableImageWindows();
    else
      DisableImageWindows(EnfantActif());
    for (QAction* Item : MenuNamed("PopZoom")->actions()) Item->setEnabled(Value);
  }
  if (!CheckSelMode || !UneImage()) return;
  TNewImgForm* W = EnfantActif();
  if (Value) {
    // Shapes are drawn again and the popups come back, unless a dialogue
    // or a vertex mode owns the image.
    W->Image->SelectionMode = !FDialogueForm && VerticesMode == 0 ? TSelMode::smShape : TSelMode::smNone;
    Sel()->PopupMenu = MenuNamed("PopSel");
  } else {
    W->Image->SelectionMode = TSelMode::smNone;
    Sel()->PopupMenu = nullptr;
  }
}

void TMainForm::ImageSelecting(const TRect& R, TSelOption Option) {
  if (!UneImage()) return;
  TNewImgForm* W = EnfantActif();
  const auto EndCombine = [this] {
    if (CombineSelMode == 0) return;
    CombineSelMode = 0;
    CurrentCombineSel = 0;
    FinAction();
  };
  switch (Option) {
  case soStart:
    if (W->Image->SelectionMode == TSelMode::smShape) {
      CurrentCombineSel = CombineSelMode;
      if (CurrentCombineSel == 0) MasquerSelection();
    }
    EnableHint(false, true, false);
    break;
  case soChanging:
    AfficherInfosSelection(W->Image->ClientToBmp(R));
    break;
  case soEnd: {
    if (W->Image->SelectionMode == TSelMode::smLine) {
      // The line tool's rubber band becomes the line.
      if (StrokeTools()) StrokeTools()->TracerLigne(R);
      EnableHint(true, true, false);
      break;
    }
    const TRect BmpR = W->Image->ClientToBmp(R);
    if (CurrentCombineSel != 0) {
      MasquerSelection();
      const TRect Merged = MergeShapeIntoSelection(*FSelMaskHost, BmpR, CurrentCombineSel == 2);
      if (!Merged.IsEmpty()) AfficherSelection();
      EndCombine();
    } else {
      Sel()->AssignImageShape();
      Sel()->SetBmpSelRect(BmpR);
      if (Palette() && Palette()->IsFillContourTool() && StrokeTools()) {
        // Outline and/or fill the new shape, which then goes away.
        Sel()->SetShowBorder(false);
        AfficherSelection();
        StrokeTools()->DessinSelAuto();
        MasquerSelection();
        Sel()->SetShowBorder(true);
      } else {
        AfficherSelection();
      }
    }
    EnableHint(true, true, false);
    break;
  }
  case soNoValid:
    if (CurrentCombineSel != 0)
      EndCombine();
    else
      MasquerSelection();
    EnableHint(true, true, false);
    break;
  case soChanged:
    break;
  }
}

void TMainForm::ConnectSelectionCommands() {
  Connect("MenuSelTout", [this] { MenuSelToutClick(); });
  Connect("PopImgSelAll", [this] { MenuSelToutClick(); });
  Connect("MenuSelSelection", [this] { MenuSelSelectionClick(MenuItem("MenuSelSelection")); });
  Connect("PopSelMasquer", [this] { MenuSelSelectionClick(MenuItem("PopSelMasquer")); });
}
