// Safe replacement of a file, the one way every writer of the program puts
// bytes on disk: the bytes go to a temporary file in the target's folder,
// which is flushed to disk and renamed over the target only when the whole
// file was written. A failed or killed save leaves the old file whole; what a
// killed save leaves of its temporary file is removed by the next save in that
// folder. Depends on QtCore (file names) and POSIX; used by every writer above
// platform.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// An I/O failure of a safe write or of a patch; the message names the file.
class ESafeFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Writes one file. Nothing is visible at the target until Commit succeeds;
// destroying the object without a Commit (an exception on the way) discards
// everything written. A target that is a symbolic link is written through
// the link; an existing target's permission bits are kept.
//
// The temporary file is unnamed (O_TMPFILE) where the file system allows it,
// so a killed process leaves nothing behind until Commit names it; elsewhere
// it is a hidden file beside the target (".<name>.<12 hex digits>.tmp"),
// removed on every failure path. Each save holds a lock on its temporary file
// for its whole life, and every new save first removes the temporary files of
// its folder that no save holds (the leftovers of killed saves): files of the
// hidden pattern, and files named "*" SafeFilePassExtension that start with
// SafeFilePassSignature. Nothing else is ever touched.
class TSafeFile {
public:
  // Throws ESafeFileError when the temporary file cannot be created or the
  // target is a read-only file (IsReadOnlyFile).
  explicit TSafeFile(const QString& FileName);
  // As above; Commit gives the file the name PassName (in the target's
  // folder, where no file may exist) just before renaming it over the target,
  // so that the new file is seen under that name only for that moment.
  TSafeFile(const QString& FileName, const QString& PassName);
  ~TSafeFile();
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  // Buffered; throws ESafeFileError on a write error (a full disk).
  void Write(const void* Data, size_t Size);
  // Flushes and answers a name through which the bytes written so far can be
  // read back (the unnamed file through /proc), valid until Commit or Discard.
  QString ReadBackName();
  // Flushes, syncs the data to disk, renames over the target and syncs the
  // folder. Throws ESafeFileError; the target is then unchanged.
  void Commit();
  // Drops everything written; the target is unchanged. Also done by the
  // destructor when Commit was not called.
  void Discard() noexcept;

  const QString& FileName() const { return FFileName; }
  int64_t Written() const { return FWritten; }

private:
  void CreateTemporary(const std::string& Folder);
  int NameTemporary(const std::string& Name);
  void Flush();
  void WriteOut(const char* Data, size_t Size);
  [[noreturn]] void Fail(const char* What, int Error);

  QString FFileName;     // as given, for messages
  std::string FTarget;   // the path that is replaced (links resolved)
  std::string FPassName; // the name given just before the rename, or empty
  std::string FTempName; // named temporary file, empty for an unnamed one
  int FFd = -1;
  int FMode = -1; // the replaced file's permission bits, -1 for a new file
  int64_t FWritten = 0;
  int64_t FOnDisk = 0; // bytes handed to the file system
  std::vector<char> FBuffer;
};

// The file exists and may not be replaced: it has no write permission bit
// at all (the read-only attribute of a file, which even the superuser's saves
// keep to), or this process may not write it.
bool IsReadOnlyFile(const QString& FileName);

// Test seam: every safe file fails with "no space left" once this many bytes
// of it would reach the disk; a negative value (the start value) sets no
// limit. Process-wide, interface thread only.
void SetSafeFileWriteLimit(int64_t Bytes);

// The file a write to FileName really replaces: the end of a chain of
// symbolic links, or FileName itself.
QString SafeFileTarget(const QString& FileName);

// The extension of the visible temporary name of the layered save, and what
// every such file starts with (the layered file's magic): together they tell
// a leftover of ours from a file of the user's.
inline constexpr char SafeFilePassExtension[] = ".lmtmp";
inline constexpr char SafeFilePassSignature[] = "Lumaretique Image";

// Test seam: false makes every safe file use the hidden named temporary file,
// as on a file system without unnamed files; true (the start value) uses
// unnamed ones where possible. Process-wide, interface thread only.
void SetSafeFileUnnamedAllowed(bool Allowed);

// Rewrites an existing file with its first bytes changed, through a
// TSafeFile: Patch receives the first HeadSize bytes (fewer for a shorter
// file) and answers whether to write. False (and the file untouched) when the
// file cannot be opened or Patch declines; an I/O error while copying throws
// ESafeFileError and leaves the file as it was.
bool PatchFileHead(const QString& FileName, size_t HeadSize,
                   const std::function<bool(std::vector<uint8_t>& Head)>& Patch);
