// Undo and redo of a change to a whole 6000 x 4000 layer (bitmap and mask):
// the record exchanges its snapshot with the live pixels, so each step should
// cost about one copy of the layer, shown beside a plain memcpy of the same
// bytes.
#include "BenchFixture.h"

#include "document/MyImageLayered.h"
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

// The layers panel the records reach the image through; nothing else of it
// is needed here.
class TBenchNavigator final : public LayerNavigator {
public:
  explicit TBenchNavigator(TMyImageLayered& Image) : FImage(Image) {}
  TMyImageLayered& Image() const override { return FImage; }
  void Synchronize(bool) override {}
  void ResetLayerIndex() override {}
  void UpdateThumb(int) override {}
  int AddLayer(const TBitmap*, const TBitmap*, TPoint, TOpacityRange, const QString&) override { return -1; }
  int AddLayerData(std::unique_ptr<TLayerData>, const QString&) override { return -1; }
  int AddLayerAdjust(const TAdjustLayerInfos&, TOpacityRange, const QString&) override { return -1; }
  int AddLayerColor(TColor, TOpacityRange, bool, const QString&) override { return -1; }
  void DeleteLayer(int) override {}
  void DeleteBackground(bool) override {}
  void InsertNewBackground(const TBitmap*, const TBitmap*, bool, const QString&) override {}
  void Move(int, int, bool) override {}

private:
  TMyImageLayered& FImage;
};

// The record the main window prepares for a filter of a whole layer's
// bitmap and mask: a region record of the layer, undone and redone in turn.
void BM_UndoRedoLayerRegion(benchmark::State& State) {
  TMyImageLayered Image;
  Image.AddBackground(&BenchImage(), &BenchMask(), QStringLiteral("#0"));
  TBenchNavigator Navigator(Image);
  TLayerItem& Layer = Image.Layers()[0];
  TUndoList List(2);
  auto Record = std::make_unique<TUndoLayerItem>(Layer, TRect{0, 0, BenchWidth, BenchHeight}, utAll);
  Record->SetNavigator(&Navigator);
  List.Add(std::move(Record));
  for (int Y = 0; Y < BenchHeight; ++Y) {
    std::memset(Layer.Bitmap().ScanLine(Y), Y & 255, size_t(BenchWidth) * 3);
    std::memset(Layer.Mask().ScanLine(Y), 255 - (Y & 255), size_t(BenchWidth) * 3);
  }
  for (auto _ : State) {
    if (List.ItemIndex() == 0)
      List.Undo();
    else
      List.Redo();
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * LayerBytes());
}

} // namespace

BENCHMARK(BM_LayerMemcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoWholeLayer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoLayerRegion)->Unit(benchmark::kMillisecond);
