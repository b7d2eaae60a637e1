// The main window's side of the module libraries: the module list, the
// loaded-module state, the run and about-box brackets, and the state the
// host services keep while a module runs (its window, the bitmaps it made).
// Private to app/ui: MainForm_Modules.cpp wires it, MainForm_ModuleServices.cpp
// serves the host record.
#pragma once

#include "extensions/ModuleLibrary.h"
#include "platform/Bitmap.h"

#include <QPointer>

#include <memory>
#include <vector>

class TMainForm;

class TModuleHost {
public:
  explicit TModuleHost(TMainForm& Form) : F(Form) {}
  ~TModuleHost();

  TMainForm& F;
  TModuleLibrary Library;
  std::vector<TPluginItem> Items;
  // The main window's module toolbar list ("Plugin1" .. "Plugin20").
  QStringList ToolbarList;

  // Loads Item's module and runs its Execute (true when it answered
  // non-zero), or its about box; the module is unloaded in every case.
  bool ExecuteModule(const TPluginItem& Item);
  void AboutModule(const TPluginItem& Item);

  // While a module runs: the window it showed through the form services,
  // and the bitmaps it made with CreateDIB (the only bitmap objects the
  // services accept from it).
  QPointer<QWidget> ModuleWindow;
  std::vector<std::unique_ptr<TBitmap>> Bitmaps;
  // The bitmap object Handle, when the module made it and still holds it.
  TBitmap* Bitmap(const void* Handle) const;

  // The services' record, filled once; FillHostRecord copies it by level.
  static const TPluginStruct& Services();

private:
  // The host record filled for the loaded module, then Run; the forms and
  // the action ended, the window forgotten, the bitmaps freed.
  template <class TRun> void RunLoaded(TRun Run);
};

// The host whose module runs now (the services reach the main window
// through it), nullptr between runs.
TModuleHost* RunningModuleHost();
