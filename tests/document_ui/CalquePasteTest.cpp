// The clipboard pasted as a layer or as a layer's mask, on a small layered
// fixture, with the clipboard filled by the copy routines in this process:
// placement at the copy's position or in the view's centre, the pixels and
// mask, undo and redo to the exact states, and nothing at all (no layer) when
// the clipboard holds nothing usable.
#include "document/ui/CalquePaste.h"

#include "../document/DocumentTestSupport.h"
#include "../document/FakeCommandHost.h"
#include "../document/LayerStackState.h"
#include "document/Undo.h"
#include "files/GifImage.h"
#include "files/ReadLimits.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace DocTest;

namespace {

std::string NoData(const TLayerData&) { return "data"; }

class CalquePasteTest : public ::testing::Test {
protected:
  CommandHost Host;
  TMyImageLayered& Image = Host.F.Document;
  TUndoList& List = Host.F.Undo;
  TClipboardData& Clip = ClipboardData();
  QStringList Messages;

  void SetUp() override {
    TBitmap Bkg, A;
    Solid(Bkg, 200, 100, Rgb(1, 2, 3));
    Solid(A, 30, 20, Rgb(4, 5, 6));
    Image.AddBackground(&Bkg, nullptr, "#0");
    Image.AddLayer(&A, nullptr, {10, 5}, 100, "#1");
    Host.F.Nav.ResetLayerIndex();
    Clip.ResetData();
    Clip.OnMessage = [this](const QString& T) { Messages << T; };
  }
  void TearDown() override {
    Clip.Clear();
    Clip.OnMessage = nullptr;
  }
  TLayerItem& Layer(int I) { return Image.Layers()[I]; }
  Stack State() { return StateOf(Image, NoData); }
  // The copy: 20 x 10 of distinct pixels with its left half transparent.
  void CopyFromThisImage(TPoint At) {
    TBitmap B, M;
    Fill(B, 20, 10, [](int X, int Y) { return Rgb(X * 9, Y * 20, 77); });
    Fill(M, 20, 10, [](int X, int) { return Grey(X < 10 ? 255 : 0); });
    Clip.Assign(&B, &M, 96);
    Clip.SetCopyPosition(Host, At);
  }
  void Created(int Index) {
    auto R = std::make_unique<TUndoCreateLayer>(Layer(Index));
    R->SetNavigator(&Host.F.Nav);
    R->SetLayerIndex(Index);
    List.Add(std::move(R));
  }
};

TEST_F(CalquePasteTest, OwnCopyReturnsToItsPlaceWithItsMask) {
  CopyFromThisImage({60, 30});
  const Stack Before = State();
  ASSERT_TRUE(PasteAsLayer(Host, Clip, "#2"));
  ASSERT_EQ(Image.Layers().Count(), 3);
  Created(2);
  TLayerItem& L = Layer(2);
  EXPECT_EQ(L.Pos, TPoint(60, 30));
  ASSERT_EQ(L.Bitmap().Width(), 20);
  EXPECT_EQ(RowOf(L.Bitmap(), 9)[19], Rgb(171, 180, 77));
  EXPECT_EQ(RowOf(L.Mask(), 0)[0], Grey(255));
  EXPECT_EQ(RowOf(L.Mask(), 0)[15], Grey(0));
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

TEST_F(CalquePasteTest, CopyPositionOutOfViewCentresTheLayer) {
  CopyFromThisImage({5, 5});
  Host.Visible = {100, 40, 200, 100};
  ASSERT_TRUE(PasteAsLayer(Host, Clip, "#2"));
  EXPECT_EQ(Layer(2).Pos, TPoint(140, 65));
}

TEST_F(CalquePasteTest, NothingToPasteLeavesNoLayer) {
  Clip.Clear();
  const Stack Before = State();
  EXPECT_FALSE(PasteAsLayer(Host, Clip, "#2"));
  EXPECT_FALSE(PasteAsLayerWithMask(Host, Clip, "#2"));
  EXPECT_FALSE(PasteMaskAsLayer(Host, Clip, "#2", clRed));
  EXPECT_FALSE(PasteAsLayerMask(Host, Clip));
  EXPECT_EQ(Diff(State(), Before), "");
  EXPECT_FALSE(Messages.isEmpty());
}

TEST_F(CalquePasteTest, HalvesAndMasksBecomeCentredLayers) {
  TBitmap Pair;
  Fill(Pair, 16, 6, [](int X, int) { return X < 8 ? Rgb(200, 100, 50) : Grey(X < 12 ? 0 : 255); });
  Clip.Assign(&Pair, nullptr, 96);
  ASSERT_TRUE(PasteAsLayerWithMask(Host, Clip, "#2"));
  TLayerItem& L = Layer(2);
  EXPECT_EQ(L.Pos, TPoint(96, 47));
  ASSERT_EQ(L.Bitmap().Width(), 8);
  EXPECT_EQ(RowOf(L.Bitmap(), 0)[0], Rgb(200, 100, 50));
  EXPECT_EQ(RowOf(L.Mask(), 0)[0], Grey(0));
  EXPECT_EQ(RowOf(L.Mask(), 0)[7], Grey(255));
  ASSERT_TRUE(PasteMaskAsLayer(Host, Clip, "#3", RGB(0, 255, 0)));
  EXPECT_EQ(Layer(3).Bitmap().Width(), 16);
  EXPECT_EQ(RowOf(Layer(3).Bitmap(), 0)[0], Rgb(0, 255, 0));
}

TEST_F(CalquePasteTest, PastedMaskIsGreyInvertedAndStretched) {
  TBitmap M;
  Fill(M, 15, 10, [](int X, int) { return Grey(X < 7 ? 255 : 0); });
  Clip.Assign(&M, nullptr, 96);
  const Stack Before = State();
  auto R = std::make_unique<TUndoLayerItem>(Layer(1), utAll);
  R->SetNavigator(&Host.F.Nav);
  R->SetLayerIndex(1);
  List.Add(std::move(R));
  ASSERT_TRUE(PasteAsLayerMask(Host, Clip));
  const TBitmap& Mask = Layer(1).Mask();
  ASSERT_EQ(Mask.Width(), 30);
  ASSERT_EQ(Mask.Height(), 20);
  EXPECT_EQ(RowOf(Mask, 5)[0], Grey(0)) << "white pastes opaque";
  EXPECT_EQ(RowOf(Mask, 5)[29], Grey(255)) << "black pastes transparent";
  ExpectUndoRedo(List, [this] { return State(); }, Before);
}

// ---- Animated GIF frames -------------------------------------------------------------

TEST(LoadGifAsLayers, FramesBecomeLayersAtTheirPlaces) {
  QTemporaryDir Dir;
  const QString File = Dir.filePath("anim.gif");
  TGIFImage Gif;
  TBitmap First, Second;
  Solid(First, 12, 8, Rgb(255, 0, 0));
  Solid(Second, 5, 4, Rgb(0, 0, 255));
  Gif.Assign(First);
  Gif.Width = 12;
  Gif.Height = 8;
  TGIFFrame& F = Gif.AddFrame(Second);
  F.Left = 6;
  F.Top = 3;
  F.Pixels[0] = 1; // one pixel of another index, made transparent
  F.ColorMap.push_back(F.ColorMap.empty() ? 0 : F.ColorMap[0]);
  TGIFGraphicControl GC;
  GC.Transparent = true;
  GC.TransparentIndex = 1;
  F.SetGraphicControl(GC);
  Gif.SaveToFile(File);

  TMyImageLayered Image;
  LoadGifAsLayers(Image, File);
  ASSERT_EQ(Image.Layers().Count(), 3);
  EXPECT_EQ(Image.Layers()[0].Caption, "#0");
  EXPECT_EQ(Image.Layers()[0].Bitmap().Width(), 12);
  const TLayerItem& L1 = Image.Layers()[1];
  const TLayerItem& L2 = Image.Layers()[2];
  EXPECT_EQ(L1.Caption, "#1");
  EXPECT_TRUE(L1.Visible);
  EXPECT_EQ(RowOf(L1.Bitmap(), 0)[0], Rgb(255, 0, 0));
  EXPECT_EQ(L2.Caption, "#2");
  EXPECT_FALSE(L2.Visible);
  EXPECT_EQ(L2.Pos, TPoint(6, 3));
  EXPECT_EQ(RowOf(L2.Bitmap(), 1)[1], Rgb(0, 0, 255));
  EXPECT_EQ(RowOf(L2.Mask(), 0)[0], Grey(255));
  EXPECT_EQ(RowOf(L2.Mask(), 1)[1], Grey(0));
}

TEST(LoadGifAsLayers, UnreadableFileLeavesTheImage) {
  QTemporaryDir Dir;
  const QString File = Dir.filePath("bad.gif");
  QFile Bad(File);
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("GIF89a\x10\x00");
  Bad.close();
  TMyImageLayered Image;
  Image.AddBackground(4, 4, clRed, "#0");
  EXPECT_THROW(LoadGifAsLayers(Image, File), EInvalidGraphic);
  EXPECT_EQ(Image.Layers().Count(), 1);
}

// ---- New images ------------------------------------------------------------------------

class FakeWindows : public TNewImageHost {
public:
  std::vector<std::unique_ptr<TMyImageLayered>> Opened;
  QStringList Titles;
  int Menus = 0;
  TMyImageLayered* NouvelleImage(TBitmap& Bitmap, const QString& Title, TImageSourceType, int) override {
    auto I = std::make_unique<TMyImageLayered>();
    I->AddBackground(&Bitmap, nullptr, "#0");
    Titles << Title;
    Opened.push_back(std::move(I));
    return Opened.back().get();
  }
  void MajMenus() override { ++Menus; }
};

TEST_F(CalquePasteTest, NewImagesFromTheClipboardAndFromAMask) {
  FakeWindows W;
  CopyFromThisImage({0, 0});
  ASSERT_TRUE(NewImageFromClipboard(Clip, W));
  ASSERT_EQ(W.Opened.size(), 1u);
  const TLayerItem& B = W.Opened[0]->Layers()[0];
  EXPECT_EQ(B.Bitmap().Width(), 20);
  EXPECT_EQ(RowOf(B.Mask(), 0)[0], Grey(255)) << "the copy's mask";
  EXPECT_EQ(W.Menus, 1);
  EXPECT_EQ(W.Opened[0]->ResolutionX, 96);

  TBitmap Mask;
  Fill(Mask, 30, 20, [](int X, int) { return Grey(X < 5 ? 255 : 40); });
  Layer(1).Mask().Assign(Mask);
  ASSERT_TRUE(NewImageFromLayerMask(Host, W));
  ASSERT_EQ(W.Opened.size(), 2u);
  const TBitmap& M = W.Opened[1]->Layers()[0].Bitmap();
  EXPECT_EQ(RowOf(M, 0)[0], Grey(0));
  EXPECT_EQ(RowOf(M, 0)[10], Grey(215));
  EXPECT_EQ(W.Titles[1], "#1 (Masque)");
  Layer(1).Mask().ReleaseImage();
  EXPECT_FALSE(NewImageFromLayerMask(Host, W));
  Clip.Clear();
  EXPECT_FALSE(NewImageFromClipboard(Clip, W));
  EXPECT_EQ(W.Opened.size(), 2u);
}

} // namespace
