#include "print/ui/mpage.h"

#include <QMouseEvent>
#include <QPainter>

#include "print/print_job.h"

TzunoMPage::TzunoMPage(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TzunoMPage::Refresh() {
  if (OnRefresh) OnRefresh();
  QPoint position;
  QImage image = sheet_.Preview(size(), &position);
  if (image.isNull()) return;
  preview_ = std::move(image);
  position_ = position;
  if (accessibleName().isEmpty() || accessibleName() != sheet_.Layout.nom)
    setAccessibleName(sheet_.Layout.nom);
  update();
}

bool TzunoMPage::PrintPage(QPrinter& printer, const QString& printerName, TCellPainter& cells,
                           const TCalibrationStore& store, const QString& title, QString* error,
                           const std::function<bool()>& cancelled) {
  const bool ok = ::PrintPage(printer, printerName, sheet_, cells, store, title, error, cancelled);
  Refresh();
  return ok;
}

void TzunoMPage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  if (!preview_.isNull()) p.drawImage(position_, preview_);
}

void TzunoMPage::resizeEvent(QResizeEvent*) {
  Refresh();
}

void TzunoMPage::mouseMoveEvent(QMouseEvent* event) {
  if (sheet_.HandAt(ImagePoint(event->position())))
    setCursor(Qt::PointingHandCursor);
  else
    unsetCursor();
}

void TzunoMPage::mousePressEvent(QMouseEvent* event) {
  const int cell = sheet_.ClickAt(ImagePoint(event->position()));
  if (cell == 0) return;
  Refresh();
  emit CellToggled(cell);
}
