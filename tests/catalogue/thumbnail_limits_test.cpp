// The thumbnail path stays within the picture limits whatever a file declares or a caller asks.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "catalogue/thumbnails.h"
#include "render/codecs.h"
#include "render/emf_writer.h"

#define LORVANE_ALLOC_METER_DEFINE
#include "render/alloc_meter.h"

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A small JPEG whose frame header declares w x h.
QByteArray DeclaringJpeg(int w, int h) {
  QImage img(16, 16, QImage::Format_RGB888);
  img.fill(qRgb(90, 120, 150));
  QByteArray jpeg = EncodeJpeg(img);
  const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
  EXPECT_GT(sof, 0);
  jpeg[sof + 5] = char(h >> 8), jpeg[sof + 6] = char(h), jpeg[sof + 7] = char(w >> 8),
             jpeg[sof + 8] = char(w);
  return jpeg;
}

}  // namespace

// A JPEG declaring 65500 x 65500 used to be decoded at an eighth of its size for its thumbnail:
// a 192 MB picture from a file of a few hundred bytes.
TEST(ThumbnailLimits, HugeDeclaredJpegAllocatesLittle) {
  if (!alloc_meter::Active()) GTEST_SKIP() << "the sanitizer's allocator counts for itself";
  QTemporaryDir dir;
  for (const QSize declared : {QSize(65500, 65500), QSize(32000, 3000)}) {
    const QString file = dir.filePath(QStringLiteral("huge.jpg"));
    const QByteArray bytes = DeclaringJpeg(declared.width(), declared.height());
    ASSERT_LT(bytes.size(), 1024);
    ASSERT_TRUE(WriteBytes(file, bytes));
    alloc_meter::Reset();
    const QImage thumb = ThumbPicture(file, 120, 120);
    EXPECT_LT(alloc_meter::PeakSinceReset(), size_t(16) << 20)
        << declared.width() << "x" << declared.height();
    EXPECT_TRUE(thumb.isNull());
  }
}

// A metafile is drawn at twice the thumbnail's size only while that stays within the pixel limit.
TEST(ThumbnailLimits, MetafileDrawingStaysWithinThePixelLimit) {
  if (!alloc_meter::Active()) GTEST_SKIP() << "the sanitizer's allocator counts for itself";
  TEmfWriter emf(QRect(0, 0, 2000, 2000));
  emf.SelectObject(emf.CreateBrush(0, RGBColor(255, 0, 0)));
  emf.Rectangle(0, 0, 38, 76);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("shape.emf"));
  ASSERT_TRUE(WriteBytes(file, emf.Finish()));
  const qint64 saved = MaxPicturePixels();
  SetMaxPicturePixels(1 << 20);
  alloc_meter::Reset();
  const QImage thumb = ThumbPicture(file, 1024, 1024);
  const size_t peak = alloc_meter::PeakSinceReset();
  SetMaxPicturePixels(saved);
  ASSERT_EQ(thumb.size(), QSize(1024, 1024));
  EXPECT_EQ(thumb.pixel(200, 500), qRgb(255, 0, 0));
  EXPECT_EQ(thumb.pixel(800, 500), qRgb(255, 255, 255));
  EXPECT_LT(peak, size_t(6) << 20);  // the thumbnail and little more: 3 MB at 24 bits
}
