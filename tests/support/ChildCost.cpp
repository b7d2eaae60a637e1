#include "support/ChildCost.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

namespace {

double CpuMsOf(const rusage& U) {
  return (U.ru_utime.tv_sec + U.ru_stime.tv_sec) * 1000.0 + (U.ru_utime.tv_usec + U.ru_stime.tv_usec) / 1000.0;
}

struct TReport {
  int Result;
  double CpuMs;
  int64_t PeakKB;
};

constexpr auto Watchdog = std::chrono::seconds(120);

} // namespace

int64_t StatusKB(const char* Key) {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  const size_t KeyLength = std::strlen(Key);
  while (std::getline(Status, Line))
    if (Line.compare(0, KeyLength, Key) == 0 && Line.size() > KeyLength && Line[KeyLength] == ':')
      return std::stoll(Line.substr(KeyLength + 1));
  return 0;
}

TChildCost MeasureInChild(const std::function<int()>& Body) {
  TChildCost Cost;
  int Pipe[2];
  if (::pipe(Pipe) != 0) {
    Cost.Failure = "pipe failed";
    return Cost;
  }
  std::fflush(nullptr);
  const pid_t Child = ::fork();
  if (Child < 0) {
    Cost.Failure = "fork failed";
    return Cost;
  }
  if (Child == 0) {
    ::close(Pipe[0]);
    // Resets the peak to the present resident set, so only the body counts.
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const int64_t Before = StatusKB("VmRSS");
    rusage Start{}, End{};
    ::getrusage(RUSAGE_SELF, &Start);
    const int Result = Body();
    ::getrusage(RUSAGE_SELF, &End);
    const TReport Report{Result, CpuMsOf(End) - CpuMsOf(Start), StatusKB("VmHWM") - Before};
    [[maybe_unused]] const ssize_t Written = ::write(Pipe[1], &Report, sizeof Report);
    ::_exit(0);
  }
  ::close(Pipe[1]);
  // The watchdog: a body that hangs is killed, and the read below then ends.
  bool Done = false;
  std::thread Guard([&] {
    const auto Deadline = std::chrono::steady_clock::now() + Watchdog;
    while (!__atomic_load_n(&Done, __ATOMIC_ACQUIRE) && std::chrono::steady_clock::now() < Deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!__atomic_load_n(&Done, __ATOMIC_ACQUIRE)) ::kill(Child, SIGKILL);
  });
  TReport Report{};
  const ssize_t Read = ::read(Pipe[0], &Report, sizeof Report);
  ::close(Pipe[0]);
  int Status = 0;
  ::waitpid(Child, &Status, 0);
  __atomic_store_n(&Done, true, __ATOMIC_RELEASE);
  Guard.join();
  if (Read == ssize_t(sizeof Report) && WIFEXITED(Status)) {
    Cost.Exited = true;
    Cost.Result = Report.Result;
    Cost.CpuMs = Report.CpuMs;
    Cost.PeakKB = Report.PeakKB;
  } else if (WIFSIGNALED(Status)) {
    Cost.Failure = std::string("killed by signal ") + std::to_string(WTERMSIG(Status));
  } else {
    Cost.Failure = "exited with status " + std::to_string(WEXITSTATUS(Status)) + " without a report";
  }
  return Cost;
}

double CpuBudgetMs(double Ms) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  return Ms * 10;
#else
  return Ms;
#endif
}

double ThreadCpuMs() {
  timespec T{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1000.0 + T.tv_nsec / 1e6;
}
