#include "extensions/CompanionChannel.h"
#include "extensions/CompanionPrograms.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(CompanionChannelTest, FramesComeOffTheStreamWholeAndOversizedOnesAreRefused) {
  const TCompanionFrame Sent{CompanionCopyData, -5, 2, QByteArray("block")};
  QByteArray Stream = EncodeCompanionFrame(Sent) + EncodeCompanionFrame({CompanionEnded, 0, 0, {}});
  ASSERT_EQ(Stream.size(), 2 * CompanionFrameHeader + 5);
  bool Malformed = true;
  QByteArray Part = Stream.left(CompanionFrameHeader + 4); // one byte short
  EXPECT_FALSE(TakeCompanionFrame(Part, Malformed));
  EXPECT_FALSE(Malformed);
  EXPECT_EQ(Part.size(), CompanionFrameHeader + 4); // nothing taken

  const auto First = TakeCompanionFrame(Stream, Malformed);
  ASSERT_TRUE(First);
  EXPECT_EQ(First->Message, CompanionCopyData);
  EXPECT_EQ(First->Param, -5);
  EXPECT_EQ(First->Kind, 2);
  EXPECT_EQ(First->Data, "block");
  const auto Second = TakeCompanionFrame(Stream, Malformed);
  ASSERT_TRUE(Second);
  EXPECT_EQ(Second->Message, CompanionEnded);
  EXPECT_TRUE(Stream.isEmpty());

  // A header that claims 4 GB is refused at once, before any byte of it.
  QByteArray Huge = EncodeCompanionFrame({CompanionCopyData, 0, 0, {}});
  Huge[20] = Huge[21] = Huge[22] = Huge[23] = char(0xFF);
  EXPECT_FALSE(TakeCompanionFrame(Huge, Malformed));
  EXPECT_TRUE(Malformed);
}

TEST(CompanionProgramsTest, CommandLinesAndNames) {
  EXPECT_EQ(BridgeCommandLine(42, "FR", "/a b/L.ini"), "-hwnd=42 -lng=FR -ini=\"/a b/L.ini\"");
  EXPECT_EQ(TwainCommandLine(true, 42, "EN", "/L.ini"), "-gui -hwnd=42 -lng=EN -ini=\"/L.ini\"");
  EXPECT_EQ(TwainCommandLine(false, 42, "EN", "/L.ini"), "-hwnd=42 -lng=EN -ini=\"/L.ini\"");
  EXPECT_EQ(CircleTextCommandLine(7, "DE"), "-hwnd=7 -lng=DE");
  EXPECT_TRUE(IsTwainHelper("/x/lmtwain32.EXE"));
  EXPECT_FALSE(IsTwainHelper("/x/LMTwain32.exe.bak"));

  QTemporaryDir Dir;
  const QString Plain = Dir.filePath("scan.EXE"), Script = Dir.filePath("scan"), Data = Dir.filePath("notes");
  for (const QString& Name : {Plain, Script, Data}) QFile(Name).open(QIODevice::WriteOnly);
  QFile(Script).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_TRUE(IsExeOrShortcut(Plain));
  EXPECT_TRUE(IsExeOrShortcut(Script));
  EXPECT_FALSE(IsExeOrShortcut(Data));
  EXPECT_FALSE(IsExeOrShortcut(Dir.filePath("missing.exe")));
  EXPECT_FALSE(IsExeOrShortcut(""));
}

TEST(CompanionProgramsTest, TheCircleTextCaptionComesFromItsLanguageFile) {
  QTemporaryDir Dir;
  ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins"));
  TCompanionPrograms Programs(Dir.path() + "/");
  EXPECT_FALSE(Programs.CircleTextAvailable("EN"));
  EXPECT_FALSE(Programs.BridgeAvailable());
  EXPECT_EQ(Programs.TwainHelperPath(), "");
  QFile(Dir.filePath("Plugins/LMCircleText32.exe")).open(QIODevice::WriteOnly);
  TIniFile(Dir.filePath("Plugins/LMCircleText32.lng")).WriteString("EN", "Caption", "Text on a circle");
  ASSERT_TRUE(Programs.CircleTextAvailable("EN"));
  EXPECT_EQ(Programs.CircleTextCaption(), "Text on a circle");

  TCompanionPrograms Other(Dir.path() + "/");
  ASSERT_TRUE(Other.CircleTextAvailable("IT")); // no section of that language
  EXPECT_EQ(Other.CircleTextCaption(), "Texte en cercle");
}

} // namespace
