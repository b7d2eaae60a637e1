#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Name = Dir.filePath(QStringLiteral("Settings.ini"));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  void WriteRaw(const QByteArray& Bytes) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Bytes);
  }
  QByteArray ReadRaw() {
    QFile F(Name);
    if (!F.open(QIODevice::ReadOnly)) return {};
    return F.readAll();
  }

  QTemporaryDir Dir;
  QString Name;
};

TEST_F(IniFileTest, HandWrittenFileReadsWithTheProfileRules) {
  WriteRaw("; written by hand\r\n"
           "Orphan=not a key\r\n"
           "[Params]\r\n"
           "  DialogParams =  0  \r\n"
           "Open=\"  /home/me/Images  \"\r\n"
           "Single='quoted'\r\n"
           "Half=\"only one\r\n"
           "List=a, b ,c\r\n"
           "Empty=\r\n"
           "; Hidden=1\r\n"
           "open=second occurrence\r\n"
           "\r\n"
           "[ Position ]\r\n"
           "X=$10\r\n"
           "Y=0x20\r\n"
           "W=12abc\r\n"
           "[params]\r\n"
           "Late=in the second section of that name\r\n");
  TIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadString("PARAMS", "dialogparams", "ERR"), "0");
  EXPECT_EQ(Ini.ReadString("Params", "Open", "ERR"), "  /home/me/Images  ");
  EXPECT_EQ(Ini.ReadString("Params", "Single", "ERR"), "quoted");
  EXPECT_EQ(Ini.ReadString("Params", "Half", "ERR"), "\"only one");
  EXPECT_EQ(Ini.ReadString("Params", "List", "ERR"), "a, b ,c");
  EXPECT_EQ(Ini.ReadString("Params", "Empty", "ERR"), "");
  EXPECT_EQ(Ini.ReadString("Params", "Hidden", "ERR"), "ERR");
  EXPECT_EQ(Ini.ReadString("Params", "Orphan", "ERR"), "ERR");
  EXPECT_EQ(Ini.ReadString("Params", "Late", "ERR"), "ERR"); // the first section of a name counts
  EXPECT_EQ(Ini.ReadString("Missing", "Open", "ERR"), "ERR");
  EXPECT_EQ(Ini.ReadInteger("position", "X", -1), 16);
  EXPECT_EQ(Ini.ReadInteger("position", "Y", -1), 32);
  EXPECT_EQ(Ini.ReadInteger("position", "W", -1), -1);
  EXPECT_EQ(Ini.ReadInteger("position", "H", 7), 7);
  EXPECT_FALSE(Ini.ReadBool("Params", "DialogParams", true));
  EXPECT_TRUE(Ini.ReadBool("Params", "Missing", true));
  EXPECT_TRUE(Ini.ValueExists("params", "EMPTY"));
  EXPECT_FALSE(Ini.ValueExists("params", "Hidden"));
  EXPECT_TRUE(Ini.SectionExists("POSITION"));
  EXPECT_FALSE(Ini.SectionExists("Files"));

  QStringList Keys;
  Ini.ReadSection("params", Keys);
  EXPECT_EQ(Keys, (QStringList{"DialogParams", "Open", "Single", "Half", "List", "Empty"}));
  QStringList Sections;
  Ini.ReadSections(Sections);
  EXPECT_EQ(Sections, (QStringList{"Params", "Position"}));
}

TEST_F(IniFileTest, WritesKeepTheFileAndItsLineEnds) {
  WriteRaw("; comment\r\n[Params]\r\nSkin=Dark\r\nOpen=/a\r\n\r\n[Files]\r\nFile1=x.png\r\n");
  {
    TIniFile Ini(Name);
    Ini.WriteString("PARAMS", "open", "/b"); // replaced in place, key spelling kept
    Ini.WriteString("Params", "Save", "/c"); // new key after the section's last line
    Ini.WriteInteger("Position", "X", -5);   // new section at the end
    Ini.WriteBool("Files", "ClearFileListe", true);
    EXPECT_EQ(Ini.ReadString("params", "OPEN", ""), "/b"); // reads see the pending change
  }
  EXPECT_EQ(ReadRaw(), QByteArray("; comment\r\n[Params]\r\nSkin=Dark\r\nOpen=/b\r\nSave=/c\r\n\r\n"
                                  "[Files]\r\nFile1=x.png\r\nClearFileListe=1\r\n\r\n[Position]\r\nX=-5\r\n"));
}

TEST_F(IniFileTest, NewFileUsesLineFeedsAndEraseAndDeleteWork) {
  {
    TIniFile Ini(Name);
    Ini.WriteString("A", "K1", "1");
    Ini.WriteString("A", "K2", "2");
    Ini.WriteString("B", "K", "3");
  }
  EXPECT_EQ(ReadRaw(), QByteArray("[A]\nK1=1\nK2=2\n\n[B]\nK=3\n"));
  {
    TIniFile Ini(Name);
    Ini.DeleteKey("a", "k1");
    Ini.EraseSection("b");
    EXPECT_FALSE(Ini.ValueExists("A", "K1"));
    EXPECT_FALSE(Ini.SectionExists("B"));
    ASSERT_TRUE(Ini.UpdateFile());
  }
  EXPECT_EQ(ReadRaw(), QByteArray("[A]\nK2=2\n\n"));
}

TEST_F(IniFileTest, ValuesWithLineBreaksAndEscapeMarksRoundTrip) {
  const QStringList Values{"two\r\nlines", "lf\nonly", "\\:looks escaped", "back\\slash\nand break",
                           "\"quoted\nmemo\""};
  {
    TIniFile Ini(Name);
    for (int I = 0; I < Values.size(); ++I) Ini.WriteString("S", QString("V%1").arg(I), Values[I]);
  }
  const QByteArray Raw = ReadRaw();
  EXPECT_EQ(Raw.count('\n'), 1 + Values.size()); // one line per key: no raw line break got in
  TIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadString("S", "V0", ""), "two\r\nlines");
  EXPECT_EQ(Ini.ReadString("S", "V1", ""), "lf\nonly");
  EXPECT_EQ(Ini.ReadString("S", "V2", ""), "\\:looks escaped");
  EXPECT_EQ(Ini.ReadString("S", "V3", ""), "back\\slash\nand break");
  EXPECT_EQ(Ini.ReadString("S", "V4", ""), "quoted\nmemo"); // quotes removed like any other value
  // A plain value with backslashes is stored as written.
  WriteRaw("[S]\nPath=C:\\new\\rows\n");
  EXPECT_EQ(TIniFile(Name).ReadString("S", "Path", ""), "C:\\new\\rows");
}

// Blanks at either end of a value (a file name ending with a blank) survive
// the next start: the value is written quoted.
TEST_F(IniFileTest, ValuesWithBlanksAtTheirEndsReadBackWhole) {
  const QStringList Values{"/images/ends with a blank ", " starts with one", "  both  ", "two\nlines ", "plain"};
  {
    TIniFile Ini(Name);
    for (int I = 0; I < Values.size(); ++I) Ini.WriteString("S", QString("V%1").arg(I), Values[I]);
  }
  TIniFile Ini(Name);
  for (int I = 0; I < Values.size(); ++I) EXPECT_EQ(Ini.ReadString("S", QString("V%1").arg(I), ""), Values[I]) << I;
  EXPECT_TRUE(ReadRaw().contains("V4=plain\n")); // written as given
  EXPECT_TRUE(ReadRaw().contains("V0=\"/images/ends with a blank \"\n"));
}

TEST_F(IniFileTest, FloatsReadBackWhateverSeparatorTheyWereWrittenWith) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  {
    TIniFile Ini(Name);
    Ini.WriteFloat("S", "F", 1.5);
    Ini.WriteFloat("S", "Big", 2.5e20);
  }
  EXPECT_NE(ReadRaw().indexOf("F=1,5"), -1);
  EXPECT_NE(ReadRaw().indexOf("Big=2,5E20"), -1);
  QLocale::setDefault(QLocale::c());
  TIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadFloat("S", "F", 0), 1.5);
  EXPECT_EQ(Ini.ReadFloat("S", "Big", 0), 2.5e20);
  Ini.WriteString("S", "Dot", "0.25");
  Ini.WriteString("S", "Bad", "inf");
  EXPECT_EQ(Ini.ReadFloat("S", "Dot", 0), 0.25);
  EXPECT_EQ(Ini.ReadFloat("S", "Bad", 7), 7);
}

TEST_F(IniFileTest, EncodingsAreRecognised) {
  WriteRaw("\xEF\xBB\xBF[S]\nName=\xC3\xA9t\xC3\xA9\n"); // UTF-8 with a byte order mark
  EXPECT_EQ(TIniFile(Name).ReadString("s", "name", ""), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
  WriteRaw("[S]\nName=\xE9t\xE9 \x80\n"); // Windows-1252
  EXPECT_EQ(TIniFile(Name).ReadString("S", "Name", ""), QString::fromUtf8("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"));
  const char16_t Utf16[] = u"\uFEFF[S]\r\nName=\u00E9\r\n";
  WriteRaw(QByteArray(reinterpret_cast<const char*>(Utf16), sizeof(Utf16) - 2));
  EXPECT_EQ(TIniFile(Name).ReadString("S", "Name", ""), QString::fromUtf8("\xC3\xA9"));
}

TEST_F(IniFileTest, WriteFailuresAreSwallowedAndUnreadableFilesKept) {
  const QString Missing = Dir.filePath(QStringLiteral("no/such/folder/x.ini"));
  {
    TIniFile Ini(Missing);
    Ini.WriteString("S", "K", "V");
    EXPECT_FALSE(Ini.UpdateFile());
  } // the destructor swallows the failure too
  EXPECT_FALSE(QFile::exists(Missing));

  // A name that exists but cannot be read (here a folder) is never replaced.
  const QString Folder = Dir.filePath(QStringLiteral("folder.ini"));
  ASSERT_TRUE(QDir().mkdir(Folder));
  {
    TIniFile Ini(Folder);
    EXPECT_EQ(Ini.ReadString("S", "K", "ERR"), "ERR");
    Ini.WriteString("S", "K", "new");
    EXPECT_FALSE(Ini.UpdateFile());
  }
  EXPECT_TRUE(QFileInfo(Folder).isDir());
}

TEST_F(IniFileTest, UnchangedValuesDoNotRewriteTheFile) {
  WriteRaw("[S]\nK=same\n");
  TIniFile Ini(Name);
  Ini.WriteString("S", "K", "same");
  EXPECT_FALSE(Ini.Modified());
  Ini.WriteString("S", "K", "other");
  EXPECT_TRUE(Ini.Modified());
}

} // namespace
