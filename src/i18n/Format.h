// Text formatting with the placeholders of the translatable strings ("%d",
// "%s", "%.2f", "%%" ...), safe against a format that does not match its
// arguments. Depends on QtCore only.
//
// A placeholder is "%" [ "-" ] [ width ] [ "." precision ] type, the type one
// of d u x s f e g n (either case). Anything else after a "%" is not a
// placeholder and is copied as written; "%%" writes one percent sign.
// Numbers use the decimal separator of the default QLocale (the user's locale).
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>
#include <variant>

// One argument of Format: a whole number, a floating-point number or a text.
class TFormatArg {
public:
  TFormatArg(int V) : FValue(int64_t(V)) {}
  TFormatArg(unsigned V) : FValue(int64_t(V)) {}
  TFormatArg(long V) : FValue(int64_t(V)) {}
  TFormatArg(long long V) : FValue(int64_t(V)) {}
  TFormatArg(double V) : FValue(V) {}
  TFormatArg(float V) : FValue(double(V)) {}
  TFormatArg(const QString& V) : FValue(V) {}
  TFormatArg(QStringView V) : FValue(V.toString()) {}
  TFormatArg(const char16_t* V) : FValue(QString::fromUtf16(V)) {}
  TFormatArg(const char* V) : FValue(QString::fromUtf8(V)) {}

  const std::variant<int64_t, double, QString>& Value() const { return FValue; }

private:
  std::variant<int64_t, double, QString> FValue;
};

// Fmt with each placeholder replaced by the next argument. %d %u %x take a whole
// number (a floating-point argument is truncated), %f %e %g %n a number, %s
// anything (numbers are written as text). A placeholder without an argument
// left is copied as written, so a mismatched format never reads past the list.
// Defaults as the Windows formatting routine: %f and %n two decimals, %e and %g
// fifteen significant digits, %x upper-case digits.
QString Format(QStringView Fmt, std::initializer_list<TFormatArg> Args);

// The argument-consuming placeholder types of Fmt in order, lower case ("dd%s"
// has none: "%%" consumes nothing); e.g. "%d:%d (L/H=%s)" gives "dds".
QString FormatSpecifiers(QStringView Fmt);
