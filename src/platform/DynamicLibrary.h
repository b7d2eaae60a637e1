// One shared object loaded for as long as the object lives: dlopen with
// RTLD_NOW | RTLD_LOCAL, so that a library missing a symbol fails at load
// rather than in the middle of a call, and its symbols never resolve another
// library's. Depends on the C library and QtCore; used by the module hosts.
#pragma once

#include <QString>

class TDynamicLibrary {
public:
  TDynamicLibrary() = default;
  ~TDynamicLibrary() { Unload(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  // Unloads the library held, then loads FileName; false with Error() set.
  bool Load(const QString& FileName);
  void Unload();
  bool Loaded() const { return FHandle != nullptr; }
  // The address of the export Name, nullptr when absent (or none loaded).
  void* Symbol(const char* Name) const;
  template <class TFunc> TFunc Function(const char* Name) const { return reinterpret_cast<TFunc>(Symbol(Name)); }
  // The loader's text for the last failed Load.
  const QString& Error() const { return FError; }

private:
  void* FHandle = nullptr;
  QString FError;
};
