// The print dialog over a real installation: printer and paper, the brand and the layout chosen for
// the document, cells switched off in the preview, and the print into a PDF file.
#include "print/ui/print_dialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/shipped_installation.h"
#include "common/shots.h"
#include "model/document.h"
#include "print/ui/calibration_dialog.h"
#include "print/ui/cups_daemon.h"
#include "print/ui/format_dialog.h"
#include "print/ui/mpage.h"
#include "print/ui/paper_dialog.h"
#include "print/ui/print_session.h"
#include "shell/language.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

void Choose(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  list->setCurrentItem(found.first());
}

TEST(PrintDialog, ChoosesTheLayoutAndPrintsTheChosenCellsIntoAPdf) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  dialog.resize(760, 560);
  dialog.show();
  Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
  EXPECT_EQ(dialog.SelectedPapier(), QStringLiteral("A4"));
  // A file has no paper feed: nothing to calibrate, nothing asked.
  EXPECT_FALSE(dialog.Panel4->isVisible());
  EXPECT_FALSE(dialog.Button2->isVisible());
  EXPECT_EQ(dialog.lbTitre->text(), MLMessage(610));
  EXPECT_FALSE(dialog.bPrecedent->isEnabled());
  // The document has a back face: the verso box is offered, unticked since the recto is not empty.
  EXPECT_FALSE(dialog.cbFaceVisible->isHidden());
  EXPECT_FALSE(dialog.cbFaceVisible->isChecked());
  Shot(dialog, QStringLiteral("print_page0.png"));

  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  EXPECT_TRUE(s.dialogs.Questions.isEmpty());
  EXPECT_EQ(dialog.bSuivant->text(), MLMessage(603));

  // The layout nearest the document's size, of whichever brand, and its brand.
  EXPECT_EQ(dialog.cbMarques->currentText(), QStringLiteral("Lorvane"));
  dialog.cbMarques->setCurrentText(QStringLiteral("Lorvane"));
  EXPECT_EQ(dialog.SelectedFormat(), QStringLiteral("A4 10 cartes de visite 85 x 54"));
  TzunoMPage* page = dialog.Page;
  const TSheetLayout& sheet = page->Sheet();
  const QPointF second = sheet.CellOrigin(2, 1) + QPointF(42.5, 27);
  QTest::mouseClick(page, Qt::LeftButton, {},
                    QPoint(sheet.MmToX(second.x()), sheet.MmToY(second.y())) + page->PreviewPosition());
  EXPECT_FALSE(sheet.IsSelected(2));
  Shot(dialog, QStringLiteral("print_page2.png"));

  const QString pdf = s.home.filePath(QStringLiteral("sheet.pdf"));
  s.dialogs.Files = {pdf};
  dialog.bSuivant->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_TRUE(QFileInfo::exists(pdf));
  EXPECT_EQ(Soft()->ReadUserString(QStringLiteral("PrintMarques")), QStringLiteral("Lorvane"));
  EXPECT_EQ(Soft()->ReadUserString(QStringLiteral("PrintGabarits")),
            QStringLiteral("A4 10 cartes de visite 85 x 54"));

  // Cell 2 (top right) is blank on paper, cell 1 is not.
  QProcess raster;
  raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"),
                                            QStringLiteral("-gray"), pdf, s.home.filePath("p")});
  ASSERT_TRUE(raster.waitForFinished(60000));
  const QImage printed(s.home.filePath(QStringLiteral("p-1.pgm")));
  ASSERT_FALSE(printed.isNull());
  const double px = 50 / 25.4;
  EXPECT_LT(qGray(printed.pixel(static_cast<int>(62 * px), static_cast<int>(40 * px))), 200);
  EXPECT_EQ(qGray(printed.pixel(static_cast<int>(147 * px), static_cast<int>(40 * px))), 255);
}

TEST(PrintDialog, CancellingThePrintLeavesNoFileAndStays) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  dialog.show();
  Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  const QString pdf = s.home.filePath(QStringLiteral("cancelled.pdf"));
  s.dialogs.Files = {pdf};
  int shown = 0;
  // The progress window's Cancel, pressed while the cells print.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* progress = dialog.findChild<QProgressDialog*>(QStringLiteral("pbImpression"))) {
      ++shown;
      progress->cancel();
    }
  });
  watch.start(0);
  dialog.bSuivant->click();
  watch.stop();
  EXPECT_GT(shown, 0);
  EXPECT_FALSE(QFileInfo::exists(pdf));
  EXPECT_EQ(dialog.Pages->currentIndex(), 1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.bSuivant->isEnabled());
  EXPECT_TRUE(s.dialogs.Questions.isEmpty());  // no error message for a cancelled print
}

TEST(PrintDialog, NoLayoutSelectedAsksAndStays) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
  s.dialogs.Answers = {arOK};
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  dialog.lbGabarits->setCurrentRow(-1);
  dialog.bSuivant->click();
  EXPECT_EQ(dialog.Pages->currentIndex(), 1);
  ASSERT_EQ(s.dialogs.Questions.size(), 1);
  EXPECT_EQ(s.dialogs.Questions[0].Text, MLMessage(653));
  dialog.bPrecedent->click();
  EXPECT_EQ(dialog.Pages->currentIndex(), 0);
  EXPECT_EQ(dialog.bSuivant->text(), MLMessage(600));

  MLSetLanguage(2);
  TfmPrint english(nullptr, kCard);
  english.resize(760, 560);
  english.show();
  Shot(english, QStringLiteral("print_page0_en.png"));
  MLSetLanguage(1);
}

QString TableFileOf(const QString& name) {
  return QStringLiteral(LORVANE_SOURCE_DATA "/donnees/") + name;
}

// Every window line of `window` lands on its control with the text of `language`, and every control a
// person can reach is named.
void CheckWindowLines(QWidget* window, int language) {
  SCOPED_TRACE(window->objectName().toStdString());
  QFile tra(QStringLiteral(LORVANE_SOURCE_DATA "/lorvane.tra"));
  ASSERT_TRUE(tra.open(QIODevice::ReadOnly));
  const QByteArray prefix = window->objectName().toLatin1() + '.';
  int lines = 0;
  TQtMLWindow ml(window);
  for (const QByteArray& line : tra.readAll().split('\n')) {
    if (!line.startsWith(prefix)) continue;
    ++lines;
    const QStringList f = QString::fromLatin1(line).trimmed().split(QLatin1Char(';'));  // Windows-1252
    ASSERT_EQ(f.size(), 3);
    const QStringList key = f[0].split(QLatin1Char('.'));
    const QString text = f[language];
    if (key.size() == 2) {
      EXPECT_EQ(window->windowTitle(), text);
      continue;
    }
    QObject* o = ml.Component(key[1]);
    ASSERT_TRUE(o) << key[1].toStdString();
    if (key[2].startsWith(QLatin1String("C ")))
      EXPECT_EQ(qobject_cast<QComboBox*>(o)->itemText(key[2].mid(2).toInt()), text) << key[2].toStdString();
    else if (auto* g = qobject_cast<QGroupBox*>(o))
      EXPECT_EQ(g->title(), text) << key[1].toStdString();
    else if (key[2] == QLatin1String("Hint"))
      EXPECT_EQ(qobject_cast<QWidget*>(o)->toolTip(), text) << key[1].toStdString();
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
      EXPECT_EQ(b->text(), text) << key[1].toStdString();
    else
      EXPECT_EQ(qobject_cast<QLabel*>(o)->text(), text) << key[1].toStdString();
  }
  EXPECT_GE(lines, 5);
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QListWidget*>(w) || qobject_cast<TzunoMPage*>(w) ||
                         qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QLineEdit*>(w);
    if (!control || w->parentWidget()->inherits("QComboBox") ||
        w->parentWidget()->inherits("QAbstractSpinBox"))
      continue;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
  }
}

TEST(PrintDialog, WindowLinesReachTheirControlsInBothLanguages) {
  Session s;
  ASSERT_TRUE(s.installation);
  for (int language : {1, 2}) {
    SCOPED_TRACE(language);
    MLSetLanguage(language);
    TfmPrint dialog(nullptr, kCard);
    dialog.resize(760, 560);
    dialog.show();
    CheckWindowLines(&dialog, language);
    EXPECT_EQ(dialog.lbPrinters->accessibleName(), language == 1 ? "Imprimante" : "Printer");
    EXPECT_EQ(dialog.cbMarques->accessibleName(), language == 1 ? "Marque" : "Brand");
    Shot(dialog, QStringLiteral("print_page0_%1.png").arg(language));
    Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
    dialog.bSuivant->click();
    Shot(dialog, QStringLiteral("print_page2_%1.png").arg(language));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    TfmPrintCalibre calibre(nullptr, printer, TfmPrint::kPdfPrinter, {"A4", "A4", 210, 297},
                            TCalibrationStore::ForUser(*Soft()));
    calibre.show();
    EXPECT_EQ(calibre.windowTitle(), QStringLiteral("PDF - A4"));
    calibre.lbPrintType->setCurrentRow(0);
    Shot(calibre, QStringLiteral("calibre_page0_%1.png").arg(language));
    s.dialogs.Files = {s.home.filePath(QStringLiteral("c.pdf"))};
    calibre.bSuivant->click();
    CheckWindowLines(&calibre, language);
    Shot(calibre, QStringLiteral("calibre_page1_%1.png").arg(language));

    const QString layouts = TableFileOf(QStringLiteral("papiers_gab.csv"));
    const QString papers = TableFileOf(QStringLiteral("papiers_dim.csv"));
    TfmImprimerFormat format(nullptr, QStringLiteral("A4 10 cartes de visite 85 x 54"), QStringLiteral("A4"),
                             dialog.Model(), layouts, papers);
    format.show();
    CheckWindowLines(&format, language);
    Shot(format, QStringLiteral("format_%1.png").arg(language));

    TfmPapier paper(nullptr, dialog.Model());
    paper.show();
    CheckWindowLines(&paper, language);
    paper.SetZoom(2);
    Shot(paper, QStringLiteral("paper_%1.png").arg(language));
  }
  MLSetLanguage(1);
}

// The mounting plan is offered on the last page when the installation has one for the layout; the
// T-shirt category prints mirrored when the catalogue shows one category at a time.
TEST(PrintDialog, PlanButtonAndTheTshirtCategory) {
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  QString error;
  auto installation =
      OpenShippedCopy(dir.filePath("inst"), dir.filePath("user"), {"TreeCategorie=1"}, &dialogs, &error);
  ASSERT_TRUE(installation) << error.toStdString();
  const QString layout = QStringLiteral("A4 10 cartes de visite 85 x 54");
  QDir().mkpath(Soft()->ExePath + "plan");
  QFile plan(Soft()->ExePath + "plan/" + layout + ".pdf");
  ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
  plan.close();
  {
    TfmPrint dialog(nullptr, kCard);
    dialog.show();
    EXPECT_FALSE(dialog.Miroir);
    EXPECT_FALSE(dialog.cbNoEchec->isHidden() && dialog.cbCadreGabarit->isHidden());
    Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
    EXPECT_FALSE(dialog.bPlan->isVisible());  // first page
    dialog.bSuivant->click();
    dialog.cbMarques->setCurrentText(QStringLiteral("Lorvane"));
    ASSERT_EQ(dialog.SelectedFormat(), layout);
    EXPECT_TRUE(dialog.bPlan->isVisible());
    dialog.lbGabarits->setCurrentRow(0);
    EXPECT_FALSE(dialog.bPlan->isVisible());  // no plan for that one
    dialog.bPrecedent->click();
    EXPECT_FALSE(dialog.bPlan->isVisible());
  }
  for (const char* folder : {"Modeles/Tshirt/", "Modeles/Tshirts/"}) {
    Soft()->ModelesPath = Soft()->DataPath + folder;
    TfmPrint dialog(nullptr, kCard);
    const bool mirrored = QByteArray(folder).endsWith("Tshirt/");
    EXPECT_EQ(dialog.Miroir, mirrored) << folder;
    EXPECT_EQ(dialog.cbCadreGabarit->isHidden(), mirrored) << folder;
    EXPECT_TRUE(dialog.cbNoEchec->isChecked());
  }
}

// What the system's set-up changed on the printer stays with it.
TEST(PrintDialog, PrinterPropertiesStayWithThePrinter) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  dialog.show();
  Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* setup = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!setup) return;
    shown = true;
    setup->printer()->setDocName(QStringLiteral("set up"));
    setup->accept();
  });
  dialog.bProperty->click();
  EXPECT_TRUE(shown);
  ASSERT_TRUE(dialog.Printer());
  EXPECT_EQ(dialog.Printer()->docName(), QStringLiteral("set up"));
  EXPECT_FALSE(dialog.lResX->text().isEmpty());
}

}  // namespace

namespace {

// A template made for a sheet opens on that sheet's brand and layout, whatever brand was used last.
TEST(PrintDialog, TheTemplatesOwnSheetIsOfferedFirst) {
  Session s;
  ASSERT_TRUE(s.installation);
  TzunoCADMdl card(nullptr, QRect(0, 0, 10, 10), 10, 10);
  ASSERT_TRUE(card.LoadFromFile(kCard));
  card.SetEntete(QStringLiteral("PapierDefaut"), QStringLiteral("A4 10 cartes de visite 85 x 55"));
  const QString file = s.home.filePath(QStringLiteral("card.mdl"));
  ASSERT_TRUE(card.SaveToFile(file));
  struct Case {
    QString stored, brand, format;
  };
  for (const Case& c : {Case{"", "Vellora", "A4 10 cartes de visite 85 x 55"},
                        Case{"Lorvane", "Vellora", "A4 10 cartes de visite 85 x 55"}}) {
    Soft()->WriteUserString(QStringLiteral("PrintMarques"), c.stored);
    TfmPrint dialog(nullptr, file);
    dialog.show();
    Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.Pages->currentIndex(), 1);
    EXPECT_EQ(dialog.cbMarques->currentText(), c.brand) << c.stored.toStdString();
    EXPECT_EQ(dialog.SelectedFormat(), c.format) << c.stored.toStdString();
    dialog.reject();
  }
}

}  // namespace

namespace {

// Selects a row the way assistive technologies do: through the list's accessible table, which
// selects without making the row current.
void SelectThroughAccessibility(QListWidget* list, int row) {
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(list);
  ASSERT_TRUE(access && access->tableInterface());
  ASSERT_TRUE(access->tableInterface()->selectRow(row));
}

TEST(PrintDialog, ARowSelectedThroughAccessibilityIsTheOneUsed) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  dialog.show();
  ASSERT_GE(dialog.lbPapiers->count(), 2);
  const QString second = dialog.lbPapiers->item(1)->data(Qt::UserRole).toString();
  SelectThroughAccessibility(dialog.lbPapiers, 1);
  EXPECT_EQ(dialog.SelectedPapier(), second);
  // The printer list likewise: the file printer (last row) after whichever row was first.
  const int file = dialog.lbPrinters->count() - 1;
  dialog.lbPrinters->setCurrentRow(0);
  SelectThroughAccessibility(dialog.lbPrinters, file);
  EXPECT_TRUE(dialog.PdfFileSelected());
  ASSERT_TRUE(dialog.Printer());
  EXPECT_EQ(dialog.Printer()->outputFormat(), QPrinter::PdfFormat);
  SelectThroughAccessibility(dialog.lbPapiers, 0);
  EXPECT_EQ(dialog.SelectedPapier(), QStringLiteral("A4"));
}

// A system queue named "PDF" (cups-pdf's default) is not the file printer: its own row, it prints
// on the queue without asking for a file, and its calibration is its own.
TEST(PrintDialog, AQueueNamedPdfIsNotTheFilePrinter) {
  if (const QString missing = TTestCups::Missing(); !missing.isEmpty())
    GTEST_SKIP() << missing.toStdString() << " is not installed (scripts/deps.sh installs it)";
  Session s;
  ASSERT_TRUE(s.installation);
  TTestCups cups(QStringLiteral("PDF"));
  ASSERT_TRUE(cups.Error.isEmpty()) << cups.Error.toStdString();
  TCalibrationStore store = TCalibrationStore::ForUser(*Soft());
  // Offsets a user stored for the file printer stay the file printer's.
  ASSERT_TRUE(store.StoreMeasures(TfmPrint::kPdfPrinter, QStringLiteral("A4"), 1, false, 83, 52));

  TfmPrint dialog(nullptr, kCard);
  dialog.show();
  const QList<QListWidgetItem*> queue = dialog.lbPrinters->findItems(QStringLiteral("PDF"), Qt::MatchExactly);
  const QList<QListWidgetItem*> file = dialog.lbPrinters->findItems(TfmPrint::PdfFileRow(), Qt::MatchExactly);
  ASSERT_EQ(queue.size(), 1);
  ASSERT_EQ(file.size(), 1);
  EXPECT_NE(TfmPrint::PdfFileRow(), QStringLiteral("PDF"));

  dialog.lbPrinters->setCurrentItem(file.first());
  EXPECT_EQ(dialog.SelectedPrinter(), TfmPrint::kPdfPrinter);
  EXPECT_EQ(dialog.Printer()->outputFormat(), QPrinter::PdfFormat);
  EXPECT_FALSE(dialog.Panel4->isVisible());

  dialog.lbPrinters->setCurrentItem(queue.first());
  EXPECT_EQ(dialog.SelectedQueue(), QStringLiteral("PDF"));
  EXPECT_NE(dialog.SelectedPrinter(), TfmPrint::kPdfPrinter);
  EXPECT_EQ(dialog.Printer()->outputFormat(), QPrinter::NativeFormat);
  EXPECT_EQ(dialog.Printer()->printerName(), QStringLiteral("PDF"));
  EXPECT_TRUE(dialog.Panel4->isVisible());  // the file's calibration is not the queue's
  EXPECT_TRUE(dialog.Button2->isVisible());
  Shot(dialog, QStringLiteral("print_queue_pdf.png"));

  // Printed on the queue: no file asked.
  s.dialogs.Answers = {arYes};  // go on uncalibrated
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  dialog.bSuivant->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(s.dialogs.Faults.isEmpty()) << s.dialogs.Faults.join('\n').toStdString();
  EXPECT_EQ(cups.Jobs(), 1);
}

// Whether the page (rendered at `dpi`) holds ink inside the rectangle (mm).
bool Inked(const QImage& page, const QRectF& mm, double dpi) {
  const double px = dpi / 25.4;
  for (int y = static_cast<int>(mm.top() * px) + 2; y < static_cast<int>(mm.bottom() * px) - 2; ++y)
    for (int x = static_cast<int>(mm.left() * px) + 2; x < static_cast<int>(mm.right() * px) - 2; ++x)
      if (page.valid(x, y) && qGray(page.pixel(x, y)) < 160) return true;
  return false;
}

QStringList PdfPages(const QString& pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!text.waitForFinished(60000)) return {};
  QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

QImage Page1(const QString& pdf, const QString& folder, int dpi) {
  QProcess raster;
  raster.start(
      QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-f"),
       QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, folder + QStringLiteral("/p")});
  if (!raster.waitForFinished(60000)) return {};
  for (const QString& name : QDir(folder).entryList({QStringLiteral("p-*1.pgm")}))
    return QImage(folder + QLatin1Char('/') + name);
  return {};
}

// Copies, the first cell of a partly used sheet and a records file, in the preview and on paper:
// the print takes the same run as lorvane-cli print --records.
TEST(PrintDialog, CopiesStartCellAndRecordsFillTheSheets) {
  Session s;
  ASSERT_TRUE(s.installation);
  const QString doc = s.home.filePath(QStringLiteral("nom.mdl"));
  {
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "Version=1.2\r\nLarge=85\r\nHaut=54\r\n\r\nFace=1\r\n  Objet=1\r\n    Name=texte\r\n    Face=1\r\n"
        "    CanSelect=1\r\n    Pen=000000,1,0\r\n    Brush=FFFFFF,1\r\n    x=42.5\r\n    y=20\r\n    l=0\r\n"
        "    h=0\r\n    r=0\r\n    Font=000000,Arial,4000,\r\n    Aligne=0\r\n    Alignement=0\r\n"
        "    txt=<Nom>\r\n  End\r\n  \r\nEnd\r\n\r\n");
  }
  const QString csv = s.home.filePath(QStringLiteral("gens.csv"));
  {
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray text = "nom;ville\r\n";
    for (int i = 1; i <= 13; ++i) text += "P" + QByteArray(1, char('A' + i - 1)) + "X;Lyon\r\n";
    f.write(text);
  }
  const QString layout = QStringLiteral("A4 10 cartes de visite 85 x 54");  // 2 x 5 cells, no gaps

  struct Case {
    const char* name;
    QString document;
    bool records;
    int copies, start;
    int pages;
    QList<int> firstSheetBlank;  // cells of page 1 left blank
  };
  const Case cases[] = {
      // 13 records twice each from cell 4: 7 + 10 + 9 labels.
      // The document shows nothing but a merge field: a cell with ink holds a record.
      {"records", doc, true, 2, 4, 3, {1, 2, 3}},
      // Without records the copies are sheets; the first starts at cell 9.
      {"sheets", kCard, false, 2, 9, 2, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TfmPrint dialog(nullptr, c.document);
    dialog.resize(1000, 900);
    dialog.show();
    Choose(dialog.lbPrinters, TfmPrint::PdfFileRow());
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.Pages->currentIndex(), 1);
    dialog.cbMarques->setCurrentText(QStringLiteral("Lorvane"));
    Choose(dialog.lbGabarits, layout);
    if (c.records) {
      // A file that cannot be read, or holds no record, is refused with a message.
      const QString empty = s.home.filePath(QStringLiteral("vide.csv"));
      QFile header(empty);
      ASSERT_TRUE(header.open(QIODevice::WriteOnly));
      header.write("nom;ville\r\n");
      header.close();
      for (const QString& bad : {s.home.filePath(QStringLiteral("absent.csv")), empty}) {
        s.dialogs.OpenFiles = {bad};
        s.dialogs.Answers = {arOK};
        dialog.bFiches->click();
        EXPECT_TRUE(dialog.RecordsFile().isEmpty());
        ASSERT_FALSE(s.dialogs.Questions.isEmpty());
        EXPECT_TRUE(s.dialogs.Questions.last().Text.contains(bad))
            << s.dialogs.Questions.last().Text.toStdString();
      }
      // A header naming none of the document's fields is refused too, naming both sides.
      const QString other = s.home.filePath(QStringLiteral("autres.csv"));
      QFile others(other);
      ASSERT_TRUE(others.open(QIODevice::WriteOnly));
      others.write("prenom;ville\r\nAnne;Lyon\r\n");
      others.close();
      s.dialogs.OpenFiles = {other};
      s.dialogs.Answers = {arOK};
      dialog.bFiches->click();
      EXPECT_TRUE(dialog.RecordsFile().isEmpty());
      ASSERT_FALSE(s.dialogs.Questions.isEmpty());
      const QString refusal = s.dialogs.Questions.last().Text;
      EXPECT_TRUE(refusal.contains(QStringLiteral("autres.csv")) &&
                  refusal.contains(QStringLiteral("<Nom>"), Qt::CaseInsensitive) &&
                  refusal.contains(QStringLiteral("prenom, ville")))
          << refusal.toStdString();
      s.dialogs.OpenFiles = {csv};
      dialog.bFiches->click();
      ASSERT_EQ(dialog.RecordsFile(), csv);
      EXPECT_EQ(dialog.RecordCount(), 13);
      EXPECT_TRUE(dialog.lNbFiches->text().contains(QStringLiteral("13")))
          << dialog.lNbFiches->text().toStdString();
    }
    dialog.cbNoEchec->setChecked(false);  // texts stay texts in the PDF
    dialog.seCopies->setValue(c.copies);
    dialog.seDebut->setValue(c.start);
    EXPECT_EQ(dialog.seDebut->maximum(), 10);

    // The preview shows the first sheet as it prints: blank cells before the start, and with
    // records one record per cell (a record's copies alike, the next record different).
    const TSheetLayout& sheet = dialog.Page->Sheet();
    const QImage preview = dialog.Page->Preview();
    const auto cellImage = [&](int cell) {
      const QPointF o = sheet.CellOrigin((cell - 1) % 2 + 1, (cell - 1) / 2 + 1);
      return preview.copy(QRect(QPoint(sheet.MmToX(o.x()) + 1, sheet.MmToY(o.y()) + 1),
                                QPoint(sheet.MmToX(o.x() + 85) - 1, sheet.MmToY(o.y() + 54) - 1)));
    };
    const auto white = [](const QImage& image) {
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (qGray(image.pixel(x, y)) < 250) return false;
      return true;
    };
    for (int cell = 1; cell <= 10; ++cell)
      EXPECT_EQ(white(cellImage(cell)), c.firstSheetBlank.contains(cell)) << cell;
    Shot(dialog, QStringLiteral("print_run_%1.png").arg(QString::fromLatin1(c.name)));

    const QString pdf = s.home.filePath(QStringLiteral("%1.pdf").arg(QString::fromLatin1(c.name)));
    s.dialogs.Files = {pdf};
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), c.pages);
    if (c.records) {
      // Each record twice, in order: page 1 holds PA to PD (PD once), page 3 ends with PM.
      const auto count = [&](int page, const char* name) {
        return pages[page].count(
            QRegularExpression(QStringLiteral("\\b%1\\b").arg(QString::fromLatin1(name))));
      };
      EXPECT_EQ(count(0, "PAX"), 2);
      EXPECT_EQ(count(0, "PDX"), 1);
      EXPECT_EQ(count(1, "PDX"), 1);
      EXPECT_EQ(count(1, "PIX"), 1);
      EXPECT_EQ(count(2, "PMX"), 2);
      EXPECT_EQ(count(2, "PAX"), 0);
    }
    const QImage page = Page1(pdf, s.home.path(), 30);
    ASSERT_FALSE(page.isNull());
    for (int cell = 1; cell <= 10; ++cell) {
      const QPointF o = sheet.CellOrigin((cell - 1) % 2 + 1, (cell - 1) / 2 + 1);
      EXPECT_EQ(Inked(page, QRectF(o, QSizeF(85, 54)), 30), !c.firstSheetBlank.contains(cell)) << cell;
    }
    for (const QString& name : QDir(s.home.path()).entryList({QStringLiteral("p-*.pgm")}))
      QFile::remove(s.home.filePath(name));
  }
}

}  // namespace
