#include "platform/Win1252.h"

#include <QList>

namespace {
// Code points of bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr char16_t HighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char EncodeChar(char32_t Code) {
  if (Code < 0x80 || (Code >= 0xA0 && Code <= 0xFF)) return static_cast<char>(Code);
  for (int I = 0; I < 32; ++I)
    if (HighTable[I] == Code) return static_cast<char>(0x80 + I);
  return '?';
}
} // namespace

std::string ToWin1252(const QString& Text) {
  std::string Out;
  Out.reserve(static_cast<size_t>(Text.size()));
  for (char32_t Code : Text.toUcs4()) Out.push_back(EncodeChar(Code));
  return Out;
}

QString FromWin1252(std::string_view Bytes) {
  QString Out;
  Out.reserve(static_cast<qsizetype>(Bytes.size()));
  for (char C : Bytes) {
    const auto B = static_cast<unsigned char>(C);
    Out.append(QChar(B >= 0x80 && B < 0xA0 ? HighTable[B - 0x80] : char16_t{B}));
  }
  return Out;
}
