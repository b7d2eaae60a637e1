// The preview protocol of the filter dialogs, driven through the brightness
// dialog on a real main window: preview, Cancel, Ok, Repeat, neutral Ok,
// saved settings, live preview, a refused application and a change that
// arrives while a preview runs.
#include "FilterDialogFixture.h"

#include "app/ui/MainStatusBar.h"
#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "raster/FilterEvent.h"
#include "filters/ui/ToneForms.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

namespace {

using FilterNFormTest = FilterDialogFixture;

TEST_F(FilterNFormTest, PreviewThenCancelGivesBackTheExactPixelsAndNoUndoStep) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->windowTitle(), "Luminosité");
  EXPECT_EQ(UndoSteps(), 1); // prepared by the menu command
  MoveSlider(D->TBN, 2);
  EXPECT_EQ(D->LblN->text(), "Luminosité : 10%");
  // Without live preview nothing is drawn until Aperçu.
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 10, 10, 10, R); }));
  MoveSlider(D->Bars[0], -4);
  EXPECT_EQ(D->Labels[0]->text(), "Rouge : -20%");
  Click(D->BApercu);
  // Each preview starts from the unfiltered layer.
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, -10, 10, 10, R); }));
  Click(D->BAnnuler);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_FALSE(Form->EnfantActif()->Image->Image().Modified);
}

TEST_F(FilterNFormTest, OkKeepsOneUndoStepAndRepeatAppliesTheSameSettingsAgain) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->TBN, 3);
  // Ok without a preview applies once with the final settings.
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  const auto Once = Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 15, 15, 15, R); });
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Once);
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_TRUE(Form->EnfantActif()->Image->Image().Modified);
  QAction* Repeat = Form->MenuItem("MenuEditionRepeter");
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  ASSERT_TRUE(Repeat->isEnabled());
  Repeat->trigger();
  TBitmap Twice;
  Twice.Assign(*Once);
  BrightnessRGB24(Twice, 15, 15, 15, {0, 0, Twice.Width(), Twice.Height()});
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Twice);
  EXPECT_EQ(UndoSteps(), 2);
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Once);
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(FilterNFormTest, OkAfterAPreviewKeepsItWithoutApplyingAgain) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->TBN, 1);
  Click(D->BApercu);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 5, 5, 5, R); }));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(FilterNFormTest, OkWithNeutralSettingsIsACancel) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->TBN, 2);
  Click(D->BApercu);
  MoveSlider(D->TBN, -2);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_FALSE(Form->LastFilter().Event);
}

TEST_F(FilterNFormTest, SettingsSurviveReopeningWhenTheyAreNotResetOnShow) {
  MakeForm(false);
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->Bars[2], 2);
  D->CBRealTime->setChecked(true);
  Click(D->BOk);
  // A new main window reads the dialog settings file afresh: live preview
  // was saved on, so the saved settings preview at once.
  MakeForm(false);
  D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->Bars[2]->Position(), 10);
  EXPECT_EQ(D->Labels[2]->text(), "Bleu : 10%");
  EXPECT_TRUE(D->CBRealTime->isChecked());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 0, 0, 10, R); }));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(FilterNFormTest, AutoResetStartsFromTheDefaults) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->TBN, 2);
  Click(D->BOk);
  D = Open<TLumForm>("MenuReglageLum");
  EXPECT_EQ(D->TBN->Position(), 0);
  Click(D->BAnnuler);
}

TEST_F(FilterNFormTest, LivePreviewDrawsOnTheReleaseOfTheSlider) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  D->CBRealTime->setChecked(true);
  EXPECT_FALSE(D->BApercu->isEnabled());
  // A change in code without release previews nothing yet.
  D->TBN->SetPosition(-30);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  QTest::keyRelease(D->TBN, Qt::Key_Left);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, -30, -30, -30, R); }));
  // Unchecking the box takes the preview away.
  D->CBRealTime->setChecked(false);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_TRUE(D->Changed);
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(FilterNFormTest, ResetPutsTheDefaultsBackAndTheUnfilteredLayer) {
  auto* D = Open<TLumForm>("MenuReglageLum");
  ASSERT_TRUE(D);
  MoveSlider(D->Bars[1], 1);
  Click(D->BApercu);
  Click(D->BtnReset);
  EXPECT_EQ(D->Bars[1]->Position(), 0);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_FALSE(D->Changed);
  Click(D->BAnnuler);
}

TEST_F(FilterNFormTest, BuildersNameControlsInBuildOrderAndKeepTheStandardOnesLast) {
  TFilterNForm D(Form.get());
  QCheckBox* Box = D.NewCheckBox("a", true, 8);
  TTrackBar* Bar = D.NewBar(0, 10, 1, 1, 3, 4);
  QRadioButton* Radio = D.NewRadioBtn("b", false, 4);
  D.ArrangeButtons();
  EXPECT_EQ(Box->objectName(), "CheckBox1");
  EXPECT_EQ(Bar->objectName(), "TrackBar2");
  EXPECT_EQ(Radio->objectName(), "RadioButton3");
  // Each under the one before, the buttons under all.
  EXPECT_EQ(Box->y(), D.TBN->y() + D.TBN->height() + D.Rescale(8));
  EXPECT_EQ(Bar->y(), Box->y() + Box->height() + D.Rescale(4));
  EXPECT_EQ(Bar->x(), D.TBN->x());
  EXPECT_EQ(Radio->x(), D.BApercu->x());
  EXPECT_GT(D.CBRealTime->y(), Radio->y() + Radio->height());
  EXPECT_EQ(D.BOk->y(), D.BApercu->y());
  EXPECT_EQ(D.height(), D.BApercu->y() + D.BApercu->height() + D.BApercu->x());
  // Tab order: the main slider, the built controls, then the four standard.
  const std::vector<QWidget*> Order{D.TBN, Box, Bar, Radio, D.CBRealTime, D.BApercu, D.BOk, D.BAnnuler};
  std::vector<QWidget*> Seen;
  for (QWidget* W = D.TBN; Seen.size() < Order.size(); W = W->nextInFocusChain())
    if (std::find(Order.begin(), Order.end(), W) != Order.end()) Seen.push_back(W);
  EXPECT_EQ(Seen, Order);
}

// A dialog whose filter refuses to run until allowed, and whose filter can
// change its own parameters while it runs (a slider moved while the progress
// service handles the pending messages).
class TProbeForm : public TFilterNForm {
public:
  explicit TProbeForm(QWidget* Parent) : TFilterNForm(Parent) {
    setObjectName("ProbeForm");
    SetMainBar(-100, 100, 10, 5, 0, "%d");
  }
  bool Allowed = true;
  int Runs = 0;
  int Depth = 0, MaxDepth = 0;
  std::function<void()> DuringRun;
  bool HasEffect() override { return TBN->Position() != 0; }
  bool CanApply() override { return Allowed; }
  void ApplyFilter() override {
    ++Runs;
    MaxDepth = std::max(MaxDepth, ++Depth);
    if (auto Hook = std::exchange(DuringRun, nullptr)) Hook();
    BrightnessRGB24(Bitmap(), TBN->Position(), TBN->Position(), TBN->Position(), WorkRect());
    --Depth;
  }
};

TEST_F(FilterNFormTest, ARefusedFinalApplicationKeepsTheDialogOpen) {
  Form->PreparerUndo(miFiltre, "Probe");
  auto* D = new TProbeForm(Form.get());
  D->show();
  D->TBN->SetPosition(20);
  D->Allowed = false;
  Click(D->BOk);
  EXPECT_TRUE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_FALSE(Form->EnfantActif()->Image->Image().Modified);
  D->Allowed = true;
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 20, 20, 20, R); }));
}

TEST_F(FilterNFormTest, AChangeDuringAPreviewStartsTheNewOneAfterIt) {
  Form->PreparerUndo(miFiltre, "Probe");
  auto* D = new TProbeForm(Form.get());
  D->show();
  D->CBRealTime->setChecked(true);
  D->DuringRun = [D] {
    // Ok waits for the run; Cancel would stop it.
    EXPECT_FALSE(D->BOk->isEnabled());
    EXPECT_TRUE(D->BAnnuler->isEnabled());
    D->TBN->SetPosition(-40);
    QTest::keyRelease(D->TBN, Qt::Key_Left);
  };
  D->TBN->SetPosition(30);
  QTest::keyRelease(D->TBN, Qt::Key_Right);
  EXPECT_EQ(D->Runs, 2);
  EXPECT_EQ(D->MaxDepth, 1); // one after the other, never nested
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected([](TBitmap& B, const TRect& R) { BrightnessRGB24(B, -40, -40, -40, R); }));
  EXPECT_TRUE(D->BOk->isEnabled());
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

// A dialog whose filter is a blur that reports its progress row by row.
class TBlurProbeForm : public TFilterNForm {
public:
  explicit TBlurProbeForm(QWidget* Parent) : TFilterNForm(Parent) {
    setObjectName("BlurProbeForm");
    SetMainBar(1, 10, 1, 1, 3, "%d");
  }
  bool Stopped = false;
  void ApplyFilter() override {
    BoxBlur(Bitmap(), TBN->Position(), TBN->Position(), WorkRect());
    Stopped = ProgressCancelled;
  }
};

TEST_F(FilterNFormTest, ALongPreviewShowsItsProgressAndCancelStopsItAndClosesAfterIt) {
  // A clock a tenth of a second further at every reading: every step
  // reports and lets the pending events through.
  class TTickingClock final : public TClock {
  public:
    TMonoTime Now() const override { return FNow += std::chrono::milliseconds(100); }

  private:
    mutable TMonoTime FNow{};
  } Clock;
  const TScopedClock Scoped(Clock);
  const int SavedDelay = std::exchange(ProgressInitialDelay, 0), SavedInterval = std::exchange(ProgressMinInterval, 1);
  // The main window takes the progress at its first paint.
  ASSERT_TRUE(QTest::qWaitFor([] { return ProgressSink() != nullptr; }));
  Form->PreparerUndo(miFiltre, "Probe");
  auto* D = new TBlurProbeForm(Form.get());
  D->show();
  bool ProgressShown = false;
  QString StatusText;
  // Looks at every step that handles the pending events; cancels once the
  // status bar shows the progress.
  std::function<void()> Watch = [&] {
    if (!D->PreviewRunning()) return;
    if (!Form->StatusBar()->ProgressDrawn()) {
      QTimer::singleShot(0, D, Watch);
      return;
    }
    ProgressShown = true;
    StatusText = Form->StatusBar()->PanelText(0);
    Click(D->BAnnuler);
    EXPECT_TRUE(D->isVisible()); // not before the run ended
  };
  QTimer::singleShot(0, D, Watch);
  D->BApercu->click();
  ProgressInitialDelay = SavedDelay;
  ProgressMinInterval = SavedInterval;
  EXPECT_TRUE(ProgressShown);
  EXPECT_TRUE(StatusText.endsWith('%')) << StatusText.toStdString();
  EXPECT_TRUE(D->Stopped);
  EXPECT_FALSE(D->isVisible());
  EXPECT_FALSE(Form->StatusBar()->ProgressDrawn());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
