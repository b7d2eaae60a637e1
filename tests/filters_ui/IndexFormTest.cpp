// Indexed colours: each choice of the dialog gives the colour count it
// states, read back from the result; a 1 x 1 or single-colour image keeps
// its colour; the dialog applies the same reduction and sets the count.
#include "FilterDialogFixture.h"

#include "files/ColorDepth.h"
#include "filters/ui/IndexForm.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QTabWidget>

#include <set>

namespace {

std::set<TColor> Colours(const TBitmap& B) {
  std::set<TColor> S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) S.insert(TRGBToColor(Px(B, X, Y)));
  return S;
}

bool AllGrey(const TBitmap& B) {
  for (TColor C : Colours(B))
    if (GetRValue(C) != GetGValue(C) || GetGValue(C) != GetBValue(C)) return false;
  return true;
}

TEST(IndexColors, EachChoiceGivesTheColourCountItStates) {
  TBitmap Src(64, 48, pf24bit);
  FillRandom(Src, 11);
  const struct {
    int Page, Item, Count;
    bool Grey;
  } Cases[] = {{ipOptimized, 0, 8, false},  {ipOptimized, 1, 16, false}, {ipOptimized, 2, 32, false},
               {ipOptimized, 3, 64, false}, {ipOptimized, 4, 128, false}, {ipOptimized, 5, 256, false},
               {ipSystem, 0, 2, true},      {ipSystem, 1, 2, true},       {ipSystem, 2, 4, true},
               {ipSystem, 3, 16, true},     {ipSystem, 4, 256, true},     {ipSystem, 5, 20, false},
               {ipSystem, 6, 256, false}};
  for (const auto& C : Cases) {
    for (bool Diffusion : {false, true}) {
      TBitmap B;
      B.Assign(Src);
      IndexColors24(B, C.Page, C.Item, Diffusion, 16777216);
      const size_t Found = Colours(B).size();
      EXPECT_EQ(IndexColorCount(C.Page, C.Item), C.Count);
      EXPECT_LE(Found, size_t(C.Count)) << C.Page << "/" << C.Item;
      EXPECT_GT(Found, size_t(C.Count == 2 ? 1 : C.Count / 8)) << C.Page << "/" << C.Item; // really reduced, not flat
      EXPECT_EQ(AllGrey(B), C.Grey) << C.Page << "/" << C.Item;
    }
  }
  // The web choice uses the 216 web colours: every channel a multiple of 51.
  TBitmap Web;
  Web.Assign(Src);
  IndexColors24(Web, ipSystem, 6, true, 16777216);
  for (TColor C : Colours(Web)) EXPECT_EQ((GetRValue(C) % 51) + (GetGValue(C) % 51) + (GetBValue(C) % 51), 0);
}

TEST(IndexColors, OneColourImagesKeepTheirColour) {
  for (const auto& [W, H] : {std::pair{1, 1}, std::pair{17, 9}}) {
    for (int Item = 0; Item < 6; ++Item) {
      for (bool Diffusion : {false, true}) {
        TBitmap B(W, H, pf24bit, RGB(200, 40, 90));
        IndexColors24(B, ipOptimized, Item, Diffusion, 16777216);
        EXPECT_EQ(Colours(B), std::set<TColor>{RGB(200, 40, 90)}) << W << "x" << H << " " << Item;
      }
    }
    TBitmap B(W, H, pf24bit, RGB(200, 40, 90));
    IndexColors24(B, ipSystem, 2, true, 16777216);
    EXPECT_EQ(Colours(B).size(), 1u);
  }
  // An image of 200 colours asked for 256 is left alone.
  TBitmap Src(30, 30, pf24bit);
  FillRandom(Src, 3);
  TBitmap B;
  B.Assign(Src);
  IndexColors24(B, ipOptimized, 5, true, 200);
  EXPECT_IMAGES_MATCH(B, Src);
}

using IndexFormTest = FilterDialogFixture;

TEST_F(IndexFormTest, TheDialogReducesTheBackgroundAndSetsTheColourCount) {
  auto* D = Open<TIndexForm>("MenuModeIndex", "MenuImage");
  ASSERT_TRUE(D);
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(D->CBPreview->text(), QString::fromUtf8("Aperçu direct"));
  D->PageControl->setCurrentIndex(ipSystem);
  QTest::mouseClick(D->RGAuto->Button(3), Qt::LeftButton, {}, QPoint(5, 8));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect&) {
    IndexColors24(B, ipSystem, 3, false, 16777216);
  }));
  EXPECT_EQ(Form->NbCouleurs(), 16);
  EXPECT_EQ(UndoSteps(), 1);

  // 256 optimised colours of an image already said to hold 200: no pixel
  // changes, the count becomes 256.
  Form->MenuItem("MenuEditionUndo")->trigger();
  Form->SetNbCouleurs(200);
  D = Open<TIndexForm>("MenuModeIndex", "MenuImage");
  ASSERT_TRUE(D);
  D->PageControl->setCurrentIndex(ipOptimized);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(Form->NbCouleurs(), 256);
}

} // namespace
