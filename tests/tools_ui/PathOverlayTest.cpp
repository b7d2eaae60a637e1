// The path editor over an image view (zoom 2) and over a plain widget:
// clicks that add, insert and delete, drags of vertices, control points and
// the whole path, Escape, the double click, the arrows, the change requests
// and the order of the notifications, and the XOR drawing.
#include "document/ui/MyImage.h"
#include "raster/Bitmap24.h"
#include "support/PathVertices.h"
#include "support/Printers.h"
#include "tools/ui/PathOverlay.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr TColor Ground = 0x606060;

class PathOverlayTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 240);
    NewBitmap24(View.Bitmap(), 100, 80, Ground);
    View.BitmapChanged();
    View.show();
    View.SetZoom(2);
    QApplication::processEvents();
    Path.ReAlign();
    Path.OnUpdating = [this](QObject*, TSelOption O) { Steps.push_back(O); };
    Path.SetPathMode(pmAdd);
    Path.show();
  }
  // Bitmap point to the overlay's client point.
  QPoint At(int X, int Y) const {
    const TPoint P = Path.BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  void Send(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons,
            Qt::KeyboardModifiers Mods = {}) {
    QMouseEvent E(Type, P, Path.mapToGlobal(P), Button, Buttons, Mods);
    QApplication::sendEvent(&Path, &E);
  }
  void Click(QPoint P, Qt::KeyboardModifiers Mods = {}) {
    Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton, Mods);
    Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {}, Mods);
  }
  void Press(QPoint P) { Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton); }
  void MoveTo(QPoint P) { Send(QEvent::MouseMove, P, Qt::NoButton, Qt::LeftButton); }
  void Release(QPoint P) { Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {}); }
  void Drag(QPoint From, QPoint To) {
    Press(From);
    MoveTo((From + To) / 2);
    MoveTo(To);
    Release(To);
  }
  void DoubleClick(QPoint P) {
    Click(P);
    Send(QEvent::MouseButtonDblClick, P, Qt::LeftButton, Qt::LeftButton);
    Release(P);
  }
  void Key(int K, Qt::KeyboardModifiers Mods = {}) { Path.KeyDown(K, Mods); }
  void SetPath(const std::vector<TPoint>& Anchors) {
    const TPathVertexList L = LinePath(Anchors);
    Path.SetVerticesList(&L);
    Steps.clear();
  }

  TMyImage View;
  TPathOverlay Path{&View};
  std::vector<TSelOption> Steps;
};

using Anchors = std::vector<TPoint>;

TEST_F(PathOverlayTest, ClicksInAddModeAppendVerticesFarEnoughFromTheLast) {
  Click(At(10, 10));
  Click(At(40, 10));
  // 5 bitmap pixels are 10 client pixels: too close to the last vertex.
  Click(At(45, 15));
  Click(At(40, 50));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {40, 10}, {40, 50}}));
  EXPECT_TRUE(Path.PathChanged());
  EXPECT_EQ(Steps, (std::vector<TSelOption>{soChanged, soChanged, soChanged}));
}

TEST_F(PathOverlayTest, AClickOnAVertexInAddModeGrabsItAndTheDragReportsInOrder) {
  SetPath({{10, 10}, {40, 10}, {40, 50}});
  Drag(At(40, 10), At(60, 20));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {60, 20}, {40, 50}}));
  EXPECT_EQ(Path.CurrentVertex(), 1);
  ASSERT_GE(Steps.size(), 4u);
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps[1], soChanging);
  EXPECT_EQ(Steps[Steps.size() - 2], soChanged);
  EXPECT_EQ(Steps.back(), soEnd);
  EXPECT_FALSE(Path.DraggingVertices());
}

TEST_F(PathOverlayTest, AClickOnASegmentInsertsUnlessNearItsEnds) {
  SetPath({{10, 10}, {60, 10}});
  Click(At(35, 11));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {35, 11}, {60, 10}}));
  // 5 pixels from the end (10 client pixels): nothing is added at all.
  Click(At(55, 10));
  EXPECT_EQ(Path.PointsCount(), 3);
}

TEST_F(PathOverlayTest, ShiftDeletesAndControlAddsInEditMode) {
  SetPath({{10, 10}, {40, 10}, {40, 50}});
  Path.SetPathMode(pmEdit);
  Click(At(70, 60), Qt::ControlModifier);
  EXPECT_EQ(Path.PointsCount(), 4);
  Click(At(40, 10), Qt::ShiftModifier);
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {40, 50}, {70, 60}}));
}

TEST_F(PathOverlayTest, TheCurrentVertexFollowsDeletions) {
  SetPath({{10, 10}, {40, 10}, {40, 50}, {80, 60}});
  Path.SetCurrentVertex(2);
  Path.SetPathMode(pmDelete);
  Click(At(10, 10));
  EXPECT_EQ(Path.CurrentVertex(), 1);
  EXPECT_EQ(Path.AnchorPoint(Path.CurrentVertex()), (TPoint{40, 50}));
  Click(At(80, 60));
  EXPECT_EQ(Path.CurrentVertex(), 1);
  Click(At(40, 50));
  EXPECT_EQ(Path.CurrentVertex(), -1);
  EXPECT_EQ(PathAnchors(Path), (Anchors{{40, 10}}));
}

TEST_F(PathOverlayTest, TheOwnerVetoesAndMovesChanges) {
  SetPath({{10, 10}, {40, 10}});
  std::vector<TPathChangeInfo> Asked;
  Path.OnPathChangeInfo = [&](QObject*, TPathChangeInfo Info, int, int& X, int& Y, int, bool& Accept) {
    Asked.push_back(Info);
    if (Info == piMove) Accept = false;
    // A curve keeps its points on one line.
    if (Info == piAdd) Y = At(0, 30).y();
    (void)X;
  };
  Drag(At(40, 10), At(60, 30));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {40, 10}}));
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps.back(), soEnd);
  EXPECT_EQ(std::count(Steps.begin(), Steps.end(), soChanged), 0);
  Path.SetCurrentVertex(-1);
  Click(At(80, 70));
  EXPECT_EQ(Path.AnchorPoint(2), (TPoint{80, 30}));
  EXPECT_EQ(Asked.front(), piSelect);
  EXPECT_EQ(Asked.back(), piAdd);
}

TEST_F(PathOverlayTest, DraggingAControlPointMirrorsTheOtherOnlyWhenSymmetric) {
  for (const bool Symmetric : {true, false}) {
    SCOPED_TRACE(Symmetric);
    SetPath({{10, 40}, {50, 40}, {90, 40}});
    Path.SetBezierMode(true);
    Path.SetSymetricBesierPoints(Symmetric);
    Path.SetPathMode(pmEdit);
    Path.SetCurrentVertex(1);
    // The second control point lies a third of the way to the next vertex.
    const TPoint Before1 = Path.ControlPoint1(1);
    ASSERT_EQ(Path.ControlPoint2(1), (TPoint{63, 40}));
    Drag(At(63, 40), At(63, 20));
    EXPECT_EQ(Path.ControlPoint2(1), (TPoint{63, 20}));
    EXPECT_EQ(Path.ControlPoint1(1), (Symmetric ? TPoint{37, 60} : Before1));
    EXPECT_EQ(Path.AnchorPoint(1), (TPoint{50, 40}));
  }
}

TEST_F(PathOverlayTest, EscapePutsTheDraggedVertexBackAndLeavesTheRest) {
  SetPath({{10, 10}, {40, 10}, {40, 50}});
  Press(At(40, 10));
  MoveTo(At(70, 30));
  ASSERT_EQ(Path.AnchorPoint(1), (TPoint{70, 30}));
  Steps.clear();
  Key(Qt::Key_Escape);
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {40, 10}, {40, 50}}));
  EXPECT_EQ(Steps, (std::vector<TSelOption>{soChanging, soEnd}));
  Release(At(70, 30));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 10}, {40, 10}, {40, 50}}));
}

TEST_F(PathOverlayTest, DoubleClickTurnsACornerSmoothAndBack) {
  SetPath({{10, 40}, {50, 10}, {90, 40}});
  Path.SetBezierMode(true);
  Path.SetPathMode(pmEdit);
  TPoint Flags;
  DoubleClick(At(50, 10));
  Path.GetVertex(Flags, 1, 3);
  EXPECT_EQ(Flags, (TPoint{1, 1}));
  DoubleClick(At(50, 10));
  Path.GetVertex(Flags, 1, 3);
  EXPECT_EQ(Flags, (TPoint{0, 0}));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{10, 40}, {50, 10}, {90, 40}}));
}

TEST_F(PathOverlayTest, APendingTransformationRefusesMouseEditing) {
  SetPath({{10, 10}, {40, 10}});
  TAffineTransformation T;
  T.Translate(5, 0);
  Path.SetTransformation(&T);
  Click(At(70, 60));
  Drag(At(45, 10), At(60, 40));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{15, 10}, {45, 10}}));
}

TEST_F(PathOverlayTest, ArrowsMoveTheWholePathOnlyInMoveAllMode) {
  SetPath({{10, 10}, {40, 10}});
  Key(Qt::Key_Right);
  EXPECT_EQ(Path.AnchorPoint(0), (TPoint{10, 10}));
  Path.SetPathMode(pmMoveAll);
  Key(Qt::Key_Right);
  Key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(PathAnchors(Path), (Anchors{{11, 2}, {41, 2}}));
  View.GridAlign = true;
  View.GridWidth = 5;
  Key(Qt::Key_Down);
  EXPECT_EQ(Path.AnchorPoint(0), (TPoint{11, 7}));
  EXPECT_FALSE(Path.PathChanged());
  EXPECT_EQ(Steps, (std::vector<TSelOption>{soChanged, soChanged, soChanged}));
}

TEST_F(PathOverlayTest, AMoveAllDragMovesEveryVertexWithoutChangingThePath) {
  SetPath({{10, 10}, {40, 10}});
  Path.SetPathMode(pmMoveAll);
  Drag(At(60, 60), At(65, 70));
  EXPECT_EQ(PathAnchors(Path), (Anchors{{15, 20}, {45, 20}}));
  EXPECT_FALSE(Path.PathChanged());
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps.back(), soEnd);
}

TEST_F(PathOverlayTest, TheOverlayXorsItsMarkersAndSegmentsOverTheView) {
  SetPath({{10, 10}, {40, 10}});
  const QImage Shot = View.viewport()->grab().toImage();
  const QPoint A = Path.mapTo(View.viewport(), At(10, 10));
  const QColor Xor = QColor::fromRgb(qRgb(0x60 ^ 0xCE, 0x60 ^ 0xD8, 0x60 ^ 0xFF));
  // The marker's left side, a pixel of the segment, and the untouched image.
  EXPECT_EQ(Shot.pixelColor(A + QPoint(-3, 0)), Xor);
  EXPECT_EQ(Shot.pixelColor(A + QPoint(20, 0)), Xor);
  EXPECT_EQ(Shot.pixelColor(A + QPoint(20, 20)), QColor(0x60, 0x60, 0x60));
}

TEST(PathOverlayOnWidget, ClicksOnAPlainWidgetAreThePicturesPixels) {
  QWidget Graph;
  Graph.resize(260, 260);
  TPathOverlay Path(&Graph, {2, 2, 258, 258});
  Path.SetPathMode(pmAdd);
  Graph.show();
  Path.show();
  ASSERT_EQ(Path.geometry(), QRect(2, 2, 256, 256));
  for (const QPoint P : {QPoint(0, 255), QPoint(128, 100), QPoint(255, 0)}) {
    QMouseEvent Down(QEvent::MouseButtonPress, P, Path.mapToGlobal(P), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&Path, &Down);
  }
  EXPECT_EQ(PathAnchors(Path), (Anchors{{0, 255}, {128, 100}, {255, 0}}));
  EXPECT_EQ(Path.ImageWidth(), 256);
}

} // namespace
