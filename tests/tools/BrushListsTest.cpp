#include "tools/BrushLists.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

// A folder of brush and nozzle files under the test's own home.
class BrushFolder : public ::testing::Test {
protected:
  QTemporaryDir Dir{QDir::homePath() + QStringLiteral("/brushes-XXXXXX")};

  QString Path(const QString& Name) const { return Dir.filePath(Name); }

  // A strip of Cells square brushes of side H (each a black square inset
  // by 2 on white), plus Extra white columns.
  QString WriteBrushStrip(const QString& Name, int H, int Cells, int Extra = 0) const {
    QImage Image(H * Cells + Extra, H, QImage::Format_RGB888);
    Image.fill(Qt::white);
    QPainter P(&Image);
    for (int I = 0; I < Cells; ++I) P.fillRect(I * H + 2, 2, H - 4, H - 4, Qt::black);
    P.end();
    Image.save(Path(Name), "PNG");
    return Path(Name);
  }
  QString WriteNozzle(const QString& Name, int W, int H, bool Alpha) const {
    QImage Image(W, H, Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    Image.fill(Alpha ? QColor(255, 0, 0, 128) : QColor(Qt::red));
    Image.save(Path(Name), "PNG");
    return Path(Name);
  }
  QString WriteBytes(const QString& Name, const QByteArray& Bytes) const {
    QFile File(Path(Name));
    EXPECT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
    return Path(Name);
  }
};

TEST_F(BrushFolder, StripShapesGiveTheirNumberOfBrushes) {
  struct Case {
    int W, H;
    int Expected;
  };
  // 64 x 32: two cells; 40 x 32: not a multiple; 32 x 32: one brush;
  // 2 pixels high, or more than 2400 wide: refused.
  for (const Case C : {Case{64, 32, 2}, Case{40, 32, 0}, Case{32, 32, 1}, Case{4, 2, 0}, Case{2404, 4, 0}}) {
    TBitmap Strip(C.W, C.H, pf24bit, clWhite);
    for (int X = 0; X < C.W; ++X) Strip.ScanLine(C.H / 2)[3 * X] = Strip.ScanLine(C.H / 2)[3 * X + 1] = 0;
    TBrushList List;
    List.AddStrip(Strip);
    EXPECT_EQ(List.Count(), C.Expected) << C.W << " x " << C.H;
  }
}

TEST_F(BrushFolder, BrushIsCroppedToItsContentAndNamedByItsLargerSide) {
  TBitmap Bitmap(32, 32, pf24bit, clWhite);
  Bitmap.Canvas().Brush.Color = clBlack;
  Bitmap.Canvas().FillRect(Rect(5, 7, 15, 11)); // 10 x 4 of content
  // A pixel within 7 of white counts as white.
  Bitmap.ScanLine(30)[3 * 30] = 249;
  TBrushList List;
  ASSERT_TRUE(List.AddBitmap(Bitmap));
  EXPECT_EQ(List.Text(0), QStringLiteral("10"));
  EXPECT_EQ(List.Item(0).Mask.Width(), 10);
  EXPECT_EQ(List.Item(0).Mask.Height(), 4);
  EXPECT_EQ(List.Item(0).Preview.Width(), 10);
  EXPECT_EQ(List.Item(0).Preview.Height(), 4);
  EXPECT_EQ(List.Item(0).Mask.Memory()[0], 0);

  TBitmap NearWhite(16, 16, pf24bit, TColor(0xF9F9F9));
  EXPECT_FALSE(List.AddBitmap(NearWhite));
  EXPECT_EQ(List.Count(), 1);
}

TEST_F(BrushFolder, LargeBrushGetsAReducedPreview) {
  TBitmap Bitmap(100, 50, pf24bit, clBlack);
  TBrushList List;
  ASSERT_TRUE(List.AddBitmap(Bitmap));
  EXPECT_EQ(List.Text(0), QStringLiteral("100"));
  EXPECT_EQ(List.Item(0).Preview.Width(), BrushListRowHeight - 4);
  EXPECT_LT(List.Item(0).Preview.Height(), 20);
}

TEST_F(BrushFolder, ListStopsAtFortyBrushes) {
  TBrushList List;
  EXPECT_TRUE(List.LoadFile(WriteBrushStrip(QStringLiteral("Fifty.png"), 8, 50)));
  EXPECT_EQ(List.Count(), MaxBrushes);
  EXPECT_FALSE(List.LoadFile(WriteBrushStrip(QStringLiteral("More.png"), 8, 2)));
  EXPECT_EQ(List.Count(), MaxBrushes);
  EXPECT_TRUE(List.SkippedFiles.isEmpty()) << "a full list is not a broken file";
}

TEST_F(BrushFolder, BrokenOrRefusedBrushFilesAreNamedAndTheRestLoads) {
  const QString Broken = WriteBytes(QStringLiteral("Broken.png"), QByteArray("\x89PNG\r\n\x1a\nnot really", 18));
  const QString Shape = WriteBrushStrip(QStringLiteral("Shape.png"), 32, 1, 8); // 40 x 32
  WriteBrushStrip(QStringLiteral("Good.png"), 16, 3);
  TBrushList List;
  List.LoadFile(Broken);
  List.LoadFile(Shape);
  EXPECT_TRUE(List.LoadBrushes(Dir.path(), QStringLiteral("Good"), false));
  EXPECT_EQ(List.Count(), 3);
  EXPECT_EQ(List.ItemIndex, 0);
  EXPECT_EQ(List.CurrentFile, QStringLiteral("Good"));
  EXPECT_EQ(List.SkippedFiles, QStringList({Broken, Shape}));
}

TEST_F(BrushFolder, BrushSetFallsBackToDefaultThenToTheBuiltInBrushes) {
  TBrushList List;
  EXPECT_FALSE(List.LoadBrushes(Dir.path(), QStringLiteral("Missing"), true));
  List.LoadBrushSet(Dir.path(), QStringLiteral("Missing"));
  EXPECT_EQ(List.Count(), BuiltInBrushCount);
  EXPECT_EQ(List.ItemIndex, 0);

  WriteBrushStrip(QStringLiteral("Default.png"), 20, 4);
  List.LoadBrushSet(Dir.path(), QString());
  EXPECT_EQ(List.Count(), 4);
  EXPECT_EQ(List.CurrentFile, QStringLiteral("Default"));
}

TEST_F(BrushFolder, FileMenuListsEveryBrushFileButDefault) {
  WriteBrushStrip(QStringLiteral("DEFAULT.png"), 8, 1);
  WriteBrushStrip(QStringLiteral("Zebra.png"), 8, 1);
  WriteBrushStrip(QStringLiteral("alpha.png"), 8, 1);
  EXPECT_EQ(BrushFileNames(Dir.path()), QStringList({QStringLiteral("alpha"), QStringLiteral("Zebra")}));
}

TEST_F(BrushFolder, MirroringTwiceRestoresTheBrush) {
  TBitmap Bitmap(8, 6, pf24bit, clWhite);
  Bitmap.ScanLine(0)[0] = Bitmap.ScanLine(0)[1] = Bitmap.ScanLine(0)[2] = 0;
  Bitmap.ScanLine(5)[21] = Bitmap.ScanLine(5)[22] = Bitmap.ScanLine(5)[23] = 100;
  TBrushList List;
  ASSERT_TRUE(List.AddBitmap(Bitmap));
  List.MirrorSelected(true);
  EXPECT_EQ(List.Item(0).Mask.Memory()[0], 0) << "nothing selected, nothing mirrored";
  List.ItemIndex = 0;
  const TBmp8& Mask = List.Item(0).Mask;
  const std::vector<uint8_t> Before(Mask.Memory(), Mask.Memory() + Mask.MemorySize());
  List.MirrorSelected(true);
  EXPECT_EQ(Mask.Memory()[7], 0) << "the dark corner moved to the right";
  List.MirrorSelected(true);
  List.MirrorSelected(false);
  EXPECT_EQ(Mask.Memory()[5 * 8], 0) << "the dark corner moved to the bottom";
  List.MirrorSelected(false);
  EXPECT_EQ(std::vector<uint8_t>(Mask.Memory(), Mask.Memory() + Mask.MemorySize()), Before);
}

TEST_F(BrushFolder, StampIsScaled) {
  TBitmap Bitmap(20, 10, pf24bit, clBlack);
  TBrushList List;
  TBitmap Stamp;
  EXPECT_FALSE(List.BrushStamp(100, Stamp));
  List.AddBitmap(Bitmap);
  List.ItemIndex = 0;
  ASSERT_TRUE(List.BrushStamp(100, Stamp));
  EXPECT_EQ(Stamp.Width(), 20);
  ASSERT_TRUE(List.BrushStamp(25, Stamp));
  EXPECT_EQ(Stamp.Width(), 5);
  EXPECT_EQ(Stamp.Height(), 2); // 2.5 rounds to even
}

TEST_F(BrushFolder, NozzlesMustBe32BitStrips) {
  const QString Flat = WriteNozzle(QStringLiteral("a-flat.png"), 96, 32, false);
  const QString Broken = WriteBytes(QStringLiteral("b-broken.png"), QByteArray(300, 'x'));
  const QString Shape = WriteNozzle(QStringLiteral("c-shape.png"), 40, 32, true);
  WriteNozzle(QStringLiteral("d-good.png"), 96, 32, true);
  TNozzleList List;
  List.LoadFolder(Dir.path());
  ASSERT_EQ(List.Count(), 1);
  EXPECT_EQ(List.Text(0), QStringLiteral("32"));
  EXPECT_EQ(List.Item(0).ImageHeight, 32);
  EXPECT_EQ(List.Item(0).Preview.Width(), 29);
  EXPECT_EQ(List.ItemIndex, 0);
  EXPECT_EQ(List.SkippedFiles, QStringList({Flat, Broken, Shape}));
  // Frame 0 is painted half opaque red on white.
  const uint8_t* Centre = List.Item(0).Preview.ScanLine(14) + 3 * 14;
  EXPECT_GT(Centre[2], 200);
  EXPECT_LT(Centre[1], 200);
  TBitmap Strip;
  ASSERT_TRUE(List.LoadSelectedStrip(Strip));
  EXPECT_EQ(Strip.Width(), 96);
}

TEST(BuiltInBrushes, EveryGlyphPaintsSomething) {
  TBrushList List;
  List.AddDefaultBrushes();
  EXPECT_EQ(List.Count(), BuiltInBrushCount);
}

} // namespace

namespace {

TEST(ShippedBrushData, EveryShippedFileLoads) {
  const QDir Data(QStringLiteral(LUMA_BRUSH_DATA_DIR));
  TBrushList Brushes;
  Brushes.LoadBrushSet(Data.filePath(QStringLiteral("Brushes")), QString());
  EXPECT_EQ(Brushes.CurrentFile, QStringLiteral("Default"));
  EXPECT_EQ(Brushes.Count(), 6);
  EXPECT_TRUE(Brushes.LoadBrushes(Data.filePath(QStringLiteral("Brushes")), QStringLiteral("Grass"), true));
  EXPECT_EQ(Brushes.Count(), 4);
  TNozzleList Nozzles;
  Nozzles.LoadFolder(Data.filePath(QStringLiteral("Nozzles")));
  EXPECT_EQ(Nozzles.Count(), 2);
  EXPECT_TRUE(Brushes.SkippedFiles.isEmpty() && Nozzles.SkippedFiles.isEmpty());
}

} // namespace
