// The sheet: millimetres to pixels, cells under a point, the fit into a control and what is painted.
#include "print/sheet_layout.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <climits>
#include <vector>

#include "common/qt_printers.h"
#include "print/printer_metrics.h"
#include "render/recording_canvas.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/");

// Three columns of 30 x 15 mm, 5 mm apart, two rows 2 mm apart, from (10, 20).
void SetGrid(TSheetLayout& sheet) {
  sheet.Layout = TGabaritInfo();
  sheet.Layout.x0 = 10;
  sheet.Layout.y0 = 20;
  sheet.Layout.large = 30;
  sheet.Layout.haut = 15;
  sheet.Layout.interx = 5;
  sheet.Layout.intery = 2;
  sheet.Layout.nbrex = 3;
  sheet.Layout.nbrey = 2;
}

TEST(SheetLayout, MillimetresToPixelsRoundHalvesToEven) {
  TSheetLayout sheet;
  sheet.ScaleX = 2;
  sheet.ScaleY = 4;
  sheet.OffsetX = 0.5;
  sheet.OffsetY = -1;
  struct Case {
    double mm;
    int x, y;
  };
  // x = (0.5 + mm) * 2, y = (mm - 1) * 4
  const Case cases[] = {{0.25, 2, -3}, {0.75, 2, -1}, {-0.25, 0, -5}, {1.125, 3, 0}, {1.375, 4, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(sheet.MmToX(c.mm), c.x) << c.mm;
    EXPECT_EQ(sheet.MmToY(c.mm), c.y) << c.mm;
  }
  EXPECT_EQ(sheet.PixelToMm(QPointF(3, 8)), QPointF(1, 3));
}

TEST(SheetLayout, CellUnderAPoint) {
  TSheetLayout sheet;
  SetGrid(sheet);
  struct Case {
    double x, y;
    int cell;
  };
  const Case cases[] = {
      {11, 21, 1}, {39.9, 34.9, 1}, {50, 21, 2}, {81, 30, 3}, {11, 40, 4}, {109, 51, 6}, {10, 25, 0},
      {40, 25, 0}, {42, 25, 0},     {80, 30, 0}, {20, 20, 0}, {20, 35, 0}, {20, 36, 0},  // borders and gaps
      {9, 25, 0},  {120, 25, 0},    {20, 60, 0}, {-5, -5, 0},                            // off the grid
  };
  for (const Case& c : cases) EXPECT_EQ(sheet.CellAt(c.x, c.y), c.cell) << c.x << ", " << c.y;

  sheet.Layout.interx = -10;  // overlapping columns: the later cell wins
  EXPECT_EQ(sheet.CellAt(35, 25), 2);
  EXPECT_EQ(sheet.CellAt(55, 25), 3);
  sheet.Layout.nbrey = 0;
  EXPECT_EQ(sheet.CellAt(11, 21), 0);
}

TEST(SheetLayout, ClicksToggleTheCellUnderThePointerOnly) {
  TSheetLayout sheet;
  SetGrid(sheet);
  sheet.ScaleX = sheet.ScaleY = 2;
  sheet.OffsetX = sheet.OffsetY = 0;
  EXPECT_EQ(sheet.ClickAt(QPointF(40, 50)), 0);  // not clickable yet
  EXPECT_FALSE(sheet.HandAt(QPointF(40, 50)));
  EXPECT_TRUE(sheet.IsSelected(3) && sheet.IsSelected(1));

  sheet.CellsClickable = true;
  EXPECT_TRUE(sheet.HandAt(QPointF(22, 42)));
  EXPECT_EQ(sheet.ClickAt(QPointF(22, 42)), 1);  // (11, 21) mm
  EXPECT_FALSE(sheet.IsSelected(1));
  for (QPointF onBorderOrGap : {QPointF(20, 50), QPointF(82, 50)}) {  // 10 mm and 41 mm across
    EXPECT_FALSE(sheet.HandAt(onBorderOrGap)) << onBorderOrGap.x();
    EXPECT_EQ(sheet.ClickAt(onBorderOrGap), 0) << onBorderOrGap.x();
  }
  EXPECT_EQ(sheet.ClickAt(QPointF(22, 42)), 1);
  for (int cell = 1; cell <= 6; ++cell) EXPECT_TRUE(sheet.IsSelected(cell)) << cell;

  // A new layout keeps the flags.
  EXPECT_EQ(sheet.ClickAt(QPointF(22, 80)), 4);
  sheet.Layout.nbrex = 1;
  EXPECT_FALSE(sheet.IsSelected(4));
}

TEST(SheetLayout, FitUsesOneScaleAndCentresThePaper) {
  struct Case {
    double w, h;
    QSize control;
    double scale;
    QRect image;
  };
  const Case cases[] = {
      // Narrow paper in a wide control: the height decides.
      {210, 297, QSize(400, 300), 299.0 / 297, QRect(94, 0, 212, 300)},
      // Wide paper in a tall control: the width decides.
      {210, 297, QSize(211, 1000), 1, QRect(0, 351, 211, 298)},
      {100, 50, QSize(201, 101), 2, QRect(0, 0, 201, 101)},
  };
  for (const Case& c : cases) {
    TSheetLayout sheet;
    sheet.Paper.large = c.w;
    sheet.Paper.haut = c.h;
    sheet.OffsetX = sheet.OffsetY = 7;
    const std::optional<QRect> image = sheet.Fit(c.control);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(*image, c.image) << c.control.width() << " x " << c.control.height();
    EXPECT_DOUBLE_EQ(sheet.ScaleX, c.scale);
    EXPECT_DOUBLE_EQ(sheet.ScaleY, c.scale);
    EXPECT_EQ(sheet.OffsetX, 0);
    EXPECT_EQ(sheet.OffsetY, 0);
  }

  // A paper or a control without area leaves everything as it was.
  for (const auto& [w, h, control] :
       {std::tuple{0.0, 297.0, QSize(400, 300)}, std::tuple{210.0, 0.0, QSize(400, 300)},
        std::tuple{210.0, 297.0, QSize(0, 0)}}) {
    TSheetLayout sheet;
    sheet.Paper.large = w;
    sheet.Paper.haut = h;
    sheet.ScaleX = 3;
    sheet.ScaleY = 5;
    sheet.OffsetX = 7;
    EXPECT_FALSE(sheet.Fit(control).has_value());
    EXPECT_EQ(sheet.ScaleX, 3);
    EXPECT_EQ(sheet.ScaleY, 5);
    EXPECT_EQ(sheet.OffsetX, 7);
  }
}

TEST(SheetLayout, PaintsSheetPrintableAreaAndSelectedCells) {
  TSheetLayout sheet;
  sheet.Paper.large = 100;
  sheet.Paper.haut = 50;
  sheet.Layout.x0 = 10;
  sheet.Layout.y0 = 5;
  sheet.Layout.large = 30;
  sheet.Layout.haut = 20;
  sheet.Layout.interx = 10;
  sheet.Layout.nbrex = 2;
  sheet.Layout.nbrey = 1;
  sheet.ScaleX = sheet.ScaleY = 2;
  TPrinterMetrics printer;
  printer.OffsetX = 2.5;
  printer.OffsetY = 3;
  printer.PrintableWidth = 95;
  printer.PrintableHeight = 44;
  sheet.Printer = printer;

  TRecordingCanvas screen;
  sheet.Paint(screen, false);
  EXPECT_EQ(screen.CallStrings(),
            (QStringList{"Rectangle 1 1 201 101", "Rectangle 0 0 200 100", "Rectangle 5 6 195 94",
                         "Rectangle 20 10 80 50", "Rectangle 100 10 160 50"}));
  const std::vector<TCanvasCall>& calls = screen.Calls();
  EXPECT_EQ(calls[1].Pen, (TPen{clBlack, 1, psSolid}));
  EXPECT_EQ(calls[2].Pen, (TPen{clRed, 1, psDot}));
  EXPECT_EQ(calls[2].Brush.Style, bsClear);
  EXPECT_EQ(calls[3].Pen, (TPen{clBlack, 1, psSolid}));
  EXPECT_EQ(calls[3].Brush, (TBrush{clWhite, bsSolid}));

  // Printing: no shadow, no printable area, a white sheet; switched-off cells are left out.
  sheet.SetSelected(1, false);
  TRecordingCanvas paper;
  sheet.Paint(paper, true);
  EXPECT_EQ(paper.CallStrings(), (QStringList{"Rectangle 0 0 200 100", "Rectangle 100 10 160 50"}));
  EXPECT_EQ(paper.Calls()[0].Pen.Color, clWhite);

  // Without the shadow and the printable area on screen, the sheet is not outlined either.
  sheet.ShowShadow = false;
  sheet.ShowPrintable = false;
  sheet.SetSelected(1, true);
  struct Drawn {
    int cell, x, y, right, bottom;
    bool operator==(const Drawn&) const = default;
  };
  std::vector<Drawn> drawn;
  sheet.OnDrawCell = [&](TCanvas&, int cell, int x, int y, int right, int bottom) {
    drawn.push_back({cell, x, y, right, bottom});
  };
  TRecordingCanvas cells;
  sheet.Paint(cells, false);
  EXPECT_EQ(cells.CallStrings(), QStringList{"Rectangle 0 0 200 100"});
  EXPECT_EQ(cells.Calls()[0].Pen.Color, clWhite);
  EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 20, 10, 80, 50}, {2, 100, 10, 160, 50}}));
}

// A two-sided sheet turned over: the back of cell n lies behind the front of cell n, so the back's
// columns are numbered from the right, for drawing, records, blanks and clicks alike.
TEST(SheetLayout, TheBackFaceNumbersItsColumnsAsTheSheetIsTurned) {
  TSheetLayout sheet;
  sheet.Paper = TPapierInfo{QStringLiteral("P"), QStringLiteral("P"), 130, 60};
  SetGrid(sheet);  // three columns from x 10 to 110, two rows
  sheet.ScaleX = sheet.ScaleY = 1;
  sheet.ShowShadow = sheet.ShowPrintable = false;
  sheet.SetSelected(2, false);
  sheet.SetSelected(4, false);  // a partly used sheet
  struct Drawn {
    int cell, x, y;
    bool operator==(const Drawn&) const = default;
  };
  std::vector<Drawn> drawn;
  sheet.OnDrawCell = [&](TCanvas&, int cell, int x, int y, int, int) { drawn.push_back({cell, x, y}); };
  TRecordingCanvas canvas;
  sheet.Paint(canvas, true);
  EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 10, 20}, {3, 80, 20}, {5, 45, 37}, {6, 80, 37}}));

  // The back: x0 mirrored across the 130 mm sheet gives 20; cell 1 is now the right-hand column.
  sheet.Gabarits.Face = 2;
  sheet.Layout.x0 = 130 - 3 * 30 - 2 * 5 - 10;
  drawn.clear();
  sheet.Paint(canvas, true);
  EXPECT_EQ(drawn, (std::vector<Drawn>{{1, 90, 20}, {3, 20, 20}, {5, 55, 37}, {6, 20, 37}}));
  // Front cell n spans x0 + (n - 1) * 35 .. + 30; turned over it spans 130 - that: the same cell.
  for (int n = 1; n <= 3; ++n) {
    const double front = 10 + (n - 1) * 35 + 15;
    EXPECT_EQ(sheet.CellAt(130 - front, 25), n);
  }
  EXPECT_EQ(TSheetLayout::SheetColumn(3, 1, 1), 1);
  EXPECT_EQ(TSheetLayout::SheetColumn(3, 2, 1), 3);
}

TEST(SheetLayout, MoreCellsThanFlagsNeverOverruns) {
  TSheetLayout sheet;
  sheet.Layout.large = sheet.Layout.haut = 1;
  sheet.Layout.nbrex = 50;
  sheet.Layout.nbrey = 30;  // 1500 cells
  sheet.SetSelected(1000, false);
  sheet.SetSelected(1001, false);  // past the flags: ignored
  sheet.SetSelected(0, false);
  sheet.SetSelected(-3, false);
  EXPECT_FALSE(sheet.IsSelected(1000));
  EXPECT_TRUE(sheet.IsSelected(1001));
  EXPECT_TRUE(sheet.IsSelected(1500));
  EXPECT_FALSE(sheet.IsSelected(0));

  std::vector<int> drawn;
  sheet.OnDrawCell = [&](TCanvas&, int cell, int, int, int, int) { drawn.push_back(cell); };
  TRecordingCanvas canvas;
  sheet.Paint(canvas, true);
  ASSERT_EQ(drawn.size(), 1499u);
  EXPECT_EQ(drawn[998], 999);
  EXPECT_EQ(drawn[999], 1001);
  EXPECT_EQ(drawn.back(), 1500);

  sheet.CellsClickable = true;
  sheet.ScaleX = sheet.ScaleY = 10;
  EXPECT_EQ(sheet.CellAt(1.5, 29.5), 1452);
  EXPECT_EQ(sheet.ClickAt(QPointF(15, 295)), 0);  // cell 1452 has no flag to switch
  EXPECT_TRUE(sheet.IsSelected(1452));

  // Absurd counts from a hand-edited table stop at a bound instead of stalling.
  sheet.Layout.nbrex = INT_MAX;
  sheet.Layout.nbrey = INT_MAX;
  drawn.clear();
  sheet.Paint(canvas, true);
  EXPECT_EQ(static_cast<long long>(drawn.size()), TSheetLayout::kMaxVisited - 1);
  EXPECT_EQ(sheet.CellAt(0.5, 0.5), 1);
}

TEST(SheetLayout, ShippedBusinessCardSheetLiesInsideA4) {
  TzunoPapiers papers;
  papers.FileName = kData + "papiers_dim.csv";
  TSheetLayout sheet;
  papers.GetPapierInfo("A4", sheet.Paper);
  sheet.Gabarits.FileName = kData + "papiers_gab.csv";
  sheet.Gabarits.GetGabaritInfo("A4 10 cartes de visite 85 x 54", sheet.Layout);
  ASSERT_TRUE(sheet.Fit(QSize(421, 595)).has_value());
  EXPECT_DOUBLE_EQ(sheet.ScaleX, 2);

  std::vector<QRect> cells;
  sheet.OnDrawCell = [&](TCanvas&, int cell, int x, int y, int right, int bottom) {
    EXPECT_EQ(cell, static_cast<int>(cells.size()) + 1);
    cells.push_back(QRect(QPoint(x, y), QPoint(right - 1, bottom - 1)));
  };
  TRecordingCanvas canvas;
  sheet.Paint(canvas, false);
  ASSERT_EQ(cells.size(), 10u);
  const QRect paper(QPoint(sheet.MmToX(0), sheet.MmToY(0)),
                    QPoint(sheet.MmToX(210) - 1, sheet.MmToY(297) - 1));
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_TRUE(paper.contains(cells[i])) << i + 1;
    EXPECT_EQ(cells[i].size(), QSize(170, 108)) << i + 1;
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(cells[i].intersects(cells[j])) << i + 1 << " and " << j + 1;
  }
  EXPECT_EQ(cells[0].topLeft(), QPoint(40, 27));
  EXPECT_EQ(cells[9].bottomRight(), QPoint(379, 566));

  // The preview picture: shadow below and right of the sheet, cells outlined where they were placed.
  sheet.OnDrawCell = nullptr;
  sheet.SetSelected(2, false);
  QPoint at(-1, -1);
  const QImage preview = sheet.Preview(QSize(441, 595), &at);
  ASSERT_EQ(preview.size(), QSize(421, 595));
  EXPECT_EQ(at, QPoint(10, 0));
  struct Pixel {
    int x, y;
    bool black;
  };
  const Pixel pixels[] = {
      {0, 0, true},     {419, 593, true}, {420, 594, true},  {420, 0, false},   {1, 1, false},
      {40, 27, true},   {209, 134, true}, {41, 28, false},   {210, 27, false},  {379, 27, false},
      {210, 135, true}, {379, 566, true}, {380, 566, false}, {200, 300, false},
  };
  for (const Pixel& p : pixels)
    EXPECT_EQ(preview.pixelColor(p.x, p.y), p.black ? QColor(Qt::black) : QColor(Qt::white))
        << p.x << ", " << p.y;

  // The back side of the two-sided card sheet keeps its symmetric columns.
  sheet.Gabarits.Face = 2;
  sheet.Gabarits.GetGabaritInfo("A4 8 cartes de visite 85 x 54 recto verso", sheet.Layout);
  EXPECT_DOUBLE_EQ(sheet.Layout.x0, 15);
  EXPECT_TRUE(sheet.Layout.rectoverso);
}

TEST(PrinterMetrics, PrintableAreaAndResolutionOfAPdfPrinter) {
  struct Case {
    QPageLayout::Orientation orientation;
    QMarginsF margins;  // left, top, right, bottom (mm)
    bool fullPage;
    double offsetX, offsetY, width, height;
  };
  const Case cases[] = {
      {QPageLayout::Portrait, QMarginsF(10, 15, 20, 25), false, 10, 15, 180, 257},
      {QPageLayout::Landscape, QMarginsF(10, 15, 20, 25), false, 10, 15, 267, 170},
      {QPageLayout::Portrait, QMarginsF(10, 15, 20, 25), true, 0, 0, 210, 297},
  };
  for (const Case& c : cases) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(c.orientation);
    printer.setPageMargins(c.margins, QPageLayout::Millimeter);
    printer.setFullPage(c.fullPage);
    const TPrinterMetrics m = GetPrinterMetrics(printer);
    // The PDF device lays its page out in whole points (0.35 mm), so its painter's rectangle is that
    // close to the asked one.
    const double point = 25.4 / 72;
    EXPECT_NEAR(m.OffsetX, c.offsetX, point) << c.width;
    EXPECT_NEAR(m.OffsetY, c.offsetY, point) << c.width;
    EXPECT_NEAR(m.PrintableWidth, c.width, point) << c.width;
    EXPECT_NEAR(m.PrintableHeight, c.height, point) << c.width;
    EXPECT_EQ(m.DpiX, 300);
    EXPECT_EQ(m.DpiY, 300);
    EXPECT_DOUBLE_EQ(m.PixelsPerMmX, 300 / 25.4);
    EXPECT_DOUBLE_EQ(m.PixelsPerMmY, 300 / 25.4);
  }
}

}  // namespace
