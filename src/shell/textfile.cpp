#include "shell/textfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
inline int Encode1252(char16_t c) {
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
  if (bytes.startsWith("\xEF\xBB\xBF"))
    text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  else
    text = Decode1252(bytes.constData(), bytes.size());
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
  TTextFileWriter writer;
  for (const QString& line : lines) writer.Add(line);
  return writer.Commit(fileName);
}

// ---------------------------------------------------------------------------------------------

namespace {

// Line starts, then the end of the text. Reserved generously: reserved and unused room costs no memory.
void SplitLines(const char16_t* s, qsizetype n, std::vector<uint32_t>& starts) {
  starts.reserve(size_t(n / 8 + 16));
  if (n > 0) starts.push_back(0);
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] != u'\r' && s[i] != u'\n') continue;
    if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
    starts.push_back(uint32_t(i + 1));
  }
  if (!starts.empty() && starts.back() != uint32_t(n)) starts.push_back(uint32_t(n));
}

void SplitLines(const char* s, qsizetype n, std::vector<uint32_t>& starts) {
  starts.reserve(size_t(n / 8 + 16));
  if (n > 0) starts.push_back(0);
  const char* end = s + n;
  const char* p = s;
  const char* nl = nullptr;  // the next line feed at or after p, found once for every stretch
  while (p < end) {
    if (!nl || nl < p) {
      nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      if (!nl) nl = end;
    }
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(nl - p)));
    const char* next;
    if (cr)
      next = cr + 1 < end && cr[1] == '\n' ? cr + 2 : cr + 1;
    else if (nl < end)
      next = nl + 1;
    else
      break;
    starts.push_back(uint32_t(next - s));
    p = next;
  }
  if (!starts.empty() && starts.back() != uint32_t(n)) starts.push_back(uint32_t(n));
}

}  // namespace

bool TTextLines::Read(const QString& fileName) {
  wide_ = false;
  bytes_.clear();
  text_.clear();
  starts_.clear();
  QFile f(fileName);
  if (QFileInfo(fileName).isDir() || !f.open(QIODevice::ReadOnly)) return false;
  // Line positions are kept in 32 bits.
  if (f.size() >= qint64(UINT32_MAX)) return false;
  bytes_ = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    bytes_.clear();
    return false;
  }
  if (bytes_.startsWith("\xEF\xBB\xBF")) {
    wide_ = true;
    text_ = QString::fromUtf8(bytes_.constData() + 3, bytes_.size() - 3);
    bytes_.clear();
    SplitLines(reinterpret_cast<const char16_t*>(text_.constData()), text_.size(), starts_);
  } else {
    SplitLines(bytes_.constData(), bytes_.size(), starts_);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

void TTextFileWriter::Add(QStringView line) {
  Add(QStringView(), line);
}

void TTextFileWriter::Add(QStringView indent, QStringView line) {
  if (!utf8_) {
    const qsizetype at = out_.size();
    out_.resize(at + indent.size() + line.size() + 2);
    char* d = out_.data() + at;
    for (QStringView part : {indent, line}) {
      for (QChar c : part) {
        const int b = Encode1252(c.unicode());
        if (b < 0) {
          // The whole file becomes UTF-8: what is already written is Windows-1252 text.
          out_.truncate(at);
          out_ = QByteArray("\xEF\xBB\xBF") + Decode1252(out_.constData(), out_.size()).toUtf8();
          utf8_ = true;
          break;
        }
        *d++ = char(b);
      }
      if (utf8_) break;
    }
    if (!utf8_) {
      *d++ = '\r';
      *d = '\n';
      return;
    }
  }
  out_.append(indent.toUtf8());
  out_.append(line.toUtf8());
  out_.append("\r\n", 2);
}

namespace {

const QLatin1StringView kSaving(".saving-");
constexpr int kRandomChars = 6;

bool IsLeftoverName(const QString& entry, const QString& name) {
  if (entry.size() != name.size() + kSaving.size() + kRandomChars || !entry.startsWith(name) ||
      !QStringView(entry).mid(name.size()).startsWith(kSaving))
    return false;
  for (QChar c : QStringView(entry).right(kRandomChars))
    if (!(c.unicode() < 128 && c.isLetterOrNumber())) return false;
  return true;
}

bool WriteAll(int fd, const char* p, qsizetype n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, size_t(std::min<qsizetype>(n, 1 << 30)));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= w;
  }
  return true;
}

// A leftover goes when no writer holds it and it has not been touched for a while (a writer locks
// its file just after creating it).
void RemoveLeftovers(const QString& target) {
  for (const QString& leftover : SaveLeftovers(target)) {
    const QByteArray path = QFile::encodeName(leftover);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) continue;
    struct stat st;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const bool old = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now.tv_sec - st.st_mtim.tv_sec > 2;
    if (old && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.constData());
    ::close(fd);
  }
}

}  // namespace

QStringList SaveLeftovers(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString name = info.fileName();
  QStringList found;
  if (name.isEmpty()) return found;
  const QDir folder = info.absoluteDir();
  for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (IsLeftoverName(entry, name)) found << folder.filePath(entry);
  return found;
}

bool TTextFileWriter::Commit(const QString& fileName, int mode) {
  return WriteFileAtomically(fileName, out_, mode);
}

bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, int mode) {
  // The name itself is replaced: a symbolic link planted at it is swapped for the new file, so
  // neither the file it leads to nor that file's mode is ever touched.
  const QByteArray targetPath = QFile::encodeName(fileName);
  if (targetPath.isEmpty()) return false;
  struct stat old;
  const bool exists = ::lstat(targetPath.constData(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) return false;
  const bool keepMode = exists && S_ISREG(old.st_mode) && mode < 0;

  QByteArray tempPath;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(kRandomChars, 'x');
    for (char& c : suffix) c = kChars[QRandomGenerator::global()->bounded(62)];
    tempPath = targetPath + QByteArray(kSaving.data(), kSaving.size()) + suffix;
    // Created as any new file is (the process's file mode mask applies), then given the old file's mode.
    // An asked mode applies from the start, so that a private file is never readable by others.
    fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                mode >= 0 ? mode_t(mode) & 0777 : 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  ::flock(fd, LOCK_EX);
  bool ok = WriteAll(fd, bytes.constData(), bytes.size());
  if (ok && keepMode) ok = ::fchmod(fd, old.st_mode & 07777) == 0 || errno == EPERM;
  if (ok && mode >= 0) ok = ::fchmod(fd, mode_t(mode) & 07777) == 0;
  ok = ok && ::fsync(fd) == 0;
  // A close can report a write the file system could not complete.
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(tempPath.constData(), targetPath.constData()) == 0;
  if (!ok) {
    ::unlink(tempPath.constData());
    return false;
  }
  // The rename itself reaches the disk with its folder.
  const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
  const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  RemoveLeftovers(fileName);
  return true;
}
