// File > Print from the main window: the dialog shows the active image and a
// cancelled print sends nothing (no real printer is reached).
#include "app/ui/MainForm.h"

#include "../support/WaitFor.h"
#include "MainFormFixture.h"
#include "extensions/ui/Impr.h"
#include "files/ui/Annuler.h"
#include "ui/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class MainFormPrintTest : public MainFormFixture {};

// Watches the print wait box: whether it showed, and a click on its Cancel
// as soon as the sender handles messages, when asked.
class TWaitBoxWatch final : public QObject {
public:
  explicit TWaitBoxWatch(bool Cancel) : FCancel(Cancel) { qApp->installEventFilter(this); }
  ~TWaitBoxWatch() override { qApp->removeEventFilter(this); }
  bool Shown = false;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    auto* Box = qobject_cast<TAnnulerForm*>(Watched);
    if (Box && Event->type() == QEvent::Show) {
      Shown = true;
      if (FCancel) QTimer::singleShot(0, Box, [Box] { QTest::mouseClick(Box->BAnnuler, Qt::LeftButton); });
    }
    return false;
  }

private:
  bool FCancel;
};

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

TEST_F(MainFormPrintTest, TheWaitBoxShowsWhileSendingAndItsCancelLeavesNoPrint) {
  auto Form = Start();
  TBitmap B(120, 80, pf24bit, 0x00FF00);
  Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
  QCoreApplication::processEvents();
  const QString Pdf = Path("print.pdf");
  for (const bool Cancel : {false, true}) {
    SCOPED_TRACE(Cancel ? "cancelled" : "sent");
    QFile::remove(Pdf);
    TWaitBoxWatch Watch(Cancel);
    QTimer::singleShot(0, [&] {
      ASSERT_TRUE(WaitUntil([] { return qobject_cast<TImprForm*>(QApplication::activeModalWidget()) != nullptr; }));
      auto* Dialog = qobject_cast<TImprForm*>(QApplication::activeModalWidget());
      // The printer set-up chooses a PDF file: no real printer is reached.
      Dialog->RunPrinterSetup = [&Pdf](QPrinter& P) {
        P.setOutputFormat(QPrinter::PdfFormat);
        P.setOutputFileName(Pdf);
        return true;
      };
      QTest::mouseClick(Dialog->BConfigurer, Qt::LeftButton);
      Dialog->SECopies->setFocus();
      Dialog->SECopies->selectAll();
      QTest::keyClicks(Dialog->SECopies, "3");
      QTest::mouseClick(Dialog->BImprimer, Qt::LeftButton);
    });
    Form->MenuItem("MenuFichierImprimer")->trigger();
    EXPECT_TRUE(Watch.Shown);
    auto* Box = Form->findChild<TAnnulerForm*>();
    ASSERT_NE(Box, nullptr);
    EXPECT_FALSE(Box->isVisible());
    EXPECT_EQ(QFile::exists(Pdf), !Cancel);
    EXPECT_EQ(Box->Flag(), Cancel ? -1 : 0);
  }
}

} // namespace
