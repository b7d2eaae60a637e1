// Helpers of the image-file tests: a temporary folder, test pictures, and
// the decoders the written files are checked against (Qt's own readers and
// ImageMagick when it is installed).
#pragma once

#include "platform/Bitmap.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

// Bitmaps cannot be copied or moved: helpers hand them out owned.
using PBitmap = std::unique_ptr<TBitmap>;

// A folder removed at the end of the test.
class TTestFolder {
public:
  QString Path(const QString& Name) const { return FDir.filePath(Name); }
  // The names of the files in the folder, hidden ones included.
  QStringList Files() const;

private:
  QTemporaryDir FDir;
};

// A smooth 24-bit test picture: gradients with a soft pattern, deterministic.
PBitmap SmoothImage(int Width, int Height);
// A 32-bit copy of a 24-bit bitmap with a deterministic alpha ramp.
PBitmap WithAlphaRamp(const TBitmap& Bitmap);
// A 24-bit (Alpha: 32-bit, straight) copy of any bitmap or image.
PBitmap To24(const TBitmap& Bitmap);
PBitmap FromQImage(const QImage& Image, bool Alpha);

// The file decoded by Qt's reader; an empty bitmap when it fails.
PBitmap QtDecode(const QString& FileName, bool Alpha);
// ImageMagick's decode of one frame; an empty bitmap when it fails.
bool HasImageMagick();
PBitmap MagickDecode(const QString& FileName, bool Alpha, int Frame = 0);
// What `identify` prints with the given format, e.g. "%w %h"; one line per frame.
QString Identify(const QString& FileName, const QString& Format);

std::vector<uint8_t> ReadBytes(const QString& FileName);
void WriteBytes(const QString& FileName, const std::vector<uint8_t>& Bytes);

// A JPEG written straight through libjpeg, for files our writer does not
// make (greyscale, CMYK, chosen scans): Row(Y) gives each row's samples,
// Setup adjusts the compressor after its defaults.
void WriteLibjpegFile(const QString& Name, int W, int H, int Components, J_COLOR_SPACE Space,
                      const std::function<const uint8_t*(int Y)>& Row,
                      const std::function<void(jpeg_compress_struct&)>& Setup);

// The path of a file of a fuzz target's corpus.
QString FuzzCorpusFile(const QString& Target, const QString& Name);

// A small hostile file of a fuzz target's corpus (fuzz/corpus/<Target>/).
struct THostileFile {
  const char* Target; // the fuzz target whose corpus holds it
  const char* Name;   // what it breaks
  bool Loads = false; // read, but within the limits
};

// Reads each file through Read in a child process: it must be refused with
// the reader's error naming the file (or load, when the row says so), within
// the CPU budget of 100 ms on the release build and 64 MB of memory.
void ExpectHostileFilesRefusedCheaply(const std::vector<THostileFile>& Files,
                                      const std::function<void(const QString& FileName)>& Read);
