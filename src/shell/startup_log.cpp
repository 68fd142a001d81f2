#include "shell/startup_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>
#include <QStandardPaths>
#include <cerrno>

namespace {

QMutex g_mutex;
bool g_on = false;
QString g_file;

}  // namespace

QString ProgramSideFile(const QString& programFolder, const QString& extension) {
  const QString name = QStringLiteral("lorvane") + extension;
  const QFileInfo folder(programFolder);
  if (!programFolder.isEmpty() && folder.isDir() && folder.isWritable())
    return QDir(programFolder).filePath(name);
  QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (user.isEmpty()) user = QDir::homePath();
  return user + QStringLiteral("/lorvane/") + name;
}

void LogStart(bool on, const QString& programFolder) {
  QMutexLocker lock(&g_mutex);
  g_on = on;
  g_file = ProgramSideFile(programFolder, QStringLiteral(".log"));
  QFile::remove(g_file);
}

bool LogOn() {
  QMutexLocker lock(&g_mutex);
  return g_on;
}

QString LogFile() {
  QMutexLocker lock(&g_mutex);
  return g_file;
}

QString LogTimeStamp(const QDateTime& when) {
  const QLocale locale = QLocale::system();
  // The long time format may name the time zone; the log keeps the clock time only.
  const QString longFormat = locale.timeFormat(QLocale::LongFormat);
  QString timeFormat;
  bool quoted = false;
  for (const QChar c : longFormat) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (quoted || c != QLatin1Char('t')) timeFormat += c;
  }
  timeFormat = timeFormat.trimmed();
  return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(when.time(), timeFormat);
}

void Log(const QString& message) {
  QMutexLocker lock(&g_mutex);
  if (!g_on || g_file.isEmpty()) return;
  // Appending and closing puts the line on disk at once, which is all that rewriting the whole file
  // would give, without a window where a crash leaves the file cut short.
  QDir().mkpath(QFileInfo(g_file).absolutePath());
  // The log is ours: a link planted at its name is removed, never appended through.
  const QByteArray path = QFile::encodeName(g_file);
  const int flags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(path.constData(), flags, 0666);
  if (fd < 0 && errno == ELOOP && ::unlink(path.constData()) == 0) fd = ::open(path.constData(), flags, 0666);
  if (fd < 0) return;
  const QByteArray line =
      (LogTimeStamp(QDateTime::currentDateTime()) + QStringLiteral(" : ") + message + QLatin1Char('\n'))
          .toUtf8();
  for (qsizetype done = 0; done < line.size();) {
    const ssize_t w = ::write(fd, line.constData() + done, size_t(line.size() - done));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;
    done += w;
  }
  ::close(fd);
}
