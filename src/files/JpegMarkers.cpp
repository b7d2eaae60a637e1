#include "files/JpegMarkers.h"

#include <QFile>

#include <cstring>

namespace {

constexpr uint8_t MarkerPrefix = 0xFF, Soi = 0xD8, Eoi = 0xD9, Sos = 0xDA, Tem = 0x01;

bool IsStandalone(uint8_t Marker) { return Marker == Tem || (Marker >= 0xD0 && Marker <= 0xD7); }

} // namespace

bool JpegDataEndsEarly(std::span<const uint8_t> Data) {
  const size_t Size = Data.size();
  if (Size < 2 || Data[0] != MarkerPrefix || Data[1] != Soi) return false;
  size_t Pos = 2;
  for (;;) {
    // A marker: one or more 0xFF, then its code.
    if (Pos >= Size) return true;
    if (Data[Pos] != MarkerPrefix) return false; // damaged, not short
    while (Pos < Size && Data[Pos] == MarkerPrefix) ++Pos;
    if (Pos >= Size) return true;
    const uint8_t Marker = Data[Pos++];
    if (Marker == Eoi) return false;
    if (IsStandalone(Marker)) continue;
    if (Pos + 2 > Size) return true;
    const size_t Length = size_t(Data[Pos]) << 8 | Data[Pos + 1];
    if (Length < 2) return false;
    Pos += Length;
    if (Pos > Size) return true;
    if (Marker != Sos) continue;
    // Entropy-coded data up to the next marker other than a stuffed zero or
    // a restart.
    for (;;) {
      const void* Found = std::memchr(Data.data() + Pos, MarkerPrefix, Size - Pos);
      if (!Found) return true;
      Pos = size_t(static_cast<const uint8_t*>(Found) - Data.data());
      if (Pos + 1 >= Size) return true;
      const uint8_t Next = Data[Pos + 1];
      if (Next == 0x00 || (Next >= 0xD0 && Next <= 0xD7))
        Pos += 2;
      else if (Next == MarkerPrefix)
        ++Pos;
      else
        break;
    }
  }
}

bool JpegFileEndsEarly(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly) || File.size() <= 0) return false;
  const uchar* Mapped = File.map(0, File.size());
  if (Mapped) return JpegDataEndsEarly({Mapped, size_t(File.size())});
  const QByteArray Bytes = File.readAll();
  return JpegDataEndsEarly({reinterpret_cast<const uint8_t*>(Bytes.constData()), size_t(Bytes.size())});
}
