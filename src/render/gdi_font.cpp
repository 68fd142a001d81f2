#include "render/gdi_font.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <algorithm>
#include <cmath>

namespace {

QFont BaseFont(const QString& family, int style) {
  QFont f(family);
  f.setBold(style & fsBold);
  f.setItalic(style & fsItalic);
  f.setUnderline(style & fsUnderline);
  f.setStrikeOut(style & fsStrikeOut);
  f.setKerning(false);  // GDI text extents do not kern
  f.setStyleStrategy(QFont::PreferDefault);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

}  // namespace

double GdiCellRatio(const QString& family, int style) {
  // Measured once per family and weight at a large size, where hinting does not matter.
  // Documents are drawn on worker threads too (previews).
  static QMutex lock;
  static QHash<QString, double> cache;
  const QString key = family.toLower() + QLatin1Char('/') + QString::number(style & (fsBold | fsItalic));
  {
    QMutexLocker locker(&lock);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
  }
  QFont f = BaseFont(family, style);
  constexpr int kRef = 1000;
  f.setPixelSize(kRef);
  QFontMetricsF m(f);
  double ratio = (m.ascent() + m.descent()) / kRef;
  if (!(ratio > 0.5 && ratio < 4.0)) ratio = 1.0;
  QMutexLocker locker(&lock);
  cache.insert(key, ratio);
  return ratio;
}

QFont QFontFromGdi(const TFont& font) {
  QFont f = BaseFont(font.Name, font.Style);
  int em;
  if (font.Height < 0) {
    em = -font.Height;
  } else if (font.Height > 0) {
    em = static_cast<int>(std::lround(font.Height / GdiCellRatio(font.Name, font.Style)));
  } else {
    em = 16;  // GDI picks its default size for a zero height
  }
  // Qt refuses sizes below one pixel and very large sizes exhaust the glyph cache.
  f.setPixelSize(std::clamp(em, 1, 20000));
  return f;
}
