#include "app/ui/ProgramMain.h"
#include "app/StartupServices.h"
#include "ui/MsgDlg.h"
#include "ui/UtilsDPI.h"
#include "ui/DlgEx.h"
#include "ui/VisualStyles.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QFile>
#include <QFileInfo>
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

// "-ini:" naming a folder is refused with a message naming the file used.
TEST(ProgramMain, SettingsPathNamingAFolderIsRefused) {
  QTemporaryDir Dir;
  QStringList Shown;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Shown << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  });
  InitApplication({"-ini:" + Dir.path()}, Dir.path() + "/");
  EXPECT_NE(Startup().MainIniFile, Dir.path());
  EXPECT_FALSE(QFileInfo(Startup().MainIniFile).isDir());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(Dir.path())) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(Startup().MainIniFile));
  Shown.clear();
  InitApplication({"-ini:" + Dir.path() + "/mine.ini"}, Dir.path() + "/");
  EXPECT_EQ(Startup().MainIniFile, Dir.path() + "/mine.ini");
  EXPECT_TRUE(Shown.isEmpty());
}

// The application carries no display name of its own, so that the platform
// adds none to the frame's caption (which names the program already).
TEST(ProgramMain, NoDisplayNameIsAddedToCaptions) {
  QTemporaryDir Dir;
  InitApplication({}, Dir.path() + "/");
  EXPECT_EQ(QApplication::applicationName(), "Lumaretique 11");
  QApplication::setApplicationName("Other");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Other"); // follows: not set apart
  QApplication::setApplicationName("Lumaretique 11");
}

// The screen's resolution is read at start-up: layouts scale by it.
TEST(ProgramMain, ScreenResolutionIsReadAtStart) {
  QTemporaryDir Dir;
  SetScreenPixelsPerInch(50);
  InitApplication({}, Dir.path() + "/");
  const int Screen = static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInch() + 0.5);
  EXPECT_EQ(ScreenPixelsPerInch(), Screen);
  SetScreenPixelsPerInch(96);
}

// Qt's own dialogs speak the interface's language.
TEST(ProgramMain, QtDialogsSpeakFrench) {
  if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_fr.qm"))
    GTEST_SKIP() << "Qt's translations are not installed";
  QTemporaryDir Dir;
  InitApplication({}, Dir.path() + "/");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8("Voir dans :"));
}
