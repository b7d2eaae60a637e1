#include "files/FileAssociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Runs an installed checker on File; no value when it is not installed.
std::optional<QString> Check(const QString& Tool, const QStringList& Arguments) {
  const QString Program = QStandardPaths::findExecutable(Tool);
  if (Program.isEmpty()) return std::nullopt;
  QProcess P;
  P.setProcessChannelMode(QProcess::MergedChannels);
  P.start(Program, Arguments);
  if (!P.waitForFinished(60000)) return QStringLiteral("did not finish");
  const QString Out = QString::fromUtf8(P.readAll()).trimmed();
  return P.exitCode() == 0 && !Out.contains(QStringLiteral("error:")) ? QString() : Out;
}

QByteArray ReadAll(const QString& FileName) {
  QFile F(FileName);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteFile(const QString& FileName, const QByteArray& Bytes) {
  QDir().mkpath(QFileInfo(FileName).absolutePath());
  QFile F(FileName);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
  F.write(Bytes);
}

// Every case starts with the test home's data folder empty of our files.
class FileAssociationTest : public ::testing::Test {
protected:
  void SetUp() override {
    DataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // Only the test's own home may be written (the runner gives each
    // program its own; refuse to touch anything else).
    ASSERT_TRUE(DataHome.contains(QStringLiteral("test-home")) || qEnvironmentVariableIsSet("LUMA_ANY_HOME"))
        << DataHome.toStdString();
    QDir(DataHome + "/mime").removeRecursively();
    QDir(DataHome + "/applications").removeRecursively();
    SetFileTypesExeName(QStringLiteral("/opt/Mes Applis/100% \"Luma\"/lumaretique"));
  }
  QString DataHome;
};

TEST_F(FileAssociationTest, RegisteringWritesAValidPackageAndDesktopEntryForTheThreeTypes) {
  EXPECT_EQ(GetExtensionProgID("lmi"), "");
  RegisterFileTypes(false);

  for (const char* Ext : {"lmi", ".LMS", "lmv"}) EXPECT_TRUE(IsOwnExtension(Ext)) << Ext;
  EXPECT_EQ(GetExtensionProgID(".Lmi"), "application/vnd.lumaretique.lmi");
  EXPECT_EQ(GetExtensionProgID("lmv"), "application/vnd.lumaretique.lmv");

  const QByteArray Entry = ReadAll(DesktopEntryFile());
  EXPECT_TRUE(Entry.contains("\nExec=\"/opt/Mes Applis/100%% \\\\\"Luma\\\\\"/lumaretique\" %f\n")) << Entry.data();
  EXPECT_TRUE(Entry.contains(
      "\nMimeType=application/vnd.lumaretique.lmi;application/vnd.lumaretique.lms;application/vnd.lumaretique.lmv;\n"));
  if (const auto Problems = Check("desktop-file-validate", {DesktopEntryFile()}))
    EXPECT_EQ(*Problems, "") << "desktop-file-validate";
  if (const auto Problems = Check("xmllint", {"--noout", MimePackageFile()})) EXPECT_EQ(*Problems, "") << "xmllint";

  // The desktop learnt the types, where its tools are installed.
  if (!QStandardPaths::findExecutable("update-mime-database").isEmpty())
    EXPECT_TRUE(ReadAll(DataHome + "/mime/globs2").contains("application/vnd.lumaretique.lms:*.lms"));
  if (const QString XdgMime = QStandardPaths::findExecutable("xdg-mime"); !XdgMime.isEmpty()) {
    QProcess Query;
    Query.start(XdgMime, {"query", "default", "application/vnd.lumaretique.lmi"});
    ASSERT_TRUE(Query.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(Query.readAllStandardOutput()).trimmed(), OwnDesktopEntry);
  }
}

TEST_F(FileAssociationTest, WithoutForceNothingIsDoneOnceLmiIsOurs) {
  RegisterFileTypes(false);
  const QByteArray Package = ReadAll(MimePackageFile());
  ASSERT_TRUE(QFile::remove(DesktopEntryFile()));
  SetFileTypesExeName("/usr/local/bin/lumaretique");

  RegisterFileTypes(false);
  EXPECT_FALSE(QFile::exists(DesktopEntryFile())) << "a second call without force does nothing";

  RegisterFileTypes(true);
  EXPECT_TRUE(ReadAll(DesktopEntryFile()).contains("\nExec=\"/usr/local/bin/lumaretique\" %f\n"));
  EXPECT_EQ(ReadAll(MimePackageFile()), Package);
}

TEST_F(FileAssociationTest, AnotherProgramsClaimIsOutweighedAndKept) {
  const QByteArray Other = "<?xml version=\"1.0\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"application/x-otherapp-image\"><glob pattern=\"*.lmi\"/></mime-type>\n"
                           "</mime-info>\n";
  WriteFile(DataHome + "/mime/packages/a-otherapp.xml", Other);
  EXPECT_EQ(GetExtensionProgID("lmi"), "application/x-otherapp-image");
  EXPECT_FALSE(IsOwnExtension("lmi"));

  RegisterFileTypes(false);
  EXPECT_EQ(GetExtensionProgID("lmi"), "application/vnd.lumaretique.lmi");
  EXPECT_EQ(ReadAll(DataHome + "/mime/packages/a-otherapp.xml"), Other) << "the other program's claim stays";
  ASSERT_TRUE(QFile::remove(MimePackageFile()));
  EXPECT_EQ(GetExtensionProgID("lmi"), "application/x-otherapp-image") << "and comes back without ours";

  // A damaged package of someone else's is read as far as it goes.
  WriteFile(DataHome + "/mime/packages/b-broken.xml", "<mime-info><mime-type type=\"x/y\"><glob pattern=");
  EXPECT_EQ(GetExtensionProgID("lmi"), "application/x-otherapp-image");
}

TEST_F(FileAssociationTest, MissingDesktopToolsAreSkippedAndTheFilesStillWritten) {
  const QByteArray Path = qgetenv("PATH");
  qputenv("PATH", "");
  RegisterFileTypes(true);
  qputenv("PATH", Path);
  EXPECT_TRUE(IsOwnExtension("lmi"));
  EXPECT_TRUE(QFile::exists(DesktopEntryFile()));
  EXPECT_FALSE(QFile::exists(DataHome + "/mime/globs2")) << "no database without its tool";
}

} // namespace
