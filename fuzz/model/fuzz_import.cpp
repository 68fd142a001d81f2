// Drawings imported as lines: any bytes named as an enhanced metafile import or fail, and what they
// give draws and saves without crashing.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>

#include "common/lsan_suppressions.h"
#include "common/qt_app.h"
#include "model/document.h"
#include "model/import_metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = QDir::tempPath() +
                       QStringLiteral("/lorvane-fuzz-import-%1.emf").arg(QCoreApplication::applicationPid());
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  TzunoCADMdl doc(nullptr, QRect(), 100, 100);
  if (ImportMetafile(&doc, path) && doc.Large > 0 && doc.Haut > 0) {
    QImage img(64, 64, QImage::Format_RGB888);
    img.fill(Qt::white);
    TBitmapCanvas canvas(&img);
    doc.DrawDirect(canvas, QRect(0, 0, 64, 64));
    doc.SaveToStrings();
  }
  QFile::remove(path);
  return 0;
}
