// Thumbnails of camera-sized photos, one picture per iteration, many pictures in one process: the
// time reported is the time per picture. The photos are the JPEG files of $LORVANE_THUMB_PHOTOS
// (bench/compare_thumbs.sh sets it so that the peers work on the same files), else a few made here.
// Beside MakeThumb runs the same work with the photo decoded whole, which shows what the DCT-scaled
// decode saves.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <random>

#include "catalogue/thumbnails.h"
#include "imagetools/resample.h"
#include "render/codecs.h"
#include "render/picture_io.h"

namespace {

// Soft gradients, sensor-like noise and some texture: JPEG sizes near a camera's at this resolution.
QImage SyntheticPhoto(int w, int h, unsigned seed) {
  QImage img(w, h, QImage::Format_RGB888);
  std::mt19937 rng(seed);
  const double fx = 0.002 + 0.001 * (seed % 5), fy = 0.003 + 0.001 * (seed % 3);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const double v = std::sin(x * fx) * std::cos(y * fy) + 0.3 * std::sin((x + 2 * y) * 0.02);
      const int n = int(rng() % 17) - 8;
      p[0] = uchar(std::clamp(int(128 + 90 * v) + n, 0, 255));
      p[1] = uchar(std::clamp(int(100 + 60 * std::cos(v * 3)) + n, 0, 255));
      p[2] = uchar(std::clamp(int(90 + 70 * v * v) + n, 0, 255));
    }
  }
  return img;
}

struct Photos {
  std::unique_ptr<QTemporaryDir> made;  // only when the photos are our own
  std::unique_ptr<QTemporaryDir> outDir;
  QStringList files;
  QString out;
};

const Photos& TestPhotos() {
  static const Photos photos = [] {
    Photos p;
    const QString given = qEnvironmentVariable("LORVANE_THUMB_PHOTOS");
    if (!given.isEmpty()) {
      const QDir dir(given);
      for (const QString& name :
           dir.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.JPG")}, QDir::Files, QDir::Name))
        p.files << dir.filePath(name);
    } else {
      p.made = std::make_unique<QTemporaryDir>();
      for (unsigned i = 0; i < 6; ++i) {
        const QString file = p.made->filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (SaveJpeg(SyntheticPhoto(4000, 3000, i + 1), file)) p.files << file;
      }
    }
    p.out = qEnvironmentVariable("LORVANE_THUMB_OUT");
    if (p.out.isEmpty()) {
      p.outDir = std::make_unique<QTemporaryDir>();
      p.out = p.outDir->path();
    }
    QDir().mkpath(p.out);
    return p;
  }();
  return photos;
}

void BM_MakeThumb(benchmark::State& state) {
  const Photos& photos = TestPhotos();
  if (photos.files.isEmpty()) {
    state.SkipWithError("no photos");
    return;
  }
  qsizetype i = 0, failed = 0;
  for (auto _ : state) {
    bool written = false;
    const QString path = MakeThumb(photos.files[i++ % photos.files.size()], photos.out, 120, 120, &written);
    failed += !written;
    benchmark::DoNotOptimize(path.constData());
  }
  if (failed) state.SkipWithError("a thumbnail was not written");
  state.counters["pictures"] = double(photos.files.size());
}

// The same thumbnail from the whole decode: read, decode at full size, Mitchell, save.
void BM_ThumbFromFullDecode(benchmark::State& state) {
  const Photos& photos = TestPhotos();
  if (photos.files.isEmpty()) {
    state.SkipWithError("no photos");
    return;
  }
  qsizetype i = 0;
  for (auto _ : state) {
    const QString& file = photos.files[i++ % photos.files.size()];
    const QImage full = LoadPicture(file);
    QImage thumb(full.size().scaled(120, 120, Qt::KeepAspectRatio), QImage::Format_RGB888);
    Stretch(full, thumb, kMitchellFilter, 2.0f);
    SaveJpeg(thumb, ThumbPath(file, photos.out));
  }
}

}  // namespace

BENCHMARK(BM_MakeThumb)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ThumbFromFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
