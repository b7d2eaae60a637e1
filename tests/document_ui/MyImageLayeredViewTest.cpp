// The layered view's coordinate spaces checked against what it paints: the
// current layer's pixels lie where LayerToClient puts them, in the view's
// picture and, through ClientRectToBuffer, in the paint buffer, scrolled or
// not; and the move cursor over a movable layer follows the layer when the
// arrow keys move it away from under a still mouse.
#include "FakeImageWindowHost.h"

#include "document/ui/MyImageLayeredView.h"
#include "raster/ui/FoncUtils.h"
#include "support/Printers.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr TColor Blue = 0xFF0000;

// Background 40 x 30 ramp, a 6 x 4 opaque blue layer at (5, 7), current.
class LayeredViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 240);
    View.SetColor(0x202020);
    TBitmap Ramp;
    MakeRamp(Ramp, 40, 30);
    View.Image().AddBackground(&Ramp, nullptr, QStringLiteral("#0"));
    View.Image().AddLayer(6, 4, Blue, {5, 7}, 100, QStringLiteral("L"));
    View.show();
    QApplication::processEvents();
  }
  TColor Shown(int X, int Y) const { return View.BackBuffer().PixelColor(X, Y); }
  TMyImageLayeredView View;
};

} // namespace

TEST_F(LayeredViewTest, LayerCoordinatesLandOnTheLayersPixels) {
  struct TCase {
    double Zoom;
    int ScrollX; // at zoom 8 the image starts left of the client area
  };
  for (const TCase& C : {TCase{2, 0}, TCase{1, 0}, TCase{8, 30}}) {
    SCOPED_TRACE(C.Zoom);
    View.SetZoom(C.Zoom);
    View.horizontalScrollBar()->setValue(C.ScrollX);
    View.PaintAll();
    ASSERT_EQ(View.ImgRect().Left, 8 - C.ScrollX);

    const TRect L = View.LayerToClient(TRect{0, 0, 6, 4});
    EXPECT_EQ(L, View.BmpToClient(TRect{5, 7, 11, 11}));
    EXPECT_EQ(View.ClientToLayer(L), (TRect{0, 0, 6, 4}));
    EXPECT_EQ(View.LayerToClient(TPoint{0, 0}), (TPoint{L.Left, L.Top}));
    EXPECT_EQ(View.ClientToLayer(TPoint{L.Left, L.Top}), (TPoint{0, 0}));
    // The first and last pixels of the layer, and the ramp just beside it.
    EXPECT_EQ(Shown(L.Left, L.Top), Blue);
    EXPECT_EQ(Shown(L.Right - 1, L.Bottom - 1), Blue);
    EXPECT_EQ(Shown(L.Right, L.Bottom - 1), RGB(11 * 5, 10 * 7, 90));

    // The same pixels in the paint buffer, which starts at the visible image.
    const TRect B = View.ClientRectToBuffer(L);
    const TPoint O = PaintOffset(View.ImgRect());
    EXPECT_EQ(B, OffsetRect(L, -O.X, -O.Y));
    EXPECT_EQ(View.BufferRectToClient(B), L);
    EXPECT_EQ(View.PaintBuffer().PixelColor(B.Left, B.Top), Blue);
    EXPECT_EQ(View.PaintBuffer().PixelColor(B.Right - 1, B.Bottom - 1), Blue);
    EXPECT_EQ(View.BmpRectToBuffer(TRect{5, 7, 11, 11}), B);
    EXPECT_EQ(View.BufferRectToBmp(B), (TRect{5, 7, 11, 11}));
  }
  // The background's last pixel is the image's last client pixel at any zoom.
  View.Image().SetLayerIndex(0);
  const TRect I = View.ImgRect();
  EXPECT_EQ(View.LayerToClient(TPoint{39, 29}), (TPoint{I.Right - 1, I.Bottom - 1}));
  EXPECT_EQ(View.ClientToLayer(TPoint{I.Right - 1, I.Bottom - 1}), (TPoint{39, 29}));
}

TEST_F(LayeredViewTest, MoveCursorFollowsTheLayerUnderAStillMouse) {
  View.SetZoom(2);
  View.SelectionMode = TSelMode::smMoveLayer;
  View.AutoSelectLayer = true;
  View.MoveLayerCursor = crSizeAll;
  View.SetImgCursor(crCross);
  const TPoint P = View.LayerToClient(TPoint{1, 1});
  const QPoint Mouse(P.X, P.Y);
  QCursor::setPos(View.viewport()->mapToGlobal(Mouse));
  QTest::mouseMove(View.viewport(), Mouse);
  const auto Shape = [&] { return View.viewport()->cursor().shape(); };
  EXPECT_EQ(Shape(), Qt::SizeAllCursor);
  // Eight pixels to the right the 6-pixel layer has left the mouse.
  QTest::keyClick(&View, Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_EQ(View.Image().CurrentLayer()->Pos, (TPoint{13, 7}));
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  QTest::keyClick(&View, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(Shape(), Qt::SizeAllCursor);
  // A locked layer does not move: the image cursor.
  View.Image().CurrentLayer()->Locked = true;
  View.RefreshCursor();
  EXPECT_EQ(Shape(), Qt::CrossCursor);
}
