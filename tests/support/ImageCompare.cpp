#include "support/ImageCompare.h"

#include <QDir>

#include <cstdlib>
#include <random>
#include <sstream>

std::string WriteTestImage(const TBitmap& Bitmap, const std::string& Name) {
  QDir().mkpath(LUMA_TEST_OUTPUT_DIR);
  const std::string Path = std::string(LUMA_TEST_OUTPUT_DIR) + "/" + Name + ".png";
  Bitmap.QImageView().save(QString::fromStdString(Path), "PNG");
  return Path;
}

::testing::AssertionResult ImagesMatch(const TBitmap& Actual, const TBitmap& Expected, int Tolerance,
                                       const std::string& Name) {
  if (Actual.Width() != Expected.Width() || Actual.Height() != Expected.Height())
    return ::testing::AssertionFailure() << Name << ": size " << Actual.Width() << "x" << Actual.Height()
                                         << ", expected " << Expected.Width() << "x" << Expected.Height();
  if (Actual.PixelFormat() != Expected.PixelFormat())
    return ::testing::AssertionFailure() << Name << ": pixel format " << int(Actual.PixelFormat()) << ", expected "
                                         << int(Expected.PixelFormat());
  const bool HasAlpha = Actual.PixelFormat() == pf32bit;
  std::ostringstream Report;
  int Differences = 0;
  for (int Y = 0; Y < Actual.Height(); ++Y) {
    for (int X = 0; X < Actual.Width(); ++X) {
      const TColor A = Actual.PixelColor(X, Y);
      const TColor E = Expected.PixelColor(X, Y);
      int AlphaA = HasAlpha ? Actual.ScanLine(Y)[4 * X + 3] : 0;
      int AlphaE = HasAlpha ? Expected.ScanLine(Y)[4 * X + 3] : 0;
      const bool Near = std::abs(GetRValue(A) - GetRValue(E)) <= Tolerance &&
                        std::abs(GetGValue(A) - GetGValue(E)) <= Tolerance &&
                        std::abs(GetBValue(A) - GetBValue(E)) <= Tolerance && std::abs(AlphaA - AlphaE) <= Tolerance;
      if (Near) continue;
      if (++Differences <= 8) {
        Report << "\n  (" << X << ", " << Y << "): rgb(" << int(GetRValue(A)) << ", " << int(GetGValue(A)) << ", "
               << int(GetBValue(A)) << ")";
        if (HasAlpha) Report << " a" << AlphaA;
        Report << " expected rgb(" << int(GetRValue(E)) << ", " << int(GetGValue(E)) << ", " << int(GetBValue(E))
               << ")";
        if (HasAlpha) Report << " a" << AlphaE;
      }
    }
  }
  if (Differences == 0) return ::testing::AssertionSuccess();
  const std::string ActualPath = WriteTestImage(Actual, Name + "-actual");
  WriteTestImage(Expected, Name + "-expected");
  return ::testing::AssertionFailure() << Name << ": " << Differences << " pixels differ by more than " << Tolerance
                                       << Report.str() << "\n  written to " << ActualPath;
}

void FillRandom(TBitmap& Bitmap, unsigned Seed) {
  std::mt19937 Generator(Seed);
  const int Bytes = Bitmap.Width() * Bitmap.BitsPerPixel() / 8;
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    uint8_t* Row = Bitmap.ScanLine(Y);
    for (int I = 0; I < Bytes; ++I) Row[I] = static_cast<uint8_t>(Generator() >> 24);
  }
}
