// Encoding and decoding the 6000 x 4000 photo-like fixture as JPEG (quality
// 90, 4:2:0), PNG (the picture's default options) and BMP: through the
// picture classes, and through the load and save chain the open and save
// commands use (the bitmap the document keeps, from the file and back).
// Files go to a temporary folder; encoding includes the safe write to disk.
//
// The Yardstick family times the same work done by libvips's `vips` and
// ImageMagick's `convert` on one thread, when they are installed, for the
// comparison figures: the command's own start-up (the same command on a
// 16 x 16 image) is taken off each run. Neither installed: those lines say
// they were skipped.
#include "BenchFixture.h"

#include "files/BmpFile.h"
#include "files/BmpOE2.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir Dir;
  return Dir;
}

QString FixtureFile(const char* Name) { return Folder().filePath(Name); }

void SetPixels(benchmark::State& State) {
  State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * BenchWidth * BenchHeight);
}

// The photo saved once per process in each format, 300 dpi.
QString PhotoFile(const char* Name) {
  const QString File = FixtureFile(Name);
  if (!QFile::exists(File)) {
    if (File.endsWith(".jpg")) {
      TMyJpegImage Jpeg;
      Jpeg.CompressionQuality = 90;
      Jpeg.Dpi = 300;
      Jpeg.SaveBitmapEx(File, BenchPhoto());
    } else if (File.endsWith(".png")) {
      TMyPngImage Png;
      Png.Assign(BenchPhoto());
      Png.SaveToFile(File);
    } else {
      SaveBitmapToBmpFile(File, BenchPhoto(), 300);
    }
  }
  return File;
}

// ---- The picture classes ----

void BM_JpegEncode(benchmark::State& State) {
  TMyJpegImage Jpeg;
  Jpeg.Assign(BenchPhoto());
  Jpeg.CompressionQuality = 90;
  for (auto _ : State) Jpeg.SaveToFileEx(FixtureFile("encode.jpg"));
  SetPixels(State);
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);

void BM_JpegDecode(benchmark::State& State) {
  const QString File = PhotoFile("photo.jpg");
  for (auto _ : State) {
    TMyJpegImage Jpeg;
    Jpeg.LoadFromFile(File);
    benchmark::DoNotOptimize(Jpeg.Bitmap().ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

void BM_PngEncode(benchmark::State& State) {
  TMyPngImage Png;
  Png.Assign(BenchPhoto());
  for (auto _ : State) Png.SaveToFile(FixtureFile("encode.png"));
  SetPixels(State);
}
BENCHMARK(BM_PngEncode)->Unit(benchmark::kMillisecond);

void BM_PngDecode(benchmark::State& State) {
  const QString File = PhotoFile("photo.png");
  for (auto _ : State) {
    TMyPngImage Png;
    Png.LoadFromFile(File);
    benchmark::DoNotOptimize(Png.ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_PngDecode)->Unit(benchmark::kMillisecond);

void BM_BmpEncode(benchmark::State& State) {
  for (auto _ : State) SaveBitmapToBmpFile(FixtureFile("encode.bmp"), BenchPhoto(), 300);
  SetPixels(State);
}
BENCHMARK(BM_BmpEncode)->Unit(benchmark::kMillisecond);

void BM_BmpDecode(benchmark::State& State) {
  const QString File = PhotoFile("photo.bmp");
  for (auto _ : State) {
    TBitmap Bitmap;
    LoadBitmapFromBmpFile(File, Bitmap);
    benchmark::DoNotOptimize(Bitmap.ScanLine(0));
  }
  SetPixels(State);
}
BENCHMARK(BM_BmpDecode)->Unit(benchmark::kMillisecond);

// ---- The load and save chain ----
// range(0): 0 JPEG, 1 PNG, 2 BMP.

const char* const ChainFiles[] = {"photo.jpg", "photo.png", "photo.bmp"};
const char* const ChainTargets[] = {"chain.jpg", "chain.png", "chain.bmp"};

// A memory figure of this process from /proc/self/status, in MB.
double StatusMB(const char* Key) {
  QFile Status("/proc/self/status");
  if (!Status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& Line : Status.readAll().split('\n'))
    if (Line.startsWith(Key)) return Line.mid(int(qstrlen(Key)) + 1).trimmed().split(' ').front().toDouble() / 1024;
  return 0;
}

// The counters: the bitmap's size and how far the peak of the resident
// memory rose above what the process held before the last load began.
void BM_LoadChain(benchmark::State& State) {
  const QString File = PhotoFile(ChainFiles[State.range(0)]);
  double PeakMB = 0, BitmapMB = 0;
  for (auto _ : State) {
    State.PauseTiming();
    QFile ClearRefs("/proc/self/clear_refs"); // "5" resets the peak
    if (ClearRefs.open(QIODevice::WriteOnly)) ClearRefs.write("5");
    ClearRefs.close();
    const double Before = StatusMB("VmRSS:");
    State.ResumeTiming();
    TBitmap Bitmap;
    QString Name = File;
    if (!LoadBitmapFromFile(Name, Bitmap, QString())) State.SkipWithError("the load failed");
    benchmark::DoNotOptimize(Bitmap.ScanLine(0));
    PeakMB = StatusMB("VmHWM:") - Before;
    BitmapMB = double(Bitmap.RowStride()) * Bitmap.Height() / (1 << 20);
  }
  State.counters["peak_mb"] = PeakMB;
  State.counters["bitmap_mb"] = BitmapMB;
  State.SetLabel(ChainFiles[State.range(0)]);
  SetPixels(State);
}
BENCHMARK(BM_LoadChain)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SaveChain(benchmark::State& State) {
  TBitmap Bitmap;
  Bitmap.Assign(BenchPhoto());
  OptionsOE.XDpi = 300;
  for (auto _ : State)
    if (WriteImageFile(FixtureFile(ChainTargets[State.range(0)]), Bitmap) != iorDone)
      State.SkipWithError("the save failed");
  State.SetLabel(ChainTargets[State.range(0)]);
  SetPixels(State);
}
BENCHMARK(BM_SaveChain)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// ---- Yardsticks ----

// Seconds of one run of Program with Arguments, one thread; negative when it
// cannot run or fails.
double RunSeconds(const QString& Program, const QStringList& Arguments) {
  QProcess P;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("VIPS_CONCURRENCY", "1");
  Env.insert("MAGICK_THREAD_LIMIT", "1");
  Env.insert("OMP_NUM_THREADS", "1");
  P.setProcessEnvironment(Env);
  const auto Start = std::chrono::steady_clock::now();
  P.start(Program, Arguments);
  if (!P.waitForFinished(-1) || P.exitStatus() != QProcess::NormalExit || P.exitCode() != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// The tiny image each tool's start-up is measured on.
QString TinyFile(const char* Name) {
  const QString File = FixtureFile(Name);
  if (!QFile::exists(File)) {
    TBitmap Tiny(16, 16, pf24bit, clGray);
    if (File.endsWith(".jpg")) {
      TMyJpegImage Jpeg;
      Jpeg.SaveBitmapEx(File, Tiny);
    } else if (File.endsWith(".png")) {
      TMyPngImage Png;
      Png.Assign(Tiny);
      Png.SaveToFile(File);
    } else {
      SaveBitmapToBmpFile(File, Tiny, 0);
    }
  }
  return File;
}

// Times Program on Arguments (%1 stands for the input, %2 for a scratch
// output name), less its time on the tiny image Tiny.
void TimeTool(benchmark::State& State, const char* Program, const QString& Input, const QString& Tiny,
              const QStringList& Arguments, const QString& Output) {
  const QString Path = QStandardPaths::findExecutable(Program);
  if (Path.isEmpty()) {
    State.SkipWithError((std::string(Program) + " is not installed").c_str());
    return;
  }
  const auto Fill = [&](const QString& In) {
    QStringList A;
    for (const QString& S : Arguments) A << QString(S).replace("%1", In).replace("%2", Output);
    return A;
  };
  for (auto _ : State) {
    const double Full = RunSeconds(Path, Fill(Input)), Start = RunSeconds(Path, Fill(Tiny));
    if (Full < 0 || Start < 0) {
      State.SkipWithError((std::string(Program) + " failed").c_str());
      return;
    }
    State.SetIterationTime(std::max(Full - Start, 0.0));
  }
  SetPixels(State);
}

// vips: decoding into its average (every pixel read), encoding from its own
// mapped format, Lanczos 3 to half size.
void BM_VipsJpegDecode(benchmark::State& State) {
  TimeTool(State, "vips", PhotoFile("photo.jpg"), TinyFile("tiny.jpg"), {"avg", "%1"}, {});
}
void BM_VipsPngDecode(benchmark::State& State) {
  TimeTool(State, "vips", PhotoFile("photo.png"), TinyFile("tiny.png"), {"avg", "%1"}, {});
}
// The vips image made from the BMP once, then JPEG at quality 90 with 4:2:0.
void BM_VipsJpegEncode(benchmark::State& State) {
  const QString Vips = FixtureFile("photo.v"), Tiny = FixtureFile("tiny.v");
  RunSeconds("vips", {"copy", PhotoFile("photo.bmp"), Vips});
  RunSeconds("vips", {"copy", TinyFile("tiny.bmp"), Tiny});
  TimeTool(State, "vips", Vips, Tiny, {"jpegsave", "%1", "%2", "--Q", "90", "--subsample-mode", "on"},
           FixtureFile("vips.jpg"));
}
void BM_VipsLanczosHalf(benchmark::State& State) {
  const QString Vips = FixtureFile("photo.v"), Tiny = FixtureFile("tiny.v");
  RunSeconds("vips", {"copy", PhotoFile("photo.bmp"), Vips});
  RunSeconds("vips", {"copy", TinyFile("tiny.bmp"), Tiny});
  TimeTool(State, "vips", Vips, Tiny, {"resize", "%1", "%2", "0.5", "--kernel", "lanczos3"}, FixtureFile("half.v"));
}
void BM_MagickJpegDecode(benchmark::State& State) {
  TimeTool(State, "convert", PhotoFile("photo.jpg"), TinyFile("tiny.jpg"), {"-limit", "thread", "1", "%1", "null:"},
           {});
}
void BM_MagickPngDecode(benchmark::State& State) {
  TimeTool(State, "convert", PhotoFile("photo.png"), TinyFile("tiny.png"), {"-limit", "thread", "1", "%1", "null:"},
           {});
}
BENCHMARK(BM_VipsJpegDecode)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VipsPngDecode)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VipsJpegEncode)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VipsLanczosHalf)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagickJpegDecode)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagickPngDecode)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
