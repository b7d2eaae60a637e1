// What the main window's creation sets up before its frame: the data
// folders beside the executable, and the start-up services of subsystems
// that this build does not hold yet, each answering "not present" at its
// place in the start-up order. Depends on QtCore; used by the main window.
#pragma once

#include <QString>
#include <QStringList>

// The data folders: each is the program folder + its sub-folder when that
// folder exists, else its fallback. Stored without a trailing '/'.
struct TDataFolders {
  QString SelDir;     // "Selections", else the program folder
  QString MasqueDir;  // "Masks"
  QString PluginDir;  // "Plugins_64", else empty (no module is loaded)
  QString MotifDir;   // "Patterns"
  QString BrushDir;   // "Brushes"
  QString PS8bfDir;   // "8bf_64", else PluginDir
  QString NozzleDir;  // "Nozzles"
  QString TextureDir; // "Textures"
  QString PngDir;     // "PngData"
  QString PathDir;    // "Paths"
  QString DataDir;    // "Data"
  // Modules may load: true exactly when PluginDir is not empty.
  bool ChargerPlugins = false;
};

// ProgramDir with or without its trailing '/'.
TDataFolders InitDataFolders(const QString& ProgramDir);

// The per-user data folder: $XDG_DATA_HOME (else ~/.local/share) +
// "/Lumaretique 11".
QString UserDataFolder();
// The data folder Name ("Textures", "PngData" ...) a save goes into: beside
// the program, created there when missing, else (the program folder is not
// writable) in UserDataDir, created there; empty when neither can be made.
QString EnsureDataFolder(const QString& ProgramDir, const QString& Name, const QString& UserDataDir);

// The single-instance gate: true when this process handed its command line
// to a first instance and must end. No gate is built: every start keeps its
// own window.
bool HandedToFirstInstance(const QString& MainIniFile, const QStringList& Params);

// The splash window: whether one can be shown during this start. None is
// built.
bool SplashWindowAvailable();

// The language module: true when one was found in the program folder and
// its texts loaded (the translatable strings and the ones derived from them
// then hold its texts); without one the interface stays French.
bool LoadLanguageModule(const QString& ProgramDir);

// The last step of the main window's creation: the executable becomes the
// program that opens the own file types, which are registered again (with
// force) at every start.
void RegisterExeAndFileTypes();
