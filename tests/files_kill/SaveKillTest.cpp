// Saves killed with -9 at random moments and at the moment their temporary
// file appears: the target is always one of its two versions, whole, and the
// next save leaves no temporary file behind.
#include "files/BmpOE2.h"
#include "platform/SafeFile.h"
#include "raster/DataFileError.h"
#include "saver/SaveVersions.h"
#include "support/ImageCompare.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <memory>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// The saver program, driven through pipes; it forks the processes that are
// killed.
class TSaver {
public:
  TSaver() {
    int In[2], Out[2];
    if (::pipe2(In, O_CLOEXEC) != 0 || ::pipe2(Out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_adddup2(&Actions, In[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&Actions, Out[1], STDOUT_FILENO);
    const char* Argv[] = {LUMA_KILL_SAVER, nullptr};
    if (posix_spawn(&FPid, LUMA_KILL_SAVER, &Actions, nullptr, const_cast<char**>(Argv), environ) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&Actions);
    ::close(In[0]);
    ::close(Out[1]);
    FIn = In[1];
    FOut = Out[0];
  }
  ~TSaver() {
    Stop();
    ::close(FIn); // the saver ends with its input
    ::close(FOut);
    if (FPid > 0) ::waitpid(FPid, nullptr, 0);
  }
  TSaver(const TSaver&) = delete;
  TSaver& operator=(const TSaver&) = delete;

  // Starts a process saving FileName; false when it could not save its
  // first version.
  bool StartLoop(const QString& FileName, bool Named) {
    const std::string Line = Command("loop", FileName, Named);
    if (Line.rfind("ready ", 0) != 0) return false;
    FLoop = std::stoi(Line.substr(6));
    return true;
  }
  // Kills the saving process; answers how it ended ("killed" by this kill).
  std::string Kill() {
    ::kill(FLoop, SIGKILL); // not yet reaped by the saver, so still this process
    FLoop = -1;
    const std::string Ended = Line();
    return Ended.rfind("end ", 0) == 0 ? Ended.substr(4) : Ended;
  }
  // Kills the saving process a failed test left running.
  void Stop() {
    if (FLoop > 0) Kill();
  }
  // Saves version 0 once; answers "saved" or "failed".
  std::string SaveOnce(const QString& FileName, bool Named) { return Command("once", FileName, Named); }
  // Readable once the saving process is gone.
  int Output() const { return FOut; }

private:
  std::string Command(const char* Name, const QString& FileName, bool Named) {
    const std::string Sent =
        std::string(Name) + (Named ? " named " : " unnamed ") + QFile::encodeName(FileName).toStdString() + '\n';
    if (::write(FIn, Sent.data(), Sent.size()) != ssize_t(Sent.size())) return {};
    return Line();
  }
  std::string Line() {
    std::string Read;
    for (char C; ::read(FOut, &C, 1) == 1 && C != '\n';) Read += C;
    return Read;
  }

  pid_t FPid = -1, FLoop = -1;
  int FIn = -1, FOut = -1;
};

// The names that appear in a folder, created or renamed into it.
class TFolderWatch {
public:
  explicit TFolderWatch(const QString& Folder) {
    FFd = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(FFd, QFile::encodeName(Folder).constData(), IN_CREATE | IN_MOVED_TO);
  }
  ~TFolderWatch() { ::close(FFd); }
  TFolderWatch(const TFolderWatch&) = delete;
  TFolderWatch& operator=(const TFolderWatch&) = delete;

  // The next name to appear; empty when Saver's process ended first.
  std::string Next(const TSaver& Saver) {
    while (FNames.empty()) {
      pollfd Fds[2] = {{FFd, POLLIN, 0}, {Saver.Output(), POLLIN, 0}};
      if (::poll(Fds, 2, -1) < 0) continue;
      if (Fds[0].revents & POLLIN) {
        alignas(inotify_event) char Buffer[4096];
        const ssize_t N = ::read(FFd, Buffer, sizeof Buffer);
        for (ssize_t At = 0; At < N;) {
          const auto* Event = reinterpret_cast<const inotify_event*>(Buffer + At);
          if (Event->len > 0) FNames.emplace_back(Event->name);
          At += static_cast<ssize_t>(sizeof(inotify_event) + Event->len);
        }
      } else if (Fds[1].revents) {
        return {};
      }
    }
    std::string Name = FNames.front();
    FNames.pop_front();
    return Name;
  }

private:
  int FFd = -1;
  std::deque<std::string> FNames;
};

struct TKillCase {
  const char* Ext;
  bool Named; // the safe file's fallback without unnamed files
};

void PrintTo(const TKillCase& Case, std::ostream* Out) { *Out << Case.Ext << (Case.Named ? " named" : " unnamed"); }

std::string CaseName(const ::testing::TestParamInfo<TKillCase>& Info) {
  return std::string(Info.param.Ext) + (Info.param.Named ? "_named" : "_unnamed");
}

class SaveKill : public ::testing::TestWithParam<TKillCase> {
protected:
  // One saver for all cases: a sanitized program is slow to start.
  static void SetUpTestSuite() { Saver = new TSaver; }
  static void TearDownTestSuite() {
    delete Saver;
    Saver = nullptr;
  }
  static inline TSaver* Saver = nullptr;

  void SetUp() override {
    OldHandler = SetFileErrorHandler([this](const QString& M) { Messages << M; });
    Target = Dir.filePath(QStringLiteral("image.") + GetParam().Ext);
    // The versions as the writers make them, decoded as the target will be.
    for (int V = 0; V < 2; ++V) {
      const QString Reference = References.filePath(QStringLiteral("v%1.").arg(V) + GetParam().Ext);
      ASSERT_TRUE(SaveVersion(Reference, V));
      if (!IsRaw()) {
        ASSERT_TRUE(Decode(Reference, Decoded[V]));
      }
    }
    for (const auto& [Name, Bytes] : Foreign) {
      QFile F(Dir.filePath(Name));
      ASSERT_TRUE(F.open(QIODevice::WriteOnly));
      F.write(Bytes);
    }
  }
  void TearDown() override {
    Saver->Stop();
    SetFileErrorHandler(OldHandler);
  }

  bool IsRaw() const { return std::strcmp(GetParam().Ext, "raw") == 0; }
  bool Decode(const QString& FileName, TBitmap& Bitmap) {
    QString Name = FileName;
    return LoadBitmapFromFile(Name, Bitmap, QString());
  }

  // The target holds version 0 or 1 whole.
  void ExpectOneVersionWhole() {
    if (IsRaw()) {
      QFile F(Target);
      ASSERT_TRUE(F.open(QIODevice::ReadOnly));
      const std::string Bytes = F.readAll().toStdString();
      EXPECT_TRUE(Bytes == RawVersion(0) || Bytes == RawVersion(1)) << Bytes.size() << " bytes";
      return;
    }
    TBitmap Bitmap;
    ASSERT_TRUE(Decode(Target, Bitmap)) << Messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(Bitmap.Height(), Decoded[1].Height());
    const size_t Row = size_t(Decoded[1].Width()) * Decoded[1].BitsPerPixel() / 8;
    const int Version = std::memcmp(Bitmap.ScanLine(0), Decoded[1].ScanLine(0), Row) == 0 ? 1 : 0;
    EXPECT_IMAGES_MATCH(Bitmap, Decoded[Version], 0, "killed save");
  }

  // Apart from the target and the foreign files the folder holds only
  // temporary files of ours; answers how many.
  int TemporaryFiles() {
    const QRegularExpression Ours(
        QStringLiteral("^(\\.image\\.%1\\.[0-9a-f]{12}\\.tmp|image\\.lmtmp)$").arg(QLatin1String(GetParam().Ext)));
    int Count = 0;
    for (const QString& Name : Entries()) {
      if (Name == QFileInfo(Target).fileName() || Foreign.count(Name)) continue;
      EXPECT_TRUE(Ours.match(Name).hasMatch()) << Name.toStdString();
      ++Count;
    }
    return Count;
  }
  QStringList Entries() const {
    return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }

  QTemporaryDir Dir, References;
  QString Target;
  std::array<TBitmap, 2> Decoded;
  // Files that look like ours but are not: no save may remove them.
  const std::map<QString, QByteArray> Foreign = {{QStringLiteral("notes.lmtmp"), "the user's notes"},
                                                 {QStringLiteral(".image.png.tmp"), "x"},
                                                 {QStringLiteral(".image.jpg.0123456789AB.tmp"), "x"}};
  QStringList Messages;
  TFileErrorHandler OldHandler;
};

TEST_P(SaveKill, TheFileIsAlwaysOneVersionWholeAndTheNextSaveCleansUp) {
  constexpr int Rounds = 8;
  const unsigned Seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(Seed));
  std::mt19937 Random(Seed);
  const std::string TargetName = QFile::encodeName(QFileInfo(Target).fileName()).toStdString();
  int LeftBehind = 0;
  for (int Round = 0; Round < Rounds; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    ASSERT_TRUE(Saver->StartLoop(Target, GetParam().Named));
    TFolderWatch Watch(Dir.path());
    if (Round % 2 == 0) {
      // At the moment the first, second or third temporary name appears.
      for (int Left = 1 + int(Random() % 3); Left > 0;) {
        const std::string Name = Watch.Next(*Saver);
        ASSERT_FALSE(Name.empty()) << "the saver ended";
        if (Name != TargetName) --Left;
      }
    } else {
      // Anywhere in a save: two replacements of the target measure one.
      std::array<std::chrono::steady_clock::time_point, 2> Replaced;
      for (auto& Time : Replaced) {
        for (std::string Name; Name != TargetName;) {
          Name = Watch.Next(*Saver);
          ASSERT_FALSE(Name.empty()) << "the saver ended";
        }
        Time = std::chrono::steady_clock::now();
      }
      std::uniform_int_distribution<int64_t> Moment(0, (Replaced[1] - Replaced[0]).count());
      std::this_thread::sleep_for(std::chrono::steady_clock::duration(Moment(Random)));
    }
    ASSERT_EQ(Saver->Kill(), "killed") << "the saver failed on its own";
    ExpectOneVersionWhole();
    LeftBehind += TemporaryFiles();
  }
  RecordProperty("temporary_files_seen_after_kills", LeftBehind);

  ASSERT_EQ(Saver->SaveOnce(Target, GetParam().Named), "saved");
  EXPECT_EQ(TemporaryFiles(), 0) << Entries().join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(Entries().size(), int(Foreign.size()) + 1);
  ExpectOneVersionWhole();
}

INSTANTIATE_TEST_SUITE_P(Formats, SaveKill,
                         ::testing::Values(TKillCase{"lmi", false}, TKillCase{"bmp", false}, TKillCase{"png", false},
                                           TKillCase{"jpg", false}, TKillCase{"gif", false}, TKillCase{"raw", false},
                                           TKillCase{"lmi", true}, TKillCase{"bmp", true}, TKillCase{"png", true},
                                           TKillCase{"jpg", true}, TKillCase{"gif", true}, TKillCase{"raw", true}),
                         CaseName);

} // namespace
