// The print pass without a printer: the cell's target, the safe-mode bitmap, the calibration keys,
// the format chosen for a document, the job's mapping and cancellation, and the mailing reader.
#include "print/print_job.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <limits>

#include "common/files.h"
#include "common/qt_printers.h"
#include "model/document.h"
#include "model/image.h"
#include "print/pdf_file.h"
#include "print/printer_metrics.h"
#include "print/record_stream.h"
#include "render/canvas.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/");

QString Rect(int n, int face, double x, double y, double l, double h, const char* color) {
  return QStringLiteral(
             "  Objet=%1\n    Name=rectangle\n    Face=%2\n    CanSelect=1\n    Pen=%7,1,0\n    Brush=%7,0\n"
             "    x=%3\n    y=%4\n    l=%5\n    h=%6\n    r=0\n  End\n")
      .arg(n)
      .arg(face)
      .arg(x)
      .arg(y)
      .arg(l)
      .arg(h)
      .arg(QLatin1String(color));
}

// 40 x 20 mm: white page, a black 10 x 10 square on the left of face 1 and on the right of face 2.
void LoadCard(TzunoCADMdl& doc, const QString& extra = QString()) {
  const QString text = QStringLiteral("Version=1.2\nLarge=40\nHaut=20\n\nFace=1\n") +
                       Rect(1, 1, 5, 10, 10, 10, "000000") + extra + QStringLiteral("End\n\nFace=2\n") +
                       Rect(2, 2, 35, 10, 10, 10, "000000") + QStringLiteral("End\n\n");
  doc.LoadFromStrings(text.split(QLatin1Char('\n')));
}

TEST(CellPainter, TargetIsTheDocumentCentredInTheCell) {
  struct Case {
    QRect cell;
    double large, haut;
    QRect target;
  };
  const Case cases[] = {
      {QRect(10, 20, 200, 50), 100, 100, QRect(85, 20, 50, 50)},  // wide cell: 50 x 50 in the middle
      {QRect(0, 0, 50, 200), 100, 100, QRect(0, 75, 50, 50)},
      {QRect(0, 0, 101, 40), 85, 54, QRect(19, 0, 63, 40)},  // 62.96 rounds to 63, (101 - 63) / 2 = 19
      {QRect(5, 5, 30, 30), 0, 10, QRect(5, 5, 30, 30)},     // a document without area takes the cell
  };
  for (const Case& c : cases)
    EXPECT_EQ(TCellPainter::TargetRect(c.cell, c.large, c.haut), c.target) << c.large << " x " << c.haut;

  struct Cap {
    QSize target;
    bool printing;
    QSize bitmap;
  };
  const Cap caps[] = {
      {QSize(6400, 3200), true, QSize(3200, 1600)},  {QSize(3300, 100), true, QSize(3200, 97)},
      {QSize(1000, 4000), true, QSize(800, 3200)},   {QSize(3200, 3200), true, QSize(3200, 3200)},
      {QSize(6400, 3200), false, QSize(6400, 3200)},  // the preview is never capped
  };
  for (const Cap& c : caps)
    EXPECT_EQ(TCellPainter::SafeBitmapSize(c.target, c.printing), c.bitmap)
        << c.target.width() << " x " << c.target.height();
}

// Dark pixels' columns on one row of a picture.
std::pair<int, int> DarkSpan(const QImage& img, int y) {
  int first = -1, last = -1;
  for (int x = 0; x < img.width(); ++x)
    if (qGray(img.pixel(x, y)) < 60) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last};
}

TEST(CellPainter, SafeModeStampsWithoutCoveringThePageAndMirrors) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  LoadCard(doc);
  TCellPainter cells(doc);
  struct Case {
    const char* name;
    bool safe, mirror;
    int face;
    bool squareLeft;
  };
  const Case cases[] = {{"direct", false, false, 1, true},
                        {"safe", true, false, 1, true},
                        {"mirror", false, true, 1, false},  // mirroring takes the bitmap path by itself
                        {"verso", true, false, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A page already holding ink: a light blue band across the cell.
    QImage page(200, 100, QImage::Format_RGB888);
    page.fill(Qt::white);
    for (int y = 40; y < 60; ++y)
      for (int x = 0; x < 200; ++x) page.setPixelColor(x, y, QColor(160, 200, 255));
    cells.Options = TCellOptions();
    cells.Options.NoEchec = c.safe;
    cells.Options.Miroir = c.mirror;
    cells.Options.Face = c.face;
    {
      TBitmapCanvas canvas(&page);
      cells.DrawCell(canvas, 0, 0, 200, 100, true);  // target 200 x 100, 5 px per mm
    }
    const auto [first, last] = DarkSpan(page, 50);
    if (c.squareLeft) {
      EXPECT_NEAR(first, 0, 1);
      EXPECT_NEAR(last, 49, 1);
    } else {
      EXPECT_NEAR(first, 150, 1);
      EXPECT_NEAR(last, 199, 1);
    }
    // The document's white leaves the band as it was.
    EXPECT_EQ(page.pixelColor(100, 50), QColor(160, 200, 255));
    EXPECT_EQ(page.pixelColor(100, 20), QColor(Qt::white));
  }
}

TEST(CellPainter, DrawingSwitchesAndTheBackgroundComeBack) {
  QTemporaryDir dir;
  const QString picture = QStringLiteral(LORVANE_TEST_DATA "/pictures/bmp_rgb24.bmp");
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  doc.OnCheminFichier = [&](TzunoCADMdl*, QString& name) { name = picture; };
  // The background: a picture covering the page, unrotated, not selectable, under the square.
  LoadCard(doc,
           QStringLiteral("  Objet=3\n    Name=image\n    Face=1\n    CanSelect=0\n    x=20\n    y=10\n    "
                          "l=40\n    h=20\n    r=0\n    FichierImage=bmp_rgb24.bmp\n  End\n"));
  TzunoCADImage* background = FindBackgroundImage(doc);
  ASSERT_NE(background, nullptr);
  doc.DrawPlaceholders = true;
  doc.StencilView = 2;
  doc.CurrentFace = 3;
  TCellPainter cells(doc);
  for (const bool shown : {true, false}) {
    cells.Options.ImageFond = shown;
    QImage page(200, 100, QImage::Format_RGB888);
    page.fill(Qt::white);
    {
      TBitmapCanvas canvas(&page);
      cells.DrawCell(canvas, 0, 0, 200, 100, false);
    }
    int coloured = 0;
    for (int x = 60; x < 200; x += 5)
      if (page.pixelColor(x, 70) != QColor(Qt::white)) ++coloured;
    EXPECT_EQ(coloured > 0, shown);
    EXPECT_TRUE(background->Visible);
    EXPECT_TRUE(doc.DrawPlaceholders);
    EXPECT_EQ(doc.StencilView, 2);
    EXPECT_EQ(doc.CurrentFace, 3);
  }
  background->CanSelect = true;  // a picture the user can select is not the background
  EXPECT_EQ(FindBackgroundImage(doc), nullptr);
}

TEST(CellPainter, LogsOnlyWhenPrinting) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  LoadCard(doc);
  TCellPainter cells(doc);
  QStringList lines;
  cells.Log = [&](const QString& line) { lines << line; };
  QImage page(40, 20, QImage::Format_RGB888);
  TBitmapCanvas canvas(&page);
  cells.DrawCell(canvas, 0, 0, 40, 20, false);
  EXPECT_TRUE(lines.isEmpty());
  cells.DrawCell(canvas, 0, 0, 40, 20, true);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.first(), QStringLiteral("*** GetDrawMdlRect Debut ***"));
  EXPECT_TRUE(lines.contains(QStringLiteral("  bmp.Width := 40; bmp.Height := 20;")));
  EXPECT_EQ(lines.last(), QStringLiteral("*** GetDrawMdlRect Fin ***"));
}

TEST(Calibration, MeasuresBecomeOffsetsPerPrinterPaperAndOrientation) {
  QHash<QString, QString> ini;
  TCalibrationStore store([&](const QString& k) { return ini.value(k); },
                          [&](const QString& k, const QString& v) {
                            ini.insert(k, v);
                            return true;
                          });
  const QString printer = QStringLiteral("Bureau");
  EXPECT_FALSE(store.Calibrated(printer, QStringLiteral("A4")));
  EXPECT_EQ(store.Offsets(printer, QStringLiteral("A4"), false), QPointF(0, 0));

  ASSERT_TRUE(store.StoreMeasures(printer, QStringLiteral("A4"), 0, false, 83.5, 48));
  EXPECT_TRUE(store.Calibrated(printer, QStringLiteral("A4")));  // type 0 is a type
  EXPECT_EQ(store.Type(printer, QStringLiteral("A4")), 0);
  EXPECT_DOUBLE_EQ(ReadReal(ini.value(QStringLiteral("PrintCalibre Bureau - A4 EcartX Portrait"))), 3.5);
  EXPECT_DOUBLE_EQ(ReadReal(ini.value(QStringLiteral("PrintCalibre Bureau - A4 EcartY Portrait"))), -2);
  EXPECT_EQ(store.Offsets(printer, QStringLiteral("A4"), false), QPointF(3.5, -2));
  EXPECT_EQ(store.Measures(printer, QStringLiteral("A4"), false), QPointF(83.5, 48));
  EXPECT_EQ(store.Offsets(printer, QStringLiteral("A4"), true), QPointF(0, 0));  // landscape untouched
  EXPECT_FALSE(store.Calibrated(printer, QStringLiteral("A5")));
  EXPECT_FALSE(store.Calibrated(QStringLiteral("Atelier"), QStringLiteral("A4")));

  ini.insert(QStringLiteral("PrintCalibre Bureau - A4 EcartX Paysage"), QStringLiteral("nan"));
  ini.insert(QStringLiteral("PrintCalibre Bureau - A4 EcartY Paysage"), QStringLiteral("1,25"));
  EXPECT_EQ(store.Offsets(printer, QStringLiteral("A4"), true), QPointF(0, 1.25));
}

// A layouts table of three formats on one paper.
QString WriteLayouts(const QTemporaryDir& dir) {
  const QString file = dir.filePath(QStringLiteral("papiers_gab.csv"));
  QFile f(file);
  f.open(QIODevice::WriteOnly);
  f.write(
      "nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;orientation\r\n"
      "Grand;M;A4;;;0;0;0;0;100;60;1;1;0;0\r\n"
      "Carte;M;A4;;;0;0;0;0;90;50;1;1;0;0\r\n"
      "Carte bis;M;A4;;;0;0;0;0;92;50;1;1;0;0\r\n"
      "Carte ter;N;A4;;;0;0;0;0;90;50;2;1;0;0\r\n");
  return file;
}

TEST(ChooseFormat, DocumentsDefaultThenTheNearestFirstOfEquals) {
  QTemporaryDir dir;
  TzunoGabarits layouts;
  layouts.FileName = WriteLayouts(dir);
  const QStringList all{QStringLiteral("Grand"), QStringLiteral("Carte"), QStringLiteral("Carte bis"),
                        QStringLiteral("Carte ter")};
  struct Case {
    QString defaut;
    double large, haut;
    QString chosen;
  };
  const Case cases[] = {
      {QString(), 91, 50, QStringLiteral("Carte")},  // Carte and Carte bis both 1 mm away: the first
      {QString(), 89, 50, QStringLiteral("Carte")},  // Carte ter as near, listed later
      {QString(), 99, 61, QStringLiteral("Grand")},  //
      {QStringLiteral("carte TER"), 100, 60, QStringLiteral("Carte ter")},  // the document's own wins
      {QStringLiteral("Absent"), 92, 51, QStringLiteral("Carte bis")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseFormat(layouts, all, c.defaut, c.large, c.haut), c.chosen) << c.large << " x " << c.haut;
  EXPECT_EQ(ChooseFormat(layouts, {}, QString(), 90, 50), QString());
  // Far from everything still picks one.
  EXPECT_EQ(ChooseFormat(layouts, all, QString(), 2e6, 2e6), QStringLiteral("Grand"));
}

TEST(ChooseLayout, DocumentsDefaultElseTheNearestOfAnyBrandAndPaper) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("papiers_gab.csv"));
  WriteAll(
      file,
      "nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;orientation\r\n"
      "A4 2 demi-pages;Standard;A4;;;0;0;0;0;210;148,5;1;2;0;0\r\n"
      "Cassee;Standard;A4;;;0;0;0;0;0;0;1;1;0;0\r\n"
      "Pas un nombre;Standard;A4;;;0;0;0;0;nan;1;1;1;0;0\r\n"
      "Sans marque;;A4;;;0;0;0;0;63,5;38,1;1;1;0;0\r\n"
      "Cartes postales;Standard;A6;;;0;0;0;0;148;105;1;1;0;0\r\n"
      "Etiquettes 63,5;Avery;A4;;;7;15;2,5;0;63,5;38,1;3;7;0;0\r\n"
      "Etiquettes 63,5 bis;Herma;A4;;;7;15;2,5;0;63,5;38,1;3;7;0;0\r\n"
      "Enveloppe DL;Enveloppes;DL;;;0;0;0;0;220;110;1;1;0;0\r\n"
      "Rond CD;Disques;A4;CD;pro;0;0;0;0;117;117;1;2;0;0\r\n");
  TzunoGabarits layouts;
  layouts.FileName = file;
  struct Case {
    const char *defaut, *kind, *soft, *papier, *marque;
    double large, haut;
    TLayoutChoice want;
  };
  const Case cases[] = {
      // The envelope opens on its own paper, not on the nearest A4 layout.
      {"", "", "", "", "", 220, 110, {"Enveloppe DL", "DL", "Enveloppes"}},
      {"", "", "", "", "", 63.5, 38.1, {"Etiquettes 63,5", "A4", "Avery"}},
      {"", "", "", "", "herma", 63.5, 38.1, {"Etiquettes 63,5 bis", "A4", "Herma"}},  // as near: the brand
                                                                                      // used
      {"", "", "", "", "Standard", 63.5, 38.1, {"Etiquettes 63,5", "A4", "Avery"}},  // nearer beats the brand
      {"cartes POSTALES", "", "", "", "", 63.5, 38.1, {"Cartes postales", "A6", "Standard"}},
      {"Enveloppe DL", "", "", "A4", "", 220, 110, {"A4 2 demi-pages", "A4", "Standard"}},  // not on A4
      {"", "", "", "A6", "", 63.5, 38.1, {"Cartes postales", "A6", "Standard"}},
      {"Cassee", "", "", "", "", 1, 1, {"Etiquettes 63,5", "A4", "Avery"}},  // rows that cannot print
      {"", "CD", "pro", "", "", 120, 120, {"Rond CD", "A4", "Disques"}},
      {"", "CD", "kid", "", "", 120, 120, {}},
  };
  for (const Case& c : cases) {
    const TLayoutChoice got =
        ChooseLayout(layouts, c.defaut, c.kind, c.soft, c.papier, c.marque, c.large, c.haut);
    EXPECT_EQ(got.nom, c.want.nom) << c.defaut << " " << c.large << " x " << c.haut;
    EXPECT_EQ(got.papier, c.want.papier);
    EXPECT_EQ(got.marque, c.want.marque);
  }
}

TEST(PrintJob, NumbersThatCannotPrintFailTheJob) {
  QTemporaryDir dir;
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  LoadCard(doc);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    double large, haut;
    int nbrex;
    QPointF calibration;
  };
  const Case cases[] = {
      {"cells of width 0", 0, 20, 1, {}},
      {"cells of negative height", 40, -20, 1, {}},
      {"cells of no number", nan, 20, 1, {}},
      {"no column", 40, 20, 0, {}},
      {"a calibration of 1e308", 40, 20, 1, {1e308, 0}},
      {"a calibration of -99999", 40, 20, 1, {0, -99999}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString pdf = dir.filePath(QStringLiteral("old.pdf"));
    WriteAll(pdf, "old");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    TSheetLayout sheet;
    sheet.Paper = TPapierInfo{QStringLiteral("A4"), QStringLiteral("A4"), 210, 297};
    sheet.Layout.large = c.large;
    sheet.Layout.haut = c.haut;
    sheet.Layout.nbrex = c.nbrex;
    sheet.Layout.nbrey = 1;
    TCellPainter cells(doc);
    TPrintJob job(printer, sheet, cells);
    EXPECT_FALSE(job.Begin(QStringLiteral("essai"), c.calibration));
    EXPECT_FALSE(job.Error.isEmpty());
    job.End();
    EXPECT_EQ(ReadAll(pdf), "old");
  }
  // The edges of what calibration measures still print.
  EXPECT_TRUE(TCalibrationStore::InRange(QPointF(220, -350)));
  EXPECT_FALSE(TCalibrationStore::InRange(QPointF(220.5, 0)));
}

// A PDF file is whole only when every object stands where its table says and the trailer ends it.
TEST(PdfFile, WrittenFilesAreCheckedAndPutInPlaceWhole) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("sortie.pdf"));
  WriteAll(target, "old");
  TPdfFile out;
  QString error;
  ASSERT_TRUE(out.Open(target, &error)) << error.toStdString();
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out.TempName());
    QPainter p(&printer);
    p.drawText(100, 100, QStringLiteral("page un"));
    printer.newPage();
    p.drawText(100, 100, QStringLiteral("page deux"));
  }
  const QByteArray whole = ReadAll(out.TempName());
  QString why;
  EXPECT_TRUE(CheckPdfFile(out.TempName(), &why)) << why.toStdString();
  const QString bad = dir.filePath(QStringLiteral("bad.pdf"));
  const struct {
    const char* name;
    QByteArray bytes;
  } damaged[] = {
      {"truncated", whole.left(whole.size() * 2 / 3)},
      {"cut at its end", whole.left(whole.size() - 8)},
      {"a block lost in the middle", whole.left(400) + whole.mid(400 + 512)},
      {"empty", QByteArray()},
  };
  for (const auto& d : damaged) {
    WriteAll(bad, d.bytes);
    EXPECT_FALSE(CheckPdfFile(bad, &why)) << d.name;
  }
  // A damaged file is not put in place; a whole one is, and no temporary file stays behind.
  WriteAll(out.TempName(), damaged[0].bytes);
  EXPECT_FALSE(out.Commit(&error));
  EXPECT_TRUE(error.contains(target)) << error.toStdString();
  EXPECT_EQ(ReadAll(target), "old");
  ASSERT_TRUE(out.Open(target, &error));
  WriteAll(out.TempName(), whole);
  EXPECT_TRUE(out.Commit(&error)) << error.toStdString();
  EXPECT_EQ(ReadAll(target), whole);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{QStringLiteral("bad.pdf"), QStringLiteral("sortie.pdf")}));
  // A folder that cannot take the file is named in the message.
  EXPECT_FALSE(out.Open(dir.filePath(QStringLiteral("absent/sortie.pdf")), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("absent/sortie.pdf"))) << error.toStdString();
}

TEST(CellsOffPaper, CellsReachingBeyondThePaper) {
  const TPapierInfo a4{QStringLiteral("A4"), QStringLiteral("A4"), 210, 297};
  TGabaritInfo g;
  g.large = 105;
  g.haut = 148.5;
  g.nbrex = 2;
  g.nbrey = 2;
  EXPECT_TRUE(CellsOffPaper(g, a4).isEmpty());  // exactly the sheet
  g.x0 = 0.5;
  EXPECT_EQ(CellsOffPaper(g, a4), (QList<int>{2, 4}));
  g.x0 = -1;
  EXPECT_EQ(CellsOffPaper(g, a4), (QList<int>{1, 3}));
  // On the back face the left column on paper holds the right-hand cells of the front.
  EXPECT_EQ(CellsOffPaper(g, a4, 2), (QList<int>{2, 4}));
  g.x0 = 0;
  g.intery = 1;
  EXPECT_EQ(CellsOffPaper(g, a4), (QList<int>{3, 4}));
  const TPapierInfo landscape{QStringLiteral("A4"), QStringLiteral("A4"), 297, 210};
  EXPECT_EQ(CellsOffPaper(g, landscape), (QList<int>{3, 4}));  // the second row is below 210 mm

  // Every shipped layout fits its paper as it is printed.
  TzunoPapiers papers;
  papers.FileName = kData + QStringLiteral("papiers_dim.csv");
  TzunoGabarits layouts;
  layouts.FileName = kData + QStringLiteral("papiers_gab.csv");
  QStringList names;
  layouts.ListFormats(names, QString(), QString(), QString(), QString());
  ASSERT_GT(names.size(), 10);
  for (const QString& name : names) {
    TGabaritInfo info;
    layouts.GetGabaritInfo(name, info);
    TPapierInfo paper;
    papers.GetPapierInfo(info.papier, paper);
    if (info.orientation == 1) std::swap(paper.large, paper.haut);
    EXPECT_TRUE(CellsOffPaper(info, paper).isEmpty()) << name.toStdString();
  }
}

TEST(PrintJob, MapsMillimetresThroughCalibrationAndPrintableAreaAndCanBeCancelled) {
  QTemporaryDir dir;
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  LoadCard(doc);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("job.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(10, 5, 10, 5), QPageLayout::Millimeter);
  const TPrinterMetrics m = GetPrinterMetrics(printer);
  ASSERT_NEAR(m.OffsetX, 10, 0.2);  // margins are kept in whole points
  ASSERT_NEAR(m.OffsetY, 5, 0.2);

  TSheetLayout sheet;
  sheet.Paper = TPapierInfo{QStringLiteral("A4"), QStringLiteral("A4"), 210, 297};
  sheet.Layout.large = 40;
  sheet.Layout.haut = 20;
  sheet.Layout.nbrex = 3;
  sheet.Layout.nbrey = 4;
  sheet.SetSelected(2, false);
  QList<int> drawn;
  sheet.OnDrawCell = [&](TCanvas&, int cell, int, int, int, int) { drawn << cell; };
  TCellPainter cells(doc);
  TPrintJob job(printer, sheet, cells);
  ASSERT_TRUE(job.Begin(QStringLiteral("essai"), QPointF(3.5, -2)));
  EXPECT_DOUBLE_EQ(sheet.ScaleX, (210 * m.PixelsPerMmX - 1) / 210);
  EXPECT_EQ(sheet.ScaleY, sheet.ScaleX);
  EXPECT_DOUBLE_EQ(sheet.OffsetX, -3.5 - m.OffsetX);
  EXPECT_DOUBLE_EQ(sheet.OffsetY, 2 - m.OffsetY);
  EXPECT_EQ(printer.docName(), QStringLiteral("essai"));
  ASSERT_TRUE(job.PrintSheet());
  EXPECT_EQ(drawn, (QList<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));  // the deselected cell stays blank

  // Cancelled after three more cells: the rest is not drawn and the document is abandoned.
  drawn.clear();
  job.Cancelled = [&] { return drawn.size() >= 3; };
  EXPECT_FALSE(job.PrintSheet());
  EXPECT_EQ(drawn.size(), 3);
  EXPECT_FALSE(job.End());
  EXPECT_EQ(job.Sheets(), 2);
}

TEST(PrintJob, APrinterThatIsGoneFailsWithAMessage) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  LoadCard(doc);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(QStringLiteral("Lorvane-printer-that-is-gone"));
  TSheetLayout sheet;
  sheet.Layout.large = 40;
  sheet.Layout.haut = 20;
  sheet.Layout.nbrex = sheet.Layout.nbrey = 1;
  TCellPainter cells(doc);
  const TCalibrationStore store([](const QString&) { return QString(); },
                                [](const QString&, const QString&) { return false; });
  QString error;
  EXPECT_FALSE(PrintPage(printer, QStringLiteral("Lorvane-printer-that-is-gone"), sheet, cells, store,
                         QStringLiteral("essai"), &error));
  EXPECT_FALSE(error.isEmpty());
}

QByteArray Utf16(const QString& text, bool bigEndian) {
  QByteArray out = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
  for (const QChar c : text) {
    const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
    out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
  }
  return out;
}

TEST(RecordStream, RowsOneAtATime) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    QByteArray bytes;
    QStringList fields;
    QList<QStringList> rows;
  };
  const Case cases[] = {
      {"semicolons, quotes, a line break inside quotes, blank lines",
       "Nom;Ville\r\n\"Dupont; fils\";\"dit \"\"Jo\"\"\"\r\n\r\n\"deux\r\nlignes\";Lyon\r\nseul\r\n",
       {"Nom", "Ville"},
       {{"Dupont; fils", "dit \"Jo\""}, {"deux\nlignes", "Lyon"}, {"seul"}}},
      {"commas, a UTF-8 mark, no line end at the end",
       "\xEF\xBB\xBFnom,pr\xC3\xA9nom\nL\xC3\xA9on,\xC3\x89mile",
       {"nom", "prénom"},
       {{"Léon", "Émile"}}},
      {"tabs and Windows-1252", "a\tb\r\n\xE9t\xE9\t\x80\r\n", {"a", "b"}, {{"été", "€"}}},
      {"UTF-16 little-endian with its mark",
       Utf16("nom;ville\r\nLéon;Caen\r\n\"a\r\nb\";€\r\n", false),
       {"nom", "ville"},
       {{"Léon", "Caen"}, {"a\nb", "€"}}},
      {"UTF-16 big-endian, lone CR line ends",
       Utf16("nom;ville\rÉmile;Nîmes\rZoé;Sète", true),
       {"nom", "ville"},
       {{"Émile", "Nîmes"}, {"Zoé", "Sète"}}},
      {"lone CR line ends, a line break inside quotes",
       "nom;ville\r\"deux\rlignes\";Lyon\rseul;Paris\r",
       {"nom", "ville"},
       {{"deux\nlignes", "Lyon"}, {"seul", "Paris"}}},
      {"a line of 300 KiB and a value of 100,000 characters",
       "nom;note\n" + QByteArray(300 * 1024, 'a') + ";x\n\"" + QByteArray(100000, 'b') + "\";y\n",
       {"nom", "note"},
       {{QString(300 * 1024, QLatin1Char('a')), "x"}, {QString(100000, QLatin1Char('b')), "y"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = dir.filePath(QStringLiteral("r.csv"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.bytes);
    f.close();
    TRecordStream s;
    QString error;
    ASSERT_TRUE(s.Open(file, &error)) << error.toStdString();
    EXPECT_EQ(s.Fields(), c.fields);
    EXPECT_EQ(s.FieldIndex(c.fields.last().toUpper()), c.fields.size() - 1);
    EXPECT_EQ(s.FieldIndex(QStringLiteral("absent")), -1);
    QStringList row;
    for (const QStringList& want : c.rows) {
      EXPECT_FALSE(s.AtEnd());
      ASSERT_TRUE(s.Next(row));
      EXPECT_EQ(row, want);
    }
    EXPECT_TRUE(s.AtEnd());
    EXPECT_FALSE(s.Next(row));
  }
  TRecordStream s;
  QString error;
  EXPECT_FALSE(s.Open(dir.filePath(QStringLiteral("missing.csv")), &error));
  EXPECT_FALSE(error.isEmpty());
  QFile empty(dir.filePath(QStringLiteral("empty.csv")));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  EXPECT_FALSE(s.Open(empty.fileName(), &error));

  // Files that cannot be read whole stop with a message naming the line instead of losing values.
  const struct {
    const char* name;
    QByteArray bytes;
    const char* message;
  } bad[] = {
      {"a value longer than the limit", "nom\n" + QByteArray(TRecordStream::kMaxFieldLength + 1, 'v') + "\n",
       "longer than"},
      {"more fields than the limit", "nom\n" + QByteArray(TRecordStream::kMaxFields, ';') + "\n", "fields"},
      {"a quoted value never closed", "nom;ville\nA;\"Caen\nB;Lyon\n", "not closed"},
  };
  for (const auto& c : bad) {
    SCOPED_TRACE(c.name);
    const QString file = dir.filePath(QStringLiteral("bad.csv"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.bytes);
    f.close();
    TRecordStream r;
    ASSERT_TRUE(r.Open(file, &error)) << error.toStdString();
    QStringList row;
    while (r.Next(row)) {
    }
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.Error().contains(QLatin1String(c.message))) << r.Error().toStdString();
    EXPECT_TRUE(r.Error().contains(QStringLiteral("line 2"))) << r.Error().toStdString();
  }
}

}  // namespace

namespace {

// The calibration sheet drawn into a PDF file and read back in pixels at 100 dots per inch.
TEST(CalibrationSheet, RulersStandWhereTheirLabelsSay) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("calibre.pdf"));
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // A printable area that does not start at the corner: the sheet is still placed from the corner.
    printer.setPageMargins(QMarginsF(6, 4, 6, 4), QPageLayout::Millimeter);
    QPainter p(&printer);
    DrawCalibrationSheet(p, printer, QStringLiteral("Feuille de reglage"), QStringLiteral("Mesurez"));
  }
  QProcess raster;
  raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"),
                                            QStringLiteral("-gray"), pdf, dir.filePath(QStringLiteral("c"))});
  ASSERT_TRUE(raster.waitForFinished(60000));
  const QImage page(dir.filePath(QStringLiteral("c-1.pgm")));
  ASSERT_FALSE(page.isNull());
  const double px = 100 / 25.4;
  // Columns (or rows) where at least half the pixels between 0 and 297 mm (210 mm) are dark: the
  // long ruler lines. Ticks and labels are shorter.
  auto longColumns = [&] {
    QList<double> mm;
    for (int x = 0; x < page.width(); ++x) {
      int dark = 0;
      for (int y = 0; y < page.height(); ++y) dark += qGray(page.pixel(x, y)) < 128;
      if (dark > page.height() / 2 && (mm.isEmpty() || x / px - mm.last() > 1)) mm << x / px;
    }
    return mm;
  };
  auto longRows = [&] {
    QList<double> mm;
    for (int y = 0; y < page.height(); ++y) {
      int dark = 0;
      for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128;
      if (dark > page.width() / 2 && (mm.isEmpty() || y / px - mm.last() > 1)) mm << y / px;
    }
    return mm;
  };
  const QList<double> columns = longColumns(), rows = longRows();
  const QList<double> wantColumns{30, 80, 130, 180}, wantRows{0, 50, 100, 150, 200, 250};
  ASSERT_EQ(columns.size(), wantColumns.size());
  for (int i = 0; i < columns.size(); ++i) EXPECT_NEAR(columns[i], wantColumns[i], 0.5) << i;
  ASSERT_EQ(rows.size(), wantRows.size());
  for (int i = 0; i < rows.size(); ++i) EXPECT_NEAR(rows[i], wantRows[i], 0.5) << i;

  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(60000));
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(words.contains(QStringLiteral("Feuille de reglage")));
  EXPECT_TRUE(words.contains(QStringLiteral("Mesurez")));
  // Labels give the distance to the reference lines: 70 under x = 10 mm, 0 under x = 80, -10 under
  // x = 90; 40 beside y = 10 mm, -200 beside y = 250.
  for (const char* label : {"70", "0", "-10", "40", "-100", "-200"})
    EXPECT_TRUE(words.split(QRegularExpression(QStringLiteral("\\s+"))).contains(QLatin1String(label)))
        << label;
}

}  // namespace
