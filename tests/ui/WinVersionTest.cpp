#include "ui/WinVersion.h"

#include <gtest/gtest.h>

namespace {

struct TVersionCase {
  TWinVersion Version;
  TWinVersionFlags Flags;
};

bool operator==(const TWinVersionFlags& A, const TWinVersionFlags& B) {
  return A.IsWin2000 == B.IsWin2000 && A.IsWinXP == B.IsWinXP && A.IsWinVista == B.IsWinVista && A.IsWin8 == B.IsWin8 &&
         A.IsWin10 == B.IsWin10 && A.IsWin11 == B.IsWin11;
}

TEST(WinVersionTest, FlagsOfEachGeneration) {
  //                 2000   XP     Vista  8      10     11
  const TVersionCase Cases[] = {
      {{5, 0, 2195}, {true, false, false, false, false, false}},  // Windows 2000
      {{5, 1, 2600}, {true, true, false, false, false, false}},   // XP
      {{6, 0, 6002}, {true, true, true, false, false, false}},    // Vista
      {{6, 1, 7601}, {true, true, true, false, false, false}},    // 7
      {{6, 2, 9200}, {true, true, true, true, false, false}},     // 8
      {{6, 3, 9600}, {true, true, true, false, false, false}},    // 8.1 does not count as 8
      {{10, 0, 19045}, {true, true, true, true, true, false}},    // 10
      {{10, 0, 22000}, {true, true, true, true, true, true}},     // first 11
      {{4, 0, 1381}, {false, false, false, false, false, false}}, // NT 4
  };
  for (const TVersionCase& C : Cases)
    EXPECT_TRUE(ComputeWinVersionFlags(C.Version) == C.Flags)
        << C.Version.Major << "." << C.Version.Minor << "." << C.Version.Build;
}

TEST(WinVersionTest, ThePlatformIsEmulatedAsWindows11) {
  EXPECT_EQ(WinVersion.Major, 10);
  EXPECT_EQ(WinVersion.Minor, 0);
  EXPECT_EQ(WinVersion.Build, 22631);
  EXPECT_TRUE(IsWin2000 && IsWinXP && IsWinVista && IsWin8 && IsWin10 && IsWin11);
}

} // namespace
