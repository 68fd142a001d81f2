#include "records/text_library.h"

#include <algorithm>

#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

TzunoChoixTextes* g_library = nullptr;

// The words of a "|"-separated list; empty words would match every theme and are left out.
QStringList Words(const QString& list) {
  QStringList out;
  for (const QString& w : list.split(QLatin1Char('|'), Qt::SkipEmptyParts))
    if (!w.trimmed().isEmpty()) out << w.trimmed();
  return out;
}

bool SameTheme(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A text compared with a placed one: every kind of line break a blank, blanks run together.
QString Comparable(QString text) {
  text.replace(QLatin1String("\\n"), QLatin1String(" "));
  text.replace(QLatin1Char('|'), QLatin1Char(' '));
  return text.simplified();
}

bool Offered(const QString& text) {
  return !text.isEmpty() && !text.startsWith(QLatin1Char('#'));
}

}  // namespace

bool TzunoChoixTextes::Charge(const QString& fileName) {
  QStringList lines;
  const bool read = !fileName.isEmpty() && ReadTextFile(fileName, lines);
  ChargeLignes(read ? lines : QStringList());
  return read;
}

void TzunoChoixTextes::ChargeLignes(const QStringList& lines) {
  lines_.clear();
  parts_ = 0;
  loaded_ = true;
  for (const QString& text : lines) {
    Line line;
    qsizetype start = 0;
    for (int f = 0; f < kFields; ++f) {
      const qsizetype sep = text.indexOf(QLatin1Char(';'), start);
      line[size_t(f)] = text.mid(start, sep < 0 ? -1 : sep - start).trimmed();
      if (sep < 0) break;
      start = sep + 1;
    }
    if (line[0].isEmpty()) continue;
    lines_.push_back(std::move(line));
  }
  if (lines_.empty()) return;
  for (int f = 1; f < kFields; ++f)
    if (!lines_.front()[size_t(f)].isEmpty()) parts_ = f;
}

QStringList TzunoChoixTextes::ListeThemes(const QString& inclu, const QString& exclu) const {
  const QStringList in = Words(inclu), out = Words(exclu);
  QStringList themes;
  for (size_t i = 1; i < lines_.size(); ++i) {
    const QString& theme = lines_[i][0];
    auto occurs = [&theme](const QString& w) { return theme.contains(w, Qt::CaseInsensitive); };
    if (!in.isEmpty() && std::none_of(in.begin(), in.end(), occurs)) continue;
    if (std::any_of(out.begin(), out.end(), occurs)) continue;
    if (!themes.contains(theme, Qt::CaseInsensitive)) themes << theme;
  }
  return themes;
}

std::vector<const TzunoChoixTextes::Line*> TzunoChoixTextes::ThemeLines(const QString& theme) const {
  std::vector<const Line*> out;
  for (size_t i = 1; i < lines_.size(); ++i)
    if (SameTheme(lines_[i][0], theme)) out.push_back(&lines_[i]);
  return out;
}

QStringList TzunoChoixTextes::NomsParties(const QString& theme) const {
  QStringList names;
  const std::vector<const Line*> own = ThemeLines(theme);
  if (!own.empty() && (*own.front())[1].startsWith(QLatin1Char('#'))) {
    for (int f = 1; f < kFields; ++f) {
      QString name = (*own.front())[size_t(f)];
      if (name.startsWith(QLatin1Char('#'))) name.remove(0, 1);
      if (!name.isEmpty()) names << name;
    }
    return names;
  }
  for (int f = 1; f <= parts_; ++f) names << lines_.front()[size_t(f)];
  return names;
}

void TzunoChoixTextes::AddTexts(QStringList& out, const QString& theme, int first, int last) const {
  for (const Line* line : ThemeLines(theme))
    for (int f = first; f <= last; ++f) {
      const QString& text = (*line)[size_t(f)];
      if (Offered(text) && !out.contains(text)) out << text;
    }
}

QStringList TzunoChoixTextes::Textes(const QString& theme, const QString& partie) const {
  QStringList out;
  if (partie.isEmpty()) {
    AddTexts(out, theme, 1, parts_);
    return out;
  }
  for (int f = 1; f <= parts_; ++f)
    if (SameTheme(lines_.front()[size_t(f)], partie)) return TextesPartie(theme, f - 1);
  return out;
}

QStringList TzunoChoixTextes::TextesPartie(const QString& theme, int index) const {
  QStringList out;
  if (index >= 0 && index < parts_) AddTexts(out, theme, index + 1, index + 1);
  return out;
}

QStringList TzunoChoixTextes::TextesVoisins(const QString& texte) const {
  QStringList out;
  const QString wanted = Comparable(texte);
  if (wanted.isEmpty()) return out;
  for (size_t i = 1; i < lines_.size(); ++i)
    for (int f = 1; f <= parts_; ++f)
      if (Comparable(lines_[i][size_t(f)]) == wanted) AddTexts(out, lines_[i][0], f, f);
  return out;
}

TzunoChoixTextes* ChoixTextes() {
  return g_library;
}

void SetChoixTextes(TzunoChoixTextes* library) {
  g_library = library;
}

TzunoChoixTextes* ChoixTextesCharges() {
  if (g_library && !g_library->Loaded() && Soft()) g_library->Charge(Soft()->TextesFile);
  return g_library;
}

QString TexteVersObjet(const QString& texte) {
  QString s = texte;
  return s.replace(QLatin1String("\\n"), QLatin1String("|"));
}
