#include "platform/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 1 << 16;
constexpr std::string_view HiddenTempEnd = ".tmp";
constexpr size_t HiddenTempDigits = 12;

std::string LocalPath(const QString& FileName) { return QFile::encodeName(FileName).toStdString(); }

std::string FolderOf(const std::string& Path) {
  const size_t Slash = Path.rfind('/');
  if (Slash == std::string::npos) return ".";
  if (Slash == 0) return "/";
  return Path.substr(0, Slash);
}

std::string BaseOf(const std::string& Path) {
  const size_t Slash = Path.rfind('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

// The file a write to Path really replaces: the end of a chain of symbolic
// links, or Path itself when it does not exist yet.
std::string ResolveTarget(const std::string& Path) {
  struct stat St;
  if (lstat(Path.c_str(), &St) == 0 && S_ISLNK(St.st_mode)) {
    char Buffer[PATH_MAX];
    if (realpath(Path.c_str(), Buffer)) return Buffer;
  }
  return Path;
}

std::string UniqueSuffix() {
  static std::mt19937_64 Generator{std::random_device{}()};
  char Text[24];
  std::snprintf(Text, sizeof Text, "%012llx", static_cast<unsigned long long>(Generator() & 0xFFFFFFFFFFFFull));
  return Text;
}

std::string TempNameFor(const std::string& Target) {
  return FolderOf(Target) + "/." + BaseOf(Target) + "." + UniqueSuffix() + std::string(HiddenTempEnd);
}

// ".<name>.<12 hex digits>.tmp", as TempNameFor makes them.
bool IsHiddenTempName(std::string_view Name) {
  const size_t Tail = 1 + HiddenTempDigits + HiddenTempEnd.size();
  if (Name.size() < 2 + Tail || Name[0] != '.' || !Name.ends_with(HiddenTempEnd)) return false;
  const std::string_view Digits = Name.substr(Name.size() - HiddenTempEnd.size() - HiddenTempDigits, HiddenTempDigits);
  return Name[Name.size() - Tail] == '.' && std::all_of(Digits.begin(), Digits.end(), [](char C) {
           return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f');
         });
}

bool IsPassName(std::string_view Name) {
  const std::string_view Extension = SafeFilePassExtension;
  return Name.size() > Extension.size() && Name.ends_with(Extension);
}

bool StartsWithPassSignature(int Fd) {
  const std::string_view Signature = SafeFilePassSignature;
  char Head[sizeof SafeFilePassSignature];
  return ::pread(Fd, Head, Signature.size(), 0) == static_cast<ssize_t>(Signature.size()) &&
         Signature == std::string_view(Head, Signature.size());
}

// Removes what killed saves left in the folder: files of our temporary
// patterns, regular and of this user, whose lock no live save holds (a save
// locks its temporary file for its whole life). Keep, the target of the save
// that cleans, is never removed even when its name has the pattern.
void RemoveLeftTemporaries(const std::string& Folder, const std::string& Keep) {
  DIR* Dir = ::opendir(Folder.c_str());
  if (!Dir) return;
  const int DirFd = ::dirfd(Dir);
  while (const dirent* Entry = ::readdir(Dir)) {
    const std::string_view Name = Entry->d_name;
    const bool Hidden = IsHiddenTempName(Name);
    if ((!Hidden && !IsPassName(Name)) || Name == Keep) continue;
    const int Fd = ::openat(DirFd, Entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Fd < 0) continue;
    struct stat Opened, Named;
    // The name is checked to be still the file that was locked: a save may
    // have renamed it away in between.
    if (::fstat(Fd, &Opened) == 0 && S_ISREG(Opened.st_mode) && Opened.st_uid == ::geteuid() &&
        ::flock(Fd, LOCK_EX | LOCK_NB) == 0 && (Hidden || StartsWithPassSignature(Fd)) &&
        ::fstatat(DirFd, Entry->d_name, &Named, AT_SYMLINK_NOFOLLOW) == 0 && Named.st_dev == Opened.st_dev &&
        Named.st_ino == Opened.st_ino)
      ::unlinkat(DirFd, Entry->d_name, 0);
    ::close(Fd);
  }
  ::closedir(Dir);
}

// Takes the lock that keeps cleaners away from a new named temporary file.
// False when a cleaner opened the file in the moment between its creation
// and the lock (it is then removing it); a file system without locks leaves
// it unlocked, and no cleaner can lock it either.
bool ClaimNamedTemporary(int Fd) {
  if (::flock(Fd, LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
  struct stat St;
  return ::fstat(Fd, &St) == 0 && St.st_nlink > 0;
}

// rename that never replaces a file; where the file system cannot promise
// that, the name is checked just before.
bool RenameNoReplace(const std::string& From, const std::string& To) {
  if (::renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL) return false;
  struct stat St;
  if (::lstat(To.c_str(), &St) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(From.c_str(), To.c_str()) == 0;
}

bool WriteAll(int Fd, const char* Data, size_t Size) {
  while (Size > 0) {
    const ssize_t N = ::write(Fd, Data, Size);
    if (N < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    Data += N;
    Size -= static_cast<size_t>(N);
  }
  return true;
}

int64_t WriteLimit = -1;
bool UnnamedAllowed = true;

void SyncFolder(const std::string& Folder) {
  const int Fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd); // a folder that cannot be synced (some network file systems) is no failure
  ::close(Fd);
}

} // namespace

TSafeFile::TSafeFile(const QString& FileName) : TSafeFile(FileName, QString()) {}

TSafeFile::TSafeFile(const QString& FileName, const QString& PassName)
    : FFileName(FileName), FPassName(LocalPath(PassName)) {
  FTarget = ResolveTarget(LocalPath(FileName));
  const std::string Folder = FolderOf(FTarget);
  struct stat Existing;
  const bool Exists = ::stat(FTarget.c_str(), &Existing) == 0;
  if (Exists && S_ISDIR(Existing.st_mode)) Fail("is a folder", EISDIR);
  if (Exists && IsReadOnlyFile(FileName)) Fail("the file is read-only", EACCES);
  if (Exists) FMode = static_cast<int>(Existing.st_mode & 07777);
  RemoveLeftTemporaries(Folder, BaseOf(FTarget));
  CreateTemporary(Folder);
  FBuffer.reserve(BufferSize);
}

void TSafeFile::CreateTemporary(const std::string& Folder) {
  // The unnamed file is linked in at commit through /proc; without /proc it
  // could not be, so a named one is used from the start.
  if (UnnamedAllowed && ::access("/proc/self/fd", X_OK) == 0) {
    FFd = ::open(Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // Locked before it has a name, so no cleaner ever sees it unlocked.
    if (FFd >= 0) ::flock(FFd, LOCK_EX | LOCK_NB);
  }
  for (int Attempt = 0; FFd < 0 && Attempt < 16; ++Attempt) {
    FTempName = TempNameFor(FTarget);
    FFd = ::open(FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (FFd < 0 && errno != EEXIST) break;
    if (FFd >= 0 && !ClaimNamedTemporary(FFd)) {
      ::close(FFd);
      FFd = -1;
    }
  }
  if (FFd < 0) {
    const int Error = errno;
    FTempName.clear();
    Fail("cannot create a temporary file", Error);
  }
}

TSafeFile::~TSafeFile() { Discard(); }

void TSafeFile::Fail(const char* What, int Error) {
  const std::string Message =
      LocalPath(FFileName) + ": " + What + (Error ? std::string(": ") + std::strerror(Error) : "");
  Discard();
  throw ESafeFileError(Message);
}

void TSafeFile::Write(const void* Data, size_t Size) {
  if (FFd < 0) throw ESafeFileError(LocalPath(FFileName) + ": write after the file was closed");
  const char* P = static_cast<const char*>(Data);
  if (FBuffer.size() + Size > BufferSize) Flush();
  if (Size >= BufferSize) {
    WriteOut(P, Size);
  } else {
    FBuffer.insert(FBuffer.end(), P, P + Size);
  }
  FWritten += static_cast<int64_t>(Size);
}

void TSafeFile::Flush() {
  if (FBuffer.empty()) return;
  WriteOut(FBuffer.data(), FBuffer.size());
  FBuffer.clear();
}

void TSafeFile::WriteOut(const char* Data, size_t Size) {
  if (WriteLimit >= 0 && FOnDisk + static_cast<int64_t>(Size) > WriteLimit) {
    const size_t Room = static_cast<size_t>(std::max<int64_t>(WriteLimit - FOnDisk, 0));
    if (WriteAll(FFd, Data, Room)) FOnDisk += static_cast<int64_t>(Room);
    Fail("write failed", ENOSPC);
  }
  if (!WriteAll(FFd, Data, Size)) Fail("write failed", errno);
  FOnDisk += static_cast<int64_t>(Size);
}

bool IsReadOnlyFile(const QString& FileName) {
  const std::string Path = LocalPath(FileName);
  struct stat St;
  if (::stat(Path.c_str(), &St) != 0 || S_ISDIR(St.st_mode)) return false;
  return (St.st_mode & 0222) == 0 || ::access(Path.c_str(), W_OK) != 0;
}

void SetSafeFileWriteLimit(int64_t Bytes) { WriteLimit = Bytes; }

void SetSafeFileUnnamedAllowed(bool Allowed) { UnnamedAllowed = Allowed; }

QString SafeFileTarget(const QString& FileName) {
  return QFile::decodeName(ResolveTarget(LocalPath(FileName)).c_str());
}

QString TSafeFile::ReadBackName() {
  if (FFd < 0) throw ESafeFileError(LocalPath(FFileName) + ": read after the file was closed");
  Flush();
  if (!FTempName.empty()) return QFile::decodeName(FTempName.c_str());
  return QStringLiteral("/proc/self/fd/%1").arg(FFd);
}

// Gives the temporary file the name Name, never replacing a file there;
// answers 0 or the error.
int TSafeFile::NameTemporary(const std::string& Name) {
  if (FTempName.empty()) {
    const std::string Proc = "/proc/self/fd/" + std::to_string(FFd);
    if (::linkat(AT_FDCWD, Proc.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) != 0) return errno;
  } else if (!RenameNoReplace(FTempName, Name)) {
    return errno;
  }
  FTempName = Name;
  return 0;
}

void TSafeFile::Commit() {
  if (FFd < 0) throw ESafeFileError(LocalPath(FFileName) + ": commit after the file was closed");
  Flush();
  if (::fsync(FFd) != 0) Fail("cannot flush to disk", errno);
  // The mode is set only now: until then the file must stay readable for
  // ReadBackName.
  if (FMode >= 0) ::fchmod(FFd, static_cast<mode_t>(FMode));
  if (!FPassName.empty()) {
    if (const int Error = NameTemporary(FPassName)) Fail("cannot name the temporary file", Error);
  } else if (FTempName.empty()) {
    int Error = EEXIST;
    for (int Attempt = 0; Error == EEXIST && Attempt < 16; ++Attempt) Error = NameTemporary(TempNameFor(FTarget));
    if (Error) Fail("cannot name the temporary file", Error);
  }
  if (::rename(FTempName.c_str(), FTarget.c_str()) != 0) Fail("cannot replace the file", errno);
  FTempName.clear();
  ::close(FFd);
  FFd = -1;
  SyncFolder(FolderOf(FTarget));
}

void TSafeFile::Discard() noexcept {
  if (FFd >= 0) {
    ::close(FFd);
    FFd = -1;
  }
  if (!FTempName.empty()) {
    ::unlink(FTempName.c_str());
    FTempName.clear();
  }
  FBuffer.clear();
}

bool PatchFileHead(const QString& FileName, size_t HeadSize,
                   const std::function<bool(std::vector<uint8_t>& Head)>& Patch) {
  const std::string Path = LocalPath(FileName);
  const int In = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (In < 0) return false;
  struct Closer {
    int Fd;
    ~Closer() { ::close(Fd); }
  } CloseIn{In};

  std::vector<uint8_t> Head(HeadSize);
  size_t Got = 0;
  while (Got < HeadSize) {
    const ssize_t N = ::read(In, Head.data() + Got, HeadSize - Got);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) throw ESafeFileError(Path + ": read failed: " + std::strerror(errno));
    if (N == 0) break;
    Got += static_cast<size_t>(N);
  }
  Head.resize(Got);
  if (!Patch(Head)) return false;

  TSafeFile Out(FileName);
  Out.Write(Head.data(), Head.size());
  std::vector<char> Chunk(1 << 20);
  for (;;) {
    const ssize_t N = ::read(In, Chunk.data(), Chunk.size());
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) throw ESafeFileError(Path + ": read failed: " + std::strerror(errno));
    if (N == 0) break;
    Out.Write(Chunk.data(), static_cast<size_t>(N));
  }
  Out.Commit();
  return true;
}
