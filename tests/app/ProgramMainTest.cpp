#include "app/ui/ProgramMain.h"
#include "ui/DlgEx.h"
#include "ui/VisualStyles.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ProgramMain, SkinFromTheSettingsOrTheDefaultStyle) {
  QTemporaryDir Dir;
  const QString Ini = Dir.path() + "/Lumaretique.ini";
  const QString Default = DefaultStyleName(IsDarkAppsTheme());
  EXPECT_TRUE(Default.startsWith("Windows11 ")); // the emulated system is Windows 11
  struct TCase {
    const char* Text; // nullptr: no file
    QString Expected;
  };
  const TCase Cases[] = {
      {nullptr, Default},
      {"[Params]\nSkin=\n", Default},
      {"[Params]\nSkin=ERR\n", Default},
      {"[Params]\nSkin=windows11 dark\n", "Windows"}, // not the exact case: system style
      {"[Params]\nSkin=<Windows>\n", "Windows"},
      {"[Params]\nSkin=Windows11 Dark\n", "Windows11 Dark"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "no file");
    QFile::remove(Ini);
    if (C.Text) {
      QFile File(Ini);
      ASSERT_TRUE(File.open(QIODevice::WriteOnly));
      File.write(C.Text);
    }
    SetActiveStyle(u"Windows");
    ApplySkin(Ini);
    EXPECT_EQ(ActiveStyle().Name, C.Expected);
    EXPECT_EQ(Startup().SystemStyleAtStart, C.Expected == "Windows");
  }
  SetActiveStyle(u"Windows");
}

TEST(ProgramMain, DialogFontFromTheSettingsBeforeAnyWindow) {
  const QString Old = DialogFontName();
  QString Family;
  for (const QString& F : QFontDatabase::families())
    if (F.compare(Old, Qt::CaseInsensitive) != 0 && !F.contains(u',')) {
      Family = F;
      break;
    }
  if (Family.isEmpty()) GTEST_SKIP() << "a single font family";
  QTemporaryDir Dir;
  const QString Ini = Dir.path() + "/Main.ini";
  {
    QFile File(Ini);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(("[Params]\nDefaultFont= " + Family + " , 9\n").toUtf8());
  }
  InitApplication({"-ini:" + Ini}, Dir.path() + "/");
  EXPECT_EQ(Startup().MainIniFile, Ini);
  EXPECT_EQ(DialogFontName(), Family);
  // Back to the face the old one is drawn with (the old one may not be
  // installed): the later tests keep the same font.
  SetDialogFontName(QFontInfo(QFont(Old)).family());
  SetActiveStyle(u"Windows");
}
