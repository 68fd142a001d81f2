// The sheet preview widget: the paper fitted, the document in every chosen cell, clicks that switch
// cells, the pointing hand over cells only, and a print that leaves the preview as it was.
#include "print/ui/mpage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "common/shots.h"
#include "model/document.h"
#include "print/print_job.h"

namespace {

// A 85 x 54 mm card: black all over but a 2 mm white margin.
void LoadCard(TzunoCADMdl& doc) {
  doc.LoadFromStrings(
      QStringLiteral("Version=1.2\nLarge=85\nHaut=54\n\nFace=1\n  Objet=1\n    Name=rectangle\n"
                     "    Face=1\n    CanSelect=1\n    Pen=000000,1,0\n    Brush=000000,0\n"
                     "    x=42.5\n    y=27\n    l=81\n    h=50\n    r=0\n  End\nEnd\n\n")
          .split(QLatin1Char('\n')));
}

// The shipped sheet of 10 cards: 2 columns of 85 mm from x 20, 5 rows of 54 mm from y 13.5.
void SetCards(TSheetLayout& sheet) {
  sheet.Paper = TPapierInfo{QStringLiteral("A4"), QStringLiteral("A4"), 210, 297};
  sheet.Layout = TGabaritInfo();
  sheet.Layout.nom = QStringLiteral("A4 10 cartes de visite 85 x 54");
  sheet.Layout.x0 = 20;
  sheet.Layout.y0 = 13.5;
  sheet.Layout.large = 85;
  sheet.Layout.haut = 54;
  sheet.Layout.nbrex = 2;
  sheet.Layout.nbrey = 5;
}

struct Fixture {
  Fixture() : cells(doc) {
    LoadCard(doc);
    SetCards(page.Sheet());
    page.Sheet().CellsClickable = true;
    page.Sheet().OnDrawCell = [this](TCanvas& canvas, int, int x, int y, int right, int bottom) {
      cells.DrawCell(canvas, x, y, right, bottom, page.Sheet().PaintingOnPaper());
    };
    page.resize(300, 400);
    page.show();
    page.Refresh();
  }
  // The widget point at the centre of a cell.
  QPoint CellCentre(int cell) const {
    const TSheetLayout& s = page.Sheet();
    const QPointF o = s.CellOrigin((cell - 1) % 2 + 1, (cell - 1) / 2 + 1);
    return QPoint(s.MmToX(o.x() + 42.5), s.MmToY(o.y() + 27)) + page.PreviewPosition();
  }
  bool Inked(int cell) const {
    const QPoint p = CellCentre(cell) - page.PreviewPosition();
    return qGray(page.Preview().pixel(p)) < 60;
  }
  TzunoCADMdl doc{nullptr, QRect(0, 0, 100, 100), 100, 100};
  TCellPainter cells;
  TzunoMPage page;
};

TEST(MPage, ShowsTheSheetAndSwitchesCellsByClicks) {
  Fixture f;
  const QImage& preview = f.page.Preview();
  ASSERT_FALSE(preview.isNull());
  // 400 / 297 is the tighter fit: the sheet is 300 - 1 - ... wide at (400 - 1) / 297 pixels per mm.
  EXPECT_EQ(preview.height(), 400);
  EXPECT_EQ(f.page.PreviewPosition().y(), 0);
  EXPECT_EQ(f.page.PreviewPosition().x(), (300 - preview.width()) / 2);
  for (int cell = 1; cell <= 10; ++cell) EXPECT_TRUE(f.Inked(cell)) << cell;
  Shot(f.page, QStringLiteral("mpage_all.png"));

  QSignalSpy toggled(&f.page, &TzunoMPage::CellToggled);
  QTest::mouseClick(&f.page, Qt::LeftButton, {}, f.CellCentre(3));
  ASSERT_EQ(toggled.count(), 1);
  EXPECT_EQ(toggled.first().first().toInt(), 3);
  EXPECT_FALSE(f.page.Sheet().IsSelected(3));
  EXPECT_FALSE(f.Inked(3));
  EXPECT_TRUE(f.Inked(4));
  Shot(f.page, QStringLiteral("mpage_cell3_off.png"));

  // In the sheet's margin (x 10 mm) and off the sheet nothing is toggled.
  const TSheetLayout& s = f.page.Sheet();
  QTest::mouseClick(&f.page, Qt::LeftButton, {}, QPoint(s.MmToX(10), s.MmToY(40)) + f.page.PreviewPosition());
  QTest::mouseClick(&f.page, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(toggled.count(), 1);

  QTest::mouseClick(&f.page, Qt::LeftButton, {}, f.CellCentre(3));
  EXPECT_TRUE(f.Inked(3));

  f.page.Sheet().CellsClickable = false;
  QTest::mouseClick(&f.page, Qt::LeftButton, {}, f.CellCentre(3));
  EXPECT_TRUE(f.page.Sheet().IsSelected(3));
}

TEST(MPage, PointingHandOverCellsOnly) {
  Fixture f;
  QTest::mouseMove(&f.page, f.CellCentre(5));
  EXPECT_EQ(f.page.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(&f.page, QPoint(2, 2));
  EXPECT_EQ(f.page.cursor().shape(), Qt::ArrowCursor);
}

TEST(MPage, APaperWithoutAreaKeepsThePreviewAndPrintingGivesItBack) {
  Fixture f;
  const QImage before = f.page.Preview();
  const double scale = f.page.Sheet().ScaleX;
  f.page.Sheet().Paper.large = 0;
  f.page.Refresh();
  EXPECT_EQ(f.page.Preview(), before);
  f.page.Sheet().Paper.large = 210;

  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  const TCalibrationStore store([](const QString&) { return QString(); },
                                [](const QString&, const QString&) { return true; });
  QString error;
  // Safe mode on paper goes through the printer's painter, never the preview's bitmap.
  ASSERT_TRUE(
      f.page.PrintPage(printer, QStringLiteral("PDF"), f.cells, store, QStringLiteral("essai"), &error))
      << error.toStdString();
  EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("sheet.pdf"))).size(), 1000);
  EXPECT_DOUBLE_EQ(f.page.Sheet().ScaleX, scale);
  EXPECT_EQ(f.page.Preview(), before);
}

}  // namespace
