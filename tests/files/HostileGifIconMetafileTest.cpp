// Small hostile files against the GIF, icon and metafile readers: screens,
// frames and metafile pictures beyond what the bytes can produce, junk after
// a valid header, data cut short, counts past the end. Each is read as the
// picture reader does (frames played, icons and metafiles turned into
// bitmaps) in a child process whose CPU time and memory peak are measured.
// The files are those of the fuzz corpora, so that the fuzzers start from
// them; a valid GIF at LZW's greatest ratio still opens.
#include "files/ColorDepth.h"
#include "files/GifImage.h"
#include "files/IconStream.h"
#include "files/Metafile.h"

#include "FileTestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::vector<THostileFile> HostileFiles = {
    // A 16384 x 16384 frame whose LZW data holds 100 pixels.
    {"gif_read", "bad-frame-beyond-its-lzw-data.gif"},
    // A 16384 x 8192 frame (the bytes could hold it) whose data is junk.
    {"gif_read", "bad-junk-lzw-after-header.gif"},
    // The same frame with valid data that breaks off after 44,500 pixels.
    {"gif_read", "bad-lzw-cut-short.gif"},
    // Two 1 x 1 frames at opposite corners of a 16384 x 16384 screen.
    {"gif_read", "bad-frames-spread-over-a-huge-screen.gif"},
    {"gif_read", "bad-global-map-past-end.gif"},
    {"gif_read", "bad-extension-past-end.gif"},
    // 4 KB declaring a 16384 x 16384 screen for one 8 x 8 frame: read as the
    // frame's span.
    {"gif_read", "ok-screen-16384-beyond-its-frames.gif", true},
    // A PNG of 16384 x 16384 at zlib's greatest ratio (261 KB), and one in
    // an entry of 74 bytes.
    {"ico_read", "bad-png-16384-at-zlib-ratio.ico"},
    {"ico_read", "bad-png-16384-in-a-small-entry.ico"},
    {"ico_read", "bad-png-cut-short.ico"},
    {"ico_read", "bad-directory-count-past-end.ico"},
    {"ico_read", "bad-entry-past-end.ico"},
    {"ico_read", "bad-dib-larger-than-its-bytes.ico"},
    // A frame of 16384 x 16384 in 4 KB of records; bounds of that size
    // behind a frame under a pixel.
    {"metafile_read", "bad-frame-16384-in-4k.emf"},
    {"metafile_read", "bad-bounds-16384-and-a-frame-under-a-pixel.emf"},
    {"metafile_read", "bad-point-count-past-end.emf"},
    {"metafile_read", "bad-junk-after-header.emf"},
    // A placeable box of 16000 x 16000 pixels in 60 bytes.
    {"metafile_read", "bad-placeable-box-beyond-its-bytes.wmf"},
    {"metafile_read", "bad-record-cut-short.wmf"},
};

// Reads the file as the picture reader does and turns it into a bitmap.
void ReadPicture(const QString& FileName) {
  const QString Ext = QFileInfo(FileName).suffix();
  TBitmap Bitmap;
  if (Ext == "gif") {
    TGIFImage Gif;
    Gif.LoadFromFile(FileName);
    GifFrameToBitmap(Gif, Bitmap, int(Gif.Frames.size()) - 1, true);
  } else if (Ext == "ico") {
    QFile File(FileName);
    File.open(QIODevice::ReadOnly);
    TIcon Icon;
    ReadIcon(File, Icon, FileName);
    IconToBitmap(Icon, Bitmap);
  } else {
    TMetafile Metafile;
    Metafile.LoadFromFile(FileName);
    DrawGraphicToBitmap(Metafile, Bitmap);
  }
}

TEST(HostileGifIconMetafile, RefusedQuicklyWithLittleMemory) {
  ExpectHostileFilesRefusedCheaply(HostileFiles, ReadPicture);
}

TEST(HostileGifIconMetafile, ScreenBeyondItsFramesIsReadAsTheirSpan) {
  TGIFImage Gif;
  Gif.LoadFromFile(FuzzCorpusFile("gif_read", "ok-screen-16384-beyond-its-frames.gif"));
  EXPECT_EQ(Gif.Width, 8);
  EXPECT_EQ(Gif.Height, 8);
}

TEST(HostileGifIconMetafile, GifAtTheGreatestLzwRatioOpens) {
  // After a clear code and one pixel, each code names the next free entry
  // (the previous string and its own first pixel): the strings grow by one
  // pixel per code up to code 4095 (4091 pixels), which is then repeated
  // 2000 times. 16.5 million pixels from 8.6 KB of LZW data: more than 1900
  // pixels per byte, so the bound of 2730 per byte is near what LZW can do.
  const QString Path = FuzzCorpusFile("gif_read", "ok-lzw-at-its-greatest-ratio.gif");
  TGIFImage Gif;
  Gif.LoadFromFile(Path);
  ASSERT_EQ(Gif.Frames.size(), 1u);
  const TGIFFrame& F = Gif.Frames[0];
  EXPECT_EQ(F.Width, 4091);
  EXPECT_EQ(F.Height, 4046);
  EXPECT_GT(int64_t(F.Width) * F.Height, 1900 * QFileInfo(Path).size());
  EXPECT_TRUE(std::all_of(F.Pixels.begin(), F.Pixels.end(), [](uint8_t P) { return P == 0; }));
}

} // namespace
