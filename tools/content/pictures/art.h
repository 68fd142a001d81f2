// Drawing helpers shared by the picture library: a seeded random source, lattice noise, soft blur,
// colour mixing and the two encoders the library ships (JPEG for photos and backgrounds, PNG for
// cut-outs keyed on magenta). Everything here is deterministic: the same call gives the same pixels.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace pictures {

// Picture sizes in pixels: A4 at 150 dpi, a square of the same area class, and long strips.
constexpr int kA4W = 1240, kA4H = 1754;
constexpr int kSquare = 1500;

// The key colour the image object turns transparent.
inline QColor Magenta() {
  return QColor(255, 0, 255);
}

// SplitMix64: tiny, fast and the same on every platform (std distributions are not).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t Bits();
  double Next();  // [0, 1)
  double Range(double a, double b) { return a + (b - a) * Next(); }
  int Int(int n) { return n <= 0 ? 0 : int(Bits() % uint64_t(n)); }
  bool Chance(double p) { return Next() < p; }

 private:
  uint64_t state_;
};

// A seed from a picture's name, so that adding a picture never changes the others.
uint32_t NameSeed(const char* name);

// Smooth value noise on an integer lattice, 0..1; Fbm sums octaves (each half as strong).
float ValueNoise(float x, float y, uint32_t seed);
float Fbm(float x, float y, int octaves, uint32_t seed);

QColor Hex(const char* rgb);  // "#rrggbb"
QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(QColor c, int alpha);
inline QColor Lighter(const QColor& c, double t) {
  return Mix(c, QColor(255, 255, 255), t);
}
QColor Darker(const QColor& c, double t);

QImage NewImage(int w, int h, const QColor& fill);  // opaque ARGB32-premultiplied
QImage NewLayer(int w, int h);                      // transparent ARGB32-premultiplied
void Begin(QPainter& p, QImage& image);             // antialiased painter
// A soft blur: the picture is reduced by factor with a triangle kernel and enlarged back with the
// B-spline kernel of our resampler.
QImage Blurred(const QImage& image, int factor);
// Paints layer over base with the given opacity.
void Composite(QImage& base, const QImage& layer, double opacity = 1.0,
               QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver);

// Per-pixel shader over an opaque picture: f(x, y, rgb) returns the new colour.
void Shade(QImage& image, const std::function<QRgb(int x, int y, QRgb c)>& f);
// Luminance grain of the given strength (0..255 range), seeded.
void Grain(QImage& image, double strength, uint32_t seed);
// Gentle darkening of the edges (photo look).
void Vignette(QImage& image, double strength);

// Gradients filling the whole picture.
void LinearFill(QImage& image, double angleDegrees, const std::vector<std::pair<double, QColor>>& stops);
void Glow(QImage& image, QPointF centre, double radius, const QColor& colour);  // radial fade to 0

// Blob whose radius wanders with noise: watercolour washes, leaves, clouds.
QPainterPath WobblyBlob(QPointF centre, double radius, double wobble, uint32_t seed, int points = 96);
QPainterPath Star(QPointF centre, double outer, double inner, int points, double rotationDegrees = -90);
QPainterPath Heart(QPointF centre, double size);
QPainterPath Snowflake(QPointF centre, double radius, double rotationDegrees);

// Cut-outs: every pixel whose alpha is under half becomes magenta, the others become opaque with
// their own colour, so that no edge pixel is a near-magenta blend.
QImage KeyedOnMagenta(const QImage& layer);

// Encoders: baseline JPEG with optimised tables at the given quality, and PNG.
QByteArray EncodeJpegQuality(const QImage& image, int quality);
QByteArray EncodePngBytes(const QImage& image);

}  // namespace pictures
