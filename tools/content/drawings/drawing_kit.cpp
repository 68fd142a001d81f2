#include "drawings/drawing_kit.h"

#include <QPainter>
#include <cmath>

#include "common/generator.h"
#include "drawings/svg_to_emf.h"
#include "render/emf_device.h"

namespace content::kit {

namespace {
constexpr double kPi = 3.14159265358979323846;
double Rad(double deg) {
  return deg * kPi / 180;
}
}  // namespace

bool WriteEmf(const Context& context, const QString& relativePath, QSizeF sizeMm, const Draw& draw,
              QString* error) {
  const QByteArray emf = RecordEmf(sizeMm, [&](QPainter& p) {
    p.scale(100, 100);
    draw(p);
  });
  const QImage played =
      PlayEmf(emf, QSize(120, std::max(1, int(std::lround(120 * sizeMm.height() / sizeMm.width())))));
  if (emf.isEmpty() || InkCoverage(played) <= 0) {
    *error = QStringLiteral("%1 draws nothing").arg(relativePath);
    return false;
  }
  return context.output->Write(relativePath, emf, error);
}

double Jitter::Next() {
  // xorshift32
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return (state_ >> 8) / double(1 << 24);
}

QPainterPath Star(QPointF c, double outer, double inner, int points, double turnDeg) {
  QPainterPath p;
  for (int i = 0; i < 2 * points; ++i) {
    const double a = Rad(turnDeg + i * 180.0 / points);
    const double r = i % 2 ? inner : outer;
    const QPointF q(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    i ? p.lineTo(q) : p.moveTo(q);
  }
  p.closeSubpath();
  return p;
}

QPainterPath RegularPolygon(QPointF c, double radius, int sides, double turnDeg) {
  QPainterPath p;
  for (int i = 0; i < sides; ++i) {
    const double a = Rad(turnDeg + i * 360.0 / sides);
    const QPointF q(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
    i ? p.lineTo(q) : p.moveTo(q);
  }
  p.closeSubpath();
  return p;
}

QPainterPath Heart(const QRectF& b) {
  auto at = [&](double u, double v) { return QPointF(b.left() + u * b.width(), b.top() + v * b.height()); };
  QPainterPath p;
  p.moveTo(at(0.5, 0.24));
  p.cubicTo(at(0.5, 0.06), at(0.32, -0.02), at(0.17, 0.02));
  p.cubicTo(at(0.02, 0.06), at(-0.03, 0.26), at(0.03, 0.42));
  p.cubicTo(at(0.11, 0.64), at(0.36, 0.8), at(0.5, 1.0));
  p.cubicTo(at(0.64, 0.8), at(0.89, 0.64), at(0.97, 0.42));
  p.cubicTo(at(1.03, 0.26), at(0.98, 0.06), at(0.83, 0.02));
  p.cubicTo(at(0.68, -0.02), at(0.5, 0.06), at(0.5, 0.24));
  p.closeSubpath();
  return p;
}

QPainterPath RoundRect(const QRectF& b, double r) {
  QPainterPath p;
  p.addRoundedRect(b, r, r);
  return p;
}

QPainterPath Scallops(const std::vector<QPointF>& pts, double bulge) {
  QPainterPath p;
  const size_t n = pts.size();
  if (n < 3) return p;
  p.moveTo(pts[0]);
  for (size_t i = 0; i < n; ++i) {
    const QPointF a = pts[i], b = pts[(i + 1) % n];
    const QPointF d = b - a;
    // Clockwise on the page (y down): the outside is to the left of the direction of travel.
    const QPointF out(d.y(), -d.x());
    const QPointF push = out * (bulge * 4.0 / 3.0);
    p.cubicTo(a + d / 6 + push, b - d / 6 + push, b);
  }
  p.closeSubpath();
  return p;
}

std::vector<QPointF> EllipsePoints(const QRectF& b, int n, double turnDeg) {
  std::vector<QPointF> out;
  for (int i = 0; i < n; ++i) {
    const double a = Rad(turnDeg + 360.0 * i / n);
    out.emplace_back(b.center().x() + b.width() / 2 * std::cos(a),
                     b.center().y() + b.height() / 2 * std::sin(a));
  }
  return out;
}

std::vector<QPointF> RectPoints(const QRectF& b, int nx, int ny) {
  std::vector<QPointF> out;
  for (int i = 0; i < nx; ++i) out.emplace_back(b.left() + b.width() * i / nx, b.top());
  for (int i = 0; i < ny; ++i) out.emplace_back(b.right(), b.top() + b.height() * i / ny);
  for (int i = 0; i < nx; ++i) out.emplace_back(b.right() - b.width() * i / nx, b.bottom());
  for (int i = 0; i < ny; ++i) out.emplace_back(b.left(), b.bottom() - b.height() * i / ny);
  return out;
}

QPainterPath Flower(QPointF c, double radius, int petals, double depth) {
  const double inner = radius * (1 - depth);
  std::vector<QPointF> pts;
  for (int i = 0; i < petals; ++i) {
    const double a = Rad(-90 + 360.0 * (i + 0.5) / petals);
    pts.emplace_back(c.x() + inner * std::cos(a), c.y() + inner * std::sin(a));
  }
  // Each petal bulges from one notch to the next.
  const double chord = 2 * inner * std::sin(kPi / petals);
  return Scallops(pts, chord > 0 ? (radius - inner * std::cos(kPi / petals)) / chord : 0.5);
}

QPainterPath Crescent(QPointF c, double r) {
  QPainterPath p;
  // Outer arc on the left, inner arc of a shifted circle back.
  const double a = 50;  // where the two arcs meet, in degrees from the horizontal
  const QPointF top(c.x() + r * std::cos(Rad(-a)), c.y() + r * std::sin(Rad(-a)));
  p.moveTo(top);
  p.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), a, 360 - 2 * a);
  // Back to the top along a flatter curve inside the circle.
  p.cubicTo(QPointF(c.x() - 0.15 * r, c.y() + 0.55 * r), QPointF(c.x() - 0.15 * r, c.y() - 0.55 * r), top);
  p.closeSubpath();
  return p;
}

QPainterPath Drop(const QRectF& b) {
  auto at = [&](double u, double v) { return QPointF(b.left() + u * b.width(), b.top() + v * b.height()); };
  QPainterPath p;
  p.moveTo(at(0.5, 0));
  p.cubicTo(at(0.62, 0.22), at(1.0, 0.45), at(1.0, 0.68));
  p.cubicTo(at(1.0, 0.88), at(0.78, 1.0), at(0.5, 1.0));
  p.cubicTo(at(0.22, 1.0), at(0.0, 0.88), at(0.0, 0.68));
  p.cubicTo(at(0.0, 0.45), at(0.38, 0.22), at(0.5, 0));
  p.closeSubpath();
  return p;
}

QPainterPath SmoothClosed(const std::vector<QPointF>& pts) {
  QPainterPath p;
  const size_t n = pts.size();
  if (n < 3) return p;
  p.moveTo(pts[0]);
  for (size_t i = 0; i < n; ++i) {
    const QPointF p0 = pts[(i + n - 1) % n], p1 = pts[i], p2 = pts[(i + 1) % n], p3 = pts[(i + 2) % n];
    p.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
  }
  p.closeSubpath();
  return p;
}

QPainterPath SmoothOpen(const std::vector<QPointF>& pts) {
  QPainterPath p;
  const size_t n = pts.size();
  if (n < 2) return p;
  p.moveTo(pts[0]);
  for (size_t i = 0; i + 1 < n; ++i) {
    const QPointF p0 = pts[i ? i - 1 : 0], p1 = pts[i], p2 = pts[i + 1], p3 = pts[std::min(n - 1, i + 2)];
    p.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
  }
  return p;
}

}  // namespace content::kit
