#include <gtest/gtest.h>

#include <QFontDatabase>

#include "model/document.h"

// Left, right and centred three-line texts in three faces (one of them shipped with the program),
// turned by 0, 30 and 90 degrees, against a reference rendering kept in the test data. Set
// LORVANE_UPDATE_REFERENCES=1 to write a new reference after checking it by eye.
TEST(TextReference, MultiLineTextsInThreeFacesAndAngles) {
  ASSERT_GE(
      QFontDatabase::addApplicationFont(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/fonts/DejaVuSans.ttf")),
      0);
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ASSERT_TRUE(doc.LoadFromFile(QStringLiteral(LORVANE_TEST_DATA "/documents/textes.mdl")));
  doc.Quality = 7;
  QImage img(720, 480, QImage::Format_RGB888);
  img.fill(Qt::white);
  doc.DrawBitmap(img);
  const QString reference = QStringLiteral(LORVANE_TEST_DATA "/reference/textes.png");
  if (qEnvironmentVariableIntValue("LORVANE_UPDATE_REFERENCES") == 1) ASSERT_TRUE(img.save(reference));
  const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB888);
  ASSERT_EQ(expected.size(), img.size());
  // Font rasterisers differ in antialiasing; glyphs must stay where they are.
  int differing = 0, inked = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb a = img.pixel(x, y), b = expected.pixel(x, y);
      inked += b != qRgb(255, 255, 255);
      differing +=
          std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 192;
    }
  EXPECT_GT(inked, 5000);
  EXPECT_LT(differing, inked / 50) << differing << " of " << inked << " inked pixels differ";
}
