#include "catalogue/thumbnails.h"

#include <QRect>
#include <QSize>
#include <cstdint>

#include "imagetools/resample.h"
#include "render/codecs.h"
#include "render/fit_rect.h"
#include "render/metafile.h"
#include "render/picture_io.h"

namespace {

constexpr float kThumbSupport = 2.0f;

bool HasJpegExtension(const QString& file) {
  return file.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
         file.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

// Width and height of a JPEG's frame, read from its SOF marker without decoding; an empty size when
// the markers before the frame header are not well formed. Only used to pick the DCT scale, so a
// hostile file can at worst make us decode more than needed.
QSize JpegFrameSize(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
  const size_t n = size_t(bytes.size());
  if (n < 4 || p[0] != 0xFF || p[1] != 0xD8) return {};
  size_t i = 2;
  while (i + 1 < n) {
    if (p[i] != 0xFF) return {};
    while (i < n && p[i] == 0xFF) ++i;  // fill bytes
    if (i >= n) return {};
    const uint8_t marker = p[i++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length field
    if (marker == 0xD9 || marker == 0xDA || i + 2 > n) return {};        // EOI or scan before any frame
    const size_t length = size_t(p[i]) << 8 | p[i + 1];
    if (length < 2 || i + length > n) return {};
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 7) return {};
      const int h = p[i + 3] << 8 | p[i + 4], w = p[i + 5] << 8 | p[i + 6];
      return w > 0 && h > 0 ? QSize(w, h) : QSize();
    }
    i += length;
  }
  return {};
}

// The picture's size fitted into W x H. A side that would round to nothing keeps one pixel: a
// thumbnail of a long strip is still a thumbnail.
QSize Fitted(int W, int H, QSize picture) {
  QRect r;
  if (!FitRect(W, H, picture.width(), picture.height(), r)) return {};
  return QSize(std::max(1, r.width()), std::max(1, r.height()));
}

// Cliparts mark their background with magenta in the top-left corner; it shows as white.
void WhitenMagenta(QImage& img) {
  const uchar* corner = img.constScanLine(0);
  if (corner[0] != 255 || corner[1] != 0 || corner[2] != 255) return;
  const int w = img.width();
  for (int y = 0; y < img.height(); ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < w; ++x, p += 3)
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) p[1] = 255;
  }
}

QImage Resampled(const QImage& src, QSize size) {
  QImage dst(size, QImage::Format_RGB888);
  if (dst.isNull()) return {};
  try {
    Stretch(src, dst, kMitchellFilter, kThumbSupport);
  } catch (const std::exception&) {
    return {};
  }
  return dst;
}

QImage RasterThumb(const QByteArray& bytes, const QString& file, int W, int H) {
  // A JPEG is decoded DCT-scaled, but never below twice the thumbnail on either axis, so the
  // Mitchell pass still has real pixels to filter. The thumbnail is fitted to the stored size:
  // scaled decodes round their sides up and would shift the aspect by a pixel.
  QSize full, atLeast;
  if (HasJpegExtension(file)) {
    full = JpegFrameSize(bytes);
    if (!full.isEmpty()) atLeast = Fitted(W, H, full) * 2;
  }
  QImage img = DecodePicture(bytes, file, atLeast);
  if (img.isNull()) return {};
  if (img.format() != QImage::Format_RGB888) img = img.convertToFormat(QImage::Format_RGB888);
  WhitenMagenta(img);
  const QSize size = Fitted(W, H, full.isEmpty() ? img.size() : full);
  if (size.isEmpty()) return {};
  return Resampled(img, size);
}

QImage MetafileThumb(const QByteArray& bytes, int W, int H) {
  TMetafile mf;
  if (!mf.LoadFromData(bytes)) return {};
  // Drawn at twice the size and reduced, which smooths the edges of lines and text, as long as the
  // larger drawing stays within the pixel limit.
  if (qint64(2 * W) * (2 * H) > MaxPicturePixels()) return RenderMetafile(mf, W, H, clWhite);
  const QImage big = RenderMetafile(mf, 2 * W, 2 * H, clWhite);
  if (big.isNull()) return {};
  return Resampled(big, QSize(W, H));
}

}  // namespace

QString ThumbPath(const QString& file, const QString& folder) {
  const qsizetype slash = std::max(file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\')));
  QString name = file.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  QString path = folder;
  if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
    path += QLatin1Char('/');
  return path + name + QStringLiteral("_thumb.jpg");
}

QImage ThumbPicture(const QString& file, int W, int H) {
  if (W <= 0 || H <= 0 || qint64(W) * H > MaxPicturePixels()) return {};
  QByteArray bytes;
  if (!ReadPictureFile(file, bytes)) return {};
  QImage thumb = RasterThumb(bytes, file, W, H);
  if (thumb.isNull()) thumb = MetafileThumb(bytes, W, H);
  return thumb;
}

QString MakeThumb(const QString& file, const QString& folder, int W, int H, bool* written) {
  if (written) *written = false;
  QString path;
  try {
    path = ThumbPath(file, folder);
    const QImage thumb = ThumbPicture(file, W, H);
    if (!thumb.isNull() && SaveJpeg(thumb, path) && written) *written = true;
  } catch (...) {
    // Out of memory on a huge picture: no thumbnail, as for any unreadable file.
  }
  return path;
}
