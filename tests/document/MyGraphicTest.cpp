// Layers and the layer list: defaults, masks, geometry, transformations,
// hooks, and the list's index rules.
#include "document/MyGraphic.h"
#include "DocumentTestSupport.h"
#include "document/MyImageLayered.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace DocTest;

namespace {

// A layer of W x H pixels whose pixel (x, y) is (x, y, x + y), with an
// optional mask from a function.
std::unique_ptr<TLayerItem> PixelLayer(int W, int H, TPoint Pos = {0, 0}) {
  auto L = std::make_unique<TLayerItem>();
  Fill(L->Bitmap(), W, H, [](int X, int Y) { return Rgb(X, Y, X + Y); });
  L->Pos = Pos;
  L->Opacity = 100;
  return L;
}

// Hooks set for one test and unset afterwards.
class HookGuard {
public:
  ~HookGuard() {
    OnNeedLayerData = nullptr;
    OnGetLayerCaption = nullptr;
  }
};

class CountingData : public TLayerData {
public:
  int Value = 0;
  int Renders = 0;
  void Assign(const TLayerData& NewData) override { Value = static_cast<const CountingData&>(NewData).Value; }
  void PrepareBitmaps(TLayerItem& Item) override {
    ++Renders;
    if (Item.Bitmap().Empty()) Solid(Item.Bitmap(), 2, 2, Grey(Value));
  }
};

} // namespace

TEST(LayerItemTest, NewLayerHasTheDocumentedDefaults) {
  const TLayerItem L;
  EXPECT_TRUE(L.Visible);
  EXPECT_FALSE(L.Locked);
  EXPECT_EQ(L.LayerType, ltBitmap);
  EXPECT_EQ(L.BlendMode, 0);
  EXPECT_EQ(L.Color, 0xFFFFFF);
  EXPECT_EQ(L.Color2, 0);
  EXPECT_EQ(L.Opacity, 0);
  EXPECT_EQ(L.Pos, TPoint(0, 0));
  EXPECT_FALSE(L.ShadowInfos.DrawShadow);
  EXPECT_EQ(L.ShadowInfos.Color, 0);
  EXPECT_EQ(L.ShadowInfos.DX, 7);
  EXPECT_EQ(L.ShadowInfos.DY, 7);
  EXPECT_EQ(L.ShadowInfos.Opacity, 80);
  EXPECT_EQ(L.ShadowInfos.Blur, 7u);
  EXPECT_EQ(L.ShadowInfos.Style, lstBlur);
  EXPECT_EQ(L.AdjustInfos.Gamma, 1.0);
  EXPECT_TRUE(L.Bitmap().Empty() && L.Mask().Empty() && L.MaskNot().Empty());
  EXPECT_EQ(L.Data(), nullptr);
  EXPECT_EQ(L.Transformation(), nullptr);
}

TEST(LayerItemTest, UsedValuesStayInTheirRanges) {
  struct Case {
    int32_t Mode;
    int Used;
  };
  for (const Case& C : {Case{0, 0}, {25, 25}, {26, 0}, {-1, 0}, {256, 0}, {257, 0}, {300, 0}})
    EXPECT_EQ(UsedBlendMode(C.Mode), C.Used) << C.Mode;
  EXPECT_EQ(UsedOpacity(250), 100);
  EXPECT_EQ(UsedOpacity(-3), 0);
  TLayerShadowInfos SI;
  SI.Blur = 4000000000u;
  SI.DX = -2000000000;
  SI.DY = 2000000000;
  SI.Opacity = 900;
  const TLayerShadowInfos U = UsedShadowInfos(SI);
  EXPECT_EQ(U.Blur, MaxShadowBlur);
  EXPECT_EQ(U.DX, -MaxShadowOffset);
  EXPECT_EQ(U.DY, MaxShadowOffset);
  EXPECT_EQ(U.Opacity, 100);
}

TEST(LayerItemTest, CheckCreateMaskByTypeAndState) {
  struct Case {
    TLayerType Type;
    bool HasMask;
    bool Transparent;
    int Expected; // -1: no mask made, else the mask value everywhere
  };
  const Case Cases[] = {
      {ltBitmap, false, true, 255}, {ltBitmap, false, false, 0}, {ltData, false, true, 255},
      {ltBitmap, true, true, -1},   {ltColor, false, true, -1},  {ltAdjust, false, false, -1},
  };
  for (const Case& C : Cases) {
    TLayerItem L;
    L.LayerType = C.Type;
    Solid(L.Bitmap(), 10, 4, Grey(9));
    if (C.HasMask) Solid(L.Mask(), 10, 4, Grey(77));
    L.CheckCreateMask(C.Transparent);
    if (C.Expected < 0) {
      if (C.HasMask)
        EXPECT_EQ(Px(L.Mask(), 3, 2), Grey(77));
      else
        EXPECT_TRUE(L.Mask().Empty());
      continue;
    }
    ASSERT_EQ(L.Mask().Width(), 10);
    ASSERT_EQ(L.Mask().Height(), 4);
    EXPECT_EQ(L.Mask().PixelFormat(), pf24bit);
    TBitmap Expected;
    Solid(Expected, 10, 4, Grey(C.Expected));
    EXPECT_IMAGES_MATCH(L.Mask(), Expected);
  }
}

TEST(LayerItemTest, ScaleLimitsSizesAndKeepsPixelsAtTheSameSize) {
  auto L = PixelLayer(6, 4, {3, 5});
  TBitmap Before;
  Before.Assign(L->Bitmap());
  L->Scale(6, 4);
  EXPECT_IMAGES_MATCH(L->Bitmap(), Before);
  L->Scale(0, -5);
  EXPECT_EQ(L->Bitmap().Width(), 1);
  EXPECT_EQ(L->Bitmap().Height(), 1);
  EXPECT_EQ(L->Pos, TPoint(3, 5));
}

TEST(LayerItemTest, ScaleResizesTheMaskWithTheBitmap) {
  auto L = PixelLayer(8, 8);
  Fill(L->Mask(), 8, 8, [](int X, int) { return Grey(X < 4 ? 0 : 255); });
  L->Scale(16, 4);
  EXPECT_EQ(L->Bitmap().Width(), 16);
  EXPECT_EQ(L->Mask().Width(), 16);
  EXPECT_EQ(L->Mask().Height(), 4);
  EXPECT_EQ(Px(L->Mask(), 0, 1).Blue, 0);
  EXPECT_EQ(Px(L->Mask(), 15, 1).Blue, 255);
}

TEST(LayerItemTest, IsTransparentOutsideAndWhereTheMaskIsWhite) {
  TLayerItem L;
  Solid(L.Bitmap(), 4, 3, Grey(10));
  EXPECT_TRUE(L.IsTransparent({-1, 0}));
  EXPECT_TRUE(L.IsTransparent({4, 0}));
  EXPECT_FALSE(L.IsTransparent({2, 1}));
  Fill(L.Mask(), 4, 3, [](int X, int) { return Grey(X == 0 ? 255 : X == 1 ? 254 : 0); });
  EXPECT_TRUE(L.IsTransparent({0, 2}));
  EXPECT_FALSE(L.IsTransparent({1, 2}));
  EXPECT_FALSE(L.IsTransparent({3, 2}));
  EXPECT_TRUE(L.IsTransparent({2, 3}));
}

TEST(LayerItemTest, AutoCropTransparencyReportsOnlyAMove) {
  // Transparent border at the right only: narrower, position unchanged.
  auto Right = PixelLayer(10, 5, {4, 4});
  Fill(Right->Mask(), 10, 5, [](int X, int) { return Grey(X >= 7 ? 255 : 0); });
  EXPECT_FALSE(Right->AutoCropTransparency());
  EXPECT_EQ(Right->Bitmap().Width(), 7);
  EXPECT_EQ(Right->Pos, TPoint(4, 4));

  // Border on the left and top: the visible pixels stay where they were.
  auto Left = PixelLayer(10, 5, {4, 4});
  Fill(Left->Mask(), 10, 5, [](int X, int Y) { return Grey(X < 3 || Y < 1 ? 255 : 0); });
  EXPECT_TRUE(Left->AutoCropTransparency());
  EXPECT_EQ(Left->Pos, TPoint(7, 5));
  EXPECT_EQ(Left->Bitmap().Width(), 7);
  EXPECT_EQ(Left->Mask().Height(), 4);
  EXPECT_EQ(Px(Left->Bitmap(), 0, 0), Rgb(3, 1, 4));

  // All transparent or no mask: nothing.
  auto Clear = PixelLayer(5, 5);
  Solid(Clear->Mask(), 5, 5, Grey(255));
  EXPECT_FALSE(Clear->AutoCropTransparency());
  EXPECT_EQ(Clear->Bitmap().Width(), 5);
  auto NoMask = PixelLayer(5, 5);
  EXPECT_FALSE(NoMask->AutoCropTransparency());
  EXPECT_EQ(NoMask->Bitmap().Width(), 5);
}

TEST(LayerItemTest, FlipsAndTurnsMoveMaskAndBitmapAlike) {
  struct Case {
    void (TLayerItem::*Op)();
    int W, H;        // size after
    TPoint WhereOld; // where old pixel (0, 0) lands
  };
  const Case Cases[] = {
      {&TLayerItem::FlipHorz, 3, 2, {2, 0}},  {&TLayerItem::FlipVert, 3, 2, {0, 1}},
      {&TLayerItem::Rotate180, 3, 2, {2, 1}}, {&TLayerItem::Rotate270, 2, 3, {1, 0}}, // clockwise
      {&TLayerItem::Rotate90, 2, 3, {0, 2}},                                          // anticlockwise
  };
  for (const Case& C : Cases) {
    auto L = PixelLayer(3, 2, {5, 6});
    Fill(L->Mask(), 3, 2, [](int X, int Y) { return Grey(X == 0 && Y == 0 ? 200 : 0); });
    (L.get()->*C.Op)();
    ASSERT_EQ(L->Bitmap().Width(), C.W);
    ASSERT_EQ(L->Bitmap().Height(), C.H);
    EXPECT_EQ(Px(L->Bitmap(), C.WhereOld.X, C.WhereOld.Y), Rgb(0, 0, 0));
    EXPECT_EQ(Px(L->Mask(), C.WhereOld.X, C.WhereOld.Y), Grey(200));
    EXPECT_EQ(L->Pos, TPoint(5, 6));
  }
}

TEST(LayerItemTest, ValidateTransformWithoutApplyingOnlyMoves) {
  auto L = PixelLayer(6, 4, {10, 10});
  TBitmap Before;
  Before.Assign(L->Bitmap());
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 6, 4});
  T->Translate(15, 13);
  L->SetTransformation(std::move(T));
  EXPECT_EQ(L->BoundsRect(), TRect(15, 13, 21, 17));
  L->ValidateTransform(false);
  EXPECT_EQ(L->Pos, TPoint(15, 13));
  EXPECT_EQ(L->Transformation(), nullptr);
  EXPECT_IMAGES_MATCH(L->Bitmap(), Before);
  EXPECT_TRUE(L->Mask().Empty());
}

TEST(LayerItemTest, ValidateTransformAppliesAScaling) {
  auto L = PixelLayer(4, 4, {2, 2});
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 4, 4});
  T->Scale(2, 2);
  T->Translate(2, 2);
  const TRect B = T->GetBounds();
  L->SetTransformation(std::move(T));
  L->ValidateTransform(true);
  EXPECT_EQ(L->Pos, B.TopLeft());
  EXPECT_EQ(L->Bitmap().Width(), B.Width());
  EXPECT_EQ(L->Bitmap().Height(), B.Height());
}

TEST(LayerItemTest, RotateTurnsThePixelsIntoTheirBoundsWithAMask) {
  auto L = PixelLayer(20, 10, {30, 40});
  L->Rotate(30);
  EXPECT_EQ(L->Transformation(), nullptr);
  EXPECT_GT(L->Bitmap().Height(), 10);
  ASSERT_EQ(L->Mask().Width(), L->Bitmap().Width());
  ASSERT_EQ(L->Mask().Height(), L->Bitmap().Height());
  // The corners of the bounds lie outside the turned picture: transparent
  // and white; the centre is opaque.
  EXPECT_EQ(Px(L->Mask(), 0, 0).Blue, 255);
  EXPECT_EQ(Px(L->Bitmap(), 0, 0), Grey(255));
  EXPECT_EQ(Px(L->Mask(), L->Mask().Width() / 2, L->Mask().Height() / 2).Blue, 0);
  // The centre stays where it was in the image.
  const TRect B = L->BoundsRect();
  EXPECT_NEAR((B.Left + B.Right) / 2.0, 30 + 10, 1.0);
  EXPECT_NEAR((B.Top + B.Bottom) / 2.0, 40 + 5, 1.0);
}

TEST(LayerItemTest, AssignCopiesEverythingButTheTransformation) {
  HookGuard Guard;
  OnNeedLayerData = [](TLayerItem& Item) {
    if (!Item.Data()) Item.SetData(std::make_unique<CountingData>());
  };
  auto Src = PixelLayer(3, 3, {4, 5});
  Src->Caption = "Texte";
  Src->LayerType = ltData;
  Src->BlendMode = 6;
  Src->Tag = 9;
  Src->FReserved1 = 11;
  Src->ShadowInfos.DrawShadow = true;
  Src->AdjustInfos.Hue = 30;
  Solid(Src->Mask(), 3, 3, Grey(12));
  auto Data = std::make_unique<CountingData>();
  Data->Value = 42;
  Src->SetData(std::move(Data));
  Src->SetTransformation(std::make_unique<TAffineTransformation>());

  TLayerItem Copy;
  Copy.Assign(*Src);
  EXPECT_EQ(Copy.Caption, "Texte");
  EXPECT_EQ(Copy.LayerType, ltData);
  EXPECT_EQ(Copy.BlendMode, 6);
  EXPECT_EQ(Copy.Tag, 9);
  EXPECT_EQ(Copy.FReserved1, 11);
  EXPECT_TRUE(Copy.ShadowInfos.DrawShadow);
  EXPECT_EQ(Copy.AdjustInfos.Hue, 30);
  EXPECT_EQ(Copy.Pos, TPoint(4, 5));
  EXPECT_EQ(Copy.Transformation(), nullptr);
  ASSERT_NE(Copy.Data(), nullptr);
  EXPECT_NE(Copy.Data(), Src->Data());
  EXPECT_EQ(static_cast<CountingData*>(Copy.Data())->Value, 42);
  EXPECT_IMAGES_MATCH(Copy.Bitmap(), Src->Bitmap());
  EXPECT_IMAGES_MATCH(Copy.Mask(), Src->Mask());

  // Without the hook no data is copied.
  OnNeedLayerData = nullptr;
  TLayerItem NoData;
  NoData.Assign(*Src);
  EXPECT_EQ(NoData.Data(), nullptr);
  EXPECT_IMAGES_MATCH(NoData.Bitmap(), Src->Bitmap());
}

TEST(LayerItemTest, DisplayCaptionGoesThroughTheHook) {
  HookGuard Guard;
  TLayerItem L;
  L.Caption = "#0";
  EXPECT_EQ(L.DisplayCaption(), "#0");
  OnGetLayerCaption = [](const TLayerItem&, QString& S) {
    if (S == "#0") S = "Fond";
  };
  EXPECT_EQ(L.DisplayCaption(), "Fond");
  EXPECT_EQ(L.Caption, "#0");
}

// ---- The list ------------------------------------------------------------------------

namespace {

class LayerListTest : public ::testing::Test {
protected:
  LayerListTest() {
    Image.SetView(&View);
    for (int I = 0; I < 4; ++I) {
      auto L = PixelLayer(8, 6);
      L->Tag = I;
      Image.Layers().Add(std::move(L));
    }
    Image.SetLayerIndex(3);
    View.Invalidates = 0;
  }
  std::vector<int> Tags() const {
    std::vector<int> T;
    for (int I = 0; I < Image.Layers().Count(); ++I) T.push_back(Image.Layers()[I].Tag);
    return T;
  }
  TMyImageLayered Image;
  FakeView View;
};

} // namespace

TEST_F(LayerListTest, ReorderingKeepsTheBackgroundBelow) {
  struct Case {
    bool Exchange;
    int A, B;
    std::vector<int> Expected;
  };
  const Case Cases[] = {
      {false, 3, 1, {0, 3, 1, 2}}, {false, 1, 3, {0, 2, 3, 1}}, {true, 1, 3, {0, 3, 2, 1}}, {false, 2, 0, {0, 1, 2, 3}},
      {false, 0, 2, {0, 1, 2, 3}}, {true, 0, 3, {0, 1, 2, 3}},  {true, 2, 0, {0, 1, 2, 3}}, {false, 2, 2, {0, 1, 2, 3}},
  };
  for (const Case& C : Cases) {
    TMyImageLayered Fresh;
    for (int I = 0; I < 4; ++I) {
      auto L = PixelLayer(2, 2);
      L->Tag = I;
      Fresh.Layers().Add(std::move(L));
    }
    if (C.Exchange)
      Fresh.Layers().Exchange(C.A, C.B);
    else
      Fresh.Layers().Move(C.A, C.B);
    std::vector<int> Got;
    for (int I = 0; I < 4; ++I) Got.push_back(Fresh.Layers()[I].Tag);
    EXPECT_EQ(Got, C.Expected) << (C.Exchange ? "Exchange " : "Move ") << C.A << ", " << C.B;
  }
}

TEST_F(LayerListTest, IndexesOutsideTheListThrowAndChangeNothing) {
  TLayerList& L = Image.Layers();
  EXPECT_THROW(L.GetItem(4), std::out_of_range);
  EXPECT_THROW(L.GetItem(-1), std::out_of_range);
  EXPECT_THROW(L.Delete(4), std::out_of_range);
  EXPECT_THROW(L.Move(1, 4), std::out_of_range);
  EXPECT_THROW(L.Exchange(-1, 2), std::out_of_range);
  EXPECT_THROW(L.Insert(5, std::make_unique<TLayerItem>()), std::out_of_range);
  EXPECT_THROW(L.SetItem(7, std::make_unique<TLayerItem>()), std::out_of_range);
  EXPECT_EQ(Tags(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(View.Invalidates, 0);
}

TEST_F(LayerListTest, ChangesOfOrderAndMembershipInvalidate) {
  TLayerList& L = Image.Layers();
  L.Move(3, 1);
  L.Exchange(1, 2);
  L.Add(PixelLayer(2, 2));
  L.Insert(2, PixelLayer(2, 2));
  L.Delete(2);
  EXPECT_EQ(View.Invalidates, 5);
  // Replacing an entry does not, and hands the old item back.
  const TLayerItem* Old = &L[1];
  const std::unique_ptr<TLayerItem> Back = L.SetItem(1, PixelLayer(2, 2));
  EXPECT_EQ(Back.get(), Old);
  EXPECT_EQ(View.Invalidates, 5);
  EXPECT_EQ(L.IndexOf(Old), -1);
  EXPECT_EQ(L.IndexOf(&L[2]), 2);
}

TEST_F(LayerListTest, DeletingTheCurrentLastLayerFollowsAndClearEmpties) {
  Image.MergeLayersForPreview(false);
  ASSERT_FALSE(Image.Bitmap().Empty());
  Image.Layers().Delete(3);
  EXPECT_EQ(Image.LayerIndex(), 2);
  Image.SetLayerIndex(1);
  Image.Layers().Delete(3 - 1);
  EXPECT_EQ(Image.LayerIndex(), 1);
  Image.Layers().Clear();
  EXPECT_EQ(Image.LayerIndex(), -1);
  EXPECT_EQ(Image.Layers().Count(), 0);
  EXPECT_TRUE(Image.Bitmap().Empty());
  EXPECT_EQ(Image.CurrentLayer(), nullptr);
}

TEST_F(LayerListTest, AssignMakesIndependentCopies) {
  TMyImageLayered Copy;
  TLayerList Source(nullptr);
  for (int I = 0; I < 3; ++I) {
    auto L = PixelLayer(3, 3, {I, I});
    L->Tag = 10 + I;
    Source.Add(std::move(L));
  }
  Copy.Layers().Assign(Source);
  ASSERT_EQ(Copy.Layers().Count(), 3);
  EXPECT_EQ(Copy.LayerIndex(), 0);
  for (int I = 0; I < 3; ++I) {
    EXPECT_NE(&Copy.Layers()[I], &Source[I]);
    EXPECT_EQ(Copy.Layers()[I].Tag, 10 + I);
    EXPECT_EQ(Copy.Layers()[I].Pos, TPoint(I, I));
  }
  SetPx(Source[1].Bitmap(), 0, 0, Grey(99));
  EXPECT_EQ(Px(Copy.Layers()[1].Bitmap(), 0, 0), Rgb(0, 0, 0));
}
