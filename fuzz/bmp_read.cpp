// Fuzz target of the BMP reader: the input is a whole .bmp file.
#include "files/BmpFile.h"
#include "files/ReadLimits.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  Buffer.open(QIODevice::ReadOnly);
  TBitmap Bitmap;
  try {
    LoadBitmapFromBmpDevice(Buffer, "fuzz.bmp", Bitmap);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (int64_t(Bitmap.Width()) * Bitmap.Height() > MaxReadPixels) std::abort();
  return 0;
}
