// Shared pieces of the drawing generators: outlines built from Bézier curves, a deterministic
// jitter, and the EMF writer that checks each drawing plays.
#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

namespace content {

struct Context;

namespace kit {

// Drawing functions work in millimetres, origin at the top-left corner.
using Draw = std::function<void(QPainter&)>;

// Records the drawing as an EMF of `sizeMm`, checks that it plays and is not empty, and writes it.
bool WriteEmf(const Context& context, const QString& relativePath, QSizeF sizeMm, const Draw& draw,
              QString* error);

// The same numbers on every machine and every run.
class Jitter {
 public:
  explicit Jitter(uint32_t seed) : state_(seed ? seed : 1) {}
  double Next();  // in [0, 1)
  double Between(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  uint32_t state_;
};

QPainterPath Star(QPointF centre, double outer, double inner, int points, double turnDeg = -90);
QPainterPath RegularPolygon(QPointF centre, double radius, int sides, double turnDeg = -90);
QPainterPath Heart(const QRectF& box);
QPainterPath RoundRect(const QRectF& box, double radius);
// A closed outline through the points whose sides bulge outwards by `bulge` times their length
// (negative: inwards); the points go round clockwise on the page.
QPainterPath Scallops(const std::vector<QPointF>& points, double bulge);
// n points evenly round an ellipse, clockwise on the page, starting at the top.
std::vector<QPointF> EllipsePoints(const QRectF& box, int n, double turnDeg = -90);
// n points evenly along a rectangle's outline, clockwise from its top-left corner; whole counts per side.
std::vector<QPointF> RectPoints(const QRectF& box, int perWidth, int perHeight);
QPainterPath Flower(QPointF centre, double radius, int petals, double petalDepth);
QPainterPath Crescent(QPointF centre, double radius);
QPainterPath Drop(const QRectF& box);
// A smooth closed curve through the points (Catmull-Rom turned into Bézier segments).
QPainterPath SmoothClosed(const std::vector<QPointF>& points);
QPainterPath SmoothOpen(const std::vector<QPointF>& points);

}  // namespace kit
}  // namespace content
