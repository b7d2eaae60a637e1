#include "ui/MySlider.h"

#include "UiTestSupport.h"
#include "platform/Rounding.h"
#include "ui/ControlColor.h"
#include "ui/DlgColors.h"
#include "ui/DlgMain.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

namespace {

// The default slider: 150 x 12, cursor size 8, range 0..100.
struct MySliderTest : ::testing::Test {
  TMySlider S;
  std::vector<std::tuple<int, int, TSliderChangeMode>> Changes; // index, position, mode

  void SetUp() override {
    S.OnChange = [this](TMySlider* Sender, int Index, TSliderChangeMode Mode) {
      Changes.emplace_back(Index, Sender->GetPosition(Index), Mode);
    };
  }
  // The pixel of a value along a 150-pixel bar, from the formula.
  static int Pixel(int Value) { return 8 + Round(133.0 / 100.0 * Value); }
  void Mouse(QEvent::Type Type, int X, int Y, Qt::MouseButton Button = Qt::LeftButton) {
    const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
    QMouseEvent E(Type, QPointF(X, Y), S.mapToGlobal(QPointF(X, Y)), Button, Held, Qt::NoModifier);
    QApplication::sendEvent(&S, &E);
  }
  // Presses on the middle of cursor I, drags to pixel X and releases there.
  void Drag(int I, int X) {
    const TPoint Tip = S.CursorPoint(I);
    Mouse(QEvent::MouseButtonPress, Tip.X, Tip.Y + 4);
    Mouse(QEvent::MouseMove, X, Tip.Y + 4);
    Mouse(QEvent::MouseButtonRelease, X, Tip.Y + 4);
  }
};

TEST_F(MySliderTest, DefaultsAndPropertyLimits) {
  EXPECT_EQ(S.size(), QSize(150, 12));
  EXPECT_EQ(S.focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(S.CursorSize(), 8);
  EXPECT_EQ(S.GetBarRect(), Rect(8, 0, 142, 3));
  S.SetCursorSize(30);
  EXPECT_EQ(S.CursorSize(), 20);
  S.SetCursorSize(2);
  EXPECT_EQ(S.CursorSize(), 4);
  S.SetCursorSize(8);
  S.SetMin(100); // not below Max
  EXPECT_EQ(S.Min(), 0);
  S.SetMax(0);
  EXPECT_EQ(S.Max(), 100);
  S.SetMin(99);
  EXPECT_EQ(S.Min(), 99);
  S.SetMin(0);
  S.SetBarHeight(-5);
  EXPECT_EQ(S.BarHeight(), 1);
  S.SetBarHeight(3);
  S.SetBarPosition(TSliderBarPosition::bpBottomRight);
  EXPECT_EQ(S.GetBarRect(), Rect(8, 9, 142, 12));
  EXPECT_EQ(S.CursorPoint(-1).Y, 0); // tip at the top edge, pointing down to the bar

  S.SetOrientation(TSliderOrientation::soVertical);
  EXPECT_EQ(S.size(), QSize(12, 150));
  EXPECT_EQ(S.GetBarRect(), Rect(9, 8, 12, 142));
  S.SetOrientation(TSliderOrientation::soHorizontal);
  EXPECT_EQ(S.size(), QSize(150, 12));
}

TEST_F(MySliderTest, GeometryRoundsHalvesToEven) {
  for (int V : {0, 1, 50, 99, 100}) EXPECT_EQ(S.ValueToPixel(V), Pixel(V)) << V;
  EXPECT_EQ(S.ValueToPixel(50), 74); // 66.5 goes to 66
  // The value under a pixel: Min + Round((p - 8) / 133 x 100), not clamped.
  for (int P : {0, 8, 74, 141, 149}) EXPECT_EQ(S.PixelToValue(P), Round((P - 8) / 133.0 * 100)) << P;
  const int I = S.AddCursor(30, clBlack, clWhite);
  EXPECT_EQ(S.CursorHitRect(I), Rect(Pixel(30) - 8, 3, Pixel(30) + 8, 11));
}

TEST_F(MySliderTest, AddCursorAndPositions) {
  EXPECT_EQ(S.CurrentCursor(), -1);
  EXPECT_EQ(S.AddCursor(150, clBlack, clWhite), 0); // kept as given, not clamped
  EXPECT_EQ(S.AddCursor(-4, clBlack, clWhite), 1);
  EXPECT_EQ(S.CursorsCount(), 2);
  EXPECT_EQ(S.CurrentCursor(), 1);
  EXPECT_EQ(S.GetPosition(0), 150);
  EXPECT_EQ(S.Cursor(1).Default, -4);
  EXPECT_EQ(S.GetPosition(2), 0);
  EXPECT_EQ(S.GetPosition(-1), 0);
  S.SetPosProperty(5, 40);
  EXPECT_TRUE(Changes.empty());
  S.SetCurrentCursor(7);
  EXPECT_EQ(S.CurrentCursor(), 1);
  S.SetCurrentCursor(0);
  EXPECT_EQ(S.CurrentCursor(), 0);
}

TEST_F(MySliderTest, CollisionBeforeChangeAndClamp) {
  S.AddCursor(20, clBlack, clWhite);
  S.AddCursor(50, clBlack, clWhite);
  S.AddCursor(80, clBlack, clWhite);
  S.SetPosProperty(1, 95);
  EXPECT_EQ(S.GetPosition(1), 80); // stops at the next cursor
  S.SetPosProperty(1, 5);
  EXPECT_EQ(S.GetPosition(1), 20); // and at the previous one
  EXPECT_EQ(S.CurrentCursor(), 1);
  ASSERT_EQ(Changes.size(), 2u);
  EXPECT_EQ(Changes[0], std::make_tuple(1, 80, TSliderChangeMode::cmProperty));

  Changes.clear();
  S.SetPosProperty(1, 20); // no change: no event
  EXPECT_TRUE(Changes.empty());

  // The handler's value goes through the collision rule, then the range.
  S.OnBeforeChange = [](TMySlider*, int, int& Value) { Value = 250; };
  S.SetPosProperty(2, 90);
  EXPECT_EQ(S.GetPosition(2), 100);
  S.OnBeforeChange = nullptr;

  S.CheckCollision = false;
  S.SetPosProperty(1, 99);
  EXPECT_EQ(S.GetPosition(1), 99); // crosses the third
  S.SetPosProperty(0, -30);
  EXPECT_EQ(S.GetPosition(0), 0);
}

TEST_F(MySliderTest, DraggingStopsAtTheNeighbour) {
  S.AddCursor(20, clBlack, clWhite);
  S.AddCursor(50, clBlack, clWhite);
  S.AddCursor(80, clBlack, clWhite);
  Drag(1, Pixel(95));
  EXPECT_EQ(S.GetPosition(1), 80);
  ASSERT_FALSE(Changes.empty());
  EXPECT_EQ(std::get<2>(Changes.back()), TSliderChangeMode::cmMouse);

  // After the release a move drags nothing.
  Mouse(QEvent::MouseMove, Pixel(10), 7);
  EXPECT_EQ(S.GetPosition(1), 80);

  // Dragging to the left end clamps to Min; the right button ends a drag.
  S.CheckCollision = false;
  Drag(0, -40);
  EXPECT_EQ(S.GetPosition(0), 0);
  const TPoint Tip = S.CursorPoint(2);
  Mouse(QEvent::MouseButtonPress, Tip.X, Tip.Y + 4);
  Mouse(QEvent::MouseButtonPress, Tip.X, Tip.Y + 4, Qt::RightButton);
  Mouse(QEvent::MouseMove, Pixel(10), Tip.Y + 4);
  EXPECT_EQ(S.GetPosition(2), 80);
}

TEST_F(MySliderTest, DoubleClickResetsOnlyWithCanReset) {
  S.AddCursor(30, clBlack, clWhite);
  S.SetPosProperty(0, 70);
  const TPoint Tip = S.CursorPoint(0);
  Mouse(QEvent::MouseButtonDblClick, Tip.X, Tip.Y + 4);
  EXPECT_EQ(S.GetPosition(0), 70);
  Mouse(QEvent::MouseButtonRelease, Tip.X, Tip.Y + 4);
  S.CanReset = true;
  Changes.clear();
  Mouse(QEvent::MouseButtonDblClick, Tip.X, Tip.Y + 4);
  EXPECT_EQ(S.GetPosition(0), 30);
  ASSERT_EQ(Changes.size(), 1u);
  EXPECT_EQ(std::get<2>(Changes[0]), TSliderChangeMode::cmMouse);
  // No drag follows the reset.
  Mouse(QEvent::MouseMove, Pixel(90), Tip.Y + 4);
  EXPECT_EQ(S.GetPosition(0), 30);
}

TEST_F(MySliderTest, ClickOnTheEmptyBarMovesTheCurrentCursorOnlyWithClickMove) {
  S.AddCursor(10, clBlack, clWhite);
  S.AddCursor(40, clBlack, clWhite);
  S.SetCurrentCursor(0);
  Mouse(QEvent::MouseButtonPress, Pixel(25), 7);
  Mouse(QEvent::MouseButtonRelease, Pixel(25), 7);
  EXPECT_EQ(S.GetPosition(0), 10);
  S.ClickMove = true;
  Mouse(QEvent::MouseButtonPress, Pixel(25), 7);
  EXPECT_EQ(S.GetPosition(0), 25);
  Mouse(QEvent::MouseMove, Pixel(33), 7); // and drags it on
  Mouse(QEvent::MouseButtonRelease, Pixel(33), 7);
  EXPECT_EQ(S.GetPosition(0), 33);
}

TEST_F(MySliderTest, TwoCursorsOnOneSpotAreCaughtAlternately) {
  S.AddCursor(50, clBlack, clWhite);
  S.AddCursor(50, clBlack, clWhite);
  const TPoint Tip = S.CursorPoint(0);
  std::set<int> Caught;
  for (int K = 0; K < 2; ++K) Caught.insert(S.CursorAt(Tip.X, Tip.Y + 2));
  EXPECT_EQ(Caught, (std::set<int>{0, 1}));
  EXPECT_EQ(S.CursorAt(Tip.X + 20, Tip.Y + 2), -1);
}

TEST_F(MySliderTest, Keys) {
  S.AddCursor(50, clBlack, clWhite);
  S.SetPageSize(10);
  struct Step {
    Qt::Key Key;
    int Expected;
  };
  for (const Step& K : {Step{Qt::Key_PageUp, 60}, Step{Qt::Key_PageDown, 50}, Step{Qt::Key_Left, 49},
                        Step{Qt::Key_Up, 48}, Step{Qt::Key_Right, 49}, Step{Qt::Key_Down, 50}, Step{Qt::Key_End, 100},
                        Step{Qt::Key_PageUp, 100}, Step{Qt::Key_Home, 0}, Step{Qt::Key_A, 0}}) {
    QTest::keyClick(&S, K.Key);
    EXPECT_EQ(S.GetPosition(0), K.Expected) << K.Key;
  }
  ASSERT_FALSE(Changes.empty());
  EXPECT_EQ(std::get<2>(Changes.back()), TSliderChangeMode::cmKey);

  // Without a current cursor nothing moves.
  TMySlider Empty;
  QTest::keyClick(&Empty, Qt::Key_End);
  EXPECT_EQ(Empty.CurrentCursor(), -1);
}

TEST_F(MySliderTest, PaintsBarAndCursors) {
  const TColor Back = RGB(10, 20, 30);
  SetControlColor(&S, Back);
  S.SetBarStyle(TSliderBarStyle::bsProgress);
  S.SetBarFrameStyle(TSliderBarFrame::bfNone);
  S.SetBarColors(RGB(0, 200, 0), RGB(0, 0, 200));
  S.AddCursor(50, RGB(255, 0, 0), RGB(250, 250, 0));
  QImage Shot = GrabWidget(S);
  const int X = Pixel(50);
  // Up to and including the first cursor's pixel in Color2, the rest in Color1.
  EXPECT_EQ(PixelAt(Shot, 8, 1), RGB(0, 0, 200));
  EXPECT_EQ(PixelAt(Shot, X, 1), RGB(0, 0, 200));
  EXPECT_EQ(PixelAt(Shot, X + 1, 1), RGB(0, 200, 0));
  EXPECT_EQ(PixelAt(Shot, 141, 1), RGB(0, 200, 0));
  EXPECT_EQ(PixelAt(Shot, 145, 1), Back); // beside the bar: the control's colour
  // The triangle: outline at its tip, fill inside, nothing beside it.
  EXPECT_EQ(PixelAt(Shot, X, 3), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(Shot, X, 8), RGB(250, 250, 0));
  EXPECT_EQ(PixelAt(Shot, X - 7, 5), Back);

  // Progress at Min is all Color1; a lowered frame and a box otherwise.
  S.SetPosProperty(0, 0);
  Shot = GrabWidget(S);
  EXPECT_EQ(PixelAt(Shot, 20, 1), RGB(0, 200, 0));
  S.SetBarStyle(TSliderBarStyle::bsBox);
  S.SetBarFrameStyle(TSliderBarFrame::bfLowered);
  S.SetBarHeight(5);
  Shot = GrabWidget(S);
  EXPECT_EQ(PixelAt(Shot, 20, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(Shot, 20, 4), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelAt(Shot, 20, 1), RGB(0, 200, 0));
  EXPECT_EQ(PixelAt(Shot, 20, 2), RGB(0, 0, 200));

  // Disabled cursors are drawn in the button colours.
  S.setEnabled(false);
  Shot = GrabWidget(S);
  const int X0 = Pixel(0);
  EXPECT_EQ(PixelAt(Shot, X0, 5), ColorToRGB(clBtnShadow)); // tip below the 5-pixel bar
  EXPECT_EQ(PixelAt(Shot, X0, 10), ColorToRGB(clBtnFace));
}

TEST_F(MySliderTest, VerticalSliderRunsDownwardsWithTheBarAtTheLeft) {
  S.SetOrientation(TSliderOrientation::soVertical);
  SetControlColor(&S, RGB(10, 20, 30));
  S.AddCursor(50, RGB(255, 0, 0), RGB(250, 250, 0));
  EXPECT_EQ(S.CursorPoint(0), (TPoint{3, Pixel(50)}));
  EXPECT_EQ(S.CursorHitRect(0), Rect(3, Pixel(50) - 8, 11, Pixel(50) + 8));
  const QImage Shot = GrabWidget(S);
  EXPECT_EQ(PixelAt(Shot, 3, Pixel(50)), RGB(255, 0, 0));   // the tip, pointing at the bar
  EXPECT_EQ(PixelAt(Shot, 8, Pixel(50)), RGB(250, 250, 0)); // the fill
  EXPECT_EQ(PixelAt(Shot, 5, Pixel(50) - 6), RGB(10, 20, 30));
  Mouse(QEvent::MouseButtonPress, 7, Pixel(50));
  Mouse(QEvent::MouseMove, 7, Pixel(20));
  Mouse(QEvent::MouseButtonRelease, 7, Pixel(20));
  EXPECT_EQ(S.GetPosition(0), 20);
  QTest::keyClick(&S, Qt::Key_Down);
  EXPECT_EQ(S.GetPosition(0), 21);
}

TEST_F(MySliderTest, CursorsBelowTheBarPointDown) {
  SetControlColor(&S, RGB(10, 20, 30));
  S.SetBarPosition(TSliderBarPosition::bpBottomRight);
  S.AddCursor(0, RGB(255, 0, 0), RGB(250, 250, 0));
  const QImage Shot = GrabWidget(S);
  EXPECT_EQ(PixelAt(Shot, 8, 8), RGB(255, 0, 0)); // the tip just above the bar
  EXPECT_EQ(PixelAt(Shot, 8, 3), RGB(250, 250, 0));
  EXPECT_EQ(PixelAt(Shot, 3, 6), RGB(10, 20, 30));
  EXPECT_EQ(PixelAt(Shot, 20, 9), ColorToRGB(clBtnShadow)); // the bar's lowered frame
}

TEST_F(MySliderTest, CustomBarGetsTheInnerRectangle) {
  S.SetBarStyle(TSliderBarStyle::bsCustom);
  TRect Seen;
  S.OnCustomDrawBar = [&](TMySlider*, QPainter&, const TRect& R) { Seen = R; };
  GrabWidget(S);
  EXPECT_EQ(Seen, Rect(9, 1, 141, 2));
}

// AddSliderCursor keeps a cursor visible on the dialog background.
TEST(AddSliderCursor, ContrastWithTheWindow) {
  const TColor SavedWindow = clDlgWindow, SavedBorder = clDlgBorder;
  clDlgWindow = RGB(240, 240, 240);
  clDlgBorder = RGB(1, 2, 3);
  struct Case {
    TColor Color, Expected;
  };
  // Bright grey is darkened by 0.1 (192 x 0.9 = 172.8 -> 173); white cannot
  // be lightened further; black and mid grey lie far enough.
  for (const Case& C : {Case{RGB(192, 192, 192), RGB(173, 173, 173)}, Case{clWhite, clWhite}, Case{clBlack, clBlack},
                        Case{RGB(128, 128, 128), RGB(128, 128, 128)}}) {
    TMySlider S;
    EXPECT_EQ(AddSliderCursor(&S, 7, C.Color), 0);
    EXPECT_EQ(S.Cursor(0).BrushColor, C.Expected) << std::hex << C.Color;
    EXPECT_EQ(S.Cursor(0).PenColor, RGB(1, 2, 3));
    EXPECT_EQ(S.GetPosition(0), 7);
  }
  // On a dark window a dark colour is lightened: 30 + (255 - 30) x 0.1 = 52.5 -> 52.
  clDlgWindow = RGB(20, 20, 20);
  TMySlider S;
  AddSliderCursor(&S, 0, RGB(30, 30, 30));
  EXPECT_EQ(S.Cursor(0).BrushColor, RGB(52, 52, 52));
  clDlgWindow = SavedWindow;
  clDlgBorder = SavedBorder;
}

} // namespace
