#include "shell/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

namespace {

struct Listing {
  QDateTime stamp;
  QSet<QString> exact;
  QHash<QString, QString> byLower;  // first entry of each lower-case name
};

// Files are resolved from worker threads too (documents drawn for previews).
QMutex g_listingsLock;

QHash<QString, Listing>& Listings() {
  static QHash<QString, Listing> cache;
  return cache;
}

const Listing* FolderListing(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir()) {
    Listings().remove(folder);
    return nullptr;
  }
  const QDateTime stamp = info.lastModified();
  auto it = Listings().find(folder);
  // File times have a coarse clock: a folder changed within the last moments may change again
  // without its time moving, so its listing is read again until it has settled.
  const bool settled = stamp.msecsTo(QDateTime::currentDateTime()) > 2000;
  if (it != Listings().end() && it->stamp == stamp && settled) return &*it;
  Listing l;
  l.stamp = stamp;
  const QStringList names =
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  l.exact.reserve(names.size());
  l.byLower.reserve(names.size());
  for (const QString& n : names) l.exact.insert(n);
  // Backwards, so that the first of names differing only in case wins.
  for (qsizetype i = names.size() - 1; i >= 0; --i) l.byLower.insert(names[i].toLower(), names[i]);
  return &*Listings().insert(folder, std::move(l));
}

}  // namespace

QString NormaliseSeparators(const QString& path) {
  QString p = path;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return p;
}

QString FindInFolder(const QString& folder, const QString& name) {
  if (name.isEmpty()) return QString();
  QMutexLocker lock(&g_listingsLock);
  const Listing* l =
      FolderListing(folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder);
  if (!l) return QString();
  if (l->exact.contains(name)) return name;
  return l->byLower.value(name.toLower());
}

QString ResolvePath(const QString& path) {
  const QString p = NormaliseSeparators(path);
  if (p.isEmpty()) return QString();
  if (QFileInfo::exists(p)) return p;
  QString current = p.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
  for (const QString& part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    const QString folder = current.isEmpty() ? QStringLiteral(".") : current;
    const QString real =
        (part == QLatin1String(".") || part == QLatin1String("..")) ? part : FindInFolder(folder, part);
    if (real.isEmpty()) return QString();
    if (!current.isEmpty() && !current.endsWith(QLatin1Char('/'))) current += QLatin1Char('/');
    current += real;
  }
  return current;
}
