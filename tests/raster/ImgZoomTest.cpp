#include "raster/ImgZoom.h"

#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A W x 1 bitmap of the given colours.
void MakeRow(TBitmap& B, const std::vector<TColor>& Colors) {
  B.SetSize(int(Colors.size()), 1);
  for (size_t X = 0; X < Colors.size(); ++X) B.Canvas().SetPixels(int(X), 0, Colors[X]);
}

std::vector<TColor> RowColors(const TBitmap& B, int Y = 0) {
  std::vector<TColor> V;
  for (int X = 0; X < B.Width(); ++X) V.push_back(B.PixelColor(X, Y));
  return V;
}

TEST(FitZoomRatio, ByModeAndDegenerateInputs) {
  TBitmap B(200, 100), Empty;
  EXPECT_EQ(FitZoomRatio(&B, {0, 0, 100, 300}, ajWidth), 0.5);
  EXPECT_EQ(FitZoomRatio(&B, {0, 0, 100, 300}, ajHeight), 3.0);
  EXPECT_EQ(FitZoomRatio(&B, {0, 0, 100, 300}, ajWidthHeight), 0.5);
  EXPECT_EQ(FitZoomRatio(&B, {0, 0, 100, 300}, ajNone), 1.0);
  EXPECT_EQ(FitZoomRatio(&B, {0, 0, 100, 300}, ajManual), 1.0);
  EXPECT_EQ(FitZoomRatio(&B, {10, 10, 10, 300}, ajWidth), 0.0);
  EXPECT_EQ(FitZoomRatio(&Empty, {0, 0, 100, 300}, ajWidth), 0.0);
  EXPECT_EQ(FitZoomRatio(nullptr, {0, 0, 100, 300}, ajNone), 0.0);
}

TEST(ImageZoom, FitsInsideTheRegionAndCentres) {
  TBitmap B(200, 100);
  TImageZoom Z;
  Z.SetBitmap(&B);
  Z.SetAjustement(ajWidthHeight);
  Z.SetRegion({0, 0, 100, 100});
  Z.SetPosition(poCenter);
  EXPECT_EQ(Z.Zoom(), 0.5);
  EXPECT_EQ(Z.Width(), 100);
  EXPECT_EQ(Z.Height(), 50);
  EXPECT_EQ(Z.ImageRect(), (TRect{0, 25, 100, 75}));
  // An image larger than the region is centred with a negative offset.
  Z.SetZoom(3);
  EXPECT_EQ(Z.ImageRect(), (TRect{-250, -100, 350, 200}));
  Z.SetPosition(poBottomRight);
  EXPECT_EQ(Z.ImageRect(), (TRect{-500, -200, 100, 100}));
  Z.SetX(7);
  EXPECT_EQ(Z.Position(), poManual);
  Z.SetRegion({0, 0, 50, 50});
  EXPECT_EQ(Z.X(), 7) << "a manual position stays";
}

TEST(ImageZoom, ZoomSetterSwitchesToManual) {
  TBitmap B(200, 100);
  TImageZoom Z;
  Z.SetBitmap(&B);
  Z.SetRegion({0, 0, 50, 50});
  EXPECT_EQ(Z.Zoom(), 1.0);
  EXPECT_EQ(Z.Width(), 200);
  Z.SetZoom(2);
  EXPECT_EQ(Z.Ajustement(), ajManual);
  EXPECT_EQ(Z.Width(), 400);
  Z.SetAjustement(ajNone);
  EXPECT_EQ(Z.Zoom(), 1.0);
  for (double Bad : {-1.0, 0.0, std::nan(""), double(INFINITY)}) {
    Z.SetAjustement(ajWidth);
    Z.SetZoom(Bad);
    EXPECT_EQ(Z.Zoom(), 1.0) << Bad;
    EXPECT_EQ(Z.Ajustement(), ajManual);
    EXPECT_EQ(Z.Width(), 200);
  }
}

TEST(ImageZoom, DisplayedSizeSetters) {
  TBitmap B(200, 100);
  TImageZoom Z;
  Z.SetWidth(50); // no bitmap: ignored
  EXPECT_EQ(Z.Width(), 0);
  Z.SetBitmap(&B);
  Z.SetWidth(50);
  EXPECT_EQ(Z.Zoom(), 0.25);
  EXPECT_EQ(Z.Height(), 25);
  EXPECT_EQ(Z.Ajustement(), ajManual);
  Z.SetWidth(0);
  Z.SetWidth(-3);
  EXPECT_EQ(Z.Width(), 50);
  EXPECT_EQ(Z.Zoom(), 0.25);
  Z.SetHeight(10);
  EXPECT_EQ(Z.Zoom(), 0.1);
  EXPECT_EQ(Z.Width(), 20);
}

// An empty bitmap has no size to derive a zoom from: the setters leave the
// zoom alone instead of dividing by zero, and a fit mode gives zoom 0 and an
// empty display.
TEST(ImageZoom, EmptyBitmapKeepsAFiniteZoom) {
  TBitmap Empty;
  TImageZoom Z;
  Z.SetBitmap(&Empty);
  Z.SetZoom(2);
  Z.SetWidth(50);
  Z.SetHeight(40);
  EXPECT_EQ(Z.Zoom(), 2.0);
  EXPECT_EQ(Z.Width(), 0);
  EXPECT_EQ(Z.Height(), 0);
  Z.SetRegion({0, 0, 10, 10});
  Z.SetAjustement(ajWidthHeight);
  EXPECT_EQ(Z.Zoom(), 0.0);
  EXPECT_EQ(Z.ImageRect(), (TRect{0, 0, 0, 0}));
}

TEST(ImageZoom, MovesOnlyWhileOverhanging) {
  TBitmap Image(100, 50), Screen(80, 80);
  TImageZoom Z;
  Z.SetBitmap(&Image);
  EXPECT_EQ(Z.Move(-10, 0, false), (TRect{})) << "no canvas";
  Z.SetCanvas(&Screen.Canvas());
  EXPECT_EQ(Z.Region(), (TRect{0, 0, 80, 80}));
  EXPECT_FALSE(Z.CanMove(mdUp));
  EXPECT_FALSE(Z.CanMove(mdDown));
  EXPECT_TRUE(Z.CanMove(mdLeft));
  EXPECT_FALSE(Z.CanMove(mdRight));
  Z.SetX(-16); // overhangs the right edge by 4
  EXPECT_EQ(Z.Move(-10, 0, false), (TRect{0, 0, 80, 50}));
  EXPECT_EQ(Z.X(), -20);
  EXPECT_EQ(Z.Position(), poManual);
  EXPECT_FALSE(Z.CanMove(mdLeft));
  EXPECT_EQ(Z.Move(-10, 0, false), (TRect{})) << "ends at the region's edge";
  EXPECT_EQ(Z.Move(0, 5, false), (TRect{})) << "fits vertically";
  EXPECT_EQ(Z.X(), -20);
  EXPECT_TRUE(Z.CanMove(mdRight));
  EXPECT_EQ(Z.Move(30, 0, false), (TRect{0, 0, 80, 50}));
  EXPECT_EQ(Z.X(), 0) << "no gap opens on the left";

  TBitmap Small(20, 20);
  Z.SetBitmap(&Small);
  for (TMoveDirection D : {mdLeft, mdRight, mdUp, mdDown}) EXPECT_FALSE(Z.CanMove(D));
  Z.SetBitmap(nullptr);
  EXPECT_FALSE(Z.CanMove(mdLeft));
}

TEST(ImageZoom, CanvasRegionIsItsClipRectangle) {
  TBitmap Screen(40, 30);
  Screen.Canvas().SetClipRect({5, 6, 20, 25});
  TImageZoom Z;
  Z.SetCanvas(&Screen.Canvas());
  EXPECT_EQ(Z.Region(), (TRect{5, 6, 20, 25}));
  Z.SetCanvas(nullptr);
  EXPECT_EQ(Z.Region(), (TRect{}));
  EXPECT_FALSE(Z.CanDraw());
  EXPECT_EQ(Z.Draw(true), (TRect{}));
}

// Every canvas pixel of a plain zoomed drawing comes from the source pixel
// Trunc((x - X) / Zoom), and Erase paints the rest of the region only.
TEST(DrawZoomedBitmap, BlocksOfTheZoomAndErasedBands) {
  TBitmap Src(3, 2, pf24bit, clBlack);
  FillRandom(Src, 4);
  TBitmap Screen(14, 10, pf24bit, clWhite), Expected(14, 10, pf24bit, clWhite);
  Screen.Canvas().Brush.Color = clGray;
  const TRect Region{1, 1, 13, 9};
  EXPECT_EQ(DrawZoomedBitmap(&Src, &Screen.Canvas(), Region, 4, 2, 2.0, true, false, false, false),
            (TRect{4, 2, 10, 6}));
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 14; ++X) {
      TColor C = clWhite;
      if (PtInRect(Region, {X, Y})) C = clGray;
      if (PtInRect({4, 2, 10, 6}, {X, Y})) C = Src.PixelColor((X - 4) / 2, (Y - 2) / 2);
      Expected.Canvas().SetPixels(X, Y, C);
    }
  EXPECT_IMAGES_MATCH(Screen, Expected);
}

TEST(DrawZoomedBitmap, ImageOutsideTheRegionOnlyErases) {
  TBitmap Src(3, 2, pf24bit, clBlack), Screen(8, 8, pf24bit, clWhite);
  Screen.Canvas().Brush.Color = clRed;
  EXPECT_EQ(DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 4, 4}, 20, 20, 1.0, false, false, false, false), (TRect{}));
  EXPECT_EQ(Screen.PixelColor(0, 0), clWhite);
  EXPECT_EQ(DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 4, 4}, 20, 20, 1.0, true, false, false, false), (TRect{}));
  EXPECT_EQ(Screen.PixelColor(3, 3), clRed);
  EXPECT_EQ(Screen.PixelColor(4, 4), clWhite);
  EXPECT_EQ(DrawZoomedBitmap(&Src, nullptr, {0, 0, 4, 4}, 0, 0, 1.0, true, false, false, false), (TRect{}));
  EXPECT_EQ(DrawZoomedBitmap(nullptr, &Screen.Canvas(), {0, 0, 4, 4}, 0, 0, 1.0, true, false, false, false), (TRect{}));
}

// At zoom 3 the region starts inside the block of source pixel 1 (blocks at
// -4, -1, 2, 5): aligned, the drawing starts at that block's start, cut by
// the region; unaligned, the visible source part is stretched over the region.
TEST(DrawZoomedBitmap, AdjustDrawAlignsBlocksToWholeSourcePixels) {
  TBitmap Src;
  MakeRow(Src, {clRed, clBlue, clLime, clAqua});
  TBitmap Screen(8, 3, pf24bit, clWhite);
  const TRect Region{0, 0, 6, 3};
  EXPECT_EQ(DrawZoomedBitmap(&Src, &Screen.Canvas(), Region, -4, 0, 3.0, false, false, true, false), Region);
  EXPECT_EQ(RowColors(Screen, 1),
            (std::vector<TColor>{clBlue, clBlue, clLime, clLime, clLime, clAqua, clWhite, clWhite}));
  EXPECT_EQ(Screen.Canvas().ClipRect(), Region) << "the narrowed clip stays";

  TBitmap Plain(8, 3, pf24bit, clWhite);
  DrawZoomedBitmap(&Src, &Plain.Canvas(), Region, -4, 0, 3.0, false, false, false, false);
  EXPECT_EQ(RowColors(Plain, 1),
            (std::vector<TColor>{clBlue, clBlue, clLime, clLime, clAqua, clAqua, clWhite, clWhite}));
  EXPECT_EQ(Plain.Canvas().ClipRect(), (TRect{0, 0, 8, 3}));
  // A printer is never aligned.
  TBitmap Printer(8, 3, pf24bit, clWhite);
  DrawZoomedBitmap(&Src, &Printer.Canvas(), Region, -4, 0, 3.0, false, false, true, true);
  EXPECT_IMAGES_MATCH(Printer, Plain);
}

TEST(DrawZoomedBitmap, TransparentColourShowsTheCanvasExceptOnAPrinter) {
  TBitmap Src;
  MakeRow(Src, {clRed, clWhite, clBlue});
  Src.Transparent = true;
  Src.SetTransparentColor(clWhite);
  TBitmap Screen(6, 1, pf24bit, clYellow);
  Screen.Canvas().Brush.Color = clBlack;
  DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 6, 1}, 0, 0, 2.0, false, true, false, false);
  EXPECT_EQ(RowColors(Screen), (std::vector<TColor>{clRed, clRed, clYellow, clYellow, clBlue, clBlue}));
  // Erasing paints the brush under the holes first.
  DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 6, 1}, 0, 0, 2.0, true, false, false, false);
  EXPECT_EQ(RowColors(Screen), (std::vector<TColor>{clRed, clRed, clBlack, clBlack, clBlue, clBlue}));
  TBitmap Printer(6, 1, pf24bit, clYellow);
  DrawZoomedBitmap(&Src, &Printer.Canvas(), {0, 0, 6, 1}, 0, 0, 2.0, false, false, false, true);
  EXPECT_EQ(RowColors(Printer), (std::vector<TColor>{clRed, clRed, clWhite, clWhite, clBlue, clBlue}));
}

TEST(DrawZoomedBitmap, OptimizedReductionAverages) {
  TBitmap Src;
  MakeRow(Src, {RGB(10, 10, 10), RGB(30, 30, 30), RGB(100, 0, 0), RGB(0, 0, 0)});
  Src.SetSize(4, 2); // a second row like the first, so that zoom 0.5 leaves one
  Src.Canvas().CopyRect({0, 1, 4, 2}, Src.Canvas(), {0, 0, 4, 1});
  TBitmap Screen(2, 1, pf24bit, clWhite);
  DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 2, 1}, 0, 0, 0.5, false, true, false, false);
  EXPECT_EQ(RowColors(Screen), (std::vector<TColor>{RGB(20, 20, 20), RGB(50, 0, 0)}));
  EXPECT_EQ(Screen.Canvas().StretchBltMode, TStretchBltMode::sbmHalftone);
  DrawZoomedBitmap(&Src, &Screen.Canvas(), {0, 0, 2, 1}, 0, 0, 0.5, false, false, false, false);
  EXPECT_EQ(RowColors(Screen), (std::vector<TColor>{RGB(10, 10, 10), RGB(100, 0, 0)}));
}

TEST(ImageZoom, DrawUsesItsState) {
  TBitmap Src(2, 2, pf24bit, clRed), Screen(10, 10, pf24bit, clWhite);
  Screen.Canvas().Brush.Color = clBlue;
  TImageZoom Z;
  Z.SetCanvas(&Screen.Canvas());
  Z.SetBitmap(&Src);
  Z.SetAjustement(ajWidthHeight);
  Z.SetPosition(poCenterRight);
  EXPECT_EQ(Z.Zoom(), 5.0);
  EXPECT_EQ(Z.Draw(false), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(Screen.PixelColor(9, 9), clRed);
  Z.SetZoom(2);
  EXPECT_EQ(Z.ImageRect(), (TRect{6, 3, 10, 7}));
  EXPECT_EQ(Z.Draw(true), (TRect{6, 3, 10, 7}));
  EXPECT_EQ(Screen.PixelColor(5, 5), clBlue);
  EXPECT_EQ(Screen.PixelColor(6, 3), clRed);
}

} // namespace
