#include "platform/FontUtils.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

void NeedGuiApplication() {
  if (qGuiApp) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int Argc = 1;
  static char Name[] = "test_platform";
  static char* Argv[] = {Name, nullptr};
  new QGuiApplication(Argc, Argv); // lives until the process ends
}

// The smallest rectangle holding every pixel that is not white.
TRect InkBounds(const TBitmap& B) {
  TRect R{B.Width(), B.Height(), 0, 0};
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (!SameColor24(B.PixelColor(X, Y), clWhite)) {
        R.Left = std::min(R.Left, X);
        R.Top = std::min(R.Top, Y);
        R.Right = std::max(R.Right, X + 1);
        R.Bottom = std::max(R.Bottom, Y + 1);
      }
  return R;
}

class FontUtilsTest : public ::testing::Test {
protected:
  void SetUp() override {
    NeedGuiApplication();
    Canvas().Font.Height = -20;
    Canvas().Font.Color = clBlack;
  }
  TCanvas& Canvas() { return Bitmap.Canvas(); }
  TBitmap Bitmap{400, 300, pf24bit, clWhite};
};

TEST(FontUtils, SymbolFontsAndRotatableTypes) {
  for (const char* Name : {"marlett", "MARLETT", "Wingdings 2", "webdings", "Amiri Quran"})
    EXPECT_FALSE(IsTextFont(QString::fromUtf8(Name))) << Name;
  for (const char* Name : {"Arial", "Marlett Sans", "DejaVu Sans"}) EXPECT_TRUE(IsTextFont(QString::fromUtf8(Name)));
  EXPECT_TRUE(CanRotateFont(TRUETYPE_FONTTYPE | RASTER_FONTTYPE));
  EXPECT_TRUE(CanRotateFont(DEVICE_FONTTYPE));
  EXPECT_FALSE(CanRotateFont(RASTER_FONTTYPE));
}

TEST(FontUtils, RotatedSizeAndRotatedPoints) {
  int W = 100, H = 20;
  RotatedSize(W, H, 90); // the cosine of 90 degrees is a tiny positive number
  EXPECT_EQ(W, 21);
  EXPECT_EQ(H, 100);
  W = 100, H = 20;
  RotatedSize(W, H, 0);
  EXPECT_EQ(W, 100);
  EXPECT_EQ(H, 20);
  W = 10, H = 10;
  RotatedSize(W, H, 45);
  EXPECT_EQ(W, 15); // ceil(14.14)
  EXPECT_EQ(H, 15);

  EXPECT_EQ(RotatePointInt(7, 9, 0, 100, 100, 0, 0), (TPoint{7, 9}));
  // Counter-clockwise on screen: a point right of the centre goes above it.
  EXPECT_EQ(RotatePointInt(10, 0, 90, 0, 0, 0, 0), (TPoint{0, -10}));
  EXPECT_EQ(RotatePointInt(10, 0, 180, 0, 0, 50, 60), (TPoint{40, 60}));
}

TEST_F(FontUtilsTest, SpacingAndHeights) {
  TCanvas& C = Canvas();
  const int M = C.TextWidth("M"), MH = C.TextHeight("M");
  ASSERT_GT(M, 4);
  EXPECT_EQ(SpacedTextWidth(C, "", 50), 0);
  EXPECT_EQ(SpacedTextWidth(C, "Hello", 0), C.TextWidth("Hello"));
  // Half an "M" between characters, none after the last.
  EXPECT_EQ(SpacedTextWidth(C, "MMM", 50), 3 * M + 2 * (50 * M / 100));
  EXPECT_EQ(SpacedTextWidth(C, "MM", -100), 2 * M - M);
  EXPECT_EQ(TextLineHeight(C, 50), MH * 50 / 100 + MH);
  EXPECT_EQ(TextLinesHeight(C, {}, 50), 0);
  EXPECT_EQ(TextLinesHeight(C, {"a", "b", "c"}, -30), 3 * MH + (MH * -30 / 100) * 2);
}

TEST_F(FontUtilsTest, MeasureTextLines) {
  TCanvas& C = Canvas();
  const int M = C.TextWidth("M"), MH = C.TextHeight("M");
  int W = -1, H = -1;
  MeasureTextLines(C, {}, 0, 0, 0, 5, W, H);
  EXPECT_EQ(W, 0);
  EXPECT_EQ(H, 0);
  const QStringList Lines{"ab", "a much longer line"};
  MeasureTextLines(C, Lines, 0, 500, 0, 3, W, H); // spacing clamped to 100
  EXPECT_EQ(W, SpacedTextWidth(C, Lines[1], 100) + Round(0.33 * M) + 6);
  EXPECT_EQ(H, 2 * MH + 6);
  C.Font.Style = fsItalic;
  int WI, HI;
  MeasureTextLines(C, Lines, 0, 0, 0, 0, WI, HI);
  EXPECT_EQ(WI, SpacedTextWidth(C, Lines[1], 0) + Round(0.33 * C.TextWidth("M")) + Round(0.69 * C.TextWidth("M")));
  int WR, HR;
  MeasureTextLines(C, Lines, 90, 0, 0, 0, WR, HR);
  int RW = WI, RH = HI;
  RotatedSize(RW, RH, 90);
  EXPECT_EQ(WR, RW);
  EXPECT_EQ(HR, RH);
}

TEST_F(FontUtilsTest, DrawnBlockStaysInItsBoxAndFollowsAlignment) {
  TCanvas& C = Canvas();
  const QStringList Lines{"Wide line of text", "x"};
  int W, H;
  MeasureTextLines(C, Lines, 0, 20, 10, 4, W, H);
  DrawTextLines(C, Lines, 0, 20, 10, true, 0, 4);
  const TRect Ink = InkBounds(Bitmap);
  ASSERT_FALSE(Ink.IsEmpty());
  EXPECT_GE(Ink.Left, 4);
  EXPECT_LE(Ink.Right, W);
  EXPECT_LE(Ink.Bottom, H);
  EXPECT_EQ(C.Brush.Style, TBrushStyle::bsClear);

  // The short second line starts at the left, or ends at the right.
  MeasureTextLines(C, Lines, 0, 0, 0, 0, W, H);
  auto SecondLineInk = [&](int Alignment) {
    TBitmap B(400, 300, pf24bit, clWhite);
    B.Canvas().Font = C.Font;
    DrawTextLines(B.Canvas(), Lines, 0, 0, 0, false, Alignment, 0);
    TBitmap Line(400, H / 2, pf24bit, clWhite);
    Line.Canvas().CopyRect({0, 0, 400, H / 2}, B.Canvas(), {0, H / 2, 400, H});
    return InkBounds(Line);
  };
  EXPECT_LT(SecondLineInk(0).Left, W / 4);
  EXPECT_GT(SecondLineInk(2).Left, W / 2);
  const TRect Centre = SecondLineInk(1);
  EXPECT_NEAR((Centre.Left + Centre.Right) / 2, W / 2, 4);

  // Turned a quarter: the ink lies in the rotated box.
  TBitmap B(400, 400, pf24bit, clWhite);
  B.Canvas().Font = C.Font;
  DrawTextLines(B.Canvas(), Lines, 90, 0, 0, true, 0, 0);
  int W2, H2;
  MeasureTextLines(B.Canvas(), Lines, 90, 0, 0, 0, W2, H2);
  const TRect Turned = InkBounds(B);
  ASSERT_FALSE(Turned.IsEmpty());
  EXPECT_GT(Turned.Height(), Turned.Width()); // runs upwards
  EXPECT_LE(Turned.Right, W2 + 1);
  EXPECT_LE(Turned.Bottom, H2 + 1);
}

TEST_F(FontUtilsTest, FitFontSizeGrowsAndShrinksToTheRectangle) {
  TCanvas& C = Canvas();
  C.Font.SetSize(12);
  const QStringList Lines{"Fit me", "please"};
  auto Block = [&](int Size) {
    TCanvas T(&Bitmap);
    T.Font = C.Font;
    T.Font.SetSize(Size);
    TPoint P;
    MeasureTextLines(T, Lines, 0, 0, 0, 2, P.X, P.Y);
    return P;
  };
  const TRect Big{0, 0, 300, 200};
  int Size = 0, W = 0, H = 0;
  ASSERT_TRUE(FitFontSizeToRect(Big, C, Lines, 0, 0, 0, 2, Size, W, H));
  EXPECT_EQ(C.Font.Size(), 12); // the font keeps its size
  EXPECT_EQ((TPoint{W, H}), Block(Size));
  EXPECT_TRUE(W < 300 && H < 200);
  const TPoint Next = Block(Size + 1);
  EXPECT_FALSE(Next.X < 300 && Next.Y < 200);

  const TRect Small{0, 0, 20, 8};
  W = H = 0;
  ASSERT_TRUE(FitFontSizeToRect(Small, C, Lines, 0, 0, 0, 2, Size, W, H));
  EXPECT_TRUE(W > 20 && H > 8);
  const TPoint Smaller = Block(Size - 1);
  EXPECT_FALSE(Smaller.X > 20 && Smaller.Y > 8);

  // Between the rectangle's sizes one way: nothing changes.
  const TPoint Now = Block(12);
  Size = 77;
  W = H = 0;
  EXPECT_FALSE(FitFontSizeToRect({0, 0, Now.X + 50, Now.Y - 1}, C, Lines, 0, 0, 0, 2, Size, W, H));
  EXPECT_EQ(Size, 77);
}

TEST_F(FontUtilsTest, FitFontSizeSearchIsBounded) {
  TCanvas& C = Canvas();
  C.Font.SetSize(12);
  int Size = 0, W = 0, H = 0;
  // A rectangle no font size fills, and one smaller than the margins.
  EXPECT_TRUE(FitFontSizeToRect({0, 0, 2000000, 2000000}, C, {"x"}, 0, 0, 0, 0, Size, W, H));
  EXPECT_EQ(Size, FitFontMaxSize);
  W = H = 0;
  EXPECT_TRUE(FitFontSizeToRect({0, 0, 3, 3}, C, {"x"}, 0, 0, 0, 10, Size, W, H));
  EXPECT_EQ(Size, FitFontMinSize);
}

} // namespace
