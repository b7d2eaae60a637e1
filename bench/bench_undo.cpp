// Undo and redo of a change to a whole 6000 x 4000 layer (bitmap and mask):
// the record exchanges its snapshot with the live pixels, so each step should
// cost about one copy of the layer, shown beside a plain memcpy of the same
// bytes.
#include "BenchFixture.h"

#include "document/Undo.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Bitmap plus mask bytes, as the record saves them.
int64_t LayerBytes() { return int64_t(BenchWidth) * BenchHeight * 4; }

void BM_LayerMemcpy(benchmark::State& State) {
  const TBitmap& Bmp = BenchImage();
  const TBitmap& Mask = BenchMask();
  const size_t Row = size_t(BenchWidth) * 3;
  std::vector<uint8_t> Copy(static_cast<size_t>(LayerBytes()));
  for (auto _ : State) {
    uint8_t* D = Copy.data();
    for (int Y = 0; Y < BenchHeight; ++Y, D += Row) std::memcpy(D, Bmp.ScanLine(Y), Row);
    // The mask snapshot keeps one byte per pixel.
    for (int Y = 0; Y < BenchHeight; ++Y, D += BenchWidth) std::memcpy(D, Mask.ScanLine(Y), BenchWidth);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * LayerBytes());
}

// Each iteration one undo or one redo of the same record, in turn; the
// argument 1 saves the mask with the bitmap, 0 the bitmap alone.
void BM_UndoRedoWholeLayer(benchmark::State& State) {
  const bool WithMask = State.range(0) != 0;
  TBitmap Bmp, Mask;
  Bmp.Assign(BenchImage());
  Mask.Assign(BenchMask());
  TUndoList List(2);
  List.Add(std::make_unique<TUndoBmpItem>(&Bmp, WithMask ? &Mask : nullptr));
  // The change: the layer's pixels replaced.
  for (int Y = 0; Y < BenchHeight; ++Y) {
    std::memset(Bmp.ScanLine(Y), Y & 255, size_t(BenchWidth) * 3);
    std::memset(Mask.ScanLine(Y), 255 - (Y & 255), size_t(BenchWidth) * 3);
  }
  for (auto _ : State) {
    if (List.ItemIndex() == 0)
      List.Undo();
    else
      List.Redo();
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * (WithMask ? LayerBytes() : LayerBytes() / 4 * 3));
}

} // namespace

BENCHMARK(BM_LayerMemcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoWholeLayer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
