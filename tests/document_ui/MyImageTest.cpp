// Drawing a new selection with the mouse on the view: the reported
// rectangles, the XOR rubber band in the view's picture and its removal, the
// size and Shift rules, cancelling, polygons clicked point by point, and the
// arrow keys scrolling the view.
#include "FakeImageWindowHost.h"

#include "document/ui/MyImage.h"
#include "document/ui/SelectionControl.h"
#include "raster/Bitmap24.h"
#include "support/Printers.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr TColor Ground = 0x606060;
constexpr TColor Band = Ground ^ 0xFFD8CE;

using TStep = std::pair<TRect, TSelOption>;

class MyImageTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 240);
    View.SetColor(0x202020);
    NewBitmap24(View.Bitmap(), 100, 80, Ground);
    View.BitmapChanged();
    View.SelectionMode = TSelMode::smShape;
    View.OnSelection = [this](QObject*, const TRect& R, TSelOption O) { Steps.push_back({R, O}); };
    View.show();
    View.SetZoom(2);
    QApplication::processEvents();
    View.PaintAll();
  }
  QWidget* Port() { return View.viewport(); }
  void Send(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons,
            Qt::KeyboardModifiers Mods = {}) {
    QMouseEvent E(Type, P, Port()->mapToGlobal(P), Button, Buttons, Mods);
    QApplication::sendEvent(Port(), &E);
  }
  void Press(QPoint P, Qt::MouseButton B = Qt::LeftButton) { Send(QEvent::MouseButtonPress, P, B, B); }
  void Move(QPoint P, Qt::MouseButtons B = Qt::LeftButton, Qt::KeyboardModifiers M = {}) {
    Send(QEvent::MouseMove, P, Qt::NoButton, B, M);
  }
  void Release(QPoint P, Qt::MouseButton B = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, P, B, {}); }
  // Client point of bitmap pixel (X, Y) at the view's zoom.
  QPoint At(int X, int Y) {
    const TPoint P = View.BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  TColor Shown(int X, int Y) { return View.BackBuffer().PixelColor(X, Y); }
  std::vector<TSelOption> Options() const {
    std::vector<TSelOption> O;
    for (const TStep& S : Steps)
      if (O.empty() || O.back() != S.second) O.push_back(S.second);
    return O;
  }

  TMyImage View;
  std::vector<TStep> Steps;
};

} // namespace

TEST_F(MyImageTest, RectangleDragAtZoom2ShowsABandAndReportsTheRectangle) {
  const QPoint A = At(10, 8), B = At(40, 30);
  Press(A);
  Move(A + QPoint(5, 5));
  Move(B);
  // The dotted XOR rectangle: runs of 4 pixels from the bottom-right corner
  // upwards, inverted then left alone.
  const TRect R{A.x(), A.y(), B.x(), B.y()};
  EXPECT_EQ(Shown(R.Right - 1, R.Bottom - 1), Band);
  EXPECT_EQ(Shown(R.Right - 1, R.Bottom - 4), Band);
  EXPECT_EQ(Shown(R.Right - 1, R.Bottom - 5), Ground);
  EXPECT_EQ(Shown(R.Right - 1, R.Bottom - 9), Band);
  int Inverted = 0;
  for (int Y = 0; Y < View.BackBuffer().Height(); ++Y)
    for (int X = 0; X < View.BackBuffer().Width(); ++X) {
      const bool Border = (X == R.Left || X == R.Right - 1) && Y >= R.Top && Y < R.Bottom;
      const bool Edge = (Y == R.Top || Y == R.Bottom - 1) && X >= R.Left && X < R.Right;
      if (Shown(X, Y) == Band) {
        ++Inverted;
        ASSERT_TRUE(Border || Edge) << X << "," << Y;
      }
    }
  const int Perimeter = 2 * (R.Width() + R.Height()) - 4;
  EXPECT_NEAR(Inverted, Perimeter / 2, 8);
  Release(B);
  // The band went; the picture is the image again.
  for (int X = R.Left; X < R.Right; ++X) ASSERT_EQ(Shown(X, R.Top), Ground) << X;
  ASSERT_FALSE(Steps.empty());
  EXPECT_EQ(Steps.front(), (TStep{{A.x(), A.y(), A.x(), A.y()}, soStart}));
  EXPECT_EQ(Steps.back(), (TStep{R, soEnd}));
  EXPECT_EQ(Options(), (std::vector<TSelOption>{soStart, soChanging, soEnd}));
  EXPECT_EQ(View.ClientToBmp(Steps.back().first), (TRect{10, 8, 40, 30}));
  EXPECT_FALSE(View.Selecting());
}

TEST_F(MyImageTest, TooSmallDragsAreNotValid) {
  View.SetZoom(1);
  QApplication::processEvents();
  const QPoint A = At(10, 10);
  Press(A);
  Move(A + QPoint(20, 7)); // 7 high: below 8
  Release(A + QPoint(20, 7));
  EXPECT_EQ(Options(), (std::vector<TSelOption>{soStart, soChanging, soNoValid}));
  // At zoom 12.5 the smallest side is 13 pixels.
  View.SetZoom(12.5);
  QApplication::processEvents();
  Steps.clear();
  const QPoint C = At(1, 1);
  Press(C);
  Move(C + QPoint(13, 12));
  Release(C + QPoint(13, 12));
  EXPECT_EQ(Steps.back().second, soNoValid);
  Steps.clear();
  Press(C);
  Move(C + QPoint(13, 13));
  Release(C + QPoint(13, 13));
  EXPECT_EQ(Steps.back().second, soEnd);
}

TEST_F(MyImageTest, ShiftKeepsLinesStraightAndSquaresFromTheRightCorner) {
  View.SetZoom(1);
  View.SelectionMode = TSelMode::smLine;
  View.SetLineShape(ssLine);
  QApplication::processEvents();
  struct TCase {
    QPoint Delta;
    QPoint End;
  };
  const QPoint A = At(20, 20);
  for (const TCase& C : {TCase{{10, 12}, {10, 10}}, TCase{{10, 20}, {0, 20}}, TCase{{-20, 3}, {-20, 0}}}) {
    Steps.clear();
    Press(A);
    Move(A + C.Delta, Qt::LeftButton, Qt::ShiftModifier);
    Release(A + C.Delta);
    EXPECT_EQ(Steps.back(), (TStep{{A.x(), A.y(), A.x() + C.End.x(), A.y() + C.End.y()}, soEnd}));
  }
  // A line of 1 x 1 is not valid; 2 x 0 is.
  Steps.clear();
  Press(A);
  Move(A + QPoint(1, 1));
  Release(A + QPoint(1, 1));
  EXPECT_EQ(Steps.back().second, soNoValid);
  Steps.clear();
  Press(A);
  Move(A + QPoint(2, 0));
  Release(A + QPoint(2, 0));
  EXPECT_EQ(Steps.back().second, soEnd);

  View.SelectionMode = TSelMode::smShape;
  Steps.clear();
  Press(A);
  Move(A - QPoint(30, 15), Qt::LeftButton, Qt::ShiftModifier);
  Release(A - QPoint(30, 15));
  EXPECT_EQ(Steps.back(), (TStep{{A.x() - 15, A.y() - 15, A.x(), A.y()}, soEnd}));
}

TEST_F(MyImageTest, RightPressOrEscapeCancelsAndNoMenuOpens) {
  const QPoint A = At(10, 10);
  Press(A);
  Move(A + QPoint(30, 30));
  Send(QEvent::MouseButtonPress, A + QPoint(30, 30), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(Steps.back().second, soNoValid);
  EXPECT_FALSE(View.Selecting());
  // The context menu request of that right click is swallowed.
  QContextMenuEvent Menu(QContextMenuEvent::Mouse, A, Port()->mapToGlobal(A));
  QApplication::sendEvent(Port(), &Menu);
  EXPECT_TRUE(Menu.isAccepted());
  for (int X = A.x(); X < A.x() + 30; ++X) ASSERT_EQ(Shown(X, A.y()), Ground);

  Steps.clear();
  Press(A);
  Move(A + QPoint(30, 30));
  QTest::keyClick(&View, Qt::Key_Escape);
  EXPECT_EQ(Steps.back().second, soNoValid);
}

TEST_F(MyImageTest, PolygonClickedPointByPoint) {
  View.SetSelShape(ssPolygon);
  View.MultiLine = true;
  View.SetZoom(1);
  QApplication::processEvents();
  const QPoint A = At(10, 10), B = At(60, 10), C = At(60, 50);
  Press(A);
  Release(A);
  Move(B, Qt::NoButton);
  Press(B);
  Release(B);
  Move(C, Qt::NoButton);
  // Enter with two points (and the rubber line) is not enough...
  Press(C);
  Release(C);
  Move(At(30, 40), Qt::NoButton);
  // ...a click near the first point closes it without adding that point.
  Press(A + QPoint(5, 5));
  EXPECT_EQ(Steps.back().second, soEnd);
  EXPECT_EQ(Steps.back().first, (TRect{A.x(), A.y(), B.x() + 1, C.y() + 1}));

  Steps.clear();
  Press(A);
  Release(A);
  Move(B, Qt::NoButton);
  Press(B);
  Release(B);
  QTest::keyClick(&View, Qt::Key_Return);
  EXPECT_EQ(Steps.back().second, soNoValid);
}

TEST_F(MyImageTest, ArrowKeysScrollUnlessASelectionIsShown) {
  View.SetZoom(8);
  QApplication::processEvents();
  ASSERT_GT(View.horizontalScrollBar()->maximum(), 50);
  QTest::keyClick(&View, Qt::Key_Right);
  EXPECT_EQ(View.horizontalScrollBar()->value(), 3);
  QTest::keyClick(&View, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(View.verticalScrollBar()->value(), 24);
  TSelectionControl Sel(&View);
  Sel.SetBmpSelRect({1, 1, 20, 20});
  Sel.SetVisible(true);
  QTest::keyClick(&View, Qt::Key_Right);
  EXPECT_EQ(View.horizontalScrollBar()->value(), 3);
}

TEST_F(MyImageTest, ShapeSettersAreRefusedWhileDrawing) {
  View.SetLineShape(ssRect);
  EXPECT_EQ(View.LineShape(), ssLineWidth);
  View.SetSelShape(ssLine);
  EXPECT_EQ(View.SelShape(), ssRect);
  View.SetSelShape(ssBitmap);
  const QPoint A = At(10, 10);
  Press(A);
  Move(A + QPoint(30, 30));
  EXPECT_EQ(View.SelShape(), ssRect); // a bitmap shape starts as a rectangle
  View.SetSelShape(ssEllipse);
  EXPECT_EQ(View.SelShape(), ssRect);
  Release(A + QPoint(30, 30));
}

TEST_F(MyImageTest, AnEmptyBitmapNeverStartsADrawing) {
  View.Bitmap().SetSize(0, 0);
  View.BitmapChanged();
  Press({50, 50});
  Move({90, 90});
  Release({90, 90});
  EXPECT_TRUE(Steps.empty());
}

TEST_F(MyImageTest, BandStaysOnTheImageWhenTheViewScrolls) {
  View.SetZoom(4);
  QApplication::processEvents();
  const QPoint A = At(10, 10), B = At(30, 25);
  Press(A);
  Move(B);
  View.ScrollBy(8, 4);
  QApplication::processEvents();
  Move(B);
  Release(B);
  // The press point moved with the image: the rectangle runs from the
  // scrolled press point to the mouse.
  EXPECT_EQ(Steps.back(), (TStep{{A.x() - 8, A.y() - 4, B.x(), B.y()}, soEnd}));
  for (int X = A.x() - 8; X < B.x(); ++X) ASSERT_EQ(Shown(X, A.y() - 4), Ground) << X;
}
