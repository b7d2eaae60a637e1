// Fuzz target of the JPEG reading path: the input is a whole .jpg file. The
// size and resolution probes read it, then the decoder at full size, so that
// the fuzzer sees the whole cost of what a file declares.
#include "files/MyJpegImage.h"
#include "files/ReadLimits.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  Buffer.open(QIODevice::ReadOnly);
  int Width = 0, Height = 0;
  GetJpegSize(Buffer, Width, Height);
  if (Width < 0 || Height < 0) std::abort();
  try {
    Buffer.seek(0);
    GetJpegDpi(Buffer, "fuzz.jpg");
  } catch (const EInvalidGraphic&) {
  }
  TJPEGImage Jpeg;
  try {
    Jpeg.LoadFromMemory(Data, Size, "fuzz.jpg");
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (int64_t(Jpeg.Bitmap().Width()) * Jpeg.Bitmap().Height() > MaxReadPixels) std::abort();
  return 0;
}
