#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"

namespace {

// Left half black, right half white: filters differ at the edge. (Box is left out: its weights do not
// sum to one at this ratio, so even the white side comes out grey in places.)
QString Edge(const QTemporaryDir& dir, const char* name) {
  QImage img(80, 40, QImage::Format_RGB888);
  img.fill(Qt::white);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
  const QString path = dir.filePath(QString::fromLatin1(name));
  EXPECT_TRUE(img.save(path));
  return path;
}

}  // namespace

TEST(CliPicture, StretchResamplesWithTheNamedFilter) {
  QTemporaryDir dir;
  const QString in = Edge(dir, "edge.png");
  QImage results[2];
  const char* filters[] = {"Triangle", "Lanczos3"};
  for (int i = 0; i < 2; ++i) {
    const QString out = dir.filePath(QStringLiteral("out%1.png").arg(i));
    const CliRun r = Cli({QStringLiteral("stretch"), in, out, QStringLiteral("50"), QStringLiteral("30"),
                          QStringLiteral("--filter"), QString::fromLatin1(filters[i])});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    results[i] = QImage(out).convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(results[i].size(), QSize(50, 30)) << filters[i];
    EXPECT_LE(qRed(results[i].pixel(2, 15)), 4) << filters[i];
    EXPECT_GE(qRed(results[i].pixel(47, 15)), 251) << filters[i];
  }
  EXPECT_NE(results[0], results[1]);  // the filter name reaches the resampler
  for (const char* ext : {"jpg", "bmp"}) {
    const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(ext));
    ASSERT_EQ(Cli({QStringLiteral("stretch"), in, out, QStringLiteral("160"), QStringLiteral("20")}).code, 0)
        << ext;
    EXPECT_EQ(QImage(out).size(), QSize(160, 20)) << ext;
  }
}

TEST(CliPicture, ThumbPrintsThePathOfTheThumbnail) {
  QTemporaryDir dir;
  QImage photo(400, 100, QImage::Format_RGB888);
  photo.fill(QColor(30, 120, 200));
  const QString in = dir.filePath(QStringLiteral("photo.jpeg"));
  ASSERT_TRUE(photo.save(in, "JPEG"));
  const QString cache = dir.filePath(QStringLiteral("cache"));
  ASSERT_TRUE(QDir().mkpath(cache));
  const CliRun r = Cli({QStringLiteral("thumb"), in, cache, QStringLiteral("120"), QStringLiteral("120")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, cache + QStringLiteral("/photo_thumb.jpg\n"));
  EXPECT_EQ(QImage(cache + QStringLiteral("/photo_thumb.jpg")).size(), QSize(120, 30));
}

TEST(CliPicture, FailuresAndWrongUsage) {
  QTemporaryDir dir;
  const QString in = Edge(dir, "edge.bmp");
  QFile broken(dir.filePath(QStringLiteral("broken.png")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("\x89PNG\r\n\x1a\n truncated");
  broken.close();
  const QString out = dir.filePath(QStringLiteral("out.png"));
  const QString s = QStringLiteral("stretch"), t = QStringLiteral("thumb"), n = QStringLiteral("40");
  const struct {
    QStringList args;
    int code;
  } cases[] = {
      {{s, dir.filePath(QStringLiteral("missing.png")), out, n, n}, 1},
      {{s, broken.fileName(), out, n, n}, 1},
      {{s, in, dir.filePath(QStringLiteral("out.gif")), n, n}, 1},
      {{s, in, dir.filePath(QStringLiteral("no/such/dir/out.png")), n, n}, 1},
      {{s, in, out, n, n, QStringLiteral("--filter"), QStringLiteral("Gaussian")}, 2},
      {{s, in, out, n, n, QStringLiteral("--filter")}, 2},
      {{s, in, out, QStringLiteral("0"), n}, 2},
      {{s, in, out, n}, 2},
      {{t, broken.fileName(), dir.path(), n, n}, 1},
      {{t, dir.filePath(QStringLiteral("missing.jpg")), dir.path(), n, n}, 1},
      {{t, in, dir.filePath(QStringLiteral("no/such/dir")), n, n}, 1},
      {{t, in, dir.path(), n, QStringLiteral("x")}, 2},
      {{t, in, dir.path()}, 2},
  };
  for (const auto& c : cases) {
    const CliRun r = Cli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.join(QLatin1Char(' ')).toStdString();
    if (c.code == 1) {
      EXPECT_TRUE(r.err.startsWith(QStringLiteral("lorvane-cli: "))) << r.err.toStdString();
    }
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
  }
  EXPECT_FALSE(QFile::exists(out));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("broken_thumb.jpg"))));
}
