// Fuzz target of the PNG reader: the input is a whole .png file, read and
// turned into a bitmap as the PNG picture does, metadata included.
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TPngImage Png;
  TBitmap Bitmap;
  try {
    Png.LoadFromMemory(Data, Size, "fuzz.png");
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  PngToBitmap(Png, Bitmap);
  GetPngDpi(Png);
  GetPngComment(Png);
  if (int64_t(Bitmap.Width()) * Bitmap.Height() > MaxReadPixels) std::abort();
  return 0;
}
