// The undo spine of the main window on a real frame with image windows:
// the record each kind prepares, undo and redo with what records keep of the
// image, a layer grown for a change, Filter > Blur with Undo, Redo and
// Repeat, and the cancelling of a prepared change.
#include "app/ui/MainForm.h"
#include "document/Calque.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "filters/Blur24.h"
#include "platform/Beep.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// Pixels that every blur changes: a checker of 2-pixel squares.
// Pixels that every blur changes.
std::unique_ptr<TBitmap> Checker(int W, int H) {
  auto B = std::make_unique<TBitmap>(W, H);
  FillRandom(*B, 1);
  return B;
}

class MainFormUndoTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    Form = std::make_unique<TMainForm>(State);
    Form->resize(900, 700);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }
  TNewImgForm* Open(int W = 64, int H = 48, int Colors = 16777216) {
    const auto B = Checker(W, H);
    return Form->NouvelleImage(nullptr, B.get(), QString(), srcNew, Colors);
  }
  // A layer of W x H at P above the background, made current.
  TLayerItem& AddLayer(int W, int H, TPoint P, bool WithMask = false) {
    TMyImageLayered& Img = Form->Image();
    const auto B = Checker(W, H);
    // An opaque mask: painting on the alpha then records it too.
    TBitmap Mask(W, H, pf24bit, clBlack);
    const int Index = Img.AddLayer(B.get(), WithMask ? &Mask : nullptr, P, 100, "Calque");
    Img.SetLayerIndex(Index);
    Form->LayerNav()->Synchronize(true);
    return *Img.CurrentLayer();
  }
  QTemporaryDir Dir;
  TStartupState State;
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormUndoTest, EachKindPreparesItsRecordOverItsRegionWithItsFlags) {
  Open();
  TMyImageLayered& Img = Form->Image();
  Img.ResolutionX = 72.0005;
  AddLayer(20, 10, {5, 6});
  Form->MenuSelToutClick();
  Form->Sel()->SetBmpSelRect({10, 8, 30, 20});

  // A filter on the layer: its bitmap over the selection, in layer coordinates.
  Form->PreparerUndo(miFiltre, "Flou");
  auto* R = dynamic_cast<TUndoLayerItem*>(Form->ListeUndo().CurrentUndo());
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(typeid(*R), typeid(TUndoLayerItem));
  EXPECT_EQ(R->Region(), (TRect{5, 2, 20, 10})); // clipped to the layer
  EXPECT_EQ(R->UndoType(), utBitmap);
  EXPECT_EQ(R->LayerIndex(), 1);
  EXPECT_EQ(R->Caption, "Flou");
  EXPECT_EQ(R->GetFlag(1), 16777216);
  EXPECT_EQ(R->GetFlag(2), miFiltre);
  EXPECT_EQ(R->GetFlag(4), 72000); // 72000.5 to the even neighbour
  EXPECT_TRUE(ImagesMatch(Form->BmpUndo, Img.CurrentLayer()->Bitmap()));

  // A bitmap-and-mask filter on a layer without mask records the bitmap.
  Form->PreparerUndo(miFiltreBM, "Relief [Ctrl+E]");
  R = dynamic_cast<TUndoLayerItem*>(Form->ListeUndo().CurrentUndo());
  EXPECT_EQ(R->UndoType(), utBitmap);
  EXPECT_EQ(R->GetFlag(2), miFiltre);
  EXPECT_EQ(R->Caption, "Relief");

  // Drawing starts with an empty region; a whole-layer change hides the
  // selection.
  Form->PreparerUndo(miDrawBmp, "Pinceau");
  R = dynamic_cast<TUndoLayerItem*>(Form->ListeUndo().CurrentUndo());
  EXPECT_TRUE(R->Region().IsEmpty());
  ASSERT_TRUE(Form->Sel()->Visible());
  Form->PreparerUndo(miLayerMask, "Masque");
  R = dynamic_cast<TUndoLayerItem*>(Form->ListeUndo().CurrentUndo());
  EXPECT_EQ(R->UndoMode(), umImage);
  EXPECT_EQ(R->UndoType(), utMask);
  EXPECT_FALSE(Form->Sel()->Visible());

  // Layer kinds keep their classes; background kinds make layer 0 current.
  Form->PreparerUndo(miLayerIndex, "Ordre");
  EXPECT_NE(dynamic_cast<TUndoLayerIndex*>(Form->ListeUndo().CurrentUndo()), nullptr);
  Form->PreparerUndo(miTextData, "Texte");
  EXPECT_NE(dynamic_cast<TUndoTextData*>(Form->ListeUndo().CurrentUndo()), nullptr);
  Form->PreparerUndo(miBkgAll, "Taille");
  R = dynamic_cast<TUndoAllLayers*>(Form->ListeUndo().CurrentUndo());
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(R->LayerIndex(), 0);
  EXPECT_EQ(Img.LayerIndex(), 0);
  EXPECT_TRUE(ImagesMatch(Form->BmpUndo, Form->LeFond()));
}

TEST_F(MainFormUndoTest, MergeRecordsTheLowerLayerAndUndoMakesTheUpperCurrent) {
  Open();
  AddLayer(10, 10, {1, 1});
  Form->PreparerUndo(miMergeLayers, "Fusionner");
  auto* R = dynamic_cast<TUndoMergeLayers*>(Form->ListeUndo().CurrentUndo());
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(R->LayerIndex(), 0);
  Form->Image().MergeWithPrevious(false);
  Form->Image().SetLayerIndex(0);
  Form->LayerNav()->Synchronize(true);
  ASSERT_EQ(Form->Image().Layers().Count(), 1);
  Form->Undo();
  EXPECT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Form->Image().LayerIndex(), 1);
}

TEST_F(MainFormUndoTest, UndoAndRedoGiveBackALayerGrownForTheChangeExactly) {
  Open(64, 48);
  TLayerItem& L = AddLayer(20, 10, {5, 6}, true);
  ASSERT_TRUE(Form->DessinerSurAlpha());
  TBitmap Before;
  Before.Assign(L.Bitmap());
  Form->MenuSelToutClick();
  ASSERT_TRUE(Form->NeedExpandLayer(miFiltreBM_D));
  Form->PreparerUndo(miFiltreBM_D, "Brume");
  EXPECT_TRUE(Form->FlagAutoExpand);
  EXPECT_NE(dynamic_cast<TUndoExpandLayer*>(Form->ListeUndo().CurrentUndo()), nullptr);
  TLayerItem& Grown = *Form->Image().CurrentLayer();
  EXPECT_EQ(Grown.BoundsRect(), (TRect{0, 0, 64, 48}));
  BoxBlur3x3(Grown.Bitmap(), {0, 0, 64, 48});
  TBitmap After;
  After.Assign(Grown.Bitmap());

  Form->Undo();
  TLayerItem& Back = *Form->Image().CurrentLayer();
  EXPECT_EQ(Back.BoundsRect(), (TRect{5, 6, 25, 16}));
  EXPECT_TRUE(ImagesMatch(Back.Bitmap(), Before));
  Form->Redo();
  TLayerItem& Again = *Form->Image().CurrentLayer();
  EXPECT_EQ(Again.BoundsRect(), (TRect{0, 0, 64, 48}));
  EXPECT_TRUE(ImagesMatch(Again.Bitmap(), After));
  Form->Undo();
  EXPECT_EQ(Form->Image().CurrentLayer()->BoundsRect(), (TRect{5, 6, 25, 16}));
}

TEST_F(MainFormUndoTest, UndoAndRedoExchangeColourCountResolutionAndLayerOffsets) {
  Open();
  TMyImageLayered& Img = Form->Image();
  Img.ResolutionX = 96;
  TLayerItem& L = AddLayer(10, 10, {4, 4});
  Form->PreparerUndo(miBkgAll, "Couleurs");
  Form->ListeUndo().CurrentUndo()->SetFlag(5, 3);
  Form->ListeUndo().CurrentUndo()->SetFlag(6, -2);
  // The command: 256 colours at 300 dpi, the layers shifted by (3, -2).
  Img.ColorCount = 256;
  Img.ResolutionX = 300;
  Img.Layers()[1].Pos = {7, 2};
  Form->Undo();
  EXPECT_EQ(Img.ColorCount, 16777216);
  EXPECT_DOUBLE_EQ(Img.ResolutionX, 96.0);
  EXPECT_EQ(Img.Layers()[1].Pos, (TPoint{4, 4}));
  Form->Redo();
  EXPECT_EQ(Img.ColorCount, 256);
  EXPECT_DOUBLE_EQ(Img.ResolutionX, 300.0);
  EXPECT_EQ(Img.Layers()[1].Pos, (TPoint{7, 2}));
  (void)L;
}

// A quarter turn of the whole image: undo turns the upper layers back about
// the restored background, redo turns them again.
TEST_F(MainFormUndoTest, UndoAndRedoTurnTheUpperLayersByTheRecordedCode) {
  Open();
  TMyImageLayered& Img = Form->Image();
  TLayerItem& L = AddLayer(10, 6, {4, 4});
  TBitmap Before;
  Before.Assign(L.Bitmap());
  Form->PreparerUndo(miBkgAll, "Rotation");
  Form->ListeUndo().CurrentUndo()->SetFlag(7, 3);
  // The command: the background turned clockwise, then every layer.
  Img.Layers()[0].Rotate270();
  FlipRotateAllLayers(*Form->LayerNav(), 3);
  ASSERT_EQ(Img.Layers()[1].BoundsRect(), (TRect{38, 4, 44, 14}));
  TBitmap Turned;
  Turned.Assign(Img.Layers()[1].Bitmap());

  Form->Undo();
  EXPECT_EQ(Form->LeFond().Width(), 64);
  EXPECT_EQ(Img.Layers()[1].BoundsRect(), (TRect{4, 4, 14, 10}));
  EXPECT_TRUE(ImagesMatch(Img.Layers()[1].Bitmap(), Before));
  Form->Redo();
  EXPECT_EQ(Form->LeFond().Width(), 48);
  EXPECT_EQ(Img.Layers()[1].BoundsRect(), (TRect{38, 4, 44, 14}));
  EXPECT_TRUE(ImagesMatch(Img.Layers()[1].Bitmap(), Turned));
}

TEST_F(MainFormUndoTest, BlurUndoRedoAndRepeatThroughTheCommands) {
  Open();
  TBitmap Original;
  Original.Assign(Form->LeFond());
  Form->MenuItem("MenuSelTout")->trigger();
  ASSERT_TRUE(Form->Sel()->Visible());

  // Through the toolbar button: Repeat then names the menu item.
  Form->ToolBar(3)->findChild<QAction*>("BtnFlou")->trigger();
  TBitmap Blurred;
  Blurred.Assign(Original);
  BoxBlur3x3(Blurred, {0, 0, 64, 48});
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));
  EXPECT_EQ(Form->LastFilter().Sender, Form->MenuItem("MenuFiltreFlou"));
  EXPECT_EQ(Form->MenuItem("MenuEditionUndo")->text(), QString::fromUtf8("Défaire Flou"));
  EXPECT_TRUE(Form->BmpUndo.Empty());

  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Original));
  Form->MenuItem("MenuEditionRedo")->trigger();
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));

  Form->MenuNamed("MenuEdition")->aboutToShow();
  QAction* Repeat = Form->MenuItem("MenuEditionRepeter");
  EXPECT_TRUE(Repeat->isEnabled());
  EXPECT_EQ(Repeat->text(), QString::fromUtf8("Répéter Flou"));
  Repeat->trigger();
  BoxBlur3x3(Blurred, {0, 0, 64, 48});
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));
  EXPECT_EQ(Form->ListeUndo().Count(), 2);
  EXPECT_EQ(Form->LastFilter().Sender, Form->MenuItem("MenuFiltreFlou"));
}

TEST_F(MainFormUndoTest, BlurStaysInsideTheSelection) {
  Open();
  TBitmap Original;
  Original.Assign(Form->LeFond());
  Form->MenuSelToutClick();
  Form->Sel()->SetBmpSelRect({10, 10, 30, 30});
  Form->MenuFiltreFlouClick(Form->MenuItem("MenuFiltreFlou"));
  EXPECT_TRUE(Px(Form->LeFond(), 5, 5) == Px(Original, 5, 5));
  EXPECT_TRUE(Px(Form->LeFond(), 40, 40) == Px(Original, 40, 40));
  EXPECT_FALSE(Px(Form->LeFond(), 20, 20) == Px(Original, 20, 20));
}

TEST_F(MainFormUndoTest, ARefusedCommandLeavesNoStepAndChangesNothing) {
  Open();
  TBitmap Original;
  Original.Assign(Form->LeFond());
  QWidget Dialog;
  Form->SetDialogueForm(&Dialog);
  TBeepCounter Beeps;
  Form->MenuFiltreFlouClick(Form->MenuItem("MenuFiltreFlou"));
  EXPECT_EQ(Beeps.Count(), 1);
  EXPECT_EQ(Form->ListeUndo().Count(), 0);
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Original));
  EXPECT_FALSE(Form->LastFilter().Event);
  Form->SetDialogueForm(nullptr);
}

TEST_F(MainFormUndoTest, CancellingAPreparedChangeRestoresAndForgetsRepeat) {
  Open();
  TBitmap Original;
  Original.Assign(Form->LeFond());
  Form->MenuFiltreFlouClick(Form->MenuItem("MenuFiltreFlou"));
  ASSERT_TRUE(Form->LastFilter().Event);
  Form->PreparerUndo(miFiltre, "Aperçu");
  BoxBlur3x3(Form->LeBitmap(), {0, 0, 64, 48});
  Form->AnnulerFiltre(true);
  EXPECT_EQ(Form->ListeUndo().Count(), 1);
  EXPECT_FALSE(Form->LastFilter().Event);
  Form->MenuNamed("MenuEdition")->aboutToShow();
  EXPECT_FALSE(Form->MenuItem("MenuEditionRepeter")->isEnabled());
  // The blur before the cancelled preview stays.
  TBitmap Blurred;
  Blurred.Assign(Original);
  BoxBlur3x3(Blurred, {0, 0, 64, 48});
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));
}
