// Selection and path files drawn as pictures, alone and through the load
// dispatch.
#include "files/OwnThumbnails.h"

#include "FileTestSupport.h"
#include "document/LayerStream.h"
#include "document/ShapeManager.h"
#include "files/BmpOE2.h"
#include "support/ChildCost.h"
#include "support/PathVertices.h"
#include "support/Pixels.h"
#include "tools/PathControl.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QString WriteSelection(const TTestFolder& Folder, const QString& Name, TMyShape Shape, int W, int H) {
  const QString File = Folder.Path(Name);
  TShapeManager M;
  EXPECT_TRUE(M.SaveToFile(File, Shape, {0, 0, W, H}));
  return File;
}

QString WritePath(const TTestFolder& Folder, const QString& Name, const std::vector<TPoint>& Points, bool Closed,
                  bool Bezier = false) {
  TPathControl Path;
  Path.ReplacePath(LinePath(Points), Bezier, Closed);
  const QString File = Folder.Path(Name);
  EXPECT_TRUE(Path.SaveToFile(File));
  return File;
}

// Counts of pure black, pure white and other pixels.
struct TTally {
  int Black = 0, White = 0, Other = 0;
};

TTally Tally(const TBitmap& B) {
  TTally T;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      const TRGB P = Px(B, X, Y);
      (P == Grey(0) ? T.Black : P == Grey(255) ? T.White : T.Other)++;
    }
  return T;
}

} // namespace

TEST(LmsImage, RectangleIsFilledBlackAndFittedInThumbnailMode) {
  TTestFolder Folder;
  const QString File = WriteSelection(Folder, QStringLiteral("r.lms"), ssRect, 20, 30);
  TLmsImage Thumb;
  Thumb.ThumbMode = true;
  Thumb.LoadFromFile(File);
  EXPECT_EQ(Thumb.SelWidth(), 20);
  EXPECT_EQ(Thumb.SelHeight(), 30);
  EXPECT_EQ(Thumb.Width(), 133);
  EXPECT_EQ(Thumb.Height(), 200);
  EXPECT_EQ(Tally(Thumb).Black, 133 * 200);
  TLmsImage Full;
  Full.LoadFromFile(File);
  EXPECT_EQ(Full.Width(), 20);
  EXPECT_EQ(Full.Height(), 30);
  EXPECT_EQ(Full.PixelFormat(), pf24bit);
  EXPECT_EQ(Tally(Full).Black, 20 * 30);
}

TEST(LmsImage, EllipseIsSmoothedOnlyOutsideThumbnailMode) {
  TTestFolder Folder;
  const QString File = WriteSelection(Folder, QStringLiteral("e.lms"), ssEllipse, 120, 80);
  TLmsImage Full;
  Full.LoadFromFile(File);
  const TTally F = Tally(Full);
  EXPECT_GT(F.Other, 100);
  EXPECT_EQ(Px(Full, 0, 0), Grey(255));
  TLmsImage Thumb;
  Thumb.ThumbMode = true;
  Thumb.LoadFromFile(File);
  EXPECT_EQ(Thumb.Width(), 200);
  EXPECT_EQ(Tally(Thumb).Other, 0);
  EXPECT_EQ(Px(Thumb, 100, 66), Grey(0));
}

TEST(LmsImage, UnreadableFileThrowsAndDrawsNothing) {
  TMemoryStream Stream(std::vector<uint8_t>{'x', 'y'});
  TLmsImage Image;
  EXPECT_THROW(Image.LoadFromStream(Stream), EStreamError);
  EXPECT_TRUE(Image.Empty());
}

TEST(LmvImage, OneVertexOrAnotherMagicFails) {
  TTestFolder Folder;
  const QString One = WritePath(Folder, QStringLiteral("one.lmv"), {{5, 5}}, false);
  TLmvImage Image;
  EXPECT_THROW(Image.LoadFromFile(One), EStreamError);
  EXPECT_TRUE(Image.Empty());
  QByteArray Bad(60, 'x');
  QBuffer Buffer(&Bad);
  Buffer.open(QIODevice::ReadOnly);
  EXPECT_THROW(Image.LoadFromStream(Buffer), EStreamError);
}

TEST(LmvImage, ClosedTriangleReturnsToItsFirstVertex) {
  TTestFolder Folder;
  const QString File = WritePath(Folder, QStringLiteral("t.lmv"), {{0, 0}, {60, 0}, {0, 40}}, true);
  TLmvImage Image;
  Image.LoadFromFile(File);
  EXPECT_EQ(Image.PathWidth(), 61);
  EXPECT_EQ(Image.PathHeight(), 41);
  EXPECT_EQ(Image.Width(), 61);
  EXPECT_EQ(Px(Image, 30, 0), Grey(0));  // first side
  EXPECT_EQ(Px(Image, 0, 20), Grey(0));  // closing side
  EXPECT_LT(Px(Image, 30, 20).Red, 128); // the hypotenuse passes (30, 20)
  EXPECT_EQ(Px(Image, 10, 10), Grey(255));
  // The same path open: no closing side.
  const QString Open = WritePath(Folder, QStringLiteral("o.lmv"), {{0, 0}, {60, 0}, {0, 40}}, false);
  Image.LoadFromFile(Open);
  EXPECT_EQ(Px(Image, 0, 20), Grey(255));
}

TEST(LmvImage, ThumbnailShrinksButNeverEnlarges) {
  TTestFolder Folder;
  const QString Big = WritePath(Folder, QStringLiteral("b.lmv"), {{0, 0}, {999, 499}}, false, true);
  TLmvImage Image;
  Image.ThumbMode = true;
  Image.LoadFromFile(Big);
  EXPECT_EQ(Image.PathWidth(), 1000);
  EXPECT_EQ(Image.PathHeight(), 500);
  EXPECT_EQ(Image.Width(), 200);
  EXPECT_EQ(Image.Height(), 100);
  const QString Small = WritePath(Folder, QStringLiteral("s.lmv"), {{0, 0}, {99, 49}}, false);
  Image.LoadFromFile(Small);
  EXPECT_EQ(Image.Width(), 100);
  EXPECT_EQ(Image.Height(), 50);
  // A horizontal path: one pixel high, shrunk along its length only.
  const QString Flat = WritePath(Folder, QStringLiteral("f.lmv"), {{0, 0}, {999, 0}}, false);
  Image.LoadFromFile(Flat);
  EXPECT_EQ(Image.Width(), 200);
  EXPECT_EQ(Image.Height(), 1);
  EXPECT_EQ(Px(Image, 100, 0), Grey(0));
}

TEST(LmvImage, HugePathOutsideThumbnailModeIsRefusedBeforeAllocating) {
  TTestFolder Folder;
  const QString File = WritePath(Folder, QStringLiteral("h.lmv"), {{0, 0}, {200000000, 200000000}}, false);
  TLmvImage Image;
  EXPECT_THROW(Image.LoadFromFile(File), EStreamError);
  Image.ThumbMode = true;
  Image.LoadFromFile(File);
  EXPECT_EQ(Image.Width(), 200);
}

TEST(OwnFormatsLoadChain, OutlineFilesLoadAsPicturesWithTheirSizes) {
  TTestFolder Folder;
  QString Lms = WriteSelection(Folder, QStringLiteral("sel.lms"), ssRect, 20, 30);
  QString Lmv = WritePath(Folder, QStringLiteral("path.lmv"), {{0, 0}, {999, 499}}, false);
  TBitmap Loaded;
  ASSERT_EQ(LoadImageFile(Lms, Loaded, QString()), iorDone);
  EXPECT_EQ(OptionsOE.GraphicWidth, 20);
  EXPECT_EQ(OptionsOE.XBitsPerPixel, 1);
  EXPECT_EQ(Loaded.Width(), 20);
  ASSERT_TRUE(ReadImageInfo(Lmv));
  EXPECT_EQ(OptionsOE.GraphicWidth, 1000);
  EXPECT_EQ(OptionsOE.GraphicHeight, 500);
  EXPECT_EQ(OptionsOE.XBitsPerPixel, 24);
  ASSERT_TRUE(LoadThumbnail(Lmv, Loaded));
  EXPECT_EQ(Loaded.Width(), 200);
  QString Broken = Folder.Path(QStringLiteral("broken.lmv"));
  {
    QFile F(Broken);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("Lumaretique Path");
  }
  OptionsOE.DisableErrorMsg = true;
  EXPECT_NE(LoadImageFile(Broken, Loaded, QString()), iorDone);
  EXPECT_EQ(Loaded.Width(), 200); // the caller's bitmap is untouched
}

// Small files that claim much: a count far beyond the bytes, or a path too
// large to draw at full size. Each is refused quickly, without the memory
// it claims, by the path reader and by the picture reader.
TEST(LmvImage, HostileFilesAreRefusedQuicklyWithoutTheMemoryTheyClaim) {
  const auto Header = [](int Bezier, int N) {
    QByteArray B(PathFileMagic, 16);
    B.append(32, '\0');
    for (int32_t V : {Bezier, 0, N})
      for (int K = 0; K < 4; ++K) B.append(char((uint32_t(V) >> (8 * K)) & 0xFF));
    return B;
  };
  const QByteArray Points = QByteArray::fromHex("00000000000000000000001000000010"); // (0,0), (2^28, 2^28)
  const QByteArray Files[] = {Header(1, 0x7FFFFFFF) + QByteArray(64, '\0'), Header(0, 2) + Points};
  for (const QByteArray& File : Files) {
    const TChildCost Cost = MeasureInChild([&] {
      QByteArray Copy = File;
      QBuffer Buffer(&Copy);
      Buffer.open(QIODevice::ReadOnly);
      TLmvImage Image;
      try {
        Image.LoadFromStream(Buffer);
      } catch (const EStreamError&) {
        return Image.Empty() ? 1 : 0;
      }
      return 0;
    });
    ASSERT_TRUE(Cost.Exited) << Cost.Failure;
    EXPECT_EQ(Cost.Result, 1);
    EXPECT_LT(Cost.CpuMs, CpuBudgetMs(100));
    EXPECT_LT(Cost.PeakKB, 64 * 1024);
  }
}
