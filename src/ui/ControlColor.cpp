#include "ui/ControlColor.h"

#include "ui/DrawUtils.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* OwnColorProperty = "lumaOwnColor";
}

TColor ControlColor(const QWidget* Control) { return FromQColor(Control->palette().color(QPalette::Window)); }

void SetControlColor(QWidget* Control, TColor Color) {
  QPalette Palette = Control->palette();
  Palette.setColor(QPalette::Window, ToQColor(Color));
  Control->setPalette(Palette);
  Control->setProperty(OwnColorProperty, true);
  Control->update();
}

bool ControlParentColor(const QWidget* Control) { return !Control->property(OwnColorProperty).toBool(); }

void SetControlParentColor(QWidget* Control, bool Value) {
  if (Value == ControlParentColor(Control)) return;
  if (Value) {
    // An empty palette resolves nothing of its own: every role follows the parent again.
    Control->setPalette(QPalette());
    Control->setProperty(OwnColorProperty, false);
  } else {
    SetControlColor(Control, ControlColor(Control));
  }
  Control->update();
}
