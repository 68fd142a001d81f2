// Line pictograms of the skin: one drawing per meaning, on a 24-unit grid, in one stroke style.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace content::skin {

struct Ink {
  QColor line;    // strokes
  QColor accent;  // one highlighted detail per pictogram
  QColor fill;    // inner fills (paper, screens)
};

// Draws pictogram id into box (square). Unknown ids draw a dotted square so that a typo shows.
void DrawPictogram(QPainter& p, const QString& id, const QRectF& box, const Ink& ink);

// Every id DrawPictogram knows, for the generator's own check.
bool HasPictogram(const QString& id);

}  // namespace content::skin
