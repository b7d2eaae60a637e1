// Fractional sampling over the whole 6000 x 4000 fixture: every pixel of a
// destination of the same size reads the source at a slightly scaled and
// shifted point, through the loop-friendly reader of the mode and through the
// per-call reader. Reported as pixels per second.
#include "BenchFixture.h"

#include "raster/ScanMan.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double Scale = 0.9973;

template <bool PerCall> void BM_Sample(benchmark::State& State) {
  const TBitmap& Src = BenchImage();
  TBitmap Dst(BenchWidth, BenchHeight);
  TScanLinesManagerEx M(Src, WholeBitmapRect);
  M.SetPixelsInLimits(true);
  M.SetAntialiasMode(static_cast<TAntialiasMode>(State.range(0)));
  for (auto _ : State) {
    M.WithSampler([&](auto Reader) {
      for (int Y = 0; Y < BenchHeight; ++Y) {
        TRGB* Row = RowOf(Dst, Y);
        const double SY = Y * Scale + 0.21;
        for (int X = 0; X < BenchWidth; ++X) {
          const double SX = X * Scale + 0.37;
          if constexpr (PerCall)
            Row[X] = M.GetPixel_A(SX, SY);
          else
            Row[X] = Reader(SX, SY);
        }
      }
      return 0;
    });
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * BenchWidth * BenchHeight);
  State.SetLabel(State.range(0) == amBilinear ? "bilinear" : "bicubic");
}

BENCHMARK_TEMPLATE(BM_Sample, false)->Arg(amBilinear)->Arg(amBicubic)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Sample, true)->Arg(amBilinear)->Arg(amBicubic)->Unit(benchmark::kMillisecond);

} // namespace
