// The commands on the selection: the crops of a layer and of the image, the
// selection as a new layer and the image of the selection, on a small
// layered fixture, with pixels, positions and sizes checked and the crops
// undone and redone through the records the main window prepares.
#include "document/Calque.h"

#include "DocumentTestSupport.h"
#include "FakeCommandHost.h"
#include "LayerStackState.h"
#include "document/TxtData.h"
#include "document/Undo.h"
#include "platform/FontUtils.h"

#include <gtest/gtest.h>

using namespace DocTest;

namespace {

TRGB Tag(int X, int Y, int Seed) { return Rgb((X * 7 + Seed) & 255, (Y * 11 + Seed) & 255, (X + Y + Seed) & 255); }

std::string NoData(const TLayerData&) { return "data"; }

class CalqueSelectionTest : public ::testing::Test {
protected:
  CommandHost Host;
  TMyImageLayered& Image = Host.F.Document;
  PlainSelection& Sel = Host.F.Selection;
  TUndoList& List = Host.F.Undo;

  // A 200 x 100 background and a 30 x 20 layer with a mask at (10, 5),
  // which is current.
  void SetUp() override {
    TBitmap Bkg, A, AMask;
    Fill(Bkg, 200, 100, [](int X, int Y) { return Tag(X, Y, 1); });
    Fill(A, 30, 20, [](int X, int Y) { return Tag(X, Y, 50); });
    Fill(AMask, 30, 20, [](int X, int) { return Grey(uint8_t(X < 3 ? 255 : 0)); });
    Image.AddBackground(&Bkg, nullptr, "#0");
    Image.AddLayer(&A, &AMask, {10, 5}, 100, "#1");
    Host.F.Nav.ResetLayerIndex();
  }
  TLayerItem& Layer(int I) { return Image.Layers()[I]; }
  Stack State() { return StateOf(Image, NoData); }
  template <class T> T* Record(std::unique_ptr<T> R, int Index) {
    R->SetNavigator(&Host.F.Nav);
    R->SetLayerIndex(Index);
    T* P = R.get();
    List.Add(std::move(R));
    return P;
  }
};

TEST_F(CalqueSelectionTest, CropLayerToARectangle) {
  Sel.FRect = {15, 10, 25, 40};
  const Stack Before = State();
  Record(std::make_unique<TUndoLayerItem>(Layer(1), utAll), 1);
  ASSERT_TRUE(CropLayerToSelection(Host));
  TLayerItem& L = Layer(1);
  EXPECT_EQ(L.Pos, TPoint(15, 10));
  ASSERT_EQ(L.Bitmap().Width(), 10);
  ASSERT_EQ(L.Mask().Height(), 15);
  EXPECT_EQ(RowOf(L.Bitmap(), 0)[0], Tag(5, 5, 50));
  EXPECT_EQ(RowOf(L.Bitmap(), 14)[9], Tag(14, 19, 50));
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalqueSelectionTest, CropLayerToAnEllipseMakesItsCornersTransparent) {
  Sel.FRect = {10, 5, 40, 25};
  Sel.FShape = ssEllipse;
  ASSERT_TRUE(CropLayerToSelection(Host));
  const TBitmap& M = Layer(1).Mask();
  ASSERT_EQ(M.Width(), 30);
  EXPECT_EQ(RowOf(M, 0)[29], Grey(255));
  EXPECT_EQ(RowOf(M, 19)[29], Grey(255));
  EXPECT_EQ(RowOf(M, 10)[15], Grey(0));
}

TEST_F(CalqueSelectionTest, RefusedCropsChangeNothing) {
  const Stack Before = State();
  Sel.FRect = {100, 60, 120, 80}; // outside the layer
  EXPECT_FALSE(CropLayerToSelection(Host));
  Sel.FRect = {300, 300, 400, 400}; // outside the image
  EXPECT_FALSE(CropBackgroundToSelection(Host));
  Layer(1).LayerType = ltData;
  Sel.FRect = {15, 10, 25, 40};
  EXPECT_FALSE(CropLayerToSelection(Host));
  Layer(1).LayerType = ltBitmap;
  EXPECT_EQ(Diff(State(), Before), "");
  Image.Layers().Clear();
  EXPECT_FALSE(CropLayerToSelection(Host));
  EXPECT_FALSE(CropBackgroundToSelection(Host));
  EXPECT_FALSE(SelectionToNewLayer(Host, "#2", 0));
}

TEST_F(CalqueSelectionTest, CropBackgroundKeepsTheLayersInPlace) {
  Sel.FRect = {20, 10, 120, 60};
  Sel.FShape = ssEllipse;
  const Stack Before = State();
  Record(std::make_unique<TUndoAllLayers>(Layer(0)), 0);
  ASSERT_TRUE(CropBackgroundToSelection(Host));
  const TBitmap& B = Layer(0).Bitmap();
  ASSERT_EQ(B.Width(), 100);
  ASSERT_EQ(B.Height(), 50);
  EXPECT_EQ(RowOf(B, 0)[0], Rgb(0, 0, 255)) << "outside the ellipse: the secondary colour";
  EXPECT_EQ(RowOf(B, 25)[50], Tag(70, 35, 1));
  EXPECT_EQ(Layer(1).Pos, TPoint(-10, -5));
  EXPECT_EQ(List.CurrentUndo()->Flag(5), -20);
  EXPECT_EQ(List.CurrentUndo()->Flag(6), -10);
  const Stack After = State();
  // The main window's undo: the record, then the layers moved back by the
  // negated flags.
  List.Undo();
  OffsetAllLayers(Host.F.Nav, 20, 10, true);
  EXPECT_EQ(Diff(State(), Before), "");
  List.Redo();
  OffsetAllLayers(Host.F.Nav, -20, -10, true);
  EXPECT_EQ(Diff(State(), After), "");
}

TEST_F(CalqueSelectionTest, CropBackgroundInRGBAModeMakesTheOutsideTransparent) {
  Host.F.RGBA = true;
  Layer(0).CheckCreateMask(false);
  Sel.FRect = {20, 10, 120, 60};
  Sel.FShape = ssEllipse;
  ASSERT_TRUE(CropBackgroundToSelection(Host));
  const TBitmap& M = Layer(0).Mask();
  ASSERT_EQ(M.Width(), 100);
  EXPECT_EQ(RowOf(M, 0)[0], Grey(255));
  EXPECT_EQ(RowOf(M, 25)[50], Grey(0));
  EXPECT_EQ(RowOf(Layer(0).Bitmap(), 0)[0], Tag(20, 10, 1)) << "the pixels stay";
}

TEST_F(CalqueSelectionTest, SelectionToNewLayerTurnsTheCopy) {
  Sel.FRect = {20, 8, 30, 12}; // layer (10, 3) .. (20, 7)
  const Stack Before = State();
  ASSERT_TRUE(SelectionToNewLayer(Host, "#2", 3));
  ASSERT_EQ(Image.Layers().Count(), 3);
  Record(std::make_unique<TUndoCreateLayer>(Layer(2)), 2);
  TLayerItem& L = Layer(2);
  EXPECT_EQ(L.Caption, "#2");
  EXPECT_EQ(L.Pos, TPoint(20, 8));
  ASSERT_EQ(L.Bitmap().Width(), 4);
  ASSERT_EQ(L.Bitmap().Height(), 10);
  // A quarter turn clockwise: source (x, y) lands at (H - 1 - y, x).
  EXPECT_EQ(RowOf(L.Bitmap(), 0)[3], Tag(10, 3, 50));
  EXPECT_EQ(RowOf(L.Bitmap(), 9)[0], Tag(19, 6, 50));
  EXPECT_FALSE(Sel.FVisible);
  const Stack After = State();
  List.Undo();
  Sel.FVisible = true;
  EXPECT_EQ(Diff(State(), Before), "");
  List.Redo();
  EXPECT_EQ(Diff(State(), After), "");
}

TEST_F(CalqueSelectionTest, SelectionImagesCarryTheLayerMaskAndTheShape) {
  Sel.FRect = {10, 5, 40, 25};
  Sel.FShape = ssEllipse;
  TBitmap Plain, Alpha, Masked;
  ASSERT_TRUE(BuildSelectionImage(Host, Plain));
  ASSERT_TRUE(BuildSelectionImageAlpha(Host, Alpha));
  ASSERT_TRUE(BuildSelectionImageMasked(Host, Masked));
  EXPECT_EQ(Plain.PixelFormat(), pf24bit);
  EXPECT_EQ(Plain.Width(), 30);
  ASSERT_EQ(Alpha.PixelFormat(), pf32bit);
  EXPECT_EQ(Alpha.ScanLine(10)[0 * 4 + 3], 0) << "the layer's transparent columns";
  EXPECT_EQ(Alpha.ScanLine(0)[29 * 4 + 3], 255) << "no shape in the alpha image";
  ASSERT_EQ(Masked.PixelFormat(), pf32bit);
  EXPECT_EQ(Masked.ScanLine(0)[29 * 4 + 3], 0) << "outside the ellipse";
  EXPECT_EQ(Masked.ScanLine(19)[29 * 4 + 3], 0);
  EXPECT_EQ(Masked.ScanLine(10)[15 * 4 + 3], 255);
  Sel.FRect = {150, 50, 160, 60};
  EXPECT_FALSE(BuildSelectionImage(Host, Plain));
  EXPECT_TRUE(Plain.Empty());
}

// ---- Placing and text ----------------------------------------------------------------

TEST_F(CalqueSelectionTest, NewLayersArePlacedInTheVisibleArea) {
  EXPECT_EQ(VisibleCenterRect(Host, {0, 0, 20, 10}), Rect(90, 45, 110, 55));
  Host.Visible = {150, 70, 250, 130}; // scrolled past the image's corner
  EXPECT_EQ(VisibleCenterRect(Host, {0, 0, 60, 40}), Rect(140, 60, 200, 100));
  Sel.FRect = {190, 95, 200, 100};
  EXPECT_EQ(RectAtSelection(Host, {0, 0, 20, 10}, false), Rect(190, 95, 210, 105));
  EXPECT_EQ(RectAtSelection(Host, {0, 0, 20, 10}, true), Rect(180, 90, 200, 100));
  Host.Visible = {50, 20, 150, 80};
  EXPECT_TRUE(RectInVisibleArea(Host, {0, 0, 55, 25}));
  EXPECT_FALSE(RectInVisibleArea(Host, {0, 0, 54, 25})) << "touches only the margin";
  EXPECT_FALSE(RectInVisibleArea(Host, {146, 20, 160, 30}));
}

std::unique_ptr<TTextData> DejaVuText(const QString& S) {
  auto T = std::make_unique<TTextData>();
  T->TextFont = QStringLiteral("DejaVu Sans");
  T->TextSize = 20;
  T->FontType = TRUETYPE_FONTTYPE;
  T->Opacity = 100;
  T->Lines = {S};
  return T;
}

TEST_F(CalqueSelectionTest, ApplyTextLayerAddsOrRendersAgain) {
  auto T = DejaVuText("Hi");
  EXPECT_FALSE(ApplyTextLayer(Host, "#2", *T, false, {0, 0, 200, 100})) << "the current layer holds no text";
  EXPECT_EQ(Image.Layers().Count(), 2);
  ASSERT_TRUE(ApplyTextLayer(Host, "#2", *T, true, {0, 0, 200, 100}));
  ASSERT_EQ(Image.Layers().Count(), 3);
  TLayerItem& L = Layer(2);
  ASSERT_TRUE(IsTextLayer(Image));
  const int W = L.Bitmap().Width(), H = L.Bitmap().Height();
  ASSERT_GT(W, 0);
  EXPECT_EQ(L.Pos, VisibleCenterRect(Host, {0, 0, W, H}).TopLeft());
  // The main window's hook, through which undo records copy text data.
  OnNeedLayerData = [](TLayerItem& Item) {
    if (!Item.Data()) Item.SetData(std::make_unique<TTextData>());
  };
  Record(std::make_unique<TUndoTextData>(L), 2);
  const Stack Before = StateOf(Image, [](const TLayerData& D) {
    return static_cast<const TTextData&>(D).Lines.join('|').toStdString();
  });
  T->Lines = {"Hello"};
  ASSERT_TRUE(ApplyTextLayer(Host, "#2", *T, false, {}));
  EXPECT_GT(L.Bitmap().Width(), W);
  EXPECT_EQ(Host.Changed, 1);
  List.Undo();
  EXPECT_EQ(Diff(StateOf(Image, [](const TLayerData& D) {
                   return static_cast<const TTextData&>(D).Lines.join('|').toStdString();
                 }), Before), "");
  Sel.FRect = {5, 6, 7, 8};
  ASSERT_TRUE(ApplyTextLayer(Host, "#3", *T, true, Sel.FRect));
  EXPECT_EQ(Layer(3).Pos, TPoint(5, 6));
  OnNeedLayerData = nullptr;
}

TEST_F(CalqueSelectionTest, TextBecomesABitmapSelection) {
  auto T = DejaVuText("Ab");
  Sel.FShape = ssEllipse;
  Sel.FInvert = true;
  ASSERT_TRUE(TextDataToSelection(Host, *T, false));
  EXPECT_EQ(Sel.FShape, ssBitmap);
  EXPECT_FALSE(Sel.FInvert);
  EXPECT_EQ(Sel.FRect.TopLeft(), TPoint(10, 5));
  EXPECT_GT(Sel.FRect.Width(), 10);
  EXPECT_EQ(Host.Shown, 1);
  ASSERT_TRUE(TextDataToSelection(Host, *T, true));
  EXPECT_EQ(Sel.FRect, VisibleCenterRect(Host, {0, 0, Sel.FRect.Width(), Sel.FRect.Height()}));
  auto Empty = DejaVuText("");
  Empty->Lines.clear();
  const TRect Kept = Sel.FRect;
  EXPECT_FALSE(TextDataToSelection(Host, *Empty, true));
  EXPECT_EQ(Sel.FRect, Kept);
}

} // namespace
