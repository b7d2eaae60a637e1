// Resizing, turning and feathering at the size of the fixture: the 6000 x 4000
// image resampled to half (3000 x 2000) and to double (12000 x 8000) with each
// of the seven kernels, turned by 30 degrees with expansion, and the stair-
// steps of a disc mask of that size feathered. Reported as destination pixels
// per second.
#include "BenchFixture.h"

#include "raster/GreyMasks.h"
#include "raster/Resampling.h"
#include "raster/Rotation24.h"

#include <benchmark/benchmark.h>

namespace {

// range(0): the kernel; range(1): 0 to half size, 1 to double size.
void BM_Resample(benchmark::State& State) {
  const TResampleFilter& F = ResampleFilters[State.range(0)];
  const bool Up = State.range(1) != 0;
  const TBitmap& Src = BenchImage(); // generated before the timing
  TBitmap Dst(Up ? 2 * BenchWidth : BenchWidth / 2, Up ? 2 * BenchHeight : BenchHeight / 2);
  for (auto _ : State) {
    Resample(F.Filter, F.Support, Src, Dst);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * Dst.Width() * Dst.Height());
  State.SetLabel(std::string(F.Name) + (Up ? " 12000x8000" : " 3000x2000"));
}
BENCHMARK(BM_Resample)
    ->ArgsProduct({benchmark::CreateDenseRange(0, ResampleFilterCount - 1, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_Rotate30(benchmark::State& State) {
  const auto Mode = static_cast<TAntialiasMode>(State.range(0));
  const TBitmap& Src = BenchImage();
  TBitmap Dst;
  for (auto _ : State) {
    RotateBitmapAngleTo(Src, Dst, 30, true, clWhite, Mode);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * Dst.Width() * Dst.Height());
  State.SetLabel(Mode == amBilinear ? "bilinear" : "bicubic");
}
BENCHMARK(BM_Rotate30)->Arg(amBilinear)->Arg(amBicubic)->Unit(benchmark::kMillisecond);

// The fixture's radial mask cut at 100: an opaque disc with stair-stepped edges.
const TBitmap& Disc() {
  static const TBitmap* D = [] {
    auto* M = new TBitmap;
    M->Assign(BenchMask());
    for (int Y = 0; Y < BenchHeight; ++Y) {
      TRGB* Row = RowOf(*M, Y);
      for (int X = 0; X < BenchWidth; ++X) {
        const uint8_t V = Row[X].Blue < 100 ? 0 : 255;
        Row[X] = {V, V, V};
      }
    }
    return M;
  }();
  return *D;
}

void BM_FeatherMask(benchmark::State& State) {
  const TBitmap& Source = Disc();
  TBitmap Mask;
  for (auto _ : State) {
    State.PauseTiming();
    Mask.Assign(Source);
    State.ResumeTiming();
    FeatherMask(Mask, WholeBitmapRect, static_cast<int>(State.range(0)));
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * BenchWidth * BenchHeight);
}
BENCHMARK(BM_FeatherMask)->Arg(16)->Arg(-1)->Unit(benchmark::kMillisecond);

} // namespace
