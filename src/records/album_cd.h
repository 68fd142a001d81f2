// The CD album base: a file of albums (artist, title, year, genre, track list), one section each,
// and the current album, which answers the "cd" merge fields of audio CD templates. Also the
// conversions that make album lines from a disc lookup entry and from the tags of music files.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// The album's five fields, in the order of the album lines this file makes.
enum TAlbumKey { akArtiste = 0, akAlbum, akAnnee, akGenre, akTitres };
inline constexpr int kAlbumKeyCount = 5;

class TzunoAlbumCD {
 public:
  // An album file larger than this is not read (real bases are a few hundred kilobytes); the base
  // then reads as unreadable and refuses every change, so the file is never replaced by less.
  static constexpr qint64 kMaxFileSize = 32 * 1024 * 1024;

  // The key names; ChargeCles replaces them with the language file's.
  std::array<QString, kAlbumKeyCount> Cles = {QStringLiteral("cdArtiste"), QStringLiteral("cdAlbum"),
                                              QStringLiteral("cdAnnée"), QStringLiteral("cdGenre"),
                                              QStringLiteral("cdTitres")};
  QString FileName;
  // The installation's album file, read while FileName does not exist yet (the user's copy is made
  // when the main window opens); changes always go to FileName.
  QString InstalledFileName;
  // The current album: an index into the file's sections, in file order.
  int Courant = 0;

  // Loads the key names from the language file's entries of the same names: trimmed, and without
  // their first and last character when they start with "<". A name that comes out empty is left
  // empty and, with `report`, reported to the user ("MLS('" + key + "')").
  void ChargeCles(bool report = true);
  const QString& Cle(TAlbumKey key) const { return Cles[size_t(key)]; }

  // The value of a key (letter case ignored) in the current album; empty when absent.
  QString GetValeur(const QString& name);
  // The value of a key in album `index`.
  QString Valeur(int index, const QString& name);
  // The number of albums (sections) in the file; 0 when there is none or it cannot be read.
  int Count();
  // Appends an album made of key=value lines (lines without "=" are dropped, line breaks inside a
  // line become spaces) and answers its index, or -1 when nothing was written (the file cannot be
  // read or written). The caller makes it current.
  int AjouteAlbum(const QStringList& lines);
  // Writes the five keys of album `index`; the track list is made from the lines: each is
  // trimmed and every non-empty one is followed by "|". False when nothing was written.
  bool EcritAlbum(int index, const QString& artiste, const QStringList& titres, const QString& genre,
                  const QString& annee, const QString& album);
  // Rewrites the file without album `index`, the others renumbered from 0 in their order. False
  // when nothing was written (no file, no such album, a write failure).
  bool SupprimeAlbum(int index);
  // One entry per album in file order: artist + " - " + album title.
  void ListeAlbums(QStringList& list);

  // Whether the file could be read at the last access (a missing file counts as readable and
  // empty); when not, Erreur says why and every change is refused.
  bool Lisible();
  QString Erreur();

  // The five album lines ("cdArtiste=…" …) of values; the track list is joined as EcritAlbum does.
  QStringList AlbumLines(const QString& artiste, const QString& album, const QString& annee,
                         const QString& genre, const QStringList& titres) const;
  // Turns the lines of a lookup entry ("DTITLE=Artist / Title", "DYEAR=", "DGENRE=", "TTITLE0="…)
  // into the five album lines, replacing the list's content. Artist and title are the parts of
  // DTITLE around its first "/", trimmed (no "/": the whole is the title); the track list stops at
  // the first track number that is missing or empty. The first line of each key counts.
  void DepuisEntree(QStringList& lines) const;

 private:
  struct Section {
    QString header;     // the header line as stored
    QStringList lines;  // the lines after it, up to the next header
  };
  // Reads the file when it changed since the last read; false when it cannot be read.
  bool Load();
  bool Save(const QStringList& lines);
  QStringList FileLines() const;
  static QString KeyValue(const QStringList& lines, const QString& name, bool* found = nullptr);

  QStringList preamble_;  // lines before the first section
  std::vector<Section> sections_;
  bool readable_ = true;
  QString error_;
  // What the file was when read: size (-1 absent, -2 never read), modification time, identity.
  QString loadedName_;
  int64_t size_ = -2, stampNs_ = 0;
  uint64_t inode_ = 0;
};

// The program's album base, null until start-up creates it.
TzunoAlbumCD* AlbumCD();
void SetAlbumCD(TzunoAlbumCD* albums);

// The track list value of titles: each trimmed, every non-empty one followed by "|".
QString JoinTitres(const QStringList& titres);
// The titles of a track list value (its "|"-separated parts, without the empty last one).
QStringList SplitTitres(const QString& titres);

// An ID3 version 1 tag.
struct TMP3TagV1 {
  QString Artist, Album, Title, Year, Genre;
};
// The genre name of an ID3 version 1 genre code ("Other" beyond the table).
QString GenreV1(int code);
// Reads the ID3 version 1 tag in the last 128 bytes of the file; leaves `tag` untouched when the
// file is missing, too short or has no tag. True when a tag was read.
bool LitTagMP3(const QString& fileName, TMP3TagV1& tag);

// One music file's tags and length, read through the file's own tag format (MP3: ID3v2, then
// ID3v1; Ogg Vorbis and FLAC: Vorbis comments; M4A: its item list).
struct TMusicTrack {
  QString File;
  QString Title, Artist, Album, Year, Genre;
  int Track = 0;  // 0 when the file has no track number
  int DurationMs = 0;
};
// The file names music files are recognised by.
QStringList MusicFileSuffixes();  // "mp3", "ogg", "oga", "flac", "m4a", "mp4"
// Reads one file; false (the track keeping only its File) when it is not a music file that can be
// read. Broken or missing tags leave the fields empty, never fail the read of the others.
bool LitTagMusique(const QString& fileName, TMusicTrack& track);

// An album made of music files: the first non-empty artist, album, year and genre of the tracks,
// and the tracks in track-number order (files without a number after, then by file name). A track
// without a title is named after its file.
struct TMusicAlbum {
  QString Artist, Album, Year, Genre;
  std::vector<TMusicTrack> Tracks;
  // Files that were not read as music (unreadable or not music).
  QStringList Skipped;
  QStringList Titres() const;
  // The five album lines for TzunoAlbumCD::AjouteAlbum.
  QStringList AlbumLines(const TzunoAlbumCD& base) const;
};
// The album of the given music files (files with other suffixes are skipped, not read).
TMusicAlbum AlbumDepuisFichiers(const QStringList& files);
// The album of the music files directly in a folder.
TMusicAlbum AlbumDepuisDossier(const QString& folder);
