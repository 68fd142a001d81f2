// Palettes, type pairs and decorative motifs shared by the template designs.
#pragma once

#include <QRectF>
#include <QString>

#include "templates/builder.h"

namespace tpl {

inline QString U(const char* s) {
  return QString::fromUtf8(s);
}

inline const QString kSans = QStringLiteral("Lato");
inline const QString kSerif = QStringLiteral("Liberation Serif");
inline const QString kDeja = QStringLiteral("DejaVu Sans");
inline const QString kScript = QStringLiteral("Kristi");
inline const QString kDisplay = QStringLiteral("Leckerli One");
inline const QString kHand = QStringLiteral("Humor Sans");
inline const QString kMono = QStringLiteral("Liberation Mono");

enum class Motif { Stars, Waves, Leaves, Circles, Bands, Triangles, Dots, Lines, Hearts, Confetti };

struct Theme {
  QString name;     // used in file names
  TColor paper;     // main background
  TColor ink;       // text on the paper
  TColor accent;    // strong colour
  TColor accent2;   // second colour
  TColor soft;      // light tint of the accent
  TColor onAccent;  // text on the accent
  QString head;     // title face
  QString body;     // text face
  int headStyle = 0;
  Motif motif = Motif::Dots;
};

// The palettes of the catalogue.
const Theme& ThemeNamed(const QString& name);
const std::vector<Theme>& Themes();

// Shape spaces (0..100) of the drawn ornaments.
QVector<QPointF> StarPoints(int branches = 5, double inner = 0.45);
QVector<QPointF> LeafPoints();
QVector<QPointF> HeartPoints();
QVector<QPointF> DropPoints();

// Decorative motif inside an area, never beyond it; `scale` sizes the elements (1 for a card).
void DrawMotif(Doc& d, const Theme& t, Motif m, QRectF area, double scale, int seed = 0);
// A band of waves filling the area's bottom from `level` (0 top .. 1 bottom) with two colours.
void Waves(Doc& d, QRectF area, double level, TColor back, TColor front);

}  // namespace tpl

namespace tpl {
// Relative brightness of a colour, 0 black .. 1 white.
inline double Luminance(TColor c) {
  return (0.2126 * ColorR(c) + 0.7152 * ColorG(c) + 0.0722 * ColorB(c)) / 255.0;
}
// The theme's title face at a size; the script face is drawn larger to read as well.
inline Font Head(const Theme& t, double size, TColor color) {
  return Font{t.head, t.head == kScript ? size * 1.7 : size, color, t.headStyle};
}
}  // namespace tpl
