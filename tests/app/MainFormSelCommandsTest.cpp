// The Selection menu through its items on a real image window: shapes,
// centring, proportions, invert, the shape clipboard and selection files.
#include "MainFormFixture.h"

#include "document/MyImageLayered.h"
#include "document/ShapeManager.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/ImgForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "raster/Polygon24.h"
#include "support/Printers.h"

#include <QAction>
#include <QMenu>

#include <cstring>

namespace {

class MainFormSelCommandsTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    OpenThroughMenu(*Form, "photo.png", *Bands(200, 150));
    ASSERT_TRUE(Form->UneImage());
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  void Trigger(const char* Name) { TriggerItem(*Form, Form->MenuItem(Name), Name); }
  TSelectionControl& Sel() { return *Form->Sel(); }
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormSelCommandsTest, ShapeCentreProportionAndInvert) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Trigger("MenuSelTout");
  Sel().SetBmpSelRect({20, 20, 120, 70});
  // A visible selection takes the shape; the tool keeps its own.
  Trigger("MenuSelEllipse");
  EXPECT_EQ(Sel().Shape(), ssEllipse);
  EXPECT_EQ(Form->EnfantActif()->Image->SelShape(), ssRect);
  Form->MajMenuForme(Form->MenuNamed("MenuSelForme"), false);
  EXPECT_TRUE(Form->MenuItem("MenuSelEllipse")->isChecked());
  EXPECT_FALSE(Form->MenuItem("MenuSelEllipse")->isEnabled());

  // Across the 200 x 150 image, then across only.
  Trigger("MenuSelCentre1");
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{50, 50, 150, 100}));
  Sel().SetBmpSelRect({0, 10, 100, 60});
  Trigger("MenuSelCentre2");
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{50, 10, 150, 60}));

  // 16:9 on 100 x 50: the longer side stays, 100 / (16/9) = 56.25.
  Trigger("MenuSelAdapter4");
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{50, 10, 150, 66}));
  EXPECT_TRUE(Sel().AspectRatio);
  EXPECT_TRUE(Sel().Visible());
  Trigger("MenuSelAdapter0");
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{50, 10, 106, 66}));
  EXPECT_EQ(Sel().Shape(), ssEllipse);

  QTest::keyClick(Form.get(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_TRUE(Sel().Invert());
  Trigger("MenuSelInverser");
  EXPECT_FALSE(Sel().Invert());
  EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(MainFormSelCommandsTest, OptionsRoundedCornersAndSmoothing) {
  Trigger("MenuSelTout");
  Trigger("MenuSelRoundRectDivisor3");
  EXPECT_EQ(RoundRectDivisor, 2);
  EXPECT_EQ(PolyRoundRectDivisor, 2);
  EXPECT_TRUE(Sel().Visible());
  Trigger("MenuSelRoundRectDivisor1");
  EXPECT_EQ(RoundRectDivisor, 4);

  Trigger("PopSelAucunLissage");
  EXPECT_EQ(Form->SelLissage, 0);
  EXPECT_TRUE(Form->MenuItem("MenuSelAucunLissage")->isChecked());
  EXPECT_FALSE(Form->MenuItem("MenuSelLisser")->isChecked());
  Trigger("MenuSelLisser");
  EXPECT_EQ(Form->SelLissage, 1);
  EXPECT_TRUE(Form->MenuItem("PopSelLisser")->isChecked());

  const bool Bounds = Sel().ShowBounds();
  Trigger("MenuSelReperes");
  EXPECT_NE(Sel().ShowBounds(), Bounds);
}

// Copy the shape, then paste it: at its place with the selection hidden;
// over the current rectangle when the user keeps it (Yes).
TEST_F(MainFormSelCommandsTest, ShapeClipboardPastesAtItsPlaceOrIntoTheCurrentRectangle) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Trigger("MenuSelTout");
  Trigger("MenuSelEllipse");
  Sel().SetBmpSelRect({10, 20, 60, 50});
  Trigger("MenuSelCopier");
  Form->ChangerForme(ssRect, false, 1);
  Sel().SetBmpSelRect({0, 0, 30, 30});
  Form->MasquerSelection();
  Trigger("MenuSelColler");
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_EQ(Sel().Shape(), ssEllipse);
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{10, 20, 60, 50}));

  Form->ChangerForme(ssRect, false, 1);
  Sel().SetBmpSelRect({0, 0, 30, 30});
  Messages.Answers = {mrYes};
  Trigger("MenuSelColler");
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_EQ(Sel().Shape(), ssEllipse);
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{0, 0, 30, 30}));
}

// Saved under the proposed numbered name, loaded back: the same shape and
// size, centred in the visible part of the image.
TEST_F(MainFormSelCommandsTest, SelectionFilesSaveAndLoadCentred) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Trigger("MenuSelTout");
  Trigger("MenuSelLosange");
  Sel().SetBmpSelRect({4, 6, 64, 46});
  std::vector<TFileDialogState> Asked;
  const QString File = Path("zone.lms");
  SetFileDialogProvider([&](TFileDialogState& S) {
    Asked.push_back(S);
    return QStringList{File};
  });
  Trigger("MenuSelEnregistrer");
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_TRUE(Asked[0].Save);
  EXPECT_TRUE(Asked[0].FileName.endsWith("01.lms")) << Asked[0].FileName.toStdString();
  ASSERT_TRUE(QFileInfo::exists(File));

  Form->MasquerSelection();
  Form->ChangerForme(ssRect, false, 1);
  Trigger("MenuSelCharger");
  ASSERT_EQ(Asked.size(), 2u);
  EXPECT_FALSE(Asked[1].Save);
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_TRUE(Sel().Visible());
  EXPECT_EQ(Sel().Shape(), ssLosange);
  const TRect R = Sel().BmpSelRect();
  EXPECT_EQ(R.Width(), 60);
  EXPECT_EQ(R.Height(), 40);
  // The whole 200 x 150 image is in view: centred in it.
  EXPECT_EQ(R.Left, 70);
  EXPECT_EQ(R.Top, 55);

  // The next proposal carries the next number.
  Trigger("MenuSelEnregistrer");
  ASSERT_EQ(Asked.size(), 3u);
  EXPECT_TRUE(Asked[2].FileName.endsWith("02.lms")) << Asked[2].FileName.toStdString();
}

// A layer whose left half is opaque, made current.
static void AddHalfOpaqueLayer(TMainForm& Form) {
  TMyImageLayered& Img = Form.Image();
  const PBitmap Pixels = Bands(200, 150);
  TBitmap Mask(200, 150, pf24bit, clWhite);
  for (int Y = 0; Y < 150; ++Y) std::memset(Mask.ScanLine(Y), 0, 3 * 100);
  Img.SetLayerIndex(Img.AddLayer(Pixels.get(), &Mask, {0, 0}, 100, "Calque"));
  Form.LayerNav()->Synchronize(true);
}

// Selecting the layer traces its opaque half; inverting the trace selects
// the other half, still as a trace.
TEST_F(MainFormSelCommandsTest, SelectTheLayerTracesItsMaskAndInvertTracesTheRest) {
  AddHalfOpaqueLayer(*Form);
  Trigger("MenuSelCalque");
  ASSERT_TRUE(Sel().Visible());
  EXPECT_EQ(Sel().Shape(), ssBitmap);
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{0, 0, 100, 150}));
  Trigger("MenuSelInverser");
  EXPECT_EQ(Sel().Shape(), ssBitmap);
  EXPECT_FALSE(Sel().Invert());
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{100, 0, 200, 150}));
}

// The 3D contour without a selection: on a layer it contours the layer's
// outline, selected first.
TEST_F(MainFormSelCommandsTest, ContourOfALayerWithoutSelectionSelectsItsOutlineFirst) {
  AddHalfOpaqueLayer(*Form);
  ASSERT_FALSE(Sel().Visible());
  emit Form->MenuNamed("MenuFiltre")->aboutToShow();
  Form->MenuItem("MenuFiltreCtr3D")->trigger();
  ASSERT_TRUE(Sel().Visible());
  EXPECT_EQ(Sel().Shape(), ssBitmap);
  EXPECT_EQ(Sel().BmpSelRect(), (TRect{0, 0, 100, 150}));
  QWidget* Dialog = Form->findChild<QWidget*>("Border3DForm");
  ASSERT_TRUE(Dialog);
  EXPECT_TRUE(Dialog->isVisible());
  Dialog->close();
}
