// Module libraries: ".lml" shared objects found at start-up in the module
// folder and its sub-folders, each adding one command (a filter, an image
// command, an import, an export or a tool). This unit holds what needs no
// window: the loaded-module state (at most one library loaded, for one
// registration, run or about box), the registration and validation of a
// module's header, the scan, the caption split, the toolbar choice, the
// enabling rule and the filling of the host record by level. The main
// window places the menus and serves the host record (MainForm_Modules.cpp).
// Depends on platform (TDynamicLibrary) and QtCore/QtGui; ModuleAbi.h is
// the binary interface.
#pragma once

#include "extensions/ModuleAbi.h"
#include "platform/DynamicLibrary.h"
#include "platform/Types.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One registered module.
struct TPluginItem {
  QString FileName; // full path of the library
  QString Caption, Version;
  int32_t PluginType = 0;
  QString Author, Comment, Reserved;
  int32_t Flags = 0;
  // The module's 19 x 19 glyph, its transparent colour made transparent;
  // null when it has none (the main window then shows its own).
  QImage Glyph;
};

// The two files of the module folder that are libraries of another kind.
inline constexpr const char* EightBfHostFileName = "8bf_64.lml";
inline constexpr const char* FreeImageFileName = "FreeImage_64.lml";
// At most this many module toolbar buttons.
inline constexpr int MaxModuleToolbarButtons = 20;

// A text of the module: up to its first 0, at most Capacity units (a header
// field may fill its whole field without an end).
QString WideText(const char16_t* Text, int Capacity);
// At most MaxLen characters of Value and a 0 into Dest (nothing when MaxLen
// is negative); Dest back.
char16_t* PutWideText(char16_t* Dest, int32_t MaxLen, const QString& Value);

// Caption split into the module's name and its command caption: with "|"
// at the second character or later, the texts before and after it;
// otherwise the caption without its first "|" for both. The name is cut to
// 32 characters and cleaned (CleanMenuCaption), the command only cut.
struct TModuleCaptions {
  QString Name;
  QString Command;
};
TModuleCaptions SplitModuleCaption(const QString& Caption);

// The loaded-module state and its nine entry points (any may be absent
// until LoadModule succeeded; the four required ones are then present).
class TModuleLibrary {
public:
  // Loads FileName, binds its exports, writes the interface language into
  // the module's language buffer and checks the header. False, with the
  // reason in Error(), when the library does not load, lacks a required
  // export, gives no header or a refused one; nothing stays loaded then.
  bool LoadModule(const QString& FileName);
  void UnloadModule();
  bool IsModuleLoaded() const { return FLibrary.Loaded(); }
  const QString& Error() const { return FError; }
  // While loaded: the header (never nullptr after a successful load, but
  // asked again each time, as a module may keep it anywhere).
  const TPluginHeader* Header() const { return RegisterPluginHeader ? RegisterPluginHeader() : nullptr; }

  // The colour picked or the point clicked (0 left, 1 right button) on the
  // image, for the running module when it exports the receiver.
  void ForwardColorPick(int32_t Color) const;
  void ForwardPointClick(TPoint Point, int32_t Button) const;

  TRegisterCompatibility RegisterCompatibility = nullptr;
  TRegisterPluginLanguage RegisterPluginLanguage = nullptr;
  TRegisterPluginHeader RegisterPluginHeader = nullptr;
  TRegisterPluginStruct RegisterPluginStruct = nullptr;
  TRegisterPluginGlyph RegisterPluginGlyph = nullptr;
  TExecute Execute = nullptr;
  TAboutPlugin AboutPlugin = nullptr;
  TSetColorPicker SetColorPicker = nullptr;
  TSetPointClick SetPointClick = nullptr;

private:
  void ClearEntries();
  TDynamicLibrary FLibrary;
  QString FError;
};

// Loads Path for registration and reads its item; false when it is left
// out: Error then holds why, or is empty for a module whose header asks to
// be left out (a kind outside 0..4). The library is unloaded either way.
bool RegisterModule(TModuleLibrary& Library, const QString& Path, TPluginItem& Item, QString& Error);

// The modules of Folder and its sub-folders, sorted by caption without
// regard to case (the user's locale), and the files left out with their
// reason ("file: reason"). ShowAction sees each file before it is tried.
struct TModuleScan {
  std::vector<TPluginItem> Items;
  QStringList Skipped;
};
TModuleScan ScanModuleFolder(TModuleLibrary& Library, const QString& Folder,
                             const std::function<void(const QString&)>& ShowAction = {});

// The indexes of the modules that get a toolbar button, in list order: all
// when ToolbarList is empty, else those whose file name (no folder) it
// holds without regard to case; at most MaxModuleToolbarButtons.
std::vector<int> ModuleToolbarIndexes(const std::vector<TPluginItem>& Items, const QStringList& ToolbarList);

// What the enabling rule of a module's command reads of the main window.
struct TModuleEnableState {
  bool ImageOpen = false;
  bool Mode16M = false;         // more than 256 colours
  bool KeyTransparent = false;  // background transparent by a key colour
  bool SelectionVisible = false;
  int ImageWindows = 0;
  int LayerCount = 0;
  bool RGBA = false;
  bool BackgroundFree = false;  // neither locked nor hidden
  bool CurrentLayerFree = false; // a bitmap layer neither locked nor hidden
  bool HasMetadata = false;
  QString FileName;
};
bool ModuleCommandEnabled(const TPluginItem& Item, const TModuleEnableState& S);

// Writes the facts and the services of Level (1 or less: level 1) from
// Source into Rec; the slots above the level and Reserved2 keep what the
// module put there.
void FillHostRecord(TPluginStruct* Rec, int32_t Level, const TPluginStruct& Source);
