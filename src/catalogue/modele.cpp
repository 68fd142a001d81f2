#include "catalogue/modele.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/name_order.h"
#include "catalogue/native_names.h"
#include "shell/settings.h"

namespace {

// The path below `root` (a folder ending with "/"), or a null string when it is not below it. Both
// are made absolute and clean first, so "Modeles2/x.mdl" is not taken for a file of "Modeles/".
QString Below(const QString& path, const QString& root) {
  if (root.isEmpty()) return {};
  const QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  const QString r = QDir::cleanPath(QFileInfo(root).absoluteFilePath()) + QLatin1Char('/');
  if (!p.startsWith(r)) return {};
  return p.mid(r.size());
}

}  // namespace

void TModele::SetFile(const QString& path) {
  Root.clear();
  IsDocument = false;
  TSoft* soft = Soft();
  QString relative;
  if (soft && !path.isEmpty() && QFileInfo(path).isFile()) {
    relative = Below(path, soft->UserPath);
    if (!relative.isNull()) {
      Root = soft->DocumentsPath;
      IsDocument = true;
      relative = Below(path, Root);
      // A file of the per-user folder outside the documents keeps its place below the user folder.
      if (relative.isNull()) {
        Root = soft->UserPath;
        relative = Below(path, Root);
      }
    } else {
      relative = Below(path, soft->ModelesPath);
      if (!relative.isNull()) Root = soft->ModelesPath;
    }
    // A file reached through an alias (its real name or its folder's is not valid UTF-8): a
    // document when the real file lies in the user's folder.
    if (Root.isEmpty() && IsAliasPath(path)) {
      const QFileInfo info(path);
      Root = info.absolutePath() + QLatin1Char('/');
      relative = info.fileName();
      IsDocument = AliasTarget(path).startsWith(QFile::encodeName(soft->UserPath));
    }
  }
  if (Root.isEmpty()) {
    Clear();
    return;
  }
  const QFileInfo info(path);
  FileName = QDir::cleanPath(info.absoluteFilePath());
  RelativeName = relative;
  Folder = info.absolutePath() + QLatin1Char('/');
  const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
  RelativeFolder = slash >= 0 ? relative.left(slash + 1) : QString();
  Category = RelativeFolder.isEmpty() ? QString() : RelativeFolder.left(RelativeFolder.size() - 1);
  Extension = QStringLiteral(".mdl");
  Title = info.fileName();
  if (Title.endsWith(QLatin1String(".mdl"), Qt::CaseInsensitive)) Title.chop(4);
}

void TModele::SetFolder(const QString& folder) {
  QStringList files = QDir(folder).entryList({QStringLiteral("*.mdl")}, QDir::Files);
  SortNames(files);
  if (files.isEmpty()) {
    Clear();
    return;
  }
  SetFile(QDir(folder).filePath(files.first()));
  FileName.clear();
  RelativeName.clear();
}

TModele& CurrentModele() {
  static TModele current;
  return current;
}
