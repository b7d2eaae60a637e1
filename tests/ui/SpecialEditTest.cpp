#include "ui/SpecialEdit.h"

#include "MenuTestSupport.h"
#include "QtPrinters.h"
#include "platform/Clock.h"
#include "platform/Rounding.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"

#include <QFontMetrics>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class SpecialEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    A = Menu.addAction("&Alpha");
    Menu.addSeparator();
    B = Menu.addAction("Beta");
    Edit = std::make_unique<TSpecialEdit>();
    Edit->resize(200, Edit->height());
    Edit->OnChange = [this](QObject*) { Events.push_back("change"); };
    Edit->OnSelectItem = [this](QObject* Sender, bool Changed) {
      EXPECT_EQ(Sender, Edit.get());
      Events.push_back(Changed ? "select changed" : "select same");
    };
    Edit->show();
    Edit->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Edit.get()));
  }
  QMenu Menu;
  QAction* A = nullptr;
  QAction* B = nullptr;
  std::unique_ptr<TSpecialEdit> Edit;
  std::vector<std::string> Events;
  TFakeClock Clock{std::chrono::seconds(50)};
  TScopedClock UseClock{Clock};
};

TEST_F(SpecialEditTest, CreationAndText) {
  TSpecialEdit E;
  EXPECT_EQ(E.width(), 80);
  EXPECT_EQ(E.height(), FontEditHeight(E.font(), true));
  EXPECT_EQ(E.ItemIndex(), -1);
  EXPECT_FALSE(E.ShowButton());
  EXPECT_EQ(E.focusPolicy(), Qt::StrongFocus);
  E.SetText("abc");
  EXPECT_EQ(E.Text(), "abc");
  E.SetItemIndex(-5);
  EXPECT_EQ(E.ItemIndex(), -1);
  // A resize below the edit height keeps the edit height.
  E.resize(80, 3);
  EXPECT_EQ(E.height(), FontEditHeight(E.font(), true));
}

TEST_F(SpecialEditTest, MenuIndexMappingAndCaptions) {
  Edit->SetDropDownMenu(&Menu);
  Edit->SetItemIndex(1);
  EXPECT_EQ(Edit->Text(), "Beta"); // the separator does not count
  Edit->SetItemIndex(0);
  EXPECT_EQ(Edit->Text(), "Alpha"); // no accelerator mark
  Edit->SetItemIndex(2);
  EXPECT_EQ(Edit->Text(), "");
  Edit->SetText("ignored");
  EXPECT_EQ(Edit->Text(), "");
  EXPECT_EQ(Edit->ItemToIndex(B), 1);

  SetControlTag(A, 10);
  SetControlTag(B, 20);
  Edit->SetIndexByTag(true);
  Edit->SetItemIndex(20);
  EXPECT_EQ(Edit->Text(), "Beta");
  EXPECT_EQ(Edit->ItemToIndex(A), 10);
  EXPECT_EQ(Edit->IndexToItem(1), nullptr);
}

TEST_F(SpecialEditTest, ChoosingItems) {
  Edit->SetDropDownMenu(&Menu);
  Edit->SetItemIndex(1);
  Events.clear();
  WhenMenuOpens([this](QMenu* M) {
    EXPECT_TRUE(B->isChecked()); // the current item is checked
    EXPECT_FALSE(A->isChecked());
    PickMenuItem(M, "&Alpha");
  });
  QTest::mouseClick(Edit.get(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_EQ(Edit->ItemIndex(), 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"change", "select changed"}));
  EXPECT_EQ(Edit->focusWidget(), Edit.get());

  Clock.AdvanceMs(1000);
  Events.clear();
  WhenMenuOpens([](QMenu* M) { PickMenuItem(M, "&Alpha"); });
  QTest::keyClick(Edit.get(), Qt::Key_Down); // Down acts as a click
  EXPECT_EQ(Events, std::vector<std::string>{"select same"});
}

TEST_F(SpecialEditTest, ClickThatClosesTheMenuDoesNotReopenIt) {
  Edit->SetDropDownMenu(&Menu);
  int Opened = 0;
  QObject::connect(&Menu, &QMenu::aboutToShow, [&] { ++Opened; });
  // The press on the control closes the menu (the menu has the mouse), then
  // the click reaches the control.
  WhenMenuOpens([this](QMenu* M) {
    QTest::mousePress(M, Qt::LeftButton, {}, M->mapFromGlobal(Edit->mapToGlobal(QPoint(20, 5))));
  });
  QTest::mouseClick(Edit.get(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_FALSE(Menu.isVisible());
  QTest::mouseClick(Edit.get(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_FALSE(Menu.isVisible());
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(PopupComponent(&Menu), Edit.get());
}

TEST_F(SpecialEditTest, ReadOnlyAndButton) {
  Edit->SetDropDownMenu(&Menu);
  int BtnClicks = 0;
  Edit->OnBtnClick = [&](QObject*) { ++BtnClicks; };
  Edit->SetShowButton(true);
  ASSERT_TRUE(Edit->ShowButton());
  // Placement: full client height at the right edge.
  const TRect R = Edit->ClientRect();
  const int Arrow = Round(R.Height() * 3 / 4.0);
  EXPECT_EQ(Edit->Button()->geometry(),
            QRect(R.Right - Arrow + Arrow % 2 - 3, R.Top, Arrow - Arrow % 2 + 3, R.Height()));
  EXPECT_EQ(Edit->TextRect().right(), Edit->Button()->x() - 3);
  EXPECT_EQ(Edit->ButtonStyle(), TPNStyle::stDown);

  int Opened = 0;
  QObject::connect(&Menu, &QMenu::aboutToShow, [&] { ++Opened; });
  Edit->SetReadOnly(true);
  EXPECT_FALSE(Edit->Button()->isEnabled());
  QTest::mouseClick(Edit.get(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_EQ(Opened, 0);
  Edit->SetReadOnly(false);
  EXPECT_TRUE(Edit->Button()->isEnabled());
  WhenMenuOpens([](QMenu* M) { PickMenuItem(M, "Beta"); });
  TMyUpDown* UD = Edit->Button()->UpDown();
  QTest::mouseClick(UD, Qt::LeftButton, {}, UD->mapFrom(Edit->Button(), Edit->Button()->rect().center()));
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(BtnClicks, 1);
  EXPECT_EQ(Edit->ItemIndex(), 1);
  Edit->SetShowButton(false);
  EXPECT_EQ(Edit->Button(), nullptr);
  EXPECT_EQ(Edit->ButtonStyle(), TPNStyle::stDown);
}

TEST_F(SpecialEditTest, ShortenedTexts) {
  const QFontMetrics M(Edit->font());
  // EllipsisText against the rule written out: the longest start that fits
  // with "..." after it.
  const QString Long = "A fairly long text that cannot fit";
  const int Max = M.horizontalAdvance("A fairly long");
  QString Expected = Long.left(1);
  for (int I = 1; I < Long.size() - 1; ++I) {
    Expected += Long[I];
    if (M.horizontalAdvance(Expected + "...") > Max) break;
  }
  Expected.chop(1);
  EXPECT_EQ(EllipsisText(Long, M, Max), Expected + "...");
  EXPECT_LE(M.horizontalAdvance(EllipsisText(Long, M, Max)), Max);
  EXPECT_EQ(EllipsisText("short", M, 1000), "short");

  const QString Path = "/home/someone/pictures/holidays/2024/beach.png";
  const QString Short = MinimizeName(Path, M, M.horizontalAdvance("/.../2024/beach.png"));
  EXPECT_EQ(Short, "/.../2024/beach.png");
  EXPECT_EQ(MinimizeName(Path, M, M.horizontalAdvance(".../beach.png")), ".../beach.png");
  EXPECT_EQ(MinimizeName(Path, M, 1), "beach.png");
  EXPECT_EQ(MinimizeName("C:/alphabet/b/c.txt", M, M.horizontalAdvance("C:/.../b/c.txt")), "C:/.../b/c.txt");
  EXPECT_EQ(MinimizeName(Path, M, 10000), Path);

  Edit->SetMinimizeText(true);
  Edit->resize(120, Edit->height());
  Edit->SetText(Path);
  EXPECT_TRUE(Edit->DisplayedText().startsWith("/.../"));
  EXPECT_TRUE(Edit->DisplayedText().endsWith("beach.png"));
  Edit->SetText(Long + Long);
  EXPECT_TRUE(Edit->DisplayedText().endsWith("..."));
  Edit->OnDisplayText = [](QObject*, QString& Text) { Text = "[" + Text + "]"; };
  EXPECT_TRUE(Edit->DisplayedText().startsWith("[A"));
}

} // namespace
