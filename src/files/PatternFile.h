// Pattern files: any image the reader chain can read, split into a 24-bit
// image and a grey transparency mask (from its alpha channel or its
// transparent colour; none for an opaque image). The main window's
// TSelMaskHost::LoadPattern calls it. Depends on the load dispatch
// (BmpOE2.h) and the raster core's transparency split.
#pragma once

#include <QString>

class TBitmap;

// Loads FileName (an empty name shows the open dialog in PatternDir) into Bmp
// and Mask (left empty for an opaque image); on failure both keep what they
// had and the loader has reported the error.
bool LoadPatternFile(const QString& FileName, TBitmap& Bmp, TBitmap& Mask, const QString& PatternDir);
