#include "shell/language.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <memory>
#include <vector>

#include "shell/textfile.h"

namespace {

constexpr int kSlots = 3000;
constexpr int kMaxFields = 51;
constexpr int kMaxListItems = 10000;

struct Tables {
  QStringList raw;
  QStringList keys;
  QHash<QString, qsizetype> firstByLowerKey;  // first line of each key, letter case ignored
  std::vector<QString> numbered = std::vector<QString>(kSlots);
  bool loaded = false;
};

std::unique_ptr<Tables> g_tables;
QString g_programFolder;
int g_language = 1;
bool g_debug = false;

QStringList Fields(const QString& line) {
  QStringList f = line.split(QLatin1Char(';'));
  if (f.size() > kMaxFields) f.resize(kMaxFields);
  return f;
}

QString Unescape(QString text) {
  return text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
}

// Field of a language in a line's fields, where field 0 is the key.
QString LanguageField(const QStringList& fields, int language) {
  return language >= 1 && language < fields.size() ? Unescape(fields[language]) : QString();
}

// A decimal number as a key: digits only, with an optional sign.
bool KeyNumber(const QString& key, int* n) {
  bool ok = false;
  *n = key.toInt(&ok, 10);
  return ok;
}

}  // namespace

void MLSetProgramFolder(const QString& folder) {
  g_programFolder = folder;
}
void MLSetLanguage(int language) {
  g_language = language;
}
int MLLanguage() {
  return g_language;
}
void MLSetDebug(bool on) {
  g_debug = on;
}
bool MLDebug() {
  return g_debug;
}

bool MLCreate(const QString& fileName) {
  if (g_tables && g_tables->loaded) return false;
  QString path = fileName;
  if (QFileInfo(path).isRelative() && !g_programFolder.isEmpty()) path = QDir(g_programFolder).filePath(path);
  g_tables = std::make_unique<Tables>();
  QStringList lines;
  if (!QFileInfo(path).isFile() || !ReadTextFile(path, lines)) return false;
  g_tables.reset();
  return MLCreateFromLines(lines);
}

bool MLCreateFromLines(const QStringList& lines) {
  if (g_tables && g_tables->loaded) return false;
  g_tables = std::make_unique<Tables>();
  Tables& t = *g_tables;
  t.raw = lines;
  t.keys.reserve(t.raw.size());
  for (qsizetype i = 0; i < t.raw.size(); ++i) {
    const QString& line = t.raw[i];
    const qsizetype semi = line.indexOf(QLatin1Char(';'));
    const QString key = semi < 0 ? line : line.left(semi);
    t.keys.append(key);
    t.firstByLowerKey.insert(key.toLower(), i);  // replaced below when seen earlier
    int n;
    if (semi >= 0 && KeyNumber(key, &n) && n > 0 && n < kSlots)
      t.numbered[static_cast<size_t>(n)] = line.mid(semi + 1);
  }
  // The first line of a key wins.
  for (qsizetype i = t.keys.size() - 1; i >= 0; --i) t.firstByLowerKey.insert(t.keys[i].toLower(), i);
  t.loaded = true;
  return true;
}

void MLFree() {
  g_tables.reset();
}

QString MLMessage(int number) {
  if (!g_tables) return QString::number(number);
  const Tables& t = *g_tables;
  QString text, first;
  if (number >= 1 && number < kSlots) {
    // The slot holds the texts without the key: language 1 is its first field.
    const QStringList f = Fields(QStringLiteral("x;") + t.numbered[static_cast<size_t>(number)]);
    if (!t.numbered[static_cast<size_t>(number)].isEmpty()) {
      text = LanguageField(f, g_language);
      first = LanguageField(f, 1);
    }
  } else {
    const qsizetype i = t.keys.indexOf(QString::number(number));
    if (i >= 0) {
      const QStringList f = Fields(t.raw[i]);
      text = LanguageField(f, g_language);
      first = LanguageField(f, 1);
    }
  }
  if (g_debug && text.isEmpty()) return QLatin1Char('@') + first;
  return text;
}

QString MLText(const QString& key) {
  QString text, first;
  if (g_tables) {
    const auto it = g_tables->firstByLowerKey.constFind(key.toLower());
    if (it != g_tables->firstByLowerKey.constEnd()) {
      const QStringList f = Fields(g_tables->raw[*it]);
      text = LanguageField(f, g_language);
      first = LanguageField(f, 1);
    }
  }
  if (g_debug && text.isEmpty()) return QLatin1Char('$') + first;
  return text;
}

void MLTranslateWindow(TMLWindow& window) {
  if (g_language < 1 || !g_tables) return;
  QString name = window.Name();
  const qsizetype underscore = name.indexOf(QLatin1Char('_'));
  if (underscore >= 0) name.truncate(underscore);
  for (const QString& line : g_tables->raw) {
    const qsizetype dot = line.indexOf(QLatin1Char('.'));
    if (dot < 0 || QStringView(line).left(dot) != name) continue;
    const QStringList f = Fields(line);
    QString value = LanguageField(f, g_language);
    if (g_debug && value.trimmed().isEmpty()) value = QLatin1Char('#') + LanguageField(f, 1);
    const QStringList parts = f[0].split(QLatin1Char('.'));
    const QString part1 = parts.value(1), part2 = parts.value(2);
    if (part1 == QLatin1String("Caption") || part1 == QLatin1String("Hint"))
      window.SetWindowText(part1, value);
    if (!window.HasComponent(part1)) continue;
    // List forms: a letter, a space and an item index.
    if (part2.size() >= 2 && part2[1] == QLatin1Char(' ') && QStringLiteral("LCMR").contains(part2[0])) {
      const QChar kind = part2[0];
      std::optional<QStringList> items = window.ListItems(part1, kind);
      if (!items) continue;
      bool ok = false;
      int k = part2.mid(2).toInt(&ok);
      if (!ok || k < 0) k = 0;
      // A hostile index would have the list grow by billions of empty items.
      if (k > kMaxListItems) continue;
      while (items->size() < k) items->append(QString());
      if (items->size() == k)
        items->append(value);
      else
        (*items)[k] = value;
      window.SetListItems(part1, kind, *items);
      continue;
    }
    window.SetComponentText(part1, part2, value);  // a property the component lacks is ignored
  }
}
