// Copies and fills over the whole 6000 x 4000 fixture, beside memcpy of the
// same bytes: the physical limit the copies are measured against.
#include "BenchFixture.h"

#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"

#include <benchmark/benchmark.h>

namespace {

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_CopyRect24(benchmark::State& State) {
  const TBitmap& Src = BenchImage();
  TBitmap Dst(BenchWidth, BenchHeight);
  for (auto _ : State) {
    CopyRect24(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}
BENCHMARK(BM_CopyRect24)->Unit(benchmark::kMillisecond);

void BM_CopyRect24Mask(benchmark::State& State) {
  const TBitmap& Src = BenchImage();
  const TBitmap& Mask = BenchMask();
  TBitmap Dst(BenchWidth, BenchHeight, pf24bit, clGray);
  for (auto _ : State) {
    CopyRect24Mask(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, &Mask);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}
BENCHMARK(BM_CopyRect24Mask)->Unit(benchmark::kMillisecond);

void BM_FillColor24(benchmark::State& State) {
  TBitmap Dst(BenchWidth, BenchHeight);
  CopyBitmap24Origin(BenchImage(), Dst);
  const int Percent = static_cast<int>(State.range(0));
  for (auto _ : State) {
    FillColor24(Dst, clTeal, Percent, WholeBitmapRect);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}
BENCHMARK(BM_FillColor24)->Arg(100)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace
