// The verb that prints a document on a label sheet, on a printer or into a PDF file, optionally one
// record of a mailing file per cell.
#include <stdio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <memory>

#include "cli/verbs.h"
#include "model/document.h"
#include "model/encodings.h"
#include "print/print_job.h"
#include "print/record_stream.h"
#include "print/sheet_layout.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace cli {
namespace {

// "1,3,5": cell numbers from 1 to `count`. False on anything else.
bool ReadCells(const QString& text, int count, QList<int>* cells) {
  for (const QString& part : text.split(QLatin1Char(','))) {
    bool ok = false;
    const int n = part.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > count) return false;
    cells->append(n);
  }
  return !cells->isEmpty();
}

QString CellList(const QList<int>& cells) {
  QStringList parts;
  for (int i = 0; i < cells.size() && i < 10; ++i) parts << QString::number(cells[i]);
  if (cells.size() > 10) parts << QStringLiteral("...");
  return parts.join(QLatin1Char(','));
}

int PrintVerb(QStringList args, const Context& context) {
  QString printerName, pdf, paperId, layoutName, cellsText, recordsFile, title;
  if (!TakeOption(args, QStringLiteral("--printer"), &printerName) ||
      !TakeOption(args, QStringLiteral("--pdf"), &pdf) ||
      !TakeOption(args, QStringLiteral("--paper"), &paperId) ||
      !TakeOption(args, QStringLiteral("--layout"), &layoutName) ||
      !TakeOption(args, QStringLiteral("--cells"), &cellsText) ||
      !TakeOption(args, QStringLiteral("--records"), &recordsFile) ||
      !TakeOption(args, QStringLiteral("--title"), &title))
    return Usage();
  const bool verso = TakeFlag(args, QStringLiteral("--verso"));
  const bool mirror = TakeFlag(args, QStringLiteral("--mirror"));
  const bool safe = TakeFlag(args, QStringLiteral("--safe"));
  if (args.size() != 1 || args[0].startsWith(QLatin1String("--")) || printerName.isEmpty() == pdf.isEmpty())
    return Usage();
  const QString in = args[0];
  const TInstallation& installation = *context.installation;
  TSoft& soft = installation.Soft();

  TRecordStream records;
  const bool merging = !recordsFile.isEmpty();
  QString error;
  if (merging && !records.Open(recordsFile, &error)) return Fail(error);

  // The fields the document asks for as it is read: a records file must fill at least one.
  QStringList asked;
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  installation.Connect(doc);
  doc.OnChampFusion = [&asked, settings = doc.OnChampFusion](TzunoCADObj* sender, const QString& name,
                                                             QString& value) {
    if (!asked.contains(name, Qt::CaseInsensitive) && asked.size() < 1000) asked << name;
    settings(sender, name, value);
  };
  if (!doc.LoadFromFile(in)) return Fail(QStringLiteral("cannot read %1").arg(in));
  if (!(doc.Large > 0 && doc.Haut > 0)) return Fail(QStringLiteral("%1 has no page size").arg(in));
  if (merging) {
    // A file whose header names none of the document's fields would print empty labels.
    bool used = false;
    for (const QString& name : asked) used = used || records.FieldIndex(name) >= 0;
    if (!used)
      return Fail(asked.isEmpty()
                      ? QStringLiteral("%1 has no <Field> mark for the records of %2").arg(in, recordsFile)
                      : QStringLiteral("none of the fields of %1 (%2) is one of %3 (%4)")
                            .arg(recordsFile, records.Fields().join(QStringLiteral(", ")), in,
                                 asked.join(QStringLiteral(", "))));
  }

  // The layout: the one named, else the document's own, else the nearest in size of any brand.
  TSheetLayout sheet;
  sheet.Gabarits.FileName = TableFile(soft, soft.PapiersGabFile);
  TzunoPapiers papers;
  papers.FileName = TableFile(soft, soft.PapiersDimFile);
  TGabaritInfo layout;
  if (layoutName.isEmpty()) {
    const QString kind = doc.Gabarit != 0 ? TzunoCADMdl::GabaritName(doc.Gabarit) : QString();
    layoutName = ChooseLayout(sheet.Gabarits, doc.GetEntete(QStringLiteral("PapierDefaut")), kind, soft.Code,
                              paperId, QString(), doc.Large, doc.Haut)
                     .nom;
    if (layoutName.isEmpty())
      return Fail(paperId.isEmpty()
                      ? QStringLiteral("no layout is made for %1").arg(in)
                      : QStringLiteral("no layout on the paper %1 is made for %2").arg(paperId, in));
  }
  sheet.Gabarits.GetGabaritInfo(layoutName, layout);
  if (layout.nom.isEmpty())
    return Fail(QStringLiteral("no layout %1 in %2").arg(layoutName, sheet.Gabarits.FileName));
  if (const QString why = LayoutProblem(layout); !why.isEmpty())
    return Fail(QStringLiteral("%1 (%2)").arg(why, sheet.Gabarits.FileName));
  if (paperId.isEmpty()) paperId = layout.papier;
  TPapierInfo paper;
  papers.GetPapierInfo(paperId, paper);
  if (paper.papier.isEmpty()) return Fail(QStringLiteral("no paper %1 in %2").arg(paperId, papers.FileName));
  if (!(paper.large > 0 && paper.haut > 0 && std::isfinite(paper.large) && std::isfinite(paper.haut)))
    return Fail(QStringLiteral("the paper %1 has a size of %2 x %3 mm in %4")
                    .arg(paperId, WriteReal(paper.large), WriteReal(paper.haut), papers.FileName));
  const TPapierInfo portrait = paper;
  const bool landscape = layout.orientation == 1;
  if (landscape) std::swap(paper.large, paper.haut);
  sheet.Paper = paper;
  if (verso) {
    // The back side is laid out on the paper as it is printed.
    sheet.Gabarits.Face = 2;
    sheet.Gabarits.GetGabaritInfo(layoutName, layout);
  }
  sheet.Layout = layout;
  if (const QList<int> off = CellsOffPaper(layout, paper, verso ? 2 : 1); !off.isEmpty())
    return Fail(
        QStringLiteral("the layout %1 does not fit the paper %2 (%3 x %4 mm): cells %5 reach beyond it")
            .arg(layoutName, paper.papier)
            .arg(paper.large)
            .arg(paper.haut)
            .arg(CellList(off)));
  const long long count = static_cast<long long>(layout.nbrex) * layout.nbrey;
  if (!cellsText.isEmpty()) {
    QList<int> cells;
    const int selectable = static_cast<int>(std::min<long long>(count, TSheetLayout::kMaxSelectable));
    if (!ReadCells(cellsText, selectable, &cells))
      return Fail(QStringLiteral("--cells takes cell numbers from 1 to %1, as 1,3,5").arg(selectable));
    for (int c = 1; c <= TSheetLayout::kMaxSelectable; ++c) sheet.SetSelected(c, false);
    for (int c : cells) sheet.SetSelected(c, true);
  }

  // The printer, set to the paper. The print job writes the PDF beside its name and puts it in place
  // when whole.
  std::unique_ptr<QPrinter> printer;
  QString calibrationName;
  if (!pdf.isEmpty()) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    calibrationName = kPdfFilePrinter;
  } else {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
      const QStringList known = QPrinterInfo::availablePrinterNames();
      return Fail(
          QStringLiteral("no printer %1 (printers: %2)")
              .arg(printerName, known.isEmpty() ? QStringLiteral("none") : known.join(QStringLiteral(", "))));
    }
    printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    calibrationName = QueueCalibrationName(printerName);
  }
  SetPrinterPaper(*printer, portrait, landscape);

  TCellPainter cells(doc);
  cells.Options.Face = verso ? 2 : 1;
  cells.Options.Miroir = mirror;
  cells.Options.NoEchec = safe || mirror;
  if (soft.Debug) UseDebugLog(cells, soft.UserPath);
  if (title.isEmpty()) title = soft.Nom.isEmpty() ? QStringLiteral("Lorvane") : soft.Nom;

  const TCalibrationStore store = TCalibrationStore::ForUser(soft);
  // Fields of the current record come before the settings' fields.
  std::unique_ptr<TRecordFeed> feed;
  if (merging) {
    if (records.AtEnd())
      return Fail(records.Error().isEmpty() ? QStringLiteral("%1 holds no record").arg(recordsFile)
                                            : records.Error());
    feed = std::make_unique<TRecordFeed>(doc, in, records);
  }
  bool ok;
  QString jobError;
  int sheets = 0;
  {
    TPrintJob job(*printer, sheet, cells);
    ok = job.Begin(title, store.Offsets(calibrationName, paper.papier, landscape));
    // One record per chosen cell, sheet after sheet; cells past the last record stay blank.
    if (ok) ok = PrintRun(job, sheet, cells, TRunOptions(), feed.get());
    if (!job.End()) ok = false;
    jobError = job.Error;
    sheets = job.Sheets();
  }
  if (!ok) return Fail(jobError);
  Print(QStringLiteral("%1 %2 sheet(s), layout %3, paper %4\n")
            .arg(pdf.isEmpty() ? printerName : pdf)
            .arg(sheets)
            .arg(layoutName, paper.papier));
  return kOk;
}

const Registration print(
    "print",
    "IN.mdl (--printer NAME | --pdf OUT.pdf) [--paper P] [--layout NAME] [--cells 1,3,5] [--verso] "
    "[--mirror] "
    "[--safe] [--records FILE.csv] [--title TEXT]   print the document in every chosen cell of a label sheet "
    "with the printer's stored calibration; with --records one record per cell, sheet after sheet, its "
    "fields "
    "filling the document's <Field> marks",
    [](const QStringList& a, const Context& c) { return PrintVerb(a, c); });

}  // namespace
}  // namespace cli
