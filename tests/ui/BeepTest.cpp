#include "platform/Beep.h"

#include <gtest/gtest.h>

namespace {

int Sounds = 0;
void CountSound() { ++Sounds; }

TEST(BeepTest, CountsAndSilencesWithinAScope) {
  SetBeepSound(CountSound);
  Beep();
  EXPECT_EQ(Sounds, 1);
  {
    TBeepCounter Counter;
    EXPECT_EQ(Counter.Count(), 0);
    Beep();
    Beep();
    EXPECT_EQ(Counter.Count(), 2);
    EXPECT_EQ(Sounds, 1); // silent meanwhile
  }
  Beep();
  EXPECT_EQ(Sounds, 2);
  SetBeepSound(nullptr);
  const int Before = BeepCount();
  Beep();
  EXPECT_EQ(BeepCount(), Before + 1);
  EXPECT_EQ(Sounds, 2);
}

} // namespace
