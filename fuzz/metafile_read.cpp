// Fuzz target of the metafile reader: the input is a whole .emf or .wmf file,
// loaded (every record checked) and played onto a bitmap of its own size, as
// the picture reader does.
#include "files/ColorDepth.h"
#include "files/Metafile.h"
#include "files/ReadLimits.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  Buffer.open(QIODevice::ReadOnly);
  TMetafile Metafile;
  try {
    Metafile.LoadFromDevice(Buffer, "fuzz.emf");
  } catch (const EInvalidGraphic&) {
    if (Metafile.Width() != 0) std::abort();
    return 0;
  }
  if (int64_t(Metafile.Width()) * Metafile.Height() > MaxReadPixels) std::abort();
  TBitmap Bitmap;
  DrawGraphicToBitmap(Metafile, Bitmap);
  if (Bitmap.Width() != Metafile.Width() || Bitmap.Height() != Metafile.Height()) std::abort();
  return 0;
}
