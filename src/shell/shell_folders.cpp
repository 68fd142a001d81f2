#include "shell/shell_folders.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "shell/paths.h"

QString ShellFolder(const QString& name) {
  static const struct {
    const char* name;
    QStandardPaths::StandardLocation location;
  } kFolders[] = {
      {"appdata", QStandardPaths::GenericDataLocation},
      {"local appdata", QStandardPaths::GenericDataLocation},
      {"personal", QStandardPaths::DocumentsLocation},
      {"my pictures", QStandardPaths::PicturesLocation},
      {"my music", QStandardPaths::MusicLocation},
      {"my video", QStandardPaths::MoviesLocation},
      {"desktop", QStandardPaths::DesktopLocation},
      {"fonts", QStandardPaths::FontsLocation},
      {"templates", QStandardPaths::TemplatesLocation},
      {"cache", QStandardPaths::GenericCacheLocation},
  };
  const QString key = name.trimmed().toLower();
  for (const auto& f : kFolders) {
    if (key != QLatin1String(f.name)) continue;
    const QString path = QStandardPaths::writableLocation(f.location);
    if (path.isEmpty()) return QString();
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
  }
  return QString();
}

bool ShellOpen(const QString& file) {
  // Stored references may come from Windows ("\", any letter case).
  const QString path = ResolvePath(file);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
