// Generator of the picture library under donnees/Images: backgrounds, textures, papers, photos,
// labels, ribbons, accessories, borders and frames. The user's own folders ("Mes fonds", "Mes
// etiquettes") stay empty.
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "common/generator.h"
#include "pictures/art.h"
#include "pictures/library.h"
#include "render/picture_io.h"

namespace pictures {
namespace {

// Printing quality for photos and backgrounds, and the ceiling of the whole library.
constexpr int kJpegQuality = 85;
constexpr qint64 kBudgetBytes = 25LL * 1000 * 1000;

Library MakeLibrary(const QString& sources) {
  Library library;
  AddBackgrounds(library);
  AddMaterials(library);
  AddCutouts(library);
  AddPhotos(library, sources);
  return library;
}

// Draws and encodes one picture, and checks that the program's own loader reads it back whole.
bool Make(const Picture& p, QByteArray* bytes, QString* error) {
  const QImage image = p.draw();
  if (image.isNull()) {
    *error = QStringLiteral("%1 could not be made (is its source file missing?)").arg(p.name);
    return false;
  }
  const bool png = p.name.endsWith(QLatin1String(".png"));
  *bytes = png ? EncodePngBytes(image) : EncodeJpegQuality(image, kJpegQuality);
  const QImage back = DecodePicture(*bytes, p.name);
  if (bytes->isEmpty() || back.size() != image.size()) {
    *error = QStringLiteral("%1 does not decode").arg(p.name);
    return false;
  }
  if (png && back.pixel(0, 0) != Magenta().rgb()) {
    *error = QStringLiteral("%1 is a cut-out without the key colour in its corner").arg(p.name);
    return false;
  }
  return true;
}

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Images");
  const Library library = MakeLibrary(context.sources);
  QSet<QString> names;
  for (const Picture& p : library) {
    if (names.contains(p.name.toLower())) {
      *error = QStringLiteral("two pictures named %1").arg(p.name);
      return false;
    }
    names.insert(p.name.toLower());
  }
  // Pictures are independent of each other: they are drawn and encoded on a few threads, then
  // written in library order.
  QElapsedTimer timer;
  timer.start();
  std::vector<QByteArray> encoded(library.size());
  std::vector<QString> failures(library.size());
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < library.size(); i = next++) Make(library[i], &encoded[i], &failures[i]);
  };
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  qint64 total = 0;
  for (size_t i = 0; i < library.size(); ++i) {
    if (!failures[i].isEmpty()) {
      *error = failures[i];
      return false;
    }
    total += encoded[i].size();
    const Picture& p = library[i];
    if (!context.output->Write(root + QLatin1Char('/') + p.folder + QLatin1Char('/') + p.name, encoded[i],
                               error))
      return false;
  }
  // The browser's quality filter reads each picture's pixel size from this list; without it the
  // filter stays hidden.
  QByteArray sizes = "[Dim]\r\n";
  for (size_t i = 0; i < library.size(); ++i) {
    QBuffer buffer(&encoded[i]);
    const QSize size = QImageReader(&buffer).size();
    sizes += library[i].name.toLatin1() + '=' + QByteArray::number(size.width()) + ',' +
             QByteArray::number(size.height()) + "\r\n";
  }
  if (!context.output->Write(QStringLiteral("donnees/Cache/Images/images.def"), sizes, error)) return false;
  // The user's own backgrounds and labels go to these folders, which the installation check
  // requires; they ship empty.
  for (const char* folder : {"Mes fonds", "Mes etiquettes"})
    if (!context.output->Write(root + QLatin1Char('/') + QLatin1String(folder) + QStringLiteral("/.keep"),
                               QByteArray(), error))
      return false;
  // The photographs' licence travels with them.
  QFile licence(context.sources + QStringLiteral("/pictures/COPYING-GPL-2.txt"));
  if (!licence.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("cannot read %1").arg(licence.fileName());
    return false;
  }
  if (!context.output->Write(root + QStringLiteral("/Photos/Nature/COPYING-GPL-2.txt"), licence.readAll(),
                             error))
    return false;
  if (total > kBudgetBytes) {
    *error =
        QStringLiteral("the library weighs %1 bytes, over its budget of %2").arg(total).arg(kBudgetBytes);
    return false;
  }
  // Only a complete run may clear stale files: a failed one keeps the shipped library.
  context.output->Own(root);
  std::printf("pictures: %d pictures, %lld bytes, %lld ms\n", int(library.size()), total,
              static_cast<long long>(timer.elapsed()));
  return true;
}

content::Registration registration(
    "pictures", 20,
    "picture library: backgrounds, textures, papers, photos, labels, ribbons, borders, accessories", Run);

}  // namespace
}  // namespace pictures
