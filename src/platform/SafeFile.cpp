#include "platform/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 1 << 16;

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
  return FolderOf(Target) + "/." + BaseOf(Target) + "." + UniqueSuffix() + ".tmp";
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

void SyncFolder(const std::string& Folder) {
  const int Fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd); // a folder that cannot be synced (some network file systems) is no failure
  ::close(Fd);
}

} // namespace

TSafeFile::TSafeFile(const QString& FileName) : FFileName(FileName) {
  FTarget = ResolveTarget(LocalPath(FileName));
  const std::string Folder = FolderOf(FTarget);
  struct stat Existing;
  const bool Exists = ::stat(FTarget.c_str(), &Existing) == 0;
  if (Exists && S_ISDIR(Existing.st_mode)) Fail("is a folder", EISDIR);
  if (Exists && IsReadOnlyFile(FileName)) Fail("the file is read-only", EACCES);

  // The unnamed file is linked in at commit through /proc; without /proc it
  // could not be, so a named one is used from the start.
  if (::access("/proc/self/fd", X_OK) == 0) {
    FFd = ::open(Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    FUnnamed = FFd >= 0;
  }
  for (int Attempt = 0; FFd < 0 && Attempt < 16; ++Attempt) {
    FTempName = TempNameFor(FTarget);
    FFd = ::open(FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (FFd < 0 && errno != EEXIST) break;
  }
  if (FFd < 0) {
    const int Error = errno;
    FTempName.clear();
    Fail("cannot create a temporary file", Error);
  }
  if (Exists) ::fchmod(FFd, Existing.st_mode & 07777);
  FBuffer.reserve(BufferSize);
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

void TSafeFile::Commit() {
  if (FFd < 0) throw ESafeFileError(LocalPath(FFileName) + ": commit after the file was closed");
  Flush();
  if (::fsync(FFd) != 0) Fail("cannot flush to disk", errno);
  if (FUnnamed) {
    const std::string Proc = "/proc/self/fd/" + std::to_string(FFd);
    for (int Attempt = 0; Attempt < 16; ++Attempt) {
      FTempName = TempNameFor(FTarget);
      if (::linkat(AT_FDCWD, Proc.c_str(), AT_FDCWD, FTempName.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      const int Error = errno;
      FTempName.clear();
      if (Error != EEXIST) Fail("cannot name the temporary file", Error);
    }
    if (FTempName.empty()) Fail("cannot name the temporary file", EEXIST);
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
