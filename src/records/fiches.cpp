#include "records/fiches.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>

#include "records/csv_table.h"
#include "shell/card_picture.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

TzunoFiches* g_fiches = nullptr;

bool SameKey(QStringView a, QStringView b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, and where its value starts (-1 when the line has no "=").
qsizetype Equals(QStringView line) {
  return line.indexOf(QLatin1Char('='));
}

// Text of a card file: UTF-8 after a byte-order mark; UTF-8 too when the bytes are valid UTF-8 with
// at least one multi-byte sequence (a file saved by a text editor), since Windows-1252 text almost
// never forms one; Windows-1252 otherwise.
QString DecodeCards(const QByteArray& bytes, bool* utf8) {
  *utf8 = false;
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  bool high = false;
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) {
      high = true;
      break;
    }
  if (high) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError()) {
      *utf8 = true;
      return text;
    }
  }
  return Decode1252(bytes.constData(), bytes.size());
}

QString Unbracket(const QString& tag) {
  const QString t = tag.trimmed();
  return t.size() >= 2 ? t.mid(1, t.size() - 2) : QString();
}

}  // namespace

TzunoFiche::TzunoFiche(const QStringList& lines) {
  for (const QString& line : lines) {
    if (!text_.isEmpty()) text_ += QLatin1Char('\n');
    text_ += line;
  }
}

QStringList TzunoFiche::Lines() const {
  if (text_.isEmpty()) return {};
  return text_.split(QLatin1Char('\n'));
}

int TzunoFiche::LineCount() const {
  return text_.isEmpty() ? 0 : static_cast<int>(text_.count(QLatin1Char('\n'))) + 1;
}

QString TzunoFiche::Value(QStringView key) const {
  for (QStringView line : QStringView(text_).tokenize(QLatin1Char('\n'))) {
    const qsizetype eq = Equals(line);
    if (eq >= 0 && SameKey(line.left(eq), key)) return line.mid(eq + 1).toString();
  }
  return {};
}

void TzunoFiche::SetValue(const QString& key, const QString& value) {
  QString v = value;
  v.replace(QLatin1String("\r\n"), QLatin1String("|"));
  v.replace(QLatin1Char('\r'), QLatin1Char('|'));
  v.replace(QLatin1Char('\n'), QLatin1Char('|'));
  QStringList lines = Lines();
  qsizetype at = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const qsizetype eq = Equals(lines[i]);
    if (eq >= 0 && SameKey(QStringView(lines[i]).left(eq), key)) {
      at = i;
      break;
    }
  }
  if (v.isEmpty()) {
    if (at >= 0) lines.removeAt(at);
  } else if (at >= 0) {
    lines[at] = key + QLatin1Char('=') + v;
  } else {
    lines.append(key + QLatin1Char('=') + v);
  }
  *this = TzunoFiche(lines);
}

TzunoFiches::TzunoFiches() : saved_(Digest()) {}
TzunoFiches::~TzunoFiches() {
  if (g_fiches == this) g_fiches = nullptr;
}

TzunoFiche* TzunoFiches::Item(int index) {
  return const_cast<TzunoFiche*>(std::as_const(*this).Item(index));
}

const TzunoFiche* TzunoFiches::Item(int index) const {
  if (cards_.empty() || index < 0) return nullptr;
  if (index >= Count()) index = 0;
  return cards_[static_cast<size_t>(index)].get();
}

bool TzunoFiches::LoadFromFile(const QString& fileName, TFichesLoad* report) {
  TFichesLoad local;
  TFichesLoad& r = report ? *report : local;
  r = TFichesLoad();
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > kMaxFileSize) {
    r.TooBig = true;
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  bool utf8 = false;
  const QString text = DecodeCards(bytes, &utf8);
  QStringList lines;
  for (QStringView line : QStringView(text).tokenize(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    lines.append(line.toString());
  }
  LoadFromStrings(lines, &r);
  r.Read = true;
  r.Utf8 = utf8;
  return true;
}

void TzunoFiches::LoadFromStrings(const QStringList& lines, TFichesLoad* report) {
  TFichesLoad local;
  TFichesLoad& r = report ? *report : local;
  std::vector<std::unique_ptr<TzunoFiche>> cards;
  QStringList card;
  bool inSection = false;
  auto flush = [&] {
    if (inSection) cards.push_back(std::make_unique<TzunoFiche>(card));
    card.clear();
  };
  for (const QString& raw : lines) {
    const QStringView line = QStringView(raw).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      flush();
      inSection = true;
      continue;
    }
    const qsizetype eq = Equals(line);
    if (!inSection || eq <= 0) {
      ++r.SkippedLines;
      continue;
    }
    const QStringView key = line.left(eq).trimmed();
    QStringView value = line.mid(eq + 1);
    if (key.isEmpty()) {
      ++r.SkippedLines;
      continue;
    }
    if (value.size() > kMaxValue) {
      value = value.left(kMaxValue);
      ++r.CutValues;
    }
    if (value.isEmpty()) continue;
    // Line breaks cannot occur inside a line; "\n" would also split the card's storage.
    card.append(key.toString() + QLatin1Char('=') + value.toString());
  }
  flush();
  cards_ = std::move(cards);
  r.Cards = Count();
  Modifie = false;
  if (current_ >= Count()) current_ = 0;
  saved_ = Digest();
}

bool TzunoFiches::SaveToFile(const QString& fileName) {
  TTextFileWriter out;
  for (size_t i = 0; i < cards_.size(); ++i) {
    out.Add(QStringLiteral("[%1]").arg(i + 1));
    for (const QString& line : cards_[i]->Lines()) out.Add(line);
    out.Add(QStringView());
  }
  if (!out.Commit(fileName)) return false;
  saved_ = Digest();
  return true;
}

bool TzunoFiches::Open(const TSoft& soft, QString* message) {
  QString file = soft.FichesFile;
  if (!QFileInfo::exists(file)) file = soft.DataPath + QFileInfo(soft.FichesFile).fileName();
  TFichesLoad load;
  const bool read = LoadFromFile(file, &load);
  keepOriginal_ = false;
  if (QFileInfo::exists(file) && (!read || load.Damaged())) {
    // Only the user's own file is ever written; the installed copy stays as shipped.
    keepOriginal_ = file == soft.FichesFile;
    if (message) *message = MLText(QStringLiteral("FichesAbimees")).replace(QLatin1String("%s"), file);
  }
  return read;
}

bool TzunoFiches::Store(const TSoft& soft) {
  if (!Changed() || soft.FichesFile.isEmpty()) return true;
  QDir().mkpath(QFileInfo(soft.FichesFile).path());
  if (keepOriginal_ && QFileInfo::exists(soft.FichesFile)) {
    const QString copy = soft.FichesFile + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(u"yyyyMMdd-hhmmss");
    if (!QFile::copy(soft.FichesFile, copy)) return false;
    keepOriginal_ = false;
  }
  return SaveToFile(soft.FichesFile);
}

size_t TzunoFiches::Digest() const {
  size_t h = qHash(cards_.size());
  for (const auto& card : cards_) h = qHashMulti(h, card->text_);
  return h;
}

bool TzunoFiches::Changed() const {
  return Digest() != saved_;
}

QString TzunoFiches::NomPre(const TzunoFiche& card) const {
  return card.Value(CleNom) + QLatin1Char(' ') + card.Value(ClePrenom);
}

QString TzunoFiches::GetChamp(const TzunoFiche* card, const QString& name) const {
  if (!card) return {};
  if (SameKey(name, u"NomPre")) return NomPre(*card);
  return card->Value(name);
}

int TzunoFiches::Ajoute(const QString& nom, const QString& prenom) {
  auto card = std::make_unique<TzunoFiche>();
  card->SetValue(CleNom, nom);
  card->SetValue(ClePrenom, prenom);
  cards_.push_back(std::move(card));
  Trie();
  for (int i = 0; i < Count(); ++i)
    if (cards_[i]->Value(CleNom) == nom && cards_[i]->Value(ClePrenom) == prenom) return i;
  return -1;
}

void TzunoFiches::AjouteCartes(std::vector<std::unique_ptr<TzunoFiche>> cards) {
  if (cards.empty()) return;
  for (auto& c : cards)
    if (c) cards_.push_back(std::move(c));
  Trie();
}

void TzunoFiches::Trie() {
  const TzunoFiche* current = Item(current_);
  // Sort keys computed once: a big address book is sorted in well under a second.
  std::vector<std::pair<QString, TzunoFiche*>> keyed;
  keyed.reserve(cards_.size());
  for (auto& c : cards_) {
    QString key = NomPre(*c).toCaseFolded();
    keyed.emplace_back(std::move(key), c.release());
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) {
    cards_[i].reset(keyed[i].second);
    if (cards_[i].get() == current) current_ = static_cast<int>(i);
  }
}

void TzunoFiches::Supprime(int index) {
  if (index < 0 || index >= Count()) return;
  cards_.erase(cards_.begin() + index);
  if (current_ > index || current_ >= Count()) current_ = std::max(0, current_ - 1);
}

void TzunoFiches::ReadKeysFromLanguage() {
  const QString nom = Unbracket(MLText(QStringLiteral("fmFiche.e101.Hint")));
  const QString prenom = Unbracket(MLText(QStringLiteral("fmFiche.e102.Hint")));
  if (!nom.isEmpty()) CleNom = nom;
  if (!prenom.isEmpty()) ClePrenom = prenom;
}

int TzunoFiches::Current() const {
  if (cards_.empty()) return -1;
  return current_ >= 0 && current_ < Count() ? current_ : 0;
}

void TzunoFiches::SetCurrent(int index) {
  current_ = index >= 0 && index < Count() ? index : 0;
}

void TzunoFiches::ReadCurrent(const TSoft& soft) {
  current_ = std::max(0, soft.ReadUserInteger(QStringLiteral("idxFiche")));
  if (current_ >= Count()) current_ = 0;
}

void TzunoFiches::WriteCurrent(TSoft& soft) const {
  soft.WriteUserInteger(QStringLiteral("idxFiche"), std::max(0, Current()));
}

QString TzunoFiches::PhotoFile(const QString& userPath, const TzunoFiche& card) const {
  return userPath + CardPictureName(NomPre(card), false);
}

QString TzunoFiches::LogoFile(const QString& userPath, const TzunoFiche& card) const {
  return userPath + CardPictureName(NomPre(card), true);
}

TzunoFiches* Fiches() {
  return g_fiches;
}

void SetFiches(TzunoFiches* fiches) {
  g_fiches = fiches;
}

std::vector<TFicheChamp> ReadFicheChamps(const QString& fileName) {
  std::vector<TFicheChamp> out;
  TzunoCSV table;
  if (!table.LoadFromFile(fileName)) return out;
  auto percent = [](const QString& s) {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    return ok && v > 0 && v <= 1000 ? v : 100;
  };
  for (int row = 1; row < table.RowCount(); ++row) {
    TFicheChamp c;
    bool ok = false;
    c.Page = table.Cell(0, row).trimmed().toInt(&ok);
    if (!ok || (c.Page != 0 && c.Page != 1)) continue;
    c.Kind = table.Cell(1, row).trimmed();
    c.Tag = table.Cell(2, row).trimmed();
    c.Key = Unbracket(c.Tag);
    c.Label = table.Cell(3, row);
    c.Width = percent(table.Cell(4, row));
    if (c.Kind == QLatin1String("TComboBox"))
      c.Items = table.Cell(5, row).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    else
      c.Height = percent(table.Cell(5, row));
    out.push_back(std::move(c));
  }
  return out;
}
