#include "platform/Colors.h"
#include "platform/Rounding.h"
#include "platform/Win1252.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Rounding, TiesGoToEven) {
  struct Case {
    double X;
    int Round, Trunc, Ceil;
  };
  for (const Case& C : {Case{0.5, 0, 0, 1}, Case{1.5, 2, 1, 2}, Case{2.5, 2, 2, 3}, Case{-0.5, 0, 0, 0},
                        Case{-1.5, -2, -1, -1}, Case{-2.5, -2, -2, -2}, Case{2.4999, 2, 2, 3}, Case{3.0, 3, 3, 3}}) {
    EXPECT_EQ(Round(C.X), C.Round) << C.X;
    EXPECT_EQ(Trunc(C.X), C.Trunc) << C.X;
    EXPECT_EQ(Ceil(C.X), C.Ceil) << C.X;
  }
}

TEST(Rounding, OutOfRangeValuesSaturate) {
  EXPECT_EQ(Round(1e300), INT_MAX);
  EXPECT_EQ(Round(-1e300), INT_MIN);
  EXPECT_EQ(Round(std::nan("")), 0);
  EXPECT_EQ(Trunc(-1e20), INT_MIN);
  EXPECT_EQ(Round64(1e15 + 0.5), 1000000000000000LL);
}

TEST(Colors, SystemColoursResolveFromTheTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(0, 120, 215));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_TRUE(SameColor24(0x02123456, 0x00123456));
}

TEST(Win1252, RoundTripsThePageAndReplacesTheRest) {
  std::string All;
  for (int B = 1; B < 256; ++B) All.push_back(static_cast<char>(B));
  EXPECT_EQ(ToWin1252(FromWin1252(All)), All);
  EXPECT_EQ(FromWin1252("\x80\xE9"), QString::fromUtf8("€é"));
  EXPECT_EQ(ToWin1252(QString::fromUtf8("a€ж😀")), std::string("a\x80??"));
}
