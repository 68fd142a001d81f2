// Stamps, hole punches and frames. All three are groups that repaint their drawing with their own
// pen and brush: stamps and punches fill every outline (so they are drawn as filled silhouettes),
// frames only outline them (so they are drawn as separate closed lines, never as one filled ring).
// The default model of each kind is named in lorvane.ini.
#include <QPainter>
#include <cmath>
#include <vector>

#include "common/generator.h"
#include "drawings/drawing_kit.h"

namespace {

using namespace content::kit;

constexpr double kPi = 3.14159265358979323846;
using Outlines = std::vector<QPainterPath>;

struct Model {
  const char* name;
  QSizeF size;
  std::function<Outlines()> outlines;
};

QPainterPath Ellipse(QPointF c, double rx, double ry, double turnDeg = 0) {
  QPainterPath p;
  p.addEllipse(QPointF(0, 0), rx, ry);
  return QTransform().translate(c.x(), c.y()).rotate(turnDeg).map(p);
}

QPainterPath Box(double x, double y, double w, double h, double turnDeg, QPointF about) {
  QPainterPath p;
  p.addRect(QRectF(x, y, w, h));
  return QTransform()
      .translate(about.x(), about.y())
      .rotate(turnDeg)
      .translate(-about.x(), -about.y())
      .map(p);
}

QPainterPath Sun() {
  QPainterPath p;
  p.addEllipse(QPointF(50, 50), 28, 28);
  for (int i = 0; i < 12; ++i) {
    const double a = i * 2 * kPi / 12, s = 0.13;
    QPainterPath ray;
    ray.moveTo(50 + 33 * std::cos(a - s), 50 + 33 * std::sin(a - s));
    ray.lineTo(50 + 50 * std::cos(a), 50 + 50 * std::sin(a));
    ray.lineTo(50 + 33 * std::cos(a + s), 50 + 33 * std::sin(a + s));
    ray.closeSubpath();
    p.addPath(ray);
  }
  return p;
}

QPainterPath Snowflake() {
  // One upright arm with two pairs of branches, turned six times about the centre.
  const QPointF c(50, 50);
  QPainterPath arm = Box(47, 2, 6, 50, 0, c);
  for (double y : {12.0, 26.0})
    for (double turn : {-45.0, 45.0}) arm = arm.united(Box(47.5, y, 5, 15, turn, QPointF(50, y + 12)));
  QPainterPath all;
  for (int k = 0; k < 6; ++k)
    all = all.united(QTransform().translate(50, 50).rotate(k * 60).translate(-50, -50).map(arm));
  return all.simplified();
}

Outlines Paw() {
  QPainterPath pad;
  pad.moveTo(50, 48);
  pad.cubicTo(QPointF(72, 48), QPointF(86, 72), QPointF(80, 88));
  pad.cubicTo(QPointF(74, 100), QPointF(60, 92), QPointF(50, 92));
  pad.cubicTo(QPointF(40, 92), QPointF(26, 100), QPointF(20, 88));
  pad.cubicTo(QPointF(14, 72), QPointF(28, 48), QPointF(50, 48));
  pad.closeSubpath();
  return {pad, Ellipse({14, 46}, 9, 12, -20), Ellipse({34, 20}, 10, 14, -8), Ellipse({66, 20}, 10, 14, 8),
          Ellipse({86, 46}, 9, 12, 20)};
}

QPainterPath Note() {
  QPainterPath stem;
  stem.addRect(QRectF(54, 8, 8, 70));
  QPainterPath flag;
  flag.moveTo(54, 4);
  flag.lineTo(62, 4);
  flag.cubicTo(QPointF(66, 22), QPointF(92, 26), QPointF(84, 54));
  flag.cubicTo(QPointF(84, 36), QPointF(72, 28), QPointF(60, 28));
  flag.closeSubpath();
  return Ellipse({42, 80}, 21, 15, -22).united(stem).united(flag).simplified();
}

QPainterPath Leaf() {
  QPainterPath p;
  p.moveTo(50, 2);
  p.cubicTo(QPointF(88, 24), QPointF(90, 62), QPointF(53, 82));
  p.lineTo(53, 98);
  p.lineTo(47, 98);
  p.lineTo(47, 82);
  p.cubicTo(QPointF(10, 62), QPointF(12, 24), QPointF(50, 2));
  p.closeSubpath();
  return p;
}

Outlines Butterfly() {
  return {Ellipse({28, 32}, 24, 20, -30), Ellipse({72, 32}, 24, 20, 30), Ellipse({32, 70}, 16, 13, 30),
          Ellipse({68, 70}, 16, 13, -30), Ellipse({50, 52}, 5, 30)};
}

QPainterPath Clover() {
  QPainterPath stem;
  stem.moveTo(53, 50);
  stem.cubicTo(QPointF(55, 72), QPointF(60, 86), QPointF(70, 98));
  stem.lineTo(60, 100);
  stem.cubicTo(QPointF(52, 88), QPointF(47, 74), QPointF(46, 50));
  stem.closeSubpath();
  // Three hearts with their points at the middle.
  const QPainterPath leaf = Heart(QRectF(29, 0, 42, 50));
  QPainterPath all = stem;
  for (double turn : {0.0, 120.0, -120.0})
    all = all.united(QTransform().translate(50, 50).rotate(turn).translate(-50, -50).map(leaf));
  return all.simplified();
}

std::vector<Model> Stamps() {
  return {
      {"tampon_etoile",
       {100, 95},
       [] {
         return Outlines{Star({50, 52}, 50, 20, 5)};
       }},
      {"tampon_coeur", {100, 92}, [] { return Outlines{Heart(QRectF(0, 2, 100, 90))}; }},
      {"tampon_fleur",
       {100, 100},
       [] {
         return Outlines{Flower({50, 50}, 50, 5, 0.5)};
       }},
      {"tampon_soleil", {100, 100}, [] { return Outlines{Sun()}; }},
      {"tampon_flocon", {100, 100}, [] { return Outlines{Snowflake()}; }},
      {"tampon_patte", {100, 100}, Paw},
      {"tampon_lune",
       {80, 100},
       [] {
         return Outlines{Crescent({50, 50}, 50).translated(-20, 0)};
       }},
      {"tampon_note", {100, 100}, [] { return Outlines{Note()}; }},
      {"tampon_feuille", {100, 100}, [] { return Outlines{Leaf()}; }},
      {"tampon_papillon", {100, 100}, Butterfly},
  };
}

std::vector<Model> Punches() {
  return {
      {"perforatrice_rond",
       {100, 100},
       [] {
         QPainterPath p;
         p.addEllipse(QRectF(0, 0, 100, 100));
         return Outlines{p};
       }},
      {"perforatrice_coeur", {100, 92}, [] { return Outlines{Heart(QRectF(0, 2, 100, 90))}; }},
      {"perforatrice_etoile",
       {100, 95},
       [] {
         return Outlines{Star({50, 52}, 50, 20, 5)};
       }},
      {"perforatrice_carre", {100, 100}, [] { return Outlines{RoundRect(QRectF(0, 0, 100, 100), 6)}; }},
      {"perforatrice_fleur",
       {100, 100},
       [] {
         return Outlines{Flower({50, 50}, 50, 6, 0.4)};
       }},
      {"perforatrice_lune",
       {80, 100},
       [] {
         return Outlines{Crescent({50, 50}, 50).translated(-20, 0)};
       }},
      {"perforatrice_goutte", {70, 100}, [] { return Outlines{Drop(QRectF(0, 0, 70, 100))}; }},
      {"perforatrice_trefle", {100, 100}, [] { return Outlines{Clover()}; }},
  };
}

const QSizeF kFrame(100, 70);

QPainterPath Rect(double inset) {
  QPainterPath p;
  p.addRect(QRectF(inset, inset, kFrame.width() - 2 * inset, kFrame.height() - 2 * inset));
  return p;
}

QPainterPath Concave(double inset, double r) {
  const double l = inset, t = inset, w = kFrame.width() - inset, h = kFrame.height() - inset;
  QPainterPath p;
  p.moveTo(l + r, t);
  p.lineTo(w - r, t);
  p.arcTo(QRectF(w - r, t - r, 2 * r, 2 * r), 180, 90);
  p.lineTo(w, h - r);
  p.arcTo(QRectF(w - r, h - r, 2 * r, 2 * r), 90, 90);
  p.lineTo(l + r, h);
  p.arcTo(QRectF(l - r, h - r, 2 * r, 2 * r), 0, 90);
  p.lineTo(l, t + r);
  p.arcTo(QRectF(l - r, t - r, 2 * r, 2 * r), 270, 90);
  p.closeSubpath();
  return p;
}

Outlines Corners() {
  Outlines o{Rect(6)};
  const double w = kFrame.width(), h = kFrame.height();
  for (QPointF c : {QPointF(6, 6), QPointF(w - 6, 6), QPointF(w - 6, h - 6), QPointF(6, h - 6)}) {
    QPainterPath d;
    d.moveTo(c.x(), c.y() - 5.5);
    d.lineTo(c.x() + 5.5, c.y());
    d.lineTo(c.x(), c.y() + 5.5);
    d.lineTo(c.x() - 5.5, c.y());
    d.closeSubpath();
    o.push_back(d);
  }
  return o;
}

std::vector<Model> Frames() {
  return {
      {"cadre_simple", kFrame, [] { return Outlines{Rect(0.5)}; }},
      {"cadre_double", kFrame,
       [] {
         return Outlines{Rect(0.5), Rect(3.5)};
       }},
      {"cadre_arrondi", kFrame, [] { return Outlines{RoundRect(QRectF(0.5, 0.5, 99, 69), 9)}; }},
      {"cadre_ovale", kFrame,
       [] {
         QPainterPath p;
         p.addEllipse(QRectF(0.5, 0.5, 99, 69));
         return Outlines{p};
       }},
      {"cadre_festonne", kFrame,
       [] { return Outlines{Scallops(RectPoints(QRectF(3, 3, 94, 64), 12, 8), 0.3)}; }},
      {"cadre_timbre", kFrame,
       [] { return Outlines{Scallops(RectPoints(QRectF(1, 1, 98, 68), 20, 14), -0.4)}; }},
      {"cadre_coins", kFrame, Corners},
      {"cadre_vague", kFrame,
       [] { return Outlines{Scallops(RectPoints(QRectF(2, 2, 96, 66), 10, 7), 0.12)}; }},
      {"cadre_ticket", kFrame, [] { return Outlines{Concave(0.5, 8)}; }},
      {"cadre_double_arrondi", kFrame,
       [] {
         return Outlines{RoundRect(QRectF(0.5, 0.5, 99, 69), 9), RoundRect(QRectF(4, 4, 92, 62), 6)};
       }},
  };
}

bool WriteModels(const content::Context& context, const QString& folder, const std::vector<Model>& models,
                 bool outline, QString* error) {
  const QString root = QStringLiteral("donnees/") + folder;
  for (const Model& m : models) {
    const Outlines outlines = m.outlines();
    const QString path = root + QLatin1Char('/') + QString::fromUtf8(m.name) + QStringLiteral(".emf");
    if (!WriteEmf(
            context, path, m.size,
            [&](QPainter& p) {
              if (outline) {
                p.setPen(QPen(Qt::black, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
              } else {
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::black);
              }
              for (const QPainterPath& o : outlines) p.drawPath(o);
            },
            error))
      return false;
  }
  // Claimed only now: a failed run leaves the previous files in place.
  context.output->Own(root);
  return true;
}

content::Registration stamps("stamps", 13, "stamp drawings, with the default stamp model",
                             [](const content::Context& c, QString* e) {
                               return WriteModels(c, QStringLiteral("Tampons"), Stamps(), false, e);
                             });
content::Registration punches("punches", 14, "hole-punch drawings, with the default punch model",
                              [](const content::Context& c, QString* e) {
                                return WriteModels(c, QStringLiteral("Perforatrices"), Punches(), false, e);
                              });
content::Registration frames("frames", 15, "frame drawings, with the default frame model",
                             [](const content::Context& c, QString* e) {
                               return WriteModels(c, QStringLiteral("Images/Cadres"), Frames(), true, e);
                             });

}  // namespace
