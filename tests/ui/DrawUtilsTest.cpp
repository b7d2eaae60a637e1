#include "ui/DrawUtils.h"

#include "UiTestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(ColorMathTest, BrightnessModes) {
  EXPECT_DOUBLE_EQ(ColorBrightness(0x0000FF, 1), 0.3);
  EXPECT_NEAR(ColorBrightness(0x0000FF, 0), 1.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(ColorBrightness(RGB(10, 200, 40), 2), 200 / 255.0);
  EXPECT_DOUBLE_EQ(ColorBrightness(RGB(10, 200, 40), 3), 10 / 255.0);
  EXPECT_DOUBLE_EQ(ColorBrightness(RGB(10, 200, 40), 7), 250 / 765.0);
  EXPECT_DOUBLE_EQ(ColorBrightness(clWhite, 1), 1.0);
  // A system colour is resolved first.
  EXPECT_DOUBLE_EQ(ColorBrightness(clBtnFace, 0), ColorBrightness(ColorToRGB(clBtnFace), 0));
}

TEST(ColorMathTest, MixColorsFRoundsTiesToEvenAndKeepsEnds) {
  EXPECT_EQ(MixColorsF(clBlack, clWhite, 0.5), RGB(128, 128, 128));     // 127.5
  EXPECT_EQ(MixColorsF(RGB(0, 0, 1), RGB(0, 0, 2), 0.5), RGB(0, 0, 2)); // 1.5 -> 2
  EXPECT_EQ(MixColorsF(RGB(0, 0, 2), RGB(0, 0, 3), 0.5), RGB(0, 0, 2)); // 2.5 -> 2
  EXPECT_EQ(MixColorsF(clBtnFace, clWhite, 0), clBtnFace);              // a system colour stays one
  EXPECT_EQ(MixColorsF(clBtnFace, clWhite, -1), clBtnFace);
  EXPECT_EQ(MixColorsF(clWhite, clBtnShadow, 1), clBtnShadow);
  EXPECT_EQ(MixColorsF(RGB(100, 50, 200), clBlack, 0.12), RGB(88, 44, 176));
  EXPECT_EQ(DarkenColor(RGB(200, 100, 0), 0.1), RGB(180, 90, 0));
  EXPECT_EQ(LightenColor(RGB(51, 51, 51), 0.05), RGB(61, 61, 61)); // 61.2
}

class CanvasTest : public ::testing::Test {
protected:
  QImage Image{12, 8, QImage::Format_RGB32};
  void SetUp() override { Image.fill(Qt::white); }
  // Cells of the image that are not white.
  int CountPainted(const TRect& Within) const {
    int N = 0;
    for (int Y = Within.Top; Y < Within.Bottom; ++Y)
      for (int X = Within.Left; X < Within.Right; ++X) N += PixelAt(Image, X, Y) != clWhite;
    return N;
  }
  int CountPainted() const { return CountPainted(Rect(0, 0, Image.width(), Image.height())); }
};

TEST_F(CanvasTest, FillRectExceptLeavesTheHole) {
  {
    QPainter P(&Image);
    P.setBrush(QColor(Qt::black));
    FillRectExcept(P, Rect(1, 1, 11, 7), Rect(3, 2, 6, 5));
  }
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 12; ++X) {
      const bool InOuter = X >= 1 && X < 11 && Y >= 1 && Y < 7;
      const bool InInner = X >= 3 && X < 6 && Y >= 2 && Y < 5;
      EXPECT_EQ(PixelAt(Image, X, Y), InOuter && !InInner ? clBlack : clWhite) << X << "," << Y;
    }
}

TEST_F(CanvasTest, FillRectExceptDisjointEqualAndOverhangingHoles) {
  {
    QPainter P(&Image);
    P.setBrush(QColor(Qt::black));
    FillRectExcept(P, Rect(0, 0, 4, 4), Rect(6, 6, 9, 9)); // apart: all of Outer
  }
  EXPECT_EQ(CountPainted(), 16);
  Image.fill(Qt::white);
  {
    QPainter P(&Image);
    P.setBrush(QColor(Qt::black));
    FillRectExcept(P, Rect(2, 2, 8, 6), Rect(2, 2, 8, 6)); // equal: nothing
  }
  EXPECT_EQ(CountPainted(), 0);
  Image.fill(Qt::white);
  {
    QPainter P(&Image);
    P.setBrush(QColor(Qt::black));
    FillRectExcept(P, Rect(2, 2, 8, 6), Rect(5, 0, 20, 20)); // hole beyond the right: only the left band
  }
  EXPECT_EQ(CountPainted(), 3 * 4);
  EXPECT_EQ(CountPainted(Rect(2, 2, 5, 6)), 12);
}

TEST_F(CanvasTest, FillFrameRectDrawsInside) {
  {
    QPainter P(&Image);
    P.setBrush(QColor(Qt::black));
    FillFrameRect(P, Rect(1, 1, 9, 7), 2);
    FillFrameRect(P, Rect(0, 0, 12, 8), 0); // nothing
  }
  EXPECT_EQ(CountPainted(), 8 * 6 - 4 * 2);
  EXPECT_EQ(PixelAt(Image, 1, 1), clBlack);
  EXPECT_EQ(PixelAt(Image, 2, 2), clBlack);
  EXPECT_EQ(PixelAt(Image, 8, 6), clBlack);
  EXPECT_EQ(PixelAt(Image, 3, 3), clWhite);
  EXPECT_EQ(PixelAt(Image, 0, 0), clWhite);
}

TEST_F(CanvasTest, DrawGradientNeverReachesTheSecondColour) {
  {
    QPainter P(&Image);
    DrawGradient(P, Rect(0, 0, 4, 8), clBlack, clWhite, true);
    DrawGradient(P, Rect(4, 0, 12, 3), RGB(200, 0, 90), RGB(0, 200, 0), false);
  }
  const int Expected[4] = {0, 63, 127, 191};
  for (int X = 0; X < 4; ++X)
    for (int Y = 0; Y < 8; ++Y) EXPECT_EQ(PixelAt(Image, X, Y), RGB(Expected[X], Expected[X], Expected[X]));
  // Rows: c1 + i * (c2 - c1) / 3, the division truncating towards zero.
  EXPECT_EQ(PixelAt(Image, 4, 0), RGB(200, 0, 90));
  EXPECT_EQ(PixelAt(Image, 11, 1), RGB(134, 66, 60));
  EXPECT_EQ(PixelAt(Image, 7, 2), RGB(67, 133, 30));
  EXPECT_EQ(PixelAt(Image, 7, 3), clWhite);
}

TEST_F(CanvasTest, Frame3DCornersTakeTheBottomColour) {
  {
    QPainter P(&Image);
    Frame3D(P, Rect(0, 0, 5, 4), clRed, clBlue, 1);
  }
  EXPECT_EQ(PixelAt(Image, 0, 0), clRed);
  EXPECT_EQ(PixelAt(Image, 3, 0), clRed);
  EXPECT_EQ(PixelAt(Image, 4, 0), clBlue); // top-right
  EXPECT_EQ(PixelAt(Image, 0, 2), clRed);
  EXPECT_EQ(PixelAt(Image, 0, 3), clBlue); // bottom-left
  EXPECT_EQ(PixelAt(Image, 4, 2), clBlue);
  EXPECT_EQ(PixelAt(Image, 2, 3), clBlue);
  EXPECT_EQ(PixelAt(Image, 2, 2), clWhite);
  EXPECT_EQ(CountPainted(), 14);
}

TEST_F(CanvasTest, TileBitmapRepeatsAndCuts) {
  TBitmap Tile(3, 2, pf24bit, clWhite);
  Tile.ScanLine(0)[0] = 0; // pixel (0, 0): blue 0, green 0, red 0
  Tile.ScanLine(0)[1] = 0;
  Tile.ScanLine(0)[2] = 0;
  {
    QPainter P(&Image);
    FillRectColor(P, clRed, Rect(0, 0, 12, 8));
    TileBitmap(P, Rect(1, 1, 8, 6), Tile);
  }
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 12; ++X) {
      const bool Inside = X >= 1 && X < 8 && Y >= 1 && Y < 6;
      const bool Dot = Inside && (X - 1) % 3 == 0 && (Y - 1) % 2 == 0;
      EXPECT_EQ(PixelAt(Image, X, Y), !Inside ? clRed : Dot ? clBlack : clWhite) << X << "," << Y;
    }
}

TEST_F(CanvasTest, TileBitmapCopiesThirtyTwoBitPixelsWhateverTheirAlpha) {
  TBitmap Tile(2, 2, pf32bit, clWhite); // alpha 0, as a bitmap that never had alpha
  {
    QPainter P(&Image);
    FillRectColor(P, clRed, Rect(0, 0, 12, 8));
    TileBitmap(P, Rect(0, 0, 2, 2), Tile);
  }
  EXPECT_EQ(PixelAt(Image, 1, 1), clWhite);
  EXPECT_EQ(PixelAt(Image, 2, 1), clRed);
}

} // namespace
