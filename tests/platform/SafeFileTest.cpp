#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Content(const QString& Name) {
  QFile F(Name);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

void Put(const QString& Name, const QByteArray& Bytes) {
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write(Bytes);
}

QStringList Entries(const QTemporaryDir& Dir) {
  return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST(SafeFile, NothingAppearsBeforeTheCommit) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("a.bin");
  {
    TSafeFile F(Name);
    F.Write("hello ", 6);
    const std::string Big(200000, 'x'); // larger than the buffer
    F.Write(Big.data(), Big.size());
    EXPECT_EQ(F.Written(), 200006);
    EXPECT_TRUE(Entries(Dir).isEmpty());
    F.Commit();
  }
  EXPECT_EQ(Entries(Dir), QStringList{"a.bin"});
  EXPECT_EQ(Content(Name).size(), 200006);
  EXPECT_TRUE(Content(Name).startsWith("hello xxx"));
}

TEST(SafeFile, AnAbandonedWriteLeavesTheOldFileWhole) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("keep.txt");
  Put(Name, "old content");
  try {
    TSafeFile F(Name);
    F.Write("new", 3);
    throw std::runtime_error("the writer failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Content(Name), "old content");
  EXPECT_EQ(Entries(Dir), QStringList{"keep.txt"});
}

TEST(SafeFile, AKilledWriterLeavesNoTemporaryFile) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("k.txt");
  Put(Name, "before");
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    TSafeFile F(Name);
    F.Write(std::string(100000, 'z').data(), 100000);
    raise(SIGKILL);
    _exit(0);
  }
  int Status = 0;
  waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFSIGNALED(Status));
  EXPECT_EQ(Content(Name), "before");
  EXPECT_EQ(Entries(Dir), QStringList{"k.txt"});
}

TEST(SafeFile, KeepsPermissionsAndWritesThroughLinks) {
  QTemporaryDir Dir;
  const QString Target = Dir.filePath("target.txt");
  Put(Target, "x");
  ::chmod(QFile::encodeName(Target).constData(), 0640);
  const QString Link = Dir.filePath("link.txt");
  ASSERT_TRUE(QFile::link(Target, Link));
  TSafeFile F(Link);
  F.Write("through", 7);
  F.Commit();
  EXPECT_EQ(Content(Target), "through");
  EXPECT_TRUE(QFileInfo(Link).isSymLink());
  struct stat St;
  ASSERT_EQ(::stat(QFile::encodeName(Target).constData(), &St), 0);
  EXPECT_EQ(St.st_mode & 07777, 0640u);
}

TEST(SafeFile, AFolderThatDoesNotExistIsAnError) {
  QTemporaryDir Dir;
  EXPECT_THROW(TSafeFile(Dir.filePath("no/such/file")), ESafeFileError);
  EXPECT_THROW(TSafeFile(Dir.path()), ESafeFileError);
}

TEST(SafeFile, AReadOnlyFileIsNeverReplaced) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("locked.bin");
  Put(Name, "old");
  EXPECT_FALSE(IsReadOnlyFile(Name));
  EXPECT_FALSE(IsReadOnlyFile(Dir.filePath("missing.bin")));
  EXPECT_FALSE(IsReadOnlyFile(Dir.path()));
  ::chmod(QFile::encodeName(Name).constData(), 0444);
  // No write bit at all: refused even for the superuser, whose renames the
  // folder would otherwise allow.
  EXPECT_TRUE(IsReadOnlyFile(Name));
  EXPECT_THROW(TSafeFile{Name}, ESafeFileError);
  EXPECT_THROW(PatchFileHead(Name, 1, [](std::vector<uint8_t>& Head) { return !Head.empty(); }), ESafeFileError);
  EXPECT_EQ(Content(Name), "old");
  EXPECT_EQ(Entries(Dir), QStringList{"locked.bin"});
}

TEST(SafeFile, AWriteLimitFailsLikeAFullDisk) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("full.bin");
  Put(Name, "old");
  SetSafeFileWriteLimit(1000);
  const std::string Big(300000, 'x');
  try {
    TSafeFile F(Name);
    F.Write("small", 5);
    F.Write(Big.data(), Big.size());
    F.Commit();
    ADD_FAILURE() << "the write past the limit succeeded";
  } catch (const ESafeFileError& E) {
    EXPECT_NE(std::string(E.what()).find("No space left"), std::string::npos) << E.what();
  }
  // Below the limit a file is written whole.
  {
    TSafeFile F(Dir.filePath("small.bin"));
    F.Write("fits", 4);
    F.Commit();
  }
  SetSafeFileWriteLimit(-1);
  EXPECT_EQ(Content(Name), "old");
  EXPECT_EQ(Content(Dir.filePath("small.bin")), "fits");
  EXPECT_EQ(Entries(Dir), (QStringList{"full.bin", "small.bin"}));
}

TEST(SafeFile, PatchFileHead) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("p.bin");
  Put(Name, "0123456789" + QByteArray(3000000, 'r'));
  EXPECT_TRUE(PatchFileHead(Name, 4, [](std::vector<uint8_t>& Head) {
    EXPECT_EQ(Head, (std::vector<uint8_t>{'0', '1', '2', '3'}));
    Head[1] = 'A';
    return true;
  }));
  const QByteArray After = Content(Name);
  EXPECT_EQ(After.left(10), "0A23456789");
  EXPECT_EQ(After.size(), 3000010);
  EXPECT_FALSE(PatchFileHead(Name, 4, [](std::vector<uint8_t>& Head) {
    Head[0] = 'Z';
    return false;
  }));
  EXPECT_EQ(Content(Name).left(2), "0A");
  EXPECT_FALSE(PatchFileHead(Dir.filePath("missing"), 4, [](std::vector<uint8_t>&) { return true; }));
  EXPECT_EQ(Entries(Dir), QStringList{"p.bin"});
}

// Forces the hidden named temporary file for its lifetime.
struct TNamedTemporaries {
  TNamedTemporaries() { SetSafeFileUnnamedAllowed(false); }
  ~TNamedTemporaries() { SetSafeFileUnnamedAllowed(true); }
};

// A layered file's start: what a leftover of the layered save holds.
const QByteArray PassContent = QByteArray(SafeFilePassSignature) + "\x03 rest of the file";

TEST(SafeFile, TheNamedFallbackHidesItsFileAndRemovesItOnFailure) {
  TNamedTemporaries Named;
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("n.bin");
  Put(Name, "old");
  {
    TSafeFile F(Name);
    F.Write("new", 3);
    const QStringList During = Entries(Dir);
    ASSERT_EQ(During.size(), 2);
    EXPECT_TRUE(QRegularExpression("^\\.n\\.bin\\.[0-9a-f]{12}\\.tmp$").match(During[0]).hasMatch())
        << During[0].toStdString();
    EXPECT_EQ(Content(F.ReadBackName()), "new");
  }
  EXPECT_EQ(Content(Name), "old");
  EXPECT_EQ(Entries(Dir), QStringList{"n.bin"});
  TSafeFile F(Name);
  F.Write("new", 3);
  F.Commit();
  EXPECT_EQ(Content(Name), "new");
  EXPECT_EQ(Entries(Dir), QStringList{"n.bin"});
}

// The layered save's way: written and read back unseen, then passed through
// its visible name just before the rename; a file already at that name is
// never replaced.
TEST(SafeFile, APassNameIsTakenOnlyAtTheCommitAndNeverReplacesAFile) {
  for (const bool Unnamed : {true, false}) {
    SCOPED_TRACE(Unnamed ? "unnamed" : "named");
    SetSafeFileUnnamedAllowed(Unnamed);
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("p.lmi"), Pass = Dir.filePath("p.lmtmp");
    Put(Name, "old");
    {
      TSafeFile F(Name, Pass);
      F.Write(PassContent.data(), size_t(PassContent.size()));
      EXPECT_EQ(Content(F.ReadBackName()), PassContent);
      EXPECT_FALSE(QFile::exists(Pass));
      F.Commit();
    }
    EXPECT_EQ(Content(Name), PassContent);
    EXPECT_EQ(Entries(Dir), QStringList{"p.lmi"});

    Put(Pass, "the user's own file");
    {
      TSafeFile F(Name, Pass);
      F.Write("new", 3);
      EXPECT_THROW(F.Commit(), ESafeFileError);
    }
    EXPECT_EQ(Content(Name), PassContent);
    EXPECT_EQ(Content(Pass), "the user's own file");
    EXPECT_EQ(Entries(Dir), (QStringList{"p.lmi", "p.lmtmp"}));
  }
  SetSafeFileUnnamedAllowed(true);
}

// What killed saves left is removed by the next save in the folder: only
// names of our patterns, only regular files whose lock no live save holds,
// and a visible temporary name only when the file starts as ours.
TEST(SafeFile, TheNextSaveRemovesLeftoversAndNothingElse) {
  QTemporaryDir Dir;
  const QString Target = Dir.filePath("t.bin");
  Put(Target, "old");
  // A killed save of the fallback leaves its hidden file.
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    SetSafeFileUnnamedAllowed(false);
    TSafeFile F(Target);
    F.Write("partial", 7);
    raise(SIGKILL);
    _exit(0);
  }
  int Status = 0;
  waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFSIGNALED(Status));
  ASSERT_EQ(Entries(Dir).size(), 2);
  Put(Dir.filePath(".other.png.0123456789ab.tmp"), "left");
  Put(Dir.filePath("left.lmtmp"), PassContent);
  const QStringList Foreign = {".a.0123456789AB.tmp", ".a.012345678.tmp", ".b.0123456789ab.tmp.bak",
                               "0123456789ab.tmp",    "mine.lmtmp",       "mine.lmtmp.txt"};
  for (const QString& Name : Foreign) Put(Dir.filePath(Name), Name == "mine.lmtmp" ? "not a layered file" : "x");
  ASSERT_TRUE(QDir(Dir.path()).mkdir(".folder.0123456789ab.tmp"));
  ASSERT_TRUE(QFile::link(Dir.filePath("left.lmtmp"), Dir.filePath("link.lmtmp")));
  // A file of ours that a live save still holds stays.
  const QString Held = Dir.filePath(".held.0123456789ab.tmp");
  Put(Held, "in use");
  const int HeldFd = ::open(QFile::encodeName(Held).constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(HeldFd, 0);
  ASSERT_EQ(::flock(HeldFd, LOCK_EX), 0);

  TSafeFile F(Dir.filePath("u.bin"));
  F.Write("u", 1);
  F.Commit();
  ::close(HeldFd);
  QStringList Expected = Foreign;
  Expected << "t.bin"
           << "u.bin"
           << ".held.0123456789ab.tmp"
           << "link.lmtmp";
  Expected.sort();
  EXPECT_EQ(Entries(Dir), Expected);
  EXPECT_TRUE(QFileInfo(Dir.filePath(".folder.0123456789ab.tmp")).isDir());
  EXPECT_EQ(Content(Target), "old");
}

TEST(SafeFile, ATargetWithTheTemporaryExtensionIsNotCleanedAway) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("own.lmtmp");
  Put(Name, PassContent);
  {
    TSafeFile F(Name);
    EXPECT_EQ(Content(Name), PassContent);
    F.Write("new", 3);
    F.Commit();
  }
  EXPECT_EQ(Content(Name), "new");
}

} // namespace
