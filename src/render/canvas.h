// Drawing surface with GDI meaning. Documents measure text on the canvas of their work bitmap.
//
// Coordinates are device pixels. As in GDI, the right and bottom edges of rectangles, ellipses and
// bounding boxes are excluded, a line does not draw its last pixel, a pen of width 0 or 1 draws one
// pixel, and the current path swallows drawing calls between BeginPath and EndPath.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QPolygonF>
#include <QRegion>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "render/gdi_types.h"

constexpr TColor clInvalid = 0xFFFFFFFF;  // what Pixel answers where there is no pixel

enum TBkMode : int { bkTransparent = 1, bkOpaque = 2 };
enum TPolyFillMode : int { pfAlternate = 1, pfWinding = 2 };
enum TPenCap : int { pcRound = 0, pcSquare = 1, pcFlat = 2 };
enum TPenJoin : int { pjRound = 0, pjBevel = 1, pjMiter = 2 };
enum TArcDirection : int { adCounterClockwise = 1, adClockwise = 2 };

// Raster operations of the bitmap transfers.
enum class TBlitOp { Copy, And, Or, Xor };

// The 8 x 8 pattern of a hatch brush style (bsHorizontal … bsDiagCross); bit 0x80 is the left pixel.
// Patterns are aligned to the device origin.
const uint8_t* HatchPattern(int brushStyle);
bool HatchCovers(int brushStyle, int x, int y);

// Bézier control points (start point, then three per segment of at most 90 degrees) of the elliptic
// arc inside `box` from the radial through `start` to the radial through `end`; equal radials give
// the whole ellipse. Counter-clockwise on screen unless `clockwise`.
std::vector<QPointF> EllipseArcBeziers(QRectF box, QPointF start, QPointF end, bool clockwise);

// Point kinds of a path, as GDI numbers them.
enum : uint8_t { ptCloseFigure = 1, ptLineTo = 2, ptBezierTo = 4, ptMoveTo = 6 };

// A path in device pixels: figures of straight and cubic Bézier segments.
struct TPath {
  std::vector<QPoint> Points;
  std::vector<uint8_t> Types;  // ptMoveTo, ptLineTo or ptBezierTo, optionally | ptCloseFigure
  bool Empty() const { return Points.empty(); }
  void Clear() {
    Points.clear();
    Types.clear();
  }
  // Figures as a Qt path moved by `offset`, every figure closed when `closeAll` is set (fills).
  QPainterPath ToPainterPath(QPointF offset, bool closeAll, TPolyFillMode mode) const;
};

// A region bounded by a polygon; a pixel belongs to it when its centre lies inside (the pixels a
// polygon fill would paint).
class TPolygonRegion {
 public:
  TPolygonRegion() = default;
  explicit TPolygonRegion(std::span<const QPoint> points, TPolyFillMode mode = pfAlternate);
  bool Contains(int x, int y) const;
  bool Contains(QPoint p) const { return Contains(p.x(), p.y()); }
  bool Empty() const { return points_.size() < 3; }

 private:
  std::vector<QPoint> points_;
  TPolyFillMode mode_ = pfAlternate;
};

// The pixels of `box` whose centres lie inside the closed polygons under the fill rule (winding or
// alternate), as a region; beyond a few million edge crossings of pixel rows, the polygons'
// bounding box within `box`.
QRegion RegionFromPolygons(const QList<QPolygonF>& polygons, bool winding, QRect box);

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // The current logical font; its height is in device pixels (GDI sign convention). The escapement
  // (tenths of a degree, counter-clockwise) belongs to the selected font as in GDI: selecting a font
  // without one draws horizontally.
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { SetFont(font, 0); }
  void SetFont(const TFont& font, int escapement);
  int Escapement() const { return escapement_; }

  // Width and height in pixels of a text in the current font (GDI text extent: the advance width
  // and the cell height).
  virtual QSize TextExtent(const QString& text);
  int TextWidth(const QString& text) { return TextExtent(text).width(); }
  int TextHeight(const QString& text) { return TextExtent(text).height(); }
  // Distance from the top of the cell to the baseline.
  int TextAscent();

  // Drawing state.
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& pen) { pen_ = pen; }
  // End and join shape of wide pens (round by default, as GDI's simple pens).
  void SetPenEnds(TPenCap cap, TPenJoin join) {
    cap_ = cap;
    join_ = join;
  }
  TPenCap PenCap() const { return cap_; }
  TPenJoin PenJoin() const { return join_; }
  const TBrush& Brush() const { return brush_; }
  void SetBrush(const TBrush& brush) { brush_ = brush; }
  // The background fills text cells, hatch gaps and pen-style gaps only in opaque mode. A canvas
  // starts transparent with a white background colour.
  TBkMode BkMode() const { return bkMode_; }
  void SetBkMode(TBkMode mode) { bkMode_ = mode; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor c) { bkColor_ = c; }
  TPolyFillMode PolyFillMode() const { return fillMode_; }
  void SetPolyFillMode(TPolyFillMode m) { fillMode_ = m; }
  TArcDirection ArcDirection() const { return arcDirection_; }
  void SetArcDirection(TArcDirection d) { arcDirection_ = d; }

  // The pixels the surface has. Regions (clip paths) are cut to it; a surface without a size of its
  // own answers a box of 65,536 pixels around the origin, larger than any picture or page.
  virtual QRect Surface() const;

  // Clipping, in device pixels. No clip region means the whole surface.
  const std::optional<QRegion>& ClipRegion() const { return clip_; }
  void SetClipRegion(const std::optional<QRegion>& region) { clip_ = region; }
  void IntersectClipRect(int x1, int y1, int x2, int y2);
  void ResetClip() { clip_.reset(); }

  // Lines and curves with the pen.
  QPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const QPoint> points);
  void PolylineTo(std::span<const QPoint> points);
  // 3n + 1 points: a start point, then control, control and end point of each segment.
  void PolyBezier(std::span<const QPoint> points);
  // 3n points from the pen position; the pen ends on the last point.
  void PolyBezierTo(std::span<const QPoint> points);
  void Arc(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye);

  // Closed figures: outlined with the pen and filled with the brush.
  void Rectangle(int x1, int y1, int x2, int y2);
  void FillRect(int x1, int y1, int x2, int y2);  // brush only, no outline, right/bottom excluded
  void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Chord(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye);
  void Pie(int x1, int y1, int x2, int y2, int xs, int ys, int xe, int ye);
  void Polygon(std::span<const QPoint> points);
  void PolyPolygon(std::span<const QPoint> points, std::span<const int> counts);

  // Paths. Between BeginPath and EndPath the drawing calls above add figures instead of drawing.
  // Filling or stroking consumes the path, so a path filled and then stroked shows no outline.
  void BeginPath();
  void EndPath();
  void AbortPath();
  void CloseFigure();
  bool PathOpen() const { return pathOpen_; }
  const TPath& Path() const { return path_; }
  bool FillPath();
  bool StrokePath();
  bool StrokeAndFillPath();
  // Intersects the clip region with the path's interior (consumes the path).
  bool SelectClipPath();

  // Text in the current font and its colour with its top-left corner at (x, y), turned by the
  // font's escapement about that corner.
  void TextOut(int x, int y, const QString& text);
  // The same, clipped to the rectangle.
  void TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString& text);

  // Pictures stretched into a rectangle (nearest pixel). A negative extent (x2 < x1 or y2 < y1)
  // mirrors the picture on that axis.
  void Draw(int x, int y, const QImage& image);
  void StretchDraw(int x1, int y1, int x2, int y2, const QImage& image);
  // Pixels of the key colour are left out.
  void StretchDrawTransparent(int x1, int y1, int x2, int y2, const QImage& image, TColor key);
  // Combines the picture with what is below (AND: white leaves the surface unchanged).
  void StretchBlit(int x1, int y1, int x2, int y2, const QImage& image, TBlitOp op);
  void StretchBlitAnd(int x1, int y1, int x2, int y2, const QImage& image) {
    StretchBlit(x1, y1, x2, y2, image, TBlitOp::And);
  }

  // Single pixels; clInvalid where the surface has none to give.
  virtual TColor Pixel(int x, int y) { return clInvalid; }
  void SetPixel(int x, int y, TColor color);

 protected:
  virtual void FontChanged() {}

  // What a surface implements. Coordinates arrive as the public calls received them; state is read
  // from the accessors above. The base class handles paths, pen position and argument checks.
  virtual void DoLine(QPoint from, QPoint to) {}
  virtual void DoPolyline(std::span<const QPoint> points) {}
  virtual void DoPolyBezier(std::span<const QPoint> points) {}
  virtual void DoArc(int kind, QRect box, QPoint start, QPoint end) {}  // kind: 0 arc, 1 chord, 2 pie
  virtual void DoRectangle(QRect box) {}  // box: left, top, width, height in GDI meaning
  virtual void DoFillRect(QRect box) {}
  virtual void DoRoundRect(QRect box, QSize corner) {}
  virtual void DoEllipse(QRect box) {}
  virtual void DoPolyPolygon(std::span<const QPoint> points, std::span<const int> counts) {}
  virtual void DoFillPath(const TPath& path, bool stroke, bool fill) {}
  virtual void DoTextOut(int x, int y, const QString& text, const QRect* clip) {}
  virtual void DoStretch(QRect target, const QImage& image, TBlitOp op, std::optional<TColor> key) {}
  virtual void DoSetPixel(int x, int y, TColor color) {}

  static std::vector<QPointF> ArcBeziers(QRectF box, QPointF start, QPointF end, bool clockwise) {
    return EllipseArcBeziers(box, start, end, clockwise);
  }

 private:
  void AddFigurePoints(std::span<const QPoint> points, bool closed);
  void AddBeziersToPath(const std::vector<QPointF>& pts, bool startFigure);

  TFont font_;
  int escapement_ = 0;
  struct Metrics;
  std::shared_ptr<Metrics> metrics_;
  TPen pen_;
  TPenCap cap_ = pcRound;
  TPenJoin join_ = pjRound;
  TBrush brush_;
  TBkMode bkMode_ = bkTransparent;
  TColor bkColor_ = clWhite;
  TPolyFillMode fillMode_ = pfAlternate;
  TArcDirection arcDirection_ = adCounterClockwise;
  std::optional<QRegion> clip_;
  QPoint penPos_;
  bool pathOpen_ = false;
  TPath path_;
};

// A canvas drawing through QPainter. Subclasses supply the painter for each operation.
class TQtCanvas : public TCanvas {
 protected:
  // A painter ready to draw in device pixels, or null when the surface cannot draw now.
  virtual QPainter* BeginPaint() = 0;
  virtual void EndPaint() = 0;

  void DoLine(QPoint from, QPoint to) override;
  void DoPolyline(std::span<const QPoint> points) override;
  void DoPolyBezier(std::span<const QPoint> points) override;
  void DoArc(int kind, QRect box, QPoint start, QPoint end) override;
  void DoRectangle(QRect box) override;
  void DoFillRect(QRect box) override;
  void DoRoundRect(QRect box, QSize corner) override;
  void DoEllipse(QRect box) override;
  void DoPolyPolygon(std::span<const QPoint> points, std::span<const int> counts) override;
  void DoFillPath(const TPath& path, bool stroke, bool fill) override;
  void DoTextOut(int x, int y, const QString& text, const QRect* clip) override;
  void DoStretch(QRect target, const QImage& image, TBlitOp op, std::optional<TColor> key) override;
  void DoSetPixel(int x, int y, TColor color) override;

  // Transfers with AND/OR/XOR; the base version uses the painter's raster operations.
  virtual void CombineImage(QRect target, const QImage& scaled, TBlitOp op);

 private:
  class Scope;
  void StrokeAndFill(QPainter& p, const QPainterPath& outline, const QPainterPath& interior);
};

// A canvas over a 24-bit bitmap (QImage::Format_RGB888, bytes red, green, blue).
class TBitmapCanvas : public TQtCanvas {
 public:
  explicit TBitmapCanvas(QImage* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override;
  QImage* Bitmap() const { return bitmap_; }
  QRect Surface() const override { return bitmap_ ? bitmap_->rect() : QRect(); }

  TColor Pixel(int x, int y) override;
  // Three bytes per pixel, red first; null outside the bitmap.
  uint8_t* ScanLine(int y);

 protected:
  QPainter* BeginPaint() override;
  void EndPaint() override;
  void DoSetPixel(int x, int y, TColor color) override;
  void CombineImage(QRect target, const QImage& scaled, TBlitOp op) override;

 private:
  QImage* bitmap_;
  std::unique_ptr<QPainter> painter_;
};

// A canvas over a painter that someone else opened (a widget, a printer, a picture).
class TPainterCanvas : public TQtCanvas {
 public:
  explicit TPainterCanvas(QPainter* painter) : painter_(painter) {}

 protected:
  QPainter* BeginPaint() override;
  void EndPaint() override;

 private:
  QPainter* painter_;
};
