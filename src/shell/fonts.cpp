#include "shell/fonts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
#include <QSet>

namespace {

QString FolderKey(const QString& folder) {
  return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

}  // namespace

void TzunoFont::InstallFonts(const QString& folder) {
  before_ = QFontDatabase::families();
  const QString key = FolderKey(folder);
  QDirIterator it(folder, QDir::Files);
  while (it.hasNext()) {
    it.next();
    if (!it.fileName().endsWith(QLatin1String(".ttf"), Qt::CaseInsensitive)) continue;
    const int id = QFontDatabase::addApplicationFont(it.filePath());
    if (id >= 0) registered_.append({key, id});
  }
  after_ = QFontDatabase::families();
  ownKnown_ = false;
}

void TzunoFont::RemoveFonts(const QString& folder) {
  // By what was registered rather than by what the folder holds now: a file registered twice, or
  // deleted meanwhile, is still removed completely.
  const QString key = FolderKey(folder);
  for (qsizetype i = registered_.size() - 1; i >= 0; --i) {
    if (registered_[i].folder != key) continue;
    QFontDatabase::removeApplicationFont(registered_[i].id);
    registered_.removeAt(i);
  }
}

QStringList TzunoFont::OwnFonts() {
  if (ownKnown_) return own_;
  // The families of the registered files, not merely the new names: a shipped font the system also
  // has is still one of the program's fonts.
  QSet<QString> families;
  for (const Registered& r : registered_)
    for (const QString& f : QFontDatabase::applicationFontFamilies(r.id)) families.insert(f.toLower());
  own_.clear();
  QSet<QString> listed;
  for (const QString& f : after_)
    if (families.contains(f.toLower()) && !listed.contains(f.toLower())) {
      own_ << f;
      listed.insert(f.toLower());
    }
  ownKnown_ = true;
  return own_;
}

TzunoFont& FontManager() {
  static TzunoFont manager;
  return manager;
}

void InstallFonts(const QString& folder) {
  FontManager().InstallFonts(folder);
}
void RemoveFonts(const QString& folder) {
  FontManager().RemoveFonts(folder);
}
QStringList OwnFonts() {
  return FontManager().OwnFonts();
}

bool IsTrueType(const QString& name) {
  if (name.isEmpty()) return false;
  const QStringList families = QFontDatabase::families();
  if (!families.contains(name, Qt::CaseInsensitive)) return false;
  // Loading a face costs; a family's format does not change while the program runs.
  static QHash<QString, bool> known;
  const QString key = name.toLower();
  const auto it = known.constFind(key);
  if (it != known.constEnd()) return *it;
  QFont font(name);
  font.setStyleStrategy(QFont::NoFontMerging);
  const QRawFont raw = QRawFont::fromFont(font);
  // Families the platform has twice carry their foundry: "Family [Foundry]".
  QString family = name;
  if (family.endsWith(QLatin1Char(']')) && family.contains(QLatin1String(" [")))
    family.truncate(family.lastIndexOf(QLatin1String(" [")));
  const bool outline = raw.isValid() && raw.familyName().compare(family, Qt::CaseInsensitive) == 0 &&
                       (!raw.fontTable("glyf").isEmpty() || !raw.fontTable("CFF ").isEmpty() ||
                        !raw.fontTable("CFF2").isEmpty());
  known.insert(key, outline);
  return outline;
}

TFontListItems FontListItems(int mode) {
  TFontListItems items;
  if (mode == 1 || mode == 2 || mode == 3) items.Names = OwnFonts();
  if (mode == 2) items.Highlighted = items.Names;
  if (mode == 3) return items;
  for (const QString& f : QFontDatabase::families())
    if (IsTrueType(f)) items.Names << f;
  return items;
}
