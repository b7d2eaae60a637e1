// The curve commands: Adjust > Curves opens the tone-curve dialog on a
// prepared filter undo record.
#include "app/ui/FilterDialogOpener.h"
#include "app/ui/MainForm.h"
#include "filters/ui/CourbesForm.h"

void TMainForm::ConnectCurvesCommands() { WireFilterDialog("MenuReglageCourbes", OpenFilterDialog<TCourbesForm>); }
