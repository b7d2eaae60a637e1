#include "platform/DynamicLibrary.h"

#include <QFile>

#include <dlfcn.h>

bool TDynamicLibrary::Load(const QString& FileName) {
  Unload();
  FError.clear();
  // A name without a folder would make dlopen search the system paths.
  const QString Path = FileName.contains(QLatin1Char('/')) ? FileName : QStringLiteral("./") + FileName;
  FHandle = dlopen(QFile::encodeName(Path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char* Text = dlerror();
    FError = Text ? QString::fromLocal8Bit(Text) : QStringLiteral("dlopen failed");
  }
  return FHandle != nullptr;
}

void TDynamicLibrary::Unload() {
  if (FHandle) dlclose(FHandle);
  FHandle = nullptr;
}

void* TDynamicLibrary::Symbol(const char* Name) const { return FHandle ? dlsym(FHandle, Name) : nullptr; }
