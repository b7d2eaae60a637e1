// "Paramétrage manuel...": the selection, the current layer and a new blank
// layer set by numbers; units, proportions, anchors and the limits of sizes.
#include "ImageDialogFixture.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/SelParams.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/SelectionControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>

namespace {

class SelParamsFormTest : public ImageDialogFixture {
protected:
  TSelParamsForm* OpenFrom(const char* Item, const char* Top) { return Open<TSelParamsForm>(Item, Top); }
  TSelParamsForm* OpenBlank() { return OpenFrom("MenuCalqueVierge", "MenuCalque"); }
  const TLayerItem& Current() const { return *Form->Image().CurrentLayer(); }
  static void Type(TCustomSpinEdit* Edit, const QString& Text) { ImageDialogFixture::Type(Edit, Text); }
};

TEST_F(SelParamsFormTest, TypedSelectionIsShownWithItsShapeAndInversion) {
  OpenImage(200, 100);
  TSelParamsForm* D = OpenFrom("MenuSelParams", "MenuSelection");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->RBPos1->isChecked());
  EXPECT_TRUE(D->GroupBox3->isVisible());
  EXPECT_FALSE(D->GroupBox4->isVisible());
  Type(D->EdiX, "10");
  Type(D->EdiY, "20");
  D->CBProportions->setChecked(false);
  Type(D->EdiL, "50");
  Type(D->EdiH, "30");
  D->EdiForme->setCurrentIndex(1);
  Click(D->CBInverser);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  TSelectionControl* S = Form->Sel();
  EXPECT_TRUE(S->Visible());
  EXPECT_EQ(S->BmpSelRect(), (TRect{10, 20, 60, 50}));
  EXPECT_EQ(S->Shape(), ssEllipse);
  EXPECT_TRUE(S->Invert());

  // Cancel changes nothing; the anchor places the rectangle in the image.
  D = OpenFrom("MenuSelParams", "MenuSelection");
  ASSERT_TRUE(D);
  Type(D->EdiL, "10");
  Click(D->BAnnuler);
  EXPECT_EQ(S->BmpSelRect(), (TRect{10, 20, 60, 50}));
  D = OpenFrom("MenuSelParams", "MenuSelection");
  ASSERT_TRUE(D);
  Click(D->RBPos2);
  EXPECT_FALSE(D->EdiX->isEnabled());
  Click(D->Anchors->Button(8));
  Click(D->BOk);
  EXPECT_EQ(S->BmpSelRect(), (TRect{150, 70, 200, 100}));
}

TEST_F(SelParamsFormTest, EmptyFieldIsRefused) {
  OpenImage(200, 100);
  TSelParamsForm* D = OpenFrom("MenuSelParams", "MenuSelection");
  ASSERT_TRUE(D);
  Type(D->EdiX, "");
  Click(D->BOk);
  EXPECT_TRUE(D->isVisible());
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], QStringLiteral("Renseignez tous les champs avant de continuer !"));
  Click(D->BAnnuler);
}

struct SizeCase {
  int Unit; // index of the unit list
  const char* Typed;
  int Pixels;
};

TEST_F(SelParamsFormTest, SizesInEachUnitAreRoundedAndLimited) {
  OpenImage(1001, 50);
  const SizeCase Cases[] = {
      {0, "0", 1}, {0, "70000", 60000}, {1, "50", 500}, {1, "101", 1011}, {3, "2", 192},
  };
  for (const SizeCase& C : Cases) {
    TSelParamsForm* D = OpenBlank();
    ASSERT_TRUE(D);
    D->CBProportions->setChecked(false);
    D->CmbUnit->setCurrentIndex(C.Unit);
    Type(D->EdiL, QString::fromLatin1(C.Typed));
    Type(D->EdiH, QStringLiteral("1"));
    Click(D->BOk);
    EXPECT_EQ(Current().Bitmap().Width(), C.Pixels) << C.Unit << " " << C.Typed;
  }
}

TEST_F(SelParamsFormTest, UnitSwitchAndProportions) {
  OpenImage(400, 300);
  Form->Image().ResolutionX = 300;
  TSelParamsForm* D = OpenBlank();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->EdiL->text(), QStringLiteral("400"));
  Click(D->CBProportions);
  ASSERT_TRUE(D->CBProportions->isChecked());
  Type(D->EdiL, "200");
  EXPECT_EQ(D->EdiH->text(), QStringLiteral("150"));
  Type(D->EdiL, "600");
  D->CmbUnit->setCurrentIndex(2);
  EXPECT_EQ(D->EdiL->text(), QStringLiteral("5.08"));
  Click(D->BAnnuler);
}

TEST_F(SelParamsFormTest, BlankLayerColouredOrTransparent) {
  OpenImage(40, 30);
  TSelParamsForm* D = OpenBlank();
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->GroupBox4->isVisible());
  D->CBTransp->setChecked(false);
  Click(D->CBTransp);
  ASSERT_TRUE(D->CBTransp->isChecked());
  // The transparency skips the colour and the layer options.
  EXPECT_FALSE(D->CBOptions->isEnabled());
  Type(D->EdiL, "8");
  Type(D->EdiH, "6");
  Click(D->BOk);
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Current().Bitmap().Width(), 8);
  ASSERT_FALSE(Current().Mask().Empty());
  EXPECT_EQ(Px(Current().Mask(), 3, 3), Grey(255));
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_EQ(Form->Image().Layers().Count(), 1);

  D = OpenBlank();
  ASSERT_TRUE(D);
  Click(D->CBTransp);
  ASSERT_FALSE(D->CBTransp->isChecked());
  EXPECT_TRUE(D->CBOptions->isEnabled());
  EXPECT_TRUE(D->CBOptions->isChecked());
  D->ChangerCouleur(0x0000FF);
  Click(D->BOk);
  EXPECT_TRUE(Current().Mask().Empty() || Px(Current().Mask(), 3, 3) == Grey(0));
  EXPECT_EQ(Px(Current().Bitmap(), 0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Current().Opacity, 100);
  EXPECT_EQ(Current().ShadowInfos.Blur, 6u);
}

TEST_F(SelParamsFormTest, LayerMovesWithAMoveStepOrScalesWithALayerStep) {
  OpenImage(40, 30, true);
  SelectLayer(*Form->LayerNav(), 1);
  TSelParamsForm* D = OpenFrom("MenuCalqueParams", "MenuCalque");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->EdiL->text(), QStringLiteral("6"));
  // Without a selection the layer opens anchored, centred by default.
  EXPECT_TRUE(D->RBPos2->isChecked());
  Click(D->RBPos1);
  Type(D->EdiX, "10");
  Click(D->BOk);
  EXPECT_EQ(Current().Pos.X, 10);
  EXPECT_EQ(Current().Bitmap().Width(), 6);
  D = OpenFrom("MenuCalqueParams", "MenuCalque");
  ASSERT_TRUE(D);
  Click(D->RBPos1);
  EXPECT_EQ(D->EdiX->text(), QStringLiteral("10"));
  Type(D->EdiY, "5");
  Click(D->BOk);
  // Two moves of one layer make one step.
  ASSERT_EQ(UndoSteps(), 1);
  D = OpenFrom("MenuCalqueParams", "MenuCalque");
  ASSERT_TRUE(D);
  // Proportions are kept for a layer: 12 wide gives 8 high.
  Click(D->RBPos1);
  Type(D->EdiL, "12");
  EXPECT_EQ(D->EdiH->text(), QStringLiteral("8"));
  Click(D->BOk);
  EXPECT_EQ(Current().Bitmap().Width(), 12);
  EXPECT_EQ(Current().Bitmap().Height(), 8);
  ASSERT_EQ(UndoSteps(), 2);
  Undo();
  EXPECT_EQ(Current().Bitmap().Width(), 6);
  Undo();
  EXPECT_EQ(Current().Pos.X, 3);
  EXPECT_EQ(Current().Pos.Y, 2);
}

} // namespace
