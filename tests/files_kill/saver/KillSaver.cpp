// Saves files in child processes until the test kills them, alternately in
// two versions. Each input line is "<command> unnamed|named <file>":
// "loop" forks a child that saves version 0, prints "ready <pid>" and then
// saves versions 1, 0, 1 ... without end; when the child is gone, "end
// killed" (or how else it ended) is printed. "once" saves version 0 here and
// prints "saved" or "failed". "named" makes the safe file use its named
// fallback, as on a file system without unnamed files. The program ends with
// its input.
//
// Forking costs far less than starting a sanitized program for every kill.
#include "platform/SafeFile.h"
#include "saver/SaveVersions.h"

#include <csignal>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void Say(const std::string& Line) {
  const std::string Text = Line + '\n';
  [[maybe_unused]] const ssize_t N = ::write(STDOUT_FILENO, Text.data(), Text.size());
}

[[noreturn]] void SaveForEver(const QString& FileName) {
  if (!SaveVersion(FileName, 0)) ::_exit(1);
  Say("ready " + std::to_string(::getpid()));
  for (int Version = 1;; Version ^= 1)
    if (!SaveVersion(FileName, Version)) ::_exit(1);
}

std::string HowItEnded(int Status) {
  if (WIFSIGNALED(Status)) return WTERMSIG(Status) == SIGKILL ? "killed" : "signal " + std::to_string(WTERMSIG(Status));
  return "exit " + std::to_string(WEXITSTATUS(Status));
}

} // namespace

int main() {
  VersionPicture(0); // made once, before the children
  for (std::string Line; std::getline(std::cin, Line);) {
    std::istringstream Words(Line);
    std::string Command, Mode, Name;
    Words >> Command >> Mode >> std::ws;
    std::getline(Words, Name);
    const QString FileName = QString::fromLocal8Bit(Name.c_str());
    SetSafeFileUnnamedAllowed(Mode != "named");
    if (Command == "once") {
      Say(SaveVersion(FileName, 0) ? "saved" : "failed");
    } else if (Command == "loop") {
      const pid_t Child = ::fork();
      if (Child == 0) SaveForEver(FileName);
      int Status = 0;
      if (Child < 0 || ::waitpid(Child, &Status, 0) != Child) return 1;
      Say("end " + HowItEnded(Status));
    }
  }
  return 0;
}
