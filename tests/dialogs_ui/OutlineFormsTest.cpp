// Edit > "Contour et remplissage..." and the path's twin: the selection's
// outline and fill, opacity, preview, Ok, Cancel, Repeat and Undo; the path
// filled, hatched and stroked with the undo record kept to the reachable
// area.
#include "ImageDialogFixture.h"

#include "../support/PathVertices.h"
#include "dialogs/ui/CRForm.h"
#include "dialogs/ui/CRPathForm.h"
#include "document/PathSelection.h"
#include "document/Undo.h"
#include "i18n/LibLang.h"
#include "document/ui/SelectionControl.h"
#include "tools/ui/PathOverlay.h"
#include "ui/ColorEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

constexpr TColor Red = 0x0000FF;

class OutlineFormsTest : public ImageDialogFixture {
protected:
  void SelectRect(const TRect& R) {
    Form->Sel()->SetShape(ssRect);
    Form->Sel()->SetBmpSelRect(R);
    Form->AfficherSelection();
  }
  TCRForm* OpenCR() { return Open<TCRForm>("MenuEditionContourRempl", "MenuEdition"); }
  // The dialog's options: the outline and the fill, each in Red.
  static void Options(TStrokeFillForm* D, bool Contour, int Width, bool Fill) {
    D->CBContour->setChecked(Contour);
    D->ColorEdit1->SetColor(Red);
    Type(D->SELargeur, QString::number(Width));
    D->CBRempl->setChecked(Fill);
    D->ColorEdit2->SetColor(Red);
    D->Enabling();
  }
  // The path editor on the active image with a closed line path.
  TPathOverlay& StartPath(const std::vector<TPoint>& Anchors, bool Closed = true) {
    Form->StartPathMode(QString(), 0);
    Form->Path->ReplacePath(LinePath(Anchors), false, Closed);
    return *Form->Path;
  }
  TCRPathForm* OpenCRPath() {
    Form->MenuItem("PopPathContourRemplir")->trigger();
    auto* D = Form->findChild<TCRPathForm*>();
    return D && D->isVisible() ? D : nullptr;
  }
};

// The pixels a pen of width 3 paints along a rectangle's border: within one
// pixel of it, inside and out.
bool OnWideBorder(const TRect& R, int X, int Y) {
  const bool Outer = X >= R.Left - 1 && X <= R.Right && Y >= R.Top - 1 && Y <= R.Bottom;
  const bool Inner = X >= R.Left + 2 && X <= R.Right - 3 && Y >= R.Top + 2 && Y <= R.Bottom - 3;
  return Outer && !Inner;
}

TEST_F(OutlineFormsTest, ARectangleOutlinedThreeWideHasExactlyTheBorderPixelsAndUndoRestores) {
  OpenImage(40, 30);
  const TRect R{10, 8, 30, 20};
  SelectRect(R);
  TCRForm* D = OpenCR();
  ASSERT_TRUE(D);
  // A plain rectangle is outlined without smoothing: no "Lisser" box.
  EXPECT_TRUE(D->CBLisser->isHidden());
  Options(D, true, 3, false);
  Click(D->BOk);
  TBitmap Expected;
  Expected.Assign(Original);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X)
      if (OnWideBorder(R, X, Y)) SetPx(Expected, X, Y, Rgb(255, 0, 0));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  Redo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
}

TEST_F(OutlineFormsTest, AFillAtSixtyPercentLetsFortyPercentThroughAndRepeatDrawsAgain) {
  OpenImage(40, 30);
  const TRect R{5, 5, 25, 15};
  SelectRect(R);
  TCRForm* D = OpenCR();
  ASSERT_TRUE(D);
  Options(D, false, 1, true);
  D->TBOpacite->SetPosition(60);
  Click(D->BOk);
  TBitmap Expected;
  Expected.Assign(Original);
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      const TRGB Old = Px(Original, X, Y);
      SetPx(Expected, X, Y, Rgb(255 - (255 - Old.Red) * 40 / 100, Old.Green * 40 / 100, Old.Blue * 40 / 100));
    }
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected, 1);
  // Repeat: the same fill once more, as a step of its own.
  EditItem("MenuEditionRepeter");
  EXPECT_EQ(UndoSteps(), 2);
  const TRGB Twice = Px(Form->LeFond(), 10, 10);
  EXPECT_NEAR(Twice.Blue, Px(Original, 10, 10).Blue * 16 / 100, 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected, 1);
}

TEST_F(OutlineFormsTest, OkWithNothingTickedAndCancelAfterAPreviewLeaveTheImage) {
  OpenImage(40, 30);
  SelectRect({5, 5, 25, 15});
  TCRForm* D = OpenCR();
  ASSERT_TRUE(D);
  Options(D, false, 1, false);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
  // A live preview of a wide outline, widened again: each drawing starts
  // from the untouched layer, and Cancel puts it back.
  D = OpenCR();
  ASSERT_TRUE(D);
  Options(D, true, 2, true);
  D->CBPreview->click();
  EXPECT_TRUE(D->Preview);
  EXPECT_FALSE(D->BApercu->isEnabled());
  Type(D->SELargeur, "5");
  EXPECT_EQ(Px(Form->LeFond(), 1, 1), Px(Original, 1, 1));
  EXPECT_EQ(Px(Form->LeFond(), 15, 10), Rgb(255, 0, 0));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(OutlineFormsTest, AnEmptyWidthWarnsAndASelectionOutsideTheLayerIsRefused) {
  OpenImage(40, 30);
  SelectRect({5, 5, 25, 15});
  TCRForm* D = OpenCR();
  ASSERT_TRUE(D);
  Type(D->SELargeur, "");
  Click(D->BOk);
  EXPECT_TRUE(D->isVisible());
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], Tr(TrId::GetTrDldGlb1));
  Click(D->BAnnuler);
  // A layer beside the selection: nothing of it is selected.
  TMyImageLayered& Img = Form->Image();
  TBitmap L(5, 5, pf24bit, clBlack);
  Img.AddLayer(&L, nullptr, {32, 22}, 100, QStringLiteral("#1"));
  Img.SetLayerIndex(1);
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionContourRempl")->trigger();
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(Messages.last(), Tr(TrId::GetTrDlgGlb5));
}

// The path filled equals the selection made from it, filled.
TEST_F(OutlineFormsTest, APathFilledEqualsItsSelectionFilled) {
  const std::vector<TPoint> Square{{6, 4}, {30, 4}, {30, 22}, {6, 22}};
  OpenImage(40, 30);
  TPathOverlay& Path = StartPath(Square);
  TCRPathForm* D = OpenCRPath();
  ASSERT_TRUE(D);
  Options(D, false, 1, true);
  Click(D->BOk);
  TBitmap ByPath;
  ByPath.Assign(Form->LeFond());
  ASSERT_FALSE(ImagesMatch(ByPath, Original));
  // The same path as the selection of a second, identical image.
  TSizedPathView View(40, 30);
  TPathControl Copy(&View);
  Copy.ReplacePath(LinePath(Square), false, true);
  Form->FreePath();
  Form->Image().Layers()[0].Bitmap().Assign(Original);
  ConvertToSelection(Copy, *Form->Sel());
  Form->AfficherSelection();
  TCRForm* S = OpenCR();
  ASSERT_TRUE(S);
  Options(S, false, 1, true);
  Click(S->BOk);
  // The two ways blend the anti-aliased edge with their own rounding.
  EXPECT_IMAGES_MATCH(Form->LeFond(), ByPath, 1);
  (void)Path;
}

TEST_F(OutlineFormsTest, AHatchedCircleKeepsTheEarlierPixelsInTheCornersOfItsBounds) {
  OpenImage(60, 60);
  TPathOverlay& Path = StartPath({{30, 10}, {50, 30}, {30, 50}, {10, 30}});
  Path.SetBezierMode(true);
  Path.DefaultControlPoints();
  TCRPathForm* D = OpenCRPath();
  ASSERT_TRUE(D);
  Options(D, false, 1, true);
  D->CmbBrush->setCurrentIndex(5); // cross hatch
  Click(D->BOk);
  const TBitmap& B = Form->LeFond();
  // The corners of the bounds are outside the circle: as they were, also on
  // the hatch's grid.
  for (TPoint P : {TPoint{16, 12}, TPoint{48, 12}, TPoint{12, 48}, TPoint{48, 48}})
    EXPECT_EQ(Px(B, P.X, P.Y), Px(Original, P.X, P.Y)) << P.X << "," << P.Y;
  // Inside, the hatch lines on the grid of 8 and the earlier pixels between.
  EXPECT_EQ(Px(B, 32, 27), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 27, 32), Rgb(255, 0, 0));
  EXPECT_EQ(Px(B, 29, 29), Px(Original, 29, 29));
  Form->FreePath();
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(OutlineFormsTest, TheStrokeRecordCoversTheReachableAreaAndShortPathsCannotBeFilled) {
  OpenImage(80, 80);
  StartPath({{10, 10}, {49, 10}, {49, 49}, {10, 49}});
  TCRPathForm* D = OpenCRPath();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->PathSel, (TRect{10, 10, 50, 50}));
  EXPECT_TRUE(D->CBRempl->isEnabled());
  Options(D, true, 9, false);
  Click(D->BApercu);
  auto* Record = dynamic_cast<TUndoBmpItem*>(Form->ListeUndo().CurrentUndo());
  ASSERT_TRUE(Record);
  EXPECT_EQ(Record->Region(), (TRect{4, 4, 56, 56}));
  EXPECT_EQ(Px(Form->LeFond(), 10, 30), Rgb(255, 0, 0));
  Click(D->BOk);
  EXPECT_EQ(Px(Form->LeFond(), 10, 30), Rgb(255, 0, 0));
  Form->FreePath();
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  // Two vertices: a stroke only.
  StartPath({{5, 5}, {40, 5}}, false);
  D = OpenCRPath();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->CBRempl->isEnabled());
  Click(D->BAnnuler);
}

} // namespace
