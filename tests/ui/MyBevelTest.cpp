#include "ui/MyBevel.h"

#include "raster/Shadow.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

const TColor Shadow = ColorToRGB(clBtnShadow);
const TColor Light = ColorToRGB(clBtnHighlight);

TEST(MyBevelTest, Defaults) {
  TMyBevel B;
  EXPECT_EQ(B.Style(), TMyBevelStyle::bsSeparator);
  EXPECT_EQ(B.BorderWidth(), 1u);
  EXPECT_EQ(B.DrawColor(), clBtnShadow);
  EXPECT_TRUE(B.ParentColor());
  EXPECT_EQ(B.size(), QSize(50, 3));
}

TEST(MyBevelTest, SeparatorIsShadowThenHighlight) {
  TMyBevel B;
  B.resize(200, 2);
  B.SetDrawColor(clRed); // not used by the separator
  QImage I = GrabWidget(B);
  for (int X = 0; X < 200; X += 13) {
    EXPECT_EQ(PixelAt(I, X, 0), Shadow) << X;
    EXPECT_EQ(PixelAt(I, X, 1), Light) << X;
  }
  B.resize(200, 1);
  I = GrabWidget(B);
  for (int X = 0; X < 200; X += 13) EXPECT_EQ(PixelAt(I, X, 0), Shadow) << X;
  // Upright, the lines are columns.
  B.resize(2, 30);
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 0, 17), Shadow);
  EXPECT_EQ(PixelAt(I, 1, 17), Light);
}

TEST(MyBevelTest, LineBoxAndFill) {
  TMyBevel B;
  B.SetColor(clWhite);
  B.SetDrawColor(clRed);
  B.SetStyle(TMyBevelStyle::bsLine);
  B.resize(4, 20); // upright: the left column
  QImage I = GrabWidget(B);
  for (int Y = 0; Y < 20; ++Y) EXPECT_EQ(PixelAt(I, 0, Y), clRed);
  B.SetStyle(TMyBevelStyle::bsBox);
  B.resize(6, 5);
  I = GrabWidget(B);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 6; ++X) {
      const bool Edge = X == 0 || Y == 0 || X == 5 || Y == 4;
      EXPECT_EQ(PixelAt(I, X, Y), Edge ? clRed : clWhite) << X << "," << Y;
    }
  B.SetStyle(TMyBevelStyle::bsFill);
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 0, 0), clWhite);
  EXPECT_EQ(PixelAt(I, 3, 2), clWhite);
}

// Channel value of line I of a gradient of N lines from A to B.
int GradientAt(int A, int B, int I, int N) { return A + I * (B - A) / N; }

TEST(MyBevelTest, DoubleGradientFadesAtBothEnds) {
  TMyBevel B;
  B.resize(90, 4);
  B.SetColor(clWhite);
  B.SetDrawColor(clBlack);
  B.SetStyle(TMyBevelStyle::bsDoubleGradient);
  const QImage I = GrabWidget(B);
  for (int X = 0; X < 90; ++X) {
    int V;
    if (X < 30)
      V = GradientAt(255, 0, X, 31); // fade in over 31 columns, the last overdrawn
    else if (X < 60)
      V = 0;
    else
      V = GradientAt(0, 255, X - 60, 30);
    for (int Y = 0; Y < 4; ++Y) EXPECT_EQ(PixelAt(I, X, Y), RGB(V, V, V)) << X << "," << Y;
  }
  EXPECT_NE(PixelAt(I, 29, 0), clBlack);
  EXPECT_EQ(PixelAt(I, 89, 0), RGB(246, 246, 246)); // 29 x 255 / 30
}

TEST(MyBevelTest, GradientDirections) {
  TMyBevel B;
  B.SetColor(clWhite);
  B.SetDrawColor(clBlack);
  B.SetStyle(TMyBevelStyle::bsGradient);
  B.resize(8, 3); // horizontal: left to right, from DrawColor to Color
  QImage I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 0, 2), clBlack);
  EXPECT_EQ(PixelAt(I, 4, 0), RGB(127, 127, 127));
  B.SetStyle(TMyBevelStyle::bsGradientV); // always top to bottom
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 7, 0), clBlack);
  EXPECT_EQ(PixelAt(I, 0, 1), RGB(85, 85, 85));
  B.SetStyle(TMyBevelStyle::bsGradientH);
  B.resize(3, 8); // upright, still left to right
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 1, 7), RGB(85, 85, 85));
}

TEST(MyBevelTest, LoweredRaisedAndFrame) {
  TMyBevel B;
  B.SetColor(clWhite);
  B.resize(8, 6);
  B.SetBorderWidth(2);
  B.SetStyle(TMyBevelStyle::bsLowered);
  QImage I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 0, 0), Shadow);
  EXPECT_EQ(PixelAt(I, 1, 1), Shadow);
  EXPECT_EQ(PixelAt(I, 7, 5), Light);
  EXPECT_EQ(PixelAt(I, 6, 4), Light);
  EXPECT_EQ(PixelAt(I, 7, 0), Light); // the top-right corner belongs to the bottom colour
  B.SetStyle(TMyBevelStyle::bsRaised);
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 1, 1), Light);
  EXPECT_EQ(PixelAt(I, 6, 4), Shadow);
  B.SetStyle(TMyBevelStyle::bsFrame);
  I = GrabWidget(B);
  EXPECT_EQ(PixelAt(I, 0, 3), Shadow);
  EXPECT_EQ(PixelAt(I, 1, 3), Light);
  EXPECT_EQ(PixelAt(I, 7, 3), Light);
  EXPECT_EQ(PixelAt(I, 6, 3), Shadow);
}

TEST(MyBevelTest, ShadowBoxPaintsOnlyTheBand) {
  QWidget Parent;
  QPalette P = Parent.palette();
  P.setColor(QPalette::Window, QColor(0, 0, 255));
  Parent.setPalette(P);
  Parent.resize(30, 30);
  TMyBevel B(&Parent);
  B.setGeometry(0, 0, 20, 16);
  B.SetColor(clWhite);
  B.SetBorderWidth(4);
  B.SetStyle(TMyBevelStyle::bsShadowBox);
  const QImage I = Parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
  // The shadow of the box (0, 0, 16, 12), 4 pixels at 80 %, over white.
  TBitmap Ref(20, 16, pf24bit, clWhite);
  DrawShadow(Ref.Canvas(), Rect(0, 0, 16, 12), 4, 80, clWhite, true, false);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 20; ++X) {
      const bool Band = (Y >= 12 && X >= 4) || (X >= 16 && Y >= 4);
      EXPECT_EQ(PixelAt(I, X, Y), Band ? Ref.PixelColor(X, Y) : RGB(0, 0, 255)) << X << "," << Y;
    }
  EXPECT_LT(GetRValue(PixelAt(I, 10, 12)), 128); // the first ring darkens
}

TEST(MyBevelTest, FollowsItsParentsColour) {
  QWidget Parent;
  Parent.resize(40, 40);
  QPalette P = Parent.palette();
  P.setColor(QPalette::Window, QColor(10, 20, 30));
  Parent.setPalette(P);
  TMyBevel B(&Parent);
  B.SetStyle(TMyBevelStyle::bsFill);
  EXPECT_EQ(B.Color(), RGB(10, 20, 30));
  B.SetColor(clRed);
  EXPECT_FALSE(B.ParentColor());
  EXPECT_EQ(PixelAt(GrabWidget(B), 1, 1), clRed);
  B.SetParentColor(true);
  EXPECT_EQ(B.Color(), RGB(10, 20, 30));
  P.setColor(QPalette::Window, QColor(1, 2, 3));
  Parent.setPalette(P);
  EXPECT_EQ(B.Color(), RGB(1, 2, 3));
}

} // namespace
