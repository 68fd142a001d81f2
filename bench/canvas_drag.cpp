// Dragging one object across a 120 x 120 mm page of 200 objects, 10 of them photos of 4000 x 3000
// pixels, in a canvas of 1600 x 1000 pixels: the time of each tick's render while the pointer moves
// (goal: median under 10 ms, the tick; worst under 20 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <vector>

#include "busy_page.h"
#include "editor/canvas_engine.h"
#include "model/document.h"
#include "model/image.h"
#include "model/object.h"

namespace {

void BM_DragTick(benchmark::State& state) {
  TzunoCAD cad(QSize(1600, 1000));
  // 1: the drag layers (what the editor uses); 0: every tick draws the whole page.
  cad.DragLayers = state.range(0) != 0;
  TzunoCADMdl& d = cad.Mdl();
  cad.Mode = 1;
  QImage photo(4000, 3000, QImage::Format_RGB888);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); x += 37) photo.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
  FillBusyPage(d, photo, 10);
  cad.ApplyZoom();
  cad.RequestRepaint();
  cad.Tick();
  auto* dragged = static_cast<TzunoCADRect*>(d.Objet(50));
  const auto px = [&](double mmX, double mmY) { return QPointF(mmX * cad.ZoomX, mmY * cad.ZoomY); };
  std::vector<double> ms, first;
  for (auto _ : state) {
    const QPointF start(dragged->x, dragged->y);
    cad.MouseMove(px(start.x(), start.y()));
    cad.MouseDown(px(start.x(), start.y()), Qt::LeftButton);
    for (int step = 1; step <= 30; ++step) {
      cad.MouseMove(px(start.x() + step * 0.5, start.y() + step * 0.3));
      const auto t0 = std::chrono::steady_clock::now();
      cad.Tick();
      const double t =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      (step == 1 ? first : ms).push_back(t);
    }
    cad.MouseUp(px(start.x() + 15, start.y() + 9), Qt::LeftButton);
    cad.MouseDown(px(start.x() + 15, start.y() + 9), Qt::LeftButton);
    cad.MouseMove(px(start.x(), start.y()));
    cad.MouseUp(px(start.x(), start.y()), Qt::LeftButton);
    cad.Tick();
  }
  std::sort(ms.begin(), ms.end());
  // The first tick of each drag draws the whole page and keeps the layers.
  state.counters["median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
  state.counters["worst_ms"] = ms.empty() ? 0 : ms.back();
  std::sort(first.begin(), first.end());
  state.counters["first_tick_worst_ms"] = first.empty() ? 0 : first.back();
  state.counters["ticks"] = double(ms.size());
}

}  // namespace

BENCHMARK(BM_DragTick)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
