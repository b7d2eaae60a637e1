// Selection > Contract, Expand and Fringe: the new rectangle shown before
// Ok, a rectangle that vanishes hides the selection, a traced selection
// grows its shape and not only its box, each command keeps its own width,
// and a fringe is a band along the outline. No undo step is made.
#include "ImageDialogFixture.h"

#include "dialogs/ui/OptSel.h"
#include "dialogs/ui/SelFrange.h"
#include "document/SelMask.h"
#include "document/ShapeManager.h"
#include "document/ui/SelectionControl.h"
#include "ui/TrackBar.h"

#include <QLabel>

namespace {

class SelectionWidthTest : public ImageDialogFixture {
protected:
  void SelectRect(const TRect& R) {
    Form->Sel()->SetShape(ssRect);
    Form->Sel()->SetBmpSelRect(R);
    Form->AfficherSelection();
  }
  TOptionSelForm* OpenWidth(const char* Item, int Width) {
    auto* D = Open<TOptionSelForm>(Item, "MenuSelection");
    if (D && Width > 0) D->TBN->SetPosition(Width);
    return D;
  }
  // Whether the image pixel (X, Y) is selected.
  bool Selected(int X, int Y) const {
    const auto Mask = SelectionMaskOfImage(Form->SelMaskHost(), false, false);
    return Mask && Px(*Mask, X, Y) == Grey(0);
  }
};

TEST_F(SelectionWidthTest, ContractingARectangleShowsAndSetsTheNewRectangle) {
  OpenImage(200, 100);
  SelectRect({10, 10, 110, 70});
  TOptionSelForm* D = OpenWidth("MenuSelContracter", 10);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->LblInfos->text(), QStringLiteral("20:20 => 99:59 (L=80  H=40)"));
  Click(D->BOk);
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{20, 20, 100, 60}));
  EXPECT_TRUE(Form->Sel()->Visible());
  D = OpenWidth("MenuSelDilater", 4);
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{16, 16, 104, 64}));
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(SelectionWidthTest, ARectangleThatVanishesHidesTheSelection) {
  OpenImage(100, 100);
  SelectRect({10, 10, 60, 25});
  TOptionSelForm* D = OpenWidth("MenuSelContracter", 8);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->LblInfos->text(), QStringLiteral("?"));
  Click(D->BOk);
  EXPECT_FALSE(Form->Sel()->Visible());
}

TEST_F(SelectionWidthTest, EachCommandKeepsItsOwnWidthAlsoInALaterRun) {
  OpenImage(100, 100);
  SelectRect({10, 10, 90, 90});
  TOptionSelForm* D = OpenWidth("MenuSelContracter", 7);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Contracter"));
  Click(D->BOk);
  D = OpenWidth("MenuSelDilater", 3);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Dilater"));
  Click(D->BOk);
  MakeForm("DialogParams=1\r\n");
  OpenImage(100, 100);
  SelectRect({10, 10, 90, 90});
  D = OpenWidth("MenuSelContracter", 0);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->TBN->Position(), 7);
  Click(D->BAnnuler);
  D = OpenWidth("MenuSelDilater", 0);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->TBN->Position(), 3);
  Click(D->BAnnuler);
}

TEST_F(SelectionWidthTest, ATracedSelectionGrowsItsShapeNotOnlyItsBox) {
  OpenImage(60, 60);
  // An L: a bar down x 10..14 and a bar across y 40..44.
  TBitmap Mask(60, 60, pf24bit, clWhite);
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 60; ++X)
      if ((X >= 10 && X < 15 && Y >= 10 && Y < 45) || (X >= 10 && X < 45 && Y >= 40 && Y < 45))
        SetPx(Mask, X, Y, Grey(0));
  TSelectionControl* S = Form->Sel();
  const TRect Traced = S->ShapeManager().MaskToPoints(&Mask, 128);
  S->SetShape(ssBitmap);
  S->SetBmpSelRect(Traced);
  Form->AfficherSelection();
  ASSERT_TRUE(Selected(12, 12));
  ASSERT_FALSE(Selected(19, 20));
  TOptionSelForm* D = OpenWidth("MenuSelDilater", 5);
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_EQ(S->BmpSelRect(), (TRect{5, 5, 50, 50}));
  EXPECT_TRUE(Selected(19, 20));
  EXPECT_FALSE(Selected(20, 20));
  EXPECT_FALSE(Selected(35, 20));
  EXPECT_TRUE(Selected(49, 49));
  // Contracting the 15-pixel bars by 7 leaves them one pixel wide.
  D = OpenWidth("MenuSelContracter", 7);
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_TRUE(Selected(12, 30));
  EXPECT_FALSE(Selected(11, 30));
  EXPECT_FALSE(Selected(13, 30));
}

TEST_F(SelectionWidthTest, AFringeIsABandAlongTheOutline) {
  OpenImage(100, 100);
  SelectRect({20, 20, 80, 80});
  auto* D = Open<TFrangeForm>("MenuSelFrange", "MenuSelection");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->TBN->Position(), 5);
  Click(D->BOk);
  EXPECT_EQ(Form->Sel()->Shape(), ssBitmap);
  EXPECT_FALSE(Form->Sel()->Invert());
  EXPECT_TRUE(Form->Sel()->Visible());
  EXPECT_TRUE(Selected(21, 50));
  EXPECT_FALSE(Selected(50, 50));
  EXPECT_FALSE(Selected(5, 50));
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
