#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"
#include "common/qt_printers.h"

namespace {

void Put(QByteArray& b, std::initializer_list<uint32_t> values) {
  for (uint32_t v : values)
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

void Record(QByteArray& b, uint32_t type, std::initializer_list<uint32_t> params) {
  Put(b, {type, uint32_t(8 + 4 * params.size())});
  Put(b, params);
}

// A 100 x 50 mm picture in hundredths of a millimetre with one red rectangle from (10, 10) to
// (40, 30) mm and no outline, written record by record.
QByteArray RedRectangle() {
  QByteArray body;
  Record(body, 17, {8});                  // map mode: anisotropic
  Record(body, 9, {10000, 5000});         // window extent
  Record(body, 11, {378, 189});           // viewport extent, 96 dpi
  Record(body, 37, {0x80000008});         // select the null pen
  Record(body, 39, {1, 0, 0x0000FF, 0});  // solid red brush
  Record(body, 37, {1});
  Record(body, 43, {1000, 1000, 4000, 3000});  // rectangle
  QByteArray f;
  const uint32_t size = 108 + uint32_t(body.size()) + 20;
  Put(f, {1, 108, 0, 0, 378,  189,  0,   0,   10000, 5000, 0x464D4520, 0x10000, size,  9,
          2, 0,   0, 0, 1920, 1440, 508, 381, 0,     0,    0,          508000,  381000});
  f += body;
  Record(f, 14, {0, 16, 20});
  return f;
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& data) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
  return path;
}

}  // namespace

TEST(CliMetafile, InfoReportsFrameAndRecordCounts) {
  QTemporaryDir dir;
  const QString emf = WriteFile(dir, "rouge.emf", RedRectangle());
  const CliRun r = Cli({QStringLiteral("metafile-info"), emf});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  for (const char* line : {"kind: EMF\n", "size: 378 x 189 pixels\n", "frame: 0 0 10000 5000 (0.01 mm)\n",
                           "records: 9\n", "  EMR_SELECTOBJECT 2\n", "  EMR_RECTANGLE 1\n", "  EMR_EOF 1\n"})
    EXPECT_TRUE(r.out.contains(QString::fromLatin1(line))) << line << "\n" << r.out.toStdString();

  const CliRun wmf = Cli(
      {QStringLiteral("metafile-info"), QStringLiteral(LORVANE_TEST_DATA "/metafiles/libreoffice_text.wmf")});
  ASSERT_EQ(wmf.code, 0) << wmf.err.toStdString();
  EXPECT_TRUE(wmf.out.startsWith(QStringLiteral("kind: WMF"))) << wmf.out.toStdString();
}

TEST(CliMetafile, RenderStretchesOntoWhite) {
  QTemporaryDir dir;
  const QString emf = WriteFile(dir, "rouge.emf", RedRectangle());
  const QString png = dir.filePath(QStringLiteral("rouge.png"));
  const CliRun r =
      Cli({QStringLiteral("metafile-render"), emf, png, QStringLiteral("200"), QStringLiteral("100")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QImage img(png);
  ASSERT_EQ(img.size(), QSize(200, 100));
  EXPECT_EQ(img.pixel(21, 21), qRgb(255, 0, 0));  // 2 pixels per millimetre
  EXPECT_EQ(img.pixel(77, 57), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(18, 18), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(82, 40), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(150, 80), qRgb(255, 255, 255));
  // Stretched, not fitted: a square target squeezes the picture horizontally.
  ASSERT_EQ(
      Cli({QStringLiteral("metafile-render"), emf, png, QStringLiteral("100"), QStringLiteral("100")}).code,
      0);
  const QImage square(png);
  EXPECT_EQ(square.pixel(35, 40), qRgb(255, 0, 0));
  EXPECT_EQ(square.pixel(45, 40), qRgb(255, 255, 255));
}

TEST(CliMetafile, ExitStatuses) {
  QTemporaryDir dir;
  const QString emf = WriteFile(dir, "rouge.emf", RedRectangle());
  const QString junk = WriteFile(dir, "faux.emf", QByteArray(300, '\x07'));
  const QString png = dir.filePath(QStringLiteral("x.png"));
  const struct {
    QStringList args;
    int code;
  } cases[] = {
      {{"metafile-info"}, 2},
      {{"metafile-info", emf, emf}, 2},
      {{"metafile-info", dir.filePath("absent.emf")}, 1},
      {{"metafile-info", junk}, 1},
      {{"metafile-render", emf, png, "200"}, 2},
      {{"metafile-render", emf, png, "0", "100"}, 2},
      {{"metafile-render", emf, png, "-5", "100"}, 2},
      {{"metafile-render", emf, png, "abc", "100"}, 2},
      {{"metafile-render", emf, png, "100", "1000000000"}, 2},
      {{"metafile-render", emf, png, "65535", "65535"}, 1},  // too many pixels
      {{"metafile-render", junk, png, "10", "10"}, 1},
      {{"metafile-render", dir.filePath("absent.emf"), png, "10", "10"}, 1},
      {{"metafile-render", emf, dir.filePath("x.jpg"), "10", "10"}, 1},
      {{"metafile-render", emf, dir.filePath("no/such/dir/x.png"), "10", "10"}, 1},
  };
  for (const auto& c : cases) {
    const CliRun r = Cli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
    if (c.code == 1) {
      EXPECT_TRUE(r.err.startsWith(QStringLiteral("lorvane-cli: "))) << r.err.toStdString();
    }
  }
  EXPECT_FALSE(QFile::exists(png));
}
