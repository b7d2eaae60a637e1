// A walk over the markers of a JPEG file that tells whether its data stops
// before the end-of-image marker: a file cut short, which a decoder fills
// with grey without a word. Depends on Qt Core only; used by the image-file
// layer to mark such a picture incomplete.
#pragma once

#include <QString>

#include <cstdint>
#include <span>

// True when Data starts as a JPEG (SOI) and ends inside a segment or inside
// the entropy-coded data of a scan, before any EOI marker. A file that is
// not a JPEG, or whose EOI is present (trailing bytes after it included), is
// not cut short.
bool JpegDataEndsEarly(std::span<const uint8_t> Data);
// The same for a file; false when it cannot be read.
bool JpegFileEndsEarly(const QString& FileName);
