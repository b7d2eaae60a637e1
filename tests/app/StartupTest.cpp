#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

// The editor starts, shows its window and leaves cleanly when asked to close.
TEST(Startup, StartsAndExitsCleanlyWhenAskedToClose) {
  QProcess Editor;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("QT_QPA_PLATFORM", "offscreen");
  // Settings go to a folder of the test's own, never the user's.
  QTemporaryDir Home;
  Env.insert("XDG_CONFIG_HOME", Home.path());
  Editor.setProcessEnvironment(Env);
  Editor.start(LUMA_EXECUTABLE, {});
  ASSERT_TRUE(Editor.waitForStarted(10000));
  // Still running after a moment: the window is up and waiting for the user.
  EXPECT_FALSE(Editor.waitForFinished(1500)) << Editor.readAllStandardError().toStdString();
  ::kill(static_cast<pid_t>(Editor.processId()), SIGTERM);
  ASSERT_TRUE(Editor.waitForFinished(20000));
  EXPECT_EQ(Editor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Editor.exitCode(), 0) << Editor.readAllStandardError().toStdString();
}

namespace {

// Runs the editor with its per-user folder under ConfigHome until SIGTERM.
void RunOnce(const QString& ConfigHome, const QStringList& Args = {}) {
  QProcess Editor;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("QT_QPA_PLATFORM", "offscreen");
  Env.insert("XDG_CONFIG_HOME", ConfigHome);
  Editor.setProcessEnvironment(Env);
  Editor.start(LUMA_EXECUTABLE, Args);
  ASSERT_TRUE(Editor.waitForStarted(10000));
  EXPECT_FALSE(Editor.waitForFinished(1500)) << Editor.readAllStandardError().toStdString();
  ::kill(static_cast<pid_t>(Editor.processId()), SIGTERM);
  ASSERT_TRUE(Editor.waitForFinished(20000));
  EXPECT_EQ(Editor.exitCode(), 0) << Editor.readAllStandardError().toStdString();
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
