// Numbers as text the way the program shows and stores them: the decimal
// separator of the user's locale (the default QLocale), never a group
// separator. Depends on QtCore only; used by the controls, the settings files
// and the filters' labels.
#pragma once

#include <QString>
#include <QStringView>

// The decimal separator of the user's locale ("," in French, "." in C).
QString DecimalSeparator();

// Value formatted with a picture such as "0.00", "0", "#0.###" or
// "0.00;-0.00;zero":
// - "0" is a digit always written, "#" a digit written only when it matters;
//   the placeholders after the first "." give the number of decimals (at
//   most 18), the "0" among them the decimals always written;
// - "." becomes the locale's decimal separator; "," asks for digit grouping,
//   which the program never writes, and is ignored;
// - "E+", "E-", "e+", "e-" followed by "0"s give the scientific form with at
//   least that many exponent digits ("+" also writes the sign of positive
//   exponents);
// - text in single or double quotes and any other character is copied
//   before the first or after the last placeholder, where it stands;
// - up to three sections separated by ";": positive, negative (written
//   without a sign of its own), and zero (used when the rounded value is 0).
// An empty picture gives FloatToStr. Halves are rounded away from zero on the
// exact value of the double. Infinities and NaN are written "INF", "-INF",
// "NAN".
QString FormatFloat(QStringView Format, double Value);

// The shortest general form: at most 15 significant digits, trailing zeros
// dropped, fixed notation from 0.00001 up to 15 integer digits, otherwise
// scientific ("1.5E20", "2.5E-6"); the locale's decimal separator.
QString FloatToStr(double Value);

// Blanks around the text are ignored; then an optional sign, digits with at
// most one decimal separator (the locale's), an optional exponent "e" or "E"
// with an optional sign and digits. At least one mantissa digit is needed.
// Refused (false, Value untouched): anything else, and any result that is not
// a finite double ("inf", "nan" and overflowing exponents included).
bool TryStrToFloat(QStringView Text, double& Value);
// The same with ".", "," or the locale's separator accepted as the decimal
// separator: for stored values, which may have been written under another
// locale.
bool TryStrToFloatAnyPoint(QStringView Text, double& Value);
double StrToFloatDef(QStringView Text, double Default);

// Blanks around the text are ignored; an optional sign and decimal digits,
// or with AllowHex also "$" or "0x" followed by hexadecimal digits (a value
// of up to 32 bits, read as a signed integer). Refused: anything else and any
// value outside the int range.
bool TryStrToInt(QStringView Text, int& Value, bool AllowHex = false);
int StrToIntDef(QStringView Text, int Default, bool AllowHex = false);
