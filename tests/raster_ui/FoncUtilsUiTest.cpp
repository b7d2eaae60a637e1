#include "raster/ui/FoncUtils.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class TQtEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    if (!qApp) App = new QApplication(Argc, Argv);
  }
  void TearDown() override { delete App; }

private:
  int Argc = 1;
  char Name[16] = "test_raster_ui";
  char* Argv[2] = {Name, nullptr};
  QApplication* App = nullptr;
};

[[maybe_unused]] const auto* const Environment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

TEST(FoncUtilsUi, EnableWithChildrenVisitsDirectChildrenOnly) {
  QGroupBox Box;
  auto* A = new QCheckBox(&Box);
  auto* B = new QPushButton(&Box);
  auto* Inner = new QGroupBox(&Box);
  auto* Grandchild = new QCheckBox(Inner);
  EnableWithChildren(&Box, false);
  EXPECT_FALSE(Box.isEnabled());
  // Each direct child is disabled in its own right, not only through its parent.
  for (QWidget* W : {static_cast<QWidget*>(A), static_cast<QWidget*>(B), static_cast<QWidget*>(Inner)})
    EXPECT_TRUE(W->testAttribute(Qt::WA_ForceDisabled));
  EXPECT_FALSE(Grandchild->testAttribute(Qt::WA_ForceDisabled));
  EnableWithChildren(&Box, true);
  EXPECT_TRUE(A->isEnabled());
  EXPECT_TRUE(Grandchild->isEnabled());
  EnableWithChildren(nullptr, true);
}

TEST(FoncUtilsUi, MenuItems) {
  QMenu Menu;
  QList<QAction*> Items;
  for (int I = 0; I < 7; ++I) {
    Items << Menu.addAction(QString::number(I));
    Items.back()->setCheckable(true);
  }
  QMenu* Sub = Menu.addMenu(QStringLiteral("sub"));
  QAction* SubItem = Sub->addAction(QStringLiteral("inner"));
  EXPECT_EQ(GetCheckedSubItem(&Menu), nullptr);
  Items[5]->setChecked(true);
  Items[2]->setChecked(true);
  EXPECT_EQ(GetCheckedSubItem(&Menu), Items[2]);
  EXPECT_EQ(GetCheckedSubItem(nullptr), nullptr);

  EnableSubItems(&Menu, false);
  for (QAction* A : Items) EXPECT_FALSE(A->isEnabled());
  EXPECT_FALSE(Sub->menuAction()->isEnabled());
  EXPECT_TRUE(SubItem->isEnabled());
  EnablePopupItems(&Menu, true);
  for (QAction* A : Items) EXPECT_TRUE(A->isEnabled());
  EXPECT_TRUE(Sub->menuAction()->isEnabled());
}

TEST(FoncUtilsUi, ScreenCursor) {
  EXPECT_EQ(ScreenCursor(crHourGlass).shape(), Qt::WaitCursor);
  EXPECT_EQ(ScreenCursor(crHandPoint).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(ScreenCursor(12345).shape(), Qt::ArrowCursor);
  QPixmap Image(16, 16);
  Image.fill(Qt::red);
  RegisterScreenCursor(1, QCursor(Image, 3, 4));
  EXPECT_EQ(ScreenCursor(1).shape(), Qt::BitmapCursor);
  EXPECT_EQ(ScreenCursor(1).hotSpot(), QPoint(3, 4));

  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  SetScreenCursor(crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  SetScreenCursor(crCross);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  SetScreenCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  SetScreenCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
