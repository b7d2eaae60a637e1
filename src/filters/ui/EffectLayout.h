// Placing a dialog's controls side by side: the builders of TFilterNForm put
// each new control under the lowest one; these move a built pair beside
// another control. Depends on TFilterNForm.
#pragma once

#include "filters/ui/FilterNForm.h"

// Control moved to the right of LeftOf, on its row, with Label (built just
// before or after it) right above Control.
void PlaceBeside(TFilterNForm& Form, QWidget* Label, QWidget* Control, QWidget* LeftOf);
