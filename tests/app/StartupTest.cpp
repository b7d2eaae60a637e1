#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

// The editor starts, shows its window and leaves cleanly when asked to close.
TEST(Startup, StartsAndExitsCleanlyWhenAskedToClose) {
  QProcess Editor;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("QT_QPA_PLATFORM", "offscreen");
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
