// Layer merges over the whole 6000 x 4000 fixture in the common modes, with
// and without a grey mask, beside memcpy of the same bytes.
#include "BenchFixture.h"

#include "raster/Bitmap24.h"
#include "raster/BlendModes.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// A background that differs from the layer: the fixture turned into its
// negative.
const TBitmap& Background() {
  static const TBitmap* B = [] {
    auto* Bmp = new TBitmap(BenchWidth, BenchHeight);
    CopyBitmap24Origin(BenchImage(), *Bmp);
    for (int Y = 0; Y < BenchHeight; ++Y) {
      TRGB* Row = RowOf(*Bmp, Y);
      for (int X = 0; X < BenchWidth; ++X) Row[X] = InvertTRGB(Row[X]);
    }
    return Bmp;
  }();
  return *B;
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// Arguments: blend mode, mask (0 or 1). Each iteration merges onto a fresh
// copy of the background, restored outside the timing.
void BM_BlendRect24(benchmark::State& State) {
  const int Mode = static_cast<int>(State.range(0));
  const TBitmap* Mask = State.range(1) ? &BenchMask() : nullptr;
  TBitmap Dst(BenchWidth, BenchHeight);
  for (auto _ : State) {
    State.PauseTiming();
    std::memcpy(Dst.ScanLine(0), Background().ScanLine(0), BenchImageBytes());
    State.ResumeTiming();
    BlendRect24(BenchImage(), WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, 100, Mask, Mode);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}
// 0 Normal, 6 Multiply, 4 Screen, 16 Overlay.
BENCHMARK(BM_BlendRect24)
    ->ArgNames({"mode", "mask"})
    ->ArgsProduct({{0, 6, 4, 16}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace
