// The hot filters over the whole 6000 x 4000 fixture: the Gaussian blur at
// three radii, the 3 x 3 sharpen convolution, the 5 x 5 median, the table
// tone curves, greyscale and hue shift, beside memcpy of the same bytes.
// scripts/bench-imagemagick times the same operations with ImageMagick.
#include "BenchFixture.h"

#include "filters/Blur24.h"
#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"

#include <benchmark/benchmark.h>

namespace {

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_GaussianBlur(benchmark::State& State) {
  const int Radius = static_cast<int>(State.range(0));
  RunOnBenchCopy(State, [Radius](TBitmap& B) { GaussianBlurRadius(B, Radius, WholeBitmapRect); });
}
BENCHMARK(BM_GaussianBlur)->Arg(2)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_BoxBlur(benchmark::State& State) {
  const int Radius = static_cast<int>(State.range(0));
  RunOnBenchCopy(State, [Radius](TBitmap& B) { BoxBlur(B, Radius, Radius, WholeBitmapRect); });
}
BENCHMARK(BM_BoxBlur)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_Sharpen3x3(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { ConvolveMatrix3x3(B, MatSharpen, 100, WholeBitmapRect); });
}
BENCHMARK(BM_Sharpen3x3)->Unit(benchmark::kMillisecond);

void BM_Median5x5(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { Median24(B, 2, WholeBitmapRect); });
}
BENCHMARK(BM_Median5x5)->Unit(benchmark::kMillisecond);

void BM_Brightness(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { Brightness24(B, 30, WholeBitmapRect); });
}
BENCHMARK(BM_Brightness)->Unit(benchmark::kMillisecond);

void BM_Contrast(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { Contrast24(B, 30, WholeBitmapRect); });
}
BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond);

// Different tables per channel.
void BM_LevelsRGB(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) {
    LevelsRGB24(B, 1.2, 10, 240, 0, 255, 0.9, 5, 250, 0, 255, 1.0, 20, 230, 10, 245, WholeBitmapRect);
  });
}
BENCHMARK(BM_LevelsRGB)->Unit(benchmark::kMillisecond);

void BM_Grayscale(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { Grayscale24(B, WholeBitmapRect); });
}
BENCHMARK(BM_Grayscale)->Unit(benchmark::kMillisecond);

void BM_HueShift(benchmark::State& State) {
  RunOnBenchCopy(State, [](TBitmap& B) { HueShift24(B, 40, WholeBitmapRect); });
}
BENCHMARK(BM_HueShift)->Unit(benchmark::kMillisecond);

} // namespace
