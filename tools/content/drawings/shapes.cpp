// Decorative shapes for the shape tool. Groups repaint them with their own pen and brush, so each
// shape is made of filled outlines without holes: every outline becomes one line of the group.
#include <QPainter>
#include <cmath>
#include <vector>

#include "common/generator.h"
#include "drawings/drawing_kit.h"

namespace {

using namespace content::kit;

constexpr double kPi = 3.14159265358979323846;

struct Shape {
  const char* folder;
  const char* name;
  QSizeF size;
  std::function<std::vector<QPainterPath>()> outlines;
};

QPainterPath Poly(std::initializer_list<QPointF> pts) {
  QPainterPath p;
  bool first = true;
  for (QPointF q : pts) {
    first ? p.moveTo(q) : p.lineTo(q);
    first = false;
  }
  p.closeSubpath();
  return p;
}

// An ellipse opened between two angles, its ends joined at the tip: a speech bubble.
QPainterPath BubbleEllipse(const QRectF& box, double fromDeg, double sweepDeg, QPointF tip) {
  QPainterPath p;
  p.arcMoveTo(box, fromDeg);
  p.arcTo(box, fromDeg, sweepDeg);
  p.lineTo(tip);
  p.closeSubpath();
  return p;
}

QPainterPath BubbleBox(const QRectF& b, double r, double tailFrom, double tailTo, QPointF tip) {
  QPainterPath p;
  p.moveTo(b.left() + r, b.top());
  p.lineTo(b.right() - r, b.top());
  p.arcTo(QRectF(b.right() - 2 * r, b.top(), 2 * r, 2 * r), 90, -90);
  p.lineTo(b.right(), b.bottom() - r);
  p.arcTo(QRectF(b.right() - 2 * r, b.bottom() - 2 * r, 2 * r, 2 * r), 0, -90);
  p.lineTo(tailTo, b.bottom());
  p.lineTo(tip);
  p.lineTo(tailFrom, b.bottom());
  p.lineTo(b.left() + r, b.bottom());
  p.arcTo(QRectF(b.left(), b.bottom() - 2 * r, 2 * r, 2 * r), 270, -90);
  p.lineTo(b.left(), b.top() + r);
  p.arcTo(QRectF(b.left(), b.top(), 2 * r, 2 * r), 180, -90);
  p.closeSubpath();
  return p;
}

// A thick arc with an arrow head at its end.
QPainterPath CurvedArrow() {
  const QPointF c(50, 62);
  const double outer = 44, inner = 28, mid = (outer + inner) / 2;
  QPainterPath p;
  const QRectF ro(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer),
      ri(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner);
  p.arcMoveTo(ro, 180);
  p.arcTo(ro, 180, -120);  // over the top to the right
  const double a = 60 * kPi / 180;
  auto at = [&](double r, double ang) {
    return QPointF(c.x() + r * std::cos(ang), c.y() - r * std::sin(ang));
  };
  p.lineTo(at(outer + 10, a));
  p.lineTo(at(mid, a - 0.62));  // the head's tip, further round
  p.lineTo(at(inner - 10, a));
  p.lineTo(at(inner, a));
  p.arcTo(ri, 60, 120);
  p.closeSubpath();
  return p;
}

QPainterPath UTurn() {
  QPainterPath p;
  p.moveTo(10, 100);
  p.lineTo(10, 45);
  p.arcTo(QRectF(10, 5, 70, 80), 180, -180);
  p.lineTo(80, 60);
  p.lineTo(95, 60);
  p.lineTo(65, 95);
  p.lineTo(35, 60);
  p.lineTo(50, 60);
  p.lineTo(50, 45);
  p.arcTo(QRectF(40, 40, 10, 10), 0, 180);
  p.lineTo(40, 100);
  p.closeSubpath();
  return p;
}

QPainterPath Cartouche(QSizeF s, double r) {
  const double w = s.width(), h = s.height();
  QPainterPath p;
  p.moveTo(r, 0);
  p.lineTo(w - r, 0);
  p.arcTo(QRectF(w - r, -r, 2 * r, 2 * r), 180, 90);
  p.lineTo(w, h - r);
  p.arcTo(QRectF(w - r, h - r, 2 * r, 2 * r), 90, 90);
  p.lineTo(r, h);
  p.arcTo(QRectF(-r, h - r, 2 * r, 2 * r), 0, 90);
  p.lineTo(0, r);
  p.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 270, 90);
  p.closeSubpath();
  return p;
}

QPainterPath Shout() {
  QPainterPath p;
  const int n = 14;
  const double radii[] = {1.0,  0.62, 0.92, 0.66, 1.05, 0.6,  0.9, 0.64, 1.0,  0.62, 0.95, 0.66, 0.88, 0.6,
                          1.02, 0.64, 0.94, 0.62, 1.0,  0.65, 0.9, 0.6,  1.04, 0.63, 0.93, 0.61, 0.97, 0.64};
  for (int i = 0; i < 2 * n; ++i) {
    const double a = -kPi / 2 + i * kPi / n;
    const QPointF q(50 + 48 * radii[i] * std::cos(a), 40 + 38 * radii[i] * std::sin(a));
    i ? p.lineTo(q) : p.moveTo(q);
  }
  p.closeSubpath();
  return p;
}

std::vector<Shape> Shapes() {
  using V = std::vector<QPainterPath>;
  return {
      {"Flèches",
       "fleche_droite",
       {100, 50},
       [] {
         return V{Poly({{0, 14}, {62, 14}, {62, 0}, {100, 25}, {62, 50}, {62, 36}, {0, 36}})};
       }},
      {"Flèches",
       "fleche_double",
       {100, 40},
       [] {
         return V{Poly({{0, 20},
                        {25, 0},
                        {25, 11},
                        {75, 11},
                        {75, 0},
                        {100, 20},
                        {75, 40},
                        {75, 29},
                        {25, 29},
                        {25, 40}})};
       }},
      {"Flèches", "fleche_courbe", {100, 80}, [] { return V{CurvedArrow()}; }},
      {"Flèches",
       "chevron",
       {100, 50},
       [] {
         return V{Poly({{0, 0}, {70, 0}, {100, 25}, {70, 50}, {0, 50}, {28, 25}})};
       }},
      {"Flèches", "fleche_retour", {100, 100}, [] { return V{UTurn()}; }},
      {"Etoiles",
       "etoile_5",
       {100, 95},
       [] {
         return V{Star({50, 52}, 50, 20, 5)};
       }},
      {"Etoiles",
       "etoile_6",
       {100, 100},
       [] {
         return V{Star({50, 50}, 50, 29, 6)};
       }},
      {"Etoiles",
       "etoile_8",
       {100, 100},
       [] {
         return V{Star({50, 50}, 50, 24, 8, -90 + 22.5)};
       }},
      {"Etoiles",
       "eclat",
       {100, 100},
       [] {
         return V{Star({50, 50}, 50, 36, 18)};
       }},
      {"Etoiles",
       "etoile_filante",
       {100, 60},
       [] {
         return V{Poly({{0, 36}, {55, 24}, {58, 32}}), Poly({{4, 52}, {56, 34}, {60, 40}}),
                  Star({74, 30}, 26, 11, 5, -75)};
       }},
      {"Bulles",
       "bulle_ronde",
       {100, 80},
       [] {
         return V{BubbleEllipse(QRectF(0, 0, 100, 62), 260, 350, {18, 80})};
       }},
      {"Bulles",
       "bulle_carree",
       {100, 80},
       [] {
         return V{BubbleBox(QRectF(0, 0, 100, 60), 10, 22, 40, {16, 80})};
       }},
      {"Bulles",
       "bulle_pensee",
       {100, 85},
       [] {
         QPainterPath a, b;
         a.addEllipse(QRectF(6, 68, 14, 11));
         b.addEllipse(QRectF(0, 78, 8, 7));
         return V{Scallops(EllipsePoints(QRectF(10, 6, 86, 52), 10, -75), 0.26), a, b};
       }},
      {"Bulles", "bulle_cri", {100, 80}, [] { return V{Shout()}; }},
      {"Géométrie",
       "triangle",
       {100, 87},
       [] {
         return V{Poly({{50, 0}, {100, 87}, {0, 87}})};
       }},
      {"Géométrie",
       "losange",
       {70, 100},
       [] {
         return V{Poly({{35, 0}, {70, 50}, {35, 100}, {0, 50}})};
       }},
      {"Géométrie",
       "pentagone",
       {100, 96},
       [] {
         return V{RegularPolygon({50, 52.5}, 52, 5)};
       }},
      {"Géométrie",
       "hexagone",
       {100, 87},
       [] {
         return V{RegularPolygon({50, 43.5}, 50, 6, 0)};
       }},
      {"Géométrie",
       "octogone",
       {100, 100},
       [] {
         return V{RegularPolygon({50, 50}, 54, 8, 22.5)};
       }},
      {"Géométrie",
       "croix",
       {100, 100},
       [] {
         return V{Poly({{35, 0},
                        {65, 0},
                        {65, 35},
                        {100, 35},
                        {100, 65},
                        {65, 65},
                        {65, 100},
                        {35, 100},
                        {35, 65},
                        {0, 65},
                        {0, 35},
                        {35, 35}})};
       }},
      {"Géométrie", "coeur", {100, 92}, [] { return V{Heart(QRectF(0, 2, 100, 90))}; }},
      {"Géométrie",
       "lune",
       {80, 100},
       [] {
         return V{Crescent({50, 50}, 50).translated(-20, 0)};
       }},
      {"Géométrie", "goutte", {70, 100}, [] { return V{Drop(QRectF(0, 0, 70, 100))}; }},
      {"Géométrie",
       "nuage",
       {100, 62},
       [] { return V{Scallops(EllipsePoints(QRectF(8, 10, 84, 44), 9, -80), 0.28)}; }},
      {"Décorations",
       "banniere",
       {100, 32},
       [] {
         return V{Poly({{12, 0},
                        {88, 0},
                        {88, 8},
                        {100, 8},
                        {93, 20},
                        {100, 32},
                        {80, 32},
                        {80, 24},
                        {20, 24},
                        {20, 32},
                        {0, 32},
                        {7, 20},
                        {0, 8},
                        {12, 8}})};
       }},
      {"Décorations",
       "rosette",
       {100, 100},
       [] {
         return V{Flower({50, 50}, 50, 16, 0.12)};
       }},
      {"Décorations",
       "ruban_prix",
       {70, 100},
       [] {
         return V{Poly({{14, 50}, {32, 56}, {24, 100}, {14, 88}, {2, 94}}),
                  Poly({{56, 50}, {38, 56}, {46, 100}, {56, 88}, {68, 94}}), Flower({35, 35}, 35, 14, 0.14)};
       }},
      {"Décorations",
       "ecusson",
       {90, 100},
       [] {
         QPainterPath p;
         p.moveTo(0, 0);
         p.cubicTo(QPointF(15, 6), QPointF(30, 6), QPointF(45, 0));
         p.cubicTo(QPointF(60, 6), QPointF(75, 6), QPointF(90, 0));
         p.cubicTo(QPointF(90, 60), QPointF(70, 86), QPointF(45, 100));
         p.cubicTo(QPointF(20, 86), QPointF(0, 60), QPointF(0, 0));
         p.closeSubpath();
         return V{p};
       }},
      {"Décorations",
       "etiquette",
       {100, 60},
       [] {
         return V{Poly({{0, 30}, {22, 0}, {100, 0}, {100, 60}, {22, 60}})};
       }},
      {"Décorations",
       "eclair",
       {70, 100},
       [] {
         return V{Poly({{28, 0}, {62, 0}, {44, 36}, {70, 36}, {16, 100}, {30, 52}, {4, 52}})};
       }},
      {"Décorations",
       "fleur",
       {100, 100},
       [] {
         return V{Flower({50, 50}, 50, 6, 0.45)};
       }},
      {"Décorations",
       "cartouche",
       {100, 60},
       [] {
         return V{Cartouche({100, 60}, 12)};
       }},
  };
}

const QColor kColours[] = {{52, 120, 200}, {225, 85, 60}, {245, 180, 40}, {70, 165, 90}, {150, 90, 190}};

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Formes");
  int i = 0;
  for (const Shape& s : Shapes()) {
    const QString path =
        QStringLiteral("%1/%2/%3.emf").arg(root, QString::fromUtf8(s.folder), QString::fromUtf8(s.name));
    const std::vector<QPainterPath> outlines = s.outlines();
    const QColor colour = kColours[i++ % 5];
    if (!WriteEmf(
            context, path, s.size,
            [&](QPainter& p) {
              p.setPen(Qt::NoPen);
              p.setBrush(colour);
              for (const QPainterPath& o : outlines) p.drawPath(o);
            },
            error))
      return false;
  }
  // Claimed only now: a failed run leaves the previous files in place.
  context.output->Own(root);
  return true;
}

content::Registration r("shapes", 12, "decorative shapes for the shape tool, by category", Run);

}  // namespace
