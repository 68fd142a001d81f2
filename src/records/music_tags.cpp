// Music-file tags through TagLib: each format's own tags (MP3 ID3v2 before ID3v1, Vorbis comments,
// the M4A item list) and the audio length.
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "records/album_cd.h"

namespace {

QString FromTag(const TagLib::String& s) {
  return QString::fromStdWString(s.toWString()).trimmed();
}

bool IsMusicFile(const QString& fileName) {
  return MusicFileSuffixes().contains(QFileInfo(fileName).suffix().toLower());
}

}  // namespace

QStringList MusicFileSuffixes() {
  return {QStringLiteral("mp3"),  QStringLiteral("ogg"), QStringLiteral("oga"),
          QStringLiteral("flac"), QStringLiteral("m4a"), QStringLiteral("mp4")};
}

bool LitTagMusique(const QString& fileName, TMusicTrack& track) {
  track = TMusicTrack();
  track.File = fileName;
  const QFileInfo info(fileName);
  if (!info.isFile() || !IsMusicFile(fileName)) return false;
  const QByteArray name = QFile::encodeName(fileName);
  TagLib::FileRef ref(name.constData(), true, TagLib::AudioProperties::Fast);
  if (ref.isNull()) return false;
  if (const TagLib::Tag* tag = ref.tag()) {
    track.Title = FromTag(tag->title());
    track.Artist = FromTag(tag->artist());
    track.Album = FromTag(tag->album());
    track.Genre = FromTag(tag->genre());
    if (tag->year() > 0) track.Year = QString::number(tag->year());
    track.Track = tag->track() > 0 && tag->track() < 100000 ? int(tag->track()) : 0;
  }
  if (const TagLib::AudioProperties* p = ref.audioProperties())
    track.DurationMs = std::max(0, p->lengthInMilliseconds());
  // A file with neither sound nor tags (a stray file with a music suffix) is no track.
  const bool tagged = !(track.Title.isEmpty() && track.Artist.isEmpty() && track.Album.isEmpty());
  return tagged || track.DurationMs > 0;
}

QStringList TMusicAlbum::Titres() const {
  QStringList out;
  for (const TMusicTrack& t : Tracks) out.append(t.Title);
  return out;
}

QStringList TMusicAlbum::AlbumLines(const TzunoAlbumCD& base) const {
  return base.AlbumLines(Artist, Album, Year, Genre, Titres());
}

TMusicAlbum AlbumDepuisFichiers(const QStringList& files) {
  TMusicAlbum album;
  for (const QString& file : files) {
    TMusicTrack t;
    if (!LitTagMusique(file, t)) {
      album.Skipped.append(file);
      continue;
    }
    if (t.Title.isEmpty()) t.Title = QFileInfo(file).completeBaseName();
    album.Tracks.push_back(std::move(t));
  }
  std::stable_sort(album.Tracks.begin(), album.Tracks.end(), [](const TMusicTrack& a, const TMusicTrack& b) {
    const bool an = a.Track > 0, bn = b.Track > 0;
    if (an != bn) return an;
    if (an && a.Track != b.Track) return a.Track < b.Track;
    const int byName =
        QFileInfo(a.File).fileName().compare(QFileInfo(b.File).fileName(), Qt::CaseInsensitive);
    if (byName != 0) return byName < 0;
    return a.File < b.File;
  });
  // The album's values come from the first track, in track order, that has them.
  for (const TMusicTrack& t : album.Tracks) {
    if (album.Artist.isEmpty()) album.Artist = t.Artist;
    if (album.Album.isEmpty()) album.Album = t.Album;
    if (album.Year.isEmpty()) album.Year = t.Year;
    if (album.Genre.isEmpty()) album.Genre = t.Genre;
  }
  return album;
}

TMusicAlbum AlbumDepuisDossier(const QString& folder) {
  QStringList files;
  const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
  for (const QFileInfo& e : entries)
    if (IsMusicFile(e.fileName())) files.append(e.filePath());
  return AlbumDepuisFichiers(files);
}
