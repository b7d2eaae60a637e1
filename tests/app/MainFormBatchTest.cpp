#include "MainFormFixture.h"

#include "document/ui/ImgForm.h"
#include "extensions/BatchRun.h"
#include "extensions/ui/Auto.h"
#include "raster/ImgUtils.h"
#include "support/ImageCompare.h"
#include "support/WaitFor.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

class MainFormBatchTest : public MainFormFixture {
protected:
  // The dialog through Tools > Traitement par lots, on a source folder of
  // three pictures and an empty export folder.
  TAutoForm* OpenDialog(TMainForm& Form) {
    QDir().mkpath(Path("src"));
    QDir().mkpath(Path("out"));
    for (const char* Name : {"a.png", "b.png", "c.png"}) WritePng(QStringLiteral("src/") + Name, *Bands(20, 12));
    emit Form.MenuNamed("MenuOutils")->aboutToShow();
    QAction* Item = Form.MenuItem("MenuAutomatisation");
    EXPECT_TRUE(Item->isEnabled());
    Item->trigger();
    auto* Dialog = Form.findChild<TAutoForm*>();
    EXPECT_TRUE(Dialog && WaitUntil([Dialog] { return Dialog->isVisible(); }));
    if (!Dialog) return nullptr;
    Dialog->EdiDirSrc->SetText(Path("src"));
    Dialog->EdiDossierExport->SetText(Path("out"));
    Dialog->FillFileList();
    Dialog->CmbExportFormat->setCurrentIndex(bfPng);
    Dialog->PageControl->setCurrentWidget(Dialog->TshActions);
    EXPECT_EQ(Dialog->PageControl->currentWidget(), Dialog->TshActions);
    return Dialog;
  }
};

TEST_F(MainFormBatchTest, OkRunsTheBatchInABatchWindowAndShowsTheReport) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TAutoForm* Dialog = OpenDialog(*Form);
  ASSERT_NE(Dialog, nullptr);
  // Other commands wait while the dialog is open.
  EXPECT_EQ(Form->DialogueForm(), Dialog);
  Dialog->ChkSymetrie->setChecked(true);
  Dialog->BtnAction->click();

  EXPECT_TRUE(Dialog->isVisible());
  EXPECT_EQ(Dialog->PageControl->currentWidget(), Dialog->TshActions);
  EXPECT_TRUE(Dialog->MemRapport->toPlainText().endsWith("  - a.png\n  - b.png\n  - c.png\n\nTraitement terminé avec succès !"))
      << Dialog->MemRapport->toPlainText().toStdString();
  EXPECT_EQ(Form->windowTitle(), "Lumaretique 11");
  EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files), (QStringList{"a.png", "b.png", "c.png"}));
  // One batch window, showing the last image under its output name.
  ASSERT_TRUE(Form->UneImage());
  EXPECT_EQ(Form->NomFichier(), Path("out") + "/c.png");
  const PBitmap Expected = Bands(20, 12);
  FlipBitmapVertical(*Expected);
  EXPECT_IMAGES_MATCH(*Background(*Form), *Expected);
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();

  Dialog->close();
  EXPECT_EQ(Form->DialogueForm(), nullptr);
  EXPECT_EQ(ImageIOHook, nullptr);
}

TEST_F(MainFormBatchTest, AKeyDuringTheRunAsksToCancelAndTheWindowStaysOpen) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TAutoForm* Dialog = OpenDialog(*Form);
  ASSERT_NE(Dialog, nullptr);
  // While the first file runs: a close request (refused), then a key (the
  // question, answered Yes).
  QTimer::singleShot(0, Form.get(), [&Form] {
    ASSERT_TRUE(IsBatchRunning());
    Form->close();
    QWidget* Target = QApplication::focusWidget() ? QApplication::focusWidget() : Form.get();
    QTest::keyClick(Target, Qt::Key_A);
  });
  Messages.Answers = {mrOk, mrYes};
  Dialog->BtnAction->click();
  EXPECT_EQ(Messages.Shown, (QStringList{"Vous devez annuler le traitement par lots\ravant de quitter Lumaretique !",
                                         "Voulez-vous annuler le traitement par lots ?"}));
  EXPECT_TRUE(Form->isVisible());
  EXPECT_TRUE(Dialog->MemRapport->toPlainText().endsWith("Traitement interrompu !"));
  EXPECT_LT(QDir(Path("out")).entryList(QDir::Files).size(), 3);
  EXPECT_FALSE(IsBatchRunning());
  Dialog->close();
}

} // namespace
