#include "raster/ColorFill.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>

namespace {

void RandomBitmap(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetSize(W, H);
  FillRandom(B, Seed);
}

// The pixels of Rect normalised and cut to the bitmap, by testing each pixel.
void ForInside(const TBitmap& B, const TRect& Rect, const std::function<void(int, int)>& F) {
  const TRect N{std::min(Rect.Left, Rect.Right), std::min(Rect.Top, Rect.Bottom), std::max(Rect.Left, Rect.Right),
                std::max(Rect.Top, Rect.Bottom)};
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (X >= N.Left && X < N.Right && Y >= N.Top && Y < N.Bottom) F(X, Y);
}

const TRect RectCases[] = {WholeBitmapRect,
                           {30, 20, 3, 2},
                           {-5, -4, 12, 9},
                           {100, 100, 200, 200},
                           {2, 3, 15, 11},
                           {5, 5, 5, 9},
                           {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};

} // namespace

TEST(ColorFill, FillColor24MatchesTheFormula) {
  TBitmap Start;
  RandomBitmap(Start, 23, 17, 1);
  const TColor Color = RGB(250, 7, 128);
  const TRGB C{128, 7, 250};
  for (int Percent : {-250, -100, -37, -1, 0, 1, 40, 99, 100, 180})
    for (const TRect& Rect : RectCases) {
      TBitmap Actual, Expected;
      Actual.Assign(Start);
      Expected.Assign(Start);
      FillColor24(Actual, Color, Percent, Rect);
      const int P = std::clamp(Percent, -100, 100);
      auto Channel = [P](int V, int Target) {
        return static_cast<uint8_t>(std::clamp(V + (Target - V) * P / 100, 0, 255));
      };
      ForInside(Expected, Rect, [&](int X, int Y) {
        const TRGB V = Px(Expected, X, Y);
        SetPx(Expected, X, Y, {Channel(V.Blue, C.Blue), Channel(V.Green, C.Green), Channel(V.Red, C.Red)});
      });
      ASSERT_TRUE(ImagesMatch(Actual, Expected)) << Percent << " " << ::testing::PrintToString(Rect);
    }
}

TEST(ColorFill, FillColor24EdgeCases) {
  TBitmap B(4, 3, pf24bit, RGB(100, 100, 100));
  FillColor24(B, clRed, 100, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(B, TBitmap(4, 3, pf24bit, clRed));

  TBitmap Away(4, 3, pf24bit, RGB(100, 100, 100));
  FillColor24(Away, clRed, -100, WholeBitmapRect);
  EXPECT_EQ(GetPixel24(Away, 1, 1), (TRGB{200, 200, 0})); // red 0, green 200, blue 200

  // System colours are resolved first.
  TBitmap Face(2, 2, pf24bit, clBlack);
  FillColor24(Face, clBtnFace, 100, WholeBitmapRect);
  EXPECT_EQ(GetPixel24(Face, 0, 0), ColorToTRGB(ColorToRGB(clBtnFace)));

  // Not 24-bit: left alone.
  TBitmap Indexed(4, 4, pf8bit, clBlack), Before(4, 4, pf8bit, clBlack);
  FillColor24(Indexed, clRed, 100, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Indexed, Before);
}

TEST(ColorFill, ReplaceColor24MatchesTheRule) {
  // Pixels at every distance from the key on each channel.
  TBitmap Start;
  RandomBitmap(Start, 23, 17, 2);
  const TRGB Key{40, 200, 90};
  for (int Y = 0; Y < 17; ++Y)
    for (int X = 0; X < 23; X += 2)
      SetPx(Start, X, Y,
            {static_cast<uint8_t>(Key.Blue + (X % 7) - 3), static_cast<uint8_t>(Key.Green - (Y % 5)),
             static_cast<uint8_t>(Key.Red + (X + Y) % 9 - 4)});
  for (int Tolerance : {-1, 0, 1, 3, 4, 255})
    for (const TRect& Rect : RectCases) {
      TBitmap Actual, Expected;
      Actual.Assign(Start);
      Expected.Assign(Start);
      ReplaceColor24(Actual, RGB(Key.Red, Key.Green, Key.Blue), clNavy, Tolerance, Rect);
      ForInside(Expected, Rect, [&](int X, int Y) {
        const TRGB V = Px(Expected, X, Y);
        if (std::abs(V.Blue - Key.Blue) <= Tolerance && std::abs(V.Green - Key.Green) <= Tolerance &&
            std::abs(V.Red - Key.Red) <= Tolerance)
          SetPx(Expected, X, Y, {128, 0, 0});
      });
      ASSERT_TRUE(ImagesMatch(Actual, Expected)) << Tolerance << " " << ::testing::PrintToString(Rect);
    }
  // Tolerance 255 replaces every pixel; 0 only exact matches.
  TBitmap All;
  RandomBitmap(All, 5, 5, 3);
  ReplaceColor24(All, clBlack, clYellow, 255, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(All, TBitmap(5, 5, pf24bit, clYellow));
}
