#include "print/decor_paper.h"

#include <QPainter>
#include <cmath>

#include "model/document.h"
#include "render/canvas.h"

namespace {

constexpr QRgb kTransparentKey = qRgb(255, 0, 255);

// Whole percent of a step, the quotient taken towards zero.
int Percent(int percent, int step) {
  return percent * step / 100;
}

}  // namespace

int PaperPixels(double mm, int dpi) {
  return static_cast<int>(std::lround(dpi * mm / 25.4));
}

QImage MakeMotif(TzunoCADMdl& model, double largeMm, double hautMm, int dpi) {
  const int w = PaperPixels(largeMm, dpi), h = PaperPixels(hautMm, dpi);
  if (w < 1 || h < 1) return {};
  QImage bitmap(w, h, QImage::Format_RGB888);
  if (bitmap.isNull()) return bitmap;
  bitmap.fill(QColor(kTransparentKey));
  {
    TBitmapCanvas canvas(&bitmap);
    model.DrawDirect(canvas, QRect(0, 0, w, h));
  }
  QImage motif = bitmap.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(motif.scanLine(y));
    for (int x = 0; x < w; ++x)
      if ((line[x] & 0xFFFFFF) == (kTransparentKey & 0xFFFFFF)) line[x] = 0;
  }
  return motif;
}

QImage MakePaper(const QImage& motif, double largeMm, double hautMm, int dpi, const TPaperGrid& grid,
                 const std::function<bool(int done, int total)>& progress) {
  const int W = PaperPixels(largeMm, dpi), H = PaperPixels(hautMm, dpi);
  if (W < 1 || H < 1) return {};
  QImage sheet(W, H, QImage::Format_RGB888);
  if (sheet.isNull()) return sheet;
  sheet.fill(Qt::white);
  const int w = motif.width(), h = motif.height();
  const int sx = (100 + grid.Horz) * w / 100, sy = (100 + grid.Vert) * h / 100;
  if (motif.isNull() || sx < 1 || sy < 1) return sheet;
  // A row and a column before and after the ones that fit, so shifted rows and columns still
  // cover the edges.
  const int columns = W / sx + 3, rows = H / sy + 3;
  const int total = columns * rows;
  QPainter p(&sheet);
  int done = 0;
  for (int c = -1; c < columns - 1; ++c)
    for (int r = -1; r < rows - 1; ++r) {
      const int left = c * sx + ((r & 1) ? Percent(grid.DecHorz, sx) : 0);
      const int top = r * sy + ((c & 1) ? Percent(grid.DecVert, sy) : 0);
      p.drawImage(QRect(left, top, w, h), motif);
      if (progress && !progress(++done, total)) return sheet;
    }
  return sheet;
}
