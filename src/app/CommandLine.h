// The command line and the choice of the main settings file. Depends on
// QtCore only; used by the program's start-up and the main window.
//
// Options start with '-' and are compared without regard to case; every other
// parameter names a file to open once the main window is painted.
#pragma once

#include <QString>
#include <QStringList>

struct TCommandLineOptions {
  bool LocalIniOption = false;     // "-localini": the settings file in the current folder
  QString IniPathOption;           // "-ini:<path>" whose folder exists, else empty
  bool NoModulesOption = false;    // "-noplugins"
  bool OpenAsImportOption = false; // "-tempfile": files open as imports
};

// At most this many parameters, options included, are looked at for files.
inline constexpr int MaxCommandLineFiles = 20;

// Reads the options of Params (the parameters without the program name).
// The "ini:" path keeps the case of its text, since file names here are
// case-sensitive; it is dropped when its folder part does not exist or when
// it names a bare file without a folder.
TCommandLineOptions ParseCommandLine(const QStringList& Params);

// The files to open at first paint: those of the first MaxCommandLineFiles
// parameters that do not start with '-', in order.
QStringList CommandLineFiles(const QStringList& Params);

// The main settings file: "Lumaretique.ini" in the current folder with
// "-localini"; else the "-ini:" path unless it names a folder; else
// ProgramDir + "Lumaretique.ini"
// when that file exists; else "Lumaretique.ini" in UserConfigDir, a folder
// created when missing, falling back to ProgramDir when it cannot be made.
// ProgramDir ends with a '/'.
QString InitIniFileName(const TCommandLineOptions& Options, const QString& ProgramDir, const QString& UserConfigDir);

// The per-user configuration folder: $XDG_CONFIG_HOME, else $HOME/.config,
// followed by "/Lumaretique 11".
QString UserConfigFolder();
