// The texts and the fill of the status bar's first panel: the running
// action, the progress of a long operation. Depends on the translatable
// strings; used by the main window's status bar, and by tests.
#pragma once

#include <QString>

// What panel 0 shows for SetStatusText(Text): the ready text and texts
// ending with '%' as they are, any other text as a running action
// (FormatCaption kind 1).
QString StatusPanelText(const QString& Text);

// The progress format built from the text panel 0 showed when the operation
// began: its part before the first ':' trimmed, or the processing text when
// it was the ready text; then " : %1%".
QString ProgressFormat(const QString& SavedText);

// The width of the filled part of a panel Width wide at Percent.
int ProgressFillWidth(int Percent, int Width);
