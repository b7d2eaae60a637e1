#include "platform/Clock.h"

namespace {
TSteadyClock SteadyClock;
TClock* CurrentClock = &SteadyClock;
} // namespace

TMonoTime TSteadyClock::Now() const {
  return std::chrono::duration_cast<TMonoTime>(std::chrono::steady_clock::now().time_since_epoch());
}

TClock& ProgramClock() { return *CurrentClock; }

void SetProgramClock(TClock* Clock) { CurrentClock = Clock ? Clock : &SteadyClock; }

TScopedClock::TScopedClock(TClock& Clock) : FPrevious(CurrentClock) { CurrentClock = &Clock; }

TScopedClock::~TScopedClock() { CurrentClock = FPrevious; }
