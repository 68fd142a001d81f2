#include "render/emf_device.h"

#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "render/emf_writer.h"

namespace {

constexpr uint32_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4;
constexpr uint32_t kPsEndcapSquare = 0x100, kPsEndcapFlat = 0x200;
constexpr uint32_t kPsJoinBevel = 0x1000, kPsJoinMiter = 0x2000, kPsGeometric = 0x10000;
constexpr uint32_t kBsSolid = 0, kBsHatched = 2;
constexpr int kMmAnisotropic = 8, kAlternate = 1, kWinding = 2, kTransparent = 1;

// The document importer keeps at most this many points per line; paths are cut to stay below it.
constexpr int kImportPoints = 990;
// Translucent paint below this alpha over a backdrop varying more than this is left out.
constexpr double kFaint = 0.6, kVaried = 40;
// How far (in hundredths of a millimetre) clipped outlines may be straightened.
constexpr double kThinning = 3;
// The importer reads a plain pen's width divided by 35 as thousandths of a millimetre; our widths
// are hundredths.
constexpr int kImportPenScale = 350;

struct Mixed {
  double r = 0, g = 0, b = 0, a = 0;
};

bool Invisible(const Mixed& m) {
  return m.a < 0.5 / 255;
}

// A colour with alpha put over what lies below.
TColor Over(const Mixed& m, const Mixed& below) {
  const double a = std::clamp(m.a, 0.0, 1.0);
  auto ch = [&](double v, double b) { return int(std::lround(std::clamp(v * a + b * (1 - a), 0.0, 255.0))); };
  return RGBColor(ch(m.r, below.r), ch(m.g, below.g), ch(m.b, below.b));
}

// Colour of a gradient at t (pad spread), straight alpha.
Mixed GradientAt(const QGradientStops& stops, double t) {
  if (stops.isEmpty()) return {};
  if (t <= stops.front().first)
    return Mixed{double(stops.front().second.red()), double(stops.front().second.green()),
                 double(stops.front().second.blue()), stops.front().second.alphaF()};
  for (int i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].first) {
      const double span = stops[i].first - stops[i - 1].first;
      const double f = span > 0 ? (t - stops[i - 1].first) / span : 1;
      const QColor a = stops[i - 1].second.toRgb(), b = stops[i].second.toRgb();
      return Mixed{a.red() + (b.red() - a.red()) * f, a.green() + (b.green() - a.green()) * f,
                   a.blue() + (b.blue() - a.blue()) * f, a.alphaF() + (b.alphaF() - a.alphaF()) * f};
    }
  }
  const QColor c = stops.back().second.toRgb();
  return Mixed{double(c.red()), double(c.green()), double(c.blue()), c.alphaF()};
}

Mixed FromColor(const QColor& c, double alphaScale = 1) {
  const QColor rgb = c.toRgb();
  return Mixed{double(rgb.red()), double(rgb.green()), double(rgb.blue()), rgb.alphaF() * alphaScale};
}

// Average of a gradient over its stops, each stretch weighted by its length.
Mixed GradientAverage(const QGradient& g) {
  const QGradientStops stops = g.stops();
  if (stops.isEmpty()) return {};
  if (stops.size() == 1) return FromColor(stops.front().second);
  Mixed sum;
  double total = 0;
  auto add = [&](const QColor& c, double w) {
    const Mixed m = FromColor(c);
    // Premultiplied so transparent stops do not drag the colour towards black.
    sum.r += m.r * m.a * w, sum.g += m.g * m.a * w, sum.b += m.b * m.a * w, sum.a += m.a * w;
    total += w;
  };
  add(stops.front().second, std::max(0.0, stops.front().first));
  for (int i = 1; i < stops.size(); ++i) {
    const double w = std::max(0.0, stops[i].first - stops[i - 1].first) / 2;
    add(stops[i - 1].second, w);
    add(stops[i].second, w);
  }
  add(stops.back().second, std::max(0.0, 1 - stops.back().first));
  if (total <= 0 || sum.a <= 0) return {};
  return Mixed{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / total};
}

Mixed ImageAverage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage small = image.convertToFormat(QImage::Format_ARGB32)
                           .scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  Mixed sum;
  for (int y = 0; y < small.height(); ++y)
    for (int x = 0; x < small.width(); ++x) {
      const QColor c = small.pixelColor(x, y);
      sum.r += c.red() * c.alphaF(), sum.g += c.green() * c.alphaF(), sum.b += c.blue() * c.alphaF();
      sum.a += c.alphaF();
    }
  const int n = small.width() * small.height();
  if (sum.a <= 0) return {};
  return Mixed{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / n};
}

// How much of the area Qt's dense patterns cover.
double DenseCoverage(Qt::BrushStyle s) {
  switch (s) {
    case Qt::Dense1Pattern:
      return 0.94;
    case Qt::Dense2Pattern:
      return 0.88;
    case Qt::Dense3Pattern:
      return 0.63;
    case Qt::Dense4Pattern:
      return 0.50;
    case Qt::Dense5Pattern:
      return 0.37;
    case Qt::Dense6Pattern:
      return 0.12;
    case Qt::Dense7Pattern:
      return 0.06;
    default:
      return 1;
  }
}

std::optional<uint32_t> HatchOf(Qt::BrushStyle s) {
  switch (s) {
    case Qt::HorPattern:
      return 0;
    case Qt::VerPattern:
      return 1;
    case Qt::FDiagPattern:
      return 2;
    case Qt::BDiagPattern:
      return 3;
    case Qt::CrossPattern:
      return 4;
    case Qt::DiagCrossPattern:
      return 5;
    default:
      return std::nullopt;
  }
}

struct BrushKey {
  uint32_t style = kBsSolid, hatch = 0;
  TColor color = 0;
  bool operator==(const BrushKey&) const = default;
};

struct PenKey {
  uint32_t style = kPsSolid;
  int width = 0;
  TColor color = 0;
  bool operator==(const PenKey&) const = default;
};

// What a brush paints, as one colour with alpha and an EMF brush style; nullopt when it paints
// nothing.
struct Paint {
  Mixed colour;
  uint32_t style = kBsSolid, hatch = 0;
};

std::optional<Paint> PaintOf(const QBrush& brush, double opacity) {
  const Qt::BrushStyle s = brush.style();
  if (s == Qt::NoBrush) return std::nullopt;
  Paint paint;
  if (const QGradient* g = brush.gradient()) {
    paint.colour = GradientAverage(*g);
  } else if (s == Qt::TexturePattern) {
    paint.colour = ImageAverage(brush.textureImage());
  } else {
    paint.colour = FromColor(brush.color());
    if (auto h = HatchOf(s))
      paint.style = kBsHatched, paint.hatch = *h;
    else
      paint.colour.a *= DenseCoverage(s);
  }
  paint.colour.a *= opacity;
  if (Invisible(paint.colour)) return std::nullopt;
  return paint;
}

uint32_t DashStyle(Qt::PenStyle s) {
  switch (s) {
    case Qt::DashLine:
      return kPsDash;
    case Qt::DotLine:
      return kPsDot;
    case Qt::DashDotLine:
      return kPsDashDot;
    case Qt::DashDotDotLine:
      return kPsDashDotDot;
    default:
      return kPsSolid;
  }
}

// One figure of a path: its points with a Bézier/line flag per segment.
struct Figure {
  QPointF start;
  struct Segment {
    bool curve;
    QPointF c1, c2, end;
  };
  std::vector<Segment> segments;
  bool closed = false;
  QRectF bounds;
};

std::vector<Figure> Figures(const QPainterPath& path) {
  std::vector<Figure> out;
  const int n = path.elementCount();
  for (int i = 0; i < n; ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo() || out.empty()) {
      out.push_back(Figure{QPointF(e.x, e.y), {}, false, {}});
      if (e.isMoveTo()) continue;
    }
    Figure& f = out.back();
    if (e.isLineTo()) {
      f.segments.push_back({false, {}, {}, QPointF(e.x, e.y)});
    } else if (e.isCurveTo() && i + 2 < n) {
      const QPainterPath::Element a = path.elementAt(i + 1), b = path.elementAt(i + 2);
      f.segments.push_back({true, QPointF(e.x, e.y), QPointF(a.x, a.y), QPointF(b.x, b.y)});
      i += 2;
    }
  }
  std::vector<Figure> kept;
  for (Figure& f : out) {
    if (f.segments.empty()) continue;
    QPolygonF poly{f.start};
    for (const auto& s : f.segments) {
      if (s.curve) poly << s.c1 << s.c2;
      poly << s.end;
    }
    f.bounds = poly.boundingRect();
    const QPointF d = f.segments.back().end - f.start;
    f.closed = std::abs(d.x()) < 0.5 && std::abs(d.y()) < 0.5;
    kept.push_back(std::move(f));
  }
  return kept;
}

// The path without the moves that start no figure (some SVG paths leave them); they draw nothing
// and path clipping copes badly with them.
QPainterPath Clean(const QPainterPath& path) {
  QPainterPath out;
  out.setFillRule(path.fillRule());
  const int n = path.elementCount();
  for (int i = 0; i < n; ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) {
      if (i + 1 < n && !path.elementAt(i + 1).isMoveTo()) out.moveTo(e.x, e.y);
    } else if (e.isLineTo()) {
      out.lineTo(e.x, e.y);
    } else if (e.isCurveTo() && i + 2 < n) {
      out.cubicTo(e.x, e.y, path.elementAt(i + 1).x, path.elementAt(i + 1).y, path.elementAt(i + 2).x,
                  path.elementAt(i + 2).y);
      i += 2;
    }
  }
  return out;
}

// a ∩ b. Qt's shortcut for a rectangular b reads past the end of some paths, so b never goes in as
// a bare rectangle: its first side gets a middle point.
QPainterPath Intersect(const QPainterPath& a, const QPainterPath& b) {
  if (b.elementCount() < 2 || !b.elementAt(1).isLineTo()) return a.intersected(b);
  QPainterPath other;
  other.setFillRule(b.fillRule());
  other.moveTo(b.elementAt(0).x, b.elementAt(0).y);
  other.lineTo((QPointF(b.elementAt(0)) + QPointF(b.elementAt(1))) / 2);
  for (int i = 1; i < b.elementCount(); ++i) {
    const QPainterPath::Element e = b.elementAt(i);
    if (e.isMoveTo())
      other.moveTo(e.x, e.y);
    else if (e.isLineTo())
      other.lineTo(e.x, e.y);
    else if (e.isCurveTo() && i + 2 < b.elementCount()) {
      other.cubicTo(e.x, e.y, b.elementAt(i + 1).x, b.elementAt(i + 1).y, b.elementAt(i + 2).x,
                    b.elementAt(i + 2).y);
      i += 2;
    }
  }
  return a.intersected(other);
}

QPoint Round(QPointF p) {
  auto c = [](double v) { return int(std::lround(std::clamp(v, -1e9, 1e9))); };
  return QPoint(c(p.x()), c(p.y()));
}

// Points the importer makes of a figure entered from another one and left back to it.
int ImportCost(const Figure& f) {
  return 3 * int(f.segments.size()) + 9;
}

// Runs of straight sides thinned (Douglas-Peucker) to within `tolerance`; curves are kept.
Figure Thinned(const Figure& f, double tolerance) {
  Figure out = f;
  out.segments.clear();
  std::vector<QPointF> run;
  auto flush = [&] {
    if (run.size() < 2) return;
    std::vector<bool> keep(run.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<size_t, size_t>> stack{{0, run.size() - 1}};
    while (!stack.empty()) {
      auto [a, b] = stack.back();
      stack.pop_back();
      double worst = -1;
      size_t at = a;
      const QLineF chord(run[a], run[b]);
      for (size_t i = a + 1; i < b; ++i) {
        const QPointF d = run[i] - run[a];
        const double len = chord.length();
        const double dist = len > 0 ? std::abs(chord.dx() * d.y() - chord.dy() * d.x()) / len
                                    : QLineF(run[a], run[i]).length();
        if (dist > worst) worst = dist, at = i;
      }
      if (worst > tolerance) {
        keep[at] = true;
        stack.push_back({a, at});
        stack.push_back({at, b});
      }
    }
    for (size_t i = 1; i < run.size(); ++i)
      if (keep[i]) out.segments.push_back({false, {}, {}, run[i]});
  };
  QPointF current = f.start;
  run.push_back(current);
  for (const auto& s : f.segments) {
    if (s.curve) {
      flush();
      out.segments.push_back(s);
      run.assign(1, s.end);
    } else {
      run.push_back(s.end);
    }
  }
  flush();
  if (out.segments.empty()) return f;
  return out;
}

// The same closed figure entered at its anchor nearest to `to`.
Figure StartNearest(const Figure& f, QPoint to) {
  size_t best = f.segments.size();  // the start itself
  double bestD = QLineF(f.start, to).length();
  for (size_t i = 0; i < f.segments.size(); ++i) {
    const double d = QLineF(f.segments[i].end, to).length();
    if (d < bestD) bestD = d, best = i;
  }
  if (best == f.segments.size() || (f.closed && best + 1 == f.segments.size())) return f;
  Figure g = f;
  g.start = f.segments[best].end;
  g.segments.assign(f.segments.begin() + long(best) + 1, f.segments.end());
  // The closing side, implicit when the figure did not come back to its start.
  if (!f.closed) g.segments.push_back({false, {}, {}, f.start});
  g.segments.insert(g.segments.end(), f.segments.begin(), f.segments.begin() + long(best) + 1);
  g.closed = true;
  return g;
}

}  // namespace

class TEmfPaintEngine : public QPaintEngine {
 public:
  explicit TEmfPaintEngine(QRect frame) : QPaintEngine(AllFeatures), writer_(frame) {
    // Logical units of 0.01 mm on the 96-dpi reference device: 24 pixels per 635 units.
    writer_.SetMapMode(kMmAnisotropic);
    writer_.SetWindowExt(635, 635);
    writer_.SetViewportExt(24, 24);
    writer_.SetBkMode(kTransparent);
    // A small picture of what has been recorded, to know the colour under a translucent paint.
    shadowScale_ =
        std::min(1.0, kShadowPixels / std::max(1.0, double(std::max(frame.width(), frame.height()))));
    shadow_ = QImage(std::max(1, int(std::ceil(frame.width() * shadowScale_))),
                     std::max(1, int(std::ceil(frame.height() * shadowScale_))), QImage::Format_RGB32);
    shadow_.fill(Qt::white);
  }

  QByteArray Finish() const { return writer_.Finish(); }
  bool Save(const QString& fileName) const { return writer_.Save(fileName); }

  bool begin(QPaintDevice*) override {
    setActive(true);
    return true;
  }
  bool end() override {
    setActive(false);
    return true;
  }
  void updateState(const QPaintEngineState&) override {}  // read from the painter at each drawing
  Type type() const override { return Type(User + 7); }

  void drawPath(const QPainterPath& path) override { Draw(path, true); }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count < 2) return;
    QPainterPath p;
    p.moveTo(points[0]);
    for (int i = 1; i < count; ++i) p.lineTo(points[i]);
    if (mode != PolylineMode) p.closeSubpath();
    p.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
    Draw(p, mode != PolylineMode);
  }

  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override;

 private:
  void Draw(const QPainterPath& path, bool fill);
  void FillGradient(const QPainterPath& path, const QPainterPath& devicePath, const QBrush& brush,
                    double opacity);
  // `mayDrop`: faint paint over a varied backdrop is left out (whole shapes only, never a part).
  std::optional<BrushKey> Resolve(const Paint& paint, const QPainterPath& devicePath,
                                  bool mayDrop = true) const;
  // The average colour recorded under the path so far, and how much it varies (standard deviation).
  Mixed Below(const QPainterPath& devicePath, double* spread = nullptr) const;
  void Shade(const QPainterPath& devicePath, TColor color, double strokeWidth = -1);
  // `flattened`: the path comes out of path clipping, its curves cut into many short sides.
  void Fill(const QPainterPath& devicePath, const BrushKey& brush, bool flattened = false);
  void Stroke(const QPainterPath& devicePath, const PenKey& pen, TColor color);
  void Geometry(const Figure& f, bool closeForFill);
  void SelectBrush(const BrushKey& b);
  void SelectPen(const PenKey& p);
  void SetFillRule(Qt::FillRule rule);
  void ImporterPen(TColor color, int width);

  QTransform Transform() const { return painter()->combinedTransform(); }
  std::optional<QPainterPath> DeviceClip() const {
    if (!painter()->hasClipping()) return std::nullopt;
    return Clean(Transform().map(painter()->clipPath()));
  }

  static constexpr double kShadowPixels = 400;

  TEmfWriter writer_;
  QImage shadow_;
  double shadowScale_ = 1;
  std::optional<BrushKey> brush_;
  uint32_t brushHandle_ = 0;
  std::optional<PenKey> pen_;
  uint32_t penHandle_ = 0;
  int fillMode_ = 0;
};

void TEmfPaintEngine::Draw(const QPainterPath& path, bool fill) {
  if (path.isEmpty()) return;
  QPainter* p = painter();
  const QTransform t = Transform();
  const double opacity = p->opacity();
  const std::optional<QPainterPath> clip = DeviceClip();
  const QPainterPath device = Clean(t.map(path));
  if (fill) {
    const QPainterPath area = clip ? Intersect(device, *clip) : device;
    const QGradient* g = p->brush().gradient();
    if (g && (g->type() == QGradient::LinearGradient || g->type() == QGradient::RadialGradient)) {
      FillGradient(path, area, p->brush(), opacity);
    } else if (auto paint = PaintOf(p->brush(), opacity)) {
      if (auto b = Resolve(*paint, area)) Fill(area, *b, bool(clip));
    }
  }

  const QPen pen = p->pen();
  if (pen.style() == Qt::NoPen) return;
  const auto paint = PaintOf(pen.brush(), opacity);
  if (!paint) return;
  // A translucent pen mixes with what lies under the band it covers.
  const bool translucent = paint->colour.a < 1 - 0.5 / 255;
  const auto color =
      Resolve(*paint, translucent ? Clean(t.map(QPainterPathStroker(pen).createStroke(path))) : device);
  if (!color) return;
  const bool cosmetic = pen.isCosmetic() || pen.widthF() <= 0;
  const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
  const bool uneven = sx > 0 && sy > 0 && std::max(sx, sy) / std::min(sx, sy) > 1.05;
  // Outlines EMF pens cannot draw as Qt does become filled outlines.
  if (!cosmetic && (clip || uneven || pen.style() == Qt::CustomDashLine)) {
    QPainterPathStroker stroker(pen);
    QPainterPath outline = t.map(stroker.createStroke(path)).simplified();
    if (clip) outline = Intersect(outline, *clip);
    Fill(outline, BrushKey{kBsSolid, 0, color->color}, true);
    return;
  }
  PenKey key;
  key.color = color->color;
  key.style = DashStyle(pen.style());
  if (cosmetic) {
    key.width = 1;
  } else {
    key.width = std::max(1, int(std::lround(pen.widthF() * std::sqrt(std::abs(t.determinant())))));
    key.style |= kPsGeometric;
    key.style |= pen.capStyle() == Qt::FlatCap     ? kPsEndcapFlat
                 : pen.capStyle() == Qt::SquareCap ? kPsEndcapSquare
                                                   : 0;
    key.style |= pen.joinStyle() == Qt::BevelJoin   ? kPsJoinBevel
                 : pen.joinStyle() == Qt::RoundJoin ? 0
                                                    : kPsJoinMiter;
  }
  Stroke(device, key, color->color);
}

Mixed TEmfPaintEngine::Below(const QPainterPath& devicePath, double* spread) const {
  if (spread) *spread = 0;
  const QRectF box = QTransform::fromScale(shadowScale_, shadowScale_).mapRect(devicePath.boundingRect());
  const QRect area = box.toAlignedRect().intersected(shadow_.rect());
  Mixed sum;
  double squares = 0;
  if (!area.isEmpty()) {
    QImage mask(area.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter q(&mask);
    q.translate(-area.topLeft());
    q.scale(shadowScale_, shadowScale_);
    q.fillPath(devicePath, Qt::white);
    q.end();
    for (int y = 0; y < area.height(); ++y) {
      const uchar* m = mask.constScanLine(y);
      const QRgb* px = reinterpret_cast<const QRgb*>(shadow_.constScanLine(y + area.top())) + area.left();
      for (int x = 0; x < area.width(); ++x)
        if (m[x] > 127) {
          const int r = qRed(px[x]), g = qGreen(px[x]), b = qBlue(px[x]);
          sum.r += r, sum.g += g, sum.b += b, sum.a += 1;
          squares += double(r) * r + double(g) * g + double(b) * b;
        }
    }
  }
  if (sum.a > 0) {
    const Mixed mean{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, 1};
    if (spread) {
      const double var = squares / sum.a - (mean.r * mean.r + mean.g * mean.g + mean.b * mean.b);
      *spread = std::sqrt(std::max(0.0, var / 3));
    }
    return mean;
  }
  // Smaller than a pixel of the shadow: the pixel under its middle.
  const QPoint c =
      QTransform::fromScale(shadowScale_, shadowScale_).map(devicePath.boundingRect().center()).toPoint();
  if (!shadow_.rect().contains(c)) return Mixed{255, 255, 255, 1};
  const QRgb px = shadow_.pixel(c);
  return Mixed{double(qRed(px)), double(qGreen(px)), double(qBlue(px)), 1};
}

std::optional<BrushKey> TEmfPaintEngine::Resolve(const Paint& paint, const QPainterPath& devicePath,
                                                 bool mayDrop) const {
  if (Invisible(paint.colour)) return std::nullopt;
  if (paint.colour.a >= 1 - 0.5 / 255) return BrushKey{paint.style, paint.hatch, Over(paint.colour, {})};
  double spread = 0;
  const Mixed below = Below(devicePath, &spread);
  // A faint paint over a varied picture is left out: painted solid it would hide what it shades.
  if (mayDrop && paint.colour.a < kFaint && spread > kVaried) return std::nullopt;
  return BrushKey{paint.style, paint.hatch, Over(paint.colour, below)};
}

void TEmfPaintEngine::Shade(const QPainterPath& devicePath, TColor color, double strokeWidth) {
  QPainter q(&shadow_);
  q.scale(shadowScale_, shadowScale_);
  const QColor c(ColorR(color), ColorG(color), ColorB(color));
  if (strokeWidth < 0) {
    q.fillPath(devicePath, c);
  } else {
    QPen pen(c, strokeWidth);
    pen.setCosmetic(strokeWidth == 0);
    q.strokePath(devicePath, pen);
  }
}

// Linear and radial gradients fill as bands of one colour each, as many as the colours call for.
void TEmfPaintEngine::FillGradient(const QPainterPath& path, const QPainterPath& devicePath,
                                   const QBrush& brush, double opacity) {
  const QGradient& g = *brush.gradient();
  const QGradientStops stops = g.stops();
  if (stops.isEmpty() || devicePath.isEmpty()) return;
  // Gradient space to device: the object's box (for box-relative gradients), the brush's own
  // transform, then the painter's.
  QTransform toDevice = brush.transform() * Transform();
  if (g.coordinateMode() == QGradient::ObjectBoundingMode || g.coordinateMode() == QGradient::ObjectMode) {
    const QRectF box = path.boundingRect();
    toDevice = QTransform(box.width(), 0, 0, box.height(), box.left(), box.top()) * toDevice;
  }
  bool invertible = false;
  const QTransform fromDevice = toDevice.inverted(&invertible);
  if (!invertible) {
    if (auto paint = PaintOf(brush, opacity))
      if (auto b = Resolve(*paint, devicePath)) Fill(devicePath, *b);
    return;
  }
  const QRectF box = devicePath.boundingRect();
  const QPointF corners[] = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
  // Bands: enough that neighbours differ by a few levels, at most 16.
  double change = 0;
  for (int i = 1; i < stops.size(); ++i) {
    const QColor a = stops[i - 1].second.toRgb(), b = stops[i].second.toRgb();
    change += std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                        std::abs(a.blue() - b.blue()), int(std::abs(a.alphaF() - b.alphaF()) * 255)});
  }
  const int bands = std::clamp(int(std::ceil(change / 16)), 1, 16);
  // A faint gradient over a varied picture is left out as a whole, like a faint plain colour.
  if (GradientAverage(g).a * opacity < kFaint) {
    double spread = 0;
    Below(devicePath, &spread);
    if (spread > kVaried) return;
  }
  auto paintBand = [&](const QPainterPath& region, double t) {
    if (region.isEmpty()) return;
    Mixed m = GradientAt(stops, std::clamp(t, 0.0, 1.0));
    m.a *= opacity;
    if (auto b = Resolve(Paint{m, kBsSolid, 0}, region, false)) Fill(region, *b, true);
  };
  if (g.type() == QGradient::LinearGradient) {
    const auto& lg = static_cast<const QLinearGradient&>(g);
    const QPointF s0 = lg.start(), d = lg.finalStop() - lg.start();
    const double len2 = QPointF::dotProduct(d, d);
    if (len2 <= 0) return paintBand(devicePath, 1);
    const QPointF n = QPointF(-d.y(), d.x()) / std::sqrt(len2);
    double tmin = 1e300, tmax = -1e300, umin = 1e300, umax = -1e300;
    for (QPointF c : corners) {
      const QPointF q = fromDevice.map(c) - s0;
      const double t = QPointF::dotProduct(q, d) / len2, u = QPointF::dotProduct(q, n);
      tmin = std::min(tmin, t), tmax = std::max(tmax, t), umin = std::min(umin, u), umax = std::max(umax, u);
    }
    const double pad = (umax - umin) * 0.01 + 1e-6, tpad = (tmax - tmin) * 0.01 + 1e-6;
    std::vector<double> cuts{tmin - tpad};
    for (int i = 0; i <= bands; ++i) {
      const double t = double(i) / bands;
      if (t > cuts.back() && t < tmax + tpad) cuts.push_back(t);
    }
    cuts.push_back(tmax + tpad);
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
      const double a = cuts[i], b = cuts[i + 1];
      // Each band reaches a little into the next one, which covers it: no seam shows between them.
      const double reach = i + 2 < cuts.size() ? (b - a) * 0.3 : 0;
      QPolygonF strip{s0 + d * a + n * (umin - pad), s0 + d * (b + reach) + n * (umin - pad),
                      s0 + d * (b + reach) + n * (umax + pad), s0 + d * a + n * (umax + pad)};
      QPainterPath band;
      band.addPolygon(toDevice.map(strip));
      band.closeSubpath();
      paintBand(Intersect(devicePath, band), (std::clamp(a, 0.0, 1.0) + std::clamp(b, 0.0, 1.0)) / 2);
    }
    return;
  }
  const auto& rg = static_cast<const QRadialGradient&>(g);
  const QPointF c = rg.center();
  const double r = rg.radius();
  if (r <= 0) return paintBand(devicePath, 1);
  double tmax = 0;
  for (QPointF k : corners) tmax = std::max(tmax, QLineF(fromDevice.map(k), c).length() / r);
  auto disk = [&](double t) {
    QPainterPath p;
    p.addEllipse(c, r * t, r * t);
    return toDevice.map(p);
  };
  // Rings from the middle out, each reaching a little into the one before, which it covers.
  const double reach = 0.3 / bands;
  for (int i = 1; i <= bands; ++i) {
    const double t = double(i) / bands, from = double(i - 1) / bands;
    const QPainterPath outer = disk(t);
    paintBand(Intersect(devicePath, i == 1 ? outer : outer.subtracted(disk(from - reach))), (t + from) / 2);
    if (t >= tmax) return;
  }
  paintBand(devicePath.subtracted(disk(1 - reach)), 1);
}

void TEmfPaintEngine::SelectBrush(const BrushKey& b) {
  if (brush_ && *brush_ == b) return;
  const uint32_t h = writer_.CreateBrush(b.style, b.color, b.hatch);
  writer_.SelectObject(h);
  if (brushHandle_) writer_.DeleteObject(brushHandle_);
  brushHandle_ = h;
  brush_ = b;
}

void TEmfPaintEngine::SelectPen(const PenKey& p) {
  if (pen_ && *pen_ == p) return;
  const uint32_t h = writer_.ExtCreatePen(p.style, p.width, p.color);
  writer_.SelectObject(h);
  if (penHandle_) writer_.DeleteObject(penHandle_);
  penHandle_ = h;
  pen_ = p;
}

void TEmfPaintEngine::SetFillRule(Qt::FillRule rule) {
  const int mode = rule == Qt::OddEvenFill ? kAlternate : kWinding;
  if (mode == fillMode_) return;
  writer_.SetPolyFillMode(mode);
  fillMode_ = mode;
}

// A plain pen inside the path bracket: players never select it, the document importer gives its
// colour and width to the line it makes of the path.
void TEmfPaintEngine::ImporterPen(TColor color, int width) {
  const uint32_t h = writer_.CreatePen(kPsSolid, width, color);
  writer_.DeleteObject(h);
}

void TEmfPaintEngine::Geometry(const Figure& f, bool closeForFill) {
  std::vector<QPoint> run;
  bool runCurve = false;
  auto flush = [&] {
    if (run.empty()) return;
    if (runCurve)
      writer_.PolyBezierTo(run);
    else if (run.size() == 1)
      writer_.LineTo(run[0].x(), run[0].y());
    else
      writer_.PolylineTo(run);
    run.clear();
  };
  const QPoint start = Round(f.start);
  writer_.MoveTo(start.x(), start.y());
  QPoint last = start;
  for (const auto& s : f.segments) {
    if (s.curve != runCurve) flush();
    runCurve = s.curve;
    if (s.curve) run.push_back(Round(s.c1)), run.push_back(Round(s.c2));
    last = Round(s.end);
    run.push_back(last);
  }
  flush();
  // The importer does not close figures: the closing side is written out.
  if ((closeForFill || f.closed) && last != start) writer_.LineTo(start.x(), start.y());
  if (closeForFill || f.closed) writer_.CloseFigure();
}

void TEmfPaintEngine::Fill(const QPainterPath& devicePath, const BrushKey& brush, bool flattened) {
  std::vector<Figure> figures = Figures(devicePath);
  if (figures.empty()) return;
  // Clipped outlines carry far more sides than their look needs; a few hundredths of a millimetre
  // off keeps the files small.
  if (flattened)
    for (Figure& f : figures) f = Thinned(f, kThinning);
  if (brush.style == kBsSolid) Shade(devicePath, brush.color);
  // Figures that overlap stay in one path (holes, and overlaps the fill rule empties); the others
  // go in paths of their own.
  const int n = int(figures.size());
  std::vector<int> parent(figures.size());
  for (int i = 0; i < n; ++i) parent[size_t(i)] = i;
  auto root = [&](int i) {
    while (parent[size_t(i)] != i) i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
    return i;
  };
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      if (figures[size_t(i)].bounds.intersects(figures[size_t(j)].bounds)) parent[size_t(root(j))] = root(i);
  std::vector<std::vector<int>> groups;
  std::vector<int> slot(figures.size(), -1);
  for (int i = 0; i < n; ++i) {
    int& s = slot[size_t(root(i))];
    if (s < 0) s = int(groups.size()), groups.emplace_back();
    groups[size_t(s)].push_back(i);
  }
  // The largest figure of a group is entered first: the others are usually inside it.
  auto area = [&](int i) { return figures[size_t(i)].bounds.width() * figures[size_t(i)].bounds.height(); };
  for (auto& g : groups)
    std::stable_sort(g.begin(), g.end(), [&](int x, int y) { return area(x) > area(y); });
  // Outlines made of many short sides (flattened curves) are thinned until the importer holds them.
  for (const auto& g : groups) {
    auto cost = [&] {
      int c = 0;
      for (int i : g) c += ImportCost(figures[size_t(i)]);
      return c;
    };
    std::vector<Figure> original;
    for (int i : g) original.push_back(figures[size_t(i)]);
    for (double tolerance = 2; cost() > kImportPoints && tolerance < 400; tolerance *= 1.5)
      for (size_t k = 0; k < g.size(); ++k) figures[size_t(g[k])] = Thinned(original[k], tolerance);
  }
  SelectBrush(brush);
  SetFillRule(devicePath.fillRule());
  // One path per outline with its holes: the importer strokes the joining lines, so they are kept
  // to the few inside a shape, each from the outline's start to the nearest point of the hole.
  for (const std::vector<int>& group : groups) {
    writer_.BeginPath();
    ImporterPen(brush.color, 0);
    const QPoint home = Round(figures[group[0]].start);
    Geometry(figures[group[0]], true);
    for (size_t k = 1; k < group.size(); ++k) {
      Geometry(StartNearest(figures[group[k]], home), true);
      writer_.MoveTo(home.x(), home.y());
    }
    writer_.EndPath();
    writer_.FillPath();
  }
}

void TEmfPaintEngine::Stroke(const QPainterPath& devicePath, const PenKey& pen, TColor color) {
  Shade(devicePath, color, pen.style & kPsGeometric ? pen.width : 0);
  SelectPen(pen);
  const int importWidth = pen.style & kPsGeometric ? pen.width * kImportPenScale : 0;
  for (Figure f : Figures(devicePath)) {
    // Long outlines go in pieces the importer can hold.
    const size_t piece = kImportPoints / 3 - 2;
    for (size_t from = 0; from < f.segments.size(); from += piece) {
      Figure part;
      part.start = from == 0 ? f.start : f.segments[from - 1].end;
      part.segments.assign(f.segments.begin() + long(from),
                           f.segments.begin() + long(std::min(f.segments.size(), from + piece)));
      part.closed = f.closed && f.segments.size() <= piece;
      writer_.BeginPath();
      ImporterPen(color, importWidth);
      Geometry(part, false);
      writer_.EndPath();
      writer_.StrokePath();
    }
  }
}

void TEmfPaintEngine::drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                                Qt::ImageConversionFlags) {
  if (image.isNull() || r.isEmpty()) return;
  QPainter* p = painter();
  const QTransform t = Transform();
  const QRect source = sr.toAlignedRect().intersected(image.rect());
  if (source.isEmpty()) return;
  QImage part = image.copy(source).convertToFormat(QImage::Format_ARGB32);
  QRectF target = t.mapRect(r);
  if (t.type() > QTransform::TxScale) {
    // Turned or sheared: turn the pixels here, at about their own resolution.
    const double density =
        std::sqrt(double(part.width()) * part.height() / std::max(1.0, r.width() * r.height()));
    const QSize size(
        std::max(1, int(std::ceil(target.width() * density / std::sqrt(std::abs(t.determinant()))))),
        std::max(1, int(std::ceil(target.height() * density / std::sqrt(std::abs(t.determinant()))))));
    QImage turned(std::min(size.width(), 4096), std::min(size.height(), 4096), QImage::Format_ARGB32);
    turned.fill(Qt::transparent);
    QPainter q(&turned);
    q.setRenderHint(QPainter::SmoothPixmapTransform);
    q.scale(turned.width() / target.width(), turned.height() / target.height());
    q.translate(-target.topLeft());
    q.setTransform(t, true);
    q.drawImage(r, part);
    q.end();
    part = turned;
  } else {
    // A mirrored target keeps its picture mirrored.
    part = part.mirrored(t.m11() < 0, t.m22() < 0);
  }
  if (const auto clip = DeviceClip()) target = target.intersected(clip->boundingRect());
  if (target.isEmpty()) return;
  // No alpha in EMF: the picture is flattened onto what was drawn below it, faded by the painter's
  // opacity.
  const QRectF under = QTransform::fromScale(shadowScale_, shadowScale_).mapRect(t.mapRect(r));
  QImage flat = shadow_.copy(under.toAlignedRect())
                    .scaled(part.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB888);
  QPainter q(&flat);
  q.setOpacity(p->opacity());
  q.drawImage(0, 0, part);
  q.end();
  const QRectF full = t.mapRect(r);
  if (target != full) {
    // Clipped: keep the matching part of the pixels.
    const double fx = flat.width() / full.width(), fy = flat.height() / full.height();
    flat = flat.copy(QRectF((target.left() - full.left()) * fx, (target.top() - full.top()) * fy,
                            target.width() * fx, target.height() * fy)
                         .toAlignedRect());
  }
  const QRect dest = target.toRect();
  writer_.StretchDIBits(dest.x(), dest.y(), dest.width(), dest.height(), flat);
  QPainter s(&shadow_);
  s.scale(shadowScale_, shadowScale_);
  s.drawImage(QRectF(dest), flat);
}

TEmfDevice::TEmfDevice(QSizeF sizeMm)
    : units_(std::max(1, int(std::lround(sizeMm.width() * 100))),
             std::max(1, int(std::lround(sizeMm.height() * 100)))),
      engine_(
          std::make_unique<TEmfPaintEngine>(QRect(QPoint(0, 0), QPoint(units_.width(), units_.height())))) {}

TEmfDevice::~TEmfDevice() = default;

QPaintEngine* TEmfDevice::paintEngine() const {
  return engine_.get();
}

QByteArray TEmfDevice::Finish() const {
  return engine_->Finish();
}
bool TEmfDevice::Save(const QString& fileName) const {
  return engine_->Save(fileName);
}

int TEmfDevice::metric(PaintDeviceMetric m) const {
  switch (m) {
    case PdmWidth:
      return units_.width();
    case PdmHeight:
      return units_.height();
    case PdmWidthMM:
      return std::max(1, units_.width() / 100);
    case PdmHeightMM:
      return std::max(1, units_.height() / 100);
    case PdmNumColors:
      return INT_MAX;
    case PdmDepth:
      return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return 2540;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return int(QPaintDevice::devicePixelRatioFScale());
    default:
      return 0;
  }
}

QByteArray RecordEmf(QSizeF sizeMm, const std::function<void(QPainter&)>& draw) {
  if (!(sizeMm.width() > 0) || !(sizeMm.height() > 0) || sizeMm.width() > 20000 || sizeMm.height() > 20000)
    return {};
  TEmfDevice device(sizeMm);
  QPainter painter;
  if (!painter.begin(&device)) return {};
  draw(painter);
  painter.end();
  return device.Finish();
}
