#include "extensions/ui/Auto.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/Copyright.h"
#include "document/MyImageLayered.h"
#include "files/BmpOE2.h"
#include "platform/IniFile.h"
#include "support/MsgAnswers.h"
#include "support/WaitFor.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TFakeAutoHost : public TAutoHost {
public:
  QStringList Calls;
  std::unique_ptr<TMyImageLayered> Doc;
  void BeginBatchDialog(QWidget*) override { Calls << "begin"; }
  void EndBatchDialog() override { Calls << "end"; }
  void OpenBatchWindow(const TBitmap& Bitmap, const QString&) override {
    Doc = std::make_unique<TMyImageLayered>();
    Doc->AddBitmapAsBackground(Bitmap, "Fond");
  }
  TMyImageLayered* BatchDocument() override { return Doc.get(); }
  void SetNomFichier(const QString&) override {}
  void TailleChangee() override {}
  void RefreshBitmap() override {}
  void AfficherInfos() override {}
  void SetMainCaption(const QString&) override {}
  QString TitreMenu(const QString&) const override { return {}; }
  QString SelectPatternFile() override { return {}; }
};

class AutoFormTest : public ::testing::Test {
protected:
  QTemporaryDir Dir;
  TFakeAutoHost Host;
  TMessages Answers;
  std::unique_ptr<TScopedMsgDlgAnswers> Scope;

  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    DialogParams = true;
    DialogsIniFile = Dir.path() + "/LumaretiqueDialogs.ini";
    Scope = std::make_unique<TScopedMsgDlgAnswers>(Answers.Provider());
    QDir().mkpath(Dir.path() + "/src");
    QDir().mkpath(Dir.path() + "/out");
    for (const char* Name : {"a.png", "b.jpg", "c.png"}) {
      QFile F(Dir.path() + "/src/" + Name);
      ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    }
  }
  void TearDown() override {
    DialogParams = false;
    DialogsIniFile.clear();
  }
  std::unique_ptr<TAutoForm> Shown() {
    auto Form = std::make_unique<TAutoForm>(Host);
    Form->show();
    EXPECT_TRUE(WaitUntil([&Form] { return Form->isVisible(); }));
    return Form;
  }
  void ChooseFolders(TAutoForm& F) {
    F.EdiDirSrc->SetText(Dir.path() + "/src");
    F.EdiDossierExport->SetText(Dir.path() + "/out");
    F.FillFileList();
  }
};

TEST_F(AutoFormTest, SavedSettingsComeBackAndClosingKeepsOnlyThePlace) {
  {
    auto F = Shown();
    EXPECT_EQ(Host.Calls, QStringList{"begin"});
    ChooseFolders(*F);
    Answers.Typed = {"*.png"};
    F->SBFiltre->click();
    EXPECT_EQ(F->CmbFilter->count(), 1);
    EXPECT_EQ(F->CmbFilter->itemText(0), "Filtre personnalisé (*.png)");
    EXPECT_EQ(F->FileListBox->count(), 2);
    F->ChkRedim->setChecked(true);
    F->CmbUnite->setCurrentIndex(1);
    F->ChkZoneTravail->setChecked(true);
    F->Anchors->Button(7)->click();
    F->CmbExportFormat->setCurrentIndex(bfPng);
    F->EdiSequence->setText("Photo");
    F->CopyrightForm->EdiCopyright->setText("(c) moi");
    Answers.Answers = {mrYes};
    F->BtnParams->click();
    // Not saved: only the place is written when the dialog closes.
    F->ChkCadre->setChecked(true);
    F->close();
    EXPECT_EQ(Host.Calls, (QStringList{"begin", "end"}));
  }
  EXPECT_EQ(TIniFile(DialogsIniFile).ReadString("AutoForm", "$Var0", ""), "7");
  EXPECT_EQ(TIniFile(DialogsIniFile).ReadString("AutoForm", "$Var1", ""), "*.png");

  auto F = Shown();
  EXPECT_EQ(F->EdiDirSrc->Text(), Dir.path() + "/src");
  EXPECT_EQ(F->CmbFilter->itemText(0), "Filtre personnalisé (*.png)");
  EXPECT_EQ(F->FileListBox->count(), 2);
  EXPECT_TRUE(F->ChkRedim->isChecked());
  EXPECT_EQ(F->CmbUnite->currentIndex(), 1);
  EXPECT_FALSE(F->ChkCadre->isChecked());
  EXPECT_EQ(F->Anchors->Position(), poCenterBottom);
  EXPECT_EQ(F->LblExemple->text(), "Exemple : Photo0001.png");
  EXPECT_EQ(F->CopyrightForm->Text(), "(c) moi");
  // A missing anchor value selects the centre.
  F->SetIniCustomVar(0, "x");
  EXPECT_EQ(F->Anchors->Position(), poCenter);
}

TEST_F(AutoFormTest, ControlRules) {
  auto F = Shown();
  // Percent: both sizes 100, at most 500; back to pixels: the designed size.
  F->ChkRedim->setChecked(true);
  F->SELargeurImage->SetValue(1234);
  F->CmbUnite->setCurrentIndex(1);
  EXPECT_EQ(F->SELargeurImage->Value(), 100);
  EXPECT_EQ(F->SEHauteurImage->Value(), 100);
  F->SELargeurImage->SetValue(800);
  EXPECT_EQ(F->SELargeurImage->Value(), 500);
  EXPECT_EQ(F->SEHauteurImage->Value(), 500); // proportions kept
  F->CmbUnite->setCurrentIndex(0);
  EXPECT_EQ(F->SELargeurImage->Value(), 800);
  EXPECT_EQ(F->SEHauteurImage->Value(), 600);

  // The shadow size needs the canvas too.
  F->ChkOmbre->setChecked(true);
  EXPECT_FALSE(F->SELargeurOmbre->isEnabled());
  F->ChkZoneTravail->setChecked(true);
  EXPECT_TRUE(F->SELargeurOmbre->isEnabled());

  // PNG: the colour list in place of the quality bar.
  EXPECT_TRUE(F->TrbCompress->isVisibleTo(F.get()));
  F->CmbExportFormat->setCurrentIndex(bfPng);
  EXPECT_FALSE(F->TrbCompress->isVisibleTo(F.get()));
  EXPECT_TRUE(F->CmbNbCouleurs->isVisibleTo(F.get()));
  F->CmbNbCouleurs->setCurrentIndex(2);
  EXPECT_EQ(F->BatchSettings().ColorCountIndex, 2);
  F->CmbExportFormat->setCurrentIndex(bfJpeg);
  EXPECT_EQ(F->BatchSettings().ColorCountIndex, 0);

  // Destroyed while shown (with the main window), it takes its hook along.
  EXPECT_TRUE(bool(ImageIOHook));
  F.reset();
  EXPECT_FALSE(bool(ImageIOHook));
}

TEST_F(AutoFormTest, PagesNeedFilesAndAnExportFolderAndTheSummarySaysWhatWillRun) {
  auto F = Shown();
  F->PageControl->setCurrentWidget(F->TshImage);
  EXPECT_EQ(F->PageControl->currentWidget(), F->TshFichiers);
  EXPECT_EQ(Answers.Shown.last(), "Aucun fichier à traiter !");
  F->EdiDirSrc->SetText(Dir.path() + "/src");
  F->FillFileList();
  F->PageControl->setCurrentWidget(F->TshImage);
  EXPECT_EQ(Answers.Shown.last(), "Le dossier d'export n'est pas défini !");

  // The same folder twice: one warning, and the user may go on.
  F->EdiDossierExport->SetText(Dir.path() + "/src/");
  F->PageControl->setCurrentWidget(F->TshImage);
  EXPECT_EQ(F->PageControl->currentWidget(), F->TshImage);
  EXPECT_TRUE(Answers.Shown.last().startsWith("Les dossiers source et destination sont identiques."));
  const qsizetype Count = Answers.Shown.size();
  F->PageControl->setCurrentWidget(F->TshFichiers);
  F->PageControl->setCurrentWidget(F->TshImage);
  EXPECT_EQ(Answers.Shown.size(), Count);

  F->CmbExportFormat->setCurrentIndex(bfPng);
  F->CmbNbCouleurs->setCurrentIndex(2);
  F->ChkNegatif->setChecked(true);
  F->ChkSepia->setChecked(true);
  F->TrbLuminosite->SetPosition(20);
  F->CmbCoucheLum->setCurrentIndex(3);
  F->PageControl->setCurrentWidget(F->TshActions);
  const QStringList Lines = F->MemRapport->toPlainText().split('\n');
  EXPECT_EQ(Lines.mid(1, 4), (QStringList{"- 3 images", "", "Dossier d'export : " + Dir.path() + "/src/",
                                          "- Format d'export : PNG (*.png)"}));
  EXPECT_EQ(Lines[5], "- 16 couleurs");
  EXPECT_TRUE(Lines.contains("- Luminosité : 20% (Bleu)")) << F->MemRapport->toPlainText().toStdString();
  const qsizetype Filters = Lines.indexOf("Filtre :");
  ASSERT_GT(Filters, 0);
  EXPECT_EQ(Lines.mid(Filters + 1, 2), (QStringList{"- Négatif", "- Sépia"}));
}

TEST_F(AutoFormTest, CustomSelectionProcessesOnlyTheSelectedFiles) {
  auto F = Shown();
  ChooseFolders(*F);
  F->CBSelPerso->setChecked(true);
  F->FileListBox->item(2)->setSelected(true);
  F->SyncFiles();
  EXPECT_EQ(F->Files.BatchFileCount(), 1);
  EXPECT_EQ(F->Files.NextFileName(), "c.png");
  // Without it the list selects nothing.
  F->CBSelPerso->setChecked(false);
  EXPECT_TRUE(F->FileListBox->selectedItems().isEmpty());
}

} // namespace
