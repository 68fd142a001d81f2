// The address book on 10,000 cards: building the form, listing every card and showing the current
// one (goal: under 200 ms). A card change on an open business card: the texts laid out again with the
// new card's values and the card drawn again (goal: under 20 ms). Medians of 20 runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>

#include "catalogue/apercu_draw.h"
#include "model/document.h"
#include "records/fiches.h"
#include "records/ui/fiche_window.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA);

std::unique_ptr<TInstallation> Open(QTemporaryDir& appData) {
  TInstallationOptions options;
  options.AppDataPath = appData.path();
  return OpenInstallation(kData, options);
}

// Cards shaped like the shipped one, each with its own name and town.
QStringList Cards(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) {
    lines << QStringLiteral("[%1]").arg(i + 1) << QStringLiteral("Civilité=Madame")
          << QStringLiteral("Nom=Nom%1").arg(count - i, 5, 10, QLatin1Char('0'))
          << QStringLiteral("Prénom=Claire")
          << QStringLiteral("Adresse=%1 rue des Tilleuls|Bâtiment B").arg(i) << QStringLiteral("Code=69003")
          << QStringLiteral("Ville=Ville %1").arg(i) << QStringLiteral("Pays=France")
          << QStringLiteral("Tél=04 00 00 12 34") << QStringLiteral("Email=c%1@example.com").arg(i)
          << QStringLiteral("Société=Atelier %1").arg(i) << QStringLiteral("Fonction=Graphiste")
          << QStringLiteral("AdressePRO=4 place du Marché") << QStringLiteral("VillePRO=Lyon");
  }
  return lines;
}

void BM_AddressBookOpensOn10000Cards(benchmark::State& state) {
  QTemporaryDir appData;
  auto in = Open(appData);
  if (!in) {
    state.SkipWithError("no installation");
    return;
  }
  in->Fiches().LoadFromStrings(Cards(10000));
  in->Fiches().SetCurrent(5000);
  for (auto _ : state) {
    TfmFiche form(nullptr, in->Fiches(), in->Soft().UserPath);
    form.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(form.lbPers->count());
    state.PauseTiming();
    form.hide();
    state.ResumeTiming();
  }
  state.counters["cards"] = in->Fiches().Count();
}

void BM_CardChangeRedrawsABusinessCard(benchmark::State& state) {
  QTemporaryDir appData;
  auto in = Open(appData);
  if (!in) {
    state.SkipWithError("no installation");
    return;
  }
  in->Fiches().LoadFromStrings(Cards(2));
  TzunoCADMdl document(nullptr, QRect(0, 0, 100, 100), 100, 100);
  in->Connect(document);
  if (!document.LoadFromFile(in->Soft().ModelesPath +
                             QStringLiteral("Cartes de visite/Personnelle - Centrée.mdl"))) {
    state.SkipWithError("the template did not load");
    return;
  }
  TApercuOptions view;
  view.SkinPath = in->Soft().SkinPath;
  int card = 0;
  for (auto _ : state) {
    card = 1 - card;
    in->Fiches().SetCurrent(card);
    document.RelayoutTextes();
    const TApercuFaces shown = DessineApercu(document, QSize(800, 600), view);
    benchmark::DoNotOptimize(shown.Recto.constBits());
  }
}

}  // namespace

BENCHMARK(BM_AddressBookOpensOn10000Cards)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(20);
BENCHMARK(BM_CardChangeRedrawsABusinessCard)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(20);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
