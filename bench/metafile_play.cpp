// Playing 10 MB metafiles made of one record kind repeated, the way a hostile or runaway file would
// be: the time of one playback onto a 1000 x 1000 bitmap. The goal is under 2 s for any of them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>

#include "render/canvas.h"
#include "render/emf_writer.h"
#include "render/metafile.h"

namespace {

constexpr int kFileBytes = 10 << 20;

void Put16(QByteArray& b, uint16_t v) {
  b.append(char(v & 0xFF)).append(char(v >> 8));
}
void Put32(QByteArray& b, uint32_t v) {
  Put16(b, uint16_t(v & 0xFFFF)), Put16(b, uint16_t(v >> 16));
}

// A placeable WMF of 1000 x 1000 units whose body is `record` repeated to fill 10 MB.
QByteArray Wmf(const std::vector<QByteArray>& cycle) {
  QByteArray body;
  body.reserve(kFileBytes + 64);
  while (body.size() < kFileBytes)
    for (const QByteArray& r : cycle) body += r;
  Put32(body, 3), Put16(body, 0);  // META_EOF
  QByteArray out;
  Put32(out, 0x9AC6CDD7), Put16(out, 0);
  for (int v : {0, 0, 1000, 1000, 1440}) Put16(out, uint16_t(v));
  Put32(out, 0), Put16(out, 0);
  Put16(out, 1), Put16(out, 9), Put16(out, 0x300), Put32(out, uint32_t((18 + body.size()) / 2)),
      Put16(out, 8);
  Put32(out, 20), Put16(out, 0);
  return out + body;
}

QByteArray WmfRecord(uint16_t function, std::initializer_list<int> words) {
  QByteArray r;
  Put32(r, uint32_t(3 + words.size()));
  Put16(r, function);
  for (int w : words) Put16(r, uint16_t(w));
  return r;
}

// An EMF of 100 x 100 mm in 0.01 mm units whose body `add` writes until the file holds 10 MB.
template <typename Add>
QByteArray Emf(Add add) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 10000)));
  w.SetMapMode(8);
  w.SetWindowExt(10000, 10000);
  w.SetViewportExt(378, 378);
  QByteArray data;
  for (int round = 0;; ++round) {
    if (round % 4096 == 0 && (data = w.Finish()).size() >= kFileBytes) break;
    add(w, round);
  }
  return data;
}

void Play(benchmark::State& state, const QByteArray& data, int side = 1000) {
  TMetafile mf;
  if (!mf.LoadFromData(data)) {
    state.SkipWithError("not a metafile");
    return;
  }
  QImage img(side, side, QImage::Format_RGB888);
  for (auto _ : state) {
    img.fill(Qt::white);
    TBitmapCanvas canvas(&img);
    PlayMetafile(mf, canvas, 0, 0, side, side);
  }
  state.counters["records"] = double(mf.Records().size());
  state.counters["MB"] = data.size() / 1048576.0;
}

// The reported file: 625,000 pen creations, the object table full after 65,536 of them.
void BM_WmfPenCreations(benchmark::State& state) {
  Play(state, Wmf({WmfRecord(0x02FA, {0, 1, 0, 0x00FF, 0})}));
}

// Objects created, selected, used and deleted again and again, with a few kept alive.
void BM_WmfObjectChurn(benchmark::State& state) {
  std::vector<QByteArray> cycle;
  for (int i = 0; i < 3; ++i) cycle.push_back(WmfRecord(0x02FC, {0, 0x00FF, 0, 0}));  // brushes kept
  cycle.push_back(WmfRecord(0x02FA, {0, 3, 0, 0xFF00, 0}));                           // pen, slot 3
  cycle.push_back(WmfRecord(0x012D, {3}));
  cycle.push_back(WmfRecord(0x0213, {500, 500}));
  cycle.push_back(WmfRecord(0x01F0, {3}));
  Play(state, Wmf(cycle));
}

// Small shapes: the cost of the records themselves.
void BM_WmfRectangles(benchmark::State& state) {
  Play(state, Wmf({WmfRecord(0x041B, {110, 210, 100, 200})}));
}

void BM_EmfRectangles(benchmark::State& state) {
  Play(state, Emf([](TEmfWriter& w, int i) {
         const int x = i * 37 % 9900, y = i * 101 % 9900;
         w.Rectangle(x, y, x + 100, y + 100);
       }));
}

// Rectangles covering most of the picture, drawn into a 120 x 120 thumbnail: bound by the fill
// rate, 750,000 times 8,000 pixels.
void BM_WmfLargeRectanglesInAThumbnail(benchmark::State& state) {
  Play(state, Wmf({WmfRecord(0x041B, {950, 950, 50, 50})}), 120);
}

// Raw EMF records repeated after the mapping records until the file holds 10 MB.
QByteArray EmfRecord(uint32_t type, const QByteArray& params) {
  QByteArray r;
  Put32(r, type), Put32(r, uint32_t(8 + params.size()));
  return r + params;
}
QByteArray EmfOf(const QByteArray& cycle) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 10000)));
  w.SetMapMode(8);
  w.SetWindowExt(10000, 10000);
  w.SetViewportExt(378, 378);
  QByteArray data = w.Finish();
  const QByteArray end = data.right(20);  // EMR_EOF
  data.chop(20);
  data.reserve(kFileBytes + cycle.size() + 20);
  while (data.size() < kFileBytes) data += cycle;
  return data + end;
}

// Clip regions of 100,000 scattered rectangles each.
void BM_EmfClipRegions(benchmark::State& state) {
  QByteArray rgn;
  const int n = 100000;
  Put32(rgn, 32 + 16 * n), Put32(rgn, 1);  // region bytes, RGN_AND
  Put32(rgn, 32), Put32(rgn, 3), Put32(rgn, n), Put32(rgn, 16 * n);
  for (int i = 0; i < 4; ++i) Put32(rgn, 0);
  for (int i = 0; i < n; ++i) {
    const int x = int(i * 7919LL % 1900), y = int(i * 104729LL % 1400);
    for (int v : {x, y, x + 3, y + 2}) Put32(rgn, uint32_t(v));
  }
  QByteArray reset;
  Put32(reset, 0), Put32(reset, 5);  // RGN_COPY of no region: the default clip again
  Play(state, EmfOf(EmfRecord(75, rgn) + EmfRecord(43, QByteArray(16, '\0')) + EmfRecord(75, reset)));
}

// Clip paths of a 2000-point star, each selected, filled through and dropped.
void BM_EmfClipPaths(benchmark::State& state) {
  QByteArray polygon(16, '\0');
  Put32(polygon, 2000);
  for (int i = 0; i < 2000; ++i) {
    const double a = i * 3.14159265 * 0.999;
    Put32(polygon, uint32_t(5000 + int(4900 * std::cos(a)))),
        Put32(polygon, uint32_t(5000 + int(4900 * std::sin(a))));
  }
  QByteArray rect;
  for (int v : {0, 0, 10000, 10000}) Put32(rect, uint32_t(v));
  QByteArray mode, back;
  Put32(mode, 5), Put32(back, uint32_t(-1));
  Play(state, EmfOf(EmfRecord(33, {}) + EmfRecord(59, {}) + EmfRecord(3, polygon) + EmfRecord(60, {}) +
                    EmfRecord(67, mode) + EmfRecord(43, rect) + EmfRecord(34, back)));
}

// One polyline of 1.3 million points with a wide pen.
void BM_EmfLongPolyline(benchmark::State& state) {
  std::vector<QPoint> pts;
  for (int i = 0; i < 1300000; ++i) pts.emplace_back((i * 37) % 10000, (i * 101) % 10000);
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 10000)));
  w.SelectObject(w.CreatePen(0, 20, clBlack));
  w.SetShortPoints(false);
  w.Polyline(pts);
  Play(state, w.Finish());
}

// Texts with a new font each time.
void BM_EmfTexts(benchmark::State& state) {
  Play(state, Emf([](TEmfWriter& w, int i) {
         TLogFont lf;
         lf.Height = -(100 + i % 400);
         lf.Escapement = (i * 10) % 3600;
         lf.FaceName = "Arial";
         const uint32_t font = w.CreateFont(lf);
         w.SelectObject(font);
         w.TextOut(i % 9000, i % 9000, "Lorvane");
         w.DeleteObject(font);
       }));
}

}  // namespace

BENCHMARK(BM_WmfPenCreations)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WmfObjectChurn)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WmfRectangles)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmfRectangles)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WmfLargeRectanglesInAThumbnail)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmfClipRegions)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmfLongPolyline)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmfClipPaths)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmfTexts)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
