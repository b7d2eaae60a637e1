#include "ui/HintGate.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>
#include <algorithm>

THintGate::THintGate() { qApp->installEventFilter(this); }

THintGate& THintGate::Instance() {
  // Parented to the application so it goes with it.
  static QPointer<THintGate> Gate;
  if (!Gate) {
    Gate = new THintGate;
    Gate->setParent(qApp);
  }
  return *Gate;
}

void THintGate::SetShowHint(QWidget* Panel, bool Value) {
  if (!Panel) return;
  std::erase_if(FSilenced, [Panel](const QPointer<QWidget>& W) { return W.isNull() || W == Panel; });
  if (Value) return;
  FSilenced.emplace_back(Panel);
  // A hint already up over the panel goes too.
  if (QToolTip::isVisible()) QToolTip::hideText();
}

bool THintGate::ShowHint(const QWidget* Panel) const {
  return std::none_of(FSilenced.begin(), FSilenced.end(), [Panel](const QPointer<QWidget>& W) { return W == Panel; });
}

bool THintGate::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() != QEvent::ToolTip || !Watched->isWidgetType()) return false;
  const auto* Target = static_cast<QWidget*>(Watched);
  return std::any_of(FSilenced.begin(), FSilenced.end(), [Target](const QPointer<QWidget>& W) {
    return W && (W == Target || W->isAncestorOf(Target));
  });
}
