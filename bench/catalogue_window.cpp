// The catalogue window as a person uses it: switching to a folder of 500 templates whose previews
// exist shows the grid (goal: under 300 ms, from the choice to the painted window), and choosing a
// template shows both its faces (goal: under 100 ms, from the click to the painted window).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "catalogue/ui/main_window.h"
#include "catalogue/ui/preview_progress.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA);
const QString kAudio = kData + QStringLiteral("/donnees/Modeles/CD et DVD/Audio/");

struct Catalogue {
  QTemporaryDir appData, dir;
  std::unique_ptr<TInstallation> installation;
  std::unique_ptr<TfmMain> window;
  QString a, b;

  // Two folders of n shipped disc templates each, with their previews.
  explicit Catalogue(int n) {
    TInstallationOptions options;
    options.AppDataPath = appData.path();
    options.Fonts = false;
    installation = OpenInstallation(kData, options);
    if (!installation) return;
    const QStringList shipped = QDir(kAudio).entryList({QStringLiteral("*.mdl")}, QDir::Files, QDir::Name);
    a = dir.filePath(QStringLiteral("A"));
    b = dir.filePath(QStringLiteral("B"));
    for (const QString& folder : {a, b}) {
      QDir().mkpath(folder);
      for (int i = 0; i < n; ++i) {
        const QString source = kAudio + shipped[i % shipped.size()];
        const QString base = folder + QStringLiteral("/t%1").arg(i, 3, 10, QLatin1Char('0'));
        QFile::copy(source, base + QStringLiteral(".mdl"));
        QFile::copy(QString(source).replace(QStringLiteral(".mdl"), QStringLiteral(".jpg")),
                    base + QStringLiteral(".jpg"));
      }
    }
    installation->Soft().ModelesPath = dir.path() + QLatin1Char('/');
    window = std::make_unique<TfmMain>();
    window->resize(1600, 1000);
    window->show();
    QApplication::processEvents();
  }
};

void BM_SwitchToFolderOf500(benchmark::State& state) {
  Catalogue c(500);
  if (!c.window) {
    state.SkipWithError("no installation");
    return;
  }
  bool second = false;
  for (auto _ : state) {
    c.window->AfficheDossier(second ? c.b : c.a);
    second = !second;
    benchmark::DoNotOptimize(c.window->grab());
    if (c.window->Progress()->Running()) state.SkipWithError("previews were missing");
  }
  state.counters["cells"] = double(c.window->ShownTemplates().size());
}

void BM_ChooseTemplateBothFaces(benchmark::State& state) {
  Catalogue c(6);
  if (!c.window) {
    state.SkipWithError("no installation");
    return;
  }
  // Two shipped disc templates with a recto and a verso, shown in turn so each iteration loads and
  // draws, with their six sheet variants beside them.
  const QString first = kAudio + QStringLiteral("Foret.3.mdl"),
                other = kAudio + QStringLiteral("Foret.4.mdl");
  c.window->AfficheDossier(kAudio);
  bool flip = false;
  for (auto _ : state) {
    c.window->AfficheModele(flip ? other : first);
    flip = !flip;
    benchmark::DoNotOptimize(c.window->grab());
  }
  state.counters["verso_shown"] = c.window->Verso()->isVisible() ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_SwitchToFolderOf500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK(BM_ChooseTemplateBothFaces)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
