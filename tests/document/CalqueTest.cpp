// The layer commands on a small layered fixture: the state tests and layer
// names, the choice of the current layer, and the geometry carried to every
// layer, each checked on pixels, positions and sizes, and undone (to the
// exact original) and redone (to the exact result) through the records the
// main window prepares for them.
#include "document/Calque.h"

#include "DocumentTestSupport.h"
#include "FakeNavigator.h"
#include "LayerStackState.h"
#include "document/TxtData.h"
#include "document/Undo.h"
#include "raster/Rotation24.h"
#include "raster/TransformFunc.h"

#include <gtest/gtest.h>

using namespace DocTest;

namespace {

std::string TextState(const TLayerData& D) {
  const auto* T = dynamic_cast<const TTextData*>(&D);
  if (!T) return "data";
  return T->Lines.join('|').toStdString() + " " + std::to_string(T->TextAngle) + " " + std::to_string(T->TextSize);
}

// A pixel that tells where it came from.
TRGB Tag(int X, int Y, int Seed) { return Rgb((X * 7 + Seed) & 255, (Y * 11 + Seed) & 255, (X + Y + Seed) & 255); }

class CalqueTest : public ::testing::Test {
protected:
  TMyImageLayered Image;
  FakeNavigator Nav{Image};
  TUndoList List{20};

  // A 200 x 100 background, a 30 x 20 bitmap layer with a mask at (10, 5),
  // an 8 x 6 layer at (150, 60) and a colour layer.
  void Build() {
    TBitmap Bkg, A, AMask, B;
    Fill(Bkg, 200, 100, [](int X, int Y) { return Tag(X, Y, 1); });
    Fill(A, 30, 20, [](int X, int Y) { return Tag(X, Y, 50); });
    Fill(AMask, 30, 20, [](int X, int) { return Grey(uint8_t(X * 8)); });
    Fill(B, 8, 6, [](int X, int Y) { return Tag(X, Y, 99); });
    Image.AddBackground(&Bkg, nullptr, "#0");
    Image.AddLayer(&A, &AMask, {10, 5}, 100, "#1");
    Image.AddLayer(&B, nullptr, {150, 60}, 100, "#2");
    Image.AddLayerColor(clRed, 50, false, "#3");
    Image.SetLayerIndex(1);
  }
  TLayerItem& Layer(int I) { return Image.Layers()[I]; }
  Stack State() { return StateOf(Image, TextState); }

  // The record the main window prepares for a change of every layer.
  void PrepareAll(bool SaveLayers) {
    auto R = std::make_unique<TUndoAllLayers>(Layer(0));
    R->SetNavigator(&Nav);
    R->SetLayerIndex(0);
    TUndoAllLayers* P = R.get();
    List.Add(std::move(R));
    if (SaveLayers) P->SaveLayers();
  }
};

TEST_F(CalqueTest, NextLayerNameReadsThreeCharactersAfterTheHash) {
  struct Case {
    std::vector<QString> Captions;
    QString Expected;
  };
  const std::vector<Case> Cases = {
      {{"#0", "#1", "#3", "Fond"}, "#4"},
      {{"Fond", "Texte"}, "#1"},
      {{"#abc"}, "#1"},
      {{"#0", ""}, "#1"},
      {{"#1234", "#7"}, "#124"},
  };
  for (const Case& C : Cases) {
    TMyImageLayered I;
    I.AddBackground(2, 2, clWhite, C.Captions[0]);
    for (size_t K = 1; K < C.Captions.size(); ++K) I.AddLayer(2, 2, clBlack, {0, 0}, 100, C.Captions[K]);
    EXPECT_EQ(NextLayerName(I), C.Expected) << C.Captions[0].toStdString();
  }
}

TEST_F(CalqueTest, StateTestsFollowTheCurrentLayer) {
  EXPECT_FALSE(IsLayerVisible(Image));
  EXPECT_FALSE(IsTextLayer(Image));
  EXPECT_TRUE(AllLayersBitmapOrData(Image));
  Build();
  EXPECT_TRUE(CanChangeBlendMode(Image));
  Layer(1).Locked = true;
  EXPECT_TRUE(IsLayerLocked(Image));
  EXPECT_FALSE(CanChangeBlendMode(Image));
  EXPECT_FALSE(AllLayersBitmapOrData(Image));
  EXPECT_FALSE(HasVisibleAndHiddenLayers(Image));
  Layer(2).Visible = false;
  EXPECT_TRUE(HasVisibleAndHiddenLayers(Image));
  Image.SetLayerIndex(3);
  EXPECT_TRUE(IsNonBitmapLayer(Image));
  EXPECT_FALSE(HasDataLayer(Image));
}

TEST_F(CalqueTest, SelectionOfLayersWrapsAround) {
  Build();
  Image.SetLayerIndex(3);
  SelectNextLayer(Nav);
  EXPECT_EQ(Image.LayerIndex(), 0);
  EXPECT_EQ(Nav.PanelIndex, 0);
  SelectPreviousLayer(Nav);
  EXPECT_EQ(Image.LayerIndex(), 3);
}

TEST_F(CalqueTest, ShowAllLayersUndoneAndRedone) {
  Build();
  Layer(2).Visible = false;
  const Stack Before = State();
  auto R = std::make_unique<TUndoShowHideAll>(Layer(0));
  R->SetNavigator(&Nav);
  R->SetLayerIndex(0);
  TUndoShowHideAll* P = R.get();
  List.Add(std::move(R));
  P->SaveLayersInfos();
  ShowAllLayers(Nav, false);
  for (int I = 0; I < 4; ++I) EXPECT_EQ(Layer(I).Visible, I == 0) << I;
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalqueTest, LayersAddedDuplicatedAndDeletedWithUndo) {
  Build();
  const Stack Before = State();
  const int D = DuplicateCurrentLayer(Nav);
  ASSERT_EQ(D, 2);
  EXPECT_EQ(Layer(2).Caption, "#4");
  EXPECT_EQ(BitmapState(Layer(2).Bitmap()), BitmapState(Layer(1).Bitmap()));
  EXPECT_EQ(Image.LayerIndex(), 2);
  auto C = std::make_unique<TUndoCreateLayer>(Layer(2));
  C->SetNavigator(&Nav);
  C->SetLayerIndex(2);
  List.Add(std::move(C));
  const Stack Duplicated = State();
  List.Undo();
  EXPECT_EQ(Diff(State(), Before), "");
  List.Redo();
  EXPECT_EQ(Diff(State(), Duplicated), "");

  auto Del = std::make_unique<TUndoDeleteLayer>(Layer(2));
  Del->SetNavigator(&Nav);
  Del->SetLayerIndex(2);
  List.Add(std::move(Del));
  DeleteCurrentLayer(Nav);
  EXPECT_EQ(Diff(State(), Before), "");
  List.Undo();
  EXPECT_EQ(Diff(State(), Duplicated), "");

  // A 32-bit bitmap without a mask brings its alpha as the mask.
  TBitmap Rgba(4, 3, pf32bit, clBlack);
  Rgba.ScanLine(0)[3] = 255;
  const int A = AddLayerFromBitmap(Nav, "#5", Rgba, nullptr, {7, 8});
  EXPECT_EQ(Layer(A).Pos, TPoint(7, 8));
  EXPECT_EQ(RowOf(Layer(A).Mask(), 0)[0], Grey(0));
  EXPECT_EQ(RowOf(Layer(A).Mask(), 0)[1], Grey(255));

  TBitmap NewBkg;
  Solid(NewBkg, 200, 100, Rgb(9, 9, 9));
  const int Count = Image.Layers().Count();
  InsertBackgroundLayer(Nav, NewBkg, false);
  ASSERT_EQ(Image.Layers().Count(), Count + 1);
  EXPECT_EQ(Layer(0).Caption, "#0");
  EXPECT_EQ(Layer(1).Caption, "#6");
  EXPECT_EQ(RowOf(Layer(0).Bitmap(), 0)[0], Rgb(9, 9, 9));
}

// ---- Flips and turns --------------------------------------------------------------

// Background transformed by the caller, then the layers; undone the way the
// main window undoes it: the background's record, then the negated code.
struct FlipCase {
  int Code;
  int RasterCode; // FlipRotateBitmap's code for the background
  TPoint Pos;     // of the 30 x 20 layer
  int W, H;       // its size after
};

class FlipRotateTest : public CalqueTest, public ::testing::WithParamInterface<FlipCase> {};

TEST_P(FlipRotateTest, LayersKeepTheirPlaceOnTheBackground) {
  const FlipCase C = GetParam();
  Build();
  const Stack Before = State();
  PrepareAll(false);
  FlipRotateBitmap(Layer(0).Bitmap(), C.RasterCode);
  FlipRotateAllLayers(Nav, C.Code);
  TLayerItem& L = Layer(1);
  EXPECT_EQ(L.Pos, C.Pos);
  EXPECT_EQ(L.Bitmap().Width(), C.W);
  EXPECT_EQ(L.Mask().Height(), C.H);
  // The layer's pixels turned the way the background was.
  TBitmap Expected;
  Fill(Expected, 30, 20, [](int X, int Y) { return Tag(X, Y, 50); });
  FlipRotateBitmap(Expected, C.RasterCode);
  EXPECT_EQ(BitmapState(L.Bitmap()), BitmapState(Expected));
  EXPECT_EQ(Layer(3).Pos, TPoint(0, 0)) << "colour layers do not move";
  const Stack After = State();
  List.Undo();
  FlipRotateAllLayers(Nav, -C.Code);
  EXPECT_EQ(Diff(State(), Before), "");
  List.Redo();
  FlipRotateAllLayers(Nav, C.Code);
  EXPECT_EQ(Diff(State(), After), "");
}

INSTANTIATE_TEST_SUITE_P(Codes, FlipRotateTest,
                         ::testing::Values(FlipCase{1, 0, {10, 75}, 30, 20}, FlipCase{2, 1, {160, 5}, 30, 20},
                                           FlipCase{3, 2, {75, 10}, 20, 30}, FlipCase{4, 3, {5, 160}, 20, 30},
                                           FlipCase{5, 4, {160, 75}, 30, 20}));

TEST_F(CalqueTest, MirrorTwiceRestoresThePosition) {
  TBitmap Bkg, A;
  Solid(Bkg, 100, 50, Rgb(1, 2, 3));
  Solid(A, 30, 10, Rgb(9, 9, 9));
  Image.AddBackground(&Bkg, nullptr, "#0");
  Image.AddLayer(&A, nullptr, {10, 0}, 100, "#1");
  FlipRotateAllLayers(Nav, 2);
  EXPECT_EQ(Layer(1).Pos.X, 60);
  FlipRotateAllLayers(Nav, 2);
  EXPECT_EQ(Layer(1).Pos.X, 10);
}

// ---- Free rotation, scale, skew and offset ------------------------------------------

TEST_F(CalqueTest, RotateAllLayersKeepsTheLayerOverTheSamePixels) {
  // The layer holds the background's own pixels where it lies, so after a
  // rotation its centre must still show what the background shows there.
  TBitmap Bkg, Part;
  Fill(Bkg, 200, 100, [](int X, int Y) { return Rgb(X, Y * 2, 128); });
  Fill(Part, 40, 30, [](int X, int Y) { return Rgb(X + 60, (Y + 20) * 2, 128); });
  Image.AddBackground(&Bkg, nullptr, "#0");
  Image.AddLayer(&Part, nullptr, {60, 20}, 100, "#1");
  const Stack Before = State();
  PrepareAll(true);
  RotateBitmapAngle(Layer(0).Bitmap(), 30, true, clWhite, amBilinear);
  ASSERT_TRUE(RotateAllLayers(Nav, 30, 200, 100));
  TLayerItem& L = Layer(1);
  const TPoint C{L.Bitmap().Width() / 2, L.Bitmap().Height() / 2};
  const TRGB Layered = RowOf(L.Bitmap(), C.Y)[C.X];
  const TRGB Under = RowOf(Layer(0).Bitmap(), L.Pos.Y + C.Y)[L.Pos.X + C.X];
  EXPECT_NEAR(Layered.Red, Under.Red, 3);
  EXPECT_NEAR(Layered.Green, Under.Green, 6);
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalqueTest, ScaleAllLayersRoundsSizesAndPositionsToEven) {
  Build();
  const Stack Before = State();
  PrepareAll(true);
  ASSERT_TRUE(ScaleAllLayers(Nav, 2, 0.5));
  EXPECT_EQ(Layer(1).Pos, TPoint(20, 2)); // 5 x 0.5 = 2.5 rounds to 2
  EXPECT_EQ(Layer(1).Bitmap().Width(), 60);
  EXPECT_EQ(Layer(1).Mask().Height(), 10);
  EXPECT_EQ(Layer(2).Pos, TPoint(300, 30));
  EXPECT_EQ(Layer(2).Bitmap().Height(), 3);
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalqueTest, SkewAllLayersMovesByTheShearOfThePosition) {
  Build();
  const Stack Before = State();
  PrepareAll(true);
  ASSERT_TRUE(SkewAllLayers(Nav, 0.5, 0, 200, 100));
  EXPECT_EQ(Layer(1).Pos, TPoint(12, 5)); // 10 + Round(5 x 0.5)
  EXPECT_GE(Layer(1).Bitmap().Width(), 40);
  EXPECT_EQ(Layer(2).Pos, TPoint(180, 60));
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalqueTest, OffsetMovesBitmapAndTextLayersOnly) {
  Build();
  OffsetAllLayers(Nav, -3, 4, true);
  EXPECT_EQ(Layer(0).Pos, TPoint(0, 0));
  EXPECT_EQ(Layer(1).Pos, TPoint(7, 9));
  EXPECT_EQ(Layer(2).Pos, TPoint(147, 64));
  EXPECT_EQ(Layer(3).Pos, TPoint(0, 0));
  EXPECT_EQ(Nav.Syncs, 1);
}

TEST_F(CalqueTest, HugeResultsAndEmptyImagesChangeNothing) {
  EXPECT_TRUE(ScaleAllLayers(Nav, 3, 3));
  FlipRotateAllLayers(Nav, 3);
  OffsetAllLayers(Nav, 1, 1, true);
  EXPECT_EQ(Image.Layers().Count(), 0);
  Build();
  const Stack Before = State();
  EXPECT_FALSE(ScaleAllLayers(Nav, 2000, 2000));
  EXPECT_FALSE(SkewAllLayers(Nav, 0, 1e7, 200, 100));
  EXPECT_EQ(Diff(State(), Before), "");
}

// ---- Mask edges --------------------------------------------------------------------------

// A layer of W x H whose mask is opaque inside a margin of Margin pixels.
std::unique_ptr<TLayerItem> FramedLayer(int W, int H, int Margin) {
  auto L = std::make_unique<TLayerItem>();
  Solid(L->Bitmap(), W, H, Rgb(10, 20, 30));
  Fill(L->Mask(), W, H, [&](int X, int Y) {
    const bool In = X >= Margin && Y >= Margin && X < W - Margin && Y < H - Margin;
    return Grey(In ? 0 : 255);
  });
  return L;
}

uint8_t MaskAt(const TLayerItem& L, int X, int Y) { return RowOf(L.Mask(), Y)[X].Blue; }

TEST(CalqueMaskEdges, ProgressiveContourShrinksAndSoftens) {
  auto Zero = FramedLayer(40, 30, 8);
  const std::string Before = BitmapState(Zero->Mask());
  EXPECT_FALSE(AlphaProgressiveContour(*Zero, 0, 2));
  EXPECT_EQ(BitmapState(Zero->Mask()), Before) << "radius 0 changes nothing";

  auto L = FramedLayer(40, 30, 8);
  ASSERT_TRUE(AlphaProgressiveContour(*L, 3, 2));
  EXPECT_EQ(MaskAt(*L, 20, 15), 0) << "the middle stays opaque";
  EXPECT_EQ(MaskAt(*L, 0, 0), 255) << "far outside stays transparent";
  EXPECT_GT(MaskAt(*L, 10, 15), 0) << "inside the old edge, now soft";
  EXPECT_LT(MaskAt(*L, 10, 15), 255);

  auto One = FramedLayer(40, 30, 8);
  ASSERT_TRUE(AlphaProgressiveContour(*One, 1, 0));
  // The 1 2 1 kernel over a straight edge: 0 x 12 + 255 x 4, over 16.
  EXPECT_EQ(MaskAt(*One, 8, 15), 63);
}

TEST(CalqueMaskEdges, DispersedContourScattersTheShrunkEdge) {
  auto L = FramedLayer(40, 30, 8);
  ASSERT_TRUE(AlphaDispersedContour(*L, 2));
  EXPECT_EQ(MaskAt(*L, 20, 15), 0);
  int Changed = 0;
  for (int Y = 8; Y < 22; ++Y) Changed += MaskAt(*L, 8, Y) != 0;
  EXPECT_GT(Changed, 0);
  auto Text = FramedLayer(10, 10, 2);
  Text->LayerType = ltData;
  EXPECT_FALSE(AlphaDispersedContour(*Text, 2));
}

TEST(CalqueMaskEdges, SmoothEdgesOfALargeLayerOnlyAddTransparency) {
  auto L = FramedLayer(1000, 600, 100);
  TBitmap Before;
  Before.Assign(L->Mask());
  ASSERT_TRUE(SmoothLayerEdges(*L));
  int Torn = 0;
  for (int Y = 0; Y < 600; Y += 3)
    for (int X = 0; X < 1000; X += 3) {
      const uint8_t Was = RowOf(Before, Y)[X].Blue, Now = MaskAt(*L, X, Y);
      ASSERT_GE(Now, Was) << X << "," << Y;
      Torn += Now != Was;
    }
  EXPECT_GT(Torn, 0);
  EXPECT_EQ(MaskAt(*L, 500, 300), 0);
  auto Small = FramedLayer(200, 120, 20);
  ASSERT_TRUE(SmoothLayerEdges(*Small));
  EXPECT_EQ(MaskAt(*Small, 100, 60), 0);
  EXPECT_EQ(MaskAt(*Small, 2, 2), 255);
}

} // namespace
