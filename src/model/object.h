// Bases of every drawing object: the common properties, the rotated box with its eight handles and
// the editor's geometry operations.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>

#include "render/gdi_types.h"

class TzunoCADMdl;
class TCanvas;

// Value of the first "name=value" line whose name equals the key (case ignored); empty when none.
QString PropValue(const QStringList& list, QStringView key);
// Same, telling whether the key is present at all.
bool PropFind(const QStringList& list, QStringView key, QString* value);
// Appends a "name=value" line.
inline void PropAdd(QStringList& list, QStringView key, const QString& value) {
  list.append(key.toString() + QLatin1Char('=') + value);
}

class TzunoCADObj {
 public:
  explicit TzunoCADObj(TzunoCADMdl* document);
  virtual ~TzunoCADObj() = default;
  TzunoCADObj(const TzunoCADObj&) = delete;
  TzunoCADObj& operator=(const TzunoCADObj&) = delete;

  // The object's keys in the class's fixed order.
  virtual QStringList GetProperties();
  // Reads the keys the class knows; derived classes read their own keys first, then their base's.
  virtual void SetProperties(const QStringList& list);
  virtual void Draw(TCanvas& canvas) {}
  // Point in millimetres: -1 miss, 0 body, 1..8 handle (lines: a point index).
  virtual int HitTest(QPointF p) { return -1; }
  virtual bool IsBox() const { return false; }
  // The selection frame and handles, drawn over every object when the document defers them.
  virtual void DrawHighlight(TCanvas& canvas) {}

  TzunoCADMdl* Document() const { return document_; }
  // Whether the object shows on the document's current face.
  bool OnCurrentFace() const;

  // Handle marks around a page point: a circle of radius 4 or a square of 3 pixels, filled by kind
  // (0 hovered, 1 the handle under the pointer, 2 selected).
  void DrawRoundHandle(TCanvas& canvas, QPointF p, int kind);
  void DrawSquareHandle(TCanvas& canvas, QPointF p, int kind);
  // A straight line between page points with the canvas's pen.
  void DrawSegment(TCanvas& canvas, QPointF from, QPointF to);
  // The object's pen for drawing: its width in pixels at the document's mean scale.
  TPen DevicePen() const;
  // Frame colour: selected, else hovered.
  TColor StateColor() const;
  // The canvas of the owning document's work bitmap, for measuring text.
  TCanvas& MeasureCanvas() const;

  TPen Pen{clBlack, 1, psSolid};
  TBrush Brush{clWhite, bsClear};
  int HitCode = -1;
  bool CanSelect = true;
  bool Selected = false;
  bool Dragging = false;
  QString Name = QStringLiteral("Objet");
  QString Code;
  int Face = 1;
  bool Visible = true;
  int Tag = 0;
  int16_t Cursor = -21;

 protected:
  TzunoCADMdl* document_;
};

class TzunoCADRect : public TzunoCADObj {
 public:
  explicit TzunoCADRect(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  int HitTest(QPointF p) override;
  bool IsBox() const override { return true; }
  // The selection frame and handles every box kind ends its drawing with.
  void Draw(TCanvas& canvas) override;
  void DrawHighlight(TCanvas& canvas) override;
  void DrawSelection(TCanvas& canvas);
  void DrawHandle(TCanvas& canvas, int k);
  // The box outline and both diagonals in grey, with a label in the middle.
  void DrawPlaceholder(TCanvas& canvas, const QString& label);

  // Editor drags: handle 2, handle 3, and handles 1 and 4 to 8 (which one is `HitCode`).
  virtual void RotateTo(QPointF p, bool shift);
  virtual void ResizeCentered(QPointF p, bool shift);
  virtual void ResizeAnchored(QPointF p);

  // Page position of handle k (1..8); any other k gives the centre.
  QPointF HandlePos(int k) const;
  // A page point turned about the box centre by r.
  QPointF RotateAround(QPointF p) const;
  // Records the box at the start of an editor drag (read by ResizeAnchored).
  void StartDrag();

  std::array<bool, 9> HandleEnabled{};  // index 1..8
  double x = 0, y = 0, l = 0, h = 0, r = 0;
  double AnchorX = 0, AnchorY = 0, StartL = 0, StartH = 0;
  double MinDim = 0;

 protected:
  // Pointer vector from a centre, projected on the box axes.
  QPointF LocalOffset(QPointF p, QPointF centre) const;
  void ClampToMinimum();
};

// Point turned about a centre by an angle in degrees, clockwise on a page whose y axis points down.
QPointF RotatePoint(QPointF centre, QPointF p, double degrees);

// Point-in-polygon on integer coordinates; points on left and top edges are inside, right and
// bottom edges outside, as for a filled region.
bool PointInPolygon(const QPoint* pts, int n, QPoint p);
