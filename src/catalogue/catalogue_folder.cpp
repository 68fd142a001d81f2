#include "catalogue/catalogue_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cmath>

#include "catalogue/cache_files.h"
#include "catalogue/name_order.h"
#include "catalogue/native_names.h"
#include "catalogue/previews.h"

namespace {

QStringList Templates(const QString& folder) {
  QDir dir(folder);
  QStringList files = dir.entryList({QStringLiteral("*.mdl")}, QDir::Files);
  // Names that are not valid UTF-8 are reached through their aliases.
  QHash<QString, QString> aliases;
  for (const QString& alias : UndecodableFiles(folder, ".mdl")) {
    const QString name = QFileInfo(alias).fileName();
    if (!aliases.contains(name)) files << name;
    aliases.insert(name, alias);
  }
  SortNames(files);
  for (QString& f : files) f = aliases.value(f, dir.filePath(f));
  return files;
}

// A folder's name as it is on disk: one component, whatever characters it holds.
bool ExistingName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// A name the user gives: no "\\" either, which documents made elsewhere read as a separator.
bool ValidName(const QString& name) {
  return ExistingName(name) && !name.trimmed().isEmpty() && !name.contains(QLatin1Char('\\'));
}

bool SameFile(const QString& a, const QString& b) {
  struct stat sa {
  }, sb{};
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

QStringList CatalogueTemplates(const QString& folder, const std::array<bool, 6>* gabarit, bool* gabaritCase) {
  if (gabaritCase) *gabaritCase = false;
  const QStringList all = Templates(folder);
  if (!gabarit) return all;
  bool variants = false;
  for (const QString& f : all)
    variants = variants || f.endsWith(QLatin1String(".1.mdl"), Qt::CaseInsensitive);
  if (!variants) return all;
  if (gabaritCase) *gabaritCase = true;
  QStringList shown;
  for (const QString& f : all)
    for (int k = 1; k <= 6; ++k)
      if ((*gabarit)[k - 1] && f.endsWith(QStringLiteral(".%1.mdl").arg(k), Qt::CaseInsensitive)) {
        shown << f;
        break;
      }
  return shown;
}

QStringList SheetVariants(const QString& file) {
  // a.2.jpg: the name without its extension and the variant's ".2".
  const QFileInfo info(file);
  QString base = info.completeBaseName();
  if (base.size() < 2) return {};
  base.chop(2);
  QStringList variants;
  const QDir dir = info.dir();
  for (int k = 1; k <= 6; ++k) {
    const QString v = dir.filePath(base + QStringLiteral(".%1.mdl").arg(k));
    if (QFileInfo(v).isFile()) variants << v;
  }
  return variants;
}

QString NeighbourTemplate(const QString& current, int step) {
  const QStringList all = Templates(QFileInfo(current).absolutePath());
  if (all.isEmpty()) return {};
  const qsizetype n = all.size();
  const QString clean = QDir::cleanPath(QFileInfo(current).absoluteFilePath());
  qsizetype at = -1;
  for (qsizetype i = 0; i < n; ++i)
    if (QDir::cleanPath(QFileInfo(all[i]).absoluteFilePath()) == clean) at = i;
  if (at < 0) return step < 0 ? all.last() : all.first();
  return all[((at + step) % n + n) % n];
}

bool DeleteTemplate(const QString& modele) {
  const QString preview = PreviewPath(modele);
  QFile::remove(preview);
  QFile::remove(UserCacheFile(preview));
  // Through an alias, the real file goes (its name is not valid UTF-8), then the alias.
  const QByteArray target = AliasTarget(modele);
  if (!target.isEmpty() && ::unlink(target.constData()) != 0 && errno != ENOENT) return false;
  QFile::remove(modele);
  return !QFileInfo::exists(modele);
}

bool RenameAlbum(const QString& documentsPath, const QString& oldName, const QString& newName) {
  if (!ValidName(newName) || !ExistingName(oldName)) return false;
  const QString from = documentsPath + oldName, to = documentsPath + newName;
  if (!QFileInfo(from).isDir()) return false;
  // Never onto an existing album or file: a move there would merge or lose documents. Only where the
  // file system ignores letter case may the new name lead to the album itself.
  if (QFileInfo::exists(to) && !SameFile(from, to)) return false;
  return QDir().rename(from, to);
}

bool DeleteAlbum(const QString& documentsPath, const QString& name) {
  if (!ExistingName(name)) return false;
  const QString folder = documentsPath + name;
  QDir dir(folder);
  if (!dir.exists()) return true;
  for (const QString& f : dir.entryList(QDir::Files | QDir::Hidden)) {
    const QString lower = f.toLower();
    if (lower.endsWith(QLatin1String(".mdl")) || lower.endsWith(QLatin1String(".jpg")) ||
        lower.endsWith(QLatin1String(".db")))
      dir.remove(f);
  }
  QDir().rmdir(folder);
  return !QFileInfo::exists(folder);
}

QSize PictureSize150(double largeMm, double hautMm) {
  return {int(std::lround(largeMm / 25.4 * 150)), int(std::lround(hautMm / 25.4 * 150))};
}
