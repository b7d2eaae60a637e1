// The main settings file: what the main window keeps between runs, with the
// defaults and ranges of every key. Depends on the ini file of platform and
// the colour texts of raster; used by the main window, which applies the
// values to its controls.
//
// Reading uses the sentinel "ERR": a missing key and a key whose value is
// literally ERR are both absent. A switch changes only for the exact text its
// row names ("1" turns an off switch on, "0" an on switch off); anything else
// keeps the default. Out-of-range integers are clamped where a range is
// given; a folder that does not exist is ignored.
#pragma once

#include "platform/Colors.h"

#include <QRect>
#include <QString>
#include <QStringList>

// Facts about the machine that the defaults depend on.
struct TSettingsEnvironment {
  QString ProgramDir;               // with a trailing '/'
  QRect WorkArea{0, 0, 1920, 1040}; // of the screen that holds the window
  int ScreenDpi = 96;
  int DefaultButtonHeight = 25; // DefaultToolButtonSize
  int PrintUnitDefault = 0;     // 1 when the language module asks for inches
};

inline constexpr int MaxRecentFiles = 12;
inline constexpr int MaxModuleButtons = 20;

struct TMainSettings {
  // Position
  QRect WindowRect;
  bool Maximize = false;
  // Params
  bool VerrouillerDir = false; // LockDir
  bool UniqueDir = false;
  QString OuvrirDir;
  QString EnregistrerDir;
  bool SaveDefault = false;
  int SaveFormatIndex = -1;
  bool Force16M = true;
  bool MaximizeImgWin = false;
  bool Antialias = false;
  bool CadreOmbre = true; // BorderShadow
  int NbHistoriques = 12; // History, 1..24
  int UniteDefaut = 0;    // ImageUnit, 0..2
  int UniteDefautPrn = 0; // PrintUnit, 0..1
  int TailleGrille = 20;  // GridCellSize, 1..500
  TColor CouleurGrille = clSilver;
  int UniteGrille = 0; // GridUnit, 0..2
  int ThumbSize = 1;   // 0..3
  bool ZoomMolette = true;
  bool UseCursorEx = true;
  bool LimitesCalqueActif = true;
  bool DessinAlpha = true;
  bool SelCalqueAuto = true;
  bool NumCalque = false;
  bool AutoExpandLayer = true;
  bool DialogParams = true;
  bool AutoReset = true;
  int ToolButtonHeight = 25;
  QString CopyTo;
  // Tools
  bool FilterBar = true;
  bool ToolsPalette = true;
  int ToolsAlignment = 2; // 0 floating, 1 docked left, 2 docked right
  bool Explorer = false;
  // Plugins64
  bool PluginsBar = false;
  bool ChargerPlugins = true;
  QStringList PluginButtons;
  QString PS8bfDir;
  int PS8bfMode = 0;
  bool PreserveExif = true;
  bool AutoToneMap = true;
  // Soft
  QString TwainSoft;
  QString LayerSoft;
  // Files
  bool ViderListeFichiers = false;
  QStringList ListeFichiers; // most recent first, at most MaxRecentFiles
};

// 1.5 x the default height, halves to even.
int ToolButtonMaxHeight(int DefaultButtonHeight);

// The values before the file is read: the window at (10, 10) of the work
// area's size less (120, 50), the folders at ProgramDir.
TMainSettings DefaultMainSettings(const TSettingsEnvironment& Env);

// Reads the file over Settings (which holds the defaults). A missing or
// unreadable file leaves every default.
void LoadSettings(const QString& IniFileName, const TSettingsEnvironment& Env, TMainSettings& Settings);

// Writes what the program changes while it runs: the window position, the
// folders (unless locked), the view switches, the toolbars and the recent
// files (File1..File12, the keys past the list deleted). Errors are
// swallowed.
void SaveSettings(const QString& IniFileName, const TMainSettings& Settings);

// The rectangle moved inside the work area, then clipped to it.
QRect FitRectInWorkArea(const QRect& Rect, const QRect& WorkArea);
