// File > Print from the main window: the dialog shows the active image and a
// cancelled print sends nothing (no real printer is reached).
#include "app/ui/MainForm.h"

#include "../support/WaitFor.h"
#include "MainFormFixture.h"
#include "extensions/ui/Impr.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class MainFormPrintTest : public MainFormFixture {};

TEST_F(MainFormPrintTest, PrintCommandShowsTheActiveImageAndCancelSendsNothing) {
  auto Form = Start();
  QAction* Print = Form->MenuItem("MenuFichierImprimer");
  ASSERT_NE(Print, nullptr);
  TBitmap B(120, 80, pf24bit, 0x00FF00);
  Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
  QCoreApplication::processEvents();
  Form->MenuFichierClick();
  EXPECT_TRUE(Print->isEnabled());
  QString Title, Prop;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(WaitUntil([] { return qobject_cast<TImprForm*>(QApplication::activeModalWidget()) != nullptr; }));
    auto* Dialog = qobject_cast<TImprForm*>(QApplication::activeModalWidget());
    Title = Dialog->windowTitle();
    Prop = Dialog->LblProp->text();
    QTest::mouseClick(Dialog->BAnnuler, Qt::LeftButton);
  });
  Print->trigger();
  EXPECT_TRUE(Title.startsWith("Imprimer - ")) << Title.toStdString();
  EXPECT_TRUE(Prop.startsWith("120 x 80 pixels")) << Prop.toStdString();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
