#include "pictures/art.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "imagetools/resample.h"
#include "render/codecs.h"

namespace pictures {

uint64_t Rng::Bits() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::Next() {
  return double(Bits() >> 11) * (1.0 / 9007199254740992.0);
}

uint32_t NameSeed(const char* name) {
  uint32_t h = 2166136261u;
  for (const char* c = name; *c; ++c) h = (h ^ uint8_t(*c)) * 16777619u;
  return h;
}

namespace {

inline uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

inline float Lattice(int x, int y, uint32_t seed) {
  return float(Hash(x, y, seed) & 0xffffff) / 16777215.0f;
}

inline float Smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}

inline int Clamp255(double v) {
  return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  const float tx = Smooth(x - fx), ty = Smooth(y - fy);
  const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, amplitude = 0.5f, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + uint32_t(i) * 101u);
    total += amplitude;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f + 5.3f;
    amplitude *= 0.5f;
  }
  return sum / total;
}

QColor Hex(const char* rgb) {
  return QColor(QString::fromLatin1(rgb));
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor(
      Clamp255(a.red() + (b.red() - a.red()) * t), Clamp255(a.green() + (b.green() - a.green()) * t),
      Clamp255(a.blue() + (b.blue() - a.blue()) * t), Clamp255(a.alpha() + (b.alpha() - a.alpha()) * t));
}

QColor WithAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

QColor Darker(const QColor& c, double t) {
  return Mix(c, QColor(20, 16, 24), t);
}

QImage NewImage(int w, int h, const QColor& fill) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(fill.red(), fill.green(), fill.blue()));
  return image;
}

QImage NewLayer(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Begin(QPainter& p, QImage& image) {
  p.begin(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QImage Blurred(const QImage& image, int factor) {
  if (factor <= 1) return image;
  const bool alpha = image.hasAlphaChannel();
  // The resampler works on 24-bit pictures: an alpha layer goes through as premultiplied colour plus
  // a separate grey picture of its alpha.
  const int sw = std::max(2, image.width() / factor), sh = std::max(2, image.height() / factor);
  auto pass = [&](const QImage& src) {
    QImage small(sw, sh, QImage::Format_RGB888);
    Stretch(src, small, kTriangleFilter, 1.0f * float(factor));
    QImage big(image.width(), image.height(), QImage::Format_RGB888);
    Stretch(small, big, kSplineFilter, 2.0f);
    return big;
  };
  if (!alpha)
    return pass(image.convertToFormat(QImage::Format_RGB888))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage colour(image.width(), image.height(), QImage::Format_RGB888),
      grey(image.width(), image.height(), QImage::Format_RGB888);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* c = colour.scanLine(y);
    uchar* g = grey.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      c[3 * x] = uchar(qRed(s[x]));
      c[3 * x + 1] = uchar(qGreen(s[x]));
      c[3 * x + 2] = uchar(qBlue(s[x]));
      g[3 * x] = g[3 * x + 1] = g[3 * x + 2] = uchar(qAlpha(s[x]));
    }
  }
  const QImage bc = pass(colour), bg = pass(grey);
  QImage out(image.width(), image.height(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image.height(); ++y) {
    const uchar* c = bc.constScanLine(y);
    const uchar* g = bg.constScanLine(y);
    QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int a = g[3 * x];
      d[x] = qRgba(std::min<int>(c[3 * x], a), std::min<int>(c[3 * x + 1], a), std::min<int>(c[3 * x + 2], a),
                   a);
    }
  }
  return out;
}

void Composite(QImage& base, const QImage& layer, double opacity, QPainter::CompositionMode mode) {
  QPainter p(&base);
  p.setOpacity(opacity);
  p.setCompositionMode(mode);
  p.drawImage(0, 0, layer);
}

void Shade(QImage& image, const std::function<QRgb(int, int, QRgb)>& f) {
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) line[x] = f(x, y, line[x]) | 0xff000000u;
  }
}

void Grain(QImage& image, double strength, uint32_t seed) {
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double n = (double(Hash(x, y, seed) & 0xffff) / 65535.0 - 0.5) * 2.0 * strength;
      const QRgb c = line[x];
      line[x] = qRgb(Clamp255(qRed(c) + n), Clamp255(qGreen(c) + n), Clamp255(qBlue(c) + n));
    }
  }
}

void Vignette(QImage& image, double strength) {
  const double cx = image.width() / 2.0, cy = image.height() / 2.0;
  const double r2 = cx * cx + cy * cy;
  Shade(image, [&](int x, int y, QRgb c) {
    const double d = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r2;
    const double k = 1.0 - strength * d * d;
    return qRgb(Clamp255(qRed(c) * k), Clamp255(qGreen(c) * k), Clamp255(qBlue(c) * k));
  });
}

void LinearFill(QImage& image, double angleDegrees, const std::vector<std::pair<double, QColor>>& stops) {
  const double a = qDegreesToRadians(angleDegrees);
  const double w = image.width(), h = image.height();
  const double half = (std::abs(std::cos(a)) * w + std::abs(std::sin(a)) * h) / 2.0;
  const QPointF c(w / 2, h / 2), d(std::cos(a) * half, std::sin(a) * half);
  QLinearGradient g(c - d, c + d);
  for (const auto& s : stops) g.setColorAt(s.first, s.second);
  QPainter p(&image);
  p.fillRect(image.rect(), g);
}

void Glow(QImage& image, QPointF centre, double radius, const QColor& colour) {
  QRadialGradient g(centre, radius);
  g.setColorAt(0, colour);
  g.setColorAt(0.5, WithAlpha(colour, colour.alpha() / 2));
  g.setColorAt(1, WithAlpha(colour, 0));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, radius, radius);
}

QPainterPath WobblyBlob(QPointF centre, double radius, double wobble, uint32_t seed, int points) {
  QPainterPath path;
  std::vector<QPointF> pts;
  for (int i = 0; i < points; ++i) {
    const double t = 2 * M_PI * i / points;
    const double n = Fbm(float(std::cos(t) * 1.6 + 10), float(std::sin(t) * 1.6 + 10), 4, seed) - 0.5;
    const double r = radius * (1.0 + wobble * 2.0 * n);
    pts.emplace_back(centre.x() + r * std::cos(t), centre.y() + r * std::sin(t));
  }
  // Closed Catmull-Rom through the points, as cubic segments.
  path.moveTo(pts[0]);
  const int n = int(pts.size());
  for (int i = 0; i < n; ++i) {
    const QPointF p0 = pts[(i + n - 1) % n], p1 = pts[i], p2 = pts[(i + 1) % n], p3 = pts[(i + 2) % n];
    path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
  }
  path.closeSubpath();
  return path;
}

QPainterPath Star(QPointF centre, double outer, double inner, int points, double rotationDegrees) {
  QPainterPath path;
  for (int i = 0; i < 2 * points; ++i) {
    const double a = qDegreesToRadians(rotationDegrees) + M_PI * i / points;
    const double r = (i % 2) ? inner : outer;
    const QPointF p(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    if (i == 0)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  path.closeSubpath();
  return path;
}

QPainterPath Heart(QPointF c, double s) {
  QPainterPath path;
  path.moveTo(c.x(), c.y() + 0.45 * s);
  path.cubicTo(c.x() - 0.55 * s, c.y() + 0.05 * s, c.x() - 0.55 * s, c.y() - 0.45 * s, c.x() - 0.25 * s,
               c.y() - 0.45 * s);
  path.cubicTo(c.x() - 0.08 * s, c.y() - 0.45 * s, c.x(), c.y() - 0.32 * s, c.x(), c.y() - 0.25 * s);
  path.cubicTo(c.x(), c.y() - 0.32 * s, c.x() + 0.08 * s, c.y() - 0.45 * s, c.x() + 0.25 * s,
               c.y() - 0.45 * s);
  path.cubicTo(c.x() + 0.55 * s, c.y() - 0.45 * s, c.x() + 0.55 * s, c.y() + 0.05 * s, c.x(),
               c.y() + 0.45 * s);
  path.closeSubpath();
  return path;
}

QPainterPath Snowflake(QPointF c, double r, double rotationDegrees) {
  QPainterPath path;
  for (int i = 0; i < 6; ++i) {
    const double a = qDegreesToRadians(rotationDegrees + 60.0 * i);
    const QPointF dir(std::cos(a), std::sin(a)), side(-std::sin(a), std::cos(a));
    path.moveTo(c);
    path.lineTo(c + dir * r);
    for (double f : {0.45, 0.7}) {
      const QPointF base = c + dir * (r * f);
      const double len = r * (f < 0.5 ? 0.3 : 0.22);
      path.moveTo(base);
      path.lineTo(base + (dir * 0.7 + side * 0.7) * len);
      path.moveTo(base);
      path.lineTo(base + (dir * 0.7 - side * 0.7) * len);
    }
  }
  return path;
}

QImage KeyedOnMagenta(const QImage& layer) {
  const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
  QImage out(src.width(), src.height(), QImage::Format_RGB888);
  for (int y = 0; y < src.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* d = out.scanLine(y);
    for (int x = 0; x < src.width(); ++x) {
      int r = 255, g = 0, b = 255;
      if (qAlpha(s[x]) >= 128) {
        r = qRed(s[x]);
        g = qGreen(s[x]);
        b = qBlue(s[x]);
        if (r == 255 && g == 0 && b == 255) g = 1;  // never the key by accident
      }
      d[3 * x] = uchar(r);
      d[3 * x + 1] = uchar(g);
      d[3 * x + 2] = uchar(b);
    }
  }
  return out;
}

QByteArray EncodeJpegQuality(const QImage& image, int quality) {
  // 150 dots per inch, so that programs that read the density print at the intended size.
  return EncodeJpeg(image, JpegOptions{quality, 150, true});
}

QByteArray EncodePngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  writer.setQuality(0);  // for PNG: the strongest deflate level
  if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) return QByteArray();
  return bytes;
}

}  // namespace pictures
