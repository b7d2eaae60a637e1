#include "MainFormFixture.h"

#include "extensions/ui/GifAnim.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace {

class MainFormGifAnimTest : public MainFormFixture {
protected:
  void Trigger(TMainForm& Form) {
    emit Form.MenuNamed("MenuOutils")->aboutToShow();
    QAction* Item = Form.MenuItem("MenuGifAnim");
    ASSERT_TRUE(Item->isEnabled());
    Item->trigger();
  }
};

TEST_F(MainFormGifAnimTest, TheCommandNeedsSeveralLayersAndShowsTheLayersOfTheActiveImage) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TMyImageLayered Doc;
  Doc.AddBackground(30, 20, clWhite, "#0");
  Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  Trigger(*Form);
  EXPECT_EQ(Messages.Shown, QStringList{"Cette fonction nécessite plusieurs calques !"});
  EXPECT_EQ(Form->findChild<TGifAnimForm*>(), nullptr);

  Form->Image().AddLayer(5, 5, clRed, {1, 1}, 100, "Rouge");
  Trigger(*Form);
  auto* Dialog = Form->findChild<TGifAnimForm*>();
  ASSERT_NE(Dialog, nullptr);
  ASSERT_TRUE(WaitUntil([Dialog] { return Dialog->isVisible(); }));
  EXPECT_EQ(Dialog->CmbImages->count(), 2);
  EXPECT_EQ(Dialog->CmbImages->itemText(1), "1 : Rouge");
  EXPECT_EQ(Messages.Shown.size(), 1);
  Dialog->close();
}

} // namespace
