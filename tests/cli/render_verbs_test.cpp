#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"

namespace {

const QString kSample = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Modeles/Exemples/disque.mdl");

}  // namespace

TEST(CliRender, PageAndExports) {
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("page.png"));
  ASSERT_EQ(Cli({QStringLiteral("page"), kSample, page, QStringLiteral("240"), QStringLiteral("240"),
                 QStringLiteral("--grid")})
                .code,
            0);
  const QImage img(page);
  ASSERT_EQ(img.size(), QSize(240, 240));
  EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));  // outside the disc
  for (const char* ext : {"png", "jpg", "bmp"}) {
    const QString out = dir.filePath(QStringLiteral("export.") + QLatin1String(ext));
    ASSERT_EQ(
        Cli({QStringLiteral("export"), kSample, out, QStringLiteral("300"), QStringLiteral("200"),
             QStringLiteral("--face"), QStringLiteral("2"), QStringLiteral("--quality"), QStringLiteral("7")})
            .code,
        0)
        << ext;
    EXPECT_EQ(QImage(out).size(), QSize(200, 200)) << ext;
  }
  EXPECT_EQ(Cli({QStringLiteral("export"), kSample, dir.filePath(QStringLiteral("x.gif")),
                 QStringLiteral("9"), QStringLiteral("9")})
                .code,
            1);
  EXPECT_EQ(Cli({QStringLiteral("page"), kSample, page, QStringLiteral("0"), QStringLiteral("9")}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("page"), kSample, page, QStringLiteral("9"), QStringLiteral("9"),
                 QStringLiteral("--stencil"), QStringLiteral("5")})
                .code,
            2);
  EXPECT_EQ(Cli({QStringLiteral("page"), dir.filePath(QStringLiteral("none.mdl")), page, QStringLiteral("9"),
                 QStringLiteral("9")})
                .code,
            1);
}

TEST(CliRender, FieldsFillMergeFields) {
  QTemporaryDir dir;
  const QString plain = dir.filePath(QStringLiteral("a.png")), filled = dir.filePath(QStringLiteral("b.png"));
  ASSERT_EQ(Cli({QStringLiteral("page"), kSample, plain, QStringLiteral("240"), QStringLiteral("240")}).code,
            0);
  ASSERT_EQ(Cli({QStringLiteral("page"), kSample, filled, QStringLiteral("240"), QStringLiteral("240"),
                 QStringLiteral("--field"), QStringLiteral("CDTITRE=Lune"), QStringLiteral("--field"),
                 QStringLiteral("cdArtiste=Soleil")})
                .code,
            0);
  // The title's line (30 mm from the top) differs: empty without the field, the title with it.
  const QImage a(plain), b(filled);
  int changed = 0;
  for (int x = 0; x < a.width(); ++x)
    for (int y = 50; y < 66; ++y) changed += a.pixel(x, y) != b.pixel(x, y);
  EXPECT_GT(changed, 40);
  EXPECT_EQ(Cli({QStringLiteral("page"), kSample, plain, QStringLiteral("9"), QStringLiteral("9"),
                 QStringLiteral("--field"), QStringLiteral("sans-egal")})
                .code,
            2);
}
