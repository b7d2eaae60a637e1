// What one operation costs, measured in a child process so that its memory
// peak and its CPU time are its own: tests of hostile files use it to check
// that a reader refuses quickly and without a large allocation. CPU time,
// not wall time, so a busy machine does not make the test fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct TChildCost {
  bool Exited = false; // the body returned (no crash, no watchdog kill)
  int Result = -1;     // what the body returned
  double CpuMs = 0;    // user + system time of the body
  int64_t PeakKB = 0;  // growth of the resident set's peak during the body
  std::string Failure; // why the child did not report, when !Exited
};

// A memory figure of this process from /proc/self/status ("VmRSS",
// "VmHWM", "VmSize"), in KB; 0 when it cannot be read.
int64_t StatusKB(const char* Key);

// Runs Body in a forked child and reports its cost. The child is killed
// after a generous watchdog (a hang is a failure, not a wait).
TChildCost MeasureInChild(const std::function<int()>& Body);

// CPU budget of an operation that takes Ms on the optimised build: the
// sanitizer build runs the same code several times slower.
double CpuBudgetMs(double Ms);

// CPU time the calling thread has used so far: times an operation in place
// (difference of two readings) without a child, unaffected by other work on
// the machine, where the memory peak does not matter.
double ThreadCpuMs();
