#include "MainFormFixture.h"

#include "files/FileAssociation.h"

#include <QCoreApplication>
#include <QFile>

namespace {

class MainFormFileTypesTest : public MainFormFixture {};

TEST_F(MainFormFileTypesTest, EveryStartRegistersTheOwnTypesForThisProgram) {
  QFile::remove(DesktopEntryFile());
  const auto Form = Start();
  EXPECT_TRUE(IsOwnExtension("lmi"));
  QFile Entry(DesktopEntryFile());
  ASSERT_TRUE(Entry.open(QIODevice::ReadOnly));
  EXPECT_TRUE(Entry.readAll().contains(("\nExec=\"" + QCoreApplication::applicationFilePath() + "\" %f\n").toUtf8()));
}

} // namespace
