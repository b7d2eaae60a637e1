// The clipboard between the editor and another program on one X server: a
// copy made by the editor pastes with the same pixels into a Qt program, and
// an image copied by that program pastes into the editor with the same
// pixels and the default side data, even when its pixels are those of the
// editor's last copy.
#include "document/ui/Past.h"

#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/WaitFor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class X11ApplicationEnv : public ::testing::Environment {
public:
  void SetUp() override { App = std::make_unique<QGuiApplication>(Argc, Argv); }
  void TearDown() override { App.reset(); }

private:
  int Argc = 1;
  char Name[24] = "lumaretique-tests";
  char* Argv[2] = {Name, nullptr};
  std::unique_ptr<QGuiApplication> App;
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new X11ApplicationEnv);

// A 24-bit copy of an image read back from a file.
std::unique_ptr<TBitmap> Read24(const QString& FileName) {
  const QImage I = QImage(FileName).convertToFormat(QImage::Format_RGB32);
  auto B = std::make_unique<TBitmap>();
  if (I.isNull()) return B;
  NewBitmap24(*B, I.width(), I.height(), clBlack);
  for (int Y = 0; Y < I.height(); ++Y)
    for (int X = 0; X < I.width(); ++X) {
      const QRgb P = I.pixel(X, Y);
      SetPx(*B, X, Y, Rgb(qRed(P), qGreen(P), qBlue(P)));
    }
  return B;
}

class ClipboardX11 : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Folder.isValid());
    NewBitmap24(Picture, 37, 23, clBlack);
    FillRandom(Picture, 31);
    ClipboardData().ResetData();
  }
  QString Path(const QString& Name) const { return Folder.filePath(Name); }
  // Runs the peer to its end, serving the clipboard meanwhile.
  int RunPeer(QProcess& Peer) {
    EXPECT_TRUE(WaitUntil([&] { return Peer.state() == QProcess::NotRunning; }));
    return Peer.exitCode();
  }

  QTemporaryDir Folder;
  TBitmap Picture;
};

} // namespace

TEST_F(ClipboardX11, ACopyFromTheEditorPastesIntoAnotherProgram) {
  ClipboardData().Assign(&Picture, nullptr, 96);
  QProcess Peer;
  Peer.start(QStringLiteral(LUMA_CLIPBOARD_PEER), {QStringLiteral("get"), Path(QStringLiteral("got.png"))});
  ASSERT_TRUE(Peer.waitForStarted());
  ASSERT_EQ(RunPeer(Peer), 0) << Peer.readAllStandardError().toStdString();
  const auto Got = Read24(Path(QStringLiteral("got.png")));
  EXPECT_IMAGES_MATCH(*Got, Picture);
}

TEST_F(ClipboardX11, AnotherProgramsCopyPastesWithItsPixelsAndTheDefaults) {
  // The editor's own copy first, with a mask and a resolution...
  TBitmap Mask;
  NewBitmap24(Mask, 37, 23, clWhite);
  ClipboardData().Assign(&Picture, &Mask, 300);
  // ... then the very same pixels copied by another program.
  const QString File = Path(QStringLiteral("put.png"));
  ASSERT_TRUE(const_cast<TBitmap&>(Picture).QImageView().save(File, "PNG"));
  QProcess Peer;
  Peer.start(QStringLiteral(LUMA_CLIPBOARD_PEER), {QStringLiteral("put"), File});
  ASSERT_TRUE(Peer.waitForStarted());
  ASSERT_TRUE(WaitUntil([&] { return Peer.canReadLine() || Peer.state() == QProcess::NotRunning; }));
  ASSERT_EQ(Peer.readLine().trimmed(), QByteArray("ready"));
  ASSERT_TRUE(WaitUntil([] { return !QGuiApplication::clipboard()->ownsClipboard(); }));

  TBitmap Bmp, Masque;
  const bool Read = ClipboardData().GetImage(Bmp, Masque);
  Peer.write("quit\n");
  Peer.closeWriteChannel();
  RunPeer(Peer);
  ASSERT_TRUE(Read);
  EXPECT_IMAGES_MATCH(Bmp, Picture);
  EXPECT_TRUE(Masque.Empty());
  EXPECT_TRUE(ClipboardData().MaskAlpha.Empty());
  EXPECT_EQ(ClipboardData().GetDPI(), 96);
  EXPECT_EQ(ClipboardData().Opacity(), 100);
  EXPECT_EQ(ClipboardData().BlendMode(), 0);
}
