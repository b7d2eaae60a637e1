#include "MainFormFixture.h"

#include "files/ui/Icon.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

class MainFormIconExportTest : public MainFormFixture {
protected:
  void Trigger(TMainForm& Form) {
    emit Form.MenuNamed("MenuOutils")->aboutToShow();
    QAction* Item = Form.MenuItem("MenuExportIcone");
    ASSERT_TRUE(Item->isEnabled());
    Item->trigger();
  }
};

TEST_F(MainFormIconExportTest, TheCommandNeedsOneLayerAndShowsTheDialogOverTheFrame) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TMyImageLayered Doc;
  Doc.AddBackground(30, 20, clWhite, "#0");
  Doc.AddLayer(5, 5, clRed, {1, 1}, 100, "Rouge");
  Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  Trigger(*Form);
  EXPECT_EQ(Messages.Shown, QStringList{"Vous devez fusionner tous les calques avant de continuer !"});
  EXPECT_EQ(Form->findChild<TIconForm*>(), nullptr);

  Form->Image().MergeLayersWithBkg(false);
  Trigger(*Form);
  auto* Dialog = Form->findChild<TIconForm*>();
  ASSERT_NE(Dialog, nullptr);
  ASSERT_TRUE(WaitUntil([Dialog] { return Dialog->isVisible(); }));
  EXPECT_EQ(Dialog->LstSize->currentRow(), 1);
  EXPECT_FALSE(Dialog->cb16M->isEnabled()) << "a true-colour image";
  EXPECT_FALSE(Form->menuBar()->isEnabled()) << "the frame waits while the dialog is open";
  Dialog->close();
  ASSERT_TRUE(WaitUntil([Dialog] { return !Dialog->isVisible(); }));
  Trigger(*Form);
  EXPECT_EQ(Form->findChildren<TIconForm*>().size(), 1) << "made once and kept";
  Form->findChild<TIconForm*>()->close();
}

} // namespace
