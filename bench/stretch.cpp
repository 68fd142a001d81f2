// Resampler throughput: the drawing pipeline's halving with Box, thumbnails with Mitchell, and an
// enlargement with Lanczos3. Qt's own smooth scaling runs beside it as a yardstick.
#include <benchmark/benchmark.h>

#include <QImage>
#include <random>

#include "imagetools/resample.h"

namespace {

QImage Picture(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  std::mt19937 rng(7);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < 3 * w; ++x) p[x] = uchar((x / 3 + y + (rng() & 31)) & 0xff);
  }
  return img;
}

void Report(benchmark::State& state, const QImage& src) {
  state.counters["src_MPix/s"] = benchmark::Counter(double(src.width()) * src.height() / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Stretch(benchmark::State& state, int filter, int sw, int sh, int dw, int dh) {
  const QImage src = Picture(sw, sh);
  QImage dst(dw, dh, QImage::Format_RGB888);
  for (auto _ : state) {
    Stretch(src, dst, filter, ResampleFilters[size_t(filter)].Support);
    benchmark::DoNotOptimize(dst.constBits());
  }
  Report(state, src);
}

void BM_QtSmooth(benchmark::State& state, int sw, int sh, int dw, int dh) {
  const QImage src = Picture(sw, sh);
  for (auto _ : state) {
    QImage dst = src.scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    benchmark::DoNotOptimize(dst.constBits());
  }
  Report(state, src);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Stretch, Box_2000_to_1000, kBoxFilter, 2000, 2000, 1000, 1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Mitchell_2000_to_1000, kMitchellFilter, 2000, 2000, 1000, 1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Lanczos3_2000_to_1000, kLanczos3Filter, 2000, 2000, 1000, 1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Mitchell_4000x3000_to_120x90, kMitchellFilter, 4000, 3000, 120, 90)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Box_4000x3000_to_120x90, kBoxFilter, 4000, 3000, 120, 90)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Mitchell_2400_to_1200, kMitchellFilter, 2400, 2400, 1200, 1200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Box_2400_to_1200, kBoxFilter, 2400, 2400, 1200, 1200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stretch, Lanczos3_500_to_1000, kLanczos3Filter, 500, 500, 1000, 1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_QtSmooth, Qt_2000_to_1000, 2000, 2000, 1000, 1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_QtSmooth, Qt_4000x3000_to_120x90, 4000, 3000, 120, 90)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
