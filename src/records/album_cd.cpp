#include "records/album_cd.h"

#include <sys/stat.h>

#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include "shell/language.h"
#include "shell/textfile.h"
#include "shell/user_dialogs.h"

namespace {

TzunoAlbumCD* g_albums = nullptr;

bool IsHeader(const QString& line) {
  const QStringView t = QStringView(line).trimmed();
  return t.startsWith(QLatin1Char('['));
}

// Key and value of a "key=value" line, both trimmed; false without "=".
bool SplitKeyValue(const QString& line, QStringView* key, QStringView* value) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return false;
  *key = QStringView(line).left(eq).trimmed();
  *value = QStringView(line).mid(eq + 1).trimmed();
  return true;
}

// A value goes on one line of the file whatever it holds.
QString OneLine(QString text) {
  for (QChar& c : text)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return text;
}

// The lines of the file's bytes: a byte-order mark means UTF-8; without one the file is
// Windows-1252, unless it is valid UTF-8 holding non-ASCII characters (a file edited by hand in a
// UTF-8 editor), which would otherwise turn every accented letter into two.
bool LooksUtf8(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return false;
  bool ascii = true;
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return false;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  return !utf8.hasError();
}

void DecodeAlbumFile(const QByteArray& bytes, QStringList& lines) {
  DecodeTextLines(LooksUtf8(bytes) ? QByteArray("\xEF\xBB\xBF") + bytes : bytes, lines);
}

const char* const kGenres[] = {"Blues",
                               "Classic Rock",
                               "Country",
                               "Dance",
                               "Disco",
                               "Funk",
                               "Grunge",
                               "Hip-Hop",
                               "Jazz",
                               "Metal",
                               "New Age",
                               "Oldies",
                               "Other",
                               "Pop",
                               "R&B",
                               "Rap",
                               "Reggae",
                               "Rock",
                               "Techno",
                               "Industrial",
                               "Alternative",
                               "Ska",
                               "Death Metal",
                               "Pranks",
                               "Soundtrack",
                               "Euro-Techno",
                               "Ambient",
                               "Trip-Hop",
                               "Vocal",
                               "Jazz+Funk",
                               "Fusion",
                               "Trance",
                               "Classical",
                               "Instrumental",
                               "Acid",
                               "House",
                               "Game",
                               "Sound Clip",
                               "Gospel",
                               "Noise",
                               "AlternRock",
                               "Bass",
                               "Soul",
                               "Punk",
                               "Space",
                               "Meditative",
                               "Instrumental Pop",
                               "Instrumental Rock",
                               "Ethnic",
                               "Gothic",
                               "Darkwave",
                               "Techno-Industrial",
                               "Electronic",
                               "Pop-Folk",
                               "Eurodance",
                               "Dream",
                               "Southern Rock",
                               "Comedy",
                               "Cult",
                               "Gangsta",
                               "Top 40",
                               "Christian Rap",
                               "Pop/Funk",
                               "Jungle",
                               "Native American",
                               "Cabaret",
                               "New Wave",
                               "Psychedelic",
                               "Rave",
                               "Showtunes",
                               "Trailer",
                               "Lo-Fi",
                               "Tribal",
                               "Acid Punk",
                               "Acid Jazz",
                               "Polka",
                               "Retro",
                               "Musical",
                               "Rock & Roll",
                               "Hard Rock",
                               "Folk",
                               "Folk/Rock",
                               "National Folk",
                               "Swing",
                               "Bebob",
                               "Latin",
                               "Revival",
                               "Celtic",
                               "Bluegrass",
                               "Avantgarde",
                               "Gothic Rock",
                               "Progressive Rock",
                               "Psychedelic Rock",
                               "Symphonic Rock",
                               "Slow Rock",
                               "Big Band",
                               "Chorus",
                               "Easy Listening",
                               "Acoustic",
                               "Humour",
                               "Speech",
                               "Chanson",
                               "Opera",
                               "Chamber Music",
                               "Sonata",
                               "Symphony",
                               "Booty Bass",
                               "Primus",
                               "Porn Groove",
                               "Satire",
                               "Slow Jam",
                               "Club",
                               "Tango",
                               "Samba",
                               "Folklore"};
static_assert(std::size(kGenres) == 115);

}  // namespace

TzunoAlbumCD* AlbumCD() {
  return g_albums;
}

void SetAlbumCD(TzunoAlbumCD* albums) {
  g_albums = albums;
}

QString JoinTitres(const QStringList& titres) {
  QString out;
  for (const QString& line : titres) {
    const QString t = OneLine(line).trimmed();
    if (!t.isEmpty()) out += t + QLatin1Char('|');
  }
  return out;
}

QStringList SplitTitres(const QString& titres) {
  QStringList parts = titres.split(QLatin1Char('|'));
  if (!parts.isEmpty() && parts.back().isEmpty()) parts.removeLast();
  return parts;
}

void TzunoAlbumCD::ChargeCles(bool report) {
  // The language file's entries carry the default names.
  static const char* const kEntries[kAlbumKeyCount] = {"cdArtiste", "cdAlbum", "cdAnnée", "cdGenre",
                                                       "cdTitres"};
  for (int k = 0; k < kAlbumKeyCount; ++k) {
    QString& key = Cles[size_t(k)];
    const QString name = QString::fromUtf8(kEntries[k]);
    QString entry = MLText(name).trimmed();
    if (entry.startsWith(QLatin1Char('<'))) entry = entry.mid(1, entry.size() - 2);
    if (entry.isEmpty() && report)
      AskUser(QStringLiteral("MLS('") + name + QStringLiteral("')"), akWarning, abOK);
    key = entry;
  }
}

bool TzunoAlbumCD::Load() {
  struct stat st;
  QString source = FileName;
  bool exists = ::stat(QFile::encodeName(source).constData(), &st) == 0;
  if (!exists && !InstalledFileName.isEmpty()) {
    source = InstalledFileName;
    exists = ::stat(QFile::encodeName(source).constData(), &st) == 0;
  }
  if (source != loadedName_) size_ = -2;
  const int64_t size = exists ? int64_t(st.st_size) : -1;
  const int64_t stamp = exists ? int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : 0;
  const uint64_t inode = exists ? uint64_t(st.st_ino) : 0;
  if (size == size_ && stamp == stampNs_ && inode == inode_) return readable_;
  loadedName_ = source;
  size_ = size;
  stampNs_ = stamp;
  inode_ = inode;
  preamble_.clear();
  sections_.clear();
  readable_ = true;
  error_.clear();
  if (!exists) return true;
  auto fail = [this](const QString& why) {
    readable_ = false;
    error_ = why;
    return false;
  };
  if (!S_ISREG(st.st_mode)) return fail(QStringLiteral("not a file"));
  if (size > kMaxFileSize) return fail(QStringLiteral("the file is too large"));
  QFile file(source);
  if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  if (bytes.size() > kMaxFileSize) return fail(QStringLiteral("the file is too large"));
  QStringList lines;
  DecodeAlbumFile(bytes, lines);
  for (QString& line : lines) {
    if (IsHeader(line))
      sections_.push_back({std::move(line), {}});
    else if (sections_.empty())
      preamble_.append(std::move(line));
    else
      sections_.back().lines.append(std::move(line));
  }
  return true;
}

bool TzunoAlbumCD::Lisible() {
  return Load();
}

QString TzunoAlbumCD::Erreur() {
  Load();
  return error_;
}

QStringList TzunoAlbumCD::FileLines() const {
  QStringList out = preamble_;
  for (const Section& s : sections_) {
    out.append(s.header);
    out.append(s.lines);
  }
  return out;
}

bool TzunoAlbumCD::Save(const QStringList& lines) {
  size_ = -2;  // read again at the next access, whatever happened
  if (!WriteTextFile(FileName, lines)) return false;
  // Windows-1252 bytes that happen to read as UTF-8 ("Ã©") would come back as other text: such a
  // file is written as UTF-8 with its mark instead.
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly)) return true;
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  file.close();
  if (!LooksUtf8(bytes)) return true;
  return WriteFileAtomically(
      FileName, QByteArray("\xEF\xBB\xBF") + Decode1252(bytes.constData(), bytes.size()).toUtf8());
}

QString TzunoAlbumCD::KeyValue(const QStringList& lines, const QString& name, bool* found) {
  for (const QString& line : lines) {
    QStringView key, value;
    if (SplitKeyValue(line, &key, &value) && key.compare(name, Qt::CaseInsensitive) == 0) {
      if (found) *found = true;
      return value.toString();
    }
  }
  if (found) *found = false;
  return QString();
}

QString TzunoAlbumCD::Valeur(int index, const QString& name) {
  if (!Load() || index < 0 || index >= int(sections_.size()) || name.isEmpty()) return QString();
  return KeyValue(sections_[size_t(index)].lines, name);
}

QString TzunoAlbumCD::GetValeur(const QString& name) {
  return Valeur(Courant, name);
}

int TzunoAlbumCD::Count() {
  return Load() ? int(sections_.size()) : 0;
}

int TzunoAlbumCD::AjouteAlbum(const QStringList& lines) {
  if (!Load()) return -1;
  const int index = int(sections_.size());
  QStringList out = FileLines();
  out.append(QString());
  out.append(QLatin1Char('[') + QString::number(index) + QLatin1Char(']'));
  for (const QString& line : lines) {
    const QString l = OneLine(line);
    // Only key=value lines: anything else could open a section of its own.
    if (l.contains(QLatin1Char('=')) && !IsHeader(l)) out.append(l);
  }
  return Save(out) ? index : -1;
}

bool TzunoAlbumCD::EcritAlbum(int index, const QString& artiste, const QStringList& titres,
                              const QString& genre, const QString& annee, const QString& album) {
  if (!Load() || index < 0 || index >= int(sections_.size())) return false;
  const QString values[kAlbumKeyCount] = {OneLine(artiste).trimmed(), OneLine(album).trimmed(),
                                          OneLine(annee).trimmed(), OneLine(genre).trimmed(),
                                          JoinTitres(titres)};
  QStringList& lines = sections_[size_t(index)].lines;
  // New keys go after the section's last non-empty line, so the blank line before the next
  // section stays where it is.
  qsizetype end = lines.size();
  while (end > 0 && lines[end - 1].trimmed().isEmpty()) --end;
  for (int k = 0; k < kAlbumKeyCount; ++k) {
    const QString& name = Cles[size_t(k)];
    if (name.isEmpty()) continue;
    const QString line = name + QLatin1Char('=') + values[k];
    bool replaced = false;
    for (QString& l : lines) {
      QStringView key, value;
      if (SplitKeyValue(l, &key, &value) && key.compare(name, Qt::CaseInsensitive) == 0) {
        l = line;
        replaced = true;
        break;
      }
    }
    if (!replaced) lines.insert(end++, line);
  }
  return Save(FileLines());
}

bool TzunoAlbumCD::SupprimeAlbum(int index) {
  if (!Load() || size_ < 0 || index < 0 || index >= int(sections_.size())) return false;
  QStringList out = preamble_;
  int n = 0;
  for (int i = 0; i < int(sections_.size()); ++i) {
    if (i == index) continue;
    QStringList lines = sections_[size_t(i)].lines;
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
    if (n > 0 || (!out.isEmpty() && !out.back().trimmed().isEmpty())) out.append(QString());
    out.append(QLatin1Char('[') + QString::number(n++) + QLatin1Char(']'));
    out.append(lines);
  }
  return Save(out);
}

void TzunoAlbumCD::ListeAlbums(QStringList& list) {
  list.clear();
  if (!Load()) return;
  for (const Section& s : sections_)
    list.append(KeyValue(s.lines, Cle(akArtiste)) + QStringLiteral(" - ") + KeyValue(s.lines, Cle(akAlbum)));
}

QStringList TzunoAlbumCD::AlbumLines(const QString& artiste, const QString& album, const QString& annee,
                                     const QString& genre, const QStringList& titres) const {
  return {Cle(akArtiste) + QLatin1Char('=') + OneLine(artiste),
          Cle(akAlbum) + QLatin1Char('=') + OneLine(album), Cle(akAnnee) + QLatin1Char('=') + OneLine(annee),
          Cle(akGenre) + QLatin1Char('=') + OneLine(genre),
          Cle(akTitres) + QLatin1Char('=') + JoinTitres(titres)};
}

void TzunoAlbumCD::DepuisEntree(QStringList& lines) const {
  // The first value of each key; entry keys are upper case.
  QHash<QString, QString> values;
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.startsWith(QLatin1Char('#'))) continue;
    const QString key = line.left(eq).trimmed();
    if (!values.contains(key)) values.insert(key, line.mid(eq + 1));
  }
  const QString title = values.value(QStringLiteral("DTITLE"));
  const qsizetype slash = title.indexOf(QLatin1Char('/'));
  const QString artist = slash < 0 ? QString() : title.left(slash).trimmed();
  const QString album = (slash < 0 ? title : title.mid(slash + 1)).trimmed();
  QString tracks;
  for (int n = 0;; ++n) {
    const QString t = values.value(QStringLiteral("TTITLE") + QString::number(n));
    if (t.isEmpty()) break;
    tracks += OneLine(t) + QLatin1Char('|');
  }
  lines = {Cle(akArtiste) + QLatin1Char('=') + OneLine(artist),
           Cle(akAlbum) + QLatin1Char('=') + OneLine(album),
           Cle(akAnnee) + QLatin1Char('=') + OneLine(values.value(QStringLiteral("DYEAR"))),
           Cle(akGenre) + QLatin1Char('=') + OneLine(values.value(QStringLiteral("DGENRE"))),
           Cle(akTitres) + QLatin1Char('=') + tracks};
}

// ---------------------------------------------------------------------------------------------

QString GenreV1(int code) {
  if (code < 0 || code >= int(std::size(kGenres))) return QStringLiteral("Other");
  return QString::fromLatin1(kGenres[code]);
}

bool LitTagMP3(const QString& fileName, TMP3TagV1& tag) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 128) return false;
  if (!file.seek(file.size() - 128)) return false;
  const QByteArray block = file.read(128);
  if (block.size() != 128 || !block.startsWith("TAG")) return false;
  auto field = [&block](int from, int width) {
    const char* p = block.constData() + from;
    int n = 0;
    while (n < width && p[n] != 0) ++n;
    return Decode1252(p, n).trimmed();
  };
  tag.Title = field(3, 30);
  tag.Artist = field(33, 30);
  tag.Album = field(63, 30);
  tag.Year = field(93, 4);
  tag.Genre = GenreV1(static_cast<unsigned char>(block[127]));
  return true;
}
