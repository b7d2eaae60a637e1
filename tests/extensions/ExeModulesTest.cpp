#include "extensions/ExeModules.h"

#include "platform/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct TTextCase {
  const char* Input;
  const char* Expected;
};

TEST(ExeModulesRulesTest, ProgramMacrosExpandOnceWhateverTheirCase) {
  qputenv("USERPROFILE", "/home/someone");
  const QString Desc = "/prog/Plugins_64/", Prog = "/prog/";
  const TTextCase Cases[] = {
      {"%plugins64%\\filter.exe", "/prog/Plugins_64/filter.exe"},
      {"%PLUGINS64%\\sub\\filter.exe", "/prog/Plugins_64/sub/filter.exe"},
      {"%Plugins64%/filter", "/prog/Plugins_64/filter"},
      {"%plugins64%\\a%plugins64%\\b", "/prog/Plugins_64/a%plugins64%/b"}, // the second stays
      {"%lumaretique%bin/x", "/prog/bin/x"},
      {"%userprofile%/tools/x", "/home/someone/tools/x"},
      {"/usr/bin/filter", "/usr/bin/filter"},
  };
  for (const TTextCase& Case : Cases) EXPECT_EQ(ExpandPluginPath(Case.Input, Desc, Prog), Case.Expected) << Case.Input;
  qunsetenv("USERPROFILE");
}

TEST(ExeModulesRulesTest, InputAndOutputMacrosAreCaseSensitiveAndLongestFirst) {
  const QString In = "/img/photo.raw.xyz", Out = "/tmp/swap.png";
  const TTextCase Cases[] = {
      {"\"%i\" \"%o\"", "\"/img/photo.raw.xyz\" \"/tmp/swap.png\""},
      {"-d %id -n %if -e %ie", "-d /img/ -n photo.raw -e xyz"},
      {"%od%of.%oe", "/tmp/swap.png"},
      {"%I %O", "%I %O"},
      {"", ""},
  };
  for (const TTextCase& Case : Cases) EXPECT_EQ(ReplaceIOParams(Case.Input, In, Out), Case.Expected) << Case.Input;
  EXPECT_EQ(FilterCommandLine("", "/t/a b.png"), "\"/t/a b.png\"");
  EXPECT_EQ(FilterCommandLine("-x \"%f\" %F", "/t/a.png"), "-x \"/t/a.png\" %F");
}

TEST(ExeModulesRulesTest, FormatListsMatchTheFirstOccurrenceOfTheLowerCasedExtension) {
  struct TCase {
    const char* List;
    const char* File;
    bool Match;
  } const Cases[] = {
      {".abc;.def", "/x/IMAGE.DEF", true},
      {".abc;.def", "/x/a.abc", true},
      {".jpgx;.jpg", "/x/a.jpg", false}, // its first occurrence starts a longer one
      {".ab", "/x/a.abc", false},
      {".abc", "/x/noext", false},
      {"", "/x/a.abc", false},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(FormatListHasExt(Case.List, Case.File), Case.Match) << Case.List << Case.File;
}

TEST(ExeModulesRulesTest, SwapModesChooseTheKindAndThePlace) {
  const QString Tmp = QDir::tempPath();
  const TTextCase Cases[] = {
      {"", "/LumaretiquePluginSwap.png"},     {"JPG", "/LumaretiquePluginSwap.jpg"},
      {"jpgx", "/LumaretiquePluginSwap.jpg"}, {"Jpeg", "/LumaretiquePluginSwap.png"},
      {"bmp", "/LumaretiquePluginSwap.png"},
  };
  for (const TTextCase& Case : Cases)
    EXPECT_EQ(SwapFilePath(Case.Input, "/d/pic.xyz"), Tmp + Case.Expected) << Case.Input;
  EXPECT_EQ(SwapFilePath("png:%id%if.png", "/d/pic.xyz"), "/d/pic.png");
  EXPECT_EQ(SwapFilePath("jpg?%of-copy.jpg", "/d/pic.xyz"), "LumaretiquePluginSwap-copy.jpg"); // 4th character unread
}

TEST(ExeModulesRulesTest, BooleansAreWordsInAnyCaseElseTheDefault) {
  EXPECT_TRUE(DescriptionBool("TRUE", false));
  EXPECT_TRUE(DescriptionBool("1", false));
  EXPECT_FALSE(DescriptionBool("False", true));
  EXPECT_FALSE(DescriptionBool("0", true));
  EXPECT_TRUE(DescriptionBool("yes", true));
  EXPECT_FALSE(DescriptionBool("", false));
}

// A program folder with description files and program files.
class ExeModulesSlotTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins_64")); }
  QString Prog() const { return Dir.path() + "/"; }
  QString MakeProgram(const QString& Name) const {
    const QString Path = Prog() + "Plugins_64/" + Name;
    QFile F(Path);
    EXPECT_TRUE(F.open(QIODevice::WriteOnly));
    return Path;
  }
  void Describe(const QString& File, const QList<QPair<QString, QString>>& Keys) const {
    TIniFile Ini(Prog() + "Plugins_64/" + File);
    for (const auto& [Key, Value] : Keys) Ini.WriteString("LUMARETIQUE_LINK", Key, Value);
  }
  // Records the runs instead of starting anything; Effect plays the program.
  void Fake(std::function<bool()> Effect = [] { return true; }) {
    Modules.SetRunExe([this, Effect](const QString& Exe, const QString& Params, bool Hide) {
      Runs << Exe + " | " + Params + (Hide ? " | hidden" : "");
      return Effect();
    });
  }
  QTemporaryDir Dir;
  TExeModules Modules{Dir.path() + "/"};
  QStringList Runs;
};

TEST_F(ExeModulesSlotTest, FilterSlotsReadTheirDescriptionWithDefaults) {
  MakeProgram("inv.exe");
  Describe("MyFilter1.ini", {{"ExeFilename", "%PLUGINS64%\\inv.exe"}, {"AlphaChannel", "TRUE"}});
  Describe("MyPlugin1.ini", {{"ExeFilename", "%plugins64%\\inv.exe"}, {"Caption", "Never read"}});
  Describe("MyPlugin2.ini", {{"ExeFilename", "%plugins64%\\inv.exe"},
                             {"Caption", QString(60, u'c')},
                             {"About", "Line 1<\\n>Line 2"},
                             {"HideWindow", "1"},
                             {"AlphaChannel", "yes"}});
  Describe("MyFilter3.ini", {{"ExeFilename", "%plugins64%\\missing.exe"}});

  Modules.SetCurrentFilterPlugin(1);
  ASSERT_TRUE(Modules.CurrentFilterPluginAvailable());
  EXPECT_EQ(Modules.CurrentFilterPluginCaption(), "MyFilter1");
  EXPECT_EQ(Modules.CurrentFilterPluginAbout(), "inv.exe");
  EXPECT_TRUE(Modules.CurrentFilterPluginAlpha());
  EXPECT_TRUE(Modules.CurrentFilterPluginVisible());

  Modules.SetCurrentFilterPlugin(2);
  ASSERT_TRUE(Modules.CurrentFilterPluginAvailable());
  EXPECT_EQ(Modules.CurrentFilterPluginCaption(), QString(47, u'c') + "...");
  EXPECT_EQ(Modules.CurrentFilterPluginAbout(), "Line 1\rLine 2");
  EXPECT_FALSE(Modules.CurrentFilterPluginAlpha());
  EXPECT_FALSE(Modules.CurrentFilterPluginVisible());

  // A missing program leaves the slot unusable, and it is read again at the
  // next ask.
  Modules.SetCurrentFilterPlugin(3);
  EXPECT_FALSE(Modules.CurrentFilterPluginAvailable());
  MakeProgram("missing.exe");
  EXPECT_TRUE(Modules.CurrentFilterPluginAvailable());
  Modules.SetCurrentFilterPlugin(4);
  EXPECT_FALSE(Modules.CurrentFilterPluginAvailable());
}

TEST_F(ExeModulesSlotTest, AFilterThatLeavesTheFileCountsAsCancelled) {
  const QString Exe = MakeProgram("f.exe");
  Describe("MyFilter1.ini", {{"ExeFilename", Exe}, {"ExeParams", "-i \"%f\""}});
  Modules.SetCurrentFilterPlugin(1);
  ASSERT_TRUE(Modules.CurrentFilterPluginAvailable());
  const QString Image = Dir.path() + "/layer.png";
  const auto Touch = [&](int Seconds) {
    QFile F(Image);
    return F.open(QIODevice::ReadWrite) &&
           F.setFileTime(QDateTime::currentDateTime().addSecs(Seconds), QFileDevice::FileModificationTime);
  };
  ASSERT_TRUE(Touch(-60));

  Fake();
  EXPECT_FALSE(Modules.RunCurrentFilterPlugin(Image));
  EXPECT_EQ(Runs.join("\n").toStdString(), (Exe + " | -i \"" + Image + "\"").toStdString());
  Fake([&] { return Touch(0); });
  EXPECT_TRUE(Modules.RunCurrentFilterPlugin(Image));
  Fake([] { return false; }); // not started
  EXPECT_FALSE(Modules.RunCurrentFilterPlugin(Image));
}

TEST_F(ExeModulesSlotTest, ImportSlotsOfferTheirFormatsAndBuildTheirCommandLines) {
  const QString Exe = MakeProgram("imp.exe");
  EXPECT_EQ(Modules.FindImportPlugin("/d/a.abc"), 0);
  EXPECT_EQ(Modules.ImportPluginMasks(), "");
  Describe("MyImport2.ini", {{"ExeFilename", Exe},
                             {"ImageFormats", ".ABC;.Abd"},
                             {"Caption", "Abc"},
                             {"ExeParams", "-in \"%i\" -out \"%o\""}});
  Describe("MyImport3.ini", {{"ExeFilename", Exe}, {"ImageFormats", ".xyz"}, {"SwapMode", "jpg"}});
  for (int N = 1; N <= ExeModuleSlots; ++N) {
    Modules.SetCurrentImportPlugin(N);
    Modules.CurrentImportPluginAvailable();
  }
  ASSERT_TRUE(Modules.HasImportPlugins());
  EXPECT_EQ(Modules.ImportPluginMasks(), "*.abc;*.abd;*.xyz");
  EXPECT_EQ(Modules.ImportPluginFilters(), "Abc|*.abc;*.abd|MyImport3|*.xyz");
  Modules.SetCurrentImportPlugin(2);
  EXPECT_EQ(Modules.CurrentImportPluginCaption(), "Abc (.abc;.abd)");

  EXPECT_EQ(Modules.FindImportPlugin("/d/PIC.ABD"), 2);
  Fake();
  const QString Swap = Modules.ImportWithCurrentPlugin("/d/PIC.ABD");
  EXPECT_EQ(Swap, QDir::tempPath() + "/LumaretiquePluginSwap.png");
  EXPECT_EQ(Modules.FindImportPlugin("/d/b.xyz"), 3);
  EXPECT_EQ(Modules.ImportWithCurrentPlugin("/d/b.xyz"), QDir::tempPath() + "/LumaretiquePluginSwap.jpg");
  EXPECT_EQ(Runs.join("\n").toStdString(),
            (QStringList{Exe + " | -in \"/d/PIC.ABD\" -out \"" + Swap + "\" | hidden",
                         Exe + " | \"/d/b.xyz\" \"" + QDir::tempPath() + "/LumaretiquePluginSwap.jpg\" | hidden"})
                .join("\n")
                .toStdString());
  Fake([] { return false; });
  EXPECT_EQ(Modules.ImportWithCurrentPlugin("/d/b.xyz"), "");
  EXPECT_EQ(Modules.FindImportPlugin("/d/b.png"), 0);
}

TEST_F(ExeModulesSlotTest, AnExportReplacesTheTargetOnlyWithWhatTheProgramWrote) {
  const QString Exe = MakeProgram("exp.exe");
  Describe("MyExport1.ini", {{"ExeFilename", Exe}, {"ImageFormats", ".out"}, {"HideWindow", "0"}});
  Modules.SetCurrentExportPlugin(1);
  ASSERT_TRUE(Modules.CurrentExportPluginAvailable());
  ASSERT_EQ(Modules.FindExportPlugin("/d/x.OUT"), 1);
  EXPECT_EQ(Modules.ExportPluginFilters(), "MyExport1|*.out");
  const QString Target = Dir.path() + "/picture.out";
  QFile Old(Target);
  ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
  Old.write("old");
  Old.close();

  // The program is given the swap file and a file of the target's name.
  QString Written;
  Fake([&] {
    const QString Line = Runs.last().section(" | ", 1, 1);
    Written = QProcess::splitCommand(Line).value(1);
    QFile Out(Written);
    return Out.open(QIODevice::WriteOnly) && Out.write("new") == 3;
  });
  ASSERT_TRUE(Modules.ExportWithCurrentPlugin("/tmp/swap.png", Target));
  EXPECT_TRUE(Runs.last().endsWith(" | hidden")); // exports always run hidden
  EXPECT_EQ(QFileInfo(Written).fileName(), "picture.out");
  EXPECT_NE(Written, Target);
  QFile Now(Target);
  ASSERT_TRUE(Now.open(QIODevice::ReadOnly));
  EXPECT_EQ(Now.readAll(), "new");
  Now.close();
  EXPECT_FALSE(QFileInfo::exists(Written)); // its folder is gone

  Fake(); // writes nothing
  EXPECT_FALSE(Modules.ExportWithCurrentPlugin("/tmp/swap.png", Target));
  ASSERT_TRUE(Now.open(QIODevice::ReadOnly));
  EXPECT_EQ(Now.readAll(), "new");
}

TEST(RunExeAndWaitTest, WaitsForTheProgramWhileEventsRun) {
  bool TimerRan = false;
  QTimer::singleShot(0, [&] { TimerRan = true; });
  EXPECT_TRUE(RunExeAndWait("/bin/sh", "-c \"sleep 1; exit 3\"", false)); // the exit code does not matter
  EXPECT_TRUE(TimerRan);
  EXPECT_FALSE(RunExeAndWait("/nonexistent/program", "", true));
}

} // namespace
