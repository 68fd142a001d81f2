#include "print/record_stream.h"

#include <QStringDecoder>

namespace {

// UTF-8 when the line is valid UTF-8 (a BOM is dropped), else Windows-1252.
QString Decode(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) {
    QStringDecoder ansi("windows-1252");
    text = ansi.decode(bytes);
  }
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

int CountOutsideQuotes(const QString& line, QChar c) {
  int n = 0;
  bool quoted = false;
  for (const QChar ch : line) {
    if (ch == QLatin1Char('"'))
      quoted = !quoted;
    else if (ch == c && !quoted)
      ++n;
  }
  return n;
}

}  // namespace

bool TRecordStream::Open(const QString& fileName, QString* error) {
  file_.close();
  file_.setFileName(fileName);
  fields_.clear();
  index_.clear();
  hasAhead_ = false;
  if (!file_.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("cannot read %1").arg(fileName);
    return false;
  }
  // The separator is chosen on the header before it is split.
  const qint64 start = file_.pos();
  bool eof = false;
  const QString header = ReadLine(&eof);
  const QChar candidates[] = {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')};
  int best = 0;
  separator_ = QLatin1Char(';');
  for (const QChar c : candidates)
    if (const int n = CountOutsideQuotes(header, c); n > best) {
      best = n;
      separator_ = c;
    }
  file_.seek(start);
  if (!ReadRow(fields_) || fields_.join(QString()).trimmed().isEmpty()) {
    if (error) *error = QStringLiteral("%1 names no field on its first line").arg(fileName);
    return false;
  }
  for (int i = 0; i < fields_.size(); ++i) {
    fields_[i] = fields_[i].trimmed();
    const QString key = fields_[i].toLower();
    if (!key.isEmpty() && !index_.contains(key)) index_.insert(key, i);
  }
  return true;
}

QString TRecordStream::ReadLine(bool* eof) {
  QByteArray bytes = file_.readLine(kMaxFieldLength * 4);
  *eof = bytes.isEmpty() && file_.atEnd();
  // The rest of an overlong line is skipped.
  if (!bytes.endsWith('\n'))
    while (!file_.atEnd()) {
      char c;
      if (!file_.getChar(&c) || c == '\n') break;
    }
  while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  return Decode(bytes);
}

bool TRecordStream::ReadRow(QStringList& row) {
  row.clear();
  bool eof = false;
  QString line = ReadLine(&eof);
  if (eof) return false;
  QString field;
  bool quoted = false;
  qsizetype i = 0;
  auto push = [&] {
    if (row.size() < kMaxFields) row.append(field);
    field.clear();
  };
  for (;;) {
    if (i >= line.size()) {
      if (!quoted) break;
      // A line break inside quotes belongs to the value.
      bool more = false;
      line = ReadLine(&more);
      if (more) break;
      if (field.size() < kMaxFieldLength) field += QLatin1Char('\n');
      i = 0;
      continue;
    }
    const QChar c = line[i++];
    if (quoted) {
      if (c == QLatin1Char('"')) {
        if (i < line.size() && line[i] == QLatin1Char('"')) {
          ++i;
          if (field.size() < kMaxFieldLength) field += c;
        } else {
          quoted = false;
        }
      } else if (field.size() < kMaxFieldLength) {
        field += c;
      }
    } else if (c == QLatin1Char('"')) {
      quoted = true;
    } else if (c == separator_) {
      push();
    } else if (field.size() < kMaxFieldLength) {
      field += c;
    }
  }
  push();
  return true;
}

bool TRecordStream::Next(QStringList& row) {
  if (hasAhead_) {
    hasAhead_ = false;
    row = std::move(ahead_);
    ahead_.clear();
    return true;
  }
  while (ReadRow(row))
    if (row.size() > 1 || !row.value(0).trimmed().isEmpty()) return true;
  row.clear();
  return false;
}

bool TRecordStream::AtEnd() {
  if (hasAhead_) return false;
  hasAhead_ = Next(ahead_);
  return !hasAhead_;
}
