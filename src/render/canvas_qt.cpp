// The canvas over QPainter. All shapes are drawn aliased. Qt's aliased outlines put a point (x, y) on
// pixel (x, y), as GDI does; its fills sample pixel centres but take ties on the right edge, so fills
// move left by a hair to get GDI's rule (left edge in, right edge out).
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "render/canvas.h"
#include "render/gdi_font.h"

namespace {

const QPointF kFillShift(-1.0 / 64, 0);  // one step of the rasteriser's fixed point

// Largest font size, in pixels, handed to the paint engine as text.
constexpr int kMaxGlyphPixels = 256;

QColor ToQColor(TColor c) {
  return QColor(ColorR(c), ColorG(c), ColorB(c));
}

int ClampPenStyle(int s) {
  return (s < psSolid || s > psInsideFrame) ? psSolid : s;
}
int ClampBrushStyle(int s) {
  return (s < bsSolid || s > bsDiagCross) ? bsSolid : s;
}

QVector<qreal> DashPattern(int style) {
  switch (style) {
    case psDash:
      return {18, 6};
    case psDot:
      return {3, 3};
    case psDashDot:
      return {9, 6, 3, 6};
    case psDashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

// Half the pen width by which inside-frame figures shrink.
int InsideInset(const TPen& pen) {
  return (ClampPenStyle(pen.Style) == psInsideFrame && pen.Width > 1) ? pen.Width / 2 : 0;
}

}  // namespace

class TQtCanvas::Scope {
 public:
  explicit Scope(TQtCanvas& canvas) : canvas_(canvas), p_(canvas.BeginPaint()) {
    if (!p_) return;
    p_->save();
    p_->setRenderHint(QPainter::Antialiasing, false);
    p_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_->setBrushOrigin(0, 0);
    if (canvas.ClipRegion())
      p_->setClipRegion(*canvas.ClipRegion(), p_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  ~Scope() {
    if (!p_) return;
    p_->restore();
    canvas_.EndPaint();
  }
  QPainter* operator->() const { return p_; }
  QPainter& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  TQtCanvas& canvas_;
  QPainter* p_;
};

namespace {

bool HasPen(const TCanvas& c) {
  return ClampPenStyle(c.Pen().Style) != psClear;
}
bool HasBrush(const TCanvas& c) {
  return ClampBrushStyle(c.Brush().Style) != bsClear;
}

QPen MakePen(const TCanvas& c, bool background) {
  const TPen& tp = c.Pen();
  const int style = ClampPenStyle(tp.Style);
  QPen pen(ToQColor(background ? c.BkColor() : tp.Color));
  if (tp.Width <= 1) {
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);  // a line leaves out its last pixel
    pen.setJoinStyle(Qt::MiterJoin);
    if (!background && style >= psDash && style <= psDashDotDot) pen.setDashPattern(DashPattern(style));
  } else {
    // Wide pens draw solid whatever their style, as GDI's simple pens do. Qt refuses widths from
    // 32,768 on, which are wider than any surface anyway.
    pen.setWidth(std::min(tp.Width, 32767));
    pen.setCapStyle(c.PenCap() == pcFlat     ? Qt::FlatCap
                    : c.PenCap() == pcSquare ? Qt::SquareCap
                                             : Qt::RoundCap);
    pen.setJoinStyle(c.PenJoin() == pjMiter   ? Qt::MiterJoin
                     : c.PenJoin() == pjBevel ? Qt::BevelJoin
                                              : Qt::RoundJoin);
  }
  return pen;
}

bool StyledThinPen(const TCanvas& c) {
  const int s = ClampPenStyle(c.Pen().Style);
  return c.Pen().Width <= 1 && s >= psDash && s <= psDashDotDot;
}

QBrush MakeBrush(const TCanvas& c) {
  const TBrush& tb = c.Brush();
  const int style = ClampBrushStyle(tb.Style);
  if (style == bsClear) return Qt::NoBrush;
  if (style == bsSolid) return QBrush(ToQColor(tb.Color));
  QImage tile(8, 8, QImage::Format_ARGB32);
  const QRgb fg = qRgb(ColorR(tb.Color), ColorG(tb.Color), ColorB(tb.Color));
  const QRgb bg = c.BkMode() == bkOpaque ? qRgb(ColorR(c.BkColor()), ColorG(c.BkColor()), ColorB(c.BkColor()))
                                         : qRgba(0, 0, 0, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) tile.setPixel(x, y, HatchCovers(style, x, y) ? fg : bg);
  return QBrush(tile);
}

void Stroke(QPainter& p, const TCanvas& c, const QPainterPath& path) {
  if (!HasPen(c) || path.isEmpty()) return;
  p.setBrush(Qt::NoBrush);
  if (StyledThinPen(c) && c.BkMode() == bkOpaque) {
    p.setPen(MakePen(c, true));
    p.drawPath(path);
  }
  p.setPen(MakePen(c, false));
  p.drawPath(path);
}

void Fill(QPainter& p, const TCanvas& c, const QPainterPath& path) {
  if (!HasBrush(c) || path.isEmpty()) return;
  p.setPen(Qt::NoPen);
  p.setBrush(MakeBrush(c));
  p.drawPath(path);
}

QPainterPath LinePath(std::span<const QPoint> pts) {
  QPainterPath path;
  path.moveTo(pts[0]);
  for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i]);
  return path;
}

// The box of a figure's outline through pixel centres, shrunk for inside-frame pens.
QRectF OutlineBox(const TCanvas& c, QRect box) {
  const int in = InsideInset(c.Pen());
  QRectF r(box.x(), box.y(), box.width() - 1, box.height() - 1);
  if (in > 0 && r.width() > 2 * in && r.height() > 2 * in) r.adjust(in, in, -in, -in);
  return r;
}

// A nearest-pixel sample of the picture for the visible part of the target (target may have negative
// extents, which mirror). The result covers `visible` exactly.
QImage SampleNearest(const QImage& source, QRect target, QRect visible, std::optional<TColor> key) {
  QImage src = source;
  if (src.format() != QImage::Format_RGB32 && src.format() != QImage::Format_ARGB32 &&
      src.format() != QImage::Format_RGB888)
    src = src.convertToFormat(QImage::Format_RGB32);
  const int x0 = target.x(), y0 = target.y();
  const int w = target.width(), h = target.height();  // may be negative
  const int sw = src.width(), sh = src.height();
  QImage out(visible.size(), key ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  const QRgb keyRgb = key ? qRgb(ColorR(*key), ColorG(*key), ColorB(*key)) : 0;
  std::vector<int> cols(visible.width());
  for (int i = 0; i < visible.width(); ++i) {
    // Offset of the pixel centre from the target's origin edge, along the target's own direction.
    const double u = w > 0 ? (visible.x() + i - x0 + 0.5) / w : (x0 - (visible.x() + i) - 0.5) / -double(w);
    cols[i] = std::clamp(int(std::floor(u * sw)), 0, sw - 1);
  }
  const bool rgb888 = src.format() == QImage::Format_RGB888;
  for (int j = 0; j < visible.height(); ++j) {
    const double v = h > 0 ? (visible.y() + j - y0 + 0.5) / h : (y0 - (visible.y() + j) - 0.5) / -double(h);
    const int sy = std::clamp(int(std::floor(v * sh)), 0, sh - 1);
    const uchar* line = src.constScanLine(sy);
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(j));
    for (int i = 0; i < visible.width(); ++i) {
      QRgb px;
      if (rgb888) {
        const uchar* s = line + 3 * cols[i];
        px = qRgb(s[0], s[1], s[2]);
      } else {
        px = reinterpret_cast<const QRgb*>(line)[cols[i]] | 0xFF000000u;
      }
      dst[i] = (key && px == keyRgb) ? 0 : px;
    }
  }
  return out;
}

QRect NormalTarget(QRect target) {
  int x1 = target.x(), x2 = target.x() + target.width();
  int y1 = target.y(), y2 = target.y() + target.height();
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

}  // namespace

void TQtCanvas::DoLine(QPoint from, QPoint to) {
  Scope p(*this);
  if (!p) return;
  const QPoint pts[2] = {from, to};
  Stroke(*p, *this, LinePath(pts));
}

void TQtCanvas::DoPolyline(std::span<const QPoint> points) {
  Scope p(*this);
  if (!p) return;
  Stroke(*p, *this, LinePath(points));
}

void TQtCanvas::DoPolyBezier(std::span<const QPoint> points) {
  Scope p(*this);
  if (!p) return;
  QPainterPath path;
  auto at = [&](size_t i) { return QPointF(points[i]); };
  path.moveTo(at(0));
  for (size_t i = 1; i + 2 < points.size(); i += 3) path.cubicTo(at(i), at(i + 1), at(i + 2));
  Stroke(*p, *this, path);
}

void TQtCanvas::DoArc(int kind, QRect box, QPoint start, QPoint end) {
  Scope p(*this);
  if (!p) return;
  const QRectF e = OutlineBox(*this, box);
  const auto pts = ArcBeziers(e, QPointF(start), QPointF(end), ArcDirection() == adClockwise);
  if (pts.empty()) return;
  QPainterPath path;
  if (kind == 2) {
    path.moveTo(e.center());
    path.lineTo(pts[0]);
  } else {
    path.moveTo(pts[0]);
  }
  for (size_t i = 1; i + 2 < pts.size(); i += 3) path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
  if (kind != 0) {
    path.closeSubpath();
    Fill(*p, *this, path.translated(kFillShift));
  }
  Stroke(*p, *this, path);
}

void TQtCanvas::DoRectangle(QRect box) {
  Scope p(*this);
  if (!p) return;
  const int in = InsideInset(Pen());
  // The interior up to the outline's centre line; without a pen GDI's rectangle is one pixel smaller.
  QPainterPath interior;
  interior.addRect(QRectF(box.x() + in, box.y() + in, box.width() - 1 - 2 * in, box.height() - 1 - 2 * in));
  Fill(*p, *this, interior);
  QPainterPath outline;
  outline.addRect(OutlineBox(*this, box));
  Stroke(*p, *this, outline);
}

void TQtCanvas::DoFillRect(QRect box) {
  Scope p(*this);
  if (!p || !HasBrush(*this)) return;
  p->fillRect(box, MakeBrush(*this));
}

void TQtCanvas::DoRoundRect(QRect box, QSize corner) {
  Scope p(*this);
  if (!p) return;
  QPainterPath path;
  const QRectF r = OutlineBox(*this, box);
  path.addRoundedRect(r, std::min(corner.width() / 2.0, r.width() / 2),
                      std::min(corner.height() / 2.0, r.height() / 2));
  Fill(*p, *this, path.translated(kFillShift));
  Stroke(*p, *this, path);
}

void TQtCanvas::DoEllipse(QRect box) {
  Scope p(*this);
  if (!p) return;
  QPainterPath path;
  path.addEllipse(OutlineBox(*this, box));
  Fill(*p, *this, path.translated(kFillShift));
  Stroke(*p, *this, path);
}

void TQtCanvas::DoPolyPolygon(std::span<const QPoint> points, std::span<const int> counts) {
  Scope p(*this);
  if (!p) return;
  QPainterPath interior, outline;
  const Qt::FillRule rule = PolyFillMode() == pfWinding ? Qt::WindingFill : Qt::OddEvenFill;
  interior.setFillRule(rule);
  size_t at = 0;
  for (int c : counts) {
    QPolygonF in, out;
    for (int i = 0; i < c; ++i) {
      in << QPointF(points[at + i]) + kFillShift;
      out << QPointF(points[at + i]);
    }
    interior.addPolygon(in);
    interior.closeSubpath();
    outline.addPolygon(out);
    outline.closeSubpath();
    at += c;
  }
  Fill(*p, *this, interior);
  Stroke(*p, *this, outline);
}

void TQtCanvas::DoFillPath(const TPath& path, bool stroke, bool fill) {
  Scope p(*this);
  if (!p) return;
  if (fill) Fill(*p, *this, path.ToPainterPath(kFillShift, true, PolyFillMode()));
  if (stroke) Stroke(*p, *this, path.ToPainterPath(QPointF(), false, PolyFillMode()));
}

void TQtCanvas::DoTextOut(int x, int y, const QString& text, const QRect* clip) {
  const QSize extent = TextExtent(text);
  const int ascent = TextAscent();
  Scope p(*this);
  if (!p) return;
  if (clip) p->setClipRect(*clip, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  p->translate(x, y);
  if (Escapement() != 0) p->rotate(-Escapement() / 10.0);
  if (BkMode() == bkOpaque) p->fillRect(QRect(QPoint(0, 0), extent), ToQColor(BkColor()));
  const QFont font = QFontFromGdi(Font());
  if (font.pixelSize() <= kMaxGlyphPixels) {
    p->setRenderHint(QPainter::TextAntialiasing, true);
    p->setFont(font);
    p->setPen(ToQColor(Font().Color));
    p->drawText(QPointF(0, ascent), text);
    return;
  }
  // Larger text is filled as the outlines of the font at kMaxGlyphPixels, scaled up: a paint engine
  // may rasterise every glyph whole at the size it is given (colour glyphs at any size), however
  // little of it the surface shows.
  QFont outlines = font;
  outlines.setPixelSize(kMaxGlyphPixels);
  outlines.setHintingPreference(QFont::PreferNoHinting);  // design advances, which scale exactly
  QPainterPath path;
  path.addText(QPointF(0, 0), outlines, text);
  const double k = double(font.pixelSize()) / kMaxGlyphPixels;
  p->translate(0, ascent);
  p->scale(k, k);
  p->setRenderHint(QPainter::Antialiasing, true);
  p->fillPath(path, ToQColor(Font().Color));
}

void TQtCanvas::DoStretch(QRect target, const QImage& image, TBlitOp op, std::optional<TColor> key) {
  QRect visible;
  QImage part;
  {
    Scope p(*this);
    if (!p) return;
    visible = NormalTarget(target);
    const QPaintDevice* dev = p->device();
    if (dev) visible &= QRect(0, 0, dev->width(), dev->height());
    if (ClipRegion()) visible &= ClipRegion()->boundingRect();
    if (visible.isEmpty()) return;
    part = SampleNearest(image, target, visible, key);
    if (op == TBlitOp::Copy) {
      p->drawImage(visible.topLeft(), part);
      return;
    }
  }
  CombineImage(visible, part, op);
}

void TQtCanvas::CombineImage(QRect target, const QImage& scaled, TBlitOp op) {
  Scope p(*this);
  if (!p) return;
  p->setCompositionMode(op == TBlitOp::And  ? QPainter::RasterOp_SourceAndDestination
                        : op == TBlitOp::Or ? QPainter::RasterOp_SourceOrDestination
                                            : QPainter::RasterOp_SourceXorDestination);
  p->drawImage(target.topLeft(), scaled);
}

void TQtCanvas::DoSetPixel(int x, int y, TColor color) {
  Scope p(*this);
  if (!p) return;
  p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

// --- bitmap canvas ---------------------------------------------------------------------------------

TBitmapCanvas::~TBitmapCanvas() = default;

QPainter* TBitmapCanvas::BeginPaint() {
  if (!bitmap_ || bitmap_->isNull()) return nullptr;
  if (!painter_) painter_ = std::make_unique<QPainter>();
  if (painter_->isActive() || !painter_->begin(bitmap_)) return nullptr;
  return painter_.get();
}

void TBitmapCanvas::EndPaint() {
  if (painter_ && painter_->isActive()) painter_->end();
}

TColor TBitmapCanvas::Pixel(int x, int y) {
  if (!bitmap_ || !bitmap_->valid(x, y)) return clInvalid;
  if (bitmap_->format() == QImage::Format_RGB888) {
    const uchar* s = bitmap_->constScanLine(y) + 3 * x;
    return RGBColor(s[0], s[1], s[2]);
  }
  const QRgb c = bitmap_->pixel(x, y);
  return RGBColor(qRed(c), qGreen(c), qBlue(c));
}

uint8_t* TBitmapCanvas::ScanLine(int y) {
  if (!bitmap_ || y < 0 || y >= bitmap_->height()) return nullptr;
  return bitmap_->scanLine(y);
}

void TBitmapCanvas::DoSetPixel(int x, int y, TColor color) {
  if (!bitmap_ || !bitmap_->valid(x, y)) return;
  if (bitmap_->format() == QImage::Format_RGB888) {
    uchar* s = bitmap_->scanLine(y) + 3 * x;
    s[0] = ColorR(color);
    s[1] = ColorG(color);
    s[2] = ColorB(color);
  } else {
    bitmap_->setPixel(x, y, qRgb(ColorR(color), ColorG(color), ColorB(color)));
  }
}

void TBitmapCanvas::CombineImage(QRect target, const QImage& scaled, TBlitOp op) {
  if (!bitmap_ || bitmap_->format() != QImage::Format_RGB888) {
    TQtCanvas::CombineImage(target, scaled, op);
    return;
  }
  QRegion area(target & bitmap_->rect());
  if (ClipRegion()) area &= *ClipRegion();
  for (const QRect& r : area) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      uchar* d = bitmap_->scanLine(y) + 3 * r.left();
      const QRgb* s =
          reinterpret_cast<const QRgb*>(scaled.constScanLine(y - target.top())) + (r.left() - target.left());
      for (int x = 0; x < r.width(); ++x, d += 3) {
        const uchar c[3] = {uchar(qRed(s[x])), uchar(qGreen(s[x])), uchar(qBlue(s[x]))};
        for (int k = 0; k < 3; ++k)
          d[k] = op == TBlitOp::And ? (d[k] & c[k]) : op == TBlitOp::Or ? (d[k] | c[k]) : (d[k] ^ c[k]);
      }
    }
  }
}

// --- painter canvas --------------------------------------------------------------------------------

QPainter* TPainterCanvas::BeginPaint() {
  return (painter_ && painter_->isActive()) ? painter_ : nullptr;
}

void TPainterCanvas::EndPaint() {}
