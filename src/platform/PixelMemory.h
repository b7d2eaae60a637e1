// The one allocator of pixel memory: bitmaps, work buffers of the resampler
// and the layered file's block buffers. No dependency beyond the C library.
//
// A block of a few megabytes and up is aligned on 2 MB and asks the kernel
// for huge pages: writing a fresh 72 MB bitmap the first time then costs a
// few dozen page faults instead of eighteen thousand (about ten times less
// time). Nothing is set: the caller writes every byte it reads later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

// The failure of a pixel allocation: a std::bad_alloc that knows the bytes
// asked for, so that the command that ran out of memory can say how much it
// needed.
class EPixelAllocError : public std::bad_alloc {
public:
  explicit EPixelAllocError(int64_t Bytes) : FBytes(Bytes) {}
  int64_t Bytes() const { return FBytes; }
  const char* what() const noexcept override { return "not enough memory for the pixels"; }

private:
  int64_t FBytes;
};

// Bytes of memory aligned on Alignment (a power of two, at most 2 MB), not
// initialised; released with std::free. Through the C allocator, which
// answers null when memory runs out (also under the address sanitizer, whose
// operator new aborts instead): throws EPixelAllocError then.
uint8_t* AllocatePixels(int64_t Bytes, size_t Alignment = 32);

struct TFreePixels {
  void operator()(uint8_t* P) const noexcept;
};
// A work buffer of pixel memory that frees itself.
using TPixelBuffer = std::unique_ptr<uint8_t[], TFreePixels>;
inline TPixelBuffer MakePixelBuffer(int64_t Bytes) { return TPixelBuffer(AllocatePixels(Bytes)); }
