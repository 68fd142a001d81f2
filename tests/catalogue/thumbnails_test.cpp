#include "catalogue/thumbnails.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <random>

#include "imagetools/resample.h"
#include "render/codecs.h"
#include "render/emf_writer.h"
#include "render/picture_io.h"

namespace {

// Smooth gradients with a little noise and some fine detail, like a photograph.
QImage Photo(int w, int h, unsigned seed = 3) {
  QImage img(w, h, QImage::Format_RGB888);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const int detail = ((x / 3 + y / 3) & 1) * 24;
      p[0] = uchar(std::clamp(x * 255 / std::max(1, w - 1) + int(rng() % 9) - 4, 0, 255));
      p[1] = uchar(std::clamp(y * 255 / std::max(1, h - 1) - detail + 12, 0, 255));
      p[2] = uchar(std::clamp(128 + int(60 * std::sin(x * 0.05) * std::cos(y * 0.07)), 0, 255));
    }
  }
  return img;
}

bool Write(const QImage& img, const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return SaveJpeg(img, path);
  if (ext == QLatin1String("bmp")) return SaveBmp(img, path);
  return img.save(path, "PNG");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QRgb Pixel(const QImage& img, int x, int y) {
  return img.pixel(x, y);
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    const uchar *p = a.constScanLine(y), *q = b.constScanLine(y);
    for (int x = 0; x < 3 * a.width(); ++x) sum += std::abs(int(p[x]) - int(q[x]));
  }
  return sum / (3.0 * a.width() * a.height());
}

}  // namespace

TEST(Thumbnails, PathReplacesTheExtensionInTheFolder) {
  const struct {
    const char *file, *folder, *expected;
  } cases[] = {
      {"/pictures/holiday/photo.png", "/cache/", "/cache/photo_thumb.jpg"},
      {"photo.tar.JPEG", "/cache", "/cache/photo.tar_thumb.jpg"},  // a folder without its "/" still is one
      {"C:\\Images\\clip.bmp", "thumbs/", "thumbs/clip_thumb.jpg"},
      {"/pictures/noextension", "/cache/", "/cache/noextension_thumb.jpg"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ThumbPath(QString::fromLatin1(c.file), QString::fromLatin1(c.folder)),
              QString::fromLatin1(c.expected))
        << c.file;
}

// The thumbnail is the picture fitted into the box, enlarged as well as reduced, and always has
// both sides: a strip keeps one pixel of height.
TEST(Thumbnails, SizeIsThePictureFittedIntoTheBox) {
  const struct {
    int w, h;
    const char* name;
    int W, H, tw, th;
  } cases[] = {
      {400, 100, "wide.png", 120, 120, 120, 30},
      {100, 400, "tall.bmp", 120, 120, 30, 120},
      {60, 40, "small.jpg", 120, 120, 120, 80},
      {1600, 1200, "photo.JPG", 120, 120, 120, 90},
      // Decoded at a quarter the sides would be 150 x 31 and fit to 120 x 25; the stored size fits to 24.
      {600, 122, "banner.jpeg", 120, 120, 120, 24},
      {2000, 3, "strip.png", 50, 50, 50, 1},
      {1, 1, "dot.bmp", 50, 40, 40, 40},
  };
  QTemporaryDir dir;
  const QString cache = dir.filePath(QStringLiteral("cache/"));
  ASSERT_TRUE(QDir().mkpath(cache));
  for (const auto& c : cases) {
    const QString src = dir.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(Write(Photo(c.w, c.h), src)) << c.name;
    bool written = false;
    const QString path = MakeThumb(src, cache, c.W, c.H, &written);
    EXPECT_TRUE(written) << c.name;
    EXPECT_EQ(path, ThumbPath(src, cache));
    const QImage thumb = LoadJpeg(path);
    EXPECT_EQ(thumb.size(), QSize(c.tw, c.th)) << c.name;
  }
}

// A lossless picture goes straight through the Mitchell resampler: the file holds exactly the JPEG of
// that resampling.
TEST(Thumbnails, PixelsAreTheMitchellResamplingOfThePicture) {
  QTemporaryDir dir;
  const QImage src = Photo(640, 360);
  const QString file = dir.filePath(QStringLiteral("scene.png"));
  ASSERT_TRUE(Write(src, file));
  QImage expected(120, 68, QImage::Format_RGB888);
  Stretch(src, expected, kMitchellFilter, 2.0f);
  QImage box(120, 68, QImage::Format_RGB888);
  Stretch(src, box, kBoxFilter, 0.5f);
  const QByteArray bytes = ReadBytes(MakeThumb(file, dir.path(), 120, 120));
  EXPECT_EQ(bytes, EncodeJpeg(expected));
  EXPECT_NE(bytes, EncodeJpeg(box));
}

// Photographs are decoded DCT-scaled; the thumbnail stays close to the one made from the whole decode.
TEST(Thumbnails, ScaledJpegDecodeKeepsTheThumbnail) {
  QTemporaryDir dir;
  for (const QSize size : {QSize(2000, 1500), QSize(1500, 2000), QSize(1000, 750)}) {
    const QString file = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(Write(Photo(size.width(), size.height(), 11), file));
    const QImage full = LoadJpeg(file);
    ASSERT_EQ(full.size(), size);
    const QSize fitted = size.scaled(120, 120, Qt::KeepAspectRatio);
    QImage reference(fitted, QImage::Format_RGB888);
    Stretch(full, reference, kMitchellFilter, 2.0f);
    const QImage thumb = ThumbPicture(file, 120, 120);
    ASSERT_EQ(thumb.size(), fitted);
    EXPECT_LT(MeanDifference(thumb, reference), 2.5) << size.width() << "x" << size.height();
  }
}

// A magenta top-left pixel marks magenta as transparent: it shows white. Without it magenta stays.
TEST(Thumbnails, MagentaCornerMakesMagentaWhite) {
  for (const bool marked : {true, false}) {
    QImage clip(60, 30, QImage::Format_RGB888);
    clip.fill(QColor(255, 0, 255));
    for (int y = 10; y < 20; ++y)
      for (int x = 20; x < 40; ++x) clip.setPixel(x, y, qRgb(0, 0, 200));
    if (!marked) clip.setPixel(0, 0, qRgb(0, 0, 0));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("clip.bmp"));
    ASSERT_TRUE(Write(clip, file));
    const QImage thumb = LoadJpeg(MakeThumb(file, dir.path(), 120, 120));
    ASSERT_EQ(thumb.size(), QSize(120, 60));
    const QRgb background = marked ? qRgb(255, 255, 255) : qRgb(255, 0, 255);
    EXPECT_TRUE(Near(Pixel(thumb, 110, 50), background, 6))
        << marked << " " << std::hex << Pixel(thumb, 110, 50);
    EXPECT_TRUE(Near(Pixel(thumb, 5, 55), background, 6)) << marked;
    EXPECT_TRUE(Near(Pixel(thumb, 60, 30), qRgb(0, 0, 200), 8)) << marked;
  }
}

// Metafiles ignore their aspect: a 200 x 50 picture fills a square thumbnail.
TEST(Thumbnails, MetafileIsStretchedOverTheWholeBox) {
  // 200 x 50 pixels at 96 dpi; the left half red, the right half left unpainted.
  TEmfWriter emf(QRect(0, 0, 5291, 1322));
  const uint32_t brush = emf.CreateBrush(0, RGBColor(255, 0, 0));
  emf.SelectObject(brush);
  emf.SelectObject(kStockObject | NULL_PEN);
  emf.Rectangle(0, 0, 100, 50);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("shape.emf"));
  ASSERT_TRUE(WriteBytes(file, emf.Finish()));
  bool written = false;
  const QImage thumb = LoadJpeg(MakeThumb(file, dir.path(), 50, 50, &written));
  ASSERT_TRUE(written);
  ASSERT_EQ(thumb.size(), QSize(50, 50));
  for (const int y : {3, 25, 44}) {
    EXPECT_TRUE(Near(Pixel(thumb, 10, y), qRgb(255, 0, 0), 12))
        << y << " " << std::hex << Pixel(thumb, 10, y);
    EXPECT_TRUE(Near(Pixel(thumb, 40, y), qRgb(255, 255, 255), 6)) << y;
  }
  // The metafiles of other programs, EMF and WMF, give thumbnails of the asked size too.
  QDir metafiles(QStringLiteral(LORVANE_TEST_DATA "/metafiles"));
  for (const QString& name : metafiles.entryList(QDir::Files)) {
    const QImage t = LoadJpeg(MakeThumb(metafiles.filePath(name), dir.path(), 64, 48));
    EXPECT_EQ(t.size(), QSize(64, 48)) << name.toStdString();
  }
}

// Two pictures with one base name share the thumbnail; the later one wins.
TEST(Thumbnails, SameBaseNameSharesOneThumbnail) {
  QTemporaryDir dir;
  const QString cache = dir.filePath(QStringLiteral("cache/"));
  ASSERT_TRUE(QDir().mkpath(cache));
  QImage red(40, 40, QImage::Format_RGB888), blue(40, 40, QImage::Format_RGB888);
  red.fill(Qt::red);
  blue.fill(Qt::blue);
  ASSERT_TRUE(Write(red, dir.filePath(QStringLiteral("photo.png"))));
  ASSERT_TRUE(Write(blue, dir.filePath(QStringLiteral("photo.bmp"))));
  const QString a = MakeThumb(dir.filePath(QStringLiteral("photo.png")), cache, 20, 20);
  EXPECT_TRUE(Near(LoadJpeg(a).pixel(10, 10), qRgb(255, 0, 0), 6));
  const QString b = MakeThumb(dir.filePath(QStringLiteral("photo.bmp")), cache, 20, 20);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(Near(LoadJpeg(b).pixel(10, 10), qRgb(0, 0, 255), 6));
  EXPECT_EQ(QDir(cache).entryList(QDir::Files), QStringList{QStringLiteral("photo_thumb.jpg")});
}

// Whatever goes wrong, MakeThumb answers the path and writes nothing.
TEST(Thumbnails, UnreadableInputsGiveNoThumbnail) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good.jpg"));
  ASSERT_TRUE(Write(Photo(320, 240), good));
  const QByteArray jpeg = ReadBytes(good);
  const QString pngFile = dir.filePath(QStringLiteral("p.png"));
  ASSERT_TRUE(Write(Photo(30, 30), pngFile));
  const QByteArray png = ReadBytes(pngFile);
  QByteArray hugeFrame = jpeg;  // a frame header claiming 65535 x 65535
  const qsizetype sof = hugeFrame.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  hugeFrame[sof + 5] = hugeFrame[sof + 6] = hugeFrame[sof + 7] = hugeFrame[sof + 8] = char(0xFF);
  const struct {
    const char* name;
    QByteArray bytes;
  } files[] = {
      {"empty.png", QByteArray()},
      {"garbage.png", QByteArray("not a picture at all, not a metafile either")},
      {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
      {"header_only.jpg", jpeg.left(200)},
      {"huge.jpg", hugeFrame},
      {"png_named.jpg", png},
      {"text.emf", QByteArray(300, 'x')},
  };
  const QString cache = dir.filePath(QStringLiteral("cache/"));
  ASSERT_TRUE(QDir().mkpath(cache));
  for (const auto& f : files) {
    const QString file = dir.filePath(QString::fromLatin1(f.name));
    ASSERT_TRUE(WriteBytes(file, f.bytes));
    bool written = true;
    EXPECT_EQ(MakeThumb(file, cache, 120, 120, &written), ThumbPath(file, cache)) << f.name;
    EXPECT_FALSE(written) << f.name;
  }
  EXPECT_TRUE(QDir(cache).entryList(QDir::Files).isEmpty());

  bool written = true;
  EXPECT_EQ(MakeThumb(dir.filePath(QStringLiteral("missing.png")), cache, 120, 120, &written),
            cache + QStringLiteral("missing_thumb.jpg"));
  EXPECT_FALSE(written);
  for (const QSize box : {QSize(0, 120), QSize(120, -1)}) {
    MakeThumb(good, cache, box.width(), box.height(), &written);
    EXPECT_FALSE(written);
  }
  EXPECT_TRUE(QDir(cache).entryList(QDir::Files).isEmpty());
  // A folder that does not exist: nothing written, the path still answered.
  const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/"));
  EXPECT_EQ(MakeThumb(good, nowhere, 120, 120, &written), nowhere + QStringLiteral("good_thumb.jpg"));
  EXPECT_FALSE(written);
  EXPECT_FALSE(QFileInfo::exists(nowhere));
}
