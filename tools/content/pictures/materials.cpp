// Textures (paper, fabric, wood, stone …) and scrapbook papers: square pictures that fill a page or
// a shape. Textures are computed pixel by pixel from lattice noise; papers are printed patterns on a
// faintly uneven paper tone.
#include <QtMath>
#include <cmath>

#include "pictures/art.h"
#include "pictures/library.h"

namespace pictures {
namespace {

constexpr int kTexture = 1200;

inline int C(double v) {
  return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}
inline QRgb Tone(const QColor& c, double k) {
  return qRgb(C(c.red() * k), C(c.green() * k), C(c.blue() * k));
}
inline QRgb MixRgb(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return qRgb(C(a.red() + (b.red() - a.red()) * t), C(a.green() + (b.green() - a.green()) * t),
              C(a.blue() + (b.blue() - a.blue()) * t));
}
inline float Frac(float v) {
  return v - std::floor(v);
}

// Paper with fibres: a broad unevenness plus short fibres in both directions.
QImage Paper(const QColor& base, double strength, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double broad = Fbm(x / 180.0f, y / 180.0f, 3, seed) - 0.5;
    const double fibres =
        (ValueNoise(x / 2.0f, y / 14.0f, seed + 1) + ValueNoise(x / 14.0f, y / 2.0f, seed + 2)) * 0.5 - 0.5;
    return Tone(base, 1.0 + strength * (broad * 0.08 + fibres * 0.05));
  });
  return im;
}

QImage Kraft(uint32_t seed) {
  const QColor base = Hex("#b98d5f");
  QImage im = Paper(base, 1.6, seed);
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  for (int i = 0; i < 1400; ++i) {
    const QPointF a(rng.Range(0, kTexture), rng.Range(0, kTexture));
    const double len = rng.Range(3, 14), ang = rng.Range(0, M_PI);
    p.setPen(
        QPen(rng.Chance(0.5) ? QColor(120, 84, 50, 110) : QColor(222, 190, 150, 110), rng.Range(0.6, 1.4)));
    p.drawLine(a, a + QPointF(std::cos(ang) * len, std::sin(ang) * len));
  }
  return im;
}

QImage Weave(const QColor& base, double period, double coarse, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double warp = ValueNoise(x / 1.5f, y / 40.0f, seed) - 0.5,
                 weft = ValueNoise(x / 40.0f, y / 1.5f, seed + 1) - 0.5;
    const double tx = 0.5 + 0.5 * std::sin(2 * M_PI * x / period),
                 ty = 0.5 + 0.5 * std::sin(2 * M_PI * y / period);
    const bool over = (int(x / period) + int(y / period)) % 2;
    const double thread = over ? tx * 0.6 + warp : ty * 0.6 + weft;
    const double broad = Fbm(x / 250.0f, y / 250.0f, 3, seed + 3) - 0.5;
    return Tone(base, 1.0 + coarse * (thread * 0.09 - 0.03) + broad * 0.06);
  });
  return im;
}

// Planks sawn from a log: growth rings are the distance to the pith, which lies beside the plank and
// drifts along it, so that rings show as long arches; fine pores run along the grain.
QImage Wood(const QColor& light, const QColor& dark, int planks, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, light);
  const double pw = double(kTexture) / planks;
  std::vector<double> pith(planks), depth(planks), slope(planks), shift(planks);
  Rng rng(seed);
  for (int k = 0; k < planks; ++k) {
    pith[k] = pw * rng.Range(-0.3, 1.3);
    depth[k] = pw * rng.Range(0.4, 1.6);
    slope[k] = rng.Range(-0.12, 0.12);
    shift[k] = rng.Range(0, kTexture);
  }
  const double ring = pw / 9.0;
  Shade(im, [&](int x, int y, QRgb) {
    const int k = std::min(planks - 1, int(x / pw));
    const double ox = x - k * pw;
    const double yy = y + shift[k];
    const double warp =
        (Fbm(float(ox) / 70.0f + k * 9.0f, float(yy) / 420.0f, 4, seed + 3) - 0.5) * ring * 3.0;
    const double r = std::hypot(ox - pith[k] + warp, depth[k] + (yy - kTexture) * slope[k]);
    const double t = r / ring - std::floor(r / ring);
    const double late = std::pow(t, 5.0);
    const double pores = ValueNoise(float(ox) / 1.3f + k * 50.0f, float(yy) / 70.0f, seed + 7);
    double v = 0.2 + 0.55 * late + 0.25 * pores +
               0.15 * (Fbm(float(x) / 260.0f, float(y) / 260.0f, 2, seed + 9) - 0.5);
    if (ox < 2.0 || ox > pw - 1.0) v = 1.2;  // the joint between planks
    return MixRgb(light, dark, v * 0.85);
  });
  return im;
}

QImage Marble(const QColor& base, const QColor& vein, double density, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double turb = Fbm(x / 260.0f, y / 260.0f, 6, seed) * 9.0;
    const double v = std::abs(std::sin(x * 0.004 * density + y * 0.0025 * density + turb));
    const double thin =
        std::abs(std::sin(x * 0.002 - y * 0.006 + Fbm(x / 140.0f, y / 140.0f, 5, seed + 5) * 12.0));
    const double cloud = Fbm(x / 400.0f, y / 400.0f, 3, seed + 11) - 0.5;
    double t = std::pow(1.0 - v, 14.0) * 0.8 + std::pow(1.0 - thin, 40.0) * 0.5;
    const QRgb b = Tone(base, 1.0 + cloud * 0.06);
    return MixRgb(QColor(b), vein, std::min(1.0, t));
  });
  return im;
}

QImage Stone(const QColor& base, double specks, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double n = Fbm(x / 160.0f, y / 160.0f, 6, seed) - 0.5;
    const double grit = ValueNoise(x / 1.6f, y / 1.6f, seed + 3) - 0.5;
    const double pit = ValueNoise(x / 3.0f, y / 3.0f, seed + 4);
    double k = 1.0 + n * 0.28 + grit * 0.07 * specks;
    if (pit > 0.985 - 0.01 * specks) k -= 0.25;
    return Tone(base, k);
  });
  return im;
}

QImage Slate(uint32_t seed) {
  const QColor base = Hex("#4a535c");
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double layers = Fbm(x / 300.0f, y / 40.0f, 5, seed) - 0.5;
    const double grit = ValueNoise(x / 1.8f, y / 1.8f, seed + 1) - 0.5;
    return Tone(base, 1.0 + layers * 0.35 + grit * 0.05);
  });
  return im;
}

// Pebbled grain: cells around jittered points (the gap between the nearest and second nearest point
// is small along the creases), with a broad unevenness of the hide.
QImage Leather(const QColor& base, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, base);
  const double cell = 16.0;
  Rng rng(seed);
  const int n = int(kTexture / cell) + 3;
  std::vector<QPointF> points(size_t(n) * n);
  for (QPointF& pt : points) pt = QPointF(rng.Range(0.1, 0.9), rng.Range(0.1, 0.9));
  Shade(im, [&](int x, int y, QRgb) {
    const double fx = x / cell, fy = y / cell;
    const int cx = int(fx), cy = int(fy);
    double f1 = 1e9, f2 = 1e9;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        const int gx = cx + i + 1, gy = cy + j + 1;
        const QPointF& pt = points[size_t(gy) * n + gx];
        const double d = std::hypot(cx + i + pt.x() - fx, cy + j + pt.y() - fy);
        if (d < f1) {
          f2 = f1;
          f1 = d;
        } else if (d < f2)
          f2 = d;
      }
    const double pebble = std::clamp((f2 - f1) / 0.35, 0.0, 1.0);
    const double dome = 1.0 - std::min(1.0, f1 * 1.2);
    const double broad = Fbm(x / 300.0f, y / 300.0f, 3, seed + 2) - 0.5;
    return Tone(base, 0.78 + 0.16 * std::sqrt(pebble) + 0.08 * dome + broad * 0.18);
  });
  return im;
}

QImage Denim(uint32_t seed) {
  const QColor deep = Hex("#2b4a7a"), pale = Hex("#8aa5c9");
  QImage im = NewImage(kTexture, kTexture, deep);
  Shade(im, [&](int x, int y, QRgb) {
    const double twill = ((x + y) % 6 < 3) ? 0.0 : 0.35;
    const double slub = ValueNoise(x / 80.0f, y / 1.5f, seed) * 0.45;
    const double fade = std::pow(Fbm(x / 350.0f, y / 350.0f, 4, seed + 1), 2.0);
    return MixRgb(deep, pale, twill * 0.5 + slub * 0.4 + fade * 0.6 - 0.1);
  });
  return im;
}

QImage Cork(uint32_t seed) {
  const QColor base = Hex("#c49a6c");
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double a = ValueNoise(x / 5.0f, y / 5.0f, seed), b = ValueNoise(x / 2.0f, y / 2.0f, seed + 1);
    const double c = Fbm(x / 60.0f, y / 60.0f, 3, seed + 2);
    double k = 1.0 + (c - 0.5) * 0.25;
    if (a < 0.18) k -= 0.35;
    if (b > 0.85) k += 0.12;
    return Tone(base, k);
  });
  return im;
}

QImage Sand(uint32_t seed) {
  const QColor base = Hex("#e6cfa4");
  QImage im = NewImage(kTexture, kTexture, base);
  Shade(im, [&](int x, int y, QRgb) {
    const double ripple = std::sin((y + Fbm(x / 200.0f, y / 200.0f, 4, seed) * 120.0) * 2 * M_PI / 45.0);
    const double grit = ValueNoise(x / 1.3f, y / 1.3f, seed + 1) - 0.5;
    return Tone(base, 1.0 + ripple * 0.05 + grit * 0.12);
  });
  return im;
}

QImage Parchment(uint32_t seed) {
  const QColor base = Hex("#efe0bd");
  QImage im = Paper(base, 2.0, seed);
  Shade(im, [&](int x, int y, QRgb c) {
    const double stains = std::pow(Fbm(x / 220.0f, y / 220.0f, 5, seed + 4), 3.0);
    return qRgb(C(qRed(c) - stains * 60), C(qGreen(c) - stains * 70), C(qBlue(c) - stains * 80));
  });
  Vignette(im, 0.35);
  return im;
}

QImage Concrete(uint32_t seed) {
  QImage im = Stone(Hex("#b8b5ae"), 1.5, seed);
  Shade(im, [&](int x, int y, QRgb c) {
    const double blotch = Fbm(x / 90.0f, y / 90.0f, 4, seed + 8) - 0.5;
    return qRgb(C(qRed(c) * (1 + blotch * 0.12)), C(qGreen(c) * (1 + blotch * 0.12)),
                C(qBlue(c) * (1 + blotch * 0.12)));
  });
  return im;
}

// --- Scrapbook papers -----------------------------------------------------------------------

QImage PaperBase(const QColor& c, uint32_t seed) {
  QImage im = NewImage(kTexture, kTexture, c);
  Shade(im, [&](int x, int y, QRgb) {
    return Tone(c, 1.0 + (Fbm(x / 200.0f, y / 200.0f, 3, seed) - 0.5) * 0.06);
  });
  return im;
}

QImage Stripes(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double unit = kTexture / 24.0;
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 24; ++i) {
    const int k = i % 4;
    if (k == 0) continue;
    p.setBrush(WithAlpha(pal[1 + (k - 1) % (pal.size() - 1)], 210));
    p.drawRect(QRectF(i * unit, 0, unit * (k == 2 ? 0.35 : 0.8), kTexture));
  }
  return im;
}

QImage PolkaDots(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 12.0;
  p.setPen(Qt::NoPen);
  for (int j = 0; j < 13; ++j)
    for (int i = 0; i < 13; ++i) {
      p.setBrush(pal[1]);
      p.drawEllipse(QPointF(i * step + (j % 2 ? step / 2 : 0), j * step), step * 0.18, step * 0.18);
    }
  return im;
}

QImage Gingham(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 20.0;
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(pal[1], 110));
  for (int i = 0; i < 20; i += 2) {
    p.drawRect(QRectF(i * step, 0, step, kTexture));
    p.drawRect(QRectF(0, i * step, kTexture, step));
  }
  return im;
}

QImage NotebookGrid(const std::vector<QColor>& pal, uint32_t seed, bool lines) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 40.0;  // 5 mm at about 200 mm wide
  p.setPen(QPen(WithAlpha(pal[1], 150), 1.5));
  for (int i = 1; i < 40; ++i) {
    if (!lines) p.drawLine(QPointF(i * step, 0), QPointF(i * step, kTexture));
    if (!lines || i % 2 == 0) p.drawLine(QPointF(0, i * step), QPointF(kTexture, i * step));
  }
  if (lines) {
    p.setPen(QPen(WithAlpha(pal[2], 200), 2.5));
    p.drawLine(QPointF(step * 5, 0), QPointF(step * 5, kTexture));
  }
  return im;
}

QImage GraphPaper(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double mm = kTexture / 200.0;
  for (int i = 0; i <= 200; ++i) {
    const double w = i % 10 == 0 ? 2.0 : i % 5 == 0 ? 1.3 : 0.7;
    p.setPen(QPen(WithAlpha(pal[1], i % 10 == 0 ? 200 : 120), w));
    p.drawLine(QPointF(i * mm, 0), QPointF(i * mm, kTexture));
    p.drawLine(QPointF(0, i * mm), QPointF(kTexture, i * mm));
  }
  return im;
}

void SmallFlower(QPainter& p, QPointF c, double r, const QColor& petal, const QColor& heart) {
  p.setPen(Qt::NoPen);
  p.setBrush(petal);
  for (int k = 0; k < 5; ++k) {
    const double a = 2 * M_PI * k / 5;
    p.drawEllipse(c + QPointF(std::cos(a) * r * 0.55, std::sin(a) * r * 0.55), r * 0.45, r * 0.45);
  }
  p.setBrush(heart);
  p.drawEllipse(c, r * 0.28, r * 0.28);
}

QImage Floral(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  Rng rng(seed);
  const double step = kTexture / 8.0;
  for (int j = 0; j < 9; ++j)
    for (int i = 0; i < 9; ++i) {
      const QPointF c(i * step + (j % 2 ? step / 2 : 0), j * step);
      SmallFlower(p, c, step * 0.22, pal[1 + (i + j) % 2], pal[3]);
      p.setPen(Qt::NoPen);
      p.setBrush(pal[4]);
      for (int k = 0; k < 2; ++k) {
        p.save();
        p.translate(c + QPointF(step * 0.3, step * (k ? 0.25 : -0.2)));
        p.rotate(k ? 30 : -30);
        p.drawEllipse(QPointF(), step * 0.11, step * 0.05);
        p.restore();
      }
      p.setBrush(WithAlpha(pal[2], 160));
      p.drawEllipse(c + QPointF(step * 0.5, step * 0.5) + QPointF(rng.Range(-4, 4), rng.Range(-4, 4)),
                    step * 0.04, step * 0.04);
    }
  return im;
}

QImage Checker(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 12.0;
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(pal[1], 200));
  for (int j = 0; j < 12; ++j)
    for (int i = 0; i < 12; ++i)
      if ((i + j) % 2) p.drawRect(QRectF(i * step, j * step, step, step));
  return im;
}

QImage RepeatShape(const std::vector<QColor>& pal, uint32_t seed, bool hearts) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 10.0;
  p.setPen(Qt::NoPen);
  int k = 0;
  for (int j = 0; j < 11; ++j)
    for (int i = 0; i < 11; ++i, ++k) {
      const QPointF c(i * step + (j % 2 ? step / 2 : 0), j * step);
      p.setBrush(pal[1 + k % (pal.size() - 1)]);
      p.drawPath(hearts ? Heart(c, step * 0.32) : Star(c, step * 0.18, step * 0.075, 5));
    }
  return im;
}

QImage Damask(const std::vector<QColor>& pal, uint32_t seed) {
  QImage im = PaperBase(pal[0], seed);
  QPainter p;
  Begin(p, im);
  const double step = kTexture / 4.0;
  // One ornament: mirrored curls around a diamond, repeated on a half-drop grid.
  auto ornament = [&](QPointF c) {
    QPainterPath half;
    const double s = step * 0.42;
    half.moveTo(c + QPointF(0, -s));
    half.cubicTo(c + QPointF(s * 0.5, -s * 0.7), c + QPointF(s * 0.15, -s * 0.25),
                 c + QPointF(s * 0.55, -s * 0.1));
    half.cubicTo(c + QPointF(s * 0.95, 0), c + QPointF(s * 0.7, s * 0.5), c + QPointF(s * 0.4, s * 0.35));
    half.cubicTo(c + QPointF(s * 0.3, s * 0.6), c + QPointF(s * 0.2, s * 0.8), c + QPointF(0, s));
    QPainterPath full = half;
    full.addPath(QTransform::fromTranslate(c.x(), c.y()).scale(-1, 1).translate(-c.x(), -c.y()).map(half));
    p.setPen(QPen(pal[1], step * 0.025, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(full);
    p.setPen(Qt::NoPen);
    p.setBrush(pal[1]);
    const double d = step * 0.1;
    p.drawPolygon(QPolygonF(
        {c + QPointF(0, -d), c + QPointF(d * 0.7, 0), c + QPointF(0, d), c + QPointF(-d * 0.7, 0)}));
    p.drawEllipse(c + QPointF(0, -step * 0.42), step * 0.03, step * 0.03);
    p.drawEllipse(c + QPointF(0, step * 0.42), step * 0.03, step * 0.03);
  };
  for (int j = -1; j < 6; ++j)
    for (int i = -1; i < 6; ++i) ornament(QPointF(i * step + (j % 2 ? step / 2 : 0), j * step * 0.75));
  return im;
}

struct Item {
  const char* folder;
  const char* name;
  std::function<QImage(uint32_t)> draw;
};

std::vector<QColor> Pal(std::initializer_list<const char*> hex) {
  std::vector<QColor> p;
  for (const char* h : hex) p.push_back(Hex(h));
  return p;
}

}  // namespace

void AddMaterials(Library& library) {
  const std::vector<Item> items = {
      {"Textures", "texture_papier_blanc", [](uint32_t s) { return Paper(Hex("#f7f4ee"), 1.0, s); }},
      {"Textures", "texture_papier_creme", [](uint32_t s) { return Paper(Hex("#f3e9d2"), 1.2, s); }},
      {"Textures", "texture_kraft", [](uint32_t s) { return Kraft(s); }},
      {"Textures", "texture_parchemin", [](uint32_t s) { return Parchment(s); }},
      {"Textures", "texture_lin_naturel", [](uint32_t s) { return Weave(Hex("#d9cbb3"), 5.0, 1.0, s); }},
      {"Textures", "texture_toile_blanche", [](uint32_t s) { return Weave(Hex("#f1eee8"), 7.0, 0.7, s); }},
      {"Textures", "texture_jean", [](uint32_t s) { return Denim(s); }},
      {"Textures", "texture_bois_clair",
       [](uint32_t s) { return Wood(Hex("#e2c49a"), Hex("#a8774a"), 5, s); }},
      {"Textures", "texture_bois_fonce",
       [](uint32_t s) { return Wood(Hex("#8a5a3b"), Hex("#3d2416"), 4, s); }},
      {"Textures", "texture_bois_blanchi",
       [](uint32_t s) { return Wood(Hex("#eeeae3"), Hex("#b9b0a3"), 6, s); }},
      {"Textures", "texture_marbre_blanc",
       [](uint32_t s) { return Marble(Hex("#f4f3f1"), Hex("#8e8e94"), 1.0, s); }},
      {"Textures", "texture_marbre_noir",
       [](uint32_t s) { return Marble(Hex("#1f1f22"), Hex("#d8d3c8"), 0.8, s); }},
      {"Textures", "texture_marbre_rose",
       [](uint32_t s) { return Marble(Hex("#f3dcd6"), Hex("#b98b7f"), 1.2, s); }},
      {"Textures", "texture_pierre", [](uint32_t s) { return Stone(Hex("#a39e93"), 1.0, s); }},
      {"Textures", "texture_beton", [](uint32_t s) { return Concrete(s); }},
      {"Textures", "texture_ardoise", [](uint32_t s) { return Slate(s); }},
      {"Textures", "texture_cuir", [](uint32_t s) { return Leather(Hex("#7b4a2a"), s); }},
      {"Textures", "texture_liege", [](uint32_t s) { return Cork(s); }},
      {"Textures", "texture_sable", [](uint32_t s) { return Sand(s); }},
      {"Papiers", "papier_rayures_menthe",
       [](uint32_t s) {
         return Stripes(Pal({"#fbfaf6", "#9fd8cb", "#f7c8a0", "#cfe8e2"}), s);
       }},
      {"Papiers", "papier_rayures_rose",
       [](uint32_t s) {
         return Stripes(Pal({"#fffafa", "#f4b6c2", "#f9e0e5", "#c9c1e8"}), s);
       }},
      {"Papiers", "papier_pois_rouge",
       [](uint32_t s) {
         return PolkaDots(Pal({"#fbf6ee", "#d64545"}), s);
       }},
      {"Papiers", "papier_pois_marine",
       [](uint32_t s) {
         return PolkaDots(Pal({"#1f3a5f", "#f4efe4"}), s);
       }},
      {"Papiers", "papier_vichy_bleu",
       [](uint32_t s) {
         return Gingham(Pal({"#fdfdfb", "#5b8fd6"}), s);
       }},
      {"Papiers", "papier_vichy_rouge",
       [](uint32_t s) {
         return Gingham(Pal({"#fffdfa", "#d9454a"}), s);
       }},
      {"Papiers", "papier_vichy_vert",
       [](uint32_t s) {
         return Gingham(Pal({"#fbfdf8", "#6aa56a"}), s);
       }},
      {"Papiers", "papier_cahier_carreaux",
       [](uint32_t s) {
         return NotebookGrid(Pal({"#fdfdfb", "#8fb3de", "#e57373"}), s, false);
       }},
      {"Papiers", "papier_cahier_lignes",
       [](uint32_t s) {
         return NotebookGrid(Pal({"#fffef9", "#8fb3de", "#e57373"}), s, true);
       }},
      {"Papiers", "papier_millimetre",
       [](uint32_t s) {
         return GraphPaper(Pal({"#fffdf6", "#e8935c"}), s);
       }},
      {"Papiers", "papier_fleuri",
       [](uint32_t s) {
         return Floral(Pal({"#fbf4ea", "#e8a0a8", "#f2c57c", "#f6e27f", "#95b88f"}), s);
       }},
      {"Papiers", "papier_fleuri_bleu",
       [](uint32_t s) {
         return Floral(Pal({"#eaf2fa", "#ffffff", "#a9c6e8", "#f6d365", "#7ba7a0"}), s);
       }},
      {"Papiers", "papier_damier",
       [](uint32_t s) {
         return Checker(Pal({"#fbf8f2", "#cdb4db"}), s);
       }},
      {"Papiers", "papier_etoiles",
       [](uint32_t s) {
         return RepeatShape(Pal({"#1d2a4d", "#f6d365", "#fdfdfd"}), s, false);
       }},
      {"Papiers", "papier_coeurs",
       [](uint32_t s) {
         return RepeatShape(Pal({"#fff3f5", "#f08a9c", "#f7b2c0"}), s, true);
       }},
      {"Papiers", "papier_damasse",
       [](uint32_t s) {
         return Damask(Pal({"#f1e7d6", "#cdb893"}), s);
       }},
      {"Papiers", "papier_damasse_bordeaux",
       [](uint32_t s) {
         return Damask(Pal({"#5e1a2b", "#b8925a"}), s);
       }},
  };
  for (const Item& item : items) {
    const auto draw = item.draw;
    const uint32_t seed = NameSeed(item.name);
    library.push_back({QString::fromLatin1(item.folder),
                       QString::fromLatin1(item.name) + QStringLiteral(".jpg"), [=] { return draw(seed); }});
  }
}

}  // namespace pictures
