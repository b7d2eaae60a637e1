// The editor's entry point.
#include "app/ui/ProgramMain.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int TerminationPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char Byte = 1;
  // Only async-signal-safe work here: wake the event loop, which closes the
  // main window as if the user had.
  [[maybe_unused]] const ssize_t Written = ::write(TerminationPipe[0], &Byte, 1);
}

// SIGTERM and SIGINT close the main window through the normal path, so that
// the same questions and clean-up run as for a close by the user.
void CloseOnTermination(QWidget& Window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, TerminationPipe) != 0) return;
  auto* Notifier = new QSocketNotifier(TerminationPipe[1], QSocketNotifier::Read, &Window);
  QObject::connect(Notifier, &QSocketNotifier::activated, &Window, [&Window] {
    char Byte;
    [[maybe_unused]] const ssize_t Read = ::read(TerminationPipe[1], &Byte, 1);
    Window.close();
  });
  struct sigaction Action {};
  Action.sa_handler = OnTerminationSignal;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &Action, nullptr);
  sigaction(SIGINT, &Action, nullptr);
}

} // namespace

int main(int argc, char* argv[]) { return ProgramMain(argc, argv, CloseOnTermination); }
