#include "filters/StreamUtils.h"

#include "i18n/LibLang.h"
#include "platform/SafeFile.h"
#include "raster/DataFileError.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

EStreamReadError::EStreamReadError() : std::runtime_error(StreamReadErrorText) {}
EStreamReadError::EStreamReadError(const QString& Text) : std::runtime_error(Text.toStdString()) {}

void InvalidStreamData() { throw EStreamReadError(Tr(TrId::GetShpMsgStreamError)); }

void WriteBuf(QIODevice& S, const void* Data, int64_t Size) {
  if (Size <= 0) return;
  if (S.write(static_cast<const char*>(Data), Size) != Size) throw EStreamReadError();
}

void ReadBuf(QIODevice& S, void* Data, int64_t Size) {
  if (Size <= 0) return;
  if (S.read(static_cast<char*>(Data), Size) != Size) throw EStreamReadError();
}

namespace {

template <int N> void WriteLE(QIODevice& S, uint32_t V) {
  uint8_t B[N];
  for (int I = 0; I < N; ++I) B[I] = uint8_t(V >> (8 * I));
  WriteBuf(S, B, N);
}

template <int N> uint32_t ReadLE(QIODevice& S) {
  uint8_t B[N];
  ReadBuf(S, B, N);
  uint32_t V = 0;
  for (int I = 0; I < N; ++I) V |= uint32_t(B[I]) << (8 * I);
  return V;
}

} // namespace

void WriteByte(QIODevice& S, uint8_t V) { WriteLE<1>(S, V); }
uint8_t ReadByte(QIODevice& S) { return uint8_t(ReadLE<1>(S)); }
void WriteWord(QIODevice& S, int V) { WriteLE<2>(S, uint32_t(V)); }
uint16_t ReadWord(QIODevice& S) { return uint16_t(ReadLE<2>(S)); }
void WriteLong(QIODevice& S, int32_t V) { WriteLE<4>(S, uint32_t(V)); }
int32_t ReadLong(QIODevice& S) { return int32_t(ReadLE<4>(S)); }
void WriteBool(QIODevice& S, bool V) { WriteByte(S, V ? 1 : 0); }
bool ReadBool(QIODevice& S) { return ReadByte(S) != 0; }

void WritePoint(QIODevice& S, TPoint P) {
  WriteWord(S, P.X);
  WriteWord(S, P.Y);
}

TPoint ReadPoint(QIODevice& S) {
  const int X = int16_t(ReadWord(S));
  return {X, int16_t(ReadWord(S))};
}

void WriteAnsiStr(QIODevice& S, const QByteArray& Str, int N) {
  if (N == 0) return;
  const qsizetype Count = (N < 0 || N > Str.size()) ? Str.size() : N;
  WriteBuf(S, Str.constData(), Count);
}

QByteArray ReadAnsiStr(QIODevice& S, int N) {
  if (N <= 0) return {};
  // Only what the stream holds is allocated: a huge N fails before.
  if (!S.isSequential() && S.bytesAvailable() < N) throw EStreamReadError();
  QByteArray Str(N, '\0');
  ReadBuf(S, Str.data(), N);
  return Str;
}

// ---- Whole files ----------------------------------------------------------------

namespace {
void ReportNamed(const char* What, const QString& FileName) {
  ReportFileError(QString::fromUtf8(What) + QLatin1Char('\n') + FileName);
}
} // namespace

bool SaveStreamFile(const QString& FileName, const std::function<void(QIODevice&)>& Write) {
  try {
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    Write(Buffer);
    TSafeFile File(FileName);
    File.Write(Buffer.data().constData(), size_t(Buffer.data().size()));
    File.Commit();
  } catch (const ESafeFileError& E) {
    ReportFileError(QString::fromLocal8Bit(E.what())); // names the file already
    return false;
  } catch (const EStreamReadError& E) {
    ReportNamed(E.what(), FileName);
    return false;
  }
  return true;
}

bool LoadStreamFile(const QString& FileName, const std::function<void(QIODevice&)>& Read) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) {
    ReportFileError(FileName + QStringLiteral(": ") + File.errorString());
    return false;
  }
  try {
    Read(File);
  } catch (const EStreamReadError& E) {
    ReportNamed(E.what(), FileName);
    return false;
  }
  return true;
}
