#include "print/record_stream.h"

namespace {

constexpr qint64 kChunk = 1 << 16;

// UTF-8 when the line is valid UTF-8, else Windows-1252.
QString Decode(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) {
    QStringDecoder ansi("windows-1252");
    text = ansi.decode(bytes);
  }
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

template <typename Buffer>
qsizetype FindBreak(const Buffer& b, qsizetype from) {
  const auto* data = b.constData();
  for (qsizetype i = from; i < b.size(); ++i)
    if (data[i] == '\n' || data[i] == '\r') return i;
  return -1;
}

}  // namespace

void TRecordStream::Fail(const QString& why, long long line) {
  if (error_.isEmpty())
    error_ = QStringLiteral("%1, line %2: %3").arg(name_).arg(line >= 0 ? line : lineNumber_).arg(why);
}

bool TRecordStream::Open(const QString& fileName, QString* error) {
  file_.close();
  file_.setFileName(fileName);
  name_ = fileName;
  fields_.clear();
  index_.clear();
  hasAhead_ = false;
  ahead_.clear();
  bytes_.clear();
  text_.clear();
  pos_ = 0;
  eof_ = false;
  lineNumber_ = 0;
  error_.clear();
  encoding_ = TEncoding::PerLine;
  if (!file_.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("cannot read %1").arg(fileName);
    return false;
  }
  const QByteArray head = file_.peek(3);
  if (head.startsWith("\xEF\xBB\xBF")) {
    encoding_ = TEncoding::Utf8;
    file_.skip(3);
  } else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
    encoding_ = TEncoding::Utf16;
    utf16_ = QStringDecoder(head.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    file_.skip(2);
  }
  const qint64 start = file_.pos();
  // The separator is chosen on the header before it is split.
  QString header;
  ReadLine(header);
  const QChar candidates[] = {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')};
  int best = 0;
  separator_ = QLatin1Char(';');
  for (const QChar c : candidates)
    if (const int n = CountOutsideQuotes(header, c); n > best) {
      best = n;
      separator_ = c;
    }
  file_.seek(start);
  bytes_.clear();
  text_.clear();
  pos_ = 0;
  eof_ = false;
  lineNumber_ = 0;
  if (encoding_ == TEncoding::Utf16) utf16_.resetState();
  if (!error_.isEmpty() || !ReadRow(fields_) || fields_.join(QString()).trimmed().isEmpty()) {
    if (error)
      *error =
          !error_.isEmpty() ? error_ : QStringLiteral("%1 names no field on its first line").arg(fileName);
    return false;
  }
  for (int i = 0; i < fields_.size(); ++i) {
    fields_[i] = fields_[i].trimmed();
    const QString key = fields_[i].toLower();
    if (!key.isEmpty() && !index_.contains(key)) index_.insert(key, i);
  }
  return true;
}

// Reads the next chunk behind what is left unread. False at the end of the file or on an error.
bool TRecordStream::Refill() {
  if (eof_) return false;
  const QByteArray chunk = file_.read(kChunk);
  if (chunk.isEmpty()) {
    if (file_.error() != QFileDevice::NoError && !file_.atEnd()) Fail(file_.errorString());
    eof_ = true;
    if (encoding_ == TEncoding::Utf16) {
      text_ += utf16_.decode(QByteArray());
      if (utf16_.hasError()) Fail(QStringLiteral("the file ends inside a character"));
    }
    return false;
  }
  if (encoding_ == TEncoding::Utf16) {
    text_.remove(0, pos_);
    text_ += utf16_.decode(chunk);
  } else {
    bytes_.remove(0, pos_);
    bytes_ += chunk;
  }
  pos_ = 0;
  return true;
}

template <typename Buffer>
bool TRecordStream::TakeLine(Buffer& buffer, Buffer& line) {
  qsizetype scanned = pos_;
  for (;;) {
    const qsizetype at = FindBreak(buffer, scanned);
    // A CR at the end of what is read may be the first half of CR LF.
    if (at >= 0 && !(buffer[at] == '\r' && at + 1 == buffer.size() && !eof_)) {
      line = buffer.mid(pos_, at - pos_);
      pos_ = at + 1;
      if (buffer[at] == '\r' && pos_ < buffer.size() && buffer[pos_] == '\n') ++pos_;
      return true;
    }
    const qsizetype have = buffer.size() - pos_;
    if (have > kMaxLineLength) {
      Fail(QStringLiteral("a line is longer than %1 MiB").arg(kMaxLineLength >> 20));
      return false;
    }
    // Where scanning goes on, kept relative to pos_, which a refill moves to 0.
    const qsizetype from = (at >= 0 ? at : buffer.size()) - pos_;
    if (!Refill()) {
      if (!error_.isEmpty()) return false;
      if (at >= 0) {  // a CR last in the file ends its line
        scanned = at;
        continue;
      }
      if (pos_ >= buffer.size()) return false;
      line = buffer.mid(pos_);  // the last line, without a line end
      pos_ = buffer.size();
      return true;
    }
    scanned = pos_ + from;
  }
}

bool TRecordStream::ReadLine(QString& line) {
  if (!error_.isEmpty()) return false;
  bool got;
  if (encoding_ == TEncoding::Utf16) {
    got = TakeLine(text_, line);
  } else {
    QByteArray bytes;
    got = TakeLine(bytes_, bytes);
    if (got) {
      if (encoding_ == TEncoding::Utf8) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        line = utf8.decode(bytes);
      } else {
        line = Decode(bytes);
      }
    }
  }
  if (got) ++lineNumber_;
  return got;
}

bool TRecordStream::ReadRow(QStringList& row) {
  row.clear();
  QString line;
  if (!ReadLine(line)) return false;
  const long long first = lineNumber_;
  QString field;
  bool quoted = false;
  qsizetype i = 0;
  auto push = [&] {
    if (row.size() >= kMaxFields) {
      Fail(QStringLiteral("a row holds more than %1 fields").arg(kMaxFields));
      return false;
    }
    row.append(field);
    field.clear();
    return true;
  };
  auto add = [&](QChar c) {
    if (field.size() >= kMaxFieldLength) {
      Fail(QStringLiteral("a value is longer than %1 characters").arg(kMaxFieldLength));
      return false;
    }
    field += c;
    return true;
  };
  for (;;) {
    if (i >= line.size()) {
      if (!quoted) break;
      // A line break inside quotes belongs to the value.
      if (!ReadLine(line)) {
        if (error_.isEmpty()) Fail(QStringLiteral("a quoted value is not closed"), first);
        return false;
      }
      if (!add(QLatin1Char('\n'))) return false;
      i = 0;
      continue;
    }
    const QChar c = line[i++];
    if (quoted) {
      if (c == QLatin1Char('"')) {
        if (i < line.size() && line[i] == QLatin1Char('"')) {
          ++i;
          if (!add(c)) return false;
        } else {
          quoted = false;
        }
      } else if (!add(c)) {
        return false;
      }
    } else if (c == QLatin1Char('"')) {
      quoted = true;
    } else if (c == separator_) {
      if (!push()) return false;
    } else if (!add(c)) {
      return false;
    }
  }
  return push();
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
