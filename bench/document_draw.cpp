// Drawing throughput: a page of many full-page photos once their caches exist, and a large metafile.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <random>

#include "model/document.h"
#include "model/kinds.h"
#include "render/codecs.h"
#include "render/emf_writer.h"
#include "render/metafile.h"

namespace {

QString TempFile(const char* name) {
  return QDir::tempPath() + QStringLiteral("/lorvane-bench-") + QLatin1String(name);
}

long PeakMegabytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

// A 4000 x 3000 photo-like picture (gradients and noise, so the JPEG is realistically large).
QString Photo() {
  const QString path = TempFile("photo.jpg");
  if (QFileInfo::exists(path)) return path;
  QImage img(4000, 3000, QImage::Format_RGB888);
  std::mt19937 rng(3);
  for (int y = 0; y < img.height(); ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < img.width(); ++x, p += 3) {
      p[0] = static_cast<uchar>((x / 16 + (rng() & 15)) & 255);
      p[1] = static_cast<uchar>((y / 12 + (rng() & 15)) & 255);
      p[2] = static_cast<uchar>(((x + y) / 28) & 255);
    }
  }
  SaveJpeg(img, path);
  return path;
}

// Fifty full-page photos on an A4 page drawn at the editor's size; the first drawing builds the caches.
void BM_DrawFiftyPhotos(benchmark::State& state) {
  const QString photo = Photo();
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 210, 297);
  for (int i = 0; i < 50; ++i) {
    auto* img = static_cast<TzunoCADImage*>(doc.CreateObjet(QStringLiteral("image")));
    img->l = 210;
    img->h = 297;
    img->SetFichierImage(photo);
  }
  QImage page(800, 1131, QImage::Format_RGB888);
  TBitmapCanvas canvas(&page);
  doc.DrawPage(canvas, page.rect());
  for (auto _ : state) doc.DrawPage(canvas, page.rect());
  state.counters["peak_MB"] = static_cast<double>(PeakMegabytes());
}

// A metafile of 5,000 drawing records played into 1000 x 1000 pixels.
void BM_PlayMetafile5000(benchmark::State& state) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(26458, 26458)));  // 1000 pixels at 96 per inch
  std::mt19937 rng(5);
  auto coord = [&] { return static_cast<int>(rng() % 1000); };
  int records = 0;
  while (records < 5000) {
    const uint32_t brush = w.CreateBrush(0, RGBColor(rng() & 255, rng() & 255, rng() & 255));
    w.SelectObject(brush);
    const QPoint tri[3] = {{coord(), coord()}, {coord(), coord()}, {coord(), coord()}};
    w.Polygon(tri);
    w.Ellipse(coord(), coord(), coord(), coord());
    w.MoveTo(coord(), coord());
    w.LineTo(coord(), coord());
    w.Rectangle(coord(), coord(), coord(), coord());
    w.DeleteObject(brush);
    records += 8;
  }
  TMetafile mf;
  mf.LoadFromData(w.Finish());
  QImage target(1000, 1000, QImage::Format_RGB888);
  for (auto _ : state) {
    target.fill(Qt::white);
    TBitmapCanvas c(&target);
    PlayMetafile(mf, c, 0, 0, 1000, 1000);
  }
  state.counters["records"] = static_cast<double>(mf.Records().size());
}

// The sample disc label (disc shape, texts, overlay) rendered smoothed into 1000 x 1000 pixels:
// drawn at 2000 x 2000 and reduced with the box filter.
void BM_DrawBitmapDisc1000(benchmark::State& state) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  doc.LoadFromFile(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Modeles/Exemples/disque.mdl"));
  doc.OnChampFusion = [](TzunoCADObj*, const QString& f, QString& v) {
    v = QStringLiteral("Titre de l'album ") + f;
  };
  QImage bmp(1000, 1000, QImage::Format_RGB888);
  for (auto _ : state) doc.DrawBitmap(bmp);
}

}  // namespace

BENCHMARK(BM_DrawBitmapDisc1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFiftyPhotos)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PlayMetafile5000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
