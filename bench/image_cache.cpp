// An image object's cache build, which runs at every zoom change: a 24 Mpx camera JPEG (let go after
// reading, so each build reads the file again) at screen and print sizes, and a picture small enough
// to stay in memory.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <random>

#include "model/document.h"
#include "model/kinds.h"
#include "render/codecs.h"

namespace {

// Soft gradients, sensor-like noise and some texture: a JPEG near a camera's size.
QImage SyntheticPhoto(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  std::mt19937 rng(3);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const double v = std::sin(x * 0.003) * std::cos(y * 0.004) + 0.3 * std::sin((x + 2 * y) * 0.02);
      const int n = int(rng() % 17) - 8;
      p[0] = uchar(std::clamp(int(128 + 90 * v) + n, 0, 255));
      p[1] = uchar(std::clamp(int(100 + 60 * std::cos(v * 3)) + n, 0, 255));
      p[2] = uchar(std::clamp(int(90 + 70 * v * v) + n, 0, 255));
    }
  }
  return img;
}

struct Files {
  QTemporaryDir dir;
  QString large, small;
};

const Files& PhotoFiles() {
  static const std::unique_ptr<Files> files = [] {
    auto f = std::make_unique<Files>();
    f->large = f->dir.filePath(QStringLiteral("camera.jpg"));
    f->small = f->dir.filePath(QStringLiteral("small.jpg"));
    SaveJpeg(SyntheticPhoto(6000, 4000), f->large);
    SaveJpeg(SyntheticPhoto(1600, 1200), f->small);
    return f;
  }();
  return *files;
}

// Builds the cache of `file` shown at width x (height) pixels, one build per iteration.
void BM_CacheBuild(benchmark::State& state, bool large, int width) {
  const Files& files = PhotoFiles();
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  doc.PixelsPerMmX = doc.PixelsPerMmY = 1;
  auto* img = static_cast<TzunoCADImage*>(doc.CreateObjet(QStringLiteral("image")));
  img->SetFichierImage(large ? files.large : files.small);
  if (!img->HasPicture()) {
    state.SkipWithError("picture not read");
    return;
  }
  const QSize own = img->PictureSize();
  img->l = width;
  img->h = double(width) * own.height() / own.width();
  for (auto _ : state) {
    img->RebuildCache();
    benchmark::DoNotOptimize(img->Cache.constBits());
  }
  state.counters["released"] = img->Picture.isNull() ? 1 : 0;
  state.counters["cache_w"] = img->Cache.width();
}

}  // namespace

// A page on screen, a full-screen view and a print at 300 dpi of a 20 cm wide photo.
BENCHMARK_CAPTURE(BM_CacheBuild, Camera24M_to_400, true, 400)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CacheBuild, Camera24M_to_1500, true, 1500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CacheBuild, Camera24M_to_2362, true, 2362)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CacheBuild, Camera24M_to_4000, true, 4000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CacheBuild, Small2M_to_400, false, 400)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CacheBuild, Small2M_to_1000, false, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
