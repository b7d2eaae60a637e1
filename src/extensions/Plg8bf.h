// The 8BF filter bridge: finds the outside 8BF host library, asks it for
// the plug-ins of a folder, and runs one of them on a bitmap in place or on
// a packed copy of a rectangle written back afterwards. The host library is
// loaded for one enumeration or one run and freed before the call returns,
// also after an error. Depends on platform (bitmaps, TDynamicLibrary) and
// raster (the progress service); used by the main window, which builds the
// "8BF" menus from the list and brackets each run with its undo step.
//
// The host's contract is Plg8bfHostApi.h; the host runs the plug-in on the
// interface thread, so the bridge is not reentrant: one enumeration or run
// at a time.
#pragma once

#include "platform/Colors.h"
#include "platform/DynamicLibrary.h"
#include "platform/Types.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TBitmap;

// The host library's default file name, and the name it is installed under
// in the module folder.
inline constexpr char Plg8bfHostDefaultName[] = "pspiHost.dll";
inline constexpr char Plg8bfHostModuleName[] = "8bf_64.lml";
// Plug-ins beyond this many are ignored.
inline constexpr int Plg8bfMaxItems = 100;

// One plug-in, as the host reported it.
struct TPlg8bfItem {
  QString Category; // trimmed; "Unknown" when the host gives none
  QString Name;     // trimmed; the category when empty
  QString FullPath; // the plug-in file, as the host gives it
};

class TPlg8bfBridge {
public:
  TPlg8bfBridge();
  ~TPlg8bfBridge();
  TPlg8bfBridge(const TPlg8bfBridge&) = delete;
  TPlg8bfBridge& operator=(const TPlg8bfBridge&) = delete;

  // The host path: Folder (empty: the program folder) + FileName (empty:
  // the default name), kept only when that file exists, else empty.
  void Set8bfHostPath(const QString& Folder, const QString& FileName);
  const QString& HostPath() const { return FHostPath; }
  bool Is8bfHostAvailable() const { return !FHostPath.isEmpty(); }

  // Loads the host and binds its thirteen entry points; false (nothing
  // left loaded) for an empty path, a library that does not load or one
  // lacking any entry point.
  bool Load8bfHost(const QString& Path);
  void Unload8bfHost();

  // Empties the list, then asks the host for the plug-ins of Folder: at
  // most Plg8bfMaxItems, sorted by category then name, both without regard
  // to case (ties keep the host's order). A missing or incomplete host
  // leaves the list empty.
  void Enumerate8bfPlugins(const QString& Folder);
  const std::vector<TPlg8bfItem>& Items() const { return FItems; }
  int Plg8bfCount() const { return int(FItems.size()); }
  // '' outside the list.
  QString Plg8bfName(int Index) const;

  // The application's colour dialog and the progress service, handed to
  // the host at every later run. Picker answers true with the chosen colour
  // in Color, false when the user cancelled.
  using TColorPicker = std::function<bool(TColor& Color)>;
  void RegisterCallbacks(TColorPicker Picker);
  // The window that owns the plug-in's dialog.
  void SetWindow(void* Window) { FWindow = Window; }

  // Runs plug-in Index on a 24- or 32-bit bitmap in place (32 bits: with
  // alpha). False when Index is outside the list, the bitmap is empty or of
  // another format, the host does not load, or the plug-in's load or run
  // fails.
  bool Run8bfOnBitmap(int Index, TBitmap* Bitmap);
  // The same on packed rows of Width x (3 + HasAlpha) bytes, top-down.
  bool Run8bfOnBuffer(int Index, int Width, int Height, uint8_t* Data, bool HasAlpha);
  // Runs plug-in Index on the rectangle R of a 24-bit Bitmap through a
  // packed copy, written back (blue, green, red only) on success. With
  // Alpha and a non-empty Mask (a grey mask of the bitmap's size, 255
  // transparent) the copy carries a fourth byte 255 - mask; the mask itself
  // is never written. False when R leaves nothing of the bitmap.
  bool Run8bfOnRect(int Index, TBitmap& Bitmap, const TBitmap* Mask, const TRect& R, bool Alpha);

private:
  struct TApi;
  bool RunHost(int Index, int Orientation, bool HasAlpha, int Width, int Height, void* Data, int Stride);
  friend struct TPlg8bfCallbacks;

  QString FHostPath;
  std::vector<TPlg8bfItem> FItems;
  TDynamicLibrary FLibrary;
  std::unique_ptr<TApi> FApi;
  TColorPicker FColorPicker;
  bool FCallbacksRegistered = false;
  void* FWindow = nullptr;
};
