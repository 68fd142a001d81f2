#include "shell/settings.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "common/files.h"
#include "shell/help.h"
#include "shell/inifile.h"
#include "shell/language.h"
#include "shell/paths.h"

namespace {

QString Md5(const QByteArray& b) {
  return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Md5).toHex());
}

// An installation tree and a user folder in a temporary directory.
struct SettingsFixture : ::testing::Test {
  QTemporaryDir dir;
  QString home, appData;
  std::unique_ptr<TSoft> soft;
  SettingsFixture() {
    home = dir.filePath(QStringLiteral("install"));
    appData = dir.filePath(QStringLiteral("appdata"));
  }
  ~SettingsFixture() override { MLFree(); }
  void Make(const QByteArray& ini, const QStringList& args = {}) {
    WriteAll(home + QStringLiteral("/lorvane.ini"), ini);
    soft = std::make_unique<TSoft>(home + QStringLiteral("/lorvane.ini"), TSoftOptions{home, appData, args});
    soft->InitialisePaths();
  }
};

}  // namespace

TEST_F(SettingsFixture, ReadsAndWritesBothFiles) {
  Make(
      "[lorvane]\r\nsociete=Atelier\r\nnom=Lorvane\r\ncode=data\r\nApercuLarge=120\r\n"
      "formule=a=b;c\r\nStats=0\r\nLutinetMan=1\r\n[autre]\r\nnom=ignored\r\n");
  EXPECT_EQ(soft->Nom, "Lorvane");
  EXPECT_EQ(soft->UserPath, appData + "/Atelier/Lorvane/");
  EXPECT_EQ(soft->DataPath, home + "/data/");
  EXPECT_EQ(soft->ReadSoftString(QStringLiteral("FORMULE")), "a=b;c");
  EXPECT_EQ(soft->ReadSoftInteger(QStringLiteral("ApercuLarge")), 120);
  EXPECT_EQ(soft->ReadSoftInteger(QStringLiteral("nom")), -1);
  EXPECT_FALSE(soft->SoftFlag(QStringLiteral("Stats")));
  EXPECT_TRUE(soft->SoftFlag(QStringLiteral("LutinetMan")));
  EXPECT_FALSE(soft->SoftFlag(QStringLiteral("absent")));

  // User.ini appears when its folder exists; values keep "=" and ";".
  QDir().mkpath(soft->UserPath);
  EXPECT_TRUE(soft->WriteUserString(QStringLiteral("BrowseImagePath"), QStringLiteral("/x=y;z")));
  EXPECT_EQ(soft->ReadUserString(QStringLiteral("browseimagepath")), "/x=y;z");
  EXPECT_TRUE(soft->WriteUserInteger(QStringLiteral("idxFiche"), 3));
  EXPECT_EQ(soft->ReadUserInteger(QStringLiteral("idxFiche")), 3);
  EXPECT_TRUE(soft->SetUserFlag(QStringLiteral("gabarit1_actif"), true));
  EXPECT_TRUE(soft->UserFlag(QStringLiteral("gabarit1_actif")));
  EXPECT_TRUE(soft->SetUserFlag(QStringLiteral("gabarit1_actif"), false));
  EXPECT_FALSE(soft->UserFlag(QStringLiteral("gabarit1_actif")));
  EXPECT_EQ(soft->ReadUserString(QStringLiteral("gabarit1_actif")), "");
  // Another writer's change is seen at the next read.
  TIniFile other(soft->UserIniFile);
  QThread::msleep(5);
  other.WriteString(QStringLiteral("USER"), QStringLiteral("idxFiche"), QStringLiteral("42"));
  EXPECT_EQ(soft->ReadUserInteger(QStringLiteral("idxFiche")), 42);
}

// Objects ask the settings as they are built: inside one operation the file is looked at once, so
// another writer's change shows from the next operation on; the settings' own writes show at once.
TEST_F(SettingsFixture, AnOperationSeesTheSettingsFileOnce) {
  Make("[lorvane]\r\nrect_dim_min=2\r\nA=1\r\na=2\r\n[autre]\r\nb=3\r\n[LORVANE]\r\nb=4\r\n");
  // The first section of a name and the first line of a key count.
  EXPECT_EQ(soft->ReadSoftString(QStringLiteral("a")), "1");
  EXPECT_EQ(soft->ReadSoftString(QStringLiteral("b")), "");
  TIniFile other(soft->SoftIniFile);
  QThread::msleep(5);
  {
    const TSettingsOperation operation;
    EXPECT_EQ(soft->ReadSoftString(QStringLiteral("rect_dim_min")), "2");
    {
      const TSettingsOperation nested;
      ASSERT_TRUE(
          other.WriteString(QStringLiteral("lorvane"), QStringLiteral("rect_dim_min"), QStringLiteral("5")));
    }
    EXPECT_EQ(soft->ReadSoftString(QStringLiteral("rect_dim_min")), "2");
  }
  EXPECT_EQ(soft->ReadSoftString(QStringLiteral("rect_dim_min")), "5");
  {
    const TSettingsOperation operation;
    EXPECT_EQ(soft->ReadSoftString(QStringLiteral("nom")), "");
    ASSERT_TRUE(soft->WriteSoftString(QStringLiteral("nom"), QStringLiteral("N")));
    EXPECT_EQ(soft->ReadSoftString(QStringLiteral("nom")), "N");
  }
}

TEST_F(SettingsFixture, PathsWithoutCodeAndWithoutLanguageFile) {
  Make("[lorvane]\r\nnom=L\r\nsociete=S\r\n");
  EXPECT_EQ(soft->DataPath, home + "//");
  EXPECT_EQ(soft->DocumentsPath, soft->UserPath + "Mes documents/");
  EXPECT_EQ(soft->VariantesPath, soft->DocumentsPath + QString::fromUtf8("Variantes de modèles/"));
  EXPECT_EQ(soft->FichesFile, soft->UserPath + "fiches_1.def");
  const QString report = soft->CheckInstallation();
  EXPECT_TRUE(report.startsWith(
      QStringLiteral("\r\nIniVar MANQUANT : ApercuLarge\r\nIniVar MANQUANT : ApercuHaut\r\n")));
  EXPECT_TRUE(report.contains(QStringLiteral("DOSSIER MANQUANT : ") + home + "//Modeles/"));
  EXPECT_TRUE(report.contains(QStringLiteral("FICHIER MANQUANT : ") + home + "//papiers_dim.csv"));
  soft->CreateUserFolders();
  EXPECT_TRUE(QFileInfo(soft->DocumentsPath).isDir());
  EXPECT_FALSE(QFileInfo(soft->VariantesPath).exists());
}

TEST_F(SettingsFixture, ImagesAreFoundInFolderOrderWithTheirDigest) {
  WriteAll(home + "/data/Prioritaire/fond.jpg", "prioritaire");
  WriteAll(home + "/data/Images/Fonds/fond.jpg", "images");
  WriteAll(home + "/data/Images/Fonds/Mer.JPG", "mer");
  Make("[lorvane]\r\ncode=data\r\n");
  EXPECT_EQ(soft->FindImageFile(QStringLiteral("fond.jpg")),
            home + "/data/Prioritaire/fond.jpg|" + Md5("prioritaire"));
  // A checksum in the reference does not matter: the digest is the found file's.
  EXPECT_EQ(soft->FindImageFile(QStringLiteral("C:\\Anciens\\mer.jpg|0123")),
            home + "/data/Images/Fonds/Mer.JPG|" + Md5("mer"));
  EXPECT_EQ(soft->FindImageFile(QStringLiteral("absent.png")), "");
  EXPECT_EQ(ReferenceName(QStringLiteral("a.jpg|x|y")), "a.jpg");
  EXPECT_EQ(ImageFileFor(home + "/data/Images/Fonds/mer"), home + "/data/Images/Fonds/Mer.JPG");
  // A changed file gets a new digest.
  QThread::msleep(5);
  WriteAll(home + "/data/Prioritaire/fond.jpg", "prioritaire, retouchée");
  EXPECT_EQ(soft->FindImageFile(QStringLiteral("fond.jpg")),
            home + "/data/Prioritaire/fond.jpg|" + Md5("prioritaire, retouchée"));
}

TEST_F(SettingsFixture, OnlinePicturesByChecksum) {
  Make("[lorvane]\r\ncode=data\r\ninternet_image=1\r\nnom=N\r\nsociete=S\r\n");
  int fetches = 0;
  soft->FetchImage = [&](const QString& checksum, const QString& folder) {
    ++fetches;
    const QString f = folder + checksum + QStringLiteral(".jpg");
    WriteAll(f, "online");
    return f;
  };
  const QString got = soft->FindImageFile(QStringLiteral("vacances.jpg|abc123"));
  EXPECT_EQ(got, soft->ImagesInternetPath + "abc123.jpg|abc123");
  EXPECT_EQ(soft->FindImageFile(QStringLiteral("vacances.jpg|abc123")),
            soft->ImagesInternetPath + "abc123.jpg");
  EXPECT_EQ(fetches, 1);
}

TEST_F(SettingsFixture, TablesCopyUnlessTheUserCopyIsNewer) {
  WriteAll(home + "/data/papiers_dim.csv", "installed");
  WriteAll(home + "/data/textes_1.DEF", "installed texts");
  WriteAll(home + "/data/notes.txt", "not a table");
  Make("[lorvane]\r\ncode=data\r\nnom=N\r\nsociete=S\r\n");
  QThread::msleep(20);  // file times have a coarse clock
  WriteAll(soft->UserPath + "textes_1.DEF", "edited by the user");
  QFile::setPermissions(soft->UserPath + "textes_1.DEF", QFile::ReadOwner);
  QFile(soft->UserPath + "textes_1.DEF").open(QIODevice::ReadOnly);
  // The user's copy is newer than the installed one: it stays.
  soft->CopyTablesToUser();
  QFile kept(soft->UserPath + "textes_1.DEF");
  kept.open(QIODevice::ReadOnly);
  EXPECT_EQ(kept.readAll(), "edited by the user");
  QFile copied(soft->UserPath + "papiers_dim.csv");
  ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
  EXPECT_EQ(copied.readAll(), "installed");
  EXPECT_FALSE(QFileInfo::exists(soft->UserPath + "notes.txt"));
  // A newer installation replaces it, read-only or not.
  QThread::msleep(20);
  WriteAll(home + "/data/textes_1.DEF", "new installation");
  soft->CopyTablesToUser();
  QFile replaced(soft->UserPath + "textes_1.DEF");
  ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
  EXPECT_EQ(replaced.readAll(), "new installation");
}

// A newer installation keeps the rows the user made: tables merge by row name (the user's row
// winning, new installed rows added), address cards and albums by section.
TEST_F(SettingsFixture, NewerInstalledTablesKeepTheUsersRows) {
  const struct {
    const char* file;
    QByteArray user, installed, merged;
  } cases[] = {
      {"papiers_gab.csv", "Nom;Large;Haut\r\nA4 3x8;70;37\r\nMon format;50;25\r\n",
       "Nom;Large;Haut\r\nA4 3x8;70;36\r\nA4 2x5;105;57\r\n",
       "Nom;Large;Haut\r\nA4 3x8;70;37\r\nA4 2x5;105;57\r\nMon format;50;25\r\n"},
      // A user's copy under an older header: its rows move into the new columns by name, a column it
      // lacks takes the installed value (or stays empty for the user's own rows).
      {"formats.csv", "Nom;Large\r\nCarte;85\r\nBadge;60\r\n",
       "Nom;Haut;Large\r\ncarte;55;90\r\nEtiquette;20;40\r\n",
       "Nom;Haut;Large\r\nCarte;55;85\r\nEtiquette;20;40\r\nBadge;;60\r\n"},
      {"fiches_1.def", "[Jean Lune]\r\nVille=Paris\r\n[Exemple]\r\nVille=Nice\r\n",
       "[Exemple]\r\nVille=Lyon\r\n[Nouveau]\r\nVille=Caen\r\n",
       "[Exemple]\r\nVille=Nice\r\n[Nouveau]\r\nVille=Caen\r\n\r\n[Jean Lune]\r\nVille=Paris\r\n"},
  };
  Make("[lorvane]\r\ncode=data\r\nnom=N\r\nsociete=S\r\n");
  for (const auto& c : cases) WriteAll(soft->UserPath + c.file, c.user);
  QThread::msleep(20);  // file times have a coarse clock
  for (const auto& c : cases) WriteAll(home + "/data/" + c.file, c.installed);
  soft->CopyTablesToUser();
  for (const auto& c : cases) EXPECT_EQ(ReadAll(soft->UserPath + c.file), c.merged) << c.file;
  // The merged copy takes the installed file's time: the next start finds nothing newer to merge.
  const QDateTime merged = QFileInfo(soft->UserPath + "papiers_gab.csv").lastModified();
  EXPECT_EQ(merged, QFileInfo(home + "/data/papiers_gab.csv").lastModified());
  soft->CopyTablesToUser();
  for (const auto& c : cases) EXPECT_EQ(ReadAll(soft->UserPath + c.file), c.merged) << c.file;
}

// A link planted at a user's table is replaced by the copy; the file it leads to keeps its content
// and its mode.
TEST_F(SettingsFixture, TableCopyReplacesALinkNotItsTarget) {
  const QString outside = dir.filePath(QStringLiteral("private.txt"));
  WriteAll(outside, "mine");
  ASSERT_TRUE(QFile::setPermissions(outside, QFile::ReadOwner | QFile::WriteOwner));
  WriteAll(home + "/data/papiers_dim.csv", "Nom;Large\r\nA4;210\r\n");
  WriteAll(home + "/data/mailing_1.def", "Objet\r\n");
  Make("[lorvane]\r\ncode=data\r\nnom=N\r\nsociete=S\r\n");
  QDir().mkpath(soft->UserPath);
  const char* names[] = {"papiers_dim.csv", "mailing_1.def"};
  for (const char* name : names) ASSERT_TRUE(QFile::link(outside, soft->UserPath + name));
  // Older than the installation, so the copies are made.
  const struct timespec old[2] = {{0, UTIME_OMIT}, {1000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(outside).constData(), old, 0), 0);
  soft->CopyTablesToUser();
  EXPECT_EQ(ReadAll(outside), "mine");
  struct stat st;
  ASSERT_EQ(::lstat(QFile::encodeName(outside).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  for (const char* name : names) EXPECT_FALSE(QFileInfo(soft->UserPath + name).isSymLink()) << name;
  EXPECT_EQ(ReadAll(soft->UserPath + "mailing_1.def"), "Objet\r\n");
  // What the link led to is not taken for the user's rows.
  EXPECT_EQ(ReadAll(soft->UserPath + "papiers_dim.csv"), "Nom;Large\r\nA4;210\r\n");
}

// Help names what is missing: nothing installed, or the named manual (never the installation
// folder itself).
TEST_F(SettingsFixture, HelpSaysWhatIsMissing) {
  WriteAll(
      home + "/lorvane.tra",
      "107;Aide \"%s\" introuvable;Help \"%s\" not found\r\nAideAbsente;Pas d'aide;No help installed\r\n");
  MLSetProgramFolder(home);
  ASSERT_TRUE(MLCreate(QStringLiteral("lorvane.tra")));
  MLSetLanguage(2);
  const struct {
    QByteArray key;
    bool present;
    QString file, message;
  } cases[] = {
      {"aide_pdf=\r\n", false, "", "No help installed"},
      {"", false, "", "No help installed"},
      {"aide_pdf=manuel.pdf\r\n", false, "", "Help \"" + home + "/manuel.pdf\" not found"},
      {"aide_pdf=manuel.pdf\r\n", true, home + "/manuel.pdf", ""},
  };
  for (const auto& c : cases) {
    QFile::remove(home + "/manuel.pdf");
    if (c.present) WriteAll(home + "/manuel.pdf", "%PDF-1.4");
    Make("[lorvane]\r\ncode=data\r\n" + c.key);
    EXPECT_EQ(HelpFile(*soft), c.file) << c.key.constData();
    if (c.file.isEmpty()) EXPECT_EQ(HelpMissingMessage(*soft), c.message) << c.key.constData();
  }
  MLSetLanguage(1);
}

TEST_F(SettingsFixture, MergeFieldsFromTheLanguageFileAndSources) {
  WriteAll(home + "/lorvane.tra", "ChampDef1;<Date>\r\nChampDef2;<Annee>\r\nChampDef3;<Heure>\r\n");
  MLSetProgramFolder(home);
  ASSERT_TRUE(MLCreate(QStringLiteral("lorvane.tra")));
  Make("[lorvane]\r\ncode=data\r\n", {QStringLiteral("debug")});
  EXPECT_EQ(soft->FieldValue(QStringLiteral("annee")), QDate::currentDate().toString(QStringLiteral("yyyy")));
  EXPECT_EQ(soft->FieldValue(QStringLiteral("heure")).size(), 5);
  EXPECT_EQ(soft->FieldValue(QStringLiteral("nom")), "");
  EXPECT_EQ(soft->FieldValue(QStringLiteral("texte1")), "JOYEUX CARNAVAL !");
  struct Cards : TFieldSource {
    bool HasCards() override { return true; }
    QString CardField(const QString& n) override {
      return n == QLatin1String("NomPre") ? "Jean Lune" : n + "?";
    }
    QString AlbumField(const QString& n) override { return "album:" + n; }
  } cards;
  soft->Fields = &cards;
  EXPECT_EQ(soft->FieldValue(QStringLiteral("logo")), soft->UserPath + "Jean Lune logo.bmp");
  EXPECT_EQ(soft->FieldValue(QStringLiteral("ville")), "ville?");
  EXPECT_EQ(soft->FieldValue(QStringLiteral("cdtitre")), "album:cdtitre");
}

TEST_F(SettingsFixture, HostileSettingsFiles) {
  QByteArray big = "[lorvane]\r\n";
  for (int i = 0; i < 100000; ++i)
    big += "cle" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
  Make(big);
  EXPECT_EQ(soft->ReadSoftInteger(QStringLiteral("cle99999")), 99999);
  QByteArray junk(1 << 16, '\0');
  for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919) & 0xFF);
  Make(junk);
  EXPECT_EQ(soft->ReadSoftString(QStringLiteral("nom")), "");
  Make("");
  EXPECT_EQ(soft->ReadSoftInteger(QStringLiteral("ApercuLarge")), -1);
}

TEST(Paths, CaseInsensitiveResolution) {
  QTemporaryDir dir;
  WriteAll(dir.filePath(QStringLiteral("Gabarits/Audio/1.mdl")), "x");
  EXPECT_EQ(ResolvePath(dir.filePath(QStringLiteral("gabarits\\AUDIO\\1.MDL"))),
            dir.filePath(QStringLiteral("Gabarits/Audio/1.mdl")));
  EXPECT_EQ(ResolvePath(dir.filePath(QStringLiteral("gabarits/absent.mdl"))), "");
  // A new file is seen: the folder listing is read again when the folder changes.
  QThread::msleep(5);
  WriteAll(dir.filePath(QStringLiteral("Gabarits/Audio/2.mdl")), "y");
  EXPECT_EQ(FindInFolder(dir.filePath(QStringLiteral("Gabarits/Audio")), QStringLiteral("2.MDL")), "2.mdl");
}
