// The plain zoomable view (previews): a bitmap at a zoom with its margins,
// the checkerboard under a transparent bitmap, centring and fitting.
#include "FakeImageWindowHost.h"

#include "document/ui/MyCustomImage.h"

#include <QApplication>
#include <QScrollBar>

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
