#include "i18n/Format.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace {

// One placeholder read at Fmt[Start] == '%'.
struct TSpec {
  bool Valid = false;   // a placeholder that consumes an argument
  bool Percent = false; // "%%"
  bool LeftAlign = false;
  int Width = -1;
  int Precision = -1;
  QChar Type;    // lower case
  qsizetype End; // index after the placeholder
};

// Widths and precisions beyond this are a broken format, not a wish.
constexpr int MaxField = 1000;

int ReadNumber(QStringView Fmt, qsizetype& I) {
  int Value = 0;
  while (I < Fmt.size() && Fmt[I].isDigit() && Fmt[I].unicode() < 128) {
    Value = std::min(MaxField, Value * 10 + (Fmt[I].unicode() - '0'));
    ++I;
  }
  return Value;
}

TSpec ReadSpec(QStringView Fmt, qsizetype Start) {
  TSpec Spec;
  qsizetype I = Start + 1;
  Spec.End = I;
  if (I < Fmt.size() && Fmt[I] == u'%') {
    Spec.Percent = true;
    Spec.End = I + 1;
    return Spec;
  }
  if (I < Fmt.size() && Fmt[I] == u'-') {
    Spec.LeftAlign = true;
    ++I;
  }
  if (I < Fmt.size() && Fmt[I].isDigit()) Spec.Width = ReadNumber(Fmt, I);
  if (I < Fmt.size() && Fmt[I] == u'.') {
    ++I;
    if (I >= Fmt.size() || !Fmt[I].isDigit()) return Spec;
    Spec.Precision = ReadNumber(Fmt, I);
  }
  if (I >= Fmt.size()) return Spec;
  const QChar Type = Fmt[I].toLower();
  if (!QStringView(u"duxsfegn").contains(Type)) return Spec;
  Spec.Valid = true;
  Spec.Type = Type;
  Spec.End = I + 1;
  return Spec;
}

QString WithLocalePoint(QString Text) {
  const QString Point = QLocale().decimalPoint();
  if (Point != u".") Text.replace(u'.', Point);
  return Text;
}

// Scientific form with at least three exponent digits, as "1.50000000000000E+003".
QString Scientific(double V, int Digits) {
  QString Text = QString::number(V, 'E', std::max(0, Digits - 1));
  const qsizetype E = Text.indexOf(u'E');
  if (E >= 0 && E + 2 <= Text.size()) {
    QString Exponent = Text.mid(E + 2);
    while (Exponent.size() < 3) Exponent.prepend(u'0');
    Text = Text.left(E + 2) + Exponent;
  }
  return WithLocalePoint(Text);
}

QString FormatNumber(double V, const TSpec& Spec) {
  if (!std::isfinite(V))
    return std::isnan(V) ? QStringLiteral("NAN") : V > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  switch (Spec.Type.unicode()) {
  case 'f':
    return WithLocalePoint(QString::number(V, 'f', Spec.Precision < 0 ? 2 : Spec.Precision));
  case 'n':
    return QLocale().toString(V, 'f', Spec.Precision < 0 ? 2 : Spec.Precision);
  case 'e':
    return Scientific(V, Spec.Precision < 0 ? 15 : std::max(1, Spec.Precision));
  default: // 'g'
    return WithLocalePoint(QString::number(V, 'G', Spec.Precision < 0 ? 15 : std::max(1, Spec.Precision)));
  }
}

QString FormatWhole(int64_t V, const TSpec& Spec) {
  QString Digits;
  bool Negative = false;
  if (Spec.Type == u'x') {
    Digits = QString::number(static_cast<quint64>(V), 16).toUpper();
  } else if (Spec.Type == u'u') {
    Digits = QString::number(static_cast<quint64>(V));
  } else {
    Negative = V < 0;
    Digits = QString::number(V);
    if (Negative) Digits.remove(0, 1);
  }
  // A precision on a whole number is its least count of digits.
  if (Spec.Precision > Digits.size()) Digits = QString(Spec.Precision - Digits.size(), u'0') + Digits;
  return Negative ? u'-' + Digits : Digits;
}

QString FormatArg(const TFormatArg& Arg, const TSpec& Spec) {
  const auto& Value = Arg.Value();
  const QChar T = Spec.Type;
  QString Text;
  if (T == u's') {
    if (const auto* S = std::get_if<QString>(&Value))
      Text = *S;
    else if (const auto* W = std::get_if<int64_t>(&Value))
      Text = QString::number(*W);
    else
      Text = WithLocalePoint(QString::number(std::get<double>(Value), 'G', 15));
    if (Spec.Precision >= 0) Text.truncate(Spec.Precision);
  } else if (T == u'd' || T == u'u' || T == u'x') {
    if (const auto* W = std::get_if<int64_t>(&Value))
      Text = FormatWhole(*W, Spec);
    else if (const auto* D = std::get_if<double>(&Value)) {
      const double Clamped = std::isfinite(*D) ? std::clamp(std::trunc(*D), -9.2e18, 9.2e18) : 0.0;
      Text = FormatWhole(static_cast<int64_t>(Clamped), Spec);
    } else
      Text = std::get<QString>(Value);
  } else {
    if (const auto* D = std::get_if<double>(&Value))
      Text = FormatNumber(*D, Spec);
    else if (const auto* W = std::get_if<int64_t>(&Value))
      Text = FormatNumber(double(*W), Spec);
    else
      Text = std::get<QString>(Value);
  }
  if (Spec.Width > Text.size()) {
    const QString Pad(Spec.Width - Text.size(), u' ');
    Text = Spec.LeftAlign ? Text + Pad : Pad + Text;
  }
  return Text;
}

} // namespace

QString Format(QStringView Fmt, std::initializer_list<TFormatArg> Args) {
  QString Out;
  Out.reserve(Fmt.size() + 16);
  auto Next = Args.begin();
  qsizetype I = 0;
  while (I < Fmt.size()) {
    const qsizetype Percent = Fmt.indexOf(u'%', I);
    if (Percent < 0) {
      Out += Fmt.mid(I);
      break;
    }
    Out += Fmt.mid(I, Percent - I);
    const TSpec Spec = ReadSpec(Fmt, Percent);
    if (Spec.Percent) {
      Out += u'%';
    } else if (Spec.Valid && Next != Args.end()) {
      Out += FormatArg(*Next++, Spec);
    } else {
      Out += Fmt.mid(Percent, Spec.End - Percent);
    }
    I = Spec.End;
  }
  return Out;
}

QString FormatSpecifiers(QStringView Fmt) {
  QString Types;
  qsizetype I = 0;
  while ((I = Fmt.indexOf(u'%', I)) >= 0) {
    const TSpec Spec = ReadSpec(Fmt, I);
    if (Spec.Valid) Types += Spec.Type;
    I = Spec.End;
  }
  return Types;
}
