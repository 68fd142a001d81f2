// Album files from arbitrary bytes: reading never fails, and each change keeps every other album
// as it was: an added album comes last, a written one reads back, a deleted one moves the rest up.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "records/album_cd.h"

namespace {

QStringList Artists(TzunoAlbumCD& base) {
  QStringList out;
  for (int i = 0; i < base.Count(); ++i) out << base.Valeur(i, QStringLiteral("cdArtiste"));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("albumcd_1.def"));
  {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  TzunoAlbumCD base;
  base.FileName = file;
  const int count = base.Count();
  QStringList list;
  base.ListeAlbums(list);
  if (list.size() != count) std::abort();
  const QStringList before = Artists(base);
  for (int i = 0; i < count && i < 16; ++i) {
    base.Courant = i;
    for (const QString& key : base.Cles) (void)base.GetValeur(key);
  }

  // The input's own text as values, so odd characters and separators reach the writer.
  QStringList lines;
  QFile f(file);
  if (f.open(QIODevice::ReadOnly)) lines = QString::fromLatin1(f.read(256)).split(QLatin1Char('\n'));
  const QString value = lines.value(0).trimmed();
  const int op = size ? data[0] % 3 : 0;
  const int index = count ? static_cast<int>(size % static_cast<size_t>(count)) : 0;
  if (op == 0) {
    const int added = base.AjouteAlbum(base.AlbumLines(value, value, value, value, lines));
    if (added != count) std::abort();
    QStringList expected = before;
    expected << QString(value).replace(QLatin1Char('\r'), QLatin1Char(' ')).trimmed();
    if (Artists(base) != expected) std::abort();
  } else if (op == 1 && count > 0) {
    if (!base.EcritAlbum(index, value, lines, value, value, value)) std::abort();
    QStringList expected = before;
    expected[index] = QString(value).replace(QLatin1Char('\r'), QLatin1Char(' ')).trimmed();
    if (Artists(base) != expected || base.Count() != count) std::abort();
    if (base.Valeur(index, QStringLiteral("cdTitres")) != JoinTitres(lines)) std::abort();
  } else if (op == 2 && count > 0) {
    if (!base.SupprimeAlbum(index)) std::abort();
    QStringList expected = before;
    expected.removeAt(index);
    if (Artists(base) != expected) std::abort();
  }

  QStringList entry = lines;
  base.DepuisEntree(entry);
  if (entry.size() != 5) std::abort();
  return 0;
}
