// BMP files as the platform's bitmap class reads and writes them: 1, 4, 8,
// 16, 24 and 32 bits per pixel, RLE4 and RLE8, bit fields, OS/2 headers,
// top-down rows, and the resolution fields of the header. Depends on
// platform (bitmap, safe file) and ReadLimits; used by the load and save
// dispatch and the layer export.
//
// Reading: the header is checked here (signature, header kind, size, depth,
// compression, offsets and the bytes the pixels need) before anything is
// allocated. Qt's BMP decoder reads the uncompressed 1-, 4-, 8- and 24-bit
// files (all header kinds). Run-length encoded and bit-field files are read
// here: Qt leaves the pixels that run-length data skips uninitialised and
// reads a full 5-bit channel as 248, and it drops the fourth byte of a plain
// 32-bit file. Palette files stay palette bitmaps of their depth (1, 4 or 8
// bits; pixels that run-length data skips take index 0); 16- and 24-bit
// files give 24 bits (32 with an alpha mask), 32-bit files 32 bits with the
// fourth byte, or the alpha mask's channel, as alpha.
//
// Writing is this unit's own: a 14-byte file header, a 40-byte information
// header, the palette and the rows bottom-up, in the bitmap's own depth.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

class QIODevice;

// Throws EInvalidGraphic naming the file on a malformed, truncated or
// oversized file.
void LoadBitmapFromBmpFile(const QString& FileName, TBitmap& Bitmap);
void LoadBitmapFromBmpDevice(QIODevice& Device, const QString& Name, TBitmap& Bitmap);

// Writes through a safe file; the resolution fields hold trunc(Dpi x 100 /
// 2.54) pixels per metre, 0 when Dpi is not above 0. Throws EInvalidGraphic
// for an empty bitmap, ESafeFileError on an I/O failure.
void SaveBitmapToBmpFile(const QString& FileName, const TBitmap& Bitmap, double Dpi = 0);

// The horizontal resolution field (32 bits at offset 38) in dots per inch:
// N / 100 x 2.54; 0 for a missing file, a file that is not "BM" with an
// information header of at least 40 bytes, or a field not above 0. A file
// that exists but cannot be opened throws EInvalidGraphic.
double GetBmpDpi(const QString& FileName);

// Writes N = trunc(Dpi x 100 / 2.54) into both resolution fields (offsets 38
// and 42, 32 bits) through a safe rewrite of the file. False, with the file
// unchanged, for a missing file, one that is not "BM" with an information
// header of at least 40 bytes, or an I/O failure.
bool SetBmpDpi(const QString& FileName, double Dpi);
