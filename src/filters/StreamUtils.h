// The small stream helpers of the curve files: integers, flags, points,
// raw bytes and 8-bit strings over a Qt byte device, little-endian. Depends
// on QtCore; used by the tone-curve (.lmc) and curve-deformation (.lmd)
// files.
//
// Every read takes exactly its bytes or throws EStreamReadError ("Erreur de
// lecture du flux"): nothing is returned from a short read. Writes throw it
// too when the device takes fewer bytes than given.
#pragma once

#include "raster/RectUtils.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

class QIODevice;

// A read past the end of the stream, a write the device refused, or bytes
// a reader cannot use; what() is the message to show.
class EStreamReadError : public std::runtime_error {
public:
  // "Erreur de lecture du flux".
  EStreamReadError();
  explicit EStreamReadError(const QString& Text);
};

inline constexpr char StreamReadErrorText[] = "Erreur de lecture du flux";

// Throws EStreamReadError with "Fichier de données invalide !" (translated):
// a magic, count or coordinate the reader refuses.
[[noreturn]] void InvalidStreamData();

void WriteByte(QIODevice& S, uint8_t V);
uint8_t ReadByte(QIODevice& S);
// The low 16 bits of V; read back unsigned.
void WriteWord(QIODevice& S, int V);
uint16_t ReadWord(QIODevice& S);
void WriteLong(QIODevice& S, int32_t V);
int32_t ReadLong(QIODevice& S);
// 1 or 0; any non-zero byte reads as true.
void WriteBool(QIODevice& S, bool V);
bool ReadBool(QIODevice& S);
// X then Y as 16-bit words, each read back sign-extended.
void WritePoint(QIODevice& S, TPoint P);
TPoint ReadPoint(QIODevice& S);
void WriteBuf(QIODevice& S, const void* Data, int64_t Size);
void ReadBuf(QIODevice& S, void* Data, int64_t Size);
// The bytes of Str without length or terminator: nothing for N = 0, all of
// it for N < 0 or N beyond its length, else its first N bytes.
void WriteAnsiStr(QIODevice& S, const QByteArray& Str, int N);
// Exactly N bytes (none for N <= 0); the bytes must be there before any is
// taken.
QByteArray ReadAnsiStr(QIODevice& S, int N);

// ---- Whole files ----------------------------------------------------------------
// Write fills a memory stream, which then goes to disk through a safe file:
// a failed save leaves the old file whole. False on failure, reported with
// the file's name through the file error handler.
bool SaveStreamFile(const QString& FileName, const std::function<void(QIODevice&)>& Write);
// Read runs over the opened file. False when the file cannot be opened or
// Read throws EStreamReadError, reported with its message and the file's
// name; Read should change nothing before it has read everything.
bool LoadStreamFile(const QString& FileName, const std::function<void(QIODevice&)>& Read);
