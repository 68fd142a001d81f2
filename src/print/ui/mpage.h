// The sheet preview of the print dialog and the format editor: the paper fitted into the control
// with its cells, each drawn by the sheet's cell callback, switched on and off by clicks when
// allowed. It prints the same sheet, so what it shows is what the printer gets.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "print/sheet_layout.h"

class QPrinter;
class TCalibrationStore;
class TCellPainter;

class TzunoMPage : public QWidget {
  Q_OBJECT

 public:
  explicit TzunoMPage(QWidget* parent = nullptr);

  // Paper, layout, selection, options and the cell callback.
  TSheetLayout& Sheet() { return sheet_; }
  const TSheetLayout& Sheet() const { return sheet_; }

  // Fits the sheet into the control and paints the preview again; a paper without area leaves the
  // preview as it was. Runs on every resize.
  void Refresh();
  // The preview as shown and where it stands in the control.
  const QImage& Preview() const { return preview_; }
  QPoint PreviewPosition() const { return position_; }

  // One sheet on the printer with its calibration; the preview is fitted again afterwards.
  bool PrintPage(QPrinter& printer, const QString& printerName, TCellPainter& cells,
                 const TCalibrationStore& store, const QString& title, QString* error,
                 const std::function<bool()>& cancelled = nullptr);

  QSize sizeHint() const override { return QSize(210, 297); }

  // Run before each paint of the preview, for cell callbacks that follow the sheet from its first cell.
  std::function<void()> OnRefresh;

 signals:
  void CellToggled(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPointF ImagePoint(QPointF widgetPoint) const { return widgetPoint - QPointF(position_); }

  TSheetLayout sheet_;
  QImage preview_;
  QPoint position_;
};
