#include "shell/inifile.h"

#include <QFileInfo>

#include "shell/textfile.h"

namespace {

// "key=value" split with blanks trimmed, as the private-profile functions do.
bool SplitLine(const QString& line, QString* key, QString* value) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return false;
  *key = line.left(eq).trimmed();
  if (value) *value = line.mid(eq + 1).trimmed();
  return true;
}

bool IsSectionHeader(const QString& line, QString* name) {
  const QString t = line.trimmed();
  if (!t.startsWith(QLatin1Char('['))) return false;
  const qsizetype close = t.indexOf(QLatin1Char(']'));
  if (close < 0) return false;
  *name = t.mid(1, close - 1).trimmed();
  return true;
}

}  // namespace

const QStringList& TIniFile::Lines() const {
  const QFileInfo info(fileName_);
  const qint64 size = info.exists() ? info.size() : -1;
  const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
  // A file written within the last moments may change again without its time moving (coarse file
  // clocks): read it again until it has settled.
  const bool settled = stamp.isValid() && stamp.msecsTo(QDateTime::currentDateTime()) > 2000;
  if (size != size_ || stamp != stamp_ || !settled) {
    lines_.clear();
    if (size >= 0) ReadTextFile(fileName_, lines_);
    size_ = size;
    stamp_ = stamp;
  }
  return lines_;
}

void TIniFile::FindSection(const QStringList& lines, const QString& section, qsizetype* first, qsizetype* end) const {
  *first = -1;
  *end = -1;
  QString name;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!IsSectionHeader(lines[i], &name)) continue;
    if (*first >= 0) {
      *end = i;
      return;
    }
    if (name.compare(section, Qt::CaseInsensitive) == 0) *first = i + 1;
  }
  if (*first >= 0) *end = lines.size();
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const QStringList& lines = Lines();
  qsizetype first, end;
  FindSection(lines, section, &first, &end);
  QString k, v;
  for (qsizetype i = first; i >= 0 && i < end; ++i)
    if (SplitLine(lines[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) return v;
  return def;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
  const QString marker = QStringLiteral("\x01absent\x01");
  return ReadString(section, key, marker) != marker;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  bool ok = false;
  const int v = ReadString(section, key).toInt(&ok, 10);
  return ok ? v : def;
}

QStringList TIniFile::ReadSection(const QString& section) const {
  const QStringList& lines = Lines();
  qsizetype first, end;
  FindSection(lines, section, &first, &end);
  QStringList keys;
  QString k;
  for (qsizetype i = first; i >= 0 && i < end; ++i)
    if (SplitLine(lines[i], &k, nullptr)) keys << k;
  return keys;
}

bool TIniFile::Save(const QStringList& lines) {
  if (!WriteTextFile(fileName_, lines)) return false;
  size_ = -2;  // read back on the next access
  return true;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  QStringList lines = Lines();
  qsizetype first, end;
  FindSection(lines, section, &first, &end);
  const QString entry = key + QLatin1Char('=') + value;
  if (first < 0) {
    if (!lines.isEmpty() && !lines.last().isEmpty()) lines << QString();
    lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    return Save(lines);
  }
  QString k;
  qsizetype lastEntry = first - 1;
  for (qsizetype i = first; i < end; ++i) {
    if (!SplitLine(lines[i], &k, nullptr)) continue;
    lastEntry = i;
    if (k.compare(key, Qt::CaseInsensitive) == 0) {
      lines[i] = entry;
      return Save(lines);
    }
  }
  lines.insert(lastEntry + 1, entry);
  return Save(lines);
}

bool TIniFile::DeleteKey(const QString& section, const QString& key) {
  QStringList lines = Lines();
  qsizetype first, end;
  FindSection(lines, section, &first, &end);
  QString k;
  for (qsizetype i = first; i >= 0 && i < end; ++i)
    if (SplitLine(lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
      lines.removeAt(i);
      return Save(lines);
    }
  return true;
}
