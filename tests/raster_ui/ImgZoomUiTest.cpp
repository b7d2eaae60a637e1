#include "raster/ui/ImgZoom.h"

#include "support/ImageCompare.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

void EnsureApplication() {
  if (qApp) return;
  static int Argc = 1;
  static char Name[] = "test_raster_ui";
  static char* Argv[] = {Name, nullptr};
  new QApplication(Argc, Argv); // lives until the process ends
}

// A widget that paints a background, then its zoomed image, on every paint.
class TZoomView : public QWidget {
public:
  TImageZoom Zoom;
  QColor Background = Qt::white;
  TColor EraseColor = clGray;
  bool Erase = true;
  TRect Covered;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter P(this);
    P.fillRect(rect(), Background);
    Covered = DrawImageZoom(Zoom, &P, EraseColor, Erase);
  }
};

// The widget's pixels, as a bitmap of the same size.
void Grab(QWidget& W, TBitmap& Out) {
  const QImage Image = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  Out.SetSize(Image.width(), Image.height());
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X) {
      const QRgb P = Image.pixel(X, Y);
      Out.Canvas().SetPixels(X, Y, RGB(qRed(P), qGreen(P), qBlue(P)));
    }
}

TEST(ImgZoomUi, ZoomedBlocksLandWhereTheImageRectSays) {
  EnsureApplication();
  TBitmap Src(4, 3, pf24bit, clBlack);
  FillRandom(Src, 21);
  TZoomView View;
  View.resize(30, 20);
  View.Zoom.SetBitmap(&Src);
  View.Zoom.SetRegion({0, 0, 30, 20});
  View.Zoom.SetZoom(3);
  View.Zoom.AdjustDraw = true;
  View.Zoom.SetX(5);
  View.Zoom.SetY(4);
  TBitmap Shown, Expected(30, 20, pf24bit, clGray);
  Grab(View, Shown);
  EXPECT_EQ(View.Covered, (TRect{5, 4, 17, 13}));
  for (int Y = 4; Y < 13; ++Y)
    for (int X = 5; X < 17; ++X) Expected.Canvas().SetPixels(X, Y, Src.PixelColor((X - 5) / 3, (Y - 4) / 3));
  EXPECT_IMAGES_MATCH(Shown, Expected);
}

// The region starts inside the block of source pixel 1 (blocks at -4, -1,
// 2, 5): the drawing starts at that block, and the clip to the region keeps
// the last block from spilling past it.
TEST(ImgZoomUi, AlignedBlocksAreCutByTheRegion) {
  EnsureApplication();
  TBitmap Src(4, 1, pf24bit, clWhite);
  const TColor Colors[4] = {clRed, clBlue, clLime, clAqua};
  for (int X = 0; X < 4; ++X) Src.Canvas().SetPixels(X, 0, Colors[X]);
  TZoomView View;
  View.resize(8, 3);
  View.Erase = false;
  View.Zoom.SetBitmap(&Src);
  View.Zoom.SetRegion({0, 0, 6, 3});
  View.Zoom.SetZoom(3);
  View.Zoom.AdjustDraw = true;
  View.Zoom.SetX(-4);
  TBitmap Shown;
  Grab(View, Shown);
  const TColor Expected[8] = {clBlue, clBlue, clLime, clLime, clLime, clAqua, clWhite, clWhite};
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 8; ++X) EXPECT_EQ(Shown.PixelColor(X, Y), Expected[X]) << X << "," << Y;
}

TEST(ImgZoomUi, TransparentColourShowsWhatIsUnder) {
  EnsureApplication();
  TBitmap Src(3, 1, pf24bit, clWhite);
  Src.Canvas().SetPixels(0, 0, clRed);
  Src.Canvas().SetPixels(2, 0, clBlue);
  Src.Transparent = true;
  Src.SetTransparentColor(clWhite);
  TZoomView View;
  View.resize(6, 2);
  View.Background = Qt::yellow;
  View.Erase = false;
  View.Zoom.SetBitmap(&Src);
  View.Zoom.SetRegion({0, 0, 6, 2});
  View.Zoom.SetZoom(2);
  TBitmap Shown;
  Grab(View, Shown);
  const TColor Expected[6] = {clRed, clRed, clYellow, clYellow, clBlue, clBlue};
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 6; ++X) EXPECT_EQ(Shown.PixelColor(X, Y), Expected[X]) << X << "," << Y;
}

// A widget shows the very pixels the same drawing gives on a bitmap canvas,
// halftone reduction included.
TEST(ImgZoomUi, WidgetAndCanvasDrawingsAgree) {
  EnsureApplication();
  TBitmap Src(53, 41, pf24bit, clBlack);
  FillRandom(Src, 8);
  for (bool Optimized : {false, true}) {
    TZoomView View;
    View.resize(40, 30);
    View.Zoom.SetBitmap(&Src);
    View.Zoom.SetRegion({2, 3, 38, 27});
    View.Zoom.SetAjustement(ajWidthHeight);
    View.Zoom.SetPosition(poCenter);
    View.Zoom.Optimized = Optimized;
    TBitmap Shown, OnCanvas(40, 30, pf24bit, clWhite);
    Grab(View, Shown);
    OnCanvas.Canvas().Brush.Color = clGray;
    DrawZoomedBitmap(&Src, &OnCanvas.Canvas(), View.Zoom.Region(), View.Zoom.X(), View.Zoom.Y(), View.Zoom.Zoom(), true,
                     Optimized, false, false);
    EXPECT_IMAGES_MATCH(Shown, OnCanvas, 0, Optimized ? "halftone" : "nearest");
  }
}

} // namespace
