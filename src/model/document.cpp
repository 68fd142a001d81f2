#include "model/document.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>

#include "model/encodings.h"
#include "model/group.h"
#include "model/kinds.h"
#include "shell/inifile.h"

namespace {

constexpr const char* kGabaritNames[] = {"",         "CD",          "Jaquette",  "Livret",
                                         "Feuillet", "JaquetteDVD", "PochetteCD"};

// Lines are read either from a string list or in place from a file's bytes (QStringView or
// QLatin1StringView); the structure of a document is plain ASCII, so both are walked alike.

// Name part of a "name=value" line, or a null view when the line has no "=".
template <class View>
View NameOf(View line) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  return eq < 0 ? View() : line.left(eq);
}
QStringView NamePart(const QString& line) {
  return NameOf(QStringView(line));
}

template <class View>
View TrimLeft(View line) {
  qsizetype i = 0;
  while (i < line.size() && line[i].unicode() <= 32) ++i;
  return line.mid(i);
}
QStringView TrimLeft(const QString& line) {
  return TrimLeft(QStringView(line));
}

// Leading spaces halved; a line of spaces only counts one space less.
template <class View>
int IndentLevel(View line) {
  qsizetype n = 0;
  while (n < line.size() && line[n] == QLatin1Char(' ')) ++n;
  if (n > 0 && n == line.size()) --n;
  return static_cast<int>(n / 2);
}

QString ToText(QStringView line) {
  return line.toString();
}
QString ToText(QLatin1StringView line) {
  return Decode1252(line);
}

// The line's text written into a string that keeps its buffer when no one else holds it.
void AssignText(QString& s, QStringView line) {
  s.resize(line.size());
  std::copy(line.begin(), line.end(), s.begin());
}
void AssignText(QString& s, QLatin1StringView line) {
  s.resize(line.size());
  QChar* d = s.data();
  const char* p = line.data();
  bool plain = true;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(p[i]);
    plain = plain && b < 0x80;
    d[i] = QChar(b);
  }
  if (!plain) s = Decode1252(line);
}

// Appends a property line through the pool of strings of earlier objects.
template <class View>
void AppendProperty(QStringList& props, std::vector<QString>& pool, View text) {
  if (size_t(props.size()) == pool.size()) pool.emplace_back();
  QString& s = pool[size_t(props.size())];
  AssignText(s, text);
  props.append(s);
}

struct ListLines {
  const QStringList& list;
  qsizetype size() const { return list.size(); }
  QStringView operator[](qsizetype i) const { return list[i]; }
};
struct NarrowLines {
  const TTextLines& file;
  qsizetype size() const { return file.size(); }
  QLatin1StringView operator[](qsizetype i) const { return file.Narrow(i); }
};
struct WideLines {
  const TTextLines& file;
  qsizetype size() const { return file.size(); }
  QStringView operator[](qsizetype i) const { return file.WideLine(i); }
};

// After a file is read or written the document keeps, instead of the whole text, the lines its header
// lookups can find: everything up to the first empty line, then the lines at the left margin that hold
// a "=" (face lines). Object blocks live in the objects.
template <class View>
bool KeptAfterHeader(View line) {
  return !line.isEmpty() && line[0].unicode() > 32 && line.contains(QLatin1Char('='));
}

}  // namespace

TzunoCADMdl::TzunoCADMdl(TDocumentEditor* editor, QRect pixels, double large, double haut)
    : Large(large), Haut(haut), editor_(editor) {
  if (pixels.width() > 0 && pixels.height() > 0) {
    workBitmap_ = QImage(pixels.width(), pixels.height(), QImage::Format_RGB888);
    workBitmap_.fill(Qt::white);
  }
  measureCanvas_ = std::make_unique<TBitmapCanvas>(&workBitmap_);
  PixelsPerMmX = large != 0 ? std::max(0, pixels.width()) / large : 0;
  PixelsPerMmY = haut != 0 ? std::max(0, pixels.height()) / haut : 0;
}

TzunoCADMdl::~TzunoCADMdl() {
  // No one is told: the owner lets the whole document go, and an owning editor may be half destroyed.
  for (auto& o : objects_) o.reset();
}

// ---------------------------------------------------------------------------------------------
// Header store

QString TzunoCADMdl::GetEntete(const QString& key) const {
  for (const QString& line : text_) {
    const QStringView name = NamePart(line);
    if (!name.isNull() && name.compare(key, Qt::CaseInsensitive) == 0) return line.mid(name.size() + 1);
  }
  return QString();
}

void TzunoCADMdl::SetEntete(const QString& key, const QString& value) {
  qsizetype i = 0;
  for (; i < text_.size(); ++i) {
    const QString& line = text_[i];
    if (line.isEmpty()) break;
    const QStringView name = NamePart(line);
    if (!name.isNull() && name.compare(key, Qt::CaseInsensitive) == 0) {
      text_[i] = key + QLatin1Char('=') + value;
      return;
    }
  }
  text_.insert(i, key + QLatin1Char('=') + value);
}

QString TzunoCADMdl::GabaritName(int code) {
  return code >= 1 && code <= 6 ? QString::fromLatin1(kGabaritNames[code]) : QString();
}

int TzunoCADMdl::GabaritCode(const QString& name) {
  for (int i = 1; i <= 6; ++i)
    if (name.compare(QLatin1String(kGabaritNames[i]), Qt::CaseInsensitive) == 0) return i;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Writing

void TzunoCADMdl::ApplyHeader(QStringList& header, const QString& key, const QString& value, bool remove) {
  if (remove) {
    // Every line of that name goes, or a second one would be read back in its place.
    header.removeIf([&](const QString& line) {
      const QStringView name = NamePart(line);
      return !name.isNull() && name.compare(key, Qt::CaseInsensitive) == 0;
    });
    return;
  }
  for (QString& line : header) {
    const QStringView name = NamePart(line);
    if (!name.isNull() && name.compare(key, Qt::CaseInsensitive) == 0) {
      line = key + QLatin1Char('=') + value;
      return;
    }
  }
  header.append(key + QLatin1Char('=') + value);
}

void TzunoCADMdl::WriteLines(const std::function<void(QStringView indent, QString line)>& add) {
  // The header ends at the first empty line. A text without one (hand-made or damaged) would
  // otherwise carry its face blocks in the header and have them read again after every save,
  // so a face line ends the header too.
  QStringList header;
  for (const QString& line : text_) {
    if (line.isEmpty() || TrimLeft(line).startsWith(QLatin1String("Face="))) break;
    header.append(line);
  }
  ApplyHeader(header, QStringLiteral("Version"), QStringLiteral("1.2"), false);
  ApplyHeader(header, QStringLiteral("Large"), WriteReal(Large), false);
  ApplyHeader(header, QStringLiteral("Haut"), WriteReal(Haut), false);
  ApplyHeader(header, QStringLiteral("Frisex"), WriteReal(FriseX), FriseX == 0);
  ApplyHeader(header, QStringLiteral("Gabarit"), GabaritName(Gabarit), GabaritName(Gabarit).isEmpty());
  ApplyHeader(header, QStringLiteral("ColorPapier"), WriteColorRGB(ColorPapier), ColorPapier == clWhite);

  for (QString& line : header) add(QStringView(), std::move(line));
  add(QStringView(), QString());
  const int maxFace = MaxFace();
  std::map<int, std::vector<int>> faces;
  for (int i = 0; i < Count(); ++i) {
    const int f = objects_[static_cast<size_t>(i)]->Face;
    if (f >= 0 && f <= maxFace) faces[f].push_back(i);
  }
  const QString objIndent = QStringLiteral("  Objet=");
  const QString propIndent = QStringLiteral("    ");
  for (const auto& [face, members] : faces) {
    add(QStringView(), QStringLiteral("Face=") + QString::number(face));
    for (int i : members) {
      add(QStringView(), objIndent + QString::number(i + 1));
      const QStringList props = objects_[static_cast<size_t>(i)]->GetProperties();
      for (const QString& p : props) {
        // A key with an empty value is never written.
        const qsizetype eq = p.indexOf(QLatin1Char('='));
        if (eq < 0 || eq == p.size() - 1) continue;
        add(propIndent, p);
      }
      add(QStringView(), QStringLiteral("  End"));
      add(QStringView(), QStringLiteral("  "));
    }
    add(QStringView(), QStringLiteral("End"));
    add(QStringView(), QString());
  }
}

const QStringList& TzunoCADMdl::SaveToStrings() {
  QStringList out;
  WriteLines([&out](QStringView indent, QString line) {
    out.append(indent.isEmpty() ? std::move(line) : indent.toString() + line);
  });
  text_ = std::move(out);
  return text_;
}

bool TzunoCADMdl::SaveToFile(const QString& fileName) {
  // Written line by line as the text is made: a large document never exists twice as text.
  TTextFileWriter writer;
  QStringList kept;
  bool body = false;
  WriteLines([&](QStringView indent, QString line) {
    writer.Add(indent, line);
    if (!body)
      body = line.isEmpty();
    else if (!indent.isEmpty() || !KeptAfterHeader(QStringView(line)))
      return;
    kept.append(std::move(line));
  });
  text_ = std::move(kept);
  return writer.Commit(fileName);
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {
template <class Lines>
void ReadLines(TzunoCADMdl& doc, const Lines& lines);
}  // namespace

bool TzunoCADMdl::LoadFromFile(const QString& fileName) {
  ClearObjets();
  // Read in place: a string for every line of a large document would cost more than its objects.
  TTextLines file;
  if (!QFileInfo::exists(fileName) || !file.Read(fileName)) return false;
  LoadingFiles = QStringList{QFileInfo(fileName).absoluteFilePath()};
  if (file.Wide())
    ReadLines(*this, WideLines{file});
  else
    ReadLines(*this, NarrowLines{file});
  QStringList kept;
  qsizetype i = 0;
  for (; i < file.size(); ++i) {
    kept.append(file.Line(i));
    if (kept.last().isEmpty()) break;
  }
  for (++i; i < file.size(); ++i)
    if (file.Wide() ? KeptAfterHeader(file.WideLine(i)) : KeptAfterHeader(file.Narrow(i)))
      kept.append(file.Line(i));
  text_ = std::move(kept);
  return true;
}

void TzunoCADMdl::LoadFromStrings(const QStringList& lines) {
  ReadLines(*this, ListLines{lines});
  text_ = lines;
}

namespace {

template <class Lines>
void ReadLines(TzunoCADMdl& doc, const Lines& lines) {
  // One read is one operation: the settings objects ask as they are built are looked at once.
  const TSettingsOperation operation;
  const TNestedReadingScope nested(doc);
  doc.PixelsPerMmX = 1;
  doc.PixelsPerMmY = 1;

  // Header values: first matching line anywhere in the text.
  enum { kLarge, kHaut, kFrise, kGabarit, kColor, kKeys };
  static const QLatin1String keys[kKeys] = {QLatin1String("Large"), QLatin1String("Haut"),
                                            QLatin1String("FriseX"), QLatin1String("Gabarit"),
                                            QLatin1String("ColorPapier")};
  QString values[kKeys];
  bool found[kKeys] = {};
  int missing = kKeys;
  for (qsizetype i = 0; i < lines.size() && missing; ++i) {
    const auto line = lines[i];
    // An indented line (every line of an object) cannot name one of these keys.
    if (line.isEmpty() || line[0] == QLatin1Char(' ')) continue;
    const auto name = NameOf(line);
    if (name.isNull() || name.size() > 11) continue;
    for (int k = 0; k < kKeys; ++k) {
      if (!found[k] && name.compare(keys[k], Qt::CaseInsensitive) == 0) {
        found[k] = true;
        values[k] = ToText(line.mid(name.size() + 1));
        --missing;
        break;
      }
    }
  }
  doc.Large = ReadReal(values[kLarge]);
  doc.Haut = ReadReal(values[kHaut]);
  doc.FriseX = ReadReal(values[kFrise]);
  doc.Gabarit = TzunoCADMdl::GabaritCode(values[kGabarit]);
  doc.ColorPapier = found[kColor] ? ReadColorRGB(values[kColor]) : clWhite;

  const qsizetype n = lines.size();
  QStringList props;
  std::vector<QString> pool;
  for (int face = 1; face <= 2; ++face) {
    const QString faceLine = QStringLiteral("Face=") + QString::number(face);
    qsizetype start = 0;
    while (start < n && TrimLeft(lines[start]) != faceLine) ++start;
    if (start >= n) continue;
    qsizetype end = start + 1;
    while (end < n && lines[end] != QLatin1String("End")) ++end;

    // Each "Objet=" line starts its own object block, so that two blocks carrying the same number
    // are both read. A block runs to "  End", or to the next "Objet=" line when its End is missing;
    // every indented line in it is a property, so a blank line or a stray indentation loses nothing.
    auto isMember = [](const auto& line) {
      return IndentLevel(line) == 1 &&
             TrimLeft(line).startsWith(QLatin1String("Objet="), Qt::CaseInsensitive);
    };
    for (qsizetype i = start + 1; i < end;) {
      if (!isMember(lines[i])) {
        ++i;
        continue;
      }
      props.clear();
      for (++i; i < end; ++i) {
        const auto line = lines[i];
        if (line == QLatin1String("  End") || isMember(line)) break;
        if (IndentLevel(line) >= 1 && !TrimLeft(line).isEmpty()) AppendProperty(props, pool, TrimLeft(line));
      }
      const QString name = PropValue(props, u"Name");
      if (name.isEmpty()) continue;
      if (TzunoCADObj* obj = doc.CreateObjet(name)) {
        obj->SetProperties(props);
        obj->Face = face;
      }
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Object list

TzunoCADObj* TzunoCADMdl::CreateObjet(const QString& typeName) {
  std::unique_ptr<TzunoCADObj> obj = MakeObjectKind(this, typeName.toLower());
  if (!obj) return nullptr;
  TzunoCADObj* raw = obj.get();
  objects_.push_back(std::move(obj));
  return raw;
}

void TzunoCADMdl::MoveObjet(int from, int to) {
  const int n = Count();
  if (from < 0 || from >= n) return;
  to = std::clamp(to, 0, n - 1);
  std::unique_ptr<TzunoCADObj> obj = std::move(objects_[static_cast<size_t>(from)]);
  objects_.erase(objects_.begin() + from);
  objects_.insert(objects_.begin() + to, std::move(obj));
}

int TzunoCADMdl::IndexOf(const TzunoCADObj* obj) const {
  for (size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i].get() == obj) return static_cast<int>(i);
  return -1;
}

void TzunoCADMdl::AnnonceSuppression(TzunoCADObj* obj) {
  if (editor_) editor_->ObjetSupprime(this, obj);
  if (OnObjetSupprime) OnObjetSupprime(obj);
}

void TzunoCADMdl::DeleteObjet(TzunoCADObj* obj) {
  const int i = IndexOf(obj);
  if (i < 0) return;
  AnnonceSuppression(obj);
  objects_.erase(objects_.begin() + i);
}

TzunoCADObj* TzunoCADMdl::CloneObjet(TzunoCADObj* obj) {
  TzunoCADObj* copy = CreateObjet(obj->Name);
  if (!copy) return nullptr;
  copy->SetProperties(obj->GetProperties());
  copy->Face = obj->Face;
  return copy;
}

void TzunoCADMdl::ClearObjets() {
  // Everyone hears of every object while the list is still whole; then they go first to last.
  for (size_t i = 0; i < objects_.size(); ++i) AnnonceSuppression(objects_[i].get());
  for (auto& o : objects_) o.reset();
  objects_.clear();
}

void TzunoCADMdl::DupliquerFace(int from, int to) {
  const size_t count = objects_.size();
  for (size_t i = 0; i < count; ++i) {
    TzunoCADObj* src = objects_[i].get();
    if (src->Face != from) continue;
    if (TzunoCADObj* c = CloneObjet(src)) c->Face = to;
  }
  if (editor_) editor_->ForgetObjects();
}

void TzunoCADMdl::SupprimerFace(int face) {
  for (size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i]->Face == face) AnnonceSuppression(objects_[i].get());
  std::erase_if(objects_, [face](const std::unique_ptr<TzunoCADObj>& o) { return o->Face == face; });
  if (editor_) editor_->ForgetObjects();
}

int TzunoCADMdl::CountFace(int face) const {
  return static_cast<int>(
      std::count_if(objects_.begin(), objects_.end(), [face](const auto& o) { return o->Face == face; }));
}

int TzunoCADMdl::MaxFace() const {
  if (objects_.empty()) return 0;
  int m = objects_.front()->Face;
  for (const auto& o : objects_) m = std::max(m, o->Face);
  return m;
}

int TzunoCADMdl::CountHorsPage(bool recentre) {
  int count = 0;
  for (const auto& o : objects_) {
    if (!o->IsBox()) continue;
    auto* b = static_cast<TzunoCADRect*>(o.get());
    bool inside = false;
    for (int k = 0; k <= 8 && !inside; ++k) {
      const QPointF p = b->HandlePos(k);
      inside = p.x() >= 0 && p.x() <= Large && p.y() >= 0 && p.y() <= Haut;
    }
    if (inside) continue;
    ++count;
    if (recentre) {
      b->x = Large / 2;
      b->y = Haut / 2;
    }
  }
  return count;
}

QString TzunoCADMdl::ResoudreFichier(const QString& fileName) {
  QString n = fileName;
  if (OnCheminFichier) OnCheminFichier(this, n);
  return n;
}

QString TzunoCADMdl::SubstituteFields(TzunoCADObj* sender, const QString& text) {
  // Values are text: what a resolver hands back is never scanned for fields again, so an address
  // such as "Jean <jean@x.fr>" prints whole and a value cannot pull in another record's field.
  constexpr qsizetype kMaxLength = 1 << 20;
  if (!text.contains(QLatin1Char('>'))) return text;
  QString out;
  out.reserve(text.size());
  qsizetype lt = -1;  // where the latest "<" of the source text stands in `out`
  for (const QChar c : text) {
    if (c == QLatin1Char('>') && lt >= 0) {
      const QString field = out.mid(lt + 1).toLower();
      out.truncate(lt);
      lt = -1;
      QString value;
      if (OnChampFusion) OnChampFusion(sender, field, value);
      out += value.left(std::max<qsizetype>(kMaxLength - out.size(), 0));
      continue;
    }
    if (c == QLatin1Char('<')) lt = out.size();
    out += c;
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Mapping

int TzunoCADMdl::MmToPxX(double x) const {
  return static_cast<int>(RoundEven(x * PixelsPerMmX + OriginX));
}
int TzunoCADMdl::MmToPxY(double y) const {
  return static_cast<int>(RoundEven(y * PixelsPerMmY + OriginY));
}

QPoint TzunoCADMdl::MmToPx(QPointF p) const {
  const double t = Rotation * 3.14159265358979323846 / 180.0;
  const double u = p.x() * PixelsPerMmX, v = p.y() * PixelsPerMmY;
  return QPoint(static_cast<int>(RoundEven(u * std::cos(t) - v * std::sin(t) + OriginX)),
                static_cast<int>(RoundEven(u * std::sin(t) + v * std::cos(t) + OriginY)));
}
