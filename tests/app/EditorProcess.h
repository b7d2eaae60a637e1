// The real editor run as a process of its own, with its per-user folder
// under a folder of the test's. It is asked to close only once it says its
// start-up is over: a signal sent earlier could come before its handler is
// installed, and before the files of its command line are open.
#pragma once

#include "support/WaitFor.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <string>

class TEditorProcess {
public:
  TEditorProcess(const QString& ConfigHome, const QStringList& Args = {}) {
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert("QT_QPA_PLATFORM", "offscreen");
    Env.insert("XDG_CONFIG_HOME", ConfigHome);
    // Its start-up message, on standard error whatever the user's settings.
    Env.insert("QT_LOGGING_RULES", "lumaretique.startup.info=true");
    Env.insert("QT_FORCE_STDERR_LOGGING", "1");
    Env.remove("QT_MESSAGE_PATTERN");
    FProcess.setProcessEnvironment(Env);
    FProcess.setReadChannel(QProcess::StandardError);
    FProcess.start(LUMA_EXECUTABLE, Args);
  }
  ~TEditorProcess() {
    if (FProcess.state() != QProcess::NotRunning) FProcess.kill();
    FProcess.waitForFinished();
  }

  // Until the editor reports its start-up over; false when it ended first.
  bool WaitReady() {
    WaitUntil([this] {
      FProcess.waitForReadyRead(50);
      Read();
      return IsReady() || FProcess.state() == QProcess::NotRunning;
    });
    return IsReady() && FProcess.state() == QProcess::Running;
  }
  // SIGTERM, as the system sends at log-out; true once the editor ended.
  bool CloseBySignal() {
    ::kill(static_cast<pid_t>(FProcess.processId()), SIGTERM);
    const bool Ended = FProcess.waitForFinished(int(WaitTimeout.count()));
    Read();
    return Ended;
  }
  bool ExitedNormally() const { return FProcess.exitStatus() == QProcess::NormalExit; }
  int ExitCode() const { return FProcess.exitCode(); }
  // Its standard error so far.
  std::string Errors() const { return FErrors.toStdString(); }

private:
  bool IsReady() const { return FErrors.contains("lumaretique.startup: ready"); }
  void Read() { FErrors += FProcess.readAllStandardError(); }

  QProcess FProcess;
  QByteArray FErrors;
};
