#include "ui/SimplePanel.h"

#include "UiTestSupport.h"

#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class SimplePanelTest : public ::testing::Test {
protected:
  void SetUp() override {
    Panel.resize(10, 8);
    Panel.SetColor(clWhite);
    Panel.SetBevelColor(clRed);
  }
  // Which pixels are border: Border(X, Y) gives the expectation.
  template <class F> void ExpectPixels(F Border) {
    const QImage I = GrabWidget(Panel);
    for (int Y = 0; Y < Panel.height(); ++Y)
      for (int X = 0; X < Panel.width(); ++X)
        EXPECT_EQ(PixelAt(I, X, Y), Border(X, Y) ? clRed : clWhite) << X << "," << Y;
  }
  TSimplePanel Panel;
};

TEST_F(SimplePanelTest, Defaults) {
  TSimplePanel P;
  EXPECT_EQ(P.size(), QSize(70, 70));
  EXPECT_EQ(P.BevelWidth(), 1);
  EXPECT_EQ(P.BevelColor(), clBtnShadow);
  EXPECT_EQ(P.BevelEdges(), beAllEdges);
  EXPECT_TRUE(P.ParentColor());
  EXPECT_EQ(P.ClientRect(), Rect(1, 1, 69, 69));
}

TEST_F(SimplePanelTest, FramesOnAllEdges) {
  ExpectPixels([](int X, int Y) { return X == 0 || Y == 0 || X == 9 || Y == 7; });
  Panel.SetBevelWidth(2);
  ExpectPixels([](int X, int Y) { return X < 2 || Y < 2 || X > 7 || Y > 5; });
  EXPECT_EQ(Panel.ClientRect(), Rect(2, 2, 8, 6));
}

TEST_F(SimplePanelTest, StripsOnChosenEdges) {
  Panel.SetBevelWidth(2);
  Panel.SetBevelEdges(beTop | beBottom);
  ExpectPixels([](int, int Y) { return Y < 2 || Y > 5; });
  EXPECT_EQ(Panel.ClientRect(), Rect(0, 2, 10, 6)); // 4 pixels lower in total
  Panel.SetBevelEdges(beLeft | beTop);
  ExpectPixels([](int X, int Y) { return X < 2 || Y < 2; });
  Panel.SetBevelEdges(beRight);
  ExpectPixels([](int X, int) { return X > 7; });
}

TEST_F(SimplePanelTest, NoColourDrawsNothingButKeepsTheSpace) {
  Panel.SetBevelWidth(2);
  Panel.SetBevelEdges(beTop | beBottom);
  Panel.SetBevelColor(clNone);
  ExpectPixels([](int, int) { return false; });
  EXPECT_EQ(Panel.ClientRect(), Rect(0, 2, 10, 6));
  // Layouts place children inside the client area.
  auto* Layout = new QVBoxLayout(&Panel);
  Layout->setSpacing(0);
  Layout->setContentsMargins(0, 0, 0, 0);
  auto* Child = new QWidget;
  Layout->addWidget(Child);
  Panel.resize(40, 30);
  Layout->activate();
  EXPECT_EQ(Child->geometry(), QRect(0, 2, 40, 26));
}

TEST_F(SimplePanelTest, NegativeOrZeroWidthDrawsNothing) {
  Panel.SetBevelWidth(-3);
  EXPECT_EQ(Panel.BevelWidth(), 0);
  ExpectPixels([](int, int) { return false; });
  EXPECT_EQ(Panel.ClientRect(), Rect(0, 0, 10, 8));
}

} // namespace
