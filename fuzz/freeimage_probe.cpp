// Fuzz target of the header checks made before a file goes to FreeImage: the
// first byte chooses the format, the rest is the file.
#include "files/FreeImageProbe.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdlib>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // GIF, SGI, DDS, J2K, JP2, WBMP, IFF, MNG, XBM, PICT, PSD, Sun raster,
  // OpenEXR, ICO, BMP, PNG, Targa, JPEG.
  static const int Formats[] = {25, 28, 24, 30, 31, 19, 5, 6, 22, 33, 20, 16, 29, 1, 0, 13, 17, 2};
  if (Size < 1) return 0;
  QByteArray File(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));
  QBuffer Buffer(&File);
  Buffer.open(QIODevice::ReadOnly);
  const TFreeHeaderProbe Probe = ProbeFreeImageHeader(Formats[Data[0] % std::size(Formats)], Buffer);
  if (!Probe.HasSize && (Probe.Width != 0 || Probe.Height != 0)) std::abort();
  return 0;
}
