#include "render/recording_canvas.h"

namespace {

std::vector<int> BoxArgs(QRect box) {
  return {box.x(), box.y(), box.x() + box.width(), box.y() + box.height()};
}

}  // namespace

QString TCanvasCall::ToString() const {
  QStringList parts{Op};
  for (int a : Args) parts << QString::number(a);
  for (const QPoint& p : Points) parts << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
  if (!Text.isEmpty()) parts << QLatin1Char('"') + Text + QLatin1Char('"');
  return parts.join(QLatin1Char(' '));
}

QStringList TRecordingCanvas::CallStrings() const {
  QStringList out;
  for (const TCanvasCall& c : calls_) out << c.ToString();
  return out;
}

TCanvasCall& TRecordingCanvas::Add(const QString& op) {
  TCanvasCall c;
  c.Op = op;
  c.Pen = Pen();
  c.Brush = Brush();
  c.Font = Font();
  c.Escapement = Escapement();
  c.BkMode = BkMode();
  c.FillMode = PolyFillMode();
  if (ClipRegion()) c.Clip = ClipRegion()->boundingRect();
  calls_.push_back(std::move(c));
  return calls_.back();
}

void TRecordingCanvas::DoLine(QPoint from, QPoint to) {
  Add("LineTo").Points = {from, to};
}

void TRecordingCanvas::DoPolyline(std::span<const QPoint> points) {
  Add("Polyline").Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::DoPolyBezier(std::span<const QPoint> points) {
  Add("PolyBezier").Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::DoArc(int kind, QRect box, QPoint start, QPoint end) {
  TCanvasCall& c = Add(kind == 0 ? "Arc" : kind == 1 ? "Chord" : "Pie");
  c.Args = BoxArgs(box);
  c.Points = {start, end};
}

void TRecordingCanvas::DoRectangle(QRect box) {
  Add("Rectangle").Args = BoxArgs(box);
}
void TRecordingCanvas::DoFillRect(QRect box) {
  Add("FillRect").Args = BoxArgs(box);
}

void TRecordingCanvas::DoRoundRect(QRect box, QSize corner) {
  TCanvasCall& c = Add("RoundRect");
  c.Args = BoxArgs(box);
  c.Args.push_back(corner.width());
  c.Args.push_back(corner.height());
}

void TRecordingCanvas::DoEllipse(QRect box) {
  Add("Ellipse").Args = BoxArgs(box);
}

void TRecordingCanvas::DoPolyPolygon(std::span<const QPoint> points, std::span<const int> counts) {
  TCanvasCall& c = Add(counts.size() == 1 ? "Polygon" : "PolyPolygon");
  c.Points.assign(points.begin(), points.end());
  c.Counts.assign(counts.begin(), counts.end());
}

void TRecordingCanvas::DoFillPath(const TPath& path, bool stroke, bool fill) {
  TCanvasCall& c = Add(stroke && fill ? "StrokeAndFillPath" : stroke ? "StrokePath" : "FillPath");
  c.Points = path.Points;
  c.Counts.assign(path.Types.begin(), path.Types.end());
}

void TRecordingCanvas::DoTextOut(int x, int y, const QString& text, const QRect* clip) {
  TCanvasCall& c = Add("TextOut");
  c.Args = {x, y};
  if (clip) c.Clip = c.Clip ? c.Clip->intersected(*clip) : *clip;
  c.Text = text;
}

void TRecordingCanvas::DoStretch(QRect target, const QImage& image, TBlitOp op, std::optional<TColor> key) {
  TCanvasCall& c = Add("StretchDraw");
  c.Args = {target.x(), target.y(), target.x() + target.width(), target.y() + target.height()};
  c.BlitOp = op;
  c.Key = key;
  c.ImageSize = image.size();
}

void TRecordingCanvas::DoSetPixel(int x, int y, TColor color) {
  TCanvasCall& c = Add("SetPixel");
  c.Args = {x, y, int(color)};
}
