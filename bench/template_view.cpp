// Selecting a template in the catalogue shows both its faces: a shipped two-face template (a booklet
// with pictures and texts) is loaded into the preview document and drawn into a 1200 x 900 view,
// recto above verso, with its sheet-layout badge (goal: under 100 ms). Median and worst of 20 runs.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>

#include "catalogue/apercu_draw.h"
#include "model/document.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA);

void BM_SelectTemplateShowsBothFaces(benchmark::State& state) {
  QTemporaryDir appData;
  TInstallationOptions options;
  options.AppDataPath = appData.path();
  auto installation = OpenInstallation(kData, options);
  if (!installation) {
    state.SkipWithError("no installation");
    return;
  }
  const QString modele = installation->Soft().ModelesPath + QStringLiteral("CD et DVD/Audio/Foret.3.mdl");
  TzunoCADMdl document(nullptr, QRect(0, 0, 100, 100), 100, 100);
  installation->Connect(document);
  TApercuOptions view;
  view.SkinPath = installation->Soft().SkinPath;
  view.RectoCaption = QStringLiteral("Recto");
  view.VersoCaption = QStringLiteral("Verso");
  int faces = 0;
  for (auto _ : state) {
    if (!document.LoadFromFile(modele)) {
      state.SkipWithError("the template did not load");
      return;
    }
    const TApercuFaces shown = DessineApercu(document, QSize(1200, 900), view);
    faces = shown.FaceMode;
    benchmark::DoNotOptimize(shown.Verso.constBits());
  }
  state.counters["face_mode"] = faces;
}

}  // namespace

BENCHMARK(BM_SelectTemplateShowsBothFaces)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
