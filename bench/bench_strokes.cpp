// The stroke engine and the magic wand on the 6000 x 4000 fixture: a brush
// stroke of 1000 mouse points at radius 50 walked pixel by pixel with the
// brush's spacing (and without spacing), and a wand click whose region is
// the whole 24-megapixel image.
#include "BenchFixture.h"

#include "raster/Fill.h"
#include "tools/FiltresOutils24.h"
#include "tools/StrokeEngine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

namespace {

constexpr int StrokePoints = 1000;
constexpr int StrokeRadius = 50;

// The mouse points of a wavy stroke across the image, 5 pixels apart on
// average, as a quick drag gives them.
TPoint StrokePoint(int I) {
  const double T = double(I) / StrokePoints;
  return {200 + int(T * 5000), 2000 + int(1200 * std::sin(T * 12.0))};
}

// Arg: the spacing slider's position (1 the default, 0 a stamp per pixel).
void BM_BrushStroke1000Points(benchmark::State& State) {
  TBitmap Work(BenchWidth, BenchHeight);
  std::memcpy(Work.ScanLine(0), BenchImage().ScanLine(0), BenchImageBytes());
  TStrokeState S;
  MakeBrushStamp24(S.Stamp, 4, StrokeRadius);
  S.RadiusX = S.RadiusY = StrokeRadius;
  S.Target = &Work;
  S.Clip = {0, 0, BenchWidth, BenchHeight};
  S.Color = 0x2040C0;
  S.Pressure = 50;
  S.Step = BrushStep(StrokeRadius, int(State.range(0)));
  int64_t Stamps = 0;
  for (auto _ : State) {
    S.Start(StrokePoint(0));
    ApplyBrushStamp(S, S.LastPoint.X, S.LastPoint.Y);
    for (int I = 1; I < StrokePoints; ++I) {
      const TPoint P = StrokePoint(I);
      WalkSegment(S.LastPoint, P, [&S](int X, int Y) { BrushLineStep(S, X, Y); });
      S.AddPoint(P);
    }
    Stamps += S.StampCount + 1;
    benchmark::DoNotOptimize(Work.ScanLine(2000));
  }
  State.counters["stamps"] = benchmark::Counter(double(Stamps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BrushStroke1000Points)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The wand's area mode: a flood of the whole image of one colour into a
// white grey mask.
void BM_WandWholeImage(benchmark::State& State) {
  TBitmap Flat(BenchWidth, BenchHeight, pf24bit, 0x406080);
  TBitmap Mask(BenchWidth, BenchHeight, pf24bit, clWhite);
  for (auto _ : State) {
    const int Result = FloodFillEx(Flat, nullptr, 3000, 2000, clNone, 0, 100, {0, 0, BenchWidth, BenchHeight}, &Mask);
    benchmark::DoNotOptimize(Result);
  }
  SetBenchBytes(State);
}
BENCHMARK(BM_WandWholeImage)->Unit(benchmark::kMillisecond);

} // namespace
