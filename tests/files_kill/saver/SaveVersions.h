// The two versions of the file the kill test's saver writes in turn, and
// the one save of each, shared by the saver and the test that checks what a
// killed saver left.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

#include <string>

// The picture of version 0 or 1 (24-bit, different noise in each).
const TBitmap& VersionPicture(int Version);
// The bytes of a ".raw" file, which is written by the safe file itself.
const std::string& RawVersion(int Version);
// Saves the version in the format of the name's extension (.lmi, .bmp, .png,
// .jpg, .gif through the program's writers; .raw); false on a failure.
bool SaveVersion(const QString& FileName, int Version);
