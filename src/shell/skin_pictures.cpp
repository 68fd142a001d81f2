#include "shell/skin_pictures.h"

#include <algorithm>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
// How much of the drawing's contrast against its background is left.
constexpr int kContrastPercent = 35;

int Grey(QRgb c) {
  return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

}  // namespace

QImage DisabledSkinPicture(const QImage& normal) {
  if (normal.isNull()) return {};
  QImage out = normal.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    // A keyed picture has no band to fade towards: a light grey stands for the bar.
    const QRgb back = (line[0] | 0xFF000000) == kMagenta ? qRgb(0xF0, 0xF0, 0xF0) : (line[0] | 0xFF000000);
    const int backGrey = Grey(back);
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x] | 0xFF000000;
      if (c == back || c == kMagenta) continue;
      const int shift = (Grey(c) - backGrey) * kContrastPercent / 100;
      auto channel = [shift](int v) { return std::clamp(v + shift, 0, 255); };
      QRgb faded = qRgb(channel(qRed(back)), channel(qGreen(back)), channel(qBlue(back)));
      // Fading must not make a pixel that the skin would take for transparent.
      if (faded == kMagenta) faded = qRgb(0xFE, 0, 0xFE);
      line[x] = faded;
    }
  }
  return out.convertToFormat(normal.format() == QImage::Format_RGB888 ? QImage::Format_RGB888 : out.format());
}
