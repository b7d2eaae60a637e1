// The limits on what a file may make us allocate, shared by every reader:
// the image readers (files/ReadLimits.h throws their error) and the own
// formats (document/LayerStream.h, below the files library). Writers test
// the same predicates, so that nothing is saved that a reader would refuse.
// Constants and plain predicates only; no dependency.
#pragma once

#include <cstdint>

// At most this many pixels in one bitmap read from a file.
inline constexpr int64_t MaxReadPixels = int64_t(1) << 28;

// zlib's own maximum ratio of output to input bytes.
inline constexpr int64_t MaxZlibRatio = 1032;

// Width and height not negative and their product at most MaxReadPixels
// (each side is tested first, so the product cannot overflow).
constexpr bool PixelCountFits(int64_t Width, int64_t Height) {
  return Width >= 0 && Height >= 0 && Width <= MaxReadPixels && Height <= MaxReadPixels &&
         Width * Height <= MaxReadPixels;
}

// Produced bytes (or pixels) at most Ratio times the Source bytes that hold
// them.
constexpr bool ExpansionFits(int64_t Produced, int64_t Source, int64_t Ratio) {
  return Source >= 0 && Produced >= 0 && (Source >= INT64_MAX / Ratio || Produced <= Source * Ratio);
}
