// The brush outline: where and how it is drawn for each shape at a zoom
// (against pixel sets worked out from the rules), that drawing it twice gives
// the picture back, and how the outline follows the mouse over a real view.
#include "FakeImageWindowHost.h"

#include "document/ui/CursorEx.h"
#include "document/ui/MyCustomImage.h"
#include "raster/Bitmap24.h"

#include <QApplication>
#include <QCursor>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

constexpr TColor Ground = 0x404040;
constexpr TColor Inverted = Ground ^ 0xFFD8CE;

using TPixelSet = std::set<std::pair<int, int>>;

// The pixels of B that differ from Ground.
TPixelSet Changed(const TBitmap& B) {
  TPixelSet S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.PixelColor(X, Y) != Ground) S.insert({X, Y});
  return S;
}

// A view laid out with the image (50 x 40) at (8, 8), zoom Z.
TViewGeometry Layout(double Z) {
  TViewGeometry G;
  G.W = 50;
  G.H = 40;
  G.Zoom = Z;
  G.ImgRect = {8, 8, 8 + ZoomedSize(50, Z), 8 + ZoomedSize(40, Z)};
  return G;
}

class CursorExOutline : public ::testing::Test {
protected:
  void SetUp() override { NewBitmap24(Back, 400, 300, Ground); }
  TBitmap Back;
};

} // namespace

TEST_F(CursorExOutline, RectangleBrushIsItsZoomedSquaresAroundTheImagePixel) {
  // Mouse over image pixel (10, 7) at zoom 2; a 5 x 3 brush starts two
  // columns left and one row up: client (8 + 16, 8 + 12), 10 x 6 pixels.
  const TRect R = DrawCursorExOutline(Back.Canvas(), Layout(2), 8 + 21, 8 + 15, {csRectangle, 5, 3});
  TPixelSet Border;
  for (int X = 24; X < 34; ++X) Border.insert({X, 20}), Border.insert({X, 25});
  for (int Y = 20; Y < 26; ++Y) Border.insert({24, Y}), Border.insert({33, Y});
  EXPECT_EQ(Changed(Back), Border);
  EXPECT_EQ(Back.PixelColor(24, 20), Inverted);
  EXPECT_EQ(R, (TRect{24, 20, 34, 26}));
}

TEST_F(CursorExOutline, DrawingTwiceGivesThePictureBackForEveryShape) {
  for (TCursorExStyle S : {csCircle, csRectangle, csTriangle, csOblicLine1, csOblicLine2})
    for (double Z : {0.5, 1.0, 3.0})
      for (TCursorExData D : {TCursorExData{S, 1, 1}, TCursorExData{S, 7, 4}, TCursorExData{S, 60, 55}}) {
        D.Style = S;
        DrawCursorExOutline(Back.Canvas(), Layout(Z), 40, 30, D);
        EXPECT_FALSE(Changed(Back).empty()) << int(S) << " " << Z;
        DrawCursorExOutline(Back.Canvas(), Layout(Z), 40, 30, D);
        EXPECT_TRUE(Changed(Back).empty()) << int(S) << " " << Z << " " << D.Width;
      }
}

TEST_F(CursorExOutline, OnePixelBrushInvertsThePixelAndShowsFourCornerTicks) {
  DrawCursorExOutline(Back.Canvas(), Layout(1), 30, 20, {csCircle, 1, 1});
  // The pixel itself, and ticks from 6 pixels out (6 - 0 beyond the corner
  // moved out by one) to the corners, their end left out.
  TPixelSet Expected{{30, 20}};
  for (int I = 0; I < 6; ++I) {
    Expected.insert({23 + I, 13 + I}); // top left: (23, 13) -> (29, 19)
    Expected.insert({37 - I, 13 + I}); // top right: (37, 13) -> (31, 19)
    Expected.insert({37 - I, 27 - I}); // bottom right: (37, 27) -> (31, 21)
    Expected.insert({23 + I, 27 - I}); // bottom left: (23, 27) -> (29, 21)
  }
  EXPECT_EQ(Changed(Back), Expected);
  EXPECT_EQ(Back.PixelColor(30, 20), Inverted);
}

TEST_F(CursorExOutline, CentreCrossOnlyForLargeBrushes) {
  struct TCase {
    TCursorExData Shape;
    bool Cross;
  };
  // Mouse on image pixel (20, 20) at zoom 1 of a 400 x 300 image at (0, 0).
  TViewGeometry G;
  G.W = 400;
  G.H = 300;
  G.ImgRect = {0, 0, 400, 300};
  for (const TCase& C : {TCase{{csCircle, 100, 100}, true}, TCase{{csRectangle, 49, 100}, false},
                         TCase{{csOblicLine1, 100, 20}, false}, TCase{{csOblicLine1, 100, 60}, false},
                         TCase{{csOblicLine2, 300, 60}, true}, TCase{{csTriangle, 250, 50}, true}}) {
    NewBitmap24(Back, 400, 300, Ground);
    const int X = 150, Y = 120;
    DrawCursorExOutline(Back.Canvas(), G, X, Y, C.Shape);
    const int L = X - (C.Shape.Width - 1) / 2, T = Y - (C.Shape.Height - 1) / 2;
    const int CX = L + C.Shape.Width / 2, CY = T + C.Shape.Height / 2;
    // The cross's arms end 7 pixels out; nothing else of these shapes lies
    // there.
    EXPECT_EQ(Back.PixelColor(CX - 7, CY) == Inverted, C.Cross) << C.Shape.Style << " " << C.Shape.Width;
    EXPECT_EQ(Back.PixelColor(CX, CY + 7) == Inverted, C.Cross) << C.Shape.Style << " " << C.Shape.Width;
  }
}

TEST_F(CursorExOutline, EmptyBrushDrawsNothing) {
  EXPECT_TRUE(DrawCursorExOutline(Back.Canvas(), Layout(1), 30, 20, {csRectangle, 0, 5}).IsEmpty());
  EXPECT_TRUE(Changed(Back).empty());
}

namespace {

class CursorExView : public ::testing::Test {
protected:
  void SetUp() override {
    View.resize(200, 150);
    View.SetColor(Ground);
    NewBitmap24(View.Bitmap(), 100, 80, Ground);
    View.BitmapChanged();
    View.show();
    QApplication::processEvents();
    View.PaintAll();
    CursorExData = {csRectangle, 4, 4};
  }
  void MouseAt(int X, int Y) { QCursor::setPos(View.viewport()->mapToGlobal(QPoint(X, Y))); }
  TPixelSet Shown() { return Changed(View.BackBuffer()); }
  TPixelSet OutlineAt(int X, int Y) {
    TBitmap B;
    NewBitmap24(B, View.BackBuffer().Width(), View.BackBuffer().Height(), Ground);
    DrawCursorExOutline(B.Canvas(), View.Geometry(), X, Y, CursorExData);
    return Changed(B);
  }
  TMyCustomImage View;
};

} // namespace

TEST_F(CursorExView, FollowsTheMouseAndLeavesNoTrace) {
  TCursorEx C(&View);
  MouseAt(30, 30);
  C.Show(false); // locked: nothing
  EXPECT_FALSE(C.Visible());
  EXPECT_TRUE(Shown().empty());
  C.Show(true);
  ASSERT_TRUE(C.Visible());
  EXPECT_EQ(Shown(), OutlineAt(30, 30));
  C.MoveTo(30, 30); // the same point: not drawn again
  EXPECT_EQ(Shown(), OutlineAt(30, 30));
  C.MoveTo(50, 40);
  EXPECT_EQ(Shown(), OutlineAt(50, 40));
  // Out of the view: erased; back in: drawn at the new point only.
  C.MoveTo(500, 40);
  EXPECT_TRUE(Shown().empty());
  C.MoveTo(20, 25);
  EXPECT_EQ(Shown(), OutlineAt(20, 25));
  C.Hide(false);
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(C.Locked());
  C.Show(false);
  EXPECT_EQ(Shown(), OutlineAt(30, 30)); // shown again at the mouse
  C.Hide(true);
  EXPECT_TRUE(C.Locked());
  EXPECT_TRUE(Shown().empty());
  C.MoveTo(40, 40); // locked: nothing
  EXPECT_TRUE(Shown().empty());
}
