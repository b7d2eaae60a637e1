// Helpers of the FreeImage tests: the library loaded from the module folder
// beside the test program, a scope without it, loads and saves through
// TFreeBitmap, and ImageMagick's convert to make the files the library reads.
#pragma once

#include "FileTestSupport.h"
#include "files/FreeUtils.h"

#include <QString>
#include <QStringList>

// Loads the library from Plugins_64 beside the test program when it is not
// loaded yet; false (and the test should skip) when the build made no link.
bool EnsureFreeImage();

#define REQUIRE_FREEIMAGE()                                                                                            \
  if (!EnsureFreeImage()) GTEST_SKIP() << "no Plugins_64/FreeImage_64.lml beside the test program"

// Unloads the library for the scope's life and loads it again afterwards.
class TWithoutFreeImage {
public:
  TWithoutFreeImage();
  ~TWithoutFreeImage();
  TWithoutFreeImage(const TWithoutFreeImage&) = delete;
  TWithoutFreeImage& operator=(const TWithoutFreeImage&) = delete;

private:
  bool FWasLoaded;
};

// Reads the file the way the dispatch does: InitLoadFormat, LoadFromFileEx.
// Errors pass to the caller.
PBitmap LoadThroughFreeImage(const QString& FileName, TFreeExtraData* Extra = nullptr, int IOFlag = 0);
// InitSaveFormat, IOFlag when not negative, SaveToFileEx.
void SaveThroughFreeImage(const TBitmap& Bitmap, const QString& FileName, TFreeExtraData* Extra = nullptr,
                          int IOFlag = -1);

// Runs ImageMagick's convert with Args; true when it succeeded.
bool Convert(const QStringList& Args);
