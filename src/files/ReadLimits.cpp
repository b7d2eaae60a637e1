#include "files/ReadLimits.h"

#include <QFile>

#include <cstdint>

void InvalidGraphic(const QString& FileName, const std::string& Reason) {
  throw EInvalidGraphic(QFile::encodeName(FileName).toStdString() + ": " + Reason);
}

void CheckReadSize(int64_t Width, int64_t Height, const QString& FileName) {
  if (Width < 1 || Height < 1) InvalidGraphic(FileName, "empty or negative image size");
  if (Width > MaxReadPixels || Height > MaxReadPixels || Width * Height > MaxReadPixels)
    InvalidGraphic(FileName, "image too large (" + std::to_string(Width) + " x " + std::to_string(Height) + ")");
}

void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, const QString& FileName) {
  const bool Fits = Source >= 0 && Produced >= 0 && (Source >= INT64_MAX / Ratio || Produced <= Source * Ratio);
  if (!Fits) InvalidGraphic(FileName, "the file is too small for the image it declares");
}
