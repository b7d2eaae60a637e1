#include "app/StartupServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StartupServices, DataFoldersFallBackWhenMissing) {
  QTemporaryDir Dir;
  const QString Program = Dir.path();
  const TDataFolders F = InitDataFolders(Program + "/");
  for (const QString& Folder :
       {F.SelDir, F.MasqueDir, F.MotifDir, F.BrushDir, F.NozzleDir, F.TextureDir, F.PngDir, F.PathDir, F.DataDir})
    EXPECT_EQ(Folder, Program);
  // No module folder: no module loads, and the 8BF folder follows it.
  EXPECT_TRUE(F.PluginDir.isEmpty());
  EXPECT_TRUE(F.PS8bfDir.isEmpty());
  EXPECT_FALSE(F.ChargerPlugins);
}

TEST(StartupServices, DataFoldersThatExistAreTaken) {
  QTemporaryDir Dir;
  const QString Program = Dir.path();
  for (const char* Name : {"Patterns", "Plugins_64", "Data"}) ASSERT_TRUE(QDir(Program).mkdir(Name));
  // A file of a folder's name is not that folder.
  QFile File(Program + "/Brushes");
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.close();
  TDataFolders F = InitDataFolders(Program);
  EXPECT_EQ(F.MotifDir, Program + "/Patterns");
  EXPECT_EQ(F.DataDir, Program + "/Data");
  EXPECT_EQ(F.BrushDir, Program);
  EXPECT_EQ(F.PluginDir, Program + "/Plugins_64");
  EXPECT_EQ(F.PS8bfDir, F.PluginDir);
  EXPECT_TRUE(F.ChargerPlugins);
  ASSERT_TRUE(QDir(Program).mkdir("8bf_64"));
  F = InitDataFolders(Program + "/");
  EXPECT_EQ(F.PS8bfDir, Program + "/8bf_64");
}

// A data folder a save goes into is made beside the program, else, when the
// program folder is read-only, in the per-user data folder.
TEST(StartupServices, DataFoldersAreMadeWhereASaveCanGo) {
  QTemporaryDir Dir;
  const QString Program = Dir.path() + "/program", User = Dir.path() + "/user";
  ASSERT_TRUE(QDir().mkpath(Program));
  EXPECT_EQ(EnsureDataFolder(Program + "/", "Textures", User), Program + "/Textures");
  EXPECT_TRUE(QFileInfo(Program + "/Textures").isDir());
  EXPECT_EQ(EnsureDataFolder(Program, "Textures", User), Program + "/Textures"); // found again
  // Where the program folder cannot take it (here a file of that name
  // stands in the way; a read-only folder is the usual cause).
  QFile Blocker(Program + "/PngData");
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  EXPECT_EQ(EnsureDataFolder(Program, "PngData", User), User + "/PngData");
  EXPECT_TRUE(QFileInfo(User + "/PngData").isDir());
  EXPECT_TRUE(EnsureDataFolder(Program, "PngData", "").isEmpty());
}
