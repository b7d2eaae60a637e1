// Small hostile files against the JPEG, PNG and BMP readers: sizes beyond
// what the bytes can produce, junk after a valid header, data cut short,
// counts past the end. Each is refused, naming the file, in a child process
// whose CPU time and memory peak are measured. The files are those of the
// fuzz corpora, so that the fuzzers start from them; valid files at the
// formats' greatest expansion still open.
#include "files/BmpFile.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"

#include "FileTestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <png.h>

namespace {

const std::vector<THostileFile> HostileFiles = {
    {"jpeg_read", "bad-huge-size-65k-data-cut-short.jpg"},
    {"jpeg_read", "bad-huge-size-data-cut-short.jpg"},
    {"jpeg_read", "bad-progressive-huge-size-eob-runs.jpg"},
    {"jpeg_read", "bad-progressive-ac-scan-before-dc.jpg"},
    {"jpeg_read", "bad-junk-after-header.jpg"},
    {"jpeg_read", "bad-truncated-scan.jpg"},
    {"png_read", "bad-idat-sum-too-small-for-image.png"},
    {"png_read", "bad-junk-image-data.png"},
    {"png_read", "bad-image-data-cut-short.png"},
    {"png_read", "bad-idat-length-past-end.png"},
    {"png_read", "bad-small-file-declares-large-image.png"},
    {"bmp_read", "bad-rle8-end-of-line-escapes-only.bmp"},
    {"bmp_read", "bad-rle8-end-of-bitmap-huge.bmp"},
    {"bmp_read", "bad-rle4-literal-past-end.bmp"},
    {"bmp_read", "bad-rle8-delta-cut-short.bmp"},
    {"bmp_read", "bad-24bit-rows-missing.bmp"},
    {"bmp_read", "bad-bitfields-rows-missing.bmp"},
};

// Reads the file as the editor's picture classes do.
void ReadPicture(const QString& FileName) {
  const QString Ext = QFileInfo(FileName).suffix();
  if (Ext == "jpg") {
    TMyJpegImage Jpeg;
    Jpeg.LoadFromFile(FileName);
  } else if (Ext == "png") {
    TMyPngImage Png;
    Png.LoadFromFile(FileName);
  } else {
    TBitmap Bitmap;
    LoadBitmapFromBmpFile(FileName, Bitmap);
  }
}

TEST(HostileJpegPngBmp, RefusedQuicklyWithLittleMemory) { ExpectHostileFilesRefusedCheaply(HostileFiles, ReadPicture); }

// A flat picture in the fewest bits each format allows.
void WriteFlatGreyJpeg(const QString& Name, int W, int H, bool Progressive) {
  const std::vector<uint8_t> Row(size_t(W), 128); // the level shift makes every coefficient 0
  const jpeg_scan_info Dc{1, {0}, 0, 0, 0, 0};
  WriteLibjpegFile(
      Name, W, H, 1, JCS_GRAYSCALE, [&](int) { return Row.data(); },
      [&](jpeg_compress_struct& C) {
        // Optimal tables give the zero DC difference and the end of block
        // one bit each; a progressive file of one DC scan then needs one
        // bit per block.
        C.optimize_coding = TRUE;
        if (Progressive) {
          C.scan_info = &Dc;
          C.num_scans = 1;
        }
      });
}

void WriteFlatGreyPng(const QString& Name, int W, int H) {
  FILE* F = std::fopen(QFile::encodeName(Name).constData(), "wb");
  ASSERT_TRUE(F);
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_init_io(Png, F);
  png_set_IHDR(Png, Info, W, H, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(Png, 9);
  png_write_info(Png, Info);
  std::vector<uint8_t> Row(size_t(W), 77);
  for (int Y = 0; Y < H; ++Y) png_write_row(Png, Row.data());
  png_write_end(Png, nullptr);
  png_destroy_write_struct(&Png, &Info);
  std::fclose(F);
}

TEST(HostileJpegPngBmp, FilesAtTheGreatestExpansionStillOpen) {
  TTestFolder Folder;
  struct TCase {
    const char* Name;
    int W, H;
    double LeastRatio; // pixels per file byte the file reaches
    std::function<void(const QString&)> Write;
  } Cases[] = {
      {"sequential.jpg", 4096, 4096, 250, [](const QString& N) { WriteFlatGreyJpeg(N, 4096, 4096, false); }},
      {"progressive.jpg", 4096, 4096, 500, [](const QString& N) { WriteFlatGreyJpeg(N, 4096, 4096, true); }},
      {"flat.png", 8000, 8000, 800, [](const QString& N) { WriteFlatGreyPng(N, 8000, 8000); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QString Name = Folder.Path(C.Name);
    C.Write(Name);
    EXPECT_GT(double(C.W) * C.H / double(QFileInfo(Name).size()), C.LeastRatio);
    TBitmap Bitmap;
    if (QFileInfo(Name).suffix() == "png") {
      TMyPngImage Png;
      Png.LoadFromFile(Name);
      Bitmap.Swap(Png);
    } else {
      TMyJpegImage Jpeg;
      Jpeg.LoadFromFile(Name);
      Jpeg.AssignTo(Bitmap);
    }
    ASSERT_EQ(Bitmap.Width(), C.W);
    ASSERT_EQ(Bitmap.Height(), C.H);
    const TColor Corner = Bitmap.PixelColor(C.W - 1, C.H - 1);
    EXPECT_EQ(GetRValue(Corner), QFileInfo(Name).suffix() == "png" ? 77 : 128);
  }
}

} // namespace
