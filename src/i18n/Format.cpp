#include "i18n/Format.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace {

// One placeholder read at Fmt[Start] == '%'.
struct TFormatItem {
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

TFormatItem ReadSpec(QStringView Fmt, qsizetype Start) {
  TFormatItem Item;
  qsizetype I = Start + 1;
  Item.End = I;
  if (I < Fmt.size() && Fmt[I] == u'%') {
    Item.Percent = true;
    Item.End = I + 1;
    return Item;
  }
  if (I < Fmt.size() && Fmt[I] == u'-') {
    Item.LeftAlign = true;
    ++I;
  }
  if (I < Fmt.size() && Fmt[I].isDigit()) Item.Width = ReadNumber(Fmt, I);
  if (I < Fmt.size() && Fmt[I] == u'.') {
    ++I;
    if (I >= Fmt.size() || !Fmt[I].isDigit()) return Item;
    Item.Precision = ReadNumber(Fmt, I);
  }
  if (I >= Fmt.size()) return Item;
  const QChar Type = Fmt[I].toLower();
  if (!QStringView(u"duxsfegn").contains(Type)) return Item;
  Item.Valid = true;
  Item.Type = Type;
  Item.End = I + 1;
  return Item;
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

QString FormatNumber(double V, const TFormatItem& Item) {
  if (!std::isfinite(V))
    return std::isnan(V) ? QStringLiteral("NAN") : V > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  switch (Item.Type.unicode()) {
  case 'f':
    return WithLocalePoint(QString::number(V, 'f', Item.Precision < 0 ? 2 : Item.Precision));
  case 'n':
    return QLocale().toString(V, 'f', Item.Precision < 0 ? 2 : Item.Precision);
  case 'e':
    return Scientific(V, Item.Precision < 0 ? 15 : std::max(1, Item.Precision));
  default: // 'g'
    return WithLocalePoint(QString::number(V, 'G', Item.Precision < 0 ? 15 : std::max(1, Item.Precision)));
  }
}

QString FormatWhole(int64_t V, const TFormatItem& Item) {
  QString Digits;
  bool Negative = false;
  if (Item.Type == u'x') {
    Digits = QString::number(static_cast<quint64>(V), 16).toUpper();
  } else if (Item.Type == u'u') {
    Digits = QString::number(static_cast<quint64>(V));
  } else {
    Negative = V < 0;
    Digits = QString::number(V);
    if (Negative) Digits.remove(0, 1);
  }
  // A precision on a whole number is its least count of digits.
  if (Item.Precision > Digits.size()) Digits = QString(Item.Precision - Digits.size(), u'0') + Digits;
  return Negative ? u'-' + Digits : Digits;
}

QString FormatArg(const TFormatArg& Arg, const TFormatItem& Item) {
  const auto& Value = Arg.Value();
  const QChar T = Item.Type;
  QString Text;
  if (T == u's') {
    if (const auto* S = std::get_if<QString>(&Value))
      Text = *S;
    else if (const auto* W = std::get_if<int64_t>(&Value))
      Text = QString::number(*W);
    else
      Text = WithLocalePoint(QString::number(std::get<double>(Value), 'G', 15));
    if (Item.Precision >= 0) Text.truncate(Item.Precision);
  } else if (T == u'd' || T == u'u' || T == u'x') {
    if (const auto* W = std::get_if<int64_t>(&Value))
      Text = FormatWhole(*W, Item);
    else if (const auto* D = std::get_if<double>(&Value)) {
      const double Clamped = std::isfinite(*D) ? std::clamp(std::trunc(*D), -9.2e18, 9.2e18) : 0.0;
      Text = FormatWhole(static_cast<int64_t>(Clamped), Item);
    } else
      Text = std::get<QString>(Value);
  } else {
    if (const auto* D = std::get_if<double>(&Value))
      Text = FormatNumber(*D, Item);
    else if (const auto* W = std::get_if<int64_t>(&Value))
      Text = FormatNumber(double(*W), Item);
    else
      Text = std::get<QString>(Value);
  }
  if (Item.Width > Text.size()) {
    const QString Pad(Item.Width - Text.size(), u' ');
    Text = Item.LeftAlign ? Text + Pad : Pad + Text;
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
    const TFormatItem Item = ReadSpec(Fmt, Percent);
    if (Item.Percent) {
      Out += u'%';
    } else if (Item.Valid && Next != Args.end()) {
      Out += FormatArg(*Next++, Item);
    } else {
      Out += Fmt.mid(Percent, Item.End - Percent);
    }
    I = Item.End;
  }
  return Out;
}

QString FormatSpecifiers(QStringView Fmt) {
  QString Types;
  qsizetype I = 0;
  while ((I = Fmt.indexOf(u'%', I)) >= 0) {
    const TFormatItem Item = ReadSpec(Fmt, I);
    if (Item.Valid) Types += Item.Type;
    I = Item.End;
  }
  return Types;
}
