// Which Windows generation the program behaves as. The flags are computed
// from a major, minor and build number; this platform is emulated as Windows
// 11 (10.0, build 22631), so every flag is true. Depends on nothing.
#pragma once

struct TWinVersion {
  int Major = 0;
  int Minor = 0;
  int Build = 0;
};

struct TWinVersionFlags {
  bool IsWin2000 = false;  // major >= 5
  bool IsWinXP = false;    // 5.1 and later
  bool IsWinVista = false; // major >= 6
  bool IsWin8 = false;     // exactly 6.2, or major >= 7 (6.3 does not count)
  bool IsWin10 = false;    // major >= 10
  bool IsWin11 = false;    // major >= 10 and build >= 22000
};

constexpr TWinVersionFlags ComputeWinVersionFlags(const TWinVersion& V) {
  TWinVersionFlags F;
  F.IsWin2000 = V.Major >= 5;
  F.IsWinXP = (V.Major == 5 && V.Minor >= 1) || V.Major >= 6;
  F.IsWinVista = V.Major >= 6;
  F.IsWin8 = (V.Major == 6 && V.Minor == 2) || V.Major >= 7;
  F.IsWin10 = V.Major >= 10;
  F.IsWin11 = V.Major >= 10 && V.Build >= 22000;
  return F;
}

inline constexpr TWinVersion WinVersion{10, 0, 22631};
inline constexpr TWinVersionFlags WinVersionFlags = ComputeWinVersionFlags(WinVersion);

inline constexpr bool IsWin2000 = WinVersionFlags.IsWin2000;
inline constexpr bool IsWinXP = WinVersionFlags.IsWinXP;
inline constexpr bool IsWinVista = WinVersionFlags.IsWinVista;
inline constexpr bool IsWin8 = WinVersionFlags.IsWin8;
inline constexpr bool IsWin10 = WinVersionFlags.IsWin10;
inline constexpr bool IsWin11 = WinVersionFlags.IsWin11;
