#include "render/picture_io.h"

#include <QFile>
#include <atomic>

#include "render/codecs.h"
#include "shell/textfile.h"

namespace {
std::atomic<qint64> gMaxPixels{100'000'000};
// No picture file we can decode within the pixel limit comes near this size.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

enum class Codec { None, Png, Jpeg, Bmp };

Codec CodecFor(const QString& name) {
  // Archive entries may use backslashes as separators: the extension is what follows the last dot of the
  // last path component.
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || name.indexOf(QLatin1Char('/'), dot) >= 0 || name.indexOf(QLatin1Char('\\'), dot) >= 0)
    return Codec::None;
  const QString ext = name.mid(dot + 1).toUpper();
  if (ext == QLatin1String("PNG")) return Codec::Png;
  if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG")) return Codec::Jpeg;
  if (ext == QLatin1String("BMP")) return Codec::Bmp;
  return Codec::None;
}
}  // namespace

qint64 MaxPicturePixels() {
  return gMaxPixels.load(std::memory_order_relaxed);
}
void SetMaxPicturePixels(qint64 pixels) {
  gMaxPixels.store(pixels, std::memory_order_relaxed);
}

bool ReadPictureFile(const QString& path, QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const qint64 size = f.size();
  if (size <= 0 || size > kMaxFileBytes) return false;
  bytes = f.readAll();
  return bytes.size() == size;
}

bool WritePictureFile(const QString& path, const QByteArray& bytes) {
  return WriteFileAtomically(path, bytes);
}

QImage DecodePicture(const QByteArray& bytes, const QString& name, QSize jpegAtLeast) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
  const size_t size = size_t(bytes.size());
  switch (CodecFor(name)) {
    case Codec::Png:
      return DecodePng(data, size);
    case Codec::Jpeg:
      return DecodeJpeg(data, size, jpegAtLeast);
    case Codec::Bmp:
      return DecodeBmp(data, size);
    case Codec::None:
      break;
  }
  return QImage();
}

QImage LoadPicture(const QString& path, QSize jpegAtLeast) {
  if (CodecFor(path) == Codec::None) return QImage();
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes)) return QImage();
  return DecodePicture(bytes, path, jpegAtLeast);
}
