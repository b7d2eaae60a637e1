#include "files/ReadLimits.h"

#include <QFile>

#include <cstdint>

namespace {
std::string Described(const QString& FileName, const std::string& Reason) {
  return QFile::encodeName(FileName).toStdString() + ": " + Reason;
}
} // namespace

void InvalidGraphic(const QString& FileName, const std::string& Reason) {
  throw EInvalidGraphic(Described(FileName, Reason));
}

void NotItsFormat(const QString& FileName, const std::string& Reason) {
  throw ENotItsFormat(Described(FileName, Reason));
}

void TruncatedGraphic(const QString& FileName, const std::string& Reason) {
  throw ETruncatedGraphic(Described(FileName, Reason));
}

void CheckReadSize(int64_t Width, int64_t Height, const QString& FileName) {
  if (Width < 1 || Height < 1) InvalidGraphic(FileName, "empty or negative image size");
  if (!PixelCountFits(Width, Height))
    throw EImageTooLarge(QFile::encodeName(FileName).toStdString() + ": image too large (" + std::to_string(Width) +
                         " x " + std::to_string(Height) + ")");
}

void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, const QString& FileName) {
  if (!ExpansionFits(Produced, Source, Ratio))
    InvalidGraphic(FileName, "the file is too small for the image it declares");
}

void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, int64_t Per, const QString& FileName) {
  // In 128 bits, both products are exact.
  const bool Fits = Source >= 0 && Produced >= 0 && __int128{Produced} * Per <= __int128{Source} * Ratio;
  if (!Fits) InvalidGraphic(FileName, "the file is too small for the image it declares");
}
