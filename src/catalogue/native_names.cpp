#include "catalogue/native_names.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <memory>

namespace {

QString AliasBase() {
  return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/noms/");
}

bool ValidUtf8(const QByteArray& name) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8(name);
  return !utf8.hasError() && QFile::encodeName(decoded) == name;
}

// The alias of `target`: its own folder (named by the target's hash, so two names that read alike
// stay apart), holding a link named as the name reads in Windows-1252.
QString MakeAlias(const QByteArray& target, const QByteArray& name) {
  QStringDecoder cp1252("windows-1252");
  QString display = cp1252.isValid() ? cp1252(name) : QString::fromLatin1(name);
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  const QString folder =
      AliasBase() +
      QString::fromLatin1(QCryptographicHash::hash(target, QCryptographicHash::Sha1).toHex().left(16));
  const QString alias = folder + QLatin1Char('/') + display;
  const QByteArray native = QFile::encodeName(alias);
  char current[4096];
  const ssize_t n = ::readlink(native.constData(), current, sizeof current);
  if (n >= 0 && QByteArray(current, int(n)) == target) return alias;
  if (!QDir().mkpath(folder)) return {};
  ::unlink(native.constData());
  return ::symlink(target.constData(), native.constData()) == 0 ? alias : QString();
}

QStringList Undecodable(const QString& folder, bool folders, const QByteArray& suffix) {
  QStringList aliases;
  const QByteArray dir = QFile::encodeName(folder);
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.constData()), ::closedir);
  if (!d) return aliases;
  while (const dirent* e = ::readdir(d.get())) {
    const QByteArray name(e->d_name);
    if (name.startsWith('.') || ValidUtf8(name)) continue;
    const QByteArray target = dir + '/' + name;
    struct stat st {};
    if (::stat(target.constData(), &st) != 0) continue;
    if (folders ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode) || !name.toLower().endsWith(suffix.toLower()))
      continue;
    const QString alias = MakeAlias(target, name);
    if (!alias.isEmpty()) aliases << alias;
  }
  return aliases;
}

}  // namespace

QStringList UndecodableFolders(const QString& folder) {
  return Undecodable(folder, true, {});
}

QStringList UndecodableFiles(const QString& folder, const QByteArray& suffix) {
  return Undecodable(folder, false, suffix);
}

bool IsAliasPath(const QString& path) {
  return QDir::cleanPath(path).startsWith(AliasBase());
}

QByteArray AliasTarget(const QString& path) {
  const QString clean = QDir::cleanPath(path);
  const QString base = AliasBase();
  if (!clean.startsWith(base)) return {};
  // base + hash + "/" + name, then what lies below the alias.
  const QStringList parts = clean.mid(base.size()).split(QLatin1Char('/'));
  if (parts.size() < 2) return {};
  const QString alias = base + parts[0] + QLatin1Char('/') + parts[1];
  char target[4096];
  const ssize_t n = ::readlink(QFile::encodeName(alias).constData(), target, sizeof target);
  if (n < 0) return {};
  QByteArray real(target, int(n));
  for (qsizetype i = 2; i < parts.size(); ++i) real += '/' + QFile::encodeName(parts[i]);
  return real;
}
