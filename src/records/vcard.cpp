#include "records/vcard.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QStringDecoder>
#include <optional>

#include "records/fiches.h"
#include "render/codecs.h"
#include "shell/textfile.h"

namespace {

// The card keys, in the order of the address-book form.
const char* const kKeys[] = {"Civilité", "Nom",         "Prénom",     "Adresse",  "Code",     "Ville",
                             "Pays",     "Tél",         "Portable",   "Fax",      "Email",    "Web",
                             "Société",  "Fonction",    "AdressePRO", "CodePRO",  "VillePRO", "PaysPRO",
                             "TélPRO",   "PortablePRO", "FaxPRO",     "EmailPRO", "WebPRO"};

struct Property {
  QByteArray name;   // upper case, group removed
  QByteArray value;  // raw bytes
  QList<QByteArray> types;
  QByteArray encoding, charset, valueKind;
  bool pref = false;
  bool Has(const char* type) const { return types.contains(QByteArray(type)); }
};

bool NameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.';
}

// Whether a physical line starts a property ("NAME;PARAMS:" or "NAME:"), rather than continuing one
// whose folding an exporter broke.
bool StartsProperty(const QByteArray& line) {
  if (line.isEmpty() || !((line[0] >= 'A' && line[0] <= 'Z') || (line[0] >= 'a' && line[0] <= 'z')))
    return false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ':' || c == ';') return c == ';' ? line.indexOf(':', i) > 0 : true;
    if (!NameChar(c)) return false;
  }
  return false;
}

bool IsQuotedPrintable(const QByteArray& line) {
  const qsizetype colon = line.indexOf(':');
  return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Splits at `sep` outside double quotes.
QList<QByteArray> SplitOutsideQuotes(const QByteArray& s, char sep) {
  QList<QByteArray> out;
  QByteArray cur;
  bool quoted = false;
  for (char c : s) {
    if (c == '"') quoted = !quoted;
    if (c == sep && !quoted) {
      out << cur;
      cur.clear();
    } else {
      cur += c;
    }
  }
  out << cur;
  return out;
}

QByteArray Unquote(QByteArray s) {
  s = s.trimmed();
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.mid(1, s.size() - 2);
  return s;
}

bool ParseProperty(const QByteArray& line, Property& p) {
  // The value starts at the first ":" outside a quoted parameter.
  qsizetype colon = -1;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon <= 0) return false;
  const QList<QByteArray> head = SplitOutsideQuotes(line.left(colon), ';');
  p.name = head.front().trimmed().toUpper();
  if (const qsizetype dot = p.name.lastIndexOf('.'); dot >= 0) p.name = p.name.mid(dot + 1);
  p.value = line.mid(colon + 1);
  for (qsizetype i = 1; i < head.size(); ++i) {
    const QByteArray& param = head[i];
    const qsizetype eq = param.indexOf('=');
    const QByteArray key = (eq < 0 ? QByteArray("TYPE") : param.left(eq).trimmed().toUpper());
    QByteArray value = Unquote(eq < 0 ? param : param.mid(eq + 1));
    if (eq < 0) {
      // vCard 2.1 names encodings and types bare.
      const QByteArray bare = value.toUpper();
      if (bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "B" || bare == "8BIT" || bare == "7BIT") {
        p.encoding = bare;
        continue;
      }
    }
    if (key == "TYPE") {
      for (const QByteArray& t : value.split(',')) {
        const QByteArray type = Unquote(t).toLower();
        if (type == "pref") p.pref = true;
        if (!type.isEmpty()) p.types << type;
      }
    } else if (key == "ENCODING") {
      p.encoding = value.toUpper();
    } else if (key == "CHARSET") {
      p.charset = value;
    } else if (key == "VALUE") {
      p.valueKind = value.toLower();
    } else if (key == "PREF") {
      p.pref = true;
    }
  }
  return true;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

QByteArray DecodeQuotedPrintable(const QByteArray& s) {
  QByteArray out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == '=' && i + 2 < s.size() && Hex(s[i + 1]) >= 0 && Hex(s[i + 2]) >= 0) {
      out += char(Hex(s[i + 1]) * 16 + Hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// UTF-8 unless the property names another character set; bytes that are not UTF-8 are read as
// Windows-1252, as older exporters wrote them.
QString DecodeText(const Property& p) {
  const QByteArray bytes = p.encoding == "QUOTED-PRINTABLE" ? DecodeQuotedPrintable(p.value) : p.value;
  if (!p.charset.isEmpty() && p.charset.toUpper() != "UTF-8") {
    QStringDecoder named(p.charset.constData());
    if (named.isValid()) {
      QString text = named.decode(bytes);
      if (!named.hasError()) return text;
    }
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return Decode1252(bytes.constData(), bytes.size());
}

// The components of a structured value (split at ";" that is not escaped), each unescaped.
QStringList Components(const QString& value) {
  QStringList out;
  QString cur;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == QLatin1Char('\\') && i + 1 < value.size()) {
      const QChar n = value[++i];
      if (n == QLatin1Char('n') || n == QLatin1Char('N'))
        cur += QLatin1Char('\n');
      else if (n == QLatin1Char(',') || n == QLatin1Char(';') || n == QLatin1Char('\\') ||
               n == QLatin1Char(':'))
        cur += n;
      else
        cur += c, cur += n;
    } else if (c == QLatin1Char(';')) {
      out << cur;
      cur.clear();
    } else {
      cur += c;
    }
  }
  out << cur;
  return out;
}

// A value as one card line: no control characters; line breaks become `lineBreak`.
QString CardValue(const QString& text, const QString& lineBreak) {
  QStringList lines;
  for (QString line : text.split(QLatin1Char('\n'))) {
    for (QChar& c : line)
      if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char(' ');
    line = line.simplified();
    if (!line.isEmpty()) lines << line;
  }
  return lines.join(lineBreak).left(TVCardLimits::kMaxValueChars);
}

QString Part(const QStringList& c, int i) {
  return i < c.size() ? c[i].trimmed() : QString();
}

class TBuilder {
 public:
  // The first value of a key stays, unless a later one is the preferred one.
  void Set(const QString& key, const QString& value, bool pref = false) {
    if (value.isEmpty()) return;
    auto it = values_.find(key);
    if (it == values_.end())
      values_.insert(key, {value, pref});
    else if (pref && !it->second)
      *it = {value, true};
  }
  bool Has(const QString& key) const { return values_.contains(key); }
  QString Get(const QString& key) const { return values_.value(key).first; }

  void Add(const Property& p, TVCardImport& import) {
    const bool work = p.Has("work");
    const QString pro = work ? QStringLiteral("PRO") : QString();
    if (p.name == "PHOTO") return AddPhoto(p, import);
    const QString text = DecodeText(p);
    if (p.name == "N") {
      const QStringList c = Components(text);
      Set(QStringLiteral("Nom"), CardValue(Part(c, 0), QStringLiteral(" ")));
      QString given = Part(c, 1);
      if (!Part(c, 2).isEmpty()) given += QLatin1Char(' ') + Part(c, 2);
      Set(QStringLiteral("Prénom"), CardValue(given, QStringLiteral(" ")));
      Set(QStringLiteral("Civilité"), CardValue(Part(c, 3), QStringLiteral(" ")));
    } else if (p.name == "FN") {
      fn_ = CardValue(Components(text).join(QLatin1Char(';')), QStringLiteral(" "));
    } else if (p.name == "ORG") {
      QStringList parts;
      for (const QString& s : Components(text))
        if (!s.trimmed().isEmpty()) parts << s.trimmed();
      Set(QStringLiteral("Société"), CardValue(parts.join(QStringLiteral(", ")), QStringLiteral(" ")));
    } else if (p.name == "TITLE" || p.name == "ROLE") {
      Set(QStringLiteral("Fonction"),
          CardValue(Components(text).join(QLatin1Char(';')), QStringLiteral(" ")));
    } else if (p.name == "ADR") {
      // Post office box, extended address, street, locality, region, postal code, country.
      const QStringList c = Components(text);
      QStringList lines;
      for (int i : {0, 1, 2})
        if (!Part(c, i).isEmpty()) lines << Part(c, i);
      const QString key = QStringLiteral("Adresse") + pro;
      if (adrSeen_[work] && !(p.pref && !prefAdr_[work])) return;
      adrSeen_[work] = true;
      prefAdr_[work] = p.pref;
      // One address of a kind: its parts replace those of an address it is preferred to.
      for (const QString& k :
           {key, QStringLiteral("Code") + pro, QStringLiteral("Ville") + pro, QStringLiteral("Pays") + pro})
        values_.remove(k);
      Set(key, CardValue(lines.join(QLatin1Char('\n')), QStringLiteral("|")));
      Set(QStringLiteral("Code") + pro, CardValue(Part(c, 5), QStringLiteral(" ")));
      QString town = Part(c, 3);
      if (!Part(c, 4).isEmpty()) town += (town.isEmpty() ? QString() : QStringLiteral(", ")) + Part(c, 4);
      Set(QStringLiteral("Ville") + pro, CardValue(town, QStringLiteral(" ")));
      Set(QStringLiteral("Pays") + pro, CardValue(Part(c, 6), QStringLiteral(" ")));
    } else if (p.name == "TEL") {
      QString value = CardValue(Components(text).join(QLatin1Char(';')), QStringLiteral(" "));
      if (value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) value = value.mid(4);
      const QString kind = p.Has("fax")                         ? QStringLiteral("Fax")
                           : (p.Has("cell") || p.Has("mobile")) ? QStringLiteral("Portable")
                                                                : QStringLiteral("Tél");
      Set(kind + pro, value, p.pref);
    } else if (p.name == "EMAIL") {
      QString value = CardValue(text, QStringLiteral(" "));
      if (value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) value = value.mid(7);
      Set(QStringLiteral("Email") + pro, value, p.pref);
    } else if (p.name == "URL") {
      Set(QStringLiteral("Web") + pro,
          CardValue(Components(text).join(QLatin1Char(';')), QStringLiteral(" ")), p.pref);
    }
  }

  // Finishes the contact; false when it has no name of any kind.
  bool Finish(TVCardContact& out) {
    if (!Has(QStringLiteral("Nom")) && !Has(QStringLiteral("Prénom")) && !fn_.isEmpty()) {
      // Only the formatted name: its last word is taken for the surname.
      const qsizetype blank = fn_.lastIndexOf(QLatin1Char(' '));
      if (blank < 0) {
        Set(QStringLiteral("Nom"), fn_);
      } else {
        Set(QStringLiteral("Nom"), fn_.mid(blank + 1));
        Set(QStringLiteral("Prénom"), fn_.left(blank));
      }
    }
    if (!Has(QStringLiteral("Nom")) && !Has(QStringLiteral("Prénom")))
      Set(QStringLiteral("Nom"), Get(QStringLiteral("Société")));
    if (!Has(QStringLiteral("Nom")) && !Has(QStringLiteral("Prénom"))) return false;
    for (const char* key : kKeys) {
      const QString k = QString::fromUtf8(key);
      if (Has(k)) out.Lines << k + QLatin1Char('=') + Get(k);
    }
    out.Photo = photo_;
    return true;
  }

 private:
  void AddPhoto(const Property& p, TVCardImport& import) {
    if (!photo_.isEmpty() && !(p.pref && !prefPhoto_)) return;
    QByteArray data = p.value.trimmed();
    QByteArray encoded;
    if (data.startsWith("data:")) {
      const qsizetype comma = data.indexOf(',');
      if (comma < 0 || !data.left(comma).toLower().contains(";base64")) {
        ++import.PhotosDropped;
        return;
      }
      encoded = data.mid(comma + 1);
    } else if (p.encoding == "B" || p.encoding == "BASE64") {
      encoded = data;
    } else {
      // A link to a picture elsewhere (http:, file: …) is never fetched.
      ++import.PhotosDropped;
      return;
    }
    encoded.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    if (encoded.size() / 4 * 3 > TVCardLimits::kMaxPhotoBytes) {
      ++import.PhotosDropped;
      return;
    }
    auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty()) {
      ++import.PhotosDropped;
      return;
    }
    photo_ = std::move(decoded.decoded);
    prefPhoto_ = p.pref;
  }

  QHash<QString, std::pair<QString, bool>> values_;
  QString fn_;
  QByteArray photo_;
  bool prefPhoto_ = false;
  bool adrSeen_[2] = {false, false}, prefAdr_[2] = {false, false};
};

}  // namespace

QString TVCardContact::Value(const QString& key) const {
  const QString prefix = key + QLatin1Char('=');
  for (const QString& line : Lines)
    if (line.startsWith(prefix)) return line.mid(prefix.size());
  return {};
}

TVCardImport ReadVCards(const QByteArray& input, int maxContacts) {
  TVCardImport out;
  QByteArray bytes = input;
  if (bytes.size() > TVCardLimits::kMaxFileBytes) {
    bytes.truncate(TVCardLimits::kMaxFileBytes);
    out.Truncated = true;
  }
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);

  std::optional<TBuilder> card;
  QByteArray logical;
  bool qp = false;
  auto finish = [&] {
    if (!card) return;
    TVCardContact contact;
    if (card->Finish(contact)) {
      if (int(out.Contacts.size()) < maxContacts)
        out.Contacts.push_back(std::move(contact));
      else
        ++out.Skipped, out.Truncated = true;
    } else {
      ++out.Skipped;
    }
    card.reset();
  };
  auto flush = [&] {
    if (logical.isEmpty()) return;
    Property p;
    if (ParseProperty(logical, p)) {
      if (p.name == "BEGIN" && p.value.trimmed().toUpper() == "VCARD") {
        // A card that never ended is finished by the next one.
        finish();
        card.emplace();
      } else if (p.name == "END" && p.value.trimmed().toUpper() == "VCARD") {
        finish();
      } else if (card) {
        card->Add(p, out);
      }
    }
    logical.clear();
  };

  qsizetype pos = 0;
  while (pos < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', pos);
    if (end < 0) end = bytes.size();
    QByteArray line = bytes.mid(pos, end - pos);
    pos = end + 1;
    if (line.endsWith('\r')) line.chop(1);
    if (!logical.isEmpty() && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
      logical += line.mid(1);
    } else if (!logical.isEmpty() && qp && logical.endsWith('=')) {
      // A quoted-printable soft line break.
      logical.chop(1);
      logical += line;
    } else if (!logical.isEmpty() && card && !line.isEmpty() && !StartsProperty(line)) {
      // A fold that lost its leading blank.
      logical += line;
    } else {
      flush();
      logical = line;
      qp = IsQuotedPrintable(line);
    }
  }
  flush();
  finish();
  return out;
}

bool ReadVCardFile(const QString& fileName, TVCardImport& out, QString* error, int maxContacts) {
  out = TVCardImport();
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("cannot be read");
    return false;
  }
  if (file.size() > TVCardLimits::kMaxFileBytes) {
    if (error) *error = QStringLiteral("larger than %1 MB").arg(TVCardLimits::kMaxFileBytes / (1024 * 1024));
    return false;
  }
  out = ReadVCards(file.readAll(), maxContacts);
  return true;
}

bool SaveVCardPhoto(const QByteArray& photo, const QString& bmpFile) {
  QBuffer buffer;
  buffer.setData(photo);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (size.isValid() &&
      (size.width() > TVCardLimits::kMaxPhotoSide || size.height() > TVCardLimits::kMaxPhotoSide))
    reader.setScaledSize(
        size.scaled(TVCardLimits::kMaxPhotoSide, TVCardLimits::kMaxPhotoSide, Qt::KeepAspectRatio));
  QImage image = reader.read();
  if (image.isNull()) return false;
  if (image.width() > TVCardLimits::kMaxPhotoSide || image.height() > TVCardLimits::kMaxPhotoSide)
    image = image.scaled(TVCardLimits::kMaxPhotoSide, TVCardLimits::kMaxPhotoSide, Qt::KeepAspectRatio,
                         Qt::SmoothTransformation);
  // Transparent parts of a picture stand on white, as on the printed card.
  if (image.hasAlphaChannel()) {
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    image = flat;
  }
  const QByteArray bmp = EncodeBmp(image);
  return !bmp.isEmpty() && WriteFileAtomically(bmpFile, bmp);
}

int AjouteContacts(TzunoFiches& fiches, const TVCardImport& import, const QString& userPath, int* photos) {
  int failed = 0;
  const QString nomKey = QStringLiteral("Nom"), prenomKey = QStringLiteral("Prénom");
  std::vector<std::unique_ptr<TzunoFiche>> cards;
  cards.reserve(import.Contacts.size());
  for (const TVCardContact& contact : import.Contacts) {
    auto card = std::make_unique<TzunoFiche>();
    card->SetValue(fiches.CleNom, contact.Value(nomKey));
    card->SetValue(fiches.ClePrenom, contact.Value(prenomKey));
    for (const QString& line : contact.Lines) {
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      const QString key = line.left(eq);
      if (key != nomKey && key != prenomKey) card->SetValue(key, line.mid(eq + 1));
    }
    // A card of the same names that was there before keeps its photo.
    if (!contact.Photo.isEmpty() && !userPath.isEmpty()) {
      QDir().mkpath(userPath);
      const QString file = fiches.PhotoFile(userPath, *card);
      if (!QFileInfo::exists(file) && !SaveVCardPhoto(contact.Photo, file)) ++failed;
    }
    cards.push_back(std::move(card));
  }
  const int added = static_cast<int>(cards.size());
  // Sorted in once, so that an import of thousands takes no longer than reading them.
  fiches.AjouteCartes(std::move(cards));
  if (photos) *photos = failed;
  return added;
}
