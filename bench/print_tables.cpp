// The print dialog's and lorvane-cli's table work on large inputs: the layout chosen for a document
// among N layouts (the table read once), and a mailing file read record by record.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "print/layouts.h"
#include "print/print_job.h"
#include "print/record_stream.h"

namespace {

// N layouts of several brands and papers, sizes spread so the nearest is near the end.
QString WriteLayouts(const QTemporaryDir& dir, int rows) {
  const QString file = dir.filePath(QStringLiteral("papiers_gab.csv"));
  QFile f(file);
  f.open(QIODevice::WriteOnly);
  f.write(
      "nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;orientation\r\n");
  for (int i = 0; i < rows; ++i)
    f.write(QStringLiteral("Format %1;Marque %2;P%3;;;5;5;2;2;%4;%5;2;3;0;0\r\n")
                .arg(i)
                .arg(i % 37)
                .arg(i % 5)
                .arg(20 + (rows - i) * 0.01, 0, 'f', 2)
                .arg(10 + (rows - i) * 0.01, 0, 'f', 2)
                .toLatin1());
  return file;
}

void BM_ChooseLayout(benchmark::State& state) {
  QTemporaryDir dir;
  TzunoGabarits layouts;
  layouts.FileName = WriteLayouts(dir, static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(
        ChooseLayout(layouts, QString(), QString(), QString(), QString(), QString(), 20, 10));
  state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ChooseLayout)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The print dialog's step: the formats of one brand listed, then the nearest of them chosen.
void BM_ListAndChooseFormat(benchmark::State& state) {
  QTemporaryDir dir;
  TzunoGabarits layouts;
  layouts.FileName = WriteLayouts(dir, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QStringList formats;
    layouts.ListFormats(formats, QString(), QString(), QString(), QString());
    benchmark::DoNotOptimize(ChooseFormat(layouts, formats, QString(), 20, 10));
  }
  state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ListAndChooseFormat)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Short records read one at a time (262,144 and a million lines).
void BM_ReadRecords(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("records.csv"));
  {
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    QByteArray text = "nom;ville\r\n";
    for (long long i = 0; i < state.range(0); ++i) text += "N" + QByteArray::number(i) + ";V\r\n";
    f.write(text);
  }
  for (auto _ : state) {
    TRecordStream records;
    QString error;
    if (!records.Open(file, &error)) state.SkipWithError("cannot open");
    QStringList row;
    long long n = 0;
    while (records.Next(row)) ++n;
    if (n != state.range(0)) state.SkipWithError("records lost");
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ReadRecords)->Arg(262144)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
