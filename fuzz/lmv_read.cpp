// Fuzz target of the path file reader: the input is a whole .lmv file, read
// into a path as the main window does (fitted into an image's rectangle), and
// drawn as its thumbnail and at full size would be.
#include "document/LayerStream.h"
#include "files/OwnThumbnails.h"
#include "tools/LineBrush24.h"
#include "tools/PathControl.h"

#include <QBuffer>

#include <cstdlib>

namespace {

QByteArray Bytes(const uint8_t* Data, size_t Size) {
  return QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  ShowPathErrors = false;
  QByteArray Input = Bytes(Data, Size);
  QBuffer Buffer(&Input);
  Buffer.open(QIODevice::ReadOnly);
  TPathControl Path;
  const TRect Image{0, 0, 64, 48};
  if (Path.LoadFromStream(Buffer, Image)) {
    TBitmap Target(64, 48, pf24bit, clWhite);
    ResetLineStyle();
    Path.DrawPath(Target, 0, 0, clBlack, 3, 1, WholeBitmapRect);
    Path.DrawInBitmap(Target, 0, 0, clBlack, 2, clRed, true, 50, WholeBitmapRect);
    TPathPointsData Points;
    Path.CreateListOfPoints(Points);
    if (Points.Count != int(Points.Points.size())) std::abort();
  } else if (Path.PointsCount() != 0) {
    std::abort(); // a failed read leaves the path as it was: empty here
  }
  Buffer.seek(0);
  TLmvImage Thumb;
  Thumb.ThumbMode = true;
  try {
    Thumb.LoadFromStream(Buffer);
    if (Thumb.Width() > OutlineThumbSize || Thumb.Height() > OutlineThumbSize) std::abort();
  } catch (const EStreamError&) {
    if (!Thumb.Empty()) std::abort();
  }
  return 0;
}
