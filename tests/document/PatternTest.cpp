// The fill pattern: tiling from the bitmap's origin (neighbouring fills
// join), through the pattern's mask, onto a layer and its mask; flips;
// patterns defined from the selection of the current layer; clearing and
// loading. Expected pixels are the tiling rule written out: pixel (x, y)
// takes pattern pixel (x mod w, y mod h).
#include "document/Pattern.h"

#include "FakeSelMaskHost.h"

#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

constexpr TRGB Paper = {200, 200, 200};

// Every pixel of a W x H pattern distinct: (x * 10, y * 10, 77).
void MakePattern(TPattern32& P, int W, int H) {
  NewBitmap24(P.Bmp(), W, H, clBlack);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(P.Bmp(), X, Y, Rgb(X * 10, Y * 10, 77));
}

void Paint(TBitmap& B, int W, int H, TRGB C) {
  NewBitmap24(B, W, H, clBlack);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, C);
}

} // namespace

TEST(Pattern, NeighbouringFillsJoinIntoOneTiling) {
  TPattern32 P;
  MakePattern(P, 16, 16);
  TBitmap B;
  Paint(B, 100, 60, Paper);
  P.FillBmp(B, {10, 10, 50, 50});
  P.FillBmp(B, {90, 50, 50, 10}); // not normalised: (50, 10, 90, 50)
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 100; ++X) {
      const bool In = X >= 10 && X < 90 && Y >= 10 && Y < 50;
      ASSERT_EQ(Px(B, X, Y), In ? Px(P.Bmp(), X % 16, Y % 16) : Paper) << X << "," << Y;
    }
}

TEST(Pattern, MaskedPatternLeavesItsTransparentPixels) {
  TPattern32 P;
  MakePattern(P, 4, 4);
  NewBitmap24(P.Mask(), 4, 4, clBlack);
  for (int Y = 0; Y < 4; ++Y) SetPx(P.Mask(), 0, Y, Grey(255)); // column 0 transparent
  TBitmap B;
  Paint(B, 12, 6, Paper);
  P.FillBmp(B, WholeBitmapRect);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 12; ++X) ASSERT_EQ(Px(B, X, Y), X % 4 == 0 ? Paper : Px(P.Bmp(), X % 4, Y % 4));
  // A rectangle that misses the bitmap changes nothing.
  TBitmap Before;
  Before.Assign(B);
  P.FillBmp(B, {20, 20, 30, 30});
  EXPECT_IMAGES_MATCH(B, Before);
}

TEST(Pattern, FillOnALayerMakesThePatternOpaqueInItsMask) {
  TPattern32 P;
  MakePattern(P, 4, 4);
  NewBitmap24(P.Mask(), 4, 4, clBlack);
  SetPx(P.Mask(), 1, 1, Grey(255));
  TBitmap B, M;
  Paint(B, 8, 8, Paper);
  Paint(M, 8, 8, Grey(255)); // a fully transparent layer
  P.FillBmpMask(B, &M, {0, 0, 6, 8});
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      const bool Painted = X < 6 && !(X % 4 == 1 && Y % 4 == 1);
      ASSERT_EQ(Px(M, X, Y), Grey(Painted ? 0 : 255)) << X << "," << Y;
      if (Painted) {
        ASSERT_EQ(Px(B, X, Y), Px(P.Bmp(), X % 4, Y % 4)) << X << "," << Y;
      }
    }
  // Without a layer mask the fill is the plain one.
  TBitmap Plain, Empty;
  Paint(Plain, 8, 8, Paper);
  P.FillBmpMask(Plain, &Empty, WholeBitmapRect);
  EXPECT_TRUE(Empty.Empty());
  EXPECT_EQ(Px(Plain, 1, 1), Paper);
  EXPECT_EQ(Px(Plain, 2, 1), Px(P.Bmp(), 2, 1));
}

TEST(Pattern, FlipsTurnImageAndMaskAlike) {
  struct TCase {
    bool Horz;
    int (*MapX)(int), (*MapY)(int);
  };
  const TCase Cases[] = {
      {true, [](int X) { return X; }, [](int Y) { return 1 - Y; }}, // upside down
      {false, [](int X) { return 2 - X; }, [](int Y) { return Y; }}, // mirrored
  };
  for (const TCase& C : Cases) {
    TPattern32 P, Original;
    MakePattern(P, 3, 2);
    MakePattern(Original, 3, 2);
    NewBitmap24(P.Mask(), 3, 2, clBlack);
    SetPx(P.Mask(), 0, 0, Grey(255));
    P.Flip(C.Horz);
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 3; ++X) {
        EXPECT_EQ(Px(P.Bmp(), X, Y), Px(Original.Bmp(), C.MapX(X), C.MapY(Y))) << C.Horz;
        EXPECT_EQ(Px(P.Mask(), X, Y), Grey(C.MapX(X) == 0 && C.MapY(Y) == 0 ? 255 : 0)) << C.Horz;
      }
    P.Flip(C.Horz);
    EXPECT_IMAGES_MATCH(P.Bmp(), Original.Bmp());
    // With an empty mask only the image turns.
    Original.Flip(C.Horz);
    EXPECT_TRUE(Original.MaskEmpty());
    EXPECT_EQ(Px(Original.Bmp(), C.MapX(0), C.MapY(0)), Px(P.Bmp(), 0, 0));
  }
}

TEST(Pattern, ClearEmptiesAndUnchecksThePaletteOptions) {
  TPattern32 P;
  MakePattern(P, 2, 2);
  int Unchecked = 0;
  P.OnClear = [&] { ++Unchecked; };
  P.Clear();
  EXPECT_TRUE(P.BmpEmpty());
  EXPECT_TRUE(P.MaskEmpty());
  EXPECT_EQ(Unchecked, 1);
}

TEST(Pattern, AFileThatDoesNotLoadKeepsThePattern) {
  FakeHost Host;
  TPattern32 P;
  MakePattern(P, 3, 3);
  EXPECT_FALSE(P.LoadFromFile(Host, QStringLiteral("missing")));
  EXPECT_EQ(P.Bmp().Width(), 3);
  EXPECT_TRUE(P.LoadFromFile(Host, QStringLiteral("motif")));
  EXPECT_EQ(P.Bmp().Width(), 4);
  EXPECT_EQ(Px(P.Bmp(), 0, 0), Rgb(255, 0, 0));
  // The file routines tile a pattern of their own, or do nothing.
  TBitmap B;
  Paint(B, 6, 6, Paper);
  FillPatternFile(Host, QStringLiteral("missing"), B, WholeBitmapRect);
  EXPECT_EQ(Px(B, 2, 2), Paper);
  FillPatternFile(Host, QStringLiteral("motif"), B, {1, 1, 3, 3});
  EXPECT_EQ(Px(B, 2, 2), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 3, 3), Paper);
}

// A 30 x 20 layer at (5, 5) on a 60 x 40 background; layer pixel (x, y) is
// (x, y, 9).
struct PatternFromSelection : ::testing::Test {
  FakeHost Host;
  void SetUp() override {
    Host.Document.AddBackground(60, 40, clWhite, QStringLiteral("Fond"));
    Host.Document.AddLayer(30, 20, clWhite, {5, 5}, 100, QStringLiteral("Calque"));
    TBitmap& L = *LeBitmap(Host);
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 30; ++X) SetPx(L, X, Y, Rgb(X, Y, 9));
    Host.Selection.FRect = {9, 8, 29, 20}; // layer (4, 3, 24, 15)
    CurrentPattern().Clear();
  }
};

TEST_F(PatternFromSelection, ARectangleOfALayerWithoutMaskIsOpaque) {
  NewBitmap24(CurrentPattern().Mask(), 2, 2, clBlack); // an old mask goes
  DefinePatternFromSelection(Host);
  const TPattern32& P = CurrentPattern();
  ASSERT_EQ(P.Bmp().Width(), 20);
  ASSERT_EQ(P.Bmp().Height(), 12);
  EXPECT_EQ(Px(P.Bmp(), 0, 0), Rgb(4, 3, 9));
  EXPECT_EQ(Px(P.Bmp(), 19, 11), Rgb(23, 14, 9));
  EXPECT_TRUE(P.MaskEmpty());
}

TEST_F(PatternFromSelection, AnEllipseGivesASoftShapedMask) {
  Host.Selection.FShape = ssEllipse;
  DefinePatternFromSelection(Host);
  const TBitmap& M = CurrentPattern().Mask();
  ASSERT_EQ(M.Width(), 20);
  ASSERT_EQ(M.Height(), 12);
  EXPECT_EQ(Px(M, 10, 6), Grey(0));
  EXPECT_EQ(Px(M, 0, 0), Grey(255));
  EXPECT_EQ(Px(M, 19, 11), Grey(255));
  bool Soft = false;
  for (int X = 0; X < 10; ++X) Soft |= Px(M, X, 6).Blue > 0 && Px(M, X, 6).Blue < 255;
  EXPECT_TRUE(Soft) << "no soft edge along the middle row";
}

TEST_F(PatternFromSelection, TheLayersOwnMaskComesAlong) {
  TBitmap& LM = *LeMasque(Host);
  Paint(LM, 30, 20, Grey(0));
  SetPx(LM, 14, 9, Grey(200)); // pattern (10, 6)
  SetPx(LM, 4, 3, Grey(90));   // pattern (0, 0)
  DefinePatternFromSelection(Host);
  EXPECT_EQ(Px(CurrentPattern().Mask(), 10, 6), Grey(200));
  EXPECT_EQ(Px(CurrentPattern().Mask(), 0, 0), Grey(90));
  // With an ellipse, the larger of the shape's and the layer's value.
  Host.Selection.FShape = ssEllipse;
  DefinePatternFromSelection(Host);
  EXPECT_EQ(Px(CurrentPattern().Mask(), 10, 6), Grey(200));
  EXPECT_EQ(Px(CurrentPattern().Mask(), 0, 0), Grey(255));
}
