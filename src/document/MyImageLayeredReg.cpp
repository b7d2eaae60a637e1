#include "document/MyImageLayeredReg.h"

#include "document/MyGraphic.h"
#include "platform/SafeFile.h"

#include <cstring>
#include <string_view>

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

QString LayeredTempFileName(const QString& FileName) {
  const qsizetype Slash = FileName.lastIndexOf(QLatin1Char('/'));
  const qsizetype Dot = FileName.lastIndexOf(QLatin1Char('.'));
  const QString Extension = QString::fromLatin1(SafeFilePassExtension);
  QString T = (Dot > Slash + 1 ? FileName.left(Dot) : FileName) + Extension;
  // A target that already ends in the temporary extension keeps its own name.
  if (T == FileName) T += Extension;
  return T;
}

// The leftovers of killed saves are told from the user's files by this start.
static_assert(std::string_view(LayeredFileMagic, sizeof LayeredFileMagic) == SafeFilePassSignature);

void SaveLayeredFileSafely(const QString& FileName, const std::function<void(TStream& Stream)>& WriteFile) {
  // The file is written and checked while it has no name (or a hidden one);
  // it takes the temporary name only for the moment before the rename.
  TSafeFile File(FileName, LayeredTempFileName(SafeFileTarget(FileName)));
  TSafeFileStream Stream(File);
  WriteFile(Stream);
  if (!CheckLayeredFile(File.ReadBackName()))
    throw EStreamError(QStringLiteral("The written file does not read back: ") + FileName);
  File.Commit();
}
