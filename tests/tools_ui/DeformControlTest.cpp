// The distortion frame over an image view (zoom 2): scale drags keeping the
// ratio (Shift reversing it), edge drags, distort drags, the whole frame,
// Escape, arrows, double clicks and the order of the notifications.
#include "OverlayFixture.h"
#include "support/Printers.h"
#include "tools/ui/DeformControl.h"

#include <vector>

namespace {

class DeformControlTest : public OverlayFixture {
protected:
  void SetUp() override {
    Frame.OnUpdating = [this](QObject*, TSelOption O) { Steps.push_back(O); };
    Attach(Frame);
  }
  void Start(TDeformMode Mode, const TRect& R, bool Ratio) {
    Frame.DeformMode = Mode;
    Frame.AspectRatio = Ratio;
    Frame.InitVertices(R, true);
  }
  TDeformBoxArray Corners() const {
    TDeformBoxArray C;
    Frame.GetVertices(C);
    return C;
  }
  void Key(int K, Qt::KeyboardModifiers Mods = {}) { Frame.KeyDown(K, Mods); }

  TDeformControl Frame{&View};
  std::vector<TSelOption> Steps;
};

TEST_F(DeformControlTest, ScaleDragOfACornerKeepsTheRatioUnlessShiftIsHeld) {
  // 41 x 21: ratio 40 / 20 = 2, anchored at the top-left.
  Start(TDeformMode::vmScale, {0, 0, 41, 21}, true);
  Drag(At(41, 21), At(61, 61));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{0, 0, 61, 31}));
  Start(TDeformMode::vmScale, {0, 0, 41, 21}, true);
  Drag(At(41, 21), At(61, 61), Qt::ShiftModifier);
  EXPECT_EQ(Frame.BmpBounds(), (TRect{0, 0, 61, 61}));
  // Without the ratio, Shift imposes it.
  Start(TDeformMode::vmScale, {0, 0, 41, 21}, true);
  Frame.AspectRatio = false;
  Drag(At(41, 21), At(61, 61), Qt::ShiftModifier);
  EXPECT_EQ(Frame.BmpBounds(), (TRect{0, 0, 61, 31}));
}

TEST_F(DeformControlTest, ShiftPressedDuringADragReappliesTheRatioAtOnce) {
  Start(TDeformMode::vmScale, {0, 0, 41, 21}, true);
  Press(At(41, 21));
  MoveTo(At(61, 61));
  ASSERT_EQ(Frame.BmpBounds(), (TRect{0, 0, 61, 31}));
  Key(Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(Frame.BmpBounds(), (TRect{0, 0, 61, 61}));
  Release(At(61, 61), Qt::ShiftModifier);
  EXPECT_EQ(Steps.front(), soStart);
  EXPECT_EQ(Steps[Steps.size() - 2], soChanged);
  EXPECT_EQ(Steps.back(), soEnd);
}

TEST_F(DeformControlTest, EdgeHandlesMoveTheirEdgeByMode) {
  // Scale: the top edge alone, sideways motion ignored.
  Start(TDeformMode::vmScale, {20, 20, 61, 41}, false);
  Drag(At(40, 20), At(47, 10));
  EXPECT_EQ(Corners(), (TDeformBoxArray{{{20, 10}, {61, 10}, {61, 41}, {20, 41}}}));
  // Distort: both top corners by the whole offset.
  Start(TDeformMode::vmDistort, {20, 20, 61, 41}, false);
  Drag(At(40, 20), At(47, 10));
  EXPECT_EQ(Corners(), (TDeformBoxArray{{{27, 10}, {68, 10}, {61, 41}, {20, 41}}}));
  EXPECT_EQ(Frame.Vertices()[4], (TPoint{47, 10}));
}

TEST_F(DeformControlTest, ACornerDraggedAcrossTheOppositeOneStaysAnchoredThere) {
  Start(TDeformMode::vmScale, {20, 20, 41, 41}, false);
  Press(At(41, 41));
  MoveTo(At(10, 10));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{10, 10, 20, 20}));
  MoveTo(At(15, 12));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{15, 12, 20, 20}));
  Release(At(15, 12));
}

TEST_F(DeformControlTest, TheWholeFrameDragsFromInsideAndEscapePutsItBack) {
  Start(TDeformMode::vmDistort, {20, 20, 61, 41}, false);
  Drag(At(40, 30), At(45, 35));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{25, 25, 66, 46}));
  const TVerticesArray Before = Frame.Vertices();
  Press(At(66, 46));
  MoveTo(At(80, 70));
  Steps.clear();
  Key(Qt::Key_Escape);
  EXPECT_EQ(Frame.Vertices(), Before);
  EXPECT_EQ(Steps, (std::vector<TSelOption>{soChanging, soEnd}));
  EXPECT_FALSE(Frame.DraggingVertices());
}

TEST_F(DeformControlTest, OutsideTheFrameNothingStartsAndNoDoubleClickFires) {
  Start(TDeformMode::vmScale, {20, 20, 41, 41}, false);
  int DoubleClicks = 0;
  Frame.OnDblClick = [&](QObject*) { ++DoubleClicks; };
  Drag(At(70, 70), At(80, 75));
  DoubleClick(At(70, 70));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{20, 20, 41, 41}));
  EXPECT_TRUE(Steps.empty());
  EXPECT_EQ(DoubleClicks, 0);
  DoubleClick(At(30, 30));
  EXPECT_EQ(DoubleClicks, 1);
}

TEST_F(DeformControlTest, ArrowsMoveTheFrameInEveryModeButNotDuringADrag) {
  for (const TDeformMode Mode : {TDeformMode::vmScale, TDeformMode::vmDistort}) {
    Start(Mode, {20, 20, 41, 41}, true);
    Key(Qt::Key_Right);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Frame.BmpBounds(), (TRect{21, 12, 42, 33}));
    Press(At(42, 33));
    Key(Qt::Key_Left);
    EXPECT_EQ(Frame.BmpBounds(), (TRect{21, 12, 42, 33}));
    Release(At(42, 33));
  }
}

TEST_F(DeformControlTest, AFrameOnePixelHighKeepsNoRatio) {
  Start(TDeformMode::vmScale, {10, 10, 51, 11}, true);
  EXPECT_EQ(Frame.Ratio(), 0);
  // The top-right corner, grown freely against the bottom-left one.
  Drag(At(51, 10), At(61, 30));
  EXPECT_EQ(Frame.BmpBounds(), (TRect{10, 11, 61, 30}));
}

} // namespace
