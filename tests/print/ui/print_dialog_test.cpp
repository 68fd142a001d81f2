// The print dialog over a real installation: printer and paper, the brand and the layout chosen for
// the document, cells switched off in the preview, and the print into a PDF file.
#include "print/ui/print_dialog.h"

#include <gtest/gtest.h>

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
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/shipped_installation.h"
#include "common/shots.h"
#include "model/document.h"
#include "print/ui/calibration_dialog.h"
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
  Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
  EXPECT_EQ(dialog.SelectedPapier(), QStringLiteral("A4"));
  EXPECT_TRUE(dialog.Panel4->isVisible());  // PDF on A4 was never calibrated
  EXPECT_EQ(dialog.lbTitre->text(), MLMessage(610));
  EXPECT_FALSE(dialog.bPrecedent->isEnabled());
  // The document has a back face: the verso box is offered, unticked since the recto is not empty.
  EXPECT_FALSE(dialog.cbFaceVisible->isHidden());
  EXPECT_FALSE(dialog.cbFaceVisible->isChecked());
  Shot(dialog, QStringLiteral("print_page0.png"));

  // Uncalibrated with confirmation on: No stays, Yes goes on.
  s.dialogs.Answers = {arNo, arYes};
  dialog.bSuivant->click();
  EXPECT_EQ(dialog.Pages->currentIndex(), 0);
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  ASSERT_EQ(s.dialogs.Questions.size(), 2);
  EXPECT_EQ(s.dialogs.Questions[0].Text, MLMessage(654));
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
  Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
  s.dialogs.Answers = {arYes};
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
  EXPECT_EQ(s.dialogs.Questions.size(), 1);  // no error message for a cancelled print
}

TEST(PrintDialog, NoLayoutSelectedAsksAndStays) {
  Session s;
  ASSERT_TRUE(s.installation);
  TfmPrint dialog(nullptr, kCard);
  Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
  s.dialogs.Answers = {arYes, arOK};
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  dialog.lbGabarits->setCurrentRow(-1);
  dialog.bSuivant->click();
  EXPECT_EQ(dialog.Pages->currentIndex(), 1);
  ASSERT_EQ(s.dialogs.Questions.size(), 2);
  EXPECT_EQ(s.dialogs.Questions[1].Text, MLMessage(653));
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
    Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
    s.dialogs.Answers = {arYes};
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
    Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
    EXPECT_FALSE(dialog.bPlan->isVisible());  // first page
    dialogs.Answers = {arYes};
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
  Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
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
    Choose(dialog.lbPrinters, TfmPrint::kPdfPrinter);
    s.dialogs.Answers = {arYes};
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.Pages->currentIndex(), 1);
    EXPECT_EQ(dialog.cbMarques->currentText(), c.brand) << c.stored.toStdString();
    EXPECT_EQ(dialog.SelectedFormat(), c.format) << c.stored.toStdString();
    dialog.reject();
  }
}

}  // namespace
