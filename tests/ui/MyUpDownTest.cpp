#include "ui/MyUpDown.h"

#include "QtPrinters.h"
#include "support/WaitFor.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

struct TCounts {
  int Clicks = 0;
  int Ends = 0;
};

void Watch(TMyUpDown& U, TCounts& C) {
  U.OnClick = [&](QObject* Sender) {
    EXPECT_EQ(Sender, &U);
    ++C.Clicks;
  };
  U.OnEndClick = [&](QObject*) { ++C.Ends; };
}

TEST(MyUpDownTest, CreationDefaults) {
  TMyUpDown U;
  EXPECT_EQ(U.ClickMode(), TClickMode::cmMulti);
  EXPECT_EQ(U.Min(), -9999);
  EXPECT_EQ(U.Max(), 9999);
  EXPECT_EQ(U.focusPolicy(), Qt::NoFocus);
}

TEST(MyUpDownTest, UpModeClicksOnReleaseInsideOnly) {
  TMyUpDown U;
  U.resize(16, 30);
  U.SetClickMode(TClickMode::cmUp);
  TCounts C;
  Watch(U, C);
  QTest::mousePress(&U, Qt::LeftButton, {}, QPoint(8, 5));
  EXPECT_EQ(C.Clicks, 0);
  QTest::mouseRelease(&U, Qt::LeftButton, {}, QPoint(8, 5));
  EXPECT_EQ(C.Clicks, 1);
  EXPECT_EQ(C.Ends, 1);
  QTest::mousePress(&U, Qt::LeftButton, {}, QPoint(8, 5));
  QTest::mouseRelease(&U, Qt::LeftButton, {}, QPoint(40, 5)); // released outside
  EXPECT_EQ(C.Clicks, 1);
  EXPECT_EQ(C.Ends, 2);
}

TEST(MyUpDownTest, DownModeClicksOnPress) {
  TMyUpDown U;
  U.resize(16, 30);
  U.SetClickMode(TClickMode::cmDown);
  TCounts C;
  Watch(U, C);
  QTest::mousePress(&U, Qt::LeftButton, {}, QPoint(8, 25));
  EXPECT_EQ(C.Clicks, 1);
  QTest::mouseRelease(&U, Qt::LeftButton, {}, QPoint(40, 25));
  EXPECT_EQ(C.Clicks, 1);
  EXPECT_EQ(C.Ends, 1);
}

TEST(MyUpDownTest, MultiModeRepeatsWhileHeldAndMovesThePosition) {
  TMyUpDown U;
  U.resize(16, 30);
  U.SetMin(0);
  U.SetMax(3);
  TCounts C;
  Watch(U, C);
  QTest::mouseClick(&U, Qt::LeftButton, {}, QPoint(8, 5)); // the upper arrow
  EXPECT_EQ(C.Clicks, 1);
  EXPECT_EQ(U.Position(), 1);
  QTest::mousePress(&U, Qt::LeftButton, {}, QPoint(8, 5));
  // The first repeat after 500 ms, then every 50 ms.
  EXPECT_TRUE(WaitUntil([&] { return C.Clicks >= 4; })) << C.Clicks;
  QTest::mouseRelease(&U, Qt::LeftButton, {}, QPoint(8, 5));
  EXPECT_EQ(U.Position(), 3); // held within Max
  const int Before = C.Clicks;
  QTest::mouseClick(&U, Qt::LeftButton, {}, QPoint(8, 25)); // the lower arrow
  EXPECT_EQ(C.Clicks, Before + 1);
  EXPECT_EQ(U.Position(), 2);
  EXPECT_EQ(C.Ends, 3);
}

TEST(MyUpDownTest, PrevNextButtonShowsOneHalf) {
  struct Case {
    TPNStyle Style;
    int S;
    QRect Expected; // left, top, width, height for a 17 x 15 button
  };
  const Case Cases[] = {
      {TPNStyle::stDown, 0, QRect(0, -15, 17, 30)},  {TPNStyle::stUp, 0, QRect(0, 0, 17, 30)},
      {TPNStyle::stLeft, 0, QRect(0, 0, 34, 15)},    {TPNStyle::stRight, 0, QRect(-17, 0, 34, 15)},
      {TPNStyle::stDown, 1, QRect(-1, -17, 19, 33)}, {TPNStyle::stUp, 1, QRect(-1, -1, 19, 33)},
      {TPNStyle::stLeft, 1, QRect(-1, -1, 37, 16)},  {TPNStyle::stRight, 1, QRect(-19, -1, 37, 16)},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(TPrevNextButton::UpDownRect(C.Style, 17, 15, C.S), C.Expected) << int(C.Style) << " " << C.S;

  TPrevNextButton B;
  B.resize(17, 15);
  EXPECT_EQ(B.ClickMode(), TClickMode::cmUp);
  EXPECT_EQ(B.UpDown()->Orientation(), Qt::Vertical);
  B.SetStyle(TPNStyle::stRight);
  EXPECT_EQ(B.UpDown()->Orientation(), Qt::Horizontal);
  int Clicks = 0, Ends = 0;
  B.OnClick = [&](QObject* Sender) {
    EXPECT_EQ(Sender, &B);
    ++Clicks;
  };
  B.OnEndClick = [&](QObject*) { ++Ends; };
  const QPoint Centre = B.UpDown()->mapFrom(&B, QPoint(8, 7));
  EXPECT_EQ(B.UpDown()->ButtonAt(Centre), TUDBtnType::btNext); // the right arrow shows
  QTest::mouseClick(B.UpDown(), Qt::LeftButton, {}, Centre);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Ends, 1);
  B.setEnabled(false);
  EXPECT_FALSE(B.UpDown()->isEnabled());
}

} // namespace
