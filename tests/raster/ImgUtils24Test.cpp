#include "raster/ImgUtils24.h"

#include "raster/Bitmap24.h"
#include "raster/RandomGen.h"
#include "raster/Resampling.h"
#include "raster/Stretching.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A pixel that tells its own position apart.
TRGB Marker(int X, int Y) { return {uint8_t(X), uint8_t(Y), 77}; }

void FillMarkers(TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) RowOf(B, Y)[X] = Marker(X, Y);
}

// ---- Mirrors and half turns ------------------------------------------------

TEST(ImgUtils24, FlipHorizontalOfPartOfARow) {
  TBitmap B(8, 2);
  FillMarkers(B);
  FlipHorizontal24(B, Rect(2, 0, 6, 1));
  const int Expected[8] = {0, 1, 5, 4, 3, 2, 6, 7};
  for (int X = 0; X < 8; ++X) {
    EXPECT_EQ(Px(B, X, 0), Marker(Expected[X], 0)) << X;
    EXPECT_EQ(Px(B, X, 1), Marker(X, 1)) << X;
  }
}

TEST(ImgUtils24, HalfTurnOfAnOddHeightMirrorsTheMiddleRow) {
  TBitmap B(7, 10);
  FillMarkers(B);
  const TRect R = Rect(1, 3, 5, 8); // rows 3..7: row 5 is the middle
  Rotate180Rect24(B, R);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 7; ++X) {
      const TRGB Expected = PtInRect(R, Point(X, Y)) ? Marker(1 + 5 - 1 - X, 3 + 8 - 1 - Y) : Marker(X, Y);
      EXPECT_EQ(Px(B, X, Y), Expected) << X << "," << Y;
    }
  EXPECT_EQ(Px(B, 1, 5), Marker(4, 5));
}

TEST(ImgUtils24, InPlaceRoutinesLeaveOtherFormatsAlone) {
  TBitmap B(4, 4, pf32bit, clRed);
  B.Canvas().SetPixels(0, 0, clBlue);
  FlipHorizontal24(B, WholeBitmapRect);
  FlipVertical24(B, WholeBitmapRect);
  Rotate180Rect24(B, WholeBitmapRect);
  EXPECT_EQ(B.PixelColor(0, 0), clBlue);
}

// ---- Canvas and frames ------------------------------------------------------

TEST(ImgUtils24, ResizeCanvasPlacesTheSourceAtTheAnchor) {
  TBitmap Src(10, 10);
  FillMarkers(Src);
  Src.Transparent = true;
  Src.SetTransparentColor(clFuchsia);
  TBitmap Dst;
  const TRect Placed = ResizeCanvas24(Src, Dst, 20, 30, RGB(9, 8, 7), poCenter, nullptr, nullptr);
  EXPECT_EQ(Placed, Rect(5, 10, 15, 20));
  ASSERT_EQ(Dst.Width(), 20);
  ASSERT_EQ(Dst.Height(), 30);
  EXPECT_EQ(Dst.PixelFormat(), pf24bit);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 20; ++X) {
      const TRGB Expected = PtInRect(Placed, Point(X, Y)) ? Marker(X - 5, Y - 10) : TRGB{7, 8, 9};
      ASSERT_EQ(Px(Dst, X, Y), Expected) << X << "," << Y;
    }
  EXPECT_TRUE(Dst.Transparent);
  EXPECT_EQ(Dst.TransparentColor(), clFuchsia);

  // A larger source is cut; the bitmap may be its own source.
  EXPECT_EQ(ResizeCanvas24(Dst, Dst, 10, 10, clBlack, poCenter, nullptr, nullptr), Rect(-5, -10, 15, 20));
  ASSERT_EQ(Dst.Width(), 10);
  EXPECT_IMAGES_MATCH(Dst, Src);

  for (int Size : {0, -4}) {
    EXPECT_EQ(ResizeCanvas24(Src, Dst, Size, 5, clBlack, poCenter, nullptr, nullptr), TRect{});
    EXPECT_EQ(Dst.Width(), 10);
  }
}

TEST(ImgUtils24, ResizeCanvasTilesThePatternThroughItsMask) {
  TBitmap Src(2, 2, pf24bit, clRed), Pattern(3, 2), Mask(3, 2, pf24bit, clBlack), Dst;
  FillMarkers(Pattern);
  RowOf(Mask, 0)[1] = {255, 255, 255}; // column 1 of the first pattern row left out
  const TRect Placed = ResizeCanvas24(Src, Dst, 8, 5, clWhite, poTopRight, &Pattern, &Mask);
  EXPECT_EQ(Placed, Rect(6, 0, 8, 2));
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 8; ++X) {
      TRGB Expected = Marker(X % 3, Y % 2);
      if (X % 3 == 1 && Y % 2 == 0) Expected = {255, 255, 255};
      if (PtInRect(Placed, Point(X, Y))) Expected = {0, 0, 255};
      ASSERT_EQ(Px(Dst, X, Y), Expected) << X << "," << Y;
    }
}

TEST(ImgUtils24, ResizeCanvasCopiesAnotherFormatAs24Bits) {
  TBitmap Src(3, 2, pf8bit, clLime), Dst;
  const TRect Placed = ResizeCanvas24(Src, Dst, 5, 4, clBlack, poCenter, nullptr, nullptr);
  EXPECT_EQ(Dst.PixelColor(Placed.Left, Placed.Top), clLime);
  EXPECT_EQ(Src.PixelFormat(), pf8bit);
}

TEST(ImgUtils24, FramePatternIsTiledFromTheOrigin) {
  TBitmap Dst(12, 10, pf24bit, clBlack), Pattern(4, 3);
  FillMarkers(Pattern);
  const TRect R = Rect(1, 1, 11, 9);
  FillFramePattern24(Dst, R, 2, Pattern, nullptr);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 12; ++X) {
      const bool InFrame = PtInRect(R, Point(X, Y)) && !PtInRect(Rect(3, 3, 9, 7), Point(X, Y));
      ASSERT_EQ(Px(Dst, X, Y), InFrame ? Marker(X % 4, Y % 3) : TRGB{}) << X << "," << Y;
    }
  FillFramePattern24(Dst, Rect(5, 5, 3, 9), 1, Pattern, nullptr);
  EXPECT_EQ(Px(Dst, 4, 5), TRGB{});
}

// ---- Stretching -----------------------------------------------------------------

class StretchBitmapTest : public ::testing::Test {
protected:
  void SetUp() override {
    Src.SetSize(7, 5);
    FillRandom(Src, 3);
    Square.SetSize(100, 100);
    FillRandom(Square, 4);
  }
  TBitmap Src, Square;
};

TEST_F(StretchBitmapTest, EachModeUsesItsStretchOnAWhiteBitmap) {
  using TRoutine = void (*)(const TBitmap&, const TRect&, TBitmap&, const TRect&, const TRect&);
  const TRoutine Mitchell = [](const TBitmap& S, const TRect& SR, TBitmap& D, const TRect& DR, const TRect& C) {
    StretchRect24Interpolated(S, SR, D, DR, C, amMitchell, 100, nullptr);
  };
  struct TCase {
    TStretchMode Mode;
    TRoutine Routine;
  };
  for (TCase C : {TCase{TStretchMode::smNearest, StretchRect24}, TCase{TStretchMode::smBilinear, StretchRect24Bilinear},
                  TCase{TStretchMode::smBicubic, StretchRect24Bicubic}, TCase{TStretchMode::smMitchell, Mitchell}}) {
    SCOPED_TRACE(int(C.Mode));
    TBitmap Dst(3, 3, pf8bit), Expected(13, 9, pf24bit, clWhite);
    StretchBitmap(13, 9, C.Mode, Src, Dst);
    C.Routine(Src, Rect(0, 0, 7, 5), Expected, Rect(0, 0, 13, 9), WholeBitmapRect);
    EXPECT_IMAGES_MATCH(Dst, Expected);
  }
}

struct TBestCase {
  int W, H;
  int Kernel; // -1: nearest neighbour
};

void PrintTo(const TBestCase& C, std::ostream* Out) { *Out << C.W << "x" << C.H << " kernel " << C.Kernel; }

class StretchBest : public StretchBitmapTest, public ::testing::WithParamInterface<TBestCase> {};

TEST_P(StretchBest, ChoosesTheKernelByTheScale) {
  const TBestCase& C = GetParam();
  TBitmap Dst, Expected;
  StretchBitmap(C.W, C.H, TStretchMode::smBest, Square, Dst);
  if (C.Kernel >= 0) {
    ResampleBitmap(C.W, C.H, uint8_t(C.Kernel), 0, Square, Expected);
    EXPECT_IMAGES_MATCH(Dst, Expected);
    // The other kernel gives other pixels, so the choice is seen.
    TBitmap Other;
    ResampleBitmap(C.W, C.H, uint8_t(9 - C.Kernel), 0, Square, Other);
    EXPECT_FALSE(ImagesMatch(Dst, Other));
  } else {
    ASSERT_EQ(Dst.Width(), C.W);
    ASSERT_EQ(Dst.Height(), C.H);
    for (int Y = 0; Y < C.H; ++Y)
      for (int X = 0; X < C.W; ++X)
        ASSERT_EQ(Px(Dst, X, Y), Px(Square, std::min(X * 100 / C.W, 99), std::min(Y * 100 / C.H, 99)));
  }
}

INSTANTIATE_TEST_SUITE_P(ImgUtils24, StretchBest,
                         ::testing::Values(TBestCase{50, 200, 5}, TBestCase{250, 150, 4}, TBestCase{150, 150, 5},
                                           TBestCase{150, 201, 4}, TBestCase{200, 200, 5}, TBestCase{1, 100, -1},
                                           TBestCase{100, 1, -1}));

TEST_F(StretchBitmapTest, SizesOfOneOrLessAndEmptySources) {
  TBitmap Dst(4, 4);
  StretchBitmap(0, 5, TStretchMode::smBicubic, Src, Dst);
  EXPECT_TRUE(Dst.Empty());
  Dst.SetSize(4, 4);
  StretchBitmap(5, -1, TStretchMode::smBest, Src, Dst);
  EXPECT_TRUE(Dst.Empty());

  TBitmap Empty, Kept(3, 3, pf24bit, clRed);
  StretchBitmap(5, 5, TStretchMode::smBest, Empty, Kept);
  EXPECT_EQ(Kept.Width(), 3);
  EXPECT_EQ(Kept.PixelColor(1, 1), clRed);

  // A source one pixel wide is stretched by nearest neighbour in any mode.
  TBitmap Column(1, 4);
  FillRandom(Column, 6);
  StretchBitmap(3, 8, TStretchMode::smBicubic, Column, Dst);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 3; ++X) ASSERT_EQ(Px(Dst, X, Y), Px(Column, 0, Y / 2));
}

TEST_F(StretchBitmapTest, SourceOfAnotherFormatIsLeftAsItWas) {
  TBitmap Indexed(6, 4, pf8bit, clRed), Dst, Expected(12, 8, pf24bit, clRed);
  Indexed.Canvas().SetPixels(2, 1, clBlue);
  StretchBitmap(12, 8, TStretchMode::smNearest, Indexed, Dst);
  EXPECT_EQ(Indexed.PixelFormat(), pf8bit);
  Expected.Canvas().Brush.Color = clBlue;
  Expected.Canvas().FillRect(Rect(4, 2, 6, 4));
  EXPECT_IMAGES_MATCH(Dst, Expected);
  StretchBitmap(12, 8, TStretchMode::smBest, Indexed, Dst);
  EXPECT_EQ(Indexed.PixelFormat(), pf8bit);
  EXPECT_EQ(Dst.Width(), 12);
}

TEST_F(StretchBitmapTest, InPlace) {
  TBitmap Expected, B;
  StretchBitmap(11, 3, TStretchMode::smBilinear, Src, Expected);
  B.Assign(Src);
  StretchBitmapInPlace(11, 3, TStretchMode::smBilinear, B);
  EXPECT_IMAGES_MATCH(B, Expected);
  // The same bitmap as source and destination.
  B.Assign(Src);
  StretchBitmap(11, 3, TStretchMode::smBilinear, B, B);
  EXPECT_IMAGES_MATCH(B, Expected);

  // Its own size, or no size: nothing changes (not even the format).
  TBitmap Indexed(5, 5, pf4bit, clRed), Before;
  Before.Assign(Indexed);
  for (auto [W, H] : {std::pair{5, 5}, std::pair{0, 5}, std::pair{5, -2}}) {
    StretchBitmapInPlace(W, H, TStretchMode::smBest, Indexed);
    EXPECT_IMAGES_MATCH(Indexed, Before);
  }
}

// The key never bleeds into the picture: edges blend towards the background
// colour, and what stays key-like is the key exactly.
TEST(ImgUtils24, KeepTransparentKeepsTheKeyCrisp) {
  for (TStretchMode Mode : {TStretchMode::smBilinear, TStretchMode::smBicubic, TStretchMode::smBest}) {
    SCOPED_TRACE(int(Mode));
    TBitmap B(12, 10, pf24bit, clWhite);
    B.Canvas().Brush.Color = clRed;
    B.Canvas().FillRect(Rect(3, 3, 9, 7));
    B.Canvas().SetPixels(11, 0, RGB(250, 252, 255)); // within 7 of the key
    StretchBitmapKeepTransparent(29, 23, B, clBlack, Mode);
    ASSERT_EQ(B.Width(), 29);
    ASSERT_EQ(B.Height(), 23);
    EXPECT_FALSE(B.Transparent);
    int Keys = 0;
    for (int Y = 0; Y < 23; ++Y)
      for (int X = 0; X < 29; ++X) {
        const TRGB P = Px(B, X, Y);
        if (P == TRGB{255, 255, 255}) {
          ++Keys;
          continue;
        }
        // Red blended with black only.
        ASSERT_EQ(P.Green, 0) << X << "," << Y;
        ASSERT_EQ(P.Blue, 0) << X << "," << Y;
      }
    EXPECT_EQ(Px(B, 28, 0), TRGB({255, 255, 255}));
    EXPECT_EQ(Px(B, 14, 11), TRGB({0, 0, 255}));
    EXPECT_GT(Keys, 29 * 23 / 2);
  }
}

TEST(ImgUtils24, KeepTransparentUsesAndKeepsTheTransparentColour) {
  TBitmap B(8, 8, pf8bit, clLime);
  B.Canvas().SetPixels(0, 0, clBlue);
  B.Canvas().Brush.Color = clRed;
  B.Canvas().FillRect(Rect(2, 2, 6, 6));
  B.Transparent = true;
  B.SetTransparentColor(clLime);
  StretchBitmapKeepTransparent(16, 16, B, clWhite, TStretchMode::smNearest);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), clLime);
  EXPECT_EQ(B.PixelColor(15, 15), clLime);
  EXPECT_EQ(B.PixelColor(0, 0), clBlue);
  EXPECT_EQ(B.PixelColor(7, 7), clRed);

  TBitmap Before;
  Before.Assign(B);
  StretchBitmapKeepTransparent(0, 5, B, clWhite, TStretchMode::smBest);
  EXPECT_IMAGES_MATCH(B, Before);
}

// ---- Thumbnails ----------------------------------------------------------------------

TEST(ImgUtils24, ThumbnailNeverEnlarges) {
  TBitmap Src(10, 10), Dst(100, 100, pf24bit, clBlack);
  FillRandom(Src, 5);
  const TRect R = DrawThumbnail24(Src, Dst, clWhite, 2, 0, clRed);
  EXPECT_EQ(R, Rect(45, 45, 55, 55));
  for (int Y = 0; Y < 100; ++Y)
    for (int X = 0; X < 100; ++X)
      ASSERT_EQ(Px(Dst, X, Y), PtInRect(R, Point(X, Y)) ? Px(Src, X - 45, Y - 45) : TRGB({255, 255, 255}))
          << X << "," << Y;
}

TEST(ImgUtils24, ThumbnailFitsALargerPicture) {
  TBitmap Src(200, 100, pf24bit, clBlue), Dst(100, 100, pf8bit);
  EXPECT_EQ(DrawThumbnail24(Src, Dst, clWhite, 0, 0, clRed), Rect(0, 25, 100, 75));
  EXPECT_EQ(Dst.PixelFormat(), pf24bit);
  EXPECT_EQ(Dst.PixelColor(50, 24), clWhite);
  EXPECT_EQ(Dst.PixelColor(50, 25), clBlue);
  EXPECT_EQ(Dst.PixelColor(99, 74), clBlue);
  // A sliver is at least one pixel high.
  TBitmap Line(1000, 2, pf24bit, clBlue);
  EXPECT_EQ(DrawThumbnail24(Line, Dst, clWhite, 0, 0, clRed), Rect(0, 49, 100, 50));
}

TEST(ImgUtils24, ThumbnailWithShadowAndFrame) {
  TFixedRandomize Fixed(1);
  TBitmap Src(4, 4, pf24bit, clBlue), Dst(30, 20);
  const TColor Outer = RGB(200, 200, 200);
  const TRect R = DrawThumbnail24(Src, Dst, clWhite, 1, 3, Outer);
  // Back rectangle (0, 0, 27, 17), frame inside it, margin 1: room 23 x 13.
  EXPECT_EQ(R, Bounds(2 + (23 - 4) / 2, 2 + (13 - 4) / 2, 4, 4));
  EXPECT_EQ(Dst.PixelColor(0, 0), TColor(0xCCCCCC));
  EXPECT_EQ(Dst.PixelColor(0, 15), TColor(0xCCCCCC));
  EXPECT_EQ(Dst.PixelColor(25, 0), TColor(0xCCCCCC));
  EXPECT_EQ(Dst.PixelColor(26, 0), TColor(0x555555)); // top-right corner
  EXPECT_EQ(Dst.PixelColor(0, 16), TColor(0x555555)); // bottom-left corner
  EXPECT_EQ(Dst.PixelColor(26, 10), TColor(0x555555));
  EXPECT_EQ(Dst.PixelColor(1, 1), clWhite);
  EXPECT_EQ(Dst.PixelColor(29, 0), Outer);                // beside the shadow's faded start
  EXPECT_EQ(Dst.PixelColor(2, 19), Outer);                // below it
  EXPECT_LT(GetRValue(Dst.PixelColor(27, 10)), 200 - 50); // in the shadow band
  EXPECT_EQ(Dst.PixelColor(R.Left, R.Top), clBlue);

  // A shadow that leaves no room draws no picture.
  TBitmap Tiny(3, 3);
  EXPECT_EQ(DrawThumbnail24(Src, Tiny, clWhite, 0, 3, Outer), TRect{});
  EXPECT_EQ(Tiny.PixelColor(1, 1), Outer);
  TBitmap Empty;
  EXPECT_EQ(DrawThumbnail24(Src, Empty, clWhite, 0, 0, Outer), TRect{});
}

// ---- Auto-crop -----------------------------------------------------------------------

TEST(ImgUtils24, AutoCropOfADot) {
  TBitmap B(20, 15, pf24bit, clWhite);
  B.Canvas().SetPixels(5, 7, clBlack);
  EXPECT_EQ(AutoCropRect(B, 0, clWhite), Rect(5, 7, 6, 8));
  // Against black, nothing is a border.
  EXPECT_EQ(AutoCropRect(B, 0, clBlack), Rect(0, 0, 20, 15));
  // Within tolerance the dot is border too: the whole bitmap goes.
  EXPECT_TRUE(AutoCropRect(B, 255, clWhite).IsEmpty());
}

TEST(ImgUtils24, AutoCropTakesEachSidesMiddlePixelAsItsKey) {
  TBitmap B(12, 10, pf24bit, clGray);
  auto Fill = [&](TRect R, TColor C) {
    B.Canvas().Brush.Color = C;
    B.Canvas().FillRect(R);
  };
  Fill(Rect(0, 0, 12, 2), clRed);    // two top rows
  Fill(Rect(0, 9, 12, 10), clBlue);  // one bottom row
  Fill(Rect(0, 0, 3, 10), clLime);   // three left columns, over the rows
  Fill(Rect(11, 0, 12, 10), clLime); // one right column
  // Top and bottom rows no longer match whole (green ends): only columns go.
  EXPECT_EQ(AutoCropRect(B, 0, clNone), Rect(3, 0, 11, 10));
  // Near colours within the tolerance.
  TBitmap N(6, 6, pf24bit, RGB(100, 100, 100));
  N.Canvas().SetPixels(0, 0, RGB(104, 97, 100));
  N.Canvas().SetPixels(3, 3, RGB(0, 0, 0));
  EXPECT_EQ(AutoCropRect(N, 4, clNone), Rect(3, 3, 4, 4));
  EXPECT_EQ(AutoCropRect(N, 3, clNone), Rect(0, 0, 4, 4));
}

TEST(ImgUtils24, AutoCropOfUniformOrEmptyBitmaps) {
  TBitmap Uniform(7, 4, pf8bit, clRed), Empty;
  EXPECT_TRUE(AutoCropRect(Uniform, 0, clNone).IsEmpty());
  EXPECT_EQ(AutoCropRect(Empty, 0, clNone), TRect{});
  Uniform.Canvas().SetPixels(6, 0, clBlue);
  EXPECT_EQ(AutoCropRect(Uniform, 0, clRed), Rect(6, 0, 7, 1));
  EXPECT_EQ(Uniform.PixelFormat(), pf8bit);
}

} // namespace
