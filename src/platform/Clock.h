// The program's monotonic clock, injectable so that time-driven behaviour
// (progress throttling, guards against reopening too soon) is tested without
// sleeping. Depends on nothing; used by raster and the interface.
#pragma once

#include <chrono>
#include <cstdint>

// A point on a monotonic time line; only differences between two points mean
// anything.
using TMonoTime = std::chrono::nanoseconds;

class TClock {
public:
  virtual ~TClock() = default;
  virtual TMonoTime Now() const = 0;
};

// std::chrono::steady_clock: the clock of the running program.
class TSteadyClock final : public TClock {
public:
  TMonoTime Now() const override;
};

// A clock that moves only when told to.
class TFakeClock final : public TClock {
public:
  explicit TFakeClock(TMonoTime Start = TMonoTime{0}) : FNow(Start) {}
  TMonoTime Now() const override { return FNow; }
  void Set(TMonoTime Time) { FNow = Time; }
  void Advance(TMonoTime Delta) { FNow += Delta; }
  void AdvanceMs(int64_t Ms) { FNow += std::chrono::milliseconds(Ms); }

private:
  TMonoTime FNow;
};

// The clock every timed service reads. Not owned; nullptr restores the steady
// clock. Set from the interface thread only.
TClock& ProgramClock();
void SetProgramClock(TClock* Clock);
inline TMonoTime MonoNow() { return ProgramClock().Now(); }

// Installs a clock for the lifetime of a scope (tests) and puts the previous
// one back.
class TScopedClock {
public:
  explicit TScopedClock(TClock& Clock);
  ~TScopedClock();
  TScopedClock(const TScopedClock&) = delete;
  TScopedClock& operator=(const TScopedClock&) = delete;

private:
  TClock* FPrevious;
};
