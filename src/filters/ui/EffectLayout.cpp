#include "filters/ui/EffectLayout.h"

#include <QLabel>

void PlaceBeside(TFilterNForm& Form, QWidget* Label, QWidget* Control, QWidget* LeftOf) {
  Control->move(LeftOf->x() + LeftOf->width() + Form.Rescale(16), LeftOf->y());
  if (Label) Label->move(Control->x(), Control->y() - Label->height() - Form.Rescale(2));
}
