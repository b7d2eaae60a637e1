// The Edit menu through its items on a real image window: cut, copy, the
// pastes, clear, the pattern, the purges and the selection's flips, each
// undone back to the exact original.
#include "MainFormFixture.h"

#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "document/Pattern.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/Past.h"
#include "document/ui/SelectionControl.h"
#include "raster/ImgUtils.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"
#include "support/WaitFor.h"
#include "tools/ui/Outils.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

class MainFormEditTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    ASSERT_TRUE(WaitUntil([this] { return Form->Palette() != nullptr; }));
    FillRandom(Original, 7);
    Window = Form->NouvelleImage(nullptr, &Original, QString(), srcNew, 16777216);
    ASSERT_NE(Window, nullptr);
    Window->Image->SetZoom(1);
    Form->MajMenus();
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  void Trigger(const QString& Name) { TriggerItem(*Form, Form->MenuItem(Name), Name); }
  void Select(const TRect& R, bool Invert = false) {
    if (!Form->Sel()->Visible()) Trigger("MenuSelTout");
    Form->Sel()->SetBmpSelRect(R);
    Form->Sel()->SetInvert(Invert);
  }
  TMyImageLayered& Img() { return Form->Image(); }
  TUndoList& Undo() { return Form->ListeUndo(); }
  void UndoAll() {
    while (Undo().CurrentUndo()) Trigger("MenuEditionUndo");
  }
  TBitmap Original{120, 80, pf24bit};
  std::unique_ptr<TMainForm> Form;
  TNewImgForm* Window = nullptr;
};

} // namespace

TEST_F(MainFormEditTest, CutPaintsTheSecondColourThenPasteMakesALayerWhereItCameFrom) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const TColor Second = Form->Palette()->GetColor(true);
  Select({10, 10, 40, 30});
  Trigger("MenuEditionCouper");
  EXPECT_EQ(Undo().CurrentUndo()->Caption, "Couper");
  EXPECT_EQ(Undo().CurrentUndo()->GetFlag(2), miFiltre);
  EXPECT_FALSE(Form->Sel()->Visible());
  EXPECT_EQ(Px(Form->LeFond(), 10, 10), ColorToTRGB(Second));
  EXPECT_EQ(Px(Form->LeFond(), 39, 29), ColorToTRGB(Second));
  EXPECT_EQ(Px(Form->LeFond(), 40, 30), Px(Original, 40, 30));
  EXPECT_EQ(Px(Form->LeFond(), 9, 9), Px(Original, 9, 9));

  Trigger("MenuEditionCollerSel");
  ASSERT_EQ(Img().Layers().Count(), 2);
  const TLayerItem& Pasted = *Img().CurrentLayer();
  EXPECT_EQ(Pasted.Caption, "#1");
  EXPECT_EQ(Pasted.Pos, (TPoint{10, 10}));
  TBitmap Cut;
  Cut.Assign(Original);
  CropBitmap(Cut, {10, 10, 40, 30});
  EXPECT_IMAGES_MATCH(Pasted.Bitmap(), Cut);
  EXPECT_EQ(Form->Palette()->Tool(), 13);
  EXPECT_EQ(Undo().CurrentUndo()->Caption, "Coller");

  // One undo each: the layer goes, then the cut comes back.
  Trigger("MenuEditionUndo");
  EXPECT_EQ(Img().Layers().Count(), 1);
  Trigger("MenuEditionUndo");
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
}

TEST_F(MainFormEditTest, ClearOnALayerWithAMaskMakesOnlyTheShapeTransparent) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Img().CurrentLayer()->CheckCreateMask(false);
  const PBitmap Mask = Copy(Form->LeMasque());
  Form->SelLissage = 0;
  Select({20, 20, 60, 60});
  Trigger("MenuSelEllipse");
  Trigger("MenuEditionEffacer");
  EXPECT_EQ(Undo().CurrentUndo()->GetFlag(2), miFiltreMask);
  EXPECT_EQ(Px(Form->LeMasque(), 40, 40), Grey(255));
  EXPECT_EQ(Px(Form->LeMasque(), 20, 40), Grey(255));
  // The rectangle's corners lie outside the ellipse.
  EXPECT_EQ(Px(Form->LeMasque(), 21, 21), Grey(0));
  EXPECT_EQ(Px(Form->LeMasque(), 10, 40), Grey(0));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);

  Trigger("MenuEditionUndo");
  EXPECT_IMAGES_MATCH(Form->LeMasque(), *Mask);

  // An inverted selection clears everything but the shape.
  Select({20, 20, 60, 60}, true);
  Trigger("MenuEditionEffacer");
  EXPECT_EQ(Px(Form->LeMasque(), 40, 40), Grey(0));
  EXPECT_EQ(Px(Form->LeMasque(), 5, 5), Grey(255));
  UndoAll();
  EXPECT_IMAGES_MATCH(Form->LeMasque(), *Mask);
}

TEST_F(MainFormEditTest, CopyRecordsWhereThePixelsCameFrom) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  TBitmap Small(30, 20, pf24bit, clRed);
  const int Index = Img().AddBitmapAsLayer(Small, {25, 15}, 100, "#1");
  Img().SetLayerIndex(Index);
  Window->LayerNav->Synchronize(true);
  const struct {
    const char* Item;
    TRect Selection; // empty: hidden
    bool Invert;
    TPoint Expected;
  } Cases[] = {
      {"MenuEditionCopier", {}, false, {25, 15}},                         // the whole layer
      {"MenuEditionCopier", {30, 20, 40, 30}, false, {30, 20}},           // in image coordinates
      {"MenuEditionCopierFusion", {5, 6, 50, 40}, false, {5, 6}},         // the selection's corner
      {"MenuEditionCopierFusion", {5, 6, 50, 40}, true, {0, 0}},          // inverted: the whole image
      {"MenuEditionCopierFusion", {-10, -5, 50, 40}, false, {0, 0}},      // clipped to the image
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Item);
    if (C.Selection.IsEmpty())
      Form->MasquerSelection();
    else
      Select(C.Selection, C.Invert);
    Trigger(C.Item);
    EXPECT_EQ(ClipboardData().CopyPos(), C.Expected);
  }
  EXPECT_EQ(Undo().Count(), 0);
  EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(MainFormEditTest, PasteIntoTheSelectionCentresOrFits) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({0, 0, 20, 10});
  Trigger("MenuEditionCopier");
  // Centred in a 40 x 40 selection: 10 to each side, 15 above and below.
  Select({40, 20, 80, 60});
  Trigger("MenuEditionCollerIn1");
  EXPECT_EQ(Undo().CurrentUndo()->Caption, "Coller dedans");
  EXPECT_EQ(Px(Form->LeFond(), 50, 35), Px(Original, 0, 0));
  EXPECT_EQ(Px(Form->LeFond(), 69, 44), Px(Original, 19, 9));
  EXPECT_EQ(Px(Form->LeFond(), 49, 35), Px(Original, 49, 35));
  EXPECT_EQ(Px(Form->LeFond(), 50, 45), Px(Original, 50, 45));
  Trigger("MenuEditionUndo");
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);

  // Fitted: 40 x 20, its proportions kept, rows 30 to 49.
  Select({40, 20, 80, 60});
  Trigger("MenuEditionCollerIn2");
  int Changed = 0;
  for (int Y = 20; Y < 60; ++Y)
    for (int X = 40; X < 80; ++X) {
      const bool Inside = Y >= 30 && Y < 50;
      if (!Inside) EXPECT_EQ(Px(Form->LeFond(), X, Y), Px(Original, X, Y)) << X << "," << Y;
      Changed += Inside && !(Px(Form->LeFond(), X, Y) == Px(Original, X, Y));
    }
  EXPECT_GT(Changed, 40 * 20 / 2);
  Trigger("MenuEditionUndo");
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(MainFormEditTest, PatternFillRepeatsUntilThePatternIsPurged) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({0, 0, 10, 10});
  Trigger("MenuEditionMotif");
  EXPECT_EQ(Undo().Count(), 0);
  Select({30, 30, 70, 60});
  Trigger("MenuEditionRemplirMotif");
  // Tiled from the bitmap's origin.
  for (const TPoint P : {TPoint{30, 30}, TPoint{47, 51}, TPoint{69, 59}})
    EXPECT_EQ(Px(Form->LeFond(), P.X, P.Y), Px(Original, P.X % 10, P.Y % 10)) << P.X << "," << P.Y;
  EXPECT_EQ(Px(Form->LeFond(), 29, 30), Px(Original, 29, 30));
  Form->RefreshMenuStates();
  EXPECT_TRUE(Form->MenuItem("MenuEditionRepeter")->isEnabled());

  Trigger("MenuPurgerMotif");
  EXPECT_TRUE(CurrentPattern().BmpEmpty());
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuEditionRepeter")->isEnabled());
  EXPECT_FALSE(Form->MenuItem("MenuEditionRemplirMotif")->isEnabled());
  Trigger("MenuEditionUndo");
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(MainFormEditTest, PurgingTheHistoryKeepsTheImageModified) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({10, 10, 40, 30});
  Trigger("MenuEditionEffacer");
  ASSERT_TRUE(Window->Modified());
  Trigger("MenuPurgerHistorique");
  EXPECT_EQ(Undo().Count(), 0);
  EXPECT_TRUE(Window->Modified());
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuEditionUndo")->isEnabled());
}

TEST_F(MainFormEditTest, AnEmptySelectionIsRefusedWithoutAStep) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({200, 200, 260, 240});
  for (const char* Item : {"MenuEditionEffacer", "MenuEditionCouper", "MenuEditionCopier"}) Trigger(Item);
  EXPECT_EQ(Messages.Shown, QStringList(3, QStringLiteral("Aucun pixel à traiter !")));
  EXPECT_EQ(Undo().Count(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(MainFormEditTest, SelectionTurnsFromThePopupLiftThePixelsIntoALayer) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({10, 10, 40, 20});
  Trigger("MenuTransform90h");
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{10, 10, 20, 40}));
  EXPECT_EQ(Img().Layers().Count(), 1);

  QAction* Pop = nullptr;
  for (QAction* A : Form->MenuNamed("PopSelTransform")->actions())
    if (A->objectName() == "PopSelTransform_MenuTransform180") Pop = A;
  ASSERT_NE(Pop, nullptr);
  Form->RefreshMenuStates();
  Pop->trigger();
  ASSERT_EQ(Img().Layers().Count(), 2);
  const TLayerItem& Layer = *Img().CurrentLayer();
  EXPECT_EQ(Layer.Caption, "#1");
  EXPECT_EQ(Layer.Bitmap().Width(), 10);
  EXPECT_EQ(Layer.Bitmap().Height(), 30);
  // Half a turn: the bottom-right pixel comes first.
  EXPECT_EQ(Px(Layer.Bitmap(), 0, 0), Px(Original, 19, 39));
  EXPECT_EQ(Undo().CurrentUndo()->GetFlag(2), miCreateLayer);
  EXPECT_EQ(Form->Palette()->Tool(), 13);
  Trigger("MenuEditionUndo");
  EXPECT_EQ(Img().Layers().Count(), 1);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(MainFormEditTest, PasteAsImageOpensAWindowOfTheCopy) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select({5, 5, 25, 15});
  Trigger("MenuEditionCopier");
  Trigger("MenuEditionCollerImg");
  ASSERT_EQ(ImageWindows().size(), 2u);
  TBitmap Part;
  Part.Assign(Original);
  CropBitmap(Part, {5, 5, 25, 15});
  EXPECT_IMAGES_MATCH(Form->LeFond(), Part);
  EXPECT_EQ(Form->Palette()->Tool(), 0);
  EXPECT_EQ(Form->ListeUndo().Count(), 0);
}
