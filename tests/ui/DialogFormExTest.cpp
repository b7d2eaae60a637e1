#include "ui/DialogFormEx.h"

#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(DialogFormExTest, FontColoursAndOwner) {
  QWidget Main;
  SetMainFormWindow(&Main);
  TDialogFormEx Form;
  EXPECT_EQ(Form.parentWidget(), &Main); // owned by the main window
  EXPECT_TRUE(Form.isWindow());
  EXPECT_EQ(Form.font().family(), DialogFontName());
  EXPECT_EQ(Form.font().pixelSize(), PointsToPixels(DialogFontSize(), 3));
  EXPECT_EQ(Form.palette().color(QPalette::Window), ToQColor(clDlgWindow));
  EXPECT_EQ(Form.palette().color(QPalette::WindowText), ToQColor(clDlgText));
  SetMainFormWindow(nullptr);
  TDialogFormEx Free;
  EXPECT_EQ(Free.parentWidget(), nullptr);
}

TEST(DialogFormExTest, LabelsMoveUpOnceAboveNinetySixDpi) {
  EXPECT_EQ(TDialogFormEx::LabelShift(96), 0);
  EXPECT_EQ(TDialogFormEx::LabelShift(120), 1);
  EXPECT_EQ(TDialogFormEx::LabelShift(144), 2);
  EXPECT_EQ(TDialogFormEx::LabelShift(192), 5);
  SetScreenPixelsPerInch(144);
  TDialogFormEx Form;
  auto* Placed = new QLabel("placed", &Form);
  Placed->move(10, 20);
  auto* Box = new QWidget(&Form);
  Box->setGeometry(0, 40, 200, 40);
  auto* Laid = new QLabel("laid out", Box);
  auto* Layout = new QVBoxLayout(Box);
  Layout->addWidget(Laid);
  Form.show();
  EXPECT_EQ(Placed->y(), 18);
  const int LaidY = Laid->y();
  Form.hide();
  Form.show();
  EXPECT_EQ(Placed->y(), 18); // once only
  EXPECT_EQ(Laid->y(), LaidY);
  SetScreenPixelsPerInch(96);
}

} // namespace
