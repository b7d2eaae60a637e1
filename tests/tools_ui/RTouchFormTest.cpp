// The retouch dialog against a fake main window: the saved centre, the
// centre and radius checked on show, the clicks on the image, the preview
// taken back, and Ok with nothing to do.
#include "tools/ui/RTouch.h"

#include "FakeToolDialogHost.h"
#include "support/ImageCompare.h"
#include "tools/RetouchArea.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class RTouchFormTest : public ::testing::Test {
protected:
  RTouchFormTest() {
    TBitmap Picture(120, 90, pf24bit);
    FillRandom(Picture, 3);
    Host.ShowPicture(Picture);
  }
  // The client point of layer pixel (X, Y).
  TPoint At(int X, int Y) const { return Host.View->BmpToClient(TPoint{X, Y}); }
  FakeToolDialogHost Host;
  TRTouchForm Form;
};

} // namespace

TEST(RTouchCenter, IsSavedAsOneNumberAndReadBack) {
  EXPECT_EQ(EncodeRetouchCenter({100, 50}), "3276900"); // 50 x 65536 + 100
  EXPECT_EQ(DecodeRetouchCenter("3276900"), (TPoint{100, 50}));
  EXPECT_EQ(DecodeRetouchCenter(EncodeRetouchCenter({7, 40000})), (TPoint{7, 40000}));
  EXPECT_EQ(DecodeRetouchCenter("abc"), (TPoint{65535, -1}));
  EXPECT_EQ(DecodeRetouchCenter(""), (TPoint{65535, -1}));
}

// A centre outside the layer, or a radius beyond its smaller side, gives way
// to the layer's centre and half its smaller side; good ones stay.
TEST_F(RTouchFormTest, ShowingChecksTheCentreAndTheRadius) {
  struct Case {
    TPoint Center;
    int Radius;
    TPoint NewCenter;
    int NewRadius;
  };
  for (const Case& C : {Case{{10, 20}, 50, {10, 20}, 50}, Case{{65535, -1}, 50, {60, 45}, 45},
                        Case{{10, 20}, 100, {60, 45}, 45}, Case{{120, 5}, 20, {60, 45}, 45}}) {
    Form.Center = C.Center;
    Form.TBRadius->SetPosition(C.Radius);
    Form.show();
    EXPECT_EQ(Form.Center, C.NewCenter);
    EXPECT_EQ(Form.TBRadius->Position(), C.NewRadius);
    Form.hide();
  }
}

// With live preview a click applies at once; the same point again does
// nothing; unchecking the live preview gives the pixels back.
TEST_F(RTouchFormTest, ClicksMoveTheAreaAndThePreviewIsTakenBack) {
  Form.show();
  Form.CBPreview->click();
  const int Applied = Host.Refreshes;
  EXPECT_EQ(Applied, 1); // the live preview at the centre
  const TPoint P = At(30, 30);
  Form.InteractiveClick(P.X, P.Y);
  EXPECT_EQ(Form.Center, (TPoint{30, 30}));
  EXPECT_EQ(Host.Refreshes, Applied + 1);
  Form.InteractiveClick(P.X, P.Y);
  EXPECT_EQ(Host.Refreshes, Applied + 1);
  TBitmap Expected;
  Expected.Assign(Host.Undo);
  RetouchArea24(Expected, Host.Undo, {30, 30}, 45, rfLighten, 0, 50, true);
  EXPECT_IMAGES_MATCH(Host.LayerBitmap(), Expected);

  Form.CBPreview->click();
  EXPECT_IMAGES_MATCH(Host.LayerBitmap(), Host.Undo);
  EXPECT_FALSE(Form.Preview);
  EXPECT_TRUE(Form.BApercu->isEnabled());
  // A click outside the image is no centre.
  Form.InteractiveClick(-50, -50);
  EXPECT_EQ(Form.Center, (TPoint{30, 30}));
}

// "Aucun" with "Normal" changes nothing: Ok cancels the prepared step.
TEST_F(RTouchFormTest, OkWithNothingToDoCancels) {
  Form.show();
  Form.CBFilter->setCurrentIndex(rfNone);
  Form.CBMode->setCurrentIndex(0);
  QTest::mouseClick(Form.BOk, Qt::LeftButton);
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Host.Cancels, 1);
  EXPECT_EQ(Host.LayerChanges, 0);

  Form.show();
  Form.CBMode->setCurrentIndex(1);
  QTest::mouseClick(Form.BOk, Qt::LeftButton);
  EXPECT_EQ(Host.Cancels, 1);
  EXPECT_EQ(Host.LayerChanges, 1);
  EXPECT_EQ(Host.RepeatCleared, 1);
  TBitmap Expected;
  Expected.Assign(Host.Undo);
  RetouchArea24(Expected, Host.Undo, {60, 45}, 45, rfNone, 6, 50, true);
  EXPECT_IMAGES_MATCH(Host.LayerBitmap(), Expected);
}

// The circle and its cross are drawn over the view while the dialog is
// shown, and go with it.
TEST_F(RTouchFormTest, TheCircleIsDrawnOverTheViewWhileShown) {
  Host.View->PaintAll();
  TBitmap Plain;
  Plain.Assign(Host.View->BackBuffer());
  Form.show();
  EXPECT_FALSE(ImagesMatch(Host.View->BackBuffer(), Plain));
  Form.hide();
  EXPECT_IMAGES_MATCH(Host.View->BackBuffer(), Plain);
}
