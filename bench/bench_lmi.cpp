// The layered file: a 6000 x 4000 image of five layers (background, three
// masked bitmap layers, an adjustment layer) saved to memory and loaded back,
// zlib-compressed and raw.
#include "BenchFixture.h"

#include "document/LayerStream.h"
#include "document/MyImageLayered.h"

#include <benchmark/benchmark.h>

namespace {

TMyImageLayered& Stack() {
  static TMyImageLayered* Image = [] {
    auto* I = new TMyImageLayered;
    I->AddBackground(&BenchImage(), nullptr, "#0");
    for (int L = 1; L < 4; ++L) I->AddLayer(&BenchImage(), &BenchMask(), {L * 10, L * 5}, 80, "#1");
    I->AddLayerAdjust(TAdjustLayerInfos{10, 0, 5, 0, -5, 20, 1.2}, 100, "#2");
    return I;
  }();
  return *Image;
}

void BM_SaveLmi(benchmark::State& State) {
  LayerCompression = State.range(0) != 0;
  AutoCropOnSave = true;
  for (auto _ : State) {
    TMemoryStream S;
    Stack().SaveToStream(S);
    benchmark::DoNotOptimize(S.Size());
  }
  LayerCompression = true;
}

void BM_LoadLmi(benchmark::State& State) {
  LayerCompression = State.range(0) != 0;
  TMemoryStream Saved;
  Stack().SaveToStream(Saved);
  LayerCompression = true;
  for (auto _ : State) {
    TMemoryStream S(Saved.Data());
    TMyImageLayered Image;
    Image.LoadFromStream(S);
    benchmark::DoNotOptimize(Image.Layers().Count());
  }
  State.counters["file_mb"] = double(Saved.Size()) / 1e6;
}

} // namespace

BENCHMARK(BM_SaveLmi)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadLmi)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);
