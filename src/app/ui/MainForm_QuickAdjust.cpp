// The eight quick-adjust buttons of the filter toolbar: brightness,
// saturation, contrast and gamma, each a small step down or up in an undo
// step titled by the button's hint. The opposite button of the step just
// made takes it back instead, so a click too many costs nothing and leaves
// no trace in the history.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"

#include "app/UndoRules.h"
#include "document/Undo.h"
#include "filters/Filtres24.h"

#include <QAction>
#include <QToolBar>

namespace {

struct TQuickPair {
  const char* Minus;
  const char* Plus;
  // The step of one button: Up for the plus button.
  void (*Step)(TBitmap&, bool Up, const TRect&);
};

constexpr TQuickPair QuickPairs[] = {
    {"BtnLumMoins", "BtnLumPlus", [](TBitmap& B, bool Up, const TRect& R) { Brightness24(B, Up ? 8 : -8, R); }},
    {"BtnColMoins", "BtnColPlus", [](TBitmap& B, bool Up, const TRect& R) { Saturation24(B, Up ? 20 : -20, R); }},
    {"BtnCtrMoins", "BtnCtrPlus", [](TBitmap& B, bool Up, const TRect& R) { Contrast24(B, Up ? 10 : -10, R); }},
    {"BtnGamMoins", "BtnGamPlus", [](TBitmap& B, bool Up, const TRect& R) { Gamma24(B, Up ? 1.2 : 0.8, R); }},
};

} // namespace

bool TMainForm::QuickStepIsOpposite(const QAction* Sender, const QAction* Minus, const QAction* Plus) const {
  if (!FlagBtnSelUndo || !UneImage()) return false;
  const auto* Step = dynamic_cast<const TUndoLayerItem*>(ListeUndo().CurrentUndo());
  if (!Step || Step->LayerIndex() != Image().LayerIndex()) return false;
  const QAction* Opposite = Sender == Minus ? Plus : Minus;
  return Step->Caption == UndoTitle(Opposite->text(), AddShortcut);
}

void TMainForm::ConnectQuickAdjustCommands() {
  for (const TQuickPair& Pair : QuickPairs) {
    QAction* Minus = ToolBar(3)->findChild<QAction*>(QString::fromLatin1(Pair.Minus));
    QAction* Plus = ToolBar(3)->findChild<QAction*>(QString::fromLatin1(Pair.Plus));
    for (QAction* Button : {Minus, Plus}) {
      Button->setProperty("Built", true);
      connect(Button, &QAction::triggered, this, [this, Button, Minus, Plus, &Pair] {
        if (!ActionPossible(Button) || !UneImage()) return;
        TActionBracket Bracket(*this);
        if (QuickStepIsOpposite(Button, Minus, Plus)) {
          ListeUndo().DeleteUntilLast();
          AnnulerFiltre(true);
        } else {
          PreparerUndo(miFiltre, Button->text());
          Pair.Step(LeBitmap(), Button == Plus, LaSelection());
          AppliquerMasqueSel(1);
          FlagBtnSelUndo = true;
        }
        RefreshBitmap();
        LayerChanged();
      });
    }
  }
}
