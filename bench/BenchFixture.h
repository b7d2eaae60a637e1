// The shared benchmark fixture: a deterministic 6000 x 4000 image, generated
// once per process, a grey mask of the same size, and the loop and the
// memcpy baseline the families time against it.
#pragma once

#include "platform/Bitmap.h"

#include <benchmark/benchmark.h>

#include <functional>

constexpr int BenchWidth = 6000;
constexpr int BenchHeight = 4000;

// A smooth colour field with fine noise, so that nothing compresses to a
// trivial case. The same bytes every run.
const TBitmap& BenchImage();
// A photo-like image of the same size: smooth colour fields, a few soft-edged
// shapes and faint noise that varies from pixel to pixel only a little, as a
// camera gives. Compression of BenchImage is dominated by its full-strength
// per-pixel noise, which no real photo has; this one shows the usual case.
const TBitmap& BenchPhoto();
// A radial grey mask (0 at the centre, 255 at the corners).
const TBitmap& BenchMask();
// Bytes per row times rows of a 24-bit bitmap of the bench size.
size_t BenchImageBytes();

// Reports Bytes (the fixture's by default) as processed by each iteration.
void SetBenchBytes(benchmark::State& State, size_t Bytes = BenchImageBytes());
// Runs Work on a fresh copy of BenchImage each iteration (copied outside the
// timing) and reports the fixture's bytes.
void RunOnBenchCopy(benchmark::State& State, const std::function<void(TBitmap&)>& Work);
// memcpy of BenchImage's bytes into another bitmap: the limit a family is
// measured against. Each program that wants it registers it with
// BENCHMARK(BM_Memcpy).
void BM_Memcpy(benchmark::State& State);
