#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/files.h"
#include "common/music_fixtures.h"
#include "records/album_cd.h"

using music_fixtures::Tags;
using music_fixtures::WriteMusic;

// Each format's own tags and its length are read.
TEST(MusicTags, EachFormatGivesItsTagsAndLength) {
  QTemporaryDir dir;
  const struct {
    const char* file;
    bool id3v1;
  } cases[] = {{"a.mp3", false}, {"b.mp3", true}, {"c.flac", false}, {"d.ogg", false}, {"e.m4a", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = dir.filePath(c.file);
    ASSERT_TRUE(WriteMusic(path, {"Étoile filante", "Zoé", "Nuits", "Jazz", 7, 2004}, 3.0, c.id3v1));
    TMusicTrack t;
    ASSERT_TRUE(LitTagMusique(path, t));
    EXPECT_EQ(t.Title, "Étoile filante");
    EXPECT_EQ(t.Artist, "Zoé");
    EXPECT_EQ(t.Album, "Nuits");
    EXPECT_EQ(t.Year, "2004");
    EXPECT_EQ(t.Genre, "Jazz");
    EXPECT_EQ(t.Track, 7);
    EXPECT_NEAR(t.DurationMs, 3000, 60);
  }
  // The ID3 version 1 reader of the album base agrees on the old tag.
  TMP3TagV1 v1;
  ASSERT_TRUE(LitTagMP3(dir.filePath("b.mp3"), v1));
  EXPECT_EQ(v1.Title, "Étoile filante");
  EXPECT_EQ(v1.Genre, "Jazz");
}

// A folder becomes an album: tracks in number order, unnumbered ones after by file name, a title
// taken from the file name when missing; the album's values from the first track having them;
// files that are not music or cannot be read are skipped, never fatal.
TEST(MusicTags, AFolderBecomesAnAlbumInTrackOrder) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteMusic(dir.filePath("z.mp3"), {"Trois", "", "", "", 3, 0}));
  ASSERT_TRUE(WriteMusic(dir.filePath("a.flac"), {"Dix", "Les Ondes", "Marées", "Pop", 10, 1987}));
  ASSERT_TRUE(WriteMusic(dir.filePath("m.ogg"), {"Un", "Autre", "", "", 1, 0}, 1.5));
  ASSERT_TRUE(WriteMusic(dir.filePath("B sans numéro.m4a"), {"", "", "", "", 0, 0}));
  ASSERT_TRUE(WriteMusic(dir.filePath("a sans numéro.mp3"), {"Bis", "", "", "", 0, 0}));
  WriteAll(dir.filePath("broken.mp3"),
           QByteArray("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10) + QByteArray(40, 'x'));
  WriteAll(dir.filePath("empty.flac"), "");
  WriteAll(dir.filePath("cover.jpg"), "not music");
  WriteAll(dir.filePath("notes.txt"), "not music");

  const TMusicAlbum album = AlbumDepuisDossier(dir.path());
  EXPECT_EQ(album.Titres(), QStringList({"Un", "Trois", "Dix", "Bis", "B sans numéro"}));
  EXPECT_EQ(album.Artist, "Autre");
  EXPECT_EQ(album.Album, "Marées");
  EXPECT_EQ(album.Year, "1987");
  EXPECT_EQ(album.Genre, "Pop");
  ASSERT_EQ(album.Tracks.size(), 5u);
  EXPECT_NEAR(album.Tracks[0].DurationMs, 1500, 60);
  EXPECT_NEAR(album.Tracks[1].DurationMs, 2000, 60);
  EXPECT_EQ(album.Skipped, QStringList({dir.filePath("broken.mp3"), dir.filePath("empty.flac")}));

  TzunoAlbumCD base;
  base.FileName = dir.filePath("albumcd_1.def");
  ASSERT_EQ(base.AjouteAlbum(album.AlbumLines(base)), 0);
  EXPECT_EQ(base.GetValeur("cdtitres"), "Un|Trois|Dix|Bis|B sans numéro|");
  EXPECT_EQ(base.GetValeur("cdartiste"), "Autre");

  EXPECT_TRUE(AlbumDepuisDossier(dir.filePath("missing")).Tracks.empty());
}
