#include "platform/NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int MaxDecimals = 18;

// The digits of a picture section and the text around them.
struct TPicture {
  QString Prefix, Suffix;
  int IntZeros = 0;    // integer digits always written
  int IntPlaces = 0;   // placeholders before the point
  int MinDecimals = 0; // decimals always written
  int MaxDecimals = 0; // placeholders after the point
  bool Scientific = false;
  bool ExpPlus = false; // "E+": positive exponents get their sign too
  QChar ExpChar = u'E';
  int ExpZeros = 0;
};

TPicture ParsePicture(QStringView S) {
  TPicture P;
  bool SeenPlaceholder = false, AfterPoint = false;
  auto AddLiteral = [&](QStringView Text) { (SeenPlaceholder ? P.Suffix : P.Prefix) += Text; };
  for (qsizetype I = 0; I < S.size(); ++I) {
    const QChar C = S[I];
    if (C == u'"' || C == u'\'') {
      const qsizetype End = S.indexOf(C, I + 1);
      const qsizetype Stop = End < 0 ? S.size() : End;
      AddLiteral(S.mid(I + 1, Stop - I - 1));
      I = Stop;
    } else if (C == u'0' || C == u'#') {
      if (P.Scientific) continue; // after the exponent only its own zeros count
      SeenPlaceholder = true;
      if (AfterPoint) {
        ++P.MaxDecimals;
        if (C == u'0') P.MinDecimals = P.MaxDecimals;
      } else {
        ++P.IntPlaces;
        if (C == u'0') ++P.IntZeros;
      }
    } else if (C == u'.') {
      AfterPoint = true;
    } else if (C == u',') {
      // digit grouping: never written
    } else if ((C == u'E' || C == u'e') && I + 1 < S.size() && (S[I + 1] == u'+' || S[I + 1] == u'-') &&
               SeenPlaceholder && !P.Scientific) {
      P.Scientific = true;
      P.ExpChar = C;
      P.ExpPlus = S[I + 1] == u'+';
      I += 2;
      while (I < S.size() && S[I] == u'0') {
        ++P.ExpZeros;
        ++I;
      }
      --I;
    } else {
      AddLiteral(S.mid(I, 1));
    }
  }
  P.MaxDecimals = std::min(P.MaxDecimals, MaxDecimals);
  P.MinDecimals = std::min(P.MinDecimals, P.MaxDecimals);
  return P;
}

std::string PrintF(const char* Format, int Precision, double Value) {
  const int N = std::snprintf(nullptr, 0, Format, Precision, Value);
  std::string Out(static_cast<size_t>(std::max(N, 0)) + 1, '\0');
  std::snprintf(Out.data(), Out.size(), Format, Precision, Value);
  Out.resize(static_cast<size_t>(std::max(N, 0)));
  return Out;
}

// Adds one to the last digit of a digit string; true when it grew by a digit.
bool IncrementDigits(std::string& Digits) {
  for (size_t I = Digits.size(); I-- > 0;) {
    if (Digits[I] != '9') {
      ++Digits[I];
      return false;
    }
    Digits[I] = '0';
  }
  Digits.insert(Digits.begin(), '1');
  return true;
}

// Extra exact digits printed beyond the last kept one, so that the first
// dropped digit is never itself the result of rounding.
constexpr int GuardDigits = 40;

bool AllZero(const std::string& S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return C == '0'; });
}

// |Value| in fixed notation: integer digits and exactly Decimals decimals,
// rounded half away from zero.
void FixedDigits(double Value, int Decimals, std::string& Int, std::string& Frac) {
  const std::string S = PrintF("%.*f", Decimals + GuardDigits, std::fabs(Value));
  const size_t Point = S.find('.');
  Int = S.substr(0, Point);
  std::string All = Int + S.substr(Point + 1, static_cast<size_t>(Decimals));
  const bool Up = S[Point + 1 + static_cast<size_t>(Decimals)] >= '5';
  if (Up && IncrementDigits(All)) Int.insert(Int.begin(), '0'); // one more integer digit
  Int = All.substr(0, Int.size());
  Frac = All.substr(Int.size());
}

QString FormatSection(const TPicture& P, double Value, bool& DigitsZero) {
  const QString Sep = DecimalSeparator();
  QString Body;
  if (!P.Scientific) {
    std::string Int, Frac;
    FixedDigits(Value, P.MaxDecimals, Int, Frac);
    DigitsZero = AllZero(Int) && AllZero(Frac);
    while (static_cast<int>(Frac.size()) > P.MinDecimals && Frac.back() == '0') Frac.pop_back();
    Int.erase(0, std::min(Int.find_first_not_of('0'), Int.size()));
    while (static_cast<int>(Int.size()) < P.IntZeros) Int.insert(Int.begin(), '0');
    Body = QString::fromLatin1(Int);
    if (!Frac.empty()) Body += Sep + QString::fromLatin1(Frac);
  } else {
    const int IntDigits = std::max(P.IntPlaces, 1);
    const int Significant = IntDigits + P.MaxDecimals;
    std::string Digits;
    int Exponent = 0;
    if (Value == 0) {
      Digits.assign(static_cast<size_t>(Significant), '0');
      DigitsZero = true;
    } else {
      const std::string S = PrintF("%.*e", Significant - 1 + GuardDigits, std::fabs(Value));
      const size_t E = S.find('e');
      std::string Mantissa = S.substr(0, 1) + S.substr(2, E - 2);
      Exponent = std::stoi(S.substr(E + 1));
      Digits = Mantissa.substr(0, static_cast<size_t>(Significant));
      if (Mantissa[static_cast<size_t>(Significant)] >= '5' && IncrementDigits(Digits)) {
        Digits.pop_back();
        ++Exponent;
      }
      Exponent -= IntDigits - 1;
      DigitsZero = false;
    }
    std::string Frac = Digits.substr(static_cast<size_t>(IntDigits));
    while (static_cast<int>(Frac.size()) > P.MinDecimals && Frac.back() == '0') Frac.pop_back();
    Body = QString::fromLatin1(Digits.substr(0, static_cast<size_t>(IntDigits)));
    if (!Frac.empty()) Body += Sep + QString::fromLatin1(Frac);
    QString Exp = QString::number(std::abs(Exponent));
    while (Exp.size() < P.ExpZeros) Exp.prepend(u'0');
    Body += P.ExpChar;
    if (Exponent < 0)
      Body += u'-';
    else if (P.ExpPlus)
      Body += u'+';
    Body += Exp;
  }
  return P.Prefix + Body + P.Suffix;
}

bool IsBlank(QChar C) { return C == u' ' || C == u'\t'; }

QStringView TrimBlanks(QStringView S) {
  while (!S.isEmpty() && IsBlank(S.front())) S = S.mid(1);
  while (!S.isEmpty() && IsBlank(S.back())) S.chop(1);
  return S;
}

// Parses with any of the given separators as the decimal point.
bool ParseFloat(QStringView Text, const QStringList& Separators, double& Value) {
  const QStringView S = TrimBlanks(Text);
  std::string C; // the number in the C locale's form
  qsizetype I = 0;
  if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) {
    if (S[I] == u'-') C += '-';
    ++I;
  }
  bool Digits = false, Point = false;
  while (I < S.size()) {
    const QChar Ch = S[I];
    if (Ch >= u'0' && Ch <= u'9') {
      C += static_cast<char>(Ch.unicode());
      Digits = true;
      ++I;
      continue;
    }
    const auto Sep = std::find_if(Separators.begin(), Separators.end(),
                                  [&](const QString& P) { return !P.isEmpty() && S.mid(I).startsWith(P); });
    if (Sep == Separators.end() || Point) break;
    Point = true;
    C += '.';
    I += Sep->size();
  }
  if (!Digits) return false;
  if (I < S.size() && (S[I] == u'e' || S[I] == u'E')) {
    C += 'e';
    ++I;
    if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) C += static_cast<char>(S[I++].unicode());
    bool ExpDigits = false;
    while (I < S.size() && S[I] >= u'0' && S[I] <= u'9') {
      C += static_cast<char>(S[I++].unicode());
      ExpDigits = true;
    }
    if (!ExpDigits) return false;
  }
  if (I != S.size()) return false;
  double Result = 0;
  const auto [End, Error] = std::from_chars(C.data(), C.data() + C.size(), Result);
  if (Error != std::errc() || End != C.data() + C.size() || !std::isfinite(Result)) return false;
  Value = Result;
  return true;
}

} // namespace

QString DecimalSeparator() { return QLocale().decimalPoint(); }

QString FormatFloat(QStringView Format, double Value) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (Format.isEmpty()) return FloatToStr(Value);
  QList<QStringView> Sections;
  for (QStringView Part : Format.split(u';')) Sections.append(Part);
  const bool Negative = Value < 0;
  bool DigitsZero = false;
  QString Text;
  if (Negative && Sections.size() >= 2 && !Sections[1].isEmpty()) {
    Text = FormatSection(ParsePicture(Sections[1]), Value, DigitsZero);
  } else {
    Text = FormatSection(ParsePicture(Sections[0]), Value, DigitsZero);
    if (Negative && !DigitsZero) Text.prepend(u'-');
  }
  if (DigitsZero && Sections.size() >= 3 && !Sections[2].isEmpty())
    Text = FormatSection(ParsePicture(Sections[2]), 0.0, DigitsZero);
  return Text;
}

QString FloatToStr(double Value) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (Value == 0) return QStringLiteral("0");
  const std::string S = PrintF("%.*e", 14, Value); // 15 significant digits
  const size_t E = S.find('e');
  const bool Negative = S[0] == '-';
  const size_t First = Negative ? 1 : 0;
  std::string Digits = S.substr(First, 1) + S.substr(First + 2, E - First - 2);
  int Exponent = std::stoi(S.substr(E + 1));
  while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();
  const QString Sep = DecimalSeparator();
  QString Out = Negative ? QStringLiteral("-") : QString();
  if (std::fabs(Value) >= 0.00001 && Exponent < 15) {
    if (Exponent < 0) {
      Out += u'0' + Sep + QString(-Exponent - 1, u'0') + QString::fromLatin1(Digits);
    } else {
      const size_t IntLen = static_cast<size_t>(Exponent) + 1;
      if (Digits.size() <= IntLen) {
        Out += QString::fromLatin1(Digits) + QString(static_cast<qsizetype>(IntLen - Digits.size()), u'0');
      } else {
        Out += QString::fromLatin1(Digits.substr(0, IntLen)) + Sep + QString::fromLatin1(Digits.substr(IntLen));
      }
    }
  } else {
    Out += QString::fromLatin1(Digits.substr(0, 1));
    if (Digits.size() > 1) Out += Sep + QString::fromLatin1(Digits.substr(1));
    Out += u'E' + QString::number(Exponent);
  }
  return Out;
}

bool TryStrToFloat(QStringView Text, double& Value) { return ParseFloat(Text, {DecimalSeparator()}, Value); }

bool TryStrToFloatAnyPoint(QStringView Text, double& Value) {
  return ParseFloat(Text, {DecimalSeparator(), QStringLiteral("."), QStringLiteral(",")}, Value);
}

double StrToFloatDef(QStringView Text, double Default) {
  double Value = Default;
  return TryStrToFloat(Text, Value) ? Value : Default;
}

bool TryStrToInt(QStringView Text, int& Value, bool AllowHex) {
  QStringView S = TrimBlanks(Text);
  bool Negative = false;
  if (!S.isEmpty() && (S.front() == u'+' || S.front() == u'-')) {
    Negative = S.front() == u'-';
    S = S.mid(1);
  }
  int Base = 10;
  if (AllowHex && S.startsWith(u'$')) {
    Base = 16;
    S = S.mid(1);
  } else if (AllowHex && (S.startsWith(u"0x") || S.startsWith(u"0X"))) {
    Base = 16;
    S = S.mid(2);
  }
  if (S.isEmpty() || S.size() > 40) return false;
  int64_t Magnitude = 0;
  for (QChar C : S) {
    const int Digit = C >= u'0' && C <= u'9'                 ? C.unicode() - u'0'
                      : Base == 16 && C >= u'a' && C <= u'f' ? C.unicode() - u'a' + 10
                      : Base == 16 && C >= u'A' && C <= u'F' ? C.unicode() - u'A' + 10
                                                             : -1;
    if (Digit < 0) return false;
    Magnitude = Magnitude * Base + Digit;
    if (Magnitude > (Base == 16 ? int64_t(UINT32_MAX) : int64_t(INT_MAX) + 1)) return false;
  }
  int64_t Result;
  if (Base == 16) // 32 bits read as a signed value, as "$FFFFFFFF" is -1
    Result = static_cast<int32_t>(static_cast<uint32_t>(Magnitude));
  else
    Result = Magnitude;
  if (Negative) Result = -Result;
  if (Result < INT_MIN || Result > INT_MAX) return false;
  Value = static_cast<int>(Result);
  return true;
}

int StrToIntDef(QStringView Text, int Default, bool AllowHex) {
  int Value = Default;
  return TryStrToInt(Text, Value, AllowHex) ? Value : Default;
}
