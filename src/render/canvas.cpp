#include "render/canvas.h"

#include <QFontMetrics>

#include "render/gdi_font.h"

struct TCanvas::Metrics {
  explicit Metrics(const QFont& f) : font(f), fm(f) {}
  QFont font;
  QFontMetrics fm;
};

void TCanvas::SetFont(const TFont& font) {
  if (metrics_ && font.Name == font_.Name && font.Height == font_.Height && font.Style == font_.Style) {
    font_ = font;  // colour only: the metrics stay valid
    FontChanged();
    return;
  }
  font_ = font;
  metrics_.reset();
  FontChanged();
}

QSize TCanvas::TextExtent(const QString& text) {
  if (!metrics_) metrics_ = std::make_shared<Metrics>(QFontFromGdi(font_));
  return QSize(metrics_->fm.horizontalAdvance(text), metrics_->fm.height());
}
