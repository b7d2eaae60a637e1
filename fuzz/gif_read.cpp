// Fuzz target of the GIF reader: the input is a whole .gif file, read, its
// comment taken and its first and last frames turned into bitmaps with the
// transparent-key fix, as the GIF reader of the load dispatch does.
#include "files/ColorDepth.h"
#include "files/GifImage.h"
#include "files/ReadLimits.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  Buffer.open(QIODevice::ReadOnly);
  TGIFImage Gif;
  try {
    Gif.LoadFromDevice(Buffer, "fuzz.gif");
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  GetGifComment(Gif);
  TBitmap Bitmap;
  for (int Index : {0, int(Gif.Frames.size()) - 1}) {
    GifFrameToBitmap(Gif, Bitmap, Index, true);
    if (int64_t(Bitmap.Width()) * Bitmap.Height() > MaxReadPixels) std::abort();
  }
  return 0;
}
