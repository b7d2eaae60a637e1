#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, FakeClockMovesOnlyWhenTold) {
  TFakeClock Fake(std::chrono::seconds(5));
  EXPECT_EQ(Fake.Now(), std::chrono::seconds(5));
  Fake.AdvanceMs(1500);
  EXPECT_EQ(Fake.Now(), std::chrono::milliseconds(6500));
  Fake.Set(std::chrono::nanoseconds(3));
  EXPECT_EQ(Fake.Now(), std::chrono::nanoseconds(3));
}

TEST(Clock, ProgramClockCanBeReplacedAndRestored) {
  TClock* Steady = &ProgramClock();
  TFakeClock Outer(std::chrono::seconds(1)), Inner(std::chrono::seconds(2));
  {
    TScopedClock A(Outer);
    EXPECT_EQ(MonoNow(), std::chrono::seconds(1));
    {
      TScopedClock B(Inner);
      EXPECT_EQ(MonoNow(), std::chrono::seconds(2));
    }
    EXPECT_EQ(&ProgramClock(), &Outer);
  }
  EXPECT_EQ(&ProgramClock(), Steady);
  SetProgramClock(&Inner);
  EXPECT_EQ(MonoNow(), std::chrono::seconds(2));
  SetProgramClock(nullptr);
  EXPECT_EQ(&ProgramClock(), Steady);
  const TMonoTime T1 = MonoNow();
  const TMonoTime T2 = MonoNow();
  EXPECT_LE(T1, T2);
}
