// How test failures print Qt values.
#pragma once

#include <QRect>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Out) { *Out << '"' << S.toStdString() << '"'; }
inline void PrintTo(const QRect& R, std::ostream* Out) {
  *Out << "QRect(" << R.x() << ", " << R.y() << ", " << R.width() << " x " << R.height() << ")";
}
