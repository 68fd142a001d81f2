// Drawing, hit tests and editor point operations of rectangles, lines, shapes and guide marks.
#include <QList>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/document.h"
#include "model/encodings.h"
#include "model/shapes.h"
#include "render/canvas.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Pixel coordinates computed here stay well inside int, whatever a file holds.
int Px(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -(1LL << 29), 1LL << 29));
}

std::vector<QPoint> ToDevice(const TzunoCADMdl* d, const QList<QPointF>& pts) {
  std::vector<QPoint> out;
  out.reserve(static_cast<size_t>(pts.size()));
  for (const QPointF& p : pts) out.push_back(d->MmToPx(p));
  return out;
}

void BezierPath(TCanvas& canvas, const std::vector<QPoint>& pts) {
  canvas.BeginPath();
  canvas.PolyBezier(pts);
  canvas.EndPath();
}

}  // namespace

// --- rectangles --------------------------------------------------------------------------------------

QList<QPointF> TzunoCADRectangle::Corners() const {
  QList<QPointF> c;
  const QPointF centre(x, y);
  if (Cote == 3) {
    for (QPointF p : {QPointF(x, y - h / 2), QPointF(x + l / 2, y + h / 2), QPointF(x - l / 2, y + h / 2)})
      c.append(RotatePoint(centre, p, r));
    return c;
  }
  // Fewer than three corners make no polygon: such a count draws as the default rectangle.
  if (Cote == 4 || Cote < 3) {
    for (int k = 1; k <= 4; ++k) c.append(HandlePos(k));
    return c;
  }
  const int n = Cote == 999 ? 50 : std::min(Cote, kMaxCorners);
  c.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double phi = 2 * kPi * i / n;
    c.append(RotatePoint(centre, QPointF(x + std::cos(phi) * l / 2, y + std::sin(phi) * h / 2), r));
  }
  return c;
}

void TzunoCADRectangle::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  canvas.SetPen(DevicePen());
  TBrush b = Brush;
  if (!document_->FillShapes) b.Style = bsClear;
  canvas.SetBrush(b);
  canvas.Polygon(ToDevice(document_, Corners()));
  TzunoCADRect::Draw(canvas);
}

// --- lines -------------------------------------------------------------------------------------------

void TzunoCADLigne::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  const TzunoCADMdl* d = document_;
  canvas.SetPen(DevicePen());
  TBrush b = Brush;
  if (!d->FillShapes) b.Color = clWhite;
  if (d->StencilView == 1)
    b = TBrush{clWhite, bsSolid};
  else if (d->StencilView == 2)
    b = TBrush{clBlack, bsBDiagonal};
  canvas.SetBrush(b);
  const std::vector<QPoint> px = ToDevice(d, Points);
  const bool clear = b.Style == bsClear;
  BezierPath(canvas, px);
  if (!clear && d->FillShapes) {
    canvas.FillPath();
    // Filling consumed the path: build it again for the outline.
    BezierPath(canvas, px);
  }
  canvas.StrokePath();
  if (!d->DeferHighlights) DrawHighlight(canvas);
}

void TzunoCADLigne::DrawHighlight(TCanvas& canvas) {
  const TzunoCADMdl* d = document_;
  const int n = static_cast<int>(Points.size());
  if (Selected && d->ShowHandles) {
    canvas.SetPen(TPen{clRed, 1, psDot});
    for (int s = 0; s < SegmentCount(); ++s) {
      DrawSegment(canvas, Points[3 * s], Points[3 * s + 1]);
      DrawSegment(canvas, Points[3 * s + 2], Points[3 * s + 3]);
    }
    for (int i = 0; i < n; ++i)
      if (i % 3 != 0) DrawSquareHandle(canvas, Points[i], i == HitCode ? 1 : 2);
  }
  if (d->ShowFrames && d->ShowHandles) {
    for (int i = 0; i < n; i += 3) {
      if (i == HitCode)
        DrawRoundHandle(canvas, Points[i], 1);
      else if (Selected)
        DrawRoundHandle(canvas, Points[i], 2);
      else if (HitCode != -1)
        DrawRoundHandle(canvas, Points[i], 0);
    }
  }
}

int TzunoCADLigne::HitTest(QPointF p) {
  const TDocumentEditor* editor = document_->Editor();
  return HitTest(p, editor && editor->CtrlDown());
}

int TzunoCADLigne::HitTest(QPointF p, bool ctrl) {
  if (!CanSelect) return -1;
  const double tx = std::fabs(document_->PxToMmX(3)), ty = std::fabs(document_->PxToMmY(3));
  const int n = static_cast<int>(Points.size());
  auto search = [&](bool anchors) {
    for (int i = 0; i < n; ++i)
      if ((i % 3 == 0) == anchors && std::fabs(Points[i].x() - p.x()) < tx &&
          std::fabs(Points[i].y() - p.y()) < ty)
        return i;
    return -1;
  };
  int hit = search(!ctrl);
  if (hit < 0 && Selected) hit = search(ctrl);
  return hit;
}

bool TzunoCADLigne::DeleteAnchor(int index) {
  const int n = static_cast<int>(Points.size());
  if (n < 3 || index < 0 || index >= n || index % 3 != 0) return false;
  if (index == 0)
    Points.remove(0, 3);
  else if (index + 3 >= n)
    Points.remove(index - 2, n - (index - 2));  // the last anchor and any loose tail
  else
    Points.remove(index - 1, 3);
  return true;
}

int TzunoCADLigne::SplitSegment(int index) {
  const int n = static_cast<int>(Points.size());
  if (index < 0 || index >= n || index % 3 != 0) return -1;
  if (index + 3 < n) {
    if (n + 3 > kMaxPoints) return -1;
    const QPointF m = (Points[index] + Points[index + 3]) / 2;
    Points.insert(index + 2, 3, m);
    return index + 3;
  }
  // After the last anchor: a loose tail of one or two points never drew, so it gives way.
  Points.resize(index + 1);
  const QPointF end = Points[index] + QPointF(document_->PxToMmX(20), 0);
  const qsizetype before = Points.size();
  AddPoint(end);
  return Points.size() > before ? static_cast<int>(Points.size()) - 1 : -1;
}

void TzunoCADLigne::MovePoint(int index, QPointF target, bool shift, bool wholeLine) {
  const int n = static_cast<int>(Points.size());
  if (index < 0 || index >= n) return;
  if (index % 3 != 0) {
    const TzunoCADMdl* d = document_;
    auto near = [&](int j) {
      if (j < 0 || j >= n) return false;
      const QPointF v = target - Points[j];
      return RoundEven(std::hypot(v.x() * d->PixelsPerMmX, v.y() * d->PixelsPerMmY)) <= 4;
    };
    for (int j : {index - 1, index + 1})
      if (near(j)) {
        Points[index] = Points[j];
        return;
      }
    Points[index] = target;
    if (shift) return;
    // The control point across the anchor mirrors this one, so the curve stays smooth there.
    if (index % 3 == 1 && index > 2)
      Points[index - 2] = 2 * Points[index - 1] - Points[index];
    else if (index % 3 == 2 && index + 2 < n)
      Points[index + 2] = 2 * Points[index + 1] - Points[index];
    return;
  }
  const QPointF delta = target - Points[index];
  if (wholeLine) {
    for (QPointF& p : Points) p += delta;
    return;
  }
  Points[index] = target;
  if (index > 0) Points[index - 1] += delta;
  if (index + 1 < n) Points[index + 1] += delta;
}

// --- shapes ------------------------------------------------------------------------------------------

void TzunoCADForme::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  const TzunoCADMdl* d = document_;
  // An empty shape space counts as one unit; the corrected value is kept and saved.
  if (FormeLarge == 0) FormeLarge = 1;
  if (FormeHaut == 0) FormeHaut = 1;
  canvas.SetPen(DevicePen());
  canvas.SetBrush(Brush);
  const double w = static_cast<double>(RoundEven(l * d->PixelsPerMmX));
  const double hh = static_cast<double>(RoundEven(h * d->PixelsPerMmY));
  const double t = r * kPi / 180, c = std::cos(t), s = std::sin(t);
  const QPointF corner = HandlePos(1);
  const double ox = d->MmToPxX(corner.x()), oy = d->MmToPxY(corner.y());
  std::vector<QPoint> px;
  px.reserve(static_cast<size_t>(Points.size()));
  for (const QPointF& p : Points) {
    const double su = p.x() * w / FormeLarge, sv = p.y() * hh / FormeHaut;
    px.emplace_back(Px(su * c - sv * s + ox), Px(su * s + sv * c + oy));
  }
  BezierPath(canvas, px);
  // A filled shape has no separate outline: the fill consumes the path before the stroke.
  if (Brush.Style != bsClear && d->FillShapes) canvas.FillPath();
  canvas.StrokePath();
  TzunoCADRect::Draw(canvas);
}

// --- guide marks -------------------------------------------------------------------------------------

void TzunoCADRepere::Draw(TCanvas& canvas) {
  const TzunoCADMdl* d = document_;
  if (!d->ShowHandles || !Visible) return;
  const bool ownFace = Face == d->CurrentFace;
  if (sorte == 1 && !ownFace) return;
  if (sens != 1 && sens != 2) return;
  TPen pen{clBlue, 1, psSolid};
  if (sorte != 1) pen = ownFace ? TPen{clBlack, 1, psDashDot} : TPen{RGBColor(128, 128, 128), 1, psDash};
  if (Selected) pen.Color = clRed;
  canvas.SetPen(pen);
  canvas.SetBrush(Brush);
  const QPointF from = sens == 1 ? QPointF(position, 0) : QPointF(0, position);
  const QPointF to = sens == 1 ? QPointF(position, d->Haut) : QPointF(d->Large, position);
  DrawSegment(canvas, from, to);
  if (!Selected) return;

  const QString label = WriteMesure(position);
  canvas.SetFont(TFont{clBlack, QStringLiteral("Arial"), -11, 0});  // 8 points
  canvas.SetBkMode(bkTransparent);
  const QSize e = canvas.TextExtent(label);
  const QPoint at = d->MmToPx(from);
  int left, top;
  if (sens == 1) {
    top = 10;
    left = at.x();
    if (at.x() + e.width() + 4 >= d->MmToPxX(d->Large)) left = at.x() - e.width() - 3;
  } else {
    left = 10;
    top = at.y();
    if (e.height() + at.y() + 4 >= d->MmToPxY(d->Haut)) top = at.y() - e.height() - 3;
  }
  canvas.SetBrush(TBrush{clWhite, bsSolid});
  canvas.FillRect(left, top, left + e.width() + 4, top + e.height() + 4);
  canvas.TextOut(left + 2, top + 2, label);
}

int TzunoCADRepere::HitTest(QPointF p) {
  if (!CanSelect) return -1;
  const TzunoCADMdl* d = document_;
  if (sens == 1 && RoundEven(std::fabs(p.x() - position) * std::fabs(d->PixelsPerMmX)) < 2) {
    Cursor = kCursorHSplit;
    return 0;
  }
  if (sens == 2 && RoundEven(std::fabs(p.y() - position) * std::fabs(d->PixelsPerMmY)) < 2) {
    Cursor = kCursorVSplit;
    return 0;
  }
  return -1;
}

void TzunoCADRepere::ClampRepere() {
  const TzunoCADMdl* d = document_;
  double lo, hi;
  if (sens == 1) {
    lo = d->PxToMmX(5);
    hi = d->Large - d->PxToMmX(6);
  } else if (sens == 2) {
    lo = d->PxToMmY(5);
    hi = d->Haut - d->PxToMmY(6);
  } else {
    return;
  }
  if (position < lo)
    position = static_cast<double>(RoundEven(lo));
  else if (position > hi)
    position = static_cast<double>(RoundEven(hi));
}
