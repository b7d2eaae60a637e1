// The polygon rasteriser and the flood fill over the whole 6000 x 4000
// fixture: an anti-aliased polygon of 1000 random vertices under both fill
// rules, and flood fills of the whole picture, of a corridor snaking through
// every row and of a region of colours within a tolerance.
#include "BenchFixture.h"

#include "raster/Bitmap24.h"
#include "raster/Fill.h"
#include "raster/Polygon24.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

TFloatPointArray RandomPolygon(int Count) {
  std::mt19937 Random(1);
  std::uniform_real_distribution<double> X(0, BenchWidth), Y(0, BenchHeight);
  TFloatPointArray Points;
  for (int I = 0; I < Count; ++I) Points.push_back({X(Random), Y(Random)});
  return Points;
}

void BM_FillPolygon24(benchmark::State& State) {
  const TFloatPointArray Points = RandomPolygon(1000);
  const bool Winding = State.range(0) != 0;
  TBitmap Dst(BenchWidth, BenchHeight);
  CopyBitmap24Origin(BenchImage(), Dst);
  for (auto _ : State) {
    FillPolygon24(Dst, Points, clNavy, Winding, true, 60, WholeBitmapRect);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillPolygon24)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FillPolygon24Aliased(benchmark::State& State) {
  const TFloatPointArray Points = RandomPolygon(1000);
  TBitmap Dst(BenchWidth, BenchHeight);
  CopyBitmap24Origin(BenchImage(), Dst);
  for (auto _ : State) {
    FillPolygon24(Dst, Points, clNavy, false, false, 100, WholeBitmapRect);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillPolygon24Aliased)->Unit(benchmark::kMillisecond);

// The whole picture is one colour: one region of 24 million pixels. The
// colour alternates so that every iteration fills.
void BM_FloodFillWhole(benchmark::State& State) {
  TBitmap Dst(BenchWidth, BenchHeight, pf24bit, clWhite);
  bool Black = true;
  for (auto _ : State) {
    benchmark::DoNotOptimize(
        FloodFillEx(Dst, nullptr, 3000, 2000, Black ? clBlack : clWhite, 0, 100, WholeBitmapRect, nullptr));
    Black = !Black;
  }
}
BENCHMARK(BM_FloodFillWhole)->Unit(benchmark::kMillisecond);

// A one-pixel corridor through every row, recorded as a magic-wand mask.
void BM_FloodFillSnake(benchmark::State& State) {
  TBitmap Src(BenchWidth, BenchHeight), Out(BenchWidth, BenchHeight);
  for (int Y = 0; Y < BenchHeight; ++Y) {
    std::memset(Src.ScanLine(Y), Y % 2 == 0 ? 255 : 0, size_t(BenchWidth) * 3);
    if (Y % 2 != 0) std::memset(Src.ScanLine(Y) + 3 * ((Y / 2) % 2 == 0 ? BenchWidth - 1 : 0), 255, 3);
  }
  for (auto _ : State) benchmark::DoNotOptimize(FloodFillEx(Src, nullptr, 0, 0, clNone, 0, 100, WholeBitmapRect, &Out));
}
BENCHMARK(BM_FloodFillSnake)->Unit(benchmark::kMillisecond);

// The fixture's colour field within a tolerance, recorded as a mask: 40 keeps
// to one diagonal stripe (many short runs along a ragged border), 150 spans
// the stripes and most of the picture.
void BM_FloodFillTolerance(benchmark::State& State) {
  TBitmap Src, Out(BenchWidth, BenchHeight);
  Src.Assign(BenchImage());
  for (auto _ : State)
    benchmark::DoNotOptimize(FloodFillEx(Src, nullptr, BenchWidth / 2, BenchHeight / 2, clNone,
                                         static_cast<int>(State.range(0)), 100, WholeBitmapRect, &Out));
}
BENCHMARK(BM_FloodFillTolerance)->Arg(40)->Arg(150)->Unit(benchmark::kMillisecond);

} // namespace
