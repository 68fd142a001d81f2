// The lookup server's answers: text decoding, lines and answer codes, and the value encoding of the
// requests. Pure functions, so the parser can be fed anything.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Valid UTF-8 is read as UTF-8; anything else as Latin-1 (many servers' entries are).
QString DecodeCddbText(const QByteArray& bytes);

// An answer split into lines: the first line, its three-digit code (-1 when it has none), and the
// lines after it up to a line "." (Terminated) or to the end.
struct TCddbAnswer {
  int Code = -1;
  QString FirstLine;
  QStringList Body;
  bool Terminated = false;
};
TCddbAnswer ParseCddbAnswer(const QByteArray& bytes);
// Every line of an answer as received, terminators removed (what the data-exchange event reports).
QStringList CddbAnswerLines(const QByteArray& bytes);

// Letters and digits as they are, a blank as "+", every other byte as "%" and two upper-case
// hexadecimal digits. Text is encoded as Windows-1252, or UTF-8 when it has characters 1252 lacks.
QByteArray CddbEncode(const QString& value);

// The category (first word) and the identifier (eight characters after the first blank) of a match.
struct TCddbMatch {
  QString Category, DiscId;
  bool Valid() const { return !Category.isEmpty() && DiscId.size() == 8; }
};
TCddbMatch ParseCddbMatch(const QString& line);
