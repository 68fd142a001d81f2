#include "catalogue/apercu_draw.h"

#include <QPainter>
#include <algorithm>

#include "model/document.h"
#include "model/encodings.h"
#include "render/canvas.h"
#include "render/codecs.h"

namespace {

constexpr TColor kPreviewBack = RGBColor(153, 204, 255);
// The large view is smoothed (drawn at double size and reduced), whatever the editor last used.
constexpr int kPreviewQuality = 0;

QImage White(int w, int h) {
  if (w <= 0 || h <= 0) return {};
  QImage image(w, h, QImage::Format_RGB888);
  image.fill(Qt::white);
  return image;
}

// The document's drawing settings, put back however the drawing ends.
class TSavedSettings {
 public:
  explicit TSavedSettings(TzunoCADMdl& d)
      : d_(d),
        quality_(d.Quality),
        face_(d.CurrentFace),
        ox_(d.OriginX),
        oy_(d.OriginY),
        px_(d.PixelsPerMmX),
        py_(d.PixelsPerMmY) {}
  ~TSavedSettings() {
    d_.PreviewBackColor = clWhite;
    d_.ThumbFrameColor = clWhite;
    d_.Quality = quality_;
    d_.StencilView = 0;
    d_.CurrentFace = face_;
    d_.OriginX = ox_;
    d_.OriginY = oy_;
    d_.PixelsPerMmX = px_;
    d_.PixelsPerMmY = py_;
  }
  TSavedSettings(const TSavedSettings&) = delete;
  TSavedSettings& operator=(const TSavedSettings&) = delete;

 private:
  TzunoCADMdl& d_;
  int quality_, face_;
  double ox_, oy_, px_, py_;
};

void Caption(QImage& image, const QString& text, bool top) {
  if (image.isNull() || text.isEmpty()) return;
  QPainter p(&image);
  p.setPen(Qt::black);
  const int h = p.fontMetrics().height();
  const QRect r = top ? QRect(0, 3, image.width(), h) : QRect(0, image.height() - 3 - h, image.width(), h);
  p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, text);
}

}  // namespace

TApercuFaces DessineApercu(TzunoCADMdl& document, QSize view, const TApercuOptions& options) {
  TApercuFaces out;
  if (view.width() <= 0 || view.height() <= 0) return out;
  TSavedSettings saved(document);
  document.StencilView = options.PaperMode;
  try {
    if (options.Frieze) {
      out.Recto = White(view.width(), view.height());
      const int band = view.height() / 4;
      const int top = (view.height() - band) / 2;
      TBitmapCanvas canvas(&out.Recto);
      DessineFriseModele(document, canvas, QRect(0, top, view.width(), band));
      return out;
    }
    out.FaceMode = document.MaxFace() > 1 ? 3 : 1;
    const int rectoHeight = out.FaceMode == 3 ? view.height() / 2 : view.height();
    out.Recto = White(view.width(), rectoHeight);
    document.Quality = kPreviewQuality;
    document.PreviewBackColor = kPreviewBack;
    document.ThumbFrameColor = kPreviewBack;
    document.SetFace(1);
    document.DrawApercu(out.Recto, 10);
    if (document.Gabarit > 0) {
      const QImage badge = LoadBmp(options.SkinPath + QStringLiteral("dvd_") +
                                   QString::number(document.Gabarit) + QStringLiteral("0.bmp"));
      if (!badge.isNull() && !out.Recto.isNull()) {
        QPainter p(&out.Recto);
        p.drawImage(out.Recto.width() - badge.width(), 0, badge);
      }
    }
    if (out.FaceMode == 3) {
      out.Verso = White(view.width(), view.height() - rectoHeight);
      document.SetFace(2);
      document.DrawApercu(out.Verso, 10);
      Caption(out.Recto, options.RectoCaption, true);
      Caption(out.Verso, options.VersoCaption, false);
    }
  } catch (...) {
    // A document that cannot be drawn leaves the view as far as it got.
  }
  return out;
}

void DessineFriseModele(TzunoCADMdl& document, TCanvas& canvas, QRect band) {
  canvas.SetPen(TPen{clWhite, 1, psSolid});
  canvas.SetBrush(TBrush{clWhite, bsSolid});
  canvas.Rectangle(band.left(), band.top(), band.left() + band.width(), band.top() + band.height());
  const int W = band.width(), H = band.height();
  if (document.Haut <= 0 || document.Large <= 0 || W <= 0 || H <= 0) {
    document.StencilView = 0;
    return;
  }
  const int b = int(RoundEven(document.Large / document.Haut * H));
  const int c = int(RoundEven(b * document.FriseX / 100));
  // Copies overlapping wholly (c = -b) would never end: one copy then.
  const int step = b + c;
  const int d = step > 0 ? int(std::min<long long>(RoundEven(double(W) / step / 2), W)) : 0;
  if (document.StencilView == 1) {
    canvas.SetPen(TPen{document.HighlightColor, 1, psSolid});
    canvas.SetBrush(TBrush{document.HighlightColor, bsSolid});
    canvas.Rectangle(0, band.top() - 20, W, band.top() + H + 20);
  }
  for (int k = -d; k <= d; ++k) {
    const int f = (W - b) / 2 + step * k;
    if (f + b < 0 || f > W) continue;  // wholly outside: the canvas would clip all of it
    document.DrawDirect(canvas, QRect(f, band.top(), b, H));
  }
  document.StencilView = 0;
}
