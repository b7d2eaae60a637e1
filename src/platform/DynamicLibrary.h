// TDynamicLibrary: one shared object loaded with dlopen for as long as the
// object lives (or until Close), its exports found by name. Depends on
// QtCore for file names; used by the loaders of outside libraries.
#pragma once

#include <QString>

class TDynamicLibrary {
public:
  TDynamicLibrary() = default;
  // Loads Path at once (every symbol resolved now); IsOpen tells whether it
  // worked.
  explicit TDynamicLibrary(const QString& Path) { Open(Path); }
  ~TDynamicLibrary() { Close(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  // Closes any library held, then loads Path; false when it cannot be
  // loaded (an empty path included).
  bool Open(const QString& Path);
  void Close();
  bool IsOpen() const { return FHandle != nullptr; }

  // The export Name, or nullptr when the library lacks it (or none is open).
  void* Symbol(const char* Name) const;
  // The same, as a function pointer of type F.
  template <typename F> F Function(const char* Name) const { return reinterpret_cast<F>(Symbol(Name)); }

private:
  void* FHandle = nullptr;
};
