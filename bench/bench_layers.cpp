// The geometry of the whole image over its layers: a 6000 x 4000 image of
// five full-size layers, each with a grey mask, rotated by 30 degrees and
// scaled to half and one and a half times its size by the all-layer
// commands, the background transformed first as the image commands do.
#include "BenchFixture.h"

#include "document/Calque.h"
#include "raster/Rotation24.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int LayerCount = 5;

// The layers panel reduced to the image it shows.
class BenchNavigator : public LayerNavigator {
public:
  explicit BenchNavigator(TMyImageLayered& Image) : FImage(Image) {}
  TMyImageLayered& Image() const override { return FImage; }
  void Synchronize(bool) override {}
  void ResetLayerIndex() override {}
  void UpdateThumb(int) override {}
  int AddLayer(const TBitmap* B, const TBitmap* M, TPoint P, TOpacityRange O, const QString& C) override {
    return FImage.AddLayer(B, M, P, O, C);
  }
  int AddLayerData(std::unique_ptr<TLayerData> D, const QString& C) override {
    return FImage.AddLayerData(std::move(D), C);
  }
  int AddLayerAdjust(const TAdjustLayerInfos& A, TOpacityRange O, const QString& C) override {
    return FImage.AddLayerAdjust(A, O, C);
  }
  int AddLayerColor(TColor Color, TOpacityRange O, bool I, const QString& C) override {
    return FImage.AddLayerColor(Color, O, I, C);
  }
  void DeleteLayer(int Index) override { FImage.Layers().Delete(Index); }
  void DeleteBackground(bool) override { FImage.DeleteBackground(); }
  void InsertNewBackground(const TBitmap* B, const TBitmap* M, bool, const QString& C) override {
    FImage.InsertNewBackground(B, M, C);
  }
  void Move(int, int, bool) override {}

private:
  TMyImageLayered& FImage;
};

void BuildStack(TMyImageLayered& Image) {
  Image.AddBackground(&BenchImage(), nullptr, "#0");
  for (int L = 1; L < LayerCount; ++L)
    Image.AddLayer(&BenchImage(), &BenchMask(), {L * 10, L * 5}, 100, "#" + QString::number(L));
}

void SetBytes(benchmark::State& State) {
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * LayerCount *
                          static_cast<int64_t>(BenchImageBytes()));
}

// Times Change on a freshly built stack each iteration; building and
// freeing the stack are left out of the timing.
template <class F> void TimeOnFreshStack(benchmark::State& State, F Change) {
  std::unique_ptr<TMyImageLayered> Built;
  for (auto _ : State) {
    State.PauseTiming();
    Built.reset();
    Built = std::make_unique<TMyImageLayered>();
    BuildStack(*Built);
    BenchNavigator Nav(*Built);
    State.ResumeTiming();
    Change(*Built, Nav);
    benchmark::ClobberMemory();
  }
  SetBytes(State);
}

void BM_RotateAllLayers(benchmark::State& State) {
  TimeOnFreshStack(State, [](TMyImageLayered& Image, LayerNavigator& Nav) {
    RotateBitmapAngle(Image.Layers()[0].Bitmap(), 30, true, clWhite, amBilinear);
    RotateAllLayers(Nav, 30, BenchWidth, BenchHeight);
  });
}
BENCHMARK(BM_RotateAllLayers)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ScaleAllLayers(benchmark::State& State) {
  const double F = State.range(0) / 100.0;
  TimeOnFreshStack(State, [F](TMyImageLayered& Image, LayerNavigator& Nav) {
    Image.Layers()[0].Scale(static_cast<int>(BenchWidth * F), static_cast<int>(BenchHeight * F));
    ScaleAllLayers(Nav, F, F);
  });
}
BENCHMARK(BM_ScaleAllLayers)->Arg(50)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
