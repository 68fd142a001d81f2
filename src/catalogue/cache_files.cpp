#include "catalogue/cache_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "shell/settings.h"

QString UserCacheFile(const QString& path) {
  const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  QString root = Soft() ? QDir::cleanPath(QFileInfo(Soft()->ExePath).absoluteFilePath()) : QString();
  QString relative;
  if (!root.isEmpty() && root != QLatin1String("/") && full.startsWith(root + QLatin1Char('/')))
    relative = full.mid(root.size() + 1);
  else
    relative = QStringLiteral("root") + full;  // "root/usr/share/…": never mixed with the installation's
  return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/') + relative;
}

QString FindCacheFile(const QString& path) {
  if (path.isEmpty()) return QString();
  if (QFileInfo(path).isFile()) return path;
  const QString copy = UserCacheFile(path);
  return QFileInfo(copy).isFile() ? copy : QString();
}

bool FolderWritable(const QString& folder) {
  QTemporaryFile probe(folder + QStringLiteral("/.lorvane-probe-XXXXXX"));
  return probe.open();
}

QString CacheFileForWriting(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  if (QDir().mkpath(folder) && FolderWritable(folder)) return path;
  const QString copy = UserCacheFile(path);
  QDir().mkpath(QFileInfo(copy).absolutePath());
  return copy;
}
