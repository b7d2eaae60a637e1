// Compositing a layered image: ten 6000 x 4000 layers, each with a grey mask,
// in mixed blend modes and opacities, merged into the image's composite; then
// the same stack with a drop shadow under one layer.
#include "BenchFixture.h"

#include "document/MyImageLayered.h"
#include "raster/Bitmap24.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int LayerCount = 10;
// Normal, Multiply, Screen, Overlay, Difference, Maximum, Minimum, Grain
// merge, Normal, Hard light.
constexpr int Modes[LayerCount] = {0, 6, 4, 16, 5, 3, 2, 20, 0, 17};

// The fixture image or its negative, and the fixture mask or its negative,
// so that neighbouring layers differ.
void Variant(const TBitmap& Src, TBitmap& Dst, bool Negative) {
  Dst.Assign(Src);
  if (!Negative) return;
  for (int Y = 0; Y < Dst.Height(); ++Y) {
    TRGB* Row = RowOf(Dst, Y);
    for (int X = 0; X < Dst.Width(); ++X) Row[X] = InvertTRGB(Row[X]);
  }
}

TMyImageLayered& Stack() {
  static TMyImageLayered* Image = [] {
    auto* I = new TMyImageLayered;
    TBitmap Bmp, Mask;
    for (int L = 0; L < LayerCount; ++L) {
      Variant(BenchImage(), Bmp, L % 2 == 1);
      Variant(BenchMask(), Mask, L % 3 == 1);
      if (L == 0)
        I->AddBackground(&Bmp, &Mask, "#0");
      else
        I->AddLayer(&Bmp, &Mask, {0, 0}, static_cast<TOpacityRange>(100 - 7 * L), "#1");
      I->Layers()[L].BlendMode = Modes[L];
    }
    return I;
  }();
  return *Image;
}

void SetBytes(benchmark::State& State) {
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * LayerCount *
                          static_cast<int64_t>(BenchImageBytes()));
}

void BM_MergeVisibleLayers(benchmark::State& State) {
  TMyImageLayered& Image = Stack();
  TLayerItem& Shadowed = Image.Layers()[5];
  Shadowed.ShadowInfos.DrawShadow = State.range(0) != 0;
  for (auto _ : State) {
    Image.MergeLayersForPreview(false);
    benchmark::ClobberMemory();
  }
  Shadowed.ShadowInfos.DrawShadow = false;
  SetBytes(State);
}
// Argument: a drop shadow (blur 7) under layer 5.
BENCHMARK(BM_MergeVisibleLayers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MergeLayersInRGBA(benchmark::State& State) {
  TMyImageLayered& Image = Stack();
  TBitmap Dest;
  for (auto _ : State) {
    Image.MergeLayersInRGBA(Dest);
    benchmark::ClobberMemory();
  }
  SetBytes(State);
}
BENCHMARK(BM_MergeLayersInRGBA)->Unit(benchmark::kMillisecond);

} // namespace
