// Mask drawings for pictures: what is painted keeps the picture, what stays white is cut away.
// The mask panel lists the sub-folders, so every mask sits in a category folder.
#include <QPainter>
#include <cmath>
#include <vector>

#include "common/generator.h"
#include "drawings/drawing_kit.h"

namespace {

using namespace content::kit;

constexpr double kPi = 3.14159265358979323846;
const QRectF kBox(0, 0, 100, 100);

struct Mask {
  const char* folder;
  const char* name;
  std::function<QPainterPath()> shape;
};

// A rectangle whose sides are torn: small random steps in and out.
QPainterPath Torn(uint32_t seed) {
  Jitter j(seed);
  std::vector<QPointF> pts;
  const int per = 34;
  auto side = [&](QPointF a, QPointF b, QPointF inward) {
    for (int i = 0; i < per; ++i) {
      const double t = double(i) / per;
      pts.push_back(a + (b - a) * t + inward * j.Between(1.5, 6.5));
    }
  };
  side({0, 0}, {100, 0}, {0, 1});
  side({100, 0}, {100, 100}, {-1, 0});
  side({100, 100}, {0, 100}, {0, -1});
  side({0, 100}, {0, 0}, {1, 0});
  QPainterPath p;
  p.moveTo(pts[0]);
  for (size_t i = 1; i < pts.size(); ++i) p.lineTo(pts[i]);
  p.closeSubpath();
  return p;
}

// A wide stroke of a dry brush: wavy long sides, ragged ends.
QPainterPath BrushStroke() {
  Jitter j(7);
  std::vector<QPointF> top, bottom;
  const int n = 24;
  for (int i = 0; i <= n; ++i) {
    const double x = 6 + 88.0 * i / n;
    const double wave = 3 * std::sin(i * 0.55);
    top.emplace_back(x, 18 + wave + j.Between(-1.5, 1.5));
    bottom.emplace_back(x, 82 + wave + j.Between(-1.5, 1.5));
  }
  std::vector<QPointF> ring(top.begin(), top.end());
  // Ragged right end: tufts going out and in.
  for (int k = 1; k < 12; ++k)
    ring.emplace_back(94 + (k % 2 ? j.Between(2, 6) : j.Between(-4, 0)), 18 + 64.0 * k / 12);
  ring.insert(ring.end(), bottom.rbegin(), bottom.rend());
  for (int k = 1; k < 12; ++k)
    ring.emplace_back(6 - (k % 2 ? j.Between(2, 6) : j.Between(-4, 0)), 82 - 64.0 * k / 12);
  QPainterPath p;
  p.moveTo(ring[0]);
  for (size_t i = 1; i < ring.size(); ++i) p.lineTo(ring[i]);
  p.closeSubpath();
  return p;
}

// An oval that breaks up into ever smaller dots towards its edge.
QPainterPath Spray() {
  QPainterPath p;
  p.addEllipse(QRectF(14, 14, 72, 72));
  Jitter j(11);
  for (int ring = 0; ring < 4; ++ring) {
    const double r = 38 + ring * 3.2, dot = 2.6 - ring * 0.55;
    const int count = 36 + ring * 8;
    for (int i = 0; i < count; ++i) {
      const double a = 2 * kPi * (i + j.Between(-0.3, 0.3)) / count;
      const double rr = r + j.Between(-0.8, 0.8);
      p.addEllipse(QPointF(50 + rr * std::cos(a), 50 + rr * std::sin(a)), dot, dot);
    }
  }
  return p;
}

std::vector<Mask> Masks() {
  return {
      {"Formes", "cercle",
       [] {
         QPainterPath p;
         p.addEllipse(QRectF(2, 2, 96, 96));
         return p;
       }},
      {"Formes", "ovale",
       [] {
         QPainterPath p;
         p.addEllipse(QRectF(12, 2, 76, 96));
         return p;
       }},
      {"Formes", "coeur", [] { return Heart(QRectF(3, 6, 94, 90)); }},
      {"Formes", "etoile",
       [] {
         return Star({50, 53}, 50, 21, 5);
       }},
      {"Formes", "rectangle_arrondi", [] { return RoundRect(QRectF(3, 3, 94, 94), 16); }},
      {"Formes", "nuage", [] { return Scallops(EllipsePoints(QRectF(10, 20, 80, 60), 9, -80), 0.28); }},
      {"Formes", "hexagone",
       [] {
         return RegularPolygon({50, 50}, 49, 6, 0);
       }},
      {"Formes", "losange",
       [] {
         QPainterPath p(QPointF(50, 1));
         p.lineTo(99, 50);
         p.lineTo(50, 99);
         p.lineTo(1, 50);
         p.closeSubpath();
         return p;
       }},
      {"Formes", "fleur",
       [] {
         return Flower({50, 50}, 49, 8, 0.32);
       }},
      {"Formes", "goutte", [] { return Drop(QRectF(14, 2, 72, 96)); }},
      {"Bords", "timbre", [] { return Scallops(RectPoints(QRectF(3, 3, 94, 94), 14, 14), -0.42); }},
      {"Bords", "festons", [] { return Scallops(RectPoints(QRectF(6, 6, 88, 88), 8, 8), 0.35); }},
      {"Bords", "papier_dechire", [] { return Torn(3); }},
      {"Bords", "coup_de_pinceau", BrushStroke},
      {"Bords", "vignette_pointillee", Spray},
      {"Bords", "ovale_ondule", [] { return Scallops(EllipsePoints(QRectF(8, 4, 84, 92), 24), 0.18); }},
  };
}

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Masques");
  for (const Mask& m : Masks()) {
    const QString path =
        QStringLiteral("%1/%2/%3.emf").arg(root, QString::fromUtf8(m.folder), QString::fromUtf8(m.name));
    const QPainterPath shape = m.shape();
    if (!WriteEmf(
            context, path, kBox.size(),
            [&](QPainter& p) {
              p.setPen(Qt::NoPen);
              p.setBrush(Qt::black);
              p.drawPath(shape);
            },
            error))
      return false;
  }
  // Claimed only now: a failed run leaves the previous files in place.
  context.output->Own(root);
  return true;
}

content::Registration r("masks", 11, "mask drawings for pictures, by category", Run);

}  // namespace
