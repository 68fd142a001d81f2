#include "shell/shell_folders.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "shell/paths.h"

namespace {

// The registry value names documents and settings use, and where each lives here. The first name
// of a folder is the one a path inside it is stored with.
const struct {
  const char* name;
  QStandardPaths::StandardLocation location;
} kFolders[] = {
    {"AppData", QStandardPaths::GenericDataLocation}, {"Local AppData", QStandardPaths::GenericDataLocation},
    {"Personal", QStandardPaths::DocumentsLocation},  {"My Pictures", QStandardPaths::PicturesLocation},
    {"My Music", QStandardPaths::MusicLocation},      {"My Video", QStandardPaths::MoviesLocation},
    {"Desktop", QStandardPaths::DesktopLocation},     {"Fonts", QStandardPaths::FontsLocation},
    {"Templates", QStandardPaths::TemplatesLocation}, {"Cache", QStandardPaths::GenericCacheLocation},
};

}  // namespace

QString ShellFolder(const QString& name) {
  const QString key = name.trimmed();
  for (const auto& f : kFolders) {
    if (key.compare(QLatin1String(f.name), Qt::CaseInsensitive) != 0) continue;
    const QString path = QStandardPaths::writableLocation(f.location);
    if (path.isEmpty()) return QString();
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
  }
  return QString();
}

QStringList ShellFolderNames() {
  QStringList names;
  for (const auto& f : kFolders) names << QLatin1String(f.name);
  return names;
}

bool ShellOpen(const QString& file) {
  // Stored references may come from Windows ("\", any letter case).
  const QString path = ResolvePath(file);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
