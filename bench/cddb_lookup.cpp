// A whole album lookup on a loopback server: disc image table of contents, query (one exact match),
// the read started from a posted event, and the entry's arrival.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "online/cddb.h"
#include "online/loopback_cddb.h"

namespace {

void BM_LookupRoundTrip(benchmark::State& state) {
  QTemporaryDir dir;
  QFile bin(dir.path() + "/disc.bin");
  bin.open(QIODevice::WriteOnly);
  bin.resize(qint64(212262) * 2352);
  bin.close();
  QString cue = "FILE \"disc.bin\" BINARY\n";
  for (int i = 0; i < 12; ++i)
    cue += QString::asprintf("  TRACK %02d AUDIO\n    INDEX 01 %02d:00:00\n", i + 1, i * 3);
  QFile cueFile(dir.path() + "/disc.cue");
  cueFile.open(QIODevice::WriteOnly);
  cueFile.write(cue.toUtf8());
  cueFile.close();
  qputenv("LORVANE_CD_IMAGES", cueFile.fileName().toUtf8());

  TLoopbackCddb server;
  QByteArray entry = "210 rock 940b0e0c CD database entry follows\r\n# xmcd\r\nDTITLE=Artiste / Album\r\n";
  for (int i = 0; i < 12; ++i)
    entry += "TTITLE" + QByteArray::number(i) + "=Titre " + QByteArray::number(i) + "\r\n";
  entry += ".\r\n";
  server.Handler = [&](const QByteArray& cmd) {
    return cmd.startsWith("cddb+query") ? QByteArray("200 rock 940b0e0c Artiste / Album\r\n") : entry;
  };
  TCddb cddb;
  cddb.ServerAddr = "127.0.0.1";
  cddb.ServerPort = server.Port();
  bool read = false;
  cddb.OnStatusMessage = [&](QObject*, const QString& s) {
    if (s == "Entry read" || s.startsWith("CDDB Component")) read = true;
  };
  cddb.OnMatch = [&](QObject*, const QStringList&, int& right) {
    right = 0;
    QTimer::singleShot(0, &cddb, [&] { cddb.Read(); });
  };
  for (auto _ : state) {
    read = false;
    if (!cddb.SelectDrive(cddb.DriveCount() - 1)) state.SkipWithError("no disc image");
    cddb.Query();
    WaitFor([&] { return read; }, 10000);
  }
  if (cddb.Entry().size() != 14) state.SkipWithError("entry not read");
}

}  // namespace

BENCHMARK(BM_LookupRoundTrip)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
