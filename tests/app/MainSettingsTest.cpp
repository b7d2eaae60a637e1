#include "app/MainSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <functional>

namespace {

class MainSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Env.ProgramDir = Dir.path() + "/";
    Env.WorkArea = QRect(0, 0, 1600, 900);
    Env.ScreenDpi = 96;
    Env.DefaultButtonHeight = 26;
    IniName = Dir.path() + "/Lumaretique.ini";
  }
  void WriteIni(const QString& Text) {
    QFile File(IniName);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Text.toUtf8());
  }
  TMainSettings Load() {
    TMainSettings S = DefaultMainSettings(Env);
    LoadSettings(IniName, Env, S);
    return S;
  }
  QString ReadIni() {
    QFile File(IniName);
    EXPECT_TRUE(File.open(QIODevice::ReadOnly));
    return QString::fromUtf8(File.readAll());
  }

  QTemporaryDir Dir;
  TSettingsEnvironment Env;
  QString IniName;
};

} // namespace

TEST_F(MainSettingsTest, FirstStartWithoutFileGivesTheDefaults) {
  const TMainSettings S = Load();
  EXPECT_EQ(S.WindowRect, QRect(10, 10, 1600 - 120, 900 - 50));
  EXPECT_FALSE(S.Maximize);
  EXPECT_TRUE(S.FilterBar);
  EXPECT_TRUE(S.ToolsPalette);
  EXPECT_FALSE(S.Explorer);
  EXPECT_EQ(S.ToolsAlignment, 2);
  EXPECT_EQ(S.NbHistoriques, 12);
  EXPECT_EQ(S.TailleGrille, 20);
  EXPECT_EQ(S.CouleurGrille, clSilver);
  EXPECT_EQ(S.ThumbSize, 1);
  EXPECT_EQ(S.SaveFormatIndex, -1);
  EXPECT_TRUE(S.Force16M);
  EXPECT_TRUE(S.CadreOmbre);
  EXPECT_EQ(S.ToolButtonHeight, 26);
  EXPECT_EQ(S.OuvrirDir, Env.ProgramDir);
  EXPECT_TRUE(S.ListeFichiers.isEmpty());
}

TEST_F(MainSettingsTest, IntegersAreClampedAndSwitchesNeedTheirExactText) {
  struct TCase {
    const char* Ini;
    std::function<void(const TMainSettings&)> Check;
  };
  const TCase Cases[] = {
      {"[Params]\nHistory=0\n", [](const TMainSettings& S) { EXPECT_EQ(S.NbHistoriques, 1); }},
      {"[Params]\nHistory=99\n", [](const TMainSettings& S) { EXPECT_EQ(S.NbHistoriques, 24); }},
      {"[Params]\nHistory=abc\n", [](const TMainSettings& S) { EXPECT_EQ(S.NbHistoriques, 12); }},
      {"[Params]\nGridCellSize=0\n", [](const TMainSettings& S) { EXPECT_EQ(S.TailleGrille, 1); }},
      {"[Params]\nGridCellSize=900\n", [](const TMainSettings& S) { EXPECT_EQ(S.TailleGrille, 500); }},
      {"[Params]\nImageUnit=7\nPrintUnit=-3\nGridUnit=5\nThumbSize=9\n",
       [](const TMainSettings& S) {
         EXPECT_EQ(S.UniteDefaut, 2);
         EXPECT_EQ(S.UniteDefautPrn, 0);
         EXPECT_EQ(S.UniteGrille, 2);
         EXPECT_EQ(S.ThumbSize, 3);
       }},
      {"[Params]\nSaveFormat=-7\n", [](const TMainSettings& S) { EXPECT_EQ(S.SaveFormatIndex, -7); }},
      {"[Params]\nForce16M=false\n", [](const TMainSettings& S) { EXPECT_TRUE(S.Force16M); }},
      {"[Params]\nForce16M=0\nBorderShadow=0\n",
       [](const TMainSettings& S) {
         EXPECT_FALSE(S.Force16M);
         EXPECT_FALSE(S.CadreOmbre);
       }},
      {"[Params]\nAntialias=yes\nMaximizeImgWin=1\n",
       [](const TMainSettings& S) {
         EXPECT_FALSE(S.Antialias);
         EXPECT_TRUE(S.MaximizeImgWin);
       }},
      {"[Tools]\nFilterBar=0\n", [](const TMainSettings& S) { EXPECT_FALSE(S.FilterBar); }},
      {"[Tools]\nFilterBar=yes\nToolsAlignment=5\n",
       [](const TMainSettings& S) {
         EXPECT_FALSE(S.FilterBar);
         EXPECT_EQ(S.ToolsAlignment, 2);
       }},
      {"[Tools]\nToolsAlignment=-1\nExplorer=1\n",
       [](const TMainSettings& S) {
         EXPECT_EQ(S.ToolsAlignment, 0);
         EXPECT_TRUE(S.Explorer);
       }},
      {"[Params]\nColorGrid=#FF0000\n", [](const TMainSettings& S) { EXPECT_EQ(S.CouleurGrille, 0x0000FFu); }},
      {"[Params]\nColorGrid=nonsense\n", [](const TMainSettings& S) { EXPECT_EQ(S.CouleurGrille, clSilver); }},
      {"[Params]\nScreenDpi=96\nToolBarButtonSize=200\n",
       [](const TMainSettings& S) { EXPECT_EQ(S.ToolButtonHeight, 39); }}, // 1.5 x 26
      {"[Params]\nScreenDpi=96\nToolBarButtonSize=10\n",
       [](const TMainSettings& S) { EXPECT_EQ(S.ToolButtonHeight, 26); }},
      {"[Params]\nScreenDpi=120\nToolBarButtonSize=30\n",
       [](const TMainSettings& S) { EXPECT_EQ(S.ToolButtonHeight, 26); }}, // another resolution
      {"[Plugins64]\nLoadPlugins=0\nPlugin1=a.lml\n",
       [](const TMainSettings& S) {
         EXPECT_FALSE(S.ChargerPlugins);
         EXPECT_TRUE(S.PluginButtons.isEmpty());
       }},
      {"[Plugins64]\nPlugin1=a.lml\nPlugin2=\nPlugin3=c.lml\n8bfMode=1\n",
       [](const TMainSettings& S) {
         EXPECT_EQ(S.PluginButtons, QStringList({"a.lml", "c.lml"}));
         EXPECT_EQ(S.PS8bfMode, 1);
       }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Ini);
    WriteIni(QString::fromLatin1(C.Ini));
    C.Check(Load());
  }
}

TEST_F(MainSettingsTest, FoldersMustExistAndUniqueDirSkipsSave) {
  const QString Open = Dir.path() + "/open";
  const QString Save = Dir.path() + "/save";
  ASSERT_TRUE(QDir().mkpath(Open));
  ASSERT_TRUE(QDir().mkpath(Save));
  WriteIni("[Params]\nOpen=" + Open + "\nSave=" + Save + "\n");
  TMainSettings S = Load();
  EXPECT_EQ(S.OuvrirDir, Open);
  EXPECT_EQ(S.EnregistrerDir, Save);
  WriteIni("[Params]\nUniqueDir=1\nOpen=" + Open + "\nSave=" + Save + "\n");
  S = Load();
  EXPECT_EQ(S.EnregistrerDir, Open);
  WriteIni("[Params]\nOpen=" + Dir.path() + "/missing\n");
  EXPECT_EQ(Load().OuvrirDir, Env.ProgramDir);
}

TEST_F(MainSettingsTest, WindowRectangleIsMovedIntoTheWorkArea) {
  WriteIni("[Position]\nX=1500\nY=-40\nW=400\nH=300\n");
  EXPECT_EQ(Load().WindowRect, QRect(1200, 0, 400, 300));
  WriteIni("[Position]\nX=5\nY=5\nW=3000\nH=300\n");
  EXPECT_EQ(Load().WindowRect, QRect(0, 5, 1600, 300));
  // No size, or a negative one: the default window, not an empty one.
  WriteIni("");
  const QRect Default = Load().WindowRect;
  EXPECT_GT(Default.width(), 0);
  for (const char* Text : {"[Position]\nX=0\nY=0\nW=0\nH=300\n", "[Position]\nX=20\nY=30\nW=400\nH=-5\n"}) {
    WriteIni(Text);
    EXPECT_EQ(Load().WindowRect, Default) << Text;
  }
}

TEST_F(MainSettingsTest, RecentFilesSkipMissingOnesAndSaveDeletesTheRest) {
  QStringList Existing;
  for (int I = 0; I < 8; ++I) {
    Existing << Dir.path() + QStringLiteral("/img%1.png").arg(I);
    QFile File(Existing.last());
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  }
  QString Ini = "[Files]\n";
  for (int I = 1; I <= 12; ++I)
    Ini += QStringLiteral("File%1=%2\n").arg(I).arg(I <= 8 ? Existing[I - 1] : Dir.path() + "/gone.png");
  WriteIni(Ini);
  TMainSettings S = Load();
  ASSERT_EQ(S.ListeFichiers, Existing);

  // Seven recent files at exit: File8 .. File12 leave the file.
  S.ListeFichiers = Existing.mid(0, 7);
  SaveSettings(IniName, S);
  const QString Text = ReadIni();
  EXPECT_TRUE(Text.contains("File7=" + Existing[6]));
  for (int I = 8; I <= 12; ++I) EXPECT_FALSE(Text.contains(QStringLiteral("File%1=").arg(I))) << I;

  WriteIni("[Files]\nClearFileListe=1\nFile1=" + Existing[0] + "\n");
  EXPECT_TRUE(Load().ListeFichiers.isEmpty());
}

TEST_F(MainSettingsTest, SavedValuesReadBack) {
  TMainSettings S = DefaultMainSettings(Env);
  S.WindowRect = QRect(50, 60, 700, 500);
  S.FilterBar = false;
  S.Explorer = true;
  S.ThumbSize = 3;
  S.Antialias = true;
  S.CadreOmbre = false;
  SaveSettings(IniName, S);
  const TMainSettings R = Load();
  EXPECT_EQ(R.WindowRect, S.WindowRect);
  EXPECT_FALSE(R.FilterBar);
  EXPECT_TRUE(R.Explorer);
  EXPECT_EQ(R.ThumbSize, 3);
  EXPECT_TRUE(R.Antialias);
  EXPECT_FALSE(R.CadreOmbre);
  EXPECT_TRUE(ReadIni().contains("Maximize=0"));

  // A maximised window keeps its last normal place in the file.
  S.Maximize = true;
  S.WindowRect = QRect(1, 2, 3, 4);
  SaveSettings(IniName, S);
  const TMainSettings M = Load();
  EXPECT_TRUE(M.Maximize);
  EXPECT_EQ(M.WindowRect, QRect(50, 60, 700, 500));

  // Locked folders are not written.
  S.VerrouillerDir = true;
  S.OuvrirDir = "/nowhere-else";
  SaveSettings(IniName, S);
  EXPECT_FALSE(ReadIni().contains("/nowhere-else"));
}
