#include "platform/DynamicLibrary.h"

#include <QFile>

#include <dlfcn.h>

bool TDynamicLibrary::Open(const QString& Path) {
  Close();
  if (Path.isEmpty()) return false;
  // Local binding: two outside libraries exporting the same names must not
  // answer for each other.
  FHandle = dlopen(QFile::encodeName(Path).constData(), RTLD_NOW | RTLD_LOCAL);
  return FHandle != nullptr;
}

void TDynamicLibrary::Close() {
  if (!FHandle) return;
  dlclose(FHandle);
  FHandle = nullptr;
}

void* TDynamicLibrary::Symbol(const char* Name) const { return FHandle ? dlsym(FHandle, Name) : nullptr; }
