// Layer > Options and the new colour and adjustment layers: live edits of
// the current layer, Cancel restoring every property or deleting the new
// layer, Ok making one undo step, and the defaults the dialog stores for the
// next new layer (also across a restart).
#include "ImageDialogFixture.h"

#include "dialogs/ui/OpCalque.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "ui/ColorEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QStackedWidget>

namespace {

class OpCalqueFormTest : public ImageDialogFixture {
protected:
  TOpCalqueForm* OpenFrom(const char* Item) { return Open<TOpCalqueForm>(Item, "MenuCalque"); }
  // A slider moved to Value and released, as the mouse does it.
  static void Slide(TTrackBar* Bar, int Value) {
    Bar->SetPosition(Value);
    QTest::keyClick(Bar, Qt::Key_Shift);
  }
  // An image with a layer above the background, that layer current.
  void OpenLayered() {
    OpenImage(40, 30, true);
    SelectLayer(*Form->LayerNav(), 1);
  }
  int LayerCount() const { return Form->Image().Layers().Count(); }
  const TLayerItem& Current() const { return *Form->Image().CurrentLayer(); }
};

TEST_F(OpCalqueFormTest, NewColourLayerStartsFromDefaultsAndCancelDeletesIt) {
  OpenImage(40, 30);
  TOpCalqueForm* D = OpenFrom("MenuCalqueCouleur");
  ASSERT_TRUE(D);
  ASSERT_EQ(LayerCount(), 2);
  EXPECT_EQ(Current().LayerType, ltColor);
  EXPECT_EQ(Current().Opacity, 50);
  EXPECT_EQ(Current().Color, TColor(0xFFFFFF));
  EXPECT_EQ(Current().Color2, TColor(0));
  EXPECT_EQ(D->PageControl->currentWidget(), D->TshColor);
  EXPECT_FALSE(D->BReset->isVisible());
  Click(D->BAnnuler);
  EXPECT_EQ(LayerCount(), 1);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(OpCalqueFormTest, ConfirmedOpacityBecomesTheNextDefaultAlsoAfterRestart) {
  OpenImage(40, 30);
  TOpCalqueForm* D = OpenFrom("MenuCalqueCouleur");
  ASSERT_TRUE(D);
  Slide(D->TBOpacite, 30);
  EXPECT_EQ(Current().Opacity, 30);
  Click(D->CBInverser);
  EXPECT_EQ(Current().Color2, TColor(1));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  ASSERT_EQ(LayerCount(), 2);
  ASSERT_EQ(UndoSteps(), 1);
  // Undo of the step removes the new layer.
  Undo();
  EXPECT_EQ(LayerCount(), 1);

  MakeForm("");
  OpenImage(40, 30);
  ASSERT_TRUE(OpenFrom("MenuCalqueCouleur"));
  EXPECT_EQ(Current().Opacity, 30);
  EXPECT_EQ(Current().Color2, TColor(1));
}

TEST_F(OpCalqueFormTest, NewAdjustmentLayerResetAlsoSetsOpacity) {
  OpenImage(40, 30);
  TOpCalqueForm* D = OpenFrom("MenuCalqueReglage");
  ASSERT_TRUE(D);
  EXPECT_EQ(Current().LayerType, ltAdjust);
  EXPECT_EQ(Current().Opacity, 100);
  EXPECT_EQ(Current().AdjustInfos.Gamma, 1.0);
  EXPECT_TRUE(D->BReset->isVisible());
  Slide(D->TBOpacite, 40);
  Slide(D->TBLuminosite, 25);
  Slide(D->TBGamma, 150);
  EXPECT_EQ(Current().AdjustInfos.Luminosity, 25);
  EXPECT_EQ(Current().AdjustInfos.Gamma, 1.5);
  Click(D->BReset);
  EXPECT_EQ(Current().Opacity, 100);
  EXPECT_EQ(Current().AdjustInfos.Luminosity, 0);
  EXPECT_EQ(Current().AdjustInfos.Gamma, 1.0);
  Click(D->BOk);
  EXPECT_EQ(LayerCount(), 2);
}

TEST_F(OpCalqueFormTest, ShadowEditsLiveAndCancelRestoresEveryProperty) {
  OpenLayered();
  Form->Image().CurrentLayer()->ShadowInfos.Blur = 0;
  TOpCalqueForm* D = OpenFrom("MenuCalqueOptions");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->PageControl->currentWidget(), D->TshStd);
  // A blur of 0 shows as a flat shadow whatever its style.
  EXPECT_EQ(D->CmbStyle->currentIndex(), 0);
  EXPECT_FALSE(D->EdiDX->isEnabled());
  Slide(D->TBOpacite, 20);
  Click(D->CBOmbre);
  EXPECT_TRUE(Current().ShadowInfos.DrawShadow);
  EXPECT_TRUE(D->EdiDX->isEnabled());
  EXPECT_FALSE(D->SEShadowBlur->isEnabled());
  // Flat to smoothed: the stored 0, clamped by the edit, gives radius 1.
  D->CmbStyle->setCurrentIndex(1);
  emit D->CmbStyle->activated(1);
  EXPECT_EQ(D->SEShadowBlur->Value(), 1);
  EXPECT_EQ(Current().ShadowInfos.Blur, 1u);
  D->CmbStyle->setCurrentIndex(2);
  emit D->CmbStyle->activated(2);
  EXPECT_EQ(Current().ShadowInfos.Blur, 4u);
  EXPECT_EQ(Current().ShadowInfos.Style, lstDiffuse);
  EXPECT_EQ(Current().Opacity, 20);
  Click(D->BAnnuler);
  EXPECT_EQ(Current().Opacity, 100);
  EXPECT_FALSE(Current().ShadowInfos.DrawShadow);
  EXPECT_EQ(Current().ShadowInfos.Blur, 0u);
  EXPECT_EQ(Current().ShadowInfos.Style, lstBlur);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(OpCalqueFormTest, OkKeepsTheChangeAsOneUndoStep) {
  OpenLayered();
  TOpCalqueForm* D = OpenFrom("MenuCalqueOptions");
  ASSERT_TRUE(D);
  Slide(D->TBOpacite, 60);
  Slide(D->TBOpacite, 70);
  Click(D->BOk);
  EXPECT_EQ(Current().Opacity, 70);
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_EQ(Current().Opacity, 100);
}

TEST_F(OpCalqueFormTest, CancelAfterAMergedStepKeepsTheEarlierStep) {
  OpenLayered();
  TOpCalqueForm* D = OpenFrom("MenuCalqueOptions");
  ASSERT_TRUE(D);
  Slide(D->TBOpacite, 60);
  Click(D->BOk);
  ASSERT_EQ(UndoSteps(), 1);
  D = OpenFrom("MenuCalqueOptions");
  ASSERT_TRUE(D);
  Slide(D->TBOpacite, 10);
  Click(D->BAnnuler);
  EXPECT_EQ(Current().Opacity, 60);
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_EQ(Current().Opacity, 100);
}

TEST_F(OpCalqueFormTest, OnTheBackgroundOnlyTheOpacityShows) {
  // The background has options only with its transparency.
  OpenImage(40, 30, false, true);
  TOpCalqueForm* D = OpenFrom("MenuCalqueOptions");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->TBOpacite->isVisible());
  EXPECT_FALSE(D->PageControl->isVisible());
  Click(D->BAnnuler);
}

TEST_F(OpCalqueFormTest, StoredImageLayerDefaults) {
  TOpCalqueForm Store;
  TIniBmpInfo Bmp;
  Bmp.Shadow.Reserved = 5;
  Store.LoadIniBmp(Bmp);
  EXPECT_EQ(Bmp.Opacity, 100);
  EXPECT_FALSE(Bmp.Shadow.DrawShadow);
  EXPECT_EQ(Bmp.Shadow.Color, TColor(0));
  EXPECT_EQ(Bmp.Shadow.DX, 7);
  EXPECT_EQ(Bmp.Shadow.DY, 7);
  EXPECT_EQ(Bmp.Shadow.Opacity, 80);
  EXPECT_EQ(Bmp.Shadow.Blur, 6u);
  EXPECT_EQ(Bmp.Shadow.Style, lstBlur);
  EXPECT_EQ(Bmp.Shadow.Reserved, 5);
}

} // namespace
