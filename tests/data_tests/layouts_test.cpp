// Every shipped label-sheet layout fits on its paper.
#include <gtest/gtest.h>

#include <QHash>
#include <QSet>
#include <QSizeF>

#include "records/csv_table.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/");

double Real(const QString& text) {
  bool ok = false;
  const double v = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  EXPECT_TRUE(ok) << "not a number: " << text.toStdString();
  return v;
}

int Integer(const QString& text) {
  bool ok = false;
  const int v = text.toInt(&ok);
  EXPECT_TRUE(ok) << "not an integer: " << text.toStdString();
  return v;
}

TEST(Layouts, EveryLayoutFitsOnItsPaper) {
  TzunoCSV papers(kData + QStringLiteral("papiers_dim.csv"));
  TzunoCSV layouts(kData + QStringLiteral("papiers_gab.csv"));
  ASSERT_GT(papers.RowCount(), 1);
  ASSERT_GE(layouts.RowCount(), 41);

  QHash<QString, QSizeF> sheets;
  const int pId = papers.ColIndex(QStringLiteral("papier")), pW = papers.ColIndex(QStringLiteral("large")),
            pH = papers.ColIndex(QStringLiteral("haut")), pName = papers.ColIndex(QStringLiteral("nom"));
  ASSERT_TRUE(pId >= 0 && pW >= 0 && pH >= 0 && pName >= 0);
  for (int r = 1; r < papers.RowCount(); ++r) {
    const QString id = papers.Cell(pId, r).toLower();
    EXPECT_FALSE(id.isEmpty() || papers.Cell(pName, r).isEmpty()) << "paper row " << r;
    EXPECT_FALSE(sheets.contains(id)) << "paper twice: " << id.toStdString();
    sheets.insert(id, QSizeF(Real(papers.Cell(pW, r)), Real(papers.Cell(pH, r))));
    EXPECT_GT(sheets[id].width(), 0);
    EXPECT_GT(sheets[id].height(), 0);
  }

  auto col = [&layouts](const char* name) {
    const int c = layouts.ColIndex(QString::fromLatin1(name));
    EXPECT_GE(c, 0) << name;
    return c;
  };
  const int cNom = col("nom"), cMarque = col("marque"), cPapier = col("papier"), cGabarit = col("gabarit"),
            cX0 = col("x0"), cY0 = col("y0"), cInterX = col("interx"), cInterY = col("intery"),
            cLarge = col("large"), cHaut = col("haut"), cNx = col("nbrex"), cNy = col("nbrey"),
            cRv = col("rectoverso"), cOrient = col("orientation");
  ASSERT_FALSE(HasFailure());
  const QSet<QString> kinds = {"", "cd", "jaquette", "livret", "feuillet", "jaquettedvd", "pochettecd"};
  constexpr double kSlack = 1e-6;

  QSet<QString> names;
  for (int r = 1; r < layouts.RowCount(); ++r) {
    const QString nom = layouts.Cell(cNom, r);
    SCOPED_TRACE(nom.toStdString());
    EXPECT_FALSE(nom.isEmpty());
    EXPECT_FALSE(names.contains(nom.toLower())) << "layout twice";
    names.insert(nom.toLower());
    EXPECT_FALSE(layouts.Cell(cMarque, r).isEmpty());
    const QString kind = layouts.Cell(cGabarit, r).toLower();
    EXPECT_TRUE(kinds.contains(kind)) << kind.toStdString();
    EXPECT_TRUE(QSet<QString>({"0", "1"}).contains(layouts.Cell(cRv, r)));
    const QString orientation = layouts.Cell(cOrient, r);
    EXPECT_TRUE(orientation == QLatin1String("0") || orientation == QLatin1String("1"));

    const QString paper = layouts.Cell(cPapier, r).toLower();
    ASSERT_TRUE(sheets.contains(paper)) << "unknown paper " << paper.toStdString();
    QSizeF sheet = sheets[paper];
    if (Integer(orientation) == 1) sheet.transpose();

    const double x0 = Real(layouts.Cell(cX0, r)), y0 = Real(layouts.Cell(cY0, r));
    const double gx = Real(layouts.Cell(cInterX, r)), gy = Real(layouts.Cell(cInterY, r));
    const double w = Real(layouts.Cell(cLarge, r)), h = Real(layouts.Cell(cHaut, r));
    const int nx = Integer(layouts.Cell(cNx, r)), ny = Integer(layouts.Cell(cNy, r));
    EXPECT_GT(nx, 0);
    EXPECT_GT(ny, 0);
    EXPECT_LE(nx * ny, 1000) << "the sheet preview selects at most 1000 cells";
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    if (kind == QLatin1String("cd")) {
      EXPECT_DOUBLE_EQ(w, h) << "a disc has one diameter";
    }
    // Neighbouring cells may touch but not overlap.
    if (nx > 1) {
      EXPECT_GE(gx, 0);
    }
    if (ny > 1) {
      EXPECT_GE(gy, 0);
    }
    // First and last cell inside the sheet.
    EXPECT_GE(x0, 0);
    EXPECT_GE(y0, 0);
    EXPECT_LE(x0 + nx * w + (nx - 1) * gx, sheet.width() + kSlack) << "past the right edge";
    EXPECT_LE(y0 + ny * h + (ny - 1) * gy, sheet.height() + kSlack) << "past the bottom edge";
  }
}

}  // namespace
