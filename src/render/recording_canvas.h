// A canvas that keeps every drawing call with its exact device coordinates and the drawing state it
// used, so that tests can check what an object or a metafile draws.
#pragma once

#include <QStringList>
#include <vector>

#include "render/canvas.h"

struct TCanvasCall {
  QString Op;             // "LineTo", "Polyline", "PolyBezier", "Arc", "Chord", "Pie", "Rectangle",
                          // "FillRect", "RoundRect", "Ellipse", "Polygon", "FillPath", "StrokePath",
                          // "StrokeAndFillPath", "TextOut", "StretchDraw", "SetPixel"
  std::vector<int> Args;  // box and other integers, in the order of the public call
  std::vector<QPoint> Points;
  std::vector<int> Counts;  // points per polygon (PolyPolygon) or path point kinds (paths)
  QString Text;
  TPen Pen;
  TBrush Brush;
  TFont Font;
  int Escapement = 0;
  TBkMode BkMode = bkTransparent;
  TPolyFillMode FillMode = pfAlternate;
  TBlitOp BlitOp = TBlitOp::Copy;
  std::optional<TColor> Key;
  QSize ImageSize;
  std::optional<QRect> Clip;  // bounding box of the clip region, when one is set

  // "Op a b c ..." with points as "x,y": the part of the call that coordinates tests compare.
  QString ToString() const;
};

class TRecordingCanvas : public TCanvas {
 public:
  const std::vector<TCanvasCall>& Calls() const { return calls_; }
  QStringList CallStrings() const;
  void Clear() { calls_.clear(); }

 protected:
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

 private:
  TCanvasCall& Add(const QString& op);
  std::vector<TCanvasCall> calls_;
};
