// The printer adjustment: the test sheets it prints, the offsets it keeps per orientation, Cancel
// keeping only what Next confirmed, and the print dialog's Calibrate button.
#include "print/ui/calibration_dialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "common/shots.h"
#include "model/encodings.h"
#include "print/ui/cups_daemon.h"
#include "print/ui/print_dialog.h"
#include "print/ui/print_session.h"
#include "shell/language.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

// Width and height in points of the PDF's first page.
QSizeF PageSize(const QString& pdf) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  if (!info.waitForFinished(30000)) return {};
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
    if (line.startsWith(QLatin1String("Page size:"))) {
      const QStringList w = line.simplified().split(' ');
      return QSizeF(w.value(2).toDouble(), w.value(4).toDouble());
    }
  return {};
}

TEST(PrintCalibre, StoresTheMeasuresOfConfirmedPagesOnly) {
  Session s;
  ASSERT_TRUE(s.installation);
  QMap<QString, QString> keys;
  const TCalibrationStore store([&](const QString& k) { return keys.value(k); },
                                [&](const QString& k, const QString& v) {
                                  keys[k] = v;
                                  return true;
                                });
  TPapierInfo a4{QStringLiteral("A4"), QStringLiteral("A4"), 210, 297};
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString portrait = s.home.filePath(QStringLiteral("portrait.pdf"));
  const QString landscape = s.home.filePath(QStringLiteral("landscape.pdf"));
  {
    TfmPrintCalibre dialog(nullptr, printer, QStringLiteral("Jet"), a4, store);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Jet - A4"));
    EXPECT_FALSE(dialog.bSuivant->isEnabled());  // no type chosen yet
    EXPECT_EQ(dialog.lbSousTitre->text(), MLMessage(630));
    dialog.lbPrintType->setCurrentRow(1);
    ASSERT_TRUE(dialog.bSuivant->isEnabled());
    s.dialogs.Files = {portrait, landscape};
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.Pages->currentIndex(), 1);
    EXPECT_EQ(dialog.seX->value(), 80);  // nothing stored yet: offsets 0
    EXPECT_EQ(dialog.seY->value(), 50);
    EXPECT_TRUE(keys.isEmpty());
    dialog.seX->setValue(83.5);
    dialog.seY->setValue(48);
    dialog.bSuivant->click();
    ASSERT_EQ(dialog.Pages->currentIndex(), 2);
    EXPECT_EQ(dialog.bSuivant->text(), MLMessage(626));
    EXPECT_EQ(dialog.lbSousTitre->text(), MLMessage(632));
    dialog.seX1->setValue(81);
    dialog.seY1->setValue(49);
    dialog.bAnnuler->click();
  }
  EXPECT_EQ(keys.value(QStringLiteral("PrintCalibre Jet - A4 Type")), QStringLiteral("1"));
  EXPECT_DOUBLE_EQ(ReadReal(keys.value(QStringLiteral("PrintCalibre Jet - A4 EcartX Portrait"))), 3.5);
  EXPECT_DOUBLE_EQ(ReadReal(keys.value(QStringLiteral("PrintCalibre Jet - A4 EcartY Portrait"))), -2);
  EXPECT_EQ(keys.size(), 3);  // nothing of the landscape page, left by Cancel
  // One sheet in each orientation was printed.
  const QSizeF upright = PageSize(portrait), turned = PageSize(landscape);
  EXPECT_NEAR(upright.width(), 595.3, 1);
  EXPECT_NEAR(upright.height(), 841.9, 1);
  EXPECT_NEAR(turned.width(), 841.9, 1);
  EXPECT_NEAR(turned.height(), 595.3, 1);

  // Reopened: the stored type is chosen and the stored measures are shown again.
  TfmPrintCalibre again(nullptr, printer, QStringLiteral("Jet"), a4, store);
  again.show();
  EXPECT_EQ(again.lbPrintType->currentRow(), 1);
  s.dialogs.Files = {portrait, landscape, landscape};
  again.bSuivant->click();
  EXPECT_DOUBLE_EQ(again.seX->value(), 83.5);
  EXPECT_DOUBLE_EQ(again.seY->value(), 48);
  again.bSuivant->click();
  again.bPrecedent->click();
  EXPECT_EQ(again.Pages->currentIndex(), 1);
  EXPECT_EQ(again.bSuivant->text(), MLMessage(600));
  again.bSuivant->click();
  again.seX1->setValue(78);
  again.bSuivant->click();
  EXPECT_EQ(again.result(), QDialog::Accepted);
  EXPECT_EQ(store.Offsets(QStringLiteral("Jet"), QStringLiteral("A4"), true), QPointF(-2, 0));
}

// A focused list makes its first row current without choosing it: Next waits for a type selected,
// by a click or through the accessible table as assistive technologies do, and stores that type.
TEST(PrintCalibre, NextWaitsForASelectedType) {
  Session s;
  ASSERT_TRUE(s.installation);
  QMap<QString, QString> keys;
  const TCalibrationStore store([&](const QString& k) { return keys.value(k); },
                                [&](const QString& k, const QString& v) {
                                  keys[k] = v;
                                  return true;
                                });
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  TfmPrintCalibre dialog(nullptr, printer, QStringLiteral("Jet"), {"A4", "A4", 210, 297}, store);
  dialog.show();
  QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(dialog.lbPrintType, &focus);
  EXPECT_FALSE(dialog.bSuivant->isEnabled());
  EXPECT_EQ(dialog.SelectedType(), -1);
  dialog.bPreSuivClick(2);
  EXPECT_EQ(dialog.Pages->currentIndex(), 0);

  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(dialog.lbPrintType);
  ASSERT_TRUE(access && access->tableInterface());
  ASSERT_TRUE(access->tableInterface()->selectRow(2));
  EXPECT_TRUE(dialog.bSuivant->isEnabled());
  s.dialogs.Files = {s.home.filePath(QStringLiteral("p.pdf"))};
  dialog.bSuivant->click();
  ASSERT_EQ(dialog.Pages->currentIndex(), 1);
  dialog.bSuivant->click();
  EXPECT_EQ(keys.value(QStringLiteral("PrintCalibre Jet - A4 Type")), QStringLiteral("2"));
}

// A file has no paper feed: the file printer offers no calibration. A system queue named like it
// ("PDF", cups-pdf's default) is calibrated under a key of its own, leaving the values stored for
// the file printer alone.
TEST(PrintCalibre, TheCalibrateButtonCalibratesTheSelectedQueueUnderItsOwnKey) {
  if (const QString missing = TTestCups::Missing(); !missing.isEmpty())
    GTEST_SKIP() << missing.toStdString() << " is not installed (scripts/deps.sh installs it)";
  Session s;
  ASSERT_TRUE(s.installation);
  TTestCups cups(QStringLiteral("PDF"));
  ASSERT_TRUE(cups.Error.isEmpty()) << cups.Error.toStdString();
  const TCalibrationStore store = TCalibrationStore::ForUser(*Soft());
  TCalibrationStore(store).StoreMeasures(TfmPrint::kPdfPrinter, QStringLiteral("A4"), 1, false, 83, 52);
  TfmPrint print(nullptr, kCard);
  print.show();
  const QList<QListWidgetItem*> file = print.lbPrinters->findItems(TfmPrint::PdfFileRow(), Qt::MatchExactly);
  ASSERT_EQ(file.size(), 1);
  print.lbPrinters->setCurrentItem(file.first());
  EXPECT_FALSE(print.Button2->isVisible());
  EXPECT_FALSE(print.Panel4->isVisible());
  const QList<QListWidgetItem*> queue = print.lbPrinters->findItems(QStringLiteral("PDF"), Qt::MatchExactly);
  ASSERT_EQ(queue.size(), 1);
  print.lbPrinters->setCurrentItem(queue.first());
  ASSERT_TRUE(print.Panel4->isVisible());
  ASSERT_TRUE(print.Button2->isVisible());
  QString caption;
  QTimer::singleShot(0, [&] {
    auto* dialog = print.findChild<TfmPrintCalibre*>();
    if (!dialog) return;
    caption = dialog->windowTitle();
    dialog->lbPrintType->setCurrentRow(2);
    dialog->bSuivant->click();
    dialog->seX->setValue(79);
    dialog->bSuivant->click();
    dialog->bSuivant->click();
  });
  print.Button2->click();
  const QString key = QueueCalibrationName(QStringLiteral("PDF"));
  EXPECT_NE(key, TfmPrint::kPdfPrinter);
  EXPECT_EQ(caption, key + QStringLiteral(" - A4"));
  EXPECT_FALSE(print.Panel4->isVisible());  // calibrated now
  Shot(print, QStringLiteral("print_calibrated.png"));
  EXPECT_EQ(store.Type(key, QStringLiteral("A4")), 2);
  EXPECT_DOUBLE_EQ(store.Offsets(key, QStringLiteral("A4"), false).x(), -1);
  EXPECT_EQ(store.Type(TfmPrint::kPdfPrinter, QStringLiteral("A4")), 1);
  EXPECT_DOUBLE_EQ(store.Offsets(TfmPrint::kPdfPrinter, QStringLiteral("A4"), false).x(), 3);
  EXPECT_EQ(cups.Jobs(), 2);  // the two test sheets went to the queue
}

}  // namespace
