// The 8BF bridge against a stand-in host library (host/FakeHost.c): the
// plug-in list as the menus need it, the runs on a bitmap and on a packed
// rectangle, and the refusals that must leave the pixels alone.
#include "extensions/Plg8bf.h"

#include "../support/ImageCompare.h"
#include "raster/FilterEvent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Plg8bfTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Bridge.Set8bfHostPath(QFileInfo(LUMA_8BF_HOST).absolutePath(), QFileInfo(LUMA_8BF_HOST).fileName());
    Bridge.SetWindow(this);
  }
  void TearDown() override { ProgressCancelled = false; }

  // A plug-in file the stand-in host reports: category, name and action.
  void AddPlugin(const QString& File, const QByteArray& Category, const QByteArray& Name,
                 const QByteArray& Action = "invert") {
    QFile F(Dir.filePath(File));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Category + "\n" + Name + "\n" + Action + "\n");
  }
  void Enumerate() { Bridge.Enumerate8bfPlugins(Dir.path()); }

  static TBitmap& Inverted(TBitmap& B, const TRect& R) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        for (int C = 0; C < 3; ++C) B.ScanLine(Y)[3 * X + C] = uint8_t(255 - B.ScanLine(Y)[3 * X + C]);
    return B;
  }
  static std::unique_ptr<TBitmap> Random(int W, int H, unsigned Seed) {
    auto B = std::make_unique<TBitmap>(W, H, pf24bit);
    FillRandom(*B, Seed);
    return B;
  }
  static std::unique_ptr<TBitmap> Copy(const TBitmap& B) {
    auto C = std::make_unique<TBitmap>();
    C->Assign(B);
    return C;
  }

  QTemporaryDir Dir;
  TPlg8bfBridge Bridge;
};

TEST_F(Plg8bfTest, ListIsSortedWithoutRegardToCaseAndFillsMissingNames) {
  AddPlugin("a.8bf", "  Artistic ", "Blur");
  AddPlugin("b.8bf", "artistic", "blur");
  AddPlugin("c.8bf", "Distort", "");
  AddPlugin("d.8bf", "<nil>", "Wave");
  AddPlugin("e.8bf", "Artistic", "Aqua  ");
  Enumerate();
  ASSERT_EQ(Bridge.Plg8bfCount(), 5);
  const std::vector<std::pair<QString, QString>> Expected = {
      {"Artistic", "Aqua"}, {"Artistic", "Blur"}, {"artistic", "blur"}, {"Distort", "Distort"}, {"Unknown", "Wave"}};
  for (size_t I = 0; I < Expected.size(); ++I) {
    EXPECT_EQ(Bridge.Items()[I].Category, Expected[I].first) << I;
    EXPECT_EQ(Bridge.Items()[I].Name, Expected[I].second) << I;
  }
  EXPECT_EQ(Bridge.Items()[0].FullPath, Dir.filePath("e.8bf"));
  EXPECT_EQ(Bridge.Plg8bfName(4), "Wave");
  EXPECT_EQ(Bridge.Plg8bfName(5), "");
  EXPECT_EQ(Bridge.Plg8bfName(-1), "");
}

TEST_F(Plg8bfTest, OnlyTheFirstHundredReportedAreKept) {
  for (int I = 0; I < 150; ++I) AddPlugin(QString::asprintf("p%03d.8bf", I), "Cat", QByteArray::number(149 - I));
  Enumerate();
  ASSERT_EQ(Bridge.Plg8bfCount(), 100);
  // Reported p000 (name "149") to p149 (name "0"): the last fifty are gone.
  for (const TPlg8bfItem& Item : Bridge.Items()) EXPECT_GE(Item.Name.toInt(), 50) << Item.Name.toStdString();
}

TEST_F(Plg8bfTest, MissingOrIncompleteHostGivesNoList) {
  AddPlugin("a.8bf", "Cat", "One");
  Enumerate();
  ASSERT_EQ(Bridge.Plg8bfCount(), 1);
  Bridge.Set8bfHostPath(QFileInfo(LUMA_8BF_HOST_INCOMPLETE).absolutePath(),
                        QFileInfo(LUMA_8BF_HOST_INCOMPLETE).fileName());
  EXPECT_TRUE(Bridge.Is8bfHostAvailable());
  EXPECT_FALSE(Bridge.Load8bfHost(Bridge.HostPath()));
  Enumerate();
  EXPECT_EQ(Bridge.Plg8bfCount(), 0);
  Bridge.Set8bfHostPath(Dir.path(), QString());
  EXPECT_FALSE(Bridge.Is8bfHostAvailable()) << "no pspiHost.dll there";
  Enumerate();
  EXPECT_EQ(Bridge.Plg8bfCount(), 0);
}

TEST_F(Plg8bfTest, RunsInPlaceOnBitmapsOfEveryAcceptedShape) {
  AddPlugin("a.8bf", "Cat", "Invert");
  Enumerate();
  // Odd widths leave padding at the end of each row; one row is its own case.
  for (const auto& [W, H] : {std::pair{7, 5}, std::pair{13, 1}}) {
    auto B = Random(W, H, unsigned(W * H));
    auto Expected = Copy(*B);
    ASSERT_TRUE(Bridge.Run8bfOnBitmap(0, B.get())) << W << "x" << H;
    EXPECT_IMAGES_MATCH(*B, Inverted(*Expected, {0, 0, W, H}));
  }
  // 32 bits go with their alpha, which the plug-in inverts too.
  TBitmap B32(3, 2, pf32bit, 0x102030);
  B32.ScanLine(1)[3] = 200;
  ASSERT_TRUE(Bridge.Run8bfOnBitmap(0, &B32));
  EXPECT_EQ(B32.ScanLine(1)[0], 255 - 0x10);
  EXPECT_EQ(B32.ScanLine(1)[3], 55);
}

TEST_F(Plg8bfTest, RefusedRunsLeaveThePixelsAlone) {
  AddPlugin("a.8bf", "Cat", "Invert");
  AddPlugin("b.8bf", "Cat", "Refuses", "fail-load");
  Enumerate();
  auto B = Random(6, 4, 1);
  const auto Before = Copy(*B);
  TBitmap Empty, Indexed(4, 4, pf8bit);
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(2, B.get()));
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(-1, B.get()));
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(0, nullptr));
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(0, &Empty));
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(0, &Indexed));
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(1, B.get()));
  EXPECT_FALSE(Bridge.Run8bfOnBuffer(0, 0, 4, B->ScanLine(0), false));
  EXPECT_FALSE(Bridge.Run8bfOnBuffer(0, 4, 4, nullptr, false));
  EXPECT_FALSE(Bridge.Run8bfOnRect(0, *B, nullptr, {10, 10, 20, 20}, false)) << "outside the bitmap";
  // Without its window the stand-in refuses to run.
  Bridge.SetWindow(nullptr);
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(0, B.get()));
  EXPECT_IMAGES_MATCH(*B, *Before);
}

TEST_F(Plg8bfTest, RectangleRunChangesOnlyTheRectangleAndNeverTheMask) {
  AddPlugin("a.8bf", "Cat", "Invert");
  AddPlugin("b.8bf", "Cat", "Opacity", "alpha"); // sorted after "Invert"
  Enumerate();
  auto B = Random(9, 7, 2);
  auto Expected = Copy(*B);
  TBitmap Mask(9, 7, pf24bit, 0x404040);
  const auto MaskBefore = Copy(Mask);
  const TRect R{2, 1, 8, 9}; // cut to the bitmap's bottom
  // The plug-in inverts the alpha bytes too: the mask stays as it was.
  ASSERT_TRUE(Bridge.Run8bfOnRect(0, *B, &Mask, R, true));
  EXPECT_IMAGES_MATCH(*B, Inverted(*Expected, {2, 1, 8, 7}));
  EXPECT_IMAGES_MATCH(Mask, *MaskBefore);
  // The fourth byte is 255 minus the mask: the "alpha" plug-in copies it
  // into blue. Without alpha it has nothing to read and fails: nothing is
  // written back.
  ASSERT_TRUE(Bridge.Run8bfOnRect(1, *B, &Mask, R, true));
  EXPECT_EQ(B->ScanLine(3)[3 * 4], 255 - 0x40);
  EXPECT_NE(B->ScanLine(0)[3 * 4], 255 - 0x40) << "row 0 lies outside";
  const auto Before = Copy(*B);
  EXPECT_FALSE(Bridge.Run8bfOnRect(1, *B, &Mask, R, false));
  EXPECT_FALSE(Bridge.Run8bfOnRect(1, *B, nullptr, R, true));
  EXPECT_IMAGES_MATCH(*B, *Before);
}

TEST_F(Plg8bfTest, CallbacksReachTheColourDialogAndTheProgressService) {
  AddPlugin("a.8bf", "Cat", "Invert");
  AddPlugin("b.8bf", "Cat", "Pick", "pick");
  Enumerate();
  auto B = Random(5, 5, 3);
  // Before registration the host gets no callback: the picker plug-in fails.
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(1, B.get()));
  bool Answer = true;
  Bridge.RegisterCallbacks([&Answer](TColor& C) {
    C = 0x123456; // red 0x56, green 0x34, blue 0x12
    return Answer;
  });
  ASSERT_TRUE(Bridge.Run8bfOnBitmap(1, B.get()));
  EXPECT_EQ(B->ScanLine(4)[0], 0x12);
  EXPECT_EQ(B->ScanLine(4)[1], 0x34);
  EXPECT_EQ(B->ScanLine(4)[2], 0x56);
  Answer = false;
  EXPECT_FALSE(Bridge.Run8bfOnBitmap(1, B.get()));
  // A cancel in the progress service stops the run, reported as a failure,
  // and a packed copy is then not written back.
  ProgressCancelled = true;
  const auto Before = Copy(*B);
  EXPECT_FALSE(Bridge.Run8bfOnRect(0, *B, nullptr, {0, 0, 5, 5}, false));
  EXPECT_IMAGES_MATCH(*B, *Before);
}

} // namespace
