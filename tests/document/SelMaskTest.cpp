// Selection masks against a plain selection and a fake main window: masks
// of rectangles, layers and the image, confinement masks, blending the undo
// record back outside the selection, the outline on the layer, and the
// selections traced from masks. Expected pixel sets come from hand-computed
// rectangles or from the platform canvas's own shapes.
#include "document/SelMask.h"

#include "FakeSelMaskHost.h"

#include "document/MyImageLayered.h"
#include "document/Undo.h"
#include "filters/Blur24.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsWith(const TBitmap& B, uint8_t V) {
  PixelSet S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (RowOf(B, Y)[X].Blue == V) S.insert({X, Y});
  return S;
}

PixelSet RectPixels(const TRect& R) {
  PixelSet S;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) S.insert({X, Y});
  return S;
}

PixelSet Complement(const PixelSet& S, int W, int H) {
  PixelSet C;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (!S.count({X, Y})) C.insert({X, Y});
  return C;
}

// The pixels the platform canvas covers with Shape (solid pen and brush).
PixelSet CanvasShape(int W, int H, const TRect& R, bool Ellipse) {
  TBitmap B(W, H, pf24bit, clWhite);
  B.Canvas().Brush = {clBlack, TBrushStyle::bsSolid};
  B.Canvas().Pen = TPen{clBlack, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  if (Ellipse)
    B.Canvas().Ellipse(R);
  else
    B.Canvas().Rectangle(R);
  return PixelsWith(B, 0);
}

// The pixels the manager's bitmap shape covers at zoom 1 with its
// reference origin at Origin.
PixelSet ShapePixels(const TShapeManager& M, int W, int H, TPoint Origin) {
  TBitmap B(W, H, pf24bit, clWhite);
  M.FillBitmapShape(B.Canvas(), Origin.X, Origin.Y, 1, 1, clBlack);
  return PixelsWith(B, 0);
}

// An image with a 40 x 30 background and a 20 x 20 layer at (10, 5),
// current.
struct LayeredHost : ::testing::Test {
  FakeHost Host;
  void SetUp() override {
    RoundRectDivisor = 4;
    Host.Document.AddBackground(40, 30, clWhite, QStringLiteral("Fond"));
    Host.Document.AddLayer(20, 20, clWhite, {10, 5}, 100, QStringLiteral("Calque"));
    Host.Selection.FRect = {12, 8, 18, 14}; // layer (2, 3, 8, 9)
  }
};

// An image that is only a 60 x 60 background.
struct FlatHost : ::testing::Test {
  FakeHost Host;
  void SetUp() override {
    RoundRectDivisor = 4;
    Host.Document.AddBackground(60, 60, clWhite, QStringLiteral("Fond"));
    Host.Selection.FRect = {15, 15, 45, 45};
  }
};

} // namespace

TEST_F(LayeredHost, SelectionNeedsMask) {
  PlainSelection& S = Host.Selection;
  EXPECT_FALSE(SelectionNeedsMask(Host, false));
  EXPECT_TRUE(SelectionNeedsMask(Host, true));
  S.FInvert = true;
  EXPECT_TRUE(SelectionNeedsMask(Host, false));
  S.FInvert = false;
  S.FShape = ssEllipse;
  EXPECT_TRUE(SelectionNeedsMask(Host, false));
  S.FVisible = false;
  EXPECT_FALSE(SelectionNeedsMask(Host, false));
}

TEST_F(LayeredHost, MasksOfRectanglesInLayerCoordinates) {
  auto M = SelectionMaskOfLayer(Host, false, false);
  ASSERT_TRUE(M);
  ASSERT_EQ(M->Width(), 20);
  EXPECT_EQ(PixelsWith(*M, 0), RectPixels({2, 3, 8, 9}));
  auto I = SelectionMaskOfLayer(Host, true, false);
  EXPECT_EQ(PixelsWith(*I, 255), RectPixels({2, 3, 8, 9}));
  EXPECT_EQ(PixelsWith(*I, 0).size(), 400u - 36u);
  // Part of the layer: the selection moved into the rectangle.
  auto P = SelectionMaskOfRect(Host, {5, 5, 30, 12}, false, false);
  ASSERT_TRUE(P);
  EXPECT_EQ(P->Width(), 15);
  EXPECT_EQ(P->Height(), 7);
  EXPECT_EQ(PixelsWith(*P, 0), RectPixels({0, 0, 3, 4}));
  EXPECT_EQ(SelectionMaskOfRect(Host, {25, 0, 40, 10}, false, false), nullptr);
  // A hidden selection stands for the whole layer.
  Host.Selection.FVisible = false;
  EXPECT_EQ(PixelsWith(*SelectionMaskOfLayer(Host, false, false), 0).size(), 400u);
}

TEST_F(LayeredHost, MasksOfTheImage) {
  Host.Selection.FShape = ssEllipse;
  Host.Selection.FRect = {3, 2, 33, 22};
  auto M = SelectionMaskOfImage(Host, false, false);
  ASSERT_TRUE(M);
  EXPECT_EQ(M->Width(), 40);
  EXPECT_EQ(PixelsWith(*M, 0), CanvasShape(40, 30, {3, 2, 33, 22}, true));
  // Smoothing leaves the same core and grey levels on the edge only.
  auto S = SelectionMaskOfImage(Host, false, true);
  int Greys = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      const int V = RowOf(*S, Y)[X].Blue;
      Greys += V != 0 && V != 255;
    }
  EXPECT_GT(Greys, 20);
  EXPECT_EQ(RowOf(*S, 12)[18].Blue, 0);
  EXPECT_EQ(RowOf(*S, 0)[0].Blue, 255);
  EXPECT_EQ(SelectionMaskOfImageRect(Host, {50, 0, 60, 10}, false, false), nullptr);
}

TEST_F(FlatHost, ConfinementMasks) {
  auto Hard = MakeSelectionMask(Host, 0);
  ASSERT_TRUE(Hard);
  EXPECT_EQ(PixelsWith(*Hard, 255), RectPixels({15, 15, 45, 45}));
  EXPECT_EQ(PixelsWith(*Hard, 0).size(), 3600u - 900u);
  // Anti-aliasing does not touch a rectangle.
  EXPECT_IMAGES_MATCH(*MakeSelectionMask(Host, 2), *Hard, 0);
  EXPECT_IMAGES_MATCH(*MakeSelectionMask(Host, 7), *Hard, 0);
  // Feathered: a 12 x 12 white square in the middle, blurred with radius 9
  // over the selection rectangle.
  TBitmap Expected(60, 60, pf24bit, clBlack);
  Expected.Canvas().Brush.Color = clWhite;
  Expected.Canvas().FillRect({24, 24, 36, 36});
  GaussianBlurRadius(Expected, 9, {15, 15, 45, 45});
  auto Feathered = MakeSelectionMask(Host, 1);
  EXPECT_IMAGES_MATCH(*Feathered, Expected, 0);
  EXPECT_GT(RowOf(*Feathered, 30)[30].Blue, 200);
  EXPECT_EQ(RowOf(*Feathered, 30)[15].Blue, 0);
  // The same square as a bitmap shape is feathered the same way.
  TBitmap Square(30, 30, pf24bit, clBlack);
  Host.Selection.FManager.MaskToPoints(&Square, 128);
  Host.Selection.FShape = ssBitmap;
  EXPECT_IMAGES_MATCH(*MakeSelectionMask(Host, 1), Expected, 0);
  // Inverted: the outside is selected, white.
  Host.Selection.FShape = ssRect;
  Host.Selection.FInvert = true;
  EXPECT_EQ(PixelsWith(*MakeSelectionMask(Host, 0), 0), RectPixels({15, 15, 45, 45}));
}

TEST_F(FlatHost, BlendUndoOutsideSelection) {
  TBitmap& Layer = Host.Document.CurrentLayer()->Bitmap();
  FillRandom(Layer, 3);
  TBitmap Before;
  Before.Assign(Layer);
  Host.Undo.Add(std::make_unique<TUndoBmpItem>(&Layer, nullptr, TRect{0, 0, 60, 60}));
  auto Change = [&] { Layer.Canvas().Brush.Color = clBlack, Layer.Canvas().FillRect({0, 0, 60, 60}); };
  Change();
  TBitmap AllBlack;
  AllBlack.Assign(Layer);

  // A plain rectangle needs no mask in any mode, nor does any mode of a
  // 256-colour image.
  BlendUndoOutsideSelection(Host, 2, false);
  EXPECT_IMAGES_MATCH(Layer, AllBlack, 0);
  Host.F16M = false;
  BlendUndoOutsideSelection(Host, 1, false);
  EXPECT_IMAGES_MATCH(Layer, AllBlack, 0);

  // An ellipse, in 256 colours: the hard mask whatever the mode, the old
  // pixels coming back exactly outside the ellipse.
  Host.Selection.FShape = ssEllipse;
  BlendUndoOutsideSelection(Host, 2, false);
  const PixelSet Inside = CanvasShape(60, 60, {15, 15, 45, 45}, true);
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 60; ++X) {
      const TRGB Expected = Inside.count({X, Y}) ? TRGB{0, 0, 0} : RowOf(Before, Y)[X];
      ASSERT_EQ(RowOf(Layer, Y)[X], Expected) << X << "," << Y;
    }
}

TEST_F(FlatHost, SmoothWideOutlineOfAnEllipse) {
  Host.Selection.FShape = ssEllipse;
  TBitmap B(60, 60, pf24bit, clWhite);
  OutlineSelectionShape(Host.Selection, B, {10, 10, 50, 50}, clBlack, 5, true);
  EXPECT_EQ(RowOf(B, 30)[30].Blue, 255); // the middle
  EXPECT_EQ(RowOf(B, 30)[10].Blue, 0);   // on the outline
  EXPECT_EQ(RowOf(B, 30)[11].Blue, 0);
  EXPECT_EQ(RowOf(B, 10)[30].Blue, 0);
  EXPECT_EQ(RowOf(B, 30)[16].Blue, 255); // beyond half the width
  EXPECT_EQ(RowOf(B, 30)[5].Blue, 255);
  int Greys = 0;
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 60; ++X) Greys += RowOf(B, Y)[X].Blue % 255 != 0;
  EXPECT_GT(Greys, 50);
}

TEST_F(FlatHost, ContourOfInvertedAndVisibleSelections) {
  TBitmap& Layer = Host.Document.CurrentLayer()->Bitmap();
  Host.Selection.FShape = ssEllipse;
  Host.Selection.FInvert = true;
  DrawSelectionContour(Host, clBlack, 2, false, QString());
  EXPECT_EQ(RowOf(Layer, 0)[0].Blue, 0); // the frame along the layer's edge
  EXPECT_EQ(RowOf(Layer, 1)[30].Blue, 0);
  EXPECT_EQ(RowOf(Layer, 2)[30].Blue, 255);
  EXPECT_EQ(RowOf(Layer, 30)[15].Blue, 0); // and the shape's outline
  EXPECT_EQ(RowOf(Layer, 30)[30].Blue, 255);

  // Hidden: the frame only.
  TBitmap Fresh(60, 60, pf24bit, clWhite);
  Layer.Assign(Fresh);
  Host.Selection.FVisible = false;
  DrawSelectionContour(Host, clBlack, 2, false, QString());
  EXPECT_EQ(RowOf(Layer, 0)[0].Blue, 0);
  EXPECT_EQ(RowOf(Layer, 30)[15].Blue, 255);

  // A wide outline reaches beyond the selection: the undo record is taken
  // again over the rectangle grown by the width and 2.
  Layer.Assign(Fresh);
  Host.Selection.FVisible = true;
  Host.Selection.FInvert = false;
  Host.Selection.FShape = ssRect;
  Host.UndoBmp.Assign(Layer);
  auto* Record =
      static_cast<TUndoBmpItem*>(Host.Undo.Add(std::make_unique<TUndoBmpItem>(&Layer, nullptr, TRect{15, 15, 45, 45})));
  DrawSelectionContour(Host, clBlack, 3, false, QString());
  EXPECT_EQ(Record->Region(), (TRect{10, 10, 50, 50}));
  EXPECT_EQ(RowOf(Layer, 30)[15].Blue, 0);
  EXPECT_EQ(RowOf(Layer, 30)[14].Blue, 0); // the pen's width straddles the edge
}

TEST_F(FlatHost, ContourInAPattern) {
  TBitmap& Layer = Host.Document.CurrentLayer()->Bitmap();
  Host.Selection.FRect = {10, 10, 30, 30};
  DrawSelectionContour(Host, clBlack, 1, false, QStringLiteral("absent"));
  EXPECT_EQ(PixelsWith(Layer, 255).size(), 3600u); // nothing when it does not load
  DrawSelectionContour(Host, clBlack, 1, false, QStringLiteral("motif"));
  const TRGB Red{0, 0, 255};
  PixelSet Painted;
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 60; ++X)
      if (RowOf(Layer, Y)[X] == Red) Painted.insert({X, Y});
  PixelSet Border = RectPixels({10, 10, 30, 30});
  for (const auto& P : RectPixels({11, 11, 29, 29})) Border.erase(P);
  EXPECT_EQ(Painted, Border);
  EXPECT_EQ(PixelsWith(Layer, 255).size(), 3600u - Border.size());
}

TEST_F(FlatHost, InvertSelectionToShape) {
  Host.Selection.FRect = {5, 5, 10, 10};
  EXPECT_EQ(InvertSelectionToShape(Host), (TRect{0, 0, 60, 60}));
  EXPECT_EQ(Host.Selection.FRect, (TRect{0, 0, 60, 60}));
  EXPECT_EQ(ShapePixels(Host.Selection.FManager, 60, 60, {0, 0}), Complement(RectPixels({5, 5, 10, 10}), 60, 60));
  // The caller sets the kind and clears Invert.
  EXPECT_EQ(Host.Selection.FShape, ssRect);
}

TEST_F(FlatHost, MergeShapesIntoTheSelection) {
  Host.Selection.FRect = {2, 2, 8, 8};
  EXPECT_EQ(MergeShapeIntoSelection(Host, {6, 6, 12, 12}, false), (TRect{2, 2, 12, 12}));
  EXPECT_EQ(Host.Selection.FShape, ssBitmap);
  PixelSet Union = RectPixels({2, 2, 8, 8});
  Union.merge(RectPixels({6, 6, 12, 12}));
  EXPECT_EQ(ShapePixels(Host.Selection.FManager, 60, 60, {2, 2}), Union);

  // Subtracting a shape over the whole selection finds nothing: the
  // selection is left as it was.
  Host.Selection.FShape = ssRect;
  Host.Selection.FRect = {2, 2, 8, 8};
  Host.Selection.FInvert = false;
  const TRect R = MergeShapeIntoSelection(Host, {0, 0, 60, 60}, true);
  EXPECT_TRUE(R.IsEmpty());
  EXPECT_EQ(Host.Selection.FShape, ssRect);
  EXPECT_EQ(Host.Selection.FRect, (TRect{2, 2, 8, 8}));
}

TEST_F(LayeredHost, SelectionsFromWandMasks) {
  TBitmap Wand(20, 20, pf24bit, clWhite);
  EXPECT_TRUE(SetSelectionFromMask(Host, Wand, 0).IsEmpty());
  EXPECT_EQ(Host.Selection.FShape, ssRect);
  EXPECT_EQ(Host.Selection.FRect, (TRect{12, 8, 18, 14}));

  // Anything but pure white is picked; the result is in image coordinates.
  RowOf(Wand, 4)[3] = {254, 254, 254};
  Wand.Canvas().Brush.Color = clBlack;
  Wand.Canvas().FillRect({3, 5, 6, 7});
  EXPECT_EQ(SetSelectionFromMask(Host, Wand, 0), (TRect{13, 9, 16, 12}));
  EXPECT_EQ(Host.Selection.FShape, ssBitmap);

  // Adding to a rectangle selection, then taking part of it away.
  Host.Selection.FShape = ssRect;
  Host.Selection.FRect = {10, 5, 14, 9};
  TBitmap Block(20, 20, pf24bit, clWhite);
  Block.Canvas().Brush.Color = clBlack;
  Block.Canvas().FillRect({2, 2, 6, 6}); // image (12, 7, 16, 11)
  EXPECT_EQ(SetSelectionFromMask(Host, Block, 1), (TRect{10, 5, 16, 11}));
  PixelSet Union = RectPixels({10, 5, 14, 9});
  Union.merge(RectPixels({12, 7, 16, 11}));
  EXPECT_EQ(ShapePixels(Host.Selection.FManager, 40, 30, {10, 5}), Union);
  EXPECT_EQ(SetSelectionFromMask(Host, Block, 2), (TRect{10, 5, 14, 9}));
  PixelSet Rest = RectPixels({10, 5, 14, 9});
  for (const auto& P : RectPixels({12, 7, 16, 11})) Rest.erase(P);
  EXPECT_EQ(ShapePixels(Host.Selection.FManager, 40, 30, {10, 5}), Rest);
}

TEST_F(FlatHost, FringeIsABandAlongTheOutline) {
  Host.Selection.FRect = {10, 10, 30, 25};
  const TRect R = MakeSelectionFringe(Host, 3);
  // The canvas's rectangle with a 3-pixel round pen: its border straddles
  // the rectangle's edge.
  TBitmap Reference(60, 60, pf24bit, clWhite);
  Reference.Canvas().Brush.Style = TBrushStyle::bsClear;
  Reference.Canvas().Pen = TPen{clBlack, 3, TPenStyle::psSolid, TPenMode::pmCopy};
  Reference.Canvas().Rectangle(TRect{10, 10, 30, 25});
  const PixelSet Band = PixelsWith(Reference, 0);
  ASSERT_FALSE(Band.empty());
  TRect Expected{999, 999, -1, -1};
  for (auto [X, Y] : Band) {
    Expected = {std::min(Expected.Left, X), std::min(Expected.Top, Y), std::max(Expected.Right, X + 1),
                std::max(Expected.Bottom, Y + 1)};
  }
  EXPECT_EQ(R, Expected);
  EXPECT_EQ(ShapePixels(Host.Selection.FManager, 60, 60, R.TopLeft()), Band);
  EXPECT_EQ(Host.Selection.FShape, ssBitmap);
  EXPECT_FALSE(Host.Selection.FInvert);
}
