#include "ui/SimpleScrollBox.h"

#include "UiTestSupport.h"

#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TEST(SimpleScrollBoxTest, PaintsThroughItsEvent) {
  TSimpleScrollBox Box;
  Box.resize(60, 40);
  EXPECT_EQ(Box.frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(Box.horizontalScrollBar()->hasTracking());
  EXPECT_TRUE(Box.verticalScrollBar()->hasTracking());
  int Calls = 0;
  Box.OnPaint = [&](TSimpleScrollBox* Sender) {
    ++Calls;
    ASSERT_EQ(Sender, &Box);
    ASSERT_NE(Sender->Canvas(), nullptr);
    Sender->Canvas()->fillRect(QRect(0, 0, 10, 10), Qt::red);
  };
  const QImage I = GrabWidget(Box);
  EXPECT_GE(Calls, 1);
  EXPECT_EQ(PixelAt(I, 5, 5), clRed);
  EXPECT_EQ(Box.Canvas(), nullptr); // only while painting
}

TEST(SimpleScrollBoxTest, ChildrenFollowTheScrollPosition) {
  TSimpleScrollBox Box;
  Box.resize(60, 40);
  Box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* Child = new QWidget(Box.viewport());
  Child->setGeometry(5, 30, 10, 10);
  Box.verticalScrollBar()->setRange(0, 100); // the owner sets the range
  Box.verticalScrollBar()->setValue(20);
  EXPECT_EQ(Child->pos(), QPoint(5, 10));
  Box.verticalScrollBar()->setValue(0);
  EXPECT_EQ(Child->pos(), QPoint(5, 30));
}

} // namespace
