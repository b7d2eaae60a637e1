#include "ui/SpinEdit.h"

#include "MenuTestSupport.h"
#include "QtPrinters.h"
#include "platform/Beep.h"
#include "platform/Clock.h"
#include "support/WaitFor.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <memory>

namespace {

// Every case runs under a C locale and a French one. L() writes an expected
// text with the locale's separator in place of ".".
class SpinEditTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    QLocale::setDefault(GetParam() ? QLocale(QLocale::French, QLocale::France) : QLocale::c());
    Window = std::make_unique<QWidget>();
    auto* Layout = new QVBoxLayout(Window.get());
    Int = new TSpinEdit2(Window.get());
    Float = new TFloatSpinEdit(Window.get());
    Other = new QLineEdit(Window.get());
    Layout->addWidget(Int);
    Layout->addWidget(Float);
    Layout->addWidget(Other);
    Int->OnChange = [this](QObject* Sender) {
      EXPECT_EQ(Sender, Int);
      ++IntChanges;
    };
    Float->OnChange = [this](QObject*) { ++FloatChanges; };
    Window->show();
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
  }
  void TearDown() override {
    Window.reset();
    QLocale::setDefault(QLocale::c());
  }
  QString L(QString Text) const { return GetParam() ? Text.replace(u'.', u',') : Text; }
  QChar Sep() const { return GetParam() ? u',' : u'.'; }
  // Focus to W as a person gives it: in the active window. A menu that has
  // just closed hands activation back through queued window events, late on
  // a busy machine, and until then a field gets no focus events.
  static void Focus(QWidget* W) {
    if (!W->isActiveWindow()) W->activateWindow();
    ASSERT_TRUE(WaitUntil([W] { return W->isActiveWindow(); }));
    W->setFocus();
    ASSERT_TRUE(W->hasFocus());
  }
  // Focus to the field, all its text replaced by typing Keys.
  void Type(QLineEdit* Edit, const QString& Keys) {
    Focus(Edit);
    Edit->selectAll();
    QTest::keyClicks(Edit, Keys);
  }

  std::unique_ptr<QWidget> Window;
  TSpinEdit2* Int = nullptr;
  TFloatSpinEdit* Float = nullptr;
  QLineEdit* Other = nullptr;
  int IntChanges = 0;
  int FloatChanges = 0;
};

TEST_P(SpinEditTest, CreationTextAndSize) {
  TSpinEdit2 I;
  TFloatSpinEdit F;
  EXPECT_EQ(I.text(), "0");
  EXPECT_EQ(F.text(), L("0.00"));
  EXPECT_EQ(I.width(), 65);
  EXPECT_EQ(I.height(), FontEditHeight(I.font(), true));
  EXPECT_TRUE(I.ShowUpDown());
  EXPECT_FALSE(I.ShowDropButton());
  // The up-down sits at the right inside the frame, 3/4 of the client height
  // wide (odd), one pixel larger all round under the system style; the text
  // stops one pixel before it.
  const int Grow = IsSystemStyle() ? 1 : 0;
  const QRect UD = I.UpDown()->geometry().adjusted(Grow, Grow, -Grow, -Grow);
  int W = MulDiv(UD.height(), 3, 4);
  if (W % 2 == 0) ++W;
  EXPECT_EQ(UD.width(), W);
  EXPECT_EQ(I.width() - 1 - UD.right(), UD.top()); // the frame is as wide as it is high
  EXPECT_EQ(I.textMargins().right(), W + 1);
}

TEST_P(SpinEditTest, ParsingAndClamping) {
  Int->SetMinValue(1);
  Int->SetMaxValue(200);
  struct Case {
    const char* Text;
    int Value;
  };
  for (const Case& C : {Case{"abc", 1}, Case{"50", 50}, Case{"500", 200}, Case{"-7", 1}, Case{"", 1},
                        Case{"99999999999", 1}, Case{" 12 ", 12}, Case{"1e2", 1}}) {
    Int->setText(QString::fromUtf8(C.Text));
    EXPECT_EQ(Int->Value(), C.Value) << C.Text;
  }
  // Equal bounds do not clamp.
  Int->SetMinValue(0);
  Int->SetMaxValue(0);
  Int->setText("-5000");
  EXPECT_EQ(Int->Value(), -5000);

  Float->SetMinValue(-1);
  Float->SetMaxValue(10);
  Float->setText(L("2.5"));
  EXPECT_EQ(Float->Value(), 2.5);
  Float->setText(L("12.5"));
  EXPECT_EQ(Float->Value(), 10);
  Float->setText(GetParam() ? "2.5" : "2,5"); // the other locale's separator does not parse
  EXPECT_EQ(Float->Value(), -1);
  for (const char* Bad : {"inf", "nan", "-INF", "1e999", ""}) {
    Float->setText(QString::fromUtf8(Bad));
    EXPECT_EQ(Float->Value(), -1) << Bad;
  }
  Float->SetMinValue(0);
  Float->SetMaxValue(0); // unbounded
  Float->setText(L("-12345.5"));
  EXPECT_EQ(Float->Value(), -12345.5);
}

TEST_P(SpinEditTest, KeyFilterBeepsAndRefuses) {
  Int->SetMinValue(0);
  Int->SetMaxValue(100);
  TBeepCounter Beeps;
  Type(Int, "-");
  EXPECT_EQ(Beeps.Count(), 1); // no negative values allowed
  Type(Int, "4a2");
  EXPECT_EQ(Int->text(), "42");
  EXPECT_EQ(Beeps.Count(), 2);
  QTest::keyClick(Int, Qt::Key_A, Qt::ControlModifier); // Ctrl+A is refused like any control code
  EXPECT_EQ(Beeps.Count(), 3);
  EXPECT_FALSE(Int->hasSelectedText());
  QTest::keyClick(Int, Qt::Key_Backspace);
  EXPECT_EQ(Int->text(), "4");
  EXPECT_EQ(Beeps.Count(), 3);

  Int->SetMinValue(-10);
  Type(Int, "-5");
  EXPECT_EQ(Int->text(), "-5");
  QTest::keyClick(Int, Qt::Key_Minus); // a sign after a digit
  EXPECT_EQ(Int->text(), "-5");
  EXPECT_EQ(Beeps.Count(), 4);

  // Copy and paste pass; a pasted text is not filtered, only read.
  Int->selectAll();
  QTest::keyClick(Int, Qt::Key_C, Qt::ControlModifier);
  Focus(Other);
  QApplication::clipboard()->setText("x9");
  Focus(Int);
  Int->selectAll();
  QTest::keyClick(Int, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Int->text(), "x9");
  EXPECT_EQ(Int->Value(), -10);
  EXPECT_EQ(Beeps.Count(), 4);
}

TEST_P(SpinEditTest, FloatSeparatorAndSigns) {
  TBeepCounter Beeps;
  Type(Float, "1.5"); // a typed point is the locale's separator
  EXPECT_EQ(Float->text(), L("1.5"));
  QTest::keyClick(Float, Qt::Key_Period); // a second separator
  QTest::keyClick(Float, Sep().toLatin1());
  EXPECT_EQ(Float->text(), L("1.5"));
  EXPECT_EQ(Beeps.Count(), 2);
  Type(Float, "-2"); // range 0..0 is unbounded: a sign at the start passes
  EXPECT_EQ(Float->text(), "-2");
  Float->SetFormat("0");
  EXPECT_EQ(Float->text(), "-2");
  Type(Float, "3.");
  EXPECT_EQ(Float->text(), "3");
  EXPECT_EQ(Beeps.Count(), 3);
  Float->SetMinValue(0);
  Float->SetMaxValue(5);
  Type(Float, "-");
  EXPECT_EQ(Beeps.Count(), 4);
  // Pasted "inf" is refused by the parse: the value is the minimum, and
  // leaving the field shows it.
  QApplication::clipboard()->setText("inf");
  Float->selectAll();
  QTest::keyClick(Float, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Float->text(), "inf");
  EXPECT_EQ(Float->Value(), 0);
  Focus(Other);
  EXPECT_EQ(Float->text(), "0");
}

TEST_P(SpinEditTest, FocusOutNormalises) {
  Int->SetMinValue(1);
  Int->SetMaxValue(200);
  Type(Int, "0050");
  Focus(Other);
  EXPECT_EQ(Int->text(), "50");
  Type(Int, "800");
  EXPECT_EQ(Int->Value(), 200); // out of range text stays until the field is left
  EXPECT_EQ(Int->text(), "800");
  Focus(Other);
  EXPECT_EQ(Int->text(), "200");
  Focus(Int);
  QTest::keyClick(Int, Qt::Key_A, Qt::ControlModifier);
  Int->selectAll();
  QTest::keyClick(Int, Qt::Key_Backspace);
  EXPECT_EQ(Int->text(), "");
  EXPECT_EQ(Int->Value(), 1);
  Focus(Other);
  EXPECT_EQ(Int->text(), ""); // an empty field stays empty

  Float->SetFormat("0.000");
  Type(Float, "2.5");
  Focus(Other);
  EXPECT_EQ(Float->text(), L("2.500"));
}

TEST_P(SpinEditTest, SetValue2IsSilent) {
  Int->SetMinValue(0);
  Int->SetMaxValue(100);
  IntChanges = 0;
  Int->SetValue2(40);
  EXPECT_EQ(Int->text(), "40");
  EXPECT_EQ(IntChanges, 0);
  Int->SetValue(41);
  EXPECT_EQ(IntChanges, 1);
  Int->SetValue(41);
  EXPECT_EQ(IntChanges, 1);
  Int->SetValue(1000); // clamped
  EXPECT_EQ(Int->text(), "100");
  EXPECT_EQ(IntChanges, 2);
  ASSERT_TRUE(Int->OnChange); // the handler is back after the silent call

  FloatChanges = 0;
  Float->SetValue2(1.25);
  EXPECT_EQ(Float->text(), L("1.25"));
  Float->SetFormat("0.0");
  EXPECT_EQ(Float->text(), L("1.3"));
  EXPECT_EQ(FloatChanges, 0);
  Float->SetValue(2);
  EXPECT_EQ(Float->text(), L("2.0"));
  EXPECT_EQ(FloatChanges, 1);
}

TEST_P(SpinEditTest, ArrowKeysWheelAndUpDownStep) {
  Int->SetMinValue(0);
  Int->SetMaxValue(10);
  Int->SetIncrement(3);
  Int->SetValue(5);
  Focus(Int);
  QTest::keyClick(Int, Qt::Key_Up);
  EXPECT_EQ(Int->text(), "8");
  QTest::keyClick(Int, Qt::Key_Up);
  EXPECT_EQ(Int->text(), "10");
  QTest::keyClick(Int, Qt::Key_Down);
  EXPECT_EQ(Int->text(), "7");

  // One wheel notch, one step, only while focused.
  QWheelEvent Down(QPointF(5, 5), Int->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Int, &Down);
  EXPECT_EQ(Int->text(), "4");
  EXPECT_TRUE(Down.isAccepted());
  Focus(Other);
  QWheelEvent Up(QPointF(5, 5), Int->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(Int, &Up);
  EXPECT_EQ(Int->text(), "4");

  // The up-down's arrows.
  TSpinUpDown* UD = Int->UpDown();
  QTest::mouseClick(UD, Qt::LeftButton, {}, QPoint(UD->width() / 2, UD->height() / 4));
  EXPECT_EQ(Int->text(), "7");
  EXPECT_TRUE(Int->hasFocus()); // the click focuses the field
  QTest::mouseClick(UD, Qt::LeftButton, {}, QPoint(UD->width() / 2, UD->height() * 3 / 4));
  EXPECT_EQ(Int->text(), "4");

  // Read-only: the arrows beep, the keys do nothing.
  Int->SetReadOnly(true);
  TBeepCounter Beeps;
  QTest::mouseClick(UD, Qt::LeftButton, {}, QPoint(UD->width() / 2, UD->height() / 4));
  EXPECT_EQ(Beeps.Count(), 1);
  QTest::keyClick(Int, Qt::Key_Up);
  EXPECT_EQ(Int->text(), "4");
  Int->SetReadOnly(false);

  // Without the up-down part the keys do not step.
  Int->SetShowUpDown(false);
  EXPECT_EQ(Int->UpDown(), nullptr);
  QTest::keyClick(Int, Qt::Key_Up);
  EXPECT_EQ(Int->text(), "4");

  Float->SetIncrement(0.25);
  Float->SetValue(1);
  Focus(Float);
  QTest::keyClick(Float, Qt::Key_Down);
  EXPECT_EQ(Float->text(), L("0.75"));
}

TEST_P(SpinEditTest, SteppingNeverOverflows) {
  Int->SetValue(INT_MAX); // range 0..0: unbounded
  Int->SetIncrement(INT_MAX);
  Focus(Int);
  QTest::keyClick(Int, Qt::Key_Up);
  EXPECT_EQ(Int->Value(), INT_MAX);
  Int->SetValue(INT_MIN);
  QTest::keyClick(Int, Qt::Key_Down);
  EXPECT_EQ(Int->Value(), INT_MIN);

  Float->SetFormat("0");
  Float->SetIncrement(DBL_MAX);
  Float->SetValue(DBL_MAX);
  Focus(Float);
  QTest::keyClick(Float, Qt::Key_Up);
  EXPECT_EQ(Float->Value(), DBL_MAX);
}

TEST_P(SpinEditTest, PresetMenu) {
  TFakeClock Clock(std::chrono::seconds(100));
  TScopedClock UseClock(Clock);
  QMenu Menu;
  Menu.addAction("10%");
  Menu.addAction("&800");
  Menu.addAction("1.5 fois");
  Menu.addAction("-x2y");
  QObject* DroppedBy = nullptr;
  QObject::connect(&Menu, &QMenu::aboutToShow, [&] { DroppedBy = PopupComponent(&Menu); });
  int Opened = 0;
  QObject::connect(&Menu, &QMenu::aboutToShow, [&] { ++Opened; });

  Int->SetMinValue(1);
  Int->SetMaxValue(200);
  Int->SetDropDownMenu(&Menu);
  Int->SetShowDropButton(true);
  ASSERT_TRUE(Int->ShowDropButton());
  EXPECT_LT(Int->UpDown()->geometry().right(), Int->DropButton()->geometry().left());
  std::vector<bool> Selected;
  Int->OnSelectItem = [&](QObject* Sender, bool Changed) {
    EXPECT_EQ(Sender, Int);
    Selected.push_back(Changed);
  };
  // A click on the visible half of the drop button's arrow.
  TPrevNextButton* Drop = Int->DropButton();
  auto ClickDrop = [&] {
    QTest::mouseClick(Drop->UpDown(), Qt::LeftButton, {},
                      Drop->UpDown()->mapFrom(Drop, QPoint(Drop->width() / 2, Drop->height() / 2)));
  };
  Focus(Int);
  IntChanges = 0;
  WhenMenuOpens([](QMenu* M) { PickMenuItem(M, "&800"); });
  ClickDrop();
  EXPECT_EQ(DroppedBy, Int);
  EXPECT_EQ(Int->text(), "800"); // not clamped until the field is left
  EXPECT_EQ(Int->Value(), 200);
  EXPECT_EQ(IntChanges, 1);
  EXPECT_EQ(Selected, std::vector<bool>{true});
  // Within 0.3 s of the menu closing a click does not reopen it.
  Clock.AdvanceMs(200);
  ClickDrop();
  EXPECT_EQ(Opened, 1);
  Clock.AdvanceMs(200);
  WhenMenuOpens([](QMenu* M) { PickMenuItem(M, "&800"); }); // the same text again
  ClickDrop();
  EXPECT_EQ(Opened, 2);
  EXPECT_EQ(Selected, (std::vector<bool>{true, false}));
  EXPECT_EQ(IntChanges, 1);
  Focus(Other);
  EXPECT_EQ(Int->text(), "200");

  EXPECT_EQ(TCustomSpinEdit::ItemText("10%"), "10");
  EXPECT_EQ(TCustomSpinEdit::ItemText("1.5 fois"), L("1.5"));
  EXPECT_EQ(TCustomSpinEdit::ItemText("-x2y"), "-2");
  EXPECT_EQ(TCustomSpinEdit::ItemText(GetParam() ? "2,5" : "2,5"), GetParam() ? "2,5" : "25");

  // A read-only field only beeps.
  Int->SetReadOnly(true);
  Clock.AdvanceMs(1000);
  TBeepCounter Beeps;
  ClickDrop();
  EXPECT_EQ(Beeps.Count(), 1);
  EXPECT_EQ(Opened, 2);
}

// The dialogs' factory: a field limited to its range's characters refuses
// more typing; a free one takes it and clamps when left.
TEST_P(SpinEditTest, FactoryRangeValueAndLength) {
  EXPECT_EQ(SpinMaxLength("999", false), 3);
  EXPECT_EQ(SpinMaxLength("180", true), 4);

  TSpinEdit2* Limited = NewSpinEdit2(Window.get(), "SELimited", -180, 180, 400,
                                     SpinMaxLength(QString::number(180), true));
  TSpinEdit2* Free = NewSpinEdit2(Window.get(), "SEFree", 1, 50, 6);
  for (QWidget* W : {static_cast<QWidget*>(Limited), static_cast<QWidget*>(Free)}) {
    Window->layout()->addWidget(W);
    W->show(); // children added to a shown window stay hidden until shown
  }
  EXPECT_EQ(Window->findChild<TSpinEdit2*>("SELimited"), Limited);
  EXPECT_EQ(Limited->text(), "180"); // the value is clamped at creation
  EXPECT_EQ(Free->text(), "6");

  Type(Limited, "-12345");
  EXPECT_EQ(Limited->text(), "-123");
  Type(Free, "12345");
  EXPECT_EQ(Free->text(), "12345");
  Focus(Other);
  EXPECT_EQ(Free->text(), "50");
  EXPECT_EQ(Limited->text(), "-123");
}

INSTANTIATE_TEST_SUITE_P(Locales, SpinEditTest, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "French" : "C"; });

} // namespace
