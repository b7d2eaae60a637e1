// The shared benchmark fixture: a deterministic 6000 x 4000 image, generated
// once per process, and a grey mask of the same size.
#pragma once

#include "platform/Bitmap.h"

constexpr int BenchWidth = 6000;
constexpr int BenchHeight = 4000;

// A smooth colour field with fine noise, so that nothing compresses to a
// trivial case. The same bytes every run.
const TBitmap& BenchImage();
// A photo-like image of the same size: smooth colour fields, a few soft-edged
// shapes and faint noise that varies from pixel to pixel only a little, as a
// camera gives. Compression of BenchImage is dominated by its full-strength
// per-pixel noise, which no real photo has; this one shows the usual case.
const TBitmap& BenchPhoto();
// A radial grey mask (0 at the centre, 255 at the corners).
const TBitmap& BenchMask();
// Bytes per row times rows of a 24-bit bitmap of the bench size.
size_t BenchImageBytes();
