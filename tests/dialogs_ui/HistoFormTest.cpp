// Edit > History: the list of the image's steps, a jump to any row by undo
// or redo steps, the row of the present state, and the list copied as text.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Histo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>

namespace {

class HistoFormTest : public ImageDialogFixture {
protected:
  THistoForm* OpenHisto() { return Open<THistoForm>("MenuEditionHistoriques", "MenuEdition"); }
  void Blur() {
    emit Form->MenuNamed(QStringLiteral("MenuFiltre"))->aboutToShow();
    Form->MenuItem(QStringLiteral("MenuFiltreFlou"))->trigger();
  }
  static QStringList Rows(const THistoForm& D) {
    QStringList R;
    for (int I = 0; I < D.List->count(); ++I) R << D.List->item(I)->text();
    return R;
  }
};

TEST_F(HistoFormTest, JumpsByUndoAndRedoStepsAndCopiesItsRows) {
  OpenImage(20, 20, true);
  std::vector<std::unique_ptr<TBitmap>> States;
  for (int I = 0; I < 5; ++I) {
    Blur();
    States.push_back(std::make_unique<TBitmap>());
    States.back()->Assign(Form->LeFond());
  }
  THistoForm* D = OpenHisto();
  ASSERT_TRUE(D);
  const QStringList Expected{"<Aucun>", "Flou", "Flou", "Flou", "Flou", "Flou"};
  EXPECT_EQ(Rows(*D), Expected);
  EXPECT_EQ(D->FUndoIndex, 5);
  EXPECT_EQ(D->List->currentRow(), 5);
  EXPECT_FALSE(D->BUndoRedo->isEnabled());

  D->List->setCurrentRow(2);
  EXPECT_EQ(D->BUndoRedo->text(), QStringLiteral("Défaire"));
  ASSERT_TRUE(D->BUndoRedo->isEnabled());
  Click(D->BUndoRedo);
  EXPECT_EQ(UndoSteps(), 2);
  EXPECT_EQ(D->FUndoIndex, 2);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *States[1]);
  EXPECT_FALSE(D->BUndoRedo->isEnabled());

  D->List->setCurrentRow(5);
  EXPECT_EQ(D->BUndoRedo->text(), QStringLiteral("Refaire"));
  Click(D->BUndoRedo);
  EXPECT_EQ(UndoSteps(), 5);
  EXPECT_IMAGES_MATCH(Form->LeFond(), *States[4]);

  // Row 0 undoes every kept change.
  D->List->setCurrentRow(0);
  Click(D->BUndoRedo);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);

  Click(D->BCopy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("<Aucun>\nFlou\nFlou\nFlou\nFlou\nFlou\n"));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  // The list follows the image at the next show.
  D = OpenHisto();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->FUndoIndex, 0);
  EXPECT_EQ(D->List->currentRow(), 0);
  Click(D->BOk);
}

TEST_F(HistoFormTest, AnImageWithoutStepsShowsOnlyTheFirstRow) {
  OpenImage(10, 10);
  emit Form->MenuNamed(QStringLiteral("MenuEdition"))->aboutToShow();
  EXPECT_FALSE(Form->MenuItem(QStringLiteral("MenuEditionHistoriques"))->isEnabled());
  Blur();
  Undo();
  THistoForm* D = OpenHisto();
  ASSERT_TRUE(D);
  EXPECT_EQ(Rows(*D), (QStringList{"<Aucun>", "Flou"}));
  EXPECT_EQ(D->FUndoIndex, 0);
  EXPECT_FALSE(D->BUndoRedo->isEnabled());
  D->List->setCurrentRow(1);
  EXPECT_EQ(D->BUndoRedo->text(), QStringLiteral("Refaire"));
  Click(D->BOk);
}

} // namespace
