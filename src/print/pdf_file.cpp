#include "print/pdf_file.h"

#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace {

QString Reason(int error) {
  return QString::fromLocal8Bit(strerror(error));
}

// The ASCII number at `at`, skipping blanks; -1 when none.
long long NumberAt(const char* data, qint64 size, qint64& at) {
  while (at < size && (data[at] == ' ' || data[at] == '\r' || data[at] == '\n')) ++at;
  long long n = -1;
  while (at < size && data[at] >= '0' && data[at] <= '9') {
    n = (n < 0 ? 0 : n) * 10 + (data[at++] - '0');
    if (n > (1LL << 50)) return -1;
  }
  return n;
}

bool StartsAt(const char* data, qint64 size, qint64 at, const QByteArray& what) {
  return at >= 0 && at + what.size() <= size && memcmp(data + at, what.constData(), what.size()) == 0;
}

bool CheckPdf(const char* data, qint64 size, QString* why) {
  auto fail = [why](const char* reason) {
    if (why) *why = QString::fromLatin1(reason);
    return false;
  };
  if (!StartsAt(data, size, 0, "%PDF-")) return fail("it does not start as a PDF file");
  qint64 end = size;
  while (end > 0 && (data[end - 1] == '\n' || data[end - 1] == '\r' || data[end - 1] == ' ')) --end;
  if (end < 5 || memcmp(data + end - 5, "%%EOF", 5) != 0) return fail("its end is missing");
  // "startxref", its offset, "%%EOF": searched in the file's last kilobyte.
  qint64 mark = -1;
  for (qint64 i = end - 5; i >= 0 && i >= end - 1024; --i)
    if (StartsAt(data, size, i, "startxref")) {
      mark = i;
      break;
    }
  if (mark < 0) return fail("it has no cross-reference offset");
  qint64 at = mark + 9;
  const long long xref = NumberAt(data, size, at);
  if (xref < 0 || !StartsAt(data, size, xref, "xref")) return fail("its cross-reference table is misplaced");
  at = xref + 4;
  // Subsections "first count", then count entries "offset generation n|f".
  for (;;) {
    qint64 probe = at;
    const long long first = NumberAt(data, size, probe);
    if (first < 0) break;
    const long long count = NumberAt(data, size, probe);
    if (count < 0 || count > size) return fail("its cross-reference table is damaged");
    at = probe;
    for (long long k = 0; k < count; ++k) {
      const long long offset = NumberAt(data, size, at);
      const long long generation = NumberAt(data, size, at);
      while (at < size && data[at] == ' ') ++at;
      if (offset < 0 || generation < 0 || at >= size) return fail("its cross-reference table is damaged");
      const char kind = data[at++];
      if (kind == 'f') continue;
      if (kind != 'n') return fail("its cross-reference table is damaged");
      qint64 object = offset;
      if (NumberAt(data, size, object) != first + k || NumberAt(data, size, object) != generation ||
          !StartsAt(data, size, object, " obj"))
        return fail("an object is missing from where the file says it stands");
    }
  }
  return true;
}

bool SyncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace

bool CheckPdfFile(const QString& path, QString* why) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (why) *why = f.errorString();
    return false;
  }
  const qint64 size = f.size();
  if (size <= 0) {
    if (why) *why = QStringLiteral("it is empty");
    return false;
  }
  const uchar* map = f.map(0, size);
  if (map) {
    const bool ok = CheckPdf(reinterpret_cast<const char*>(map), size, why);
    f.unmap(const_cast<uchar*>(map));
    return ok;
  }
  const QByteArray all = f.readAll();
  if (all.size() != size) {
    if (why) *why = f.errorString();
    return false;
  }
  return CheckPdf(all.constData(), all.size(), why);
}

TPdfFile::~TPdfFile() {
  Discard();
}

bool TPdfFile::Open(const QString& target, QString* error) {
  Discard();
  target_ = target;
  const QFileInfo info(target);
  if (info.isDir()) {
    if (error) *error = QStringLiteral("cannot write the PDF file %1: it is a folder").arg(target);
    return false;
  }
  // A name of our own beside the target, so the rename stays on one file system.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".%1.part")
                             .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      temp_ = name;
      return true;
    }
    if (errno != EEXIST) {
      if (error) *error = QStringLiteral("cannot write the PDF file %1: %2").arg(target, Reason(errno));
      return false;
    }
  }
  if (error) *error = QStringLiteral("cannot write the PDF file %1: no temporary name is free").arg(target);
  return false;
}

bool TPdfFile::Commit(QString* error) {
  if (temp_.isEmpty()) return false;
  auto fail = [&](const QString& why) {
    if (error) *error = QStringLiteral("cannot write the PDF file %1: %2").arg(target_, why);
    Discard();
    return false;
  };
  QString why;
  if (!CheckPdfFile(temp_, &why)) return fail(QStringLiteral("the written file is incomplete (%1)").arg(why));
  const QByteArray temp = QFile::encodeName(temp_);
  const int fd = ::open(temp.constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return fail(Reason(errno));
  const bool synced = ::fsync(fd) == 0;
  const int syncError = errno;
  if (::close(fd) != 0 || !synced) return fail(Reason(synced ? errno : syncError));
  if (::rename(temp.constData(), QFile::encodeName(target_).constData()) != 0) return fail(Reason(errno));
  temp_.clear();
  SyncFolder(QFileInfo(target_).absolutePath());
  return true;
}

void TPdfFile::Discard() {
  if (!temp_.isEmpty()) ::unlink(QFile::encodeName(temp_).constData());
  temp_.clear();
}
