#include "templates/style.h"

#include <cmath>

namespace tpl {

const std::vector<Theme>& Themes() {
  static const std::vector<Theme> themes = {
      {QStringLiteral("Nuit"), Hex(0x14213D), Hex(0xF5F1E6), Hex(0xE9B949), Hex(0x5C7AEA), Hex(0x2A3B66),
       Hex(0x14213D), kSerif, kSans, 0, Motif::Stars},
      {QStringLiteral("Ocean"), Hex(0xF4EDE1), Hex(0x16414F), Hex(0x0E7C86), Hex(0xF28C6B), Hex(0xCFE6E3),
       Hex(0xFFFFFF), kDisplay, kSans, 0, Motif::Waves},
      {QStringLiteral("Foret"), Hex(0xF3EFE3), Hex(0x263A2B), Hex(0x2F5D3A), Hex(0xC98B2B), Hex(0xDCE5D2),
       Hex(0xF3EFE3), kSerif, kSans, 0, Motif::Leaves},
      {QStringLiteral("Neon"), Hex(0x161616), Hex(0xF2F2F2), Hex(0xE0387A), Hex(0x2EC4D6), Hex(0x2A2A2A),
       Hex(0xFFFFFF), kDeja, kDeja, fsBold, Motif::Circles},
      {QStringLiteral("Pastel"), Hex(0xFBF3F0), Hex(0x5B4A66), Hex(0xE8A0A8), Hex(0x8FC1B5), Hex(0xF6DCDD),
       Hex(0xFFFFFF), kScript, kSans, 0, Motif::Dots},
      {QStringLiteral("Terre"), Hex(0xF5E9DA), Hex(0x3C2A21), Hex(0xB5543C), Hex(0xD9A441), Hex(0xEBD3BE),
       Hex(0xF5E9DA), kSerif, kSans, 0, Motif::Triangles},
      {QStringLiteral("Epure"), Hex(0xFFFFFF), Hex(0x222222), Hex(0xC8102E), Hex(0x8A8A8A), Hex(0xF1F1F1),
       Hex(0xFFFFFF), kSans, kSans, fsBold, Motif::Lines},
      {QStringLiteral("Retro"), Hex(0xEFE4CF), Hex(0x2D4B5A), Hex(0xD1603D), Hex(0x2D4B5A), Hex(0xE3D3B3),
       Hex(0xEFE4CF), kDisplay, kSerif, 0, Motif::Bands},
      {QStringLiteral("Fete"), Hex(0xFFFFFF), Hex(0x3A2E5C), Hex(0xF2A541), Hex(0xE4577B), Hex(0xFDF0D9),
       Hex(0xFFFFFF), kDisplay, kSans, 0, Motif::Confetti},
      {QStringLiteral("Tendre"), Hex(0xFFF8F3), Hex(0x7A3E48), Hex(0xD66D75), Hex(0xF3B9A5), Hex(0xFBE3E0),
       Hex(0xFFFFFF), kScript, kSerif, 0, Motif::Hearts},
  };
  return themes;
}

const Theme& ThemeNamed(const QString& name) {
  for (const Theme& t : Themes())
    if (t.name == name) return t;
  return Themes().front();
}

namespace {

// Straight segments as Bézier triples.
QVector<QPointF> Straight(const QVector<QPointF>& pts) {
  QVector<QPointF> b;
  for (int i = 0; i < pts.size(); ++i) {
    if (i > 0) b << pts[i - 1] << pts[i];
    b << pts[i];
  }
  return b;
}

// Small deterministic sequence so that regenerated templates stay identical.
struct Sequence {
  explicit Sequence(int seed) : state(uint32_t(seed) * 2654435761u + 12345u) {}
  double Next() {
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 24);
  }
  uint32_t state;
};

}  // namespace

QVector<QPointF> StarPoints(int branches, double inner) {
  QVector<QPointF> pts;
  for (int i = 0; i <= 2 * branches; ++i) {
    const double a = -M_PI / 2 + i * M_PI / branches;
    const double r = (i % 2 ? inner : 1.0) * 50;
    pts << QPointF(50 + r * std::cos(a), 52 + r * std::sin(a));
  }
  return Straight(pts);
}

QVector<QPointF> LeafPoints() {
  return {{0, 50}, {25, 5}, {70, 0}, {100, 50}, {70, 100}, {25, 95}, {0, 50}};
}

QVector<QPointF> HeartPoints() {
  return {{50, 28}, {50, 5}, {95, 0}, {97, 32}, {100, 60}, {62, 80}, {50, 100},
          {38, 80}, {0, 60}, {3, 32}, {5, 0},   {50, 5},   {50, 28}};
}

QVector<QPointF> DropPoints() {
  return {{50, 0},   {60, 30}, {100, 50}, {100, 72}, {100, 95}, {75, 100}, {50, 100},
          {25, 100}, {0, 95},  {0, 72},   {0, 50},   {40, 30},  {50, 0}};
}

void Waves(Doc& d, QRectF a, double level, TColor back, TColor front) {
  const double y0 = a.top() + a.height() * level;
  const double amp = a.height() * 0.06;
  const double w = a.width();
  auto band = [&](double y, double phase, TColor c) {
    QVector<QPointF> p{{a.left(), y}};
    const int n = 3;
    for (int i = 0; i < n; ++i) {
      const double x1 = a.left() + w * i / n, x2 = a.left() + w * (i + 1) / n;
      const double s = (i % 2 ? -1 : 1) * phase;
      p << QPointF(x1 + (x2 - x1) / 3, y - amp * s) << QPointF(x1 + 2 * (x2 - x1) / 3, y - amp * s)
        << QPointF(x2, y);
    }
    p << QPointF(a.right(), y) << QPointF(a.right(), a.bottom()) << QPointF(a.right(), a.bottom());
    p << QPointF(a.right(), a.bottom()) << QPointF(a.left(), a.bottom()) << QPointF(a.left(), a.bottom());
    p << QPointF(a.left(), a.bottom()) << QPointF(a.left(), y) << QPointF(a.left(), y);
    d.Bezier(p, c, 0.1, c);
  };
  band(y0, 1, back);
  band(y0 + a.height() * 0.12, -1, front);
}

void DrawMotif(Doc& d, const Theme& t, Motif m, QRectF a, double s, int seed) {
  Sequence rnd(seed);
  auto inside = [&](double size) {
    const double x = a.left() + size / 2 + rnd.Next() * std::max(0.0, a.width() - size);
    const double y = a.top() + size / 2 + rnd.Next() * std::max(0.0, a.height() - size);
    return QPointF(x, y);
  };
  switch (m) {
    case Motif::Stars: {
      // A sky's worth of stars for the area, never fewer than seven.
      const int stars = std::max(7, int(a.width() * a.height() / (900 * s * s)));
      for (int i = 0; i < stars; ++i) {
        const double size = s * (3 + 5 * rnd.Next());
        const QPointF c = inside(size);
        d.Shape(c.x() - size / 2, c.y() - size / 2, size, size, StarPoints(), 100, 100,
                i % 3 ? t.accent : t.accent2, kNone, 0, 0);
      }
      for (int i = 0; i < stars + 5; ++i) {
        const QPointF c = inside(s);
        d.Circle(c.x(), c.y(), s * (0.25 + 0.3 * rnd.Next()), t.accent);
      }
      break;
    }
    case Motif::Waves:
      Waves(d, a, 0.55, t.accent2, t.accent);
      break;
    case Motif::Leaves: {
      const QPointF from(a.left() + a.width() * 0.1, a.bottom() - a.height() * 0.1);
      const QPointF to(a.right() - a.width() * 0.1, a.top() + a.height() * 0.15);
      d.Bezier({from, QPointF(from.x() + a.width() * 0.3, from.y()),
                QPointF(to.x() - a.width() * 0.2, to.y() + a.height() * 0.3), to},
               t.accent, 0.6 * s);
      const double leaf = std::min(a.width(), a.height()) * 0.38;
      for (int i = 0; i < 5; ++i) {
        const double k = 0.15 + 0.18 * i;
        const QPointF c(from.x() + (to.x() - from.x()) * k, from.y() + (to.y() - from.y()) * k);
        const double size = leaf * (1 - 0.1 * i);
        const double angle = (i % 2 ? -40 : 220) + 10 * rnd.Next();
        const double cx = std::clamp(c.x(), a.left() + size / 2, a.right() - size / 2);
        const double cy =
            std::clamp(c.y() + (i % 2 ? -size / 4 : size / 4), a.top() + size / 2, a.bottom() - size / 2);
        d.Shape(cx - size / 2, cy - size * 0.2, size, size * 0.4, LeafPoints(), 100, 100,
                i % 2 ? t.accent : t.accent2, kNone, 0, angle);
      }
      break;
    }
    case Motif::Circles: {
      const double r = std::min(a.width(), a.height()) / 2;
      const QPointF c(a.right() - r, a.top() + r);
      for (int i = 0; i < 4; ++i)
        d.Circle(c.x(), c.y(), r * (1 - 0.22 * i), kNone, i % 2 ? t.accent2 : t.accent, 0.5 * s);
      d.Circle(c.x(), c.y(), r * 0.2, t.accent);
      d.Circle(a.left() + r * 0.35, a.bottom() - r * 0.35, r * 0.3, t.accent2);
      break;
    }
    case Motif::Bands: {
      const double h = a.height() / 9;
      d.Box(a.left(), a.bottom() - 3 * h, a.width(), h, t.accent);
      d.Box(a.left(), a.bottom() - 2 * h, a.width(), h, t.soft);
      d.Box(a.left(), a.bottom() - h, a.width(), h, t.accent2);
      break;
    }
    case Motif::Triangles: {
      const int n = std::max(3, int(a.width() / (12 * s)));
      const double w = a.width() / n;
      for (int i = 0; i < n; ++i)
        d.Box(a.left() + i * w, a.bottom() - w * 0.9, w, w * 0.9,
              i % 3 == 0   ? t.accent
              : i % 3 == 1 ? t.accent2
                           : t.soft,
              kNone, 0, 3);
      break;
    }
    case Motif::Dots: {
      const double step = 7 * s;
      int k = 0;
      for (double y = a.top() + step / 2; y < a.bottom() - step / 3; y += step)
        for (double x = a.left() + step / 2; x < a.right() - step / 3; x += step, ++k)
          if ((k * 7 + seed) % 3 == 0) d.Circle(x, y, step * 0.18, k % 2 ? t.accent : t.accent2);
      break;
    }
    case Motif::Lines: {
      // A block of rules of falling length, set flush left like a typographic ornament.
      const double cy = a.center().y(), gap = 2.2 * s;
      for (int i = 0; i < 5; ++i)
        d.Box(a.left(), cy + (i - 2) * gap, a.width() * (0.9 - 0.15 * i), 0.7 * s,
              i == 0 ? t.accent : t.accent2);
      break;
    }
    case Motif::Hearts: {
      for (int i = 0; i < 6; ++i) {
        const double size = s * (4 + 5 * rnd.Next());
        const QPointF c = inside(size);
        d.Shape(c.x() - size / 2, c.y() - size / 2, size, size * 0.9, HeartPoints(), 100, 100,
                i % 2 ? t.accent : t.accent2, kNone, 0, -15 + 30 * rnd.Next());
      }
      break;
    }
    case Motif::Confetti: {
      const TColor colours[] = {t.accent, t.accent2, Hex(0x4FB0C6), Hex(0x7BC47F), t.ink};
      for (int i = 0; i < 22; ++i) {
        const double size = s * (1.2 + 1.5 * rnd.Next());
        const QPointF c = inside(size * 2.2);
        const TColor col = colours[i % 5];
        if (i % 3 == 0)
          d.Circle(c.x(), c.y(), size / 2, col);
        else
          d.Box(c.x() - size, c.y() - size / 3, size * 2, size * 0.66, col, kNone, 0, 4, 180 * rnd.Next());
      }
      break;
    }
  }
}

}  // namespace tpl
