// Picture lookup through the image folders: 40 folders of 500 pictures, the name in the last one.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "shell/settings.h"

namespace {

void BM_FindImageFileInLastOf40Folders(benchmark::State& state) {
  QTemporaryDir dir;
  const QString home = dir.path();
  QFile ini(home + QStringLiteral("/lorvane.ini"));
  ini.open(QIODevice::WriteOnly);
  ini.write("[lorvane]\r\ncode=data\r\n");
  ini.close();
  for (int f = 0; f < 40; ++f) {
    const QString folder = home + QStringLiteral("/data/Images/dossier%1/").arg(f, 2, 10, QLatin1Char('0'));
    QDir().mkpath(folder);
    for (int i = 0; i < 500; ++i) {
      QFile p(folder + QStringLiteral("photo_%1_%2.jpg").arg(f).arg(i));
      p.open(QIODevice::WriteOnly);
      p.write("jpeg bytes");
    }
  }
  // An installation's folders have long settled; freshly written ones are listed again every time.
  QThread::msleep(2100);
  TSoft soft(home + QStringLiteral("/lorvane.ini"), TSoftOptions{home, home + QStringLiteral("/user"), {}});
  soft.InitialisePaths();
  const QString name = QStringLiteral("Photo_39_499.JPG");  // last folder, other letter case
  if (soft.FindImageFile(name).isEmpty()) state.SkipWithError("not found");
  for (auto _ : state) benchmark::DoNotOptimize(soft.FindImageFile(name));
  state.counters["folders"] = static_cast<double>(soft.ImageFolders.size());
}

}  // namespace

BENCHMARK(BM_FindImageFileInLastOf40Folders)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
