// The undo history and the undo records of layer operations: the list's
// cursor and capacity, the pixel record's exchanges, and for every layer
// record an action undone, redone and undone again, the whole stack compared
// with its states before and after. A fake layers panel follows the panel's
// documented placement rules; a fake text data renders its text as a block.
#include "document/Undo.h"

#include "DocumentTestSupport.h"
#include "FakeNavigator.h"
#include "LayerStackState.h"
#include "document/LayerNavigator.h"
#include "document/MyImageLayered.h"
#include "raster/Pixels.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

using namespace DocTest;

namespace {

// ---- Fakes ------------------------------------------------------------------------------

// A text whose rendering is a block of (2 + length) x 3 pixels of a colour
// taken from the text, opaque.
class FakeText : public TLayerData {
public:
  explicit FakeText(QString T = {}) : Text(std::move(T)) {}
  QString Text;
  void Assign(const TLayerData& NewData) override { Text = static_cast<const FakeText&>(NewData).Text; }
  void PrepareBitmaps(TLayerItem& Item) override {
    if (!Item.Bitmap().Empty()) return;
    const int Code = static_cast<int>(qHash(Text) % 200);
    Solid(Item.Bitmap(), 2 + static_cast<int>(Text.size()), 3, Rgb(Code, 255 - Code, 17));
    Solid(Item.Mask(), Item.Bitmap().Width(), 3, Grey(0));
    if (Item.Opacity == 0) Item.Opacity = 100;
  }
};

// ---- The state of a stack, compared field by field ---------------------------------------

std::string TextOf(const TLayerData& D) { return static_cast<const FakeText&>(D).Text.toStdString(); }
LayerState StateOf(const TLayerItem& L) { return StateOf(L, TextOf); }
Stack StateOf(const TMyImageLayered& Image) { return StateOf(Image, TextOf); }

// ---- A list item that logs its calls -------------------------------------------------------

struct LogItem : TUndoItem {
  LogItem(std::vector<std::string>& Log, const char* Name) : Log(Log) { Caption = Name; }
  void Undo() override { Log.push_back("u" + Caption.toStdString()); }
  void Redo() override { Log.push_back("r" + Caption.toStdString()); }
  std::vector<std::string>& Log;
};

class UndoListTest : public ::testing::Test {
protected:
  std::vector<std::string> Log;
  TUndoItem* Add(TUndoList& L, const char* Name) { return L.Add(std::make_unique<LogItem>(Log, Name)); }
  static std::vector<std::string> Captions(const TUndoList& L) {
    std::vector<std::string> S;
    for (int I = 0; I < L.Count(); ++I) S.push_back(L.GetItem(I)->Caption.toStdString());
    return S;
  }
};

} // namespace

// ---- TUndoList ---------------------------------------------------------------------------------

TEST_F(UndoListTest, FullListDropsItsOldestRecord) {
  TUndoList L(4);
  for (const char* N : {"1", "2", "3", "4", "5"}) Add(L, N);
  EXPECT_EQ(Captions(L), (std::vector<std::string>{"2", "3", "4", "5"}));
  EXPECT_EQ(L.ItemIndex(), 3);
  EXPECT_TRUE(L.Recycled());
  EXPECT_EQ(L.ActionList(), "2\n3\n4\n5\n");
  L.Clear();
  EXPECT_FALSE(L.Recycled());
  EXPECT_EQ(L.ItemIndex(), -1);
}

TEST_F(UndoListTest, NewRecordAfterUndosDropsTheUndoneOnes) {
  TUndoList L(10);
  Add(L, "1");
  Add(L, "2");
  Add(L, "3");
  L.Undo();
  L.Undo();
  EXPECT_EQ(L.ItemIndex(), 0);
  Add(L, "4");
  EXPECT_EQ(Captions(L), (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(L.ItemIndex(), 1);
  EXPECT_EQ(L.ActionList(), "1\n4\n");
  EXPECT_FALSE(L.Recycled());
}

TEST_F(UndoListTest, CursorWalksAndStopsAtBothEnds) {
  TUndoList L(10);
  EXPECT_EQ(L.CurrentUndo(), nullptr);
  L.Undo();
  L.Redo();
  EXPECT_TRUE(Log.empty());
  TUndoItem* A = Add(L, "1");
  TUndoItem* B = Add(L, "2");
  TUndoItem* C = Add(L, "3");
  L.Redo(); // at the end: nothing
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(L.CurrentUndo(), C);
  EXPECT_EQ(L.PrevUndo(), B);
  EXPECT_EQ(L.NextUndo(), nullptr);
  EXPECT_EQ(L.FirstUndo(), A);
  EXPECT_EQ(L.LastUndo(), C);
  EXPECT_EQ(L.GetItem(3), nullptr);
  EXPECT_EQ(L.GetItem(-1), nullptr);

  L.UndoRedoUntil(0);
  EXPECT_EQ(Log, (std::vector<std::string>{"u3", "u2"}));
  EXPECT_EQ(L.PrevUndo(), nullptr);
  Log.clear();
  L.UndoRedoUntil(2);
  EXPECT_EQ(Log, (std::vector<std::string>{"r2", "r3"}));
  Log.clear();
  L.UndoRedoUntil(-1);
  L.UndoRedoUntil(3);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(L.ItemIndex(), 2);

  L.UndoAll();
  EXPECT_EQ(Log, (std::vector<std::string>{"u3", "u2", "u1"}));
  EXPECT_EQ(L.ItemIndex(), -1);
  EXPECT_EQ(L.CurrentUndo(), nullptr);
  EXPECT_EQ(L.NextUndo(), A);
  Log.clear();
  L.RedoAll();
  EXPECT_EQ(Log, (std::vector<std::string>{"r1", "r2", "r3"}));

  L.DeleteLast();
  EXPECT_EQ(L.ItemIndex(), 1);
  EXPECT_EQ(L.ActionList(), "1\n2\n");
}

TEST_F(UndoListTest, UndoneOneWayRecordGoesWithEveryLaterOne) {
  TUndoList L(10);
  Add(L, "1");
  Add(L, "2")->CanRedo = false;
  Add(L, "3");
  L.Undo();
  L.Undo();
  EXPECT_EQ(Captions(L), (std::vector<std::string>{"1"}));
  EXPECT_EQ(L.ItemIndex(), 0);
  EXPECT_EQ(L.ActionList(), "1\n");
}

TEST_F(UndoListTest, CaptionLineIsTheCaptionWhenAdded) {
  TUndoList L(10);
  TUndoItem* A = Add(L, "first");
  A->Caption = "renamed";
  EXPECT_EQ(L.ActionList(), "first\n");
}

TEST_F(UndoListTest, CapacityBelowOneIsTheSmallestHistory) {
  // A depth of 0 or less never makes an unbounded history.
  for (int Capacity : {0, -5}) {
    TUndoList L(Capacity);
    EXPECT_EQ(L.MaxItems(), 1);
    Add(L, "1");
    Add(L, "2");
    EXPECT_EQ(Captions(L), (std::vector<std::string>{"2"}));
  }
  EXPECT_EQ(UndoCapacityFromDepth(0), 2);
  EXPECT_EQ(UndoCapacityFromDepth(-3), 2);
  EXPECT_EQ(UndoCapacityFromDepth(1), 2);
  EXPECT_EQ(UndoCapacityFromDepth(20), 40);
  EXPECT_GT(UndoCapacityFromDepth(INT_MAX), 0);
}

TEST_F(UndoListTest, RecordsNumberedAndFlagged) {
  std::vector<std::string> Unused;
  LogItem A(Unused, "a"), B(Unused, "b");
  EXPECT_EQ(B.Id(), A.Id() + 1);
  EXPECT_GE(A.Id(), 1);
  for (int I = 1; I <= 10; ++I) A.SetFlag(I, I * 11);
  A.SetFlag(0, 5);
  A.SetFlag(11, 5);
  for (int I = 1; I <= 10; ++I) EXPECT_EQ(A.Flag(I), I * 11);
  EXPECT_EQ(A.GetFlag(0), 0);
  EXPECT_EQ(A.GetFlag(11), 0);
}

// ---- TUndoBmpItem ------------------------------------------------------------------------------

TEST(UndoBmpItemTest, WholeRecordExchangesSizesToo) {
  TBitmap Bmp, Before, After;
  FillRandom(Bmp, 1);
  Bmp.SetSize(100, 80);
  FillRandom(Bmp, 2);
  Before.Assign(Bmp);
  TUndoBmpItem Rec(&Bmp, nullptr);
  EXPECT_EQ(Rec.UndoType(), utBitmap);
  EXPECT_EQ(Rec.UndoMode(), umImage);
  EXPECT_EQ(Rec.Region(), TRect(0, 0, 100, 80));
  Bmp.SetSize(50, 40);
  FillRandom(Bmp, 3);
  After.Assign(Bmp);
  EXPECT_FALSE(Rec.IsEqualSize());
  Rec.Undo();
  EXPECT_IMAGES_MATCH(Bmp, Before);
  Rec.Redo();
  EXPECT_IMAGES_MATCH(Bmp, After);
  Rec.Undo();
  EXPECT_IMAGES_MATCH(Bmp, Before);
}

TEST(UndoBmpItemTest, RegionRecordExchangesOnlyItsPixels) {
  TBitmap Bmp, Mask, Before, After, MaskBefore;
  Bmp.SetSize(40, 30);
  FillRandom(Bmp, 4);
  Solid(Mask, 40, 30, Grey(0));
  Before.Assign(Bmp);
  MaskBefore.Assign(Mask);
  TUndoBmpItem Rec(&Bmp, &Mask, {10, 10, 20, 20});
  EXPECT_EQ(Rec.UndoType(), utAll);
  EXPECT_EQ(Rec.GetMemSize(), 400);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      if (X < 10 || X >= 20 || Y < 10 || Y >= 20) continue;
      SetPx(Bmp, X, Y, Rgb(1, 2, 3));
      SetPx(Mask, X, Y, Grey(77));
    }
  After.Assign(Bmp);
  TBitmap MaskAfter;
  MaskAfter.Assign(Mask);
  Rec.Undo();
  EXPECT_IMAGES_MATCH(Bmp, Before);
  EXPECT_IMAGES_MATCH(Mask, MaskBefore);
  Rec.Redo();
  EXPECT_IMAGES_MATCH(Bmp, After);
  EXPECT_IMAGES_MATCH(Mask, MaskAfter);
  // Sub-records count in the size.
  Rec.UndoList().Add(std::make_unique<TUndoBmpItem>(&Bmp, nullptr, TRect{0, 0, 2, 2}));
  EXPECT_EQ(Rec.GetMemSize(), 412);
}

TEST(UndoBmpItemTest, RegionIsClippedAndEmptyRegionSavesNothing) {
  TBitmap Bmp;
  Solid(Bmp, 10, 10, Grey(9));
  TUndoBmpItem Clipped(&Bmp, nullptr, {-5, 5, 4, 30});
  EXPECT_EQ(Clipped.Region(), TRect(0, 5, 4, 10));
  TUndoBmpItem Empty(&Bmp, nullptr, {0, 0, 0, 0});
  EXPECT_EQ(Empty.GetMemSize(), 0);
  SetPx(Bmp, 1, 1, Grey(200));
  Empty.Undo();
  EXPECT_EQ(Px(Bmp, 1, 1).Blue, 200);
}

TEST(UndoBmpItemTest, AlphaBlendFadesTheChange) {
  struct Case {
    int Alpha;
    int Expected; // a byte that went from 200 to 100
  };
  for (const Case& C : {Case{0, 100}, Case{-10, 100}, Case{50, 150}, Case{25, 125}, Case{100, 200}, Case{150, 200}}) {
    TBitmap Bmp;
    Solid(Bmp, 20, 20, Grey(200));
    TUndoBmpItem Rec(&Bmp, nullptr, {2, 2, 8, 8});
    Solid(Bmp, 20, 20, Grey(100));
    Rec.AlphaBlend(C.Alpha);
    EXPECT_EQ(Px(Bmp, 5, 5).Red, C.Expected) << C.Alpha;
    EXPECT_EQ(Px(Bmp, 12, 12).Red, 100) << C.Alpha;
  }
  // With a saved mask, pixels that were transparent do not come back.
  TBitmap Bmp, Mask;
  Solid(Bmp, 4, 1, Grey(200));
  Solid(Mask, 4, 1, Grey(0));
  SetPx(Mask, 1, 0, Grey(255));
  TUndoBmpItem Rec(&Bmp, &Mask, {0, 0, 4, 1});
  Solid(Bmp, 4, 1, Grey(100));
  Solid(Mask, 4, 1, Grey(0));
  Rec.AlphaBlend(50);
  EXPECT_EQ(Px(Bmp, 0, 0).Red, 100 + 100 * (255 * 50 / 100) / 255);
  EXPECT_EQ(Px(Bmp, 1, 0).Red, 100);
  EXPECT_EQ(Px(Mask, 1, 0).Red, 127);
}

TEST(UndoBmpItemTest, ShapeRestrictionRestoreBlankAndResetData) {
  TBitmap Bmp, Sel;
  Solid(Bmp, 6, 1, Grey(200));
  TUndoBmpItem Rec(&Bmp, nullptr, {0, 0, 6, 1});
  Solid(Bmp, 6, 1, Grey(100));
  Solid(Sel, 6, 1, Grey(0));
  SetPx(Sel, 1, 0, Grey(255));
  SetPx(Sel, 2, 0, Grey(51));
  Rec.AlphaBlend(&Sel, false);
  EXPECT_EQ(Px(Bmp, 0, 0).Red, 200);
  EXPECT_EQ(Px(Bmp, 1, 0).Red, 100);
  EXPECT_EQ(Px(Bmp, 2, 0).Red, 100 + 100 * 204 / 255);
  Solid(Bmp, 6, 1, Grey(100));
  Rec.RestoreBlank(&Sel);
  EXPECT_EQ(Px(Bmp, 0, 0).Red, 100);
  EXPECT_EQ(Px(Bmp, 1, 0).Red, 200);

  // A record made over nothing gets its region from copies kept before the
  // change, and stays bound to the live bitmap.
  TBitmap Live, Copy;
  Solid(Live, 10, 10, Grey(30));
  Copy.Assign(Live);
  TUndoBmpItem Stroke(&Live, nullptr, {0, 0, 0, 0});
  for (int X = 2; X < 5; ++X) SetPx(Live, X, 3, Grey(250));
  Stroke.ResetData(&Copy, nullptr, {2, 3, 5, 4});
  EXPECT_EQ(Stroke.Region(), TRect(2, 3, 5, 4));
  EXPECT_EQ(Stroke.UndoMode(), umRegion);
  Stroke.Undo();
  EXPECT_IMAGES_MATCH(Live, Copy);
}

TEST(UndoBmpItemTest, MaskOnlyRecordAndRestore) {
  TBitmap Mask, Before;
  Solid(Mask, 8, 8, Grey(10));
  Before.Assign(Mask);
  TUndoBmpItem Rec(nullptr, &Mask);
  EXPECT_EQ(Rec.UndoType(), utMask);
  EXPECT_EQ(Rec.GetMemSize(), 64);
  Solid(Mask, 8, 8, Grey(90));
  Rec.Restore();
  EXPECT_IMAGES_MATCH(Mask, Before);
  EXPECT_EQ(Rec.GetMemSize(), 64); // the record keeps its snapshot
}

// ---- Layer records -------------------------------------------------------------------------------

namespace {

class UndoLayerTest : public ::testing::Test {
public: // the table of operations calls them from lambdas
  TMyImageLayered Image;
  FakeNavigator Nav{Image};
  TUndoList List{100000};
  std::mt19937 Rng{12345};

  void SetUp() override {
    OnNeedLayerData = [](TLayerItem& Item) {
      if (!Item.Data()) Item.SetData(std::make_unique<FakeText>());
    };
    TBitmap Bkg;
    Fill(Bkg, 24, 16, [](int X, int Y) { return Rgb(X * 9, Y * 13, 40); });
    Image.AddBackground(&Bkg, nullptr, "#0");
    Nav.ResetLayerIndex();
  }
  void TearDown() override { OnNeedLayerData = nullptr; }

  int Random(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); }
  TLayerItem& Layer(int I) { return Image.Layers()[I]; }
  int Count() { return Image.Layers().Count(); }

  void RandomBitmap(TBitmap& B, int W, int H) {
    B.SetSize(W, H);
    FillRandom(B, unsigned(Random(0, 1 << 30)));
  }
  void RandomMask(TBitmap& M, int W, int H) {
    Fill(M, W, H, [this](int, int) { return Grey(Random(0, 3) == 0 ? 255 : Random(0, 1) * 128); });
  }

  template <class T> T* Record(std::unique_ptr<T> R, int Index) {
    R->SetNavigator(&Nav);
    R->SetLayerIndex(Index);
    T* P = R.get();
    List.Add(std::move(R));
    return P;
  }

  // The records of the operation undone, redone, undone and redone,
  // comparing with the states before and after.
  void Check(const Stack& Before) {
    const Stack After = StateOf(Image);
    List.UndoAll();
    EXPECT_EQ(Diff(StateOf(Image), Before), "") << "first undo";
    List.RedoAll();
    EXPECT_EQ(Diff(StateOf(Image), After), "") << "redo";
    List.UndoAll();
    EXPECT_EQ(Diff(StateOf(Image), Before), "") << "second undo";
    List.RedoAll();
    EXPECT_EQ(Diff(StateOf(Image), After), "") << "second redo";
  }

  // ---- Operations, each recorded as the main window records it ----------------------------------

  // A new bitmap layer above the current one, recorded once it exists.
  int CreateBitmapLayer(int W, int H, TPoint Pos) {
    TBitmap B, M;
    RandomBitmap(B, W, H);
    RandomMask(M, W, H);
    const int I = Nav.AddLayer(&B, &M, Pos, TOpacityRange(Random(1, 100)), "#" + QString::number(Random(1, 99)));
    Record(std::make_unique<TUndoCreateLayer>(Layer(I)), I);
    return I;
  }
  int CreateColorLayer() {
    const int I = Nav.AddLayerColor(TColor(Random(0, 0xFFFFFF)), 60, Random(0, 1) == 1, "colour");
    Record(std::make_unique<TUndoCreateLayer>(Layer(I)), I);
    return I;
  }
  int CreateAdjustLayer() {
    TAdjustLayerInfos A;
    A.Luminosity = int16_t(Random(-50, 50));
    A.Gamma = 1.5;
    const int I = Nav.AddLayerAdjust(A, 70, "adjust");
    Record(std::make_unique<TUndoCreateLayer>(Layer(I)), I);
    return I;
  }
  int CreateTextLayer(const QString& Text, TPoint Pos) {
    const int I = Nav.AddLayerData(std::make_unique<FakeText>(Text), "text");
    Layer(I).Pos = Pos;
    Layer(I).Data()->PrepareBitmaps(Layer(I));
    Record(std::make_unique<TUndoCreateLayer>(Layer(I)), I);
    return I;
  }
  void DeleteLayer(int I) {
    Record(std::make_unique<TUndoDeleteLayer>(Layer(I)), I);
    Nav.DeleteLayer(I);
  }
  void PaintRegion(int I, TRect R) {
    TLayerItem& L = Layer(I);
    auto* Rec = Record(std::make_unique<TUndoLayerItem>(L, R, utAll), I);
    const TRect G = Rec->Region();
    for (int Y = G.Top; Y < G.Bottom; ++Y)
      for (int X = G.Left; X < G.Right; ++X) {
        SetPx(L.Bitmap(), X, Y, Rgb(Random(0, 255), Random(0, 255), Random(0, 255)));
        if (!L.Mask().Empty()) SetPx(L.Mask(), X, Y, Grey(Random(0, 255)));
      }
  }
  void ResizeLayer(int I, int W, int H) {
    TLayerItem& L = Layer(I);
    Record(std::make_unique<TUndoLayerItem>(L, utAll), I);
    RandomBitmap(L.Bitmap(), W, H);
    if (!L.Mask().Empty()) RandomMask(L.Mask(), W, H);
  }
  void ChangeOptions(int I) {
    TLayerItem& L = Layer(I);
    Record(std::make_unique<TUndoLayerInfos>(L), I);
    L.Opacity = TOpacityRange(Random(1, 100));
    L.BlendMode = Random(0, 25);
    L.Visible = Random(0, 3) != 0;
    L.Locked = Random(0, 1) == 1;
    L.Pos = {L.Pos.X + Random(-3, 3), L.Pos.Y + Random(-3, 3)};
    L.ShadowInfos.DrawShadow = Random(0, 1) == 1;
    L.ShadowInfos.DX = Random(-4, 4);
    L.Caption = "#" + QString::number(Random(1, 99));
  }
  void MoveLayer(int From, int To) {
    auto* R = Record(std::make_unique<TUndoLayerIndex>(Layer(From)), To);
    R->SetOldIndex(From);
    Nav.Move(From, To, false);
  }
  void MergeDown(int I) {
    auto R = std::make_unique<TUndoMergeLayers>(Layer(I), Layer(I - 1), I - 1 == 0);
    R->SetNavigator(&Nav);
    R->SetLayerIndex(I - 1);
    R->SetSupIndex(I);
    List.Add(std::move(R));
    Image.SetLayerIndex(I);
    Image.MergeWithPrevious(false);
  }
  void InsertBackground(bool Transparent) {
    const bool IsRGBA = !Layer(0).Mask().Empty();
    TBitmap B;
    RandomBitmap(B, Layer(0).Bitmap().Width(), Layer(0).Bitmap().Height());
    const QString Caption = Layer(0).Caption;
    Nav.InsertNewBackground(&B, nullptr, Transparent, Caption);
    Layer(1).Caption = "old background";
    auto* R = Record(std::make_unique<TUndoInsertBakground>(Layer(0)), 0);
    R->FOldBkgCaption = Layer(1).Caption;
    R->FIsRGBA = IsRGBA;
    R->FTransparent = Transparent;
  }
  void MergeAll(bool VisibleOnly) {
    auto* R = Record(std::make_unique<TUndoMergeAll>(Layer(0)), 0);
    R->FIsBkgVisible = Layer(0).Visible;
    R->SaveLayers(!VisibleOnly);
    Image.MergeLayersWithBkg(VisibleOnly);
  }
  // Flattening, recorded as the merge of every layer into the background.
  void Flatten() {
    auto* R = Record(std::make_unique<TUndoMergeAll>(Layer(0)), 0);
    R->FIsBkgVisible = Layer(0).Visible;
    R->SaveLayers(true);
    Image.FlattenImage();
  }
  void ShowHideAll(bool Show) {
    Record(std::make_unique<TUndoShowHideAll>(Layer(0)), 0)->SaveLayersInfos();
    for (int I = 0; I < Count(); ++I) Layer(I).Visible = Show;
  }
  // Every layer changes size (the canvas grows or shrinks).
  void ResizeAll(int W, int H) {
    Record(std::make_unique<TUndoAllLayers>(Layer(0)), 0)->SaveLayers();
    for (int I = 0; I < Count(); ++I) {
      TLayerItem& L = Layer(I);
      L.Pos = {L.Pos.X + 1, L.Pos.Y - 1};
      if (L.LayerType != ltBitmap) continue;
      const int LW = I == 0 ? W : std::max(1, L.Bitmap().Width() + Random(-2, 2));
      const int LH = I == 0 ? H : std::max(1, L.Bitmap().Height() + Random(-2, 2));
      L.Bitmap().SetSize(LW, LH);
      if (!L.Mask().Empty()) L.Mask().SetSize(LW, LH);
    }
    Layer(0).Pos = {0, 0};
  }
  void EditText(int I, const QString& Text, TPoint Pos) {
    TLayerItem& L = Layer(I);
    Record(std::make_unique<TUndoTextData>(L), I);
    static_cast<FakeText*>(L.Data())->Text = Text;
    L.Pos = Pos;
    L.Bitmap().ReleaseImage();
    L.Data()->PrepareBitmaps(L);
  }
  // Painting over R (image coordinates) on a layer that grows to take it.
  TUndoExpandLayer* PaintExpanding(int I, TRect R) {
    TLayerItem& L = Layer(I);
    const TRect InLayer = OffsetRect(R, -L.Pos.X, -L.Pos.Y);
    auto* Rec = Record(std::make_unique<TUndoExpandLayer>(L, InLayer, R, Image), I);
    const TRect G = Rec->Region();
    for (int Y = G.Top; Y < G.Bottom; ++Y)
      for (int X = G.Left; X < G.Right; ++X) {
        SetPx(L.Bitmap(), X, Y, Rgb(250, Random(0, 255), 5));
        if (!L.Mask().Empty()) SetPx(L.Mask(), X, Y, Grey(0));
      }
    return Rec;
  }

  // A stack of a background and three layers of every kind of content.
  void BuildStack() {
    CreateBitmapLayer(8, 6, {3, 2});
    CreateColorLayer();
    CreateBitmapLayer(5, 9, {-2, 7});
    Layer(3).ShadowInfos.DrawShadow = true;
    Layer(3).BlendMode = 4;
    Layer(3).Visible = false;
    Layer(3).Locked = true;
    List.Clear();
  }
};

} // namespace

TEST_F(UndoLayerTest, OpacityChangeSavesNoPixels) {
  CreateBitmapLayer(6, 6, {1, 1});
  Layer(1).Opacity = 100;
  const Stack Before = StateOf(Image);
  auto* R = Record(std::make_unique<TUndoLayerInfos>(Layer(1)), 1);
  Layer(1).Opacity = 40;
  EXPECT_EQ(R->GetMemSize(), 0);
  List.Undo();
  EXPECT_EQ(Layer(1).Opacity, 100);
  List.Redo();
  EXPECT_EQ(Layer(1).Opacity, 40);
  List.Undo();
  EXPECT_EQ(Diff(StateOf(Image), Before), "");
  EXPECT_EQ(Nav.Thumbs.back(), 1);
}

TEST_F(UndoLayerTest, LayerMovedAfterTheRecordKeepsItsSavedPosition) {
  CreateBitmapLayer(6, 6, {1, 1});
  List.Clear();
  const Stack Before = StateOf(Image);
  const TPoint Old = Layer(1).Pos;
  Layer(1).Pos = {5, 5}; // moved with the mouse before the record is made
  Record(std::make_unique<TUndoLayerInfos>(Layer(1)), 1)->SetLayerPos(Old);
  Check(Before);
}

TEST_F(UndoLayerTest, EachOperationUndoesRedoesAndUndoesAgain) {
  struct Case {
    const char* Name;
    std::function<void(UndoLayerTest&)> Op;
  };
  const std::vector<Case> Cases = {
      {"paint region",
       [](UndoLayerTest& T) {
         T.PaintRegion(1, {2, 1, 6, 5});
       }},
      {"paint background",
       [](UndoLayerTest& T) {
         T.PaintRegion(0, {-3, -3, 9, 4});
       }},
      {"resize layer", [](UndoLayerTest& T) { T.ResizeLayer(3, 11, 2); }},
      {"options", [](UndoLayerTest& T) { T.ChangeOptions(2); }},
      {"move 3 to 1", [](UndoLayerTest& T) { T.MoveLayer(3, 1); }},
      {"move 1 to 3", [](UndoLayerTest& T) { T.MoveLayer(1, 3); }},
      {"create bitmap",
       [](UndoLayerTest& T) {
         T.CreateBitmapLayer(4, 4, {9, 9});
       }},
      {"create colour", [](UndoLayerTest& T) { T.CreateColorLayer(); }},
      {"create adjust", [](UndoLayerTest& T) { T.CreateAdjustLayer(); }},
      {"create text",
       [](UndoLayerTest& T) {
         T.CreateTextLayer("hello", {4, 5});
       }},
      {"delete layer 2 of four", [](UndoLayerTest& T) { T.DeleteLayer(2); }},
      {"delete hidden shadowed layer", [](UndoLayerTest& T) { T.DeleteLayer(3); }},
      {"merge into background", [](UndoLayerTest& T) { T.MergeDown(1); }},
      {"merge colour into layer", [](UndoLayerTest& T) { T.MergeDown(2); }},
      {"merge bitmap into layer",
       [](UndoLayerTest& T) {
         T.MoveLayer(3, 2);
         T.MergeDown(2);
       }},
      {"insert background", [](UndoLayerTest& T) { T.InsertBackground(false); }},
      {"insert transparent background", [](UndoLayerTest& T) { T.InsertBackground(true); }},
      {"merge visible", [](UndoLayerTest& T) { T.MergeAll(true); }},
      {"merge all", [](UndoLayerTest& T) { T.MergeAll(false); }},
      {"flatten", [](UndoLayerTest& T) { T.Flatten(); }},
      {"show all", [](UndoLayerTest& T) { T.ShowHideAll(true); }},
      {"hide all", [](UndoLayerTest& T) { T.ShowHideAll(false); }},
      {"resize all", [](UndoLayerTest& T) { T.ResizeAll(30, 9); }},
      {"paint expanding",
       [](UndoLayerTest& T) {
         T.PaintExpanding(1, {0, 0, 5, 4});
       }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TearDown();
    Image.Layers().Clear();
    List.Clear();
    SetUp();
    BuildStack();
    const Stack Before = StateOf(Image);
    C.Op(*this);
    Check(Before);
  }
}

TEST_F(UndoLayerTest, DeletedLayersComeBackWhole) {
  BuildStack();
  const int T = CreateTextLayer("shadowed", {2, 3});
  // A text layer's shadow comes back with it.
  Layer(T).ShadowInfos.DrawShadow = true;
  Layer(T).ShadowInfos.DX = -3;
  Layer(T).Tag = 7;
  List.Clear();
  for (int I : {4, 2}) {
    const Stack Before = StateOf(Image);
    const LayerState Deleted = StateOf(Layer(I));
    DeleteLayer(I);
    ASSERT_EQ(Count(), 4);
    List.Undo();
    EXPECT_EQ(Diff({StateOf(Layer(I))}, {Deleted}), "");
    EXPECT_EQ(Diff(StateOf(Image), Before), "");
    EXPECT_EQ(Layer(2).LayerType, ltColor);
  }
}

TEST_F(UndoLayerTest, MergeIntoBackgroundSavesOnlyWhatTheLayerCovers) {
  BuildStack();
  Layer(1).ShadowInfos.DrawShadow = true;
  Layer(1).ShadowInfos.DX = 2;
  Layer(1).ShadowInfos.DY = 1;
  Layer(1).ShadowInfos.Blur = 1;
  const Stack Before = StateOf(Image);
  auto R = std::make_unique<TUndoMergeLayers>(Layer(1), Layer(0), true);
  // The layer at (3, 2) of 8 x 6, its shadow (grown by the blur of 1, then
  // moved by (2, 1)) at (4, 2)..(14, 10).
  EXPECT_EQ(R->Region(), TRect(3, 2, 14, 10));
  EXPECT_EQ(R->UndoType(), utBitmap);
  TUndoMergeLayers* P = R.get();
  R->SetNavigator(&Nav);
  R->SetLayerIndex(0);
  R->SetSupIndex(1);
  List.Add(std::move(R));
  EXPECT_EQ(P->GetMemSize(), 11 * 8 * 3 + 8 * 6 * 4);
  Image.SetLayerIndex(1);
  Image.MergeWithPrevious(false);
  Check(Before);
}

TEST_F(UndoLayerTest, RecordsAddressEveryLayerOfALargeStack) {
  // More layers than the old limit of sub-records.
  for (int I = 0; I < 100; ++I) CreateBitmapLayer(2 + I % 3, 2, {I % 7, I % 5});
  List.Clear();
  Stack Before = StateOf(Image);
  ResizeAll(12, 30);
  EXPECT_EQ(List.CurrentUndo()->UndoList().Count(), 100);
  Check(Before);
  List.Clear();
  Before = StateOf(Image);
  ShowHideAll(false);
  Check(Before);
  List.Clear();
  Before = StateOf(Image);
  MergeAll(false);
  ASSERT_EQ(Count(), 1);
  Check(Before);
}

TEST_F(UndoLayerTest, FlatteningWithHiddenBackgroundKeepsUnmergedLayers) {
  BuildStack();
  Layer(0).Visible = false;
  const Stack Before = StateOf(Image);
  MergeAll(true);
  ASSERT_EQ(Count(), 2); // the hidden layer 3 stays
  EXPECT_TRUE(Layer(0).Visible);
  Check(Before);
}

TEST_F(UndoLayerTest, FlatteningComesBackWithTheBackgroundsOwnSettings) {
  // Flattening bakes the background's own opacity, mode, visibility and kind
  // into its pixels; undo gives each of them back.
  const std::vector<std::pair<const char*, std::function<void(TLayerItem&)>>> Backgrounds = {
      {"translucent hidden background with a mode and a mask",
       [this](TLayerItem& Bkg) {
         Bkg.Opacity = 60;
         Bkg.BlendMode = 7;
         Bkg.Visible = false;
         RandomMask(Bkg.Mask(), Bkg.Bitmap().Width(), Bkg.Bitmap().Height());
       }},
      {"text background",
       [](TLayerItem& Bkg) {
         Bkg.LayerType = ltData;
         Bkg.SetData(std::make_unique<FakeText>("under"));
         Bkg.Opacity = 80;
       }},
  };
  for (const auto& [Name, Prepare] : Backgrounds) {
    SCOPED_TRACE(Name);
    TearDown();
    Image.Layers().Clear();
    List.Clear();
    SetUp();
    BuildStack();
    Prepare(Layer(0));
    const Stack Before = StateOf(Image);
    Flatten();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Layer(0).LayerType, ltBitmap);
    EXPECT_EQ(Layer(0).Opacity, 100);
    Check(Before); // the text comes back with the kind
  }
}

TEST_F(UndoLayerTest, PaintingOutsideALayerGrowsItAndUndoShrinksIt) {
  BuildStack();
  const TRect OldBounds = Layer(1).BoundsRect();
  const Stack Before = StateOf(Image);
  TUndoExpandLayer* R = PaintExpanding(1, {0, 0, 5, 4});
  EXPECT_TRUE(R->AutoExpanded());
  EXPECT_EQ(R->Offset(), TPoint(3, 2));
  EXPECT_EQ(Layer(1).BoundsRect(), TRect(0, 0, 11, 8));
  const Stack After = StateOf(Image);
  List.Undo();
  EXPECT_EQ(Layer(1).BoundsRect(), OldBounds);
  EXPECT_EQ(Diff(StateOf(Image), Before), "");
  List.Redo();
  EXPECT_EQ(Diff(StateOf(Image), After), "");
  EXPECT_EQ(Px(Layer(1).Bitmap(), 0, 0).Red, 250);

  // Inside the layer nothing grows.
  List.Clear();
  TUndoExpandLayer* Inside = PaintExpanding(1, {2, 2, 4, 4});
  EXPECT_FALSE(Inside->AutoExpanded());
  EXPECT_EQ(Inside->Offset(), TPoint(0, 0));
}

TEST_F(UndoLayerTest, TextEditUndoRendersThePreviousText) {
  const int T = CreateTextLayer("short", {1, 1});
  List.Clear();
  const Stack Before = StateOf(Image);
  EditText(T, "a much longer text", {6, 2});
  EXPECT_EQ(Layer(T).Bitmap().Width(), 20);
  List.Undo();
  EXPECT_EQ(Layer(T).Bitmap().Width(), 7);
  EXPECT_EQ(Layer(T).Pos, TPoint(1, 1));
  EXPECT_EQ(Diff(StateOf(Image), Before), "");
  List.Redo();
  EXPECT_EQ(static_cast<FakeText*>(Layer(T).Data())->Text, "a much longer text");
}

TEST_F(UndoLayerTest, BackgroundIndexRecordDoesNothing) {
  BuildStack();
  const Stack Before = StateOf(Image);
  auto* R = Record(std::make_unique<TUndoLayerIndex>(Layer(0)), 0);
  R->SetOldIndex(2);
  List.Undo();
  EXPECT_EQ(Diff(StateOf(Image), Before), "");
}

TEST_F(UndoLayerTest, RecordOfAMissingLayerThrows) {
  auto R = std::make_unique<TUndoLayerInfos>(Layer(0));
  R->SetNavigator(&Nav);
  R->SetLayerIndex(5);
  EXPECT_THROW(R->Undo(), std::out_of_range);
  // A record whose creator gave it no panel fails the same way, not by
  // reaching through a null pointer.
  TUndoLayerIndex NoPanel(Layer(0));
  NoPanel.SetOldIndex(1);
  EXPECT_THROW(NoPanel.Undo(), std::out_of_range);
  TUndoAllLayers NoPanelAll(Layer(0));
  EXPECT_THROW(NoPanelAll.SaveLayers(), std::out_of_range);
}

TEST_F(UndoLayerTest, RandomOperationsUndoneAndRedoneInFull) {
  BuildStack();
  CreateTextLayer("text", {3, 3});
  List.Clear();
  const Stack Original = StateOf(Image);
  for (int Step = 0; Step < 500; ++Step) {
    SCOPED_TRACE(Step);
    const int N = Count();
    const int Upper = N > 1 ? Random(1, N - 1) : 0;
    std::vector<int> Bitmaps;
    for (int I = 0; I < N; ++I)
      if (Layer(I).LayerType == ltBitmap) Bitmaps.push_back(I);
    const int AnyBitmap = Bitmaps[size_t(Random(0, int(Bitmaps.size()) - 1))];
    switch (Random(0, 16)) {
    case 0:
    case 1:
    case 2: {
      const TRect B = BitmapRect(Layer(AnyBitmap).Bitmap());
      const int X = Random(-2, B.Right), Y = Random(-2, B.Bottom);
      PaintRegion(AnyBitmap, {X, Y, X + Random(1, 6), Y + Random(1, 6)});
      break;
    }
    case 3:
      ResizeLayer(AnyBitmap, Random(1, 12), Random(1, 12));
      break;
    case 4:
      ChangeOptions(Random(0, N - 1));
      break;
    case 5:
      if (N > 2) MoveLayer(Upper, Random(1, N - 1));
      break;
    case 6:
      if (N < 9) {
        Image.SetLayerIndex(Random(0, N - 1));
        Nav.ResetLayerIndex();
        switch (Random(0, 3)) {
        case 0:
          CreateBitmapLayer(Random(1, 9), Random(1, 9), {Random(-4, 20), Random(-4, 12)});
          break;
        case 1:
          CreateColorLayer();
          break;
        case 2:
          CreateAdjustLayer();
          break;
        default:
          CreateTextLayer(QString("t%1").arg(Random(0, 999)), {Random(0, 9), Random(0, 9)});
        }
      }
      break;
    case 7:
      if (N > 2) DeleteLayer(Upper);
      break;
    case 8:
      if (N > 1 && Layer(Upper - 1).LayerType == ltBitmap) MergeDown(Upper);
      break;
    case 9:
      if (N < 9) InsertBackground(Random(0, 1) == 1);
      break;
    case 10:
      if (N > 1 && Random(0, 3) == 0) MergeAll(Random(0, 1) == 1);
      break;
    case 11:
      ShowHideAll(Random(0, 1) == 1);
      break;
    case 12:
      ResizeAll(Random(5, 30), Random(5, 20));
      break;
    case 13:
      for (int I = 0; I < N; ++I)
        if (Layer(I).LayerType == ltData) {
          EditText(I, QString("edit%1").arg(Random(0, 99999)), {Random(-3, 9), Random(-3, 9)});
          break;
        }
      break;
    case 14:
      if (AnyBitmap > 0) PaintExpanding(AnyBitmap, {Random(-3, 20), Random(-3, 12), Random(0, 30), Random(0, 20)});
      break;
    default: {
      // The last record undone and redone at once.
      const Stack Now = StateOf(Image);
      List.Undo();
      List.Redo();
      ASSERT_EQ(Diff(StateOf(Image), Now), "");
    }
    }
  }
  const Stack Final = StateOf(Image);
  ASSERT_GT(List.Count(), 300);
  // Every kind of record took part.
  std::set<std::string> Kinds;
  for (int I = 0; I < List.Count(); ++I) Kinds.insert(typeid(*List.GetItem(I)).name());
  EXPECT_EQ(Kinds.size(), 12u);
  List.UndoAll();
  EXPECT_EQ(Diff(StateOf(Image), Original), "");
  List.RedoAll();
  EXPECT_EQ(Diff(StateOf(Image), Final), "");
  EXPECT_GT(List.GetMemSize(), 0);
}
