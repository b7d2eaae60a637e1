// A caption that a language module may replace: its text when the module
// gave one, else the dialog's designed French text. Depends on i18n.
#pragma once

#include "i18n/LibLang.h"

#include <QString>

inline QString TrOr(TrId Id, const QString& French) {
  const QString& Text = Tr(Id);
  return Text.isEmpty() ? French : Text;
}
inline QString TrOr(TrId Id, const char16_t* French) { return TrOr(Id, QString::fromUtf16(French)); }

// A group box title: trimmed, first letter upper case, one blank either side.
inline QString GroupTitle(const QString& Caption) {
  QString Text = Caption.trimmed();
  if (!Text.isEmpty()) Text[0] = Text[0].toUpper();
  return QLatin1Char(' ') + Text + QLatin1Char(' ');
}
