// The print pass: the document drawn into each cell of a label sheet, on the preview and on paper
// alike, with the printer's stored calibration applied on paper.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "print/layouts.h"
#include "print/papers.h"
#include "print/pdf_file.h"
#include "print/sheet_layout.h"
#include "render/canvas.h"

class QPainter;
class QPrinter;
class TSoft;
class TzunoCADMdl;
class TzunoCADImage;
class TzunoCADObj;

// What a cell shows besides the document.
struct TCellOptions {
  bool CadreGabarit = false;   // the cell's outline
  bool NotRectInRect = false;  // the document stretched to the whole cell
  bool CadreModele = false;    // the document's frame
  bool ColorPapier = true;     // the document's paper colour (safe mode only)
  bool ImageFond = true;       // the document's background image
  bool NoEchec = true;         // safe mode: each cell through a 24-bit bitmap
  bool Miroir = false;         // mirrored left to right (safe mode only)
  int Face = 1;                // the face drawn: 1 recto, 2 verso
};

// Draws the document into cells. The model's drawing switches are set for each cell and given back
// afterwards, so the same document can be shown elsewhere between cells.
class TCellPainter {
 public:
  // Longer side of a safe-mode bitmap on paper; larger cells print at reduced resolution instead of
  // asking the driver for huge pictures.
  static constexpr int kMaxSafeSide = 3200;

  explicit TCellPainter(TzunoCADMdl& model) : model_(model) {}

  // The document's aspect fitted and centred in the cell (device pixels), sizes to the nearest
  // integer from the page size in thousandths of a mm. The whole cell for a document without area.
  static QRect TargetRect(QRect cell, double large, double haut);
  // The safe-mode bitmap for a target of that size: the same size, or fitted into the cap when
  // printing and a side exceeds it.
  static QSize SafeBitmapSize(QSize target, bool printing);
  // The document rendered as the safe mode sends it: paper colour, drawing, overlay, mirroring.
  QImage SafeBitmap(QSize size);

  // The cell from (x, y) to (right, bottom), right and bottom excluded. `printing` tells the
  // printer's canvas from the preview's.
  void DrawCell(TCanvas& canvas, int x, int y, int right, int bottom, bool printing);

  TCellOptions Options;
  // Lines of the debug log; called only when printing.
  std::function<void(const QString& line)> Log;
  // Where the safe-mode bitmap of the last printed cell is kept in debug mode; empty = not kept.
  QString DebugBitmapFile;
  // The printer's painter while a job prints: bitmaps drawn on paper are combined with what the page
  // holds by the painter itself (PDF and printer engines lack the raster operations).
  QPainter* PrinterPainter = nullptr;
  // Safe-mode bitmap pixels per device pixel on paper: 1 renders at the device's resolution; a PDF
  // file takes at most 600 dots per inch, which the print job sets.
  double PrintScale = 1;
  // Whether safe-mode bitmaps go to paper losslessly compressed; unset until the first bitmap of a
  // job shows which compression is smaller for this document.
  std::optional<bool> Lossless;

  // The PDF resolution of safe-mode bitmaps.
  static constexpr int kMaxPdfDpi = 600;
  // Whether the bitmap is smaller deflated than as a JPEG picture, the two ways a PDF stores it.
  static bool DeflatesSmaller(const QImage& bitmap);

 private:
  void Write(bool printing, const QString& line);
  void StampBitmap(TCanvas& canvas, QRect target, const QImage& bitmap, bool printing);
  TzunoCADMdl& model_;
};

// The calibration offsets stored per printer, paper and orientation in the user's settings.
class TCalibrationStore {
 public:
  using Reader = std::function<QString(const QString& key)>;
  using Writer = std::function<bool(const QString& key, const QString& value)>;

  TCalibrationStore(Reader read, Writer write) : read_(std::move(read)), write_(std::move(write)) {}
  // Over the user settings of the program.
  static TCalibrationStore ForUser(TSoft& soft);

  // "PrintCalibre " + printer + " - " + paper identifier.
  static QString KeyPrefix(const QString& printer, const QString& papier);

  // The printer type chosen at calibration (0 to 2), or -1 when the printer and paper were never
  // calibrated.
  int Type(const QString& printer, const QString& papier) const;
  bool Calibrated(const QString& printer, const QString& papier) const { return Type(printer, papier) >= 0; }
  // EcartX, EcartY in mm; 0 when missing. A positive EcartX moves the print left, a positive EcartY up.
  QPointF Offsets(const QString& printer, const QString& papier, bool landscape) const;
  // Stores the type and the offsets of one orientation from the measures read on the test sheet
  // (distance from the left edge to the vertical line, from the top edge to the horizontal line).
  bool StoreMeasures(const QString& printer, const QString& papier, int type, bool landscape, double measureX,
                     double measureY);
  // The measures the test sheet would show with the stored offsets.
  QPointF Measures(const QString& printer, const QString& papier, bool landscape) const;
  // Whether offsets are ones the calibration dialog can store (measures of -300 to 300 mm); a
  // hand-edited value beyond that would print off the sheet.
  static bool InRange(QPointF offsets);

 private:
  Reader read_;
  Writer write_;
};

// Reference lines of the calibration sheet, mm from the sheet's corner.
constexpr double kCalibreLineX = 80, kCalibreLineY = 50;

// Draws the calibration sheet on the printer's painter: rulers every 50 mm both ways with ticks
// every mm, labelled with the distance to the reference lines. `title` and `hint` are the two
// lines of text written on it.
void DrawCalibrationSheet(QPainter& painter, const QPrinter& printer, const QString& title,
                          const QString& hint);

// Prints the calibration sheet alone on the paper in the orientation asked, with messages 640 and
// 641 as its texts. False with the reason in `error` when the printer fails or refuses the job.
bool PrintCalibrationSheet(QPrinter& printer, const TPapierInfo& paper, bool landscape, const QString& title,
                           QString* error);

// The format preselected among `formats` (layout names in list order): the document's PapierDefaut
// when listed, else the one nearest the document's size, the first of equally near ones. Empty for
// an empty list.
// The user's copy of a table (papers, layouts), else the installation's: the program copies them at
// its first start, and layout edits go to the user's copy.
QString TableFile(const TSoft& soft, const QString& userFile);

QString ChooseFormat(TzunoGabarits& layouts, const QStringList& formats, const QString& papierDefaut,
                     double large, double haut);

// The layout a document prints on when nothing else is chosen, with its paper and brand.
struct TLayoutChoice {
  QString nom, papier, marque;
};
// Among the layouts made for the model type `kind` (any when empty) in the edition `soft`, on the
// paper `papier` (any paper when empty), of every brand: the document's PapierDefaut when the table
// holds it, else the one nearest the document's size. Of equally near ones the brand `marque` is
// preferred, then table order. Rows that cannot print are passed over. Empty when none fits.
TLayoutChoice ChooseLayout(TzunoGabarits& layouts, const QString& papierDefaut, const QString& kind,
                           const QString& soft, const QString& papier, const QString& marque, double large,
                           double haut);

// The cells (front numbers) of the layout that reach beyond the paper, the layout being that of `face`.
QList<int> CellsOffPaper(const TGabaritInfo& layout, const TPapierInfo& paper, int face = 1);

// Sets the printer to the paper (width and height as the papers table gives them) in the orientation
// the layout asks for. A PDF output is given no margins: its whole page is printable.
void SetPrinterPaper(QPrinter& printer, const TPapierInfo& paper, bool landscape);

// In debug mode the print pass logs into "lorvane.log" and keeps the last safe-mode bitmap as
// "lorvane.bmp", both in the user's folder; the old log is removed first.
void UseDebugLog(TCellPainter& cells, const QString& userPath);

// Whether the system printer's queue takes jobs now; otherwise false, with the reason in `why`.
bool PrinterTakesJobs(const QString& name, QString* why);

// One printed document of one or more sheets on a printer already set up (paper, orientation,
// resolution). The sheet's Paper must be the paper as printed (width and height swapped for a
// landscape layout).
class TPrintJob {
 public:
  TPrintJob(QPrinter& printer, TSheetLayout& sheet, TCellPainter& cells)
      : printer_(printer), sheet_(sheet), cells_(cells) {}
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // Sets the sheet's scale and offsets for the printer (one scale for both axes, the calibration
  // and the printable area's offset subtracted) and starts the document. False, with Error set, when
  // the printer cannot start, or the layout or the calibration holds numbers that cannot print.
  bool Begin(const QString& title, QPointF calibration);
  // Paints one sheet, on a new page after the first. False when painting failed (Error set) or the
  // job was cancelled.
  bool PrintSheet();
  // Ends the document; also run by the destructor. False when the printer reports a failure. A PDF
  // file replaces the printer's output file only now, checked and synced; it is left as it was on
  // any failure.
  bool End();

  // Gives up the document with that reason: nothing is printed and a PDF target keeps its old file.
  void Abandon(const QString& why);

  // Asked between cells; answering true abandons the job (the document is aborted).
  std::function<bool()> Cancelled;
  QString Error;
  int Sheets() const { return sheets_; }

 private:
  QPrinter& printer_;
  TSheetLayout& sheet_;
  TCellPainter& cells_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TCanvas> canvas_;
  // A PDF output goes to a temporary file put in place by End when whole.
  std::unique_ptr<TPdfFile> pdf_;
  int sheets_ = 0;
  bool aborted_ = false;
  bool failed_ = false;
};

// One sheet printed as the print dialog does: calibration of the printer and paper from `store`,
// the job titled `title`. An exception while painting gives message 652 in `error`; the document
// is ended all the same.
// `cancelled` is asked before each cell; answering true abandons the print.
bool PrintPage(QPrinter& printer, const QString& printerName, TSheetLayout& sheet, TCellPainter& cells,
               const TCalibrationStore& store, const QString& title, QString* error,
               const std::function<bool()>& cancelled = nullptr);

// The name the PDF file printer is listed and calibrated under. A system queue of that same name
// (a cups-pdf default) keeps its calibration under QueueCalibrationName, so the two never share
// stored offsets.
inline const QString kPdfFilePrinter = QStringLiteral("PDF");
// The name a system queue's calibration is stored under: its own name, unless that is the file
// printer's ("PDF"); then the name with " (CUPS)", which no queue can have (queue names hold no space).
QString QueueCalibrationName(const QString& queue);

class TRecordStream;

// Records of a mailing file merged into a document, one at a time: the current record's fields answer
// the document's merge marks before what the document asked until then. The marks are resolved
// again for each record (the file read again when marks stand outside the texts, as in picture
// names).
class TRecordFeed {
 public:
  TRecordFeed(TzunoCADMdl& doc, const QString& docFile, TRecordStream& records);
  // Gives the document its previous merge answers back (its texts keep the last record until they
  // are laid out again).
  ~TRecordFeed();
  TRecordFeed(const TRecordFeed&) = delete;
  TRecordFeed& operator=(const TRecordFeed&) = delete;

  // Puts the next record into the document; false when the records have run out.
  bool Next();
  // Whether no record follows.
  bool AtEnd();
  // Why the records file could not be read whole; empty while it reads well.
  QString Error() const;
  int Used() const { return used_; }

 private:
  TzunoCADMdl& doc_;
  QString docFile_;
  TRecordStream& records_;
  QStringList record_;
  bool reread_ = false;
  int used_ = 0;
  std::function<void(TzunoCADObj*, const QString&, QString&)> previous_;
};

// Where a print starts and how many times it prints: the first sheet leaves its cells before
// StartCell blank (a sheet already partly used); without records `Copies` sheets are printed, with
// records each record fills `Copies` cells in a row.
struct TRunOptions {
  int StartCell = 1;
  int Copies = 1;
};

// Which cells of the sheets of one print are filled, in the order the sheet visits them; the print
// pass and the dialog's preview of the first sheet ask it alike.
class TRunCells {
 public:
  TRunCells(const TRunOptions& run, TRecordFeed* records) : run_(run), records_(records) {}
  // A new sheet begins.
  void NextSheet() { ++sheet_; }
  // Whether cell number `cell` of the current sheet is drawn; with records, the record it shows is
  // put into the document first.
  bool Take(int cell);
  // Cells filled so far.
  int Filled() const { return filled_; }
  // Whether the print needs no further sheet.
  bool Done();

 private:
  TRunOptions run_;
  TRecordFeed* records_;
  int sheet_ = 0;
  int filled_ = 0;
  int copiesLeft_ = 0;
};

// The sheets of one print on a job already begun: the sheet's cells filled as TRunCells says, each
// chosen cell drawn by the sheet's cell callback (the cell painter when unset). Sheets follow one
// another until the run is done; a sheet that takes no record, or a records file that cannot be read
// whole, abandons the print (a PDF target keeps its old file).
bool PrintRun(TPrintJob& job, TSheetLayout& sheet, TCellPainter& cells, const TRunOptions& run,
              TRecordFeed* records);
