// The cost measure that the hostile-file tests rely on must see a large
// allocation and a crash, or those tests could never fail.
#include "support/ChildCost.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <memory>

TEST(ChildCost, SeesTheMemoryATouchedAllocationTakes) {
  const TChildCost Small = MeasureInChild([] { return 7; });
  ASSERT_TRUE(Small.Exited) << Small.Failure;
  EXPECT_EQ(Small.Result, 7);
  EXPECT_LT(Small.PeakKB, 8 * 1024);

  const TChildCost Large = MeasureInChild([] {
    constexpr size_t Size = size_t(96) << 20;
    auto Block = std::make_unique<char[]>(Size);
    std::memset(Block.get(), 1, Size);
    return int(Block[Size - 1]);
  });
  ASSERT_TRUE(Large.Exited) << Large.Failure;
  EXPECT_GE(Large.PeakKB, 90 * 1024);
}

TEST(ChildCost, ReportsACrashInsteadOfAResult) {
  const TChildCost Crash = MeasureInChild([]() -> int { std::raise(SIGKILL); return 0; });
  EXPECT_FALSE(Crash.Exited);
  EXPECT_NE(Crash.Failure.find("signal"), std::string::npos);
}
