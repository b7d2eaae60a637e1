// The layered file: a 6000 x 4000 image of five layers (background, three
// masked bitmap layers, an adjustment layer) saved to memory and loaded back,
// zlib-compressed and raw, and into a file as the editor saves; the same
// stack of the photo-like image compressed.
#include "BenchFixture.h"

#include "document/LayerStream.h"
#include "document/MyImageLayered.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Content 0: the noisy fixture image; 1: the photo-like one.
TMyImageLayered& Stack(int Content) {
  static TMyImageLayered* Images[2] = {};
  if (!Images[Content]) {
    const TBitmap& Picture = Content ? BenchPhoto() : BenchImage();
    auto* I = new TMyImageLayered;
    I->AddBackground(&Picture, nullptr, "#0");
    for (int L = 1; L < 4; ++L) I->AddLayer(&Picture, &BenchMask(), {L * 10, L * 5}, 80, "#1");
    I->AddLayerAdjust(TAdjustLayerInfos{10, 0, 5, 0, -5, 20, 1.2}, 100, "#2");
    Images[Content] = I;
  }
  return *Images[Content];
}

void SaveLmi(benchmark::State& State, int Content) {
  LayerCompression = State.range(0) != 0;
  AutoCropOnSave = true;
  Stack(Content); // built outside the timing
  int64_t Size = 0;
  for (auto _ : State) {
    TMemoryStream S;
    Stack(Content).SaveToStream(S);
    Size = S.Size();
    benchmark::DoNotOptimize(Size);
  }
  State.counters["file_mb"] = double(Size) / 1e6;
  LayerCompression = true;
}

// The save a user makes: through the safe writer into a file (a temporary
// one, then renamed), as the editor saves.
void SaveLmiFile(benchmark::State& State, int Content) {
  AutoCropOnSave = true;
  Stack(Content);
  const QTemporaryDir Folder;
  const QString Name = Folder.filePath(QStringLiteral("bench.lmi"));
  for (auto _ : State) Stack(Content).SaveToFile(Name);
  State.counters["file_mb"] = double(QFileInfo(Name).size()) / 1e6;
}

// The stream is read again from its start: copying its bytes would time a
// fresh 250 MB buffer's first touch, which no load does.
void LoadLmi(benchmark::State& State, int Content) {
  LayerCompression = State.range(0) != 0;
  TMemoryStream Saved;
  Stack(Content).SaveToStream(Saved);
  LayerCompression = true;
  for (auto _ : State) {
    Saved.Seek(0);
    TMyImageLayered Image;
    Image.LoadFromStream(Saved);
    benchmark::DoNotOptimize(Image.Layers().Count());
  }
  State.counters["file_mb"] = double(Saved.Size()) / 1e6;
}

// The load a user makes: from the file (in the page cache after the first
// run).
void LoadLmiFile(benchmark::State& State, int Content) {
  AutoCropOnSave = true;
  const QTemporaryDir Folder;
  const QString Name = Folder.filePath(QStringLiteral("bench.lmi"));
  Stack(Content).SaveToFile(Name);
  for (auto _ : State) {
    TMyImageLayered Image;
    Image.LoadFromFile(Name);
    benchmark::DoNotOptimize(Image.Layers().Count());
  }
}

void BM_SaveLmi(benchmark::State& State) { SaveLmi(State, 0); }
void BM_SaveLmiFile(benchmark::State& State) { SaveLmiFile(State, 0); }
void BM_LoadLmi(benchmark::State& State) { LoadLmi(State, 0); }
void BM_LoadLmiFile(benchmark::State& State) { LoadLmiFile(State, 0); }
void BM_SaveLmiPhoto(benchmark::State& State) { SaveLmi(State, 1); }
void BM_LoadLmiPhoto(benchmark::State& State) { LoadLmi(State, 1); }

} // namespace

BENCHMARK(BM_SaveLmi)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SaveLmiFile)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadLmi)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadLmiFile)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SaveLmiPhoto)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadLmiPhoto)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
