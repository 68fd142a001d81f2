#include "records/album_cd.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "common/files.h"
#include "shell/language.h"
#include "shell/user_dialogs.h"

namespace {

QStringList Titles(const QString& value) {
  return SplitTitres(value);
}

struct AlbumBase : ::testing::Test {
  QTemporaryDir dir;
  TzunoAlbumCD base;
  void SetUp() override { base.FileName = dir.filePath("albumcd_1.def"); }
  QByteArray Bytes() { return ReadAll(base.FileName); }
  QStringList Lines() {
    QString text = QString::fromLatin1(Bytes());
    if (text.endsWith("\r\n")) text.chop(2);
    return text.split("\r\n");
  }
};

}  // namespace

// No file: nothing to read; the first album creates the file with a leading empty line, each
// album is a numbered section, and the values are read from the current one.
TEST_F(AlbumBase, AlbumsAreAppendedAsNumberedSectionsAndReadFromTheCurrentOne) {
  EXPECT_EQ(base.Count(), 0);
  EXPECT_TRUE(base.Lisible());
  EXPECT_EQ(base.GetValeur("cdArtiste"), "");
  EXPECT_FALSE(base.SupprimeAlbum(0));
  EXPECT_FALSE(QFile::exists(base.FileName));
  EXPECT_FALSE(base.EcritAlbum(0, "a", {}, "", "", ""));

  EXPECT_EQ(base.AjouteAlbum(base.AlbumLines("Nina", "Soleil", "1999", "Jazz", {"Un", "Deux"})), 0);
  EXPECT_EQ(Bytes(), QByteArray("\r\n[0]\r\ncdArtiste=Nina\r\ncdAlbum=Soleil\r\ncdAnn\xE9"
                                "e=1999\r\n"
                                "cdGenre=Jazz\r\ncdTitres=Un|Deux|\r\n"));
  // Lines that are not key=value could open sections of their own: they are dropped.
  EXPECT_EQ(base.AjouteAlbum({"cdArtiste=Zed", "[7]", "nonsense", "cdAlbum=Deux\nlignes"}), 1);
  EXPECT_EQ(base.Count(), 2);

  // Merge fields arrive in lower case.
  EXPECT_EQ(base.GetValeur("cdannée"), "1999");
  EXPECT_EQ(Titles(base.GetValeur("cdtitres")), QStringList({"Un", "Deux"}));
  base.Courant = 1;
  EXPECT_EQ(base.GetValeur("CDARTISTE"), "Zed");
  EXPECT_EQ(base.GetValeur("cdalbum"), "Deux lignes");
  EXPECT_EQ(base.GetValeur("cdgenre"), "");
  base.Courant = 5;
  EXPECT_EQ(base.GetValeur("cdartiste"), "");

  QStringList list;
  base.ListeAlbums(list);
  EXPECT_EQ(list, QStringList({"Nina - Soleil", "Zed - Deux lignes"}));
}

// Writing an album replaces its keys where they stand, keeps other keys, adds the missing ones and
// stores only the non-blank titles, trimmed.
TEST_F(AlbumBase, WritingAnAlbumReplacesItsKeysInPlace) {
  WriteAll(base.FileName, "\r\n[0]\r\ncdArtiste=A\r\nnote=garder\r\n\r\n[1]\r\ncdTitres=x|\r\ncdAlbum=B\r\n");
  ASSERT_TRUE(base.EcritAlbum(1, " Moi ", {"", "  Premier ", "   ", "Second", ""}, "Rock", "2024", "Disque"));
  EXPECT_EQ(Lines(),
            QStringList({"", "[0]", "cdArtiste=A", "note=garder", "", "[1]", "cdTitres=Premier|Second|",
                         "cdAlbum=Disque", "cdArtiste=Moi", "cdAnnée=2024", "cdGenre=Rock"}));
  ASSERT_TRUE(base.EcritAlbum(0, "A2", {}, "", "", ""));
  EXPECT_EQ(base.Valeur(0, "note"), "garder");
  EXPECT_EQ(base.Valeur(0, "cdArtiste"), "A2");
  EXPECT_EQ(base.Valeur(0, "cdTitres"), "");
  EXPECT_EQ(base.Valeur(1, "cdArtiste"), "Moi");
  EXPECT_FALSE(base.EcritAlbum(2, "x", {}, "", "", ""));
}

// Deleting renumbers the albums after it; a blank line separates the sections.
TEST_F(AlbumBase, DeletingAnAlbumRenumbersTheOthers) {
  for (const char* a : {"A", "B", "C"}) base.AjouteAlbum({QString("cdArtiste=") + a});
  ASSERT_TRUE(base.SupprimeAlbum(1));
  EXPECT_EQ(Lines(), QStringList({"", "[0]", "cdArtiste=A", "", "[1]", "cdArtiste=C"}));
  base.Courant = 1;
  EXPECT_EQ(base.GetValeur("cdartiste"), "C");
  ASSERT_TRUE(base.SupprimeAlbum(0));
  EXPECT_EQ(Lines(), QStringList({"", "[0]", "cdArtiste=C"}));
  EXPECT_FALSE(base.SupprimeAlbum(1));
}

// Windows-1252 unless a character cannot be written so: then the whole file is UTF-8 with a
// byte-order mark. A file edited in UTF-8 without the mark is still read as UTF-8.
TEST_F(AlbumBase, TextIsWindows1252OrUtf8WithAMark) {
  base.AjouteAlbum({"cdArtiste=Éric €"});
  EXPECT_TRUE(Bytes().contains("cdArtiste=\xC9ric \x80\r\n"));
  base.AjouteAlbum({"cdArtiste=Łukasz"});
  EXPECT_TRUE(Bytes().startsWith("\xEF\xBB\xBF\r\n[0]\r\ncdArtiste=\xC3\x89ric \xE2\x82\xAC\r\n"));
  EXPECT_EQ(base.Valeur(1, "cdartiste"), "Łukasz");

  WriteAll(base.FileName, "[0]\ncdArtiste=Ren\xC3\xA9\n");
  EXPECT_EQ(base.Valeur(0, "cdartiste"), "René");  // valid UTF-8: read as such
  WriteAll(base.FileName, "[0]\ncdArtiste=Ren\xE9 \xC3\xA9\n");
  EXPECT_EQ(base.Valeur(0, "cdartiste"), "René Ã©");  // not UTF-8: Windows-1252
  // Text whose Windows-1252 bytes read as UTF-8 is written so that it comes back as it was.
  ASSERT_TRUE(base.EcritAlbum(0, "Ã©", {}, "", "", ""));
  EXPECT_EQ(base.Valeur(0, "cdartiste"), "Ã©");
}

// The file is read again whenever it changes on disk, also by a same-sized replacement.
TEST_F(AlbumBase, ChangesOnDiskAreSeen) {
  WriteAll(base.FileName, "[0]\r\ncdArtiste=AAAA\r\n");
  EXPECT_EQ(base.GetValeur("cdartiste"), "AAAA");
  const QString other = base.FileName + ".new";
  WriteAll(other, "[0]\r\ncdArtiste=BBBB\r\n");
  ASSERT_TRUE(QFile::remove(base.FileName));
  ASSERT_TRUE(QFile::rename(other, base.FileName));
  EXPECT_EQ(base.GetValeur("cdartiste"), "BBBB");
  ASSERT_TRUE(QFile::remove(base.FileName));
  EXPECT_EQ(base.Count(), 0);
}

// A file that cannot be read (too large, a folder) reads as empty and refuses every change, so it
// is never replaced by a file holding less; a truncated file gives what it holds.
TEST_F(AlbumBase, AnUnreadableFileIsNeverOverwritten) {
  {
    QFile f(base.FileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[0]\r\ncdArtiste=A\r\n");
    ASSERT_TRUE(f.resize(TzunoAlbumCD::kMaxFileSize + 1));  // sparse: costs no disk
  }
  EXPECT_FALSE(base.Lisible());
  EXPECT_FALSE(base.Erreur().isEmpty());
  EXPECT_EQ(base.Count(), 0);
  EXPECT_EQ(base.AjouteAlbum({"cdArtiste=B"}), -1);
  EXPECT_FALSE(base.EcritAlbum(0, "B", {}, "", "", ""));
  EXPECT_FALSE(base.SupprimeAlbum(0));
  EXPECT_EQ(QFileInfo(base.FileName).size(), TzunoAlbumCD::kMaxFileSize + 1);

  base.FileName = dir.filePath("folder.def");
  ASSERT_TRUE(QDir().mkdir(base.FileName));
  EXPECT_FALSE(base.Lisible());
  EXPECT_EQ(base.AjouteAlbum({"cdArtiste=B"}), -1);

  base.FileName = dir.filePath("cut.def");
  WriteAll(base.FileName, "\r\n[0]\r\ncdArtiste=A\r\n\r\n[1]\r\ncdArtiste=B\r\ncdAlb");
  EXPECT_EQ(base.Count(), 2);
  EXPECT_EQ(base.Valeur(1, "cdartiste"), "B");
  EXPECT_EQ(base.AjouteAlbum({"cdArtiste=C"}), 2);
  EXPECT_EQ(base.Valeur(2, "cdartiste"), "C");

  base.FileName = dir.filePath("missing/folder/albumcd_1.def");
  EXPECT_EQ(base.AjouteAlbum({"cdArtiste=C"}), -1);  // a write that fails is not an album
}

// The key names come from the language file; an empty one is reported and left empty.
TEST(AlbumKeys, KeyNamesComeFromTheLanguageFile) {
  TScriptedDialogs dialogs;
  dialogs.Answers = {abOK};
  TUserDialogs* before = UserDialogs();
  SetUserDialogs(&dialogs);
  MLFree();
  ASSERT_TRUE(MLCreateFromLines({"cdArtiste; <Interprète> ;", "cdAlbum;Titre;", "cdAnnée;<>;",
                                 "cdGenre;<cdGenre>;", "cdTitres;<cdTitres>;"}));
  MLSetLanguage(1);
  TzunoAlbumCD base;
  base.ChargeCles(false);
  base.ChargeCles();  // again, as the main window does: the same names, one report
  MLFree();
  SetUserDialogs(before);
  EXPECT_EQ(QStringList(base.Cles.begin(), base.Cles.end()),
            QStringList({"Interprète", "Titre", "", "cdGenre", "cdTitres"}));
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0].Text, "MLS('cdAnnée')");
  // An empty key name is neither read nor written.
  QTemporaryDir dir;
  base.FileName = dir.filePath("a.def");
  ASSERT_EQ(base.AjouteAlbum({"=x", "cdGenre=Pop"}), 0);
  ASSERT_TRUE(base.EcritAlbum(0, "A", {}, "Folk", "2000", "B"));
  EXPECT_EQ(base.GetValeur(""), "");
  EXPECT_EQ(base.GetValeur("cdgenre"), "Folk");
  EXPECT_EQ(base.GetValeur("cdannée"), "");
}

// A lookup entry becomes the five album lines.
TEST(AlbumEntry, LookupEntriesBecomeAlbumLines) {
  TzunoAlbumCD base;
  QStringList twelve = {"# xmcd", "DTITLE=Les Ondes / Marées hautes", "DYEAR=1987", "DGENRE=Pop",
                        "DTITLE=ignored / second"};
  QStringList expected;
  for (int i = 0; i < 12; ++i) {
    twelve << QString("TTITLE%1=Piste %1").arg(i);
    expected << QString("Piste %1").arg(i);
  }
  twelve << "TTITLE13=after the gap"
         << "TTITLE0=not the first";
  base.DepuisEntree(twelve);
  ASSERT_EQ(twelve.size(), 5);
  EXPECT_EQ(twelve.mid(0, 4),
            QStringList({"cdArtiste=Les Ondes", "cdAlbum=Marées hautes", "cdAnnée=1987", "cdGenre=Pop"}));
  EXPECT_EQ(Titles(twelve[4].section('=', 1)), expected);

  const struct {
    QStringList entry;
    QString artist, album, titles;
  } cases[] = {
      {{"DTITLE=Sans barre oblique"}, "", "Sans barre oblique", ""},
      {{"DTITLE= A/B/C ", "TTITLE0=x", "TTITLE1=", "TTITLE2=y"}, "A", "B/C", "x|"},
      {{"TTITLE1=no track 0"}, "", "", ""},
      {{}, "", "", ""},
  };
  for (const auto& c : cases) {
    QStringList lines = c.entry;
    base.DepuisEntree(lines);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "cdArtiste=" + c.artist) << c.entry.join(',').toStdString();
    EXPECT_EQ(lines[1], "cdAlbum=" + c.album);
    EXPECT_EQ(lines[4], "cdTitres=" + c.titles);
  }
}

// The ID3 version 1 tag: the last 128 bytes, fields up to their first zero byte, trimmed.
TEST(AlbumMp3, Id3v1TagsAreReadFromTheLast128Bytes) {
  QTemporaryDir dir;
  auto tagged = [&](const QByteArray& title, unsigned char genre) {
    QByteArray tag = "TAG";
    auto field = [&tag](QByteArray v, int width) { tag += v.leftJustified(width, '\0', true); };
    field(title, 30);
    field("  Artiste ", 30);
    field(QByteArray(30, 'A'), 30);
    field("1975", 4);
    field("comment", 30);
    tag += char(genre);
    return QByteArray(500, '\x55') + tag;
  };
  const struct {
    unsigned char code;
    const char* genre;
  } genres[] = {{12, "Other"}, {255, "Other"},    {84, "Bebob"},
                {0, "Blues"},  {114, "Folklore"}, {115, "Other"}};
  for (const auto& g : genres) {
    const QString f = dir.filePath(QString("g%1.mp3").arg(g.code));
    WriteAll(f, tagged(QByteArray("Caf\xE9\0junk", 9), g.code));
    TMP3TagV1 tag;
    ASSERT_TRUE(LitTagMP3(f, tag));
    EXPECT_EQ(tag.Genre, g.genre) << int(g.code);
    EXPECT_EQ(tag.Title, "Café");
    EXPECT_EQ(tag.Artist, "Artiste");
    EXPECT_EQ(tag.Album, QString(30, 'A'));
    EXPECT_EQ(tag.Year, "1975");
  }
  // Missing, too short, without a tag: the record keeps what it held.
  WriteAll(dir.filePath("short.mp3"), "TAG");
  WriteAll(dir.filePath("none.mp3"), QByteArray(200, 'x'));
  for (const char* name : {"missing.mp3", "short.mp3", "none.mp3"}) {
    TMP3TagV1 tag{"keep", "keep", "keep", "keep", "keep"};
    EXPECT_FALSE(LitTagMP3(dir.filePath(name), tag));
    EXPECT_EQ(tag.Artist, "keep");
    EXPECT_EQ(tag.Genre, "keep");
  }
}
