// Readable Qt values in test failure messages.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (qsizetype i = 0; i < l.size(); ++i) *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
  *os << '}';
}
inline void PrintTo(const QPointF& p, std::ostream* os) {
  *os << '(' << p.x() << ", " << p.y() << ')';
}
