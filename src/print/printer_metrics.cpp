#include "print/printer_metrics.h"

#include <QPrinter>

TPrinterMetrics GetPrinterMetrics(const QPrinter& printer) {
  TPrinterMetrics m;
  m.DpiX = printer.logicalDpiX();
  m.DpiY = printer.logicalDpiY();
  if (m.DpiX <= 0 || m.DpiY <= 0) return TPrinterMetrics();
  m.PixelsPerMmX = m.DpiX / 25.4;
  m.PixelsPerMmY = m.DpiY / 25.4;
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  m.OffsetX = (page.left() - paper.left()) / m.PixelsPerMmX;
  m.OffsetY = (page.top() - paper.top()) / m.PixelsPerMmY;
  m.PrintableWidth = page.width() / m.PixelsPerMmX;
  m.PrintableHeight = page.height() / m.PixelsPerMmY;
  return m;
}
