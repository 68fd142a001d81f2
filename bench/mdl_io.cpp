// Document load and save throughput for growing object counts (objects per second).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "model/document.h"
#include "model/kinds.h"

namespace {

// A document with a realistic mix of kinds: rectangles, texts, images and lines.
QStringList MakeDocument(int objects) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 210, 297);
  for (int i = 0; i < objects; ++i) {
    const char* kind = (i % 4 == 0) ? "texte" : (i % 4 == 1) ? "image" : (i % 4 == 2) ? "rectangle" : "ligne";
    TzunoCADObj* o = d.CreateObjet(QString::fromLatin1(kind));
    o->Face = 1 + (i % 2);
    if (auto* t = dynamic_cast<TzunoCADTexte*>(o)) {
      t->Font.Height = 4000;
      t->LayoutText(QStringLiteral("Texte %1|ligne deux").arg(i));
    } else if (auto* img = dynamic_cast<TzunoCADImage*>(o)) {
      img->SetFichierImage(QStringLiteral("photo%1.jpg").arg(i));
    } else if (auto* line = dynamic_cast<TzunoCADLigne*>(o)) {
      line->AddPoint(QPointF(i % 210, 10));
      line->AddPoint(QPointF(20, i % 297));
    }
    if (o->IsBox()) {
      auto* b = static_cast<TzunoCADRect*>(o);
      b->x = (i % 200) + 0.25;
      b->y = (i % 280) + 0.5;
      b->l = 10.125;
      b->h = 5.5;
    }
  }
  return d.SaveToStrings();
}

void BM_Load(benchmark::State& state) {
  const QStringList text = MakeDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    d.LoadFromStrings(text);
    benchmark::DoNotOptimize(d.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Save(benchmark::State& state) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d.LoadFromStrings(MakeDocument(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(d.SaveToStrings().size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FileRoundTrip(benchmark::State& state) {
  const QString path = QStringLiteral("/tmp/lorvane-bench.mdl");
  {
    QStringList text = MakeDocument(static_cast<int>(state.range(0)));
    WriteTextFile(path, text);
  }
  for (auto _ : state) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    d.LoadFromFile(path);
    d.SaveToFile(path);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileRoundTrip)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
