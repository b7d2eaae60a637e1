#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CommandLine, OptionsIgnoreCaseAndUnknownOnes) {
  for (const char* Option : {"-localini", "-LOCALINI", "-LocalIni"})
    EXPECT_TRUE(ParseCommandLine({QString::fromLatin1(Option)}).LocalIniOption) << Option;
  const TCommandLineOptions O = ParseCommandLine({"-NoPlugins", "-TEMPFILE", "-whatever", "file.png", "localini"});
  EXPECT_TRUE(O.NoModulesOption);
  EXPECT_TRUE(O.OpenAsImportOption);
  EXPECT_FALSE(O.LocalIniOption); // without '-' it is a file name
  EXPECT_TRUE(O.IniPathOption.isEmpty());
}

TEST(CommandLine, IniPathNeedsAnExistingFolderAndKeepsItsCase) {
  QTemporaryDir Dir;
  const QString Path = Dir.path() + QStringLiteral("/Sub/My.INI");
  ASSERT_TRUE(QDir().mkpath(Dir.path() + QStringLiteral("/Sub")));
  EXPECT_EQ(ParseCommandLine({QStringLiteral("-INI:") + Path}).IniPathOption, Path);
  EXPECT_TRUE(ParseCommandLine({QStringLiteral("-ini:") + Dir.path() + "/Missing/my.ini"}).IniPathOption.isEmpty());
  EXPECT_TRUE(ParseCommandLine({QStringLiteral("-ini:my.ini")}).IniPathOption.isEmpty()); // no folder
}

TEST(CommandLine, AtMostTwentyParametersAreLookedAtForFiles) {
  // 25 parameters, 3 options among the first 20: 17 files; 21 to 25 never.
  QStringList Params;
  for (int I = 1; I <= 25; ++I)
    Params << (I == 2 || I == 7 || I == 19 ? QStringLiteral("-opt%1").arg(I) : QStringLiteral("f%1.png").arg(I));
  const QStringList Files = CommandLineFiles(Params);
  ASSERT_EQ(Files.size(), 17);
  EXPECT_EQ(Files.first(), "f1.png");
  EXPECT_EQ(Files.last(), "f20.png");
  EXPECT_FALSE(Files.contains("f21.png"));
}

TEST(CommandLine, SettingsFilePrecedence) {
  QTemporaryDir Root;
  const QString ProgramDir = Root.path() + QStringLiteral("/prog/");
  const QString UserDir = Root.path() + QStringLiteral("/config/Lumaretique 11");
  ASSERT_TRUE(QDir().mkpath(ProgramDir));
  TCommandLineOptions None;
  // Nothing beside the program: the per-user folder, created.
  EXPECT_EQ(InitIniFileName(None, ProgramDir, UserDir), UserDir + "/Lumaretique.ini");
  EXPECT_TRUE(QDir(UserDir).exists());
  // A file beside the program wins over the per-user folder.
  QFile Beside(ProgramDir + "Lumaretique.ini");
  ASSERT_TRUE(Beside.open(QIODevice::WriteOnly));
  Beside.close();
  EXPECT_EQ(InitIniFileName(None, ProgramDir, UserDir), ProgramDir + "Lumaretique.ini");
  // The -ini: path wins over that, -localini over everything.
  TCommandLineOptions WithPath;
  WithPath.IniPathOption = Root.path() + "/Other.ini";
  EXPECT_EQ(InitIniFileName(WithPath, ProgramDir, UserDir), Root.path() + "/Other.ini");
  // A path naming a folder is refused: the default file is used.
  TCommandLineOptions Folder;
  Folder.IniPathOption = Root.path();
  EXPECT_EQ(InitIniFileName(Folder, ProgramDir, UserDir), ProgramDir + "Lumaretique.ini");
  WithPath.LocalIniOption = true;
  EXPECT_EQ(InitIniFileName(WithPath, ProgramDir, UserDir), "Lumaretique.ini");
  // A per-user folder that cannot be made falls back to the program folder.
  QFile Blocker(Root.path() + "/blocker");
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  ASSERT_TRUE(QFile::remove(ProgramDir + "Lumaretique.ini"));
  EXPECT_EQ(InitIniFileName(None, ProgramDir, Root.path() + "/blocker/Lumaretique 11"), ProgramDir + "Lumaretique.ini");
}

TEST(CommandLine, UserFolderFollowsXdgConfigHome) {
  const QByteArray Saved = qgetenv("XDG_CONFIG_HOME");
  const QByteArray SavedHome = qgetenv("HOME");
  qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
  EXPECT_EQ(UserConfigFolder(), "/tmp/xdg-test/Lumaretique 11");
  qunsetenv("XDG_CONFIG_HOME");
  qputenv("HOME", "/tmp/home-test");
  EXPECT_EQ(UserConfigFolder(), "/tmp/home-test/.config/Lumaretique 11");
  qputenv("HOME", SavedHome);
  if (!Saved.isEmpty()) qputenv("XDG_CONFIG_HOME", Saved);
}
