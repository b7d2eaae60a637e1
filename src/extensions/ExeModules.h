// Ordinary programs run as extensions: filter programs that rewrite an image
// file in place, import programs that convert a file of some format into one
// the editor reads, export programs that convert a file the editor wrote.
// Each is described by a settings file in the folder "Plugins_64" of the
// program folder ("MyFilter%d.ini" or "MyPlugin%d.ini", "MyImport%d.ini",
// "MyExport%d.ini", %d the slot 1..7, section "LUMARETIQUE_LINK"). Depends
// on the ini reader (platform), the text helpers (raster) and the load and
// save dispatch's module seam (files); used by the main window, which owns
// one TExeModules and installs it in the dispatch.
//
// A program runs on the interface thread: the caller waits, the
// application's events processed every 333 ms, until the program ends.
#pragma once

#include "files/BmpOE2.h"

#include <QString>

#include <array>
#include <functional>

inline constexpr int ExeModuleSlots = 7;

struct TFilterPluginData {
  QString ExeFilename, ExeParams, Caption, Msg;
  bool AlphaChannel = false;
  bool HideWindow = false;
};

struct TImportPluginData {
  QString ImageFormats, ExeFilename, ExeParams, SwapMode, Caption, Msg;
  bool HideWindow = true;
};

// ---- Pure rules of the description files and command lines ----

// The macros of an ExeFilename, each replaced at its first occurrence found
// without regard to case, in this order: "%plugins64%" with the delimiter
// after it by DescriptionDir, "%lumaretique%" by ProgramDir (both ending in
// '/'), "%programfiles%" by the environment's PROGRAMFILES, "%userprofile%"
// by USERPROFILE (HOME where that is not set). Backslashes, the description
// files' delimiters, become '/'.
QString ExpandPluginPath(const QString& Value, const QString& DescriptionDir, const QString& ProgramDir);
// Every "%id", "%if", "%ie", "%i" (folder with its delimiter, name without
// folder and extension, extension without its dot, full path) of Input,
// then the same "%o.." of Output, case-sensitive; an empty Template stays.
QString ReplaceIOParams(const QString& Template, const QString& Input, const QString& Output);
// Params with every "%f" replaced by FileName, or FileName in double quotes
// when Params is empty.
QString FilterCommandLine(const QString& Params, const QString& FileName);
// The file's extension with its dot, lower-cased, is listed: its first
// occurrence in List is followed by ';' or ends the list.
bool FormatListHasExt(const QString& List, const QString& FileName);
// The swap file of a SwapMode: a JPEG when its first three characters are
// "jpg" in any case, else a PNG; the temporary folder's
// "LumaretiquePluginSwap.png" (".jpg"), or, for a SwapMode longer than 4
// characters, the text from its 5th character with the input macros of
// Input and the output macros of that default.
QString SwapFilePath(const QString& SwapMode, const QString& Input);
// "0"/"false" false, "1"/"true" true in any case, else Default.
bool DescriptionBool(const QString& Value, bool Default);

// ---- Running a program ----

// Starts Exe with the arguments of the command line Parameters (split as a
// shell splits words, double quotes grouping) and waits for its end while
// the application processes its events every 333 ms. True when the program
// could be started, whatever its exit code. Hide has no counterpart for
// programs started here (they show their windows themselves); it is kept
// for the description files' sake.
bool RunExeAndWait(const QString& Exe, const QString& Parameters, bool Hide);

// ---- The slots ----

class TExeModules {
public:
  // ProgramDir ends in '/'; the description folder is its "Plugins_64/".
  explicit TExeModules(const QString& ProgramDir);

  const QString& ProgramDir() const { return FProgramDir; }
  const QString& DescriptionDir() const { return FDescriptionDir; }

  // Reading a slot (N 1..7): cleared, then filled from its description file
  // when the file names a program that exists. True when loaded.
  bool LoadFilterPlugin(int N);
  bool LoadImportPlugin(int N);
  bool LoadExportPlugin(int N);
  const TFilterPluginData& FilterSlot(int N) const { return FFilters[Index(N)]; }
  const TImportPluginData& ImportSlot(int N) const { return FImports[Index(N)]; }
  const TImportPluginData& ExportSlot(int N) const { return FExports[Index(N)]; }

  // Filter programs, on the current filter slot.
  void SetCurrentFilterPlugin(int N) { FCurrentFilter = Index(N) + 1; }
  // Loaded, else read again now (an unusable slot is read at every ask).
  bool CurrentFilterPluginAvailable();
  QString CurrentFilterPluginCaption() const; // at most 50 characters
  QString CurrentFilterPluginAbout() const;
  bool CurrentFilterPluginAlpha() const;
  bool CurrentFilterPluginVisible() const;
  // Runs the program on FileName; true when it started and changed the
  // file's modification time (a program that leaves it counts as cancelled).
  bool RunCurrentFilterPlugin(const QString& FileName);

  // Import programs, on the current import slot.
  void SetCurrentImportPlugin(int N) { FCurrentImport = Index(N) + 1; }
  bool CurrentImportPluginAvailable();
  // "Caption (formats)" at most 50 characters; empty without a caption.
  QString CurrentImportPluginCaption() const;
  QString CurrentImportPluginAbout() const;
  // The masks of the slots ("*.abc;*.def") joined by ';'.
  QString ImportPluginMasks() const;
  // "Caption|masks" of the slots joined by '|'.
  QString ImportPluginFilters() const;
  bool HasImportPlugins() const { return FImportLoaded; }
  // The first slot listing FileName's extension, made current; 0 for none.
  int FindImportPlugin(const QString& FileName);
  // The swap file the program was asked to write, '' when it did not start.
  QString ImportWithCurrentPlugin(const QString& FileName);

  // Export programs, on the current export slot.
  void SetCurrentExportPlugin(int N) { FCurrentExport = Index(N) + 1; }
  bool CurrentExportPluginAvailable();
  QString CurrentExportPluginCaption() const;
  QString CurrentExportPluginAbout() const;
  QString ExportPluginFilters() const;
  bool HasExportPlugins() const { return FExportLoaded; }
  int FindExportPlugin(const QString& FileName);
  QString CurrentExportSwapPath() const;
  // The program converts SwapPath into Target (always hidden). It writes
  // into a file of Target's name in a temporary folder, which replaces
  // Target through a safe write only when the program made it: a program
  // that writes nothing fails and leaves an existing Target as it was.
  bool ExportWithCurrentPlugin(const QString& SwapPath, const QString& Target);

  // The starter of every program run (RunExeAndWait unless a test sets one).
  using TRunExe = std::function<bool(const QString& Exe, const QString& Parameters, bool Hide)>;
  void SetRunExe(TRunExe Run) { FRunExe = std::move(Run); }

private:
  static int Index(int N) { return N < 1 ? 0 : (N > ExeModuleSlots ? ExeModuleSlots - 1 : N - 1); }
  QString DescriptionFile(const char* Template, int N) const;
  // ExeFilename of the file expanded; empty when the program is missing.
  QString ReadProgram(const QString& File) const;
  bool LoadImportExport(TImportPluginData& Slot, const QString& File);
  static QString ImportExportCaption(const TImportPluginData& Slot);
  static QString Filters(const std::array<TImportPluginData, ExeModuleSlots>& Slots);
  static QString Mask(const TImportPluginData& Slot);
  // The first loaded slot listing the file's extension, 0 for none.
  static int FindSlot(const std::array<TImportPluginData, ExeModuleSlots>& Slots, const QString& FileName);

  QString FProgramDir, FDescriptionDir;
  std::array<TFilterPluginData, ExeModuleSlots> FFilters;
  std::array<TImportPluginData, ExeModuleSlots> FImports, FExports;
  int FCurrentFilter = 1, FCurrentImport = 1, FCurrentExport = 1;
  bool FImportLoaded = false, FExportLoaded = false;
  TRunExe FRunExe;
};

// The slots as the load and save dispatch asks for them.
class TExeModulesIO : public TImageIOModules {
public:
  explicit TExeModulesIO(TExeModules& Modules) : FModules(Modules) {}
  bool FindImportPlugin(const QString& FileName) override { return FModules.FindImportPlugin(FileName) > 0; }
  QString ImportWithCurrentPlugin(const QString& FileName) override {
    return FModules.ImportWithCurrentPlugin(FileName);
  }
  bool FindExportPlugin(const QString& FileName) override { return FModules.FindExportPlugin(FileName) > 0; }
  QString CurrentExportSwapPath() override { return FModules.CurrentExportSwapPath(); }
  bool ExportWithCurrentPlugin(const QString& Swap, const QString& FileName) override {
    return FModules.ExportWithCurrentPlugin(Swap, FileName);
  }

private:
  TExeModules& FModules;
};
