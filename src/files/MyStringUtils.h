// The delimited-field tokenizer that reads and builds the dialog filter
// strings: fields separated by one character, separators between double
// quotes ignored. Positions are 1-based, field indices 0-based. QtCore only.
#pragma once

#include <QString>

// The state of a walk through the fields of one text: set Separator, then
// FirstField and NextField until they answer false. A field runs from Start to
// Stop - 1.
struct TFieldScan {
  QChar Separator = QLatin1Char('|');
  int Index = 0;
  int Start = 0;
  int Stop = 0;
};

// Position of the first Separator at or after From that is not between double
// quotes (the quote characters themselves stay in the field); Length + 1 when
// there is none, 0 when From lies past the end.
int NextDelimiter(const QString& S, QChar Separator, int From);

bool FirstField(const QString& S, TFieldScan& Scan);
bool NextField(const QString& S, TFieldScan& Scan);
// The text of the field the scan stands on.
QString FieldText(const QString& S, const TFieldScan& Scan);

// Field Index of Text; empty when Index < 0 or Text has fewer fields. A final
// separator opens no empty last field: "a|" has the one field "a".
QString GetDelimitedField(int Index, const QString& Text, QChar Separator);
// Index of the first field equal to Value (case-sensitive); -1 when Value or
// Text is empty or no field matches.
int IndexOfDelimitedField(const QString& Value, const QString& Text, QChar Separator);
// S holds Sub starting at Pos; false when either is empty, Pos < 1 or S is
// too short.
bool SubStrAt(const QString& Sub, const QString& S, int Pos);
