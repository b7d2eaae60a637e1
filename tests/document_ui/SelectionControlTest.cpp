// The selection over a view: marching ants in the view's picture and their
// animation, moving and resizing by mouse, Escape during a drag, arrow
// nudges, hit tests that pass missed clicks to the view, and the double click.
#include "FakeImageWindowHost.h"

#include "document/ui/MyImage.h"
#include "document/ui/SelectionControl.h"
#include "raster/Bitmap24.h"
#include "raster/ui/FoncUtils.h"
#include "support/Printers.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TColor Ground = 0x606060;

class SelectionControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 240);
    NewBitmap24(View.Bitmap(), 100, 80, Ground);
    View.BitmapChanged();
    View.SelectionMode = TSelMode::smShape;
    View.OnSelection = [this](QObject*, const TRect&, TSelOption O) { ViewSteps.push_back(O); };
    View.show();
    View.SetZoom(2);
    QApplication::processEvents();
    Sel.OnUpdating = [this](TSelectionModel*, TSelOption O) { Steps.push_back(O); };
    Sel.SetBmpSelRect({10, 10, 30, 25});
    Sel.SetVisible(true);
    QApplication::processEvents();
    View.UpdatePending();
    Steps.clear();
  }
  QWidget* Port() { return View.viewport(); }
  void Send(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons,
            Qt::KeyboardModifiers Mods = {}) {
    QMouseEvent E(Type, P, Port()->mapToGlobal(P), Button, Buttons, Mods);
    QApplication::sendEvent(Port(), &E);
  }
  void Drag(QPoint From, QPoint To) {
    Send(QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, (From + To) / 2, Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseMove, To, Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, To, Qt::LeftButton, {});
  }
  QPoint Client(int X, int Y) {
    const TPoint P = View.BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  TColor Shown(int X, int Y) { return View.BackBuffer().PixelColor(X, Y); }
  // Every pixel of the bounds' border is an ant (black or white), the inside
  // and the pixels just outside are the image.
  void ExpectAntsAround(const TRect& B) {
    for (int Y = B.Top - 1; Y <= B.Bottom; ++Y)
      for (int X = B.Left - 1; X <= B.Right; ++X) {
        const bool Out = X < B.Left || X >= B.Right || Y < B.Top || Y >= B.Bottom;
        const bool Border = !Out && (X == B.Left || X == B.Right - 1 || Y == B.Top || Y == B.Bottom - 1);
        const TColor C = Shown(X, Y);
        if (Border)
          ASSERT_TRUE(C == clBlack || C == clWhite) << X << "," << Y;
        else
          ASSERT_EQ(C, Ground) << X << "," << Y;
      }
  }

  TMyImage View;
  TSelectionControl Sel{&View};
  std::vector<TSelOption> Steps;
  std::vector<TSelOption> ViewSteps;
};

} // namespace

TEST_F(SelectionControlTest, ShownSelectionMarchesAlongItsBounds) {
  const TRect B = Sel.BoundsRect();
  EXPECT_EQ(B, View.BmpToClient(TRect{10, 10, 30, 25}));
  ExpectAntsAround(B);
  ASSERT_TRUE(Sel.IsAnimating());
  EXPECT_EQ(Sel.AnimationInterval(), 112);
  std::vector<TColor> Before;
  for (int X = B.Left; X < B.Right; ++X) Before.push_back(Shown(X, B.Top));
  EXPECT_TRUE(WaitUntil([&] { // the dashes move
    std::vector<TColor> After;
    for (int X = B.Left; X < B.Right; ++X) After.push_back(Shown(X, B.Top));
    return After != Before;
  }));
  ExpectAntsAround(B);
  // Locked while a new selection is drawn.
  Send(QEvent::MouseButtonPress, Client(60, 50), Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, Client(80, 70), Qt::NoButton, Qt::LeftButton);
  EXPECT_FALSE(Sel.IsAnimating());
  Send(QEvent::MouseButtonRelease, Client(80, 70), Qt::LeftButton, {});
  EXPECT_TRUE(Sel.IsAnimating());
  EXPECT_EQ(ViewSteps.front(), soStart); // the press beside the selection went to the view
  EXPECT_EQ(ViewSteps.back(), soEnd);
}

TEST_F(SelectionControlTest, DraggingTheInsideMovesItInBitmapPixels) {
  const TRect Old = Sel.BoundsRect();
  Drag(Client(20, 17), Client(20, 17) + QPoint(8, 6));
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{14, 13, 34, 28}));
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps[Steps.size() - 2], soChanged);
  EXPECT_EQ(Steps.back(), soEnd);
  ExpectAntsAround(Sel.BoundsRect());
  EXPECT_EQ(Shown(Old.Left, Old.Top), Ground);
  EXPECT_EQ(Shown(Old.Left, Old.Bottom - 1), Ground);
}

TEST_F(SelectionControlTest, DraggingAHandleResizes) {
  const TRect B = Sel.BoundsRect();
  Drag({B.Right - 1, B.Bottom - 1}, {B.Right + 19, B.Bottom + 7});
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{10, 10, 40, 29}));
  Drag({B.Left + 1, B.Top + 10}, {B.Left - 9, B.Top + 30}); // the left edge: only the width
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{5, 10, 40, 29}));
}

TEST_F(SelectionControlTest, EscapeDuringADragPutsItBack) {
  const QPoint P = Client(20, 17);
  Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, P + QPoint(20, 20), Qt::NoButton, Qt::LeftButton);
  ASSERT_TRUE(Sel.UpdatingSel());
  EXPECT_TRUE(Sel.KeyDown(Qt::Key_Escape, {}));
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{10, 10, 30, 25}));
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps[Steps.size() - 2], soChanging);
  EXPECT_EQ(Steps.back(), soEnd);
  EXPECT_EQ(std::count(Steps.begin(), Steps.end(), soChanged), 0);
  Send(QEvent::MouseButtonRelease, P + QPoint(20, 20), Qt::LeftButton, {});
  ExpectAntsAround(Sel.BoundsRect());
}

TEST_F(SelectionControlTest, ArrowKeysNudgeAndResize) {
  EXPECT_TRUE(Sel.KeyDown(Qt::Key_Right, Qt::ShiftModifier));
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{18, 10, 38, 25}));
  Sel.KeyDown(Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{18, 10, 39, 25}));
  Sel.KeyDown(Qt::Key_Up, {});
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{18, 9, 39, 24}));
  EXPECT_EQ(Steps, (std::vector<TSelOption>{soChanged, soChanged, soChanged}));
  ExpectAntsAround(Sel.BoundsRect());
  EXPECT_FALSE(Sel.KeyDown(Qt::Key_A, {}));
  // Not during a drag.
  const QPoint P = Client(25, 15);
  Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, P + QPoint(4, 0), Qt::NoButton, Qt::LeftButton);
  const TRect During = Sel.BmpSelRect();
  Sel.KeyDown(Qt::Key_Down, {});
  EXPECT_EQ(Sel.BmpSelRect(), During);
  Send(QEvent::MouseButtonRelease, P + QPoint(4, 0), Qt::LeftButton, {});
}

TEST_F(SelectionControlTest, HitTestsFollowTheShapeAndShowBounds) {
  Sel.SetShape(ssEllipse);
  const TRect B = Sel.BoundsRect();
  EXPECT_FALSE(Sel.PtInShape({1, 1})); // the corner lies outside the ellipse
  EXPECT_TRUE(Sel.PtInShape({B.Width() / 2, B.Height() / 2}));
  Sel.SetShowBounds(true);
  EXPECT_TRUE(Sel.PtInShape({1, 1}));
  Sel.SetTransparent(true);
  EXPECT_FALSE(Sel.PtInShape({B.Width() / 2, B.Height() / 2}));
  Sel.SetTransparent(false);
  // Zones: a 4-pixel band along the edges for the handles.
  Sel.MouseMove(Qt::NoButton, {}, 2, B.Height() / 2);
  EXPECT_EQ(Sel.PosCode(), pcLeft);
  Sel.MouseMove(Qt::NoButton, {}, B.Width() / 2, B.Height() / 2);
  EXPECT_EQ(Sel.PosCode(), pcMove);
}

TEST_F(SelectionControlTest, DoubleClickOnTheSelectionFiresItsEvent) {
  int Double = 0;
  Sel.OnDblClick = [&](TSelectionControl*) { ++Double; };
  QTest::mouseDClick(Port(), Qt::LeftButton, {}, Client(20, 17));
  EXPECT_EQ(Double, 1);
  EXPECT_FALSE(Sel.UpdatingSel());
  int ViewDouble = 0;
  View.OnDblClick = [&](QObject*) { ++ViewDouble; };
  QTest::mouseDClick(Port(), Qt::LeftButton, {}, Client(60, 60));
  EXPECT_EQ(Double, 1);
  EXPECT_EQ(ViewDouble, 1);
}

TEST_F(SelectionControlTest, HiddenSelectionLeavesThePictureAndStopsAnimating) {
  const TRect B = Sel.BoundsRect();
  Sel.SetVisible(false);
  QApplication::processEvents();
  View.UpdatePending();
  EXPECT_FALSE(Sel.IsAnimating());
  for (int X = B.Left; X < B.Right; ++X) ASSERT_EQ(Shown(X, B.Top), Ground);
}

TEST_F(SelectionControlTest, LargeOutlinesAnimateMoreSlowlyWithLongerSteps) {
  struct TCase {
    int Points, Interval, Step;
  };
  for (const TCase& C : {TCase{737, 112, 2}, TCase{800, 224, 3}, TCase{8000, 448, 4}}) {
    TPointsDataEx D;
    for (int I = 0; I < C.Points; ++I) D.Points.push_back({I % 50, I / 50});
    D.Bounds = PointsBounds(D.Points);
    Sel.SetShape(ssRect);
    Sel.ShapeManager().SetPoints(D);
    Sel.SetShape(ssPolygon);
    EXPECT_EQ(Sel.AnimationInterval(), C.Interval) << C.Points;
    EXPECT_EQ(AnimStepIncrement, C.Step) << C.Points;
  }
  Sel.LockAnimation(true);
  EXPECT_FALSE(Sel.IsAnimating());
  Sel.LockAnimation(false);
  EXPECT_TRUE(Sel.IsAnimating());
}

TEST_F(SelectionControlTest, InsideTheSelectionItsCursorOutlivesAZoom) {
  View.SetImgCursor(crCross);
  const auto Shape = [&] { return Port()->cursor().shape(); };
  const QPoint Mouse = Client(24, 20); // inside (10, 10)-(30, 25), off its handles
  QCursor::setPos(Port()->mapToGlobal(Mouse));
  Send(QEvent::MouseMove, Mouse, Qt::NoButton, {});
  EXPECT_EQ(Shape(), Qt::SizeAllCursor);
  // At zoom 3 the mouse rests on bitmap (16, 13), still inside; at zoom 1
  // on (48, 40), outside the selection but on the image.
  View.SetZoom(3);
  EXPECT_EQ(Shape(), Qt::SizeAllCursor);
  View.SetZoom(1);
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  View.SetZoom(2);
  EXPECT_EQ(Shape(), Qt::SizeAllCursor);
  // Hidden, the selection leaves the image cursor.
  Sel.SetVisible(false);
  EXPECT_EQ(Shape(), Qt::CrossCursor);
}

TEST_F(SelectionControlTest, AfterAZoomOrAScrollANudgeLeavesNoAntsBehind) {
  for (const auto& Change : std::vector<std::function<void()>>{[&] { View.SetZoom(3); },
                                                               [&] { View.ScrollBy(7, 5); }}) {
    Change();
    QApplication::processEvents();
    View.UpdatePending();
    const TRect Before = Sel.BoundsRect();
    ExpectAntsAround(Before);
    Sel.KeyDown(Qt::Key_Down, Qt::ShiftModifier); // 8 bitmap pixels down
    const TRect After = Sel.BoundsRect();
    ExpectAntsAround(After);
    for (int X = Before.Left; X < Before.Right; ++X) ASSERT_EQ(Shown(X, Before.Top), Ground) << X;
  }
}

TEST_F(SelectionControlTest, TheOwnerHearsTheMouseOnTheSelectionInItsCoordinates) {
  const TRect B = Sel.BoundsRect();
  EXPECT_EQ(Sel.ClientToParent(TRect{1, 2, 3, 4}), (TRect{B.Left + 1, B.Top + 2, B.Left + 3, B.Top + 4}));
  EXPECT_EQ(Sel.ParentToClient(Sel.ClientToParent(TRect{1, 2, 3, 4})), (TRect{1, 2, 3, 4}));
  std::vector<std::string> Heard;
  const auto Note = [&](const char* What, int X, int Y) {
    Heard.push_back(std::string(What) + " " + std::to_string(X) + "," + std::to_string(Y));
  };
  Sel.OnMouseDown = [&](TSelectionControl*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) { Note("down", X, Y); };
  Sel.OnMouseMove = [&](TSelectionControl*, Qt::MouseButtons, Qt::KeyboardModifiers, int X, int Y) { Note("move", X, Y); };
  Sel.OnMouseUp = [&](TSelectionControl*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) { Note("up", X, Y); };
  const QPoint P(B.Left + 12, B.Top + 9);
  Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {});
  // A press beside the selection is the view's.
  Send(QEvent::MouseButtonPress, {B.Right + 20, B.Bottom + 20}, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {B.Right + 20, B.Bottom + 20}, Qt::LeftButton, {});
  EXPECT_EQ(Heard, (std::vector<std::string>{"down 12,9", "up 12,9"}));
  EXPECT_EQ(Sel.BmpSelRect(), (TRect{10, 10, 30, 25}));
}
