#include "drawings/svg_to_emf.h"

#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "render/emf_device.h"
#include "render/metafile.h"

namespace content {

namespace {

QSizeF Proportions(const QSvgRenderer& r) {
  QSizeF s = r.viewBoxF().size();
  if (!(s.width() > 0) || !(s.height() > 0)) s = r.defaultSize();
  return s;
}

}  // namespace

bool SvgToEmf(const QByteArray& svg, double longSideMm, SvgDrawing* out, QString* error) {
  QSvgRenderer renderer;
  if (svg.isEmpty() || !renderer.load(svg) || !renderer.isValid()) {
    *error = QStringLiteral("not a readable SVG drawing");
    return false;
  }
  const QSizeF s = Proportions(renderer);
  if (!(s.width() > 0) || !(s.height() > 0)) {
    *error = QStringLiteral("the SVG drawing has no size");
    return false;
  }
  const double k = longSideMm / std::max(s.width(), s.height());
  // Whole hundredths of a millimetre, so the frame is exactly the stated size.
  const QSizeF mm(std::max(1.0, std::round(s.width() * k * 100)) / 100,
                  std::max(1.0, std::round(s.height() * k * 100)) / 100);
  QByteArray emf = RecordEmf(
      mm, [&](QPainter& p) { renderer.render(&p, QRectF(0, 0, mm.width() * 100, mm.height() * 100)); });
  if (emf.isEmpty()) {
    *error = QStringLiteral("the SVG drawing could not be recorded");
    return false;
  }
  if (InkCoverage(PlayEmf(emf, QSize(200, std::max(1, int(200 * mm.height() / mm.width()))))) <= 0) {
    *error = QStringLiteral("the SVG drawing draws nothing");
    return false;
  }
  out->emf = emf;
  out->sizeMm = mm;
  return true;
}

QImage RasterSvg(const QByteArray& svg, int width) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {};
  const QSizeF s = Proportions(renderer);
  if (!(s.width() > 0) || !(s.height() > 0)) return {};
  QImage img(width, std::max(1, int(std::lround(width * s.height() / s.width()))), QImage::Format_RGB888);
  img.fill(Qt::white);
  QPainter p(&img);
  renderer.render(&p, QRectF(0, 0, img.width(), img.height()));
  return img;
}

QImage PlayEmf(const QByteArray& emf, QSize size) {
  TMetafile mf;
  if (!mf.LoadFromData(emf)) return {};
  return RenderMetafile(mf, size.width(), size.height()).convertToFormat(QImage::Format_RGB888);
}

double PictureMismatch(const QImage& a, const QImage& b) {
  if (a.isNull() || a.size() != b.size()) return 1;
  const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
  long bad = 0;
  for (int row = 0; row < x.height(); ++row) {
    const uchar* p = x.constScanLine(row);
    const uchar* q = y.constScanLine(row);
    for (int i = 0; i < x.width(); ++i) {
      const int d = std::max({std::abs(p[3 * i] - q[3 * i]), std::abs(p[3 * i + 1] - q[3 * i + 1]),
                              std::abs(p[3 * i + 2] - q[3 * i + 2])});
      if (d > 80) ++bad;
    }
  }
  return double(bad) / (double(x.width()) * x.height());
}

double InkCoverage(const QImage& image) {
  if (image.isNull()) return 0;
  const QImage x = image.convertToFormat(QImage::Format_RGB888);
  long ink = 0;
  for (int row = 0; row < x.height(); ++row) {
    const uchar* p = x.constScanLine(row);
    for (int i = 0; i < x.width(); ++i)
      if (p[3 * i] < 250 || p[3 * i + 1] < 250 || p[3 * i + 2] < 250) ++ink;
  }
  return double(ink) / (double(x.width()) * x.height());
}

}  // namespace content
