// Encoding and decoding the 6000 x 4000 fixture as JPEG (quality 90), PNG
// (the picture's default options) and BMP, through the same entry points as
// the readers and writers of the load and save dispatch. Files go to a
// temporary folder; encoding includes the safe write to disk.
#include "BenchFixture.h"

#include "files/BmpFile.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir Dir;
  return Dir;
}

QString FixtureFile(const char* Name) { return Folder().filePath(Name); }

void SetPixels(benchmark::State& State) {
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * BenchWidth * BenchHeight);
}

void SaveJpeg(const QString& Name) {
  TMyJpegImage Jpeg;
  Jpeg.Assign(BenchImage());
  Jpeg.CompressionQuality = 90;
  Jpeg.Dpi = 300;
  Jpeg.SaveToFileEx(Name);
}

void BM_JpegEncode(benchmark::State& State) {
  TMyJpegImage Jpeg;
  Jpeg.Assign(BenchImage());
  Jpeg.CompressionQuality = 90;
  for (auto _ : State) Jpeg.SaveToFileEx(FixtureFile("encode.jpg"));
  SetPixels(State);
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);

void BM_JpegDecode(benchmark::State& State) {
  SaveJpeg(FixtureFile("decode.jpg"));
  for (auto _ : State) {
    TMyJpegImage Jpeg;
    Jpeg.LoadFromFile(FixtureFile("decode.jpg"));
    benchmark::DoNotOptimize(Jpeg.Bitmap().ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

void BM_PngEncode(benchmark::State& State) {
  TMyPngImage Png;
  Png.Assign(BenchImage());
  for (auto _ : State) Png.SaveToFile(FixtureFile("encode.png"));
  SetPixels(State);
}
BENCHMARK(BM_PngEncode)->Unit(benchmark::kMillisecond);

void BM_PngDecode(benchmark::State& State) {
  {
    TMyPngImage Png;
    Png.Assign(BenchImage());
    Png.SaveToFile(FixtureFile("decode.png"));
  }
  for (auto _ : State) {
    TMyPngImage Png;
    Png.LoadFromFile(FixtureFile("decode.png"));
    benchmark::DoNotOptimize(Png.ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_PngDecode)->Unit(benchmark::kMillisecond);

void BM_BmpEncode(benchmark::State& State) {
  for (auto _ : State) SaveBitmapToBmpFile(FixtureFile("encode.bmp"), BenchImage(), 300);
  SetPixels(State);
}
BENCHMARK(BM_BmpEncode)->Unit(benchmark::kMillisecond);

void BM_BmpDecode(benchmark::State& State) {
  SaveBitmapToBmpFile(FixtureFile("decode.bmp"), BenchImage(), 300);
  for (auto _ : State) {
    TBitmap Bitmap;
    LoadBitmapFromBmpFile(FixtureFile("decode.bmp"), Bitmap);
    benchmark::DoNotOptimize(Bitmap.ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_BmpDecode)->Unit(benchmark::kMillisecond);

} // namespace
