// The report of a file whose data the program cannot use. Readers and the
// layered image call it and never show a dialog themselves; the main window
// installs the handler that shows the message dialog (an error with an OK
// button and no caption), so that previews, batch runs and tests stay
// silent. Depends on i18n (the shared message); interface thread only.
#pragma once

#include <QString>

#include <functional>

using TFileErrorHandler = std::function<void(const QString& Message)>;

// Installs the handler and returns the one it replaces; an empty handler
// (the state at start-up) drops every report.
TFileErrorHandler SetFileErrorHandler(TFileErrorHandler Handler);

// Passes Message to the installed handler, if any.
void ReportFileError(const QString& Message);

// Reports the shared message "Fichier de données invalide !" (translated):
// the layers of a layered file stopped being readable after at least one
// was read.
void ShowInvalidDataFileError();
// The same message followed by the file's name on a line of its own (the
// message alone for an empty name).
void ShowInvalidDataFileError(const QString& FileName);
