// The pattern, distortion and composite filters over the whole 6000 x 4000
// fixture, beside the nearest ImageMagick operations that
// scripts/bench-imagemagick times: swirl (twirl), wave (waves), implode
// (lens), spread (diffuse), unsharp, emboss (relief), edge (edge mask), and
// scale down and up (mosaic).
//
// The mappings read the fixture and write a target made once; the in-place
// filters run again and again on one work copy, since their cost does not
// depend on the pixels they meet.
#include "BenchFixture.h"

#include "filters/Distortions24.h"
#include "filters/FiltresComposes.h"
#include "filters/Filtres24.h"
#include "filters/Patterns24.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace {

void Run(benchmark::State& State, const std::function<void(const TBitmap& Src, TBitmap& Work)>& Filter) {
  TBitmap Work;
  Work.Assign(BenchImage());
  for (auto _ : State) {
    Filter(BenchImage(), Work);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}

// ---- Distortions ----

void BM_Twirl(benchmark::State& State) {
  // Angle 8: half a turn at the centre, as a swirl of 180 degrees.
  Run(State, [](const TBitmap& S, TBitmap& D) { Twirl24(S, D, 8, clNone, WholeBitmapRect, amBilinear, false); });
}
BENCHMARK(BM_Twirl)->Unit(benchmark::kMillisecond);

void BM_Waves(benchmark::State& State) {
  Run(State, [](const TBitmap& S, TBitmap& D) { WavesFromSource(S, D, 20, 10, true, WholeBitmapRect); });
}
BENCHMARK(BM_Waves)->Unit(benchmark::kMillisecond);

void BM_Lens(benchmark::State& State) {
  Run(State, [](const TBitmap& S, TBitmap& D) { Lens24(S, D, 0.5, clNone, WholeBitmapRect, amBilinear); });
}
BENCHMARK(BM_Lens)->Unit(benchmark::kMillisecond);

void BM_Fisheye(benchmark::State& State) {
  Run(State, [](const TBitmap& S, TBitmap& D) { FisheyeBilinear24(S, D, 30, 30); });
}
BENCHMARK(BM_Fisheye)->Unit(benchmark::kMillisecond);

void BM_Diffuse(benchmark::State& State) {
  Run(State, [](const TBitmap&, TBitmap& W) { Diffuse24(W, 3, 0, WholeBitmapRect); });
}
BENCHMARK(BM_Diffuse)->Unit(benchmark::kMillisecond);

// ---- Composites ----

void BM_UnsharpMask(benchmark::State& State) {
  Run(State, [](const TBitmap&, TBitmap& W) { UnsharpMask24(W, 2, 100, 0, false, WholeBitmapRect, false); });
}
BENCHMARK(BM_UnsharpMask)->Unit(benchmark::kMillisecond);

void BM_Relief(benchmark::State& State) {
  Run(State, [](const TBitmap&, TBitmap& W) { Relief24(W, 0, true, 100, WholeBitmapRect); });
}
BENCHMARK(BM_Relief)->Unit(benchmark::kMillisecond);

void BM_EdgeMask(benchmark::State& State) {
  Run(State, [](const TBitmap& S, TBitmap& D) { EdgeMask24(S, D, 7, false, WholeBitmapRect); });
}
BENCHMARK(BM_EdgeMask)->Unit(benchmark::kMillisecond);

// ---- Patterns ----

void BM_Mosaic(benchmark::State& State) {
  Run(State, [](const TBitmap&, TBitmap& W) { Mosaic24(W, 8, WholeBitmapRect); });
}
BENCHMARK(BM_Mosaic)->Unit(benchmark::kMillisecond);

} // namespace
