#include "EditorProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The editor starts, shows its window and leaves cleanly when asked to close.
TEST(Startup, StartsAndExitsCleanlyWhenAskedToClose) {
  // Settings go to a folder of the test's own, never the user's.
  QTemporaryDir Home;
  TEditorProcess Editor(Home.path());
  ASSERT_TRUE(Editor.WaitReady()) << Editor.Errors();
  ASSERT_TRUE(Editor.CloseBySignal());
  EXPECT_TRUE(Editor.ExitedNormally()) << Editor.Errors();
  EXPECT_EQ(Editor.ExitCode(), 0) << Editor.Errors();
}

namespace {

// Runs the editor with its per-user folder under ConfigHome until SIGTERM.
void RunOnce(const QString& ConfigHome, const QStringList& Args = {}) {
  TEditorProcess Editor(ConfigHome, Args);
  ASSERT_TRUE(Editor.WaitReady()) << Editor.Errors();
  ASSERT_TRUE(Editor.CloseBySignal());
  EXPECT_EQ(Editor.ExitCode(), 0) << Editor.Errors();
}

} // namespace

// The settings written at exit are read back by the next start.
TEST(Startup, SettingsSurviveARestart) {
  QTemporaryDir Home;
  const QString Ini = Home.path() + "/Lumaretique 11/Lumaretique.ini";
  RunOnce(Home.path());
  ASSERT_TRUE(QFile::exists(Ini));
  QFile Recent(Home.path() + "/photo.png");
  ASSERT_TRUE(Recent.open(QIODevice::WriteOnly));
  Recent.close();
  {
    QFile File(Ini);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(QStringLiteral("[Position]\nX=33\nY=44\nW=300\nH=200\n[Files]\nFile1=%1\nFile2=%2/gone.png\n")
                   .arg(Recent.fileName(), Home.path())
                   .toUtf8());
  }
  RunOnce(Home.path());
  QFile File(Ini);
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  const QString Text = QString::fromUtf8(File.readAll());
  EXPECT_TRUE(Text.contains("X=33\n")) << Text.toStdString();
  EXPECT_TRUE(Text.contains("W=300\n")) << Text.toStdString();
  EXPECT_TRUE(Text.contains("File1=" + Recent.fileName())) << Text.toStdString();
  EXPECT_FALSE(Text.contains("File2=")) << Text.toStdString(); // a missing file leaves the list
}

// -ini: names the settings file; -localini the one in the current folder.
TEST(Startup, IniOptionChoosesTheFile) {
  QTemporaryDir Home;
  const QString Ini = Home.path() + "/Custom Name.ini";
  RunOnce(Home.path(), {"-INI:" + Ini});
  EXPECT_TRUE(QFile::exists(Ini));
  EXPECT_FALSE(QFile::exists(Home.path() + "/Lumaretique 11/Lumaretique.ini"));
}
