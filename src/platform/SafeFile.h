// Safe replacement of a file, the one way every writer of the program puts
// bytes on disk: the bytes go to a temporary file in the target's folder,
// which is flushed to disk and renamed over the target only when the whole
// file was written. A failed or killed save leaves the old file whole and no
// temporary file behind. Depends on QtCore (file names) and POSIX; used by
// every writer above platform.
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
// so even a killed process leaves nothing behind; elsewhere it is a hidden
// file beside the target, removed on every failure path.
class TSafeFile {
public:
  // Throws ESafeFileError when the temporary file cannot be created or the
  // target is a read-only file (IsReadOnlyFile).
  explicit TSafeFile(const QString& FileName);
  ~TSafeFile();
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  // Buffered; throws ESafeFileError on a write error (a full disk).
  void Write(const void* Data, size_t Size);
  // Flushes, syncs the data to disk, renames over the target and syncs the
  // folder. Throws ESafeFileError; the target is then unchanged.
  void Commit();
  // Drops everything written; the target is unchanged. Also done by the
  // destructor when Commit was not called.
  void Discard() noexcept;

  const QString& FileName() const { return FFileName; }
  int64_t Written() const { return FWritten; }

private:
  void Flush();
  void WriteOut(const char* Data, size_t Size);
  [[noreturn]] void Fail(const char* What, int Error);

  QString FFileName;     // as given, for messages
  std::string FTarget;   // the path that is replaced (links resolved)
  std::string FTempName; // named temporary file, empty for an unnamed one
  int FFd = -1;
  bool FUnnamed = false;
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

// Rewrites an existing file with its first bytes changed, through a
// TSafeFile: Patch receives the first HeadSize bytes (fewer for a shorter
// file) and answers whether to write. False (and the file untouched) when the
// file cannot be opened or Patch declines; an I/O error while copying throws
// ESafeFileError and leaves the file as it was.
bool PatchFileHead(const QString& FileName, size_t HeadSize,
                   const std::function<bool(std::vector<uint8_t>& Head)>& Patch);
