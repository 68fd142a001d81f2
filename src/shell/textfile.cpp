#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>

#include "shell/textfile.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString Decode1252(const char* p, qsizetype n) {
  QString s(n, Qt::Uninitialized);
  char16_t* d = reinterpret_cast<char16_t*>(s.data());
  for (qsizetype i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(p[i]);
    d[i] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b;
  }
  return s;
}

namespace {

// Byte of a character in Windows-1252, or -1 when it has none.
int Encode1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh[static_cast<size_t>(i)] == c) return 0x80 + i;
  return -1;
}

}  // namespace

bool ReadTextFile(const QString& fileName, QStringList& lines) {
  QFile f(fileName);
  if (QFileInfo(fileName).isDir() || !f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  DecodeTextLines(bytes, lines);
  return true;
}

void DecodeTextLines(const QByteArray& bytes, QStringList& lines) {
  QString text;
  if (bytes.startsWith("\xEF\xBB\xBF")) text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  else text = Decode1252(bytes.constData(), bytes.size());
  lines.clear();
  const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] == u'\r' || s[i] == u'\n') {
      lines.append(text.mid(start, i - start));
      if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) lines.append(text.mid(start));
}

bool WriteTextFile(const QString& fileName, const QStringList& lines) {
  bool ansi = true;
  qsizetype total = 0;
  for (const QString& line : lines) {
    total += line.size() + 2;
    if (!ansi) continue;
    for (QChar c : line)
      if (Encode1252(c.unicode()) < 0) {
        ansi = false;
        break;
      }
  }
  QByteArray out;
  if (ansi) {
    out.resize(total);
    char* d = out.data();
    for (const QString& line : lines) {
      for (QChar c : line) *d++ = static_cast<char>(Encode1252(c.unicode()));
      *d++ = '\r';
      *d++ = '\n';
    }
  } else {
    out.reserve(total + 3);
    out.append("\xEF\xBB\xBF");
    for (const QString& line : lines) {
      out.append(line.toUtf8());
      out.append("\r\n");
    }
  }
  QSaveFile f(fileName);
  if (!f.open(QIODevice::WriteOnly)) return false;
  if (f.write(out) != out.size()) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}
