// The program's start-up: the process-wide values set before the main window
// exists, the choice and application of the visual style, and the main block
// that runs the application. Depends on the command line and settings of
// app/, the visual styles and DPI helpers of ui/, QtWidgets; used by main.cpp
// and the main window.
#pragma once

#include "app/CommandLine.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct TStartupState {
  QString ProgramDir;  // the executable's folder, with a trailing '/'
  QString MainIniFile; // the main settings file
  TCommandLineOptions Options;
  QStringList Params; // the parameters, without the program name
  bool SystemStyleAtStart = true;
  bool ShowSplash = false; // no splash window is built yet
  bool TranslationLoaded = false;
};

// The values of this run, set by InitApplication.
TStartupState& Startup();

// The style name when the settings name none: by system version and dark
// mode.
QString DefaultStyleName(bool Dark);
// The desktop prefers dark applications (a dark window colour).
bool IsDarkAppsTheme();
// Reads "Skin" of the main settings file and makes that style (or the
// default one) the active style when it is registered; derives the interface
// colours from a custom style.
void ApplySkin(const QString& MainIniFile);

// Title, command line, settings file name, style and the dialog font of the
// settings ("DefaultFont"), in that order; Params without the program name.
void InitApplication(const QStringList& Params, const QString& ProgramDir);
// Qt's own texts (file dialogs, their questions) in Language ("fr"), from
// the system's Qt translations when installed.
void LoadQtTranslations(const QString& Language);

// The main block: the application, the main window, the message loop. The
// caller may hook the window before it is shown (closing on signals).
int ProgramMain(int& Argc, char** Argv, const std::function<void(QWidget&)>& OnMainWindow);
