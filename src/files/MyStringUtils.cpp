#include "files/MyStringUtils.h"

#include <algorithm>

int NextDelimiter(const QString& S, QChar Separator, int From) {
  if (From > S.size()) return 0;
  bool InQuotes = false;
  for (int I = std::max(From, 1); I <= S.size(); ++I) {
    const QChar C = S[I - 1];
    if (C == QLatin1Char('"'))
      InQuotes = !InQuotes;
    else if (C == Separator && !InQuotes)
      return I;
  }
  return int(S.size()) + 1;
}

bool FirstField(const QString& S, TFieldScan& Scan) {
  Scan.Index = 0;
  Scan.Start = 1;
  Scan.Stop = NextDelimiter(S, Scan.Separator, 1);
  return Scan.Stop > 0;
}

bool NextField(const QString& S, TFieldScan& Scan) {
  ++Scan.Index;
  Scan.Start = Scan.Stop + 1;
  Scan.Stop = NextDelimiter(S, Scan.Separator, Scan.Start);
  return Scan.Stop > 0;
}

QString FieldText(const QString& S, const TFieldScan& Scan) { return S.mid(Scan.Start - 1, Scan.Stop - Scan.Start); }

QString GetDelimitedField(int Index, const QString& Text, QChar Separator) {
  if (Index < 0) return {};
  TFieldScan Scan;
  Scan.Separator = Separator;
  for (bool Found = FirstField(Text, Scan); Found; Found = NextField(Text, Scan))
    if (Scan.Index == Index) return FieldText(Text, Scan);
  return {};
}

int IndexOfDelimitedField(const QString& Value, const QString& Text, QChar Separator) {
  if (Value.isEmpty() || Text.isEmpty()) return -1;
  TFieldScan Scan;
  Scan.Separator = Separator;
  for (bool Found = FirstField(Text, Scan); Found; Found = NextField(Text, Scan))
    if (Scan.Stop - Scan.Start == Value.size() && SubStrAt(Value, Text, Scan.Start)) return Scan.Index;
  return -1;
}

bool SubStrAt(const QString& Sub, const QString& S, int Pos) {
  if (Sub.isEmpty() || S.isEmpty() || Pos < 1 || Pos - 1 + Sub.size() > S.size()) return false;
  return QStringView(S).mid(Pos - 1, Sub.size()) == Sub;
}
