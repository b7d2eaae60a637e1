// The hints of the palette's buttons: the tools keep their own hints, the
// selection-shape, pattern and brush buttons take the caption of the menu
// item that does the same; the keys that choose a tool or a shape follow.
#include "tools/ui/Outils.h"

#include "i18n/LibLang.h"

#include <QToolButton>

namespace {

struct THintRow {
  const char* Button;
  const char* MenuItem; // nullptr: the lasso, which has no menu item of its own
  const char* Key;      // nullptr: no key
};

constexpr THintRow MenuHintRows[] = {
    {"TB0", "MenuSelRect", "A"},
    {"TB1", "MenuSelEllipse", "B"},
    {"TB2", "MenuSelRoundRect", "C"},
    {"TB3", "MenuSelLosange", "D"},
    {"TB4", "MenuSelTriangle1", "E"},
    {"TB10", "MenuSelTriangle3", "F"},
    {"TB5", nullptr, "I"},
    {"TB6", "MenuSelPolygone", "J"},
    {"TB7", "MenuSelCharger", nullptr},
    {"TB8", "MenuSelAdapter0", nullptr},
    {"TB9", "MenuSelAdapter2", nullptr},
    {"TB11", "MenuSelAdapter3", nullptr},
    {"TB12", "MenuSelInverser", nullptr},
    {"TB13", "MenuSelCentre", nullptr},
    {"TB14", "MenuSelParams", nullptr},
    {"TBSymHorz", "MenuImageSymVerti", nullptr},
    {"TBSymVert", "MenuImageSymHoriz", nullptr},
    {"TBBrushOpen", "MenuFichierOuvrir", nullptr},
    {"TBSymHorzPattern1", "MenuImageSymVerti", nullptr},
    {"TBSymVertPattern1", "MenuImageSymHoriz", nullptr},
    {"TBOpenPattern1", "MenuFichierOuvrir", nullptr},
    {"TBSymHorzPattern2", "MenuImageSymVerti", nullptr},
    {"TBSymVertPattern2", "MenuImageSymHoriz", nullptr},
    {"TBOpenPattern2", "MenuFichierOuvrir", nullptr},
};

} // namespace

QString TOutilsForm::WithKey(const QString& Hint, const char* Key) const {
  return Key && FServices.AddShortcut() ? Hint + QStringLiteral(" [%1]").arg(QLatin1String(Key)) : Hint;
}

void TOutilsForm::SetButtonHints() {
  for (TToolId Id = 0; Id < ToolCount; ++Id) FToolButtons[size_t(Id)]->setToolTip(WithKey(ToolHint(Id), ToolKey(Id)));
  for (const THintRow& Row : MenuHintRows) {
    auto* Button = findChild<QToolButton*>(QString::fromLatin1(Row.Button));
    if (!Button) continue;
    const QString Caption = Row.MenuItem ? FServices.MenuCaption(Row.MenuItem) : Tr(TrId::GetTrMnuSelLasso);
    Button->setToolTip(WithKey(Caption, Row.Key));
  }
}
