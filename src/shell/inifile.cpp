#include "shell/inifile.h"

#include <sys/stat.h>
#include <time.h>

#include <QFile>
#include <QRecursiveMutex>
#include <atomic>

#include "shell/textfile.h"

namespace {

// The open operation of this thread (0: none), and how deep operations are nested.
thread_local uint64_t t_operation = 0;
thread_local int t_depth = 0;
std::atomic<uint64_t> g_operations{0};
// Settings files are read from worker threads too (documents drawn for previews): one lock guards
// every file's cached lines. Reads are short, so one lock for all files costs nothing noticeable.
QRecursiveMutex g_lock;

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

TSettingsOperation::TSettingsOperation() {
  if (t_depth++ == 0) t_operation = ++g_operations;
}

TSettingsOperation::~TSettingsOperation() {
  if (--t_depth == 0) t_operation = 0;
}

const QStringList& TIniFile::Lines() const {
  if (t_operation != 0 && checkedIn_ == t_operation && size_ != -2) return lines_;
  checkedIn_ = t_operation;
  // One stat: the file's size, time and identity (a file replaced by a rename is another file).
  struct stat st;
  const bool exists = ::stat(QFile::encodeName(fileName_).constData(), &st) == 0;
  const int64_t size = exists ? int64_t(st.st_size) : -1;
  const int64_t stamp = exists ? int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : 0;
  const uint64_t device = exists ? uint64_t(st.st_dev) : 0, inode = exists ? uint64_t(st.st_ino) : 0;
  // A file written within the last moments may change again without its time moving (coarse file
  // clocks): read it again until it has settled.
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  const bool settled = exists && int64_t(now.tv_sec) * 1000000000 + now.tv_nsec - stamp > 2000000000;
  if (size == size_ && stamp == stampNs_ && device == device_ && inode == inode_ && settled) return lines_;
  lines_.clear();
  values_.clear();
  if (size >= 0) ReadTextFile(fileName_, lines_);
  size_ = size;
  stampNs_ = stamp;
  device_ = device;
  inode_ = inode;
  // The index answers reads as a scan of the lines would: the first section of a name, the first
  // line of a key in it.
  QString name, k, v;
  QHash<QString, QString>* current = nullptr;
  for (const QString& line : lines_) {
    if (IsSectionHeader(line, &name)) {
      const QString lower = name.toLower();
      current = values_.contains(lower) ? nullptr : &values_[lower];
      continue;
    }
    if (!current || !SplitLine(line, &k, &v)) continue;
    const QString lower = k.toLower();
    if (!current->contains(lower)) current->insert(lower, v);
  }
  return lines_;
}

void TIniFile::FindSection(const QStringList& lines, const QString& section, qsizetype* first,
                           qsizetype* end) const {
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
  QMutexLocker lock(&g_lock);
  Lines();
  const auto s = values_.constFind(section.toLower());
  if (s == values_.constEnd()) return def;
  const auto v = s->constFind(key.toLower());
  return v == s->constEnd() ? def : *v;
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
  QMutexLocker lock(&g_lock);
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
  QMutexLocker lock(&g_lock);
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
  QMutexLocker lock(&g_lock);
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
