// The plain zoomable view (previews): a bitmap at a zoom with its margins,
// the checkerboard under a transparent bitmap, centring and fitting, drawing
// over a finished paint, and the cursor over the image and its margins while
// the image moves under a still mouse.
#include "FakeImageWindowHost.h"

#include "document/ui/MyCustomImage.h"
#include "document/ui/MyImage.h"
#include "raster/ui/FoncUtils.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

TColor Pixel(const QImage& Img, int X, int Y) {
  const QRgb P = Img.pixel(X, Y);
  return RGB(qRed(P), qGreen(P), qBlue(P));
}

class MyCustomImageTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 200);
    View.SetColor(0x303030);
    MakeRamp(View.Bitmap(), 20, 10);
    View.BitmapChanged();
    View.show();
  }
  QImage Grab() {
    QApplication::processEvents();
    return View.viewport()->grab().toImage();
  }
  TMyCustomImage View;
};

} // namespace

TEST_F(MyCustomImageTest, ShowsTheBitmapZoomedInsideItsMargin) {
  View.SetZoom(0); // becomes 1
  EXPECT_DOUBLE_EQ(View.Zoom(), 1.0);
  View.SetZoom(3);
  const QImage G = Grab();
  EXPECT_EQ(View.ImgRect(), (TRect{8, 8, 68, 38}));
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 60; ++X) ASSERT_EQ(Pixel(G, 8 + X, 8 + Y), RGB(X / 3 * 5, Y / 3 * 7, 90)) << X << "," << Y;
  EXPECT_EQ(Pixel(G, 7, 20), 0x303030u);
  EXPECT_EQ(Pixel(G, 68, 20), 0x303030u);
  EXPECT_EQ(Pixel(G, 20, 38), 0x303030u);
  EXPECT_EQ(View.horizontalScrollBar()->maximum(), 0);
}

TEST_F(MyCustomImageTest, TransparentBitmapShowsTheCheckerboard) {
  TBitmap& B = View.Bitmap();
  B.Canvas().Brush.Color = 0x123456;
  B.Canvas().FillRect({0, 0, 4, 4});
  B.Transparent = true;
  B.SetTransparentColor(0x123456);
  View.SetZoom(2);
  const QImage G = Grab();
  // Squares of 4 screen pixels attached to the image's corner.
  EXPECT_EQ(Pixel(G, 8, 8), 0xC3C3C3u);
  EXPECT_EQ(Pixel(G, 8 + 4, 8), 0xFFFFFFu);
  EXPECT_EQ(Pixel(G, 8 + 4, 8 + 4), 0xC3C3C3u);
  EXPECT_EQ(Pixel(G, 8, 8 + 7), 0xFFFFFFu);
  EXPECT_EQ(Pixel(G, 8 + 8, 8), RGB(20, 0, 90));
}

TEST_F(MyCustomImageTest, CentringFittingAndLockedPainting) {
  View.Centered = true;
  View.SetZoom(2);
  const int VW = View.viewport()->width(), VH = View.viewport()->height();
  EXPECT_EQ(View.ImgRect(), (TRect{(VW - 40) / 2, (VH - 20) / 2, (VW - 40) / 2 + 40, (VH - 20) / 2 + 20}));
  View.Centered = false;
  View.AutoZoom();
  EXPECT_EQ(View.ImgRect().Width(), View.viewport()->width() - 16);
  EXPECT_LE(View.ImgRect().Height(), View.viewport()->height() - 16);
  // Centring a client rectangle scrolls it to the middle.
  View.SetZoom(20);
  QApplication::processEvents();
  const int Before0 = View.horizontalScrollBar()->value();
  View.CenterRect({200, 100, 240, 120});
  EXPECT_EQ(View.horizontalScrollBar()->value(), Before0 + 200 - (View.viewport()->width() - 40) / 2);
  // While painting is locked nothing is drawn, not even the background.
  View.SetZoom(1);
  Grab();
  const QImage Before = View.BackBuffer().QImageView().copy();
  View.LockPaint(true);
  View.SetColor(clRed);
  View.PaintAll();
  EXPECT_EQ(View.BackBuffer().QImageView(), Before);
  View.LockPaint(false);
  View.PaintAll();
  EXPECT_NE(View.BackBuffer().QImageView(), Before);
}

TEST_F(MyCustomImageTest, OnPaintDrawsOverEachWholePaintOnly) {
  std::vector<TRect> Clips;
  View.OnPaint = [&](QObject* Sender, TCanvas& C) {
    EXPECT_EQ(Sender, &View);
    Clips.push_back(C.ClipRect());
    // A red line across the margin and the image.
    C.Pen = TPen{clRed, 1, TPenStyle::psSolid, TPenMode::pmCopy};
    C.MoveTo(0, 12);
    C.LineTo(View.viewport()->width(), 12);
  };
  View.SetZoom(2);
  const QImage G = Grab();
  ASSERT_FALSE(Clips.empty());
  EXPECT_EQ(Clips.back(), View.LastPaintedRect());
  EXPECT_EQ(Clips.back(), View.ClientRect());
  EXPECT_EQ(Pixel(G, 3, 12), 0x0000FFu);  // in the margin
  EXPECT_EQ(Pixel(G, 20, 12), 0x0000FFu); // over the image
  EXPECT_EQ(Pixel(G, 20, 13), RGB(6 * 5, 2 * 7, 90));
  // A repaint of a part of the image is not a whole paint.
  const size_t Paints = Clips.size();
  View.RepaintRect({10, 10, 30, 30});
  EXPECT_EQ(Clips.size(), Paints);
  EXPECT_EQ(View.BackBuffer().PixelColor(20, 12), RGB(6 * 5, 2 * 7, 90));
}

namespace {

// A view with the arrow-key scrolling, its cursors read as a person sees
// them: the cross over the image, the I-beam over the margins.
class ViewCursorTest : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(300, 200);
    MakeRamp(View.Bitmap(), 20, 10);
    View.BitmapChanged();
    View.show();
    QApplication::processEvents();
    View.SetImgCursor(crCross);
    View.SetDefaultCursor(crIBeam);
  }
  Qt::CursorShape Shape() const { return View.viewport()->cursor().shape(); }
  // The mouse comes to rest at P (client coordinates).
  void MouseAt(QPoint P) {
    QCursor::setPos(View.viewport()->mapToGlobal(P));
    QTest::mouseMove(View.viewport(), P);
  }
  void Wheel(int Delta) {
    const QPoint P = View.viewport()->mapFromGlobal(QCursor::pos());
    QWheelEvent E(P, QCursor::pos(), {}, {0, Delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View.viewport(), &E);
  }
  TMyImage View;
};

} // namespace

TEST_F(ViewCursorTest, MouseMovesChooseTheImageOrTheMarginCursor) {
  MouseAt({12, 12}); // image (8, 8)-(28, 18) at zoom 1
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  MouseAt({50, 12});
  EXPECT_EQ(Shape(), Qt::IBeamCursor);
  // A new cursor shows at once under the resting mouse.
  View.SetDefaultCursor(crHandPoint);
  EXPECT_EQ(Shape(), Qt::PointingHandCursor);
}

TEST_F(ViewCursorTest, ZoomMarginAndScrollsMoveTheImageUnderAStillMouse) {
  MouseAt({50, 12});
  ASSERT_EQ(Shape(), Qt::IBeamCursor);
  View.SetZoom(3); // the image reaches (68, 38)
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  View.SetMarge(60); // the image starts at (60, 60)
  EXPECT_EQ(Shape(), Qt::IBeamCursor);
  View.SetMarge(8);
  EXPECT_EQ(Shape(), Qt::CrossCursor);

  // At zoom 20 the image (400 x 200) scrolls; the mouse rests in the top
  // margin.
  View.SetZoom(20);
  MouseAt({100, 4});
  ASSERT_EQ(Shape(), Qt::IBeamCursor);
  QTest::keyClick(&View, Qt::Key_Down, Qt::ShiftModifier); // 24 pixels down
  ASSERT_EQ(View.verticalScrollBar()->value(), 24);
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  QTest::keyClick(&View, Qt::Key_Up, Qt::ShiftModifier);
  ASSERT_EQ(View.verticalScrollBar()->value(), 0);
  EXPECT_EQ(Shape(), Qt::IBeamCursor);
  // The wheel scrolls the same way.
  Wheel(-1200);
  ASSERT_GT(View.verticalScrollBar()->value(), 4);
  EXPECT_EQ(Shape(), Qt::CrossCursor);
  Wheel(1200);
  ASSERT_EQ(View.verticalScrollBar()->value(), 0);
  EXPECT_EQ(Shape(), Qt::IBeamCursor);

  // Fitting the image into the view brings it under the mouse again.
  MouseAt({150, 30});
  View.SetZoom(1);
  ASSERT_EQ(Shape(), Qt::IBeamCursor);
  View.AutoZoom();
  EXPECT_EQ(Shape(), Qt::CrossCursor);
}
