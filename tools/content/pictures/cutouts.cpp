// Cut-outs keyed on magenta: labels ("Etiquettes"), ribbons ("Rubans"), scrapbook accessories, border tile
// sets and photo frames ("Bordures"). They are drawn on a transparent layer and keyed at the end, so that the
// key colour sits exactly where the picture must let the page show through; the top-left pixel is always the
// key, which is how the image object recognises a transparent picture.
#include <QtMath>
#include <cmath>

#include "pictures/art.h"
#include "pictures/library.h"

namespace pictures {
namespace {

QPainterPath Scaled(const QPainterPath& path, QPointF centre, double sx, double sy) {
  QTransform t;
  t.translate(centre.x(), centre.y());
  t.scale(sx, sy);
  t.translate(-centre.x(), -centre.y());
  return t.map(path);
}

// A path inset by d pixels, close enough for the convex and near-convex label shapes.
QPainterPath Inset(const QPainterPath& path, double d) {
  const QRectF r = path.boundingRect();
  return Scaled(path, r.center(), (r.width() - 2 * d) / r.width(), (r.height() - 2 * d) / r.height());
}

// --- Labels -------------------------------------------------------------------------------------

enum class Shape {
  Tag,
  Rounded,
  Scalloped,
  Stamp,
  Banner,
  Bubble,
  Heart,
  Rosette,
  Oval,
  Ticket,
  Apothecary,
  Cloud,
  Arrow,
  StarBadge,
  PriceTag,
  Shield,
  Chalkboard,
  Hexagon
};

QPainterPath LabelPath(Shape shape, double w, double h) {
  QPainterPath path;
  const double m = std::min(w, h) * 0.04;  // key margin all round
  const QRectF r(m, m, w - 2 * m, h - 2 * m);
  switch (shape) {
    case Shape::Tag:
    case Shape::PriceTag: {
      const double cut = r.height() * (shape == Shape::Tag ? 0.28 : 0.5);
      path.moveTo(r.left() + cut, r.top());
      path.lineTo(r.right(), r.top());
      path.lineTo(r.right(), r.bottom());
      path.lineTo(r.left() + cut, r.bottom());
      path.lineTo(r.left(), r.bottom() - (shape == Shape::Tag ? cut : r.height() / 2));
      if (shape == Shape::Tag) path.lineTo(r.left(), r.top() + cut);
      path.closeSubpath();
      // The hole goes through: a small ring of key colour.
      QPainterPath hole;
      hole.addEllipse(QPointF(r.left() + cut * (shape == Shape::Tag ? 0.75 : 0.6), r.center().y()),
                      r.height() * 0.07, r.height() * 0.07);
      path = path.subtracted(hole);
      break;
    }
    case Shape::Rounded:
      path.addRoundedRect(r, r.height() * 0.12, r.height() * 0.12);
      break;
    case Shape::Scalloped: {
      const QPointF c = r.center();
      const double R = std::min(r.width(), r.height()) / 2 * 0.9;
      path.addEllipse(c, R, R);
      for (int k = 0; k < 24; ++k) {
        const double a = 2 * M_PI * k / 24;
        path.addEllipse(c + QPointF(std::cos(a) * R, std::sin(a) * R), R * 0.14, R * 0.14);
      }
      path.setFillRule(Qt::WindingFill);
      path = path.simplified();
      break;
    }
    case Shape::Stamp: {
      path.addRect(r);
      const double hr = std::min(w, h) * 0.025;
      QPainterPath holes;
      for (double x = r.left(); x <= r.right() + 0.5; x += hr * 3) {
        holes.addEllipse(QPointF(x, r.top()), hr, hr);
        holes.addEllipse(QPointF(x, r.bottom()), hr, hr);
      }
      for (double y = r.top(); y <= r.bottom() + 0.5; y += hr * 3) {
        holes.addEllipse(QPointF(r.left(), y), hr, hr);
        holes.addEllipse(QPointF(r.right(), y), hr, hr);
      }
      path = path.subtracted(holes);
      break;
    }
    case Shape::Banner: {
      const double notch = r.height() * 0.35;
      path.moveTo(r.topLeft());
      path.lineTo(r.topRight());
      path.lineTo(r.right() - notch, r.center().y());
      path.lineTo(r.bottomRight());
      path.lineTo(r.bottomLeft());
      path.lineTo(r.left() + notch, r.center().y());
      path.closeSubpath();
      break;
    }
    case Shape::Bubble: {
      const QRectF body(r.left(), r.top(), r.width(), r.height() * 0.8);
      path.addRoundedRect(body, body.height() * 0.25, body.height() * 0.25);
      QPainterPath tail;
      tail.moveTo(body.left() + body.width() * 0.22, body.bottom() - 5);
      tail.lineTo(body.left() + body.width() * 0.16, r.bottom());
      tail.lineTo(body.left() + body.width() * 0.36, body.bottom() - 5);
      tail.closeSubpath();
      path = path.united(tail);
      break;
    }
    case Shape::Heart:
      path = Heart(QPointF(w / 2, h / 2 + h * 0.02), std::min(r.width() / 1.1, r.height() / 0.92));
      break;
    case Shape::Rosette: {
      const QPointF c(w / 2, h * 0.4);
      const double R = std::min(w, h) * 0.33;
      QPainterPath tails;
      tails.moveTo(c + QPointF(-R * 0.55, 0));
      tails.lineTo(c + QPointF(-R * 0.8, h * 0.55));
      tails.lineTo(c + QPointF(-R * 0.5, h * 0.48));
      tails.lineTo(c + QPointF(-R * 0.25, h * 0.55));
      tails.lineTo(c + QPointF(0, 0));
      tails.lineTo(c + QPointF(R * 0.25, h * 0.55));
      tails.lineTo(c + QPointF(R * 0.5, h * 0.48));
      tails.lineTo(c + QPointF(R * 0.8, h * 0.55));
      tails.lineTo(c + QPointF(R * 0.55, 0));
      tails.closeSubpath();
      path = Star(c, R, R * 0.86, 20).united(tails);
      break;
    }
    case Shape::Oval:
      path.addEllipse(r);
      break;
    case Shape::Ticket: {
      path.addRect(r);
      const double k = r.height() * 0.14;
      QPainterPath bites;
      for (const QPointF& c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        bites.addEllipse(c, k, k);
      bites.addEllipse(QPointF(r.left(), r.center().y()), k * 0.6, k * 0.6);
      bites.addEllipse(QPointF(r.right(), r.center().y()), k * 0.6, k * 0.6);
      path = path.subtracted(bites);
      break;
    }
    case Shape::Apothecary: {
      const double k = r.height() * 0.2;
      path.moveTo(r.left() + k, r.top());
      path.lineTo(r.right() - k, r.top());
      path.arcTo(QRectF(r.right() - k, r.top() - k, 2 * k, 2 * k), 180, 90);
      path.lineTo(r.right(), r.bottom() - k);
      path.arcTo(QRectF(r.right() - k, r.bottom() - k, 2 * k, 2 * k), 90, 90);
      path.lineTo(r.left() + k, r.bottom());
      path.arcTo(QRectF(r.left() - k, r.bottom() - k, 2 * k, 2 * k), 0, 90);
      path.lineTo(r.left(), r.top() + k);
      path.arcTo(QRectF(r.left() - k, r.top() - k, 2 * k, 2 * k), 270, 90);
      path.closeSubpath();
      break;
    }
    case Shape::Cloud: {
      const QPointF c = r.center();
      const double u = r.height() * 0.5;
      path.addEllipse(c + QPointF(0, -u * 0.15), u * 0.75, u * 0.7);
      path.addEllipse(c + QPointF(-u * 0.75, u * 0.12), u * 0.55, u * 0.5);
      path.addEllipse(c + QPointF(u * 0.78, u * 0.1), u * 0.6, u * 0.55);
      path.addEllipse(c + QPointF(-u * 1.35, u * 0.35), u * 0.35, u * 0.3);
      path.addEllipse(c + QPointF(u * 1.4, u * 0.35), u * 0.35, u * 0.3);
      path.addRoundedRect(QRectF(c.x() - u * 1.5, c.y() + u * 0.1, u * 3.0, u * 0.55), u * 0.27, u * 0.27);
      path.setFillRule(Qt::WindingFill);
      path = path.simplified();
      break;
    }
    case Shape::Arrow: {
      const double head = r.height() * 0.5;
      path.moveTo(r.left(), r.top() + r.height() * 0.12);
      path.lineTo(r.right() - head, r.top() + r.height() * 0.12);
      path.lineTo(r.right() - head, r.top());
      path.lineTo(r.right(), r.center().y());
      path.lineTo(r.right() - head, r.bottom());
      path.lineTo(r.right() - head, r.bottom() - r.height() * 0.12);
      path.lineTo(r.left(), r.bottom() - r.height() * 0.12);
      path.lineTo(r.left() + head * 0.35, r.center().y());
      path.closeSubpath();
      break;
    }
    case Shape::StarBadge:
      path = Star(QPointF(w / 2, h / 2 + h * 0.03), std::min(r.width(), r.height()) / 2 * 1.02,
                  std::min(r.width(), r.height()) / 2 * 0.55, 5);
      break;
    case Shape::Shield: {
      path.moveTo(r.left(), r.top() + r.height() * 0.08);
      path.quadTo(r.center().x(), r.top() - r.height() * 0.04, r.right(), r.top() + r.height() * 0.08);
      path.lineTo(r.right(), r.top() + r.height() * 0.5);
      path.cubicTo(r.right(), r.top() + r.height() * 0.8, r.center().x() + r.width() * 0.2,
                   r.bottom() - r.height() * 0.05, r.center().x(), r.bottom());
      path.cubicTo(r.center().x() - r.width() * 0.2, r.bottom() - r.height() * 0.05, r.left(),
                   r.top() + r.height() * 0.8, r.left(), r.top() + r.height() * 0.5);
      path.closeSubpath();
      break;
    }
    case Shape::Chalkboard:
      path.addRoundedRect(r, r.height() * 0.05, r.height() * 0.05);
      break;
    case Shape::Hexagon: {
      const QPointF c = r.center();
      const double R = std::min(r.width() / 2, r.height() / std::sqrt(3.0));
      QPolygonF hex;
      for (int k = 0; k < 6; ++k) hex << c + QPointF(R * std::cos(k * M_PI / 3), R * std::sin(k * M_PI / 3));
      path.addPolygon(hex);
      path.closeSubpath();
      break;
    }
  }
  return path;
}

QImage Label(Shape shape, int w, int h, const QColor& fill, const QColor& line, bool stitched) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  Begin(p, layer);
  const QPainterPath path = LabelPath(shape, w, h);
  const double u = std::min(w, h);
  if (shape == Shape::Chalkboard) {
    p.setPen(Qt::NoPen);
    p.setBrush(Hex("#b5835a"));
    p.drawPath(path);
    const QPainterPath board = Inset(path, u * 0.07);
    QRadialGradient g(board.boundingRect().center(), board.boundingRect().width() * 0.7);
    g.setColorAt(0, Lighter(fill, 0.08));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.drawPath(board);
    p.setPen(QPen(WithAlpha(line, 150), u * 0.006, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Inset(path, u * 0.12));
    p.end();
    return KeyedOnMagenta(layer);
  }
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, Lighter(fill, 0.12));
  g.setColorAt(1, Mix(fill, Darker(fill, 0.2), 0.4));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(path);
  // An inner line: stitches or a fine double rule.
  p.setBrush(Qt::NoBrush);
  if (stitched) {
    QPen pen(line, u * 0.012, Qt::CustomDashLine, Qt::RoundCap);
    pen.setDashPattern({2.2, 1.8});
    p.setPen(pen);
    p.drawPath(Inset(path, u * 0.06));
  } else {
    p.setPen(QPen(line, u * 0.012));
    p.drawPath(Inset(path, u * 0.05));
    p.setPen(QPen(line, u * 0.005));
    p.drawPath(Inset(path, u * 0.075));
  }
  if (shape == Shape::Tag || shape == Shape::PriceTag) {
    // A grommet round the hole and a loop of string.
    const QRectF r = path.boundingRect();
    const double cut = r.height() * (shape == Shape::Tag ? 0.28 : 0.5);
    const QPointF hole(r.left() + cut * (shape == Shape::Tag ? 0.75 : 0.6), r.center().y());
    p.setPen(QPen(Hex("#c9a24e"), r.height() * 0.035));
    p.drawEllipse(hole, r.height() * 0.085, r.height() * 0.085);
  }
  p.end();
  return KeyedOnMagenta(layer);
}

// --- Ribbons ------------------------------------------------------------------------------------

constexpr int kRibbonW = 1800, kRibbonH = 200;

enum class Ends { Notched, Straight, Torn };

QPainterPath RibbonPath(Ends ends, uint32_t seed) {
  const double w = kRibbonW, h = kRibbonH, m = 8, band = h * 0.7, top = (h - band) / 2;
  QPainterPath path;
  if (ends == Ends::Torn) {
    Rng rng(seed);
    path.moveTo(m + 10, top);
    path.lineTo(w - m - 10, top);
    for (double y = top; y < top + band; y += 9)
      path.lineTo(w - m - rng.Range(0, 18), std::min(y + 9, top + band));
    path.lineTo(m + 10, top + band);
    for (double y = top + band; y > top; y -= 9) path.lineTo(m + rng.Range(0, 18), std::max(y - 9, top));
    path.closeSubpath();
    return path;
  }
  const double notch = ends == Ends::Notched ? band * 0.45 : 0;
  path.moveTo(m, top);
  path.lineTo(w - m, top);
  path.lineTo(w - m - notch, top + band / 2);
  path.lineTo(w - m, top + band);
  path.lineTo(m, top + band);
  path.lineTo(m + notch, top + band / 2);
  path.closeSubpath();
  return path;
}

QImage Satin(const QColor& c, Ends ends) {
  QImage layer = NewLayer(kRibbonW, kRibbonH);
  QPainter p;
  Begin(p, layer);
  const QPainterPath path = RibbonPath(ends, 0);
  const QRectF r = path.boundingRect();
  QLinearGradient g(0, r.top(), 0, r.bottom());
  g.setColorAt(0, Darker(c, 0.25));
  g.setColorAt(0.3, Lighter(c, 0.35));
  g.setColorAt(0.45, c);
  g.setColorAt(0.8, Darker(c, 0.1));
  g.setColorAt(1, Darker(c, 0.35));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(path);
  p.setPen(QPen(Darker(c, 0.3), 2));
  p.drawLine(QPointF(r.left() + 40, r.top() + 6), QPointF(r.right() - 40, r.top() + 6));
  p.drawLine(QPointF(r.left() + 40, r.bottom() - 6), QPointF(r.right() - 40, r.bottom() - 6));
  p.end();
  return KeyedOnMagenta(layer);
}

// A flat ribbon printed with a pattern: pattern(painter, band rectangle).
QImage Printed(const QColor& ground, Ends ends, uint32_t seed,
               const std::function<void(QPainter&, const QRectF&)>& pattern) {
  QImage layer = NewLayer(kRibbonW, kRibbonH);
  QPainter p;
  Begin(p, layer);
  const QPainterPath path = RibbonPath(ends, seed);
  p.setPen(Qt::NoPen);
  p.setBrush(ground);
  p.drawPath(path);
  p.setClipPath(path);
  pattern(p, path.boundingRect());
  p.end();
  return KeyedOnMagenta(layer);
}

QImage Lace(const QColor& c) {
  QImage layer = NewLayer(kRibbonW, kRibbonH);
  QPainter p;
  Begin(p, layer);
  const double h = kRibbonH, band = h * 0.42, top = h * 0.18;
  QPainterPath path;
  path.addRect(QRectF(10, top, kRibbonW - 20, band));
  const double r = band * 0.32;
  for (double x = 10 + r; x < kRibbonW - 10; x += 2 * r) path.addEllipse(QPointF(x, top + band), r, r);
  path.setFillRule(Qt::WindingFill);
  path = path.simplified();
  QPainterPath holes;
  for (double x = 10 + r; x < kRibbonW - 10; x += 2 * r) {
    holes.addEllipse(QPointF(x, top + band + r * 0.35), r * 0.28, r * 0.28);
    holes.addEllipse(QPointF(x + r, top + band * 0.45), r * 0.22, r * 0.22);
  }
  path = path.subtracted(holes);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(path);
  p.setPen(QPen(Darker(c, 0.12), 2.5, Qt::DashLine));
  p.drawLine(QPointF(14, top + band * 0.15), QPointF(kRibbonW - 14, top + band * 0.15));
  p.end();
  return KeyedOnMagenta(layer);
}

QImage RickRack(const QColor& c) {
  QImage layer = NewLayer(kRibbonW, kRibbonH);
  QPainter p;
  Begin(p, layer);
  QPainterPath wave;
  const double mid = kRibbonH / 2.0, amp = kRibbonH * 0.22, period = kRibbonH * 0.7;
  wave.moveTo(20, mid);
  for (double x = 20; x < kRibbonW - 20; x += 4)
    wave.lineTo(x, mid + amp * std::sin(2 * M_PI * (x - 20) / period));
  p.setPen(QPen(c, kRibbonH * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(wave);
  p.end();
  return KeyedOnMagenta(layer);
}

QImage FoldedBanner(const QColor& c) {
  QImage layer = NewLayer(kRibbonW, kRibbonH);
  QPainter p;
  Begin(p, layer);
  const double h = kRibbonH, w = kRibbonW, band = h * 0.62, top = h * 0.08, endW = w * 0.09, drop = h * 0.22;
  // The two ends sit lower and behind, with a dark fold.
  for (int side = 0; side < 2; ++side) {
    const double x0 = side ? w - 8 - endW * 1.3 : 8;
    QPainterPath end;
    const double notch = band * 0.35;
    if (!side) {
      end.moveTo(x0, top + drop);
      end.lineTo(x0 + endW * 1.3, top + drop);
      end.lineTo(x0 + endW * 1.3, top + drop + band);
      end.lineTo(x0, top + drop + band);
      end.lineTo(x0 + notch, top + drop + band / 2);
    } else {
      end.moveTo(x0, top + drop);
      end.lineTo(x0 + endW * 1.3, top + drop);
      end.lineTo(x0 + endW * 1.3 - notch, top + drop + band / 2);
      end.lineTo(x0 + endW * 1.3, top + drop + band);
      end.lineTo(x0, top + drop + band);
    }
    end.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Darker(c, 0.18));
    p.drawPath(end);
    const double fx = side ? w - 8 - endW * 1.3 : 8 + endW * 1.3 - endW * 0.3;
    p.setBrush(Darker(c, 0.45));
    if (!side)
      p.drawPolygon(QPolygonF({QPointF(fx, top + band), QPointF(fx + endW * 0.3, top + band),
                               QPointF(fx + endW * 0.3, top + drop + band)}));
    else
      p.drawPolygon(QPolygonF(
          {QPointF(fx, top + band), QPointF(fx + endW * 0.3, top + band), QPointF(fx, top + drop + band)}));
  }
  QLinearGradient g(0, top, 0, top + band);
  g.setColorAt(0, Lighter(c, 0.15));
  g.setColorAt(1, c);
  p.setBrush(g);
  p.drawRect(QRectF(8 + endW, top, w - 16 - 2 * endW, band));
  p.setPen(QPen(Lighter(c, 0.5), 3, Qt::DashLine));
  p.drawLine(QPointF(8 + endW + 12, top + 12), QPointF(w - 8 - endW - 12, top + 12));
  p.drawLine(QPointF(8 + endW + 12, top + band - 12), QPointF(w - 8 - endW - 12, top + band - 12));
  p.end();
  return KeyedOnMagenta(layer);
}

// --- Border tile sets ---------------------------------------------------------------------------

// A tile set is one picture two tiles wide: the top-left corner tile, then the top edge tile. The
// edge pattern repeats with the tile's own width, so that tiles meet without a seam; the corner
// tile carries the same pattern along its top and (turned) along its left side, and a corner piece
// where they cross. Inside the band the tiles are white like the inside of the framed box.
constexpr int kTile = 200;

using EdgeFn = std::function<void(QPainter&)>;    // draws the band across the top of a kTile square
using CornerFn = std::function<void(QPainter&)>;  // draws the corner piece in the top-left corner

QImage TileSet(double band, const EdgeFn& edge, const CornerFn& corner) {
  QImage layer = NewLayer(2 * kTile, kTile);
  QPainter p;
  Begin(p, layer);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  // Edge tile.
  p.save();
  p.translate(kTile, 0);
  p.setClipRect(QRectF(0, 0, kTile, kTile));
  p.drawRect(QRectF(0, band * 0.5, kTile, kTile));
  edge(p);
  p.restore();
  // Corner tile: the band along the top (right of the corner piece) and along the left (below it).
  p.save();
  p.setClipRect(QRectF(0, 0, kTile, kTile));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(band * 0.5, band * 0.5, kTile, kTile));
  p.save();
  p.setClipRect(QRectF(band, 0, kTile - band, kTile));
  edge(p);
  p.restore();
  p.save();
  p.setClipRect(QRectF(0, band, kTile, kTile - band));
  // Turned a quarter anticlockwise: the tile's top becomes its left side.
  p.translate(0, kTile);
  p.rotate(-90);
  edge(p);
  p.restore();
  corner(p);
  p.restore();
  p.end();
  return KeyedOnMagenta(layer);
}

QImage ScallopBorder(const QColor& c, const QColor& dots) {
  const double band = kTile * 0.32, r = kTile / 8.0;
  auto edge = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(-1, r, kTile + 2, band - r));
    for (int k = 0; k <= 4; ++k) p.drawEllipse(QPointF(k * 2 * r + r, r + 2), r, r);
    p.setBrush(dots);
    for (int k = 0; k <= 4; ++k) p.drawEllipse(QPointF(k * 2 * r + r, r + 2), r * 0.22, r * 0.22);
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(band * 0.55, band * 0.55), band * 0.55, band * 0.55);
    p.setBrush(dots);
    p.drawEllipse(QPointF(band * 0.55, band * 0.55), band * 0.18, band * 0.18);
  };
  return TileSet(band, edge, corner);
}

QImage PearlBorder(const QColor& c) {
  const double band = kTile * 0.3, r = kTile / 16.0;
  auto pearl = [=](QPainter& p, QPointF at, double rr) {
    QRadialGradient g(at + QPointF(-rr * 0.35, -rr * 0.35), rr * 1.3);
    g.setColorAt(0, Qt::white);
    g.setColorAt(0.4, c);
    g.setColorAt(1, Darker(c, 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, rr, rr);
  };
  auto edge = [=](QPainter& p) {
    for (int k = 0; k <= 8; ++k) pearl(p, QPointF(k * 2 * r + r, band * 0.5), r * 0.92);
  };
  auto corner = [=](QPainter& p) { pearl(p, QPointF(band * 0.5, band * 0.5), r * 1.5); };
  return TileSet(band, edge, corner);
}

QImage MeanderBorder(const QColor& c, const QColor& ground) {
  const double band = kTile * 0.36, m = kTile * 0.03;
  auto edge = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRect(QRectF(-1, m, kTile + 2, band - m));
    // Two key units per tile, drawn as one polyline.
    const double u = (band - m) / 5.0, top = m;
    QPen pen(c, u * 0.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 2; ++k) {
      const double x0 = k * kTile / 2.0;
      const double s = kTile / 2.0 / 5.0;
      QPolygonF key;
      key << QPointF(x0, top + 4 * u) << QPointF(x0 + 4 * s, top + 4 * u) << QPointF(x0 + 4 * s, top + u)
          << QPointF(x0 + s, top + u) << QPointF(x0 + s, top + 3 * u) << QPointF(x0 + 3 * s, top + 3 * u)
          << QPointF(x0 + 3 * s, top + 2 * u) << QPointF(x0 + 2 * s, top + 2 * u);
      p.drawPolyline(key);
      p.drawLine(QPointF(x0 + 4 * s, top + 4 * u), QPointF(x0 + 5 * s, top + 4 * u));
    }
    p.drawLine(QPointF(-1, top + u * 0.4), QPointF(kTile + 1, top + u * 0.4));
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(m, m, band - m, band - m));
    p.setBrush(ground);
    p.drawRect(QRectF(m + band * 0.22, m + band * 0.22, band * 0.56 - m, band * 0.56 - m));
  };
  return TileSet(band, edge, corner);
}

QImage StitchBorder(const QColor& c, const QColor& thread) {
  const double band = kTile * 0.26, m = kTile * 0.04;
  auto edge = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(-1, m, kTile + 2, band - m));
    QPen pen(thread, kTile * 0.015, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    for (int k = 0; k < 8; ++k)
      p.drawLine(QPointF(k * kTile / 8.0 + 4, m + (band - m) / 2),
                 QPointF(k * kTile / 8.0 + kTile / 8.0 - 8, m + (band - m) / 2));
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(m, m, band * 1.1, band * 1.1), band * 0.3, band * 0.3);
    p.setPen(QPen(thread, kTile * 0.015, Qt::SolidLine, Qt::RoundCap));
    const QPointF k(m + (band - m) / 2, m + (band - m) / 2);
    p.drawLine(k + QPointF(-8, -8), k + QPointF(8, 8));
    p.drawLine(k + QPointF(-8, 8), k + QPointF(8, -8));
  };
  return TileSet(band, edge, corner);
}

QImage GoldLinesBorder(const QColor& gold) {
  const double band = kTile * 0.28, m = kTile * 0.05;
  auto edge = [=](QPainter& p) {
    p.setPen(QPen(gold, kTile * 0.03));
    p.drawLine(QPointF(-1, m + kTile * 0.015), QPointF(kTile + 1, m + kTile * 0.015));
    p.setPen(QPen(gold, kTile * 0.01));
    p.drawLine(QPointF(-1, band - kTile * 0.04), QPointF(kTile + 1, band - kTile * 0.04));
  };
  auto corner = [=](QPainter& p) {
    p.setPen(QPen(gold, kTile * 0.03));
    p.setBrush(Qt::NoBrush);
    const double o = m + kTile * 0.015;
    p.drawLine(QPointF(o, o), QPointF(band + 1, o));
    p.drawLine(QPointF(o, o), QPointF(o, band + 1));
    p.setPen(QPen(gold, kTile * 0.01));
    const double i = band - kTile * 0.04;
    p.drawLine(QPointF(i, i), QPointF(band + 1, i));
    p.drawLine(QPointF(i, i), QPointF(i, band + 1));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    const QPointF c(i - kTile * 0.04, i - kTile * 0.04);
    const double r = kTile * 0.035;
    p.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, 0), c + QPointF(0, r), c + QPointF(-r, 0)}));
  };
  return TileSet(band, edge, corner);
}

QImage CheckBorder(const QColor& a, const QColor& b) {
  const double band = kTile * 0.25, m = kTile * 0.025, s = kTile / 10.0;
  auto edge = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 2; ++row)
      for (int k = 0; k < 10; ++k) {
        p.setBrush((k + row) % 2 ? a : b);
        p.drawRect(QRectF(k * s, m + row * (band - m) / 2, s, (band - m) / 2));
      }
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(a);
    p.drawRect(QRectF(m, m, band - m, band - m));
  };
  return TileSet(band, edge, corner);
}

QImage VineBorder(const QColor& stem, const QColor& leaf, const QColor& flower) {
  const double band = kTile * 0.34;
  auto edge = [=](QPainter& p) {
    QPainterPath vine;
    const double mid = band * 0.5, amp = band * 0.18;
    vine.moveTo(0, mid);
    for (int x = 0; x <= kTile; x += 4) vine.lineTo(x, mid + amp * std::sin(2 * M_PI * x / kTile));
    p.setPen(QPen(stem, kTile * 0.012));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vine);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
      const double x = kTile * (k + 0.5) / 4;
      const double y = mid + amp * std::sin(2 * M_PI * x / kTile);
      p.save();
      p.translate(x, y);
      p.rotate(k % 2 ? 35 : -35);
      p.setBrush(leaf);
      QPainterPath l;
      l.moveTo(0, 0);
      l.cubicTo(band * 0.1, -band * 0.18, band * 0.3, -band * 0.18, band * 0.38, 0);
      l.cubicTo(band * 0.3, band * 0.18, band * 0.1, band * 0.18, 0, 0);
      p.drawPath(QTransform().scale(1, k % 2 ? 1 : -1).map(l));
      p.restore();
    }
    p.setBrush(flower);
    p.drawEllipse(QPointF(0, mid), band * 0.1, band * 0.1);
    p.drawEllipse(QPointF(kTile, mid), band * 0.1, band * 0.1);
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 5; ++k) {
      const double a = 2 * M_PI * k / 5;
      p.setBrush(flower);
      p.drawEllipse(QPointF(band * 0.5 + std::cos(a) * band * 0.18, band * 0.5 + std::sin(a) * band * 0.18),
                    band * 0.15, band * 0.15);
    }
    p.setBrush(Hex("#f6d365"));
    p.drawEllipse(QPointF(band * 0.5, band * 0.5), band * 0.1, band * 0.1);
  };
  return TileSet(band, edge, corner);
}

QImage ShapeRowBorder(const QColor& ground, const QColor& shape, bool hearts) {
  const double band = kTile * 0.3, m = kTile * 0.03;
  auto edge = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(-20, m, kTile + 40, band - m), 6, 6);
    p.setBrush(shape);
    for (int k = 0; k < 4; ++k) {
      const QPointF c(kTile * (k + 0.5) / 4, m + (band - m) / 2);
      p.drawPath(hearts ? Heart(c, (band - m) * 0.62) : Star(c, (band - m) * 0.33, (band - m) * 0.14, 5));
    }
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(m, m, band - m + 2, band - m + 2), band * 0.3, band * 0.3);
    p.setBrush(shape);
    const QPointF c(m + (band - m) / 2, m + (band - m) / 2);
    p.drawPath(hearts ? Heart(c, (band - m) * 0.75) : Star(c, (band - m) * 0.42, (band - m) * 0.18, 5));
  };
  return TileSet(band, edge, corner);
}

QImage HollyBorder() {
  const double band = kTile * 0.34;
  const QColor green = Hex("#1f6f43"), red = Hex("#c0392b");
  auto hollyLeaf = [=](QPainter& p, QPointF at, double angle, double len) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    const int spikes = 4;
    for (int k = 1; k <= spikes; ++k)
      leaf.quadTo(len * (k - 0.5) / spikes, -len * 0.12, len * k / spikes, -len * (k == spikes ? 0 : 0.2));
    for (int k = spikes - 1; k >= 0; --k)
      leaf.quadTo(len * (k + 0.5) / spikes, len * 0.12, len * k / spikes, k == 0 ? 0 : len * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPath(leaf);
    p.restore();
  };
  auto edge = [=](QPainter& p) {
    for (int k = 0; k < 2; ++k) {
      const double x = kTile * k / 2.0;
      hollyLeaf(p, QPointF(x + kTile * 0.02, band * 0.5), -12, kTile * 0.24);
      hollyLeaf(p, QPointF(x + kTile * 0.48, band * 0.5), 192, kTile * 0.24);
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      for (int b = 0; b < 3; ++b)
        p.drawEllipse(
            QPointF(x + kTile * 0.25 + (b - 1) * band * 0.12, band * (0.5 + (b == 1 ? -0.1 : 0.05))),
            band * 0.08, band * 0.08);
    }
  };
  auto corner = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawEllipse(QPointF(band * 0.5, band * 0.5), band * 0.16, band * 0.16);
    p.setBrush(Lighter(red, 0.4));
    p.drawEllipse(QPointF(band * 0.45, band * 0.45), band * 0.05, band * 0.05);
  };
  return TileSet(band, edge, corner);
}

QImage StampBorder(const QColor& c) {
  const double band = kTile * 0.2, r = kTile / 20.0;
  auto edge = [=](QPainter& p) {
    QPainterPath strip;
    strip.addRect(QRectF(-1, r, kTile + 2, band));
    QPainterPath holes;
    for (int k = 0; k <= 5; ++k) holes.addEllipse(QPointF(k * kTile / 5.0, r), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(strip.subtracted(holes));
  };
  auto corner = [=](QPainter& p) {
    QPainterPath sq;
    sq.addRect(QRectF(r, r, band, band));
    QPainterPath hole;
    hole.addEllipse(QPointF(r, r), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(sq.subtracted(hole));
  };
  return TileSet(band + r, edge, corner);
}

QImage RopeBorder(const QColor& c) {
  const double band = kTile * 0.24, m = kTile * 0.04;
  auto edge = [=](QPainter& p) {
    const double h = band - m;
    for (int k = -1; k <= 8; ++k) {
      const double x = k * kTile / 8.0;
      QPainterPath twist;
      twist.moveTo(x, m + h);
      twist.cubicTo(x + kTile / 16.0, m + h, x + kTile / 16.0, m, x + kTile / 8.0 + kTile / 16.0, m);
      twist.lineTo(x + kTile / 8.0 + kTile / 16.0 + kTile / 16.0, m);
      twist.cubicTo(x + kTile / 8.0 + kTile / 16.0, m, x + kTile / 8.0 + kTile / 16.0, m + h,
                    x + kTile / 16.0 + 4, m + h);
      twist.closeSubpath();
      QLinearGradient g(0, m, 0, m + h);
      g.setColorAt(0, Lighter(c, 0.3));
      g.setColorAt(1, Darker(c, 0.25));
      p.setPen(QPen(Darker(c, 0.4), 1.5));
      p.setBrush(g);
      p.drawPath(twist);
    }
  };
  auto corner = [=](QPainter& p) {
    QRadialGradient g(QPointF(band * 0.45, band * 0.45), band * 0.5);
    g.setColorAt(0, Lighter(c, 0.3));
    g.setColorAt(1, Darker(c, 0.2));
    p.setPen(QPen(Darker(c, 0.4), 1.5));
    p.setBrush(g);
    p.drawEllipse(QPointF(band * 0.55, band * 0.55), band * 0.45, band * 0.45);
  };
  return TileSet(band, edge, corner);
}

// --- Photo frames -------------------------------------------------------------------------------

// A frame laid over a picture of the same box: the window is the key colour, and so are the
// rounded outer corners, which keeps the key in the top-left pixel.
QImage Frame(int w, int h, const std::function<void(QPainter&, QPainterPath& window)>& draw) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  Begin(p, layer);
  QPainterPath window;
  draw(p, window);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPath(window);
  p.end();
  return KeyedOnMagenta(layer);
}

QPainterPath OuterRounded(int w, int h, double r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, w, h), r, r);
  return path;
}

QImage PolaroidFrame(int w, int h) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(Hex("#fbfaf7"));
    p.drawPath(OuterRounded(w, h, u * 0.015));
    const double m = u * 0.06;
    window.addRect(QRectF(m, m, w - 2 * m, h - m - u * 0.2));
    p.setPen(QPen(Hex("#e4e1da"), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(m - 1, m - 1, w - 2 * m + 2, h - m - u * 0.2 + 2));
  });
}

QImage MouldingFrame(int w, int h, const QColor& light, const QColor& dark, double width) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h), b = u * width;
    p.setPen(Qt::NoPen);
    // Four bevelled sides, lit from the top left.
    const QPointF o[4] = {{0, 0}, {double(w), 0}, {double(w), double(h)}, {0, double(h)}};
    const QPointF i[4] = {{b, b}, {w - b, b}, {w - b, h - b}, {b, h - b}};
    const double shade[4] = {0.0, 0.35, 0.6, 0.2};
    for (int k = 0; k < 4; ++k) {
      QLinearGradient g((o[k] + o[(k + 1) % 4]) / 2, (i[k] + i[(k + 1) % 4]) / 2);
      const QColor c = Mix(light, dark, shade[k]);
      g.setColorAt(0, Darker(c, 0.25));
      g.setColorAt(0.35, Lighter(c, 0.3));
      g.setColorAt(0.7, c);
      g.setColorAt(1, Darker(c, 0.35));
      p.setBrush(g);
      p.drawPolygon(QPolygonF({o[k], o[(k + 1) % 4], i[(k + 1) % 4], i[k]}));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Darker(dark, 0.2), u * 0.004));
    p.drawRect(QRectF(b * 0.45, b * 0.45, w - b * 0.9, h - b * 0.9));
    window.addRect(QRectF(b, b, w - 2 * b, h - 2 * b));
    // Cut the outer corner pixel so that the key stays in the top-left corner.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QPointF& c : o) p.drawEllipse(c, u * 0.008, u * 0.008);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  });
}

QImage WindowFrame(int w, int h, const QColor& card, const QColor& line, int kind) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(card);
    p.drawPath(OuterRounded(w, h, u * 0.03));
    const QRectF inner(u * 0.1, u * 0.1, w - u * 0.2, h - u * 0.2);
    switch (kind) {
      case 0:
        window.addEllipse(inner);
        break;
      case 1:
        window =
            Heart(QPointF(w / 2.0, h / 2.0 + u * 0.03), std::min(inner.width() / 1.1, inner.height() / 0.92));
        break;
      case 2:
        window.addRoundedRect(inner, u * 0.08, u * 0.08);
        break;
      default: {
        // A hand-torn opening: a wobbly unit blob stretched over the inner rectangle.
        const QPointF c(w / 2.0, h / 2.0);
        window = Scaled(WobblyBlob(c, 1.0, 0.12, 99, 140), c, inner.width() / 2, inner.height() / 2);
        break;
      }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, u * 0.006));
    p.drawPath(Scaled(window, window.boundingRect().center(), 1.0 + 0.05 * u / window.boundingRect().width(),
                      1.0 + 0.05 * u / window.boundingRect().height()));
  });
}

QImage ScallopFrame(int w, int h, const QColor& card) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h), r = u * 0.035;
    QPainterPath outer;
    outer.addRect(QRectF(r, r, w - 2 * r, h - 2 * r));
    for (double x = r; x <= w - r + 1; x += 2 * r) {
      outer.addEllipse(QPointF(x, r), r, r);
      outer.addEllipse(QPointF(x, h - r), r, r);
    }
    for (double y = r; y <= h - r + 1; y += 2 * r) {
      outer.addEllipse(QPointF(r, y), r, r);
      outer.addEllipse(QPointF(w - r, y), r, r);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(card);
    outer.setFillRule(Qt::WindingFill);
    p.drawPath(outer.simplified());
    const double m = u * 0.1;
    window.addRect(QRectF(m, m, w - 2 * m, h - 2 * m));
    p.setPen(QPen(Darker(card, 0.15), u * 0.004, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(m * 0.6, m * 0.6, w - 1.2 * m, h - 1.2 * m));
  });
}

QImage FilmFrame(int w, int h) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h), band = u * 0.12;
    p.setPen(Qt::NoPen);
    p.setBrush(Hex("#161616"));
    p.drawPath(OuterRounded(w, h, u * 0.01));
    p.setBrush(Hex("#f2efe6"));
    const double hw = band * 0.3, hh = band * 0.42;
    for (double x = band * 0.3; x < w - hw; x += band * 0.62) {
      p.drawRoundedRect(QRectF(x, (band - hh) / 2, hw, hh), hw * 0.2, hw * 0.2);
      p.drawRoundedRect(QRectF(x, h - band + (band - hh) / 2, hw, hh), hw * 0.2, hw * 0.2);
    }
    window.addRect(QRectF(u * 0.05, band, w - u * 0.1, h - 2 * band));
  });
}

QImage TornFrame(int w, int h, const QColor& card) {
  return Frame(w, h, [=](QPainter& p, QPainterPath& window) {
    const double u = std::min(w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(card);
    p.drawPath(OuterRounded(w, h, u * 0.02));
    // A torn-paper window: an irregular edge following the noise.
    QPolygonF edge;
    const double m = u * 0.09;
    const int n = 240;
    for (int k = 0; k < n; ++k) {
      const double t = double(k) / n;
      QPointF pt;
      const double per = 2 * ((w - 2 * m) + (h - 2 * m));
      double d = t * per;
      if (d < w - 2 * m)
        pt = QPointF(m + d, m);
      else if ((d -= w - 2 * m) < h - 2 * m)
        pt = QPointF(w - m, m + d);
      else if ((d -= h - 2 * m) < w - 2 * m)
        pt = QPointF(w - m - d, h - m);
      else
        pt = QPointF(m, h - m - (d - (w - 2 * m)));
      const double jitter = (Fbm(float(t * 60), 3.5f, 3, 17) - 0.5) * u * 0.05;
      const QPointF c(w / 2.0, h / 2.0);
      const QPointF dir = (pt - c) / std::hypot(pt.x() - c.x(), pt.y() - c.y());
      edge << pt + dir * jitter;
    }
    window.addPolygon(edge);
    window.closeSubpath();
  });
}

// --- Scrapbook accessories ------------------------------------------------------------------

constexpr int kAccessory = 700;

QImage Accessory(const std::function<void(QPainter&, double)>& draw, int w = kAccessory, int h = kAccessory) {
  QImage layer = NewLayer(w, h);
  QPainter p;
  Begin(p, layer);
  draw(p, std::min(w, h));
  p.end();
  return KeyedOnMagenta(layer);
}

QImage PaperClip(const QColor& metal) {
  return Accessory([=](QPainter& p, double u) {
    p.translate(u / 2, u / 2);
    p.rotate(-30);
    // One wire: inner leg down, small bend, up, wide bend over the top, outer leg down, bend, up.
    const double r1 = u * 0.035, r2 = u * 0.065, r3 = u * 0.085;
    QPainterPath clip;
    clip.moveTo(-r1, -u * 0.12);
    clip.lineTo(-r1, u * 0.2);
    clip.arcTo(QRectF(-r1, u * 0.2 - r1, 2 * r1, 2 * r1), 180, 180);
    clip.lineTo(r1, -u * 0.28);
    const double rt = (r1 + r3) / 2, ct = (r1 - r3) / 2;
    clip.arcTo(QRectF(ct - rt, -u * 0.28 - rt, 2 * rt, 2 * rt), 0, 180);
    clip.lineTo(-r3, u * 0.28);
    const double rb = (r2 + r3) / 2, cb = (r2 - r3) / 2;
    clip.arcTo(QRectF(cb - rb, u * 0.28 - rb, 2 * rb, 2 * rb), 180, 180);
    clip.lineTo(r2, -u * 0.16);
    p.setBrush(Qt::NoBrush);
    QLinearGradient g(-u * 0.2, 0, u * 0.2, 0);
    g.setColorAt(0, Darker(metal, 0.3));
    g.setColorAt(0.5, Lighter(metal, 0.6));
    g.setColorAt(1, Darker(metal, 0.2));
    p.setPen(QPen(QBrush(g), u * 0.025, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(clip);
  });
}

QImage PushPin(const QColor& c) {
  return Accessory([=](QPainter& p, double u) {
    const QPointF centre(u * 0.5, u * 0.5);
    QRadialGradient g(centre + QPointF(-u * 0.08, -u * 0.08), u * 0.3);
    g.setColorAt(0, Lighter(c, 0.6));
    g.setColorAt(0.45, c);
    g.setColorAt(1, Darker(c, 0.35));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, u * 0.22, u * 0.22);
    p.setBrush(Lighter(c, 0.2));
    p.drawEllipse(centre, u * 0.12, u * 0.12);
    p.setBrush(WithAlpha(Qt::white, 200));
    p.drawEllipse(centre + QPointF(-u * 0.06, -u * 0.07), u * 0.035, u * 0.025);
  });
}

QImage Button(const QColor& c) {
  return Accessory([=](QPainter& p, double u) {
    const QPointF centre(u * 0.5, u * 0.5);
    QPainterPath body;
    body.addEllipse(centre, u * 0.4, u * 0.4);
    QPainterPath holes;
    for (int k = 0; k < 4; ++k)
      holes.addEllipse(centre + QPointF((k % 2 ? 1 : -1) * u * 0.07, (k / 2 ? 1 : -1) * u * 0.07), u * 0.035,
                       u * 0.035);
    QRadialGradient g(centre + QPointF(-u * 0.1, -u * 0.1), u * 0.5);
    g.setColorAt(0, Lighter(c, 0.3));
    g.setColorAt(1, Darker(c, 0.15));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body.subtracted(holes));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Darker(c, 0.2), u * 0.015));
    p.drawEllipse(centre, u * 0.31, u * 0.31);
  });
}

QImage Bow(const QColor& c) {
  return Accessory([=](QPainter& p, double u) {
    const QPointF k(u * 0.5, u * 0.42);
    p.setPen(QPen(Darker(c, 0.25), u * 0.008));
    for (int side = -1; side <= 1; side += 2) {
      QPainterPath tail;
      tail.moveTo(k);
      tail.lineTo(k + QPointF(side * u * 0.12, u * 0.42));
      tail.lineTo(k + QPointF(side * u * 0.05, u * 0.36));
      tail.lineTo(k + QPointF(side * u * 0.0, u * 0.44));
      tail.closeSubpath();
      p.setBrush(Darker(c, 0.1));
      p.drawPath(tail);
      QPainterPath loop;
      loop.moveTo(k);
      loop.cubicTo(k + QPointF(side * u * 0.2, -u * 0.3), k + QPointF(side * u * 0.5, -u * 0.15),
                   k + QPointF(side * u * 0.42, u * 0.02));
      loop.cubicTo(k + QPointF(side * u * 0.38, u * 0.15), k + QPointF(side * u * 0.15, u * 0.12), k);
      QLinearGradient g(k, k + QPointF(side * u * 0.45, 0));
      g.setColorAt(0, Darker(c, 0.2));
      g.setColorAt(0.5, Lighter(c, 0.25));
      g.setColorAt(1, c);
      p.setBrush(g);
      p.drawPath(loop);
    }
    p.setBrush(c);
    p.drawRoundedRect(QRectF(k.x() - u * 0.06, k.y() - u * 0.07, u * 0.12, u * 0.14), u * 0.03, u * 0.03);
  });
}

QImage Tape(const QColor& c, uint32_t seed) {
  return Accessory([=](QPainter& p, double u) {
    p.translate(u / 2, u / 2);
    p.rotate(-18);
    Rng rng(seed);
    const double w = u * 0.42, h = u * 0.12;
    QPolygonF tape;
    for (double y = -h; y <= h; y += h / 6) tape << QPointF(-w + rng.Range(-u * 0.012, u * 0.012), y);
    for (double y = h; y >= -h; y -= h / 6) tape << QPointF(w + rng.Range(-u * 0.012, u * 0.012), y);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(tape);
    p.setPen(QPen(Lighter(c, 0.4), u * 0.004));
    for (double x = -w + u * 0.03; x < w - u * 0.02; x += u * 0.05)
      p.drawLine(QPointF(x, -h * 0.9), QPointF(x + u * 0.02, h * 0.9));
  });
}

QImage PaperFlower(const QColor& outer, const QColor& inner) {
  return Accessory([=](QPainter& p, double u) {
    const QPointF c(u * 0.5, u * 0.5);
    for (int layer = 0; layer < 3; ++layer) {
      const double r = u * (0.42 - layer * 0.11);
      const QColor col = Mix(outer, inner, layer / 2.0);
      const int n = 8 - layer;
      for (int k = 0; k < n; ++k) {
        p.save();
        p.translate(c);
        p.rotate(360.0 * k / n + layer * 20);
        QPainterPath petal;
        petal.moveTo(0, 0);
        petal.cubicTo(r * 0.3, -r * 0.45, r * 0.95, -r * 0.4, r, 0);
        petal.cubicTo(r * 0.95, r * 0.4, r * 0.3, r * 0.45, 0, 0);
        p.setPen(QPen(Darker(col, 0.15), u * 0.004));
        p.setBrush(col);
        p.drawPath(petal);
        p.restore();
      }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Hex("#f6d365"));
    p.drawEllipse(c, u * 0.07, u * 0.07);
    p.setBrush(Hex("#e0a030"));
    for (int k = 0; k < 10; ++k) {
      const double a = 2 * M_PI * k / 10;
      p.drawEllipse(c + QPointF(std::cos(a) * u * 0.045, std::sin(a) * u * 0.045), u * 0.01, u * 0.01);
    }
  });
}

QImage Butterfly(const QColor& a, const QColor& b) {
  return Accessory([=](QPainter& p, double u) {
    const QPointF c(u * 0.5, u * 0.52);
    p.setPen(QPen(Darker(a, 0.4), u * 0.008));
    for (int side = -1; side <= 1; side += 2) {
      for (int upper = 0; upper < 2; ++upper) {
        p.save();
        p.translate(c);
        p.scale(side, 1);
        p.rotate(upper ? -35 : 30);
        QRadialGradient g(QPointF(u * 0.18, 0), u * 0.25);
        g.setColorAt(0, upper ? b : Lighter(b, 0.3));
        g.setColorAt(1, a);
        p.setBrush(g);
        p.drawEllipse(QPointF(u * (upper ? 0.2 : 0.15), 0), u * (upper ? 0.2 : 0.14),
                      u * (upper ? 0.13 : 0.1));
        p.restore();
      }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Darker(a, 0.5));
    p.drawRoundedRect(QRectF(c.x() - u * 0.02, c.y() - u * 0.17, u * 0.04, u * 0.32), u * 0.02, u * 0.02);
    p.setPen(QPen(Darker(a, 0.5), u * 0.006, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(c + QPointF(0, -u * 0.16), c + QPointF(-u * 0.08, -u * 0.28));
    p.drawLine(c + QPointF(0, -u * 0.16), c + QPointF(u * 0.08, -u * 0.28));
  });
}

QImage PhotoCorner(const QColor& c) {
  return Accessory([=](QPainter& p, double u) {
    // The top-left corner of a photo: a triangle with a slot; turn it for the other corners.
    const double m = u * 0.06;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(m * 2, m), QPointF(u - m, m), QPointF(m, u - m), QPointF(m, m * 2)}));
    p.setBrush(Lighter(c, 0.18));
    p.drawPolygon(
        QPolygonF({QPointF(u * 0.3, u * 0.3), QPointF(u * 0.62, u * 0.3), QPointF(u * 0.3, u * 0.62)}));
  });
}

QImage GoldStar() {
  return Accessory([](QPainter& p, double u) {
    const QPointF c(u * 0.5, u * 0.53);
    QLinearGradient g(0, 0, u, u);
    g.setColorAt(0, Hex("#fff2b3"));
    g.setColorAt(0.5, Hex("#e3b341"));
    g.setColorAt(1, Hex("#a8761c"));
    p.setPen(QPen(Hex("#8c6418"), u * 0.006));
    p.setBrush(g);
    p.drawPath(Star(c, u * 0.44, u * 0.19, 5));
  });
}

}  // namespace

void AddCutouts(Library& library) {
  struct L {
    const char* name;
    Shape shape;
    int w, h;
    const char* fill;
    const char* line;
    bool stitched;
  };
  const std::vector<L> labels = {
      {"etiquette_bagage_kraft", Shape::Tag, 1200, 600, "#c49a6c", "#fff7e6", true},
      {"etiquette_bagage_menthe", Shape::Tag, 1200, 600, "#9fd8cb", "#ffffff", true},
      {"etiquette_arrondie_corail", Shape::Rounded, 1200, 700, "#f4978e", "#ffffff", false},
      {"etiquette_arrondie_marine", Shape::Rounded, 1200, 700, "#1f3a5f", "#d4af37", false},
      {"etiquette_festonnee_rose", Shape::Scalloped, 1000, 1000, "#f7b2c0", "#ffffff", true},
      {"etiquette_festonnee_jaune", Shape::Scalloped, 1000, 1000, "#f6d365", "#ffffff", true},
      {"etiquette_timbre_bleu", Shape::Stamp, 900, 1100, "#a9c6e8", "#ffffff", false},
      {"etiquette_banniere_rouge", Shape::Banner, 1400, 400, "#d64545", "#ffffff", true},
      {"etiquette_banniere_vert", Shape::Banner, 1400, 400, "#6a994e", "#f4f1e8", true},
      {"etiquette_bulle_blanche", Shape::Bubble, 1200, 900, "#ffffff", "#9aa5b1", true},
      {"etiquette_bulle_jaune", Shape::Bubble, 1200, 900, "#ffe66d", "#ffffff", true},
      {"etiquette_coeur_rouge", Shape::Heart, 1000, 900, "#e63946", "#ffffff", true},
      {"etiquette_coeur_rose", Shape::Heart, 1000, 900, "#ffc2d1", "#ffffff", true},
      {"etiquette_rosette_or", Shape::Rosette, 900, 1100, "#e0b44c", "#fff6d6", false},
      {"etiquette_rosette_bleu", Shape::Rosette, 900, 1100, "#3a6ea5", "#ffffff", false},
      {"etiquette_ovale_creme", Shape::Oval, 1200, 800, "#f6ecd9", "#b8924a", false},
      {"etiquette_ticket_jaune", Shape::Ticket, 1400, 600, "#f9c74f", "#ffffff", true},
      {"etiquette_ticket_lilas", Shape::Ticket, 1400, 600, "#c8b6ff", "#ffffff", true},
      {"etiquette_confiture_blanche", Shape::Apothecary, 1200, 800, "#fbf8f2", "#b5838d", false},
      {"etiquette_confiture_vichy", Shape::Apothecary, 1200, 800, "#f9e0e5", "#d64545", true},
      {"etiquette_nuage_bleu", Shape::Cloud, 1300, 800, "#dbeeff", "#ffffff", true},
      {"etiquette_fleche_bois", Shape::Arrow, 1400, 450, "#c8956a", "#6d4c41", true},
      {"etiquette_etoile_or", Shape::StarBadge, 1000, 1000, "#f6c445", "#fff6d6", true},
      {"etiquette_prix_noir", Shape::PriceTag, 1200, 600, "#2b2d42", "#ffffff", true},
      {"etiquette_ecusson_vert", Shape::Shield, 900, 1100, "#2d6a4f", "#e9c46a", false},
      {"etiquette_ardoise", Shape::Chalkboard, 1300, 900, "#2f3e3b", "#ffffff", true},
      {"etiquette_hexagone_miel", Shape::Hexagon, 1100, 1000, "#f2b84b", "#fff3d1", true},
  };
  for (const L& l : labels) {
    const L copy = l;
    library.push_back(
        {QStringLiteral("Etiquettes"), QString::fromLatin1(l.name) + QStringLiteral(".png"), [copy] {
           return Label(copy.shape, copy.w, copy.h, Hex(copy.fill), Hex(copy.line), copy.stitched);
         }});
  }

  auto ribbon = [&](const char* name, std::function<QImage()> draw) {
    library.push_back(
        {QStringLiteral("Rubans"), QString::fromLatin1(name) + QStringLiteral(".png"), std::move(draw)});
  };
  ribbon("ruban_satin_rouge", [] { return Satin(Hex("#c1121f"), Ends::Notched); });
  ribbon("ruban_satin_rose", [] { return Satin(Hex("#f4a6b8"), Ends::Notched); });
  ribbon("ruban_satin_bleu", [] { return Satin(Hex("#3a6ea5"), Ends::Notched); });
  ribbon("ruban_satin_or", [] { return Satin(Hex("#d4a84b"), Ends::Straight); });
  ribbon("ruban_satin_vert", [] { return Satin(Hex("#2d6a4f"), Ends::Straight); });
  ribbon("ruban_satin_ivoire", [] { return Satin(Hex("#efe6d2"), Ends::Notched); });
  ribbon("ruban_gros_grain_marine", [] {
    return Printed(Hex("#1f3a5f"), Ends::Straight, 0, [](QPainter& p, const QRectF& r) {
      p.setPen(QPen(Hex("#2b4a73"), 2));
      for (double x = r.left(); x < r.right(); x += 5)
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
      p.setPen(QPen(Hex("#f4efe4"), 4, Qt::DashLine));
      p.drawLine(QPointF(r.left(), r.top() + 12), QPointF(r.right(), r.top() + 12));
      p.drawLine(QPointF(r.left(), r.bottom() - 12), QPointF(r.right(), r.bottom() - 12));
    });
  });
  ribbon("ruban_pois_rose", [] {
    return Printed(Hex("#f7b2c0"), Ends::Notched, 0, [](QPainter& p, const QRectF& r) {
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      const double s = r.height() / 3;
      for (int row = 0; row < 3; ++row)
        for (double x = r.left() + (row % 2 ? s : s / 2); x < r.right(); x += s)
          p.drawEllipse(QPointF(x, r.top() + s * (row + 0.5)), s * 0.18, s * 0.18);
    });
  });
  ribbon("ruban_vichy_rouge", [] {
    return Printed(Qt::white, Ends::Straight, 0, [](QPainter& p, const QRectF& r) {
      p.setPen(Qt::NoPen);
      p.setBrush(WithAlpha(Hex("#d9454a"), 120));
      const double s = r.height() / 6;
      for (int k = 0; k < 6; k += 2) p.drawRect(QRectF(r.left(), r.top() + k * s, r.width(), s));
      for (double x = r.left(); x < r.right(); x += 2 * s) p.drawRect(QRectF(x, r.top(), s, r.height()));
    });
  });
  ribbon("ruban_rayures_sucre", [] {
    return Printed(Qt::white, Ends::Notched, 0, [](QPainter& p, const QRectF& r) {
      p.setPen(QPen(Hex("#e63946"), r.height() * 0.18));
      for (double x = r.left() - r.height(); x < r.right() + r.height(); x += r.height() * 0.5)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    });
  });
  ribbon("ruban_washi_rayures", [] {
    return Printed(Hex("#cfe8e2"), Ends::Torn, 5, [](QPainter& p, const QRectF& r) {
      p.setPen(QPen(Hex("#9fd8cb"), r.height() * 0.12));
      for (double x = r.left() - r.height(); x < r.right() + r.height(); x += r.height() * 0.4)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height() * 0.6, r.top()));
    });
  });
  ribbon("ruban_washi_fleurs", [] {
    return Printed(Hex("#fbe3e8"), Ends::Torn, 9, [](QPainter& p, const QRectF& r) {
      p.setPen(Qt::NoPen);
      const double s = r.height();
      for (double x = r.left() + s * 0.4; x < r.right(); x += s * 0.8) {
        p.setBrush(Hex("#f4a6b8"));
        for (int k = 0; k < 5; ++k) {
          const double a = 2 * M_PI * k / 5;
          p.drawEllipse(QPointF(x + std::cos(a) * s * 0.13, r.center().y() + std::sin(a) * s * 0.13),
                        s * 0.11, s * 0.11);
        }
        p.setBrush(Hex("#f6d365"));
        p.drawEllipse(QPointF(x, r.center().y()), s * 0.07, s * 0.07);
      }
    });
  });
  ribbon("ruban_washi_pois", [] {
    return Printed(Hex("#fff3c4"), Ends::Torn, 13, [](QPainter& p, const QRectF& r) {
      p.setPen(Qt::NoPen);
      p.setBrush(Hex("#f4a261"));
      const double s = r.height() / 2.5;
      for (int row = 0; row < 3; ++row)
        for (double x = r.left() + (row % 2 ? s / 2 : 0); x < r.right(); x += s)
          p.drawEllipse(QPointF(x, r.top() + s * 0.2 + row * s), s * 0.16, s * 0.16);
    });
  });
  ribbon("ruban_dentelle_blanche", [] { return Lace(Hex("#fdfbf7")); });
  ribbon("ruban_dentelle_ivoire", [] { return Lace(Hex("#efe2c8")); });
  ribbon("ruban_croquet_rouge", [] { return RickRack(Hex("#d64545")); });
  ribbon("ruban_croquet_bleu", [] { return RickRack(Hex("#5b8fd6")); });
  ribbon("ruban_banniere_rouge", [] { return FoldedBanner(Hex("#c1121f")); });
  ribbon("ruban_banniere_bleu", [] { return FoldedBanner(Hex("#2a6f97")); });

  auto tiles = [&](const char* name, std::function<QImage()> draw) {
    library.push_back({QStringLiteral("Bordures/Tuiles"), QString::fromLatin1(name) + QStringLiteral(".png"),
                       std::move(draw)});
  };
  tiles("bordure_festons_rose", [] { return ScallopBorder(Hex("#f4a6b8"), Qt::white); });
  tiles("bordure_festons_bleu", [] { return ScallopBorder(Hex("#8ecae6"), Qt::white); });
  tiles("bordure_perles", [] { return PearlBorder(Hex("#e9e4dc")); });
  tiles("bordure_perles_or", [] { return PearlBorder(Hex("#d4a84b")); });
  tiles("bordure_grecque", [] { return MeanderBorder(Hex("#1f3a5f"), Hex("#f4efe4")); });
  tiles("bordure_grecque_or", [] { return MeanderBorder(Hex("#b8924a"), Hex("#fbf7ef")); });
  tiles("bordure_couture_jean", [] { return StitchBorder(Hex("#3a5a8a"), Hex("#f2c14e")); });
  tiles("bordure_couture_rouge", [] { return StitchBorder(Hex("#c1121f"), Hex("#ffffff")); });
  tiles("bordure_filets_or", [] { return GoldLinesBorder(Hex("#b8924a")); });
  tiles("bordure_filets_noirs", [] { return GoldLinesBorder(Hex("#2b2d42")); });
  tiles("bordure_damier_noir", [] { return CheckBorder(Hex("#222222"), Hex("#ffffff")); });
  tiles("bordure_damier_rouge", [] { return CheckBorder(Hex("#d64545"), Hex("#ffffff")); });
  tiles("bordure_feuillage", [] { return VineBorder(Hex("#6a994e"), Hex("#95d5b2"), Hex("#f4a6b8")); });
  tiles("bordure_coeurs", [] { return ShapeRowBorder(Hex("#ffc2d1"), Hex("#e63946"), true); });
  tiles("bordure_etoiles", [] { return ShapeRowBorder(Hex("#1d2a4d"), Hex("#f6d365"), false); });
  tiles("bordure_houx", [] { return HollyBorder(); });
  tiles("bordure_timbre", [] { return StampBorder(Hex("#fdfbf7")); });
  tiles("bordure_corde", [] { return RopeBorder(Hex("#c8a672")); });

  auto accessory = [&](const char* name, std::function<QImage()> draw) {
    library.push_back(
        {QStringLiteral("Accessoires"), QString::fromLatin1(name) + QStringLiteral(".png"), std::move(draw)});
  };
  accessory("accessoire_trombone", [] { return PaperClip(Hex("#b8bec6")); });
  accessory("accessoire_trombone_dore", [] { return PaperClip(Hex("#d4a84b")); });
  accessory("accessoire_punaise_rouge", [] { return PushPin(Hex("#d62828")); });
  accessory("accessoire_punaise_bleue", [] { return PushPin(Hex("#277da1")); });
  accessory("accessoire_bouton_bleu", [] { return Button(Hex("#5b8fd6")); });
  accessory("accessoire_bouton_jaune", [] { return Button(Hex("#f6c445")); });
  accessory("accessoire_noeud_rose", [] { return Bow(Hex("#f28fab")); });
  accessory("accessoire_noeud_rouge", [] { return Bow(Hex("#c1121f")); });
  accessory("accessoire_adhesif_beige", [] { return Tape(Hex("#efe3c4"), 3); });
  accessory("accessoire_adhesif_menthe", [] { return Tape(Hex("#bfe3d6"), 4); });
  accessory("accessoire_fleur_papier_rose", [] { return PaperFlower(Hex("#f7b2c0"), Hex("#e5738f")); });
  accessory("accessoire_fleur_papier_bleue", [] { return PaperFlower(Hex("#bcd7f2"), Hex("#6c9bd2")); });
  accessory("accessoire_papillon_bleu", [] { return Butterfly(Hex("#2a6f97"), Hex("#a9def9")); });
  accessory("accessoire_papillon_orange", [] { return Butterfly(Hex("#c8553d"), Hex("#ffd166")); });
  accessory("accessoire_coin_photo_noir", [] { return PhotoCorner(Hex("#222222")); });
  accessory("accessoire_coin_photo_kraft", [] { return PhotoCorner(Hex("#b98d5f")); });
  accessory("accessoire_etoile_doree", [] { return GoldStar(); });

  auto frame = [&](const char* name, std::function<QImage()> draw) {
    library.push_back({QStringLiteral("Bordures/Cadres"), QString::fromLatin1(name) + QStringLiteral(".png"),
                       std::move(draw)});
  };
  frame("cadre_polaroid", [] { return PolaroidFrame(1200, 1400); });
  frame("cadre_polaroid_paysage", [] { return PolaroidFrame(1500, 1300); });
  frame("cadre_dore", [] { return MouldingFrame(1500, 1125, Hex("#e8c66a"), Hex("#8a6a2a"), 0.09); });
  frame("cadre_dore_portrait",
        [] { return MouldingFrame(1125, 1500, Hex("#e8c66a"), Hex("#8a6a2a"), 0.09); });
  frame("cadre_bois", [] { return MouldingFrame(1500, 1125, Hex("#a47148"), Hex("#4e3321"), 0.08); });
  frame("cadre_blanc_fin", [] { return MouldingFrame(1200, 1200, Hex("#ffffff"), Hex("#c9c9c9"), 0.05); });
  frame("cadre_noir_galerie", [] { return MouldingFrame(1500, 1125, Hex("#4a4a4a"), Hex("#111111"), 0.06); });
  frame("cadre_ovale_creme", [] { return WindowFrame(1125, 1500, Hex("#f6ecd9"), Hex("#b8924a"), 0); });
  frame("cadre_coeur_rose", [] { return WindowFrame(1200, 1200, Hex("#fbd3dc"), Hex("#ffffff"), 1); });
  frame("cadre_arrondi_menthe", [] { return WindowFrame(1500, 1125, Hex("#cfe8e2"), Hex("#ffffff"), 2); });
  frame("cadre_aquarelle", [] { return WindowFrame(1500, 1125, Hex("#fbf8f3"), Hex("#e3d8c8"), 3); });
  frame("cadre_festonne_blanc", [] { return ScallopFrame(1500, 1125, Hex("#fdfbf7")); });
  frame("cadre_pellicule", [] { return FilmFrame(1600, 1000); });
  frame("cadre_papier_dechire", [] { return TornFrame(1500, 1125, Hex("#fbfaf6")); });
}

}  // namespace pictures
