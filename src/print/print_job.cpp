#include "print/print_job.h"

#include <cups/cups.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QImageWriter>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "model/document.h"
#include "model/encodings.h"
#include "model/image.h"
#include "print/record_stream.h"
#include "render/canvas.h"
#include "render/fit_rect.h"
#include "shell/language.h"
#include "shell/settings.h"

namespace {

// Gives the model's drawing switches back however the cell's drawing ends.
class TModelSwitches {
 public:
  TModelSwitches(TzunoCADMdl& model, int face, bool showBackground)
      : model_(model),
        placeholders_(model.DrawPlaceholders),
        stencil_(model.StencilView),
        face_(model.CurrentFace) {
    model.DrawPlaceholders = false;
    model.StencilView = 0;
    model.CurrentFace = face;
    if (!showBackground) background_ = FindBackgroundImage(model);
    if (background_) {
      visible_ = background_->Visible;
      background_->Visible = false;
    }
  }
  ~TModelSwitches() {
    if (background_) background_->Visible = visible_;
    model_.DrawPlaceholders = placeholders_;
    model_.StencilView = stencil_;
    model_.CurrentFace = face_;
  }
  TModelSwitches(const TModelSwitches&) = delete;
  TModelSwitches& operator=(const TModelSwitches&) = delete;

 private:
  TzunoCADMdl& model_;
  bool placeholders_;
  int stencil_;
  int face_;
  TzunoCADImage* background_ = nullptr;
  bool visible_ = true;
};

// White pixels made transparent: on a page that already holds ink, what an AND of the bitmap keeps.
QImage WhiteToTransparent(const QImage& bitmap) {
  QImage out = bitmap.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
  }
  return out;
}

}  // namespace

QString TableFile(const TSoft& soft, const QString& userFile) {
  if (QFileInfo::exists(userFile)) return userFile;
  return soft.DataPath + QFileInfo(userFile).fileName();
}

QRect TCellPainter::TargetRect(QRect cell, double large, double haut) {
  const long long wm = RoundEven(large * 1000), hm = RoundEven(haut * 1000);
  QRect fitted;
  if (wm <= 0 || hm <= 0 || !FitRect(cell.width(), cell.height(), wm, hm, fitted)) return cell;
  return fitted.translated(cell.topLeft());
}

QSize TCellPainter::SafeBitmapSize(QSize target, bool printing) {
  if (!printing || (target.width() <= kMaxSafeSide && target.height() <= kMaxSafeSide)) return target;
  QRect capped;
  if (!FitRect(kMaxSafeSide, kMaxSafeSide, target.width(), target.height(), capped)) return target;
  return capped.size().expandedTo(QSize(1, 1));
}

QImage TCellPainter::SafeBitmap(QSize size) {
  QImage bitmap(size, QImage::Format_RGB888);
  if (bitmap.isNull()) return bitmap;
  bitmap.fill(Qt::white);
  const QRect all(0, 0, size.width(), size.height());
  {
    TBitmapCanvas canvas(&bitmap);
    if (Options.ColorPapier) {
      canvas.SetPen(TPen{model_.ColorPapier, 1, psSolid});
      canvas.SetBrush(TBrush{model_.ColorPapier, bsSolid});
      canvas.FillRect(0, 0, size.width(), size.height());
    }
    model_.DrawDirect(canvas, all);
    model_.DrawGabaritApres(canvas, all, true);
    if (Options.CadreModele) model_.DrawGabaritApres(canvas, all, false);
  }
  if (Options.Miroir) bitmap = bitmap.mirrored(true, false);
  return bitmap;
}

bool TCellPainter::DeflatesSmaller(const QImage& bitmap) {
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB888);
  QByteArray raw;
  raw.reserve(static_cast<qsizetype>(rgb.width()) * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y)
    raw.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), static_cast<qsizetype>(rgb.width()) * 3);
  const qsizetype deflated = qCompress(raw).size();
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(94);  // what the PDF writer uses
  if (!writer.write(rgb)) return true;
  return deflated <= jpeg.size();
}

void TCellPainter::Write(bool printing, const QString& line) {
  if (printing && Log) Log(line);
}

void TCellPainter::StampBitmap(TCanvas& canvas, QRect target, const QImage& bitmap, bool printing) {
  if (!PrinterPainter || !printing) {
    canvas.StretchBlitAnd(target.left(), target.top(), target.left() + target.width(),
                          target.top() + target.height(), bitmap);
    return;
  }
  QPainter& p = *PrinterPainter;
  p.save();
  if (!Lossless) Lossless = DeflatesSmaller(bitmap);
  p.setRenderHint(QPainter::LosslessImageRendering, *Lossless);
  const QPaintEngine* engine = p.paintEngine();
  if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(target, bitmap);
  } else if (engine && engine->hasFeature(QPaintEngine::BlendModes)) {
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.drawImage(target, bitmap);
  } else {
    p.drawImage(target, WhiteToTransparent(bitmap));
  }
  p.restore();
}

void TCellPainter::DrawCell(TCanvas& canvas, int x, int y, int right, int bottom, bool printing) {
  Write(printing, QStringLiteral("*** GetDrawMdlRect Debut ***"));
  if (Options.CadreGabarit) {
    canvas.SetPen(TPen{clBlack, 1, psSolid});
    canvas.SetBrush(TBrush{clWhite, bsClear});
    canvas.Rectangle(x, y, right, bottom);
  }
  if (model_.Large > 0 && model_.Haut > 0 && right > x && bottom > y) {
    const TModelSwitches switches(model_, Options.Face, Options.ImageFond);
    const QRect cell(x, y, right - x, bottom - y);
    if (Options.NotRectInRect) {
      model_.DrawDirect(canvas, cell);
    } else {
      const QRect target = TargetRect(cell, model_.Large, model_.Haut);
      // Mirroring is done on the bitmap, so a mirrored print always takes that path.
      if (Options.NoEchec || Options.Miroir) {
        Write(printing, QStringLiteral("Début Mode sans echec"));
        // On paper the bitmap has the device's resolution, or less for a PDF file; the painter
        // stretches it onto the target.
        const double scale = printing && PrinterPainter ? std::clamp(PrintScale, 0.01, 1.0) : 1.0;
        const QSize size = SafeBitmapSize(
            scale == 1.0 ? target.size()
                         : QSize(std::max(1, static_cast<int>(std::lround(target.width() * scale))),
                                 std::max(1, static_cast<int>(std::lround(target.height() * scale)))),
            printing);
        Write(printing,
              QStringLiteral("  bmp.Width := %1; bmp.Height := %2;").arg(size.width()).arg(size.height()));
        if (!size.isEmpty()) {
          // The steps of the bitmap's making, logged before it is made so a driver crash shows where.
          for (const char* step :
               {"  bmp.PixelFormat := pf24bit;", "  bmp.Width := ll;", "  bmp.Height := hh;",
                "  cbColorPapier.Checked;", "  mdl.DrawDirect(bmp.Canvas, Rect(0,0, bmp.Width, bmp.Height));",
                "  mdl.DrawGabaritApres(bmp.Canvas, Rect(0,0, bmp.Width, bmp.Height), true);"})
            Write(printing, QString::fromLatin1(step));
          if (Options.CadreModele)
            Write(printing,
                  QStringLiteral(
                      "  mdl.DrawGabaritApres(bmp.Canvas, Rect(0,0, bmp.Width, bmp.Height), false);"));
          const QImage bitmap = SafeBitmap(size);
          Write(printing, QStringLiteral("  DrawImagePrint"));
          Write(printing, QStringLiteral("  DrawImagePrint(Cvs,  rec, bmp);"));
          if (!bitmap.isNull()) StampBitmap(canvas, target, bitmap, printing);
          if (printing && !DebugBitmapFile.isEmpty()) bitmap.save(DebugBitmapFile, "BMP");
          Write(printing, QStringLiteral("  bmp.Free;"));
        }
        Write(printing, QStringLiteral("Fin Mode sans echec"));
      } else {
        model_.DrawDirect(canvas, target);
        model_.DrawGabaritApres(canvas, target, true);
        if (Options.CadreModele) model_.DrawGabaritApres(canvas, target, false);
      }
    }
  }
  Write(printing, QStringLiteral("*** GetDrawMdlRect Fin ***"));
}

TCalibrationStore TCalibrationStore::ForUser(TSoft& soft) {
  return TCalibrationStore(
      [&soft](const QString& key) { return soft.ReadUserString(key); },
      [&soft](const QString& key, const QString& value) { return soft.WriteUserString(key, value); });
}

QString TCalibrationStore::KeyPrefix(const QString& printer, const QString& papier) {
  return QStringLiteral("PrintCalibre ") + printer + QStringLiteral(" - ") + papier;
}

int TCalibrationStore::Type(const QString& printer, const QString& papier) const {
  const QString v = read_(KeyPrefix(printer, papier) + QStringLiteral(" Type")).trimmed();
  if (v.isEmpty()) return -1;
  bool ok = false;
  const int t = v.toInt(&ok);
  return ok && t >= 0 ? t : 0;
}

QPointF TCalibrationStore::Offsets(const QString& printer, const QString& papier, bool landscape) const {
  const QString k = KeyPrefix(printer, papier);
  const QString o = landscape ? QStringLiteral(" Paysage") : QStringLiteral(" Portrait");
  const double x = ReadReal(read_(k + QStringLiteral(" EcartX") + o));
  const double y = ReadReal(read_(k + QStringLiteral(" EcartY") + o));
  // A hand-edited value that is not a number must not send the print off the page.
  return QPointF(std::isfinite(x) ? x : 0, std::isfinite(y) ? y : 0);
}

bool TCalibrationStore::StoreMeasures(const QString& printer, const QString& papier, int type, bool landscape,
                                      double measureX, double measureY) {
  const QString k = KeyPrefix(printer, papier);
  const QString o = landscape ? QStringLiteral(" Paysage") : QStringLiteral(" Portrait");
  return write_(k + QStringLiteral(" Type"), WriteInt(type)) &&
         write_(k + QStringLiteral(" EcartX") + o, WriteReal(measureX - kCalibreLineX)) &&
         write_(k + QStringLiteral(" EcartY") + o, WriteReal(measureY - kCalibreLineY));
}

bool TCalibrationStore::InRange(QPointF o) {
  constexpr double kMeasure = 300;  // the dialog's limit either way
  const double x = o.x() + kCalibreLineX, y = o.y() + kCalibreLineY;
  return x >= -kMeasure && x <= kMeasure && y >= -kMeasure && y <= kMeasure;
}

QPointF TCalibrationStore::Measures(const QString& printer, const QString& papier, bool landscape) const {
  return Offsets(printer, papier, landscape) + QPointF(kCalibreLineX, kCalibreLineY);
}

void DrawCalibrationSheet(QPainter& p, const QPrinter& printer, const QString& title, const QString& hint) {
  const TPrinterMetrics m = GetPrinterMetrics(printer);
  if (m.PixelsPerMmX <= 0 || m.PixelsPerMmY <= 0) return;
  auto X = [&](double mm) { return static_cast<int>(std::lround((mm - m.OffsetX) * m.PixelsPerMmX)); };
  auto Y = [&](double mm) { return static_cast<int>(std::lround((mm - m.OffsetY) * m.PixelsPerMmY)); };
  p.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8);
  p.setFont(font);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::NoBrush);
  const QFontMetrics fm(font, p.device());
  auto text = [&](int x, int y, const QString& s) { p.drawText(x, y + fm.ascent(), s); };
  text(X(100), Y(43), title);
  text(X(90), Y(73), hint);
  auto tick = [](int i) { return i % 10 == 0 ? 7 : i % 5 == 0 ? 4 : 3; };
  for (int k = -6; k <= 6; ++k) {
    const double a = 50.0 * k;  // horizontal ruler
    p.drawLine(X(0), Y(a), X(300), Y(a));
    for (int i = -300; i <= 300; ++i) {
      p.drawLine(X(i), Y(a), X(i), Y(a + tick(i)));
      if (i % 10 == 0) {
        const QString label = QString::number(kCalibreLineX - i);
        text(X(i) - fm.horizontalAdvance(label) / 2, Y(a + 7), label);
      }
    }
    const double b = 50.0 * k + 30;  // vertical ruler
    p.drawLine(X(b), Y(0), X(b), Y(300));
    for (int i = -300; i <= 300; ++i) {
      p.drawLine(X(b), Y(i), X(b + tick(i)), Y(i));
      if (i % 10 == 0) text(X(b + 8), Y(i - 1.5), QString::number(kCalibreLineY - i));
    }
  }
  p.restore();
}

namespace {

// |difference of widths| + |difference of heights|: how far a cell is from the document's size.
double SizeDistance(const TGabaritInfo& g, double large, double haut) {
  const double d = std::fabs(g.large - large) + std::fabs(g.haut - haut);
  return std::isnan(d) ? std::numeric_limits<double>::infinity() : d;
}

QString AsciiLower(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return out;
}

}  // namespace

QString ChooseFormat(TzunoGabarits& layouts, const QStringList& formats, const QString& papierDefaut,
                     double large, double haut) {
  if (!papierDefaut.isEmpty())
    for (const QString& f : formats)
      if (SameTextAscii(f, papierDefaut)) return f;
  if (formats.isEmpty()) return QString();
  // The table is read once; a name stands for its first row, as a look-up by name finds it.
  const QList<TGabaritInfo> rows = layouts.Rows();
  QHash<QString, qsizetype> byName;
  byName.reserve(rows.size());
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const QString key = AsciiLower(rows[i].nom);
    if (!byName.contains(key)) byName.insert(key, i);
  }
  QString chosen;
  double best = std::numeric_limits<double>::infinity();
  for (const QString& f : formats) {
    const auto at = byName.constFind(AsciiLower(f));
    const double d = at == byName.cend() ? SizeDistance(TGabaritInfo(), large, haut)
                                         : SizeDistance(rows[*at], large, haut);
    if (d < best) {  // strictly nearer: the first of equally near formats stays
      best = d;
      chosen = f;
    }
  }
  return chosen;
}

TLayoutChoice ChooseLayout(TzunoGabarits& layouts, const QString& papierDefaut, const QString& kind,
                           const QString& soft, const QString& papier, const QString& marque, double large,
                           double haut) {
  const QList<TGabaritInfo> rows = layouts.Rows();
  auto offered = [&](const TGabaritInfo& g) {
    if (!papier.isEmpty() && !SameTextAscii(g.papier, papier)) return false;
    if (!kind.isEmpty() && !SameTextAscii(g.gabarit, kind)) return false;
    if (!soft.isEmpty() && !g.soft.isEmpty() && !ContainsTextAscii(g.soft, soft)) return false;
    return !g.marque.isEmpty() && !g.nom.isEmpty() && LayoutProblem(g).isEmpty();
  };
  const TGabaritInfo* chosen = nullptr;
  if (!papierDefaut.isEmpty())
    for (const TGabaritInfo& g : rows)
      if (SameTextAscii(g.nom, papierDefaut) && offered(g)) {
        chosen = &g;
        break;
      }
  if (!chosen) {
    double best = std::numeric_limits<double>::infinity();
    bool preferred = false;
    for (const TGabaritInfo& g : rows) {
      if (!offered(g)) continue;
      const double d = SizeDistance(g, large, haut);
      const bool mine = !marque.isEmpty() && SameTextAscii(g.marque, marque);
      if (d < best || (d == best && mine && !preferred)) {
        best = d;
        preferred = mine;
        chosen = &g;
      }
    }
  }
  if (!chosen) return {};
  return {chosen->nom, chosen->papier, chosen->marque};
}

QList<int> CellsOffPaper(const TGabaritInfo& g, const TPapierInfo& paper, int face) {
  constexpr double kSlack = 0.01;  // table values are rounded to hundredths
  QList<int> off;
  long long number = 0;
  for (int r = 1; r <= g.nbrey && g.nbrex >= 1; ++r) {
    for (int c = 1; c <= g.nbrex; ++c) {
      if (++number > TSheetLayout::kMaxVisited) return off;
      const double x = g.x0 + (c - 1) * (g.large + g.interx), y = g.y0 + (r - 1) * (g.haut + g.intery);
      if (x < -kSlack || y < -kSlack || x + g.large > paper.large + kSlack ||
          y + g.haut > paper.haut + kSlack)
        // Back-face columns run the other way on paper; the user knows a cell by its front number.
        off.append(static_cast<int>((r - 1) * static_cast<long long>(g.nbrex) +
                                    TSheetLayout::SheetColumn(g.nbrex, face, c)));
    }
  }
  std::sort(off.begin(), off.end());
  return off;
}

void SetPrinterPaper(QPrinter& printer, const TPapierInfo& paper, bool landscape) {
  printer.setPageSize(
      QPageSize(QSizeF(paper.large, paper.haut), QPageSize::Millimeter, paper.nom, QPageSize::FuzzyMatch));
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (printer.outputFormat() == QPrinter::PdfFormat)
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void UseDebugLog(TCellPainter& cells, const QString& userPath) {
  const QString log = userPath + QStringLiteral("lorvane.log");
  QFile::remove(log);
  cells.Log = [log](const QString& line) {
    QFile f(log);
    if (f.open(QIODevice::Append)) f.write(line.toUtf8() + "\r\n");
  };
  cells.DebugBitmapFile = userPath + QStringLiteral("lorvane.bmp");
}

TPrintJob::~TPrintJob() {
  End();
}

bool TPrintJob::Begin(const QString& title, QPointF calibration) {
  const bool queued = printer_.outputFormat() == QPrinter::NativeFormat;
  if (QString why; queued && !PrinterTakesJobs(printer_.printerName(), &why)) {
    Error = why;
    return false;
  }
  if (const QString why = LayoutProblem(sheet_.Layout); !why.isEmpty()) {
    Error = why;
    return false;
  }
  if (!TCalibrationStore::InRange(calibration)) {
    Error = QStringLiteral(
                "the stored calibration moves the print by %1 x %2 mm, more than calibration can measure: "
                "calibrate the printer again")
                .arg(WriteReal(calibration.x()), WriteReal(calibration.y()));
    return false;
  }
  const TPrinterMetrics m = GetPrinterMetrics(printer_);
  const double w = sheet_.Paper.large, h = sheet_.Paper.haut;
  if (m.PixelsPerMmX <= 0 || m.PixelsPerMmY <= 0 || !(w > 0 && h > 0) || !std::isfinite(w) ||
      !std::isfinite(h)) {
    Error = QStringLiteral("the printer gives no resolution or the paper has no size");
    return false;
  }
  const double pw = w * m.PixelsPerMmX, ph = h * m.PixelsPerMmY;
  const double scale = w / h >= pw / ph ? (pw - 1) / w : (ph - 1) / h;
  sheet_.ScaleX = sheet_.ScaleY = scale;
  sheet_.OffsetX = -calibration.x() - m.OffsetX;
  sheet_.OffsetY = -calibration.y() - m.OffsetY;
  printer_.setDocName(title);
  if (printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty()) {
    pdf_ = std::make_unique<TPdfFile>();
    if (!pdf_->Open(printer_.outputFileName(), &Error)) {
      pdf_.reset();
      return false;
    }
    printer_.setOutputFileName(pdf_->TempName());
  }
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&printer_)) {
    painter_.reset();
    if (pdf_) {
      printer_.setOutputFileName(pdf_->Target());
      Error = QStringLiteral("cannot write the PDF file %1").arg(pdf_->Target());
      pdf_.reset();
    } else {
      Error = QStringLiteral("the printer %1 cannot start a document").arg(printer_.printerName());
    }
    return false;
  }
  canvas_ = std::make_unique<TPainterCanvas>(painter_.get());
  cells_.PrinterPainter = painter_.get();
  const int dpi = printer_.resolution();
  cells_.PrintScale = printer_.outputFormat() == QPrinter::PdfFormat && dpi > TCellPainter::kMaxPdfDpi
                          ? static_cast<double>(TCellPainter::kMaxPdfDpi) / dpi
                          : 1.0;
  cells_.Lossless.reset();
  return true;
}

bool TPrintJob::PrintSheet() {
  if (!painter_ || aborted_) return false;
  if (sheets_ > 0 && !printer_.newPage()) {
    Error = MLMessage(652);
    failed_ = true;
    return false;
  }
  ++sheets_;
  const TSheetLayout::TDrawCell draw = sheet_.OnDrawCell;
  bool cancelled = false;
  sheet_.OnDrawCell = [&](TCanvas& canvas, int cell, int x, int y, int right, int bottom) {
    if (cancelled || (Cancelled && Cancelled())) {
      cancelled = true;
      return;
    }
    if (draw)
      draw(canvas, cell, x, y, right, bottom);
    else
      cells_.DrawCell(canvas, x, y, right, bottom, true);
  };
  bool ok = true;
  try {
    sheet_.Paint(*canvas_, true);
  } catch (...) {
    ok = false;
  }
  sheet_.OnDrawCell = draw;
  if (cancelled) {
    Abandon(QStringLiteral("cancelled"));
    return false;
  }
  if (!ok) {
    // The document is ended all the same; a PDF file is not put in place.
    Error = MLMessage(652);
    failed_ = true;
  }
  return ok;
}

void TPrintJob::Abandon(const QString& why) {
  Error = why;
  if (!painter_ || aborted_) return;
  printer_.abort();
  aborted_ = true;
}

bool TPrintJob::End() {
  if (!painter_) return !aborted_;
  cells_.PrinterPainter = nullptr;
  canvas_.reset();
  const bool ended = painter_->end();
  painter_.reset();
  // The printer names the target again whatever happens, so a caller sees what it set.
  const std::unique_ptr<TPdfFile> pdf = std::move(pdf_);
  if (pdf) printer_.setOutputFileName(pdf->Target());
  if (aborted_) return false;
  if (!ended || printer_.printerState() == QPrinter::Error) {
    if (Error.isEmpty()) Error = MLMessage(652);
    return false;
  }
  // The system engine hands the finished document to the queue and drops the answer: ask for it.
  if (printer_.outputFormat() == QPrinter::NativeFormat && cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST) {
    Error = QStringLiteral("the printer %1 refused the job: %2")
                .arg(printer_.printerName(), QString::fromUtf8(cupsLastErrorString()));
    return false;
  }
  if (failed_) return false;
  if (pdf && !pdf->Commit(&Error)) return false;
  return true;
}

bool PrintCalibrationSheet(QPrinter& printer, const TPapierInfo& paper, bool landscape, const QString& title,
                           QString* error) {
  QString why;
  const bool queued = printer.outputFormat() == QPrinter::NativeFormat;
  SetPrinterPaper(printer, paper, landscape);
  printer.setDocName(title);
  if (queued && !PrinterTakesJobs(printer.printerName(), &why)) {
    if (error) *error = why;
    return false;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) *error = QStringLiteral("the printer %1 cannot start a document").arg(printer.printerName());
    return false;
  }
  DrawCalibrationSheet(painter, printer, MLMessage(640), MLMessage(641));
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    if (error) *error = MLMessage(652);
    return false;
  }
  if (queued && cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST) {
    if (error)
      *error = QStringLiteral("the printer %1 refused the job: %2")
                   .arg(printer.printerName(), QString::fromUtf8(cupsLastErrorString()));
    return false;
  }
  return true;
}

bool PrinterTakesJobs(const QString& name, QString* why) {
  const QByteArray queue = name.toUtf8();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
  if (!dest) {
    if (why) *why = QStringLiteral("the printer %1 is not known to the print system").arg(name);
    return false;
  }
  const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
  const bool takes = !accepting || qstrcmp(accepting, "false") != 0;
  cupsFreeDests(1, dest);
  if (!takes && why)
    *why = QStringLiteral("the printer %1 refuses jobs: its queue does not accept them").arg(name);
  return takes;
}

bool PrintPage(QPrinter& printer, const QString& printerName, TSheetLayout& sheet, TCellPainter& cells,
               const TCalibrationStore& store, const QString& title, QString* error,
               const std::function<bool()>& cancelled) {
  const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  TPrintJob job(printer, sheet, cells);
  job.Cancelled = cancelled;
  bool ok = job.Begin(title, store.Offsets(printerName, sheet.Paper.papier, landscape));
  if (ok) ok = job.PrintSheet();
  if (!job.End()) ok = false;
  if (!ok && error) *error = job.Error;
  return ok;
}

QString QueueCalibrationName(const QString& queue) {
  return queue == kPdfFilePrinter ? queue + QStringLiteral(" (CUPS)") : queue;
}

namespace {

// Whether merge marks stand outside the document's own texts (picture names, nested documents): then
// each record reads the document again, since those are resolved as it is read.
bool MarksOutsideTexts(const QString& fileName) {
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return false;
  while (!f.atEnd()) {
    const QByteArray line = f.readLine(1 << 20).trimmed();
    if (!line.startsWith("txt=") && line.contains('<') && line.contains('>')) return true;
  }
  return false;
}

}  // namespace

TRecordFeed::TRecordFeed(TzunoCADMdl& doc, const QString& docFile, TRecordStream& records)
    : doc_(doc),
      docFile_(docFile),
      records_(records),
      reread_(MarksOutsideTexts(docFile)),
      previous_(doc.OnChampFusion) {
  doc_.OnChampFusion = [this](TzunoCADObj* sender, const QString& name, QString& value) {
    if (used_ > 0) {
      const int i = records_.FieldIndex(name);
      if (i >= 0) {
        value = record_.value(i);
        return;
      }
    }
    if (previous_) previous_(sender, name, value);
  };
}

TRecordFeed::~TRecordFeed() {
  doc_.OnChampFusion = previous_;
}

bool TRecordFeed::Next() {
  if (!records_.Next(record_)) return false;
  ++used_;
  if (reread_)
    doc_.LoadFromFile(docFile_);
  else
    doc_.RelayoutTextes();
  return true;
}

bool TRecordFeed::AtEnd() {
  return records_.AtEnd();
}

QString TRecordFeed::Error() const {
  return records_.Error();
}

bool TRunCells::Take(int cell) {
  if (sheet_ <= 1 && cell < run_.StartCell) return false;
  if (records_) {
    if (copiesLeft_ <= 0) {
      if (!records_->Next()) return false;
      copiesLeft_ = std::max(run_.Copies, 1);
    }
    --copiesLeft_;
  }
  ++filled_;
  return true;
}

bool TRunCells::Done() {
  if (!records_) return sheet_ >= std::max(run_.Copies, 1);
  return copiesLeft_ <= 0 && records_->AtEnd();
}

bool PrintRun(TPrintJob& job, TSheetLayout& sheet, TCellPainter& cells, const TRunOptions& run,
              TRecordFeed* records) {
  TRunCells fill(run, records);
  const TSheetLayout::TDrawCell draw = sheet.OnDrawCell;
  sheet.OnDrawCell = [&](TCanvas& canvas, int cell, int x, int y, int right, int bottom) {
    if (!fill.Take(cell)) return;
    if (draw)
      draw(canvas, cell, x, y, right, bottom);
    else
      cells.DrawCell(canvas, x, y, right, bottom, true);
  };
  bool ok = true;
  for (;;) {
    const int before = fill.Filled();
    fill.NextSheet();
    ok = job.PrintSheet();
    if (!ok) break;
    if (records && !records->Error().isEmpty()) {
      // Nothing is printed from a file that cannot be read whole.
      job.Abandon(records->Error());
      ok = false;
      break;
    }
    if (fill.Filled() == before) {
      job.Abandon(records ? QStringLiteral("no cell of the layout takes a record")
                          : QStringLiteral("no cell of the layout is chosen"));
      ok = false;
      break;
    }
    if (fill.Done()) break;
  }
  sheet.OnDrawCell = draw;
  return ok;
}
