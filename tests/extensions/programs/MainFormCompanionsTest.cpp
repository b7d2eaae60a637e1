#include "MainFormFixture.h"

#include "document/Undo.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace {

class MainFormCompanionsTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins"));
    qputenv("LUMA_COMPANION_LOG", Path("companion.log").toLocal8Bit());
  }
  void TearDown() override {
    qunsetenv("LUMA_COMPANION_LOG");
    qunsetenv("LUMA_COMPANION_MODE");
    MainFormFixture::TearDown();
  }
  // The stand-in installed under a companion's name, doing Mode.
  void Install(const char* Name, const char* Mode) {
    ASSERT_TRUE(QFile::link(LUMA_TEST_COMPANION, Path(QString("Plugins/") + Name)));
    qputenv("LUMA_COMPANION_MODE", Mode);
  }
  QStringList LogLines() {
    QFile Log(Path("companion.log"));
    if (!Log.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(Log.readAll()).split('\n', Qt::SkipEmptyParts);
  }
  // The frame given back once the companion ended.
  static bool FrameBack(TMainForm& Form) { return Form.menuBar()->isEnabled(); }
};

TEST_F(MainFormCompanionsTest, TheBridgeTakesTheLayerAndGivesItBackInOneUndoStep) {
  Install("LumaBridge32.exe", "invert");
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TMyImageLayered Doc;
  Doc.AddBackground(12, 9, clWhite, "#0");
  FillRandom(Doc.Layers()[0].Bitmap(), 5);
  Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  const PBitmap Before = Copy(Form->LeBitmap());

  emit Form->MenuNamed("MenuFiltre")->aboutToShow();
  QAction* Bridge = Form->MenuItem("MenuLumaBridge");
  ASSERT_TRUE(Bridge->isEnabled());
  Bridge->trigger();
  EXPECT_FALSE(FrameBack(*Form)); // the window waits for the program
  // Put away while the program works, the window comes back when it ends.
  Form->showMinimized();
  ASSERT_TRUE(Form->isMinimized());
  ASSERT_TRUE(WaitUntil([&] { return FrameBack(*Form) && Form->ListeUndo().Count() > 0; }));
  EXPECT_FALSE(Form->isMinimized());
  EXPECT_TRUE(Form->isVisible());
  EXPECT_TRUE(WaitUntil([&] { return Form->isActiveWindow(); }));

  const QStringList Log = LogLines();
  ASSERT_EQ(Log.size(), 2);
  EXPECT_TRUE(Log[0].startsWith("-hwnd=")) << Log[0].toStdString();
  EXPECT_TRUE(Log[0].endsWith(" -lng=FR -ini=" + State.MainIniFile)) << Log[0].toStdString();
  EXPECT_EQ(Log[1].split(' ').size(), 7) << Log[1].toStdString(); // "colours" and the two colours' bytes
  const TRGB P = Px(*Before, 7, 4);
  EXPECT_EQ(Px(Form->LeBitmap(), 7, 4), Rgb(255 - P.Red, 255 - P.Green, 255 - P.Blue));
  Form->Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Before);
}

TEST_F(MainFormCompanionsTest, ScannedImagesOpenInTheirOwnWindowAndCircleTextBecomesALayer) {
  Install("LMTwain32.exe", "image");
  TIniFile(Path("Plugins/LMCircleText32.lng")).WriteString("FR", "Caption", "Cercle");
  ASSERT_TRUE(QFile::link(LUMA_TEST_COMPANION, Path("Plugins/LMCircleText32.exe")));
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();

  Form->MenuItem("MenuTwainNumeriser")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return FrameBack(*Form) && Form->UneImage(); }));
  EXPECT_TRUE(LogLines().value(0).startsWith("-gui -hwnd="));
  EXPECT_EQ(Form->LeFond().Width(), 4);
  EXPECT_EQ(Form->NomFichier(), "scan.png");
  EXPECT_EQ(Form->Image().ResolutionX, 300);

  qputenv("LUMA_COMPANION_MODE", "layer");
  QAction* Circle = nullptr;
  for (QAction* A : Form->MenuNamed("MenuCalqueNouveau")->actions())
    if (A->text() == "Cercle...") Circle = A;
  ASSERT_NE(Circle, nullptr);
  Circle->trigger();
  ASSERT_TRUE(WaitUntil([&] { return FrameBack(*Form) && Form->Image().Layers().Count() == 2; }));
  EXPECT_EQ(Form->Image().CurrentLayer()->Caption, "Courbe");
  EXPECT_EQ(Form->LeBitmap().Width(), 3);
  EXPECT_TRUE(Form->HasAlpha());
  EXPECT_EQ(LogLines().value(1), "-hwnd=" + LogLines().value(0).section("-hwnd=", 1).section(' ', 0, 0) + " -lng=FR");
}

TEST_F(MainFormCompanionsTest, AProgramThatEndsWithoutItsNoticeGivesTheWindowBack) {
  Install("LumaBridge32.exe", "silent");
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TMyImageLayered Doc;
  Doc.AddBackground(12, 9, clWhite, "#0");
  Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  emit Form->MenuNamed("MenuFiltre")->aboutToShow();
  Form->MenuItem("MenuLumaBridge")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return FrameBack(*Form) && !LogLines().isEmpty(); }));
  EXPECT_EQ(Form->ListeUndo().Count(), 0);
}

TEST_F(MainFormCompanionsTest, MissingCompanionsLeaveTheirCommandsOut) {
  const auto Form = Start();
  emit Form->MenuNamed("MenuFiltre")->aboutToShow();
  EXPECT_FALSE(Form->MenuItem("MenuLumaBridge")->isVisible());
  EXPECT_FALSE(Form->MenuItem("SepLumaBridge")->isVisible());
}

} // namespace
