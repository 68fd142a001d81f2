// Photo-like landscapes ("Photos"): skies, sea, mountains, fields and night skies computed pixel by
// pixel from layered noise, in 3:2 proportion like a camera's pictures. They give the wizards and
// the sample templates pictures to fill photo places with.
#include <QtMath>
#include <cmath>

#include "imagetools/resample.h"
#include "pictures/art.h"
#include "pictures/library.h"
#include "render/picture_io.h"

namespace pictures {
namespace {

constexpr int kPhotoW = 1800, kPhotoH = 1200;

inline int C(double v) {
  return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}
inline double SmoothStep(double a, double b, double x) {
  const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}
inline QRgb Lerp(QRgb a, QRgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return qRgb(C(qRed(a) + (qRed(b) - qRed(a)) * t), C(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
              C(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}
inline QRgb Rgb(const QColor& c) {
  return c.rgb();
}

// Sky from zenith to horizon, with a warm glow round the sun.
QRgb SkyAt(double x, double y, double horizon, const QColor& zenith, const QColor& low, QPointF sun,
           const QColor& glow, double glowSize) {
  const double t = std::pow(std::clamp(y / horizon, 0.0, 1.0), 1.6);
  QRgb c = Lerp(Rgb(zenith), Rgb(low), t);
  const double d = std::hypot(x - sun.x(), (y - sun.y()) * 1.3) / glowSize;
  return Lerp(c, Rgb(glow), std::exp(-d * d) * 0.9);
}

// Cumulus-like clouds: density from noise, lit on the side facing the sun.
void Clouds(QImage& im, double top, double bottom, double cover, double scale, const QColor& light,
            const QColor& shade, uint32_t seed) {
  Shade(im, [&](int x, int y, QRgb c) {
    if (y < top || y > bottom) return c;
    const double fade = SmoothStep(top, top + (bottom - top) * 0.2, y) *
                        (1 - SmoothStep(bottom - (bottom - top) * 0.3, bottom, y));
    const double n = Fbm(x / scale, y / (scale * 0.45), 6, seed);
    const double density = SmoothStep(1 - cover, 1 - cover + 0.22, n) * fade;
    if (density <= 0) return c;
    const double lit = Fbm((x + 18) / scale, (y - 22) / (scale * 0.45), 6, seed) - n;
    const QRgb cloud = Lerp(Rgb(shade), Rgb(light), 0.55 + lit * 6);
    return Lerp(c, cloud, density);
  });
}

// A mountain ridge line: ridged noise along x.
double Ridge(double x, double scale, uint32_t seed) {
  double sum = 0, amp = 1, total = 0;
  for (int o = 0; o < 6; ++o) {
    const double n = 1 - std::abs(ValueNoise(float(x / scale * (1 << o)), 0.5f + o * 3.1f, seed + o) * 2 - 1);
    sum += amp * n * n;
    total += amp;
    amp *= 0.5;
  }
  return sum / total;
}

void Mountains(QImage& im, double base, double height, double scale, const QColor& near, const QColor& haze,
               double hazeMix, uint32_t seed, bool snow = false) {
  const int w = im.width();
  std::vector<double> top(w);
  for (int x = 0; x < w; ++x) top[x] = base - height * Ridge(x, scale, seed);
  Shade(im, [&](int x, int y, QRgb c) {
    if (y < top[x] || y > base + 2) return c;
    const double depth = (y - top[x]) / std::max(1.0, base - top[x]);
    const double rock = Fbm(x / 40.0f, y / 40.0f, 4, seed + 9) - 0.5;
    QRgb m = Lerp(Rgb(near), Rgb(haze), hazeMix + (1 - hazeMix) * 0.25 * depth);
    m = Lerp(m, qRgb(0, 0, 0), rock * 0.12 + 0.04);
    if (snow && depth < 0.25 + rock * 0.3) m = Lerp(m, qRgb(245, 247, 252), 0.8 - hazeMix * 0.5);
    return m;
  });
}

// Mirrors the rows above the waterline into the water, rippled and tinted.
void Reflect(QImage& im, int waterline, const QColor& tint, double tintMix, uint32_t seed) {
  const QImage src = im.copy();
  const int w = im.width(), h = im.height();
  for (int y = waterline; y < h; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(im.scanLine(y));
    const double depth = double(y - waterline) / (h - waterline);
    for (int x = 0; x < w; ++x) {
      const double ripple =
          (ValueNoise(x / 60.0f, (y - waterline) / (2.0f + depth * 10), seed) - 0.5) * (6 + depth * 40);
      const int sy = std::clamp(int(2 * waterline - y + ripple * 0.5), 0, waterline - 1);
      const int sx = std::clamp(int(x + ripple), 0, w - 1);
      const QRgb s = reinterpret_cast<const QRgb*>(src.constScanLine(sy))[sx];
      line[x] = Lerp(s, Rgb(tint), tintMix + depth * 0.3);
    }
  }
}

QImage SunsetSea(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const double horizon = kPhotoH * 0.58;
  const QPointF sun(kPhotoW * 0.62, horizon - kPhotoH * 0.07);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, horizon, Hex("#2b3a67"), Hex("#f7a35c"), sun, Hex("#ffe3a3"), kPhotoH * 0.28);
  });
  Clouds(im, kPhotoH * 0.05, horizon * 0.85, 0.5, 260, Hex("#ffc98b"), Hex("#6b4a6e"), seed);
  Glow(im, sun, kPhotoH * 0.05, QColor(255, 250, 225, 255));
  Reflect(im, int(horizon), Hex("#1d2f4f"), 0.25, seed + 1);
  Vignette(im, 0.35);
  Grain(im, 2.0, seed);
  return im;
}

QImage MountainLake(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const double water = kPhotoH * 0.66;
  const QPointF sun(kPhotoW * 0.3, kPhotoH * 0.2);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, water, Hex("#6f9fd8"), Hex("#e8eef2"), sun, Hex("#fff6e0"), kPhotoH * 0.3);
  });
  Clouds(im, 0, water * 0.6, 0.46, 300, Hex("#ffffff"), Hex("#9aa8bb"), seed);
  Mountains(im, water, kPhotoH * 0.42, 700, Hex("#5b6d85"), Hex("#c5d3e2"), 0.55, seed + 2, true);
  Mountains(im, water, kPhotoH * 0.26, 420, Hex("#3f5247"), Hex("#a9b9b5"), 0.25, seed + 3, true);
  Mountains(im, water, kPhotoH * 0.1, 160, Hex("#24382a"), Hex("#5f7564"), 0.05, seed + 4);
  Reflect(im, int(water), Hex("#2f4a5a"), 0.3, seed + 5);
  Vignette(im, 0.3);
  Grain(im, 2.0, seed);
  return im;
}

QImage MistyHills(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const QPointF sun(kPhotoW * 0.7, kPhotoH * 0.3);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, kPhotoH * 0.6, Hex("#8fa9c7"), Hex("#f6d7b0"), sun, Hex("#fff1d6"), kPhotoH * 0.35);
  });
  const QColor layers[5] = {Hex("#a7a4b8"), Hex("#8a88a3"), Hex("#6a6a88"), Hex("#4a4e6b"), Hex("#2e344d")};
  for (int k = 0; k < 5; ++k) {
    const double base = kPhotoH * (0.45 + k * 0.13);
    std::vector<double> top(kPhotoW);
    for (int x = 0; x < kPhotoW; ++x)
      top[x] = base - kPhotoH * 0.12 * Fbm(x / 500.0f + k * 7, k * 1.7f, 4, seed + k);
    Shade(im, [&](int x, int y, QRgb c) {
      if (y < top[x]) return c;
      const double mist = 1 - SmoothStep(top[x], top[x] + kPhotoH * 0.12, y);
      return Lerp(Rgb(layers[k]), Lerp(c, Rgb(Hex("#f3e3cf")), 0.4), mist * 0.55);
    });
  }
  Vignette(im, 0.3);
  Grain(im, 1.5, seed);
  return im;
}

QImage StarryNight(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  Shade(im, [&](int x, int y, QRgb) {
    QRgb c = Lerp(Rgb(Hex("#050814")), Rgb(Hex("#1b2a4a")), std::pow(double(y) / kPhotoH, 1.5));
    // The galaxy: a diagonal band of glowing dust with dark lanes.
    const double u = (x * 0.8 - y * 0.6) / kPhotoW, v = (x * 0.6 + y * 0.8) / kPhotoW - 0.75;
    const double band = std::exp(-v * v * 40) * (0.5 + Fbm(float(u * 6), float(v * 6), 6, seed));
    const double lanes = SmoothStep(0.45, 0.7, Fbm(float(u * 10), float(v * 14), 5, seed + 1));
    c = Lerp(c, Rgb(Hex("#c9c3e6")), band * 0.55 * (1 - lanes * 0.6));
    return c;
  });
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 2600; ++i) {
    const double r = std::pow(rng.Next(), 6) * 2.6 + 0.5;
    const QPointF at(rng.Range(0, kPhotoW), rng.Range(0, kPhotoH * 0.85));
    const int a = int(rng.Range(90, 255));
    p.setBrush(QColor(255, 255 - rng.Int(30), 240 + rng.Int(16), a));
    p.drawEllipse(at, r, r);
    if (r > 2.2) {
      QRadialGradient g(at, r * 5);
      g.setColorAt(0, QColor(200, 210, 255, 90));
      g.setColorAt(1, QColor(200, 210, 255, 0));
      p.setBrush(g);
      p.drawEllipse(at, r * 5, r * 5);
    }
  }
  // Pine silhouettes along the bottom.
  p.setBrush(Hex("#03050b"));
  QPainterPath ground;
  ground.moveTo(0, kPhotoH);
  for (int x = 0; x <= kPhotoW; x += 6)
    ground.lineTo(x, kPhotoH * 0.9 - kPhotoH * 0.04 * Fbm(x / 300.0f, 1.5f, 3, seed + 3));
  ground.lineTo(kPhotoW, kPhotoH);
  p.drawPath(ground);
  for (double x = 0; x < kPhotoW; x += rng.Range(14, 40)) {
    const double base = kPhotoH * 0.9, th = kPhotoH * rng.Range(0.06, 0.2), tw = th * 0.22;
    p.drawPolygon(QPolygonF({QPointF(x, base - th), QPointF(x + tw, base + 4), QPointF(x - tw, base + 4)}));
  }
  p.end();
  Grain(im, 2.5, seed);
  return im;
}

QImage Beach(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const double horizon = kPhotoH * 0.45, shore = kPhotoH * 0.68;
  const QPointF sun(kPhotoW * 0.8, kPhotoH * 0.08);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, horizon, Hex("#3f8fd2"), Hex("#cfe8f7"), sun, Hex("#ffffff"), kPhotoH * 0.25);
  });
  Clouds(im, kPhotoH * 0.05, horizon * 0.95, 0.46, 240, Hex("#ffffff"), Hex("#a9bdd1"), seed);
  Shade(im, [&](int x, int y, QRgb c) {
    if (y < horizon) return c;
    const double edge = shore + kPhotoH * 0.035 * (Fbm(x / 260.0f, 0.3f, 4, seed + 1) - 0.5) * 2;
    if (y < edge) {
      const double t = (y - horizon) / (edge - horizon);
      QRgb sea = Lerp(Rgb(Hex("#0d5c8c")), Rgb(Hex("#2ec4c6")), std::pow(t, 1.5));
      const double wave = Fbm(x / 120.0f, (y - horizon) / (3.0f + t * 14), 4, seed + 2);
      sea = Lerp(sea, qRgb(235, 250, 250), SmoothStep(0.62, 0.8, wave) * (0.3 + t * 0.5));
      const double foam =
          SmoothStep(edge - kPhotoH * 0.012, edge, y) * (0.6 + 0.4 * Fbm(x / 30.0f, y / 8.0f, 3, seed + 3));
      return Lerp(sea, qRgb(248, 252, 252), foam);
    }
    const double wet = 1 - SmoothStep(edge, edge + kPhotoH * 0.05, y);
    QRgb sand = Lerp(Rgb(Hex("#e9d2a8")), Rgb(Hex("#d9b98a")), (y - edge) / (kPhotoH - edge));
    sand = Lerp(sand, Rgb(Hex("#b99b74")), wet * 0.6);
    const double grit = ValueNoise(x / 1.5f, y / 1.5f, seed + 4) - 0.5;
    return Lerp(sand, grit > 0 ? qRgb(255, 255, 255) : qRgb(120, 100, 80), std::abs(grit) * 0.15);
  });
  Vignette(im, 0.25);
  return im;
}

QImage LavenderField(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const double horizon = kPhotoH * 0.5;
  const QPointF sun(kPhotoW * 0.45, horizon - kPhotoH * 0.04);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, horizon, Hex("#4b5d9b"), Hex("#f4b07a"), sun, Hex("#ffe9b0"), kPhotoH * 0.32);
  });
  Clouds(im, kPhotoH * 0.05, horizon * 0.8, 0.42, 300, Hex("#ffd2a6"), Hex("#7a6a99"), seed);
  const QPointF vanish(kPhotoW * 0.45, horizon);
  Shade(im, [&](int x, int y, QRgb c) {
    if (y < horizon) return c;
    const double depth = (y - horizon) / (kPhotoH - horizon);        // 0 far, 1 near
    const double u = (x - vanish.x()) / std::max(1.0, y - horizon);  // rows converge
    const double row = 0.5 + 0.5 * std::cos(u * 2 * M_PI * 1.6);
    const double bloom = Fbm(x / (3.0f + depth * 12), y / (3.0f + depth * 10), 3, seed + 1);
    QRgb lav = Lerp(Rgb(Hex("#3d2f63")), Rgb(Hex("#9b7fd4")), row * (0.5 + bloom * 0.6));
    lav = Lerp(lav, Rgb(Hex("#2c4a2a")), (1 - row) * 0.6);
    return Lerp(Lerp(lav, Rgb(Hex("#c99ab0")), (1 - depth) * 0.55), c, std::pow(1 - depth, 12.0));
  });
  Glow(im, sun, kPhotoH * 0.04, QColor(255, 248, 220, 255));
  Vignette(im, 0.35);
  Grain(im, 2.0, seed);
  return im;
}

QImage Aurora(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  Shade(im, [&](int x, int y, QRgb) {
    QRgb c = Lerp(Rgb(Hex("#03101c")), Rgb(Hex("#0e2a3c")), double(y) / kPhotoH);
    // Curtains: bright where a wavy line passes, streaked vertically.
    for (int k = 0; k < 2; ++k) {
      const double line =
          kPhotoH * (0.3 + 0.12 * k) +
          kPhotoH * 0.12 * std::sin(x / 420.0 + k * 2.0 + Fbm(x / 600.0f, k * 3.0f, 3, seed + k) * 4);
      const double above = line - y;
      if (above < -kPhotoH * 0.02) continue;
      const double streak = 0.5 + 0.5 * Fbm(x / 6.0f, y / 300.0f, 3, seed + 5 + k);
      const double intensity = std::exp(-std::max(0.0, above) / (kPhotoH * 0.12)) *
                               (1 - SmoothStep(-kPhotoH * 0.02, 0, -above)) * streak;
      c = Lerp(c, k ? Rgb(Hex("#8ef0c2")) : Rgb(Hex("#45e39a")), intensity * 0.85);
      c = Lerp(c, Rgb(Hex("#b46cd9")),
               std::exp(-std::max(0.0, above - kPhotoH * 0.18) / (kPhotoH * 0.05)) *
                   (above > kPhotoH * 0.18 ? 0.25 : 0) * streak);
    }
    return c;
  });
  Rng rng(seed);
  QPainter p;
  Begin(p, im);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 900; ++i) {
    p.setBrush(QColor(255, 255, 255, int(rng.Range(60, 220))));
    const double r = std::pow(rng.Next(), 5) * 1.8 + 0.5;
    p.drawEllipse(QPointF(rng.Range(0, kPhotoW), rng.Range(0, kPhotoH * 0.75)), r, r);
  }
  // Snowy ground and dark spruces.
  QPainterPath ground;
  ground.moveTo(0, kPhotoH);
  for (int x = 0; x <= kPhotoW; x += 6)
    ground.lineTo(x, kPhotoH * 0.86 - kPhotoH * 0.05 * Fbm(x / 400.0f, 2.5f, 3, seed + 7));
  ground.lineTo(kPhotoW, kPhotoH);
  QLinearGradient snow(0, kPhotoH * 0.8, 0, kPhotoH);
  snow.setColorAt(0, Hex("#7fa6b8"));
  snow.setColorAt(1, Hex("#cfe3ea"));
  p.setBrush(snow);
  p.drawPath(ground);
  p.setBrush(Hex("#050b10"));
  for (double x = rng.Range(0, 60); x < kPhotoW; x += rng.Range(60, 220)) {
    const double base = kPhotoH * 0.88, th = kPhotoH * rng.Range(0.1, 0.26), tw = th * 0.18;
    p.drawPolygon(QPolygonF({QPointF(x, base - th), QPointF(x + tw, base + 6), QPointF(x - tw, base + 6)}));
  }
  p.end();
  Grain(im, 2.0, seed);
  return im;
}

QImage Cumulus(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const QPointF sun(kPhotoW * 0.15, -kPhotoH * 0.1);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, kPhotoH, Hex("#2f74c0"), Hex("#a9d3f0"), sun, Hex("#ffffff"), kPhotoH * 0.5);
  });
  Clouds(im, 0, kPhotoH, 0.58, 340, Hex("#ffffff"), Hex("#8ea3ba"), seed);
  Vignette(im, 0.2);
  return im;
}

QImage WheatField(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  const double horizon = kPhotoH * 0.48;
  const QPointF sun(kPhotoW * 0.85, kPhotoH * 0.1);
  Shade(im, [&](int x, int y, QRgb) {
    return SkyAt(x, y, horizon, Hex("#3c7fc4"), Hex("#dcecf5"), sun, Hex("#fffbe8"), kPhotoH * 0.3);
  });
  Clouds(im, kPhotoH * 0.04, horizon * 0.9, 0.45, 260, Hex("#ffffff"), Hex("#9fb3c8"), seed);
  Shade(im, [&](int x, int y, QRgb c) {
    if (y < horizon) return c;
    const double depth = (y - horizon) / (kPhotoH - horizon);
    const double stalks = Fbm(x / (1.5f + depth * 4), y / (8.0f + depth * 60), 4, seed + 1);
    const double sway = Fbm(x / 300.0f, y / 120.0f, 3, seed + 2);
    QRgb wheat = Lerp(Rgb(Hex("#9c7a2f")), Rgb(Hex("#f0d27a")), stalks * 0.8 + sway * 0.4);
    return Lerp(wheat, Lerp(Rgb(Hex("#c9b27a")), c, 0.3), std::pow(1 - depth, 10.0) * 0.8);
  });
  Vignette(im, 0.3);
  Grain(im, 1.5, seed);
  return im;
}

QImage SnowyForest(uint32_t seed) {
  QImage im = NewImage(kPhotoW, kPhotoH, Qt::black);
  Shade(im, [&](int x, int y, QRgb) {
    return Lerp(Rgb(Hex("#b9c8d8")), Rgb(Hex("#eef2f6")), double(y) / kPhotoH);
  });
  Rng rng(seed);
  for (int layer = 0; layer < 3; ++layer) {
    QImage l = NewLayer(kPhotoW, kPhotoH);
    QPainter p;
    Begin(p, l);
    const QColor tree = Mix(Hex("#1f3a34"), Hex("#b9c8d8"), 0.6 - layer * 0.28);
    const double base = kPhotoH * (0.62 + layer * 0.12);
    for (double x = rng.Range(-20, 20); x < kPhotoW + 40; x += rng.Range(40, 110) * (1 + layer * 0.4)) {
      const double th = kPhotoH * rng.Range(0.18, 0.32) * (1 + layer * 0.35), tw = th * 0.26;
      for (int tier = 0; tier < 4; ++tier) {
        const double top = base - th + tier * th * 0.2, bottom = base - th * (0.6 - tier * 0.2);
        const double half = tw * (0.45 + tier * 0.2);
        p.setPen(Qt::NoPen);
        p.setBrush(tree);
        p.drawPolygon(QPolygonF({QPointF(x, top), QPointF(x + half, bottom), QPointF(x - half, bottom)}));
        p.setBrush(QColor(250, 252, 255, 230));
        p.drawPolygon(QPolygonF({QPointF(x, top), QPointF(x + half * 0.55, top + (bottom - top) * 0.4),
                                 QPointF(x - half * 0.7, top + (bottom - top) * 0.45)}));
      }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(248, 250, 253));
    QPainterPath drift;
    drift.moveTo(0, kPhotoH);
    for (int x = 0; x <= kPhotoW; x += 8)
      drift.lineTo(x, base - kPhotoH * 0.02 * Fbm(x / 200.0f, layer * 2.0f, 3, seed + layer));
    drift.lineTo(kPhotoW, kPhotoH);
    p.drawPath(drift);
    p.end();
    Composite(im, layer == 0 ? Blurred(l, 3) : l);
  }
  // Falling snow.
  QImage flakes = NewLayer(kPhotoW, kPhotoH);
  QPainter p;
  Begin(p, flakes);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 700; ++i) {
    const double r = rng.Range(1.0, 4.0);
    p.setBrush(QColor(255, 255, 255, int(rng.Range(120, 230))));
    p.drawEllipse(QPointF(rng.Range(0, kPhotoW), rng.Range(0, kPhotoH)), r, r);
  }
  p.end();
  Composite(im, Blurred(flakes, 2));
  Grain(im, 1.5, seed);
  return im;
}

QImage AutumnLights(uint32_t seed) {
  // A close-up look: out-of-focus autumn foliage with a few sharp leaves.
  QImage im = NewImage(kPhotoW, kPhotoH, Hex("#3a2414"));
  Rng rng(seed);
  QImage l = NewLayer(kPhotoW, kPhotoH);
  QPainter p;
  Begin(p, l);
  const QColor tones[5] = {Hex("#e07a2f"), Hex("#f2b134"), Hex("#b8401f"), Hex("#7a8f3a"), Hex("#f7d48a")};
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 160; ++i) {
    const double r = kPhotoH * rng.Range(0.03, 0.12);
    p.setBrush(WithAlpha(tones[rng.Int(5)], int(rng.Range(60, 160))));
    p.drawEllipse(QPointF(rng.Range(0, kPhotoW), rng.Range(0, kPhotoH)), r, r);
  }
  p.end();
  Composite(im, Blurred(l, 10));
  Composite(im, Blurred(l, 4), 0.5, QPainter::CompositionMode_Screen);
  Glow(im, QPointF(kPhotoW * 0.7, kPhotoH * 0.25), kPhotoH * 0.5, QColor(255, 220, 150, 110));
  Vignette(im, 0.45);
  Grain(im, 2.0, seed);
  return im;
}

// A photograph from the sources, reduced with our resampler so that its long side is at most
// kPhotoW (never enlarged). A missing or unreadable source gives a null picture.
QImage Reduced(const QString& path) {
  const QImage source = LoadPicture(path);
  if (source.isNull()) return QImage();
  const double k = std::min(1.0, double(kPhotoW) / std::max(source.width(), source.height()));
  if (k >= 1.0) return source;
  QImage out(int(std::lround(source.width() * k)), int(std::lround(source.height() * k)),
             QImage::Format_RGB888);
  Stretch(source, out, kMitchellFilter, ResampleFilters[kMitchellFilter].Support);
  return out;
}

}  // namespace

void AddPhotos(Library& library, const QString& sources) {
  // Photographs of a free desktop background set (GPL-2+, see CREDITS), under our own names.
  struct Source {
    const char* folder;
    const char* name;
    const char* file;
  };
  const Source photographs[] = {
      {"Photos/Nature", "photo_goutte_eau", "Aqua.jpg"},
      {"Photos/Nature", "photo_feuille_verte", "Blinds.jpg"},
      {"Photos/Nature", "photo_dune_herbes", "Dune.jpg"},
      {"Photos/Nature", "photo_fleur_orange", "FreshFlower.jpg"},
      {"Photos/Nature", "photo_fleur_rouge", "Garden.jpg"},
      {"Photos/Nature", "photo_herbe_fraiche", "GreenMeadow.jpg"},
      {"Photos/Nature", "photo_coccinelle", "LadyBird.jpg"},
      {"Photos/Nature", "photo_gouttes_pluie", "RainDrops.jpg"},
      {"Photos/Nature", "photo_ciel_orage", "Storm.jpg"},
      {"Photos/Nature", "photo_pissenlit", "TwoWings.jpg"},
      {"Photos/Nature", "photo_fleur_jaune", "YellowFlower.jpg"},
      {"Textures", "texture_bois_photo", "Wood.jpg"},
  };
  for (const Source& s : photographs) {
    const QString path = sources + QStringLiteral("/pictures/") + QString::fromLatin1(s.file);
    library.push_back({QString::fromLatin1(s.folder), QString::fromLatin1(s.name) + QStringLiteral(".jpg"),
                       [path] { return Reduced(path); }});
  }

  struct Item {
    const char* name;
    QImage (*draw)(uint32_t);
  };
  const Item items[] = {
      {"photo_coucher_soleil_mer", SunsetSea},
      {"photo_lac_montagne", MountainLake},
      {"photo_collines_brume", MistyHills},
      {"photo_nuit_etoilee", StarryNight},
      {"photo_plage", Beach},
      {"photo_champ_lavande", LavenderField},
      {"photo_aurore_boreale", Aurora},
      {"photo_ciel_nuages", Cumulus},
      {"photo_champ_ble", WheatField},
      {"photo_foret_neige", SnowyForest},
      {"photo_feuillage_automne", AutumnLights},
  };
  for (const Item& item : items) {
    const auto draw = item.draw;
    const uint32_t seed = NameSeed(item.name);
    library.push_back({QStringLiteral("Photos/Paysages"),
                       QString::fromLatin1(item.name) + QStringLiteral(".jpg"), [=] { return draw(seed); }});
  }
}

}  // namespace pictures
