// The drawing entry points of a document: page, direct output, bitmaps, previews and exports.
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "imagetools/resample.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "model/import_metafile.h"
#include "render/codecs.h"
#include "render/fit_rect.h"

namespace {

int Nearest(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -2000000000LL, 2000000000LL));
}

// Grid lines and dots beyond this many are not drawn: a hostile page size must not stall drawing.
constexpr int kMaxGridLines = 10000;

void Outline(TCanvas& c, int x1, int y1, int x2, int y2, TColor color) {
  c.SetPen(TPen{color, 1, psSolid});
  c.SetBrush(TBrush{clWhite, bsClear});
  c.Rectangle(x1, y1, x2, y2);
}

// The ellipse inscribed in the box (x1, y1)-(x2, y2), which covers the pixels x1 to x2 - 1 and y1 to
// y2 - 1 as a rectangle does: a pixel is inside when its centre is. The inside takes `fill`, and
// the inside pixels next to an outside one take `edge`, a line one pixel wide. Rows are exact
// mirrors of each other about the box's middle.
void PaintEllipse(QImage& img, int x1, int y1, int x2, int y2, QRgb edge, QRgb fill) {
  if (x2 <= x1 || y2 <= y1 || img.format() != QImage::Format_RGB888) return;
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0, rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  // Span of row y inside the ellipse, as its first pixel; the last is its mirror image.
  auto first = [&](int y) {
    if (y < y1 || y >= y2) return x2;
    const double dy = (y + 0.5 - cy) / ry;
    const double half = rx * std::sqrt(std::max(0.0, 1 - dy * dy));
    return std::max(x1, static_cast<int>(std::ceil(cx - half - 0.5)));
  };
  auto last = [&](int a) { return x1 + x2 - 1 - a; };
  auto paint = [&](int y, int from, int to, QRgb c) {
    from = std::max(from, 0);
    to = std::min(to, img.width() - 1);
    if (y < 0 || y >= img.height() || from > to) return;
    uchar* p = img.scanLine(y) + 3 * from;
    for (int x = from; x <= to; ++x, p += 3) {
      p[0] = static_cast<uchar>(qRed(c));
      p[1] = static_cast<uchar>(qGreen(c));
      p[2] = static_cast<uchar>(qBlue(c));
    }
  };
  for (int y = y1; y < y2; ++y) {
    const int a = first(y), b = last(a);
    if (a > b) continue;
    paint(y, a, b, fill);
    // Pixels whose neighbour above or below is outside, and the ends of the row.
    const int outer = std::max(first(y - 1), first(y + 1));
    paint(y, a, std::min(b, std::max(a, outer - 1)), edge);
    paint(y, std::max(a, std::min(b, last(outer) + 1)), b, edge);
  }
}

QImage NewBitmap(int w, int h) {
  QImage img(std::max(0, w), std::max(0, h), QImage::Format_RGB888);
  if (!img.isNull()) img.fill(Qt::white);
  return img;
}

}  // namespace

void TzunoCADMdl::DrawObjects(TCanvas& canvas) {
  for (size_t i = 0; i < objects_.size(); ++i) objects_[i]->Draw(canvas);
  DrawHighlights(canvas);
}

void TzunoCADMdl::DrawHighlights(TCanvas& canvas) {
  if (!DeferHighlights) return;
  for (size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i]->OnCurrentFace()) objects_[i]->DrawHighlight(canvas);
}

void TzunoCADMdl::DrawLigneMm(TCanvas& canvas, double x1, double y1, double x2, double y2) {
  canvas.MoveTo(MmToPxX(x1), MmToPxY(y1));
  canvas.LineTo(MmToPxX(x2), MmToPxY(y2));
}

void TzunoCADMdl::DrawPage(TCanvas& canvas, QRect rect) {
  DrawPageBase(canvas, rect);
  DrawObjects(canvas);
  DrawGabaritApres(canvas, rect, false);
}

void TzunoCADMdl::DrawPageBase(TCanvas& canvas, QRect rect) {
  ShowFrames = true;
  PixelsPerMmX = rect.width() / Large;
  PixelsPerMmY = rect.height() / Haut;
  const bool stencil = StencilView == 1;
  canvas.SetPen(TPen{stencil ? HighlightColor : clWhite, 1, psSolid});
  canvas.SetBrush(TBrush{stencil ? HighlightColor : ColorPapier, bsSolid});
  canvas.Rectangle(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
  DrawPliures(canvas);
  if (Grid) DrawGrille(canvas);
}

void TzunoCADMdl::DrawDirect(TCanvas& canvas, QRect rect) {
  OriginX = rect.left();
  OriginY = rect.top();
  PixelsPerMmX = rect.width() / Large;
  PixelsPerMmY = rect.height() / Haut;
  ShowHandles = false;
  DrawObjects(canvas);
  ShowHandles = true;
}

void TzunoCADMdl::DrawPliures(TCanvas& canvas) {
  if (Grid) {
    const int a = std::min(Nearest(Large / 10) / 2, kMaxGridLines),
              b = std::min(Nearest(Haut / 10) / 2, kMaxGridLines);
    for (int i = -a; i <= a; ++i)
      for (int j = -b; j <= b; ++j)
        canvas.SetPixel(MmToPxX(i * 10 + Large / 2), MmToPxY(j * 10 + Haut / 2), RGBColor(128, 128, 128));
  }
  const int style = (CurrentFace == 1 || Gabarit == 6) ? psDashDot : psDash;
  canvas.SetPen(TPen{RGBColor(0, 0, 255), 1, style});
  auto size = [this](const char* key) { return ReadReal(GetEntete(QString::fromLatin1(key))); };
  switch (Gabarit) {
    case 5: {
      const double t = size("TailleTranche");
      DrawLigneMm(canvas, (Large - t) / 2, 0, (Large - t) / 2, Haut);
      DrawLigneMm(canvas, (Large + t) / 2, 0, (Large + t) / 2, Haut);
      break;
    }
    case 4: {
      const double r = size("TailleRetour");
      DrawLigneMm(canvas, r, 0, r, Haut);
      DrawLigneMm(canvas, Large - r, 0, Large - r, Haut);
      break;
    }
    case 3:
      DrawLigneMm(canvas, Large / 2, 0, Large / 2, Haut);
      break;
    case 6: {
      const double f = size("TailleRabat");
      DrawLigneMm(canvas, Large / 2, f, Large / 2, Haut - f);
      break;
    }
    default:
      break;
  }
}

void TzunoCADMdl::DrawGrille(TCanvas& canvas) {
  const int n = std::min(std::max(Nearest(Large), Nearest(Haut)), kMaxGridLines);
  for (int k = 0; k <= n; ++k) {
    canvas.SetPen(TPen{k % 10 == 0 ? RGBColor(128, 128, 128) : RGBColor(192, 192, 192), 1, psSolid});
    if (k < Large) DrawLigneMm(canvas, k, 0, k, Haut);
    if (k < Haut) DrawLigneMm(canvas, 0, k, Large, k);
  }
}

void TzunoCADMdl::DrawGabaritApres(TCanvas& canvas, QRect rect, bool mask) {
  OriginX = 0;
  OriginY = 0;
  PixelsPerMmX = rect.width() / Large;
  PixelsPerMmY = rect.height() / Haut;
  const int W = rect.width(), H = rect.height();
  const QString key = QString::number(Gabarit) + QString::number(W) + QString::number(H) +
                      (mask ? QStringLiteral("M") : QString());
  const TColor magenta = RGBColor(255, 0, 255);
  if (Gabarit != 1 && Gabarit != 6) {
    overlayKey_ = key;
    Outline(canvas, rect.left(), rect.top(), rect.left() + W, rect.top() + H, mask ? clWhite : clBlack);
    return;
  }
  if (!overlay_.isNull() && overlayKey_ != key) overlay_ = QImage();
  if (overlay_.isNull()) {
    overlayKey_ = key;
    if (Gabarit == 1) {
      overlay_ = NewBitmap(MmToPxX(Large), MmToPxY(Haut));
      if (overlay_.isNull()) return;
      // The disc and its hole fill their boxes as the canvas's rectangles do (the canvas's own
      // ellipses stop a pixel short on the right and at the bottom).
      const QRgb edge = mask ? qRgb(255, 0, 255) : qRgb(0, 0, 0);
      PaintEllipse(overlay_, 0, 0, overlay_.width(), overlay_.height(), edge, qRgb(255, 0, 255));
      const int d = MmToPxX(ReadReal(GetEntete(QStringLiteral("PetitDiam"))));
      PaintEllipse(overlay_, (W - d) / 2, (H - d) / 2, (W + d) / 2, (H + d) / 2, edge, qRgb(255, 255, 255));
    } else {
      overlay_ = NewBitmap(W, H);
      if (overlay_.isNull()) return;
      TBitmapCanvas c(&overlay_);
      c.SetPen(TPen{mask ? magenta : clBlack, 1, psSolid});
      const int r = MmToPxX(ReadReal(GetEntete(QStringLiteral("TailleRabat")))), half = W / 2;
      if (!mask) {
        c.SetBrush(TBrush{clBlack, bsBDiagonal});
        const QPoint top[4] = {{0, r}, {r, 0}, {half - r, 0}, {half, r}};
        const QPoint bottom[4] = {{0, H - r - 1}, {r, H - 1}, {half - r, H - 1}, {half, H - r - 1}};
        c.Polygon(top);
        c.Polygon(bottom);
      }
      c.SetBrush(TBrush{magenta, bsSolid});
      c.FillRect(0, r, W, H - r);
    }
  }
  canvas.StretchDrawTransparent(rect.left(), rect.top(), rect.left() + overlay_.width(),
                                rect.top() + overlay_.height(), overlay_, magenta);
}

bool TzunoCADMdl::RenderInto(QImage& bitmap, const std::function<void(QImage& work)>& draw) {
  if (bitmap.isNull()) return false;
  if (Quality > 6) {
    draw(bitmap);
    return true;
  }
  QImage work = NewBitmap(bitmap.width() * 2, bitmap.height() * 2);
  if (work.isNull()) return false;
  draw(work);
  try {
    Stretch(work, bitmap, kBoxFilter, 0.5f);
  } catch (const std::exception&) {
    return false;  // the bitmap keeps what it had
  }
  return true;
}

void TzunoCADMdl::DrawBitmap(QImage& bitmap) {
  RenderInto(bitmap, [this](QImage& work) {
    TBitmapCanvas c(&work);
    c.SetPen(TPen{ColorPapier, 1, psSolid});
    c.SetBrush(TBrush{ColorPapier, bsSolid});
    c.Rectangle(0, 0, work.width(), work.height());
    OriginX = OriginY = 0;
    PixelsPerMmX = work.width() / Large;
    PixelsPerMmY = work.height() / Haut;
    ShowHandles = false;
    DrawObjects(c);
    ShowHandles = true;
  });
  if (GabaritOnBitmaps && !bitmap.isNull()) {
    TBitmapCanvas c(&bitmap);
    DrawGabaritApres(c, QRect(0, 0, bitmap.width(), bitmap.height()), false);
  }
}

QSizeF TzunoCADMdl::KnownSupportSize() {
  const QString support = GetEntete(QStringLiteral("SupportFichier"));
  TObjectHost* host = ObjectHost();
  if (support.isEmpty() || !host) return QSizeF();
  const QSizeF s = host->SupportSize(support);
  return s.width() > 0 && s.height() > 0 ? s : QSizeF();
}

void TzunoCADMdl::DrawSupport(QImage& bitmap, bool recolour) {
  const QString support = GetEntete(QStringLiteral("SupportFichier"));
  TObjectHost* host = ObjectHost();
  if (!support.isEmpty() && host && !bitmap.isNull()) {
    RenderInto(bitmap, [&](QImage& a) {
      TBitmapCanvas ca(&a);
      ca.SetPen(TPen{ColorPapier, 1, psSolid});
      ca.SetBrush(TBrush{ColorPapier, bsSolid});
      ca.Rectangle(0, 0, a.width(), a.height());
      const TColor supportColor = ReadColorRGB(GetEntete(QStringLiteral("SupportColor")));
      const QString picture = ResoudreFichier(support).section(QLatin1Char('|'), 0, 0);
      if (QFileInfo(picture).isFile()) {
        TzunoCADMdl drawing(nullptr, QRect(), 100, 100);
        ImportMetafile(&drawing, picture);
        if (recolour)
          for (const auto& o : drawing.Objets())
            if ((o->Brush.Color & 0xFFFFFF) != clWhite) o->Brush.Color = supportColor;
        drawing.DrawDirect(ca, QRect(0, 0, a.width() - 2, a.height() - 2));
      }
      const QSizeF size = host->SupportSize(support);
      if (size.width() > 0 && size.height() > 0) {
        const int w = Nearest(a.width() * Large / size.width()),
                  h = Nearest(a.height() * Haut / size.height());
        const double p = ReadReal(GetEntete(QStringLiteral("SupportPosX%")));
        const double q = ReadReal(GetEntete(QStringLiteral("SupportPosY%")));
        const int px = Nearest(a.width() * p / 100 - w / 2.0), py = Nearest(a.height() * q / 100 - h / 2.0);
        QImage doc = NewBitmap(w, h);
        if (!doc.isNull()) {
          TBitmapCanvas cd(&doc);
          cd.SetPen(TPen{supportColor, 1, psSolid});
          cd.SetBrush(TBrush{supportColor, bsSolid});
          cd.Rectangle(0, 0, w, h);
          DrawDirect(cd, QRect(0, 0, w, h));
          ca.Draw(px, py, doc);
          if (SupportFrameColor != clWhite) Outline(ca, px, py, px + w, py + h, SupportFrameColor);
        }
      }
    });
  }
  if (ThumbFrameColor != clWhite && !bitmap.isNull()) {
    TBitmapCanvas c(&bitmap);
    Outline(c, 0, 0, bitmap.width(), bitmap.height(), ThumbFrameColor);
  }
}

void TzunoCADMdl::Apercu(QImage& image, int margin, bool allowSupport) {
  if (image.isNull()) return;
  const QSizeF support = allowSupport ? KnownSupportSize() : QSizeF();
  const bool useSupport = !support.isEmpty();
  const int W = image.width(), H = image.height();
  const int iw = Nearest(W * (100 - margin) / 100.0), ih = Nearest(H * (100 - margin) / 100.0);
  QRect fit(0, 0, iw, ih);
  if (useSupport)
    FitRect(iw, ih, RoundEven(support.width() * 100), RoundEven(support.height() * 100), fit);
  else
    FitRect(iw, ih, RoundEven(Large * 100), RoundEven(Haut * 100), fit);
  TBitmapCanvas c(&image);
  c.SetPen(TPen{PreviewBackColor, 1, psSolid});
  c.SetBrush(TBrush{PreviewBackColor, bsSolid});
  c.Rectangle(0, 0, W, H);
  QImage bmp = NewBitmap(fit.width(), fit.height());
  if (bmp.isNull()) return;
  if (useSupport)
    DrawSupport(bmp, true);
  else
    DrawBitmap(bmp);
  const bool outline = allowSupport ? (!GabaritOnBitmaps && !useSupport && PreviewBackColor != clWhite)
                                    : PreviewBackColor != clWhite;
  if (outline) {
    TBitmapCanvas cb(&bmp);
    Outline(cb, 0, 0, bmp.width(), bmp.height(), ThumbFrameColor);
  }
  c.Draw(fit.left() + Nearest(margin * W / 100.0 / 2), fit.top() + Nearest(margin * H / 100.0 / 2), bmp);
}

void TzunoCADMdl::DrawApercu(QImage& image, int margin) {
  Apercu(image, margin, true);
}
void TzunoCADMdl::DrawApercuSimple(QImage& image, int margin) {
  Apercu(image, margin, false);
}

QImage TzunoCADMdl::ExportImage(int maxWidth, int maxHeight, TColor frame, bool support) {
  const QSizeF supportSize = support ? KnownSupportSize() : QSizeF();
  const bool onSupport = support && !GetEntete(QStringLiteral("SupportFichier")).isEmpty();
  QRect size;
  const bool fitted = supportSize.isEmpty()
                          ? FitRect(maxWidth, maxHeight, RoundEven(Large * 100), RoundEven(Haut * 100), size)
                          : FitRect(maxWidth, maxHeight, RoundEven(supportSize.width() * 100),
                                    RoundEven(supportSize.height() * 100), size);
  if (!fitted || size.width() <= 0 || size.height() <= 0) return QImage();
  QImage bmp = NewBitmap(size.width(), size.height());
  if (bmp.isNull()) return QImage();
  if (onSupport)
    DrawSupport(bmp, true);
  else
    DrawBitmap(bmp);
  if (!GabaritOnBitmaps && frame != clWhite) {
    TBitmapCanvas c(&bmp);
    Outline(c, 0, 0, bmp.width(), bmp.height(), frame);
  }
  return bmp;
}

bool TzunoCADMdl::Export(const QString& fileName, int maxWidth, int maxHeight, TColor frame, bool support,
                         bool jpeg) {
  try {
    const QImage bmp = ExportImage(maxWidth, maxHeight, frame, support);
    if (bmp.isNull()) return false;
    return jpeg ? SaveJpeg(bmp, fileName) : SaveBmp(bmp, fileName);
  } catch (const std::exception&) {
    return false;
  }
}

bool TzunoCADMdl::ExportBmp(const QString& f, int w, int h, TColor frame) {
  return Export(f, w, h, frame, false, false);
}
bool TzunoCADMdl::ExportJpeg(const QString& f, int w, int h, TColor frame) {
  return Export(f, w, h, frame, false, true);
}
bool TzunoCADMdl::ExportJpegSupport(const QString& f, int w, int h, TColor frame) {
  return Export(f, w, h, frame, true, true);
}
