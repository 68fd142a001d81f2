#include "common/generator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "shell/textfile.h"

namespace content {

namespace {
std::vector<Generator>& Registry() {
  static std::vector<Generator> generators;
  return generators;
}
}  // namespace

void Register(const Generator& generator) {
  Registry().push_back(generator);
}

const std::vector<Generator>& Generators() {
  auto& generators = Registry();
  std::stable_sort(generators.begin(), generators.end(),
                   [](const Generator& a, const Generator& b) { return a.order < b.order; });
  return generators;
}

QString Output::Absolute(const QString& path) const {
  return root_ + QLatin1Char('/') + path;
}

void Output::Keep(const QString& path) {
  kept_.insert(QDir::cleanPath(path));
}

void Output::Own(const QString& folder) {
  owned_.append(QDir::cleanPath(folder));
}

bool Output::Write(const QString& path, const QByteArray& bytes, QString* error) {
  const QString clean = QDir::cleanPath(path);
  kept_.insert(clean);
  const QString target = Absolute(clean);
  QFile existing(target);
  if (existing.open(QIODevice::ReadOnly)) {
    if (existing.size() == bytes.size() && existing.readAll() == bytes) {
      ++unchanged_;
      return true;
    }
    existing.close();
  }
  QDir().mkpath(QFileInfo(target).absolutePath());
  if (!WriteFileAtomically(target, bytes)) {
    if (error) *error = QStringLiteral("cannot write %1").arg(target);
    return false;
  }
  ++written_;
  return true;
}

QStringList Output::Finish() {
  QStringList removed;
  for (const QString& folder : owned_) {
    QDirIterator it(Absolute(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      const QString relative = QDir(root_).relativeFilePath(file);
      if (QFileInfo(file).fileName() == QLatin1String(".keep")) continue;
      if (kept_.count(QDir::cleanPath(relative))) continue;
      if (QFile::remove(file)) removed.append(relative);
    }
  }
  return removed;
}

}  // namespace content
