#include "online/cddb_answer.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString DecodeCddbText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes);
}

QStringList CddbAnswerLines(const QByteArray& bytes) {
  QStringList lines = DecodeCddbText(bytes).split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QString& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  return lines;
}

TCddbAnswer ParseCddbAnswer(const QByteArray& bytes) {
  TCddbAnswer answer;
  const QStringList lines = CddbAnswerLines(bytes);
  if (lines.isEmpty()) return answer;
  answer.FirstLine = lines.front();
  const QString head = answer.FirstLine.left(3);
  if (head.size() == 3 && head[0].isDigit() && head[1].isDigit() && head[2].isDigit() &&
      head[0].unicode() < 128 && head[1].unicode() < 128 && head[2].unicode() < 128 &&
      (answer.FirstLine.size() == 3 || answer.FirstLine[3] == ' ' || answer.FirstLine[3] == '-'))
    answer.Code = head.toInt();
  for (qsizetype i = 1; i < lines.size(); ++i) {
    if (lines[i] == QLatin1String(".")) {
      answer.Terminated = true;
      break;
    }
    answer.Body.append(lines[i]);
  }
  return answer;
}

QByteArray CddbEncode(const QString& value) {
  QStringEncoder cp1252("windows-1252");
  QByteArray bytes = cp1252(value);
  if (cp1252.hasError()) bytes = value.toUtf8();
  static const char hex[] = "0123456789ABCDEF";
  QByteArray out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) {
      out += char(b);
    } else if (b == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    }
  }
  return out;
}

TCddbMatch ParseCddbMatch(const QString& line) {
  TCddbMatch match;
  const qsizetype blank = line.indexOf(' ');
  if (blank <= 0) return match;
  match.Category = line.left(blank);
  match.DiscId = line.mid(blank + 1, 8);
  return match;
}
