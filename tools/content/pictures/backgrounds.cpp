// Backgrounds ("Fonds"): page-sized pictures in A4 proportion and square, by theme. Each theme is a
// drawing with a palette and a seed, so one drawing gives several finished backgrounds. The middle of
// every background stays calm enough to carry text.
#include <QtMath>
#include <cmath>

#include "pictures/art.h"
#include "pictures/library.h"

namespace pictures {
namespace {

using Palette = std::vector<QColor>;

Palette P(const std::vector<const char*>& hex) {
  Palette p;
  for (const char* h : hex) p.push_back(Hex(h));
  return p;
}

double Side(const QImage& im) {
  return std::max(im.width(), im.height());
}

// Soft gradients: large glows of the palette over its first colour, smoothed again.
QImage Pastel(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 60, {{0, pal[0]}, {1, Lighter(pal[1], 0.3)}});
  Rng rng(seed);
  const double s = std::max(w, h);
  for (int i = 0; i < 7; ++i) {
    const QColor c = pal[1 + i % (pal.size() - 1)];
    Glow(im, QPointF(rng.Range(-0.1, 1.1) * w, rng.Range(-0.1, 1.1) * h), rng.Range(0.35, 0.7) * s,
         WithAlpha(c, int(rng.Range(120, 200))));
  }
  Glow(im, QPointF(w * 0.5, h * 0.45), s * 0.45, WithAlpha(Qt::white, 90));
  return Blurred(im, 8);
}

// Bokeh: out-of-focus lights over a deep gradient.
QImage Bokeh(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 100, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  const double s = Side(im);
  for (int layer = 0; layer < 3; ++layer) {
    QImage l = NewLayer(w, h);
    QPainter p;
    Begin(p, l);
    p.setPen(Qt::NoPen);
    const int count = layer == 0 ? 26 : layer == 1 ? 34 : 22;
    for (int i = 0; i < count; ++i) {
      const QColor c = pal[2 + rng.Int(int(pal.size()) - 2)];
      const double r = s * (layer == 0   ? rng.Range(0.06, 0.13)
                            : layer == 1 ? rng.Range(0.03, 0.07)
                                         : rng.Range(0.012, 0.03));
      // Lights gather along a loose diagonal band, leaving calm corners.
      const double t = rng.Next();
      const QPointF c0(t * w + rng.Range(-0.25, 0.25) * w, (1 - t) * h * 0.8 + rng.Range(-0.2, 0.35) * h);
      QRadialGradient g(c0, r);
      const int a = layer == 2 ? int(rng.Range(140, 220)) : int(rng.Range(50, 120));
      g.setColorAt(0, WithAlpha(c, a * 3 / 4));
      g.setColorAt(0.82, WithAlpha(c, a));
      g.setColorAt(0.93, WithAlpha(Lighter(c, 0.3), a));
      g.setColorAt(1, WithAlpha(c, 0));
      p.setBrush(g);
      p.drawEllipse(c0, r, r);
    }
    p.end();
    Composite(im, Blurred(l, layer == 0 ? 10 : layer == 1 ? 4 : 2), 1.0, QPainter::CompositionMode_Screen);
  }
  return im;
}

// Watercolour washes on paper: wobbly translucent blobs with darker rims, gathered at two corners.
QImage Watercolour(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, Hex("#fbf8f3"));
  Rng rng(seed);
  const double s = Side(im);
  const QPointF corners[2] = {{w * rng.Range(0.0, 0.2), h * rng.Range(0.0, 0.15)},
                              {w * rng.Range(0.8, 1.0), h * rng.Range(0.85, 1.0)}};
  for (int k = 0; k < 2; ++k) {
    for (int i = 0; i < 9; ++i) {
      QImage l = NewLayer(w, h);
      QPainter p;
      Begin(p, l);
      const QColor c = pal[rng.Int(int(pal.size()))];
      const QPointF centre = corners[k] + QPointF(rng.Range(-0.25, 0.25) * w, rng.Range(-0.2, 0.2) * h);
      const QPainterPath blob = WobblyBlob(centre, s * rng.Range(0.12, 0.3), 0.35, uint32_t(rng.Bits()));
      p.setPen(QPen(WithAlpha(Darker(c, 0.15), 70), s * 0.004));
      p.setBrush(WithAlpha(c, int(rng.Range(40, 85))));
      p.drawPath(blob);
      p.end();
      Composite(im, Blurred(l, 2), 1.0, QPainter::CompositionMode_Multiply);
    }
  }
  // Paper: a faint cold-pressed grain, smooth enough to stay small in JPEG.
  Shade(im, [&](int x, int y, QRgb c) {
    const double n = (Fbm(x / 9.0f, y / 9.0f, 3, seed + 7) - 0.5) * 14;
    return qRgb(std::clamp(int(qRed(c) + n), 0, 255), std::clamp(int(qGreen(c) + n), 0, 255),
                std::clamp(int(qBlue(c) + n), 0, 255));
  });
  return im;
}

// --- Geometric patterns ---------------------------------------------------------------------

QImage LowPoly(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  const int cols = 9, rows = int(std::round(cols * double(h) / w));
  std::vector<QPointF> pts((cols + 1) * (rows + 1));
  for (int j = 0; j <= rows; ++j)
    for (int i = 0; i <= cols; ++i) {
      const double jx = (i == 0 || i == cols) ? 0 : rng.Range(-0.35, 0.35),
                   jy = (j == 0 || j == rows) ? 0 : rng.Range(-0.35, 0.35);
      pts[j * (cols + 1) + i] = QPointF((i + jx) * w / double(cols), (j + jy) * h / double(rows));
    }
  QPainter p;
  Begin(p, im);
  auto colourAt = [&](QPointF c) {
    const double t = std::clamp((c.x() / w * 0.6 + c.y() / h * 0.4), 0.0, 1.0) * (pal.size() - 1);
    const int k = std::min(int(t), int(pal.size()) - 2);
    return Mix(Mix(pal[k], pal[k + 1], t - k), Qt::white, rng.Range(0.0, 0.12));
  };
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < cols; ++i) {
      const QPointF a = pts[j * (cols + 1) + i], b = pts[j * (cols + 1) + i + 1],
                    c = pts[(j + 1) * (cols + 1) + i], d = pts[(j + 1) * (cols + 1) + i + 1];
      const bool flip = (i + j) % 2;
      const QPolygonF t1 = flip ? QPolygonF({a, b, d}) : QPolygonF({a, b, c});
      const QPolygonF t2 = flip ? QPolygonF({a, d, c}) : QPolygonF({b, d, c});
      for (const QPolygonF& t : {t1, t2}) {
        const QColor col = colourAt((t[0] + t[1] + t[2]) / 3);
        p.setPen(QPen(col, 1.2));
        p.setBrush(col);
        p.drawPolygon(t);
      }
    }
  return im;
}

QImage Hexagons(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double r = Side(im) / 22.0, dx = r * std::sqrt(3.0), dy = r * 1.5;
  p.setPen(QPen(Lighter(pal[0], 0.55), r * 0.08));
  for (int j = -1; j * dy < h + r; ++j)
    for (int i = -1; i * dx < w + dx; ++i) {
      const QPointF c(i * dx + (j % 2 ? dx / 2 : 0), j * dy);
      QPolygonF hex;
      for (int k = 0; k < 6; ++k)
        hex << c + QPointF(r * std::cos(M_PI / 6 + k * M_PI / 3), r * std::sin(M_PI / 6 + k * M_PI / 3));
      // Colour cells thin out towards the middle of the page.
      const double dist = std::hypot(c.x() / w - 0.5, c.y() / h - 0.5);
      QColor fill = pal[0];
      if (rng.Chance(std::clamp(dist * 1.6 - 0.25, 0.0, 0.8)))
        fill = Mix(pal[1 + rng.Int(int(pal.size()) - 1)], pal[0], rng.Range(0.0, 0.4));
      p.setBrush(fill);
      p.drawPolygon(hex);
    }
  return im;
}

QImage Chevrons(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const double band = Side(im) / 16.0, half = band * 1.4;
  p.setPen(Qt::NoPen);
  int k = 0;
  for (double y = -band * 2; y < h + band * 2; y += band, ++k) {
    QPainterPath path;
    path.moveTo(-half, y);
    for (double x = -half; x < w + 2 * half; x += 2 * half) {
      path.lineTo(x + half, y - band * 0.9);
      path.lineTo(x + 2 * half, y);
    }
    for (double x = w + 2 * half; x > -2 * half; x -= 2 * half) {
      path.lineTo(x - half, y + band * 0.5 - band * 0.9);
      path.lineTo(x - 2 * half, y + band * 0.5);
    }
    path.closeSubpath();
    p.setBrush(pal[1 + k % (pal.size() - 1)]);
    p.drawPath(path);
  }
  return im;
}

QImage Terrazzo(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 260; ++i) {
    const QColor c = pal[1 + rng.Int(int(pal.size()) - 1)];
    const QPointF at(rng.Range(0, w), rng.Range(0, h));
    const double r = s * rng.Range(0.006, 0.022);
    QPolygonF chip;
    const int n = 4 + rng.Int(4);
    const double rot = rng.Range(0, 2 * M_PI);
    for (int k = 0; k < n; ++k) {
      const double a = rot + 2 * M_PI * k / n, rr = r * rng.Range(0.55, 1.2);
      chip << at + QPointF(rr * std::cos(a), rr * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(chip);
  }
  return im;
}

QImage Memphis(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 70; ++i) {
    const QColor c = pal[1 + rng.Int(int(pal.size()) - 1)];
    const QPointF at(rng.Range(0, w), rng.Range(0, h));
    if (std::abs(at.x() / w - 0.5) < 0.28 && std::abs(at.y() / h - 0.5) < 0.25) continue;  // calm middle
    const double r = s * rng.Range(0.015, 0.035);
    p.save();
    p.translate(at);
    p.rotate(rng.Range(0, 360));
    switch (rng.Int(5)) {
      case 0:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(), r, r);
        break;
      case 1: {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(QPolygonF({QPointF(0, -r), QPointF(r * 0.9, r * 0.6), QPointF(-r * 0.9, r * 0.6)}));
        break;
      }
      case 2: {
        QPainterPath wave;
        wave.moveTo(-2 * r, 0);
        for (int k = 0; k < 4; ++k)
          wave.quadTo(-2 * r + (k + 0.5) * r, (k % 2 ? 1 : -1) * r * 0.7, -2 * r + (k + 1) * r, 0);
        p.setPen(QPen(c, r * 0.28, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
      }
      case 3:
        p.setPen(QPen(c, r * 0.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-r, 0), QPointF(r, 0));
        p.drawLine(QPointF(0, -r), QPointF(0, r));
        break;
      default:
        p.setPen(QPen(c, r * 0.25));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-r, -r, 2 * r, 2 * r), 0, 180 * 16);
        break;
    }
    p.restore();
  }
  return im;
}

QImage Waves(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const int bands = 7;
  for (int k = 0; k < bands; ++k) {
    const double base = h * (0.45 + 0.55 * (k + 1) / bands);
    const double amp = h * rng.Range(0.015, 0.035), len = w * rng.Range(0.5, 0.9),
                 ph = rng.Range(0, 2 * M_PI);
    QPainterPath path;
    path.moveTo(0, h);
    for (int x = 0; x <= w; x += 8) path.lineTo(x, base - h * 0.12 + amp * std::sin(ph + 2 * M_PI * x / len));
    path.lineTo(w, h);
    path.closeSubpath();
    p.setBrush(Mix(pal[1 + k % (pal.size() - 1)], pal[0], 0.15 * (bands - k) / bands));
    p.drawPath(path);
  }
  return im;
}

QImage ArtDeco(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const double r = Side(im) / 14.0;
  p.setBrush(Qt::NoBrush);
  for (int j = 0; j * r * 0.5 < h + r; ++j)
    for (int i = -1; i * 2 * r < w + 2 * r; ++i) {
      const QPointF c(i * 2 * r + (j % 2 ? r : 0), j * r * 0.5);
      for (int k = 0; k < 4; ++k) {
        const double rr = r * (1.0 - k * 0.22);
        p.setPen(QPen(k == 0 ? pal[1] : Mix(pal[1], pal[0], 0.35), r * (k == 0 ? 0.05 : 0.025)));
        p.setBrush(k == 0 ? QBrush(pal[0]) : QBrush(Qt::NoBrush));
        p.drawPie(QRectF(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr), 0, 180 * 16);
      }
    }
  return im;
}

QImage Arcs(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  struct Spot {
    double x, y, r;
  };
  const Spot spots[3] = {{0.1, 1.0, 0.42}, {0.9, 0.05, 0.3}, {0.85, 1.02, 0.2}};
  for (const Spot& sp : spots) {
    const int n = int(pal.size()) - 1;
    for (int k = 0; k < n; ++k) {
      const double r = s * sp.r * (1.0 - k / double(n + 1));
      p.setPen(Qt::NoPen);
      p.setBrush(pal[1 + (k + int(sp.x * 3)) % n]);
      p.drawEllipse(QPointF(sp.x * w, sp.y * h), r, r);
    }
  }
  p.setBrush(Mix(pal[0], Qt::white, 0.2));
  for (int i = 0; i < 18; ++i) {
    const double r = s * rng.Range(0.004, 0.009);
    p.drawEllipse(QPointF(rng.Range(0.05, 0.95) * w, rng.Range(0.05, 0.95) * h), r, r);
  }
  return im;
}

// --- Seasons and occasions ------------------------------------------------------------------

void Petal(QPainter& p, QPointF at, double size, double angle, const QColor& c) {
  p.save();
  p.translate(at);
  p.rotate(angle);
  QPainterPath petal;
  petal.moveTo(0, 0);
  petal.cubicTo(size * 0.5, -size * 0.35, size * 0.9, -size * 0.2, size, 0);
  petal.cubicTo(size * 0.9, size * 0.2, size * 0.5, size * 0.35, 0, 0);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(petal);
  p.restore();
}

void Blossom(QPainter& p, QPointF at, double size, double angle, const QColor& c, const QColor& heart) {
  for (int k = 0; k < 5; ++k) {
    p.save();
    p.translate(at);
    p.rotate(angle + 72 * k);
    QPainterPath petal;
    petal.moveTo(0, 0);
    petal.cubicTo(size * 0.15, -size * 0.45, size * 0.75, -size * 0.4, size * 0.8, -size * 0.05);
    petal.cubicTo(size * 0.7, size * 0.15, size * 0.25, size * 0.2, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(petal);
    p.restore();
  }
  p.setBrush(heart);
  p.drawEllipse(at, size * 0.12, size * 0.12);
}

void Leaf(QPainter& p, QPointF at, double size, double angle, const QColor& c, bool vein = true) {
  p.save();
  p.translate(at);
  p.rotate(angle);
  QPainterPath leaf;
  leaf.moveTo(-size, 0);
  leaf.cubicTo(-size * 0.4, -size * 0.55, size * 0.5, -size * 0.45, size, 0);
  leaf.cubicTo(size * 0.5, size * 0.45, -size * 0.4, size * 0.55, -size, 0);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(leaf);
  if (vein) {
    p.setPen(QPen(Lighter(c, 0.35), size * 0.04, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-size * 0.95, 0), QPointF(size * 0.8, 0));
  }
  p.restore();
}

QImage Spring(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.6)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  // A branch across the top with blossoms.
  QPainterPath branch;
  branch.moveTo(-0.05 * w, 0.12 * h);
  branch.cubicTo(0.3 * w, 0.02 * h, 0.55 * w, 0.2 * h, 1.05 * w, 0.08 * h);
  p.setPen(QPen(pal[3], s * 0.012, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(branch);
  for (int i = 0; i < 16; ++i) {
    const QPointF at = branch.pointAtPercent(rng.Range(0.02, 0.98)) +
                       QPointF(rng.Range(-0.03, 0.03) * s, rng.Range(-0.04, 0.05) * s);
    Blossom(p, at, s * rng.Range(0.025, 0.045), rng.Range(0, 72), Mix(pal[1], pal[2], rng.Next()), pal[4]);
  }
  for (int i = 0; i < 40; ++i)
    Petal(p, QPointF(rng.Range(0, w), rng.Range(0.2, 1.0) * h), s * rng.Range(0.008, 0.018),
          rng.Range(0, 360), WithAlpha(Mix(pal[1], pal[2], rng.Next()), 200));
  return im;
}

QImage Summer(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {0.55, pal[1]}, {0.56, pal[2]}, {1, pal[3]}});
  const double s = Side(im);
  Glow(im, QPointF(w * 0.78, h * 0.18), s * 0.35, WithAlpha(pal[4], 200));
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  p.setBrush(pal[4]);
  p.drawEllipse(QPointF(w * 0.78, h * 0.18), s * 0.07, s * 0.07);
  Rng rng(seed);
  p.setPen(QPen(WithAlpha(Qt::white, 150), s * 0.004, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 45; ++i) {
    const double y = h * rng.Range(0.58, 0.98), x = w * rng.Range(-0.05, 1.0),
                 len = s * rng.Range(0.02, 0.07);
    p.drawLine(QPointF(x, y), QPointF(x + len, y));
  }
  return Blurred(im, 2);
}

QImage Autumn(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 46; ++i) {
    const QPointF at(rng.Range(-0.05, 1.05) * w, rng.Range(-0.05, 1.05) * h);
    if (std::abs(at.x() / w - 0.5) < 0.3 && std::abs(at.y() / h - 0.5) < 0.28) continue;
    Leaf(p, at, s * rng.Range(0.03, 0.06), rng.Range(0, 360), pal[1 + rng.Int(int(pal.size()) - 1)]);
  }
  return im;
}

QImage Winter(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  const double s = Side(im);
  QImage flakes = NewLayer(w, h);
  QPainter p;
  Begin(p, flakes);
  for (int i = 0; i < 70; ++i) {
    const double r = s * rng.Range(0.01, 0.04);
    p.setPen(QPen(WithAlpha(pal[2], int(rng.Range(110, 230))), r * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(Snowflake(QPointF(rng.Range(0, w), rng.Range(0, h)), r, rng.Range(0, 60)));
  }
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 260; ++i) {
    const double r = s * rng.Range(0.002, 0.006);
    p.setBrush(WithAlpha(pal[2], int(rng.Range(80, 200))));
    p.drawEllipse(QPointF(rng.Range(0, w), rng.Range(0, h)), r, r);
  }
  p.end();
  Composite(im, flakes);
  return im;
}

QImage Christmas(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, Lighter(pal[0], 0.08)}, {1, Darker(pal[0], 0.25)}});
  Rng rng(seed);
  const double s = Side(im);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  // A row of stylised fir trees along the bottom.
  for (int i = 0; i < 9; ++i) {
    const double x = w * (i + 0.5) / 9 + rng.Range(-0.02, 0.02) * w, th = s * rng.Range(0.12, 0.2),
                 tw = th * 0.55;
    const double base = h * 1.01;
    p.setBrush(Mix(pal[1], Darker(pal[1], 0.5), rng.Range(0.0, 0.6)));
    for (int k = 0; k < 3; ++k) {
      const double top = base - th + k * th * 0.22, bottom = base - th * (0.55 - k * 0.25);
      const double half = tw * (0.55 + k * 0.22);
      p.drawPolygon(QPolygonF({QPointF(x, top), QPointF(x + half, bottom), QPointF(x - half, bottom)}));
    }
  }
  for (int i = 0; i < 34; ++i) {
    const QPointF at(rng.Range(0, w), rng.Range(0, h * 0.75));
    const double r = s * rng.Range(0.008, 0.022);
    p.setBrush(WithAlpha(pal[2], int(rng.Range(150, 255))));
    p.drawPath(Star(at, r, r * 0.42, 5, rng.Range(-100, -80)));
  }
  p.setPen(QPen(WithAlpha(pal[3], 170), s * 0.003, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 24; ++i)
    p.drawPath(Snowflake(QPointF(rng.Range(0, w), rng.Range(0, h * 0.8)), s * rng.Range(0.01, 0.02),
                         rng.Range(0, 60)));
  return im;
}

QImage Easter(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  const double ew = s * 0.055, eh = ew * 1.3;
  int k = 0;
  for (double y = eh; y < h + eh; y += eh * 2.3)
    for (double x = ew + (int(y / (eh * 2.3)) % 2) * ew * 1.6; x < w + ew; x += ew * 3.2, ++k) {
      if (std::abs(x / w - 0.5) < 0.3 && std::abs(y / h - 0.5) < 0.22) continue;
      const QColor c = pal[1 + k % (pal.size() - 1)];
      p.save();
      p.translate(x, y);
      p.rotate(rng.Range(-18, 18));
      QPainterPath egg;
      egg.moveTo(0, -eh);
      egg.cubicTo(ew * 0.75, -eh, ew, eh * 0.2, ew, eh * 0.3);
      egg.cubicTo(ew, eh * 0.8, ew * 0.55, eh, 0, eh);
      egg.cubicTo(-ew * 0.55, eh, -ew, eh * 0.8, -ew, eh * 0.3);
      egg.cubicTo(-ew, eh * 0.2, -ew * 0.75, -eh, 0, -eh);
      p.setPen(Qt::NoPen);
      p.setBrush(c);
      p.drawPath(egg);
      p.setClipPath(egg);
      p.setPen(QPen(Lighter(c, 0.55), ew * 0.14));
      if (k % 2) {
        p.drawLine(QPointF(-ew, -eh * 0.1), QPointF(ew, -eh * 0.1));
        p.drawLine(QPointF(-ew, eh * 0.3), QPointF(ew, eh * 0.3));
      } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Lighter(c, 0.55));
        for (int d = 0; d < 6; ++d)
          p.drawEllipse(QPointF(-ew * 0.6 + (d % 3) * ew * 0.6, (d / 3) * eh * 0.6 - eh * 0.2), ew * 0.11,
                        ew * 0.11);
      }
      p.restore();
    }
  return im;
}

QImage Night(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, pal[1]}});
  const double s = Side(im);
  Glow(im, QPointF(w * 0.75, h * 0.2), s * 0.3, WithAlpha(pal[2], 120));
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  p.setBrush(pal[2]);
  p.drawEllipse(QPointF(w * 0.75, h * 0.2), s * 0.09, s * 0.09);
  for (int i = 0; i < 120; ++i) {
    const double r = s * rng.Range(0.0015, 0.004);
    p.setBrush(WithAlpha(pal[3], int(rng.Range(120, 255))));
    p.drawEllipse(QPointF(rng.Range(0, w), rng.Range(0, h * 0.85)), r, r);
  }
  for (int i = 0; i < 10; ++i) {
    const double r = s * rng.Range(0.008, 0.016);
    p.setBrush(pal[3]);
    p.drawPath(Star(QPointF(rng.Range(0, w), rng.Range(0, h * 0.7)), r, r * 0.4, 4, 0));
  }
  // Hills at the bottom.
  for (int k = 0; k < 2; ++k) {
    QPainterPath hill;
    hill.moveTo(0, h);
    for (int x = 0; x <= w; x += 8)
      hill.lineTo(x, h * (0.86 + 0.05 * k) - h * 0.04 * std::sin(x * 2.0 / w * M_PI + k * 2.1));
    hill.lineTo(w, h);
    p.setBrush(Mix(pal[1], Qt::black, 0.25 + 0.2 * k));
    p.drawPath(hill);
  }
  return im;
}

QImage Confetti(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Mix(pal[0], Qt::black, 0.15)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 220; ++i) {
    const QPointF at(rng.Range(0, w), rng.Range(0, h));
    const double edge = std::min({at.y() / h, 1 - at.y() / h}) * 2;  // denser at top and bottom
    if (rng.Chance(std::pow(1 - edge, 0.6) * 0.2 + edge * 0.9)) continue;
    const QColor c = pal[1 + rng.Int(int(pal.size()) - 1)];
    const double r = s * rng.Range(0.005, 0.012);
    p.save();
    p.translate(at);
    p.rotate(rng.Range(0, 360));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    if (rng.Chance(0.5))
      p.drawRect(QRectF(-r, -r * 0.45, 2 * r, r * 0.9));
    else
      p.drawEllipse(QPointF(), r * 0.8, r * 0.8);
    p.restore();
  }
  // Curly streamers.
  for (int i = 0; i < 8; ++i) {
    QPainterPath curl;
    const double x0 = rng.Range(0, w), y0 = rng.Chance(0.5) ? rng.Range(0, h * 0.2) : rng.Range(h * 0.8, h);
    curl.moveTo(x0, y0);
    for (int k = 1; k <= 6; ++k)
      curl.quadTo(x0 + k * s * 0.02 - s * 0.01, y0 + (k % 2 ? 1 : -1) * s * 0.03, x0 + k * s * 0.02,
                  y0 + k * s * 0.008);
    p.setPen(QPen(pal[1 + rng.Int(int(pal.size()) - 1)], s * 0.004, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curl);
  }
  return im;
}

void Balloon(QPainter& p, QPointF at, double r, const QColor& c, double stringLength) {
  QPainterPath string;
  string.moveTo(at + QPointF(0, r * 1.2));
  string.cubicTo(at + QPointF(r * 0.3, r * 1.2 + stringLength * 0.3),
                 at + QPointF(-r * 0.3, r * 1.2 + stringLength * 0.6),
                 at + QPointF(0, r * 1.2 + stringLength));
  p.setPen(QPen(QColor(120, 120, 130, 160), r * 0.03));
  p.setBrush(Qt::NoBrush);
  p.drawPath(string);
  QRadialGradient g(at + QPointF(-r * 0.35, -r * 0.4), r * 1.4);
  g.setColorAt(0, Lighter(c, 0.45));
  g.setColorAt(0.5, c);
  g.setColorAt(1, Darker(c, 0.2));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(at, r, r * 1.18);
  p.setBrush(Darker(c, 0.1));
  p.drawPolygon(QPolygonF(
      {at + QPointF(0, r * 1.12), at + QPointF(r * 0.12, r * 1.26), at + QPointF(-r * 0.12, r * 1.26)}));
}

QImage Balloons(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.7)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 14; ++i) {
    const bool left = i % 2 == 0;
    const QPointF at(left ? rng.Range(0.02, 0.3) * w : rng.Range(0.7, 0.98) * w, rng.Range(0.05, 0.55) * h);
    Balloon(p, at, s * rng.Range(0.04, 0.065), pal[1 + rng.Int(int(pal.size()) - 1)],
            s * rng.Range(0.15, 0.3));
  }
  return im;
}

void Cloud(QPainter& p, QPointF at, double r, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawEllipse(at, r, r * 0.8);
  p.drawEllipse(at + QPointF(-r * 0.9, r * 0.25), r * 0.65, r * 0.55);
  p.drawEllipse(at + QPointF(r * 0.95, r * 0.2), r * 0.7, r * 0.6);
  p.drawRoundedRect(QRectF(at.x() - r * 1.5, at.y() + r * 0.1, r * 3.1, r * 0.7), r * 0.35, r * 0.35);
}

QImage Rainbow(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.65)}});
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  const QPointF c(w * 0.5, h * 0.98);
  const int n = int(pal.size()) - 1;
  for (int k = 0; k < n; ++k) {
    const double r = s * (0.46 - k * 0.035);
    p.setPen(QPen(pal[1 + k], s * 0.035, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 180 * 16);
  }
  Rng rng(seed);
  Cloud(p, QPointF(w * 0.5 - s * 0.42, h * 0.96), s * 0.09, Qt::white);
  Cloud(p, QPointF(w * 0.5 + s * 0.42, h * 0.96), s * 0.09, Qt::white);
  for (int i = 0; i < 4; ++i)
    Cloud(p, QPointF(rng.Range(0.1, 0.9) * w, rng.Range(0.06, 0.3) * h), s * rng.Range(0.03, 0.05),
          WithAlpha(Qt::white, 230));
  return im;
}

QImage Dots(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im), step = s / 12.0;
  p.setPen(Qt::NoPen);
  int k = 0;
  for (double y = step / 2; y < h + step; y += step)
    for (double x = step / 2 + (int(y / step) % 2) * step / 2; x < w + step; x += step, ++k) {
      p.setBrush(pal[1 + (k * 7 + int(y / step) * 3) % (pal.size() - 1)]);
      const double r = step * rng.Range(0.16, 0.24);
      p.drawEllipse(QPointF(x, y), r, r);
    }
  return im;
}

QImage Bunting(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int row = 0; row < 2; ++row) {
    QPainterPath rope;
    const double y0 = h * (0.03 + row * 0.09);
    rope.moveTo(-0.02 * w, y0);
    rope.quadTo(0.5 * w, y0 + h * 0.11, 1.02 * w, y0);
    p.setPen(QPen(QColor(90, 90, 100), s * 0.003));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rope);
    const int flags = 11;
    for (int i = 0; i < flags; ++i) {
      const double t0 = (i + 0.1 + row * 0.5) / (flags + 0.5), t1 = (i + 0.9 + row * 0.5) / (flags + 0.5);
      const QPointF a = rope.pointAtPercent(std::min(t0, 1.0)), b = rope.pointAtPercent(std::min(t1, 1.0));
      const QPointF mid = (a + b) / 2 + QPointF(0, s * 0.07);
      p.setPen(Qt::NoPen);
      p.setBrush(pal[1 + (i + row * 2) % (pal.size() - 1)]);
      p.drawPolygon(QPolygonF({a, b, mid}));
    }
  }
  for (int i = 0; i < 30; ++i) {
    const double r = s * rng.Range(0.004, 0.008);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(pal[1 + rng.Int(int(pal.size()) - 1)], 140));
    p.drawEllipse(QPointF(rng.Range(0, w), rng.Range(0.3, 1.0) * h), r, r);
  }
  return im;
}

// --- Wedding -------------------------------------------------------------------------------

QImage GoldFrame(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 70, {{0, Lighter(pal[0], 0.4)}, {1, pal[0]}});
  QPainter p;
  Begin(p, im);
  const double s = Side(im), m = s * 0.05;
  QLinearGradient gold(0, 0, w, h);
  gold.setColorAt(0, pal[1]);
  gold.setColorAt(0.5, Lighter(pal[1], 0.45));
  gold.setColorAt(1, pal[1]);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(gold), s * 0.006));
  p.drawRect(QRectF(m, m, w - 2 * m, h - 2 * m));
  p.setPen(QPen(QBrush(gold), s * 0.002));
  p.drawRect(QRectF(m * 1.35, m * 1.35, w - 2.7 * m, h - 2.7 * m));
  // Corner flourishes: quarter circles and a small diamond.
  for (int k = 0; k < 4; ++k) {
    const QPointF c(k % 2 ? w - m : m, k / 2 ? h - m : m);
    const double sx = k % 2 ? -1 : 1, sy = k / 2 ? -1 : 1;
    p.setPen(QPen(QBrush(gold), s * 0.003));
    for (int r = 1; r <= 2; ++r) {
      const double rr = m * (0.9 + r * 0.55);
      QPainterPath arc;
      arc.moveTo(c + QPointF(sx * rr, 0));
      arc.quadTo(c + QPointF(sx * rr, sy * rr), c + QPointF(0, sy * rr));
      p.drawPath(arc);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(gold));
    const QPointF d = c + QPointF(sx * m * 0.9, sy * m * 0.9);
    const double r = m * 0.18;
    p.drawPolygon(QPolygonF({d + QPointF(0, -r), d + QPointF(r, 0), d + QPointF(0, r), d + QPointF(-r, 0)}));
  }
  return im;
}

void Rose(QPainter& p, QPointF at, double r, const QColor& c, double angle) {
  p.save();
  p.translate(at);
  p.rotate(angle);
  for (int ring = 0; ring < 4; ++ring) {
    const double rr = r * (1.0 - ring * 0.22);
    const QColor col = Mix(c, Darker(c, 0.35), ring / 4.0);
    for (int k = 0; k < 5; ++k) {
      p.save();
      p.rotate(k * 72 + ring * 31);
      QPainterPath petal;
      petal.moveTo(0, 0);
      petal.cubicTo(rr * 0.3, -rr * 0.9, rr * 1.05, -rr * 0.6, rr * 0.95, 0);
      petal.cubicTo(rr * 0.9, rr * 0.4, rr * 0.3, rr * 0.35, 0, 0);
      p.setPen(QPen(WithAlpha(Darker(c, 0.3), 90), r * 0.02));
      p.setBrush(col);
      p.drawPath(petal);
      p.restore();
    }
  }
  p.restore();
}

QImage RoseCorners(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  const double s = Side(im);
  const QPointF spots[2] = {{0.08 * w, 0.06 * h}, {0.92 * w, 0.94 * h}};
  for (const QPointF& c : spots) {
    for (int i = 0; i < 18; ++i)
      Leaf(p, c + QPointF(rng.Range(-0.2, 0.2) * s, rng.Range(-0.2, 0.2) * s), s * rng.Range(0.035, 0.06),
           rng.Range(0, 360), Mix(pal[3], pal[0], rng.Range(0.0, 0.4)), false);
    for (int i = 0; i < 8; ++i)
      Rose(p, c + QPointF(rng.Range(-0.14, 0.14) * s, rng.Range(-0.14, 0.14) * s),
           s * rng.Range(0.045, 0.075), Mix(pal[1], pal[2], rng.Next()), rng.Range(0, 72));
  }
  p.end();
  Composite(im, Blurred(l, 2), 0.92);
  return im;
}

QImage Eucalyptus(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int sprig = 0; sprig < 5; ++sprig) {
    const bool top = sprig % 2 == 0;
    const QPointF start(rng.Range(-0.1, 1.1) * w, top ? -0.02 * h : 1.02 * h);
    const double dir = top ? rng.Range(40, 140) : rng.Range(-140, -40);
    const double len = s * rng.Range(0.25, 0.4);
    const QPointF end =
        start + QPointF(std::cos(qDegreesToRadians(dir)) * len, std::sin(qDegreesToRadians(dir)) * len);
    QPainterPath stem;
    stem.moveTo(start);
    stem.quadTo((start + end) / 2 + QPointF(rng.Range(-0.05, 0.05) * s, 0), end);
    p.setPen(QPen(Darker(pal[1], 0.2), s * 0.004, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    for (int k = 1; k <= 9; ++k) {
      const double t = k / 10.0;
      const QPointF at = stem.pointAtPercent(t);
      const double r = s * 0.028 * (1.1 - t * 0.5);
      for (int side = -1; side <= 1; side += 2) {
        const double a = stem.angleAtPercent(t);
        const QPointF off(std::cos(qDegreesToRadians(-a + 90 * side)) * r * 0.9,
                          std::sin(qDegreesToRadians(-a + 90 * side)) * r * 0.9);
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(pal[1], pal[2], rng.Next()));
        p.drawEllipse(at + off, r, r * 0.85);
      }
    }
  }
  return im;
}

QImage Hearts(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.5)}});
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  const double s = Side(im);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 60; ++i) {
    const QPointF at(rng.Range(0, w), rng.Range(0, h));
    if (std::abs(at.x() / w - 0.5) < 0.28 && std::abs(at.y() / h - 0.5) < 0.25) continue;
    p.setBrush(WithAlpha(pal[1 + rng.Int(int(pal.size()) - 1)], int(rng.Range(90, 220))));
    p.save();
    p.translate(at);
    p.rotate(rng.Range(-25, 25));
    p.drawPath(Heart(QPointF(), s * rng.Range(0.02, 0.07)));
    p.restore();
  }
  p.end();
  Composite(im, l);
  return im;
}

QImage Lace(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  // A doily in each corner: rings of scallops and holes.
  const QPointF corners[4] = {{0, 0}, {double(w), 0}, {0, double(h)}, {double(w), double(h)}};
  for (const QPointF& c : corners) {
    for (int ring = 5; ring >= 1; --ring) {
      const double r = s * 0.06 * ring;
      const int n = 10 * ring;
      p.setPen(Qt::NoPen);
      p.setBrush(ring % 2 ? pal[1] : Mix(pal[1], pal[0], 0.3));
      QPainterPath scallops;
      for (int k = 0; k < n; ++k) {
        const double a = 2 * M_PI * k / n;
        const double rr = 2 * M_PI * r / n * 0.6;
        scallops.addEllipse(c + QPointF(r * std::cos(a), r * std::sin(a)), rr, rr);
      }
      scallops.addEllipse(c, r, r);
      scallops.setFillRule(Qt::WindingFill);
      p.drawPath(scallops.simplified());
      p.setBrush(pal[0]);
      for (int k = 0; k < n; ++k) {
        const double a = 2 * M_PI * (k + 0.5) / n;
        const double rr = 2 * M_PI * r / n * 0.16;
        p.drawEllipse(c + QPointF(r * 0.86 * std::cos(a), r * 0.86 * std::sin(a)), rr, rr);
      }
    }
  }
  return im;
}

// --- Music ---------------------------------------------------------------------------------

void Note(QPainter& p, QPointF at, double size, const QColor& c, bool pair) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.save();
  p.translate(at);
  p.rotate(-20);
  p.drawEllipse(QPointF(), size * 0.36, size * 0.26);
  p.restore();
  p.setPen(QPen(c, size * 0.07, Qt::SolidLine, Qt::FlatCap));
  const QPointF stem = at + QPointF(size * 0.32, -size * 0.08);
  p.drawLine(stem, stem + QPointF(0, -size * 1.2));
  if (pair) {
    const QPointF at2 = at + QPointF(size * 0.9, -size * 0.2);
    p.save();
    p.setPen(Qt::NoPen);
    p.translate(at2);
    p.rotate(-20);
    p.drawEllipse(QPointF(), size * 0.36, size * 0.26);
    p.restore();
    const QPointF stem2 = at2 + QPointF(size * 0.32, -size * 0.08);
    p.drawLine(stem2, stem2 + QPointF(0, -size * 1.2));
    p.setPen(QPen(c, size * 0.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(stem + QPointF(0, -size * 1.12), stem2 + QPointF(0, -size * 1.12));
  } else {
    QPainterPath flag;
    const QPointF top = stem + QPointF(0, -size * 1.2);
    flag.moveTo(top);
    flag.cubicTo(top + QPointF(size * 0.1, size * 0.3), top + QPointF(size * 0.55, size * 0.35),
                 top + QPointF(size * 0.35, size * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
  }
}

QImage Staves(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Mix(pal[0], pal[1], 0.15)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int staff = 0; staff < 2; ++staff) {
    const double y0 = h * (staff == 0 ? 0.16 : 0.8), amp = h * 0.04, gap = s * 0.012;
    const double ph = rng.Range(0, M_PI);
    auto yAt = [&](double x, int line) { return y0 + line * gap + amp * std::sin(ph + x / w * 2.2 * M_PI); };
    p.setPen(QPen(WithAlpha(pal[1], 150), s * 0.0016));
    p.setBrush(Qt::NoBrush);
    for (int line = 0; line < 5; ++line) {
      QPainterPath path;
      path.moveTo(0, yAt(0, line));
      for (int x = 6; x <= w; x += 6) path.lineTo(x, yAt(x, line));
      p.drawPath(path);
    }
    for (int i = 0; i < 9; ++i) {
      const double x = w * (0.06 + i * 0.105) + rng.Range(-0.01, 0.01) * w;
      const int line = rng.Int(5);
      Note(p, QPointF(x, yAt(x, line) + gap * 0.5 * (rng.Int(2))), gap * 2.2,
           pal[2 + rng.Int(int(pal.size()) - 2)], rng.Chance(0.4));
    }
  }
  return im;
}

QImage Vinyl(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 120, {{0, pal[0]}, {1, pal[1]}});
  const double s = Side(im);
  const QPointF c(w * 0.92, h * 0.9);
  const double r = s * 0.55;
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(24, 24, 28));
  p.drawEllipse(c, r, r);
  for (double rr = r * 0.97; rr > r * 0.36; rr -= s * 0.006) {
    p.setPen(QPen(QColor(44, 44, 52), s * 0.0012));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, rr, rr);
  }
  QConicalGradient sheen(c, 35);
  sheen.setColorAt(0, WithAlpha(Qt::white, 0));
  sheen.setColorAt(0.08, WithAlpha(Qt::white, 40));
  sheen.setColorAt(0.16, WithAlpha(Qt::white, 0));
  sheen.setColorAt(0.5, WithAlpha(Qt::white, 0));
  sheen.setColorAt(0.58, WithAlpha(Qt::white, 40));
  sheen.setColorAt(0.66, WithAlpha(Qt::white, 0));
  sheen.setColorAt(1, WithAlpha(Qt::white, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sheen);
  p.drawEllipse(c, r * 0.97, r * 0.97);
  p.setBrush(pal[2]);
  p.drawEllipse(c, r * 0.33, r * 0.33);
  p.setBrush(pal[0]);
  p.drawEllipse(c, r * 0.025, r * 0.025);
  return im;
}

QImage Equalizer(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  const int bars = 24;
  const double bw = double(w) / bars;
  for (int i = 0; i < bars; ++i) {
    const double level =
        0.15 + 0.3 * std::pow(std::sin(i * 0.45 + rng.Range(0, 0.6)), 2) + rng.Range(0, 0.12);
    const int cells = int(level * 40);
    for (int k = 0; k < cells; ++k) {
      const double t = k / 40.0 / 0.55;
      const QColor c = Mix(pal[2], pal[3], std::min(1.0, t));
      p.setPen(Qt::NoPen);
      p.setBrush(c);
      p.drawRoundedRect(QRectF(i * bw + bw * 0.12, h - (k + 1) * h / 60.0, bw * 0.76, h / 60.0 * 0.72),
                        bw * 0.05, bw * 0.05);
    }
  }
  p.end();
  Composite(im, Blurred(l, 8), 0.8, QPainter::CompositionMode_Screen);
  Composite(im, l);
  return im;
}

QImage SoundWaves(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 0, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  const double s = Side(im);
  for (int k = 0; k < 14; ++k) {
    QPainterPath wave;
    const double f = rng.Range(1.5, 3.5), ph = rng.Range(0, 2 * M_PI), amp = h * rng.Range(0.04, 0.12);
    for (int x = 0; x <= w; x += 4) {
      const double env = std::sin(M_PI * x / w);
      const double y = h * 0.5 + amp * env * std::sin(ph + f * 2 * M_PI * x / w);
      if (x == 0)
        wave.moveTo(x, y);
      else
        wave.lineTo(x, y);
    }
    p.setPen(QPen(WithAlpha(Mix(pal[2], pal[3], k / 13.0), 150), s * 0.002));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
  }
  p.end();
  Composite(im, Blurred(l, 6), 1.0, QPainter::CompositionMode_Screen);
  Composite(im, l);
  return im;
}

QImage Stage(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  for (int k = 0; k < 6; ++k) {
    const QPointF src(w * (0.1 + k * 0.16), -h * 0.02);
    const double spread = w * rng.Range(0.08, 0.14), x = src.x() + rng.Range(-0.3, 0.3) * w;
    QLinearGradient g(src, QPointF(x, h));
    const QColor c = pal[2 + k % (pal.size() - 2)];
    g.setColorAt(0, WithAlpha(c, 170));
    g.setColorAt(1, WithAlpha(c, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(QPolygonF({src + QPointF(-w * 0.01, 0), src + QPointF(w * 0.01, 0), QPointF(x + spread, h),
                             QPointF(x - spread, h)}));
  }
  p.end();
  Composite(im, Blurred(l, 10), 1.0, QPainter::CompositionMode_Screen);
  // Haze at floor level.
  Glow(im, QPointF(w * 0.5, h * 1.05), std::max(w, h) * 0.6, WithAlpha(pal[2], 70));
  return im;
}

QImage Keys(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Mix(pal[0], pal[1], 0.2)}});
  QPainter p;
  Begin(p, im);
  const int white = 21;
  const double kw = double(w) / white, kh = h * 0.22, top = h - kh;
  for (int i = 0; i < white; ++i) {
    p.setPen(QPen(Mix(pal[1], pal[0], 0.5), kw * 0.04));
    p.setBrush(Hex("#fbfaf7"));
    p.drawRect(QRectF(i * kw, top, kw, kh + 2));
  }
  static const int pattern[7] = {1, 1, 0, 1, 1, 1, 0};
  for (int i = 0; i < white - 1; ++i)
    if (pattern[i % 7]) {
      p.setPen(Qt::NoPen);
      p.setBrush(Hex("#1d1c22"));
      p.drawRoundedRect(QRectF((i + 1) * kw - kw * 0.3, top, kw * 0.6, kh * 0.62), kw * 0.06, kw * 0.06);
    }
  p.setBrush(pal[2]);
  p.drawRect(QRectF(0, top - h * 0.008, w, h * 0.008));
  return im;
}

// --- Nature colours ------------------------------------------------------------------------

QImage Forest(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.5)}});
  Rng rng(seed);
  const double s = Side(im);
  for (int layer = 0; layer < 4; ++layer) {
    QImage l = NewLayer(w, h);
    QPainter p;
    Begin(p, l);
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(pal[1], pal[2], layer / 3.0));
    const double base = h * (0.62 + layer * 0.11);
    p.drawRect(QRectF(0, base, w, h - base));
    for (double x = -s * 0.03; x < w + s * 0.05; x += s * rng.Range(0.025, 0.05)) {
      const double th = s * rng.Range(0.12, 0.22) * (1 + layer * 0.15), tw = th * 0.28;
      p.drawPolygon(QPolygonF({QPointF(x, base - th), QPointF(x + tw, base + 2), QPointF(x - tw, base + 2)}));
    }
    p.end();
    Composite(im, layer < 2 ? Blurred(l, 3 - layer) : l);
    // Mist between the rows.
    Glow(im, QPointF(w * 0.5, base + h * 0.03), s * 0.5, WithAlpha(Lighter(pal[0], 0.6), 50));
  }
  return im;
}

QImage Ocean(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, pal[1]}});
  Rng rng(seed);
  QImage l = NewLayer(w, h);
  QPainter p;
  Begin(p, l);
  for (int k = 0; k < 12; ++k) {
    const double y0 = h * (0.3 + k * 0.065), amp = h * 0.012, len = w * rng.Range(0.25, 0.45),
                 ph = rng.Range(0, 6.3);
    QPainterPath path;
    path.moveTo(0, y0);
    for (int x = 0; x <= w; x += 6) path.lineTo(x, y0 + amp * std::sin(ph + 2 * M_PI * x / len));
    p.setPen(QPen(WithAlpha(pal[2], 90 + k * 10), std::max(w, h) * 0.003));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  p.end();
  Composite(im, Blurred(l, 2));
  return im;
}

QImage Sunset(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {0.45, pal[1]}, {0.7, pal[2]}, {1, pal[3]}});
  const double s = Side(im);
  Glow(im, QPointF(w * 0.5, h * 0.72), s * 0.5, WithAlpha(pal[4], 150));
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(pal[4], 230));
  p.drawEllipse(QPointF(w * 0.5, h * 0.72), s * 0.1, s * 0.1);
  p.end();
  return Blurred(im, 3);
}

QImage Meadow(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {0.7, Lighter(pal[0], 0.6)}, {1, pal[1]}});
  Rng rng(seed);
  const double s = Side(im);
  QPainter p;
  Begin(p, im);
  for (int i = 0; i < 900; ++i) {
    const double x = rng.Range(-0.02, 1.02) * w, len = h * rng.Range(0.08, 0.26),
                 bend = rng.Range(-0.5, 0.5) * len * 0.4;
    QPainterPath blade;
    blade.moveTo(x - s * 0.003, h);
    blade.quadTo(x + bend * 0.3, h - len * 0.6, x + bend, h - len);
    blade.quadTo(x + bend * 0.3 + s * 0.002, h - len * 0.6, x + s * 0.003, h);
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(pal[1], pal[2], rng.Next()));
    p.drawPath(blade);
  }
  for (int i = 0; i < 40; ++i)
    Blossom(p, QPointF(rng.Range(0, w), h - h * rng.Range(0.02, 0.18)), s * rng.Range(0.008, 0.014),
            rng.Range(0, 72), pal[3 + rng.Int(int(pal.size()) - 3)], Hex("#f6d35b"));
  return im;
}

QImage Dunes(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.5)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 5; ++k) {
    const double base = h * (0.5 + k * 0.11), amp = h * rng.Range(0.03, 0.07), ph = rng.Range(0, 6.3),
                 len = w * rng.Range(0.8, 1.4);
    QPainterPath d;
    d.moveTo(0, h);
    for (int x = 0; x <= w; x += 6) d.lineTo(x, base - amp * std::sin(ph + 2 * M_PI * x / len));
    d.lineTo(w, h);
    QLinearGradient g(0, base - amp, 0, h);
    const QColor c = Mix(pal[1], pal[2], k / 4.0);
    g.setColorAt(0, Lighter(c, 0.15));
    g.setColorAt(1, Darker(c, 0.1));
    p.setBrush(g);
    p.drawPath(d);
  }
  return im;
}

QImage Foliage(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int i = 0; i < 160; ++i) {
    QPointF at(rng.Range(-0.05, 1.05) * w, rng.Range(-0.05, 1.05) * h);
    // Leaves frame the page: push them out of the middle.
    const double dx = at.x() / w - 0.5, dy = at.y() / h - 0.5;
    if (std::abs(dx) < 0.32 && std::abs(dy) < 0.3) at += QPointF((dx < 0 ? -0.3 : 0.3) * w, 0);
    Leaf(p, at, s * rng.Range(0.04, 0.08), rng.Range(0, 360),
         Mix(pal[1 + rng.Int(int(pal.size()) - 1)], pal[0], rng.Range(0, 0.25)));
  }
  return im;
}

// --- Business ------------------------------------------------------------------------------

// Translucent angled bands in one corner, for cards and letterheads.
QImage CornerBands(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const double s = Side(im);
  for (int k = 0; k < 3; ++k) {
    const double a = s * (0.5 - k * 0.12), b = s * (0.28 - k * 0.06);
    p.setBrush(WithAlpha(pal[1 + k % (pal.size() - 1)], 200 - k * 30));
    p.drawPolygon(QPolygonF({QPointF(w - a, h), QPointF(w, h - b * 1.2), QPointF(w, h), QPointF(w - a, h)}));
    p.drawPolygon(QPolygonF({QPointF(w, h - a * 0.9), QPointF(w - b * 0.8, h), QPointF(w, h)}));
  }
  p.setPen(QPen(pal[1], s * 0.003));
  p.drawLine(QPointF(0, h * 0.06), QPointF(w * 0.35, h * 0.06));
  return im;
}

QImage SideStripe(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const double band = std::min(w, h) * 0.16;
  const bool vertical = h >= w;
  const QRectF r = vertical ? QRectF(0, 0, band, h) : QRectF(0, h - band, w, band);
  QLinearGradient g(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
  g.setColorAt(0, pal[1]);
  g.setColorAt(1, pal[2]);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRect(r);
  p.setClipRect(r);
  p.setPen(QPen(WithAlpha(Qt::white, 40), band * 0.02));
  for (double d = -std::max(w, h); d < std::max(w, h); d += band * 0.12)
    p.drawLine(QPointF(d, 0), QPointF(d + std::max(w, h), std::max(w, h)));
  p.setClipping(false);
  p.setPen(QPen(pal[3], band * 0.04));
  if (vertical)
    p.drawLine(QPointF(band * 1.12, 0), QPointF(band * 1.12, h));
  else
    p.drawLine(QPointF(0, h - band * 1.12), QPointF(w, h - band * 1.12));
  return im;
}

QImage Swoosh(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  for (int k = 0; k < 40; ++k) {
    const double t = k / 39.0;
    QPainterPath curve;
    curve.moveTo(-0.05 * w, h * (0.78 + 0.1 * t));
    curve.cubicTo(w * 0.35, h * (0.55 + 0.25 * t), w * 0.6, h * (1.05 - 0.1 * t), w * 1.05,
                  h * (0.7 + 0.12 * t));
    p.setPen(QPen(WithAlpha(Mix(pal[1], pal[2], t), 70 + int(120 * std::sin(M_PI * t))), s * 0.0015));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
  }
  return im;
}

QImage HalftoneCorner(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const double s = Side(im), step = s / 45.0;
  for (double y = step / 2; y < h; y += step)
    for (double x = step / 2; x < w; x += step) {
      const double d = std::hypot((w - x) / s, (h - y) / s);
      const double r = step * 0.48 * std::clamp(1.0 - d / 0.8, 0.0, 1.0);
      if (r < 0.6) continue;
      p.setBrush(Mix(pal[1], pal[2], std::clamp(d / 0.8, 0.0, 1.0)));
      p.drawEllipse(QPointF(x, y), r, r);
    }
  const double d2 = s * 0.05;
  for (double y = step / 2; y < h * 0.3; y += step)
    for (double x = step / 2; x < w * 0.3; x += step) {
      const double r = step * 0.2 * std::clamp(1.0 - std::hypot(x / s, y / s) / 0.25, 0.0, 1.0);
      if (r < 0.6 || x + y < d2 * 0) continue;
      p.setBrush(WithAlpha(pal[2], 120));
      p.drawEllipse(QPointF(x, y), r, r);
    }
  return im;
}

QImage Header(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const double hh = h * 0.16;
  // Overlapping triangles across the top, a thin rule at the foot.
  for (int k = 0; k < 14; ++k) {
    const double x = w * rng.Range(-0.1, 1.0), tw = w * rng.Range(0.12, 0.3);
    p.setBrush(WithAlpha(pal[1 + rng.Int(int(pal.size()) - 1)], int(rng.Range(120, 220))));
    p.drawPolygon(QPolygonF({QPointF(x, 0), QPointF(x + tw, 0),
                             QPointF(x + tw * rng.Range(0.2, 0.8), hh * rng.Range(0.5, 1.0))}));
  }
  p.setBrush(pal[1]);
  p.drawRect(QRectF(0, 0, w, hh * 0.22));
  p.setBrush(pal[1]);
  p.drawRect(QRectF(w * 0.08, h * 0.955, w * 0.84, h * 0.003));
  return im;
}

QImage DarkElegant(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 120, {{0, Lighter(pal[0], 0.08)}, {1, pal[0]}});
  QPainter p;
  Begin(p, im);
  const double s = Side(im), m = std::min(w, h) * 0.06;
  p.setPen(QPen(pal[1], s * 0.002));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(m, m, w - 2 * m, h - 2 * m));
  p.drawRect(QRectF(m * 1.25, m * 1.25, w - 2.5 * m, h - 2.5 * m));
  return im;
}

// --- Disc designs: square, centred, for disc labels and covers ----------------------------

QImage Sunburst(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const QPointF c(w / 2.0, h / 2.0);
  const double R = Side(im);
  p.setPen(Qt::NoPen);
  const int rays = 32;
  for (int k = 0; k < rays; ++k) {
    const double a0 = 2 * M_PI * k / rays, a1 = 2 * M_PI * (k + 0.5) / rays;
    p.setBrush(pal[1]);
    p.drawPolygon(QPolygonF({c, c + QPointF(std::cos(a0) * R, std::sin(a0) * R),
                             c + QPointF(std::cos(a1) * R, std::sin(a1) * R)}));
  }
  p.end();
  Glow(im, c, R * 0.45, WithAlpha(pal[2], 230));
  Vignette(im, 0.5);
  return im;
}

QImage Rings(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const QPointF c(w / 2.0, h / 2.0);
  double r = Side(im) * 0.72;
  int k = 0;
  while (r > Side(im) * 0.04) {
    p.setPen(Qt::NoPen);
    p.setBrush(pal[1 + k++ % (pal.size() - 1)]);
    p.drawEllipse(c, r, r);
    r -= Side(im) * rng.Range(0.015, 0.05);
  }
  return im;
}

QImage Phyllotaxis(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const QPointF c(w / 2.0, h / 2.0);
  const double golden = M_PI * (3 - std::sqrt(5.0)), R = Side(im) * 0.72;
  const int n = 1100;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / n, r = R * std::sqrt(t), a = i * golden;
    const int k = int(t * (pal.size() - 1) * 0.999);
    p.setBrush(Mix(pal[1 + k], pal[std::min<int>(int(pal.size()) - 1, 2 + k)], t * (pal.size() - 1) - k));
    const double dot = Side(im) * (0.006 + 0.012 * std::sqrt(t));
    p.drawEllipse(c + QPointF(std::cos(a) * r, std::sin(a) * r), dot, dot);
  }
  return im;
}

QImage DotWaves(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  const QPointF c(w / 2.0, h / 2.0);
  const double s = Side(im);
  for (int ring = 1; ring < 28; ++ring) {
    const double r = ring * s * 0.026;
    const int n = int(2 * M_PI * r / (s * 0.026));
    const double size = s * 0.009 * (1.0 + 0.8 * std::sin(ring * 0.6));
    p.setBrush(Mix(pal[1], pal[2], ring / 28.0));
    for (int k = 0; k < n; ++k) {
      const double a = 2 * M_PI * k / n + ring * 0.1;
      p.drawEllipse(c + QPointF(std::cos(a) * r, std::sin(a) * r), size, size);
    }
  }
  return im;
}

QImage Kaleidoscope(int w, int h, const Palette& pal, uint32_t) {
  QImage im = NewImage(w, h, pal[0]);
  QPainter p;
  Begin(p, im);
  const QPointF c(w / 2.0, h / 2.0);
  const double s = Side(im);
  for (int layer = 0; layer < 4; ++layer) {
    const int petals = 6 + layer * 4;
    const double R = s * (0.48 - layer * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(pal[1 + layer % (pal.size() - 1)], 210));
    for (int k = 0; k < petals; ++k) {
      p.save();
      p.translate(c);
      p.rotate(360.0 * k / petals + layer * 9);
      QPainterPath petal;
      petal.moveTo(0, 0);
      petal.cubicTo(R * 0.25, -R * 0.3, R * 0.8, -R * 0.22, R, 0);
      petal.cubicTo(R * 0.8, R * 0.22, R * 0.25, R * 0.3, 0, 0);
      p.drawPath(petal);
      p.restore();
    }
  }
  p.setBrush(pal[0]);
  p.drawEllipse(c, s * 0.08, s * 0.08);
  return im;
}

// --- Birth -------------------------------------------------------------------------------

QImage BabySky(int w, int h, const Palette& pal, uint32_t seed) {
  QImage im = NewImage(w, h, pal[0]);
  LinearFill(im, 90, {{0, pal[0]}, {1, Lighter(pal[0], 0.7)}});
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  const double s = Side(im);
  // Hanging moon and stars on threads.
  for (int i = 0; i < 5; ++i) {
    const double x = w * (0.12 + i * 0.19), len = h * rng.Range(0.08, 0.22);
    p.setPen(QPen(WithAlpha(pal[2], 160), s * 0.0015));
    p.drawLine(QPointF(x, 0), QPointF(x, len));
    p.setPen(Qt::NoPen);
    p.setBrush(pal[1]);
    if (i == 2) {
      QPainterPath moon;
      moon.addEllipse(QPointF(x, len + s * 0.045), s * 0.05, s * 0.05);
      QPainterPath bite;
      bite.addEllipse(QPointF(x + s * 0.025, len + s * 0.03), s * 0.045, s * 0.045);
      p.drawPath(moon.subtracted(bite));
    } else {
      p.drawPath(Star(QPointF(x, len + s * 0.025), s * 0.028, s * 0.013, 5));
    }
  }
  for (int i = 0; i < 5; ++i)
    Cloud(p, QPointF(rng.Range(0.1, 0.9) * w, rng.Range(0.55, 0.95) * h), s * rng.Range(0.04, 0.07),
          WithAlpha(Qt::white, 235));
  p.setBrush(WithAlpha(pal[1], 150));
  for (int i = 0; i < 30; ++i) {
    const double r = s * rng.Range(0.004, 0.008);
    p.drawPath(
        Star(QPointF(rng.Range(0, w), rng.Range(0.3, 1.0) * h), r * 1.6, r * 0.7, 5, rng.Range(0, 72)));
  }
  return im;
}

struct Theme {
  const char* folder;
  const char* name;
  QImage (*draw)(int, int, const Palette&, uint32_t);
  int w, h;
  std::vector<const char*> palette;
};

}  // namespace

void AddBackgrounds(Library& library) {
  // Business cards (85 x 55 mm at 300 dpi) and disc designs (a 120 mm disc at about 300 dpi).
  const int aw = kA4W, ah = kA4H, sq = kSquare, lw = kA4H, lh = kA4W, cw = 1004, ch = 650, ds = 1400;
  const std::vector<Theme> themes = {
      // Soft gradients.
      {"Fonds/Pastels", "fond_pastel_rose", Pastel, aw, ah, {"#fbe9e7", "#f8bbd0", "#ffd7b5", "#e1bee7"}},
      {"Fonds/Pastels", "fond_pastel_menthe", Pastel, aw, ah, {"#e8f5f0", "#b2dfdb", "#c8e6c9", "#b3e5fc"}},
      {"Fonds/Pastels", "fond_pastel_lavande", Pastel, aw, ah, {"#f1ecfa", "#d1c4e9", "#c5cae9", "#f8bbd0"}},
      {"Fonds/Pastels", "fond_pastel_citron", Pastel, aw, ah, {"#fffbe6", "#fff59d", "#ffcc80", "#f8bbd0"}},
      {"Fonds/Pastels", "fond_pastel_ciel", Pastel, aw, ah, {"#eaf4fb", "#bbdefb", "#b2ebf2", "#d1c4e9"}},
      {"Fonds/Pastels", "fond_pastel_sable", Pastel, aw, ah, {"#faf4ec", "#eedcc6", "#f3d1c2", "#e0d6c8"}},
      {"Fonds/Pastels",
       "fond_pastel_aurore_carre",
       Pastel,
       sq,
       sq,
       {"#fdf0f0", "#ffcdd2", "#ffe0b2", "#b3e5fc", "#e1bee7"}},
      {"Fonds/Pastels",
       "fond_pastel_lagon_carre",
       Pastel,
       sq,
       sq,
       {"#e6f7f7", "#80deea", "#a5d6a7", "#b39ddb"}},
      {"Fonds/Pastels",
       "fond_pastel_peche_paysage",
       Pastel,
       lw,
       lh,
       {"#fff3ec", "#ffccbc", "#ffe082", "#f8bbd0"}},
      // Bokeh.
      {"Fonds/Bokeh",
       "fond_bokeh_or",
       Bokeh,
       aw,
       ah,
       {"#1b1424", "#3a2430", "#f6c667", "#f29e4c", "#fff1c1"}},
      {"Fonds/Bokeh",
       "fond_bokeh_bleu_nuit",
       Bokeh,
       aw,
       ah,
       {"#0b1530", "#1d2f5c", "#5aa9e6", "#7fc8f8", "#c3b1e1"}},
      {"Fonds/Bokeh",
       "fond_bokeh_rose",
       Bokeh,
       aw,
       ah,
       {"#3b1030", "#7a2a55", "#ff8fab", "#ffc2d1", "#fb6f92"}},
      {"Fonds/Bokeh",
       "fond_bokeh_vert",
       Bokeh,
       aw,
       ah,
       {"#0e2a1e", "#2d5a3d", "#b5e48c", "#d9ed92", "#76c893"}},
      {"Fonds/Bokeh",
       "fond_bokeh_argent_carre",
       Bokeh,
       sq,
       sq,
       {"#24262b", "#4a4e57", "#e0e4ea", "#b8c0cc", "#ffffff"}},
      {"Fonds/Bokeh",
       "fond_bokeh_ambre_carre",
       Bokeh,
       sq,
       sq,
       {"#2a1508", "#5c3311", "#ffb347", "#ffd89b", "#ff8c42"}},
      {"Fonds/Bokeh",
       "fond_bokeh_violet_paysage",
       Bokeh,
       lw,
       lh,
       {"#160f2e", "#3c1f5e", "#b388eb", "#8093f1", "#f7aef8"}},
      // Watercolour washes.
      {"Fonds/Aquarelles",
       "fond_aquarelle_bleu",
       Watercolour,
       aw,
       ah,
       {"#8ecae6", "#219ebc", "#a2d2ff", "#bde0fe"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_rose",
       Watercolour,
       aw,
       ah,
       {"#ffafcc", "#ffc8dd", "#cdb4db", "#f4acb7"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_vert",
       Watercolour,
       aw,
       ah,
       {"#95d5b2", "#b7e4c7", "#74c69d", "#d8f3dc"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_automne",
       Watercolour,
       aw,
       ah,
       {"#f4a261", "#e9c46a", "#e76f51", "#f6bd60"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_lilas_carre",
       Watercolour,
       sq,
       sq,
       {"#c8b6ff", "#e7c6ff", "#b8c0ff", "#ffd6ff"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_ocean_carre",
       Watercolour,
       sq,
       sq,
       {"#48cae4", "#90e0ef", "#0096c7", "#caf0f8"}},
      {"Fonds/Aquarelles",
       "fond_aquarelle_sorbet_paysage",
       Watercolour,
       lw,
       lh,
       {"#ffadad", "#ffd6a5", "#fdffb6", "#caffbf"}},
      // Geometric patterns.
      {"Fonds/Motifs",
       "fond_motif_polygones_bleu",
       LowPoly,
       aw,
       ah,
       {"#dbe9f6", "#a9cbea", "#6e9fd1", "#3f6fae"}},
      {"Fonds/Motifs",
       "fond_motif_polygones_corail",
       LowPoly,
       sq,
       sq,
       {"#ffe5d9", "#ffcad4", "#f4978e", "#f08080"}},
      {"Fonds/Motifs",
       "fond_motif_hexagones",
       Hexagons,
       aw,
       ah,
       {"#f7f7f2", "#f6bd60", "#84a59d", "#f28482", "#f5cac3"}},
      {"Fonds/Motifs",
       "fond_motif_hexagones_nuit_carre",
       Hexagons,
       sq,
       sq,
       {"#1f2937", "#0ea5e9", "#6366f1", "#14b8a6"}},
      {"Fonds/Motifs",
       "fond_motif_chevrons",
       Chevrons,
       aw,
       ah,
       {"#ffffff", "#e9edc9", "#ccd5ae", "#fefae0", "#d4a373"}},
      {"Fonds/Motifs",
       "fond_motif_chevrons_marine_carre",
       Chevrons,
       sq,
       sq,
       {"#ffffff", "#1d3557", "#f1faee", "#a8dadc", "#f1faee"}},
      {"Fonds/Motifs",
       "fond_motif_terrazzo",
       Terrazzo,
       aw,
       ah,
       {"#f4efe9", "#e07a5f", "#3d405b", "#81b29a", "#f2cc8f"}},
      {"Fonds/Motifs",
       "fond_motif_memphis",
       Memphis,
       aw,
       ah,
       {"#fdf6ec", "#ff6b6b", "#4ecdc4", "#ffe66d", "#1a535c"}},
      {"Fonds/Motifs",
       "fond_motif_memphis_carre",
       Memphis,
       sq,
       sq,
       {"#f0f4ff", "#7b2cbf", "#ff9e00", "#00bbf9", "#f15bb5"}},
      {"Fonds/Motifs",
       "fond_motif_vagues",
       Waves,
       aw,
       ah,
       {"#fff8f0", "#ffd6a5", "#ffadad", "#a0c4ff", "#9bf6ff"}},
      {"Fonds/Motifs", "fond_motif_art_deco", ArtDeco, aw, ah, {"#14213d", "#d4af37"}},
      {"Fonds/Motifs", "fond_motif_art_deco_vert_carre", ArtDeco, sq, sq, {"#0b3d2e", "#e0c080"}},
      {"Fonds/Motifs",
       "fond_motif_arcs_boheme",
       Arcs,
       aw,
       ah,
       {"#f6eee3", "#e5989b", "#b5838d", "#ffb4a2", "#6d6875"}},
      {"Fonds/Motifs",
       "fond_motif_arcs_boheme_paysage",
       Arcs,
       lw,
       lh,
       {"#f2efe6", "#d4a373", "#ccd5ae", "#e9edc9", "#a98467"}},
      // Seasons and occasions.
      {"Fonds/Saisons",
       "fond_saison_printemps",
       Spring,
       aw,
       ah,
       {"#e3f2fd", "#f8bbd0", "#ffffff", "#6d4c41", "#ffd54f"}},
      {"Fonds/Saisons",
       "fond_saison_printemps_carre",
       Spring,
       sq,
       sq,
       {"#f1f8e9", "#f48fb1", "#fce4ec", "#5d4037", "#ffeb3b"}},
      {"Fonds/Saisons",
       "fond_saison_ete",
       Summer,
       aw,
       ah,
       {"#4fc3f7", "#b3e5fc", "#4dd0e1", "#00838f", "#fff59d"}},
      {"Fonds/Saisons",
       "fond_saison_automne",
       Autumn,
       aw,
       ah,
       {"#fdf3e7", "#d35400", "#e67e22", "#c0392b", "#f1c40f", "#8e5b3a"}},
      {"Fonds/Saisons",
       "fond_saison_automne_carre",
       Autumn,
       sq,
       sq,
       {"#f7efe5", "#bc6c25", "#dda15e", "#9c2a1b", "#606c38"}},
      {"Fonds/Saisons", "fond_saison_hiver", Winter, aw, ah, {"#1e3a5f", "#7aa6d6", "#ffffff"}},
      {"Fonds/Saisons", "fond_saison_hiver_carre", Winter, sq, sq, {"#dbe9f4", "#a7c5e3", "#ffffff"}},
      {"Fonds/Saisons", "fond_saison_noel", Christmas, aw, ah, {"#a4161a", "#0b5d3b", "#f6d365", "#ffffff"}},
      {"Fonds/Saisons",
       "fond_saison_noel_vert_carre",
       Christmas,
       sq,
       sq,
       {"#123524", "#2d6a4f", "#f4d35e", "#ffffff"}},
      {"Fonds/Saisons",
       "fond_saison_paques",
       Easter,
       aw,
       ah,
       {"#fffaf0", "#ffcad4", "#b5ead7", "#c7ceea", "#ffdac1", "#e2f0cb"}},
      {"Fonds/Saisons", "fond_saison_halloween", Night, aw, ah, {"#2b1145", "#e85d04", "#fff3b0", "#ffe8a3"}},
      {"Fonds/Saisons",
       "fond_saison_nouvel_an",
       Confetti,
       aw,
       ah,
       {"#0d1b2a", "#d4af37", "#f1e3a0", "#c0c0c0", "#ffffff"}},
      // Children.
      {"Fonds/Enfants",
       "fond_enfant_ballons",
       Balloons,
       aw,
       ah,
       {"#cdeffd", "#ff595e", "#ffca3a", "#8ac926", "#1982c4", "#6a4c93"}},
      {"Fonds/Enfants",
       "fond_enfant_ballons_carre",
       Balloons,
       sq,
       sq,
       {"#fde2e4", "#f28482", "#84a59d", "#f6bd60", "#90dbf4"}},
      {"Fonds/Enfants",
       "fond_enfant_arc_en_ciel",
       Rainbow,
       aw,
       ah,
       {"#bde0fe", "#ff6b6b", "#ffa94d", "#ffd43b", "#69db7c", "#4dabf7", "#9775fa"}},
      {"Fonds/Enfants",
       "fond_enfant_arc_en_ciel_pastel_carre",
       Rainbow,
       sq,
       sq,
       {"#fdf6ec", "#ffadad", "#ffd6a5", "#fdffb6", "#caffbf", "#9bf6ff", "#bdb2ff"}},
      {"Fonds/Enfants",
       "fond_enfant_nuit_etoilee",
       Night,
       aw,
       ah,
       {"#1a2a6c", "#3b5998", "#fff3b0", "#ffffff"}},
      {"Fonds/Enfants",
       "fond_enfant_pois",
       Dots,
       aw,
       ah,
       {"#ffffff", "#ff8fab", "#7bdff2", "#b2f7ef", "#f7d6e0", "#f2b5d4"}},
      {"Fonds/Enfants",
       "fond_enfant_pois_carre",
       Dots,
       sq,
       sq,
       {"#fffbea", "#ffb703", "#219ebc", "#8ecae6", "#fb8500"}},
      {"Fonds/Enfants",
       "fond_enfant_fanions",
       Bunting,
       aw,
       ah,
       {"#fffdf7", "#e63946", "#f4a261", "#2a9d8f", "#457b9d", "#e9c46a"}},
      {"Fonds/Enfants",
       "fond_enfant_fanions_paysage",
       Bunting,
       lw,
       lh,
       {"#f7fbff", "#ff99c8", "#fcf6bd", "#d0f4de", "#a9def9", "#e4c1f9"}},
      {"Fonds/Enfants",
       "fond_enfant_confettis",
       Confetti,
       aw,
       ah,
       {"#fffaf3", "#ff595e", "#ffca3a", "#8ac926", "#1982c4", "#6a4c93"}},
      // Wedding.
      {"Fonds/Mariage", "fond_mariage_ivoire_or", GoldFrame, aw, ah, {"#fbf7ef", "#b8924a"}},
      {"Fonds/Mariage", "fond_mariage_ivoire_or_carre", GoldFrame, sq, sq, {"#fdfaf4", "#c5a05a"}},
      {"Fonds/Mariage", "fond_mariage_ivoire_or_paysage", GoldFrame, lw, lh, {"#faf6ee", "#b08d57"}},
      {"Fonds/Mariage",
       "fond_mariage_roses",
       RoseCorners,
       aw,
       ah,
       {"#fffaf8", "#f4c2c2", "#e8a0a8", "#8fae8b"}},
      {"Fonds/Mariage",
       "fond_mariage_roses_carre",
       RoseCorners,
       sq,
       sq,
       {"#fdfbf7", "#f9dcc4", "#f4acb7", "#94a684"}},
      {"Fonds/Mariage", "fond_mariage_eucalyptus", Eucalyptus, aw, ah, {"#fbfbf8", "#8aa89a", "#b7cbbf"}},
      {"Fonds/Mariage",
       "fond_mariage_coeurs",
       Hearts,
       aw,
       ah,
       {"#fff5f7", "#f7a8b8", "#f4c4d0", "#e5989b", "#ffd6e0"}},
      {"Fonds/Mariage", "fond_mariage_dentelle", Lace, aw, ah, {"#f9f4ee", "#ffffff"}},
      {"Fonds/Mariage", "fond_mariage_dentelle_carre", Lace, sq, sq, {"#efe4dc", "#fdfbf9"}},
      // Music.
      {"Fonds/Musique",
       "fond_musique_portees",
       Staves,
       aw,
       ah,
       {"#fcfaf5", "#3d3d4e", "#3d3d4e", "#c0392b", "#2c3e50"}},
      {"Fonds/Musique",
       "fond_musique_portees_carre",
       Staves,
       sq,
       sq,
       {"#f5f0ff", "#5a4a8a", "#5a4a8a", "#9d4edd", "#3c096c"}},
      {"Fonds/Musique", "fond_musique_vinyle", Vinyl, aw, ah, {"#f7c59f", "#ef6f6c", "#2a9d8f"}},
      {"Fonds/Musique", "fond_musique_vinyle_carre", Vinyl, sq, sq, {"#d8e2dc", "#9d8189", "#e63946"}},
      {"Fonds/Musique",
       "fond_musique_egaliseur",
       Equalizer,
       aw,
       ah,
       {"#0f0c29", "#302b63", "#00f5d4", "#f15bb5"}},
      {"Fonds/Musique",
       "fond_musique_egaliseur_carre",
       Equalizer,
       sq,
       sq,
       {"#0b0b12", "#1f1f3a", "#fee440", "#f15bb5"}},
      {"Fonds/Musique",
       "fond_musique_ondes",
       SoundWaves,
       aw,
       ah,
       {"#10002b", "#240046", "#48cae4", "#c77dff"}},
      {"Fonds/Musique",
       "fond_musique_ondes_paysage",
       SoundWaves,
       lw,
       lh,
       {"#03071e", "#1b263b", "#ffba08", "#e85d04"}},
      {"Fonds/Musique",
       "fond_musique_scene",
       Stage,
       aw,
       ah,
       {"#0a0a14", "#1d1030", "#ff006e", "#8338ec", "#3a86ff", "#ffbe0b"}},
      {"Fonds/Musique", "fond_musique_clavier", Keys, aw, ah, {"#f8f4ec", "#2b2d42", "#d90429"}},
      // Nature colours.
      {"Fonds/Nature", "fond_nature_foret", Forest, aw, ah, {"#dfe8e1", "#a3b8a8", "#1f3d2b"}},
      {"Fonds/Nature", "fond_nature_foret_paysage", Forest, lw, lh, {"#e4ecf2", "#9fb4c7", "#23354a"}},
      {"Fonds/Nature", "fond_nature_ocean", Ocean, aw, ah, {"#0a9396", "#005f73", "#94d2bd"}},
      {"Fonds/Nature", "fond_nature_ocean_carre", Ocean, sq, sq, {"#48cae4", "#023e8a", "#caf0f8"}},
      {"Fonds/Nature",
       "fond_nature_coucher_soleil",
       Sunset,
       aw,
       ah,
       {"#2d1e4f", "#b5466b", "#f28f3b", "#ffd58a", "#fff3c4"}},
      {"Fonds/Nature",
       "fond_nature_coucher_soleil_carre",
       Sunset,
       sq,
       sq,
       {"#1e2a5a", "#7b3f8c", "#e86f68", "#fbb87c", "#fff0c9"}},
      {"Fonds/Nature",
       "fond_nature_prairie",
       Meadow,
       aw,
       ah,
       {"#d6ecfa", "#6a994e", "#a7c957", "#ffffff", "#f28482", "#ffd6ff"}},
      {"Fonds/Nature", "fond_nature_dunes", Dunes, aw, ah, {"#f4d6b0", "#e8b07a", "#b8693d"}},
      {"Fonds/Nature", "fond_nature_dunes_paysage", Dunes, lw, lh, {"#fbe7c6", "#f2b880", "#c26a47"}},
      {"Fonds/Nature",
       "fond_nature_feuillage",
       Foliage,
       aw,
       ah,
       {"#f4f1e8", "#2d6a4f", "#40916c", "#52b788", "#74c69d"}},
      {"Fonds/Nature",
       "fond_nature_feuillage_carre",
       Foliage,
       sq,
       sq,
       {"#eef4ed", "#386641", "#6a994e", "#a7c957", "#bc4749"}},
      // Business: cards, letterheads.
      {"Fonds/Affaires",
       "fond_affaires_bandes_bleu",
       CornerBands,
       lw,
       lh,
       {"#ffffff", "#1d4e89", "#3a86c8", "#9cc5e8"}},
      {"Fonds/Affaires",
       "fond_affaires_bandes_vert_carte",
       CornerBands,
       cw,
       ch,
       {"#ffffff", "#2a9d8f", "#8ac9b8", "#264653"}},
      {"Fonds/Affaires",
       "fond_affaires_bandes_corail_carte",
       CornerBands,
       cw,
       ch,
       {"#fffdfb", "#e76f51", "#f4a261", "#2b2d42"}},
      {"Fonds/Affaires",
       "fond_affaires_bande_laterale",
       SideStripe,
       aw,
       ah,
       {"#ffffff", "#14213d", "#1d4e89", "#fca311"}},
      {"Fonds/Affaires",
       "fond_affaires_bande_laterale_carte",
       SideStripe,
       cw,
       ch,
       {"#ffffff", "#5e548e", "#9f86c0", "#e0b1cb"}},
      {"Fonds/Affaires", "fond_affaires_courbes", Swoosh, aw, ah, {"#ffffff", "#0077b6", "#90e0ef"}},
      {"Fonds/Affaires", "fond_affaires_courbes_carte", Swoosh, cw, ch, {"#fbfbfd", "#6a4c93", "#f15bb5"}},
      {"Fonds/Affaires", "fond_affaires_trame", HalftoneCorner, aw, ah, {"#ffffff", "#ef476f", "#ffd166"}},
      {"Fonds/Affaires",
       "fond_affaires_trame_carte",
       HalftoneCorner,
       cw,
       ch,
       {"#ffffff", "#118ab2", "#06d6a0"}},
      {"Fonds/Affaires",
       "fond_affaires_entete",
       Header,
       aw,
       ah,
       {"#ffffff", "#264653", "#2a9d8f", "#e9c46a", "#f4a261"}},
      {"Fonds/Affaires",
       "fond_affaires_entete_gris",
       Header,
       aw,
       ah,
       {"#ffffff", "#495057", "#adb5bd", "#6c757d", "#dee2e6"}},
      {"Fonds/Affaires", "fond_affaires_noir_or_carte", DarkElegant, cw, ch, {"#1b1b1f", "#c9a45c"}},
      {"Fonds/Affaires", "fond_affaires_marine_or", DarkElegant, aw, ah, {"#14213d", "#d4af37"}},
      // Disc designs.
      {"Fonds/Disques", "fond_disque_soleil", Sunburst, ds, ds, {"#f77f00", "#fcbf49", "#fff3c4"}},
      {"Fonds/Disques", "fond_disque_soleil_bleu", Sunburst, ds, ds, {"#023e8a", "#0077b6", "#90e0ef"}},
      {"Fonds/Disques",
       "fond_disque_anneaux",
       Rings,
       ds,
       ds,
       {"#f1faee", "#e63946", "#f1faee", "#a8dadc", "#457b9d", "#1d3557"}},
      {"Fonds/Disques",
       "fond_disque_anneaux_pastel",
       Rings,
       ds,
       ds,
       {"#fff", "#ffadad", "#ffd6a5", "#fdffb6", "#caffbf", "#9bf6ff", "#bdb2ff"}},
      {"Fonds/Disques",
       "fond_disque_tournesol",
       Phyllotaxis,
       ds,
       ds,
       {"#1a1423", "#ffbe0b", "#fb5607", "#ff006e", "#8338ec"}},
      {"Fonds/Disques",
       "fond_disque_tournesol_vert",
       Phyllotaxis,
       ds,
       ds,
       {"#f8f9fa", "#2d6a4f", "#52b788", "#b7e4c7", "#d8f3dc"}},
      {"Fonds/Disques", "fond_disque_points", DotWaves, ds, ds, {"#0b132b", "#5bc0be", "#f5f3f4"}},
      {"Fonds/Disques", "fond_disque_points_rose", DotWaves, ds, ds, {"#fff0f3", "#ff4d6d", "#ffb3c1"}},
      {"Fonds/Disques",
       "fond_disque_kaleidoscope",
       Kaleidoscope,
       ds,
       ds,
       {"#fdf0d5", "#c1121f", "#669bbc", "#003049", "#780000"}},
      {"Fonds/Disques",
       "fond_disque_kaleidoscope_menthe",
       Kaleidoscope,
       ds,
       ds,
       {"#f0fff4", "#74c69d", "#40916c", "#b7e4c7", "#1b4332"}},
      // Birth.
      {"Fonds/Naissance", "fond_naissance_bleu", BabySky, aw, ah, {"#cfe6f7", "#f6d365", "#8aa5c9"}},
      {"Fonds/Naissance", "fond_naissance_rose", BabySky, aw, ah, {"#f9d9e2", "#f6d365", "#c99aab"}},
      {"Fonds/Naissance", "fond_naissance_vert_carre", BabySky, sq, sq, {"#d8efe4", "#f6d365", "#8fb8a3"}},
      {"Fonds/Naissance", "fond_naissance_lilas_paysage", BabySky, lw, lh, {"#e6def5", "#f6d365", "#a394c4"}},
  };
  for (const Theme& t : themes) {
    const Palette pal = P(t.palette);
    const auto draw = t.draw;
    const int w = t.w, h = t.h;
    const uint32_t s = NameSeed(t.name);
    library.push_back({QString::fromLatin1(t.folder), QString::fromLatin1(t.name) + QStringLiteral(".jpg"),
                       [=] { return draw(w, h, pal, s); }});
  }
}

}  // namespace pictures
