#include "shell/settings.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QStandardPaths>
#include <QTime>

#include "shell/card_picture.h"
#include "shell/file_helpers.h"
#include "shell/language.h"
#include "shell/paths.h"
#include "shell/textfile.h"

namespace {

const QString kSoftSection = QStringLiteral("lorvane");
const QString kUserSection = QStringLiteral("User");

TSoft* g_soft = nullptr;

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A folder name from a language message: the number itself comes back when the file lacks it.
QString MessageOr(int number, const QString& fallback) {
  const QString m = MLMessage(number);
  return m == QString::number(number) ? fallback : m;
}

}  // namespace

TSoft* Soft() {
  return g_soft;
}
void SetSoft(TSoft* soft) {
  g_soft = soft;
}

QString ReferenceName(const QString& reference) {
  return reference.section(QLatin1Char('|'), 0, 0);
}

QString ImageFileFor(const QString& base) {
  for (const char* ext : {".jpg", ".jpeg", ".bmp", ".png", ".emf", ".wmf"}) {
    const QString f = ResolvePath(base + QLatin1String(ext));
    if (!f.isEmpty()) return f;
  }
  return QString();
}

TSoft::TSoft(const QString& iniFile, const TSoftOptions& options) : UserIni(QString()), SoftIni(iniFile) {
  SoftIniFile = iniFile;
  Debug = !options.Arguments.isEmpty() && options.Arguments.first() == QLatin1String("debug");
  Societe = ReadSoftString(QStringLiteral("societe"));
  Nom = ReadSoftString(QStringLiteral("nom"));
  Code = ReadSoftString(QStringLiteral("code"));
  Web = ReadSoftString(QStringLiteral("web"));
  ExePath = WithSlash(options.ExePath);
  QString appData = options.AppDataPath;
  if (appData.isEmpty()) appData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  // Without a per-user data folder the settings go under the home folder.
  if (appData.isEmpty()) appData = QDir::homePath();
  UserPath = WithSlash(appData) + Societe + QLatin1Char('/') + Nom + QLatin1Char('/');
  UserIniFile = UserPath + QStringLiteral("User.ini");
  UserIni = TIniFile(UserIniFile);
}

QString TSoft::ReadSoftString(const QString& key) const {
  return SoftIni.ReadString(kSoftSection, key);
}
int TSoft::ReadSoftInteger(const QString& key) const {
  return SoftIni.ReadInteger(kSoftSection, key, -1);
}
bool TSoft::WriteSoftString(const QString& key, const QString& value) {
  return SoftIni.WriteString(kSoftSection, key, value);
}
bool TSoft::SoftFlag(const QString& key) const {
  const QString v = ReadSoftString(key);
  return !v.isEmpty() && v != QLatin1String("0");
}
QString TSoft::ReadUserString(const QString& key) const {
  return UserIni.ReadString(kUserSection, key);
}
bool TSoft::WriteUserString(const QString& key, const QString& value) {
  return UserIni.WriteString(kUserSection, key, value);
}
int TSoft::ReadUserInteger(const QString& key) const {
  return UserIni.ReadInteger(kUserSection, key, -1);
}
bool TSoft::WriteUserInteger(const QString& key, int value) {
  return WriteUserString(key, QString::number(value));
}
bool TSoft::UserFlag(const QString& key) const {
  return !ReadUserString(key).isEmpty();
}
bool TSoft::SetUserFlag(const QString& key, bool on) {
  return on ? WriteUserString(key, QStringLiteral("1")) : UserIni.DeleteKey(kUserSection, key);
}

QString TSoft::ReadSkinValue(const QString& section, const QString& key) const {
  const TIniFile skin(SkinFile);
  const QString v = skin.ReadString(section, key);
  return v.isEmpty() ? skin.ReadString(QStringLiteral("defaut"), key) : v;
}

int TSoft::Language() const {
  bool ok = false;
  const int n = ReadSoftString(QStringLiteral("Langue")).toInt(&ok);
  return ok ? n : 1;
}

void TSoft::InitialisePaths() {
  DocumentsName = MessageOr(10, QStringLiteral("Mes documents"));
  DataPath = ExePath + Code + QLatin1Char('/');
  ModelesPath = DataPath + QStringLiteral("Modeles/");
  ImagesPath = DataPath + QStringLiteral("Images/");
  ClipartsPath = DataPath + QStringLiteral("Cliparts/");
  const QString formes = ReadSoftString(QStringLiteral("path_formes"));
  const QString masques = ReadSoftString(QStringLiteral("path_masques"));
  FormesPath = DataPath + (formes.isEmpty() ? QStringLiteral("Formes") : NormaliseSeparators(formes)) +
               QLatin1Char('/');
  MasquesPath = DataPath + (masques.isEmpty() ? QStringLiteral("Masques") : NormaliseSeparators(masques)) +
                QLatin1Char('/');
  SupportsPath = DataPath + QStringLiteral("Supports/");
  CacheModelesPath = DataPath + QStringLiteral("Cache/Modeles/");
  CacheClipartsPath = DataPath + QStringLiteral("Cache/Cliparts/");
  CacheImagesPath = DataPath + QStringLiteral("Cache/Images/");
  DocumentsPath = UserPath + DocumentsName + QLatin1Char('/');
  UserImagesPath = UserPath + MLMessage(11) + QLatin1Char('/');
  WizardImagesPath = UserPath + MLMessage(14) + QLatin1Char('/');
  VariantesPath = DocumentsPath + MessageOr(13, QString::fromUtf8("Variantes de modèles")) + QLatin1Char('/');
  ImagesInternetPath = UserPath + QStringLiteral("Images Internet/");
  GabaritsPath = DataPath + QStringLiteral("Gabarits/");
  GabaritsAudioPath = DataPath + QStringLiteral("Gabarits/Audio/");
  GabaritsDataPath = DataPath + QStringLiteral("Gabarits/Data/");
  GabaritsViergePath = DataPath + QStringLiteral("Gabarits/Vierge/");
  const QString lang = QString::number(Language());
  PapiersDimFile = UserPath + QStringLiteral("papiers_dim.csv");
  PapiersGabFile = UserPath + QStringLiteral("papiers_gab.csv");
  FichesFile = UserPath + QStringLiteral("fiches_%1.def").arg(lang);
  FormatsFile = UserPath + QStringLiteral("formats.csv");
  MailingFile = UserPath + QStringLiteral("mailing_%1.def").arg(lang);
  TextesFile = UserPath + QStringLiteral("textes_%1.def").arg(lang);
  AlbumCDFile = UserPath + QStringLiteral("albumcd_%1.def").arg(lang);
  SupportsFile = DataPath + QStringLiteral("Supports.csv");

  ImageFolders.clear();
  AddFolderTree(ImageFolders, DataPath + QStringLiteral("Prioritaire/"), true);
  AddFolderTree(ImageFolders, ImagesPath, true);
  AddFolderTree(ImageFolders, UserImagesPath, true);
  AddFolderTree(ImageFolders, FormesPath, true);
  if (MasquesPath != FormesPath) AddFolderTree(ImageFolders, MasquesPath, true);
  AddFolderTree(ImageFolders, SupportsPath, true);
  if (SoftFlag(QStringLiteral("mode_perforatrice")))
    AddFolderTree(ImageFolders,
                  DataPath + NormaliseSeparators(ReadSoftString(QStringLiteral("path_perforatrice"))), true);
  if (SoftFlag(QStringLiteral("mode_tampon")))
    AddFolderTree(ImageFolders, DataPath + NormaliseSeparators(ReadSoftString(QStringLiteral("path_tampon"))),
                  true);
  AddFolderTree(ImageFolders, WizardImagesPath, false);
  for (const char* step : {"fond/", "photo/", "accessoire/"})
    AddFolderTree(ImageFolders, WizardImagesPath + QLatin1String(step), false);

  SkinPath = DataPath + QStringLiteral("Skin/") + ReadSoftString(QStringLiteral("skin")) + QLatin1Char('/');
  SkinFile = SkinPath + QStringLiteral("skin.txt");
  CustomColors.clear();
  const QString colors = UserPath + QStringLiteral("CustomColors.ini");
  if (QFileInfo::exists(colors)) ReadTextFile(colors, CustomColors);
}

QString TSoft::Digest(const QString& path) {
  // Documents drawn for previews resolve their pictures on worker threads.
  static QMutex lock;
  QMutexLocker locker(&lock);
  const QFileInfo info(path);
  auto it = digests_.constFind(path);
  // A file changed within the last moments may change again without its time moving.
  const bool settled = info.lastModified().msecsTo(QDateTime::currentDateTime()) > 2000;
  if (settled && it != digests_.constEnd() && it->size == info.size() && it->stamp == info.lastModified())
    return it->digest;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  QCryptographicHash md5(QCryptographicHash::Md5);
  if (!md5.addData(&f)) return QString();
  const QString digest = QString::fromLatin1(md5.result().toHex());
  digests_.insert(path, DigestEntry{info.size(), info.lastModified(), digest});
  return digest;
}

QString TSoft::FindImageFile(const QString& reference) {
  const QString ref = NormaliseSeparators(reference);
  QString name = ref.mid(ref.lastIndexOf(QLatin1Char('/')) + 1);
  QString checksum;
  if (const qsizetype bar = name.indexOf(QLatin1Char('|')); bar >= 0) {
    checksum = name.mid(bar + 1);
    name.truncate(bar);
  }
  if (name.isEmpty()) return QString();
  const bool online = SoftFlag(QStringLiteral("internet_image")) && !checksum.isEmpty();
  const QString ext =
      QFileInfo(name).suffix().isEmpty() ? QString() : QLatin1Char('.') + QFileInfo(name).suffix();
  if (online) {
    const QString cached = FindInFolder(ImagesInternetPath, checksum + ext);
    if (!cached.isEmpty()) return ImagesInternetPath + cached;
  }
  for (const QString& folder : ImageFolders) {
    const QString real = FindInFolder(folder, name);
    if (real.isEmpty()) continue;
    const QString path = folder + real;
    if (!QFileInfo(path).isFile()) continue;
    const QString digest = Digest(path);
    return digest.isEmpty() ? path : path + QLatin1Char('|') + digest;
  }
  if (online && FetchImage) {
    QDir().mkpath(ImagesInternetPath);
    const QString fetched = FetchImage(checksum, ImagesInternetPath);
    if (!fetched.isEmpty() && QFileInfo::exists(fetched)) return fetched + QLatin1Char('|') + checksum;
  }
  return QString();
}

QString TSoft::FindVariantFile(const QString& reference) {
  const QString ref = NormaliseSeparators(reference);
  if (ref.isEmpty()) return QString();
  const QString cached = ResolvePath(DataPath + QStringLiteral("Cache/Variantes/") + ref);
  if (!cached.isEmpty()) return cached;
  for (const QString& folder : ImageFolders) {
    const QString found = ResolvePath(folder + ref);
    if (!found.isEmpty()) return found;
  }
  return QString();
}

QString TSoft::FieldValue(const QString& name) {
  QString value;
  const bool cards = Fields && Fields->HasCards();
  auto bracketed = [](const QString& key) {
    const QString t = MLText(key).trimmed();
    return t.size() >= 2 ? t.mid(1, t.size() - 2).toLower() : QString();
  };
  if (name == QLatin1String("logo") || name == QLatin1String("photo")) {
    if (cards)
      value = UserPath +
              CardPictureName(Fields->CardField(QStringLiteral("NomPre")), name == QLatin1String("logo"));
  } else if (!name.isEmpty() && name == bracketed(QStringLiteral("ChampDef1"))) {
    value = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
  } else if (!name.isEmpty() && name == bracketed(QStringLiteral("ChampDef2"))) {
    value = QDate::currentDate().toString(QStringLiteral("yyyy"));
  } else if (!name.isEmpty() && name == bracketed(QStringLiteral("ChampDef3"))) {
    value = QTime::currentTime().toString(QStringLiteral("hh:mm"));
  } else if (name.startsWith(QLatin1String("cd"))) {
    if (Fields) value = Fields->AlbumField(name);
  } else if (cards) {
    value = Fields->CardField(name);
  }
  if (Debug) {
    if (name == QLatin1String("texte1"))
      value = QStringLiteral("JOYEUX CARNAVAL !");
    else if (name == QLatin1String("texte2"))
      value = QString::fromUtf8(
          "Voici venu la saison des masques et des cotillons.|Bonne fete à tous et à toutes.|Ne buvez pas "
          "trop !");
    else if (name == QLatin1String("texte3"))
      value = QString::fromUtf8("Je vous prie d'agreer|Monsieur|Mes sincères salutations.");
  }
  return value;
}

void TSoft::CreateUserFolders() {
  QDir().mkpath(DocumentsPath);
  QDir().mkpath(UserImagesPath);
  QDir().mkpath(WizardImagesPath);
  if (SoftFlag(QStringLiteral("panel_variantes"))) QDir().mkpath(VariantesPath);
}

namespace {

// Table names compare without regard to the case of ASCII letters.
QString RowKey(QStringView name) {
  QString k = name.toString();
  for (QChar& c : k)
    if (c.unicode() < 128) c = c.toLower();
  return k;
}

QString FirstField(const QString& line) {
  return RowKey(QStringView(line).left(line.indexOf(QLatin1Char(';'))));
}

// Header-first tables: the installed rows in their order, each replaced by the user's row of the same
// name (first column), then the user's own rows. A user's row written under another header is
// moved into the installed columns by column name; a column the user's copy lacks takes the
// installed row's value.
QStringList MergeTableRows(const QStringList& installed, const QStringList& user) {
  if (installed.isEmpty() || user.isEmpty()) return installed.isEmpty() ? user : installed;
  auto columns = [](const QString& header) {
    QStringList c = header.split(QLatin1Char(';'));
    while (!c.isEmpty() && c.last().isEmpty()) c.removeLast();
    for (QString& name : c) name = RowKey(name);
    return c;
  };
  const QStringList installedColumns = columns(installed[0]), userColumns = columns(user[0]);
  auto adapt = [&](const QString& userLine, const QString& installedLine) {
    if (userColumns == installedColumns) return userLine;
    const QStringList fields = userLine.split(QLatin1Char(';'));
    const QStringList fallback = installedLine.split(QLatin1Char(';'));
    QStringList out;
    for (qsizetype i = 0; i < installedColumns.size(); ++i) {
      const qsizetype from = userColumns.indexOf(installedColumns[i]);
      out << (from >= 0 ? fields.value(from) : fallback.value(i));
    }
    return out.join(QLatin1Char(';'));
  };
  QHash<QString, qsizetype> userRows;
  for (qsizetype i = 1; i < user.size(); ++i) {
    const QString key = FirstField(user[i]);
    if (!key.isEmpty() && !userRows.contains(key)) userRows.insert(key, i);
  }
  QStringList merged{installed[0]};
  std::vector<bool> used(size_t(user.size()), false);
  for (qsizetype i = 1; i < installed.size(); ++i) {
    const auto mine = userRows.constFind(FirstField(installed[i]));
    if (mine == userRows.constEnd()) {
      merged << installed[i];
      continue;
    }
    used[size_t(*mine)] = true;
    merged << adapt(user[*mine], installed[i]);
  }
  for (qsizetype i = 1; i < user.size(); ++i)
    if (!used[size_t(i)] && !user[i].isEmpty()) merged << adapt(user[i], QString());
  return merged;
}

// Files of "[section]" blocks (address cards, albums): the installed sections, each replaced by the
// user's section of the same name, then the user's own sections.
bool IsSectionFile(const QStringList& lines) {
  for (const QString& line : lines)
    if (!line.trimmed().isEmpty()) return line.trimmed().startsWith(QLatin1Char('['));
  return false;
}

QStringList MergeSections(const QStringList& installed, const QStringList& user) {
  struct Section {
    QString key;
    QStringList lines;
  };
  auto split = [](const QStringList& lines) {
    std::vector<Section> sections(1);
    for (const QString& line : lines) {
      const QString t = line.trimmed();
      if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        sections.push_back({RowKey(QStringView(t).mid(1, t.size() - 2).trimmed()), {}});
      sections.back().lines << line;
    }
    return sections;
  };
  const std::vector<Section> mine = split(user);
  QHash<QString, size_t> byName;
  for (size_t i = 1; i < mine.size(); ++i)
    if (!byName.contains(mine[i].key)) byName.insert(mine[i].key, i);
  std::vector<bool> used(mine.size(), false);
  QStringList merged;
  for (const Section& s : split(installed)) {
    const auto m = s.key.isEmpty() ? byName.constEnd() : byName.constFind(s.key);
    if (m == byName.constEnd()) {
      merged << s.lines;
      continue;
    }
    used[*m] = true;
    merged << mine[*m].lines;
  }
  for (size_t i = 1; i < mine.size(); ++i) {
    if (used[i]) continue;
    if (!merged.isEmpty() && !merged.last().trimmed().isEmpty()) merged << QString();
    merged << mine[i].lines;
  }
  return merged;
}

}  // namespace

void TSoft::CopyTablesToUser() {
  const QDir data(DataPath);
  for (const QFileInfo& table : data.entryInfoList(QDir::Files)) {
    const QString lower = table.fileName().toLower();
    const bool csv = lower.endsWith(QLatin1String(".csv"));
    if (!lower.endsWith(QLatin1String(".def")) && !csv) continue;
    const QString target = UserPath + table.fileName();
    const QFileInfo user(target);
    if (user.exists() && user.lastModified() > table.lastModified()) continue;  // the user's copy is newer
    QDir().mkpath(UserPath);
    // The user's rows survive a newer installation: tables merge by row name, address cards and
    // albums by section, the user's winning. Other files are replaced, and so is a link planted at
    // the name (what it leads to is not the user's copy).
    QStringList installedLines, userLines;
    bool written = false;
    if (user.isFile() && !user.isSymLink() && ReadTextFile(table.absoluteFilePath(), installedLines) &&
        ReadTextFile(target, userLines)) {
      QStringList merged;
      if (csv)
        merged = MergeTableRows(installedLines, userLines);
      else if (IsSectionFile(installedLines) && IsSectionFile(userLines))
        merged = MergeSections(installedLines, userLines);
      if (!merged.isEmpty()) {
        TTextFileWriter out;
        for (const QString& line : merged) out.Add(line);
        written = out.Commit(target, 0644);
      }
    }
    if (!written) {
      QFile in(table.absoluteFilePath());
      if (!in.open(QIODevice::ReadOnly)) continue;
      const QByteArray bytes = in.readAll();
      // The name is replaced (a read-only copy or a link too), never written through; the mode is
      // set on the new file only.
      if (in.error() != QFileDevice::NoError || !WriteFileAtomically(target, bytes, 0644)) continue;
    }
    // The copy keeps the installed file's time, so a later installation can be recognised as newer.
    const qint64 ns = table.lastModified().toMSecsSinceEpoch() * 1'000'000;
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)}};
    ::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), times, AT_SYMLINK_NOFOLLOW);
  }
}

QString TSoft::CheckInstallation() {
  QString report;
  auto line = [&report](const QString& text) { report += QStringLiteral("\r\n") + text; };
  auto requireKey = [&](const char* key) {
    if (ReadSoftString(QString::fromLatin1(key)).isEmpty())
      line(QStringLiteral("IniVar MANQUANT : ") + QLatin1String(key));
  };
  auto requireFolder = [&](const QString& folder) {
    if (!QFileInfo(folder).isDir() && ResolvePath(folder).isEmpty())
      line(QStringLiteral("DOSSIER MANQUANT : ") + folder);
  };
  auto requireFile = [&](const QString& name) {
    const QString file = DataPath + name;
    if (ResolvePath(file).isEmpty()) line(QStringLiteral("FICHIER MANQUANT : ") + file);
  };
  auto flag = [this](const char* key) { return SoftFlag(QString::fromLatin1(key)); };
  const QString lang = QString::number(Language());

  requireKey("ApercuLarge");
  requireKey("ApercuHaut");
  if (!ReadSoftString(QStringLiteral("Aide")).isEmpty()) line(QStringLiteral("IniVar EN TROP : Aide"));
  for (const QString& f : {DataPath, ModelesPath, ImagesPath, SkinPath, DataPath + QStringLiteral("fonts/")})
    requireFolder(f);
  if (flag("wizard_dvd"))
    for (const QString& f : {GabaritsAudioPath, GabaritsDataPath, GabaritsViergePath}) requireFolder(f);
  if (flag("wizard_support")) requireFolder(SupportsPath);
  if (flag("panel_masque")) requireFolder(MasquesPath);
  if (flag("action_basetextes")) requireFile(QStringLiteral("textes_%1.def").arg(lang));
  if (flag("wizard_support")) requireFile(QStringLiteral("Supports.csv"));
  if (flag("path_support_start")) requireFile(QStringLiteral("Supports.csv"));
  requireFile(QStringLiteral("papiers_dim.csv"));
  requireFile(QStringLiteral("papiers_gab.csv"));
  requireFile(QStringLiteral("fiches_%1.def").arg(lang));
  if (flag("wizard_dimension")) requireFile(QStringLiteral("formats.csv"));
  requireFile(QStringLiteral("mailing_%1.def").arg(lang));
  if (flag("wizard_dvd")) requireFile(QStringLiteral("albumcd_%1.def").arg(lang));
  if (flag("mode_forme")) {
    requireKey("path_forme");
    requireFolder(FormesPath);
  }
  const struct {
    const char* mode;
    const char* key;
  } imageFolders[] = {{"mode_fond", "path_fonds"},
                      {"action_creerfond", "path_mesfonds"},
                      {"mode_etiquette", "path_etiquettes"},
                      {"action_creeretiquette", "path_mesetiquettes"},
                      {"mode_ruban", "path_rubans"}};
  for (const auto& f : imageFolders) {
    if (!flag(f.mode)) continue;
    requireKey(f.key);
    requireFolder(ImagesPath + NormaliseSeparators(ReadSoftString(QString::fromLatin1(f.key))));
  }
  for (const char* mode : {"mode_perforatrice", "mode_tampon"}) {
    if (!flag(mode)) continue;
    const QString key = QStringLiteral("path_") + QString::fromLatin1(mode).mid(5);
    if (ReadSoftString(key).isEmpty()) line(QStringLiteral("IniVar MANQUANT : ") + key);
    requireFolder(DataPath + NormaliseSeparators(ReadSoftString(key)));
  }
  if (flag("action_bordure"))
    requireFolder(ImagesPath + NormaliseSeparators(ReadSoftString(QStringLiteral("path_bordures"))));
  return report;
}
