// Supports: outline drawings of the objects a transfer goes on (T-shirts, sweat-shirt, cap, bag,
// apron, cushion, mouse mat) and their description documents. Each drawing's frame is the size the
// supports table gives, so millimetres on the drawing are millimetres on the object. The filled
// body is what the support colour repaints; seams and stitches are open lines in grey, which keep
// their colour.
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "common/generator.h"
#include "drawings/drawing_kit.h"
#include "model/document.h"
#include "model/encodings.h"

namespace {

using namespace content::kit;

// Positions are given as fractions of the drawing's width and height.
struct Unit {
  QSizeF size;
  QPointF operator()(double u, double v) const { return QPointF(u * size.width(), v * size.height()); }
};

struct Art {
  std::vector<QPainterPath> bodies;    // filled, outlined
  std::vector<QPainterPath> seams;     // open grey lines
  std::vector<QPainterPath> stitches;  // dashed grey lines
};

QPainterPath Mirrored(const QPainterPath& p, double width) {
  return QTransform(-1, 0, 0, 1, width, 0).map(p);
}

QPainterPath Line(const Unit& at, std::initializer_list<QPointF> pts) {
  QPainterPath p;
  bool first = true;
  for (QPointF q : pts) {
    first ? p.moveTo(at(q.x(), q.y())) : p.lineTo(at(q.x(), q.y()));
    first = false;
  }
  return p;
}

QPainterPath Curve(const Unit& at, QPointF a, QPointF c1, QPointF c2, QPointF b) {
  QPainterPath p(at(a.x(), a.y()));
  p.cubicTo(at(c1.x(), c1.y()), at(c2.x(), c2.y()), at(b.x(), b.y()));
  return p;
}

// Short or long sleeves; `neckDepth` is how far the neckline dips (front deeper than back).
Art Shirt(QSizeF size, double neckDepth, bool longSleeves) {
  const Unit at{size};
  Art art;
  QPainterPath body(at(0.39, 0.035));
  body.cubicTo(at(0.42, neckDepth), at(0.58, neckDepth), at(0.61, 0.035));
  if (longSleeves) {
    body.lineTo(at(0.78, 0.08));
    body.cubicTo(at(0.86, 0.12), at(0.93, 0.40), at(0.99, 0.80));
    body.lineTo(at(0.87, 0.83));
    body.cubicTo(at(0.84, 0.62), at(0.80, 0.42), at(0.77, 0.28));
    body.cubicTo(at(0.765, 0.5), at(0.77, 0.8), at(0.775, 0.975));
    body.cubicTo(at(0.6, 0.985), at(0.4, 0.985), at(0.225, 0.975));
    body.cubicTo(at(0.23, 0.8), at(0.235, 0.5), at(0.23, 0.28));
    body.cubicTo(at(0.20, 0.42), at(0.16, 0.62), at(0.13, 0.83));
    body.lineTo(at(0.01, 0.80));
    body.cubicTo(at(0.07, 0.40), at(0.14, 0.12), at(0.22, 0.08));
  } else {
    body.lineTo(at(0.80, 0.075));
    body.cubicTo(at(0.88, 0.11), at(0.95, 0.2), at(0.99, 0.29));
    body.lineTo(at(0.88, 0.365));
    body.lineTo(at(0.815, 0.27));
    body.cubicTo(at(0.81, 0.5), at(0.82, 0.8), at(0.83, 0.985));
    body.cubicTo(at(0.6, 0.995), at(0.4, 0.995), at(0.17, 0.985));
    body.cubicTo(at(0.18, 0.8), at(0.19, 0.5), at(0.185, 0.27));
    body.lineTo(at(0.12, 0.365));
    body.lineTo(at(0.01, 0.29));
    body.cubicTo(at(0.05, 0.2), at(0.12, 0.11), at(0.20, 0.075));
  }
  body.closeSubpath();
  art.bodies.push_back(body);
  // Collar rib, armhole seams, hems.
  const double rib = 0.025;
  art.seams.push_back(
      Curve(at, {0.385, 0.04}, {0.415, neckDepth + rib}, {0.585, neckDepth + rib}, {0.615, 0.04}));
  if (longSleeves) {
    art.seams.push_back(Curve(at, {0.22, 0.085}, {0.245, 0.15}, {0.245, 0.22}, {0.23, 0.28}));
    art.seams.push_back(Mirrored(art.seams.back(), size.width()));
    art.seams.push_back(Line(at, {{0.027, 0.745}, {0.138, 0.775}}));
    art.seams.push_back(Mirrored(art.seams.back(), size.width()));
    art.seams.push_back(Line(at, {{0.227, 0.91}, {0.773, 0.91}}));
  } else {
    art.seams.push_back(Curve(at, {0.205, 0.08}, {0.215, 0.15}, {0.21, 0.22}, {0.185, 0.27}));
    art.seams.push_back(Mirrored(art.seams.back(), size.width()));
    art.stitches.push_back(Line(at, {{0.03, 0.27}, {0.137, 0.336}}));
    art.stitches.push_back(Mirrored(art.stitches.back(), size.width()));
    art.stitches.push_back(Line(at, {{0.172, 0.955}, {0.828, 0.955}}));
  }
  return art;
}

Art Sleeve(QSizeF size, bool right) {
  const Unit at{size};
  Art art;
  QPainterPath body(at(0.04, 0.58));
  body.cubicTo(at(0.16, 0.22), at(0.36, 0.05), at(0.52, 0.05));
  body.cubicTo(at(0.70, 0.05), at(0.86, 0.24), at(0.96, 0.52));
  body.lineTo(at(0.88, 0.96));
  body.lineTo(at(0.12, 0.96));
  body.closeSubpath();
  art.bodies.push_back(body);
  art.stitches.push_back(Line(at, {{0.115, 0.88}, {0.885, 0.88}}));
  if (right) {
    for (auto& p : art.bodies) p = Mirrored(p, size.width());
    for (auto& p : art.stitches) p = Mirrored(p, size.width());
  }
  return art;
}

Art CapFront(QSizeF size) {
  const Unit at{size};
  Art art;
  QPainterPath crown(at(0.08, 0.74));
  crown.cubicTo(at(0.06, 0.14), at(0.94, 0.14), at(0.92, 0.74));
  crown.closeSubpath();
  QPainterPath visor(at(0.05, 0.70));
  visor.cubicTo(at(0.3, 0.62), at(0.7, 0.62), at(0.95, 0.70));
  visor.cubicTo(at(1.0, 0.76), at(0.85, 0.97), at(0.5, 0.97));
  visor.cubicTo(at(0.15, 0.97), at(0.0, 0.76), at(0.05, 0.70));
  visor.closeSubpath();
  QPainterPath button;
  button.addEllipse(at(0.5, 0.2), size.width() * 0.03, size.height() * 0.04);
  art.bodies = {crown, visor, button};
  art.seams.push_back(Line(at, {{0.5, 0.24}, {0.5, 0.665}}));
  art.seams.push_back(Curve(at, {0.48, 0.24}, {0.34, 0.3}, {0.28, 0.5}, {0.27, 0.675}));
  art.seams.push_back(Mirrored(art.seams.back(), size.width()));
  art.stitches.push_back(Curve(at, {0.1, 0.76}, {0.3, 0.69}, {0.7, 0.69}, {0.9, 0.76}));
  return art;
}

Art CapSide(QSizeF size, bool left) {
  const Unit at{size};
  Art art;
  QPainterPath crown(at(0.06, 0.80));
  crown.cubicTo(at(0.0, 0.2), at(0.55, -0.02), at(0.76, 0.58));
  crown.lineTo(at(0.74, 0.80));
  crown.closeSubpath();
  QPainterPath visor(at(0.66, 0.62));
  visor.cubicTo(at(0.80, 0.62), at(0.95, 0.70), at(0.99, 0.80));
  visor.lineTo(at(0.70, 0.82));
  visor.closeSubpath();
  QPainterPath strap;
  strap.addRoundedRect(QRectF(at(0.06, 0.80), at(0.74, 0.92)), size.height() * 0.02, size.height() * 0.02);
  art.bodies = {crown, strap, visor};
  art.seams.push_back(Curve(at, {0.30, 0.11}, {0.36, 0.35}, {0.40, 0.6}, {0.40, 0.80}));
  art.stitches.push_back(Line(at, {{0.08, 0.74}, {0.72, 0.74}}));
  if (left)
    for (auto* list : {&art.bodies, &art.seams, &art.stitches})
      for (auto& p : *list) p = Mirrored(p, size.width());
  return art;
}

Art Bag(QSizeF size) {
  const Unit at{size};
  Art art;
  for (double x : {0.24, 0.58}) {
    QPainterPath handle(at(x, 0.36));
    handle.cubicTo(at(x, -0.02), at(x + 0.18, -0.02), at(x + 0.18, 0.36));
    handle.lineTo(at(x + 0.14, 0.36));
    handle.cubicTo(at(x + 0.14, 0.05), at(x + 0.04, 0.05), at(x + 0.04, 0.36));
    handle.closeSubpath();
    art.bodies.push_back(handle);
  }
  art.bodies.push_back(RoundRect(QRectF(at(0.06, 0.32), at(0.94, 0.98)), size.width() * 0.02));
  art.stitches.push_back(Line(at, {{0.08, 0.37}, {0.92, 0.37}}));
  return art;
}

Art Apron(QSizeF size) {
  const Unit at{size};
  Art art;
  QPainterPath strap(at(0.31, 0.06));
  strap.cubicTo(at(0.33, -0.01), at(0.67, -0.01), at(0.69, 0.06));
  strap.lineTo(at(0.66, 0.06));
  strap.cubicTo(at(0.63, 0.015), at(0.37, 0.015), at(0.34, 0.06));
  strap.closeSubpath();
  QPainterPath tieL(at(0.2, 0.37));
  tieL.lineTo(at(0.02, 0.47));
  tieL.lineTo(at(0.04, 0.50));
  tieL.lineTo(at(0.2, 0.41));
  tieL.closeSubpath();
  QPainterPath body(at(0.29, 0.05));
  body.lineTo(at(0.71, 0.05));
  body.cubicTo(at(0.72, 0.2), at(0.76, 0.33), at(0.82, 0.38));
  body.cubicTo(at(0.83, 0.6), at(0.84, 0.8), at(0.85, 0.98));
  body.lineTo(at(0.15, 0.98));
  body.cubicTo(at(0.16, 0.8), at(0.17, 0.6), at(0.18, 0.38));
  body.cubicTo(at(0.24, 0.33), at(0.28, 0.2), at(0.29, 0.05));
  body.closeSubpath();
  art.bodies = {strap, tieL, Mirrored(tieL, size.width()), body};
  art.seams.push_back(Curve(at, {0.18, 0.41}, {0.4, 0.42}, {0.6, 0.42}, {0.82, 0.41}));
  QPainterPath pocket;
  pocket.addRect(QRectF(at(0.36, 0.55), at(0.64, 0.71)));
  art.stitches.push_back(pocket);
  art.stitches.push_back(Line(at, {{0.5, 0.55}, {0.5, 0.71}}));
  art.stitches.push_back(Line(at, {{0.16, 0.955}, {0.84, 0.955}}));
  return art;
}

QPainterPath Pillow(const Unit& at, double in, double sag) {
  const double a = in, b = 1 - in;
  QPainterPath p(at(a, a));
  p.cubicTo(at(0.35, a + sag), at(0.65, a + sag), at(b, a));
  p.cubicTo(at(b - sag, 0.35), at(b - sag, 0.65), at(b, b));
  p.cubicTo(at(0.65, b - sag), at(0.35, b - sag), at(a, b));
  p.cubicTo(at(a + sag, 0.65), at(a + sag, 0.35), at(a, a));
  p.closeSubpath();
  return p;
}

Art Cushion(QSizeF size) {
  const Unit at{size};
  Art art;
  art.bodies.push_back(Pillow(at, 0.03, 0.05));
  art.stitches.push_back(Pillow(at, 0.07, 0.045));
  return art;
}

Art MouseMat(QSizeF size) {
  Art art;
  art.bodies.push_back(RoundRect(QRectF(QPointF(0.01 * size.width(), 0.01 * size.height()),
                                        QPointF(0.99 * size.width(), 0.99 * size.height())),
                                 size.width() * 0.06));
  art.stitches.push_back(RoundRect(QRectF(QPointF(0.035 * size.width(), 0.035 * size.height()),
                                          QPointF(0.965 * size.width(), 0.965 * size.height())),
                                   size.width() * 0.045));
  return art;
}

struct Support {
  const char* folder;
  const char* name;  // file name without extension, as in the supports table
  QSizeF size;       // the table's mmlarge and mmhaut
  std::function<Art(QSizeF)> draw;
  QSizeF transfer;   // default transfer size in millimetres
  QPointF position;  // its centre, in percent of the drawing
  TColor colour;
};

std::vector<Support> Supports() {
  const TColor white = RGBColor(255, 255, 255);
  return {
      {"Textile",
       "tshirt_DV",
       {520, 720},
       [](QSizeF s) { return Shirt(s, 0.12, false); },
       {200, 250},
       {50, 40},
       white},
      {"Textile",
       "tshirt_DR",
       {520, 720},
       [](QSizeF s) { return Shirt(s, 0.065, false); },
       {250, 300},
       {50, 42},
       white},
      {"Textile",
       "tshirt_MG",
       {210, 190},
       [](QSizeF s) { return Sleeve(s, false); },
       {80, 80},
       {50, 55},
       white},
      {"Textile",
       "tshirt_MD",
       {210, 190},
       [](QSizeF s) { return Sleeve(s, true); },
       {80, 80},
       {50, 55},
       white},
      {"Textile",
       "tshirtenfant_DV",
       {400, 520},
       [](QSizeF s) { return Shirt(s, 0.12, false); },
       {150, 180},
       {50, 42},
       RGBColor(255, 225, 110)},
      {"Textile",
       "tshirtenfant_DR",
       {400, 520},
       [](QSizeF s) { return Shirt(s, 0.065, false); },
       {170, 200},
       {50, 44},
       RGBColor(255, 225, 110)},
      {"Textile",
       "sweat_DV",
       {600, 700},
       [](QSizeF s) { return Shirt(s, 0.12, true); },
       {220, 220},
       {50, 38},
       RGBColor(170, 172, 180)},
      {"Textile",
       "sweat_DR",
       {600, 700},
       [](QSizeF s) { return Shirt(s, 0.065, true); },
       {260, 280},
       {50, 42},
       RGBColor(170, 172, 180)},
      {"Textile", "tablier_DV", {600, 850}, Apron, {240, 200}, {50, 60}, white},
      {"Accessoires", "casquette_DV", {200, 120}, CapFront, {80, 40}, {50, 45}, RGBColor(200, 50, 50)},
      {"Accessoires",
       "casquette_AD",
       {180, 110},
       [](QSizeF s) { return CapSide(s, false); },
       {50, 30},
       {40, 50},
       RGBColor(200, 50, 50)},
      {"Accessoires",
       "casquette_AG",
       {180, 110},
       [](QSizeF s) { return CapSide(s, true); },
       {50, 30},
       {60, 50},
       RGBColor(200, 50, 50)},
      {"Accessoires", "sac_DV", {380, 420}, Bag, {250, 220}, {50, 65}, RGBColor(235, 222, 195)},
      {"Accessoires", "coussin_DV", {400, 400}, Cushion, {300, 300}, {50, 50}, RGBColor(240, 232, 215)},
      {"Accessoires", "tapis_souris_DV", {230, 190}, MouseMat, {220, 180}, {50, 50}, RGBColor(50, 60, 80)},
  };
}

// The description document: the transfer's default size, the support picture, colour and place.
bool Description(const content::Context& context, const QString& path, const Support& s, QString* error) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), s.transfer.width(), s.transfer.height());
  doc.SetEntete(QStringLiteral("SupportFichier"), QString::fromUtf8(s.name) + QStringLiteral(".emf"));
  doc.SetEntete(QStringLiteral("SupportColor"), WriteColorRGB(s.colour));
  doc.SetEntete(QStringLiteral("SupportPosX%"), WriteReal(s.position.x()));
  doc.SetEntete(QStringLiteral("SupportPosY%"), WriteReal(s.position.y()));
  QTemporaryDir temp;
  const QString file = temp.filePath(QStringLiteral("support.mdl"));
  QFile f(file);
  if (!temp.isValid() || !doc.SaveToFile(file) || !f.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("cannot write the description of %1").arg(QString::fromUtf8(s.name));
    return false;
  }
  return context.output->Write(path, f.readAll(), error);
}

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Supports");
  for (const Support& s : Supports()) {
    const Art art = s.draw(s.size);
    const double line = std::max(s.size.width(), s.size.height()) * 0.0045;
    const QString base =
        QStringLiteral("%1/%2/%3").arg(root, QString::fromUtf8(s.folder), QString::fromUtf8(s.name));
    if (!WriteEmf(
            context, base + QStringLiteral(".emf"), s.size,
            [&](QPainter& p) {
              p.setPen(QPen(QColor(70, 70, 70), line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
              p.setBrush(QColor(236, 236, 236));
              for (const QPainterPath& b : art.bodies) p.drawPath(b);
              p.setBrush(Qt::NoBrush);
              p.setPen(QPen(QColor(130, 130, 130), line * 0.6, Qt::SolidLine, Qt::RoundCap));
              for (const QPainterPath& l : art.seams) p.drawPath(l);
              p.setPen(QPen(QColor(130, 130, 130), line * 0.5, Qt::DashLine, Qt::FlatCap));
              for (const QPainterPath& l : art.stitches) p.drawPath(l);
            },
            error))
      return false;
    if (!Description(context, base + QStringLiteral(".mdl"), s, error)) return false;
  }
  // Claimed only now: a failed run leaves the previous files in place.
  context.output->Own(root);
  return true;
}

content::Registration r("supports", 16, "support drawings and their description documents", Run);

}  // namespace
