#include "ui/MyImage.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using MyImage::TMyImage;

void SetPixel(TBitmap& B, int X, int Y, TColor C) {
  uint8_t* P = B.ScanLine(Y) + 3 * X;
  P[0] = GetBValue(C);
  P[1] = GetGValue(C);
  P[2] = GetRValue(C);
}

// A parent of a known colour, so see-through pixels can be told apart.
class MyImageTest : public ::testing::Test {
protected:
  void SetUp() override {
    QPalette P = Parent.palette();
    P.setColor(QPalette::Window, QColor(0, 0, 255));
    Parent.setPalette(P);
    Parent.setAutoFillBackground(true);
    Parent.resize(64, 64);
  }
  QImage Grab() { return Parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QWidget Parent;
  const TColor Back = RGB(0, 0, 255);
};

TEST_F(MyImageTest, Defaults) {
  TMyImage Image;
  EXPECT_EQ(Image.size(), QSize(105, 105));
  EXPECT_TRUE(Image.Bitmap().Empty());
  EXPECT_TRUE(Image.ParentColor());
  EXPECT_EQ(Image.StretchMode(), TStretchMode::smNearest);
}

TEST_F(MyImageTest, ProportionalFitAndCentre) {
  TMyImage Image(&Parent);
  Image.setGeometry(0, 0, 16, 16);
  TBitmap Picture(32, 16, pf24bit, clRed);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 16; X < 32; ++X) SetPixel(Picture, X, Y, clLime);
  Image.SetBitmap(Picture);
  Image.SetProportional(true);
  EXPECT_EQ(Image.DestRect(), Rect(0, 0, 16, 8));
  Image.SetCenter(true);
  EXPECT_EQ(Image.DestRect(), Rect(0, 4, 16, 12));
  const QImage I = Grab();
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      const TColor Expected = (Y < 4 || Y >= 12) ? Back : X < 8 ? clRed : clLime;
      EXPECT_EQ(PixelAt(I, X, Y), Expected) << X << "," << Y;
    }
}

TEST_F(MyImageTest, DestinationRectangles) {
  TMyImage Image;
  Image.resize(40, 30);
  Image.SetBitmap(TBitmap(10, 20, pf24bit, clRed));
  EXPECT_EQ(Image.DestRect(), Rect(0, 0, 10, 20)); // its own size
  Image.SetCenter(true);
  EXPECT_EQ(Image.DestRect(), Rect(15, 5, 25, 25));
  Image.SetStretch(true);
  EXPECT_EQ(Image.DestRect(), Rect(0, 0, 40, 30));
  Image.SetProportional(true); // upright: full height, width by the ratio
  EXPECT_EQ(Image.DestRect(), Rect(12, 0, 27, 30));
  Image.SetBitmap(TBitmap(50, 10, pf24bit, clRed)); // wide: full width
  EXPECT_EQ(Image.DestRect(), Rect(0, 11, 40, 19));
  Image.SetBitmap(TBitmap(60, 50, pf24bit, clRed)); // wide but the height limits
  EXPECT_EQ(Image.DestRect(), Rect(2, 0, 38, 30));
}

TEST_F(MyImageTest, FakeTransparencyReplacesColoursCloseToTheTopLeftPixel) {
  TMyImage Image(&Parent);
  Image.setGeometry(0, 0, 4, 1);
  Image.SetColor(clRed);
  TBitmap Picture(4, 1, pf24bit, clWhite);
  SetPixel(Picture, 1, 0, RGB(251, 252, 250)); // within 5 of white
  SetPixel(Picture, 2, 0, RGB(249, 255, 255)); // 6 away in red
  SetPixel(Picture, 3, 0, clBlack);
  Image.SetBitmap(Picture);
  Image.SetTransparent(true);
  const QImage I = Grab();
  EXPECT_EQ(PixelAt(I, 0, 0), clRed);
  EXPECT_EQ(PixelAt(I, 1, 0), clRed);
  EXPECT_EQ(PixelAt(I, 2, 0), RGB(249, 255, 255));
  EXPECT_EQ(PixelAt(I, 3, 0), clBlack);
  EXPECT_EQ(Image.Bitmap().PixelColor(0, 0), clWhite); // the picture itself is kept
}

TEST_F(MyImageTest, TransparentBitmapLeavesItsKeyOutWhenStretched) {
  TMyImage Image(&Parent);
  Image.setGeometry(0, 0, 8, 8);
  TBitmap Picture(2, 2, pf24bit, clLime);
  SetPixel(Picture, 1, 1, clBlack);
  Image.SetBitmap(Picture);
  Image.SetBitmapTransparency(true, clNone); // the top-left pixel's colour
  EXPECT_TRUE(Image.Transparent());
  EXPECT_TRUE(Image.Bitmap().Transparent);
  Image.SetStretch(true);
  QImage I = Grab();
  EXPECT_EQ(PixelAt(I, 1, 1), Back);
  EXPECT_EQ(PixelAt(I, 3, 3), Back);
  EXPECT_EQ(PixelAt(I, 4, 4), clBlack);
  EXPECT_EQ(PixelAt(I, 7, 7), clBlack);
  Image.SetBitmapTransparency(false, clNone);
  EXPECT_FALSE(Image.Bitmap().Transparent);
}

TEST_F(MyImageTest, ResamplingModesStretchTheWholeClient) {
  TMyImage Image(&Parent);
  Image.setGeometry(0, 0, 20, 12);
  Image.SetBitmap(TBitmap(3, 3, pf24bit, RGB(10, 200, 30)));
  Image.SetStretch(true);
  for (TStretchMode Mode : {TStretchMode::smBilinear, TStretchMode::smBicubic, TStretchMode::smBest}) {
    Image.SetStretchMode(Mode);
    const QImage I = Grab();
    for (int Y = 0; Y < 12; Y += 5)
      for (int X = 0; X < 20; X += 3) EXPECT_EQ(PixelAt(I, X, Y), RGB(10, 200, 30)) << X << "," << Y;
    EXPECT_EQ(PixelAt(I, 20, 5), Back);
  }
}

TEST_F(MyImageTest, PicturesBecomeTwentyFourBitAndAutoSize) {
  TMyImage Image;
  Image.SetAutoSize(true);
  Image.SetBitmap(TBitmap(7, 5, pf32bit, clRed));
  EXPECT_EQ(Image.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(Image.size(), QSize(7, 5));
  Image.Bitmap().SetPixelFormat(pf8bit);
  Image.Bitmap().SetSize(9, 4);
  Image.UpdateBitmap();
  EXPECT_EQ(Image.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(Image.size(), QSize(9, 4));
}

} // namespace
