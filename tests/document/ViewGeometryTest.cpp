#include "document/ViewGeometry.h"

#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TViewGeometry View(int W, int H, double Zoom, int Left = 8, int Top = 8) {
  TViewGeometry V;
  V.W = W;
  V.H = H;
  V.Zoom = Zoom;
  V.ImgRect = {Left, Top, Left + ZoomedSize(W, Zoom), Top + ZoomedSize(H, Zoom)};
  return V;
}

} // namespace

TEST(ViewGeometry, LastClientPixelMapsToLastBitmapPixelAtEveryZoom) {
  for (double Z : {1.0 / 3, 0.5, 1.0, 2.0, 16.0, 0.37}) {
    const TViewGeometry V = View(41, 29, Z);
    const TPoint P = V.ClientToBmp(TPoint{V.ImgRect.Right - 1, V.ImgRect.Bottom - 1});
    EXPECT_EQ(P, (TPoint{40, 28})) << Z;
    EXPECT_EQ(V.BmpToClient(TPoint{40, 28}), (TPoint{V.ImgRect.Right - 1, V.ImgRect.Bottom - 1})) << Z;
  }
}

TEST(ViewGeometry, PointConversionsTruncateAndRound) {
  const TViewGeometry V = View(100, 100, 3.0, 10, 20);
  EXPECT_EQ(V.ClientToBmp(TPoint{10, 20}), (TPoint{0, 0}));
  EXPECT_EQ(V.ClientToBmp(TPoint{15, 26}), (TPoint{1, 2}));
  EXPECT_EQ(V.ClientToBmp(TPoint{9, 19}), (TPoint{0, 0})); // Trunc of -1/3 is 0
  EXPECT_EQ(V.BmpToClient(TPoint{2, 3}), (TPoint{16, 29}));
  // Ties to even: 2.5 x 1 at zoom 0.5 of pixel 5 is 2.5 -> 2.
  const TViewGeometry H = View(100, 100, 0.5, 0, 0);
  EXPECT_EQ(H.BmpToClient(TPoint{5, 7}), (TPoint{2, 4}));
}

TEST(ViewGeometry, RectanglesReachingTheEdgeMapToTheEdgeAndBack) {
  for (double Z : {1.0 / 3, 0.5, 1.0, 2.0, 16.0}) {
    const TViewGeometry V = View(37, 23, Z);
    const TRect C = V.BmpToClient(TRect{3, 4, 37, 23});
    EXPECT_EQ(C.Right, V.ImgRect.Right) << Z;
    EXPECT_EQ(C.Bottom, V.ImgRect.Bottom) << Z;
    const TRect B = V.ClientToBmp(C);
    EXPECT_EQ(B.Right, 37) << Z;
    EXPECT_EQ(B.Bottom, 23) << Z;
  }
  const TViewGeometry V = View(100, 100, 2.0, 8, 8);
  EXPECT_EQ(V.BmpToClient(TRect{1, 2, 5, 6}), (TRect{10, 12, 18, 20}));
  EXPECT_EQ(V.ClientToBmp(TRect{10, 12, 18, 20}), (TRect{1, 2, 5, 6}));
}

TEST(ViewGeometry, PaintBufferStartsAtTheVisibleImage) {
  // The buffer's origin is the image's top-left, or the client edge where the
  // image is scrolled past it.
  struct Case {
    TRect ImgRect;
    TRect Client, Buffer;
  };
  const Case Cases[] = {
      {{8, 8, 208, 108}, {8, 8, 20, 30}, {0, 0, 12, 22}},
      {{-30, 8, 170, 108}, {0, 10, 5, 20}, {0, 2, 5, 12}},
      {{-30, -500, 170, -300}, {4, 4, 9, 9}, {4, 4, 9, 9}},
  };
  for (const Case& C : Cases) {
    TViewGeometry V;
    V.W = 100;
    V.H = 50;
    V.Zoom = 2.0;
    V.ImgRect = C.ImgRect;
    EXPECT_EQ(V.ClientRectToBuffer(C.Client), C.Buffer);
    EXPECT_EQ(V.BufferRectToClient(C.Buffer), C.Client);
  }
  // Through the image: a bitmap rectangle reaching the right and bottom edges
  // reaches the buffer's, and comes back whole.
  const TViewGeometry V = View(37, 23, 1.0 / 3, -4, 8);
  const TRect B = V.BmpRectToBuffer({3, 6, 37, 23});
  EXPECT_EQ(B.Right, V.ImgRect.Right);
  EXPECT_EQ(B.Bottom, V.ImgRect.Bottom - 8);
  EXPECT_EQ(V.BufferRectToBmp(B), (TRect{3, 6, 37, 23}));
  const TViewGeometry Z = View(100, 100, 2.0, 8, 8);
  EXPECT_EQ(Z.BmpRectToBuffer({1, 2, 5, 6}), (TRect{2, 4, 10, 12}));
  EXPECT_EQ(Z.BufferRectToBmp({2, 4, 10, 12}), (TRect{1, 2, 5, 6}));
}

TEST(ViewGeometry, ConversionErrorMargin) {
  EXPECT_EQ(View(10, 10, 0.25).ErrorMargin(), 5);
  EXPECT_EQ(View(10, 10, 1.0).ErrorMargin(), 2);
  EXPECT_EQ(View(10, 10, 16.0).ErrorMargin(), 2);
  EXPECT_EQ(View(10, 10, 1.0 / 3).ErrorMargin(), 4);
  EXPECT_EQ(View(10, 10, 0.25).CheckErrorConversion({10, 10, 20, 20}), (TRect{5, 5, 25, 25}));
}

TEST(ViewGeometry, GridStepAndVisibility) {
  EXPECT_DOUBLE_EQ(CalcGridWidth(16, 0, 300), 16.0);
  EXPECT_NEAR(CalcGridWidth(16, 1, 96), 37.795275, 1e-5);
  EXPECT_DOUBLE_EQ(CalcGridWidth(16, 2, 72), 72.0);
  EXPECT_FALSE(GridVisible(16, 0.1));  // 1.6 screen pixels
  EXPECT_TRUE(GridVisible(16, 0.125)); // 2 screen pixels
  EXPECT_FALSE(GridVisible(0, 16));    // a grid width of 0 draws nothing
  EXPECT_FALSE(GridVisible(-5, 16));
  EXPECT_FALSE(GridVisible(NAN, 1));
}

TEST(ViewGeometry, GridLinesSkipEdgesAndStayInsideTheClip) {
  // 16-pixel grid over 64 x 40 at zoom 2, origin (8, 8): lines at 16, 32, 48
  // (not 0 or 64) and 16, 32.
  TViewGeometry V = View(64, 40, 2.0, 8, 8);
  const TGridLines L = CalcGridLines(V, 16, {0, 0, 200, 200});
  EXPECT_EQ(L.X, (std::vector<int>{40, 72, 104}));
  EXPECT_EQ(L.Y, (std::vector<int>{40, 72}));
  EXPECT_EQ(L.Left, 8);
  EXPECT_EQ(L.Right, 8 + 80 * 2); // W + G rounded down to the step
  // A clip over client x 60..70 only (bitmap 26..31 grown by 2) keeps x = 32.
  const TGridLines C = CalcGridLines(V, 16, {60, 0, 70, 200});
  EXPECT_EQ(C.X, (std::vector<int>{72}));
  EXPECT_TRUE(CalcGridLines(V, 0, {0, 0, 200, 200}).X.empty());
  EXPECT_TRUE(GridLinePositions(16, 0.1, 1000, 0, 0, 1000).empty());
}

TEST(ViewGeometry, ScrollRangesAndImagePosition) {
  EXPECT_EQ(ScrollExtent(640, 8), 656);
  EXPECT_EQ(ScrollMaximum(656, 500), 156);
  EXPECT_EQ(ScrollMaximum(100, 500), 0);
  EXPECT_EQ(ImagePos(8, 30, false, true, 500, 640), -22);
  EXPECT_EQ(ImagePos(8, 0, true, false, 501, 100), 200);
  EXPECT_EQ(ImagePos(8, 0, true, true, 501, 100), 8); // a bar: no centring on that axis
  EXPECT_EQ(PaintOffset({-30, 8, 600, 400}), (TPoint{0, 8}));
}

TEST(ViewGeometry, PropertyLimits) {
  EXPECT_EQ(ValidShadowSize(13), 0);
  EXPECT_EQ(ValidShadowSize(-1), 0);
  EXPECT_EQ(ValidShadowSize(12), 12);
  EXPECT_DOUBLE_EQ(ValidZoom(0), 1.0);
  EXPECT_DOUBLE_EQ(ValidZoom(-2), 1.0);
  EXPECT_DOUBLE_EQ(ValidZoom(INFINITY), 1.0);
  EXPECT_DOUBLE_EQ(ValidZoom(0.25), 0.25);
  EXPECT_EQ(ZoomedSize(1, 0.01), 1);
  EXPECT_EQ(ZoomedSize(0, 2), 0);
}

TEST(ViewGeometry, LayerDragRules) {
  // Grid 10: a drag that would put the layer at (27, 33) puts it at (20, 30).
  EXPECT_EQ(DraggedLayerPos({5, 5}, {10, 10}, {32, 38}, true, 10), (TPoint{20, 30}));
  EXPECT_EQ(DraggedLayerPos({5, 5}, {10, 10}, {32, 38}, false, 10), (TPoint{27, 33}));
  EXPECT_EQ(DraggedLayerPos({0, 0}, {0, 0}, {-27, 5}, true, 10), (TPoint{-20, 0}));
  EXPECT_EQ(DraggedLayerPos({5, 5}, {10, 10}, {32, 38}, true, 0), (TPoint{27, 33}));
  // More horizontal keeps Y; a perfect diagonal keeps X.
  EXPECT_EQ(ConstrainToAxis({30, 14}, {10, 10}), (TPoint{30, 10}));
  EXPECT_EQ(ConstrainToAxis({20, 20}, {10, 10}), (TPoint{10, 20}));
  EXPECT_EQ(NudgeStep(false), 1);
  EXPECT_EQ(NudgeStep(true), 8);
}

TEST(ViewGeometry, CheckerTile) {
  TBitmap T;
  CreateCheckerBitmap(8, T);
  ASSERT_EQ(T.Width(), 16);
  ASSERT_EQ(T.Height(), 16);
  EXPECT_EQ(T.PixelColor(0, 0), 0xC3C3C3u);
  EXPECT_EQ(T.PixelColor(7, 7), 0xC3C3C3u);
  EXPECT_EQ(T.PixelColor(8, 0), 0xFFFFFFu);
  EXPECT_EQ(T.PixelColor(0, 8), 0xFFFFFFu);
  EXPECT_EQ(T.PixelColor(15, 15), 0xC3C3C3u);
  CreateCheckerBitmap(0, T);
  EXPECT_EQ(T.Width(), 2);
}
