#include "FileTestSupport.h"

#include "files/ReadLimits.h"
#include "support/ChildCost.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

QStringList TTestFolder::Files() const {
  return QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

PBitmap SmoothImage(int Width, int Height) {
  auto P = std::make_unique<TBitmap>(Width, Height, pf24bit, clBlack);
  TBitmap& B = *P;
  for (int Y = 0; Y < Height; ++Y) {
    uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < Width; ++X) {
      Row[3 * X] = static_cast<uint8_t>(X * 255 / std::max(Width - 1, 1));
      Row[3 * X + 1] = static_cast<uint8_t>(Y * 255 / std::max(Height - 1, 1));
      Row[3 * X + 2] = static_cast<uint8_t>(128 + ((X / 4 + Y / 4) % 2 ? 40 : -40));
    }
  }
  return P;
}

PBitmap WithAlphaRamp(const TBitmap& Bitmap) {
  auto P = std::make_unique<TBitmap>();
  TBitmap& B = *P;
  B.Assign(Bitmap);
  B.SetPixelFormat(pf32bit);
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.ScanLine(Y)[4 * X + 3] = static_cast<uint8_t>((X * 37 + Y * 11) % 256);
  return P;
}

PBitmap To24(const TBitmap& Bitmap) {
  auto P = std::make_unique<TBitmap>();
  TBitmap& B = *P;
  B.Assign(Bitmap);
  B.SetPixelFormat(pf24bit);
  return P;
}

PBitmap FromQImage(const QImage& Source, bool Alpha) {
  if (Source.isNull()) return std::make_unique<TBitmap>();
  const QImage Image = Source.convertToFormat(QImage::Format_ARGB32);
  auto P = std::make_unique<TBitmap>(Image.width(), Image.height(), Alpha ? pf32bit : pf24bit, clBlack);
  TBitmap& B = *P;
  for (int Y = 0; Y < Image.height(); ++Y) {
    const uchar* S = Image.constScanLine(Y);
    uint8_t* D = B.ScanLine(Y);
    for (int X = 0; X < Image.width(); ++X) {
      std::memcpy(D + (Alpha ? 4 : 3) * X, S + 4 * X, Alpha ? 4 : 3);
    }
  }
  return P;
}

PBitmap QtDecode(const QString& FileName, bool Alpha) {
  QImageReader Reader(FileName);
  return FromQImage(Reader.read(), Alpha);
}

bool HasImageMagick() {
  return !QStandardPaths::findExecutable("identify").isEmpty() && !QStandardPaths::findExecutable("convert").isEmpty();
}

QString Identify(const QString& FileName, const QString& Format) {
  QProcess P;
  P.start("identify", {"-format", Format + "\n", FileName});
  if (!P.waitForFinished(60000) || P.exitCode() != 0) return {};
  return QString::fromUtf8(P.readAllStandardOutput()).trimmed();
}

PBitmap MagickDecode(const QString& FileName, bool Alpha, int Frame) {
  const QString Source = FileName + "[" + QString::number(Frame) + "]";
  const QStringList Size = Identify(Source, "%w %h").split(' ');
  if (Size.size() != 2) return std::make_unique<TBitmap>();
  const int W = Size[0].toInt(), H = Size[1].toInt();
  QProcess P;
  P.start("convert", {Source, "-depth", "8", "rgba:-"});
  if (!P.waitForFinished(60000) || P.exitCode() != 0) return std::make_unique<TBitmap>();
  const QByteArray Bytes = P.readAllStandardOutput();
  if (Bytes.size() != qsizetype(4) * W * H) return std::make_unique<TBitmap>();
  auto Result = std::make_unique<TBitmap>(W, H, Alpha ? pf32bit : pf24bit, clBlack);
  TBitmap& B = *Result;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const uint8_t* S = reinterpret_cast<const uint8_t*>(Bytes.constData()) + 4 * (size_t(Y) * W + X);
      uint8_t* D = B.ScanLine(Y) + (Alpha ? 4 : 3) * X;
      D[0] = S[2];
      D[1] = S[1];
      D[2] = S[0];
      if (Alpha) D[3] = S[3];
    }
  return Result;
}

std::vector<uint8_t> ReadBytes(const QString& FileName) {
  QFile F(FileName);
  if (!F.open(QIODevice::ReadOnly)) return {};
  const QByteArray B = F.readAll();
  return std::vector<uint8_t>(B.begin(), B.end());
}

void WriteBytes(const QString& FileName, const std::vector<uint8_t>& Bytes) {
  QFile F(FileName);
  if (F.open(QIODevice::WriteOnly)) F.write(reinterpret_cast<const char*>(Bytes.data()), qint64(Bytes.size()));
}

void WriteLibjpegFile(const QString& Name, int W, int H, int Components, J_COLOR_SPACE Space,
                      const std::function<const uint8_t*(int Y)>& Row,
                      const std::function<void(jpeg_compress_struct&)>& Setup) {
  FILE* F = std::fopen(QFile::encodeName(Name).constData(), "wb");
  ASSERT_TRUE(F);
  jpeg_compress_struct C;
  jpeg_error_mgr E;
  C.err = jpeg_std_error(&E);
  jpeg_create_compress(&C);
  jpeg_stdio_dest(&C, F);
  C.image_width = W;
  C.image_height = H;
  C.input_components = Components;
  C.in_color_space = Space;
  jpeg_set_defaults(&C);
  Setup(C);
  jpeg_start_compress(&C, TRUE);
  for (int Y = 0; Y < H; ++Y) {
    JSAMPROW Samples = const_cast<JSAMPROW>(Row(Y));
    jpeg_write_scanlines(&C, &Samples, 1);
  }
  jpeg_finish_compress(&C);
  jpeg_destroy_compress(&C);
  std::fclose(F);
}

QString FuzzCorpusFile(const QString& Target, const QString& Name) {
  return QStringLiteral(LUMA_FUZZ_CORPUS "/") + Target + "/" + Name;
}

namespace {

enum TOutcome { oLoaded, oRefusedNamingTheFile, oRefusedAnonymously, oOtherException };

TOutcome Outcome(const std::function<void(const QString&)>& Read, const QString& FileName) {
  try {
    Read(FileName);
    return oLoaded;
  } catch (const EInvalidGraphic& E) {
    return std::string(E.what()).rfind(QFile::encodeName(FileName).toStdString(), 0) == 0 ? oRefusedNamingTheFile
                                                                                          : oRefusedAnonymously;
  } catch (...) {
    return oOtherException;
  }
}

} // namespace

void ExpectHostileFilesRefusedCheaply(const std::vector<THostileFile>& Files,
                                      const std::function<void(const QString& FileName)>& Read) {
  for (const THostileFile& F : Files) {
    SCOPED_TRACE(F.Name);
    const QString Path = FuzzCorpusFile(F.Target, F.Name);
    ASSERT_TRUE(QFileInfo::exists(Path));
    const TChildCost Cost = MeasureInChild([&] { return int(Outcome(Read, Path)); });
    ASSERT_TRUE(Cost.Exited) << Cost.Failure;
    EXPECT_EQ(Cost.Result, F.Loads ? oLoaded : oRefusedNamingTheFile);
    EXPECT_LT(Cost.CpuMs, CpuBudgetMs(100));
    EXPECT_LT(Cost.PeakKB, 64 * 1024);
  }
}
