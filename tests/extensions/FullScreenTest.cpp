#include "extensions/FullScreenRules.h"
#include "extensions/ui/Pe.h"

#include "document/MyImageLayered.h"
#include "document/ui/MyCustomImage.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FullScreenRulesTest, InfoLineColourZoomAndClocks) {
  EXPECT_EQ(FullScreenInfoText("a&b.jpg", 4000, 3000, 0.3599), "a&&b.jpg (4000x3000, 36%)");
  EXPECT_EQ(FullScreenInfoTextColor(clBlack), clWhite);
  EXPECT_EQ(FullScreenInfoTextColor(clWhite), clBlack);
  EXPECT_EQ(FullScreenInfoTextColor(0x7F7F7F), clWhite) << "luminance 126";
  EXPECT_EQ(FullScreenInfoTextColor(0x808080), clWhite) << "luminance 127";
  EXPECT_EQ(FullScreenInfoTextColor(0x818181), clBlack) << "luminance 128";
  EXPECT_EQ(FullScreenZoom(2.5), 1.0);
  EXPECT_EQ(FullScreenZoom(0.36), 0.36);
  const QDateTime T0 = QDateTime::fromMSecsSinceEpoch(1'000'000);
  EXPECT_FALSE(SlideDelayElapsed(T0, T0.addMSecs(999), 1));
  EXPECT_TRUE(SlideDelayElapsed(T0, T0.addMSecs(1000), 1));
  EXPECT_FALSE(CursorIdle(T0, T0.addMSecs(1999)));
  EXPECT_TRUE(CursorIdle(T0, T0.addMSecs(2000)));
  EXPECT_EQ(WholeSecondsSince(T0, T0.addMSecs(-5000)), 0) << "a clock set back";
}

class TFakeHost : public TFullScreenHost {
public:
  explicit TFakeHost(int W, int H) { Image.AddBackground(W, H, 0x3366CC, "#0"); }
  TMyImageLayered* ActiveImage() override { return &Image; }
  QString ActiveFileName() const override { return "photo&1.jpg"; }
  bool ActiveFromFile() const override { return FromFile; }
  bool ActiveModified() const override { return Modified; }
  bool Navigating() const override { return false; }
  void Navigate(TNavigation Direction) override { Steps.push_back(Direction); }
  void SetLoopNavig(bool Loop) override { LoopNavig = Loop; }
  bool ChooseColor(TColor& Color) override {
    Color = Chosen;
    return true;
  }
  TMyImageLayered Image;
  bool FromFile = true, Modified = false, LoopNavig = false;
  TColor Chosen = clWhite;
  std::vector<TNavigation> Steps;
};

class FullScreenTest : public ::testing::Test {
protected:
  // Shows the form modeless (the main window shows it modally), with a
  // clock the test moves.
  void Show(TPeForm& Form) {
    Form.Now = [this] { return Clock; };
    Form.show();
    ASSERT_TRUE(WaitUntil([&Form] { return Form.isVisible() && Form.View(); }));
  }
  QSize Screen() const { return QGuiApplication::primaryScreen()->geometry().size(); }
  QDateTime Clock = QDateTime::fromMSecsSinceEpoch(5'000'000);
};

TEST_F(FullScreenTest, SmallImagesShowAtFullSizeLargeOnesReducedToFit) {
  TFakeHost Small(40, 30);
  {
    TPeForm Form(Small);
    Show(Form);
    EXPECT_EQ(Form.geometry().size(), Screen());
    EXPECT_EQ(Form.View()->Zoom(), 1.0);
    EXPECT_TRUE(IsFullScreen());
  }
  EXPECT_FALSE(IsFullScreen());
  TFakeHost Large(Screen().width() * 3, Screen().height() * 3);
  TPeForm Form(Large);
  Show(Form);
  EXPECT_LE(Form.View()->Zoom(), 1.0 / 3 + 1e-9);
  EXPECT_GT(Form.View()->Zoom(), 0.2);
  // The bar tells the file, the size and the zoom.
  Form.Item("PopPeInfos")->trigger();
  EXPECT_TRUE(Form.PnlInfos()->isVisible());
  EXPECT_EQ(Form.PnlInfos()->text(), FullScreenInfoText("photo&1.jpg", Large.Image.Bitmap().Width(),
                                                        Large.Image.Bitmap().Height(), Form.View()->Zoom()));
}

TEST_F(FullScreenTest, KeysStepThroughTheFolderOnlyForAnImageFromAFile) {
  TFakeHost Host(40, 30);
  TPeForm Form(Host);
  Show(Form);
  EXPECT_TRUE(Host.LoopNavig) << "Boucler is ticked by default";
  for (Qt::Key Key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End}) QTest::keyClick(Form.View(), Key);
  EXPECT_EQ(Host.Steps,
            (std::vector{TNavigation::Next, TNavigation::Previous, TNavigation::First, TNavigation::Last}));
  QWheelEvent Wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Form.View()->viewport(), &Wheel);
  EXPECT_EQ(Host.Steps.back(), TNavigation::Next);

  Host.Steps.clear();
  Host.FromFile = false;
  QTest::keyClick(Form.View(), Qt::Key_PageDown);
  EXPECT_TRUE(Host.Steps.empty());
  Form.Item("PopPeLoop")->trigger();
  EXPECT_FALSE(Host.LoopNavig);
  QTest::keyClick(Form.View(), Qt::Key_Escape);
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Form.result(), QDialog::Accepted);
}

TEST_F(FullScreenTest, TheSlideShowStepsAfterItsDelayAndTheIdleCursorHides) {
  TFakeHost Host(40, 30);
  TPeForm Form(Host);
  Show(Form);
  EXPECT_TRUE(Form.Item("PopPeDiaporama")->isEnabled());
  Form.Item("PopPeDelay1")->trigger();
  EXPECT_EQ(Form.Delay(), 1);
  QTest::keyClick(Form.View(), Qt::Key_Space);
  EXPECT_TRUE(Form.IsSlideShowRunning());
  Clock = Clock.addMSecs(674);
  Form.TimerTimer();
  EXPECT_TRUE(Host.Steps.empty());
  Clock = Clock.addMSecs(337);
  Form.TimerTimer();
  EXPECT_EQ(Host.Steps.size(), 1u) << "whole seconds, tested every 337 ms";
  // Two seconds after it was last shown the cursor goes, a move brings it back.
  Clock = Clock.addMSecs(1100);
  Form.TimerTimer();
  EXPECT_FALSE(Form.CursorVisible());
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
  QMouseEvent Move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(Form.View()->viewport(), &Move);
  EXPECT_TRUE(Form.CursorVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  StopSlideShow();
  EXPECT_FALSE(Form.IsSlideShowRunning());
  QTest::keyClick(Form.View(), Qt::Key_Return);
  Form.hide();
  EXPECT_FALSE(Form.Item("PopPeDiaporama")->isChecked()) << "the slide show always starts off";
  EXPECT_FALSE(Host.LoopNavig);
}

TEST_F(FullScreenTest, AChangedImageDisablesTheSlideShowItemButKeysStillTickIt) {
  TFakeHost Host(40, 30);
  Host.Modified = true;
  TPeForm Form(Host);
  Show(Form);
  EXPECT_FALSE(Form.Item("PopPeDiaporama")->isEnabled());
  QTest::keyClick(Form.View(), Qt::Key_Space);
  EXPECT_TRUE(Form.IsSlideShowRunning());
}

TEST_F(FullScreenTest, TheBackgroundColourShowsAroundTheImageAndSetsTheBarText) {
  TFakeHost Host(40, 30);
  TPeForm Form(Host);
  Show(Form);
  Form.Item("PopPeInfos")->trigger();
  EXPECT_EQ(Form.PnlInfos()->palette().color(QPalette::WindowText), QColor(Qt::white));
  Form.Item("PopPeFond")->trigger();
  EXPECT_EQ(Form.BackgroundColor(), clWhite);
  EXPECT_EQ(Form.View()->Color(), clWhite);
  EXPECT_EQ(Form.PnlInfos()->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(Host.Image.BackColor, clWhite);
  Form.hide();
  EXPECT_EQ(Host.Image.BackColor, clWhite) << "white again when the view closes";
}

} // namespace
