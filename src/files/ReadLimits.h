// The one limit check of the image readers: no size, count or offset read
// from a file is trusted before it has passed here. Depends on QtCore; used by
// the BMP, PNG, JPEG and GIF readers.
#pragma once

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

// At most this many pixels in one bitmap read from a file.
inline constexpr int64_t MaxReadPixels = int64_t(1) << 28;

// zlib's own maximum ratio of output to input bytes.
inline constexpr int64_t MaxZlibRatio = 1032;

// Throws EInvalidGraphic naming the file, with the reason.
[[noreturn]] void InvalidGraphic(const QString& FileName, const std::string& Reason);

// Width and height at least 1 and their product at most MaxReadPixels.
void CheckReadSize(int64_t Width, int64_t Height, const QString& FileName);

// Data that expands: Produced bytes (or pixels) may be at most Ratio times
// the Source bytes that can hold them, so a small file that declares a huge
// image is refused before anything is allocated.
void CheckExpansion(int64_t Produced, int64_t Source, int64_t Ratio, const QString& FileName);
