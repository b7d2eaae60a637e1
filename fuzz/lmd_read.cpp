// Fuzz target of the curve-deformation file reader: the input is a whole
// .lmd file, read onto thumbnails of a few sizes (one pixel included); a
// curve read is sampled over a work area and deforms a small bitmap, within
// it and growing it.
#include "filters/DeformCurve24.h"
#include "filters/StreamUtils.h"
#include "filters/ui/CurveFiles.h"
#include "filters/ui/CurveStroke.h"

#include <QBuffer>

#include <cstdlib>

namespace {

void Deform(const TDeformCurve& Curve, int W, int H) {
  const TSizedPathView View(W, H);
  TPathControl Path(&View);
  Path.SetJoinBorder(Curve.Horizontal ? 1 : 2);
  Path.ReplacePath(Curve.Vertices, Curve.BezierMode, false);
  TBitmap Layer(40, 30, pf24bit, clWhite);
  const TRect Work{3, 2, 37, 28};
  const TDDAPoints Samples = SampleDeformCurve(Layer, Work, Path, Curve.Horizontal);
  if (Samples.size() != size_t(Curve.Horizontal ? Work.Width() : Work.Height())) std::abort();
  const TDeformPoints Smoothed = SmoothDeformPoints(Samples, 3);
  TBitmap Dest;
  DeformByCurve(Layer, Dest, Curve.Horizontal, Smoothed, clNone, Work, amBicubic, false);
  DeformByCurveCopy(Layer, Curve.Horizontal, Smoothed, clRed, Work, amBilinear, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QByteArray Input(reinterpret_cast<const char*>(Data), qsizetype(Size));
  const std::pair<int, int> Sizes[] = {{200, 100}, {1, 1}, {777, 444}};
  for (const auto& [W, H] : Sizes) {
    QBuffer Buffer(&Input);
    Buffer.open(QIODevice::ReadOnly);
    try {
      Deform(ReadDeformFile(Buffer, W, H), W, H);
    } catch (const EStreamReadError&) {
    }
  }
  return 0;
}
