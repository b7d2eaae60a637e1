// Fuzz target of the icon reader: the input is a whole .ico file, read as the
// picture reader does (its first image into an icon, then a bitmap), and the
// icon written back at the depth it was read at.
#include "files/IconStream.h"
#include "files/ReadLimits.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  Buffer.open(QIODevice::ReadOnly);
  TIcon Icon;
  try {
    ReadIcon(Buffer, Icon, "fuzz.ico");
  } catch (const EInvalidGraphic&) {
    if (!Icon.Empty()) std::abort();
    return 0;
  }
  if (int64_t(Icon.Width()) * Icon.Height() > MaxReadPixels) std::abort();
  TBitmap Bitmap;
  const TIconFormat Format = IconToBitmap(Icon, Bitmap);
  if (Bitmap.Width() != Icon.Width() || Bitmap.Height() != Icon.Height()) std::abort();
  QBuffer Out;
  Out.open(QIODevice::WriteOnly);
  WriteIcon(Out, Icon, Format);
  return 0;
}
