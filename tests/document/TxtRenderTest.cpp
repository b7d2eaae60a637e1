// Text layers rendered from their data: the layer is the glyphs' bounds
// (plus the outline, bevel or negative margin), the mask the glyphs' shape,
// the face in the text colour; a layer kept in a layered file renders the
// same pixels again after loading, a turn and its undo. The font is pinned to
// DejaVu Sans, which scripts/bootstrap installs (fonts-dejavu-core).
#include "document/TxtData.h"

#include "DocumentTestSupport.h"
#include "FakeNavigator.h"
#include "LayerStackState.h"
#include "document/Calque.h"
#include "document/Undo.h"
#include "platform/FontUtils.h"
#include "raster/TransformFunc.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QTemporaryDir>

using namespace DocTest;

namespace {

std::unique_ptr<TTextData> Text(const QString& S) {
  auto T = std::make_unique<TTextData>();
  T->TextFont = QStringLiteral("DejaVu Sans");
  T->TextSize = 24;
  T->FontType = TRUETYPE_FONTTYPE;
  T->TextColor = RGB(200, 20, 40);
  T->AntialiasFont = true;
  T->Opacity = 90;
  T->Lines = S.split('\n');
  return T;
}

// Opaque (mask byte below 255) somewhere in row Y or column X.
bool RowHasInk(const TBitmap& M, int Y) {
  for (int X = 0; X < M.Width(); ++X)
    if (RowOf(M, Y)[X].Blue < 255) return true;
  return false;
}
bool ColumnHasInk(const TBitmap& M, int X) {
  for (int Y = 0; Y < M.Height(); ++Y)
    if (RowOf(M, Y)[X].Blue < 255) return true;
  return false;
}

class TxtRenderTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")))
      GTEST_FAIL() << "DejaVu Sans is missing: run scripts/bootstrap";
  }
  static std::unique_ptr<TLayerItem> Render(TTextData& T) {
    auto L = std::make_unique<TLayerItem>();
    L->LayerType = ltData;
    T.RenderTextLayer(*L);
    return L;
  }
};

TEST_F(TxtRenderTest, PlainTextIsExactlyTheGlyphBounds) {
  auto T = Text("Ab");
  TLayerItem L;
  L.LayerType = ltData;
  T->PrepareBitmaps(L);
  const TBitmap& M = L.Mask();
  ASSERT_FALSE(M.Empty());
  ASSERT_EQ(M.Width(), L.Bitmap().Width());
  EXPECT_TRUE(RowHasInk(M, 0));
  EXPECT_TRUE(RowHasInk(M, M.Height() - 1));
  EXPECT_TRUE(ColumnHasInk(M, 0));
  EXPECT_TRUE(ColumnHasInk(M, M.Width() - 1));
  EXPECT_GT(T->SaveWidth, M.Width());
  EXPECT_EQ(L.Opacity, 90);
  int Face = 0;
  for (int Y = 0; Y < M.Height(); ++Y)
    for (int X = 0; X < M.Width(); ++X) {
      const TRGB P = RowOf(L.Bitmap(), Y)[X];
      const uint8_t A = RowOf(M, Y)[X].Blue;
      if (A == 255) {
        EXPECT_EQ(P, Rgb(255, 255, 255)) << X << "," << Y;
      }
      if (A == 0) Face += P == Rgb(200, 20, 40);
    }
  EXPECT_GT(Face, 20);
  // Already rendered: left as it is.
  RowOf(L.Bitmap(), 0)[0] = Rgb(1, 2, 3);
  T->PrepareBitmaps(L);
  EXPECT_EQ(RowOf(L.Bitmap(), 0)[0], Rgb(1, 2, 3));
}

TEST_F(TxtRenderTest, OutlineBevelAndNegativeGrowTheLayerByTwo) {
  auto Plain = Text("Ab");
  const auto P = Render(*Plain);
  for (int Kind = 0; Kind < 3; ++Kind) {
    auto T = Text("Ab");
    T->Border = Kind == 0;
    T->Txt3D = Kind == 1;
    T->Invert = Kind == 2;
    const auto L = Render(*T);
    SCOPED_TRACE(Kind);
    EXPECT_EQ(L->Bitmap().Width(), P->Bitmap().Width() + 4);
    EXPECT_EQ(L->Bitmap().Height(), P->Bitmap().Height() + 4);
    if (Kind == 0) {
      EXPECT_EQ(L->Color, T->BorderColor);
    }
  }
  auto N = Text("Ab");
  N->Invert = true;
  const auto L = Render(*N);
  const TBitmap& M = L->Mask();
  EXPECT_EQ(RowOf(M, 0)[0], Grey(0)) << "the plate is opaque";
  EXPECT_EQ(RowOf(M, M.Height() - 1)[M.Width() - 1], Grey(0));
  bool Cut = false;
  for (int Y = 0; Y < M.Height(); ++Y)
    for (int X = 0; X < M.Width(); ++X) Cut = Cut || RowOf(M, Y)[X] == Grey(255);
  EXPECT_TRUE(Cut) << "the glyphs are cut out";
}

TEST_F(TxtRenderTest, MissingPatternFallsBackToTheTextColour) {
  auto Plain = Text("Ab");
  auto Brushed = Text("Ab");
  Brushed->UseBrush = true;
  Brushed->Brush = QStringLiteral("%lmsdir%/no-such-pattern.bmp");
  OnLoadTextPattern = [](const QString&, TBitmap&, TBitmap&) { return true; };
  const auto A = Render(*Plain), B = Render(*Brushed);
  OnLoadTextPattern = nullptr;
  EXPECT_EQ(BitmapState(A->Bitmap()), BitmapState(B->Bitmap()));
}

TEST_F(TxtRenderTest, EmptyTextRendersNothingAndTurnsAccumulate) {
  auto T = Text("");
  T->Lines.clear();
  EXPECT_TRUE(Render(*T)->Bitmap().Empty());
  auto R = Text("Ab");
  auto RL = Render(*R);
  for (int I = 0; I < 4; ++I) R->RotateTextLayer(*RL, 90);
  EXPECT_EQ(R->TextAngle, 360);
}

TEST_F(TxtRenderTest, ScaledTextFitsTheNewSize) {
  auto T = Text("Ab");
  auto L = Render(*T);
  const int W = L->Bitmap().Width(), H = L->Bitmap().Height();
  T->ScaleTextLayer(*L, Bounds(0, 0, W * 2, H * 2));
  EXPECT_GT(T->TextSize, 40);
  EXPECT_NEAR(L->Bitmap().Width(), W * 2, W / 4 + 2);
  EXPECT_NEAR(L->Bitmap().Height(), H * 2, H / 4 + 2);
}

TEST_F(TxtRenderTest, SavedTextLayerRendersTheSameAfterReopenTurnAndUndo) {
  TMyImageLayered Image;
  Image.AddBackground(120, 80, clWhite, "#0");
  FakeNavigator Nav(Image);
  Nav.ResetLayerIndex();
  Nav.AddLayerData(Text("Ab\ncd"), "#1");
  TLayerItem& Saved = Image.Layers()[1];
  Saved.Data()->PrepareBitmaps(Saved);
  Saved.Pos = {10, 12};
  // Compared as hashes: a failure must not print whole bitmaps.
  const auto Hash = [](const TLayerItem& L) {
    return std::hash<std::string>{}(BitmapState(L.Bitmap()) + BitmapState(L.Mask()));
  };
  const size_t Rendered = Hash(Saved);
  ASSERT_FALSE(Saved.Bitmap().Empty());

  QTemporaryDir Dir;
  const QString File = Dir.filePath("text.lmi");
  Image.SaveToFile(File);
  OnNeedLayerData = [](TLayerItem& L) {
    if (!L.Data()) L.SetData(std::make_unique<TTextData>());
  };
  TMyImageLayered Back;
  ASSERT_TRUE(Back.LoadFromFile(File));
  OnNeedLayerData = nullptr;
  TLayerItem& L = Back.Layers()[1];
  ASSERT_NE(dynamic_cast<TTextData*>(L.Data()), nullptr);
  const auto Pixels = [&] { return Hash(L); };
  EXPECT_EQ(Pixels(), Rendered) << "stored pixels";
  L.ClearBitmaps();
  L.Data()->PrepareBitmaps(L);
  EXPECT_EQ(Pixels(), Rendered) << "rendered from the data";

  // A quarter turn of the whole image, undone as the main window undoes it.
  FakeNavigator BackNav(Back);
  TUndoList List(5);
  auto R = std::make_unique<TUndoAllLayers>(Back.Layers()[0]);
  R->SetNavigator(&BackNav);
  R->SetLayerIndex(0);
  List.Add(std::move(R));
  FlipRotateBitmap(Back.Layers()[0].Bitmap(), 2);
  FlipRotateAllLayers(BackNav, 3);
  EXPECT_EQ(static_cast<TTextData*>(L.Data())->TextAngle, 90);
  EXPECT_NE(Pixels(), Rendered);
  List.Undo();
  FlipRotateAllLayers(BackNav, -3);
  EXPECT_EQ(static_cast<TTextData*>(L.Data())->TextAngle, 0);
  EXPECT_EQ(Pixels(), Rendered) << "after the turn's undo";
  EXPECT_EQ(L.Pos, TPoint(10, 12));
}

} // namespace
