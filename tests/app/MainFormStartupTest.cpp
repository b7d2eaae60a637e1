#include "app/ui/Cursors.h"
#include "app/ui/MainForm.h"
#include "files/FreeImage.h"
#include "files/FreeMetadata.h"
#include "i18n/LibLang.h"
#include "platform/IniFile.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The program's own folder, where the build puts the module folder with
// the FreeImage library.
QString ProgramFolder() { return QFileInfo(QStringLiteral(LUMA_EXECUTABLE)).absolutePath() + "/"; }

class MainFormStartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    UnloadFreeImageLibrary();
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
  }
  void TearDown() override {
    UnloadFreeImageLibrary();
    PreserveExif = true;
    AutoToneMap = true;
  }
  QTemporaryDir Dir;
  TStartupState State;
};

} // namespace

TEST_F(MainFormStartupTest, CreationLoadsCursorsFoldersAndFreeImageFromTheModuleFolder) {
  if (!QFileInfo::exists(ProgramFolder() + "Plugins_64/FreeImage_64.lml")) GTEST_SKIP() << "no FreeImage library";
  State.ProgramDir = ProgramFolder();
  TMainForm Form(State);
  EXPECT_TRUE(ToolCursorsLoaded());
  EXPECT_EQ(Form.DataFolders().PluginDir, ProgramFolder() + "Plugins_64");
  EXPECT_FALSE(FreeImageVersion().isEmpty());
  EXPECT_EQ(ExifSoftware, "Lumaretique 11");
  // Its About entry, tag 3, under Help > "A propos des modules".
  QAction* About = Form.findChild<QAction*>("MenuAboutFreeImage");
  ASSERT_NE(About, nullptr);
  EXPECT_TRUE(Form.MenuNamed("MenuPluginAPropos")->actions().contains(About));
  EXPECT_TRUE(Form.MenuNamed("MenuPluginAPropos")->menuAction()->isEnabled());
  EXPECT_EQ(About->property("Tag").toInt(), 3);
  QStringList Shown;
  {
    TScopedMsgDlgAnswers Answers([&Shown](const TMsgDlgRequest& R) {
      Shown << R.Msg << R.Title;
      return TMsgDlgAnswer{mrOk, {}};
    });
    About->trigger();
  }
  ASSERT_EQ(Shown.size(), 2);
  EXPECT_TRUE(Shown[0].startsWith("FreeImage is a free open source image library.\r"));
  EXPECT_EQ(Shown[1], "A propos des modules");
  // No module library exists: no module toolbar.
  EXPECT_FALSE(Form.MenuItem("MenuAffichageBarrePlugins")->isChecked());
}

TEST_F(MainFormStartupTest, ALanguageModuleInTheProgramFolderCaptionsTheMenusAndSetsThePrintUnit) {
  State.ProgramDir = Dir.path() + "/";
  ASSERT_TRUE(QFile::copy(QStringLiteral(LUMA_LANG_MODULE), Dir.filePath("English.plg")));
  {
    TMainForm Form(State);
    EXPECT_TRUE(TranslationLoaded());
    EXPECT_EQ(Form.MenuNamed("MenuSelection")->title(), "Selection");
    EXPECT_EQ(Form.MenuNamed("MenuCalque")->title(), "") << "a key the module lacks, without a French text";
    EXPECT_EQ(Form.Settings().UniteDefautPrn, 1) << "the module asks for inches";
  }
  ResetTranslations();
  // A stored print unit wins over the module's.
  TIniFile(State.MainIniFile).WriteInteger("Params", "PrintUnit", 0);
  {
    TMainForm Form(State);
    EXPECT_EQ(Form.Settings().UniteDefautPrn, 0);
  }
  ResetTranslations();
}

TEST_F(MainFormStartupTest, NoPluginsOptionLeavesFreeImageOut) {
  State.ProgramDir = ProgramFolder();
  State.Options.NoModulesOption = true;
  TMainForm Form(State);
  EXPECT_TRUE(FreeImageVersion().isEmpty());
}

TEST_F(MainFormStartupTest, WithoutAModuleFolderNothingIsLookedForElsewhere) {
  State.ProgramDir = Dir.path() + "/";
  {
    TIniFile Ini(State.MainIniFile);
    Ini.WriteString("Plugins64", "PreserveExif", "0");
    Ini.WriteString("Plugins64", "AutoToneMap", "0");
  }
  TMainForm Form(State);
  // The library's settings are in force all the same.
  EXPECT_FALSE(PreserveExif);
  EXPECT_FALSE(AutoToneMap);
  EXPECT_TRUE(Form.DataFolders().PluginDir.isEmpty());
  EXPECT_TRUE(FreeImageVersion().isEmpty());
}

TEST_F(MainFormStartupTest, AMessageOnScreenCountsAsAnOpenDialogue) {
  State.ProgramDir = Dir.path() + "/";
  TMainForm Form(State);
  int During = -1;
  QTimer::singleShot(0, [&] { // inside the message's modal loop
    During = Form.DialogueEnCours;
    if (QWidget* Dialog = QApplication::activeModalWidget()) Dialog->close();
  });
  ShowMsgDlg("Test", mdkInformation, {mdbOk});
  EXPECT_EQ(During, 1);
  EXPECT_EQ(Form.DialogueEnCours, 0);
}
