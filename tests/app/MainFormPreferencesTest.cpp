// Tools > "Préférences..." and the Help items that open the help file and
// the web pages, from the real main window; and the preferences dialog's
// rules on a dialog of its own (module toolbar list, dependent controls).
#include "../support/WaitFor.h"
#include "MainFormFixture.h"
#include "app/ui/PrefForm.h"
#include "dialogs/ui/New.h"
#include "ui/ColorEdit.h"
#include "ui/DlgMain.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class MainFormPreferencesTest : public MainFormFixture {
protected:
  // Item triggered; Act runs on the preferences dialog once it shows
  // modally, and must close it.
  static void WithPrefs(QAction* Item, const std::function<void(TPrefForm&)>& Act) {
    bool Shown = false;
    QTimer::singleShot(0, [&] {
      ASSERT_TRUE(WaitUntil([] { return qobject_cast<TPrefForm*>(QApplication::activeModalWidget()) != nullptr; }));
      auto* Form = qobject_cast<TPrefForm*>(QApplication::activeModalWidget());
      Shown = true;
      Act(*Form);
      if (Form->isVisible()) Form->reject();
    });
    ASSERT_TRUE(Item->isEnabled());
    Item->trigger();
    EXPECT_TRUE(Shown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  QString IniValue(const QString& Section, const QString& Key) const {
    return TIniFile(State.MainIniFile).ReadString(Section, Key, "absent");
  }
};

TEST_F(MainFormPreferencesTest, MenuAndButtonOpenTheDialogOnTheCurrentValues) {
  auto Form = Start();
  QAction* Button = Form->ToolBar(1)->findChild<QAction*>("BtnParams");
  ASSERT_NE(Button, nullptr);
  Form->RefreshMenuStates();
  Form->UpdateToolButtonRules();
  for (QAction* Item : {Form->MenuItem("MenuParams"), Button}) {
    SCOPED_TRACE(Item->objectName().toStdString());
    WithPrefs(Item, [](TPrefForm& P) {
      EXPECT_EQ(P.windowTitle(), "Préférences");
      EXPECT_EQ(P.CmbPrefs->count(), TPrefForm::PageCount);
      EXPECT_EQ(P.CmbPrefs->itemText(0), "Dossiers");
      EXPECT_EQ(P.CmbPrefs->itemText(9), "Esthétique");
      // The defaults of a first start: history 12 shown as 24 per image,
      // a 20-pixel silver grid, the wheel zooming, dialogs remembered.
      EXPECT_EQ(P.TBHisto->Position(), 12);
      EXPECT_EQ(P.LblHisto->text(), "Historiques par image : 24");
      EXPECT_EQ(P.ColorEditGrid->Color(), clSilver);
      EXPECT_FALSE(P.CBZoomMolette->isChecked());
      EXPECT_TRUE(P.CBMemDialogParams->isChecked());
      EXPECT_TRUE(P.BResetDialog->isEnabled());
      EXPECT_TRUE(P.CBPlugins->isChecked());
      EXPECT_FALSE(P.CBSplashScreen->isChecked());
      EXPECT_EQ(P.CBSkins->itemText(0), TPrefForm::SystemStyleName);
      // No 8BF host library in the program folder.
      EXPECT_FALSE(P.PageControl->widget(TPrefForm::pg8bf)->isEnabled());
      QTest::mouseClick(P.BAnnuler, Qt::LeftButton);
    });
  }
}

TEST_F(MainFormPreferencesTest, OkWritesTheSettingsAndTheNextStartReadsThem) {
  {
    auto Form = Start();
    TBitmap B(40, 30, pf24bit, 0xFFFFFF);
    TNewImgForm* Window = Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    QCoreApplication::processEvents();
    WithPrefs(Form->MenuItem("MenuParams"), [](TPrefForm& P) {
      P.SETailleGrille->SetValue(35);
      P.TBHisto->SetPosition(24);
      EXPECT_EQ(P.LblHisto->text(), "Historiques par image : 48");
      P.CBZoomMolette->setChecked(true);
      P.CBSplashScreen->setChecked(true);
      P.CBRunMulti->setChecked(true);
      P.CBNumCalque->setChecked(true);
      P.ColorEditGrid->SetColor(RGB(0x12, 0x34, 0x56));
      P.CBSaveFormat->setChecked(true);
      P.CmbFormat->setCurrentIndex(1);
      QTest::mouseClick(P.BOk, Qt::LeftButton);
    });
    // At once in the window and its open image.
    EXPECT_EQ(Window->Image->GridWidth, 35);
    EXPECT_EQ(Window->Image->GridColor, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Form->Settings().NbHistoriques, 24);
    EXPECT_FALSE(Form->Settings().ZoomMolette);
    EXPECT_TRUE(Form->Settings().NumCalque);
    EXPECT_EQ(Form->Settings().SaveFormatIndex, 1);
  }
  // The value written is the setting, not the doubled count; the two
  // switches below are written inverted against their boxes.
  EXPECT_EQ(IniValue("Params", "History"), "24");
  EXPECT_EQ(IniValue("Params", "TrackBallZoom"), "0");
  EXPECT_EQ(IniValue("Params", "SplashScreen"), "0");
  EXPECT_EQ(IniValue("Params", "RunMulti"), "1");
  EXPECT_EQ(IniValue("Params", "ColorGrid"), "#123456");
  EXPECT_EQ(IniValue("Params", "GridCellSize"), "35");
  EXPECT_EQ(IniValue("Params", "SaveFormat"), "1");
  EXPECT_EQ(IniValue("Params", "Skin"), TPrefForm::SystemStyleName);
  EXPECT_EQ(IniValue("Plugins64", "LoadPlugins"), "1");

  auto Next = Start();
  EXPECT_EQ(Next->Settings().NbHistoriques, 24);
  EXPECT_FALSE(Next->Settings().ZoomMolette);
  EXPECT_TRUE(Next->Settings().NumCalque);
  EXPECT_EQ(Next->Settings().CouleurGrille, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(Next->Settings().SaveFormatIndex, 1);
  WithPrefs(Next->MenuItem("MenuParams"), [](TPrefForm& P) {
    EXPECT_TRUE(P.CBSplashScreen->isChecked());
    EXPECT_TRUE(P.CBRunMulti->isChecked());
    EXPECT_TRUE(P.CBZoomMolette->isChecked());
    EXPECT_TRUE(P.CBSaveFormat->isChecked());
    EXPECT_EQ(P.CmbFormat->currentIndex(), 1);
    QTest::mouseClick(P.BAnnuler, Qt::LeftButton);
  });
}

TEST_F(MainFormPreferencesTest, CancelChangesNothingAndTheNextShowingForgetsTheChange) {
  auto Form = Start();
  WithPrefs(Form->MenuItem("MenuParams"), [](TPrefForm& P) {
    P.TBHisto->SetPosition(3);
    P.CBLayerBounds->setChecked(false);
    P.CBRunMulti->setChecked(true);
    QTest::mouseClick(P.BAnnuler, Qt::LeftButton);
  });
  EXPECT_EQ(Form->Settings().NbHistoriques, 12);
  EXPECT_TRUE(Form->Settings().LimitesCalqueActif);
  EXPECT_EQ(IniValue("Params", "History"), "absent");
  EXPECT_EQ(IniValue("Params", "RunMulti"), "absent");
  WithPrefs(Form->MenuItem("MenuParams"), [](TPrefForm& P) {
    EXPECT_EQ(P.TBHisto->Position(), 12);
    EXPECT_TRUE(P.CBLayerBounds->isChecked());
    EXPECT_FALSE(P.CBRunMulti->isChecked());
    QTest::mouseClick(P.BAnnuler, Qt::LeftButton);
  });
}

TEST_F(MainFormPreferencesTest, TheEightBfPageIsOpenWhenTheHostLibraryIsThere) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins_64"));
  ASSERT_TRUE(QFile::copy(LUMA_8BF_HOST, Path("Plugins_64/8bf_64.lml")));
  auto Form = Start();
  WithPrefs(Form->MenuItem("MenuParams"), [](TPrefForm& P) {
    EXPECT_TRUE(P.PageControl->widget(TPrefForm::pg8bf)->isEnabled());
    EXPECT_TRUE(P.RB8bfRGB->isChecked());
    P.RB8bfRGBA->setChecked(true);
    QTest::mouseClick(P.BOk, Qt::LeftButton);
  });
  EXPECT_EQ(Form->Settings().PS8bfMode, 1);
  EXPECT_EQ(IniValue("Plugins64", "8bfMode"), "1");
}

TEST_F(MainFormPreferencesTest, ChangingTheImageUnitRemakesTheSizeDialogsButThePrintUnitAloneDoesNot) {
  auto Form = Start();
  const auto NewDialogs = [&] { return Form->findChildren<TNewForm*>().size(); };
  const auto OpenNewDialog = [&] {
    Form->MenuItem("MenuFichierNouveau")->trigger();
    ASSERT_TRUE(WaitUntil([&] { return NewDialogs() == 1 && Form->findChild<TNewForm*>()->isVisible(); }));
    Form->findChild<TNewForm*>()->reject();
    ASSERT_TRUE(WaitUntil([&] { return !Form->findChild<TNewForm*>()->isVisible(); }));
  };
  OpenNewDialog();
  const auto Choose = [](QComboBox* List, int Index) {
    List->setCurrentIndex(Index);
    emit List->activated(Index);
  };
  WithPrefs(Form->MenuItem("MenuParams"), [&](TPrefForm& P) {
    Choose(P.LstUnitPrn, 1);
    EXPECT_TRUE(P.FlagUnitPrn);
    EXPECT_FALSE(P.FlagUnitImage);
    QTest::mouseClick(P.BOk, Qt::LeftButton);
  });
  EXPECT_EQ(Form->Settings().UniteDefautPrn, 1);
  EXPECT_EQ(NewDialogs(), 1);
  WithPrefs(Form->MenuItem("MenuParams"), [&](TPrefForm& P) {
    // Each showing starts with both flags cleared.
    EXPECT_FALSE(P.FlagUnitPrn);
    Choose(P.LstUnit, 2);
    QTest::mouseClick(P.BOk, Qt::LeftButton);
  });
  EXPECT_EQ(Form->Settings().UniteDefaut, 2);
  EXPECT_EQ(IniValue("Params", "ImageUnit"), "2");
  EXPECT_TRUE(WaitUntil([&] { return NewDialogs() == 0; }));
  OpenNewDialog();
}

// ---- Help

class MainFormHelpTest : public MainFormFixture {
protected:
  QStringList Opened;
  std::unique_ptr<TMainForm> StartWithOpener() {
    auto Form = Start();
    Form->ShellOpener = [this](const QString& Target) { Opened << Target; };
    return Form;
  }
  void Touch(const QString& Name) {
    QFile File(Path(Name));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  }
};

TEST_F(MainFormHelpTest, InformationsOpensTheHelpFileElseItsPageElseSaysItIsMissing) {
  auto Form = StartWithOpener();
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  QAction* Help = Form->MenuItem("MenuAideInfos");
  EXPECT_EQ(Help->shortcut(), QKeySequence(Qt::Key_F1));
  TriggerItem(*Form, Help, "MenuAideInfos");
  EXPECT_TRUE(Opened.isEmpty());
  EXPECT_EQ(Messages.Shown, QStringList{"Le fichier est introuvable !"});

  Touch("Lumaretique11.htm");
  TriggerItem(*Form, Help, "MenuAideInfos");
  Touch("Lumaretique11.chm");
  TriggerItem(*Form, Help, "MenuAideInfos");
  EXPECT_EQ(Opened, (QStringList{Path("Lumaretique11.htm"), Path("Lumaretique11.chm")}));
  EXPECT_EQ(Messages.Shown.size(), 1);
}

TEST_F(MainFormHelpTest, WebSiteAndForumOpenTheirAddresses) {
  auto Form = StartWithOpener();
  TriggerItem(*Form, Form->MenuItem("MenuAideWeb"), "MenuAideWeb");
  TriggerItem(*Form, Form->MenuItem("MenuAideForum"), "MenuAideForum");
  ASSERT_EQ(Opened.size(), 2);
  EXPECT_TRUE(Opened[0].startsWith("https://"));
  EXPECT_TRUE(Opened[1].startsWith(Opened[0]));
  EXPECT_NE(Opened[0], Opened[1]);
}

// ---- The dialog's own rules, on a dialog of its own

class PrefFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    Sources.MainIniFile = Dir.path() + "/Lumaretique.ini";
    for (int I = 1; I <= 25; ++I)
      Sources.Modules.push_back({QStringLiteral("/modules/sub/mod%1.lml").arg(I), QStringLiteral("Module %1").arg(I)});
  }
  std::unique_ptr<TPrefForm> Make() {
    auto Form = std::make_unique<TPrefForm>(Sources);
    Form->Settings = &Settings;
    Form->FormShow();
    return Form;
  }
  QString Value(const QString& Key) const {
    return TIniFile(Sources.MainIniFile).ReadString("Plugins64", Key, "absent");
  }
  static void CheckModules(TPrefForm& Form, int Count) {
    for (int I = 0; I < Form.LstPlgPerso->count(); ++I)
      Form.LstPlgPerso->item(I)->setCheckState(I < Count ? Qt::Checked : Qt::Unchecked);
  }
  QTemporaryDir Dir;
  TPrefSources Sources;
  TMainSettings Settings;
};

TEST_F(PrefFormTest, TheModuleToolbarListKeepsTwentyAndDeletesTheKeysPastTheList) {
  auto Form = Make();
  ASSERT_EQ(Form->LstPlgPerso->count(), 25);
  EXPECT_EQ(Form->LstPlgPerso->item(0)->text(), "Module 1");
  CheckModules(*Form, 25);
  Form->SavePreferences();
  EXPECT_EQ(Value("Plugin1"), "mod1.lml");
  EXPECT_EQ(Value("Plugin20"), "mod20.lml");
  EXPECT_EQ(Value("Plugin21"), "absent");

  CheckModules(*Form, 3);
  Form->SavePreferences();
  EXPECT_EQ(Value("Plugin3"), "mod3.lml");
  for (int I = 4; I <= 20; ++I) EXPECT_EQ(Value(QStringLiteral("Plugin%1").arg(I)), "absent") << I;

  // The next showing checks what the file lists, whatever the case.
  TIniFile Ini(Sources.MainIniFile);
  Ini.WriteString("Plugins64", "Plugin1", "MOD7.LML");
  Ini.DeleteKey("Plugins64", "Plugin2");
  Ini.UpdateFile();
  Form->FormShow();
  for (int I = 0; I < 25; ++I)
    EXPECT_EQ(Form->LstPlgPerso->item(I)->checkState() == Qt::Checked, I == 2 || I == 6) << I;
}

TEST_F(PrefFormTest, DependentControlsFollowTheirSwitches) {
  Settings.OuvrirDir = "/pictures/in";
  Settings.EnregistrerDir = "/pictures/out";
  Settings.UniteGrille = 1;
  Settings.SaveFormatIndex = -1;
  auto Form = Make();
  // A grid in centimetres has no cell size in pixels; no default format.
  EXPECT_FALSE(Form->SETailleGrille->isEnabled());
  EXPECT_FALSE(Form->CmbFormat->isEnabled());
  Form->CBSaveFormat->click();
  EXPECT_TRUE(Form->CmbFormat->isEnabled());
  // One folder for both: the saving field takes the opening one and is locked.
  EXPECT_TRUE(Form->EdiDirEnregistrer->isEnabled());
  Form->CBUniqueDir->click();
  EXPECT_FALSE(Form->EdiDirEnregistrer->isEnabled());
  EXPECT_FALSE(Form->SBEnregistrer->isEnabled());
  EXPECT_EQ(Form->EdiDirEnregistrer->Text(), "/pictures/in");
  Form->CBMemDialogParams->click();
  EXPECT_FALSE(Form->BResetDialog->isEnabled());
  Form->SavePreferences();
  EXPECT_TRUE(Settings.UniqueDir);
  EXPECT_EQ(Settings.EnregistrerDir, "/pictures/in");
  EXPECT_EQ(Settings.SaveFormatIndex, 0);
  EXPECT_FALSE(Settings.DialogParams);
}

TEST_F(PrefFormTest, PickingTheOpeningFolderLocksTheFoldersAndFillsTheSavingOneWhenUnique) {
  Settings.UniqueDir = true;
  auto Form = Make();
  const QString Picked = Dir.path();
  QString Title;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(WaitUntil([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; }));
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    Title = Dialog->windowTitle();
    Dialog->setDirectory(Picked);
    QMetaObject::invokeMethod(Dialog, "accept");
  });
  EXPECT_FALSE(Form->CBVerrouiller->isChecked());
  Form->SBOuvrir->click();
  EXPECT_EQ(Title, "Dossier d'ouverture :");
  EXPECT_EQ(Form->EdiDirOuvrir->Text(), Picked);
  EXPECT_EQ(Form->EdiDirEnregistrer->Text(), Picked);
  EXPECT_TRUE(Form->CBVerrouiller->isChecked());
}

TEST_F(PrefFormTest, ArrowButtonsStepThroughThePagesAndWrap) {
  auto Form = Make();
  Form->BtnPrevClick();
  EXPECT_EQ(Form->PageControl->currentIndex(), TPrefForm::pgStyle);
  Form->BtnNextClick();
  EXPECT_EQ(Form->PageControl->currentIndex(), TPrefForm::pgFolders);
  Form->BtnNextClick();
  EXPECT_EQ(Form->CmbPrefs->currentIndex(), TPrefForm::pgFile);
  EXPECT_EQ(Form->PageControl->currentIndex(), TPrefForm::pgFile);
}

TEST_F(PrefFormTest, ResetDeletesTheDialogSettingsFileOnlyOnYes) {
  const QString Previous = DialogsIniFile;
  SetDialogsIniFile(Sources.MainIniFile);
  {
    QFile File(DialogsIniFile);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  }
  TMessages Messages;
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Make();
  Messages.Answers = {mrNo, mrYes};
  Form->BResetDialog->click();
  EXPECT_TRUE(QFile::exists(DialogsIniFile));
  Form->BResetDialog->click();
  EXPECT_FALSE(QFile::exists(DialogsIniFile));
  ASSERT_EQ(Messages.Shown.size(), 2);
  EXPECT_TRUE(Messages.Shown[0].startsWith("Voulez-vous supprimer le fichier de sauvegarde des paramètres ?\r("));
  DialogsIniFile = Previous;
}

} // namespace
