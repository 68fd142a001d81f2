// Thumbnails: any bytes named as a JPEG, PNG, BMP or metafile give a thumbnail or none, never a
// crash (the JPEG size is read from the header before decoding).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>

#include "catalogue/thumbnails.h"
#include "common/lsan_suppressions.h"
#include "common/qt_app.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* kNames[] = {"x.jpg", "x.png", "x.bmp", "x.emf"};
  const QString base =
      QDir::tempPath() + QStringLiteral("/lorvane-fuzz-thumb-%1-").arg(QCoreApplication::applicationPid());
  // The first byte picks the name the other bytes are read under.
  if (size == 0) return 0;
  const QString path = base + QLatin1String(kNames[data[0] % 4]);
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
  }
  const QImage thumb = ThumbPicture(path, 40, 30);
  if (!thumb.isNull() && (thumb.width() > 40 || thumb.height() > 30)) __builtin_trap();
  QFile::remove(path);
  return 0;
}
