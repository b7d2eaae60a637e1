#include "files/JpegMarkers.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace {

QByteArray Jpeg(bool Progressive) {
  QImage Image(64, 48, QImage::Format_RGB32);
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 64; ++X) Image.setPixel(X, Y, qRgb(X * 4, Y * 5, (X * Y) % 256));
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  QImageWriter Writer(&Buffer, "JPEG");
  Writer.setQuality(85);
  Writer.setProgressiveScanWrite(Progressive);
  EXPECT_TRUE(Writer.write(Image));
  return Bytes;
}

bool EndsEarly(const QByteArray& Bytes) {
  return JpegDataEndsEarly({reinterpret_cast<const uint8_t*>(Bytes.constData()), size_t(Bytes.size())});
}

} // namespace

TEST(JpegMarkers, AWholeFileIsCompleteAndACutOneIsNot) {
  for (const bool Progressive : {false, true}) {
    const QByteArray Whole = Jpeg(Progressive);
    ASSERT_GT(Whole.size(), 400);
    EXPECT_FALSE(EndsEarly(Whole)) << Progressive;
    EXPECT_FALSE(EndsEarly(Whole + "trailing bytes after the end")) << Progressive;
    // Cut in the headers, in a scan, or just before the end marker.
    for (qsizetype Cut : {qsizetype(3), qsizetype(30), Whole.size() / 2, Whole.size() - 2, Whole.size() - 1})
      EXPECT_TRUE(EndsEarly(Whole.left(Cut))) << Progressive << " cut at " << Cut;
  }
}

TEST(JpegMarkers, OtherDataIsNotTakenForACutJpeg) {
  EXPECT_FALSE(EndsEarly(QByteArray()));
  EXPECT_FALSE(EndsEarly(QByteArray("\x89PNG\r\n\x1a\n", 8)));
  EXPECT_FALSE(EndsEarly(QByteArray("\xFF\xD8\xFF\xD9", 4)));
  // Damaged rather than short: bytes where a marker should be.
  EXPECT_FALSE(EndsEarly(QByteArray("\xFF\xD8garbage", 9)));
}
