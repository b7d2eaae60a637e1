// The folder picker: the program's folder-choosing dialog, opened on a given
// folder. Depends on QtWidgets; used by the preferences, the batch dialog and
// the folder dialog.
#pragma once

#include <QString>

// Shows a modal folder dialog owned by the active window, titled Caption and
// opened on InitialFolder; answers the chosen folder, or an empty string when
// the user cancels.
QString BrowseForFolder(const QString& Caption, const QString& InitialFolder);
