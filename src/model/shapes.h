// Polygons and ellipses in a box, Bézier lines, Bézier shapes in a box, and guide marks.
#pragma once

#include <QList>
#include <QPointF>

#include "model/object.h"

// Point lists as stored: "x;y|" per point; reading stops at the first empty x; at most 1000 points.
QList<QPointF> ReadPoints(const QString& text);
QString WritePoints(const QList<QPointF>& points);
constexpr int kMaxPoints = 1000;

class TzunoCADRectangle : public TzunoCADRect {
 public:
  explicit TzunoCADRectangle(TzunoCADMdl* document) : TzunoCADRect(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  int Cote = 4;  // 3 triangle, 4 rectangle, 999 ellipse, n a regular polygon
};

class TzunoCADLigne : public TzunoCADObj {
 public:
  explicit TzunoCADLigne(TzunoCADMdl* document) : TzunoCADObj(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  // Appends a straight segment to p (or the first point); returns the index of the new segment's
  // second control point, or 0 for the first point.
  int AddPoint(QPointF p);
  int SegmentCount() const { return Points.size() < 1 ? 0 : static_cast<int>((Points.size() - 1) / 3); }

  QList<QPointF> Points;  // anchors at 0, 3, 6 ...; control points between them
};

class TzunoCADForme : public TzunoCADRect {
 public:
  explicit TzunoCADForme(TzunoCADMdl* document) : TzunoCADRect(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  QList<QPointF> Points;  // in shape units
  double FormeLarge = 0, FormeHaut = 0;
};

class TzunoCADRepere : public TzunoCADObj {
 public:
  explicit TzunoCADRepere(TzunoCADMdl* document) : TzunoCADObj(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  double position = 0;  // millimetres, a whole number
  int sens = 1;         // 1 vertical line at x = position, 2 horizontal line at y = position
  int sorte = 1;        // 1 a guide of its own face, 2 a mark shown on both faces
};
