// The painting tools' engines on the 6000 x 4000 fixture: a linear gradient
// across and down the image, a radial gradient over it, and a stroke of 500
// brush dabs; each beside memcpy of the same bytes.
#include "BenchFixture.h"

#include "raster/Pixels.h"
#include "tools/FiltresOutils24.h"
#include "tools/Gradient.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// Direction 0: one colour per column; 1: per row. Half-transparent ends.
void BM_LinearGradient(benchmark::State& State) {
  const int Direction = static_cast<int>(State.range(0));
  RunOnBenchCopy(State, [Direction](TBitmap& B) {
    LinearGradient24(B, RGB(200, 40, 10), 90, RGB(10, 60, 220), 30, Direction, WholeBitmapRect);
  });
}
BENCHMARK(BM_LinearGradient)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A spot covering the whole image, with the S-shaped fall-off.
void BM_RadialGradient(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) {
    RadialGradient24(B, RGB(250, 200, 0), BenchWidth / 2, BenchHeight / 2, 3600, 20, 2.0, WholeBitmapRect);
  });
}
BENCHMARK(BM_RadialGradient)->Unit(benchmark::kMillisecond);

constexpr int StrokeDabs = 500;
constexpr int DabRadius = 25;

size_t StrokeBytes() { return size_t{StrokeDabs} * (2 * DabRadius + 1) * (2 * DabRadius + 1) * 3; }

// 500 dabs of a round stamp of radius 25 along a diagonal, as the stroke
// engine places them: the fixture copied once, the dabs compound.
void BM_BrushStroke(benchmark::State& State) {
  TBitmap Stamp;
  MakeBrushStamp24(Stamp, 3, DabRadius);
  TBitmap Work(BenchWidth, BenchHeight);
  std::memcpy(Work.ScanLine(0), BenchImage().ScanLine(0), BenchImageBytes());
  for (auto _ : State) {
    for (int I = 0; I < StrokeDabs; ++I) {
      const int X = 100 + I * 10, Y = 100 + I * 7;
      PaintBrushStamp24(Stamp, RGB(30, 90, 200), Work, nullptr, X - DabRadius, Y - DabRadius, 70, WholeBitmapRect,
                        nullptr);
    }
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State, StrokeBytes());
}
BENCHMARK(BM_BrushStroke)->Unit(benchmark::kMillisecond);

// memcpy of the bytes the 500 dabs cover, row by row as the dabs lie.
void BM_BrushStrokeMemcpy(benchmark::State& State) {
  TBitmap Work(BenchWidth, BenchHeight);
  std::memcpy(Work.ScanLine(0), BenchImage().ScanLine(0), BenchImageBytes());
  std::vector<uint8_t> Row(3 * (2 * DabRadius + 1));
  for (auto _ : State) {
    for (int I = 0; I < StrokeDabs; ++I) {
      const int X = 100 + I * 10, Y = 100 + I * 7;
      for (int DY = -DabRadius; DY <= DabRadius; ++DY)
        std::memcpy(Work.ScanLine(Y + DY) + 3 * (X - DabRadius), Row.data(), Row.size());
    }
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State, StrokeBytes());
}
BENCHMARK(BM_BrushStrokeMemcpy)->Unit(benchmark::kMillisecond);

} // namespace
