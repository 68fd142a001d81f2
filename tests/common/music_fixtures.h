// Tiny valid music files for tests and benchmarks: a few frames of silence (MP3, FLAC, Ogg Vorbis,
// M4A) built byte by byte, then tagged through TagLib as a player's tag editor would.
#pragma once

#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cstdint>

namespace music_fixtures {

inline void Put32(QByteArray& b, uint32_t v) {
  b.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}
inline void PutLE32(QByteArray& b, uint32_t v) {
  b.append(char(v)).append(char(v >> 8)).append(char(v >> 16)).append(char(v >> 24));
}

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz, mono: each 417-byte frame lasts 1152 samples (26 ms).
inline QByteArray Mp3Silence(double seconds) {
  const int frames = int(seconds * 44100 / 1152 + 0.5);
  QByteArray frame(417, '\0');
  frame[0] = char(0xFF), frame[1] = char(0xFB), frame[2] = char(0x90), frame[3] = char(0xC0);
  QByteArray out;
  for (int i = 0; i < frames; ++i) out += frame;
  return out;
}

// "fLaC", a STREAMINFO block giving the length (44.1 kHz, mono, 16 bits), then one frame's start.
inline QByteArray FlacSilence(double seconds) {
  const uint64_t samples = uint64_t(seconds * 44100);
  QByteArray out = "fLaC";
  out += char(0x80);  // last metadata block, STREAMINFO
  out += QByteArray("\x00\x00\x22", 3);
  out += QByteArray("\x10\x00\x10\x00", 4);  // block sizes 4096
  out += QByteArray(6, '\0');                // frame sizes unknown
  const uint64_t packed = (uint64_t(44100) << 44) | (uint64_t(0) << 41) | (uint64_t(15) << 36) | samples;
  for (int i = 7; i >= 0; --i) out += char(packed >> (8 * i));
  out += QByteArray(16, '\0');  // MD5 unknown
  out += QByteArray("\xFF\xF8\x69\x08\x00\x00", 6) + QByteArray(64, '\0');
  return out;
}

inline uint32_t OggCrc(const QByteArray& page) {
  uint32_t crc = 0;
  for (char ch : page) {
    crc ^= uint32_t(uint8_t(ch)) << 24;
    for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// One Ogg page holding whole packets (each under 255 bytes).
inline QByteArray OggPage(int flags, uint64_t granule, uint32_t sequence, const QList<QByteArray>& packets) {
  QByteArray page = "OggS";
  page += char(0);
  page += char(flags);
  for (int i = 0; i < 8; ++i) page += char(granule >> (8 * i));
  PutLE32(page, 0x4C4F5256);  // stream serial number
  PutLE32(page, sequence);
  PutLE32(page, 0);  // checksum, filled below
  page += char(packets.size());
  for (const QByteArray& p : packets) page += char(p.size());
  for (const QByteArray& p : packets) page += p;
  const uint32_t crc = OggCrc(page);
  for (int i = 0; i < 4; ++i) page[22 + i] = char(crc >> (8 * i));
  return page;
}

// Ogg Vorbis: identification, comment and setup headers, then one audio page ending the stream
// at the sample count of the length (44.1 kHz, mono).
inline QByteArray OggSilence(double seconds) {
  QByteArray id = "\x01vorbis";
  PutLE32(id, 0);
  id += char(1);
  PutLE32(id, 44100);
  PutLE32(id, 0), PutLE32(id, 64000), PutLE32(id, 0);
  id += char(0xB8), id += char(1);
  QByteArray comment = "\x03vorbis";
  PutLE32(comment, 4);
  comment += "test";
  PutLE32(comment, 0);
  comment += char(1);
  const QByteArray setup = QByteArray("\x05vorbis") + QByteArray(16, '\0');
  return OggPage(0x02, 0, 0, {id}) + OggPage(0, 0, 1, {comment, setup}) +
         OggPage(0x04, uint64_t(seconds * 44100), 2, {QByteArray(32, '\0')});
}

inline QByteArray Atom(const char* type, const QByteArray& body) {
  QByteArray out;
  Put32(out, uint32_t(body.size() + 8));
  return out + QByteArray(type, 4) + body;
}

// M4A: "ftyp", then "moov" with the movie header's length and one sound track, then the data.
inline QByteArray M4aSilence(double seconds) {
  QByteArray mvhd(4, '\0');  // version and flags
  Put32(mvhd, 0), Put32(mvhd, 0), Put32(mvhd, 1000), Put32(mvhd, uint32_t(seconds * 1000));
  Put32(mvhd, 0x00010000);
  mvhd += QByteArray("\x01\x00", 2) + QByteArray(10, '\0');
  for (uint32_t m : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u}) Put32(mvhd, m);
  mvhd += QByteArray(24, '\0');
  Put32(mvhd, 2);
  QByteArray hdlr(8, '\0');
  hdlr += "soun";
  hdlr += QByteArray(13, '\0');
  QByteArray mdhd(4, '\0');
  Put32(mdhd, 0), Put32(mdhd, 0), Put32(mdhd, 44100), Put32(mdhd, uint32_t(seconds * 44100));
  Put32(mdhd, 0);
  QByteArray mp4a(6, '\0');
  mp4a += QByteArray("\x00\x01", 2) + QByteArray(8, '\0');
  mp4a += QByteArray("\x00\x01\x00\x10", 4) + QByteArray(4, '\0');
  Put32(mp4a, 44100u << 16);
  QByteArray stsd(4, '\0');
  Put32(stsd, 1);
  stsd += Atom("mp4a", mp4a);
  const QByteArray stbl = Atom("stsd", stsd);
  const QByteArray trak =
      Atom("trak", Atom("mdia", Atom("mdhd", mdhd) + Atom("hdlr", hdlr) + Atom("minf", Atom("stbl", stbl))));
  QByteArray ftyp = "M4A ";
  Put32(ftyp, 0);
  ftyp += "M4A mp42isom";
  return Atom("ftyp", ftyp) + Atom("moov", Atom("mvhd", mvhd) + trak) + Atom("mdat", QByteArray(64, '\0'));
}

struct Tags {
  QString Title, Artist, Album, Genre;
  unsigned Track = 0, Year = 0;
};

inline TagLib::String T(const QString& s) {
  return TagLib::String(s.toStdWString());
}

// Writes the silent file of the suffix's format and tags it; false when either fails.
inline bool WriteMusic(const QString& path, const Tags& tags, double seconds = 2.0, bool id3v1 = false) {
  const QString suffix = path.section('.', -1).toLower();
  QByteArray audio;
  if (suffix == "mp3")
    audio = Mp3Silence(seconds);
  else if (suffix == "flac")
    audio = FlacSilence(seconds);
  else if (suffix == "ogg")
    audio = OggSilence(seconds);
  else if (suffix == "m4a")
    audio = M4aSilence(seconds);
  else
    return false;
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(audio) != audio.size()) return false;
  }
  const QByteArray name = QFile::encodeName(path);
  if (suffix == "mp3" && id3v1) {
    // An ID3 version 1 tag alone, as old rippers wrote it.
    TagLib::MPEG::File file(name.constData());
    TagLib::ID3v1::Tag* tag = file.ID3v1Tag(true);
    tag->setTitle(T(tags.Title)), tag->setArtist(T(tags.Artist)), tag->setAlbum(T(tags.Album));
    tag->setGenre(T(tags.Genre)), tag->setTrack(tags.Track), tag->setYear(tags.Year);
    return file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers);
  }
  TagLib::FileRef ref(name.constData());
  if (ref.isNull() || !ref.tag()) return false;
  TagLib::Tag* tag = ref.tag();
  tag->setTitle(T(tags.Title)), tag->setArtist(T(tags.Artist)), tag->setAlbum(T(tags.Album));
  tag->setGenre(T(tags.Genre)), tag->setTrack(tags.Track), tag->setYear(tags.Year);
  return ref.save();
}

}  // namespace music_fixtures
