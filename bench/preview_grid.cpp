// The catalogue's template grid over a folder of 500 templates whose previews are cached: Redraw
// loads every preview and paints it into the grid's one picture, then the widget paints what shows
// (goal: under 100 ms). Beside it, the time to make N missing previews of shipped templates on
// worker threads, which is what opening a folder without previews costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <memory>

#include "catalogue/previews.h"
#include "catalogue/ui/apercu_modele.h"
#include "shell/session/installation.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA);

// 500 previews copied from the shipped ones (160 x 160 JPEG files) into a temporary folder.
struct Folder {
  QTemporaryDir dir;
  QStringList previews;
  explicit Folder(int n) {
    const QString source = kData + QStringLiteral("/donnees/Modeles/CD et DVD/Audio/");
    const QStringList shipped = QDir(source).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (int i = 0; i < n && !shipped.isEmpty(); ++i) {
      previews << dir.filePath(QStringLiteral("t%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
      QFile::copy(source + shipped[i % shipped.size()], previews.last());
    }
  }
};

void BM_GridRedraw500(benchmark::State& state) {
  Folder folder(500);
  TzunoApercuModele grid;
  grid.resize(1024, 700);
  grid.Fichiers = folder.previews;
  grid.show();
  for (auto _ : state) {
    grid.Redraw();
    benchmark::DoNotOptimize(grid.grab());  // the visible part painted, as a show does
  }
  state.counters["cells"] = double(grid.Fichiers.size());
  state.counters["picture_px"] = double(grid.Image().width()) * grid.Image().height();
}

// The first showing of such a folder: a new grid, whose picture is new memory.
void BM_GridFirstRedraw500(benchmark::State& state) {
  Folder folder(500);
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<TzunoApercuModele>();
    grid->resize(1024, 700);
    grid->Fichiers = folder.previews;
    grid->show();
    state.ResumeTiming();
    grid->Redraw();
    benchmark::DoNotOptimize(grid->grab());
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}

// Templates of the shipped installation (business cards, disc labels: texts, pictures, shapes)
// copied N times into a folder; every iteration deletes their previews and makes them again.
void BM_MakeMissingPreviews(benchmark::State& state) {
  const int n = int(state.range(0)), threads = int(state.range(1));
  QTemporaryDir appData;
  TInstallationOptions options;
  options.AppDataPath = appData.path();
  auto installation = OpenInstallation(kData, options);
  if (!installation) {
    state.SkipWithError("no installation");
    return;
  }
  QTemporaryDir dir;
  QStringList sources;
  for (const char* folder : {"/donnees/Modeles/Cartes de visite/", "/donnees/Modeles/CD et DVD/Audio/"})
    for (const QString& f :
         QDir(kData + folder).entryList({QStringLiteral("*.mdl")}, QDir::Files, QDir::Name))
      sources << kData + folder + f;
  QStringList modeles;
  for (int i = 0; i < n; ++i) {
    modeles << dir.filePath(QStringLiteral("m%1.mdl").arg(i, 3, 10, QLatin1Char('0')));
    QFile::copy(sources[i % sources.size()], modeles.last());
  }
  TPreviewMaker maker;
  double ms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (const QString& m : modeles) QFile::remove(PreviewPath(m));
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    QEventLoop loop;
    QObject::connect(&maker, &TPreviewMaker::Finished, &loop, &QEventLoop::quit);
    maker.Start(
        modeles, 160, 160, [&](TzunoCADMdl& d) { installation->Connect(d); }, threads);
    loop.exec();
    maker.Wait();
    ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!maker.Errors().isEmpty()) state.SkipWithError("a template failed");
  }
  state.counters["ms_per_preview"] = ms / (double(n) * double(state.iterations()));
}

}  // namespace

BENCHMARK(BM_GridRedraw500)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_GridFirstRedraw500)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);
BENCHMARK(BM_MakeMissingPreviews)
    ->Args({50, 1})
    ->Args({50, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2)
    ->Repetitions(3);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
