#include "raster/BmpMem24.h"
#include "raster/BmpMem8.h"
#include "raster/Pixels.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

void Fill(TBitmap& B, TRGB V) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) SetPx(B, X, Y, V);
}

TEST(BmpMem24, NewAndClearedState) {
  TBmp24 S;
  EXPECT_EQ(S.Memory(), nullptr);
  EXPECT_EQ(S.Width(), 0);
  EXPECT_EQ(S.TransparentColor(), TColor(0));
  S.Clear();
  EXPECT_EQ(S.TransparentColor(), clNone);
  EXPECT_FALSE(S.Transparent());
}

TEST(BmpMem, AssignKeepsThePackedRectangle) {
  TBitmap B(3, 2);
  FillRandom(B, 5);
  TBmp24 S24;
  TBmp8 S8;
  ASSERT_TRUE(S24.Assign(&B, WholeBitmapRect));
  ASSERT_TRUE(S8.Assign(&B, WholeBitmapRect));
  EXPECT_EQ(S24.Width(), 3);
  EXPECT_EQ(S24.Height(), 2);
  EXPECT_EQ(S24.MemorySize(), 18);
  EXPECT_EQ(S8.MemorySize(), 6);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      const uint8_t* P = S24.Memory() + (Y * 3 + X) * 3;
      EXPECT_EQ((TRGB{P[0], P[1], P[2]}), Px(B, X, Y));
      EXPECT_EQ(S8.Memory()[Y * 3 + X], Px(B, X, Y).Blue);
    }
}

TEST(BmpMem, RestoreNeedsTheSavedSize) {
  TBitmap B(20, 20);
  FillRandom(B, 1);
  TBitmap Target(20, 20);
  Fill(Target, Grey(9));
  TBmp24 S24;
  TBmp8 S8;
  S24.Assign(&B, Rect(2, 3, 7, 5));
  S8.Assign(&B, Rect(2, 3, 7, 5));

  // The same size elsewhere: written there.
  TBitmap T24, T8;
  T24.Assign(Target);
  T8.Assign(Target);
  S24.AssignTo(T24, Rect(10, 12, 15, 14));
  S8.AssignTo(T8, Rect(10, 12, 15, 14));
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      const bool In = X >= 10 && X < 15 && Y >= 12 && Y < 14;
      const TRGB Src = In ? Px(B, X - 8, Y - 9) : Grey(9);
      EXPECT_EQ(Px(T24, X, Y), Src) << X << "," << Y;
      EXPECT_EQ(Px(T8, X, Y), Grey(Src.Blue)) << X << "," << Y;
    }

  // One pixel wider, or not 24-bit: nothing at all.
  T24.Assign(Target);
  T8.Assign(Target);
  S24.AssignTo(T24, Rect(10, 12, 16, 14));
  S8.AssignTo(T8, Rect(10, 12, 16, 14));
  S24.SwapWith(T24, Rect(10, 12, 16, 14));
  S24.AlphaBlend(T24, Rect(10, 12, 16, 14), 50);
  EXPECT_IMAGES_MATCH(T24, Target);
  EXPECT_IMAGES_MATCH(T8, Target);
  TBitmap Indexed(20, 20, pf8bit);
  TBitmap IndexedCopy;
  IndexedCopy.Assign(Indexed);
  S24.AssignTo(Indexed, Rect(0, 0, 5, 2));
  S8.AssignTo(Indexed, Rect(0, 0, 5, 2));
  EXPECT_IMAGES_MATCH(Indexed, IndexedCopy);
}

TEST(BmpMem, PartlyOutsideRectangleFitsItself) {
  TBitmap B(10, 10);
  FillRandom(B, 2);
  TBmp24 S;
  ASSERT_TRUE(S.Assign(&B, Rect(-4, 6, 3, 20)));
  EXPECT_EQ(S.Width(), 3);
  EXPECT_EQ(S.Height(), 4);
  TBitmap Copy;
  Copy.Assign(B);
  Fill(B, Grey(0));
  S.AssignTo(B, Rect(-4, 6, 3, 20));
  for (int Y = 6; Y < 10; ++Y)
    for (int X = 0; X < 3; ++X) EXPECT_EQ(Px(B, X, Y), Px(Copy, X, Y));
  EXPECT_EQ(Px(B, 3, 6), Grey(0));
}

// A failed or empty Assign must not leave a size over freed memory.
TEST(BmpMem, FailedAssignEmptiesTheSnapshot) {
  TBitmap B(8, 8);
  FillRandom(B, 3);
  TBitmap Indexed(8, 8, pf8bit);
  for (int Source = 0; Source < 3; ++Source) {
    TBmp24 S24;
    TBmp8 S8;
    ASSERT_TRUE(S24.Assign(&B, Rect(0, 0, 4, 4)));
    ASSERT_TRUE(S8.Assign(&B, Rect(0, 0, 4, 4)));
    const TBitmap* From = Source == 0 ? nullptr : (Source == 1 ? &B : &Indexed);
    const TRect Sel = Source == 1 ? Rect(20, 20, 30, 30) : Rect(0, 0, 4, 4);
    EXPECT_FALSE(S24.Assign(From, Sel));
    EXPECT_FALSE(S8.Assign(From, Sel));
    EXPECT_EQ(S24.Memory(), nullptr);
    EXPECT_EQ(S24.Width(), 0);
    EXPECT_EQ(S24.Height(), 0);
    EXPECT_EQ(S24.TransparentColor(), clNone);
    EXPECT_EQ(S8.Memory(), nullptr);
    EXPECT_EQ(S8.Width(), 0);
    TBitmap Copy;
    Copy.Assign(B);
    S24.AssignTo(B, Rect(0, 0, 4, 4));
    S8.SwapWith(B, Rect(0, 0, 4, 4));
    EXPECT_IMAGES_MATCH(B, Copy);
  }
}

TEST(BmpMem, AlphaBlendByPercent) {
  struct Case {
    int Alpha;
    uint8_t Result;
  };
  for (const Case& C : {Case{50, 150}, Case{0, 100}, Case{-5, 100}, Case{33, 133}, Case{100, 200}, Case{250, 200}}) {
    TBitmap B(4, 3);
    Fill(B, Grey(200));
    TBmp24 S24;
    TBmp8 S8;
    S24.Assign(&B);
    S8.Assign(&B);
    Fill(B, Grey(100));
    TBitmap B8;
    B8.Assign(B);
    S24.AlphaBlend(B, WholeBitmapRect, C.Alpha);
    S8.AlphaBlend(B8, WholeBitmapRect, C.Alpha);
    EXPECT_EQ(Px(B, 3, 2), Grey(C.Result)) << C.Alpha;
    EXPECT_EQ(Px(B8, 3, 2), Grey(C.Result)) << C.Alpha;
  }
  // Toward a darker saved value the division truncates toward zero.
  TBitmap B(1, 1);
  SetPx(B, 0, 0, {10, 0, 255});
  TBmp24 S;
  S.Assign(&B);
  SetPx(B, 0, 0, {0, 10, 0});
  S.AlphaBlend(B, WholeBitmapRect, 33);
  EXPECT_EQ(Px(B, 0, 0), (TRGB{3, 7, 84}));
}

TEST(BmpMem, AlphaBlendThroughAMask) {
  const uint8_t MaskValues[] = {0, 255, 128, 1};
  TBitmap Saved(4, 1), Current(4, 1), Mask(4, 1);
  for (int X = 0; X < 4; ++X) {
    SetPx(Saved, X, 0, {200, 20, 90});
    SetPx(Current, X, 0, {100, 120, 90});
    SetPx(Mask, X, 0, Grey(MaskValues[X]));
  }
  SetPx(Mask, 3, 0, {1, 0, 128}); // a mask read per byte
  TBmp24 S24;
  TBmp8 S8;
  S24.Assign(&Saved);
  S8.Assign(&Saved);
  for (bool Flat : {false, true}) {
    TBitmap B;
    B.Assign(Current);
    S24.AlphaBlend(B, WholeBitmapRect, &Mask, Flat);
    for (int X = 0; X < 4; ++X) {
      const uint8_t* M = &RowOf(Mask, 0)[X].Blue;
      const uint8_t* P = &RowOf(B, 0)[X].Blue;
      const uint8_t* Cur = &RowOf(Current, 0)[X].Blue;
      const uint8_t* Sav = &RowOf(Saved, 0)[X].Blue;
      for (int C = 0; C < 3; ++C) {
        const int Expected = Flat ? (M[C] == 0 ? Sav[C] : Cur[C]) : Cur[C] + (Sav[C] - Cur[C]) * (255 - M[C]) / 255;
        EXPECT_EQ(P[C], Expected) << "flat " << Flat << " x " << X << " byte " << C;
      }
    }
  }
  EXPECT_EQ(Px(Current, 2, 0).Blue + (200 - 100) * 127 / 255, 149);
  TBitmap B;
  B.Assign(Current);
  S8.AlphaBlend(B, WholeBitmapRect, &Mask);
  EXPECT_EQ(Px(B, 0, 0), Grey(200));
  EXPECT_EQ(Px(B, 1, 0), Grey(100));
  EXPECT_EQ(Px(B, 2, 0), Grey(149));
  EXPECT_EQ(Px(B, 3, 0), Grey(100 + 100 * 254 / 255));
  // A mask that is missing, empty or smaller than the rectangle: nothing.
  TBitmap Small(3, 1), Empty;
  for (const TBitmap* M : std::initializer_list<const TBitmap*>{nullptr, &Empty, &Small}) {
    B.Assign(Current);
    S24.AlphaBlend(B, WholeBitmapRect, M);
    S8.AlphaBlend(B, WholeBitmapRect, M);
    S24.RestoreBlankMask(B, WholeBitmapRect, M);
    EXPECT_IMAGES_MATCH(B, Current);
  }
}

TEST(BmpMem24, AlphaBlendMemWeighsByTheSavedMask) {
  TBitmap Saved(4, 1), Current(4, 1);
  Fill(Saved, Grey(250));
  Fill(Current, Grey(50));
  const uint8_t MemAlpha[] = {255, 0, 128, 0};
  TBmp24 S;
  S.Assign(&Saved);
  for (int Alpha : {100, 50, 130, -1}) {
    TBitmap B;
    B.Assign(Current);
    S.AlphaBlendMem(B, WholeBitmapRect, Alpha, MemAlpha);
    const int A = Alpha < 0 ? 0 : (Alpha > 100 ? 100 : Alpha);
    for (int X = 0; X < 4; ++X) {
      const int W = (255 - MemAlpha[X]) * A / 100;
      EXPECT_EQ(Px(B, X, 0), Grey(uint8_t(50 + 200 * W / 255))) << Alpha << " " << X;
    }
    if (Alpha == 100) {
      EXPECT_EQ(Px(B, 0, 0), Grey(50));
      EXPECT_EQ(Px(B, 1, 0), Grey(250));
    }
  }
  TBitmap B;
  B.Assign(Current);
  S.AlphaBlendMem(B, WholeBitmapRect, 100, nullptr);
  EXPECT_IMAGES_MATCH(B, Current);
}

TEST(BmpMem24, RestoreBlankMaskOnlyWhereTheMaskIsWhite) {
  TBitmap Saved(3, 1), B(3, 1), Mask(3, 1);
  Fill(Saved, {1, 2, 3});
  Fill(B, Grey(99));
  SetPx(Mask, 0, 0, Grey(255));
  SetPx(Mask, 1, 0, Grey(254));
  SetPx(Mask, 2, 0, {255, 0, 0});
  TBmp24 S;
  S.Assign(&Saved);
  S.RestoreBlankMask(B, WholeBitmapRect, &Mask);
  EXPECT_EQ(Px(B, 0, 0), (TRGB{1, 2, 3}));
  EXPECT_EQ(Px(B, 1, 0), Grey(99));
  EXPECT_EQ(Px(B, 2, 0), (TRGB{1, 2, 3})); // the first byte decides
}

TEST(BmpMem, SwapWithinARectangleTwiceRestores) {
  TBitmap A(12, 9);
  FillRandom(A, 7);
  A.Transparent = true;
  A.SetTransparentColor(clRed);
  TBitmap Other(12, 9);
  FillRandom(Other, 8);
  TBitmap OrigA, OrigOther;
  OrigA.Assign(A);
  OrigOther.Assign(Other);
  TBmp24 S;
  ASSERT_TRUE(S.Assign(&A, Rect(2, 2, 10, 7)));
  S.SwapWith(Other, Rect(2, 2, 10, 7));
  // The rectangle holds A's pixels, the rest stays; Other takes A's settings.
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 12; ++X) {
      const bool In = X >= 2 && X < 10 && Y >= 2 && Y < 7;
      EXPECT_EQ(Px(Other, X, Y), In ? Px(OrigA, X, Y) : Px(OrigOther, X, Y));
    }
  EXPECT_TRUE(Other.Transparent);
  EXPECT_EQ(Other.TransparentColor(), clRed);
  EXPECT_FALSE(S.Transparent());
  S.SwapWith(Other, Rect(2, 2, 10, 7));
  EXPECT_IMAGES_MATCH(Other, OrigOther);
  EXPECT_FALSE(Other.Transparent);
  EXPECT_EQ(Other.TransparentMode(), TTransparentMode::tmAuto);

  TBmp8 S8;
  S8.Assign(&A, Rect(2, 2, 10, 7));
  TBitmap GreyB(12, 9);
  Fill(GreyB, Grey(77));
  S8.SwapWith(GreyB, Rect(2, 2, 10, 7));
  EXPECT_EQ(Px(GreyB, 3, 3), Grey(Px(OrigA, 3, 3).Blue));
  EXPECT_EQ(Px(GreyB, 1, 1), Grey(77));
  S8.SwapWith(GreyB, Rect(2, 2, 10, 7));
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 12; ++X) EXPECT_EQ(Px(GreyB, X, Y), Grey(77));
}

TEST(BmpMem24, WholeSwapExchangesSizesAndTransparency) {
  TBitmap Small(10, 10);
  FillRandom(Small, 11);
  Small.Transparent = true;
  Small.SetTransparentColor(RGB(1, 2, 3));
  TBitmap B(20, 5);
  FillRandom(B, 12);
  // B takes its transparent colour from its bottom-left pixel.
  TBitmap OrigSmall, OrigB;
  OrigSmall.Assign(Small);
  OrigB.Assign(B);
  TBmp24 S;
  ASSERT_TRUE(S.Assign(&Small));
  S.SwapWith(B);
  EXPECT_EQ(B.Width(), 10);
  EXPECT_EQ(B.Height(), 10);
  EXPECT_EQ(S.Width(), 20);
  EXPECT_EQ(S.Height(), 5);
  EXPECT_IMAGES_MATCH(B, OrigSmall);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), RGB(1, 2, 3));
  EXPECT_FALSE(S.Transparent());
  EXPECT_EQ(S.TransparentColor(), OrigB.TransparentColor());
  S.SwapWith(B);
  EXPECT_IMAGES_MATCH(B, OrigB);
  EXPECT_FALSE(B.Transparent);
  EXPECT_EQ(B.TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(S.Width(), 10);
  EXPECT_TRUE(S.Transparent());
  EXPECT_EQ(S.TransparentColor(), RGB(1, 2, 3));
  TBitmap Back;
  S.AssignTo(Back);
  EXPECT_IMAGES_MATCH(Back, OrigSmall);
  EXPECT_TRUE(Back.Transparent);
}

TEST(BmpMem8, WholeSwapAndRestoreAreGrey) {
  TBitmap Mask(10, 10);
  Fill(Mask, Grey(77));
  SetPx(Mask, 9, 9, Grey(3));
  TBitmap B(20, 5);
  Fill(B, Grey(200));
  TBmp8 S;
  ASSERT_TRUE(S.Assign(&Mask));
  S.SwapWith(B);
  EXPECT_EQ(B.Width(), 10);
  EXPECT_EQ(S.Width(), 20);
  EXPECT_EQ(S.Height(), 5);
  EXPECT_IMAGES_MATCH(B, Mask);
  S.SwapWith(B);
  TBitmap Expected(20, 5);
  Fill(Expected, Grey(200));
  EXPECT_IMAGES_MATCH(B, Expected);
  TBitmap Out;
  S.SwapWith(B);
  S.AssignTo(Out);
  EXPECT_EQ(Out.PixelFormat(), pf24bit);
  EXPECT_IMAGES_MATCH(Out, Expected);
  // An 8-bit bitmap is taken as its 24-bit colours.
  TBitmap Indexed(2, 2, pf8bit);
  S.SwapWith(Indexed);
  EXPECT_EQ(Indexed.PixelFormat(), pf24bit);
  EXPECT_EQ(S.Width(), 2);
}

} // namespace
