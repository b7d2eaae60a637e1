// The one limit check of the image readers: no size, count or offset read
// from a file is trusted before it has passed here. Depends on QtCore; used by
// the BMP, PNG, JPEG and GIF readers. The figures and their predicates are in
// platform/FileLimits.h, shared with the own formats.
#pragma once

#include "platform/FileLimits.h"

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

// A file that is not a valid picture of its format: the error every reader
// of this layer throws, caught by the load dispatch. The message names the
// file.
class EInvalidGraphic : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A picture larger than the program opens: the load's message says so.
class EImageTooLarge : public EInvalidGraphic {
public:
  using EInvalidGraphic::EInvalidGraphic;
};

// A file whose first bytes are not those of the reader's format: another
// reader may still know it; when none does, the file is not an image.
class ENotItsFormat : public EInvalidGraphic {
public:
  using EInvalidGraphic::EInvalidGraphic;
};

// A file of the reader's format that ends before its picture does.
class ETruncatedGraphic : public EInvalidGraphic {
public:
  using EInvalidGraphic::EInvalidGraphic;
};

// Throw EInvalidGraphic, ENotItsFormat or ETruncatedGraphic naming the file,
// with the reason.
[[noreturn]] void InvalidGraphic(const QString& FileName, const std::string& Reason);
[[noreturn]] void NotItsFormat(const QString& FileName, const std::string& Reason);
[[noreturn]] void TruncatedGraphic(const QString& FileName, const std::string& Reason);

// Width and height at least 1 and their product at most MaxReadPixels (else
// EImageTooLarge).
void CheckReadSize(int64_t Width, int64_t Height, const QString& FileName);

// Data that expands: Produced bytes (or pixels) may be at most Ratio times
// the Source bytes that can hold them, so a small file that declares a huge
// image is refused before anything is allocated.
void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, const QString& FileName);

// Run-length data (BMP RLE4 and RLE8, Targa): one packet of at least two
// bytes repeats a value at most 255 times (Targa 128).
inline constexpr int64_t MaxRlePixelsPerByte = 128;

// CheckExpansion for a ratio that is no whole number per byte: at most Ratio
// produced per Per bytes of Source (GIF's LZW data: 8192 pixels per 3 bytes).
void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, int64_t Per, const QString& FileName);
