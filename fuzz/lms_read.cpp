// Fuzz target of the selection file reader: the input is a whole .lms file,
// read into a manager, whose outline is then drawn, hit-tested and, for a
// bitmap shape, flipped, as a loaded selection would be.
#include "document/LayerStream.h"
#include "document/ShapeManager.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  ShowLoadErrors = false;
  TMemoryStream Stream(Data, Size);
  TShapeManager Manager;
  TMyShape Shape = ssRect;
  TRect Bounds;
  if (!Manager.LoadFromStream(Stream, Shape, Bounds)) {
    if (Manager.PointsCount() != 0) std::abort();
    return 0;
  }
  if (Bounds.Left != 0 || Bounds.Top != 0 || Bounds.Right < 0 || Bounds.Bottom < 0) std::abort();
  TBitmap Target(64, 48, pf24bit, clWhite);
  const TRect R{0, 0, 64, 48};
  Manager.Draw(Target, R, Shape, stAnimate);
  Manager.Draw(Target, R, Shape, stXOrDot);
  Manager.PtInShape(R, {10, 10}, Shape);
  if (Shape == ssBitmap && int64_t(Bounds.Right) * Bounds.Bottom <= 1024 * 1024) Manager.Transform(2);
  return 0;
}
