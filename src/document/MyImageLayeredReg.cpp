#include "document/MyImageLayeredReg.h"

#include "document/MyGraphic.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

uint8_t ReadLayeredFileStart(TStream& Stream) {
  char Magic[sizeof LayeredFileMagic];
  Stream.ReadBuffer(Magic, sizeof Magic);
  if (std::memcmp(Magic, LayeredFileMagic, sizeof Magic) != 0) InvalidDataFile();
  const uint8_t Version = Stream.ReadByte();
  if (Version < 1 || Version > 3) InvalidDataFile();
  return Version;
}

void TMyImageLayeredReg::ReadHeader(TStream& Stream) {
  FProperties = TLMProperties();
  FProperties.Version = ReadLayeredFileStart(Stream);
  FProperties.Width = Stream.ReadInt32();
  FProperties.Height = Stream.ReadInt32();
  FProperties.DPI = Stream.ReadInt32() / 1000.0;
  Stream.ReadInt32();
  FProperties.Comment = ReadAnsi256(Stream);
  FProperties.ColorCount = Stream.ReadInt32();
}

void TMyImageLayeredReg::LoadFromStream(TStream& Stream) {
  ReadHeader(Stream);
  if (FThumbMode) {
    ReadThumbnailBlock(*this, Stream);
    return;
  }
  if (!FLoadLayer) return;
  SkipThumbnailBlock(Stream);
  Stream.ReadInt32();
  TLayerItem Scratch;
  Scratch.LoadFromStream(Stream);
  Swap(Scratch.Bitmap());
  Changed();
}

void TMyImageLayeredReg::LoadThumbnail(const QString& FileName) {
  const bool Old = FThumbMode;
  FThumbMode = true;
  try {
    LoadFromFile(FileName);
  } catch (...) {
    FThumbMode = Old;
    throw;
  }
  FThumbMode = Old;
}

void TMyImageLayeredReg::LoadFromFile(const QString& FileName) {
  try {
    TFileReadStream Stream(FileName);
    LoadFromStream(Stream);
  } catch (const EStreamError& E) {
    throw EStreamError(E.Text().isEmpty() ? FileName : E.Text() + QLatin1Char('\n') + FileName);
  }
}

bool CheckLayeredFile(const QString& FileName) {
  try {
    TFileReadStream Stream(FileName);
    TMyImageLayeredReg Reader;
    Reader.ReadHeader(Stream);
    return Reader.Properties().Width > 0 && Reader.Properties().Height > 0;
  } catch (const EStreamError&) {
    return false;
  }
}

namespace {

std::string LocalPath(const QString& FileName) { return QFile::encodeName(FileName).toStdString(); }

// The file a save replaces: the end of a chain of links, or the name itself.
QString ResolveTarget(const QString& FileName) {
  const QFileInfo Info(FileName);
  if (Info.isSymLink()) {
    const QString Canonical = Info.canonicalFilePath();
    if (!Canonical.isEmpty()) return Canonical;
  }
  return FileName;
}

void SyncFolderOf(const QString& FileName) {
  const int Fd = ::open(LocalPath(QFileInfo(FileName).absolutePath()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
}

} // namespace

QString LayeredTempFileName(const QString& FileName) {
  const qsizetype Slash = FileName.lastIndexOf(QLatin1Char('/'));
  const qsizetype Dot = FileName.lastIndexOf(QLatin1Char('.'));
  QString T = (Dot > Slash + 1 ? FileName.left(Dot) : FileName) + QStringLiteral(".lmtmp");
  // A target that already ends in the temporary extension keeps its own name.
  if (T == FileName) T += QStringLiteral(".lmtmp");
  return T;
}

void SaveLayeredFileSafely(const QString& FileName, const std::function<void(TStream& Stream)>& WriteFile) {
  const QString Target = ResolveTarget(FileName);
  const QString Temp = LayeredTempFileName(Target);
  const std::string TempPath = LocalPath(Temp);
  struct TRemoveTemp {
    const std::string& Path;
    bool Keep = false;
    ~TRemoveTemp() {
      if (!Keep) ::unlink(Path.c_str());
    }
  } RemoveTemp{TempPath};

  {
    TSafeFile File(Temp);
    TSafeFileStream Stream(File);
    WriteFile(Stream);
    File.Commit();
  }
  if (!CheckLayeredFile(Temp)) throw EStreamError(QStringLiteral("The written file does not read back: ") + Temp);
  struct stat Existing;
  if (::stat(LocalPath(Target).c_str(), &Existing) == 0) ::chmod(TempPath.c_str(), Existing.st_mode & 07777);
  if (::rename(TempPath.c_str(), LocalPath(Target).c_str()) != 0)
    throw ESafeFileError(LocalPath(FileName) + ": cannot replace the file: " + std::strerror(errno));
  RemoveTemp.Keep = true;
  SyncFolderOf(Target);
}
