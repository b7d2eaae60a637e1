// The one way tests compare images: a per-channel tolerance, the first few
// differing pixels listed with their coordinates, and on failure the actual
// and expected images written to test-output/ beside the build.
#pragma once

#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <string>

// Compares two bitmaps of the same format channel by channel (alpha
// included for 32-bit bitmaps, palette colours for indexed ones).
::testing::AssertionResult ImagesMatch(const TBitmap& Actual, const TBitmap& Expected, int Tolerance = 0,
                                       const std::string& Name = "image");

#define EXPECT_IMAGES_MATCH(Actual, Expected, ...) EXPECT_TRUE(ImagesMatch(Actual, Expected, ##__VA_ARGS__))

// Writes a bitmap as PNG into test-output/; returns the path.
std::string WriteTestImage(const TBitmap& Bitmap, const std::string& Name);

// A 24-bit bitmap filled with a reproducible pseudo-random pattern.
void FillRandom(TBitmap& Bitmap, unsigned Seed);
