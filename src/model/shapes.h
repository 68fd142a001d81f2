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
  void Draw(TCanvas& canvas) override;
  // Corners in page millimetres, turned with the box; the last equals the first for polygons
  // and ellipses.
  QList<QPointF> Corners() const;
  // Corner counts below 3 draw the default rectangle; counts beyond this add nothing visible.
  static constexpr int kMaxCorners = 1000;

  int Cote = 4;  // 3 triangle, 4 rectangle, 999 ellipse, n a regular polygon
};

class TzunoCADLigne : public TzunoCADObj {
 public:
  explicit TzunoCADLigne(TzunoCADMdl* document) : TzunoCADObj(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  void Draw(TCanvas& canvas) override;
  void DrawHighlight(TCanvas& canvas) override;
  // Anchors without Ctrl, control points with it (the other kind too when selected); the lowest
  // index wins. A line has no body.
  int HitTest(QPointF p) override;
  int HitTest(QPointF p, bool ctrl);

  // Appends a straight segment to p (or the first point); returns the index of the new segment's
  // second control point, or 0 for the first point.
  int AddPoint(QPointF p);
  int SegmentCount() const { return Points.size() < 1 ? 0 : static_cast<int>((Points.size() - 1) / 3); }
  // Removes an anchor with its two control points (the first or last anchor with the three points
  // at that end). False when the index is no anchor or the line has fewer than three points.
  bool DeleteAnchor(int index);
  // Splits the segment after an anchor at the middle of its anchors; after the last anchor, a
  // straight segment 20 pixels long is appended to the right. Returns the new anchor's index, or
  // -1 when nothing changed.
  int SplitSegment(int index);
  // Editor drag of a point to a target. A control point within 4 pixels of the point before it,
  // or else of the point after it, folds onto that point; otherwise it takes the target and the
  // control point across its anchor mirrors it (unless shift). An anchor drags the whole line when
  // `wholeLine` (select mode without shift), else itself with its control points.
  void MovePoint(int index, QPointF target, bool shift, bool wholeLine);

  QList<QPointF> Points;  // anchors at 0, 3, 6 ...; control points between them
};

class TzunoCADForme : public TzunoCADRect {
 public:
  explicit TzunoCADForme(TzunoCADMdl* document) : TzunoCADRect(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  void Draw(TCanvas& canvas) override;

  QList<QPointF> Points;  // in shape units
  double FormeLarge = 0, FormeHaut = 0;
};

class TzunoCADRepere : public TzunoCADObj {
 public:
  explicit TzunoCADRepere(TzunoCADMdl* document) : TzunoCADObj(document) {}
  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  // Editor only: never in output renderings.
  void Draw(TCanvas& canvas) override;
  // 0 within 2 pixels of the line (the cursor becomes a split pointer), else -1.
  int HitTest(QPointF p) override;
  // Keeps a dragged mark 5 pixels from the page start and 6 from its end, on whole millimetres.
  void ClampRepere();

  static constexpr int16_t kCursorHSplit = -14, kCursorVSplit = -15;

  double position = 0;  // millimetres, a whole number
  int sens = 1;         // 1 vertical line at x = position, 2 horizontal line at y = position
  int sorte = 1;        // 1 a guide of its own face, 2 a mark shown on both faces
};
