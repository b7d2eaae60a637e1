// The main window opening a picture far larger than its file: with memory
// limited it reports the failure and keeps its other document; with memory
// enough it holds at most two full-size copies of the pixels, shows the
// decoding's progress, and saves and reopens the picture.
//
// Each case runs in a fresh copy of this test program (a child process), so
// that its memory limit and its memory peak are its own. Under the address
// sanitizer a limit on the address space cannot work (the sanitizer reserves
// terabytes) and its operator new aborts instead of throwing, so the child
// gets the sanitizer's own options: a largest allocation, which the C
// allocator (and so the pixel allocation) answers with null; and no
// quarantine, which would otherwise keep freed pixels resident.
#include "app/ui/MainForm.h"
#include "app/ui/MainStatusBar.h"
#include "dialogs/ui/New.h"
#include "document/MyImageLayered.h"
#include "files/ui/BmpOE2.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "raster/DataFileError.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "support/ChildCost.h"
#include "support/WaitFor.h"
#include "ui/MsgDlg.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/resource.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

// Where a child case finds its files; unset in the parent run.
constexpr char ChildDirVar[] = "LUMA_HUGE_IMAGE_DIR";

// Pictures of 12000 x 12000 whose reading needs more than the child's limit
// on one allocation (sanitizer) or on the address space added (release):
// a grey one, read as 8 bits, whose 24-bit background cannot be made (the
// open command runs out); a grey one with alpha, read as 2 bytes a pixel,
// whose 32-bit bitmap cannot be made (the reader runs out).
constexpr int HugeSide = 12000;
constexpr int64_t LimitMB = 400;
// A one-colour RGB picture for the peak: 8000 x 8000 is 192 MB per copy.
constexpr int PeakSide = 8000;
constexpr int64_t PeakCopyBytes = int64_t(PeakSide) * PeakSide * 3;

void PutChunk(std::ofstream& Out, const char* Type, const std::string& Data) {
  const uint32_t Length = uint32_t(Data.size());
  const char Size[4] = {char(Length >> 24), char(Length >> 16), char(Length >> 8), char(Length)};
  Out.write(Size, 4);
  uLong Crc = crc32(0, reinterpret_cast<const Bytef*>(Type), 4);
  Crc = crc32(Crc, reinterpret_cast<const Bytef*>(Data.data()), uInt(Data.size()));
  Out.write(Type, 4);
  Out.write(Data.data(), std::streamsize(Data.size()));
  const char C[4] = {char(Crc >> 24), char(Crc >> 16), char(Crc >> 8), char(Crc)};
  Out.write(C, 4);
}

// A PNG of one colour at zlib's best ratio, written row by row so that the
// test never holds the picture: the first row's Sub filter gives every pixel
// the first one's samples, the others' Up filter repeats the row above.
// ColorType 0 (grey), 2 (RGB) or 4 (grey and alpha), 8 bits a sample.
void WriteSolidPng(const QString& Path, int W, int H, uint8_t ColorType, const std::string& Pixel) {
  const size_t Channels = Pixel.size();
  std::string Header(13, '\0');
  for (int I = 0; I < 4; ++I) {
    Header[size_t(I)] = char(uint32_t(W) >> (24 - 8 * I));
    Header[size_t(4 + I)] = char(uint32_t(H) >> (24 - 8 * I));
  }
  Header[8] = 8;
  Header[9] = char(ColorType);
  std::string Compressed;
  z_stream Z{};
  ASSERT_EQ(deflateInit(&Z, 9), Z_OK);
  std::string Row(size_t(W) * Channels + 1, '\0');
  std::string Out(1 << 16, '\0');
  const auto Feed = [&](int Flush) {
    Z.next_in = reinterpret_cast<Bytef*>(Row.data());
    Z.avail_in = uInt(Row.size());
    do {
      Z.next_out = reinterpret_cast<Bytef*>(Out.data());
      Z.avail_out = uInt(Out.size());
      deflate(&Z, Flush);
      Compressed.append(Out.data(), Out.size() - Z.avail_out);
    } while (Z.avail_out == 0);
  };
  Row[0] = 1; // Sub
  std::memcpy(&Row[1], Pixel.data(), Channels);
  Feed(Z_NO_FLUSH);
  std::fill(Row.begin(), Row.end(), '\0');
  Row[0] = 2; // Up
  for (int Y = 1; Y < H; ++Y) Feed(Y == H - 1 ? Z_FINISH : Z_NO_FLUSH);
  deflateEnd(&Z);
  std::ofstream File(Path.toStdString(), std::ios::binary);
  File.write("\x89PNG\r\n\x1a\n", 8);
  PutChunk(File, "IHDR", Header);
  PutChunk(File, "IDAT", Compressed);
  PutChunk(File, "IEND", std::string());
  ASSERT_TRUE(File.good());
}

// Runs the child case Name in a new copy of this program, with Sanitizer
// added to the sanitizer's options; the child's whole output on failure.
void RunChildCase(const QString& Dir, const char* Name, const QString& Sanitizer) {
  QProcess Child;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert(ChildDirVar, Dir);
  Env.insert("QT_QPA_PLATFORM", "offscreen");
  Env.insert("XDG_CONFIG_HOME", Dir);
  if (Sanitized) Env.insert("ASAN_OPTIONS", Env.value("ASAN_OPTIONS") + ":" + Sanitizer);
  Child.setProcessEnvironment(Env);
  Child.setProcessChannelMode(QProcess::MergedChannels);
  Child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=HugeImageChild.%1").arg(Name)});
  ASSERT_TRUE(Child.waitForStarted(60000));
  ASSERT_TRUE(Child.waitForFinished(600000));
  const QString Output = QString::fromLocal8Bit(Child.readAll());
  EXPECT_EQ(Child.exitStatus(), QProcess::NormalExit) << Output.toStdString();
  EXPECT_EQ(Child.exitCode(), 0) << Output.toStdString();
  EXPECT_TRUE(Output.contains("[  PASSED  ] 1 test")) << Output.toStdString();
}

QString ChildDir() { return qEnvironmentVariable(ChildDirVar); }

// A clock a second later at every reading: the progress service's delay and
// throttle pass at once, so every new percentage reaches the status bar.
class TRushingClock final : public TClock {
public:
  TMonoTime Now() const override { return FNow += std::chrono::seconds(1); }

private:
  mutable TMonoTime FNow{};
};

// The texts panel 0 showed while a progress fill was drawn.
class TProgressWatch : public QObject {
public:
  explicit TProgressWatch(TMainStatusBar* Bar) : FBar(Bar) { Bar->installEventFilter(this); }
  QStringList Seen;

protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::Paint && FBar->ProgressDrawn() && !Seen.contains(FBar->PanelText(0)))
      Seen << FBar->PanelText(0);
    return false;
  }

private:
  TMainStatusBar* FBar;
};

class HugeImageChild : public ::testing::Test {
protected:
  void SetUp() override {
    if (ChildDir().isEmpty()) GTEST_SKIP() << "runs as the child of a HugeImage case";
    State.ProgramDir = ChildDir() + "/";
    State.MainIniFile = ChildDir() + "/Lumaretique.ini";
    TIniFile(State.MainIniFile).WriteString("Params", "SaveDefault", "1");
    // As the program wires it: a file's error reaches the message dialog.
    SetFileErrorHandler([](const QString& M) { ShowMsgDlg(M, mdkError, {mdbOk}); });
  }
  void TearDown() override { SetFileErrorHandler(nullptr); }
  std::unique_ptr<TMainForm> Start() {
    auto Form = std::make_unique<TMainForm>(State);
    Form->resize(1000, 750);
    Form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    return Form;
  }
  TStartupState State;
};

} // namespace

TEST(HugeImage, OpeningWithoutEnoughMemoryIsReportedAndKeepsTheOtherDocument) {
  QTemporaryDir Dir;
  WriteSolidPng(Dir.path() + "/grey.png", HugeSide, HugeSide, 0, std::string(1, char(90)));
  WriteSolidPng(Dir.path() + "/greyalpha.png", HugeSide, HugeSide, 4, std::string{char(90), char(200)});
  RunChildCase(Dir.path(), "OpenWithLimitedMemory",
               QStringLiteral("allocator_may_return_null=1:max_allocation_size_mb=%1").arg(LimitMB));
}

TEST(HugeImage, OpeningHoldsTwoCopiesShowsProgressAndSavesAndReopens) {
  QTemporaryDir Dir;
  // Blue 40, green 30, red 200 as the file stores them, red first.
  WriteSolidPng(Dir.path() + "/bomb.png", PeakSide, PeakSide, 2, std::string{char(200), char(30), char(40)});
  RunChildCase(Dir.path(), "OpenSaveAndReopen", QStringLiteral("quarantine_size_mb=0"));
}

TEST_F(HugeImageChild, OpenWithLimitedMemory) {
  const QString Small = ChildDir() + "/small.png";
  QImage Picture(40, 30, QImage::Format_RGB32);
  Picture.fill(qRgb(10, 200, 30));
  ASSERT_TRUE(Picture.save(Small, "PNG"));
  QStringList Shown;
  TScopedMsgDlgAnswers Answers([&Shown](const TMsgDlgRequest& R) {
    Shown << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  });
  auto Form = Start();
  Form->Ouvrir(Small, true, true);
  ASSERT_EQ(ImageWindows().size(), 1u);
  TNewImgForm* First = ImageWindows()[0];
  if (!Sanitized) {
    // The address space from here on: the rows the reader decodes fit, the
    // bitmaps below do not.
    const rlim_t Limit = rlim_t(StatusKB("VmSize") * 1024 + LimitMB * 1024 * 1024);
    const rlimit Rl{Limit, Limit};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &Rl), 0);
  }
  // Where each runs out: the open command's 24-bit background, and the
  // reader's 32-bit bitmap.
  const struct {
    const char* Name;
    int64_t Needed;
  } Cases[] = {{"grey.png", int64_t(HugeSide) * HugeSide * 3}, {"greyalpha.png", int64_t(HugeSide) * HugeSide * 4}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const QString Huge = ChildDir() + "/" + Case.Name;
    Shown.clear();
    Form->Ouvrir(Huge, true, true);
    ASSERT_EQ(Shown.size(), 1);
    EXPECT_EQ(Shown[0], QString::fromUtf8("Mémoire insuffisante pour ouvrir l'image \"%1\" (%2 nécessaires).")
                            .arg(Huge, FormatByteSize(Case.Needed, false)));
  }
  // Nothing else changed, and the program goes on working.
  ASSERT_EQ(ImageWindows().size(), 1u);
  EXPECT_EQ(ImageWindows()[0], First);
  EXPECT_EQ(Form->LeFond().Width(), 40);
  EXPECT_EQ(Form->LeFond().PixelColor(5, 5), TColor(0x1EC80A));
  EXPECT_EQ(Form->ListeFichiers(), QStringList{Small});
  EXPECT_EQ(Form->StatusBar()->PanelText(0), QString::fromUtf8("Prêt"));
  Form->MenuFichierNouveauClick();
  auto* NewDialog = Form->findChild<TNewForm*>();
  ASSERT_TRUE(NewDialog && NewDialog->isVisible());
  NewDialog->BOk->click();
  EXPECT_EQ(ImageWindows().size(), 2u);
}

TEST_F(HugeImageChild, OpenSaveAndReopen) {
  TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest& R) {
    ADD_FAILURE() << R.Msg.toStdString();
    return TMsgDlgAnswer{mrOk, {}};
  });
  auto Form = Start();
  // The window takes the progress reports from its first paint on.
  ASSERT_TRUE(WaitUntil([&] { return ProgressSink() == Form.get(); }));
  TProgressWatch Watch(Form->StatusBar());
  const QString Bomb = ChildDir() + "/bomb.png";
  {
    TRushingClock Clock;
    TScopedClock Scope(Clock);
    // The peak from here is the open's own.
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const int64_t Before = StatusKB("VmRSS");
    Form->Ouvrir(Bomb, true, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form->EnfantActif()));
    QCoreApplication::processEvents();
    const int64_t PeakBytes = (StatusKB("VmHWM") - Before) * 1024;
    // Two copies (the layer and the composite), plus the sanitizer's shadow
    // of what it allocated (one byte in eight) and a margin for the window.
    const int64_t Allowed = 2 * PeakCopyBytes * (Sanitized ? 9 : 8) / 8 + (48 << 20);
    EXPECT_LE(PeakBytes, Allowed) << "peak " << (PeakBytes >> 20) << " MB, copy " << (PeakCopyBytes >> 20) << " MB";
  }
  ASSERT_EQ(ImageWindows().size(), 1u);
  EXPECT_EQ(Form->LeFond().Width(), PeakSide);
  EXPECT_EQ(Form->LeFond().Height(), PeakSide);
  EXPECT_EQ(Form->LeFond().PixelColor(PeakSide - 1, PeakSide - 1), TColor(0x281EC8));
  // The decoding's progress reached the status bar, rising.
  ASSERT_GE(Watch.Seen.size(), 2) << Watch.Seen.join(" | ").toStdString();
  EXPECT_TRUE(Watch.Seen.first().startsWith("Ouverture : ")) << Watch.Seen.first().toStdString();
  EXPECT_EQ(Form->StatusBar()->PanelText(0), QString::fromUtf8("Prêt"));
  EXPECT_FALSE(Form->StatusBar()->ProgressDrawn());

  // Saved under another name, closed, and opened again whole.
  const QString Copy = ChildDir() + "/copy.png";
  ASSERT_TRUE(Form->Enregistrer(Copy, QString(), true, false));
  Form->MenuFichierFermerToutClick();
  ASSERT_TRUE(ImageWindows().empty());
  Form->Ouvrir(Copy, true, true);
  ASSERT_EQ(ImageWindows().size(), 1u);
  EXPECT_EQ(Form->LeFond().Width(), PeakSide);
  EXPECT_EQ(Form->LeFond().PixelColor(0, 0), TColor(0x281EC8));
  EXPECT_EQ(Form->LeFond().PixelColor(PeakSide / 2, PeakSide - 1), TColor(0x281EC8));
}
