// A folder of 1,000 tagged music files read into an album (tags, track numbers, lengths), and the
// same album's lines added to an album base of 1,000 albums and read back.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "common/music_fixtures.h"
#include "records/album_cd.h"

namespace {

// 1,000 files: MP3 (ID3v2), FLAC, Ogg Vorbis and M4A in turn, numbered in reverse of their names.
QString MusicFolder() {
  static QTemporaryDir dir;
  static bool made = false;
  if (!made) {
    made = true;
    const char* suffixes[] = {"mp3", "flac", "ogg", "m4a"};
    for (int i = 0; i < 1000; ++i) {
      const QString name =
          dir.filePath(QStringLiteral("%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(suffixes[i % 4]));
      music_fixtures::WriteMusic(name,
                                 {QStringLiteral("Titre %1").arg(i), QStringLiteral("Artiste"),
                                  QStringLiteral("Album"), QStringLiteral("Pop"), unsigned(1000 - i), 2020},
                                 1.0);
    }
  }
  return dir.path();
}

void BM_ThousandMusicFilesIntoAnAlbum(benchmark::State& state) {
  const QString folder = MusicFolder();
  size_t tracks = 0;
  for (auto _ : state) {
    const TMusicAlbum album = AlbumDepuisDossier(folder);
    tracks = album.Tracks.size();
    benchmark::DoNotOptimize(album);
  }
  if (tracks != 1000) state.SkipWithError("not every file was read");
  state.counters["tracks"] = double(tracks);
}

void BM_AlbumBaseOfThousandAlbums(benchmark::State& state) {
  QTemporaryDir dir;
  TzunoAlbumCD base;
  base.FileName = dir.filePath(QStringLiteral("albumcd_1.def"));
  QStringList titles;
  for (int t = 0; t < 14; ++t) titles << QStringLiteral("Titre %1").arg(t);
  for (int i = 0; i < 1000; ++i)
    base.AjouteAlbum(base.AlbumLines(QStringLiteral("Artiste %1").arg(i), QStringLiteral("Album"),
                                     QStringLiteral("2020"), QStringLiteral("Pop"), titles));
  // One added album, then every merge field of it read as a cover drawing reads them.
  for (auto _ : state) {
    base.Courant = base.AjouteAlbum(base.AlbumLines(QStringLiteral("Nouveau"), QStringLiteral("Album"),
                                                    QStringLiteral("2021"), QStringLiteral("Rock"), titles));
    for (const QString& key : base.Cles) benchmark::DoNotOptimize(base.GetValeur(key));
    state.PauseTiming();
    base.SupprimeAlbum(base.Courant);
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_ThousandMusicFilesIntoAnAlbum)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_AlbumBaseOfThousandAlbums)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
