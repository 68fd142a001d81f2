#include "render/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/gdi_font.h"

namespace {

// GDI's hatch patterns, rows top to bottom, bit 0x80 the left pixel.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal, "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal, "/"
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

// Coordinates far outside any surface are pulled in so that widths never overflow.
constexpr int kFar = 1 << 29;
int Near(int v) {
  return std::clamp(v, -kFar, kFar);
}

QRect NormalBox(int x1, int y1, int x2, int y2) {
  x1 = Near(x1), y1 = Near(y1), x2 = Near(x2), y2 = Near(y2);
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

// Scan lines of polygons one pixel high at most this many times (edges crossed, summed over the
// rows); a region beyond it is taken as the polygons' bounding box.
constexpr int64_t kMaxRegionCrossings = int64_t(1) << 22;

}  // namespace

// Built row by row into banded rectangles: building a region from a polygon through Qt takes time
// quadratic in its rows for slanted edges, and gives up, leaking its tables, on one more than
// 100,000 rows high; uniting rectangles one by one is quadratic too.
QRegion RegionFromPolygons(const QList<QPolygonF>& polygons, bool winding, QRect box) {
  if (box.isEmpty()) return {};
  struct Edge {
    int first, end;  // rows whose centres the edge spans: first <= row < end
    double x0, y0, slope;
    int dir;
  };
  std::vector<Edge> edges;
  int64_t crossings = 0;
  QRectF bounds;
  for (const QPolygonF& poly : polygons) {
    bounds |= poly.boundingRect();
    for (qsizetype i = 0, n = poly.size(); i < n; ++i) {
      const QPointF a = poly[i], b = poly[(i + 1) % n];
      if (!(a.y() != b.y()) || !std::isfinite(a.x() + a.y() + b.x() + b.y())) continue;
      const QPointF lo = a.y() < b.y() ? a : b, hi = a.y() < b.y() ? b : a;
      // Row r's centre is r + 0.5; the edge covers centres in [lo.y, hi.y).
      const double first = std::ceil(std::clamp(lo.y() - 0.5, double(box.top()), double(box.bottom()) + 1));
      const double end = std::ceil(std::clamp(hi.y() - 0.5, double(box.top()), double(box.bottom()) + 1));
      if (end <= first) continue;
      edges.push_back({int(first), int(end), lo.x(), lo.y(), (hi.x() - lo.x()) / (hi.y() - lo.y()),
                       b.y() > a.y() ? 1 : -1});
      crossings += int64_t(end - first);
    }
  }
  if (crossings > kMaxRegionCrossings) return QRegion(bounds.toAlignedRect() & box);
  std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.first < q.first; });

  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> spans, band;  // this row's and the open band's [left, right)
  size_t bandStart = 0;
  std::vector<const Edge*> active;
  std::vector<std::pair<double, int>> hits;
  size_t next = 0;
  const int left = box.left(), right = box.right() + 1;
  for (int row = box.top(); row <= box.bottom() && (next < edges.size() || !active.empty()); ++row) {
    std::erase_if(active, [row](const Edge* e) { return e->end <= row; });
    if (active.empty()) {  // between figures: on to the next edge's first row
      if (next == edges.size()) break;
      row = std::max(row, edges[next].first);
    }
    while (next < edges.size() && edges[next].first <= row) active.push_back(&edges[next++]);
    hits.clear();
    const double cy = row + 0.5;
    for (const Edge* e : active) hits.emplace_back(e->x0 + (cy - e->y0) * e->slope, e->dir);
    std::sort(hits.begin(), hits.end());
    spans.clear();
    int count = 0;
    for (size_t i = 0; i + 1 < hits.size(); ++i) {
      count = winding ? count + hits[i].second : count ^ 1;
      if (count == 0) continue;
      // Columns whose centres lie in [x0, x1).
      const int a = int(std::ceil(std::clamp(hits[i].first - 0.5, double(left), double(right))));
      const int b = int(std::ceil(std::clamp(hits[i + 1].first - 0.5, double(left), double(right))));
      if (b <= a) continue;
      if (!spans.empty() && spans.back().second >= a)
        spans.back().second = std::max(spans.back().second, b);
      else
        spans.emplace_back(a, b);
    }
    if (!spans.empty() && spans == band && rects.size() > bandStart && rects.back().bottom() == row - 1) {
      for (size_t k = bandStart; k < rects.size(); ++k) rects[k].setBottom(row);
      continue;
    }
    band = spans;
    bandStart = rects.size();
    for (auto [a, b] : spans) rects.emplace_back(a, row, b - a, 1);
  }
  QRegion region;
  region.setRects(rects.data(), int(rects.size()));
  return region;
}

const uint8_t* HatchPattern(int brushStyle) {
  if (brushStyle < bsHorizontal || brushStyle > bsDiagCross) return nullptr;
  return kHatches[brushStyle - bsHorizontal];
}

bool HatchCovers(int brushStyle, int x, int y) {
  const uint8_t* p = HatchPattern(brushStyle);
  if (!p) return false;
  return p[y & 7] & (0x80 >> (x & 7));
}

// --- paths -----------------------------------------------------------------------------------------

QPainterPath TPath::ToPainterPath(QPointF offset, bool closeAll, TPolyFillMode mode) const {
  QPainterPath qp;
  qp.setFillRule(mode == pfWinding ? Qt::WindingFill : Qt::OddEvenFill);
  auto at = [&](size_t i) { return QPointF(Points[i]) + offset; };
  bool open = false;
  const size_t n = std::min(Points.size(), Types.size());
  for (size_t i = 0; i < n; ++i) {
    const uint8_t kind = Types[i] & ~ptCloseFigure;
    if (kind == ptMoveTo || !open) {
      if (open && closeAll) qp.closeSubpath();
      qp.moveTo(at(i));
      open = true;
    } else if (kind == ptBezierTo && i + 2 < n) {
      qp.cubicTo(at(i), at(i + 1), at(i + 2));
      i += 2;
    } else {
      qp.lineTo(at(i));
    }
    if (Types[i] & ptCloseFigure) {
      qp.closeSubpath();
      open = false;
    }
  }
  if (open && closeAll) qp.closeSubpath();
  return qp;
}

// --- regions ---------------------------------------------------------------------------------------

TPolygonRegion::TPolygonRegion(std::span<const QPoint> points, TPolyFillMode mode)
    : points_(points.begin(), points.end()), mode_(mode) {}

bool TPolygonRegion::Contains(int x, int y) const {
  if (points_.size() < 3) return false;
  // Test the pixel centre in doubled coordinates so that everything stays an exact integer.
  const int64_t px = 2 * int64_t(x) + 1, py = 2 * int64_t(y) + 1;
  int winding = 0, crossings = 0;
  const size_t n = points_.size();
  for (size_t i = 0; i < n; ++i) {
    const int64_t x0 = 2 * int64_t(points_[i].x()), y0 = 2 * int64_t(points_[i].y());
    const int64_t x1 = 2 * int64_t(points_[(i + 1) % n].x()), y1 = 2 * int64_t(points_[(i + 1) % n].y());
    if ((y0 <= py) == (y1 <= py)) continue;  // edge does not span the scan line (py is odd, never equal)
    // Side of the point relative to the edge: cross product sign.
    const int64_t cross = (x1 - x0) * (py - y0) - (px - x0) * (y1 - y0);
    const bool up = y1 > y0;
    if (up ? cross > 0 : cross < 0) {  // edge crosses to the right of the point
      ++crossings;
      winding += up ? 1 : -1;
    }
  }
  return mode_ == pfWinding ? winding != 0 : (crossings & 1) != 0;
}

// --- text ------------------------------------------------------------------------------------------

struct TCanvas::Metrics {
  explicit Metrics(const QFont& f) : font(f), fm(f) {}
  QFont font;
  QFontMetrics fm;
};

void TCanvas::SetFont(const TFont& font, int escapement) {
  escapement_ = escapement;
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

int TCanvas::TextAscent() {
  if (!metrics_) metrics_ = std::make_shared<Metrics>(QFontFromGdi(font_));
  return metrics_->fm.ascent();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty() || pathOpen_) return;
  DoTextOut(x, y, text, nullptr);
}

void TCanvas::TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString& text) {
  if (text.isEmpty() || pathOpen_) return;
  const QRect clip = NormalBox(x1, y1, x2, y2);
  if (clip.isEmpty()) return;
  DoTextOut(x, y, text, &clip);
}

// --- clipping --------------------------------------------------------------------------------------

void TCanvas::IntersectClipRect(int x1, int y1, int x2, int y2) {
  const QRegion r(NormalBox(x1, y1, x2, y2));
  clip_ = clip_ ? clip_->intersected(r) : r;
}

// --- lines -----------------------------------------------------------------------------------------

void TCanvas::AddFigurePoints(std::span<const QPoint> points, bool closed) {
  for (size_t i = 0; i < points.size(); ++i) {
    path_.Points.push_back(points[i]);
    path_.Types.push_back(i == 0 ? ptMoveTo : ptLineTo);
  }
  if (closed && !points.empty()) path_.Types.back() |= ptCloseFigure;
}

void TCanvas::AddBeziersToPath(const std::vector<QPointF>& pts, bool startFigure) {
  if (pts.empty()) return;
  auto rounded = [](QPointF p) { return QPoint(int(std::lround(p.x())), int(std::lround(p.y()))); };
  if (startFigure) {
    path_.Points.push_back(rounded(pts[0]));
    path_.Types.push_back(ptMoveTo);
  } else {
    path_.Points.push_back(rounded(pts[0]));
    path_.Types.push_back(path_.Points.size() == 1 ? ptMoveTo : ptLineTo);
  }
  for (size_t i = 1; i < pts.size(); ++i) {
    path_.Points.push_back(rounded(pts[i]));
    path_.Types.push_back(ptBezierTo);
  }
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = QPoint(x, y);
  if (pathOpen_) {
    path_.Points.push_back(penPos_);
    path_.Types.push_back(ptMoveTo);
  }
}

void TCanvas::LineTo(int x, int y) {
  const QPoint from = penPos_;
  penPos_ = QPoint(x, y);
  if (pathOpen_) {
    if (path_.Empty() || (path_.Types.back() & ptCloseFigure)) {
      path_.Points.push_back(from);
      path_.Types.push_back(ptMoveTo);
    }
    path_.Points.push_back(penPos_);
    path_.Types.push_back(ptLineTo);
    return;
  }
  DoLine(from, penPos_);
}

void TCanvas::Polyline(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  if (pathOpen_) {
    AddFigurePoints(points, false);
    return;
  }
  DoPolyline(points);
}

void TCanvas::PolylineTo(std::span<const QPoint> points) {
  if (points.empty()) return;
  if (pathOpen_) {
    for (const QPoint& p : points) LineTo(p.x(), p.y());
    return;
  }
  std::vector<QPoint> all;
  all.reserve(points.size() + 1);
  all.push_back(penPos_);
  all.insert(all.end(), points.begin(), points.end());
  penPos_ = points.back();
  DoPolyline(all);
}

void TCanvas::PolyBezier(std::span<const QPoint> points) {
  if (points.size() < 4) return;
  points = points.first(1 + (points.size() - 1) / 3 * 3);
  if (pathOpen_) {
    path_.Points.push_back(points[0]);
    path_.Types.push_back(ptMoveTo);
    for (size_t i = 1; i < points.size(); ++i) {
      path_.Points.push_back(points[i]);
      path_.Types.push_back(ptBezierTo);
    }
    return;
  }
  DoPolyBezier(points);
}

void TCanvas::PolyBezierTo(std::span<const QPoint> points) {
  if (points.size() < 3) return;
  points = points.first(points.size() / 3 * 3);
  const QPoint from = penPos_;
  penPos_ = points.back();
  if (pathOpen_) {
    if (path_.Empty() || (path_.Types.back() & ptCloseFigure)) {
      path_.Points.push_back(from);
      path_.Types.push_back(ptMoveTo);
    }
    for (const QPoint& p : points) {
      path_.Points.push_back(p);
      path_.Types.push_back(ptBezierTo);
    }
    return;
  }
  std::vector<QPoint> all;
  all.reserve(points.size() + 1);
  all.push_back(from);
  all.insert(all.end(), points.begin(), points.end());
  DoPolyBezier(all);
}

std::vector<QPointF> EllipseArcBeziers(QRectF box, QPointF start, QPointF end, bool clockwise) {
  std::vector<QPointF> out;
  const double a = box.width() / 2, b = box.height() / 2;
  if (!(a > 0 && b > 0)) return out;
  const QPointF c = box.center();
  constexpr double kTwoPi = 2 * std::numbers::pi;
  // Parametric angles with y pointing up, so that positive sweeps run counter-clockwise on screen.
  auto angle = [&](QPointF p) {
    const double dx = (p.x() - c.x()) / a, dy = (c.y() - p.y()) / b;
    return (dx == 0 && dy == 0) ? 0.0 : std::atan2(dy, dx);
  };
  const double t0 = angle(start), t1 = angle(end);
  double sweep = clockwise ? t0 - t1 : t1 - t0;
  sweep = std::fmod(sweep, kTwoPi);
  if (sweep <= 1e-9) sweep += kTwoPi;
  if (clockwise) sweep = -sweep;
  const int n = std::max(1, int(std::ceil(std::abs(sweep) / (std::numbers::pi / 2) - 1e-9)));
  const double d = sweep / n;
  const double k = 4.0 / 3.0 * std::tan(d / 4);
  auto at = [&](double t) { return QPointF(c.x() + a * std::cos(t), c.y() - b * std::sin(t)); };
  auto deriv = [&](double t) { return QPointF(-a * std::sin(t), -b * std::cos(t)); };
  out.push_back(at(t0));
  for (int i = 0; i < n; ++i) {
    const double u = t0 + d * i, v = u + d;
    out.push_back(at(u) + k * deriv(u));
    out.push_back(at(v) - k * deriv(v));
    out.push_back(at(v));
  }
  return out;
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (box.isEmpty()) return;
  if (pathOpen_) {
    AddBeziersToPath(ArcBeziers(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1), QPointF(xs, ys),
                                QPointF(xe, ye), arcDirection_ == adClockwise),
                     true);
    return;
  }
  DoArc(0, box, QPoint(xs, ys), QPoint(xe, ye));
}

// --- closed figures --------------------------------------------------------------------------------

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (pathOpen_) {
    const QPoint pts[4] = {box.topLeft(), QPoint(box.x(), box.y() + box.height() - 1),
                           QPoint(box.x() + box.width() - 1, box.y() + box.height() - 1),
                           QPoint(box.x() + box.width() - 1, box.y())};
    AddFigurePoints(pts, true);
    return;
  }
  if (box.width() < 1 || box.height() < 1) return;
  DoRectangle(box);
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (box.isEmpty() || pathOpen_) return;
  DoFillRect(box);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (pathOpen_) {
    // Corners as quarter ellipses, counter-clockwise from the top-right corner.
    const double l = box.x(), t = box.y(), r = box.x() + box.width() - 1, b = box.y() + box.height() - 1;
    const double w = std::min<double>(std::abs(double(cornerW)), r - l),
                 h = std::min<double>(std::abs(double(cornerH)), b - t);
    std::vector<QPointF> pts;
    auto quarter = [&](QRectF e, QPointF s, QPointF f) {
      auto q = ArcBeziers(e, s, f, false);
      if (q.empty()) return;
      if (pts.empty()) {
        pts = q;
      } else {
        pts.push_back(pts.back());  // straight side as a flat Bézier
        pts.push_back(q.front());
        pts.push_back(q.front());
        pts.insert(pts.end(), q.begin() + 1, q.end());
      }
    };
    if (w <= 0 || h <= 0) {
      Rectangle(x1, y1, x2, y2);
      return;
    }
    quarter(QRectF(r - w, t, w, h), QPointF(r, t + h / 2), QPointF(r - w / 2, t));
    quarter(QRectF(l, t, w, h), QPointF(l + w / 2, t), QPointF(l, t + h / 2));
    quarter(QRectF(l, b - h, w, h), QPointF(l, b - h / 2), QPointF(l + w / 2, b));
    quarter(QRectF(r - w, b - h, w, h), QPointF(r - w / 2, b), QPointF(r, b - h / 2));
    if (pts.empty()) return;
    AddBeziersToPath(pts, true);
    path_.Types.back() |= ptCloseFigure;
    return;
  }
  if (box.width() < 1 || box.height() < 1) return;
  DoRoundRect(box, QSize(std::abs(Near(cornerW)), std::abs(Near(cornerH))));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (pathOpen_) {
    const QRectF e(box.x(), box.y(), box.width() - 1, box.height() - 1);
    const QPointF s(e.right(), e.center().y());
    const auto pts = ArcBeziers(e, s, s, false);
    if (pts.empty()) return;
    AddBeziersToPath(pts, true);
    path_.Types.back() |= ptCloseFigure;
    return;
  }
  if (box.width() < 1 || box.height() < 1) return;
  DoEllipse(box);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (box.isEmpty()) return;
  if (pathOpen_) {
    const auto pts = ArcBeziers(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1), QPointF(xs, ys),
                                QPointF(xe, ye), arcDirection_ == adClockwise);
    if (pts.empty()) return;
    AddBeziersToPath(pts, true);
    path_.Types.back() |= ptCloseFigure;
    return;
  }
  DoArc(1, box, QPoint(xs, ys), QPoint(xe, ye));
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (box.isEmpty()) return;
  if (pathOpen_) {
    const QRectF e(box.x(), box.y(), box.width() - 1, box.height() - 1);
    const auto pts = ArcBeziers(e, QPointF(xs, ys), QPointF(xe, ye), arcDirection_ == adClockwise);
    if (pts.empty()) return;
    path_.Points.push_back(QPoint(int(std::lround(e.center().x())), int(std::lround(e.center().y()))));
    path_.Types.push_back(ptMoveTo);
    AddBeziersToPath(pts, false);
    path_.Types.back() |= ptCloseFigure;
    return;
  }
  DoArc(2, box, QPoint(xs, ys), QPoint(xe, ye));
}

void TCanvas::Polygon(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  if (pathOpen_) {
    AddFigurePoints(points, true);
    return;
  }
  const int count = int(points.size());
  DoPolyPolygon(points, std::span<const int>(&count, 1));
}

void TCanvas::PolyPolygon(std::span<const QPoint> points, std::span<const int> counts) {
  // Keep only the polygons that the points cover and that have at least two corners.
  std::vector<int> used;
  std::vector<QPoint> pts;
  size_t at = 0;
  for (int c : counts) {
    if (c < 0 || size_t(c) > points.size() - at) break;
    if (c >= 2) {
      used.push_back(c);
      pts.insert(pts.end(), points.begin() + at, points.begin() + at + c);
    }
    at += c;
  }
  if (used.empty()) return;
  if (pathOpen_) {
    size_t k = 0;
    for (int c : used) {
      AddFigurePoints(std::span<const QPoint>(pts).subspan(k, c), true);
      k += c;
    }
    return;
  }
  DoPolyPolygon(pts, used);
}

// --- paths -----------------------------------------------------------------------------------------

void TCanvas::BeginPath() {
  path_.Clear();
  pathOpen_ = true;
}

void TCanvas::EndPath() {
  pathOpen_ = false;
}

void TCanvas::AbortPath() {
  path_.Clear();
  pathOpen_ = false;
}

void TCanvas::CloseFigure() {
  if (pathOpen_ && !path_.Empty()) path_.Types.back() |= ptCloseFigure;
}

bool TCanvas::FillPath() {
  if (pathOpen_ || path_.Empty()) return false;
  DoFillPath(path_, false, true);
  path_.Clear();
  return true;
}

bool TCanvas::StrokePath() {
  if (pathOpen_ || path_.Empty()) return false;
  DoFillPath(path_, true, false);
  path_.Clear();
  return true;
}

bool TCanvas::StrokeAndFillPath() {
  if (pathOpen_ || path_.Empty()) return false;
  DoFillPath(path_, true, true);
  path_.Clear();
  return true;
}

QRect TCanvas::Surface() const {
  return QRect(-(1 << 15), -(1 << 15), 1 << 16, 1 << 16);
}

bool TCanvas::SelectClipPath() {
  if (pathOpen_ || path_.Empty()) return false;
  QRect box = Surface();
  if (clip_) box &= clip_->boundingRect();
  // Moved left by the hair by which fills move, so that the region holds the pixels a fill paints.
  const QRegion r =
      RegionFromPolygons(path_.ToPainterPath(QPointF(-1.0 / 64, 0), true, fillMode_).toSubpathPolygons(),
                         fillMode_ == pfWinding, box);
  clip_ = clip_ ? clip_->intersected(r) : r;
  path_.Clear();
  return true;
}

// --- pictures and pixels ---------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, const QImage& image) {
  StretchDraw(x, y, x + image.width(), y + image.height(), image);
}

void TCanvas::StretchDraw(int x1, int y1, int x2, int y2, const QImage& image) {
  x1 = Near(x1), y1 = Near(y1), x2 = Near(x2), y2 = Near(y2);
  if (image.isNull() || x1 == x2 || y1 == y2 || pathOpen_) return;
  DoStretch(QRect(x1, y1, x2 - x1, y2 - y1), image, TBlitOp::Copy, std::nullopt);
}

void TCanvas::StretchDrawTransparent(int x1, int y1, int x2, int y2, const QImage& image, TColor key) {
  x1 = Near(x1), y1 = Near(y1), x2 = Near(x2), y2 = Near(y2);
  if (image.isNull() || x1 == x2 || y1 == y2 || pathOpen_) return;
  DoStretch(QRect(x1, y1, x2 - x1, y2 - y1), image, TBlitOp::Copy, key & 0xFFFFFF);
}

void TCanvas::StretchBlit(int x1, int y1, int x2, int y2, const QImage& image, TBlitOp op) {
  x1 = Near(x1), y1 = Near(y1), x2 = Near(x2), y2 = Near(y2);
  if (image.isNull() || x1 == x2 || y1 == y2 || pathOpen_) return;
  DoStretch(QRect(x1, y1, x2 - x1, y2 - y1), image, op, std::nullopt);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (clip_ && !clip_->contains(QPoint(x, y))) return;
  DoSetPixel(x, y, color & 0xFFFFFF);
}
