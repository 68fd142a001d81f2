#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "common/picture_fixtures.h"
#include "render/codecs.h"
#include "render/emf_writer.h"
#include "render/picture_io.h"

// The codec is chosen by the extension in any letter case, never by the content.
TEST(LoadPicture, ChoosesCodecByExtension) {
  QTemporaryDir dir;
  const struct {
    const char* copyOf;
    const char* name;
    bool loads;
  } cases[] = {
      {"png_rgb8.png", "a.PNG", true},         {"jpeg_blocks.jpg", "b.Jpg", true},
      {"jpeg_blocks.jpg", "c.jpeg", true},     {"bmp_rgb24.bmp", "d.bmp", true},
      {"bmp_rgb24.bmp", "e.gif", false},       {"png_rgb8.png", "f", false},
      {"jpeg_blocks.jpg", "g.png", false},     {"png_rgb8.png", "h.png.txt", false},
      {"png_rgb8.png", "dotted.dir/i", false},
  };
  QDir().mkpath(dir.filePath("dotted.dir"));
  for (const auto& c : cases) {
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(QFile::copy(Fixture(c.copyOf), path));
    const QImage img = LoadPicture(path);
    EXPECT_EQ(!img.isNull(), c.loads) << c.name;
    if (!img.isNull()) {
      EXPECT_EQ(img.format(), QImage::Format_RGB888);
    }
  }
  EXPECT_TRUE(LoadPicture(dir.filePath("missing.png")).isNull());
  EXPECT_TRUE(LoadPicture(dir.path()).isNull());

  // Archive entries: the name may use backslashes; its last component's extension counts.
  EXPECT_EQ(DecodePicture(Bytes("bmp_rgb24.bmp"), "Images\\dir.x\\photo.BMP").size(), QSize(5, 3));
  EXPECT_TRUE(DecodePicture(Bytes("bmp_rgb24.bmp"), "Images\\dir.bmp\\photo").isNull());
  EXPECT_EQ(LoadPicture(Fixture("jpeg_blocks.jpg"), QSize(8, 4)).size(), QSize(8, 4));
}

// The pixel limit is checked against the declared size before decoding, the same way by each codec.
TEST(LoadPicture, PixelLimitBoundary) {
  const qint64 saved = MaxPicturePixels();
  const struct {
    const char* file;
    qint64 pixels;
  } cases[] = {{"png_rgb8.png", 15},      {"png_rgba8_interlaced.png", 8}, {"bmp_rgb24.bmp", 15},
               {"bmp_rle8.bmp", 61 * 37}, {"jpeg_blocks.jpg", 32 * 16},    {"jpeg_progressive.jpg", 61 * 37}};
  for (const auto& c : cases) {
    SetMaxPicturePixels(c.pixels);
    EXPECT_FALSE(LoadPicture(Fixture(c.file)).isNull()) << c.file;
    SetMaxPicturePixels(c.pixels - 1);
    EXPECT_TRUE(LoadPicture(Fixture(c.file)).isNull()) << c.file;
  }
  // A JPEG shrunk by DCT scaling still counts at its declared size: the decoder works through it.
  SetMaxPicturePixels(32 * 16);
  EXPECT_EQ(LoadPicture(Fixture("jpeg_blocks.jpg"), QSize(8, 4)).size(), QSize(8, 4));
  SetMaxPicturePixels(32 * 16 - 1);
  EXPECT_TRUE(LoadPicture(Fixture("jpeg_blocks.jpg"), QSize(8, 4)).isNull());
  SetMaxPicturePixels(saved);
}

// Picture and metafile exports replace a symbolic link planted at their name; the file it leads to
// keeps its content and mode.
TEST(WritePicture, ReplacesALinkNotItsTarget) {
  QTemporaryDir dir;
  QImage img(4, 3, QImage::Format_RGB888);
  img.fill(Qt::red);
  const struct {
    const char* name;
    std::function<bool(const QString&)> save;
  } writers[] = {
      {"doc.jpg", [&](const QString& f) { return SaveJpeg(img, f); }},
      {"doc.bmp", [&](const QString& f) { return SaveBmp(img, f); }},
      {"doc.emf", [](const QString& f) { return TEmfWriter(QRect(0, 0, 100, 100)).Save(f); }},
  };
  const QString outside = dir.filePath(QStringLiteral("elsewhere"));
  for (const auto& w : writers) {
    {
      QFile f(outside);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write("keep me");
    }
    ASSERT_TRUE(QFile::setPermissions(outside, QFile::ReadOwner | QFile::WriteOwner));
    const QString name = dir.filePath(QString::fromLatin1(w.name));
    ASSERT_TRUE(QFile::link(outside, name));
    ASSERT_TRUE(w.save(name)) << w.name;
    QFile target(outside);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep me") << w.name;
    EXPECT_EQ(target.permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser) << w.name;
    EXPECT_FALSE(QFileInfo(name).isSymLink()) << w.name;
    EXPECT_GT(QFileInfo(name).size(), 7) << w.name;
  }
}
